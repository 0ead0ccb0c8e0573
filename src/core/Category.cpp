// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Category.h"

#include "core/Error.h"
#include "core/HugePages.h"
#include "core/Stream.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <iterator>
#include <limits>

const char* const kKindLabel = "TLabel";
const char* const kKindEdit = "TEdit";
const char* const kKindMemo = "TMemo";

namespace {
// The fewest bytes each item can take in a file, to measure counts against the bytes left.
constexpr size_t kMinElementBytes = 4 + 4 + 4 + 16 + 4 + 4 + 4 + 1 + 4 + 4;
constexpr size_t kMinColumnBytes = 12;
constexpr size_t kMinRecordBytes = 4;
constexpr size_t kMinValueBytes = 4;

void WriteBool(TStreamWriter& stream, bool value) {
    stream.WriteInt32(value ? 1 : 0);
}
bool ReadBool(TStreamReader& stream) {
    return stream.ReadInt32() == 1;
}

// Copies a value of size bytes where room bytes may be read from and written to. Most values are
// short and followed by more of their record, both where they come from and where they go: such a
// value is copied as one chunk of 64 bytes, running on into what is read and written next anyway,
// rather than by a copy of its exact size, whose branches mispredict.
void CopyValue(char* to, const char* from, size_t size, size_t room) {
    constexpr size_t kChunk = 64;
    if (size <= kChunk && room >= kChunk)
        std::memcpy(to, from, kChunk);
    else if (size != 0)
        std::memcpy(to, from, size);
}
} // namespace

// ---- TElement

bool TElement::HoldsValue() const {
    return Kind == kKindEdit || Kind == kKindMemo;
}

void TElement::LoadFromStream(TStreamReader& stream) {
    Kind = ReadStreamString(stream);
    ID = stream.ReadInt32();
    ValueIndex = stream.ReadInt32();
    Left = stream.ReadInt32();
    Top = stream.ReadInt32();
    Width = stream.ReadInt32();
    Height = stream.ReadInt32();
    Color = stream.ReadInt32();
    Caption = ReadStreamString(stream);
    Font.Name = ReadStreamString(stream);
    Font.Style = stream.ReadUInt8();
    Font.Size = stream.ReadInt32();
    Font.Color = stream.ReadInt32();
}

void TElement::SaveToStream(TStreamWriter& stream) const {
    WriteStreamString(stream, Kind);
    stream.WriteInt32(ID);
    stream.WriteInt32(ValueIndex);
    stream.WriteInt32(Left);
    stream.WriteInt32(Top);
    stream.WriteInt32(Width);
    stream.WriteInt32(Height);
    stream.WriteInt32(Color);
    WriteStreamString(stream, Caption);
    WriteStreamString(stream, Font.Name);
    stream.WriteUInt8(Font.Style);
    stream.WriteInt32(Font.Size);
    stream.WriteInt32(Font.Color);
}

// ---- TListColumn

void TListColumn::LoadFromStream(TStreamReader& stream) {
    ElementID = stream.ReadInt32();
    Width = stream.ReadInt32();
    Caption = ReadStreamString(stream);
}

void TListColumn::SaveToStream(TStreamWriter& stream) const {
    stream.WriteInt32(ElementID);
    stream.WriteInt32(Width);
    WriteStreamString(stream, Caption);
}

// ---- TRecord

TRecord::TRecord(int32_t count) {
    Rebuild(std::vector<std::string_view>(static_cast<size_t>(std::max(count, 0))));
}

namespace {
std::atomic<uint64_t> gRecordChanges{0};
} // namespace

void TRecord::CountChange() noexcept {
    gRecordChanges.fetch_add(1, std::memory_order_relaxed);
}

uint64_t TRecord::ChangeCount() {
    return gRecordChanges.load(std::memory_order_relaxed) + ObjectMemoryReleases();
}

void TRecord::TakeBlock(TBlockPointer block) noexcept {
    if (FBlock)
        CountChange();
    FBlock = std::move(block);
}

TRecord::TRecord(const TRecord& other) {
    *this = other;
}

// The record moved from is left without values: a change to it.
TRecord::TRecord(TRecord&& other) noexcept : FBlock(std::move(other.FBlock)) {
    if (FBlock)
        CountChange();
}

TRecord& TRecord::operator=(TRecord&& other) noexcept {
    if (this != &other) {
        if (other.FBlock)
            CountChange();
        TakeBlock(std::move(other.FBlock));
    }
    return *this;
}

TRecord& TRecord::operator=(const TRecord& other) {
    if (this != &other) {
        const size_t size = other.BlockSize();
        TBlockPointer block = size ? NewBlock(size) : TBlockPointer();
        if (size)
            std::memcpy(block.get(), other.FBlock.get(), size);
        TakeBlock(std::move(block));
    }
    return *this;
}

size_t TRecord::BlockSize() const {
    const uint32_t count = Load(0);
    return FBlock ? 4 * (size_t{count} + 1) + Bytes().size() : 0;
}

bool TRecord::operator==(const TRecord& o) const {
    if (Count() != o.Count())
        return false;
    for (int32_t i = 0; i < Count(); ++i)
        if (Value(i) != o.Value(i))
            return false;
    return true;
}

std::vector<std::string_view> TRecord::Values() const {
    std::vector<std::string_view> values(static_cast<size_t>(Count()));
    for (int32_t i = 0; i < Count(); ++i)
        values[static_cast<size_t>(i)] = Value(i);
    return values;
}

void TRecord::Rebuild(const std::vector<std::string_view>& values) {
    size_t total = 0;
    for (const auto& value : values)
        total += value.size();
    if (total > std::numeric_limits<uint32_t>::max())
        throw EQuilleryError(QT_TRANSLATE_NOOP("Quillery", "A record cannot hold more than 4 GiB."));
    // The new block is made before the old one goes: values may point into it.
    const size_t header = 4 * (values.size() + 1);
    TBlockPointer block = NewBlock(header + total);
    auto store = [&](size_t k, uint32_t word) { std::memcpy(block.get() + 4 * k, &word, 4); };
    store(0, static_cast<uint32_t>(values.size()));
    uint32_t end = 0;
    for (size_t k = 0; k < values.size(); ++k) {
        if (!values[k].empty())
            std::memcpy(block.get() + header + end, values[k].data(), values[k].size());
        end += static_cast<uint32_t>(values[k].size());
        store(k + 1, end);
    }
    TakeBlock(std::move(block));
}

void TRecord::SetValue(int32_t i, std::string_view value) {
    if (i < 0 || i >= Count())
        return;
    std::vector<std::string_view> values = Values();
    values[static_cast<size_t>(i)] = value;
    Rebuild(values);
}

void TRecord::Append(std::string_view value) {
    Insert(Count(), value);
}

void TRecord::Insert(int32_t i, std::string_view value) {
    std::vector<std::string_view> values = Values();
    values.insert(values.begin() + std::clamp(i, 0, Count()), value);
    Rebuild(values);
}

void TRecord::Erase(int32_t i) {
    if (i < 0 || i >= Count())
        return;
    std::vector<std::string_view> values = Values();
    values.erase(values.begin() + i);
    Rebuild(values);
}

void TRecord::LoadFromStream(TStreamReader& stream, TBlockArena* arena) {
    const int32_t count = stream.ReadInt32();
    stream.CheckCount(count, kMinValueBytes);
    if (count <= 0 && Count() == 0)
        return;
    // Measure the values first, so the block is made once and filled by copying.
    const size_t start = stream.Position();
    size_t total = Bytes().size();
    for (int32_t i = 0; i < count; ++i)
        total += stream.ReadStringView().size();
    if (total > std::numeric_limits<uint32_t>::max())
        ThrowStreamReadError();
    const uint32_t old = Load(0);
    const size_t newCount = old + static_cast<size_t>(std::max(count, 0));
    const size_t header = 4 * (newCount + 1);
    TBlockPointer block = NewBlock(header + total, arena);
    auto store = [&](size_t k, uint32_t word) { std::memcpy(block.get() + 4 * k, &word, 4); };
    store(0, static_cast<uint32_t>(newCount));
    // Values already held come first (a record is normally read fresh, so there are none).
    const std::string_view kept = Bytes();
    if (!kept.empty())
        std::memcpy(block.get() + header, kept.data(), kept.size());
    for (uint32_t k = 1; k <= old; ++k)
        store(k, Load(k));
    uint32_t end = static_cast<uint32_t>(kept.size());
    // The measuring above has checked every length against the bytes there are: the values are
    // taken as they lie, without checking them again.
    const std::string_view source = stream.ReadSince(start);
    const char* at = source.data();
    const char* const sourceEnd = source.data() + source.size();
    char* const blockEnd = block.get() + header + total;
    for (size_t k = old + 1; k <= newCount; ++k) {
        uint32_t size;
        std::memcpy(&size, at, 4);
        size = TStreamReader::LittleEndian(size);
        char* to = block.get() + header + end;
        CopyValue(to, at + 4, size,
                  static_cast<size_t>(std::min<ptrdiff_t>(sourceEnd - (at + 4), blockEnd - to)));
        at += 4 + size;
        end += size;
        store(k, end);
    }
    TakeBlock(std::move(block));
}

void TRecord::SaveToStream(TStreamWriter& stream) const {
    // The whole record goes into the buffer in one step: the count, then each value's length and
    // bytes.
    const uint32_t count = Load(0);
    std::string& buffer = stream.Buffer();
    size_t at = buffer.size();
    buffer.resize(at + 4 * (size_t{count} + 1) + Bytes().size());
    auto put = [&](uint32_t word) {
        word = TStreamReader::LittleEndian(word);
        std::memcpy(&buffer[at], &word, 4);
        at += 4;
    };
    put(count);
    const char* const bytesEnd = Bytes().data() + Bytes().size();
    for (int32_t i = 0; i < static_cast<int32_t>(count); ++i) {
        const std::string_view value = Value(i);
        put(static_cast<uint32_t>(value.size()));
        CopyValue(&buffer[at], value.data(), value.size(),
                  std::min<size_t>(static_cast<size_t>(bytesEnd - value.data()), buffer.size() - at));
        at += value.size();
    }
}

// ---- TCategory

TCategory::TCategory() : Icon(TBitmapImage::DefaultIcon()) {}

void TCategory::LoadFromStream(TStreamReader& stream) {
    ID = stream.ReadInt32();
    Name = ReadStreamString(stream);
    FormColor = stream.ReadInt32();
    LastElementID = stream.ReadInt32();
    SortColumn = stream.ReadInt32();
    SortAscending = ReadBool(stream);
    Icon = TBitmapImage::ReadFromStream(stream);

    const int32_t elementCount = stream.ReadInt32();
    stream.CheckCount(elementCount, kMinElementBytes);
    for (int32_t i = 0; i < elementCount; ++i) {
        Elements.push_back(std::make_unique<TElement>());
        Elements.back()->LoadFromStream(stream);
    }
    const int32_t columnCount = stream.ReadInt32();
    stream.CheckCount(columnCount, kMinColumnBytes);
    for (int32_t i = 0; i < columnCount; ++i) {
        Columns.push_back(std::make_unique<TListColumn>());
        Columns.back()->LoadFromStream(stream);
    }
    const int32_t recordCount = stream.ReadInt32();
    stream.CheckCount(recordCount, kMinRecordBytes);
    if (recordCount > 0)
        ReserveInHugePages(Records, Records.size() + static_cast<size_t>(recordCount));
    TBlockArena arena;
    for (int32_t i = 0; i < recordCount; ++i) {
        stream.Forget();
        Records.push_back(std::unique_ptr<TRecord>(new (arena) TRecord()));
        Records.back()->LoadFromStream(stream, &arena);
    }
}

void TCategory::SaveToStream(TStreamWriter& stream) const {
    stream.WriteInt32(ID);
    WriteStreamString(stream, Name);
    stream.WriteInt32(FormColor);
    stream.WriteInt32(LastElementID);
    stream.WriteInt32(SortColumn);
    WriteBool(stream, SortAscending);
    Icon.WriteToStream(stream);
    stream.WriteInt32(static_cast<int32_t>(Elements.size()));
    for (const auto& element : Elements)
        element->SaveToStream(stream);
    stream.WriteInt32(static_cast<int32_t>(Columns.size()));
    for (const auto& column : Columns)
        column->SaveToStream(stream);
    stream.WriteInt32(static_cast<int32_t>(Records.size()));
    for (const auto& record : Records) {
        record->SaveToStream(stream);
        stream.Checkpoint();
    }
}

int32_t TCategory::AddElement(std::string_view kind, int32_t left, int32_t top, int32_t width, int32_t height,
                              int32_t color, const TFont& font, std::string_view caption) {
    auto element = std::make_unique<TElement>();
    element->ID = ++LastElementID;
    element->Kind = std::string(kind);
    Elements.push_back(std::move(element));
    UpdateElement(LastElementID, left, top, width, height, color, font, caption);
    return LastElementID;
}

void TCategory::UpdateElement(int32_t id, int32_t left, int32_t top, int32_t width, int32_t height,
                              int32_t color, const TFont& font, std::string_view caption) {
    TElement* element = ElementByID(id);
    if (!element)
        ThrowAssertion(kAssertionFailure, "DataCategory", 456);
    element->Left = left;
    element->Top = top;
    element->Width = width;
    element->Height = height;
    element->Color = color;
    element->Font = font;
    element->Caption = std::string(caption);
}

void TCategory::DeleteElement(int32_t id) {
    const int32_t index = IndexOfElement(id);
    if (index >= 0)
        Elements.erase(Elements.begin() + index);
}

int32_t TCategory::IndexOfElement(int32_t id) const {
    for (size_t i = 0; i < Elements.size(); ++i)
        if (Elements[i]->ID == id)
            return static_cast<int32_t>(i);
    return -1;
}

const TElement* TCategory::ElementByID(int32_t id) const {
    const int32_t index = IndexOfElement(id);
    return index < 0 ? nullptr : Elements[static_cast<size_t>(index)].get();
}

TElement* TCategory::ElementByID(int32_t id) {
    return const_cast<TElement*>(static_cast<const TCategory*>(this)->ElementByID(id));
}

int32_t TCategory::ValueIndexOf(int32_t id) const {
    const TElement* element = ElementByID(id);
    return element ? element->ValueIndex : -1;
}

int32_t TCategory::ColumnIndexOf(int32_t id) const {
    for (size_t i = 0; i < Columns.size(); ++i)
        if (Columns[i]->ElementID == id)
            return static_cast<int32_t>(i);
    return -1;
}

int32_t TCategory::TextBoxCount() const {
    return static_cast<int32_t>(
        std::count_if(Elements.begin(), Elements.end(), [](const auto& e) { return e->HoldsValue(); }));
}

void TCategory::RenumberValueIndexes() {
    int32_t next = 0;
    for (auto& element : Elements)
        element->ValueIndex = element->Kind == kKindLabel ? -1 : next++;
}

TRecord* TCategory::NewRecord() {
    Records.push_back(std::make_unique<TRecord>(TextBoxCount()));
    return Records.back().get();
}

void TCategory::AppendRecords(std::vector<std::unique_ptr<TRecord>> records) {
    // Only the reservation can fail; moving the pointers in cannot.
    Records.reserve(Records.size() + records.size());
    Records.insert(Records.end(), std::make_move_iterator(records.begin()),
                   std::make_move_iterator(records.end()));
}

int32_t TCategory::IndexOfRecord(const TRecord* record) const {
    for (size_t i = 0; i < Records.size(); ++i)
        if (Records[i].get() == record)
            return static_cast<int32_t>(i);
    return -1;
}

void TCategory::DeleteRecord(const TRecord* record) {
    const int32_t index = record ? IndexOfRecord(record) : -1;
    if (index < 0)
        ThrowAssertion(kAssertionFailure, "DataCategory", 328);
    Records.erase(Records.begin() + index);
}

void TCategory::AssignSettingsAndColumns(const TCategory& source) {
    ID = source.ID;
    Name = source.Name;
    FormColor = source.FormColor;
    LastElementID = source.LastElementID;
    Icon = source.Icon;
    SortColumn = source.SortColumn;
    SortAscending = source.SortAscending;
    for (const auto& column : source.Columns)
        Columns.push_back(std::make_unique<TListColumn>(*column));
}

void TCategory::AssignTemplate(const TCategory& source) {
    AssignSettingsAndColumns(source);
    for (const auto& element : source.Elements)
        Elements.push_back(std::make_unique<TElement>(*element));
}

void TCategory::MergeTemplate(const TCategory& edited) {
    Columns.clear();
    AssignSettingsAndColumns(edited);

    // From the last element to the first, so the value positions still to delete stay valid.
    for (size_t i = Elements.size(); i-- > 0;) {
        if (edited.IndexOfElement(Elements[i]->ID) >= 0)
            continue;
        const int32_t valueIndex = Elements[i]->ValueIndex;
        Elements.erase(Elements.begin() + static_cast<std::ptrdiff_t>(i));
        if (valueIndex >= 0)
            for (auto& record : Records)
                record->Erase(valueIndex);
    }

    for (size_t p = Elements.size(); p < edited.Elements.size(); ++p) {
        Elements.push_back(std::make_unique<TElement>());
        if (edited.Elements[p]->ValueIndex >= 0)
            for (auto& record : Records)
                record->Append({});
    }

    for (size_t p = 0; p < Elements.size() && p < edited.Elements.size(); ++p)
        Elements[p]->Assign(*edited.Elements[p]);
}
