// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>

class TDataFile;

// The whole data file as JSON, every stored string decoded as the program displays it; an icon is
// described by its size and the byte count of its bitmap image.
QJsonObject DataFileToJson(const TDataFile& dataFile);
