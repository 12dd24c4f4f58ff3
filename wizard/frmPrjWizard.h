// The window of the projection wizard over frmPrjWizardLogic: nine page
// frames in one place, the page buttons, OK, Cancel and Help. Pages 2 to 6
// show only their captions for now; the working values they stand for are
// kept by the logic.
#pragma once

#include <QWidget>

#include <array>

#include "DialogBase.h"
#include "frmPrjWizardLogic.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QStackedWidget;

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

public slots:
    // Every way out (OK, Cancel, Esc, the frame) ends here; during a run it
    // only asks the run to stop.
    void done(int result) override;

private:
    void build();
    QGroupBox* buildPage1();
    QGroupBox* buildPage7();
    QGroupBox* buildPage8();
    QGroupBox* buildPage9();
    void refresh();
    void fillSaveGrid();
    template <class F>
    void handler(const char* proc, F&& f);

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
};
