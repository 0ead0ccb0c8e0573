// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ReadAhead.h"

#include <algorithm>
#include <utility>

namespace {
// A stitch takes this much more than the read that asked for it, so that the items after it in
// the same record need no stitch of their own.
constexpr size_t kStitchSlack = 4096;
} // namespace

TReadAheadSource::TReadAheadSource(TRead read, std::string_view first, size_t total, TSpareWork spareWork)
    : FReadBytes(std::move(read)), FSpareWork(std::move(spareWork)), FTotal(std::max(total, first.size())),
      FStitch(first) {
    for (size_t i = 0; i < kPieces; ++i)
        FPieces[i].Bytes = FPieceBytes.data() + i * kPieceBytes;
    FDigest.Add(first);
    FRead = first.size();
    FNextStart = first.size();
    FThread = std::thread([this] { ReadPieces(); });
}

TReadAheadSource::~TReadAheadSource() {
    Stop();
}

void TReadAheadSource::Stop() {
    {
        const std::lock_guard<std::mutex> lock(FMutex);
        FStopping = true;
    }
    FChanged.notify_all();
    if (FThread.joinable())
        FThread.join();
}

void TReadAheadSource::ReadPieces() {
    for (size_t number = 0;; ++number) {
        if (!WaitForRoom())
            return;
        TPiece& piece = FPieces[number % kPieces];
        bool ended = true;
        std::exception_ptr error;
        try {
            piece.Size = FReadBytes(piece.Bytes, std::min(kPieceBytes, FTotal - FRead));
            FDigest.Add(std::string_view(piece.Bytes, piece.Size));
            FRead += piece.Size;
            ended = piece.Size == 0 || FRead == FTotal;
        } catch (...) {
            error = std::current_exception();
        }
        {
            const std::lock_guard<std::mutex> lock(FMutex);
            if (piece.Size > 0 && !error)
                ++FFilled;
            FEnded = ended;
            FError = error;
        }
        FChanged.notify_all();
        if (ended)
            return;
    }
}

bool TReadAheadSource::WaitForRoom() {
    std::unique_lock<std::mutex> lock(FMutex);
    const auto room = [&] { return FStopping || FFilled - FReleased < kPieces; };
    while (!room() && FSpareWork) {
        const size_t left = FTotal - std::min(FTotal, FReleased * kPieceBytes);
        lock.unlock();
        const bool more = FSpareWork(left);
        lock.lock();
        if (!more)
            break;
    }
    FChanged.wait(lock, room);
    return !FStopping;
}

bool TReadAheadSource::TakePiece() {
    std::unique_lock<std::mutex> lock(FMutex);
    FChanged.wait(lock, [&] { return FFilled > FNextNumber || FEnded; });
    if (FFilled <= FNextNumber) {
        if (FError)
            std::rethrow_exception(FError);
        return false;
    }
    lock.unlock();
    FHolding = true;
    FHeldNumber = FNextNumber++;
    FHeldStart = FNextStart;
    FNextStart += Held().Size;
    FCopied = 0;
    return true;
}

void TReadAheadSource::ReleasePiece() {
    {
        const std::lock_guard<std::mutex> lock(FMutex);
        ++FReleased;
    }
    FChanged.notify_all();
    FHolding = false;
    FDirect = false;
}

size_t TReadAheadSource::WindowEnd() const {
    return FDirect ? FHeldStart + Held().Size : FStitchStart + FStitch.size();
}

TStreamWindow TReadAheadSource::Fill(size_t keep, size_t end) {
    while (end > WindowEnd()) {
        if (FDirect) {
            // The piece shown ends too soon: what is kept of it begins a stitch.
            const size_t from = std::max(keep, FHeldStart) - FHeldStart;
            FStitch.assign(Held().Bytes + from, Held().Size - from);
            FStitchStart = FHeldStart + from;
            FCopied = Held().Size;
            FDirect = false;
        }
        if (FHolding && FCopied == Held().Size)
            ReleasePiece();
        if (!FHolding && !TakePiece())
            break;
        if (keep >= FHeldStart) {
            // Nothing before the held piece is kept: it is shown as it is.
            FStitch.clear();
            FDirect = true;
            continue;
        }
        if (keep > FStitchStart) {
            FStitch.erase(0, keep - FStitchStart);
            FStitchStart = keep;
        }
        const size_t more = std::min(Held().Size - FCopied, end - WindowEnd() + kStitchSlack);
        FStitch.append(Held().Bytes + FCopied, more);
        FCopied += more;
    }
    if (FDirect)
        return {std::string_view(Held().Bytes, Held().Size), FHeldStart};
    return {FStitch, FStitchStart};
}
