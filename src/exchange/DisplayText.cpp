// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/DisplayText.h"

#include "core/TextCodec.h"

QString DisplayText(std::string_view bytes) {
    if (bytes.empty())
        return QString();
    // Valid UTF-8, the usual case, is taken as it is, without a decoded copy.
    if (IsValidUtf8(bytes))
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    const std::string text = DecodeForDisplay(bytes);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string StoredText(const QString& text) {
    return text.toStdString();
}
