// Value types and constants of the graphics device layer, shaped like
// Windows GDI, which the drawing code is written against: colours are
// 0x00BBGGRR, points and rectangles are 32-bit integers, a rectangle
// excludes its right and bottom edges, and pens, brushes, fonts and regions
// are values (selecting one into a device context copies it, so nothing has
// to be deleted).
#pragma once

#include <QRegion>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace plat {

using COLORREF = uint32_t;
constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }

// The standard 16-colour palette (0 black .. 15 white); an index outside
// 0..15 wraps into it.
constexpr COLORREF StandardColor16(int index) {
    constexpr COLORREF table[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    return table[index & 15];
}

struct POINT {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const POINT&, const POINT&) = default;
};
struct SIZE {
    int32_t cx = 0;
    int32_t cy = 0;
    friend bool operator==(const SIZE&, const SIZE&) = default;
};
struct RECT {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const RECT&, const RECT&) = default;
};

// Pen styles, with the flags of geometric pens.
enum : int {
    PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5, PS_INSIDEFRAME = 6,
    PS_STYLE_MASK = 0x0000000F,
    PS_ENDCAP_ROUND = 0x00000000, PS_ENDCAP_SQUARE = 0x00000100, PS_ENDCAP_FLAT = 0x00000200,
    PS_ENDCAP_MASK = 0x00000F00,
    PS_JOIN_ROUND = 0x00000000, PS_JOIN_BEVEL = 0x00001000, PS_JOIN_MITER = 0x00002000, PS_JOIN_MASK = 0x0000F000,
    PS_COSMETIC = 0x00000000, PS_GEOMETRIC = 0x00010000, PS_TYPE_MASK = 0x000F0000,
};

// Brush styles and hatches.
enum : int { BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = 1, BS_HATCHED = 2, BS_PATTERN = 3 };
enum : int { HS_HORIZONTAL = 0, HS_VERTICAL = 1, HS_FDIAGONAL = 2, HS_BDIAGONAL = 3, HS_CROSS = 4, HS_DIAGCROSS = 5 };

// Mix modes of pens and brushes (ROP2).
enum : int {
    R2_BLACK = 1, R2_NOTMERGEPEN = 2, R2_MASKNOTPEN = 3, R2_NOTCOPYPEN = 4, R2_MASKPENNOT = 5, R2_NOT = 6,
    R2_XORPEN = 7, R2_NOTMASKPEN = 8, R2_MASKPEN = 9, R2_NOTXORPEN = 10, R2_NOP = 11, R2_MERGENOTPEN = 12,
    R2_COPYPEN = 13, R2_MERGEPENNOT = 14, R2_MERGEPEN = 15, R2_WHITE = 16,
};

// Ternary raster operations of the block transfers (the high byte of the
// low 24 bits is the truth table over pattern, source and destination).
constexpr uint32_t SRCCOPY = 0x00CC0020;
constexpr uint32_t SRCPAINT = 0x00EE0086;
constexpr uint32_t SRCAND = 0x008800C6;
constexpr uint32_t SRCINVERT = 0x00660046;
constexpr uint32_t SRCERASE = 0x00440328;
constexpr uint32_t NOTSRCCOPY = 0x00330008;
constexpr uint32_t NOTSRCERASE = 0x001100A6;
constexpr uint32_t MERGECOPY = 0x00C000CA;
constexpr uint32_t MERGEPAINT = 0x00BB0226;
constexpr uint32_t PATCOPY = 0x00F00021;
constexpr uint32_t PATPAINT = 0x00FB0A09;
constexpr uint32_t PATINVERT = 0x005A0049;
constexpr uint32_t DSTINVERT = 0x00550009;
constexpr uint32_t BLACKNESS = 0x00000042;
constexpr uint32_t WHITENESS = 0x00FF0062;
// Where the source is black the brush is painted, where it is white the
// destination stays: how monochrome symbols and tiles are laid transparently.
constexpr uint32_t ROP_PSDPxax = 0x00B8074A;

constexpr int Rop3Index(uint32_t rop) { return static_cast<int>((rop >> 16) & 0xFF); }

enum : int { TRANSPARENT = 1, OPAQUE = 2 };
enum : int { ALTERNATE = 1, WINDING = 2 };
enum : int { BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4 };
enum : int { MM_TEXT = 1, MM_ISOTROPIC = 7, MM_ANISOTROPIC = 8 };

// Text alignment flags.
enum : unsigned {
    TA_NOUPDATECP = 0, TA_UPDATECP = 1, TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6,
    TA_TOP = 0, TA_BOTTOM = 8, TA_BASELINE = 24,
};
enum : unsigned { ETO_OPAQUE = 2, ETO_CLIPPED = 4 };

// Region combination and results.
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
enum : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

// Device capability indices and values.
enum : int {
    DRIVERVERSION = 0, TECHNOLOGY = 2, HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10, BITSPIXEL = 12,
    PLANES = 14, NUMBRUSHES = 16, NUMPENS = 18, NUMFONTS = 22, NUMCOLORS = 24, CURVECAPS = 28, LINECAPS = 30,
    POLYGONALCAPS = 32, TEXTCAPS = 34, CLIPCAPS = 36, RASTERCAPS = 38, ASPECTX = 40, ASPECTY = 42, ASPECTXY = 44,
    LOGPIXELSX = 88, LOGPIXELSY = 90, SIZEPALETTE = 104, NUMRESERVED = 106, COLORRES = 108,
    PHYSICALWIDTH = 110, PHYSICALHEIGHT = 111, PHYSICALOFFSETX = 112, PHYSICALOFFSETY = 113,
};
enum : int {
    DT_PLOTTER = 0, DT_RASDISPLAY = 1, DT_RASPRINTER = 2, DT_RASCAMERA = 3, DT_CHARSTREAM = 4, DT_METAFILE = 5,
    DT_DISPFILE = 6,
};
enum : int {
    RC_BITBLT = 0x0001, RC_BANDING = 0x0002, RC_SCALING = 0x0004, RC_BITMAP64 = 0x0008, RC_DI_BITMAP = 0x0080,
    RC_PALETTE = 0x0100, RC_DIBTODEV = 0x0200, RC_STRETCHBLT = 0x0800, RC_FLOODFILL = 0x1000,
    RC_STRETCHDIB = 0x2000,
};

// Stock objects.
enum : int {
    WHITE_BRUSH = 0, LTGRAY_BRUSH = 1, GRAY_BRUSH = 2, DKGRAY_BRUSH = 3, BLACK_BRUSH = 4, NULL_BRUSH = 5,
    WHITE_PEN = 6, BLACK_PEN = 7, NULL_PEN = 8, SYSTEM_FONT = 13, DEFAULT_GUI_FONT = 17,
};

// Font constants.
enum : int { FW_NORMAL = 400, FW_BOLD = 700 };
enum : int { ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SHIFTJIS_CHARSET = 128 };
enum : int { FF_DONTCARE = 0x00, FF_ROMAN = 0x10, FF_SWISS = 0x20, FF_MODERN = 0x30 };
// TMPF_FIXED_PITCH is set for variable pitch, as GDI's TEXTMETRIC has it.
enum : int { TMPF_FIXED_PITCH = 0x01, TMPF_VECTOR = 0x02, TMPF_TRUETYPE = 0x04 };
enum : int { RASTER_FONTTYPE = 0x0001, DEVICE_FONTTYPE = 0x0002, TRUETYPE_FONTTYPE = 0x0004 };
constexpr int LF_FACESIZE = 32;

class Bitmap;
using HBITMAP = std::shared_ptr<Bitmap>;

struct Pen {
    int style = PS_SOLID;   // dash style plus, for geometric pens, cap, join and type flags
    int width = 0;          // logical units; 0 and 1 draw one pixel wide
    COLORREF color = 0;
    friend bool operator==(const Pen&, const Pen&) = default;
    int dash() const { return style & PS_STYLE_MASK; }
    bool geometric() const { return (style & PS_TYPE_MASK) == PS_GEOMETRIC; }
};

struct Brush {
    int style = BS_SOLID;
    COLORREF color = 0;
    int hatch = HS_HORIZONTAL;
    std::shared_ptr<const Bitmap> pattern;  // BS_PATTERN: a private copy
};

Pen CreatePen(int style, int width, COLORREF color);
// Geometric pens take their colour from a solid brush.
Pen ExtCreatePen(int style, int width, const Brush& brush);
Brush CreateSolidBrush(COLORREF color);
Brush CreateHatchBrush(int hatch, COLORREF color);
// A monochrome pattern is drawn in the text colour (0 bits) and the
// background colour (1 bits) of the device context it fills on.
Brush CreatePatternBrush(const HBITMAP& bitmap);
Pen StockPen(int which);
Brush StockBrush(int which);

struct LOGFONT {
    int32_t lfHeight = 0;       // < 0: character height, > 0: cell height, 0: default
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;   // tenths of a degree, counter-clockwise
    int32_t lfOrientation = 0;
    int32_t lfWeight = FW_NORMAL;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = DEFAULT_CHARSET;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    QString lfFaceName;
};

struct TEXTMETRIC {
    int32_t tmHeight = 0;
    int32_t tmAscent = 0;
    int32_t tmDescent = 0;
    int32_t tmInternalLeading = 0;
    int32_t tmExternalLeading = 0;
    int32_t tmAveCharWidth = 0;
    int32_t tmMaxCharWidth = 0;
    int32_t tmWeight = 0;
    int32_t tmOverhang = 0;
    int32_t tmDigitizedAspectX = 0;
    int32_t tmDigitizedAspectY = 0;
    uint8_t tmFirstChar = 0;
    uint8_t tmLastChar = 0;
    uint8_t tmDefaultChar = 0;
    uint8_t tmBreakChar = 0;
    uint8_t tmItalic = 0;
    uint8_t tmUnderlined = 0;
    uint8_t tmStruckOut = 0;
    uint8_t tmPitchAndFamily = 0;
    uint8_t tmCharSet = 0;
};

// A logical font: the record it was made from and the installed family that
// stands for its face name.
struct FontObject {
    LOGFONT lf;
    QString family;
};
using HFONT = std::shared_ptr<const FontObject>;

// Fails (null) for a face name longer than the record holds or a height no
// device can render.
HFONT CreateFontIndirect(const LOGFONT& lf);
HFONT StockFont(int which);

// A clip region in device pixels.
class Region {
public:
    Region() = default;
    explicit Region(QRegion r) : r_(std::move(r)) {}
    const QRegion& qregion() const { return r_; }
    QRegion& qregion() { return r_; }
    int kind() const;   // NULLREGION, SIMPLEREGION or COMPLEXREGION
    RECT box() const;
    bool contains(int x, int y) const { return r_.contains(QPoint(x, y)); }
    void offset(int dx, int dy) { r_.translate(dx, dy); }

private:
    QRegion r_;
};

Region CreateRectRgn(int left, int top, int right, int bottom);
// The pixels a polygon fill of the same points covers, by fill mode.
Region CreatePolygonRgn(const POINT* pts, int n, int fillMode);
Region CreatePolyPolygonRgn(const POINT* pts, const int* counts, int polys, int fillMode);
// dest = a (mode) b; returns the kind of the result.
int CombineRgn(Region& dest, const Region& a, const Region& b, int mode);

// The record of a bitmap as its owner describes it.
struct BITMAP {
    int32_t bmType = 0;
    int32_t bmWidth = 0;
    int32_t bmHeight = 0;
    int32_t bmWidthBytes = 0;
    uint16_t bmPlanes = 0;
    uint16_t bmBitsPixel = 0;
    const void* bmBits = nullptr;
};

// A device-independent bitmap: rows bottom-up for a positive height, each row
// padded to 4 bytes; 1, 4 and 8 bits index the palette (0x00RRGGBB quads as
// stored in files: blue, green, red, reserved), 24 bits are blue, green, red.
struct DIB {
    int32_t width = 0;
    int32_t height = 0;
    int bitCount = 24;
    std::vector<uint32_t> palette;   // RGBQUAD values (0x00RRGGBB)
    QByteArray bits;
    int stride() const { return ((width * bitCount + 31) / 32) * 4; }
};

} // namespace plat
