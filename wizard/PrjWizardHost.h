// What the projection wizard needs of the application above it: the main
// window's open and save choosers, the writer of settings snapshots and
// the global X/Y map unit set that a snapshot lists. The application
// installs these at start-up (InstallPrjWizardHost in app/); tests install
// fakes. A part left empty falls back as noted.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

class clsMapUnits;

struct PrjWizardHost {
    // The main window's choosers; "" when cancelled. Empty: the platform
    // chooser itself.
    std::function<QString(const QString& title, const QString& filter, const QString& fileName)> InputLoadName;
    std::function<QString(const QString& title, const QString& filter, const QString& fileName)> InputSaveName;
    // Writes a settings snapshot of the whole program for `file` (its
    // extension becomes ".PLG"); 0 when written. Empty: nothing is written
    // and the answer is "not written".
    std::function<int32_t(const QString& file)> WriteLog;
    // Puts `units` in place of the global X/Y map unit set and returns the
    // set it replaced. Empty: the snapshot keeps the global set.
    std::function<clsMapUnits*(clsMapUnits* units)> ExchangeXYUnits;
};

// Installs the host; returns the previous one.
PrjWizardHost SetPrjWizardHost(PrjWizardHost host);
const PrjWizardHost& InstalledPrjWizardHost();
