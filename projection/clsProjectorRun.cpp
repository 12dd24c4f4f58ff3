// Element projection, the batch run, the generated layers and the remarks of
// the projection conditions.
#include "clsProjector.h"

#include "Clock.h"
#include "DoEvents.h"
#include "ErrorMng.h"
#include "MapProjection.h"
#include "RuntimeMath.h"
#include "VectorState.h"
#include "basAngle.h"
#include "basGlobe.h"
#include "basHMap.h"
#include "basLibrary.h"
#include "clsMapRem.h"
#include "clsMapText.h"
#include "clsMapUnits.h"

#include <algorithm>

namespace {

const QString kClass = QStringLiteral("clsProjector");

QString boolText(bool v) { return v ? QStringLiteral("True") : QStringLiteral("False"); }

QString RemSectionHead(const QString& name) { return QStringLiteral("# [") + name + QLatin1Char(']'); }

ProjectorLayers::Figures noFigures() { return {}; }

} // namespace

// ---------------------------------------------------------------------------
// One figure

bool clsProjector::ProjectPointSec(int32_t lon, int32_t lat, int32_t& x, int32_t& y) {
    try {
        if (!prjReady_) SetupPrjPoint();
        if (!InField(lon, lat)) return false;
        int32_t alon = 0, alat = 0;
        prjPoint_.AxisSec(lon, lat, alon, alat);
        // A limit at a pole is kept as it is: nothing lies beyond it.
        const int32_t lo = south_ < -323999 ? south_ : south_ + 5;
        const int32_t hi = north_ >= 324000 ? north_ : north_ - 5;
        if (alat < lo || alat > hi) return false;
        bool ok = false;
        prjPoint_.LLtoXYsec(alon, alat, x, y, ok);
        return ok;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("ProjectPointSec"));
    }
}

clsProjector::FigureList clsProjector::PrjRem(const clsMapFigure& figure) const {
    const MapFigurePtr copy = figure.Copy();
    auto* rem = dynamic_cast<clsMapRem*>(copy.get());
    if (!rem) return {};
    const QString key = rem->Key();
    QString text = rem->Comment();
    if (key == QStringLiteral("地図バージョン")) {
        rem->setComment(QStringLiteral("# 地図バージョン　：1.06"));
    } else if (key == QStringLiteral("地図コード")) {
        // The mode digit of the six-digit code that ends the line.
        const qsizetype at = text.size() - 6;
        if (at >= 0 && text[at] == QLatin1Char('1')) {
            text[at] = QLatin1Char('2');
            rem->setComment(text);
        }
    } else if (key == QStringLiteral("地図ファイル名")) {
        rem->setComment(ChangeExt(text, QStringLiteral(".MXY")));
    }
    return {copy};
}

clsProjector::FigureList clsProjector::PrjPoly(const clsMapFigure& figure, bool isPolygon) {
    FigureList made;
    const std::shared_ptr<clsPoly> source = figure.Poly();
    if (!source) return made;
    for (clsPoly& piece : ProjectionPoly(*source, isPolygon)) {
        MapFigurePtr copy = figure.Copy();
        copy->setPoly(std::make_shared<clsPoly>(std::move(piece)));
        if (copy->IsRight()) made.push_back(std::move(copy));
    }
    return made;
}

clsProjector::FigureList clsProjector::PrjSymbol(const clsMapFigure& figure) {
    const auto* point = dynamic_cast<const MapPointFigure*>(&figure);
    int32_t x = 0, y = 0;
    if (!point || !ProjectPointSec(point->mx(), point->my(), x, y)) return {};
    MapFigurePtr copy = figure.Copy();
    auto* moved = static_cast<MapPointFigure*>(copy.get());
    moved->setMx(x);
    moved->setMy(y);
    return {copy};
}

clsProjector::FigureList clsProjector::PrjText(const clsMapFigure& figure) {
    FigureList made = PrjSymbol(figure);
    auto* text = made.empty() ? nullptr : dynamic_cast<clsMapText*>(made.front().get());
    if (!text) return made;
    const auto& source = static_cast<const MapPointFigure&>(figure);
    // Angles are whole degrees: the slant counts truncated to degrees.
    if (TextSlant) {
        int32_t slant = 0;
        prjPoint_.PointSlant(source.mx(), source.my(), slant);
        text->setAngle(text->Angle() - slant / 3600);
    } else if (textRotate_) {
        text->setAngle(text->Angle() - poler_ / 3600);
    }
    return made;
}

void clsProjector::StartProgress(int64_t total) {
    startTick_ = plat::TickCount() - 1;
    remain_ = -1;
    progress_ = 0;
    total_ = total;
    done_ = 0;
}

void clsProjector::CountProgress() {
    ++done_;
    if (total_ < 1) {
        remain_ = -1;
        progress_ = 0;
        return;
    }
    total_ = std::max(total_, done_);
    const int64_t elapsed = (plat::TickCount() - startTick_) / 1000;
    remain_ = static_cast<int32_t>(std::min<int64_t>(total_ * elapsed / done_ - elapsed, INT32_MAX));
    progress_ = static_cast<int32_t>(done_ * 100 / total_);
}

bool clsProjector::ProjectElement(const MapFigurePtr& figure) {
    try {
        if (Cancel) return false;
        FigureList made;
        switch (figure ? figure->FigCode() : 0) {
        case 1: made = PrjRem(*figure); break;
        case 2: made = PrjPoly(*figure, false); break;
        case 3: made = PrjPoly(*figure, true); break;
        case 4: made = PrjSymbol(*figure); break;
        case 5: made = PrjText(*figure); break;
        default: break;
        }
        CountProgress();
        // Held here: a handler running in DoEvents may measure the plane,
        // which uses an output unit of its own meanwhile.
        const std::shared_ptr<clsMapUnit> unit = output_;
        for (const MapFigurePtr& f : made) {
            if (!unit->Map().Add(f)) {
                MsgError(QStringLiteral("投影変換中に不正データ発生."));
                return false;
            }
            if (raiseEvents_ && AddElement) {
                clsMapCell cell = unit->ToCell(f);
                AddElement(cell);
            }
            pumpEvents_();
        }
        pumpEvents_();
        return true;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("ProjectElement"));
    }
}

bool clsProjector::PrjRemLine(const QString& text) { return ProjectElement(NewMapRem(text)); }

// ---------------------------------------------------------------------------
// Remarks and generated layers

int32_t clsProjector::OutputCondition(bool isBase) {
    try {
        const QStringList lines = [&] {
            QStringList l{
                QStringLiteral("# //"),
                QStringLiteral("# // 投影条件"),
                QStringLiteral("# //"),
                QStringLiteral("# 図法名　　　：") + PrjName(),
                QStringLiteral("# 領域西端経度：") + LonToStr(field_->x1),
                QStringLiteral("# 領域東端経度：") + LonToStr(field_->x2),
                QStringLiteral("# 領域北端緯度：") + LatToStr(field_->y2),
                QStringLiteral("# 領域南端緯度：") + LatToStr(field_->y1),
                QStringLiteral("# 投影中心経度：") + LonToStr(centerLon_),
                QStringLiteral("# 投影中心緯度：") + LatToStr(centerLat_),
                QStringLiteral("# 子午線回転角：") + AngleToStr(poler_),
                QStringLiteral("# 円錐頂角　　：") + AngleToStr(cone_),
                QStringLiteral("# 割線間隔　　：") + AngleToStr(secant_),
                QStringLiteral("# 光源高度　　：") + plat::FormatShortest(LightRatioToHeight(light_) / 1000) +
                    QStringLiteral("km"),
                QStringLiteral("# 推奨出力縮尺：1/") + plat::FormatShortest(scale_),
                QStringLiteral("# 文字列傾斜　：") + boolText(TextSlant),
                QStringLiteral("# //"),
            };
            if (isBase) {
                l << QStringLiteral("# 経線間隔　　：") + AngleToStr(grid_->Width())
                  << QStringLiteral("# 緯線間隔　　：") + AngleToStr(grid_->Height())
                  << QStringLiteral("# 経線北端緯度：") + LatToStr(grid_->NorthLimit())
                  << QStringLiteral("# 経線南端緯度：") + LatToStr(grid_->SouthLimit())
                  << QStringLiteral("# 経線出力　　：") + boolText(grid_->Vertical)
                  << QStringLiteral("# 緯線出力　　：") + boolText(grid_->Horizontal)
                  << QStringLiteral("# 帯域線出力　：") + boolText(grid_->Zone)
                  << QStringLiteral("# 領域枠出力　：") + boolText(FieldFrame)
                  << QStringLiteral("# 投影枠出力　：") + boolText(ShadowFrame)
                  << QStringLiteral("# 方位線出力　：") + boolText(!AzimuthLine.isEmpty())
                  << QStringLiteral("# //");
            }
            return l;
        }();
        const int32_t before = output_->Map().Count();
        for (const QString& line : lines)
            if (!PrjRemLine(line)) return -1;
        return output_->Map().Count() - before;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("OutputCondition"));
    }
}

int32_t clsProjector::ProjectLayer(const QString& name, const FigureList& figures) {
    if (figures.empty()) return 0;
    const int32_t before = output_->Map().Count();
    if (!PrjRemLine(RemSectionHead(name))) return -1;
    for (const MapFigurePtr& f : figures)
        if (!ProjectElement(f)) return -1;
    return output_->Map().Count() - before;
}

const clsMapUnit* clsProjector::SourceBase() const { return source_ ? source_->Base().get() : nullptr; }

int32_t clsProjector::ProjectionOcean() {
    try {
        ProjectorLayers* layers = InstalledProjectorLayers();
        return ProjectLayer(QStringLiteral("海洋"), layers ? layers->OceanSplit(SourceBase()) : noFigures());
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("ProjectionOcean"));
    }
}

int32_t clsProjector::ProjectionGrid() {
    try {
        ProjectorLayers* layers = InstalledProjectorLayers();
        const int32_t v =
            ProjectLayer(QStringLiteral("経線"), layers ? layers->GridV(*grid_, SourceBase()) : noFigures());
        if (v < 0) return -1;
        const int32_t h =
            ProjectLayer(QStringLiteral("緯線"), layers ? layers->GridH(*grid_, SourceBase()) : noFigures());
        return h < 0 ? -1 : v + h;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("ProjectionGrid"));
    }
}

int32_t clsProjector::ProjectionDirection() {
    try {
        ProjectorLayers* layers = InstalledProjectorLayers();
        return ProjectLayer(QStringLiteral("方位線"),
                            layers ? layers->AzimuthLine(AzimuthLine, centerLon_, centerLat_, scale_, SourceBase())
                                   : noFigures());
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("ProjectionDirection"));
    }
}

int32_t clsProjector::ProjectionField() {
    try {
        if (!FieldFrame) return 0;
        ProjectorLayers* layers = InstalledProjectorLayers();
        return ProjectLayer(QStringLiteral("領域枠"), layers ? layers->FieldFrame(*field_, SourceBase()) : noFigures());
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("ProjectionField"));
    }
}

int32_t clsProjector::ProjectionShadow() {
    try {
        if (!ShadowFrame) return 0;
        // The frames trace the plane's outline: the limits of the normal
        // aspect, centred on the prime meridian and unturned, over the whole
        // world (the outline is the same whatever the centre longitude and
        // rotation; frames projected with them would cross the map). The
        // settings come back however the frames fare.
        struct Restore {
            clsProjector& p;
            int32_t lon, lat, poler;
            clsRect field;
            ~Restore() {
                p.centerLon_ = lon;
                p.centerLat_ = lat;
                p.poler_ = poler;
                *p.field_ = field;
                try {
                    p.SetupPrjPoint();
                } catch (...) {
                    p.prjReady_ = false;
                }
            }
        } restore{*this, centerLon_, centerLat_, poler_, *field_};

        const int32_t m = PrjAttribute(index_);
        if (m & PrjShapeCircle) centerLat_ = 324000;
        if (!(m & (PrjShapeCircle | PrjParamCone))) centerLat_ = 0;
        if (m & PrjParamCone) centerLat_ = (centerLat_ >= 0 ? cone_ : -cone_) / 2;
        centerLon_ = 0;
        poler_ = 0;
        field_->x1 = -648000;
        field_->y1 = -324000;
        field_->x2 = 648000;
        field_->y2 = 324000;
        SetupPrjPoint();
        ProjectorLayers* layers = InstalledProjectorLayers();
        return ProjectLayer(QStringLiteral("投影枠"),
                            layers ? layers->ShadowFrame(index_, centerLat_, cone_, light_, division_, SourceBase())
                                   : noFigures());
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("ProjectionShadow"));
    }
}

// ---------------------------------------------------------------------------
// The run

bool clsProjector::RunUnits(clsMapUnits& units, clsMapUnits& dest) {
    const MapUnitPtr srcBase = units.Base();
    output_ = dest.Base();
    output_->setSearchSwitch(true);
    output_->Map().setLockMode(false);
    output_->Map().Clear();
    std::shared_ptr<clsThings> things = srcBase->Things().Copy();
    things->setLockMode(false);
    output_->setThings(things);
    std::shared_ptr<clsAdmins> admins = srcBase->Admins().Copy();
    admins->setLockMode(false);
    output_->setAdmins(admins);
    QString name = srcBase->UnitName();
    name.chop(4);
    output_->setUnitName(name + QStringLiteral("OUT"));

    // The ocean goes under the base map's own figures, its land: the
    // monitor draws the figures as they come and the X/Y view in map order.
    // The remarks that head the map stay at its head, where its header is
    // looked for.
    bool oceanDone = false;
    auto ocean = [&] {
        oceanDone = true;
        return ProjectionOcean() >= 0;
    };
    if (srcBase->DisplaySwitch()) {
        // By position: the map may be looked at, not changed, while events run.
        for (int32_t i = 1; i <= srcBase->Map().Count(); ++i) {
            const MapFigurePtr figure = srcBase->Map().Item(i);
            if (!oceanDone && figure && figure->FigCode() != 1 && !ocean()) return false;
            if (!ProjectElement(figure)) return false;
        }
    }
    // The generated layers come whether or not the base unit is shown.
    if ((!oceanDone && !ocean()) || OutputCondition(true) < 0 || ProjectionGrid() < 0 || ProjectionDirection() < 0 ||
        ProjectionField() < 0 || ProjectionShadow() < 0)
        return false;

    for (int32_t i = 2; i <= units.Count(); ++i) {
        const MapUnitPtr u = units.Item(i);
        if (u->DisplaySwitch()) total_ += u->Map().Count() + 17;
    }
    for (int32_t i = 2; i <= units.Count(); ++i) {
        const MapUnitPtr u = units.Item(i);
        if (!u->DisplaySwitch()) continue;
        output_ = std::make_shared<clsMapUnit>();
        output_->setMapMode(2);
        output_->setThings(u->Things().Copy());
        output_->setAdmins(u->Admins().Copy());
        output_->setUnitName(ChangeExt(u->UnitName(), QStringLiteral(".MXY")));
        for (int32_t k = 1; k <= u->Map().Count(); ++k)
            if (!ProjectElement(u->Map().Item(k))) return false;
        if (OutputCondition(false) < 0) return false;
        if (!dest.Add(output_)) return false;
    }
    return true;
}

std::shared_ptr<clsMapUnits> clsProjector::ExeProjection(clsMapUnits& units) {
    if (exeBusy_) return nullptr;
    // Started from a window's handler; from here on, each element's events
    // end in DoEvents, which clears the state again.
    plat::ClearUpperVectorState();
    exeBusy_ = true;
    pumpEvents_.Restart();
    struct End {
        clsProjector& p;
        ~End() {
            p.output_.reset();
            p.source_ = nullptr;
            p.raiseEvents_ = false;
            p.exeBusy_ = false;
        }
    } end{*this};
    try {
        Cancel = false;
        raiseEvents_ = true;
        StartProgress(-1);
        SetAuto();
        SetupPrjPoint();
        if (!units.Base()) return nullptr;
        source_ = &units;
        auto dest = std::make_shared<clsMapUnits>();
        try {
            dest->Create(2);
        } catch (const AppError& e) {
            throw AppError(e.number(), e.source(),
                           QStringLiteral("can not create units. [") + e.description() + QLatin1Char(']'));
        }
        if (RunUnits(units, *dest)) return dest;
        dest->ClearAll();
        return nullptr;
    } catch (...) {
        RaiseError(ErrGeneral, kClass, QStringLiteral("ExeProjection"));
    }
}

std::optional<clsRect> clsProjector::OutputBound() {
    if (boundBusy_) return std::nullopt;
    boundBusy_ = true;
    // Called from inside a run (the run lets events in), it must leave that
    // run's output, source and counters as it found them.
    struct Keep {
        clsProjector& p;
        std::shared_ptr<clsMapUnit> output = p.output_;
        clsMapUnits* source = p.source_;
        bool raiseEvents = p.raiseEvents_, cancel = p.Cancel;
        int64_t startTick = p.startTick_, total = p.total_, done = p.done_;
        int32_t progress = p.progress_, remain = p.remain_;
        double scale = p.scale_;
        ~Keep() {
            p.output_ = output;
            p.source_ = source;
            p.raiseEvents_ = raiseEvents;
            if (p.exeBusy_) {
                p.Cancel = p.Cancel || cancel;
                p.startTick_ = startTick;
                p.total_ = total;
                p.done_ = done;
                p.progress_ = progress;
                p.remain_ = remain;
                p.prjReady_ = false;
            }
            p.boundBusy_ = false;
        }
    } keep{*this};
    try {
        // A cancel left over from an earlier run is no cancel of this one.
        Cancel = false;
        raiseEvents_ = false;
        StartProgress(-1);
        source_ = nullptr;
        output_ = std::make_shared<clsMapUnit>();
        output_->setMapMode(2);
        // The scale comes back as a whole number.
        const double kept = plat::CLng(scale_);
        scale_ = LimitMapScale(scale_ * 20);
        SetAuto();
        SetupPrjPoint();
        ProjectionOcean();
        scale_ = kept;
        keep.scale = kept;

        std::optional<clsRect> bound;
        for (const MapFigurePtr& f : output_->Map()) {
            if (f->FigCode() != 3) continue;
            const clsRect b = f->Poly()->RectBound();
            if (bound) bound->OpeOr(b);
            else bound = b.Copy();
        }
        if (!bound) MsgError(QStringLiteral("最大出力矩形の算出に失敗."));
        return bound;
    } catch (...) {
        scale_ = keep.scale;
        RaiseError(ErrGeneral, kClass, QStringLiteral("OutputBound"));
    }
}
