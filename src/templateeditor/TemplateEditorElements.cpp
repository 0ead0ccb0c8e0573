// One element at a time: selection, the property bar, list columns, duplicate and delete.
#include "templateeditor/TemplateEditor.h"

#include "core/Ledgrin.h"
#include "templateeditor/ColumnCaptionDialog.h"
#include "templateeditor/DesignGeometry.h"
#include "templateeditor/PaintBox.h"
#include "ui/ColorPicker.h"
#include "ui/DisplayText.h"
#include "ui/TemplateControls.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QToolButton>
#include <QTreeView>

namespace {

constexpr int kNewColumnWidth = 100;
const int kColumnElementRole = Qt::UserRole;
const int kColumnCaptionRole = Qt::UserRole + 1; // the caption's stored bytes

// Leading and trailing blanks and control characters removed.
QString TrimBlanks(const QString& text) {
    int first = 0;
    int last = static_cast<int>(text.size());
    while (first < last && text.at(first).unicode() <= 0x20)
        ++first;
    while (last > first && text.at(last - 1).unicode() <= 0x20)
        --last;
    return text.mid(first, last - first);
}

void SetColumnCaption(QStandardItem* column, const std::string& caption) {
    column->setText(DisplayText(caption));
    column->setData(QByteArray::fromStdString(caption), kColumnCaptionRole);
}

// A combo box shows a value it does not list as its placeholder.
void ShowInCombo(QComboBox* combo, const QString& value) {
    combo->setPlaceholderText(value);
    combo->setCurrentIndex(combo->findText(value, Qt::MatchFixedString));
}

} // namespace

int32_t TTemplateEditor::SelectedElementID() const {
    return SelectedElement == Panel4 ? 0 : TemplateControls::ElementIdOf(SelectedElement);
}

const TElement* TTemplateEditor::SelectedElementData() const {
    const int32_t id = SelectedElementID();
    return id != 0 && CurrentCategory ? CurrentCategory->ElementByID(id) : nullptr;
}

void TTemplateEditor::SelectElement(int32_t id) {
    QWidget* control = id != 0 ? ControlOfElement(id) : nullptr;
    if (!control) {
        SelectedElement = Panel4;
        PBSelectBox->hide();
        ShowPropertyBar(nullptr);
        return;
    }
    SelectedElement = control;
    PlaceSelectBox();
    EditFocus->setFocus();
    ShowPropertyBar(SelectedElementData());
}

void TTemplateEditor::PlaceSelectBox() {
    PBSelectBox->setGeometry(DesignGeometry::SelectBoxRect(SelectedElement->geometry()));
    PBSelectBox->show();
    PBSelectBox->update();
}

void TTemplateEditor::ShowPropertyBar(const TElement* element) {
    const bool label = element && element->IsLabel();
    CBBGColor->setVisible(!label);
    PanelFont->setVisible(element != nullptr);
    EditCaption->setVisible(element != nullptr);
    if (!element) {
        CBBGColor->SetColor(FPanelColor);
        return;
    }
    if (!label)
        CBBGColor->SetColor(element->Color);
    ShowInCombo(CBFontName, DisplayText(element->Font.Name));
    ShowInCombo(CBFontSize, QString::number(element->Font.Size));
    BtnFontBold->setChecked(element->Font.Style & fsBold);
    BtnFontItalic->setChecked(element->Font.Style & fsItalic);
    BtnFontUnderline->setChecked(element->Font.Style & fsUnderline);
    CBFontColor->SetColor(element->Font.Color);
    EditCaption->setToolTip(label ? QStringLiteral("Caption") : QStringLiteral("Column Caption"));
    // Filling the edit with the element's own caption changes nothing.
    const QSignalBlocker blocker(EditCaption);
    if (label) {
        EditCaption->setText(DisplayText(element->Caption));
    } else {
        const int column = FindColumnOfElement(element->ID);
        EditCaption->setText(column >= 0 ? FPreviewColumns->horizontalHeaderItem(column)->text() : QString());
    }
}

int TTemplateEditor::FindColumnOfElement(int32_t id) const {
    const QHeaderView* header = ListView2->header();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (FPreviewColumns->horizontalHeaderItem(logical)->data(kColumnElementRole).toInt() == id)
            return logical;
    }
    return -1;
}

void TTemplateEditor::AddPreviewColumn(int32_t elementId, int width, const std::string& caption) {
    const int logical = FPreviewColumns->columnCount();
    FPreviewColumns->setColumnCount(logical + 1);
    auto* column = new QStandardItem;
    column->setData(elementId, kColumnElementRole);
    SetColumnCaption(column, caption);
    FPreviewColumns->setHorizontalHeaderItem(logical, column);
    ListView2->header()->resizeSection(logical, width);
}

void TTemplateEditor::AskListColumnQuestion() {
    QString question = QStringLiteral("Also show the content in this text box in the list view?\r\n\r\n");
    if (FPreviewColumns->columnCount() == 0)
        question += QStringLiteral(
            "At least one text field should be shown in the list view in each category.\r\n\r\n");
    if (MessageBoxes::Show(this, MessageBoxes::TKind::Confirmation, question,
                           QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
        AskColumnCaption();
}

void TTemplateEditor::AskColumnCaption() {
    QString typed;
    if (!DlgSetColumnCaption->Execute(typed))
        return;
    const QString caption = TrimBlanks(typed);
    if (caption.isEmpty())
        return;
    const int32_t id = SelectedElementID();
    AddPreviewColumn(id, kNewColumnWidth, StoredText(caption));
    SelectElement(id);
}

void TTemplateEditor::WriteControlBack(QWidget* control) {
    const int32_t id = TemplateControls::ElementIdOf(control);
    const TElement element = *CurrentCategory->ElementByID(id);
    CurrentCategory->UpdateElement(id, control->x(), control->y(), control->width(), control->height(),
                                   element.Color, element.Font,
                                   element.IsLabel() ? element.Caption : std::string());
}

void TTemplateEditor::ChangeSelectedElement(const std::function<void(TElement&)>& change) {
    if (!CurrentCategory || SelectedElement == Panel4)
        return;
    const int32_t id = SelectedElementID();
    TElement element = *CurrentCategory->ElementByID(id);
    change(element);
    CurrentCategory->UpdateElement(id, element.Left, element.Top, element.Width, element.Height,
                                   element.Color, element.Font,
                                   element.IsLabel() ? element.Caption : std::string());
    // The control is made anew so that it shows the element exactly as the record form will.
    WriteControlBack(RebuildControl(SelectedElement));
    PlaceSelectBox();
}

void TTemplateEditor::ChangeSelectedFontStyle(uint8_t bit, bool down) {
    ChangeSelectedElement([bit, down](TElement& element) {
        element.Font.Style =
            static_cast<uint8_t>(down ? element.Font.Style | bit : element.Font.Style & ~bit);
    });
}

void TTemplateEditor::CBBGColorColorSelected(int32_t color) {
    if (!CurrentCategory)
        return;
    if (SelectedElement == Panel4) {
        SetPanelColor(color);
        CurrentCategory->FormColor = color;
    } else {
        ChangeSelectedElement([color](TElement& element) { element.Color = color; });
    }
}

void TTemplateEditor::CBFontNameClick(int index) {
    const std::string face = StoredText(CBFontName->itemText(index));
    ChangeSelectedElement([&face](TElement& element) { element.Font.Name = face; });
}

void TTemplateEditor::CBFontSizeClick(int index) {
    const int32_t size = CBFontSize->itemText(index).toInt();
    ChangeSelectedElement([size](TElement& element) { element.Font.Size = size; });
}

void TTemplateEditor::CBFontColorColorSelected(int32_t color) {
    ChangeSelectedElement([color](TElement& element) { element.Font.Color = color; });
}

void TTemplateEditor::EditCaptionChange(const QString& text) {
    const TElement* element = SelectedElementData();
    if (!element)
        return;
    if (element->IsLabel()) {
        const std::string caption = StoredText(text);
        ChangeSelectedElement([&caption](TElement& changed) { changed.Caption = caption; });
        return;
    }
    int column = FindColumnOfElement(element->ID);
    if (text.isEmpty()) {
        if (column >= 0)
            FPreviewColumns->removeColumn(column);
        return;
    }
    if (column < 0) {
        AddPreviewColumn(element->ID, kNewColumnWidth, std::string());
        column = FPreviewColumns->columnCount() - 1;
    }
    SetColumnCaption(FPreviewColumns->horizontalHeaderItem(column), StoredText(text));
}

void TTemplateEditor::PopupMenu3Popup(QWidget* control) {
    FPopupElement = control;
    SelectElement(TemplateControls::ElementIdOf(control));
}

void TTemplateEditor::EditFocusKeyUp(int key) {
    if (key == Qt::Key_Delete)
        DeleteSelectedElement();
}

void TTemplateEditor::DeleteSelectedElement() {
    const TElement* element = SelectedElementData();
    if (!element)
        return;
    const int32_t id = element->ID;
    if (!element->IsLabel()) {
        if (MessageBoxes::Show(
                this, MessageBoxes::TKind::Warning,
                QStringLiteral("You will lose all the data in this text box, if you already have "
                               "data stored. Delete it anyway?"),
                QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return;
        const int column = FindColumnOfElement(id);
        if (column >= 0)
            FPreviewColumns->removeColumn(column);
    }
    CurrentCategory->DeleteElement(id);
    QWidget* control = SelectedElement;
    FElementControls.erase(std::remove(FElementControls.begin(), FElementControls.end(), control),
                           FElementControls.end());
    if (FPopupElement == control)
        FPopupElement = nullptr;
    if (FPressed == control)
        FPressed = nullptr;
    SelectedElement = Panel4;
    delete control;
    SelectElement(0);
}

void TTemplateEditor::DuplicateThisElement1Click() {
    if (!FPopupElement || !CurrentCategory)
        return;
    const TElement source = *CurrentCategory->ElementByID(TemplateControls::ElementIdOf(FPopupElement));
    InsertX = 12;
    InsertY = 12;
    QAction* create =
        source.IsLabel() ? ActionNewLabel : (source.Kind == kKindEdit ? ActionNewEdit : ActionNewMemo);
    create->trigger();
    ChangeSelectedElement([&source](TElement& copy) {
        copy.Left = source.Left + 20;
        copy.Top = source.Top + 20;
        copy.Font = source.Font;
        if (source.IsLabel()) {
            copy.Caption = source.Caption;
        } else {
            copy.Width = source.Width;
            copy.Height = source.Height;
            copy.Color = source.Color;
        }
    });
    TBArrow->setChecked(true);
    SelectElement(SelectedElementID());
}
