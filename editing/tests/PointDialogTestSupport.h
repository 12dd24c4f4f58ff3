// The symbol and text dialogs' logic on a figure of a small map unit of
// either map mode, with things of both kinds and a few districts.
#pragma once

#include <QClipboard>
#include <QGuiApplication>

#include <optional>

#include "EditingTestSupport.h"
#include "FigureWindows.h"
#include "TestSupport.h"
#include "clsMap.h"
#include "frmFigSymbol.h"
#include "frmFigText.h"

namespace edittest {

constexpr int32_t Deg(double d) { return static_cast<int32_t>(d * 3600); }

inline MapUnitPtr SmallUnit(int mode, bool withSymbolThings = true) {
    auto unit = std::make_shared<clsMapUnit>();
    unit->setUnitName(mode == 1 ? QStringLiteral("/maps/SMALL.MLL") : QStringLiteral("/maps/SMALL.MXY"));
    unit->Map().setMapMode(mode);
    for (int i : {0, 12, 30}) unit->Admins().Add(MakeAdmin(i, 0, QStringLiteral("District %1").arg(i)));
    unit->Things().Add(MakeThing(1, 5, 1, QStringLiteral("Capital")));
    unit->Things().Add(MakeThing(2, 5, 1, QStringLiteral("Town")));
    if (withSymbolThings) {
        unit->Things().Add(MakeThing(3, 4, 1, QStringLiteral("Star")));
        unit->Things().Add(MakeThing(4, 4, 1, QStringLiteral("Dot")));
    }
    return unit;
}

inline void SetClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }

// A dialog's logic over its own variables; the figure (code 4 or 5) has
// district 12 and thing 1 (text) or 3 (symbol).
template <class Logic>
struct PointDialog {
    CleanEditing clean;
    CoordinateMode coordinates;
    FigureDialogVars vars;
    MapFigurePtr figure;
    std::optional<Logic> logic;

    explicit PointDialog(int mode = 1, bool withSymbolThings = true) : coordinates(mode) {
        SetAngleUnit(1);
        figure = NewMapFigure(std::is_same_v<Logic, FigTextLogic> ? 5 : 4);
        figure->setAdmin(12);
        figure->setThing(std::is_same_v<Logic, FigTextLogic> ? 1 : 3);
        static_cast<MapPointFigure&>(*figure).setPosition({Deg(139), Deg(35)});
        vars.Figure = figure;
        vars.MapUnit = SmallUnit(mode, withSymbolThings);
        reload();
    }
    void reload() {
        logic.emplace(vars);
        if constexpr (std::is_same_v<Logic, FigTextLogic>) EXPECT_TRUE(logic->Load());
        else EXPECT_TRUE(logic->LoadPoint());
    }
    Logic* operator->() { return &*logic; }
    // Pastes the text from the clipboard, answering the count or the
    // empty-paste warning (and any message given before it).
    void paste(const QString& text, const QString& answer, const QString& before = QString()) {
        testsupport::ScriptedBoxes boxes;
        if (!before.isEmpty()) boxes.expect(before, plat::IdOk);
        boxes.expect(answer, plat::IdOk);
        SetClipboard(text);
        logic->PasteClick();
    }
};

} // namespace edittest
