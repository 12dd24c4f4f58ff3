// What the main projection (clsProjector) needs of the plot engine: the
// graticule settings it keeps, the view whose settings SynchroPlot takes
// over, and the base-map generators that give the ocean, graticule,
// azimuth-line and frame layers of a run. PlotProjectionGlue.h has the
// implementations over the plot engine that the application installs.
//
// Every generator answers ordinary latitude/longitude figures (arc-seconds)
// styled by a thing of `unit`'s catalogue; `unit` is the base unit of the
// units being projected, or nullptr while OutputBound measures the plane.
// A generator without its thing answers no figure, and so does a run with
// no generators installed: the layers are then simply absent.
#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

#include "clsGrid.h"
#include "clsMapFigure.h"
#include "clsRect.h"

class clsMapUnit;

// The graticule of the main projection: the plot engine's graticule
// settings in latitude/longitude (unit mode 1), whose switches, spacings and
// meridian limits the projector keeps in its settings section, and the area
// the lines must cover.
using ProjectorGrid = clsGrid;
using ProjectorGridPtr = std::shared_ptr<ProjectorGrid>;

// The latitude/longitude view SynchroPlot reads (the plot engine).
class ProjectorPlotSource {
public:
    virtual ~ProjectorPlotSource() = default;
    // The map rectangle the canvas covers: x1 west, y1 south, x2 east, y2 north.
    virtual clsRect Field() const = 0;
    virtual int32_t CenterX() const = 0;
    virtual int32_t CenterY() const = 0;
    virtual double MapScale() const = 0;
    virtual const ProjectorGrid& Grid() const = 0;
    // The catalogue index equal to the view projection, -1 for none.
    virtual int16_t DirectToMain() const = 0;
    // The angle list text of the view's azimuth lines.
    virtual QString AzimuthLine() const = 0;
    virtual bool TextSlant() const = 0;
};

// The base-map layer generators.
class ProjectorLayers {
public:
    using Figures = std::vector<MapFigurePtr>;
    virtual ~ProjectorLayers() = default;
    // Ocean polygons covering the globe in overlapping tiles ("海洋").
    virtual Figures OceanSplit(const clsMapUnit* unit) = 0;
    // Meridians ("経線") and parallels with equator and zone lines ("緯線").
    virtual Figures GridV(const ProjectorGrid& grid, const clsMapUnit* unit) = 0;
    virtual Figures GridH(const ProjectorGrid& grid, const clsMapUnit* unit) = 0;
    // Great circles from the centre at each angle of the list ("方位線").
    virtual Figures AzimuthLine(const QString& angles, int32_t lon, int32_t lat, double scale,
                                const clsMapUnit* unit) = 0;
    // The frame of the field ("領域枠").
    virtual Figures FieldFrame(const clsRect& field, const clsMapUnit* unit) = 0;
    // The limit frames of the projection (PrjShadowPolys) as lines ("投影枠").
    virtual Figures ShadowFrame(int16_t index, int32_t centerLat, int32_t cone, double light, int16_t division,
                                const clsMapUnit* unit) = 0;
};

// The generators every projector uses; nullptr (the default) for none.
void SetProjectorLayers(std::shared_ptr<ProjectorLayers> layers);
ProjectorLayers* InstalledProjectorLayers();
