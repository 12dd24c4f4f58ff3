#include "clsResTile.h"

clsResTile::clsResTile() : ResBitmapSet(100, 131, 3000, 3100, 3200, [](int n) { return QStringLiteral("TILE%1").arg(n); }) {}
