// SPDX-License-Identifier: GPL-3.0-or-later
// The window's text for a failure: a data store error's template translated, then filled with the
// same texts as the English what(), which stays as quillery-cli prints it.
#include "core/Error.h"
#include "core/InputFile.h"
#include "ui/ErrorText.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <functional>
#include <new>
#include <stdexcept>

using TThrow = std::function<void()>;
Q_DECLARE_METATYPE(TThrow)

namespace {

// Translates a few of the data store's templates, moving the placeholders about as a language
// might; any other text, or a text of another context, has no translation.
class TTemplateTranslator : public QTranslator {
public:
    QString translate(const char* context, const char* sourceText, const char*, int) const override {
        if (qstrcmp(context, kMessageContext) != 0)
            return QString();
        return FTexts.value(QString::fromUtf8(sourceText));
    }
    bool isEmpty() const override { return false; }

private:
    const QHash<QString, QString> FTexts{
        {QString::fromUtf8(kCannotCreateFile), QStringLiteral("%2 — Anlegen von »%1« gescheitert")},
        {QString::fromUtf8(kVersionIncompatible), QStringLiteral("Version der Datendatei unpassend.")},
        {QString::fromUtf8(kOutOfMemory), QStringLiteral("Nicht genug Speicher.")},
        {QStringLiteral("Cannot open file %1: it is not a regular file."),
         QStringLiteral("»%1« ist keine gewöhnliche Datei.")},
        // Never asked for: the text is final and shown as it is.
        {QStringLiteral("Category not found: %1"), QStringLiteral("Kategorie fehlt: %1")},
    };
};

// A name with the placeholders' own characters and letters outside ASCII.
const std::string kOddName = "50%2 Übersicht%1 é.lgd";

} // namespace

class TestErrorText : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void shownText_data();
    void shownText();

private:
    TTemplateTranslator FTranslator;
    QTemporaryDir FFolder;
};

void TestErrorText::initTestCase() {
    QVERIFY(FFolder.isValid());
    QVERIFY(QDir(FFolder.path()).mkdir(QString::fromStdString(kOddName)));
    QVERIFY(QCoreApplication::installTranslator(&FTranslator));
}

void TestErrorText::cleanupTestCase() {
    QCoreApplication::removeTranslator(&FTranslator);
}

void TestErrorText::shownText_data() {
    QTest::addColumn<TThrow>("fail");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("shown");

    const std::string folder = FFolder.path().toStdString() + "/" + kOddName;
    const QString odd = QString::fromStdString(kOddName);
    const QString oddFolder = QString::fromStdString(folder);

    QTest::newRow("a file error with its path and the system's reason")
        << TThrow([] {
               throw EFileError(kCannotCreateFile, {kOddName, "No space left on device"});
           })
        << QStringLiteral("Cannot create file %1: No space left on device").arg(odd)
        << QStringLiteral("No space left on device — Anlegen von »%1« gescheitert").arg(odd);
    QTest::newRow("a folder opened as a file by the data store")
        << TThrow([folder] { TInputFile file(folder); })
        << QStringLiteral("Cannot open file %1: it is not a regular file.").arg(oddFolder)
        << QStringLiteral("»%1« ist keine gewöhnliche Datei.").arg(oddFolder);
    QTest::newRow("a failed check keeps its place untranslated")
        << TThrow([] { ThrowAssertion(kVersionIncompatible, "DataLedgrin", 93); })
        << QStringLiteral("Data file version incompatible. (DataLedgrin, line 93)")
        << QStringLiteral("Version der Datendatei unpassend. (DataLedgrin, line 93)");
    QTest::newRow("a template without a translation stays English")
        << TThrow([] {
               throw EFileError(kCannotReadFile, {kOddName, "Input/output error"});
           })
        << QStringLiteral("Cannot read file %1: Input/output error").arg(odd)
        << QStringLiteral("Cannot read file %1: Input/output error").arg(odd);
    QTest::newRow("a final text is shown as it is")
        << TThrow([] { throw EQuilleryError(std::string("Category not found: %1")); })
        << QStringLiteral("Category not found: %1") << QStringLiteral("Category not found: %1");
    QTest::newRow("memory running out")
        << TThrow([] { throw std::bad_alloc(); }) << QStringLiteral("std::bad_alloc")
        << QStringLiteral("Nicht genug Speicher.");
    QTest::newRow("a failure from outside the data store")
        << TThrow([] { throw std::runtime_error("Übersicht %1 lost"); })
        << QStringLiteral("Übersicht %1 lost") << QStringLiteral("Übersicht %1 lost");
}

void TestErrorText::shownText() {
    QFETCH(TThrow, fail);
    QFETCH(QString, english);
    QFETCH(QString, shown);
    try {
        fail();
    } catch (const std::exception& error) {
        QCOMPARE(QString::fromUtf8(error.what()), english);
        QCOMPARE(ErrorText(error), shown);
        return;
    }
    QFAIL("nothing was thrown");
}

QTEST_GUILESS_MAIN(TestErrorText)
#include "tst_errortext.moc"
