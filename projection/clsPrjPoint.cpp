#include "clsPrjPoint.h"

#include "ErrorMng.h"
#include "MapProjection.h"
#include "RuntimeMath.h"
#include "basAngle.h"
#include "basGlobe.h"
#include "prjShared.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

using namespace prj;

namespace {

const QString kClass = QStringLiteral("clsPrjPoint");

enum AxisFlag { FlagLon = 1, FlagLat = 2, FlagTurn = 4, FlagTilt = 8 };

// Probes of PointSlant further apart than this fell on either side of a break.
constexpr int64_t kSlantBreak = 148800;

// v + d held within 32 bits.
int32_t shifted(int32_t v, int32_t d) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{v} + d, INT32_MIN, INT32_MAX));
}

} // namespace

const clsPrjPoint::Formula clsPrjPoint::kFormulas[31] = {
    nullptr,
    &clsPrjPoint::LLtoXY01, &clsPrjPoint::LLtoXY02, &clsPrjPoint::LLtoXY03, &clsPrjPoint::LLtoXY04,
    &clsPrjPoint::LLtoXY05, &clsPrjPoint::LLtoXY06, &clsPrjPoint::LLtoXY07, &clsPrjPoint::LLtoXY08,
    &clsPrjPoint::LLtoXY09, &clsPrjPoint::LLtoXY10, &clsPrjPoint::LLtoXY11, &clsPrjPoint::LLtoXY12,
    &clsPrjPoint::LLtoXY13, &clsPrjPoint::LLtoXY14, &clsPrjPoint::LLtoXY15, &clsPrjPoint::LLtoXY16,
    &clsPrjPoint::LLtoXY17, &clsPrjPoint::LLtoXY18, &clsPrjPoint::LLtoXY19, &clsPrjPoint::LLtoXY20,
    &clsPrjPoint::LLtoXY21, &clsPrjPoint::LLtoXY22, &clsPrjPoint::LLtoXY23, &clsPrjPoint::LLtoXY24,
    &clsPrjPoint::LLtoXY25, &clsPrjPoint::LLtoXY26, &clsPrjPoint::LLtoXY27, &clsPrjPoint::LLtoXY28,
    &clsPrjPoint::LLtoXY29, &clsPrjPoint::LLtoXY30,
};

// ---------------------------------------------------------------------------
// Parameters

void clsPrjPoint::setPrjIndex(int16_t index) {
    if (index < PrjIndexMin || index > PrjIndexMax) return;
    index_ = index;
    axisPrepared_ = formulaPrepared_ = false;
}

void clsPrjPoint::setCenterLon(double lon) {
    centerLon_ = NormalizeRadian(lon);
    axisPrepared_ = formulaPrepared_ = false;
}

void clsPrjPoint::setCenterLat(double lat) {
    centerLat_ = ClampD(lat, -kHalfPi, kHalfPi);
    southernCone_ = centerLat_ < 0;
    axisPrepared_ = formulaPrepared_ = false;
}

void clsPrjPoint::setPolerDirection(double angle) {
    polerDirection_ = NormalizeRadian(angle);
    axisPrepared_ = formulaPrepared_ = false;
}

void clsPrjPoint::setLight(double ratio) {
    if (!IsLightRatio(ratio)) return;
    light_ = ratio;
    formulaPrepared_ = false;
}

double clsPrjPoint::Cone() const { return kPi - 2 * z0_; }

void clsPrjPoint::setCone(double apex) {
    const double a = ClampD(apex, 0.5235987755982983, 2.6179938779914917);
    z0_ = (kPi - a) / 2;
    zmax_ = z0_ + 1.0471975511965965;   // 60 degrees beyond the tangent parallel
    axisPrepared_ = formulaPrepared_ = false;
}

void clsPrjPoint::setSecant(double secant) {
    const double half = ClampD(secant, 0, 2.9670597283903573) / 2;
    s_ = (PrjAttribute(index_) & PrjShapeFan) ? ClampD(half, 0, z0_) : half;
    formulaPrepared_ = false;
}

void clsPrjPoint::setDivision(int32_t n) {
    if (n >= 6 && n <= 36) division_ = n;
}

double clsPrjPoint::Height() const {
    const int32_t cone = (324000 - plat::CLng(z0_ / kRadPerSec)) * 2;
    return PrjPlaneRadius(index_, cone, light_) * kRadPerSec;
}

// ---------------------------------------------------------------------------
// Axis rotation

void clsPrjPoint::PrepareAxis() {
    double r1 = -centerLon_, r2 = -centerLat_, r3 = -polerDirection_, t = 0;
    const int32_t a = PrjAttribute(index_);
    if (a & PrjShapeCircle) {
        t = kHalfPi;   // azimuthal: the centre goes to the north pole
    } else if (a & PrjParamCone) {
        t = kHalfPi - z0_;   // conic: the centre goes to the tangent parallel
        if (southernCone_) t = -t;
    } else if ((a & (PrjParamLon | PrjParamRotation | PrjParamSecant)) == 0) {
        r1 = r2 = r3 = 0;   // a fixed aspect (29)
    }
    if (r3 == 0) {
        r2 += t;
        t = 0;
        if (IsNearZero(r2)) r2 = 0;
    }
    axisFlags_ = 0;
    r1_ = r1;
    if (r1 != 0) axisFlags_ |= FlagLon;
    if (r2 != 0) axisFlags_ |= FlagLat;
    if (r3 != 0) axisFlags_ |= FlagTurn;
    if (t != 0) axisFlags_ |= FlagTilt;
    sinR2_ = std::sin(r2);
    cosR2_ = std::cos(r2);
    sinR3_ = std::sin(r3);
    cosR3_ = std::cos(r3);
    sinT_ = std::sin(t);
    cosT_ = std::cos(t);
    axisPrepared_ = true;
}

void clsPrjPoint::Axis(double lon, double lat, double& outLon, double& outLat) {
    try {
        if (!axisPrepared_) PrepareAxis();
        if (axisFlags_ & FlagLon) lon += r1_;
        if (axisFlags_ & (FlagLat | FlagTurn | FlagTilt)) {
            double x, y, z;
            LonLatToVector(lon, lat, x, y, z);
            if (axisFlags_ & FlagLat) {
                const double y1 = y * cosR2_ - z * sinR2_;
                z = y * sinR2_ + z * cosR2_;
                y = y1;
            }
            if (axisFlags_ & FlagTurn) {
                const double x1 = x * cosR3_ - y * sinR3_;
                y = y * cosR3_ + x * sinR3_;
                x = x1;
            }
            if (axisFlags_ & FlagTilt) {
                const double y1 = y * cosT_ - z * sinT_;
                z = y * sinT_ + z * cosT_;
                y = y1;
            }
            VectorToLonLat(x, y, z, lon, lat);
        }
        if (lon > kPi) lon -= kTwoPi;
        else if (lon < -kPi) lon += kTwoPi;
        outLon = lon;
        outLat = lat;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("Axis"));
    }
}

void clsPrjPoint::AxisSec(int32_t lon, int32_t lat, int32_t& outLon, int32_t& outLat) {
    double rl = 0, rp = 0;
    Axis(SecToRadian(lon), SecToRadian(lat), rl, rp);
    outLon = RadianToSec(rl);
    outLat = RadianToSec(rp);
}

// ---------------------------------------------------------------------------
// Formulas

void clsPrjPoint::PrepareFormula() {
    if (index_ <= 7) PrepareAzimuthal();
    else if (index_ >= 21 && index_ <= 26) PrepareConic();
    else PrepareCylindrical();
    formulaPrepared_ = true;
}

void clsPrjPoint::LLtoXY(double lon, double lat, double& x, double& y, bool& ok) {
    try {
        if (!formulaPrepared_) PrepareFormula();
        ok = std::isfinite(lon) && std::isfinite(lat) && (this->*kFormulas[index_])(lon, lat, x, y);
        if (!ok) x = y = 0;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("LLtoXY"));
    }
}

void clsPrjPoint::LLtoXYsec(int32_t lon, int32_t lat, int32_t& x, int32_t& y, bool& ok) {
    double px = 0, py = 0;
    LLtoXY(SecToRadian(lon), SecToRadian(lat), px, py, ok);
    const double mx = plat::RoundHalfEven(GlobeRadius * px);
    const double my = plat::RoundHalfEven(GlobeRadius * py);
    // A point beyond the 32-bit plane (or not a number) is no point on it.
    if (ok && std::fabs(mx) <= 2147483647.0 && std::fabs(my) <= 2147483647.0) {
        x = static_cast<int32_t>(mx);
        y = static_cast<int32_t>(my);
    } else {
        ok = false;
        x = y = 0;
    }
}

// ---------------------------------------------------------------------------
// Local slant

bool clsPrjPoint::Probe(int32_t lon, int32_t lat, int64_t& x, int64_t& y) {
    int32_t al = 0, ap = 0, px = 0, py = 0;
    bool ok = false;
    AxisSec(lon, lat, al, ap);
    LLtoXYsec(al, ap, px, py, ok);
    x = px;
    y = py;
    return ok;
}

void clsPrjPoint::PointSlant(int32_t lon, int32_t lat, int32_t& slant) {
    try {
        slant = 0;
        int64_t x1, y1, x2, y2;
        // Along the meridian: its tilt from the vertical.
        if (!Probe(lon, std::max(shifted(lat, -120), -323970), x1, y1)) return;
        if (!Probe(lon, std::min(shifted(lat, 120), 323970), x2, y2)) return;
        int64_t dx = x2 - x1, dy = y2 - y1;
        if (std::max(std::llabs(dx), std::llabs(dy)) > kSlantBreak) return;
        int64_t s1 = 324000 - RadianToSec(AnglePosToRadian(static_cast<double>(dx), static_cast<double>(dy)));
        if (s1 > 648000) s1 -= 1296000;
        // Along the parallel: its tilt from the horizontal.
        if (!Probe(shifted(lon, -120), lat, x1, y1)) return;
        if (!Probe(shifted(lon, 120), lat, x2, y2)) return;
        dx = x2 - x1;
        dy = y2 - y1;
        if (std::max(std::llabs(dx), std::llabs(dy)) > kSlantBreak) return;
        const int64_t s2 = -RadianToSec(AnglePosToRadian(static_cast<double>(dx), static_cast<double>(dy)));
        int64_t s = (s1 + s2) / 2;
        if (s < -648000) s += 1296000;
        else if (s > 648000) s -= 1296000;
        slant = static_cast<int32_t>(s);
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("PointSlant"));
    }
}
