// The catalogue of the 30 map projections of the main projection: names,
// attributes, where each is defined and what frames and interruptions it
// has. Stateless; keyed by the projection index 1..30. Every function gives
// its neutral answer (empty text, 0, an empty list, -1) for any other index.
//
// Angles are arc-seconds (324000 = 90 degrees). The cone argument is the
// cone's apex angle in arc-seconds, twice the latitude of the tangent
// parallel; the light argument is the light-source distance from the globe
// centre in globe radii.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

#include "clsPoly.h"

// Attribute mask: four bytes.
// Byte 0, adjustable parameters.
constexpr int32_t PrjParamLon = 0x01;
constexpr int32_t PrjParamLat = 0x02;
constexpr int32_t PrjParamRotation = 0x04;
constexpr int32_t PrjParamCone = 0x08;
constexpr int32_t PrjParamSecant = 0x10;
constexpr int32_t PrjParamLight = 0x20;
constexpr int32_t PrjParamGores = 0x40;
// Byte 1, overall shape: 円形 長方形 扇形 楕円形 紡錘形 断裂形 タル型 その他.
constexpr int32_t PrjShapeCircle = 0x0100;
constexpr int32_t PrjShapeRectangle = 0x0200;
constexpr int32_t PrjShapeFan = 0x0400;
constexpr int32_t PrjShapeEllipse = 0x0800;
constexpr int32_t PrjShapeSpindle = 0x1000;
constexpr int32_t PrjShapeInterrupted = 0x2000;
constexpr int32_t PrjShapeBarrel = 0x4000;
constexpr int32_t PrjShapeOther = 0x8000;
// Byte 2, true properties: 距離 面積 角度 方位 大圏 水平緯線 バランス.
constexpr int32_t PrjTrueDistance = 0x010000;
constexpr int32_t PrjTrueArea = 0x020000;
constexpr int32_t PrjTrueAngle = 0x040000;
constexpr int32_t PrjTrueAzimuth = 0x080000;
constexpr int32_t PrjTrueGreatCircle = 0x100000;
constexpr int32_t PrjTrueParallels = 0x200000;
constexpr int32_t PrjTrueBalance = 0x400000;
// Byte 3, suitable areas: 全世界 大陸程度 高緯度地帯 中緯度地帯 低緯度地帯.
constexpr int32_t PrjAreaWorld = 0x01000000;
constexpr int32_t PrjAreaContinent = 0x02000000;
constexpr int32_t PrjAreaHighLat = 0x04000000;
constexpr int32_t PrjAreaMiddleLat = 0x08000000;
constexpr int32_t PrjAreaLowLat = 0x10000000;

constexpr int16_t PrjIndexMin = 1;
constexpr int16_t PrjIndexMax = 30;

// Display name: "PrjName01".."PrjName30" of Environment.txt, "--- 未定義 ---"
// when the key is missing; "" for other indices.
QString PrjNameOf(int16_t index);
// The first index whose display name equals name exactly; -1 when none.
int16_t PrjIndexOf(const QString& name);
int32_t PrjAttribute(int16_t index);
// The indices, ascending, whose masks match a condition mask: any of the
// requested areas and shapes, all of the requested properties and
// parameters; an empty group matches everything.
std::vector<int16_t> PrjListByCondition(int32_t condition);
int32_t PrjHelpID(int16_t index);

// The extent of the projection plane, arc-seconds. For the azimuthal 1..7
// "MainPrjPlaneRadius" of Environment.txt may shrink it (never widen it).
// A perspective projection (3, 4) with light 0 has no extent.
int32_t PrjPlaneRadius(int16_t index, int32_t cone, double light);
// North and south latitude limits of the projection frame (azimuthal ones
// with their centre turned to the north pole). Always true.
bool PrjLatLimit(int16_t index, int32_t centerLat, int32_t cone, double light, int32_t& north, int32_t& south);
// The limit frames as longitude/latitude lines, in drawing order; empty for
// an index without frames and for gores (28) outside 6..36.
PolyCollection PrjShadowPolys(int16_t index, int32_t centerLat, int32_t cone, double light, int16_t division);
// Interruption longitudes: the division + 1 gore edges of 28 from -648000 to
// 648000 (division 1..1296000, else none), the four cuts of 29.
std::vector<int32_t> PrjSplitLons(int16_t index, int32_t division);
// The largest secant, arc-seconds.
int32_t PrjMaxSecant(int16_t index, int32_t cone);
// The light-source heights in metres above ground offered by the slider:
// 40 steps a decade from the decade holding 1.005 radii to the one holding
// 201 radii (161 entries, 100000 to 1e9, with the default globe).
std::vector<double> LightHeightTable();
