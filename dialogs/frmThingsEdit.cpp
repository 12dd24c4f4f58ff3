#include "frmThingsEdit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

#include "FormErrors.h"
#include "FlexGrid.h"
#include "FormControls.h"
#include "Fonts.h"
#include "Screen.h"
#include "basHMap.h"
#include "basMouseWheel.h"
#include "basFileNames.h"

namespace {

const QString kForm = QStringLiteral("frmThingsEdit");

QLabel* Label(const QString& caption, QWidget* buddy) {
    auto* l = new QLabel(caption, buddy->parentWidget());
    l->setBuddy(buddy);
    l->setToolTip(buddy->toolTip());
    return l;
}

} // namespace

frmThingsEdit::frmThingsEdit(QWidget* parent, ThingsEditModel& model) : DialogBase(parent, &model.Position), model_(model) {
    setObjectName(kForm);
    build();
    model_.attach(&flgThings_->cells());
    setOkButton(cmdOK_);
    setEnterPolicy(plat::EnterPolicy::MoveToOK);
    exemptFromChecks(cmdCancel_);
    setHelpContext(ThingsEditModel::kHelpContext);
    connect(this, &QDialog::finished, this, [this] { unload(); });
}

frmThingsEdit::~frmThingsEdit() {
    // Unloading empties the grid, which tells the handlers.
    plat::CutOffChildren(this);
    unload();
    model_.attach(nullptr);
}

void frmThingsEdit::build() {
    setWindowTitle(QStringLiteral("事象編集"));
    flgThings_ = new plat::FlexGrid(this);
    flgThings_->setObjectName(QStringLiteral("flgThings"));
    flgThings_->setToolTip(QStringLiteral("アクティブ地図に含まれる全事象のリスト"));
    flgThings_->setFormatString(ThingsEditModel::GridFormat());
    flgThings_->setRows(1);
    auto* lblList = Label(QStringLiteral("事象リスト(L):"), flgThings_);
    lblTotal_ = new QLabel(this);
    lblTotal_->setObjectName(QStringLiteral("lblTotal"));
    lblTotal_->setToolTip(QStringLiteral("事象リストに含まれる事象の数"));

    auto* fraActive = new QGroupBox(QStringLiteral("アクティブ事象"), this);
    fraActive->setObjectName(QStringLiteral("fraActive"));
    fraActive->setToolTip(QStringLiteral("選択事象の編集エリア"));
    choNumber_ = new QComboBox(fraActive);
    choNumber_->setObjectName(QStringLiteral("choNumber"));
    choNumber_->setEditable(true);
    choNumber_->setToolTip(QStringLiteral("事象の番号を設定(0～999)"));
    txtName_ = new QLineEdit(fraActive);
    txtName_->setObjectName(QStringLiteral("txtName"));
    txtName_->setToolTip(QStringLiteral("事象の名前を設定"));
    choFigure_ = new QComboBox(fraActive);
    choFigure_->setObjectName(QStringLiteral("choFigure"));
    choFigure_->setToolTip(QStringLiteral("事象を表現する図形の種類を選択"));
    choCategory_ = new QComboBox(fraActive);
    choCategory_->setObjectName(QStringLiteral("choCategory"));
    choCategory_->setToolTip(QStringLiteral("事象の分類を選択"));
    auto* fields = new QGridLayout(fraActive);
    fields->addWidget(Label(QStringLiteral("事象番号(&I):"), choNumber_), 0, 0);
    fields->addWidget(choNumber_, 0, 1);
    fields->addWidget(Label(QStringLiteral("図形種(&F):"), choFigure_), 0, 2);
    fields->addWidget(choFigure_, 0, 3);
    fields->addWidget(Label(QStringLiteral("事象名(&N):"), txtName_), 1, 0);
    fields->addWidget(txtName_, 1, 1);
    fields->addWidget(Label(QStringLiteral("カテゴリー(&C):"), choCategory_), 1, 2);
    fields->addWidget(choCategory_, 1, 3);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);

    cmdInsert_ = NamedButton(QStringLiteral("cmdInsert"), QStringLiteral("挿入(&S)"), QStringLiteral("アクティブ事象を選択事象の直前に挿入"), this);
    cmdReplace_ = NamedButton(QStringLiteral("cmdReplace"), QStringLiteral("置換(&W)"),
                         QStringLiteral("厳重注意！　アクティブ事象の内容を選択事象に上書き"), this);
    cmdDelete_ = NamedButton(QStringLiteral("cmdDelete"), QStringLiteral("削除(&D)"), QStringLiteral("厳重注意！　選択事象を削除"), this);
    cmdUp_ = NamedButton(QStringLiteral("cmdUp"), QStringLiteral("▲"), QStringLiteral("記述位置を１行上に移動"), this);
    cmdDown_ = NamedButton(QStringLiteral("cmdDown"), QStringLiteral("▼"), QStringLiteral("記述位置を１行下に移動"), this);
    cmdOK_ = NamedButton(QStringLiteral("cmdOK"), QStringLiteral("ＯＫ"), QString(), this);
    cmdCancel_ = NamedButton(QStringLiteral("cmdCancel"), QStringLiteral("キャンセル"), QString(), this);
    auto* help = NamedButton(QStringLiteral("cmdHelp"), QStringLiteral("ヘルプ(&H)"), QString(), this);
    setHelpButton(help);

    auto* listHead = new QHBoxLayout;
    listHead->addWidget(lblList);
    listHead->addStretch(1);
    listHead->addWidget(lblTotal_);
    auto* moves = new QVBoxLayout;
    moves->addStretch(1);
    moves->addWidget(cmdUp_);
    moves->addWidget(cmdDown_);
    moves->addStretch(1);
    auto* list = new QHBoxLayout;
    list->addWidget(flgThings_, 1);
    list->addLayout(moves);
    auto* edits = new QHBoxLayout;
    for (QPushButton* b : {cmdInsert_, cmdReplace_, cmdDelete_}) edits->addWidget(b);
    edits->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {cmdOK_, cmdCancel_, help}) buttons->addWidget(b);
    auto* all = new QVBoxLayout(this);
    all->addLayout(listHead);
    all->addLayout(list, 1);
    all->addWidget(fraActive);
    all->addLayout(edits);
    all->addLayout(buttons);
    resize(560, 480);

    const auto command = [this](QPushButton* b, const char* name, void (ThingsEditModel::*op)()) {
        connect(b, &QPushButton::clicked, this, [this, name, op] {
            ThingsEditModel& m = model_;
            runCommand(name, [&m, op] { (m.*op)(); });
        });
    };
    command(cmdInsert_, "cmdInsert_Click", &ThingsEditModel::Insert);
    command(cmdReplace_, "cmdReplace_Click", &ThingsEditModel::Replace);
    command(cmdDelete_, "cmdDelete_Click", &ThingsEditModel::Delete);
    command(cmdUp_, "cmdUp_Click", &ThingsEditModel::Up);
    command(cmdDown_, "cmdDown_Click", &ThingsEditModel::Down);
    connect(flgThings_, &plat::FlexGrid::rowColChange, this, [this] {
        if (refreshing_) return;
        handler("flgThings_RowColChange", [this] { model_.ShowThingRow(); });
    });
    connect(cmdOK_, &QPushButton::clicked, this, [this] {
        handler("cmdOK_Click", [this] { model_.OK(); });
        closeOK();
    });
    connect(cmdCancel_, &QPushButton::clicked, this, [this] { closeCancel(); });
}

void frmThingsEdit::runCommand(const char* name, const std::function<void()>& op) {
    handler(name, [this, &op] {
        pull();
        op();
    });
}

void frmThingsEdit::handler(const char* name, const std::function<void()>& f) {
    RunHandler(kForm, QString::fromLatin1(name), [&] {
        try {
            f();
        } catch (...) {
            WheelUnhook(flgThings_);   // before the fatal stop
            throw;
        }
    });
    refresh();
}

bool frmThingsEdit::loadControls() {
    bool loaded = false;
    handler("Form_Load", [this, &loaded] {
        setDialogOK(false);
        WheelHook(flgThings_);
        ApplyGridLook(flgThings_);
        choNumber_->clear();
        for (int n = 0; n <= ThingsEditModel::kMaxNumber; ++n) choNumber_->addItem(QString::number(n));
        choFigure_->clear();
        for (int k = 1; k <= 5; ++k) choFigure_->addItem(FigCodeToName(k, 2));
        if (!model_.Load()) return;
        choCategory_->clear();
        choCategory_->addItems(model_.CategoryNames);
        setWindowTitle(model_.Caption());
        if (layout()) layout()->activate();
        sizeColumns();
        for (QWidget* w : std::initializer_list<QWidget*>{choNumber_, choCategory_, choFigure_, txtName_, cmdUp_, cmdDown_,
                                                          cmdDelete_, cmdReplace_, cmdInsert_})
            w->setEnabled(!model_.Locked);
        loaded = loaded_ = true;
    });
    return loaded;
}

void frmThingsEdit::sizeColumns() {
    const auto width = static_cast<int32_t>(std::lround(flgThings_->width() * plat::TwipsPerPixelX()));
    const int32_t number = 700, kind = 900;
    flgThings_->setColWidth(0, number);
    flgThings_->setColWidth(2, kind);
    flgThings_->setColWidth(1, std::max((width - number - kind) / 3, 600));
    flgThings_->setColWidth(3, width);
}

void frmThingsEdit::showEvent(QShowEvent* e) {
    DialogBase::showEvent(e);
    if (!loaded_) return;
    sizeColumns();
    // Asked once the window stands, so the question appears over it.
    QTimer::singleShot(0, this, [this] {
        if (!loaded_ || model_.Warned) return;
        bool go = true;
        handler("Form_Activate", [this, &go] { go = model_.Activate(); });
        if (!go) closeCancel();
    });
}

void frmThingsEdit::pull() {
    model_.NumberText = choNumber_->currentText();
    model_.Name = txtName_->text();
    model_.FigureIndex = std::max(choFigure_->currentIndex(), 0);
    model_.CategoryIndex = std::max(choCategory_->currentIndex(), 0);
}

void frmThingsEdit::refresh() {
    if (refreshing_ || !loaded_) return;
    refreshing_ = true;
    choNumber_->setCurrentText(model_.NumberText);
    txtName_->setText(model_.Name);
    choFigure_->setCurrentIndex(model_.FigureIndex);
    if (choCategory_->count() > 0) choCategory_->setCurrentIndex(model_.CategoryIndex);
    lblTotal_->setText(model_.TotalText());
    if (!model_.Locked) {
        cmdUp_->setEnabled(model_.UpEnabled());
        cmdDown_->setEnabled(model_.DownEnabled());
    }
    refreshing_ = false;
}

void frmThingsEdit::unload() {
    if (!loaded_) return;
    loaded_ = false;
    handler("Form_Unload", [this] {
        WheelUnhook(flgThings_);
        model_.Unload();
    });
}

bool ShowThingsEditDialog(QWidget* mainWindow, clsThings* things, clsMap* map) {
    ThingsEditModel& m = ThingsEdit();
    m.TargetThings = things;
    m.TargetMap = map;
    if (mainWindow) m.Position.presetIfFirst(plat::WindowLeftTwips(mainWindow), plat::WindowTopTwips(mainWindow), 600, 600);
    {
        frmThingsEdit dlg(mainWindow, m);
        if (dlg.loadControls()) dlg.showModal();
    }
    m.TargetThings = nullptr;
    m.TargetMap = nullptr;
    return m.DialogOK;
}
