// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Error.h"

const char* const kStreamReadError = "Stream read error";
const char* const kStreamWriteError = "Stream write error";
const char* const kAssertionFailure = "Assertion failure";

EAssertionFailed::EAssertionFailed(const std::string& message, const char* unit, int line)
    : EQuilleryError(message + " (" + unit + ", line " + std::to_string(line) + ")") {}

void ThrowStreamReadError() {
    throw EStreamError(kStreamReadError);
}

void ThrowAssertion(const std::string& message, const char* unit, int line) {
    throw EAssertionFailed(message, unit, line);
}
