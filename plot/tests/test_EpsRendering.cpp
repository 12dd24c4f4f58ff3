// One synthetic map drawn on the raster canvas, as an EPS file rendered by
// Ghostscript, and on a printer (a PDF file rendered by pdftoppm): the
// pictures must agree. Set KAL_TEST_PICTURES to a folder to keep them.
#include <gtest/gtest.h>

#include <QFile>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

#include "AppInfo.h"
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
};

QRgb rgbOf(int32_t c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// A text the way the text half of the layer will draw it at anchors 16,
// 17 and 18 (baseline on the point, left, centred or right of it).
void drawText(clsMapGraph& g, const QString& face, int points, int32_t color, int x, int y, int anchor,
              const QString& text) {
    if (clsPostScript* ps = g.oPostScript()) {
        ps->psSetFont(face, points, 0, 0, color, -1);
        ps->psDrawText(x, y, static_cast<int16_t>(anchor), text);
    }
    LOGFONT lf;
    lf.lfHeight = -(points * g.ResolutionY() / 72);
    lf.lfFaceName = face;
    const HDC dc = g.handle();
    const HFONT old = dc->SelectFont(CreateFontIndirect(lf));
    dc->SetTextColor(static_cast<COLORREF>(color));
    dc->SetBkMode(TRANSPARENT);
    const int column = anchor % 5;
    dc->SetTextAlign(TA_BASELINE | (column == 2 ? TA_CENTER : column >= 3 ? TA_RIGHT : TA_LEFT));
    dc->TextOutA(x, y, StrToBytes(text));
    dc->SelectFont(old);
}

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
    drawText(g, QStringLiteral("Arial"), 12, 0x000000, 330, 220, 16, QStringLiteral("Kaldero map"));
    e.push_back({"latin text", QRect(328, 205, 110, 20), 0x000000});
    drawText(g, QStringLiteral("ＭＳ Ｐゴシック"), 14, 0x800000, 620, 218, 18, QStringLiteral("日本語の地図"));
    e.push_back({"japanese text", QRect(500, 198, 122, 26), 0x800000});
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

    // The map on a raster canvas; with an EPS path also into that file.
    QImage drawRaster(std::vector<Element>* elements, const QString& eps = QString()) {
        HBITMAP bm = Bitmap::Create(kWidth, kHeight, 32);
        RasterDC dc(bm, kDpi);
        clsMapGraph graph;
        auto plot = [&] {
            EXPECT_TRUE(graph.GraphBegin(&dc, 0, 0, kWidth, kHeight));
            *elements = DrawSyntheticMap(graph);
            graph.GraphEnd();
        };
        if (eps.isEmpty()) plot();
        else EXPECT_TRUE(SavePostScriptFile(graph, eps, EpsCanvas{kWidth, kHeight, kDpi}, plot));
        EXPECT_FALSE(graph.PostScriptEi());
        return bm->image().convertToFormat(QImage::Format_RGB32);
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
    ASSERT_TRUE(QFile::remove(dir_.file(QStringLiteral("KALDERO.PS"))));
    bool plotted = false;
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("KALDERO.PS"), IdOk);
        EXPECT_FALSE(SavePostScriptFile(graph, eps, EpsCanvas{100, 100, 96}, [&] { plotted = graph.PostScriptEi(); }));
    }
    EXPECT_TRUE(plotted);
    EXPECT_FALSE(graph.PostScriptEi());
    EXPECT_EQ(testsupport::ReadBytes(eps), QByteArray("old"));
    EXPECT_THROW(SavePostScriptFile(graph, eps, EpsCanvas{100, 100, 96}, [] { throw AppError(5, "plot", "failed"); }),
                 AppError);
    EXPECT_FALSE(graph.PostScriptEi());
}
