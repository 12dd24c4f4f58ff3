// The window of the thing list editor over ThingsEditModel: the list grid
// with its count, the active-thing area (number, name, figure kind,
// category), insert, replace, delete, the two move buttons, OK, Cancel and
// Help. The controls are built at every opening; the model keeps the rest.
#pragma once

#include "DialogBase.h"
#include "ThingsEditModel.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class clsMap;
class clsThings;

namespace plat {
class FlexGrid;
} // namespace plat

class frmThingsEdit : public plat::DialogBase {
    Q_OBJECT
public:
    explicit frmThingsEdit(QWidget* parent = nullptr, ThingsEditModel& model = ThingsEdit());
    ~frmThingsEdit() override;

    // The opening with the model's TargetThings; false when there is
    // nothing to edit (the dialog is then not shown).
    bool loadControls();

    plat::FlexGrid* grid() const { return flgThings_; }
    QComboBox* numberBox() const { return choNumber_; }
    QLineEdit* nameBox() const { return txtName_; }
    QComboBox* figureBox() const { return choFigure_; }
    QComboBox* categoryBox() const { return choCategory_; }
    QLabel* totalLabel() const { return lblTotal_; }
    QPushButton* insertButton() const { return cmdInsert_; }
    QPushButton* replaceButton() const { return cmdReplace_; }
    QPushButton* deleteButton() const { return cmdDelete_; }
    QPushButton* upButton() const { return cmdUp_; }
    QPushButton* downButton() const { return cmdDown_; }
    QPushButton* okButton() const { return cmdOK_; }
    QPushButton* cancelButton() const { return cmdCancel_; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    void build();
    void handler(const char* name, const std::function<void()>& f);
    // A button's command on the model, with the active area's controls first.
    void runCommand(const char* name, const std::function<void()>& op);
    // The active area's controls into the model before a command.
    void pull();
    void refresh();
    void sizeColumns();
    void unload();

    ThingsEditModel& model_;
    plat::FlexGrid* flgThings_ = nullptr;
    QLabel* lblTotal_ = nullptr;
    QComboBox* choNumber_ = nullptr;
    QLineEdit* txtName_ = nullptr;
    QComboBox* choFigure_ = nullptr;
    QComboBox* choCategory_ = nullptr;
    QPushButton* cmdInsert_ = nullptr;
    QPushButton* cmdReplace_ = nullptr;
    QPushButton* cmdDelete_ = nullptr;
    QPushButton* cmdUp_ = nullptr;
    QPushButton* cmdDown_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    bool refreshing_ = false;
    bool loaded_ = false;
};

// The main window's thing list command: opens the editor on the active
// unit's catalogue and map beside `mainWindow` (+600, +600 twips on the
// first opening). True for OK; the caller then redraws.
bool ShowThingsEditDialog(QWidget* mainWindow, clsThings* things, clsMap* map);
