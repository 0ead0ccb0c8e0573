// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Check.h"

#include "core/DataFile.h"
#include "core/TextCodec.h"

#include <set>

namespace {

std::string Quoted(const std::string& text) {
    return '"' + DecodeForDisplay(text) + '"';
}

class TProblemList {
public:
    explicit TProblemList(std::vector<std::string>& lines) : FLines(lines) {}

    void Add(const TCategory& category, const std::string& problem) {
        FLines.push_back("Category " + std::to_string(category.ID) + ' ' + Quoted(category.Name) + ": " +
                         problem);
    }

    // A positive id, not taken before in seen, not above the counter.
    void CheckID(const TCategory& category, const std::string& what, int32_t id, int32_t counter,
                 const std::string& counterName, std::set<int32_t>& seen) {
        const std::string subject = what + " id " + std::to_string(id);
        if (id <= 0)
            Add(category, subject + " is not positive");
        else if (id > counter)
            Add(category, subject + " is above " + counterName + ' ' + std::to_string(counter));
        if (!seen.insert(id).second)
            Add(category, subject + " is used more than once");
    }

private:
    std::vector<std::string>& FLines;
};

void CheckElements(const TCategory& category, TProblemList& problems) {
    std::set<int32_t> ids;
    int32_t nextValueIndex = 0;
    for (const auto& element : category.Elements) {
        problems.CheckID(category, "element", element->ID, category.LastElementID, "LastElementID", ids);
        const std::string subject =
            "element " + std::to_string(element->ID) + " (" + DecodeForDisplay(element->Kind) + ")";
        int32_t expected;
        if (element->HoldsValue()) {
            expected = nextValueIndex++;
        } else if (element->IsLabel()) {
            expected = -1;
        } else {
            problems.Add(category, subject + " has an unknown kind");
            continue;
        }
        if (element->ValueIndex != expected)
            problems.Add(category, subject + " has value index " + std::to_string(element->ValueIndex) +
                                       ", expected " + std::to_string(expected));
    }
}

void CheckColumns(const TCategory& category, TProblemList& problems) {
    for (size_t i = 0; i < category.Columns.size(); ++i) {
        const TListColumn& column = *category.Columns[i];
        const TElement* element = category.ElementByID(column.ElementID);
        if (element == nullptr || !element->HoldsValue())
            problems.Add(category, "column " + std::to_string(i + 1) + ' ' + Quoted(column.Caption) +
                                       " names no text box (element id " + std::to_string(column.ElementID) +
                                       ")");
    }
}

void CheckRecords(const TCategory& category, TProblemList& problems) {
    const int32_t textBoxes = category.TextBoxCount();
    for (size_t i = 0; i < category.Records.size(); ++i) {
        const int32_t count = category.Records[i]->Count();
        if (count != textBoxes)
            problems.Add(category, "record " + std::to_string(i + 1) + " has " + std::to_string(count) +
                                       " values, expected " + std::to_string(textBoxes));
    }
}

} // namespace

std::vector<std::string> FindDataFileProblems(const TDataFile& dataFile) {
    std::vector<std::string> lines;
    TProblemList problems(lines);
    std::set<int32_t> categoryIDs;
    for (const auto& category : dataFile.Categories) {
        problems.CheckID(*category, "category", category->ID, dataFile.LastCategoryID, "LastCategoryID",
                         categoryIDs);
        CheckElements(*category, problems);
        CheckColumns(*category, problems);
        CheckRecords(*category, problems);
    }
    return lines;
}
