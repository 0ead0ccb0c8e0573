// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

// Every failure of the data store is an exception whose text is what the user is shown.
class EQuilleryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file ended before an item was complete, or claimed more than it holds.
class EStreamError : public EQuilleryError {
public:
    using EQuilleryError::EQuilleryError;
};

// A file could not be opened, created or written.
class EFileError : public EQuilleryError {
public:
    using EQuilleryError::EQuilleryError;
};

// A failed internal check: "message (unit, line N)".
class EAssertionFailed : public EQuilleryError {
public:
    EAssertionFailed(const std::string& message, const char* unit, int line);
};

extern const char* const kStreamReadError;  // "Stream read error"
extern const char* const kStreamWriteError; // "Stream write error"
extern const char* const kAssertionFailure; // "Assertion failure"

[[noreturn]] void ThrowStreamReadError();
[[noreturn]] void ThrowAssertion(const std::string& message, const char* unit, int line);
