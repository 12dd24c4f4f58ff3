// The bundled land map through one projection of each family and the
// interrupted ones. The equal-area ones must keep the land's area on the
// sphere: a ring closed the wrong way at a cut, or a streak across the
// plane, changes it by far more than the 1 % allowed. (The start map's
// pictures through the plot engine: test_ProjectorPlot.)
#include <gtest/gtest.h>

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

} // namespace

TEST_F(World, EqualAreaProjectionsKeepTheLandArea) {
    auto units = std::make_shared<clsMapUnits>();
    units->Create(1);
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
    }
}
