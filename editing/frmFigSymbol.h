// The point-symbol dialog "点記号図形プロパティ": the symbol's anchor, own
// show mode and colour, district and thing. A paste of n coordinates makes
// n symbols alike but for their anchors.
#pragma once

#include "FigPointDialog.h"

class FigSymbolLogic : public FigPointLogic {
public:
    static constexpr long kHelpContext = 291004;

    explicit FigSymbolLogic(FigureDialogVars& vars);

    // The work copy first, then its copies at pasted points 2..n.
    OkOutcome OkClick() override;
};

// The Qt window over FigSymbolLogic.
class frmFigSymbol : public frmFigPoint {
    Q_OBJECT
public:
    // Loads at once; loaded() is False when there was nothing to edit.
    explicit frmFigSymbol(FigureDialogVars& vars, QWidget* parent = nullptr);
    FigSymbolLogic& logic() const { return static_cast<FigSymbolLogic&>(pointLogic()); }
};

// Shows the symbol dialog modally over the variables.
void RunFigSymbol(FigureDialogVars& vars);
