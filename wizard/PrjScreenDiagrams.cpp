#include "PrjScreenDiagrams.h"

#include <algorithm>
#include <cmath>

#include "basAngle.h"
#include "basGlobe.h"

namespace {

constexpr int kT = 1;   // one pixel: the extra an outline takes

int R(double v) { return static_cast<int>(std::nearbyint(v)); }

} // namespace

PolerDiagram DrawPoler(const QRect& earth, int32_t rotation) {
    const int w = earth.width();
    const int cx = earth.left() + (w - kT) / 2;
    const int cy = earth.top() + (earth.height() - kT) / 2;
    const double a = SecToRadian(rotation);
    const double sa = std::sin(a), ca = std::cos(a);
    const double n = 0.7077 * w, r = 0.55385 * w;
    PolerDiagram d;
    d.north = QPoint(R(cx + n * sa), R(cy - n * ca));
    d.meridian = QLine(R(cx + r * sa), R(cy - r * ca), R(cx - r * sa), R(cy + r * ca));
    d.equator = QLine(R(cx - r * ca), R(cy - r * sa), R(cx + r * ca), R(cy + r * sa));
    return d;
}

ConeDiagram DrawCone(QPoint apex, int pictureWidth, int32_t cone) {
    const double a = SecToRadian(cone / 2);
    const double r = 0.59 * pictureWidth;
    const int s = R(r * std::sin(a)), c = R(r * std::cos(a));
    const int ax = apex.x(), baseY = apex.y() + c;
    ConeDiagram d;
    d.side[0] = QLine(apex, QPoint(ax - s, baseY));
    d.side[1] = QLine(apex, QPoint(ax + s, baseY));
    d.base = QRect(ax - s, baseY - s / 4, 2 * s + kT, s / 2 + kT);
    const int diameter = (4 * s) / 3 + kT;
    d.earth = QRect(ax - (2 * s) / 3, baseY - s / 6, diameter, diameter);
    return d;
}

SecantDiagram DrawSecant(QPoint centre, int pictureWidth, int pictureHeight, int32_t secant) {
    const double a = SecToRadian(secant / 2);
    const double r = 0.531 * pictureWidth;
    const int x = R(centre.x() + r * std::cos(a));
    const int dy = R(r * std::sin(a));
    SecantDiagram d;
    d.plane = QLine(x, 0, x, pictureHeight - 1);
    d.radius[0] = QLine(centre, QPoint(x, centre.y() - dy));
    d.radius[1] = QLine(centre, QPoint(x, centre.y() + dy));
    return d;
}

LightDiagram DrawLight(QPoint ground, int pictureWidth, int sliderPos, int upperIndex, double height) {
    const double step = upperIndex > 0 ? 0.702 * pictureWidth / upperIndex : 0;
    const double dist = sliderPos * step;
    const int x0 = ground.x(), y0 = ground.y();
    const int d = R(dist);
    const int r = std::max(height > 0 ? R(GlobeRadius * dist / height) : 0, 4 * kT);
    LightDiagram g;
    g.beam = QLine(x0, y0, x0 + d, y0);
    g.light = QPoint(x0 + d, y0);
    g.earth = QRect(x0 - 2 * r, y0 - r, 2 * r + kT, 2 * r + kT);
    g.vertical = QLine(x0 - r, y0 - r, x0 - r, y0 + r);
    g.horizontal = QLine(x0 - 2 * r, y0, x0, y0);
    return g;
}
