// Stand-in base-map generators for the main projection's tests and
// benchmark: ocean tiles, meridians, parallels and limit frames of the
// things the base catalogue names, a field frame, and a log of every call.
#pragma once

#include <QStringList>

#include "MapProjection.h"
#include "ProjectorHooks.h"
#include "clsMapPolygon.h"
#include "clsMapPolyline.h"
#include "clsMapUnit.h"

namespace prjtest {

class FakeProjectorLayers : public ProjectorLayers {
public:
    QStringList Log;   // one line per call with its arguments
    Figures Azimuth;   // what AzimuthLine answers
    bool NoOcean = false;

    static MapFigurePtr line(int16_t thing, const clsPoly& p, bool ring = false) {
        MapFigurePtr f = ring ? MapFigurePtr(std::make_shared<clsMapPolygon>()) : std::make_shared<clsMapPolyline>();
        f->setAdmin(0);
        f->setThing(thing);
        f->setPoly(std::make_shared<clsPoly>(p));
        return f;
    }
    static clsPoly seg(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
        clsPoly p;
        p.SetLine(x1, y1, x2, y2);
        return p;
    }
    static clsPoly box(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
        clsPoly p;
        p.SetRect(std::clamp(x1, -647995, 647995), std::clamp(y1, -323970, 323970), std::clamp(x2, -647995, 647995),
                  std::clamp(y2, -323970, 323970));
        return p;
    }

    Figures OceanSplit(const clsMapUnit* unit) override {
        Log << QStringLiteral("OceanSplit ") + name(unit);
        Figures f;
        for (int32_t s = -324000; s < 324000 && !NoOcean; s += 162000)
            for (int32_t w = -648000; w < 648000; w += 162000)
                f.push_back(line(thing(unit, "海洋"), box(w - 3600, s - 3600, w + 165600, s + 165600), true));
        return f;
    }
    Figures GridV(const ProjectorGrid& g, const clsMapUnit* unit) override {
        Log << QStringLiteral("GridV %1 ").arg(g.Width()) + name(unit);
        Figures f;
        for (int32_t x = -648000; x <= 648000 && g.Vertical; x += g.Width())
            f.push_back(line(thing(unit, "経線"), seg(x, g.SouthLimit(), x, g.NorthLimit())));
        return f;
    }
    Figures GridH(const ProjectorGrid& g, const clsMapUnit* unit) override {
        Log << QStringLiteral("GridH %1 ").arg(g.Height()) + name(unit);
        Figures f;
        for (int32_t y = g.SouthLimit(); y <= g.NorthLimit() && g.Horizontal; y += g.Height())
            f.push_back(line(thing(unit, "緯線"), seg(-647995, y, 647995, y)));
        return f;
    }
    Figures AzimuthLine(const QString& angles, int32_t lon, int32_t lat, double scale, const clsMapUnit* unit) override {
        Log << QStringLiteral("AzimuthLine [%1] %2 %3 %4 ").arg(angles).arg(lon).arg(lat).arg(scale) + name(unit);
        return Azimuth;
    }
    Figures FieldFrame(const clsRect& r, const clsMapUnit* unit) override {
        Log << QStringLiteral("FieldFrame %1 %2 %3 %4 ").arg(r.x1).arg(r.y1).arg(r.x2).arg(r.y2) + name(unit);
        if (r == clsRect(-648000, -324000, 648000, 324000)) return {};   // the whole globe has no frame
        return {line(thing(unit, "領域枠"), box(r.x1 + 5, r.y1 + 5, r.x2 - 5, r.y2 - 5))};
    }
    Figures ShadowFrame(int16_t index, int32_t lat, int32_t cone, double light, int16_t division,
                        const clsMapUnit* unit) override {
        Log << QStringLiteral("ShadowFrame %1 %2 %3 %4 %5 ").arg(index).arg(lat).arg(cone).arg(light).arg(division) +
                   name(unit);
        Figures f;
        for (const clsPoly& p : PrjShadowPolys(index, lat, cone, light, division))
            f.push_back(line(thing(unit, "投影枠"), p));
        return f;
    }

private:
    static QString name(const clsMapUnit* unit) { return unit ? unit->UnitName().section(QLatin1Char('/'), -1) : "-"; }
    static int16_t thing(const clsMapUnit* unit, const char* name) {
        return unit ? std::max<int16_t>(0, unit->Things().Search(QString::fromUtf8(name))) : 0;
    }
};

} // namespace prjtest
