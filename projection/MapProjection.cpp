#include "MapProjection.h"

#include "AppState.h"
#include "ErrorMng.h"
#include "RuntimeMath.h"
#include "basGlobe.h"
#include "basLibrary.h"
#include "basNumberText.h"
#include "clsEnvironment.h"

#include <algorithm>
#include <cmath>

namespace {

const QString kModule = QStringLiteral("MapProjection");

constexpr int32_t kMasks[PrjIndexMax + 1] = {
    0,
    0x04180107, 0x0E0C0107, 0x04080127, 0x04080127, 0x04080107,   // 1-5 azimuthal
    0x0F090107, 0x0F0A0107,                                       // 6-7
    0x1B420807, 0x1B400807,                                       // 8-9 Hammer, Aitoff
    0x10200207, 0x1F600207, 0x1B210217, 0x1A240207, 0x1B600207,   // 10-14 cylinders
    0x1B220217, 0x1B231007,                                       // 15-16
    0x1B620807, 0x1F624007, 0x1F624007, 0x1F424007,               // 17-20
    0x0E00041F, 0x0E41040F, 0x0A41041F, 0x0A42041F, 0x0E44041F,   // 21-25 cones
    0x0A03900F, 0x13018007, 0x1F412047, 0x1F622000, 0x1F404007,   // 26-30
};

bool isPrjIndex(int16_t index) { return index >= PrjIndexMin && index <= PrjIndexMax; }

clsPoly line2(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    clsPoly p;
    p.AddXandY(x1, y1);
    p.AddXandY(x2, y2);
    return p;
}

} // namespace

QString PrjNameOf(int16_t index) {
    if (!isPrjIndex(index)) return QString();
    const QString def = QStringLiteral("--- 未定義 ---");
    const QString key = QStringLiteral("PrjName%1").arg(index, 2, 10, QLatin1Char('0'));
    return gvEnvironment ? gvEnvironment->GetString(key, def) : def;
}

int16_t PrjIndexOf(const QString& name) {
    for (int16_t i = PrjIndexMin; i <= PrjIndexMax; ++i)
        if (PrjNameOf(i) == name) return i;
    return -1;
}

int32_t PrjAttribute(int16_t index) { return isPrjIndex(index) ? kMasks[index] : 0; }

std::vector<int16_t> PrjListByCondition(int32_t condition) {
    uint32_t m = static_cast<uint32_t>(condition);
    if ((m & 0xFF000000u) == 0) m |= 0xFF000000u;   // no area asked: any area
    if ((m & 0x0000FF00u) == 0) m |= 0x0000FF00u;   // no shape asked: any shape
    std::vector<int16_t> list;
    for (int16_t i = PrjIndexMin; i <= PrjIndexMax; ++i) {
        const uint32_t t = static_cast<uint32_t>(kMasks[i]) & m;
        const uint32_t missing = t ^ m;
        if ((t & 0xFF000000u) != 0 && (t & 0x0000FF00u) != 0 && (missing & 0x00FF00FFu) == 0) list.push_back(i);
    }
    return list;
}

int32_t PrjHelpID(int16_t index) {
    if (index >= 1 && index <= 9) return 341000 + index;
    if (index >= 10 && index <= 20) return 341991 + index;
    if (index >= 21 && index <= 28) return 342980 + index;
    if (index >= 29 && index <= 30) return 343972 + index;
    return -1;
}

int32_t PrjPlaneRadius(int16_t index, int32_t cone, double light) {
    try {
        int32_t e = 648000;
        switch (index) {
        case 1: case 10: e = 432000; break;
        case 3: case 4:
            e = 0;
            if (light != 0) {
                // The cap seen from the light source spans 2 arccos(1/L).
                const double a = ArcCos(1 / light);
                const double span = index == 3 ? 2 * a : 6.28318530717958 - 2 * a;
                e = plat::CLng(span / 4.848136811095355e-6) - 15;
            }
            break;
        case 6: case 7: e = 1281600; break;
        case 13: e = 612000; break;
        case 21: case 22: case 23: case 24: case 25:
            e = 540000 - cone / 2;
            break;
        default:
            if (!isPrjIndex(index)) return -1;
        }
        if (index >= 1 && index <= 7) {
            const double half = e / 2;
            const double v = gvEnvironment ? gvEnvironment->GetVal(QStringLiteral("MainPrjPlaneRadius"), half, 0, half)
                                           : half;
            e = plat::CLng(2 * v);
        }
        return e;
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("PrjPlaneRadius"));
    }
}

bool PrjLatLimit(int16_t index, int32_t centerLat, int32_t cone, double light, int32_t& north, int32_t& south) {
    const int32_t e = PrjPlaneRadius(index, cone, light);
    const int32_t h = e / 2;
    if (index >= 1 && index <= 7) {
        north = 324000;
        south = 324000 - h;
    } else if (index >= 21 && index <= 25) {
        if (centerLat < 0) {
            north = e - 324000;
            south = -324000;
        } else {
            north = 324000;
            south = 324000 - e;
        }
    } else {
        north = h;
        south = -h;
    }
    return true;
}

PolyCollection PrjShadowPolys(int16_t index, int32_t centerLat, int32_t cone, double light, int16_t division) {
    PolyCollection out;
    if (!isPrjIndex(index)) return out;
    int32_t north = 0, south = 0;
    PrjLatLimit(index, centerLat, cone, light, north, south);
    const int32_t n = Clamp(north - 5, -323970, 323970);
    const int32_t s = Clamp(south + 5, -323970, 323970);
    constexpr int32_t w = 647995;   // just inside the date line
    switch (index) {
    case 1: case 2: case 3: case 4: case 5: case 6: case 7:
        out.push_back(line2(-w, s, w, s));
        break;
    case 10: case 11: case 12: case 13: case 14: case 15:
    case 18: case 19: case 20: case 21: case 22: case 23: case 24: case 25: case 30: {
        clsPoly p;
        p.SetRect(-w, s, w, n);   // (-w, s) (w, s) (w, n) (-w, n) (-w, s)
        out.push_back(std::move(p));
        break;
    }
    case 8: case 9: case 16: case 17: case 26: case 27:
        out.push_back(line2(-w, s, -w, n));
        out.push_back(line2(w, s, w, n));
        break;
    case 28:
        if (division >= 6 && division <= 36) {
            const int32_t d = 648000 / division - 5;
            for (int32_t k = 1; k <= division; ++k) {
                const int32_t c = (k * 1296000 - 648000) / division - 648000;
                out.push_back(line2(c - d, -323970, c - d, 323970));
                out.push_back(line2(c + d, -323970, c + d, 323970));
            }
        }
        break;
    case 29: {
        // The outer meridians and both edges of every interruption, 10
        // arc-seconds apart: -144000 in the north; -360000, -72000 and
        // 288000 in the south.
        static constexpr int32_t kLines[10][3] = {
            {-w, -323970, 323970},    {-360005, -323970, 0}, {-359995, -323970, 0}, {-144005, 0, 323970},
            {-143995, 0, 323970},     {-72005, -323970, 0},  {-71995, -323970, 0},  {287995, -323970, 0},
            {288005, -323970, 0},     {w, -323970, 323970},
        };
        for (const auto& l : kLines) out.push_back(line2(l[0], l[1], l[0], l[2]));
        break;
    }
    default:
        break;
    }
    return out;
}

std::vector<int32_t> PrjSplitLons(int16_t index, int32_t division) {
    std::vector<int32_t> out;
    if (index == 28 && division >= 1 && division <= 1296000) {
        out.reserve(static_cast<size_t>(division) + 1);
        for (int64_t k = 0; k <= division; ++k) out.push_back(static_cast<int32_t>(k * 1296000 / division - 648000));
    } else if (index == 29) {
        out = {-360000, -144000, -72000, 288000};
    }
    return out;
}

int32_t PrjMaxSecant(int16_t index, int32_t cone) {
    switch (index) {
    case 12: case 15: return 612000;
    case 21: case 23: case 24: case 25:
        return static_cast<int32_t>(std::clamp<int64_t>(640800 - static_cast<int64_t>(cone), 0, 612000));
    default: return 0;
    }
}

std::vector<double> LightHeightTable() {
    static constexpr double kMantissas[40] = {
        1.0, 1.1, 1.2, 1.3, 1.4, 1.5, 1.6, 1.7, 1.8, 1.9, 2.0, 2.1, 2.2, 2.3,  2.4, 2.5, 2.6, 2.7, 2.8, 2.9,
        3.0, 3.2, 3.4, 3.6, 3.8, 4.0, 4.2, 4.4, 4.6, 4.8, 5.0, 5.25, 5.5, 5.75, 6.0, 6.5, 7.0, 7.5, 8.0, 9.0,
    };
    const double lo = LightRatioMin() - GlobeRadius;
    const double hi = LightRatioMax() - GlobeRadius;
    // The first decade not below a height; the globe radius is bounded, so
    // the search ends within a few steps.
    auto decadeOf = [](double v) {
        int e = 0;
        while (e < 300 && std::pow(10.0, e) < v) ++e;
        return e;
    };
    const int p = decadeOf(lo);
    const int q = decadeOf(hi) - 1;
    std::vector<double> out;
    for (int e = p; e < q; ++e)
        for (double m : kMantissas) out.push_back(std::floor(m * std::pow(10.0, e) + 0.5));
    out.push_back(std::floor(std::pow(10.0, q) + 0.5));
    return out;
}
