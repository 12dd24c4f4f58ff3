#include "frmFigSymbol.h"

#include <QGridLayout>
#include <QGroupBox>

FigSymbolLogic::FigSymbolLogic(FigureDialogVars& vars)
    : FigPointLogic(vars, QStringLiteral("点記号図形プロパティ"), 4) {}

OkOutcome FigSymbolLogic::OkClick() {
    if (!Work().IsRight()) return AskCorrectSettings() ? OkOutcome::Stay : OkOutcome::Cancelled;
    FigureList results{WorkPtr()};
    for (MapFigurePtr& f : PastedCopies(Work())) results.push_back(std::move(f));
    return Finish(std::move(results));
}

frmFigSymbol::frmFigSymbol(FigureDialogVars& vars, QWidget* parent)
    : frmFigPoint(vars, std::make_unique<FigSymbolLogic>(vars), QStringLiteral("frmFigSymbol"), parent) {
    handle(QStringLiteral("Form_Load"), [this] {
        auto* grid = new QGridLayout(this);
        grid->addWidget(buildAnchorFrame(QStringLiteral("記号の地図座標")), 0, 0, 1, 2);
        buildAttributeRows(grid, 1);
        buildButtons(grid, 6, FigSymbolLogic::kHelpContext);
        loaded_ = logic().LoadPoint();
        if (loaded_) loadPoint();
    });
}

void RunFigSymbol(FigureDialogVars& vars) {
    frmFigSymbol dlg(vars);
    if (dlg.loaded()) dlg.showModal();
    dlg.logic().Unload();
}
