// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

class TZipReader;

// The shared strings of a workbook, decoded as the import sees them, in one buffer.
class TSharedStrings {
public:
    void Add(QStringView raw);
    int Count() const { return int(FEnds.size()); }
    QStringView At(int index) const;
    // The characters of all strings together.
    size_t TextSize() const { return size_t(FTexts.size()); }

private:
    QString FTexts;
    std::vector<uint32_t> FEnds;
};

void ReadSharedStrings(const TZipReader& zip, int index, TSharedStrings& strings);
