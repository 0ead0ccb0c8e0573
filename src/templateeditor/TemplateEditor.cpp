// The editor window, its category list and the category commands.
#include "templateeditor/TemplateEditor.h"

#include "core/Error.h"
#include "core/Ledgrin.h"
#include "settings/Settings.h"
#include "templateeditor/ColumnCaptionDialog.h"
#include "templateeditor/PaintBox.h"
#include "templateeditor/SelectCategoryDialog.h"
#include "ui/ColorPicker.h"
#include "ui/DisplayText.h"
#include "ui/PictureConversion.h"
#include "ui/TemplateControls.h"
#include "ui/dialogs/FileDialogs.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStandardItemModel>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const char* const kUnit = "FormTemplateUnit";

QLabel* Caption(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

QPushButton* FrameButton(const QString& name, const QString& text, const QString& hint, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    button->setMinimumWidth(110);
    return button;
}

QAction* NamedAction(const QString& name, const QString& text, const QString& hint, QObject* parent) {
    auto* action = new QAction(text, parent);
    action->setObjectName(name);
    action->setToolTip(hint);
    action->setStatusTip(hint);
    return action;
}

// The picture types Qt reads, for the icon chooser.
QString PictureFilter() {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    return QStringLiteral("All pictures (%1);;All files (*)").arg(patterns.join(QLatin1Char(' ')));
}

} // namespace

TTemplateEditor::TTemplateEditor(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("FormTemplate"));
    setWindowTitle(QStringLiteral("Template Editor"));
    CreateFrame();
    DlgSelectCategory = new TSelectCategoryDialog(this);
    DlgSetColumnCaption = new TColumnCaptionDialog(this);
    ShowNoCategory();
}

TTemplateEditor::~TTemplateEditor() = default;

void TTemplateEditor::CreateFrame() {
    ActionNewCategory = NamedAction(QStringLiteral("ActionNewCategory"), QStringLiteral("New Category"),
                                    QStringLiteral("Add a new category."), this);
    ActionDeleteCategory =
        NamedAction(QStringLiteral("ActionDeleteCategory"), QStringLiteral("Delete Category"),
                    QStringLiteral("Deleted selected category."), this);
    connect(ActionNewCategory, &QAction::triggered, this, &TTemplateEditor::ActionNewCategoryExecute);
    connect(ActionDeleteCategory, &QAction::triggered, this, &TTemplateEditor::ActionDeleteCategoryExecute);

    auto* topBar = new QWidget(this);
    topBar->setObjectName(QStringLiteral("PanelTop"));
    auto* topLayout = new QHBoxLayout(topBar);
    topLayout->setContentsMargins(6, 6, 6, 6);
    BtnNewCategory = FrameButton(QStringLiteral("BtnNewCategory"), QStringLiteral("&New Category"),
                                 QStringLiteral("Create a new category."), topBar);
    BtnDeleteCategory = FrameButton(QStringLiteral("BtnDeleteCategory"), QStringLiteral("Dele&te Category"),
                                    QStringLiteral("Deleted the selected category."), topBar);
    BtnSave = FrameButton(QStringLiteral("BtnSave"), QStringLiteral("&Save && Close"),
                          QStringLiteral("Save edit & close window."), topBar);
    BtnCancel = FrameButton(QStringLiteral("BtnCancel"), QStringLiteral("&Cancel && Close"),
                            QStringLiteral("Cancel edit & close window."), topBar);
    connect(BtnNewCategory, &QPushButton::clicked, ActionNewCategory, &QAction::trigger);
    connect(BtnDeleteCategory, &QPushButton::clicked, ActionDeleteCategory, &QAction::trigger);
    connect(ActionDeleteCategory, &QAction::enabledChanged, BtnDeleteCategory, &QPushButton::setEnabled);
    connect(BtnSave, &QPushButton::clicked, this, &TTemplateEditor::BtnSaveClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TTemplateEditor::BtnCancelClick);
    topLayout->addWidget(BtnNewCategory);
    topLayout->addWidget(BtnDeleteCategory);
    topLayout->addStretch();
    topLayout->addWidget(BtnSave);
    topLayout->addWidget(BtnCancel);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->setHandleWidth(3);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(CreateLeftPanel());

    auto* right = new QWidget(splitter);
    right->setObjectName(QStringLiteral("PanelRightHolder"));
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    LabelSelectCategory =
        Caption(QStringLiteral("Select the category you want to edit, or create a new one."), right);
    LabelSelectCategory->setObjectName(QStringLiteral("LabelSelectCategory"));
    LabelSelectCategory->setAlignment(Qt::AlignCenter);
    rightLayout->addWidget(LabelSelectCategory);
    rightLayout->addWidget(CreatePanelRight());
    splitter->addWidget(right);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({121, 1000});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(topBar);
    layout->addWidget(splitter, 1);
}

QWidget* TTemplateEditor::CreateLeftPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("PanelLeft"));
    panel->setMinimumWidth(60);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->setSpacing(4);

    ListView1 = new QTreeWidget(panel);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setColumnCount(1);
    ListView1->setHeaderLabels({QStringLiteral("      Category List")});
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->setSectionsClickable(false);
    ListView1->setColumnWidth(0, 117);
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The selection stays visible while another control has the focus.
    QPalette palette = ListView1->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    ListView1->setPalette(palette);
    connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TTemplateEditor::ListView1SelectionChanged);

    PopupMenu1 = new QMenu(ListView1);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addAction(ActionNewCategory);
    PopupMenu1->addAction(ActionDeleteCategory);
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListView1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& point) { PopupMenu1->popup(ListView1->viewport()->mapToGlobal(point)); });
    layout->addWidget(ListView1, 1);

    auto* moveBar = new QHBoxLayout;
    moveBar->setContentsMargins(4, 0, 4, 0);
    BtnMoveUp = new QToolButton(panel);
    BtnMoveUp->setObjectName(QStringLiteral("BtnMoveUp"));
    BtnMoveUp->setToolTip(QStringLiteral("Move Up"));
    BtnMoveUp->setArrowType(Qt::UpArrow);
    BtnMoveDown = new QToolButton(panel);
    BtnMoveDown->setObjectName(QStringLiteral("BtnMoveDown"));
    BtnMoveDown->setToolTip(QStringLiteral("Move Down"));
    BtnMoveDown->setArrowType(Qt::DownArrow);
    connect(BtnMoveUp, &QToolButton::clicked, this, [this] { MoveCategory(-1); });
    connect(BtnMoveDown, &QToolButton::clicked, this, [this] { MoveCategory(1); });
    moveBar->addWidget(BtnMoveUp);
    moveBar->addWidget(BtnMoveDown);
    moveBar->addStretch();
    layout->addLayout(moveBar);
    return panel;
}

QWidget* TTemplateEditor::CreatePanelRight() {
    PanelRight = new QWidget(this);
    PanelRight->setObjectName(QStringLiteral("PanelRight"));
    auto* layout = new QVBoxLayout(PanelRight);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setSpacing(4);

    auto* header = new QGridLayout;
    header->setHorizontalSpacing(8);
    header->setVerticalSpacing(2);
    header->addWidget(Caption(QStringLiteral("Category Name:"), PanelRight), 0, 0);
    LabeledEditBookName = new QLineEdit(PanelRight);
    LabeledEditBookName->setObjectName(QStringLiteral("LabeledEditBookName"));
    LabeledEditBookName->setFixedWidth(220);
    connect(LabeledEditBookName, &QLineEdit::textChanged, this, &TTemplateEditor::LabeledEditBookNameChange);
    header->addWidget(LabeledEditBookName, 1, 0, Qt::AlignTop);
    header->addItem(new QSpacerItem(16, 1), 0, 1);
    header->addWidget(Caption(QStringLiteral("Icon:"), PanelRight), 0, 2);
    auto* iconRow = new QHBoxLayout;
    ImageCatIcon = new QLabel(PanelRight);
    ImageCatIcon->setObjectName(QStringLiteral("ImageCatIcon"));
    ImageCatIcon->setFixedSize(IconPicture::kIconSize, IconPicture::kIconSize);
    BtnSelectIcon = new QToolButton(PanelRight);
    BtnSelectIcon->setObjectName(QStringLiteral("BtnSelectIcon"));
    BtnSelectIcon->setText(QStringLiteral("..."));
    BtnSelectIcon->setToolTip(QStringLiteral("Click to choose an icon for the category."));
    connect(BtnSelectIcon, &QToolButton::clicked, this, &TTemplateEditor::BtnSelectIconClick);
    iconRow->addWidget(ImageCatIcon);
    iconRow->addWidget(BtnSelectIcon, 0, Qt::AlignBottom);
    header->addLayout(iconRow, 1, 2);
    header->setColumnStretch(3, 1);
    layout->addLayout(header);

    layout->addSpacing(4);
    layout->addWidget(
        Caption(QStringLiteral("List View of Data (drag column header to arrange order):"), PanelRight));
    ListView2 = new QTreeView(PanelRight);
    ListView2->setObjectName(QStringLiteral("ListView2"));
    FPreviewColumns = new QStandardItemModel(0, 0, ListView2);
    ListView2->setModel(FPreviewColumns);
    ListView2->setFixedHeight(56);
    ListView2->setFocusPolicy(Qt::NoFocus);
    ListView2->setRootIsDecorated(false);
    ListView2->setSelectionMode(QAbstractItemView::NoSelection);
    ListView2->header()->setSectionsMovable(true);
    ListView2->header()->setStretchLastSection(false);
    ListView2->header()->setMinimumSectionSize(0);
    ListView2->header()->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(ListView2);

    layout->addSpacing(4);
    layout->addWidget(Caption(QStringLiteral("Form View of Data:"), PanelRight));
    layout->addWidget(CreatePropertyBar());

    auto* designRow = new QHBoxLayout;
    designRow->setSpacing(0);
    designRow->addWidget(CreateToolColumn());
    Panel4 = new TPaintBox(
        QStringLiteral("Panel4"), PanelRight,
        [this](QPainter& painter, const QRect& exposed) {
            painter.fillRect(exposed, TemplateControls::ToQColor(FPanelColor, palette()));
        },
        TPaintBox::TPointer::Take);
    Panel4->setMouseTracking(true);
    Panel4->setFocusPolicy(Qt::NoFocus);
    Panel4->installEventFilter(this);
    Panel4->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    designRow->addWidget(Panel4, 1);
    layout->addLayout(designRow, 1);

    PBGrid = new TPaintBox(QStringLiteral("PBGrid"), Panel4, [this](QPainter& painter, const QRect& exposed) {
        PBGridPaint(painter, exposed);
    });
    PBSelectBox = new TPaintBox(QStringLiteral("PBSelectBox"), Panel4,
                                [this](QPainter& painter, const QRect&) { PBSelectBoxPaint(painter); });
    PBMoveBox = new TPaintBox(QStringLiteral("PBMoveBox"), Panel4,
                              [this](QPainter& painter, const QRect&) { PBMoveBoxPaint(painter); });
    PBSelectBox->hide();
    PBMoveBox->hide();
    EditFocus = new QLineEdit(Panel4);
    EditFocus->setObjectName(QStringLiteral("EditFocus"));
    EditFocus->setGeometry(0, -50, 20, 20);
    EditFocus->installEventFilter(this);

    PopupMenu3 = new QMenu(Panel4);
    PopupMenu3->setObjectName(QStringLiteral("PopupMenu3"));
    QAction* duplicate = PopupMenu3->addAction(QStringLiteral("&Duplicate This Element"));
    duplicate->setObjectName(QStringLiteral("DuplicateThisElement1"));
    connect(duplicate, &QAction::triggered, this, &TTemplateEditor::DuplicateThisElement1Click);
    SelectedElement = Panel4;
    return PanelRight;
}

QWidget* TTemplateEditor::CreatePropertyBar() {
    auto* bar = new QWidget(PanelRight);
    bar->setObjectName(QStringLiteral("PanelProperties"));
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    // "Automatic" stands for the window colour under a box and for the window-text colour of a font.
    CBBGColor = new TColorPicker(QStringLiteral("CBBGColor"), QStringLiteral("Background Color"),
                                 static_cast<int32_t>(0x80000005), bar);
    connect(CBBGColor, &TColorPicker::ColorSelected, this, &TTemplateEditor::CBBGColorColorSelected);
    layout->addWidget(CBBGColor);

    PanelFont = new QWidget(bar);
    PanelFont->setObjectName(QStringLiteral("PanelFont"));
    auto* fontLayout = new QHBoxLayout(PanelFont);
    fontLayout->setContentsMargins(0, 0, 0, 0);
    fontLayout->setSpacing(2);
    CBFontName = new QComboBox(PanelFont);
    CBFontName->setObjectName(QStringLiteral("CBFontName"));
    CBFontName->setToolTip(QStringLiteral("Font Name"));
    CBFontName->addItems(QFontDatabase::families());
    CBFontName->setMinimumWidth(160);
    connect(CBFontName, &QComboBox::activated, this, &TTemplateEditor::CBFontNameClick);
    CBFontSize = new QComboBox(PanelFont);
    CBFontSize->setObjectName(QStringLiteral("CBFontSize"));
    CBFontSize->setToolTip(QStringLiteral("Font Size"));
    CBFontSize->addItems({QStringLiteral("8"), QStringLiteral("10"), QStringLiteral("12"),
                          QStringLiteral("14"), QStringLiteral("16"), QStringLiteral("20")});
    connect(CBFontSize, &QComboBox::activated, this, &TTemplateEditor::CBFontSizeClick);
    fontLayout->addWidget(CBFontName);
    fontLayout->addWidget(CBFontSize);

    struct TStyleButton {
        QToolButton*& Button;
        const char* Name;
        const char* Text;
        const char* Hint;
        uint8_t Bit;
    };
    const TStyleButton styles[] = {{BtnFontBold, "BtnFontBold", "B", "Bold", fsBold},
                                   {BtnFontItalic, "BtnFontItalic", "I", "Italic", fsItalic},
                                   {BtnFontUnderline, "BtnFontUnderline", "U", "Underline", fsUnderline}};
    for (const TStyleButton& style : styles) {
        auto* button = new QToolButton(PanelFont);
        button->setObjectName(QLatin1String(style.Name));
        button->setText(QLatin1String(style.Text));
        button->setToolTip(QLatin1String(style.Hint));
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setFixedSize(24, 24);
        QFont face = button->font();
        face.setBold(style.Bit == fsBold);
        face.setItalic(style.Bit == fsItalic);
        face.setUnderline(style.Bit == fsUnderline);
        button->setFont(face);
        const uint8_t bit = style.Bit;
        connect(button, &QToolButton::clicked, this,
                [this, bit](bool down) { ChangeSelectedFontStyle(bit, down); });
        fontLayout->addWidget(button);
        style.Button = button;
    }
    CBFontColor = new TColorPicker(QStringLiteral("CBFontColor"), QStringLiteral("Font Color"),
                                   static_cast<int32_t>(0x80000008), PanelFont);
    connect(CBFontColor, &TColorPicker::ColorSelected, this, &TTemplateEditor::CBFontColorColorSelected);
    fontLayout->addWidget(CBFontColor);
    layout->addWidget(PanelFont);

    EditCaption = new QLineEdit(bar);
    EditCaption->setObjectName(QStringLiteral("EditCaption"));
    EditCaption->setMinimumWidth(200);
    connect(EditCaption, &QLineEdit::textChanged, this, &TTemplateEditor::EditCaptionChange);
    layout->addWidget(EditCaption);
    layout->addStretch();
    bar->setFixedHeight(28);
    return bar;
}

bool TTemplateEditor::Execute(TLedgrin& workingCopy) {
    PrepareRun(workingCopy);
    exec();
    return Saved;
}

void TTemplateEditor::Open(TLedgrin& workingCopy) {
    PrepareRun(workingCopy);
    setWindowModality(Qt::ApplicationModal);
    show();
}

void TTemplateEditor::PrepareRun(TLedgrin& workingCopy) {
    FWorkingCopy = &workingCopy;
    FormShow();
    // Without a window manager to maximize it, the window still covers the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
}

void TTemplateEditor::FormShow() {
    Reordering = false;
    Saved = false;
    CurrentCategory = nullptr;
    {
        const QSignalBlocker blocker(ListView1->selectionModel());
        ListView1->clear();
    }
    ClearDesignSurface();
    ShowNoCategory();
    for (const auto& category : FWorkingCopy->Categories) {
        auto* item = new QTreeWidgetItem(ListView1, {DisplayText(category->Name)});
        item->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(category.get())));
    }
    PBGrid->setGeometry(Panel4->rect());
}

TCategory* TTemplateEditor::CategoryOfRow(const QTreeWidgetItem* item) const {
    return item ? static_cast<TCategory*>(item->data(0, Qt::UserRole).value<void*>()) : nullptr;
}

QTreeWidgetItem* TTemplateEditor::SelectedRow() const {
    const QList<QTreeWidgetItem*> rows = ListView1->selectedItems();
    return rows.isEmpty() ? nullptr : rows.constFirst();
}

void TTemplateEditor::ListView1SelectionChanged(const QItemSelection& selected,
                                                const QItemSelection& deselected) {
    // The row that loses the selection reports first, then the one that gains it.
    for (const QModelIndex& index : deselected.indexes())
        ListView1SelectItem(ListView1->topLevelItem(index.row()), false);
    for (const QModelIndex& index : selected.indexes())
        ListView1SelectItem(ListView1->topLevelItem(index.row()), true);
}

void TTemplateEditor::ListView1SelectItem(QTreeWidgetItem* item, bool selected) {
    if (Reordering)
        return;
    if (CurrentCategory)
        StoreCurrentCategory();
    if (!selected) {
        ShowNoCategory();
        return;
    }
    TCategory* category = CategoryOfRow(item);
    {
        const QSignalBlocker blocker(LabeledEditBookName);
        LabeledEditBookName->setText(item->text(0));
    }
    LoadCategoryTemplate(category);
    ImageCatIcon->setPixmap(IconPicture::ToPixmap(category->Icon));
    LabelSelectCategory->hide();
    PanelRight->show();
    SelectElement(0);
    ActionDeleteCategory->setEnabled(true);
    LabeledEditBookName->setFocus();
    CurrentCategory = category;
    UpdateMoveButtons();
}

void TTemplateEditor::ShowNoCategory() {
    PanelRight->hide();
    LabelSelectCategory->show();
    ActionDeleteCategory->setEnabled(false);
    CurrentCategory = nullptr;
    BtnMoveUp->setEnabled(false);
    BtnMoveDown->setEnabled(false);
}

void TTemplateEditor::StoreListColumns() {
    if (!CurrentCategory)
        ThrowAssertion(kAssertionFailure, kUnit, __LINE__);
    CurrentCategory->Columns.clear();
    const QHeaderView* header = ListView2->header();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        const QStandardItem* column = FPreviewColumns->horizontalHeaderItem(logical);
        auto stored = std::make_unique<TListColumn>();
        stored->ElementID = column->data(Qt::UserRole).toInt();
        stored->Width = header->sectionSize(logical);
        stored->Caption = column->data(Qt::UserRole + 1).toByteArray().toStdString();
        CurrentCategory->Columns.push_back(std::move(stored));
    }
    CurrentCategory->SortColumn = 0;
    CurrentCategory->SortAscending = true;
}

void TTemplateEditor::NumberRecordSlots() {
    if (!CurrentCategory)
        ThrowAssertion(kAssertionFailure, kUnit, __LINE__);
    CurrentCategory->RenumberValueIndexes();
}

void TTemplateEditor::StoreCurrentCategory() {
    StoreListColumns();
    NumberRecordSlots();
}

void TTemplateEditor::ActionNewCategoryExecute() {
    TCategory* category = FWorkingCopy->AddCategory();
    category->Name = "New Category";
    const auto& categories = FWorkingCopy->Categories;
    if (categories.size() > 1 &&
        MessageBoxes::Show(this, MessageBoxes::TKind::Confirmation,
                           QStringLiteral("A new category is created. Do you want to copy template from an "
                                          "existing category?"),
                           QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
        QStringList names;
        for (size_t i = 0; i + 1 < categories.size(); ++i)
            names << DisplayText(categories[i]->Name);
        const int chosen = DlgSelectCategory->Execute(names);
        if (chosen >= 0) {
            const TCategory& source = *categories[static_cast<size_t>(chosen)];
            const int32_t id = category->ID;
            category->AssignTemplate(source);
            category->ID = id;
            category->Name = "Copy of " + source.Name;
        }
    }
    auto* item = new QTreeWidgetItem(ListView1, {DisplayText(category->Name)});
    item->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(category)));
    ListView1->setCurrentItem(item);
    ListView1->scrollToItem(item);
}

void TTemplateEditor::ActionDeleteCategoryExecute() {
    QTreeWidgetItem* item = SelectedRow();
    if (!item)
        return;
    TCategory* category = CategoryOfRow(item);
    const QString question =
        QStringLiteral("You will lose all the data in this category, if you already have data "
                       "stored. Delete the category \"%1\" anyway?")
            .arg(DisplayText(category->Name));
    if (MessageBoxes::Show(this, MessageBoxes::TKind::Warning, question,
                           QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    // The category must not be stored on the way out.
    CurrentCategory = nullptr;
    delete item;
    ListView1->clearSelection();
    auto& categories = FWorkingCopy->Categories;
    categories.erase(std::find_if(categories.begin(), categories.end(),
                                  [category](const auto& candidate) { return candidate.get() == category; }));
    ShowNoCategory();
}

void TTemplateEditor::LabeledEditBookNameChange(const QString& text) {
    QTreeWidgetItem* item = SelectedRow();
    if (!item)
        return;
    item->setText(0, text);
    CategoryOfRow(item)->Name = StoredText(text);
}

void TTemplateEditor::BtnSelectIconClick() {
    if (!CurrentCategory)
        return;
    FileDialogs::TOptions options;
    options.Title = QStringLiteral("Open");
    options.Filter = PictureFilter();
    options.Folder = TDataGlobal::IconsFolder();
    const QString path = FileDialogs::Run(this, options);
    if (path.isEmpty())
        return;
    TBitmapImage icon;
    if (!IconPicture::FromFile(path, icon)) {
        MessageBoxes::ShowError(
            this, QStringLiteral("\"%1\" is not a picture that can be used as an icon.").arg(path));
        return;
    }
    CurrentCategory->Icon = icon;
    ImageCatIcon->setPixmap(IconPicture::ToPixmap(icon));
}

void TTemplateEditor::MoveCategory(int step) {
    QTreeWidgetItem* item = SelectedRow();
    const int row = item ? ListView1->indexOfTopLevelItem(item) : -1;
    const int other = row + step;
    if (row < 0 || other < 0 || other >= ListView1->topLevelItemCount())
        ThrowAssertion(kAssertionFailure, kUnit, __LINE__);
    Reordering = true;
    QTreeWidgetItem* otherItem = ListView1->topLevelItem(other);
    TCategory* moved = CategoryOfRow(item);
    TCategory* displaced = CategoryOfRow(otherItem);
    item->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(displaced)));
    otherItem->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(moved)));
    std::swap(FWorkingCopy->Categories[static_cast<size_t>(row)],
              FWorkingCopy->Categories[static_cast<size_t>(other)]);
    item->setText(0, DisplayText(displaced->Name));
    otherItem->setText(0, DisplayText(moved->Name));
    ListView1->setCurrentItem(otherItem);
    UpdateMoveButtons();
    Reordering = false;
}

void TTemplateEditor::UpdateMoveButtons() {
    QTreeWidgetItem* item = SelectedRow();
    const int row = item ? ListView1->indexOfTopLevelItem(item) : -1;
    BtnMoveUp->setEnabled(row > 0);
    BtnMoveDown->setEnabled(row >= 0 && row < ListView1->topLevelItemCount() - 1);
}

void TTemplateEditor::BtnSaveClick() {
    if (CurrentCategory)
        StoreCurrentCategory();
    Saved = true;
    close();
}

void TTemplateEditor::BtnCancelClick() {
    Saved = false;
    close();
}

void TTemplateEditor::reject() {
    close();
}

void TTemplateEditor::closeEvent(QCloseEvent* event) {
    const QString question =
        Saved ? QStringLiteral("Save modifications to the templates and close the Template Editor?")
              : QStringLiteral("Close the Template Editor without saving modifications?");
    if (MessageBoxes::Show(this, MessageBoxes::TKind::Confirmation, question,
                           QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        Saved = false;
        event->ignore();
        return;
    }
    event->accept();
    // The rows refer to the working copy, which the main window may rebuild before the next run.
    CurrentCategory = nullptr;
    {
        const QSignalBlocker blocker(ListView1->selectionModel());
        ListView1->clear();
    }
    ClearDesignSurface();
    ShowNoCategory();
    done(Saved ? QDialog::Accepted : QDialog::Rejected);
}
