#include "frmRegularPolygon.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "FigureDialogUi.h"
#include "FigureWindows.h"

namespace {
const QString kForm = QStringLiteral("frmRegularPolygon");
}

frmRegularPolygon::frmRegularPolygon(frmRegularPolygonLogic& logic, QWidget* parent)
    : plat::DialogBase(parent, &logic.Win), logic_(logic) {
    setEnterPolicy(plat::EnterPolicy::MoveToOK);
    handle("Form_Load", [this] {
        logic_.Load();
        build();
    });
    logic_.windowCorner = [this] { return plat::DialogPosition{plat::WindowLeftTwips(this), plat::WindowTopTwips(this)}; };
}

void frmRegularPolygon::handle(const char* handler, const std::function<void()>& body) {
    RunHandler(kForm, QString::fromLatin1(handler), body);
}

void frmRegularPolygon::check(QLineEdit* field, const char* handler,
                              bool (frmRegularPolygonLogic::*validate)(const QString&)) {
    addFieldCheck(field, [this, field, handler, validate] {
        bool ok = true;
        frmRegularPolygonLogic& logic = logic_;
        handle(handler, [&ok, &logic, field, validate] { ok = (logic.*validate)(field->text()); });
        showAll();
        return ok;
    });
}

void frmRegularPolygon::build() {
    setWindowTitle(QStringLiteral("正多角形生成"));
    auto* grid = new QGridLayout(this);
    const std::array<QString, 4> labels = logic_.CoordinateLabels();
    auto mapButton = [](const QString& caption) {
        auto* b = new QPushButton(caption);
        b->setToolTip(QStringLiteral("地図画像上で設定"));
        return b;
    };

    fraCenter = new QGroupBox(QStringLiteral("中心点"));
    fraCenter->setToolTip(QStringLiteral("多角形の中心座標"));
    auto* centre = new QGridLayout(fraCenter);
    txtCx = new QLineEdit;
    txtCx->setToolTip(QStringLiteral("経度もしくはＸ座標"));
    txtCy = new QLineEdit;
    txtCy->setToolTip(QStringLiteral("緯度もしくはＹ座標"));
    lblCx = AddFormRow(centre, 0, labels[0], txtCx);
    lblCy = AddFormRow(centre, 1, labels[1], txtCy);
    cmdOnMapCenter = mapButton(QStringLiteral("地図上(&Z)"));
    centre->addWidget(cmdOnMapCenter, 2, 1, Qt::AlignRight);

    fraStart = new QGroupBox(QStringLiteral("開始頂点"));
    fraStart->setToolTip(QStringLiteral("開始頂点座標"));
    auto* start = new QGridLayout(fraStart);
    txtSx = new QLineEdit;
    txtSy = new QLineEdit;
    txtAzimuth = new QLineEdit;
    txtAzimuth->setToolTip(QStringLiteral("中心から開始頂点までの方位角"));
    txtDistance = new QLineEdit;
    txtDistance->setToolTip(QStringLiteral("中心から開始頂点までの距離(角距離またはkm)"));
    lblSx = AddFormRow(start, 0, labels[2], txtSx);
    lblSy = AddFormRow(start, 1, labels[3], txtSy);
    AddFormRow(start, 2, QStringLiteral("方位角(A):"), txtAzimuth);
    AddFormRow(start, 3, QStringLiteral("距離(&D):"), txtDistance);
    cmdOnMapStart = mapButton(QStringLiteral("地図上(&R)"));
    start->addWidget(cmdOnMapStart, 4, 1, Qt::AlignRight);

    fraNum = new QGroupBox;
    auto* num = new QGridLayout(fraNum);
    txtNum = new QLineEdit;
    AddFormRow(num, 0, QStringLiteral("頂点の数(&N):"), txtNum);

    for (QLineEdit* e : {txtCx, txtCy, txtSx, txtSy, txtAzimuth, txtDistance, txtNum}) e->setMinimumWidth(170);
    grid->addWidget(fraCenter, 0, 0, 1, 3);
    grid->addWidget(fraStart, 1, 0, 1, 3);
    grid->addWidget(fraNum, 2, 0, 1, 3);
    const DialogButtons b = AddDialogButtons(this, grid, 3, frmRegularPolygonLogic::kHelpContext);
    cmdOK = b.ok;
    cmdCancel = b.cancel;
    cmdHelp = b.help;
    SetUsualButtonTips(b);

    check(txtCx, "txtCx_Validate", &frmRegularPolygonLogic::CenterXValidate);
    check(txtCy, "txtCy_Validate", &frmRegularPolygonLogic::CenterYValidate);
    check(txtSx, "txtSx_Validate", &frmRegularPolygonLogic::StartXValidate);
    check(txtSy, "txtSy_Validate", &frmRegularPolygonLogic::StartYValidate);
    check(txtAzimuth, "txtAzimuth_Validate", &frmRegularPolygonLogic::AzimuthValidate);
    check(txtDistance, "txtDistance_Validate", &frmRegularPolygonLogic::DistanceValidate);
    check(txtNum, "txtNum_Validate", &frmRegularPolygonLogic::CountValidate);

    connect(cmdOnMapCenter, &QPushButton::clicked, this, [this] {
        handle("cmdOnMapCenter_Click", [this] {
            logic_.PickCenter();
            showAll();
        });
    });
    connect(cmdOnMapStart, &QPushButton::clicked, this, [this] {
        handle("cmdOnMapStart_Click", [this] {
            logic_.PickStart();
            showAll();
        });
    });
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        handle("cmdOK_Click", [this] {
            switch (logic_.OkClick()) {
            case OkOutcome::Closed: closeOK(); break;
            case OkOutcome::Cancelled: closeCancel(); break;
            case OkOutcome::Stay: break;
            }
        });
    });
}

void frmRegularPolygon::showAll() {
    const frmRegularPolygonLogic::Texts t = logic_.Show();
    txtCx->setText(t.cx);
    txtCy->setText(t.cy);
    txtSx->setText(t.sx);
    txtSy->setText(t.sy);
    txtAzimuth->setText(t.azimuth);
    txtDistance->setText(t.distance);
    txtNum->setText(t.count);
}

void frmRegularPolygon::showEvent(QShowEvent* e) {
    plat::DialogBase::showEvent(e);
    handle("Form_Activate", [this] {
        logic_.Activate();
        showAll();
    });
}

bool RunRegularPolygon(RegularPolygonRequest& request) {
    frmRegularPolygonLogic& logic = RegularPolygon();
    logic.MapMode = request.MapMode;
    logic.CenterX = request.CenterX;
    logic.CenterY = request.CenterY;
    if (!logic.Win.isSet()) logic.Win = request.firstPosition;
    {
        frmRegularPolygon dialog(logic, QApplication::activeWindow());
        dialog.showModal();
    }
    logic.windowCorner = nullptr;
    request.CenterX = logic.CenterX;
    request.CenterY = logic.CenterY;
    if (!logic.OK) return false;
    request.Result = logic.Poly;
    return true;
}
