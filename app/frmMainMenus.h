// The main window's menu items that their drop-downs set, kept by the
// window for its menu code.
#pragma once

#include <array>

#include "frmMain.h"

class QAction;
class QMenu;

struct frmMain::MenuActions {
    // File
    QAction *Overwrite = nullptr, *CruiseSet = nullptr, *CruiseExe = nullptr, *Print = nullptr, *MapInfo = nullptr;
    std::array<QAction*, 4> LogItems{};
    // Edit
    QAction *Undo = nullptr, *GarbageOne = nullptr, *GarbageAll = nullptr, *Pickup = nullptr, *Detail = nullptr,
            *AddAzimuthLine = nullptr;
    QMenu *Add = nullptr, *MapPick = nullptr;
    std::array<QAction*, 4> FigPick{};
    // View
    QAction *Jump = nullptr, *Grid = nullptr;
    QMenu *ViewArea = nullptr, *MapDisp = nullptr, *AzimuthLine = nullptr;
    std::array<QAction*, 2> Language{}, Coordinate{};
    std::array<QAction*, 9> ViewAreaItems{};
    std::array<QAction*, 4> FigDisp{};
    std::array<QAction*, 6> AzimuthItems{};
    std::array<QAction*, 7> PtnRatioItems{};
    QAction *Edge = nullptr, *TextSlant = nullptr, *AdmShow = nullptr, *ThgShow = nullptr, *FigShow = nullptr,
            *FigNative = nullptr;
    // Tool
    QAction *Survey = nullptr, *FrameCut = nullptr;
};
