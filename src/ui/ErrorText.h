// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <exception>

// The text the window shows for a failure: a data store error's template translated and filled
// with its texts (what() stays English for quillery-cli and the logs), anything else as it says.
QString ErrorText(const std::exception& error);
