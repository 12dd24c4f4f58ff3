// The window of the regular-polygon generator "正多角形生成".
#pragma once

#include "DialogBase.h"
#include "frmRegularPolygonLogic.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct RegularPolygonRequest;

class frmRegularPolygon : public plat::DialogBase {
    Q_OBJECT
public:
    explicit frmRegularPolygon(frmRegularPolygonLogic& logic, QWidget* parent = nullptr);

    QGroupBox* fraCenter = nullptr;
    QLabel *lblCx = nullptr, *lblCy = nullptr;
    QLineEdit *txtCx = nullptr, *txtCy = nullptr;
    QPushButton* cmdOnMapCenter = nullptr;
    QGroupBox* fraStart = nullptr;
    QLabel *lblSx = nullptr, *lblSy = nullptr;
    QLineEdit *txtSx = nullptr, *txtSy = nullptr, *txtAzimuth = nullptr, *txtDistance = nullptr;
    QPushButton* cmdOnMapStart = nullptr;
    QGroupBox* fraNum = nullptr;
    QLineEdit* txtNum = nullptr;
    QPushButton *cmdOK = nullptr, *cmdCancel = nullptr, *cmdHelp = nullptr;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void build();
    void showAll();
    void handle(const char* handler, const std::function<void()>& body);
    // A field whose check runs the logic's validation and shows the values.
    void check(QLineEdit* field, const char* handler, bool (frmRegularPolygonLogic::*validate)(const QString&));

    frmRegularPolygonLogic& logic_;
};

// Opens the generator over the request (its one instance keeps its
// settings); true with the ring in Result on OK.
bool RunRegularPolygon(RegularPolygonRequest& request);
