// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <thread>

// A list this long is worked on by both cores: below it, starting a thread costs more than it saves.
constexpr size_t kTwoCoreItems = 65536;

// Where the second core's part of count items starts: count itself when one core does all.
inline size_t SecondPartStart(size_t count) {
    return count >= kTwoCoreItems ? count / 2 : count;
}

// Runs work(0, split) here and work(split, count) on another core, when split < count.
template <class TWork> void InTwoParts(size_t split, size_t count, const TWork& work) {
    std::thread second;
    if (split < count)
        second = std::thread([&] { work(split, count); });
    struct TJoin {
        std::thread& Thread;
        ~TJoin() {
            if (Thread.joinable())
                Thread.join();
        }
    } join{second};
    work(size_t{0}, split);
}
