// The bundled land map through one projection of each family and the
// interrupted ones. The equal-area ones must keep the land's area on the
// sphere: a ring closed the wrong way at a cut, or a streak across the
// plane, changes it by far more than the 1 % allowed. With
// KAL_PROJECTOR_OUT set to a folder, the start map (WORLD_T3) goes through
// them too and each result is written there as an X/Y map and a PNG to look
// at.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

#include "ProjectorTestSupport.h"
#include "basGlobe.h"
#include "clsSurvey.h"

using namespace prjtest;

namespace {

using World = ProjectorTest;

struct Aspect {
    int16_t index;
    int32_t lon, lat;
    const char* name;
    bool equalArea;
};

const Aspect kAspects[] = {
    {12, 0, 0, "12_equirect", false},       {13, 0, 0, "13_mercator", false},
    {6, 0, 324000, "06_azimuthal_north", false}, {7, 486000, 126000, "07_lambert_oblique", true},
    {8, 0, 0, "08_hammer", true},           {16, -360000, 0, "16_sinusoidal_100W", true},
    {17, 540000, 0, "17_mollweide_150E", true}, {24, 0, 162000, "24_albers", false},
    {27, 0, 0, "27_polyconic", false},      {28, 0, 0, "28_gores", false},
    {29, 0, 0, "29_goode", true},           {30, 0, 0, "30_winkel", false},
};

// Total area of the polygons other than the ocean, square metres: on the
// sphere for a latitude/longitude map, on the plane for an X/Y one.
double LandArea(const clsMapUnit& unit) {
    const int16_t ocean = unit.Things().Search(QStringLiteral("海洋"));
    clsSurvey sphere;
    double sum = 0;
    for (const MapFigurePtr& f : unit.Map())
        if (f->FigCode() == 3 && f->Thing() != ocean)
            sum += unit.Map().MapMode() == 1 ? sphere.PolyArea(*f->Poly()) : f->Poly()->Area();
    return sum;
}

QColor ColorOf(const clsMapUnit& unit, const MapFigurePtr& f) {
    const clsMapCell cell = unit.ToCell(f);
    const int32_t c = cell.IsValid() ? cell.RealColor() : 0x808080;
    return c < 0 ? QColor(Qt::gray) : QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

void Draw(const clsMapUnits& units, const QString& png) {
    clsRect b;
    for (const MapUnitPtr& u : units)
        for (const MapFigurePtr& f : u->Map())
            if (f->FigCode() >= 2) b.IsEmpty() ? void(b = f->Poly()->RectBound()) : b.OpeOr(f->Poly()->RectBound());
    const double k = 1400.0 / std::max(b.x2 - b.x1, b.y2 - b.y1);
    QImage img(int((b.x2 - b.x1) * k) + 21, int((b.y2 - b.y1) * k) + 21, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);
    auto at = [&](const PolyPoint& p) { return QPointF((p.x - b.x1) * k + 10, (b.y2 - p.y) * k + 10); };
    // The ocean first, as the plot engine's phases would.
    const int16_t ocean = units.Base()->Things().Search(QStringLiteral("海洋"));
    for (int pass = 0; pass < 2; ++pass)
    for (const MapUnitPtr& u : units)
        for (const MapFigurePtr& f : u->Map()) {
            if (f->FigCode() < 2 || (f->Thing() == ocean) != (pass == 0)) continue;
            QPainterPath path;
            const clsPoly& p = *f->Poly();
            path.moveTo(at(p.GetPoint(1)));
            for (int32_t i = 2; i <= p.Count(); ++i) path.lineTo(at(p.GetPoint(i)));
            const QColor c = ColorOf(*u, f);
            if (f->FigCode() == 3) g.fillPath(path, c);
            else if (f->FigCode() == 2) g.strokePath(path, QPen(c.darker(130), 0.8));
            else g.fillRect(QRectF(at(p.GetPoint(1)) - QPointF(1.5, 1.5), QSizeF(3, 3)), c);
        }
    g.end();
    ASSERT_TRUE(img.save(png));
}

} // namespace

TEST_F(World, EqualAreaProjectionsKeepTheLandArea) {
    const QString outDir = qEnvironmentVariable("KAL_PROJECTOR_OUT");
    auto units = std::make_shared<clsMapUnits>();
    units->Create(1);
    if (!outDir.isEmpty()) {
        auto world = std::make_shared<clsMapUnit>();
        world->setUnitName(BundledMaps() + QStringLiteral("/WORLD_T3.MLL"));
        ASSERT_TRUE(world->Load());
        units->Add(world);
    }
    const double land = LandArea(*units->Base());
    ASSERT_GT(land, 1e14);
    for (const Aspect& a : kAspects) {
        ForgetSettings();
        clsProjector p;
        p.setPrjIndex(a.index);
        p.setCenterLon(a.lon);
        p.setCenterLat(a.lat);
        p.setCone(216000);
        p.setMapScale(5e7);
        const auto out = p.ExeProjection(*units);
        ASSERT_TRUE(out) << a.name;
        EXPECT_GT(out->Base()->Map().Count(), 100) << a.name;
        if (a.equalArea) {
            EXPECT_NEAR(LandArea(*out->Base()) / land, 1, 0.01) << a.name;
        }
        if (outDir.isEmpty()) continue;
        const QString name = outDir + QLatin1Char('/') + QString::fromLatin1(a.name);
        for (const MapUnitPtr& u : *out) {
            u->Map().setFileName(name + QLatin1Char('_') + u->UnitName().section(QLatin1Char('/'), -1));
            EXPECT_EQ(u->Map().Save(), 0);
        }
        Draw(*out, name + QStringLiteral(".png"));
    }
}
