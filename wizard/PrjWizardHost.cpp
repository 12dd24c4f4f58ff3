#include "PrjWizardHost.h"

#include <utility>

namespace {
PrjWizardHost gHost;
}

PrjWizardHost SetPrjWizardHost(PrjWizardHost host) { return std::exchange(gHost, std::move(host)); }

const PrjWizardHost& InstalledPrjWizardHost() { return gHost; }
