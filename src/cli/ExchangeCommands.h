// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Options.h"
#include "cli/Session.h"

#include <iosfwd>

// Runs one command of quillery-cli that needs Qt (dump, export, import), on a command line that
// TCliOptions::Parse has checked. Failures propagate as exceptions.
class TCliExchangeCommands {
public:
    TCliExchangeCommands(const TCliOptions& options, std::ostream& out);

    // The exit status.
    int Run();

private:
    int Dump();
    int Export();
    int Import();

    const TCliOptions& FOptions;
    std::ostream& FOut;
    TCliSession FSession;
};
