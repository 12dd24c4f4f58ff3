// The trace dialog without its window: opening in the right phase, crosses
// registered with the mouse and the keys, the mesh established and saved,
// the figure digitised in both modes, zoom 2, members and snapping.
#include <gtest/gtest.h>

#include "KeyCodes.h"
#include "TraceTestSupport.h"
#include "basAngle.h"
#include "clsMap.h"
#include "clsMapPolyline.h"

using namespace tracetest;
using testsupport::ScriptedBoxes;

namespace {

struct Trace : ::testing::Test {
    frmTraceLogic t;
    // Click (down and up) at a picture position at zoom 1 without scrolling.
    void click(int32_t px, int32_t py) {
        t.MouseDown(px, py);
        t.MouseUp(px, py);
    }
    void openPoint(const QString& path, int32_t lon, int32_t lat) {
        t.setPicturePath(path);
        t.Mode = frmTraceLogic::ModePoint;
        t.PointX = lon;
        t.PointY = lat;
        ASSERT_TRUE(t.Open());
    }
    void openPoly(const QString& path, std::vector<PolyPoint> nodes, int32_t act) {
        t.setPicturePath(path);
        t.Mode = frmTraceLogic::ModePoly;
        t.Poly = clsPoly();
        for (const PolyPoint& p : nodes) t.Poly.AddPoint(p);
        t.ActIndex = act;
        ASSERT_TRUE(t.Open());
    }
    std::vector<bool> enabled() const {
        const TraceControls& c = t.Controls();
        return {c.phase, c.del, c.undo, c.loop, c.zoom, c.mark, c.snap, c.crossFrame, c.nodeFrame};
    }
};

PolyPoint at(int32_t px, int32_t py) { return {LonAt(px), LatAt(py)}; }

// A position read from the picture comes back within the rounding of the
// half second added before rounding half to even.
void ExpectNear(const PolyPoint& got, const PolyPoint& want, int line) {
    EXPECT_NEAR(got.x, want.x, 1) << "line " << line;
    EXPECT_NEAR(got.y, want.y, 1) << "line " << line;
}
#define EXPECT_AT(got, want) ExpectNear(got, want, __LINE__)

constexpr const char* kOffPicture = "この画像は図形領域を含んでいないかもしれません";

} // namespace

TEST_F(Trace, PhaseFollowsThePictureAndItsSideFileAndSetsTheControls) {
    struct Case {
        const char* what;
        bool sideFile;
        int16_t mode;
        int phase;
        const char* caption;
        std::vector<bool> enabled;   // phase del undo loop zoom mark snap crosses node
    };
    const Case cases[] = {
        {"no side file", false, frmTraceLogic::ModePoint, 1, "経緯線網編集",
         {true, true, false, false, true, false, false, true, false}},
        {"side file, point", true, frmTraceLogic::ModePoint, 2, "地図図形編集／１点",
         {true, false, true, false, true, true, true, false, true}},
        {"side file, polyline", true, frmTraceLogic::ModePoly, 2, "地図図形編集／連続線",
         {true, false, true, true, true, true, true, false, true}},
    };
    for (const Case& c : cases) {
        TracedPicture pic(c.sideFile);
        frmTraceLogic fresh;
        fresh.setPicturePath(pic.path);
        fresh.Mode = c.mode;
        fresh.PointX = LonAt(100);
        fresh.PointY = LatAt(100);
        fresh.Poly.AddPoint(at(100, 100));
        ASSERT_TRUE(fresh.Open()) << c.what;
        EXPECT_EQ(fresh.Phase(), c.phase) << c.what;
        EXPECT_EQ(fresh.Texts().caption, QStringLiteral("トレース - scan.png [モード：") + QString::fromUtf8(c.caption) + "]");
        const TraceControls& k = fresh.Controls();
        EXPECT_EQ(std::vector<bool>({k.phase, k.del, k.undo, k.loop, k.zoom, k.mark, k.snap, k.crossFrame, k.nodeFrame}),
                  c.enabled)
            << c.what;
        EXPECT_TRUE(pic.asked.empty()) << c.what;
    }
}

TEST_F(Trace, WithoutSideFileBothAngleTextsStartAtZero) {
    TracedPicture pic(false);
    openPoint(pic.path, 0, 0);
    EXPECT_EQ(t.Texts().lon, LonToStr(0));
    EXPECT_EQ(t.Texts().lat, LatToStr(0));
    EXPECT_EQ(t.Texts().message, QStringLiteral("追加のときは交点をクリックして経緯度を入力."));
    EXPECT_EQ(t.Controls().phaseCaption, QStringLiteral("登録完了(&F)"));
}

TEST_F(Trace, AFigureOffThePictureIsToldWhenTheSideFileLoads) {
    TracedPicture pic(true);
    ScriptedBoxes boxes;
    boxes.expect(QString::fromUtf8(kOffPicture), plat::IdOk);
    openPoint(pic.path, 40 * kDeg, 40 * kDeg);
    EXPECT_EQ(t.Phase(), 2);
}

TEST_F(Trace, WithoutAPictureTheChooserIsAskedWithTheFilter) {
    TracedPicture pic(false);
    t.Mode = frmTraceLogic::ModePoint;
    ASSERT_TRUE(t.Open());
    ASSERT_EQ(pic.asked.size(), 1u);
    EXPECT_EQ(pic.asked[0].title, QStringLiteral("イメージファイル"));
    EXPECT_TRUE(pic.asked[0].filter.contains(QStringLiteral("|GIFイメージファイル(*.GIF)|*.GIF|")));
    EXPECT_FALSE(t.HasPicture()) << "cancelled: the window will unload";
    EXPECT_EQ(t.Phase(), 0);
    EXPECT_EQ(t.Texts().message, QStringLiteral("画像を開いてください"));
    EXPECT_FALSE(t.SetPhase(1));
    EXPECT_FALSE(t.SetPhase(2));

    pic.chosen = pic.path;
    t.ImageClick();
    EXPECT_EQ(t.Phase(), 1);
    EXPECT_EQ(t.PicturePath(), pic.path);
    EXPECT_EQ(t.PictureSize(), QSize(400, 300));
    EXPECT_FALSE(t.SetPhase(2)) << "no frame yet";
    EXPECT_EQ(t.Phase(), 1);
}

TEST_F(Trace, PicturesOfEachKindLoadAndOthersDoNot) {
    TracedPicture pic(false);
    const QImage img = GraticulePicture();
    ASSERT_TRUE(img.save(pic.dir.file("scan.bmp")));
    ASSERT_TRUE(img.save(pic.dir.file("scan.JPG")));
    testsupport::WriteBytes(pic.dir.file("scan.gif"),
                            testsupport::ReadBytes(QStringLiteral(KAL_SOURCE_DIR "/fuzz/corpus/bitmap/ok_gif_1x1.gif")));
    testsupport::WriteBytes(pic.dir.file("broken.png"), "\x89PNG\r\n");
    const std::pair<const char*, QSize> cases[] = {
        {"scan.png", {400, 300}}, {"scan.bmp", {400, 300}}, {"scan.JPG", {400, 300}},
        {"scan.gif", {1, 1}},     {"broken.png", {0, 0}},   {"missing.png", {0, 0}},
    };
    for (const auto& [name, size] : cases) {
        frmTraceLogic fresh;
        fresh.setPicturePath(pic.dir.file(name));
        ScriptedBoxes boxes;
        if (name == std::string("broken.png"))
            boxes.expect(pic.dir.file(name) + "\r\nを画像として読み込めません.", plat::IdOk);
        EXPECT_EQ(fresh.LoadImage(), size.isEmpty() ? 0 : 1) << name;
        EXPECT_EQ(fresh.PictureSize(), size) << name;
    }
}

TEST_F(Trace, AnUnknownModeUnloads) {
    TracedPicture pic(false);
    t.setPicturePath(pic.path);
    t.Mode = 2;
    EXPECT_FALSE(t.Open());
}

TEST_F(Trace, CrossesAreAddedMovedSteppedAndDeleted) {
    TracedPicture pic(false);
    openPoint(pic.path, 0, 0);
    // A click on empty picture space adds a cross with the typed angles.
    t.LonLeft(LonToStr(10 * kDeg));
    t.LatLeft(LatToStr(20 * kDeg));
    click(50, 250);
    ASSERT_EQ(t.Mesh().CrossCount(), 1);
    EXPECT_EQ(t.Mesh().GetCross(1), (TraceCross{50, 250, 10 * kDeg, 20 * kDeg}));
    EXPECT_EQ(t.Texts().message, QStringLiteral("交点数 = 1"));
    EXPECT_EQ(t.Texts().crossFrame, QStringLiteral("交点 [1]"));
    // Editing the texts afterwards changes the new cross.
    t.LonLeft(LonToStr(11 * kDeg));
    EXPECT_EQ(t.Mesh().GetCross(1).lon, 11 * kDeg);

    // A hit needs |dx| and |dy| of at most 4 pixels: then the cross moves.
    t.MouseDown(54, 246);
    EXPECT_EQ(t.DragState(), 1);
    t.MouseMove(60, 240);
    EXPECT_EQ(t.Texts().pointerX, QStringLiteral("X=60"));
    t.MouseUp(60, 240);
    EXPECT_EQ(t.Mesh().CrossCount(), 1);
    EXPECT_EQ(t.Mesh().GetCross(1).ix, 60);
    t.MouseDown(65, 240);
    EXPECT_EQ(t.DragState(), 3) << "5 pixels away is no hit";
    t.MouseUp(65, 240);
    ASSERT_EQ(t.Mesh().CrossCount(), 2);
    EXPECT_EQ(t.Mesh().ActiveCross, 2);

    // Keys: the arrows move the active cross a picture pixel, PageDown wraps.
    EXPECT_TRUE(t.KeyDown(plat::KeyLeft));
    EXPECT_TRUE(t.KeyDown(plat::KeyUp));
    EXPECT_EQ(t.Mesh().GetCross(2).ix, 64);
    EXPECT_EQ(t.Mesh().GetCross(2).iy, 239);
    EXPECT_TRUE(t.KeyDown(plat::KeyPageDown));
    EXPECT_EQ(t.Mesh().ActiveCross, 1);
    EXPECT_TRUE(t.KeyDown(plat::KeyPageUp));
    EXPECT_EQ(t.Mesh().ActiveCross, 2);
    EXPECT_TRUE(t.KeyDown(plat::KeyDelete));
    EXPECT_EQ(t.Mesh().CrossCount(), 1);
    EXPECT_EQ(t.Mesh().ActiveCross, 1);
    t.DeleteClick();
    EXPECT_EQ(t.Mesh().ActiveCross, -1);
    EXPECT_EQ(t.Texts().crossFrame, QStringLiteral("交点 [---]"));
    EXPECT_FALSE(t.KeyDown(plat::KeyReturn));

    // A cross from a side file far off the picture is drawn and moved without overflow.
    t.Mesh().AddCross({2147483647, -2147483647 - 1, 0, 0});
    t.SetActIndexGrid(1);
    t.setZoom(2);
    EXPECT_TRUE(t.KeyDown(plat::KeyRight));
    EXPECT_EQ(t.Mesh().GetCross(1).ix, 2147483647);
    EXPECT_EQ(t.ImageToViewX(2147483647), 1000000);
    EXPECT_EQ(t.Render(QSize(20, 10)).size(), QSize(20, 10));
}

TEST_F(Trace, EstablishingTheMeshSavesItOrKeepsRegistering) {
    TracedPicture pic(false);
    openPoint(pic.path, LonAt(100), LatAt(200));
    std::vector<TraceCross> crosses = OneCellCrosses();
    crosses.pop_back();
    t.Mesh().SetLists(crosses, {});
    {
        ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("経緯線網を確立できません."), plat::IdOk);
        t.PhaseClick();
    }
    EXPECT_EQ(t.Phase(), 1);
    EXPECT_FALSE(FileExists(LLNPathOf(pic.path)));

    t.Mesh().SetLists(OneCellCrosses(), {});
    {
        ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("経緯線網を確立しました.\rフレーム数 = 1"), plat::IdOk);
        t.PhaseClick();
    }
    EXPECT_EQ(t.Phase(), 2);
    TraceMesh saved;
    ASSERT_EQ(LoadLLN(pic.path, saved), LlnLoad::Loaded);
    EXPECT_EQ(saved.Crosses(), OneCellCrosses());
    EXPECT_EQ(saved.FrameCount(), 1);
    t.PhaseClick();
    EXPECT_EQ(t.Phase(), 1);
}

TEST_F(Trace, ABadSideFileIsToldAndRegistrationStartsAfresh) {
    TracedPicture pic(false);
    testsupport::WriteBytes(LLNPathOf(pic.path), "2\r\n1,2\r\n");
    ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("経緯線網ファイルを読めません"), plat::IdOk);
    openPoint(pic.path, 0, 0);
    EXPECT_EQ(t.Phase(), 1);
    EXPECT_EQ(t.Mesh().CrossCount(), 0);
}

TEST_F(Trace, PointModeTakesTheReleasePositionAnywhereWithUndo) {
    TracedPicture pic(true);
    openPoint(pic.path, LonAt(100), LatAt(200));
    ASSERT_EQ(t.Phase(), 2);
    EXPECT_EQ(t.Texts().nodeLon, LonToStr(LonAt(100)));
    click(230, 120);
    EXPECT_AT((PolyPoint{t.PointX, t.PointY}), at(230, 120));
    t.MouseMove(240, 120);
    EXPECT_EQ(t.Texts().pointerX, LonToStr(LonAt(240)));
    t.UndoClick();
    EXPECT_EQ(t.PointX, LonAt(100));
    EXPECT_FALSE(t.UndoEnabled());
}

TEST_F(Trace, PolylineNodesAreAppendedInsertedMovedDeletedAndClosed) {
    TracedPicture pic(true);
    {
        ScriptedBoxes boxes;
        boxes.expect(QString::fromUtf8(kOffPicture), plat::IdOk);
        openPoly(pic.path, {}, 0);
    }
    ASSERT_EQ(t.Phase(), 2);
    // An empty list: each click appends and the new node is active.
    click(100, 200);
    click(200, 200);
    click(300, 200);
    ASSERT_EQ(t.Poly.Count(), 3);
    EXPECT_EQ(t.ActIndex, 3);
    EXPECT_AT(t.Poly.GetPoint(2), at(200, 200));
    EXPECT_TRUE(t.Controls().del);

    // A node hit needs |dx| and |dy| below 4.
    t.MouseDown(204, 196);
    EXPECT_EQ(t.ActIndex, 3) << "4 pixels: no hit, so no node is grabbed";
    t.MouseUp(204, 196);
    EXPECT_EQ(t.Poly.Count(), 4) << "appended after the last node";
    t.UndoClick();
    ASSERT_EQ(t.Poly.Count(), 3);
    t.MouseDown(202, 198);
    EXPECT_EQ(t.ActIndex, 2);
    EXPECT_EQ(t.DragState(), 1);
    t.MouseUp(210, 150);
    EXPECT_AT(t.Poly.GetPoint(2), at(210, 150));

    // Off the nodes with node 2 active: inserted beside the nearer neighbour.
    click(280, 180);
    ASSERT_EQ(t.Poly.Count(), 4);
    EXPECT_EQ(t.ActIndex, 3);
    EXPECT_AT(t.Poly.GetPoint(3), at(280, 180));
    t.SetActIndexFig(2);
    click(120, 190);
    EXPECT_EQ(t.ActIndex, 2);
    EXPECT_AT(t.Poly.GetPoint(2), at(120, 190));
    EXPECT_EQ(t.Poly.Count(), 5);

    // Closed, deleting node 1 keeps it closed.
    t.LoopClick();
    ASSERT_TRUE(t.Poly.IsLoop());
    t.SetActIndexFig(1);
    t.DeleteClick();
    EXPECT_TRUE(t.Poly.IsLoop());
    EXPECT_EQ(t.Poly.Count(), 5);
    EXPECT_AT(t.Poly.GetPoint(1), at(120, 190));
    EXPECT_TRUE(t.Controls().del);
    t.DeleteClick();
    EXPECT_EQ(t.Poly.Count(), 4);
    EXPECT_FALSE(t.Controls().del) << "a closed list keeps four nodes";
}

TEST_F(Trace, PageKeysWrapAndOnlyIndexZeroGoesToTheLastNode) {
    TracedPicture pic(true);
    openPoly(pic.path, {at(100, 100), at(150, 100), at(200, 100)}, 9);
    EXPECT_EQ(t.ActIndex, 3) << "clamped into the list";
    EXPECT_TRUE(t.KeyDown(plat::KeyPageDown));
    EXPECT_EQ(t.ActIndex, 1);
    EXPECT_TRUE(t.KeyDown(plat::KeyPageUp));
    EXPECT_EQ(t.ActIndex, 3);
    t.SetActIndexFig(-1);
    EXPECT_EQ(t.ActIndex, 3) << "below 0 does not wrap";
    EXPECT_EQ(t.Texts().nodeFrame, QStringLiteral("ノード [3]"));
}

TEST_F(Trace, AtZoomTwoAViewPixelIsHalfAPicturePixel) {
    TracedPicture pic(true);
    openPoly(pic.path, {at(100, 100), at(150, 100)}, 2);
    t.setZoom(2);
    t.setScroll(10, 20);
    const std::pair<int32_t, int32_t> toImage[] = {{0, 10}, {1, 10}, {7, 13}, {8, 14}};
    for (auto [view, image] : toImage) {
        EXPECT_EQ(t.ViewToImageX(view), image) << view;
        EXPECT_EQ(t.ViewToImageY(view), image + 10) << view;
    }
    EXPECT_EQ(t.ImageToViewX(13), 6);
    EXPECT_EQ(t.ImageToViewY(33), 26);
    EXPECT_EQ(t.ViewSize(QSize(500, 500)), QSize(500, 500));
    EXPECT_EQ(t.ViewSize(QSize(2000, 2000)), QSize(800, 600));

    // The arrows still move the node one picture pixel.
    EXPECT_TRUE(t.KeyDown(plat::KeyRight));
    EXPECT_AT(t.Poly.GetPoint(2), at(151, 100));
    EXPECT_TRUE(t.KeyDown(plat::KeyDown));
    EXPECT_AT(t.Poly.GetPoint(2), at(151, 101));
    // A click at view (282, 160) is picture (151, 100).
    t.MouseDown(282, 160);
    EXPECT_EQ(t.DragState(), 1);
    EXPECT_EQ(t.ActIndex, 2);
    t.MouseUp(302, 160);
    EXPECT_AT(t.Poly.GetPoint(2), at(161, 100));
}

TEST_F(Trace, SnappingTakesTheNearestMemberBelowSixtyFourPixels) {
    TracedPicture pic(true);
    auto unit = std::make_shared<clsMapUnit>();
    auto line = std::make_shared<clsMapPolyline>();
    auto nodes = std::make_shared<clsPoly>();
    nodes->AddPoint(at(150 + 63, 150));   // 63 pixels east of the click
    nodes->AddPoint(at(150, 150 + 64));   // 64 pixels south
    nodes->AddPoint(at(900, 150));        // off the picture: no member
    line->setPoly(nodes);
    line->setThing(1);
    line->setAdmin(1);
    ASSERT_TRUE(unit->Map().Add(line));
    pic.units = {unit};

    struct Case {
        const char* what;
        int32_t mapMode;
        bool snap;
        PolyPoint expected;
        size_t members;
    };
    const Case cases[] = {
        {"snap off", 1, false, at(150, 150), 0},
        {"snap on", 1, true, at(213, 150), 2},
        {"X/Y maps have no members", 2, true, at(150, 150), 0},
    };
    for (const Case& c : cases) {
        pic.mapMode = c.mapMode;
        frmTraceLogic fresh;
        fresh.setPicturePath(pic.path);
        fresh.Mode = frmTraceLogic::ModePoly;
        {
            ScriptedBoxes boxes;
            boxes.expect(QString::fromUtf8(kOffPicture), plat::IdOk);
            ASSERT_TRUE(fresh.Open());
        }
        fresh.setSnap(c.snap);
        fresh.MouseDown(150, 150);
        fresh.MouseUp(150, 150);
        ASSERT_EQ(fresh.Poly.Count(), 1) << c.what;
        EXPECT_AT(fresh.Poly.GetPoint(1), c.expected);
        EXPECT_EQ(fresh.Members().size(), c.members) << c.what;
    }
    frmTraceLogic marked;
    marked.setPicturePath(pic.path);
    marked.PointX = LonAt(100);
    marked.PointY = LatAt(100);
    pic.mapMode = 1;
    ASSERT_TRUE(marked.Open());
    marked.MakeMembers();
    ASSERT_EQ(marked.Members().size(), 2u);
    EXPECT_EQ(marked.Members()[0].color, 0xFF0000) << "a polyline's points in colour 9";
    unit->setDisplaySwitch(false);
    marked.MakeMembers();
    EXPECT_EQ(marked.Members()[0].color, -1);
}

TEST_F(Trace, DigitisedPointsStayInsideTheDateLineAndThePoles) {
    TracedPicture pic(false);
    openPoint(pic.path, 0, 0);
    // One frame near the corner of the world, 1 pixel a degree.
    t.Mesh().SetLists({}, {TraceFrame{0, 100, 100, 100, 0, 0, 100, 0, 80 * kDeg, -10 * kDeg, 180 * kDeg, 90 * kDeg}});
    ASSERT_TRUE(t.Mesh().GetFrameArea());
    ASSERT_TRUE(t.SetPhase(2));
    click(100, 0);
    EXPECT_EQ(t.PointX, 647995);
    EXPECT_EQ(t.PointY, 323970);
}
