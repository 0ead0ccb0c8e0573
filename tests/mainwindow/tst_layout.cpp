// SPDX-License-Identifier: GPL-3.0-or-later
// Every window and dialog of the program at 800x600, at the normal font and at a font half as
// large again: no text is cut off, no control reaches outside its parent or lies over another.

#include "support/LayoutCheck.h"
#include "support/WindowTestSupport.h"
#include "support/WorkbookReader.h"

#include "app/Translations.h"

#include "exchangewizards/ExportWizard.h"
#include "exchangewizards/ImportWizard.h"
#include "print/PrintFieldsDialog.h"
#include "print/PrintOptionsDialog.h"
#include "templateeditor/ColumnCaptionDialog.h"
#include "templateeditor/PaintBox.h"
#include "templateeditor/SelectCategoryDialog.h"
#include "templateeditor/TemplateEditor.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>

using namespace MainTest;

namespace {

const QSize kScreen(800, 600);

TDataFile SampleData() {
    TDataFile data;
    TCategory* books = AddCategory(data, "Books", {"Title", "Author"});
    AddRecord(*books, {"Emma", "Austen"});
    AddRecord(*books, {"Dracula", "Stoker"});
    AddCategory(data, "Films", {"Title", "Year"});
    return data;
}

// The faults of window as it shows now, and of its frame on the screen.
QStringList FaultsOf(const QWidget& window, const QList<const QWidget*>& storedPlaces = {}) {
    // The layouts settle what the last steps changed, as they do before the user sees it.
    QTest::qWait(20);
    QStringList faults = LayoutCheck::Faults(window, storedPlaces);
    if (window.width() > kScreen.width() || window.height() > kScreen.height())
        faults.append(QStringLiteral("%1 is %2x%3, larger than the screen")
                          .arg(window.objectName())
                          .arg(window.width())
                          .arg(window.height()));
    return faults;
}

// Types path into a wizard's file name box and presses "&Next" clicks times.
void Advance(QWidget& wizard, const QString& path, int clicks) {
    QTest::keyClicks(Child<QLineEdit>(wizard, "LEFileName"), path);
    for (int i = 0; i < clicks; ++i)
        QTest::mouseClick(Child<QPushButton>(wizard, "BtnNext"), Qt::LeftButton);
}

} // namespace

class TestLayout : public TWindowTest {
    Q_OBJECT

private:
    QStringList MainWindowFaults();
    QStringList ImportWizardFaults(int nextClicks, bool append);
    QStringList ExportWizardFaults(const QString& sheetName);
    QStringList PrintDialogFaults(bool fields);
    QStringList TemplateEditorFaults();
    template <class T> QStringList ModalDialogFaults(const std::function<void(T&)>& execute);

    QFont FNormalFont;

private slots:
    void initTestCase() {
        FNormalFont = QApplication::font();
        QCOMPARE(QGuiApplication::primaryScreen()->size(), kScreen);
        // The windows are checked in the language LANGUAGE names; English needs no translation.
        const QString language = InstallTranslators(*QCoreApplication::instance(),
                                                    QStringLiteral(QUILLERY_BIN_DIR "/translations/"));
        QCOMPARE(language.isEmpty() ? QStringLiteral("en") : language.left(2),
                 qEnvironmentVariable("LANGUAGE", QStringLiteral("en")).left(2));
    }
    void cleanup() {
        QApplication::setFont(FNormalFont);
        TWindowTest::cleanup();
    }

    void nothingClippedOrOverlapping_data();
    void nothingClippedOrOverlapping();
};

void TestLayout::nothingClippedOrOverlapping_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<qreal>("fontScale");
    const QStringList windows = {
        "main window",           "import wizard: file",     "import wizard: worksheet",
        "import wizard: ranges", "import wizard: columns",  "import wizard: done",
        "import wizard: append", "export wizard: settings", "export wizard: failed",
        "export wizard: done",   "print options",           "print fields",
        "template editor",       "column caption",          "select category"};
    for (const qreal scale : {1.0, 1.5})
        for (const QString& window : windows)
            QTest::addRow("%s at %g", qPrintable(window), scale) << window << scale;
}

void TestLayout::nothingClippedOrOverlapping() {
    QFETCH(QString, window);
    QFETCH(qreal, fontScale);
    QFont font = FNormalFont;
    font.setPointSizeF(FNormalFont.pointSizeF() * fontScale);
    QApplication::setFont(font);

    QStringList faults;
    if (window == QLatin1String("main window"))
        faults = MainWindowFaults();
    else if (window.startsWith(QLatin1String("import wizard"))) {
        const QString page = window.section(": ", 1);
        // Rows for an existing category are matched to its text boxes on a page after the columns.
        faults =
            page == QLatin1String("append")
                ? ImportWizardFaults(4, true)
                : ImportWizardFaults(
                      QStringList{"file", "worksheet", "ranges", "columns", "", "done"}.indexOf(page), false);
    } else if (window.startsWith(QLatin1String("export wizard")))
        faults = ExportWizardFaults(window.endsWith(QLatin1String("failed")) ? QStringLiteral("Books")
                                    : window.endsWith(QLatin1String("done")) ? QStringLiteral("New")
                                                                             : QString());
    else if (window.startsWith(QLatin1String("print")))
        faults = PrintDialogFaults(window.endsWith(QLatin1String("fields")));
    else if (window == QLatin1String("template editor"))
        faults = TemplateEditorFaults();
    else if (window == QLatin1String("column caption"))
        faults = ModalDialogFaults<TColumnCaptionDialog>([](TColumnCaptionDialog& dialog) {
            QString caption;
            dialog.Execute(caption);
        });
    else
        faults = ModalDialogFaults<TSelectCategoryDialog>([](TSelectCategoryDialog& dialog) {
            dialog.Execute({"Books", "A category with a long name"});
        });
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

QStringList TestLayout::MainWindowFaults() {
    QString path;
    auto form = ShowData(*FSandbox, SampleData(), path);
    form->resize(kScreen);
    ClickRow(*form, 0);
    // Save and Cancel show over an edited record.
    TypeIntoBox(FormControls(*form).at(0), QStringLiteral(" changed"));
    const QStringList faults = FaultsOf(*form, {Child<QWidget>(*form, "PanelDataFormHolder2")});
    MessageBoxTesting::QueueAnswer(QMessageBox::No);
    form->close();
    return faults;
}

QStringList TestLayout::ImportWizardFaults(int nextClicks, bool append) {
    const QString workbook = FSandbox->FilePath(QStringLiteral("books.xlsx"));
    if (!WorkbookReader::Write(workbook, {QJsonObject{{"name", "Books"},
                                                      {"rows", QJsonArray{QJsonArray{"Title", "Author"},
                                                                          QJsonArray{"Emma", "Austen"}}}}}))
        return {QStringLiteral("no workbook")};
    TDataFile data = SampleData();
    TImportWizard wizard;
    wizard.Open(data);
    if (append)
        QTest::mouseClick(Child<QRadioButton>(wizard, "AppendChoice"), Qt::LeftButton);
    Advance(wizard, workbook, nextClicks);
    if (!QTest::qWaitForWindowExposed(&wizard))
        return {QStringLiteral("not shown")};
    return FaultsOf(wizard);
}

QStringList TestLayout::ExportWizardFaults(const QString& sheetName) {
    const QString workbook = FSandbox->FilePath(QStringLiteral("books.xlsx"));
    if (!WorkbookReader::Write(workbook, {QJsonObject{{"name", "Books"}, {"rows", QJsonArray{}}}}))
        return {QStringLiteral("no workbook")};
    TDataFile data = SampleData();
    TExportWizard wizard;
    wizard.Open(data, data.Categories[0].get());
    if (!sheetName.isEmpty()) {
        auto* sheet = Child<QLineEdit>(wizard, "LESheetName");
        sheet->selectAll();
        QTest::keyClicks(sheet, sheetName);
        Advance(wizard, workbook, 1);
    }
    if (!QTest::qWaitForWindowExposed(&wizard))
        return {QStringLiteral("not shown")};
    return FaultsOf(wizard);
}

QStringList TestLayout::PrintDialogFaults(bool fields) {
    TPrintOptionsDialog options;
    options.Prepare(true, {QStringLiteral("Title"), QStringLiteral("Author of the book")});
    QWidget* shown = &options;
    if (fields)
        shown = options.findChild<TPrintFieldsDialog*>();
    shown->show();
    if (!QTest::qWaitForWindowExposed(shown))
        return {QStringLiteral("not shown")};
    return FaultsOf(*shown);
}

QStringList TestLayout::TemplateEditorFaults() {
    const TDataFile data = SampleData();
    TDataFile workingCopy;
    workingCopy.BuildWorkingCopy(data);
    TTemplateEditor editor;
    editor.Open(workingCopy);
    if (!QTest::qWaitForWindowExposed(&editor))
        return {QStringLiteral("not shown")};
    QList<const QWidget*> storedPlaces;
    for (const TPaintBox* surface : editor.findChildren<TPaintBox*>())
        storedPlaces.append(surface);
    const QStringList faults = FaultsOf(editor, storedPlaces);
    editor.hide();
    return faults;
}

template <class T> QStringList TestLayout::ModalDialogFaults(const std::function<void(T&)>& execute) {
    QStringList faults{QStringLiteral("not shown")};
    OnNextDialog([&faults](QWidget* widget) {
        if (qobject_cast<T*>(widget) == nullptr)
            return false;
        faults = FaultsOf(*widget);
        QTest::keyClick(widget, Qt::Key_Escape);
        return true;
    });
    T dialog;
    execute(dialog);
    return faults;
}

// The offscreen screen of a small laptop: 800x600 at 96 dots per inch.
int main(int argc, char** argv) {
    QTemporaryDir dir;
    QFile config(dir.filePath(QStringLiteral("screen.json")));
    if (!config.open(QIODevice::WriteOnly) ||
        config.write(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": 800, "height": 600,
                         "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") < 0)
        return 1;
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config.fileName()));
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestLayout test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_layout.moc"
