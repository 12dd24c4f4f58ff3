// The polyline dialog closed and destroyed in the states a user leaves it
// in. Its grid signals as it goes (scroll bars reset with the model): the
// sanitizers stop the test when that reaches the half-destroyed dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include "FigPolyTestSupport.h"
#include "FlexGrid.h"

using namespace edittest;

namespace {

struct PolyDialogTeardown : ::testing::Test {
    CleanEditing clean;
    CoordinateMode ll{1};
    FigureDialogVars vars;

    // More nodes than the list shows.
    PolyDialogTeardown() {
        SetAngleUnit(1);
        Nodes nodes;
        for (int i = 0; i < 200; ++i) nodes.push_back({Deg(i % 90), Deg(i % 45)});
        vars.Figure = NewMapFigure(2);
        vars.Figure->setAdmin(0);
        vars.Figure->setThing(0);
        vars.Figure->setPoly(std::make_shared<clsPoly>(PolyOf(nodes)));
        vars.MapUnit = std::make_shared<clsMapUnit>();
        vars.MapUnit->setUnitName(QStringLiteral("/maps/TEST.MLL"));
        vars.ActiveNode = 1;
    }

    // The dialog shown with its node list scrolled down, handed to `leave`,
    // which closes it; destroyed at the end.
    void scrolledThen(const std::function<void(frmFigPoly&)>& leave) {
        frmFigPoly dlg(vars);
        ASSERT_TRUE(dlg.loaded());
        dlg.show();
        QApplication::processEvents();
        dlg.flgPoly->setTopRow(150);
        ASSERT_GT(dlg.flgPoly->TopRow(), 100);
        leave(dlg);
        EXPECT_FALSE(dlg.isVisible());
        dlg.logic().Unload();
    }
};

TEST_F(PolyDialogTeardown, ScrolledNodeListThenOK) {
    scrolledThen([](frmFigPoly& d) { d.cmdOK->click(); });
}

TEST_F(PolyDialogTeardown, ScrolledNodeListThenCancel) {
    scrolledThen([](frmFigPoly& d) { d.cmdCancel->click(); });
}

TEST_F(PolyDialogTeardown, CellEditorOpenAsTheDialogCloses) {
    scrolledThen([](frmFigPoly& d) {
        const int32_t row = d.flgPoly->TopRow() + 1;
        d.flgPoly->setRow(row);
        d.gridClick(row, FigPolyLogic::ColX);
        ASSERT_TRUE(d.txtX->isVisible());
        d.txtX->setText(QStringLiteral("E001"));
        d.cmdCancel->click();
    });
}

} // namespace
