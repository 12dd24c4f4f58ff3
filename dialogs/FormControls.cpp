#include "FormControls.h"

#include <QPushButton>

#include "FlexGrid.h"
#include "Fonts.h"
#include "basFileNames.h"

QPushButton* NamedButton(const QString& name, const QString& caption, const QString& tip, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

void ApplyGridLook(plat::FlexGrid* grid) {
    grid->setForeColor(static_cast<uint32_t>(GetGridForeColor()));
    grid->setBackColor(static_cast<uint32_t>(GetGridBackColor()));
    QFont f(plat::ResolveFontFamily(GetGridFontName()));
    if (GetGridFontSize() > 0) f.setPointSize(GetGridFontSize());
    grid->setFont(f);
}
