#include "frmMain.h"
#include "frmMainMenus.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QAbstractSlider>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include <climits>
#include <cmath>
#include <cstdlib>

#include "AppInfo.h"
#include "Bitmap.h"
#include "RasterDC.h"
#include "CanvasPictures.h"
#include "DialogBase.h"
#include "DoEvents.h"
#include "ErrorMng.h"
#include "FigurePickMenuUi.h"
#include "FileOpenSave.h"
#include "MainPlotRoutines.h"
#include "MainPrint.h"
#include "MapListHost.h"
#include "MapPopupMenu.h"
#include "MapSymbolHost.h"
#include "MapViewControl.h"
#include "MessageBox.h"
#include "ProgramHooks.h"
#include "PublicVal.h"
#include "Screen.h"
#include "SettingsDialogs.h"
#include "SettingsDialogsGlue.h"
#include "SysColors.h"
#include "ViewOverlay.h"
#include "WindowPlacement.h"
#include "basGlobe.h"
#include "basHMapEdit.h"
#include "frmAdminSelect.h"
#include "frmDraw.h"
#include "frmThingSelect.h"
#include "basHMapView.h"
#include "basLibrary.h"
#include "clsCanvas.h"
#include "clsCruise05.h"
#include "clsEnvironment.h"
#include "clsMap.h"
#include "clsMapPlot.h"
#include "clsMapUnit.h"
#include "clsMapUnits.h"
#include "clsProjector.h"
#include "frmAbout.h"
#include "frmCruise05.h"
#include "frmDirectProjectionLogic.h"
#include "frmImageSize.h"
#include "frmJump05.h"
#include "frmMapList.h"
#include "frmPickup.h"
#include "frmMapSymbol.h"
#include "frmMapUnitList.h"
#include "frmPrjWizard.h"

namespace {

// The scale bar of the top bar is drawn, and its box sized, in this font.
plat::FontRef measureFont() { return plat::MakeFont(); }

// The smallest window, twips.
constexpr int kMinWidthTwips = 6525;
constexpr int kMinHeightTwips = 4500;

int pixelsX(double twips) { return static_cast<int>(twips / plat::TwipsPerPixelX()); }
int pixelsY(double twips) { return static_cast<int>(twips / plat::TwipsPerPixelY()); }

int16_t buttonOf(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton: return MapViewControl::LeftButton;
    case Qt::RightButton: return MapViewControl::RightButton;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int16_t buttonsOf(Qt::MouseButtons b) {
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) | (b & Qt::MiddleButton ? 4 : 0);
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

int32_t measureColor(int32_t fallback) {
    if (!gvEnvironment) return fallback;
    return static_cast<int32_t>(gvEnvironment->GetVal(QStringLiteral("MeasureColor"), fallback, INT32_MIN, INT32_MAX));
}

} // namespace

// The map view: shows the view picture, the canvas's visible part, with the
// overlay's marks over it, shifted while a drag pans.
class MapViewWidget : public QWidget {
public:
    explicit MapViewWidget(QWidget* parent, frmMain& owner) : QWidget(parent), owner_(owner) {
        setFocusPolicy(Qt::StrongFocus);
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAcceptDrops(true);
        setCursor(Qt::CrossCursor);
    }
    void setPan(QPoint pan) {
        if (pan == pan_) return;
        pan_ = pan;
        update();
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        QPainter p(this);
        const plat::HBITMAP image = gvViewPicture ? gvViewPicture->Image() : nullptr;
        if (!image) {
            p.fillRect(rect(), Qt::white);
            return;
        }
        const QImage& picture = image->image();
        const QRegion bare = e->region() - QRect(pan_, picture.size());
        for (const QRect& r : bare) p.fillRect(r, Qt::white);
        owner_.overlay().Paint(p, picture, e->region(), pan_);
    }
    void mousePressEvent(QMouseEvent* e) override {
        const int16_t button = buttonOf(e->button());
        const QPoint at = e->position().toPoint();
        owner_.viewEvent("picView_MouseDown", [&] { owner_.viewControl().picView_MouseDown(button, at.x(), at.y()); });
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        const int16_t buttons = buttonsOf(e->buttons());
        const QPoint at = e->position().toPoint();
        owner_.viewEvent("picView_MouseMove", [&] { owner_.viewControl().picView_MouseMove(buttons, at.x(), at.y()); });
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        const int16_t button = buttonOf(e->button());
        const QPoint at = e->position().toPoint();
        owner_.viewEvent("picView_MouseUp", [&] { owner_.viewControl().picView_MouseUp(button, at.x(), at.y()); });
    }
    void wheelEvent(QWheelEvent* e) override {
        const int delta = e->angleDelta().y();
        if (delta != 0) owner_.viewEvent("MouseWheel", [&] { owner_.viewControl().MouseWheel(delta); });
    }
    void dragEnterEvent(QDragEnterEvent* e) override {
        if (!localFiles(e->mimeData()).isEmpty()) e->acceptProposedAction();
    }
    void dragMoveEvent(QDragMoveEvent* e) override {
        if (!localFiles(e->mimeData()).isEmpty()) e->acceptProposedAction();
    }
    void dropEvent(QDropEvent* e) override {
        const QStringList files = localFiles(e->mimeData());
        if (files.isEmpty()) return;
        e->acceptProposedAction();
        // Opened after the drop has ended: a file's messages must not hold
        // the program the files came from.
        QTimer::singleShot(0, &owner_, [owner = &owner_, files] {
            owner->logic().RunCommand([owner, files] {
                owner->viewEvent("picView_OLEDragDrop", [&] { owner->viewControl().picView_OLEDragDrop(files); });
            });
        });
    }

private:
    static QStringList localFiles(const QMimeData* data) {
        QStringList files;
        if (data)
            for (const QUrl& url : data->urls())
                if (url.isLocalFile()) files << url.toLocalFile();
        return files;
    }

    frmMain& owner_;
    QPoint pan_;
};

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent), logic_(*this), overlay_(std::make_unique<plat::ViewOverlay>(1, 1)) {
    control_ = std::make_unique<MapViewControl>(static_cast<MapViewHost&>(*this), *overlay_);
    wake_ = new QTimer(this);
    wake_->setSingleShot(true);
    connect(wake_, &QTimer::timeout, this, [this] { viewEvent("tmrClick_Timer", [&] { control_->Poll(); }); });
    setWindowTitle(plat::AppTitle());
    setMinimumSize(pixelsX(kMinWidthTwips), pixelsY(kMinHeightTwips));
    buildControls();
    buildMenus();
    buildPopupMenu();
    PrinterFound = QtPrinterPort::AnyPrinter();
    logic_.InputSaveName = [](const QString& filter, const QString& proposal) {
        return mainform::InputSaveName(QString(), filter, proposal);
    };
    mainform::FileHost files;
    files.AfterLoad = [this] { logic_.AfterLoad(); };
    files.PlotWindow = [this] { logic_.PlotWindow(); };
    files.StatusText = [this](const QString& text) { logic_.SetStatusText(text); };
    files.Plot = [this](plat::HDC hdc, int32_t dpiX, int32_t dpiY, int32_t width, int32_t height) {
        return logic_.PlotMap(hdc, dpiX, dpiY, width, height);
    };
    files.SaveEps = [plot = files.Plot, status = files.StatusText](const QString& fileName) {
        return SaveEpsFile(fileName, plot, status);
    };
    files.Repaint = [this] { repaint(); };
    previousFileHost_ = mainform::SetFileHost(std::move(files));
    SetWindupHook([this] { logic_.WindupError(); });
    SetMainWindowCorner({[this](float left, float top) {
                             storedCorner_ = QPointF(left, top);
                             const QPoint asked(pixelsX(left), pixelsY(top));
                             placeWindow(asked, size());
                             // Only a corner kept as it was is written back as it was read.
                             storedCornerAt_ = placedCorner_ == asked ? asked : QPoint(INT_MIN, INT_MIN);
                         },
                         [this](float& left, float& top) {
                             const QPoint at = frameCorner();
                             if (at == storedCornerAt_) {
                                 left = float(storedCorner_.x());
                                 top = float(storedCorner_.y());
                             } else {
                                 left = float(at.x() * plat::TwipsPerPixelX());
                                 top = float(at.y() * plat::TwipsPerPixelY());
                             }
                         }});
    installDialogHosts();
}

frmMain::~frmMain() {
    // The controls outlive the window's own parts: they must not reach them.
    plat::CutOffChildren(this);
    SetMainWindowCorner({});
    removeDialogHosts();
    SetWindupHook({});
    mainform::SetFileHost(std::move(previousFileHost_));
}

void frmMain::viewEvent(const char* handler, const std::function<void()>& fn) {
    guarded(handler, fn);
    if (closing_) return;
    const QRegion dirty = overlay_->TakeDirty();
    if (!dirty.isEmpty()) picView->update(dirty);
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
    // Its height follows the bar's font once the drawing layer exists (fitMeasureBox).
    picMeasure->installEventFilter(this);
    row->addWidget(picMeasure, 1);
    // The rest is centred in a band as high as the view-area box, shown or
    // not, at the top of the bar however high the scale bar's box is.
    auto* band = new QWidget(top);
    auto* controls = new QHBoxLayout(band);
    controls->setContentsMargins(0, 0, 0, 0);
    controls->setSpacing(row->spacing());
    picViewArea = new QWidget(band);
    picViewArea->setFixedSize(36, 24);
    picViewArea->installEventFilter(this);
    band->setMinimumHeight(picViewArea->height());
    picScaleSmall = new QToolButton(band);
    picScaleSmall->setText(QStringLiteral("－"));
    picScaleSmall->setToolTip(QStringLiteral("縮小"));
    picScaleSmall->setFocusPolicy(Qt::NoFocus);
    sliScale = new QSlider(Qt::Horizontal, band);
    sliScale->setRange(1, 53);
    sliScale->setFixedWidth(160);
    sliScale->setFocusPolicy(Qt::NoFocus);
    picScaleLarge = new QToolButton(band);
    picScaleLarge->setText(QStringLiteral("＋"));
    picScaleLarge->setToolTip(QStringLiteral("拡大"));
    picScaleLarge->setFocusPolicy(Qt::NoFocus);
    for (QWidget* w : std::initializer_list<QWidget*>{picViewArea, picScaleSmall, sliScale, picScaleLarge})
        controls->addWidget(w);
    row->addWidget(band, 0, Qt::AlignTop);
    grid->addWidget(top, 0, 0, 1, 2);

    viewBox_ = new QWidget(central);
    viewBox_->setAutoFillBackground(true);
    viewBox_->installEventFilter(this);
    picView = mapView_ = new MapViewWidget(viewBox_, *this);
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
        if (i > 0) stbPanels[i]->setContentsMargins(6, 0, 2, 0);
        statusBar()->addWidget(stbPanels[i], i == 0 ? 1 : 0);
    }
    // The message gives way first: a narrow window cuts it at its end
    // instead of pushing the readouts over each other.
    stbPanels[0]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    stbPanels[2]->setToolTip(QStringLiteral("キャンバス中心座標"));
    keepStatusHeight();

    // A drag shows the centre or scale as it goes and redraws on release.
    // Qt's vertical bar grows downwards: its values are negated.
    for (QAbstractSlider* bar : std::initializer_list<QAbstractSlider*>{hsbView, vsbView, sliScale}) bar->setTracking(false);
    connect(hsbView, &QScrollBar::sliderMoved, this,
            [this](int v) { viewEvent("hsbView_Scroll", [&] { control_->hsbView_Scroll(v); }); });
    connect(vsbView, &QScrollBar::sliderMoved, this,
            [this](int v) { viewEvent("vsbView_Scroll", [&] { control_->vsbView_Scroll(-v); }); });
    connect(sliScale, &QSlider::sliderMoved, this,
            [this](int v) { viewEvent("sliScale_Scroll", [&] { control_->sliScale_Scroll(int16_t(v)); }); });
    connect(hsbView, &QScrollBar::valueChanged, this, [this](int v) {
        logic_.KeepScrollValue(false, v);
        viewEvent("hsbView_Change", [&] { control_->hsbView_Change(v); });
    });
    connect(vsbView, &QScrollBar::valueChanged, this, [this](int v) {
        logic_.KeepScrollValue(true, -v);
        viewEvent("vsbView_Change", [&] { control_->vsbView_Change(-v); });
    });
    connect(sliScale, &QSlider::valueChanged, this, [this](int v) {
        logic_.KeepScaleLevel(v);
        viewEvent("sliScale_Change", [&] { control_->sliScale_Change(int16_t(v)); });
    });
    connect(picScaleSmall, &QToolButton::clicked, this,
            [this] { viewEvent("picScaleSmall_Click", [&] { control_->picScaleSmall_Click(); }); });
    connect(picScaleLarge, &QToolButton::clicked, this,
            [this] { viewEvent("picScaleLarge_Click", [&] { control_->picScaleLarge_Click(); }); });
}

// ---------------------------------------------------------------- popup menu

struct frmMain::PopupActions {
    QAction *Home = nullptr, *CruiseExe = nullptr, *MapCopy = nullptr, *Survey = nullptr, *Pickup = nullptr;
    std::array<QAction*, 5> Direct{};
    QAction *Grid = nullptr, *Acs = nullptr, *Edge = nullptr, *TextSlant = nullptr;
    std::array<QAction*, 2> Language{}, Scale{};
    std::array<QAction*, 4> Scroll{};
};

void frmMain::buildPopupMenu() {
    mnuPopup = new QMenu(QStringLiteral("ポップアップ(&P)"), this);
    popupActions_ = std::make_unique<PopupActions>();
    PopupActions& a = *popupActions_;
    auto add = [this](const char* handler, std::function<void()> fn) {
        QAction* act = mnuPopup->addAction(QString());
        connect(act, &QAction::triggered, this, [this, handler, fn = std::move(fn)] {
            logic_.RunCommand([this, handler, fn] { guarded(handler, fn); });
        });
        return act;
    };
    auto redrawn = [this](std::function<void(clsMapPlot&)> change) {
        return [this, change = std::move(change)] {
            if (clsMapPlot* plot = CurrentMapPlot()) change(*plot);
            logic_.PlotWindow();
        };
    };
    a.Home = add("mnuPopupHome_Click", [this] { logic_.mnuHome_Click(); });
    a.CruiseExe = add("mnuPopupCruiseExe_Click", [this] {
        repaint();
        mnuCruiseExe();
    });
    a.MapCopy = add("mnuPopupMapCopy_Click", [this] { logic_.mnuMapCopy_Click(); });
    mnuPopup->addSeparator();
    a.Survey = add("mnuPopupSurvey_Click", [this] { viewEvent("mnuSurvey_Click", [&] { control_->mnuSurvey_Click(); }); });
    a.Pickup = add("mnuPopupPickup_Click", [this] { viewEvent("mnuPickup_Click", [&] { control_->mnuPickup_Click(); }); });
    mnuPopup->addSeparator();
    for (int i = 0; i < 5; ++i)
        a.Direct[i] = add("mnuPopupDirectItem_Click", redrawn([i](clsMapPlot& p) { PopupDirectItem(p, i); }));
    mnuPopup->addSeparator();
    a.Grid = add("mnuPopupGrid_Click", redrawn([](clsMapPlot& p) { TogglePopupSwitch(p, PopupSwitch::Grid); }));
    a.Acs = add("mnuPopupAcs_Click", redrawn([](clsMapPlot& p) { TogglePopupSwitch(p, PopupSwitch::Acs); }));
    a.Edge = add("mnuPopupEdge_Click", redrawn([](clsMapPlot& p) { TogglePopupSwitch(p, PopupSwitch::Edge); }));
    a.TextSlant =
        add("mnuPopupTextSlant_Click", redrawn([](clsMapPlot& p) { TogglePopupSwitch(p, PopupSwitch::TextSlant); }));
    mnuPopup->addSeparator();
    for (int i = 0; i < 2; ++i)
        a.Language[i] = add("mnuPopupLanguageItem_Click", [this, i] { logic_.mnuLanguageItem_Click(i + 1); });
    mnuPopup->addSeparator();
    // The items are off at the slider's ends, so no bound check here.
    a.Scale[0] = add("mnuPopupScaleItem_Click", [this] { sliScale->setValue(sliScale->value() + 1); });
    a.Scale[1] = add("mnuPopupScaleItem_Click", [this] { sliScale->setValue(sliScale->value() - 1); });
    for (int i = 0; i < 4; ++i)
        a.Scroll[i] = add("mnuPopupScrollItem_Click", [this, i] { logic_.ScrollStep(int16_t(i)); });
    for (QAction* act : mnuPopup->actions()) act->setCheckable(!act->isSeparator());
    for (QAction* act : {a.Home, a.CruiseExe, a.MapCopy, a.Scale[0], a.Scale[1], a.Scroll[0], a.Scroll[1], a.Scroll[2], a.Scroll[3]})
        act->setCheckable(false);
}

void frmMain::mnuPopup_Click() {
    MapPopupInputs in;
    in.MapMode = gvMapMode;
    in.Language = int32_t(gvLanguage);
    in.Slider = sliScale->value();
    in.SliderMin = sliScale->minimum();
    in.SliderMax = sliScale->maximum();
    in.Horizontal = logic_.state().Horizontal;
    in.Vertical = logic_.state().Vertical;
    in.SurveyOn = control_->Survey().IsOn();
    in.PickupOn = control_->PickupEi;
    in.Plot = CurrentMapPlot();
    const MapPopupState s = PrepareMapPopup(in);
    const PopupActions& a = *popupActions_;
    auto show = [](QAction* act, const PopupItemState& st) {
        act->setText(st.Caption);
        act->setEnabled(st.Enabled);
        if (act->isCheckable()) act->setChecked(st.Checked);
    };
    show(a.Home, s.Home);
    show(a.CruiseExe, s.CruiseExe);
    show(a.MapCopy, s.MapCopy);
    show(a.Survey, s.Survey);
    show(a.Pickup, s.Pickup);
    for (int i = 0; i < 5; ++i) show(a.Direct[i], s.Direct[i]);
    show(a.Grid, s.Grid);
    show(a.Acs, s.Acs);
    show(a.Edge, s.Edge);
    show(a.TextSlant, s.TextSlant);
    for (int i = 0; i < 2; ++i) show(a.Language[i], s.Language[i]);
    for (int i = 0; i < 2; ++i) show(a.Scale[i], s.Scale[i]);
    for (int i = 0; i < 4; ++i) show(a.Scroll[i], s.Scroll[i]);
}

void frmMain::ShowPopupMenu(int32_t viewX, int32_t viewY) {
    mnuPopup_Click();
    mnuPopup->popup(picView->mapToGlobal(QPoint(viewX, viewY)));
}

// ---------------------------------------------------------------- pickup list

bool frmMain::PickupList(int32_t canvasX, int32_t canvasY, bool includeAll, int32_t& mapX, int32_t& mapY) {
    PickInfo.reset();
    clsMapUnits* units = CurrentMapUnits();
    if (!gvCanvas || !gvViewPicture || !units) return false;
    frmPickupLogic list;
    list.IncludeAll = includeAll;
    list.SearchX = canvasX;
    list.SearchY = canvasY;
    list.MapUnits = std::shared_ptr<clsMapUnits>(units, [](clsMapUnits*) {});
    list.MapPlot = CurrentMapPlot();
    frmPickup::View view;
    view.Surface = [] { return gvViewPicture->hDC(); };
    view.CanvasOrigin = [](int32_t& dx, int32_t& dy) { gvCanvas->PosCanvasToView(0, 0, dx, dy); };
    view.PaintFromCanvas = [] { gvCanvas->Paint(); };
    view.Show = [this] {
        gvViewPicture->Changed();
        picView->repaint();
    };
    logic_.InitializingEi = true;
    bool ok = false;
    {
        frmPickup dialog(list, view, this);
        // Beside the click, toward the middle of the screen (in twips); the
        // dialog keeps itself on the screen as it shows.
        int32_t vx = 0, vy = 0;
        gvCanvas->PosCanvasToView(canvasX, canvasY, vx, vy);
        const QPoint at = picView->mapToGlobal(QPoint(vx, vy));
        const QSize screenSize = screen() ? screen()->size() : QSize(1920, 1080);
        const QSize size = dialog.sizeHint();
        const auto twipsX = [](int px) { return int32_t(std::lround(px * plat::TwipsPerPixelX())); };
        const auto twipsY = [](int px) { return int32_t(std::lround(px * plat::TwipsPerPixelY())); };
        const int32_t x = twipsX(at.x()), y = twipsY(at.y());
        dialog.position() = {x < twipsX(screenSize.width()) / 2 ? x + 960 : x - 960 - twipsX(size.width()),
                             y < twipsY(screenSize.height()) / 2 ? y + 960 : y - 960 - twipsY(size.height())};
        if (dialog.Fill()) {
            if (PickupShown) QTimer::singleShot(0, &dialog, [this, &dialog] { PickupShown(dialog); });
            ok = dialog.showModal() && list.OK;
        }
    }
    logic_.InitializingEi = false;
    if (!ok) return false;
    PickInfo = list.Picked;
    mapX = PickInfo->MapX;
    mapY = PickInfo->MapY;
    return true;
}

// ---------------------------------------------------------------- pick menu

void frmMain::PickMenu(int32_t viewX, int32_t viewY) {
    if (!PickInfo) return;
    if (!pick_) {
        FigurePickHost host;
        // The figure dialogs work on the unit and place themselves from the
        // edit state, which holds the unit only while one is open.
        auto withEditState = [this](const MapUnitPtr& unit, const std::function<std::optional<FigureList>()>& run) {
            HMapEditState& edit = HMapEdit();
            edit.EditMapUnit = unit;
            edit.EditDialogLeft = plat::WindowLeftTwips(this) + 600;
            edit.EditDialogTop = plat::WindowTopTwips(this) + 600;
            std::optional<FigureList> figures = run();
            edit.EditMapUnit = nullptr;
            return figures;
        };
        host.EditFigure = [withEditState](const MapUnitPtr& unit, const MapFigurePtr& figure, int16_t node) {
            return withEditState(unit, [&] {
                HMapEdit().EditActiveNode = node;
                return EditMapFigure(figure);
            });
        };
        host.CreateFigure = [withEditState](const MapUnitPtr& unit, int32_t kind) {
            return withEditState(unit, [&] { return CreateMapFigure(kind); });
        };
        host.PlotWindow = [this] { logic_.PlotWindow(); };
        host.SetViewControllByEngine = [this] { logic_.SetViewControllByEngine(); };
        host.Refresh = [this] { repaint(); };
        host.DialogPlace = [this](int32_t& left, int32_t& top) {
            left = plat::WindowLeftTwips(this) + 600;
            top = plat::WindowTopTwips(this) + 600;
        };
        pick_ = std::make_unique<FigurePickMenu>(std::move(host));
        mnuPick = new FigurePickMenuUi(
            *pick_, [this](const char* handler, const std::function<void()>& fn) { guarded(handler, fn); }, this);
    }
    pick_->PickInfo = PickInfo;
    pick_->MapPlot = CurrentMapPlot();
    pick_->PickListEi = false;
    if (PickMenuShown) QTimer::singleShot(0, mnuPick, [this] { PickMenuShown(*mnuPick); });
    mnuPick->ExecAt(picView->mapToGlobal(QPoint(viewX, viewY)));
    if (pick_->PickListEi && openMapList(int16_t(PickInfo->UnitIndex), PickInfo->FigureIndex)) logic_.PlotWindow();
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
    });
    // The save reminder's minutes run from here.
    viewEvent("tmrSave_Timer", [&] { control_->Poll(); });
    return true;
}

// ---------------------------------------------------------------- MainView

void frmMain::Refresh(const MainViewState& s) {
    setWindowTitle(s.Caption.isEmpty() ? plat::AppTitle() : s.Caption);
    for (size_t i = 0; i < stbPanels.size(); ++i) stbPanels[i]->setText(s.Panels[i]);
    // A readout keeps the widest text it has shown in this map mode, so that
    // its neighbours do not jump with every digit.
    if (panelsMode_ != gvMapMode) {
        panelsMode_ = gvMapMode;
        for (size_t i = 1; i < stbPanels.size(); ++i) stbPanels[i]->setMinimumWidth(0);
    }
    for (size_t i = 1; i < stbPanels.size(); ++i)
        stbPanels[i]->setMinimumWidth(std::max(stbPanels[i]->minimumWidth(), stbPanels[i]->sizeHint().width()));
    const QSignalBlocker bh(hsbView), bv(vsbView), bs(sliScale);
    // A bar held by the user keeps its value: the release raises its Change.
    auto show = [](QAbstractSlider* bar, int value) {
        if (!bar->isSliderDown()) bar->setValue(value);
    };
    hsbView->setRange(s.Horizontal.Min, s.Horizontal.Max);
    show(hsbView, s.Horizontal.Value);
    hsbView->setSingleStep(s.Horizontal.SmallChange);
    hsbView->setPageStep(s.Horizontal.LargeChange);
    // Qt's vertical bar grows downwards; north (the larger value) is on top.
    vsbView->setRange(-s.Vertical.Min, -s.Vertical.Max);
    show(vsbView, -s.Vertical.Value);
    vsbView->setSingleStep(s.Vertical.SmallChange);
    vsbView->setPageStep(s.Vertical.LargeChange);
    show(sliScale, s.ScaleLevel);
    const bool on = !s.Locked;
    for (QWidget* w : std::initializer_list<QWidget*>{sliScale, picScaleSmall, picScaleLarge, hsbView, vsbView})
        w->setEnabled(on);
    for (QMenu* m : {mnuFile, mnuEdit, mnuView, mnuProject, mnuTool, mnuHelp})
        if (m) m->menuAction()->setEnabled(on);
    statusBar()->repaint();
}

void frmMain::RepaintView() {
    if (gvCanvas && !logic_.InitializingEi) gvCanvas->Paint();
    // The picture is the map at the engine's centre now: a drag's shift is over.
    mapView_->setPan(QPoint());
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
    const QSize wanted = viewFrame() + QSize(gvCanvas->ViewWidth(), gvCanvas->ViewHeight());
    if (wanted != size() && isMaximized()) showNormal();
    // Unless the window was moved since, the corner asked last is put
    // through the rule again: a window that had to give way comes back.
    if (!isMaximized()) placeWindow(frameCorner() == placedCorner_ ? askedCorner_ : frameCorner(), wanted);
    // The first plot follows at once: the view must have its size already.
    viewFrame();
    fitViewToBox();
}

void frmMain::SetStatusFont(const QString& face) {
    statusBar()->setFont(QFont(face));
    keepStatusHeight();
}

void frmMain::keepStatusHeight() {
    // The bar is as high as a Japanese message makes it, shown or not: the
    // view keeps its size when the message comes and goes.
    QLabel probe(QStringLiteral("地図ファイルを開きましょう."));
    probe.setFont(statusBar()->font());
    for (QLabel* panel : stbPanels) panel->setMinimumHeight(probe.sizeHint().height());
}

void frmMain::DoEvents() { plat::DoEvents(); }

void frmMain::Post(std::function<void()> task) { QTimer::singleShot(0, this, std::move(task)); }

void frmMain::SetScrollValue(bool vertical, int32_t value) {
    if (vertical) vsbView->setValue(-value);
    else hsbView->setValue(value);
}

void frmMain::ViewPlotted() {
    control_->ViewRepainted();
    picView->update(overlay_->TakeDirty());
}

void frmMain::LeaveModes() { control_->LeaveModes(); }

// ---------------------------------------------------------------- MapViewHost

void frmMain::PaintViewFromCanvas() {
    if (gvCanvas) gvCanvas->Paint();
    picView->update();
}

void frmMain::ShowPanOffset(int32_t dx, int32_t dy) { mapView_->setPan(QPoint(dx, dy)); }

void frmMain::WakeAfter(int64_t ms) { wake_->start(static_cast<int>(std::clamp<int64_t>(ms, 0, INT_MAX))); }

void frmMain::SetViewCursor(int resource) {
    switch (resource) {
    case 1104: picView->setCursor(Qt::UpArrowCursor); break;        // survey
    case 1105: picView->setCursor(Qt::PointingHandCursor); break;   // pickup
    case 1106: picView->setCursor(Qt::SizeFDiagCursor); break;      // frame cut
    default: picView->setCursor(Qt::CrossCursor); break;
    }
}

int32_t frmMain::ScrollValue(bool vertical) const {
    return vertical ? logic_.state().Vertical.Value : logic_.state().Horizontal.Value;
}

int16_t frmMain::SliderValue() const { return static_cast<int16_t>(logic_.state().ScaleLevel); }

void frmMain::SetSliderValue(int16_t level) { sliScale->setValue(level); }

void frmMain::SetSliderTip(const QString& text) { sliScale->setToolTip(text); }

QSize frmMain::ScreenSizePixels() const { return screen() ? screen()->size() : QSize(1920, 1080); }

void frmMain::LoadFile(const QString& path) {
    if (logic_.LoadFile) logic_.LoadFile(path);
}

QString frmMain::ActiveWindowName() const {
    const QWidget* active = QApplication::activeWindow();
    return active ? QString::fromLatin1(active->metaObject()->className()) : QString();
}

bool frmMain::AnyMapModified() const {
    for (const clsMapUnits* units : {gvMapUnitsLL, gvMapUnitsXY})
        if (units && units->Modify()) return true;
    return false;
}

void frmMain::RefreshMapListCaption() {
    if (auto* list = qobject_cast<frmMapList*>(QApplication::activeWindow())) list->PrintCaption();
}

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
        if (fitViewToBox()) logic_.PlotWindow();
    });
}

bool frmMain::fitViewToBox() {
    if (!gvCanvas || !gvViewPicture) return false;
    const QSize room = viewBox_->size();
    gvViewPicture->setFrame(size().grownBy(decorations()) - room);
    const QScreen* on = screen();
    gvViewPicture->setScreenSize(on ? on->availableGeometry().size() : QSize(1920, 1080));
    bool changed = false;
    // A synchronised canvas is cleared by every size it is given, even its own.
    auto follow = [&](int32_t now, int32_t wanted, void (clsCanvas::*set)(int32_t)) {
        if (now == wanted) return;
        (gvCanvas->*set)(wanted);
        changed = true;
    };
    if (gvCanvas->Synchro()) {
        follow(gvCanvas->ViewWidth(), std::clamp(room.width(), 32, gvCanvas->ViewMaxWidth()), &clsCanvas::setViewWidth);
        follow(gvCanvas->ViewHeight(), std::clamp(room.height(), 32, gvCanvas->ViewMaxHeight()),
               &clsCanvas::setViewHeight);
    }
    const int w = std::clamp(gvCanvas->CanvasWidth(), 1, std::max(1, room.width()));
    const int h = std::clamp(gvCanvas->CanvasHeight(), 1, std::max(1, room.height()));
    if (!gvCanvas->Synchro()) {
        follow(gvCanvas->ViewWidth(), w, &clsCanvas::setViewWidth);
        follow(gvCanvas->ViewHeight(), h, &clsCanvas::setViewHeight);
    }
    if (picView->size() != QSize(w, h)) changed = true;
    picView->setGeometry(0, 0, w, h);
    if (overlay_->width() != w || overlay_->height() != h) {
        overlay_->Resize(w, h);
        control_->ViewRepainted();
    }
    return changed;
}

void frmMain::fitMeasureBox() {
    if (measureFitted_) return;
    const int32_t h = MeasureBarHeight(measureFont());
    if (h <= 0) return;
    // One blank row under the numbers.
    picMeasure->setMinimumHeight(h + 1);
    measureFitted_ = true;
}

QSize frmMain::viewFrame() {
    fitMeasureBox();
    // A hidden window gets no resize events, so its layouts are told; the
    // polish that showing brings comes first, since it sets the bars' sizes.
    ensurePolished();
    for (QLayout* l : findChildren<QLayout*>()) l->invalidate();
    layout()->activate();
    centralWidget()->layout()->activate();
    return size() - viewBox_->size();
}

namespace {

// What the window manager's frame adds round a window's client area; none
// before the window is framed.
QMargins decorationsOf(const QWidget* w) {
    if (!w->isVisible()) return {};
    const QRect f = w->frameGeometry(), g = w->geometry();
    return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom());
}

} // namespace

QMargins frmMain::decorations() const {
    if (const QMargins own = decorationsOf(this); !own.isNull()) return own;
    if (!decorations_.isNull()) return decorations_;
    // Until the window manager has framed this window, another framed window
    // of the program (the splash) tells what a frame adds.
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (const QMargins other = decorationsOf(w); w != this && !other.isNull()) return other;
    return {};
}

QPoint frmMain::frameCorner() const {
    const QMargins m = decorations();
    return geometry().topLeft() - QPoint(m.left(), m.top());
}

void frmMain::placeWindow(QPoint corner, QSize client) {
    QList<QRect> screens;
    for (const QScreen* s : QGuiApplication::screens()) screens << s->availableGeometry();
    decorations_ = decorations();
    const WindowPlacement p = PlaceWindow(screens, decorations_, corner, client, minimumSize());
    // The client is placed and the frame goes round it; a window not framed
    // yet is placed by the decorations expected.
    const QRect wanted(p.corner + QPoint(decorations_.left(), decorations_.top()), p.client);
    if (wanted != geometry()) setGeometry(wanted);
    askedCorner_ = corner;
    placedCorner_ = p.corner;
    placedClientAt_ = wanted.topLeft();
}

void frmMain::checkDecorations() {
    if (isMinimized() || isMaximized() || isFullScreen()) return;
    const QMargins now = decorationsOf(this);
    if (now.isNull() || now == decorations_) return;
    // The window manager has framed the window otherwise than expected: the
    // frame goes where it was meant to be, or, when the window was moved
    // meanwhile, is kept on the screen.
    const QPoint corner = geometry().topLeft() == placedClientAt_ ? askedCorner_ : frameCorner();
    decorations_ = now;
    QTimer::singleShot(0, this, [this, corner] {
        if (isMaximized() || isMinimized() || closing_) return;
        placeWindow(corner, size());
        fitViewToBox();
    });
}

void frmMain::moveEvent(QMoveEvent* e) {
    QMainWindow::moveEvent(e);
    checkDecorations();
}

void frmMain::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    // Without a window manager nothing else holds the minimum size.
    if (!isMinimized() && (width() < minimumWidth() || height() < minimumHeight()))
        QTimer::singleShot(0, this, [this] {
            if (!isMinimized()) resize(size().expandedTo(minimumSize()));
        });
    checkDecorations();
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
        const QPointF at = static_cast<QMouseEvent*>(e)->position();
        const double tx = plat::TwipsPerPixelX(), ty = plat::TwipsPerPixelY();
        viewEvent("picViewArea_MouseUp", [&] {
            control_->picViewArea_MouseUp(at.x() * tx, at.y() * ty, picViewArea->width() * tx,
                                          picViewArea->height() * ty);
        });
        return true;
    }
    return QMainWindow::eventFilter(o, e);
}

void frmMain::paintMeasure(QPainter& p) {
    p.fillRect(picMeasure->rect(), palette().window());
    // The bar is drawn through the drawing layer, which a running plot holds:
    // drawing it now would end the plot's drawing.
    if (logic_.PlottingEi) {
        p.drawImage(0, 0, measure_);
        return;
    }
    if (!CurrentMapPlot() || logic_.InitializingEi) return;
    const int w = picMeasure->width(), h = picMeasure->height();
    plat::HBITMAP bitmap = plat::Bitmap::Create(w, h, 32);
    bitmap->image().fill(palette().window().color());
    plat::RasterDC dc(bitmap, 96);
    guarded("picMeasure_Paint", [&] {
        PlotMeasure(&dc, w, h, measureFont(), measureColor(0x000000));
    });
    measure_ = dc.image().copy();
    p.drawImage(0, 0, measure_);
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

// ---------------------------------------------------------------- keys and close

void frmMain::keyPressEvent(QKeyEvent* e) {
    const int code = keyCodeOf(e);
    bool taken = false;
    if (code) viewEvent("Form_KeyDown", [&] { taken = control_->KeyDown(code) || logic_.KeyDown(code); });
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

void frmMain::installDialogHosts() {
    InstallSettingsDialogs([this] { logic_.PlotWindow(); });
    SetDirectProjectionHost({[] { return CurrentMapPlot(); }, [this] {
                                 logic_.SetViewControllByEngine();
                                 logic_.PlotWindow();
                             }});
    MapSymbolHost symbols;
    symbols.PlotWindow = [this] { logic_.PlotWindow(); };
    symbols.CruiseAuto = [] { return gvCruise && gvCruise->EiAuto; };
    symbols.SetCruiseAuto = [](bool on) {
        if (gvCruise) gvCruise->EiAuto = on;
    };
    SetMapSymbolHost(std::move(symbols));
    MapListHost lists;
    lists.InputLoadName = mainform::InputLoadName;
    lists.InputSaveName = mainform::InputSaveName;
    lists.UnloadMapUnit = [this](const MapUnitPtr& unit) { logic_.UnloadMapUnit(*unit); };
    lists.ResetSaveReminder = [this] { control_->Reminder().SaveMinuteCount = 0; };
    lists.StartMapFile = [] { return gvStartMapFile; };
    lists.InputNativeColor = mainform::InputNativeColor;
    lists.PickThing = [this](const clsMapUnit& unit, int32_t figCode, int32_t preset) -> int32_t {
        ThingSelectLogic& picker = ThingSelect();
        picker.FigCode = figCode;
        picker.ThingIndex = static_cast<int16_t>(preset);
        picker.Things = &unit.Things();
        const bool ok = ShowThingSelect(QApplication::activeWindow() ? QApplication::activeWindow() : this);
        return ok ? picker.ThingIndex : -1;
    };
    lists.PickAdmin = [this](const clsMapUnit& unit, int32_t preset) -> int32_t {
        AdminSelectLogic& picker = AdminSelect();
        picker.AdminCode = static_cast<int16_t>(preset);
        picker.Admins = &unit.Admins();
        const bool ok = ShowAdminSelect(QApplication::activeWindow() ? QApplication::activeWindow() : this);
        return ok ? picker.AdminCode : -1;
    };
    lists.CreateFigure = [](const MapUnitPtr& unit, int32_t kind) -> std::optional<std::vector<MapFigurePtr>> {
        HMapEditState& edit = HMapEdit();
        edit.EditMapUnit = unit;
        edit.EditActiveNode = 0;
        if (clsMapPlot* plot = CurrentMapPlot()) {
            edit.EditPointX = plot->CenterX();
            edit.EditPointY = plot->CenterY();
        }
        std::optional<FigureList> figures = CreateMapFigure(kind);
        edit.EditMapUnit = nullptr;
        return figures;
    };
    lists.EditFigure = [](const MapUnitPtr& unit, const MapFigurePtr& figure, int32_t left,
                          int32_t top) -> std::optional<std::vector<MapFigurePtr>> {
        HMapEditState& edit = HMapEdit();
        edit.EditMapUnit = unit;
        edit.EditActiveNode = 1;
        edit.EditDialogLeft = left;
        edit.EditDialogTop = top;
        std::optional<FigureList> figures = EditMapFigure(figure);
        edit.EditMapUnit = nullptr;
        return figures;
    };
    lists.PlotWindow = [this] { logic_.PlotWindow(); };
    SetMapListHost(std::move(lists));
    DrawWindowHost draw;
    draw.Picture = [this] {
        PaintViewFromCanvas();
        const plat::HBITMAP image = gvViewPicture ? gvViewPicture->Image() : nullptr;
        return image ? image->image().copy() : QImage();
    };
    draw.PlotWindow = [this] {
        logic_.SetViewControllByEngine();
        logic_.PlotWindow();
    };
    draw.MapUnits = [] {
        clsMapUnits* units = CurrentMapUnits();
        return units ? std::shared_ptr<clsMapUnits>(units, [](clsMapUnits*) {}) : nullptr;
    };
    SetDrawWindowHost(std::move(draw));
}

void frmMain::removeDialogHosts() {
    SetDrawWindowHost({});
    SetMapListHost({});
    SetMapSymbolHost({});
    SetDirectProjectionHost({});
    SetSettingsDialogHost({});
}
