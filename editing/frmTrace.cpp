#include "frmTrace.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include "FigureDialog.h"
#include "FigureWindows.h"
#include "KeyCodes.h"

// ---------------------------------------------------------------- the view

TraceView::TraceView(frmTrace& form) : QWidget(&form), form_(form) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
}

void TraceView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, form_.Logic().Render(size()));
}

void TraceView::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const QPoint at = e->position().toPoint();
    form_.handle("picView_MouseDown", [&] { form_.Logic().MouseDown(at.x(), at.y()); });
    if (form_.Logic().DragState() == 1) setCursor(Qt::ClosedHandCursor);
}

void TraceView::mouseMoveEvent(QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    form_.handle("picView_MouseMove", [&] { form_.Logic().MouseMove(at.x(), at.y()); });
}

void TraceView::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    setCursor(Qt::CrossCursor);
    const QPoint at = e->position().toPoint();
    form_.handle("picView_MouseUp", [&] { form_.Logic().MouseUp(at.x(), at.y()); });
}

// ---------------------------------------------------------------- the form

frmTrace::frmTrace(frmTraceLogic& logic, QWidget* parent) : plat::DialogBase(parent, &logic.Win), logic_(logic) {
    setEnterPolicy(plat::EnterPolicy::MoveToOK);
    build();
    logic_.onRepaint = [this] {
        sync();
        picView->update();
    };
    logic_.onResize = [this] { ResizeForm(); };
    // The texts first: they decide the size the window is placed with.
    sync();
    ResizeForm();
}

frmTrace::~frmTrace() {
    logic_.onRepaint = {};
    logic_.onResize = {};
}

void frmTrace::handle(const char* name, const std::function<void()>& body) {
    RunHandler(QStringLiteral("frmTrace"), QString::fromLatin1(name), body);
    sync();
}

void frmTrace::build() {
    auto* top = new QHBoxLayout(this);
    auto* viewGrid = new QGridLayout;
    viewGrid->setSpacing(0);
    picView = new TraceView(*this);
    hsbView = new QScrollBar(Qt::Horizontal);
    vsbView = new QScrollBar(Qt::Vertical);
    viewGrid->addWidget(picView, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    viewGrid->addWidget(vsbView, 0, 1);
    viewGrid->addWidget(hsbView, 1, 0);
    viewGrid->setRowStretch(2, 1);   // the view and its bars stay at the top left
    viewGrid->setColumnStretch(2, 1);
    top->addLayout(viewGrid, 1);
    for (QScrollBar* s : {hsbView, vsbView}) {
        connect(s, &QScrollBar::valueChanged, this, [this] { scrolled(); });
        connect(s, &QScrollBar::sliderReleased, this, [this] { picView->setFocus(); });
    }

    fraControll = new QWidget;
    auto* side = new QVBoxLayout(fraControll);
    side->setContentsMargins(0, 0, 0, 0);
    const auto button = [](const QString& caption, const QString& tip) {
        auto* b = new QPushButton(caption);
        b->setToolTip(tip);
        b->setFocusPolicy(Qt::TabFocus);
        return b;
    };
    const auto check = [](const QString& caption, const QString& tip) {
        auto* c = new QCheckBox(caption);
        c->setToolTip(tip);
        return c;
    };
    cmdImage = button(QStringLiteral("画像更新(&I)"), QStringLiteral("原稿画像ファイルの更新"));
    cmdPhase = button(QStringLiteral("経緯線網(&G)"), QStringLiteral("経緯線網編集モードに移行"));
    chkDouble = check(QStringLiteral("拡大(&B)"), QStringLiteral("画像を拡大"));
    chkMark = check(QStringLiteral("マーキング(&M)"), QStringLiteral("全既存点を表示"));
    chkSnap = check(QStringLiteral("スナップ(&S)"), QStringLiteral("最近の既存点に位置付ける"));
    auto* row1 = new QHBoxLayout;
    row1->addWidget(cmdImage);
    row1->addWidget(cmdPhase);
    side->addLayout(row1);
    auto* row2 = new QHBoxLayout;
    for (QCheckBox* c : {chkDouble, chkMark, chkSnap}) row2->addWidget(c);
    side->addLayout(row2);

    fraPointer = new QGroupBox(QStringLiteral("ポインタ"));
    auto* pg = new QHBoxLayout(fraPointer);
    lblPointerX = new QLabel;
    lblPointerY = new QLabel;
    pg->addWidget(lblPointerX, 1);
    pg->addWidget(lblPointerY, 1);
    side->addWidget(fraPointer);

    fraGrid = new QGroupBox(QStringLiteral("交点"));
    fraGrid->setToolTip(QStringLiteral("アクティブな経緯交点"));
    auto* gg = new QGridLayout(fraGrid);
    lblIxFix = new QLabel(QStringLiteral("イメージＸ:"));
    lblIxBody = new QLabel;
    lblIyFix = new QLabel(QStringLiteral("イメージＹ:"));
    lblIyBody = new QLabel;
    lblLon = new QLabel(QStringLiteral("経度(&X):"));
    lblLat = new QLabel(QStringLiteral("緯度(&Y):"));
    txtLon = new QLineEdit;
    txtLon->setToolTip(QStringLiteral("アクティブハンドルの経度"));
    txtLat = new QLineEdit;
    txtLat->setToolTip(QStringLiteral("アクティブハンドルの緯度"));
    lblLon->setBuddy(txtLon);
    lblLat->setBuddy(txtLat);
    gg->addWidget(lblIxFix, 0, 0);
    gg->addWidget(lblIxBody, 0, 1);
    gg->addWidget(lblIyFix, 1, 0);
    gg->addWidget(lblIyBody, 1, 1);
    gg->addWidget(lblLon, 2, 0);
    gg->addWidget(txtLon, 2, 1);
    gg->addWidget(lblLat, 3, 0);
    gg->addWidget(txtLat, 3, 1);
    side->addWidget(fraGrid);
    connect(txtLon, &QLineEdit::editingFinished, this, [this] {
        handle("txtLon_LostFocus", [this] { logic_.LonLeft(txtLon->text()); });
    });
    connect(txtLat, &QLineEdit::editingFinished, this, [this] {
        handle("txtLat_LostFocus", [this] { logic_.LatLeft(txtLat->text()); });
        picView->setFocus();
    });

    fraNode = new QGroupBox(QStringLiteral("ノード"));
    auto* ng = new QVBoxLayout(fraNode);
    lblNodeLon = new QLabel;
    lblNodeLat = new QLabel;
    ng->addWidget(lblNodeLon);
    ng->addWidget(lblNodeLat);
    side->addWidget(fraNode);

    cmdLoop = button(QStringLiteral("閉鎖線(&L)"), QStringLiteral("連続線をループにする"));
    cmdColor = button(QStringLiteral("ハンドル色(&C)"), QStringLiteral("ハンドルの色をランダムに変更"));
    cmdDelete = button(QStringLiteral("削除(&D)"), QStringLiteral("アクティブポイントを削除"));
    cmdUndo = button(QStringLiteral("やり直し(&U)"), QStringLiteral("最後の操作を取り消す"));
    auto* edits = new QGridLayout;
    edits->addWidget(cmdLoop, 0, 0);
    edits->addWidget(cmdColor, 0, 1);
    edits->addWidget(cmdDelete, 1, 0);
    edits->addWidget(cmdUndo, 1, 1);
    side->addLayout(edits);
    lblMessage = new QLabel;
    lblMessage->setWordWrap(true);
    lblMessage->setFrameShape(QFrame::Panel);
    lblMessage->setFrameShadow(QFrame::Sunken);
    lblMessage->setMinimumHeight(40);
    side->addWidget(lblMessage);
    side->addStretch(1);
    cmdOK = button(QStringLiteral("ＯＫ"), QStringLiteral("設定を確定して閉じる"));
    cmdCancel = button(QStringLiteral("キャンセル"), QStringLiteral("設定を取り消して閉じる"));
    cmdHelp = button(QStringLiteral("ヘルプ(&H)"), QStringLiteral("このダイアログの解説"));
    auto* closing = new QHBoxLayout;
    for (QPushButton* b : {cmdOK, cmdCancel, cmdHelp}) closing->addWidget(b);
    side->addLayout(closing);
    fraControll->setFixedWidth(fraControll->sizeHint().width() + 20);
    top->addWidget(fraControll, 0, Qt::AlignTop);

    setOkButton(cmdOK);
    exemptFromChecks(cmdCancel);
    setHelpContext(frmTraceLogic::HelpContext);
    setHelpButton(cmdHelp);
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        logic_.OK = true;
        closeOK();
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { closeCancel(); });
    connect(cmdImage, &QPushButton::clicked, this, [this] { handle("cmdImage_Click", [this] { logic_.ImageClick(); }); });
    connect(cmdPhase, &QPushButton::clicked, this, [this] { handle("cmdPhase_Click", [this] { logic_.PhaseClick(); }); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { handle("cmdDelete_Click", [this] { logic_.DeleteClick(); }); });
    connect(cmdLoop, &QPushButton::clicked, this, [this] { handle("cmdLoop_Click", [this] { logic_.LoopClick(); }); });
    connect(cmdUndo, &QPushButton::clicked, this, [this] { handle("cmdUndo_Click", [this] { logic_.UndoClick(); }); });
    connect(cmdColor, &QPushButton::clicked, this, [this] { handle("cmdColor_Click", [this] { logic_.ColorClick(); }); });
    connect(chkDouble, &QCheckBox::toggled, this, [this](bool on) {
        handle("chkDouble_Click", [&] { logic_.setZoom(on ? 2 : 1); });
    });
    connect(chkMark, &QCheckBox::toggled, this, [this](bool on) {
        logic_.setMark(on);
        picView->update();
    });
    connect(chkSnap, &QCheckBox::toggled, this, [this](bool on) { logic_.setSnap(on); });
    chkDouble->setChecked(logic_.Zoom() == 2);
    chkMark->setChecked(logic_.Mark());
    chkSnap->setChecked(logic_.Snap());
}

void frmTrace::sync() {
    const TraceControls& c = logic_.Controls();
    const TraceTexts& t = logic_.Texts();
    setWindowTitle(t.caption);
    cmdPhase->setText(c.phaseCaption);
    cmdPhase->setToolTip(c.phaseTip);
    cmdPhase->setEnabled(c.phase);
    cmdDelete->setEnabled(c.del);
    cmdUndo->setEnabled(c.undo);
    cmdLoop->setEnabled(c.loop);
    chkDouble->setEnabled(c.zoom);
    chkMark->setEnabled(c.mark);
    chkSnap->setEnabled(c.snap);
    fraGrid->setEnabled(c.crossFrame);
    fraNode->setEnabled(c.nodeFrame);
    fraGrid->setTitle(t.crossFrame.isEmpty() ? QStringLiteral("交点") : t.crossFrame);
    fraNode->setTitle(t.nodeFrame.isEmpty() ? QStringLiteral("ノード") : t.nodeFrame);
    lblIxBody->setText(t.crossX);
    lblIyBody->setText(t.crossY);
    if (!txtLon->hasFocus()) txtLon->setText(t.lon);
    if (!txtLat->hasFocus()) txtLat->setText(t.lat);
    lblNodeLon->setText(t.nodeLon);
    lblNodeLat->setText(t.nodeLat);
    lblPointerX->setText(t.pointerX);
    lblPointerY->setText(t.pointerY);
    lblMessage->setText(t.message);
}

void frmTrace::ResizeForm() {
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                          : QRect(0, 0, 1280, 1024);
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QSize room(screen.width() * 9 / 10 - fraControll->width() - bar - 30, screen.height() * 9 / 10 - bar - 30);
    const QSize view = logic_.ViewSize(room);
    picView->setFixedSize(view);
    const QSize picture = logic_.PictureSize();
    const int z = logic_.Zoom();
    hsbView->setRange(0, std::max(0, picture.width() - view.width() / z));
    vsbView->setRange(0, std::max(0, picture.height() - view.height() / z));
    hsbView->setPageStep(std::max(1, view.width() / z));
    vsbView->setPageStep(std::max(1, view.height() / z));
    hsbView->setVisible(hsbView->maximum() > 0);
    vsbView->setVisible(vsbView->maximum() > 0);
    logic_.setScroll(hsbView->value(), vsbView->value());
    adjustSize();
    // A larger picture or zoom grows the window from its corner: it stays
    // wholly on the screen all the same.
    keepOnScreens();
    picView->update();
}

void frmTrace::scrolled() {
    logic_.setScroll(hsbView->value(), vsbView->value());
    picView->update();
}

void frmTrace::formKeyDown(int& keyCode, int shift) {
    if (txtLon->hasFocus() || txtLat->hasFocus()) return;
    bool used = false;
    handle("Form_KeyDown", [&] { used = logic_.KeyDown(keyCode); });
    if (used) keyCode = 0;
    else plat::DialogBase::formKeyDown(keyCode, shift);
}

void frmTrace::showEvent(QShowEvent* e) {
    plat::DialogBase::showEvent(e);
    picView->setFocus();
    // Nothing to trace on: the dialog goes away again.
    if (!logic_.HasPicture()) QTimer::singleShot(0, this, [this] { closeCancel(); });
}

// ---------------------------------------------------------------- opening

bool ShowTrace(QWidget* parent) {
    frmTraceLogic& logic = TraceDialog();
    bool opened = false;
    RunHandler(QStringLiteral("frmTrace"), QStringLiteral("Form_Load"), [&] { opened = logic.Open(); });
    if (!opened || !logic.HasPicture()) {
        logic.Close();
        return false;
    }
    {
        frmTrace form(logic, parent);
        form.showModal();
    }
    logic.Close();
    return logic.OK;
}

void InstallTraceWindow(TraceHost host) {
    SetTraceHost(std::move(host));
    FigPolyWindows windows = InstalledFigPolyWindows();
    windows.trace = [](TraceWindowRequest& req) {
        frmTraceLogic& logic = TraceDialog();
        logic.Mode = req.polyMode ? frmTraceLogic::ModePoly : frmTraceLogic::ModePoint;
        logic.PointX = req.PointX;
        logic.PointY = req.PointY;
        logic.Poly = req.Poly;
        logic.ActIndex = req.ActiveNode;
        if (!logic.Win.isSet()) logic.Win = req.firstPosition;
        const bool ok = ShowTrace(QApplication::activeWindow());
        if (ok) {
            req.PointX = logic.PointX;
            req.PointY = logic.PointY;
            req.Poly = logic.Poly;
            req.ActiveNode = logic.ActIndex;
        }
        logic.Poly = clsPoly();
        return ok;
    };
    SetFigPolyWindows(std::move(windows));
}
