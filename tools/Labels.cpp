#include "Labels.h"

#include "Fonts.h"
#include "basGlobe.h"

#include <QFont>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace worldsrc {

namespace {

constexpr double Dpi = 96;
constexpr double MetresPerDot = 0.0254 / Dpi;  // on paper
constexpr int16_t Levels = 53;

// Room around each box for the halo and for the width of the font the
// view finds.
constexpr double WidthRoom = 1.1;
constexpr double EdgeRoom = 3;

// Distances taken shorter than in the plane of longitude and latitude, as a
// projection shows them far from the view's centre: the more of the globe a
// view holds, the more its projection squeezes its edges (a world view
// from 1:100 000 000 on draws the globe in a cone).
double Shrink(double scale) { return scale >= 100000000 ? 0.4 : scale >= 30000000 ? 0.7 : 0.92; }

struct Box {
    double left, right, top, bottom;  // pixels from the point at scale 1
};

Box BoxOf(const LabelSpot& s) {
    const double w = s.width * WidthRoom + 2 * EdgeRoom, h = s.height + 2 * EdgeRoom;
    // The plot leaves a gap of about 0.6 text heights between point and name.
    const double gap = 0.6 * s.height + 1;
    if (s.right) return {gap - EdgeRoom, gap - EdgeRoom + w, -h / 2, h / 2};
    return {-w / 2, w / 2, -h / 2, h / 2};
}

// Ground metres east and north from a to b, across 180° the short way.
void Offset(SecPoint a, SecPoint b, double& east, double& north) {
    double dlon = double(b.lon) - a.lon;
    if (dlon > MaxLonSec) dlon -= 2.0 * MaxLonSec;
    if (dlon < -MaxLonSec) dlon += 2.0 * MaxLonSec;
    const double lat = (double(a.lat) + b.lat) / 2 / SecPerDegree * std::numbers::pi / 180;
    east = dlon * MeterPerSec * std::cos(lat);
    north = (double(b.lat) - a.lat) * MeterPerSec;
}

bool Overlap(const LabelSpot& a, const Box& ba, const LabelSpot& b, const Box& bb, double scale) {
    double east = 0, north = 0;
    Offset(a.at, b.at, east, north);
    const double dots = Shrink(scale) / (scale * MetresPerDot);
    const double dx = east * dots, dy = -north * dots;
    return ba.left < bb.right + dx && bb.left + dx < ba.right && ba.top < bb.bottom + dy && bb.top + dy < ba.bottom;
}

} // namespace

LabelSpot NameBox(const QString& european, const QString& japanese, int points, bool right) {
    plat::InstallFontSubstitutions();
    QFont font(plat::ResolveFontFamily(QStringLiteral("ＭＳ Ｐゴシック")));
    font.setPixelSize(int(std::lround(points * Dpi / 72)));
    const QFontMetricsF m(font);
    LabelSpot s;
    s.width = std::max(m.horizontalAdvance(european), m.horizontalAdvance(japanese));
    s.height = m.height();
    s.right = right;
    return s;
}

bool Overlaps(const LabelSpot& a, const LabelSpot& b, double scale) {
    return Overlap(a, BoxOf(a), b, BoxOf(b), scale);
}

std::vector<int16_t> ClearLevels(const std::vector<LabelSpot>& spots, int16_t last) {
    std::vector<Box> boxes;
    boxes.reserve(spots.size());
    for (const LabelSpot& s : spots) boxes.push_back(BoxOf(s));
    std::vector<int16_t> from(spots.size(), 0);
    for (size_t i = 0; i < spots.size(); ++i) {
        for (int16_t level = last; level >= std::max<int16_t>(1, spots[i].from); --level) {
            const double scale = ScaleOfLevel(level);
            bool clear = true;
            for (size_t j = 0; j < i && clear; ++j)
                clear = from[j] == 0 || from[j] > level || !Overlap(spots[i], boxes[i], spots[j], boxes[j], scale);
            if (!clear) break;
            from[i] = level;
        }
    }
    return from;
}

int16_t LevelFrom(double scale) {
    for (int16_t level = 1; level <= Levels; ++level)
        if (ScaleOfLevel(level) <= scale * (1 + 1e-9)) return level;
    return Levels;
}

} // namespace worldsrc
