// The thing picker "事象選択": a category, then a thing of that category,
// offering only the things of one figure kind. The category last used is
// kept for the next opening.
#pragma once

#include <QWidget>

#include <cstdint>

#include "PickerDialog.h"

class clsThings;

class ThingSelectLogic : public PickerLogic {
public:
    static constexpr long kHelpContext = 290011;

    // Public variables: the catalogue (nullptr after unload), the figure
    // code whose things are offered, and the thing shown on opening and
    // chosen on OK (-1 none).
    const clsThings* Things = nullptr;
    int32_t FigCode = 0;
    int16_t ThingIndex = -1;

    // The category is that of ThingIndex when the catalogue has it (1 for
    // a thing without one), else the one used last.
    bool Load() override;
    // "事象選択 (点記号)" and the like.
    QString Caption() const override;
    // A category: its things, ThingIndex selected when it is one of them,
    // else the first, which becomes ThingIndex.
    void UpperClick(int row) override;
    // A thing: it becomes ThingIndex.
    void LowerClick(int row) override;
    void Unload() override { Things = nullptr; }
    int16_t Category() const { return category_; }

    // Refills the thing list with `index` selected when listed, else the
    // first thing; the selection becomes ThingIndex. An empty list
    // selects nothing and keeps ThingIndex.
    void MakeThingList(int16_t index);

private:
    // The named categories; the current one selected, or else the first,
    // which becomes current.
    void MakeCategoryList();

    int16_t category_ = 0;
};

// The picker's single instance.
ThingSelectLogic& ThingSelect();
// Shows the picker over its single instance; returns its OK.
bool ShowThingSelect(QWidget* parent = nullptr);
// The window texts of the picker.
PickerTexts ThingSelectTexts();
