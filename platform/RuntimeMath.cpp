#include "RuntimeMath.h"

#include "AppError.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace plat {

int32_t CLng(double x) {
    double r = RoundHalfEven(x);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) ThrowRuntimeError(ErrOverflow);
    return static_cast<int32_t>(r);
}

int16_t CInt(double x) {
    double r = RoundHalfEven(x);
    if (!(r >= -32768.0 && r <= 32767.0)) ThrowRuntimeError(ErrOverflow);
    return static_cast<int16_t>(r);
}

int64_t Div(int64_t a, int64_t b) {
    if (b == 0) ThrowRuntimeError(ErrDivByZero);
    if (a == std::numeric_limits<int64_t>::min() && b == -1) ThrowRuntimeError(ErrOverflow);
    return a / b;
}

int64_t Mod(int64_t a, int64_t b) {
    if (b == 0) ThrowRuntimeError(ErrDivByZero);
    if (b == -1) return 0;
    return a % b;
}

QString FormatShortest(double x) {
    if (x == 0) return QStringLiteral("0");
    if (std::isnan(x)) return QStringLiteral("NaN");
    if (std::isinf(x)) return x > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    // Not printf: Qt sets the C library's number locale from the environment,
    // and files, settings and texts must read "1.5" whatever the user's locale.
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 15);
    std::transform(buf, r.ptr, buf, [](char c) { return c == 'e' ? 'E' : c; });
    return QString::fromLatin1(buf, r.ptr - buf);
}

namespace {

int digitValue(QChar c, int base) {
    int v = -1;
    ushort u = c.unicode();
    if (u >= '0' && u <= '9') v = u - '0';
    else if (u >= 'a' && u <= 'f') v = u - 'a' + 10;
    else if (u >= 'A' && u <= 'F') v = u - 'A' + 10;
    return v < base ? v : -1;
}

// Hexadecimal and octal literals keep the run time's typing: up to 16 bits
// they are a signed Integer, up to 32 bits a signed Long.
double radixValue(uint64_t v, int bitsUsed) {
    if (bitsUsed <= 16) return static_cast<double>(static_cast<int16_t>(static_cast<uint16_t>(v)));
    return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(v)));
}

// The C locale of the process may use another decimal mark: read "." always.
double parseDecimal(const std::string& s) {
    const char* b = s.data();
    const char* e = b + s.size();
    if (b != e && *b == '+') ++b;
    double v = 0;
    auto r = std::from_chars(b, e, v);
    if (r.ec == std::errc::result_out_of_range) {
        // Too small underflows to zero; too large is infinite (callers decide).
        // Which one follows from the decimal exponent of the first significant
        // digit: an integer of 309 digits overflows as surely as 1e309.
        const bool neg = b != e && *b == '-';
        const std::string_view t(neg ? b + 1 : b, static_cast<size_t>(e - (neg ? b + 1 : b)));
        const size_t epos = t.find('e');
        const std::string_view mant = t.substr(0, epos);
        long long exp10 = 0;
        if (epos != std::string_view::npos) {
            std::string_view ex = t.substr(epos + 1);
            const bool negExp = !ex.empty() && ex[0] == '-';
            if (!ex.empty() && (ex[0] == '-' || ex[0] == '+')) ex.remove_prefix(1);
            for (char ch : ex) exp10 = std::min(exp10 * 10 + (ch - '0'), 1000000000LL);
            if (negExp) exp10 = -exp10;
        }
        const size_t point = std::min(mant.find('.'), mant.size());
        const size_t first = mant.find_first_of("123456789");
        if (first != std::string_view::npos) {
            // Position of the first significant digit relative to the point.
            exp10 += first < point ? static_cast<long long>(point - first) - 1 : -static_cast<long long>(first - point);
        }
        if (first != std::string_view::npos && exp10 >= 0) return neg ? -HUGE_VAL : HUGE_VAL;
        return neg ? -0.0 : 0.0;
    }
    return v;
}

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'); }

// Parses "&H.." / "&O.." at pos; returns false when there is none.
bool parseRadix(const QString& s, qsizetype& pos, bool skipBlanks, double& out, bool& overflow) {
    overflow = false;
    if (pos + 1 >= s.size() || s[pos] != QLatin1Char('&')) return false;
    QChar k = s[pos + 1].toUpper();
    int base = k == QLatin1Char('H') ? 16 : k == QLatin1Char('O') ? 8 : 0;
    if (!base) return false;
    qsizetype p = pos + 2;
    uint64_t v = 0;
    int digits = 0;
    while (p < s.size()) {
        if (skipBlanks && isBlank(s[p])) { ++p; continue; }
        int d = digitValue(s[p], base);
        if (d < 0) break;
        v = v * base + d;
        if (v > 0xFFFFFFFFull) overflow = true;
        ++digits;
        ++p;
    }
    pos = p;
    int bits = base == 16 ? digits * 4 : digits * 3;
    if (base == 8 && v <= 0xFFFF) bits = 16;
    if (base == 16 && v <= 0xFFFF && digits <= 4) bits = 16;
    out = radixValue(v, bits > 16 ? 32 : 16);
    return true;
}

} // namespace

double Val(const QString& text) {
    qsizetype pos = 0;
    while (pos < text.size() && isBlank(text[pos])) ++pos;
    double rv;
    bool overflow;
    if (parseRadix(text, pos, true, rv, overflow)) return overflow ? 0 : rv;

    std::string num;
    bool seenDigit = false, seenPoint = false, inExp = false, expDigit = false;
    for (; pos < text.size(); ++pos) {
        QChar c = text[pos];
        if (isBlank(c)) continue;
        ushort u = c.unicode();
        if (u >= '0' && u <= '9') {
            num.push_back(char(u));
            if (inExp) expDigit = true; else seenDigit = true;
        } else if ((u == '+' || u == '-') && (num.empty() || (inExp && (num.back() == 'e')))) {
            num.push_back(char(u));
        } else if (u == '.' && !seenPoint && !inExp) {
            seenPoint = true;
            num.push_back('.');
        } else if ((u == 'e' || u == 'E' || u == 'd' || u == 'D') && seenDigit && !inExp) {
            inExp = true;
            num.push_back('e');
        } else {
            break;
        }
    }
    if (!seenDigit) return 0;
    if (inExp && !expDigit) {
        while (!num.empty() && (num.back() == 'e' || num.back() == '+' || num.back() == '-')) num.pop_back();
    }
    return parseDecimal(num);
}

int32_t CDblError(const QString& text, double& out) {
    QString s = text.trimmed();
    if (s.isEmpty()) return ErrTypeMismatch;
    qsizetype pos = 0;
    double rv;
    bool overflow;
    if (parseRadix(s, pos, false, rv, overflow)) {
        if (pos != s.size() || pos == 2) return ErrTypeMismatch;
        if (overflow) return ErrOverflow;
        out = rv;
        return 0;
    }
    std::string num;
    pos = 0;
    if (s[pos] == QLatin1Char('+') || s[pos] == QLatin1Char('-')) num.push_back(char(s[pos++].unicode()));
    bool digits = false;
    while (pos < s.size()) {
        ushort u = s[pos].unicode();
        if (u >= '0' && u <= '9') { num.push_back(char(u)); digits = true; }
        else if (u == ',' && digits) { /* thousands separator */ }
        else break;
        ++pos;
    }
    if (pos < s.size() && s[pos] == QLatin1Char('.')) {
        num.push_back('.');
        ++pos;
        while (pos < s.size() && s[pos].isDigit() && s[pos].unicode() < 128) {
            num.push_back(char(s[pos].unicode()));
            digits = true;
            ++pos;
        }
    }
    if (!digits) return ErrTypeMismatch;
    if (pos < s.size()) {
        ushort u = s[pos].unicode();
        if (u == 'e' || u == 'E' || u == 'd' || u == 'D') {
            num.push_back('e');
            ++pos;
            if (pos < s.size() && (s[pos] == QLatin1Char('+') || s[pos] == QLatin1Char('-'))) num.push_back(char(s[pos++].unicode()));
            bool ed = false;
            while (pos < s.size() && s[pos].unicode() >= '0' && s[pos].unicode() <= '9') {
                num.push_back(char(s[pos++].unicode()));
                ed = true;
            }
            if (!ed) return ErrTypeMismatch;
        }
    }
    if (pos != s.size()) return ErrTypeMismatch;
    out = parseDecimal(num);
    return std::isinf(out) ? ErrOverflow : 0;
}

double CDbl(const QString& text) {
    double v = 0;
    if (const int32_t error = CDblError(text, v)) ThrowRuntimeError(error);
    return v;
}

} // namespace plat
