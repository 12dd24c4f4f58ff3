#include "basColorLib.h"

#include "RuntimeMath.h"

#include <algorithm>
#include <cmath>

namespace {

double limit01(double x) {
    if (!(x > 0)) return 0;   // NaN too
    return x > 1 ? 1 : x;
}

int32_t toByte(double fraction) {
    const double v = plat::RoundHalfEven(fraction * 256);
    if (!(v > 0)) return 0;
    return v > 255 ? 255 : static_cast<int32_t>(v);
}

} // namespace

QString ColorToHex(int32_t color) {
    if (static_cast<uint32_t>(color) & 0xFF000000u) return QStringLiteral("------");
    return QStringLiteral("%1").arg(color, 6, 16, QLatin1Char('0')).toUpper();
}

int32_t RedOf(int32_t color) { return color & 0xFF; }
int32_t GreenOf(int32_t color) { return (color >> 8) & 0xFF; }
int32_t BlueOf(int32_t color) { return (color >> 16) & 0xFF; }

RGBRecord ColorToRgb(int32_t color) {
    return {RedOf(color) / 256.0, GreenOf(color) / 256.0, BlueOf(color) / 256.0};
}

int32_t RgbToColor(const RGBRecord& rgb) {
    return toByte(rgb.R) | toByte(rgb.G) << 8 | toByte(rgb.B) << 16;
}

HSVRecord RGBtoHSV(const RGBRecord& rgb) {
    double r = rgb.R, g = rgb.G, b = rgb.B;
    r = limit01(r);
    g = limit01(g);
    b = limit01(b);
    const double mx = std::max({r, g, b});
    const double mn = std::min({r, g, b});
    HSVRecord out;
    out.V = mx;
    if (mx == 0 || mx == mn) return out;
    const double d = mx - mn;
    out.S = d / mx;
    if (mx == r) out.H = (g - b) * 60 / d;
    else if (mx == g) out.H = (b - r) * 60 / d + 120;
    else out.H = (r - g) * 60 / d + 240;
    if (out.H < 0) out.H += 360;
    if (out.H >= 360) out.H -= 360;
    return out;
}


RGBRecord HSVtoRGB(const HSVRecord& hsv) {
    double h = hsv.H, s = hsv.S, v = hsv.V;
    // Any hue, not only one turn off: a hue from arithmetic may be several
    // turns away, and every turn must land on a sextant.
    if (!std::isfinite(h)) h = 0;
    if (h < 0 || h >= 360) {
        h = std::fmod(h, 360.0);
        if (h < 0) h += 360;
        if (h >= 360) h -= 360;
    }
    s = limit01(s);
    v = limit01(v);
    if (s == 0) return {v, v, v};
    const int i = std::min(static_cast<int>(std::floor(h / 60)), 5);
    const double f = h / 60 - i;
    const double p = (1 - s) * v;
    const double q = (1 - f * s) * v;
    const double t = (1 - (1 - f) * s) * v;
    switch (i) {
    case 0: return {v, t, p};
    case 1: return {q, v, p};
    case 2: return {p, v, t};
    case 3: return {p, q, v};
    case 4: return {t, p, v};
    default: return {v, p, q};
    }
}
