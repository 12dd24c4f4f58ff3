#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTest>
#include <QTimer>

#include <cmath>

#include "Clock.h"
#include "DialogPlayer.h"
#include "EditingTestSupport.h"
#include "HelpPages.h"
#include "KeyCodes.h"
#include "basHMapCoord.h"
#include "clsMap.h"
#include "FigureWindows.h"
#include "frmDraw.h"

namespace {

const QString kRangeMessage = QStringLiteral("既定の範囲を超えています.");

// A view of 400 x 300 pixels (or another size): one pixel is 100 map
// units, the view's middle, (200, 150), shows map (0, 0), y up. The map
// ends with the view.
class FakeView : public DrawMapView {
public:
    int mode = 1;
    double scale = 1000000;
    int32_t cx = 0, cy = 0;
    QSize size{400, 300};
    std::vector<PolyPoint> elements;   // what the snap finds
    int plots = 0;
    std::vector<std::tuple<int32_t, int32_t, double>> views;

    int32_t MapMode() const override { return mode; }
    QSize ViewSize() const override { return size; }
    QImage Picture() override {
        QImage img(size, QImage::Format_RGB32);
        img.fill(QColor(0xE0, 0xF0, 0xFF));
        return img;
    }
    bool MapToView(int32_t mx, int32_t my, int32_t& vx, int32_t& vy) const override {
        MapToViewNear(mx, my, vx, vy);
        return vx >= 0 && vx < size.width() && vy >= 0 && vy < size.height();
    }
    bool MapToViewNear(int32_t mx, int32_t my, int32_t& vx, int32_t& vy) const override {
        vx = size.width() / 2 + int32_t(std::lround((mx - cx) / 100.0));
        vy = size.height() / 2 - int32_t(std::lround((my - cy) / 100.0));
        return true;
    }
    bool ViewToMap(int32_t vx, int32_t vy, int32_t& mx, int32_t& my) const override {
        mx = (vx - size.width() / 2) * 100 + cx;
        my = (size.height() / 2 - vy) * 100 + cy;
        return vx >= 0 && vx < size.width() && vy >= 0 && vy < size.height();
    }
    std::optional<PolyPoint> NearestElement(int32_t vx, int32_t vy) override {
        std::optional<PolyPoint> best;
        double bestD = 64;
        for (const PolyPoint& p : elements) {
            int32_t ex = 0, ey = 0;
            MapToViewNear(p.x, p.y, ex, ey);
            const double d = std::hypot(ex - vx, ey - vy);
            if (d <= bestD) best = p, bestD = d;
        }
        return best;
    }
    int32_t CenterX() const override { return cx; }
    int32_t CenterY() const override { return cy; }
    double MapScale() const override { return scale; }
    void SetView(int32_t x, int32_t y, double s) override {
        cx = x;
        cy = y;
        scale = s;
        views.emplace_back(x, y, s);
    }
    bool OnCanvas(int32_t mx, int32_t my) const override {
        int32_t vx = 0, vy = 0;
        return MapToView(mx, my, vx, vy);
    }
    void PlotWindow() override { ++plots; }
};

// The map point shown at a view pixel.
PolyPoint At(int32_t vx, int32_t vy) { return {(vx - 200) * 100, (150 - vy) * 100}; }

clsPoly PolyOf(std::initializer_list<PolyPoint> pts) {
    clsPoly p;
    for (const PolyPoint& q : pts) p.AddPoint(q);
    return p;
}

std::vector<PolyPoint> Nodes(const clsPoly& p) { return {p.Points().begin(), p.Points().end()}; }

// A drawing window's logic loaded over a fake view in a map mode.
struct Drawing {
    FakeView view;
    frmDrawLogic d;
    explicit Drawing(int mode = 1) {
        view.mode = mode;
        SetMapModeSource([mode] { return mode; });
    }
    ~Drawing() {
        d.Unload();
        SetMapModeSource({});
    }
    void poly(const std::vector<PolyPoint>& pts, int32_t act) {
        d.Mode = frmDrawLogic::ModePoly;
        d.Poly = clsPoly();
        for (const PolyPoint& p : pts) d.Poly.AddPoint(p);
        d.ActIndex = act;
        EXPECT_TRUE(d.Load(view));
        d.Paint();
    }
    void point(PolyPoint p) {
        d.Mode = frmDrawLogic::ModePoint;
        d.PointX = p.x;
        d.PointY = p.y;
        EXPECT_TRUE(d.Load(view));
        d.Paint();
    }
    // A left click at a view pixel, the pointer moving there first.
    void click(int32_t x, int32_t y) {
        d.MouseDown(1, x, y);
        d.MouseUp(1, x, y);
    }
    void drag(QPoint from, QPoint to) {
        d.MouseDown(1, from.x(), from.y());
        d.MouseMove(1, (from.x() + to.x()) / 2, (from.y() + to.y()) / 2);
        d.MouseMove(1, to.x(), to.y());
        d.MouseUp(1, to.x(), to.y());
    }
    frmDrawLogic* operator->() { return &d; }
};

// Four corners in view pixels.
const PolyPoint A = At(100, 100), B = At(200, 100), C = At(200, 200), D = At(100, 200);

} // namespace

TEST(DrawNodes, IndicesWrapOnAClosedListAndStopOnAnOpenOne) {
    Drawing closed;
    closed.poly({A, B, C, D, A}, 1);
    Drawing open;
    open.poly({A, B, C, D}, 1);
    struct Case {
        int32_t i, onClosed, onOpen;
    } cases[] = {{1, 1, 1}, {4, 4, 4}, {5, 1, -1}, {6, 2, -1}, {0, 4, -1}, {-1, 3, -1}};
    for (const Case& c : cases) {
        EXPECT_EQ(closed->NormalizeIndex(c.i), c.onClosed) << c.i;
        EXPECT_EQ(open->NormalizeIndex(c.i), c.onOpen) << c.i;
    }
    // Writing node 1 (or Count, which is node 1) keeps the list closed.
    const PolyPoint P = At(90, 90), Q = At(80, 80);
    closed->SetPos(1, P.x, P.y);
    EXPECT_EQ(Nodes(closed->Poly), (std::vector<PolyPoint>{P, B, C, D, P}));
    closed->SetPos(5, Q.x, Q.y);
    EXPECT_EQ(Nodes(closed->Poly), (std::vector<PolyPoint>{Q, B, C, D, Q}));
    open->SetPos(5, P.x, P.y);   // no such node: nothing
    EXPECT_EQ(Nodes(open->Poly), (std::vector<PolyPoint>{A, B, C, D}));
    Drawing point;
    point.point(A);
    EXPECT_EQ(point->NormalizeIndex(1), -1);
    EXPECT_EQ(point->ActIndex, -1);
    point->SetPos(7, B.x, B.y);
    EXPECT_EQ(PolyPoint({point->PointX, point->PointY}), B);
}

TEST(DrawNodes, PageKeysWrapTheActiveNodeAtBothEnds) {
    Drawing open;
    open.poly({A, B, C}, 3);
    EXPECT_TRUE(open->KeyDown(plat::KeyPageDown));
    EXPECT_EQ(open->ActIndex, 1);
    EXPECT_TRUE(open->KeyDown(plat::KeyPageUp));
    EXPECT_EQ(open->ActIndex, 3);
    EXPECT_EQ(open->Message(), QStringLiteral("ノード[3]：") + MapXToStr(C.x) + ", " + MapYToStr(C.y));
    Drawing closed;
    closed.poly({A, B, C, A}, 9);   // clamped into 1..Count, then normalised
    EXPECT_EQ(closed->ActIndex, 1);
    closed->KeyDown(plat::KeyPageUp);
    EXPECT_EQ(closed->ActIndex, 3);
}

TEST(DrawNodes, HandleHitWithinFourPixelsNotFive) {
    Drawing w;
    w.poly({A, B}, 2);   // A at view (100, 100)
    struct Case {
        int32_t dx, dy;
        bool hit;
    } cases[] = {{4, 4, true}, {-4, -4, true}, {4, -4, true}, {0, 0, true},
                 {5, 0, false}, {0, 5, false}, {-5, -4, false}};
    for (const Case& c : cases) EXPECT_EQ(w->HitHandle(100 + c.dx, 100 + c.dy, 1), c.hit) << c.dx << "," << c.dy;
    EXPECT_FALSE(w->HitHandle(100, 100, 3));   // no such node
    EXPECT_EQ(w->NodeDistance(103, 104, 1), 5);
    EXPECT_EQ(w->NodeDistance(0, 0, 3), frmDrawLogic::kNoNode);
    // A press on a handle makes it active; elsewhere next to an inner node
    // it inserts, next to an end node it appends.
    w->MouseDown(1, 196, 104);
    EXPECT_EQ(w->ActIndex, 2);
    EXPECT_EQ(w->DragState(), 1);
    EXPECT_EQ(w->Cursor(), frmDrawLogic::kCursorDrag);
    w->MouseUp(1, 196, 104);   // the move lands where the press was
    EXPECT_EQ(w->Poly.GetPoint(2), At(196, 104));
    EXPECT_EQ(w->Cursor(), frmDrawLogic::kCursorNormal);
}

TEST(DrawNodes, InsertedNextToTheNearerNeighbour) {
    struct Case {
        std::vector<PolyPoint> before;
        int32_t act;
        QPoint click;
        std::vector<PolyPoint> after;
        int32_t actAfter;
    };
    const PolyPoint N1 = At(150, 95), N2 = At(205, 150), N3 = At(100, 150);
    const Case cases[] = {
        // open A B C, B active: nearer A goes between A and B, nearer C between B and C
        {{A, B, C}, 2, {150, 95}, {A, N1, B, C}, 2},
        {{A, B, C}, 2, {205, 150}, {A, B, N2, C}, 3},
        // closed A B C D A, D active: nearer A (the first node) lands before the closing node
        {{A, B, C, D, A}, 4, {100, 150}, {A, B, C, D, N3, A}, 5},
        // ... nearer C between C and D
        {{A, B, C, D, A}, 4, {150, 205}, {A, B, C, At(150, 205), D, A}, 4},
        // closed, A active: nearer D goes between D and the closing A
        {{A, B, C, D, A}, 1, {100, 150}, {A, B, C, D, N3, A}, 5},
    };
    for (const Case& c : cases) {
        Drawing w;
        w.poly(c.before, c.act);
        w->MouseDown(1, c.click.x(), c.click.y());
        EXPECT_EQ(w->DragState(), 2);
        w->MouseUp(1, c.click.x(), c.click.y());
        EXPECT_EQ(Nodes(w->Poly), c.after) << c.click.x() << "," << c.click.y();
        EXPECT_EQ(w->ActIndex, c.actAfter) << c.click.x() << "," << c.click.y();
    }
}

TEST(DrawNodes, AppendedAtTheActiveEnd) {
    Drawing w;
    w.poly({}, 7);
    EXPECT_EQ(w->ActIndex, 0);
    w.click(50, 50);   // the first click appends node 1
    EXPECT_EQ(Nodes(w->Poly), std::vector<PolyPoint>{At(50, 50)});
    EXPECT_EQ(w->ActIndex, 1);
    w.click(60, 60);
    w.click(70, 70);
    EXPECT_EQ(w->ActIndex, 3);
    w->KeyDown(plat::KeyPageDown);   // to node 1: the next goes before it
    w.click(40, 40);
    EXPECT_EQ(Nodes(w->Poly), (std::vector<PolyPoint>{At(40, 40), At(50, 50), At(60, 60), At(70, 70)}));
    EXPECT_EQ(w->ActIndex, 1);
}

TEST(DrawNodes, DeleteKeepsAClosedListClosed) {
    struct Case {
        std::vector<PolyPoint> before;
        int32_t act;
        bool enabled;
        std::vector<PolyPoint> after;
        int32_t actAfter;
    } cases[] = {
        {{A, B, C, D, A}, 1, true, {B, C, D, B}, 1},
        {{A, B, C, D, A}, 3, true, {A, B, D, A}, 3},
        {{A, B, C, A}, 2, false, {A, B, C, A}, 2},   // a triangle stays
        {{A, B, C}, 3, true, {A, B}, 2},
        {{A, B}, 1, false, {A, B}, 1},
    };
    for (const Case& c : cases) {
        Drawing w;
        w.poly(c.before, c.act);
        EXPECT_EQ(w->DeleteEnabled(), c.enabled);
        EXPECT_TRUE(w->KeyDown(plat::KeyDelete));
        EXPECT_EQ(Nodes(w->Poly), c.after);
        EXPECT_EQ(w->ActIndex, c.actAfter);
    }
    Drawing point;
    point.point(A);
    EXPECT_FALSE(point->DeleteEnabled() || point->LoopEnabled());
}

TEST(DrawNodes, OneLevelOfUndo) {
    Drawing w;
    w.poly({A, B, C}, 2);
    EXPECT_FALSE(w->UndoEnabled());
    w.drag({200, 100}, {210, 90});
    w.drag({210, 90}, {220, 80});
    EXPECT_EQ(w->Poly.GetPoint(2), At(220, 80));
    w->LoopClick();
    EXPECT_TRUE(w->Poly.IsLoop());
    w->UndoClick();
    EXPECT_EQ(Nodes(w->Poly), (std::vector<PolyPoint>{A, At(220, 80), C}));
    EXPECT_FALSE(w->UndoEnabled());
    w->UndoClick();   // nothing older is kept
    EXPECT_EQ(w->Poly.GetPoint(2), At(220, 80));
    Drawing p;
    p.point(A);
    p.click(300, 250);   // a click anywhere moves the point
    EXPECT_EQ(PolyPoint({p->PointX, p->PointY}), At(300, 250));
    p->UndoClick();
    EXPECT_EQ(PolyPoint({p->PointX, p->PointY}), A);
}

TEST(DrawNodes, SnapThenGridButArrowKeysNeither) {
    const PolyPoint element{3333, -7777};   // view (233, 228)
    struct Case {
        bool snap, grid;
        QPoint release;
        PolyPoint placed;
    } cases[] = {
        {false, false, {240, 230}, At(240, 230)},
        {true, false, {240, 230}, element},
        {true, false, {233 + 64, 228}, element},            // 64 canvas pixels still reach
        {true, false, {233 + 65, 228}, At(233 + 65, 228)},  // beyond: where released
        {true, true, {240, 230}, {3360, -7800}},            // snapped, then to the 60" grid
        {false, true, {240, 230}, {4020, -7980}},
    };
    for (const Case& c : cases) {
        Drawing w;
        w.view.elements = {element};
        w->Snap = c.snap;
        w->Grid = c.grid;
        w->GridStepLL = 60;
        w.point(A);
        w.click(c.release.x(), c.release.y());
        EXPECT_EQ(PolyPoint({w->PointX, w->PointY}), c.placed) << c.snap << c.grid;
        EXPECT_TRUE(w->Message().isEmpty());
    }
    Drawing w;
    w.view.elements = {element};
    w->Snap = w->Grid = true;
    w->GridStepLL = 3600;
    w.point(A);
    EXPECT_TRUE(w->KeyDown(plat::KeyRight));
    EXPECT_TRUE(w->KeyDown(plat::KeyUp));
    EXPECT_EQ(PolyPoint({w->PointX, w->PointY}), At(101, 99));
}

TEST(DrawNodes, LatitudeLongitudeStaysInsideTheDateLineAndThePoles) {
    Drawing w;
    w.view.cx = 645000;
    w.view.cy = 320000;
    w.point({645000, 320000});
    w.click(399, 0);
    EXPECT_EQ(PolyPoint({w->PointX, w->PointY}), PolyPoint({647995, 323970}));
    Drawing xy(2);
    xy.view.cx = 645000;
    xy.view.cy = 320000;
    xy.point({645000, 320000});
    xy.click(399, 0);
    EXPECT_EQ(PolyPoint({xy->PointX, xy->PointY}), PolyPoint({664900, 335000}));
}

TEST(DrawGrid, RoundingHalfAwayFromZero) {
    struct Case {
        int32_t c, g, rounded;
    } cases[] = {
        {30, 60, 60}, {-30, 60, -60}, {29, 60, 0}, {-29, 60, 0}, {89, 60, 60}, {90, 60, 120},
        {7, 0, 7},    {-7, 1, -7},    {5, 3, 6},   {-5, 3, -6},
        {INT32_MAX, 7, 2147483646},      // 2147483647 = 7 x 306783378 + 1
        {INT32_MIN, 1000, INT32_MIN},    // the multiple beyond 32 bits is cut
    };
    for (const Case& c : cases) EXPECT_EQ(frmDrawLogic::RoundToGrid(c.c, c.g), c.rounded) << c.c << "/" << c.g;
}

TEST(DrawGrid, StepTextOnPaperOnTheGroundOrAsAnAngle) {
    const auto secs = [](double metres) { return int32_t(std::nearbyint(metres / MeterPerSec)); };
    struct Case {
        int mode;
        QString text;
        bool taken;
        int32_t step;   // afterwards
    } cases[] = {
        {2, "3mm", true, 3000},            // 3 mm on paper at 1:1000000
        {1, "3mm", true, secs(3000)},
        {2, "2", true, 2000},              // a bare number is millimetres on paper
        {2, "2m", true, 2},                // a metre or more is on the ground
        {2, "0.5m", true, 500000},         // under a metre: on paper
        {1, "1°", true, 3600},             // no length: an angle
        {1, "30", true, secs(30000)},
        {1, "何か", true, 60},
        {2, "何か", true, 1000},
        {2, "3001km", false, 7},
        {2, "-1m", false, 7},
        {1, "31°", false, 7},
        {2, "0.500km", true, 500},
        {2, "0.001km", true, 1},
    };
    for (const Case& c : cases) {
        Drawing w(c.mode);
        w->GridStepLL = w->GridStepXY = 7;
        w.point(A);
        testsupport::ScriptedBoxes boxes;
        if (!c.taken)
            boxes.expect(kRangeMessage + "\r\nグリッド間隔は " +
                             (c.mode == 1 ? AngleToStr(1) + "～" + AngleToStr(108000) : QStringLiteral("0.001～3000km")),
                         plat::IdOk);
        EXPECT_EQ(w->GridValidate(c.text), c.taken) << c.text.toStdString();
        EXPECT_EQ(w->GridStep(), c.step) << c.text.toStdString();
        // What is shown reads back as the same step.
        const QString shown = w->GridText();
        EXPECT_TRUE(w->GridValidate(shown)) << shown.toStdString();
        EXPECT_EQ(w->GridStep(), c.step) << shown.toStdString();
    }
    Drawing w(2);
    w->GridStepXY = 500;
    w.point(A);
    EXPECT_EQ(w->GridText(), QStringLiteral("0.500km"));
    w->GridStepXY = 3000;
    EXPECT_EQ(w->GridText(), QStringLiteral("3km"));
    Drawing fresh(2);   // no step yet: 3 mm on paper
    fresh->GridStepXY = 0;
    fresh.point(A);
    EXPECT_EQ(fresh->GridStepXY, 3000);
    Drawing large;   // 3 mm at 1:1000 is under a second: the smallest step, no message
    large.view.scale = 1000;
    large.point(A);
    EXPECT_EQ(large->GridStepLL, 1);
}

TEST(DrawView, CentreZoomScaleOfTheMapLevel) {
    for (int16_t level = 1; level <= 8; ++level) {
        const double s = frmDrawLogic::CenterZoomScale(level, 123);
        EXPECT_EQ(s, std::floor(LimitMapScale(BorderScale(level) * 0.67 * std::pow(0.83, 8 - level)))) << level;
        EXPECT_EQ(s, std::floor(s));
    }
    EXPECT_LT(frmDrawLogic::CenterZoomScale(8, 0), frmDrawLogic::CenterZoomScale(1, 0));
    for (const int16_t other : {0, 9, -1}) EXPECT_EQ(frmDrawLogic::CenterZoomScale(other, 123), 123);

    struct Case {
        PolyPoint point;
        int16_t level;
        double scale;   // the main view's before
        bool changed;
        double scaleInWindow;
    } cases[] = {
        {At(100, 100), -1, 1e6, false, 1e6},                          // on the canvas, no level
        {{900000, 0}, -1, 1e6, true, 1e6},                            // off the canvas: centred
        {At(100, 100), 8, 1e9, true, frmDrawLogic::CenterZoomScale(8, 0)},   // far smaller scale: zoomed
        {At(100, 100), 8, frmDrawLogic::CenterZoomScale(8, 0) * 2, false, frmDrawLogic::CenterZoomScale(8, 0) * 2},
    };
    for (const Case& c : cases) {
        Drawing w;
        w.view.scale = c.scale;
        w->CenterView = true;
        w->MapLevel = c.level;
        w.point(c.point);
        EXPECT_EQ(w.view.plots, c.changed ? 1 : 0);
        EXPECT_EQ(w.view.scale, c.scaleInWindow);
        if (c.changed) {
            EXPECT_EQ(PolyPoint({w.view.cx, w.view.cy}), c.point);
        }
        w->Unload();   // the main view comes back
        EXPECT_EQ(w.view.plots, c.changed ? 2 : 0);
        EXPECT_EQ(w.view.scale, c.scale);
        EXPECT_EQ(PolyPoint({w.view.cx, w.view.cy}), PolyPoint({0, 0}));
    }
}

TEST(DrawView, RubberBandErasedExactlyAndMovementInMapUnits) {
    for (const int mode : {1, 2}) {
        Drawing w(mode);
        w.poly({A, B, C}, 2);
        const auto mask = [&] {
            std::vector<uint32_t> m;
            for (int y = 0; y < 300; ++y)
                for (int x = 0; x < 400; ++x) m.push_back(w->Overlay().MaskPixel(x, y));
            return m;
        };
        const std::vector<uint32_t> still = mask();
        w->MouseDown(1, 200, 100);
        w->MouseMove(1, 250, 60);
        const std::vector<uint32_t> band = mask();
        EXPECT_NE(band, still);
        EXPECT_NE(w->Overlay().MaskPixel(250 - 3, 60), 0u);   // the pointer's handle
        w->MouseMove(1, 30, 290);
        w->MouseMove(1, 250, 60);
        EXPECT_EQ(mask(), band);
        const QString moved = mode == 1 ? AngleToStr(5000) + ", " + AngleToStr(4000) : "5.000km, 4.000km";
        EXPECT_EQ(w->Message(), "移動距離：" + moved);
        EXPECT_EQ(w->Pointer(), "ポインタ：" + MapXToStr(5000) + ", " + MapYToStr(9000));
        w->MouseMove(1, 500, 60);   // off the map
        EXPECT_TRUE(w->Pointer().isEmpty() && w->Message().isEmpty());
        w->MouseUp(1, 500, 60);     // nothing placed off the map
        EXPECT_EQ(Nodes(w->Poly), (std::vector<PolyPoint>{A, B, C}));
        EXPECT_EQ(mask(), still);
    }
}

TEST(DrawView, CaptionHandleColourAndUnknownMode) {
    Drawing w;
    w->Title = QStringLiteral("多角形の中心");
    w.point(A);
    EXPECT_EQ(w->Caption(), QStringLiteral("作図 [１点モード] - 多角形の中心"));
    plat::SeededRandom random(7);
    plat::RandomSource* previous = plat::SetRandom(&random);
    for (int i = 0; i < 40; ++i) {
        w->ColorClick();
        EXPECT_NE(w->DrawColor(), 0u);   // never black: the marks would not show
    }
    plat::SetRandom(previous);
    Drawing bad;
    bad->Mode = 2;
    EXPECT_FALSE(bad->Load(bad.view));
    Drawing poly;
    poly->Title.clear();
    poly.poly({A}, 1);
    EXPECT_EQ(poly->Caption(), QStringLiteral("作図 [連続線モード]"));
}

TEST(DrawWindow, DrawingInProgressAsAUserSeesIt) {
    Drawing w;
    w.d.Mode = frmDrawLogic::ModePoly;
    w->Poly = PolyOf({A, B, C, D, A});
    w->ActIndex = 2;
    frmDraw dlg(w.d, w.view);
    ASSERT_TRUE(dlg.loaded());
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("作図 [連続線モード]"));
    EXPECT_TRUE(dlg.cmdDelete->isEnabled());
    EXPECT_FALSE(dlg.cmdUndo->isEnabled());
    // Drag node 2 and hold it: the band and the readout show.
    QTest::mousePress(dlg.picView, Qt::LeftButton, {}, QPoint(200, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(260, 70), dlg.picView->mapToGlobal(QPointF(260, 70)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dlg.picView, &move);
    EXPECT_TRUE(dlg.lblMessage->text().startsWith(QStringLiteral("移動距離：")));
    EXPECT_TRUE(dlg.lblPointer->text().startsWith(QStringLiteral("ポインタ：")));
    edittest::ExpectPicture(&dlg);
    QTest::mouseRelease(dlg.picView, Qt::LeftButton, {}, QPoint(260, 70));
    EXPECT_EQ(w->Poly.GetPoint(2), At(260, 70));
    EXPECT_TRUE(dlg.cmdUndo->isEnabled());
    // Keys go to the view; while the grid text has the focus they are its own.
    dlg.txtGrid->setFocus();
    QTest::keyClick(dlg.txtGrid, Qt::Key_PageDown);
    EXPECT_EQ(w->ActIndex, 2);
    dlg.txtGrid->setText(QStringLiteral("2°"));
    QTest::keyClick(dlg.txtGrid, Qt::Key_Return);
    EXPECT_EQ(w->GridStepLL, 7200);
    EXPECT_EQ(dlg.focusWidget(), dlg.picView);
    QTest::keyClick(dlg.picView, Qt::Key_PageDown);
    EXPECT_EQ(w->ActIndex, 3);
    QTest::keyClick(dlg.picView, Qt::Key_Delete);
    EXPECT_EQ(Nodes(w->Poly), (std::vector<PolyPoint>{A, At(260, 70), D, A}));
    EXPECT_FALSE(dlg.cmdDelete->isEnabled());
    dlg.cmdOK->click();
    EXPECT_TRUE(w->OK);
}

TEST(DrawWindow, AViewLargerThanTheScreenScrollsToThePoint) {
    Drawing w;
    w.view.size = QSize(4000, 3000);
    w.d.Mode = frmDrawLogic::ModePoint;   // at map (0, 0): the view's middle
    frmDraw dlg(w.d, w.view);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    const QRect screen = dlg.screen()->availableGeometry();
    EXPECT_LE(dlg.frameGeometry().width(), screen.width());
    EXPECT_LE(dlg.frameGeometry().height(), screen.height());
    EXPECT_EQ(dlg.picView->size(), QSize(4000, 3000));
    const QRect shown(-dlg.picView->pos(), dlg.viewBox->viewport()->size());
    EXPECT_TRUE(shown.contains(2000, 1500)) << shown.x() << "," << shown.y();
    EXPECT_TRUE(dlg.cmdOK->isVisible());
}

TEST(DrawWindow, RunOverTheMainViewKeepsTheCallersValuesOnCancel) {
    // No plot engine: the view is empty, and a cancel hands nothing back.
    DrawWindowRequest req;
    req.polyMode = true;
    req.Poly = PolyOf({A, B});
    req.ActIndex = 2;
    req.CenterView = false;
    req.firstPosition = {700, 800};
    testsupport::WhenModal<frmDraw>([](frmDraw* dlg) {
        dlg->cmdCancel->click();
    });
    EXPECT_FALSE(RunDrawWindow(req));
    EXPECT_EQ(Nodes(req.Poly), (std::vector<PolyPoint>{A, B}));
    EXPECT_TRUE(DrawWindow().Win.isSet());
}

TEST(DrawWindow, HelpPageNamesOnlyItsControlsAndHowItIsClosed) {
    Drawing w;
    w.d.Mode = frmDrawLogic::ModePoly;   // every control enabled
    w->Poly = PolyOf({A, B});
    frmDraw dlg(w.d, w.view);
    ASSERT_TRUE(dlg.loaded());
    EXPECT_EQ(testsupport::NamesNotInWindow(frmDrawLogic::kHelpContext, dlg), QStringList());
    // The drawing is taken only by OK; Cancel leaves it.
    const QStringList named = testsupport::BracketedNames(testsupport::HelpPage(frmDrawLogic::kHelpContext));
    EXPECT_TRUE(named.contains(testsupport::PlainCaption(dlg.cmdOK->text())));
    EXPECT_TRUE(named.contains(testsupport::PlainCaption(dlg.cmdCancel->text())));
}
