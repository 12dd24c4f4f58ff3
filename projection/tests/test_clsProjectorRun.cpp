// Element projection and the batch run: points, texts and remarks, the
// output units with their remarks and generated layers, progress, cancel
// and re-entry, the largest output rectangle.
#include <gtest/gtest.h>

#include <QFile>

#include "Clock.h"
#include "ProjectorTestSupport.h"
#include "RuntimeMath.h"
#include "TestSupport.h"
#include "basGlobe.h"
#include "clsMapRem.h"
#include "clsMapText.h"

using namespace prjtest;

namespace {

using ProjectorRun = ProjectorTest;

QStringList Remarks(const clsMap& map) {
    QStringList r;
    for (const MapFigurePtr& f : map)
        if (f->FigCode() == 1) r << static_cast<const clsMapRem&>(*f).Comment();
    return r;
}

MapFigurePtr Rem(const char* text) {
    auto r = std::make_shared<clsMapRem>();
    r->setAdmin(0);
    r->setComment(QString::fromUtf8(text));
    return r;
}

} // namespace

TEST_F(ProjectorRun, SymbolsAndTextsLandOnTheProjectedVertex) {
    struct Case {
        int16_t index;
        int32_t lon, lat, poler;
    };
    for (const Case& c : {Case{12, 0, 0, 0}, Case{12, 486000, 126000, 108000}, Case{6, 486000, 126000, 0},
                          Case{25, -100000, 150000, 36000}}) {
        ForgetSettings();
        layers->NoOcean = true;   // the figures from position 1
        auto units = SourceUnits({Line({{36000, 36000}, {72000, 36000}, {72000, 72000}}), At(72000, 36000),
                                  At<clsMapText>(72000, 36000)});
        clsProjector p;
        p.setPrjIndex(c.index);
        p.setCenterLon(c.lon);
        p.setCenterLat(c.lat);
        p.setPoler(c.poler);
        const auto out = p.ExeProjection(*units);
        ASSERT_TRUE(out);
        const clsMap& map = out->Base()->Map();
        ASSERT_EQ(map.FigCode(1), 2);
        for (int32_t k : {2, 3}) {
            const auto& pt = dynamic_cast<const MapPointFigure&>(*map.Item(k));
            EXPECT_GT(map.Item(1)->Poly()->FindNearPoint(1, pt.Position(), 1), 0) << c.index << " " << pt.mx();
        }
    }
}

TEST_F(ProjectorRun, TextsTurnWithTheSlantOrTheRotation) {
    for (const auto& [slanted, poler] : {std::pair{true, 36000}, std::pair{false, 36000}, std::pair{false, -7199}}) {
        ForgetSettings();
        layers->NoOcean = true;
        auto text = At<clsMapText>(300000, 150000);
        text->setAngle(20);
        clsProjector p;
        p.setPoler(poler);
        p.TextSlant = slanted;
        const auto out = p.ExeProjection(*SourceUnits({text}));
        ASSERT_TRUE(out);
        int32_t slant = 0;
        p.PrjPoint().PointSlant(300000, 150000, slant);
        const int32_t turn = slanted ? slant / 3600 : poler / 3600;   // whole degrees, truncated
        EXPECT_NE(turn, 0);
        EXPECT_EQ(static_cast<const clsMapText&>(*out->Base()->Map().Item(1)).Angle(), 20 - turn);
    }
}

TEST_F(ProjectorRun, TheBaseUnitGetsItsRemarksAndLayersInOrder) {
    layers->Azimuth = {FakeProjectorLayers::line(1, FakeProjectorLayers::seg(0, 0, 0, 100000))};
    auto units = SourceUnits({Rem("# 地図バージョン　：1.05"), Rem("# 地図コード　　　：133000"),
                              Rem("# 地図コード　　　：290000"), Rem("# 地図ファイル名　：WORLD.MLL"),
                              Rem("# 地図名称　　　　：WORLD.MLL"), Line({{0, 0}, {36000, 36000}})});
    clsProjector p;
    p.setPrjIndex(24);
    p.setCenterLon(36000);
    p.setCenterLat(-100000);
    p.setPoler(3600);
    p.setLight(2.5);
    p.AzimuthLine = QStringLiteral("45");
    p.setField(std::make_shared<clsRect>(-300000, -250000, 300000, 100000));
    int cells = 0;
    p.AddElement = [&](clsMapCell& cell) {
        ++cells;
        EXPECT_TRUE(cell.CellFigure);
        EXPECT_EQ(p.Progress(), 0);   // the total is unknown while the base unit runs
        EXPECT_EQ(p.Remain(), -1);
    };
    const auto out = p.ExeProjection(*units);
    ASSERT_TRUE(out);
    ASSERT_EQ(out->Count(), 1);
    const clsMapUnit& base = *out->Base();
    EXPECT_TRUE(base.UnitName().endsWith(QStringLiteral("/TESTBASEOUT.MXY")));
    EXPECT_TRUE(base.SearchSwitch());
    EXPECT_EQ(cells, base.Map().Count());

    // The header stays at the head; the ocean comes under the base map's
    // own line, the conditions and the other layers after it.
    const QStringList rem = Remarks(base.Map());
    ASSERT_EQ(rem.size(), 5 + 1 + 28 + 5);
    EXPECT_EQ(rem.mid(0, 5), (QStringList{"# 地図バージョン　：1.06", "# 地図コード　　　：233000",
                                          "# 地図コード　　　：290000", "# 地図ファイル名　：WORLD.MXY",
                                          "# 地図名称　　　　：WORLD.MLL"}));
    EXPECT_EQ(rem[5], QStringLiteral("# [海洋]"));
    EXPECT_EQ(base.Map().FigCode(7), 3) << "an ocean polygon";
    EXPECT_EQ(rem[6 + 1], QStringLiteral("# // 投影条件"));
    EXPECT_EQ(rem[6 + 13], QStringLiteral("# 光源高度　　：") + plat::FormatShortest(LightRatioToHeight(2.5) / 1000) + "km");
    EXPECT_EQ(rem[6 + 14], QStringLiteral("# 推奨出力縮尺：1/20000000"));
    EXPECT_EQ(rem[6 + 26], QStringLiteral("# 方位線出力　：True"));
    EXPECT_EQ(rem.mid(6 + 28), (QStringList{"# [経線]", "# [緯線]", "# [方位線]", "# [領域枠]", "# [投影枠]"}));
    int32_t oceanEnd = 7;
    while (base.Map().FigCode(oceanEnd) == 3) ++oceanEnd;
    EXPECT_EQ(base.Map().FigCode(oceanEnd), 2) << "the base map's line after the ocean";
    EXPECT_EQ(layers->Log, (QStringList{
                               "OceanSplit TESTBASE.MLL", "GridV 54000 TESTBASE.MLL", "GridH 54000 TESTBASE.MLL",
                               "AzimuthLine [45] 36000 -100000 2e+07 TESTBASE.MLL",
                               "FieldFrame -300000 -250000 300000 100000 TESTBASE.MLL",
                               // the southern cone's normal aspect, the light unrounded
                               "ShadowFrame 24 -108000 216000 2.5 12 TESTBASE.MLL",
                           }));
    EXPECT_EQ(p.CenterLat(), -100000);   // the limit frame's settings are gone again
    EXPECT_EQ(p.poler(), 3600);
    EXPECT_EQ(*p.Field(), clsRect(-300000, -250000, 300000, 100000));
}

TEST_F(ProjectorRun, TheLimitFrameTracesThePlaneOutlineWhateverTheCentreAndRotation) {
    // Mollweide's outline: the ellipse of half axes 2 sqrt 2 R and sqrt 2 R.
    clsProjector p;
    p.setPrjIndex(17);
    p.setCenterLon(540000);
    p.setCenterLat(100000);
    p.setPoler(36000);
    const auto out = p.ExeProjection(*SourceUnits({}));
    ASSERT_TRUE(out);
    const int16_t frame = out->Base()->Things().Search(QStringLiteral("投影枠"));
    const double a = 2 * std::sqrt(2.0) * GlobeRadius, b = std::sqrt(2.0) * GlobeRadius;
    int lines = 0;
    for (const MapFigurePtr& f : out->Base()->Map()) {
        if (f->FigCode() != 2 || f->Thing() != frame) continue;
        ++lines;
        for (const PolyPoint& q : f->Poly()->Points())
            EXPECT_NEAR(std::pow(q.x / a, 2) + std::pow(q.y / b, 2), 1, 1e-4) << q.x << " " << q.y;
    }
    EXPECT_GE(lines, 2);
}

TEST_F(ProjectorRun, FurtherUnitsAreCountedProjectedAndNamed) {
    auto units = SourceUnits({Line({{0, 0}, {3600, 3600}})});
    units->Add(Unit(QStringLiteral("A.MLL"), {Line({{0, 0}, {3600, 0}}), At(100, 100)}));
    units->Add(Unit(QStringLiteral("HIDDEN.MLL"), {At(0, 0)}, false));
    units->Add(Unit(QStringLiteral("B.MLL"), {At(200, 200)}));
    plat::FixedClock clock(QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
    plat::Clock* old = plat::SetClock(&clock);
    clsProjector p;
    std::vector<int32_t> progress;
    p.AddElement = [&](clsMapCell&) {
        clock.advanceMs(1000);
        progress.push_back(p.Progress());
    };
    const auto out = p.ExeProjection(*units);
    plat::SetClock(old);
    ASSERT_TRUE(out);
    ASSERT_EQ(out->Count(), 3);
    for (int32_t i : {2, 3}) {
        EXPECT_TRUE(out->Item(i)->UnitName().endsWith(i == 2 ? QStringLiteral("/A.MXY") : QStringLiteral("/B.MXY")));
        EXPECT_EQ(Remarks(out->Item(i)->Map()).size(), 17);
    }
    EXPECT_EQ(out->Item(2)->Map().Count(), 2 + 17);
    // 0 while only the base unit is known; then done exceeds the total of
    // the further units already and stays at 100.
    EXPECT_EQ(progress.front(), 0);
    EXPECT_EQ(progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(p.Remain(), 0);
}

TEST_F(ProjectorRun, CancelReentryAndRefusedFigures) {
    auto units = SourceUnits({Line({{0, 0}, {3600, 3600}}), At(0, 0), At(10, 10)});
    clsProjector p;
    int cells = 0;
    auto inner = std::make_shared<clsMapUnits>();
    p.AddElement = [&](clsMapCell&) {
        if (++cells == 1) inner = p.ExeProjection(*units);   // refused: one run at a time
        if (cells == 3) p.Cancel = true;
    };
    EXPECT_FALSE(p.ExeProjection(*units));
    EXPECT_FALSE(inner);
    EXPECT_EQ(cells, 3);
    p.AddElement = nullptr;
    EXPECT_TRUE(p.ExeProjection(*units));   // the next run starts afresh

    // A figure the X/Y map refuses (a new symbol has no thing) stops the run.
    units->Base()->Map().MapCollection().push_back(std::make_shared<clsMapSymbol>());
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("投影変換中に不正データ発生."), plat::IdOk);
    EXPECT_FALSE(p.ExeProjection(*units));

    // No X/Y base map to start the output from: an error, and no run left busy.
    testsupport::TempDir empty;
    for (const char* f : {"BASE.THG", "BASE.ADM"}) QFile::copy(BundledMaps() + "/" + f, empty.file(f));
    gvMapFolder = empty.path();
    plat::SetAppPath(empty.path());
    boxes.expect(QStringLiteral("地図図形ファイルが存在しません."), plat::IdOk);
    try {
        p.ExeProjection(*units);
        ADD_FAILURE() << "no error";
    } catch (const plat::AppError& e) {
        EXPECT_TRUE(e.description().startsWith(QStringLiteral("can not create units. [<5> "))) << e.what();
        EXPECT_TRUE(e.source().startsWith(QStringLiteral("clsProjector.ExeProjection/")));
    }
    gvMapFolder = BundledMaps();
    plat::SetAppPath(BundledMaps());
    units->Base()->Map().MapCollection().pop_back();
    EXPECT_TRUE(p.ExeProjection(*units));
}

TEST_F(ProjectorRun, OutputBoundMeasuresTheProjectedOcean) {
    clsProjector p;
    p.setMapScale(1234567.6);
    p.Cancel = true;   // left over from a cancelled run
    const std::optional<clsRect> b = p.OutputBound();
    ASSERT_TRUE(b);
    int32_t x = 0, y = 0;
    bool ok = false;
    p.PrjPoint().LLtoXYsec(647995, 323970, x, y, ok);   // the tiles' outer corner
    EXPECT_EQ(*b, clsRect(-x, -y, x, y));
    EXPECT_EQ(p.MapScale(), 1234568);
    EXPECT_EQ(layers->Log, QStringList{"OceanSplit -"});

    layers->NoOcean = true;
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("最大出力矩形の算出に失敗."), plat::IdOk);
    EXPECT_FALSE(p.OutputBound());
}
