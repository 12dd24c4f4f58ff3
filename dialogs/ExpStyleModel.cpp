#include "ExpStyleModel.h"

#include <array>
#include <utility>

#include "MessageBox.h"
#include "RainbowBox.h"
#include "RasterDC.h"
#include "ResString.h"
#include "SysColors.h"
#include "basLibrary.h"
#include "clsMapGraph.h"

using namespace plat;

namespace {

// The cell number under a point of a grid of cols x rows cells, -1 outside.
// Integer cell sizes leave a strip right of the last column and below the
// last row that belongs to no cell.
int32_t CellAt(int32_t x, int32_t y, int32_t w, int32_t h, int32_t cols, int32_t rows) {
    const int32_t cw = w / cols, ch = h / rows;
    if (cw <= 0 || ch <= 0 || x < 0 || y < 0) return -1;
    const int32_t col = x / cw, row = y / ch;
    if (col >= cols || row >= rows) return -1;
    return col + row * cols;
}

// Names of the plain styles, by string resource (3000 + brush, 4000 + pen);
// the texts below stand in while the string table lacks them.
const std::array<const char16_t*, 7> kBrushNames = {u"標準横縞", u"標準縦縞", u"標準右下がり斜線", u"標準右上がり斜線",
                                                    u"標準格子", u"標準斜め格子", u"標準単色"};
const std::array<const char16_t*, 6> kPenNames = {u"標準実線", u"標準破線", u"標準点線", u"標準一点鎖線", u"標準二点鎖線",
                                                  u"標準透明"};

QString ResourceName(int id, const char16_t* fallback) {
    const QString s = LoadResString(id);
    return s.isEmpty() ? QString::fromUtf16(fallback) : s;
}

RealColorInput& colorInput() {
    static RealColorInput input = [](int32_t color) -> int32_t {
        COLORREF c = color < 0 ? 0 : static_cast<COLORREF>(color);
        return ChooseColor(c) ? static_cast<int32_t>(c & 0xFFFFFF) : -2;
    };
    return input;
}

} // namespace

int16_t PatternHit(int32_t X, int32_t Y, int32_t ScaleWidth, int32_t ScaleHeight) {
    const int32_t n = CellAt(X, Y, ScaleWidth, ScaleHeight, 8, 5);
    if (n >= 1 && n <= 7) return static_cast<int16_t>(n - 1);
    if (n >= 8 && n <= 39) return static_cast<int16_t>(n + 92);
    return -1;
}

int16_t StyleHit(int32_t X, int32_t Y, int32_t ScaleWidth, int32_t ScaleHeight) {
    const int32_t n = CellAt(X, Y, ScaleWidth, ScaleHeight, 4, 13);
    if (n >= 0 && n < clsMapGraph::WIN_PEN_NUM) return static_cast<int16_t>(n);
    if (n >= 8 && n <= 51) return static_cast<int16_t>(n + 94);
    return -1;
}

int16_t SymbolHit(int32_t X, int32_t Y, int32_t ScaleWidth, int32_t ScaleHeight) {
    return static_cast<int16_t>(CellAt(X, Y, ScaleWidth, ScaleHeight, 8, 6));
}

QString PlainBrushName(int16_t index) {
    if (index < 0 || index >= static_cast<int16_t>(kBrushNames.size())) return QString();
    return ResourceName(3000 + index, kBrushNames[size_t(index)]);
}

QString PlainPenName(int16_t index) {
    if (index < 0 || index >= static_cast<int16_t>(kPenNames.size())) return QString();
    return ResourceName(4000 + index, kPenNames[size_t(index)]);
}

RealColorInput SetRealColorInput(RealColorInput input) { return std::exchange(colorInput(), std::move(input)); }

int32_t InputRealColor(int32_t color) { return colorInput() ? colorInput()(color) : -2; }

GraphScope::~GraphScope() {
    if (g.IsDrawing()) g.GraphEnd();
}

clsMapGraph& StyleGraph() {
    if (gvMapGraph) return *gvMapGraph;
    static clsMapGraph own;
    return own;
}

// --- the common part -------------------------------------------------------------

void ExpStyleModel::Open() {
    DialogOK = false;
    if (Back == -1) {
        Back = 0xFFFFFF;
        secondOn_ = false;
    } else {
        secondOn_ = true;
    }
}

QString ExpStyleModel::Caption() const { return DesignedCaption() + QStringLiteral(" - ") + Title; }

bool ExpStyleModel::ChooseFore() {
    const int32_t c = InputRealColor(Fore);
    if (c < 0) return false;
    Fore = c;
    return true;
}

bool ExpStyleModel::ChooseBack() {
    const int32_t c = InputRealColor(Back);
    if (c < 0) return false;
    Back = c;
    secondOn_ = true;
    return true;
}

void ExpStyleModel::Accept() {
    if (!secondOn_) Back = -1;
    DialogOK = true;
}

void ExpStyleModel::Cancel() { DialogOK = false; }

bool ExpStyleModel::Pick(int32_t x, int32_t y, int32_t w, int32_t h) {
    const int16_t i = Hit(x, y, w, h);
    if (i < 0) return false;
    Style = i;
    return true;
}

QString ExpStyleModel::TooltipAt(int32_t x, int32_t y, int32_t w, int32_t h) const {
    const int16_t i = Hit(x, y, w, h);
    return i < 0 ? QString() : StyleName(i);
}

void ExpStyleModel::ForEachStyleCell(int32_t cols, int32_t rows, int32_t w, int32_t h, int32_t dx, int32_t dy,
                                     const std::function<void(int32_t, int32_t, int16_t, int32_t)>& draw) const {
    const int32_t cw = w / cols, ch = h / rows;
    for (int32_t row = 0; row < rows; ++row) {
        for (int32_t col = 0; col < cols; ++col) {
            const int32_t x = col * cw + dx, y = row * ch + dy;
            const int16_t i = Hit(x, y, w, h);
            if (i >= 0) draw(x, y, i, i == Style ? kCurrentColor : kGridForeColor);
        }
    }
}

void ExpStyleModel::PaintSample(HDC dc, int32_t w, int32_t h) const {
    DrawRainbowBox(*dc, w, h);
    clsMapGraph& g = StyleGraph();
    const GraphScope scope{g};
    if (g.GraphBegin(dc, 0, 0, w, h)) DrawSample(g, w, h);
}

namespace {

// Opens the layer on a grid picture and clears it in the grid's back colour,
// with the plain styles' band over the top `bandHeight` pixels (none for 0).
bool BeginGrid(clsMapGraph& g, HDC dc, int32_t w, int32_t h, int32_t bandHeight) {
    if (!g.GraphBegin(dc, 0, 0, w, h)) return false;
    g.SetBrush(8, ExpStyleModel::kGridBackColor, -1);
    g.DrawClear();
    if (bandHeight > 0) {
        g.SetBrush(8, ExpStyleModel::kBandColor, -1);
        g.DrawFillRect(clsRect(0, 0, w, bandHeight));
    }
    return true;
}

} // namespace

// --- fill patterns ---------------------------------------------------------------

QString ExpPolygonModel::DesignedCaption() const { return QStringLiteral("多辺形事象図式"); }

QString ExpPolygonModel::StyleName(int16_t index) const {
    if (index >= 0 && index < clsMapGraph::WIN_BRUSH_NUM) return PlainBrushName(index);
    return StyleGraph().oTiles().Name(index);
}

void ExpPolygonModel::PaintGrid(HDC dc, int32_t w, int32_t h) const {
    const int32_t cw = w / 8, ch = h / 5;
    clsMapGraph& g = StyleGraph();
    const GraphScope scope{g};
    if (!BeginGrid(g, dc, w, h, ch + 1)) return;
    ForEachStyleCell(8, 5, w, h, 4, 3, [&](int32_t x, int32_t y, int16_t i, int32_t color) {
        const clsRect cell(x, y, x + cw - 3, y + ch - 3);
        g.SetBrush(i, color, -1);
        g.DrawFillRect(cell);
        g.SetPen(0, 1, color, -1);
        g.DrawStrokeRect(cell);
    });
}

void ExpPolygonModel::DrawSample(clsMapGraph& g, int32_t w, int32_t h) const {
    // A cross, corners in twentieths of the picture.
    static constexpr int32_t kCross[12][2] = {{7, 1},   {13, 1},  {13, 6}, {19, 6}, {19, 14}, {13, 14},
                                              {13, 19}, {7, 19}, {7, 14}, {1, 14}, {1, 6},   {7, 6}};
    clsPoly cross;
    for (const auto& k : kCross) cross.AddXandY(k[0] * w / 20, k[1] * h / 20);
    g.SetBrush(Style, Fore, SecondColor());
    g.DrawPolygon(cross);
}

// --- line styles -----------------------------------------------------------------

QString ExpPolylineModel::DesignedCaption() const { return QStringLiteral("連続線事象図式"); }

QString ExpPolylineModel::StyleName(int16_t index) const {
    if (index >= 0 && index < clsMapGraph::WIN_PEN_NUM) return PlainPenName(index);
    if (index < 102 || index > 145) return QString();
    clsResLine& lines = StyleGraph().oFancyLines();
    lines.setIndex(index);
    return lines.Name();
}

void ExpPolylineModel::PaintGrid(HDC dc, int32_t w, int32_t h) const {
    const int32_t cw = w / 4, ch = h / 13;
    clsMapGraph& g = StyleGraph();
    const GraphScope scope{g};
    if (!BeginGrid(g, dc, w, h, 2 * ch)) return;
    ForEachStyleCell(4, 13, w, h, 1, 2, [&](int32_t x, int32_t y, int16_t i, int32_t color) {
        g.SetPen(i, 1, color, -1);
        g.DrawLine(clsLine(x + 3, y + 6, x + cw - 4, y + 6));
        g.SetPen(0, 1, color, -1);
        g.DrawStrokeRect(clsRect(x, y, x + cw - 2, y + ch - 2));
    });
}

bool ExpPolylineModel::WidthEnabled() const { return Style < clsMapGraph::WIN_PEN_NUM; }

int ExpPolylineModel::WidthIndex() const {
    if (Size < clsMapGraph::LINE_WIDTH_MIN || Size > clsMapGraph::LINE_WIDTH_MAX) return -1;
    return Size - clsMapGraph::LINE_WIDTH_MIN;
}

void ExpPolylineModel::ChooseWidth(int entry) {
    if (entry < 0 || entry > clsMapGraph::LINE_WIDTH_MAX - clsMapGraph::LINE_WIDTH_MIN) return;
    Size = entry + clsMapGraph::LINE_WIDTH_MIN;
}

void ExpPolylineModel::DrawSample(clsMapGraph& g, int32_t w, int32_t h) const {
    // A zigzag, in tenths of the width and twenty-fifths of the height.
    static constexpr int32_t kZigzag[5][2] = {{1, 10}, {2, 8}, {3, 21}, {4, 4}, {9, 4}};
    clsPoly line;
    for (const auto& k : kZigzag) line.AddXandY(k[0] * w / 10, k[1] * h / 25);
    g.SetPen(Style, Size, Fore, SecondColor());
    g.DrawPolyline(line);
}

// --- point symbols ---------------------------------------------------------------

QString ExpSymbolModel::DesignedCaption() const { return QStringLiteral("点記号事象図式"); }

QString ExpSymbolModel::StyleName(int16_t index) const { return StyleGraph().oSymbols().Name(index); }

void ExpSymbolModel::PaintGrid(HDC dc, int32_t w, int32_t h) const {
    const int32_t cw = w / 8, ch = h / 6;
    if (cw < 3 || ch < 3) return;
    dc->FillRect(RECT{0, 0, w, h}, CreateSolidBrush(TranslateColor(static_cast<uint32_t>(kGridBackColor))));
    // Each symbol is drawn alone on a scratch canvas twice the cell, then
    // copied into its cell: at its own size when it fits, shrunk otherwise.
    const int32_t canvasW = 2 * cw, canvasH = 2 * ch;
    RasterDC canvas(Bitmap::Create(canvasW, canvasH, 32), dc->GetDeviceCaps(LOGPIXELSX));
    clsMapGraph& g = StyleGraph();
    const GraphScope scope{g};
    if (!g.GraphBegin(&canvas, 0, 0, canvasW, canvasH)) return;
    g.SetBrush(8, kGridBackColor, -1);
    const ResBitmapSet& symbols = g.oSymbols();
    ForEachStyleCell(8, 6, w, h, 3, 2, [&](int32_t x, int32_t y, int16_t i, int32_t color) {
        const HBITMAP bitmap = symbols.handle(i);
        const int32_t sw = Clamp(bitmap ? bitmap->width() : 0, cw - 2, canvasW);
        const int32_t sh = Clamp(bitmap ? bitmap->height() : 0, ch - 2, canvasH);
        g.DrawClear();
        g.SetSymbol(i, color, -1);
        g.DrawPaint(canvasW / 2, canvasH / 2);
        dc->StretchBlt(x, y, cw - 2, ch - 2, &canvas, (canvasW - sw) / 2, (canvasH - sh) / 2, sw, sh, SRCCOPY);
        dc->SelectPen(CreatePen(PS_SOLID, 1, TranslateColor(static_cast<uint32_t>(color))));
        dc->SelectBrush(StockBrush(NULL_BRUSH));
        dc->Rectangle(x, y, x + cw - 2, y + ch - 2);
    });
}

void ExpSymbolModel::DrawSample(clsMapGraph& g, int32_t w, int32_t h) const {
    g.SetSymbol(Style, Fore, SecondColor());
    g.DrawPaint(w / 2, h / 2);
}

ExpPolygonModel& ExpPolygon() {
    static ExpPolygonModel m;
    return m;
}

ExpPolylineModel& ExpPolyline() {
    static ExpPolylineModel m;
    return m;
}

ExpSymbolModel& ExpSymbol() {
    static ExpSymbolModel m;
    return m;
}
