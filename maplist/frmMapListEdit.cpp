// The figure list's row operations against the map and its Edit menu.
// Rows are made on demand from the map (frmMapListRows), so an operation
// only changes the map through its own edits and then tells the grid the
// new row count: row i cannot show anything but figure i.
#include "frmMapListLogic.h"

#include <algorithm>

#include "DoEvents.h"
#include "FlexGridData.h"
#include "MapListHost.h"
#include "MessageBox.h"
#include "FileOps.h"

namespace {

// A block of at least this many rows is deleted with one removal.
constexpr int32_t kBlockDelete = 5;

} // namespace

// ------------------------------------------------------------ row operations

void frmMapListLogic::takeMarks(int32_t first, int32_t count) {
    clsMap& map = MapUnit->Map();
    std::array<int32_t, 10> keeper{};
    bool any = false;
    for (int32_t r = first; r < first + count; ++r) {
        const int16_t m = map.Item(r)->JumpMark();
        if (m < 1 || m > 9) continue;
        keeper[static_cast<size_t>(m)] = r;
        any = true;
    }
    if (!any) return;
    for (int32_t i = 1; i <= map.Count(); ++i) {
        const int16_t m = map.Item(i)->JumpMark();
        // The same figure twice (midway through a swap of rows) keeps its mark.
        if (m >= 1 && m <= 9 && keeper[static_cast<size_t>(m)] > 0 && keeper[static_cast<size_t>(m)] != i &&
            map.Item(i) != map.Item(keeper[static_cast<size_t>(m)]))
            map.Item(i)->setJumpMark(0);
    }
    rows_.Invalidate();
    grid_->Refresh();
}

void frmMapListLogic::printAfterChange() {
    SetStatusText(QString());
    PrintRowCount();
    PrintUnder();
    PrintSelect();
    PrintCaption();
}

bool frmMapListLogic::InsLine(int32_t row, const MapFigurePtr& figure) {
    if (!MapUnit) return false;
    if (!IsValidRow(row)) row = RowCount() + 1;
    if (!MapUnit->Map().Ins(row, figure)) return false;
    RowsChanged();
    takeMarks(row, 1);
    return true;
}

bool frmMapListLogic::InsLines(int32_t row, const std::vector<MapFigurePtr>& figures) {
    if (!MapUnit || figures.empty()) return false;
    if (!IsValidRow(row)) row = RowCount() + 1;
    bool ok = false;
    {
        LongOperation busy(*this);
        plat::DoEvents();
        SetStatusText(QStringLiteral("地図ユニットへ挿入中..."));
        // One insertion, and the rows follow the map at once: there is no
        // half-done state for Esc to leave behind.
        ok = MapUnit->Map().Inss(row, figures);
        if (ok) {
            SetStatusText(QStringLiteral("グリッド拡張中..."));
            RowsChanged();
            const auto n = static_cast<int32_t>(figures.size());
            takeMarks(row, n);
            JumpRow(std::min(row + n, RowCount()));
        }
    }
    printAfterChange();
    return ok;
}

bool frmMapListLogic::DelLine(int32_t row) {
    if (!IsValidRow(row)) return false;
    clsMap& map = MapUnit->Map();
    MapFigurePtr copy = map.Item(row)->Copy();
    // The trash takes the copy only once the map has let the figure go.
    if (!map.Remove(row)) return false;
    MapUnit->Garbage().Add(copy);
    RowsChanged();
    return true;
}

bool frmMapListLogic::DelLines(int32_t first, int32_t last) {
    if (last < first || !IsValidRow(first) || !IsValidRow(last)) return false;
    const int32_t n = last - first + 1;
    bool ok = false;
    {
        LongOperation busy(*this);
        plat::DoEvents();
        if (n < kBlockDelete) {
            // A refusal (a locked map) is told once, not once per row.
            for (int32_t k = 0; k < n; ++k)
                if (!(ok = DelLine(first))) break;
        } else {
            SetStatusText(QStringLiteral("ゴミ箱へ複写中..."));
            clsMap& map = MapUnit->Map();
            std::vector<MapFigurePtr> copies;
            copies.reserve(static_cast<size_t>(n));
            for (int32_t i = first; i <= last && YieldEvents(); ++i) copies.push_back(map.Item(i)->Copy());
            // Stopped while copying: nothing is deleted.
            if (!EscAbort) {
                SetStatusText(QStringLiteral("地図ユニットから削除中..."));
                ok = map.Removes(first, last);
            }
            if (ok) {
                SetStatusText(QStringLiteral("グリッド縮小中..."));
                clsMap& trash = MapUnit->Garbage();
                for (const MapFigurePtr& c : copies) trash.Add(c);
                RowsChanged();
            }
        }
        JumpRow(std::min(first, RowCount()));
    }
    printAfterChange();
    return ok;
}

QString frmMapListLogic::MapFileFilter() const {
    switch (MapUnits ? MapUnits->MapMode() : 0) {
    case 1: return QStringLiteral("経緯度地図ファイル(*.MLL)|*.MLL|");
    case 2: return QStringLiteral("ＸＹ地図ファイル(*.MXY)|*.MXY|");
    default: return QString();
    }
}

QString frmMapListLogic::AskMapFileToOpen() {
    const QString name = maplisthost::InputLoadName(QString(), MapFileFilter(), QString());
    if (name.isEmpty()) return name;
    if (!plat::PathExists(name)) {
        plat::MsgBox(name + QStringLiteral("\r\nが存在しません."), plat::MbCritical);
        return QString();
    }
    return name;
}

QString frmMapListLogic::AskMapFileToSave(const QString& defaultName) {
    return maplisthost::InputSaveName(QString(), MapFileFilter(), defaultName);
}

// ----------------------------------------------------------------- Edit menu

QString frmMapListLogic::EditItemCaption(EditItem item) {
    static const char16_t* captions[EditItemCount] = {
        u"やり直し(&U)", u"切り取り(&T)", u"コピー(&C)", u"貼り付け(&P)", u"削除(&D)", u"すべて選択(&A)",
        u"ゴミ箱から１図形復活(&1)", u"ゴミ箱から全図形復活(&0)", u"図形を生成して挿入(&I)",
        u"図形を生成して追加(&Z)", u"図形プロパティ(&E)...", u"固有表示スイッチ変更(&F)", u"固有色変更(&H)...",
        u"事象変更(&K)...", u"行政区変更(&L)...", u"多辺形生成(&G)...", u"座標移動(&M)...",
        u"連続線・多辺形変換(&V)...", u"連続線圧縮(&J)", u"曲線化(&S)", u"前後図形(&B)", u"直前の座標を代入(&1)",
        u"直後の座標を代入(&2)", u"直後の座標を追加(&3)", u"直後の図形と結合(&4)", u"逆順(&R)",
        u"昇順ソート(&X)", u"降順ソート(&Y)",
    };
    return QString::fromUtf16(captions[item]);
}

QStringList frmMapListLogic::EditSubItemCaptions(EditItem item) {
    const auto list = [](std::initializer_list<const char16_t*> texts) {
        QStringList out;
        for (const char16_t* t : texts) out << QString::fromUtf16(t);
        return out;
    };
    switch (item) {
    case mnuInsert:
    case mnuAdd: return list({u"注釈(&R)...", u"連続線(&L)...", u"多辺形(&G)...", u"地図記号(&S)...", u"文字列(&T)..."});
    case mnuShow: return list({u"事象依存(&1)", u"常時隠蔽(&2)", u"常時表示(&3)"});
    case mnuCurve: return list({u"３次スプライン(&1)", u"３次Ｂスプライン(&2)", u"２次Ｂスプライン(&3)"});
    case mnuSortUp:
    case mnuSortDown:
        return list({u"事象名(&1)", u"事象番号(&2)", u"行政区名(&3)", u"行政区番号(&4)", u"地名(&5)", u"緯度(&6)",
                     u"コメント(&7)"});
    default: return {};
    }
}

std::array<bool, frmMapListLogic::EditItemCount> frmMapListLogic::EditMenuEnabled() {
    int32_t first = 0, last = 0;
    const bool s = MapUnit && GetSelectRange(first, last);
    // The lock is looked at only with a selection.
    const bool e = s && !MapUnit->Map().LockMode();
    const bool m = e && first < last;
    const clsMap* map = MapUnit ? &MapUnit->Map() : nullptr;
    const auto kind = [&](int32_t row) { return map ? map->FigCode(row) : 0; };
    const auto line = [&](int32_t row) { return kind(row) == 2 || kind(row) == 3; };
    const bool trash = MapUnit && MapUnit->Garbage().Count() >= 1;

    std::array<bool, EditItemCount> on{};
    on[mnuUndo] = map && map->CanUndo();
    on[mnuCut] = on[mnuDelete] = e;
    on[mnuCopy] = on[mnuAllSelect] = s;
    on[mnuPaste] = e && ClipMap && ClipMap->Count() >= 1;
    on[mnuGarbageOne] = on[mnuGarbageAll] = trash;
    for (EditItem i : {mnuInsert, mnuAdd, mnuTouch, mnuShow, mnuColor, mnuThing, mnuAdmin, mnuPolygon, mnuMove,
                       mnuCompress, mnuCurve})
        on[i] = e;
    on[mnuPolylinePolygon] = on[mnuPrevNext] = true;
    on[mnuPosPrev] = e && first >= 2 && kind(first) != 1;
    on[mnuPosNext] = e && last < RowCount() && kind(first) != 1;
    on[mnuPosAdd] = on[mnuJunction] = e && last < RowCount() && line(first) && line(first + 1);
    on[mnuReverse] = on[mnuSortUp] = on[mnuSortDown] = m;
    return on;
}

QString frmMapListLogic::SortKey6Caption() const {
    switch (MapListMapMode()) {
    case 1: return QStringLiteral("緯度(&6)");
    case 2: return QStringLiteral("Ｙ座標(&6)");
    default: return QString();
    }
}

void frmMapListLogic::Undo() {
    if (!MapUnits) return;
    const int32_t r = SelectTopRow();
    {
        LongOperation busy(*this);
        plat::DoEvents();
        MapUnits->Undo();
    }
    MakeGrid();
    JumpRow(r);
    PrintCaption();
}

void frmMapListLogic::Copy() {
    int32_t first = 0, last = 0;
    if (!MapUnit || !GetSelectRange(first, last)) return;
    {
        LongOperation busy(*this);
        SetStatusText(QStringLiteral("コピー中..."));
        plat::DoEvents();
        ClipMap->Clear();
        const clsMap& map = MapUnit->Map();
        for (int32_t i = first; i <= last && YieldEvents(); ++i)
            if (!ClipMap->Add(map.Item(i)->Copy())) break;
    }
    PrintClipCount();
    SetStatusText(QString());
}

void frmMapListLogic::Paste() {
    if (!MapUnit || !ClipMap) return;
    const int32_t row = std::max(SelectTopRow(), 1);
    MapUnit->Map().ResetUndo();
    std::vector<MapFigurePtr> copies;
    copies.reserve(static_cast<size_t>(ClipMap->Count()));
    for (const MapFigurePtr& f : *ClipMap) copies.push_back(f->Copy());
    InsLines(row, copies);
}

void frmMapListLogic::Cut() {
    Copy();
    Delete();
}

void frmMapListLogic::Delete() {
    int32_t first = 0, last = 0;
    if (!MapUnit || !GetSelectRange(first, last)) return;
    MapUnit->Map().ResetUndo();
    DelLines(first, last);
}

void frmMapListLogic::SelectAll() {
    const int32_t rows = grid_->cells().Rows();
    if (rows < 2) return;
    grid_->cells().select(1, 0, rows - 1, kCols - 1);
    grid_->Refresh();
    PrintSelect();
    PrintUnder();
}

void frmMapListLogic::RestoreOne() {
    if (!MapUnit) return;
    clsMap& trash = MapUnit->Garbage();
    const int32_t k = trash.Count();
    if (k < 1) return;
    // Left in the trash when the map refuses it.
    if (InsLine(MapUnit->Map().Count() + 1, trash.Item(k))) trash.Remove(k);
    printAfterChange();
}

void frmMapListLogic::RestoreAll() {
    if (!MapUnit) return;
    clsMap& trash = MapUnit->Garbage();
    if (trash.Count() < 1) return;
    MapUnit->Map().ResetUndo();
    const std::vector<MapFigurePtr> figures(trash.begin(), trash.end());
    // Emptied by an edit of its own, not Clear: the undo of this command
    // puts the figures back in the trash.
    if (InsLines(MapUnit->Map().Count() + 1, figures)) trash.Removes(1, trash.Count());
    JumpRow(RowCount());
}
