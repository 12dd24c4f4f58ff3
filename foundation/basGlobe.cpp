#include "basGlobe.h"

#include "AppState.h"
#include "RuntimeMath.h"
#include "basNumberText.h"
#include "clsEnvironment.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979;

struct Globe {
    double radius = 0;
    double circumference = 0;
    double meterPerSec = 0;
    int32_t maxXY = 0;
    double scaleMin = 0;
    double scaleMax = 0;
};

Globe globeOf(double radius) {
    Globe g;
    g.radius = radius;
    g.circumference = (radius + radius) * kPi;
    g.meterPerSec = g.circumference / 1296000;
    double c = g.circumference;
    if (c > 2147483647.0) c = 2147483647.0;
    if (c < -2147483647.0) c = -2147483647.0;
    g.maxXY = static_cast<int32_t>(plat::RoundHalfEven(c));
    double r = radius;
    double m = 1;
    while (r > 100) {
        r /= 10;
        m = std::floor(m * 10);
    }
    g.scaleMin = m;
    g.scaleMax = std::floor(m * 10000);
    return g;
}

Globe globe = globeOf(kDefaultGlobeRadius);

constexpr double kSteps53[13] = {1000, 800, 700, 600, 500, 400, 350, 300, 250, 200, 170, 150, 120};
constexpr double kSteps41[10] = {1000, 800, 600, 500, 400, 300, 250, 200, 150, 120};

// Mantissa times a power of ten; a negative power divides, which keeps the
// small denominators of a small globe exact.
double scaled(double mantissa, int exponent) {
    return exponent >= 0 ? mantissa * std::pow(10.0, exponent) : mantissa / std::pow(10.0, -exponent);
}

double scaleOf(int16_t level, const double* steps, int perDecade, int levels) {
    if (level < 1 || level > levels) return 0;
    const int e = static_cast<int>(plat::RoundHalfEven(std::log10(MapScaleMax / 1000)));
    return scaled(steps[(level - 1) % perDecade], e - (level - 1) / perDecade);
}

} // namespace

const double& GlobeRadius = globe.radius;
const double& GlobeCircumference = globe.circumference;
const double& MeterPerSec = globe.meterPerSec;
const int32_t& MaxXY = globe.maxXY;
const double& MapScaleMin = globe.scaleMin;
const double& MapScaleMax = globe.scaleMax;

void InitGlobe() {
    double radius = 0;
    try {
        const QString def = plat::FormatShortest(kDefaultGlobeRadius);
        const QString text = gvEnvironment ? gvEnvironment->GetString(QStringLiteral("GlobeRadius"), def) : def;
        radius = StrToMeter(text, QStringLiteral("m"));
    } catch (...) {
        radius = 0;
    }
    if (!(radius >= 10000 && radius <= 53 * kDefaultGlobeRadius)) radius = kDefaultGlobeRadius;
    globe = globeOf(radius);
}

double LightRatioMin() { return GlobeRadius * 1.005; }
double LightRatioMax() { return GlobeRadius * 201; }
bool IsLightRatio(double r) { return 1.005 <= r && r <= 201; }

double LimitLightRatio(double r) {
    if (r < 1.005) return 1.005;
    if (r > 201) return 201;
    return r;
}

double LightRatioToHeight(double r) { return std::floor((r - 1) * GlobeRadius + 0.5); }
double LightHeightToRatio(double h) { return h / GlobeRadius + 1; }

bool IsMapScale(double s) { return MapScaleMin <= s && s <= MapScaleMax; }

double LimitMapScale(double s) {
    if (s > MapScaleMax) s = MapScaleMax;
    if (s < MapScaleMin) s = MapScaleMin;
    return s;
}

double ScaleOfLevel(int16_t level) { return scaleOf(level, kSteps53, 13, 53); }

double ScaleOfLevel10(int16_t level) { return scaleOf(level, kSteps41, 10, 41); }

int16_t LevelOfScale(double s) {
    if (!IsMapScale(s)) return 0;
    for (int16_t level = 53; level >= 1; --level)
        if (ScaleOfLevel(level) >= s) return level;
    return 0;
}

QString ScaleLevelText(int16_t level) { return DoubleToJpUnits(ScaleOfLevel(level), true); }
