// SPDX-License-Identifier: GPL-3.0-or-later
#include "templateeditor/DesignGeometry.h"

#include "core/Category.h"

#include <algorithm>

namespace DesignGeometry {

namespace {

// Rectangles as left, top, right, bottom with right and bottom excluded.
QRect Ltrb(int left, int top, int right, int bottom) {
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}

} // namespace

TPointerZone ZoneAt(std::string_view kind, int x, int y, int width, int height) {
    const bool nearRight = width - x < kEdgeZone;
    const bool nearBottom = height - y < kEdgeZone;
    if (kind == kKindEdit)
        return nearRight ? TPointerZone::Width : TPointerZone::Move;
    if (kind == kKindMemo) {
        if (nearRight && nearBottom)
            return TPointerZone::WidthAndHeight;
        if (nearRight)
            return TPointerZone::Width;
        if (nearBottom)
            return TPointerZone::Height;
    }
    return TPointerZone::Move;
}

Qt::CursorShape CursorOf(TPointerZone zone) {
    switch (zone) {
    case TPointerZone::Width:
        return Qt::SizeHorCursor;
    case TPointerZone::Height:
        return Qt::SizeVerCursor;
    case TPointerZone::WidthAndHeight:
        return Qt::SizeFDiagCursor;
    case TPointerZone::Move:
    case TPointerZone::None:
        break;
    }
    return Qt::ArrowCursor;
}

bool ResizesWidth(TPointerZone zone) {
    return zone == TPointerZone::Width || zone == TPointerZone::WidthAndHeight;
}

bool ResizesHeight(TPointerZone zone) {
    return zone == TPointerZone::Height || zone == TPointerZone::WidthAndHeight;
}

int StepOnGrid(int position, int step) {
    // Floor and ceiling on the grid, also for negative positions.
    const int below = position >= 0 ? SnapToGrid(position) : -SnapToGrid(-position + kGridPitch - 1);
    const int above = below == position ? position : below + kGridPitch;
    return step > 0 ? below + kGridPitch : above - kGridPitch;
}

int SteppedSize(int size, int step) {
    const int stepped = size + (step > 0 ? kGridPitch : -kGridPitch);
    return stepped < kSmallestSize ? std::min(size, kSmallestSize) : stepped;
}

QRect KeyedBounds(std::string_view kind, const QRect& bounds, int key, bool resize) {
    const int dx = key == Qt::Key_Right ? 1 : (key == Qt::Key_Left ? -1 : 0);
    const int dy = key == Qt::Key_Down ? 1 : (key == Qt::Key_Up ? -1 : 0);
    QRect keyed = bounds;
    if (resize) {
        const TPointerZone corner =
            ZoneAt(kind, bounds.width() - 1, bounds.height() - 1, bounds.width(), bounds.height());
        if (dx != 0 && ResizesWidth(corner))
            keyed.setWidth(SteppedSize(bounds.width(), dx));
        if (dy != 0 && ResizesHeight(corner))
            keyed.setHeight(SteppedSize(bounds.height(), dy));
    } else {
        keyed.moveTo(dx != 0 ? StepOnGrid(bounds.x(), dx) : bounds.x(),
                     dy != 0 ? StepOnGrid(bounds.y(), dy) : bounds.y());
    }
    return keyed;
}

std::vector<QPoint> GridPoints(const QRect& exposed) {
    std::vector<QPoint> points;
    if (exposed.isEmpty())
        return points;
    const int firstColumn = exposed.left() / kGridPitch;
    const int lastColumn = (exposed.left() + exposed.width()) / kGridPitch;
    const int firstRow = exposed.top() / kGridPitch;
    const int lastRow = (exposed.top() + exposed.height()) / kGridPitch;
    points.reserve(static_cast<size_t>(lastColumn - firstColumn + 1) *
                   static_cast<size_t>(lastRow - firstRow + 1));
    for (int i = firstColumn; i <= lastColumn; ++i)
        for (int j = firstRow; j <= lastRow; ++j)
            points.emplace_back(i * kGridPitch, j * kGridPitch);
    return points;
}

QRect SelectBoxRect(const QRect& control) {
    return QRect(control.left() - 4, control.top() - 4, control.width() + 9, control.height() + 9);
}

std::array<QRect, 8> SelectBoxMarks(int width, int height) {
    const int w = width;
    const int h = height;
    const int w2 = w / 2;
    const int h2 = h / 2;
    return {Ltrb(0, 0, 4, 4),
            Ltrb(w2 - 2, 0, w2 + 2, 4),
            Ltrb(w - 5, 0, w - 1, 4),
            Ltrb(0, h2 - 2, 4, h2 + 2),
            Ltrb(w - 5, h2 - 2, w - 1, h2 + 2),
            Ltrb(0, h - 5, 4, h - 1),
            Ltrb(w2 - 2, h - 5, w2 + 2, h - 1),
            Ltrb(w - 5, h - 5, w - 1, h - 1)};
}

} // namespace DesignGeometry
