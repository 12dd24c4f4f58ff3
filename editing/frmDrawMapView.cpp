// The drawing window's view of the main window: positions through the
// current plot engine and the canvas, the snap through the engine's search.
#include <QImage>

#include "basHMapView.h"
#include "clsCanvas.h"
#include "clsMapPlot.h"
#include "frmDraw.h"

namespace {

DrawWindowHost& host() {
    static DrawWindowHost h;
    return h;
}

class MainMapView : public DrawMapView {
public:
    int32_t MapMode() const override {
        const clsMapPlot* plot = CurrentMapPlot();
        return plot ? plot->MapMode() : 1;
    }
    QSize ViewSize() const override {
        return gvCanvas ? QSize(gvCanvas->ViewWidth(), gvCanvas->ViewHeight()) : QSize(32, 32);
    }
    QImage Picture() override { return host().Picture ? host().Picture() : QImage(); }
    bool MapToView(int32_t mx, int32_t my, int32_t& vx, int32_t& vy) const override {
        return PosMapToView(mx, my, vx, vy);
    }
    bool MapToViewNear(int32_t mx, int32_t my, int32_t& vx, int32_t& vy) const override {
        return PosMapToViewNear(mx, my, vx, vy);
    }
    bool ViewToMap(int32_t vx, int32_t vy, int32_t& mx, int32_t& my) const override {
        return PosViewToMap(vx, vy, mx, my);
    }
    std::optional<PolyPoint> NearestElement(int32_t vx, int32_t vy) override {
        clsMapPlot* plot = CurrentMapPlot();
        if (!plot || !gvCanvas) return std::nullopt;
        int32_t cx = 0, cy = 0;
        gvCanvas->PosViewToCanvas(vx, vy, cx, cy);
        // Every kind of every shown unit, whatever the user's pick settings;
        // the engine's own settings come back afterwards.
        struct Restore {
            clsMapPlot* plot;
            int16_t mask;
            std::shared_ptr<clsMapUnits> units;
            ~Restore() {
                plot->FigurePick = mask;
                plot->MapUnits = std::move(units);
            }
        } restore{plot, plot->FigurePick, plot->MapUnits};
        plot->FigurePick = 31;
        if (host().MapUnits) plot->MapUnits = host().MapUnits();
        plot->SearchX = cx;
        plot->SearchY = cy;
        const std::vector<SearchInfoPtr> found = plot->SearchNears(true, true, 64);
        if (found.empty() || !found.front()) return std::nullopt;
        return PolyPoint{found.front()->MapX, found.front()->MapY};
    }
    int32_t CenterX() const override { return CurrentMapPlot() ? CurrentMapPlot()->CenterX() : 0; }
    int32_t CenterY() const override { return CurrentMapPlot() ? CurrentMapPlot()->CenterY() : 0; }
    double MapScale() const override { return CurrentMapPlot() ? CurrentMapPlot()->MapScale() : 1; }
    void SetView(int32_t cx, int32_t cy, double scale) override {
        clsMapPlot* plot = CurrentMapPlot();
        if (!plot) return;
        plot->setCenterX(cx);
        plot->setCenterY(cy);
        plot->setMapScale(scale);
    }
    bool OnCanvas(int32_t mx, int32_t my) const override {
        const clsMapPlot* plot = CurrentMapPlot();
        int32_t cx = 0, cy = 0;
        return plot && plot->PointMapToCanvas(mx, my, cx, cy);
    }
    void PlotWindow() override {
        if (host().PlotWindow) host().PlotWindow();
    }
};

} // namespace

DrawWindowHost SetDrawWindowHost(DrawWindowHost h) { return std::exchange(host(), std::move(h)); }

std::unique_ptr<DrawMapView> MainDrawMapView() { return std::make_unique<MainMapView>(); }
