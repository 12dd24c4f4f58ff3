// The plot routines of the main window that live outside its widget: the
// map information command, and (with the plot engine) the plot of a
// device, the scale bar of the status area and the metafile export.
#pragma once

class QWidget;

// The map information dialog on the active map, modal; placed 600 twips
// right of and below the main window's corner the first time.
void mnuMapInfo(QWidget* mainWindow);
