// Geometry of the four small diagrams of the projection-surface page: the
// meridian rotation, the cone, the secant and the light source. Each takes
// the fixed parts of its picture (placed by the window) and the value, and
// answers where the moving parts go. Pixels, y down; every result rounded
// to whole pixels (half to even); t is one pixel, the extra width a drawn
// outline takes.
#pragma once

#include <QLine>
#include <QPoint>
#include <QRect>

#include <cstdint>

struct PolerDiagram {
    QPoint north;      // centre of the "N" mark, 0.7077 W from the globe's centre
    QLine meridian;    // the turned meridian, 0.55385 W each side of the centre
    QLine equator;     // at right angles to it
};
// `earth`: the globe's square (width W). Rotation 0 puts north straight up;
// a positive rotation turns it clockwise.
PolerDiagram DrawPoler(const QRect& earth, int32_t rotation);

struct ConeDiagram {
    QLine side[2];     // from the apex down to the base, left and right
    QRect base;        // the base ellipse's box
    QRect earth;       // the globe in the cone
};
// The cone hangs from `apex` on a vertical axis; its sides are 0.59 times
// the picture's width long and open by the apex angle (arc-seconds).
ConeDiagram DrawCone(QPoint apex, int pictureWidth, int32_t cone);

struct SecantDiagram {
    QLine plane;       // vertical, the full picture height
    QLine radius[2];   // from the centre to where the plane cuts the globe, upper and lower
};
// `centre`: the globe's centre; radii of 0.531 times the picture's width
// open by the secant spacing (arc-seconds); a spacing of 0 makes the plane
// a tangent.
SecantDiagram DrawSecant(QPoint centre, int pictureWidth, int pictureHeight, int32_t secant);

struct LightDiagram {
    QLine beam;        // from the ground point to the light
    QPoint light;      // centre of the light mark
    QRect earth;       // the globe, its right edge at the ground point
    QLine vertical;    // the globe's vertical diameter
    QLine horizontal;  // from the globe's left edge to the ground point
};
// `ground`: the fixed start of the beam. The beam is the light's slider
// position times 0.702 picture widths over `upperIndex`; the globe is drawn
// at the scale that makes that length the height (metres above ground), at
// least 4 pixels in radius.
LightDiagram DrawLight(QPoint ground, int pictureWidth, int sliderPos, int upperIndex, double height);
