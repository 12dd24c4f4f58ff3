// Coordinate text of maps, always for the current map mode: arc-seconds
// written as angles in latitude/longitude maps (mode 1), metres written as
// kilometres in X/Y maps (mode 2). Every operation gives 0, an empty text
// or false in any other mode. The positions between the map and the view
// are in basHMapView.h (they need the plot engine and the canvas).
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

// A coordinate text that cannot be read, from the safe readers.
constexpr int32_t kInvalidCoordinate = static_cast<int32_t>(0x80000001);

// The current map mode; the application installs its own source at
// start-up (none installed: mode 0, every operation empty).
void SetMapModeSource(std::function<int32_t()> source);
int32_t CurrentMapMode();

// Arc-minutes (v div 60) or kilometres (v div 1000), truncated toward zero.
int32_t MapToCoarse(int32_t v);
int32_t CoarseToMap(int32_t v);

// Mode 1: LonToStr / LatToStr. Mode 2: the kilometres with three decimals
// and "km", right-aligned in 12 characters (‹  1234.567km›).
QString MapXToStr(int32_t x);
QString MapYToStr(int32_t y);
// Mode 1: LonMinToStr / LatMinToStr of the minutes. Mode 2: the whole
// kilometres right-aligned in 6 characters, then "km" (‹  1234km›).
QString MapXToCoarseStr(int32_t x);
QString MapYToCoarseStr(int32_t y);
// The two joined by ", ".
QString MapXYToStr(int32_t x, int32_t y);
QString MapXYToCoarseStr(int32_t x, int32_t y);

// Mode 1: an angle text (AngleSecStrToVal). Mode 2: a length whose unit
// defaults to kilometres, in metres. A text that does not read raises its
// error (module "basHMap").
int32_t MapStrToX(const QString& text);
int32_t MapStrToY(const QString& text);
// The same, kInvalidCoordinate for a text that does not read.
int32_t MapStrToXSafe(const QString& text);
int32_t MapStrToYSafe(const QString& text);

// Mode 1: -648000..648000 (x), -324000..324000 (y); mode 2: -MaxXY..MaxXY.
// showMsg shows the range message for a value outside.
bool IsValidMapX(int32_t x, bool showMsg);
bool IsValidMapY(int32_t y, bool showMsg);
