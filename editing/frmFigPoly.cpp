#include "frmFigPoly.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

#include "FigureDialogUi.h"
#include "FlexGrid.h"
#include "Fonts.h"
#include "KeyCodes.h"
#include "Screen.h"
#include "basFileNames.h"
#include "basMouseWheel.h"

namespace {

const QString kForm = QStringLiteral("frmFigPoly");

int PixelsX(int32_t twips) { return static_cast<int>(std::lround(twips / plat::TwipsPerPixelX())); }
int PixelsY(int32_t twips) { return static_cast<int>(std::lround(twips / plat::TwipsPerPixelY())); }

// Turns the grid's redraw off for the life of the scope.
class RedrawOff {
public:
    explicit RedrawOff(plat::FlexGrid* g) : grid_(g) { grid_->setRedraw(false); }
    ~RedrawOff() { grid_->setRedraw(true); }

private:
    plat::FlexGrid* grid_;
};

} // namespace

frmFigPoly::frmFigPoly(FigureDialogVars& vars, QWidget* parent) : plat::DialogBase(parent, &vars.Win) {
    RunHandler(kForm, QStringLiteral("Form_Load"), [&] {
        build();
        logic_ = std::make_unique<FigPolyLogic>(vars, flgPoly->cells());
        logic_->windowCorner = [this] {
            return plat::DialogPosition{plat::WindowLeftTwips(this), plat::WindowTopTwips(this)};
        };
        logic_->onChildWindow = [this](bool open) {
            if (open) WheelUnhook(flgPoly);
            else WheelHook(flgPoly);
        };
        {
            RedrawOff off(flgPoly);
            busy_ = true;
            loaded_ = logic_->Load();
            busy_ = false;
        }
        if (!loaded_) return;
        WheelHook(flgPoly);
        setWindowTitle(logic_->Caption());
        setHelpContext(logic_->HelpContext());
        txtX->setToolTip(logic_->XToolTip());
        txtY->setToolTip(logic_->YToolTip());
        choPrint->setCurrentIndex(logic_->ShowModeIndex());
        lblDateBody->setText(logic_->DateText());
        showColor();
        CreateAdminCombo(choAdmin, logic_->Vars().MapUnit->Admins(), logic_->Work());
        CreateThingCombo(choThing, logic_->Vars().MapUnit->Things(), logic_->Work());
        rowChanged();
    });
}

frmFigPoly::~frmFigPoly() {
    if (flgPoly) WheelUnhook(flgPoly);
}

QPushButton* frmFigPoly::nodeButton(const QString& caption, const QString& tip, void (FigPolyLogic::*op)(),
                                    const QString& handler) {
    auto* b = new QPushButton(caption);
    b->setToolTip(tip);
    connect(b, &QPushButton::clicked, this, [this, op, handler] {
        RunHandler(kForm, handler, [&] {
            txtX->hide();
            txtY->hide();
            if (op == &FigPolyLogic::PasteClick) {
                lblInfo->setText(QStringLiteral("解析中..."));
                lblInfo->repaint();
            }
            {
                RedrawOff off(flgPoly);
                busy_ = true;
                struct Done {
                    bool& busy;
                    ~Done() { busy = false; }
                } done{busy_};
                (logic_.get()->*op)();
            }
            rowChanged();
        });
    });
    return b;
}

void frmFigPoly::build() {
    setEnterPolicy(plat::EnterPolicy::MoveToOK);
    auto* grid = new QGridLayout(this);

    auto* left = new QVBoxLayout;
    lblInfo = new QLabel;
    flgPoly = new plat::FlexGrid;
    flgPoly->setMinimumSize(330, 380);
    const QFont font = StyleGrid(flgPoly);
    txtX = new QLineEdit(flgPoly);
    txtY = new QLineEdit(flgPoly);
    for (QLineEdit* e : {txtX, txtY}) {
        e->setFont(font);
        e->setFrame(false);
        e->hide();
    }
    left->addWidget(lblInfo);
    left->addWidget(flgPoly, 1);
    grid->addLayout(left, 0, 0, 2, 1);

    auto* form = new QGridLayout;
    choPrint = new QComboBox;
    choPrint->addItems(ShowModeEntries());
    cmdColor = new QPushButton;
    choAdmin = new QComboBox;
    choAdmin->setMinimumWidth(200);
    choThing = new QComboBox;
    lblDateBody = new QLabel;
    AddFormRow(form, 0, QStringLiteral("固有表示(&D):"), choPrint);
    AddFormRow(form, 1, QStringLiteral("固有色(&L):"), cmdColor);
    lblAdmin = AddFormRow(form, 2, QStringLiteral("行政区名(&A):"), choAdmin);
    lblThing = AddFormRow(form, 3, QStringLiteral("事象名(&T):"), choThing);
    AddFormRow(form, 4, QStringLiteral("生成日時:"), lblDateBody);
    for (QLabel* l : {lblAdmin, lblThing}) {
        l->setCursor(Qt::PointingHandCursor);
        l->setToolTip(QStringLiteral("クリックで一覧から選択"));
        l->installEventFilter(this);
    }
    grid->addLayout(form, 0, 1);

    auto* nodes = new QGridLayout;
    cmdPaste = nodeButton(QStringLiteral("貼り付け(&P)"), QStringLiteral("座標文字列をクリップボードから貼り付け(複数可)"),
                          &FigPolyLogic::PasteClick, QStringLiteral("cmdPaste_Click"));
    cmdInsert = nodeButton(QStringLiteral("挿入(&I)"), QStringLiteral("選択ノードをコピーして直前に挿入"),
                           &FigPolyLogic::InsertClick, QStringLiteral("cmdInsert_Click"));
    cmdReduction = nodeButton(QStringLiteral("削除(&E)"), QStringLiteral("選択ノードを削除"), &FigPolyLogic::DeleteClick,
                              QStringLiteral("cmdReduction_Click"));
    cmdRotation = nodeButton(QStringLiteral("先頭(&O)"), QStringLiteral("選択ノードが先頭になるように回転"),
                             &FigPolyLogic::RotationClick, QStringLiteral("cmdRotation_Click"));
    cmdReverse = nodeButton(QStringLiteral("逆順(&R)"), QStringLiteral("逆順に並べ替え"), &FigPolyLogic::ReverseClick,
                            QStringLiteral("cmdReverse_Click"));
    cmdMove = nodeButton(QStringLiteral("全点移動(&V)"), QStringLiteral("地図上で設定した距離だけ全ノードを移動"),
                         &FigPolyLogic::MoveClick, QStringLiteral("cmdMove_Click"));
    cmdZoom = nodeButton(QStringLiteral("拡大(&Z)"), QStringLiteral("選択ノードを中心に全体を拡大/縮小"),
                         &FigPolyLogic::ZoomClick, QStringLiteral("cmdZoom_Click"));
    cmdPolygon = nodeButton(QStringLiteral("正多角形(&G)"), QStringLiteral("正多角形を形成する連続線を生成して更新"),
                            &FigPolyLogic::RegularPolygonClick, QStringLiteral("cmdPolygon_Click"));
    cmdGreat = nodeButton(QStringLiteral("大圏化(&K)"), QStringLiteral("大圏コースに沿って途上ノードを挿入"),
                          &FigPolyLogic::GreatCircleClick, QStringLiteral("cmdGreat_Click"));
    cmdCurve = nodeButton(QStringLiteral("曲線化(&B)"), QStringLiteral("３次スプラインで滑らかな曲線に変換"),
                          &FigPolyLogic::CurveClick, QStringLiteral("cmdCurve_Click"));
    cmdPress = nodeButton(QStringLiteral("圧縮(&C)"), QStringLiteral("ノード数を約半分に圧縮"), &FigPolyLogic::PressClick,
                          QStringLiteral("cmdPress_Click"));
    cmdOnMap = nodeButton(QStringLiteral("地図上(&M)"), QStringLiteral("地図画像上で形状を編集"), &FigPolyLogic::OnMapClick,
                          QStringLiteral("cmdOnMap_Click"));
    cmdTrace = nodeButton(QStringLiteral("トレース(&S)"), QStringLiteral("原稿画像上で設定"), &FigPolyLogic::TraceClick,
                          QStringLiteral("cmdTrace_Click"));
    const QPushButton* order[] = {cmdPaste,  cmdInsert, cmdReduction, cmdRotation, cmdReverse, cmdMove, cmdZoom,
                                  cmdPolygon, cmdGreat,  cmdCurve,     cmdPress,    cmdOnMap,   cmdTrace};
    for (int i = 0; i < 13; ++i) nodes->addWidget(const_cast<QPushButton*>(order[i]), i / 3, i % 3);
    grid->addLayout(nodes, 1, 1, Qt::AlignTop);

    const DialogButtons b = AddDialogButtons(this, grid, 2, FigPolyLogic::kHelpPolyline);
    cmdOK = b.ok;
    cmdCancel = b.cancel;
    cmdHelp = b.help;
    cmdOK->setDefault(true);

    connect(flgPoly, &plat::FlexGrid::click, this, [this] {
        RunHandler(kForm, QStringLiteral("flgPoly_Click"), [this] { gridClick(flgPoly->MouseRow(), flgPoly->MouseCol()); });
    });
    connect(flgPoly, &plat::FlexGrid::rowColChange, this, [this] {
        if (busy_ || !logic_) return;
        RunHandler(kForm, QStringLiteral("flgPoly_RowColChange"), [this] {
            logic_->RowChanged();
            rowChanged();
        });
    });
    connect(flgPoly, &plat::FlexGrid::scrolled, this, [this] {
        if (!busy_) placeEditors();
    });
    connect(flgPoly, &plat::FlexGrid::mouseMove, this, [this](int, int, int, int) {
        if (!logic_ || flgPoly->MouseRow() < 1) return;
        const QString tip = logic_->GridToolTip(flgPoly->MouseCol());
        if (tip != flgPoly->ToolTipText()) flgPoly->setToolTipText(tip);
    });
    for (QLineEdit* e : {txtX, txtY}) addFieldCheck(e, [this, e] { return commitEditor(e); });
    connect(choPrint, &QComboBox::activated, this, [this](int index) {
        RunHandler(kForm, QStringLiteral("choPrint_Click"), [&] { logic_->ShowModeClick(index); });
    });
    connect(cmdColor, &QPushButton::clicked, this, [this] {
        RunHandler(kForm, QStringLiteral("cmdColor_Click"), [this] {
            logic_->ColorClick();
            showColor();
        });
    });
    connect(choAdmin, &QComboBox::activated, this, [this] {
        RunHandler(kForm, QStringLiteral("choAdmin_Click"), [this] {
            const int32_t code = ComboNumber(choAdmin, -2);
            if (code >= -1) logic_->Work().setAdmin(code);
        });
    });
    connect(choThing, &QComboBox::activated, this, [this] {
        RunHandler(kForm, QStringLiteral("choThing_Click"), [this] {
            const int32_t number = ComboNumber(choThing, -2);
            if (number >= -1) logic_->Work().setThing(number);
        });
    });
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        RunHandler(kForm, QStringLiteral("cmdOK_Click"), [this] { okClick(); });
    });
}

void frmFigPoly::showColor() { ApplyColorLook(cmdColor, logic_->ColorLook()); }

void frmFigPoly::layoutColumns() {
    const int32_t width = static_cast<int32_t>(std::lround(flgPoly->viewport()->width() * plat::TwipsPerPixelX()));
    flgPoly->setColWidth(FigPolyLogic::ColNumber, width * 6 / 50);
    flgPoly->setColWidth(FigPolyLogic::ColX, width * 18 / 50);
    flgPoly->setColWidth(FigPolyLogic::ColY, width * 18 / 50);
    flgPoly->setColWidth(FigPolyLogic::ColMark, width - 2 * (width * 18 / 50) - width * 6 / 50);
    flgPoly->setColWidth(FigPolyLogic::ColValueX, 0);
    flgPoly->setColWidth(FigPolyLogic::ColValueY, 0);
    placeEditors();
}

void frmFigPoly::rowChanged() {
    const int32_t row = flgPoly->Row();
    const int32_t n = logic_->NodeCount();
    if (row >= 1 && row <= n) {
        if (!flgPoly->RowIsVisible(row)) flgPoly->setTopRow(row > 2 ? row - 2 : 1);
        else if (row < n - 1 && !flgPoly->RowIsVisible(row + 1)) flgPoly->setTopRow(flgPoly->TopRow() + 1);
    }
    placeEditors();
    const NodeButtons b = logic_->Buttons();
    cmdReduction->setEnabled(b.reduction);
    cmdReverse->setEnabled(b.reverse);
    cmdRotation->setEnabled(b.rotation);
    cmdMove->setEnabled(b.move);
    cmdGreat->setEnabled(b.great);
    cmdTrace->setEnabled(b.trace);
    lblInfo->setText(logic_->PolyInfo());
}

void frmFigPoly::placeEditors() {
    const int32_t row = flgPoly->Row();
    if (row < 1 || row > logic_->NodeCount() || !flgPoly->RowIsVisible(row)) {
        txtX->hide();
        txtY->hide();
        return;
    }
    const int top = PixelsY(flgPoly->RowPos(row));
    const int height = PixelsY(flgPoly->RowHeight(row));
    for (int32_t col : {FigPolyLogic::ColX, FigPolyLogic::ColY}) {
        const int left = PixelsX(flgPoly->ColPos(col));
        editorOf(col)->setGeometry(left, top, PixelsX(flgPoly->ColWidth(col) + 15), height);
    }
}

QLineEdit* frmFigPoly::editorOf(int32_t col) const { return col == FigPolyLogic::ColX ? txtX : txtY; }

bool frmFigPoly::commitEditor(QLineEdit* editor) {
    if (!editor->isVisible()) return true;
    const int32_t col = editor == txtX ? FigPolyLogic::ColX : FigPolyLogic::ColY;
    if (!logic_->CommitCell(col, editor->text())) return false;
    editor->hide();
    rowChanged();
    return true;
}

void frmFigPoly::openEditor(int32_t col) {
    QLineEdit* editor = editorOf(col);
    const int32_t row = flgPoly->Row();
    if (row < 1 || row > logic_->NodeCount()) return;
    editor->setText(flgPoly->TextMatrix(row, col));
    placeEditors();
    editor->show();
    editor->raise();
    editor->setFocus(Qt::MouseFocusReason);
    editor->selectAll();
}

void frmFigPoly::gridClick(int32_t row, int32_t col) {
    if (row == 0) {
        logic_->SetCurrentRow(logic_->Vars().ActiveNode);
        rowChanged();
        return;
    }
    if (row < 1 || row > logic_->NodeCount()) return;
    if (col == FigPolyLogic::ColX || col == FigPolyLogic::ColY) openEditor(col);
    else if (col == FigPolyLogic::ColMark) logic_->ToggleCut(row);
}

void frmFigPoly::formKeyDown(int& keyCode, int shift) {
    QWidget* focus = focusWidget();
    if (keyCode == plat::KeyEscape && (focus == txtX || focus == txtY) && focus->isVisible()) {
        // Esc gives up the cell's edit, not the dialog. Hidden first, the
        // editor is not committed by the focus leaving it.
        keyCode = 0;
        focus->hide();
        flgPoly->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (keyCode == plat::KeyReturn && (focus == txtX || focus == txtY)) {
        keyCode = 0;
        if (commitEditor(static_cast<QLineEdit*>(focus))) cmdOK->setFocus(Qt::OtherFocusReason);
        return;
    }
    plat::DialogBase::formKeyDown(keyCode, shift);
}

bool frmFigPoly::eventFilter(QObject* o, QEvent* e) {
    if ((o == lblAdmin || o == lblThing) && e->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        RunHandler(kForm, o == lblAdmin ? QStringLiteral("lblAdmin_Click") : QStringLiteral("lblThing_Click"), [&] {
            if (o == lblAdmin) pickAdmin();
            else pickThing();
        });
        return true;
    }
    return plat::DialogBase::eventFilter(o, e);
}

void frmFigPoly::pickAdmin() {
    PickAdmin(this, choAdmin, logic_->Work(), logic_->Vars().MapUnit->Admins(), logic_->onChildWindow);
}

void frmFigPoly::pickThing() {
    PickThing(this, choThing, logic_->Work(), logic_->Vars().MapUnit->Things(), logic_->onChildWindow);
}

void frmFigPoly::okClick() {
    for (QLineEdit* e : {txtX, txtY})
        if (!commitEditor(e)) return;
    switch (logic_->OkClick()) {
    case OkOutcome::Closed: closeOK(); break;
    case OkOutcome::Cancelled: closeCancel(); break;
    case OkOutcome::Stay: break;
    }
}

void frmFigPoly::showEvent(QShowEvent* e) {
    plat::DialogBase::showEvent(e);
    layoutColumns();
    rowChanged();
    flgPoly->setFocus(Qt::OtherFocusReason);
}

void frmFigPoly::resizeEvent(QResizeEvent* e) {
    plat::DialogBase::resizeEvent(e);
    if (loaded_) layoutColumns();
}

void RunFigPoly(FigureDialogVars& vars) {
    frmFigPoly dlg(vars);
    if (dlg.loaded()) dlg.showModal();
    dlg.logic().Unload();
}
