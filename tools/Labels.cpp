#include "Labels.h"

#include "AppState.h"
#include "Bitmap.h"
#include "RasterDC.h"
#include "basGlobe.h"
#include "clsMapGraph.h"

#include <QImage>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>

namespace worldsrc {

std::optional<QRect> TextBoxAt(const plat::DeviceContext& dc, int x, int y, const QString& text) {
    plat::SIZE size{};
    plat::TEXTMETRIC tm{};
    if (!dc.GetTextExtentPoint32(text, &size) || !dc.GetTextMetrics(&tm)) return std::nullopt;
    const unsigned align = dc.GetTextAlign();
    int left = x, top = y;
    if ((align & plat::TA_CENTER) == plat::TA_CENTER) left -= size.cx / 2;
    else if (align & plat::TA_RIGHT) left -= size.cx;
    if ((align & plat::TA_BASELINE) == plat::TA_BASELINE) top -= tm.tmAscent;
    else if (align & plat::TA_BOTTOM) top -= size.cy;
    return QRect(left, top, size.cx, size.cy);
}

namespace {

constexpr double Dpi = 96;
constexpr double MetresPerDot = 0.0254 / Dpi;  // on paper
constexpr int16_t Levels = 53;

// Room beside every box: the halo and a gap that keeps two names on one
// line from reading as one. Above and below, a text's box holds the font's
// leading, so boxes of names one over the other may share a pixel's row
// without their letters touching.
constexpr double Room = 2.0;
constexpr double RoomY = -0.5;

// Distances taken shorter than in the plane of longitude and latitude, as a
// projection shows them far from the view's centre: the more of the globe a
// view holds, the more its projection squeezes its edges (a world view
// from 1:100 000 000 on draws the globe in a cone).
double Shrink(double scale) {
    return scale >= 100000000 ? 0.4 : scale >= 50000000 ? 0.55 : scale >= 30000000 ? 0.75 : 0.95;
}

// Pixels per metre on the ground at each zoom level: grows with the level.
const std::array<double, Levels + 1>& PixelsPerMetre() {
    static const std::array<double, Levels + 1> k = [] {
        std::array<double, Levels + 1> out{};
        for (int16_t l = 1; l <= Levels; ++l) {
            const double scale = ScaleOfLevel(l);
            out[size_t(l)] = Shrink(scale) / (scale * MetresPerDot);
        }
        return out;
    }();
    return k;
}

// Away from a view's centre a conic view turns the ground under its level
// texts, the more the more of the globe it holds: two names must stay apart
// however their offset turns, by up to an angle that grows with the scale
// (12° at 1:20 000 000). Tried in steps; each step of turn counts up to the
// last level whose views turn that much.
constexpr double TurnPerScale = 12.0 / 20000000;  // degrees
constexpr double MostTurn = 60;
struct Turn {
    double cos, sin;
    int16_t upTo;  // the last level it counts at
};
const std::vector<Turn>& Turns() {
    static const std::vector<Turn> turns = [] {
        std::vector<Turn> out;
        for (const double degrees : {0.0, 4.0, 8.0, 12.0, 16.0, 20.0, 25.0, 30.0, 35.0, 40.0, 45.0, 50.0, 55.0, 60.0}) {
            int16_t upTo = 0;
            for (int16_t l = 1; l <= Levels; ++l)
                if (degrees == 0 || std::min(MostTurn, ScaleOfLevel(l) * TurnPerScale) >= degrees) upTo = l;
            if (upTo == 0) break;
            const double r = degrees * std::numbers::pi / 180;
            out.push_back({std::cos(r), std::sin(r), upTo});
            if (degrees > 0) out.push_back({std::cos(r), -std::sin(r), upTo});
        }
        return out;
    }();
    return turns;
}

// Ground metres east and north from a to b, across 180° the short way.
void Offset(SecPoint a, SecPoint b, double& east, double& north) {
    double dlon = double(b.lon) - a.lon;
    if (dlon > MaxLonSec) dlon -= 2.0 * MaxLonSec;
    if (dlon < -MaxLonSec) dlon += 2.0 * MaxLonSec;
    const double lat = (double(a.lat) + b.lat) / 2 / SecPerDegree * std::numbers::pi / 180;
    east = dlon * MeterPerSec * std::cos(lat);
    north = (double(b.lat) - a.lat) * MeterPerSec;
}

// The open range of pixels per metre k at which box b, its point k * (dx,
// dy) pixels from a's (y down), overlaps box a (both with their room);
// empty when k0 >= k1.
void OverlapRange(const PixelBox& a, const PixelBox& b, double dx, double dy, double& k0, double& k1) {
    k0 = 0;
    k1 = INFINITY;
    const auto along = [&](double lo, double hi, double d) {
        if (d == 0) {
            if (!(lo < 0 && 0 < hi)) k1 = 0;
            return;
        }
        const double u = lo / d, v = hi / d;
        k0 = std::max(k0, std::min(u, v));
        k1 = std::min(k1, std::max(u, v));
    };
    along(a.left - b.right - 2 * Room, a.right - b.left + 2 * Room, dx);
    along(a.top - b.bottom - 2 * RoomY, a.bottom - b.top + 2 * RoomY, dy);
}

// The box round all of a spot's boxes.
PixelBox Bound(const LabelSpot& s) {
    PixelBox out;
    for (const PixelBox* b : {&s.text[0], &s.text[1], &s.mark}) {
        if (b->empty()) continue;
        out = out.empty() ? *b
                          : PixelBox{std::min(out.left, b->left), std::min(out.top, b->top), std::max(out.right, b->right),
                                     std::max(out.bottom, b->bottom)};
    }
    return out;
}

// How far a spot's boxes reach from its point, room included.
double Reach(const LabelSpot& s) {
    const PixelBox b = Bound(s);
    if (b.empty()) return 0;
    return std::hypot(std::max(-b.left, b.right), std::max(-b.top, b.bottom)) + 2 * Room;
}

PixelBox Inset(const PixelBox& b, double d) {
    return b.empty() ? b : PixelBox{b.left + d, b.top + d, b.right - d, b.bottom - d};
}

// The pairs of boxes of two spots that must not overlap: text and text in
// the same language, texts and symbols (but for their halo and outermost
// pixel, which a text's leading may cover), and symbols (their rims aside:
// two places close together may touch).
template <class F>
void ForPairs(const LabelSpot& a, const LabelSpot& b, F&& f) {
    for (size_t l = 0; l < 2; ++l) f(a.text[l], b.text[l]);
    const PixelBox ma = Inset(a.mark, 2), mb = Inset(b.mark, 2);
    for (const PixelBox* t : {&a.text[0], &a.text[1]}) f(*t, mb);
    for (const PixelBox* t : {&b.text[0], &b.text[1]}) f(ma, *t);
    f(Inset(a.mark, 4), Inset(b.mark, 4));
}

// The largest level in lo..last at which two spots overlap; 0 when none.
int16_t LastOverlap(const LabelSpot& a, double reachA, const LabelSpot& b, double reachB, int16_t lo, int16_t last) {
    const auto& k = PixelsPerMetre();
    // Farther apart north or south at lo than both reach: apart from there on.
    const double north = (double(b.at.lat) - a.at.lat) * MeterPerSec;
    if (std::fabs(north) * k[size_t(lo)] >= reachA + reachB) return 0;
    double east = 0, n = 0;
    Offset(a.at, b.at, east, n);
    const double reach = (reachA + reachB) / k[size_t(lo)];
    if (east * east + n * n >= reach * reach) return 0;
    const PixelBox boundA = Bound(a), boundB = Bound(b);
    int16_t found = 0;
    for (const Turn& t : Turns()) {
        if (t.upTo < lo || t.upTo <= found) continue;
        const int16_t top = std::min(last, t.upTo);
        const double dx = east * t.cos + n * t.sin, dy = east * t.sin - n * t.cos;
        // Nothing of the two overlaps at this turn when their bounds do not.
        double b0 = 0, b1 = 0;
        OverlapRange(boundA, boundB, dx, dy, b0, b1);
        if (b0 >= b1 || b1 <= k[size_t(lo)] || b0 >= k[size_t(top)]) continue;
        ForPairs(a, b, [&](const PixelBox& pa, const PixelBox& pb) {
            if (pa.empty() || pb.empty()) return;
            double k0 = 0, k1 = 0;
            OverlapRange(pa, pb, dx, dy, k0, k1);
            if (k0 >= k1) return;
            // The last level whose k is below k1; overlapping when above k0.
            const auto end = std::lower_bound(k.begin() + lo, k.begin() + top + 1, k1);
            if (end == k.begin() + lo) return;
            const int16_t level = int16_t(end - 1 - k.begin());
            if (k[size_t(level)] > k0) found = std::max(found, level);
        });
    }
    return found;
}

// A raster device that notes where texts go instead of drawing them.
class NotingDC : public plat::RasterDC {
public:
    using plat::RasterDC::RasterDC;
    PixelBox box;
    bool TextOut(int x, int y, const QString& text) override { return note(x, y, text); }
    bool TextOutHalo(int x, int y, const QString& text, plat::COLORREF, plat::COLORREF, const plat::POINT*, int) override {
        return note(x, y, text);
    }

private:
    bool note(int x, int y, const QString& text) {
        const std::optional<QRect> r = TextBoxAt(*this, x, y, text);
        if (!r) return false;
        box = {double(r->left()), double(r->top()), double(r->left() + r->width()), double(r->top() + r->height())};
        return true;
    }
};

constexpr int Canvas = 512, Centre = Canvas / 2;
constexpr size_t None = size_t(-1);  // no name, no limit
constexpr int32_t Black = 0, White = 0xFFFFFF, Red = 0x0000FF;

} // namespace

struct EngineMeasure::Impl {
    NotingDC dc{plat::Bitmap::Create(Canvas, Canvas, 32), int(Dpi)};
    clsMapGraph graph;

    bool begin(plat::HDC hdc) {
        if (!graph.GraphBegin(hdc, 0, 0, Canvas, Canvas)) return false;
        graph.setResolutionX(int32_t(Dpi));
        graph.setResolutionY(int32_t(Dpi));
        graph.setTextRatio(100);
        graph.setSymbolRatio(100);
        return true;
    }
};

EngineMeasure::EngineMeasure() : d_(std::make_unique<Impl>()) {
    if (!d_->begin(&d_->dc)) throw std::runtime_error("the drawing layer refused a canvas to measure on");
}

EngineMeasure::~EngineMeasure() { d_->graph.GraphEnd(); }

NameBoxes EngineMeasure::Text(const QByteArray& latin1, const QByteArray& shiftJis, int points, int16_t style,
                             int16_t fix) {
    clsMapGraph& g = d_->graph;
    // As a styled text draws: its thing's font ("(default)"), else the
    // default font at 10 points.
    if (!g.SetFont(QStringLiteral("(default)"), points, 0, uint8_t(style), Black, White))
        g.SetFont(gvDefaultFont, 10, 0, 0, Black, -1);
    const auto box = [&](bool drawn) {
        const PixelBox b = d_->dc.box;
        d_->dc.box = {};
        if (!drawn || b.empty()) return PixelBox{};
        return PixelBox{b.left - Centre, b.top - Centre, b.right - Centre, b.bottom - Centre};
    };
    d_->dc.box = {};
    const PixelBox european = box(g.DrawLatin1Text(Centre, Centre, fix, latin1));
    return {european, box(g.DrawText(Centre, Centre, fix, shiftJis))};
}

PixelBox EngineMeasure::Symbol(int16_t symbol) {
    // Drawn for real on white: fore black, halo red; what is no longer white
    // is the symbol.
    plat::RasterDC dc(plat::Bitmap::Create(Canvas, Canvas, 32), int(Dpi));
    clsMapGraph g;
    if (!g.GraphBegin(&dc, 0, 0, Canvas, Canvas)) return {};
    g.setResolutionX(int32_t(Dpi));
    g.setResolutionY(int32_t(Dpi));
    g.setSymbolRatio(100);
    g.SetBrush(8, White, -1);
    g.DrawClear();
    g.SetSymbol(symbol, Black, Red);
    g.DrawPaint(Centre, Centre);
    g.GraphEnd();
    const QImage& image = dc.image();
    int left = Canvas, top = Canvas, right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < left) return {};
    return {double(left - Centre), double(top - Centre), double(right + 1 - Centre), double(bottom + 1 - Centre)};
}

std::span<const int16_t> PlaceAnchors() {
    // Right, right above, right below, left, left above, left below, above, below.
    static constexpr int16_t anchors[] = {10, 20, 0, 14, 24, 4, 22, 2};
    return anchors;
}

bool Overlaps(const LabelSpot& a, const LabelSpot& b, double scale) {
    double east = 0, north = 0;
    Offset(a.at, b.at, east, north);
    const double k = Shrink(scale) / (scale * MetresPerDot);
    const int16_t level = LevelFrom(scale);
    bool overlap = false;
    for (const Turn& t : Turns()) {
        if (t.upTo < level) continue;
        const double dx = east * t.cos + north * t.sin, dy = east * t.sin - north * t.cos;
        ForPairs(a, b, [&](const PixelBox& pa, const PixelBox& pb) {
            if (pa.empty() || pb.empty()) return;
            double k0 = 0, k1 = 0;
            OverlapRange(pa, pb, dx, dy, k0, k1);
            overlap = overlap || (k0 < k && k < k1);
        });
    }
    return overlap;
}

double WidthOf(const NameBoxes& boxes) {
    return std::max(boxes[0].right - boxes[0].left, boxes[1].right - boxes[1].left);
}

namespace {

// The placing of the names of one map (PlaceLabels): the spots taken so far
// and what a repair may take back.
class Placer {
public:
    Placer(const std::vector<LabelName>& names, int16_t last, const std::vector<LabelSpot>& keepClear)
        : names_(names), last_(std::clamp<int16_t>(last, 1, Levels)), out_(names.size()), takenOf_(names.size(), None),
          soonest_(names.size()), cores_(names.size()), locked_(names.size()) {
        for (const LabelSpot& s : keepClear) soft_.push_back({&s, Reach(s), std::max<int16_t>(1, s.from), None});
        taken_.reserve(names.size());
        for (size_t i = 0; i < names.size(); ++i) soonest_[i] = std::max<int16_t>(1, names[i].due);
        // What every spot of a name covers (a place's symbol), kept clear for
        // it by the less important names while it waits for room.
        for (size_t i = 0; i < names.size(); ++i) {
            const std::vector<LabelSpot>& spots = names[i].spots;
            if (spots.empty() || spots[0].mark.empty()) continue;
            const bool shared = std::all_of(spots.begin(), spots.end(), [&](const LabelSpot& s) {
                return s.at == spots[0].at && s.mark.left == spots[0].mark.left && s.mark.top == spots[0].mark.top &&
                       s.mark.right == spots[0].mark.right && s.mark.bottom == spots[0].mark.bottom;
            });
            if (!shared) continue;
            cores_[i] = spots[0];
            cores_[i].text = {};
            waiting_.push_back({&cores_[i], Reach(cores_[i]), soonest_[i], i});
        }
    }

    // Zoom level by zoom level, the names due there without a spot yet.
    void sweep() {
        std::vector<size_t> order(names_.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return names_[a].due < names_[b].due; });
        for (int16_t level = 1; level <= last_; ++level)
            for (const size_t i : order) {
                if (names_[i].due > level) break;
                if (out_[i].from > 0 || soonest_[i] > level) continue;
                const Placed p = bestSpot(i, level, None, None, true);
                if (p.from == level) change(i, p);
                else soonest_[i] = p.from;  // past `last_`: never
            }
        changes_.clear();
    }

    // A name that shows later than it is due, or not at all, takes a spot
    // from where it is due or as soon after as the names in its way can
    // move out of it (moveTo).
    void repair() {
        for (size_t i = 0; i < names_.size(); ++i) {
            const int16_t due = std::max<int16_t>(1, names_[i].due);
            if (due >= last_ || (takenOf_[i] != None && out_[i].from <= due)) continue;
            const int16_t now = takenOf_[i] == None ? int16_t(last_ + 1) : out_[i].from;
            bool done = false;
            for (int16_t level = due; level < now && !done; ++level)
                for (size_t c = 0; c < names_[i].spots.size() && !done; ++c) done = moveTo(i, c, level, 2);
            changes_.clear();
            std::fill(locked_.begin(), locked_.end(), false);
        }
    }

    // Each name, the most important first, where it shows sooner.
    void earlier() {
        for (size_t i = 0; i < names_.size(); ++i) {
            if (takenOf_[i] == None) continue;
            const Placed p = bestSpot(i, 1, i, names_[i].outwards ? out_[i].spot + 1 : None);
            if (p.from < taken_[takenOf_[i]].from) change(i, p);
        }
        changes_.clear();
    }

    const std::vector<Placed>& placed() const { return out_; }

private:
    struct Taken {
        const LabelSpot* spot = nullptr;  // none for a name left out
        double reach = 0;
        int16_t from = 0;
        size_t name = 0;
    };
    struct Change {  // what was there before
        size_t name;
        Placed out;
        size_t of;
        Taken entry;  // when `of` is one
    };

    // The last level at which a spot overlaps one of `spots` that shows
    // there, from `floor` + 1 on (`floor` when none does); stops at `stop`.
    template <class Skip>
    int16_t lastClash(const LabelSpot& s, const std::vector<Taken>& spots, int16_t floor, int16_t stop, size_t self,
                      Skip&& skip) const {
        const double reach = Reach(s);
        int16_t clash = floor;
        for (const Taken& t : spots) {
            if (!t.spot || (self != None && t.name == self) || (s.owner >= 0 && s.owner == t.spot->owner) || skip(t))
                continue;
            const int16_t lo = std::max<int16_t>(t.from, int16_t(clash + 1));
            if (lo > last_) continue;
            clash = std::max(clash, LastOverlap(s, reach, *t.spot, t.reach, lo, last_));
            if (clash >= stop) break;
        }
        return clash;
    }
    int16_t lastClash(const LabelSpot& s, const std::vector<Taken>& spots, int16_t floor, int16_t stop, size_t self) const {
        return lastClash(s, spots, floor, stop, self, [](const Taken&) { return false; });
    }

    // The spot of name i (of its first `spots` only) that shows soonest, at
    // or after `level`, beside the names taken (all but `self`) and, with
    // `reserve`, the symbols of the more important names still waiting; of
    // equals the one clearest of the spots to keep clear.
    Placed bestSpot(size_t i, int16_t level, size_t self, size_t spots = None, bool reserve = false) const {
        const auto notAhead = [&](const Taken& t) { return t.name >= i || out_[t.name].from > 0 || soonest_[t.name] > last_; };
        int16_t best = int16_t(last_ + 1);
        std::vector<size_t> equals;
        for (size_t c = 0; c < std::min(spots, names_[i].spots.size()); ++c) {
            const LabelSpot& s = names_[i].spots[c];
            const int16_t first = std::max<int16_t>({1, s.from, level});
            if (first > best) continue;
            int16_t clash = lastClash(s, taken_, int16_t(first - 1), best, self);
            if (reserve && clash < best) clash = std::max(clash, lastClash(s, waiting_, int16_t(first - 1), best, self, notAhead));
            if (names_[i].keepsClear && clash < best) {
                LabelSpot text = s;
                text.mark = {};
                clash = std::max(clash, lastClash(text, soft_, int16_t(first - 1), best, self));
            }
            const int16_t from = int16_t(clash + 1);
            if (from < best) {
                best = from;
                equals.clear();
            }
            if (from == best && best <= last_) equals.push_back(c);
        }
        Placed p{best, equals.empty() ? 0 : equals.front()};
        if (!soft_.empty() && equals.size() > 1) {
            int16_t clearest = Levels + 1;
            for (const size_t c : equals) {
                const int16_t clash = lastClash(names_[i].spots[c], soft_, int16_t(best - 1), clearest, None);
                if (clash < clearest) {
                    clearest = clash;
                    p.spot = c;
                }
                if (clearest < best) break;
            }
        }
        return p;
    }

    // Name i at p, or left out (p.from 0), noted so that it can be undone.
    void change(size_t i, const Placed& p) {
        changes_.push_back({i, out_[i], takenOf_[i], takenOf_[i] == None ? Taken{} : taken_[takenOf_[i]]});
        if (takenOf_[i] == None) {
            takenOf_[i] = taken_.size();
            taken_.push_back({});
        }
        out_[i] = p;
        const LabelSpot* s = p.from > 0 ? &names_[i].spots[p.spot] : nullptr;
        taken_[takenOf_[i]] = {s, s ? Reach(*s) : 0, p.from > 0 ? p.from : int16_t(last_ + 1), i};
    }
    void undo(size_t mark) {
        for (; changes_.size() > mark; changes_.pop_back()) {
            const Change& c = changes_.back();
            if (c.of == None) taken_.pop_back();  // the entry it added, the last one since
            else taken_[c.of] = c.entry;
            out_[c.name] = c.out;
            takenOf_[c.name] = c.of;
            locked_[c.name] = false;
        }
    }

    // The names in the way of name i at spot s from `level` on, when there
    // are at most `most` of them and none may not move.
    std::optional<std::vector<size_t>> inTheWay(size_t i, const LabelSpot& s, int16_t level, size_t most) const {
        const double reach = Reach(s);
        std::vector<size_t> found;
        for (const Taken& t : taken_) {
            if (!t.spot || t.name == i || (s.owner >= 0 && s.owner == t.spot->owner)) continue;
            if (LastOverlap(s, reach, *t.spot, t.reach, std::max(t.from, level), last_) == 0) continue;
            if (locked_[t.name] || found.size() == most) return std::nullopt;
            found.push_back(t.name);
        }
        return found;
    }

    // Name i at its spot c from `level` on, the names in the way (two at
    // most, `depth` deep) out of it: a less important one to where it shows
    // soonest then, which for one of the same rank or the next must still be
    // from the level it showed from or i does (of a larger rank however late,
    // or never); a more important one to another of its spots from where it
    // shows as soon. False, and nothing changed, when that cannot be.
    bool moveTo(size_t i, size_t c, int16_t level, int depth) {
        constexpr size_t MostMoved = 2;
        if (names_[i].spots[c].from > level) return false;
        const auto blockers = inTheWay(i, names_[i].spots[c], level, depth > 0 ? MostMoved : 0);
        if (!blockers) return false;
        const size_t mark = changes_.size();
        change(i, {level, c});
        locked_[i] = true;
        std::vector<std::pair<size_t, int16_t>> bumped;  // and the level they showed from
        for (const size_t j : *blockers) {
            const Taken now = taken_[takenOf_[j]];
            if (names_[j].rank > names_[i].rank || (names_[j].rank == names_[i].rank && j > i)) {
                change(j, {});
                bumped.push_back({j, now.from});
                continue;
            }
            bool moved = false;
            for (size_t a = 0; a < names_[j].spots.size() && !moved; ++a)
                moved = &names_[j].spots[a] != now.spot && moveTo(j, a, now.from, depth - 1);
            if (!moved) {
                undo(mark);
                return false;
            }
        }
        for (const auto& [j, before] : bumped) {
            const Placed p = bestSpot(j, std::max<int16_t>(1, names_[j].due), j);
            if (names_[j].rank <= names_[i].rank + 1 && p.from > before) {
                undo(mark);
                return false;
            }
            if (p.from <= last_) change(j, p);
        }
        return true;
    }

    const std::vector<LabelName>& names_;
    const int16_t last_;
    std::vector<Placed> out_;
    std::vector<Taken> taken_;
    std::vector<size_t> takenOf_;
    // The level from which each name may show at the soonest beside the
    // names taken so far (it only grows as more are taken).
    std::vector<int16_t> soonest_;
    std::vector<LabelSpot> cores_;
    std::vector<Taken> waiting_;
    std::vector<Taken> soft_;
    std::vector<Change> changes_;
    std::vector<bool> locked_;
};

} // namespace

std::vector<Placed> PlaceLabels(const std::vector<LabelName>& names, int16_t last,
                                const std::vector<LabelSpot>& keepClear) {
    Placer placer(names, last, keepClear);
    placer.sweep();
    placer.repair();
    placer.repair();
    placer.earlier();
    return placer.placed();
}

int16_t LevelFrom(double scale) {
    for (int16_t level = 1; level <= Levels; ++level)
        if (ScaleOfLevel(level) <= scale * (1 + 1e-9)) return level;
    return Levels;
}

} // namespace worldsrc
