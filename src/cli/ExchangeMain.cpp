// SPDX-License-Identifier: GPL-3.0-or-later
// quillery-cli-exchange: the commands of quillery-cli that need Qt, started by quillery-cli in its
// own place with the same arguments. Run by itself, it behaves as quillery-cli.
#include "cli/Commands.h"
#include "cli/ExchangeCommands.h"
#include "cli/Program.h"

int main(int argc, char** argv) {
    return RunCliProgram(argc, argv, [](const TCliOptions& options, char**) {
        if (RunsInExchangeProgram(options.Command))
            return RunKeptCommands<TCliExchangeCommands>(options);
        return RunKeptCommands<TCliCommands>(options);
    });
}
