// The view projection dialog without its window: edits on a copy whether
// the view projection is chosen automatically, which of the four simple
// view projections is used, the canvas centre and the scale of one plot
// engine, and writes them back into it on OK.
//
// Caller's protocol: set TargetPlot; preset Position on the first opening
// (caller's corner + 1500, 600 twips); show; clear TargetPlot; on DialogOK
// set the scroll bars and the scale slider from the engine and redraw.
// mnuDirectProjection below does all of it for the main window.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

#include "DialogBase.h"

class QWidget;
class clsMapPlot;

class frmDirectProjectionLogic {
public:
    static constexpr long kHelpContext = 251000;
    static constexpr int kSlots = 4;

    // -- hand-over
    clsMapPlot* TargetPlot = nullptr;
    bool DialogOK = false;
    plat::DialogPosition Position;
    int ActiveTab = 0;   // survives closing

    // -- working copy
    bool WorkAuto = false;
    int32_t WorkIndex = 0;   // 0 the plane X/Y view, 1..4 the view projections
    int32_t WorkCenterX = 0;
    int32_t WorkCenterY = 0;
    double WorkScale = 0;

    // The controls show the working copy again.
    std::function<void()> Changed;

    // Takes the copy from TargetPlot; the X/Y engine offers one tab.
    void Load();
    void Unload() { TargetPlot = nullptr; }
    bool HasProjectionTab() const { return WorkIndex != 0; }
    void SelectTab(int tab);

    // "接円筒図法(&1)": the environment's name of a slot and its digit.
    static QString SlotCaption(int slot);
    static QString SlotToolTip(int slot);
    QString LabelX() const;
    QString LabelY() const;
    QString TextX() const;
    QString TextY() const;
    QString TextScale() const;
    bool ManualEnabled() const { return !WorkAuto; }

    void SetAuto(bool on);
    void SetSlot(int slot);
    // Typed values: false after the range message (the copy keeps its value).
    bool ValidateX(const QString& text);
    bool ValidateY(const QString& text);
    bool ValidateScale(const QString& text);
    // Writes the copy into TargetPlot and sets DialogOK.
    void OK();

private:
    void changed();
    bool validateCoordinate(const QString& text, int32_t (*read)(const QString&), bool (*valid)(int32_t, bool),
                            int32_t& work);
};

// What the dialog needs of the main window, installed at start-up.
struct DirectProjectionHost {
    // The plot engine of the current map mode.
    std::function<clsMapPlot*()> CurrentPlot;
    // After OK: scroll bars and scale slider from the engine, then a redraw.
    std::function<void()> ViewChanged;
};
DirectProjectionHost SetDirectProjectionHost(DirectProjectionHost host);

// The main window's "直接投影変換(&D)..." command, the whole caller's
// protocol; true when the dialog closed with OK.
bool mnuDirectProjection(QWidget* mainWindow);
