// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Error.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

// The encrypted form of a data file: a small container around the exact bytes of the plain data
// file. Layout, all integers little-endian:
//   magic "QLGCRYPT" (8 bytes), version uint32 = 1, key derivation algorithm uint32 (Argon2id),
//   passes uint32, memory in KiB uint32, salt (16 bytes), stream header (24 bytes),
//   the key check (a fixed text sealed as the stream's first message, the bytes above as its
//   additional data), a BLAKE2b checksum (16 bytes) of everything before it,
//   then the plain bytes in sealed chunks of kChunkSize, the last one (possibly empty) marked final.
// The checksum is no protection (the stream's authentication is); it tells a damaged header apart
// from a wrong password, which both make the key check fail.

// A password that does not open the file: "Password error.".
class EPasswordError : public EQuilleryError {
public:
    EPasswordError();
};

// Bytes changed, cut short or out of bounds: "The data file is damaged.".
class EDamagedFileError : public EQuilleryError {
public:
    EDamagedFileError();
};

namespace NEncryptedFile {
constexpr size_t kMagicSize = 8;
constexpr size_t kSaltSize = 16;
constexpr size_t kKeySize = 32;
constexpr size_t kChunkSize = 64 * 1024;
// The least a container holds, its header and an empty final chunk: what ReadContainerHeader needs.
constexpr size_t kHeaderSize = 130;
// Bounds for what a file may ask of the key derivation: what the program writes, with a margin.
constexpr uint32_t kMaxPasses = 8;
constexpr uint32_t kMaxMemoryKiB = 256 * 1024;
} // namespace NEncryptedFile

// The key derivation parameters a container records.
struct TKeyDerivation {
    uint32_t Passes = 0;
    uint32_t MemoryKiB = 0;
    std::string Salt;
};

// A key derived from a password, held in locked memory where the system allows it and wiped when
// the object goes. Kept while a file is open, so saving needs no password again.
class TDataFileKey {
public:
    // A fresh salt and the program's own limits.
    static std::shared_ptr<const TDataFileKey> Derive(std::string_view passwordUtf8);
    // The key that parameters (checked against the bounds) give for the password.
    static std::shared_ptr<const TDataFileKey> Derive(std::string_view passwordUtf8,
                                                      const TKeyDerivation& parameters);

    ~TDataFileKey();
    TDataFileKey(const TDataFileKey&) = delete;
    TDataFileKey& operator=(const TDataFileKey&) = delete;

    const TKeyDerivation& Parameters() const { return FParameters; }
    const unsigned char* Bytes() const { return FKey; }

private:
    explicit TDataFileKey(TKeyDerivation parameters);

    TKeyDerivation FParameters;
    unsigned char* FKey;
};

// Plain bytes that are wiped when they go.
class TWipedBytes {
public:
    TWipedBytes() = default;
    ~TWipedBytes();
    TWipedBytes(const TWipedBytes&) = delete;
    TWipedBytes& operator=(const TWipedBytes&) = delete;
    TWipedBytes(TWipedBytes&& other) noexcept;

    // Zeroes every byte the buffer has room for, not only those it holds: bytes cleared from it
    // stay in its memory until written over. Bytes is then that many zero bytes.
    void Wipe() noexcept;

    std::string Bytes;
};

// Whether bytes (at least the first kMagicSize of a file) start an encrypted container.
bool IsEncryptedContainer(std::string_view header);
// Whether bytes are the start of a container's magic (all of it, or as much as there is).
bool IsEncryptedContainerStart(std::string_view bytes);

// Reads and checks the container's fixed header, cheaply and before any key derivation.
// EDamagedFileError when it is short, does not match its checksum or asks for more than the
// bounds; "Data file version incompatible." for another version.
TKeyDerivation ReadContainerHeader(std::string_view bytes);

// Encrypts plain bytes handed in pieces and passes the container to put. Finish seals the last
// chunk; an object that is never finished leaves an incomplete container.
class TSealingSink {
public:
    using TPut = std::function<void(std::string_view)>;
    TSealingSink(const TDataFileKey& key, TPut put);
    ~TSealingSink();
    TSealingSink(const TSealingSink&) = delete;
    TSealingSink& operator=(const TSealingSink&) = delete;

    void Write(std::string_view plain);
    void Finish();

private:
    // Hands the filled batch to the sealing worker after writing out the one sealed before it.
    void HandOver(bool final);

    TPut FPut;
    struct TState;
    std::unique_ptr<TState> FState;
};

// The container of plainBytes, under key or under a key newly derived from the password.
std::string SealDataFile(std::string_view plainBytes, const TDataFileKey& key);
std::string SealDataFile(std::string_view plainBytes, std::string_view passwordUtf8);

// The plain bytes of a container and the key that opened it. EPasswordError for a wrong password,
// EDamagedFileError for anything changed or cut short: never part of the bytes.
struct TOpenedDataFile {
    TWipedBytes Plain;
    std::shared_ptr<const TDataFileKey> Key;
};
TOpenedDataFile OpenDataFile(std::string_view bytes, std::string_view passwordUtf8);
// The same with a key already derived from the container's header.
TOpenedDataFile OpenDataFile(std::string_view bytes, std::shared_ptr<const TDataFileKey> key);
