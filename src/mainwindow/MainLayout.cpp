// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/MainLayout.h"

#include "mainwindow/RecordForm.h"
#include "mainwindow/RecordList.h"
#include "ui/CategoryBar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace {
constexpr int kPanelLeftWidth = 97;
constexpr int kListViewHeight = 145;
} // namespace

TMainLayout::TMainLayout(QMainWindow* window, QWidget* filterBar)
    : QObject(window), FMainSplitter(new QSplitter(Qt::Horizontal, window)),
      FLeftPanel(new QWidget(FMainSplitter)), FCategoryBar(new TCategoryBar(tr("Categories"), FLeftPanel)),
      FListViewHeight(kListViewHeight) {
    FMainSplitter->setObjectName(QStringLiteral("SplitterMain"));
    FMainSplitter->setHandleWidth(3);
    FMainSplitter->setChildrenCollapsible(false);

    FLeftPanel->setObjectName(QStringLiteral("PanelLeft"));
    auto* leftLayout = new QVBoxLayout(FLeftPanel);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    FCategoryBar->setObjectName(QStringLiteral("FEGXOutlookBar1"));
    leftLayout->addWidget(FCategoryBar);

    // The right side keeps its place while the right pane is hidden, so the bar keeps its width.
    auto* rightHolder = new QWidget(FMainSplitter);
    rightHolder->setObjectName(QStringLiteral("PanelRightHolder"));
    auto* holderLayout = new QVBoxLayout(rightHolder);
    holderLayout->setContentsMargins(0, 0, 0, 0);
    holderLayout->addWidget(CreateRightPane(rightHolder, filterBar));
    holderLayout->addWidget(CreateNoCategoriesHint(rightHolder));

    FMainSplitter->addWidget(FLeftPanel);
    FMainSplitter->addWidget(rightHolder);
    FMainSplitter->setStretchFactor(0, 0);
    FMainSplitter->setStretchFactor(1, 1);
    FMainSplitter->setSizes({kPanelLeftWidth, window->width() - kPanelLeftWidth});
    window->setCentralWidget(FMainSplitter);
}

QWidget* TMainLayout::CreateNoCategoriesHint(QWidget* parent) {
    FNoCategoriesHint = new QWidget(parent);
    FNoCategoriesHint->setObjectName(QStringLiteral("PanelNoCategories"));
    auto* layout = new QVBoxLayout(FNoCategoriesHint);
    layout->addStretch(1);
    auto* text = new QLabel(tr("This data file has no categories yet."), FNoCategoriesHint);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    auto* button = new QPushButton(tr("Edit Temp&lates..."), FNoCategoriesHint);
    button->setObjectName(QStringLiteral("BtnNoCategoriesEditTemplates"));
    connect(button, &QPushButton::clicked, this, &TMainLayout::EditTemplatesRequested);
    layout->addWidget(button, 0, Qt::AlignHCenter);
    layout->addStretch(2);
    FNoCategoriesHint->hide();
    return FNoCategoriesHint;
}

void TMainLayout::ShowNoCategoriesHint(bool visible) {
    FNoCategoriesHint->setVisible(visible);
}

QWidget* TMainLayout::CreateRightPane(QWidget* parent, QWidget* filterBar) {
    FRightPanel = new QWidget(parent);
    FRightPanel->setObjectName(QStringLiteral("PanelRight"));
    auto* layout = new QVBoxLayout(FRightPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* header = new QFrame(FRightPanel);
    header->setObjectName(QStringLiteral("PanelCategoryHeader"));
    header->setStyleSheet(
        QStringLiteral("QFrame#PanelCategoryHeader { background: qlineargradient(x1:0, y1:0, "
                       "x2:1, y2:0, stop:0 #3d4c60, stop:1 #6b7d94); }"));
    auto* headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(16, 0, 8, 0);
    FCategoryLabel = new QLabel(header);
    FCategoryLabel->setObjectName(QStringLiteral("LabelCategory"));
    QFont labelFont = FCategoryLabel->font();
    labelFont.setBold(true);
    labelFont.setPixelSize(13);
    FCategoryLabel->setFont(labelFont);
    FCategoryLabel->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    headerLayout->addWidget(FCategoryLabel, 1);
    filterBar->setParent(header);
    headerLayout->addWidget(filterBar);
    layout->addWidget(header);

    FRightSplitter = new QSplitter(Qt::Vertical, FRightPanel);
    FRightSplitter->setObjectName(QStringLiteral("SplitterRight"));
    FRightSplitter->setHandleWidth(4);
    FRightSplitter->setChildrenCollapsible(false);
    FRecordList = new TRecordList(FRightSplitter);
    FRecordForm = new TRecordForm(FRightSplitter);
    FRightSplitter->installEventFilter(this);
    FRightSplitter->addWidget(FRecordList);
    FRightSplitter->addWidget(FRecordForm);
    FRightSplitter->setStretchFactor(0, 0);
    FRightSplitter->setStretchFactor(1, 1);
    layout->addWidget(FRightSplitter, 1);
    return FRightPanel;
}

void TMainLayout::ShowRightPane(bool visible) {
    if (visible == !FRightPanel->isHidden())
        return;
    if (!visible && FRightSplitter->isVisible())
        FListViewHeight = ListViewHeight();
    FRightPanel->setVisible(visible);
    if (visible) {
        // Lay the pane out now, so the list takes its height at once.
        FRightPanel->parentWidget()->layout()->activate();
        ApplyListViewHeight();
    }
}

void TMainLayout::ApplyRemembered(const QString& panelLeftWidth, const QString& listViewHeight) {
    bool ok = false;
    const int width = panelLeftWidth.toInt(&ok);
    if (ok && width >= 0)
        FMainSplitter->setSizes(
            {width, qMax(0, FMainSplitter->width() - width - FMainSplitter->handleWidth())});
    const int height = listViewHeight.toInt(&ok);
    if (ok && height >= 0) {
        FListViewHeight = height;
        ApplyListViewHeight();
    }
}

void TMainLayout::ApplyListViewHeight() {
    // The splitter places the list only once it has been laid out with room for it; until then
    // the height waits for the splitter's next resize.
    FListViewHeightPending = FRightPanel->isHidden() || !FRightSplitter->isVisible() ||
                             FRightSplitter->height() <= FListViewHeight;
    if (!FListViewHeightPending)
        FRightSplitter->setSizes(
            {FListViewHeight, FRightSplitter->height() - FListViewHeight - FRightSplitter->handleWidth()});
}

int TMainLayout::PanelLeftWidth() const {
    return FMainSplitter->sizes().value(0, kPanelLeftWidth);
}

int TMainLayout::ListViewHeight() const {
    return FRightPanel->isHidden() || FListViewHeightPending
               ? FListViewHeight
               : FRightSplitter->sizes().value(0, FListViewHeight);
}

bool TMainLayout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FRightSplitter && event->type() == QEvent::Resize && FListViewHeightPending)
        ApplyListViewHeight();
    return QObject::eventFilter(watched, event);
}
