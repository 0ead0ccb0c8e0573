// SPDX-License-Identifier: GPL-3.0-or-later
// File > Open Recent: the data files opened last, most recent first, kept in the settings file;
// files that are gone, Clear List, and files that fail to open, which are never remembered.

#include "support/WindowTestSupport.h"

#include "core/Password.h"
#include "ui/dialogs/FileDialogs.h"

#include <QAction>
#include <QMenu>

using namespace MainTest;

namespace {

// Opens the File menu as a user does, so the recent items are made afresh, and returns Open Recent.
QMenu* RecentMenu(const TMainWindow& form) {
    auto* file = Child<QMenu>(form, "MenuFile");
    file->popup(QPoint(0, 0));
    file->hide();
    return Child<QMenu>(form, "MenuOpenRecent");
}

QList<QAction*> RecentItems(const TMainWindow& form) {
    QList<QAction*> items;
    for (QAction* action : RecentMenu(form)->actions()) {
        if (action->objectName().startsWith(QStringLiteral("ActionRecentFile")))
            items.append(action);
    }
    return items;
}

// The full paths the recent items stand for, top to bottom.
QStringList RecentPaths(const TMainWindow& form) {
    QStringList paths;
    for (const QAction* item : RecentItems(form))
        paths.append(item->statusTip());
    return paths;
}

QStringList RecentCaptions(const TMainWindow& form) {
    QStringList captions;
    for (const QAction* item : RecentItems(form))
        captions.append(item->text());
    return captions;
}

QStringList MissingPaths(const TMainWindow& form) {
    QStringList paths;
    for (const QAction* item : RecentItems(form)) {
        if (!item->isEnabled())
            paths.append(item->statusTip());
    }
    return paths;
}

QAction* RecentCommand(const TMainWindow& form, const char* name) {
    return Child<QAction>(*RecentMenu(form), name);
}

} // namespace

class TestRecentFiles : public TWindowTest {
    Q_OBJECT

    QString FPath;

    QString PathOf(const QString& name) const { return FSandbox->FilePath(name + QStringLiteral(".lgd")); }
    QStringList PathsOf(const QStringList& names) const {
        QStringList paths;
        for (const QString& name : names)
            paths.append(name == QStringLiteral("cards") ? FPath : PathOf(name));
        return paths;
    }
    // A data file of one category named after the file.
    void MakeFile(const QString& name) {
        TDataFile data;
        AddCategory(data, name.toStdString(), {"Title"});
        SaveData(data, PathOf(name));
    }
    // The window on cards.lgd, a category of one record shown in the form.
    std::unique_ptr<TMainWindow> ShowCards() {
        TDataFile data;
        AddRecord(*AddCategory(data, "Books", {"Title"}), {"Emma"});
        return ShowData(*FSandbox, data, FPath);
    }
    static void Choose(TMainWindow& form, const QString& path) {
        FileDialogTesting::QueueResult(path);
        Trigger(form, "ActionChooseDataFile");
    }

private slots:
    void openedFilesAreListedLatestFirst_data() {
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("one more") << QStringList{"a"} << QStringList{"a", "cards"};
        QTest::newRow("latest first") << QStringList{"a", "b", "c"} << QStringList{"c", "b", "a", "cards"};
        QTest::newRow("again goes to the top")
            << QStringList{"a", "b", "a"} << QStringList{"a", "b", "cards"};
        QTest::newRow("the open file again") << QStringList{"cards"} << QStringList{"cards"};
        QTest::newRow("another spelling of a listed file")
            << QStringList{"a", "b", "sub/../a"} << QStringList{"a", "b", "cards"};
        QTest::newRow("eight at most") << QStringList{"f1", "f2", "f3", "f4", "f5", "f6", "f7", "f8", "f9"}
                                       << QStringList{"f9", "f8", "f7", "f6", "f5", "f4", "f3", "f2"};
    }
    void openedFilesAreListedLatestFirst() {
        QFETCH(QStringList, opened);
        QFETCH(QStringList, listed);
        QDir().mkpath(FSandbox->FilePath(QStringLiteral("sub")));
        auto form = ShowCards();
        // Right after the command that opens a data file.
        const QList<QAction*> fileItems = Child<QMenu>(*form, "MenuFile")->actions();
        QCOMPARE(fileItems.at(0)->objectName(), QStringLiteral("ActionChooseDataFile"));
        QCOMPARE(fileItems.at(1)->menu(), Child<QMenu>(*form, "MenuOpenRecent"));
        QCOMPARE(fileItems.at(1)->text(), QStringLiteral("Open &Recent"));
        QCOMPARE(RecentPaths(*form), QStringList{FPath});

        for (const QString& name : opened) {
            if (name != QStringLiteral("cards") && !name.contains(QLatin1Char('/')))
                MakeFile(name);
            Choose(*form, name == QStringLiteral("cards") ? FPath : PathOf(name));
            QVERIFY(Session(*form).Opened());
        }
        QCOMPARE(RecentPaths(*form), PathsOf(listed));
        // Numbered for the keyboard, each with its path.
        QStringList captions;
        for (const QString& path : PathsOf(listed))
            captions.append(QStringLiteral("&%1 %2").arg(captions.size() + 1).arg(path));
        QCOMPARE(RecentCaptions(*form), captions);
        QVERIFY(MissingPaths(*form).isEmpty());
        QVERIFY(RecentMenu(*form)->isEnabled());
        QVERIFY(!RecentCommand(*form, "ActionRemoveMissingFiles")->isEnabled());
        QVERIFY(form->close());

        // The next start shows the same list and opens the file opened last.
        QCOMPARE(QDir::cleanPath(ReadSetting(QStringLiteral("DataFile"))), PathsOf(listed).constFirst());
        auto next = ShowForm();
        QCOMPARE(QDir::cleanPath(Session(*next).Path()), PathsOf(listed).constFirst());
        QCOMPARE(RecentPaths(*next), PathsOf(listed));
        QVERIFY(next->close());
    }

    void aRecentFileOpensAsAChosenOneDoes_data() {
        QTest::addColumn<bool>("edited");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("stored");
        QTest::newRow("no edits") << false << int(QMessageBox::NoButton) << true << QStringLiteral("Emma");
        QTest::newRow("edits saved first")
            << true << int(QMessageBox::Yes) << true << QStringLiteral("Emma!");
        QTest::newRow("edits dropped") << true << int(QMessageBox::No) << true << QStringLiteral("Emma");
        QTest::newRow("cancelled") << true << int(QMessageBox::Cancel) << false << QStringLiteral("Emma");
    }
    void aRecentFileOpensAsAChosenOneDoes() {
        QFETCH(bool, edited);
        QFETCH(int, answer);
        QFETCH(bool, opens);
        QFETCH(QString, stored);
        MakeFile(QStringLiteral("a"));
        auto form = ShowCards();
        Choose(*form, PathOf(QStringLiteral("a")));
        Choose(*form, FPath);
        ShowRememberedCategory(*form);
        QCOMPARE(RecentPaths(*form), PathsOf({"cards", "a"}));
        if (edited) {
            TypeIntoBox(FormControls(*form).at(0), QStringLiteral("!"));
            MessageBoxTesting::QueueAnswer(static_cast<QMessageBox::StandardButton>(answer));
        }
        RecentItems(*form).at(1)->trigger();
        QCOMPARE(ShownBoxTexts(),
                 edited ? QStringList{"Record modified, would you like to save?"} : QStringList());
        QCOMPARE(Session(*form).Path(), opens ? PathOf(QStringLiteral("a")) : FPath);
        QCOMPARE(form->windowTitle(),
                 opens ? QStringLiteral("Quillery - a.lgd") : QStringLiteral("Quillery - cards.lgd"));
        QCOMPARE(ReadSetting(QStringLiteral("DataFile")), Session(*form).Path());
        QCOMPARE(RecentPaths(*form), PathsOf(opens ? QStringList{"a", "cards"} : QStringList{"cards", "a"}));
        QCOMPARE(LoadData(FPath).Categories[0]->Records[0]->Value(0), std::string_view(stored.toStdString()));
        QCOMPARE(RecordForm(*form).Modified(), !opens);
        if (!opens)
            MessageBoxTesting::QueueAnswer(QMessageBox::No); // the edits, on closing
        QVERIFY(form->close());
        MessageBoxTesting::TakeShown();
    }

    // A file deleted since it was opened shows greyed out; Remove Missing Files takes every such file
    // from the list, here and for the next start.
    void missingFilesAreGreyedAndCanBeRemoved() {
        for (const char* name : {"a", "b", "c"})
            MakeFile(QString::fromLatin1(name));
        auto form = ShowCards();
        for (const char* name : {"a", "b", "c"})
            Choose(*form, PathOf(QString::fromLatin1(name)));
        QVERIFY(QFile::remove(PathOf(QStringLiteral("a"))));
        QVERIFY(QFile::remove(PathOf(QStringLiteral("b"))));
        QCOMPARE(RecentPaths(*form), PathsOf({"c", "b", "a", "cards"}));
        QCOMPARE(MissingPaths(*form), PathsOf({"b", "a"}));
        QAction* removeMissing = RecentCommand(*form, "ActionRemoveMissingFiles");
        QVERIFY(removeMissing->isEnabled());
        removeMissing->trigger();
        QCOMPARE(RecentPaths(*form), PathsOf({"c", "cards"}));
        QVERIFY(MissingPaths(*form).isEmpty());
        QVERIFY(!RecentCommand(*form, "ActionRemoveMissingFiles")->isEnabled());
        QCOMPARE(Session(*form).Path(), PathOf(QStringLiteral("c")));
        QVERIFY(form->close());
        auto next = ShowForm();
        QCOMPARE(RecentPaths(*next), PathsOf({"c", "cards"}));
        QVERIFY(next->close());
    }

    // A file that goes while its item is still offered is not opened; the user may drop it from the list.
    void choosingAFileThatIsGoneOffersToRemoveIt_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("removed") << int(QMessageBox::Yes) << QStringList{"b", "cards"};
        QTest::newRow("kept") << int(QMessageBox::No) << QStringList{"b", "a", "cards"};
    }
    void choosingAFileThatIsGoneOffersToRemoveIt() {
        QFETCH(int, answer);
        QFETCH(QStringList, listed);
        MakeFile(QStringLiteral("a"));
        MakeFile(QStringLiteral("b"));
        auto form = ShowCards();
        Choose(*form, PathOf(QStringLiteral("a")));
        Choose(*form, PathOf(QStringLiteral("b")));
        QAction* item = RecentItems(*form).at(1);
        QVERIFY(item->isEnabled());
        QVERIFY(QFile::remove(PathOf(QStringLiteral("a"))));
        MessageBoxTesting::QueueAnswer(static_cast<QMessageBox::StandardButton>(answer));
        item->trigger();
        const auto boxes = MessageBoxTesting::TakeShown();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].Text, QStringLiteral("The data file %1 no longer exists.\r\n\r\nRemove it from the "
                                               "recent files?")
                                    .arg(PathOf(QStringLiteral("a"))));
        QCOMPARE(Session(*form).Path(), PathOf(QStringLiteral("b")));
        QCOMPARE(RecentPaths(*form), PathsOf(listed));
        QVERIFY(form->close());
    }

    void clearListEmptiesItForGood() {
        MakeFile(QStringLiteral("a"));
        auto form = ShowCards();
        Choose(*form, PathOf(QStringLiteral("a")));
        QCOMPARE(RecentPaths(*form).size(), 2);
        RecentCommand(*form, "ActionClearRecentFiles")->trigger();
        QVERIFY(RecentPaths(*form).isEmpty());
        QVERIFY(!RecentMenu(*form)->isEnabled());
        for (int i = 1; i <= 8; ++i)
            QVERIFY(!HasSetting(QStringLiteral("RecentFile%1").arg(i)));
        // The open file stays the one the next start opens, and heads the list again once opened.
        QCOMPARE(ReadSetting(QStringLiteral("DataFile")), PathOf(QStringLiteral("a")));
        QVERIFY(form->close());
        auto next = ShowForm();
        QCOMPARE(RecentPaths(*next), PathsOf({"a"}));
        QVERIFY(next->close());
    }

    // A file that does not open is neither listed nor remembered for the next start.
    void aFileThatFailsToOpenIsNotRemembered_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("failure");
        QTest::newRow("chosen, damaged") << QStringLiteral("choose") << QStringLiteral("damaged");
        QTest::newRow("chosen, password cancelled") << QStringLiteral("choose") << QStringLiteral("password");
        QTest::newRow("recent, damaged since") << QStringLiteral("recent") << QStringLiteral("damaged");
        QTest::newRow("handed over, damaged") << QStringLiteral("handover") << QStringLiteral("damaged");
    }
    void aFileThatFailsToOpenIsNotRemembered() {
        QFETCH(QString, route);
        QFETCH(QString, failure);
        const QString bad = PathOf(QStringLiteral("bad"));
        MakeFile(QStringLiteral("bad"));
        auto form = ShowCards();
        if (route == QStringLiteral("recent")) {
            Choose(*form, bad);
            Choose(*form, FPath);
        }
        const QStringList listed = RecentPaths(*form);
        if (failure == QStringLiteral("damaged")) {
            QFile file(bad);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not a data file");
            file.close();
            MessageBoxTesting::QueueAnswer(QMessageBox::Ok);
        } else {
            TDataFile secret;
            secret.PasswordDigest = PasswordDigest("secret");
            SaveData(secret, bad);
            AnswerCheckPassword(QString(), true);
        }
        if (route == QStringLiteral("choose"))
            Choose(*form, bad);
        else if (route == QStringLiteral("recent"))
            RecentItems(*form).at(1)->trigger();
        else
            QVERIFY(!form->OpenFile(bad));
        MessageBoxTesting::TakeShown();
        QVERIFY(!Session(*form).Opened());
        QCOMPARE(ReadSetting(QStringLiteral("DataFile")), FPath);
        QCOMPARE(RecentPaths(*form), listed);
        QVERIFY(form->close());
    }
};

QTEST_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
