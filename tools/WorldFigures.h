// From outlines in arc-seconds to what map figures can hold: point
// sequences that can be drawn flat in any view, and names in the byte
// encodings of text figures.
//
// A map figure is drawn as it stands, so a ring that crosses the date line
// (Russia, Fiji) would streak across the whole map, and Antarctica's coast,
// which goes once round the south pole, would fill the wrong side. The
// pieces below are made with the program's own sphere routines: rings are
// cut at ±180° and closed along it, a ring round a pole is closed along the
// pole (30" from it), and a piece still wider than 180° of longitude is cut
// once more at the prime meridian, so no polygon spans more than half the
// globe. Polygons are filled without an outline, so the seams do not show.
#pragma once

#include "RingGeometry.h"

#include "clsPoly.h"

#include <QByteArray>
#include <QString>

namespace worldsrc {

// The ring's points as a point sequence (x longitude, y latitude).
clsPoly ToPoly(const SecRing& ring);

// East-west extent of a sequence in arc-seconds; 0 when it is empty.
int32_t LonSpan(const clsPoly& poly);

// A closed ring as closed pieces of at most 180° of longitude that neither
// cross the date line nor enclose a pole; pieces of fewer than 4 points (no
// polygon) are dropped. Nothing for a degenerate ring.
PolyCollection PolygonPieces(const SecRing& ring);

// An open line as pieces that do not cross the date line; pieces of fewer
// than 2 points are dropped.
PolyCollection LinePieces(const SecRing& line);

// A European name in the one byte per character that text figures hold
// (Latin-1). Characters beyond Latin-1 lose their accents ("ő" gives "o"),
// a few are spelt out ("œ" gives "oe", "ł" gives "l"), typographic quotes
// and dashes become their plain forms. Throws WorldSourceError for a
// character that none of this covers. `changed` is set when the bytes do not
// spell the name exactly.
QByteArray LatinName(const QString& name, bool* changed = nullptr);

// A European name in ASCII, for the Shift-JIS text of the catalogues, which
// has no accented letters: "Côte d'Ivoire" gives "Cote d'Ivoire", "ß" gives
// "ss". Throws WorldSourceError as LatinName does.
QString AsciiName(const QString& name, bool* changed = nullptr);

// The name in Shift-JIS (code page 932), as text figures hold Japanese
// names. Throws WorldSourceError when a character has no code there.
QByteArray ShiftJisName(const QString& name);

} // namespace worldsrc
