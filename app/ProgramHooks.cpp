#include "ProgramHooks.h"

#include "FileOpenSave.h"
#include "MainPlotRoutines.h"
#include "PlotProjectionGlue.h"
#include "PrjWizardGlue.h"
#include "PublicVal.h"
#include "basHMapCoord.h"
#include "basHMapEdit.h"
#include "clsMapPlot.h"
#include "clsPostScript.h"
#include "frmDraw.h"
#include "frmFigPoly.h"
#include "frmMapListLogic.h"
#include "frmTrace.h"
#include "frmMapLoad.h"
#include "frmRegularPolygon.h"

void InstallProgramHooks(QWidget* mainWindow) {
    InstallMapViewHooks();
    InstallPlotProjectionGlue();
    SetCurrentMapUnitsHook([] {
        std::vector<MapUnitPtr> units;
        if (clsMapUnits* set = CurrentMapUnits())
            for (const MapUnitPtr& u : *set) units.push_back(u);
        return units;
    });
    SetMapListModeHooks([] { return gvMapMode; }, [](int32_t mode) { gvMapMode = mode; });
    SetMapCoordinateText({MapStrToXSafe, MapStrToYSafe, IsValidMapX, IsValidMapY});
    FigPolyWindows windows = InstalledFigPolyWindows();
    windows.viewCentre = [](int32_t mapMode) {
        const clsMapPlot* plot = mapMode == 2 ? gvMapPlotXY : gvMapPlotLL;
        return plot ? PolyPoint{plot->CenterX(), plot->CenterY()} : PolyPoint{0, 0};
    };
    windows.draw = RunDrawWindow;
    windows.regularPolygon = RunRegularPolygon;
    SetFigPolyWindows(windows);
    InstallTraceWindow({mainform::InputLoadName, [] { return CurrentMapUnits() ? std::vector<MapUnitPtr>(CurrentMapUnits()->begin(), CurrentMapUnits()->end()) : std::vector<MapUnitPtr>(); }});
    InstallMapUnitDialogs(mainWindow);
    mainform::InstallColorInputs();
    InstallPrjWizardHost();
}
