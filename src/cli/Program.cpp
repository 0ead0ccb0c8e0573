// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Program.h"

#include "core/Error.h"
#include "core/FileIO.h"

#include <cstdlib>
#include <exception>
#include <iostream>
#include <new>

int RunCliProgram(int argc, char** argv, TCliCommandRunner runCommand) {
    std::ios::sync_with_stdio(false);
    IgnoreFileSizeSignal();
    try {
        const TCliOptions options = TCliOptions::Parse(std::vector<std::string>(argv + 1, argv + argc));
        if (options.Help) {
            std::cout << CliUsage();
            return 0;
        }
        if (options.Version) {
            std::cout << CliVersion();
            return 0;
        }
        const int status = runCommand(options, argv);
        // The loaded file is not taken apart record by record: ending the process frees it at
        // once, which at a million records is a good part of the command's time.
        std::cout.flush();
        std::_Exit(status);
    } catch (const ECliUsageError& e) {
        std::cerr << "quillery-cli: " << e.what() << ". Try 'quillery-cli --help'.\n";
        return 2;
    } catch (const std::bad_alloc&) {
        std::cout.flush();
        std::cerr << kOutOfMemory << '\n';
        return 1;
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << e.what() << '\n';
        return 1;
    }
}
