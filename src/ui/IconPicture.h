// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Bitmap.h"

#include <QColor>
#include <QPixmap>
#include <QString>

class QImage;

// Category icons are 32 x 32, 24-bit, uncompressed bitmaps. Any picture is scaled into that square
// (keeping its proportions) and its transparent parts are laid onto the category bar's colour.
namespace IconPicture {

constexpr int kIconSize = 32;
// The background of the category bar's default icon; transparent pixels take it.
inline QColor IconBackground() {
    return QColor(0x2F, 0x4F, 0x6F);
}

// The bitmap file image for a picture. A null picture gives an empty image.
TBitmapImage FromImage(const QImage& picture);
// Reads any picture file Qt can read; false when the file is not such a picture.
bool FromFile(const QString& path, TBitmapImage& icon);
// The icon as shown on screen; a null pixmap for an empty or unreadable image.
QPixmap ToPixmap(const TBitmapImage& icon);
// The icon as the category bar shows it: the default icon when it cannot be read, 32 x 32.
QPixmap ToBarPixmap(const TBitmapImage& icon);

} // namespace IconPicture
