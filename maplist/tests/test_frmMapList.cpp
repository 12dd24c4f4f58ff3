#include "frmMapListTestSupport.h"

#include "MapListHost.h"
#include "Screen.h"
#include "basLibrary.h"
#include "frmMapList.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QTransform>

#include <cmath>

using namespace listtest;

namespace {

int px(int32_t twips) { return static_cast<int>(std::lround(twips / plat::TwipsPerPixelX())); }

// The bundled world map over the base map, loaded once.
struct WorldList : ::testing::Test {
    static inline std::unique_ptr<clsMapUnits> units;
    static void SetUpTestSuite() {
        gvMapFolder = QStringLiteral(KAL_SOURCE_DIR "/data/maps");
        units = std::make_unique<clsMapUnits>();
        units->Create(1);
        auto world = std::make_shared<clsMapUnit>();
        world->setUnitName(gvMapFolder + "/WORLD_T3.MLL");
        ASSERT_TRUE(world->Load());
        units->Add(world);
    }
    static void TearDownTestSuite() {
        units.reset();
        gvMapFolder.clear();
    }

    DisplaySettings settings;
    frmMapList window;

    WorldList() { gvLanguage = 2; }
    ~WorldList() override {
        if (window.isVisible()) window.closeCancel();
    }
    // Call through ASSERT_NO_FATAL_FAILURE: a window that never becomes
    // ready ends the case.
    void open(int16_t startUnit = 2, int32_t startRow = 0) {
        window.logic().MapUnits = units.get();
        window.logic().StartUnit = startUnit;
        window.logic().StartRow = startRow;
        ASSERT_TRUE(window.loadList());
        window.show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return window.logic().UnitIndex > 0; })) << "the list never became ready";
    }
    clsMap& world() { return units->Item(2)->Map(); }
    // The colours the list shows in a cell.
    QSet<QRgb> colorsIn(int32_t row, int32_t col) {
        const QImage shot = window.flgList->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QModelIndex cell = window.flgList->model()->index(row - window.flgList->FixedRows(), col);
        const qreal dpr = shot.devicePixelRatio();   // the shot is in device pixels
        const QRect r = QTransform::fromScale(dpr, dpr).mapRect(window.flgList->visualRect(cell)) & shot.rect();
        QSet<QRgb> seen;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) seen.insert(shot.pixel(x, y) | 0xFF000000u);
        return seen;
    }
    // The first row showing a figure of that kind.
    int32_t firstRowOf(const QString& kind) {
        for (int32_t r = 1; r < window.flgList->Rows(); ++r)
            if (window.flgList->TextMatrix(r, 4) == kind) return r;
        return -1;
    }
};

} // namespace

TEST_F(WorldList, WindowOnTheWorldMap) {
    ASSERT_NO_FATAL_FAILURE(open());
    EXPECT_EQ(window.windowTitle(), "地図図形リスト - [2] WORLD_T3.MLL");
    EXPECT_EQ(window.panels[1]->text(), "総行数:" + QString::number(world().Count()));
    EXPECT_EQ(window.panels[2]->text(), "選択行:1");
    EXPECT_EQ(window.panels[3]->text(), "編集領域行数:0");
    const int32_t polygon = firstRowOf("多辺形");
    ASSERT_GT(polygon, 0);
    EXPECT_TRUE(window.flgList->TextMatrix(polygon, 8).startsWith("(形状：閉鎖線 , ノード数："));
    EXPECT_TRUE(window.flgList->TextMatrix(polygon, 7).contains(" - "));
    EXPECT_FALSE(window.flgList->TextMatrix(polygon, 5).startsWith("("));   // the thing is in the catalogue
    // Own colours are drawn in their colour: give two polygons one each.
    world().Item(polygon)->setOwnColor(0x0000FF);
    world().Item(polygon + 1)->setOwnColor(0x00A000);
    world().Item(polygon + 1)->setOwnShowMode(0);
    window.logic().RowsChanged();   // edits behind the list's back must be told
    window.logic().SetMark(polygon + 2, 5);
    window.logic().SetSelectRange(polygon + 3, polygon + 4);
    QApplication::processEvents();
    testsupport::SaveWidgetPng(&window);
    const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 0xA0, 0), highlight = qRgb(0, 120, 215);
    EXPECT_TRUE(colorsIn(polygon, 3).contains(red));
    EXPECT_TRUE(colorsIn(polygon + 1, 3).contains(green));
    EXPECT_FALSE(colorsIn(polygon + 2, 3).contains(red) || colorsIn(polygon + 2, 3).contains(green));
    EXPECT_EQ(window.flgList->TextMatrix(polygon, 2), "？");
    EXPECT_EQ(window.flgList->TextMatrix(polygon + 1, 2), "×");   // hidden
    EXPECT_EQ(window.flgList->TextMatrix(polygon + 2, 1), "5");
    EXPECT_FALSE(colorsIn(polygon + 2, 5).contains(highlight));
    EXPECT_TRUE(colorsIn(polygon + 3, 5).contains(highlight) && colorsIn(polygon + 4, 5).contains(highlight));
    const int32_t text = firstRowOf("文字列");
    if (text > 0) {
        window.logic().JumpRow(text);
        testsupport::SaveWidgetPng(&window, "texts");
    }
    world().setModify(false);
}

TEST_F(WorldList, OnlyEscReachesTheWindowDuringALongOperation) {
    ASSERT_NO_FATAL_FAILURE(open());
    window.logic().JumpRow(3);
    window.flgList->setFocus();
    {
        frmMapListLogic::LongOperation op(window.logic());
        EXPECT_FALSE(window.menuBar->isEnabled());
        QTest::keyClick(window.flgList, Qt::Key_Down);
        QTest::keyClick(window.flgList, Qt::Key_Insert, Qt::ControlModifier);
        const QPoint row6(5, window.flgList->rowViewportPosition(6 - 1) + 2);
        QTest::mouseClick(window.flgList->viewport(), Qt::LeftButton, {}, row6);
        EXPECT_EQ(window.flgList->Row(), 3);
        window.close();
        EXPECT_TRUE(window.isVisible());
        QTest::keyClick(window.flgList, Qt::Key_Escape);
        EXPECT_TRUE(window.logic().EscAbort);
        EXPECT_TRUE(window.isVisible());   // Esc stops, it does not close
    }
    EXPECT_TRUE(window.menuBar->isEnabled());
    QTest::keyClick(window.flgList, Qt::Key_Down);
    EXPECT_EQ(window.flgList->Row(), 4);
    EXPECT_EQ(window.panels[2]->text(), "選択行:4");
}

// The first opening fills the list before any input runs; what comes while
// it shows its progress is refused, not run on the list half made.
TEST_F(WorldList, InputWhileTheListFillsItselfFindsNothingHalfMade) {
    window.logic().MapUnits = units.get();
    window.logic().StartUnit = 0;   // the set's active unit, read once the list fills
    window.logic().StartRow = 0;
    ASSERT_TRUE(window.loadList());
    window.show();
    const int32_t figures = world().Count();
    bool tried = false;
    QTimer::singleShot(0, &window, [&] {
        tried = true;
        window.flgList->setFocus();
        QTest::keyClick(window.flgList, Qt::Key_Delete, Qt::ControlModifier);
        window.closeCancel();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return tried; }));
    ASSERT_TRUE(QTest::qWaitFor([this] { return window.logic().UnitIndex > 0; }));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(world().Count(), figures);
    EXPECT_EQ(window.flgList->Rows(), figures + 1);
}

TEST_F(WorldList, SizePositionAndColumnsKeptBetweenOpenings) {
    ASSERT_NO_FATAL_FAILURE(open());
    window.resize(10, 10);
    EXPECT_GE(window.width(), px(frmMapListLogic::kMinWidth));
    EXPECT_GE(window.height(), static_cast<int>(std::lround(frmMapListLogic::kMinHeight / plat::TwipsPerPixelY())));
    window.resize(700, 420);   // fits the test screen, so its place is kept
    window.move(40, 30);
    QApplication::processEvents();
    // The shared columns follow the grid's width.
    const int32_t gridWidth = static_cast<int32_t>(std::lround(window.flgList->width() * plat::TwipsPerPixelX()));
    EXPECT_EQ(window.flgList->ColWidth(8), gridWidth);
    window.flgList->setColWidth(6, 2000);
    // The unit menu's items switch the grid and come back to the row.
    window.logic().JumpRow(250);
    window.mnuUnit->aboutToShow();
    ASSERT_EQ(window.mnuUnitItem.size(), 2u);
    EXPECT_TRUE(window.mnuUnitItem[0]->text().endsWith("BASE.MLL (&1)") && window.mnuUnitItem[1]->isChecked());
    window.mnuUnitItem[0]->trigger();
    EXPECT_EQ(window.windowTitle(), "地図図形リスト - [1] BASE.MLL");
    window.mnuUnitItem[1]->trigger();
    EXPECT_EQ(window.flgList->Row(), 250);
    window.closeCancel();
    EXPECT_EQ(window.logic().MapUnits, nullptr);

    ASSERT_NO_FATAL_FAILURE(open());
    EXPECT_EQ(window.size(), QSize(700, 420));
    EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(40, 30));
    EXPECT_EQ(window.flgList->ColWidth(6), 2000);
    window.closeCancel();

    // A smaller set next time: the unit menu lists its units only.
    clsMapUnits baseOnly;
    baseOnly.Create(1);
    window.logic().MapUnits = &baseOnly;
    window.logic().StartUnit = 0;
    ASSERT_TRUE(window.loadList());
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([this] { return window.logic().UnitIndex > 0; }));
    window.mnuUnit->aboutToShow();
    int listed = 0;
    for (QAction* item : window.mnuUnitItem) listed += item->isVisible();
    EXPECT_EQ(listed, 1);
    window.closeCancel();
}

TEST_F(WorldList, MoveViewAndCloseOnAFigure) {
    ASSERT_NO_FATAL_FAILURE(open());
    window.logic().JumpRow(1);   // a remark has no point to go to
    window.logic().CloseMove();
    EXPECT_FALSE(window.logic().MoveView);
    const int32_t polygon = firstRowOf("多辺形");
    window.logic().JumpRow(polygon);
    window.mnuFile->popup(window.mapToGlobal(QPoint(0, 0)));
    testsupport::SaveWidgetPng(window.mnuFile, "file-menu");
    window.mnuFile->hide();
    EXPECT_FALSE(window.fileItems[frmMapListLogic::mnuOverWrite]->isEnabled());
    EXPECT_TRUE(window.fileItems[frmMapListLogic::mnuTextWrite]->isEnabled());
    window.fileItems[frmMapListLogic::mnuCloseMove]->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.DialogOK());
    const clsRect bound = world().Item(polygon)->Poly()->RectBound();
    EXPECT_EQ(window.logic().MoveX, bound.CenterX());
    EXPECT_EQ(window.logic().MoveY, bound.CenterY());
}

TEST_F(WorldList, EditKeysAndMenu) {
    open();
    const int32_t count = world().Count();
    window.logic().JumpRow(3);
    window.flgList->setFocus();
    QTest::keyClick(window.flgList, Qt::Key_Insert, Qt::ControlModifier);   // copy
    EXPECT_EQ(window.panels[3]->text(), "編集領域行数:1");
    QTest::keyClick(window.flgList, Qt::Key_Insert, Qt::ShiftModifier);     // paste
    EXPECT_EQ(world().Count(), count + 1);
    EXPECT_EQ(window.panels[1]->text(), "総行数:" + QString::number(count + 1));
    window.mnuEdit->popup(window.mapToGlobal(QPoint(0, 0)));
    testsupport::SaveWidgetPng(window.mnuEdit, "edit-menu");
    window.mnuEdit->hide();
    using L = frmMapListLogic;
    for (L::EditItem on : {L::mnuUndo, L::mnuCut, L::mnuCopy, L::mnuPaste, L::mnuDelete, L::mnuAllSelect, L::mnuPrevNext,
                           L::mnuTouch, L::mnuThing, L::mnuMove, L::mnuCurve})
        EXPECT_TRUE(window.editItems[on]->isEnabled()) << on;
    // An empty trash, a remark in row 3 and a single selected row.
    for (L::EditItem off : {L::mnuGarbageOne, L::mnuPosPrev, L::mnuReverse})
        EXPECT_FALSE(window.editItems[off]->isEnabled()) << off;
    EXPECT_EQ(window.editSubItems[L::mnuSortUp][5]->text(), "緯度(&6)");
    window.editItems[L::mnuUndo]->trigger();
    EXPECT_EQ(world().Count(), count);
    EXPECT_EQ(window.windowTitle(), "地図図形リスト - [2] WORLD_T3.MLL");   // back as it was
    world().setModify(false);
}

TEST_F(WorldList, JumpMenuAndPopup) {
    open();
    for (const MapFigurePtr& f : world()) f->setJumpMark(0);   // other cases leave marks
    world().Item(120)->setJumpMark(3);
    window.mnuJump->popup(window.mapToGlobal(QPoint(0, 0)));
    window.mnuMarkJump->popup(window.mapToGlobal(QPoint(200, 0)));
    testsupport::SaveWidgetPng(window.mnuMarkJump, "mark-jump");
    window.mnuMarkJump->hide();
    window.mnuJump->hide();
    EXPECT_EQ(window.mnuMarkJumpItem[3]->text(), "マーク &3  [000120]");
    EXPECT_TRUE(window.mnuMarkJumpItem[3]->isEnabled());
    EXPECT_FALSE(window.mnuMarkJumpItem[4]->isEnabled());
    window.logic().JumpRow(1);
    window.mnuMarkJumpItem[3]->trigger();
    EXPECT_EQ(window.logic().SelectTopRow(), 120);
    window.mnuPopupBefore->trigger();   // no mark above
    EXPECT_EQ(window.logic().SelectTopRow(), 120);
    window.popupOpens();
    EXPECT_TRUE(window.mnuPopupMarkRegist->isEnabled() && window.mnuPopupBefore->isEnabled());
    window.mnuPopupMarkClear->trigger();
    EXPECT_EQ(world().SearchJumpMark(3), -1);
    world().setModify(false);
}

TEST_F(WorldList, DoubleClickOnAFigureRowOfAChangeableMapOpensItsProperties) {
    std::vector<MapFigurePtr> opened;
    MapListHost host;
    host.EditFigure = [&](const MapUnitPtr&, const MapFigurePtr& f, int32_t, int32_t) {
        opened.push_back(f);
        return std::optional<std::vector<MapFigurePtr>>();   // cancelled
    };
    const MapListHost was = SetMapListHost(host);
    ASSERT_NO_FATAL_FAILURE(open());
    window.logic().JumpRow(1);
    // The first click of a double click makes the row current.
    const auto doubleClick = [this](int32_t row) {
        const QPoint at(5, window.flgList->rowViewportPosition(row - 1) + 2);
        QTest::mouseClick(window.flgList->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(window.flgList->viewport(), Qt::LeftButton, {}, at);
    };
    doubleClick(4);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], world().Item(4));
    QTest::mouseDClick(window.flgList->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(opened.size(), 1u);   // the title row holds no figure
    world().setLockMode(true);
    doubleClick(5);
    world().setLockMode(false);
    EXPECT_EQ(opened.size(), 1u);
    doubleClick(5);
    EXPECT_EQ(opened.size(), 2u);
    SetMapListHost(was);
}

TEST_F(WorldList, SearchMenuFollowsTheCurrentRowAndHelpOpensTheListsPage) {
    ASSERT_NO_FATAL_FAILURE(open());
    using L = frmMapListLogic;
    const int32_t last = window.logic().RowCount();
    const struct {
        int32_t row;
        bool back, forward;
    } cases[] = {{1, false, true}, {2, true, true}, {last, true, false}};
    for (const auto& c : cases) {
        window.logic().JumpRow(c.row);
        emit window.mnuSearch->aboutToShow();
        for (L::SearchItem item : {L::mnuSearchAll, L::mnuSearchText, L::mnuSearchPos, L::mnuSearchColor})
            EXPECT_TRUE(window.searchItems[item]->isEnabled()) << c.row << " " << item;
        EXPECT_EQ(window.searchItems[L::mnuSearchBack]->isEnabled(), c.back) << c.row;
        EXPECT_EQ(window.searchItems[L::mnuSearchForward]->isEnabled(), c.forward) << c.row;
    }
    long asked = 0;
    const auto was = plat::DialogBase::SetHelpOpener([&](long id) { asked = id; });
    window.mnuHelp->trigger();
    plat::DialogBase::SetHelpOpener(was);
    EXPECT_EQ(asked, 241001);
}
