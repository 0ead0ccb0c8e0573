// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>

class QAction;
class QMainWindow;
class QMenu;
class QWidget;

// The main window's commands with their captions, hints, shortcuts and icons, and the menus and
// the toolbar that offer them. Each action's objectName is its command's name.
struct TMainActions {
    Q_DECLARE_TR_FUNCTIONS(TMainActions)

public:
    // Creates the actions on window, all disabled that need a file, a category, a record or a
    // focused text box.
    explicit TMainActions(QMainWindow* window);
    // The menu bar, and the toolbar with the record commands.
    void CreateMenusAndToolBar(QMainWindow* window);

    QAction* ChooseDataFile;
    QAction* SetPassword;
    QAction* BackupDataFile;
    QAction* ImportFromExcel;
    QAction* ExportToExcel;
    QAction* PageSetup;
    QAction* Print;
    QAction* PrintPreview;
    QAction* Exit;
    // Undo and Redo of record changes; in a text box with unsaved edits, of its typing.
    QAction* Undo;
    QAction* Redo;
    QAction* Cut;
    QAction* Copy;
    QAction* Paste;
    QAction* SelectAll;
    QAction* EditTemplates;
    QAction* NewItem;
    QAction* DuplicateItem;
    QAction* DeleteItem;
    // The Save button of the record form as a command, for its key; enabled while the form is edited.
    QAction* SaveRecord;
    QAction* SetFocusToSearchBox;
    QAction* SetFocusToTheListView;
    // Ctrl+Page Down and Ctrl+Page Up: the next and the previous category, from anywhere.
    QAction* NextCategory;
    QAction* PreviousCategory;
    // The filter run; the run disables it, so a run never starts inside another.
    QAction* Search;
    QAction* HelpTopics;
    QAction* VisitHomePage;
    QAction* About;

    QMenu* FileMenu = nullptr;
    QMenu* EditMenu = nullptr;
    QMenu* ImportExportMenu = nullptr;
    // The toolbar's place of the record commands.
    QAction* RecordCommandsItem = nullptr;
};
