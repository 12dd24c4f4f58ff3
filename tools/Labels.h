// Where the names of a map stand and the scale ranges they show in. The plot
// draws every name whose point is in view, so the data decides which names
// show where: each name takes one of its possible spots (anchors round its
// point, points inside its country) and a zoom level from which on, down
// to the largest scale, it overlaps no name more important than it that
// shows there. Boxes are those the plot engine draws on a 96 dpi view;
// distances on the ground are taken in the plane of longitude times the
// cosine of the latitude, shortened and turned as view projections squeeze
// and turn the edges of large views.
#pragma once

#include "RingGeometry.h"

#include <QByteArray>
#include <QRect>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class QString;
namespace plat {
class DeviceContext;
}

namespace worldsrc {

// The pixels a text drawn at (x, y) covers under the device's text
// alignment; none when the text cannot be measured.
std::optional<QRect> TextBoxAt(const plat::DeviceContext& dc, int x, int y, const QString& text);

// A rectangle of pixels on a 96 dpi view round a point (y down); empty
// when it has no width.
struct PixelBox {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
};

// The boxes of a name in its two languages: European, Japanese.
using NameBoxes = std::array<PixelBox, 2>;

// The width of the wider language.
double WidthOf(const NameBoxes& boxes);

// One way to show a name: the point its text figure stands at, the anchor
// (TextFix) it is drawn with and what it covers round that point: its text
// in each language (a view shows one of them) and the symbol of its place
// (none for a country).
struct LabelSpot {
    SecPoint at;
    int16_t fix = 12;
    NameBoxes text;
    PixelBox mark;
    int16_t from = 1;    // the smallest-scale zoom level (1..53) it may show from
    int32_t owner = -1;  // spots of one owner (0 on) never clash: a place's name and its own symbol
};

// The sizes of names and symbols as the plot engine draws them in a view of
// 96 dpi: the face of the default font, the thing's text height, its
// decoration, the gap and offsets of each anchor.
class EngineMeasure {
public:
    EngineMeasure();
    ~EngineMeasure();
    EngineMeasure(const EngineMeasure&) = delete;
    EngineMeasure& operator=(const EngineMeasure&) = delete;

    // The boxes of a name drawn at `fix` round its point in `points` and
    // `style` (FS_BOLD ...): its European (Latin-1) and its Japanese
    // (Shift-JIS) text; an empty text has an empty box.
    NameBoxes Text(const QByteArray& latin1, const QByteArray& shiftJis, int points, int16_t style, int16_t fix);
    // The pixels a point symbol covers round its point, halo included.
    PixelBox Symbol(int16_t symbol);

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

// Anchors a place's name tries, most wanted first: right of its symbol,
// then the diagonals and sides round it.
std::span<const int16_t> PlaceAnchors();

// A name to place: the zoom level from which it is due, and its spots in
// order of preference.
struct LabelName {
    int16_t due = 1;
    std::vector<LabelSpot> spots;
    bool outwards = false;    // spots farther and farther from where it wants to stand
    bool keepsClear = false;  // its text never covers a symbol of `keepClear` (a capital's another capital)
    int16_t rank = 0;         // a name in the way of one of a smaller rank steps aside for it
};

// The spot each name takes (an index into its spots) and the zoom level it
// shows from; level 0 for a name none of whose spots is ever clear.
struct Placed {
    int16_t from = 0;
    size_t spot = 0;
};

// Names in order of importance, in three rounds. First, zoom level by zoom
// level from the smallest scale, the names due there without a spot yet,
// the earlier due and the more important first, each take a spot that from
// that level on, down to level `last`, overlaps no spot taken before that
// shows there nor the symbol of a more important name still waiting, and,
// for a name that keeps clear, whose text covers no symbol of `keepClear`;
// of such spots the one clear of the spots of `keepClear` soonest, and of
// those the first. A name with no such spot waits for a later level.
// Second, a name that shows later than due, or not at all, takes a spot
// from where it is due or as soon after as one or two names in its way can
// move out of it: a more important one (by rank, then by order) to another
// of its spots from where it shows as soon; a less important one to where
// it shows soonest then, no later than before when its rank is the same or
// the next, however late (or never) when it ranks further down; twice, so
// that a name a later one pushed aside has its turn again. Third, each
// name, the most important first, takes the spot from which it shows
// soonest beside all the others where that is sooner (a name whose spots
// run outwards, no farther out than it stands).
std::vector<Placed> PlaceLabels(const std::vector<LabelName>& names, int16_t last,
                                const std::vector<LabelSpot>& keepClear = {});

// Whether two spots overlap in a view at `scale`.
bool Overlaps(const LabelSpot& a, const LabelSpot& b, double scale);

// The smallest-scale zoom level whose denominator is at most `scale`; 53 for
// anything below the largest scale.
int16_t LevelFrom(double scale);

} // namespace worldsrc
