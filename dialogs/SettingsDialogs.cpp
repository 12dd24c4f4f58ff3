#include "SettingsDialogs.h"

#include <utility>

#include "MessageBox.h"
#include "basHMapView.h"
#include "clsAccessory.h"
#include "clsMapPlot.h"
#include "frmAccessory.h"
#include "frmEnvironment.h"
#include "frmGrid.h"

namespace {

SettingsDialogHost& host() {
    static SettingsDialogHost h;
    return h;
}

// Stands for the application state while none is installed.
EnvironmentState& ownState() {
    static EnvironmentState s;
    return s;
}

// The first opening places a dialog beside the main window.
void PresetBeside(plat::DialogPosition& p, QWidget* mainWindow, int32_t dx, int32_t dy) {
    const int32_t left = mainWindow ? plat::WindowLeftTwips(mainWindow) : 0;
    const int32_t top = mainWindow ? plat::WindowTopTwips(mainWindow) : 0;
    p.presetIfFirst(left, top, dx, dy);
}

// Shows a dialog modally on its logic, placed beside the main window on its
// first opening; DialogOK.
template <class Form, class Logic>
bool ShowBeside(QWidget* mainWindow, Logic& m, int32_t dx, int32_t dy) {
    PresetBeside(m.Position, mainWindow, dx, dy);
    Form dlg(mainWindow, m);
    dlg.showModal();
    return m.DialogOK;
}

} // namespace

SettingsDialogHost SetSettingsDialogHost(SettingsDialogHost h) { return std::exchange(host(), std::move(h)); }

const SettingsDialogHost& InstalledSettingsDialogHost() { return host(); }

void RedrawMainWindow() {
    if (host().plotWindow) host().plotWindow();
}

EnvironmentState ReadEnvironment() { return host().readEnvironment ? host().readEnvironment() : ownState(); }

void WriteEnvironment(const EnvironmentState& s) {
    if (host().writeEnvironment) host().writeEnvironment(s);
    else ownState() = s;
}

bool InputSettingsFont(plat::StdFont& font) {
    return host().inputFont ? host().inputFont(font) : plat::ChooseFont(font);
}

QString InputSettingsLoadName(const QString& title, const QString& filter, const QString& file) {
    if (host().inputLoadName) return host().inputLoadName(title, filter, file);
    plat::FileRequest req;
    req.title = title;
    req.filter = filter;
    req.fileName = file;
    return plat::ChooseFile(req);
}

bool ChooseSettingsFolder(QWidget* parent, QString& folder, plat::DialogPosition at) {
    if (host().chooseFolder) return host().chooseFolder(parent, folder, at);
    const QString chosen = plat::ChooseFolder(QStringLiteral("フォルダ選択"), folder);
    if (chosen.isEmpty()) return false;
    folder = chosen;
    return true;
}

bool ShowEnvironmentDialog(QWidget* mainWindow) {
    frmEnvironmentLogic& m = EnvironmentDialog();
    m.PlotEngine = CurrentMapPlot();
    const bool ok = ShowBeside<frmEnvironment>(mainWindow, m, 3000, 600);
    m.PlotEngine = nullptr;
    return ok;
}

bool ShowGridDialog(QWidget* mainWindow) {
    clsMapPlot* plot = CurrentMapPlot();
    if (!plot) return false;
    frmGridLogic& m = GridDialog();
    m.GridEnable = plot->GridEnable;
    m.GridAuto = plot->GridAuto;
    m.GridOcean = plot->GridOcean;
    m.GridString = plot->GridString;
    m.TargetGrid = &plot->Grid();
    const bool ok = ShowBeside<frmGrid>(mainWindow, m, 1500, 600);
    m.TargetGrid = nullptr;
    if (!ok) return false;
    plot->GridEnable = m.GridEnable;
    plot->GridAuto = m.GridAuto;
    plot->GridOcean = m.GridOcean;
    plot->GridString = m.GridString;
    RedrawMainWindow();
    return true;
}

bool ShowAccessoryDialog(QWidget* mainWindow) {
    clsMapPlot* plot = CurrentMapPlot();
    if (!plot || !gvAccessory) return false;
    frmAccessoryLogic& m = AccessoryDialog();
    m.TargetAccessory = gvAccessory;
    m.AccessoryEnable = plot->AccessoryEnable;
    const bool ok = ShowBeside<frmAccessory>(mainWindow, m, 1500, 600);
    m.TargetAccessory = nullptr;
    if (!ok) return false;
    plot->AccessoryEnable = m.AccessoryEnable;
    RedrawMainWindow();
    return true;
}
