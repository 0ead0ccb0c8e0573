// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchangewizards/WizardFrame.h"

#include "ui/WorkerCall.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStackedWidget>

namespace {

constexpr int kClientWidth = 474;
constexpr int kHeaderHeight = 49;
constexpr int kBottomHeight = 54;
constexpr int kProgressSliceMs = 50;
constexpr int kProgressSteps = 1000;

} // namespace

TWizardFrame::TWizardFrame(const QString& objectName, const QString& title, int clientHeight, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint),
      FNextButton(new QPushButton(QStringLiteral("&Next"), this)),
      FCancelButton(new QPushButton(QStringLiteral("&Cancel"), this)), FPages(new QStackedWidget(this)),
      FHeaderPicture(nullptr) {
    setObjectName(objectName);
    setFixedSize(kClientWidth, clientHeight);

    auto* header = new QWidget(this);
    header->setObjectName(QStringLiteral("PanelHeader"));
    header->setGeometry(0, 0, kClientWidth, kHeaderHeight);
    header->setAutoFillBackground(true);
    QPalette white = header->palette();
    white.setColor(QPalette::Window, Qt::white);
    header->setPalette(white);
    auto* titleText = new QLabel(title, header);
    titleText->setObjectName(QStringLiteral("LabelTitle"));
    QFont bold = titleText->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    titleText->setFont(bold);
    QPalette green = titleText->palette();
    green.setColor(QPalette::WindowText, QColor(0, 128, 0));
    titleText->setPalette(green);
    titleText->setGeometry(16, 0, 380, kHeaderHeight);
    FHeaderPicture = new QLabel(header);
    FHeaderPicture->setGeometry(kClientWidth - 48, 8, 32, 32);

    FPages->setObjectName(QStringLiteral("PageControl"));
    FPages->setGeometry(0, kHeaderHeight, kClientWidth, clientHeight - kHeaderHeight - kBottomHeight);

    const int bottom = clientHeight - kBottomHeight;
    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(0, bottom, kClientWidth, 2);
    FNextButton->setObjectName(QStringLiteral("BtnNext"));
    FNextButton->setDefault(true);
    FNextButton->setGeometry(kClientWidth - 184, bottom + 16, 80, 26);
    FCancelButton->setObjectName(QStringLiteral("BtnCancel"));
    FCancelButton->setAutoDefault(false);
    FCancelButton->setGeometry(kClientWidth - 96, bottom + 16, 80, 26);
    connect(FNextButton, &QPushButton::clicked, this, [this] { GoToNextPage(); });
    connect(FCancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

int TWizardFrame::PageIndex() const {
    return FPages->currentIndex();
}

QWidget* TWizardFrame::AddPage(const QString& text) {
    auto* page = new QWidget(FPages);
    page->setObjectName(QStringLiteral("Page%1").arg(FPages->count() + 1));
    auto* label = new QLabel(text, page);
    label->setObjectName(QStringLiteral("LabelPage%1").arg(FPages->count() + 1));
    label->setGeometry(24, 12, kClientWidth - 48, 20);
    FPages->addWidget(page);
    return page;
}

QProgressBar* TWizardFrame::AddProgressPage(const QString& text) {
    QWidget* page = AddPage(text);
    auto* bar = new QProgressBar(page);
    bar->setObjectName(QStringLiteral("ProgressBar"));
    bar->setRange(0, kProgressSteps);
    bar->setGeometry(24, 48, kClientWidth - 48, 20);
    return bar;
}

void TWizardFrame::SetHeaderPicture(const QPixmap& picture) {
    FHeaderPicture->setPixmap(picture);
}

QLineEdit* TWizardFrame::AddFileNameBox(QWidget* page, int top, const FileDialogs::TOptions& browse) {
    auto* box = new QLineEdit(page);
    box->setObjectName(QStringLiteral("LEFileName"));
    box->setGeometry(24, top, 330, 24);
    auto* button = new QPushButton(QStringLiteral("&Browse"), page);
    button->setObjectName(QStringLiteral("BtnBrowse"));
    button->setAutoDefault(false);
    button->setGeometry(362, top - 1, 88, 26);
    connect(button, &QPushButton::clicked, this, [this, box, browse] {
        const QString path = FileDialogs::Run(this, browse);
        if (!path.isEmpty())
            box->setText(path);
    });
    return box;
}

void TWizardFrame::StartRun() {
    FWorking = false;
    ShowPage(0);
    FNextButton->setEnabled(true);
    FCancelButton->setEnabled(true);
    FCancelButton->setText(QStringLiteral("&Cancel"));
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
    FCancelButton->setText(QStringLiteral("&Close"));
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
    setWindowTitle(QStringLiteral("Quillery"));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}
