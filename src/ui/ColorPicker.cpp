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
    {QT_TRANSLATE_NOOP("TColorPicker", "Black"), 0x000000},
    {QT_TRANSLATE_NOOP("TColorPicker", "Brown"), 0x993300},
    {QT_TRANSLATE_NOOP("TColorPicker", "Olive Green"), 0x333300},
    {QT_TRANSLATE_NOOP("TColorPicker", "Dark Green"), 0x003300},
    {QT_TRANSLATE_NOOP("TColorPicker", "Dark Teal"), 0x003366},
    {QT_TRANSLATE_NOOP("TColorPicker", "Dark Blue"), 0x000080},
    {QT_TRANSLATE_NOOP("TColorPicker", "Indigo"), 0x333399},
    {QT_TRANSLATE_NOOP("TColorPicker", "Gray-80%"), 0x333333},
    {QT_TRANSLATE_NOOP("TColorPicker", "Dark Red"), 0x800000},
    {QT_TRANSLATE_NOOP("TColorPicker", "Orange"), 0xFF6600},
    {QT_TRANSLATE_NOOP("TColorPicker", "Dark Yellow"), 0x808000},
    {QT_TRANSLATE_NOOP("TColorPicker", "Green"), 0x008000},
    {QT_TRANSLATE_NOOP("TColorPicker", "Teal"), 0x008080},
    {QT_TRANSLATE_NOOP("TColorPicker", "Blue"), 0x0000FF},
    {QT_TRANSLATE_NOOP("TColorPicker", "Blue-Gray"), 0x666699},
    {QT_TRANSLATE_NOOP("TColorPicker", "Gray-50%"), 0x808080},
    {QT_TRANSLATE_NOOP("TColorPicker", "Red"), 0xFF0000},
    {QT_TRANSLATE_NOOP("TColorPicker", "Light Orange"), 0xFF9900},
    {QT_TRANSLATE_NOOP("TColorPicker", "Lime"), 0x99CC00},
    {QT_TRANSLATE_NOOP("TColorPicker", "Sea Green"), 0x339966},
    {QT_TRANSLATE_NOOP("TColorPicker", "Aqua"), 0x33CCCC},
    {QT_TRANSLATE_NOOP("TColorPicker", "Light Blue"), 0x3366FF},
    {QT_TRANSLATE_NOOP("TColorPicker", "Violet"), 0x800080},
    {QT_TRANSLATE_NOOP("TColorPicker", "Gray-40%"), 0x969696},
    {QT_TRANSLATE_NOOP("TColorPicker", "Pink"), 0xFF00FF},
    {QT_TRANSLATE_NOOP("TColorPicker", "Gold"), 0xFFCC00},
    {QT_TRANSLATE_NOOP("TColorPicker", "Yellow"), 0xFFFF00},
    {QT_TRANSLATE_NOOP("TColorPicker", "Bright Green"), 0x00FF00},
    {QT_TRANSLATE_NOOP("TColorPicker", "Turquoise"), 0x00FFFF},
    {QT_TRANSLATE_NOOP("TColorPicker", "Sky Blue"), 0x00CCFF},
    {QT_TRANSLATE_NOOP("TColorPicker", "Plum"), 0x993366},
    {QT_TRANSLATE_NOOP("TColorPicker", "Gray-25%"), 0xC0C0C0},
    {QT_TRANSLATE_NOOP("TColorPicker", "Rose"), 0xFF99CC},
    {QT_TRANSLATE_NOOP("TColorPicker", "Tan"), 0xFFCC99},
    {QT_TRANSLATE_NOOP("TColorPicker", "Light Yellow"), 0xFFFF99},
    {QT_TRANSLATE_NOOP("TColorPicker", "Light Green"), 0xCCFFCC},
    {QT_TRANSLATE_NOOP("TColorPicker", "Light Turquoise"), 0xCCFFFF},
    {QT_TRANSLATE_NOOP("TColorPicker", "Pale Blue"), 0x99CCFF},
    {QT_TRANSLATE_NOOP("TColorPicker", "Lavender"), 0xCC99FF},
    {QT_TRANSLATE_NOOP("TColorPicker", "White"), 0xFFFFFF},
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
    FDropDown->setWindowTitle(tr("Text Color Window"));
    FDropDown->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(FDropDown);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    auto* automatic = new QToolButton(FDropDown);
    automatic->setObjectName(QStringLiteral("Automatic"));
    automatic->setText(tr("Automatic"));
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
        swatch->setToolTip(tr(named.Name));
        swatch->setAccessibleName(tr(named.Name));
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
    other->setText(tr("Other Colors..."));
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
        return tr("Automatic");
    const QColor color = TemplateControls::ToQColor(FColor, palette());
    for (const TNamedColor& named : kStandardColors)
        if (QColor(named.Rgb) == color)
            return tr(named.Name);
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
