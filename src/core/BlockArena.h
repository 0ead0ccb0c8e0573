// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// Memory for the blocks of many records made at once, as when a file is read. Blocks are cut one
// after another from pieces of two MiB that the system may back with huge pages, so a million
// records cost a few hundred page faults instead of a hundred thousand, and no allocator header
// each. A piece is free again when the last of its blocks is released, on any thread (a few free
// pieces are kept for the next file, the rest go back to the system); the arena itself may go
// before its blocks.
class TBlockArena {
public:
    TBlockArena() = default;
    ~TBlockArena();
    TBlockArena(const TBlockArena&) = delete;
    TBlockArena& operator=(const TBlockArena&) = delete;

    // A block of size bytes, aligned to eight; nullptr when size is too large for a piece (the
    // caller takes heap memory then). Fails with std::bad_alloc when memory runs out.
    char* Allocate(size_t size);
    // Gives back a block that Allocate returned.
    static void Release(char* block) noexcept;
    // Pieces that hold blocks, in the whole process.
    static size_t PiecesInUse();
    // Maps a piece and faults it in for the next arena to take, unless the pieces ready already
    // hold bytesNeeded or are as many as are kept: spare work for a thread that reads a large file
    // ahead of its loader, taking the system's clearing of fresh memory off the loader's thread.
    // False when no piece was made.
    static bool PrepareSparePiece(size_t bytesNeeded);

private:
    // Hands the current piece over to its blocks alone.
    void LeavePiece() noexcept;

    char* FPiece = nullptr;
    size_t FUsed = 0;
    size_t FBlocks = 0; // made from the current piece and not yet counted in it
};

// A record's block: from an arena or from the heap, and given back to where it came from.
struct TBlockRelease {
    bool FromArena = false;
    void operator()(char* block) const noexcept {
        if (FromArena)
            TBlockArena::Release(block);
        else
            delete[] block;
    }
};
using TBlockPointer = std::unique_ptr<char[], TBlockRelease>;

// A block of size bytes from arena when it has one and there is one to give, else from the heap.
TBlockPointer NewBlock(size_t size, TBlockArena* arena = nullptr);

// Memory for an object of size bytes (aligned to eight) from arena when one is given, else from the
// heap; ReleaseObject gives it back to where it came from, which the memory itself records.
void* AllocateObject(size_t size, TBlockArena* arena);
void ReleaseObject(void* object) noexcept;
// Grows whenever memory that AllocateObject gave may be given out again: an object from the heap
// released, or an arena's piece freed. While it stays the same, no new object can have the
// address of one seen before.
uint64_t ObjectMemoryReleases();
