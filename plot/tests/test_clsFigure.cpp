#include <gtest/gtest.h>

#include "AppState.h"
#include "Bitmap.h"
#include "RasterDC.h"
#include "SysColors.h"
#include "basApiLib.h"
#include "clsFigure.h"
#include "clsMapGraph.h"
#include "clsPostScript.h"

using namespace plat;

namespace {

// The global drawing layer begun on a white canvas with its mirror on, so
// the program lines tell what a figure drew.
class Figures : public ::testing::Test {
protected:
    Figures() : bm_(Bitmap::Create(300, 200, 32)), dc_(bm_, 96) {
        saved_ = gvMapGraph;
        gvMapGraph = &graph_;
        graph_.setPostScriptEi(true);
        graph_.GraphBegin(&dc_, 0, 0, 300, 200);
        graph_.oPostScript()->psBegin();
        lines();
    }
    ~Figures() override {
        graph_.GraphEnd();
        gvMapGraph = saved_;
    }
    // The lines written since the last call.
    QList<QByteArray> lines() {
        QList<QByteArray> out;
        const QByteArray text = graph_.oPostScript()->ProgramText();
        for (QByteArray l : text.mid(seen_).split('\n')) {
            l.chop(l.endsWith('\r') ? 1 : 0);
            if (!l.isEmpty()) out.append(l);
        }
        seen_ = text.size();
        return out;
    }
    static QByteArray pen(int32_t color) { return "0 1 1 " + PsColorText(color) + " -1 SelectPen"; }
    static QByteArray square(int x, int y, int s) {
        return QByteArray::number(x - s) + ' ' + QByteArray::number(y - s) + ' ' + QByteArray::number(x + s) + ' ' +
               QByteArray::number(y + s) + " StrokeRect";
    }
    static std::shared_ptr<clsPoly> points(std::initializer_list<std::pair<int, int>> pts) {
        auto p = std::make_shared<clsPoly>();
        for (const auto& [x, y] : pts) p->AddXandY(x, y);
        return p;
    }

    HBITMAP bm_;
    RasterDC dc_;
    clsMapGraph graph_;
    clsMapGraph* saved_;
    qsizetype seen_ = 0;
};

} // namespace

TEST_F(Figures, PointsAreSharedOrCopiedByKind) {
    const FigurePtr kinds[] = {std::make_shared<clsFigPolyline>(), std::make_shared<clsFigPolygon>(),
                               std::make_shared<clsFigSymbol>(), std::make_shared<clsFigText>()};
    const char* names[] = {"POLYLINE", "POLYGON", "SYMBOL", "TEXT"};
    for (int i = 0; i < 4; ++i) {
        const FigurePtr& f = kinds[i];
        EXPECT_EQ(f->FigCode(), i + 2);
        EXPECT_EQ(f->FigName(), QString::fromLatin1(names[i]));
        EXPECT_EQ(f->Fore(), 0);
        EXPECT_EQ(f->Back(), -1);
        const auto p = points({{5, 6}, {7, 8}});
        f->setPoly(p);
        if (i < 2) {
            EXPECT_EQ(f->Poly(), p) << "the same sequence";
        } else {
            EXPECT_NE(f->Poly(), p);
            f->setPoly(std::make_shared<clsPoly>());   // an empty one keeps the position
            f->setPoly(nullptr);
            ASSERT_EQ(f->Poly()->Count(), 1);
            EXPECT_EQ(f->Poly()->x(1), 5);
            EXPECT_EQ(f->Poly()->y(1), 6);
        }
    }
    EXPECT_EQ(std::make_shared<clsFigPolygon>()->Style, 8);
    EXPECT_EQ(std::make_shared<clsFigText>()->Text, QByteArray(1, '\0'));
}

TEST(FigureMarks, ColoursOfTheMarks) {
    const int32_t sys = static_cast<int32_t>(0x80000000u | COLOR_WINDOW);
    const int32_t shown = static_cast<int32_t>(GetSysColor(COLOR_WINDOW) & 0xFFFFFF);
    const struct {
        int32_t fore;
        bool inverse;
        int32_t mark;
    } cases[] = {
        {0x0000FF, false, 0x0000FF}, {0x0000FF, true, 0xFFFF00}, {0x123456, true, 0xEDCBA9},
        {-1, true, 0}, {-1, false, 0},                 // no colour: black, not a system colour
        {sys, true, shown ^ 0xFFFFFF}, {sys, false, shown},
    };
    for (const auto& c : cases) EXPECT_EQ(DetailMarkColor(c.fore, c.inverse), c.mark) << c.fore << " " << c.inverse;
}

TEST_F(Figures, PolylinesAndPolygonsMarkTheirVertices) {
    clsFigPolyline line;
    line.setPoly(points({{20, 20}, {100, 20}}));
    line.Style = 1;
    line.Size = 2;
    line.setFore(0x0000FF);
    EXPECT_TRUE(line.Plot(true));
    QList<QByteArray> l = lines();
    ASSERT_EQ(l.size(), 7);
    EXPECT_EQ(l[0], "1 1 2 " + PsColorText(0x0000FF) + " -1 SelectPen");
    // Two 7 x 7 squares at the ends, nothing between.
    EXPECT_EQ(l.mid(3), (QList<QByteArray>{l[3], pen(0x0000FF), square(20, 20, 3), square(100, 20, 3)}));

    clsFigPolygon area;
    area.setPoly(points({{30, 50}, {90, 50}, {60, 90}, {30, 50}}));
    area.setFore(-1);
    EXPECT_TRUE(area.Plot(true));
    l = lines();
    EXPECT_EQ(l[0], "6 1 -1 -1 SelectBrush");
    EXPECT_EQ(l.mid(l.size() - 5), (QList<QByteArray>{pen(0), square(30, 50, 3), square(90, 50, 1), square(60, 90, 1),
                                                      square(30, 50, 3)}));
    area.setFore(0x00FF00);
    EXPECT_TRUE(area.Plot(false));
    for (const QByteArray& line : lines()) EXPECT_FALSE(line.endsWith("StrokeRect")) << "no marks without Detail";
}

TEST_F(Figures, SymbolFramesFollowTheBitmapNotTheDrawnSize) {
    graph_.setSymbolRatio(200);
    clsFigSymbol sym;
    sym.X = 150;
    sym.Y = 100;
    sym.Style = 7;
    sym.setFore(0xFF0000);
    EXPECT_TRUE(sym.Plot(true));
    const BITMAP own = GetBitmapInfo(graph_.oSymbols().handle(7));
    ASSERT_LT(own.bmWidth, graph_.CurrentSymbol().width);
    const int w = own.bmWidth / 2 + 2, h = own.bmHeight / 2 + 2;
    const QList<QByteArray> l = lines();
    EXPECT_EQ(l.back(), QByteArray::number(150 - w) + ' ' + QByteArray::number(100 - h) + ' ' +
                            QByteArray::number(150 + w) + ' ' + QByteArray::number(100 + h) + " StrokeRect");
    sym.X = 400;   // outside the view: nothing drawn, no failure
    EXPECT_TRUE(sym.Plot(false));
}

TEST_F(Figures, TextsFallBackToTheDefaultFontAndMarkTheirPoint) {
    clsFigText text;
    text.X = 100;
    text.Y = 100;
    text.FontName = QStringLiteral("Arial");
    text.Size = 100;
    text.Angle = 30;
    text.Style = clsMapGraph::FS_BOLD;
    text.setBack(0xFFFFFF);
    text.Text = QByteArrayLiteral("Kaldero");
    graph_.setResolutionY(1440);
    graph_.setTextRatio(1000);   // too tall to be made
    EXPECT_TRUE(text.Plot(true));
    EXPECT_EQ(dc_.CurrentFont()->lf.lfFaceName, gvDefaultFont);
    EXPECT_EQ(dc_.CurrentFont()->lf.lfHeight, -2000);   // 10 points at 1440 dots per inch, ten times
    EXPECT_EQ(dc_.CurrentFont()->lf.lfEscapement, 0);
    EXPECT_FALSE(graph_.CurrentFont().halo);
    const QList<QByteArray> l = lines();
    ASSERT_GE(l.size(), 4);
    // The diamond of half-diagonal Size div 2, closed.
    EXPECT_EQ(l[l.size() - 2], "50 100 100 150 150 100 100 50 ");
    EXPECT_EQ(l.back(), "4 1 AddPathPoly StrokePoly");
}

// A map's European text is Latin-1 whatever a Shift-JIS reading of its bytes
// would make of them: "Åland" on the canvas and as a Latin text in the
// program, where the same bytes as ANSI show a half-width katakana.
TEST_F(Figures, EuropeanTextsAreLatin1) {
    clsFigText text;
    text.X = 20;
    text.Y = 50;
    text.FontName = QStringLiteral("ＭＳ Ｐゴシック");
    text.Size = 14;
    text.Text = QByteArray("\xC5land\0", 6);
    const auto drawn = [&](const std::function<bool()>& draw) {
        graph_.DrawClear();
        EXPECT_TRUE(draw());
        const QList<QByteArray> l = lines();
        return std::pair{dc_.image().copy(), l.isEmpty() ? QByteArray() : l.back()};
    };
    text.Latin1 = true;
    const auto european = drawn([&] { return text.Plot(false); });
    EXPECT_EQ(european.second, "20 50 10 0 <c56c616e64> DrawLatinText");
    const auto typed = drawn([&] { return graph_.DrawText(20, 50, 10, QStringLiteral("Åland")); });
    EXPECT_EQ(typed.second, european.second);
    EXPECT_TRUE(typed.first == european.first);
    text.Latin1 = false;
    const auto ansi = drawn([&] { return text.Plot(false); });
    EXPECT_EQ(ansi.second, "20 50 10 0 <c56c616e64> DrawText");
    EXPECT_FALSE(ansi.first == european.first);
}
