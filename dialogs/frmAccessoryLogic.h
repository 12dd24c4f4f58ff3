// The map accessory dialog without its window: working copies of the
// accessory set's band position and of its seven items (switch, colour,
// text, own font), written back on OK. Cancel leaves the set as it was,
// fonts included: every record holds a font object of its own.
//
// Protocol of a caller: set TargetAccessory (the program's set) and
// AccessoryEnable (the current plot engine's switch), preset Position on
// the first opening (main window + 1500, 600 twips), show the window
// modally, clear TargetAccessory; when DialogOK, set the engine's switch
// from AccessoryEnable and redraw.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

#include "DialogBase.h"
#include "StdFont.h"

class clsAccessory;

class frmAccessoryLogic {
public:
    static constexpr long kHelpContext = 250003;
    static constexpr int kItems = 7;
    enum Capability : int16_t { CanColor = 1, CanText = 2, CanFont = 4 };
    struct Record {
        int16_t Status = 0;
        bool Use = false;
        int32_t Color = 0;
        QString Text;
        plat::FontRef Font;
    };

    clsAccessory* TargetAccessory = nullptr;
    bool AccessoryEnable = false;
    bool DialogOK = false;
    plat::DialogPosition Position;

    int32_t WorkPosition = 1;   // 0 top, 1 bottom
    // Whether Enter presses OK: not while a text box has the focus.
    bool EnterToOK = true;

    // The opening: DialogOK false, the records copied from TargetAccessory.
    void Load();
    // Item 1..7.
    const Record& Item(int i) const { return items_[size_t(i - 1)]; }
    bool Has(int i, Capability c) const { return (Item(i).Status & c) != 0; }
    // A control of an item takes input while the item is on.
    bool ControlEnabled(int i, Capability c) const { return Has(i, c) && Item(i).Use; }

    // -- the user's actions
    void SetUse(int i, bool on) { item(i).Use = on; }
    // The palette chooser on the item's colour; true when one was chosen.
    bool ChooseColor(int i);
    // The font chooser on the record's font; true when confirmed.
    bool ChooseFont(int i);
    void SetText(int i, const QString& text) { item(i).Text = text; }
    void TextFocus(bool gained) { EnterToOK = !gained; }

    // OK: the position and every item into TargetAccessory (the set keeps
    // what each item can take).
    void Accept();
    void Cancel() { DialogOK = false; }
    // The records dropped, as the window unloads.
    void Unload();

private:
    Record& item(int i) { return items_[size_t(i - 1)]; }
    std::array<Record, kItems> items_;
};

// The dialog of the run, made on first use.
frmAccessoryLogic& AccessoryDialog();
