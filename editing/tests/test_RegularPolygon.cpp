#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <cmath>

#include "DialogPlayer.h"
#include "EditingTestSupport.h"
#include "FigureWindows.h"
#include "HelpPages.h"
#include "basHMapCoord.h"
#include "clsSurvey.h"
#include "frmRegularPolygon.h"

namespace {

constexpr int32_t Deg(double d) { return static_cast<int32_t>(std::lround(d * 3600)); }
const QString kRangeMessage = QStringLiteral("既定の範囲を超えています.");
const QString kCorrect = QStringLiteral("設定に誤りがあります.\r修正しますか？");

// A fresh generator in a map mode, the coordinate text of that mode
// installed, as after its Form_Load and activation.
struct Generator {
    edittest::CoordinateMode coordinates;
    frmRegularPolygonLogic g;
    explicit Generator(int mode, int32_t cx = Deg(139), int32_t cy = Deg(35)) : coordinates(mode) {
        SetMapModeSource([mode] { return mode; });
        g.MapMode = mode;
        g.CenterX = cx;
        g.CenterY = cy;
        g.Load();
        g.Activate();
    }
    ~Generator() { SetMapModeSource({}); }
    frmRegularPolygonLogic* operator->() { return &g; }
};

double ArcMetres(int32_t lon1, int32_t lat1, int32_t lon2, int32_t lat2) {
    clsSurvey s;
    s.SetAll(lon1, lat1, lon2, lat2);
    return s.ArcDistance();
}

double AzimuthOf(int32_t lon1, int32_t lat1, int32_t lon2, int32_t lat2) {
    clsSurvey s;
    s.SetAll(lon1, lat1, lon2, lat2);
    return s.DirectionRadian();
}

} // namespace

TEST(RegularPolygon, DistanceTextInKilometresUnitsOrAsAnArc) {
    const double oneDegreeArc = std::floor(SecToRadian(3600) * GlobeRadius + 0.5);
    struct Case {
        QString text;
        bool taken;
        double metres;   // kept afterwards
    } cases[] = {
        {"250", true, 250000},
        {" 12.5km ", true, 12500},
        {"800m", true, 800},                          // not minutes
        {"800M", true, 800 * 1852.0},                 // sea miles, not metres
        {"１５０", true, 150000},                     // full-width digits
        {"1°", true, oneDegreeArc},                    // an angle: its arc on the globe
        {"1ﾟ30'", true, std::floor(SecToRadian(5400) * GlobeRadius + 0.5)},
        {"0", false, 100000},
        {"-5", false, 100000},
        {"何か", false, 100000},
        {QString::number(GlobeCircumference / 2 + 0.002, 'f', 3) + "m", false, 100000},   // past half the globe
        {QString::number(GlobeCircumference / 2 - 1, 'g', 17) + "m", true, GlobeCircumference / 2 - 1},
    };
    for (const Case& c : cases) {
        Generator g(1);
        EXPECT_EQ(g->DistanceValidate(c.text), c.taken) << c.text.toStdString();
        EXPECT_DOUBLE_EQ(g->Distance(), c.metres) << c.text.toStdString();
        // The start vertex lies at the kept distance, due north.
        EXPECT_NEAR(ArcMetres(g->CenterX, g->CenterY, g->StartX(), g->StartY()), c.metres, 31) << c.text.toStdString();
    }
    EXPECT_NEAR(oneDegreeArc, 111195, 1);
    Generator g(1);
    EXPECT_EQ(g->Show().distance, QStringLiteral("100.00km"));
    g->DistanceValidate("1°");
    EXPECT_EQ(g->Show().distance, QStringLiteral("111.19km"));
}

TEST(RegularPolygon, CountFromThreeToAThousand) {
    struct Case {
        QString text;
        bool taken;
        int32_t kept;
    } cases[] = {
        {"3", true, 3},     {"1000", true, 1000}, {"１０００", true, 1000}, {"３", true, 3},
        {"2", false, 64},   {"1001", false, 64},  {"2.5", false, 64},     // rounded half to even: 2
        {"3.5", true, 4},   {"", false, 64},      {"abc", false, 64},     {"1e20", false, 64},
    };
    for (const Case& c : cases) {
        Generator g(2);
        EXPECT_EQ(g->CountValidate(c.text), c.taken) << c.text.toStdString();
        EXPECT_EQ(g->Count(), c.kept) << c.text.toStdString();
        EXPECT_EQ(g->Show().count, QString::number(c.kept));
        if (c.taken) {
            EXPECT_EQ(g->Build().Count(), c.kept + 1);
        }
    }
}

TEST(RegularPolygon, SphereVerticesEquidistantAndClockwise) {
    for (const int32_t count : {3, 7, 64, 1000}) {
        Generator g(1, Deg(139.5), Deg(35.25));
        ASSERT_TRUE(g->CountValidate(QString::number(count)));
        ASSERT_TRUE(g->AzimuthValidate("30°"));
        const clsPoly ring = g->Build();
        ASSERT_EQ(ring.Count(), count + 1);
        EXPECT_TRUE(ring.IsLoop());
        EXPECT_EQ(ring.GetPoint(1), (PolyPoint{g->StartX(), g->StartY()}));
        const double step = 2 * M_PI / count;
        const double radius = ArcMetres(g->CenterX, g->CenterY, g->StartX(), g->StartY());
        EXPECT_NEAR(radius, 100000, 22);
        for (int32_t i = 1; i <= count; ++i) {
            const PolyPoint p = ring.GetPoint(i);
            // Each vertex within the half-second rounding of the exact one
            // (at most 22 m), also the last of a thousand.
            EXPECT_NEAR(ArcMetres(g->CenterX, g->CenterY, p.x, p.y), radius, 22) << count << " #" << i;
            const double az = AzimuthOf(g->CenterX, g->CenterY, p.x, p.y);
            const double expected = std::fmod(M_PI / 6 + (i - 1) * step, 2 * M_PI);
            EXPECT_NEAR(std::remainder(az - expected, 2 * M_PI), 0, 3e-4) << count << " #" << i;
        }
    }
}

TEST(RegularPolygon, RingRoundThePoleFromLatitude89) {
    Generator g(1, Deg(20), Deg(89));
    ASSERT_TRUE(g->DistanceValidate("500"));
    const clsPoly ring = g->Build();
    ASSERT_EQ(ring.Count(), 65);
    // The longitudes go once round the globe: the ring encloses the pole.
    int64_t turned = 0;
    for (int32_t i = 2; i <= ring.Count(); ++i) {
        int64_t d = int64_t{ring.x(i)} - ring.x(i - 1);
        if (d > 648000) d -= 1296000;
        if (d < -648000) d += 1296000;
        turned += d;
    }
    EXPECT_EQ(std::llabs(turned), 1296000);
    const double radius = ArcMetres(g->CenterX, g->CenterY, g->StartX(), g->StartY());
    EXPECT_NEAR(radius, 500000, 22);
    for (int32_t i = 1; i <= ring.Count(); ++i) {
        EXPECT_GT(ring.y(i), Deg(84));
        EXPECT_NEAR(ArcMetres(g->CenterX, g->CenterY, ring.x(i), ring.y(i)), radius, 22);
    }
}

TEST(RegularPolygon, PlaneDueEastIsNinetyDegreesAndTheRingTurnsLeft) {
    Generator g(2, 1000000, -2000000);
    ASSERT_TRUE(g->StartXValidate("1100"));   // km
    ASSERT_TRUE(g->StartYValidate("-2000"));
    EXPECT_EQ(g->Show().azimuth, AngleToStr(Deg(90)));
    EXPECT_DOUBLE_EQ(g->Distance(), 100000);
    ASSERT_TRUE(g->DistanceValidate("30"));   // only the distance: still due east
    EXPECT_EQ(g->StartX(), 1030000);
    EXPECT_EQ(g->StartY(), -2000000);
    EXPECT_EQ(g->Show().sx, MapXToStr(1030000));
    ASSERT_TRUE(g->CountValidate("4"));
    const clsPoly ring = g->Build();
    const std::vector<PolyPoint> expected = {{1030000, -2000000}, {1000000, -1970000}, {970000, -2000000},
                                             {1000000, -2030000}, {1030000, -2000000}};
    EXPECT_EQ(std::vector<PolyPoint>(ring.Points().begin(), ring.Points().end()), expected);
    // Due west reads as minus ninety.
    ASSERT_TRUE(g->StartXValidate("900"));
    EXPECT_EQ(g->Show().azimuth, AngleToStr(-Deg(90)));
}

TEST(RegularPolygon, CentreCarriesTheStartAlongStartRecomputesTheRest) {
    for (const int mode : {1, 2}) {
        Generator g(mode, 0, 0);
        ASSERT_TRUE(g->AzimuthValidate("45°"));
        const double az = g->Azimuth(), d = g->Distance();
        const int32_t dx = g->StartX() - g->CenterX, dy = g->StartY() - g->CenterY;
        ASSERT_TRUE(g->CenterXValidate(mode == 1 ? "E10" : "10"));
        ASSERT_TRUE(g->CenterYValidate(mode == 1 ? "S5" : "-5"));
        EXPECT_DOUBLE_EQ(g->Azimuth(), az);
        EXPECT_DOUBLE_EQ(g->Distance(), d);
        if (mode == 2) {
            EXPECT_EQ(g->StartX() - g->CenterX, dx);
            EXPECT_EQ(g->StartY() - g->CenterY, dy);
        }
        const double now = mode == 1 ? ArcMetres(g->CenterX, g->CenterY, g->StartX(), g->StartY())
                                     : std::hypot(g->StartX() - g->CenterX, g->StartY() - g->CenterY);
        EXPECT_NEAR(now, d, 25) << "mode " << mode;
        // A coordinate out of range is refused with the range message.
        testsupport::ScriptedBoxes boxes;
        boxes.expect(kRangeMessage, plat::IdOk);
        EXPECT_FALSE(g->StartXValidate(mode == 1 ? "E181" : "99999"));
        EXPECT_DOUBLE_EQ(g->Azimuth(), az);
    }
}

TEST(RegularPolygon, StartOnTheCentreAsksToCorrect) {
    for (const int answer : {plat::IdOk, plat::IdCancel}) {
        Generator g(2, 0, 0);
        ASSERT_TRUE(g->StartYValidate("0"));
        EXPECT_EQ(g->Distance(), 0);
        testsupport::ScriptedBoxes boxes;
        boxes.expect(kCorrect, answer);
        EXPECT_EQ(g->OkClick(), answer == plat::IdOk ? OkOutcome::Stay : OkOutcome::Cancelled);
        EXPECT_FALSE(g->OK);
    }
    Generator g(2, 0, 0);
    EXPECT_EQ(g->OkClick(), OkOutcome::Closed);
    EXPECT_TRUE(g->OK);
    EXPECT_EQ(g->Poly.Count(), 65);
}

TEST(RegularPolygon, PointsPickedInTheDrawingWindow) {
    std::vector<DrawWindowRequest> seen;
    FigPolyWindows windows;
    windows.draw = [&](DrawWindowRequest& r) {
        seen.push_back(r);
        r.PointX += 100000;
        return seen.size() < 3;   // the third is cancelled
    };
    const FigPolyWindows previous = SetFigPolyWindows(windows);
    Generator g(2, 0, 0);
    g->windowCorner = [] { return plat::DialogPosition{1000, 2000}; };
    g->PickCenter();   // the start keeps azimuth and distance
    EXPECT_EQ(PolyPoint({g->CenterX, g->CenterY}), PolyPoint({100000, 0}));
    EXPECT_EQ(PolyPoint({g->StartX(), g->StartY()}), PolyPoint({100000, 100000}));
    g->PickStart();    // azimuth and distance follow the start
    EXPECT_EQ(g->Show().azimuth, AngleToStr(Deg(45)));
    g->PickCenter();
    EXPECT_EQ(g->CenterX, 100000);
    SetFigPolyWindows(previous);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].Title, QStringLiteral("多角形の中心"));
    EXPECT_EQ(seen[1].Title, QStringLiteral("多角形の開始頂点"));
    EXPECT_TRUE(!seen[0].polyMode && !seen[0].CenterView);
    EXPECT_EQ(PolyPoint({seen[1].PointX, seen[1].PointY}), PolyPoint({100000, 100000}));
    EXPECT_TRUE(seen[0].firstPosition.left == 1600 && seen[0].firstPosition.top == 2600);
}

TEST(RegularPolygon, TheWindowAsAUserSeesIt) {
    edittest::CoordinateMode coordinates(1);
    SetMapModeSource([] { return 1; });
    RegularPolygon() = frmRegularPolygonLogic();
    for (const bool ok : {true, false}) {
        testsupport::WhenModal<frmRegularPolygon>([ok](frmRegularPolygon* dlg) {
            EXPECT_EQ(dlg->windowTitle(), QStringLiteral("正多角形生成"));
            EXPECT_EQ(dlg->lblCx->text(), QStringLiteral("経度(&X):"));
            EXPECT_EQ(dlg->txtDistance->text(), ok ? QStringLiteral("100.00km") : QStringLiteral("25.00km"));
            EXPECT_EQ(dlg->txtNum->text(), ok ? QStringLiteral("64") : QStringLiteral("6"));
            if (ok) {
                dlg->txtNum->setText(QStringLiteral("２"));   // refused: the count comes back
                EXPECT_FALSE(dlg->checkField(dlg->txtNum));
                EXPECT_EQ(dlg->txtNum->text(), QStringLiteral("64"));
                dlg->txtNum->setText(QStringLiteral("６"));
                EXPECT_TRUE(dlg->checkField(dlg->txtNum));
                dlg->txtDistance->setText(QStringLiteral("25"));
                EXPECT_TRUE(dlg->checkField(dlg->txtDistance));
                EXPECT_EQ(dlg->txtDistance->text(), QStringLiteral("25.00km"));
                edittest::ExpectPicture(dlg);
                EXPECT_EQ(testsupport::NamesNotInWindow(frmRegularPolygonLogic::kHelpContext, *dlg), QStringList());
            }
            (ok ? dlg->cmdOK : dlg->cmdCancel)->click();
        });
        RegularPolygonRequest req;
        req.MapMode = 1;
        req.CenterX = Deg(135);
        req.CenterY = Deg(35);
        req.firstPosition = {600, 600};
        EXPECT_EQ(RunRegularPolygon(req), ok);
        EXPECT_EQ(req.Result.Count(), ok ? 7 : 0);
    }
    SetMapModeSource({});
    RegularPolygon() = frmRegularPolygonLogic();
}
