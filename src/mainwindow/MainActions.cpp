// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/MainActions.h"

#include <QAction>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace {

constexpr int kToolBarHeight = 33;

QAction* NewAction(QMainWindow* window, const char* name, const QString& caption, const QString& hint,
                   const QKeySequence& shortcut = QKeySequence()) {
    auto* action = new QAction(caption, window);
    action->setObjectName(QString::fromLatin1(name));
    action->setStatusTip(hint);
    if (!hint.isEmpty())
        action->setToolTip(hint);
    action->setShortcut(shortcut);
    window->addAction(action);
    return action;
}

void SetIcon(QAction* action, const QWidget* window, const char* themeName, QStyle::StandardPixmap fallback) {
    action->setIcon(
        QIcon::fromTheme(QString::fromLatin1(themeName), window->style()->standardIcon(fallback)));
}

QToolButton* NewCommandButton(QAction* action, const QString& caption, int width, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setText(caption);
    button->setIcon(action->icon());
    button->setToolTip(action->toolTip());
    button->setStatusTip(action->statusTip());
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setMinimumWidth(width);
    button->setEnabled(action->isEnabled());
    QObject::connect(button, &QToolButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::changed, button,
                     [button, action] { button->setEnabled(action->isEnabled()); });
    return button;
}

} // namespace

TMainActions::TMainActions(QMainWindow* w)
    : ChooseDataFile(NewAction(w, "ActionChooseDataFile", tr("Create/Choose &Data File..."),
                               tr("Create a new data file, or choose an existing one."),
                               QKeySequence(QKeySequence::Open))),
      SetPassword(NewAction(w, "ActionSetPassword", tr("Set Pass&word..."),
                            tr("Set or remove the password of the current data file."))),
      BackupDataFile(NewAction(w, "ActionBackupDataFile", tr("&Backup Data File..."),
                               tr("Save a copy of the current data file."))),
      ImportFromExcel(NewAction(w, "ActionImportFromExcel", tr("Import from Excel..."),
                                tr("Import a worksheet as a new category."))),
      ExportToExcel(NewAction(w, "ActionExportToExcel", tr("Export to Excel..."),
                              tr("Export the records of the current category to a workbook."))),
      PageSetup(NewAction(w, "ActionPageSetup", tr("Page Set&up..."),
                          tr("Choose the paper, orientation and margins for printing."))),
      Print(NewAction(w, "ActionPrint", tr("&Print..."), tr("Print current record or list."),
                      QKeySequence(QKeySequence::Print))),
      PrintPreview(NewAction(w, "ActionPrintPreview", tr("Print Pre&view..."),
                             tr("Show how the current record or list would print."))),
      // Some desktops have no key of their own for quitting: Ctrl+Q, as elsewhere.
      Exit(NewAction(
          w, "ActionExit", tr("E&xit"), tr("Close Quillery."),
          QKeySequence::keyBindings(QKeySequence::Quit).value(0, QKeySequence(Qt::CTRL | Qt::Key_Q)))),
      Undo(NewAction(w, "ActionUndo", tr("&Undo"), tr("Take back the last change."),
                     QKeySequence(Qt::CTRL | Qt::Key_Z))),
      Redo(NewAction(w, "ActionRedo", tr("&Redo"), tr("Make the change that was taken back again."))),
      Cut(NewAction(w, "ActionCut", tr("Cu&t"), tr("Cut the selected text to the clipboard."),
                    QKeySequence(Qt::CTRL | Qt::Key_X))),
      Copy(NewAction(w, "ActionCopy", tr("&Copy"), tr("Copy the selected text to the clipboard."),
                     QKeySequence(Qt::CTRL | Qt::Key_C))),
      Paste(NewAction(w, "ActionPaste", tr("&Paste"), tr("Paste the text of the clipboard."),
                      QKeySequence(Qt::CTRL | Qt::Key_V))),
      SelectAll(NewAction(w, "ActionSelectAll", tr("Select &All"), tr("Select the whole text."),
                          QKeySequence(Qt::CTRL | Qt::Key_A))),
      EditTemplates(NewAction(w, "ActionEditTemplates", tr("Edit Temp&lates"),
                              tr("Edit the templates for each category."))),
      NewItem(NewAction(w, "ActionNewItem", tr("&New Record"), tr("Create a new blank record."),
                        QKeySequence(Qt::CTRL | Qt::Key_N))),
      DuplicateItem(
          NewAction(w, "ActionDuplicateItem", tr("&Duplicate Record"), tr("Duplicate the selected record."))),
      // Delete Record's key is the Delete key in the record list, not a shortcut.
      DeleteItem(NewAction(w, "ActionDeleteItem", tr("D&elete Record"), tr("Delete the selected record."))),
      SaveRecord(NewAction(w, "ActionSaveRecord", tr("&Save Record"), tr("Save the changes to the record."),
                           QKeySequence(QKeySequence::Save))),
      SetFocusToSearchBox(NewAction(w, "ActionSetFocusToSearchBox", QString(), tr("Move to the filter box."),
                                    QKeySequence(Qt::CTRL | Qt::Key_F))),
      SetFocusToTheListView(NewAction(w, "ActionSetFocusToTheListView", QString(),
                                      tr("Move to the record list."), QKeySequence(Qt::CTRL | Qt::Key_L))),
      NextCategory(NewAction(w, "ActionNextCategory", QString(), QString(),
                             QKeySequence(Qt::CTRL | Qt::Key_PageDown))),
      PreviousCategory(NewAction(w, "ActionPreviousCategory", QString(), QString(),
                                 QKeySequence(Qt::CTRL | Qt::Key_PageUp))),
      Search(new QAction(w)), HelpTopics(NewAction(w, "ActionHelpTopics", tr("&Help Topics"),
                                                   tr("Show the help pages."), QKeySequence(Qt::Key_F1))),
      VisitHomePage(NewAction(w, "ActionVisitHomePage", tr("Visit Home Page"),
                              tr("Open the Quillery home page in the web browser."))),
      About(NewAction(w, "ActionAbout", tr("&About..."), tr("Show the program's version and home page."))) {
    Search->setObjectName(QStringLiteral("ActionSearch"));
    Redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    SetIcon(Undo, w, "edit-undo", QStyle::SP_ArrowBack);
    SetIcon(Redo, w, "edit-redo", QStyle::SP_ArrowForward);
    SetIcon(ChooseDataFile, w, "document-open", QStyle::SP_DialogOpenButton);
    SetIcon(BackupDataFile, w, "document-save-as", QStyle::SP_DialogSaveButton);
    SetIcon(Print, w, "document-print", QStyle::SP_FileDialogDetailedView);
    SetIcon(EditTemplates, w, "document-properties", QStyle::SP_FileDialogListView);
    SetIcon(NewItem, w, "document-new", QStyle::SP_FileIcon);
    SetIcon(DuplicateItem, w, "edit-copy", QStyle::SP_FileLinkIcon);
    SetIcon(DeleteItem, w, "edit-delete", QStyle::SP_TrashIcon);
    SetIcon(HelpTopics, w, "help-contents", QStyle::SP_DialogHelpButton);
    QObject::connect(Exit, &QAction::triggered, w, &QWidget::close);

    // Disabled at start: commands that need an open data file, a shown category, a selected
    // record or a focused text box, and those whose windows come with later work.
    for (QAction* action :
         {Undo, Redo, Cut, Copy, Paste, SelectAll, EditTemplates, NewItem, DuplicateItem, DeleteItem,
          SetFocusToSearchBox, SetFocusToTheListView, ImportFromExcel, ExportToExcel})
        action->setEnabled(false);
}

void TMainActions::CreateMenusAndToolBar(QMainWindow* window) {
    QMenuBar* bar = window->menuBar();
    QMenu* file = FileMenu = bar->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("MenuFile"));
    file->addActions({ChooseDataFile, SetPassword, BackupDataFile});
    file->addSeparator();
    ImportExportMenu = file->addMenu(tr("Import/Export"));
    ImportExportMenu->setObjectName(QStringLiteral("MenuImportExport"));
    ImportExportMenu->addActions({ImportFromExcel, ExportToExcel});
    file->addSeparator();
    file->addActions({PageSetup, PrintPreview, Print});
    file->addSeparator();
    file->addAction(Exit);

    EditMenu = bar->addMenu(tr("&Edit"));
    EditMenu->setObjectName(QStringLiteral("MenuEdit"));
    EditMenu->addActions({Undo, Redo});
    EditMenu->addSeparator();
    EditMenu->addActions({Cut, Copy, Paste});
    EditMenu->addSeparator();
    EditMenu->addAction(SelectAll);

    QMenu* operations = bar->addMenu(tr("&Operations"));
    operations->setObjectName(QStringLiteral("MenuOperations"));
    operations->addAction(EditTemplates);
    QMenu* dataOperations = operations->addMenu(tr("&Data Operations"));
    dataOperations->setObjectName(QStringLiteral("MenuDataOperations"));
    dataOperations->addActions({NewItem, DuplicateItem, DeleteItem});
    dataOperations->addSeparator();
    dataOperations->addAction(SaveRecord);

    QMenu* help = bar->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("MenuHelp"));
    help->addAction(HelpTopics);
    help->addSeparator();
    help->addAction(VisitHomePage);
    help->addSeparator();
    help->addAction(About);

    QToolBar* toolBar = window->addToolBar(tr("Main"));
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setMinimumHeight(kToolBarHeight);
    toolBar->setIconSize(QSize(16, 16));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    toolBar->addAction(Print);
    toolBar->addAction(EditTemplates);

    auto* recordCommands = new QWidget(toolBar);
    recordCommands->setObjectName(QStringLiteral("PanelRecordCommands"));
    recordCommands->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto* commandsLayout = new QHBoxLayout(recordCommands);
    commandsLayout->setContentsMargins(12, 0, 0, 0);
    commandsLayout->setSpacing(1);
    commandsLayout->addWidget(NewCommandButton(NewItem, NewItem->text(), 89, recordCommands));
    commandsLayout->addWidget(NewCommandButton(DuplicateItem, DuplicateItem->text(), 109, recordCommands));
    commandsLayout->addWidget(NewCommandButton(DeleteItem, tr("Dele&te Record"), 97, recordCommands));
    RecordCommandsItem = toolBar->addWidget(recordCommands);
}
