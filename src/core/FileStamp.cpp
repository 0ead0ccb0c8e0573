// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FileStamp.h"

#include "core/Error.h"
#include "core/InputFile.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <new>

#include <xxhash.h>

namespace {

// Timestamps this close to the moment of a stamp may not change with the next write.
constexpr int64_t kTimeGranularityNs = 2'000'000'000;

int64_t Nanoseconds(const timespec& time) {
    return static_cast<int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

// The digest of the file's first limit bytes.
uint64_t DigestOfFile(TInputFile& file, uint64_t limit) {
    TContentDigest digest;
    std::string chunk;
    do {
        chunk.clear();
        file.Read(chunk, static_cast<size_t>(std::min<uint64_t>(limit, 1 << 20)));
        digest.Add(chunk);
        limit -= chunk.size();
    } while (!chunk.empty());
    return digest.Value();
}

bool SameMetadata(const struct stat& info, const TFileStamp& stamp) {
    return static_cast<uint64_t>(info.st_dev) == stamp.Device &&
           static_cast<uint64_t>(info.st_ino) == stamp.Inode &&
           Nanoseconds(info.st_mtim) == stamp.ModifiedNs && Nanoseconds(info.st_ctim) == stamp.ChangedNs;
}

} // namespace

void TContentDigest::TFreeState::operator()(XXH64_state_s* state) const {
    XXH64_freeState(state);
}

TContentDigest::TContentDigest() : FState(XXH64_createState()) {
    if (!FState)
        throw std::bad_alloc();
    XXH64_reset(FState.get(), 0);
}

void TContentDigest::Add(std::string_view bytes) {
    XXH64_update(FState.get(), bytes.data(), bytes.size());
}

uint64_t TContentDigest::Value() const {
    return XXH64_digest(FState.get());
}

TFileStamp MakeFileStamp(const struct stat& info, uint64_t digest) {
    return MakeFileStamp(info, digest, static_cast<uint64_t>(info.st_size));
}

TFileStamp MakeFileStamp(const struct stat& info, uint64_t digest, uint64_t digestedSize) {
    TFileStamp stamp;
    stamp.DigestedSize = digestedSize;
    stamp.Exists = true;
    stamp.Size = static_cast<uint64_t>(info.st_size);
    stamp.Device = static_cast<uint64_t>(info.st_dev);
    stamp.Inode = static_cast<uint64_t>(info.st_ino);
    stamp.ModifiedNs = Nanoseconds(info.st_mtim);
    stamp.ChangedNs = Nanoseconds(info.st_ctim);
    stamp.Digest = digest;
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    stamp.Settled = Nanoseconds(now) - std::max(stamp.ModifiedNs, stamp.ChangedNs) > kTimeGranularityNs;
    return stamp;
}

TFileStamp StampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 && errno == ENOENT)
        return TFileStamp();
    TInputFile file(path);
    const uint64_t digest = DigestOfFile(file, UINT64_MAX);
    return MakeFileStamp(file.Info(), digest);
}

bool ChangedSince(const std::string& path, const TFileStamp& stamp) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errno != ENOENT || stamp.Exists;
    if (!stamp.Exists || !S_ISREG(info.st_mode) || static_cast<uint64_t>(info.st_size) != stamp.Size)
        return true;
    if (stamp.Settled && SameMetadata(info, stamp))
        return false;
    try {
        TInputFile file(path);
        return DigestOfFile(file, stamp.DigestedSize) != stamp.Digest;
    } catch (const EQuilleryError&) {
        return true;
    }
}
