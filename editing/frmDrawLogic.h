// The drawing window "作図" without its widget: one point placed, or the
// node list of one polyline or polygon drawn and reshaped, on a copy of the
// main window's map picture.
//
// Marks are drawn with an inverting pen, so drawing a mark twice erases
// it. The node marks and the lines between nodes go into the copy of the
// picture when it is painted; what changes while the pointer moves (the
// rubber band, the active handle) goes into an overlay over it, so a move
// touches only the pixels of the band and never repaints the node list.
//
// Indices are 1-based. On a closed list (first point = last, more than
// three points) the last node is the first one again: indices wrap into
// 1..Count - 1, and writing node 1 writes the last node too.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "DialogBase.h"
#include "Gdi.h"
#include "ViewOverlay.h"
#include "clsPoly.h"

namespace plat {
class RasterDC;
}

// What the drawing window needs of the main window's map view. Positions
// are view pixels of the main view (the window's view has its size).
class DrawMapView {
public:
    virtual ~DrawMapView() = default;
    virtual int32_t MapMode() const = 0;      // 1 latitude/longitude, 2 X/Y
    virtual QSize ViewSize() const = 0;
    // The main view's picture as the canvas shows it now.
    virtual QImage Picture() = 0;
    // A map point on the canvas (false off it; a wrapped view is tried on
    // its second copy too).
    virtual bool MapToView(int32_t mx, int32_t my, int32_t& vx, int32_t& vy) const = 0;
    // The pixel of the copy nearer the canvas centre, given also off it.
    virtual bool MapToViewNear(int32_t mx, int32_t my, int32_t& vx, int32_t& vy) const = 0;
    // False outside the canvas or the map's range.
    virtual bool ViewToMap(int32_t vx, int32_t vy, int32_t& mx, int32_t& my) const = 0;
    // The nearest point of any shown element within 64 canvas pixels.
    virtual std::optional<PolyPoint> NearestElement(int32_t vx, int32_t vy) = 0;
    // -- the main view's centre and scale
    virtual int32_t CenterX() const = 0;
    virtual int32_t CenterY() const = 0;
    virtual double MapScale() const = 0;
    virtual void SetView(int32_t centerX, int32_t centerY, double mapScale) = 0;
    virtual bool OnCanvas(int32_t mx, int32_t my) const = 0;
    // Replots the main window.
    virtual void PlotWindow() = 0;
};

class frmDrawLogic {
public:
    static constexpr int32_t ModePoint = 0, ModePoly = 1;
    static constexpr long kHelpContext = 290006;
    static constexpr int kCursorDrag = 1102, kCursorNormal = 1103;
    enum Button : int { LeftButton = 1 };
    static constexpr int32_t kNoNode = 2147483647;

    // -- set by the caller, read back after closing
    int32_t Mode = ModePoint;
    QString Title;
    bool CenterView = false;
    int16_t MapLevel = -1;
    int32_t PointX = 0, PointY = 0;
    clsPoly Poly;
    int32_t ActIndex = 0;
    bool OK = false;
    plat::DialogPosition Win;
    // -- kept from one opening to the next
    bool Snap = false;
    bool Grid = false;
    int32_t GridStepLL = 0;   // arc-seconds
    int32_t GridStepXY = 0;   // metres

    frmDrawLogic();
    ~frmDrawLogic();

    // Form_Load over the view; false for an unknown mode (the window closes
    // at once). May bring the edited point into the main view and replot it.
    bool Load(DrawMapView& view);
    // Drops the undo copy and gives the main view its centre and scale back.
    void Unload();
    QString Caption() const;

    // -- the view
    // The picture copied from the main view with every mark drawn anew.
    void Paint();
    const QImage& Picture() const;
    const plat::ViewOverlay& Overlay() const { return *overlay_; }
    // The view pixels changed since the last call.
    QRegion TakeDirty();
    int Cursor() const { return cursor_; }
    // Where the active node (or the point) shows on the view.
    QPoint ActivePixel() const;

    // -- the labels and buttons
    QString Message() const { return message_; }
    QString Pointer() const { return pointer_; }
    bool DeleteEnabled() const;
    bool LoopEnabled() const { return Mode == ModePoly; }
    bool UndoEnabled() const { return undo_.has_value(); }
    // Shown at once while a snap searches (the window repaints the label).
    std::function<void()> messageChanged;

    // -- events (view pixels; button 1 is the left one)
    void MouseDown(int button, int32_t x, int32_t y);
    void MouseMove(int button, int32_t x, int32_t y);
    void MouseUp(int button, int32_t x, int32_t y);
    // Delete, PageUp/PageDown and the arrows; true when the key was used.
    bool KeyDown(int keyCode);
    void DeleteClick();
    void LoopClick();
    void UndoClick();
    void ColorClick();
    plat::COLORREF DrawColor() const { return color_; }

    // -- the grid step text
    // False after the range message (the old step stays). Needs a loaded
    // view.
    bool GridValidate(const QString& text);
    QString GridText() const;
    int32_t GridStep() const;

    // -- node access and the parts the checks reach
    int32_t NormalizeIndex(int32_t i) const;
    std::optional<PolyPoint> GetNodePos(int32_t i) const;
    void SetPos(int32_t i, int32_t x, int32_t y);
    void SetActIndex(int32_t i);
    bool HitHandle(int32_t vx, int32_t vy, int32_t i) const;
    int32_t NodeDistance(int32_t vx, int32_t vy, int32_t i) const;
    PolyPoint SnapToGrid(PolyPoint p) const;
    int DragState() const { return drag_; }
    // c rounded half away from zero to a multiple of g (0 counts as 1).
    static int32_t RoundToGrid(int32_t c, int32_t g);
    // The scale of a map of level 1..8 opened in the window; the current
    // scale for other levels.
    static double CenterZoomScale(int16_t level, double current);

private:
    struct Undo {
        PolyPoint point;
        clsPoly poly;
        int32_t act = 0;
    };
    bool isLoop() const { return Poly.IsLoop(); }
    int32_t count() const { return Poly.Count(); }
    void centreView();
    // The step a grid text gives in the current map mode, unchecked.
    double gridValue(const QString& text) const;
    std::optional<PolyPoint> picToMapSnap(int32_t vx, int32_t vy);
    void plotRubber();
    void drawHandle(plat::DeviceContext* dc, int32_t x, int32_t y, int size, bool filled);
    void drawRubberLine(plat::DeviceContext* dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void showNodeInfo();
    void saveUndo();
    void insertNode(PolyPoint p);
    void appendNode(PolyPoint p);
    void selectPens(plat::DeviceContext* dc) const;

    DrawMapView* view_ = nullptr;
    QImage base_;                              // the main view's picture
    plat::HBITMAP picture_;
    std::unique_ptr<plat::RasterDC> pictureDc_;
    std::unique_ptr<plat::ViewOverlay> overlay_;
    QRegion pictureDirty_;
    plat::COLORREF color_ = 0xFFFFFF;
    int drag_ = 0;
    bool grabbed_ = false;
    bool rubberShown_ = false;
    bool handleShown_ = false;
    PolyPoint handleAt_;
    int32_t lastX_ = 0, lastY_ = 0;
    std::optional<Undo> undo_;
    int32_t savedX_ = 0, savedY_ = 0;
    double savedScale_ = 0;
    bool viewChanged_ = false;
    int cursor_ = kCursorNormal;
    QString message_, pointer_;
};

// The drawing window's one instance; snap, grid and position last.
frmDrawLogic& DrawWindow();
