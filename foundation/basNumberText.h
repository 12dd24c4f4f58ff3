// Numbers and lengths as users type them (Japanese numerals, full-width
// digits, unit words) and large numbers as myriad-group text. Part of the
// general library: errors name the object "basLibrary".
#pragma once

#include <QString>
#include <QStringView>
#include <QVarLengthArray>

#include <cstdint>
#include <string_view>

// Text built in place by the readers that sit under every list row.
using TextBuffer = QVarLengthArray<char16_t, 128>;

// Every run of Japanese numerals and digits replaced by its value in Arabic
// digits, other characters kept: 三万五千 gives 35000, 3割5分 gives 0.35,
// １，２３４．５ gives 1234.5. A multiplier of 10000 and up or a fraction
// unit (割 分 厘 毛) counts only directly after a number: 万 alone stays 万.
// A second decimal point ends the number and is kept: 1.2.3 stays 1.2.3.
QString KansujiToArabic(const QString& text);
// The same appended to a buffer, without allocating for short texts.
void KansujiToArabic(QStringView text, TextBuffer& out);

// The value of ASCII digits with at most one point (".5", "3.", "12.50"),
// holding at least one digit; correctly rounded and independent of the C
// locale. Too many digits give infinity.
double DecimalDigitsValue(std::string_view digits);

// Trimmed, upper-cased, narrowed, numerals converted, then read as a number
// (thousands separators, exponents, "&H" and "&O" accepted). An unreadable
// text raises the conversion error.
double JstrToDouble(const QString& text);
// The same rounded half to even to 32 bits; 0 for anything unreadable.
int32_t JstrToLong(const QString& text);

// A length in metres: a sum of terms "number unit" (1km 200m, 5尺3寸), the
// longest unit spelling winning, defaultUnit for a bare number (metres when
// it is no unit either), a sign before or after the whole. Empty gives 0;
// an unreadable text raises an error, and so does a sum too large for a
// Double (error 6).
double StrToMeter(const QString& text, const QString& defaultUnit);
// The same without raising: false for a text that is no length.
bool TryStrToMeter(const QString& text, const QString& defaultUnit, double& metres);

// v in groups of 億 and 万 (123456789 gives 1億2345万6789, 0 an empty text).
// The short form writes a round leading group as a decimal: 1.5億, 1.5万.
QString LongToJpUnits(int32_t v, bool shortForm);
// The same with 兆 too; for scale denominators.
QString DoubleToJpUnits(double v, bool shortForm);

// Inverse sine and cosine that never fail: arguments beyond +-1 give the end
// values. The end values are the 15-digit pi and pi/2 the angle code uses
// everywhere, so results compare equal with them.
double ArcSin(double x);
double ArcCos(double x);
double Hypot(double x, double y);
