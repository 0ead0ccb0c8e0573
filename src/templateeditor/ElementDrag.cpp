// SPDX-License-Identifier: GPL-3.0-or-later
#include "templateeditor/ElementDrag.h"

#include "templateeditor/DesignGeometry.h"
#include "templateeditor/PaintBox.h"

using namespace DesignGeometry;

namespace {

const char* const kZoneProperty = "PointerZone";

TPointerZone ZoneOf(const QWidget* control) {
    const QVariant zone = control->property(kZoneProperty);
    return zone.isValid() ? static_cast<TPointerZone>(zone.toInt()) : TPointerZone::None;
}

} // namespace

TElementDrag::TElementDrag(QWidget* surface)
    : FSurface(surface),
      FOutline(new TPaintBox(QStringLiteral("PBMoveBox"), surface, [this](QPainter& painter, const QRect&) {
          painter.setPen(Qt::black);
          painter.setBrush(Qt::white);
          // The outline's right and bottom pixels are at
          // width - 2 and height - 2.
          painter.drawRect(0, 0, FOutline->width() - 2, FOutline->height() - 2);
      })) {
    FOutline->hide();
}

void TElementDrag::TrackZone(QWidget* control, std::string_view kind, const QPoint& point) {
    const QPoint local = point - control->pos();
    const TPointerZone zone = ZoneAt(kind, local.x(), local.y(), control->width(), control->height());
    control->setProperty(kZoneProperty, static_cast<int>(zone));
    FSurface->setCursor(CursorOf(zone));
}

void TElementDrag::CarryZone(const QWidget* from, QWidget* to) {
    to->setProperty(kZoneProperty, from->property(kZoneProperty));
}

void TElementDrag::Start(QWidget* control, const QPoint& point) {
    FOffset = control->pos() - point;
    const TPointerZone zone = ZoneOf(control);
    FResizingWidth = ResizesWidth(zone);
    FResizingHeight = ResizesHeight(zone);
    FMoving = zone == TPointerZone::Move;
    if (FMoving) {
        FOutline->setGeometry(control->geometry());
        // Drawn over every element, the one being dragged included.
        FOutline->raise();
        FOutline->show();
    }
}

bool TElementDrag::Follow(QWidget* control, const QPoint& point) {
    if (FResizingWidth)
        control->resize(DraggedSize(point.x()), control->height());
    if (FResizingHeight)
        control->resize(control->width(), DraggedSize(point.y()));
    if (FMoving)
        FOutline->move(SnapToGrid(FOffset.x() + point.x()), SnapToGrid(FOffset.y() + point.y()));
    return FResizingWidth || FResizingHeight || FMoving;
}

bool TElementDrag::Finish(QWidget* control) {
    const bool dragged = FMoving || FResizingWidth || FResizingHeight;
    if (FMoving)
        control->move(FOutline->pos());
    Cancel();
    return dragged;
}

void TElementDrag::Cancel() {
    FOutline->hide();
    FResizingWidth = FResizingHeight = FMoving = false;
}
