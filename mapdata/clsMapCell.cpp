#include "clsMapCell.h"

bool clsMapCell::IsValid() const { return CellFigure && CellAdmin && CellThing && CellFigure->IsRight(); }

int32_t clsMapCell::RealColor() const {
    const int32_t own = CellFigure->OwnColor();
    if (own != -1) return own;
    CellThing->setPage(CellAdmin->Page());
    return CellThing->Fore();
}
