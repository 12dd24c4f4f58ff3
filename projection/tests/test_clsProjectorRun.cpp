// Element projection and the batch run: points, texts and remarks, the
// output units, remarks and generated layers, progress, cancel and
// re-entry, the largest output rectangle.
#include <gtest/gtest.h>

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

MapFigurePtr Rem(const QString& text) {
    auto r = std::make_shared<clsMapRem>();
    r->setAdmin(0);
    r->setComment(text);
    return r;
}

} // namespace

TEST_F(ProjectorRun, SymbolsAndTextsLandOnTheProjectedVertex) {
    struct Case {
        int16_t index;
        int32_t lon, lat, poler;
    };
    const Case cases[] = {{12, 0, 0, 0}, {12, 486000, 126000, 108000}, {6, 486000, 126000, 0}, {25, -100000, 150000, 36000}};
    for (const Case& c : cases) {
        ForgetSettings();
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
        SCOPED_TRACE(c.index);
        ASSERT_EQ(map.FigCode(1), 2);
        const clsPoly& line = *map.Item(1)->Poly();
        for (int32_t k : {2, 3}) {
            ASSERT_EQ(map.FigCode(k), k + 2);
            const auto& pt = static_cast<const MapPointFigure&>(*map.Item(k));
            EXPECT_GT(line.FindNearPoint(1, pt.Position(), 1), 0) << pt.mx() << " " << pt.my();
        }
    }
}

TEST_F(ProjectorRun, TextsTurnWithTheSlantOrTheRotation) {
    struct Case {
        bool slant;
        int32_t poler;
    };
    for (const Case& c : {Case{true, 36000}, Case{false, 36000}, Case{false, -7199}}) {
        ForgetSettings();
        auto text = At<clsMapText>(300000, 150000);
        text->setAngle(20);
        auto units = SourceUnits({text});
        clsProjector p;
        p.setPoler(c.poler);
        p.TextSlant = c.slant;
        const auto out = p.ExeProjection(*units);
        ASSERT_TRUE(out);
        int32_t slant = 0;
        p.PrjPoint().PointSlant(300000, 150000, slant);
        const int32_t turn = c.slant ? slant / 3600 : c.poler / 3600;   // whole degrees, truncated
        EXPECT_NE(turn, 0);
        EXPECT_EQ(static_cast<const clsMapText&>(*out->Base()->Map().Item(1)).Angle(), 20 - turn);
    }
}

TEST_F(ProjectorRun, HeaderRemarksNameTheXYMap) {
    struct Case {
        QString in, out;
    };
    const Case cases[] = {
        {"# 地図バージョン　：1.05", "# 地図バージョン　：1.06"},
        {"# 地図コード　　　：133000", "# 地図コード　　　：233000"},
        {"# 地図コード　　　：290000", "# 地図コード　　　：290000"},
        {"# 地図ファイル名　：WORLD.MLL", "# 地図ファイル名　：WORLD.MXY"},
        {"# 地図名称　　　　：WORLD.MLL", "# 地図名称　　　　：WORLD.MLL"},
    };
    std::vector<MapFigurePtr> in;
    for (const Case& c : cases) in.push_back(Rem(c.in));
    clsProjector p;
    const auto out = p.ExeProjection(*SourceUnits(in));
    ASSERT_TRUE(out);
    const QStringList got = Remarks(out->Base()->Map());
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(got[static_cast<qsizetype>(i)], cases[i].out);
}

TEST_F(ProjectorRun, TheBaseUnitGetsRemarksAndLayersInOrder) {
    layers->Azimuth = {FakeProjectorLayers::line(1, 0, 0, 0, 100000)};
    auto units = SourceUnits({Line({{0, 0}, {36000, 36000}}), Line({{0, 0}, {9000, 0}, {9000, 9000}, {0, 0}}, true)});
    clsProjector p;
    p.setPrjIndex(24);
    p.setCenterLon(36000);
    p.setCenterLat(-100000);
    p.setPoler(3600);
    p.setCone(216000);
    p.setLight(2.5);
    p.AzimuthLine = QStringLiteral("45");
    auto field = std::make_shared<clsRect>(-300000, -250000, 300000, 100000);
    p.setField(field);
    int cells = 0;
    std::vector<int32_t> progress;
    p.AddElement = [&](clsMapCell& cell) {
        ++cells;
        EXPECT_TRUE(cell.CellFigure);
        progress.push_back(p.Progress());
        EXPECT_EQ(p.Remain(), -1);
    };
    const auto out = p.ExeProjection(*units);
    ASSERT_TRUE(out);
    ASSERT_EQ(out->Count(), 1);
    const clsMapUnit& base = *out->Base();
    EXPECT_TRUE(base.UnitName().endsWith(QStringLiteral("/TESTBASEOUT.MXY"))) << base.UnitName().toStdString();
    EXPECT_TRUE(base.SearchSwitch());
    EXPECT_EQ(base.Things().Count(), units->Base()->Things().Count());
    EXPECT_EQ(cells, base.Map().Count());
    EXPECT_EQ(progress, std::vector<int32_t>(progress.size(), 0));

    const QStringList rem = Remarks(base.Map());
    ASSERT_GE(rem.size(), 34);
    EXPECT_EQ(rem[1], QStringLiteral("# // 投影条件"));
    EXPECT_EQ(rem[13], QStringLiteral("# 光源高度　　：") + plat::FormatShortest(LightRatioToHeight(2.5) / 1000) + "km");
    EXPECT_EQ(rem[14], QStringLiteral("# 推奨出力縮尺：1/20000000"));
    EXPECT_EQ(rem[26], QStringLiteral("# 方位線出力　：True"));
    EXPECT_EQ(rem.mid(28), (QStringList{"# [海洋]", "# [経線]", "# [緯線]", "# [方位線]", "# [領域枠]", "# [投影枠]"}));
    EXPECT_EQ(layers->Log, (QStringList{
                               "OceanSplit TESTBASE.MLL",
                               "GridV 54000 TESTBASE.MLL",
                               "GridH 54000 TESTBASE.MLL",
                               "AzimuthLine [45] 36000 -100000 2e+07 TESTBASE.MLL",
                               "FieldFrame -300000 -250000 300000 100000 TESTBASE.MLL",
                               // The normal aspect of the southern cone; the light unrounded.
                               "ShadowFrame 24 -108000 216000 2.5 12 TESTBASE.MLL",
                           }));
    // The limit frame's settings are gone again.
    EXPECT_EQ(p.CenterLat(), -100000);
    EXPECT_EQ(p.poler(), 3600);
    EXPECT_EQ(*p.Field(), clsRect(-300000, -250000, 300000, 100000));

    // Without the frames and layers only the remarks come.
    layers->NoOcean = true;
    layers->Azimuth.clear();
    p.FieldFrame = p.ShadowFrame = false;
    p.Grid()->Vertical = p.Grid()->Horizontal = false;
    const QStringList bare = Remarks(p.ExeProjection(*units)->Base()->Map());
    EXPECT_EQ(bare.size(), 28);
    EXPECT_EQ(bare.back(), QStringLiteral("# //"));
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
    EXPECT_TRUE(out->Item(2)->UnitName().endsWith(QStringLiteral("/A.MXY")));
    EXPECT_TRUE(out->Item(3)->UnitName().endsWith(QStringLiteral("/B.MXY")));
    EXPECT_EQ(out->Item(2)->Map().MapMode(), 2);
    EXPECT_EQ(Remarks(out->Item(2)->Map()).size(), 17);
    EXPECT_EQ(Remarks(out->Item(3)->Map()).size(), 17);
    EXPECT_EQ(out->Item(2)->Map().Count(), 19);
    // 0 while only the base unit is known; then done already exceeds the
    // total of the further units and stays at 100.
    EXPECT_EQ(progress.front(), 0);
    EXPECT_EQ(progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(p.Remain(), 0);
}

TEST_F(ProjectorRun, CancelReentryAndRefusedFigures) {
    auto units = SourceUnits({Line({{0, 0}, {3600, 3600}}), At(0, 0), At(10, 10)});
    clsProjector p;
    int cells = 0;
    std::shared_ptr<clsMapUnits> inner = std::make_shared<clsMapUnits>();
    p.AddElement = [&](clsMapCell&) {
        if (++cells == 1) inner = p.ExeProjection(*units);   // refused: one run at a time
        if (cells == 3) p.Cancel = true;
    };
    EXPECT_FALSE(p.ExeProjection(*units));
    EXPECT_FALSE(inner);
    EXPECT_EQ(cells, 3);
    // The next run starts afresh.
    p.AddElement = nullptr;
    EXPECT_TRUE(p.ExeProjection(*units));

    // A figure the X/Y map refuses stops the run with a message.
    // (a new symbol has no thing yet)
    units->Base()->Map().MapCollection().push_back(std::make_shared<clsMapSymbol>());
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("投影変換中に不正データ発生."), plat::IdOk);
    EXPECT_FALSE(p.ExeProjection(*units));
}

TEST_F(ProjectorRun, OutputBoundMeasuresTheProjectedOcean) {
    clsProjector p;
    p.setMapScale(1234567.6);
    p.Cancel = true;   // left over from a cancelled run
    const std::optional<clsRect> b = p.OutputBound();
    ASSERT_TRUE(b);
    int32_t x = 0, y = 0;
    bool ok = false;
    p.PrjPoint().LLtoXYsec(647995, 323970, x, y, ok);
    EXPECT_EQ(*b, clsRect(-x, -y, x, y));
    EXPECT_EQ(p.MapScale(), 1234568);
    EXPECT_EQ(layers->Log, QStringList{"OceanSplit -"});

    layers->NoOcean = true;
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("最大出力矩形の算出に失敗."), plat::IdOk);
    EXPECT_FALSE(p.OutputBound());
}

TEST_F(ProjectorRun, TheLimitFrameTracesThePlaneOutlineWhateverTheCentreAndRotation) {
    // Mollweide's outline is the ellipse of half axes 2 sqrt 2 R and sqrt 2 R.
    clsProjector p;
    p.setPrjIndex(17);
    p.setCenterLon(540000);
    p.setCenterLat(100000);
    p.setPoler(36000);
    const auto out = p.ExeProjection(*SourceUnits({}));
    ASSERT_TRUE(out);
    const clsMapUnit& base = *out->Base();
    const int16_t frame = base.Things().Search(QStringLiteral("投影枠"));
    const double a = 2 * std::sqrt(2.0) * GlobeRadius, b = std::sqrt(2.0) * GlobeRadius;
    int lines = 0;
    for (const MapFigurePtr& f : base.Map()) {
        if (f->FigCode() != 2 || f->Thing() != frame) continue;
        ++lines;
        const clsPoly& q = *f->Poly();
        for (int32_t i = 1; i <= q.Count(); ++i)
            EXPECT_NEAR(std::pow(q.x(i) / a, 2) + std::pow(q.y(i) / b, 2), 1, 1e-4) << q.x(i) << " " << q.y(i);
    }
    EXPECT_GE(lines, 2);
    EXPECT_EQ(p.CenterLon(), 540000);
    EXPECT_EQ(p.poler(), 36000);
}
