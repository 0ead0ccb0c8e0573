// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/HelpWindow.h"

#include "help/HelpBrowser.h"
#include "help/ShortcutTable.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QIcon ThemeIcon(const QWidget* widget, const char* name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name), widget->style()->standardIcon(fallback));
}

struct TContentsEntry {
    QString Title;
    QUrl Page;
};

// The start page's links to other help pages, in reading order: the start page is the one place
// that lists the topics.
QList<TContentsEntry> ContentsOf(const QString& startHtml, const QUrl& startPage) {
    QTextDocument document;
    document.setHtml(startHtml);
    QList<TContentsEntry> entries;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            const QUrl link(format.anchorHref());
            if (!format.isAnchor() || !link.isRelative() || !link.path().endsWith(QStringLiteral(".html"))) {
                continue;
            }
            const QUrl page = startPage.resolved(link);
            if (!entries.isEmpty() && entries.last().Page == page) {
                entries.last().Title += fragment.fragment().text();
            } else {
                entries.append({fragment.fragment().text(), page});
            }
        }
    }
    return entries;
}

} // namespace

THelpWindow::THelpWindow(const QString& helpFolder, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FormHelp"));
    setWindowTitle(QStringLiteral("Quillery Help"));
    resize(900, 640);

    FBrowser = new THelpBrowser(helpFolder, this);
    FBrowser->SetShortcutTables([this] { return ShortcutTables(); });
    FContents = new QListWidget(this);
    FContents->setObjectName(QStringLiteral("HelpContents"));
    connect(FContents, &QListWidget::itemActivated, this, &THelpWindow::ContentsItemActivated);
    connect(FContents, &QListWidget::itemClicked, this, &THelpWindow::ContentsItemActivated);

    FFindBox = new QLineEdit(this);
    FFindBox->setObjectName(QStringLiteral("FindBox"));
    FFindBox->setPlaceholderText(QStringLiteral("Find in page"));
    FFindBox->setClearButtonEnabled(true);
    FFindBox->setMaximumWidth(240);
    connect(FFindBox, &QLineEdit::textEdited, this, [this] { FindInPage(false, true); });
    connect(FFindBox, &QLineEdit::returnPressed, this, [this] { FindInPage(false, false); });
    FFindStatus = new QLabel(this);
    FFindStatus->setObjectName(QStringLiteral("FindStatus"));

    CreateActions();
    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("HelpToolBar"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->addActions({FBack, FForward, FHome});
    toolBar->addSeparator();
    toolBar->addWidget(FFindBox);
    toolBar->addActions({FFindPrevious, FFindNext});
    toolBar->addWidget(FFindStatus);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(FContents);
    splitter->addWidget(FBrowser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 680});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(splitter);

    connect(FBrowser, &QTextBrowser::sourceChanged, this, &THelpWindow::SourceChanged);
    connect(FBrowser, &QTextBrowser::backwardAvailable, FBack, &QAction::setEnabled);
    connect(FBrowser, &QTextBrowser::forwardAvailable, FForward, &QAction::setEnabled);
}

void THelpWindow::CreateActions() {
    auto newAction = [this](const char* name, const QString& caption, const QList<QKeySequence>& keys) {
        auto* action = new QAction(caption, this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        return action;
    };
    FBack =
        newAction("ActionHelpBack", QStringLiteral("&Back"), QKeySequence::keyBindings(QKeySequence::Back));
    FBack->setIcon(ThemeIcon(this, "go-previous", QStyle::SP_ArrowBack));
    FBack->setEnabled(false);
    connect(FBack, &QAction::triggered, FBrowser, &QTextBrowser::backward);
    FForward = newAction("ActionHelpForward", QStringLiteral("&Forward"),
                         QKeySequence::keyBindings(QKeySequence::Forward));
    FForward->setIcon(ThemeIcon(this, "go-next", QStyle::SP_ArrowForward));
    FForward->setEnabled(false);
    connect(FForward, &QAction::triggered, FBrowser, &QTextBrowser::forward);
    FHome = newAction("ActionHelpHome", QStringLiteral("&Home"), {QKeySequence(Qt::ALT | Qt::Key_Home)});
    FHome->setIcon(ThemeIcon(this, "go-home", QStyle::SP_DirHomeIcon));
    connect(FHome, &QAction::triggered, this, [this] { FBrowser->setSource(FBrowser->StartPage()); });
    FFindPrevious = newAction("ActionFindPrevious", QStringLiteral("&Previous"),
                              QKeySequence::keyBindings(QKeySequence::FindPrevious));
    connect(FFindPrevious, &QAction::triggered, this, [this] { FindInPage(true, false); });
    FFindNext = newAction("ActionFindNext", QStringLiteral("&Next"),
                          QKeySequence::keyBindings(QKeySequence::FindNext));
    connect(FFindNext, &QAction::triggered, this, [this] { FindInPage(false, false); });
    FFocusFindBox = newAction("ActionFocusFindBox", QString(), QKeySequence::keyBindings(QKeySequence::Find));
    connect(FFocusFindBox, &QAction::triggered, this, [this] {
        FFindBox->setFocus(Qt::ShortcutFocusReason);
        FFindBox->selectAll();
    });
}

void THelpWindow::ShowTopics() {
    FillContents();
    FBrowser->setSource(FBrowser->StartPage());
    if (isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
    }
    show();
    raise();
    activateWindow();
}

void THelpWindow::AddShortcutSource(const QString& heading, const QWidget* window) {
    FShortcutSources.append({heading, window});
}

QString THelpWindow::ShortcutTables() const {
    QString html;
    for (const TShortcutSource& source : FShortcutSources) {
        if (source.Window) {
            html += ShortcutTableHtml(source.Heading, WindowShortcuts(*source.Window));
        }
    }
    return html;
}

void THelpWindow::FillContents() {
    FContents->clear();
    const QUrl start = FBrowser->StartPage();
    FContents->addItem(QStringLiteral("Start page"));
    FContents->item(0)->setData(Qt::UserRole, start);
    const QVariant startHtml = FBrowser->loadResource(QTextDocument::HtmlResource, start);
    for (const TContentsEntry& entry : ContentsOf(startHtml.toString(), start)) {
        auto* item = new QListWidgetItem(entry.Title.simplified(), FContents);
        item->setData(Qt::UserRole, entry.Page);
    }
}

void THelpWindow::ContentsItemActivated(QListWidgetItem* item) {
    const QUrl page = item->data(Qt::UserRole).toUrl();
    if (page.adjusted(QUrl::RemoveFragment) != FBrowser->source().adjusted(QUrl::RemoveFragment)) {
        FBrowser->setSource(page);
    }
}

void THelpWindow::SourceChanged(const QUrl& source) {
    const QString title = FBrowser->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Quillery Help")
                                   : QStringLiteral("Quillery Help - ") + title);
    // source(), not yet updated while the signal is out.
    const QUrl page = source.adjusted(QUrl::RemoveFragment);
    for (int i = 0; i < FContents->count(); ++i) {
        if (FContents->item(i)->data(Qt::UserRole).toUrl() == page) {
            FContents->setCurrentRow(i);
        }
    }
    FFindStatus->clear();
}

void THelpWindow::FindInPage(bool backward, bool incremental) {
    const QString text = FFindBox->text();
    QTextCursor cursor = FBrowser->textCursor();
    if (text.isEmpty()) {
        cursor.clearSelection();
        FBrowser->setTextCursor(cursor);
        FFindStatus->clear();
        return;
    }
    if (incremental) {
        cursor.setPosition(cursor.selectionStart());
    }
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    QTextCursor found = FBrowser->document()->find(text, cursor, flags);
    if (found.isNull()) {
        QTextCursor wrapped(FBrowser->document());
        wrapped.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        found = FBrowser->document()->find(text, wrapped, flags);
    }
    if (found.isNull()) {
        // No highlight left from an earlier, shorter text: it would look like a match.
        cursor.clearSelection();
        FBrowser->setTextCursor(cursor);
        FFindStatus->setText(QStringLiteral("Not found"));
        return;
    }
    FFindStatus->clear();
    FBrowser->setTextCursor(found);
    FBrowser->ensureCursorVisible();
}
