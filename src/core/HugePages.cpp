// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/HugePages.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <vector>

#include <sys/mman.h>

namespace {
size_t Rounded(size_t bytes) {
    return (bytes + kHugePageSize - 1) & ~(kHugePageSize - 1);
}

// Large buffers given back are kept for the next ones of the same size, up to this much in all,
// enough for the sort of a million rows: where every fresh page costs a fault and its zeroing, a
// sort that reuses the last one's buffers spends its time sorting.
constexpr size_t kKeptBytes = size_t(128) << 20;

struct TKeptMapping {
    char* Memory;
    size_t Bytes;
};

struct TKeptMappings {
    std::mutex Mutex;
    std::vector<TKeptMapping> Mappings;
    size_t Bytes = 0;
};

TKeptMappings& Kept() {
    static TKeptMappings* kept = new TKeptMappings; // never destroyed: buffers may outlive statics
    return *kept;
}

// A kept mapping of exactly bytes, taken out of the keeping; nullptr when there is none.
char* TakeKept(size_t bytes) {
    TKeptMappings& kept = Kept();
    const std::lock_guard<std::mutex> lock(kept.Mutex);
    const auto found = std::find_if(kept.Mappings.begin(), kept.Mappings.end(),
                                    [bytes](const TKeptMapping& mapping) { return mapping.Bytes == bytes; });
    if (found == kept.Mappings.end())
        return nullptr;
    char* memory = found->Memory;
    kept.Bytes -= bytes;
    kept.Mappings.erase(found);
    return memory;
}
} // namespace

char* MapHugePages(size_t bytes) {
    bytes = Rounded(bytes);
    // Mapped one huge page larger, so that an aligned stretch can be kept and the ends given back.
    void* mapped =
        ::mmap(nullptr, bytes + kHugePageSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    const auto begin = reinterpret_cast<uintptr_t>(mapped);
    const uintptr_t aligned = (begin + kHugePageSize - 1) & ~(uintptr_t(kHugePageSize) - 1);
    if (aligned != begin)
        ::munmap(mapped, aligned - begin);
    ::munmap(reinterpret_cast<void*>(aligned + bytes), begin + kHugePageSize - aligned);
    auto* memory = reinterpret_cast<char*>(aligned);
    // Advice only: without huge pages the memory works the same, with more page faults.
    ::madvise(memory, bytes, MADV_HUGEPAGE);
    return memory;
}

void UnmapHugePages(void* memory, size_t bytes) noexcept {
    ::munmap(memory, Rounded(bytes));
}

char* BorrowHugePages(size_t bytes) {
    if (char* kept = TakeKept(Rounded(bytes)))
        return kept;
    return MapHugePages(bytes);
}

void ReturnHugePages(void* memory, size_t bytes) noexcept {
    bytes = Rounded(bytes);
    TKeptMappings& kept = Kept();
    const std::lock_guard<std::mutex> lock(kept.Mutex);
    try {
        kept.Mappings.push_back({static_cast<char*>(memory), bytes});
    } catch (const std::bad_alloc&) {
        ::munmap(memory, bytes);
        return;
    }
    kept.Bytes += bytes;
    // The oldest go first: the sizes of the latest work are the likeliest to come again.
    size_t oldest = 0;
    for (; kept.Bytes > kKeptBytes; ++oldest) {
        ::munmap(kept.Mappings[oldest].Memory, kept.Mappings[oldest].Bytes);
        kept.Bytes -= kept.Mappings[oldest].Bytes;
    }
    kept.Mappings.erase(kept.Mappings.begin(), kept.Mappings.begin() + static_cast<std::ptrdiff_t>(oldest));
}

void AdviseHugePages(void* memory, size_t bytes) noexcept {
    const auto begin = reinterpret_cast<uintptr_t>(memory);
    const uintptr_t first = (begin + kHugePageSize - 1) & ~(uintptr_t(kHugePageSize) - 1);
    const uintptr_t last = (begin + bytes) & ~(uintptr_t(kHugePageSize) - 1);
    if (first < last)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}
