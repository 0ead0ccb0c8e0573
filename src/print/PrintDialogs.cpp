// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/PrintDialogs.h"

#include "ui/dialogs/ScriptedAnswers.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

namespace {

// One queue for both kinds, so that a test that expects one dialog and meets the other fails.
struct TQueuedAnswer {
    bool PageSetup = false;
    PrintDialogTesting::TPrintAnswer Print;
    std::optional<QPageLayout> Layout;
};

TScriptedAnswers<TQueuedAnswer, QString>& Script() {
    static TScriptedAnswers<TQueuedAnswer, QString> script;
    return script;
}

// The next answer if it is one for this kind of dialog.
bool TakeAnswer(bool pageSetup, const QString& description, TQueuedAnswer& answer) {
    Script().RecordShown(description);
    if (!Script().TakeAnswer(description, answer)) {
        return false;
    }
    if (answer.PageSetup != pageSetup) {
        Script().RecordUnanswered(description + QStringLiteral(" (the queued answer is for another dialog)"));
        return false;
    }
    return true;
}

bool ScriptedPrint(QPrinter& printer, int pageCount) {
    TQueuedAnswer answer;
    if (!TakeAnswer(false, QStringLiteral("Print: pages 1 to %1").arg(pageCount), answer) ||
        !answer.Print.Accept) {
        return false;
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(answer.Print.PdfFile);
    if (answer.Print.FromPage > 0) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(answer.Print.FromPage, answer.Print.ToPage);
    } else {
        printer.setPrintRange(QPrinter::AllPages);
        printer.setFromTo(0, 0);
    }
    return true;
}

bool ScriptedPageSetup(QPrinter& printer) {
    TQueuedAnswer answer;
    if (!TakeAnswer(true, QStringLiteral("Page setup"), answer) || !answer.Layout) {
        return false;
    }
    printer.setPageLayout(*answer.Layout);
    return true;
}

// The real preview, shown without waiting for the user: it is closed as soon as it has drawn its
// pages, and the number of pages it shows is recorded.
void ScriptedPreview(QPrintPreviewDialog& dialog) {
    dialog.show();
    auto* preview = dialog.findChild<QPrintPreviewWidget*>();
    QElapsedTimer waited;
    waited.start();
    while (preview != nullptr && preview->pageCount() == 0 && waited.elapsed() < 30000) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    Script().RecordShown(QStringLiteral("Preview: %1 pages").arg(preview ? preview->pageCount() : 0));
    dialog.close();
}

} // namespace

namespace PrintDialogs {

bool RunPrint(QWidget* parent, QPrinter& printer, int pageCount) {
    if (Script().Enabled()) {
        return ScriptedPrint(printer, pageCount);
    }
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, pageCount > 1);
    dialog.setMinMax(1, std::max(1, pageCount));
    return dialog.exec() == QDialog::Accepted;
}

bool RunPageSetup(QWidget* parent, QPrinter& printer) {
    if (Script().Enabled()) {
        return ScriptedPageSetup(printer);
    }
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void RunPreview(QWidget* parent, QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QCoreApplication::translate("PrintDialogs", "Print Preview"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter* target) { paint(*target); });
    if (Script().Enabled()) {
        ScriptedPreview(dialog);
        return;
    }
    dialog.exec();
}

} // namespace PrintDialogs

namespace PrintDialogTesting {

void Enable() {
    Script().Enable();
}
void Disable() {
    Script().Disable();
}
void QueuePrint(const TPrintAnswer& answer) {
    Script().Queue({false, answer, std::nullopt});
}
void QueuePageSetup(const std::optional<QPageLayout>& layout) {
    Script().Queue({true, TPrintAnswer(), layout});
}
int PendingAnswers() {
    return Script().PendingAnswers();
}
QStringList TakeShown() {
    return Script().TakeShown();
}
QStringList TakeUnanswered() {
    return Script().TakeUnanswered();
}

} // namespace PrintDialogTesting
