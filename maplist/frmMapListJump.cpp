// The figure list's Jump menu, its popup menu's mark items and the reversal
// of the selected rows.
#include "frmMapListLogic.h"

#include "DoEvents.h"
#include "MessageBox.h"
#include "basNumberText.h"

frmMapListLogic::JumpMenu frmMapListLogic::JumpMenuState() {
    JumpMenu menu;
    const bool many = MapUnit && figureCount() >= 2;
    menu.top = menu.bottom = menu.line = menu.record = many;
    if (!MapUnit) return menu;
    const auto table = MarkTable();
    const int digits = frmMapListRows::RowNumberDigits(figureCount());
    for (size_t k = 1; k <= 9; ++k) {
        QString caption = QStringLiteral("マーク &") + QString::number(k);
        if (table[k] > 0) {
            caption += QStringLiteral("  [") + frmMapListRows::RowNumberText(table[k], digits) + QLatin1Char(']');
            menu.clear = menu.clearAll = menu.jump = true;
            menu.jumpItem[k] = true;
        }
        menu.caption[k] = caption;
    }
    return menu;
}

void frmMapListLogic::JumpToLine() {
    const QString answer = plat::InputBox(
        QStringLiteral("ジャンプ先行番号を入力してください.  [1～") + QString::number(RowCount()) + QLatin1Char(']'),
        QStringLiteral("行番号ジャンプ"));
    const int32_t row = JstrToLong(answer);
    if (IsValidRow(row)) JumpRow(row);
}

void frmMapListLogic::RecordMark(int k) {
    if (k >= 1 && k <= 9) SetMark(SelectTopRow(), static_cast<int16_t>(k));
}

void frmMapListLogic::ClearMark() { SetMark(SelectTopRow(), 0); }

void frmMapListLogic::ClearAllMarks() {
    if (!MapUnit) return;
    clsMap& map = MapUnit->Map();
    for (int32_t i = 1; i <= map.Count(); ++i)
        if (map.Item(i)->JumpMark() != 0) map.Item(i)->setJumpMark(0);
    rows_.Invalidate();
    grid_->Refresh();
}

void frmMapListLogic::RecallMark(int k) {
    if (!MapUnit || k < 1 || k > 9) return;
    const int32_t row = MapUnit->Map().SearchJumpMark(static_cast<int16_t>(k));
    if (IsValidRow(row)) JumpRow(row);
}

void frmMapListLogic::AutoMark() {
    const int32_t r = SelectTopRow();
    if (!IsValidRow(r)) return;
    const auto table = MarkTable();
    int16_t mark = 1;
    for (int16_t k = 1; k <= 9; ++k) {
        if (table[static_cast<size_t>(k)] == 0) {
            mark = k;
            break;
        }
    }
    SetMark(r, mark);
}

void frmMapListLogic::PrevMark() {
    if (!MapUnit) return;
    const int32_t r = SelectTopRow();
    int32_t found = 0;
    for (int32_t i = 1; i < r; ++i)
        if (MapUnit->Map().Item(i)->JumpMark() != 0) found = i;
    if (found > 0) JumpRow(found);
}

void frmMapListLogic::NextMark() {
    if (!MapUnit) return;
    const int32_t r = SelectTopRow();
    for (int32_t i = std::max(r + 1, 1); i <= figureCount(); ++i) {
        if (MapUnit->Map().Item(i)->JumpMark() != 0) {
            JumpRow(i);
            return;
        }
    }
}

frmMapListLogic::PopupMenu frmMapListLogic::PopupMenuState() {
    PopupMenu menu;
    if (!MapUnit) return menu;
    const int32_t r = SelectTopRow();
    const bool row = r >= 1;
    const bool editable = !MapUnit->Map().LockMode();
    menu.undo = MapUnit->Map().CanUndo();
    menu.cut = menu.del = menu.touch = row && editable;
    menu.copy = menu.markRegist = menu.markClear = row;
    menu.paste = ClipMap && ClipMap->Count() > 0 && editable;
    menu.before = r > 1;
    menu.next = r < RowCount();
    return menu;
}

void frmMapListLogic::Reverse() {
    int32_t first = 0, last = 0;
    if (!MapUnit || !GetSelectRange(first, last) || first == last) return;
    const int32_t h = (last - first + 1) / 2;
    {
        LongOperation busy(*this);
        clsMap& map = startBulkEdit();
        for (int32_t i = first, j = last; i < j; ++i, --j) {
            if (!YieldEvents()) break;
            SetStatusText(QStringLiteral("逆順実行中... (%1/%2)").arg(i - first + 1).arg(h));
            const MapFigurePtr a = map.Item(i);
            const MapFigurePtr b = map.Item(j);
            // A refused swap (a locked map) is told once.
            if (!renewFigure(i, b)) break;
            renewFigure(j, a);
        }
        grid_->setRedraw(true);
        grid_->Refresh();
    }
    PrintCaption();
    SetStatusText(QString());
    SetSelectRange(first, last);
}
