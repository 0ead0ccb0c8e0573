// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/ExchangeText.h"

#include "exchange/workbook/Workbook.h"

QString TrimmedCellText(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= u' ')
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= u' ')
        --end;
    return begin == 0 && end == text.size() ? text : text.mid(begin, end - begin);
}

std::string_view TrimmedCellBytes(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ')
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ')
        --end;
    return text.substr(begin, end - begin);
}

void CallDirectly(const std::function<void()>& engineCall) {
    engineCall();
}

void CloseWorkbookQuietly(std::unique_ptr<TWorkbook>& workbook) noexcept {
    if (!workbook)
        return;
    try {
        workbook->Close();
    } catch (...) {
        // Nothing is left to tell: the workbook is let go either way.
    }
    workbook.reset();
}
