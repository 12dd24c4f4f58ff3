// The base-map generators for the main projection's tests and benchmark,
// with a log of every call and two knobs: the azimuth lines answered, and
// no ocean.
#pragma once

#include <QStringList>

#include "PlotProjectionGlue.h"
#include "clsMapPolygon.h"
#include "clsMapPolyline.h"
#include "clsMapUnit.h"

namespace prjtest {

class FakeProjectorLayers : public BaseMapLayers {
public:
    QStringList Log;   // one line per call with its arguments
    Figures Azimuth;   // what AzimuthLine answers
    bool NoOcean = false;

    static MapFigurePtr line(int16_t thing, const clsPoly& p) {
        MapFigurePtr f = std::make_shared<clsMapPolyline>();
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

    Figures OceanSplit(const clsMapUnit* unit) override {
        Log << QStringLiteral("OceanSplit ") + name(unit);
        return NoOcean ? Figures{} : BaseMapLayers::OceanSplit(unit);
    }
    Figures GridV(const ProjectorGrid& g, const clsMapUnit* unit) override {
        Log << QStringLiteral("GridV %1 ").arg(g.Width()) + name(unit);
        return BaseMapLayers::GridV(g, unit);
    }
    Figures GridH(const ProjectorGrid& g, const clsMapUnit* unit) override {
        Log << QStringLiteral("GridH %1 ").arg(g.Height()) + name(unit);
        return BaseMapLayers::GridH(g, unit);
    }
    Figures AzimuthLine(const QString& angles, int32_t lon, int32_t lat, double scale, const clsMapUnit* unit) override {
        Log << QStringLiteral("AzimuthLine [%1] %2 %3 %4 ").arg(angles).arg(lon).arg(lat).arg(scale) + name(unit);
        return Azimuth;
    }
    Figures FieldFrame(const clsRect& r, const clsMapUnit* unit) override {
        Log << QStringLiteral("FieldFrame %1 %2 %3 %4 ").arg(r.x1).arg(r.y1).arg(r.x2).arg(r.y2) + name(unit);
        return BaseMapLayers::FieldFrame(r, unit);
    }
    Figures ShadowFrame(int16_t index, int32_t lat, int32_t cone, double light, int16_t division,
                        const clsMapUnit* unit) override {
        Log << QStringLiteral("ShadowFrame %1 %2 %3 %4 %5 ").arg(index).arg(lat).arg(cone).arg(light).arg(division) +
                   name(unit);
        return BaseMapLayers::ShadowFrame(index, lat, cone, light, division, unit);
    }

private:
    static QString name(const clsMapUnit* unit) { return unit ? unit->UnitName().section(QLatin1Char('/'), -1) : "-"; }
};

} // namespace prjtest
