// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/XlsReader.h"

#include "exchange/workbook/CellValueText.h"
#include "exchange/workbook/XlsFormulas.h"
#include "exchange/workbook/ZipPackage.h"

#include <freexl.h>

#include <cerrno>
#include <string>
#include <system_error>

#include <sys/mman.h>
#include <unistd.h>

namespace {
// An anonymous file in memory holding bytes, which lives until its last descriptor is closed.
class TMemoryFile {
public:
    explicit TMemoryFile(const QByteArray& bytes) : FDescriptor(memfd_create("quillery-xls", MFD_CLOEXEC)) {
        if (FDescriptor < 0)
            throw std::system_error(errno, std::generic_category());
        for (qsizetype done = 0; done < bytes.size();) {
            const ssize_t written = write(FDescriptor, bytes.constData() + done, size_t(bytes.size() - done));
            if (written < 0 && errno != EINTR) {
                const int error = errno;
                close(FDescriptor);
                throw std::system_error(error, std::generic_category());
            }
            done += written < 0 ? 0 : written;
        }
    }
    ~TMemoryFile() { close(FDescriptor); }
    TMemoryFile(const TMemoryFile&) = delete;
    TMemoryFile& operator=(const TMemoryFile&) = delete;
    std::string Path() const { return "/proc/self/fd/" + std::to_string(FDescriptor); }

private:
    int FDescriptor;
};

// libfreexl opens workbooks by name only: it is handed the bytes already read as a file in memory,
// so the workbook is read from disk once and both readers see the same bytes.
class THandle {
public:
    explicit THandle(const QByteArray& bytes) : FFile(bytes) {
        if (freexl_open(FFile.Path().c_str(), &FHandle) != FREEXL_OK)
            throw EDamagedPackage();
    }
    ~THandle() { freexl_close(FHandle); }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    const void* Get() const { return FHandle; }

private:
    TMemoryFile FFile;
    const void* FHandle = nullptr;
};

QString CellText(const FreeXL_CellValue& value) {
    switch (value.type) {
    case FREEXL_CELL_INT:
        return CellValueText::Number(value.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return CellValueText::Number(value.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME: {
        QString text;
        if (value.value.text_value)
            CellValueText::AppendWithCrLf(text, QString::fromUtf8(value.value.text_value));
        return text;
    }
    default:
        return QString();
    }
}
} // namespace

std::vector<TNamedGrid> ReadXlsWorkbook(const QByteArray& bytes) {
    // libfreexl reads formula cells as empty; their saved results come from a reader of our own,
    // which also tells an encrypted workbook before libfreexl meets its scrambled records.
    const TXlsFormulaResults formulas(bytes);
    if (formulas.Encrypted())
        throw EPasswordProtected();
    const THandle handle(bytes);
    unsigned int info = 0;
    // Workbooks older than BIFF8, which our reader passes over, through libfreexl's own check.
    if (freexl_get_info(handle.Get(), FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
        info == FREEXL_BIFF_OBFUSCATED)
        throw EPasswordProtected();
    unsigned int sheetCount = 0;
    if (freexl_get_info(handle.Get(), FREEXL_BIFF_SHEET_COUNT, &sheetCount) != FREEXL_OK || sheetCount == 0 ||
        sheetCount > 65535)
        throw EDamagedPackage();
    std::vector<TNamedGrid> sheets(sheetCount);
    for (unsigned short index = 0; index < sheetCount; ++index) {
        const char* name = nullptr;
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (freexl_get_worksheet_name(handle.Get(), index, &name) != FREEXL_OK || !name ||
            freexl_select_active_worksheet(handle.Get(), index) != FREEXL_OK ||
            freexl_worksheet_dimensions(handle.Get(), &rows, &columns) != FREEXL_OK)
            throw EDamagedPackage();
        sheets[index].Name = QString::fromUtf8(name);
        for (unsigned int row = 0; row < rows && row < 65536; ++row)
            for (unsigned short column = 0; column < columns && column < 256; ++column) {
                FreeXL_CellValue value;
                if (freexl_get_cell_value(handle.Get(), row, column, &value) != FREEXL_OK)
                    throw EDamagedPackage();
                const QString text =
                    value.type == FREEXL_CELL_NULL ? formulas.Text(index, int(row), column) : CellText(value);
                if (!text.isEmpty())
                    sheets[index].Grid.SetText(int(row) + 1, int(column) + 1, text);
            }
    }
    return sheets;
}
