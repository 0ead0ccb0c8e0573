#include "core/FileStamp.h"

#include "core/Error.h"
#include "core/InputFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

namespace {

constexpr uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr uint64_t kPrime3 = 0x165667B19E3779F9ULL;
constexpr uint64_t kPrime4 = 0x85EBCA77C2B2AE63ULL;
constexpr uint64_t kPrime5 = 0x27D4EB2F165667C5ULL;

// Timestamps this close to the moment of a stamp may not change with the next write.
constexpr int64_t kTimeGranularityNs = 2'000'000'000;

inline uint64_t RotateLeft(uint64_t x, int bits) {
    return (x << bits) | (x >> (64 - bits));
}

inline uint64_t Round(uint64_t lane, uint64_t word) {
    return RotateLeft(lane + word * kPrime2, 31) * kPrime1;
}

inline uint64_t Word64(const unsigned char* p) {
    uint64_t value;
    std::memcpy(&value, p, 8);
    return value;
}

int64_t Nanoseconds(const timespec& time) {
    return static_cast<int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

uint64_t DigestOfFile(TInputFile& file) {
    TContentDigest digest;
    std::string chunk;
    do {
        chunk.clear();
        file.Read(chunk, 1 << 20);
        digest.Add(chunk);
    } while (!chunk.empty());
    return digest.Value();
}

bool SameMetadata(const struct stat& info, const TFileStamp& stamp) {
    return static_cast<uint64_t>(info.st_dev) == stamp.Device &&
           static_cast<uint64_t>(info.st_ino) == stamp.Inode &&
           Nanoseconds(info.st_mtim) == stamp.ModifiedNs && Nanoseconds(info.st_ctim) == stamp.ChangedNs;
}

} // namespace

TContentDigest::TContentDigest() : FLanes{kPrime1 + kPrime2, kPrime2, 0, 0 - kPrime1}, FPending{} {}

void TContentDigest::AddBlock(const unsigned char* block) {
    for (int i = 0; i < 4; ++i)
        FLanes[i] = Round(FLanes[i], Word64(block + 8 * i));
}

void TContentDigest::Add(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t n = bytes.size();
    FTotal += n;
    if (FPendingSize > 0) {
        const size_t take = std::min(n, sizeof FPending - FPendingSize);
        std::memcpy(FPending + FPendingSize, p, take);
        FPendingSize += take;
        p += take;
        n -= take;
        if (FPendingSize < sizeof FPending)
            return;
        AddBlock(FPending);
        FPendingSize = 0;
    }
    for (; n >= 32; p += 32, n -= 32)
        AddBlock(p);
    std::memcpy(FPending, p, n);
    FPendingSize = n;
}

uint64_t TContentDigest::Value() const {
    uint64_t h;
    if (FTotal >= 32) {
        h = RotateLeft(FLanes[0], 1) + RotateLeft(FLanes[1], 7) + RotateLeft(FLanes[2], 12) +
            RotateLeft(FLanes[3], 18);
        for (uint64_t lane : FLanes)
            h = (h ^ Round(0, lane)) * kPrime1 + kPrime4;
    } else {
        h = kPrime5;
    }
    h += FTotal;
    const unsigned char* p = FPending;
    size_t n = FPendingSize;
    for (; n >= 8; p += 8, n -= 8)
        h = RotateLeft(h ^ Round(0, Word64(p)), 27) * kPrime1 + kPrime4;
    for (; n > 0; ++p, --n)
        h = RotateLeft(h ^ (*p * kPrime5), 11) * kPrime1;
    h ^= h >> 33;
    h *= kPrime2;
    h ^= h >> 29;
    h *= kPrime3;
    return h ^ (h >> 32);
}

TFileStamp MakeFileStamp(const struct stat& info, uint64_t digest) {
    TFileStamp stamp;
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
    const uint64_t digest = DigestOfFile(file);
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
        return DigestOfFile(file) != stamp.Digest;
    } catch (const EQuilleryError&) {
        return true;
    }
}
