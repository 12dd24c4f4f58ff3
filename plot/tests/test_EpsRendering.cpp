// One synthetic map drawn on the raster canvas, as an EPS file rendered by
// Ghostscript, and on a printer (a PDF file rendered by pdftoppm): the
// pictures must agree. Set KAL_TEST_PICTURES to a folder to keep them.
#include <gtest/gtest.h>

#include <QFile>
#include <QPolygonF>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

#include "AppInfo.h"
#include "AppState.h"
#include "Bitmap.h"
#include "EpsTestSupport.h"
#include "PrinterDC.h"
#include "RasterDC.h"
#include "SavePostScriptFile.h"
#include "TestSupport.h"
#include "basLibrary.h"
#include "clsMapGraph.h"
#include "clsPostScript.h"

using namespace plat;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kDpi = 96;

// What the comparison looks for: an element's colour inside its box.
struct Element {
    std::string name;
    QRect box;
    int32_t color;   // 0x00BBGGRR
    QRect cell = {}; // where nothing else is drawn in that colour
};

QRgb rgbOf(int32_t c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

clsPoly polyOf(std::initializer_list<std::pair<int, int>> pts) {
    clsPoly p;
    for (const auto& [x, y] : pts) p.AddXandY(x, y);
    return p;
}

clsPoly box(int x, int y, int w, int h) { return polyOf({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}, {x, y}}); }

// Every pen kind, brush kind and symbol kind and a few texts.
std::vector<Element> DrawSyntheticMap(clsMapGraph& g) {
    std::vector<Element> e;
    g.SetBrush(8, 0xFFFFFF, -1);
    g.DrawClear();

    // Pens: plain, wide, dashed with gaps in a back colour, geometric, the
    // none style with a back colour, bitmap patterns.
    struct PenRow {
        const char* name;
        int style, width;
        int32_t fore, back;
    };
    const PenRow pens[] = {
        {"solid", 0, 1, 0x0000FF, -1},          {"wide solid", 0, 5, 0x008000, -1},
        {"dashed", 1, 1, 0xFF0000, 0x00FFFF},   {"wide dotted", 2, 4, 0xFF00FF, 0xFFFF00},
        {"dash dot", 3, 1, 0x000000, -1},       {"dash dot dot", 4, 1, 0x800080, -1},
        {"none with back", 5, 3, 0x000000, 0x0080FF}, {"pattern 102", 102, 1, 0x004080, -1},
        {"pattern 114", 114, 1, 0xC00000, -1},  {"pattern 120", 120, 1, 0x000000, 0x00E0E0},
        {"pattern 129", 129, 1, 0x0000C0, -1},
    };
    int y = 20;
    for (const PenRow& p : pens) {
        g.SetPen(static_cast<int16_t>(p.style), p.width, p.fore, p.back);
        g.DrawLine(clsLine(20, y, 300, y));
        e.push_back({p.name, QRect(20, y - 5, 281, 11), p.style == 5 ? p.back : p.fore});
        y += 18;
    }
    g.SetPen(106, 1, 0x006000, -1);
    g.DrawPolyline(polyOf({{330, 30}, {400, 100}, {470, 30}, {540, 100}, {610, 30}}));
    e.push_back({"patterned zigzag", QRect(325, 25, 290, 80), 0x006000});
    g.SetPen(125, 1, 0x804000, 0xFFE0C0);
    g.DrawPolyline(polyOf({{330, 130}, {610, 130}, {610, 190}}));
    e.push_back({"canal", QRect(325, 124, 290, 70), 0x804000});
    g.SetPen(1, 1, 0x0000FF, -1);
    g.DrawStrokeRect(clsRect(330, 150, 420, 180));
    e.push_back({"frame", QRect(329, 149, 93, 33), 0x0000FF});
    g.SetPen(0, 3, 0x008080, -1);
    g.DrawLine(clsLine(440, 150, 590, 180));
    e.push_back({"diagonal", QRect(438, 148, 154, 34), 0x008080});

    // Brushes: the six hatches with and without a back colour, solid,
    // tiles as a pattern brush and laid by blits, with and without back.
    for (int h = 0; h < 6; ++h) {
        const int32_t fore = h % 2 ? 0x800000 : 0x0000A0;
        g.SetBrush(static_cast<int16_t>(h), fore, h % 2 ? 0xC0FFC0 : -1);
        const int x = 20 + 70 * h;
        g.DrawPolygon(box(x, 230, 60, 60));
        e.push_back({"hatch " + std::to_string(h), QRect(x, 230, 60, 60), fore});
    }
    g.SetBrush(8, 0x808000, -1);
    g.DrawPolygon(polyOf({{450, 290}, {510, 230}, {570, 290}, {450, 290}}));
    e.push_back({"solid triangle", QRect(450, 230, 120, 60), 0x808000});
    const struct {
        int style;
        int32_t fore, back;
    } tiles[] = {{100, 0x404040, 0xE0FFFF}, {108, 0xA00000, -1}, {116, 0x006080, 0xC0F0FF},
                 {120, 0x008000, -1},       {123, 0x000080, 0xFFFFFF}, {112, 0x800080, -1}};
    for (size_t i = 0; i < std::size(tiles); ++i) {
        const int x = 20 + 70 * static_cast<int>(i);
        if (tiles[i].back == -1) {   // a laid tile keeps what lies under it
            g.SetBrush(8, 0xD0D0FF, -1);
            g.DrawFillRect(clsRect(x, 310, x + 59, 369));
        }
        g.SetBrush(static_cast<int16_t>(tiles[i].style), tiles[i].fore, tiles[i].back);
        g.DrawPolygon(box(x, 310, 60, 60));
        e.push_back({"tile " + std::to_string(tiles[i].style), QRect(x, 310, 60, 60), tiles[i].fore});
    }
    g.SetBrush(121, 0x206020, 0xE0FFE0);
    g.DrawPolygon(polyOf({{450, 310}, {620, 320}, {560, 370}, {470, 360}, {450, 310}}));
    e.push_back({"tiled polygon", QRect(450, 310, 171, 61), 0x206020});

    // Symbols on a band, with a halo and without, in two sizes.
    g.SetBrush(8, 0xC0C0C0, -1);
    g.DrawFillRect(clsRect(10, 390, 630, 470));
    const int symbols[] = {0, 5, 7, 8, 11, 13, 24, 29};
    for (size_t i = 0; i < std::size(symbols); ++i) {
        const int x = 40 + 75 * static_cast<int>(i);
        const int32_t fore = i % 2 ? 0x0000C0 : 0x600000;
        g.SetSymbol(static_cast<int16_t>(symbols[i]), fore, i < 4 ? 0xFFFFFF : -1);
        g.DrawPaint(x, 430);
        e.push_back({"symbol " + std::to_string(symbols[i]), QRect(x - 24, 406, 49, 49), fore});
    }

    // Texts.
    g.SetFont(QStringLiteral("Arial"), 12, 0, 0, 0x000000, -1);
    g.DrawText(330, 220, 16, QStringLiteral("Kaldero map"));
    e.push_back({"latin text", QRect(328, 205, 110, 20), 0x000000});
    g.SetFont(QStringLiteral("ＭＳ Ｐゴシック"), 14, 0, 0, 0x800000, -1);
    g.DrawText(620, 218, 18, QStringLiteral("日本語の地図"));
    e.push_back({"japanese text", QRect(500, 198, 122, 26), 0x800000});
    return e;
}

// Texts at all 25 anchors in six panels of 5 x 5 cells, an anchor a cell
// with a grey dot on its point: upright, at 45 and at 90 degrees, plain
// (top row) and with a yellow halo or, at odd anchors, a green opaque
// cell (bottom row); Japanese at even anchors, Latin at odd ones. Each
// text's element is the box its extent should fill around the point.
constexpr int kCell = 80;
constexpr int kAnchorWidth = 3 * 5 * kCell, kAnchorHeight = 2 * 5 * kCell;
constexpr int32_t kJapaneseInk = 0x000080, kLatinInk = 0x800000, kHalo = 0x00FFFF, kCellBack = 0xB0FFB0;

std::vector<Element> DrawAnchoredTexts(clsMapGraph& g) {
    std::vector<Element> e;
    g.SetBrush(8, 0xFFFFFF, -1);
    g.DrawClear();
    const int angles[] = {0, 45, 90};
    for (int panel = 0; panel < 6; ++panel) {
        const int angle = angles[panel % 3];
        const bool backed = panel >= 3;
        for (int a = 0; a < 25; ++a) {
            const int x = (panel % 3) * 5 * kCell + (a % 5) * kCell + kCell / 2;
            const int y = (panel / 3) * 5 * kCell + (a / 5) * kCell + kCell / 2;
            g.SetBrush(8, 0xA0A0A0, -1);
            g.DrawFillRect(clsRect(x - 1, y - 1, x + 1, y + 1));
            const bool japanese = a % 2 == 0;
            const int32_t ink = japanese ? kJapaneseInk : kLatinInk;
            const uint8_t style = backed && !japanese ? clsMapGraph::FS_OPAQUE : 0;
            const int32_t back = !backed ? -1 : japanese ? kHalo : kCellBack;
            g.SetFont(japanese ? QStringLiteral("ＭＳ Ｐゴシック") : QStringLiteral("Arial"), 8, angle, style, ink, back);
            const QString text = japanese ? QStringLiteral("地図") : QStringLiteral("Map");
            g.DrawText(x, y, static_cast<int16_t>(a), text);
            // The text's cell turned with the font, from the layer's own metrics.
            int32_t w = 0, h = 0;
            g.GetTextSize(text, w, h);
            TEXTMETRIC tm;
            g.handle()->GetTextMetrics(&tm);
            const clsMapGraph::FontState& f = g.CurrentFont();
            const TextPlacement at = PlaceText(x, y, a, f.gap, f.heightMetric, f.escapement, 96, 96);
            const double left = (at.align & TA_CENTER) == TA_CENTER ? -w / 2.0 : (at.align & TA_RIGHT) ? -w : 0;
            const double rad = angle * 3.14159265358979 / 180, c = std::cos(rad), s = std::sin(rad);
            QPolygonF cell;
            for (const QPointF& p : {QPointF(left, -tm.tmAscent), QPointF(left + w, -tm.tmAscent),
                                     QPointF(left + w, tm.tmDescent), QPointF(left, tm.tmDescent)})
                cell << QPointF(at.x + p.x() * c + p.y() * s, at.y - p.x() * s + p.y() * c);
            e.push_back({"anchor " + std::to_string(a) + " at " + std::to_string(angle) + (backed ? " backed" : ""),
                         cell.boundingRect().toAlignedRect(), ink,
                         QRect(x - kCell / 2, y - kCell / 2, kCell, kCell)});
        }
    }
    return e;
}

// The program's folder holds the prolog, as it does beside the program.
class SyntheticMap : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = AppPath();
        SetAppPath(dir_.path());
        ASSERT_TRUE(QFile::copy(QStringLiteral(KAL_SOURCE_DIR "/data/KALDERO.PS"), dir_.file(QStringLiteral("KALDERO.PS"))));
    }
    void TearDown() override { SetAppPath(saved_); }

    // A scene on a raster canvas; with an EPS path also into that file.
    using Scene = std::vector<Element> (*)(clsMapGraph&);
    QImage drawRaster(std::vector<Element>* elements, const QString& eps = QString(), Scene scene = DrawSyntheticMap,
                      int width = kWidth, int height = kHeight) {
        HBITMAP bm = Bitmap::Create(width, height, 32);
        RasterDC dc(bm, kDpi);
        clsMapGraph graph;
        auto plot = [&] {
            EXPECT_TRUE(graph.GraphBegin(&dc, 0, 0, width, height));
            *elements = scene(graph);
            graph.GraphEnd();
            return true;
        };
        if (eps.isEmpty()) plot();
        else EXPECT_TRUE(SavePostScriptFile(graph, eps, EpsCanvas{width, height, kDpi}, plot));
        EXPECT_FALSE(graph.PostScriptEi());
        return bm->image().convertToFormat(QImage::Format_RGB32);
    }

    // Most of an element's ink in its cell lies in its box widened by
    // `slack` pixels (texts of other faces are a little wider or narrower).
    static void expectInkInBoxes(const QImage& img, const std::vector<Element>& elements, int slack, double share) {
        for (const Element& el : elements) {
            const int all = epstest::CountColor(img, el.cell, rgbOf(el.color), 60);
            const int inside = epstest::CountColor(img, el.box.adjusted(-slack, -slack, slack, slack) & el.cell,
                                                   rgbOf(el.color), 60);
            EXPECT_GE(all, 8) << el.name;
            EXPECT_GE(inside, share * all) << el.name << ": " << inside << " of " << all;
        }
    }

    // The other picture is the canvas: few pixels without a close colour
    // within one pixel in the other picture (the edges of texts in other
    // faces and of slants rasterized otherwise), and every element shows in
    // both in about the same amount.
    static void expectLikeCanvas(const QImage& canvas, const QImage& other, const std::vector<Element>& elements,
                                 int distance) {
        ASSERT_EQ(other.size(), canvas.size());
        EXPECT_LT(epstest::DifferingShare(canvas, other, distance, 1), 0.02) << "share of differing pixels";
        expectSameElements(canvas, other, elements, distance);
    }
    static void expectSameElements(const QImage& a, const QImage& b, const std::vector<Element>& elements,
                                   int distance) {
        for (const Element& el : elements) {
            const int na = epstest::CountColor(a, el.box, rgbOf(el.color), distance);
            const int nb = epstest::CountColor(b, el.box, rgbOf(el.color), distance);
            EXPECT_GE(na, 8) << el.name;
            EXPECT_GE(nb, na / 3) << el.name << ": " << na << " against " << nb;
            EXPECT_LE(nb, na * 3) << el.name << ": " << na << " against " << nb;
        }
    }

    testsupport::TempDir dir_;
    QString saved_;
};

} // namespace

TEST_F(SyntheticMap, TheEpsRendersAsTheCanvas) {
    if (epstest::GhostscriptPath().isEmpty()) GTEST_SKIP() << "gs is not installed";
    std::vector<Element> elements;
    const QString eps = dir_.file(QStringLiteral("synthetic.eps"));
    const QImage canvas = drawRaster(&elements, eps);
    epstest::GsRun run;
    const QImage page = epstest::RenderEps(eps, kDpi, &run);
    ASSERT_FALSE(page.isNull()) << run.output.constData();
    epstest::KeepPicture(canvas, QStringLiteral("synthetic-canvas.png"));
    epstest::KeepPicture(page, QStringLiteral("synthetic-eps.png"));
    expectLikeCanvas(canvas, page, elements, 60);
}

TEST_F(SyntheticMap, TextsSitAtTheirAnchorsOnTheCanvasAndInTheEps) {
    if (epstest::GhostscriptPath().isEmpty()) GTEST_SKIP() << "gs is not installed";
    std::vector<Element> elements;
    const QString eps = dir_.file(QStringLiteral("anchors.eps"));
    const QImage canvas = drawRaster(&elements, eps, DrawAnchoredTexts, kAnchorWidth, kAnchorHeight);
    epstest::GsRun run;
    const QImage page = epstest::RenderEps(eps, kDpi, &run);
    ASSERT_FALSE(page.isNull()) << run.output.constData();
    epstest::KeepPicture(canvas, QStringLiteral("anchors-canvas.png"));
    epstest::KeepPicture(page, QStringLiteral("anchors-eps.png"));
    expectInkInBoxes(canvas, elements, 1, 0.97);
    expectInkInBoxes(page, elements, 3, 0.9);
    // Glyph edges are smoothed on the canvas, not in the EPS rendering:
    // ink counts as ink half-way to white.
    expectLikeCanvas(canvas, page, elements, 110);
    // Halos round the Japanese texts and opaque cells under the Latin ones
    // of the lower panels, in both pictures.
    for (const QImage* img : {&canvas, &page})
        for (const Element& el : elements) {
            if (!el.cell.intersects(QRect(0, kAnchorHeight / 2, kAnchorWidth, kAnchorHeight / 2))) continue;
            const bool halo = el.color == kJapaneseInk;
            EXPECT_GE(epstest::CountColor(*img, el.box.adjusted(-3, -3, 3, 3), rgbOf(halo ? kHalo : kCellBack), 30),
                      halo ? 8 : 60) << el.name;
        }
}

TEST_F(SyntheticMap, APrinterDrawsItUnchanged) {
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm is not installed";
    std::vector<Element> elements;
    const QImage canvas = drawRaster(&elements);
    const QString pdf = dir_.file(QStringLiteral("synthetic.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setResolution(kDpi);
        printer.setFullPage(true);
        printer.setPageSize(QPageSize(QSizeF(kWidth * 72.0 / kDpi, kHeight * 72.0 / kDpi), QPageSize::Point));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0));
        PrinterDC dc(&printer);
        ASSERT_TRUE(dc.isValid());
        clsMapGraph graph;
        ASSERT_TRUE(graph.GraphBegin(&dc, 0, 0, kWidth, kHeight));
        DrawSyntheticMap(graph);
        graph.GraphEnd();
    }
    QProcess p;
    p.start(pdftoppm, {QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-aa"), QStringLiteral("no"),
                       QStringLiteral("-aaVector"), QStringLiteral("no"), QStringLiteral("-png"), QStringLiteral("-singlefile"),
                       pdf, dir_.file(QStringLiteral("printed"))});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QImage page = QImage(dir_.file(QStringLiteral("printed.png"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(page.isNull());
    epstest::KeepPicture(page, QStringLiteral("synthetic-printed.png"));
    // The PDF reader smooths the fill patterns, which lightens hatches.
    expectLikeCanvas(canvas, page, elements, 100);
}

TEST_F(SyntheticMap, TheExportEndsTheMirrorWhateverHappens) {
    clsMapGraph graph;
    const QString eps = dir_.file(QStringLiteral("out.eps"));
    testsupport::WriteBytes(eps, "old");
    // A plot that fails or is cancelled writes nothing.
    EXPECT_FALSE(SavePostScriptFile(graph, eps, EpsCanvas{100, 100, 96}, [] { return false; }));
    EXPECT_EQ(testsupport::ReadBytes(eps), QByteArray("old"));
    ASSERT_TRUE(QFile::remove(dir_.file(QStringLiteral("KALDERO.PS"))));
    bool plotted = false;
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("KALDERO.PS"), IdOk);
        EXPECT_FALSE(SavePostScriptFile(graph, eps, EpsCanvas{100, 100, 96}, [&] {
            plotted = graph.PostScriptEi();
            return true;
        }));
    }
    EXPECT_TRUE(plotted);
    EXPECT_FALSE(graph.PostScriptEi());
    EXPECT_EQ(testsupport::ReadBytes(eps), QByteArray("old"));
    EXPECT_THROW(SavePostScriptFile(graph, eps, EpsCanvas{100, 100, 96}, []() -> bool { throw AppError(5, "plot", "failed"); }),
                 AppError);
    EXPECT_FALSE(graph.PostScriptEi());
}
