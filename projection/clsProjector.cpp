#include "clsProjector.h"

#include "AppState.h"
#include "ErrorMng.h"
#include "MapProjection.h"
#include "ResString.h"
#include "SettingsStore.h"
#include "basAngle.h"
#include "basGlobe.h"
#include "basLibrary.h"
#include "clsEnvironment.h"
#include "clsRegistry.h"

#include <algorithm>
#include <cstdlib>

namespace {

const QString kClass = QStringLiteral("clsProjector");

constexpr int32_t kConeMin = 108000;
constexpr int32_t kConeMax = 540000;
constexpr int32_t kHalfTurn = 648000;
constexpr int32_t kQuarterTurn = 324000;
// The projection names of the string table, in catalogue order.
constexpr int kPrjNameRes = 5000;

// A stored or typed number brought into 32 bits, so that a range test sees
// it as the out-of-range value it is rather than a wrapped one.
int32_t saturate(long long v) { return static_cast<int32_t>(std::clamp<long long>(v, INT32_MIN, INT32_MAX)); }

double envVal(const QString& key, double def, double lo, double hi) {
    return gvEnvironment ? gvEnvironment->GetVal(key, def, lo, hi) : def;
}

// The catalogue index of a projection name of Environment.txt. A name the
// display names lack is looked up among the built-in names, and an unknown
// one gives the built-in default, so that no choice can leave 1..30.
int16_t resolvePrjName(const QString& key, int16_t def) {
    const QString defName = plat::LoadResString(kPrjNameRes + def);
    const QString name = gvEnvironment ? gvEnvironment->GetString(key, defName) : defName;
    const int16_t byDisplay = PrjIndexOf(name);
    if (byDisplay >= PrjIndexMin) return byDisplay;
    for (int16_t i = PrjIndexMin; i <= PrjIndexMax; ++i)
        if (plat::LoadResString(kPrjNameRes + i) == name) return i;
    return def;
}

} // namespace

clsProjector* gvProjector = nullptr;

clsProjector::clsProjector()
    : scale_(MapScaleMax / 10), field_(std::make_shared<clsRect>()), grid_(std::make_shared<ProjectorGrid>()) {
    try {
        field_->x1 = -kHalfTurn;
        field_->y1 = -kQuarterTurn;
        field_->x2 = kHalfTurn;
        field_->y2 = kQuarterTurn;
        highLat_ = static_cast<int32_t>(envVal(QStringLiteral("MainHighLat"), 270000, 162000, 324000));
        lowLat_ = static_cast<int32_t>(envVal(QStringLiteral("MainLowLat"), 54000, 0, 162000));
        smallRatio_ = envVal(QStringLiteral("MainSmallRatio"), 5, 1, 10000);
        highPrj_ = resolvePrjName(QStringLiteral("MainHighPrj"), highPrj_);
        middlePrj_ = resolvePrjName(QStringLiteral("MainMiddlePrj"), middlePrj_);
        lowPrj_ = resolvePrjName(QStringLiteral("MainLowPrj"), lowPrj_);
        smallPrj_ = resolvePrjName(QStringLiteral("MainSmallPrj"), smallPrj_);
        smartNodeMax_ = static_cast<int32_t>(envVal(QStringLiteral("MainPrjPolySmartNodeMax"), 5000, 1000, 30000));
        textRotate_ = envVal(QStringLiteral("MainPrjTextRotate"), 1, 0, 1) == 1;
        ReadRegistry();
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("Class_Initialize"));
    }
}

clsProjector::~clsProjector() {
    try {
        WriteRegistry();
    } catch (...) {
        // A destructor cannot pass the failure on; the settings stay as stored.
    }
}

// ---------------------------------------------------------------------------
// Settings

void clsProjector::StoreIndex(int16_t index) {
    index_ = index;
    prjReady_ = false;
    LimitSecant();
}

void clsProjector::LimitSecant() { secant_ = std::min(secant_, MaxSecant()); }

void clsProjector::setPrjIndex(int32_t index) {
    if (InRange(index, PrjIndexMin, PrjIndexMax)) StoreIndex(static_cast<int16_t>(index));
}

QString clsProjector::PrjName() const { return PrjNameOf(index_); }
int32_t clsProjector::PrjStatus() const { return PrjAttribute(index_); }

void clsProjector::setCenterLon(int32_t lon) {
    centerLon_ = NormalizeLon(lon);
    prjReady_ = false;
}

void clsProjector::setCenterLat(int32_t lat) {
    if (!InRange(lat, -kQuarterTurn, kQuarterTurn)) return;
    centerLat_ = lat;
    prjReady_ = false;
}

void clsProjector::setPoler(int32_t angle) {
    poler_ = NormalizeLon(angle);
    prjReady_ = false;
}

void clsProjector::setCone(int32_t cone) {
    if (!InRange(cone, kConeMin, kConeMax)) return;
    cone_ = cone;
    prjReady_ = false;
    LimitSecant();
}

void clsProjector::setSecant(int32_t secant) {
    if (!InRange(secant, 0, MaxSecant())) return;
    secant_ = secant;
    prjReady_ = false;
}

void clsProjector::setLight(double ratio) {
    if (!IsLightRatio(ratio)) return;
    light_ = ratio;
    prjReady_ = false;
}

void clsProjector::setDivision(int32_t n) {
    if (!InRange(n, 6, 36)) return;
    division_ = static_cast<int16_t>(n);
    prjReady_ = false;
}

void clsProjector::setMapScale(double scale) {
    if (IsMapScale(scale)) scale_ = scale;
}

int32_t clsProjector::MaxSecant() const { return PrjMaxSecant(index_, cone_); }

int32_t clsProjector::PrjNorth() {
    SetupPrjPoint();
    return north_;
}

int32_t clsProjector::PrjSouth() {
    SetupPrjPoint();
    return south_;
}

void clsProjector::setField(const std::shared_ptr<clsRect>& field) {
    if (!field) return;
    const int32_t south = Clamp(std::min(field->y1, field->y2), -kQuarterTurn, kQuarterTurn);
    const int32_t north = Clamp(std::max(field->y1, field->y2), -kQuarterTurn, kQuarterTurn);
    // Field by field: west may lie east of east.
    field->x1 = NormalizeLon(field->x1);
    field->x2 = NormalizeLon(field->x2);
    field->y1 = south;
    field->y2 = north;
    field_ = field;
}

void clsProjector::setGrid(const ProjectorGridPtr& grid) {
    if (grid) grid_ = grid;
}

void clsProjector::SetupPrjPoint() {
    try {
        prjPoint_.setPrjIndex(index_);
        prjPoint_.setCenterLon(SecToRadian(centerLon_));
        prjPoint_.setCenterLat(SecToRadian(centerLat_));
        prjPoint_.setPolerDirection(SecToRadian(poler_));
        prjPoint_.setCone(SecToRadian(cone_));
        prjPoint_.setSecant(SecToRadian(secant_));
        prjPoint_.setLight(light_);
        prjPoint_.setDivision(division_);
        PrjLatLimit(index_, centerLat_, cone_, light_, north_, south_);
        prjReady_ = true;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("SetupPrjPoint"));
    }
}

// ---------------------------------------------------------------------------
// Automatic choice

void clsProjector::SetAuto() {
    try {
        if (FieldWorld) {
            field_->x1 = -kHalfTurn;
            field_->y1 = -kQuarterTurn;
            field_->x2 = kHalfTurn;
            field_->y2 = kQuarterTurn;
        }
        // The rules test the mask of the projection chosen before.
        const int32_t m = PrjAttribute(index_);
        if (AutoProjection) {
            const int32_t a = std::abs(centerLat_);
            if (a >= highLat_ && !(m & PrjAreaHighLat)) StoreIndex(highPrj_);
            if (a <= lowLat_ && a < highLat_ && !(m & PrjAreaLowLat)) StoreIndex(lowPrj_);
            if (a > lowLat_ && a < highLat_ && !(m & PrjAreaMiddleLat)) StoreIndex(middlePrj_);
            if (a < highLat_ && scale_ >= MapScaleMax / smallRatio_ && !(m & (PrjAreaWorld | PrjAreaContinent)))
                StoreIndex(smallPrj_);
            RightAxis = true;
        }
        if (RightAxis) {
            const int32_t m2 = PrjAttribute(index_);
            int32_t lat = centerLat_;
            if (m2 & PrjShapeCircle) lat = lat >= 0 ? kQuarterTurn : -kQuarterTurn;
            if (!(m2 & (PrjShapeCircle | PrjParamCone))) lat = 0;
            if (m2 & PrjParamCone) lat = lat >= 0 ? Clamp(lat, 54000, 270000) : Clamp(lat, -270000, -54000);
            if (!(m2 & (PrjParamLon | PrjParamLat))) {
                centerLon_ = 0;
                lat = 0;
            }
            centerLat_ = lat;
            poler_ = 0;
            cone_ = Clamp(2 * std::abs(lat), kConeMin, kConeMax);
            prjReady_ = false;
            LimitSecant();
        }
        grid_->setArea(*field_);
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("SetAuto"));
    }
}

void clsProjector::SynchroPlot(const ProjectorPlotSource& plot) {
    try {
        setField(std::make_shared<clsRect>(plot.Field()));
        setCenterLon(plot.CenterX());
        setCenterLat(plot.CenterY());
        setMapScale(plot.MapScale());
        setGrid(std::make_shared<ProjectorGrid>(plot.Grid().Copy()));
        // A view projection without a main counterpart leaves the index alone.
        const int16_t direct = plot.DirectToMain();
        if (InRange(direct, PrjIndexMin, PrjIndexMax)) StoreIndex(direct);
        AzimuthLine = plot.AzimuthLine();
        TextSlant = plot.TextSlant();
        int64_t w = int64_t{field_->x2} - field_->x1;
        if (w <= 0) w += 2 * kHalfTurn;
        const int64_t h = int64_t{field_->y2} - field_->y1;
        FieldFrame = h < 2 * kQuarterTurn || w < 2 * kHalfTurn;
        ShadowFrame = h >= kQuarterTurn || w >= kHalfTurn;
        FieldWorld = !FieldFrame;
        AutoProjection = true;
        SetAuto();
        const int32_t m = PrjAttribute(index_);
        if (m & PrjParamSecant) {
            // Twice the view's latitude may exceed what the projection takes.
            const int64_t s = (m & PrjParamCone) ? h / 2 : 2 * std::abs(int64_t{plot.CenterY()});
            secant_ = static_cast<int32_t>(std::clamp<int64_t>(s, 0, MaxSecant()));
            prjReady_ = false;
        }
        light_ = LimitLightRatio(1 + SecToRadian(static_cast<int32_t>(h)));
        prjReady_ = false;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("SynchroPlot"));
    }
}

std::unique_ptr<clsProjector> clsProjector::Copy() {
    try {
        SetAuto();
        auto c = std::make_unique<clsProjector>();
        c->setField(std::make_shared<clsRect>(*field_));   // not Copy(): that puts west before east
        c->setGrid(std::make_shared<ProjectorGrid>(grid_->Copy()));
        c->AutoProjection = AutoProjection;
        c->RightAxis = RightAxis;
        c->FieldWorld = FieldWorld;
        c->FieldFrame = FieldFrame;
        c->ShadowFrame = ShadowFrame;
        c->TextSlant = TextSlant;
        c->AzimuthLine = AzimuthLine;
        c->setPrjIndex(index_);
        c->setMapScale(scale_);
        c->setCenterLon(centerLon_);
        c->setCenterLat(centerLat_);
        c->setPoler(poler_);
        c->setCone(cone_);
        c->setSecant(secant_);
        c->setLight(light_);
        c->setDivision(division_);
        c->SetAuto();
        return c;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("Copy"));
    }
}

// ---------------------------------------------------------------------------
// Persistence

void clsProjector::ReadRegistry() {
    try {
        const clsRegistry r(RegistrySection());
        auto num = [&r](const char* key, long long def) { return saturate(r.RegGetLong(QLatin1String(key), def)); };
        setPrjIndex(num("ProjectionCode", 12));
        FieldWorld = r.RegGetBool(QStringLiteral("FieldWorld"), false);
        AutoProjection = r.RegGetBool(QStringLiteral("AutoProjection"), false);
        RightAxis = r.RegGetBool(QStringLiteral("RightAxis"), false);
        FieldFrame = r.RegGetBool(QStringLiteral("FieldFrame"), true);
        ShadowFrame = r.RegGetBool(QStringLiteral("ShadowFrame"), true);
        TextSlant = r.RegGetBool(QStringLiteral("TextSlant"), false);
        AzimuthLine = r.RegGet(QStringLiteral("AzimuthLine"), QString());
        setCenterLon(num("ProjectionLon", 0));
        setCenterLat(num("ProjectionLat", 0));
        setMapScale(r.RegGetDouble(QStringLiteral("Scale"), MapScaleMax / 50));
        setPoler(num("MeridianAzimuth", 0));
        setCone(num("ConePeak", 216000));
        setSecant(num("Secant", 0));
        setLight(r.RegGetDouble(QStringLiteral("Light"), 2.0));
        setDivision(num("Division", 12));
        field_->x1 = num("FieldWest", -kHalfTurn);
        field_->x2 = num("FieldEast", kHalfTurn);
        field_->y1 = num("FieldSouth", -kQuarterTurn);
        field_->y2 = num("FieldNorth", kQuarterTurn);
        setField(field_);   // a hand-edited store may hold any numbers
        grid_->Vertical = r.RegGetBool(QStringLiteral("GridMeridian"), true);
        grid_->Horizontal = r.RegGetBool(QStringLiteral("GridParallel"), true);
        grid_->Zone = r.RegGetBool(QStringLiteral("GridZone"), true);
        grid_->setNorthLimit(num("GridNorthLimit", 270000));
        grid_->setSouthLimit(num("GridSouthLimit", -270000));
        grid_->setWidth(num("GridWidth", 54000));
        grid_->setHeight(num("GrigHeight", 54000));
        SetAuto();
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("ReadRegistry"));
    }
}

void clsProjector::WriteRegistry() const {
    try {
        const plat::SettingsStore::Batch once;   // one write of the file, not 27
        clsRegistry r(RegistrySection());
        r.RegPut(QStringLiteral("ProjectionCode"), int{index_});
        r.RegPut(QStringLiteral("FieldWorld"), FieldWorld);
        r.RegPut(QStringLiteral("AutoProjection"), AutoProjection);
        r.RegPut(QStringLiteral("RightAxis"), RightAxis);
        r.RegPut(QStringLiteral("FieldFrame"), FieldFrame);
        r.RegPut(QStringLiteral("ShadowFrame"), ShadowFrame);
        r.RegPut(QStringLiteral("TextSlant"), TextSlant);
        r.RegPut(QStringLiteral("AzimuthLine"), AzimuthLine);
        r.RegPut(QStringLiteral("ProjectionLon"), centerLon_);
        r.RegPut(QStringLiteral("ProjectionLat"), centerLat_);
        r.RegPut(QStringLiteral("Scale"), scale_);
        r.RegPut(QStringLiteral("MeridianAzimuth"), poler_);
        r.RegPut(QStringLiteral("ConePeak"), cone_);
        r.RegPut(QStringLiteral("Secant"), secant_);
        r.RegPut(QStringLiteral("Light"), light_);
        r.RegPut(QStringLiteral("Division"), int{division_});
        r.RegPut(QStringLiteral("FieldWest"), field_->x1);
        r.RegPut(QStringLiteral("FieldEast"), field_->x2);
        r.RegPut(QStringLiteral("FieldSouth"), field_->y1);
        r.RegPut(QStringLiteral("FieldNorth"), field_->y2);
        r.RegPut(QStringLiteral("GridMeridian"), grid_->Vertical);
        r.RegPut(QStringLiteral("GridParallel"), grid_->Horizontal);
        r.RegPut(QStringLiteral("GridZone"), grid_->Zone);
        r.RegPut(QStringLiteral("GridNorthLimit"), grid_->NorthLimit());
        r.RegPut(QStringLiteral("GridSouthLimit"), grid_->SouthLimit());
        r.RegPut(QStringLiteral("GridWidth"), grid_->Width());
        r.RegPut(QStringLiteral("GrigHeight"), grid_->Height());
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("WriteRegistry"));
    }
}
