// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/PrintHost.h"

#include "print/ListPage.h"
#include "print/ListPageLayout.h"
#include "print/ListSource.h"
#include "print/PageFile.h"
#include "print/PrintDialogs.h"
#include "print/PrintFieldsDialog.h"
#include "print/PrintOptionsDialog.h"
#include "print/PrintProgress.h"
#include "print/RecordPage.h"
#include "print/RecordPageLayout.h"
#include "settings/Settings.h"
#include "ui/ErrorText.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QFile>
#include <QPrinter>

#include <exception>

TPrintHost::TPrintHost(QWidget* window)
    : QObject(window), FWindow(window), FPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      FOptionsDialog(new TPrintOptionsDialog(window)) {
    FPrinter->setDocName(QStringLiteral("Quillery"));
}

TPrintHost::~TPrintHost() = default;

void TPrintHost::Print(const std::optional<TPrintedForm>& record, const TListSource& list) {
    Run(record, list,
        [this](TPageLayout& layout, TPrintProgress& progress) { PrintLayout(layout, progress); });
}

void TPrintHost::Preview(const std::optional<TPrintedForm>& record, const TListSource& list) {
    Run(record, list,
        [this](TPageLayout& layout, TPrintProgress& progress) { PreviewLayout(layout, progress); });
}

void TPrintHost::PageSetup() {
    if (!FBusy) {
        PrintDialogs::RunPageSetup(FWindow, *FPrinter);
    }
}

void TPrintHost::Run(const std::optional<TPrintedForm>& record, const TListSource& list,
                     const TOutput& output) {
    if (FBusy) {
        return;
    }
    FBusy = true;
    try {
        std::vector<QString> captions;
        for (int column = 0; column < list.ColumnCount(); ++column) {
            captions.push_back(list.Caption(column));
        }
        FOptionsDialog->Prepare(record.has_value(), captions);
        if (FOptionsDialog->exec() == QDialog::Accepted) {
            TPrintProgress progress(FWindow);
            if (FOptionsDialog->PrintRecord() && record) {
                const TRecordPage page(*record);
                WritePage([&page](TPageLines& lines) { page.WriteLines(lines); });
                TRecordPageLayout layout(page);
                output(layout, progress);
            } else if (FOptionsDialog->FieldsDialog().PrintCount() > 0) {
                // An empty print list prints nothing at all.
                const TListPage page(list, FOptionsDialog->PrintColumns(), PrintListFont().Name,
                                     PrintListFont().Size);
                progress.Begin(tr("Writing the page file..."), page.RowCount());
                WritePage([&page, &progress](TPageLines& lines) {
                    page.WriteLines(lines, [&progress](int row) { progress.Step(row); });
                });
                TListPageLayout layout(page);
                output(layout, progress);
            }
        }
    } catch (const EPrintCancelled&) {
        // The user stopped it; there is nothing to report.
    } catch (const std::exception& e) {
        MessageBoxes::ShowError(FWindow, ErrorText(e));
    }
    FBusy = false;
}

void TPrintHost::WritePage(const std::function<void(TPageLines&)>& write) const {
    if (FSecret) {
        QFile::remove(PageFilePath());
    } else {
        WritePageFile(PageFilePath(), write);
    }
}

void TPrintHost::PrintLayout(TPageLayout& layout, TPrintProgress& progress) {
    const TPageNumbers numbers = FOptionsDialog->PageNumbers();
    FPrinter->setPrintRange(QPrinter::AllPages);
    // Laid out before the dialog, so that it offers the page range.
    layout.Prepare(*FPrinter, numbers, progress);
    if (!PrintDialogs::RunPrint(FWindow, *FPrinter, layout.PageCount())) {
        return;
    }
    try {
        PrintPages(*FPrinter, layout, numbers, progress);
    } catch (const EPrintCancelled&) {
        // A file cut short is no print: take it away.
        if (FPrinter->outputFormat() == QPrinter::PdfFormat && !FPrinter->outputFileName().isEmpty()) {
            QFile::remove(FPrinter->outputFileName());
        }
        throw;
    }
}

void TPrintHost::PreviewLayout(TPageLayout& layout, TPrintProgress& progress) {
    const TPageNumbers numbers = FOptionsDialog->PageNumbers();
    FPrinter->setPrintRange(QPrinter::AllPages);
    // The preview paints from inside a signal: a failure is kept and reported once it has closed.
    std::exception_ptr failure;
    PrintDialogs::RunPreview(FWindow, *FPrinter, [&](QPrinter& printer) {
        try {
            PrintPages(printer, layout, numbers, progress);
        } catch (...) {
            failure = std::current_exception();
        }
    });
    if (failure) {
        std::rethrow_exception(failure);
    }
}
