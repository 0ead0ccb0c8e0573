#pragma once

// Shared by the wizard tests: dialogs in test mode, a temporary folder, sample data, and the
// steps a user takes in a wizard window.

#include "core/Ledgrin.h"
#include "ui/dialogs/FileDialogs.h"
#include "ui/dialogs/MessageBoxes.h"

#include <QLabel>
#include <QPushButton>
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
inline TCategory& AddCategory(TLedgrin& data, const std::string& name,
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
