// The joints of the environment, graticule and accessory dialogs
// (dialogs/SettingsDialogs.h) filled with the application state, the main
// window's choosers and the folder chooser.
#pragma once

#include <functional>

// plotWindow: the main window's full redraw.
void InstallSettingsDialogs(std::function<void()> plotWindow);
