// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <map>

// An XML part edited as text: the elements to change are found by scanning its tags, and edits are
// applied to the bytes, so everything else in the part stays byte for byte. The part must be
// well-formed (callers check with a real parser first).
class TXmlText {
public:
    struct TSpan {
        qsizetype OpenBegin = -1;  // "<" of the start tag
        qsizetype OpenEnd = -1;    // after its ">"
        qsizetype CloseBegin = -1; // "<" of the end tag; OpenEnd for an empty element
        QByteArray QualifiedName;
        bool Empty = false; // written as <name/>
        bool Found() const { return OpenBegin >= 0; }
        QByteArray Prefix() const; // "r:" or ""
    };

    explicit TXmlText(const QByteArray& utf8) : FText(utf8) {}
    // The first element of that local name whose start tag lies in [from, until).
    TSpan Find(QByteArrayView localName, qsizetype from = 0, qsizetype until = -1) const;
    // How many elements of that local name start inside the span.
    int Count(const TSpan& within, QByteArrayView localName) const;
    QByteArray Attribute(const TSpan& span, QByteArrayView name) const;
    QByteArray Content(const TSpan& span) const {
        return FText.mid(span.OpenEnd, span.CloseBegin - span.OpenEnd);
    }

    void Insert(qsizetype at, const QByteArray& text) { FEdits[at].append(text); }
    // Adds children at the end of the element, opening an empty element when needed.
    void AppendChildren(const TSpan& span, const QByteArray& children);
    // Changes an attribute's value where the start tag has that attribute.
    void SetAttribute(const TSpan& span, QByteArrayView name, const QByteArray& value);
    void ReplaceContent(const TSpan& span, const QByteArray& content);
    QByteArray Result() const;

private:
    struct TTag {
        qsizetype Begin, End;
        QByteArray QualifiedName;
        bool Closing, Empty;
    };
    // The next element tag from position at; Begin is -1 when there is none.
    TTag NextTag(qsizetype at) const;
    // Where in the start tag the attribute's value lies (inside the quotes), or -1.
    qsizetype AttributeValue(const TSpan& span, QByteArrayView name, qsizetype& length) const;
    void Replace(qsizetype begin, qsizetype end, const QByteArray& text);

    QByteArray FText;
    // Edits by position: insertions, and replacements of [position, end).
    std::map<qsizetype, QByteArray> FEdits;
    std::map<qsizetype, qsizetype> FReplaced;
};
