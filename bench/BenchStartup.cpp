// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchStartup.h"

#include "BenchWindow.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// The folder of this program, where the build puts the other programs too.
std::string ProgramFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

// Starts command (its program looked up in PATH when the name has no "/"), its standard output
// going to outFd, or to /dev/null when outFd is -1.
pid_t Spawn(const std::vector<std::string>& command, int outFd) {
    std::vector<char*> argv;
    for (const std::string& argument : command)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outFd < 0)
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    else
        posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
    std::fflush(stdout);
    pid_t child = 0;
    const int error = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        throw std::runtime_error("cannot start " + command[0]);
    return child;
}

// Waits for child to end; whether it exited with status 0. What the system accounted for it goes
// to usage when given.
bool ExitedCleanly(pid_t child, struct rusage* usage = nullptr) {
    int status = 0;
    if (::wait4(child, &status, 0, usage) != child)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

void BenchFreshLoad(TBenchRun& run) {
    const std::vector<std::string> quillery{ProgramFolder() + "/quillery-cli", "info", run.DataPath};
    const std::vector<std::string> cat{"cat", run.DataPath};
    std::string failed;
    const auto runOnce = [&](const std::vector<std::string>& command) {
        if (!ExitedCleanly(Spawn(command, -1)) && failed.empty())
            failed = command[0];
    };
    // One unmeasured run of each first: it brings the file into the page cache, so that both read
    // it from memory, and each program's own files with it.
    runOnce(quillery);
    runOnce(cat);
    const auto [quilleryMs, catMs] = MedianMsInTurn(
        run.Options.Repeat, [&] { runOnce(quillery); }, [&] { runOnce(cat); });
    // Unlike the other lines, ours over the yardstick's: cat is the floor, so below 4 is the aim.
    std::printf("fresh load%s: quillery %.1f ms, cat %.1f ms, %.2fx\n", run.LineSuffix.c_str(), quilleryMs,
                catMs, quilleryMs / catMs);
    std::fflush(stdout);
    if (!failed.empty())
        ReportError(run, "fresh load: " + failed + " did not exit with status 0 on " + run.DataPath);
}

const char* const kCliPeakOption = "--cli-peak-rss";

int PrintCliPeak(const char* path) {
    struct rusage usage {};
    if (!ExitedCleanly(Spawn({ProgramFolder() + "/quillery-cli", "info", path}, -1), &usage))
        return 1;
    std::printf("%ld\n", usage.ru_maxrss);
    return 0;
}

void BenchMemory(TBenchRun& run) {
    PrintMemory(run, "memory", ChildPeakBytes(kCliPeakOption, run.DataPath));
}

void BenchWindowReady(TBenchRun& run) {
    const std::vector<std::string> command{ProgramFolder() + "/quillery-bench", kWindowReadyOption,
                                           run.DataPath};
    // Each start reads the whole large file and takes seconds: three runs at most.
    const int repeat = std::min(run.Options.Repeat, 3);
    std::vector<double> times;
    uint64_t peakBytes = 0;
    for (int i = 0; i < repeat; ++i) {
        int pipeFds[2];
        if (::pipe2(pipeFds, O_CLOEXEC) != 0)
            throw std::runtime_error("no pipe");
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = Spawn(command, pipeFds[1]);
        ::close(pipeFds[1]);
        // The child prints its line once the window is ready; closing the window after it is not timed.
        std::string answer;
        double readyMs = 0;
        char buffer[64];
        for (ssize_t got; (got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
            answer.append(buffer, static_cast<size_t>(got));
            if (readyMs == 0 && answer.find('\n') != std::string::npos)
                readyMs = MsSince(start);
        }
        if (readyMs == 0)
            readyMs = MsSince(start);
        ::close(pipeFds[0]);
        if (!ExitedCleanly(child)) {
            ReportError(run, "window ready: the program did not exit with status 0");
            return;
        }
        // The child's line: the rows in its list, then its peak resident size in KiB.
        const std::string expected = std::to_string(run.Options.Records) + " ";
        if (answer.rfind(expected, 0) != 0) {
            ReportError(run, "window ready: the list held " + answer.substr(0, answer.find(' ')) +
                                 " rows of " + std::to_string(run.Options.Records));
            return;
        }
        peakBytes = std::max<uint64_t>(peakBytes, std::stoull(answer.substr(expected.size())) * 1024);
        times.push_back(readyMs);
    }
    std::printf("window ready%s: quillery %.1f ms (median of %d runs)\n", run.LineSuffix.c_str(),
                Median(times), repeat);
    PrintMemory(run, "window memory", peakBytes);
}
