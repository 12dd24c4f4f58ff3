// What the application installs at start-up to join the plot engine and the
// projection engine, which lies above it:
//  - the plot engine's two projection services (PrjServices.h): the
//    catalogue index of a main projection by name and its limit frames;
//  - the base-map generators (basBaseMap.h) as the main projection's layers;
// and the adapter through which SynchroPlot reads a plot engine's view.
#pragma once

#include <memory>

#include "ProjectorHooks.h"

class clsMapPlot;

// PrjIndexOf and PrjShadowPolys into the plot engine.
void InstallPlotProjectionServices();
// Both services and the base-map layers (SetProjectorLayers); once at start-up.
void InstallPlotProjectionGlue();

// The base-map generators as layers of the main projection.
class BaseMapLayers : public ProjectorLayers {
public:
    Figures OceanSplit(const clsMapUnit* unit) override;
    Figures GridV(const ProjectorGrid& grid, const clsMapUnit* unit) override;
    Figures GridH(const ProjectorGrid& grid, const clsMapUnit* unit) override;
    Figures AzimuthLine(const QString& angles, int32_t lon, int32_t lat, double scale,
                        const clsMapUnit* unit) override;
    Figures FieldFrame(const clsRect& field, const clsMapUnit* unit) override;
    Figures ShadowFrame(int16_t index, int32_t centerLat, int32_t cone, double light, int16_t division,
                        const clsMapUnit* unit) override;
};

// A plot engine's latitude/longitude view as SynchroPlot reads it. The
// engine must outlive the adapter; reading the field or the matching
// projection brings the engine's automatic choice up to date.
class MapPlotSource : public ProjectorPlotSource {
public:
    explicit MapPlotSource(clsMapPlot& plot) : plot_(plot) {}
    clsRect Field() const override;
    int32_t CenterX() const override;
    int32_t CenterY() const override;
    double MapScale() const override;
    const ProjectorGrid& Grid() const override;
    int16_t DirectToMain() const override;
    QString AzimuthLine() const override;
    bool TextSlant() const override;

private:
    clsMapPlot& plot_;
};
