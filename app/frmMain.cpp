#include "frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QAbstractSlider>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include <climits>
#include <cstdlib>

#include "AppInfo.h"
#include "Bitmap.h"
#include "RasterDC.h"
#include "CanvasPictures.h"
#include "DoEvents.h"
#include "ErrorMng.h"
#include "MainPlotRoutines.h"
#include "MessageBox.h"
#include "ProgramHooks.h"
#include "PublicVal.h"
#include "Screen.h"
#include "SysColors.h"
#include "basGlobe.h"
#include "basHMapEdit.h"
#include "basHMapView.h"
#include "basLibrary.h"
#include "clsCanvas.h"
#include "clsCruise05.h"
#include "clsEnvironment.h"
#include "clsMap.h"
#include "clsMapPlot.h"
#include "frmAbout.h"
#include "frmCruise05.h"
#include "frmJump05.h"
#include "frmMapList.h"

namespace {

// The smallest window, twips.
constexpr int kMinWidthTwips = 6525;
constexpr int kMinHeightTwips = 4500;

int pixelsX(double twips) { return static_cast<int>(twips / plat::TwipsPerPixelX()); }
int pixelsY(double twips) { return static_cast<int>(twips / plat::TwipsPerPixelY()); }

int shiftOf(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

int buttonOf(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

// The key codes the window's key handler knows.
int keyCodeOf(const QKeyEvent* e) {
    const bool keypad = e->modifiers() & Qt::KeypadModifier;
    switch (e->key()) {
    case Qt::Key_Escape: return 27;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Plus: return keypad ? 107 : 0;
    case Qt::Key_Minus: return keypad ? 109 : 0;
    default: return 0;
    }
}

// The pointer readout: what the view does with the mouse until the full
// mouse handling is attached.
class PointerReadout : public MapViewInput {
public:
    explicit PointerReadout(MainWindowLogic& logic) : logic_(logic) {}
    void MouseMove(int, int, int x, int y) override {
        if (!gvCanvas || !CurrentMapPlot()) return;
        int32_t mx = 0, my = 0;
        const bool valid = PosViewToMap(x, y, mx, my);
        logic_.ShowCursorPos(valid, mx, my);
    }

private:
    MainWindowLogic& logic_;
};

int32_t measureColor(int32_t fallback) {
    if (!gvEnvironment) return fallback;
    return static_cast<int32_t>(gvEnvironment->GetVal(QStringLiteral("MeasureColor"), fallback, INT32_MIN, INT32_MAX));
}

} // namespace

// The map view: shows the view picture, the canvas's visible part.
class MapViewWidget : public QWidget {
public:
    MapViewWidget(QWidget* parent, std::function<MapViewInput&()> input) : QWidget(parent), input_(std::move(input)) {
        setFocusPolicy(Qt::StrongFocus);
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setCursor(Qt::CrossCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const plat::HBITMAP image = gvViewPicture ? gvViewPicture->Image() : nullptr;
        if (image)
            p.drawImage(0, 0, image->image());
        else
            p.fillRect(rect(), Qt::white);
    }
    void mousePressEvent(QMouseEvent* e) override {
        input_().MouseDown(buttonOf(e->button()), shiftOf(e->modifiers()), qRound(e->position().x()),
                           qRound(e->position().y()));
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        input_().MouseMove(buttonOf(e->button()), shiftOf(e->modifiers()), qRound(e->position().x()),
                           qRound(e->position().y()));
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        input_().MouseUp(buttonOf(e->button()), shiftOf(e->modifiers()), qRound(e->position().x()),
                         qRound(e->position().y()));
    }
    void wheelEvent(QWheelEvent* e) override {
        input_().Wheel(e->angleDelta().y(), shiftOf(e->modifiers()), qRound(e->position().x()),
                       qRound(e->position().y()));
    }

private:
    std::function<MapViewInput&()> input_;
};

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent), logic_(*this), input_(std::make_shared<PointerReadout>(logic_)) {
    setWindowTitle(plat::AppTitle());
    setMinimumSize(pixelsX(kMinWidthTwips), pixelsY(kMinHeightTwips));
    buildControls();
    buildMenus();
    logic_.InputSaveName = [](const QString& filter, const QString& proposal) {
        plat::FileRequest req;
        req.save = true;
        req.filter = filter;
        req.fileName = proposal;
        req.title = QStringLiteral("ファイルを保存する");
        return plat::ChooseFile(req);
    };
    SetWindupHook([this] { logic_.WindupError(); });
}

frmMain::~frmMain() { SetWindupHook({}); }

void frmMain::setMapViewInput(std::shared_ptr<MapViewInput> input) {
    input_ = input ? std::move(input) : std::make_shared<PointerReadout>(logic_);
}

void frmMain::guarded(const char* handler, const std::function<void()>& fn) {
    try {
        fn();
    } catch (...) {
        AppError e = plat::CurrentError();
        AppendErrorSource(e, ErrFormUnload, QStringLiteral("frmMain"), QString::fromLatin1(handler), QString());
        StopOnFatalError(e, QStringLiteral("by StopError"));
    }
}

// ---------------------------------------------------------------- building

void frmMain::buildControls() {
    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);

    // The top bar: the scale bar, the view-area box and the scale slider.
    auto* top = new QWidget(central);
    auto* row = new QHBoxLayout(top);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(4);
    picMeasure = new QWidget(top);
    picMeasure->setMinimumHeight(24);
    picMeasure->installEventFilter(this);
    picViewArea = new QWidget(top);
    picViewArea->setFixedSize(36, 24);
    picViewArea->installEventFilter(this);
    picScaleSmall = new QToolButton(top);
    picScaleSmall->setText(QStringLiteral("－"));
    picScaleSmall->setToolTip(QStringLiteral("縮小"));
    picScaleSmall->setFocusPolicy(Qt::NoFocus);
    sliScale = new QSlider(Qt::Horizontal, top);
    sliScale->setRange(1, 53);
    sliScale->setFixedWidth(160);
    sliScale->setFocusPolicy(Qt::NoFocus);
    picScaleLarge = new QToolButton(top);
    picScaleLarge->setText(QStringLiteral("＋"));
    picScaleLarge->setToolTip(QStringLiteral("拡大"));
    picScaleLarge->setFocusPolicy(Qt::NoFocus);
    row->addWidget(picMeasure, 1);
    row->addWidget(picViewArea);
    row->addWidget(picScaleSmall);
    row->addWidget(sliScale);
    row->addWidget(picScaleLarge);
    grid->addWidget(top, 0, 0, 1, 2);

    viewBox_ = new QWidget(central);
    viewBox_->setAutoFillBackground(true);
    viewBox_->installEventFilter(this);
    picView = new MapViewWidget(viewBox_, [this]() -> MapViewInput& { return *input_; });
    vsbView = new QScrollBar(Qt::Vertical, central);
    hsbView = new QScrollBar(Qt::Horizontal, central);
    vsbView->setFocusPolicy(Qt::NoFocus);
    hsbView->setFocusPolicy(Qt::NoFocus);
    grid->addWidget(viewBox_, 1, 0);
    grid->addWidget(vsbView, 1, 1);
    grid->addWidget(hsbView, 2, 0);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(0, 1);
    setCentralWidget(central);

    for (size_t i = 0; i < stbPanels.size(); ++i) {
        stbPanels[i] = new QLabel(this);
        stbPanels[i]->setMinimumWidth(i == 0 ? 200 : 120);
        statusBar()->addWidget(stbPanels[i], i == 0 ? 1 : 0);
    }
    stbPanels[2]->setToolTip(QStringLiteral("キャンバス中心座標"));

    // A drag shows the centre or scale as it goes and redraws on release.
    for (QAbstractSlider* bar : std::initializer_list<QAbstractSlider*>{hsbView, vsbView, sliScale}) bar->setTracking(false);
    connect(hsbView, &QScrollBar::sliderMoved, this,
            [this](int v) { guarded("hsbView_Scroll", [&] { logic_.HorizontalScrolled(v); }); });
    connect(vsbView, &QScrollBar::sliderMoved, this,
            [this](int v) { guarded("vsbView_Scroll", [&] { logic_.VerticalScrolled(-v); }); });
    connect(sliScale, &QSlider::sliderMoved, this, [this](int v) {
        guarded("sliScale_Scroll", [&] {
            sliScale->setToolTip(QStringLiteral("1/") + ScaleLevelText(static_cast<int16_t>(v)));
            logic_.ScaleScrolled(v);
        });
    });
    connect(hsbView, &QScrollBar::valueChanged, this,
            [this](int v) { guarded("hsbView_Change", [&] { logic_.HorizontalChanged(v); }); });
    connect(vsbView, &QScrollBar::valueChanged, this,
            [this](int v) { guarded("vsbView_Change", [&] { logic_.VerticalChanged(-v); }); });
    connect(sliScale, &QSlider::valueChanged, this, [this](int v) {
        guarded("sliScale_Change", [&] {
            sliScale->setToolTip(QStringLiteral("1/") + ScaleLevelText(static_cast<int16_t>(v)));
            logic_.ScaleChanged(v);
        });
    });
    connect(picScaleSmall, &QToolButton::clicked, this, [this] { guarded("picScaleSmall_Click", [&] { logic_.ZoomStep(-1); }); });
    connect(picScaleLarge, &QToolButton::clicked, this, [this] { guarded("picScaleLarge_Click", [&] { logic_.ZoomStep(1); }); });
}

void frmMain::buildMenus() {
    auto item = [](QMenu* menu, const char* caption, std::function<void()> action = {}) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        if (action)
            QObject::connect(a, &QAction::triggered, menu, std::move(action));
        else
            a->setEnabled(false);   // its command comes with the menus
        return a;
    };
    auto wired = [this](const char* handler, std::function<void()> fn) {
        return [this, handler, fn = std::move(fn)] { guarded(handler, fn); };
    };

    mnuFile = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    item(mnuFile, "新規作成(&N)...");
    item(mnuFile, "開く(&O)...");
    item(mnuFile, "上書き保存(&S)");
    item(mnuFile, "名前を付けて保存(&A)...");
    item(mnuFile, "地図ユニットリスト(&L)...");
    QAction* cruiseSet = item(mnuFile, "クルーズ設定(&T)...", wired("mnuCruiseSet_Click", [this] { mnuCruiseSet(); }));
    item(mnuFile, "クルーズ実行(&W)");
    mnuFile->addSeparator();
    item(mnuFile, "地図画像コピー(&C)");
    item(mnuFile, "印刷(&P)...");
    mnuFile->addSeparator();
    item(mnuFile, "画像サイズ(&Z)...");
    QAction* mapInfo = item(mnuFile, "地図情報(&I)...", wired("mnuMapInfo_Click", [this] { mnuMapInfo(this); }));
    mnuFile->addSeparator();
    QAction* quit = mnuFile->addAction(plat::AppTitle() + QStringLiteral("の終了(&X)"));
    connect(quit, &QAction::triggered, this, &QWidget::close);
    mnuFile->addSeparator();
    for (const char* log : {"(&1) LAST.LOG", "(&2) CLIP.LOG", "(&3) PRINT.LOG", "(&4) "}) item(mnuFile, log);
    connect(mnuFile, &QMenu::aboutToShow, this, [this, cruiseSet, mapInfo] {
        cruiseSet->setEnabled(gvMapMode == 1);
        const clsMap* map = ActiveMap();
        mapInfo->setEnabled(map && map->Count() > 0);
    });

    mnuEdit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    item(mnuEdit, "やり直し(&U)");
    mnuEdit->addSeparator();
    item(mnuEdit, "ゴミ箱から１図形復活(&F)");
    item(mnuEdit, "ゴミ箱から全図形復活(&O)");
    mnuEdit->addSeparator();
    item(mnuEdit, "ピックアップ(&P)");
    item(mnuEdit, "ポイント強調許可(&E)");
    mnuEdit->addSeparator();
    QMenu* add = mnuEdit->addMenu(QStringLiteral("地図図形追加(&A)"));
    const char* kinds[] = {"注釈(&R)", "連続線(&L)", "多辺形(&G)", "点記号(&S)", "文字列(&T)"};
    for (int k = 1; k <= 5; ++k)
        item(add, kinds[k - 1], wired("mnuAddItem_Click", [this, k] { mnuAddItem(k); }));
    item(mnuEdit, "方位線追加(&D)...");
    mnuEdit->addSeparator();
    mnuEdit->addMenu(QStringLiteral("図形種別検索許可(&I)"))->setEnabled(false);
    mnuEdit->addMenu(QStringLiteral("地図別検索許可(&M)"))->setEnabled(false);
    mnuEdit->addSeparator();
    item(mnuEdit, "固有表示スイッチ全解除(&D)");
    item(mnuEdit, "固有色全解除(&C)");
    mnuEdit->addSeparator();
    item(mnuEdit, "事象編集(&J)...");
    item(mnuEdit, "地図図形リスト(&T)...", wired("mnuMapList_Click", [this] { mnuMapList(); }));
    connect(mnuEdit, &QMenu::aboutToShow, this, [add] {
        const clsMap* map = ActiveMap();
        add->setEnabled(map && !map->LockMode());
    });

    mnuView = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    item(mnuView, "ホームポジション(&N)");
    QAction* jump = item(mnuView, "地名ジャンプ(&J)...", wired("mnuJump_Click", [this] { mnuJump(); }));
    item(mnuView, "直接投影変換(&D)...");
    mnuView->addSeparator();
    item(mnuView, "経緯線(&G)...");
    item(mnuView, "アクセサリ(&A)...");
    item(mnuView, "地図記号・凡例(&K)...");
    mnuView->addSeparator();
    for (const char* sub : {"言語モード(&L)", "座表モード(&U)", "ビューエリア(&W)", "図形種別表示許可(&I)",
                            "地図別表示許可(&M)", "方位線(&R)", "文字列・点記号拡大率(&Z)"})
        mnuView->addMenu(QString::fromUtf8(sub))->setEnabled(false);
    mnuView->addSeparator();
    for (const char* sw : {"文字列・点記号縁取り許可(&O)", "文字列傾斜許可(&S)", "行政区別表示許可(&Y)",
                           "事象別表示許可(&T)", "固有表示許可(&H)", "固有色許可(&P)"})
        item(mnuView, sw);
    connect(mnuView, &QMenu::aboutToShow, this, [jump] {
        const clsMap* map = ActiveMap();
        jump->setEnabled(map && map->Count() > 0);
    });

    mnuProject = menuBar()->addMenu(QStringLiteral("主投影変換(&M)"));
    item(mnuProject, "主投影変換ウィザード(&P)...");

    mnuTool = menuBar()->addMenu(QStringLiteral("ツール(&T)"));
    item(mnuTool, "環境設定(&E)...");
    item(mnuTool, "測量(&R)");
    item(mnuTool, "フレームカット(&F)");

    mnuHelp = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    item(mnuHelp, "目次(&C)...");
    item(mnuHelp, "キーワード(&K)");
    item(mnuHelp, "メインウィンドウ(&H)");
    mnuHelp->addSeparator();
    mnuHelp->addMenu(QStringLiteral("作者WEBサイト(&W)"))->setEnabled(false);
    item(mnuHelp, "バージョン情報(&A)...", wired("mnuAbout_Click", [this] {
             frmAbout about(this);
             about.Remembered().presetIfFirst(int(x() * plat::TwipsPerPixelX()), int(y() * plat::TwipsPerPixelY()),
                                              3600, 600);
             about.exec();
         }));
}

// ---------------------------------------------------------------- start-up

bool frmMain::Start(const QStringList& arguments) {
    InstallProgramHooks(this);
    frmAbout* splash = frmAbout::ShowSplash();
    plat::DoEvents();
    auto closeSplash = [&splash] { delete std::exchange(splash, nullptr); };
    const bool started = logic_.Load(closeSplash);
    closeSplash();
    if (!started) return false;
    show();
    guarded("Form_Load", [&] {
        logic_.OfferNewStdMaps();
        logic_.OpenFirstFile(arguments);
        statusBar()->setFont(QFont(gvDefaultFont));
    });
    return true;
}

// ---------------------------------------------------------------- MainView

void frmMain::Refresh(const MainViewState& s) {
    setWindowTitle(s.Caption.isEmpty() ? plat::AppTitle() : s.Caption);
    for (size_t i = 0; i < stbPanels.size(); ++i) stbPanels[i]->setText(s.Panels[i]);
    const QSignalBlocker bh(hsbView), bv(vsbView), bs(sliScale);
    hsbView->setRange(s.Horizontal.Min, s.Horizontal.Max);
    hsbView->setValue(s.Horizontal.Value);
    hsbView->setSingleStep(s.Horizontal.SmallChange);
    hsbView->setPageStep(s.Horizontal.LargeChange);
    // Qt's vertical bar grows downwards; north (the larger value) is on top.
    vsbView->setRange(-s.Vertical.Min, -s.Vertical.Max);
    vsbView->setValue(-s.Vertical.Value);
    vsbView->setSingleStep(s.Vertical.SmallChange);
    vsbView->setPageStep(s.Vertical.LargeChange);
    sliScale->setValue(s.ScaleLevel);
    const bool on = !s.Locked;
    for (QWidget* w : std::initializer_list<QWidget*>{sliScale, picScaleSmall, picScaleLarge, hsbView, vsbView})
        w->setEnabled(on);
    for (QMenu* m : {mnuFile, mnuEdit, mnuView, mnuProject, mnuTool, mnuHelp})
        if (m) m->menuAction()->setEnabled(on);
    statusBar()->repaint();
}

void frmMain::RepaintView() {
    if (gvCanvas && !logic_.InitializingEi) gvCanvas->Paint();
    picView->repaint();
}

void frmMain::RedrawTopBar() {
    picMeasure->update();
    picViewArea->setVisible(gvCanvas && gvCanvas->IsAreaMode());
    picViewArea->update();
}

void frmMain::CaptionMetrics(double& widthTwips, double& charTwips) const {
    widthTwips = width() * plat::TwipsPerPixelX();
    // Ten pixels a character: the average character width in twips would
    // leave no room for any path in a window of ordinary size.
    charTwips = plat::TwipsPerPixelX();
}

void frmMain::ResizeFormByView() {
    if (!gvCanvas) return;
    const QSize frame = size() - viewBox_->size();
    QSize wanted(frame.width() + gvCanvas->ViewWidth(), frame.height() + gvCanvas->ViewHeight());
    wanted = wanted.expandedTo(minimumSize());
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 1920, 1080);
    wanted = wanted.boundedTo(screen.size());
    const int left = std::clamp(x(), screen.left(), std::max(screen.left(), screen.right() - wanted.width()));
    const int top = std::clamp(y(), screen.top(), std::max(screen.top(), screen.bottom() - wanted.height()));
    if (wanted != size() && isMaximized()) showNormal();
    setGeometry(left, top, wanted.width(), wanted.height());
    gvViewPicture->setFrame(size() - viewBox_->size());
}

void frmMain::DoEvents() { plat::DoEvents(); }

// ---------------------------------------------------------------- layout

void frmMain::scheduleLayout() {
    if (layoutPending_) return;
    layoutPending_ = true;
    QTimer::singleShot(0, this, [this] { layoutView(); });
}

void frmMain::layoutView() {
    layoutPending_ = false;
    if (!gvCanvas || !gvViewPicture || closing_ || isMinimized()) return;
    // The canvas must not change under a running plot.
    if (logic_.PlottingEi) {
        layoutPending_ = true;
        QTimer::singleShot(50, this, [this] { layoutView(); });
        return;
    }
    guarded("Form_Resize", [&] {
        const QSize room = viewBox_->size();
        gvViewPicture->setFrame(size() - room);
        gvViewPicture->setScreenSize(screen() ? screen()->size() : QSize(1920, 1080));
        if (gvCanvas->Synchro()) {
            gvCanvas->setViewWidth(room.width());
            gvCanvas->setViewHeight(room.height());
        }
        const int w = std::clamp(gvCanvas->CanvasWidth(), 1, std::max(1, room.width()));
        const int h = std::clamp(gvCanvas->CanvasHeight(), 1, std::max(1, room.height()));
        if (!gvCanvas->Synchro()) {
            gvCanvas->setViewWidth(w);
            gvCanvas->setViewHeight(h);
        }
        picView->setGeometry(0, 0, w, h);
        logic_.PlotWindow();
    });
}

bool frmMain::eventFilter(QObject* o, QEvent* e) {
    if (o == viewBox_ && e->type() == QEvent::Resize) {
        if (!logic_.InitializingEi || gvCanvas) scheduleLayout();
    } else if (o == picMeasure && e->type() == QEvent::Paint) {
        QPainter p(picMeasure);
        paintMeasure(p);
        return true;
    } else if (o == picViewArea && e->type() == QEvent::Paint) {
        QPainter p(picViewArea);
        paintViewArea(p);
        return true;
    } else if (o == picViewArea && e->type() == QEvent::MouseButtonRelease) {
        const auto* m = static_cast<QMouseEvent*>(e);
        viewAreaClicked(qRound(m->position().x()), qRound(m->position().y()));
        return true;
    }
    return QMainWindow::eventFilter(o, e);
}

void frmMain::paintMeasure(QPainter& p) {
    p.fillRect(picMeasure->rect(), palette().window());
    if (!CurrentMapPlot() || logic_.InitializingEi) return;
    const int w = picMeasure->width(), h = picMeasure->height();
    plat::HBITMAP bitmap = plat::Bitmap::Create(w, h, 32);
    bitmap->image().fill(palette().window().color());
    plat::RasterDC dc(bitmap, 96);
    guarded("picMeasure_Paint", [&] {
        plat::FontRef font = plat::MakeFont();
        PlotMeasure(&dc, w, h, font, measureColor(0x000000));
    });
    p.drawImage(0, 0, dc.image());
}

void frmMain::paintViewArea(QPainter& p) {
    if (!gvCanvas) return;
    const int cw = (picViewArea->width() + 1) / 3, ch = (picViewArea->height() + 1) / 3;
    const int32_t rgb = measureColor(0x000000);
    const QColor current(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
    for (int i = 1; i <= 9; ++i) {
        const QRect cell(((i - 1) % 3) * cw, ((i - 1) / 3) * ch, cw - 2, ch - 2);
        p.fillRect(cell, i == gvCanvas->ViewArea() ? current : palette().color(QPalette::Dark));
    }
}

void frmMain::viewAreaClicked(int x, int y) {
    guarded("picViewArea_MouseUp", [&] {
        const int cw = (picViewArea->width() + 1) / 3, ch = (picViewArea->height() + 1) / 3;
        if (!gvCanvas || cw <= 0 || ch <= 0) return;
        gvCanvas->setViewArea(std::clamp(x / cw, 0, 2) + 3 * std::clamp(y / ch, 0, 2) + 1);
        logic_.PlotWindow();
    });
}

// ---------------------------------------------------------------- keys and close

void frmMain::keyPressEvent(QKeyEvent* e) {
    const int code = keyCodeOf(e);
    bool taken = false;
    if (code) guarded("Form_KeyDown", [&] { taken = logic_.KeyDown(code); });
    if (!taken) QMainWindow::keyPressEvent(e);
}

void frmMain::closeEvent(QCloseEvent* e) {
    if (closing_) return;
    // A plot draws on the state the close would release: it is stopped and
    // the close waits for the next request.
    if (logic_.PlottingEi || !gvMapUnitsLL) {
        if (CurrentMapPlot()) CurrentMapPlot()->Cancel = true;
        e->ignore();
        return;
    }
    bool go = false;
    guarded("Form_QueryUnload", [&] { go = logic_.QueryUnload(); });
    if (!go) {
        e->ignore();
        return;
    }
    closing_ = true;
    e->accept();
    bool stayed = false;
    guarded("Form_Unload", [&] { stayed = logic_.Unload(); });
    // A very large unit set is not freed: the process ends at once.
    if (stayed) std::_Exit(0);
    QApplication::quit();
}

// ---------------------------------------------------------------- menu commands

void frmMain::mnuCruiseSet() {
    static plat::DialogPosition remembered;
    remembered.presetIfFirst(int(x() * plat::TwipsPerPixelX()), int(y() * plat::TwipsPerPixelY()), 600, 600);
    frmCruise05 dialog(this, &remembered);
    frmCruise05Logic& l = dialog.logic();
    l.CruiseEngine = gvCruise;
    l.TargetUnits = gvMapUnitsLL;
    l.TargetPlot = [] { return CruiseView{gvMapPlotLL->MapScale(), gvMapPlotLL->Field()}; };
    const int32_t code = dialog.showCruise();
    l.CruiseEngine = nullptr;
    l.TargetUnits = nullptr;
    l.TargetPlot = {};
    if (code == 2 || gvCruise->EiAuto) logic_.PlotWindow();
}

void frmMain::mnuJump() {
    frmJump05 dialog(this);
    frmJump05Logic& l = dialog.logic();
    l.TargetUnits = CurrentMapUnits();
    const bool ok = dialog.showJump();
    l.TargetUnits = nullptr;
    if (!ok) return;
    if (l.JumpMapMode != gvMapMode) {
        gvMapMode = l.JumpMapMode;
        logic_.SetScrollRange();
    }
    clsMapPlot* plot = CurrentMapPlot();
    plot->setCenterX(l.JumpX);
    plot->setCenterY(l.JumpY);
    double s = plot->MapScale();
    if (s < l.JumpScaleL) s = l.JumpScaleL;
    if (s > l.JumpScaleS) s = l.JumpScaleS;
    plot->setMapScale(s);
    if (gvCruise->EiAuto) {
        plat::MsgBox(QStringLiteral("〔オートクルーズ〕を解除します."), plat::MbInformation);
        gvCruise->EiAuto = false;
    }
    logic_.SetViewControllByEngine();
    logic_.PlotWindow();
}

void frmMain::mnuMapList() {
    frmMapList dialog(this);
    frmMapListLogic& l = dialog.logic();
    l.MapUnits = CurrentMapUnits();
    l.StartUnit = 0;
    l.StartRow = 0;
    dialog.showList();
    l.MapUnits = nullptr;
    if (l.MoveView) {
        CurrentMapPlot()->setCenterX(l.MoveX);
        CurrentMapPlot()->setCenterY(l.MoveY);
        logic_.SetViewControllByEngine();
    }
    logic_.PlotWindow();
}

void frmMain::mnuAddItem(int kind) {
    MapUnitPtr unit = ActiveMapUnit();
    clsMapPlot* plot = CurrentMapPlot();
    if (!unit || !plot || !ConfirmAddFigure(*unit)) return;
    HMapEditState& edit = HMapEdit();
    edit.EditMapUnit = unit;
    edit.EditActiveNode = 0;
    edit.EditDialogLeft = int(x() * plat::TwipsPerPixelX()) + 600;
    edit.EditDialogTop = int(y() * plat::TwipsPerPixelY()) + 600;
    edit.EditPointX = plot->CenterX();
    edit.EditPointY = plot->CenterY();
    const std::optional<FigureList> figures = CreateMapFigure(kind);
    edit.EditMapUnit = nullptr;
    if (!figures) return;
    CurrentMapUnits()->ResetUndo();
    for (const MapFigurePtr& f : *figures) unit->Map().Add(f);
    logic_.PlotWindow();
}
