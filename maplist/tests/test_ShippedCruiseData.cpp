// The cruise over the files shipped in data/: the list, the grid and every
// standard map, as the program finds them beside itself.
#include "TestSupport.h"

#include "AppInfo.h"
#include "AppState.h"
#include "MapUnitIo.h"
#include "basLibrary.h"
#include "clsCruise05.h"
#include "clsMapUnits.h"
#include "clsRect.h"
#include "clsRegistry.h"

namespace {

const QString kData = QStringLiteral(KAL_SOURCE_DIR "/data");

struct ShippedCruise : ::testing::Test {
    testsupport::ScriptedBoxes boxes;
    QStringList loaded;
    ShippedCruise() {
        plat::SetAppPath(kData);
        gvMapFolder = kData + QStringLiteral("/maps");
        clsRegistry(QStringLiteral("CRUISE05")).RegDelete(QString());
        SetMapUnitDialogs(
            [this](clsMapUnit& u) {
                loaded << FileNameOf(u.UnitName());
                HeadlessMapUnitIoReporter r;
                return LoadMapUnitFiles(u, r);
            },
            {});
    }
    ~ShippedCruise() override {
        SetMapUnitDialogs({}, {});
        plat::SetAppPath(QString());
        gvMapFolder.clear();
    }
};

clsRect Around(double lon, double lat, double halfWidth, double halfHeight) {
    return clsRect(int32_t((lon - halfWidth) * 3600), int32_t((lat - halfHeight) * 3600), int32_t((lon + halfWidth) * 3600),
                   int32_t((lat + halfHeight) * 3600));
}

} // namespace

TEST_F(ShippedCruise, EveryListedMapLoadsWithValidFigures) {
    clsCruise05 engine;
    EXPECT_EQ(engine.GetStdMapList(), clsCruise05::kMaskAdministrative);
    ASSERT_EQ(engine.RecordCount(), 8);
    EXPECT_EQ(engine.CountryName(168392, 2), "日本");
    for (int i = 0; i < 25; ++i) {
        const QString path = engine.MapCodeToPath(clsCruise05::kStdMapCodes[i]);
        if (!FileExists(path)) continue;
        SCOPED_TRACE(path.toStdString());
        clsMapUnit unit;
        unit.setMapMode(1);
        unit.setUnitName(path);
        ASSERT_TRUE(unit.Load());
        EXPECT_EQ(unit.Map().MapCode(), clsCruise05::kStdMapCodes[i]);
        int places = 0;
        for (const MapFigurePtr& f : unit.Map()) {
            ASSERT_TRUE(f->IsRight());
            if (f->FigCode() == 1) continue;
            ASSERT_TRUE(unit.ToCell(f).IsValid()) << f->Admin() << "/" << f->Thing();
            places += f->FigCode() == 4 ? 1 : 0;
        }
        EXPECT_GT(places, 100);
    }
}

TEST_F(ShippedCruise, CountryGridCells) {
    clsCruise05 engine;
    clsGridMap& grid = engine.Grid();
    struct Case {
        double lon, lat;
        int16_t code;
    } cases[] = {
        {139.69, 35.69, 392},   // Tokyo
        {-160, 10, 0},          // mid-Pacific
        {179.5, -16.5, 242},    // Fiji west of 180°
        {-179.8, -16.8, 242},   // and east of it
        {180, -16.8, 242},      // +180° is column 0
        {0, 90, 0},             // the North Pole: sea
        {0, -89.9, 10},         // Antarctica
        {0, -90, -1},           // outside the grid
        {-74, 40.7, 840},       // New York
        {27.5, -29.5, 426},     // Lesotho, inside South Africa
    };
    for (const Case& c : cases)
        EXPECT_EQ(grid.GetCountryCode(int32_t(c.lon * 3600), int32_t(c.lat * 3600)), c.code) << c.lon << "," << c.lat;
    const clsRect fiji = Around(180, -17, 1, 1);
    EXPECT_EQ(grid.GetCountryCodeArea(&fiji), std::vector<int16_t>{242});
}

TEST_F(ShippedCruise, ZoomingOverJapanFromLevelOneToEight) {
    clsCruise05 engine;
    clsMapUnits units;
    units.Create(1);
    struct Step {
        double scale;
        const char* shown;
    } steps[] = {
        {300000000, "WORLD_A1.MLL"}, {70000000, "WORLD_A2.MLL"}, {30000000, "WORLD_A3.MLL"}, {14000000, "WORLD_A4.MLL"},
        {7000000, "WORLD_A5.MLL"},   {3000000, "WORLD_A6.MLL"},  {1000000, "JAPAN_A7.MLL"},  {220000, "JAPAN_A8.MLL"},
        {30000000, "WORLD_A3.MLL"},
    };
    for (const Step& s : steps) {
        const clsRect view = Around(139.7, 35.7, 0.004 * s.scale / 100000, 0.003 * s.scale / 100000);
        EXPECT_TRUE(engine.Cruise(s.scale, &view, &units)) << s.scale;
        QStringList shown;
        for (const MapUnitPtr& u : units)
            if (u->DisplaySwitch() && u != units.Base()) shown << FileNameOf(u->UnitName());
        EXPECT_EQ(shown, QStringList{QString::fromLatin1(s.shown)}) << s.scale;
    }
    // Each map was loaded once; zooming back showed level 3's again.
    EXPECT_EQ(loaded, (QStringList{"BASE.MLL", "WORLD_A1.MLL", "WORLD_A2.MLL", "WORLD_A3.MLL", "WORLD_A4.MLL", "WORLD_A5.MLL",
                                   "WORLD_A6.MLL", "JAPAN_A7.MLL", "JAPAN_A8.MLL"}));
}
