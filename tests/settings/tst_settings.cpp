// SPDX-License-Identifier: GPL-3.0-or-later
// The program's folders and its settings file "Ledgrin.ini".

#include "settings/Folders.h"
#include "settings/Settings.h"
#include "support/ActingUser.h"

#include <QtTest>

#include <limits>

namespace {

QString Slashed(const QString& path) {
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

bool CanCreateFileIn(const QString& folder) {
    QFile probe(folder + QStringLiteral("/probe"));
    if (!probe.open(QIODevice::WriteOnly))
        return false;
    probe.remove();
    return true;
}

void WriteText(const QString& path, const QByteArray& text) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(text), text.size());
}

} // namespace

class TestGlobal : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void testingLayout();
    void writableProgramFolder_data();
    void writableProgramFolder();
    void readOnlyProgramFolder_data();
    void readOnlyProgramFolder();
    void installedLayout_data();
    void installedLayout();
    void xdgFoldersFollowTheEnvironment();
    void initializeResetsPrintListFont();

    void stringRoundTrip_data();
    void stringRoundTrip();
    void integerRoundTrip_data();
    void integerRoundTrip();
    void readInteger_data();
    void readInteger();
    void missingFileGivesDefaults();
    void handWrittenFile();
    void otherKeysSurviveAWrite();

private:
    QTemporaryDir FHome;
    QTemporaryDir FRoot;
    QString FDataHome;
    QString FConfigHome;
};

void TestGlobal::initTestCase() {
    QVERIFY(FHome.isValid());
    FDataHome = FHome.filePath(QStringLiteral("xdg-data"));
    FConfigHome = FHome.filePath(QStringLiteral("xdg-config"));
    // Nothing here may touch the real home folder.
    qputenv("XDG_DATA_HOME", FDataHome.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", FConfigHome.toLocal8Bit());
}

void TestGlobal::init() {
    QVERIFY(FRoot.isValid());
    TFolders::InitializeForTesting(FRoot.path());
    QFile::remove(TFolders::SettingsFilePath());
}

void TestGlobal::testingLayout() {
    const QString root = FRoot.path();
    const QString program = root + QStringLiteral("/program/");
    QCOMPARE(TFolders::ProgramFolder(), program);
    QCOMPARE(TFolders::SettingsFilePath(), program + QStringLiteral("Ledgrin.ini"));
    QCOMPARE(TFolders::DataFolder(), program + QStringLiteral("Data/"));
    QCOMPARE(TFolders::BackupFolder(), program + QStringLiteral("Backup/"));
    QCOMPARE(TFolders::TemplatesFolder(), program + QStringLiteral("Templates/"));
    QCOMPARE(TFolders::TemplateFilePath(), program + QStringLiteral("Templates/template1.tpl"));
    QCOMPARE(TFolders::IconsFolder(), program + QStringLiteral("Icons/"));
    QCOMPARE(TFolders::HelpFolder(), program + QStringLiteral("help/"));
    QCOMPARE(TFolders::AppDataFolder(), root + QStringLiteral("/appdata/Quillery/"));
    QCOMPARE(TFolders::TempFolder(), root + QStringLiteral("/appdata/Quillery/Temp/"));
    QVERIFY(QFileInfo(program).isDir());
    QVERIFY(QFileInfo(TFolders::AppDataFolder()).isDir());
    QVERIFY(QFileInfo(TFolders::TempFolder()).isDir());
    // Data and Backup are made by the dialogs that need them, not at start.
    QVERIFY(!QFileInfo::exists(TFolders::DataFolder()));
    QVERIFY(!QFileInfo::exists(TFolders::BackupFolder()));
}

void TestGlobal::writableProgramFolder_data() {
    QTest::addColumn<bool>("trailingSlash");
    QTest::newRow("no trailing slash") << false;
    QTest::newRow("trailing slash") << true;
}

void TestGlobal::writableProgramFolder() {
    QFETCH(bool, trailingSlash);
    QTemporaryDir exeDir;
    QVERIFY(exeDir.isValid());
    TFolders::Initialize(trailingSlash ? exeDir.path() + QLatin1Char('/') : exeDir.path());

    const QString program = exeDir.path() + QLatin1Char('/');
    QCOMPARE(TFolders::ProgramFolder(), program);
    QCOMPARE(TFolders::SettingsFilePath(), program + QStringLiteral("Ledgrin.ini"));
    QCOMPARE(TFolders::DataFolder(), program + QStringLiteral("Data/"));
    QCOMPARE(TFolders::BackupFolder(), program + QStringLiteral("Backup/"));
    QCOMPARE(TFolders::TemplateFilePath(), program + QStringLiteral("Templates/template1.tpl"));
    QCOMPARE(TFolders::IconsFolder(), program + QStringLiteral("Icons/"));
    QCOMPARE(TFolders::HelpFolder(), program + QStringLiteral("help/"));
    QCOMPARE(TFolders::AppDataFolder(), FDataHome + QStringLiteral("/Quillery/"));
    QCOMPARE(TFolders::TempFolder(), FDataHome + QStringLiteral("/Quillery/Temp/"));
    QVERIFY(QFileInfo(TFolders::TempFolder()).isDir());
    // The probe that found the folder writable leaves nothing behind.
    QCOMPARE(QDir(exeDir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());

    {
        TSettingsFile settings;
        settings.WriteString(QStringLiteral("DataFile"), QStringLiteral("/x.lgd"));
        QVERIFY(settings.Flush());
    }
    QVERIFY(QFileInfo::exists(program + QStringLiteral("Ledgrin.ini")));
}

void TestGlobal::readOnlyProgramFolder_data() {
    QTest::addColumn<QString>("folder");
    // A folder whose write permission is removed, and one no user can create files in.
    QTest::newRow("write permission removed") << QString();
    QTest::newRow("proc file system") << QStringLiteral("/proc");
}

void TestGlobal::readOnlyProgramFolder() {
    QFETCH(QString, folder);
    QTemporaryDir exeDir;
    QVERIFY(exeDir.isValid());
    if (folder.isEmpty()) {
        folder = exeDir.path();
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(GiveToUnprivilegedUser(folder));
    }
    bool enforced = false;
    {
        const TActingUser plainUser;
        if (!plainUser.Problem().isEmpty())
            QSKIP(qPrintable(plainUser.Problem()));
        enforced = !CanCreateFileIn(folder);
        if (enforced)
            TFolders::Initialize(folder);
    }
    QFile::setPermissions(exeDir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!enforced)
        QSKIP("This user can create files in the folder anyway (root ignores permissions).");

    const QString appData = FDataHome + QStringLiteral("/Quillery/");
    const QString share = Slashed(QStringLiteral(QUILLERY_SHARE_DIR));
    QCOMPARE(TFolders::ProgramFolder(), Slashed(folder));
    QCOMPARE(TFolders::SettingsFilePath(), FConfigHome + QStringLiteral("/Quillery/Ledgrin.ini"));
    QCOMPARE(TFolders::DataFolder(), appData + QStringLiteral("Data/"));
    QCOMPARE(TFolders::BackupFolder(), appData + QStringLiteral("Backup/"));
    QCOMPARE(TFolders::TemplateFilePath(), share + QStringLiteral("Templates/template1.tpl"));
    QCOMPARE(TFolders::IconsFolder(), share + QStringLiteral("Icons/"));
    QCOMPARE(TFolders::HelpFolder(), share + QStringLiteral("help/"));
    QCOMPARE(TFolders::AppDataFolder(), appData);
    QCOMPARE(TFolders::TempFolder(), appData + QStringLiteral("Temp/"));

    // The settings file is written where the folder says, its folder made on the way.
    {
        TSettingsFile settings;
        settings.WriteInteger(QStringLiteral("SelectedCategoryID"), 4);
        QVERIFY(settings.Flush());
    }
    QVERIFY(QFileInfo::exists(FConfigHome + QStringLiteral("/Quillery/Ledgrin.ini")));
    QCOMPARE(TSettingsFile().ReadInteger(QStringLiteral("SelectedCategoryID"), 0), 4);
    QVERIFY(QFile::remove(TFolders::SettingsFilePath()));
}

void TestGlobal::installedLayout_data() {
    QTest::addColumn<QString>("binFolder");
    QTest::addColumn<QString>("shareFolder");
    QTest::newRow("prefix") << QStringLiteral("bin") << QStringLiteral("share/quillery");
    QTest::newRow("path with blanks")
        << QStringLiteral("My Apps/bin") << QStringLiteral("My Apps/share/quillery");
    // A share folder that only looks similar is no installed layout: the copy stays portable.
    QTest::newRow("other share") << QStringLiteral("bin") << QStringLiteral("share/other");
}

void TestGlobal::installedLayout() {
    QFETCH(QString, binFolder);
    QFETCH(QString, shareFolder);
    // A writable prefix (a package built here, an install into ~/.local) is still an installed
    // copy: its settings never land in the bin folder.
    QTemporaryDir prefix;
    QVERIFY(prefix.isValid());
    QVERIFY(QDir(prefix.path()).mkpath(binFolder));
    QVERIFY(QDir(prefix.path()).mkpath(shareFolder));
    const QString program = prefix.filePath(binFolder) + QLatin1Char('/');
    TFolders::Initialize(program);

    const bool installed = shareFolder.endsWith(QStringLiteral("/quillery"));
    const QString share = installed ? prefix.filePath(shareFolder) + QLatin1Char('/') : program;
    const QString settingsFolder = installed ? FConfigHome + QStringLiteral("/Quillery/") : program;
    const QString dataParent = installed ? FDataHome + QStringLiteral("/Quillery/") : program;
    QCOMPARE(TFolders::ProgramFolder(), program);
    QCOMPARE(TFolders::SettingsFilePath(), settingsFolder + QStringLiteral("Ledgrin.ini"));
    QCOMPARE(TFolders::DataFolder(), dataParent + QStringLiteral("Data/"));
    QCOMPARE(TFolders::TemplateFilePath(), share + QStringLiteral("Templates/template1.tpl"));
    QCOMPARE(TFolders::IconsFolder(), share + QStringLiteral("Icons/"));
    QCOMPARE(TFolders::HelpFolder(), share + QStringLiteral("help/"));
}

void TestGlobal::xdgFoldersFollowTheEnvironment() {
    QTemporaryDir exeDir;
    QTemporaryDir other;
    QVERIFY(exeDir.isValid() && other.isValid());
    qputenv("XDG_DATA_HOME", other.path().toLocal8Bit());
    TFolders::Initialize(exeDir.path());
    qputenv("XDG_DATA_HOME", FDataHome.toLocal8Bit());
    QCOMPARE(TFolders::AppDataFolder(), other.path() + QStringLiteral("/Quillery/"));
    QVERIFY(QFileInfo(other.path() + QStringLiteral("/Quillery/Temp")).isDir());
}

void TestGlobal::initializeResetsPrintListFont() {
    PrintListFont().Name = QStringLiteral("Courier");
    PrintListFont().Size = 14;
    TFolders::InitializeForTesting(FRoot.path());
    QCOMPARE(PrintListFont().Name, QStringLiteral("Arial"));
    QCOMPARE(PrintListFont().Size, 9);
}

void TestGlobal::stringRoundTrip_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("path") << QStringLiteral("/home/ann/Data/cards.lgd");
    QTest::newRow("blanks and commas") << QStringLiteral("/home/ann/My Data, old/cards.lgd");
    QTest::newRow("accents") << QStringLiteral("/home/zoë/Données/fiches.lgd");
    QTest::newRow("ini syntax") << QStringLiteral("a=b;c#d[e]\"f\\g");
    QTest::newRow("leading and trailing blanks") << QStringLiteral("  x  ");
    QTest::newRow("empty") << QString();
}

void TestGlobal::stringRoundTrip() {
    QFETCH(QString, value);
    {
        TSettingsFile settings;
        settings.WriteString(QStringLiteral("DataFile"), value);
        settings.WriteString(QStringLiteral("BackupDataFile"), QStringLiteral("after"));
    }
    TSettingsFile settings;
    QCOMPARE(settings.ReadString(QStringLiteral("DataFile"), QStringLiteral("missing")), value);
    QCOMPARE(settings.ReadString(QStringLiteral("BackupDataFile")), QStringLiteral("after"));

    QFile file(TFolders::SettingsFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("[Ledgrin]\n"));
}

void TestGlobal::integerRoundTrip_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("zero") << 0 << QByteArray("PanelLeftWidth=0\n");
    QTest::newRow("width") << 97 << QByteArray("PanelLeftWidth=97\n");
    QTest::newRow("negative") << -3 << QByteArray("PanelLeftWidth=-3\n");
    QTest::newRow("largest") << std::numeric_limits<int>::max() << QByteArray("PanelLeftWidth=2147483647\n");
    QTest::newRow("smallest") << std::numeric_limits<int>::min()
                              << QByteArray("PanelLeftWidth=-2147483648\n");
}

void TestGlobal::integerRoundTrip() {
    QFETCH(int, value);
    QFETCH(QByteArray, line);
    {
        TSettingsFile settings;
        settings.WriteInteger(QStringLiteral("PanelLeftWidth"), value);
        QVERIFY(settings.Flush());
    }
    QFile file(TFolders::SettingsFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains(line));
    QCOMPARE(TSettingsFile().ReadInteger(QStringLiteral("PanelLeftWidth"), 12345), value);
}

void TestGlobal::readInteger_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    const int fallback = 55;
    QTest::newRow("plain") << QStringLiteral("145") << 145;
    QTest::newRow("negative") << QStringLiteral("-3") << -3;
    QTest::newRow("plus sign") << QStringLiteral("+8") << 8;
    QTest::newRow("leading zeros") << QStringLiteral("007") << 7;
    QTest::newRow("trailing letter") << QStringLiteral("12x") << fallback;
    QTest::newRow("empty") << QString() << fallback;
    QTest::newRow("leading blank") << QStringLiteral(" 7") << fallback;
    QTest::newRow("trailing blank") << QStringLiteral("7 ") << fallback;
    QTest::newRow("sign only") << QStringLiteral("-") << fallback;
    QTest::newRow("hexadecimal") << QStringLiteral("0x10") << fallback;
    QTest::newRow("decimal point") << QStringLiteral("1.5") << fallback;
    QTest::newRow("list") << QStringLiteral("1,2") << fallback;
    QTest::newRow("too large") << QStringLiteral("2147483648") << fallback;
    QTest::newRow("too small") << QStringLiteral("-2147483649") << fallback;
    QTest::newRow("arabic-indic digits") << QStringLiteral("\u0661\u0662") << fallback;
    QTest::newRow("fullwidth digits") << QStringLiteral("\uFF11\uFF12") << fallback;
}

void TestGlobal::readInteger() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    TSettingsFile().WriteString(QStringLiteral("SelectedCategoryID"), text);
    QCOMPARE(TSettingsFile().ReadInteger(QStringLiteral("SelectedCategoryID"), 55), expected);
}

void TestGlobal::missingFileGivesDefaults() {
    QVERIFY(!QFileInfo::exists(TFolders::SettingsFilePath()));
    {
        const TSettingsFile settings;
        QCOMPARE(settings.ReadString(QStringLiteral("DataFile")), QString());
        QCOMPARE(settings.ReadString(QStringLiteral("PrintListFontName"), QStringLiteral("Arial")),
                 QStringLiteral("Arial"));
        QCOMPARE(settings.ReadInteger(QStringLiteral("SelectedCategoryID"), 0), 0);
        QCOMPARE(settings.ReadInteger(QStringLiteral("PrintListFontSize"), 9), 9);
    }
    // Reading alone creates no file.
    QVERIFY(!QFileInfo::exists(TFolders::SettingsFilePath()));
}

void TestGlobal::handWrittenFile() {
    WriteText(TFolders::SettingsFilePath(), "; edited by hand\r\n"
                                            "[Other]\r\n"
                                            "DataFile=/wrong.lgd\r\n"
                                            "[Ledgrin]\r\n"
                                            "DataFile=/home/ann/My cards.lgd\r\n"
                                            "PanelLeftWidth=120\r\n"
                                            "ListView1Height=12x\r\n"
                                            "SelectedCategoryID=\r\n"
                                            "PrintListFontName=Courier New\r\n"
                                            "PrintListFontSize=11\r\n");
    const TSettingsFile settings;
    QCOMPARE(settings.ReadString(QStringLiteral("DataFile")), QStringLiteral("/home/ann/My cards.lgd"));
    QCOMPARE(settings.ReadInteger(QStringLiteral("PanelLeftWidth"), 97), 120);
    QCOMPARE(settings.ReadInteger(QStringLiteral("ListView1Height"), 145), 145);
    QCOMPARE(settings.ReadInteger(QStringLiteral("SelectedCategoryID"), 0), 0);
    QCOMPARE(settings.ReadString(QStringLiteral("PrintListFontName")), QStringLiteral("Courier New"));
    QCOMPARE(settings.ReadInteger(QStringLiteral("PrintListFontSize"), 9), 11);
}

void TestGlobal::otherKeysSurviveAWrite() {
    WriteText(TFolders::SettingsFilePath(), "[Ledgrin]\nDataFile=/a.lgd\nBackupDataFile=/b.lgd\n");
    {
        TSettingsFile settings;
        settings.WriteInteger(QStringLiteral("SelectedCategoryID"), 3);
    }
    const TSettingsFile settings;
    QCOMPARE(settings.ReadString(QStringLiteral("DataFile")), QStringLiteral("/a.lgd"));
    QCOMPARE(settings.ReadString(QStringLiteral("BackupDataFile")), QStringLiteral("/b.lgd"));
    QCOMPARE(settings.ReadInteger(QStringLiteral("SelectedCategoryID"), 0), 3);
}

QTEST_GUILESS_MAIN(TestGlobal)
#include "tst_settings.moc"
