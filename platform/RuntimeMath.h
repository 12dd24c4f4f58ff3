// Number rules the program's arithmetic relies on, those of its run time.
// Conversions to integer round half to even, Int floors, integer division
// truncates, and a remainder has the sign of the dividend.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include <QString>

namespace plat {

// Round half to even, as every real-to-integer conversion of the program does.
inline double RoundHalfEven(double x) { return std::nearbyint(x); }

// Conversion to a 32-bit integer; throws error 6 (overflow) outside the range
// and for NaN instead of invoking undefined behaviour.
int32_t CLng(double x);
// Conversion to a 16-bit integer; error 6 outside -32768..32767.
int16_t CInt(double x);

// Int: the largest integer not above x. Fix: truncation toward zero.
inline double Int(double x) { return std::floor(x); }
inline double Fix(double x) { return std::trunc(x); }

// Integer division truncating toward zero; error 11 on division by zero.
int64_t Div(int64_t a, int64_t b);
// Remainder with the sign of the dividend; error 11 on division by zero.
int64_t Mod(int64_t a, int64_t b);

// The run time's shortest text of a Double: up to 15 significant digits,
// no trailing zeros, exponent form outside 1e-5 .. 1e15 ("1E+16", "1.5E-07").
QString FormatShortest(double x);

// Val(): the leading number of a text (blanks are skipped inside it,
// "&H" hexadecimal and "&O" octal accepted); 0 when there is none, and
// infinity (which every caller's range test refuses) when it is too large
// for a Double, with or without an exponent.
double Val(const QString& text);

// Strict text-to-Double conversion as CDbl does it: the whole text (trimmed)
// must be a number, with optional thousands separators "," in the integer
// part, an exponent, or an "&H"/"&O" prefix. Throws error 13 otherwise,
// and error 6 for a number too large for a Double.
double CDbl(const QString& text);
// The same without throwing: 0 with the value in out, else the error number
// CDbl would raise. For readers that meet many texts which are no numbers.
int32_t CDblError(const QString& text, double& out);

} // namespace plat
