// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/RecordHistory.h"

#include "core/Category.h"
#include "core/DataFile.h"

#include <algorithm>
#include <iterator>

namespace {

size_t BytesOf(const TRecord& record) {
    return record.Bytes().size() + 4 * (static_cast<size_t>(record.Count()) + 1);
}

size_t BytesOf(const std::vector<std::unique_ptr<TRecord>>& records) {
    size_t bytes = 0;
    for (const auto& record : records)
        bytes += BytesOf(*record);
    return bytes;
}

} // namespace

struct TRecordHistory::TStep {
    enum class TKind { Records, Edit, Category };

    std::string Name;
    TKind Kind = TKind::Records;
    TPlace Before;
    TPlace After;
    int32_t CategoryID = 0;
    // Records: the range [First, First + Count) of the category's records. Edit: the record at
    // First. Category: the category's place among the categories.
    int32_t First = 0;
    int32_t Count = 0;
    // Whether the records or the category are in the data file now; what is not, Held holds.
    bool InFile = true;
    std::vector<std::unique_ptr<TRecord>> Held;
    std::unique_ptr<TCategory> HeldCategory;

    size_t Bytes() const { return BytesOf(Held) + (HeldCategory ? BytesOf(HeldCategory->Records) : 0); }
};

TRecordHistory::TRecordHistory() = default;
TRecordHistory::~TRecordHistory() = default;

void TRecordHistory::RecordsAdded(const std::string& name, const TCategory& category, int32_t first,
                                  int32_t count, const TPlace& before) {
    auto step = std::make_unique<TStep>();
    step->Name = name;
    step->Before = before;
    step->After = {category.ID, first};
    step->CategoryID = category.ID;
    step->First = first;
    step->Count = count;
    Push(std::move(step));
}

void TRecordHistory::RemoveRecord(const std::string& name, TCategory& category, int32_t index,
                                  const TPlace& before) {
    auto step = std::make_unique<TStep>();
    step->Name = name;
    step->Before = before;
    step->After = {category.ID, -1};
    step->CategoryID = category.ID;
    step->First = index;
    step->Count = 1;
    step->InFile = false;
    step->Held.push_back(std::move(category.Records.at(static_cast<size_t>(index))));
    category.Records.erase(category.Records.begin() + index);
    Push(std::move(step));
}

void TRecordHistory::RecordEdited(const std::string& name, const TCategory& category, int32_t index,
                                  TRecord previous) {
    auto step = std::make_unique<TStep>();
    step->Name = name;
    step->Kind = TStep::TKind::Edit;
    step->Before = step->After = {category.ID, index};
    step->CategoryID = category.ID;
    step->First = index;
    step->Count = 1;
    step->Held.push_back(std::make_unique<TRecord>(std::move(previous)));
    Push(std::move(step));
}

void TRecordHistory::CategoryAdded(const std::string& name, const TDataFile& data, int32_t categoryID,
                                   const TPlace& before) {
    auto step = std::make_unique<TStep>();
    step->Name = name;
    step->Kind = TStep::TKind::Category;
    step->Before = before;
    step->After = {categoryID, -1};
    step->CategoryID = categoryID;
    step->First = data.IndexOfCategory(data.CategoryByID(categoryID));
    Push(std::move(step));
}

const std::string& TRecordHistory::UndoName() const {
    static const std::string none;
    return FUndo.empty() ? none : FUndo.back()->Name;
}

const std::string& TRecordHistory::RedoName() const {
    static const std::string none;
    return FRedo.empty() ? none : FRedo.back()->Name;
}

std::optional<TRecordHistory::TPlace> TRecordHistory::Undo(TDataFile& data) {
    return MoveNewest(data, FUndo, FRedo, &TStep::Before);
}

std::optional<TRecordHistory::TPlace> TRecordHistory::Redo(TDataFile& data) {
    return MoveNewest(data, FRedo, FUndo, &TStep::After);
}

std::optional<TRecordHistory::TPlace> TRecordHistory::MoveNewest(TDataFile& data, TSteps& from, TSteps& to,
                                                                 TPlace TStep::*place) {
    if (from.empty())
        return std::nullopt;
    std::unique_ptr<TStep> step = std::move(from.back());
    from.pop_back();
    FHeldBytes -= step->Bytes();
    if (!Toggle(data, *step)) {
        Clear();
        return std::nullopt;
    }
    FHeldBytes += step->Bytes();
    const TPlace result = (*step).*place;
    to.push_back(std::move(step));
    DropOldest();
    return result;
}

void TRecordHistory::Clear() {
    FUndo.clear();
    FRedo.clear();
    FHeldBytes = 0;
}

void TRecordHistory::Push(std::unique_ptr<TStep> step) {
    for (const auto& undone : FRedo)
        FHeldBytes -= undone->Bytes();
    FRedo.clear();
    FHeldBytes += step->Bytes();
    FUndo.push_back(std::move(step));
    DropOldest();
}

void TRecordHistory::DropOldest() {
    while (FUndo.size() > 1 && (StepCount() > kMaxSteps || FHeldBytes > kMaxBytes)) {
        FHeldBytes -= FUndo.front()->Bytes();
        FUndo.pop_front();
    }
}

bool TRecordHistory::Toggle(TDataFile& data, TStep& step) {
    if (step.Kind == TStep::TKind::Category) {
        auto& categories = data.Categories;
        if (step.InFile) {
            TCategory* category = data.CategoryByID(step.CategoryID);
            if (category == nullptr)
                return false;
            const auto at = categories.begin() + data.IndexOfCategory(category);
            step.First = static_cast<int32_t>(at - categories.begin());
            step.HeldCategory = std::move(*at);
            categories.erase(at);
            // The id was the newest: the next category may have it again, as before the import.
            if (data.LastCategoryID == step.CategoryID)
                data.LastCategoryID = step.CategoryID - 1;
        } else {
            if (data.CategoryByID(step.CategoryID) != nullptr)
                return false;
            const auto at = std::min(static_cast<size_t>(step.First), categories.size());
            categories.insert(categories.begin() + static_cast<std::ptrdiff_t>(at),
                              std::move(step.HeldCategory));
            data.LastCategoryID = std::max(data.LastCategoryID, step.CategoryID);
        }
        step.InFile = !step.InFile;
        return true;
    }

    TCategory* category = data.CategoryByID(step.CategoryID);
    if (category == nullptr)
        return false;
    auto& records = category->Records;
    const auto size = static_cast<int64_t>(records.size());
    if (step.Kind == TStep::TKind::Edit) {
        if (step.First < 0 || step.First >= size || step.Held.size() != 1 ||
            records[static_cast<size_t>(step.First)]->Count() != step.Held.front()->Count())
            return false;
        // The record object stays, so whatever refers to it sees the other values.
        std::swap(*records[static_cast<size_t>(step.First)], *step.Held.front());
        return true;
    }
    if (step.InFile) {
        if (step.First < 0 || int64_t{step.First} + step.Count > size)
            return false;
        const auto first = records.begin() + step.First;
        step.Held.assign(std::make_move_iterator(first), std::make_move_iterator(first + step.Count));
        records.erase(first, first + step.Count);
    } else {
        if (step.First < 0 || step.First > size)
            return false;
        records.insert(records.begin() + step.First, std::make_move_iterator(step.Held.begin()),
                       std::make_move_iterator(step.Held.end()));
        step.Held.clear();
    }
    step.InFile = !step.InFile;
    return true;
}
