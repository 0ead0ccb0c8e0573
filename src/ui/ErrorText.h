// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <exception>
#include <string>
#include <vector>

// The text the window shows for a failure: a data store error's template translated and filled
// with its texts (what() stays English for quillery-cli and the logs), anything else as it says.
QString ErrorText(const std::exception& error);
// A data store template, translated, filled with its texts.
QString MessageText(const char* messageTemplate, const std::vector<std::string>& arguments);
