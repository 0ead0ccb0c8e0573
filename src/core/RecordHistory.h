// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TCategory;
class TDataFile;
class TRecord;

// The changes to the open data file's records that can be taken back and made again: records
// added, removed or edited, and categories added by an import. Each step holds only what is not in
// the data file at the time (a removed record, the values an edit replaced), moved rather than
// copied, so the history costs little beyond the file. It lives in memory only, and keeps at most
// kMaxSteps steps and about kMaxBytes of held records (the newest step always stays).
class TRecordHistory {
public:
    static constexpr size_t kMaxSteps = 100;
    static constexpr size_t kMaxBytes = 64u << 20;

    // A category and a record in it by position (-1: none), where the selection goes.
    struct TPlace {
        int32_t CategoryID = 0;
        int32_t RecordIndex = -1;
    };

    TRecordHistory();
    ~TRecordHistory();
    TRecordHistory(const TRecordHistory&) = delete;
    TRecordHistory& operator=(const TRecordHistory&) = delete;

    // The calls below record a change as one step named by its command ("Delete Record"), shown
    // as "Undo Delete Record"; each clears what could be redone. before is the selection as it
    // was before the command.

    // count records were just placed at first, first + 1, … of category.
    void RecordsAdded(const std::string& name, const TCategory& category, int32_t first, int32_t count,
                      const TPlace& before);
    // Takes the record at index out of category into the history: the command's removal itself.
    void RemoveRecord(const std::string& name, TCategory& category, int32_t index, const TPlace& before);
    // The record at index of category was just saved; previous holds its values before.
    void RecordEdited(const std::string& name, const TCategory& category, int32_t index, TRecord previous);
    // The category with id categoryID was just added to data by an import.
    void CategoryAdded(const std::string& name, const TDataFile& data, int32_t categoryID,
                       const TPlace& before);

    bool CanUndo() const { return !FUndo.empty(); }
    bool CanRedo() const { return !FRedo.empty(); }
    const std::string& UndoName() const;
    const std::string& RedoName() const;
    // Takes the newest step back (Undo) or makes the newest undone step again (Redo) in data and
    // returns where the selection goes. When data no longer fits the step (it was changed
    // another way), nothing changes, the history is cleared and the result is empty.
    std::optional<TPlace> Undo(TDataFile& data);
    std::optional<TPlace> Redo(TDataFile& data);
    void Clear();

    size_t StepCount() const { return FUndo.size() + FRedo.size(); }
    // The bytes of the records the history holds.
    size_t HeldBytes() const { return FHeldBytes; }

private:
    struct TStep;
    void Push(std::unique_ptr<TStep> step);
    // Applies step's change in the direction it has not been applied yet.
    bool Toggle(TDataFile& data, TStep& step);
    void DropOldest();
    using TSteps = std::deque<std::unique_ptr<TStep>>;
    // Undo and Redo alike: toggles from's newest step and moves it onto to.
    std::optional<TPlace> MoveNewest(TDataFile& data, TSteps& from, TSteps& to, TPlace TStep::*place);

    TSteps FUndo;
    TSteps FRedo;
    size_t FHeldBytes = 0;
};
