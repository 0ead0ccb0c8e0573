// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrintTestSupport.h"

#include "print/PageFile.h"
#include "print/PrintDialogs.h"
#include "print/PrintOptionsDialog.h"
#include "ui/dialogs/FontDialogs.h"

#include <QGroupBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>

namespace PrintTest {

namespace {

QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

TPrintSandbox::TPrintSandbox() {
    PrintDialogTesting::Enable();
    FontDialogTesting::Enable();
}

void TPrintSandbox::VerifyDialogs() {
    TSandbox::VerifyDialogs();
    const QStringList prints = PrintDialogTesting::TakeUnanswered();
    const QStringList fonts = FontDialogTesting::TakeUnanswered();
    QVERIFY2(prints.isEmpty(),
             qPrintable(QStringLiteral("unanswered: ") + prints.join(QStringLiteral(" | "))));
    QVERIFY2(fonts.isEmpty(), qPrintable(QStringLiteral("unanswered: ") + fonts.join(QStringLiteral(" | "))));
    QCOMPARE(PrintDialogTesting::PendingAnswers(), 0);
    QCOMPARE(FontDialogTesting::PendingResults(), 0);
}

std::unique_ptr<QStandardItemModel> ListModel(const QStringList& captions, const QList<QStringList>& rows) {
    auto model = std::make_unique<QStandardItemModel>(static_cast<int>(rows.size()),
                                                      static_cast<int>(captions.size()));
    model->setHorizontalHeaderLabels(captions);
    for (int row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < rows[row].size(); ++column) {
            model->setItem(row, column, new QStandardItem(rows[row][column]));
        }
    }
    return model;
}

std::unique_ptr<QStandardItemModel> NumberedList(int columns, int count) {
    QStringList captions;
    for (int column = 0; column < columns; ++column) {
        captions.append(QStringLiteral("Column %1").arg(column));
    }
    QList<QStringList> rows;
    for (int row = 1; row <= count; ++row) {
        QStringList cells;
        for (int column = 0; column < columns; ++column) {
            cells.append(QStringLiteral("r%1c%2").arg(row).arg(column));
        }
        rows.append(cells);
    }
    return ListModel(captions, rows);
}

TPrintedElement Element(TPrintedKind kind, int left, int top, int width, int height, const QString& text) {
    TPrintedElement element;
    element.Kind = kind;
    element.Left = left;
    element.Top = top;
    element.Width = width;
    element.Height = height;
    element.FontName = QStringLiteral("Arial");
    element.FontSize = 9;
    element.Text = text;
    return element;
}

QPageLayout A5Landscape() {
    return QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10));
}

QByteArray PageFileBytes() {
    return MainTest::FileBytes(PageFilePath());
}

QStringList PdfPages(const QString& path) {
    QStringList pages =
        Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")})
            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) {
        pages.removeLast(); // the text ends with a form feed
    }
    return pages;
}

QString PdfInfo(const QString& path, const QString& field) {
    for (const QString& line : Run(QStringLiteral("pdfinfo"), {path}).split(QLatin1Char('\n'))) {
        if (line.startsWith(field + QLatin1Char(':'))) {
            return line.mid(field.size() + 1).trimmed();
        }
    }
    return QString();
}

QStringList PdfFonts(const QString& path) {
    QStringList fonts;
    const QStringList lines = Run(QStringLiteral("pdffonts"), {path}).split(QLatin1Char('\n'));
    for (int i = 2; i < lines.size(); ++i) { // under the heading and its rule
        const QString name = lines[i].section(QLatin1Char(' '), 0, 0);
        if (!name.isEmpty()) {
            fonts.append(name);
        }
    }
    return fonts;
}

QStringList TextLines(const QString& page) {
    QStringList lines;
    for (const QString& line : page.split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty()) {
            lines.append(line.trimmed());
        }
    }
    return lines;
}

QPushButton* DialogButton(QWidget& dialog, const char* name) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>(QString::fromLatin1(name))) {
        if (button->window() == &dialog) {
            return button;
        }
    }
    qFatal("no button %s", name);
}

void AnswerOptions(const std::function<void(TPrintOptionsDialog&)>& setup, bool accept) {
    MainTest::OnNextDialog([setup, accept](QWidget* widget) {
        auto* dialog = qobject_cast<TPrintOptionsDialog*>(widget);
        if (dialog == nullptr) {
            return false;
        }
        setup(*dialog);
        QTest::mouseClick(DialogButton(*dialog, accept ? "BtnOK" : "BtnCancel"), Qt::LeftButton);
        return true;
    });
}

void ChoosePageNumbers(TPrintOptionsDialog& dialog, int option) {
    const auto buttons = MainTest::Child<QGroupBox>(dialog, "RGPageNumbers")->findChildren<QRadioButton*>();
    QTest::mouseClick(buttons.at(option), Qt::LeftButton);
}

} // namespace PrintTest
