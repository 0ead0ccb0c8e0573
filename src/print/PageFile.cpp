// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/PageFile.h"

#include "settings/Folders.h"
#include "settings/Settings.h"

#include <QFile>

namespace {

// Pieces of about this size go to the file at once.
const size_t kFlushBytes = 1 << 16;

} // namespace

QString PageFilePath() {
    return TFolders::TempFolder() + QStringLiteral("Quillery.html");
}

QString PageText(const QString& text) {
    return text.toHtmlEscaped();
}

QString TrimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= ' ') {
        ++begin;
    }
    while (end > begin && text.at(end - 1).unicode() <= ' ') {
        --end;
    }
    return text.mid(begin, end - begin);
}

TPageLines::TPageLines(const TByteSink& put) : FPut(put) {
    FBuffer.reserve(kFlushBytes + 4096);
}

TPageLines& TPageLines::operator<<(QStringView piece) {
    const QByteArray bytes = piece.toUtf8();
    FBuffer.append(bytes.constData(), static_cast<size_t>(bytes.size()));
    return *this;
}

TPageLines& TPageLines::operator<<(int number) {
    FBuffer += std::to_string(number);
    return *this;
}

void TPageLines::EndLine() {
    FBuffer += "\r\n";
    if (FBuffer.size() >= kFlushBytes) {
        Flush();
    }
}

void TPageLines::Flush() {
    if (!FBuffer.empty()) {
        FPut(FBuffer);
        FBuffer.clear();
    }
}

void WritePageFile(const QString& path, const std::function<void(TPageLines&)>& write) {
    WriteFileAtomically(QFile::encodeName(path).toStdString(), [&write](const TByteSink& put) {
        put("\xEF\xBB\xBF");
        TPageLines lines(put);
        write(lines);
        lines.Flush();
    });
}
