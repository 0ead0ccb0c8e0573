// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Bitmap.h"
#include "core/BlockArena.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TStreamReader;
class TStreamWriter;

// Element kinds as stored in the file.
extern const char* const kKindLabel; // "TLabel"
extern const char* const kKindEdit;  // "TEdit"
extern const char* const kKindMemo;  // "TMemo"

// Font style bits.
enum : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// The four font properties a template element stores.
struct TFont {
    std::string Name;
    uint8_t Style = 0;
    int32_t Size = 0;
    int32_t Color = 0;

    bool operator==(const TFont& o) const {
        return Name == o.Name && Style == o.Style && Size == o.Size && Color == o.Color;
    }
};

// A template element: a label, a one-line text box or a memo box on the record form.
class TElement {
public:
    std::string Kind;
    int32_t ID = 0;
    int32_t ValueIndex = 0;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Color = 0;
    TFont Font;
    std::string Caption;

    void LoadFromStream(TStreamReader& stream);
    void SaveToStream(TStreamWriter& stream) const;
    void Assign(const TElement& source) { *this = source; }

    bool IsLabel() const { return Kind == kKindLabel; }
    // "TEdit" or "TMemo", compared as plain text.
    bool HoldsValue() const;
};

// A list column: the element whose value it shows, its width and its header text.
class TListColumn {
public:
    int32_t ElementID = 0;
    int32_t Width = 50;
    std::string Caption;

    void LoadFromStream(TStreamReader& stream);
    void SaveToStream(TStreamWriter& stream) const;
    void Assign(const TListColumn& source) { *this = source; }
};

// A record: an ordered list of values; value i belongs to the text box whose ValueIndex is i.
// A record keeps its values in one block: the count, the end offset of each value, then the
// bytes of all values one after another, so a category of many records costs one allocation per
// record (records read from a file share an arena) and reading a value touches one piece of memory. Windows
// read values as views and change them only through these operations.
class TRecord {
public:
    TRecord() = default;
    explicit TRecord(int32_t count); // count empty values
    // A record of these values, built in one allocation.
    explicit TRecord(const std::vector<std::string_view>& values) { Rebuild(values); }
    TRecord(const TRecord& other);
    TRecord& operator=(const TRecord& other);
    TRecord(TRecord&& other) noexcept;
    TRecord& operator=(TRecord&& other) noexcept;

    // Grows whenever any record's values change or a record's memory may be given out again, in
    // the whole process: an order of records taken while it stood at n still holds while it is n
    // and the records are the same objects.
    static uint64_t ChangeCount();

    int32_t Count() const { return static_cast<int32_t>(Load(0)); }
    // The value at index i; an index outside the record gives the empty value.
    std::string_view Value(int32_t i) const {
        const uint32_t count = Load(0);
        if (i < 0 || static_cast<uint32_t>(i) >= count)
            return {};
        const uint32_t begin = i == 0 ? 0 : Load(static_cast<uint32_t>(i));
        return std::string_view(Data(count) + begin, Load(static_cast<uint32_t>(i) + 1) - begin);
    }
    // Every value's bytes one after another, and where value i ends in them.
    std::string_view Bytes() const {
        const uint32_t count = Load(0);
        return std::string_view(Data(count), count == 0 ? 0 : Load(count));
    }
    uint32_t End(int32_t i) const { return Load(static_cast<uint32_t>(i) + 1); }
    // Asks the processor to fetch the values' memory ahead of a pass over many records.
    void Prefetch() const { __builtin_prefetch(FBlock.get()); }

    void SetValue(int32_t i, std::string_view value);
    void Append(std::string_view value);
    void Insert(int32_t i, std::string_view value);
    void Erase(int32_t i);
    // Replaces every value with those of source.
    void Assign(const TRecord& source) { *this = source; }

    // Reads the record's values, into a block of arena when one is given.
    void LoadFromStream(TStreamReader& stream, TBlockArena* arena = nullptr);
    void SaveToStream(TStreamWriter& stream) const;

    bool operator==(const TRecord& o) const;
    bool operator!=(const TRecord& o) const { return !(*this == o); }

    // A file's records are made with new (arena) TRecord, beside their blocks.
    static void* operator new(size_t size) { return AllocateObject(size, nullptr); }
    static void* operator new(size_t size, TBlockArena& arena) { return AllocateObject(size, &arena); }
    static void operator delete(void* object) noexcept { ReleaseObject(object); }
    static void operator delete(void* object, TBlockArena&) noexcept { ReleaseObject(object); }

private:
    // Word k of the block's header: 0 is the count, k > 0 the end of value k - 1.
    uint32_t Load(uint32_t k) const {
        if (!FBlock)
            return 0;
        uint32_t word;
        std::memcpy(&word, FBlock.get() + 4 * k, 4);
        return word;
    }
    const char* Data(uint32_t count) const { return FBlock ? FBlock.get() + 4 * (count + 1) : ""; }
    size_t BlockSize() const;
    // Makes the block hold exactly these values.
    void Rebuild(const std::vector<std::string_view>& values);
    // Puts block in place of the values held, if any, counting the change.
    void TakeBlock(TBlockPointer block) noexcept;
    static void CountChange() noexcept;
    std::vector<std::string_view> Values() const;

    TBlockPointer FBlock;
};

// One kind of card: name, icon, form template, list columns, sort order and records.
class TCategory {
public:
    static constexpr int32_t kDefaultFormColor = 13028025;

    TCategory();

    int32_t ID = 0;
    std::string Name;
    int32_t FormColor = kDefaultFormColor;
    int32_t LastElementID = 0;
    int32_t SortColumn = 0;
    bool SortAscending = true;
    std::vector<std::unique_ptr<TElement>> Elements;
    std::vector<std::unique_ptr<TListColumn>> Columns;
    std::vector<std::unique_ptr<TRecord>> Records;
    TBitmapImage Icon;

    void LoadFromStream(TStreamReader& stream);
    void SaveToStream(TStreamWriter& stream) const;

    // Appends an element with the next id and returns that id; ValueIndex stays 0.
    int32_t AddElement(std::string_view kind, int32_t left, int32_t top, int32_t width, int32_t height,
                       int32_t color, const TFont& font, std::string_view caption);
    // Fails with "Assertion failure (DataCategory, line 456)" for an unknown id.
    void UpdateElement(int32_t id, int32_t left, int32_t top, int32_t width, int32_t height, int32_t color,
                       const TFont& font, std::string_view caption);
    void DeleteElement(int32_t id);

    int32_t IndexOfElement(int32_t id) const;
    int32_t ValueIndexOf(int32_t id) const;
    int32_t ColumnIndexOf(int32_t id) const;
    const TElement* ElementByID(int32_t id) const;
    TElement* ElementByID(int32_t id);

    // Number of "TEdit" and "TMemo" elements.
    int32_t TextBoxCount() const;
    // Numbers the value indexes in template order: text boxes 0, 1, 2...; labels -1.
    void RenumberValueIndexes();

    TRecord* NewRecord();
    // Adds records after the others in one step: all of them, or none when memory runs out.
    void AppendRecords(std::vector<std::unique_ptr<TRecord>> records);
    // Fails with "Assertion failure (DataCategory, line 328)" when record is not in Records.
    void DeleteRecord(const TRecord* record);
    int32_t IndexOfRecord(const TRecord* record) const;

    // Copies id, name, colour, element counter, icon and sort order, then appends copies of the
    // source's elements and columns. Records are not copied.
    void AssignTemplate(const TCategory& source);
    // Applies an edited template (same id, no records) and adjusts every record so that each
    // remaining text box keeps its value.
    void MergeTemplate(const TCategory& edited);

private:
    // Copies everything but the elements and records, appending the source's columns.
    void AssignSettingsAndColumns(const TCategory& source);
};
