#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Reads the little-endian items of a data file from bytes held in memory. Every read checks the
// bytes left first and fails with "Stream read error", so no count or length from a file is
// trusted before it has been measured against what the file really holds.
class TStreamReader {
public:
    explicit TStreamReader(std::string_view bytes) : FData(bytes) {}

    int32_t ReadInt32();
    uint32_t ReadUInt32();
    uint16_t ReadUInt16();
    uint8_t ReadUInt8();
    // The next n bytes, as a view into the reader's buffer.
    std::string_view ReadBytes(size_t n);
    // The next n bytes without consuming them.
    std::string_view PeekBytes(size_t n) const;
    // An int32 byte count followed by that many bytes.
    std::string_view ReadStringView();

    // Fails unless count items of at least minBytesEach bytes can still follow. A count of 0 or
    // less always passes (the caller reads nothing then).
    void CheckCount(int64_t count, size_t minBytesEach) const;

    // Bytes already read, from position from up to the current position.
    std::string_view ReadSince(size_t from) const { return FData.substr(from, FPos - from); }

    size_t Position() const { return FPos; }
    size_t Remaining() const { return FData.size() - FPos; }
    bool AtEnd() const { return FPos == FData.size(); }

private:
    std::string_view FData;
    size_t FPos = 0;
};

// Appends the items of a data file to a byte buffer.
class TStreamWriter {
public:
    explicit TStreamWriter(std::string& buffer) : FBuffer(buffer) {}

    void WriteInt32(int32_t value);
    void WriteUInt32(uint32_t value);
    void WriteUInt16(uint16_t value);
    void WriteUInt8(uint8_t value);
    void WriteBytes(std::string_view bytes) { FBuffer.append(bytes.data(), bytes.size()); }
    void WriteString(std::string_view text);

    std::string& Buffer() { return FBuffer; }

private:
    std::string& FBuffer;
};
