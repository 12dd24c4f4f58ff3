#include <gtest/gtest.h>

#include "AppState.h"
#include "QStringPrinter.h"
#include "basGlobe.h"
#include "clsEnvironment.h"

#include <QStringList>

namespace {

// Sets the globe from an Environment.txt holding the given lines and puts the
// default globe back afterwards.
class Globe : public ::testing::Test {
protected:
    void init(const QStringList& lines) {
        env_.LoadLines(lines);
        gvEnvironment = &env_;
        InitGlobe();
        gvEnvironment = nullptr;
    }
    void TearDown() override {
        gvEnvironment = nullptr;
        InitGlobe();
    }
    clsEnvironment env_;
};

} // namespace

TEST_F(Globe, RadiusSettingAndItsRange) {
    for (const char* bad : {"", "GlobeRadius=9999", "GlobeRadius=abc", "GlobeRadius=3.4e8", "GlobeRadius=-6371000",
                            "GlobeRadius=1e400"}) {
        init({QString::fromLatin1(bad)});
        EXPECT_EQ(GlobeRadius, 6371000.78997414) << bad;
        EXPECT_NEAR(MeterPerSec, 30.8874834, 1e-7);
        EXPECT_EQ(MaxXY, 40030179);
        EXPECT_EQ(MapScaleMin, 100000);
        EXPECT_EQ(MapScaleMax, 1000000000);
    }
    init({QStringLiteral("GlobeRadius=10000")});
    EXPECT_EQ(MapScaleMin, 100);   // 1000, then 100, where the division stops
    EXPECT_EQ(MapScaleMax, 1000000);
    init({QStringLiteral("GlobeRadius=6000km")});
    EXPECT_EQ(MaxXY, 37699112);
    init({QStringLiteral("GlobeRadius=337663041")});   // just inside 53 default radii
    EXPECT_EQ(MaxXY, 2121599458);
}

TEST_F(Globe, LightSourceAndScaleLimits) {
    EXPECT_EQ(LimitLightRatio(1), 1.005);
    EXPECT_EQ(LimitLightRatio(300), 201);
    EXPECT_FALSE(IsLightRatio(1.004));
    EXPECT_EQ(LightRatioToHeight(2), 6371001);   // half up
    EXPECT_EQ(LightHeightToRatio(GlobeRadius), 2);
    EXPECT_EQ(LimitMapScale(1e12), 1000000000);
    EXPECT_FALSE(IsMapScale(99999));
    EXPECT_TRUE(IsMapScale(100000));
}

TEST_F(Globe, ScaleLevels) {
    const std::pair<int16_t, double> ladder53[] = {{0, 0}, {2, 8e8}, {7, 3.5e8}, {11, 1.7e8}, {13, 1.2e8},
                                                    {27, 1e7}, {52, 120000}, {54, 0}};
    for (const auto& [level, scale] : ladder53) EXPECT_EQ(ScaleOfLevel(level), scale) << level;
    const std::pair<int16_t, double> ladder41[] = {{3, 6e8}, {10, 1.2e8}, {11, 1e8}, {40, 120000}, {42, 0}};
    for (const auto& [level, scale] : ladder41) EXPECT_EQ(ScaleOfLevel10(level), scale) << level;
    EXPECT_EQ(ScaleLevelText(12), QStringLiteral("1.5億"));
    EXPECT_EQ(ScaleLevelText(24), QStringLiteral("1700万"));
    EXPECT_EQ(LevelOfScale(140000), 51);
    EXPECT_EQ(LevelOfScale(99999), 0);
    EXPECT_EQ(LevelOfScale(1000000001), 0);
    // Every boundary, also on a small globe whose lowest denominators are below 1000.
    for (const QString& radius : {QString(), QStringLiteral("GlobeRadius=10000")}) {
        init({radius});
        for (int16_t level = 1; level <= 53; ++level) {
            const double s = ScaleOfLevel(level);
            EXPECT_EQ(LevelOfScale(s), level) << s;
            EXPECT_EQ(LevelOfScale(s + 1), level - 1) << s;
            if (level < 53) { EXPECT_EQ(LevelOfScale(s - 1), level) << s; }
        }
        EXPECT_EQ(ScaleOfLevel(1), MapScaleMax);
        EXPECT_EQ(ScaleOfLevel(53), MapScaleMin);
        EXPECT_EQ(ScaleOfLevel10(41), MapScaleMin);
    }
}
