// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Commands.h"
#include "cli/HandOver.h"
#include "cli/Program.h"

int main(int argc, char** argv) {
    return RunCliProgram(argc, argv, [](const TCliOptions& options, char** arguments) {
        // Handed over before any file or password is read, so that the other program reads them.
        if (RunsInExchangeProgram(options.Command))
            return HandOverToExchangeProgram(arguments);
        return RunKeptCommands<TCliCommands>(options);
    });
}
