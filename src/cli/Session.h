// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Options.h"

#include <memory>
#include <optional>
#include <string>

class TCategory;
class TDataFile;

// The data file one command of quillery-cli works on, and the password given for it.
class TCliSession {
public:
    explicit TCliSession(const TCliOptions& options);
    ~TCliSession();

    // Loads a data file and, when the command shows records and the file has a password, asks for
    // it; a wrong one fails with "Password error.".
    // An encrypted file asks for its password whatever the command.
    TDataFile& Load(const std::string& path, bool showsRecords);
    // The password the user gives, asked for once.
    const std::string& Password();
    // The category the argument at index names (the second by default); "Category not found: %s"
    // otherwise.
    const TCategory& NamedCategory(const TDataFile& dataFile, size_t index = 1) const;

private:
    const TCliOptions& FOptions;
    std::optional<std::string> FPassword;
    std::unique_ptr<TDataFile> FDataFile; // the file loaded, kept until the program ends
};
