// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

class TXlsxSheetReader;

// The one parser of worksheet parts. A worksheet is by far the largest part of a workbook, so its
// UTF-8 bytes are scanned directly rather than through a general XML reader, checking as they go
// that the part is well-formed: every element closed in order, text and names valid UTF-8, only
// the predefined, numeric and declared character references. A part in another encoding is decoded
// to UTF-8 first; entities its document type declares are expanded, each reference to at most
// kMaxEntityCharacters characters.
class TXlsxSheetScanner {
public:
    static constexpr qsizetype kMaxEntityCharacters = 4096;

    explicit TXlsxSheetScanner(TXlsxSheetReader& reader) : FReader(reader) {}
    // Reports the part's elements and text to the reader; throws EDamagedPackage when the part is
    // not well-formed.
    void Scan(const QByteArray& part);

private:
    struct TEntity {
        QByteArrayView Name;
        QByteArrayView Value;
        bool External;
    };

    void ScanUtf8(QByteArrayView xml);
    // Reads the document type declaration starting at lt; returns where it ends.
    qsizetype ReadDocumentType(QByteArrayView xml, qsizetype lt);
    qsizetype ReadEntityDeclaration(QByteArrayView xml, qsizetype lt);
    // Appends text, with character references decoded where the text is markup's; within an
    // entity's value (depth > 0), out may not grow past limit.
    void AppendText(QString& out, QByteArrayView text, bool references, int depth = 0, qsizetype limit = 0);
    void AppendEntity(QString& out, QByteArrayView name, int depth, qsizetype limit);

    TXlsxSheetReader& FReader;
    std::vector<TEntity> FEntities;
    // An external subset may declare entities that are not read: references to them are left out.
    bool FExternalSubset = false;
    bool FSawDocumentType = false;
};
