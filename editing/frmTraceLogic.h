// The trace dialog without its window: a scanned map picture, the graticule
// crosses registered on it (phase 1) and the figure digitised on it through
// the mesh (phase 2), in picture pixels shown at zoom 1 or 2. Phase 0 has
// no picture. The window feeds it view pixels, keys and control changes,
// shows its texts and the view it renders, and sizes its view and scroll
// bars from it.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "DialogBase.h"
#include "Gdi.h"
#include "TraceMesh.h"
#include "clsMapUnit.h"
#include "clsPoly.h"

// What the trace dialog needs from the program, installed at start-up.
struct TraceHost {
    // The file chooser of the main window: the chosen path or empty.
    std::function<QString(const QString& title, const QString& filter, const QString& fileName)> InputLoadName;
    // The map units of the current map mode (nothing: no members).
    std::function<std::vector<MapUnitPtr>()> CurrentUnits;
};
void SetTraceHost(TraceHost host);
const TraceHost& InstalledTraceHost();

// The picture filter of the picture chooser.
extern const QString kTracePictureFilter;

// Enabled states and captions of the controls that follow the phase.
struct TraceControls {
    bool phase = false, del = false, undo = false, loop = false, zoom = false, mark = false, snap = false;
    bool crossFrame = false;   // the cross frame, its labels and both angle texts
    bool nodeFrame = false;
    QString phaseCaption, phaseTip;
};

// The texts the window shows.
struct TraceTexts {
    QString caption, message, pointerX, pointerY;
    QString crossFrame, crossX, crossY, lon, lat;
    QString nodeFrame, nodeLon, nodeLat;
};

class frmTraceLogic {
public:
    static constexpr int16_t ModePoint = 0;
    static constexpr int16_t ModePoly = 1;
    static constexpr long HelpContext = 290007;

    // -- the caller's variables
    int16_t Mode = ModePoint;
    int32_t PointX = 0, PointY = 0;   // longitude, latitude of point mode
    clsPoly Poly;
    int32_t ActIndex = 0;
    bool OK = false;
    plat::DialogPosition Win;

    // -- opening and closing
    // The start of an opening: false when the mode is not one of the two
    // (the dialog unloads). Loads the kept picture, or asks for one.
    bool Open();
    // False when no picture is loaded: the dialog then unloads itself.
    bool HasPicture() const { return bool(picture_); }
    // Releases the picture, the mesh and the undo copy; the path, zoom,
    // snap and mark stay for the next opening.
    void Close();

    // -- the picture
    const QString& PicturePath() const { return path_; }
    void setPicturePath(const QString& path) { path_ = path; }
    // 0 nothing loaded, 1 the picture, 2 the picture and its side file. A
    // file that is there but reads as no picture is named in a message.
    int LoadImage();
    QSize PictureSize() const;
    bool InsidePicture(int32_t px, int32_t py) const;
    int Zoom() const { return zoom_; }
    void setZoom(int zoom);
    // The view for a picture at most `room` large (the rest scrolls).
    QSize ViewSize(QSize room) const;
    // The scroll bar values (picture pixels at the view's top left).
    void setScroll(int32_t h, int32_t v) { hsb_ = h, vsb_ = v; }
    int32_t ViewToImageX(int32_t vx) const { return vx / zoom_ + hsb_; }
    int32_t ViewToImageY(int32_t vy) const { return vy / zoom_ + vsb_; }
    // Far outside the view a position is held at a million pixels (crosses
    // of a side file may lie anywhere).
    int32_t ImageToViewX(int32_t px) const { return toView(px, hsb_); }
    int32_t ImageToViewY(int32_t py) const { return toView(py, vsb_); }
    // The view as shown: the picture part stretched over it, then the marks.
    QImage Render(QSize view);

    // -- phases
    int Phase() const { return phase_; }
    bool SetPhase(int phase);
    const TraceControls& Controls() const { return controls_; }
    const TraceTexts& Texts() const { return texts_; }

    // -- the view's mouse (left button) and keys, in view pixels
    void MouseDown(int32_t vx, int32_t vy);
    void MouseMove(int32_t vx, int32_t vy);
    void MouseUp(int32_t vx, int32_t vy);
    int DragState() const { return drag_; }
    // Delete, PageUp, PageDown and the arrows (KeyCodes.h); true when used.
    bool KeyDown(int key);

    // -- the controls
    void PhaseClick();
    void ImageClick();
    void DeleteClick();
    void LoopClick();
    void UndoClick();
    void ColorClick();
    bool Snap() const { return snap_; }
    void setSnap(bool on) { snap_ = on; }
    bool Mark() const { return mark_; }
    void setMark(bool on) { mark_ = on; }
    // Leaving an angle text writes it into the active cross.
    void LonLeft(const QString& text);
    void LatLeft(const QString& text);

    // -- the mesh and the members
    TraceMesh& Mesh() { return mesh_; }
    const TraceMesh& Mesh() const { return mesh_; }
    // Empties the mesh and the members.
    void ClearMesh();
    const std::vector<TraceMember>& Members() const { return members_; }
    void MakeMembers();
    // Picture to map, then snapped to the nearest member when snapping is on.
    bool ImageToMapSnap(int32_t px, int32_t py, int32_t& lon, int32_t& lat);
    void SetActIndexGrid(int32_t i);
    void SetActIndexFig(int32_t i);
    int32_t NormalizeIndex(int32_t i) const;
    void SetPosFig(int32_t i, int32_t x, int32_t y);
    bool UndoEnabled() const { return controls_.undo && undo_.has_value(); }

    // The view's drawing colour (the marks are drawn inverted in it).
    plat::COLORREF DrawColor() const { return drawColor_; }

    // Told when the view must be drawn again and when its size changes.
    std::function<void()> onRepaint;
    std::function<void()> onResize;

private:
    int32_t toView(int32_t p, int32_t scroll) const {
        return static_cast<int32_t>(std::clamp<int64_t>((int64_t(p) - scroll) * zoom_, -1000000, 1000000));
    }
    struct Undo {
        int32_t x = 0, y = 0;
        clsPoly poly;
        int32_t act = 0;
    };
    void repaint();
    void caption();
    bool nodePos(int32_t i, int32_t& x, int32_t& y) const;
    // The picture position of node i (the point in point mode) when the
    // mesh gives one.
    bool nodeImage(int32_t i, int32_t& px, int32_t& py);
    int32_t nodeDistance(int32_t px, int32_t py, int32_t i);
    bool hitNode(int32_t px, int32_t py, int32_t i);
    int32_t hitCross(int32_t px, int32_t py) const;
    void showNode();
    void saveUndo();
    void angleLeft(int32_t TraceCross::*angle, const QString& text);
    void crossUp(int32_t px, int32_t py);
    void figureUp(int32_t px, int32_t py);
    bool figureInPicture();

    QString path_;
    int zoom_ = 1;
    bool snap_ = false, mark_ = false;

    plat::HBITMAP picture_;
    QImage shown_;   // the picture in 32 bits
    int phase_ = 0;
    int drag_ = 0;
    bool grabbed_ = false;
    int32_t hsb_ = 0, vsb_ = 0;
    int32_t pointerX_ = 0, pointerY_ = 0;   // picture pixels
    std::optional<Undo> undo_;
    TraceMesh mesh_;
    std::vector<TraceMember> members_;
    TraceControls controls_;
    TraceTexts texts_;
    plat::COLORREF drawColor_ = 0xFFFFFF;
};

// The dialog's single instance, which keeps the picture path, zoom, snap,
// mark and position between openings.
frmTraceLogic& TraceDialog();
