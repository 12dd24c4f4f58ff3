// What the four figure dialogs (remark; polyline and polygon; point symbol;
// text) share: the public variables of their single instances, the table of
// dialogs that HMapEdit dispatches to, and the logic every one of them runs
// on its work copy (caption, creation date, own show mode, own colour, the
// check on OK and the identifier exchange).
//
// A dialog never touches the figure it was given before OK: it edits a Copy
// (which has an identifier of its own). On a valid OK the first resulting
// figure takes the given figure's identifier and the given figure the
// copy's, so that whatever replaces the figure in the map keeps its identity.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "DialogBase.h"
#include "ErrorMng.h"
#include "clsMapFigure.h"
#include "clsMapUnit.h"

using FigureList = std::vector<MapFigurePtr>;

// One dialog serves polylines and polygons.
enum class FigureDialogKind { Remark = 0, Poly = 1, Symbol = 2, Text = 3 };
constexpr int kFigureDialogKinds = 4;
// The dialog of a figure code 1..5; none for another code.
std::optional<FigureDialogKind> FigureDialogOf(int32_t figCode);

// The public variables of a figure dialog's single instance. Figure and
// MapUnit are set by the caller before each showing and cleared after it;
// the position (and ActiveNode) stays for the run.
struct FigureDialogVars {
    MapFigurePtr Figure;
    MapUnitPtr MapUnit;
    int32_t ActiveNode = 0;             // polyline and polygon dialog: node row to open on / current at OK
    bool OK = false;                    // True only when OK closed the dialog with valid settings
    std::optional<FigureList> Results;  // none until OK succeeds
    plat::DialogPosition Win;           // twips; left below 1 = not placed yet
};

// Shows a figure dialog modally over its variables. Every kind has its
// dialog built in; a test or a later layer may install another.
using FigureDialogRunner = std::function<void(FigureDialogVars&)>;

// The variables of a kind's single instance.
FigureDialogVars& FigureDialogVarsOf(FigureDialogKind kind);
// The runner of a kind; empty when no dialog is installed for it.
const FigureDialogRunner& FigureDialogRunnerOf(FigureDialogKind kind);
// Installs a runner (an empty one removes it); returns the previous one.
FigureDialogRunner SetFigureDialog(FigureDialogKind kind, FigureDialogRunner runner);
// Every kind back to its built-in dialog, every instance (and the text
// dialog's pair setting) forgotten (tests).
void ResetFigureDialogs();

// The entries of the own show-mode list, for OwnShowMode -1, 0, 1.
QStringList ShowModeEntries();

// How the own-colour button shows a colour.
struct ColorButtonLook {
    QString caption;
    uint32_t back = 0;  // 0x00BBGGRR, or a system colour value (0x80000000 | index)
    QString toolTip;
};
ColorButtonLook ColorLookOf(int32_t ownColor);

// The main window's chooser of a palette colour: given the current colour,
// returns a colour, -1 for "follow the thing" or -2 when cancelled. Until the
// main window installs its palette popup, the platform's colour chooser
// answers (it cannot give -1).
using NativeColorInput = std::function<int32_t(int32_t current)>;
NativeColorInput SetNativeColorInput(NativeColorInput input);
int32_t InputNativeColor(int32_t current);

// What OK did.
enum class OkOutcome {
    Closed,     // valid: OK is True and Results hold the figures
    Stay,       // the user chose to correct the settings
    Cancelled,  // invalid and the user gave up: OK stays False
};

// The work every figure dialog does on its copy. A dialog's logic class
// derives from it and adds its own fields.
class FigureDialogLogic {
public:
    // `title` is the dialog's designed caption ("注釈図形プロパティ").
    FigureDialogLogic(FigureDialogVars& vars, QString title);
    virtual ~FigureDialogLogic() = default;

    FigureDialogVars& Vars() const { return vars_; }
    // The common load: OK False, no Results, the work copy. False, and
    // the dialog closes at once, when Figure or MapUnit is missing.
    bool LoadCommon();
    // The work copy; only after a successful load.
    clsMapFigure& Work() const { return *work_; }
    const MapFigurePtr& WorkPtr() const { return work_; }

    // The title, " - " and the file-name part of the unit's name.
    QString Caption() const;
    // The given figure's creation date and time.
    QString DateText() const;
    int ShowModeIndex() const { return work_->OwnShowMode() + 1; }
    void ShowModeClick(int index) { work_->setOwnShowMode(index - 1); }
    ColorButtonLook ColorLook() const { return ColorLookOf(work_->OwnColor()); }
    // Asks the palette for the own colour; a cancel changes nothing.
    void ColorClick();

    // The end of OK once the fields are in the work copy: the work copy's
    // IsRight decides. Valid: the identifiers are exchanged between the
    // first of `results` and the given figure, Results become `results`
    // and OK True. Invalid: the user is asked whether to correct them.
    OkOutcome Finish(FigureList results);
    // Unload: the position stays, the figure, the unit and the copy go.
    void Unload();

private:
    FigureDialogVars& vars_;
    QString title_;
    MapFigurePtr work_;
};

// The question of an invalid OK: True when the user wants to correct it.
bool AskCorrectSettings();
