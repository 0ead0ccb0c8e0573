// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/BlockArena.h"

#include "core/HugePages.h"

#include <sanitizer/asan_interface.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

#include <sys/mman.h>

namespace {

constexpr size_t kPieceSize = kHugePageSize;
// Larger blocks would waste much of a piece's end; they are rare.
constexpr size_t kLargestBlock = 64 << 10;

// The start of every piece. Live counts the piece's blocks not yet released, plus kHeld while an
// arena still cuts blocks from it, so that blocks released meanwhile never bring it to zero.
struct TPieceHeader {
    std::atomic<uint64_t> Live;
};
constexpr uint64_t kHeld = uint64_t(1) << 62;
constexpr size_t kHeaderSize = 64;
std::atomic<size_t> gPiecesInUse{0};
std::atomic<uint64_t> gObjectMemoryReleases{0};
static_assert(sizeof(TPieceHeader) <= kHeaderSize, "the header fits before the first block");

TPieceHeader* HeaderOf(char* block) {
    return reinterpret_cast<TPieceHeader*>(reinterpret_cast<uintptr_t>(block) & ~(uintptr_t(kPieceSize) - 1));
}

// Pieces whose blocks are all gone, a few of them kept for the next file read instead of being
// given back and faulted in again: reading a file again costs no page faults for that much. Never
// destroyed, as records may go at the very end of the program.
struct TKeptPieces {
    static constexpr size_t kMost = 16;
    TKeptPieces() { Pieces.reserve(kMost); }
    std::mutex Mutex;
    std::vector<char*> Pieces;
};
TKeptPieces& KeptPieces() {
    static auto* kept = new TKeptPieces;
    return *kept;
}

// Under the address sanitizer a piece's memory counts as unusable until it is handed out as a
// block, so that reading or writing past a block's end is reported as it is for heap memory.
void PoisonBlocks(char* piece) noexcept {
    ASAN_POISON_MEMORY_REGION(piece + kHeaderSize, kPieceSize - kHeaderSize);
}

void FreePiece(TPieceHeader* header) noexcept {
    header->~TPieceHeader();
    gObjectMemoryReleases.fetch_add(1, std::memory_order_relaxed);
    PoisonBlocks(reinterpret_cast<char*>(header));
    gPiecesInUse.fetch_sub(1, std::memory_order_relaxed);
    TKeptPieces& kept = KeptPieces();
    {
        const std::lock_guard<std::mutex> lock(kept.Mutex);
        if (kept.Pieces.size() < TKeptPieces::kMost) {
            kept.Pieces.push_back(reinterpret_cast<char*>(header));
            return;
        }
    }
    // Memory mapped at this address later must not count as unusable.
    ASAN_UNPOISON_MEMORY_REGION(header, kPieceSize);
    UnmapHugePages(header, kPieceSize);
}

// A piece aligned to its size, so a block finds its piece's header by rounding down.
char* MapFreshPiece() {
    char* piece = MapHugePages(kPieceSize);
    PoisonBlocks(piece);
    return piece;
}

// A kept piece, else a fresh one, to cut blocks from.
char* MapPiece() {
    char* piece = nullptr;
    TKeptPieces& kept = KeptPieces();
    {
        const std::lock_guard<std::mutex> lock(kept.Mutex);
        if (!kept.Pieces.empty()) {
            piece = kept.Pieces.back();
            kept.Pieces.pop_back();
        }
    }
    if (piece == nullptr)
        piece = MapFreshPiece();
    new (piece) TPieceHeader{kHeld};
    gPiecesInUse.fetch_add(1, std::memory_order_relaxed);
    return piece;
}

} // namespace

TBlockArena::~TBlockArena() {
    LeavePiece();
}

char* TBlockArena::Allocate(size_t size) {
    if (size > kLargestBlock)
        return nullptr;
    const size_t requested = size;
    size = (size + 7) & ~size_t(7);
    if (FPiece == nullptr || FUsed + size > kPieceSize) {
        LeavePiece();
        FPiece = MapPiece();
        FUsed = kHeaderSize;
    }
    char* block = FPiece + FUsed;
    ASAN_UNPOISON_MEMORY_REGION(block, requested);
    FUsed += size;
    ++FBlocks;
    return block;
}

void TBlockArena::LeavePiece() noexcept {
    if (FPiece == nullptr)
        return;
    auto* header = reinterpret_cast<TPieceHeader*>(FPiece);
    const uint64_t change = FBlocks - kHeld;
    if (header->Live.fetch_add(change, std::memory_order_acq_rel) + change == 0)
        FreePiece(header);
    FPiece = nullptr;
    FBlocks = 0;
}

void TBlockArena::Release(char* block) noexcept {
    TPieceHeader* header = HeaderOf(block);
    if (header->Live.fetch_sub(1, std::memory_order_acq_rel) == 1)
        FreePiece(header);
}

bool TBlockArena::PrepareSparePiece(size_t bytesNeeded) {
    TKeptPieces& kept = KeptPieces();
    const auto enough = [&] {
        return kept.Pieces.size() >= TKeptPieces::kMost || kept.Pieces.size() * kPieceSize >= bytesNeeded;
    };
    {
        const std::lock_guard<std::mutex> lock(kept.Mutex);
        if (enough())
            return false;
    }
    char* piece = nullptr;
    try {
        piece = MapFreshPiece();
    } catch (const std::bad_alloc&) {
        return false; // the loader meets the shortage when it needs the memory
    }
    // Faulted in without being written to, so the piece's bytes read as a fresh piece's.
    ::madvise(piece, kPieceSize, MADV_POPULATE_WRITE);
    {
        const std::lock_guard<std::mutex> lock(kept.Mutex);
        if (!enough()) {
            kept.Pieces.push_back(piece);
            return true;
        }
    }
    ASAN_UNPOISON_MEMORY_REGION(piece, kPieceSize);
    UnmapHugePages(piece, kPieceSize);
    return false;
}

size_t TBlockArena::PiecesInUse() {
    return gPiecesInUse.load(std::memory_order_relaxed);
}

TBlockPointer NewBlock(size_t size, TBlockArena* arena) {
    if (arena != nullptr)
        if (char* block = arena->Allocate(size))
            return TBlockPointer(block, TBlockRelease{true});
    return TBlockPointer(new char[size], TBlockRelease{false});
}

namespace {
// The word before an object from AllocateObject: where its memory came from.
enum : uint64_t { kFromHeap = 0, kFromArena = 1 };
constexpr size_t kTagSize = 8;
} // namespace

void* AllocateObject(size_t size, TBlockArena* arena) {
    char* memory = arena != nullptr ? arena->Allocate(kTagSize + size) : nullptr;
    const uint64_t tag = memory != nullptr ? kFromArena : kFromHeap;
    if (memory == nullptr)
        memory = static_cast<char*>(::operator new(kTagSize + size));
    std::memcpy(memory, &tag, kTagSize);
    return memory + kTagSize;
}

void ReleaseObject(void* object) noexcept {
    if (object == nullptr)
        return;
    char* memory = static_cast<char*>(object) - kTagSize;
    uint64_t tag;
    std::memcpy(&tag, memory, kTagSize);
    if (tag == kFromArena) {
        TBlockArena::Release(memory);
    } else {
        gObjectMemoryReleases.fetch_add(1, std::memory_order_relaxed);
        ::operator delete(memory);
    }
}

uint64_t ObjectMemoryReleases() {
    return gObjectMemoryReleases.load(std::memory_order_relaxed);
}
