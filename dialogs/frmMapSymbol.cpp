#include "frmMapSymbol.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

#include <array>
#include <cmath>

#include "ErrorMng.h"
#include "ExpStyleModel.h"
#include "FlexGrid.h"
#include "FormControls.h"
#include "Fonts.h"
#include "KeyCodes.h"
#include "MapSymbolHost.h"
#include "MapSymbolLegend.h"
#include "Screen.h"
#include "basFileNames.h"
#include "basMouseWheel.h"
#include "frmExpStyle.h"
#include "frmExpText.h"
#include "frmRange.h"

namespace {

const QString kForm = QStringLiteral("frmMapSymbol");

// Design widths (twips) of the thing grid's columns 0..5 before the spare
// width is shared out, and of the district grid's columns 1 and 2.
constexpr std::array<int32_t, 6> kThingWidths = {300, 1800, 700, 600, 1500, 1000};
constexpr int32_t kAdminPageWidth = 1000, kAdminShowWidth = 700;
constexpr int32_t kScrollBarTwips = 255;

QCheckBox* Check(const QString& name, const QString& caption, const QString& tip, QWidget* parent) {
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(name);
    c->setToolTip(tip);
    return c;
}

QComboBox* Choice(const QString& name, const QString& tip, QWidget* parent) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setToolTip(tip);
    return c;
}

// A label with the control's tooltip, its buddy for the mnemonic.
QHBoxLayout* Labelled(const QString& caption, QWidget* control) {
    auto* l = new QLabel(caption, control->parentWidget());
    l->setBuddy(control);
    l->setToolTip(control->toolTip());
    auto* row = new QHBoxLayout;
    row->addWidget(l);
    row->addWidget(control, 1);
    return row;
}

int32_t ToPixelsX(int32_t twips) { return static_cast<int32_t>(std::lround(twips / plat::TwipsPerPixelX())); }
int32_t ToPixelsY(int32_t twips) { return static_cast<int32_t>(std::lround(twips / plat::TwipsPerPixelY())); }

} // namespace

frmMapSymbol::frmMapSymbol(QWidget* parent, MapSymbolModel& model) : DialogBase(parent, &model.Position), model_(model) {
    setObjectName(kForm);
    build();
    model_.attach(&flgThings_->cells(), &flgAdmins_->cells());
    installEditors();
    connectControls();
    setOkButton(cmdOK_);
    setEnterPolicy(plat::EnterPolicy::MoveToOK);
    exemptFromChecks(cmdCancel_);
    setHelpContext(MapSymbolModel::kHelpContext);
    connect(this, &QDialog::finished, this, [this] { unload(); });
}

frmMapSymbol::~frmMapSymbol() {
    // Unloading empties the grids, which tell the handlers.
    plat::CutOffChildren(this);
    unload();
    model_.attach(nullptr, nullptr);
    model_.ShowRange = nullptr;
    model_.ShowStyle = nullptr;
    model_.SetRedraw = nullptr;
    model_.EnableForm = nullptr;
}

void frmMapSymbol::build() {
    setWindowTitle(QStringLiteral("地図記号"));
    choMap_ = Choice(QStringLiteral("choMap"), QStringLiteral("操作したい地図を選択"), this);
    chkUnitSync_ = Check(QStringLiteral("chkUnitSync"), QStringLiteral("全地図連動(&Q)"),
                         QStringLiteral("操作結果を全ての地図ユニットに書き込む"), this);
    chkPreview_ = Check(QStringLiteral("chkPreview"), QStringLiteral("プレビュー(&V)"), QStringLiteral("地図ビューに仮描画する"), this);
    tbsExp_ = new QTabBar(this);
    tbsExp_->setObjectName(QStringLiteral("tbsExp"));
    tbsExp_->addTab(QStringLiteral("行政区リスト（&A）"));
    tbsExp_->setTabToolTip(0, QStringLiteral("行政区が参照する事象ページを設定"));
    tbsExp_->addTab(QStringLiteral("事象リスト（&T）"));
    tbsExp_->setTabToolTip(1, QStringLiteral("各事象の図式を設定"));
    fraTab_ = new QStackedWidget(this);

    // the district tab
    auto* admins = new QWidget(fraTab_);
    admins->setObjectName(QStringLiteral("fraTab0"));
    choArea_ = Choice(QStringLiteral("choArea"), QStringLiteral("目的の行政区を含む地域"), admins);
    chkAreaSync_ = Check(QStringLiteral("chkAreaSync"), QStringLiteral("地域グループ内連動(&E)"),
                         QStringLiteral("選択地域内の全行政区を一括して変更する"), admins);
    flgAdmins_ = new plat::FlexGrid(admins);
    flgAdmins_->setObjectName(QStringLiteral("flgAdmins"));
    flgAdmins_->setFormatString(MapSymbolModel::AdminFormat());
    flgAdmins_->setRows(1);
    lstPage_ = new QListWidget(admins);
    lstPage_->setObjectName(QStringLiteral("lstPage"));
    for (int p = 1; p <= 8; ++p) lstPage_->addItem(QString::number(p));
    lstPage_->installEventFilter(this);
    auto* allOne = NamedButton(QStringLiteral("cmdAllAdminOne"), QStringLiteral("全行政区がページ１(&1)"),
                          QStringLiteral("全ての行政区がページ１を参照するように変更する"), admins);
    auto* allShow = NamedButton(QStringLiteral("cmdAllAdminShow"), QStringLiteral("全行政区表示(&2)"),
                           QStringLiteral("すべての行政区を「表示」に設定する"), admins);
    auto* allHide = NamedButton(QStringLiteral("cmdAllAdminHide"), QStringLiteral("全行政区隠蔽(&3)"),
                           QStringLiteral("すべての行政区を「隠蔽」に設定する"), admins);
    auto* adminTop = Labelled(QStringLiteral("地域グループ(&C):"), choArea_);
    adminTop->addWidget(chkAreaSync_);
    auto* adminButtons = new QHBoxLayout;
    cmdColoredMap_ = NamedButton(QStringLiteral("cmdColoredMap"), QStringLiteral("色分け地図(&U)"),
                            QStringLiteral("自動で行政区別に陸地を色分けする"), admins);
    for (QPushButton* b : {allOne, allShow, allHide, cmdColoredMap_}) adminButtons->addWidget(b);
    adminButtons->addStretch(1);
    auto* adminBox = new QVBoxLayout(admins);
    adminBox->addLayout(adminTop);
    adminBox->addWidget(flgAdmins_, 1);
    adminBox->addLayout(adminButtons);
    connect(allOne, &QPushButton::clicked, this, [this] { handler("cmdAllAdminOne_Click", [this] { model_.AllAdminOne(); }); });
    connect(allShow, &QPushButton::clicked, this, [this] { handler("cmdAllAdminShow_Click", [this] { model_.AllAdminShow(true); }); });
    connect(allHide, &QPushButton::clicked, this, [this] { handler("cmdAllAdminHide_Click", [this] { model_.AllAdminShow(false); }); });
    connect(cmdColoredMap_, &QPushButton::clicked, this, [this] {
        handler("cmdColoredMap_Click", [this] { model_.ColoredMap(); });
    });

    // the thing tab
    auto* things = new QWidget(fraTab_);
    things->setObjectName(QStringLiteral("fraTab1"));
    choPage_ = Choice(QStringLiteral("choPage"), QStringLiteral("リストに表示する事象ページを選択"), things);
    for (int p = 1; p <= 8; ++p) choPage_->addItem(QString::number(p));
    chkPageSync_ = Check(QStringLiteral("chkPageSync"), QStringLiteral("全ページ連動(&R)"),
                         QStringLiteral("操作結果を８つのﾍﾟｰｼﾞに書き込む"), things);
    chkDispAll_ = Check(QStringLiteral("chkDispAll"), QStringLiteral("全事象表示(&W)"),
                        QStringLiteral("ｵﾝ=事象ﾌｧｲﾙ中の全事象をﾘｽﾄに表示，ｵﾌ=地図中で使用中の事象のみ表示"), things);
    flgThings_ = new plat::FlexGrid(things);
    flgThings_->setObjectName(QStringLiteral("flgThings"));
    flgThings_->setFormatString(MapSymbolModel::ThingFormat());
    flgThings_->setRows(1);
    auto* thingTop = Labelled(QStringLiteral("ページ(&P):"), choPage_);
    thingTop->addWidget(chkPageSync_);
    thingTop->addWidget(chkDispAll_);
    thingTop->addStretch(1);
    cmdPopup_ = NamedButton(QStringLiteral("cmdPopup"), QStringLiteral("事象操作メニュー(&M)"),
                       QStringLiteral("選択事象を操作するポップアップメニュー"), things);
    thingTop->addWidget(cmdPopup_);
    buildPopup();
    auto* thingBox = new QVBoxLayout(things);
    thingBox->addLayout(thingTop);
    thingBox->addWidget(flgThings_, 1);
    thingBox->addWidget(buildLibrary(things));
    fraTab_->addWidget(admins);
    fraTab_->addWidget(things);

    cmdOK_ = NamedButton(QStringLiteral("cmdOK"), QStringLiteral("ＯＫ"), QStringLiteral("設定を確定して閉じる"), this);
    cmdCancel_ = NamedButton(QStringLiteral("cmdCancel"), QStringLiteral("キャンセル"), QStringLiteral("設定を取り消して閉じる"), this);
    auto* help = NamedButton(QStringLiteral("cmdHelp"), QStringLiteral("ヘルプ(&H)"), QStringLiteral("このダイアログの解説"), this);
    setHelpButton(help);

    auto* top = Labelled(QStringLiteral("アクティブ地図(&B):"), choMap_);
    top->addWidget(chkUnitSync_);
    top->addWidget(chkPreview_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {cmdOK_, cmdCancel_, help}) buttons->addWidget(b);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addWidget(tbsExp_);
    all->addWidget(fraTab_, 1);
    all->addLayout(buttons);
    resize(720, 520);
}

void frmMapSymbol::handler(const char* name, const std::function<void()>& f) {
    try {
        f();
    } catch (...) {
        AppError e = plat::CurrentError();
        hookWheels(false);
        AppendErrorSource(e, ErrFormUnload, kForm, QString::fromLatin1(name), QString());
        StopOnFatalError(e, QStringLiteral("by StopError"));
    }
    refresh();
}

void frmMapSymbol::hookWheels(bool on) {
    for (plat::FlexGrid* g : {flgThings_, flgAdmins_}) {
        if (on) WheelHook(g);
        else WheelUnhook(g);
    }
}

void frmMapSymbol::installEditors() {
    // The editors open beside this dialog; the grids give up the wheel
    // while one is shown.
    model_.ShowRange = [this](RangeModel& range) {
        range.Position.presetIfFirst(plat::WindowLeftTwips(this), plat::WindowTopTwips(this), 1200, -300);
        hookWheels(false);
        bool ok = false;
        {
            frmRange dlg(this, range);
            ok = dlg.showModal();
        }
        hookWheels(true);
        return ok;
    };
    model_.ShowStyle = [this](ExpStyleModel& m) {
        m.Position.presetIfFirst(plat::WindowLeftTwips(this), plat::WindowTopTwips(this), 1800, 300);
        hookWheels(false);
        bool ok = false;
        if (auto* line = dynamic_cast<ExpPolylineModel*>(&m)) {
            frmExpPolyline dlg(this, *line);
            ok = dlg.showModal();
        } else if (auto* fill = dynamic_cast<ExpPolygonModel*>(&m)) {
            frmExpPolygon dlg(this, *fill);
            ok = dlg.showModal();
        } else if (auto* symbol = dynamic_cast<ExpSymbolModel*>(&m)) {
            frmExpSymbol dlg(this, *symbol);
            ok = dlg.showModal();
        }
        hookWheels(true);
        return ok;
    };
    model_.ShowTextStyle = [this](TextStyleFields& f) {
        ExpTextModel& m = ExpText();
        m.Position.presetIfFirst(plat::WindowLeftTwips(this), plat::WindowTopTwips(this), 1800, 300);
        m.Title = f.Title;
        m.Fore = f.Fore;
        m.Back = f.Back;
        m.Style = f.Style;
        m.Size = f.Size;
        m.EuropianFont = f.EuropianFont;
        m.JapaneseFont = f.JapaneseFont;
        hookWheels(false);
        bool ok = false;
        {
            frmExpText dlg(this, m);
            ok = dlg.showModal();
        }
        hookWheels(true);
        if (ok) f = {f.Title, m.Fore, m.Back, m.Style, static_cast<int16_t>(m.Size), m.EuropianFont, m.JapaneseFont};
        return ok;
    };
    model_.SetRedraw = [this](plat::FlexGridData* grid, bool on) {
        (grid == &flgThings_->cells() ? flgThings_ : flgAdmins_)->setRedraw(on);
    };
    model_.EnableForm = [this](bool on) { setEnabled(on); };
}

void frmMapSymbol::connectControls() {
    connect(choMap_, &QComboBox::activated, this, [this](int i) {
        handler("choMap_Click", [this, i] { model_.ChooseMap(i + 1); });
    });
    connect(tbsExp_, &QTabBar::currentChanged, this, [this](int i) {
        if (refreshing_) return;
        handler("tbsExp_Click", [this, i] { model_.ChooseTab(static_cast<int16_t>(i)); });
    });
    const auto onBox = [this](QCheckBox* box, const char* name, std::function<void(bool)> set) {
        connect(box, &QCheckBox::toggled, this, [this, name, set](bool on) {
            if (refreshing_) return;
            handler(name, [&] { set(on); });
        });
    };
    onBox(chkUnitSync_, "chkUnitSync_Click", [this](bool on) { model_.EiUnitSync = on; });
    onBox(chkAreaSync_, "chkAreaSync_Click", [this](bool on) { model_.EiAreaSync = on; });
    onBox(chkPageSync_, "chkPageSync_Click", [this](bool on) { model_.EiPageSync = on; });
    onBox(chkPreview_, "chkPreview_Click", [this](bool on) { model_.SetPreview(on); });
    onBox(chkDispAll_, "chkDispAll_Click", [this](bool on) { model_.SetDispAll(on); });
    connect(choPage_, &QComboBox::activated, this, [this](int i) {
        handler("choPage_Click", [this, i] { model_.ChoosePage(static_cast<int16_t>(i + 1)); });
    });
    connect(choArea_, &QComboBox::activated, this, [this](int i) {
        handler("choArea_Click", [this, i] { model_.ChooseArea(i); });
    });

    // district grid
    connect(flgAdmins_, &plat::FlexGrid::click, this, [this] {
        if (flgAdmins_->MouseRow() < 1) return;
        handler("flgAdmins_Click", [this] {
            if (model_.AdminClick(flgAdmins_->Row(), flgAdmins_->Col())) dropPageList(flgAdmins_->Row());
        });
    });
    connect(flgAdmins_, &plat::FlexGrid::keyDown, this, [this](int& key, int) {
        handler("flgAdmins_KeyDown", [this, &key] { model_.AdminKeyDown(key); });
    });
    connect(flgAdmins_, &plat::FlexGrid::mouseMove, this, [this](int, int, int, int) {
        flgAdmins_->setToolTipText(MapSymbolModel::AdminToolTip(flgAdmins_->MouseCol()));
    });
    connect(lstPage_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (!lstPage_->isVisible()) return;
        handler("lstPage_Click", [this, item] { model_.SetAdminPage(item->text().toInt()); });
        hidePageList();
    });

    // thing grid
    connect(flgThings_, &plat::FlexGrid::click, this, [this] {
        if (flgThings_->MouseRow() < 1) return;
        handler("flgThings_Click", [this] { model_.ThingClick(flgThings_->Row(), flgThings_->Col()); });
    });
    connect(flgThings_, &plat::FlexGrid::keyDown, this, [this](int& key, int) {
        if (key != plat::KeySpace) return;
        key = 0;
        handler("flgThings_KeyDown", [this] { model_.ThingClick(flgThings_->Row(), flgThings_->Col()); });
    });
    connect(flgThings_, &plat::FlexGrid::dblClick, this, [this] {
        handler("flgThings_DblClick", [this] { model_.ThingDblClick(flgThings_->MouseRow()); });
    });
    connect(flgThings_, &plat::FlexGrid::selChange, this, [this] {
        handler("flgThings_SelChange", [this] {
            model_.ThingSelChange();
            cmdPopup_->setEnabled(model_.ThingSelected());
        });
    });
    connect(flgThings_, &plat::FlexGrid::mouseMove, this, [this](int, int, int, int) {
        handler("flgThings_MouseMove", [this] {
            flgThings_->setToolTipText(model_.ThingToolTip(flgThings_->MouseRow(), flgThings_->MouseCol()));
        });
    });

    connect(cmdPopup_, &QPushButton::clicked, this, [this] {
        showPopup(cmdPopup_->mapToGlobal(QPoint(0, cmdPopup_->height())));
    });
    flgThings_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(flgThings_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { showPopup(flgThings_->mapToGlobal(at)); });

    connect(cmdOK_, &QPushButton::clicked, this, [this] {
        handler("cmdOK_Click", [this] { model_.OK(); });
        closeOK();
    });
    connect(cmdCancel_, &QPushButton::clicked, this, [this] { closeCancel(); });
}

bool frmMapSymbol::loadControls() {
    bool loaded = false;
    handler("Form_Load", [this, &loaded] {
        setDialogOK(false);
        hookWheels(true);
        ApplyGridLook(flgAdmins_);
        ApplyGridLook(flgThings_);
        model_.GridBackColor = flgThings_->BackColor();
        model_.GridBackColorSel = flgThings_->BackColorSel();
        if (layout()) layout()->activate();
        sizeColumns();
        hidePageList();
        loaded = model_.Load();
        loaded_ = loaded;
        if (loaded) library_.MakeLibraryList();
    });
    return loaded;
}

void frmMapSymbol::sizeColumns() {
    // The hidden tab is laid out only when it comes to the front.
    for (int i = 0; i < fraTab_->count(); ++i) {
        fraTab_->widget(i)->resize(fraTab_->size());
        fraTab_->widget(i)->layout()->activate();
    }
    const auto gridWidth = [](plat::FlexGrid* g) {
        return static_cast<int32_t>(std::lround(g->width() * plat::TwipsPerPixelX()));
    };
    const int32_t things = gridWidth(flgThings_);
    int32_t spare = things - kScrollBarTwips;
    for (int32_t w : kThingWidths) spare -= w;
    spare = std::max(spare, 0);
    std::array<int32_t, 6> widths = kThingWidths;
    widths[1] += spare * 6 / 10;
    widths[4] += spare / 10;
    widths[5] += spare * 3 / 10;
    for (size_t c = 0; c < widths.size(); ++c) flgThings_->setColWidth(static_cast<int32_t>(c), widths[c]);
    flgThings_->setColWidth(MapSymbolModel::colNo, 0);
    flgThings_->setColWidth(MapSymbolModel::colSelect, 0);
    model_.SampleWidth = ToPixelsX(widths[5]);
    model_.SampleHeight = ToPixelsY(MapSymbolModel::kThingHeight);
    flgAdmins_->setColWidth(0, std::max(gridWidth(flgAdmins_) - kAdminPageWidth - kAdminShowWidth - kScrollBarTwips, 600));
    flgAdmins_->setColWidth(1, kAdminPageWidth);
    flgAdmins_->setColWidth(2, kAdminShowWidth);
}

void frmMapSymbol::refresh() {
    if (refreshing_ || !loaded_) return;
    refreshing_ = true;
    if (choMap_->count() != model_.MapNames.size()) {
        choMap_->clear();
        choMap_->addItems(model_.MapNames);
    }
    choMap_->setCurrentIndex(model_.ActiveIndex - 1);
    chkUnitSync_->setChecked(model_.EiUnitSync);
    chkUnitSync_->setEnabled(model_.UnitCount > 1);
    chkPreview_->setChecked(model_.EiPreview);
    QStringList areas;
    for (int i = 0; i < choArea_->count(); ++i) areas << choArea_->itemText(i);
    if (areas != model_.AreaNames) {
        choArea_->clear();
        choArea_->addItems(model_.AreaNames);
    }
    choArea_->setCurrentIndex(model_.CurArea);
    chkAreaSync_->setChecked(model_.EiAreaSync);
    cmdColoredMap_->setEnabled(model_.ColoredMapEnabled());
    choPage_->setCurrentIndex(model_.CurPage - 1);
    chkPageSync_->setChecked(model_.EiPageSync);
    chkDispAll_->setChecked(model_.EiDispAll);
    tbsExp_->setCurrentIndex(model_.CurTab);
    fraTab_->setCurrentIndex(model_.CurTab);
    setWindowTitle(model_.Caption());
    refreshLibrary();
    refreshing_ = false;
}

QWidget* frmMapSymbol::buildLibrary(QWidget* parent) {
    auto* fraLibrary = new QGroupBox(QStringLiteral("図式ライブラリ(&Z)"), parent);
    fraLibrary->setObjectName(QStringLiteral("fraLibrary"));
    choLibrary_ = Choice(QStringLiteral("choLibrary"), QStringLiteral("図式ライブラリファイルを選択する"), fraLibrary);
    choLibrary_->setEditable(true);
    choLibrary_->setInsertPolicy(QComboBox::NoInsert);
    cmdLibOpen_ = NamedButton(QStringLiteral("cmdLibOpen"), QStringLiteral("開く(&O)"),
                         QStringLiteral("図式ライブラリファイルを開いて事象リストを更新する"), fraLibrary);
    cmdLibSave_ = NamedButton(QStringLiteral("cmdLibSave"), QStringLiteral("保存する(&S)"),
                         QStringLiteral("現在の設定を図式ライブラリファイルに保存する"), fraLibrary);
    chkLibShow_ = Check(QStringLiteral("chkLibShow"), QStringLiteral("表示可否を含む(&D)"),
                        QStringLiteral("事象別表示スイッチと可視縮尺範囲もコピーする"), fraLibrary);
    auto* row = new QHBoxLayout(fraLibrary);
    row->addWidget(choLibrary_, 1);
    for (QWidget* w : std::initializer_list<QWidget*>{cmdLibOpen_, cmdLibSave_, chkLibShow_}) row->addWidget(w);
    connect(choLibrary_, &QComboBox::activated, this, [this](int i) {
        if (!refreshing_) library_.Choose(i);
    });
    connect(choLibrary_, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (!refreshing_) library_.Text = text;
    });
    connect(cmdLibOpen_, &QPushButton::clicked, this, [this] { handler("cmdLibOpen_Click", [this] { library_.Open(); }); });
    connect(cmdLibSave_, &QPushButton::clicked, this, [this] { handler("cmdLibSave_Click", [this] { library_.Save(); }); });
    connect(chkLibShow_, &QCheckBox::toggled, this, [this](bool on) {
        if (!refreshing_) model_.EiLibShow = on;
    });
    return fraLibrary;
}

void frmMapSymbol::refreshLibrary() {
    if (QStringList names = library_.Names(); names != [this] {
            QStringList shown;
            for (int i = 0; i < choLibrary_->count(); ++i) shown << choLibrary_->itemText(i);
            return shown;
        }()) {
        choLibrary_->clear();
        choLibrary_->addItems(names);
    }
    if (library_.Current >= 0) choLibrary_->setCurrentIndex(library_.Current);
    if (choLibrary_->currentText() != library_.Text) choLibrary_->setEditText(library_.Text);
    cmdLibOpen_->setEnabled(library_.OpenEnabled());
    chkLibShow_->setChecked(model_.EiLibShow);
}

void frmMapSymbol::buildPopup() {
    mnuPopup_ = new QMenu(this);
    mnuPopup_->setObjectName(QStringLiteral("mnuPopup"));
    const struct {
        const char* name;
        const char16_t* caption;
        int32_t code;
        bool separatorAfter;
    } items[] = {
        {"mnuPopupUndo", u"復元(&R)", MapSymbolModel::popRestore, true},
        {"mnuPopupShow", u"表示(&S)", MapSymbolModel::popShow, false},
        {"mnuPopupHide", u"隠蔽(&H)", MapSymbolModel::popHide, false},
        {"mnuPopupDepend", u"可視縮尺範囲依存(&W)", MapSymbolModel::popDepend, true},
        {"mnuPopupUp", u"昇格(&U)", MapSymbolModel::popUp, false},
        {"mnuPopupDown", u"降格(&D)", MapSymbolModel::popDown, true},
        {"mnuPopupFront", u"前景色(&F)", MapSymbolModel::popFore, false},
        {"mnuPopupBack", u"背景色(&B)", MapSymbolModel::popBack, true},
        {"mnuPopupCopy", u"色コピー(&C)", MapSymbolModel::popCopy, false},
        {"mnuPopupPaste", u"色貼り付け(&P)", MapSymbolModel::popPaste, false},
    };
    for (const auto& item : items) {
        QAction* a = mnuPopup_->addAction(QString::fromUtf16(item.caption));
        a->setObjectName(QString::fromLatin1(item.name));
        const int32_t code = item.code;
        const QString proc = QString::fromLatin1(item.name) + QStringLiteral("_Click");
        connect(a, &QAction::triggered, this, [this, code, proc] {
            handler(proc.toLatin1().constData(), [this, code] { model_.cmdThings(code); });
        });
        if (code == MapSymbolModel::popPaste) mnuPopupPaste_ = a;
        if (item.separatorAfter) mnuPopup_->addSeparator();
    }
    mnuPopup_->addSeparator();
    QAction* html = mnuPopup_->addAction(QStringLiteral("HTML保存(&T)"));
    html->setObjectName(QStringLiteral("mnuPopupHTML"));
    connect(html, &QAction::triggered, this, [this] { handler("mnuPopupHTML_Click", [this] { SaveHtmlLegend(model_); }); });
}

void frmMapSymbol::showPopup(const QPoint& global) {
    mnuPopupPaste_->setEnabled(model_.PasteEnabled());
    mnuPopup_->popup(global);
}

void frmMapSymbol::dropPageList(int32_t row) {
    const int32_t rowHeight = ToPixelsY(flgAdmins_->RowHeight(1));
    const QPoint grid = flgAdmins_->geometry().topLeft();
    int32_t top = grid.y() + (row - flgAdmins_->TopRow() + 2) * rowHeight;
    lstPage_->resize(ToPixelsX(flgAdmins_->ColWidth(1)), lstPage_->sizeHintForRow(0) * 8 + 2 * lstPage_->frameWidth());
    if (row - flgAdmins_->TopRow() > 6) top -= lstPage_->height() + rowHeight;
    lstPage_->move(grid.x() + ToPixelsX(flgAdmins_->ColWidth(0)), top);
    lstPage_->setCurrentRow(model_.AdminRowPage() - 1);
    lstPage_->setEnabled(true);
    lstPage_->show();
    lstPage_->raise();
    lstPage_->setFocus();
}

void frmMapSymbol::hidePageList() {
    lstPage_->hide();
    lstPage_->setEnabled(false);
}

void frmMapSymbol::showEvent(QShowEvent* e) {
    DialogBase::showEvent(e);
    if (!loaded_) return;
    // The grids have their real widths only now: the samples follow column 5.
    const int32_t sampleWidth = model_.SampleWidth;
    sizeColumns();
    if (model_.SampleWidth != sampleWidth) handler("Form_Resize", [this] { model_.SetGridData(); });
}

bool frmMapSymbol::eventFilter(QObject* o, QEvent* e) {
    if (o == lstPage_ && e->type() == QEvent::FocusOut) hidePageList();
    return DialogBase::eventFilter(o, e);
}

void frmMapSymbol::unload() {
    if (!loaded_) return;
    loaded_ = false;
    handler("Form_Unload", [this] {
        hookWheels(false);
        model_.Unload();
    });
}

bool ShowMapSymbolDialog(QWidget* mainWindow, clsMapUnits* units) {
    MapSymbolModel& m = MapSymbol();
    m.TargetUnits = units;
    if (mainWindow) m.Position.presetIfFirst(plat::WindowLeftTwips(mainWindow), plat::WindowTopTwips(mainWindow), 1500, 600);
    {
        frmMapSymbol dlg(mainWindow, m);
        if (dlg.loadControls()) dlg.showModal();
    }
    m.TargetUnits = nullptr;
    if (m.DialogOK) mapsymbolhost::PlotWindow();
    return m.DialogOK;
}
