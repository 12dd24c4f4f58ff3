// The main projection: turns the latitude/longitude map units of the open
// map into a new set of X/Y map units drawn in one of the 30 projections of
// the catalogue (MapProjection.h), together with a block of remarks that
// records the projection conditions and, on the base unit, the generated
// ocean, graticule, azimuth-line and frame layers (ProjectorHooks.h).
//
// Settings: angles are arc-seconds, the scale a denominator, the light the
// light-source distance from the globe centre in globe radii. A setter
// given a value outside its range ignores it. They live in the settings
// section "PROJECTOR": a new projector reads it (and then makes its
// automatic choice, SetAuto), and writes it back when it is destroyed.
//
// A figure goes through ProjectionPoly (polylines, polygons) or
// ProjectPointSec (symbols, texts) into metres on the projection plane:
// clipped to the field, densified about every millimetre of the output map,
// turned into the projection's axis, cut at the poles, the 180-degree
// meridian and the interruptions, clipped to the projection's latitude
// limits (5" inside), projected and simplified at the output scale. Lines of
// more than MainPrjPolySmartNodeMax points skip the densifying and the
// simplification; rings that long have only their edges along a meridian or
// a parallel densified (seams and cut closures, which the plane bends). Anything outside the field or the limits, or a point the
// formula cannot map, gives nothing.
//
// One run at a time: ExeProjection and OutputBound each refuse a second call
// of their own kind made from inside a run (the run lets window events run
// after every figure, so an AddElement handler or a cancel button may call
// back in).
#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "DoEvents.h"
#include "ProjectorHooks.h"
#include "clsMapCell.h"
#include "clsPoly.h"
#include "clsPrjPoint.h"
#include "clsRect.h"

class clsMapUnit;
class clsMapUnits;

// Time spent in each stage of ProjectionPoly, summed over calls (benchmarks).
struct PrjStageTimes {
    int64_t clipNs = 0;       // field and latitude-limit clips
    int64_t densifyNs = 0;    // densifying along the plane, before and after the cuts
    int64_t rotateNs = 0;     // into the projection axis
    int64_t cutNs = 0;        // poles, the 180-degree meridian, interruptions
    int64_t projectNs = 0;    // the formula
    int64_t compressNs = 0;   // simplification at the output scale
};

class clsProjector {
public:
    clsProjector();
    // Writes the settings section.
    ~clsProjector();
    clsProjector(const clsProjector&) = delete;
    clsProjector& operator=(const clsProjector&) = delete;

    // -- switches read and written directly
    bool Cancel = false;           // stops a running ExeProjection; cleared when one starts
    bool AutoProjection = false;   // SetAuto chooses the projection by latitude band and scale
    bool RightAxis = false;        // SetAuto puts the projection into its normal aspect
    bool FieldWorld = false;       // SetAuto makes the field the whole world
    bool FieldFrame = false;       // a run adds the field frame layer
    bool ShadowFrame = false;      // a run adds the projection-limit frame layer
    bool TextSlant = false;        // texts turn with the local slant of the meridian
    QString AzimuthLine;           // azimuth-line angles; empty for none

    // Raised once per figure written by ExeProjection, with its drawing cell.
    std::function<void(clsMapCell& cell)> AddElement;

    // -- settings
    static QString RegistrySection() { return QStringLiteral("PROJECTOR"); }
    int16_t PrjIndex() const { return index_; }
    void setPrjIndex(int32_t index);                 // 1..30
    QString PrjName() const;
    int32_t PrjStatus() const;                       // the attribute mask
    int32_t CenterLon() const { return centerLon_; }
    void setCenterLon(int32_t lon);                  // normalised
    int32_t CenterLat() const { return centerLat_; }
    void setCenterLat(int32_t lat);                  // -324000..324000
    int32_t poler() const { return poler_; }         // meridian rotation
    void setPoler(int32_t angle);                    // normalised like a longitude
    int32_t Cone() const { return cone_; }           // cone apex angle
    void setCone(int32_t cone);                      // 108000..540000
    int32_t Secant() const { return secant_; }       // secant spacing
    void setSecant(int32_t secant);                  // 0..MaxSecant
    double Light() const { return light_; }
    void setLight(double ratio);                     // 1.005..201
    int16_t Division() const { return division_; }   // gores of 28
    void setDivision(int32_t n);                     // 6..36
    double MapScale() const { return scale_; }
    void setMapScale(double scale);                  // IsMapScale
    int32_t MaxSecant() const;
    // The latitude limits of the current projection (after setting up the
    // point projector from the settings).
    int32_t PrjNorth();
    int32_t PrjSouth();
    // Whether texts turn by the meridian rotation when TextSlant is off
    // ("MainPrjTextRotate" of Environment.txt).
    bool TextRotate() const { return textRotate_; }

    // The field (x1 west, y1 south, x2 east, y2 north; west above east
    // crosses 180 degrees). The object is shared with the caller both ways;
    // setting normalises it in place and keeps it; nullptr is ignored.
    const std::shared_ptr<clsRect>& Field() const { return field_; }
    void setField(const std::shared_ptr<clsRect>& field);
    const ProjectorGridPtr& Grid() const { return grid_; }
    void setGrid(const ProjectorGridPtr& grid);      // kept; nullptr ignored
    clsPrjPoint& PrjPoint() { return prjPoint_; }

    // -- progress of the running ExeProjection
    int32_t Progress() const { return progress_; }   // per cent of the figures done
    int32_t Remain() const { return remain_; }       // seconds left; -1 while unknown

    // -- operations
    // A new projector with the settings of this one (both after SetAuto).
    std::unique_ptr<clsProjector> Copy();
    // The automatic choices the switches ask for; always gives the grid the field.
    void SetAuto();
    // Takes field, centre, scale, graticule, azimuth lines, text slant and
    // the matching projection of a latitude/longitude view.
    void SynchroPlot(const ProjectorPlotSource& plot);
    void ReadRegistry();
    void WriteRegistry() const;

    // The pieces of a line (or a ring, isPolygon) in metres on the plane;
    // none when nothing of it survives. Both this and ProjectPointSec set the
    // point projector up from the settings first when they changed.
    PolyCollection ProjectionPoly(const clsPoly& poly, bool isPolygon);
    // One point in metres: the point turned into the projection's axis and
    // projected, when it lies in the field, its axis latitude within the
    // limits (5" inside, unless a limit is a pole) and the formula maps it.
    bool ProjectPointSec(int32_t lon, int32_t lat, int32_t& x, int32_t& y);

    // The new X/Y units: the displayed units of `units` projected, with the
    // remarks and generated layers (the ocean under the base map's figures,
    // after its heading remarks; the other layers over them); nullptr when
    // cancelled, refused, when the set has no base unit, or when a run is
    // busy already. Raises an error when the X/Y base unit cannot be made.
    std::shared_ptr<clsMapUnits> ExeProjection(clsMapUnits& units);
    // The largest output rectangle, metres: the bounds of the ocean layer
    // projected at 20 times the scale (which SetAuto may answer with another
    // projection; the scale comes back rounded to a whole number). A cancel
    // left over from a cancelled run does not count. When no ocean polygon
    // comes out, nothing, after the error box "最大出力矩形の算出に失敗.";
    // nothing while a call is busy already.
    std::optional<clsRect> OutputBound();

    // Stage times of ProjectionPoly are added here while set (nullptr: off).
    void setStageTimes(PrjStageTimes* times) { stageTimes_ = times; }

private:
    using FigureList = std::vector<MapFigurePtr>;

    void SetupPrjPoint();
    void LimitSecant();
    void StoreIndex(int16_t index);
    bool InField(int32_t lon, int32_t lat) const;

    // Element projection and the run (clsProjectorRun.cpp).
    bool ProjectElement(const MapFigurePtr& figure);
    bool PrjRemLine(const QString& text);
    FigureList PrjRem(const clsMapFigure& figure) const;
    FigureList PrjPoly(const clsMapFigure& figure, bool isPolygon);
    FigureList PrjSymbol(const clsMapFigure& figure);
    FigureList PrjText(const clsMapFigure& figure);
    void StartProgress(int64_t total);
    void CountProgress();
    bool RunUnits(clsMapUnits& units, clsMapUnits& dest);

    // Generated layers and remarks: figures added, or -1 to stop the run.
    int32_t OutputCondition(bool isBase);
    int32_t ProjectLayer(const QString& name, const FigureList& figures);
    int32_t ProjectionOcean();
    int32_t ProjectionGrid();
    int32_t ProjectionDirection();
    int32_t ProjectionField();
    int32_t ProjectionShadow();
    const clsMapUnit* SourceBase() const;

    // Settings.
    int16_t index_ = 12;
    int32_t centerLon_ = 0;
    int32_t centerLat_ = 0;
    int32_t poler_ = 0;
    int32_t cone_ = 108000;
    int32_t secant_ = 0;
    double light_ = 2.0;
    int16_t division_ = 12;
    double scale_;
    std::shared_ptr<clsRect> field_;
    ProjectorGridPtr grid_;
    clsPrjPoint prjPoint_;
    int32_t north_ = 324000;
    int32_t south_ = -324000;
    // The point projector and the limits follow the settings.
    bool prjReady_ = false;

    // From Environment.txt.
    int32_t highLat_ = 270000;
    int32_t lowLat_ = 54000;
    double smallRatio_ = 5;
    int16_t highPrj_ = 6;      // 正距方位図法
    int16_t middlePrj_ = 23;   // ドリール正距円錐図法
    int16_t lowPrj_ = 12;      // 正距円筒図法
    int16_t smallPrj_ = 19;    // エッケルト図法・第６式
    int32_t smartNodeMax_ = 5000;
    bool textRotate_ = true;

    // Run state.
    clsMapUnits* source_ = nullptr;
    std::shared_ptr<clsMapUnit> output_;
    bool raiseEvents_ = false;
    bool exeBusy_ = false;
    bool boundBusy_ = false;
    // The window's events (stop button, timer, repaints) need no more than a
    // few rounds per frame; a round per element cost a tenth of the run.
    plat::EventPump pumpEvents_;
    int64_t startTick_ = 0;
    int64_t total_ = 0;
    int64_t done_ = 0;
    int32_t progress_ = 0;
    int32_t remain_ = -1;
    PrjStageTimes* stageTimes_ = nullptr;
};

// The program's main projection, made by the application at start-up.
extern clsProjector* gvProjector;
