// SPDX-License-Identifier: GPL-3.0-or-later
// Files dropped on the main window: a data file opens as a chosen one does, a spreadsheet starts
// the import wizard with its name filled in, and anything else is refused.

#include "support/WindowTestSupport.h"

#include "exchangewizards/ImportWizard.h"

#include <QAction>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>

using namespace MainTest;

namespace {

// Drags data over the window and drops it there as a file manager would; true when the window
// took the drag (the cursor shows a drop) and the drop.
bool Drop(TMainWindow& form, const QMimeData& data) {
    const QPoint centre = form.rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(&form, &enter);
    QDragMoveEvent move(centre, enter.possibleActions(), &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &move);
    const bool entered = enter.isAccepted() && move.isAccepted();
    if (!entered)
        return false;
    QDropEvent drop(QPointF(centre), enter.possibleActions(), &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &drop);
    // The drop does its work once the drag is over.
    QCoreApplication::processEvents();
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

QMimeData* FilesData(const QStringList& paths) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(path.contains(QStringLiteral("://")) ? QUrl(path) : QUrl::fromLocalFile(path));
    data->setUrls(urls);
    return data;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestFileDrops : public TWindowTest {
    Q_OBJECT

    QString FPath;

    std::unique_ptr<TMainWindow> ShowCards() {
        TDataFile data;
        AddRecord(*AddCategory(data, "Books", {"Title"}), {"Emma"});
        return ShowData(*FSandbox, data, FPath);
    }

private slots:
    void whatADropDoes_data() {
        QTest::addColumn<QStringList>("dropped"); // names in the test's folder, or a URL
        QTest::addColumn<QString>("does");        // "open", "import" or "nothing" (refused)
        QTest::newRow("data file") << QStringList{"other.lgd"} << QStringLiteral("open");
        QTest::newRow("data file, capital extension") << QStringList{"OTHER.LGD"} << QStringLiteral("open");
        QTest::newRow("xlsx workbook") << QStringList{"sheet.xlsx"} << QStringLiteral("import");
        QTest::newRow("xls workbook") << QStringList{"sheet.xls"} << QStringLiteral("import");
        QTest::newRow("ods workbook") << QStringList{"sheet.ods"} << QStringLiteral("import");
        QTest::newRow("csv file") << QStringList{"sheet.csv"} << QStringLiteral("import");
        QTest::newRow("text file") << QStringList{"notes.txt"} << QStringLiteral("nothing");
        QTest::newRow("no extension") << QStringList{"lgd"} << QStringLiteral("nothing");
        QTest::newRow("two data files") << QStringList{"other.lgd", "more.lgd"} << QStringLiteral("nothing");
        QTest::newRow("data file and workbook")
            << QStringList{"other.lgd", "sheet.xlsx"} << QStringLiteral("nothing");
        QTest::newRow("folder named like a data file")
            << QStringList{"folder.lgd/"} << QStringLiteral("nothing");
        QTest::newRow("missing data file") << QStringList{"missing/gone.lgd"} << QStringLiteral("nothing");
        QTest::newRow("remote file") << QStringList{"https://example.org/cards.lgd"}
                                     << QStringLiteral("nothing");
    }
    void whatADropDoes() {
        QFETCH(QStringList, dropped);
        QFETCH(QString, does);
        auto form = ShowCards();
        QStringList paths;
        for (const QString& name : dropped) {
            if (name.contains(QStringLiteral("://"))) {
                paths.append(name);
                continue;
            }
            paths.append(FSandbox->FilePath(name));
            if (name.endsWith(QLatin1Char('/'))) {
                QDir().mkpath(paths.last());
            } else if (name.endsWith(QStringLiteral(".lgd"), Qt::CaseInsensitive)) {
                if (!name.startsWith(QStringLiteral("missing/"))) {
                    TDataFile other;
                    AddCategory(other, "Films", {"Title"});
                    SaveData(other, paths.last());
                }
            } else {
                WriteFile(paths.last(), "a,b\r\n");
            }
        }
        auto importedName = std::make_shared<QString>();
        if (does == QStringLiteral("import")) {
            OnNextDialog([importedName](QWidget* widget) {
                if (qobject_cast<TImportWizard*>(widget) == nullptr)
                    return false;
                *importedName = Child<QLineEdit>(*widget, "LEFileName")->text();
                QTest::mouseClick(Child<QPushButton>(*widget, "BtnCancel"), Qt::LeftButton);
                return true;
            });
        }
        const std::unique_ptr<QMimeData> data(FilesData(paths));
        QCOMPARE(Drop(*form, *data), does != QStringLiteral("nothing"));
        if (does == QStringLiteral("import"))
            QTRY_COMPARE(*importedName, paths.constFirst());
        QCOMPARE(Session(*form).Path(), does == QStringLiteral("open") ? paths.constFirst() : FPath);
        QVERIFY(Session(*form).Opened());
        QCOMPARE(ReadSetting(QStringLiteral("DataFile")), Session(*form).Path());
        // The import was cancelled: the data is as it was.
        QCOMPARE(Session(*form).DataFile().Categories.size(), size_t(1));
        QVERIFY(form->close());
    }

    // A dropped data file asks about the edited record first, as choosing one does.
    void droppedDataFileOverAnEditedRecord_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("stored");
        QTest::newRow("save") << int(QMessageBox::Yes) << true << QStringLiteral("Emma!");
        QTest::newRow("discard") << int(QMessageBox::No) << true << QStringLiteral("Emma");
        QTest::newRow("cancel") << int(QMessageBox::Cancel) << false << QStringLiteral("Emma");
    }
    void droppedDataFileOverAnEditedRecord() {
        QFETCH(int, answer);
        QFETCH(bool, opens);
        QFETCH(QString, stored);
        auto form = ShowCards();
        const QString other = FSandbox->FilePath(QStringLiteral("other.lgd"));
        SaveData(TDataFile(), other);
        TypeIntoBox(FormControls(*form).at(0), QStringLiteral("!"));
        MessageBoxTesting::QueueAnswer(static_cast<QMessageBox::StandardButton>(answer));
        const std::unique_ptr<QMimeData> data(FilesData({other}));
        QVERIFY(Drop(*form, *data));
        QCOMPARE(ShownBoxTexts(), QStringList{"Record modified, would you like to save?"});
        QCOMPARE(Session(*form).Path(), opens ? other : FPath);
        if (opens) {
            QCOMPARE(LoadData(FPath).Categories[0]->Records[0]->Value(0),
                     std::string_view(stored.toStdString()));
            QVERIFY(form->close());
        } else {
            QVERIFY(RecordForm(*form).Modified());
            MessageBoxTesting::QueueAnswer(QMessageBox::No); // the edits, on closing
            QVERIFY(form->close());
            MessageBoxTesting::TakeShown();
        }
    }

    // While no data file is open there is nothing to import into: a workbook is refused, a data
    // file still opens.
    void withoutADataFileOnlyDataFilesAreTaken() {
        const QString broken = FSandbox->FilePath(QStringLiteral("broken.lgd"));
        WriteFile(broken, "not a data file");
        WriteSetting(QStringLiteral("DataFile"), broken);
        MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        auto form = ShowForm();
        QCOMPARE(MessageBoxTesting::TakeShown().size(), 1);
        QVERIFY(!Session(*form).Opened());
        const QString sheet = FSandbox->FilePath(QStringLiteral("sheet.csv"));
        WriteFile(sheet, "a,b\r\n");
        const std::unique_ptr<QMimeData> workbook(FilesData({sheet}));
        QVERIFY(!Drop(*form, *workbook));

        const QString other = FSandbox->FilePath(QStringLiteral("other.lgd"));
        SaveData(TDataFile(), other);
        const std::unique_ptr<QMimeData> dataFile(FilesData({other}));
        QVERIFY(Drop(*form, *dataFile));
        QVERIFY(Session(*form).Opened());
        QCOMPARE(Session(*form).Path(), other);
        QVERIFY(form->close());
    }
};

QTEST_MAIN(TestFileDrops)
#include "tst_filedrops.moc"
