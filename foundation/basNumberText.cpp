#include "basNumberText.h"

#include <cmath>

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
