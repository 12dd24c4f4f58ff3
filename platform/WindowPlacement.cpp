#include "WindowPlacement.h"

#include <QRegion>

#include <algorithm>
#include <limits>

namespace {

QRect frameOf(QPoint corner, QSize client, const QMargins& decorations) {
    return QRect(corner, client.grownBy(decorations));
}

// Squared distance from a point to a rectangle (0 inside).
long long distance2(QPoint p, const QRect& r) {
    const long long dx = p.x() < r.left() ? r.left() - p.x() : p.x() > r.right() ? p.x() - r.right() : 0;
    const long long dy = p.y() < r.top() ? r.top() - p.y() : p.y() > r.bottom() ? p.y() - r.bottom() : 0;
    return dx * dx + dy * dy;
}

const QRect& screenFor(const QList<QRect>& screens, const QRect& frame) {
    const QRect* best = &screens.front();
    long long bestArea = -1;
    for (const QRect& s : screens) {
        const QRect common = s.intersected(frame);
        const long long area = common.isEmpty() ? 0 : 1LL * common.width() * common.height();
        if (area > bestArea) best = &s, bestArea = area;
    }
    if (bestArea > 0) return *best;
    long long nearest = std::numeric_limits<long long>::max();
    for (const QRect& s : screens)
        if (const long long d = distance2(frame.center(), s); d < nearest) best = &s, nearest = d;
    return *best;
}

// The edge of a span of `length` put inside [lo, lo + room); lo wins when
// the span is longer than the room.
int inside(int edge, int length, int lo, int room) { return std::max(lo, std::min(edge, lo + room - length)); }

} // namespace

WindowPlacement PlaceWindow(const QList<QRect>& screens, const QMargins& decorations, QPoint corner, QSize client,
                            QSize minimum) {
    client = client.expandedTo(minimum);
    if (screens.isEmpty()) return {corner, client};
    const QRect screen = screenFor(screens, frameOf(corner, client, decorations));
    const QSize room = screen.size().shrunkBy(decorations);
    client = client.boundedTo(room).expandedTo(minimum);

    const QRect frame = frameOf(corner, client, decorations);
    QRegion on;
    for (const QRect& s : screens) on += s;
    if (QRegion(frame).subtracted(on).isEmpty()) return {corner, client};
    return {QPoint(inside(frame.left(), frame.width(), screen.left(), screen.width()),
                   inside(frame.top(), frame.height(), screen.top(), screen.height())),
            client};
}

QPoint PlaceDialog(const QList<QRect>& screens, const QMargins& decorations, std::optional<QPoint> remembered,
                   const QRect& ownerFrame, QSize client) {
    QPoint corner;
    if (remembered) {
        corner = *remembered;
    } else {
        const QRect over = !ownerFrame.isEmpty() || screens.isEmpty() ? ownerFrame : screens.front();
        const QSize frame = client.grownBy(decorations);
        corner = over.topLeft() + QPoint((over.width() - frame.width()) / 2, (over.height() - frame.height()) / 2);
    }
    return PlaceWindow(screens, decorations, corner, client, client).corner;
}
