// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <string>

// Cell text in Office Open XML: characters that XML 1.0 cannot hold travel as _xHHHH_, a literal
// text of that form has its underscore escaped as _x005F_, and a line break is a single LF.
namespace OoxmlText {
// Appends the text of a cell as the import sees it: escapes decoded, line breaks as CR LF.
void AppendDecoded(QString& out, QStringView raw);
// Appends the text as XML character data in UTF-8.
void AppendEncoded(std::string& out, QStringView text);
// Appends the text as the UTF-8 value of an attribute in double quotes.
void AppendAttribute(std::string& out, QStringView text);
// Leading or trailing blanks are kept only with xml:space="preserve".
bool NeedsSpacePreserve(QStringView text);
} // namespace OoxmlText
