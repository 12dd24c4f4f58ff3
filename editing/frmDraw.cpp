#include "frmDraw.h"

#include <algorithm>

#include <QApplication>
#include <QGuiApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include "FigureDialog.h"
#include "FigureWindows.h"
#include "KeyCodes.h"

namespace {

const QString kForm = QStringLiteral("frmDraw");
constexpr int kControlWidth = 180;

int ButtonOf(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int ButtonsOf(Qt::MouseButtons b) {
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) | (b & Qt::MiddleButton ? 4 : 0);
}

} // namespace

// The drawing view: the picture with the overlay's marks, the mouse.
class frmDraw::View : public QWidget {
public:
    View(frmDraw& owner, frmDrawLogic& logic) : QWidget(&owner), owner_(owner), logic_(logic) {
        setFocusPolicy(Qt::StrongFocus);
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setCursor(Qt::CrossCursor);
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        QPainter p(this);
        const QImage& picture = logic_.Picture();
        for (const QRect& r : e->region() - QRect(QPoint(), picture.size())) p.fillRect(r, Qt::white);
        logic_.Overlay().Paint(p, picture, e->region());
    }
    void mousePressEvent(QMouseEvent* e) override {
        const QPoint at = e->position().toPoint();
        const int b = ButtonOf(e->button());
        owner_.viewEvent("picView_MouseDown", [&] { logic_.MouseDown(b, at.x(), at.y()); });
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        const QPoint at = e->position().toPoint();
        const int b = ButtonsOf(e->buttons());
        owner_.viewEvent("picView_MouseMove", [&] { logic_.MouseMove(b, at.x(), at.y()); });
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        const QPoint at = e->position().toPoint();
        const int b = ButtonOf(e->button());
        owner_.viewEvent("picView_MouseUp", [&] { logic_.MouseUp(b, at.x(), at.y()); });
    }

private:
    frmDraw& owner_;
    frmDrawLogic& logic_;
};

frmDraw::frmDraw(frmDrawLogic& logic, DrawMapView& view, QWidget* parent)
    : plat::DialogBase(parent, &logic.Win), logic_(logic) {
    RunHandler(kForm, QStringLiteral("Form_Load"), [&] {
        loaded_ = logic_.Load(view);
        if (!loaded_) return;
        build();
        logic_.Paint();
        refresh();
    });
}

frmDraw::~frmDraw() { logic_.messageChanged = nullptr; }

void frmDraw::build() {
    setWindowTitle(logic_.Caption());
    setHelpContext(frmDrawLogic::kHelpContext);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    picView = new View(*this, logic_);
    picView->setFixedSize(logic_.Picture().size());
    // A main view as large as the screen leaves no room for the controls
    // beside it: the view scrolls rather than push OK off the screen.
    viewBox = new QScrollArea;
    viewBox->setFrameShape(QFrame::NoFrame);
    viewBox->setFocusPolicy(Qt::NoFocus);
    viewBox->setWidget(picView);
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect avail = s ? s->availableGeometry() : QRect(0, 0, 1920, 1080);
    const QSize room(std::max(avail.width() - kControlWidth - 24, 200), std::max(avail.height() - 48, 200));
    viewBox->setFixedSize(picView->size().boundedTo(room));
    row->addWidget(viewBox, 0, Qt::AlignTop);

    fraControll = new QWidget;
    auto* col = new QVBoxLayout(fraControll);
    auto button = [](const QString& caption, const QString& tip) {
        auto* b = new QPushButton(caption);
        b->setToolTip(tip);
        return b;
    };
    chkGrid = new QCheckBox(QStringLiteral("グリッド(&G)"));
    chkGrid->setToolTip(QStringLiteral("方眼の交点に位置付ける"));
    txtGrid = new QLineEdit;
    txtGrid->setToolTip(QStringLiteral("方眼の間隔(mmを付加すると地図上の寸法)"));
    chkSnap = new QCheckBox(QStringLiteral("スナップ(S)"));
    chkSnap->setToolTip(QStringLiteral("最近の既存点に位置付ける"));
    cmdDelete = button(QStringLiteral("削除(&D)"), QStringLiteral("アクティブポイントを削除"));
    cmdLoop = button(QStringLiteral("閉鎖線(&L)"), QStringLiteral("連続線をループにする"));
    cmdUndo = button(QStringLiteral("やり直し(&U)"), QStringLiteral("最後の操作を取り消す"));
    cmdColor = button(QStringLiteral("ハンドル色(&C)"), QStringLiteral("ハンドルの色をランダムに変更"));
    cmdOK = button(QStringLiteral("ＯＫ"), QStringLiteral("設定を確定して閉じる"));
    cmdCancel = button(QStringLiteral("キャンセル"), QStringLiteral("設定を取り消して閉じる"));
    cmdHelp = button(QStringLiteral("ヘルプ(&H)"), QStringLiteral("このダイアログの解説"));
    lblPointer = new QLabel;
    lblPointer->setToolTip(QStringLiteral("マウスポインタの地図座標"));
    lblMessage = new QLabel;
    lblMessage->setToolTip(QStringLiteral("アクティブハンドルの情報など"));
    for (QLabel* l : {lblPointer, lblMessage}) {
        l->setWordWrap(true);
        l->setMinimumHeight(2 * l->fontMetrics().height());
        l->setFrameShape(QFrame::StyledPanel);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{chkGrid, txtGrid, chkSnap, cmdDelete, cmdLoop, cmdUndo, cmdColor})
        col->addWidget(w);
    col->addStretch(1);
    for (QWidget* w : std::initializer_list<QWidget*>{lblPointer, lblMessage, cmdOK, cmdCancel, cmdHelp})
        col->addWidget(w);
    fraControll->setFixedWidth(kControlWidth);
    row->addWidget(fraControll);

    setOkButton(cmdOK);
    setHelpButton(cmdHelp);
    exemptFromChecks(cmdCancel);
    exemptFromChecks(cmdHelp);
    const bool poly = logic_.Mode == frmDrawLogic::ModePoly;
    cmdDelete->setEnabled(poly);
    cmdLoop->setEnabled(poly);
    chkSnap->setChecked(logic_.Snap);
    chkGrid->setChecked(logic_.Grid);
    txtGrid->setText(logic_.GridText());

    addFieldCheck(txtGrid, [this] {
        bool ok = true;
        RunHandler(kForm, QStringLiteral("txtGrid_Validate"), [&] { ok = logic_.GridValidate(txtGrid->text()); });
        txtGrid->setText(logic_.GridText());
        return ok;
    });
    connect(chkGrid, &QCheckBox::toggled, this, [this](bool on) { logic_.Grid = on; });
    connect(chkSnap, &QCheckBox::toggled, this, [this](bool on) { logic_.Snap = on; });
    auto click = [this](QPushButton* b, const char* handler, void (frmDrawLogic::*fn)()) {
        connect(b, &QPushButton::clicked, this, [this, handler, fn] { viewEvent(handler, [&] { (logic_.*fn)(); }); });
    };
    click(cmdDelete, "cmdDelete_Click", &frmDrawLogic::DeleteClick);
    click(cmdLoop, "cmdLoop_Click", &frmDrawLogic::LoopClick);
    click(cmdUndo, "cmdUndo_Click", &frmDrawLogic::UndoClick);
    click(cmdColor, "cmdColor_Click", &frmDrawLogic::ColorClick);
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        logic_.OK = true;
        closeOK();
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { closeCancel(); });
    logic_.messageChanged = [this] {
        lblMessage->setText(logic_.Message());
        lblMessage->repaint();
    };
}

void frmDraw::viewEvent(const char* handler, const std::function<void()>& body) {
    RunHandler(kForm, QString::fromLatin1(handler), body);
    refresh();
}

void frmDraw::refresh() {
    if (!picView) return;
    const QRegion dirty = logic_.TakeDirty();
    if (!dirty.isEmpty()) picView->update(dirty);
    lblPointer->setText(logic_.Pointer());
    lblMessage->setText(logic_.Message());
    if (logic_.Mode == frmDrawLogic::ModePoly) cmdDelete->setEnabled(logic_.DeleteEnabled());
    cmdUndo->setEnabled(logic_.UndoEnabled());
    picView->setCursor(logic_.Cursor() == frmDrawLogic::kCursorDrag ? Qt::ClosedHandCursor : Qt::CrossCursor);
}

void frmDraw::formKeyDown(int& keyCode, int /*shift*/) {
    if (QApplication::focusWidget() == txtGrid) {
        if (keyCode == plat::KeyReturn) {
            keyCode = 0;
            if (checkField(txtGrid)) picView->setFocus(Qt::OtherFocusReason);
        }
        return;
    }
    bool used = false;
    viewEvent("Form_KeyDown", [&] { used = logic_.KeyDown(keyCode); });
    if (used) keyCode = 0;
}

void frmDraw::showEvent(QShowEvent* e) {
    plat::DialogBase::showEvent(e);
    if (!picView) return;
    const QPoint at = logic_.ActivePixel();
    viewBox->ensureVisible(at.x(), at.y(), 60, 60);
    picView->setFocus(Qt::OtherFocusReason);
}

bool RunDrawWindow(DrawWindowRequest& request) {
    frmDrawLogic& logic = DrawWindow();
    logic.Mode = request.polyMode ? frmDrawLogic::ModePoly : frmDrawLogic::ModePoint;
    logic.Title = request.Title;
    logic.CenterView = request.CenterView;
    logic.MapLevel = request.MapLevel;
    logic.PointX = request.PointX;
    logic.PointY = request.PointY;
    logic.Poly = request.Poly;
    logic.ActIndex = request.ActIndex;
    if (!logic.Win.isSet()) logic.Win = request.firstPosition;
    const std::unique_ptr<DrawMapView> view = MainDrawMapView();
    {
        frmDraw dialog(logic, *view, QApplication::activeWindow());
        if (dialog.loaded()) dialog.showModal();
    }
    RunHandler(kForm, QStringLiteral("Form_Unload"), [&] { logic.Unload(); });
    if (!logic.OK) return false;
    request.PointX = logic.PointX;
    request.PointY = logic.PointY;
    request.Poly = logic.Poly;
    request.ActIndex = logic.ActIndex;
    return true;
}
