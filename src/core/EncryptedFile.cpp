// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/EncryptedFile.h"

#include "core/HugePages.h"

#include <sodium.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>

#include <sys/prctl.h>
#include <sys/resource.h>

namespace {

constexpr char kMagic[NEncryptedFile::kMagicSize + 1] = "QLGCRYPT";
constexpr uint32_t kVersion = 1;
// What the program writes: opening takes a fraction of a second on an ordinary machine.
constexpr uint32_t kPasses = crypto_pwhash_OPSLIMIT_INTERACTIVE;
constexpr uint32_t kMemoryKiB = crypto_pwhash_MEMLIMIT_INTERACTIVE / 1024;
constexpr uint32_t kMinMemoryKiB = crypto_pwhash_argon2id_MEMLIMIT_MIN / 1024;
constexpr char kKeyCheck[] = "Quillery key ok.";
constexpr size_t kKeyCheckSize = sizeof(kKeyCheck) - 1;
constexpr size_t kChecksumSize = 16;
constexpr size_t kTagBytes = crypto_secretstream_xchacha20poly1305_ABYTES;
constexpr size_t kStreamHeaderSize = crypto_secretstream_xchacha20poly1305_HEADERBYTES;
constexpr size_t kSaltOffset = NEncryptedFile::kMagicSize + 4 * 4;
constexpr size_t kStreamHeaderOffset = kSaltOffset + NEncryptedFile::kSaltSize;
constexpr size_t kFixedHeaderSize = kStreamHeaderOffset + kStreamHeaderSize;
constexpr size_t kChecksumOffset = kFixedHeaderSize + kKeyCheckSize + kTagBytes;
constexpr size_t kPrefixSize = kChecksumOffset + kChecksumSize;
constexpr size_t kSealedChunkSize = NEncryptedFile::kChunkSize + kTagBytes;

static_assert(NEncryptedFile::kSaltSize == crypto_pwhash_SALTBYTES, "salt size");
static_assert(NEncryptedFile::kHeaderSize == kPrefixSize + kTagBytes, "header size");
static_assert(NEncryptedFile::kKeySize == crypto_secretstream_xchacha20poly1305_KEYBYTES, "key size");
static_assert(kPasses <= NEncryptedFile::kMaxPasses && kMemoryKiB <= NEncryptedFile::kMaxMemoryKiB,
              "the program must open what it writes");

void StartSodium() {
    static const bool started = sodium_init() >= 0;
    if (!started)
        throw EQuilleryError(QT_TRANSLATE_NOOP("Quillery", "Cannot start the encryption library."));
}

uint32_t ReadUInt32(std::string_view bytes, size_t offset) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    return value;
}

void AppendUInt32(std::string& bytes, uint32_t value) {
    for (size_t i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

const unsigned char* Unsigned(std::string_view bytes) {
    return reinterpret_cast<const unsigned char*>(bytes.data());
}

unsigned char* Unsigned(std::string& bytes) {
    return reinterpret_cast<unsigned char*>(bytes.data());
}

std::string Checksum(std::string_view bytes) {
    std::string checksum(kChecksumSize, '\0');
    crypto_generichash(Unsigned(checksum), kChecksumSize, Unsigned(bytes), bytes.size(), nullptr, 0);
    return checksum;
}

// A hostile file must not make the key derivation take gigabytes or minutes.
bool IsWithinBounds(const TKeyDerivation& parameters) {
    return parameters.Passes >= crypto_pwhash_argon2id_OPSLIMIT_MIN &&
           parameters.Passes <= NEncryptedFile::kMaxPasses && parameters.MemoryKiB >= kMinMemoryKiB &&
           parameters.MemoryKiB <= NEncryptedFile::kMaxMemoryKiB &&
           parameters.Salt.size() == NEncryptedFile::kSaltSize;
}

// A core file of a process that holds decrypted records would put them on disk in readable form:
// from the first key on, a crash writes none. Only the soft limit, so that programs started from
// here (a browser for the help) may still choose their own.
void KeepOutOfCoreDumps() {
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
    rlimit limit{};
    if (::getrlimit(RLIMIT_CORE, &limit) == 0) {
        limit.rlim_cur = 0;
        ::setrlimit(RLIMIT_CORE, &limit);
    }
}

} // namespace

EPasswordError::EPasswordError() : EQuilleryError(QT_TRANSLATE_NOOP("Quillery", "Password error.")) {}

EDamagedFileError::EDamagedFileError()
    : EQuilleryError(QT_TRANSLATE_NOOP("Quillery", "The data file is damaged.")) {}

TDataFileKey::TDataFileKey(TKeyDerivation parameters) : FParameters(std::move(parameters)) {
    KeepOutOfCoreDumps();
    StartSodium();
    // Guarded and locked in memory where the system allows it; sodium_free wipes it.
    FKey = static_cast<unsigned char*>(sodium_malloc(NEncryptedFile::kKeySize));
    if (FKey == nullptr)
        throw std::bad_alloc();
}

TDataFileKey::~TDataFileKey() {
    sodium_free(FKey);
}

std::shared_ptr<const TDataFileKey> TDataFileKey::Derive(std::string_view passwordUtf8) {
    StartSodium();
    TKeyDerivation parameters{kPasses, kMemoryKiB, std::string(NEncryptedFile::kSaltSize, '\0')};
    randombytes_buf(Unsigned(parameters.Salt), parameters.Salt.size());
    return Derive(passwordUtf8, parameters);
}

std::shared_ptr<const TDataFileKey> TDataFileKey::Derive(std::string_view passwordUtf8,
                                                         const TKeyDerivation& parameters) {
    if (!IsWithinBounds(parameters))
        throw EDamagedFileError();
    std::shared_ptr<TDataFileKey> key(new TDataFileKey(parameters));
    if (crypto_pwhash(key->FKey, NEncryptedFile::kKeySize, passwordUtf8.data(), passwordUtf8.size(),
                      Unsigned(parameters.Salt), parameters.Passes, size_t{parameters.MemoryKiB} * 1024,
                      crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw std::bad_alloc();
    sodium_mprotect_readonly(key->FKey);
    return key;
}

TWipedBytes::~TWipedBytes() {
    Wipe();
}

void TWipedBytes::Wipe() noexcept {
    // Within the capacity: no allocation, nothing to throw.
    Bytes.resize(Bytes.capacity());
    sodium_memzero(Bytes.data(), Bytes.size());
}

TWipedBytes::TWipedBytes(TWipedBytes&& other) noexcept : Bytes(std::move(other.Bytes)) {}

bool IsEncryptedContainer(std::string_view header) {
    return header.substr(0, NEncryptedFile::kMagicSize) == kMagic;
}

bool IsEncryptedContainerStart(std::string_view bytes) {
    return std::string_view(kMagic).substr(0, bytes.size()) == bytes.substr(0, NEncryptedFile::kMagicSize);
}

TKeyDerivation ReadContainerHeader(std::string_view bytes) {
    if (bytes.size() < NEncryptedFile::kHeaderSize || !IsEncryptedContainer(bytes))
        throw EDamagedFileError();
    StartSodium();
    if (Checksum(bytes.substr(0, kChecksumOffset)) != bytes.substr(kChecksumOffset, kChecksumSize))
        throw EDamagedFileError();
    if (ReadUInt32(bytes, NEncryptedFile::kMagicSize) != kVersion)
        ThrowAssertion(kVersionIncompatible, "EncryptedFile", __LINE__);
    if (ReadUInt32(bytes, NEncryptedFile::kMagicSize + 4) != crypto_pwhash_ALG_ARGON2ID13)
        throw EDamagedFileError();
    TKeyDerivation parameters{ReadUInt32(bytes, NEncryptedFile::kMagicSize + 8),
                              ReadUInt32(bytes, NEncryptedFile::kMagicSize + 12),
                              std::string(bytes.substr(kSaltOffset, NEncryptedFile::kSaltSize))};
    if (!IsWithinBounds(parameters))
        throw EDamagedFileError();
    return parameters;
}

// Sealing runs on a worker of its own while the caller serialises and writes: the plain bytes
// come in batches of whole chunks; while the worker seals one batch, the caller fills the other
// and writes out the one sealed before, so the file is written in the order of the chunks.
struct TSealingSink::TState {
    struct TBatch {
        TWipedBytes Plain;
        std::string Sealed;
    };

    crypto_secretstream_xchacha20poly1305_state Stream;
    TBatch Batches[2];
    int Filling = 0;
    std::mutex Lock;
    std::condition_variable Changed;
    TBatch* Job = nullptr;
    bool JobIsFinal = false;
    bool Stop = false;
    std::thread Worker;

    void Work();
    void Seal(TBatch& batch, bool final);
    void WaitIdle();
};

namespace {

constexpr size_t kBatchChunks = 16;
constexpr size_t kBatchSize = kBatchChunks * NEncryptedFile::kChunkSize;

} // namespace

void TSealingSink::TState::Work() {
    std::unique_lock<std::mutex> lock(Lock);
    for (;;) {
        Changed.wait(lock, [this] { return Job != nullptr || Stop; });
        if (Job == nullptr)
            return;
        lock.unlock();
        Seal(*Job, JobIsFinal);
        lock.lock();
        Job = nullptr;
        Changed.notify_all();
    }
}

void TSealingSink::TState::Seal(TBatch& batch, bool final) {
    const std::string_view plain = batch.Plain.Bytes;
    const size_t chunks = plain.size() / NEncryptedFile::kChunkSize + (final ? 1 : 0);
    batch.Sealed.resize(plain.size() + chunks * kTagBytes);
    size_t sealed = 0;
    // A full chunk is sealed as a message, so the final one is always shorter than a chunk.
    for (size_t at = 0; at < plain.size() || final; at += NEncryptedFile::kChunkSize) {
        const size_t length = std::min(NEncryptedFile::kChunkSize, plain.size() - at);
        const bool last = length < NEncryptedFile::kChunkSize;
        const unsigned char tag = last ? crypto_secretstream_xchacha20poly1305_TAG_FINAL
                                       : crypto_secretstream_xchacha20poly1305_TAG_MESSAGE;
        crypto_secretstream_xchacha20poly1305_push(&Stream, Unsigned(batch.Sealed) + sealed, nullptr,
                                                   Unsigned(plain) + at, length, nullptr, 0, tag);
        sealed += length + kTagBytes;
        if (last)
            break;
    }
    sodium_memzero(batch.Plain.Bytes.data(), batch.Plain.Bytes.size());
    batch.Plain.Bytes.clear();
}

void TSealingSink::TState::WaitIdle() {
    std::unique_lock<std::mutex> lock(Lock);
    Changed.wait(lock, [this] { return Job == nullptr; });
}

TSealingSink::TSealingSink(const TDataFileKey& key, TPut put) : FPut(std::move(put)), FState(new TState) {
    StartSodium();
    const TKeyDerivation& parameters = key.Parameters();
    std::string prefix(kMagic, NEncryptedFile::kMagicSize);
    AppendUInt32(prefix, kVersion);
    AppendUInt32(prefix, crypto_pwhash_ALG_ARGON2ID13);
    AppendUInt32(prefix, parameters.Passes);
    AppendUInt32(prefix, parameters.MemoryKiB);
    prefix += parameters.Salt;
    prefix.resize(kPrefixSize);
    crypto_secretstream_xchacha20poly1305_init_push(&FState->Stream, Unsigned(prefix) + kStreamHeaderOffset,
                                                    key.Bytes());
    // The key check carries the header as additional data, so a changed header fails it too.
    crypto_secretstream_xchacha20poly1305_push(&FState->Stream, Unsigned(prefix) + kFixedHeaderSize, nullptr,
                                               Unsigned(std::string_view(kKeyCheck)), kKeyCheckSize,
                                               Unsigned(prefix), kFixedHeaderSize, 0);
    const std::string checksum = Checksum(std::string_view(prefix).substr(0, kChecksumOffset));
    prefix.replace(kChecksumOffset, kChecksumSize, checksum);
    FPut(prefix);
    for (TState::TBatch& batch : FState->Batches)
        batch.Plain.Bytes.reserve(kBatchSize);
    FState->Worker = std::thread([state = FState.get()] { state->Work(); });
}

TSealingSink::~TSealingSink() {
    {
        const std::lock_guard<std::mutex> lock(FState->Lock);
        FState->Stop = true;
    }
    FState->Changed.notify_all();
    FState->Worker.join();
    sodium_memzero(&FState->Stream, sizeof FState->Stream);
}

void TSealingSink::Write(std::string_view plain) {
    while (!plain.empty()) {
        std::string& batch = FState->Batches[FState->Filling].Plain.Bytes;
        const size_t taken = std::min(plain.size(), kBatchSize - batch.size());
        batch.append(plain.data(), taken);
        plain.remove_prefix(taken);
        if (batch.size() == kBatchSize)
            HandOver(false);
    }
}

void TSealingSink::Finish() {
    HandOver(true);
    FState->WaitIdle();
    TState::TBatch& last = FState->Batches[1 - FState->Filling];
    FPut(last.Sealed);
    last.Sealed.clear();
}

void TSealingSink::HandOver(bool final) {
    FState->WaitIdle();
    // The batch sealed before this one goes out first; the worker is idle, so a write that fails
    // leaves nothing running.
    TState::TBatch& sealedBefore = FState->Batches[1 - FState->Filling];
    if (!sealedBefore.Sealed.empty()) {
        FPut(sealedBefore.Sealed);
        sealedBefore.Sealed.clear();
    }
    {
        const std::lock_guard<std::mutex> lock(FState->Lock);
        FState->Job = &FState->Batches[FState->Filling];
        FState->JobIsFinal = final;
    }
    FState->Changed.notify_all();
    FState->Filling = 1 - FState->Filling;
}

std::string SealDataFile(std::string_view plainBytes, const TDataFileKey& key) {
    std::string sealed;
    sealed.reserve(kPrefixSize + plainBytes.size() +
                   (plainBytes.size() / NEncryptedFile::kChunkSize + 1) * kTagBytes);
    TSealingSink sink(key, [&sealed](std::string_view piece) { sealed.append(piece); });
    sink.Write(plainBytes);
    sink.Finish();
    return sealed;
}

std::string SealDataFile(std::string_view plainBytes, std::string_view passwordUtf8) {
    return SealDataFile(plainBytes, *TDataFileKey::Derive(passwordUtf8));
}

TOpenedDataFile OpenDataFile(std::string_view bytes, std::string_view passwordUtf8) {
    return OpenDataFile(bytes, TDataFileKey::Derive(passwordUtf8, ReadContainerHeader(bytes)));
}

TOpenedDataFile OpenDataFile(std::string_view bytes, std::shared_ptr<const TDataFileKey> key) {
    ReadContainerHeader(bytes);
    TOpenedDataFile opened;
    opened.Key = std::move(key);

    crypto_secretstream_xchacha20poly1305_state stream;
    struct TWipeState {
        crypto_secretstream_xchacha20poly1305_state& State;
        ~TWipeState() { sodium_memzero(&State, sizeof State); }
    } wipeState{stream};
    if (crypto_secretstream_xchacha20poly1305_init_pull(&stream, Unsigned(bytes) + kStreamHeaderOffset,
                                                        opened.Key->Bytes()) != 0)
        throw EDamagedFileError();
    // The checksum matched, so the bytes are as written: a key check that fails means another key.
    unsigned char keyCheck[kKeyCheckSize];
    unsigned char tag = 0;
    if (crypto_secretstream_xchacha20poly1305_pull(
            &stream, keyCheck, nullptr, &tag, Unsigned(bytes) + kFixedHeaderSize, kKeyCheckSize + kTagBytes,
            Unsigned(bytes), kFixedHeaderSize) != 0 ||
        std::memcmp(keyCheck, kKeyCheck, kKeyCheckSize) != 0 || tag != 0)
        throw EPasswordError();

    const std::string_view body = bytes.substr(kPrefixSize);
    const size_t fullChunks = body.size() / kSealedChunkSize;
    const size_t lastSealed = body.size() % kSealedChunkSize;
    if (lastSealed < kTagBytes)
        throw EDamagedFileError();
    // Sized once, so no copy of the plain bytes is left behind by a reallocation.
    std::string& plain = opened.Plain.Bytes;
    plain.reserve(fullChunks * NEncryptedFile::kChunkSize + lastSealed - kTagBytes);
    AdviseHugePages(plain.data(), plain.capacity());
    plain.resize(fullChunks * NEncryptedFile::kChunkSize + lastSealed - kTagBytes);
    for (size_t i = 0; i <= fullChunks; ++i) {
        const bool final = i == fullChunks;
        const size_t sealedSize = final ? lastSealed : kSealedChunkSize;
        if (crypto_secretstream_xchacha20poly1305_pull(
                &stream, Unsigned(plain) + i * NEncryptedFile::kChunkSize, nullptr, &tag,
                Unsigned(body) + i * kSealedChunkSize, sealedSize, nullptr, 0) != 0 ||
            tag != (final ? crypto_secretstream_xchacha20poly1305_TAG_FINAL : 0))
            throw EDamagedFileError();
    }
    return opened;
}
