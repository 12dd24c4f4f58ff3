#include "MainPlotRoutines.h"

#include "DialogBase.h"
#include "PublicVal.h"
#include "frmMapInfo.h"

void mnuMapInfo(QWidget* mainWindow) {
    frmMapInfo dlg(mainWindow);
    dlg.setMap(ActiveMap());
    frmMapInfo::Remembered().presetIfFirst(plat::WindowLeftTwips(mainWindow), plat::WindowTopTwips(mainWindow), 600, 600);
    dlg.showModal();
    dlg.setMap(nullptr);
}
