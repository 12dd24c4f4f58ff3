// Angles as integer arc-seconds: display settings, text in every unit and
// style, normalisation, radians and vectors, and the reading of angles typed
// as free text. Errors name "basAngle".
//
// 3600 arc-seconds make a degree, 648000 half a turn, 1296000 a full turn.
// Longitudes live in -648000..648000 (both ends occur), latitudes in
// -324000..324000.
#pragma once

#include <QString>

#include <cstdint>

// Display settings, 0 while never set.
// Unit: 1 degrees-minutes-seconds, 2 degrees-minutes, 3 seconds,
// 4 decimal degrees, 5 radians. Symbol style 1..6: the marks after the
// numbers (1 度分秒, 2 °′″, 3 dms, 4 ﾟ'", 5 "_", 6 blank). Direction style
// 1..4: 東経/北緯 words, leading letters, trailing letters, signs.
// The setters refuse values outside their range and return false.
bool SetAngleUnit(int16_t unit);
int16_t GetAngleUnit();
bool SetAngleSymbol(int16_t style);
int16_t GetAngleSymbol();
bool SetAngleDirStyle(int16_t style);

// Sign and angle in the current unit and symbol style: +135°30′15″. Degree
// counts keep their last three digits in units 1 and 2, seconds their last
// seven in unit 3. Unit 2 rounds to the nearest minute, half a minute up.
// Takes unit 1 and symbol style 2 when they were never set.
QString SecToStr(int32_t sec);
// An angle given in arc-minutes, at minute precision. Error 6 when min x 60
// does not fit 32 bits.
QString MinToStr(int32_t min);
// Replaces the leading sign of a SecToStr text by a direction (kind 1
// longitude, 2 latitude, which also drops the first of three degree digits).
// Takes direction style 2 when it was never set. Shorter than 3 characters,
// or a kind other than 1 and 2 in direction styles 1..3, gives "".
QString AddDirChr(const QString& text, int16_t kind);
// SecToStr of sec folded into one turn, the sign kept.
QString AngleToStr(int32_t sec);
QString LonToStr(int32_t sec);
QString LatToStr(int32_t sec);
QString LonMinToStr(int32_t min);
QString LatMinToStr(int32_t min);

// -648000..648000; whole turns are taken off exactly.
int32_t NormalizeLon(int32_t sec);
// -324000..324000, folded over the poles: 324001 gives 323999.
int32_t NormalizeLat(int32_t sec);
// Each independently: a latitude folded over a pole does not turn the longitude.
void NormalizeLonLat(int32_t& lon, int32_t& lat);

double SecToRadian(int32_t sec);
// Rounded half to even; error 6 (overflow) when the result leaves 32 bits.
// RadianToSec(SecToRadian(s)) == s for every s.
int32_t RadianToSec(double rad);

// Direction of the vector (x, y) in radians, in [-pi, pi); 0 for (0, 0).
double AnglePosToRadian(double x, double y);
// Counter-clockwise by angle radians, in place.
void RotateXY(double angle, double& x, double& y);
// Unit vector of a point given in radians: x = sin(lon) cos(lat),
// y = sin(lat), z = -cos(lon) cos(lat).
void LonLatToVector(double lon, double lat, double& x, double& y, double& z);
// The inverse, in radians; near the poles the latitude comes from the
// horizontal length, which keeps its precision there.
void VectorToLonLat(double x, double y, double z, double& lon, double& lat);

// Reading typed angles. Accepted: plain decimal degrees (135.5, -135.5);
// degrees, minutes and seconds with marks of any style, Japanese, English or
// symbolic (東経135度30分15秒, E135°30′15″, 135d30m15s); numbers separated by
// blanks (135 30 15); direction words or letters before or after (N35.5,
// 35.5N, 北緯, LAT=); radians (1.5rad); full-width text and Japanese
// numerals. An S after digits is the second mark, otherwise south.
// Rejected: no digit at all, a fourth number, a blank after a mark or a
// direction (135ﾟ 30', N 35), and anything whose seconds overflow 32 bits.
//
// The formal angle text of an accepted text: 12 characters, kind (" ", "X"
// longitude, "Y" latitude), sign, three degree digits (a count of 1000 or
// more keeps its last three), "ﾟ", two minute digits, "'", two second
// digits, "\"": ‹X+135ﾟ30'15"›. Error 0x800403EA for a text it cannot read.
QString AngleFormalStr(const QString& text);
// Arc-seconds of an accepted text, read back from its formal text; fails
// like AngleFormalStr.
int32_t AngleSecStrToVal(const QString& text);
// AngleSecStrToVal, but 0 for any text it cannot read.
int32_t AngleStrToSec(const QString& text);
// AngleSecStrToVal without raising: false for a text it cannot read. Texts
// that are no angle at all cost no exception.
bool TryAngleSecStrToVal(const QString& text, int32_t& seconds);
// 1 when the text names a longitude, 2 a latitude, else 0 (also when it
// cannot be read).
int16_t AngleKindOf(const QString& text);
