// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ColorPicker.h"

#include "ui/ColorPickerAccessible.h"

#include "ui/TemplateControls.h"
#include "ui/dialogs/ColorDialogs.h"

#include <QAccessible>
#include <QFrame>
#include <QGridLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace {

struct TNamedColor {
    const char* Name;
    QRgb Rgb;
};

// Five rows of eight, darkest first.
constexpr TNamedColor kStandardColors[] = {
    {"Black", 0x000000},
    {"Brown", 0x993300},
    {"Olive Green", 0x333300},
    {"Dark Green", 0x003300},
    {"Dark Teal", 0x003366},
    {"Dark Blue", 0x000080},
    {"Indigo", 0x333399},
    {"Gray-80%", 0x333333},
    {"Dark Red", 0x800000},
    {"Orange", 0xFF6600},
    {"Dark Yellow", 0x808000},
    {"Green", 0x008000},
    {"Teal", 0x008080},
    {"Blue", 0x0000FF},
    {"Blue-Gray", 0x666699},
    {"Gray-50%", 0x808080},
    {"Red", 0xFF0000},
    {"Light Orange", 0xFF9900},
    {"Lime", 0x99CC00},
    {"Sea Green", 0x339966},
    {"Aqua", 0x33CCCC},
    {"Light Blue", 0x3366FF},
    {"Violet", 0x800080},
    {"Gray-40%", 0x969696},
    {"Pink", 0xFF00FF},
    {"Gold", 0xFFCC00},
    {"Yellow", 0xFFFF00},
    {"Bright Green", 0x00FF00},
    {"Turquoise", 0x00FFFF},
    {"Sky Blue", 0x00CCFF},
    {"Plum", 0x993366},
    {"Gray-25%", 0xC0C0C0},
    {"Rose", 0xFF99CC},
    {"Tan", 0xFFCC99},
    {"Light Yellow", 0xFFFF99},
    {"Light Green", 0xCCFFCC},
    {"Light Turquoise", 0xCCFFFF},
    {"Pale Blue", 0x99CCFF},
    {"Lavender", 0xCC99FF},
    {"White", 0xFFFFFF},
};
constexpr int kColumns = 8;

QPixmap Swatch(const QColor& color, const QSize& size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.setBrush(color);
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return pixmap;
}

} // namespace

TColorPicker::TColorPicker(const QString& name, const QString& hint, int32_t automaticColor, QWidget* parent)
    : QToolButton(parent), FColor(automaticColor), FAutomaticColor(automaticColor),
      FDropDown(new QFrame(this, Qt::Popup)) {
    setObjectName(name);
    setToolTip(hint);
    // Screen readers learn the hint and the colour from an interface of the picker's own.
    static const bool accessible = (QAccessible::installFactory(&TColorPickerAccessible::Create), true);
    Q_UNUSED(accessible);
    setFocusPolicy(Qt::TabFocus);
    setIconSize(QSize(34, 16));

    FDropDown->setObjectName(QStringLiteral("DropDown"));
    FDropDown->setWindowTitle(QStringLiteral("Text Color Window"));
    FDropDown->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(FDropDown);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    auto* automatic = new QToolButton(FDropDown);
    automatic->setObjectName(QStringLiteral("Automatic"));
    automatic->setText(QStringLiteral("Automatic"));
    automatic->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(automatic, &QToolButton::clicked, this, [this] { Pick(FAutomaticColor); });
    layout->addWidget(automatic);

    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    int index = 0;
    for (const TNamedColor& named : kStandardColors) {
        const QColor color(named.Rgb);
        auto* swatch = new QToolButton(FDropDown);
        swatch->setObjectName(QLatin1String(named.Name));
        swatch->setToolTip(QLatin1String(named.Name));
        swatch->setAccessibleName(QLatin1String(named.Name));
        swatch->setAutoRaise(true);
        swatch->setIconSize(QSize(14, 14));
        swatch->setIcon(Swatch(color, QSize(14, 14)));
        const int32_t value = TemplateControls::FromQColor(color);
        connect(swatch, &QToolButton::clicked, this, [this, value] { Pick(value); });
        grid->addWidget(swatch, index / kColumns, index % kColumns);
        ++index;
    }
    layout->addLayout(grid);

    auto* other = new QToolButton(FDropDown);
    other->setObjectName(QStringLiteral("OtherColors"));
    other->setText(QStringLiteral("Other Colors..."));
    other->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(other, &QToolButton::clicked, this, &TColorPicker::PickOther);
    layout->addWidget(other);

    connect(this, &QToolButton::clicked, this, &TColorPicker::ShowDropDown);
    UpdateFace();
}

void TColorPicker::SetColor(int32_t color) {
    FColor = color;
    UpdateFace();
}

void TColorPicker::ShowDropDown() {
    FDropDown->adjustSize();
    FDropDown->move(mapToGlobal(QPoint(0, height())));
    FDropDown->show();
}

void TColorPicker::Pick(int32_t color) {
    FDropDown->hide();
    SetColor(color);
    emit ColorSelected(color);
}

void TColorPicker::PickOther() {
    FDropDown->hide();
    const QColor chosen = ColorDialogs::Run(this, TemplateControls::ToQColor(FColor), toolTip());
    if (chosen.isValid())
        Pick(TemplateControls::FromQColor(chosen));
}

QString TColorPicker::ColorName() const {
    if (FColor == FAutomaticColor)
        return QStringLiteral("Automatic");
    const QColor color = TemplateControls::ToQColor(FColor, palette());
    for (const TNamedColor& named : kStandardColors)
        if (QColor(named.Rgb) == color)
            return QLatin1String(named.Name);
    return color.name();
}

// The current colour beside a drop-down mark.
void TColorPicker::UpdateFace() {
    QPixmap face(iconSize());
    face.fill(Qt::transparent);
    QPainter painter(&face);
    painter.drawPixmap(0, 0, Swatch(TemplateControls::ToQColor(FColor, palette()), QSize(24, 16)));
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::ButtonText));
    const QPointF arrow[] = {{27, 6}, {34, 6}, {30.5, 10}};
    painter.drawPolygon(arrow, 3);
    painter.end();
    setIcon(face);
    QAccessibleValueChangeEvent changed(this, ColorName());
    QAccessible::updateAccessibility(&changed);
}
