#include "frmMapListRows.h"

#include <QStringList>

#include <cstdlib>

#include "AppState.h"
#include "basAngle.h"
#include "basHMap.h"
#include "clsMapRem.h"
#include "clsMapText.h"

namespace {

const QChar kTab = QLatin1Char('\t');

// A coordinate as text in the map's mode: an angle with its direction in
// latitude/longitude maps, kilometres with three decimals right-aligned in
// 12 characters in X/Y maps.
QString KmText(int32_t metres) {
    const int64_t v = metres;
    const int64_t a = std::llabs(v);
    const QString text = QStringLiteral("%1%2.%3km")
                             .arg(v < 0 ? QStringLiteral("-") : QString())
                             .arg(a / 1000)
                             .arg(a % 1000, 3, 10, QLatin1Char('0'));
    return text.rightJustified(12);
}

QString PointText(int32_t x, int32_t y, int32_t mapMode) {
    if (mapMode == 2) return KmText(x) + QStringLiteral(", ") + KmText(y);
    return LonToStr(x) + QStringLiteral(", ") + LatToStr(y);
}

QString ShowMark(int32_t mode) {
    switch (mode) {
    case 1: return QStringLiteral("●");
    case 0: return QStringLiteral("×");
    default: return QStringLiteral("？");
    }
}

QString Numbered(int32_t n) { return QLatin1Char('(') + QString::number(n) + QLatin1Char(')'); }

} // namespace

QString frmMapListRows::FormatString() {
    return QStringLiteral(
        "> 行番号|マーク|表|色|<図形種 |<事象名　|<行政区名|<座標 (アンカー，開始ノード - 終了ノード)|<テキスト (注釈，属性，地名)");
}

void frmMapListRows::setUnit(MapUnitPtr unit) {
    unit_ = std::move(unit);
    Invalidate();
}

int32_t frmMapListRows::FigureCount() const { return unit_ ? unit_->Map().Count() : 0; }

QString frmMapListRows::FigureToStrGrid(const clsMapFigure* figure, const clsMapUnit* unit) {
    if (!figure || !unit || !figure->IsRight())
        return QStringLiteral(" \t□\t□\tunknown\tunknown\tunknown\tunknown\tunknown");
    const int32_t code = figure->FigCode();
    QStringList f;
    f.reserve(8);
    f << (figure->JumpMark() == 0 ? QString() : QString::number(figure->JumpMark()));
    f << ShowMark(figure->OwnShowMode());
    f << (figure->OwnColor() == -1 ? QStringLiteral("？") : QStringLiteral("■"));
    f << FigCodeToName(code, 2);
    if (code == 1) {
        f << QStringLiteral(" ") << QStringLiteral(" ");
    } else {
        const auto& thing = unit->Things().Item(figure->Thing());
        f << (thing ? thing->Name() : Numbered(figure->Thing()));
        const auto& admin = unit->Admins().Item(figure->Admin());
        f << (admin ? admin->AdminName() : Numbered(figure->Admin()));
    }
    const auto poly = figure->Poly();
    const int32_t n = poly ? poly->Count() : 0;
    const int32_t mode = unit->Map().MapMode();
    QString coords = QStringLiteral(" ");
    if (n >= 1) coords = PointText(poly->x(1), poly->y(1), mode);
    if (n >= 2) coords += QStringLiteral(" - ") + PointText(poly->LastX(), poly->LastY(), mode);
    f << coords;
    switch (code) {
    case 1: f << static_cast<const clsMapRem*>(figure)->Comment(); break;
    case 2:
    case 3:
        f << QStringLiteral("(形状：%1 , ノード数：%2)")
                 .arg(poly->IsLoop() ? QStringLiteral("閉鎖線") : QStringLiteral("解放線"))
                 .arg(n);
        break;
    case 5: f << static_cast<const clsMapText*>(figure)->TextUnicode(static_cast<int32_t>(gvLanguage)); break;
    default: f << QString(); break;
    }
    return f.join(kTab);
}

QString frmMapListRows::RowNumberText(int64_t n, int digits) {
    return QStringLiteral("%1").arg(n, digits, 10, QLatin1Char('0'));
}

int frmMapListRows::RowNumberDigits(int64_t count) {
    int digits = 1;
    for (int64_t c = count; c >= 10; c /= 10) ++digits;
    return std::max(digits, 6);
}

uint32_t frmMapListRows::MarkColor(const clsMapFigure* figure) {
    if (!figure || figure->OwnColor() == -1) return 0;
    const uint32_t c = static_cast<uint32_t>(figure->OwnColor()) & 0xFFFFFFu;
    return c == 0 ? 0x010101u : c;
}

const frmMapListRows::MadeRow& frmMapListRows::made(int32_t row) const {
    MadeRow& m = cache_[static_cast<size_t>(row) % kCacheRows];
    if (m.row == row) return m;
    m.row = row;
    const MapFigurePtr fig = unit_ ? unit_->Map().Item(row) : nullptr;
    m.cells[0] = RowNumberText(row, RowNumberDigits(FigureCount()));
    const QString fields = FigureToStrGrid(fig.get(), unit_.get());
    qsizetype start = 0;
    for (int32_t c = 1; c < kCols; ++c) {
        const qsizetype end = fields.indexOf(kTab, start);
        m.cells[static_cast<size_t>(c)] = fields.mid(start, end < 0 ? -1 : end - start);
        start = end < 0 ? fields.size() : end + 1;
    }
    m.color = MarkColor(fig.get());
    return m;
}

QString frmMapListRows::cellText(int32_t row, int32_t col) const {
    if (col < 0 || col >= kCols) return QString();
    return made(row).cells[static_cast<size_t>(col)];
}

uint32_t frmMapListRows::cellForeColor(int32_t row, int32_t col) const { return col == 3 ? made(row).color : 0; }

void frmMapListRows::Invalidate() {
    for (MadeRow& m : cache_) m.row = -1;
}

void frmMapListRows::InvalidateRow(int32_t row) {
    MadeRow& m = cache_[static_cast<size_t>(row < 0 ? 0 : row) % kCacheRows];
    if (m.row == row) m.row = -1;
}
