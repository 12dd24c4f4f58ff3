#include "PlotProjectionGlue.h"

#include "MapProjection.h"
#include "PrjServices.h"
#include "basBaseMap.h"
#include "clsMapPlot.h"

void InstallPlotProjectionServices() { SetPrjServices(PrjIndexOf, PrjShadowPolys); }

void InstallPlotProjectionGlue() {
    InstallPlotProjectionServices();
    SetProjectorLayers(std::make_shared<BaseMapLayers>());
}

ProjectorLayers::Figures BaseMapLayers::OceanSplit(const clsMapUnit* unit) { return BaseMapOceanSplit(unit); }

ProjectorLayers::Figures BaseMapLayers::GridV(const ProjectorGrid& grid, const clsMapUnit* unit) {
    return BaseMapGridV(grid, unit);
}

ProjectorLayers::Figures BaseMapLayers::GridH(const ProjectorGrid& grid, const clsMapUnit* unit) {
    return BaseMapGridH(grid, unit);
}

ProjectorLayers::Figures BaseMapLayers::AzimuthLine(const QString& angles, int32_t lon, int32_t lat, double scale,
                                                    const clsMapUnit* unit) {
    return BaseMapAzimuthLine(angles, lon, lat, scale, unit);
}

ProjectorLayers::Figures BaseMapLayers::FieldFrame(const clsRect& field, const clsMapUnit* unit) {
    return BaseMapFieldFrame(field, unit);
}

ProjectorLayers::Figures BaseMapLayers::ShadowFrame(int16_t index, int32_t centerLat, int32_t cone, double light,
                                                    int16_t division, const clsMapUnit* unit) {
    return BaseMapShadowFrame(index, centerLat, cone, light, division, unit);
}

clsRect MapPlotSource::Field() const { return plot_.Field(); }
int32_t MapPlotSource::CenterX() const { return plot_.CenterX(); }
int32_t MapPlotSource::CenterY() const { return plot_.CenterY(); }
double MapPlotSource::MapScale() const { return plot_.MapScale(); }
const ProjectorGrid& MapPlotSource::Grid() const { return plot_.Grid(); }
int16_t MapPlotSource::DirectToMain() const { return plot_.DirectToMain(); }
QString MapPlotSource::AzimuthLine() const { return plot_.AzimuthLine; }
bool MapPlotSource::TextSlant() const { return plot_.TextSlant; }
