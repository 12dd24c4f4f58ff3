// Pieces of the figure dialogs' windows that every dialog builds alike.
#pragma once

#include <QString>

#include "FigureDialog.h"

class QGridLayout;
class QLabel;
class QPushButton;
class QWidget;

// The own-colour button shows the colour as its face, caption and tip.
void ApplyColorLook(QPushButton* button, const ColorButtonLook& look);

// A label with a mnemonic in column 0 of a form grid, its field beside it.
QLabel* AddFormRow(QGridLayout* grid, int row, const QString& label, QWidget* field,
                   Qt::Alignment align = Qt::AlignRight);

// The row of OK, Cancel and Help buttons at the foot of a dialog, in a box
// added to `grid` across its columns.
struct DialogButtons {
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* help = nullptr;
};
DialogButtons AddDialogButtons(plat::DialogBase* dialog, QGridLayout* grid, int row, long helpContext);
