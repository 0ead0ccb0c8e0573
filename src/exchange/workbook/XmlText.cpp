// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/workbook/XmlText.h"

namespace {
QByteArrayView LocalName(QByteArrayView qualified) {
    const qsizetype colon = qualified.indexOf(':');
    return colon < 0 ? qualified : qualified.sliced(colon + 1);
}

bool IsNameEnd(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '/' || c == '>';
}
} // namespace

QByteArray TXmlText::TSpan::Prefix() const {
    const qsizetype colon = QualifiedName.indexOf(':');
    return colon < 0 ? QByteArray() : QualifiedName.left(colon + 1);
}

TXmlText::TTag TXmlText::NextTag(qsizetype at) const {
    for (;;) {
        const qsizetype begin = FText.indexOf('<', at);
        if (begin < 0)
            return {-1, -1, {}, false, false};
        const QByteArrayView rest = QByteArrayView(FText).sliced(begin);
        // Comments, character data, declarations and instructions hold no elements.
        const char* closer = rest.startsWith("<!--")        ? "-->"
                             : rest.startsWith("<![CDATA[") ? "]]>"
                             : rest.startsWith("<?")        ? "?>"
                             : rest.startsWith("<!")        ? ">"
                                                            : nullptr;
        if (closer) {
            const qsizetype end = FText.indexOf(closer, begin);
            if (end < 0)
                return {-1, -1, {}, false, false};
            at = end + qsizetype(strlen(closer));
            continue;
        }
        TTag tag{begin, -1, {}, FText.at(begin + 1) == '/', false};
        qsizetype i = begin + (tag.Closing ? 2 : 1);
        const qsizetype nameBegin = i;
        while (i < FText.size() && !IsNameEnd(FText.at(i)))
            ++i;
        tag.QualifiedName = FText.mid(nameBegin, i - nameBegin);
        char quote = 0;
        for (; i < FText.size(); ++i) {
            const char c = FText.at(i);
            if (quote)
                quote = c == quote ? 0 : quote;
            else if (c == '"' || c == '\'')
                quote = c;
            else if (c == '>')
                break;
        }
        if (i >= FText.size())
            return {-1, -1, {}, false, false};
        tag.End = i + 1;
        tag.Empty = FText.at(i - 1) == '/';
        return tag;
    }
}

TXmlText::TSpan TXmlText::Find(QByteArrayView localName, qsizetype from, qsizetype until) const {
    if (until < 0)
        until = FText.size();
    TSpan span;
    for (TTag tag = NextTag(from); tag.Begin >= 0 && tag.Begin < until; tag = NextTag(tag.End)) {
        if (tag.Closing || LocalName(tag.QualifiedName) != localName)
            continue;
        span.OpenBegin = tag.Begin;
        span.OpenEnd = tag.End;
        span.QualifiedName = tag.QualifiedName;
        span.Empty = tag.Empty;
        if (tag.Empty) {
            span.CloseBegin = tag.End;
            return span;
        }
        int depth = 1;
        for (TTag inner = NextTag(tag.End); inner.Begin >= 0; inner = NextTag(inner.End)) {
            if (inner.QualifiedName != tag.QualifiedName || inner.Empty)
                continue;
            depth += inner.Closing ? -1 : 1;
            if (depth == 0) {
                span.CloseBegin = inner.Begin;
                return span;
            }
        }
        return TSpan();
    }
    return span;
}

int TXmlText::Count(const TSpan& within, QByteArrayView localName) const {
    int count = 0;
    for (TTag tag = NextTag(within.OpenEnd); tag.Begin >= 0 && tag.Begin < within.CloseBegin;
         tag = NextTag(tag.End))
        if (!tag.Closing && LocalName(tag.QualifiedName) == localName)
            ++count;
    return count;
}

qsizetype TXmlText::AttributeValue(const TSpan& span, QByteArrayView name, qsizetype& length) const {
    qsizetype i = span.OpenBegin + 1 + span.QualifiedName.size();
    while (i < span.OpenEnd) {
        while (i < span.OpenEnd && IsNameEnd(FText.at(i)))
            ++i;
        const qsizetype nameBegin = i;
        while (i < span.OpenEnd && FText.at(i) != '=' && !IsNameEnd(FText.at(i)))
            ++i;
        const QByteArrayView attributeName = QByteArrayView(FText).sliced(nameBegin, i - nameBegin);
        while (i < span.OpenEnd && FText.at(i) != '"' && FText.at(i) != '\'')
            ++i;
        if (i >= span.OpenEnd)
            return -1;
        const char quote = FText.at(i);
        const qsizetype valueBegin = i + 1;
        const qsizetype valueEnd = FText.indexOf(quote, valueBegin);
        if (valueEnd < 0 || valueEnd >= span.OpenEnd)
            return -1;
        if (attributeName == name) {
            length = valueEnd - valueBegin;
            return valueBegin;
        }
        i = valueEnd + 1;
    }
    return -1;
}

QByteArray TXmlText::Attribute(const TSpan& span, QByteArrayView name) const {
    qsizetype length = 0;
    const qsizetype at = AttributeValue(span, name, length);
    return at < 0 ? QByteArray() : FText.mid(at, length);
}

void TXmlText::Replace(qsizetype begin, qsizetype end, const QByteArray& text) {
    FEdits[begin].append(text);
    FReplaced[begin] = end;
}

void TXmlText::AppendChildren(const TSpan& span, const QByteArray& children) {
    if (!span.Empty) {
        Insert(span.CloseBegin, children);
        return;
    }
    // <name .../> becomes <name ...>children</name>
    qsizetype slash = span.OpenEnd - 2;
    Replace(slash, span.OpenEnd, ">" + children + "</" + span.QualifiedName + ">");
}

void TXmlText::SetAttribute(const TSpan& span, QByteArrayView name, const QByteArray& value) {
    qsizetype length = 0;
    const qsizetype at = AttributeValue(span, name, length);
    if (at >= 0)
        Replace(at, at + length, value);
}

void TXmlText::ReplaceContent(const TSpan& span, const QByteArray& content) {
    Replace(span.OpenEnd, span.CloseBegin, content);
}

QByteArray TXmlText::Result() const {
    QByteArray result;
    qsizetype at = 0;
    for (const auto& [position, text] : FEdits) {
        result.append(QByteArrayView(FText).sliced(at, position - at));
        result.append(text);
        const auto replaced = FReplaced.find(position);
        at = replaced == FReplaced.end() ? position : replaced->second;
    }
    result.append(QByteArrayView(FText).sliced(at));
    return result;
}
