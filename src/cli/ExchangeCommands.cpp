// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ExchangeCommands.h"

#include "cli/Dump.h"

#include "core/DataFile.h"
#include "core/Error.h"
#include "core/TextCodec.h"
#include "exchange/CategoryAppend.h"
#include "exchange/CategoryExport.h"
#include "exchange/CategoryImport.h"
#include "exchange/workbook/CellReference.h"
#include "exchange/workbook/Workbook.h"

#include <QFile>
#include <QJsonDocument>

#include <iostream>
#include <ostream>
#include <stdexcept>
#include <vector>

namespace {

std::string Plural(size_t count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

} // namespace

TCliExchangeCommands::TCliExchangeCommands(const TCliOptions& options, std::ostream& out)
    : FOptions(options), FOut(out), FSession(options) {}

int TCliExchangeCommands::Run() {
    switch (FOptions.Command) {
    case TCliCommand::Dump:
        return Dump();
    case TCliCommand::Export:
        return Export();
    case TCliCommand::Import:
        return Import();
    case TCliCommand::Info:
    case TCliCommand::Check:
    case TCliCommand::Resave:
    case TCliCommand::List:
        break;
    }
    throw std::logic_error("quillery-cli: a command that needs no Qt");
}

int TCliExchangeCommands::Dump() {
    TDataFile& dataFile = FSession.Load(FOptions.Arguments[0], true);
    FOut << QJsonDocument(DataFileToJson(dataFile)).toJson(QJsonDocument::Indented).toStdString();
    return 0;
}

int TCliExchangeCommands::Export() {
    TDataFile& dataFile = FSession.Load(FOptions.Arguments[0], true);
    const TCategory& category = FSession.NamedCategory(dataFile);
    const std::string sheetName =
        FOptions.SheetName.empty() ? DecodeForDisplay(category.Name) : FOptions.SheetName;
    TCategoryExportRun run(category, QFile::decodeName(QByteArray::fromStdString(FOptions.Arguments[2])),
                           QString::fromStdString(sheetName));
    run.Check();
    run.Run({});
    return 0;
}

int TCliExchangeCommands::Import() {
    TDataFile& dataFile = FSession.Load(FOptions.Arguments[0], true);
    TCategory& category =
        *dataFile
             .Categories[static_cast<size_t>(dataFile.IndexOfCategory(&FSession.NamedCategory(dataFile, 2)))];
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
