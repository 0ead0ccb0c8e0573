// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the wizard tests: dialogs in test mode, a temporary folder, sample data, and the
// steps a user takes in a wizard window.

#include "core/DataFile.h"
#include "exchange/workbook/Workbook.h"
#include "ui/WorkerCall.h"
#include "ui/dialogs/FileDialogs.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSemaphore>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <initializer_list>
#include <string>
#include <vector>

namespace WizardTest {

// Dialogs answer from queues; every box must have been expected.
class TDialogs {
public:
    TDialogs() {
        MessageBoxTesting::Enable();
        FileDialogTesting::Enable();
    }
    ~TDialogs() {
        MessageBoxTesting::Disable();
        FileDialogTesting::Disable();
    }
    // Texts of the boxes shown since the last call.
    static QStringList ShownTexts() {
        QStringList texts;
        for (const auto& box : MessageBoxTesting::TakeShown())
            texts.append(box.Text);
        return texts;
    }
    static void Verify() {
        QCOMPARE(MessageBoxTesting::TakeUnanswered(), QStringList());
        QCOMPARE(FileDialogTesting::TakeUnanswered(), QStringList());
        QCOMPARE(MessageBoxTesting::PendingAnswers(), 0);
        QCOMPARE(FileDialogTesting::PendingResults(), 0);
    }
};

inline const TFont kSampleFont{"MS Sans Serif", 0, 8, 0};

// A category with a label before each text box; captions list the boxes as columns in order.
inline TCategory& AddCategory(TDataFile& data, const std::string& name,
                              const std::vector<std::string>& captions) {
    TCategory& category = *data.AddCategory();
    category.Name = name;
    for (const std::string& caption : captions) {
        category.AddElement(kKindLabel, 12, 12, 60, 20, 0, kSampleFont, caption + ":");
        const int32_t box = category.AddElement(kKindEdit, 84, 12, 120, 22, 0xFFFFFF, kSampleFont, "");
        auto column = std::make_unique<TListColumn>();
        column->ElementID = box;
        column->Caption = caption;
        category.Columns.push_back(std::move(column));
    }
    category.RenumberValueIndexes();
    return category;
}

inline void AddRecord(TCategory& category, std::initializer_list<std::string> values) {
    TRecord& record = *category.NewRecord();
    int32_t i = 0;
    for (const std::string& value : values)
        record.SetValue(i++, value);
}

template <class T = QWidget> T* Find(const QWidget* root, const char* name) {
    T* widget = root->findChild<T*>(QLatin1String(name));
    if (widget == nullptr)
        qFatal("no widget named %s", name);
    return widget;
}

inline void Click(const QWidget* root, const char* name) {
    QTest::mouseClick(Find<QPushButton>(root, name), Qt::LeftButton);
}

// The text at the top of the page shown.
inline QString PageText(const QWidget* wizard) {
    const QWidget* page = Find<QStackedWidget>(wizard, "PageControl")->currentWidget();
    return page->findChildren<QLabel*>().constFirst()->text();
}

// The error text of opening path directly on this thread, as the engine gives it.
inline QString OpenError(const QString& path) {
    try {
        TWorkbook::Open(path);
    } catch (const EWorkbookError& error) {
        return error.Text();
    }
    return QString();
}

// The wizard as a user finds it during long work: the page, whether its bar is busy, the buttons
// enabled, and whether it closed when asked to.
inline QString BusyState(QWidget* wizard) {
    const bool closed = wizard->close();
    return QStringLiteral("%1 busy:%2 next:%3 cancel:%4 closed:%5")
        .arg(PageText(wizard))
        .arg(int(Find<QProgressBar>(wizard, "ProgressBar")->maximum() == 0))
        .arg(int(Find<QPushButton>(wizard, "BtnNext")->isEnabled()))
        .arg(int(Find<QPushButton>(wizard, "BtnCancel")->isEnabled()))
        .arg(int(closed));
}

// Holds every worker call until this thread has described the wizard, which it can do only while
// its event loop goes on; States lists the descriptions.
class THeldWorker {
public:
    explicit THeldWorker(QWidget* wizard) {
        WorkerCallTesting::SetBeforeWork([this, wizard] {
            QMetaObject::invokeMethod(
                &FReceiver,
                [this, wizard] {
                    FStates.append(BusyState(wizard));
                    FLooked.release();
                },
                Qt::QueuedConnection);
            // Only a stalled event loop takes this long; the states then miss this call.
            FLooked.tryAcquire(1, 60000);
        });
    }
    ~THeldWorker() { WorkerCallTesting::SetBeforeWork({}); }
    THeldWorker(const THeldWorker&) = delete;
    THeldWorker& operator=(const THeldWorker&) = delete;
    QStringList States() const { return FStates; }

private:
    QObject FReceiver;
    QSemaphore FLooked;
    QStringList FStates;
};

inline QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace WizardTest
