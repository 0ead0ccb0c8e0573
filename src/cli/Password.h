// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The password the user gives for a protected file: the first line of passwordFile, or, when that
// is empty, typed on the terminal without echo (a line of standard input when it is no terminal).
// passwordFile must be a regular file, opened as TInputFile opens it ("Cannot open file %s: it is
// not a regular file."). Only the first line is read, up to the longest password the program can
// set: a longer one fails with "Password error.".
std::string ReadCliPassword(const std::string& passwordFile, const char* prompt = "Password: ");

// A new password: the first line of passwordFile, a line of standard input when it is no
// terminal, or typed twice on the terminal ("The passwords do not match." when they differ).
// "The password cannot be empty." for an empty one.
std::string ReadNewCliPassword(const std::string& passwordFile);
