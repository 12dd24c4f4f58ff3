// Angles as integer arc-seconds: display settings, text in every unit and
// style, normalisation, radians and vectors. Errors name "basAngle".
#pragma once

#include <cstdint>

// Direction of the vector (x, y) in radians, in [-pi, pi); 0 for (0, 0).
double AnglePosToRadian(double x, double y);
