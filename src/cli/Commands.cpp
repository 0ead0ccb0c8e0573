// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Commands.h"

#include "cli/Check.h"
#include "cli/Dump.h"
#include "cli/Password.h"

#include "core/DataFile.h"
#include "core/EncryptedFile.h"
#include "core/Error.h"
#include "core/ListSort.h"
#include "core/Password.h"
#include "core/SearchParam.h"
#include "core/TextCodec.h"
#include "core/TextRules.h"
#include "exchange/CategoryAppend.h"
#include "exchange/CategoryExport.h"
#include "exchange/CategoryImport.h"
#include "exchange/workbook/CellReference.h"
#include "exchange/workbook/Workbook.h"

#include <QFile>

#include <QJsonDocument>

#include <algorithm>
#include <iostream>
#include <ostream>
#include <stdexcept>
#include <vector>

namespace {

bool IsDecimal(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The category with this name (as stored or as displayed), or else with this id.
const TCategory* FindCategory(const TDataFile& dataFile, const std::string& nameOrID) {
    for (const auto& category : dataFile.Categories)
        if (category->Name == nameOrID || DecodeForDisplay(category->Name) == nameOrID)
            return category.get();
    if (!IsDecimal(nameOrID) || nameOrID.size() > 10)
        return nullptr;
    const long long id = std::stoll(nameOrID);
    for (const auto& category : dataFile.Categories)
        if (category->ID == id)
            return category.get();
    return nullptr;
}

// The value index that each list column shows; -1 where the column names no text box.
std::vector<int32_t> ColumnValueIndexes(const TCategory& category) {
    std::vector<int32_t> indexes;
    for (const auto& column : category.Columns)
        indexes.push_back(category.ValueIndexOf(column->ElementID));
    return indexes;
}

std::string Plural(size_t count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string_view ListCell(const TRecord& record, int32_t valueIndex) {
    return valueIndex < 0 ? std::string_view() : CellText(record.Value(valueIndex));
}

// The rows the program's list shows: every record, or those the filter keeps for filterText (an
// empty text shows all), sorted by the category's sort column and direction when it exists.
std::vector<const TRecord*> ListedRecords(const TCategory& category, const std::vector<int32_t>& valueIndexes,
                                          const std::string& filterText, bool wholeWord) {
    std::vector<const TRecord*> records;
    records.reserve(category.Records.size());
    TSearchParam search;
    search.SetFilterText(filterText);
    search.WholeWord = wholeWord;
    std::string scratch;
    for (const auto& record : category.Records)
        if (filterText.empty() || search.Test(*record, scratch))
            records.push_back(record.get());

    if (category.SortColumn < 0 || static_cast<size_t>(category.SortColumn) >= valueIndexes.size())
        return records;
    SortRecordsByListText(records, valueIndexes[static_cast<size_t>(category.SortColumn)],
                          category.SortAscending);
    return records;
}

} // namespace

TCliCommands::TCliCommands(const TCliOptions& options, std::ostream& out) : FOptions(options), FOut(out) {}

TCliCommands::~TCliCommands() = default;

int TCliCommands::Run() {
    switch (FOptions.Command) {
    case TCliCommand::Info:
        return Info();
    case TCliCommand::Dump:
        return Dump();
    case TCliCommand::Check:
        return Check();
    case TCliCommand::Resave:
        return Resave();
    case TCliCommand::List:
        return List();
    case TCliCommand::Export:
        return Export();
    case TCliCommand::Import:
        return Import();
    }
    throw std::logic_error("quillery-cli: a command without code");
}

TDataFile& TCliCommands::Load(const std::string& path, bool showsRecords) {
    FDataFile = std::make_unique<TDataFile>();
    TDataFile& dataFile = *FDataFile;
    dataFile.LoadFromFile(
        path, [this] { return Password(); },
        [](const TMessage& finished) { std::cerr << "quillery-cli: " << finished.English() << '\n'; });
    if (showsRecords && dataFile.HasPassword() && !PasswordMatches(Password(), dataFile.PasswordDigest))
        throw EPasswordError();
    return dataFile;
}

const std::string& TCliCommands::Password() {
    if (!FPassword)
        FPassword = ReadCliPassword(FOptions.PasswordFile);
    return *FPassword;
}

int TCliCommands::Info() {
    TDataFile& dataFile = Load(FOptions.Arguments[0], false);
    FOut << "Magic: " << dataFile.Magic << '\n'
         << "Version: " << dataFile.Version << '\n'
         << "Password: "
         << (dataFile.IsEncrypted()   ? "set, encrypted"
             : dataFile.HasPassword() ? "set"
                                      : "none")
         << '\n';
    for (const auto& category : dataFile.Categories)
        FOut << "Category " << category->ID << " \"" << DecodeForDisplay(category->Name) << "\": elements "
             << category->Elements.size() << ", text boxes " << category->TextBoxCount() << ", columns "
             << category->Columns.size() << ", records " << category->Records.size() << '\n';
    return 0;
}

int TCliCommands::Dump() {
    TDataFile& dataFile = Load(FOptions.Arguments[0], true);
    FOut << QJsonDocument(DataFileToJson(dataFile)).toJson(QJsonDocument::Indented).toStdString();
    return 0;
}

int TCliCommands::Check() {
    TDataFile& dataFile = Load(FOptions.Arguments[0], false);
    const std::vector<std::string> problems = FindDataFileProblems(dataFile);
    for (const std::string& problem : problems)
        FOut << problem << '\n';
    if (problems.empty())
        FOut << "No problems found.\n";
    return problems.empty() ? 0 : 1;
}

int TCliCommands::Resave() {
    TDataFile& dataFile = Load(FOptions.Arguments[0], true);
    if (FOptions.Decrypt) {
        dataFile.EncryptionKey = nullptr;
    } else if (FOptions.Encrypt && !dataFile.IsEncrypted()) {
        // The plain file's gate and the key come from the same password.
        const std::string password =
            dataFile.HasPassword() ? Password() : ReadNewCliPassword(FOptions.PasswordFile);
        dataFile.PasswordDigest = DigestOfTypedPassword(password);
        dataFile.EncryptionKey = TDataFileKey::Derive(password);
    }
    dataFile.SaveToFile(FOptions.Arguments[1]);
    return 0;
}

const TCategory& TCliCommands::NamedCategory(const TDataFile& dataFile, size_t index) const {
    const TCategory* category = FindCategory(dataFile, FOptions.Arguments[index]);
    if (category == nullptr)
        throw EQuilleryError("Category not found: " + FOptions.Arguments[index]);
    return *category;
}

int TCliCommands::List() {
    TDataFile& dataFile = Load(FOptions.Arguments[0], true);
    const TCategory* category = &NamedCategory(dataFile);
    const std::vector<int32_t> valueIndexes = ColumnValueIndexes(*category);
    const auto writeLine = [&](auto cellText) {
        for (size_t c = 0; c < valueIndexes.size(); ++c)
            FOut << (c == 0 ? "" : "\t") << DecodeForDisplay(cellText(c));
        FOut << '\n';
    };
    writeLine([&](size_t c) -> std::string_view { return category->Columns[c]->Caption; });
    for (const TRecord* record :
         ListedRecords(*category, valueIndexes, FOptions.FilterText, FOptions.WholeWord))
        writeLine([&](size_t c) { return ListCell(*record, valueIndexes[c]); });
    return 0;
}

int TCliCommands::Export() {
    TDataFile& dataFile = Load(FOptions.Arguments[0], true);
    const TCategory& category = NamedCategory(dataFile);
    const std::string sheetName =
        FOptions.SheetName.empty() ? DecodeForDisplay(category.Name) : FOptions.SheetName;
    TCategoryExportRun run(category, QFile::decodeName(QByteArray::fromStdString(FOptions.Arguments[2])),
                           QString::fromStdString(sheetName));
    run.Check();
    run.Run({});
    return 0;
}

int TCliCommands::Import() {
    TDataFile& dataFile = Load(FOptions.Arguments[0], true);
    TCategory& category =
        *dataFile.Categories[static_cast<size_t>(dataFile.IndexOfCategory(&NamedCategory(dataFile, 2)))];
    const std::string name = "\"" + DecodeForDisplay(category.Name) + "\"";
    const auto workbook =
        TWorkbook::Open(QFile::decodeName(QByteArray::fromStdString(FOptions.Arguments[1])));
    const TWorksheet& sheet = FOptions.SheetName.empty()
                                  ? workbook->ActiveSheet()
                                  : workbook->Sheet(QString::fromStdString(FOptions.SheetName));
    const TImportRanges ranges = DetectImportRanges(sheet);
    std::vector<int> unmatched;
    const std::vector<TAppendColumn> columns =
        TCategoryAppend::MatchTitleColumns(sheet, ranges, category, &unmatched);
    for (const int column : unmatched) {
        std::string letters;
        CellReference::AppendColumnName(letters, column);
        std::cerr << "quillery-cli: column " << letters << " \""
                  << TrimmedCell(sheet, ranges.TitleRow, column).toStdString() << "\" names no text box of "
                  << name << "; left out\n";
    }
    if (columns.empty())
        throw EQuilleryError("No column of the worksheet names a text box of " + name +
                             ". Nothing was imported.");

    TCategoryAppend append(sheet, category, columns);
    append.ReadRecords(ranges.DataFromRow, ranges.DataToRow, FOptions.SkipDuplicates, {});
    const size_t added = append.RecordCount();
    category.AppendRecords(append.TakeRecords());
    // Nothing added leaves the file as it was, not even rewritten.
    if (added > 0)
        dataFile.SaveToFile(FOptions.Arguments[0]);
    FOut << "Added " << Plural(added, "record") << " to " << name;
    if (FOptions.SkipDuplicates)
        FOut << ", left out " << Plural(append.DuplicateCount(), "duplicate row");
    FOut << ".\n";
    return 0;
}
