// HMapEdit: the one entry point through which the main window's menus and
// the map list create and edit single figures. It picks the dialog of the
// figure's kind, hands it the figure and its map unit, shows it modally and
// returns the resulting figures; the caller adds them to the map or puts
// them in place of the edited figure, and redraws.
//
// Calling order: set EditMapUnit (and as needed EditActiveNode,
// EditDialogLeft/Top, EditPointX/Y), call EditMapFigure or CreateMapFigure,
// clear EditMapUnit, then use the result (none: cancelled or no dialog).
//
// It also reads coordinates pasted as free text into points.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "ChoiceList.h"
#include "FigureDialog.h"
#include "clsPoly.h"

class QComboBox;
class clsAdmins;
class clsThings;

// The module's state, kept for the run.
struct HMapEditState {
    MapUnitPtr EditMapUnit;      // the unit whose figure is created or edited
    int16_t EditActiveNode = 0;  // node the polyline/polygon dialog opens on (editing only)
    int32_t EditDialogLeft = 0;  // twips: where a dialog not yet placed opens
    int32_t EditDialogTop = 0;
    int32_t EditPointX = 0;      // map position of a new point symbol or text
    int32_t EditPointY = 0;
    // District (0) and thing (1) of the last figure created; preset into
    // every new figure.
    std::array<int16_t, 2> EditLastAdminThing{0, 0};
};
HMapEditState& HMapEdit();

// Opens the dialog of the figure's kind on the figure. The resulting
// figures when the dialog ended with a valid OK; none when it was cancelled,
// when the code is not 1..5 or when no dialog is installed for the kind
// (which the user is told). Remembers nothing.
std::optional<FigureList> EditMapFigure(const MapFigurePtr& figure);
// A new figure of a kind 1..5 with the remembered district and thing (and
// for symbols and texts the EditPoint position), through its dialog. For
// kinds 2..5 a remembered district or thing that the unit's catalogue lacks
// (or a thing of another kind) gives way to the first of its list. After
// a valid OK the first result's district (and for kinds 2..5 its thing)
// become the remembered ones.
std::optional<FigureList> CreateMapFigure(int32_t kind);

// The district list of a figure dialog: every district in catalogue order,
// the figure's own selected; no row when it has none or the catalogue lacks
// it (the figure keeps its number until the user picks a row).
ChoiceList AdminComboChoices(const clsAdmins& admins, const clsMapFigure& figure);
// The thing list: the things of the figure's kind in catalogue order, the
// figure's own selected; no row when it has none, the catalogue lacks it or
// it is of another kind.
ChoiceList ThingComboChoices(const clsThings& things, const clsMapFigure& figure);
void CreateAdminCombo(QComboBox* combo, const clsAdmins& admins, const clsMapFigure& figure);
void CreateThingCombo(QComboBox* combo, const clsThings& things, const clsMapFigure& figure);

// -- coordinate text

// A coordinate text that does not read.
constexpr int32_t kInvalidMapCoordinate = static_cast<int32_t>(0x80000001);
// At most this many points are read from one text.
constexpr int32_t kMaxPastedPoints = 32767;

// The readers and range checks of coordinate text in the current map mode
// (latitude/longitude: angle text in arc-seconds; X/Y: lengths in metres).
// The application installs the map-data routines MapStrToXSafe,
// MapStrToYSafe, IsValidMapX and IsValidMapY; with none installed nothing
// reads.
struct MapCoordinateText {
    std::function<int32_t(const QString&)> strToXSafe;  // kInvalidMapCoordinate when unreadable
    std::function<int32_t(const QString&)> strToYSafe;
    std::function<bool(int32_t, bool showMessage)> isValidX;
    std::function<bool(int32_t, bool showMessage)> isValidY;
};
MapCoordinateText SetMapCoordinateText(MapCoordinateText text);
const MapCoordinateText& InstalledMapCoordinateText();

// The points of a free coordinate text: numbers, angles with or without
// hemisphere letters or Japanese words, degrees/minutes/seconds written with
// blanks ("35 41 22N 139 41 30E"), a double quote as the seconds mark,
// full-width characters; separated by blanks, commas, tabs or line breaks.
// A token naming a longitude is an X, one naming a latitude a Y; any other
// takes the other axis than the token before it (plain numbers go X, Y, X,
// ...). X and Y pair in order of occurrence; surplus ones are dropped; at
// most kMaxPastedPoints points (reading stops at the first token of a full
// axis). A token that does not read stands as kInvalidMapCoordinate.
clsPoly TextToPoly(const QString& text);
// TextToPoly, refused (an empty poly) with a message when a coordinate does
// not read or lies outside the map's range. What a user pastes into a
// figure goes through here.
clsPoly PastedPoly(const QString& text);
// PastedPoly of the clipboard's text; an empty poly when it holds no text.
clsPoly GetPolyFromClip();
