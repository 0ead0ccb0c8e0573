// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <vector>

// Memory straight from the system, aligned to two MiB and advised to be backed by huge pages:
// filling a large buffer then costs a page fault per two MiB instead of one per four KiB, which
// is most of the time of a first pass over a million items. Fails with std::bad_alloc.
constexpr size_t kHugePageSize = size_t(2) << 20;
char* MapHugePages(size_t bytes);
void UnmapHugePages(void* memory, size_t bytes) noexcept;
// Advises the whole huge pages inside memory that do not hold data yet, for a large heap buffer
// about to be filled (one the allocator has mapped on its own).
void AdviseHugePages(void* memory, size_t bytes) noexcept;
// Makes room in items for count items in all, the room advised as above.
template <class T> void ReserveInHugePages(std::vector<T>& items, size_t count) {
    items.reserve(count);
    AdviseHugePages(items.data(), items.capacity() * sizeof(T));
}

// Working memory for count items of a large pass, not initialised: from MapHugePages when it
// comes to a huge page or more, else from the heap.
template <class T> class TLargeBuffer {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                  "the items are never constructed");

public:
    explicit TLargeBuffer(size_t count) : FCount(count) {
        if (Bytes() >= kHugePageSize)
            FItems = reinterpret_cast<T*>(MapHugePages(Bytes()));
        else
            FItems = static_cast<T*>(::operator new(Bytes() == 0 ? 1 : Bytes()));
    }
    ~TLargeBuffer() {
        if (Bytes() >= kHugePageSize)
            UnmapHugePages(FItems, Bytes());
        else
            ::operator delete(FItems);
    }
    TLargeBuffer(const TLargeBuffer&) = delete;
    TLargeBuffer& operator=(const TLargeBuffer&) = delete;

    T* data() { return FItems; }
    T& operator[](size_t i) { return FItems[i]; }
    T* begin() { return FItems; }
    T* end() { return FItems + FCount; }

private:
    size_t Bytes() const { return FCount * sizeof(T); }

    size_t FCount;
    T* FItems = nullptr;
};
