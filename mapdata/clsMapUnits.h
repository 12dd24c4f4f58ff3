// The map units of one map mode. Position 1 is the base unit, loaded from
// the base map file; the others are drawn over it in set order, and one unit
// is active: the one edits go to. Positions run 1..Count.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

#include "clsMapUnit.h"

class clsMapUnits {
public:
    int32_t MapMode() const { return mapMode_; }
    int32_t Count() const { return static_cast<int32_t>(units_.size()); }
    // Position of the active unit; 0 when the set is empty.
    int16_t Index() const { return index_; }
    void setIndex(int32_t i);
    // None outside 1..Count.
    MapUnitPtr Item(int32_t i) const;
    MapUnitPtr Active() const { return Item(index_); }
    MapUnitPtr Base() const { return Item(1); }
    bool Modify() const;
    std::vector<MapUnitPtr>::const_iterator begin() const { return units_.begin(); }
    std::vector<MapUnitPtr>::const_iterator end() const { return units_.end(); }

    // Loads the base unit of mode 1 or 2 into an empty set; 0, or raises
    // 0x800403E9 with "<n> " and the base map's path (1 bad mode, 3 the set
    // is not empty, 5 the unit did not load).
    int16_t Create(int32_t mode);
    // Leaves only the base unit.
    void ClearAll();
    // Adds a loaded unit of the set's mode and makes it active. A unit whose
    // name is in the set already is not added: that unit is shown again
    // (False). A unit whose file name contains "BASE" replaces the base unit;
    // when the base unit has edits, the user is asked first whether to save
    // them (Yes saves, No drops them, Cancel or a failed save keeps the set
    // unchanged: False); askForBase false drops them unasked, for a caller
    // that has asked already. An empty set first gets its base unit.
    bool Add(const MapUnitPtr& unit, bool askForBase = true);
    // Any unit but the base; the active position follows.
    bool Remove(int32_t i);
    // Flags, in this order: 1 drops units with fewer than 2 figures (never a
    // modified one); 2 (latitude/longitude maps) orders the units after the
    // base by map kind 2, 4, 7, 3, 6, 5, 8, 0, 9, 1, then those without a
    // map code, keeping the active unit; 4 (latitude/longitude maps) shows
    // the last administrative and the last topographic map with the units
    // of their scale level and hides the others of those kinds.
    bool Optimize(uint8_t flags);
    // Each unit's map; a map's undo takes its unit's trash along.
    void Undo();
    void ResetUndo();
    bool CanUndo() const;
    // A new user map unit named `name` (empty: "Map" and the time stamp in
    // the map folder) with the default or base catalogues and a map of a
    // header and a placeholder remark; then Add.
    bool AddNew(QString name);

private:
    // May the base unit go? Asks about its edits when it has any.
    bool mayDropBase();

    std::vector<MapUnitPtr> units_;
    int32_t mapMode_ = 1;
    int16_t index_ = 0;
};
