#include "PickerDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QPushButton>

#include "FigureDialog.h"
#include "FigureDialogUi.h"

PickerDialog::PickerDialog(PickerLogic& logic, const PickerTexts& texts, QWidget* parent)
    : plat::DialogBase(parent, &logic.Win), logic_(logic), form_(texts.form) {
    RunHandler(form_, QStringLiteral("Form_Load"), [&] {
        auto* grid = new QGridLayout(this);
        upper = new QComboBox;
        upper->setToolTip(texts.upperTip);
        lower = new QComboBox;
        lower->setToolTip(texts.lowerTip);
        lower->setMinimumWidth(240);
        // Left-aligned, so that the member's label hangs below the group's.
        AddFormRow(grid, 0, texts.upperLabel, upper, Qt::AlignLeft);
        AddFormRow(grid, 1, texts.lowerLabel, lower, Qt::AlignLeft);
        const DialogButtons b = AddDialogButtons(this, grid, 2, texts.helpContext);
        cmdOK = b.ok;
        cmdCancel = b.cancel;
        cmdHelp = b.help;
        cmdOK->setDefault(true);

        connect(upper, &QComboBox::activated, this, [this](int row) {
            RunHandler(form_, QStringLiteral("choUpper_Click"), [&] {
                logic_.UpperClick(row);
                fill();
            });
        });
        connect(lower, &QComboBox::activated, this, [this](int row) {
            RunHandler(form_, QStringLiteral("choLower_Click"), [&] { logic_.LowerClick(row); });
        });
        connect(cmdOK, &QPushButton::clicked, this, [this] {
            RunHandler(form_, QStringLiteral("cmdOK_Click"), [this] {
                logic_.OkClick();
                closeOK();
            });
        });

        loaded_ = logic_.Load();
        if (!loaded_) return;
        setWindowTitle(logic_.Caption());
        fill();
    });
}

void PickerDialog::fill() {
    FillCombo(upper, logic_.UpperList());
    FillCombo(lower, logic_.LowerList());
}

bool RunPicker(PickerLogic& logic, const PickerTexts& texts, QWidget* parent) {
    {
        PickerDialog dlg(logic, texts, parent);
        if (dlg.loaded()) dlg.showModal();
    }
    logic.Unload();
    return logic.OK;
}
