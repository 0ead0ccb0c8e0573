// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/HelpBrowser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

namespace {

// Help pages are small; anything larger is not one of ours.
constexpr qint64 kMaxResourceBytes = 16 * 1024 * 1024;

} // namespace

const char* const THelpBrowser::kShortcutMarker = "<!-- shortcut tables -->";

THelpBrowser::THelpBrowser(const QString& helpFolder, QWidget* parent)
    : QTextBrowser(parent), FHelpFolder(QDir::cleanPath(QFileInfo(helpFolder).absoluteFilePath())) {
    setObjectName(QStringLiteral("HelpBrowser"));
    setOpenExternalLinks(true);
}

QUrl THelpBrowser::StartPage() const {
    return QUrl::fromLocalFile(FHelpFolder + QStringLiteral("/index.html"));
}

QString THelpBrowser::LocalFile(const QUrl& url) const {
    if (!url.isLocalFile() && !url.scheme().isEmpty()) {
        return QString();
    }
    const QString path = QDir::cleanPath(QFileInfo(url.toLocalFile()).absoluteFilePath());
    const bool inside = path.startsWith(FHelpFolder + QLatin1Char('/'));
    // A link that resolves through a symbolic link out of the folder is refused as well.
    const QString target = QFileInfo(path).canonicalFilePath();
    const QString folder = QFileInfo(FHelpFolder).canonicalFilePath();
    const bool targetInside = target.isEmpty() || target.startsWith(folder + QLatin1Char('/'));
    return inside && targetInside ? path : QString();
}

QVariant THelpBrowser::loadResource(int type, const QUrl& name) {
    QUrl url = name;
    if (url.isRelative()) {
        url = source().resolved(name);
    }
    const QString path = LocalFile(url);
    QFile file(path);
    const bool readable = !path.isEmpty() && QFileInfo(path).isFile() &&
                          QFileInfo(path).size() <= kMaxResourceBytes && file.open(QIODevice::ReadOnly);
    if (type != QTextDocument::HtmlResource) {
        return readable ? QVariant(file.readAll()) : QVariant();
    }
    if (!readable) {
        return MissingPage(url);
    }
    QString html = QString::fromUtf8(file.readAll());
    if (FShortcutTables && html.contains(QLatin1String(kShortcutMarker))) {
        html.replace(QLatin1String(kShortcutMarker), FShortcutTables());
    }
    return html;
}

QString THelpBrowser::MissingPage(const QUrl& url) const {
    const QString page = url.fileName().isEmpty() ? url.toString() : url.fileName();
    return QStringLiteral("<html><head><title>%1</title></head><body><h1>%1</h1>%2</body></html>")
        .arg(tr("Page not found"),
             tr("<p>The help page \"%1\" could not be found in the help folder %2.</p>"
                "<p>The help pages are installed together with Quillery; installing the "
                "program again puts them back.</p>"
                "<p><a href=\"%3\">Back to the start page</a></p>")
                 .arg(page.toHtmlEscaped(), FHelpFolder.toHtmlEscaped(),
                      StartPage().toString().toHtmlEscaped()));
}
