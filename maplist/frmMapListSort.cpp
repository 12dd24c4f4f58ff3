// The figure list's sort of the selected rows.
#include "frmMapListLogic.h"

#include "AppState.h"
#include "DoEvents.h"
#include "clsMapRem.h"
#include "clsMapText.h"

namespace {

// Status texts are renewed once per this many figures.
constexpr int32_t kStatusPeriod = 4096;

SortEntry KeyOf(const clsMapFigure& f, const clsMapUnit& unit, int key) {
    SortEntry e;
    e.kind = f.FigCode();
    switch (key) {
    case 1:
        if (const auto& t = unit.Things().Item(f.Thing())) e.text = t->Name();
        break;
    case 2: e.number = f.Thing(); break;
    case 3:
        if (const auto& a = unit.Admins().Item(f.Admin())) e.text = a->AdminName();
        break;
    case 4: e.number = f.Admin(); break;
    case 5:
        if (e.kind == 5) e.text = static_cast<const clsMapText&>(f).TextUnicode(static_cast<int32_t>(gvLanguage));
        break;
    case 6:
        if (e.kind != 1) e.number = f.Poly()->RectBound().CenterY();
        break;
    default: break;
    }
    return e;
}

} // namespace

bool frmMapListLogic::SortMap(int direction, int key) {
    if (key == 7) return SortMapComment(direction);
    int32_t first = 0, last = 0;
    if (!MapUnit || key < 1 || key > 6 || !GetSelectRange(first, last) || last - first + 1 < 2) return false;
    const bool textKey = key == 1 || key == 3 || key == 5;
    return sortRange(
        first, last, [&](const std::vector<SortEntry>& e) { return SortOrder(e, direction, textKey); },
        [&](const clsMapFigure& f) { return KeyOf(f, *MapUnit, key); });
}

bool frmMapListLogic::SortMapComment(int direction) {
    int32_t first = 0, last = 0;
    if (!MapUnit || !GetSelectRange(first, last) || last - first + 1 < 2) return false;
    return sortRange(
        first, last, [&](const std::vector<SortEntry>& e) { return CommentSortOrder(e, direction); },
        [](const clsMapFigure& f) {
            SortEntry e;
            e.kind = f.FigCode();
            if (e.kind == 1) e.text = static_cast<const clsMapRem&>(f).Comment();
            return e;
        });
}

bool frmMapListLogic::sortRange(int32_t first, int32_t last,
                                const std::function<std::vector<int32_t>(const std::vector<SortEntry>&)>& sorter,
                                const std::function<SortEntry(const clsMapFigure&)>& entryOf) {
    const int32_t n = last - first + 1;
    const QString status = QStringLiteral("ソート中... (%1/") + QString::number(n) + QLatin1Char(')');
    bool done = false;
    {
        LongOperation busy(*this);
        grid_->Refresh();
        plat::DoEvents();
        // The work is done on copies of our own: the user's list clipboard
        // stays, and Esc before the rows are replaced leaves the map as it was.
        const clsMap& map = MapUnit->Map();
        std::vector<SortEntry> entries;
        std::vector<MapFigurePtr> copies;
        entries.reserve(static_cast<size_t>(n));
        copies.reserve(static_cast<size_t>(n));
        for (int32_t i = first; i <= last; ++i) {
            if (!YieldEvents()) break;
            if ((i - first) % kStatusPeriod == 0) SetStatusText(status.arg(i - first + 1));
            const MapFigurePtr& f = map.Item(i);
            entries.push_back(entryOf(*f));
            copies.push_back(f->Copy());
            copies.back()->setReserve(0);
        }
        if (!EscAbort) {
            const std::vector<int32_t> order = sorter(entries);
            std::vector<MapFigurePtr> sorted;
            sorted.reserve(copies.size());
            for (int32_t k : order) sorted.push_back(copies[static_cast<size_t>(k)]);
            MapUnit->Map().ResetUndo();
            if (DelLines(first, last)) {
                done = InsLines(first, sorted);
                if (!done) {
                    // Copies of figures the map held always go back in; this
                    // only guards the all-or-nothing promise.
                    MapUnit->Map().Undo();
                    RowsChanged();
                }
            }
        }
    }
    SetStatusText(QString());
    SetSelectRange(first, last);
    printAfterChange();
    return done;
}
