#include "basHMapEdit.h"

#include "ErrorMng.h"
#include "basLibrary.h"
#include "clsAdmins.h"
#include "clsMapSymbol.h"
#include "clsThings.h"

namespace {

const QString kModule = QStringLiteral("basHMapEdit");

// Shows the dialog of the figure's kind; activeNode goes to the polyline
// and polygon dialog.
std::optional<FigureList> ShowFigureDialog(const MapFigurePtr& figure, int32_t activeNode) {
    if (!figure) return std::nullopt;
    const std::optional<FigureDialogKind> kind = FigureDialogOf(figure->FigCode());
    if (!kind) return std::nullopt;
    const FigureDialogRunner& run = FigureDialogRunnerOf(*kind);
    if (!run) {
        MsgError(figure->FigName(2) + QStringLiteral("の図形プロパティ画面は組み込まれていません."));
        return std::nullopt;
    }
    HMapEditState& m = HMapEdit();
    FigureDialogVars& dlg = FigureDialogVarsOf(*kind);
    struct Release {
        FigureDialogVars& d;
        ~Release() {
            d.MapUnit.reset();
            d.Figure.reset();
        }
    } release{dlg};
    dlg.MapUnit = m.EditMapUnit;
    dlg.Figure = figure;
    if (*kind == FigureDialogKind::Poly) dlg.ActiveNode = activeNode;
    dlg.Win.presetIfFirst(m.EditDialogLeft, m.EditDialogTop, 0, 0);
    run(dlg);
    return dlg.OK ? dlg.Results : std::nullopt;
}

// A new figure's remembered district and thing need not exist in this
// unit's catalogues (nor the thing be of the figure's kind). The figure then
// takes the first entry of each list, which its dialog shows selected, so
// that OK stores what the user saw. Without any entry the numbers stay.
void FitPresetToCatalogues(clsMapFigure& figure, const clsMapUnit& unit) {
    const ChoiceList admins = AdminComboChoices(unit.Admins(), figure);
    if (admins.selected < 0 && !admins.isEmpty()) figure.setAdmin(admins.numberAt(0));
    const ChoiceList things = ThingComboChoices(unit.Things(), figure);
    if (things.selected < 0 && !things.isEmpty()) figure.setThing(things.numberAt(0));
}

} // namespace

HMapEditState& HMapEdit() {
    static HMapEditState state;
    return state;
}

std::optional<FigureList> EditMapFigure(const MapFigurePtr& figure) {
    try {
        return ShowFigureDialog(figure, HMapEdit().EditActiveNode);
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("EditMapFigure"));
    }
}

std::optional<FigureList> CreateMapFigure(int32_t kind) {
    try {
        HMapEditState& m = HMapEdit();
        const MapFigurePtr figure = NewMapFigure(kind);
        if (!figure) return std::nullopt;
        figure->setAdmin(m.EditLastAdminThing[0]);
        if (kind != 1) figure->setThing(m.EditLastAdminThing[1]);
        if (auto* point = dynamic_cast<MapPointFigure*>(figure.get())) {
            point->setMx(m.EditPointX);
            point->setMy(m.EditPointY);
        }
        if (kind != 1 && m.EditMapUnit) FitPresetToCatalogues(*figure, *m.EditMapUnit);
        std::optional<FigureList> results = ShowFigureDialog(figure, 0);
        if (results && !results->empty()) {
            const clsMapFigure& first = *results->front();
            m.EditLastAdminThing[0] = first.Admin();
            if (kind != 1) m.EditLastAdminThing[1] = first.Thing();
        }
        return results;
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("CreateMapFigure"));
    }
}

namespace {

// Selecting another row than the figure's own would show one number and
// keep another: a number the list lacks selects no row.
void SelectOwn(ChoiceList& list, int32_t number) {
    list.selectNumber(number);
    if (list.selectedNumber(number) != number) list.selected = -1;
}

} // namespace

ChoiceList AdminComboChoices(const clsAdmins& admins, const clsMapFigure& figure) {
    ChoiceList list;
    for (const AdminPtr& a : admins) list.add(a->AdminName(), a->AdminCode());
    SelectOwn(list, figure.Admin());
    return list;
}

ChoiceList ThingComboChoices(const clsThings& things, const clsMapFigure& figure) {
    ChoiceList list;
    for (const ThingPtr& t : things)
        if (t->Figure() == figure.FigCode()) list.add(t->Name(), t->Index());
    SelectOwn(list, figure.Thing());
    return list;
}

void CreateAdminCombo(QComboBox* combo, const clsAdmins& admins, const clsMapFigure& figure) {
    FillCombo(combo, AdminComboChoices(admins, figure));
}

void CreateThingCombo(QComboBox* combo, const clsThings& things, const clsMapFigure& figure) {
    FillCombo(combo, ThingComboChoices(things, figure));
}
