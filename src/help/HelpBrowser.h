// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTextBrowser>

#include <functional>

// Shows the help pages of one folder. Pages and pictures are read only from inside that folder; a
// page that is missing or cannot be read shows a page that says so. The marker
// "<!-- shortcut tables -->" in a page is replaced by the generated shortcut tables.
class THelpBrowser : public QTextBrowser {
    Q_OBJECT

public:
    static const char* const kShortcutMarker;

    THelpBrowser(const QString& helpFolder, QWidget* parent = nullptr);

    const QString& HelpFolder() const { return FHelpFolder; }
    QUrl StartPage() const;
    void SetShortcutTables(std::function<QString()> tables) { FShortcutTables = std::move(tables); }

    QVariant loadResource(int type, const QUrl& name) override;

private:
    // The file inside the help folder that url names, or an empty string for anything else.
    QString LocalFile(const QUrl& url) const;
    QString MissingPage(const QUrl& url) const;

    QString FHelpFolder;
    std::function<QString()> FShortcutTables;
};
