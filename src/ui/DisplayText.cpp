#include "ui/DisplayText.h"

#include "core/TextCodec.h"

QString DisplayText(std::string_view bytes) {
    if (bytes.empty()) {
        return QString();
    }
    const std::string text = DecodeForDisplay(bytes);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string StoredText(const QString& text) {
    return text.toStdString();
}
