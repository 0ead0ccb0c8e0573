// SPDX-License-Identifier: GPL-3.0-or-later
#include "templateeditor/TemplateEditor.h"

#include "core/DataFile.h"
#include "exchange/DisplayText.h"
#include "settings/Folders.h"
#include "settings/Settings.h"
#include "templateeditor/CategoriesPage.h"
#include "templateeditor/DesignSurface.h"
#include "templateeditor/ElementProperties.h"
#include "templateeditor/ListPreview.h"
#include "templateeditor/ToolColumn.h"
#include "ui/IconPicture.h"
#include "ui/RunCommand.h"
#include "ui/dialogs/FileDialogs.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QPushButton* FrameButton(const char* name, const QString& text, const QString& hint, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    button->setAutoDefault(false);
    button->setMinimumWidth(110);
    return button;
}

QAction* NamedAction(const char* name, const QString& text, const QString& hint, QObject* parent) {
    auto* action = new QAction(text, parent);
    action->setObjectName(QLatin1String(name));
    action->setToolTip(hint);
    action->setStatusTip(hint);
    return action;
}

// Only the picture types Qt reads: the icon chooser offers nothing else.
QString PictureFilter() {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    return QCoreApplication::translate("TTemplateEditor", "Pictures (%1)")
        .arg(patterns.join(QLatin1Char(' ')));
}

} // namespace

TTemplateEditor::TTemplateEditor(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      FNewCategory(NamedAction("ActionNewCategory", tr("New Category"), tr("Add a new category."), this)),
      FDeleteCategory(NamedAction("ActionDeleteCategory", tr("Delete Category"),
                                  tr("Deleted selected category."), this)) {
    setObjectName(QStringLiteral("FormTemplate"));
    setWindowTitle(tr("Template Editor"));
    // The frame's buttons come first: a search by name finds them before the dialogs' buttons.
    QWidget* topBar = CreateTopBar();
    FCategories = new TCategoriesPage(FNewCategory, FDeleteCategory, this);
    ConnectCommand(FNewCategory, &QAction::triggered, this, [this] { FCategories->NewCategory(); });
    ConnectCommand(FDeleteCategory, &QAction::triggered, this, [this] { FCategories->DeleteCategory(); });
    connect(FCategories, &TCategoriesPage::Leaving, this, &TTemplateEditor::StoreCategory);
    connect(FCategories, &TCategoriesPage::CurrentChanged, this, &TTemplateEditor::ShowCategory);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->setHandleWidth(3);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(FCategories);
    auto* right = new QWidget(splitter);
    right->setObjectName(QStringLiteral("PanelRightHolder"));
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    FNoCategoryPrompt = new QLabel(tr("Select the category you want to edit, or create a new one."), right);
    FNoCategoryPrompt->setObjectName(QStringLiteral("LabelSelectCategory"));
    FNoCategoryPrompt->setAlignment(Qt::AlignCenter);
    rightLayout->addWidget(FNoCategoryPrompt);
    rightLayout->addWidget(CreateCategoryPanel());
    splitter->addWidget(right);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({121, 1000});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(topBar);
    layout->addWidget(splitter, 1);
    ShowCategory(nullptr);
}

TTemplateEditor::~TTemplateEditor() = default;

QWidget* TTemplateEditor::CreateTopBar() {
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("PanelTop"));
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(6, 6, 6, 6);
    QPushButton* newCategory =
        FrameButton("BtnNewCategory", tr("&New Category"), tr("Create a new category."), bar);
    QPushButton* deleteCategory =
        FrameButton("BtnDeleteCategory", tr("Dele&te Category"), tr("Deleted the selected category."), bar);
    QPushButton* save = FrameButton("BtnSave", tr("&Save && Close"), tr("Save edit & close window."), bar);
    QPushButton* cancel =
        FrameButton("BtnCancel", tr("&Cancel && Close"), tr("Cancel edit & close window."), bar);
    connect(newCategory, &QPushButton::clicked, FNewCategory, &QAction::trigger);
    connect(deleteCategory, &QPushButton::clicked, FDeleteCategory, &QAction::trigger);
    connect(FDeleteCategory, &QAction::enabledChanged, deleteCategory, &QPushButton::setEnabled);
    connect(save, &QPushButton::clicked, this, &TTemplateEditor::SaveAndClose);
    connect(cancel, &QPushButton::clicked, this, &TTemplateEditor::CancelAndClose);
    layout->addWidget(newCategory);
    layout->addWidget(deleteCategory);
    layout->addStretch();
    layout->addWidget(save);
    layout->addWidget(cancel);
    return bar;
}

QWidget* TTemplateEditor::CreateCategoryPanel() {
    FCategoryPanel = new QWidget(this);
    FCategoryPanel->setObjectName(QStringLiteral("PanelRight"));
    auto* layout = new QVBoxLayout(FCategoryPanel);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setSpacing(4);

    auto* header = new QGridLayout;
    header->setHorizontalSpacing(8);
    header->setVerticalSpacing(2);
    auto* nameCaption = new QLabel(tr("Category Name:"), FCategoryPanel);
    header->addWidget(nameCaption, 0, 0);
    FCategoryName = new QLineEdit(FCategoryPanel);
    FCategoryName->setObjectName(QStringLiteral("LabeledEditBookName"));
    FCategoryName->setFixedWidth(220);
    nameCaption->setBuddy(FCategoryName);
    connect(FCategoryName, &QLineEdit::textChanged, FCategories, &TCategoriesPage::RenameCurrent);
    header->addWidget(FCategoryName, 1, 0, Qt::AlignTop);
    header->addItem(new QSpacerItem(16, 1), 0, 1);
    header->addWidget(new QLabel(tr("Icon:"), FCategoryPanel), 0, 2);
    auto* iconRow = new QHBoxLayout;
    FIcon = new QLabel(FCategoryPanel);
    FIcon->setObjectName(QStringLiteral("ImageCatIcon"));
    FIcon->setFixedSize(IconPicture::kIconSize, IconPicture::kIconSize);
    auto* chooseIcon = new QToolButton(FCategoryPanel);
    chooseIcon->setObjectName(QStringLiteral("BtnSelectIcon"));
    chooseIcon->setText(QStringLiteral("..."));
    chooseIcon->setToolTip(tr("Click to choose an icon for the category."));
    chooseIcon->setFocusPolicy(Qt::StrongFocus);
    ConnectCommand(chooseIcon, &QToolButton::clicked, this, [this] { ChooseIcon(); });
    iconRow->addWidget(FIcon);
    iconRow->addWidget(chooseIcon, 0, Qt::AlignBottom);
    header->addLayout(iconRow, 1, 2);
    header->setColumnStretch(3, 1);
    layout->addLayout(header);

    layout->addSpacing(4);
    layout->addWidget(
        new QLabel(tr("List View of Data (drag column header to arrange order):"), FCategoryPanel));
    FListPreview = new TListPreview(FCategoryPanel);
    layout->addWidget(FListPreview);

    layout->addSpacing(4);
    layout->addWidget(new QLabel(tr("Form View of Data:"), FCategoryPanel));
    FTools = new TToolColumn(FCategoryPanel);
    FSurface = new TDesignSurface(FTools, FCategoryPanel);
    FSurface->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    FProperties = new TElementProperties(FSurface, FListPreview, FCategoryPanel);
    connect(FSurface, &TDesignSurface::SelectionChanged, FProperties, &TElementProperties::Show);
    connect(FSurface, &TDesignSurface::TextBoxPlaced, FProperties, &TElementProperties::AskListColumn);
    ConnectCommand(FSurface, &TDesignSurface::DeleteRequested, this,
                   [this] { FProperties->DeleteSelectedElement(); });
    layout->addWidget(FProperties);
    // The surface comes after the property bar in the Tab order, as it is laid out.
    setTabOrder(FProperties, FSurface);

    auto* designRow = new QHBoxLayout;
    designRow->setSpacing(0);
    designRow->addWidget(FTools);
    designRow->addWidget(FSurface, 1);
    layout->addLayout(designRow, 1);
    return FCategoryPanel;
}

bool TTemplateEditor::Execute(TDataFile& workingCopy) {
    PrepareRun(workingCopy);
    exec();
    return Saved;
}

void TTemplateEditor::Open(TDataFile& workingCopy) {
    PrepareRun(workingCopy);
    setWindowModality(Qt::ApplicationModal);
    show();
}

void TTemplateEditor::PrepareRun(TDataFile& workingCopy) {
    Saved = false;
    FCategories->Fill(workingCopy);
    ShowCategory(nullptr);
    // Without a window manager to maximize it, the window still covers the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
}

void TTemplateEditor::ShowCategory(TCategory* category) {
    FDeleteCategory->setEnabled(category != nullptr);
    FSurface->Load(category);
    if (!category) {
        FListPreview->Clear();
        FCategoryPanel->hide();
        FNoCategoryPrompt->show();
        return;
    }
    {
        // Showing the name is no rename.
        const QSignalBlocker blocker(FCategoryName);
        FCategoryName->setText(DisplayText(category->Name));
    }
    FListPreview->Load(*category);
    FIcon->setPixmap(IconPicture::ToPixmap(category->Icon));
    FNoCategoryPrompt->hide();
    FCategoryPanel->show();
    FCategoryName->setFocus();
}

void TTemplateEditor::StoreCategory(TCategory& category) {
    FListPreview->StoreInto(category);
    category.RenumberValueIndexes();
}

void TTemplateEditor::ChooseIcon() {
    TCategory* category = FCategories->Current();
    if (!category)
        return;
    TBitmapImage icon;
    FileDialogs::TOptions options;
    options.Mode = FileDialogs::TMode::OpenFile;
    options.Title = tr("Open");
    options.Filter = PictureFilter();
    options.Folder = TFolders::IconsFolder();
    // A file that is no picture is refused while the chooser is still open.
    options.Check = [&icon](const QString& path) {
        return IconPicture::FromFile(path, icon)
                   ? QString()
                   : tr("\"%1\" is not a picture that can be used as an icon.").arg(path);
    };
    if (FileDialogs::Run(this, options).isEmpty())
        return;
    category->Icon = icon;
    FIcon->setPixmap(IconPicture::ToPixmap(icon));
}

void TTemplateEditor::SaveAndClose() {
    if (TCategory* current = FCategories->Current())
        StoreCategory(*current);
    Saved = true;
    close();
}

void TTemplateEditor::CancelAndClose() {
    Saved = false;
    close();
}

void TTemplateEditor::reject() {
    close();
}

void TTemplateEditor::closeEvent(QCloseEvent* event) {
    const QString question = Saved ? tr("Save modifications to the templates and close the Template Editor?")
                                   : tr("Close the Template Editor without saving modifications?");
    if (MessageBoxes::Show(this, MessageBoxes::TKind::Confirmation, question,
                           QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        Saved = false;
        event->ignore();
        return;
    }
    event->accept();
    ForgetWorkingCopy();
    done(Saved ? QDialog::Accepted : QDialog::Rejected);
}

void TTemplateEditor::ForgetWorkingCopy() {
    FCategories->Clear();
    ShowCategory(nullptr);
}
