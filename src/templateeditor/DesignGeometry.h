// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <Qt>

#include <array>
#include <string_view>
#include <vector>

// The design surface's arithmetic: grid, pointer zones, drag sizes and the selection frame.
namespace DesignGeometry {

constexpr int kGridPitch = 6;
// Pointer distance from the right or bottom edge of a text box that resizes instead of moving.
constexpr int kEdgeZone = 8;

// What a press on an element control does, chosen by where the pointer was last seen on it.
enum class TPointerZone { None, Move, Width, Height, WidthAndHeight };

// The zone at (x, y) of a control of the given kind and size.
TPointerZone ZoneAt(std::string_view kind, int x, int y, int width, int height);
Qt::CursorShape CursorOf(TPointerZone zone);
bool ResizesWidth(TPointerZone zone);
bool ResizesHeight(TPointerZone zone);

// A dragged position lands on the grid point toward zero: -1 to -5 land on 0.
inline int SnapToGrid(int position) {
    return position / kGridPitch * kGridPitch;
}
// The smallest width or height a drag or a key gives a text box.
constexpr int kSmallestSize = 15;
// A dragged edge at pointer offset p gives size max(p, 10) + 5: never below 15.
inline int DraggedSize(int pointer) {
    return (pointer < 10 ? 10 : pointer) + 5;
}

// An arrow key moves a position to the next grid point in its direction (step +1 or -1): one grid
// pitch from a grid point, the nearest grid point from between two.
int StepOnGrid(int position, int step);
// Shift and an arrow key grow or shrink a size by one grid pitch, never below kSmallestSize.
int SteppedSize(int size, int step);
// The bounds an arrow key gives a control of the given kind: moved to the next grid point, or with
// resize its size stepped, on the edges the pointer may drag at its bottom-right corner.
QRect KeyedBounds(std::string_view kind, const QRect& bounds, int key, bool resize);

// The grid points to paint for an exposed rectangle.
std::vector<QPoint> GridPoints(const QRect& exposed);

// The selection frame around a control's bounds, and its eight marks in the frame's coordinates.
QRect SelectBoxRect(const QRect& control);
std::array<QRect, 8> SelectBoxMarks(int width, int height);

} // namespace DesignGeometry
