// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include <sys/stat.h>

struct XXH64_state_s;

// A fast 64-bit digest of a file's bytes (libxxhash's XXH64), fed piece by piece. It tells whether
// two contents differ, not who made them: it is kept in memory only, never stored.
class TContentDigest {
public:
    TContentDigest();
    void Add(std::string_view bytes);
    uint64_t Value() const;

private:
    struct TFreeState {
        void operator()(XXH64_state_s* state) const;
    };
    std::unique_ptr<XXH64_state_s, TFreeState> FState;
};

// What a data file was when it was read or last written, so that a later write can tell whether
// another program has changed it since.
struct TFileStamp {
    bool Exists = false;
    uint64_t Size = 0;
    uint64_t Device = 0;
    uint64_t Inode = 0;
    int64_t ModifiedNs = 0;    // modification time, nanoseconds since the epoch
    int64_t ChangedNs = 0;     // status change time: no program can set it back
    uint64_t Digest = 0;       // TContentDigest of the first DigestedSize bytes
    uint64_t DigestedSize = 0; // all of them, but for a file read only as far as its format goes
    // The times were old enough when the stamp was taken that any later write gives the file
    // newer ones; file systems keep times only to a tick (two seconds on some), so a write soon
    // after the stamp may leave them as they were.
    bool Settled = false;
};

// The stamp of a file whose metadata is info and whose bytes have digest; of its first
// digestedSize bytes in the second form.
TFileStamp MakeFileStamp(const struct stat& info, uint64_t digest);
TFileStamp MakeFileStamp(const struct stat& info, uint64_t digest, uint64_t digestedSize);

// The stamp of the file at path as it is now; Exists is false when there is none. Reading it fails
// as TInputFile does.
TFileStamp StampOf(const std::string& path);

// Whether the file at path now holds other bytes than when stamp was taken, or has appeared or
// gone. Size, identity and times decide when they can; the bytes are read and their digest
// compared only when those agree but cannot be trusted, or differ while the size is the same (a
// copy put in its place, a touch). A file that cannot be examined counts as changed.
bool ChangedSince(const std::string& path, const TFileStamp& stamp);
