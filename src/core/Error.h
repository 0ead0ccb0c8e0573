// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Translatable.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Every failure of the data store is an exception whose text is what the user is shown. Most
// carry an English template with %1, %2… and the texts that fill it: what() is the English
// message, and the window shows the template translated, filled with the same texts.
class EQuilleryError : public std::runtime_error {
public:
    // messageTemplate is marked for translation in the context kMessageContext.
    EQuilleryError(const char* messageTemplate, std::vector<std::string> arguments = {});
    // A message that is final as it stands: no template to translate.
    explicit EQuilleryError(const std::string& text);

    // Empty for a final message.
    const std::string& Template() const noexcept { return FTemplate; }
    const std::vector<std::string>& Arguments() const noexcept { return FArguments; }

protected:
    // A template without arguments whose what() is text, the template with more after it.
    EQuilleryError(const std::string& text, const char* messageTemplate);

private:
    std::string FTemplate;
    std::vector<std::string> FArguments;
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

// A failed internal check: "message (unit, line N)". The message is a template; where the check
// failed stays as it is in every language.
class EAssertionFailed : public EQuilleryError {
public:
    EAssertionFailed(const char* messageTemplate, const char* unit, int line);

    // " (unit, line N)", the end of what().
    const std::string& Place() const noexcept { return FPlace; }

private:
    std::string FPlace;
};

// messageTemplate with each %N (N from 1 to 9) that has an argument replaced by arguments[N - 1],
// in one pass: a % in an argument stays as it is. A %N without an argument stays too.
std::string FillMessage(std::string_view messageTemplate, const std::vector<std::string>& arguments);

// Something the user is told that is not a failure: a template marked in kMessageContext and the
// texts that fill it, so that the window can show it translated.
struct TMessage {
    const char* Template = "";
    std::vector<std::string> Arguments;
    std::string English() const { return FillMessage(Template, Arguments); }
};

extern const char* const kStreamReadError;     // "Stream read error"
extern const char* const kStreamWriteError;    // "Stream write error"
extern const char* const kAssertionFailure;    // "Assertion failure"
extern const char* const kVersionIncompatible; // "Data file version incompatible."
// "Cannot open file %1: %2" and the like: the file's path and the system's reason.
extern const char* const kCannotOpenFile;
extern const char* const kCannotReadFile;
extern const char* const kCannotWriteFile;
extern const char* const kCannotCreateFile;
// What a failure for want of memory says instead of the library's "std::bad_alloc".
extern const char* const kOutOfMemory;

[[noreturn]] void ThrowStreamReadError();
[[noreturn]] void ThrowAssertion(const char* messageTemplate, const char* unit, int line);
