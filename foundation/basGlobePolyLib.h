// Preparing longitude/latitude point sequences (arc-seconds, x longitude, y
// latitude) for drawing or projecting round a chosen central meridian:
// edges near a pole are bent along their great circles, lines are split
// where they reach a pole, longitudes are unwrapped across 180 degrees, a
// ring that encloses a pole is closed over it, and the result is cut into
// pieces that each fit one turn of longitude centred on the reference
// meridian. Errors name "basGlobePolyLib".
//
// Limits: generated points keep their latitudes within +-323970 (30" from
// the poles) where a routine splits, clamps or closes over a pole; pieces
// cut at refLon +-648000 lie 1" inside the cut on their own side
// (basPolyLib), and after GlobePolyRollBound within refLon +-648000.
//
// Accuracy: densified points lie on the great circle of their edge to
// within the whole-second rounding (0.5" in each coordinate); see clsSurvey.
//
// Degenerate input:
// - GlobePolyChopPole, GlobePolyRollOver, GlobePolyRound and
//   GlobePolyGreatCircle need at least one point: an empty sequence raises
//   the subscript error (9). GlobePolyRollBound of an empty sequence is
//   False.
// - Coincident neighbours give no inserted points. An edge between
//   antipodal points is taken as running north over the pole (clsSurvey).
// - GlobePolyRollOver takes a longitude step of 648000 or more, either way,
//   as a crossing of 180 degrees: a step of exactly half a turn (an edge
//   through a pole) is unwrapped too.
// - A ring that lies wholly on a cut meridian, or only touches it, comes
//   back whole (basPolyLib); a degenerate ring along a parallel, out and
//   back, stays a ring of no area.
// - A ring is taken to enclose a pole when its longitudes, unwrapped, do
//   not return to the start; the pole is the one on the side of the centre
//   of its bounding box (the south pole when the centre latitude is
//   negative).
// - Rings that reach beyond +-323970 are split into open pieces by
//   GlobePolyChopPole with split True (also through GlobePolyRound with
//   chopPole): pole chopping is meant for lines; rings are prepared with
//   chopPole False, or with GlobePolyChopPole(split False), which holds such
//   points at the limit and keeps the ring whole.
#pragma once

#include <cstdint>

#include "clsPoly.h"

// Arc-seconds from the nearer pole to the great-circle arc between two points
// (from an end point when the arc ends before the vertex of its circle).
int32_t DistanceGreatArcToPole(int32_t lon1, int32_t lat1, int32_t lon2, int32_t lat2);

// Densifies edges whose great circle passes within 84394" of a pole along
// that great circle (every 15" within 900" of the pole, else every step,
// clamped to 30..10800), and replaces poly by the densified sequence (always
// marked modified). Then splits it at the points beyond latitude +-323970,
// which are dropped (split True), or holds every latitude within +-323970
// (split False). The pieces have 2 points or more; none when nothing is left.
// An edge lying wholly below latitude 239607 and spanning less than 108000 in
// longitude is left as it is.
PolyCollection GlobePolyChopPole(clsPoly& poly, int32_t step, bool split);

// Unwraps the longitudes (a step of 648000 or more counts as crossing 180
// degrees). A closed ring that then goes once round the globe is restarted
// at its vertex nearest the enclosed pole, narrowed by 2" at both ends and
// closed along latitude +-323970. Finally moves the whole sequence by one
// turn when a point lies beyond refLon +-1296000. True when poly changed
// (its modified flag is cleared first).
bool GlobePolyRollOver(clsPoly& poly, int32_t refLon, bool closed);

// Moves the whole sequence by one turn towards refLon when a point lies
// beyond refLon +-648000 (the first such point decides). True when moved.
bool GlobePolyRollBound(clsPoly& poly, int32_t refLon);

// The whole preparation: pole chop (step 18000, split) when chopPole, roll
// over, cut at refLon - 648000 and then at refLon + 648000 (closed rings
// rejoined into closed rings), roll bound. poly receives the densified
// sequence when chopPole and is otherwise not changed; the pieces are new
// sequences.
PolyCollection GlobePolyRound(clsPoly& poly, int32_t refLon, bool chopPole, bool closed);

// A new sequence whose edges follow great circles, sampled every step
// arc-seconds (clamped to 15..324000); the given points are kept.
clsPoly GlobePolyGreatCircle(const clsPoly& poly, int32_t step);
