// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Commands.h"

#include "cli/Check.h"
#include "cli/Password.h"

#include "core/DataFile.h"
#include "core/EncryptedFile.h"
#include "core/ListSort.h"
#include "core/Password.h"
#include "core/SearchParam.h"
#include "core/TextCodec.h"
#include "core/TextRules.h"

#include <ostream>
#include <stdexcept>
#include <vector>

namespace {

// The value index that each list column shows; -1 where the column names no text box.
std::vector<int32_t> ColumnValueIndexes(const TCategory& category) {
    std::vector<int32_t> indexes;
    for (const auto& column : category.Columns)
        indexes.push_back(category.ValueIndexOf(column->ElementID));
    return indexes;
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

TCliCommands::TCliCommands(const TCliOptions& options, std::ostream& out)
    : FOptions(options), FOut(out), FSession(options) {}

int TCliCommands::Run() {
    switch (FOptions.Command) {
    case TCliCommand::Info:
        return Info();
    case TCliCommand::Check:
        return Check();
    case TCliCommand::Resave:
        return Resave();
    case TCliCommand::List:
        return List();
    case TCliCommand::Dump:
    case TCliCommand::Export:
    case TCliCommand::Import:
        break;
    }
    throw std::logic_error("quillery-cli: a command that needs Qt");
}

int TCliCommands::Info() {
    TDataFile& dataFile = FSession.Load(FOptions.Arguments[0], false);
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

int TCliCommands::Check() {
    TDataFile& dataFile = FSession.Load(FOptions.Arguments[0], false);
    const std::vector<std::string> problems = FindDataFileProblems(dataFile);
    for (const std::string& problem : problems)
        FOut << problem << '\n';
    if (problems.empty())
        FOut << "No problems found.\n";
    return problems.empty() ? 0 : 1;
}

int TCliCommands::Resave() {
    TDataFile& dataFile = FSession.Load(FOptions.Arguments[0], true);
    if (FOptions.Decrypt) {
        dataFile.EncryptionKey = nullptr;
    } else if (FOptions.Encrypt && !dataFile.IsEncrypted()) {
        // The plain file's gate and the key come from the same password.
        const std::string password =
            dataFile.HasPassword() ? FSession.Password() : ReadNewCliPassword(FOptions.PasswordFile);
        dataFile.PasswordDigest = DigestOfTypedPassword(password);
        dataFile.EncryptionKey = TDataFileKey::Derive(password);
    }
    dataFile.SaveToFile(FOptions.Arguments[1]);
    return 0;
}

int TCliCommands::List() {
    TDataFile& dataFile = FSession.Load(FOptions.Arguments[0], true);
    const TCategory* category = &FSession.NamedCategory(dataFile);
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
