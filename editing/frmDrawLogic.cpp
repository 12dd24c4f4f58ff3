#include "frmDrawLogic.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "Bitmap.h"
#include "Clock.h"
#include "KeyCodes.h"
#include "LongOperation.h"
#include "RasterDC.h"
#include "RuntimeMath.h"
#include "basAngle.h"
#include "basGlobe.h"
#include "basHMapCoord.h"
#include "basLibrary.h"
#include "basNumberText.h"
#include "clsMap.h"

namespace {

// Latitude/longitude positions stay this far inside the date line and the
// poles (arc-seconds).
constexpr int32_t kMaxLon = 647995, kMaxLat = 323970;
constexpr int32_t kMaxGridLL = 108000, kMaxGridXY = 3000000;

// The movement readout: arc-seconds as an angle, metres as the map's
// coordinate text writes them.
QString DifferenceText(int32_t mapMode, int64_t d, bool isX) {
    const auto v = static_cast<int32_t>(std::clamp<int64_t>(d, INT32_MIN + 1, INT32_MAX));
    if (mapMode == 1) return AngleToStr(v);
    return (isX ? MapXToStr(v) : MapYToStr(v)).trimmed();
}

} // namespace

frmDrawLogic::frmDrawLogic() : overlay_(std::make_unique<plat::ViewOverlay>(1, 1)) {}
frmDrawLogic::~frmDrawLogic() = default;

// ---------------------------------------------------------------- lifecycle

bool frmDrawLogic::Load(DrawMapView& view) {
    view_ = &view;
    OK = false;
    drag_ = 0;
    grabbed_ = rubberShown_ = handleShown_ = false;
    undo_.reset();
    viewChanged_ = false;
    message_.clear();
    pointer_.clear();
    cursor_ = kCursorNormal;
    if (Mode == ModePoint) {
        ActIndex = -1;
    } else if (Mode == ModePoly) {
        if (count() >= 1) ActIndex = NormalizeIndex(Clamp(ActIndex, 1, count()));
        else ActIndex = 0;   // the first click appends node 1
    } else {
        return false;
    }
    if (CenterView) centreView();
    base_ = view.Picture();
    const QSize size = view.ViewSize();
    if (base_.size() != size) {
        QImage sized(size, QImage::Format_RGB32);
        sized.fill(Qt::white);
        base_ = sized;
    }
    base_ = base_.convertToFormat(QImage::Format_RGB32);
    pictureDc_.reset();
    picture_ = plat::Bitmap::FromImage(base_);
    pictureDc_ = std::make_unique<plat::RasterDC>(picture_);
    overlay_->Resize(size.width(), size.height());
    if (GridStep() == 0) {
        // 3 mm on the paper, brought into the range quietly: at the largest
        // and smallest scales it lies outside.
        const bool ll = view.MapMode() != 2;
        const double v = std::clamp(gridValue(QStringLiteral("3mm")), 1.0, double(ll ? kMaxGridLL : kMaxGridXY));
        (ll ? GridStepLL : GridStepXY) = static_cast<int32_t>(v);
    }
    return true;
}

void frmDrawLogic::centreView() {
    PolyPoint target;
    if (Mode == ModePoint) target = {PointX, PointY};
    else if (count() == 0) target = {view_->CenterX(), view_->CenterY()};
    else target = GetNodePos(ActIndex).value_or(PolyPoint{view_->CenterX(), view_->CenterY()});
    const double current = view_->MapScale();
    const double wanted = CenterZoomScale(MapLevel, current);
    savedX_ = view_->CenterX();
    savedY_ = view_->CenterY();
    savedScale_ = current;
    int32_t cx = savedX_, cy = savedY_;
    double scale = current;
    if (!view_->OnCanvas(target.x, target.y)) {
        cx = target.x;
        cy = target.y;
        viewChanged_ = true;
    }
    if (wanted * 2 < current) {
        scale = wanted;
        cx = target.x;
        cy = target.y;
        viewChanged_ = true;
    }
    if (!viewChanged_) return;
    view_->SetView(cx, cy, scale);
    view_->PlotWindow();
}

double frmDrawLogic::CenterZoomScale(int16_t level, double current) {
    if (level < 1 || level > 8) return current;
    return plat::Int(LimitMapScale(BorderScale(level) * 0.67 * std::pow(0.83, 8 - level)));
}

void frmDrawLogic::Unload() {
    undo_.reset();
    if (view_ && viewChanged_) {
        view_->SetView(savedX_, savedY_, savedScale_);
        view_->PlotWindow();
    }
    viewChanged_ = false;
    view_ = nullptr;
}

QString frmDrawLogic::Caption() const {
    QString c = QStringLiteral("作図 [") +
                (Mode == ModePoint ? QStringLiteral("１点モード") : QStringLiteral("連続線モード")) + QStringLiteral("]");
    if (!Title.isEmpty()) c += QStringLiteral(" - ") + Title;
    return c;
}

// ---------------------------------------------------------------- nodes

int32_t frmDrawLogic::NormalizeIndex(int32_t i) const {
    if (Mode != ModePoly) return -1;
    if (isLoop()) return WrapRange(i, 1, count() - 1);
    return i >= 1 && i <= count() ? i : -1;
}

std::optional<PolyPoint> frmDrawLogic::GetNodePos(int32_t i) const {
    if (Mode == ModePoint) return PolyPoint{PointX, PointY};
    const int32_t j = NormalizeIndex(i);
    if (j < 1) return std::nullopt;
    return Poly.GetPoint(j);
}

void frmDrawLogic::SetPos(int32_t i, int32_t x, int32_t y) {
    if (Mode == ModePoint) {
        PointX = x;
        PointY = y;
    } else {
        const bool loop = isLoop();
        const int32_t j = NormalizeIndex(i);   // on a closed list Count comes here as 1
        if (j < 1) return;
        Poly.SetXandY(j, x, y);
        if (loop && j == 1) Poly.SetLastXandY(x, y);
    }
    Paint();
}

void frmDrawLogic::SetActIndex(int32_t i) {
    if (Mode != ModePoly) return;
    int32_t j = NormalizeIndex(i);
    if (j < 1 && count() > 0) j = i < 1 ? count() : 1;
    if (handleShown_) {
        drawHandle(overlay_->dc(), handleAt_.x, handleAt_.y, 8, true);
        handleShown_ = false;
    }
    const std::optional<PolyPoint> node = GetNodePos(j);
    if (!node) return;
    ActIndex = j;
    showNodeInfo();
    int32_t vx = 0, vy = 0;
    view_->MapToViewNear(node->x, node->y, vx, vy);
    handleAt_ = {vx, vy};
    drawHandle(overlay_->dc(), vx, vy, 8, true);
    handleShown_ = true;
}

void frmDrawLogic::showNodeInfo() {
    const std::optional<PolyPoint> p = GetNodePos(ActIndex);
    if (!p) return;
    message_ = QStringLiteral("ノード[%1]：").arg(ActIndex) + MapXToStr(p->x) + QStringLiteral(", ") + MapYToStr(p->y);
}

bool frmDrawLogic::HitHandle(int32_t vx, int32_t vy, int32_t i) const {
    const std::optional<PolyPoint> p = GetNodePos(i);
    int32_t nx = 0, ny = 0;
    if (!p || !view_->MapToView(p->x, p->y, nx, ny)) return false;
    return std::abs(int64_t{nx} - vx) <= 4 && std::abs(int64_t{ny} - vy) <= 4;
}

int32_t frmDrawLogic::NodeDistance(int32_t vx, int32_t vy, int32_t i) const {
    const std::optional<PolyPoint> p = GetNodePos(i);
    if (!p) return kNoNode;
    int32_t nx = 0, ny = 0;
    view_->MapToViewNear(p->x, p->y, nx, ny);
    const double d = std::hypot(double(nx) - vx, double(ny) - vy);
    return d >= kNoNode ? kNoNode : static_cast<int32_t>(std::nearbyint(d));
}

bool frmDrawLogic::DeleteEnabled() const {
    return Mode == ModePoly && count() > (isLoop() ? 4 : 2);
}

// ---------------------------------------------------------------- painting

QPoint frmDrawLogic::ActivePixel() const {
    const std::optional<PolyPoint> p = GetNodePos(ActIndex);
    int32_t vx = 0, vy = 0;
    if (p && view_) view_->MapToViewNear(p->x, p->y, vx, vy);
    return {vx, vy};
}

const QImage& frmDrawLogic::Picture() const { return picture_->image(); }

QRegion frmDrawLogic::TakeDirty() {
    QRegion r = overlay_->TakeDirty();
    r += std::exchange(pictureDirty_, QRegion());
    return r;
}

void frmDrawLogic::selectPens(plat::DeviceContext* dc) const {
    dc->SetROP2(plat::R2_XORPEN);
    dc->SelectPen(plat::CreatePen(plat::PS_SOLID, 1, color_));
}

void frmDrawLogic::drawHandle(plat::DeviceContext* dc, int32_t x, int32_t y, int size, bool filled) {
    selectPens(dc);
    const int h = size / 2;
    if (filled) {
        // No pen: the brush fills left..right - 2, size pixels.
        dc->SelectPen(plat::StockPen(plat::NULL_PEN));
        dc->SelectBrush(plat::CreateSolidBrush(color_));
        dc->Rectangle(x - h, y - h, x - h + size + 1, y - h + size + 1);
    } else {
        dc->SelectBrush(plat::StockBrush(plat::NULL_BRUSH));
        dc->Rectangle(x - h, y - h, x - h + size, y - h + size);
    }
}

void frmDrawLogic::drawRubberLine(plat::DeviceContext* dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    clsPoly line;
    line.SetLine(x1, y1, x2, y2);
    const QSize s = view_->ViewSize();
    selectPens(dc);
    for (const clsPoly& part : line.Clips(clsRect(0, 0, s.width(), s.height()))) {
        dc->MoveToEx(part.x(1), part.y(1));
        dc->LineTo(part.LastX(), part.LastY());
    }
}

void frmDrawLogic::Paint() {
    if (!view_) return;
    pictureDc_.reset();
    picture_->image() = base_;
    pictureDc_ = std::make_unique<plat::RasterDC>(picture_);
    overlay_->Clear();
    pictureDirty_ = QRegion(0, 0, base_.width(), base_.height());
    rubberShown_ = handleShown_ = false;
    plat::DeviceContext* dc = pictureDc_.get();
    if (Mode == ModePoint) {
        int32_t vx = 0, vy = 0;
        view_->MapToViewNear(PointX, PointY, vx, vy);
        drawHandle(overlay_->dc(), vx, vy, 8, true);
        return;
    }
    const int32_t n = count();
    const bool loop = isLoop();
    int32_t px = 0, py = 0;
    bool prevOn = false;
    for (int32_t i = 1; i <= n; ++i) {
        const PolyPoint p = Poly.GetPoint(i);
        int32_t vx = 0, vy = 0;
        const bool on = view_->MapToView(p.x, p.y, vx, vy);
        if (on && !(loop && i == n)) drawHandle(dc, vx, vy, 9, false);
        if (i >= 2 && on && prevOn) drawRubberLine(dc, px, py, vx, vy);
        px = vx;
        py = vy;
        prevOn = on;
    }
    SetActIndex(ActIndex);
}

void frmDrawLogic::plotRubber() {
    if (drag_ < 1 || drag_ > 3) return;
    plat::DeviceContext* dc = overlay_->dc();
    auto lineFrom = [&](int32_t i) {
        const std::optional<PolyPoint> p = GetNodePos(i);
        if (!p) return;
        int32_t vx = 0, vy = 0;
        view_->MapToViewNear(p->x, p->y, vx, vy);
        drawRubberLine(dc, vx, vy, lastX_, lastY_);
    };
    if (Mode == ModePoly && (drag_ == 1 || drag_ == 2)) {
        lineFrom(ActIndex - 1);
        lineFrom(ActIndex + 1);
    } else {
        lineFrom(ActIndex);
    }
    drawHandle(dc, lastX_, lastY_, 7, false);
    rubberShown_ = !rubberShown_;
}

// ---------------------------------------------------------------- mouse

void frmDrawLogic::MouseDown(int button, int32_t x, int32_t y) {
    if (button != LeftButton || !view_) return;
    grabbed_ = false;
    rubberShown_ = false;
    lastX_ = x;
    lastY_ = y;
    drag_ = 1;
    if (Mode == ModePoint) {
        grabbed_ = HitHandle(x, y, 0);
    } else {
        for (int32_t i = 1; i <= count(); ++i) {
            if (!HitHandle(x, y, i)) continue;
            SetActIndex(i);
            grabbed_ = true;
            break;
        }
        if (!grabbed_) drag_ = !isLoop() && (ActIndex == 1 || ActIndex == count()) ? 3 : 2;
    }
    if (drag_ == 1) cursor_ = kCursorDrag;
}

void frmDrawLogic::MouseMove(int /*button*/, int32_t x, int32_t y) {
    if (!view_) return;
    if (rubberShown_) plotRubber();
    lastX_ = x;
    lastY_ = y;
    if (grabbed_) plotRubber();
    int32_t mx = 0, my = 0;
    if (!view_->ViewToMap(x, y, mx, my)) {
        pointer_.clear();
        message_.clear();
        return;
    }
    pointer_ = QStringLiteral("ポインタ：") + MapXToStr(mx) + QStringLiteral(", ") + MapYToStr(my);
    const std::optional<PolyPoint> node = GetNodePos(ActIndex);
    if (grabbed_ && node) {
        const int32_t mode = view_->MapMode();
        message_ = QStringLiteral("移動距離：") + DifferenceText(mode, int64_t{mx} - node->x, true) + QStringLiteral(", ") +
                   DifferenceText(mode, int64_t{my} - node->y, false);
    }
}

std::optional<PolyPoint> frmDrawLogic::picToMapSnap(int32_t vx, int32_t vy) {
    if (Snap) {
        message_ = QStringLiteral("探索中．．．");
        if (messageChanged) messageChanged();
        std::optional<PolyPoint> near;
        {
            plat::BusyCursor busy;
            near = view_->NearestElement(vx, vy);
        }
        message_.clear();
        if (messageChanged) messageChanged();
        if (near) return near;
    }
    int32_t mx = 0, my = 0;
    if (!view_->ViewToMap(vx, vy, mx, my)) return std::nullopt;
    return PolyPoint{mx, my};
}

void frmDrawLogic::MouseUp(int button, int32_t /*x*/, int32_t /*y*/) {
    if (button != LeftButton || !view_) return;
    cursor_ = kCursorNormal;
    if (rubberShown_) plotRubber();
    const int state = std::exchange(drag_, 0);
    grabbed_ = false;
    if (state < 1 || state > 3) return;
    const std::optional<PolyPoint> at = picToMapSnap(lastX_, lastY_);
    if (!at) return;   // released off the map: nothing to place
    PolyPoint p = SnapToGrid(*at);
    if (view_->MapMode() == 1) {
        p.x = Clamp(p.x, -kMaxLon, kMaxLon);
        p.y = Clamp(p.y, -kMaxLat, kMaxLat);
    }
    saveUndo();
    switch (state) {
    case 1: SetPos(ActIndex, p.x, p.y); break;
    case 2: insertNode(p); break;
    case 3: appendNode(p); break;
    }
}

void frmDrawLogic::insertNode(PolyPoint p) {
    const int32_t d1 = NodeDistance(lastX_, lastY_, ActIndex - 1);
    const int32_t d2 = NodeDistance(lastX_, lastY_, ActIndex + 1);
    if (d1 > d2) {
        int32_t j = NormalizeIndex(ActIndex + 1);
        if (j == 1) j = count();   // before the closing node
        Poly.InsXandY(j, p.x, p.y);
        ActIndex = j;
    } else {
        const int32_t j = NormalizeIndex(ActIndex - 1);
        if (j < 1) return;
        if (j == count()) Poly.AddXandY(p.x, p.y);
        else Poly.InsXandY(j + 1, p.x, p.y);
        ActIndex = j + 1;
    }
    Paint();
}

void frmDrawLogic::appendNode(PolyPoint p) {
    if (count() < 2 || ActIndex != 1) {
        Poly.AddXandY(p.x, p.y);
        ActIndex = count();
    } else {
        Poly.InsXandY(1, p.x, p.y);
    }
    Paint();
}

// ---------------------------------------------------------------- snapping

int32_t frmDrawLogic::RoundToGrid(int32_t c, int32_t g) {
    const int64_t step = g == 0 ? 1 : g;
    const int64_t h = step / 2;
    const int64_t v = c >= 0 ? (c + h) / step * step : (c - h) / step * step;
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

PolyPoint frmDrawLogic::SnapToGrid(PolyPoint p) const {
    if (!Grid) return p;
    const int32_t g = GridStep();
    return {RoundToGrid(p.x, g), RoundToGrid(p.y, g)};
}

int32_t frmDrawLogic::GridStep() const {
    return view_ && view_->MapMode() == 2 ? GridStepXY : GridStepLL;
}

double frmDrawLogic::gridValue(const QString& text) const {
    const bool ll = view_->MapMode() != 2;
    double metres = 0;
    try {
        metres = StrToMeter(text, QStringLiteral("mm"));
    } catch (...) {
        if (!ll) return 1000;
        try {
            return AngleSecStrToVal(text);
        } catch (...) {
            return 60;
        }
    }
    // Under a metre it is a length on the paper.
    if (metres < 1.0) metres *= view_->MapScale();
    return plat::RoundHalfEven(ll ? metres / MeterPerSec : metres);
}

bool frmDrawLogic::GridValidate(const QString& text) {
    const bool ll = view_->MapMode() != 2;
    const double v = gridValue(text);
    if (!(v >= 1 && v <= (ll ? kMaxGridLL : kMaxGridXY))) {
        const QString range =
            ll ? AngleToStr(1) + QStringLiteral("～") + AngleToStr(kMaxGridLL) : QStringLiteral("0.001～3000km");
        MsgOutOfRange(QStringLiteral("グリッド間隔は ") + range);
        return false;
    }
    (ll ? GridStepLL : GridStepXY) = static_cast<int32_t>(v);
    return true;
}

QString frmDrawLogic::GridText() const {
    if (!view_ || view_->MapMode() != 2) return AngleToStr(GridStepLL);
    // Kilometres, with the metres when the step is not whole kilometres.
    if (GridStepXY % 1000 == 0) return QString::number(GridStepXY / 1000) + QStringLiteral("km");
    return QString::number(GridStepXY / 1000.0, 'f', 3) + QStringLiteral("km");
}

// ---------------------------------------------------------------- keys and buttons

bool frmDrawLogic::KeyDown(int keyCode) {
    if (!view_) return false;
    switch (keyCode) {
    case plat::KeyDelete:
        if (DeleteEnabled()) DeleteClick();
        return true;
    case plat::KeyPageUp:
    case plat::KeyPageDown:
        SetActIndex(ActIndex + (keyCode == plat::KeyPageUp ? -1 : 1));
        return true;
    case plat::KeyLeft:
    case plat::KeyRight:
    case plat::KeyUp:
    case plat::KeyDown: {
        const std::optional<PolyPoint> p = GetNodePos(ActIndex);
        if (!p) return true;
        saveUndo();
        int32_t vx = 0, vy = 0;
        view_->MapToViewNear(p->x, p->y, vx, vy);
        vx += keyCode == plat::KeyLeft ? -1 : keyCode == plat::KeyRight ? 1 : 0;
        vy += keyCode == plat::KeyUp ? -1 : keyCode == plat::KeyDown ? 1 : 0;
        int32_t mx = 0, my = 0;
        if (view_->ViewToMap(vx, vy, mx, my)) {
            SetPos(ActIndex, mx, my);
            showNodeInfo();
        }
        return true;
    }
    default: return false;
    }
}

void frmDrawLogic::DeleteClick() {
    if (Mode != ModePoly) return;
    saveUndo();
    if (ActIndex >= 1 && ActIndex <= count()) {
        if (isLoop() && (ActIndex == 1 || ActIndex == count())) {
            Poly.Del(1);
            Poly.SetLastXandY(Poly.x(1), Poly.y(1));
        } else {
            Poly.Del(ActIndex);
        }
        if (ActIndex > count()) ActIndex = count();
    }
    Paint();
}

void frmDrawLogic::LoopClick() {
    if (Mode != ModePoly) return;
    saveUndo();
    Poly.MakeLoop();
    drag_ = 0;
    Paint();
}

void frmDrawLogic::saveUndo() { undo_ = Undo{{PointX, PointY}, Poly, ActIndex}; }

void frmDrawLogic::UndoClick() {
    if (!undo_) return;
    PointX = undo_->point.x;
    PointY = undo_->point.y;
    Poly = std::move(undo_->poly);
    ActIndex = undo_->act;
    undo_.reset();
    Paint();
}

void frmDrawLogic::ColorClick() {
    color_ = plat::StandardColor16(1 + static_cast<int>(plat::Int(plat::Rnd() * 15)));
    Paint();
}

frmDrawLogic& DrawWindow() {
    static frmDrawLogic instance;
    return instance;
}
