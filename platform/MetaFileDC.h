// The metafile back end of the device context: it draws nothing and
// records every state change and drawing call as its Windows metafile
// (WMF) record, so a player can draw the picture again at any size.
//
// Records. Coordinates are logical and 16-bit in the file: values outside
// -32768..32767 are clamped (the drawing layer clips to its view first).
// Pens, brushes, fonts and clip regions become objects of the player's
// object table, each created in the lowest free slot as a player assigns
// them, selected, and deleted once neither the context nor a saved state
// (SaveDC) still uses it. Bit-block transfers carry their source as a
// 24-bit device-independent bitmap; a monochrome source is coloured first
// with the text colour (0 bits) and background colour (1 bits) of the
// moment, as it would land on a colour device. A monochrome pattern brush
// stays one bit a pixel and takes the player's text and background colours.
//
// Dashed pens are recorded solid and their lines cut into the dashes the
// canvas draws (players draw the format's dash styles each their own way):
// one-pixel pens 18 on, 6 off (dots 3, 3); wider ones in multiples of their
// width (dash 4, gap 2, dot 1). The outline of a filled shape stays solid.
//
// Not recorded: the brush origin (the format has no record for it) and
// SelectBitmap (no surface). GetPixel gives CLR_INVALID; the context cannot
// be the source of a transfer. Texts are measured on a screen-compatible
// memory context with the same font, and written in the character set of
// the selected font: ISO Latin-1 for ANSI_CHARSET, else code page 932.
//
// Limits of the format: a polygon keeps at most 32767 points (runs of
// repeated points are dropped first; beyond that the call fails); a longer
// polyline is split into pieces that share their end points; a text of
// more than 8192 bytes and a clip region too complex for one record fail.
//
// Capabilities: technology DT_METAFILE, 24 bits per pixel, one plane, the
// resolution of the screen, block and stretched transfers of bitmaps and
// DIBs; no size (HORZRES, VERTRES 0).
#pragma once

#include <QByteArray>

#include <memory>
#include <vector>

#include "DeviceContext.h"

namespace plat {

class BinaryWriter;

// Record functions of the format (the high byte of most is the number of
// parameter words).
enum : uint16_t {
    META_EOF = 0x0000,
    META_SAVEDC = 0x001E,
    META_SETBKMODE = 0x0102,
    META_SETMAPMODE = 0x0103,
    META_SETROP2 = 0x0104,
    META_SETPOLYFILLMODE = 0x0106,
    META_SETSTRETCHBLTMODE = 0x0107,
    META_RESTOREDC = 0x0127,
    META_SELECTCLIPREGION = 0x012C,
    META_SELECTOBJECT = 0x012D,
    META_SETTEXTALIGN = 0x012E,
    META_DIBCREATEPATTERNBRUSH = 0x0142,
    META_DELETEOBJECT = 0x01F0,
    META_SETBKCOLOR = 0x0201,
    META_SETTEXTCOLOR = 0x0209,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_SETVIEWPORTORG = 0x020D,
    META_SETVIEWPORTEXT = 0x020E,
    META_LINETO = 0x0213,
    META_MOVETO = 0x0214,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_POLYGON = 0x0324,
    META_POLYLINE = 0x0325,
    META_EXCLUDECLIPRECT = 0x0415,
    META_INTERSECTCLIPRECT = 0x0416,
    META_ELLIPSE = 0x0418,
    META_RECTANGLE = 0x041B,
    META_SETPIXEL = 0x041F,
    META_TEXTOUT = 0x0521,
    META_POLYPOLYGON = 0x0538,
    META_PATBLT = 0x061D,
    META_CREATEREGION = 0x06FF,
    META_EXTTEXTOUT = 0x0A32,
    META_DIBSTRETCHBLT = 0x0B41,
    META_STRETCHDIB = 0x0F43,
};

// Brush styles of recorded pattern brushes.
enum : int { BS_DIBPATTERNPT = 6 };

// A finished recording.
class MetaFile {
public:
    // The standard metafile: the 18-byte header (memory metafile, version
    // 0x0300, size and largest record in 16-bit words, object table size),
    // the records and the end record.
    QByteArray bits() const;
    size_t recordCount() const { return count_ + 1; }   // with the end record
    int objectCount() const { return objects_; }

private:
    friend class MetaFileDC;
    QByteArray records_;
    size_t count_ = 0;
    uint32_t maxRecordWords_ = 3;
    int objects_ = 0;
    std::vector<int> live_;   // slots still held when the recording ended
    int openSaves_ = 0;       // SaveDC levels never restored
};
using HMETAFILE = std::shared_ptr<const MetaFile>;

// The dashes of a line under an on/off pattern (lengths in logical units,
// the first one drawn), each a polyline of its own; the pattern runs on
// across the line's corners.
std::vector<std::vector<POINT>> DashPieces(const POINT* pts, int n, const std::vector<double>& pattern);

class MetaFileDC : public DeviceContext {
public:
    MetaFileDC();
    ~MetaFileDC() override;

    // Ends the recording; every later call fails. Null when already closed.
    HMETAFILE Close();
    bool isOpen() const { return open_; }
    size_t recordCount() const { return count_; }

    // Records the drawing of a finished recording inside a saved state, so
    // that its state changes end with it and this context goes on as it
    // was. Only on a context that holds no objects yet (a new one); false
    // otherwise, because the played records name their objects by slot.
    bool Play(const MetaFile& mf);

    int GetDeviceCaps(int index) const override;

    Pen SelectPen(const Pen& pen) override;
    Brush SelectBrush(const Brush& brush) override;
    HFONT SelectFont(const HFONT& font) override;

    COLORREF SetTextColor(COLORREF c) override;
    COLORREF SetBkColor(COLORREF c) override;
    int SetBkMode(int mode) override;
    int SetROP2(int rop2) override;
    int SetPolyFillMode(int mode) override;
    int SetStretchBltMode(int mode) override;
    unsigned SetTextAlign(unsigned align) override;

    int SetMapMode(int mode) override;
    bool SetWindowOrgEx(int x, int y, POINT* old = nullptr) override;
    bool SetWindowExtEx(int cx, int cy, SIZE* old = nullptr) override;
    bool SetViewportOrgEx(int x, int y, POINT* old = nullptr) override;
    bool SetViewportExtEx(int cx, int cy, SIZE* old = nullptr) override;

    int SaveDC() override;
    bool RestoreDC(int saved) override;

    // Regions are in the player's device units.
    int ExtSelectClipRgn(const Region* rgn, int mode) override;
    int IntersectClipRect(int left, int top, int right, int bottom) override;
    int ExcludeClipRect(int left, int top, int right, int bottom) override;

    bool MoveToEx(int x, int y, POINT* old = nullptr) override;
    bool LineTo(int x, int y) override;
    bool Polyline(const POINT* pts, int n) override;
    bool Polygon(const POINT* pts, int n) override;
    bool PolyPolygon(const POINT* pts, const int* counts, int polys) override;
    bool Rectangle(int left, int top, int right, int bottom) override;
    bool Ellipse(int left, int top, int right, int bottom) override;

    COLORREF SetPixel(int x, int y, COLORREF c) override;
    bool SetPixelV(int x, int y, COLORREF c) override;
    COLORREF GetPixel(int x, int y) const override;

    bool TextOut(int x, int y, const QString& text) override;
    bool ExtTextOut(int x, int y, unsigned options, const RECT* rect, const QString& text) override;
    bool GetTextExtentPoint32(const QString& text, SIZE* size) const override;
    // A text as the selected font's character set writes it.
    QByteArray textBytes(const QString& text) const;
    bool GetTextMetrics(TEXTMETRIC* tm) const override;

    // A temporary brush object for the one fill.
    bool FillRect(const RECT& r, const Brush& brush) override;
    bool PatBlt(int x, int y, int w, int h, uint32_t rop) override;
    bool StretchBlt(int x, int y, int w, int h, const DeviceContext* src, int sx, int sy, int sw, int sh,
                    uint32_t rop) override;
    int StretchDIBits(int x, int y, int w, int h, int sx, int sy, int sw, int sh, const DIB& dib,
                      uint32_t rop) override;

protected:
    bool blitBitmap(const Blit& b, const Bitmap& src) override;
    bool paintText(const std::function<void(QPainter&)>& draw) override;
    QRect surfaceRect() const override;

private:
    struct Slots {
        int pen = -1, brush = -1, font = -1;   // -1: the player's default object
    };
    void record(uint16_t function, const std::function<void(BinaryWriter&)>& params);
    int createObject(uint16_t function, const std::function<void(BinaryWriter&)>& params);
    int createBrush(const Brush& b);
    void selectObject(int slot);
    void deleteObject(int slot);
    // Deletes every object that neither the context nor a saved state uses.
    void collect();
    bool recordRegion(const QRegion& r);
    bool polyRecord(uint16_t function, const POINT* pts, int n);
    // A line of the current pen: a dashed pen's dashes are recorded as solid
    // pieces, so that every player draws them as the canvas does.
    void strokeRecord(const POINT* pts, int n);

    QByteArray records_;
    size_t count_ = 0;
    uint32_t maxRecordWords_ = 3;
    std::vector<bool> used_;   // the player's object table
    int tableSize_ = 0;
    Slots cur_;
    std::vector<Slots> saved_;
    bool open_ = true;
    std::unique_ptr<DeviceContext> measure_;
};

// The 40-byte information header of a device-independent bitmap, as BMP
// files and metafile records carry it: planes 1, no compression, image
// size, resolution and colour counts 0 (a palette of 2^bitCount entries
// follows for 8 bits and fewer).
void WriteBitmapInfoHeader(BinaryWriter& w, int32_t width, int32_t height, int bitCount);

} // namespace plat
