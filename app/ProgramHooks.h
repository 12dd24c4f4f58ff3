// The joints the lower layers leave open for the application, installed
// once before the start-up: the current map mode and plot engine for the
// map view and the exports, the projection services of the plot engine,
// the map mode of the figure list, the coordinate readers and view centre
// of the figure dialogs, the load and save dialogs of the map units and
// the projection wizard's choosers and X/Y set.
#pragma once

class QWidget;

// mainWindow owns the load and save dialogs of the map units (none: they
// come up as free windows).
void InstallProgramHooks(QWidget* mainWindow);
