// The phased drawing: phase order (both graticule orders), progress, cancel
// in the middle of a phase, result codes, setters ignored while drawing, an
// error on the way, the switches that leave layers out, and the decisions of
// visibility and style for one figure.
#include <gtest/gtest.h>

#include <QTimer>

#include <chrono>
#include <thread>

#include "AppError.h"
#include "TestSupport.h"
#include "MapPlotTestSupport.h"
#include "clsAdmin.h"
#include "clsMapSymbol.h"
#include "clsPostScript.h"

using namespace plottest;

namespace {

constexpr int32_t kDeg = 3600;

class Replot : public MapPlotTest {
protected:
    Replot() : dc(800, 600) {
        land = ThingOf(*BaseOnly(1), "陸地");
        lat = ThingOf(*BaseOnly(1), "緯線");
        units = WithFigures({Poly<clsMapPolygon>(land, {{0, 0}, {36000, 0}, {36000, 36000}, {0, 0}}),
                             Poly<clsMapPolyline>(lat, {{-36000, 10000}, {36000, 10000}})});
        p.MapUnits = units;
        p.AzimuthLine = QStringLiteral("0");
        SetView(p, &dc, 1, 0, 0, 3e7);
    }

    // The mirror's section comments and the progress numbers, in the order
    // they came; map-file comments left out.
    QStringList PhaseLog(int16_t& result) {
        graph.setPostScriptEi(true);
        QStringList log;
        int taken = 0;
        auto takeComments = [&] {
            const QList<QByteArray> lines = graph.oPostScript()->ProgramText().split('\n');
            for (; taken + 1 < lines.size(); ++taken) {   // the last piece is the line under way
                const QByteArray l = lines[taken].trimmed();
                if (l.startsWith("% ----")) log << QString::fromLatin1(l.mid(7, l.size() - 12));
            }
        };
        p.Progress = [&](int16_t n) {
            takeComments();
            log << QString::number(n);
        };
        result = p.Replot();
        p.Progress = nullptr;
        takeComments();
        graph.setPostScriptEi(false);
        return log;
    }

    CountingDC dc;
    clsMapPlot p;
    std::shared_ptr<clsMapUnits> units;
    int16_t land = 0, lat = 0;
};

TEST_F(Replot, PhasesComeInOrderWithOneProgressEach) {
    const QStringList grid = {"grid line", "grid text"};
    for (bool under : {false, true}) {
        p.GridOcean = under;
        int16_t result = -1;
        const QStringList log = PhaseLog(result);
        EXPECT_EQ(result, 0);
        QStringList layers = log;
        layers.removeIf([](const QString& s) { return s.size() == 1; });
        const QStringList expect = QStringList({"clear canvas", "ocean"}) + (under ? grid : QStringList()) +
                                   QStringList({"phase / POLYGON"}) + (under ? QStringList() : grid) +
                                   QStringList({"phase / POLYLINE", "phase / SYMBOL", "phase / TEXT", "azimuth line"});
        EXPECT_EQ(layers, expect);
        // One progress number after each of the ten steps.
        for (int n = 0; n <= 9; ++n) EXPECT_EQ(log[2 * n], QString::number(n)) << under;
    }
    EXPECT_FALSE(p.Busy());
    EXPECT_FALSE(graph.IsDrawing());
}

// What each switch leaves out: polygons drawn, and the layers in the log.
TEST_F(Replot, SwitchesLeaveLayersOut) {
    ASSERT_EQ(p.Replot(), 0);
    const int all = dc.polygons;
    const int16_t ocean = ThingOf(*units, "海洋");
    struct Case {
        const char* what;
        std::function<void(bool)> set;
        int polygons;
        QStringList absent;
    };
    const Case cases[] = {
        {"no kinds", [&](bool on) { p.FigureDisp = on ? 0 : 31; }, 0,
         {"ocean", "grid line", "grid text", "azimuth line"}},
        {"base unit off", [&](bool on) { units->Base()->setDisplaySwitch(!on); }, 1,
         {"ocean", "grid line", "grid text", "azimuth line"}},
        {"test unit off", [&](bool on) { units->Item(2)->setDisplaySwitch(!on); }, all - 1, {}},
        // A base catalogue without the ocean thing: no ocean, the rest drawn.
        {"no ocean thing",
         [&](bool on) { units->Base()->Things().Item(ocean)->setName(on ? QStringLiteral("海") : QStringLiteral("海洋")); },
         all - 1, {"ocean"}},
    };
    for (const Case& c : cases) {
        c.set(true);
        dc.polygons = 0;
        int16_t result = -1;
        const QStringList log = PhaseLog(result);
        EXPECT_EQ(result, 0) << c.what;
        EXPECT_EQ(dc.polygons, c.polygons) << c.what;
        for (const QString& layer : c.absent) EXPECT_FALSE(log.contains(layer)) << c.what << ": " << layer.toStdString();
        EXPECT_EQ(log.count(), 10 + 9 - c.absent.size()) << "progress runs 0..9 all the same: " << c.what;
        c.set(false);
    }
}

TEST_F(Replot, XYMapsHaveNoOceanLabelsOrAzimuthLines) {
    clsMapPlot xy;
    xy.MapUnits = WithFigures({Poly<clsMapPolyline>(ThingOf(*BaseOnly(2), "縦線"), {{0, 0}, {100000, 100000}})}, 2);
    xy.AzimuthLine = QStringLiteral("0");
    SetView(xy, &dc, 0, 0, 0, 1e7);
    graph.setPostScriptEi(true);
    EXPECT_EQ(xy.Replot(), 0);
    const QByteArray text = graph.oPostScript()->ProgramText();
    graph.setPostScriptEi(false);
    EXPECT_FALSE(text.contains("---- ocean")) << text.toStdString();
    EXPECT_FALSE(text.contains("grid text"));
    EXPECT_FALSE(text.contains("azimuth line"));
    EXPECT_TRUE(text.contains("phase / POLYLINE"));
    EXPECT_EQ(dc.polygons, 0);
    EXPECT_EQ(dc.polylines, 1);
}

// Cancel is looked at before each map unit: the unit being drawn is
// finished, the next is not begun, and no later phase reports.
TEST_F(Replot, CancelInThePolygonPhaseStopsAtTheNextUnit) {
    p.setMapScale(1e8);
    ASSERT_EQ(p.Replot(), 0);
    const int all = dc.polygons;
    dc.polygons = 0;
    dc.onPolygon = [&](int n) {
        if (n == 2) p.Cancel = true;   // after the ocean, in the base unit's land
    };
    std::vector<int16_t> phases;
    p.Progress = [&](int16_t n) { phases.push_back(n); };
    EXPECT_EQ(p.Replot(), 1);
    EXPECT_EQ(phases, (std::vector<int16_t>{0, 1, 2}));
    EXPECT_EQ(dc.polygons, all - 1) << "every polygon but the test unit's";
    EXPECT_FALSE(p.Busy());
    EXPECT_FALSE(graph.IsDrawing());
    dc.onPolygon = nullptr;
    EXPECT_EQ(p.Replot(), 0) << "the next drawing clears Cancel";
}

// However long the figures take, events run between them at least every
// 50 ms: here every area takes 4 ms, forty of them in one map.
TEST_F(Replot, EventsRunBetweenSlowFiguresWithin50Ms) {
    static constexpr int kFigureMs = 4;
    std::vector<MapFigurePtr> areas;
    for (int i = 0; i < 40; ++i) areas.push_back(Poly<clsMapPolygon>(land, {{0, 0}, {kDeg, 0}, {kDeg, kDeg}, {0, 0}}));
    p.MapUnits = WithFigures(areas);
    p.MapUnits->Base()->setDisplaySwitch(false);
    std::vector<int> drawnAtEvents{0};
    QTimer round;
    round.setInterval(0);
    QObject::connect(&round, &QTimer::timeout, [&] { drawnAtEvents.push_back(dc.polygons); });
    round.start();
    dc.onPolygon = [](int) { std::this_thread::sleep_for(std::chrono::milliseconds(kFigureMs)); };
    ASSERT_EQ(p.Replot(), 0);
    round.stop();
    drawnAtEvents.push_back(dc.polygons);
    EXPECT_EQ(dc.polygons, 40);
    int gap = 0;
    for (size_t k = 1; k < drawnAtEvents.size(); ++k) gap = std::max(gap, drawnAtEvents[k] - drawnAtEvents[k - 1]);
    EXPECT_LE(gap, 50 / kFigureMs);
}

TEST_F(Replot, NoSurfaceOrABusyEngineGivesTwo) {
    std::vector<int16_t> phases;
    p.Progress = [&](int16_t n) { phases.push_back(n); };
    p.sethdc(nullptr);
    EXPECT_EQ(p.Replot(), 2);
    EXPECT_TRUE(phases.empty());
    EXPECT_FALSE(p.Busy());
    p.sethdc(&dc);
    ASSERT_TRUE(p.DrawStart());
    EXPECT_FALSE(p.DrawStart());
    EXPECT_EQ(p.Replot(), 2);
    p.DrawEnd();
    EXPECT_EQ(p.Replot(), 0);
}

TEST_F(Replot, GeometryChangesWaitUntilTheDrawingEnds) {
    CountingDC other(100, 100);
    p.Progress = [&](int16_t n) {
        if (n != 3) return;
        const clsRect field = p.Field();
        p.setCenterX(100000);
        p.setMapScale(1e6);
        p.setCanvasWidth(100);
        p.setCanvasLeft(5);
        p.setdpix(300);
        p.setProjectionIndex(4);
        p.sethdc(&other);
        p.setPtnRatio(200);
        EXPECT_EQ(p.Field(), field) << "the drawing's field stands";
    };
    EXPECT_EQ(p.Replot(), 0);
    EXPECT_EQ(p.CenterX(), 0);
    EXPECT_EQ(p.MapScale(), 3e7);
    EXPECT_EQ((PolyPoint{p.CanvasLeft(), p.CanvasWidth()}), (PolyPoint{0, 800}));
    EXPECT_EQ(p.dpix(), 96);
    EXPECT_EQ(p.ProjectionIndex(), 1);
    EXPECT_EQ(p.hdc(), &dc);
    EXPECT_EQ(p.PtnRatio(), 200) << "the pattern ratio is taken at any time";
    p.Progress = nullptr;
    p.setCenterX(100000);
    EXPECT_EQ(p.CenterX(), 100000);
}

// The figures of a phase are sorted out once per drawing; a handler that
// changes the map between phases still gets the figures the map holds then.
TEST_F(Replot, AMapChangedBetweenPhasesDrawsWhatItHoldsThen) {
    ASSERT_EQ(p.Replot(), 0);
    const int usual = dc.polylines;
    const MapUnitPtr unit = units->Item(2);
    const MapFigurePtr area = unit->Map().Item(1), line = unit->Map().Item(2);
    const MapFigurePtr outside = Poly<clsMapPolyline>(lat, {{-36000, -300000}, {36000, -300000}});
    struct Case {
        const char* name;
        std::function<void(clsMap&)> change;
        int polylines;   // over the usual count
    };
    const Case cases[] = {
        {"renewed in place", [&](clsMap& m) { m.Renew(2, Poly<clsMapPolyline>(lat, {{-36000, 20000}, {36000, 20000}})); }, 0},
        {"renewed out of the field", [&](clsMap& m) { m.Renew(2, outside); }, -1},
        {"removed", [&](clsMap& m) { m.Remove(2); }, -1},
        {"one more", [&](clsMap& m) { m.Add(Poly<clsMapPolyline>(lat, {{-36000, 20000}, {36000, 20000}})); }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        while (unit->Map().Count() > 0) unit->Map().Remove(1);
        unit->Map().Add(area);
        unit->Map().Add(line);
        dc.polylines = 0;
        p.Progress = [&](int16_t n) {
            if (n == 3) c.change(unit->Map());   // after the polygons
        };
        EXPECT_EQ(p.Replot(), 0);
        p.Progress = nullptr;
        EXPECT_EQ(dc.polylines, usual + c.polylines);
    }
}

TEST_F(Replot, AnErrorOnTheWayLeavesTheEngineIdle) {
    p.Progress = [](int16_t n) {
        if (n == 4) throw plat::AppError(5, QStringLiteral("handler"), QStringLiteral("broken"));
    };
    try {
        p.Replot();
        ADD_FAILURE() << "the error goes on to the caller";
    } catch (const plat::AppError& e) {
        EXPECT_TRUE(e.source().contains(QStringLiteral("clsMapPlot.Replot"))) << e.source().toStdString();
        EXPECT_EQ(e.number(), 5);
    }
    EXPECT_FALSE(p.Busy());
    EXPECT_FALSE(graph.IsDrawing());
    p.Progress = nullptr;
    EXPECT_EQ(p.Replot(), 0);
}

TEST_F(Replot, DrawCellDrawsTheShiftedCopyAcrossTheDateLine) {
    SetView(p, &dc, 1, 175 * kDeg, 0, 3e7);
    auto far = Poly<clsMapPolyline>(lat, {{-640000, -3600}, {-640000, 3600}});
    ASSERT_TRUE(p.DrawStart());
    EXPECT_TRUE(p.DrawCell(units->Item(2)->ToCell(far)));
    p.DrawEnd();
    EXPECT_EQ(dc.polylines, 1);
    EXPECT_FALSE(p.DrawCell(clsMapCell())) << "an empty cell draws nothing";
}

// Visibility and style of one figure.
class Styling : public Replot {
protected:
    Styling() {
        clsMapUnit& u = *units->Item(2);
        line = addThing(u, 2, "線");
        mark = addThing(u, 4, "点");
        name = addThing(u, 5, "字");
        for (const ThingPtr& t : {line, mark, name}) {
            for (int16_t page = 1; page <= 8; ++page) {
                t->setPage(page);
                t->setFore(0x100000 * page + 0x11);
                t->setBack(0x000100 * page);
                t->setStyle(t->Figure() == 4 ? page : 1);
                t->setSize(t->Figure() == 5 ? 10 + page : page);
                t->setShowMode(1);
            }
            t->setPage(1);
        }
        page5 = std::make_shared<clsAdmin>();
        page5->setAdminCode(5);
        page5->setPage(5);
        u.Admins().Add(page5);
    }
    static ThingPtr addThing(clsMapUnit& u, int16_t figure, const char* name) {
        auto t = std::make_shared<clsThing>();
        t->setFigure(figure);
        t->setName(QString::fromUtf8(name));
        u.Things().Add(t);
        return t;
    }
    clsMapCell Cell(const MapFigurePtr& f) const { return units->Item(2)->ToCell(f); }
    MapFigurePtr Line(int16_t admin = 0) {
        auto f = Poly<clsMapPolyline>(line->Index(), {{0, 0}, {36000, 3600}});
        f->setAdmin(admin);
        return f;
    }

    ThingPtr line, mark, name;
    AdminPtr page5;
};

TEST_F(Styling, ShowModesOfFigureAndThing) {
    struct Case {
        bool figModes, thgModes;
        int16_t own, thing;   // show modes; thing -1 with the scale range
        bool inRange, visible;
    };
    const Case cases[] = {
        {true, true, -1, 1, false, true},   {true, true, -1, 0, true, false},   {true, true, -1, -1, true, true},
        {true, true, -1, -1, false, false}, {true, true, 0, 1, true, false},    {true, true, 1, 0, false, true},
        {true, false, -1, 0, false, true},  {true, false, 0, 1, true, false},   {true, false, 1, 0, false, true},
        {false, true, 0, 0, false, true},   {false, true, -1, -1, false, true},
    };
    for (const Case& c : cases) {
        p.FigShowModeEnable = c.figModes;
        p.ThgShowModeEnable = c.thgModes;
        line->setShowMode(c.thing);
        line->setScaleS(c.inRange ? 1e8 : 1e7);
        line->setScaleL(c.inRange ? 1e6 : 1e5);
        const MapFigurePtr f = Line();
        f->setOwnShowMode(c.own);
        EXPECT_EQ(p.CellToFigure(Cell(f)) != nullptr, c.visible)
            << c.figModes << c.thgModes << " own " << c.own << " thing " << c.thing << " in " << c.inRange;
    }
}

TEST_F(Styling, HiddenDistrictsAreSkippedByTheDrawingNotByTheStyle) {
    page5->setShow(false);
    const clsMapCell cell = Cell(Line(5));
    EXPECT_NE(p.CellToFigure(cell), nullptr);
    ASSERT_TRUE(p.DrawStart());
    EXPECT_FALSE(p.DrawCell(cell));
    p.AdmShowModeEnable = false;
    EXPECT_TRUE(p.DrawCell(cell));
    p.DrawEnd();
}

TEST_F(Styling, ColoursFollowOwnColourThingAndDistrictPage) {
    struct Case {
        bool native;
        int32_t own;
        int16_t admin;
        int32_t fore;
    };
    const Case cases[] = {{true, 0x123456, 0, 0x123456},        {true, -1, 0, 0x100011},
                          {true, -1, 5, 0x500011},               {false, 0x123456, 5, 0x500011},
                          {false, -1, 0, 0x100011}};
    for (const Case& c : cases) {
        p.FigNativeEnable = c.native;
        const MapFigurePtr f = Line(c.admin);
        f->setOwnColor(c.own);
        line->setPage(c.admin == 5 ? 1 : 3);   // whatever page the thing showed last
        const auto fig = std::dynamic_pointer_cast<clsFigPolyline>(p.CellToFigure(Cell(f)));
        ASSERT_NE(fig, nullptr);
        EXPECT_EQ(fig->Fore(), c.fore) << c.native << " " << c.own << " " << c.admin;
        const int16_t page = c.admin == 5 ? 5 : 1;
        EXPECT_EQ(fig->Back(), 0x100 * page);
        EXPECT_EQ(fig->Size, page);
        EXPECT_EQ(fig->Style, 1);
    }
}

TEST_F(Styling, SymbolsAndTextsTakeHaloPositionAndTextFields) {
    auto sym = At<clsMapSymbol>(mark->Index(), 3600, 3600);
    sym->setAdmin(5);
    auto txt = At<clsMapText>(name->Index(), -3600, 3600);
    txt->setTextFix(17);
    txt->setAngle(30);
    txt->setTextUnicode(2, QStringLiteral("東京"));
    for (bool edge : {true, false}) {
        p.EdgeEnable = edge;
        const auto s = std::dynamic_pointer_cast<clsFigSymbol>(p.CellToFigure(Cell(sym)));
        const auto t = std::dynamic_pointer_cast<clsFigText>(p.CellToFigure(Cell(txt)));
        const auto l = std::dynamic_pointer_cast<clsFigPolyline>(p.CellToFigure(Cell(Line())));
        ASSERT_TRUE(s && t && l);
        EXPECT_EQ(s->Back(), edge ? 0x500 : -1);
        EXPECT_EQ(t->Back(), edge ? 0x100 : -1);
        EXPECT_EQ(l->Back(), 0x100) << "lines keep their back colour";
        EXPECT_EQ(s->Style, 5);
        int32_t x = 0, y = 0;
        p.MapToCanvas(3600, 3600, x, y);
        EXPECT_EQ((PolyPoint{s->X, s->Y}), (PolyPoint{x, y}));
        EXPECT_EQ((PolyPoint{t->Size, t->Angle}), (PolyPoint{11, 30}));
        EXPECT_EQ(t->Align, 17);
        EXPECT_EQ(t->FontName, name->FontName());
    }
    const long language = gvLanguage;
    gvLanguage = 2;
    EXPECT_EQ(std::dynamic_pointer_cast<clsFigText>(p.CellToFigure(Cell(txt)))->Text, txt->TextAnsi(2));
    gvLanguage = language;
    // Inside the field, off the canvas: nothing.
    sym->setMx(p.Field().x2 - 10);
    EXPECT_EQ(p.CellToFigure(Cell(sym)), nullptr);
}

TEST_F(Styling, TextsLeanWithTheMeridianInConesOnly) {
    auto txt = At<clsMapText>(name->Index(), 160 * kDeg, 45 * kDeg);
    txt->setAngle(10);
    p.TextSlant = true;
    SetView(p, &dc, 1, 140 * kDeg, 45 * kDeg, 3e7);
    EXPECT_EQ(std::dynamic_pointer_cast<clsFigText>(p.CellToFigure(Cell(txt)))->Angle, 10) << "upright in cylinders";
    SetView(p, &dc, 3, 140 * kDeg, 45 * kDeg, 3e7);
    int32_t east = 0, west = 0, centre = 0, pole = 0;
    p.SlantMeridian(160 * kDeg, 45 * kDeg, east);
    p.SlantMeridian(120 * kDeg, 45 * kDeg, west);
    p.SlantMeridian(140 * kDeg, 45 * kDeg, centre);
    p.SlantMeridian(160 * kDeg, 324000, pole);
    EXPECT_NEAR(east / 3600.0, -14.1, 1.5) << "20 degrees of longitude times sin 45, leaning left east of the centre";
    EXPECT_NEAR(west, -east, 3600);
    EXPECT_EQ(centre, 0);
    EXPECT_NE(pole, 0) << "probes near the pole stay on the globe";
    EXPECT_EQ(std::dynamic_pointer_cast<clsFigText>(p.CellToFigure(Cell(txt)))->Angle, 10 - east / 3600);
}

} // namespace
