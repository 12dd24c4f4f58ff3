#include "clsMapGraph.h"

#include "AppState.h"
#include "ErrorMng.h"
#include "SysColors.h"
#include "basApiLib.h"
#include "basLibrary.h"
#include "clsPostScript.h"

#include <algorithm>
#include <cmath>

using namespace plat;

clsMapGraph* gvMapGraph = nullptr;

void clsMapGraph::raiseError(const char* procedure) {
    RaiseError(ErrGeneral, QStringLiteral("clsMapGraph"), QString::fromLatin1(procedure));
}

namespace {

constexpr int32_t kNone = -1;

COLORREF colorRef(int32_t c) { return c == kNone ? CLR_INVALID : static_cast<COLORREF>(c); }

bool isPatternStyle(int32_t s) { return s >= 102 && s <= 145; }
bool isTileStyle(int32_t s) { return s >= 100 && s <= 131; }

// The on/off rows of a pattern at its current ratios, one byte a pixel.
std::vector<std::vector<uint8_t>> patternRows(const clsResLine& lines) {
    std::vector<std::vector<uint8_t>> rows(size_t(std::max(0, lines.DstThick())));
    for (size_t k = 0; k < rows.size(); ++k) {
        const std::vector<bool> cycle = lines.CycleArray(0, static_cast<int32_t>(k));
        rows[k].assign(cycle.begin(), cycle.end());
    }
    return rows;
}

} // namespace

int16_t LineDirection(const clsLine& line) {
    int64_t dx = int64_t(line.x2) - line.x1, dy = int64_t(line.y2) - line.y1;
    int flags = 0;
    if (dx < 0) {
        flags |= 1;
        dx = -dx;
    }
    if (dy < 0) {
        flags |= 2;
        dy = -dy;
    }
    if (dy > dx) {
        flags |= 4;
        std::swap(dx, dy);
    }
    if (dx < 1) return 0;
    int c = 100 * dy < 41 * dx ? 2 : 3;
    if (flags & 4) c = 6 - c;
    if (flags & 2) c = 4 - c;
    if (flags & 1) c = 8 - c;
    return static_cast<int16_t>(c == 8 ? 0 : c);
}

void StepAside(clsLine& line, int16_t d, int32_t k) {
    const int dir = (k & 1) ? d : ((d + 1) & 7);
    switch (dir) {
    case 0:
    case 1: ++line.x1; ++line.x2; break;
    case 2:
    case 3: ++line.y1; ++line.y2; break;
    case 4:
    case 5: --line.x1; --line.x2; break;
    default: --line.y1; --line.y2; break;
    }
}

clsPoly RectToPoly(const clsRect& r) {
    clsPoly p;
    p.AddXandY(r.x1, r.y1);
    p.AddXandY(r.x2, r.y1);
    p.AddXandY(r.x2, r.y2);
    p.AddXandY(r.x1, r.y2);
    p.AddXandY(r.x1, r.y1);
    return p;
}

// --- creation and settings -------------------------------------------------------

clsMapGraph::clsMapGraph()
    : fancyLines_(std::make_unique<clsResLine>()), symbols_(std::make_unique<clsResSymbol>()),
      tiles_(std::make_unique<clsResTile>()), defaultFont_(gvDefaultFont) {
    // The screen's resolution stands in until the first GraphBegin.
    const HDC probe = CreateCompatibleDC(nullptr);
    refX_ = resX_ = probe->GetDeviceCaps(LOGPIXELSX);
    refY_ = resY_ = probe->GetDeviceCaps(LOGPIXELSY);
    DeleteDC(probe);
    updateRatios();
}

clsMapGraph::~clsMapGraph() { GraphEnd(); }

void clsMapGraph::setResolutionX(int32_t dpi) {
    if (dpi < 48 || dpi > 1440) return;
    resX_ = dpi;
    updateRatios();
}

void clsMapGraph::setResolutionY(int32_t dpi) {
    if (dpi < 48 || dpi > 1440) return;
    resY_ = dpi;
    updateRatios();
}

int32_t clsMapGraph::SymbolRatio() const { return symbols_->Resolution() != 0 ? symbolRatio_ * 2 : symbolRatio_; }

void clsMapGraph::setSymbolRatio(int32_t percent) {
    if (percent < 10 || percent > 10000) return;
    symbolRatio_ = symbols_->Resolution() == 1 ? percent / 2 : percent;
    updateRatios();
}

void clsMapGraph::setTextRatio(int32_t percent) {
    if (percent < 10 || percent > 10000) return;
    textRatio_ = percent;
    updateRatios();
}

void clsMapGraph::setPostScriptEi(bool on) {
    if (!on) ps_.reset();
    else if (!ps_) ps_ = std::make_unique<clsPostScript>();
    if (ps_) updateRatios();
}

bool clsMapGraph::psWrite() const { return ps_ && psDepth_ == 0; }

void clsMapGraph::updateRatios() {
    const int32_t rx = static_cast<int32_t>(int64_t(resX_) * 100 / refX_);
    const int32_t ry = static_cast<int32_t>(int64_t(resY_) * 100 / refY_);
    patternRatio_ = std::min(rx, ry);
    fancyLines_->setRatioX(static_cast<int32_t>(75 * int64_t(resX_) / refX_ + 25));
    fancyLines_->setRatioY(static_cast<int32_t>(75 * int64_t(resY_) / refY_ + 25));
    lineRatio_ = std::min(fancyLines_->RatioX(), fancyLines_->RatioY());
    const bool high = patternRatio_ >= 150;
    tiles_->setResolution(high ? 1 : 0);
    tileRatio_ = high ? patternRatio_ / 2 : patternRatio_;
    symbols_->setResolution(high ? 1 : 0);
    auto symScale = [&](int32_t res, int32_t ref) {
        const int64_t v = int64_t(symbolRatio_) * res / ref;
        return static_cast<int32_t>(v >= 25 ? ((v + 30) / 50) * 50 : 25);
    };
    symScaleX_ = symScale(resX_, refX_);
    symScaleY_ = symScale(resY_, refY_);
    const int32_t dx = std::max(1, resX_ / 144), dy = std::max(1, resY_ / 144);
    halo_ = {POINT{-dx, 0}, POINT{dx, 0}, POINT{0, -dy}, POINT{0, dy},
             POINT{-dx, -dy}, POINT{dx, -dy}, POINT{-dx, dy}, POINT{dx, dy}};
    // Sizes made for the old ratios are made again on the next setting.
    penExists_ = false;
    brushExists_ = false;
    symbolArgsValid_ = false;
    bitmapArgBitmap_.reset();
    fontArgs_.reset();
    if (ps_) {
        ps_->setPolylineRatio(patternRatio_);
        ps_->setPolygonRatio(patternRatio_);
        ps_->setSymbolRatio(static_cast<int32_t>(int64_t(SymbolRatio()) * patternRatio_ / 100));
        ps_->setTextRatio(static_cast<int32_t>(int64_t(textRatio_) * patternRatio_ / 100));
    }
}

int32_t clsMapGraph::DeviceColor(int32_t color) const {
    if (color == kNone) return kNone;
    uint32_t c = static_cast<uint32_t>(color);
    if (IsSysColor(c)) c = GetSysColor(static_cast<int>(c & 0xFF));
    c &= 0xFFFFFF;
    if (colorCount_ >= (int64_t(1) << 24)) return static_cast<int32_t>(c);
    if (colorCount_ > 256 && hdc_) return static_cast<int32_t>(hdc_->GetNearestColor(c));
    return static_cast<int32_t>(c | 0x02000000u);
}

void clsMapGraph::applyBackColor(int32_t c) {
    if (c != kNone) {
        hdc_->SetBkMode(OPAQUE);
        hdc_->SetBkColor(static_cast<COLORREF>(c));
    } else {
        hdc_->SetBkMode(TRANSPARENT);
    }
}

// --- begin and end ---------------------------------------------------------------

bool clsMapGraph::GraphBegin(HDC hdc, int32_t Left, int32_t Top, int32_t Width, int32_t Height) {
    return guarded("GraphBegin", [&] {
        if (drawing_) GraphEnd();
        psDepth_ = 0;
        if (!hdc) return false;
        Left = Clamp(Left, -32768, 32767);
        Top = Clamp(Top, -32768, 32767);
        Width = Clamp(Width, 2, 32767);
        Height = Clamp(Height, 2, 32767);
        nt_ = IsWindowsNT() && geometricPens_;
        rasterCaps_ = hdc->GetDeviceCaps(RASTERCAPS);
        technology_ = hdc->GetDeviceCaps(TECHNOLOGY);
        if (technology_ != DT_RASDISPLAY && technology_ != DT_RASPRINTER && technology_ != DT_METAFILE) return false;
        mem_ = CreateCompatibleDC(nullptr);
        if (!mem_) return false;
        mem_->SetMapMode(MM_TEXT);
        int bits = hdc->GetDeviceCaps(BITSPIXEL);
        if (bits < 2) bits = hdc->GetDeviceCaps(PLANES);
        colorCount_ = int64_t(1) << Clamp(bits, 1, 24);
        hdc_ = hdc;
        measure_ = isMetafile() ? mem_ : hdc;
        refX_ = mem_->GetDeviceCaps(LOGPIXELSX);
        refY_ = mem_->GetDeviceCaps(LOGPIXELSY);
        setResolutionX(measure_->GetDeviceCaps(LOGPIXELSX));
        setResolutionY(measure_->GetDeviceCaps(LOGPIXELSY));
        if (isMetafile()) {
            hdc->SetMapMode(MM_ANISOTROPIC);
            hdc->SetWindowOrgEx(Left, Top);
            hdc->SetWindowExtEx(Width, Height);
            savedDC_ = 0;
        } else {
            savedDC_ = hdc->SaveDC();
            hdc->SetMapMode(MM_TEXT);
            hdc->SetWindowOrgEx(Left, Top);
            hdc->SetViewportOrgEx(Left, Top);
        }
        if (technology_ == DT_RASPRINTER) {
            // The whole view, its last column and row included.
            printerClip_ = CreateRectRgn(Left, Top, Left + Width, Top + Height);
            hdc->SelectClipRgn(&*printerClip_);
        }
        hdc->SetStretchBltMode(WHITEONBLACK);
        hdc->SetROP2(R2_COPYPEN);
        pen_ = PenInfo{};
        brush_ = BrushInfo{};
        symbol_ = SymbolInfo{};
        font_ = FontState{};
        fontArgs_.reset();
        fontCache_.clear();
        charSetFonts_.clear();
        symFore_ = 0;
        symBack_ = kNone;
        symForeBrush_.reset();
        symBackBrush_.reset();
        rowsStraight_.clear();
        rowsDiagonal_.clear();
        setTextRatio(100);
        setSymbolRatio(100);
        view_ = clsRect(Left, Top, Left + Width - 1, Top + Height - 1);
        drawing_ = true;
        return true;
    });
}

void clsMapGraph::GraphEnd() {
    if (!drawing_) return;
    printerClip_.reset();
    hdc_->SelectPen(StockPen(BLACK_PEN));
    hdc_->SelectBrush(StockBrush(GRAY_BRUSH));
    hdc_->SelectFont(StockFont(SYSTEM_FONT));
    mem_->SelectFont(StockFont(SYSTEM_FONT));
    pen_ = PenInfo{};
    brush_ = BrushInfo{};
    font_ = FontState{};
    fontArgs_.reset();
    fontCache_.clear();
    charSetFonts_.clear();
    symForeBrush_.reset();
    symBackBrush_.reset();
    if (savedDC_ > 0) hdc_->RestoreDC(savedDC_);
    savedDC_ = 0;
    hdc_ = nullptr;
    measure_ = nullptr;
    DeleteDC(mem_);
    mem_ = nullptr;
    symbol_ = SymbolInfo{};
    tile_.reset();
    bitmapArgBitmap_.reset();
    penExists_ = brushExists_ = symbolArgsValid_ = false;
    fancyLines_->setRatioX(100);
    fancyLines_->setRatioY(100);
    drawing_ = false;
}

// --- pen, brush, symbol ----------------------------------------------------------

bool clsMapGraph::SetPen(int16_t Style, int32_t Width, int32_t Fore, int32_t Back) {
    return guarded("SetPen", [&] {
        if (!drawing_) return false;
        const std::array<int32_t, 4> args{Style, Width, Fore, Back};
        if (penExists_ && args == penArgs_) return true;
        penArgs_ = args;
        if (ps_) ps_->psSetPen(Style, Width, PsResolveColor(Fore), PsResolveColor(Back));
        PenInfo p;
        p.fore = DeviceColor(Fore);
        p.back = DeviceColor(Back);
        int style = Style;
        if (style == PS_NULL) {
            if (p.back != kNone) {
                style = PS_SOLID;
                p.fore = p.back;
            }
        } else if (isPatternStyle(style)) {
            p.kind = PenKind::Pattern;
        } else if (style < PS_SOLID || style > PS_NULL) {
            style = PS_SOLID;
        }
        if (p.kind == PenKind::Pattern) {
            fancyLines_->setIndex(Style);
            fancyLines_->setRatioX(lineRatio_);
            fancyLines_->setRatioY(lineRatio_);
            rowsStraight_ = patternRows(*fancyLines_);
            fancyLines_->setRatioY(lineRatio_ * 4 / 3);
            rowsDiagonal_ = patternRows(*fancyLines_);
            fancyLines_->setRatioY(lineRatio_);
            p.width = fancyLines_->DstThick();
            phase_ = 0;
            pen_ = p;
            penExists_ = true;
            return true;
        }
        p.width = static_cast<int32_t>(int64_t(Clamp(Width, LINE_WIDTH_MIN, LINE_WIDTH_MAX)) * lineRatio_ / 100);
        if (p.fore == kNone) style = PS_NULL;
        if (p.width < 2 || style == PS_SOLID || style == PS_NULL) {
            p.pen = CreatePen(style, p.width, colorRef(p.fore));
        } else if (nt_) {
            constexpr int kGeometric = PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_BEVEL;
            p.pen = ExtCreatePen(kGeometric | style, p.width, CreateSolidBrush(colorRef(p.fore)));
            if (p.back != kNone) p.backPen = ExtCreatePen(kGeometric, p.width, CreateSolidBrush(colorRef(p.back)));
        } else {
            p.kind = PenKind::Emulated;
            p.pen = CreatePen(style, 1, colorRef(p.fore));
        }
        hdc_->SelectPen(p.pen);
        pen_ = p;
        penExists_ = true;
        return true;
    });
}

bool clsMapGraph::SetBrush(int16_t Style, int32_t Fore, int32_t Back) {
    return guarded("SetBrush", [&] {
        if (!drawing_) return false;
        const std::array<int32_t, 3> args{Style, Fore, Back};
        if (brushExists_ && args == brushArgs_) return true;
        brushArgs_ = args;
        if (ps_) ps_->psSetBrush(Style, PsResolveColor(Fore), PsResolveColor(Back));
        BrushInfo b;
        b.fore = DeviceColor(Fore);
        b.back = DeviceColor(Back);
        int style = Style;
        tile_.reset();
        if (isTileStyle(style)) {
            tile_ = tiles_->handle(Style);
            const BITMAP info = GetBitmapInfo(tile_);
            tileSrcW_ = info.bmWidth;
            tileSrcH_ = info.bmHeight;
            tileMono_ = info.bmPlanes == 1 && info.bmBitsPixel == 1;
            if (tileSrcW_ < 1 || tileSrcH_ < 1) {
                style = 6;
                tile_.reset();
            }
        }
        if (b.fore == kNone) {
            b.brush = StockBrush(NULL_BRUSH);
        } else if (tile_) {
            const bool plainPattern = tileSrcW_ == 8 && tileSrcH_ == 8 && tileRatio_ == 100 && b.back != kNone;
            const bool blits = (rasterCaps_ & (RC_BITBLT | RC_STRETCHBLT)) != 0;
            if (plainPattern || isMetafile() || !blits) {
                b.brush = CreatePatternBrush(tile_);
            } else {
                b.kind = BrushKind::Tiles;
                // At least a pixel, so the tiling always moves on.
                b.tileWidth = std::max(1, static_cast<int32_t>(int64_t(tileRatio_) * tileSrcW_ / 100));
                b.tileHeight = std::max(1, static_cast<int32_t>(int64_t(tileRatio_) * tileSrcH_ / 100));
                brush_ = b;
                brushExists_ = true;
                return true;
            }
        } else if (style < 0 || style > 5) {
            b.brush = CreateSolidBrush(colorRef(b.fore));
        } else {
            b.brush = CreateHatchBrush(style, colorRef(b.fore));
        }
        hdc_->SelectBrush(b.brush);
        brush_ = b;
        brushExists_ = true;
        return true;
    });
}

void clsMapGraph::selectSymbolBitmap(const HBITMAP& hBitmap, int32_t Fore, int32_t Back) {
    symFore_ = DeviceColor(Fore);
    symBack_ = DeviceColor(Back);
    const BITMAP info = GetBitmapInfo(hBitmap);
    SymbolInfo s;
    s.bitmap = hBitmap;
    s.mono = info.bmPlanes == 1 && info.bmBitsPixel == 1;
    symSrcW_ = info.bmWidth;
    symSrcH_ = info.bmHeight;
    if (rasterCaps_ & RC_STRETCHBLT) {
        s.width = static_cast<int32_t>(int64_t(symScaleX_) * symSrcW_ / 100);
        s.height = static_cast<int32_t>(int64_t(symScaleY_) * symSrcH_ / 100);
        s.stretch = s.width != symSrcW_ || s.height != symSrcH_;
    } else {
        s.width = symSrcW_;
        s.height = symSrcH_;
    }
    mem_->SelectBitmap(hBitmap);
    symForeBrush_.reset();
    symBackBrush_.reset();
    if (s.mono) {
        if (symFore_ != kNone) symForeBrush_ = CreateSolidBrush(colorRef(symFore_));
        if (symBack_ != kNone) symBackBrush_ = CreateSolidBrush(colorRef(symBack_));
    }
    symbol_ = s;
}

bool clsMapGraph::SetBitmap(const HBITMAP& hBitmap, int32_t Fore, int32_t Back) {
    return guarded("SetBitmap", [&] {
        if (!drawing_ || !(rasterCaps_ & RC_BITBLT)) return false;
        const std::array<int32_t, 2> args{Fore, Back};
        if (symbol_.bitmap && bitmapArgBitmap_ == hBitmap && args == bitmapArgs_) return true;
        symbolArgsValid_ = false;
        const BITMAP info = GetBitmapInfo(hBitmap);
        if (info.bmWidth < 1 || info.bmHeight < 1) return false;
        bitmapArgBitmap_ = hBitmap;
        bitmapArgs_ = args;
        selectSymbolBitmap(hBitmap, Fore, Back);
        return true;
    });
}

bool clsMapGraph::SetSymbol(int16_t Index, int32_t Fore, int32_t Back) {
    return guarded("SetSymbol", [&] {
        if (!drawing_ || !(rasterCaps_ & RC_BITBLT)) return false;
        const std::array<int32_t, 3> args{Index, Fore, Back};
        if (symbol_.bitmap && symbolArgsValid_ && args == symbolArgs_) return true;
        if (ps_) ps_->psSetSymbol(Index, 0, PsResolveColor(Fore), PsResolveColor(Back));
        const bool ok = SetBitmap(symbols_->handle(Index), Fore, Back);
        symbolArgsValid_ = ok;
        symbolArgs_ = args;
        return ok;
    });
}

// --- drawing -----------------------------------------------------------------------

bool clsMapGraph::DrawClear() {
    return guarded("DrawClear", [&] {
        if (!drawing_) return false;
        if (psWrite()) ps_->psClear();
        PsScope scope(*this);
        clsRect all = view_;
        all.Extention(1);
        const int64_t width = int64_t{all.x2} - all.x1 + 1, height = int64_t{all.y2} - all.y1 + 1;
        if (!Pause || isMetafile() || brush_.kind == BrushKind::Tiles || width * height <= 4 * kClearBandPixels)
            return DrawFillRect(all);
        // Each band ends on the row above the next band's first, and the
        // last takes the rest.
        const int64_t rows = std::max<int64_t>(16, kClearBandPixels / width);
        const int64_t end = int64_t{all.y2} + 1;
        for (int64_t top = all.y1; top < end;) {
            int64_t next = top + rows;
            if (end - next < rows / 2) next = end;
            clsRect band = all;
            band.y1 = static_cast<int32_t>(top);
            band.y2 = static_cast<int32_t>(next - 1);
            if (!DrawFillRect(band)) return false;
            if (next < end) Pause();
            top = next;
        }
        return true;
    });
}

bool clsMapGraph::DrawFillRect(const clsRect& Rect) {
    return guarded("DrawFillRect", [&] {
        if (!drawing_) return false;
        clsRect r = Rect;
        r.Formalize();
        if (isMetafile()) {
            r.OpeAnd(view_);
            if (r.IsEmpty()) return true;
        }
        if (psWrite()) ps_->psFillRect(r);
        PsScope scope(*this);
        if (brush_.kind == BrushKind::Tiles) return DrawPolygon(RectToPoly(r));
        // Beyond the view one pixel is as good as any: no edge can overflow.
        clsRect around = view_;
        around.Extention(1);
        r.OpeAnd(around);
        if (r.IsEmpty()) return true;
        return fillWithBrush([&] { return r.Draw(hdc_); });
    });
}

bool clsMapGraph::fillWithBrush(const std::function<bool()>& fill) {
    hdc_->SetTextColor(colorRef(brush_.fore));
    applyBackColor(brush_.back);
    const Pen old = hdc_->SelectPen(StockPen(NULL_PEN));
    const bool ok = fill();
    hdc_->SelectPen(old);
    return ok;
}

bool clsMapGraph::DrawStrokeRect(const clsRect& Rect) {
    return guarded("DrawStrokeRect", [&] {
        if (!drawing_) return false;
        if (psWrite()) ps_->psStrokeRect(Rect);
        PsScope scope(*this);
        return DrawPolyline(RectToPoly(Rect));
    });
}

bool clsMapGraph::DrawLine(const clsLine& Line) {
    return guarded("DrawLine", [&] {
        if (!drawing_) return false;
        clsLine l = Line;
        if (!l.Clip(view_)) return true;
        if (psWrite()) ps_->psStrokeLine(l);
        PsScope scope(*this);
        applyBackColor(pen_.back);
        if (pen_.kind != PenKind::Device) return drawPatternOrEmulated(l);
        return strokeWithPens([&] { return l.Draw(hdc_); });
    });
}

bool clsMapGraph::strokeWithPens(const std::function<bool()>& stroke) {
    bool ok = true;
    if (pen_.backPen) {
        hdc_->SelectPen(*pen_.backPen);
        ok = stroke();
        hdc_->SelectPen(pen_.pen);
    }
    return stroke() && ok;
}

bool clsMapGraph::drawPatternOrEmulated(clsLine l) {
    const int16_t d = LineDirection(l);
    const bool diagonal = (d & 1) != 0;
    const std::vector<std::vector<uint8_t>>& rows = diagonal ? rowsDiagonal_ : rowsStraight_;
    int32_t n = pen_.width;
    if (pen_.kind == PenKind::Emulated && diagonal) n = n * 4 / 3;
    if (pen_.kind == PenKind::Pattern) n = static_cast<int32_t>(rows.size());
    if (n < 1) return true;
    clsRect wide = view_;
    wide.Extention(n);
    if (!l.Clip(wide)) return true;
    for (int32_t k = n / 2; k >= 1; --k) StepAside(l, static_cast<int16_t>(d ^ 4), k);
    if (pen_.kind == PenKind::Emulated) {
        bool ok = true;
        for (int32_t k = 1; k <= n; ++k) {
            hdc_->MoveToEx(l.x1, l.y1);
            ok = hdc_->LineTo(l.x2, l.y2) && ok;
            StepAside(l, d, k);
        }
        return ok;
    }
    const int64_t start = phase_;
    const COLORREF fore = colorRef(pen_.fore), back = colorRef(pen_.back);
    for (int32_t k = 1; k <= n; ++k) {
        phase_ = start;
        const std::vector<uint8_t>& row = rows[size_t(k - 1)];
        if (row.empty()) break;
        if (!hdc_->PatternLine(l.x1, l.y1, l.x2, l.y2, row.data(), static_cast<int>(row.size()), phase_, fore, back))
            return false;
        StepAside(l, d, k);
    }
    return true;
}

bool clsMapGraph::DrawPolyline(const clsPoly& Poly) {
    return guarded("DrawPolyline", [&] {
        if (!drawing_) return false;
        if (psWrite()) ps_->psStrokePoly(Poly);
        PsScope scope(*this);
        if (Poly.Count() < 2) return true;
        if (pen_.kind != PenKind::Device) {
            phase_ = 0;
            bool ok = true;
            const auto pts = Poly.Points();
            for (size_t i = 1; i < pts.size(); ++i)
                ok = DrawLine(clsLine(pts[i - 1].x, pts[i - 1].y, pts[i].x, pts[i].y)) && ok;
            return ok;
        }
        applyBackColor(pen_.back);
        if (!isMetafile()) return strokeWithPens([&] { return Poly.DrawPolyline(hdc_); });
        const PolyCollection pieces = Poly.Clips(view_);
        return strokeWithPens([&] {
            bool ok = true;
            for (const clsPoly& p : pieces) ok = p.DrawPolyline(hdc_) && ok;
            return ok;
        });
    });
}

bool clsMapGraph::DrawPolygon(const clsPoly& Poly) {
    return guarded("DrawPolygon", [&] {
        if (!drawing_) return false;
        const clsPoly* poly = &Poly;
        clsPoly clipped;
        if (isMetafile()) {
            clipped = Poly;
            if (!clipped.Clip(view_)) return true;
            poly = &clipped;
        }
        if (psWrite()) ps_->psFillPoly(*poly);
        PsScope scope(*this);
        if (poly->Count() < 2) return true;
        if (brush_.kind == BrushKind::Tiles) return drawTiles(*poly);
        return fillWithBrush([&] { return poly->DrawPolygon(hdc_); });
    });
}

bool clsMapGraph::drawTiles(const clsPoly& poly) {
    const HBITMAP oldBitmap = mem_->SelectBitmap(tile_);
    const auto pts = poly.Points();
    std::vector<POINT> points(pts.size());
    for (size_t i = 0; i < pts.size(); ++i) points[i] = POINT{pts[i].x, pts[i].y};
    const Region area = CreatePolygonRgn(points.data(), static_cast<int>(points.size()), WINDING);
    const std::optional<Region> oldClip = hdc_->GetClipRgn();
    hdc_->ExtSelectClipRgn(&area, RGN_AND);

    const int32_t dw = brush_.tileWidth, dh = brush_.tileHeight;
    const clsRect bounds = poly.RectBound();
    // The tiles lie on a grid from the origin; floor keeps the grid and
    // covers negative coordinates too.
    auto gridStart = [](int32_t v, int32_t step) {
        int64_t q = v / step;
        if (int64_t(q) * step > v) --q;
        return q * step;
    };
    const int64_t left = gridStart(bounds.x1, dw), top = gridStart(bounds.y1, dh);

    uint32_t rop = SRCCOPY;
    const Brush oldBrush = hdc_->CurrentBrush();
    const bool transparent = tileMono_ && brush_.back == kNone;
    if (tileMono_ && !transparent) {
        hdc_->SetTextColor(colorRef(brush_.fore));
        hdc_->SetBkColor(colorRef(brush_.back));
    } else if (transparent) {
        hdc_->SetTextColor(0);
        hdc_->SetBkColor(0xFFFFFF);
        hdc_->SelectBrush(CreateSolidBrush(colorRef(brush_.fore)));
        rop = ROP_PSDPxax;
    }
    bool ok = true;
    for (int64_t y = top; y <= bounds.y2; y += dh)
        for (int64_t x = left; x <= bounds.x2; x += dw)
            ok = hdc_->StretchBlt(static_cast<int>(x), static_cast<int>(y), dw, dh, mem_, 0, 0, tileSrcW_, tileSrcH_, rop);
    if (transparent) hdc_->SelectBrush(oldBrush);
    hdc_->SelectClipRgn(oldClip ? &*oldClip : nullptr);
    if (oldBitmap) mem_->SelectBitmap(oldBitmap);
    return ok;
}

bool clsMapGraph::blitSymbol(int32_t x, int32_t y, uint32_t rop) {
    if (symbol_.stretch)
        return hdc_->StretchBlt(x, y, symbol_.width, symbol_.height, mem_, 0, 0, symSrcW_, symSrcH_, rop);
    return hdc_->BitBlt(x, y, symbol_.width, symbol_.height, mem_, 0, 0, rop);
}

bool clsMapGraph::DrawPaint(int32_t X, int32_t Y) {
    return guarded("DrawPaint", [&] {
        if (!drawing_) return false;
        if (!view_.IsInner(X, Y)) return true;
        if (psWrite()) ps_->psDrawSymbol(X, Y);
        PsScope scope(*this);
        if (!symbol_.bitmap) return false;
        const int32_t x = X - symbol_.width / 2, y = Y - symbol_.height / 2;
        if (!symbol_.mono) return blitSymbol(x, y, SRCCOPY);
        hdc_->SetTextColor(0);
        hdc_->SetBkColor(0xFFFFFF);
        // The symbol's brushes go back off the context, so the current brush
        // fills the next polygon.
        const Brush oldBrush = hdc_->CurrentBrush();
        bool ok = true;
        if (symBackBrush_) {
            hdc_->SelectBrush(*symBackBrush_);
            const int copies = symbol_.width + symbol_.height < 48 ? 4 : 8;
            for (int i = 0; i < copies; ++i) ok = blitSymbol(x + halo_[size_t(i)].x, y + halo_[size_t(i)].y, ROP_PSDPxax) && ok;
        }
        if (symForeBrush_) {
            hdc_->SelectBrush(*symForeBrush_);
            ok = blitSymbol(x, y, ROP_PSDPxax) && ok;
        }
        hdc_->SelectBrush(oldBrush);
        return ok;
    });
}
