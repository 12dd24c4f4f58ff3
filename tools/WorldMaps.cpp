#include "WorldMaps.h"

#include "Continents.h"
#include "WorldFigures.h"
#include "WorldStyles.h"

#include "basGlobe.h"
#include "clsMap.h"
#include "clsMapPolygon.h"
#include "clsMapPolyline.h"
#include "clsMapRem.h"
#include "clsMapText.h"

#include <QtMath>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

namespace worldsrc {

namespace {

constexpr int16_t WorldDistrict = 0;
constexpr int16_t TextCentred = 12;  // centred on its point, both ways

struct Sized {
    double area;
    MapFigurePtr figure;
};

// A polygon or polyline figure (Kind) around the points.
template <class Kind>
MapFigurePtr PolyFigure(clsPoly&& points, int16_t thing, int16_t district) {
    auto f = std::make_shared<Kind>();
    f->setPoly(std::make_shared<clsPoly>(std::move(points)));
    f->setThing(thing);
    f->setAdmin(district);
    return f;
}

// The rings of a polygon that outline something: the first is the outer one.
std::vector<const SecRing*> RealRings(const SecPolygon& polygon) {
    std::vector<const SecRing*> out;
    for (const SecRing& r : polygon.rings)
        if (!IsDegenerate(r)) out.push_back(&r);
    return out;
}

void AddSized(std::vector<Sized>& out, const SecRing& ring, int16_t thing, int16_t district) {
    for (clsPoly& piece : PolygonPieces(ring)) {
        const double a = piece.Area();
        out.push_back({a, PolyFigure<clsMapPolygon>(std::move(piece), thing, district)});
    }
}

// The outer ring of each polygon.
void AddOutlines(std::vector<Sized>& out, const std::vector<SecPolygon>& polygons, int16_t thing, int16_t district) {
    for (const SecPolygon& polygon : polygons) {
        const std::vector<const SecRing*> rings = RealRings(polygon);
        if (!rings.empty()) AddSized(out, *rings[0], thing, district);
    }
}

void Add(clsMap& map, const MapFigurePtr& figure) {
    if (!map.Add(figure)) throw WorldSourceError("the map refused a figure");
}

void AddLargestFirst(clsMap& map, std::vector<Sized>& figures) {
    std::stable_sort(figures.begin(), figures.end(), [](const Sized& a, const Sized& b) { return a.area > b.area; });
    for (Sized& s : figures) Add(map, s.figure);
}

void AddLines(clsMap& map, const SecRing& line, int16_t thing, int16_t district) {
    for (clsPoly& piece : LinePieces(line)) Add(map, PolyFigure<clsMapPolyline>(std::move(piece), thing, district));
}

// The remark of a header line by its key, among the first figures.
clsMapRem* HeaderLine(clsMap& map, const QString& key) {
    for (int32_t i = 1; i <= std::min<int32_t>(map.Count(), 50); ++i) {
        auto* rem = dynamic_cast<clsMapRem*>(map.Item(i).get());
        if (rem && rem->Key() == key) return rem;
    }
    return nullptr;
}

void SetHeaderValue(clsMap& map, const QString& key, const QString& value) {
    clsMapRem* rem = HeaderLine(map, key);
    if (!rem) throw WorldSourceError(QStringLiteral("the header has no line %1").arg(key).toStdString());
    rem->setComment(rem->Comment() + value);
}

} // namespace

void WriteHeader(clsMap& map, const HeaderText& header) {
    if (!map.MakeHeader(header.code, header.european, header.japanese))
        throw WorldSourceError("the map refused its header");
    SetHeaderValue(map, QStringLiteral("収録項目"), header.contents);
    SetHeaderValue(map, QStringLiteral("参考資料"), header.sources);
}

Land ReadLand(const Topology& topo, const QString& object) {
    const std::vector<TopoGeometry>& geoms = topo.object(object);
    Land land;
    land.polygons = ReadPolygons(topo, geoms);
    return land;
}

Land CountriesAsLand(const World& world) {
    Land land;
    for (const Country& c : world.countries)
        for (const SecPolygon& polygon : c.polygons) {
            const std::vector<const SecRing*> rings = RealRings(polygon);
            if (!rings.empty()) land.polygons.push_back({{*rings[0]}});
        }
    return land;
}

void AddBaseFigures(clsMap& map, const Land& land, const std::vector<SecPolygon>& lakes) {
    std::vector<Sized> outlines;
    std::vector<Sized> water;
    for (const SecPolygon& polygon : land.polygons) {
        const std::vector<const SecRing*> rings = RealRings(polygon);
        for (size_t i = 0; i < rings.size(); ++i)
            AddSized(i == 0 ? outlines : water, *rings[i], i == 0 ? base::Land : base::Lake, WorldDistrict);
    }
    AddOutlines(water, lakes, base::Lake, WorldDistrict);
    AddLargestFirst(map, outlines);
    AddLargestFirst(map, water);
}

std::map<int16_t, int16_t> CountryPages(const World& world) {
    std::map<int16_t, std::set<int16_t>> neighbours;
    for (const Country& c : world.countries) neighbours[c.code];
    for (const Border& b : world.borders) {
        if (b.codeA == b.codeB) continue;
        neighbours[b.codeA].insert(b.codeB);
        neighbours[b.codeB].insert(b.codeA);
    }
    std::vector<int16_t> order;
    for (const auto& [code, n] : neighbours) order.push_back(code);
    std::stable_sort(order.begin(), order.end(),
                     [&](int16_t a, int16_t b) { return neighbours[a].size() > neighbours[b].size(); });

    std::map<int16_t, int16_t> pages;
    std::array<int, 9> used{};
    for (const int16_t code : order) {
        std::array<bool, 9> taken{};
        for (const int16_t n : neighbours[code]) {
            const auto it = pages.find(n);
            if (it != pages.end()) taken[size_t(it->second)] = true;
        }
        int16_t best = 0;
        for (int16_t p = 1; p <= 8; ++p)
            if (!taken[size_t(p)] && (best == 0 || used[size_t(p)] < used[size_t(best)])) best = p;
        if (best == 0) throw WorldSourceError(QStringLiteral("country %1 has neighbours on all eight pages").arg(code).toStdString());
        pages[code] = best;
        ++used[size_t(best)];
    }
    return pages;
}

std::vector<District> Districts(const World& world, const CountryNames* names) {
    const std::map<int16_t, int16_t> pages = CountryPages(world);
    std::map<int16_t, District> out;
    std::array<int, 9> used{};
    const auto add = [&](int code, const QString& en, const QString& ja, int16_t page) {
        if (out.count(int16_t(code))) return;
        const int16_t area = ContinentOf(code);
        if (area < 0) throw WorldSourceError(QStringLiteral("code %1 (%2) has no continent").arg(code).arg(en).toStdString());
        if (en.isEmpty() || ja.isEmpty())
            throw WorldSourceError(QStringLiteral("code %1 lacks a name (\"%2\", \"%3\")").arg(code).arg(en, ja).toStdString());
        if (page == 0) {
            page = 1;
            for (int16_t p = 2; p <= 8; ++p)
                if (used[size_t(p)] < used[size_t(page)]) page = p;
        }
        ++used[size_t(page)];
        out[int16_t(code)] = {int16_t(code), area, page, AsciiName(en), ja};
    };
    for (const AreaName& a : AreaNames())
        if (a.area == AreaWorld) out[0] = {0, AreaWorld, 1, QString::fromUtf8(a.english), QString::fromUtf8(a.japanese)};
    for (const Country& c : world.countries) add(c.code, c.englishName, c.japaneseName, pages.at(c.code));
    if (names) {
        for (const int code : names->codes()) {
            const CountryName* n = names->find(code);
            add(code, n->english, n->japanese, 0);
        }
        for (const ExtraCode& e : ExtraCodes()) add(e.code, QString::fromUtf8(e.english), QString::fromUtf8(e.japanese), 0);
    }
    std::vector<District> list;
    for (auto& [code, d] : out) list.push_back(std::move(d));
    return list;
}

namespace {

// A polygon's area in km², in square degrees shrunk by the cosine of the
// latitude; one square degree at the equator is about 12300 km².
double PolygonArea(const SecPolygon& polygon) {
    const std::vector<const SecRing*> rings = RealRings(polygon);
    if (rings.empty()) return 0;
    double latSum = 0;
    for (const SecPoint& p : *rings[0]) latSum += p.lat;
    const double lat = latSum / double(rings[0]->size()) / SecPerDegree;
    return std::fabs(PlanarArea(*rings[0])) * std::cos(qDegreesToRadians(lat)) * 12300;
}

} // namespace

double CountryArea(const Country& c) {
    double area = 0;
    for (const SecPolygon& polygon : c.polygons) area += PolygonArea(polygon);
    return area;
}

double MainlandSize(const Country& c) {
    double largest = 0;
    for (const SecPolygon& polygon : c.polygons) largest = std::max(largest, PolygonArea(polygon));
    return std::sqrt(largest) * 1000;
}

double CountryExtent(const Country& c) {
    int32_t west = MaxLonSec * 2, east = -west, south = MaxLatSec, north = -MaxLatSec;
    for (const SecPolygon& polygon : c.polygons) {
        const std::vector<const SecRing*> rings = RealRings(polygon);
        if (rings.empty()) continue;
        for (const SecPoint& p : *rings[0]) {
            west = std::min(west, p.lon);
            east = std::max(east, p.lon);
            south = std::min(south, p.lat);
            north = std::max(north, p.lat);
        }
    }
    if (west > east) return 0;
    const double mid = qDegreesToRadians((double(south) + north) / 2 / SecPerDegree);
    return std::max((double(east) - west) * std::cos(mid), double(north) - south) * MeterPerSec;
}

LabelSpot CountryNameSpot(const Country& c, int16_t first, EngineMeasure& measure) {
    const ThingStyle& style = TierStyle(tier::CountryName);
    LabelSpot s;
    s.at = c.label;
    s.fix = TextCentred;
    s.text = measure.Text(LatinName(c.englishName), ShiftJisName(c.japaneseName), style.size, style.style, TextCentred);
    // A country without an outline of any area gets no name (its spot
    // begins past the largest scale); its capital names the place.
    s.from = int16_t(LevelFrom(0) + 1);
    const double extent = CountryExtent(c);
    if (extent <= 0) return s;
    // The scale at which the name is eight times as wide as the country.
    constexpr double MetresPerDot = 0.0254 / 96;
    constexpr double Wider = 8;
    s.from = std::max(first, LevelFrom(extent * Wider / (WidthOf(s.text) * MetresPerDot)));
    return s;
}

namespace {

// A sinusoidal plane round a point, in metres: east along the parallels,
// north along the meridian. Distances in it are near enough those on the
// ground over a country to rank points by.
struct LocalPlane {
    SecPoint centre;
    static double Cos(double latSec) { return std::max(0.05, std::cos(qDegreesToRadians(latSec / SecPerDegree))); }
    // Longitude from the centre, across 180° the short way.
    double dlon(int32_t lon) const {
        double d = double(lon) - centre.lon;
        if (d > MaxLonSec) d -= 2.0 * MaxLonSec;
        if (d < -MaxLonSec) d += 2.0 * MaxLonSec;
        return d;
    }
    void to(SecPoint p, double& x, double& y) const {
        x = dlon(p.lon) * Cos(p.lat) * MeterPerSec;
        y = (double(p.lat) - centre.lat) * MeterPerSec;
    }
    SecPoint from(double x, double y) const {
        const double lat = centre.lat + y / MeterPerSec;
        double lon = centre.lon + x / MeterPerSec / Cos(lat);
        if (lon >= MaxLonSec) lon -= 2.0 * MaxLonSec;
        if (lon < -MaxLonSec) lon += 2.0 * MaxLonSec;
        return {int32_t(std::lround(lon)), int32_t(std::lround(lat))};
    }
};

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay, len = dx * dx + dy * dy;
    const double t = len > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / len, 0.0, 1.0) : 0;
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

} // namespace

std::vector<LabelSpot> CountryNameSpots(const Country& c, const LabelSpot& spot, int16_t last) {
    std::vector<LabelSpot> out{spot};
    if (spot.from > last) return out;
    // The name stays on the piece of the country it stands on (Italy's on
    // the mainland, not on Sicily); a label point off every piece (a
    // country of no area) has no other spot.
    const SecPolygon* home = nullptr;
    std::vector<const SecRing*> rings;
    for (const SecPolygon& polygon : c.polygons) {
        rings = RealRings(polygon);
        if (!rings.empty() && Contains(polygon, spot.at)) {
            home = &polygon;
            break;
        }
    }
    if (!home) return out;
    // The piece's outline in the plane round the label point, segments
    // across the far side of the globe (a ring round a pole) aside.
    const LocalPlane plane{spot.at};
    struct Segment {
        double ax, ay, bx, by;
    };
    std::vector<Segment> segments;
    double west = 0, east = 0, south = 0, north = 0;
    for (const SecRing* ring : rings)
        for (size_t k = 0; k + 1 < ring->size(); ++k) {
            const SecPoint a = (*ring)[k], b = (*ring)[k + 1];
            if (std::fabs(plane.dlon(a.lon) - plane.dlon(b.lon)) > MaxLonSec) continue;
            Segment s{};
            plane.to(a, s.ax, s.ay);
            plane.to(b, s.bx, s.by);
            segments.push_back(s);
            if (ring != rings.front()) continue;
            west = std::min(west, s.ax);
            east = std::max(east, s.ax);
            south = std::min(south, s.ay);
            north = std::max(north, s.ay);
        }
    // A grid of points over the piece, as fine as a sixteenth of its extent
    // but no finer than a third of the name's height where the name is
    // eight levels in: the points inside, deepest first.
    constexpr double MetresPerDot = 0.0254 / 96;
    constexpr int Cells = 16;
    constexpr size_t MostPoints = 160;
    const double h = std::max(spot.text[0].bottom - spot.text[0].top, spot.text[1].bottom - spot.text[1].top);
    const double finest = h / 3 * MetresPerDot * ScaleOfLevel(std::min<int16_t>(last, int16_t(spot.from + 8)));
    const double step = std::max({(east - west) / Cells, (north - south) / Cells, finest});
    if (step <= 0) return out;
    struct Deep {
        double depth, offset;  // metres to the border, from the label point
        SecPoint at;
    };
    std::vector<Deep> points;
    for (double y = south + step / 2; y < north; y += step)
        for (double x = west + step / 2; x < east; x += step) {
            const SecPoint p = plane.from(x, y);
            if (p == spot.at || std::abs(p.lat) >= MaxLatSec || !Contains(*home, p)) continue;
            double px = 0, py = 0;
            plane.to(p, px, py);
            double depth = INFINITY;
            for (const Segment& s : segments) depth = std::min(depth, SegmentDistance(px, py, s.ax, s.ay, s.bx, s.by));
            points.push_back({depth, std::hypot(px, py), p});
        }
    // Deep enough for half the name's height where it is first due: the
    // nearest to the label point first; then the rest, the deepest first.
    const double enough = h / 2 * MetresPerDot * ScaleOfLevel(spot.from);
    std::stable_sort(points.begin(), points.end(), [&](const Deep& a, const Deep& b) {
        const bool ea = a.depth >= enough, eb = b.depth >= enough;
        if (ea != eb) return ea;
        if (ea) return a.offset < b.offset;
        return a.depth > b.depth;
    });
    if (points.size() > MostPoints) points.resize(MostPoints);
    for (const Deep& d : points) {
        LabelSpot s = spot;
        s.at = d.at;
        out.push_back(s);
    }
    return out;
}

std::vector<LabelSpot> CountryNameBeside(const Country& c, const LabelSpot& spot, EngineMeasure& measure) {
    // Above, below, right, left, right above, left above, right below, left below.
    static constexpr int16_t anchors[] = {22, 2, 10, 14, 20, 24, 0, 4};
    const ThingStyle& style = TierStyle(tier::CountryName);
    std::vector<LabelSpot> out;
    for (const int16_t fix : anchors) {
        LabelSpot s = spot;
        s.fix = fix;
        s.text = measure.Text(LatinName(c.englishName), ShiftJisName(c.japaneseName), style.size, style.style, fix);
        out.push_back(s);
    }
    return out;
}

void AddWorldFigures(clsMap& map, const World& world, const std::vector<int16_t>& nameLevels,
                     const std::vector<SecPoint>& nameAt, const std::vector<int16_t>& nameFix) {
    if (nameLevels.size() != world.countries.size()) throw WorldSourceError("a name level for each country expected");
    if ((!nameAt.empty() && nameAt.size() != world.countries.size()) ||
        (!nameFix.empty() && nameFix.size() != world.countries.size()))
        throw WorldSourceError("a name point for each country expected");
    std::vector<Sized> outlines;
    for (const Country& c : world.countries) AddOutlines(outlines, c.polygons, world::Land, c.code);
    AddLargestFirst(map, outlines);
    std::vector<Sized> lakes;
    AddOutlines(lakes, world.lakes, world::Lake, WorldDistrict);
    AddLargestFirst(map, lakes);
    for (const Coast& c : world.coasts) AddLines(map, c.line, world::Coast, c.code);
    for (const Border& b : world.borders) AddLines(map, b.line, world::Border, WorldDistrict);
    for (size_t i = 0; i < world.countries.size(); ++i) {
        const Country& c = world.countries[i];
        if (c.japaneseName.isEmpty())
            throw WorldSourceError(QStringLiteral("%1 (%2) has no Japanese name").arg(c.englishName).arg(c.code).toStdString());
        if (nameLevels[i] == 0) continue;
        auto t = std::make_shared<clsMapText>();
        const SecPoint at = nameAt.empty() ? c.label : nameAt[i];
        t->setPosition(PolyPoint{at.lon, at.lat});
        t->setTextFix(nameFix.empty() ? TextCentred : nameFix[i]);
        t->setTextAnsi(1, LatinName(c.englishName));
        t->setTextAnsi(2, ShiftJisName(c.japaneseName));
        t->setThing(int16_t(tier::CountryName + nameLevels[i]));
        t->setAdmin(c.code);
        Add(map, t);
    }
}

} // namespace worldsrc
