// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchCommon.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

std::string CountLabel(size_t count) {
    if (count >= 1000000 && count % 1000000 == 0)
        return std::to_string(count / 1000000) + "M";
    if (count >= 1000 && count % 1000 == 0)
        return std::to_string(count / 1000) + "k";
    return std::to_string(count);
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const size_t mid = times.size() / 2;
    return times.size() % 2 ? times[mid] : (times[mid - 1] + times[mid]) / 2;
}

namespace {
double TimeMs(const std::function<void()>& work, const std::function<void()>& prepare) {
    if (prepare)
        prepare();
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto stop = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(stop - start).count();
}
} // namespace

double MedianMs(int repeat, const std::function<void()>& work, const std::function<void()>& prepare) {
    TimeMs(work, prepare);
    std::vector<double> times;
    for (int i = 0; i < repeat; ++i)
        times.push_back(TimeMs(work, prepare));
    return Median(std::move(times));
}

std::pair<double, double> MedianMsInTurn(int repeat, const std::function<void()>& first,
                                         const std::function<void()>& second,
                                         const std::function<void()>& prepareSecond) {
    TimeMs(first, {});
    TimeMs(second, prepareSecond);
    std::vector<double> firstTimes;
    std::vector<double> secondTimes;
    for (int i = 0; i < repeat; ++i) {
        firstTimes.push_back(TimeMs(first, {}));
        secondTimes.push_back(TimeMs(second, prepareSecond));
    }
    return {Median(std::move(firstTimes)), Median(std::move(secondTimes))};
}

void PrintCompared(const char* operation, double oursMs, double sqliteMs) {
    std::printf("%s: quillery %.1f ms, sqlite %.1f ms, %.1fx\n", operation, oursMs, sqliteMs,
                sqliteMs / oursMs);
    std::fflush(stdout);
}

void PrintOurs(const char* operation, double oursMs) {
    std::printf("%s: quillery %.1f ms\n", operation, oursMs);
    std::fflush(stdout);
}

void PrintMemcpyShare(const TBenchRun& run, const char* operation, double oursMs) {
    std::printf("%s: %.0f%% of memcpy speed (memcpy %.1f ms)\n", operation, 100 * run.MemcpyMs / oursMs,
                run.MemcpyMs);
    std::fflush(stdout);
}

void PrintMemory(const TBenchRun& run, const char* what, uint64_t peakBytes) {
    constexpr double kMiB = 1024.0 * 1024.0;
    std::printf("%s%s: peak %.1f MiB, file %.1f MiB, %.2fx\n", what, run.LineSuffix.c_str(),
                static_cast<double>(peakBytes) / kMiB, static_cast<double>(run.FileBytes) / kMiB,
                static_cast<double>(peakBytes) / static_cast<double>(run.FileBytes));
    std::fflush(stdout);
}

void ReportError(TBenchRun& run, const std::string& message) {
    std::printf("error: %s\n", message.c_str());
    std::fflush(stdout);
    run.Failed = true;
}

uint64_t ChildPeakBytes(const char* option, const std::string& path) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        throw std::runtime_error("memory: no pipe");
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("memory: cannot fork");
    if (child == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        ::execl("/proc/self/exe", "quillery-bench", option, path.c_str(), nullptr);
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    std::string answer;
    char buffer[64];
    for (ssize_t got; (got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, static_cast<size_t>(got));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || answer.empty())
        throw std::runtime_error("memory: the measuring process failed");
    return std::stoull(answer) * 1024;
}

int PrintPeakKiB() {
    std::printf("%lld\n", StatusKiB("VmHWM:"));
    return 0;
}

long long StatusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0)
            return std::atoll(line.c_str() + std::strlen(field));
    throw std::runtime_error(std::string("no ") + field + " in /proc/self/status");
}
