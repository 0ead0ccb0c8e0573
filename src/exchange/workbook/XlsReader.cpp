#include "exchange/workbook/XlsReader.h"

#include "exchange/workbook/CellValueText.h"
#include "exchange/workbook/XlsFormulas.h"
#include "exchange/workbook/ZipPackage.h"

#include <QFile>

#include <freexl.h>

namespace {
class THandle {
public:
    explicit THandle(const QString& path) {
        const int opened = freexl_open(QFile::encodeName(path).constData(), &FHandle);
        if (opened != FREEXL_OK)
            throw EDamagedPackage();
    }
    ~THandle() { freexl_close(FHandle); }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    const void* Get() const { return FHandle; }

private:
    const void* FHandle = nullptr;
};

QString CellText(const FreeXL_CellValue& value) {
    switch (value.type) {
    case FREEXL_CELL_INT:
        return QString::number(value.value.int_value);
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

std::vector<TNamedGrid> ReadXlsWorkbook(const QString& path, const QByteArray& bytes) {
    const THandle handle(path);
    unsigned int info = 0;
    if (freexl_get_info(handle.Get(), FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
        info == FREEXL_BIFF_OBFUSCATED)
        throw EPasswordProtected();
    unsigned int sheetCount = 0;
    if (freexl_get_info(handle.Get(), FREEXL_BIFF_SHEET_COUNT, &sheetCount) != FREEXL_OK || sheetCount == 0 ||
        sheetCount > 65535)
        throw EDamagedPackage();
    // libfreexl reads formula cells as empty; their saved results come from a reader of our own.
    const TXlsFormulaResults formulas(bytes);
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
