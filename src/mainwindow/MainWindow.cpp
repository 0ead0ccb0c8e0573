#include "mainwindow/MainWindow.h"

#include "core/Error.h"
#include "core/FormLayout.h"
#include "core/Ledgrin.h"
#include "mainwindow/CheckPasswordDialog.h"
#include "mainwindow/RecordListModel.h"
#include "mainwindow/SetPasswordDialog.h"
#include "settings/Settings.h"
#include "templateeditor/TemplateEditor.h"
#include "ui/CategoryBar.h"
#include "ui/DisplayText.h"
#include "ui/TemplateControls.h"
#include "ui/dialogs/FileDialogs.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

#include <sys/stat.h>

namespace {

const char* const kWelcome =
    "Welcome to use Quillery. "
    "Before you can use this program, please specify a file that will be used to store your data. "
    "\r\n\r\n"
    "Click OK to specify the data file. If the file does not exist, it will be created. "
    "Or click Cancel to exit this program."
    "\r\n\r\n";
const char* const kTemplatesQuestion =
    "You have specified a new data file. Do you want to use existing templates?\r\n\r\n"
    "Click Yes to apply existing templates to your data file, or click No to just create a blank data file."
    "\r\n\r\n";
const char* const kPasswordError = "Password error.";
const char* const kBackupInUse =
    "This file is in use. Can not overwrite current data file! Please use another "
    "file name, or save it to another folder.";
const char* const kRecordModified = "Record modified, would you like to save?";
const char* const kNoRecordSelected = "No record is selected.";
const char* const kDeleteRecord = "Delete selected record?";
const char* const kUnwrittenChanges =
    "The latest changes could not be written to the data file.\r\n\r\n"
    "Click Yes to discard them and go on, or click No to keep them and stay with the current data file.";
const char* const kDataFileFilter = "Ledgrin files (*.lgd)";
const char* const kDataFileSuffix = "lgd";

constexpr int kWriteCacheMs = 60000;
constexpr int kSelectCategoryMs = 150;
constexpr int kClearDataFormMs = 150;
constexpr int kSearchMs = 300;
// A filter run lets the window repaint about this often, checking the clock every few hundred
// records rather than after each one.
constexpr int kFilterSliceMs = 100;
constexpr int kFilterRecordsPerCheck = 256;
constexpr int kFilterCaretLimit = 1000;
constexpr int kToolBarHeight = 33;
constexpr int kPanelLeftWidth = 97;
constexpr int kListViewHeight = 145;
constexpr int kFormSilver = 0xC0C0C0;

QString Text(const char* text) {
    return QString::fromUtf8(text);
}

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QIcon StandardIcon(const QWidget* widget, const char* themeName, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(themeName), widget->style()->standardIcon(fallback));
}

// The category's icon as the bar shows it; an icon that cannot be read shows the default one.
QPixmap CategoryIcon(const TCategory& category) {
    const auto load = [](const TBitmapImage& image) {
        const std::string& bytes = image.Bytes();
        return QImage::fromData(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                "BMP");
    };
    QImage image = load(category.Icon);
    if (image.isNull()) {
        image = load(TBitmapImage::DefaultIcon());
    }
    if (!image.isNull() && image.size() != QSize(32, 32)) {
        image = image.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return QPixmap::fromImage(image);
}

// Whether two paths name the same file, whatever their spelling: the same cleaned absolute path,
// or the same device and inode (symbolic and hard links).
bool IsSameFile(const QString& a, const QString& b) {
    if (QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
        QDir::cleanPath(QFileInfo(b).absoluteFilePath())) {
        return true;
    }
    struct stat statA {};
    struct stat statB {};
    return ::stat(QFile::encodeName(a).constData(), &statA) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &statB) == 0 && statA.st_dev == statB.st_dev &&
           statA.st_ino == statB.st_ino;
}

// Copies source over destination through a temporary file beside it, so an existing destination
// is replaced whole or not at all.
bool CopyFileReplacing(const QString& source, const QString& destination, QString& error) {
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot open file %1").arg(source);
        return false;
    }
    QSaveFile output(destination);
    if (!output.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("Cannot create file %1").arg(destination);
        return false;
    }
    QByteArray buffer;
    while (!(buffer = input.read(1 << 20)).isEmpty()) {
        if (output.write(buffer) != buffer.size()) {
            break;
        }
    }
    if (input.error() != QFileDevice::NoError || !output.commit()) {
        error = QStringLiteral("Cannot write file %1").arg(destination);
        return false;
    }
    return true;
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

// A memo's text: its document's text with every paragraph and line break as "\n" (no-break
// spaces stay as they are).
QString MemoText(const QPlainTextEdit& memo) {
    QString text = memo.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

// The text a form box shows, as the box gives it.
QString BoxText(const QWidget& control) {
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(&control)) {
        return MemoText(*memo);
    }
    const auto* edit = qobject_cast<const QLineEdit*>(&control);
    return edit != nullptr ? edit->text() : QString();
}

// Shows a stored value in a form box; a memo shows CR LF, lone CR and lone LF as line breaks.
void SetBoxText(QWidget& control, std::string_view value) {
    QString text = DisplayText(value);
    if (auto* memo = qobject_cast<QPlainTextEdit*>(&control)) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        memo->setPlainText(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(&control)) {
        edit->setText(text);
        edit->setCursorPosition(0); // long values show their beginning
    }
}

// The stored value of a box's text: a memo's lines joined by CR LF.
std::string StoredBoxText(const QWidget& control, QString text) {
    if (qobject_cast<const QPlainTextEdit*>(&control) != nullptr) {
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    }
    return StoredText(text);
}

// The focused control when it is a text box of either kind, with the Edit menu's operations.
class TFocusedTextBox {
public:
    explicit TFocusedTextBox(QWidget* focused)
        : FEdit(qobject_cast<QLineEdit*>(focused)), FMemo(qobject_cast<QPlainTextEdit*>(focused)) {}

    bool IsTextBox() const { return FEdit != nullptr || FMemo != nullptr; }
    bool HasSelection() const {
        return FEdit != nullptr ? FEdit->hasSelectedText()
                                : FMemo != nullptr && FMemo->textCursor().hasSelection();
    }
    bool HasText() const {
        return FEdit != nullptr ? !FEdit->text().isEmpty()
                                : FMemo != nullptr && !FMemo->document()->isEmpty();
    }
    void Cut() const { FEdit != nullptr ? FEdit->cut() : FMemo->cut(); }
    void Copy() const { FEdit != nullptr ? FEdit->copy() : FMemo->copy(); }
    void Paste() const { FEdit != nullptr ? FEdit->paste() : FMemo->paste(); }
    void SelectAll() const { FEdit != nullptr ? FEdit->selectAll() : FMemo->selectAll(); }

private:
    QLineEdit* FEdit;
    QPlainTextEdit* FMemo;
};

} // namespace

bool SpreadsheetProbe() {
    // No workbook engine is built in yet, so the two spreadsheet commands stay disabled.
    return false;
}

TMainWindow::TMainWindow(QWidget* parent)
    : QMainWindow(parent), FData(std::make_unique<TLedgrin>()), FWorkingCopy(std::make_unique<TLedgrin>()),
      FListViewHeight(kListViewHeight), FSetPasswordDialog(new TSetPasswordDialog(this)),
      FCheckPasswordDialog(new TCheckPasswordDialog(this)),
      FTemplateEditor(std::make_unique<TTemplateEditor>()) {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("Quillery"));
    resize(1000, 680);

    TimerWriteCache.setSingleShot(true);
    TimerWriteCache.setInterval(kWriteCacheMs);
    connect(&TimerWriteCache, &QTimer::timeout, this, &TMainWindow::TimerWriteCacheTimer);
    TimerSelectCategory.setSingleShot(true);
    TimerSelectCategory.setInterval(kSelectCategoryMs);
    connect(&TimerSelectCategory, &QTimer::timeout, this, &TMainWindow::TimerSelectCategoryTimer);
    TimerClearDataForm.setSingleShot(true);
    TimerClearDataForm.setInterval(kClearDataFormMs);
    connect(&TimerClearDataForm, &QTimer::timeout, this, &TMainWindow::TimerClearDataFormTimer);
    TimerSearch.setSingleShot(true);
    TimerSearch.setInterval(kSearchMs);
    connect(&TimerSearch, &QTimer::timeout, this, &TMainWindow::TimerSearchTimer);

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreatePanels();
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));

    ShowCategoryPanels(false);
    SetFileCommandsEnabled(false);
    ActionImportFromExcel->setEnabled(SpreadsheetProbe());
    ActionExportToExcel->setEnabled(SpreadsheetProbe());
}

TMainWindow::~TMainWindow() {
    // The list refers to records of the open data; let it go first.
    FRecordListModel->SetColumns(nullptr);
}

QAction* TMainWindow::NewAction(const char* name, const QString& caption, const QString& hint,
                                const QKeySequence& shortcut) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setStatusTip(hint);
    if (!hint.isEmpty()) {
        action->setToolTip(hint);
    }
    action->setShortcut(shortcut);
    addAction(action);
    return action;
}

void TMainWindow::CreateActions() {
    ActionChooseDataFile = NewAction("ActionChooseDataFile", QStringLiteral("Create/Choose &Data File..."),
                                     QStringLiteral("Create a new data file, or choose an existing one."));
    ActionChooseDataFile->setIcon(StandardIcon(this, "document-open", QStyle::SP_DialogOpenButton));
    connect(ActionChooseDataFile, &QAction::triggered, this, &TMainWindow::ActionChooseDataFileExecute);
    ActionSetPassword = NewAction("ActionSetPassword", QStringLiteral("Set Pass&word..."),
                                  QStringLiteral("Set or remove the password of the current data file."));
    connect(ActionSetPassword, &QAction::triggered, this, &TMainWindow::ActionSetPasswordExecute);
    ActionBackupDataFile = NewAction("ActionBackupDataFile", QStringLiteral("&Backup Data File..."),
                                     QStringLiteral("Save a copy of the current data file."));
    ActionBackupDataFile->setIcon(StandardIcon(this, "document-save-as", QStyle::SP_DialogSaveButton));
    connect(ActionBackupDataFile, &QAction::triggered, this, &TMainWindow::ActionBackupDataFileExecute);
    ActionImportFromExcel = NewAction("ActionImportFromExcel", QStringLiteral("Import from Excel..."),
                                      QStringLiteral("Import a worksheet as a new category."));
    ActionExportToExcel =
        NewAction("ActionExportToExcel", QStringLiteral("Export to Excel..."),
                  QStringLiteral("Export the records of the current category to a workbook."));
    ActionPageSetup = NewAction("ActionPageSetup", QStringLiteral("Page Set&up..."),
                                QStringLiteral("Choose the paper, orientation and margins for printing."));
    ActionPrint = NewAction("ActionPrint", QStringLiteral("&Print..."),
                            QStringLiteral("Print current record or list."));
    ActionPrint->setIcon(StandardIcon(this, "document-print", QStyle::SP_FileDialogDetailedView));
    ActionExit = NewAction("ActionExit", QStringLiteral("E&xit"), QStringLiteral("Close Quillery."));
    connect(ActionExit, &QAction::triggered, this, &QWidget::close);

    ActionCut = NewAction("ActionCut", QStringLiteral("Cu&t"),
                          QStringLiteral("Cut the selected text to the clipboard."),
                          QKeySequence(Qt::CTRL | Qt::Key_X));
    connect(ActionCut, &QAction::triggered, this, &TMainWindow::Cut1Click);
    ActionCopy = NewAction("ActionCopy", QStringLiteral("&Copy"),
                           QStringLiteral("Copy the selected text to the clipboard."),
                           QKeySequence(Qt::CTRL | Qt::Key_C));
    connect(ActionCopy, &QAction::triggered, this, &TMainWindow::Copy1Click);
    ActionPaste =
        NewAction("ActionPaste", QStringLiteral("&Paste"), QStringLiteral("Paste the text of the clipboard."),
                  QKeySequence(Qt::CTRL | Qt::Key_V));
    connect(ActionPaste, &QAction::triggered, this, &TMainWindow::Paste1Click);
    ActionSelectAll = NewAction("ActionSelectAll", QStringLiteral("Select &All"),
                                QStringLiteral("Select the whole text."), QKeySequence(Qt::CTRL | Qt::Key_A));
    connect(ActionSelectAll, &QAction::triggered, this, &TMainWindow::SelectAll1Click);

    ActionEditTemplates = NewAction("ActionEditTemplates", QStringLiteral("Edit Temp&lates"),
                                    QStringLiteral("Edit the templates for each category."));
    ActionEditTemplates->setIcon(StandardIcon(this, "document-properties", QStyle::SP_FileDialogListView));
    connect(ActionEditTemplates, &QAction::triggered, this, &TMainWindow::ActionEditTemplatesExecute);
    ActionNewItem =
        NewAction("ActionNewItem", QStringLiteral("&New Record"),
                  QStringLiteral("Create a new blank record."), QKeySequence(Qt::CTRL | Qt::Key_N));
    ActionNewItem->setIcon(StandardIcon(this, "document-new", QStyle::SP_FileIcon));
    connect(ActionNewItem, &QAction::triggered, this, &TMainWindow::ActionNewItemExecute);
    ActionDuplicateItem = NewAction("ActionDuplicateItem", QStringLiteral("&Duplicate Record"),
                                    QStringLiteral("Duplicate the selected record."));
    ActionDuplicateItem->setIcon(StandardIcon(this, "edit-copy", QStyle::SP_FileLinkIcon));
    connect(ActionDuplicateItem, &QAction::triggered, this, &TMainWindow::ActionDuplicateItemExecute);
    // Delete Record's key is the Delete key in the record list (ListView1KeyUp), not a shortcut.
    ActionDeleteItem = NewAction("ActionDeleteItem", QStringLiteral("D&elete Record"),
                                 QStringLiteral("Delete the selected record."));
    ActionDeleteItem->setIcon(StandardIcon(this, "edit-delete", QStyle::SP_TrashIcon));
    connect(ActionDeleteItem, &QAction::triggered, this, &TMainWindow::ActionDeleteItemExecute);
    ActionSetFocusToSearchBox =
        NewAction("ActionSetFocusToSearchBox", QString(), QString(), QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(ActionSetFocusToSearchBox, &QAction::triggered, this,
            &TMainWindow::ActionSetFocusToSearchBoxExecute);
    ActionSetFocusToTheListView =
        NewAction("ActionSetFocusToTheListView", QString(), QString(), QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(ActionSetFocusToTheListView, &QAction::triggered, this,
            &TMainWindow::ActionSetFocusToTheListViewExecute);
    // The filter run; the run disables it, so a run never starts inside another.
    ActionSearch = new QAction(this);
    ActionSearch->setObjectName(QStringLiteral("ActionSearch"));
    connect(ActionSearch, &QAction::triggered, this, &TMainWindow::ActionSearchExecute);

    ActionHelpTopics = NewAction("ActionHelpTopics", QStringLiteral("&Help Topics"),
                                 QStringLiteral("Show the help pages."), QKeySequence(Qt::Key_F1));
    ActionHelpTopics->setIcon(StandardIcon(this, "help-contents", QStyle::SP_DialogHelpButton));
    ActionVisitHomePage = NewAction("ActionVisitHomePage", QStringLiteral("Visit Home Page"),
                                    QStringLiteral("Open the Quillery home page in the web browser."));
    ActionAbout = NewAction("ActionAbout", QStringLiteral("&About..."),
                            QStringLiteral("Show the program's version and home page."));

    // Disabled at start: commands that need an open data file, a shown category, a selected
    // record or a focused text box, and those whose windows come with later work.
    for (QAction* action : {ActionPageSetup, ActionPrint, ActionCut, ActionCopy, ActionPaste, ActionSelectAll,
                            ActionEditTemplates, ActionNewItem, ActionDuplicateItem, ActionDeleteItem,
                            ActionSetFocusToSearchBox, ActionSetFocusToTheListView, ActionHelpTopics,
                            ActionVisitHomePage, ActionAbout}) {
        action->setEnabled(false);
    }
}

void TMainWindow::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("MenuFile"));
    file->addAction(ActionChooseDataFile);
    file->addAction(ActionSetPassword);
    file->addAction(ActionBackupDataFile);
    file->addSeparator();
    MenuImportExport = file->addMenu(QStringLiteral("Import/Export"));
    MenuImportExport->setObjectName(QStringLiteral("MenuImportExport"));
    MenuImportExport->addAction(ActionImportFromExcel);
    MenuImportExport->addAction(ActionExportToExcel);
    file->addSeparator();
    file->addAction(ActionPageSetup);
    file->addAction(ActionPrint);
    file->addSeparator();
    file->addAction(ActionExit);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("MenuEdit"));
    edit->addAction(ActionCut);
    edit->addAction(ActionCopy);
    edit->addAction(ActionPaste);
    edit->addSeparator();
    edit->addAction(ActionSelectAll);
    connect(edit, &QMenu::aboutToShow, this, &TMainWindow::Edit2Click);

    QMenu* operations = menuBar()->addMenu(QStringLiteral("&Operations"));
    operations->setObjectName(QStringLiteral("MenuOperations"));
    operations->addAction(ActionEditTemplates);
    QMenu* dataOperations = operations->addMenu(QStringLiteral("&Data Operations"));
    dataOperations->setObjectName(QStringLiteral("MenuDataOperations"));
    dataOperations->addAction(ActionNewItem);
    dataOperations->addAction(ActionDuplicateItem);
    dataOperations->addAction(ActionDeleteItem);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("MenuHelp"));
    help->addAction(ActionHelpTopics);
    help->addSeparator();
    help->addAction(ActionVisitHomePage);
    help->addSeparator();
    help->addAction(ActionAbout);
}

void TMainWindow::CreateToolBar() {
    QToolBar* toolBar = addToolBar(QStringLiteral("Main"));
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setFixedHeight(kToolBarHeight);
    toolBar->setIconSize(QSize(16, 16));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    toolBar->addAction(ActionPrint);
    toolBar->addAction(ActionEditTemplates);

    auto* recordCommands = new QWidget(toolBar);
    recordCommands->setObjectName(QStringLiteral("PanelRecordCommands"));
    auto* commandsLayout = new QHBoxLayout(recordCommands);
    recordCommands->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    commandsLayout->setContentsMargins(12, 0, 0, 0);
    commandsLayout->setSpacing(1);
    commandsLayout->addWidget(NewCommandButton(ActionNewItem, ActionNewItem->text(), 89, recordCommands));
    commandsLayout->addWidget(
        NewCommandButton(ActionDuplicateItem, ActionDuplicateItem->text(), 109, recordCommands));
    commandsLayout->addWidget(
        NewCommandButton(ActionDeleteItem, QStringLiteral("Dele&te Record"), 97, recordCommands));
    FRecordCommandsItem = toolBar->addWidget(recordCommands);

    auto* search = new QWidget(toolBar);
    search->setObjectName(QStringLiteral("PanelSearch"));
    auto* searchLayout = new QHBoxLayout(search);
    search->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    searchLayout->setContentsMargins(16, 0, 8, 0);
    searchLayout->setSpacing(6);
    auto* filterLabel = new QLabel(QStringLiteral("Filter:"), search);
    EditSearchBox = new QLineEdit(search);
    EditSearchBox->setObjectName(QStringLiteral("EditSearchBox"));
    EditSearchBox->setFixedSize(140, 21);
    EditSearchBox->setToolTip(QStringLiteral("Enter filter string here, or clear to display all records."));
    EditSearchBox->setStatusTip(EditSearchBox->toolTip());
    filterLabel->setBuddy(EditSearchBox);
    CBMatchWholeWord = new QCheckBox(QStringLiteral("Match &Whole Word"), search);
    CBMatchWholeWord->setObjectName(QStringLiteral("CBMatchWholeWord"));
    CBMatchWholeWord->setFocusPolicy(Qt::ClickFocus);
    EditSearchBox->installEventFilter(this);
    connect(CBMatchWholeWord, &QCheckBox::clicked, this, &TMainWindow::CBMatchWholeWordClick);
    searchLayout->addWidget(filterLabel);
    searchLayout->addWidget(EditSearchBox);
    searchLayout->addWidget(CBMatchWholeWord);
    FSearchItem = toolBar->addWidget(search);
}

void TMainWindow::CreatePanels() {
    SplitterMain = new QSplitter(Qt::Horizontal, this);
    SplitterMain->setObjectName(QStringLiteral("SplitterMain"));
    SplitterMain->setHandleWidth(3);
    SplitterMain->setChildrenCollapsible(false);

    PanelLeft = new QWidget(SplitterMain);
    PanelLeft->setObjectName(QStringLiteral("PanelLeft"));
    PanelLeft->setMinimumWidth(40);
    auto* leftLayout = new QVBoxLayout(PanelLeft);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    FEGXOutlookBar1 = new TCategoryBar(QStringLiteral("Categories"), PanelLeft);
    FEGXOutlookBar1->setObjectName(QStringLiteral("FEGXOutlookBar1"));
    FEGXOutlookBar1->setContextMenuPolicy(Qt::ActionsContextMenu);
    FEGXOutlookBar1->addAction(ActionEditTemplates);
    connect(FEGXOutlookBar1, &TCategoryBar::SelectedIndexChanged, this, &TMainWindow::FEGXOutlookBar1Change);
    leftLayout->addWidget(FEGXOutlookBar1);

    // The right side keeps its place while PanelRight is hidden, so the bar keeps its width.
    auto* rightHolder = new QWidget(SplitterMain);
    rightHolder->setObjectName(QStringLiteral("PanelRightHolder"));
    auto* holderLayout = new QVBoxLayout(rightHolder);
    holderLayout->setContentsMargins(0, 0, 0, 0);
    holderLayout->addWidget(CreateRightPane());

    SplitterMain->addWidget(PanelLeft);
    SplitterMain->addWidget(rightHolder);
    SplitterMain->setStretchFactor(0, 0);
    SplitterMain->setStretchFactor(1, 1);
    SplitterMain->setSizes({kPanelLeftWidth, width() - kPanelLeftWidth});
    setCentralWidget(SplitterMain);
}

QWidget* TMainWindow::CreateRightPane() {
    PanelRight = new QWidget(this);
    PanelRight->setObjectName(QStringLiteral("PanelRight"));
    auto* layout = new QVBoxLayout(PanelRight);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* header = new QFrame(PanelRight);
    header->setObjectName(QStringLiteral("PanelCategoryHeader"));
    header->setFixedHeight(24);
    header->setStyleSheet(
        QStringLiteral("QFrame#PanelCategoryHeader { background: qlineargradient(x1:0, y1:0, "
                       "x2:1, y2:0, stop:0 #3d4c60, stop:1 #6b7d94); }"));
    auto* headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(16, 0, 8, 0);
    LabelCategory = new QLabel(header);
    LabelCategory->setObjectName(QStringLiteral("LabelCategory"));
    QFont labelFont = LabelCategory->font();
    labelFont.setBold(true);
    labelFont.setPixelSize(13);
    LabelCategory->setFont(labelFont);
    LabelCategory->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    headerLayout->addWidget(LabelCategory);
    layout->addWidget(header);

    SplitterRight = new QSplitter(Qt::Vertical, PanelRight);
    SplitterRight->setObjectName(QStringLiteral("SplitterRight"));
    SplitterRight->setHandleWidth(4);
    SplitterRight->setChildrenCollapsible(false);

    ListView1 = new QTreeView(SplitterRight);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    FRecordListModel = new TRecordListModel(this);
    ListView1->setModel(FRecordListModel);
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setAlternatingRowColors(true);
    ListView1->setMinimumHeight(40);
    ListView1->header()->setSectionsClickable(true);
    ListView1->header()->setSectionsMovable(false);
    ListView1->header()->setSortIndicatorShown(true);
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->setSectionResizeMode(QHeaderView::Interactive);
    // The selection stays visible while the list has no focus.
    QPalette listPalette = ListView1->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        listPalette.setColor(QPalette::Inactive, role, listPalette.color(QPalette::Active, role));
    }
    ListView1->setPalette(listPalette);
    ListView1->setContextMenuPolicy(Qt::ActionsContextMenu);
    ListView1->addActions({ActionNewItem, ActionDuplicateItem, ActionDeleteItem});
    ListView1->installEventFilter(this);
    connect(ListView1->header(), &QHeaderView::sectionClicked, this, &TMainWindow::ListView1ColumnClick);
    connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TMainWindow::ListView1SelectionChanged);

    SplitterRight->installEventFilter(this);
    SplitterRight->addWidget(ListView1);
    SplitterRight->addWidget(CreateDataFormArea());
    SplitterRight->setStretchFactor(0, 0);
    SplitterRight->setStretchFactor(1, 1);
    layout->addWidget(SplitterRight, 1);
    return PanelRight;
}

QWidget* TMainWindow::CreateDataFormArea() {
    auto* area = new QWidget(SplitterRight);
    area->setObjectName(QStringLiteral("PanelDataFormArea"));
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    PanelDataFormToolBar = new QFrame(area);
    PanelDataFormToolBar->setObjectName(QStringLiteral("PanelDataFormToolBar"));
    PanelDataFormToolBar->setFixedHeight(28);
    PanelDataFormToolBar->setFrameShape(QFrame::StyledPanel);
    auto* stripLayout = new QHBoxLayout(PanelDataFormToolBar);
    stripLayout->setContentsMargins(0, 0, 0, 0);
    LabelDataFormToolBar = new QLabel(Text(kNoRecordSelected), PanelDataFormToolBar);
    LabelDataFormToolBar->setObjectName(QStringLiteral("LabelDataFormToolBar"));
    LabelDataFormToolBar->setAlignment(Qt::AlignCenter);
    stripLayout->addWidget(LabelDataFormToolBar);
    BtnSaveData = new QPushButton(QStringLiteral("&Save"), PanelDataFormToolBar);
    BtnSaveData->setObjectName(QStringLiteral("BtnSaveData"));
    BtnSaveData->setGeometry(16, 3, 57, 22);
    connect(BtnSaveData, &QPushButton::clicked, this, &TMainWindow::BtnSaveDataClick);
    BtnCancelData = new QPushButton(QStringLiteral("&Cancel"), PanelDataFormToolBar);
    BtnCancelData->setObjectName(QStringLiteral("BtnCancelData"));
    BtnCancelData->setGeometry(88, 3, 57, 22);
    connect(BtnCancelData, &QPushButton::clicked, this, &TMainWindow::BtnCancelDataClick);
    SetDataFormModified(false);
    layout->addWidget(PanelDataFormToolBar);

    PanelDataFormHolder = new QFrame(area);
    PanelDataFormHolder->setObjectName(QStringLiteral("PanelDataFormHolder"));
    PanelDataFormHolder->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PanelDataFormHolder->setLineWidth(1);
    PanelDataFormHolder->setMinimumHeight(40);
    PanelDataFormHolder->setAutoFillBackground(true);
    QPalette silver = PanelDataFormHolder->palette();
    silver.setColor(QPalette::Window, QColor(QRgb(kFormSilver)));
    PanelDataFormHolder->setPalette(silver);
    PanelDataFormHolder->installEventFilter(this);

    PanelDataFormHolder2 = new QWidget(PanelDataFormHolder);
    PanelDataFormHolder2->setObjectName(QStringLiteral("PanelDataFormHolder2"));
    PanelDataForm = new QWidget(PanelDataFormHolder2);
    PanelDataForm->setObjectName(QStringLiteral("PanelDataForm"));
    PanelDataForm->setAutoFillBackground(true);
    PanelDataForm->setPalette(silver);
    PanelDataForm->setFocusPolicy(Qt::ClickFocus);

    SBV = new QScrollBar(Qt::Vertical, PanelDataFormHolder);
    SBV->setObjectName(QStringLiteral("SBV"));
    SBV->setFixedWidth(18);
    SBH = new QScrollBar(Qt::Horizontal, PanelDataFormHolder);
    SBH->setObjectName(QStringLiteral("SBH"));
    SBH->setFixedHeight(18);
    for (QScrollBar* bar : {SBV, SBH}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->setRange(0, 0);
        bar->setSingleStep(1);
    }
    SBV->setEnabled(false);
    SBH->hide();
    connect(SBV, &QScrollBar::valueChanged, this, &TMainWindow::SBVScroll);
    connect(SBH, &QScrollBar::valueChanged, this, &TMainWindow::SBHScroll);
    layout->addWidget(PanelDataFormHolder, 1);
    return area;
}

// ---- Data file -------------------------------------------------------------------------------

void TMainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!FFirstShown) {
        FFirstShown = true;
        FormShow();
    }
}

void TMainWindow::FormShow() {
    QString panelLeftWidth;
    QString listViewHeight;
    {
        TSettingsFile settings;
        FDataFilePath = settings.ReadString(QStringLiteral("DataFile"));
        panelLeftWidth = settings.ReadString(QStringLiteral("PanelLeftWidth"));
        listViewHeight = settings.ReadString(QStringLiteral("ListView1Height"));
        FSelectedCategoryID = settings.ReadInteger(QStringLiteral("SelectedCategoryID"), 0);
        PrintListFont().Name =
            settings.ReadString(QStringLiteral("PrintListFontName"), QStringLiteral("Arial"));
        PrintListFont().Size = settings.ReadInteger(QStringLiteral("PrintListFontSize"), 9);
    }
    if (!FDataFilePath.isEmpty() && !QFileInfo(FDataFilePath).isFile()) {
        FDataFilePath.clear();
    }
    if (FDataFilePath.isEmpty() &&
        MessageBoxes::Show(this, MessageBoxes::TKind::Information, Text(kWelcome),
                           QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok) {
        ActionChooseDataFileExecute();
    }
    if (FDataFilePath.isEmpty()) {
        // Without a data file the program ends; the close runs once the showing is over.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    if (!FDataFileOpened) {
        OpenDataFile();
    }
    ApplyRememberedLayout(panelLeftWidth, listViewHeight);
}

void TMainWindow::ApplyRememberedLayout(const QString& panelLeftWidth, const QString& listViewHeight) {
    bool ok = false;
    const int width = panelLeftWidth.toInt(&ok);
    if (ok && width >= 0) {
        SplitterMain->setSizes({width, qMax(0, SplitterMain->width() - width - SplitterMain->handleWidth())});
    }
    const int height = listViewHeight.toInt(&ok);
    if (ok && height >= 0) {
        FListViewHeight = height;
        ApplyListViewHeight();
    }
}

void TMainWindow::ApplyListViewHeight() {
    // The splitter places the list only once it has been laid out with room for it; until then
    // the height waits for the splitter's next resize.
    FListViewHeightPending =
        PanelRight->isHidden() || !SplitterRight->isVisible() || SplitterRight->height() <= FListViewHeight;
    if (!FListViewHeightPending) {
        SplitterRight->setSizes(
            {FListViewHeight, SplitterRight->height() - FListViewHeight - SplitterRight->handleWidth()});
    }
}

int TMainWindow::PanelLeftWidth() const {
    return SplitterMain->sizes().value(0, kPanelLeftWidth);
}

int TMainWindow::ListViewHeight() const {
    return PanelRight->isHidden() || FListViewHeightPending
               ? FListViewHeight
               : SplitterRight->sizes().value(0, FListViewHeight);
}

void TMainWindow::WriteSettingsOnClose() {
    TSettingsFile settings;
    settings.WriteInteger(QStringLiteral("PanelLeftWidth"), PanelLeftWidth());
    settings.WriteInteger(QStringLiteral("ListView1Height"), ListViewHeight());
    settings.WriteInteger(QStringLiteral("SelectedCategoryID"), FCurrentCategory ? FCurrentCategory->ID : 0);
    settings.WriteString(QStringLiteral("PrintListFontName"), PrintListFont().Name);
    settings.WriteInteger(QStringLiteral("PrintListFontSize"), PrintListFont().Size);
}

void TMainWindow::closeEvent(QCloseEvent* event) {
    if (!OfferToSaveRecord(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, false)) {
        event->ignore();
        return;
    }
    WriteSettingsOnClose();
    // A write that fails on closing never drops the changes silently.
    if (!FDataFilePath.isEmpty() && FWritePending && !FlushWriteCache() && !ConfirmDiscardUnwritten()) {
        event->ignore();
        return;
    }
    TimerWriteCache.stop();
    TimerSelectCategory.stop();
    TimerClearDataForm.stop();
    TimerSearch.stop();
    event->accept();
}

void TMainWindow::BringToFront() {
    if (isMinimized()) {
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    }
    show();
    raise();
    activateWindow();
}

void TMainWindow::MarkDataChanged() {
    FWritePending = true;
    if (!TimerWriteCache.isActive()) {
        TimerWriteCache.start();
    }
}

void TMainWindow::TimerWriteCacheTimer() {
    TimerWriteCache.stop();
    WriteDataFile();
}

bool TMainWindow::FlushWriteCache() {
    if (!FWritePending) {
        return true;
    }
    TimerWriteCache.stop();
    return WriteDataFile();
}

bool TMainWindow::WriteDataFile() {
    if (FDataFilePath.isEmpty()) {
        return true;
    }
    try {
        FData->SaveToFile(LocalPath(FDataFilePath));
    } catch (const std::exception& error) {
        // The change stays pending: the next change, Backup, another file or closing try again.
        ShowError(QString::fromStdString(error.what()));
        return false;
    }
    FWritePending = false;
    return true;
}

bool TMainWindow::ConfirmDiscardUnwritten() {
    return MessageBoxes::Show(this, MessageBoxes::TKind::Warning, Text(kUnwrittenChanges),
                              QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TMainWindow::DiscardOpenData() {
    TimerSelectCategory.stop();
    FEGXOutlookBar1->SetSelectedIndex(-1);
    FEGXOutlookBar1->Clear();
    FData = std::make_unique<TLedgrin>();
    TimerWriteCache.stop();
    FWritePending = false;
}

void TMainWindow::OpenDataFile() {
    if (FDataFilePath.isEmpty()) {
        ThrowAssertion(kAssertionFailure, "FormMainUnit", 833);
    }
    DiscardOpenData();
    if (QFileInfo::exists(FDataFilePath)) {
        try {
            FData->LoadFromFile(LocalPath(FDataFilePath));
        } catch (const std::exception& error) {
            ShowError(QString::fromStdString(error.what()));
            RefuseDataFile();
            return;
        }
        if (FData->HasPassword()) {
            if (FCheckPasswordDialog->exec() != QDialog::Accepted) {
                RefuseDataFile();
                return;
            }
            if (!PasswordMatches(FCheckPasswordDialog->Password(), FData->PasswordDigest)) {
                ShowError(Text(kPasswordError));
                RefuseDataFile();
                return;
            }
        }
    } else {
        // A new, empty data file reaches the disk with the first write.
        MarkDataChanged();
    }
    AcceptDataFile();
}

void TMainWindow::AcceptDataFile() {
    setWindowTitle(QStringLiteral("Quillery - ") + QFileInfo(FDataFilePath).fileName());
    FillCategoryBar();
    FDataFileOpened = true;
    SetFileCommandsEnabled(true);
}

void TMainWindow::RefuseDataFile() {
    DiscardOpenData();
    setWindowTitle(QStringLiteral("Quillery"));
    FillCategoryBar();
    FDataFilePath.clear();
    SetFileCommandsEnabled(false);
}

void TMainWindow::SetFileCommandsEnabled(bool enabled) {
    ActionSetPassword->setEnabled(enabled);
    ActionBackupDataFile->setEnabled(enabled);
    MenuImportExport->setEnabled(enabled);
    UpdateEditTemplatesEnabled();
}

void TMainWindow::ActionChooseDataFileExecute() {
    TSettingsFile settings;
    const QString remembered = settings.ReadString(QStringLiteral("DataFile"));
    QString folder;
    if (!remembered.isEmpty()) {
        folder = QFileInfo(remembered).absolutePath();
    } else {
        folder = TDataGlobal::DataFolder();
        QDir().mkpath(folder);
    }
    FileDialogs::TOptions options;
    options.Mode = FileDialogs::TMode::ChooseFile;
    options.Title = QStringLiteral("Create/Choose a Data File");
    options.Filter = Text(kDataFileFilter);
    options.DefaultSuffix = Text(kDataFileSuffix);
    options.Folder = folder;
    const QString chosen = FileDialogs::Run(this, options);
    if (chosen.isEmpty()) {
        return;
    }

    if (!FDataFilePath.isEmpty()) {
        // Cancel goes on like No: the other file is opened either way.
        OfferToSaveRecord(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, true);
        const bool hadPending = FWritePending;
        TimerWriteCache.stop();
        if (!WriteDataFile() && hadPending && !ConfirmDiscardUnwritten()) {
            // Keep the current file and its unwritten changes; retry on the next occasion.
            TimerWriteCache.start();
            return;
        }
        FSelectedCategoryID = 0;
    }

    settings.WriteString(QStringLiteral("DataFile"), chosen);
    FDataFilePath = settings.ReadString(QStringLiteral("DataFile"));
    if (FDataFilePath.isEmpty()) {
        return;
    }
    if (!QFileInfo::exists(FDataFilePath) &&
        MessageBoxes::Show(this, MessageBoxes::TKind::Confirmation, Text(kTemplatesQuestion),
                           QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
        CopyTemplateFile();
    }
    FDataFileOpened = false;
    OpenDataFile();
}

void TMainWindow::CopyTemplateFile() {
    const QString source = TDataGlobal::TemplateFilePath();
    QFile templateFile(source);
    if (!templateFile.copy(FDataFilePath)) {
        ShowError(QStringLiteral(
                      "Cannot copy the template file %1 to %2: %3\r\n\r\nThe new data file starts empty.")
                      .arg(QDir::toNativeSeparators(source), FDataFilePath, templateFile.errorString()));
    }
}

void TMainWindow::ActionSetPasswordExecute() {
    if (FSetPasswordDialog->exec() != QDialog::Accepted) {
        return;
    }
    FData->PasswordDigest = DigestOfTypedPassword(FSetPasswordDialog->Password());
    MarkDataChanged();
}

void TMainWindow::ActionBackupDataFileExecute() {
    if (FDataFilePath.isEmpty() || !FlushWriteCache()) {
        return;
    }
    TSettingsFile settings;
    const QString last = settings.ReadString(QStringLiteral("BackupDataFile"));
    const QString lastFolder = last.isEmpty() ? QString() : QFileInfo(last).absolutePath();
    QString folder;
    if (!lastFolder.isEmpty() && QFileInfo(lastFolder).isDir()) {
        folder = lastFolder;
    } else {
        folder = TDataGlobal::BackupFolder();
        QDir().mkpath(folder);
    }
    FileDialogs::TOptions options;
    options.Mode = FileDialogs::TMode::SaveFile;
    options.Title = QStringLiteral("Save a Copy of Data File As");
    options.Filter = Text(kDataFileFilter);
    options.DefaultSuffix = Text(kDataFileSuffix);
    options.Folder = folder;
    options.FileName = QFileInfo(FDataFilePath).fileName();
    const QString chosen = FileDialogs::Run(this, options);
    if (chosen.isEmpty()) {
        return;
    }
    if (IsSameFile(chosen, FDataFilePath)) {
        ShowError(Text(kBackupInUse));
        return;
    }
    QString error;
    if (!CopyFileReplacing(FDataFilePath, chosen, error)) {
        ShowError(error);
        return;
    }
    settings.WriteString(QStringLiteral("BackupDataFile"), chosen);
}

void TMainWindow::ShowError(const QString& text) {
    MessageBoxes::ShowError(this, text);
}

// ---- Category bar and record list ------------------------------------------------------------

void TMainWindow::FillCategoryBar() {
    FEGXOutlookBar1->SetSelectedIndex(-1);
    FEGXOutlookBar1->Clear();
    for (const auto& category : FData->Categories) {
        FEGXOutlookBar1->AddItem(CategoryIcon(*category), DisplayText(category->Name));
    }
    TimerSelectCategory.start();
}

void TMainWindow::TimerSelectCategoryTimer() {
    TimerSelectCategory.stop();
    const auto& categories = FData->Categories;
    int index = -1;
    for (size_t i = 0; i < categories.size(); ++i) {
        if (categories[i]->ID == FSelectedCategoryID) {
            index = static_cast<int>(i);
            break;
        }
    }
    if (index < 0 && !categories.empty()) {
        index = 0;
    }
    if (index >= 0) {
        FEGXOutlookBar1->SetSelectedIndex(index);
    }
}

void TMainWindow::FEGXOutlookBar1Change(int index) {
    ClearListSelection();
    // Another category has another template: no record may show in the old form, even when a
    // row is selected before the clear-form timer fires.
    FFormNeedsRebuild = true;
    if (index < 0 || index >= static_cast<int>(FData->Categories.size())) {
        FCurrentCategory = nullptr;
        FRecordListModel->SetColumns(nullptr);
        ShowCategoryPanels(false);
        ActionNewItem->setEnabled(false);
        FSelectFirstAfterClear = false;
        return;
    }
    FCurrentCategory = FData->Categories[static_cast<size_t>(index)].get();
    FSelectedCategoryID = FCurrentCategory->ID;
    ShowCategoryPanels(true);
    BuildListColumns();
    if (!EditSearchBox->text().isEmpty()) {
        ActionSearch->trigger();
    } else {
        FillRecordList();
        if (FRecordListModel->ListColumnCount() > 0) {
            SortRecordList();
        }
        ActionNewItem->setEnabled(true);
    }
    FSelectFirstAfterClear = true;
    TimerClearDataForm.start();
}

void TMainWindow::ShowCategoryPanels(bool visible) {
    FRecordCommandsItem->setVisible(visible);
    FSearchItem->setVisible(visible);
    // Their targets are hidden with the panels.
    ActionSetFocusToSearchBox->setEnabled(visible);
    ActionSetFocusToTheListView->setEnabled(visible);
    if (visible == !PanelRight->isHidden()) {
        return;
    }
    if (!visible && SplitterRight->isVisible()) {
        FListViewHeight = ListViewHeight();
    }
    PanelRight->setVisible(visible);
    if (visible) {
        // Lay the pane out now, so the list takes its height at once.
        PanelRight->parentWidget()->layout()->activate();
        ApplyListViewHeight();
    }
}

void TMainWindow::BuildListColumns() {
    ClearListSelection();
    FRecordListModel->SetColumns(FCurrentCategory);
    if (FCurrentCategory == nullptr) {
        return;
    }
    for (size_t i = 0; i < FCurrentCategory->Columns.size(); ++i) {
        ListView1->header()->resizeSection(static_cast<int>(i), FCurrentCategory->Columns[i]->Width);
    }
}

void TMainWindow::FillRecordList() {
    ClearListSelection();
    std::vector<TRecord*> rows;
    if (FCurrentCategory != nullptr) {
        rows.reserve(FCurrentCategory->Records.size());
        for (const auto& record : FCurrentCategory->Records) {
            rows.push_back(record.get());
        }
    }
    FRecordListModel->SetRows(std::move(rows));
    UpdateRecordCount(false);
}

void TMainWindow::UpdateRecordCount(bool filtered) {
    if (FCurrentCategory == nullptr) {
        LabelCategory->clear();
        return;
    }
    const int count = FRecordListModel->rowCount();
    LabelCategory->setText(DisplayText(FCurrentCategory->Name) +
                           (filtered ? QStringLiteral("   (Filtered: ") : QStringLiteral("   (Total: ")) +
                           QString::number(count) + QStringLiteral(" record") +
                           (count > 1 ? QStringLiteral("s") : QString()) + QStringLiteral(")"));
}

void TMainWindow::SortRecordList() {
    if (FCurrentCategory == nullptr) {
        return;
    }
    FRecordListModel->Sort(FCurrentCategory->SortColumn, FCurrentCategory->SortAscending);
    ListView1->header()->setSortIndicator(FCurrentCategory->SortColumn, FCurrentCategory->SortAscending
                                                                            ? Qt::AscendingOrder
                                                                            : Qt::DescendingOrder);
}

void TMainWindow::ListView1ColumnClick(int column) {
    // The empty column of a category without list columns sorts nothing.
    if (FCurrentCategory == nullptr || column >= FRecordListModel->ListColumnCount()) {
        return;
    }
    FCurrentCategory->SortAscending =
        column == FCurrentCategory->SortColumn ? !FCurrentCategory->SortAscending : true;
    FCurrentCategory->SortColumn = column;
    SortRecordList();
    if (FCurrentListItem.isValid()) {
        ListView1->scrollTo(FCurrentListItem);
    }
    MarkDataChanged();
}

void TMainWindow::ListView1KeyUp(int key) {
    if (key == Qt::Key_Delete && ActionDeleteItem->isEnabled()) {
        ActionDeleteItem->trigger();
    }
}

bool TMainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListView1 && event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            ListView1KeyUp(key->key());
        }
    } else if (watched == EditSearchBox && event->type() == QEvent::KeyPress) {
        // Only keys that type a character count; Delete, the arrows and the Edit commands' keys
        // change the box without starting the filter.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->text().isEmpty() && key->key() != Qt::Key_Delete &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            EditSearchBoxKeyPress();
        }
    } else if (watched == EditSearchBox && event->type() == QEvent::InputMethod &&
               !static_cast<QInputMethodEvent*>(event)->commitString().isEmpty()) {
        EditSearchBoxKeyPress(); // a character composed through the input method
    } else if (watched == PanelDataFormHolder && event->type() == QEvent::Resize) {
        PanelDataFormHolderResize();
    } else if (watched == SplitterRight && event->type() == QEvent::Resize && FListViewHeightPending) {
        ApplyListViewHeight();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainWindow::ClearListSelection() {
    // Emptying or refilling the list loses the selection; the deselection must run first.
    ListView1->selectionModel()->clearSelection();
}

void TMainWindow::SelectRow(int row) {
    ListView1->setCurrentIndex(FRecordListModel->index(row, 0));
}

void TMainWindow::ListView1SelectionChanged(const QItemSelection& selected,
                                            const QItemSelection& deselected) {
    // The old row's loss comes before the new row's gain, so a question concerns the old record.
    if (!deselected.isEmpty() && FCurrentListItem.isValid()) {
        ListView1SelectItem(FCurrentListItem, false);
    }
    const QModelIndexList indexes = selected.indexes();
    if (!indexes.isEmpty()) {
        ListView1SelectItem(indexes.constFirst(), true);
    }
}

// ---- Record form -----------------------------------------------------------------------------

bool TMainWindow::DataFormModified() const {
    return !BtnSaveData->isHidden();
}

void TMainWindow::SetDataFormModified(bool modified) {
    BtnSaveData->setVisible(modified);
    BtnCancelData->setVisible(modified);
    UpdateEditTemplatesEnabled();
}

void TMainWindow::ActionEditTemplatesExecute() {
    if (DataFormModified()) {
        MessageBoxes::ShowError(this,
                                QStringLiteral("Please save or cancel your modification to record before "
                                               "editing templates."));
        return;
    }
    FSelectedCategoryID = FCurrentCategory ? FCurrentCategory->ID : 0;
    BuildWorkingCopy();
    if (!FTemplateEditor->Execute(*FWorkingCopy))
        return;
    // No row may refer to a record while the merge changes it or frees it with its category.
    FEGXOutlookBar1->SetSelectedIndex(-1);
    ApplyWorkingCopy();
    FillCategoryBar();
    MarkDataChanged();
}

void TMainWindow::BuildWorkingCopy() {
    FWorkingCopy = std::make_unique<TLedgrin>();
    FWorkingCopy->BuildWorkingCopy(*FData);
}

void TMainWindow::ApplyWorkingCopy() {
    FData->ApplyWorkingCopy(*FWorkingCopy);
}

void TMainWindow::UpdateEditTemplatesEnabled() {
    // The template editor rewrites categories: not over unsaved edits or a running filter.
    ActionEditTemplates->setEnabled(FDataFileOpened && !DataFormModified() && !FFilterRunning);
}

bool TMainWindow::OfferToSaveRecord(QMessageBox::StandardButtons buttons, bool keepListOrder) {
    if (!DataFormModified()) {
        return true;
    }
    const QMessageBox::StandardButton answer =
        MessageBoxes::Show(this, MessageBoxes::TKind::Warning, Text(kRecordModified), buttons);
    if (answer == QMessageBox::Yes) {
        FSavingOnDeselect = keepListOrder;
        BtnSaveDataClick();
        FSavingOnDeselect = false;
    }
    return answer != QMessageBox::Cancel;
}

void TMainWindow::ListView1SelectItem(const QModelIndex& row, bool selected) {
    if (selected) {
        FCurrentListItem = row.siblingAtColumn(0);
        FCurrentRecord = FRecordListModel->RecordAt(row.row());
        ListView1->scrollTo(row);
        TimerClearDataForm.stop();
        if (FFormNeedsRebuild) {
            BuildDataForm();
            FFormNeedsRebuild = false;
        }
        ActionDuplicateItem->setEnabled(true);
        ActionDeleteItem->setEnabled(true);
        LabelDataFormToolBar->clear();
        LoadRecordIntoForm();
        return;
    }
    if (!FDeletingRecord) {
        OfferToSaveRecord(QMessageBox::Yes | QMessageBox::No, true);
    }
    SetDataFormModified(false);
    ActionDuplicateItem->setEnabled(false);
    ActionDeleteItem->setEnabled(false);
    FCurrentListItem = QPersistentModelIndex();
    FCurrentRecord = nullptr;
    LabelDataFormToolBar->setText(Text(kNoRecordSelected));
    TimerClearDataForm.start();
}

void TMainWindow::LoadRecordIntoForm() {
    if (FCurrentRecord == nullptr || FCurrentCategory == nullptr) {
        return;
    }
    for (TFormBox& box : FFormBoxes) {
        // Loading is no edit: the box's change signal is held back meanwhile.
        const QSignalBlocker blocker(box.Control);
        const int32_t valueIndex = FCurrentCategory->ValueIndexOf(TemplateControls::ElementIdOf(box.Control));
        SetBoxText(*box.Control, FCurrentRecord->Value(valueIndex));
        box.Loaded = BoxText(*box.Control);
    }
}

void TMainWindow::BuildDataForm() {
    // A category change may leave the previous form in place until now.
    ClearDataForm();
    if (FCurrentCategory == nullptr) {
        return;
    }
    {
        const QSignalBlocker blockV(SBV);
        const QSignalBlocker blockH(SBH);
        SBV->setValue(0);
        SBH->setValue(0);
    }
    PanelDataForm->move(0, 0);
    SetFormColor(TemplateControls::ToQColor(FCurrentCategory->FormColor));
    for (const auto& element : FCurrentCategory->Elements) {
        QWidget* control = TemplateControls::Create(*element, PanelDataForm);
        if (control == nullptr) {
            continue;
        }
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->setMaxLength(std::numeric_limits<int>::max());
            connect(edit, &QLineEdit::textChanged, this, &TMainWindow::DataFormChange);
            FFormBoxes.push_back({control, QString()});
        } else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
            connect(memo, &QPlainTextEdit::textChanged, this, &TMainWindow::DataFormChange);
            FFormBoxes.push_back({control, QString()});
        }
        FFormRight = std::max(FFormRight, control->x() + control->width());
        FFormBottom = std::max(FFormBottom, control->y() + control->height());
    }
    PanelDataFormHolderResize();
    AssignTabOrder();
}

std::vector<int> TMainWindow::FormTabOrder() const {
    std::vector<TBoxPosition> positions;
    positions.reserve(FFormBoxes.size());
    for (const TFormBox& box : FFormBoxes) {
        positions.push_back({box.Control->x(), box.Control->y()});
    }
    return ReadingOrder(positions);
}

void TMainWindow::AssignTabOrder() {
    const std::vector<int> order = FormTabOrder();
    for (size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(FFormBoxes[static_cast<size_t>(order[i - 1])].Control,
                             FFormBoxes[static_cast<size_t>(order[i])].Control);
    }
}

void TMainWindow::DataFormChange() {
    SetDataFormModified(true);
}

void TMainWindow::BtnSaveDataClick() {
    if (FCurrentRecord == nullptr) {
        return;
    }
    for (TFormBox& box : FFormBoxes) {
        const QString text = BoxText(*box.Control);
        // A box whose text is as loaded keeps its stored bytes (an older file's encoding, a lone
        // line break).
        if (text == box.Loaded) {
            continue;
        }
        FCurrentRecord->SetValue(FCurrentCategory->ValueIndexOf(TemplateControls::ElementIdOf(box.Control)),
                                 StoredBoxText(*box.Control, text));
        box.Loaded = text;
    }
    FRecordListModel->RefreshRow(FCurrentListItem.row());
    if (!FSavingOnDeselect) {
        SortRecordList();
        ListView1->scrollTo(FCurrentListItem);
    }
    MarkDataChanged();
    SetDataFormModified(false);
}

void TMainWindow::BtnCancelDataClick() {
    if (FCurrentListItem.isValid()) {
        ListView1SelectItem(FCurrentListItem, true);
    }
    SetDataFormModified(false);
}

void TMainWindow::TimerClearDataFormTimer() {
    TimerClearDataForm.stop();
    ClearDataForm();
    FFormNeedsRebuild = true;
    FCurrentListItem = QPersistentModelIndex();
    FCurrentRecord = nullptr;
    if (FSelectFirstAfterClear && FRecordListModel->rowCount() > 0) {
        FSelectFirstAfterClear = false;
        SelectRow(0);
    }
}

void TMainWindow::SetFormColor(const QColor& color) {
    QPalette palette = PanelDataForm->palette();
    palette.setColor(QPalette::Window, color);
    PanelDataForm->setPalette(palette);
}

void TMainWindow::ClearDataForm() {
    FFormBoxes.clear();
    const QList<QWidget*> controls =
        PanelDataForm->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (auto it = controls.crbegin(); it != controls.crend(); ++it) {
        delete *it;
    }
    SetFormColor(QColor(QRgb(kFormSilver)));
    FFormRight = 0;
    FFormBottom = 0;
    PanelDataFormHolderResize();
}

void TMainWindow::PanelDataFormHolderResize() {
    const QSignalBlocker blockV(SBV);
    const QSignalBlocker blockH(SBH);
    SBV->setValue(0);
    SBH->setValue(0);
    PanelDataForm->move(0, 0);
    const TFormScrollLayout area = LayoutFormArea(FFormRight, FFormBottom, PanelDataFormHolder->width(),
                                                  PanelDataFormHolder->height(), SBV->width(), SBH->height());
    SBH->setMaximum(area.HorizontalMax);
    SBH->setPageStep(area.HorizontalPage);
    SBH->setVisible(area.HorizontalShown);
    SBV->setMaximum(area.VerticalMax);
    SBV->setPageStep(area.VerticalPage);
    SBV->setEnabled(area.VerticalEnabled);

    // The viewport and the bars sit inside the 1-pixel bevel.
    const int inset = PanelDataFormHolder->frameWidth();
    const int innerWidth = area.ViewportWidth - 2 * inset;
    const int innerHeight = area.ViewportHeight - 2 * inset;
    PanelDataFormHolder2->setGeometry(inset, inset, innerWidth, innerHeight);
    SBV->setGeometry(area.ViewportWidth - inset, inset, SBV->width(), innerHeight);
    if (area.HorizontalShown) {
        SBH->setGeometry(inset, area.ViewportHeight - inset, innerWidth, SBH->height());
    }
    // The form panel's background fills the viewport whatever the window size and scroll position.
    const QSize screen = QGuiApplication::primaryScreen() != nullptr
                             ? QGuiApplication::primaryScreen()->size()
                             : QSize(1024, 768);
    PanelDataForm->resize(screen.width() + FFormRight + 25, screen.height() + FFormBottom + 25);
}

void TMainWindow::SBVScroll(int position) {
    PanelDataForm->move(PanelDataForm->x(), -position);
    PanelDataForm->setFocus();
}

void TMainWindow::SBHScroll(int position) {
    PanelDataForm->move(-position, PanelDataForm->y());
    PanelDataForm->setFocus();
}

// ---- Record filter ---------------------------------------------------------------------------

void TMainWindow::EditSearchBoxKeyPress() {
    TimerSearch.stop();
    FSelectFirstAfterFilter = true;
    TimerSearch.start();
}

void TMainWindow::CBMatchWholeWordClick() {
    // A click restarts the wait exactly as a key press does.
    EditSearchBoxKeyPress();
}

void TMainWindow::TimerSearchTimer() {
    TimerSearch.stop();
    if (FCurrentCategory == nullptr) {
        return;
    }
    if (!EditSearchBox->text().isEmpty()) {
        ActionSearch->trigger();
    } else {
        ShowAllRecords();
    }
}

void TMainWindow::ShowAllRecords() {
    FillRecordList();
    if (FRecordListModel->ListColumnCount() > 0) {
        SortRecordList();
    }
    QCoreApplication::processEvents();
    if (FRecordListModel->rowCount() > 0) {
        SelectRow(0);
    }
    ActionNewItem->setEnabled(true);
}

void TMainWindow::SetFilterRunning(bool running) {
    FFilterRunning = running;
    // While a run goes on, nothing may start another run or change the records it walks.
    for (QWidget* control : {PanelLeft, PanelRight, static_cast<QWidget*>(EditSearchBox),
                             static_cast<QWidget*>(CBMatchWholeWord)}) {
        control->setEnabled(!running);
    }
    ActionSearch->setEnabled(!running);
    ActionChooseDataFile->setEnabled(!running);
    if (running) {
        ActionNewItem->setEnabled(false);
    }
    UpdateEditTemplatesEnabled();
}

void TMainWindow::ActionSearchExecute() {
    if (FCurrentCategory == nullptr || FFilterRunning) {
        return;
    }
    SearchParam.WholeWord = CBMatchWholeWord->isChecked();
    SearchParam.SetFilterText(StoredText(EditSearchBox->text()));
    SetFilterRunning(true);
    ClearListSelection();
    FRecordListModel->SetRows({});
    QCoreApplication::processEvents();

    std::vector<TRecord*> rows;
    std::string text; // the record text, one buffer for the whole run
    QElapsedTimer slice;
    slice.start();
    const auto& records = FCurrentCategory->Records;
    for (size_t i = 0; i < records.size(); ++i) {
        if (SearchParam.Test(*records[i], text)) {
            rows.push_back(records[i].get());
        }
        if ((i + 1) % kFilterRecordsPerCheck == 0 && slice.hasExpired(kFilterSliceMs)) {
            QCoreApplication::processEvents();
            slice.restart();
        }
    }
    FRecordListModel->SetRows(std::move(rows));
    SortRecordList();
    SetFilterRunning(false);
    ActionNewItem->setEnabled(false);
    UpdateRecordCount(true);
    if (FSelectFirstAfterFilter) {
        FSelectFirstAfterFilter = false;
        if (FRecordListModel->rowCount() > 0) {
            SelectRow(0);
        }
    }
    EditSearchBox->setFocus();
    EditSearchBox->deselect();
    EditSearchBox->setCursorPosition(
        std::min(kFilterCaretLimit, static_cast<int>(EditSearchBox->text().size())));
}

// ---- Record commands -------------------------------------------------------------------------

bool TMainWindow::HeaderShowsFiltered() const {
    return LabelCategory->text().contains(QStringLiteral(" (Filtered:"));
}

void TMainWindow::AppendAndSelect(TRecord* record, bool filteredHeader) {
    // The new row stays last until the list is next sorted.
    const int row = FRecordListModel->AppendRow(record);
    SelectRow(row);
    ListView1->scrollTo(FRecordListModel->index(row, 0));
    UpdateRecordCount(filteredHeader);
    MarkDataChanged();
    FocusFirstTextBox();
}

void TMainWindow::ActionNewItemExecute() {
    if (FCurrentCategory == nullptr || FFilterRunning) {
        return;
    }
    AppendAndSelect(FCurrentCategory->NewRecord(), false);
}

void TMainWindow::ActionDuplicateItemExecute() {
    if (FCurrentCategory == nullptr || FCurrentRecord == nullptr || FFilterRunning) {
        return;
    }
    // The stored values: edits still pending in the form are not part of the copy.
    TRecord* copy = FCurrentCategory->NewRecord();
    copy->Assign(*FCurrentRecord);
    AppendAndSelect(copy, HeaderShowsFiltered());
}

void TMainWindow::ActionDeleteItemExecute() {
    if (FCurrentCategory == nullptr || FCurrentRecord == nullptr || FFilterRunning) {
        return;
    }
    if (MessageBoxes::Show(this, MessageBoxes::TKind::Confirmation, Text(kDeleteRecord),
                           QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    // The selection as it is after the question.
    TRecord* record = FCurrentRecord;
    const int row = FCurrentListItem.row();
    if (record == nullptr || row < 0) {
        return;
    }
    // The row goes before its record, so the list never refers to a destroyed record; its
    // deselection drops pending edits without asking.
    FDeletingRecord = true;
    ClearListSelection();
    // Without a current row the list selects no neighbour when the row goes.
    ListView1->selectionModel()->clearCurrentIndex();
    FRecordListModel->RemoveRow(row);
    FDeletingRecord = false;
    FCurrentCategory->DeleteRecord(record);
    UpdateRecordCount(HeaderShowsFiltered());
    MarkDataChanged();
}

void TMainWindow::FocusFirstTextBox() {
    const std::vector<int> order = FormTabOrder();
    if (!order.empty()) {
        FFormBoxes[static_cast<size_t>(order.front())].Control->setFocus(Qt::OtherFocusReason);
    }
}

void TMainWindow::Edit2Click() {
    const TFocusedTextBox box(focusWidget());
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    ActionCut->setEnabled(box.HasSelection());
    ActionCopy->setEnabled(box.HasSelection());
    ActionPaste->setEnabled(box.IsTextBox() && clipboard != nullptr && clipboard->hasText());
    ActionSelectAll->setEnabled(box.HasText());
}

void TMainWindow::Cut1Click() {
    Edit2Click();
    if (ActionCut->isEnabled()) {
        TFocusedTextBox(focusWidget()).Cut();
    }
}

void TMainWindow::Copy1Click() {
    Edit2Click();
    if (ActionCopy->isEnabled()) {
        TFocusedTextBox(focusWidget()).Copy();
    }
}

void TMainWindow::Paste1Click() {
    Edit2Click();
    if (ActionPaste->isEnabled()) {
        TFocusedTextBox(focusWidget()).Paste();
    }
}

void TMainWindow::SelectAll1Click() {
    Edit2Click();
    if (ActionSelectAll->isEnabled()) {
        TFocusedTextBox(focusWidget()).SelectAll();
    }
}

void TMainWindow::ActionSetFocusToSearchBoxExecute() {
    if (FCurrentCategory != nullptr && EditSearchBox->isEnabled()) {
        EditSearchBox->setFocus(Qt::ShortcutFocusReason);
    }
}

void TMainWindow::ActionSetFocusToTheListViewExecute() {
    if (FCurrentCategory != nullptr && ListView1->isEnabled()) {
        ListView1->setFocus(Qt::ShortcutFocusReason);
    }
}
