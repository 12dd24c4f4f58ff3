// What the main projection (clsProjector) needs of the plot engine, which
// lies below it but is wired in by the application: the graticule settings
// it keeps, the view whose settings SynchroPlot takes over, and the
// base-map generators that give the ocean, graticule, azimuth-line and frame
// layers of a run.
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

#include "clsMapFigure.h"
#include "clsRect.h"

class clsMapUnit;

// The graticule of the main projection, in latitude/longitude (arc-seconds):
// the line switches, spacings and meridian limits the projector stores in its
// settings section, and the area the lines must cover. Values are held
// within the graticule's ranges: spacings 60..324000, limits and area
// latitudes +-323970, area longitudes normalised (west may exceed east for
// an area across 180 degrees).
class ProjectorGrid {
public:
    bool Vertical = false;     // meridians
    bool Horizontal = false;   // parallels
    bool Zone = false;         // polar circles and tropics

    int32_t Width() const { return width_; }
    void setWidth(int32_t v);
    int32_t Height() const { return height_; }
    void setHeight(int32_t v);
    int32_t NorthLimit() const { return north_; }
    void setNorthLimit(int32_t v);
    int32_t SouthLimit() const { return south_; }
    void setSouthLimit(int32_t v);
    // x1 west, y1 south, x2 east, y2 north.
    clsRect Area() const { return area_; }
    void setArea(const clsRect& r);

    std::shared_ptr<ProjectorGrid> Copy() const { return std::make_shared<ProjectorGrid>(*this); }

private:
    int32_t width_ = 54000;
    int32_t height_ = 54000;
    int32_t north_ = 270000;
    int32_t south_ = -270000;
    clsRect area_{-648000, -324000, 648000, 324000};
};

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
