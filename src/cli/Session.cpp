// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Session.h"

#include "cli/Password.h"

#include "core/DataFile.h"
#include "core/EncryptedFile.h"
#include "core/Error.h"
#include "core/Password.h"
#include "core/TextCodec.h"

#include <algorithm>
#include <iostream>

namespace {

bool IsDecimal(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The category with this name (as stored or as displayed), or else with this id.
const TCategory* FindCategory(const TDataFile& dataFile, const std::string& nameOrID) {
    for (const auto& category : dataFile.Categories)
        if (category->Name == nameOrID || DecodeForDisplay(category->Name) == nameOrID)
            return category.get();
    if (!IsDecimal(nameOrID) || nameOrID.size() > 10)
        return nullptr;
    const long long id = std::stoll(nameOrID);
    for (const auto& category : dataFile.Categories)
        if (category->ID == id)
            return category.get();
    return nullptr;
}

} // namespace

TCliSession::TCliSession(const TCliOptions& options) : FOptions(options) {}

TCliSession::~TCliSession() = default;

TDataFile& TCliSession::Load(const std::string& path, bool showsRecords) {
    FDataFile = std::make_unique<TDataFile>();
    TDataFile& dataFile = *FDataFile;
    dataFile.LoadFromFile(
        path, [this] { return Password(); },
        [](const TMessage& finished) { std::cerr << "quillery-cli: " << finished.English() << '\n'; });
    if (showsRecords && dataFile.HasPassword() && !PasswordMatches(Password(), dataFile.PasswordDigest))
        throw EPasswordError();
    return dataFile;
}

const std::string& TCliSession::Password() {
    if (!FPassword)
        FPassword = ReadCliPassword(FOptions.PasswordFile);
    return *FPassword;
}

const TCategory& TCliSession::NamedCategory(const TDataFile& dataFile, size_t index) const {
    const TCategory* category = FindCategory(dataFile, FOptions.Arguments[index]);
    if (category == nullptr)
        throw EQuilleryError("Category not found: " + FOptions.Arguments[index]);
    return *category;
}
