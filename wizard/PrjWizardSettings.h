// The wizard's working copy of every setting of the main projection. The
// wizard edits this copy and writes it into a projector only when something
// must be computed (a run) or when the user commits it (OK).
#pragma once

#include <QString>

#include <cstdint>

#include "clsGrid.h"
#include "clsRect.h"

class clsProjector;

struct PrjWizardSettings {
    bool AutoProjection = false;
    bool RightAxis = false;
    bool FieldWorld = true;
    bool FieldFrame = true;
    clsRect Field{-648000, -324000, 648000, 324000};   // arc-seconds: west, south, east, north
    int32_t CenterLon = 0;
    int32_t CenterLat = 0;
    QString AzimuthLine;
    clsGrid Grid;
    bool TextSlant = true;
    int16_t PrjIndex = 12;
    bool ShadowFrame = true;
    int32_t poler = 0;       // meridian rotation, arc-seconds
    int32_t Cone = 216000;   // cone apex angle, arc-seconds
    int32_t Secant = 0;      // arc-seconds
    double Light = 2.0;      // globe radii from the centre
    int16_t Division = 12;   // gores
    double MapScale = 0;     // denominator

    // The values of a fresh start ("初期化"): the whole globe in the
    // equirectangular projection, graticule lines and zones on, the output
    // scale a tenth of the smallest allowed.
    static PrjWizardSettings Initial();

    // Runs the projector's automatic choice, then takes its settings. The
    // two automatic switches are not read: they come back False.
    void GetProjector(clsProjector& p);
    // Writes every setting into the projector in an order that lets each
    // limit see the values it depends on (projection and cone before the
    // secant), then runs its automatic choice.
    void SetProjector(clsProjector& p) const;
};
