#include "frmJump05.h"

#include "ErrorMng.h"
#include "FlexGrid.h"
#include "Fonts.h"
#include "KeyCodes.h"
#include "Screen.h"
#include "basFileNames.h"
#include "basGazetteer.h"
#include "basPlaceKey.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

frmJump05::frmJump05(QWidget* parent) : plat::DialogBase(parent) {
    setWindowTitle(QStringLiteral("地名ジャンプ"));
    build();
    logic_ = std::make_unique<frmJump05Logic>(flgPlaces->cells());
    logic_->SetRedraw = [this](bool on) { flgPlaces->setRedraw(on); };
    logic_->SetTopRow = [this](int32_t row) { flgPlaces->setTopRow(row); };
    logic_->Changed = [this] { refresh(); };
    setOkButton(cmdOK);
    setHelpContext(frmJump05Logic::kHelpContext);
    setHelpButton(cmdHelp);
    exemptFromChecks(cmdCancel);
    exemptFromChecks(cmdHelp);
}

frmJump05::~frmJump05() = default;

template <class F>
void frmJump05::handler(F&& f) {
    try {
        f();
    } catch (...) {
        AppError e = plat::CurrentError();
        AppendErrorSource(e, ErrFormUnload, QStringLiteral("frmJump05"), QStringLiteral("StopError"), QString());
        StopOnFatalError(e, QStringLiteral("by StopError"));
    }
}

void frmJump05::build() {
    lblKey = new QLabel(QStringLiteral("地名キーワード(&K):"), this);
    choKeyword = new QComboBox(this);
    choKeyword->setEditable(true);
    choKeyword->setInsertPolicy(QComboBox::NoInsert);
    choKeyword->setToolTip(QStringLiteral("目的地名の一部、もしくは全部を入力する"));
    lblKey->setBuddy(choKeyword);

    lblList = new QLabel(QStringLiteral("地名リスト(&L)"), this);
    lblList->setToolTip(QStringLiteral("目的地名を探して選択する"));
    flgPlaces = new plat::FlexGrid(this);
    flgPlaces->setCols(kPlaceColumns);
    flgPlaces->setMinimumSize(520, 300);
    lblList->setBuddy(flgPlaces);

    fraSource = new QGroupBox(QStringLiteral("情報源"), this);
    fraSource->setToolTip(QStringLiteral("地名ﾘｽﾄに表示する情報源を選択する"));
    optSource[0] = new QRadioButton(QStringLiteral("地図ユニットリスト(&U)"), fraSource);
    optSource[0]->setToolTip(QStringLiteral("地図ユニットリストから地名を取得する"));
    optSource[1] = new QRadioButton(QStringLiteral("地名辞典(&G)"), fraSource);
    optSource[1]->setToolTip(QStringLiteral("地名辞典から地名を取得する"));
    auto* sourceLayout = new QVBoxLayout(fraSource);
    sourceLayout->addWidget(optSource[0]);
    sourceLayout->addWidget(optSource[1]);

    cmdGazetteer = new QPushButton(QStringLiteral("地名辞典作成(&M)"), this);
    cmdGazetteer->setToolTip(QStringLiteral("全地図から地名辞典を作成する"));
    lblMessage = new QLabel(this);
    lblCount = new QLabel(QStringLiteral("地名数 = "), this);
    lblCount->setToolTip(QStringLiteral("地名の総数"));
    cmdOK = new QPushButton(QStringLiteral("ＯＫ"), this);
    cmdOK->setToolTip(QStringLiteral("ダイアログを閉じて選択地へスクロール"));
    cmdCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cmdCancel->setToolTip(QStringLiteral("設定を取り消して閉じる"));
    cmdHelp = new QPushButton(QStringLiteral("ヘルプ(&H)"), this);
    cmdHelp->setToolTip(QStringLiteral("このダイアログの解説"));
    for (QPushButton* b : {cmdGazetteer, cmdOK, cmdCancel, cmdHelp}) b->setAutoDefault(false);

    auto* left = new QVBoxLayout;
    left->addWidget(lblKey);
    left->addWidget(choKeyword);
    left->addWidget(lblList);
    left->addWidget(flgPlaces, 1);
    auto* status = new QHBoxLayout;
    status->addWidget(lblMessage, 1);
    status->addWidget(lblCount);
    left->addLayout(status);
    auto* side = new QVBoxLayout;
    side->addWidget(fraSource);
    side->addWidget(cmdGazetteer);
    side->addStretch(1);
    side->addWidget(cmdOK);
    side->addWidget(cmdCancel);
    side->addWidget(cmdHelp);
    auto* top = new QHBoxLayout(this);
    top->addLayout(left, 1);
    top->addLayout(side);

    connect(choKeyword, &QComboBox::editTextChanged, this, [this](const QString& t) {
        if (!refreshing_) logic_->setKeyword(t);
    });
    for (int16_t i = 0; i < 2; ++i) {
        connect(optSource[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (refreshing_ || !on) return;
            handler([&] { logic_->SelectSource(i); });
            refresh();
        });
    }
    connect(flgPlaces, &plat::FlexGrid::click, this, [this] {
        if (flgPlaces->MouseRow() != 0) return;
        handler([&] { logic_->HeaderClick(flgPlaces->MouseCol()); });
    });
    connect(flgPlaces, &plat::FlexGrid::dblClick, this, [this] {
        if (flgPlaces->MouseRow() >= 1) ok();
    });
    connect(cmdGazetteer, &QPushButton::clicked, this, [this] {
        handler([&] { logic_->BuildGazetteer(); });
        refresh();
    });
    connect(cmdOK, &QPushButton::clicked, this, &frmJump05::ok);
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        if (logic_->Cancel()) closeCancel();
    });
}

void frmJump05::ok() {
    handler([&] { logic_->Ok(); });
    if (logic_->DialogOK) closeOK();
    else closeCancel();
}

void frmJump05::reject() {
    // Esc and the close box stop a build; they close only an idle dialog.
    if (!logic_->Cancel()) return;
    plat::DialogBase::reject();
}

void frmJump05::formKeyDown(int& keyCode, int shift) {
    QWidget* focus = focusWidget();
    const bool inKeyword = focus && (focus == choKeyword || choKeyword->isAncestorOf(focus));
    if (keyCode == plat::KeyReturn && inKeyword) {
        keyCode = 0;
        handler([&] { logic_->SearchKey(); });
        return;
    }
    if ((keyCode == plat::KeyReturn || keyCode == plat::KeySpace) && focus == flgPlaces) {
        keyCode = 0;
        if (flgPlaces->Row() >= 1 && PlaceCount(flgPlaces->cells()) > 0) ok();
        return;
    }
    plat::DialogBase::formKeyDown(keyCode, shift);
}

void frmJump05::applyGridLook() {
    flgPlaces->setForeColor(static_cast<uint32_t>(GetGridForeColor()));
    flgPlaces->setBackColor(static_cast<uint32_t>(GetGridBackColor()));
    QFont f(plat::ResolveFontFamily(GetGridFontName()));
    const int32_t size = GetGridFontSize();
    if (size > 0) f.setPointSize(size);
    flgPlaces->setFont(f);
}

void frmJump05::setColumnWidths() {
    const double tpp = plat::TwipsPerPixelX();
    const auto w = static_cast<int32_t>((flgPlaces->viewport()->width()) * tpp);
    if (w <= 0) return;
    const int32_t widths[3] = {w * 6 / 20, w * 4 / 20, w * 5 / 20};
    for (int32_t c = 0; c < 3; ++c) flgPlaces->setColWidth(c, widths[c]);
    // The thing column takes the rest, so the list needs no sideways scrolling.
    flgPlaces->setColWidth(3, std::max<int32_t>(w - widths[0] - widths[1] - widths[2] - 2 * static_cast<int32_t>(tpp), 0));
    for (int32_t c = 4; c < kPlaceColumns; ++c) flgPlaces->setColWidth(c, 0);
}

bool frmJump05::loadControls() {
    bool loaded = false;
    handler([&] { loaded = logic_->Load(); });
    if (!loaded) return false;
    applyGridLook();
    setColumnWidths();
    refresh();
    return true;
}

void frmJump05::activateList() {
    handler([&] { logic_->Activate(); });
    refresh();
    choKeyword->setFocus();
}

void frmJump05::unloadControls() {
    handler([&] { logic_->Unload(); });
    refresh();
}

bool frmJump05::showJump() {
    if (!loadControls()) return false;
    open_ = true;
    showModal();
    open_ = false;
    unloadControls();
    return logic_->DialogOK;
}

void frmJump05::showEvent(QShowEvent* e) {
    plat::DialogBase::showEvent(e);
    setColumnWidths();
    // The list is filled once the window is up, as its activation does.
    if (open_) QTimer::singleShot(0, this, [this] { activateList(); });
}

void frmJump05::resizeEvent(QResizeEvent* e) {
    plat::DialogBase::resizeEvent(e);
    setColumnWidths();
}

void frmJump05::refresh() {
    if (refreshing_) return;
    refreshing_ = true;
    const frmJump05Logic::State& s = logic_->state();
    QStringList items;
    for (int i = 0; i < choKeyword->count(); ++i) items << choKeyword->itemText(i);
    if (items != s.history) {
        choKeyword->clear();
        choKeyword->addItems(s.history);
    }
    if (choKeyword->currentText() != s.keyword) choKeyword->setEditText(s.keyword);
    optSource[s.source == 1 ? 1 : 0]->setChecked(true);
    const bool idle = !s.building;
    choKeyword->setEnabled(idle);
    flgPlaces->setEnabled(idle);
    optSource[0]->setEnabled(idle);
    optSource[1]->setEnabled(idle && s.gazetteerEnabled);
    cmdGazetteer->setEnabled(idle && s.buildEnabled);
    cmdOK->setEnabled(idle);
    cmdHelp->setEnabled(idle);
    lblMessage->setText(s.message);
    lblCount->setText(QStringLiteral("地名数 = %1").arg(s.count));
    refreshing_ = false;
}
