// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/HugePages.h"

#include <cstdint>

#include <sys/mman.h>

namespace {
size_t Rounded(size_t bytes) {
    return (bytes + kHugePageSize - 1) & ~(kHugePageSize - 1);
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

void AdviseHugePages(void* memory, size_t bytes) noexcept {
    const auto begin = reinterpret_cast<uintptr_t>(memory);
    const uintptr_t first = (begin + kHugePageSize - 1) & ~(uintptr_t(kHugePageSize) - 1);
    const uintptr_t last = (begin + bytes) & ~(uintptr_t(kHugePageSize) - 1);
    if (first < last)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}
