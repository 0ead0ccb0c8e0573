// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/AboutBox.h"

#include "help/BuildInfo.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {

constexpr int kClientWidth = 352;
constexpr int kClientHeight = 186;
constexpr int kTextLeft = 64;

QLabel* NewLabel(QWidget* parent, const char* name, int left, int top) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(left, top);
    return label;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent, const QString& homePage) : QDialog(parent), FHomePage(homePage) {
    setObjectName(QStringLiteral("FormAbout"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);

    FIcon = NewLabel(this, "ImageIcon", 8, 8);
    FIcon->setFixedSize(32, 32);
    FIcon->setAttribute(Qt::WA_TranslucentBackground);
    FProductName = NewLabel(this, "LabelProductName", kTextLeft, 8);
    FVersion = NewLabel(this, "LabelVersion", kTextLeft, 24);
    FQtVersion = NewLabel(this, "LabelQtVersion", kTextLeft, 44);
    QFont smaller = FQtVersion->font();
    smaller.setPointSizeF(smaller.pointSizeF() * 0.85);
    FQtVersion->setFont(smaller);
    FWebSiteCaption = NewLabel(this, "LabelWebSiteCaption", 8, 160);
    FWebSite = NewLabel(this, "LabelWebSite", kTextLeft, 160);
    FWebSite->setTextFormat(Qt::RichText);
    FWebSite->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    FWebSite->setCursor(Qt::PointingHandCursor);
    connect(FWebSite, &QLabel::linkActivated, this, &TAboutBox::OpenWebSite);

    auto* ok = new QPushButton(tr("O&K"), this);
    ok->setObjectName(QStringLiteral("BtnOK"));
    ok->setGeometry(248, 8, 97, 22);
    ok->setDefault(true);
    ok->setToolTip(tr("Close this \"About\" window."));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QString TAboutBox::VersionText() {
    return tr("Version %1").arg(QString::fromLatin1(BuildInfo::kVersion));
}

void TAboutBox::showEvent(QShowEvent* event) {
    setWindowTitle(tr("About Quillery"));
    FIcon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    FProductName->setText(QStringLiteral("Quillery"));
    FVersion->setText(VersionText());
    FQtVersion->setText(tr("Qt %1").arg(QString::fromLatin1(qVersion())));
    const THomePageLine line = HomePageLine(FHomePage);
    FWebSiteCaption->setText(line.Caption);
    for (QLabel* label : {FProductName, FVersion, FQtVersion, FWebSiteCaption}) {
        label->adjustSize();
    }
    // The link starts in the column of the texts above, and at least a blank after its caption.
    const int linkLeft =
        std::max(kTextLeft, FWebSiteCaption->geometry().right() + 1 +
                                FWebSiteCaption->fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    FWebSite->move(linkLeft, FWebSite->y());
    FWebSite->setToolTip(line.Hint);
    // A long web address is shortened in the middle so it fits the box; the link itself is always
    // the whole address.
    const QString shown =
        FWebSite->fontMetrics().elidedText(line.Link, Qt::ElideMiddle, kClientWidth - linkLeft - 8);
    FWebSite->setText(
        QStringLiteral("<a href=\"home\" style=\"color: blue; text-decoration: underline\">%1</a>")
            .arg(shown.toHtmlEscaped()));
    FWebSite->adjustSize();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}

TAboutBox::THomePageLine TAboutBox::HomePageLine(const QString& homePage) {
    if (IsWebAddress(homePage)) {
        return {tr("Web site:"), homePage, tr("Click to visit the Web site.")};
    }
    return {tr("Help:"), tr("installed with the program"), tr("Click to open the start page of the help.")};
}

void TAboutBox::OpenWebSite() {
    OpenHomePage(this, FHomePage);
}
