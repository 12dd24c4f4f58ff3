#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "DialogPlayer.h"
#include "FigPolyTestSupport.h"
#include "FlexGrid.h"
#include "PickerDialog.h"
#include "basMouseWheel.h"
#include "clsMap.h"

using namespace edittest;

namespace {

// Presses Enter in a control as the keyboard would.
void PressEnter(QWidget* w) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

FigureDialogVars VarsOf(const MapFigurePtr& figure, const MapUnitPtr& unit, int32_t activeNode = 0) {
    FigureDialogVars v;
    v.Figure = figure;
    v.MapUnit = unit;
    v.ActiveNode = activeNode;
    return v;
}

bool Hooked(QObject* w) {
    const auto& hooked = gvWheelWindows();
    return std::find(hooked.begin(), hooked.end(), w) != hooked.end();
}

// The world map of the distribution with its catalogues.
struct WorldMap : ::testing::Test {
    CleanEditing clean;
    CoordinateMode ll{1};
    MapUnitPtr unit = std::make_shared<clsMapUnit>();

    WorldMap() {
        SetAngleUnit(1);
        gvLanguage = 2;
        unit->setUnitName(QStringLiteral(KAL_SOURCE_DIR "/data/maps/WORLD_T3.MLL"));
        EXPECT_EQ(unit->Map().Load(), 0);
        EXPECT_EQ(unit->Admins().Load(), 0);
        EXPECT_EQ(unit->Things().Load(), 0);
        HMapEdit().EditMapUnit = unit;
    }
    // The largest polygon clear of the date line.
    MapFigurePtr largestPolygon() const {
        MapFigurePtr best;
        for (const MapFigurePtr& f : unit->Map().MapCollection()) {
            if (f->FigCode() != 3) continue;
            const clsRect r = f->Poly()->RectBound();
            if (r.x1 < -Deg(170) || r.x2 > Deg(170)) continue;
            if (!best || f->Poly()->Count() > best->Poly()->Count()) best = f;
        }
        return best;
    }
};

} // namespace

TEST_F(WorldMap, APolygonOpenedAndTakenBackUnchanged) {
    const MapFigurePtr polygon = largestPolygon();
    ASSERT_TRUE(polygon);
    const std::vector<PolyPoint> nodes = PointsOf(*polygon->Poly());
    const double id = polygon->FigID();
    HMapEdit().EditActiveNode = 3;
    testsupport::WhenModal<frmFigPoly>([&](frmFigPoly* dlg) {
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("多辺形図形プロパティ - WORLD_T3.MLL"));
        EXPECT_EQ(dlg->flgPoly->Rows(), static_cast<int32_t>(nodes.size()) + 1);
        EXPECT_EQ(dlg->flgPoly->Row(), 3);
        EXPECT_EQ(dlg->flgPoly->TextMatrix(3, FigPolyLogic::ColMark), "*");
        EXPECT_EQ(dlg->lblInfo->text(), QStringLiteral("形状:閉鎖線 , ノード数:%1").arg(nodes.size()));
        EXPECT_EQ(dlg->choAdmin->currentText(), unit->Admins().Item(polygon->Admin())->AdminName());
        EXPECT_EQ(dlg->choThing->currentText(), unit->Things().Item(polygon->Thing())->Name());
        EXPECT_TRUE(dlg->cmdRotation->isEnabled() && dlg->cmdGreat->isEnabled() && dlg->cmdTrace->isEnabled());
        EXPECT_TRUE(Hooked(dlg->flgPoly));
        ExpectPicture(dlg);
        dlg->cmdOK->click();
    });
    const auto results = EditMapFigure(polygon);
    ASSERT_TRUE(results);
    ASSERT_EQ(results->size(), 1u);
    EXPECT_EQ(PointsOf(*results->front()->Poly()), nodes);
    EXPECT_EQ(results->front()->FigID(), id);
    EXPECT_NE(polygon->FigID(), id);
    EXPECT_EQ(FigureDialogVarsOf(FigureDialogKind::Poly).ActiveNode, 3);
}

TEST_F(WorldMap, EditingACellInPlace) {
    const MapFigurePtr line = NewMapFigure(2);
    line->setPoly(std::make_shared<clsPoly>(PolyOf({A, B, C})));
    FigureDialogVars vars = VarsOf(line, unit, 2);
    frmFigPoly dlg(vars);
    dlg.show();
    QApplication::processEvents();
    dlg.gridClick(2, FigPolyLogic::ColX);
    ASSERT_TRUE(dlg.txtX->isVisible());
    EXPECT_EQ(dlg.txtX->text(), QStringLiteral("E011°00′00″"));
    EXPECT_EQ(dlg.flgPoly->TextMatrix(2, FigPolyLogic::ColY), QStringLiteral("N21°00′00″"));
    EXPECT_EQ(dlg.txtX->geometry().top(), dlg.txtY->geometry().top());
    ExpectPicture(&dlg, "editor");
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("既定の範囲を超えています."), plat::IdOk);
        dlg.txtX->setText(QStringLiteral("E181"));
        PressEnter(dlg.txtX);
        EXPECT_TRUE(dlg.txtX->isVisible());
        EXPECT_EQ(dlg.flgPoly->TextMatrix(2, FigPolyLogic::ColX), QStringLiteral("E011°00′00″"));
    }
    dlg.txtX->setText(QStringLiteral("W10"));
    PressEnter(dlg.txtX);
    EXPECT_FALSE(dlg.txtX->isVisible());
    EXPECT_EQ(dlg.flgPoly->TextMatrix(2, FigPolyLogic::ColX), QStringLiteral("W010°00′00″"));
    dlg.gridClick(2, FigPolyLogic::ColMark);
    dlg.gridClick(1, FigPolyLogic::ColMark);  // not on the first node
    EXPECT_EQ(dlg.flgPoly->TextMatrix(2, FigPolyLogic::ColMark), "< *");
    EXPECT_EQ(dlg.flgPoly->TextMatrix(1, FigPolyLogic::ColMark), " ");
    ExpectPicture(&dlg, "editing");
    dlg.cmdReverse->click();
    EXPECT_EQ(dlg.logic().GridToPoly().x(2), -Deg(10));
    EXPECT_EQ(dlg.lblInfo->text(), QStringLiteral("形状:開放線 , ノード数:3"));
    dlg.cmdReduction->click();
    EXPECT_EQ(dlg.flgPoly->Rows(), 3);
    EXPECT_FALSE(dlg.cmdReduction->isEnabled());  // an open list keeps 2 nodes
    dlg.logic().Unload();
}

TEST_F(WorldMap, TheDistrictPickerOpensOverTheList) {
    const MapFigurePtr line = NewMapFigure(2);
    FigureDialogVars vars = VarsOf(line, unit);
    frmFigPoly dlg(vars);
    dlg.show();
    QApplication::processEvents();
    bool hookedMeanwhile = true;
    testsupport::WhenModal<PickerDialog>([&](PickerDialog* picker) {
        hookedMeanwhile = Hooked(dlg.flgPoly);
        emit picker->upper->activated(0);
        emit picker->lower->activated(2);
        picker->cmdOK->click();
    });
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(dlg.lblAdmin, &release);
    EXPECT_FALSE(hookedMeanwhile);
    EXPECT_TRUE(Hooked(dlg.flgPoly));
    const AdminPtr& chosen = *std::next(unit->Admins().begin(), 2);
    EXPECT_EQ(dlg.logic().Work().Admin(), chosen->AdminCode());
    EXPECT_EQ(dlg.choAdmin->currentText(), chosen->AdminName());
    EXPECT_EQ(line->Admin(), -1);
    dlg.logic().Unload();
}

TEST_F(WorldMap, EscInACellEditorGivesUpTheCellNotTheDialog) {
    const MapFigurePtr line = NewMapFigure(2);
    line->setPoly(std::make_shared<clsPoly>(PolyOf({A, B, C})));
    auto pressEsc = [] {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(focus, &press);
    };
    bool stayed = false;
    testsupport::WhenModal<frmFigPoly>([&](frmFigPoly* dlg) {
        dlg->activateWindow();  // an offscreen window is not always activated when shown
        QApplication::processEvents();
        for (int32_t col : {FigPolyLogic::ColX, FigPolyLogic::ColY}) {
            dlg->gridClick(2, col);
            QLineEdit* editor = col == FigPolyLogic::ColX ? dlg->txtX : dlg->txtY;
            ASSERT_EQ(QApplication::focusWidget(), editor);
            const QString before = dlg->flgPoly->TextMatrix(2, col);
            editor->setText(QStringLiteral("W10"));
            pressEsc();
            stayed = dlg->isVisible();
            EXPECT_TRUE(stayed);
            EXPECT_FALSE(editor->isVisible());
            EXPECT_EQ(dlg->flgPoly->TextMatrix(2, col), before);
        }
        pressEsc();  // no editor open: the dialog is cancelled
    });
    EXPECT_FALSE(EditMapFigure(line));
    EXPECT_TRUE(stayed);
    EXPECT_EQ(PointsOf(*line->Poly()), (Nodes{A, B, C}));
}
