// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the print tests share: a sandbox with every dialog seam in test mode, list models to print,
// and readers of the PDF files we write that are not ours (poppler's pdftotext and pdfinfo).

#include "print/PrintedElement.h"
#include "support/WindowTestSupport.h"

#include <QPageLayout>
#include <QStandardItemModel>

#include <functional>
#include <memory>

class QPushButton;
class TPrintOptionsDialog;

namespace PrintTest {

// A sandbox whose print, font, file and message box dialogs are all answered by the test.
class TPrintSandbox : public MainTest::TSandbox {
public:
    TPrintSandbox();
    // Also fails when a print or font dialog found no answer or answers were left over.
    void VerifyDialogs();
};

// A list model: one row of cells per entry of rows, under captions.
std::unique_ptr<QStandardItemModel> ListModel(const QStringList& captions, const QList<QStringList>& rows);
// A list of count rows, cell (r, c) reading "r<r>c<c>" with r from 1, c from 0.
std::unique_ptr<QStandardItemModel> NumberedList(int columns, int count);

TPrintedElement Element(TPrintedKind kind, int left, int top, int width, int height, const QString& text);

// A page setup's choice: A5 landscape with 10 mm margins.
QPageLayout A5Landscape();

// The page file's bytes.
QByteArray PageFileBytes();

// The text of each page of a PDF file as `pdftotext -layout` reads it.
QStringList PdfPages(const QString& path);
// A field of `pdfinfo`, as "Pages" or "Page size".
QString PdfInfo(const QString& path, const QString& field);
// The names of the fonts the PDF uses, from `pdffonts`.
QStringList PdfFonts(const QString& path);
// The lines of a page's text that are not blank, without the blanks around them.
QStringList TextLines(const QString& page);

// The dialog's own button of that name, not one of a dialog it owns.
QPushButton* DialogButton(QWidget& dialog, const char* name);
// Runs setup on the print options dialog once it shows, then presses its OK (or Cancel).
void AnswerOptions(const std::function<void(TPrintOptionsDialog&)>& setup, bool accept = true);
// Chooses the page-number option on the options dialog (0 header, 1 footer, 2 none).
void ChoosePageNumbers(TPrintOptionsDialog& dialog, int option);

} // namespace PrintTest
