// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the seed corpus of the load fuzz target into the folder given: valid files of several
// shapes composed from the file layout, prefixes of them, and files with hostile counts and lengths.
// Run once; its seeds are committed under fuzz/corpus/load beside the findings of fuzzing runs
// (found-*).

#include "core/DataBytes.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <iterator>
#include <limits>

namespace {

using namespace Layout;

constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();

File WithIcons(const QList<Bitmap>& icons) {
    File f;
    for (const Bitmap& icon : icons) {
        Category c;
        c.ID = ++f.LastCategoryID;
        c.Name = "Icon " + QByteArray::number(c.ID);
        c.Icon = Encode(icon);
        f.Categories << c;
    }
    return f;
}

QByteArray SampleWith(void (*change)(File&)) {
    File f = SampleFile();
    change(f);
    return Encode(f);
}

bool Write(const QString& folder, const char* name, const QByteArray& bytes) {
    QFile file(QDir(folder).filePath(QString::fromLatin1(name)));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 1;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QByteArray sample = Encode(SampleFile());

    Bitmap rle = MakeBitmap(8, 2, 2, 4);
    rle.Compression = 1;
    Bitmap manyColours = MakeBitmap(4, 2, 2, 16);
    manyColours.ColorsUsed = 0xFFFFFFFF;
    Bitmap wrapping = MakeBitmap(32, 2, 1);
    wrapping.Width = 0x08000000;

    const struct {
        const char* name;
        QByteArray bytes;
    } seeds[] = {
        {"valid-empty", Encode(File())},
        {"valid-sample", sample},
        {"valid-icon-forms", Encode(WithIcons({MakeBitmap(16, 3, 2, 0, 3), MakeBitmap(4, 3, 2, 0, 0, true),
                                               MakeBitmap(8, 3, -2, 3), MakeBitmap(1, 9, 2)}))},
        {"valid-icon-32x32", Encode(WithIcons({MakeBitmap(4, 32, 32, 16)}))},
        {"valid-negative-counts", SampleWith([](File& f) {
             f.Categories[0].ElementCount = -3;
             f.Categories[0].Elements.clear();
             f.Categories[1].Records[0].Count = -1;
             f.Categories[1].Records[0].Values.clear();
         })},
        {"valid-sort-ascending-2", SampleWith([](File& f) { f.Categories[1].SortAscending = 2; })},
        {"valid-icon-header-lies", Encode(WithIcons({[] {
             Bitmap b = MakeBitmap(4, 3, 2);
             b.FileSize = 1;
             b.PixelOffset = 9999;
             return b;
         }()}))},
        {"truncated-header", sample.left(30)},
        {"truncated-icon", sample.left(110)},
        {"truncated-element", sample.left(300)},
        {"truncated-record", sample.left(sample.size() - 3)},
        {"wrong-magic", QByteArray::fromHex("00000000") + sample.mid(4)},
        {"version-2", QByteArray::fromHex("38564C0502000000") + sample.mid(8)},
        {"hostile-category-count", SampleWith([](File& f) { f.CategoryCount = kInt32Max; })},
        {"hostile-element-count", SampleWith([](File& f) { f.Categories[0].ElementCount = kInt32Max; })},
        {"hostile-record-count", SampleWith([](File& f) { f.Categories[1].RecordCount = 0x40000000; })},
        {"hostile-value-count", SampleWith([](File& f) { f.Categories[0].Records[1].Count = kInt32Max; })},
        {"hostile-digest-length", WithStringLength(sample, kSecretDigest, -1)},
        {"hostile-name-length", WithStringLength(sample, "Contacts", kInt32Max)},
        {"hostile-value-length", WithStringLength(sample, "Herbert", -2)},
        {"hostile-icon-colours", Encode(WithIcons({manyColours}))},
        {"hostile-icon-row-wraps", Encode(WithIcons({wrapping}))},
        {"hostile-compressed-icon", Encode(WithIcons({rle}))},
    };
    for (const auto& seed : seeds) {
        if (!Write(folder, seed.name, seed.bytes))
            return 1;
    }
    std::printf("wrote %zu seeds\n", std::size(seeds));
    return 0;
}
