// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Options.h"
#include "cli/Session.h"

#include <iosfwd>

// Runs one command of quillery-cli that needs the data store alone (info, check, resave, list), on
// a command line that TCliOptions::Parse has checked. Failures of the data store propagate as its
// exceptions.
class TCliCommands {
public:
    TCliCommands(const TCliOptions& options, std::ostream& out);

    // The exit status.
    int Run();

private:
    int Info();
    int Check();
    int Resave();
    int List();

    const TCliOptions& FOptions;
    std::ostream& FOut;
    TCliSession FSession;
};
