// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// quillery-cli links no Qt, so that it starts as fast as the system can start a program; the
// commands that need Qt run in quillery-cli-exchange, which it starts in its own place.

// Replaces this process with quillery-cli-exchange given the same arguments, so that standard
// input, output and error, the terminal and the exit status are the command's own. It is looked
// for beside this program, then in the installed libexec folder. Returns only when it cannot be
// started, after saying why on standard error: the exit status, 1.
int HandOverToExchangeProgram(char** argv);
