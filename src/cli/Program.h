// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Options.h"

#include <iostream>
#include <optional>

// Runs the command on a checked command line and gives the exit status.
using TCliCommandRunner = int (*)(const TCliOptions& options, char** argv);

// The main() of quillery-cli and of quillery-cli-exchange: parses the command line, answers --help
// and --version, has runCommand run the rest, and turns failures into the tool's messages and exit
// statuses (2 for a usage error, 1 for any other).
int RunCliProgram(int argc, char** argv, TCliCommandRunner runCommand);

// Runs a command with commands of type TCommands, which live until the process ends: RunCliProgram
// ends it without taking apart the file they loaded.
template <class TCommands> int RunKeptCommands(const TCliOptions& options) {
    static std::optional<TCommands> commands;
    commands.emplace(options, std::cout);
    return commands->Run();
}
