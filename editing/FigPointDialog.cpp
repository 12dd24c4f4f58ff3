#include "FigPointDialog.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "FigureDialogUi.h"
#include "FigureWindows.h"
#include "LongOperation.h"
#include "MessageBox.h"
#include "basAngle.h"
#include "basHMapEdit.h"
#include "clsMap.h"

namespace {

// Kilometres with three decimals, as the map's coordinate text writes them.
QString Kilometres(int32_t v) { return QString::number(v / 1000.0, 'f', 3) + QStringLiteral("km"); }

} // namespace

FigPointLogic::FigPointLogic(FigureDialogVars& vars, QString title, int32_t figCode)
    : FigureDialogLogic(vars, std::move(title)), figCode_(figCode) {}

bool FigPointLogic::LoadPoint() {
    if (!LoadCommon() || Work().FigCode() != figCode_) return false;
    mapMode_ = Vars().MapUnit->Map().MapMode() == 2 ? 2 : 1;
    return true;
}

QString FigPointLogic::XLabel() const { return mapMode_ == 1 ? QStringLiteral("経度(&X):") : QStringLiteral("Ｘ(&X):"); }
QString FigPointLogic::YLabel() const { return mapMode_ == 1 ? QStringLiteral("緯度(&Y):") : QStringLiteral("Ｙ(&Y):"); }
QString FigPointLogic::XToolTip() const {
    return mapMode_ == 1 ? QStringLiteral("経度を編集") : QStringLiteral("Ｘ座標を編集");
}
QString FigPointLogic::YToolTip() const {
    return mapMode_ == 1 ? QStringLiteral("緯度を編集") : QStringLiteral("Ｙ座標を編集");
}

QString FigPointLogic::XText() const { return mapMode_ == 1 ? LonToStr(Point().mx()) : Kilometres(Point().mx()); }
QString FigPointLogic::YText() const { return mapMode_ == 1 ? LatToStr(Point().my()) : Kilometres(Point().my()); }

bool FigPointLogic::commit(bool isX, const QString& typed) {
    if (typed == (isX ? XText() : YText())) return true;
    const MapCoordinateText& reader = InstalledMapCoordinateText();
    const auto& read = isX ? reader.strToXSafe : reader.strToYSafe;
    const auto& valid = isX ? reader.isValidX : reader.isValidY;
    const int32_t v = read ? read(typed) : kInvalidMapCoordinate;
    if (!valid || !valid(v, true)) return false;
    if (isX) Point().setMx(v);
    else Point().setMy(v);
    return true;
}

bool FigPointLogic::CommitX(const QString& typed) { return commit(true, typed); }
bool FigPointLogic::CommitY(const QString& typed) { return commit(false, typed); }

void FigPointLogic::PasteClick() {
    clsPoly points;
    {
        plat::BusyCursor busy;
        points = GetPolyFromClip();
    }
    PastePoints(points);
}

void FigPointLogic::PastePoints(const clsPoly& points) {
    pasted_ = points;
    const int32_t n = points.Count();
    if (n == 0) {
        plat::MsgBox(QStringLiteral("有効なデータがありません."), plat::MbExclamation);
        positionCaption_ = QStringLiteral("座標");
        return;
    }
    Point().setPosition(points.GetPoint(1));
    plat::MsgBox(QString::number(n) + QStringLiteral("個の図形を生成します."), plat::MbInformation);
    positionCaption_ = QStringLiteral("座標 [%1図形]").arg(n);
}

FigureList FigPointLogic::PastedCopies(const clsMapFigure& figure) const {
    FigureList copies;
    for (int32_t i = 2; i <= PastedCount(); ++i) {
        MapFigurePtr c = figure.Copy();
        static_cast<MapPointFigure&>(*c).setPosition(pasted_->GetPoint(i));
        copies.push_back(std::move(c));
    }
    return copies;
}

plat::DialogPosition FigPointLogic::childCorner() const {
    const plat::DialogPosition p = windowCorner ? windowCorner() : plat::DialogPosition{};
    return {p.left + 600, p.top + 600};
}

void FigPointLogic::OnMapClick() {
    const FigPolyWindows& w = InstalledFigPolyWindows();
    if (!WindowBuilt(bool(w.draw), QStringLiteral("地図上の編集画面"))) return;
    DrawWindowRequest req;
    req.PointX = Point().mx();
    req.PointY = Point().my();
    req.CenterView = true;
    req.MapLevel = Vars().MapUnit->Map().Level();
    req.firstPosition = childCorner();
    if (!w.draw(req)) return;
    Point().setPosition({req.PointX, req.PointY});
}

void FigPointLogic::TraceClick() {
    const FigPolyWindows& w = InstalledFigPolyWindows();
    if (mapMode_ != 1 || !WindowBuilt(bool(w.trace), QStringLiteral("トレース画面"))) return;
    TraceWindowRequest req;
    req.PointX = Point().mx();
    req.PointY = Point().my();
    req.firstPosition = childCorner();
    if (!w.trace(req)) return;
    Point().setPosition({req.PointX, req.PointY});
}

// -- the window

frmFigPoint::frmFigPoint(FigureDialogVars& vars, std::unique_ptr<FigPointLogic> logic, QString form, QWidget* parent)
    : plat::DialogBase(parent, &vars.Win), logic_(std::move(logic)), form_(std::move(form)) {
    setEnterPolicy(plat::EnterPolicy::MoveToOK);
    logic_->windowCorner = [this] {
        return plat::DialogPosition{plat::WindowLeftTwips(this), plat::WindowTopTwips(this)};
    };
}

void frmFigPoint::handle(const QString& handler, const std::function<void()>& body) const {
    RunHandler(form_, handler, body);
}

QGroupBox* frmFigPoint::buildAnchorFrame(const QString& toolTip) {
    fraPosition = new QGroupBox;
    fraPosition->setToolTip(toolTip);
    auto* grid = new QGridLayout(fraPosition);
    txtX = new QLineEdit;
    txtY = new QLineEdit;
    for (QLineEdit* e : {txtX, txtY}) e->setMinimumWidth(170);
    lblX = AddFormRow(grid, 0, QString(), txtX);
    lblY = AddFormRow(grid, 1, QString(), txtY);
    auto* buttons = new QHBoxLayout;
    cmdPaste = new QPushButton(QStringLiteral("貼り付け(&P)"));
    cmdPaste->setToolTip(QStringLiteral("座標文字列をクリップボードから貼り付け(複数なら同数の図形を生成)"));
    cmdOnMap = new QPushButton(QStringLiteral("地図上(&M)"));
    cmdOnMap->setToolTip(QStringLiteral("地図画像上で設定"));
    cmdTrace = new QPushButton(QStringLiteral("トレース(&S)"));
    cmdTrace->setToolTip(QStringLiteral("原稿画像上で設定"));
    cmdTrace->setEnabled(false);
    for (QPushButton* b : {cmdPaste, cmdOnMap, cmdTrace}) buttons->addWidget(b);
    grid->addLayout(buttons, 2, 0, 1, 2);

    // A box shows its stored value again after its check; the other box
    // keeps what is being typed into it.
    addFieldCheck(txtX, [this] {
        bool ok = true;
        handle(QStringLiteral("txtX_Validate"), [&] { ok = logic_->CommitX(txtX->text()); });
        txtX->setText(logic_->XText());
        return ok;
    });
    addFieldCheck(txtY, [this] {
        bool ok = true;
        handle(QStringLiteral("txtY_Validate"), [&] { ok = logic_->CommitY(txtY->text()); });
        txtY->setText(logic_->YText());
        return ok;
    });
    connect(cmdPaste, &QPushButton::clicked, this, [this] {
        handle(QStringLiteral("cmdPaste_Click"), [this] {
            fraPosition->setTitle(FigPointLogic::ParsingCaption());
            fraPosition->repaint();
            logic_->PasteClick();
            showAnchor();
            fraPosition->setTitle(logic_->PositionCaption());
        });
    });
    connect(cmdOnMap, &QPushButton::clicked, this, [this] {
        handle(QStringLiteral("cmdOnMap_Click"), [this] {
            logic_->OnMapClick();
            showAnchor();
        });
    });
    connect(cmdTrace, &QPushButton::clicked, this, [this] {
        handle(QStringLiteral("cmdTrace_Click"), [this] {
            logic_->TraceClick();
            showAnchor();
        });
    });
    return fraPosition;
}

void frmFigPoint::buildAttributeRows(QGridLayout* form, int row) {
    choThing = new QComboBox;
    choThing->setToolTip(QStringLiteral("事象名"));
    choAdmin = new QComboBox;
    choAdmin->setToolTip(QStringLiteral("行政区名"));
    for (QComboBox* c : {choThing, choAdmin}) c->setMinimumWidth(200);
    choPrint = new QComboBox;
    choPrint->addItems(ShowModeEntries());
    choPrint->setToolTip(QStringLiteral("この図形の表示方法"));
    cmdColor = new QPushButton;
    lblDateBody = new QLabel;
    lblDateBody->setToolTip(QStringLiteral("この図形が生成された日時"));
    lblThing = AddFormRow(form, row, QStringLiteral("事象名(&T):"), choThing);
    lblThing->setToolTip(QStringLiteral("事象名を階層式ダイアログで選択"));
    lblAdmin = AddFormRow(form, row + 1, QStringLiteral("行政区名(&A):"), choAdmin);
    lblAdmin->setToolTip(QStringLiteral("行政区名を階層式ダイアログで選択"));
    AddFormRow(form, row + 2, QStringLiteral("固有表示(&D):"), choPrint);
    AddFormRow(form, row + 3, QStringLiteral("固有色(&L):"), cmdColor)->setToolTip(QStringLiteral("この図形の色"));
    AddFormRow(form, row + 4, QStringLiteral("生成日時:"), lblDateBody);
    for (QLabel* l : {lblAdmin, lblThing}) {
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
    }

    connect(choPrint, &QComboBox::activated, this, [this](int index) {
        handle(QStringLiteral("choPrint_Click"), [&] { logic_->ShowModeClick(index); });
    });
    connect(cmdColor, &QPushButton::clicked, this, [this] {
        handle(QStringLiteral("cmdColor_Click"), [this] {
            logic_->ColorClick();
            ApplyColorLook(cmdColor, logic_->ColorLook());
        });
    });
    connect(choAdmin, &QComboBox::activated, this, [this] {
        handle(QStringLiteral("choAdmin_Click"), [this] {
            const int32_t code = ComboNumber(choAdmin, -2);
            if (code >= -1) logic_->Work().setAdmin(code);
        });
    });
    connect(choThing, &QComboBox::activated, this, [this] {
        handle(QStringLiteral("choThing_Click"), [this] {
            const int32_t number = ComboNumber(choThing, -2);
            if (number >= -1) logic_->Work().setThing(number);
        });
    });
}

void frmFigPoint::buildButtons(QGridLayout* grid, int row, long helpContext) {
    const DialogButtons b = AddDialogButtons(this, grid, row, helpContext);
    cmdOK = b.ok;
    cmdCancel = b.cancel;
    cmdHelp = b.help;
    SetUsualButtonTips(b);
    connect(cmdOK, &QPushButton::clicked, this, [this] { handle(QStringLiteral("cmdOK_Click"), [this] { okClick(); }); });
}

void frmFigPoint::loadPoint() {
    const FigPointLogic& l = *logic_;
    setWindowTitle(l.Caption());
    fraPosition->setTitle(l.PositionCaption());
    lblX->setText(l.XLabel());
    lblY->setText(l.YLabel());
    txtX->setToolTip(l.XToolTip());
    txtY->setToolTip(l.YToolTip());
    showAnchor();
    cmdTrace->setEnabled(l.TraceEnabled());
    choPrint->setCurrentIndex(l.ShowModeIndex());
    ApplyColorLook(cmdColor, l.ColorLook());
    lblDateBody->setText(l.DateText());
    CreateAdminCombo(choAdmin, l.Vars().MapUnit->Admins(), l.Work());
    CreateThingCombo(choThing, l.Vars().MapUnit->Things(), l.Work());
}

void frmFigPoint::showAnchor() {
    txtX->setText(logic_->XText());
    txtY->setText(logic_->YText());
}

bool frmFigPoint::eventFilter(QObject* o, QEvent* e) {
    if ((o == lblAdmin || o == lblThing) && e->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        handle(o == lblAdmin ? QStringLiteral("lblAdmin_Click") : QStringLiteral("lblThing_Click"), [&] {
            const clsMapUnit& unit = *logic_->Vars().MapUnit;
            if (o == lblAdmin) PickAdmin(this, choAdmin, logic_->Work(), unit.Admins());
            else PickThing(this, choThing, logic_->Work(), unit.Things());
        });
        return true;
    }
    return plat::DialogBase::eventFilter(o, e);
}

void frmFigPoint::okClick() {
    // A box still being typed in is checked as leaving it would.
    for (QWidget* field : {static_cast<QWidget*>(txtX), static_cast<QWidget*>(txtY)})
        if (!checkField(field)) return;
    if (!commitFields()) return;
    switch (logic_->OkClick()) {
    case OkOutcome::Closed: closeOK(); break;
    case OkOutcome::Cancelled: closeCancel(); break;
    case OkOutcome::Stay: break;
    }
}
