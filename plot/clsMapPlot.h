// The plot engine: draws a set of map units through a view projection onto
// a device, in phases, through the program's one drawing layer gvMapGraph.
// The program keeps one engine per map mode (latitude/longitude and X/Y).
//
// Coordinates. Map: arc-seconds (map mode 1) or metres (map mode 2).
// Plane: metres on the ground about the view centre, y up. Canvas: device
// pixels, y down, the view centre at the canvas origin.
//
// View projection slots (ProjectionIndex):
//   0  X/Y: the plane is the map (map mode 2)
//   1  tangent cylinder: dl, dp           (dl = mx - CenterX, dp = my - CenterY)
//   2  secant cylinder: dl cos(lat0), dp  (lat0 = |CenterY|)
//   3  conic, one standard parallel at lat0, equidistant along meridians
//   4  azimuthal equidistant about the nearer pole, origin at the view centre
//  -1  an automatic choice that named no slot: draws like 1
// With ProjectionAuto on (map mode 1) each drawing chooses by |CenterY| and
// scale; a conic below 2 degrees draws as 1, a cylinder or conic above 88
// degrees as 4, whoever chose it.
//
// Accuracy: PointXYToMap(PointMapToXY(p)) returns p within one map unit in
// every slot; canvas points are rounded half to even. Values beyond 32 bits
// saturate instead of failing.
//
// Field is the map rectangle the canvas covers plus an eighth on each side;
// figures whose bounds miss it cost nothing more. A view across the
// 180-degree meridian (Field crossing exactly one of +-648000) draws each
// figure phase a second time shifted by a whole turn (ShiftOn/ShiftOff).
//
// Replot: 0 done, 1 stopped (Cancel, or a step that failed), 2 no surface
// (GraphBegin refused, or a drawing is under way). Progress is raised with
// 0..9, one number per finished phase. While a drawing runs (DrawStart to
// DrawEnd) the geometry setters are ignored and the view values stay as the
// drawing took them, so that handlers run by the event loop in between
// cannot disturb it; the engine is idle again after any way out of Replot,
// an error included.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "DeviceContext.h"
#include "DoEvents.h"
#include "clsFigure.h"
#include "clsGrid.h"
#include "clsMapCell.h"
#include "clsPoly.h"
#include "clsRect.h"

class clsMapUnits;
class clsMapUnit;
class clsFigPolyline;
class clsFigPolygon;
class clsFigSymbol;
class clsFigText;

// One element found by SearchNears.
class clsSearchInfo {
public:
    double Distance = 0;        // canvas pixels from the search point
    int32_t SearchX = 0;
    int32_t SearchY = 0;
    int32_t MapX = 0;           // the nearest point of the figure, map coordinates
    int32_t MapY = 0;
    int32_t UnitIndex = 0;      // 1-based in MapUnits
    int32_t FigureIndex = 0;    // 1-based in the unit's map
    int32_t PointIndex = 0;     // 1-based in the figure's points
    std::shared_ptr<clsMapUnits> MapUnits;
    std::shared_ptr<clsMapUnit> MapUnit;
    clsMapCell Cell;
};

using SearchInfoPtr = std::shared_ptr<clsSearchInfo>;

class clsMapPlot {
public:
    static constexpr int16_t PhaseNum = 9;

    // -- public fields
    std::shared_ptr<clsMapUnits> MapUnits;   // drawn; its base unit styles the generated layers
    bool Cancel = false;                     // stops a drawing at the next unit; cleared by DrawStart
    // Threads that project a phase's lines and areas ahead of the drawing,
    // besides the drawing thread: -1 as many as the machine has, less one.
    static int ProjectionHelpers;
    bool ProjectionAuto = true;
    bool GridEnable = true;
    bool GridAuto = true;                    // graticule pitch and limits from the scale
    bool GridOcean = false;                  // graticule under the land polygons
    bool GridString = true;                  // graticule labels
    bool AccessoryEnable = false;            // kept for the owner
    bool EdgeEnable = true;                  // symbols and texts get their thing's halo
    bool TextSlant = false;                  // texts turn with the local meridian
    QString AzimuthLine;                     // azimuth-line angles
    int16_t FigureDisp = 31;                 // kinds drawn: 2 lines, 4 polygons, 8 symbols, 16 texts
    bool DetailEnable = false;               // vertex marks in the figure phases
    int16_t FigurePick = 31;                 // kinds SearchNears considers
    bool FigNativeEnable = true;             // a figure's own colour overrides its thing's
    bool FigShowModeEnable = true;           // honour show modes at all
    bool ThgShowModeEnable = true;           // honour the thing's show mode and scale range
    bool AdmShowModeEnable = true;           // honour a district's Show switch
    int32_t SearchX = 0;
    int32_t SearchY = 0;

    // Raised with 0..PhaseNum as the phases of Replot finish.
    std::function<void(int16_t phase)> Progress;

    // Slot 1 and then the settings section "LLPLOT"; the automatic-choice
    // limits and pitches from the environment file.
    clsMapPlot();
    // Writes the settings section.
    ~clsMapPlot();
    clsMapPlot(const clsMapPlot&) = delete;
    clsMapPlot& operator=(const clsMapPlot&) = delete;

    // "LLPLOT" (map mode 1), "XYPLOT" (2).
    QString RegistrySection() const;

    // -- surface and geometry (setters ignored while a drawing runs)
    plat::HDC hdc() const { return hdc_; }
    void sethdc(plat::HDC dc);
    int32_t CanvasLeft() const { return canvas_.x1; }
    void setCanvasLeft(int32_t v);
    int32_t CanvasTop() const { return canvas_.y1; }
    void setCanvasTop(int32_t v);
    int32_t CanvasWidth() const { return canvas_.x2 - canvas_.x1 + 1; }
    void setCanvasWidth(int32_t v);            // 32..32767
    int32_t CanvasHeight() const { return canvas_.y2 - canvas_.y1 + 1; }
    void setCanvasHeight(int32_t v);
    // The slot in use after the automatic choice of the current view.
    int32_t ProjectionIndex();
    void setProjectionIndex(int32_t slot);     // 0..4; sets the map mode
    // The environment's name of the slot in use ("DirectPrjName0n").
    QString ProjectionName();
    // The main projection matching the slot in use; -1 for none.
    int16_t DirectToMain();
    int32_t MapMode() const { return mapMode_; }
    int32_t dpix() const { return dpix_; }
    void setdpix(int32_t v);                   // 48..1440
    int32_t dpiy() const { return dpiy_; }
    void setdpiy(int32_t v);
    int32_t CenterX() const { return centerX_; }
    void setCenterX(int32_t v);                // mode 1: folded into +-648000
    int32_t CenterY() const { return centerY_; }
    void setCenterY(int32_t v);
    double MapScale() const { return mapScale_; }
    void setMapScale(double v);                // IsMapScale
    double Light() const { return light_; }
    void setLight(double v);                   // IsLightRatio
    int32_t PtnRatio() const { return ptnRatio_; }
    void setPtnRatio(int32_t v);               // 10..1000, also while drawing
    double RatioX() const { return ratioX_; }  // canvas pixels per ground metre
    double RatioY() const { return ratioY_; }
    // The map rectangle of the current view (with its margin).
    clsRect Field();
    clsGrid& Grid() { return grid_; }
    const clsGrid& Grid() const { return grid_; }
    // The first slot whose environment name equals name; -1 for none.
    int16_t DirectPrjNameToCode(const QString& name) const;

    // Whether pixel coordinates may exceed +-32700 on the device; true on
    // every system this program runs on, switchable for devices that cannot.
    bool WideCoordinates() const { return isNT_; }
    void setWideCoordinates(bool on) { isNT_ = on; }
    bool Busy() const { return busy_; }
    bool WrapEnabled() const { return wrapEnabled_; }
    int32_t WrapShift() const { return wrapShift_; }
    // A raster display without a PostScript mirror (set by each drawing).
    bool PlainScreen() const { return plainScreen_; }

    // -- drawing
    int16_t Replot();
    bool DrawStart();
    void DrawEnd();
    bool DrawClear();
    bool DrawOcean();
    bool DrawGrid();
    bool DrawGridString();
    bool DrawAzimuthLine();
    bool DrawCell(const clsMapCell& cell);

    // -- visibility and style
    // The styled figure of a cell, or nullptr when the cell is empty,
    // invalid, hidden or does not reach the canvas.
    FigurePtr CellToFigure(const clsMapCell& cell);
    // Show modes of the figure and its thing at MapScale (the district's
    // Show switch is the caller's).
    bool IsCellShown(const clsMapCell& cell) const;
    // Arc-seconds the local meridian leans from the canvas vertical
    // (positive: leaning right at the top); 0 unless TextSlant in slots 3, 4.
    void SlantMeridian(int32_t MapX, int32_t MapY, int32_t& Slant);

    // -- transforms
    bool MapToCanvas(int32_t MapX, int32_t MapY, int32_t& CanvasX, int32_t& CanvasY) const;
    // Also False for a point outside Field or the canvas.
    bool PointMapToCanvas(int32_t MapX, int32_t MapY, int32_t& CanvasX, int32_t& CanvasY) const;
    // The canvas outline of a map sequence (clipped to Field, densified in
    // slots 3 and 4, simplified); nullptr when nothing reaches the canvas.
    std::shared_ptr<clsPoly> PolyMapToCanvas(const clsPoly& poly);
    // The map point of a canvas pixel; False (point still computed) for a
    // pixel outside the canvas.
    bool CanvasToMap(int32_t CanvasX, int32_t CanvasY, int32_t& MapX, int32_t& MapY) const;
    // Also False for a map point outside the map's range; mode 1 normalises.
    bool CanvasToMapBound(int32_t CanvasX, int32_t CanvasY, int32_t& MapX, int32_t& MapY) const;
    bool ShiftOn();
    bool ShiftOff();
    double CanvasToMapLengthX(double pixels) const;
    double CanvasToMapLengthY(double pixels) const;

    // -- search and settings
    bool DistanceElement(const clsMapCell& cell, double& Distance, int32_t& PointIndex, int32_t& MapX,
                         int32_t& MapY);
    std::vector<SearchInfoPtr> SearchNears(bool IncludeAll, bool NearestOnly, double Radius);
    // The section of RegistrySection with the graticule's. A stored slot of
    // the other map mode is ignored: the engine keeps its map mode.
    void ReadRegistry();
    void WriteRegistry() const;

private:
    void GetWork();
    void SetCanvasOrigin();
    int16_t ChooseSlot() const;
    void PointMapToXY(int32_t mx, int32_t my, double& x, double& y) const { pointMapToXY(mx, my, centerX_, x, y); }
    // The centre is given: the ocean and the date-line copy move it while
    // helper threads still project with the drawing's own.
    void pointMapToXY(int32_t mx, int32_t my, int32_t centerX, double& x, double& y) const;
    void PointXYToMap(double x, double y, int32_t& mx, int32_t& my) const;
    void XYToCanvas(double x, double y, int32_t& cx, int32_t& cy) const;
    void CanvasToXY(int32_t cx, int32_t cy, double& x, double& y) const;
    bool IsInCanvas(int32_t cx, int32_t cy) const { return canvas_.IsInner(cx, cy); }
    bool ProjectPoly(const clsPoly& poly, clsPoly& out);
    // ProjectPoly's work for the given field and centre: otherwise it reads
    // only the drawing's fixed view, so helper threads may run it side by side.
    bool projectPolyOnce(const clsPoly& poly, clsPoly& out, const clsRect& field, int32_t centerX) const;
    // Lines and areas projected on helper threads while the drawing thread
    // draws the ones already done (clsMapPlotView.cpp).
    class Ahead;
    // The outlines of a phase's list, bounds worked out for the helpers.
    std::vector<std::shared_ptr<clsPoly>> aheadSources(
        const std::vector<std::pair<size_t, const clsMapFigure*>>& list) const;
    // Lines and areas of the maps, projected from the start of a drawing so
    // that the helpers are at work while the background is drawn: a section
    // per pass of a phase over a map, which the pass takes if its field and
    // centre are still those foreseen.
    struct Prefetched {
        const clsMapUnit* unit;
        const void* index;
        int16_t phase;
        size_t section;
    };
    std::vector<Prefetched> prefetched_;
    std::shared_ptr<Ahead> prefetch_;
    void prefetchPhases();
    // The result ProjectPoly hands over for the figure being drawn: state 1
    // drawn, 2 not drawn, 0 none (ProjectPoly works it out itself).
    struct PreProjected {
        const clsPoly* source = nullptr;
        clsPoly* out = nullptr;
        uint8_t state = 0;
    } pre_;
    void RaiseProgress();
    std::shared_ptr<clsMapUnit> BaseUnit() const;
    bool BaseShown() const;
    bool PlotCell(const clsMapCell& cell);
    bool PlotPhaseSub(int16_t phase);
    bool PlotPhase(int16_t phase);
    bool PlotCollection(const std::vector<MapFigurePtr>& figures);
    void PsComment(const QString& text) const;
    // The styled figure, new or (reuse) one of the engine's own.
    FigurePtr BuildFigure(const clsMapCell& cell, bool reuse);
    void CalcGridPitch();
    void CalcGridRange();
    bool DistanceElementSub(const clsMapFigure& figure, double& Distance, int32_t& PointIndex, int32_t& MapX,
                            int32_t& MapY) const;

    // device and canvas
    plat::HDC hdc_ = nullptr;
    int32_t technology_ = 0;
    clsRect canvas_{0, 0, 799, 599};
    int32_t originX_ = 400;
    int32_t originY_ = 300;
    // view
    int32_t mapMode_ = 1;
    int32_t prjIndex_ = 1;    // chosen (by the user or the automatic choice)
    int32_t workIndex_ = 1;   // in use: the choice after the latitude rules
    int32_t centerX_ = 0;
    int32_t centerY_ = 0;
    double mapScale_;
    double light_ = 2.0;
    int32_t dpix_ = 96;
    int32_t dpiy_ = 96;
    int32_t ptnRatio_ = 100;
    double ratioX_ = 1.0;
    double ratioY_ = 1.0;
    clsRect field_{-648000, -324000, 648000, 324000};
    clsRect clip_{-32700, -32700, 32700, 32700};
    clsGrid grid_;
    // drawing
    bool busy_ = false;
    int16_t phase_ = 0;
    bool detailNow_ = false;
    bool isNT_ = true;
    bool plainScreen_ = false;
    bool wrapEnabled_ = false;
    // Events (a stop, repaints) run between figures, at most once per pitch.
    plat::EventPump pumpEvents_;
    int32_t wrapShift_ = 0;
    bool shifted_ = false;
    // per-drawing projection constants
    double lonFactor_ = 1.0;   // f
    double r0_ = 0;            // cone or polar radius, arc-seconds (slots 3, 4)
    // environment
    int32_t highLat_ = 270000;
    int32_t lowLat_ = 54000;
    double smallRatio_ = 5;
    int16_t highPrj_ = 4;
    int16_t middlePrj_ = 3;
    int16_t lowPrj_ = 2;
    int16_t smallPrj_ = 1;
    int32_t gridPitch_ = 50;   // PlotGridPitch, mm
    int32_t chopPitch_ = 16;   // PlotChopPitch, mm
    int32_t flatPitch_ = 0;    // PlotFlatPitch, mm
    // Styled figures and the outline buffer reused by every drawn figure,
    // so that a drawing allocates nothing per figure.
    std::shared_ptr<clsPoly> canvasPoly_;
    // The figures inside the field by phase (2..5), per map, for one drawing.
    struct PhaseIndex {
        std::shared_ptr<clsMapUnit> unit;
        clsRect field;
        const std::vector<MapFigurePtr>* figures;
        size_t count;
        std::array<std::vector<std::pair<size_t, const clsMapFigure*>>, 4> lists;
    };
    std::vector<std::shared_ptr<const PhaseIndex>> phaseIndex_;
    std::shared_ptr<const PhaseIndex> phaseIndexOf(const std::shared_ptr<clsMapUnit>& unit,
                                                   const std::vector<MapFigurePtr>& figures);
    std::shared_ptr<clsFigPolyline> figLine_;
    std::shared_ptr<clsFigPolygon> figArea_;
    std::shared_ptr<clsFigSymbol> figSymbol_;
    std::shared_ptr<clsFigText> figText_;
};

// The plot engines of the two map modes, made by the application.
extern clsMapPlot* gvMapPlotLL;
extern clsMapPlot* gvMapPlotXY;
