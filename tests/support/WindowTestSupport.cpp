// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/WindowTestSupport.h"

#include "app/SingleInstance.h"
#include "mainwindow/CheckPasswordDialog.h"
#include "mainwindow/RecordList.h"
#include "settings/Folders.h"
#include "settings/Settings.h"
#include "ui/dialogs/FileDialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTimer>

#include <atomic>
#include <thread>

namespace MainTest {

TSandbox::TSandbox() {
    QVERIFY(FDir.isValid());
    TFolders::InitializeForTesting(FDir.path());
    QDir().mkpath(FilePath(QString()));
    QDir().mkpath(FDir.filePath(QStringLiteral("run")));
    TSingleInstanceGuard::SetFolderForTesting(FDir.filePath(QStringLiteral("run")));
    PrintListFont() = TPrintListFont();
    MessageBoxTesting::Enable();
    FileDialogTesting::Enable();
}

TSandbox::~TSandbox() {
    TSingleInstanceGuard::SetFolderForTesting(QString());
}

QString TSandbox::ProgramFolder() const {
    return TFolders::ProgramFolder();
}

QString TSandbox::FilePath(const QString& name) const {
    return FDir.filePath(QStringLiteral("files/") + name);
}

void TSandbox::VerifyDialogs() {
    const QStringList boxes = MessageBoxTesting::TakeUnanswered();
    const QStringList files = FileDialogTesting::TakeUnanswered();
    QVERIFY2(boxes.isEmpty(),
             qPrintable(QStringLiteral("unanswered boxes: ") + boxes.join(QStringLiteral(" | "))));
    QVERIFY2(files.isEmpty(),
             qPrintable(QStringLiteral("unanswered file dialogs: ") + files.join(QStringLiteral(" | "))));
    QCOMPARE(MessageBoxTesting::PendingAnswers(), 0);
    QCOMPARE(FileDialogTesting::PendingResults(), 0);
}

void TWindowTest::init() {
    FSandbox = std::make_unique<TSandbox>();
}

void TWindowTest::cleanup() {
    FSandbox->VerifyDialogs();
    FSandbox.reset();
}

TSingleInstanceGuard::TResult SecondStart(const QString& filePath) {
    std::atomic<bool> done{false};
    auto result = TSingleInstanceGuard::TResult::Acquired;
    std::thread start([&] {
        TSingleInstanceGuard guard;
        result = guard.TryAcquire(filePath);
        done = true;
    });
    while (!done) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    start.join();
    // Lets the answer's signals reach their receivers.
    QCoreApplication::processEvents();
    return result;
}

QProcessEnvironment ProgramEnvironment(const QString& root) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString runtime = root + QStringLiteral("/xdg-runtime");
    QDir().mkpath(runtime);
    // Qt takes a runtime folder only when no one else may enter it.
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/xdg-data"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/xdg-config"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}

void WriteSetting(const QString& key, const QString& value) {
    TSettingsFile settings;
    settings.WriteString(key, value);
}

QString ReadSetting(const QString& key) {
    QSettings settings(TFolders::SettingsFilePath(), QSettings::IniFormat);
    return settings.value(QStringLiteral("Ledgrin/") + key).toString();
}

bool HasSetting(const QString& key) {
    QSettings settings(TFolders::SettingsFilePath(), QSettings::IniFormat);
    return settings.contains(QStringLiteral("Ledgrin/") + key);
}

TCategory* AddCategory(TDataFile& data, const std::string& name, const std::vector<std::string>& columns) {
    TCategory* category = data.AddCategory();
    category->Name = name;
    int top = 8;
    for (const std::string& caption : columns) {
        const int32_t id =
            category->AddElement(kKindEdit, 100, top, 200, 21, 0xFFFFFF, TFont{"Arial", 0, 9, 0}, "");
        auto column = std::make_unique<TListColumn>();
        column->ElementID = id;
        column->Width = 120;
        column->Caption = caption;
        category->Columns.push_back(std::move(column));
        top += 30;
    }
    category->RenumberValueIndexes();
    return category;
}

TRecord* AddRecord(TCategory& category, std::initializer_list<std::string> values) {
    TRecord* record = category.NewRecord();
    int32_t i = 0;
    for (const std::string& value : values) {
        record->SetValue(i++, value);
    }
    return record;
}

int32_t AddElement(TCategory& category, const char* kind, int32_t left, int32_t top, int32_t width,
                   int32_t height, const std::string& caption) {
    const int32_t id =
        category.AddElement(kind, left, top, width, height, 0xFFFFFF, TFont{"Arial", 0, 9, 0}, caption);
    category.RenumberValueIndexes();
    return id;
}

void SaveData(const TDataFile& data, const QString& path) {
    data.SaveToFile(QFile::encodeName(path).toStdString());
}

TDataFile LoadData(const QString& path) {
    TDataFile data;
    data.LoadFromFile(QFile::encodeName(path).toStdString());
    return data;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TypeText(QWidget* widget, const QString& text) {
    // One key per character, a surrogate pair included.
    for (const char32_t c : text.toUcs4()) {
        if (c < 128) {
            QTest::keyClick(widget, static_cast<char>(c));
        } else {
            const QString typed = QString::fromUcs4(&c, 1);
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
            QApplication::sendEvent(widget, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, typed);
            QApplication::sendEvent(widget, &release);
        }
    }
}

void OnNextDialog(const std::function<bool(QWidget*)>& action) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    auto ticks = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action, ticks] {
        QWidget* dialog = QApplication::activeModalWidget();
        const bool done = (dialog != nullptr && dialog->isVisible() && action(dialog)) || ++*ticks > 500;
        if (done) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

void AnswerCheckPassword(const QString& password, bool cancel) {
    OnNextDialog([password, cancel](QWidget* widget) {
        auto* dialog = qobject_cast<TCheckPasswordDialog*>(widget);
        if (dialog == nullptr) {
            return false;
        }
        auto* edit = Child<QLineEdit>(*dialog, "EditPassword");
        if (!edit->text().isEmpty() || !edit->hasFocus()) {
            return false; // the box must be empty and focused on showing
        }
        TypeText(edit, password);
        QTest::mouseClick(Child<QPushButton>(*dialog, cancel ? "BtnCancel" : "BtnOK"), Qt::LeftButton);
        return true;
    });
}

std::unique_ptr<TMainWindow> ShowForm() {
    auto form = std::make_unique<TMainWindow>();
    form->show();
    return form;
}

std::unique_ptr<TMainWindow> ShowData(const TSandbox& sandbox, const TDataFile& data, QString& path) {
    path = RememberData(sandbox, data);
    auto form = ShowForm();
    ShowRememberedCategory(*form);
    return form;
}

void ShowRememberedCategory(TMainWindow& form) {
    Browser(form).TimerSelectCategoryTimer();
    Browser(form).TimerClearDataFormTimer();
}

QStringList ShownBoxTexts() {
    QStringList texts;
    for (const MessageBoxTesting::TShownBox& box : MessageBoxTesting::TakeShown()) {
        texts.append(box.Text);
    }
    return texts;
}

QString RememberData(const TSandbox& sandbox, const TDataFile& data) {
    const QString path = sandbox.FilePath(QStringLiteral("cards.lgd"));
    SaveData(data, path);
    WriteSetting(QStringLiteral("DataFile"), path);
    return path;
}

TRecordListModel* ListModel(const TMainWindow& form) {
    return Child<TRecordList>(form, "ListView1")->Model();
}

QStringList ListColumnTexts(const TMainWindow& form, int column) {
    const QAbstractItemModel* model = Child<QTableView>(form, "ListView1")->model();
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row) {
        texts.append(model->index(row, column).data().toString());
    }
    return texts;
}

void ClickRow(TMainWindow& form, int row) {
    auto* view = Child<QTableView>(form, "ListView1");
    QPoint point;
    if (row >= 0) {
        point = view->visualRect(view->model()->index(row, 0)).center();
    } else {
        const int rows = view->model()->rowCount();
        const QRect last = rows > 0 ? view->visualRect(view->model()->index(rows - 1, 0)) : QRect();
        point = QPoint(10, last.bottom() + 10);
        QVERIFY(point.y() < view->viewport()->height());
    }
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, point);
}

int SelectedRow(const TMainWindow& form) {
    const QModelIndexList rows = Child<QTableView>(form, "ListView1")->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

QList<QWidget*> FormControls(const TMainWindow& form) {
    return Child<QWidget>(form, "PanelDataForm")
        ->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
}

QWidget* FormControl(const TMainWindow& form, int32_t elementId) {
    for (QWidget* control : FormControls(form)) {
        if (control->property("ElementID").toInt() == elementId) {
            return control;
        }
    }
    return nullptr;
}

QString ControlText(const QWidget* control) {
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(control)) {
        return memo->toPlainText();
    }
    const auto* edit = qobject_cast<const QLineEdit*>(control);
    return edit != nullptr ? edit->text() : QString();
}

void TypeIntoBox(QWidget* control, const QString& text) {
    if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
        QTest::mouseClick(memo->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
        memo->moveCursor(QTextCursor::End);
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
        edit->setCursorPosition(static_cast<int>(edit->text().size()));
    }
    TypeText(control, text);
}

void ClickEditMenuItem(const TMainWindow& form, const char* actionName) {
    auto* menu = Child<QMenu>(form, "MenuEdit");
    auto* action = Child<QAction>(form, actionName);
    menu->popup(QPoint(0, 0));
    QVERIFY(action->isEnabled());
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(action).center());
    QVERIFY(!menu->isVisible());
}

void Trigger(TMainWindow& form, const char* actionName) {
    Child<QAction>(form, actionName)->trigger();
}

} // namespace MainTest
