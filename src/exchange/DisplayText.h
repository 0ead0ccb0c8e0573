// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <string>
#include <string_view>

// Stored strings are bytes: the windows and the workbooks show them as UTF-8 when they are valid
// UTF-8 and as Windows-1252 otherwise, and what the user types or a cell holds is stored as UTF-8.
QString DisplayText(std::string_view bytes);
std::string StoredText(const QString& text);
