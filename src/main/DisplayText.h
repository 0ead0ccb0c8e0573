#pragma once

#include <QString>

#include <string_view>

// The text a window shows for stored bytes (UTF-8, or Windows-1252 for older files).
QString DisplayText(std::string_view bytes);
