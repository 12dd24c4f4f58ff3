// Survey and frame cut on the map view: readouts, rubber bands on the
// overlay, the report, the cut's view size and scale, and pictures of both
// over the plotted start map.
#include "MapViewTestSupport.h"

#include <QImage>

#include "basGlobe.h"
#include "clsSurvey.h"

using namespace apptest;

namespace {

class ViewSurveyTest : public MapViewTest {
protected:
    // Pixels of the overlay that hold a mark.
    int Marked() const {
        int n = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) n += overlay_.MaskPixel(x, y) != 0;
        return n;
    }
};

TEST_F(ViewSurveyTest, ReadoutOfALegInBothMapModes) {
    struct Case {
        int32_t mode;
        int32_t x1, y1, x2, y2;
        QString readout;
    };
    const QString tail = QStringLiteral("ﾟ  (右クリックで経路完了)");
    const Case cases[] = {
        {1, 0, 0, 90 * kDeg, 0, QStringLiteral("測量：距離=10,007.54km 方位角=90") + tail},
        {1, 0, 0, 0, 10 * kDeg, QStringLiteral("測量：距離=1,111.95km 方位角=0") + tail},
        {2, 0, 0, 0, 1000, QStringLiteral("測量：距離=1.00km 方位角=0") + tail},
        {2, 0, 0, -1000, 0, QStringLiteral("測量：距離=1.00km 方位角=270") + tail},
        {2, 0, 0, 0, -2500000, QStringLiteral("測量：距離=2,500.00km 方位角=180") + tail},
    };
    for (const Case& c : cases) {
        gvMapMode = c.mode;
        control_->mnuSurvey_Click();
        EXPECT_EQ(host_.status, QStringLiteral("測量：始点をクリック"));
        EXPECT_EQ(host_.cursor, 1104);
        survey().FixPoint(c.x1, c.y1);
        EXPECT_TRUE(host_.status.startsWith(QStringLiteral("測量：距離=0.00km "))) << "a new leg starts at 0";
        survey().MoveTo(c.x2, c.y2);
        EXPECT_EQ(host_.status, c.readout);
        control_->mnuSurvey_Click();
        EXPECT_EQ(host_.status, QString());
        EXPECT_EQ(host_.cursor, 1101);
    }
}

TEST_F(ViewSurveyTest, TheMovingBandErasesItselfAndFixedLegsStay) {
    control_->mnuSurvey_Click();
    survey().FixPoint(-2 * kDeg, -kDeg);
    survey().MoveTo(kDeg, kDeg);
    EXPECT_TRUE(survey().SurveyMode & ViewSurvey::Drawn);
    const int one = Marked();
    EXPECT_GT(one, 100);
    survey().MoveTo(2 * kDeg, -kDeg);
    survey().MoveTo(kDeg, kDeg);
    EXPECT_EQ(Marked(), one) << "the band drawn again is the same band";
    survey().FixPoint(kDeg, kDeg);
    survey().MoveTo(3 * kDeg, 0);
    const int two = Marked();
    EXPECT_GT(two, one) << "the fixed leg stays and the new one is added";

    // A replot wipes the view; the fixed legs come back, the moving band
    // with the next move.
    control_->ViewRepainted();
    EXPECT_EQ(Marked(), one);
    EXPECT_FALSE(survey().SurveyMode & ViewSurvey::Drawn);
    survey().MoveTo(3 * kDeg, 0);
    EXPECT_EQ(Marked(), two);

    // During a plot only the readout moves.
    host_.plotting = true;
    survey().MoveTo(-3 * kDeg, kDeg);
    EXPECT_EQ(Marked(), two);
    EXPECT_TRUE(host_.status.contains(QStringLiteral("方位角=270")));
    host_.plotting = false;

    control_->mnuSurvey_Click();
    EXPECT_TRUE(overlay_.IsEmpty()) << "leaving the mode removes its marks";
    EXPECT_EQ(Marked(), 0);
    EXPECT_EQ(survey().SurveyRoute.Count(), 0);
    EXPECT_EQ(survey().SurveyLength, 0);
}

TEST_F(ViewSurveyTest, ALegAcrossTheOppositeMeridianIsDrawnAsTwoPieces) {
    SetView(*ll_, 1, 0, 0, 2.4e8);   // about 340 degrees across
    control_->mnuSurvey_Click();
    survey().SurveyLastX = 160 * kDeg;
    survey().SurveyX = -160 * kDeg;
    survey().SurveyLastY = survey().SurveyY = 10 * kDeg;
    const PolyCollection band = survey().SurveyMakeRubber();
    ASSERT_EQ(band.size(), 2u);
    const clsRect a = band[0].RectBound(), b = band[1].RectBound();
    EXPECT_TRUE((a.x1 > kW * 3 / 4 && b.x2 < kW / 4) || (b.x1 > kW * 3 / 4 && a.x2 < kW / 4))
        << "one piece at each side: " << a.x1 << ".." << a.x2 << " and " << b.x1 << ".." << b.x2;

    // The same leg in a view centred on the date line is one piece.
    SetView(*ll_, 1, 180 * kDeg, 0, 2e8);
    EXPECT_EQ(survey().SurveyMakeRubber().size(), 1u);
}

class ReportBoxes : public testsupport::ScriptedBoxes {
public:
    std::function<void()> whileShown;
    int showMessage(const plat::MessageRequest& req) override {
        if (whileShown) whileShown();
        return ScriptedBoxes::showMessage(req);
    }
};

TEST_F(ViewSurveyTest, TheRightClickReportsAndStartsAFreshRoute) {
    control_->mnuSurvey_Click();
    const clsPoly triangle = [] {
        clsPoly p;
        p.AddXandY(0, 0);
        p.AddXandY(3 * 3600, 0);
        p.AddXandY(0, 3 * 3600);
        return p;
    }();
    for (const PolyPoint& p : triangle.Points()) survey().FixPoint(p.x, p.y);
    const double length = survey().SurveyLength;
    clsSurvey s;
    s.SetAll(0, 0, 3 * kDeg, 0);
    double expected = s.ArcDistance();
    s.SetAll(3 * kDeg, 0, 0, 3 * kDeg);
    expected += s.ArcDistance();
    EXPECT_NEAR(length, expected, 1e-6) << "the closing leg is not counted";

    const int fixed = Marked();
    ReportBoxes boxes;
    int whileOpen = 0;
    boxes.whileShown = [&] {
        whileOpen = Marked();
        EXPECT_EQ(overlay_.dc()->CurrentPen().dash(), plat::PS_DOT);
    };
    const QString text = QStringLiteral("ノード数 = 3\r\n総延長 = ") + FormatStandard(expected / 1000) +
                         QStringLiteral(" km  (点線を含まず)\r\n面積 = ") +
                         FormatStandard(clsSurvey().PolyArea(triangle) / 1000000) + QStringLiteral(" k㎡");
    boxes.expect(text, plat::IdOk);
    Click(300, 200, MapViewControl::RightButton);
    Wait(10);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, text);
    EXPECT_EQ(boxes.shown()[0].title, QStringLiteral("測量結果"));
    EXPECT_EQ(boxes.shown()[0].icon(), plat::MbInformation);
    EXPECT_GT(whileOpen, fixed) << "the dotted closing leg is drawn while the box is open";
    EXPECT_TRUE(survey().IsOn());
    EXPECT_EQ(survey().SurveyRoute.Count(), 0);
    EXPECT_EQ(survey().SurveyLength, 0);
    EXPECT_EQ(Marked(), 0);
    EXPECT_EQ(overlay_.dc()->CurrentPen().dash(), plat::PS_SOLID);
}

TEST_F(ViewSurveyTest, XYReportSaysItMeasuresOnThePlane) {
    gvMapMode = 2;
    control_->mnuSurvey_Click();
    survey().FixPoint(0, 0);
    survey().FixPoint(3000, 4000);
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("ノード数 = 2\r\n総延長 = 5.00 km\r\n\r\nＸＹモードのため"), plat::IdOk);
    survey().SurveyReport();

    // A report of one node shows nothing.
    control_->mnuSurvey_Click();
    control_->mnuSurvey_Click();
    survey().FixPoint(0, 0);
    survey().SurveyReport();
}

TEST_F(ViewSurveyTest, SurveyAndFrameCutExcludeEachOther) {
    control_->mnuSurvey_Click();
    survey().FixPoint(0, 0);
    survey().MoveTo(kDeg, kDeg);
    ASSERT_FALSE(overlay_.IsEmpty());
    control_->mnuFrameCut_Click();
    EXPECT_FALSE(survey().IsOn());
    EXPECT_TRUE(frameCut().IsOn());
    EXPECT_TRUE(overlay_.IsEmpty());
    EXPECT_EQ(host_.cursor, 1106);
    frameCut().Click(0, 0);
    frameCut().MoveTo(kDeg, kDeg);
    EXPECT_FALSE(overlay_.IsEmpty());
    control_->mnuSurvey_Click();
    EXPECT_FALSE(frameCut().IsOn());
    EXPECT_TRUE(overlay_.IsEmpty());
    control_->LeaveModes();
    EXPECT_FALSE(survey().IsOn());
    EXPECT_FALSE(frameCut().IsOn());
}

// ---------------------------------------------------------------------------

class ViewFrameCutTest : public ViewSurveyTest {};

TEST_F(ViewFrameCutTest, CornersAcrossTheDateLineSpanTheShortWay) {
    SetView(*ll_, 1, 180 * kDeg, 0, 2e7);
    EXPECT_EQ(WrapLongitude(-175 * kDeg), 185 * kDeg);
    ll_->setCenterX(170 * kDeg);
    EXPECT_EQ(WrapLongitude(-170 * kDeg), 684000);
    ll_->setCenterX(180 * kDeg);
    gvMapMode = 2;
    EXPECT_EQ(WrapLongitude(-170 * kDeg), -170 * kDeg);
    gvMapMode = 1;

    frameCut().FrameCutX1 = 175 * kDeg;
    frameCut().FrameCutX2 = -175 * kDeg;
    frameCut().FrameCutY1 = -5 * kDeg;
    frameCut().FrameCutY2 = 5 * kDeg;
    const clsPoly outline = frameCut().FrameCutMakePoly();
    const clsRect box = outline.RectBound();
    // Ten degrees at 1:20,000,000 and 96 dpi: about 210 pixels.
    EXPECT_NEAR(box.Width(), 10 * kDeg * MeterPerSec / 2e7 / 0.0254 * 96, 3);
    EXPECT_GE(outline.Count(), 4 * 24) << "densified to a 24th of the width";
}

TEST_F(ViewFrameCutTest, TheBandFollowsThePointerAndCurvesInAConicView) {
    SetView(*ll_, 3, 0, 50 * kDeg, 3e7);
    control_->mnuFrameCut_Click();
    EXPECT_EQ(host_.status, QStringLiteral("フレームカット：領域の頂点をクリック"));
    int32_t mx = 0, my = 0;
    ASSERT_TRUE(PosViewToMap(100, 100, mx, my));
    Click(100, 100);
    Wait(10);
    EXPECT_EQ(frameCut().FrameCutMode, ViewFrameCut::FirstSet);
    EXPECT_EQ(host_.status, QStringLiteral("フレームカット：領域の対角点をクリック"));
    control_->picView_MouseMove(0, 500, 300);
    EXPECT_TRUE(frameCut().FrameCutMode & ViewFrameCut::Drawn);
    ASSERT_TRUE(frameCut().FrameCutRubber);
    // The top edge (a parallel) bends in the conic view: its middle lies
    // off the straight line between the corners.
    const clsPoly& band = *frameCut().FrameCutRubber;
    const int32_t mid = 1 + 12;
    EXPECT_GT(std::abs(band.y(mid) - (band.y(1) + band.y(25)) / 2), 3) << "a curved parallel";
    control_->picView_MouseMove(0, 520, 320);
    control_->picView_MouseMove(0, 500, 300);
    EXPECT_EQ(frameCut().FrameCutRubber->Count(), band.Count());

    // A right click leaves without cutting.
    Click(300, 200, MapViewControl::RightButton);
    Wait(10);
    EXPECT_FALSE(frameCut().IsOn());
    EXPECT_EQ(host_.plots, 0);
    EXPECT_TRUE(overlay_.IsEmpty());
}

TEST_F(ViewFrameCutTest, TheCutSizesTheViewAndSetsTheScale) {
    struct Case {
        const char* name;
        int32_t x1, y1, x2, y2;
        int32_t viewW, viewH;   // the view before
        bool wide;
    };
    const Case cases[] = {
        {"a wide area", -10 * kDeg, -2 * kDeg, 10 * kDeg, 2 * kDeg, 600, 400, true},
        {"a tall area", -1 * kDeg, -8 * kDeg, 1 * kDeg, 8 * kDeg, 600, 400, false},
        {"a view larger than three quarters keeps its width", -10 * kDeg, -2 * kDeg, 10 * kDeg, 2 * kDeg, 1600, 400,
         true},
        {"one point: a square is taller than the screen's shape", 0, 0, 0, 0, 600, 400, false},
    };
    for (const Case& c : cases) {
        canvas_->setViewWidth(c.viewW);
        canvas_->setViewHeight(c.viewH);
        canvas_->setCanvasWidth(c.viewW);
        canvas_->setCanvasHeight(c.viewH);
        SetView(*ll_, 1, 0, 0, 2e7);
        host_ = FakeHost();
        host_.control = control_.get();
        const double before = ll_->MapScale();
        control_->mnuFrameCut_Click();
        frameCut().Click(c.x1, c.y1);
        frameCut().Click(c.x2, c.y2);
        EXPECT_FALSE(frameCut().IsOn()) << c.name;
        EXPECT_EQ(host_.initializing, (std::vector<bool>{true, false})) << c.name;
        EXPECT_EQ(host_.formResizes, 1) << c.name;
        EXPECT_EQ(host_.plots, 1) << c.name;
        EXPECT_EQ(host_.controlls, 1) << c.name;
        const int32_t vw = canvas_->ViewWidth(), vh = canvas_->ViewHeight();
        if (c.wide) {
            const int32_t limit = 1920 * 3 / 4;
            EXPECT_EQ(vw, c.viewW < limit ? c.viewW + (limit - c.viewW) / 2 : c.viewW) << c.name;
        } else {
            const int32_t limit = 1080 * 3 / 4;
            EXPECT_EQ(vh, c.viewH + (limit - c.viewH) / 2) << c.name;
        }
        EXPECT_EQ(canvas_->CanvasWidth(), vw) << c.name;
        EXPECT_EQ(canvas_->CanvasHeight(), vh) << c.name;
        // The area's width, measured at the old scale, fills the view less 8 pixels.
        const double areaPixels = (double(c.x2) - c.x1) * MeterPerSec / before / 0.0254 * 96;
        const double w = std::max(areaPixels, 24.0);
        EXPECT_NEAR(ll_->MapScale(), w * before / (vw - 8), before * 3 / (vw - 8)) << c.name;
        EXPECT_EQ(ll_->CenterX(), CoarseToMap(MapToCoarse((c.x1 + c.x2) / 2))) << c.name;
    }
}

// ---------------------------------------------------------------------------

class ViewPictures : public ViewSurveyTest {
protected:
    // The start map plotted on the canvas and painted into the view.
    QImage PlotAndPaint() {
        EXPECT_EQ(PlotMap(picture_.hDC(), 96, 96, kW, kH), PlotDone);
        canvas_->Paint();
        return view_.Image()->image().copy();
    }
    static int Differing(const QImage& a, const QImage& b) {
        int n = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) n += (a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF);
        return n;
    }
};

TEST_F(ViewPictures, SurveyInProgressAndFrameCutOverThePlottedMap) {
    ll_->setMapScale(1.2e8);
    ll_->setCenterX(170 * kDeg);
    ll_->setCenterY(10 * kDeg);
    const QImage map = PlotAndPaint();

    control_->mnuSurvey_Click();
    for (const auto& [x, y] : {std::pair{139 * kDeg + 2760, 35 * kDeg + 2460}, std::pair{-122 * kDeg - 1500, 37 * kDeg + 2700}})
        survey().FixPoint(x, y);
    survey().MoveTo(151 * kDeg + 720, -33 * kDeg - 3120);
    const QImage surveyed = overlay_.Composed(map);
    EXPECT_GT(Differing(map, surveyed), 300);
    EXPECT_TRUE(surveyed.save(testsupport::OutputFolder() + QStringLiteral("/ViewPictures-survey.png")));
    EXPECT_TRUE(host_.status.startsWith(QStringLiteral("測量：距離=")));

    control_->mnuFrameCut_Click();
    EXPECT_EQ(overlay_.Composed(map), map.convertToFormat(QImage::Format_RGB32)) << "nothing left of the survey";
    // A conic view, where the area's parallels are arcs.
    ll_->setProjectionIndex(3);
    ll_->setCenterX(140 * kDeg);
    ll_->setCenterY(45 * kDeg);
    ll_->setMapScale(5e7);
    const QImage conic = PlotAndPaint();
    frameCut().Click(120 * kDeg, 30 * kDeg);
    frameCut().MoveTo(155 * kDeg, 55 * kDeg);
    const QImage cut = overlay_.Composed(conic);
    EXPECT_GT(Differing(conic, cut), 300);
    EXPECT_TRUE(cut.save(testsupport::OutputFolder() + QStringLiteral("/ViewPictures-framecut.png")));
}

} // namespace
