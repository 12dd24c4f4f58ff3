#include "basHMap.h"

#include "Clock.h"
#include "clsMapRem.h"
#include "clsNativeColor.h"

#include <QRegularExpression>

#include <cmath>

namespace {

const QDate kZeroDay(1899, 12, 30);

// Seconds from the zero day to 0100-01-01 and to the end of 9999-12-31.
const int64_t kFirstSecond = kZeroDay.daysTo(QDate(100, 1, 1)) * 86400;
const int64_t kLastSecond = (kZeroDay.daysTo(QDate(9999, 12, 31)) + 1) * 86400 - 1;

int64_t floorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

QDateTime fromSeconds(int64_t s) {
    const int64_t days = floorDiv(s, 86400);
    const int64_t rest = s - days * 86400;
    return QDateTime(kZeroDay.addDays(days), QTime::fromMSecsSinceStartOfDay(static_cast<int>(rest * 1000)));
}

} // namespace

// ------------------------------------------------------------- identifiers

int64_t FigSecondsNow() {
    static const int64_t kZeroDayTo1970 = kZeroDay.daysTo(QDate(1970, 1, 1)) * 86400;
    return kZeroDayTo1970 + plat::LocalSeconds();
}

double NewFigID() { return NewFigIDAt(FigSecondsNow()); }

double NewFigIDAt(int64_t seconds) {
    const double r = std::floor(plat::Rnd() * 100000);
    return static_cast<double>(seconds) * 100000 + std::min(r, 99999.0);
}

QDateTime FigIDToDate(double id) {
    const double s = std::floor(id / 100000);
    if (!std::isfinite(s) || s < static_cast<double>(kFirstSecond) || s > static_cast<double>(kLastSecond))
        return QDateTime();
    return fromSeconds(static_cast<int64_t>(s));
}

std::shared_ptr<clsMapFigure> NewMapRem(const QString& text) {
    auto rem = std::make_shared<clsMapRem>();
    rem->setAdmin(0);
    rem->setComment(text);
    return rem;
}

// ------------------------------------------------------ kinds and map codes

QString FigCodeToName(int32_t code, int32_t lang) {
    static const char* const keywords[] = {"REM", "POLYLINE", "POLYGON", "SYMBOL", "TEXT"};
    static const char16_t* const names[] = {u"注釈", u"連続線", u"多辺形", u"点記号", u"文字列"};
    if (!IsValidFigCode(code)) return QString();
    if (lang == 1) return QString::fromLatin1(keywords[code - 1]);
    if (lang == 2) return QString::fromUtf16(names[code - 1]);
    return QString();
}

QString MapCodeText(int32_t code) { return (QStringLiteral("000000") + QString::number(code)).right(6); }

int16_t MapCodeKind(int32_t code) { return static_cast<int16_t>((code / 10000) % 10); }
int16_t MapCodeLevel(int32_t code) { return static_cast<int16_t>((code / 1000) % 10); }
int16_t MapCodeCountry(int32_t code) { return static_cast<int16_t>(code % 1000); }

int32_t MakeMapCode(int32_t mode, int32_t kind, int32_t level, int32_t country) {
    const int32_t base = mode == 1 ? 100000 : mode == 2 ? 200000 : 0;
    if (kind < 0 || kind > 8 || level < 0 || level > 8 || country < 0 || country > 999) return 0;
    return base + kind * 10000 + level * 1000 + country;
}

QString MapKindName(int32_t kind) {
    static const char16_t* const names[] = {u"ベース地図", u"海底地形図", u"世界行政図", u"世界地形図", u"世界交通図",
                                            u"国別行政図", u"国別地形図", u"国別交通図", u"ユーザー地図"};
    if (kind >= 1 && kind <= 9) return QString::fromUtf16(names[kind - 1]);
    return QStringLiteral("その他地図");
}

// --------------------------------------------------------- attribute words

int16_t PaletteIndexOf(int32_t colour) {
    if (colour == -1) return -1;
    if (!gvNativeColor) return -2;
    return gvNativeColor->RGBtoPal(colour);
}

void SplitAttr104(int32_t attr, int16_t& showMode, int32_t& colour) {
    showMode = static_cast<int16_t>((attr & 3) - 1);
    const int16_t index = static_cast<int16_t>(((attr >> 2) & 63) - 1);
    colour = gvNativeColor ? gvNativeColor->Color(index) : -1;
}

int32_t MakeAttr104(int32_t showMode, int32_t colour) {
    const int16_t mode = static_cast<int16_t>(showMode + 1);
    const int16_t pal = static_cast<int16_t>((PaletteIndexOf(colour) + 1) * 4);
    return int32_t{mode} + int32_t{pal};
}

void SplitAttr105(int32_t attr, int16_t& jumpMark, int16_t& showMode, int32_t& colour) {
    colour = (attr & 0x4000000) ? (attr & 0xFFFFFF) : -1;
    showMode = static_cast<int16_t>(((attr >> 24) & 3) - 1);
    jumpMark = static_cast<int16_t>((attr >> 27) & 15);
}

int32_t MakeAttr105(int32_t jumpMark, int32_t showMode, int32_t colour) {
    uint32_t w = static_cast<uint32_t>(jumpMark) << 27;
    w |= (static_cast<uint32_t>(showMode + 1) & 3u) << 24;
    if (colour >= 0) w |= (static_cast<uint32_t>(colour) & 0xFFFFFFu) | 0x4000000u;
    return static_cast<int32_t>(w);
}

// -------------------------------------------------------------------- dates

QDateTime ZeroDate() { return QDateTime(kZeroDay, QTime(0, 0)); }

QString FormatGeneralDate(const QDateTime& d) {
    if (!d.isValid()) return QString();
    const QString time = d.time().toString(QStringLiteral("H:mm:ss"));
    if (d.date() == kZeroDay) return time;
    const QString date = d.date().toString(QStringLiteral("yyyy/MM/dd"));
    if (d.time() == QTime(0, 0)) return date;
    return date + QLatin1Char(' ') + time;
}

QDateTime ParseDateText(const QString& text) {
    static const QRegularExpression re(QStringLiteral(
        R"(^\s*(?:(\d{1,4})([/.\-])(\d{1,2})\2(\d{1,2}))?\s*(?:(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?\s*$)"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch() || (m.captured(1).isEmpty() && m.captured(5).isEmpty())) return QDateTime();
    QDate date = kZeroDay;
    if (!m.captured(1).isEmpty()) {
        date = QDate(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
        if (!date.isValid() || date.year() < 100) return QDateTime();
    }
    QTime time(0, 0);
    if (!m.captured(5).isEmpty()) {
        time = QTime(m.captured(5).toInt(), m.captured(6).toInt(), m.captured(7).isEmpty() ? 0 : m.captured(7).toInt());
        if (!time.isValid()) return QDateTime();
    }
    return QDateTime(date, time);
}
