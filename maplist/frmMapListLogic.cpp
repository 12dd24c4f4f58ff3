#include "frmMapListLogic.h"

#include <algorithm>

#include "DoEvents.h"
#include "ErrorMng.h"
#include "FlexGridData.h"
#include "KeyCodes.h"
#include "Screen.h"
#include "basLibrary.h"

namespace {

const QString kObject = QStringLiteral("frmMapList");

struct ModeHooks {
    std::function<int32_t()> get;
    std::function<void(int32_t)> set;
    int32_t own = 1;
};

ModeHooks& modeHooks() {
    static ModeHooks h;
    return h;
}

void setCurrentMapMode(int32_t mode) {
    if (modeHooks().set) modeHooks().set(mode);
    else modeHooks().own = mode;
}

// Escapes "&" so a file name shows as it is in a menu caption.
QString MenuText(const QString& text) { return QString(text).replace(QLatin1Char('&'), QStringLiteral("&&")); }

} // namespace

int32_t MapListMapMode() { return modeHooks().get ? modeHooks().get() : modeHooks().own; }

bool ListFileStep(const QString& path, const std::function<void()>& op) {
    AppError error;
    switch (WithFileRetry(op, path, &error)) {
    case 0: return true;
    case 1: return false;
    case 2: throw ListCommandCancelled();
    default: throw error;
    }
}

void SetMapListModeHooks(std::function<int32_t()> get, std::function<void(int32_t)> set) {
    modeHooks().get = std::move(get);
    modeHooks().set = std::move(set);
}

frmMapListLogic::frmMapListLogic() = default;
frmMapListLogic::~frmMapListLogic() = default;

void frmMapListLogic::attach(MapListGrid* grid, WheelWindow wheelWindow) {
    grid_ = grid;
    wheelWindow_ = wheelWindow;
    grid_->cells().setRowSource(&rows_);
}

// ------------------------------------------------------------- window events

bool frmMapListLogic::Load() {
    MoveView = false;
    if (!MapUnits || MapUnits->Count() == 0) return false;
    unitMenu_.clear();
    UnitIndex = 0;
    MapUnit.reset();
    rows_.setUnit(nullptr);
    savedMapMode_ = MapListMapMode();
    WheelHook(wheelWindow_);
    grid_->setFormatString(frmMapListRows::FormatString());
    grid_->cells().setRows(1);
    if (ListWidth == 0)
        for (int32_t c = 0; c <= 4; ++c) ListColWidths[static_cast<size_t>(c)] = grid_->ColWidth(c);
    ClipMap = std::make_shared<clsMap>();
    ClipMap->setMapMode(MapUnits->MapMode());
    ClipMap->setFileName(QStringLiteral("clip"));
    ClipMap->setEiUndo(false);
    PrintClipCount();
    firstActivation_ = true;
    return true;
}

bool frmMapListLogic::Activate() {
    // An explicit flag, not "the grid still has one row": a unit without
    // figures leaves one row, and every later activation (after any
    // sub-dialog) would go back to the start unit.
    if (!firstActivation_ || !MapUnits) return false;
    firstActivation_ = false;
    // The window is up already; the list is filled before any event runs, so
    // no click or key acts on the empty list (or closes it half made).
    if (StartUnit < 1) StartUnit = MapUnits->Index();
    RebuildUnitMenu();
    ChooseUnit(StartUnit);
    if (ListWidth > 0) {
        if (onGeometry) onGeometry(ListWidth, ListHeight, ListPosition.left, ListPosition.top);
        for (int32_t c = 0; c < kCols; ++c) grid_->setColWidth(c, ListColWidths[static_cast<size_t>(c)]);
    }
    if (StartRow > 0) JumpRow(StartRow);
    return true;
}

void frmMapListLogic::Unload(int32_t width, int32_t height, int32_t left, int32_t top) {
    WheelUnhook(wheelWindow_);
    ScreenMousePointer(plat::PtrHourglass);
    {
        // No command may start on the list being put away.
        LongOperation busy(*this);
        plat::DoEvents();
    }
    SaveGridInfo();
    ListWidth = width;
    ListHeight = height;
    ListPosition.left = left;
    ListPosition.top = top;
    for (int32_t c = 5; c < kCols; ++c) ListColWidths[static_cast<size_t>(c)] = grid_->ColWidth(c);
    SetStatusText(QStringLiteral("グリッドを破棄しています..."));
    grid_->setRedraw(false);
    rows_.setUnit(nullptr);
    grid_->cells().setRows(1);
    grid_->setRedraw(true);
    MapUnits = nullptr;
    MapUnit.reset();
    ClipMap.reset();
    firstActivation_ = false;
    setCurrentMapMode(savedMapMode_);
    ScreenMousePointer(-1);
    SetStatusText(QString());
}

std::array<int32_t, frmMapListLogic::kCols> frmMapListLogic::ColumnWidths(int32_t gridWidth,
                                                                        const std::array<int32_t, kCols>& kept) {
    std::array<int32_t, kCols> w = kept;
    int64_t rest = gridWidth;
    for (int32_t c = 0; c <= 4; ++c) rest -= kept[static_cast<size_t>(c)];
    // Columns 0..4 widened past the grid leave nothing to share: the shared
    // columns keep a sliver instead of vanishing (a width of 0 hides one).
    constexpr int32_t kSliver = 120;
    const auto share = [&](int64_t part) { return static_cast<int32_t>(std::max<int64_t>(part, kSliver)); };
    w[5] = share(rest / 8);
    w[6] = share(rest / 8);
    w[7] = share(3 * rest / 8);
    w[8] = share(gridWidth);
    return w;
}

void frmMapListLogic::GridResized(int32_t gridWidth) {
    const auto w = ColumnWidths(gridWidth, ListColWidths);
    for (int32_t c = 0; c < kCols; ++c) grid_->setColWidth(c, w[static_cast<size_t>(c)]);
}

// ------------------------------------------------------------------ the grid

void frmMapListLogic::MakeGrid() {
    PrintCaption();
    SetStatusText(QStringLiteral("グリッドを作成しています..."));
    ScreenMousePointer(plat::PtrHourglass);
    {
        // Input while the status shows goes nowhere: the rows are the old ones.
        LongOperation busy(*this);
        plat::DoEvents();
    }
    grid_->setRedraw(false);
    rows_.setUnit(MapUnit);
    plat::FlexGridData& g = grid_->cells();
    g.setRows(figureCount() + 1);
    g.setFixedRows(g.Rows() >= 2 ? 1 : 0);
    fitRowNumbers();
    grid_->setRedraw(true);
    grid_->Refresh();
    LoadGridInfo();
    PrintRowCount();
    PrintSelect();
    PrintUnder();
    SetStatusText(QString());
    ScreenMousePointer(-1);
}

void frmMapListLogic::RowsChanged() {
    rows_.Invalidate();
    plat::FlexGridData& g = grid_->cells();
    g.setRows(figureCount() + 1);
    g.setFixedRows(g.Rows() >= 2 ? 1 : 0);
    fitRowNumbers();
    grid_->Refresh();
}

void frmMapListLogic::fitRowNumbers() {
    // The title sets the column's width, but the numbers of a big map (and
    // wide digits of some faces) need more.
    const int32_t count = figureCount();
    const int32_t need = grid_->TextWidth(frmMapListRows::RowNumberText(count, frmMapListRows::RowNumberDigits(count)));
    if (need <= ListColWidths[0]) return;
    ListColWidths[0] = need;
    grid_->setColWidth(0, need);
}

int32_t frmMapListLogic::RowCount() { return grid_->cells().Rows() - 1; }

bool frmMapListLogic::IsValidRow(int32_t row) const { return row >= 1 && row <= figureCount(); }

bool frmMapListLogic::GetSelectRange(int32_t& first, int32_t& last) {
    const plat::FlexGridData& g = grid_->cells();
    first = g.selTop();
    last = g.selBottom();
    return first >= 1 && last >= 1;
}

int32_t frmMapListLogic::SelectTopRow() {
    const int32_t top = grid_->cells().selTop();
    return top < 1 ? -1 : top;
}

void frmMapListLogic::scrollIntoView(int32_t target) {
    const int32_t rowHeight = std::max(grid_->RowHeight(1), 1);
    // At least one row counts as visible, however low the grid.
    const int32_t visible = std::max(grid_->HeightTwips() / rowHeight - 2, 1);
    const int32_t top = grid_->TopRow();
    if (target < top || target > top + visible - 1) grid_->setTopRow(std::max(target - visible / 2, 1));
}

void frmMapListLogic::selectWholeRows(int32_t a, int32_t b) {
    grid_->cells().select(a, 0, b, kCols - 1);
    grid_->Refresh();
    PrintSelect();
    PrintUnder();
}

bool frmMapListLogic::SetSelectRange(int32_t a, int32_t b) {
    if (!IsValidRow(a) || !IsValidRow(b)) return false;
    const int32_t first = std::min(a, b), last = std::max(a, b);
    scrollIntoView(first);
    selectWholeRows(first, last);
    return true;
}

void frmMapListLogic::JumpRow(int32_t row) {
    if (!IsValidRow(row)) return;
    scrollIntoView(row);
    selectWholeRows(row, row);
}

frmMapListLogic::GridInfo& frmMapListLogic::gridInfoOf(const MapUnitPtr& unit) {
    std::erase_if(gridInfo_, [](const GridInfo& i) { return i.unit.expired(); });
    for (GridInfo& i : gridInfo_)
        if (i.unit.lock() == unit) return i;
    gridInfo_.push_back(GridInfo{unit});
    return gridInfo_.back();
}

void frmMapListLogic::SaveGridInfo() {
    if (UnitIndex <= 0 || !MapUnits || grid_->cells().Rows() <= 1) return;
    const MapUnitPtr unit = MapUnits->Item(UnitIndex);
    if (!unit) return;
    GridInfo& info = gridInfoOf(unit);
    info.topRow = grid_->TopRow();
    info.row = grid_->cells().Row();
    info.rowSel = grid_->cells().RowSel();
}

void frmMapListLogic::LoadGridInfo() {
    if (UnitIndex <= 0 || !MapUnits || grid_->cells().Rows() <= 1) return;
    const MapUnitPtr unit = MapUnits->Item(UnitIndex);
    if (!unit) return;
    GridInfo& info = gridInfoOf(unit);
    if (info.topRow < 1) info.topRow = info.row = info.rowSel = 1;
    for (int32_t* v : {&info.topRow, &info.row, &info.rowSel})
        if (!IsValidRow(*v)) *v = 1;
    grid_->setTopRow(info.topRow);
    grid_->cells().select(info.row, 0, info.rowSel, kCols - 1);
}

// ---------------------------------------------------- caption and status bar

QString frmMapListLogic::Caption() const {
    QString caption = QStringLiteral("地図図形リスト");
    if (!MapUnit) return caption;
    caption += QStringLiteral(" - [%1] ").arg(UnitIndex) + FileNameOf(MapUnit->UnitName());
    if (MapUnit->Map().LockMode()) caption += QStringLiteral(" (変更禁止)");
    if (MapUnit->Map().Modify()) caption += QStringLiteral(" (更新)");
    return caption;
}

void frmMapListLogic::PrintCaption() {
    if (onCaption) onCaption(Caption());
}

void frmMapListLogic::setPanel(int panel, const QString& text) {
    panels_[static_cast<size_t>(panel - 1)] = text;
    if (onPanel) onPanel(panel, text);
}

void frmMapListLogic::SetStatusText(const QString& text) { setPanel(1, text); }

void frmMapListLogic::PrintRowCount() { setPanel(2, QStringLiteral("総行数:") + QString::number(figureCount())); }

void frmMapListLogic::PrintSelect() {
    int32_t first = 0, last = 0;
    QString text = QStringLiteral("選択行:");
    if (!GetSelectRange(first, last)) text += QStringLiteral("no selected");
    else if (first == last) text += QString::number(first);
    else text += QStringLiteral("%1-%2").arg(first).arg(last);
    setPanel(3, text);
}

void frmMapListLogic::PrintClipCount() {
    setPanel(4, QStringLiteral("編集領域行数:") + QString::number(ClipMap ? ClipMap->Count() : 0));
}

void frmMapListLogic::PrintUnder() {
    int32_t r = 0, last = 0;
    QString text;
    if (MapUnit && GetSelectRange(r, last) && r == last && r < RowCount() && IsValidRow(r + 1)) {
        const auto a = MapUnit->Map().Item(r)->Poly();
        const auto b = MapUnit->Map().Item(r + 1)->Poly();
        if (a && b && a->Count() >= 1 && b->Count() >= 1) {
            bool connected = false;
            if (a->Count() == 1) {
                connected = b->FindPoint(1, a->GetPoint(1)) > 0;
            } else {
                const PolyPoint ends[2] = {a->GetPoint(1), a->GetPoint(a->Count())};
                const PolyPoint others[2] = {b->GetPoint(1), b->GetPoint(b->Count())};
                for (const PolyPoint& p : ends)
                    for (const PolyPoint& q : others) connected = connected || p == q;
            }
            text = connected ? QStringLiteral("下行と接続") : QStringLiteral("下行と非接続");
        }
    }
    setPanel(5, text);
}

// ---------------------------------------------------------------- jump marks

std::array<int32_t, 10> frmMapListLogic::MarkTable() {
    std::array<int32_t, 10> table{};
    for (int32_t i = 1; i <= figureCount(); ++i) {
        const int16_t m = MapUnit->Map().Item(i)->JumpMark();
        if (m < 1 || m > 9) continue;
        if (table[static_cast<size_t>(m)] > 0) SetMark(table[static_cast<size_t>(m)], 0);
        table[static_cast<size_t>(m)] = i;
    }
    return table;
}

void frmMapListLogic::SetMark(int32_t row, int16_t mark) {
    if (!IsValidRow(row)) return;
    clsMap& map = MapUnit->Map();
    if (mark >= 1 && mark <= 9) {
        const int32_t holder = map.SearchJumpMark(mark);
        if (holder > 0) {
            map.Item(holder)->setJumpMark(0);
            rows_.InvalidateRow(holder);
        }
        map.Item(row)->setJumpMark(mark);
    } else {
        map.Item(row)->setJumpMark(0);
    }
    rows_.InvalidateRow(row);
    grid_->Refresh();
    PrintCaption();
}

// ----------------------------------------------------------- long operations

frmMapListLogic::LongOperation::LongOperation(frmMapListLogic& list) : list_(list) {
    if (list_.busy_++ == 0) {
        list_.EscAbort = false;
        list_.yieldCount_ = 0;
        if (list_.onBusy) list_.onBusy(true);
    }
    ScreenMousePointer(plat::PtrHourglass);
}

frmMapListLogic::LongOperation::~LongOperation() {
    ScreenMousePointer(-1);
    if (--list_.busy_ == 0 && list_.onBusy) list_.onBusy(false);
}

bool frmMapListLogic::YieldEvents() {
    yieldCount_ = (yieldCount_ + 1) % kYieldPeriod;
    if (yieldCount_ == 0) plat::DoEvents();
    return !EscAbort;
}

// ---------------------------------------------------------------- the menus

void frmMapListLogic::RebuildUnitMenu() {
    if (!MapUnits) return;
    const int32_t n = MapUnits->Count();
    if (static_cast<int32_t>(unitMenu_.size()) < n) unitMenu_.resize(static_cast<size_t>(n));
    for (int32_t i = 1; i <= UnitMenuCount(); ++i) {
        UnitMenuItem& item = unitMenu_[static_cast<size_t>(i - 1)];
        item.visible = i <= n;
        if (!item.visible) continue;
        item.caption = MenuText(MapUnits->Item(i)->UnitName()) + QStringLiteral(" (&%1)").arg(i);
        item.checked = i == UnitIndex;
    }
    if (UnitIndex > UnitMenuCount()) UnitIndex = static_cast<int16_t>(UnitMenuCount());
}

void frmMapListLogic::ChooseUnit(int32_t n) {
    if (!MapUnits || n < 1 || n > MapUnits->Count()) return;
    if (UnitIndex > 0) {
        SaveGridInfo();
        if (UnitIndex <= UnitMenuCount()) unitMenu_[static_cast<size_t>(UnitIndex - 1)].checked = false;
    }
    UnitIndex = static_cast<int16_t>(n);
    if (n <= UnitMenuCount()) unitMenu_[static_cast<size_t>(n - 1)].checked = true;
    MapUnit = MapUnits->Item(n);
    MapUnits->setIndex(n);
    setCurrentMapMode(MapUnit->Map().MapMode());
    MakeGrid();
    MarkTable();
}

QString frmMapListLogic::FileItemCaption(FileItem item) {
    static const char16_t* captions[FileItemCount] = {
        u"新規作成(&N)...",
        u"開く(&O)...",
        u"上書き保存(&S)...",
        u"名前を付けて保存(&A)...",
        u"選択行直前に地図ファイルを挿入(&R)...",
        u"選択行直前にテキストファイルを挿入(&I)...",
        u"選択範囲を地図ファイルに保存(&W)...",
        u"選択範囲をテキストファイルに保存(&E)...",
        u"地図ビューを移動して閉じる(&M)",
        u"閉じる(&Q)",
    };
    return QString::fromUtf16(captions[item]);
}

std::array<bool, frmMapListLogic::FileItemCount> frmMapListLogic::FileMenuEnabled() {
    const bool s = SelectTopRow() >= 1;
    const bool l = MapUnit && MapUnit->Map().LockMode();
    const bool m = MapUnit && MapUnit->Map().Modify();
    std::array<bool, FileItemCount> e{};
    e[mnuCreate] = e[mnuOpen] = e[mnuCloseMove] = e[mnuClose] = true;
    e[mnuOverWrite] = e[mnuNamedWrite] = m && !l && s;
    e[mnuMllRead] = e[mnuTextRead] = !l && s;
    e[mnuMllWrite] = e[mnuTextWrite] = s;
    return e;
}

void frmMapListLogic::CloseMove() {
    const int32_t row = SelectTopRow();
    if (!IsValidRow(row)) return;
    const auto poly = MapUnit->Map().Item(row)->Poly();
    if (!poly || poly->Count() < 1) return;
    const clsRect bound = poly->RectBound();
    MoveX = bound.CenterX();
    MoveY = bound.CenterY();
    MoveView = true;
}

frmMapListLogic::KeyAction frmMapListLogic::KeyDown(int keyCode, int shift) {
    const bool ctrl = shift & plat::CtrlMask, shifted = shift & plat::ShiftMask;
    switch (keyCode) {
    case plat::KeyInsert: return ctrl ? KeyAction::Copy : shifted ? KeyAction::Paste : KeyAction::None;
    case plat::KeyDelete: return ctrl ? KeyAction::Delete : shifted ? KeyAction::Cut : KeyAction::None;
    case plat::KeyReturn:
    case plat::KeySpace: return KeyAction::Properties;
    case plat::KeyEscape:
    case 2:
        EscAbort = true;
        return KeyAction::Abort;
    default: return KeyAction::None;
    }
}

bool frmMapListLogic::RunHandler(const char* name, const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const ListCommandCancelled&) {
        return false;
    } catch (...) {
        AppError e = plat::CurrentError();
        WheelUnhook(wheelWindow_);
        AppendErrorSource(e, ErrFormUnload, kObject, QString::fromLatin1(name), QString());
        StopOnFatalError(e, QStringLiteral("by StopError"));
        return false;
    }
}
