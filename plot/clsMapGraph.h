// The drawing layer: the one object every map image, printed page,
// metafile, style sample and accessory is drawn through. Between GraphBegin
// and GraphEnd it wraps one device context and keeps a current pen, brush
// and point symbol; drawing calls take integer pixel coordinates.
//
// What a device context does not do alike on every device the layer does
// itself: wide dashed lines where no geometric pens exist (parallel one-pixel
// lines), bitmap line patterns stepped pixel by pixel with the pattern phase
// carried across the segments of a polyline, tiled fills clipped to a polygon,
// monochrome symbols with a halo, and sizes that follow the output
// resolution. While PostScriptEi is on every setting and drawing call is
// first written to the attached clsPostScript, then drawn as usual; a
// compound call (a rectangle drawn as a polyline, a patterned polyline drawn
// segment by segment) writes only its own line.
//
// Colours are Long values 0x00BBGGRR; -1 is none (nothing is drawn in it:
// a pen or brush whose fore colour is -1 draws nothing, a back colour of -1
// leaves gaps and halos out); a value with the top bit set names a system
// colour by its low byte.
//
// Ratios (per cent, integer arithmetic as written):
//   pattern ratio = min(ResolutionX x 100 div refX, ResolutionY x 100 div refY)
//   line ratio    = min of the line patterns' ratios 75 x Resolution div ref + 25
//   tile ratio    = pattern ratio, halved (with the high-resolution tiles)
//                   from 150 on
//   symbol scale  = SymbolRatio x Resolution div ref, taken to a multiple of
//                   50 ((v + 30) div 50 x 50), 25 at the smallest
// where ref is the screen's resolution. Halo offsets step by
// max(1, Resolution div 144) pixels.
//
// The font and text half of the layer (clsMapGraphText.cpp): a table of
// the installed faces, fonts chosen by face name, size in points, angle and
// decoration bits, texts anchored at one of 25 positions around a point
// with a halo or an opaque cell, folding and measuring. Face names as
// settings and thing catalogues hold them ("ＭＳ Ｐゴシック", "Arial")
// resolve through the platform's face mapping to installed families; a
// name found nowhere takes the default face, never no text. A text's
// height follows ResolutionY and TextRatio:
//   h = (Clamp(size, 5, 100) x ResolutionY div 72) x TextRatio div 100
// and its anchor offsets the font's height measure t and gap g:
//   g = max(t x 6 div 10 + 1, ResolutionY x TextRatio div 1800).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <tuple>
#include <vector>

#include "DeviceContext.h"
#include "StdFont.h"
#include "clsLine.h"
#include "clsPoly.h"
#include "clsRect.h"
#include "clsResLine.h"
#include "clsResSymbol.h"
#include "clsResTile.h"

class clsPostScript;

// The direction of a segment on the screen (y growing downwards): 0 up,
// 1 up-right, 2 right, 3 down-right, 4 down, 5 down-left, 6 left, 7 up-left;
// a slope below 41/100 of the main axis counts as straight. A segment of
// length zero gives 0.
int16_t LineDirection(const clsLine& line);
// Moves both ends one pixel sideways: with k odd by direction d, with k even
// by d + 1, so diagonal lines alternate between a horizontal and a vertical
// step. Directions 0, 1 step right, 2, 3 down, 4, 5 left, 6, 7 up.
void StepAside(clsLine& line, int16_t d, int32_t k);
// The closed five-point outline of a rectangle, clockwise from (x1, y1).
clsPoly RectToPoly(const clsRect& rect);

// Where a text goes: the reference point and the text alignment
// (TA_LEFT, TA_CENTER or TA_RIGHT, plus TA_BASELINE) of an anchor 0..24
// (wrapped into range): column anchor mod 5 (0 left with a gap, 1 left,
// 2 centred, 3 right, 4 right with a gap), row anchor div 5 (0 below the
// point, 1 hanging from it, 2 centred on it, 3 baseline on it, 4 above it),
// for a font of height measure t, gap g and escapement in tenths of a
// degree. The offset turns with the font; its x is scaled by resX / resY.
struct TextPlacement {
    int32_t x = 0;
    int32_t y = 0;
    unsigned align = 0;
};
TextPlacement PlaceText(int32_t X, int32_t Y, int32_t Align, int32_t gap, int32_t metric, int32_t escapement,
                        int32_t resX, int32_t resY);
// An offset turned by an angle in tenths of a degree, counter-clockwise on
// the screen (y down): multiples of 90 degrees exactly, others rounded half
// to even.
plat::POINT RotateOffset(int32_t dx, int32_t dy, int32_t angle10);
// Lines of a text no wider than maxWidth as `width` measures them, folded
// character by character: a carriage return ends a line, a line feed is
// dropped, and a character goes to a new line when the line before it is
// already wider than maxWidth (so a line may pass the width by its last
// character). At least one line, empty for an empty text.
QStringList FoldLines(const QString& text, int32_t maxWidth, const std::function<int32_t(const QString&)>& width);
// The application's default face: "メイリオ" when it is installed (itself
// or through the face mapping), else "ＭＳ Ｐゴシック".
QString ChooseDefaultFont();

class clsMapGraph {
public:
    static constexpr int32_t WIN_PEN_NUM = 6;
    static constexpr int32_t WIN_BRUSH_NUM = 7;
    static constexpr uint8_t FS_BOLD = 1;
    static constexpr uint8_t FS_ITALIC = 2;
    static constexpr uint8_t FS_UNDERLINE = 4;
    static constexpr uint8_t FS_STRIKEOUT = 8;
    static constexpr uint8_t FS_OPAQUE = 16;
    static constexpr int32_t FONT_HEIGHT_MIN = 5;
    static constexpr int32_t FONT_HEIGHT_MAX = 100;
    static constexpr int32_t FONT_HEIGHT_INVALID = -1;
    static constexpr int32_t LINE_WIDTH_MIN = 1;
    static constexpr int32_t LINE_WIDTH_MAX = 15;
    static constexpr int32_t LINE_WIDTH_INVALID = -1;

    enum class PenKind { Device = 1, Emulated = 2, Pattern = 3 };
    enum class BrushKind { Device = 1, Tiles = 2 };

    clsMapGraph();
    ~clsMapGraph();
    clsMapGraph(const clsMapGraph&) = delete;
    clsMapGraph& operator=(const clsMapGraph&) = delete;

    clsResLine& oFancyLines() { return *fancyLines_; }
    clsResSymbol& oSymbols() { return *symbols_; }
    clsResTile& oTiles() { return *tiles_; }
    // The attached mirror while PostScriptEi is on, else null.
    clsPostScript* oPostScript() const { return ps_.get(); }

    // The target while drawing, else null.
    plat::HDC handle() const { return drawing_ ? hdc_ : nullptr; }
    int32_t ViewLeft() const { return view_.x1; }
    int32_t ViewTop() const { return view_.y1; }
    int32_t ViewWidth() const { return view_.x2 - view_.x1 + 1; }
    int32_t ViewHeight() const { return view_.y2 - view_.y1 + 1; }

    // Output pixels per inch, accepted within 48..1440.
    int32_t ResolutionX() const { return resX_; }
    void setResolutionX(int32_t dpi);
    int32_t ResolutionY() const { return resY_; }
    void setResolutionY(int32_t dpi);
    // Per cent, accepted within 10..10000. The symbol ratio is kept halved
    // while the high-resolution symbols are in force when it is set, and read
    // back doubled while they are.
    int32_t SymbolRatio() const;
    void setSymbolRatio(int32_t percent);
    int32_t TextRatio() const { return textRatio_; }
    void setTextRatio(int32_t percent);
    QString DefaultFont() const { return defaultFont_; }
    void setDefaultFont(const QString& face) { defaultFont_ = face; }
    // On attaches a new mirror (when there is none); off releases it.
    bool PostScriptEi() const { return ps_ != nullptr; }
    void setPostScriptEi(bool on);

    // Starts drawing on hdc (raster displays, raster printers and
    // metafiles; anything else: False). Left and Top are clamped to
    // -32768..32767, Width and Height to 2..32767; a drawing under way is
    // ended first. Resolutions become the device's, ratios 100.
    bool GraphBegin(plat::HDC hdc, int32_t Left, int32_t Top, int32_t Width, int32_t Height);
    void GraphEnd();
    bool IsDrawing() const { return drawing_; }

    // Style 0..4 dash styles, 5 none (a solid line in Back when Back is
    // given), 102..145 bitmap line patterns, anything else solid. Width in
    // pixels 1..15 before the line ratio; patterns have their own thickness.
    bool SetPen(int16_t Style, int32_t Width, int32_t Fore, int32_t Back);
    // Style 0..5 hatches, 100..131 fill tiles, anything else solid.
    bool SetBrush(int16_t Style, int32_t Fore, int32_t Back);
    // Any bitmap as the current symbol (devices with block transfers only).
    bool SetBitmap(const plat::HBITMAP& hBitmap, int32_t Fore, int32_t Back);
    bool SetSymbol(int16_t Index, int32_t Fore, int32_t Back);

    // Called between the bands of rows in which a raster canvas of more
    // than kClearBandPixels x 4 pixels is cleared, so that a drawing can let
    // events in (a fill of 8000 x 8000 pixels takes tens of milliseconds);
    // the bands make the same pixels as one fill.
    std::function<void()> Pause;
    static constexpr int64_t kClearBandPixels = int64_t{1} << 20;

    // True when the drawing calls succeeded or there was nothing to draw.
    bool DrawClear();
    bool DrawLine(const clsLine& line);
    bool DrawStrokeRect(const clsRect& rect);
    bool DrawFillRect(const clsRect& rect);
    bool DrawPolyline(const clsPoly& poly);
    bool DrawPolygon(const clsPoly& poly);
    // The current symbol centred on the point.
    bool DrawPaint(int32_t X, int32_t Y);

    // Wide dashed pens as geometric pens (on) or as parallel one-pixel
    // lines (off, as on systems without geometric pens); on by default.
    void setGeometricPens(bool on) { geometricPens_ = on; }

    // What the settings made of their arguments, for the text half, the
    // style samples and the tests.
    struct PenInfo {
        PenKind kind = PenKind::Device;
        int32_t width = 1;                 // pixels; rows of a pattern
        int32_t fore = 0;                  // device colours, -1 none
        int32_t back = -1;
        plat::Pen pen;                     // the device pen (kinds 1 and 2)
        std::optional<plat::Pen> backPen;  // a solid pen drawn first
    };
    struct BrushInfo {
        BrushKind kind = BrushKind::Device;
        int32_t fore = 0;
        int32_t back = -1;
        plat::Brush brush;                 // kind 1
        int32_t tileWidth = 0;             // kind 2: destination tile size
        int32_t tileHeight = 0;
    };
    struct SymbolInfo {
        plat::HBITMAP bitmap;
        int32_t width = 0;                 // destination size
        int32_t height = 0;
        bool stretch = false;
        bool mono = true;
    };
    const PenInfo& CurrentPen() const { return pen_; }
    const BrushInfo& CurrentBrush() const { return brush_; }
    const SymbolInfo& CurrentSymbol() const { return symbol_; }
    int32_t PatternRatio() const { return patternRatio_; }
    int32_t LineRatio() const { return lineRatio_; }
    int32_t TileRatio() const { return tileRatio_; }
    int32_t SymbolScaleX() const { return symScaleX_; }
    int32_t SymbolScaleY() const { return symScaleY_; }
    // The eight halo offsets; the first four serve small symbols and texts.
    const std::array<plat::POINT, 8>& HaloOffsets() const { return halo_; }
    // Pixels of the current line pattern stepped so far.
    int64_t PatternPhase() const { return phase_; }
    // The device colour of a colour value on the current target.
    int32_t DeviceColor(int32_t color) const;

    // --- fonts and texts ---------------------------------------------------
    // Only while drawing, after the resolutions and TextRatio are set. The
    // name "(default)" (any case) stands for DefaultFont. Size in points
    // (5..100), Angle in degrees counter-clockwise (any, wrapped), Style the
    // FS_ bits; with a Back colour the text gets a halo, or with FS_OPAQUE
    // a filled cell. Equal arguments (the name in any case) are skipped.
    // False when the font cannot be made: "arFont.TXT" in the program's
    // folder then lists the font table, and the next call tries again.
    bool SetFont(const QString& FontName, int32_t Size, int32_t Angle, uint8_t Style, int32_t Fore, int32_t Back);
    // Name, size (rounded half to even), bold, italic, underline and
    // strike-out of a font object, upright, in Color without back colour;
    // the default face at 10 points when that font cannot be made.
    bool SetFontObject(const plat::FontRef& Font, int32_t Color);
    // The text in the ANSI code page (a zero byte ends it) at an anchor
    // 0..24 around the point (see PlaceText); a point outside the view or
    // an empty text draws nothing and is True. Halo copies: four below a
    // height measure of 28 pixels, eight from it on. The bytes are
    // Shift-JIS (a byte that is none shows as "?"); a text of characters
    // only ISO Latin-1 holds (IsLatin1Text) is drawn as Latin-1 text.
    bool DrawText(int32_t X, int32_t Y, int16_t Align, const QByteArray& ansi);
    bool DrawText(int32_t X, int32_t Y, int16_t Align, const QString& text);
    // The same for bytes known to be ISO Latin-1, such as a map's European
    // text: on every device (canvas, EPS, metafile) as Latin-1.
    bool DrawLatin1Text(int32_t X, int32_t Y, int16_t Align, const QByteArray& latin1);
    // FoldLines with the current font.
    QStringList FoldText(const QString& Text, int32_t MaxWidth);
    // The extent of the text's ANSI form in the font selected on hdc; an
    // empty text is 0 x 0 and True.
    bool GetTextExtent(plat::HDC hdc, const QString& Text, int32_t& Width, int32_t& Height) const;
    // The same on the measuring context; False (sizes unchanged) for an
    // empty text or when not drawing.
    bool GetTextSize(const QString& Text, int32_t& Width, int32_t& Height) const;

    // One face of the font table.
    struct FaceRecord {
        QString name;
        int32_t weight = 400;
        uint8_t pitchAndFamily = 0;
        uint8_t charSet = 0;
    };
    // The installed faces, enumerated once when first needed.
    const std::vector<FaceRecord>& FontTable();
    // Writes the font table to "arFont.TXT" in the program's folder.
    void WritearFont();

    // State of the font half, reset by GraphBegin and released by GraphEnd.
    struct FontState {
        plat::HFONT font;
        int32_t escapement = 0;   // tenths of a degree
        int32_t fore = 0;
        int32_t back = -1;
        bool halo = false;
        bool opaque = false;
        int32_t heightMetric = 0;
        int32_t gap = 8;
        bool exists = false;
    };
    const FontState& CurrentFont() const { return font_; }
    // Fonts made since GraphBegin (one per distinct face, height, angle and
    // decoration).
    size_t FontsMade() const { return fontCache_.size(); }

private:
    // Runs a procedure; a failure climbs on under this class and procedure.
    template <class F>
    static auto guarded(const char* procedure, F&& f) -> decltype(f()) {
        try {
            return f();
        } catch (...) {
            raiseError(procedure);
        }
    }
    [[noreturn]] static void raiseError(const char* procedure);
    // Counts a compound call's depth so the calls it makes write nothing.
    struct PsScope {
        explicit PsScope(clsMapGraph& g) : g_(g) { ++g_.psDepth_; }
        ~PsScope() { --g_.psDepth_; }
        clsMapGraph& g_;
    };
    // True when the mirror is on and no compound call is under way.
    bool psWrite() const;
    void applyBackColor(int32_t c);
    void updateRatios();
    void selectSymbolBitmap(const plat::HBITMAP& hBitmap, int32_t Fore, int32_t Back);
    bool drawPatternOrEmulated(clsLine line);
    // A fill with the device brush in its colours, without an outline.
    bool fillWithBrush(const std::function<bool()>& fill);
    // The back pen's stroke (when there is one), then the pen's.
    bool strokeWithPens(const std::function<bool()>& stroke);
    bool drawTiles(const clsPoly& poly);
    bool blitSymbol(int32_t x, int32_t y, uint32_t rop);
    bool isMetafile() const { return technology_ == plat::DT_METAFILE; }
    // DrawText of bytes already cut at their zero byte, read as Latin-1 or
    // else as ANSI.
    bool drawBytes(int32_t X, int32_t Y, int16_t Align, const QByteArray& bytes, bool latin1);
    // Selects the current font in this character set (ANSI_CHARSET for
    // Latin-1 texts, SHIFTJIS_CHARSET for Japanese ones).
    void selectCharSet(uint8_t charSet);

    std::unique_ptr<clsResLine> fancyLines_;
    std::unique_ptr<clsResSymbol> symbols_;
    std::unique_ptr<clsResTile> tiles_;
    std::unique_ptr<clsPostScript> ps_;
    int psDepth_ = 0;

    // device state
    bool drawing_ = false;
    plat::HDC hdc_ = nullptr;
    plat::HDC measure_ = nullptr;
    plat::HDC mem_ = nullptr;
    int technology_ = plat::DT_RASDISPLAY;
    int rasterCaps_ = 0;
    int64_t colorCount_ = int64_t(1) << 24;
    int savedDC_ = 0;
    std::optional<plat::Region> printerClip_;
    bool nt_ = true;
    bool geometricPens_ = true;
    clsRect view_;

    // ratios
    int32_t refX_ = 96;
    int32_t refY_ = 96;
    int32_t resX_ = 96;
    int32_t resY_ = 96;
    int32_t symbolRatio_ = 100;   // as stored (halved with high-resolution symbols)
    int32_t textRatio_ = 100;
    int32_t patternRatio_ = 100;
    int32_t lineRatio_ = 100;
    int32_t tileRatio_ = 100;
    int32_t symScaleX_ = 100;
    int32_t symScaleY_ = 100;
    std::array<plat::POINT, 8> halo_{};

    // pen, brush, symbol and the arguments that made them
    PenInfo pen_;
    bool penExists_ = false;
    std::array<int32_t, 4> penArgs_{};
    // The on/off rows of the pattern pen: straight and diagonal segments
    // (diagonals take a third more rows, their side steps being shorter).
    std::vector<std::vector<uint8_t>> rowsStraight_;
    std::vector<std::vector<uint8_t>> rowsDiagonal_;
    int64_t phase_ = 0;

    BrushInfo brush_;
    bool brushExists_ = false;
    std::array<int32_t, 3> brushArgs_{};
    plat::HBITMAP tile_;
    int32_t tileSrcW_ = 0;
    int32_t tileSrcH_ = 0;
    bool tileMono_ = true;

    SymbolInfo symbol_;
    int32_t symSrcW_ = 0;
    int32_t symSrcH_ = 0;
    int32_t symFore_ = 0;
    int32_t symBack_ = -1;
    std::optional<plat::Brush> symForeBrush_;
    std::optional<plat::Brush> symBackBrush_;
    plat::HBITMAP bitmapArgBitmap_;
    std::array<int32_t, 2> bitmapArgs_{};
    bool symbolArgsValid_ = false;   // the symbol was chosen by SetSymbol
    std::array<int32_t, 3> symbolArgs_{};

    // The face record standing for a name: the used faces first, then the
    // table, then the default face, then the table's first face.
    const FaceRecord* findFace(const QString& name);
    void drawTextCopies(const TextPlacement& at, const QString& text);

    FontState font_;
    QString defaultFont_;
    struct FontArgs {
        QString name;
        int32_t size, angle;
        uint8_t style;
        int32_t fore, back;
    };
    std::optional<FontArgs> fontArgs_;
    std::vector<FaceRecord> fontTable_;
    bool fontTableBuilt_ = false;
    // Faces already resolved, by the case-folded name asked for.
    std::map<QString, FaceRecord> usedFaces_;
    struct MadeFont {
        plat::HFONT font;
        int32_t heightMetric = 0;
    };
    std::map<std::tuple<QString, int32_t, int32_t, uint8_t>, MadeFont> fontCache_;
    // The made fonts in the character sets of the texts drawn with them,
    // by the made font and the set.
    std::map<std::pair<const plat::FontObject*, uint8_t>, plat::HFONT> charSetFonts_;
};

// The program's one drawing layer, created at start-up.
extern clsMapGraph* gvMapGraph;
