#include "DataCategory.h"

#include "DataError.h"
#include "DataGlobalProc.h"
#include "DataStream.h"

#include <algorithm>
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
} // namespace

// ---- TUIE

bool TUIE::HoldsValue() const {
    return Kind == kKindEdit || Kind == kKindMemo;
}

void TUIE::LoadFromStream(TStreamReader& stream) {
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

void TUIE::SaveToStream(TStreamWriter& stream) const {
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

// ---- TUIL

void TUIL::LoadFromStream(TStreamReader& stream) {
    ElementID = stream.ReadInt32();
    Width = stream.ReadInt32();
    Caption = ReadStreamString(stream);
}

void TUIL::SaveToStream(TStreamWriter& stream) const {
    stream.WriteInt32(ElementID);
    stream.WriteInt32(Width);
    WriteStreamString(stream, Caption);
}

// ---- TRecord

TRecord::TRecord(int32_t count) : FEnds(static_cast<size_t>(std::max(count, 0)), 0) {}

std::string_view TRecord::Value(int32_t i) const {
    if (i < 0 || i >= Count())
        return {};
    const size_t begin = Begin(i);
    return std::string_view(FBytes).substr(begin, FEnds[static_cast<size_t>(i)] - begin);
}

void TRecord::SetValue(int32_t i, std::string_view value) {
    if (i < 0 || i >= Count())
        return;
    const size_t begin = Begin(i);
    const size_t oldSize = FEnds[static_cast<size_t>(i)] - begin;
    FBytes.replace(begin, oldSize, value.data(), value.size());
    const auto delta = static_cast<int64_t>(value.size()) - static_cast<int64_t>(oldSize);
    for (size_t k = static_cast<size_t>(i); k < FEnds.size(); ++k)
        FEnds[k] = static_cast<uint32_t>(FEnds[k] + delta);
}

void TRecord::Append(std::string_view value) {
    Insert(Count(), value);
}

void TRecord::Insert(int32_t i, std::string_view value) {
    i = std::clamp(i, 0, Count());
    const size_t begin = Begin(i);
    FBytes.insert(begin, value.data(), value.size());
    for (size_t k = static_cast<size_t>(i); k < FEnds.size(); ++k)
        FEnds[k] = static_cast<uint32_t>(FEnds[k] + value.size());
    FEnds.insert(FEnds.begin() + i, static_cast<uint32_t>(begin + value.size()));
}

void TRecord::Erase(int32_t i) {
    if (i < 0 || i >= Count())
        return;
    const size_t begin = Begin(i);
    const size_t size = FEnds[static_cast<size_t>(i)] - begin;
    FBytes.erase(begin, size);
    FEnds.erase(FEnds.begin() + i);
    for (size_t k = static_cast<size_t>(i); k < FEnds.size(); ++k)
        FEnds[k] = static_cast<uint32_t>(FEnds[k] - size);
}

void TRecord::LoadFromStream(TStreamReader& stream) {
    const int32_t count = stream.ReadInt32();
    stream.CheckCount(count, kMinValueBytes);
    if (count <= 0)
        return;
    // Measure the values first, so the record's buffer is sized once.
    const size_t start = stream.Position();
    size_t total = 0;
    for (int32_t i = 0; i < count; ++i)
        total += stream.ReadStringView().size();
    if (FBytes.size() + total > std::numeric_limits<uint32_t>::max())
        ThrowStreamReadError();
    const std::string_view block = stream.ReadSince(start);
    TStreamReader values(block);
    FBytes.reserve(FBytes.size() + total);
    FEnds.reserve(FEnds.size() + static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        FBytes.append(values.ReadStringView());
        FEnds.push_back(static_cast<uint32_t>(FBytes.size()));
    }
}

void TRecord::SaveToStream(TStreamWriter& stream) const {
    stream.WriteInt32(Count());
    for (int32_t i = 0; i < Count(); ++i)
        WriteStreamString(stream, Value(i));
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
        Elements.push_back(std::make_unique<TUIE>());
        Elements.back()->LoadFromStream(stream);
    }
    const int32_t columnCount = stream.ReadInt32();
    stream.CheckCount(columnCount, kMinColumnBytes);
    for (int32_t i = 0; i < columnCount; ++i) {
        Columns.push_back(std::make_unique<TUIL>());
        Columns.back()->LoadFromStream(stream);
    }
    const int32_t recordCount = stream.ReadInt32();
    stream.CheckCount(recordCount, kMinRecordBytes);
    if (recordCount > 0)
        Records.reserve(Records.size() + static_cast<size_t>(recordCount));
    for (int32_t i = 0; i < recordCount; ++i) {
        Records.push_back(std::make_unique<TRecord>());
        Records.back()->LoadFromStream(stream);
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
    for (const auto& record : Records)
        record->SaveToStream(stream);
}

int32_t TCategory::AddElement(std::string_view kind, int32_t left, int32_t top, int32_t width, int32_t height,
                              int32_t color, const TFont& font, std::string_view caption) {
    auto element = std::make_unique<TUIE>();
    element->ID = ++LastElementID;
    element->Kind = std::string(kind);
    element->Left = left;
    element->Top = top;
    element->Width = width;
    element->Height = height;
    element->Color = color;
    element->Font = font;
    element->Caption = std::string(caption);
    Elements.push_back(std::move(element));
    return LastElementID;
}

void TCategory::UpdateElement(int32_t id, int32_t left, int32_t top, int32_t width, int32_t height,
                              int32_t color, const TFont& font, std::string_view caption) {
    TUIE* element = ElementByID(id);
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

TUIE* TCategory::ElementByID(int32_t id) const {
    const int32_t index = IndexOfElement(id);
    return index < 0 ? nullptr : Elements[static_cast<size_t>(index)].get();
}

int32_t TCategory::ValueIndexOf(int32_t id) const {
    const TUIE* element = ElementByID(id);
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

void TCategory::AssignTemplate(const TCategory& source) {
    ID = source.ID;
    Name = source.Name;
    FormColor = source.FormColor;
    LastElementID = source.LastElementID;
    Icon = source.Icon;
    SortColumn = source.SortColumn;
    SortAscending = source.SortAscending;
    for (const auto& element : source.Elements)
        Elements.push_back(std::make_unique<TUIE>(*element));
    for (const auto& column : source.Columns)
        Columns.push_back(std::make_unique<TUIL>(*column));
}

void TCategory::MergeTemplate(const TCategory& edited) {
    ID = edited.ID;
    Name = edited.Name;
    FormColor = edited.FormColor;
    LastElementID = edited.LastElementID;
    Icon = edited.Icon;
    SortColumn = edited.SortColumn;
    SortAscending = edited.SortAscending;

    Columns.clear();
    for (const auto& column : edited.Columns)
        Columns.push_back(std::make_unique<TUIL>(*column));

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
        Elements.push_back(std::make_unique<TUIE>());
        if (edited.Elements[p]->ValueIndex >= 0)
            for (auto& record : Records)
                record->Append({});
    }

    for (size_t p = 0; p < Elements.size() && p < edited.Elements.size(); ++p)
        Elements[p]->Assign(*edited.Elements[p]);
}
