// The window of the projection wizard over frmPrjWizardLogic: nine page
// frames in one place, the page buttons, OK, Cancel and Help.
#pragma once

#include <QWidget>

#include <array>
#include <functional>
#include <initializer_list>
#include <utility>

#include "DialogBase.h"
#include "frmPrjWizardLogic.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QListWidget;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QStackedWidget;
class QVBoxLayout;

namespace plat {
class FlexGrid;
}

// Shows the monitor picture of the run page.
class PrjMonitorView : public QWidget {
public:
    PrjMonitorView(PrjMonitorPicture& picture, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    PrjMonitorPicture& picture_;
};

// One of the four diagrams of the projection-surface page, drawn from the
// logic's working values.
class PrjScreenDiagramView : public QWidget {
public:
    PrjScreenDiagramView(int item, const frmPrjWizardLogic& logic, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    int item_;
    const frmPrjWizardLogic& logic_;
};

class frmPrjWizard : public plat::DialogBase {
    Q_OBJECT
public:
    // The logic outlives the window: its options and position persist.
    explicit frmPrjWizard(frmPrjWizardLogic& logic, QWidget* parent = nullptr);
    ~frmPrjWizard() override;

    frmPrjWizardLogic& logic() { return logic_; }
    QPushButton* button(frmPrjWizardLogic::Button b) const { return buttons_[b]; }
    QPushButton* executeButton() const { return cmdExecute_; }
    QPushButton* saveButton() const { return cmdSave_; }
    QGroupBox* page(int n) const { return pages_[size_t(n - 1)]; }
    plat::FlexGrid* saveGrid() const { return flgSave_; }
    QLabel* remainLabel() const { return lblRemainTime_; }
    // Pages 2 to 4: the frame, text box and slider of each angle item.
    struct AngleControls {
        QGroupBox* frame = nullptr;
        QLineEdit* text = nullptr;
        QSlider* slider = nullptr;
    };
    const AngleControls& angle(frmPrjWizardLogic::AngleItem item) const { return angles_[size_t(item)]; }
    QCheckBox* worldBox() const { return chkWorld_; }
    QCheckBox* gridBox() const { return chkGrid_; }
    QCheckBox* conditionBox(int group, int index) const { return conditions_[size_t(group)][size_t(index)]; }
    QListWidget* prjList() const { return choPrjList_; }
    QLabel* prjListLabel() const { return lblPrjList_; }
    const AngleControls& screen(int item) const { return screens_[size_t(item)]; }
    QComboBox* divisionList() const { return choDivision_; }
    QPushButton* rightAxisButton() const { return cmdRightAxis_; }

public slots:
    // Every way out (OK, Cancel, Esc, the frame) ends here; during a run it
    // only asks the run to stop.
    void done(int result) override;

private:
    void build();
    // A page's message label: wrapped, in the program's default font.
    static QLabel* messageLabel(const QString& name, QWidget* parent);
    QGroupBox* buildPage1();
    QGroupBox* buildPage2();
    QGroupBox* buildPage3();
    QGroupBox* buildPage4();
    QGroupBox* buildPage5();
    QGroupBox* buildPage6();
    QGroupBox* buildPage7();
    // A frame with a text box and a slider for an angle item, named after
    // `base` and n (txtField0, sliField0, fraField0).
    QGroupBox* angleFrame(frmPrjWizardLogic::AngleItem item, const QString& caption, const QString& base, int n,
                          QWidget* parent);
    // A page of its message and angle frames; `box` receives its layout.
    QGroupBox* anglePage(const QString& messageName, const QString& message,
                         std::initializer_list<std::pair<frmPrjWizardLogic::AngleItem, const char*>> items,
                         const QString& base, QVBoxLayout*& box);
    // A check box whose click hands its state to `set`.
    QCheckBox* switchBox(const QString& text, const QString& name, QWidget* parent, std::function<void(bool)> set);
    void refreshPages2to6();
    QGroupBox* buildPage8();
    QGroupBox* buildPage9();
    void refresh();
    void fillSaveGrid();
    // Runs an event handler; an error in it stops the program in order.
    void handler(const char* proc, const std::function<void()>& f);

    frmPrjWizardLogic& logic_;
    bool refreshing_ = false;
    bool unloaded_ = false;
    QStackedWidget* stack_ = nullptr;
    std::array<QGroupBox*, frmPrjWizardLogic::kPages> pages_{};
    std::array<QPushButton*, 4> buttons_{};
    std::array<QRadioButton*, 4> optInit_{};
    QLineEdit* txtPLG_ = nullptr;
    QLabel* lblInitMessage_ = nullptr;
    QLineEdit* txtScale_ = nullptr;
    QSlider* sliScale_ = nullptr;
    QPushButton* cmdExecute_ = nullptr;
    PrjMonitorView* picMonitor_ = nullptr;
    QProgressBar* prbExecute_ = nullptr;
    QLabel* lblRemainTime_ = nullptr;
    QLabel* lblExecMessage_ = nullptr;
    plat::FlexGrid* flgSave_ = nullptr;
    QPushButton* cmdSave_ = nullptr;
    QLabel* lblSaveMessage_ = nullptr;
    int shownPage_ = -1;
    std::array<AngleControls, frmPrjWizardLogic::kAngleItems> angles_{};
    QCheckBox* chkWorld_ = nullptr;
    QCheckBox* chkFieldFrame_ = nullptr;
    QLineEdit* txtAzimuth_ = nullptr;
    QCheckBox* chkGrid_ = nullptr;
    QCheckBox* chkZone_ = nullptr;
    QCheckBox* chkTextSlant_ = nullptr;
    std::array<std::array<QCheckBox*, 8>, frmPrjWizardLogic::kConditionGroups> conditions_{};
    QListWidget* choPrjList_ = nullptr;
    QLabel* lblPrjList_ = nullptr;
    std::array<AngleControls, frmPrjWizardLogic::kScreenItems> screens_{};
    std::array<PrjScreenDiagramView*, frmPrjWizardLogic::kScreenItems> diagrams_{};
    QLabel* lblScreenMessage_ = nullptr;
    QCheckBox* chkShadowFrame_ = nullptr;
    QLabel* lblDivision_ = nullptr;
    QComboBox* choDivision_ = nullptr;
    QPushButton* cmdRightAxis_ = nullptr;
};
