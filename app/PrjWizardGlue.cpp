#include "PrjWizardGlue.h"

#include <utility>

#include "FileOpenSave.h"
#include "PrjWizardHost.h"
#include "PublicVal.h"

void InstallPrjWizardHost() {
    PrjWizardHost host;
    host.InputLoadName = mainform::InputLoadName;
    host.InputSaveName = mainform::InputSaveName;
    host.WriteLog = gvWriteLog;
    host.ExchangeXYUnits = [](clsMapUnits* units) { return std::exchange(gvMapUnitsXY, units); };
    SetPrjWizardHost(std::move(host));
}
