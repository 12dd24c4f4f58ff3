// patternsheet: draws every built-in pattern bitmap (point symbols, fill
// tiles, line patterns) in both resolutions with its number and name into
// one PNG, so a person can check the artwork at a glance. Symbols are drawn
// at twice their size, tiles three by three, lines three cycles long.
//
//   patternsheet [pattern_contact_sheet.png]
#include "RasterDC.h"
#include "clsResLine.h"
#include "clsResSymbol.h"
#include "clsResTile.h"

#include <QGuiApplication>

#include <cstdio>
#include <vector>

using namespace plat;

namespace {

struct Item {
    QString label;
    HBITMAP low, high;
    enum Kind { Symbol, Tile, Line } kind;
};

std::vector<Item> AllPatterns() {
    clsResTile tiles;
    clsResSymbol symbols;
    clsResLine lines;
    std::vector<Item> items;
    for (int16_t n = 0; n < 48; ++n) {
        symbols.setResolution(0);
        const HBITMAP low = symbols.handle(n);
        symbols.setResolution(1);
        items.push_back({QStringLiteral("%1 %2").arg(n).arg(symbols.Name(n)), low, symbols.handle(n), Item::Symbol});
    }
    for (int16_t n = 100; n <= 131; ++n) {
        tiles.setResolution(0);
        const HBITMAP low = tiles.handle(n);
        tiles.setResolution(1);
        items.push_back({QStringLiteral("%1 %2").arg(n).arg(tiles.Name(n)), low, tiles.handle(n), Item::Tile});
    }
    for (int16_t n = 102; n <= 145; ++n) {
        lines.setIndex(n);
        items.push_back({QStringLiteral("%1 %2").arg(n).arg(lines.Name()), lines.Bitmap(n, 0), lines.Bitmap(n, 1), Item::Line});
    }
    return items;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("pattern_contact_sheet.png");
    const std::vector<Item> items = AllPatterns();

    const int cw = 250, ch = 130, cols = 6;
    const int rows = static_cast<int>((items.size() + cols - 1) / cols);
    HBITMAP sheet = Bitmap::Create(cw * cols, ch * rows, 32);
    RasterDC dc(sheet, 96);
    dc.SelectBrush(CreateSolidBrush(0));
    dc.SetStretchBltMode(COLORONCOLOR);
    dc.SetBkMode(TRANSPARENT);
    LOGFONT lf;
    lf.lfHeight = -13;
    lf.lfFaceName = QStringLiteral("ＭＳ Ｐゴシック");
    dc.SelectFont(CreateFontIndirect(lf));
    HDC mem = CreateCompatibleDC(&dc);
    int missing = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const Item& item = items[i];
        const int x0 = int(i % cols) * cw, y0 = int(i / cols) * ch;
        dc.SelectPen(CreatePen(PS_SOLID, 1, RGB(200, 200, 200)));
        dc.SelectBrush(StockBrush(NULL_BRUSH));
        dc.Rectangle(x0, y0, x0 + cw, y0 + ch);
        dc.SelectBrush(CreateSolidBrush(0));
        int x = x0 + 6, y = y0 + 24;
        for (const HBITMAP& b : {item.low, item.high}) {
            if (!b) {
                std::fprintf(stderr, "no bitmap: %s\n", qPrintable(item.label));
                ++missing;
                continue;
            }
            mem->SelectBitmap(b);
            const int w = b->width(), h = b->height();
            const int zoom = item.kind == Item::Tile && w > 16 ? 1 : 2;
            const int repsX = item.kind == Item::Symbol ? 1 : 3, repsY = item.kind == Item::Tile ? 3 : 1;
            for (int ry = 0; ry < repsY; ++ry)
                for (int rx = 0; rx < repsX; ++rx)
                    dc.StretchBlt(x + rx * w * zoom, y + ry * h * zoom, w * zoom, h * zoom, mem, 0, 0, w, h, ROP_PSDPxax);
            if (item.kind == Item::Line) y += h * zoom + 10;
            else x += repsX * w * zoom + 10;
        }
        dc.TextOut(x0 + 4, y0 + 4, item.label);
    }
    DeleteDC(mem);
    if (!sheet->image().save(out)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    std::printf("%zu patterns drawn into %s\n", items.size(), qPrintable(out));
    return missing ? 1 : 0;
}
