// Numbers and lengths as users type them (Japanese numerals, full-width
// digits, unit words) and large numbers as myriad-group text. Part of the
// general library: errors name the object "basLibrary".
#pragma once

#include <QString>

// Inverse sine and cosine that never fail: arguments beyond +-1 give the end
// values. The constants carry the digits the program always used.
double ArcSin(double x);
double ArcCos(double x);
double Hypot(double x, double y);
