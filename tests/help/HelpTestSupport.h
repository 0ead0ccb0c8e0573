// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the help tests share: a copy of the real help pages in a temporary folder, and a recorder
// that stands in for the desktop's web browser.

#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

namespace HelpTest {

// Copies the shipped help pages into target and returns it.
inline QString CopyHelpPages(const QString& target) {
    QDirIterator files(QStringLiteral(QUILLERY_HELP_SOURCE), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString relative = QDir(QStringLiteral(QUILLERY_HELP_SOURCE)).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target + QLatin1Char('/') + relative).absolutePath());
        if (!QFile::copy(source, target + QLatin1Char('/') + relative)) {
            qFatal("cannot copy %s", qPrintable(source));
        }
    }
    return target;
}

// Takes the place of the web browser for the schemes it is registered for, as long as it lives.
class TUrlRecorder : public QObject {
    Q_OBJECT

public:
    explicit TUrlRecorder(const QStringList& schemes) : FSchemes(schemes) {
        for (const QString& scheme : FSchemes) {
            QDesktopServices::setUrlHandler(scheme, this, "Open");
        }
    }
    ~TUrlRecorder() override {
        for (const QString& scheme : FSchemes) {
            QDesktopServices::unsetUrlHandler(scheme);
        }
    }
    QList<QUrl> Opened;

public slots:
    void Open(const QUrl& url) { Opened.append(url); }

private:
    QStringList FSchemes;
};

} // namespace HelpTest
