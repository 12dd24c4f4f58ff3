#include "frmMapList.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QFontMetrics>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <tuple>

#include "AppState.h"
#include "Fonts.h"
#include "KeyCodes.h"
#include "Screen.h"
#include "basFileNames.h"
#include "frmMapSearch.h"

namespace {

int pxX(int32_t twips) { return static_cast<int>(std::lround(twips / plat::TwipsPerPixelX())); }
int pxY(int32_t twips) { return static_cast<int>(std::lround(twips / plat::TwipsPerPixelY())); }
int32_t twX(int px) { return static_cast<int32_t>(std::lround(px * plat::TwipsPerPixelX())); }
int32_t twY(int px) { return static_cast<int32_t>(std::lround(px * plat::TwipsPerPixelY())); }

// The list grid, telling the window when its width changes.
class ListGridView : public plat::FlexGrid {
public:
    std::function<void()> onResize;

protected:
    void resizeEvent(QResizeEvent* e) override {
        plat::FlexGrid::resizeEvent(e);
        if (onResize) onResize();
    }
};

} // namespace

// The window's grid as the logic sees it.
class frmMapList::Grid : public MapListGrid {
public:
    explicit Grid(plat::FlexGrid* g) : g_(g) {}
    plat::FlexGridData& cells() override { return g_->cells(); }
    void setFormatString(const QString& format) override { g_->setFormatString(format); }
    int32_t TopRow() override { return g_->TopRow(); }
    void setTopRow(int32_t row) override { g_->setTopRow(row); }
    int32_t HeightTwips() override { return twY(g_->height()); }
    int32_t RowHeight(int32_t row) override { return g_->RowHeight(row); }
    int32_t ColWidth(int32_t col) override { return g_->ColWidth(col); }
    void setColWidth(int32_t col, int32_t twips) override { g_->setColWidth(col, twips); }
    int32_t TextWidth(const QString& text) override {
        // The grid's own margins around a cell's text.
        return twX(QFontMetrics(g_->font()).horizontalAdvance(text) + 6);
    }
    void setRedraw(bool on) override { g_->setRedraw(on); }
    void Refresh() override { g_->Refresh(); }

private:
    plat::FlexGrid* g_;
};

// The base keeps only the address of the remembered position, which the
// logic (built after the base) holds.
frmMapList::frmMapList(QWidget* parent) : plat::DialogBase(parent, [this] { return &logic_.ListPosition; }()) {
    build();
    grid_ = std::make_unique<Grid>(flgList);
    logic_.attach(grid_.get(), flgList);
    logic_.onCaption = [this](const QString& c) { setWindowTitle(c); };
    logic_.onPanel = [this](int panel, const QString& text) {
        panels[static_cast<size_t>(panel - 1)]->setText(text);
        if (panel == 1) stbForm->repaint();
    };
    logic_.onBusy = [this](bool busy) { setBusy(busy); };
    logic_.onGeometry = [this](int32_t w, int32_t h, int32_t l, int32_t t) {
        resize(pxX(w), pxY(h));
        // Where it was left, unless the screens have changed since.
        placeAt(l, t);
        // The grid takes its new size now, so the kept column widths set
        // next are not overridden by a later layout pass.
        if (layout()) layout()->activate();
    };
}

frmMapList::~frmMapList() {
    // The grid goes after the logic whose rows it reads: it lets go of them
    // first, heard by nobody.
    plat::CutOffChildren(this);
    flgList->cells().setRowSource(nullptr);
}

void frmMapList::build() {
    setWindowTitle(QStringLiteral("地図図形リスト"));
    setHelpContext(kHelpContext);
    setSizeGripEnabled(false);
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);

    menuBar = new QMenuBar(this);
    box->setMenuBar(menuBar);
    mnuFile = menuBar->addMenu(QStringLiteral("ファイル(&F)"));
    for (int i = 0; i < frmMapListLogic::FileItemCount; ++i) {
        const auto item = static_cast<frmMapListLogic::FileItem>(i);
        if (item == frmMapListLogic::mnuOverWrite || item == frmMapListLogic::mnuMllRead ||
            item == frmMapListLogic::mnuCloseMove)
            mnuFile->addSeparator();
        fileItems[static_cast<size_t>(i)] = mnuFile->addAction(frmMapListLogic::FileItemCaption(item));
    }
    connect(mnuFile, &QMenu::aboutToShow, this, [this] {
        logic_.RunHandler("mnuFile_Click", [this] {
            const auto enabled = logic_.FileMenuEnabled();
            for (size_t i = 0; i < fileItems.size(); ++i) fileItems[i]->setEnabled(enabled[i]);
        });
    });
    wire(fileItems[frmMapListLogic::mnuCreate], "mnuCreate_Click", &frmMapListLogic::CreateUnit);
    wire(fileItems[frmMapListLogic::mnuOpen], "mnuOpen_Click", &frmMapListLogic::OpenUnit);
    wire(fileItems[frmMapListLogic::mnuOverWrite], "mnuOverwrite_Click", &frmMapListLogic::OverwriteUnit);
    wire(fileItems[frmMapListLogic::mnuNamedWrite], "mnuNamedWrite_Click", &frmMapListLogic::SaveUnitAs);
    wire(fileItems[frmMapListLogic::mnuMllRead], "mnuMllRead_Click", &frmMapListLogic::InsertMapFile);
    wire(fileItems[frmMapListLogic::mnuMllWrite], "mnuMllWrite_Click", &frmMapListLogic::SaveSelectionAsMap);
    wire(fileItems[frmMapListLogic::mnuTextRead], "mnuTextRead_Click", &frmMapListLogic::InsertTextFile);
    wire(fileItems[frmMapListLogic::mnuTextWrite], "mnuTextWrite_Click", &frmMapListLogic::SaveSelectionAsText);
    connect(fileItems[frmMapListLogic::mnuCloseMove], &QAction::triggered, this, [this] {
        if (logic_.RunHandler("mnuCloseMove_Click", [this] { logic_.CloseMove(); })) {
            if (logic_.MoveView) closeOK();
            else closeCancel();
        }
    });
    connect(fileItems[frmMapListLogic::mnuClose], &QAction::triggered, this, [this] { closeCancel(); });

    buildEditMenu();
    buildSearchMenu();
    buildJumpMenu();

    mnuUnit = menuBar->addMenu(QStringLiteral("地図ユニット(&U)"));
    mnuUnitCancel = mnuUnit->addAction(QStringLiteral("取り消し(&0)"));
    mnuUnit->addSeparator();
    connect(mnuUnit, &QMenu::aboutToShow, this, [this] {
        logic_.RunHandler("mnuUnit_Click", [this] {
            logic_.RebuildUnitMenu();
            syncUnitMenu();
        });
    });

    mnuHelp = menuBar->addAction(QStringLiteral("ヘルプ(&H)"));
    connect(mnuHelp, &QAction::triggered, this, [this] { showHelp(); });

    auto* view = new ListGridView;
    view->onResize = [this] {
        if (!isMinimized()) logic_.GridResized(twX(flgList->width()));
    };
    flgList = view;
    flgList->setParent(this);
    box->addWidget(flgList, 1);
    buildPopupMenu();
    connect(flgList, &plat::FlexGrid::dblClick, this, [this] {
        if (logic_.Busy()) return;
        notePosition();
        logic_.RunHandler("flgList_DblClick", [this] { logic_.DoubleClick(flgList->MouseRow()); });
    });
    connect(flgList, &plat::FlexGrid::selChange, this, [this] {
        logic_.RunHandler("flgList_SelChange", [this] {
            logic_.PrintSelect();
            logic_.PrintUnder();
        });
    });

    stbForm = new QStatusBar(this);
    stbForm->setSizeGripEnabled(true);
    for (size_t i = 0; i < panels.size(); ++i) {
        panels[i] = new QLabel(this);
        panels[i]->setFrameShape(QFrame::Panel);
        panels[i]->setFrameShadow(QFrame::Sunken);
        panels[i]->setMinimumWidth(i == 0 ? 160 : 90);
        stbForm->addWidget(panels[i], i == 0 ? 2 : 1);
    }
    box->addWidget(stbForm);

    setMinimumSize(pxX(frmMapListLogic::kMinWidth), pxY(frmMapListLogic::kMinHeight));
    resize(pxX(kDesignWidth), pxY(kDesignHeight));
}

void frmMapList::wire(QAction* item, const char* name, void (frmMapListLogic::*command)()) {
    connect(item, &QAction::triggered, this, [this, name, command] {
        notePosition();
        logic_.RunHandler(name, [this, command] { (logic_.*command)(); });
        syncUnitMenu();
    });
}

void frmMapList::notePosition() {
    logic_.WindowLeft = twX(x());
    logic_.WindowTop = twY(y());
}

void frmMapList::buildEditMenu() {
    using L = frmMapListLogic;
    mnuEdit = menuBar->addMenu(QStringLiteral("編集(&E)"));
    QMenu* prevNext = nullptr;
    for (int i = 0; i < L::EditItemCount; ++i) {
        const auto item = static_cast<L::EditItem>(i);
        if (item == L::mnuInsert || item == L::mnuTouch || item == L::mnuPolygon || item == L::mnuReverse)
            mnuEdit->addSeparator();
        QMenu* into = item >= L::mnuPosPrev && item <= L::mnuJunction ? prevNext : mnuEdit;
        const QStringList subs = L::EditSubItemCaptions(item);
        if (item == L::mnuPrevNext || !subs.isEmpty()) {
            QMenu* sub = into->addMenu(L::EditItemCaption(item));
            if (item == L::mnuPrevNext) prevNext = sub;
            for (const QString& c : subs) editSubItems[static_cast<size_t>(i)].push_back(sub->addAction(c));
            editItems[static_cast<size_t>(i)] = sub->menuAction();
        } else {
            editItems[static_cast<size_t>(i)] = into->addAction(L::EditItemCaption(item));
        }
    }
    const auto command = [this](L::EditItem item, const char* name, void (L::*run)()) {
        wire(editItems[item], name, run);
        editWired_[item] = true;
    };
    command(L::mnuUndo, "mnuUndo_Click", &L::Undo);
    command(L::mnuCut, "mnuCut_Click", &L::Cut);
    command(L::mnuCopy, "mnuCopy_Click", &L::Copy);
    command(L::mnuPaste, "mnuPaste_Click", &L::Paste);
    command(L::mnuDelete, "mnuDelete_Click", &L::Delete);
    command(L::mnuAllSelect, "mnuAllSelect_Click", &L::SelectAll);
    command(L::mnuGarbageOne, "mnuGarbageOne_Click", &L::RestoreOne);
    command(L::mnuGarbageAll, "mnuGarbageAll_Click", &L::RestoreAll);
    command(L::mnuTouch, "mnuTouch_Click", &L::Touch);
    command(L::mnuColor, "mnuColor_Click", &L::ChangeColor);
    command(L::mnuThing, "mnuThing_Click", &L::ChangeThing);
    command(L::mnuAdmin, "mnuAdmin_Click", &L::ChangeAdmin);
    command(L::mnuPolygon, "mnuPolygon_Click", &L::MakePolygons);
    command(L::mnuPolylinePolygon, "mnuPolylinePolygon_Click", &L::ConvertPolylinePolygon);
    command(L::mnuMove, "mnuMove_Click", &L::MoveCoordinates);
    command(L::mnuReverse, "mnuReverse_Click", &L::Reverse);
    command(L::mnuCompress, "mnuCompress_Click", &L::CompressSelection);
    command(L::mnuPosPrev, "mnuPosPrev_Click", &L::PosPrev);
    command(L::mnuPosNext, "mnuPosNext_Click", &L::PosNext);
    command(L::mnuPosAdd, "mnuPosAdd_Click", &L::PosAdd);
    command(L::mnuJunction, "mnuJunction_Click", &L::Junction);
    for (auto [item, name, run] : {std::tuple{L::mnuCurve, "mnuCurveItem_Click", &L::CurveItem},
                                   std::tuple{L::mnuShow, "mnuShowItem_Click", &L::ShowItem},
                                   std::tuple{L::mnuInsert, "mnuInsertItem_Click", &L::InsertItem},
                                   std::tuple{L::mnuAdd, "mnuAddItem_Click", &L::AddItem}}) {
        const auto& subs = editSubItems[item];
        for (size_t k = 0; k < subs.size(); ++k)
            connect(subs[k], &QAction::triggered, this, [this, k, name = name, run = run] {
                logic_.RunHandler(name, [this, k, run] { (logic_.*run)(static_cast<int>(k) + 1); });
            });
        editWired_[item] = true;
    }
    for (auto [item, direction, name] : {std::tuple{L::mnuSortUp, 1, "mnuSortUpItem_Click"},
                                         std::tuple{L::mnuSortDown, 2, "mnuSortDownItem_Click"}}) {
        const auto& subs = editSubItems[item];
        for (size_t k = 0; k < subs.size(); ++k) {
            const int key = static_cast<int>(k) + 1;
            connect(subs[k], &QAction::triggered, this, [this, direction = direction, key, name = name] {
                logic_.RunHandler(name, [this, direction, key] { logic_.SortMap(direction, key); });
            });
        }
        editWired_[item] = true;
    }
    connect(mnuEdit, &QMenu::aboutToShow, this, [this] { editMenuOpens(); });
}

void frmMapList::buildJumpMenu() {
    using L = frmMapListLogic;
    mnuJump = menuBar->addMenu(QStringLiteral("ジャンプ(&J)"));
    mnuTop = mnuJump->addAction(QStringLiteral("先頭(&T)"));
    mnuBottom = mnuJump->addAction(QStringLiteral("末尾(&B)"));
    mnuLine = mnuJump->addAction(QStringLiteral("行番号(&L)..."));
    mnuJump->addSeparator();
    mnuMarkClear = mnuJump->addAction(QStringLiteral("ジャンプマーク消去(&C)"));
    mnuMarkClearAll = mnuJump->addAction(QStringLiteral("ジャンプマーク全消去(&A)"));
    mnuMarkRec = mnuJump->addMenu(QStringLiteral("ジャンプマーク登録(&R)"));
    mnuMarkJump = mnuJump->addMenu(QStringLiteral("ジャンプマーク呼出(&M)"));
    for (int k = 1; k <= 9; ++k) {
        const QString caption = QStringLiteral("マーク &") + QString::number(k);
        mnuMarkRecItem[size_t(k)] = mnuMarkRec->addAction(caption);
        mnuMarkJumpItem[size_t(k)] = mnuMarkJump->addAction(caption);
        connect(mnuMarkRecItem[size_t(k)], &QAction::triggered, this,
                [this, k] { logic_.RunHandler("mnuMarkRecItem_Click", [this, k] { logic_.RecordMark(k); }); });
        connect(mnuMarkJumpItem[size_t(k)], &QAction::triggered, this,
                [this, k] { logic_.RunHandler("mnuMarkJumpItem_Click", [this, k] { logic_.RecallMark(k); }); });
    }
    connect(mnuTop, &QAction::triggered, this, [this] { logic_.JumpRow(1); });
    connect(mnuBottom, &QAction::triggered, this, [this] { logic_.JumpRow(logic_.RowCount()); });
    wire(mnuLine, "mnuLine_Click", &L::JumpToLine);
    wire(mnuMarkClear, "mnuMarkClear_Click", &L::ClearMark);
    wire(mnuMarkClearAll, "mnuMarkClearAll_Click", &L::ClearAllMarks);
    connect(mnuJump, &QMenu::aboutToShow, this, [this] { jumpMenuOpens(); });
}

void frmMapList::jumpMenuOpens() {
    logic_.RunHandler("mnuJump_Click", [this] {
        const auto m = logic_.JumpMenuState();
        mnuTop->setEnabled(m.top);
        mnuBottom->setEnabled(m.bottom);
        mnuLine->setEnabled(m.line);
        mnuMarkRec->setEnabled(m.record);
        mnuMarkClear->setEnabled(m.clear);
        mnuMarkClearAll->setEnabled(m.clearAll);
        mnuMarkJump->setEnabled(m.jump);
        for (size_t k = 1; k <= 9; ++k) {
            mnuMarkRecItem[k]->setText(m.caption[k]);
            mnuMarkJumpItem[k]->setText(m.caption[k]);
            mnuMarkJumpItem[k]->setEnabled(m.jumpItem[k]);
        }
    });
}

void frmMapList::buildPopupMenu() {
    using L = frmMapListLogic;
    mnuPopup = new QMenu(QStringLiteral("ポップアップ(&P)"), this);
    mnuPopupUndo = mnuPopup->addAction(QStringLiteral("やり直し(&U)"));
    mnuPopupCut = mnuPopup->addAction(QStringLiteral("切り取り(&T)"));
    mnuPopupCopy = mnuPopup->addAction(QStringLiteral("コピー(&C)"));
    mnuPopupPaste = mnuPopup->addAction(QStringLiteral("貼り付け(&P)"));
    mnuPopupDelete = mnuPopup->addAction(QStringLiteral("削除(&D)"));
    mnuPopupTouch = mnuPopup->addAction(QStringLiteral("図形プロパティ(&E)..."));
    mnuPopup->addSeparator();
    mnuPopupMarkRegist = mnuPopup->addAction(QStringLiteral("ジャンプマーク自動登録(&R)"));
    mnuPopupMarkClear = mnuPopup->addAction(QStringLiteral("ジャンプマーク消去(&J)"));
    mnuPopupBefore = mnuPopup->addAction(QStringLiteral("直前のジャンプマーク(&B)"));
    mnuPopupNext = mnuPopup->addAction(QStringLiteral("直後のジャンプマーク(&N)"));
    wire(mnuPopupUndo, "mnuUndo_Click", &L::Undo);
    wire(mnuPopupCut, "mnuCut_Click", &L::Cut);
    wire(mnuPopupCopy, "mnuCopy_Click", &L::Copy);
    wire(mnuPopupPaste, "mnuPaste_Click", &L::Paste);
    wire(mnuPopupDelete, "mnuDelete_Click", &L::Delete);
    wire(mnuPopupTouch, "mnuTouch_Click", &L::Touch);
    wire(mnuPopupMarkRegist, "mnuPopupMarkRegist_Click", &L::AutoMark);
    wire(mnuPopupMarkClear, "mnuMarkClear_Click", &L::ClearMark);
    wire(mnuPopupBefore, "mnuPopupBefore_Click", &L::PrevMark);
    wire(mnuPopupNext, "mnuPopupNext_Click", &L::NextMark);
    flgList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(flgList, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        popupOpens();
        mnuPopup->popup(flgList->mapToGlobal(at));
    });
}

void frmMapList::popupOpens() {
    const auto m = logic_.PopupMenuState();
    mnuPopupUndo->setEnabled(m.undo);
    mnuPopupCut->setEnabled(m.cut);
    mnuPopupCopy->setEnabled(m.copy);
    mnuPopupPaste->setEnabled(m.paste);
    mnuPopupDelete->setEnabled(m.del);
    mnuPopupTouch->setEnabled(m.touch);
    mnuPopupMarkRegist->setEnabled(m.markRegist);
    mnuPopupMarkClear->setEnabled(m.markClear);
    mnuPopupBefore->setEnabled(m.before);
    mnuPopupNext->setEnabled(m.next);
}

void frmMapList::buildSearchMenu() {
    using L = frmMapListLogic;
    mnuSearch = menuBar->addMenu(QStringLiteral("検索(&S)"));
    for (int i = 0; i < L::SearchItemCount; ++i) {
        const auto item = static_cast<L::SearchItem>(i);
        if (item == L::mnuSearchBack) mnuSearch->addSeparator();
        searchItems[size_t(i)] = mnuSearch->addAction(L::SearchItemCaption(item));
    }
    for (int target = 1; target <= 4; ++target)
        connect(searchItems[size_t(target - 1)], &QAction::triggered, this, [this, target] {
            logic_.RunHandler("mnuSearchItem_Click", [this, target] { logic_.OpenSearch(target); });
        });
    wire(searchItems[L::mnuSearchBack], "mnuSearchBack_Click", &L::SearchBack);
    wire(searchItems[L::mnuSearchForward], "mnuSearchForward_Click", &L::SearchForward);
    connect(mnuSearch, &QMenu::aboutToShow, this, [this] {
        logic_.RunHandler("mnuSearch_Click", [this] {
            const auto enabled = logic_.SearchMenuEnabled();
            for (size_t i = 0; i < enabled.size(); ++i) searchItems[i]->setEnabled(enabled[i]);
        });
    });
    logic_.onSearchDialog = [this](frmMapSearchLogic& d) {
        d.Position.presetIfFirst(plat::WindowLeftTwips(this), plat::WindowTopTwips(this), 4200, 600);
        frmMapSearch dialog(d, this);
        dialog.showSearch();
    };
}

void frmMapList::editMenuOpens() {
    logic_.RunHandler("mnuEdit_Click", [this] {
        const auto enabled = logic_.EditMenuEnabled();
        for (size_t i = 0; i < enabled.size(); ++i) {
            // Sub-menus and items of commands still to come are enabled by
            // the rule once their commands exist.
            const bool hasCommand = editWired_[i] || static_cast<int>(i) == frmMapListLogic::mnuPrevNext;
            editItems[i]->setEnabled(enabled[i] && hasCommand);
        }
        const QString key6 = logic_.SortKey6Caption();
        if (!key6.isEmpty())
            for (auto item : {frmMapListLogic::mnuSortUp, frmMapListLogic::mnuSortDown})
                editSubItems[item][5]->setText(key6);
    });
}

void frmMapList::syncUnitMenu() {
    const auto& items = logic_.UnitMenu();
    while (mnuUnitItem.size() < items.size()) {
        const int n = static_cast<int>(mnuUnitItem.size()) + 1;
        QAction* a = mnuUnit->addAction(QString());
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, n] {
            logic_.RunHandler("mnuUnitItem_Click", [this, n] { logic_.ChooseUnit(n); });
            syncUnitMenu();
        });
        mnuUnitItem.push_back(a);
    }
    for (size_t i = 0; i < items.size(); ++i) {
        mnuUnitItem[i]->setText(items[i].caption);
        mnuUnitItem[i]->setChecked(items[i].checked);
        mnuUnitItem[i]->setVisible(items[i].visible);
    }
    // Items of an earlier opening's larger set.
    for (size_t i = items.size(); i < mnuUnitItem.size(); ++i) mnuUnitItem[i]->setVisible(false);
}

void frmMapList::applyGridLook() {
    flgList->setForeColor(static_cast<uint32_t>(GetGridForeColor()));
    flgList->setBackColor(static_cast<uint32_t>(GetGridBackColor()));
    QFont font = flgList->font();
    font.setFamily(plat::ResolveFontFamily(GetGridFontName()));
    if (GetGridFontSize() > 0) font.setPointSize(GetGridFontSize());
    flgList->setFont(font);
    QFont status = stbForm->font();
    status.setFamily(plat::ResolveFontFamily(gvDefaultFont));
    stbForm->setFont(status);
}

bool frmMapList::loadList() {
    bool loaded = false;
    logic_.RunHandler("Form_Load", [this, &loaded] {
        setDialogOK(false);
        applyGridLook();
        loaded = logic_.Load();
    });
    // The first opening (design size) is centred on the caller, as every
    // dialog never placed.
    return loaded;
}

bool frmMapList::showList() {
    if (!loadList()) return false;
    return showModal();
}

void frmMapList::activate() {
    logic_.RunHandler("Form_Active", [this] {
        if (logic_.Activate()) syncUnitMenu();
    });
}

void frmMapList::showEvent(QShowEvent* e) {
    plat::DialogBase::showEvent(e);
    // Activation may not come (a window that never gets the focus): the
    // grid is filled once the window is up either way.
    QTimer::singleShot(0, this, [this] { activate(); });
}

void frmMapList::changeEvent(QEvent* e) {
    plat::DialogBase::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) activate();
}

void frmMapList::formKeyDown(int& keyCode, int shift) {
    using Action = frmMapListLogic::KeyAction;
    const Action action = logic_.KeyDown(keyCode, shift);
    if (action == Action::None) return;
    keyCode = 0;
    void (frmMapListLogic::*command)() = action == Action::Copy     ? &frmMapListLogic::Copy
                                         : action == Action::Properties ? &frmMapListLogic::Touch
                                         : action == Action::Paste  ? &frmMapListLogic::Paste
                                         : action == Action::Delete ? &frmMapListLogic::Delete
                                         : action == Action::Cut    ? &frmMapListLogic::Cut
                                                                    : nullptr;
    if (!command || logic_.Busy()) return;
    notePosition();
    logic_.RunHandler("Form_KeyDown", [this, command] { (logic_.*command)(); });
}

void frmMapList::closeEvent(QCloseEvent* e) {
    if (logic_.Busy()) {
        e->ignore();
        return;
    }
    plat::DialogBase::closeEvent(e);
}

void frmMapList::done(int r) {
    if (logic_.Busy()) return;
    if (logic_.MapUnits) {
        const QRect frame = frameGeometry();
        logic_.RunHandler("Form_Unload", [&] { logic_.Unload(twX(width()), twY(height()), twX(frame.left()), twY(frame.top())); });
    }
    plat::DialogBase::done(r);
}

void frmMapList::setBusy(bool busy) {
    menuBar->setEnabled(!busy);
    blocking_ = busy;
}

bool frmMapList::inputBlocked(QObject* o, QEvent* e) const {
    switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) return false;
        [[fallthrough]];
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu: {
        auto* w = qobject_cast<QWidget*>(o);
        return w && (w == this || isAncestorOf(w));
    }
    default: return false;
    }
}

bool frmMapList::eventFilter(QObject* o, QEvent* e) {
    // While a long operation lets events run, only Esc may reach the window:
    // no other command may start on the map it is working on.
    if (blocking_ && inputBlocked(o, e)) return true;
    return plat::DialogBase::eventFilter(o, e);
}
