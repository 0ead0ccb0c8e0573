#include "DataStream.h"

#include "DataError.h"

#include <cstring>
#include <limits>

namespace {
template <typename T> T LoadLE(const char* p) {
    T value = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        value |= static_cast<T>(static_cast<T>(static_cast<unsigned char>(p[i])) << (8 * i));
    return value;
}

template <typename T> void StoreLE(std::string& buffer, T value) {
    char bytes[sizeof(T)];
    for (size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    buffer.append(bytes, sizeof(T));
}
} // namespace

std::string_view TStreamReader::ReadBytes(size_t n) {
    if (n > Remaining())
        ThrowStreamReadError();
    std::string_view result = FData.substr(FPos, n);
    FPos += n;
    return result;
}

std::string_view TStreamReader::PeekBytes(size_t n) const {
    if (n > Remaining())
        ThrowStreamReadError();
    return FData.substr(FPos, n);
}

uint32_t TStreamReader::ReadUInt32() {
    return LoadLE<uint32_t>(ReadBytes(4).data());
}
uint16_t TStreamReader::ReadUInt16() {
    return LoadLE<uint16_t>(ReadBytes(2).data());
}
uint8_t TStreamReader::ReadUInt8() {
    return static_cast<uint8_t>(ReadBytes(1)[0]);
}
int32_t TStreamReader::ReadInt32() {
    return static_cast<int32_t>(ReadUInt32());
}

std::string_view TStreamReader::ReadStringView() {
    const int32_t count = ReadInt32();
    // A negative length is no string at all: the file is damaged.
    if (count < 0)
        ThrowStreamReadError();
    return ReadBytes(static_cast<size_t>(count));
}

void TStreamReader::CheckCount(int64_t count, size_t minBytesEach) const {
    if (count <= 0)
        return;
    if (minBytesEach != 0 && static_cast<uint64_t>(count) > Remaining() / minBytesEach)
        ThrowStreamReadError();
}

void TStreamWriter::WriteUInt32(uint32_t value) {
    StoreLE(FBuffer, value);
}
void TStreamWriter::WriteUInt16(uint16_t value) {
    StoreLE(FBuffer, value);
}
void TStreamWriter::WriteUInt8(uint8_t value) {
    FBuffer.push_back(static_cast<char>(value));
}
void TStreamWriter::WriteInt32(int32_t value) {
    StoreLE(FBuffer, static_cast<uint32_t>(value));
}

void TStreamWriter::WriteString(std::string_view text) {
    if (text.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw EStreamError(kStreamWriteError);
    WriteInt32(static_cast<int32_t>(text.size()));
    WriteBytes(text);
}
