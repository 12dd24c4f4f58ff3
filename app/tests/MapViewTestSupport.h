// The installed program started with a drawing layer, both plot engines, a
// canvas whose view shows all of it, the view's overlay, a recording window
// and a clock that moves only when told.
#pragma once

#include <gtest/gtest.h>

#include <QPoint>

#include <memory>
#include <utility>
#include <vector>

#include "AppTestSupport.h"
#include "Clock.h"
#include "MainPlotRoutines.h"
#include "MapViewControl.h"
#include "MapViewHost.h"
#include "RasterDC.h"
#include "ViewOverlay.h"
#include "basHMapCoord.h"
#include "basHMapView.h"
#include "clsCanvas.h"
#include "clsRegistry.h"
#include "clsMapGraph.h"
#include "clsMapPlot.h"

namespace apptest {

// A window that records what it is asked and answers as the test sets.
struct FakeHost : MapViewHost {
    MapViewControl* control = nullptr;
    bool plotting = false, minimized = false, modified = false, pickOk = false;
    int plots = 0, controlls = 0, repaints = 0, scales = 0, centres = 0, formResizes = 0, scrollRanges = 0;
    int overwrites = 0, captions = 0, cursor = 1101;
    int64_t wake = -1;
    int32_t hsb = 0, vsb = 0, pickX = 0, pickY = 0;
    int16_t slider = 20;
    std::vector<bool> initializing;
    QString status, tip, active = QStringLiteral("frmMain");
    QPoint pan;
    QSize screen{1920, 1080};
    std::vector<QString> loaded;
    std::vector<QPoint> popups, pickMenus;
    struct Pick {
        int32_t canvasX, canvasY;
        bool includeAll;
    };
    std::vector<Pick> pickups;

    bool Plotting() const override { return plotting; }
    void setInitializing(bool on) override { initializing.push_back(on); }
    // A plot sets the engine up for its view; the picture is the test's.
    int16_t PlotWindow() override {
        ++plots;
        if (clsMapPlot* p = CurrentMapPlot()) p->Field();
        return 0;
    }
    void SetViewControllByEngine() override { ++controlls; }
    void PaintViewFromCanvas() override { ++repaints; }
    void ShowPanOffset(int32_t dx, int32_t dy) override { pan = QPoint(dx, dy); }
    void WakeAfter(int64_t ms) override { wake = ms; }
    void SetStatusText(const QString& text) override { status = text; }
    void ShowScale() override { ++scales; }
    void ShowCenter() override { ++centres; }
    void ShowCursorPos(int32_t, int32_t, bool) override {}
    void SetViewCursor(int resource) override { cursor = resource; }
    int32_t ScrollValue(bool vertical) const override { return vertical ? vsb : hsb; }
    void SetScrollValue(bool vertical, int32_t value) override {
        (vertical ? vsb : hsb) = value;
        if (vertical) control->vsbView_Change(value);
        else control->hsbView_Change(value);
    }
    int16_t SliderValue() const override { return slider; }
    void SetSliderValue(int16_t level) override {
        slider = level;
        control->sliScale_Change(level);
    }
    void SetSliderTip(const QString& text) override { tip = text; }
    QSize ScreenSizePixels() const override { return screen; }
    void ResizeFormByView() override { ++formResizes; }
    void SetScrollRange() override { ++scrollRanges; }
    void LoadFile(const QString& path) override { loaded.push_back(path); }
    void ShowPopupMenu(int32_t x, int32_t y) override { popups.emplace_back(x, y); }
    bool PickupList(int32_t cx, int32_t cy, bool all, int32_t& mx, int32_t& my) override {
        pickups.push_back({cx, cy, all});
        mx = pickX;
        my = pickY;
        return pickOk;
    }
    void PickMenu(int32_t x, int32_t y) override { pickMenus.emplace_back(x, y); }
    QString ActiveWindowName() const override { return active; }
    bool MainMinimized() const override { return minimized; }
    bool AnyMapModified() const override { return modified; }
    void Overwrite() override { ++overwrites; }
    void RefreshMapListCaption() override { ++captions; }
};

class MapViewTest : public ::testing::Test {
protected:
    static constexpr int kW = 600, kH = 400;
    static constexpr int32_t kDeg = 3600;

    MapViewTest()
        : view_(kW, kH, QSize(0, 0), QSize(1920, 1080)), dc_(plat::Bitmap::Create(kW, kH, 32), 96),
          overlay_(kW, kH), clock_(QDateTime(QDate(2024, 5, 1), QTime(9, 0))) {
        folder_.Install();
        EXPECT_EQ(gvInitialize(), StartupOK);
        // The test's own drawing layer, engines and canvas in place of those
        // of the start-up.
        delete std::exchange(gvCanvas, nullptr);
        delete std::exchange(gvMapPlotXY, nullptr);
        delete std::exchange(gvMapPlotLL, nullptr);
        delete std::exchange(gvMapGraph, &graph_);
        clsRegistry(clsCanvas::RegistrySection()).RegDelete(QString());   // its sizes are not the test's
        ll_ = std::make_unique<clsMapPlot>();
        xy_ = std::make_unique<clsMapPlot>();
        xy_->setProjectionIndex(0);
        ll_->MapUnits = std::shared_ptr<clsMapUnits>(gvMapUnitsLL, [](clsMapUnits*) {});
        xy_->MapUnits = std::shared_ptr<clsMapUnits>(gvMapUnitsXY, [](clsMapUnits*) {});
        gvMapPlotLL = ll_.get();
        gvMapPlotXY = xy_.get();
        canvas_ = std::make_unique<clsCanvas>(picture_, view_, 96);
        canvas_->setSynchro(false);
        canvas_->setCanvasWidth(kW);
        canvas_->setCanvasHeight(kH);
        gvCanvas = canvas_.get();
        InstallMapViewHooks();
        gvMapMode = 1;
        SetView(*ll_, 1, 0, 0, 2e7);
        SetView(*xy_, 0, 0, 0, 2e7);
        control_ = std::make_unique<MapViewControl>(host_, overlay_, &clock_);
        control_->DoubleClickMs = 500;
        host_.control = control_.get();
    }
    ~MapViewTest() override {
        control_.reset();
        gvCanvas = nullptr;
        gvMapPlotLL = gvMapPlotXY = nullptr;
        gvMapGraph = nullptr;
        SetMapModeSource({});
    }

    void SetView(clsMapPlot& p, int32_t slot, int32_t cx, int32_t cy, double scale) {
        p.sethdc(&dc_);
        p.setCanvasWidth(kW);
        p.setCanvasHeight(kH);
        p.setdpix(96);
        p.setdpiy(96);
        p.ProjectionAuto = false;
        p.setProjectionIndex(slot);
        p.setCenterX(cx);
        p.setCenterY(cy);
        p.setMapScale(scale);
        p.Field();
    }
    void Wait(int64_t ms) {
        clock_.advanceMs(ms);
        control_->Poll();
    }
    void Click(int32_t x, int32_t y, int16_t button = MapViewControl::LeftButton) {
        control_->picView_MouseDown(button, x, y);
        control_->picView_MouseUp(button, x, y);
    }
    ViewSurvey& survey() { return control_->Survey(); }
    ViewFrameCut& frameCut() { return control_->FrameCut(); }

    ProgramFolder folder_;
    clsMapGraph graph_;
    std::unique_ptr<clsMapPlot> ll_, xy_;
    BitmapCanvasPicture picture_;
    BitmapViewPicture view_;
    std::unique_ptr<clsCanvas> canvas_;
    plat::RasterDC dc_;
    plat::ViewOverlay overlay_;
    plat::FixedClock clock_;
    FakeHost host_;
    std::unique_ptr<MapViewControl> control_;
};

} // namespace apptest
