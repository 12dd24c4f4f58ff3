#include "SettingsDialogsGlue.h"

#include <utility>

#include "FileOpenSave.h"
#include "PublicVal.h"
#include "SettingsDialogs.h"
#include "frmFolder.h"

namespace {

EnvironmentState ReadState() {
    EnvironmentState s;
    s.MapFolder = gvMapFolder;
    s.StartMapType = gvStartMapType;
    s.StartMapFile = gvStartMapFile;
    s.ScreenDPI = gvScreenDPI;
    s.MapMode = gvMapMode;
    s.HomeLon = gvHomeLon;
    s.HomeLat = gvHomeLat;
    s.HomeScaleLL = gvHomeScaleLL;
    s.HomeX = gvHomeX;
    s.HomeY = gvHomeY;
    s.HomeScaleXY = gvHomeScaleXY;
    s.SaveInterval = gvSaveInterval;
    s.AngleValue = gvAngleValue;
    s.AngleUnit = gvAngleUnit;
    s.AngleDirection = gvAngleDirection;
    return s;
}

void WriteState(const EnvironmentState& s) {
    gvMapFolder = s.MapFolder;
    gvStartMapType = s.StartMapType;
    SetGvStartMapFile(s.StartMapFile);   // after the folder it is resolved against
    gvScreenDPI = s.ScreenDPI;
    gvHomeLon = s.HomeLon;
    gvHomeLat = s.HomeLat;
    gvHomeScaleLL = s.HomeScaleLL;
    gvHomeX = s.HomeX;
    gvHomeY = s.HomeY;
    gvHomeScaleXY = s.HomeScaleXY;
    gvSaveInterval = s.SaveInterval;
    gvAngleValue = s.AngleValue;
    gvAngleUnit = s.AngleUnit;
    gvAngleDirection = s.AngleDirection;
}

bool ChooseFolder(QWidget* parent, QString& folder, plat::DialogPosition at) {
    frmFolder::Remembered() = at;
    FolderChooser chooser;
    chooser.FolderPath = folder;
    frmFolder dlg(chooser, parent);
    dlg.showModal();
    if (!chooser.OK) return false;
    folder = chooser.FolderPath;
    return true;
}

} // namespace

void InstallSettingsDialogs(std::function<void()> plotWindow) {
    SettingsDialogHost h;
    h.plotWindow = std::move(plotWindow);
    h.readEnvironment = ReadState;
    h.writeEnvironment = WriteState;
    h.inputFont = mainform::InputFont;
    h.inputLoadName = mainform::InputLoadName;
    h.chooseFolder = ChooseFolder;
    SetSettingsDialogHost(std::move(h));
}
