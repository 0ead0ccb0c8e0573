// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>

#include <string_view>

class QWidget;
class TPaintBox;

// The pointer's drags of the design surface's elements. Hovering shows in the cursor what a press
// at that spot of an element would do (its pointer zone); a press there then either moves the
// element, an outline following the pointer from grid point to grid point and the element going
// to it at the release, or resizes its width, its height or both, the element following at once.
class TElementDrag {
public:
    explicit TElementDrag(QWidget* surface);

    // Notes the zone of control (of the given kind) under point, in the surface's coordinates, and
    // shows it in the surface's cursor.
    void TrackZone(QWidget* control, std::string_view kind, const QPoint& point);
    // A control made anew for the same element keeps the zone its predecessor had.
    static void CarryZone(const QWidget* from, QWidget* to);

    // Starts the drag that the zone last seen on control calls for; point is in control's
    // coordinates, as for Follow.
    void Start(QWidget* control, const QPoint& point);
    // Follows the pointer; true while a drag is under way.
    bool Follow(QWidget* control, const QPoint& point);
    // Ends the drag, a moved control going where its outline is; true when there was a drag.
    bool Finish(QWidget* control);
    // Drops the drag, as when the surface's controls go.
    void Cancel();

private:
    QWidget* FSurface;
    TPaintBox* FOutline;
    // The drag chosen at the start; all off outside a drag.
    bool FResizingWidth = false;
    bool FResizingHeight = false;
    bool FMoving = false;
    // Element corner minus pointer, taken at the start.
    QPoint FOffset;
};
