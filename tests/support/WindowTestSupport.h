// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared set-up of the main-window tests: a temporary program folder, scripted dialogs, data
// files built in memory, and access to the real window's controls.

#include "app/SingleInstance.h"
#include "core/Category.h"
#include "core/DataFile.h"
#include "mainwindow/DataFileSession.h"
#include "mainwindow/FilterBar.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/RecordBrowser.h"
#include "mainwindow/RecordForm.h"
#include "ui/CategoryBar.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace MainTest {

// One test's world: folders under a temporary root (program folder, data files, the runtime
// folder of the single-instance guard) and dialogs in test mode.
class TSandbox {
public:
    TSandbox();
    ~TSandbox();

    QString Root() const { return FDir.path(); }
    QString ProgramFolder() const;
    // A path for a file of the test's own, in root/files/.
    QString FilePath(const QString& name) const;

    // Fails the running test when a box or file dialog found no answer, or answers were left over.
    void VerifyDialogs();

private:
    QTemporaryDir FDir;
};

// The fixture the window tests share: a fresh sandbox for every test function, and a test fails
// when a box or a file dialog found no answer.
class TWindowTest : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<TSandbox> FSandbox;

protected slots:
    void init();
    void cleanup();
};
// A later start of the program in another thread of this process, handing filePath over, while
// this thread's event loop lets a guard here answer it.
TSingleInstanceGuard::TResult SecondStart(const QString& filePath = QString());

// An environment for the real program, offscreen, whose XDG folders all lie in root; its runtime
// folder (lock and socket of the single-instance guard) is root/xdg-runtime.
QProcessEnvironment ProgramEnvironment(const QString& root);

void WriteSetting(const QString& key, const QString& value);
// The raw text of a key, or a null string when the key is missing.
QString ReadSetting(const QString& key);
bool HasSetting(const QString& key);

// A category whose template has one text box per caption, each listed as a column.
TCategory* AddCategory(TDataFile& data, const std::string& name, const std::vector<std::string>& columns);
TRecord* AddRecord(TCategory& category, std::initializer_list<std::string> values);
// Adds a template element (before any record) and returns its id; text boxes take the next value.
int32_t AddElement(TCategory& category, const char* kind, int32_t left, int32_t top, int32_t width,
                   int32_t height, const std::string& caption = std::string());
void SaveData(const TDataFile& data, const QString& path);
TDataFile LoadData(const QString& path);
QByteArray FileBytes(const QString& path);

// Types text into widget key by key, also characters that have no key of their own.
void TypeText(QWidget* widget, const QString& text);
// Runs action on the next modal dialog of type T once it is on screen.
void OnNextDialog(const std::function<bool(QWidget*)>& action);
// Types password into the check dialog and presses O&K (or Cancel when cancel is set).
void AnswerCheckPassword(const QString& password, bool cancel = false);

// Shows a window that opens the remembered data file, then lets the category timer and the
// clear-form timer fire.
std::unique_ptr<TMainWindow> ShowForm();
void ShowRememberedCategory(TMainWindow& form);

// Texts of the boxes shown since the last call.
QStringList ShownBoxTexts();

// Remembers data as the data file and shows a window on it with its remembered category shown;
// path receives the data file's path.
std::unique_ptr<TMainWindow> ShowData(const TSandbox& sandbox, const TDataFile& data, QString& path);
// Saves data as the remembered data file root/files/cards.lgd and returns its path.
QString RememberData(const TSandbox& sandbox, const TDataFile& data);

// The window's one part of type T among its children.
template <class T> T& Part(const TMainWindow& form) {
    const QList<T*> parts = form.findChildren<T*>();
    if (parts.size() != 1) {
        qFatal("the window has %d parts of type %s", static_cast<int>(parts.size()),
               T::staticMetaObject.className());
    }
    return *parts.constFirst();
}
inline TDataFileSession& Session(const TMainWindow& form) {
    return Part<TDataFileSession>(form);
}
inline TRecordBrowser& Browser(const TMainWindow& form) {
    return Part<TRecordBrowser>(form);
}
inline TFilterBar& FilterBar(const TMainWindow& form) {
    return Part<TFilterBar>(form);
}
inline TRecordForm& RecordForm(const TMainWindow& form) {
    return Part<TRecordForm>(form);
}
// The record list's rows as the window shows them.
TRecordListModel* ListModel(const TMainWindow& form);

// The record list's cell texts of one column, top to bottom.
QStringList ListColumnTexts(const TMainWindow& form, int column);
// Clicks the record list's row, or the empty space below the rows for row -1.
void ClickRow(TMainWindow& form, int row);
// The row selected in the record list, or -1.
int SelectedRow(const TMainWindow& form);

// The record form's control for an element, or nullptr.
QWidget* FormControl(const TMainWindow& form, int32_t elementId);
// The record form's controls in creation order.
QList<QWidget*> FormControls(const TMainWindow& form);
// A form box's text as its control shows it.
QString ControlText(const QWidget* control);
// Clicks into a form box at its end and types text there.
void TypeIntoBox(QWidget* control, const QString& text);

// Triggers the window's named command as a menu item or its key would.
void Trigger(TMainWindow& form, const char* actionName);
// Opens the Edit menu and clicks its item, which must be enabled.
void ClickEditMenuItem(const TMainWindow& form, const char* actionName);

template <class T> T* Child(const QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) {
        qFatal("no child %s", name);
    }
    return child;
}

} // namespace MainTest
