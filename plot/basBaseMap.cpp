#include "basBaseMap.h"

#include <algorithm>
#include <cmath>

#include "AppState.h"
#include "ErrorMng.h"
#include "MessageBox.h"
#include "PrjServices.h"
#include "RuntimeMath.h"
#include "basAngle.h"
#include "basGlobe.h"
#include "basGlobePolyLib.h"
#include "basLibrary.h"
#include "clsEnvironment.h"
#include "clsMapPlot.h"
#include "clsMapPolygon.h"
#include "clsMapPolyline.h"
#include "clsMapText.h"
#include "clsMapUnits.h"

namespace {

const QString kModule = QStringLiteral("basBaseMap");

constexpr double kPi = 3.14159265358979;
constexpr int32_t kLatLimit = 323970;
constexpr int32_t kLonLimit = 647995;
constexpr int32_t kNearPole = 320400;          // 89 degrees: no azimuth lines from here
constexpr int32_t kPolarProbe = 323910;        // the pole counts as in view when this latitude is
constexpr double kMinCos = 0.017453814697265625;   // cos 89 degrees as stored in single precision

[[noreturn]] void fail(const char* proc) { RaiseError(ErrLibrary, kModule, QString::fromLatin1(proc)); }

MapFigurePtr polygonOfRect(int16_t thing, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    auto f = std::make_shared<clsMapPolygon>();
    f->setAdmin(0);
    f->setThing(thing);
    f->Poly()->SetRect(x1, y1, x2, y2);
    return f;
}

MapFigurePtr polyline(int16_t thing, const clsPoly& points) {
    auto f = std::make_shared<clsMapPolyline>();
    f->setAdmin(0);
    f->setThing(thing);
    f->setPoly(std::make_shared<clsPoly>(points));
    return f;
}

// Lines of an X/Y graticule keep the X/Y range; latitudes stay off the poles.
int32_t limitY(const clsGrid& grid, int32_t y) {
    return grid.UnitMode() == 1 ? LimitLat(y) : Clamp(y, -MaxXY, MaxXY);
}

int64_t floorMultiple(int64_t v, int64_t step) {
    int64_t q = v / step;
    if (v % step != 0 && v < 0) --q;
    return q * step;
}

// Walks along a canvas edge from `pos` in direction `dir` (+-1) up to `end`
// and calls place(multiple) where the coordinate that probe reads passes a
// multiple of `interval`, then jumps one label's room on. The walk speeds
// up while the coordinate is just past a multiple and slows down as it
// nears the next one.
template <class Probe, class Place>
void WalkEdge(int32_t pos, int32_t dir, int32_t end, int32_t room, int64_t interval, Probe probe, Place place) {
    int64_t prev = 0;
    int32_t k = 0;
    while (dir < 0 ? pos >= end : pos <= end) {
        int64_t c = 0;
        if (probe(pos, c)) {
            const int64_t snap = floorMultiple(c, interval);
            int64_t r = c - snap;
            if (r < prev) {
                place(snap);
                pos += dir * room;
                k = 0;
                r = 0;
            }
            prev = r;
            k = r <= (2 * interval) / 5 ? k + 1 : std::max(k - 1, 1);
        } else {
            k = 1;
        }
        pos += dir * k;
    }
}

} // namespace

int32_t LimitLat(int32_t lat) { return Clamp(lat, -kLatLimit, kLatLimit); }

int16_t ThingCodeOf(const clsMapUnit* unit, const QString& name) {
    try {
        return unit ? unit->Things().Search(name) : int16_t(0);
    } catch (...) {
        fail("ThingCodeOf");
    }
}

QString GridAngleText(int32_t sec) {
    try {
        const int64_t a = std::abs(int64_t{sec});
        const QString s = AngleToStr(static_cast<int32_t>(std::min<int64_t>(a, INT32_MAX)));
        switch (GetAngleUnit()) {
        case 3: return QString::number(a);
        case 5: return s.mid(1, 9);
        default: {
            const int n = a % 3600 == 0 ? 3 : (a % 60 == 0 ? 6 : 9);
            QString t = s.mid(1, n);
            for (int i = 0; i < 2 && t.startsWith(QLatin1Char('0')); ++i) t.remove(0, 1);
            return t;
        }
        }
    } catch (...) {
        fail("GridAngleText");
    }
}

MapFigurePtr CreateText(int16_t thing, int16_t fix, int32_t x, int32_t y, const QString& text) {
    try {
        auto f = std::make_shared<clsMapText>();
        f->setAdmin(0);
        f->setThing(thing);
        f->setTextFix(fix);
        f->setMx(x);
        f->setMy(y);
        f->setTextUnicode(1, text);
        f->setTextUnicode(2, text);
        return f;
    } catch (...) {
        fail("CreateText");
    }
}

MapFigurePtr CreateLine(int16_t thing, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    try {
        clsPoly p;
        p.SetLine(x1, y1, x2, y2);
        return polyline(thing, p);
    } catch (...) {
        fail("CreateLine");
    }
}

PolyCollection AzimuthPoly(int32_t az, int32_t lon, int32_t lat, int32_t endGap) {
    try {
        clsPoly seq;
        seq.AddXandY(lon, lat);
        // A gap that rounds to 0 at large scales is taken as the smallest.
        const int32_t n = Clamp(648000 / std::max(endGap, 1), 60, 64800);
        double h = kPi / n;
        const double e = SecToRadian(Clamp(endGap - 324000, -323940, -320400));
        // The line is the meridian of azimuth az in a frame whose pole is
        // the centre, turned back by the centre's colatitude.
        const double q = kPi - SecToRadian(az);
        const double t = SecToRadian(lat - 324000);
        const double ct = std::cos(t), st = std::sin(t);
        double f = kPi / 2;
        int32_t counter = 1;
        while (f > e) {
            f = std::max(f - h, e);
            const double x = std::cos(f) * std::sin(q);
            const double y = std::sin(f);
            const double z = -std::cos(q) * std::cos(f);
            const double y2 = y * ct - z * st;
            const double z2 = y * st + z * ct;
            int32_t plon = RadianToSec(AnglePosToRadian(-z2, x)) + lon;
            int32_t plat = RadianToSec(std::asin(std::clamp(y2, -1.0, 1.0)));
            NormalizeLonLat(plon, plat);
            if (-kLatLimit <= plat && plat <= kLatLimit) seq.AddXandY(plon, plat);
            ++counter;
            if (counter % 64 == 0 && h <= kPi / 360) h *= 2;
        }
        if (seq.Count() <= 1) return {};
        return GlobePolyRound(seq, 0, true, false);
    } catch (...) {
        fail("AzimuthPoly");
    }
}

MapFigurePtr BaseMapOceanArea(const clsRect& rect, const clsMapUnit* unit) {
    try {
        const int16_t thing = ThingCodeOf(unit, QStringLiteral("海洋"));
        if (thing < 0) return nullptr;
        const int32_t half = std::min(rect.Width() / 2, kLonLimit);
        return polygonOfRect(thing, -half, rect.y1, half, rect.y2);
    } catch (...) {
        fail("BaseMapOceanArea");
    }
}

MapFigures BaseMapOceanSplit(const clsMapUnit* unit) {
    try {
        MapFigures out;
        const int16_t thing = ThingCodeOf(unit, QStringLiteral("海洋"));
        if (thing < 0) return out;
        constexpr int32_t kTile = 162000, kOverlap = 3600;
        for (int32_t s = -324000; s < 324000; s += kTile) {
            for (int32_t w = -648000; w < 648000; w += kTile)
                out.push_back(polygonOfRect(thing, Clamp(w - kOverlap, -kLonLimit, kLonLimit), LimitLat(s - kOverlap),
                                            Clamp(w + kTile + kOverlap, -kLonLimit, kLonLimit),
                                            LimitLat(s + kTile + kOverlap)));
        }
        return out;
    } catch (...) {
        fail("BaseMapOceanSplit");
    }
}

MapFigures BaseMapGridV(const clsGrid& grid, const clsMapUnit* unit) {
    try {
        MapFigures out;
        const bool ll = grid.UnitMode() == 1;
        const int16_t thing = ThingCodeOf(unit, ll ? QStringLiteral("経線") : QStringLiteral("縦線"));
        if (thing < 0) return out;
        const int32_t s = limitY(grid, grid.VLineSouth());
        const int32_t n = limitY(grid, grid.VLineNorth());
        for (int32_t x : grid.ColVlineX()) {
            if (ll) x = Clamp(x, -kLonLimit, kLonLimit);
            out.push_back(CreateLine(thing, x, s, x, n));
        }
        return out;
    } catch (...) {
        fail("BaseMapGridV");
    }
}

MapFigures BaseMapGridH(const clsGrid& grid, const clsMapUnit* unit) {
    try {
        MapFigures out;
        const bool ll = grid.UnitMode() == 1;
        int32_t w = grid.West(), e = grid.East();
        if (ll && e <= w) {
            w = -kLonLimit;
            e = kLonLimit;
        }
        const int16_t line = ThingCodeOf(unit, ll ? QStringLiteral("緯線") : QStringLiteral("横線"));
        int16_t equator = line;
        if (ll) {
            const int16_t eq = ThingCodeOf(unit, QStringLiteral("赤道線"));
            if (eq >= 0) equator = eq;
        }
        if (line >= 0) {
            for (int32_t y : grid.ColHlineY()) {
                y = limitY(grid, y);
                out.push_back(CreateLine(y == 0 ? equator : line, w, y, e, y));
            }
            if (ll) {
                out.push_back(CreateLine(line, w, -kLatLimit, e, -kLatLimit));
                out.push_back(CreateLine(line, w, kLatLimit, e, kLatLimit));
            }
        }
        const int16_t zone = ThingCodeOf(unit, QStringLiteral("帯域線"));
        if (zone >= 0)
            for (int32_t y : grid.ColZoneLineY()) out.push_back(CreateLine(zone, w, y, e, y));
        return out;
    } catch (...) {
        fail("BaseMapGridH");
    }
}

MapFigures BaseMapGridTexts(clsMapPlot& plot) {
    try {
        MapFigures out;
        const MapUnitPtr base = plot.MapUnits ? plot.MapUnits->Base() : nullptr;
        if (!base) return out;
        const clsThings& things = base->Things();
        const int16_t latThing = things.Search(QStringLiteral("緯度"));
        const int16_t lonThing = things.Search(QStringLiteral("経度"));
        if (latThing < 0 || lonThing < 0) return out;

        const int32_t left = plot.CanvasLeft(), top = plot.CanvasTop();
        const int32_t width = plot.CanvasWidth(), height = plot.CanvasHeight();
        const int32_t dpix = plot.dpix(), dpiy = plot.dpiy();
        const int32_t centerX = plot.CenterX(), centerY = plot.CenterY();
        const clsGrid& grid = plot.Grid();
        const int64_t gw = grid.Width(), gh = grid.Height();
        // Room of one label along the edge it stands on.
        const int32_t lonRoom = (things.Item(lonThing)->Size() * dpix * 3) / 72;
        const int32_t latRoom = (things.Item(latThing)->Size() * dpiy * 2) / 72;

        int32_t px = 0, py = 0;
        const int32_t m = height / 20;
        const bool polar = plot.MapToCanvas(centerX, centerY >= 0 ? kPolarProbe : -kPolarProbe, px, py) &&
                           -m <= py - top && py - top <= height + m;
        int32_t lon = 0, lat = 0;

        if (!polar) {
            const double off = gvEnvironment
                                   ? gvEnvironment->GetVal(QStringLiteral("PlotGridOffset"), 1, 1, 10)
                                   : 1.0;
            auto offset = [off](int32_t dpi) { return int32_t(std::floor((dpi + 12) * off * 10 / 254)); };
            // Latitude labels up the left edge.
            const int32_t x = left + offset(dpix);
            WalkEdge(top + height - latRoom / 2, -1, latRoom / 2, latRoom, gh,
                     [&](int32_t y, int64_t& c) { return plot.CanvasToMapBound(x, y, lon, lat) && ((c = lat), true); },
                     [&](int64_t snap) {
                         if (grid.SouthLimit() <= snap && snap <= grid.NorthLimit())
                             out.push_back(CreateText(latThing, 11, lon, int32_t(snap), GridAngleText(int32_t(snap))));
                     });
            // Longitude labels along the bottom edge, or the top one south of
            // the equator; not limited by the meridians' limits.
            const int16_t anchor = centerY >= 0 ? 17 : 7;
            const int32_t y = centerY >= 0 ? top + height - offset(dpiy) : top + offset(dpiy);
            WalkEdge(left + lonRoom / 2, 1, width - lonRoom / 2, lonRoom, gw,
                     [&](int32_t x, int64_t& c) { return plot.CanvasToMapBound(x, y, lon, lat) && ((c = lon), true); },
                     [&](int64_t snap) {
                         out.push_back(CreateText(lonThing, anchor, int32_t(snap), lat, GridAngleText(int32_t(snap))));
                     });
            return out;
        }

        // Polar layout: parallels labelled along the central meridian,
        // meridians along the parallel a little below the canvas centre.
        int64_t h = gh;
        while (h * plot.RatioY() * MeterPerSec < latRoom) h += gh;
        const int32_t lo = Clamp(grid.South(), grid.SouthLimit(), grid.NorthLimit());
        const int32_t hi = Clamp(grid.North(), grid.SouthLimit(), grid.NorthLimit());
        for (int64_t y = (lo / h) * h; y <= hi; y += h)
            out.push_back(CreateText(latThing, 12, centerX, int32_t(y), GridAngleText(int32_t(y))));

        int32_t lon0 = 0, lat0 = 0;
        plot.CanvasToMap(left + width / 2, top + (centerY >= 0 ? height * 6 / 10 : height * 4 / 10), lon0, lat0);
        double c = std::cos(SecToRadian(lat0));
        if (c < 0.01745) c = kMinCos;
        int64_t w = gw;
        while (w * plot.RatioX() * c * MeterPerSec < lonRoom) w += gw;
        for (int64_t x = (-648000 / w) * w; x < 648000; x += w)
            out.push_back(CreateText(lonThing, 12, int32_t(x), lat0, GridAngleText(int32_t(x))));
        return out;
    } catch (...) {
        fail("BaseMapGridTexts");
    }
}

MapFigures BaseMapAzimuthLine(const QString& angles, int32_t lon, int32_t lat, double scale,
                              const clsMapUnit* unit) {
    try {
        MapFigures out;
        if (std::abs(lat) >= kNearPole) return out;
        QString text = angles;
        text.replace(QLatin1Char('"'), QStringLiteral("秒"));
        const QStringList tokens = StrToTokens(text, 0);
        if (tokens.isEmpty() || tokens.first().isEmpty()) return out;
        const int32_t endGap = SafeCLng(scale * 3 / MeterPerSec / 1000);   // 3 mm of the map
        const int16_t thing = ThingCodeOf(unit, QStringLiteral("方位線"));
        if (thing < 0) return out;
        for (const QString& token : tokens) {
            PolyCollection pieces = AzimuthPoly(AngleStrToSec(token), lon, lat, endGap);
            if (!pieces.empty()) pieces.front().Del(1);   // from the centre on, not through it
            for (const clsPoly& p : pieces) out.push_back(polyline(thing, p));
        }
        return out;
    } catch (...) {
        fail("BaseMapAzimuthLine");
    }
}

MapFigures BaseMapFieldFrame(const clsRect& rect, const clsMapUnit* unit) {
    try {
        MapFigures out;
        const int16_t thing = ThingCodeOf(unit, QStringLiteral("領域枠"));
        if (thing < 0) return out;
        const int64_t width = rect.x2 == rect.x1 ? 1296000 : int64_t{rect.x2} - rect.x1;
        if (width == 1296000 && int64_t{rect.y2} - rect.y1 == 648000) return out;
        const int32_t top = LimitLat(rect.y2 - 5), bottom = LimitLat(rect.y1 + 5);
        const int32_t left = rect.x1 + 5, right = rect.x2 - 5;
        clsPoly p;
        if (left < right) {
            p.SetRect(left, bottom, right, top);
            out.push_back(polyline(thing, p));
            return out;
        }
        // Across the date line: a piece on each side, open at 180 degrees.
        for (const PolyPoint q : {PolyPoint{kLonLimit, bottom}, PolyPoint{left, bottom}, PolyPoint{left, top},
                                  PolyPoint{kLonLimit, top}})
            p.AddPoint(q);
        out.push_back(polyline(thing, p));
        clsPoly r;
        for (const PolyPoint q : {PolyPoint{-kLonLimit, bottom}, PolyPoint{right, bottom}, PolyPoint{right, top},
                                  PolyPoint{-kLonLimit, top}})
            r.AddPoint(q);
        out.push_back(polyline(thing, r));
        return out;
    } catch (...) {
        fail("BaseMapFieldFrame");
    }
}

MapFigures BaseMapShadowFrame(int16_t index, int32_t centerLat, int32_t cone, double light, int16_t division,
                              const clsMapUnit* unit) {
    try {
        MapFigures out;
        const int16_t thing = ThingCodeOf(unit, QStringLiteral("投影枠"));
        if (thing < 0) return out;
        for (const clsPoly& p : PrjShadowPolysOf(index, centerLat, cone, light, division))
            out.push_back(polyline(thing, p));
        return out;
    } catch (...) {
        fail("BaseMapShadowFrame");
    }
}

QString BaseMapAzimuthText(int16_t count, const QString& def) {
    try {
        if (count == 0) {
            const QString prompt = QStringLiteral(
                "方位線の角度を記述してください.\r\n12時が0度で時計回りです.\r\n"
                "複数のときはスペースで区切って列挙してください.\r\n例）15 165 195 345");
            bool ok = false;
            const QString answer = plat::InputBox(prompt, QStringLiteral("方位線角度"), def, 250009, &ok);
            return ok ? answer : QString();
        }
        if (count < 1 || count > 72) return QString();
        QStringList parts;
        for (int i = 0; i * 360.0 / count <= 359.9; ++i) parts << plat::FormatShortest(i * 360.0 / count);
        return parts.join(QLatin1Char(','));
    } catch (...) {
        fail("BaseMapAzimuthText");
    }
}
