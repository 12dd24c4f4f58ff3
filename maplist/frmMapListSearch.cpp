// The figure list's search and replace and its Search menu.
#include "frmMapListLogic.h"

#include "DoEvents.h"
#include "FlexGridData.h"
#include "MapTextFile.h"
#include "MessageBox.h"
#include "basColorLib.h"
#include "basHMapCoord.h"
#include "basLibrary.h"
#include "clsMapRem.h"
#include "clsMapText.h"

namespace {

struct TargetTexts {
    QString title, status, notFound;
};

TargetTexts TextsOf(const frmMapListLogic::SearchSettings& s) {
    const QString keyword = QStringLiteral("キーワードは見つかりませんでした.");
    switch (s.Target) {
    case 1: return {QStringLiteral("全情報検索"), QStringLiteral("全情報検索中 ... <") + s.Keyword + QLatin1Char('>'), keyword};
    case 2: return {QStringLiteral("テキスト検索"), QStringLiteral("テキスト検索中 ... <") + s.Keyword + QLatin1Char('>'), keyword};
    case 3:
        return {QStringLiteral("座標検索"),
                QStringLiteral("座標検索中 ... <") + MapXToStr(s.PosX) + QLatin1Char(',') + MapYToStr(s.PosY) + QLatin1Char('>'),
                QStringLiteral("座標は見つかりませんでした.")};
    case 4:
        return {QStringLiteral("固有色検索"), QStringLiteral("固有色検索中 ... <") + ColorToHex(s.Color) + QLatin1Char('>'),
                QStringLiteral("指定色は見つかりませんでした.")};
    default: return {};
    }
}

bool Contains(const QString& text, const QString& keyword) {
    return !text.isEmpty() && text.contains(keyword, Qt::CaseInsensitive);
}

} // namespace

bool frmMapListLogic::MatchRow(const clsMapFigure* figure) const {
    if (!figure) return false;
    const SearchSettings& s = SearchRecord;
    switch (s.Target) {
    case 1: return maptext::FigureToStrAll(figure, MapUnit.get(), true).contains(s.Keyword, Qt::CaseInsensitive);
    case 2:
        if (figure->FigCode() == 1) return Contains(static_cast<const clsMapRem*>(figure)->Comment(), s.Keyword);
        if (figure->FigCode() == 5) {
            const auto* t = static_cast<const clsMapText*>(figure);
            const QString text = HasWideChar(s.Keyword) ? t->TextUnicode(2)
                                                        : t->TextUnicode(1) + QLatin1Char('\t') + t->TextUnicode(2);
            return Contains(text, s.Keyword);
        }
        return false;
    case 3: {
        const auto poly = figure->Poly();
        return poly->FindPoint(1, PolyPoint{s.PosX, s.PosY}) > 0;
    }
    case 4: return figure->OwnColor() == s.Color;
    default: return false;
    }
}

bool frmMapListLogic::ReplaceInRow(int32_t row) {
    const SearchSettings& s = SearchRecord;
    if (s.Target != 2 || (s.Mode != 2 && s.Mode != 3) || !IsValidRow(row)) return false;
    const MapFigurePtr figure = MapUnit->Map().Item(row);
    int32_t lang = 0;
    QString old;
    if (figure->FigCode() == 1) {
        old = static_cast<const clsMapRem&>(*figure).Comment();
    } else if (figure->FigCode() == 5) {
        const auto& t = static_cast<const clsMapText&>(*figure);
        lang = HasWideChar(s.Keyword) || !t.TextUnicode(1).contains(s.Keyword, Qt::CaseInsensitive) ? 2 : 1;
        old = t.TextUnicode(lang);
    } else {
        return false;
    }
    if (s.Keyword.isEmpty() || !old.contains(s.Keyword, Qt::CaseInsensitive)) return false;
    const QString changed = QString(old).replace(s.Keyword, s.ReplaceWord, Qt::CaseInsensitive);
    if (s.Mode == 2 &&
        plat::MsgBox(QStringLiteral("置換前：") + old + QStringLiteral("\r\n置換後：") + changed + QStringLiteral("\r\n\r\n置換しますか？"),
                     plat::MbYesNo | plat::MbQuestion) != plat::IdYes)
        return false;
    // The map's figure is left alone: on a locked map the renewal is refused
    // and nothing changed, and undo gives the old text back.
    const MapFigurePtr copy = figure->Copy();
    copy->setFigID(figure->FigID());
    if (lang == 0) static_cast<clsMapRem&>(*copy).setComment(changed);
    else static_cast<clsMapText&>(*copy).setTextUnicode(lang, changed);
    return RenewLine(row, copy);
}

void frmMapListLogic::exeSearch() {
    if (!MapUnit) return;
    const SearchSettings& s = SearchRecord;
    if (s.Mode == 3) JumpRow(1);
    const int32_t total = RowCount();
    const int32_t start = SelectTopRow();
    if (start < 1) return;
    if ((s.Target == 1 || s.Target == 2) && s.Keyword.isEmpty()) return;
    const TargetTexts texts = TextsOf(s);
    if (texts.title.isEmpty()) return;
    const int32_t step = s.Direction == 1 ? -1 : 1;
    int32_t row = start + step;
    bool found = false, stopped = false;
    int32_t replaced = 0;
    {
        LongOperation busy(*this);
        SetStatusText(texts.status);
        grid_->Refresh();
        plat::DoEvents();
        for (; row >= 1 && row <= total; row += step) {
            if (!YieldEvents()) {
                stopped = true;
                break;
            }
            if (!MatchRow(MapUnit->Map().Item(row).get())) continue;
            found = true;
            if (s.Mode != 3) break;
            if (ReplaceInRow(row)) ++replaced;
            // A locked map refuses every row alike: told once is enough.
            else if (MapUnit->Map().LockMode()) break;
        }
        SetStatusText(QString());
    }
    if (stopped) return;
    row = Clamp(row, 1, std::max(total, 1));
    if (!found) {
        plat::MsgBox(texts.notFound, plat::MbInformation, texts.title);
        return;
    }
    JumpRow(row);
    if (s.Mode == 2) ReplaceInRow(row);
    if (s.Mode == 3) plat::MsgBox(QString::number(replaced) + QStringLiteral("個置換しました."), plat::MbInformation, texts.title);
    PrintCaption();
}

QString frmMapListLogic::SearchItemCaption(SearchItem item) {
    static const char16_t* captions[SearchItemCount] = {
        u"全情報検索(&W)...", u"テキスト検索・置換(&F)...", u"座標検索(&P)...", u"固有色検索(&C)...", u"上候補(&B)", u"下検索(&F)",
    };
    return QString::fromUtf16(captions[item]);
}

std::array<bool, frmMapListLogic::SearchItemCount> frmMapListLogic::SearchMenuEnabled() {
    std::array<bool, SearchItemCount> on{};
    const bool many = figureCount() >= 2;
    on[mnuSearchAll] = on[mnuSearchText] = on[mnuSearchPos] = on[mnuSearchColor] = many;
    const int32_t r = SelectTopRow();
    on[mnuSearchBack] = r > 1;
    on[mnuSearchForward] = r < RowCount();
    return on;
}

void frmMapListLogic::OpenSearch(int32_t target) {
    const int32_t r = SelectTopRow();
    if (!IsValidRow(r)) return;
    const MapFigurePtr figure = MapUnit->Map().Item(r);
    if (!figure) return;
    frmMapSearchLogic& d = searchDialog_;
    WheelUnhook(wheelWindow_);
    d.NodePoly = figure->Poly();
    d.Direction = SearchRecord.Direction;
    d.Keyword = SearchRecord.Keyword;
    d.ReplaceWord = SearchRecord.ReplaceWord;
    d.Target = target;
    d.Color = figure->OwnColor();
    d.Command = 0;
    if (onSearchDialog) onSearchDialog(d);
    SearchRecord.Mode = d.Command;
    SearchRecord.Direction = d.Direction;
    SearchRecord.Target = d.Target;
    SearchRecord.Keyword = d.Keyword;
    SearchRecord.ReplaceWord = d.ReplaceWord;
    SearchRecord.Color = d.Color;
    SearchRecord.PosX = d.PosX;
    SearchRecord.PosY = d.PosY;
    d.NodePoly.reset();
    WheelHook(wheelWindow_);
    grid_->Refresh();
    if (SearchRecord.Mode != 0) exeSearch();
}

void frmMapListLogic::SearchBack() {
    SearchRecord.Direction = 1;
    exeSearch();
}

void frmMapListLogic::SearchForward() {
    SearchRecord.Direction = 2;
    exeSearch();
}
