// Pieces of the figure dialogs' windows that every dialog builds alike.
#pragma once

#include <QFont>

namespace plat {
class FlexGrid;
}

#include <QString>

#include <functional>

#include "FigureDialog.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QWidget;
class clsAdmins;
class clsThings;

// The own-colour button shows the colour as its face, caption and tip.
void ApplyColorLook(QPushButton* button, const ColorButtonLook& look);

// A label with a mnemonic in column 0 of a form grid, its field beside it.
QLabel* AddFormRow(QGridLayout* grid, int row, const QString& label, QWidget* field,
                   Qt::Alignment align = Qt::AlignRight);

// A list grid in the colours and font of the grid settings; returns the font.
QFont StyleGrid(plat::FlexGrid* grid);

// The row of OK, Cancel and Help buttons at the foot of a dialog, in a box
// added to `grid` across its columns.
struct DialogButtons {
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* help = nullptr;
};
DialogButtons AddDialogButtons(plat::DialogBase* dialog, QGridLayout* grid, int row, long helpContext);
// OK as the default button, and the usual tips of the three.
void SetUsualButtonTips(const DialogButtons& b);

// The district and thing pickers, opened over the list they fill
// (`childOpen` hears when the picker opens and closes). On OK the work
// copy takes the choice and the list is refilled; True on OK.
bool PickAdmin(QWidget* owner, QComboBox* list, clsMapFigure& work, const clsAdmins& admins,
               const std::function<void(bool childOpen)>& childOpen = {});
bool PickThing(QWidget* owner, QComboBox* list, clsMapFigure& work, const clsThings& things,
               const std::function<void(bool childOpen)>& childOpen = {});
