#include "basNumberText.h"

#include "ErrorMng.h"
#include "RuntimeMath.h"
#include "basNarrow.h"


#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

namespace {

const QString kObject = QStringLiteral("basLibrary");

enum class NumKind : uint8_t { None, Digit, Multiplier, Unit, Point, Comma };

struct NumInfo {
    NumKind kind = NumKind::None;
    int digit = 0;
    double factor = 0;
};

NumInfo classify(char16_t c) {
    if (c < 0x80) {
        if (c >= u'0' && c <= u'9') return {NumKind::Digit, c - u'0', 0};
        if (c == u'.') return {NumKind::Point, 0, 0};
        if (c == u',') return {NumKind::Comma, 0, 0};
        return {};
    }
    if (c >= u'０' && c <= u'９') return {NumKind::Digit, c - u'０', 0};
    switch (c) {
    case u'〇': case u'零': return {NumKind::Digit, 0, 0};
    case u'一': case u'壱': return {NumKind::Digit, 1, 0};
    case u'二': case u'弐': return {NumKind::Digit, 2, 0};
    case u'三': case u'参': return {NumKind::Digit, 3, 0};
    case u'四': case u'肆': return {NumKind::Digit, 4, 0};
    case u'五': case u'伍': return {NumKind::Digit, 5, 0};
    case u'六': case u'陸': return {NumKind::Digit, 6, 0};
    case u'七': case u'漆': return {NumKind::Digit, 7, 0};
    case u'八': case u'捌': return {NumKind::Digit, 8, 0};
    case u'九': case u'玖': return {NumKind::Digit, 9, 0};
    case u'十': case u'拾': return {NumKind::Multiplier, 0, 10};
    case u'百': case u'佰': return {NumKind::Multiplier, 0, 100};
    case u'千': case u'阡': case u'仟': return {NumKind::Multiplier, 0, 1000};
    case u'廿': return {NumKind::Multiplier, 0, 20};
    case u'卅': return {NumKind::Multiplier, 0, 30};
    case u'万': case u'萬': return {NumKind::Unit, 0, 1e4};
    case u'億': return {NumKind::Unit, 0, 1e8};
    case u'兆': return {NumKind::Unit, 0, 1e12};
    case u'京': return {NumKind::Unit, 0, 1e16};
    case u'割': return {NumKind::Unit, 0, 0.1};
    case u'分': return {NumKind::Unit, 0, 0.01};
    case u'厘': return {NumKind::Unit, 0, 0.001};
    case u'毛': return {NumKind::Unit, 0, 0.0001};
    case u'.': case u'．': case u'・': return {NumKind::Point, 0, 0};
    case u',': case u'，': return {NumKind::Comma, 0, 0};
    default: return {};
    }
}

// What may follow a decimal point or a thousands separator inside a number.
bool isNumeral(QStringView s, qsizetype i) {
    if (i >= s.size()) return false;
    const NumKind k = classify(s[i].unicode()).kind;
    return k == NumKind::Digit || k == NumKind::Multiplier;
}

constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The digits and at most one point of the number being read.
struct Pending {
    QVarLengthArray<char, 32> chars;
    bool digit = false;

    void addDigit(int d) {
        chars.append(static_cast<char>('0' + d));
        digit = true;
    }
    void addPoint() { chars.append('.'); }
    bool empty() const { return chars.isEmpty(); }
    void clear() {
        chars.clear();
        digit = false;
    }
    std::string_view view() const { return {chars.constData(), static_cast<size_t>(chars.size())}; }
    // Empty counts 0; a lone point is no number.
    double value() const {
        if (chars.isEmpty()) return 0;
        if (!digit) plat::ThrowRuntimeError(plat::ErrTypeMismatch);
        return DecimalDigitsValue(view());
    }
};

void appendAscii(TextBuffer& out, std::string_view s) {
    for (char ch : s) out.append(static_cast<char16_t>(ch));
}

// A plain digit run written back without going through the Double: leading
// zeros and trailing fraction zeros dropped. Up to 15 significant digits this
// is the shortest text, except that small fractions stay positional: an
// exponent form ("1E-05") would put a letter into texts whose letters mean
// something else (E is east in an angle). False over 15 digits.
bool appendCanonical(std::string_view s, TextBuffer& out) {
    const size_t point = s.find('.');
    std::string_view ip = s.substr(0, point);
    std::string_view fp = point == std::string_view::npos ? std::string_view() : s.substr(point + 1);
    ip.remove_prefix(std::min(ip.find_first_not_of('0'), ip.size()));
    fp = fp.substr(0, fp.find_last_not_of('0') + 1);
    if (ip.empty() && fp.empty()) {
        out.append(u'0');
        return true;
    }
    if (ip.empty()) {
        if (fp.size() - fp.find_first_not_of('0') > 15) return false;
    } else if (ip.size() + fp.size() > 15) {
        return false;
    }
    if (ip.empty()) out.append(u'0');
    else appendAscii(out, ip);
    if (!fp.empty()) {
        out.append(u'.');
        appendAscii(out, fp);
    }
    return true;
}

QStringView trimBlanks(QStringView s) {
    auto blank = [](QChar c) { return c == QLatin1Char(' ') || c.unicode() == 0x3000; };
    qsizetype b = 0, e = s.size();
    while (b < e && blank(s[b])) ++b;
    while (e > b && blank(s[e - 1])) --e;
    return s.mid(b, e - b);
}

struct LengthUnit {
    const char16_t* spelling;
    double factor;
};

// The half-width katakana spellings also match full-width input, which is
// narrowed before the units are looked up.
constexpr LengthUnit kLengthUnits[] = {
    {u"ﾒｰﾄﾙ", 1}, {u"meter", 1}, {u"metre", 1}, {u"m", 1},
    {u"ｾﾝﾁﾒｰﾄﾙ", 0.01}, {u"ｾﾝﾁ", 0.01}, {u"㎝", 0.01}, {u"centi meter", 0.01}, {u"cm", 0.01},
    {u"ﾐﾘﾒｰﾄﾙ", 0.001}, {u"ﾐﾘ", 0.001}, {u"㎜", 0.001}, {u"mili meter", 0.001}, {u"mm", 0.001},
    {u"ﾏｲｸﾛﾒｰﾄﾙ", 1e-06}, {u"ﾏｲｸﾛ", 1e-06}, {u"micro meter", 1e-06}, {u"μm", 1e-06}, {u"um", 1e-06},
    {u"ﾅﾉﾒｰﾄﾙ", 1e-09}, {u"ﾅﾉ", 1e-09}, {u"nano meter", 1e-09}, {u"nm", 1e-09},
    {u"ｷﾛﾒｰﾄﾙ", 1000}, {u"ｷﾛ", 1000}, {u"㎞", 1000}, {u"kilo meter", 1000}, {u"km", 1000},
    {u"ｲﾝﾁ", 0.0254}, {u"inch", 0.0254}, {u"in", 0.0254}, {u"\"", 0.0254},
    {u"ﾌｨｰﾄ", 0.3048}, {u"ﾌｰﾄ", 0.3048}, {u"feet", 0.3048}, {u"foot", 0.3048}, {u"ft", 0.3048}, {u"'", 0.3048},
    {u"ﾔｰﾄﾞ", 0.9144}, {u"yard", 0.9144}, {u"yd", 0.9144},
    // チェーン narrows to ﾁｪｰﾝ; the spelling with the stray voiced mark is kept
    // for texts that carry it.
    {u"ﾁｪｰﾝﾞ", 20.1168}, {u"ﾁｪｰﾝ", 20.1168}, {u"chain", 20.1168}, {u"ch", 20.1168},
    {u"ﾏｲﾙ", 1609.344}, {u"mile", 1609.344}, {u"mi", 1609.344}, {u"ml", 1609.344},
    {u"海里", 1852}, {u"浬", 1852}, {u"ｶｲﾘ", 1852}, {u"nautical mile", 1852}, {u"sea mile", 1852},
    {u"M", 1852}, {u"NM", 1852}, {u"nmi", 1852},
    {u"寸", 0.030303}, {u"尺", 0.30303}, {u"間", 1.818181}, {u"町", 109.09}, {u"里", 3927.2},
    {u"ﾄｩｲｯﾌﾟ", 1.763889e-05}, {u"Twip", 1.763889e-05}, {u"twip", 1.763889e-05},
    {u"ﾎﾟｲﾝﾄ", 0.000352778}, {u"point", 0.000352778}, {u"pt", 0.000352778},
    {u"天文単位", 149600000000}, {u"AU", 149600000000},
};

struct UnitEntry {
    QStringView spelling;
    double factor;
};

// Longest spelling first, so that the first prefix found is the longest.
const std::vector<UnitEntry>& unitsByLength() {
    static const std::vector<UnitEntry> units = [] {
        std::vector<UnitEntry> v;
        for (const LengthUnit& u : kLengthUnits) v.push_back({QStringView(u.spelling), u.factor});
        std::stable_sort(v.begin(), v.end(),
                         [](const UnitEntry& a, const UnitEntry& b) { return a.spelling.size() > b.spelling.size(); });
        return v;
    }();
    return units;
}

bool isNumberPartChar(QChar c) {
    static const QString chars = QStringLiteral(" 0123456789.-+Ee&HhOo,");
    return chars.contains(c);
}

} // namespace

namespace {

void kansujiInto(QStringView text, TextBuffer& out) {
    Pending pending;
    double groupSum = 0, total = 0;
    bool prevNumber = false;
    bool plainDigits = true;   // no multiplier or unit in the current number
    bool hasPoint = false;     // the current number holds its decimal point
    const qsizetype n = text.size();
    for (qsizetype i = 0; i <= n; ++i) {
        const char16_t c = i < n ? text[i].unicode() : 0;
        const NumInfo k = i < n ? classify(c) : NumInfo{};
        bool value = false;
        switch (k.kind) {
        case NumKind::Digit:
            pending.addDigit(k.digit);
            value = true;
            break;
        case NumKind::Multiplier:
            groupSum += (pending.empty() ? 1.0 : pending.value()) * k.factor;
            pending.clear();
            plainDigits = false;
            value = true;
            break;
        case NumKind::Unit:
            if (prevNumber) {
                groupSum += pending.value();
                pending.clear();
                total += groupSum * k.factor;
                groupSum = 0;
                plainDigits = false;
                value = true;
            }
            break;
        case NumKind::Point:
            // A second point ends the number and stays in the text, so that
            // "1.2.3" is no number to the readers after this one.
            if (!hasPoint && isNumeral(text, i + 1)) {
                pending.addPoint();
                hasPoint = true;
                value = true;
            }
            break;
        case NumKind::Comma:
            value = prevNumber && isNumeral(text, i + 1);
            break;
        case NumKind::None:
            break;
        }
        if (!value) {
            if (prevNumber) {
                if (!(plainDigits && pending.digit && appendCanonical(pending.view(), out))) {
                    groupSum += pending.value();
                    total += groupSum;
                    // 309 digits and more: an overflow, not a text "inf".
                    if (!std::isfinite(total)) plat::ThrowRuntimeError(plat::ErrOverflow);
                    if (total < 1e15 && total == std::floor(total)) {
                        // A whole number below 1e15 is its own shortest text.
                        appendAscii(out, std::to_string(static_cast<int64_t>(total)));
                    } else {
                        const QString t = plat::FormatShortest(total);
                        out.append(reinterpret_cast<const char16_t*>(t.constData()), t.size());
                    }
                }
                pending.clear();
                groupSum = total = 0;
                plainDigits = true;
                hasPoint = false;
            }
            if (i < n) {
                out.append(c == u'－' ? u'-' : c == u'＋' ? u'+' : c);
            }
        }
        prevNumber = value;
    }
}

} // namespace

double DecimalDigitsValue(std::string_view s) {
    // Up to 15 significant digits the quotient of two exact doubles is
    // already the correctly rounded value.
    uint64_t mant = 0;
    int sig = 0, frac = 0;
    bool point = false, exact = true;
    for (char ch : s) {
        if (ch == '.') {
            point = true;
            continue;
        }
        if (mant == 0 && ch == '0') {
            if (point) ++frac;
            continue;
        }
        if (++sig > 15) {
            exact = false;
            break;
        }
        mant = mant * 10 + static_cast<uint64_t>(ch - '0');
        if (point) ++frac;
    }
    if (exact && frac <= 22) return static_cast<double>(mant) / kPow10[frac];
    double v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec == std::errc::result_out_of_range) {
        // Too large, or too small to tell from zero.
        const size_t firstSignificant = s.find_first_of("123456789");
        return firstSignificant < s.find('.') ? HUGE_VAL : 0.0;
    }
    return v;
}

QString KansujiToArabic(const QString& text) {
    try {
        TextBuffer out;
        kansujiInto(text, out);
        return QString(reinterpret_cast<const QChar*>(out.constData()), out.size());
    } catch (...) {
        RaiseError(ErrLibrary, kObject, QStringLiteral("KansujiToArabic"));
    }
}

void KansujiToArabic(QStringView text, TextBuffer& out) {
    try {
        kansujiInto(text, out);
    } catch (...) {
        RaiseError(ErrLibrary, kObject, QStringLiteral("KansujiToArabic"));
    }
}

double JstrToDouble(const QString& text) {
    try {
        return plat::CDbl(KansujiToArabic(UpperNarrowText(trimBlanks(text))));
    } catch (...) {
        RaiseError(ErrLibrary, kObject, QStringLiteral("JstrToDouble"));
    }
}

int32_t JstrToLong(const QString& text) {
    try {
        return plat::CLng(JstrToDouble(text));
    } catch (...) {
        return 0;
    }
}

namespace {

// The sum of StrToMeter, or the number of its error. A character that
// starts neither a number nor a unit is found before any conversion, so
// the usual bad texts cost no exception.
int32_t meterSum(const QString& text, const QString& defaultUnit, double& out) {
    QString s = KansujiToArabic(trimBlanks(NarrowText(text)).toString());
    bool negative = false;
    if (s.startsWith(QLatin1Char('-')) || s.startsWith(QLatin1Char('+'))) {
        negative = s[0] == QLatin1Char('-');
        s.remove(0, 1);
    }
    if (s.endsWith(QLatin1Char('-')) || s.endsWith(QLatin1Char('+'))) {
        negative = negative || s.back() == QLatin1Char('-');
        s.chop(1);
    }
    double defaultFactor = 1;
    for (const LengthUnit& u : kLengthUnits) {
        if (QStringView(u.spelling) == defaultUnit) {
            defaultFactor = u.factor;
            break;
        }
    }
    double sum = 0;
    qsizetype pos = 0;
    const qsizetype n = s.size();
    while (pos < n) {
        const qsizetype start = pos;
        while (pos < n && isNumberPartChar(s[pos])) ++pos;
        const QString numberText = s.mid(start, pos - start);
        double factor = defaultFactor;
        const QStringView rest = QStringView(s).mid(pos);
        for (const UnitEntry& u : unitsByLength()) {
            if (rest.startsWith(u.spelling)) {
                factor = u.factor;
                pos += u.spelling.size();
                break;
            }
        }
        // A unit alone is no length, nor is a character that starts no term.
        if (numberText.trimmed().isEmpty()) return plat::ErrTypeMismatch;
        double number = 0;
        try {
            number = JstrToDouble(numberText);
        } catch (const AppError& e) {
            return e.number() == plat::ErrOverflow ? plat::ErrOverflow : plat::ErrTypeMismatch;
        }
        sum += factor * number;
    }
    // Terms too large for a Double sum to infinity or NaN: no length.
    if (!std::isfinite(sum)) return plat::ErrOverflow;
    out = negative ? -sum : sum;
    return 0;
}

} // namespace

double StrToMeter(const QString& text, const QString& defaultUnit) {
    try {
        double metres = 0;
        if (const int32_t error = meterSum(text, defaultUnit, metres)) plat::ThrowRuntimeError(error);
        return metres;
    } catch (...) {
        RaiseError(ErrLibrary, kObject, QStringLiteral("StrToMeter"));
    }
}

bool TryStrToMeter(const QString& text, const QString& defaultUnit, double& metres) {
    try {
        return meterSum(text, defaultUnit, metres) == 0;
    } catch (...) {
        return false;
    }
}

QString LongToJpUnits(int32_t v, bool shortForm) {
    const int64_t a = v < 0 ? -static_cast<int64_t>(v) : v;
    const int64_t oku = a / 100000000, man = (a / 10000) % 10000, rest = a % 10000;
    QString text;
    if (shortForm && oku > 0 && man >= 1000 && man % 100 == 0 && rest == 0) {
        text = plat::FormatShortest(static_cast<double>(a) / 1e8) + QStringLiteral("億");
    } else if (shortForm && oku == 0 && man >= 1 && rest >= 1000 && rest % 100 == 0) {
        text = plat::FormatShortest(static_cast<double>(a) / 1e4) + QStringLiteral("万");
    } else {
        if (oku > 0) text += QString::number(oku) + QStringLiteral("億");
        if (man > 0) text += QString::number(man) + QStringLiteral("万");
        if (rest > 0) text += QString::number(rest);
    }
    return v < 0 ? QLatin1Char('-') + text : text;
}

QString DoubleToJpUnits(double v, bool shortForm) {
    if (!std::isfinite(v)) return plat::FormatShortest(v);
    const double a = std::fabs(v);
    // Each group is taken off what is left; a quotient rounded up at a group
    // border is taken back so that no group goes negative.
    auto split = [](double& left, double unit) {
        double g = std::floor(left / unit);
        if (g * unit > left) g -= 1;
        left -= g * unit;
        return g;
    };
    double rest = a;
    const double chou = split(rest, 1e12);
    const double oku = split(rest, 1e8);
    const double man = split(rest, 1e4);
    auto round100 = [](double g) { return g >= 1000 && std::fmod(g, 100) == 0; };
    QString text;
    if (shortForm && chou > 0 && round100(oku) && man == 0 && rest == 0) {
        text = plat::FormatShortest(a / 1e12) + QStringLiteral("兆");
    } else if (shortForm && chou == 0 && oku > 0 && round100(man) && rest == 0) {
        text = plat::FormatShortest(a / 1e8) + QStringLiteral("億");
    } else if (shortForm && chou == 0 && oku == 0 && man > 0 && round100(rest)) {
        text = plat::FormatShortest(a / 1e4) + QStringLiteral("万");
    } else {
        if (chou > 0) text += plat::FormatShortest(chou) + QStringLiteral("兆");
        if (oku > 0) text += plat::FormatShortest(oku) + QStringLiteral("億");
        if (man > 0) text += plat::FormatShortest(man) + QStringLiteral("万");
        if (rest > 0) text += plat::FormatShortest(rest);
    }
    return v < 0 ? QLatin1Char('-') + text : text;
}

double ArcSin(double x) {
    if (x >= 1) return 1.5707963267949;
    if (x <= -1) return -1.5707963267949;
    return std::atan(x / std::sqrt(1 - x * x));
}

double ArcCos(double x) {
    if (x >= 1) return 0;
    if (x <= -1) return 3.14159265358979;
    return 1.5707963267949 + std::atan(-x / std::sqrt(1 - x * x));
}

double Hypot(double x, double y) { return std::sqrt(x * x + y * y); }
