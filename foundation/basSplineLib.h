// Smoothing of figure outlines: a new point sequence sampled along a
// quadratic B-spline, a cubic B-spline or an interpolating cubic spline
// through the given points.
//
// Open sequences keep their end points (the cubic forms end with the last
// point twice); closed sequences (IsLoop) are wrapped so that the curve
// closes smoothly, and come back closed. Samples are rounded half to even;
// one that leaves the 32-bit range raises the overflow error. The given
// sequence is never changed: where too few points leave nothing to smooth,
// the result is a copy of it.
#pragma once

#include <cstdint>

#include "clsPoly.h"

// Parameter step for n samples per span: 1/2 below 2, 1/n up to 100, else 1/100.
double SplineStep(int32_t n);
// x = round((w1 x(i+1) + w0 x(i)) + w2 x(i+2) + w3 x(i+3)), y the same.
void SplineWeightedPoint(const clsPoly& poly, int32_t i, double w0, double w1, double w2, double w3, int32_t& x,
                         int32_t& y);

// Uniform quadratic B-spline (fewer than 3 points: a copy).
clsPoly BSpline2nd(const clsPoly& poly, int32_t n);
// Cubic B-spline, clamped at the ends of open sequences (fewer than 5
// points: the quadratic form).
clsPoly BSpline3rd(const clsPoly& poly, int32_t n);
// Interpolating cubic spline with the chord length as parameter and free
// ends; repeated points count once (fewer than 4 points: a copy).
clsPoly Spline3rd(const clsPoly& poly, int32_t n);
