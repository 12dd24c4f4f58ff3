// The main window over the installed program: the start on the world map,
// the smallest size, Esc during a real plot, and the close question; files
// from the command line and dropped on the view; the mouse on the real view
// (click, drag, wheel), a scroll bar dragged and released, survey and frame
// cut from the Tool menu; the dialogs of the File, View, Project and Tool
// menus with what the window does after them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollBar>
#include <QSlider>
#include <QToolButton>
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <cmath>

#include "AppTestSupport.h"
#include "Bitmap.h"
#include "RasterDC.h"
#include "DialogPlayer.h"
#include "FileDialog.h"
#include "ErrorMng.h"
#include "MainPlotRoutines.h"
#include "basFileNames.h"
#include "clsMapPlot.h"
#include "basGlobe.h"
#include "frmMain.h"
#include "frmImageSize.h"
#include "frmMapLoad.h"
#include "frmAccessory.h"
#include "frmDirectProjection.h"
#include "frmEnvironment.h"
#include "frmGrid.h"
#include "frmMapSymbol.h"
#include "frmMapList.h"
#include "frmMapUnitList.h"
#include "frmPickup.h"
#include "FigurePickMenuUi.h"
#include "FlexGrid.h"
#include "clsCanvas.h"
#include "clsRegistry.h"
#include <QStatusBar>
#include "frmPrjWizard.h"
#include "MapViewControl.h"
#include "MainPrint.h"
#include "Help.h"
#include "HelpWindow.h"
#include "frmCruise05.h"
#include "basBaseMap.h"
#include "clsCruise05.h"
#include "clsMapRem.h"
#include <QFileInfo>
#include <QPrinter>
#include "Screen.h"
#include "ViewOverlay.h"
#include "basHMapCoord.h"
#include "basHMapView.h"
#include "basLibrary.h"
#include "PublicVal.h"
#include "clsMapUnit.h"
#include "clsMapUnits.h"

namespace {

class MainWindow : public ::testing::Test {
protected:
    MainWindow() {
        folder_.Install();
        for (const char* n : {"WORLD_T3.MLL", "WORLD_T3.ADM", "WORLD_T3.THG"}) folder_.CopyMap(QString::fromLatin1(n));
        QDir(folder_.path()).mkdir(QStringLiteral("help"));
        testsupport::WriteBytes(folder_.file(QStringLiteral("help/index.html")), "<html></html>");
        SetProgramEndHook([] {});
    }
    ~MainWindow() override {
        SetProgramEndHook({});
        RemoveMapUnitDialogs();
    }
    // The installed world map again under another name.
    QString copyOfWorld(const QString& name) const {
        for (const char* ext : {".MLL", ".ADM", ".THG"})
            EXPECT_TRUE(QFile::copy(folder_.map(QStringLiteral("WORLD_T3") + QLatin1String(ext)),
                                    folder_.map(name + QLatin1String(ext))));
        return folder_.map(name + QStringLiteral(".MLL"));
    }
    // Runs the event loop until done() holds or ms have passed (a bound far
    // beyond a sanitizer build's needs on a loaded machine).
    static bool waitFor(const std::function<bool()>& done, int ms = 60000) {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < ms) QTest::qWait(10);
        return done();
    }
    // Starts the window at a fixed size with its view laid out and drawn.
    void startWindow(frmMain& window, const QStringList& arguments = {}) {
        ASSERT_TRUE(window.Start(arguments));
        window.resize(900, 640);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(100);
        ASSERT_TRUE(waitFor([&] { return !window.logic().PlottingEi && window.picView->width() > 300; }));
        // Plots are counted from here.
        const MapPlotter plot = window.logic().Plotter;
        window.logic().Plotter = [this, plot](plat::HDC hdc, int32_t dx, int32_t dy, int32_t w, int32_t h,
                                              const std::function<void(int16_t)>& progress) {
            ++plots_;
            return plot(hdc, dx, dy, w, h, progress);
        };
    }
    // The map point under a view pixel, and the width of a view pixel there.
    static std::pair<int32_t, int32_t> mapAt(QPoint p) {
        int32_t x = 0, y = 0;
        EXPECT_TRUE(PosViewToMap(p.x(), p.y(), x, y)) << p.x() << "," << p.y();
        return {x, y};
    }
    static int32_t pixelWidth(QPoint p) { return std::abs(mapAt(p + QPoint(1, 0)).first - mapAt(p).first); }
    static void expectCentreNear(std::pair<int32_t, int32_t> expected, int32_t tolerance) {
        EXPECT_NEAR(CurrentMapPlot()->CenterX(), expected.first, tolerance);
        EXPECT_NEAR(CurrentMapPlot()->CenterY(), expected.second, tolerance);
    }

    // The item of a menu as its drop-down leaves it.
    static QAction* menuItem(QMenu* menu, const char* caption) {
        emit menu->aboutToShow();
        for (QAction* a : menu->actions())
            if (a->text() == QString::fromUtf8(caption)) return a;
        ADD_FAILURE() << caption;
        return nullptr;
    }
    // Acts on the dialog of type D once it is up and active.
    template <class D>
    static void whenModal(std::function<void(D&)> act) {
        testsupport::WhenModal<D>(std::move(act), {.active = true});
    }

    apptest::ProgramFolder folder_;
    int plots_ = 0;
};

TEST_F(MainWindow, StartsOnTheWorldMapStopsWithEscAndAsksBeforeClosing) {
    frmMain window;
    ASSERT_TRUE(window.Start({}));
    ASSERT_NE(gvMapUnitsLL, nullptr);
    EXPECT_EQ(gvMapUnitsLL->Count(), 2) << "base and start map";
    EXPECT_TRUE(window.windowTitle().startsWith(QStringLiteral("KALDERO - "))) << window.windowTitle().toStdString();
    EXPECT_TRUE(window.windowTitle().contains(QStringLiteral("WORLD_T3"))) << window.windowTitle().toStdString();
    EXPECT_EQ(window.stbPanels[0]->text(), QString());
    EXPECT_TRUE(window.stbPanels[1]->text().startsWith(QStringLiteral("1/")));
    EXPECT_TRUE(window.stbPanels[2]->text().startsWith(QStringLiteral("C:")));
    EXPECT_EQ(window.hsbView->minimum(), -10800);
    EXPECT_EQ(window.hsbView->maximum(), 10800);
    EXPECT_EQ(window.sliScale->value(), LevelOfScale(gvMapPlotLL->MapScale()));
    EXPECT_TRUE(window.sliScale->isEnabled());
    testsupport::SaveWidgetPng(&window, QStringLiteral("start"));

    // Never smaller than its minimum.
    window.resize(100, 100);
    QApplication::processEvents();
    EXPECT_GE(window.width(), window.minimumWidth());
    EXPECT_EQ(window.minimumWidth(), int(6525 / plat::TwipsPerPixelX()));
    QApplication::processEvents();
    testsupport::SaveWidgetPng(&window, QStringLiteral("small"));
    window.resize(900, 640);
    QApplication::processEvents();

    // Esc while the engine draws: the key is served between its figures.
    const MapPlotter plot = window.logic().Plotter;
    bool lockedDuringPlot = false;
    window.logic().Plotter = [&](plat::HDC hdc, int32_t dx, int32_t dy, int32_t w, int32_t h,
                                 const std::function<void(int16_t)>& progress) {
        lockedDuringPlot = !window.sliScale->isEnabled() && !window.mnuFile->menuAction()->isEnabled();
        QCoreApplication::postEvent(window.focusWidget() ? window.focusWidget() : &window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        return plot(hdc, dx, dy, w, h, progress);
    };
    EXPECT_EQ(window.logic().PlotWindow(), PlotCancelled);
    EXPECT_TRUE(lockedDuringPlot);
    EXPECT_EQ(window.stbPanels[0]->text(), QStringLiteral("地図描画は中断されました."));
    EXPECT_TRUE(window.sliScale->isEnabled());
    testsupport::SaveWidgetPng(&window, QStringLiteral("stopped"));
    window.logic().Plotter = plot;

    // No keeps the window and writes nothing; Yes writes LAST and releases.
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("KALDERO アプリケーションを終了しますか ?"), plat::IdNo);
        EXPECT_FALSE(window.close());
    }
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(QFile::exists(GetLogLast()));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("アプリケーションを終了しますか"), plat::IdYes);
        EXPECT_TRUE(window.close());
    }
    EXPECT_TRUE(QFile::exists(GetLogLast()));
    EXPECT_EQ(gvMapUnitsLL, nullptr);
}

TEST_F(MainWindow, TheBaseMapIsDrawnBeforeTheWindowShowsAndAScaleBarRepaintSpoilsNoPlot) {
    frmMain window;
    std::vector<std::pair<QSize, bool>> plots;   // canvas size, window shown
    bool repaintBar = false;
    const MapPlotter plot = window.logic().Plotter;
    window.logic().Plotter = [&](plat::HDC hdc, int32_t dx, int32_t dy, int32_t w, int32_t h,
                                 const std::function<void(int16_t)>& progress) {
        plots.emplace_back(QSize(w, h), window.isVisible());
        return plot(hdc, dx, dy, w, h, [&](int16_t phase) {
            progress(phase);
            // The bar shares the drawing layer with the plot (a question box
            // moved over it, the window just shown).
            if (phase == 3 && repaintBar) window.picMeasure->repaint();
        });
    };
    ASSERT_TRUE(window.Start({}));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // The base map before the window shows, the start map after: each once,
    // at the size the view has.
    ASSERT_TRUE(waitFor([&] { return plots.size() >= 2 && !window.logic().PlottingEi; }));
    ASSERT_EQ(plots.size(), 2u);
    EXPECT_FALSE(plots[0].second);
    EXPECT_EQ(plots[0].first, window.picView->size());
    EXPECT_EQ(plots[1].first, window.picView->size());
    const QImage plain = gvCanvasPicture->Image()->image().copy();
    repaintBar = true;
    ASSERT_EQ(window.logic().PlotWindow(), PlotDone);
    EXPECT_TRUE(gvCanvasPicture->Image()->image() == plain);
}

TEST_F(MainWindow, ALargeCanvasKeepsTheWindowAndItsStatusBarOnTheScreen) {
    frmMain window;
    startWindow(window);
    testsupport::WhenModal<frmMapSize>([](frmMapSize& d) {
        frmMapSize* dialog = &d;
        dialog->synchroBox()->click();
        for (int i : {0, 1}) {
            dialog->canvasSizeBox(i)->setText(QString::number(3000 - 1000 * i));
            EXPECT_TRUE(dialog->checkField(dialog->canvasSizeBox(i)));
        }
        dialog->okButton()->click();
    });
    window.mnuMapSize_Click();
    ASSERT_EQ(gvCanvas->CanvasWidth(), 3000);
    QApplication::processEvents();
    const QRect screen = window.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(window.frameGeometry()));
    EXPECT_TRUE(screen.contains(QRect(window.statusBar()->mapToGlobal(QPoint()), window.statusBar()->size())));
    // The window has grown to the screen: its view is the largest the image
    // size dialog allows, and shows part of the canvas.
    EXPECT_EQ(window.picView->width(), gvCanvas->ViewMaxWidth());
    EXPECT_EQ(window.picView->height(), gvCanvas->ViewMaxHeight());
    EXPECT_TRUE(window.picViewArea->isVisible());
}

TEST_F(MainWindow, TheStoredCornerStaysWhenTheFrameFitsAndIsBroughtOnTheScreenOtherwise) {
    frmMain window;
    window.resize(window.minimumSize());
    clsRegistry pub(QStringLiteral("PUBLIC"));
    auto corner = [&] {
        return pub.RegGet(QStringLiteral("WindowLeft"), QString()) + QLatin1Char(' ') +
               pub.RegGet(QStringLiteral("WindowTop"), QString());
    };
    for (const char* stored : {"1507 751", "-50000 200000"}) {
        const QStringList xy = QString::fromLatin1(stored).split(QLatin1Char(' '));
        pub.RegPut(QStringLiteral("WindowLeft"), xy[0]);
        pub.RegPut(QStringLiteral("WindowTop"), xy[1]);
        gvReadRegistry(false);
        EXPECT_TRUE(window.screen()->availableGeometry().contains(window.frameGeometry())) << stored;
        gvWriteRegistry(false);
        const QString moved = QStringLiteral("%1 %2")
                                  .arg(window.x() * plat::TwipsPerPixelX())
                                  .arg(window.y() * plat::TwipsPerPixelY());
        EXPECT_EQ(corner(), xy[0].startsWith(QLatin1Char('-')) ? moved : QString::fromLatin1(stored));
    }
}

TEST_F(MainWindow, StatusReadoutsFitSideBySideAtTheSmallestSize) {
    frmMain window;
    startWindow(window);
    window.resize(window.minimumSize());
    // The widest texts: the pointer at full precision far from Greenwich.
    CurrentMapPlot()->setMapScale(MapScaleMax / 200);
    window.logic().ShowScale();
    window.logic().ShowCenter();
    window.logic().ShowCursorPos(true, -647999, -323999);
    window.logic().SetStatusText(QStringLiteral("地図ファイルを開きましょう."));
    ASSERT_TRUE(waitFor([&] { return window.width() == window.minimumWidth(); }));
    QApplication::processEvents();
    for (size_t i = 1; i < window.stbPanels.size(); ++i) {
        const QLabel* panel = window.stbPanels[i];
        const int next = i + 1 < window.stbPanels.size() ? window.stbPanels[i + 1]->x() : window.statusBar()->width();
        EXPECT_GE(panel->width(), panel->sizeHint().width()) << panel->text().toStdString();
        EXPECT_LE(panel->geometry().right(), next) << panel->text().toStdString();
    }
    testsupport::SaveWidgetPng(&window, QStringLiteral("smallest"));
}

// The lowest row of an image with a pixel other than the background; -1 for none.
static int lowestInk(const QImage& image, QRgb background) {
    for (int y = image.height() - 1; y >= 0; --y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background) return y;
    return -1;
}

TEST_F(MainWindow, TheScaleBarBoxShowsItsNumbersWholeAboveABlankRow) {
    frmMain window;
    startWindow(window);
    QApplication::processEvents();
    const QImage shown = window.picMeasure->grab().toImage();
    const int bottom = lowestInk(shown, window.palette().window().color().rgb());
    testsupport::SaveWidgetPng(window.picMeasure->parentWidget(), QStringLiteral("top-bar"));
    EXPECT_GT(bottom, shown.height() / 2) << "no numbers under the bar";
    EXPECT_LE(bottom, shown.height() - 2);
    // The slider and its buttons stay where they were: centred in a band as
    // high as the view-area box at the top of the bar.
    const QWidget* bar = window.picMeasure->parentWidget();
    const int band = window.picMeasure->y() + window.picViewArea->height() / 2;
    for (const QWidget* w : std::initializer_list<const QWidget*>{window.picScaleSmall, window.sliScale, window.picScaleLarge})
        EXPECT_NEAR(w->mapTo(bar, w->rect().center()).y(), band, 1) << w->metaObject()->className();
    // A larger font makes the box higher: the height is the font's.
    int previous = 0;
    for (const double points : {9.0, 14.0, 24.0}) {
        plat::StdFont f;
        f.size = points;
        const plat::FontRef font = plat::MakeFont(f);
        const int h = MeasureBarHeight(font) + 1;
        EXPECT_GT(h, previous) << points;
        previous = h;
        plat::HBITMAP bitmap = plat::Bitmap::Create(800, h, 32);
        bitmap->image().fill(Qt::white);
        plat::RasterDC dc(bitmap, 96);
        PlotMeasure(&dc, 800, h, font, 0x000000);
        const int drawn = lowestInk(dc.image(), qRgb(255, 255, 255));
        EXPECT_GT(drawn, h / 2) << points << " pt: no numbers under the bar";
        EXPECT_LE(drawn, h - 2) << points;
    }
}

TEST_F(MainWindow, OpensTheCommandLineFileAndFilesDroppedOnTheView) {
    const QString first = copyOfWorld(QStringLiteral("FIRST"));
    const QString dropped = copyOfWorld(QStringLiteral("DROPPED"));
    frmMain window;
    startWindow(window, {first});
    EXPECT_EQ(gvMapUnitsLL->Count(), 2) << "base and the command line's map; no start map";
    EXPECT_EQ(gvMapUnitsLL->Active()->UnitName(), first);
    EXPECT_TRUE(window.windowTitle().contains(QStringLiteral("FIRST"))) << window.windowTitle().toStdString();

    auto drop = [&](const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
        data.setUrls(urls);
        // As a real drop: the view takes the drag when it enters, then the drop.
        QDragEnterEvent enter(QPoint(40, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.picView, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent event(QPointF(40, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.picView, &event);
        EXPECT_TRUE(event.isAccepted());
    };
    const int before = plots_;
    drop({dropped});
    // The files are opened once the drop has returned.
    ASSERT_TRUE(waitFor([&] { return plots_ > before && !window.logic().PlottingEi; }));
    EXPECT_EQ(gvMapUnitsLL->Count(), 3);
    EXPECT_EQ(gvMapUnitsLL->Active()->UnitName(), dropped);
    EXPECT_GT(plots_, before) << "a dropped map is drawn";
    EXPECT_TRUE(window.windowTitle().contains(QStringLiteral("DROPPED"))) << window.windowTitle().toStdString();

    // A file of no known kind: its message, nothing loaded.
    const QString notes = folder_.file(QStringLiteral("notes.txt"));
    testsupport::WriteBytes(notes, "text");
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("は無効なファイル形式です."), plat::IdOk);
        drop({notes});
        EXPECT_TRUE(waitFor([&] { return boxes.pending() == 0; }));
    }
    EXPECT_EQ(gvMapUnitsLL->Count(), 3);
    testsupport::SaveWidgetPng(&window, QStringLiteral("dropped"));
}

TEST_F(MainWindow, AClickCentresADragPansAtOnceAndReplotsOnRelease) {
    frmMain window;
    startWindow(window);
    QWidget* view = window.picView;
    const QPoint centre(view->width() / 2, view->height() / 2);

    // A single click: the point clicked becomes the centre.
    const QPoint clicked = centre + QPoint(120, 50);
    const auto target = mapAt(clicked);
    const int32_t tolerance = pixelWidth(clicked) + 60;
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, clicked);
    EXPECT_EQ(plots_, 0) << "the click waits for a second one";
    ASSERT_TRUE(waitFor([&] { return plots_ == 1; }));
    expectCentreNear(target, tolerance);
    QTest::qWait(50);

    // A drag: the picture follows the pointer at once; the map is plotted
    // anew on release with the content moved by the drag.
    const QImage still = view->grab().toImage();
    const QPoint from(300, 200), to(360, 230);
    const auto dragged = mapAt(centre - (to - from));
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, from);
    // Held past the double-click time, the press becomes a drag.
    ASSERT_TRUE(waitFor([&] { return window.viewControl().DragEi; }));
    QTest::mouseMove(view, to);
    EXPECT_EQ(window.viewControl().PanX(), 60);
    EXPECT_EQ(window.viewControl().PanY(), 30);
    const QImage moved = view->grab().toImage();
    const QRect kept(0, 0, still.width() - 60, still.height() - 30);
    EXPECT_EQ(moved.copy(kept.translated(60, 30)), still.copy(kept)) << "the picture is shifted, not replotted";
    EXPECT_EQ(plots_, 1);
    testsupport::SaveWidgetPng(&window, QStringLiteral("dragging"));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_EQ(plots_, 2);
    EXPECT_EQ(window.viewControl().PanX(), 0);
    expectCentreNear(dragged, pixelWidth(centre) * 2 + 60);

    // The wheel: one small step of the vertical bar north.
    const int32_t north = window.logic().state().Vertical.Value;
    QWheelEvent wheel(QPointF(centre), view->mapToGlobal(QPointF(centre)), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &wheel);
    EXPECT_EQ(window.logic().state().Vertical.Value, north + window.logic().state().Vertical.SmallChange);
    EXPECT_EQ(plots_, 3);
}

TEST_F(MainWindow, AScrollBarDraggedShowsTheCentreAndRedrawsOnRelease) {
    frmMain window;
    startWindow(window);
    QScrollBar* bar = window.hsbView;
    const int start = bar->value();
    bar->setSliderDown(true);
    bar->setSliderPosition(start + 600);
    EXPECT_EQ(plots_, 0);
    EXPECT_EQ(CurrentMapPlot()->CenterX(), CoarseToMap(start + 600)) << "the engine follows the drag";
    EXPECT_TRUE(window.stbPanels[2]->text().startsWith(QStringLiteral("C:")));
    // The status refreshes while the bar is held do not take the release's Change away.
    window.logic().SetStatusText(QStringLiteral("x"));
    bar->setSliderDown(false);
    EXPECT_EQ(plots_, 1);
    EXPECT_EQ(window.logic().state().Horizontal.Value, start + 600);
    EXPECT_EQ(bar->value(), start + 600);

    // Keypad plus: one scale level in, through the slider.
    const int level = window.sliScale->value();
    QTest::keyClick(&window, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(window.sliScale->value(), std::min(level + 1, 53));
    EXPECT_EQ(LevelOfScale(CurrentMapPlot()->MapScale()), window.sliScale->value());
    EXPECT_EQ(plots_, 2);
}

TEST_F(MainWindow, SurveyAndFrameCutFromTheToolMenu) {
    frmMain window;
    startWindow(window);
    QWidget* view = window.picView;
    auto toolItem = [&](const QString& caption) {
        emit window.mnuTool->aboutToShow();
        for (QAction* a : window.mnuTool->actions())
            if (a->text() == caption) return a;
        ADD_FAILURE() << caption.toStdString();
        return static_cast<QAction*>(nullptr);
    };
    auto click = [&](QPoint p) {
        QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, p);
        EXPECT_TRUE(waitFor([&] { return !window.viewControl().ClickTimerRunning(); }));
    };
    QAction* survey = toolItem(QStringLiteral("測量(&R)"));
    ASSERT_TRUE(survey && survey->isEnabled());
    survey->trigger();
    EXPECT_EQ(window.stbPanels[0]->text(), QStringLiteral("測量：始点をクリック"));
    EXPECT_FALSE(toolItem(QStringLiteral("フレームカット(&F)"))->isEnabled()) << "one mode at a time";
    click({250, 250});
    click({450, 200});
    QTest::mouseMove(view, {600, 300});
    EXPECT_TRUE(window.stbPanels[0]->text().startsWith(QStringLiteral("測量：距離="))) << window.stbPanels[0]->text().toStdString();
    EXPECT_FALSE(window.overlay().IsEmpty()) << "the legs are drawn over the map";
    EXPECT_EQ(plots_, 0) << "surveying never replots";
    testsupport::SaveWidgetPng(&window, QStringLiteral("survey"));
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.viewControl().Survey().IsOn());
    EXPECT_TRUE(window.overlay().IsEmpty()) << "leaving the mode removes its marks";

    QAction* frameCut = toolItem(QStringLiteral("フレームカット(&F)"));
    ASSERT_TRUE(frameCut && frameCut->isEnabled());
    frameCut->trigger();
    click({200, 150});
    QTest::mouseMove(view, {420, 330});
    EXPECT_TRUE(window.viewControl().FrameCut().HasFirstCorner());
    EXPECT_FALSE(window.overlay().IsEmpty()) << "the rubber band follows the pointer";
    testsupport::SaveWidgetPng(&window, QStringLiteral("framecut"));
    const double scale = CurrentMapPlot()->MapScale();
    click({420, 330});
    EXPECT_FALSE(window.viewControl().FrameCut().IsOn());
    EXPECT_TRUE(waitFor([&] { return plots_ >= 1 && !window.logic().PlottingEi; }));
    EXPECT_LT(CurrentMapPlot()->MapScale(), scale) << "the area fills the view";
}

TEST_F(MainWindow, FileMenuOpensSavesAsAndSizesTheImage) {
    const QString other = copyOfWorld(QStringLiteral("OTHER"));
    frmMain window;
    startWindow(window);
    auto fileItem = [&](const char* caption) {
        emit window.mnuFile->aboutToShow();
        for (QAction* a : window.mnuFile->actions())
            if (a->text() == QString::fromUtf8(caption)) return a;
        ADD_FAILURE() << caption;
        return static_cast<QAction*>(nullptr);
    };
    const QString mapFilter = QStringLiteral(
        "経緯度地図ファイル(*.MLL)|*.MLL|ＸＹ地図ファイル(*.MXY)|*.MXY|事象ファイル(*.THG)|*.THG|"
        "行政区ファイル(*.ADM)|*.ADM|ログファイル(*.PLG)|*.PLG|");
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expectOpenFile(QStringLiteral("ファイルを開く"), other);
        fileItem("開く(&O)...")->trigger();
        boxes.expectOpenFile(QStringLiteral("ファイルを開く"), QString());
        fileItem("開く(&O)...")->trigger();
        ASSERT_EQ(boxes.fileRequests().size(), 2u);
        EXPECT_EQ(boxes.fileRequests()[0].filter, mapFilter);
        EXPECT_EQ(boxes.fileRequests()[0].fileName, JoinPath(gvMapFolder, QStringLiteral("*.MLL")));
        EXPECT_EQ(boxes.fileRequests()[1].fileName, other) << "the last answer is proposed again";
    }
    EXPECT_EQ(gvMapUnitsLL->Active()->UnitName(), other);
    EXPECT_EQ(gvMapUnitsLL->Count(), 3);

    // Save as a picture: the PNG and the project folder beside it.
    testsupport::TempDir out;
    const QString png = out.file(QStringLiteral("view.PNG"));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expectSaveFile(QStringLiteral("ファイルを保存する"), png);
        fileItem("名前を付けて保存(&A)...")->trigger();
        ASSERT_EQ(boxes.fileRequests().size(), 1u);
        EXPECT_EQ(boxes.fileRequests()[0].filter,
                  mapFilter + QStringLiteral("BMPイメージファイル(*.BMP)|*.BMP|PNGイメージファイル(*.PNG)|*.PNG|"
                                             "メタファイル(*.WMF)|*.WMF|ポストスクリプト(*.EPS)|*.EPS|"));
    }
    EXPECT_EQ(gvLastSavePath, png);
    const QImage written(png);
    EXPECT_EQ(written.size(), QSize(gvCanvas->CanvasWidth(), gvCanvas->CanvasHeight()));
    EXPECT_TRUE(QFile::exists(out.file(QStringLiteral("view/view.PLG"))));
    EXPECT_TRUE(QFile::exists(out.file(QStringLiteral("view/OTHER.MLL"))));

    // Image size: OK with a narrower view lays the window out anew and redraws.
    const int plots = plots_;
    testsupport::WhenModal<frmMapSize>([](frmMapSize& d) {
        frmMapSize* dialog = &d;
        dialog->viewSizeBox(0)->setText(QStringLiteral("500"));
        EXPECT_TRUE(dialog->checkField(dialog->viewSizeBox(0)));
        dialog->okButton()->click();
    });
    fileItem("画像サイズ(&Z)...")->trigger();
    EXPECT_EQ(gvCanvas->ViewWidth(), 500);
    EXPECT_GT(plots_, plots);
    EXPECT_TRUE(waitFor([&] { return window.picView->width() == 500; }));
}

// A name typed without its extension gets the type's on saving: the
// question before replacing is about that file. The real dialog is played.
TEST_F(MainWindow, SavesAskBeforeReplacingTheFileReallyWritten) {
    frmMain window;
    startWindow(window);
    for (const char* n : {"JAPAN_A8.MLL", "JAPAN_A8.THG", "JAPAN_A8.ADM"}) folder_.CopyMap(QString::fromLatin1(n));
    testsupport::TempDir out;
    testsupport::WriteBytes(out.file(QStringLiteral("VIEW.PNG")), "an older picture");
    const auto bytesOf = [&](const QString& base) {
        QByteArray all;
        for (const char* ext : {".MLL", ".THG", ".ADM"}) all += testsupport::ReadBytes(folder_.map(base + QLatin1String(ext)));
        return all;
    };
    const QByteArray japan = bytesOf(QStringLiteral("JAPAN_A8"));
    const QString world = gvMapUnitsLL->Active()->UnitName();

    // Plays the user: the type, the name, Save; then the dialog must be
    // closed (yes, or a new name) or still open (no), and is cancelled.
    const auto save = [&](const char* menu, const QString& folder, int type, const char* name, bool closes) {
        testsupport::WhenModal<plat::FileDialog>([=](plat::FileDialog& d) {
            d.setDirectory(folder);
            if (type > 0) testsupport::ChooseFileType(d, type);
            testsupport::TypeFileName(d, QString::fromLatin1(name));
            testsupport::PressAccept(d);
            EXPECT_EQ(d.isVisible(), !closes);
            if (d.isVisible()) d.reject();
        });
        menuItem(window.mnuFile, menu)->trigger();
    };
    const char* saveAs = "名前を付けて保存(&A)...";
    {
        SCOPED_TRACE("over a map, no");
        testsupport::ScriptedBoxesWithFileDialogs boxes;
        boxes.expect(QStringLiteral("JAPAN_A8.MLL は既に存在します."), plat::IdNo);
        save(saveAs, gvMapFolder, 1, "JAPAN_A8", false);
        EXPECT_EQ(bytesOf(QStringLiteral("JAPAN_A8")), japan);
        EXPECT_EQ(gvMapUnitsLL->Active()->UnitName(), world);
    }
    {
        SCOPED_TRACE("a new map needs no question");
        testsupport::ScriptedBoxesWithFileDialogs boxes;
        save(saveAs, gvMapFolder, 1, "FRESH", true);
        EXPECT_TRUE(QFile::exists(folder_.map(QStringLiteral("FRESH.MLL"))));
    }
    {
        SCOPED_TRACE("a new map over an existing one, no");
        testsupport::ScriptedBoxesWithFileDialogs boxes;
        boxes.expect(QStringLiteral("JAPAN_A8.MLL は既に存在します."), plat::IdNo);
        const int units = gvMapUnitsLL->Count();
        save("新規作成(&N)...", gvMapFolder, 0, "JAPAN_A8", false);
        EXPECT_EQ(bytesOf(QStringLiteral("JAPAN_A8")), japan);
        EXPECT_EQ(gvMapUnitsLL->Count(), units);
    }
    {
        SCOPED_TRACE("over a map, yes");
        testsupport::ScriptedBoxesWithFileDialogs boxes;
        boxes.expect(QStringLiteral("JAPAN_A8.MLL は既に存在します."), plat::IdYes);
        save(saveAs, gvMapFolder, 1, "JAPAN_A8", true);
        EXPECT_NE(bytesOf(QStringLiteral("JAPAN_A8")), japan);
        EXPECT_EQ(gvMapUnitsLL->Active()->UnitName(), folder_.map(QStringLiteral("JAPAN_A8.MLL")));
    }
    for (const int answer : {plat::IdNo, plat::IdYes}) {
        SCOPED_TRACE(answer == plat::IdYes ? "over a picture, yes" : "over a picture, no");
        testsupport::ScriptedBoxesWithFileDialogs boxes;
        boxes.expect(QStringLiteral("VIEW.PNG は既に存在します."), answer);
        save(saveAs, out.path(), 7, "VIEW", answer == plat::IdYes);
        const QByteArray bytes = testsupport::ReadBytes(out.file(QStringLiteral("VIEW.PNG")));
        if (answer == plat::IdNo) EXPECT_EQ(bytes, QByteArray("an older picture"));
        else EXPECT_EQ(QImage::fromData(bytes).size(), QSize(gvCanvas->CanvasWidth(), gvCanvas->CanvasHeight()));
    }
}

TEST_F(MainWindow, MapUnitListFromTheFileMenuRedrawsOnlyAfterOk) {
    frmMain window;
    startWindow(window);
    for (bool ok : {false, true}) {
        const int plots = plots_;
        whenModal<frmMapUnitList>([ok](frmMapUnitList& d) {
            EXPECT_EQ(d.logic().UnitSet, gvMapUnitsLL);
            (ok ? d.cmdOK : d.cmdCancel)->click();
        });
        QAction* item = menuItem(window.mnuFile, "地図ユニットリスト(&L)...");
        ASSERT_TRUE(item && item->isEnabled());
        item->trigger();
        EXPECT_EQ(plots_, plots + (ok ? 1 : 0)) << ok;
    }
}

TEST_F(MainWindow, TheFigureListReopensWhereItWasLeftAndOnTheScreen) {
    frmMain window;
    startWindow(window);
    const QRect screen = window.screen()->availableGeometry();
    const QSize size(screen.width() * 3 / 4, screen.height() / 2);
    const QPoint corner = screen.topLeft() + QPoint(screen.width() / 10, screen.height() / 5);
    int32_t widened = 0;
    // One opening from the Edit menu: `act` runs once the list is filled,
    // then the list is closed from its File menu.
    const auto openList = [&](const std::function<void(frmMapList&)>& act) {
        bool acted = false;
        testsupport::WhenModal<frmMapList>(
            [&](frmMapList& d) {
                act(d);
                acted = true;
                d.fileItems[frmMapListLogic::mnuClose]->trigger();
            },
            {.ready = [](frmMapList& d) { return d.logic().UnitIndex > 0; }});
        menuItem(window.mnuEdit, "地図図形リスト(&T)...")->trigger();
        EXPECT_TRUE(acted);
    };
    openList([&](frmMapList& d) {
        EXPECT_EQ(d.size(), QSize(int(std::lround(frmMapList::kDesignWidth / plat::TwipsPerPixelX())),
                                  int(std::lround(frmMapList::kDesignHeight / plat::TwipsPerPixelY()))));
        d.resize(size);
        d.move(corner);
        QApplication::processEvents();
        // A column widened by its title's edge.
        QHeaderView* header = d.flgList->horizontalHeader();
        const int edge = header->sectionViewportPosition(6) + header->sectionSize(6) - 1;
        const int y = header->height() / 2;
        const int32_t before = d.flgList->ColWidth(6);
        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(edge, y));
        QTest::mouseMove(header->viewport(), QPoint(edge + 60, y));
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(edge + 60, y));
        widened = d.flgList->ColWidth(6);
        EXPECT_GT(widened, before);
        d.logic().SearchRecord.Keyword = QStringLiteral("東京");
    });
    openList([&](frmMapList& d) {
        EXPECT_EQ(d.size(), size);
        EXPECT_EQ(d.frameGeometry().topLeft(), corner);
        EXPECT_EQ(d.flgList->ColWidth(6), widened);
        EXPECT_EQ(d.logic().SearchRecord.Keyword, QStringLiteral("東京"));
        EXPECT_EQ(d.logic().SearchRecord.Target, 2);
        // Left half off the screen's right edge.
        d.move(screen.right() - size.width() / 2, corner.y());
    });
    openList([&](frmMapList& d) {
        EXPECT_EQ(d.size(), size);
        EXPECT_TRUE(screen.contains(d.frameGeometry()));
        EXPECT_EQ(d.frameGeometry().right(), screen.right());
        EXPECT_EQ(d.frameGeometry().top(), corner.y());
    });
}

// The figure list the window keeps for the run goes with the window, after
// the window's own parts, as the user left it: the sanitizers stop the test
// when its grid or the list reach anything already gone.
TEST_F(MainWindow, GoesWithItsFigureListLeftScrolledWithRowsChosen) {
    bool left = false;
    {
        frmMain window;
        startWindow(window);
        testsupport::WhenModal<frmMapList>(
            [&](frmMapList& list) {
                plat::FlexGrid* g = list.flgList;
                g->setTopRow(g->Rows() / 2);
                const int32_t top = g->TopRow();
                g->select(top + 1, 1, top + 4, 1);
                left = top > 1 && g->RowSel() == top + 4;
                list.fileItems[frmMapListLogic::mnuClose]->trigger();
            },
            {.ready = [](frmMapList& list) { return list.logic().UnitIndex > 0 && list.flgList->Rows() > 100; }});
        menuItem(window.mnuEdit, "地図図形リスト(&T)...")->trigger();
    }
    EXPECT_TRUE(left);
}

TEST_F(MainWindow, ViewMenuDialogsChangeTheEngineAndRedraw) {
    frmMain window;
    startWindow(window);
    clsMapPlot& plot = *gvMapPlotLL;

    // Direct projection: a projection chosen by hand reaches the engine.
    const int16_t projection = plot.ProjectionIndex() == 4 ? 3 : 4;
    int plots = plots_;
    whenModal<frmDirectProjection>([projection](frmDirectProjection& d) {
        d.logic().SetAuto(false);
        d.logic().SetSlot(projection);
        d.okButton()->click();
    });
    menuItem(window.mnuView, "直接投影変換(&D)...")->trigger();
    EXPECT_FALSE(plot.ProjectionAuto);
    EXPECT_EQ(plot.ProjectionIndex(), projection);
    EXPECT_GT(plots_, plots);

    // Graticule: a spacing set by hand reaches the engine's grid.
    int32_t spacing = 0;
    plots = plots_;
    whenModal<frmGrid>([&spacing](frmGrid& d) {
        if (!d.chkGridEi->isChecked()) d.chkGridEi->click();
        if (d.chkGridAuto->isChecked()) d.chkGridAuto->click();
        d.sliGrid[0]->setValue(d.sliGrid[0]->value() == 30 ? 60 : 30);
        spacing = GridDialog().Value(0);
        d.cmdOK->click();
    });
    QAction* grid = menuItem(window.mnuView, "経緯線(&G)...");
    ASSERT_TRUE(grid && grid->isEnabled());
    grid->trigger();
    EXPECT_FALSE(plot.GridAuto);
    EXPECT_GT(spacing, 0);
    EXPECT_EQ(plot.Grid().Width(), spacing);
    EXPECT_GT(plots_, plots);

    // Accessories closed at once change nothing; the map symbols see the
    // current units while they are open.
    plots = plots_;
    whenModal<frmAccessory>([](frmAccessory& d) { d.cmdCancel->click(); });
    menuItem(window.mnuView, "アクセサリ(&A)...")->trigger();
    EXPECT_EQ(plots_, plots);
    whenModal<frmMapSymbol>([](frmMapSymbol& d) {
        EXPECT_EQ(MapSymbol().TargetUnits, gvMapUnitsLL);
        d.cancelButton()->click();
    });
    menuItem(window.mnuView, "地図記号・凡例(&K)...")->trigger();
    EXPECT_EQ(MapSymbol().TargetUnits, nullptr);

    // The graticule belongs to the latitude/longitude mode.
    gvMapMode = 2;
    EXPECT_FALSE(menuItem(window.mnuView, "経緯線(&G)...")->isEnabled());
    gvMapMode = 1;
}

// A dialog chosen from a menu while the map is drawn: the drawing stops, the
// dialog's OK reaches the engine (which refuses changes while it draws) and
// the map is drawn again with it.
TEST_F(MainWindow, ViewDialogsChosenDuringADrawingDeliverTheirOk) {
    frmMain window;
    startWindow(window);
    clsMapPlot& plot = *gvMapPlotLL;
    std::vector<int16_t> results;
    QAction* chosen = nullptr;
    bool beforeTheEngine = false;   // chosen before the engine starts (which clears its cancel switch)
    const MapPlotter real = window.logic().Plotter;
    window.logic().Plotter = [&](plat::HDC hdc, int32_t dx, int32_t dy, int32_t w, int32_t h,
                                 const std::function<void(int16_t)>& progress) {
        if (beforeTheEngine && chosen) std::exchange(chosen, nullptr)->trigger();
        results.push_back(real(hdc, dx, dy, w, h, [&](int16_t phase) {
            if (QAction* item = std::exchange(chosen, nullptr)) item->trigger();
            progress(phase);
        }));
        return results.back();
    };
    auto choose = [&](const char* caption) {
        results.clear();
        chosen = menuItem(window.mnuView, caption);
        EXPECT_EQ(window.logic().PlotWindow(), PlotCancelled);
    };
    auto drawnAgain = [&] { return waitFor([&] { return results.size() == 2; }) && results[1] == PlotDone; };

    const int16_t projection = plot.ProjectionIndex() == 4 ? 3 : 4;
    whenModal<frmDirectProjection>([projection](frmDirectProjection& d) {
        d.logic().SetAuto(false);
        d.logic().SetSlot(projection);
        d.okButton()->click();
    });
    choose("直接投影変換(&D)...");
    EXPECT_TRUE(drawnAgain());
    EXPECT_EQ(plot.ProjectionIndex(), projection);

    int32_t spacing = 0;
    beforeTheEngine = true;
    whenModal<frmGrid>([&spacing](frmGrid& d) {
        if (d.chkGridAuto->isChecked()) d.chkGridAuto->click();
        d.sliGrid[0]->setValue(d.sliGrid[0]->value() == 30 ? 60 : 30);
        spacing = GridDialog().Value(0);
        d.cmdOK->click();
    });
    choose("経緯線(&G)...");
    EXPECT_TRUE(drawnAgain());
    EXPECT_FALSE(plot.GridAuto);
    EXPECT_EQ(plot.Grid().Width(), spacing) << "not the automatic pitch";
}

TEST_F(MainWindow, EnvironmentFromTheToolMenuRedrawsAndReformatsTheStatusBar) {
    frmMain window;
    startWindow(window);
    QTest::mouseMove(window.picView, {300, 200});
    QTest::qWait(50);
    const QString pointer = window.stbPanels[3]->text();
    ASSERT_TRUE(pointer.startsWith(QStringLiteral("P:"))) << pointer.toStdString();

    int plots = plots_;
    whenModal<frmEnvironment>([](frmEnvironment& d) { d.cmdCancel->click(); });
    menuItem(window.mnuTool, "環境設定(&E)...")->trigger();
    EXPECT_EQ(plots_, plots + 1) << "a cancelled dialog redraws all the same";
    EXPECT_EQ(window.stbPanels[3]->text(), pointer);

    whenModal<frmEnvironment>([](frmEnvironment& d) {
        emit d.choAngle->activated(d.choAngle->currentIndex() == 3 ? 0 : 3);
        d.cmdOK->click();
    });
    menuItem(window.mnuTool, "環境設定(&E)...")->trigger();
    EXPECT_NE(window.stbPanels[3]->text(), pointer) << "the pointer's position in the new angle format";
    EXPECT_TRUE(window.stbPanels[3]->text().startsWith(QStringLiteral("P:")));
}

TEST_F(MainWindow, ProjectionWizardRunOpensTheXYMapAtItsCentre) {
    frmMain window;
    startWindow(window);
    gvMapPlotLL->EdgeEnable = false;
    gvMapPlotLL->FigureDisp = 6;
    gvMapPlotXY->DetailEnable = true;
    gvMapPlotXY->TextSlant = true;
    clsMapUnits* before = gvMapUnitsXY;

    // Closed at once: nothing changes.
    whenModal<frmPrjWizard>([](frmPrjWizard& w) { w.button(frmPrjWizardLogic::BtnCancel)->click(); });
    menuItem(window.mnuProject, "主投影変換ウィザード(&P)...")->trigger();
    EXPECT_EQ(gvMapUnitsXY, before);
    EXPECT_EQ(gvMapMode, 1);

    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("地図投影変換を完了しました。"), plat::IdOk);
    whenModal<frmPrjWizard>([](frmPrjWizard& w) {
        for (int i = 0; i < 7; ++i) w.button(frmPrjWizardLogic::BtnForward)->click();
        ASSERT_EQ(w.logic().Page(), 8);
        w.executeButton()->click();
        w.button(frmPrjWizardLogic::BtnCancel)->click();
    });
    menuItem(window.mnuProject, "主投影変換ウィザード(&P)...")->trigger();
    const frmPrjWizardLogic& wiz = window.prjWizard();
    ASSERT_TRUE(wiz.ResultFlags & frmPrjWizardLogic::ResultRun);
    EXPECT_EQ(wiz.MapUnitsLL, nullptr);
    EXPECT_EQ(wiz.Projector, nullptr);
    EXPECT_EQ(gvMapMode, 2);
    ASSERT_NE(gvMapUnitsXY, nullptr);
    EXPECT_EQ(gvMapUnitsXY->Count(), wiz.ResultUnits->Count());
    EXPECT_EQ(gvMapUnitsXY->Base(), wiz.ResultUnits->Base());
    EXPECT_EQ(gvMapPlotXY->MapUnits.get(), gvMapUnitsXY);
    EXPECT_EQ(gvMapPlotXY->CenterX(), wiz.ResultCenterX);
    EXPECT_EQ(gvMapPlotXY->CenterY(), wiz.ResultCenterY);
    EXPECT_DOUBLE_EQ(gvMapPlotXY->MapScale(), gvMapPlotLL->MapScale());
    EXPECT_FALSE(gvMapPlotXY->EdgeEnable);
    EXPECT_EQ(gvMapPlotXY->FigureDisp, 6);
    EXPECT_TRUE(gvMapPlotXY->DetailEnable) << "not among the switches handed over";
    EXPECT_TRUE(gvMapPlotXY->TextSlant);
    EXPECT_TRUE(waitFor([&] { return !window.logic().PlottingEi; }));
    EXPECT_EQ(window.hsbView->maximum(), MapViewControl::ScrollBound(false)) << "the X/Y mode's scroll range";
}

} // namespace

namespace {

TEST_F(MainWindow, RightClickPopsUpTheViewMenuWhoseItemsActOnTheView) {
    frmMain window;
    startWindow(window);
    QWidget* view = window.picView;
    auto popupItem = [&](const char* caption) -> QAction* {
        for (QAction* a : window.mnuPopup->actions())
            if (a->text() == QString::fromUtf8(caption)) return a;
        return nullptr;
    };
    QTest::mouseClick(view, Qt::RightButton, Qt::NoModifier, {300, 200});
    ASSERT_TRUE(waitFor([&] { return window.mnuPopup->isVisible(); }));
    ASSERT_NE(popupItem("クルーズ実行(&W)"), nullptr);
    EXPECT_TRUE(popupItem("クルーズ実行(&W)")->isEnabled()) << "latitude/longitude mode";
    QAction* grid = popupItem("経緯線許可(&G)");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->isChecked(), CurrentMapPlot()->GridEnable);
    ASSERT_NE(popupItem("東へ(&R)"), nullptr) << "latitude/longitude captions";
    testsupport::SaveWidgetPng(window.mnuPopup, QStringLiteral("popup"));
    window.mnuPopup->hide();

    const bool gridOn = CurrentMapPlot()->GridEnable;
    grid->trigger();
    EXPECT_NE(CurrentMapPlot()->GridEnable, gridOn);
    EXPECT_EQ(plots_, 1);

    // Pickup from the popup: the survey item is off while it lasts.
    popupItem("ピックアップ(&P)")->trigger();
    EXPECT_TRUE(window.viewControl().PickupEi);
    window.mnuPopup_Click();
    EXPECT_FALSE(popupItem("測量(&V)")->isEnabled());

    const int16_t level = window.sliScale->value();
    popupItem("縮小(&S)")->trigger();
    EXPECT_EQ(window.sliScale->value(), level - 1);
}

} // namespace

namespace {

TEST_F(MainWindow, DoubleClickListsTheNearestFiguresWithTheFirstHighlighted) {
    frmMain window;
    startWindow(window);
    QWidget* view = window.picView;
    // A point of the view with figures near it.
    QPoint at;
    for (int y = 60; y < view->height() && at.isNull(); y += 40)
        for (int x = 60; x < view->width() && at.isNull(); x += 40) {
            int32_t cx = 0, cy = 0;
            gvCanvas->PosViewToCanvas(x, y, cx, cy);
            CurrentMapPlot()->SearchX = cx;
            CurrentMapPlot()->SearchY = cy;
            if (CurrentMapPlot()->SearchNears(false, true, 8).size() == 1) at = QPoint(x, y);
        }
    ASSERT_FALSE(at.isNull());
    const QImage before = view->grab().toImage();

    bool shown = false;
    window.PickupShown = [&](frmPickup& list) {
        shown = true;
        EXPECT_EQ(list.windowTitle(), QStringLiteral("ピックアップ"));
        EXPECT_GE(list.flgInfos->Rows(), 2);
        EXPECT_EQ(list.flgInfos->Row(), 1);
        EXPECT_TRUE(list.lblMessage->text().startsWith(QStringLiteral("候補図形数 = ")));
        EXPECT_EQ(list.flgInfos->TextMatrix(0, 3), QStringLiteral("　ノード数"));
        // Every text fits its column: no map name is cut short.
        const QFontMetrics fm(list.flgInfos->font());
        for (int32_t c = 0; c < list.flgInfos->Cols(); ++c)
            for (int32_t r = 0; r < list.flgInfos->Rows(); ++r)
                EXPECT_LE(fm.horizontalAdvance(list.flgInfos->TextMatrix(r, c)) + 4, list.flgInfos->columnWidth(c))
                    << list.flgInfos->TextMatrix(r, c).toStdString();
        EXPECT_NE(view->grab().toImage(), before) << "the first row's figure is highlighted";
        // Beside the click (960 twips off), toward the middle of the screen.
        const QPoint click = view->mapToGlobal(at);
        const QRect screen = list.screen()->geometry();
        const int gapX = int(std::lround(960 / plat::TwipsPerPixelX()));
        if (click.x() + gapX + list.frameGeometry().width() <= screen.width() && click.x() < screen.width() / 2) {
            EXPECT_NEAR(list.frameGeometry().left(), click.x() + gapX, 1);
        }
        EXPECT_TRUE(screen.contains(list.frameGeometry())) << "kept on the screen";
        testsupport::SaveWidgetPng(&list, QStringLiteral("list"));
        testsupport::SaveWidgetPng(&window, QStringLiteral("highlight"));
        list.cmdOK->click();
    };
    // The pick menu follows on the chosen figure.
    bool menuShown = false;
    window.PickMenuShown = [&](FigurePickMenuUi& menu) {
        menuShown = true;
        EXPECT_TRUE(menu.isVisible());
        EXPECT_EQ(menu.title(), QStringLiteral("選択編集(&S)"));
        EXPECT_TRUE(menu.mnuPickDraw->isVisible()) << "the drawing window is installed";
        EXPECT_TRUE(menu.mnuPickList->isEnabled());
        EXPECT_EQ(menu.mnuPickCopy->actions().size(), CurrentMapUnits()->Count() + 1);
        testsupport::SaveWidgetPng(&menu, QStringLiteral("pickmenu"));
        menu.mnuPickList->trigger();
        menu.close();
    };
    // The list command opens the figure list on the picked figure once the menu closed.
    bool listShown = false;
    testsupport::WhenModal<frmMapList>(
        [&](frmMapList& list) {
            listShown = true;
            ASSERT_TRUE(window.PickInfo);
            EXPECT_EQ(list.logic().MapUnit, window.PickInfo->MapUnit);
            EXPECT_EQ(list.logic().SelectTopRow(), window.PickInfo->FigureIndex);
            list.close();
        },
        {.ready = [](frmMapList& list) { return list.logic().MapUnit && list.logic().SelectTopRow() >= 1; }});
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_TRUE(waitFor([&] { return menuShown && listShown && window.PickInfo; }));
    EXPECT_TRUE(shown);
    EXPECT_GT(window.PickInfo->FigureIndex, 0);
    EXPECT_FALSE(window.logic().InitializingEi);
    EXPECT_EQ(plots_, 0) << "picking never replots";
}

TEST_F(MainWindow, DoubleClickWithNothingToPickGivesTheTwoLineMessageAndNoMenu) {
    frmMain window;
    startWindow(window);
    for (const MapUnitPtr& u : *CurrentMapUnits()) u->setSearchSwitch(false);
    bool shown = false;
    window.PickupShown = [&](frmPickup&) { shown = true; };
    window.PickMenuShown = [&](FigurePickMenuUi&) { shown = true; };
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("近くに図形が存在しないか、編集が許可されていない地図です.\r\n"
                                "編集が許可されていない場合は地図ファイルの[読取専用]を解除すれば編集できます."),
                 plat::IdOk);
    QTest::mouseClick(window.picView, Qt::LeftButton, Qt::NoModifier, {300, 200});
    QTest::mouseClick(window.picView, Qt::LeftButton, Qt::NoModifier, {300, 200});
    ASSERT_TRUE(waitFor([&] { return boxes.pending() == 0; }));
    QTest::qWait(50);
    EXPECT_FALSE(shown);
    EXPECT_FALSE(window.PickInfo);
}

// The item of a submenu as the drop-down of its menu leaves it.
QAction* subItem(QMenu* menu, const char* sub, const char* caption) {
    emit menu->aboutToShow();
    for (QAction* a : menu->actions())
        if (a->menu() && a->text() == QString::fromUtf8(sub)) {
            emit a->menu()->aboutToShow();
            for (QAction* i : a->menu()->actions())
                if (i->text() == QString::fromUtf8(caption)) return i;
        }
    ADD_FAILURE() << sub << " > " << caption;
    return nullptr;
}

TEST_F(MainWindow, EditAndViewMenusActOnTheEngineAndTheUnits) {
    frmMain window;
    startWindow(window);
    clsMapPlot& plot = *gvMapPlotLL;
    const MapUnitPtr world = gvMapUnitsLL->Active();
    ASSERT_TRUE(world->UnitName().contains(QStringLiteral("WORLD_T3")));

    // Pickup: checked while on, and the survey is off meanwhile.
    QAction* pickup = menuItem(window.mnuEdit, "ピックアップ(&P)");
    ASSERT_TRUE(pickup && pickup->isEnabled() && !pickup->isChecked());
    pickup->trigger();
    EXPECT_TRUE(window.viewControl().PickupEi);
    EXPECT_TRUE(menuItem(window.mnuEdit, "ピックアップ(&P)")->isChecked());
    EXPECT_FALSE(menuItem(window.mnuTool, "測量(&R)")->isEnabled());
    menuItem(window.mnuEdit, "ピックアップ(&P)")->trigger();
    EXPECT_FALSE(window.viewControl().PickupEi);

    // Search permissions: no redraw.
    int plots = plots_;
    const int16_t pick = plot.FigurePick;
    subItem(window.mnuEdit, "図形種別検索許可(&I)", "多辺形(&G)")->trigger();
    EXPECT_EQ(plot.FigurePick, pick ^ 4);
    emit window.mnuEdit->aboutToShow();
    QMenu* mapPick = nullptr;
    for (QAction* a : window.mnuEdit->actions())
        if (a->text() == QStringLiteral("地図別検索許可(&M)")) mapPick = a->menu();
    ASSERT_NE(mapPick, nullptr);
    ASSERT_EQ(mapPick->actions().size(), 2) << "base and world";
    EXPECT_TRUE(mapPick->actions()[1]->text().endsWith(QStringLiteral("(&B)")));
    const bool searched = world->SearchSwitch();
    mapPick->actions()[1]->trigger();
    EXPECT_EQ(world->SearchSwitch(), !searched);
    EXPECT_EQ(plots_, plots);

    // The trash: restore one, then undo it.
    const int32_t count = world->Map().Count();
    const MapFigurePtr last = world->Map().Item(count);
    ASSERT_TRUE(world->Map().Remove(count));
    world->Garbage().Add(last);
    world->Map().ResetUndo();
    ASSERT_TRUE(menuItem(window.mnuEdit, "ゴミ箱から１図形復活(&F)")->isEnabled());
    EXPECT_FALSE(menuItem(window.mnuEdit, "やり直し(&U)")->isEnabled());
    menuItem(window.mnuEdit, "ゴミ箱から１図形復活(&F)")->trigger();
    EXPECT_EQ(world->Map().Item(count), last);
    EXPECT_FALSE(menuItem(window.mnuEdit, "ゴミ箱から全図形復活(&O)")->isEnabled());
    ASSERT_TRUE(menuItem(window.mnuEdit, "やり直し(&U)")->isEnabled());
    menuItem(window.mnuEdit, "やり直し(&U)")->trigger();
    EXPECT_EQ(world->Map().Count(), count - 1);

    // View switches redraw and show their state at the next drop-down.
    plots = plots_;
    const bool edge = plot.EdgeEnable;
    menuItem(window.mnuView, "文字列・点記号縁取り許可(&O)")->trigger();
    EXPECT_EQ(plot.EdgeEnable, !edge);
    EXPECT_EQ(menuItem(window.mnuView, "文字列・点記号縁取り許可(&O)")->isChecked(), !edge);
    subItem(window.mnuView, "文字列・点記号拡大率(&Z)", "160%(&G)")->trigger();
    EXPECT_EQ(plot.PtnRatio(), 160);
    EXPECT_TRUE(subItem(window.mnuView, "文字列・点記号拡大率(&Z)", "160%(&G)")->isChecked());
    subItem(window.mnuView, "方位線(&R)", "８方位(&C)")->trigger();
    EXPECT_EQ(plot.AzimuthLine, BaseMapAzimuthText(8, QString()));
    EXPECT_TRUE(subItem(window.mnuView, "方位線(&R)", "８方位(&C)")->isChecked());
    subItem(window.mnuView, "図形種別表示許可(&I)", "文字列(&T)")->trigger();
    EXPECT_EQ(plot.FigureDisp & 16, 0);
    subItem(window.mnuView, "図形種別表示許可(&I)", "文字列(&T)")->trigger();
    EXPECT_EQ(plots_, plots + 5);

    // A unit hidden while automatic cruising runs: told once, cruising off.
    gvCruise->EiAuto = true;
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("〔オートクルーズ〕を解除します."), plat::IdOk);
        emit window.mnuView->aboutToShow();
        QMenu* mapDisp = nullptr;
        for (QAction* a : window.mnuView->actions())
            if (a->text() == QStringLiteral("地図別表示許可(&M)")) mapDisp = a->menu();
        ASSERT_NE(mapDisp, nullptr);
        ASSERT_EQ(mapDisp->actions().size(), 2);
        EXPECT_TRUE(mapDisp->actions()[1]->isChecked());
        mapDisp->actions()[1]->trigger();
    }
    EXPECT_FALSE(world->DisplaySwitch());
    EXPECT_FALSE(gvCruise->EiAuto);
    world->setDisplaySwitch(true);

    // The coordinate mode, back and forth; a running survey ends first.
    menuItem(window.mnuTool, "測量(&R)")->trigger();
    ASSERT_TRUE(window.viewControl().Survey().IsOn());
    subItem(window.mnuView, "座表モード(&U)", "ＸＹ座標(&X)")->trigger();
    EXPECT_EQ(gvMapMode, 2);
    EXPECT_FALSE(window.viewControl().Survey().IsOn());
    EXPECT_FALSE(menuItem(window.mnuView, "経緯線(&G)...")->isEnabled());
    EXPECT_FALSE(menuItem(window.mnuEdit, "方位線追加(&D)...")->isEnabled());
    subItem(window.mnuView, "座表モード(&U)", "経緯度座標(&L)")->trigger();
    EXPECT_EQ(gvMapMode, 1);
}

TEST_F(MainWindow, FileMenuMakesAUnitOverwritesAndPrints) {
    frmMain window;
    startWindow(window);
    // A new unit: named, active and saved at once.
    const QString path = folder_.map(QStringLiteral("NEWONE.MLL"));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expectSaveFile(QStringLiteral("新しい地図ファイル"), path);
        menuItem(window.mnuFile, "新規作成(&N)...")->trigger();
        ASSERT_EQ(boxes.fileRequests().size(), 1u);
        EXPECT_TRUE(boxes.fileRequests()[0].fileName.contains(QStringLiteral("UserMap")));
        EXPECT_TRUE(boxes.fileRequests()[0].fileName.endsWith(QStringLiteral(".MLL")));
    }
    EXPECT_EQ(gvMapUnitsLL->Active()->UnitName(), path);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_FALSE(menuItem(window.mnuFile, "上書き保存(&S)")->isEnabled());

    // Overwrite: the modified unit is saved and the reminder starts again.
    auto remark = std::make_shared<clsMapRem>();
    remark->setAdmin(0);
    ASSERT_TRUE(gvMapUnitsLL->Active()->Map().Add(remark));
    window.viewControl().Reminder().SaveMinuteCount = 3;
    ASSERT_TRUE(menuItem(window.mnuFile, "上書き保存(&S)")->isEnabled());
    menuItem(window.mnuFile, "上書き保存(&S)")->trigger();
    EXPECT_FALSE(gvMapUnitsLL->Modify());
    EXPECT_EQ(window.viewControl().Reminder().SaveMinuteCount, 0);
    EXPECT_FALSE(window.windowTitle().contains(QStringLiteral("更新")));

    // The snapshot items: the fourth names the last snapshot, the new unit's.
    QAction* fourth = menuItem(window.mnuFile, "(&4) NEWONE.PLG");
    ASSERT_NE(fourth, nullptr);
    EXPECT_TRUE(fourth->isEnabled());
    EXPECT_FALSE(menuItem(window.mnuFile, "(&3) PRINT.PLG")->isEnabled());

    // Print: on when the system has a printer; to a PDF file here, twice
    // through one printer (it keeps the user's choices).
    EXPECT_EQ(menuItem(window.mnuFile, "印刷(&P)...")->isEnabled(), QtPrinterPort::AnyPrinter());
    window.PrinterFound = true;
    const QString pdf = folder_.file(QStringLiteral("menu.pdf"));
    int made = 0;
    window.MakePrinter = [&] {
        ++made;
        return std::make_unique<QtPrinterPort>(&window, [&](QPrinter& p, int16_t& copies) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            p.setResolution(150);
            p.setPageSize(QPageSize(QPageSize::A3));
            p.setPageOrientation(QPageLayout::Landscape);
            copies = 1;
            return true;
        });
    };
    for (int print = 1; print <= 2; ++print) {
        SCOPED_TRACE(print);
        QFile::remove(pdf);
        menuItem(window.mnuFile, "印刷(&P)...")->trigger();
        EXPECT_GT(QFileInfo(pdf).size(), 1000);
        EXPECT_EQ(window.stbPanels[0]->text(), QStringLiteral("プリンタへの出力を完了しました."));
    }
    EXPECT_EQ(made, 1);
    EXPECT_TRUE(menuItem(window.mnuFile, "(&3) PRINT.PLG")->isEnabled());
}

TEST_F(MainWindow, CruiseDownloadQuestionOnceARunAndHelpPages) {
    frmMain window;
    startWindow(window);
    ASSERT_LT(gvCruise->GetStdMapCount(), 2) << "only the maps that come with the program";
    for (const bool first : {true, false}) {
        SCOPED_TRACE(first);
        testsupport::ScriptedBoxes boxes;
        if (first) boxes.expect(QStringLiteral("作者Webサイトから地図ファイルをダウンロードしますか？"), plat::IdNo);
        whenModal<frmCruise05>([](frmCruise05& d) { d.cmdCancel->click(); });
        menuItem(window.mnuFile, "クルーズ設定(&T)...")->trigger();
    }

    // The pages show in the program's own help window.
    menuItem(window.mnuHelp, "目次(&C)...")->trigger();
    ASSERT_NE(plat::HelpWindow::Current(), nullptr);
    EXPECT_EQ(QFileInfo(plat::HelpWindow::Current()->Page()).fileName(), QStringLiteral("index.html"));
    menuItem(window.mnuHelp, "メインウィンドウ(&H)")->trigger();
    EXPECT_EQ(QFileInfo(plat::HelpWindow::Current()->Page()).fileName(), QStringLiteral("index.html"))
        << "topic 200001 has no page here: the contents";
    plat::CloseAllHelp();
}

TEST_F(MainWindow, TheThingEditorOpensOnTheActiveUnitAndNoToItsWarningRedrawsNothing) {
    frmMain window;
    startWindow(window);
    QAction* edit = menuItem(window.mnuEdit, "事象編集(&J)...");
    ASSERT_TRUE(edit && edit->isEnabled());
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("実行しますか？"), plat::IdNo);
    const int plots = plots_;
    const int32_t things = gvMapUnitsLL->Active()->Things().Count();
    edit->trigger();   // modal: returns once the answer has closed it
    EXPECT_EQ(plots_, plots);
    EXPECT_EQ(gvMapUnitsLL->Active()->Things().Count(), things);
}

} // namespace
