// The small rules of the map data model that figures, the map and its file
// share: figure identifiers and creation dates, remark lines, the names of
// the figure kinds, the ranges of figure fields, the six-digit map code, and
// the packed attribute words of map files 1.04 and 1.05.
#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <memory>

class clsMapFigure;

// -- identifiers
// An identifier is the creation time in whole seconds since 1899-12-30 00:00
// (local time) times 100000 plus a random part 0..99999, taken from the
// injectable clock and random source.
double NewFigID();
// The seconds part of an identifier made now.
int64_t FigSecondsNow();
// An identifier for a creation time already taken (many figures made at once).
double NewFigIDAt(int64_t seconds);
// The creation date and time of an identifier; an invalid QDateTime when the
// identifier is no number or lies outside the years 100..9999.
QDateTime FigIDToDate(double id);

// A new remark with Admin 0 (so it is right) and the text as its comment.
std::shared_ptr<clsMapFigure> NewMapRem(const QString& text);

// -- figure kinds and value ranges
// lang 1 the keyword ("POLYGON"), lang 2 the Japanese name ("多辺形");
// empty for a code outside 1..5 or another lang.
QString FigCodeToName(int32_t code, int32_t lang);
inline bool IsValidFigCode(int32_t v) { return 1 <= v && v <= 5; }
inline bool IsValidShowMode(int32_t v) { return v == -1 || v == 0 || v == 1; }
inline bool IsValidColor(int32_t v) { return -1 <= v && v <= 0xFFFFFF; }
inline bool IsValidJumpMark(int32_t v) { return 0 <= v && v <= 9; }
inline bool IsValidMapLevel(int32_t v) { return 1 <= v && v <= 8; }

// -- map codes: mode x 100000 + kind x 10000 + level x 1000 + country
QString MapCodeText(int32_t code);            // six digits with leading zeros
int16_t MapCodeKind(int32_t code);
int16_t MapCodeLevel(int32_t code);
int16_t MapCodeCountry(int32_t code);
// 0 unless kind and level are 0..8 and country 0..999; a mode other than
// 1 and 2 contributes nothing.
int32_t MakeMapCode(int32_t mode, int32_t kind, int32_t level, int32_t country);
QString MapKindName(int32_t kind);

// -- attribute words of the older map files
// 1.04: bits 0-1 show mode + 1, bits 2-7 palette index + 1 of the own colour
// in the program's palette (no palette: no own colour).
void SplitAttr104(int32_t attr, int16_t& showMode, int32_t& colour);
int32_t MakeAttr104(int32_t showMode, int32_t colour);
// The palette index of a colour as MakeAttr104 stores it: -1 none, -2 a
// colour the palette does not hold (which the 1.04 word cannot keep).
int16_t PaletteIndexOf(int32_t colour);
// 1.05: bits 0-23 colour, 24-25 show mode + 1, 26 colour present, 27-30 jump mark.
void SplitAttr105(int32_t attr, int16_t& jumpMark, int16_t& showMode, int32_t& colour);
int32_t MakeAttr105(int32_t jumpMark, int32_t showMode, int32_t colour);

// -- dates as the run time writes and reads them
// The zero date 1899-12-30 00:00, which also stands for "no date".
QDateTime ZeroDate();
// "yyyy/MM/dd H:mm:ss"; the date alone at midnight, the time alone on the
// zero day; empty for an invalid date.
QString FormatGeneralDate(const QDateTime& d);
// A date, a time or both: year, month and day separated by "/", "-" or ".",
// then H:mm or H:mm:ss. An invalid QDateTime for anything else.
QDateTime ParseDateText(const QString& text);
