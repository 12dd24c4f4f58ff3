#include "clsGrid.h"

#include "AppState.h"
#include "ErrorMng.h"
#include "basAngle.h"
#include "basGlobe.h"
#include "basLibrary.h"
#include "clsEnvironment.h"
#include "clsRegistry.h"

#include <algorithm>

namespace {

const QString kClass = QStringLiteral("clsGrid");

constexpr int32_t kDefaultAxialTilt = 84360;   // 23 deg 26 min
constexpr int32_t kQuarterTurn = 324000;
constexpr int32_t kTurn = 1296000;
constexpr int32_t kLatLimit = 323970;          // generated latitudes stop short of the poles
constexpr int32_t kLLInterval = 54000;         // 15 degrees
constexpr int32_t kLLLimit = 270000;           // 75 degrees

// Stored numbers are limited by the setters; this only keeps a huge one
// from wrapping on its way there.
int32_t toLong(long long v) {
    return static_cast<int32_t>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

} // namespace

clsGrid::clsGrid() {
    setUnitMode(1);
    if (gvEnvironment) {
        axialTilt_ = static_cast<int32_t>(
            gvEnvironment->GetVal(QStringLiteral("AxialTilt"), kDefaultAxialTilt, -kQuarterTurn, kQuarterTurn));
    }
}

QString clsGrid::RegistrySection() const {
    if (!name_.isEmpty()) return name_;
    return unitMode_ == 2 ? QStringLiteral("XYGRID") : QStringLiteral("LLGRID");
}

void clsGrid::setUnitMode(int32_t mode) {
    if (mode == 1) {
        unitMode_ = 1;
        width_ = height_ = kLLInterval;
        northLimit_ = kLLLimit;
        southLimit_ = -kLLLimit;
        area_.SetAll(-kTurn / 2, -kQuarterTurn, kTurn / 2, kQuarterTurn);
    } else if (mode == 2) {
        unitMode_ = 2;
        width_ = height_ = MaxXY / 20;
        northLimit_ = MaxXY;
        southLimit_ = -MaxXY;
        area_.SetAll(-MaxXY, -MaxXY, MaxXY, MaxXY);
    }
}

int32_t clsGrid::limitInterval(int32_t v) const {
    if (unitMode_ == 2) return Clamp(v, MaxXY / 40000, MaxXY / 4);
    return Clamp(v, 60, kQuarterTurn);
}

int32_t clsGrid::limitLat(int32_t v) const {
    if (unitMode_ == 2) return Clamp(v, -MaxXY, MaxXY);
    return Clamp(v, -kLatLimit, kLatLimit);
}

int32_t clsGrid::limitLon(int32_t v) const {
    if (unitMode_ == 2) return Clamp(v, -MaxXY, MaxXY);
    return NormalizeLon(v);
}

void clsGrid::setArea(const clsRect& r) {
    setWest(r.x1);
    setEast(r.x2);
    setSouth(r.y1);
    setNorth(r.y2);
}

clsGrid clsGrid::Copy() const {
    try {
        clsGrid g;
        g.setUnitMode(unitMode_);
        g.setName(name_);
        g.Vertical = Vertical;
        g.Horizontal = Horizontal;
        g.Zone = Zone;
        g.setWidth(width_);
        g.setHeight(height_);
        g.setNorthLimit(northLimit_);
        g.setSouthLimit(southLimit_);
        g.setArea(area_);
        return g;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("Copy"));
    }
}

int32_t clsGrid::VLineNorth() const { return Clamp(North(), southLimit_, northLimit_); }
int32_t clsGrid::VLineSouth() const { return Clamp(South(), southLimit_, northLimit_); }

std::vector<int32_t> clsGrid::ColVlineX() const {
    try {
        std::vector<int32_t> xs;
        if (!Vertical) return xs;
        const int64_t w = West();
        int64_t e = East();
        if (e <= w) e += kTurn;
        const int64_t step = width_;
        const int64_t end = (e / step) * step;
        for (int64_t x = (w / step) * step; x <= end; x += step) {
            xs.push_back(limitLon(static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX))));
        }
        return xs;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("ColVlineX"));
    }
}

std::vector<int32_t> clsGrid::ColHlineY() const {
    try {
        std::vector<int32_t> ys;
        if (!Horizontal) return ys;
        const int64_t step = height_;
        const int64_t end = (int64_t(VLineNorth()) / step) * step;
        for (int64_t y = (int64_t(VLineSouth()) / step) * step; y <= end; y += step) {
            ys.push_back(static_cast<int32_t>(y));
        }
        return ys;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("ColHlineY"));
    }
}

std::vector<int32_t> clsGrid::ColZoneLineY() const {
    try {
        std::vector<int32_t> ys;
        if (!Zone || unitMode_ != 1) return ys;
        const int32_t s = VLineSouth(), n = VLineNorth();
        for (int32_t y : {axialTilt_ - kQuarterTurn, -axialTilt_, axialTilt_, kQuarterTurn - axialTilt_}) {
            if (s <= y && y <= n) ys.push_back(y);
        }
        return ys;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("ColZoneLineY"));
    }
}

void clsGrid::ReadRegistry() {
    try {
        clsRegistry reg(RegistrySection());
        if (!name_.isEmpty()) setUnitMode(toLong(reg.RegGetLong(QStringLiteral("UnitMode"), unitMode_)));
        const bool lines = unitMode_ != 2;
        const int32_t limit = unitMode_ == 2 ? MaxXY : kLLLimit;
        const int32_t interval = unitMode_ == 2 ? MaxXY / 20 : kLLInterval;
        Vertical = reg.RegGetBool(QStringLiteral("Vertical"), lines);
        Horizontal = reg.RegGetBool(QStringLiteral("Horizontal"), lines);
        Zone = reg.RegGetBool(QStringLiteral("Zone"), lines);
        setNorthLimit(toLong(reg.RegGetLong(QStringLiteral("NorthLimit"), limit)));
        setSouthLimit(toLong(reg.RegGetLong(QStringLiteral("SouthLimit"), -limit)));
        setWidth(toLong(reg.RegGetLong(QStringLiteral("Width"), interval)));
        setHeight(toLong(reg.RegGetLong(QStringLiteral("Height"), interval)));
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("ReadRegistry"));
    }
}

void clsGrid::WriteRegistry() const {
    try {
        clsRegistry reg(RegistrySection());
        reg.RegPut(QStringLiteral("UnitMode"), unitMode_);
        reg.RegPut(QStringLiteral("Vertical"), Vertical);
        reg.RegPut(QStringLiteral("Horizontal"), Horizontal);
        reg.RegPut(QStringLiteral("Zone"), Zone);
        reg.RegPut(QStringLiteral("NorthLimit"), northLimit_);
        reg.RegPut(QStringLiteral("SouthLimit"), southLimit_);
        reg.RegPut(QStringLiteral("Width"), width_);
        reg.RegPut(QStringLiteral("Height"), height_);
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("WriteRegistry"));
    }
}
