// The thing list editor "事象編集" without its widgets: the active unit's
// thing catalogue as a list of copies that the user inserts into, replaces,
// deletes from and reorders; OK makes the catalogue hold exactly the list.
// Styles are not edited here: a new thing gets a fixed starting style.
//
// Grid (4 columns, row 0 the header): number, category name, figure kind
// name, thing name, one row per thing of the list in list order.
//
// Protocol of a caller: set TargetThings and TargetMap, preset Position on
// the first opening (its own corner + 600, 600 twips), show the window
// modally, clear both fields and redraw on DialogOK (ShowThingsEditDialog in
// frmThingsEdit.h does all). The dialog object lives for the whole run
// (ThingsEdit()), so its position persists between openings.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

#include "DialogBase.h"
#include "clsThing.h"

class clsMap;
class clsThings;

namespace plat {
class FlexGridData;
} // namespace plat

class ThingsEditModel {
public:
    static constexpr long kHelpContext = 240011;
    static constexpr int32_t kMaxNumber = 999;
    static QString GridFormat();
    // The six lines asked before the first edit of an opening.
    static QString WarningText();

    // -- hand-over with the caller
    clsThings* TargetThings = nullptr;
    clsMap* TargetMap = nullptr;
    bool DialogOK = false;
    plat::DialogPosition Position;

    // -- the working state of one opening
    std::vector<ThingPtr> EditList;   // copies, in list order; numbers unique
    bool Locked = false;              // a read-only catalogue: nothing may be edited
    bool Warned = false;
    QStringList CategoryNames;        // the entries of the category list

    // -- the active-thing area, as the controls show it
    QString NumberText;
    QString Name;
    int32_t FigureIndex = 0;          // 0..4: kinds 1..5
    int32_t CategoryIndex = 0;        // into CategoryNames

    void attach(plat::FlexGridData* grid) { grid_ = grid; }

    // The opening; false when there is nothing to edit (the window closes).
    bool Load();
    // The first activation of an opening asks the warning; false when the
    // user said No (the window closes, nothing changed).
    bool Activate();
    QString Caption() const;
    QString TotalText() const;
    int32_t Count() const { return static_cast<int32_t>(EditList.size()); }
    int32_t Row() const;
    bool UpEnabled() const { return !Locked && Row() >= 2; }
    bool DownEnabled() const { return !Locked && Row() >= 1 && Row() < Count(); }

    void MakeGrid();
    void SelectThingRow(int32_t row);
    void ShowThingRow();
    // A figure of the map names the thing.
    bool IsUseThing(int32_t number) const;
    // The thing the active area describes, with the starting style; none
    // (after an error box) for a bad number or an empty name.
    ThingPtr CreateThing() const;
    // Before the thing at `position` (appended past the end); false, with
    // an error box and the list unchanged, for a number already listed.
    bool InsertThingAt(int32_t position, const ThingPtr& thing);

    void Insert();
    void Replace();
    void Delete();
    void Up();
    void Down();
    // The catalogue is emptied and refilled from the list, stopping at the
    // first refusal of a read-only catalogue.
    void OK();
    void Unload();

    // A new thing of a kind with the starting style on all eight pages.
    static ThingPtr NewThing(int32_t number, const QString& name, int32_t figure, int32_t category);

private:
    void removeAt(int32_t row);
    plat::FlexGridData* grid_ = nullptr;
};

// The dialog of the run, made on first use.
ThingsEditModel& ThingsEdit();
