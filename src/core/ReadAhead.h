// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/FileStamp.h"
#include "core/HugePages.h"
#include "core/Stream.h"

#include <array>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

// A file's bytes for a stream reader, read and digested on another thread a few pieces ahead of
// the loader, so that reading, digesting and loading run side by side. The loader sees the pieces
// themselves; only the bytes it keeps across the end of a piece are copied, into a stitch that
// joins them to the next. At most a few pieces are held however large the file, and nothing is
// read past the size the file had when opened.
class TReadAheadSource : public TStreamSource {
public:
    // Fills up to size bytes at the pointer and returns how many, fewer only at the end of the file;
    // fails with the error of the read.
    using TRead = std::function<size_t(char*, size_t)>;
    // Work for the reading thread while it waits for the loader, given how many bytes the loader
    // has yet to take: does a little and returns true, or returns false when there is none.
    using TSpareWork = std::function<bool(size_t)>;
    // Reads on from first (the bytes already read) up to total bytes in all.
    TReadAheadSource(TRead read, std::string_view first, size_t total, TSpareWork spareWork = nullptr);
    ~TReadAheadSource() override;
    TReadAheadSource(const TReadAheadSource&) = delete;
    TReadAheadSource& operator=(const TReadAheadSource&) = delete;

    TStreamWindow Fill(size_t keep, size_t end) override;
    // The bytes the stream holds: the file's size when opened, or what was read first if more.
    size_t Total() const { return FTotal; }

    // Stops reading ahead. Then: the digest of every byte read, and how many there were; a read
    // ahead may have gone a few pieces past what the loader took.
    void Stop();
    uint64_t Digest() const { return FDigest.Value(); }
    size_t BytesRead() const { return FRead; }

    // The pieces share one huge page: larger pieces mean fewer hand-overs between the threads,
    // and fresh memory of that size costs one page fault instead of hundreds.
    static constexpr size_t kPieceBytes = 1 << 19;

private:
    static constexpr size_t kPieces = 4;

    struct TPiece {
        char* Bytes = nullptr;
        size_t Size = 0;
    };

    void ReadPieces();
    // Waits until a piece is free to read into, doing spare work meanwhile; false when stopping.
    bool WaitForRoom();
    // Waits for the next piece and holds it; false at the end of the file.
    bool TakePiece();
    // Hands the held piece back to the reading thread.
    void ReleasePiece();
    const TPiece& Held() const { return FPieces[FHeldNumber % kPieces]; }
    size_t WindowEnd() const;

    const TRead FReadBytes;
    const TSpareWork FSpareWork;
    const size_t FTotal;
    TLargeBuffer<char> FPieceBytes{kPieces * kPieceBytes};
    std::array<TPiece, kPieces> FPieces;

    // Shared with the reading thread, under FMutex.
    std::mutex FMutex;
    std::condition_variable FChanged;
    size_t FFilled = 0;   // pieces read so far
    size_t FReleased = 0; // pieces the loader is done with
    bool FEnded = false;  // nothing more to read
    bool FStopping = false;
    std::exception_ptr FError;

    // The reading thread's alone until it has stopped.
    TContentDigest FDigest;
    size_t FRead = 0;

    // The loader's side: the piece held (its number and where it starts in the file), whether the
    // window shows it directly, else the stitch and how much of the held piece is in it.
    bool FHolding = false;
    size_t FHeldNumber = 0;
    size_t FHeldStart = 0;
    size_t FNextNumber = 0;
    size_t FNextStart = 0;
    bool FDirect = false;
    std::string FStitch;
    size_t FStitchStart = 0;
    size_t FCopied = 0;

    std::thread FThread;
};
