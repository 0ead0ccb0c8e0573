// SPDX-License-Identifier: GPL-3.0-or-later
#include "templateeditor/ToolColumn.h"

#include "core/Category.h"

#include <QEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

#include <string_view>

namespace {

// The tool pictures: an arrow pointer, a letter, a one-line box and a ruled memo box.
QIcon ToolIcon(const char* kind) {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    if (!kind) {
        const QPointF arrow[] = {{7, 3}, {7, 19}, {11, 15}, {14, 21}, {16.5, 20}, {13.5, 14}, {19, 14}};
        painter.setBrush(Qt::white);
        painter.drawPolygon(arrow, 7);
    } else if (std::string_view(kind) == kKindLabel) {
        QFont font = painter.font();
        font.setPixelSize(17);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(QColor(0, 0, 128));
        painter.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, QStringLiteral("A"));
    } else {
        const bool memo = std::string_view(kind) == kKindMemo;
        const QRectF box = memo ? QRectF(3.5, 3.5, 17, 17) : QRectF(2.5, 8.5, 19, 8);
        painter.setBrush(QColor(0xA6, 0xCA, 0xF0));
        painter.drawRect(box);
        painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
        const int lines = memo ? 3 : 1;
        for (int i = 0; i < lines; ++i) {
            const qreal y = memo ? 8.5 + 4 * i : 12.5;
            painter.drawLine(QPointF(box.left() + 3, y),
                             QPointF(box.right() - 3 - (i == lines - 1 ? 4 : 0), y));
        }
    }
    painter.end();
    return QIcon(pixmap);
}

} // namespace

TToolColumn::TToolColumn(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelTools"));
    setFixedWidth(33);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 1, 0);
    layout->setSpacing(0);

    struct TToolText {
        const char* Name;
        const char* Hint;
        const char* Kind;
    };
    const TToolText texts[] = {{"TBArrow", "", nullptr},
                               {"TBLabel", QT_TR_NOOP("label"), kKindLabel},
                               {"TBEdit", QT_TR_NOOP("single-line text box"), kKindEdit},
                               {"TBMemo", QT_TR_NOOP("multi-line text box"), kKindMemo}};
    for (size_t i = 0; i < std::size(texts); ++i) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(texts[i].Name));
        button->setToolTip(tr(texts[i].Hint));
        button->setCheckable(true);
        button->setAutoExclusive(true);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(32, 32);
        button->setIconSize(QSize(24, 24));
        button->setIcon(ToolIcon(texts[i].Kind));
        button->installEventFilter(this);
        FTools[i] = {button, texts[i].Kind};
        connect(button, &QToolButton::clicked, this, [this, i] { ToolClicked(FTools[i]); });
        layout->addWidget(button);
    }
    SelectArrow();
    layout->addStretch();
}

const char* TToolColumn::PlacingKind() const {
    for (const TTool& tool : FTools) {
        if (tool.Button->isChecked())
            return tool.Kind;
    }
    return nullptr;
}

void TToolColumn::SelectArrow() {
    FTools[0].Button->setChecked(true);
}

bool TToolColumn::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick && watched != FTools[0].Button)
        FDoubleClicked = true;
    return QWidget::eventFilter(watched, event);
}

void TToolColumn::ToolClicked(const TTool& tool) {
    if (!FDoubleClicked || !tool.Kind)
        return;
    FDoubleClicked = false;
    emit DoubleClicked(tool.Kind);
}
