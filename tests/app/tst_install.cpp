// SPDX-License-Identifier: GPL-3.0-or-later
// "cmake --install" into a temporary folder: the installed tree, the desktop file, the software
// centre entry, the data file type, the manual pages, and the installed program finding its
// templates, icons and help from there with a writable home of its own.

#include "core/DataFile.h"
#include "core/EncryptedFile.h"
#include "help/HelpBrowser.h"
#include "help/HelpWindow.h"
#include "settings/Folders.h"
#include "settings/Settings.h"

#include <QDirIterator>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct TRun {
    int ExitCode = -1;
    QString Output;
    QString Errors;
};

TRun Run(const QString& program, const QStringList& arguments,
         const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    TRun run;
    if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit) {
        run.ExitCode = process.exitCode();
    }
    run.Output = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.Errors = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

} // namespace

class TestInstall : public QObject {
    Q_OBJECT

private:
    QTemporaryDir FPrefix;
    QTemporaryDir FHome;

    QString Installed(const QString& relative) const { return FPrefix.filePath(relative); }

    // The installed program's environment: offscreen, with XDG folders of its own.
    QProcessEnvironment ProgramEnvironment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), FHome.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), FHome.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), FHome.filePath(QStringLiteral("run")));
        return environment;
    }

private slots:
    void initTestCase() {
        QVERIFY(FPrefix.isValid() && FHome.isValid());
        QDir(FHome.path()).mkpath(QStringLiteral("run"));
        // This process looks up data file types in the installed tree first, and keeps its own
        // folders in the scratch home.
        qputenv("XDG_DATA_DIRS",
                (FPrefix.filePath(QStringLiteral("share")) + QStringLiteral(":/usr/share")).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", FHome.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", FHome.filePath(QStringLiteral("data")).toLocal8Bit());
        QFile::setPermissions(FHome.filePath(QStringLiteral("run")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const TRun install = Run(QStringLiteral(QUILLERY_CMAKE),
                                 {QStringLiteral("--install"), QStringLiteral(QUILLERY_BUILD_DIR),
                                  QStringLiteral("--prefix"), FPrefix.path()});
        QVERIFY2(install.ExitCode == 0, qPrintable(install.Output + install.Errors));
    }

    void installedTree_data() {
        QTest::addColumn<QString>("path");
        for (const char* path :
             {"bin/quillery", "bin/quillery-cli", "libexec/quillery/quillery-cli-exchange",
              "share/quillery/Templates/template1.tpl", "share/quillery/Icons/Contacts.png",
              "share/quillery/help/index.html", "share/quillery/help/style.css",
              "share/quillery/help/images/main-window.png", "share/quillery/translations/quillery_de.qm",
              "share/applications/io.github.quillery.Quillery.desktop", "share/mime/packages/quillery.xml",
              "share/metainfo/io.github.quillery.Quillery.metainfo.xml", "share/man/man1/quillery.1.gz",
              "share/man/man1/quillery-cli.1.gz",
              "share/icons/hicolor/scalable/apps/io.github.quillery.Quillery.svg",
              "share/icons/hicolor/48x48/apps/io.github.quillery.Quillery.png",
              "share/icons/hicolor/256x256/apps/io.github.quillery.Quillery.png",
              "share/doc/quillery/copyright", "share/doc/quillery/changelog.gz"}) {
            QTest::newRow(path) << QString::fromLatin1(path);
        }
    }
    void installedTree() {
        QFETCH(QString, path);
        const QFileInfo file(Installed(path));
        QVERIFY2(file.isFile() && file.size() > 0, qPrintable(path));
        if (path.startsWith(QStringLiteral("bin/")) || path.startsWith(QStringLiteral("libexec/"))) {
            QVERIFY(file.isExecutable());
        }
    }

    void everyHelpPageIsInstalled() {
        QDirIterator pages(QStringLiteral(QUILLERY_HELP_SOURCE), QDir::Files, QDirIterator::Subdirectories);
        int count = 0;
        while (pages.hasNext()) {
            const QString relative =
                QDir(QStringLiteral(QUILLERY_HELP_SOURCE)).relativeFilePath(pages.next());
            QVERIFY2(QFileInfo::exists(Installed(QStringLiteral("share/quillery/help/") + relative)),
                     qPrintable(relative));
            ++count;
        }
        QVERIFY(count >= 10);
    }

    void desktopFileValidates() {
        const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        QVERIFY2(!validator.isEmpty(), "desktop-file-validate (desktop-file-utils) is needed");
        const QString desktopFile =
            Installed(QStringLiteral("share/applications/io.github.quillery.Quillery.desktop"));
        const TRun run = Run(validator, {desktopFile});
        QVERIFY2(run.ExitCode == 0 && run.Output.isEmpty(), qPrintable(run.Output + run.Errors));
        // A double-click in a file manager hands the data file to the program.
        QFile desktop(desktopFile);
        QVERIFY(desktop.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = desktop.readAll().split('\n');
        QVERIFY(lines.contains("Exec=quillery %f"));
        QVERIFY(lines.contains("MimeType=application/x-quillery;"));
        QVERIFY(lines.contains("Icon=io.github.quillery.Quillery"));
    }

    void metainfoValidates() {
        const QString validator = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
        if (validator.isEmpty()) {
            QSKIP("appstreamcli is not installed");
        }
        // The installed tree as a whole: the entry and the desktop file it launches. Any error or
        // warning fails.
        const TRun run = Run(validator, {QStringLiteral("validate-tree"), QStringLiteral("--pedantic"),
                                         QStringLiteral("--no-net"), FPrefix.path()});
        QVERIFY2(run.ExitCode == 0, qPrintable(run.Output + run.Errors));
    }

    void dataFilesAreRecognised_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("type");
        // The first bytes of a data file as the program writes it: magic 88888888, version 1.
        QByteArray written;
        {
            QTemporaryDir scratch;
            const QString path = scratch.filePath(QStringLiteral("x.lgd"));
            TDataFile().SaveToFile(path.toStdString());
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            written = file.readAll();
        }
        QCOMPARE(written.left(8), QByteArray::fromHex("38564c0501000000"));
        QTest::newRow("by name") << "cards.lgd" << QByteArray("anything") << "application/x-quillery";
        QTest::newRow("by content") << "cards-backup" << written << "application/x-quillery";
        QTest::newRow("another format version")
            << "notes" << QByteArray::fromHex("38564c0502000000") + written.mid(8)
            << "application/octet-stream";
        // An encrypted file as the program seals it: "QLGCRYPT", container version 1.
        const QByteArray sealed = QByteArray::fromStdString(SealDataFile(written.toStdString(), "secret"));
        QCOMPARE(sealed.left(12), QByteArray("QLGCRYPT") + QByteArray::fromHex("01000000"));
        QTest::newRow("encrypted, by content") << "cards-sealed" << sealed << "application/x-quillery";
        QTest::newRow("another container version")
            << "secrets" << sealed.left(8) + QByteArray::fromHex("02000000") + sealed.mid(12)
            << "application/octet-stream";
    }
    void dataFilesAreRecognised() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, type);
        const QString share = Installed(QStringLiteral("share"));
        if (!QFileInfo::exists(share + QStringLiteral("/mime/mime.cache"))) {
            const TRun update =
                Run(QStringLiteral("update-mime-database"), {share + QStringLiteral("/mime")});
            QVERIFY2(update.ExitCode == 0, qPrintable(update.Output + update.Errors));
        }
        QVERIFY(QFileInfo::exists(share + QStringLiteral("/mime/application/x-quillery.xml")));
        QTemporaryDir folder;
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        // initTestCase put the installed tree first among the data folders.
        QCOMPARE(QMimeDatabase().mimeTypeForFile(file.fileName()).name(), type);
    }

    void manualPagesRender_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("quillery") << "quillery.1.gz"
                                  << QStringList{"quillery - card-file database", "--version",
                                                 "Quillery 1.1.1", "quillery-cli(1)"};
        QTest::newRow("quillery-cli")
            << "quillery-cli.1.gz"
            << QStringList{"quillery-cli - read Quillery data files", "--password-file", "--whole-word",
                           "Quillery 1.1.1", "quillery(1)"};
    }
    void manualPagesRender() {
        QFETCH(QString, page);
        QFETCH(QStringList, texts);
        const QString man = QStandardPaths::findExecutable(QStringLiteral("man"));
        QVERIFY2(!man.isEmpty(), "man (man-db) is needed");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("MANWIDTH"), QStringLiteral("100"));
        environment.insert(QStringLiteral("MAN_KEEP_FORMATTING"), QString());
        const TRun run = Run(man,
                             {QStringLiteral("--warnings"), QStringLiteral("-l"), QStringLiteral("-Tutf8"),
                              Installed(QStringLiteral("share/man/man1/") + page)},
                             environment);
        QVERIFY2(run.ExitCode == 0 && run.Errors.isEmpty(), qPrintable(run.Errors));
        // Plain text: no overstriking for bold and underline.
        QString text = run.Output;
        text.remove(QRegularExpression(QStringLiteral(".\x08")));
        text.replace(QChar(0x2010), QLatin1Char('-')).replace(QChar(0x2212), QLatin1Char('-'));
        for (const QString& expected : texts) {
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" in\n") + text));
        }
    }

    void installedProgramFindsItsFiles() {
        // The program's own folder resolution, from the installed program's folder.
        TFolders::Initialize(Installed(QStringLiteral("bin")));
        QCOMPARE(TFolders::SettingsFilePath(), FHome.filePath(QStringLiteral("config/Quillery/Ledgrin.ini")));
        QCOMPARE(TFolders::DataFolder(), FHome.filePath(QStringLiteral("data/Quillery/Data/")));
        QVERIFY(QFileInfo(TFolders::TemplateFilePath()).isFile());
        TDataFile templates;
        templates.LoadFromFile(TFolders::TemplateFilePath().toStdString());
        QVERIFY(!templates.Categories.empty());
        QVERIFY(!QDir(TFolders::IconsFolder()).entryList({QStringLiteral("*.png")}).isEmpty());
        QVERIFY(QFileInfo(TFolders::TranslationsFolder() + QStringLiteral("quillery_de.qm")).isFile());
        THelpWindow help(TFolders::HelpFolder());
        help.ShowTopics();
        QCOMPARE(help.Browser()->documentTitle(), QStringLiteral("Quillery Help"));
        QVERIFY(help.Browser()->source().toLocalFile().startsWith(
            Installed(QStringLiteral("share/quillery/help/"))));
    }

    void installedProgramRuns() {
        const TRun version = Run(Installed(QStringLiteral("bin/quillery")), {QStringLiteral("--version")});
        QCOMPARE(version.ExitCode, 0);
        QCOMPARE(version.Output, QStringLiteral("Quillery 1.1.1\n"));
        const TRun info = Run(
            Installed(QStringLiteral("bin/quillery-cli")),
            {QStringLiteral("info"), Installed(QStringLiteral("share/quillery/Templates/template1.tpl"))});
        QVERIFY2(info.ExitCode == 0, qPrintable(info.Errors));
        // dump runs in the program that quillery-cli finds in libexec/.
        const TRun dump = Run(
            Installed(QStringLiteral("bin/quillery-cli")),
            {QStringLiteral("dump"), Installed(QStringLiteral("share/quillery/Templates/template1.tpl"))});
        QVERIFY2(dump.ExitCode == 0, qPrintable(dump.Errors));
        QVERIFY(dump.Output.startsWith(QLatin1Char('{')));

        // Started on a data file, the installed program keeps its settings in the XDG home, never
        // beside itself, and stays up with the file open.
        const QString data = FHome.filePath(QStringLiteral("cards.lgd"));
        QVERIFY(QFile::copy(Installed(QStringLiteral("share/quillery/Templates/template1.tpl")), data));
        QProcess program;
        program.setProcessEnvironment(ProgramEnvironment());
        program.start(Installed(QStringLiteral("bin/quillery")), {data});
        QVERIFY(program.waitForStarted());
        const QString settings = FHome.filePath(QStringLiteral("config/Quillery/Ledgrin.ini"));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(settings), 10000);
        QVERIFY(!program.waitForFinished(1500));
        program.kill();
        QVERIFY(program.waitForFinished());
        QCOMPARE(
            QSettings(settings, QSettings::IniFormat).value(QStringLiteral("Ledgrin/DataFile")).toString(),
            data);
        QVERIFY(!QFileInfo::exists(Installed(QStringLiteral("bin/Ledgrin.ini"))));
    }
};

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
