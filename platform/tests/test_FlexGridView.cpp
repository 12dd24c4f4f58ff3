// The grid widget: what the view adds to the cells (sizes in twips,
// scrolling, deferred drawing, mouse and keys) and a picture of a sample
// dialog for a person to look at.
#include <gtest/gtest.h>

#include <QApplication>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "DialogBase.h"
#include "FlexGrid.h"
#include "Fonts.h"
#include "KeyCodes.h"
#include "Screen.h"
#include "SysColors.h"
#include "TestSupport.h"

using namespace plat;

namespace {

// A sample the way the thing grid shows a style: a filled square with a rim.
QImage samplePicture(int w, int h, QColor fill) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(Qt::black);
    p.setBrush(fill);
    p.drawRect(4, 3, w - 9, h - 7);
    return img;
}

// A shown grid of `rows` data rows under a title row, 3 columns.
std::unique_ptr<FlexGrid> shownGrid(int rows) {
    auto g = std::make_unique<FlexGrid>();
    g->resize(400, 300);
    g->setFormatString(QStringLiteral("<a|<b|<c"));
    g->setRows(1);
    g->setRedraw(false);
    for (int i = 1; i <= rows; ++i) g->AddItem(QStringLiteral("%1\tx\ty").arg(i));
    g->setFixedRows(1);
    g->setRedraw(true);
    g->show();
    QApplication::processEvents();
    return g;
}

// Pixel sizes below are worked out for a 96 dpi screen, 15 twips a pixel.
bool At96Dpi() { return TwipsPerPixelX() == 15 && TwipsPerPixelY() == 15; }

QPoint cellCentre(FlexGrid& g, int row, int col) {
    const int m = row - g.FixedRows();
    return QPoint(g.columnViewportPosition(col) + g.columnWidth(col) / 2, g.rowViewportPosition(m) + g.rowHeight(m) / 2);
}

} // namespace

TEST(FlexGridView, SizesInTwips) {
    if (!At96Dpi()) GTEST_SKIP() << "worked out at 96 dpi; this screen has " << 1440 / TwipsPerPixelX() << " dpi";
    FlexGrid g;
    g.setFormatString(QStringLiteral("<長い見出しの列|>n"));
    const int32_t title = g.ColWidth(0);
    EXPECT_GT(title, g.ColWidth(1));  // as wide as its title
    g.setColWidth(1, 1500);
    EXPECT_EQ(g.ColWidth(1), 1500);
    EXPECT_EQ(g.columnWidth(1), 100);  // 15 twips a pixel at 96 dpi
    g.setColWidth(1, 0);
    EXPECT_TRUE(g.isColumnHidden(1));
    g.setColWidth(1, -1);
    EXPECT_FALSE(g.isColumnHidden(1));
    EXPECT_EQ(g.ColWidth(1), 960);

    g.setRows(5);
    const int32_t standard = g.RowHeight(2);
    EXPECT_GT(standard, 0);
    g.setRowHeight(2, 400);
    g.setRowHeight(3, 0);
    EXPECT_EQ(g.rowHeight(1), 27);  // 26.7 pixels, rounded
    EXPECT_TRUE(g.isRowHidden(2));
    // The sizes survive a change of shape (which resets the view).
    g.AddItem(QStringLiteral("top"), 0);
    EXPECT_EQ(g.RowHeight(3), 400);
    EXPECT_EQ(g.rowHeight(2), 27);
    EXPECT_TRUE(g.isRowHidden(3));
    EXPECT_EQ(g.RowHeight(1), standard);
    g.setRowHeight(0, 240);
    EXPECT_EQ(g.horizontalHeader()->height(), 16);
}

TEST(FlexGridView, TopRowScrollsAndPositionsFollow) {
    auto g = shownGrid(200);
    EXPECT_EQ(g->TopRow(), 1);
    g->setTopRow(50);
    EXPECT_EQ(g->TopRow(), 50);
    EXPECT_TRUE(g->RowIsVisible(50));
    EXPECT_FALSE(g->RowIsVisible(49));
    EXPECT_TRUE(g->RowIsVisible(0));  // the fixed row stays
    EXPECT_EQ(g->RowPos(50), g->RowPos(0) + g->RowHeight(0));
    EXPECT_EQ(g->RowPos(51) - g->RowPos(50), g->RowHeight(50));
    g->setTopRow(200);  // no further than the last row allows
    EXPECT_LT(g->TopRow(), 200);
    EXPECT_TRUE(g->RowIsVisible(200));
    g->setTopRow(0);    // not a scrolling row: nothing
    EXPECT_LT(g->TopRow(), 200);
    g->setCol(2);
    EXPECT_EQ(g->CellLeft(), g->ColPos(2));
    EXPECT_EQ(g->ColPos(1) - g->ColPos(0), g->ColWidth(0));
}

TEST(FlexGridView, RedrawOffDefersTheViewToOneReset) {
    auto g = shownGrid(3);
    QSignalSpy inserted(g->model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(g->model(), &QAbstractItemModel::modelReset);
    g->AddItem(QStringLiteral("drawn"));  // with drawing on: a plain insert
    EXPECT_EQ(inserted.count(), 1);
    g->setRedraw(false);
    for (int i = 0; i < 500; ++i) g->AddItem(QStringLiteral("x"));
    g->setRowHeight(10, 0);
    g->RemoveItem(2);  // row 10 becomes row 9, model row 8
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(g->TopRow(), 1);  // asking the view closes the batch
    g->setRedraw(true);
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(g->model()->rowCount(), g->Rows() - 1);
    EXPECT_TRUE(g->isRowHidden(8));
}

TEST(FlexGridView, MouseEventsAndSelection) {
    auto g = shownGrid(20);
    QStringList events;
    QObject::connect(g.get(), &FlexGrid::mouseDown, [&](int b, int, int, int) { events << QStringLiteral("down%1").arg(b); });
    QObject::connect(g.get(), &FlexGrid::mouseUp, [&](int b, int, int, int) { events << QStringLiteral("up%1").arg(b); });
    QObject::connect(g.get(), &FlexGrid::click, [&] { events << QStringLiteral("click"); });
    QObject::connect(g.get(), &FlexGrid::dblClick, [&] { events << QStringLiteral("dbl"); });
    QObject::connect(g.get(), &FlexGrid::rowColChange, [&] { events << QStringLiteral("rowcol"); });
    QObject::connect(g.get(), &FlexGrid::selChange, [&] { events << QStringLiteral("sel"); });

    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cellCentre(*g, 3, 1));
    EXPECT_EQ(events, QStringList({"rowcol", "sel", "down1", "up1", "click"}));
    EXPECT_EQ(g->Row(), 3);
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->MouseRow(), 3);

    events.clear();
    QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::ShiftModifier, cellCentre(*g, 6, 2));
    EXPECT_EQ(g->Row(), 3);
    EXPECT_EQ(g->RowSel(), 6);
    EXPECT_EQ(g->ColSel(), 2);
    EXPECT_EQ(events, QStringList({"sel", "down1", "up1", "click"}));

    events.clear();
    QTest::mouseClick(g->viewport(), Qt::RightButton, {}, cellCentre(*g, 9, 0));
    EXPECT_EQ(events, QStringList({"down2", "up2"}));  // the right button selects nothing
    EXPECT_EQ(g->MouseRow(), 9);
    EXPECT_EQ(g->RowSel(), 6);

    events.clear();
    // Through the window, as the system delivers it: press, release, press, double click, release.
    QTest::mouseDClick(g->windowHandle(), Qt::LeftButton, {}, g->viewport()->mapTo(g.get(), cellCentre(*g, 4, 0)));
    events.removeAll(QStringLiteral("sel"));
    events.removeAll(QStringLiteral("rowcol"));
    EXPECT_EQ(events, QStringList({"down1", "up1", "click", "dbl", "up1"}));

    // The title row: its column and row 0 reported, the selection kept.
    events.clear();
    auto* header = g->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(2) + 5, 5));
    EXPECT_EQ(g->MouseRow(), 0);
    EXPECT_EQ(g->MouseCol(), 2);
    EXPECT_EQ(events, QStringList({"down1", "up1", "click"}));
    EXPECT_EQ(g->Row(), 4);
}

TEST(FlexGridView, ATitleRowAloneIsShownButNeverChosen) {
    const auto highlighted = [](FlexGrid& g) {
        const QImage shot = g.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const COLORREF sel = TranslateColor(g.BackColorSel());
        const QRgb colour = qRgb(sel & 0xFF, (sel >> 8) & 0xFF, (sel >> 16) & 0xFF);
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) n += (shot.pixel(x, y) | 0xFF000000u) == colour;
        return n;
    };
    auto g = shownGrid(0);
    g->setFocus();
    EXPECT_EQ(g->FixedRows(), 0);  // a title row alone cannot be fixed
    EXPECT_EQ(g->Row(), 0);
    EXPECT_EQ(g->model()->rowCount(), 1);
    EXPECT_EQ(highlighted(*g), 0);
    g->AddItem(QStringLiteral("1\tx\ty"));
    g->select(0, 0, 0, 2);  // with a row under it, row 0 of an unfixed grid is a row like any
    EXPECT_GT(highlighted(*g), 0);
    g->setFixedRows(1);
    g->select(1, 0, 1, 2);
    EXPECT_GT(highlighted(*g), 0);
}

TEST(FlexGridView, KeysMoveExtendOrGoToTheHandler) {
    auto g = shownGrid(100);
    g->setFocus();
    g->setRow(5);
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        int row, rowSel, col;
    } cases[] = {
        {Qt::Key_Down, {}, 6, 6, 0},
        {Qt::Key_Down, Qt::ShiftModifier, 6, 7, 0},
        {Qt::Key_Up, {}, 5, 5, 0},
        {Qt::Key_Right, {}, 5, 5, 1},
        {Qt::Key_End, Qt::ControlModifier, 100, 100, 2},
        {Qt::Key_Home, Qt::ControlModifier, 1, 1, 0},
        {Qt::Key_Up, {}, 1, 1, 0},  // stays below the fixed row
    };
    for (const Case& c : cases) {
        QTest::keyClick(g.get(), static_cast<Qt::Key>(c.key), c.mods);
        EXPECT_EQ(g->Row(), c.row) << c.key;
        EXPECT_EQ(g->RowSel(), c.rowSel) << c.key;
        EXPECT_EQ(g->Col(), c.col) << c.key;
    }
    EXPECT_TRUE(g->RowIsVisible(1));
    // A handler that takes the key leaves the grid still.
    std::vector<std::pair<int, int>> seen;
    QObject::connect(g.get(), &FlexGrid::keyDown, [&](int& key, int shift) {
        seen.emplace_back(key, shift);
        if (key == KeyDown) key = 0;
    });
    QTest::keyClick(g.get(), Qt::Key_Down);
    QTest::keyClick(g.get(), Qt::Key_Insert, Qt::ControlModifier);
    QTest::keyClick(g.get(), Qt::Key_3, Qt::KeypadModifier);
    EXPECT_EQ(g->Row(), 1);
    // Ctrl itself comes first, as a key of its own.
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{KeyDown, 0}, {KeyControl, CtrlMask}, {KeyInsert, CtrlMask}, {KeyNumpad0 + 3, 0}}));
}

TEST(FlexGridView, WheelNotchScrollsOneRow) {
    auto g = shownGrid(100);
    g->setTopRow(10);
    QWheelEvent down(QPointF(10, 10), g->viewport()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -240), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(g->viewport(), &down);
    EXPECT_EQ(g->TopRow(), 12);
    QWheelEvent half(QPointF(10, 10), g->viewport()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 60), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(g->viewport(), &half);
    EXPECT_EQ(g->TopRow(), 12);  // half a notch waits for the other half
    QApplication::sendEvent(g->viewport(), &half);
    EXPECT_EQ(g->TopRow(), 11);
}

TEST(FlexGridView, ToolTipFollowsTheHandlers) {
    auto g = shownGrid(5);
    QObject::connect(g.get(), &FlexGrid::mouseMove, [&](int, int, int, int) {
        g->setToolTipText(g->MouseCol() == 2 ? QStringLiteral("表示スイッチ反転") : QString());
    });
    QTest::mouseMove(g->viewport(), cellCentre(*g, 2, 2));
    EXPECT_EQ(g->model()->data(g->model()->index(1, 0), Qt::ToolTipRole).toString(), QStringLiteral("表示スイッチ反転"));
    EXPECT_EQ(g->viewport()->toolTip(), QStringLiteral("表示スイッチ反転"));
    QTest::mouseMove(g->viewport(), cellCentre(*g, 2, 0));
    EXPECT_EQ(g->viewport()->toolTip(), QString());
}

TEST(FlexGridView, SampleDialogPicture) {
    DialogBase dlg;
    dlg.setWindowTitle(QStringLiteral("地図記号"));
    auto* grid = new FlexGrid(&dlg);
    grid->setFont(QFont(ResolveFontFamily(QStringLiteral("ＭＳ ゴシック")), 9));
    grid->setFormatString(QStringLiteral("^+|<事象名|^図形種|^表示|^可視縮尺範囲|^図式(凡例)|^No|^select"));
    grid->setColWidth(1, 2400);
    grid->setColWidth(4, 1800);
    grid->setColWidth(5, 1500);
    grid->setColWidth(6, 0);
    grid->setColWidth(7, 0);
    grid->setRows(1);
    grid->setRedraw(false);
    struct Thing { const char* name; const char* kind; const char* show; QColor colour; };
    const Thing things[] = {{"海岸線", "連続線", "表示", Qt::blue}, {"湖沼", "多辺形", "依存", QColor(120, 180, 255)},
                            {"首都", "点記号", "隠蔽", Qt::red}};
    for (int cat = 1; cat <= 2; ++cat) {
        grid->AddItem(QStringLiteral("-\t%1\t\t\t\t\t%2\tcategory").arg(cat == 1 ? QStringLiteral("自然") : QStringLiteral("都市")).arg(cat));
        const int r = grid->Rows() - 1;
        grid->setRowHeight(r, 240);
        grid->select(r, 0, r, 7);
        grid->setFillStyle(flexFillRepeat);
        grid->setCellBackColor(0x80000003);
        grid->setCellForeColor(0x80000013);
        grid->setCellFontBold(true);
        grid->setCellAlignment(flexAlignCenterCenter);
        grid->setFillStyle(flexFillSingle);
        for (const Thing& t : things) {
            grid->AddItem(QStringLiteral("\t%1\t%2\t%3\t1千万～10万\t\t%4\toff")
                              .arg(QString::fromUtf8(t.name), QString::fromUtf8(t.kind), QString::fromUtf8(t.show))
                              .arg(grid->Rows()));
            const int tr = grid->Rows() - 1;
            grid->setRowHeight(tr, 400);
            grid->setRow(tr);
            grid->setCol(5);
            grid->setCellPicture(samplePicture(100, 26, t.colour));
            grid->setCol(3);
            grid->setCellForeColor(t.colour.red() | t.colour.green() << 8 | t.colour.blue() << 16);
        }
    }
    grid->setFixedRows(1);
    grid->setRowHeight(0, 240);
    // A sorted column's title, marked as the place list marks it.
    grid->setTextMatrix(0, 1, QStringLiteral("事象名　▲"));
    grid->setRow(0);
    grid->setCol(1);
    grid->setCellBackColor(0x80000002);
    grid->setCellFontBold(true);
    grid->select(3, 1, 5, 5);
    grid->setRedraw(true);

    auto* ok = new QPushButton(QStringLiteral("ＯＫ"), &dlg);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), &dlg);
    auto* help = new QPushButton(QStringLiteral("ヘルプ(&H)"), &dlg);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* lay = new QVBoxLayout(&dlg);
    auto* label = new QLabel(QStringLiteral("事象リスト(&L):"), &dlg);
    label->setBuddy(grid);
    lay->addWidget(label);
    lay->addWidget(grid);
    lay->addLayout(buttons);
    dlg.resize(640, 330);
    const QString path = testsupport::SaveWidgetPng(&dlg);
    QImage shot(path);
    ASSERT_FALSE(shot.isNull());
    // The selection colour covers the selected cells, the category colour
    // the category rows outside it.
    // Grid positions are in twips; the picture is in device pixels.
    const auto at = [&](int32_t xTwips, int32_t yTwips, int dx, int dy) {
        const QPoint p = grid->mapTo(&dlg, QPoint(int(xTwips / TwipsPerPixelX()) + dx, int(yTwips / TwipsPerPixelY()) + dy));
        return (QPointF(p) * dlg.devicePixelRatioF()).toPoint();
    };
    EXPECT_EQ(shot.pixelColor(at(grid->ColPos(2), grid->RowPos(4), 5, 5)), QColor(0, 120, 215));
    EXPECT_EQ(shot.pixelColor(at(grid->ColPos(2), grid->RowPos(1), 5, 3)), QColor(191, 205, 219));
    EXPECT_EQ(shot.pixelColor(at(grid->ColPos(1) + grid->ColWidth(1), 0, -4, 4)), QColor(153, 180, 209));
}
