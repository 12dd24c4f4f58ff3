// The map information dialog "地図情報": the path of the active map's file,
// its file format version and its information remarks, read-only. The
// main window opens it modally on the active map (mnuMapInfo); it reopens
// where it was last closed, always fully on the screen.
#pragma once

#include "DialogBase.h"
#include "MapInfo.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class clsMap;

class frmMapInfo : public plat::DialogBase {
    Q_OBJECT
public:
    static constexpr long kHelpContext = 230011;

    explicit frmMapInfo(QWidget* parent = nullptr);
    // Where the dialog reopens while the program runs (left below 1: never shown).
    static plat::DialogPosition& Remembered();

    // The map shown; set before showing, cleared when the dialog closes.
    clsMap* map() const { return map_; }
    void setMap(clsMap* map) { map_ = map; }

    QLabel* lblPass() const { return lblPass_; }
    QLabel* lblVersion() const { return lblVersion_; }
    QPlainTextEdit* txtInfo() const { return txtInfo_; }

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    // Fills the controls from the map (on every showing).
    void activate();

    clsMap* map_ = nullptr;
    QLabel* lblPass_ = nullptr;
    QLabel* lblVersion_ = nullptr;
    QPlainTextEdit* txtInfo_ = nullptr;
};
