// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchangewizards/WizardFrame.h"

#include "ui/WorkerCall.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kClientWidth = 474;
constexpr int kHeaderHeight = 49;
constexpr int kHeaderPictureSize = 32;
constexpr int kMargin = 16;
constexpr int kPageMargin = 24;
constexpr int kPageTopMargin = 12;
constexpr int kPageSpacing = 4;
constexpr int kButtonBandMargin = 14;
constexpr int kButtonSpacing = 8;
constexpr int kButtonWidth = 80;
constexpr int kProgressSliceMs = 50;
constexpr int kProgressSteps = 1000;

} // namespace

TWizardFrame::TWizardFrame(const QString& objectName, const QString& title, int clientHeight, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint),
      FNextButton(new QPushButton(tr("&Next"), this)), FCancelButton(new QPushButton(tr("&Cancel"), this)),
      FPages(new QStackedWidget(this)), FHeaderPicture(nullptr), FDesignedSize(kClientWidth, clientHeight) {
    setObjectName(objectName);
    resize(FDesignedSize);

    auto* header = new QWidget(this);
    header->setObjectName(QStringLiteral("PanelHeader"));
    header->setMinimumHeight(kHeaderHeight);
    header->setAutoFillBackground(true);
    QPalette white = header->palette();
    white.setColor(QPalette::Window, Qt::white);
    header->setPalette(white);
    auto* titleText = new QLabel(title, header);
    titleText->setObjectName(QStringLiteral("LabelTitle"));
    QFont bold = titleText->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() + 2);
    titleText->setFont(bold);
    QPalette green = titleText->palette();
    green.setColor(QPalette::WindowText, QColor(0, 128, 0));
    titleText->setPalette(green);
    FHeaderPicture = new QLabel(header);
    FHeaderPicture->setFixedSize(kHeaderPictureSize, kHeaderPictureSize);
    auto* headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(kMargin, 0, kMargin, 0);
    headerLayout->addWidget(titleText, 1);
    headerLayout->addWidget(FHeaderPicture);

    FPages->setObjectName(QStringLiteral("PageControl"));

    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    FNextButton->setObjectName(QStringLiteral("BtnNext"));
    FNextButton->setDefault(true);
    FCancelButton->setObjectName(QStringLiteral("BtnCancel"));
    FCancelButton->setAutoDefault(false);
    FButtons = new QHBoxLayout;
    FButtons->setContentsMargins(kMargin, kButtonBandMargin, kMargin, kButtonBandMargin);
    FButtons->setSpacing(kButtonSpacing);
    FButtons->addStretch(1);
    for (QPushButton* button : {FNextButton, FCancelButton}) {
        button->setMinimumWidth(kButtonWidth);
        FButtons->addWidget(button);
    }
    connect(FNextButton, &QPushButton::clicked, this, [this] { GoToNextPage(); });
    connect(FCancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addWidget(FPages, 1);
    layout->addWidget(separator);
    layout->addLayout(FButtons);
}

int TWizardFrame::PageIndex() const {
    return FPages->currentIndex();
}

QWidget* TWizardFrame::AddPage(const QString& text) {
    auto* page = new QWidget(FPages);
    page->setObjectName(QStringLiteral("Page%1").arg(FPages->count() + 1));
    auto* label = new QLabel(text, page);
    label->setObjectName(QStringLiteral("LabelPage%1").arg(FPages->count() + 1));
    label->setWordWrap(true);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(kPageMargin, kPageTopMargin, kPageMargin, kPageTopMargin);
    layout->setSpacing(kPageSpacing);
    layout->addWidget(label);
    FPages->addWidget(page);
    return page;
}

QVBoxLayout* TWizardFrame::PageLayout(QWidget* page) {
    return static_cast<QVBoxLayout*>(page->layout());
}

QProgressBar* TWizardFrame::AddProgressPage(const QString& text) {
    QWidget* page = AddPage(text);
    auto* bar = new QProgressBar(page);
    bar->setObjectName(QStringLiteral("ProgressBar"));
    bar->setRange(0, kProgressSteps);
    PageLayout(page)->addWidget(bar);
    PageLayout(page)->addStretch(1);
    return bar;
}

void TWizardFrame::SetHeaderPicture(const QPixmap& picture) {
    FHeaderPicture->setPixmap(picture);
}

QLineEdit* TWizardFrame::AddFileNameBox(QWidget* page, const FileDialogs::TOptions& browse) {
    auto* box = new QLineEdit(page);
    box->setObjectName(QStringLiteral("LEFileName"));
    auto* button = new QPushButton(tr("&Browse"), page);
    button->setObjectName(QStringLiteral("BtnBrowse"));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, box, browse] {
        const QString path = FileDialogs::Run(this, browse);
        if (!path.isEmpty())
            box->setText(path);
    });
    auto* line = new QHBoxLayout;
    line->addWidget(box, 1);
    line->addWidget(button);
    PageLayout(page)->addLayout(line);
    return box;
}

QPushButton* TWizardFrame::AddBackButton() {
    auto* button = new QPushButton(tr("&Back"), this);
    button->setObjectName(QStringLiteral("BtnBack"));
    button->setAutoDefault(false);
    button->setMinimumWidth(kButtonWidth);
    button->setEnabled(false);
    FButtons->insertWidget(FButtons->indexOf(FNextButton), button);
    return button;
}

void TWizardFrame::StartRun() {
    FWorking = false;
    ShowPage(0);
    FNextButton->setEnabled(true);
    FCancelButton->setEnabled(true);
    FCancelButton->setText(tr("&Cancel"));
}

void TWizardFrame::ShowPage(int index) {
    FPages->setCurrentIndex(index);
}

void TWizardFrame::SetWorking(bool working) {
    FWorking = working;
    if (working) {
        FNextButton->setEnabled(false);
        FCancelButton->setEnabled(false);
    }
}

void TWizardFrame::Finish() {
    FNextButton->setEnabled(false);
    FCancelButton->setEnabled(true);
    FCancelButton->setText(tr("&Close"));
}

void TWizardFrame::RepaintNow() {
    QCoreApplication::processEvents();
    FSlice.start();
}

TExchangeProgress TWizardFrame::ProgressOn(QProgressBar* bar) {
    bar->setValue(0);
    FSlice.start();
    return [this, bar](int64_t done, int64_t total) {
        if (!FSlice.hasExpired(kProgressSliceMs) && done < total)
            return;
        // Rows written during a long call turn its busy bar into one that measures.
        bar->setMaximum(kProgressSteps);
        bar->setValue(total <= 0 ? kProgressSteps : static_cast<int>(done * kProgressSteps / total));
        QCoreApplication::processEvents();
        FSlice.start();
    };
}

TExchangeWait TWizardFrame::WaitOn(QProgressBar* bar) {
    return [this, bar](const std::function<void()>& engineCall) {
        const int page = PageIndex();
        const bool working = FWorking;
        const bool nextEnabled = FNextButton->isEnabled();
        const bool cancelEnabled = FCancelButton->isEnabled();
        const QPointer<QWidget> focus = focusWidget();
        const int value = bar->value();
        const auto restore = qScopeGuard([&] {
            bar->setRange(0, kProgressSteps);
            bar->setValue(value);
            ShowPage(page);
            FWorking = working;
            FNextButton->setEnabled(nextEnabled);
            FCancelButton->setEnabled(cancelEnabled);
            if (focus)
                focus->setFocus();
        });
        SetWorking(true);
        ShowPage(FPages->indexOf(bar->parentWidget()));
        // Without a range the bar shows that work goes on, not how much is left.
        bar->setRange(0, 0);
        RunOffGuiThread(engineCall);
    };
}

void TWizardFrame::OpenModal() {
    setWindowModality(Qt::ApplicationModal);
    show();
}

void TWizardFrame::done(int result) {
    if (FWorking)
        return;
    CleanUp();
    QDialog::done(result);
}

void TWizardFrame::showEvent(QShowEvent* event) {
    setWindowTitle(tr("Quillery"));
    FitToContents();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

bool TWizardFrame::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    // A longer choice or a wider number may need more room than the window had.
    if (event->type() == QEvent::LayoutRequest)
        FitToContents();
    return handled;
}

void TWizardFrame::FitToContents() {
    // The designed size, unless the pages need more room at the present font.
    // Wrapped texts need more lines when the font is larger: each page's height is asked for the
    // width the window will have.
    const QSize needed = minimumSizeHint();
    const int width = std::max(FDesignedSize.width(), needed.width());
    int pagesHeight = FPages->minimumSizeHint().height();
    for (int index = 0; index < FPages->count(); ++index)
        pagesHeight =
            std::max(pagesHeight, PageLayout(FPages->widget(index))->totalMinimumHeightForWidth(width));
    setFixedSize(width, std::max(FDesignedSize.height(),
                                 needed.height() - FPages->minimumSizeHint().height() + pagesHeight));
}
