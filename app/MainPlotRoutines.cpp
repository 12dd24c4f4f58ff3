#include "MainPlotRoutines.h"

#include "Bitmap.h"
#include "DialogBase.h"
#include "ErrorMng.h"
#include "PublicVal.h"
#include "RasterDC.h"
#include "SavePostScriptFile.h"
#include "basHMapCoord.h"
#include "basHMapView.h"
#include "basLibrary.h"
#include "clsAccessory.h"
#include "clsCanvas.h"
#include "clsEnvironment.h"
#include "clsMapGraph.h"
#include "clsMap.h"
#include "clsMapPlot.h"
#include "clsMetaFile.h"
#include "frmMapInfo.h"

#include <climits>

namespace {

const QString kForm = QStringLiteral("frmMain");

// The engine holds its unit set as a shared pointer; the application's sets
// live as long as the program, so the engine only borrows them.
std::shared_ptr<clsMapUnits> borrowed(clsMapUnits* units) { return std::shared_ptr<clsMapUnits>(std::shared_ptr<void>(), units); }

// The engine's Progress for the length of one plot.
class ProgressBinding {
public:
    ProgressBinding(clsMapPlot& plot, const std::function<void(int16_t)>& progress)
        : plot_(plot), saved_(plot.Progress) {
        if (progress) plot_.Progress = progress;
    }
    ~ProgressBinding() { plot_.Progress = saved_; }

private:
    clsMapPlot& plot_;
    std::function<void(int16_t)> saved_;
};

} // namespace

void InstallMapViewHooks() {
    SetMapModeSource([] { return gvMapMode; });
    clsAccessory::SetProjectionNameSource([] {
        if (gvMapMode == 1) {
            clsMapPlot* plot = CurrentMapPlot();
            return plot ? plot->ProjectionName() : QString();
        }
        clsMap* map = ActiveMap();
        return map ? map->ProjectionName() : QString();
    });
}

int16_t PlotMap(plat::HDC hdc, int32_t dpiX, int32_t dpiY, int32_t width, int32_t height,
                const std::function<void(int16_t)>& progress) {
    try {
        clsMapPlot* plot = CurrentMapPlot();
        if (!plot) return PlotNoSurface;
        clsMapUnits* units = CurrentMapUnits();
        const bool accessories = plot->AccessoryEnable && gvAccessory;
        int32_t band = 0;
        if (accessories) {
            gvAccessory->sethandle(hdc);
            gvAccessory->setWidth(width);
            gvAccessory->setHeight(height);
            gvAccessory->setDpi(dpiX);
            gvAccessory->setMapScale(plot->MapScale());
            gvAccessory->setMapUnits(units);
            band = gvAccessory->BackHeight();
        }
        int16_t result = PlotNoSurface;
        {
            const ProgressBinding bound(*plot, progress);
            plot->MapUnits = borrowed(units);
            plot->sethdc(hdc);
            plot->setdpix(dpiX);
            plot->setdpiy(dpiY);
            plot->setCanvasLeft(0);
            plot->setCanvasTop(accessories && gvAccessory->Position() == 0 ? band : 0);
            plot->setCanvasWidth(width);
            plot->setCanvasHeight(height - band);
            result = plot->Replot();
        }
        if (accessories) gvAccessory->Draw();
        return result;
    } catch (...) {
        RaiseError(ErrGeneral, kForm, QStringLiteral("PlotMap"));
    }
}

namespace {

// The status area's bar: only the scale bar, at the top, without a label.
void setUpMeasureBar(clsAccessory& bar, plat::HDC hdc, int32_t width, int32_t height, const plat::FontRef& font) {
    bar.setInstanceName(QStringLiteral("MEASURE"));
    bar.sethandle(hdc);
    bar.setWidth(width);
    bar.setHeight(height);
    bar.setDpi(96);
    bar.setPosition(0);
    for (int32_t i = 1; i <= clsAccessory::kItems; ++i) {
        bar.setIndex(i);
        bar.setUse(i == clsAccessory::Measure);
    }
    bar.setIndex(clsAccessory::Measure);
    bar.setFont(font);
    bar.setText(QString());
}

} // namespace

void PlotMeasure(plat::HDC hdc, int32_t width, int32_t height, const plat::FontRef& font, int32_t defaultColor) {
    try {
        clsMapPlot* plot = CurrentMapPlot();
        if (!plot || plot->dpix() <= 0) return;
        clsAccessory bar;
        setUpMeasureBar(bar, hdc, width, height, font);
        bar.setMapScale(plot->MapScale() * 96 / plot->dpix());
        const double color =
            gvEnvironment ? gvEnvironment->GetVal(QStringLiteral("MeasureColor"), defaultColor, INT32_MIN, INT32_MAX)
                          : defaultColor;
        bar.setColor(SafeCLng(color));
        bar.Draw();
    } catch (...) {
        RaiseError(ErrGeneral, kForm, QStringLiteral("PlotMeasure"));
    }
}

int32_t MeasureBarHeight(const plat::FontRef& font) {
    try {
        plat::RasterDC dc(plat::Bitmap::Create(64, 64, 32), 96);
        clsAccessory bar;
        setUpMeasureBar(bar, &dc, 64, 64, font);
        return bar.MeasureHeight();
    } catch (...) {
        RaiseError(ErrGeneral, kForm, QStringLiteral("MeasureBarHeight"));
    }
}

bool SaveMetaFile(const QString& fileName, const DevicePlot& plot, const std::function<void(const QString&)>& status) {
    try {
        if (IsReadOnlyFile(fileName, true)) return false;
        if (!gvCanvas) return false;
        const int32_t width = gvCanvas->CanvasWidth(), height = gvCanvas->CanvasHeight(), dpi = gvCanvas->Dpi();
        clsMetaFile meta;
        plat::HDC dc = meta.MetaOpen();
        meta.setFileName(fileName);
        meta.setDpi(dpi);
        meta.setArea(clsRect(0, 0, width - 1, height - 1));
        if (status) status(QStringLiteral("メタファイル(WMF)へ出力しています..."));
        const int16_t plotted = plot ? plot(dc, dpi, dpi, width, height) : PlotMap(dc, dpi, dpi, width, height);
        meta.MetaClose();
        return plotted == PlotDone && meta.MetaSave() == 0;
    } catch (...) {
        RaiseError(ErrGeneral, kForm, QStringLiteral("SaveMetaFile"));
    }
}

bool SaveEpsFile(const QString& fileName, const DevicePlot& plot, const std::function<void(const QString&)>& status) {
    try {
        if (IsReadOnlyFile(fileName, true)) return false;
        if (!gvCanvas || !gvMapGraph) return false;
        const int32_t width = gvCanvas->CanvasWidth(), height = gvCanvas->CanvasHeight(), dpi = gvCanvas->Dpi();
        // The mirror records what the drawing layer draws; the raster beside
        // it serves the measuring and clipping of that one plot (the window
        // redraws its own canvas after an export).
        plat::RasterDC surface(plat::Bitmap::Create(width, height, 32), dpi);
        return SavePostScriptFile(*gvMapGraph, fileName, EpsCanvas{width, height, dpi}, [&] {
            if (status) status(QStringLiteral("ポストスクリプトファイル(EPS)へ出力しています..."));
            const int16_t plotted =
                plot ? plot(&surface, dpi, dpi, width, height) : PlotMap(&surface, dpi, dpi, width, height);
            return plotted == PlotDone;
        });
    } catch (...) {
        RaiseError(ErrGeneral, kForm, QStringLiteral("SaveEpsFile"));
    }
}

void mnuMapInfo(QWidget* mainWindow) {
    frmMapInfo dlg(mainWindow);
    dlg.setMap(ActiveMap());
    frmMapInfo::Remembered().presetIfFirst(plat::WindowLeftTwips(mainWindow), plat::WindowTopTwips(mainWindow), 600, 600);
    dlg.showModal();
    dlg.setMap(nullptr);
}
