// The main window's logic over the started application state, with a view
// that records what the logic asks of it and a plot engine that draws
// nothing.
#pragma once

#include <gtest/gtest.h>

#include <QDir>

#include <memory>
#include <utility>
#include <vector>

#include "AppTestSupport.h"
#include "MainPlotRoutines.h"
#include "MainWindowLogic.h"
#include "basHMapCoord.h"
#include "basHMapView.h"
#include "clsMapRem.h"
#include "clsMapUnit.h"
#include "clsMapUnits.h"

namespace apptest {

class FakeView : public MainView {
public:
    void Refresh(const MainViewState& s) override {
        last = s;
        ++refreshes;
    }
    void RepaintView() override { ++repaints; }
    void RedrawTopBar() override { ++topBars; }
    void CaptionMetrics(double& w, double& c) const override {
        w = widthTwips;
        c = 120;
    }
    void ResizeFormByView() override { ++resizes; }
    void DoEvents() override {}
    // As the bar would: the value stays, its Change is the control's.
    void SetScrollValue(bool vertical, int32_t value) override {
        scrolled.emplace_back(vertical, value);
        if (logic) logic->KeepScrollValue(vertical, value);
    }
    void ViewPlotted() override { ++plotted; }
    void LeaveModes() override { ++leaves; }
    void Post(std::function<void()> task) override { posted.push_back(std::move(task)); }
    // Runs what was posted, as the event loop would.
    void RunPosted() {
        while (!posted.empty()) {
            auto task = std::move(posted.front());
            posted.erase(posted.begin());
            task();
        }
    }

    MainWindowLogic* logic = nullptr;
    MainViewState last;
    std::vector<std::pair<bool, int32_t>> scrolled;
    std::vector<std::function<void()>> posted;
    int refreshes = 0, repaints = 0, topBars = 0, resizes = 0, plotted = 0, leaves = 0;
    double widthTwips = 15000;
};

// The installed program started, the window laid out.
class MainLogic : public ::testing::Test {
protected:
    MainLogic() : logic_(view_) {
        view_.logic = &logic_;
        folder_.Install();
        QDir(folder_.path()).mkdir(QStringLiteral("help"));
        testsupport::WriteBytes(folder_.file(QStringLiteral("help/index.html")), "<html></html>");
        InstallMapViewHooks();
        logic_.Plotter = [](plat::HDC, int32_t, int32_t, int32_t, int32_t, const std::function<void(int16_t)>&) {
            return int16_t(0);
        };
        EXPECT_TRUE(logic_.Load());
        EXPECT_FALSE(logic_.InitializingEi);
        EXPECT_EQ(view_.resizes, 1);
    }
    ~MainLogic() override { SetMapModeSource({}); }

    // A latitude/longitude unit with one remark, named path.
    static MapUnitPtr addUnit(const QString& path) {
        EXPECT_TRUE(gvMapUnitsLL->AddNew(path));
        MapUnitPtr unit = gvMapUnitsLL->Active();
        auto remark = std::make_shared<clsMapRem>();
        remark->setAdmin(0);
        EXPECT_TRUE(unit->Map().Add(remark));
        return unit;
    }

    apptest::ProgramFolder folder_;
    FakeView view_;
    MainWindowLogic logic_;
};

} // namespace apptest
