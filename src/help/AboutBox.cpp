#include "help/AboutBox.h"

#include "help/BuildInfo.h"
#include "help/HomePage.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

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

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormAbout"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);

    ImageIcon = NewLabel(this, "ImageIcon", 8, 8);
    ImageIcon->setFixedSize(32, 32);
    ImageIcon->setAttribute(Qt::WA_TranslucentBackground);
    LabelProductName = NewLabel(this, "LabelProductName", kTextLeft, 8);
    LabelVersion = NewLabel(this, "LabelVersion", kTextLeft, 24);
    LabelQtVersion = NewLabel(this, "LabelQtVersion", kTextLeft, 44);
    QFont smaller = LabelQtVersion->font();
    smaller.setPointSizeF(smaller.pointSizeF() * 0.85);
    LabelQtVersion->setFont(smaller);
    LabelWebSiteCaption = NewLabel(this, "LabelWebSiteCaption", 8, 160);
    LabelWebSite = NewLabel(this, "LabelWebSite", kTextLeft, 160);
    LabelWebSite->setToolTip(QStringLiteral("Click to visit the Web site."));
    LabelWebSite->setTextFormat(Qt::RichText);
    LabelWebSite->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    LabelWebSite->setCursor(Qt::PointingHandCursor);
    connect(LabelWebSite, &QLabel::linkActivated, this, &TAboutBox::LabelWebSiteClick);

    BtnOK = new QPushButton(QStringLiteral("O&K"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setGeometry(248, 8, 97, 22);
    BtnOK->setDefault(true);
    BtnOK->setToolTip(QStringLiteral("Close this \"About\" window."));
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
}

QString TAboutBox::VersionText() {
    return QStringLiteral("Version ") + QString::fromLatin1(BuildInfo::kVersion);
}

void TAboutBox::showEvent(QShowEvent* event) {
    setWindowTitle(QStringLiteral("About Quillery"));
    ImageIcon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    LabelProductName->setText(QStringLiteral("Quillery"));
    LabelVersion->setText(VersionText());
    LabelQtVersion->setText(QStringLiteral("Qt ") + QString::fromLatin1(qVersion()));
    LabelWebSiteCaption->setText(QStringLiteral("Web site:"));

    // A long address (the help's start page while there is no public home page) is shortened in
    // the middle so it fits the box; the link itself is always the whole address.
    const QString address = HomePageUrl().toString(QUrl::PreferLocalFile);
    const int room = kClientWidth - kTextLeft - 8;
    const QString shown = LabelWebSite->fontMetrics().elidedText(address, Qt::ElideMiddle, room);
    LabelWebSite->setText(
        QStringLiteral("<a href=\"home\" style=\"color: blue; text-decoration: underline\">%1</a>")
            .arg(shown.toHtmlEscaped()));
    for (QLabel* label :
         {LabelProductName, LabelVersion, LabelQtVersion, LabelWebSiteCaption, LabelWebSite}) {
        label->adjustSize();
    }

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}

void TAboutBox::LabelWebSiteClick() {
    OpenHomePage(this);
}
