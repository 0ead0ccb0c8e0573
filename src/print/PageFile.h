// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/FileIO.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <string>

// The page file: the record or the list as a small HTML page, written before every print to the
// temporary folder as "Quillery.html" and replaced each time. It is UTF-8 with a byte-order mark
// so that a browser shows every character as the list does; every line ends with CR LF.

// "Quillery.html" in the temporary folder, or in the current folder when there is none.
QString PageFilePath();

// Text for the page: & < > and " become character references, so that a value prints as written
// and can never add markup to the page.
QString PageText(const QString& text);

// The text without the blanks (characters up to the space) at either end.
QString TrimBlanks(const QString& text);

// Collects the page's lines and hands the bytes on in large pieces.
class TPageLines {
public:
    explicit TPageLines(const TByteSink& put);
    TPageLines(const TPageLines&) = delete;
    TPageLines& operator=(const TPageLines&) = delete;

    // Appends to the current line.
    TPageLines& operator<<(QStringView piece);
    TPageLines& operator<<(int number);
    // Ends the current line with CR LF.
    void EndLine();
    // Hands on what is still collected.
    void Flush();

private:
    TByteSink FPut;
    std::string FBuffer;
};

// Replaces the file at path with the byte-order mark and the lines write produces. Fails with the
// store's EFileError, whose text is the one to show; the old file is then left as it was.
void WritePageFile(const QString& path, const std::function<void(TPageLines&)>& write);
