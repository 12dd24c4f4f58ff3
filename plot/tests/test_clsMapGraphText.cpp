#include <gtest/gtest.h>

#include <QFontDatabase>

#include "AppInfo.h"
#include "Bitmap.h"
#include "RasterDC.h"
#include "TestSupport.h"
#include "TextFile.h"
#include "clsMapGraph.h"
#include "clsPostScript.h"

using namespace plat;

namespace {

// A canvas that remembers every text drawn: where, in which colour.
class TextLogDC : public RasterDC {
public:
    explicit TextLogDC(HBITMAP surface) : RasterDC(std::move(surface), 96) {}
    struct Call {
        int x, y;
        COLORREF color;
        int bkMode;
    };
    bool TextOut(int x, int y, const QString& text) override {
        calls.push_back({x, y, GetTextColor(), GetBkMode()});
        return RasterDC::TextOut(x, y, text);
    }
    // Halo copies are drawn in one go: logged as the copies they stand for.
    bool TextOutHalo(int x, int y, const QString& text, COLORREF halo, COLORREF fore, const POINT* offsets,
                     int n) override {
        for (int i = 0; i < n; ++i) calls.push_back({x + offsets[i].x, y + offsets[i].y, halo, GetBkMode()});
        calls.push_back({x, y, fore, GetBkMode()});
        return RasterDC::TextOutHalo(x, y, text, halo, fore, offsets, n);
    }
    std::vector<Call> calls;
};

struct TextCanvas {
    TextCanvas() : bm(Bitmap::Create(200, 100, 32)), dc(bm) { began = graph.GraphBegin(&dc, 0, 0, 200, 100); }
    const LOGFONT& lf() const { return dc.CurrentFont()->lf; }
    HBITMAP bm;
    TextLogDC dc;
    clsMapGraph graph;
    bool began = false;
};

// The program lines after the mirror's set-up.
QList<QByteArray> programLines(const clsMapGraph& g) {
    QList<QByteArray> out;
    for (QByteArray l : g.oPostScript()->ProgramText().split('\n')) {
        l.chop(l.endsWith('\r') ? 1 : 0);
        if (!l.isEmpty()) out.append(l);
    }
    return out;
}

} // namespace

TEST(TextPlacement, AnchorsWithFixedMetrics) {
    // Gap 8, height measure 20: the gap above and below is 8 x 5 div 4 = 10.
    const struct {
        int align, escapement, resX;
        int x, y;
        unsigned ta;
    } cases[] = {
        {0, 0, 96, 108, 130, TA_LEFT},      // below, left with a gap
        {1, 0, 96, 100, 130, TA_LEFT},      // below, left
        {6, 0, 96, 100, 120, TA_LEFT},      // hanging from the point
        {12, 0, 96, 100, 110, TA_CENTER},   // centred on the point
        {16, 0, 96, 100, 100, TA_LEFT},     // baseline on the point
        {18, 0, 96, 100, 100, TA_RIGHT},
        {24, 0, 96, 92, 90, TA_RIGHT},      // above, right with a gap
        {25, 0, 96, 108, 130, TA_LEFT},     // wraps to 0
        {-1, 0, 96, 92, 90, TA_RIGHT},      // wraps to 24
        {0, 900, 96, 130, 92, TA_LEFT},     // turned with the font
        {0, 2700, 96, 70, 108, TA_LEFT},
        {0, 1800, 96, 92, 70, TA_LEFT},
        {0, 450, 96, 127, 116, TA_LEFT},    // (8, 30) turned 45 degrees: (26.87, 15.56)
        {20, 0, 192, 116, 90, TA_LEFT},     // x offsets follow resX / resY
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "anchor " << c.align << " at " << c.escapement);
        const TextPlacement p = PlaceText(100, 100, c.align, 8, 20, c.escapement, c.resX, 96);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
        EXPECT_EQ(p.align, c.ta | TA_BASELINE);
    }
    // Exact quarter turns either way, rounding half to even elsewhere.
    EXPECT_EQ(RotateOffset(3, 5, -900).x, -5);
    EXPECT_EQ(RotateOffset(3, 5, -2700).y, -3);
    EXPECT_EQ(RotateOffset(3, 5, 3600).x, 3);
    EXPECT_EQ(RotateOffset(10, 0, 300).y, -5);
}

TEST(TextPlacement, FoldingByTheRuleAsWorded) {
    auto tenEach = [](const QString& s) { return static_cast<int32_t>(10 * s.size()); };
    const struct {
        QString text;
        int maxWidth;
        QStringList lines;
    } cases[] = {
        {QStringLiteral("ab\r\nc"), 1000, {QStringLiteral("ab"), QStringLiteral("c")}},
        {QStringLiteral("a\nb"), 1000, {QStringLiteral("ab")}},          // a lone line feed does not break
        {QStringLiteral("\r"), 1000, {QString()}},                       // an empty line
        {QStringLiteral("\rab\r"), 1000, {QString(), QStringLiteral("ab")}},
        {QString(), 1000, {QString()}},
        {QStringLiteral("abcdef"), 25, {QStringLiteral("abc"), QStringLiteral("def")}},   // wider than 25 first at 30
        {QStringLiteral("abcdef"), 30, {QStringLiteral("abcd"), QStringLiteral("ef")}},
        {QStringLiteral("abc"), 0, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
        {QStringLiteral("地図の町"), 15, {QStringLiteral("地図"), QStringLiteral("の町")}},
    };
    for (const auto& c : cases) EXPECT_EQ(FoldLines(c.text, c.maxWidth, tenEach), c.lines) << c.text.toStdString();
}

TEST(clsMapGraphText, SizesAnglesAndGaps) {
    const struct {
        int size, angle, resY, textRatio;
        int height, escapement;
    } cases[] = {
        {10, 0, 96, 100, 13, 0},   {3, 0, 96, 100, 6, 0},       // 5 points at least
        {200, 0, 96, 100, 133, 0}, // 100 points at most
        {10, -90, 96, 100, 13, 2700}, {10, 725, 96, 100, 13, 50},
        {10, 0, 96, 150, 19, 0},   {10, 0, 300, 100, 41, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << " pt at " << c.angle << ", " << c.resY << " dpi, " << c.textRatio);
        TextCanvas cv;
        ASSERT_TRUE(cv.began);
        cv.graph.setResolutionY(c.resY);
        cv.graph.setTextRatio(c.textRatio);
        ASSERT_TRUE(cv.graph.SetFont(QStringLiteral("Arial"), c.size, c.angle, clsMapGraph::FS_BOLD, 0, -1));
        EXPECT_EQ(cv.lf().lfHeight, -c.height);
        EXPECT_EQ(cv.lf().lfEscapement, c.escapement);
        EXPECT_EQ(cv.lf().lfWeight, FW_BOLD);
        const clsMapGraph::FontState& f = cv.graph.CurrentFont();
        EXPECT_GT(f.heightMetric, c.height / 3);
        EXPECT_LE(f.heightMetric, c.height);
        EXPECT_EQ(f.gap, std::max(f.heightMetric * 6 / 10 + 1, c.resY * c.textRatio / 1800));
    }
}

TEST(clsMapGraphText, FacesResolveToInstalledFonts) {
    if (QFontDatabase::families(QFontDatabase::Japanese).isEmpty())
        GTEST_SKIP() << "no font for Japanese installed (Noto Sans CJK JP or IPA Gothic)";
    TextCanvas cv;
    ASSERT_TRUE(cv.began);
    cv.graph.setDefaultFont(QStringLiteral("ＭＳ Ｐゴシック"));
    const QStringList installed = QFontDatabase::families();
    const struct {
        QString asked, face;
        bool japanese;
    } cases[] = {
        {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("ＭＳ Ｐゴシック"), true},
        {QStringLiteral("メイリオ"), QStringLiteral("メイリオ"), true},
        {QStringLiteral("arial"), QStringLiteral("Arial"), false},
        {QStringLiteral("(Default)"), QStringLiteral("ＭＳ Ｐゴシック"), true},
        {QStringLiteral("HG丸ｺﾞｼｯｸM-PRO"), QStringLiteral("ＭＳ Ｐゴシック"), true},   // unknown: the default face
        {QString(), QStringLiteral("ＭＳ Ｐゴシック"), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked.toStdString());
        ASSERT_TRUE(cv.graph.SetFont(c.asked, 12, 0, 0, 0, -1));
        EXPECT_EQ(cv.lf().lfFaceName, c.face);
        const QString family = cv.dc.CurrentFont()->family;
        EXPECT_TRUE(installed.contains(family, Qt::CaseInsensitive)) << family.toStdString();
        EXPECT_TRUE(!c.japanese || QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese))
            << family.toStdString();
    }
    EXPECT_EQ(ChooseDefaultFont(), FontExists(QStringLiteral("メイリオ")) ? QStringLiteral("メイリオ")
                                                                        : QStringLiteral("ＭＳ Ｐゴシック"));
}

TEST(clsMapGraphText, AFontThatCannotBeMadeListsTheTable) {
    testsupport::TempDir dir;
    const QString saved = AppPath();
    SetAppPath(dir.path());
    TextCanvas cv;
    ASSERT_TRUE(cv.began);
    cv.graph.setResolutionY(1440);
    cv.graph.setTextRatio(1000);   // 100 points are 20 000 pixels: too tall
    EXPECT_FALSE(cv.graph.SetFont(QStringLiteral("Arial"), 100, 0, 0, 0, -1));
    EXPECT_FALSE(cv.graph.SetFont(QStringLiteral("Arial"), 100, 0, 0, 0, -1)) << "tried again, not skipped";
    const QStringList lines = ReadTextLines(dir.file(QStringLiteral("arFont.TXT")));
    SetAppPath(saved);
    ASSERT_EQ(lines.size(), qsizetype(cv.graph.FontTable().size()) + 1);
    EXPECT_EQ(lines[0], QStringLiteral("\"No., TypeFaceName, Weight, PitchAndFamily, CharSet\""));
    const clsMapGraph::FaceRecord& first = cv.graph.FontTable().front();
    EXPECT_EQ(lines[1], QStringLiteral("0,\"%1\",%2,%3,%4").arg(first.name).arg(first.weight).arg(first.pitchAndFamily).arg(first.charSet));
    // A font object falls back to the default face at 10 points.
    auto font = MakeFont();
    font->name = QStringLiteral("Arial");
    font->size = 100;
    EXPECT_TRUE(cv.graph.SetFontObject(font, 0x0000FF));
    EXPECT_EQ(cv.lf().lfHeight, -2000);
}

TEST(clsMapGraphText, HaloOpaqueAndPlainTexts) {
    const struct {
        int size;
        uint8_t style;
        int32_t fore, back;
        size_t calls;
        int bkMode;
    } cases[] = {
        {9, 0, 0x0000FF, -1, 1, TRANSPARENT},
        {9, 0, 0x0000FF, 0xFFFFFF, 5, TRANSPARENT},                     // four halo copies
        {40, 0, 0x0000FF, 0xFFFFFF, 9, TRANSPARENT},                    // eight from 28 pixels on
        {9, clsMapGraph::FS_OPAQUE, 0x0000FF, 0x00FFFF, 1, OPAQUE},     // the cell filled instead
        {9, clsMapGraph::FS_OPAQUE, 0x0000FF, -1, 1, TRANSPARENT},
        {9, 0, -1, 0xFFFFFF, 0, TRANSPARENT},                           // no fore colour: nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << " pt, style " << int(c.style) << ", back " << c.back);
        TextCanvas cv;
        ASSERT_TRUE(cv.graph.SetFont(QStringLiteral("ＭＳ Ｐゴシック"), c.size, 0, c.style, c.fore, c.back));
        EXPECT_TRUE(cv.graph.DrawText(50, 50, 16, QStringLiteral("地図 map")));
        ASSERT_EQ(cv.dc.calls.size(), c.calls);
        if (c.calls == 0) continue;
        const TextLogDC::Call& text = cv.dc.calls.back();
        EXPECT_EQ(text.x, 50);
        EXPECT_EQ(text.y, 50);
        EXPECT_EQ(text.color, COLORREF(c.fore));
        EXPECT_EQ(text.bkMode, c.bkMode);
        for (size_t i = 0; i + 1 < c.calls; ++i) {
            const POINT d = cv.graph.HaloOffsets()[i];
            EXPECT_EQ(cv.dc.calls[i].x, 50 + d.x);
            EXPECT_EQ(cv.dc.calls[i].y, 50 + d.y);
            EXPECT_EQ(cv.dc.calls[i].color, COLORREF(c.back));
        }
        int ink = 0;
        for (int y = 30; y < 60; ++y)
            for (int x = 45; x < 150; ++x) ink += cv.dc.GetPixel(x, y) != 0xFFFFFF;
        EXPECT_GT(ink, 20);
    }
    // Nothing to draw is no failure.
    TextCanvas cv;
    ASSERT_TRUE(cv.graph.SetFont(QStringLiteral("Arial"), 9, 0, 0, 0, -1));
    EXPECT_TRUE(cv.graph.DrawText(500, 50, 16, QStringLiteral("outside")));
    EXPECT_TRUE(cv.graph.DrawText(50, 50, 16, QString()));
    EXPECT_TRUE(cv.graph.DrawText(50, 50, 16, QByteArray(1, '\0')));
    EXPECT_TRUE(cv.dc.calls.empty());
}

TEST(clsMapGraphText, MeasuringAndFolding) {
    TextCanvas cv;
    int32_t w = -1, h = -1;
    EXPECT_FALSE(cv.graph.GetTextSize(QString(), w, h));
    EXPECT_EQ(w, -1);
    EXPECT_TRUE(cv.graph.GetTextExtent(&cv.dc, QString(), w, h));
    EXPECT_EQ(w, 0);
    ASSERT_TRUE(cv.graph.SetFont(QStringLiteral("ＭＳ Ｐゴシック"), 12, 0, 0, 0, -1));
    // The folding below counts on ideographs of one width, as the usual
    // Japanese faces draw them.
    int32_t wChi = 0, wZu = 0;
    ASSERT_TRUE(cv.graph.GetTextSize(QStringLiteral("地"), wChi, h));
    ASSERT_TRUE(cv.graph.GetTextSize(QStringLiteral("図"), wZu, h));
    if (wChi != wZu)
        GTEST_SKIP() << "the face drawn here gives 地 " << wChi << " and 図 " << wZu << " pixels: "
                     << cv.dc.CurrentFont()->family.toStdString();
    ASSERT_TRUE(cv.graph.GetTextSize(QStringLiteral("地図地図"), w, h));
    int32_t w2 = 0, h2 = 0;
    ASSERT_TRUE(cv.graph.GetTextSize(QStringLiteral("地図"), w2, h2));
    EXPECT_NEAR(w, 2 * w2, 2);
    EXPECT_EQ(h, h2);
    EXPECT_GE(h, 16);
    EXPECT_EQ(cv.graph.FoldText(QStringLiteral("地図地図地図"), w2), (QStringList{QStringLiteral("地図地"), QStringLiteral("図地図")}));
}

TEST(clsMapGraphText, FontsAreMadeOncePerStyleAndMirrored) {
    TextCanvas cv;
    cv.graph.setPostScriptEi(true);
    const QString gothic = QStringLiteral("ＭＳ Ｐゴシック");
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(cv.graph.SetFont(i % 2 ? gothic : QStringLiteral("Arial"), 10, i % 4 < 2 ? 0 : 30, 0, i, -1));
        cv.graph.DrawText(20, 20, 10, QStringLiteral("x"));
    }
    EXPECT_EQ(cv.graph.FontsMade(), 4u) << "two faces at two angles, whatever the colours";
    cv.graph.oPostScript()->psBegin();
    ASSERT_TRUE(cv.graph.SetFont(gothic, 3, -90, 3, 0x0000FF, 0x80000005));
    ASSERT_TRUE(cv.graph.SetFont(QStringLiteral("ｍｓ ｐゴシック"), 3, -90, 3, 0x0000FF, 0x80000005));   // skipped
    cv.graph.DrawText(20, 20, 12, QStringLiteral("地図"));
    const QList<QByteArray> lines = programLines(cv.graph);
    ASSERT_GE(lines.size(), 2);
    // The face and the text in Shift-JIS hex, the size the canvas draws (5
    // points at least), red as 0x00BBGGRR, the window colour resolved to white.
    EXPECT_EQ(lines[lines.size() - 2].toStdString(),
              "<826c827220826f835383568362834e> 1 5 3 16#0000FF 16#FFFFFF SelectFont");
    EXPECT_EQ(lines.back().toStdString(), "20 20 12 -90 <926e907d> DrawText");
}
