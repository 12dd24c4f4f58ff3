// The globe and the map scales derived from it. The radius is a setting
// ("GlobeRadius" in Environment.txt); InitGlobe sets every constant once at
// start-up, before anything reads them. Until then they hold the values of
// the default radius. A scale is always its denominator (1:1000000 is
// 1000000).
#pragma once

#include <QString>

#include <cstdint>

constexpr double kDefaultGlobeRadius = 6371000.78997414;

// Read-only views of the globe constants.
extern const double& GlobeRadius;          // metres
extern const double& GlobeCircumference;   // 2 pi GlobeRadius
extern const double& MeterPerSec;          // metres per arc-second of a great circle
extern const int32_t& MaxXY;               // X/Y map coordinates lie in -MaxXY..MaxXY
extern const double& MapScaleMin;          // largest scale allowed, a power of ten
extern const double& MapScaleMax;          // smallest scale allowed: MapScaleMin x 10000

// Reads "GlobeRadius" (a length, metres when no unit is given); anything
// unreadable, below 10000 m or above 53 default radii gives the default.
void InitGlobe();

// The light source of perspective projections, at r globe radii from the
// centre, r in 1.005..201.
double LightRatioMin();
double LightRatioMax();
bool IsLightRatio(double r);
double LimitLightRatio(double r);
// Metres above the surface, rounded half up, and back.
double LightRatioToHeight(double r);
double LightHeightToRatio(double h);

bool IsMapScale(double s);
double LimitMapScale(double s);

// Zoom levels of the map view: 53 levels, 13 a decade (1000, 800, 700, 600,
// 500, 400, 350, 300, 250, 200, 170, 150, 120), level 1 the smallest scale
// (MapScaleMax), level 53 MapScaleMin. 0 outside 1..53.
double ScaleOfLevel(int16_t level);
// The 41 levels of older data, 10 a decade (1000, 800, 600, 500, 400, 300,
// 250, 200, 150, 120). 0 outside 1..41.
double ScaleOfLevel10(int16_t level);
// The highest level whose denominator is at least s; 0 when s is no allowed
// scale.
int16_t LevelOfScale(double s);
// The denominator of a level in myriad groups, short form: 10億, 1.5億.
QString ScaleLevelText(int16_t level);
