// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/PrintedElement.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QPrinter;
class QWidget;
class TListSource;
class TPageLayout;
class TPrintOptionsDialog;
class TPageLines;
class TPrintProgress;

// Printing for the main window, which keeps one for the whole run. It owns the printer, whose
// paper, orientation and margins chosen in page setup or the print dialog serve every later print
// and preview, and the print options dialog, which keeps its state between showings.
//
// A print writes the page file first, lays its pages out, then asks the print dialog and draws
// the pages; the page file and the pages are made from the same content. Every failure is shown
// in a message box; nothing escapes to the caller.
class TPrintHost : public QObject {
    Q_OBJECT

public:
    explicit TPrintHost(QWidget* window);
    ~TPrintHost() override;

    // "&Print...": the print options, then the record form (record: its controls as they show now,
    // or nothing while no record is selected) or the rows list shows now.
    void Print(const std::optional<TPrintedForm>& record, const TListSource& list);
    // "Print Pre&view...": the same print options, then a preview of exactly what would print.
    void Preview(const std::optional<TPrintedForm>& record, const TListSource& list);
    // "Page Set&up...": the page setup dialog on the kept printer; prints nothing.
    void PageSetup();

    // Secret data (an encrypted data file) writes no page file, and one left by an earlier print
    // is removed: nothing of it may reach the disk in plain bytes. The pages never read the file.
    void SetSecret(bool secret) { FSecret = secret; }

    QPrinter& Printer() { return *FPrinter; }
    TPrintOptionsDialog& OptionsDialog() { return *FOptionsDialog; }

private:
    // How a prepared print is finished: printed through the print dialog, or previewed.
    using TOutput = std::function<void(TPageLayout&, TPrintProgress&)>;

    void Run(const std::optional<TPrintedForm>& record, const TListSource& list, const TOutput& output);
    void PrintLayout(TPageLayout& layout, TPrintProgress& progress);
    void PreviewLayout(TPageLayout& layout, TPrintProgress& progress);
    void WritePage(const std::function<void(TPageLines&)>& write) const;

    QWidget* FWindow;
    std::unique_ptr<QPrinter> FPrinter;
    TPrintOptionsDialog* FOptionsDialog;
    bool FBusy = false;
    bool FSecret = false;
};
