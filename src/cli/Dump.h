#pragma once

#include <QJsonObject>

class TLedgrin;

// The whole data file as JSON, every stored string decoded as the program displays it; an icon is
// described by its size and the byte count of its bitmap image.
QJsonObject LedgrinToJson(const TLedgrin& ledgrin);
