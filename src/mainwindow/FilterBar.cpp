// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/FilterBar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace {
constexpr int kSearchMs = 300;
constexpr int kFilterCaretLimit = 1000;
} // namespace

TFilterBar::TFilterBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelSearch"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 0, 8, 0);
    layout->setSpacing(6);
    auto* label = new QLabel(tr("Filter:"), this);
    FBox = new QLineEdit(this);
    FBox->setObjectName(QStringLiteral("EditSearchBox"));
    FBox->setFixedWidth(140);
    FBox->setToolTip(tr("Enter filter string here, or clear to display all records."));
    FBox->setStatusTip(FBox->toolTip());
    label->setBuddy(FBox);
    FWholeWord = new QCheckBox(tr("Match &Whole Word"), this);
    FWholeWord->setObjectName(QStringLiteral("CBMatchWholeWord"));
    FWholeWord->setFocusPolicy(Qt::ClickFocus);
    FBox->installEventFilter(this);
    // A click restarts the wait exactly as a key press does.
    connect(FWholeWord, &QCheckBox::clicked, this, &TFilterBar::RestartWait);
    layout->addWidget(label);
    layout->addWidget(FBox);
    layout->addWidget(FWholeWord);

    TimerSearch.setSingleShot(true);
    TimerSearch.setInterval(kSearchMs);
    connect(&TimerSearch, &QTimer::timeout, this, &TFilterBar::TimerSearchTimer);
}

QString TFilterBar::Text() const {
    return FBox->text();
}

bool TFilterBar::WholeWord() const {
    return FWholeWord->isChecked();
}

void TFilterBar::SetRunning(bool running) {
    FBox->setEnabled(!running);
    FWholeWord->setEnabled(!running);
}

void TFilterBar::FocusBox() {
    if (FBox->isEnabled())
        FBox->setFocus(Qt::ShortcutFocusReason);
}

void TFilterBar::PlaceCaretAfterRun() {
    FBox->setFocus();
    FBox->deselect();
    FBox->setCursorPosition(std::min(kFilterCaretLimit, static_cast<int>(FBox->text().size())));
}

void TFilterBar::RestartWait() {
    TimerSearch.stop();
    TimerSearch.start();
}

void TFilterBar::TimerSearchTimer() {
    TimerSearch.stop();
    emit RunRequested();
}

bool TFilterBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FBox && event->type() == QEvent::KeyPress) {
        // Only keys that type a character count; Delete, the arrows and the Edit commands' keys
        // change the box without starting the filter.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->text().isEmpty() && key->key() != Qt::Key_Delete &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            RestartWait();
    } else if (watched == FBox && event->type() == QEvent::InputMethod &&
               !static_cast<QInputMethodEvent*>(event)->commitString().isEmpty()) {
        RestartWait(); // a character composed through the input method
    } else if (watched == FBox && event->type() == QEvent::FocusOut) {
        emit BoxLeft();
    }
    return QWidget::eventFilter(watched, event);
}
