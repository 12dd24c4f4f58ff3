#include "clsResSymbol.h"

clsResSymbol::clsResSymbol() : ResBitmapSet(0, 47, 2000, 2100, 2200, [](int n) { return QStringLiteral("SYM0%1").arg(n, 2, 10, QLatin1Char('0')); }) {}
