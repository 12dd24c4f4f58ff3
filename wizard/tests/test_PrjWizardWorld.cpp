// The wizard as a user drives it, headless: the bundled world map through
// the real projection from the run page, the generated units saved into a
// new folder and read back, the snapshot imported again; pictures of pages
// 1, 8 (while running) and 9 for a person to look at.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "FlexGrid.h"
#include "WizardTestSupport.h"
#include "basLibrary.h"
#include "clsMapPlot.h"
#include "frmPrjWizard.h"

using namespace wiztest;
using testsupport::SaveWidgetPng;
using testsupport::ScriptedBoxes;
using testsupport::TempDir;

namespace {

// The real projection, with a picture of the window taken once the run is
// well under way.
class WatchedEngine : public ProjectorRunEngine {
public:
    WatchedEngine(clsProjector& p, std::function<void(int cells)> watch) : ProjectorRunEngine(p), watch_(std::move(watch)) {}
    std::shared_ptr<clsMapUnits> ExeProjection(clsMapUnits& units, const CellHandler& add) override {
        return ProjectorRunEngine::ExeProjection(units, [&](clsMapCell& cell) {
            add(cell);
            watch_(++cells);
        });
    }
    int cells = 0;

private:
    std::function<void(int)> watch_;
};

class World : public WizardTest {
protected:
    World() {
        units.Create(1);
        auto world = std::make_shared<clsMapUnit>();
        world->setUnitName(BundledMaps() + QStringLiteral("/WORLD_T3.MLL"));
        EXPECT_TRUE(world->Load());
        units.Add(world);
        // A view of the whole world.
        plot.MapUnits = std::shared_ptr<clsMapUnits>(&units, [](clsMapUnits*) {});
        plot.setCanvasWidth(1600);
        plot.setCanvasHeight(800);
        plot.setCenterX(0);
        plot.setCenterY(0);
        plot.setMapScale(150000000);
    }
    clsMapUnits units;
    clsMapPlot plot;
};

TEST_F(World, RunSaveAndLoadAgain) {
    TempDir dir;
    SnapshotRecorder recorder;
    clsMapUnits globalSet;
    recorder.globalXY = &globalSet;
    recorder.projector = projectorOwner.get();
    recorder.Install();
    ScriptedBoxes boxes;

    frmPrjWizardLogic logic;
    logic.MapUnitsLL = &units;
    logic.MapPlotLL = &plot;
    logic.Projector = projectorOwner.get();
    int16_t planned = 0;
    int shotAt = 0;
    frmPrjWizard* window = nullptr;
    logic.RunEngineFactory = [&](clsProjector& p) {
        planned = p.PrjIndex();
        return std::make_unique<WatchedEngine>(p, [&](int cells) {
            if (cells != 2000) return;
            logic.Tick();
            QApplication::processEvents();
            shotAt = logic.ProgressValue();
            EXPECT_EQ(window->executeButton()->text(), QStringLiteral("中止(&S)"));
            EXPECT_TRUE(window->remainLabel()->text().startsWith(QStringLiteral("変換終了まで ")));
            SaveWidgetPng(window, QStringLiteral("page8-running"));
        });
    };
    {
        frmPrjWizard w(logic);
        window = &w;
        w.show();
        EXPECT_EQ(w.page(1)->title(), QStringLiteral("(1/9) 初期設定"));
        SaveWidgetPng(&w, QStringLiteral("page1"));
        for (int i = 0; i < 7; ++i) w.button(frmPrjWizardLogic::BtnForward)->click();
        ASSERT_EQ(logic.Page(), 8);
        // The view's projection and the whole world.
        EXPECT_TRUE(logic.Work.FieldWorld);

        boxes.expect(QStringLiteral("地図投影変換を完了しました。"), plat::IdOk);
        w.executeButton()->click();
        EXPECT_GT(shotAt, 0);
        ASSERT_TRUE(logic.ResultUnits);
        EXPECT_EQ(logic.ResultFlags, frmPrjWizardLogic::ResultRun);
        EXPECT_EQ(logic.Work.PrjIndex, planned);

        w.button(frmPrjWizardLogic::BtnForward)->click();
        ASSERT_EQ(logic.Page(), 9);
        const plat::FlexGrid& grid = *w.saveGrid();
        ASSERT_EQ(grid.Rows(), 1 + logic.ResultUnits->Count());
        EXPECT_EQ(grid.TextMatrix(1, 0), QStringLiteral("1"));
        EXPECT_EQ(grid.TextMatrix(1, 2), QStringLiteral("BASEOUT.MXY"));
        EXPECT_EQ(grid.TextMatrix(1, 3), QString::number(logic.ResultUnits->Base()->Map().Count()));
        EXPECT_EQ(grid.TextMatrix(2, 2), QStringLiteral("WORLD_T3.MXY")) << "one form: the bare file name";
        SaveWidgetPng(&w, QStringLiteral("page9"));

        boxes.expectSaveFile(QStringLiteral("保存先"), dir.file(QStringLiteral("MXY20250101120000")));
        w.saveButton()->click();
        EXPECT_FALSE(w.isVisible());
        EXPECT_TRUE(w.DialogOK());
    }
    EXPECT_EQ(logic.ResultFlags, 7);
    EXPECT_EQ(projectorOwner->PrjIndex(), planned);
    EXPECT_EQ(recorder.globalXY, &globalSet);

    // Every unit reads back as it was written, with its catalogues.
    const QString folder = dir.file(QStringLiteral("MXY20250101120000/"));
    for (const MapUnitPtr& made : *logic.ResultUnits) {
        const QString name = FileNameOf(made->UnitName());
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(made->UnitName(), folder + name);
        for (const char* ext : {".THG", ".ADM"}) EXPECT_TRUE(FileExists(ChangeExt(folder + name, QString::fromLatin1(ext))));
        clsMapUnit again;
        again.setUnitName(folder + name);
        ASSERT_TRUE(again.Load());
        EXPECT_EQ(again.Map().Count(), made->Map().Count());
        EXPECT_EQ(again.Map().MapMode(), 2);
    }

    // The snapshot brings these settings back through the log option.
    ForgetSettings();
    frmPrjWizardLogic next;
    next.InitOption = 3;
    next.LogPath = folder + QStringLiteral("MXY20250101120000");
    auto fresh = std::make_unique<clsProjector>();
    next.Projector = fresh.get();
    next.Load();
    next.Forward();
    EXPECT_EQ(next.Work.PrjIndex, planned);
    EXPECT_DOUBLE_EQ(next.Work.MapScale, logic.Work.MapScale);
}

// The base map's land, projected in one projection of each family, shows
// on the monitor over the ocean, as it comes.
TEST_F(WizardTest, TheBaseMapsLandShowsOnTheMonitor) {
    clsMapUnits units;
    units.Create(1);
    const clsThings& things = units.Base()->Things();
    const int32_t c = things.Item(things.Search(QStringLiteral("陸地")))->Fore();
    const QRgb land = qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    clsMapPlot view;
    view.MapUnits = std::shared_ptr<clsMapUnits>(&units, [](clsMapUnits*) {});
    view.setMapScale(150000000);
    for (const int16_t prj : {12, 17, 6, 24}) {
        SCOPED_TRACE(prj);
        ScriptedBoxes boxes;
        frmPrjWizardLogic logic;
        logic.MapUnitsLL = &units;
        logic.MapPlotLL = &view;
        logic.Projector = projectorOwner.get();
        logic.Load();
        logic.Forward();
        logic.Work.PrjIndex = prj;
        logic.SetPage(8);
        boxes.expect(QStringLiteral("地図投影変換を完了しました。"), plat::IdOk);
        logic.Execute();
        ASSERT_TRUE(logic.ResultUnits);
        const QImage& monitor = logic.Monitor().image();
        int64_t onLand = 0;
        for (int y = 0; y < monitor.height(); ++y)
            for (int x = 0; x < monitor.width(); ++x) onLand += (monitor.pixel(x, y) & 0xFFFFFF) == (land & 0xFFFFFF);
        EXPECT_GT(onLand, monitor.width() * monitor.height() / 20);
        logic.Unload();
    }
}

} // namespace
