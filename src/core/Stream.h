// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

[[noreturn]] void ThrowStreamReadError();

// Bytes of a stream held in memory, and the stream position of the first of them.
struct TStreamWindow {
    std::string_view Bytes;
    size_t Start = 0;
};

// Where a reader gets the rest of its bytes when they are not all in memory from the start.
class TStreamSource {
public:
    virtual ~TStreamSource() = default;
    // Returns the bytes from stream position keep on, up to position end at least when the stream
    // has that many. Bytes before keep may be let go; those returned stay valid until the next call.
    virtual TStreamWindow Fill(size_t keep, size_t end) = 0;
};

// Reads the little-endian items of a data file from bytes held in memory, or fetched from a source
// as the items ask for them, so that bytes the format does not describe are never read. Every read
// checks the bytes left first and fails with "Stream read error", so no count or length from a
// file is trusted before it has been measured against what the file really holds. The small reads
// are inline: loading a large file is mostly these. A view from a read stays valid until the
// reader next fetches bytes from its source, which a later read may do; bytes from the last
// Forget() on stay available to ReadSince, so a reader over a source holds no more than that.
class TStreamReader {
public:
    explicit TStreamReader(std::string_view bytes) : FData(bytes), FTotal(bytes.size()) {}
    // The bytes that source will give, total of them in all (the file's size), first of which
    // are there already.
    TStreamReader(TStreamSource& source, std::string_view first, size_t total)
        : FData(first), FTotal(total), FSource(&source) {}

    uint32_t ReadUInt32() {
        const char* p = Take(4);
        uint32_t value;
        std::memcpy(&value, p, 4);
        return LittleEndian(value);
    }
    int32_t ReadInt32() { return static_cast<int32_t>(ReadUInt32()); }
    uint16_t ReadUInt16() {
        const auto* p = reinterpret_cast<const unsigned char*>(Take(2));
        return static_cast<uint16_t>(p[0] | p[1] << 8);
    }
    uint8_t ReadUInt8() { return static_cast<uint8_t>(*Take(1)); }
    // The next n bytes, as a view into the reader's buffer.
    std::string_view ReadBytes(size_t n) { return std::string_view(Take(n), n); }
    // An int32 byte count followed by that many bytes; a negative count is a damaged file.
    std::string_view ReadStringView() {
        const int32_t count = ReadInt32();
        if (count < 0)
            ThrowStreamReadError();
        return ReadBytes(static_cast<size_t>(count));
    }

    // Fails unless count items of at least minBytesEach bytes can still follow. A count of 0 or
    // less always passes (the caller reads nothing then).
    void CheckCount(int64_t count, size_t minBytesEach) const {
        if (count > 0 && minBytesEach != 0 && static_cast<uint64_t>(count) > Remaining() / minBytesEach)
            ThrowStreamReadError();
    }

    // Bytes already read, from position from (not before the last Forget) up to the current
    // position.
    std::string_view ReadSince(size_t from) const {
        if (from < FBase || from > Position())
            ThrowStreamReadError();
        return FData.substr(from - FBase, Position() - from);
    }
    // The bytes read so far are needed no more.
    void Forget() { FKeep = Position(); }

    size_t Position() const { return FBase + FPos; }
    size_t Remaining() const { return FTotal - Position(); }
    bool AtEnd() const { return Position() == FTotal; }

    static uint32_t LittleEndian(uint32_t value) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
        return __builtin_bswap32(value);
#else
        return value;
#endif
    }

private:
    const char* Take(size_t n) {
        if (n > FData.size() - FPos)
            Fetch(n);
        const char* p = FData.data() + FPos;
        FPos += n;
        return p;
    }
    // Gets the next n bytes from the source, or fails when the stream has no more.
    void Fetch(size_t n);

    std::string_view FData; // the bytes in memory, from stream position FBase on
    size_t FTotal;
    TStreamSource* FSource = nullptr;
    size_t FBase = 0;
    size_t FPos = 0; // within FData
    size_t FKeep = 0;
};

// Appends the items of a data file to a byte buffer. With a sink, Checkpoint hands the buffer on
// whenever it has grown past a megabyte, so a large file is written through a small buffer.
class TStreamWriter {
public:
    using TSink = std::function<void(std::string_view)>;

    // With a sink the buffer is made large enough at once, instead of growing by copies and
    // page faults while the first piece fills.
    explicit TStreamWriter(std::string& buffer, TSink sink = nullptr)
        : FBuffer(buffer), FSink(std::move(sink)) {
        if (FSink)
            FBuffer.reserve(kFlushSize + kFlushSize / 8);
    }

    void WriteUInt32(uint32_t value) {
        value = TStreamReader::LittleEndian(value);
        FBuffer.append(reinterpret_cast<const char*>(&value), 4);
    }
    void WriteInt32(int32_t value) { WriteUInt32(static_cast<uint32_t>(value)); }
    void WriteUInt16(uint16_t value) {
        const char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
        FBuffer.append(bytes, 2);
    }
    void WriteUInt8(uint8_t value) { FBuffer.push_back(static_cast<char>(value)); }
    void WriteBytes(std::string_view bytes) { FBuffer.append(bytes.data(), bytes.size()); }
    void WriteString(std::string_view text);

    // A point between items where the buffer may be handed to the sink.
    void Checkpoint() {
        if (FSink && FBuffer.size() >= kFlushSize)
            Flush();
    }
    // Hands everything buffered to the sink.
    void Flush();

    std::string& Buffer() { return FBuffer; }

private:
    static constexpr size_t kFlushSize = 1 << 20;

    std::string& FBuffer;
    TSink FSink;
};

// An int32 byte count followed by the bytes.
std::string ReadStreamString(TStreamReader& stream);
void WriteStreamString(TStreamWriter& stream, std::string_view text);
