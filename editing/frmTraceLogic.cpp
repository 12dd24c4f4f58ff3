#include "frmTraceLogic.h"

#include <QPainter>

#include <cmath>

#include "Bitmap.h"
#include "Clock.h"
#include "KeyCodes.h"
#include "MessageBox.h"
#include "basAngle.h"
#include "basHMapCoord.h"
#include "basLibrary.h"
#include "clsMap.h"
#include "clsMapFigure.h"
#include "clsMapUnit.h"

using plat::COLORREF;

namespace {

TraceHost& host() {
    static TraceHost h;
    return h;
}

QColor qcolor(COLORREF c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

// Digitised points stay 5 seconds inside the date line and 30 inside the poles.
constexpr int32_t kLonLimit = 647995;
constexpr int32_t kLatLimit = 323970;
constexpr int32_t kNoDistance = 2147483647;

int32_t pixelDistance(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const double dx = double(x1) - x2, dy = double(y1) - y2;
    return static_cast<int32_t>(std::min(2147483647.0, std::nearbyint(std::sqrt(dx * dx + dy * dy))));
}

} // namespace

void SetTraceHost(TraceHost h) { host() = std::move(h); }
const TraceHost& InstalledTraceHost() { return host(); }

const QString kTracePictureFilter =
    QStringLiteral("すべてのピクチャファイル(*.*)|*.BMP;*.GIF;*.PNG;*.JPG;*.JPEG;*.JPE|"
                   "BMPイメージファイル(*.BMP)|*.BMP|"
                   "GIFイメージファイル(*.GIF)|*.GIF|"
                   "PNGイメージファイル(*.PNG)|*.PNG|"
                   "JPEGイメージファイル|*.JPG;*.JPEG;*.JPE|");

frmTraceLogic& TraceDialog() {
    static frmTraceLogic dialog;
    return dialog;
}

// ---------------------------------------------------------------- opening

bool frmTraceLogic::Open() {
    OK = false;
    drag_ = 0;
    grabbed_ = false;
    undo_.reset();
    if (Mode != ModePoint && Mode != ModePoly) return false;
    if (Mode == ModePoint) {
        ActIndex = -1;
    } else if (Poly.Count() >= 1) {
        ActIndex = NormalizeIndex(Clamp(ActIndex, 1, Poly.Count()));
    } else {
        ActIndex = 0;   // the first click appends node 1
    }
    SetPhase(0);
    const int loaded = LoadImage();
    if (loaded == 0) ImageClick();
    else SetPhase(loaded);
    return true;
}

void frmTraceLogic::Close() {
    picture_.reset();
    shown_ = QImage();
    ClearMesh();
    undo_.reset();
    phase_ = 0;
    drag_ = 0;
    grabbed_ = false;
}

void frmTraceLogic::ClearMesh() {
    mesh_.Clear();
    members_.clear();
}

// ---------------------------------------------------------------- picture

int frmTraceLogic::LoadImage() {
    if (path_.isEmpty() || !FileExists(path_)) return 0;
    picture_.reset();
    shown_ = QImage();
    ClearMesh();
    // PNG, BMP, GIF and JPEG alike, refused when too large.
    picture_ = plat::LoadBitmapFromFile(path_);
    if (!picture_) {
        MsgError(path_ + QStringLiteral("\r\nを画像として読み込めません. (BMP, GIF, PNG, JPEG: 一辺 8000 ピクセル, 256 MiB まで)"));
        return 0;
    }
    shown_ = picture_->toRgb32();
    hsb_ = vsb_ = 0;
    if (onResize) onResize();
    caption();
    // A side file without a frame resumes the registration of crosses.
    if (LoadLLN(path_, mesh_) != LlnLoad::Loaded || mesh_.FrameCount() == 0) return 1;
    mesh_.GetFrameArea();
    repaint();
    if (!figureInPicture())
        plat::MsgBox(QStringLiteral("この画像は図形領域を含んでいないかもしれません"), plat::MbInformation);
    return 2;
}

bool frmTraceLogic::figureInPicture() {
    int32_t px = 0, py = 0;
    if (Mode == ModePoint) return mesh_.MapToImage(PointX, PointY, px, py) && InsidePicture(px, py);
    for (int32_t i = 1; i <= Poly.Count(); ++i)
        if (mesh_.MapToImage(Poly.x(i), Poly.y(i), px, py) && InsidePicture(px, py)) return true;
    return false;
}

QSize frmTraceLogic::PictureSize() const { return shown_.size(); }

bool frmTraceLogic::InsidePicture(int32_t px, int32_t py) const {
    return picture_ && 0 <= px && px <= shown_.width() && 0 <= py && py <= shown_.height();
}

void frmTraceLogic::setZoom(int zoom) {
    zoom_ = zoom == 2 ? 2 : 1;
    if (onResize) onResize();
    repaint();
}

QSize frmTraceLogic::ViewSize(QSize room) const {
    const QSize p = PictureSize() * zoom_;
    return {std::clamp(p.width(), 4, std::max(4, room.width())), std::clamp(p.height(), 4, std::max(4, room.height()))};
}

void frmTraceLogic::ImageClick() {
    const TraceHost& h = host();
    if (!h.InputLoadName) return;
    const QString name = h.InputLoadName(QStringLiteral("イメージファイル"), kTracePictureFilter, path_);
    if (name.isEmpty()) return;
    path_ = name;
    const int loaded = LoadImage();
    SetPhase(loaded);
}

void frmTraceLogic::caption() {
    QString mode = QStringLiteral("編集不能");
    if (phase_ == 1) mode = QStringLiteral("経緯線網編集");
    else if (phase_ == 2) mode = Mode == ModePoint ? QStringLiteral("地図図形編集／１点") : QStringLiteral("地図図形編集／連続線");
    texts_.caption = QStringLiteral("トレース - ") + FileNameOf(path_) + QStringLiteral(" [モード：") + mode + QLatin1Char(']');
}

void frmTraceLogic::repaint() {
    if (phase_ == 2 && Mode == ModePoly)
        controls_.del = Poly.IsLoop() ? Poly.Count() > 4 : Poly.Count() > 2;
    if (onRepaint) onRepaint();
}

// ---------------------------------------------------------------- phases

bool frmTraceLogic::SetPhase(int phase) {
    TraceControls c;
    switch (phase) {
    case 1:
        if (!picture_) return false;
        c.phaseCaption = QStringLiteral("登録完了(&F)");
        c.phaseTip = QStringLiteral("経緯線網を確定して地図図形編集モードに移行");
        c.phase = c.del = c.zoom = c.crossFrame = true;
        texts_.lon = LonToStr(0);
        texts_.lat = LatToStr(0);
        texts_.message = QStringLiteral("追加のときは交点をクリックして経緯度を入力.");
        break;
    case 2:
        if (mesh_.FrameCount() == 0) return false;
        c.phaseCaption = QStringLiteral("経緯線網(&G)");
        c.phaseTip = QStringLiteral("経緯線網編集モードに移行");
        c.phase = c.undo = c.zoom = c.snap = c.mark = c.nodeFrame = true;
        c.del = c.loop = Mode == ModePoly;
        texts_.message = QStringLiteral("地図図形を編集してください.");
        break;
    default:
        phase = 0;
        ClearMesh();
        c.phaseCaption = QStringLiteral("経緯線網(&G)");
        c.phaseTip = QStringLiteral("経緯線網編集モードに移行");
        texts_.message = QStringLiteral("画像を開いてください");
        break;
    }
    controls_ = c;
    phase_ = phase;
    drag_ = 0;
    grabbed_ = false;
    texts_.pointerX.clear();
    texts_.pointerY.clear();
    caption();
    if (phase_ == 1) {
        if (mesh_.ActiveCross >= 1) SetActIndexGrid(mesh_.ActiveCross);
        else {
            texts_.crossFrame = QStringLiteral("交点 [-]");
            texts_.crossX = texts_.crossY = QStringLiteral("-");
        }
    }
    showNode();
    repaint();
    return true;
}

void frmTraceLogic::PhaseClick() {
    if (phase_ == 2) {
        SetPhase(1);
        return;
    }
    if (phase_ != 1) return;
    texts_.message = QStringLiteral("経緯線網作成中...");
    if (!mesh_.CrossToFrame()) {
        plat::MsgBox(QStringLiteral("経緯線網を確立できません."), plat::MbCritical);
        SetPhase(1);
        return;
    }
    SaveLLN(path_, mesh_);
    mesh_.GetFrameArea();
    members_.clear();   // their picture positions came from the old mesh
    plat::MsgBox(QStringLiteral("経緯線網を確立しました.\rフレーム数 = ") + QString::number(mesh_.FrameCount()),
                 plat::MbInformation);
    SetPhase(2);
}

// ---------------------------------------------------------------- crosses

int32_t frmTraceLogic::hitCross(int32_t px, int32_t py) const {
    for (int32_t i = 1; i <= mesh_.CrossCount(); ++i) {
        const TraceCross& c = mesh_.GetCross(i);
        if (std::abs(int64_t(c.ix) - px) <= 4 && std::abs(int64_t(c.iy) - py) <= 4) return i;
    }
    return 0;
}

void frmTraceLogic::SetActIndexGrid(int32_t i) {
    const int32_t j = mesh_.NormalizeCross(i);
    if (j >= 1 && j <= mesh_.CrossCount()) {
        const TraceCross& c = mesh_.GetCross(j);
        mesh_.ActiveCross = j;
        texts_.crossFrame = QStringLiteral("交点 [%1]").arg(j);
        texts_.crossX = QString::number(c.ix);
        texts_.crossY = QString::number(c.iy);
        texts_.lon = LonToStr(c.lon);
        texts_.lat = LatToStr(c.lat);
    } else {
        mesh_.ActiveCross = -1;
        texts_.crossFrame = QStringLiteral("交点 [---]");
        texts_.crossX = texts_.crossY = QStringLiteral("-");
        texts_.lon.clear();
        texts_.lat.clear();
    }
    repaint();
}

void frmTraceLogic::LonLeft(const QString& text) {
    texts_.lon = text;
    angleLeft(&TraceCross::lon, text);
}

void frmTraceLogic::LatLeft(const QString& text) {
    texts_.lat = text;
    angleLeft(&TraceCross::lat, text);
}

void frmTraceLogic::angleLeft(int32_t TraceCross::*angle, const QString& text) {
    const int32_t a = mesh_.ActiveCross;
    if (phase_ != 1 || a < 1 || a > mesh_.CrossCount()) return;
    TraceCross c = mesh_.GetCross(a);
    c.*angle = AngleStrToSec(text);
    mesh_.SetCross(a, c);
    repaint();
}

void frmTraceLogic::crossUp(int32_t px, int32_t py) {
    if (drag_ == 1) {
        const int32_t a = mesh_.ActiveCross;
        if (a < 1 || a > mesh_.CrossCount()) return;
        TraceCross c = mesh_.GetCross(a);
        c.ix = px;
        c.iy = py;
        mesh_.SetCross(a, c);
        SetActIndexGrid(a);
    } else if (drag_ == 3) {
        mesh_.AddCross({px, py, AngleStrToSec(texts_.lon), AngleStrToSec(texts_.lat)});
        SetActIndexGrid(mesh_.CrossCount());
        texts_.message = QStringLiteral("交点数 = %1").arg(mesh_.CrossCount());
    }
}

// ---------------------------------------------------------------- the figure

int32_t frmTraceLogic::NormalizeIndex(int32_t i) const {
    if (Mode != ModePoly) return -1;
    if (Poly.IsLoop()) return WrapRange(i, 1, Poly.Count() - 1);
    return i >= 1 && i <= Poly.Count() ? i : -1;
}

bool frmTraceLogic::nodePos(int32_t i, int32_t& x, int32_t& y) const {
    if (Mode == ModePoint) {
        x = PointX;
        y = PointY;
        return true;
    }
    const int32_t j = NormalizeIndex(i);
    if (j < 1) return false;
    Poly.GetXandY(j, x, y);
    return true;
}

bool frmTraceLogic::nodeImage(int32_t i, int32_t& px, int32_t& py) {
    int32_t x = 0, y = 0;
    return nodePos(i, x, y) && mesh_.MapToImage(x, y, px, py);
}

int32_t frmTraceLogic::nodeDistance(int32_t px, int32_t py, int32_t i) {
    int32_t nx = 0, ny = 0;
    if (!nodeImage(i, nx, ny)) return kNoDistance;
    return pixelDistance(px, py, nx, ny);
}

bool frmTraceLogic::hitNode(int32_t px, int32_t py, int32_t i) {
    int32_t nx = 0, ny = 0;
    return nodeImage(i, nx, ny) && std::abs(int64_t(nx) - px) < 4 && std::abs(int64_t(ny) - py) < 4;
}

void frmTraceLogic::showNode() {
    int32_t x = 0, y = 0;
    const int32_t shown = Mode == ModePoint ? 1 : ActIndex;
    if (phase_ == 2 && nodePos(ActIndex, x, y)) {
        texts_.nodeFrame = QStringLiteral("ノード [%1]").arg(shown);
        texts_.nodeLon = LonToStr(x);
        texts_.nodeLat = LatToStr(y);
    } else {
        texts_.nodeFrame = QStringLiteral("ノード [-]");
        texts_.nodeLon = texts_.nodeLat = QStringLiteral("-");
    }
}

void frmTraceLogic::SetActIndexFig(int32_t i) {
    if (Mode != ModePoly) return;
    int32_t j = NormalizeIndex(i);
    if (j < 1 && Poly.Count() > 0) {
        if (i == 0) j = Poly.Count();
        else if (i > Poly.Count()) j = 1;
    }
    if (j >= 1 && j <= Poly.Count()) ActIndex = j;
    showNode();
    repaint();
}

void frmTraceLogic::SetPosFig(int32_t i, int32_t x, int32_t y) {
    if (Mode == ModePoint) {
        PointX = x;
        PointY = y;
    } else {
        int32_t j = NormalizeIndex(i);
        if (j < 1) return;
        if (Poly.IsLoop()) {
            if (j == Poly.Count()) j = 1;
            if (j == 1) Poly.SetXandY(Poly.Count(), x, y);   // the list stays closed
        }
        Poly.SetXandY(j, x, y);
    }
    showNode();
    repaint();
}

void frmTraceLogic::saveUndo() {
    undo_ = Undo{PointX, PointY, Poly.Copy(), ActIndex};
    if (phase_ == 2) controls_.undo = true;
}

void frmTraceLogic::UndoClick() {
    if (!undo_) return;
    PointX = undo_->x;
    PointY = undo_->y;
    if (Mode == ModePoly) {
        Poly = undo_->poly;
        ActIndex = undo_->act;
    }
    undo_.reset();
    controls_.undo = false;
    showNode();
    repaint();
}

void frmTraceLogic::figureUp(int32_t px, int32_t py) {
    int32_t x = 0, y = 0;
    if (!ImageToMapSnap(px, py, x, y)) return;
    x = Clamp(x, -kLonLimit, kLonLimit);
    y = Clamp(y, -kLatLimit, kLatLimit);
    const int32_t n = Poly.Count();
    switch (drag_) {
    case 1:
        saveUndo();
        SetPosFig(ActIndex, x, y);
        return;
    case 2: {
        saveUndo();
        const int32_t d1 = nodeDistance(px, py, ActIndex - 1), d2 = nodeDistance(px, py, ActIndex + 1);
        if (d1 > d2) {
            int32_t j = NormalizeIndex(ActIndex + 1);
            if (j == 1) j = n;   // on a closed list: before the closing node
            if (j < 1) j = n;
            Poly.InsXandY(j, x, y);
            ActIndex = j;
        } else {
            const int32_t j = std::max(NormalizeIndex(ActIndex - 1), 0);
            if (j >= n) Poly.AddXandY(x, y);
            else Poly.InsXandY(j + 1, x, y);
            ActIndex = j + 1;
        }
        break;
    }
    case 3:
        saveUndo();
        if (n < 2 || ActIndex != 1) {
            Poly.AddXandY(x, y);
            ActIndex = Poly.Count();
        } else {
            Poly.InsXandY(1, x, y);
        }
        break;
    default:
        return;
    }
    showNode();
    repaint();
}

void frmTraceLogic::DeleteClick() {
    if (phase_ == 1) {
        const int32_t a = mesh_.ActiveCross;
        if (a < 1 || a > mesh_.CrossCount()) return;
        mesh_.DeleteCross(a);
        SetActIndexGrid(std::min(a, mesh_.CrossCount()));
        return;
    }
    if (phase_ != 2 || Mode != ModePoly) return;
    saveUndo();
    const int32_t n = Poly.Count();
    if (ActIndex >= 1 && ActIndex <= n) {
        if (Poly.IsLoop() && (ActIndex == 1 || ActIndex == n)) {
            Poly.Del(1);
            Poly.SetXandY(Poly.Count(), Poly.x(1), Poly.y(1));
        } else {
            Poly.Del(ActIndex);
        }
    }
    if (ActIndex > Poly.Count()) ActIndex = Poly.Count();
    showNode();
    repaint();
}

void frmTraceLogic::LoopClick() {
    if (phase_ != 2 || Mode != ModePoly) return;
    saveUndo();
    Poly.MakeLoop();
    drag_ = 0;
    repaint();
}

void frmTraceLogic::ColorClick() {
    const int i = 1 + std::clamp(static_cast<int>(plat::Rnd() * 15), 0, 14);
    drawColor_ = plat::StandardColor16(i);
    repaint();
}

// ---------------------------------------------------------------- mouse and keys

void frmTraceLogic::MouseDown(int32_t vx, int32_t vy) {
    pointerX_ = ViewToImageX(vx);
    pointerY_ = ViewToImageY(vy);
    grabbed_ = false;
    drag_ = 0;
    if (phase_ == 1) {
        const int32_t hit = hitCross(pointerX_, pointerY_);
        if (hit > 0) {
            SetActIndexGrid(hit);
            grabbed_ = true;
            drag_ = 1;
        } else {
            drag_ = 3;
        }
    } else if (phase_ == 2) {
        drag_ = 1;
        if (Mode == ModePoint) {
            grabbed_ = hitNode(pointerX_, pointerY_, ActIndex);
        } else {
            for (int32_t i = 1; i <= Poly.Count() && !grabbed_; ++i) {
                if (!hitNode(pointerX_, pointerY_, i)) continue;
                SetActIndexFig(i);
                grabbed_ = true;
            }
            if (!grabbed_) drag_ = !Poly.IsLoop() && (ActIndex == 1 || ActIndex == Poly.Count()) ? 3 : 2;
        }
    }
    repaint();
}

void frmTraceLogic::MouseMove(int32_t vx, int32_t vy) {
    pointerX_ = ViewToImageX(vx);
    pointerY_ = ViewToImageY(vy);
    if (phase_ == 1) {
        texts_.pointerX = QStringLiteral("X=%1").arg(pointerX_);
        texts_.pointerY = QStringLiteral("Y=%1").arg(pointerY_);
    } else if (phase_ == 2) {
        int32_t lon = 0, lat = 0, nx = 0, ny = 0;
        if (mesh_.ImageToMap(pointerX_, pointerY_, lon, lat)) {
            texts_.pointerX = LonToStr(lon);
            texts_.pointerY = LatToStr(lat);
            if (grabbed_ && nodePos(ActIndex, nx, ny))
                texts_.message = QStringLiteral("移動距離：") + AngleToStr(lon - nx) + QStringLiteral(", ") + AngleToStr(lat - ny);
        } else {
            texts_.pointerX.clear();
            texts_.pointerY.clear();
        }
    }
    if (grabbed_) repaint();
}

void frmTraceLogic::MouseUp(int32_t vx, int32_t vy) {
    pointerX_ = ViewToImageX(vx);
    pointerY_ = ViewToImageY(vy);
    if (phase_ == 1) crossUp(pointerX_, pointerY_);
    else if (phase_ == 2) figureUp(pointerX_, pointerY_);
    drag_ = 0;
    grabbed_ = false;
    repaint();
}

bool frmTraceLogic::KeyDown(int key) {
    if (phase_ != 1 && phase_ != 2) return false;
    int32_t dx = 0, dy = 0;
    switch (key) {
    case plat::KeyDelete:
        DeleteClick();
        return true;
    case plat::KeyPageUp:
    case plat::KeyPageDown: {
        const int32_t step = key == plat::KeyPageUp ? -1 : 1;
        if (phase_ == 1) SetActIndexGrid(mesh_.ActiveCross + step);
        else SetActIndexFig(ActIndex + step);
        return true;
    }
    case plat::KeyLeft: dx = -1; break;
    case plat::KeyRight: dx = 1; break;
    case plat::KeyUp: dy = -1; break;
    case plat::KeyDown: dy = 1; break;
    default: return false;
    }
    if (phase_ == 1) {
        const int32_t a = mesh_.ActiveCross;
        if (a < 1 || a > mesh_.CrossCount()) return true;
        TraceCross c = mesh_.GetCross(a);
        c.ix = SafeCLng(double(c.ix) + dx);
        c.iy = SafeCLng(double(c.iy) + dy);
        mesh_.SetCross(a, c);
        SetActIndexGrid(a);
        return true;
    }
    saveUndo();
    int32_t px = 0, py = 0, lon = 0, lat = 0;
    if (nodeImage(ActIndex, px, py) && mesh_.ImageToMap(SafeCLng(double(px) + dx), SafeCLng(double(py) + dy), lon, lat))
        SetPosFig(ActIndex, lon, lat);
    return true;
}

// ---------------------------------------------------------------- members

void frmTraceLogic::MakeMembers() {
    members_.clear();
    if (!host().CurrentUnits || CurrentMapMode() != 1) return;
    for (const MapUnitPtr& unit : host().CurrentUnits()) {
        if (!unit) continue;
        for (const MapFigurePtr& figure : unit->Map()) {
            const std::shared_ptr<clsPoly> poly = figure->Poly();
            const int32_t color =
                unit->DisplaySwitch() ? int32_t(plat::StandardColor16(std::clamp(figure->FigCode() + 7, 8, 12))) : -1;
            for (const PolyPoint& p : poly->Points()) {
                int32_t px = 0, py = 0;
                if (mesh_.MapToImage(p.x, p.y, px, py) && InsidePicture(px, py)) members_.push_back({p.x, p.y, px, py, color});
            }
        }
    }
    members_.shrink_to_fit();
}

bool frmTraceLogic::ImageToMapSnap(int32_t px, int32_t py, int32_t& lon, int32_t& lat) {
    if (!mesh_.ImageToMap(px, py, lon, lat)) return false;
    if (!snap_) return true;
    if (members_.empty()) MakeMembers();
    const int32_t k = NearestMember(members_, px, py);
    if (k >= 0) {
        lon = members_[static_cast<size_t>(k)].mx;
        lat = members_[static_cast<size_t>(k)].my;
    }
    return true;
}

// ---------------------------------------------------------------- the view

QImage frmTraceLogic::Render(QSize view) {
    QImage out(view, QImage::Format_RGB32);
    out.fill(Qt::white);
    if (!picture_) return out;
    QPainter p(&out);
    const QRect source(hsb_, vsb_, view.width() / zoom_, view.height() / zoom_);
    p.drawImage(QRect(QPoint(0, 0), source.size() * zoom_), shown_, source);

    if (phase_ == 2 && mark_) {
        if (members_.empty()) MakeMembers();
        p.setPen(Qt::NoPen);
        for (const TraceMember& m : members_) {
            if (m.color <= 0) continue;
            const QPointF c(ImageToViewX(m.px), ImageToViewY(m.py));
            p.setBrush(Qt::red);
            p.drawEllipse(c, 3, 3);
            p.setBrush(qcolor(COLORREF(m.color)));
            p.drawEllipse(c, 2, 2);
        }
    }

    // The marks are inverted in the drawing colour, as on the map view.
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(qcolor(drawColor_));
    p.setBrush(Qt::NoBrush);
    const auto square = [&p](int32_t vx, int32_t vy, int size, bool filled) {
        const QRect r(vx - size / 2, vy - size / 2, size, size);
        if (filled) p.fillRect(r, p.pen().color());
        else p.drawRect(r.adjusted(0, 0, -1, -1));
    };
    const int32_t pvx = ImageToViewX(pointerX_), pvy = ImageToViewY(pointerY_);
    if (phase_ == 1) {
        for (int32_t i = 1; i <= mesh_.CrossCount(); ++i) {
            const TraceCross& c = mesh_.GetCross(i);
            square(ImageToViewX(c.ix), ImageToViewY(c.iy), 10, false);
            if (i == mesh_.ActiveCross) square(ImageToViewX(c.ix), ImageToViewY(c.iy), 8, true);
        }
        if (grabbed_) square(pvx, pvy, 10, false);
    } else if (phase_ == 2) {
        const int32_t n = Mode == ModePoint ? 1 : Poly.Count();
        const int32_t marked = Mode == ModePoly && Poly.IsLoop() ? n - 1 : n;
        bool prevShown = false;
        QPoint prev;
        for (int32_t i = 1; i <= n; ++i) {
            int32_t px = 0, py = 0;
            const bool shown = nodeImage(Mode == ModePoint ? ActIndex : i, px, py) && InsidePicture(px, py);
            const QPoint v(ImageToViewX(px), ImageToViewY(py));
            const bool active = Mode == ModePoint || NormalizeIndex(i) == ActIndex;
            if (shown && i <= marked && !active) square(v.x(), v.y(), 8, false);
            if (shown && prevShown) p.drawLine(prev, v);
            prevShown = shown;
            prev = v;
        }
        int32_t ax = 0, ay = 0;
        if (nodeImage(ActIndex, ax, ay) && InsidePicture(ax, ay)) square(ImageToViewX(ax), ImageToViewY(ay), 8, true);
        if (grabbed_) {
            std::vector<int32_t> from;
            if (Mode == ModePoly && (drag_ == 1 || drag_ == 2)) from = {ActIndex - 1, ActIndex + 1};
            else from = {ActIndex};
            for (int32_t i : from) {
                int32_t nx = 0, ny = 0;
                if (nodeImage(i, nx, ny)) p.drawLine(QPoint(ImageToViewX(nx), ImageToViewY(ny)), QPoint(pvx, pvy));
            }
            square(pvx, pvy, 9, false);
        }
    }
    return out;
}
