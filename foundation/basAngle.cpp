#include "basAngle.h"

#include "ErrorMng.h"

#include <cmath>

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
        RaiseError(ErrLibrary, QStringLiteral("basAngle"), QStringLiteral("AnglePosToRadian"));
    }
}
