// Stand-in base-map generators for the main projection's tests and
// benchmark: plain ocean tiles, graticule lines, field and limit frames of
// the things the base catalogue names, and a log of every call.
#pragma once

#include <QString>
#include <QStringList>

#include "MapProjection.h"
#include "ProjectorHooks.h"
#include "clsMapPolygon.h"
#include "clsMapPolyline.h"
#include "clsMapUnit.h"

namespace prjtest {

class FakeProjectorLayers : public ProjectorLayers {
public:
    QStringList Log;             // one line per call with its arguments
    Figures Azimuth;             // what AzimuthLine answers
    bool NoOcean = false;

    Figures OceanSplit(const clsMapUnit* unit) override {
        Log << QStringLiteral("OceanSplit %1").arg(unitName(unit));
        Figures f;
        if (NoOcean) return f;
        for (int32_t s = -324000; s < 324000; s += 162000)
            for (int32_t w = -648000; w < 648000; w += 162000)
                f.push_back(ring(thing(unit, "海洋"), w - 3600, s - 3600, w + 165600, s + 165600));
        return f;
    }
    Figures GridV(const ProjectorGrid& g, const clsMapUnit* unit) override {
        Log << QStringLiteral("GridV %1 %2").arg(g.Width()).arg(unitName(unit));
        Figures f;
        if (g.Vertical)
            for (int32_t x = -648000; x <= 648000; x += g.Width())
                f.push_back(line(thing(unit, "経線"), x, g.SouthLimit(), x, g.NorthLimit()));
        return f;
    }
    Figures GridH(const ProjectorGrid& g, const clsMapUnit* unit) override {
        Log << QStringLiteral("GridH %1 %2").arg(g.Height()).arg(unitName(unit));
        Figures f;
        if (g.Horizontal)
            for (int32_t y = -270000; y <= 270000; y += g.Height())
                f.push_back(line(thing(unit, "緯線"), -647995, y, 647995, y));
        return f;
    }
    Figures AzimuthLine(const QString& angles, int32_t lon, int32_t lat, double scale,
                        const clsMapUnit* unit) override {
        Log << QStringLiteral("AzimuthLine [%1] %2 %3 %4 %5").arg(angles).arg(lon).arg(lat).arg(scale).arg(unitName(unit));
        return Azimuth;
    }
    Figures FieldFrame(const clsRect& r, const clsMapUnit* unit) override {
        Log << QStringLiteral("FieldFrame %1 %2 %3 %4 %5").arg(r.x1).arg(r.y1).arg(r.x2).arg(r.y2).arg(unitName(unit));
        if (r.x1 == -648000 && r.x2 == 648000 && r.y1 == -324000 && r.y2 == 324000) return {};
        auto p = std::make_shared<clsMapPolyline>();
        p->setAdmin(0);
        p->setThing(thing(unit, "領域枠"));
        p->Poly()->SetRect(r.x1 + 5, r.y1 + 5, r.x2 - 5, r.y2 - 5);
        return {p};
    }
    Figures ShadowFrame(int16_t index, int32_t lat, int32_t cone, double light, int16_t division,
                        const clsMapUnit* unit) override {
        Log << QStringLiteral("ShadowFrame %1 %2 %3 %4 %5 %6")
                   .arg(index).arg(lat).arg(cone).arg(light).arg(division).arg(unitName(unit));
        Figures f;
        for (const clsPoly& p : PrjShadowPolys(index, lat, cone, light, division)) {
            auto l = std::make_shared<clsMapPolyline>();
            l->setAdmin(0);
            l->setThing(thing(unit, "投影枠"));
            l->setPoly(std::make_shared<clsPoly>(p));
            f.push_back(l);
        }
        return f;
    }

    static MapFigurePtr line(int16_t thing, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
        auto l = std::make_shared<clsMapPolyline>();
        l->setAdmin(0);
        l->setThing(thing);
        l->Poly()->SetLine(x1, y1, x2, y2);
        return l;
    }
    static MapFigurePtr ring(int16_t thing, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
        auto p = std::make_shared<clsMapPolygon>();
        p->setAdmin(0);
        p->setThing(thing);
        auto clamp = [](int32_t v, int32_t lim) { return std::clamp(v, -lim, lim); };
        p->Poly()->SetRect(clamp(x1, 647995), clamp(y1, 323970), clamp(x2, 647995), clamp(y2, 323970));
        return p;
    }

private:
    static QString unitName(const clsMapUnit* unit) { return unit ? unit->UnitName().section(QLatin1Char('/'), -1) : QStringLiteral("-"); }
    static int16_t thing(const clsMapUnit* unit, const char* name) {
        return unit ? std::max<int16_t>(0, unit->Things().Search(QString::fromUtf8(name))) : 0;
    }
};

} // namespace prjtest
