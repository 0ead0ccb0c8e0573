// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/workbook/ZipPackage.h"

#include <QByteArray>
#include <QByteArrayView>

#include <string>
#include <string_view>
#include <vector>

class TXlsxSheetReader;

// The one parser of worksheet parts. A worksheet is by far the largest part of a workbook, so its
// UTF-8 bytes are scanned directly rather than through a general XML reader, a piece at a time as
// they are inflated, checking as they go that the part is well-formed: every element closed in
// order, text and names valid UTF-8, only the predefined, numeric and declared character
// references. What the reader is given is UTF-8 too. A part in another encoding is decoded to UTF-8
// first; entities its document type declares are expanded, each reference to at most
// kMaxEntityCharacters characters.
class TXlsxSheetScanner {
public:
    static constexpr qsizetype kMaxEntityCharacters = 4096;

    explicit TXlsxSheetScanner(TXlsxSheetReader& reader) : FReader(reader) {}
    // Reports the part's elements and text to the reader; throws EDamagedPackage when the part is
    // not well-formed. Whatever is thrown, it comes after the whole part was found valid UTF-8 and
    // sound as a zip entry, as when the part is read whole first.
    void Scan(TZipReader::TStream& part);

private:
    struct TEntity {
        QByteArrayView Name;
        QByteArrayView Value;
        bool External;
    };

    // The part's bytes from where scanning stands, read on as scanning needs them.
    void Scan();
    // Reads the next piece of the part, after letting go of the bytes before at (which becomes
    // 0); false when the part had ended already.
    bool ReadMore(qsizetype& at);
    // Reads the rest of the part, keeping every byte where it is.
    void ReadAll();
    // Makes the bytes read so far visible to scanning, up to the last whole character.
    void CheckRead();
    // Reads the rest of the part, checking it as UTF-8 and letting it go.
    void CheckRest();
    QByteArrayView Visible() const { return QByteArrayView(FBuffer.data(), FVisible); }

    // Reads the document type declaration starting at lt; returns where it ends.
    qsizetype ReadDocumentType(QByteArrayView xml, qsizetype lt);
    qsizetype ReadEntityDeclaration(QByteArrayView xml, qsizetype lt);
    // Appends text as UTF-8, with character references decoded where the text is markup's; within
    // an entity's value (depth > 0), left counts down the characters it may still add.
    void AppendText(std::string& out, QByteArrayView text, bool references, int depth, qsizetype& left);
    void AppendText(std::string& out, QByteArrayView text, bool references);
    // text decoded as AppendText decodes it: the text itself when that leaves it as it is, else
    // scratch.
    std::string_view DecodedText(QByteArrayView text, bool references, std::string& scratch);
    void AppendEntity(std::string& out, QByteArrayView name, int depth, qsizetype& left);

    TXlsxSheetReader& FReader;
    TZipReader::TStream* FPart = nullptr;
    std::string FBuffer;
    qsizetype FVisible = 0; // bytes of FBuffer checked as UTF-8
    bool FEnded = false;    // the part has no more bytes
    bool FKeepAll = false;  // entities point into the buffer: nothing is let go
    std::vector<TEntity> FEntities;
    // An external subset may declare entities that are not read: references to them are left out.
    bool FExternalSubset = false;
    bool FSawDocumentType = false;
};
