// Where the main window and the dialogs go on the screens. The frame is the
// client area with the window manager's decorations (title bar, borders)
// around it; every rectangle is in screen pixels, the screens' rectangles are
// their available areas (without panels and docks).
//
// The client is at least `minimum` and, as long as that minimum allows, no
// larger than its screen's available area less the decorations, so that the
// whole frame, the title bar above and the status bar at the bottom of the
// client included, fits on one screen. The frame's corner stays where it was
// asked when the frame then lies wholly on the screens. Otherwise the frame
// is moved onto the screen it overlaps most (the nearest when it overlaps
// none); when it is larger than that screen, its left and top edges win, so
// that the title bar stays in reach.
//
// No screens: the corner stays and only the minimum applies.
#pragma once

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

struct WindowPlacement {
    QPoint corner;   // the frame's top-left
    QSize client;
    bool operator==(const WindowPlacement&) const = default;
};

WindowPlacement PlaceWindow(const QList<QRect>& screens, const QMargins& decorations, QPoint corner, QSize client,
                            QSize minimum);

// A dialog's frame corner: the remembered corner, or, without one, centred
// over the owner's frame (over the first screen when the owner is an empty
// rectangle); then kept on the screens as PlaceWindow keeps a frame. The
// dialog keeps its size.
QPoint PlaceDialog(const QList<QRect>& screens, const QMargins& decorations, std::optional<QPoint> remembered,
                   const QRect& ownerFrame, QSize client);
