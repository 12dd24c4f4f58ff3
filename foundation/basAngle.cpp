#include "basAngle.h"

#include "ErrorMng.h"
#include "RuntimeMath.h"
#include "basLibrary.h"
#include "basNarrow.h"
#include "basNumberText.h"

#include <QStringView>
#include <QVarLengthArray>

#include <algorithm>
#include <utility>
#include <bit>
#include <charconv>
#include <string_view>
#include <cmath>
#include <string>

namespace {

const QString kModule = QStringLiteral("basAngle");

constexpr double kRadPerSec = 4.848136811095355e-6;
constexpr int64_t kTurn = 1296000;
constexpr int64_t kHalfTurn = 648000;
constexpr int64_t kQuarterTurn = 324000;

int16_t gUnit = 0;
int16_t gSymbol = 0;
int16_t gDirStyle = 0;

// A text built in place; the longest angle text is well under its size.
struct TextBuf {
    char16_t d[64];
    int n = 0;
    void put(char16_t c) { d[n++] = c; }
    void put(const char16_t* s) {
        while (*s) d[n++] = *s++;
    }
    // The last `width` decimal digits of v, zero-padded.
    void digits(int64_t v, int width) {
        for (int k = width - 1; k >= 0; --k) {
            d[n + k] = static_cast<char16_t>(u'0' + v % 10);
            v /= 10;
        }
        n += width;
    }
    // All digits of v, at least `width` of them.
    void atLeast(int64_t v, int width) {
        int len = 1;
        for (int64_t t = v; t >= 10; t /= 10) ++len;
        digits(v, len > width ? len : width);
    }
    QStringView view() const { return QStringView(d, n); }
    QString str() const { return view().toString(); }
};

struct Marks {
    const char16_t* deg;
    const char16_t* min;
    const char16_t* sec;
    const char16_t* rad;
};

Marks marksOf(int16_t style, int16_t unit) {
    switch (style) {
    case 1: return {u"度", u"分", u"秒", u"弧度"};
    case 2: return {u"°", u"′", u"″", u"ｒａｄ"};
    case 3: return {u"d", u"m", u"s", u"radian"};
    case 4: return {u"ﾟ", u"'", u"\"", u"rad"};
    case 5: return {unit == 4 ? u"" : u"_", unit == 2 ? u"" : u"_", u"", u""};
    default: return {unit == 4 ? u"" : u" ", unit == 2 ? u"" : u" ", u"", u""};
    }
}

void secToBuf(int32_t sec, TextBuf& b) {
    if (gUnit == 0) SetAngleUnit(1);
    if (gSymbol == 0) SetAngleSymbol(2);
    const int64_t a = sec < 0 ? -static_cast<int64_t>(sec) : sec;
    const Marks m = marksOf(gSymbol, gUnit);
    b.put(sec < 0 ? u'-' : u'+');
    switch (gUnit) {
    case 1:
        b.digits(a / 3600, 3);
        b.put(m.deg);
        b.digits(a % 3600 / 60, 2);
        b.put(m.min);
        b.digits(a % 60, 2);
        b.put(m.sec);
        break;
    case 2: {
        const int64_t t = a + 30;
        b.digits(t / 3600, 3);
        b.put(m.deg);
        b.digits(t % 3600 / 60, 2);
        b.put(m.min);
        break;
    }
    case 3:
        b.digits(a, 7);
        b.put(m.sec);
        break;
    case 4: {
        // a / 3600 with seven decimals is a x 25000 / 9 in units of 1e-7;
        // a ninth is never a half, so rounding up from 5/9 is exact.
        const int64_t units = (a * 25000 + 4) / 9;
        b.atLeast(units / 10000000, 3);
        b.put(u'.');
        b.digits(units % 10000000, 7);
        b.put(m.deg);
        break;
    }
    default: {
        char num[48];
        const auto r = std::to_chars(num, num + sizeof num, static_cast<double>(a) * kRadPerSec,
                                     std::chars_format::fixed, 9);
        for (const char* p = num; p < r.ptr; ++p) b.put(static_cast<char16_t>(*p));
        b.put(m.rad);
        break;
    }
    }
}

QString addDir(QStringView text, int16_t kind) {
    if (gDirStyle == 0) SetAngleDirStyle(2);
    if (text.size() < 3) return QString();
    const bool negative = text[0] == QLatin1Char('-');
    QStringView body = text.mid(1);
    if (kind == 2 && (gUnit == 1 || gUnit == 2 || gUnit == 4)) body = body.mid(1);
    if (gDirStyle == 4) return (negative ? QLatin1Char('-') : QLatin1Char('+')) + body.toString();
    if (kind != 1 && kind != 2) return QString();
    QString out;
    out.reserve(body.size() + 2);
    if (gDirStyle == 1) {
        if (kind == 1) out.append(negative ? QStringLiteral("西経") : QStringLiteral("東経"));
        else out.append(negative ? QStringLiteral("南緯") : QStringLiteral("北緯"));
        out.append(body);
        return out;
    }
    const QChar letter = kind == 1 ? QLatin1Char(negative ? 'W' : 'E') : QLatin1Char(negative ? 'S' : 'N');
    if (gDirStyle == 2) out.append(letter);
    out.append(body);
    if (gDirStyle == 3) out.append(letter);
    return out;
}

int64_t normalizeLon(int64_t v) {
    if (v > kHalfTurn) return v - (v + kHalfTurn - 1) / kTurn * kTurn;
    if (v < -kHalfTurn) return v + (kHalfTurn - 1 - v) / kTurn * kTurn;
    return v;
}

int64_t normalizeLat(int64_t v) {
    v = normalizeLon(v);
    if (v > kQuarterTurn) return kHalfTurn - v;
    if (v < -kQuarterTurn) return -kHalfTurn - v;
    return v;
}

int32_t minutesToSec(int32_t min) {
    const int64_t s = static_cast<int64_t>(min) * 60;
    if (s > INT32_MAX || s < INT32_MIN) plat::ThrowRuntimeError(plat::ErrOverflow);
    return static_cast<int32_t>(s);
}

} // namespace

bool SetAngleUnit(int16_t unit) {
    if (!InRange(unit, 1, 5)) return false;
    gUnit = unit;
    return true;
}

int16_t GetAngleUnit() { return gUnit; }

int16_t GetAngleSymbol() { return gSymbol; }

bool SetAngleSymbol(int16_t style) {
    if (!InRange(style, 1, 6)) return false;
    gSymbol = style;
    return true;
}

bool SetAngleDirStyle(int16_t style) {
    if (!InRange(style, 1, 4)) return false;
    gDirStyle = style;
    return true;
}

QString SecToStr(int32_t sec) {
    try {
        TextBuf b;
        secToBuf(sec, b);
        return b.str();
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("SecToStr"));
    }
}

QString MinToStr(int32_t min) {
    QString s = SecToStr(minutesToSec(min));
    if (gUnit == 1) s.truncate(gSymbol < 5 ? 8 : 7);
    return s;
}

QString AddDirChr(const QString& text, int16_t kind) {
    try {
        return addDir(text, kind);
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("AddDirChr"));
    }
}

QString AngleToStr(int32_t sec) { return SecToStr(static_cast<int32_t>(sec % kTurn)); }

namespace {

// LonToStr and LatToStr: one text built in place, one allocation.
QString directionText(int32_t sec, int16_t kind) {
    TextBuf b;
    try {
        secToBuf(kind == 1 ? NormalizeLon(sec) : NormalizeLat(sec), b);
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("SecToStr"));
    }
    try {
        return addDir(b.view(), kind);
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("AddDirChr"));
    }
}

} // namespace

QString LonToStr(int32_t sec) { return directionText(sec, 1); }

QString LatToStr(int32_t sec) { return directionText(sec, 2); }

QString LonMinToStr(int32_t min) { return AddDirChr(MinToStr(NormalizeLon(minutesToSec(min)) / 60), 1); }

QString LatMinToStr(int32_t min) { return AddDirChr(MinToStr(NormalizeLat(minutesToSec(min)) / 60), 2); }

int32_t NormalizeLon(int32_t sec) { return static_cast<int32_t>(normalizeLon(sec)); }

int32_t NormalizeLat(int32_t sec) { return static_cast<int32_t>(normalizeLat(sec)); }

void NormalizeLonLat(int32_t& lon, int32_t& lat) {
    lon = NormalizeLon(lon);
    lat = NormalizeLat(lat);
}

double SecToRadian(int32_t sec) { return sec * kRadPerSec; }

int32_t RadianToSec(double rad) { return plat::CLng(rad / kRadPerSec); }

double AnglePosToRadian(double x, double y) {
    try {
        if (std::fabs(y) <= std::fabs(x)) {
            const double base = x == 0 ? 0.0 : std::atan(y / x);
            if (x >= 0) return base;
            return y <= 0 ? base - 3.14159265358979 : base + 3.14159265358979;
        }
        const double base = std::atan(-x / y);
        return y < 0 ? base - 1.5707963267949 : base + 1.5707963267949;
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("AnglePosToRadian"));
    }
}

void RotateXY(double angle, double& x, double& y) {
    const double c = std::cos(angle), s = std::sin(angle);
    const double x0 = x, y0 = y;
    x = x0 * c - y0 * s;
    y = x0 * s + y0 * c;
}

void LonLatToVector(double lon, double lat, double& x, double& y, double& z) {
    const double cl = std::cos(lat);
    x = std::sin(lon) * cl;
    y = std::sin(lat);
    z = -std::cos(lon) * cl;
}

void VectorToLonLat(double x, double y, double z, double& lon, double& lat) {
    lon = AnglePosToRadian(-z, x);
    if (y > -0.7 && y < 0.7) {
        lat = ArcSin(y);
    } else {
        lat = ArcCos(std::sqrt(x * x + z * z));
        if (y < 0) lat = -lat;
    }
}

// ---------------------------------------------------------------------------
// Reading typed angles

namespace {

constexpr char16_t kDegMark = u'ﾟ';
constexpr char16_t kEnd = u'\r';

struct Replacement {
    const char16_t* from;
    char16_t to;   // 0: removed
};

// Applied in this order, each to every occurrence; a longer search text
// stands before any shorter one it contains.
constexpr Replacement kReplacements[] = {
    {u":", 0}, {u"=", 0},
    {u"経度", u'X'}, {u"LONGITUDE", u'X'}, {u"LONG.", u'X'}, {u"LONG", u'X'}, {u"LON.", u'X'}, {u"LON", u'X'},
    {u"LNG", u'X'}, {u"λ", u'X'},
    {u"緯度", u'Y'}, {u"LATITUDE", u'Y'}, {u"LAT.", u'Y'}, {u"LAT", u'Y'}, {u"φ", u'Y'},
    {u"西経", u'W'}, {u"西", u'W'}, {u"WEST", u'W'}, {u"W.", u'W'},
    {u"東経", u'E'}, {u"東", u'E'}, {u"EAST", u'E'}, {u"E.", u'E'},
    {u"南緯", u'S'}, {u"南", u'S'}, {u"SOUTH", u'S'}, {u"S.", u'S'},
    {u"北緯", u'N'}, {u"北", u'N'}, {u"NORTH", u'N'}, {u"N.", u'N'},
    // 弧度 goes before 度, which would otherwise take its second character.
    {u"弧度", u'R'},
    {u"度", kDegMark}, {u"DEGREE", kDegMark}, {u"DEG", kDegMark}, {u"ｰ", kDegMark}, {u"°", kDegMark},
    {u"゜", kDegMark},
    {u"分", u'\''}, {u"MINUTE", u'\''}, {u"MIN", u'\''}, {u"′", u'\''}, {u"’", u'\''},
    {u"秒", u'"'}, {u"SECOND", u'"'}, {u"SEC", u'"'}, {u"″", u'"'}, {u"”", u'"'}, {u"゛", u'"'},
    {u"RADIAN", u'R'}, {u"RAD.", u'R'}, {u"RAD", u'R'},
    {u"D", kDegMark},
    {u"M", u'\''},
};

bool isFormalChar(char16_t c) {
    if (c >= u'0' && c <= u'9') return true;
    switch (c) {
    case u'.': case u'-': case u'+': case u'W': case u'E': case u'S': case u'N': case u'X': case u'Y':
    case u'R': case u' ': case kDegMark: case u'\'': case u'"':
        return true;
    default:
        return false;
    }
}

constexpr int kReplacementCount = static_cast<int>(std::size(kReplacements));
static_assert(kReplacementCount <= 64, "one bit per replacement");

// The replacements by the first character of their search text, a bit per
// replacement: a text asks only for those whose first character it holds.
// The other characters sit in a small open-addressed table.
struct FirstCharIndex {
    static constexpr int kSlots = 64;
    uint64_t ascii[128] = {};
    char16_t otherChar[kSlots] = {};
    uint64_t otherEntries[kSlots] = {};

    static constexpr int slotOf(char16_t c) { return (c ^ (c >> 6) ^ (c >> 12)) & (kSlots - 1); }

    constexpr FirstCharIndex() {
        for (int i = 0; i < kReplacementCount; ++i) {
            const char16_t c = kReplacements[i].from[0];
            if (c < 128) {
                ascii[c] |= uint64_t{1} << i;
                continue;
            }
            int k = slotOf(c);
            while (otherChar[k] && otherChar[k] != c) k = (k + 1) & (kSlots - 1);
            otherChar[k] = c;
            otherEntries[k] |= uint64_t{1} << i;
        }
    }
    constexpr uint64_t entriesFor(char16_t c) const {
        if (c < 128) return ascii[c];
        for (int k = slotOf(c); otherChar[k]; k = (k + 1) & (kSlots - 1))
            if (otherChar[k] == c) return otherEntries[k];
        return 0;
    }
};
constexpr FirstCharIndex kFirstChars;

// Each replacement in list order over the whole text. Every replacement is
// shorter than its search text, so each compacts the text in place.
void applyReplacements(TextBuffer& t) {
    char16_t* p = t.data();
    qsizetype n = t.size();
    uint64_t todo = 0;
    for (qsizetype i = 0; i < n; ++i) todo |= kFirstChars.entriesFor(p[i]);
    while (todo) {
        const int e = std::countr_zero(todo);
        todo &= todo - 1;
        const Replacement& r = kReplacements[e];
        using Traits = std::char_traits<char16_t>;
        const char16_t first = r.from[0];
        const qsizetype len = static_cast<qsizetype>(Traits::length(r.from));
        auto matchesAt = [&](qsizetype i) {
            return p[i] == first && i + len <= n && Traits::compare(p + i, r.from, static_cast<size_t>(len)) == 0;
        };
        qsizetype w = -1;
        for (const char16_t* q = Traits::find(p, static_cast<size_t>(n), first); q;
             q = Traits::find(q + 1, static_cast<size_t>(p + n - q - 1), first)) {
            if (matchesAt(q - p)) {
                w = q - p;
                break;
            }
        }
        if (w < 0) continue;
        for (qsizetype i = w; i < n;) {
            if (matchesAt(i)) {
                if (r.to) p[w++] = r.to;
                i += len;
            } else {
                p[w++] = p[i++];
            }
        }
        n = w;
        // What a replacement writes may start a later search text.
        if (r.to) todo |= kFirstChars.entriesFor(r.to) & ~((uint64_t{2} << e) - 1);
    }
    t.resize(n);
}

// The digits and points of the number being read.
struct Digits {
    QVarLengthArray<char, 64> chars;
    void push_back(char c) { chars.append(c); }
    bool empty() const { return chars.isEmpty(); }
    void clear() { chars.clear(); }
    size_t size() const { return static_cast<size_t>(chars.size()); }
    operator std::string_view() const { return {chars.constData(), size()}; }
};

// The value of digits with at most one point; empty gives 0. A second
// point makes it no number (false): "35.30.15" is not 35.3 degrees.
bool decimalField(std::string_view s, double& out) {
    const size_t point = s.find('.');
    if (point != std::string_view::npos && s.find('.', point + 1) != std::string_view::npos) return false;
    if (s.size() <= 15 && point == std::string_view::npos) {
        int64_t v = 0;
        for (char c : s) v = v * 10 + (c - '0');
        out = static_cast<double>(v);
    } else {
        out = s.find_first_of("0123456789") == std::string_view::npos ? 0 : DecimalDigitsValue(s);
    }
    return true;
}

// What a plain-number conversion could possibly accept: an optional sign,
// then digits, a point or a radix prefix, and number characters only.
// Anything else is surely no plain number and skips the throwing conversion.
bool mayBePlainNumber(QStringView t) {
    t = t.trimmed();
    qsizetype i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) ++i;
    if (i >= t.size()) return false;
    const char16_t f = t[i].unicode();
    if (!((f >= u'0' && f <= u'9') || f == u'.' || f == u'&')) return false;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        const bool ok = (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f') ||
                        c == u'+' || c == u'-' || c == u'.' || c == u',' || c == u'&' || c == u'H' ||
                        c == u'h' || c == u'O' || c == u'o';
        if (!ok) return false;
    }
    return true;
}

struct Formal {
    char16_t kind = u' ';
    char16_t sign = u'+';
    int64_t total = 0;   // arc-seconds, not yet cut to three degree digits
};

enum class ParseResult { Ok, BadText, Overflow };

ParseResult assemble(double deg, double min, double sec, Formal& f) {
    const double t = plat::RoundHalfEven(deg * 3600 + min * 60 + sec);
    if (!(t >= 0 && t <= 2147483647.0)) return ParseResult::Overflow;
    f.total = static_cast<int64_t>(t);
    return ParseResult::Ok;
}

// Reads a typed angle. Rejections come back as a result; only the numeral
// conversion and a plain number's own errors (an overflow) are thrown.
ParseResult parseAngle(const QString& input, Formal& f) {
    QString text = input;
    if (text.contains(QLatin1Char(',')) && text.contains(QLatin1Char('.'))) {
        text.replace(QLatin1Char('.'), QChar(kDegMark));
        text.replace(QLatin1Char(','), QLatin1Char('\''));
    }

    if (mayBePlainNumber(text)) {
        double d = 0;
        const int32_t error = plat::CDblError(text, d);
        if (error != 0 && error != plat::ErrTypeMismatch) plat::ThrowRuntimeError(error);
        if (error == 0) {
            f.sign = d >= 0 ? u'+' : u'-';
            return assemble(std::fabs(d), 0, 0, f);
        }
    }

    // Upper case, narrow, trimmed; 分 is a minute mark here, not the
    // numeral for a hundredth.
    TextBuffer wide;
    for (QChar qc : std::as_const(text)) {
        char16_t pair[2] = {qc.unicode(), 0};
        const int k = pair[0] < 0x2000 ? 1 : NarrowChar(pair[0], pair);
        for (int j = 0; j < k; ++j) {
            char16_t c = pair[j];
            if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
            else if (c == u'分') c = u'′';
            wide.append(c);
        }
    }
    qsizetype b = 0, e = wide.size();
    while (b < e && wide[b] == u' ') ++b;
    while (e > b && wide[e - 1] == u' ') --e;
    TextBuffer s;
    KansujiToArabic(QStringView(wide.constData() + b, e - b), s);
    for (char16_t c : s) {
        if (!isFormalChar(c)) {
            applyReplacements(s);
            break;
        }
    }

    Digits buffer;
    double fields[3] = {0, 0, 0};
    int index = 0;
    bool digitSeen = false;
    const qsizetype n = s.size();
    for (qsizetype i = 0; i <= n; ++i) {
        const char16_t c = i < n ? s[i] : kEnd;
        switch (c) {
        case u'X': case u'Y': f.kind = c; break;
        case u'+': case u'-': f.sign = c; break;
        case u'W': f.kind = u'X'; f.sign = u'-'; break;
        case u'E': f.kind = u'X'; f.sign = u'+'; break;
        case u'N': f.kind = u'Y'; f.sign = u'+'; break;
        case u'S':
            if (buffer.empty()) {
                f.kind = u'Y';
                f.sign = u'-';
            } else {
                if (!decimalField(buffer, fields[2])) return ParseResult::BadText;
                buffer.clear();
                index = 3;
            }
            break;
        case u'.': buffer.push_back('.'); break;
        case kDegMark:
        case u'\'':
        case u'"': {
            const int field = c == kDegMark ? 0 : c == u'\'' ? 1 : 2;
            if (!decimalField(buffer, fields[field])) return ParseResult::BadText;
            buffer.clear();
            index = field + 1;
            break;
        }
        case u'R': {
            double radians = 0;
            const std::string_view digits = buffer;
            if (!decimalField(buffer, radians) || digits.find_first_of("0123456789") == std::string_view::npos)
                return ParseResult::BadText;
            const double r = plat::RoundHalfEven(radians * 648000 / 3.14159265358979);
            if (!(r >= -2147483648.0 && r <= 2147483647.0)) return ParseResult::Overflow;
            fields[2] = r;
            buffer.clear();
            index = 3;
            break;
        }
        default:
            if (c >= u'0' && c <= u'9') {
                buffer.push_back(static_cast<char>(c));
                digitSeen = true;
                break;
            }
            // A separator: it closes the number before it, and only the end
            // may follow a mark or a direction without a number between.
            if (!buffer.empty()) {
                if (index >= 3 || !decimalField(buffer, fields[index])) return ParseResult::BadText;
                buffer.clear();
            } else if (i < n) {
                return ParseResult::BadText;
            }
            ++index;
            break;
        }
    }
    if (!digitSeen) return ParseResult::BadText;
    return assemble(fields[0], fields[1], fields[2], f);
}

[[noreturn]] void throwParseFailure(ParseResult r) {
    if (r == ParseResult::Overflow) plat::ThrowRuntimeError(plat::ErrOverflow);
    throw AppError(0, QString(), QStringLiteral("角度として読めない文字列です."));
}

// The value the formal text stands for: its degrees are cut to three digits.
int32_t formalValue(const Formal& f) {
    const int64_t t = f.total;
    const int64_t v = t / 3600 % 1000 * 3600 + t % 3600;
    return static_cast<int32_t>(f.sign == u'-' ? -v : v);
}

} // namespace

QString AngleFormalStr(const QString& text) {
    try {
        Formal f;
        const ParseResult r = parseAngle(text, f);
        if (r != ParseResult::Ok) throwParseFailure(r);
        TextBuf b;
        b.put(f.kind);
        b.put(f.sign);
        b.digits(f.total / 3600, 3);
        b.put(kDegMark);
        b.digits(f.total % 3600 / 60, 2);
        b.put(u'\'');
        b.digits(f.total % 60, 2);
        b.put(u'"');
        return b.str();
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("AngleFormalStr"));
    }
}

int32_t AngleSecStrToVal(const QString& text) {
    try {
        Formal f;
        bool ok = false;
        try {
            ok = parseAngle(text, f) == ParseResult::Ok;
        } catch (...) {
        }
        if (!ok) {
            AngleFormalStr(text);   // raises the failure with its own step
            throwParseFailure(ParseResult::BadText);
        }
        return formalValue(f);
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("AngleSecStrToVal"));
    }
}

int32_t AngleStrToSec(const QString& text) {
    try {
        Formal f;
        return parseAngle(text, f) == ParseResult::Ok ? formalValue(f) : 0;
    } catch (...) {
        return 0;
    }
}

bool TryAngleSecStrToVal(const QString& text, int32_t& seconds) {
    Formal f;
    try {
        if (parseAngle(text, f) != ParseResult::Ok) return false;
    } catch (...) {
        return false;
    }
    seconds = formalValue(f);
    return true;
}

int16_t AngleKindOf(const QString& text) {
    try {
        Formal f;
        if (parseAngle(text, f) != ParseResult::Ok) return 0;
        return f.kind == u'X' ? 1 : f.kind == u'Y' ? 2 : 0;
    } catch (...) {
        return 0;
    }
}
