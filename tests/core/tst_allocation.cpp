// SPDX-License-Identifier: GPL-3.0-or-later
// Replaces the global operator new of the executables that feed hostile input to the store, so a
// test can see whether a count or a length from a file was allocated before it was checked.

#include "core/DataBytes.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<bool> gWatching{false};
std::atomic<size_t> gLargest{0};

void* Allocate(size_t size) {
    if (gWatching.load(std::memory_order_relaxed)) {
        size_t seen = gLargest.load(std::memory_order_relaxed);
        while (size > seen && !gLargest.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {
        }
    }
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new(size_t size) {
    return Allocate(size);
}
void* operator new[](size_t size) {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, size_t) noexcept {
    std::free(p);
}

size_t LargestAllocationDuring(const std::function<void()>& fn) {
    gLargest = 0;
    gWatching = true;
    try {
        fn();
    } catch (...) {
        gWatching = false;
        throw;
    }
    gWatching = false;
    return gLargest;
}
