// One map unit: what the user opens and saves as one map. A map file (".MLL"
// or ".MXY") with its thing catalogue (".THG") and district catalogue
// (".ADM"), which share the map file's name, a second map that holds the
// figures deleted in the main window, and the switches that say whether the
// unit is drawn and searched.
#pragma once

#include <QString>

#include <cstdint>
#include <memory>

#include "clsAdmins.h"
#include "clsMap.h"
#include "clsMapCell.h"
#include "clsThings.h"

class clsMapUnit {
public:
    clsMapUnit();
    clsMapUnit(const clsMapUnit&) = delete;
    clsMapUnit& operator=(const clsMapUnit&) = delete;

    // The parts of the unit; setting nothing is ignored.
    clsMap& Map() const { return *map_; }
    void setMap(std::shared_ptr<clsMap> m);
    clsThings& Things() const { return *things_; }
    void setThings(std::shared_ptr<clsThings> t) { if (t) things_ = std::move(t); }
    clsAdmins& Admins() const { return *admins_; }
    void setAdmins(std::shared_ptr<clsAdmins> a) { if (a) admins_ = std::move(a); }
    // The trash of deleted and replaced figures. Its undo follows the map's:
    // resetting, asking or reverting the map's undo covers the trash too,
    // so one undo puts back both as they were before the edit.
    clsMap& Garbage() const { return *garbage_; }
    void setGarbage(std::shared_ptr<clsMap> g);

    bool DisplaySwitch() const { return displaySwitch_; }
    void setDisplaySwitch(bool v) { displaySwitch_ = v; }
    bool SearchSwitch() const { return searchSwitch_; }
    void setSearchSwitch(bool v) { searchSwitch_ = v; }
    // The answer remembered by ConfirmAddFigure: 0 not asked, 1 no, 2 yes.
    int16_t AddFigureAnswer() const { return addFigureAnswer_; }
    void setAddFigureAnswer(int16_t v) { addFigureAnswer_ = v; }

    // The map mode of the map and the trash (taken only while they are empty).
    void setMapMode(int32_t mode);
    // The map's file name. Setting a path ending in ".MLL" or ".MXY" (that
    // case only) also sets the map mode; the map and both catalogues then
    // take the name with their own extensions.
    QString UnitName() const { return map_->FileName(); }
    void setUnitName(const QString& path);
    // True once the unit's parts hold what its files hold (a full load)
    // or what a new unit starts with. Only then does an empty part stand
    // for something to write: a map whose figures were all deleted, an
    // emptied or new catalogue. A part that was only named holds nothing.
    bool Established() const { return established_; }
    void setEstablished(bool v) { established_ = v; }
    // The map or the thing catalogue is modified and holds entries or the
    // unit is established, or the district catalogue is modified.
    bool Modify() const;

    // The cell of the figure at a position of the map.
    clsMapCell Cell(int32_t index) const;
    // The figure with the district and thing it names; a valid cell also turns
    // the thing to the page the district chooses. No figure: an empty cell.
    clsMapCell ToCell(const MapFigurePtr& figure) const;
    // Marks the things that figures of the map refer to; withFrame also marks
    // every thing of the category named "枠組".
    void CheckUseThing(bool withFrame);

    // Loads the district, thing and map files through the load dialog (see
    // MapUnitIo.h); True when all three were loaded. The trash is emptied.
    bool Load();
    // Saves what is modified through the save dialog; withLog also writes
    // the settings snapshot beside the map.
    bool Save(bool withLog);

private:
    std::shared_ptr<clsMap> map_;
    std::shared_ptr<clsThings> things_;
    std::shared_ptr<clsAdmins> admins_;
    std::shared_ptr<clsMap> garbage_;
    bool displaySwitch_ = true;
    bool searchSwitch_ = true;
    int16_t addFigureAnswer_ = 0;
    bool established_ = false;
};

using MapUnitPtr = std::shared_ptr<clsMapUnit>;

// Asked before a figure is added to the map of a base or standard map unit
// (map kinds 1..8): once per unit, the answer kept in AddFigureAnswer. Other
// maps are never asked.
bool ConfirmAddFigure(clsMapUnit& unit);
