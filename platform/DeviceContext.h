// The device context of the drawing code: one current pen, brush, font and
// (memory contexts) bitmap, text and background colours, background mode,
// mix mode, polygon fill mode, stretch mode, text alignment, the mapping of
// logical to device coordinates, a clip region and a stack of saved states,
// with the drawing calls the map drawing layer makes.
//
// Coordinates. Drawing calls take logical coordinates; the device point is
//   device = (logical - window origin) * viewport extent / window extent
//            + viewport origin,
// rounded to the nearest integer. In MM_TEXT the extents are fixed at 1, so
// only the two origins count; MM_ANISOTROPIC scales each axis on its own,
// MM_ISOTROPIC shrinks one viewport extent so both scales are equal. The
// clip region lives in device pixels (IntersectClipRect takes logical
// coordinates and converts them).
//
// Pixels. A line covers the pixels of the integer stepping from its start
// towards its end, the end excluded (so a polyline sets each joint once). A
// fill covers the pixels whose integer point lies inside the outline, left
// and top edges inside, right and bottom edges outside; Rectangle(l,t,r,b)
// therefore frames l..r-1 and with a null pen fills l..r-2.
//
// Mix modes. Every pen and brush pixel is combined with the destination by
// the ROP2 code (XOR included, so drawing twice restores the picture); text
// ignores it. Block transfers take the ternary raster operation as a truth
// table over pattern (brush), source and destination bits, evaluated per
// colour bit; a monochrome source is coloured by the destination's text
// (0 bits) and background (1 bits) colours, and a colour source becomes
// monochrome by matching the source context's background colour (1 bits).
//
// Back ends. RasterDC draws pixel-exact into a bitmap (the canvas, pictures,
// memory contexts); PrinterDC draws vectors through QPainter on a QPrinter,
// where only the copy mix modes have a meaning. A recorder of metafile
// records derives from this class the same way: every state change and
// drawing call is virtual.
#pragma once

#include <QString>

class QPainter;
class QPaintDevice;

#include <functional>
#include <optional>
#include <vector>

#include "Gdi.h"

namespace plat {

class DeviceContext;
using HDC = DeviceContext*;

// The state that SaveDC keeps.
struct DcState {
    Pen pen = Pen{PS_SOLID, 0, 0};
    Brush brush = Brush{BS_SOLID, 0xFFFFFF, 0, nullptr};
    HFONT font;
    HBITMAP bitmap;
    COLORREF textColor = 0;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int polyFillMode = ALTERNATE;
    int stretchMode = BLACKONWHITE;
    unsigned textAlign = TA_LEFT | TA_TOP;
    int mapMode = MM_TEXT;
    POINT windowOrg{0, 0};
    SIZE windowExt{1, 1};
    POINT viewportOrg{0, 0};
    SIZE viewportExt{1, 1};
    POINT brushOrg{0, 0};
    POINT currentPos{0, 0};
    std::optional<QRegion> clip;   // device pixels; none: the whole surface
};

class DeviceContext {
public:
    DeviceContext();
    virtual ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    // Capabilities: TECHNOLOGY, HORZRES, VERTRES, LOGPIXELSX/Y, BITSPIXEL,
    // PLANES, NUMCOLORS, RASTERCAPS, HORZSIZE, VERTSIZE, PHYSICAL*.
    virtual int GetDeviceCaps(int index) const = 0;

    // Selection: each returns what was selected before.
    virtual Pen SelectPen(const Pen& pen);
    virtual Brush SelectBrush(const Brush& brush);
    virtual HFONT SelectFont(const HFONT& font);
    // Memory contexts only; others return null and keep their surface.
    virtual HBITMAP SelectBitmap(const HBITMAP& bitmap);
    const Pen& CurrentPen() const { return st_.pen; }
    const Brush& CurrentBrush() const { return st_.brush; }
    HFONT CurrentFont() const { return st_.font; }
    HBITMAP CurrentBitmap() const { return st_.bitmap; }

    // Attributes: each returns the previous value.
    virtual COLORREF SetTextColor(COLORREF c);
    virtual COLORREF SetBkColor(COLORREF c);
    virtual int SetBkMode(int mode);              // 0 for an unknown mode
    virtual int SetROP2(int rop2);                // 0 for an unknown code
    virtual int SetPolyFillMode(int mode);
    virtual int SetStretchBltMode(int mode);
    virtual unsigned SetTextAlign(unsigned align);
    virtual bool SetBrushOrgEx(int x, int y, POINT* old = nullptr);
    COLORREF GetTextColor() const { return st_.textColor; }
    COLORREF GetBkColor() const { return st_.bkColor; }
    int GetBkMode() const { return st_.bkMode; }
    int GetROP2() const { return st_.rop2; }
    int GetPolyFillMode() const { return st_.polyFillMode; }
    int GetStretchBltMode() const { return st_.stretchMode; }
    unsigned GetTextAlign() const { return st_.textAlign; }
    // The colour the device shows for c (every colour on these devices).
    virtual COLORREF GetNearestColor(COLORREF c) const { return c & 0xFFFFFF; }

    // Mapping.
    virtual int SetMapMode(int mode);
    virtual bool SetWindowOrgEx(int x, int y, POINT* old = nullptr);
    virtual bool SetWindowExtEx(int cx, int cy, SIZE* old = nullptr);
    virtual bool SetViewportOrgEx(int x, int y, POINT* old = nullptr);
    virtual bool SetViewportExtEx(int cx, int cy, SIZE* old = nullptr);
    int GetMapMode() const { return st_.mapMode; }
    POINT GetWindowOrg() const { return st_.windowOrg; }
    SIZE GetWindowExt() const { return st_.windowExt; }
    POINT GetViewportOrg() const { return st_.viewportOrg; }
    SIZE GetViewportExt() const { return st_.viewportExt; }
    POINT LPtoDP(POINT p) const;
    POINT DPtoLP(POINT p) const;
    bool LPtoDP(POINT* pts, int n) const;
    bool DPtoLP(POINT* pts, int n) const;
    // True when logical and device units are the same size.
    bool unitScale() const;

    // Saved states: SaveDC returns the new depth (1, 2, ...); RestoreDC(-1)
    // the latest, RestoreDC(n) the one SaveDC returned n for.
    virtual int SaveDC();
    virtual bool RestoreDC(int saved);

    // Clipping. A null region removes the clip. Results are region kinds.
    virtual int SelectClipRgn(const Region* rgn);
    virtual int ExtSelectClipRgn(const Region* rgn, int mode);
    virtual int IntersectClipRect(int left, int top, int right, int bottom);
    virtual int ExcludeClipRect(int left, int top, int right, int bottom);
    int GetClipBox(RECT* r) const;                // logical coordinates
    std::optional<Region> GetClipRgn() const;     // device pixels; none without a clip
    bool PtVisible(int x, int y) const;

    // Lines.
    virtual bool MoveToEx(int x, int y, POINT* old = nullptr);
    POINT GetCurrentPositionEx() const { return st_.currentPos; }
    virtual bool LineTo(int x, int y) = 0;
    virtual bool Polyline(const POINT* pts, int n) = 0;
    // Fills with the brush by the polygon fill mode, then frames with the pen.
    virtual bool Polygon(const POINT* pts, int n) = 0;
    virtual bool PolyPolygon(const POINT* pts, const int* counts, int polys) = 0;
    virtual bool Rectangle(int left, int top, int right, int bottom) = 0;
    virtual bool Ellipse(int left, int top, int right, int bottom) = 0;

    // Pixels.
    virtual COLORREF SetPixel(int x, int y, COLORREF c) = 0;    // the colour set, or CLR_INVALID
    virtual bool SetPixelV(int x, int y, COLORREF c) = 0;
    virtual COLORREF GetPixel(int x, int y) const = 0;           // CLR_INVALID outside or unreadable

    // A patterned line: the pixels LineDDA steps from (x1, y1) to (x2, y2),
    // pixel k taking on[(phase + k) mod n] ? fore : back (CLR_INVALID
    // leaves the pixel), phase advancing by the pixels stepped. The base
    // steps through SetPixelV; back ends replace it with a direct path.
    virtual bool PatternLine(int x1, int y1, int x2, int y2, const uint8_t* on, int n, int64_t& phase,
                             COLORREF fore, COLORREF back);

    // Text. Sizes are those of the selected font; alignment, escapement,
    // background mode and colour apply as in GDI's TextOut.
    virtual bool TextOut(int x, int y, const QString& text);
    // The text in the program's ANSI code page (Shift-JIS).
    bool TextOutA(int x, int y, const QByteArray& ansi);
    virtual bool ExtTextOut(int x, int y, unsigned options, const RECT* rect, const QString& text);
    // The text at (x, y) in fore over n copies of it at (x, y) + offsets[i]
    // in halo: SetTextColor(halo), n TextOut, SetTextColor(fore), TextOut.
    // Devices that paint through one QPainter draw all copies with one
    // painter and one font set-up (paintTextHalo). Leaves fore selected.
    virtual bool TextOutHalo(int x, int y, const QString& text, COLORREF halo, COLORREF fore,
                             const POINT* offsets, int n);
    virtual bool GetTextExtentPoint32(const QString& text, SIZE* size) const;
    virtual bool GetTextMetrics(TEXTMETRIC* tm) const;
    // The face name of the selected font as asked for.
    QString GetTextFace() const;

    // Rectangles with a brush (the brush's own colours, no pen, no mix mode).
    virtual bool FillRect(const RECT& r, const Brush& brush) = 0;
    virtual bool InvertRect(const RECT& r);
    virtual bool FrameRect(const RECT& r, const Brush& brush);

    // Block transfers; logical destination, source in the source's logical
    // coordinates. A negative width or height mirrors.
    virtual bool PatBlt(int x, int y, int w, int h, uint32_t rop) = 0;
    virtual bool BitBlt(int x, int y, int w, int h, const DeviceContext* src, int sx, int sy, uint32_t rop);
    virtual bool StretchBlt(int x, int y, int w, int h, const DeviceContext* src, int sx, int sy, int sw, int sh,
                            uint32_t rop);
    // Device-independent bitmaps (source rows counted from the bottom of a
    // bottom-up picture, as in its file); the rows drawn, 0 on failure.
    virtual int StretchDIBits(int x, int y, int w, int h, int sx, int sy, int sw, int sh, const DIB& dib,
                              uint32_t rop);
    int SetDIBitsToDevice(int x, int y, int w, int h, int sx, int sy, const DIB& dib);

    // The surface as a bitmap source for transfers (null when the device
    // cannot be read, as a printer).
    virtual HBITMAP surfaceBitmap() const { return nullptr; }

protected:
    // A transfer in device pixels: src rectangle of the bitmap onto dst,
    // mirrored where asked. srcBk is the source context's background colour.
    struct Blit {
        QRect dst;
        QRect src;
        bool flipX = false;
        bool flipY = false;
        COLORREF srcBk = 0xFFFFFF;
        uint32_t rop = SRCCOPY;
    };
    virtual bool blitBitmap(const Blit& b, const Bitmap& src) = 0;
    // Text goes through a QPainter on the device, clipped to the clip
    // region, in device pixels; false when the device cannot draw.
    virtual bool paintText(const std::function<void(QPainter&)>& draw) = 0;
    // TextOutHalo through a single paintText call, the same pixels as copy
    // by copy where each copy lands on what the one before left.
    bool paintTextHalo(int x, int y, const QString& text, COLORREF halo, COLORREF fore,
                       const POINT* offsets, int n);
    // The device fonts are measured on (null: the screen).
    virtual const QPaintDevice* textDevice() const { return nullptr; }

    const DcState& state() const { return st_; }
    DcState& state() { return st_; }
    // Device rectangle of a logical one, normalised.
    QRect deviceRect(int left, int top, int right, int bottom) const;
    // Logical length along x to device pixels (pens, fonts).
    double scaleX() const;
    double scaleY() const;
    // Called after the clip or the selected bitmap changed.
    virtual void clipChanged() {}
    // The device pixels a clip may cover.
    virtual QRect surfaceRect() const = 0;

private:
    DcState st_;
    std::vector<DcState> saved_;
};

// A memory context compatible with the given one (or the screen): it draws
// into its selected bitmap, a 1 x 1 monochrome bitmap at first.
HDC CreateCompatibleDC(const DeviceContext* like);
void DeleteDC(HDC dc);
// A bitmap of the depth of the context (monochrome for a memory context
// holding a monochrome bitmap).
HBITMAP CreateCompatibleBitmap(const DeviceContext* dc, int width, int height);
// GetStockObject stand-ins keep their names in Gdi.h: StockPen, StockBrush, StockFont.

// Dash pattern of a cosmetic pen style: on and off run lengths.
std::vector<int> CosmeticDashes(int style);
// How a pen wider than a pixel is stroked: its own cap, join and dashes for
// a geometric pen; round and solid for an ordinary one.
struct WideStroke {
    Qt::PenCapStyle cap;
    Qt::PenJoinStyle join;
    Qt::PenStyle dash;
};
WideStroke WideStrokeOf(const Pen& pen);
// Hatch brush bit of a pixel (true: drawn in the brush colour).
bool HatchBit(int hatch, int x, int y);
// Result of a ROP2 code on 24-bit colours.
uint32_t ApplyRop2(int rop2, uint32_t dst, uint32_t pen);
// Result of a ternary raster operation on 24-bit colours.
uint32_t ApplyRop3(uint32_t rop, uint32_t pat, uint32_t src, uint32_t dst);

} // namespace plat
