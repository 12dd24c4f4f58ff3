#include "ViewSurvey.h"

#include <QLocale>

#include <cmath>

#include "MapViewHost.h"
#include "MessageBox.h"
#include "ViewOverlay.h"
#include "basAngle.h"
#include "basGlobePolyLib.h"
#include "basHMapCoord.h"
#include "basHMapView.h"
#include "basNumberText.h"
#include "clsMapPlot.h"
#include "clsSurvey.h"

namespace {

constexpr double kPi = 3.14159265358979;
constexpr int32_t kRouteStep = 3600;   // a band point every degree of the great circle
constexpr plat::COLORREF kBandColor = 0x00FF00;

const QString kReportTitle = QStringLiteral("測量結果");

int32_t RoundHalfEven(double v) { return static_cast<int32_t>(std::nearbyint(v)); }

// Every run of consecutive visible points (two or more) of a map piece.
void AppendVisibleRuns(const clsPoly& piece, PolyCollection& out) {
    clsPoly run;
    auto flush = [&] {
        if (run.Count() >= 2) out.push_back(run);
        run = clsPoly();
    };
    for (const PolyPoint& p : piece.Points()) {
        int32_t vx = 0, vy = 0;
        if (PosMapToViewNear(p.x, p.y, vx, vy)) run.AddXandY(vx, vy);
        else flush();
    }
    flush();
}

} // namespace

QString FormatStandard(double value) {
    const double r = std::round(value * 100.0) / 100.0;
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(r, 'f', 2);
}

void SetBandPen(plat::DeviceContext* dc) {
    dc->SetROP2(plat::R2_XORPEN);
    dc->SelectPen(plat::CreatePen(plat::PS_SOLID, 2, kBandColor));
}

void ViewSurvey::mnuSurvey_Click() {
    if (SurveyMode == Off) {
        SetBandPen(overlay_.dc());
        host_.SetViewCursor(1104);
        host_.SetStatusText(QStringLiteral("測量：始点をクリック"));
        SurveyRoute = clsPoly();
        SurveyRubber.clear();
        SurveyLength = 0;
        SurveyMode = On;
        return;
    }
    SurveyMode = Off;
    overlay_.Clear();
    host_.PaintViewFromCanvas();
    SurveyRubber.clear();
    SurveyRoute = clsPoly();
    SurveyLength = 0;
    host_.SetViewCursor(1101);
    host_.SetStatusText(QString());
}

PolyCollection ViewSurvey::SurveyMakeRubber() const {
    PolyCollection band;
    clsMapPlot* plot = CurrentMapPlot();
    if (!plot) return band;
    if (CurrentMapMode() == 1) {
        clsSurvey survey;
        survey.SetAll(SurveyLastX, SurveyLastY, SurveyX, SurveyY);
        clsPoly route = survey.RoutePoly(kRouteStep);
        for (const clsPoly& piece : GlobePolyRound(route, plot->CenterX(), true, false))
            AppendVisibleRuns(piece, band);
        return band;
    }
    // A straight leg; an end off the canvas still has its pixel, so the
    // line runs out of the view towards it.
    clsPoly line;
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    PosMapToViewNear(SurveyLastX, SurveyLastY, x1, y1);
    PosMapToViewNear(SurveyX, SurveyY, x2, y2);
    line.AddXandY(x1, y1);
    line.AddXandY(x2, y2);
    band.push_back(line);
    return band;
}

void ViewSurvey::SurveyDrawRubber() {
    if (host_.Plotting() || !IsStarted() || SurveyRubber.empty()) return;
    for (const clsPoly& piece : SurveyRubber) piece.DrawPolyline(overlay_.dc());
    SurveyMode ^= Drawn;
}

double ViewSurvey::SurveyPrint() {
    if (printing_) return 0;
    printing_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{printing_};

    double distance = 0;
    int32_t azimuth = 0;
    if (CurrentMapMode() == 1) {
        clsSurvey survey;
        survey.SetAll(SurveyLastX, SurveyLastY, SurveyX, SurveyY);
        azimuth = RoundHalfEven(survey.DirectionRadian() * 180 / kPi) % 360;
        distance = survey.ArcDistance();
    } else {
        const double dx = double(SurveyX) - SurveyLastX, dy = double(SurveyY) - SurveyLastY;
        azimuth = 90 - RoundHalfEven(AnglePosToRadian(dx, dy) * 180 / kPi);
        if (azimuth < 0) azimuth += 360;
        distance = Hypot(dx, dy);
    }
    host_.SetStatusText(QStringLiteral("測量：距離=") + FormatStandard(distance / 1000) + QStringLiteral("km ") +
                        QStringLiteral("方位角=") + QString::number(azimuth) +
                        QStringLiteral("ﾟ  (右クリックで経路完了)"));
    // While a plot runs the band stays as it is: its erasing would be
    // skipped, and the band kept would no longer be the one on the view.
    if (!host_.Plotting()) {
        PolyCollection band = SurveyMakeRubber();
        if (SurveyMode & Drawn) SurveyDrawRubber();
        SurveyRubber = std::move(band);
        SurveyDrawRubber();
    }
    return distance;
}

void ViewSurvey::FixPoint(int32_t mapX, int32_t mapY) {
    SurveyX = mapX;
    SurveyY = mapY;
    if (IsStarted()) SurveyLength += SurveyPrint();
    SurveyRoute.AddXandY(mapX, mapY);
    SurveyLastX = mapX;
    SurveyLastY = mapY;
    SurveyMode = Started;   // the fixed leg's band stays on the view
    SurveyRubber.clear();
    SurveyPrint();
}

void ViewSurvey::MoveTo(int32_t mapX, int32_t mapY) {
    SurveyX = mapX;
    SurveyY = mapY;
    SurveyPrint();
}

void ViewSurvey::SurveyReplot() {
    if (!IsStarted()) return;
    if (SurveyMode & Drawn) SurveyDrawRubber();
    const int32_t lastX = SurveyLastX, lastY = SurveyLastY, x = SurveyX, y = SurveyY;
    const int16_t mode = SurveyMode;
    for (int32_t i = 2; i <= SurveyRoute.Count(); ++i) {
        SurveyRoute.GetXandY(i - 1, SurveyLastX, SurveyLastY);
        SurveyRoute.GetXandY(i, SurveyX, SurveyY);
        SurveyMode = Started;
        SurveyPrint();
    }
    SurveyLastX = lastX;
    SurveyLastY = lastY;
    SurveyX = x;
    SurveyY = y;
    SurveyMode = mode & ~Drawn;
}

void ViewSurvey::SurveyReport() {
    if (SurveyMode & Drawn) SurveyDrawRubber();
    const int32_t n = SurveyRoute.Count();
    if (n < 2) return;
    const bool xy = CurrentMapMode() != 1;
    QString text = QStringLiteral("ノード数 = ") + QString::number(n) + QStringLiteral("\r\n総延長 = ") +
                   FormatStandard(SurveyLength / 1000) + QStringLiteral(" km");
    plat::DeviceContext* dc = overlay_.dc();
    const plat::Pen pen = dc->CurrentPen();
    if (n >= 3) {
        const double area = xy ? SurveyRoute.Area() : clsSurvey().PolyArea(SurveyRoute);
        text += QStringLiteral("  (点線を含まず)\r\n面積 = ") + FormatStandard(area / 1000000) + QStringLiteral(" k㎡");
        dc->SelectPen(plat::CreatePen(plat::PS_DOT, 1, pen.color));
        SurveyRoute.GetLastXandY(SurveyLastX, SurveyLastY);
        SurveyRoute.GetXandY(1, SurveyX, SurveyY);
        SurveyRubber = SurveyMakeRubber();
        SurveyMode = Started;
        SurveyDrawRubber();
    }
    if (xy) text += QStringLiteral("\r\n\r\nＸＹモードのため, 地図平面上の値であり, 球面上の値ではありません.");
    host_.SetStatusText(QString());
    plat::MsgBox(text, plat::MbInformation, kReportTitle);
    if (n >= 3) {
        if (SurveyMode & Drawn) SurveyDrawRubber();
        dc->SelectPen(pen);
    }
}
