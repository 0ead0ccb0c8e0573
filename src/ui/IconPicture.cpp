// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/IconPicture.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <string>

namespace IconPicture {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;

void PutUInt16(std::string& bytes, uint32_t value) {
    bytes.push_back(static_cast<char>(value & 0xFF));
    bytes.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void PutUInt32(std::string& bytes, uint32_t value) {
    PutUInt16(bytes, value & 0xFFFF);
    PutUInt16(bytes, value >> 16);
}

// The picture scaled into the icon square, centred, on the icon background.
QImage Flatten(const QImage& picture) {
    QImage square(kIconSize, kIconSize, QImage::Format_RGB32);
    square.fill(IconBackground());
    const QImage scaled = picture.scaled(kIconSize, kIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&square);
    painter.drawImage((kIconSize - scaled.width()) / 2, (kIconSize - scaled.height()) / 2, scaled);
    return square;
}

} // namespace

TBitmapImage FromImage(const QImage& picture) {
    if (picture.isNull())
        return TBitmapImage();
    const QImage square = Flatten(picture);
    constexpr uint32_t rowBytes = kIconSize * 3; // 96: already a multiple of four
    constexpr uint32_t pixelBytes = rowBytes * kIconSize;
    constexpr uint32_t offset = kFileHeaderSize + kInfoHeaderSize;
    std::string bytes;
    bytes.reserve(offset + pixelBytes);
    bytes += "BM";
    PutUInt32(bytes, offset + pixelBytes);
    PutUInt32(bytes, 0); // reserved
    PutUInt32(bytes, offset);
    PutUInt32(bytes, kInfoHeaderSize);
    PutUInt32(bytes, kIconSize);
    PutUInt32(bytes, kIconSize); // positive: rows from bottom to top
    PutUInt16(bytes, 1);         // planes
    PutUInt16(bytes, 24);        // bits per pixel
    PutUInt32(bytes, 0);         // uncompressed
    PutUInt32(bytes, pixelBytes);
    PutUInt32(bytes, 0); // horizontal resolution
    PutUInt32(bytes, 0); // vertical resolution
    PutUInt32(bytes, 0); // colours used
    PutUInt32(bytes, 0); // important colours
    for (int y = kIconSize - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(square.constScanLine(y));
        for (int x = 0; x < kIconSize; ++x) {
            bytes.push_back(static_cast<char>(qBlue(row[x])));
            bytes.push_back(static_cast<char>(qGreen(row[x])));
            bytes.push_back(static_cast<char>(qRed(row[x])));
        }
    }
    return TBitmapImage::FromBytes(bytes);
}

bool FromFile(const QString& path, TBitmapImage& icon) {
    QImageReader reader(path);
    const QImage picture = reader.read();
    if (picture.isNull())
        return false;
    icon = FromImage(picture);
    return true;
}

QPixmap ToPixmap(const TBitmapImage& icon) {
    QPixmap pixmap;
    if (!icon.Empty())
        pixmap.loadFromData(reinterpret_cast<const uchar*>(icon.Bytes().data()),
                            static_cast<uint>(icon.Bytes().size()), "BMP");
    return pixmap;
}

QPixmap ToBarPixmap(const TBitmapImage& icon) {
    QPixmap pixmap = ToPixmap(icon);
    if (pixmap.isNull())
        pixmap = ToPixmap(TBitmapImage::DefaultIcon());
    if (!pixmap.isNull() && pixmap.size() != QSize(kIconSize, kIconSize))
        pixmap = pixmap.scaled(kIconSize, kIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return pixmap;
}

} // namespace IconPicture
