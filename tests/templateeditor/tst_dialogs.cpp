// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's two small dialogs fit their text and controls at any font size.
#include "templateeditor/TemplateEditorSupport.h"

#include "templateeditor/ColumnCaptionDialog.h"
#include "templateeditor/SelectCategoryDialog.h"

#include <QLabel>

using namespace TemplateTest;

class TestTemplateDialogs : public QObject {
    Q_OBJECT
private slots:
    void textFits_data();
    void textFits();
};

void TestTemplateDialogs::textFits_data() {
    QTest::addColumn<bool>("columnCaption");
    QTest::addColumn<int>("pointSize");
    for (const int size : {7, 10, 16, 28}) {
        QTest::addRow("column caption, %d pt", size) << true << size;
        QTest::addRow("category chooser, %d pt", size) << false << size;
    }
}

void TestTemplateDialogs::textFits() {
    QFETCH(bool, columnCaption);
    QFETCH(int, pointSize);
    std::unique_ptr<QDialog> dialog;
    if (columnCaption)
        dialog = std::make_unique<TColumnCaptionDialog>();
    else
        dialog = std::make_unique<TSelectCategoryDialog>();
    QFont font = QApplication::font();
    font.setPointSize(pointSize);
    dialog->setFont(font);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));

    auto* text = Find<QLabel>(dialog.get(), "LabelPrompt");
    const QRect room = text->contentsRect();
    const QRect needed =
        text->fontMetrics().boundingRect(QRect(0, 0, room.width(), 1 << 20), Qt::TextWordWrap, text->text());
    QVERIFY2(room.height() >= needed.height(),
             qPrintable(QStringLiteral("%1 high for a text of %2").arg(room.height()).arg(needed.height())));
    QVERIFY(room.width() >= needed.width());
    // Every control is whole inside the dialog, below the text, and as large as it asks to be.
    for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isVisible())
            continue;
        QVERIFY(dialog->rect().contains(child->geometry()));
        if (child != text)
            QVERIFY(child->geometry().top() > text->geometry().bottom());
    }
    // The buttons sit in their row, each whole inside the dialog and as large as it asks to be.
    const QList<QPushButton*> buttons = dialog->findChildren<QPushButton*>();
    QCOMPARE(buttons.size(), 2);
    for (QPushButton* button : buttons) {
        QVERIFY(dialog->rect().contains(QRect(button->mapTo(dialog.get(), QPoint(0, 0)), button->size())));
        QVERIFY(button->width() >= button->sizeHint().width());
        QVERIFY(button->height() >= button->sizeHint().height());
    }
    dialog->reject();
}

QTEST_MAIN(TestTemplateDialogs)
#include "tst_dialogs.moc"
