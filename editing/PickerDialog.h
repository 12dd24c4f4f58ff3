// What the district picker and the thing picker share: a choice made in two
// steps, a group in an upper list and a member of that group in a lower
// list, with OK, Cancel and Help. Each picker's logic keeps its single
// instance (its public variables and the group last used) for the run.
#pragma once

#include <QString>

#include "ChoiceList.h"
#include "DialogBase.h"

class QComboBox;
class QPushButton;

class PickerLogic {
public:
    virtual ~PickerLogic() = default;

    bool OK = false;           // False on load; True only after OK
    plat::DialogPosition Win;  // twips; set by the caller before each opening

    // Fills both lists; False (the picker closes at once) without a catalogue.
    virtual bool Load() = 0;
    virtual QString Caption() const = 0;
    const ChoiceList& UpperList() const { return upper_; }
    const ChoiceList& LowerList() const { return lower_; }
    // A row chosen by the user.
    virtual void UpperClick(int row) = 0;
    virtual void LowerClick(int row) = 0;
    void OkClick() { OK = true; }
    // The catalogue is let go.
    virtual void Unload() = 0;

protected:
    ChoiceList upper_, lower_;
};

struct PickerTexts {
    QString form;  // window name in error reports
    QString upperLabel, upperTip, lowerLabel, lowerTip;
    long helpContext = 0;
};

// The Qt window over a picker's logic; it loads at once.
class PickerDialog : public plat::DialogBase {
    Q_OBJECT
public:
    PickerDialog(PickerLogic& logic, const PickerTexts& texts, QWidget* parent = nullptr);
    bool loaded() const { return loaded_; }

    QComboBox* upper = nullptr;
    QComboBox* lower = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;

private:
    void fill();

    PickerLogic& logic_;
    QString form_;
    bool loaded_ = false;
};

// Shows a picker modally and lets its catalogue go; returns its OK.
bool RunPicker(PickerLogic& logic, const PickerTexts& texts, QWidget* parent);
