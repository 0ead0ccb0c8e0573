// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/WorkbookFile.h"

#include "core/FileStamp.h"
#include "core/HugePages.h"
#include "exchange/workbook/CellBudget.h"
#include "exchange/workbook/CellReference.h"
#include "exchange/workbook/CompoundFile.h"
#include "exchange/workbook/CsvFormat.h"
#include "exchange/workbook/GridRows.h"
#include "exchange/workbook/OdsReader.h"
#include "exchange/workbook/SheetNames.h"
#include "exchange/workbook/WorkbookErrors.h"
#include "exchange/workbook/XlsReader.h"
#include "exchange/workbook/XlsxPackage.h"
#include "exchange/workbook/XlsxPackageEditor.h"
#include "exchange/workbook/ZipPackage.h"

#include "core/Error.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <new>
#include <system_error>
#include <utility>

namespace {
// Larger files are refused before they are read: far beyond any workbook the import can take.
constexpr qint64 kMaxFileBytes = qint64(1) << 30;

// Tells whether another program changed the workbook since; a fast digest is enough for that.
QByteArray ValueOf(const TContentDigest& digest) {
    const uint64_t value = digest.Value();
    return QByteArray(reinterpret_cast<const char*>(&value), sizeof value);
}

QByteArray Digest(const QByteArray& bytes) {
    TContentDigest digest;
    digest.Add(std::string_view(bytes.constData(), size_t(bytes.size())));
    return ValueOf(digest);
}

// The digest of the file's bytes as they are now, read a piece at a time; empty when it cannot be read.
QByteArray DigestOfFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    TContentDigest digest;
    QByteArray piece(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 read = file.read(piece.data(), piece.size());
        if (read < 0)
            return QByteArray();
        if (read == 0)
            break;
        digest.Add(std::string_view(piece.constData(), size_t(read)));
    }
    return ValueOf(digest);
}

// The reason in the text of a failed write of path, which follows the path.
QString ReasonOf(const EFileError& error, const std::string& path) {
    std::string text = error.what();
    const size_t at = text.find(path + ": ");
    text = at == std::string::npos ? text : text.substr(at + path.size() + 2);
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return QString::fromStdString(text);
}

QByteArray ReadFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        throw WorkbookErrors::CannotOpen(path,
                                         QCoreApplication::translate("Exchange", "there is no such file"));
    if (info.isDir())
        throw WorkbookErrors::CannotOpen(
            path, QCoreApplication::translate("Exchange", "it is a folder, not a workbook"));
    if (!info.isFile() || info.size() > kMaxFileBytes)
        throw WorkbookErrors::NotAWorkbook(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw WorkbookErrors::CannotOpen(path, file.errorString());
    // Read into huge pages: a page fault per two MiB of a large file instead of one per four KiB.
    QByteArray bytes(info.size(), Qt::Uninitialized);
    AdviseHugePages(bytes.data(), size_t(bytes.size()));
    const qint64 read = file.read(bytes.data(), bytes.size());
    if (read < 0)
        throw WorkbookErrors::CannotOpen(path, file.errorString());
    bytes.truncate(read);
    // A file that grew since it was looked at is read to its end.
    bytes.append(file.readAll());
    return bytes;
}

// Written to a temporary file in the same folder, flushed and renamed over the old file, so a
// failed save leaves the old file as it was.
void WriteAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw WorkbookErrors::CannotSave(path, file.errorString());
}

bool StartsWith(const QByteArray& bytes, const char* signature) {
    return bytes.startsWith(signature);
}

// The error the user reads for the failure being handled while a worksheet of path was read;
// failures of other kinds go on as they are.
[[noreturn]] void ThrowSheetReadError(const QString& sheet, const QString& path) {
    try {
        throw;
    } catch (const EDamagedPackage&) {
        throw WorkbookErrors::DamagedSheet(sheet, path);
    } catch (const ECellBudgetExceeded&) {
        throw WorkbookErrors::TooLarge(path);
    } catch (const std::bad_alloc&) {
        throw WorkbookErrors::TooLarge(path);
    }
}
} // namespace

TWorkbookFormat WorkbookFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("xlsx"))
        return TWorkbookFormat::Xlsx;
    if (suffix == QLatin1String("xls"))
        return TWorkbookFormat::Xls;
    if (suffix == QLatin1String("ods"))
        return TWorkbookFormat::Ods;
    if (suffix == QLatin1String("csv"))
        return TWorkbookFormat::Csv;
    return TWorkbookFormat::None;
}

TFileWorksheet::TFileWorksheet(TWorkbookFile& book, const QString& name, const QString& packagePart)
    : FBook(book), FName(name), FPackagePart(packagePart), FLoaded(packagePart.isEmpty()) {}

void TFileWorksheet::SetName(const QString& name) {
    FBook.CheckOpen();
    if (name == FName)
        return;
    if (InPackage())
        throw WorkbookErrors::ExistingSheet(FName, FBook.Path());
    const QString problem = SheetNames::Problem(name);
    if (!problem.isEmpty())
        throw WorkbookErrors::InvalidSheetName(name, problem);
    if (FBook.OtherNames(this).contains(name, Qt::CaseInsensitive))
        throw WorkbookErrors::DuplicateSheetName(name, FBook.Path());
    FName = name;
}

const TCellGrid& TFileWorksheet::Grid() const {
    FBook.CheckOpen();
    if (!FLoaded) {
        FGrid = TCellGrid();
        try {
            FBook.Package().ReadWorksheet(FPackagePart, FGrid);
        } catch (...) {
            // What was read before the failure is let go.
            FGrid = TCellGrid();
            ThrowSheetReadError(FName, FBook.Path());
        }
        FLoaded = true;
    }
    return FGrid;
}

std::shared_ptr<const TSheetRows> TFileWorksheet::Rows() const {
    if (FRows)
        return FRows;
    return std::make_shared<TGridRows>(Grid());
}

QString TFileWorksheet::CellText(int row, int column) const {
    if (row < 1 || column < 1)
        throw WorkbookErrors::CellOutOfRange(row, column);
    if (row > CellReference::kMaxRows || column > CellReference::kMaxColumns)
        return QString();
    if (!FRows)
        return Grid().Text(row, column);
    FBook.CheckOpen();
    TRowCells cells;
    if (row <= FRows->UsedRows())
        FRows->ReadRow(row, cells);
    for (const TRowCells::TCell& cell : cells.Cells())
        if (cell.Column == column)
            return cells.TextOf(cell).toString();
    return QString();
}

void TFileWorksheet::ReadTexts(int row, const std::vector<int>& columns, TRowTexts& texts) const {
    const bool inside = row >= 1 && row <= CellReference::kMaxRows &&
                        std::all_of(columns.begin(), columns.end(), [](int column) {
                            return column >= 1 && column <= CellReference::kMaxColumns;
                        });
    // Cells given as rows, and places outside the worksheet, are read as CellText reads them.
    if (FRows || !inside)
        return TWorksheet::ReadTexts(row, columns, texts);
    Grid().ReadRow(row, FRowCells);
    texts.Texts.resize(columns.size());
    texts.Held.resize(columns.size());
    for (size_t i = 0; i < columns.size(); ++i) {
        const auto cell =
            std::lower_bound(FRowCells.begin(), FRowCells.end(), columns[i],
                             [](const TCellGrid::TCell& c, int column) { return c.Column < column; });
        texts.Texts[i] =
            cell != FRowCells.end() && cell->Column == columns[i] ? cell->Text : std::string_view();
        // UTF-8 has no lone surrogate: such a text is given as QString writes it in UTF-8.
        if (FGrid.HoldsLoneSurrogates() && TCellGrid::HoldsLoneSurrogate(texts.Texts[i])) {
            texts.Held[i] = TCellGrid::Decoded(texts.Texts[i]).toStdString();
            texts.Texts[i] = texts.Held[i];
        }
    }
}

void TFileWorksheet::CheckWritable(int row, int column) const {
    FBook.CheckOpen();
    if (InPackage())
        throw WorkbookErrors::ExistingSheet(FName, FBook.Path());
    if (row < 1 || column < 1 || row > CellReference::kMaxRows || column > CellReference::kMaxColumns)
        throw WorkbookErrors::CellOutOfRange(row, column);
}

void TFileWorksheet::SetCellText(int row, int column, const QString& text) {
    CheckWritable(row, column);
    TakeCellsOfRows();
    FGrid.SetText(row, column, text);
}

void TFileWorksheet::SetHeadingStyle(int row, int column) {
    CheckWritable(row, column);
    TakeCellsOfRows();
    FGrid.SetHeadingStyle(row, column);
}

void TFileWorksheet::SetRows(std::shared_ptr<const TSheetRows> rows) {
    CheckWritable(1, 1);
    FGrid = TCellGrid();
    FRows = std::move(rows);
}

// A cell set after rows were given adds to them, as to any cells: the rows become cells first.
void TFileWorksheet::TakeCellsOfRows() {
    if (std::shared_ptr<const TSheetRows> rows = std::exchange(FRows, nullptr))
        TWorksheet::SetRows(std::move(rows));
}

void TFileWorksheet::Release() {
    FGrid = TCellGrid();
    FRows.reset();
    FLoaded = true;
}

TWorkbookFile::TWorkbookFile() = default;
TWorkbookFile::~TWorkbookFile() = default;

void TWorkbookFile::CheckOpen() const {
    if (FClosed)
        throw WorkbookErrors::Closed();
}

QStringList TWorkbookFile::OtherNames(const TFileWorksheet* except) const {
    QStringList names = FOtherSheetNames;
    for (const auto& sheet : FSheets)
        if (sheet.get() != except)
            names.append(sheet->Name());
    return names;
}

TFileWorksheet& TWorkbookFile::AddSheetNamed(const QString& name, const QString& packagePart) {
    FSheets.push_back(std::make_unique<TFileWorksheet>(*this, name, packagePart));
    return *FSheets.back();
}

void TWorkbookFile::LoadXlsx(const QByteArray& bytes) {
    FPackage = std::make_unique<TXlsxPackage>(bytes);
    const auto& entries = FPackage->Sheets();
    int active = -1;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i].IsWorksheet) {
            FOtherSheetNames.append(entries[i].Name);
            continue;
        }
        if (int(i) == FPackage->ActiveTab())
            active = int(FSheets.size());
        AddSheetNamed(entries[i].Name, entries[i].PartName);
    }
    if (FSheets.empty())
        throw EDamagedPackage();
    // A chart sheet may be the active tab; the first worksheet stands in for it.
    FActive = std::max(active, 0);
}

void TWorkbookFile::Load(const QString& path) {
    FFormat = WorkbookFormatOf(path);
    if (FFormat == TWorkbookFormat::None)
        throw WorkbookErrors::CannotOpen(
            path, QCoreApplication::translate(
                      "Exchange", "Quillery reads workbooks whose names end in .xlsx, .xls, .ods or .csv"));
    const QByteArray bytes = ReadFile(path);
    FPath = path;
    FDiskDigest = Digest(bytes);
    // A workbook saved under another format's extension is read by what it holds.
    if (FFormat != TWorkbookFormat::Csv) {
        if (StartsWith(bytes, "\xD0\xCF\x11\xE0"))
            FFormat = TWorkbookFormat::Xls;
        else if (StartsWith(bytes, "PK\x03\x04"))
            FFormat = bytes.mid(30, 8) == "mimetype" && bytes.contains("opendocument.spreadsheet")
                          ? TWorkbookFormat::Ods
                          : TWorkbookFormat::Xlsx;
        else
            throw WorkbookErrors::NotAWorkbook(path);
    }
    try {
        switch (FFormat) {
        case TWorkbookFormat::Xlsx:
            LoadXlsx(bytes);
            break;
        case TWorkbookFormat::Xls:
            // A password-protected .xlsx is a compound file that holds the encrypted package.
            if (CompoundFileHoldsStream(bytes, QStringLiteral("EncryptedPackage")))
                throw EPasswordProtected();
            for (TNamedGrid& sheet : ReadXlsWorkbook(bytes))
                AddSheetNamed(sheet.Name).MutableGrid() = std::move(sheet.Grid);
            break;
        case TWorkbookFormat::Ods: {
            TOdsWorkbook workbook = ReadOdsWorkbook(bytes);
            for (TNamedGrid& sheet : workbook.Sheets)
                AddSheetNamed(sheet.Name).MutableGrid() = std::move(sheet.Grid);
            FActive = workbook.ActiveIndex;
            break;
        }
        default:
            CsvFormat::Read(bytes, AddSheetNamed(SheetNames::FromFileName(path)).MutableGrid());
            break;
        }
    } catch (const EDamagedPackage&) {
        throw WorkbookErrors::NotAWorkbook(path);
    } catch (const ECellBudgetExceeded&) {
        throw WorkbookErrors::TooLarge(path);
    } catch (const std::bad_alloc&) {
        // The sheets read so far go with this workbook, which the caller never gets.
        throw WorkbookErrors::TooLarge(path);
    } catch (const EPasswordProtected&) {
        throw WorkbookErrors::PasswordProtected(path);
    } catch (const std::system_error& error) {
        throw WorkbookErrors::CannotOpen(path, QString::fromStdString(error.code().message()));
    }
}

int TWorkbookFile::SheetCount() const {
    CheckOpen();
    return int(FSheets.size());
}

TWorksheet& TWorkbookFile::Sheet(int index) {
    CheckOpen();
    if (index < 1 || index > int(FSheets.size()))
        throw WorkbookErrors::NoSuchSheetIndex(index, FPath);
    return *FSheets[size_t(index) - 1];
}

TWorksheet& TWorkbookFile::Sheet(const QString& name) {
    CheckOpen();
    for (const auto& sheet : FSheets)
        if (sheet->Name().compare(name, Qt::CaseInsensitive) == 0)
            return *sheet;
    throw WorkbookErrors::NoSuchSheet(name, FPath);
}

TWorksheet& TWorkbookFile::ActiveSheet() {
    CheckOpen();
    return *FSheets[size_t(FActive)];
}

TWorksheet& TWorkbookFile::AddSheet() {
    CheckOpen();
    if (FFormat == TWorkbookFormat::Csv)
        throw WorkbookErrors::CsvHoldsOneSheet(FPath);
    if (FFormat == TWorkbookFormat::Xls || FFormat == TWorkbookFormat::Ods)
        throw WorkbookErrors::ReadOnlyFormat(FPath);
    TFileWorksheet& sheet = AddSheetNamed(SheetNames::NextDefault(OtherNames(nullptr)));
    FActive = int(FSheets.size()) - 1;
    return sheet;
}

void TWorkbookFile::WriteXlsx(const QString& path) {
    std::vector<XlsxWriter::TSheet> sheets;
    for (const auto& sheet : FSheets)
        if (!FPackage || !sheet->InPackage())
            sheets.push_back({sheet->Name(), sheet->Rows()});
    if (FPackage && sheets.empty()) {
        WriteAtomically(path, FPackage->Bytes());
        return;
    }
    // Written to a temporary file in the same folder, which replaces the old file only once the
    // package is complete.
    QSaveFile file(path);
    try {
        TZipWriter zip(file);
        if (FPackage)
            AddWorksheets(zip, *FPackage, sheets);
        else
            XlsxWriter::PutNewPackage(zip, sheets, FActive);
        zip.Finish();
    } catch (const EDamagedPackage&) {
        if (file.error() != QFileDevice::NoError)
            throw WorkbookErrors::CannotSave(path, file.errorString());
        throw;
    }
}

void TWorkbookFile::Write(const QString& path, TWorkbookFormat format) {
    const std::string path8 = QFile::encodeName(path).toStdString();
    try {
        if (format == TWorkbookFormat::Xlsx) {
            WriteXlsx(path);
            return;
        }
        // A .csv file holds the active worksheet.
        const std::shared_ptr<const TSheetRows> rows = FSheets[size_t(FActive)]->Rows();
        WriteFileAtomically(path8, [&rows](const TByteSink& put) { CsvFormat::Write(*rows, put); });
    } catch (const ECellTooLong& tooLong) {
        std::string reference;
        CellReference::AppendColumnName(reference, tooLong.Column);
        throw WorkbookErrors::CannotSave(
            path,
            QCoreApplication::translate("Exchange", "the text of cell %1%2 in the worksheet \"%3\" has %4 "
                                                    "characters, more than the 32767 a cell can hold")
                .arg(QString::fromStdString(reference))
                .arg(tooLong.Row)
                .arg(tooLong.Sheet)
                .arg(tooLong.Length));
    } catch (const EDamagedPackage&) {
        throw WorkbookErrors::CannotSave(
            path, QCoreApplication::translate(
                      "Exchange",
                      "Quillery cannot add a worksheet to this workbook's layout; export to a new file"));
    } catch (const EFileError& error) {
        throw WorkbookErrors::CannotSave(path, ReasonOf(error, path8));
    }
}

void TWorkbookFile::SaveAs(const QString& path) {
    CheckOpen();
    const TWorkbookFormat format = WorkbookFormatOf(path);
    if (format != TWorkbookFormat::Xlsx && format != TWorkbookFormat::Csv)
        throw WorkbookErrors::CannotSave(
            path,
            QCoreApplication::translate("Exchange", "Quillery writes workbooks as .xlsx or .csv files"));
    // The file this workbook came from must still be as it was read: another program's change is
    // never overwritten.
    if (QFileInfo(path) == QFileInfo(FPath) && QFileInfo::exists(path) && DigestOfFile(path) != FDiskDigest)
        throw WorkbookErrors::CannotSave(
            path,
            QCoreApplication::translate("Exchange", "another program changed it after Quillery opened it"));
    Write(path, format);
    FPath = path;
    FFormat = format;
    FDiskDigest = DigestOfFile(path);
}

void TWorkbookFile::Save() {
    CheckOpen();
    if (FPath.isEmpty())
        throw WorkbookErrors::CannotSave(
            QCoreApplication::translate("Exchange", "the new workbook"),
            QCoreApplication::translate("Exchange", "it has no file yet; save it under a name"));
    if (FFormat == TWorkbookFormat::Xls || FFormat == TWorkbookFormat::Ods)
        throw WorkbookErrors::ReadOnlyFormat(FPath);
    SaveAs(FPath);
}

void TWorkbookFile::Close() {
    if (FClosed)
        return;
    for (const auto& sheet : FSheets)
        sheet->Release();
    FPackage.reset();
    FClosed = true;
}
