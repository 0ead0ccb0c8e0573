// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Error.h"

#include <utility>

const char* const kStreamReadError = QT_TRANSLATE_NOOP("Quillery", "Stream read error");
const char* const kStreamWriteError = QT_TRANSLATE_NOOP("Quillery", "Stream write error");
const char* const kAssertionFailure = QT_TRANSLATE_NOOP("Quillery", "Assertion failure");
const char* const kVersionIncompatible = QT_TRANSLATE_NOOP("Quillery", "Data file version incompatible.");
const char* const kCannotOpenFile = QT_TRANSLATE_NOOP("Quillery", "Cannot open file %1: %2");
const char* const kCannotReadFile = QT_TRANSLATE_NOOP("Quillery", "Cannot read file %1: %2");
const char* const kCannotWriteFile = QT_TRANSLATE_NOOP("Quillery", "Cannot write file %1: %2");
const char* const kCannotCreateFile = QT_TRANSLATE_NOOP("Quillery", "Cannot create file %1: %2");
const char* const kOutOfMemory = QT_TRANSLATE_NOOP("Quillery", "There is not enough memory to do this.");

std::string FillMessage(std::string_view messageTemplate, const std::vector<std::string>& arguments) {
    std::string text;
    text.reserve(messageTemplate.size());
    for (size_t i = 0; i < messageTemplate.size(); ++i) {
        const char c = messageTemplate[i];
        if (c == '%' && i + 1 < messageTemplate.size()) {
            const char digit = messageTemplate[i + 1];
            const size_t number = static_cast<size_t>(digit - '0');
            if (digit >= '1' && digit <= '9' && number <= arguments.size()) {
                text += arguments[number - 1];
                ++i;
                continue;
            }
        }
        text += c;
    }
    return text;
}

// The base is made before the members: the arguments are read before they are moved.
EQuilleryError::EQuilleryError(const char* messageTemplate, std::vector<std::string> arguments)
    : std::runtime_error(FillMessage(messageTemplate, arguments)), FTemplate(messageTemplate),
      FArguments(std::move(arguments)) {}

EQuilleryError::EQuilleryError(const std::string& text) : std::runtime_error(text) {}

EQuilleryError::EQuilleryError(const std::string& text, const char* messageTemplate)
    : std::runtime_error(text), FTemplate(messageTemplate) {}

namespace {

std::string PlaceOf(const char* unit, int line) {
    return std::string(" (") + unit + ", line " + std::to_string(line) + ")";
}

} // namespace

EAssertionFailed::EAssertionFailed(const char* messageTemplate, const char* unit, int line)
    : EQuilleryError(messageTemplate + PlaceOf(unit, line), messageTemplate), FPlace(PlaceOf(unit, line)) {}

void ThrowStreamReadError() {
    throw EStreamError(kStreamReadError);
}

void ThrowAssertion(const char* messageTemplate, const char* unit, int line) {
    throw EAssertionFailed(messageTemplate, unit, line);
}
