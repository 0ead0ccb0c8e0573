#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QItemSelection;
class QLabel;
class QLineEdit;
class QMenu;
class QPainter;
class QPushButton;
class QStandardItemModel;
class QToolButton;
class QTreeView;
class QTreeWidget;
class QTreeWidgetItem;
class TCategory;
class TColorPicker;
class TSelectCategoryDialog;
class TColumnCaptionDialog;
class TLedgrin;
class TPaintBox;
class TElement;

// The template editor: categories are created, copied, deleted, renamed, reordered and given
// icons, and their forms and list columns are designed, all on a working copy that the main
// window merges back only when the editor closes through Save & Close.
class TTemplateEditor : public QDialog {
    Q_OBJECT

public:
    explicit TTemplateEditor(QWidget* parent = nullptr);
    ~TTemplateEditor() override;

    // Runs the editor modally on workingCopy, which must hold no records; returns Saved.
    bool Execute(TLedgrin& workingCopy);
    // Starts a run and returns at once; the run ends when the window closes.
    void Open(TLedgrin& workingCopy);

    // True when the last run ended through Save & Close.
    bool Saved = false;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    // Escape closes through the close question like every other way out.
    void reject() override;

private:
    // Window and category commands.
    void CreateFrame();
    QWidget* CreateLeftPanel();
    QWidget* CreatePanelRight();
    QWidget* CreatePropertyBar();
    QWidget* CreateToolColumn();
    void PrepareRun(TLedgrin& workingCopy);
    void FormShow();
    void ListView1SelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void ListView1SelectItem(QTreeWidgetItem* item, bool selected);
    void ShowNoCategory();
    void StoreListColumns();
    void NumberRecordSlots();
    void StoreCurrentCategory();
    void ActionNewCategoryExecute();
    void ActionDeleteCategoryExecute();
    void LabeledEditBookNameChange(const QString& text);
    void BtnSelectIconClick();
    void ShowCategoryIcon();
    void MoveCategory(int step);
    void UpdateMoveButtons();
    void BtnSaveClick();
    void BtnCancelClick();
    TCategory* CategoryOfRow(const QTreeWidgetItem* item) const;
    QTreeWidgetItem* SelectedRow() const;

    // Design surface.
    void LoadCategoryTemplate(TCategory* category);
    void ClearDesignSurface();
    void SetPanelColor(int32_t color);
    void PBGridPaint(QPainter& painter, const QRect& exposed);
    void PBSelectBoxPaint(QPainter& painter);
    void PBMoveBoxPaint(QPainter& painter);
    QWidget* MakeElementControl(const TElement& element);
    // Makes the control of an element anew in place of old, which is freed.
    QWidget* RebuildControl(QWidget* old);
    QWidget* ControlAt(const QPoint& panelPoint) const;
    QWidget* ControlOfElement(int32_t id) const;
    void NewElement(const char* kind);
    QAction* ActionOfTool(const QToolButton* tool) const;
    void ToolClick(QToolButton* tool);
    void PanelMouseEvent(QEvent* event);
    void PanelContextMenu(const QPoint& panelPoint, const QPoint& globalPoint);
    void UpdatePointerZone(QWidget* control, const QPoint& panelPoint);
    void GridMouseUp(const QPoint& panelPoint);
    void ElementMouseDown(QWidget* control, Qt::MouseButton button, const QPoint& point);
    void ElementMouseMove(QWidget* control, const QPoint& point);
    void ElementMouseUp(QWidget* control);

    // Elements and their properties.
    void SelectElement(int32_t id);
    void PlaceSelectBox();
    void ShowPropertyBar(const TElement* element);
    int FindColumnOfElement(int32_t id) const;
    void AddPreviewColumn(int32_t elementId, int width, const std::string& caption);
    void AskColumnCaption();
    void AskListColumnQuestion();
    void WriteControlBack(QWidget* control);
    void ChangeSelectedElement(const std::function<void(TElement&)>& change);
    void ChangeSelectedFontStyle(uint8_t bit, bool down);
    void CBBGColorColorSelected(int32_t color);
    void CBFontNameClick(int index);
    void CBFontSizeClick(int index);
    void CBFontColorColorSelected(int32_t color);
    void EditCaptionChange(const QString& text);
    void PopupMenu3Popup(QWidget* control);
    void EditFocusKeyUp(int key);
    void DeleteSelectedElement();
    void DuplicateThisElement1Click();
    int32_t SelectedElementID() const;
    const TElement* SelectedElementData() const;

    TLedgrin* FWorkingCopy = nullptr;

    // Editor state.
    TCategory* CurrentCategory = nullptr;
    bool Reordering = false;
    int InsertX = 0;
    int InsertY = 0;
    bool ToolDoubleClicked = false;
    bool ResizingWidth = false;
    bool ResizingHeight = false;
    bool Moving = false;
    int DragOffsetX = 0;
    int DragOffsetY = 0;
    // The design panel's colour: the category's FormColor.
    int32_t FPanelColor = 0;
    // The selected element's control, or Panel4 when no element is selected.
    QWidget* SelectedElement = nullptr;
    // Element controls in template order; all owned by Panel4.
    std::vector<QWidget*> FElementControls;
    // The control a press landed on (it keeps the pointer until the release), or Panel4 for the grid.
    QWidget* FPressed = nullptr;
    // The element PopupMenu3 was opened on.
    QWidget* FPopupElement = nullptr;

    // Frame and category list.
    QPushButton* BtnNewCategory;
    QPushButton* BtnDeleteCategory;
    QPushButton* BtnSave;
    QPushButton* BtnCancel;
    QTreeWidget* ListView1;
    QToolButton* BtnMoveUp;
    QToolButton* BtnMoveDown;
    QMenu* PopupMenu1;
    QAction* ActionNewCategory;
    QAction* ActionDeleteCategory;
    QLabel* LabelSelectCategory;
    QWidget* PanelRight;
    QLineEdit* LabeledEditBookName;
    QLabel* ImageCatIcon;
    QToolButton* BtnSelectIcon;

    // List preview and property bar.
    QTreeView* ListView2;
    QStandardItemModel* FPreviewColumns;
    TColorPicker* CBBGColor;
    QWidget* PanelFont;
    QComboBox* CBFontName;
    QComboBox* CBFontSize;
    QToolButton* BtnFontBold;
    QToolButton* BtnFontItalic;
    QToolButton* BtnFontUnderline;
    TColorPicker* CBFontColor;
    QLineEdit* EditCaption;

    // Tools and design surface.
    QToolButton* TBArrow;
    QToolButton* TBLabel;
    QToolButton* TBEdit;
    QToolButton* TBMemo;
    QAction* ActionNewLabel;
    QAction* ActionNewEdit;
    QAction* ActionNewMemo;
    QWidget* Panel4;
    TPaintBox* PBGrid;
    TPaintBox* PBSelectBox;
    TPaintBox* PBMoveBox;
    QLineEdit* EditFocus;
    QMenu* PopupMenu3;

    TSelectCategoryDialog* DlgSelectCategory;
    TColumnCaptionDialog* DlgSetColumnCaption;
};
