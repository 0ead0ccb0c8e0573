// SPDX-License-Identifier: GPL-3.0-or-later
#include "templateeditor/ElementProperties.h"

#include "core/Category.h"
#include "exchange/DisplayText.h"
#include "templateeditor/ColumnCaptionDialog.h"
#include "templateeditor/DesignSurface.h"
#include "templateeditor/ListPreview.h"
#include "ui/ColorPicker.h"
#include "ui/RunCommand.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>

namespace {

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

// A combo box shows a value it does not list as its placeholder.
void ShowInCombo(QComboBox* combo, const QString& value) {
    combo->setPlaceholderText(value);
    combo->setCurrentIndex(combo->findText(value, Qt::MatchFixedString));
}

QComboBox* NamedCombo(const char* name, const QString& hint, const QStringList& items, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setToolTip(hint);
    combo->addItems(items);
    return combo;
}

} // namespace

TElementProperties::TElementProperties(TDesignSurface* surface, TListPreview* preview, QWidget* parent)
    : QWidget(parent), FSurface(surface), FPreview(preview), FCaptionDialog(new TColumnCaptionDialog(this)) {
    setObjectName(QStringLiteral("PanelProperties"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    // "Automatic" stands for the window colour under a box and for the window-text colour of a font.
    FBackgroundColor = new TColorPicker(QStringLiteral("CBBGColor"), tr("Background Color"),
                                        static_cast<int32_t>(0x80000005), this);
    connect(FBackgroundColor, &TColorPicker::ColorSelected, this,
            &TElementProperties::BackgroundColorSelected);
    layout->addWidget(FBackgroundColor);

    FFontPanel = new QWidget(this);
    FFontPanel->setObjectName(QStringLiteral("PanelFont"));
    auto* fontLayout = new QHBoxLayout(FFontPanel);
    fontLayout->setContentsMargins(0, 0, 0, 0);
    fontLayout->setSpacing(2);
    FFontName = NamedCombo("CBFontName", tr("Font Name"), QFontDatabase::families(), FFontPanel);
    FFontName->setMinimumWidth(160);
    connect(FFontName, &QComboBox::activated, this, &TElementProperties::FontNameChosen);
    FFontSize = NamedCombo("CBFontSize", tr("Font Size"), {"8", "10", "12", "14", "16", "20"}, FFontPanel);
    connect(FFontSize, &QComboBox::activated, this, &TElementProperties::FontSizeChosen);
    fontLayout->addWidget(FFontName);
    fontLayout->addWidget(FFontSize);

    struct TStyleButton {
        QToolButton*& Button;
        const char* Name;
        const char* Text;
        const char* Hint;
        uint8_t Bit;
    };
    const TStyleButton styles[] = {
        {FBold, "BtnFontBold", QT_TR_NOOP("B"), QT_TR_NOOP("Bold"), fsBold},
        {FItalic, "BtnFontItalic", QT_TR_NOOP("I"), QT_TR_NOOP("Italic"), fsItalic},
        {FUnderline, "BtnFontUnderline", QT_TR_NOOP("U"), QT_TR_NOOP("Underline"), fsUnderline}};
    for (const TStyleButton& style : styles) {
        auto* button = new QToolButton(FFontPanel);
        button->setObjectName(QLatin1String(style.Name));
        button->setText(tr(style.Text));
        button->setToolTip(tr(style.Hint));
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setFixedSize(24, 24);
        QFont face = button->font();
        face.setBold(style.Bit == fsBold);
        face.setItalic(style.Bit == fsItalic);
        face.setUnderline(style.Bit == fsUnderline);
        button->setFont(face);
        const uint8_t bit = style.Bit;
        connect(button, &QToolButton::clicked, this, [this, bit](bool down) { ChangeFontStyle(bit, down); });
        fontLayout->addWidget(button);
        style.Button = button;
    }
    FFontColor = new TColorPicker(QStringLiteral("CBFontColor"), tr("Font Color"),
                                  static_cast<int32_t>(0x80000008), FFontPanel);
    connect(FFontColor, &TColorPicker::ColorSelected, this, [this](int32_t color) {
        ChangeSelected([color](TElement& element) { element.Font.Color = color; });
    });
    fontLayout->addWidget(FFontColor);
    layout->addWidget(FFontPanel);

    FCaption = new QLineEdit(this);
    FCaption->setObjectName(QStringLiteral("EditCaption"));
    FCaption->setMinimumWidth(200);
    connect(FCaption, &QLineEdit::textChanged, this, &TElementProperties::CaptionEdited);
    layout->addWidget(FCaption);
    layout->addStretch();
}

void TElementProperties::Show(const TElement* element) {
    const bool label = element && element->IsLabel();
    FBackgroundColor->setVisible(!label);
    FFontPanel->setVisible(element != nullptr);
    FCaption->setVisible(element != nullptr);
    if (!element) {
        FBackgroundColor->SetColor(FSurface->FormColor());
        return;
    }
    if (!label)
        FBackgroundColor->SetColor(element->Color);
    ShowInCombo(FFontName, DisplayText(element->Font.Name));
    ShowInCombo(FFontSize, QString::number(element->Font.Size));
    FBold->setChecked(element->Font.Style & fsBold);
    FItalic->setChecked(element->Font.Style & fsItalic);
    FUnderline->setChecked(element->Font.Style & fsUnderline);
    FFontColor->SetColor(element->Font.Color);
    FCaption->setToolTip(label ? tr("Caption") : tr("Column Caption"));
    // Filling the edit with the element's own caption changes nothing.
    const QSignalBlocker blocker(FCaption);
    FCaption->setText(DisplayText(label ? element->Caption : FPreview->CaptionOf(element->ID)));
}

void TElementProperties::AskListColumn() {
    // One sentence a paragraph, so each translates as a unit.
    const QString paragraphEnd = QStringLiteral("\r\n\r\n");
    QString question = tr("Also show the content in this text box in the list view?") + paragraphEnd;
    if (FPreview->IsEmpty())
        question +=
            tr("At least one text field should be shown in the list view in each category.") + paragraphEnd;
    if (MessageBoxes::Show(this, MessageBoxes::TKind::Confirmation, question,
                           QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
        AskColumnCaption();
}

void TElementProperties::AskColumnCaption() {
    QString typed;
    if (!FCaptionDialog->Execute(typed))
        return;
    const QString caption = TrimBlanks(typed);
    if (caption.isEmpty())
        return;
    const int32_t id = FSurface->SelectedID();
    FPreview->AddColumn(id, TListPreview::kNewColumnWidth, StoredText(caption));
    FSurface->SelectElement(id);
}

void TElementProperties::DeleteSelectedElement() {
    const TElement* element = FSurface->SelectedElement();
    if (!element)
        return;
    if (!element->IsLabel()) {
        // Enter answers No: the values of the text box would be lost.
        if (MessageBoxes::Show(this, MessageBoxes::TKind::Warning,
                               tr("You will lose all the data in this text box, if you already "
                                  "have data stored. Delete it anyway?"),
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
            return;
        FPreview->RemoveColumnOf(element->ID);
    }
    FSurface->DeleteSelected();
}

void TElementProperties::ChangeSelected(const std::function<void(TElement&)>& change) {
    RunCommand(this, [this, &change] { FSurface->ChangeSelected(change); });
}

void TElementProperties::ChangeFontStyle(uint8_t bit, bool down) {
    ChangeSelected([bit, down](TElement& element) {
        element.Font.Style =
            static_cast<uint8_t>(down ? element.Font.Style | bit : element.Font.Style & ~bit);
    });
}

void TElementProperties::BackgroundColorSelected(int32_t color) {
    if (FSurface->SelectedID() == 0)
        FSurface->SetFormColor(color);
    else
        ChangeSelected([color](TElement& element) { element.Color = color; });
}

void TElementProperties::FontNameChosen(int index) {
    const std::string face = StoredText(FFontName->itemText(index));
    ChangeSelected([&face](TElement& element) { element.Font.Name = face; });
}

void TElementProperties::FontSizeChosen(int index) {
    const int32_t size = FFontSize->itemText(index).toInt();
    ChangeSelected([size](TElement& element) { element.Font.Size = size; });
}

void TElementProperties::CaptionEdited(const QString& text) {
    const TElement* element = FSurface->SelectedElement();
    if (!element)
        return;
    if (element->IsLabel()) {
        const std::string caption = StoredText(text);
        ChangeSelected([&caption](TElement& changed) { changed.Caption = caption; });
    } else if (text.isEmpty()) {
        FPreview->RemoveColumnOf(element->ID);
    } else {
        FPreview->SetCaption(element->ID, StoredText(text));
    }
}
