#include "frmRegularPolygonLogic.h"

#include <cmath>
#include <optional>

#include "FigureWindows.h"
#include "RuntimeMath.h"
#include "basAngle.h"
#include "basGlobe.h"
#include "basHMapCoord.h"
#include "basHMapEdit.h"
#include "basNumberText.h"
#include "clsSurvey.h"

namespace {

constexpr double kTwoPi = 6.28318530717958;

} // namespace

void frmRegularPolygonLogic::Load() {
    OK = false;
    if (count_ < kMinCount) {
        azimuth_ = 0;
        distance_ = 100000;
        count_ = 64;
    }
}

void frmRegularPolygonLogic::Activate() { computeStartVertex(); }

std::array<QString, 4> frmRegularPolygonLogic::CoordinateLabels() const {
    if (MapMode == 1)
        return {QStringLiteral("経度(&X):"), QStringLiteral("緯度(&Y):"), QStringLiteral("経度(&P):"),
                QStringLiteral("緯度(&Q):")};
    return {QStringLiteral("Ｘ(&X):"), QStringLiteral("Ｙ(&Y):"), QStringLiteral("Ｘ(&P):"), QStringLiteral("Ｙ(&Q):")};
}

frmRegularPolygonLogic::Texts frmRegularPolygonLogic::Show() const {
    Texts t;
    t.cx = MapXToStr(CenterX);
    t.cy = MapYToStr(CenterY);
    t.sx = MapXToStr(startX_);
    t.sy = MapYToStr(startY_);
    t.azimuth = AngleToStr(RadianToSec(azimuth_));
    t.distance = QString::number(distance_ / 1000, 'f', 2) + QStringLiteral("km");
    t.count = QString::number(count_);
    return t;
}

double frmRegularPolygonLogic::ReadAzimuth(const QString& text) { return SecToRadian(AngleStrToSec(text)); }

double frmRegularPolygonLogic::ReadDistance(const QString& text) {
    // Lengths as typed: upper case would turn "m" into the minute mark.
    const QString t = text.trimmed();
    try {
        return StrToMeter(t, QStringLiteral("km"));
    } catch (...) {
        return plat::Int(SecToRadian(AngleStrToSec(t.toUpper())) * GlobeRadius + 0.5);
    }
}

// The coordinate of a text when it reads and lies in the map's range
// (the range message otherwise).
std::optional<int32_t> frmRegularPolygonLogic::readCoordinate(const QString& text, bool isX) {
    const MapCoordinateText& c = InstalledMapCoordinateText();
    const auto& read = isX ? c.strToXSafe : c.strToYSafe;
    const auto& valid = isX ? c.isValidX : c.isValidY;
    if (!read || !valid) return std::nullopt;
    const int32_t v = read(text);
    if (!valid(v, true)) return std::nullopt;
    return v;
}

bool frmRegularPolygonLogic::centreField(const QString& text, int32_t& coordinate, bool isX) {
    const std::optional<int32_t> v = readCoordinate(text, isX);
    if (!v) return false;
    coordinate = *v;
    computeStartVertex();
    return true;
}

bool frmRegularPolygonLogic::startField(const QString& text, int32_t& coordinate, bool isX) {
    const std::optional<int32_t> v = readCoordinate(text, isX);
    if (!v) return false;
    coordinate = *v;
    computeAzimuthAndDistance();
    return true;
}

bool frmRegularPolygonLogic::AzimuthValidate(const QString& text) {
    azimuth_ = ReadAzimuth(text);
    computeStartVertex();
    return true;
}

bool frmRegularPolygonLogic::DistanceValidate(const QString& text) {
    const double d = ReadDistance(text);
    if (!(d > 0 && d < GlobeCircumference / 2)) return false;
    distance_ = d;
    computeStartVertex();
    return true;
}

bool frmRegularPolygonLogic::CountValidate(const QString& text) {
    int32_t n = 0;
    try {
        n = plat::CLng(JstrToDouble(text));
    } catch (...) {
        n = 0;
    }
    if (n < kMinCount || n > kMaxCount) return false;
    count_ = n;
    return true;
}

void frmRegularPolygonLogic::computeStartVertex() {
    if (MapMode == 1) {
        // From the centre itself, so that neither a start vertex on the
        // centre nor one across the globe loses the azimuth; the arc is set
        // once more because turning worked on the rounded first point.
        const double arc = distance_ / GlobeRadius;
        clsSurvey s;
        s.SetAll(CenterX, CenterY, CenterX, CenterY);
        s.setArcRadian(arc);
        s.setDirectionRadian(azimuth_);
        s.setArcRadian(arc);
        startX_ = s.Lon2;
        startY_ = s.Lat2;
    } else {
        startX_ = plat::CLng(std::sin(azimuth_) * distance_ + CenterX);
        startY_ = plat::CLng(std::cos(azimuth_) * distance_ + CenterY);
    }
}

void frmRegularPolygonLogic::computeAzimuthAndDistance() {
    if (MapMode == 1) {
        clsSurvey s;
        s.SetAll(CenterX, CenterY, startX_, startY_);
        azimuth_ = s.DirectionRadian();
        distance_ = s.ArcDistance();
    } else {
        const double dx = double(startX_) - CenterX, dy = double(startY_) - CenterY;
        azimuth_ = AnglePosToRadian(dy, dx);
        distance_ = Hypot(dx, dy);
    }
}

bool frmRegularPolygonLogic::pick(bool centre) {
    const FigPolyWindows& w = InstalledFigPolyWindows();
    if (!WindowBuilt(bool(w.draw), QStringLiteral("地図上の編集画面"))) return false;
    DrawWindowRequest req;
    req.Title = centre ? QStringLiteral("多角形の中心") : QStringLiteral("多角形の開始頂点");
    req.PointX = centre ? CenterX : startX_;
    req.PointY = centre ? CenterY : startY_;
    req.CenterView = false;
    const plat::DialogPosition corner = windowCorner ? windowCorner() : plat::DialogPosition{};
    req.firstPosition = {corner.left + 600, corner.top + 600};
    if (!w.draw(req)) return false;
    if (centre) {
        CenterX = req.PointX;
        CenterY = req.PointY;
        computeStartVertex();
    } else {
        startX_ = req.PointX;
        startY_ = req.PointY;
        computeAzimuthAndDistance();
    }
    return true;
}

void frmRegularPolygonLogic::PickCenter() { pick(true); }
void frmRegularPolygonLogic::PickStart() { pick(false); }

clsPoly frmRegularPolygonLogic::Build() const {
    const double step = kTwoPi / count_;
    clsPoly poly;
    poly.AddXandY(startX_, startY_);
    if (MapMode == 1) {
        clsSurvey s;
        s.SetAll(CenterX, CenterY, startX_, startY_);
        const double a0 = s.DirectionRadian();
        for (int32_t k = 1; k < count_; ++k) {
            s.SetAll(CenterX, CenterY, startX_, startY_);
            s.setDirectionRadian(a0 + k * step);
            poly.AddXandY(s.Lon2, s.Lat2);
        }
    } else {
        const double dx0 = double(startX_) - CenterX, dy0 = double(startY_) - CenterY;
        for (int32_t k = 1; k < count_; ++k) {
            double dx = dx0, dy = dy0;
            RotateXY(k * step, dx, dy);
            poly.AddXandY(plat::CLng(dx + CenterX), plat::CLng(dy + CenterY));
        }
    }
    poly.MakeLoop();
    return poly;
}

OkOutcome frmRegularPolygonLogic::OkClick() {
    clsPoly poly = Build();
    // All vertices on one point (start on the centre or its antipode) is
    // no polygon either.
    bool spread = false;
    for (int32_t i = 2; i <= poly.Count() && !spread; ++i) spread = poly.GetPoint(i) != poly.GetPoint(1);
    if (poly.Count() < 4 || !spread) {
        if (AskCorrectSettings()) return OkOutcome::Stay;
        OK = false;
        return OkOutcome::Cancelled;
    }
    Poly = std::move(poly);
    OK = true;
    return OkOutcome::Closed;
}

frmRegularPolygonLogic& RegularPolygon() {
    static frmRegularPolygonLogic instance;
    return instance;
}
