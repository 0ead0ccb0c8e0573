// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/HelpWindow.h"

#include "help/HelpBrowser.h"
#include "help/ShortcutTable.h"
#include "settings/Settings.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
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

const char* const kWidthKey = "HelpWindowWidth";
const char* const kHeightKey = "HelpWindowHeight";
// Smaller than this the window would show neither contents nor page.
constexpr QSize kLeastSize(320, 240);

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
    setWindowTitle(tr("Quillery Help"));

    FBrowser = new THelpBrowser(helpFolder, this);
    FBrowser->SetShortcutTables([this] { return ShortcutTables(); });
    FContents = new QListWidget(this);
    FContents->setObjectName(QStringLiteral("HelpContents"));
    connect(FContents, &QListWidget::itemActivated, this, &THelpWindow::ContentsItemActivated);
    connect(FContents, &QListWidget::itemClicked, this, &THelpWindow::ContentsItemActivated);

    FFindBox = new QLineEdit(this);
    FFindBox->setObjectName(QStringLiteral("FindBox"));
    FFindBox->setPlaceholderText(tr("Find in page"));
    FFindBox->setClearButtonEnabled(true);
    FFindBox->setMaximumWidth(240);
    connect(FFindBox, &QLineEdit::textEdited, this, [this] {
        FindInPage(false, true);
        ListFoundPages();
    });
    connect(FFindBox, &QLineEdit::returnPressed, this, [this] { FindInPage(false, false); });
    // Down leads from the find box into the pages found.
    FFindBox->installEventFilter(this);
    FFindStatus = new QLabel(this);
    FFindStatus->setObjectName(QStringLiteral("FindStatus"));

    FFoundPanel = new QWidget(this);
    FFoundCaption = new QLabel(FFoundPanel);
    FFoundCaption->setObjectName(QStringLiteral("FoundCaption"));
    FFoundPages = new QListWidget(FFoundPanel);
    FFoundPages->setObjectName(QStringLiteral("FoundPages"));
    FFoundCaption->setBuddy(FFoundPages);
    connect(FFoundPages, &QListWidget::itemActivated, this, &THelpWindow::FoundPageActivated);
    connect(FFoundPages, &QListWidget::itemClicked, this, &THelpWindow::FoundPageActivated);
    auto* foundLayout = new QVBoxLayout(FFoundPanel);
    foundLayout->setContentsMargins(4, 4, 0, 0);
    foundLayout->addWidget(FFoundCaption);
    foundLayout->addWidget(FFoundPages);
    FFoundPanel->hide();

    CreateActions();
    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("HelpToolBar"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->addActions({FBack, FForward, FHome});
    toolBar->addSeparator();
    toolBar->addWidget(FFindBox);
    toolBar->addActions({FFindPrevious, FFindNext});
    toolBar->addWidget(FFindStatus);

    auto* side = new QSplitter(Qt::Vertical, this);
    side->addWidget(FContents);
    side->addWidget(FFoundPanel);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(side);
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
    setTabOrder(FFindBox, FFoundPages);
    ApplyRememberedSize();
}

void THelpWindow::ApplyRememberedSize() {
    QSize wanted = kFirstSize;
    {
        TSettingsFile settings;
        const QSize remembered(settings.ReadInteger(QLatin1String(kWidthKey), 0),
                               settings.ReadInteger(QLatin1String(kHeightKey), 0));
        if (remembered.width() > 0 && remembered.height() > 0) {
            wanted = remembered;
        }
    }
    wanted = wanted.expandedTo(kLeastSize);
    if (const QScreen* shownOn = screen()) {
        // The frame the window manager adds must fit as well.
        const QSize frame = frameGeometry().size() - geometry().size();
        wanted = wanted.boundedTo(shownOn->availableGeometry().size() - frame);
    }
    resize(wanted);
}

void THelpWindow::closeEvent(QCloseEvent* event) {
    // Only a window that was shown has a size of the user's.
    if (isVisible()) {
        const QSize size = isMaximized() || isFullScreen() ? normalGeometry().size() : this->size();
        TSettingsFile settings;
        settings.WriteInteger(QLatin1String(kWidthKey), size.width());
        settings.WriteInteger(QLatin1String(kHeightKey), size.height());
    }
    QWidget::closeEvent(event);
}

bool THelpWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FFindBox && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down && !FFoundPanel->isHidden() &&
        FFoundPages->count() > 0) {
        FFoundPages->setFocus(Qt::TabFocusReason);
        FFoundPages->setCurrentRow(0);
        return true;
    }
    return QWidget::eventFilter(watched, event);
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
    FBack = newAction("ActionHelpBack", tr("&Back"), QKeySequence::keyBindings(QKeySequence::Back));
    FBack->setIcon(ThemeIcon(this, "go-previous", QStyle::SP_ArrowBack));
    FBack->setEnabled(false);
    connect(FBack, &QAction::triggered, FBrowser, &QTextBrowser::backward);
    FForward =
        newAction("ActionHelpForward", tr("&Forward"), QKeySequence::keyBindings(QKeySequence::Forward));
    FForward->setIcon(ThemeIcon(this, "go-next", QStyle::SP_ArrowForward));
    FForward->setEnabled(false);
    connect(FForward, &QAction::triggered, FBrowser, &QTextBrowser::forward);
    FHome = newAction("ActionHelpHome", tr("&Home"), {QKeySequence(Qt::ALT | Qt::Key_Home)});
    FHome->setIcon(ThemeIcon(this, "go-home", QStyle::SP_DirHomeIcon));
    connect(FHome, &QAction::triggered, this, [this] { FBrowser->setSource(FBrowser->StartPage()); });
    FFindPrevious = newAction("ActionFindPrevious", tr("&Previous"),
                              QKeySequence::keyBindings(QKeySequence::FindPrevious));
    connect(FFindPrevious, &QAction::triggered, this, [this] { FindInPage(true, false); });
    FFindNext = newAction("ActionFindNext", tr("&Next"), QKeySequence::keyBindings(QKeySequence::FindNext));
    connect(FFindNext, &QAction::triggered, this, [this] { FindInPage(false, false); });
    FFocusFindBox = newAction("ActionFocusFindBox", QString(), QKeySequence::keyBindings(QKeySequence::Find));
    FFocusFindBox->setStatusTip(tr("Move to the find box."));
    connect(FFocusFindBox, &QAction::triggered, this, [this] {
        FFindBox->setFocus(Qt::ShortcutFocusReason);
        FFindBox->selectAll();
    });
    FClose = newAction("ActionCloseHelp", tr("&Close"),
                       {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
    connect(FClose, &QAction::triggered, this, &QWidget::close);
}

void THelpWindow::ShowTopics() {
    if (!isVisible()) {
        ApplyRememberedSize();
    }
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
    return html + ShortcutTableHtml(tr("Help window"), WindowShortcuts(*this));
}

void THelpWindow::FillContents() {
    FContents->clear();
    const QUrl start = FBrowser->StartPage();
    FContents->addItem(tr("Start page"));
    FContents->item(0)->setData(Qt::UserRole, start);
    const QString startHtml = FBrowser->loadResource(QTextDocument::HtmlResource, start).toString();
    // The find reads the pages as they are now: the shortcut tables change with the commands.
    FSearch.Clear();
    FSearch.AddPage(FContents->item(0)->text(), start, startHtml);
    for (const TContentsEntry& entry : ContentsOf(startHtml, start)) {
        auto* item = new QListWidgetItem(entry.Title.simplified(), FContents);
        item->setData(Qt::UserRole, entry.Page);
        FSearch.AddPage(item->text(), entry.Page,
                        FBrowser->loadResource(QTextDocument::HtmlResource, entry.Page).toString());
    }
    ListFoundPages();
}

void THelpWindow::ContentsItemActivated(QListWidgetItem* item) {
    const QUrl page = item->data(Qt::UserRole).toUrl();
    if (page.adjusted(QUrl::RemoveFragment) != FBrowser->source().adjusted(QUrl::RemoveFragment)) {
        FBrowser->setSource(page);
    }
}

void THelpWindow::SourceChanged(const QUrl& source) {
    const QString title = FBrowser->documentTitle();
    setWindowTitle(title.isEmpty() ? tr("Quillery Help") : tr("Quillery Help - %1").arg(title));
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
        FFindStatus->setText(tr("Not found"));
        return;
    }
    FFindStatus->clear();
    FBrowser->setTextCursor(found);
    FBrowser->ensureCursorVisible();
}

void THelpWindow::ListFoundPages() {
    const QString text = FFindBox->text();
    FFoundPages->clear();
    FFoundPanel->setVisible(!text.isEmpty());
    if (text.isEmpty()) {
        return;
    }
    const QList<THelpSearchHit> hits = FSearch.Find(text);
    FFoundCaption->setText(hits.isEmpty() ? tr("No page holds \"%1\".").arg(text)
                                          : tr("Pages that hold \"%1\":").arg(text));
    for (const THelpSearchHit& hit : hits) {
        auto* item = new QListWidgetItem(tr("%1 (%2)").arg(hit.Title).arg(hit.Matches), FFoundPages);
        item->setData(Qt::UserRole, hit.Page);
    }
}

void THelpWindow::FoundPageActivated(QListWidgetItem* item) {
    ContentsItemActivated(item);
    // From the top of the page, so that the first match is the one shown.
    FBrowser->moveCursor(QTextCursor::Start);
    FindInPage(false, false);
}
