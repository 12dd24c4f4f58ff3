// The pickup list "ピックアップ": the figures nearest a click on the map
// view, the current row's figure highlighted on the view.
#pragma once

#include <functional>

#include "DialogBase.h"
#include "frmPickupLogic.h"

class QLabel;
class QPushButton;
namespace plat {
class FlexGrid;
}

class frmPickup : public plat::DialogBase {
    Q_OBJECT
public:
    static constexpr long kHelpContext = 220005;

    // How the list reaches the map view: its surface, where canvas (0, 0)
    // shows on it, the canvas copied in again (removes a highlight), and the
    // view shown on the screen after drawing.
    struct View {
        std::function<plat::DeviceContext*()> Surface;
        std::function<void(int32_t& dx, int32_t& dy)> CanvasOrigin;
        std::function<void()> PaintFromCanvas;
        std::function<void()> Show;
    };
    frmPickup(frmPickupLogic& logic, View view, QWidget* parent = nullptr);
    ~frmPickup() override;

    // Searches and lists; false (after the message) when there is nothing
    // to choose. Row 1 is current and highlighted.
    bool Fill();
    // The current row's figure highlighted, and its nearest point circled.
    void flgInfos_Click();
    void cmdOK_Click();

    QLabel* lblMessage = nullptr;
    plat::FlexGrid* flgInfos = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;

private:
    frmPickupLogic& logic_;
    View view_;
};
