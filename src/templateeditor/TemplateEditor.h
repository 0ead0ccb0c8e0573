// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class TCategoriesPage;
class TCategory;
class TDesignSurface;
class TElementProperties;
class TDataFile;
class TListPreview;
class TToolColumn;

// The template editor: categories are created, copied, deleted, renamed, reordered and given
// icons, and their forms and list columns are designed, all on a working copy that the main
// window merges back only when the editor closes through Save & Close.
//
// The window composes the categories page (left), the category's name and icon, the list preview,
// the property bar, the tool column and the design surface (right), and owns the frame's commands.
class TTemplateEditor : public QDialog {
    Q_OBJECT

public:
    explicit TTemplateEditor(QWidget* parent = nullptr);
    ~TTemplateEditor() override;

    // Runs the editor modally on workingCopy, which must hold no records; returns Saved.
    bool Execute(TDataFile& workingCopy);
    // Starts a run and returns at once; the run ends when the window closes.
    void Open(TDataFile& workingCopy);

    // True when the last run ended through Save & Close.
    bool Saved = false;

protected:
    void closeEvent(QCloseEvent* event) override;

public slots:
    // Escape closes through the close question like every other way out.
    void reject() override;

private:
    QWidget* CreateTopBar();
    QWidget* CreateCategoryPanel();
    void PrepareRun(TDataFile& workingCopy);
    void ShowCategory(TCategory* category);
    // Writes back what the editor shows of category: its list columns, then its value indexes.
    void StoreCategory(TCategory& category);
    void ChooseIcon();
    void SaveAndClose();
    void CancelAndClose();
    // Lets go of the working copy, which the main window may rebuild before the next run.
    void ForgetWorkingCopy();

    QAction* FNewCategory;
    QAction* FDeleteCategory;
    TCategoriesPage* FCategories;
    QLabel* FNoCategoryPrompt;
    QWidget* FCategoryPanel;
    QLineEdit* FCategoryName;
    QLabel* FIcon;
    TListPreview* FListPreview;
    TToolColumn* FTools;
    TDesignSurface* FSurface;
    TElementProperties* FProperties;
};
