#include "TopoJson.h"

#include <algorithm>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>

namespace worldsrc {

namespace {

// The largest world-atlas file is under 4 MB; anything near this is not ours.
constexpr qint64 MaxFileBytes = 256LL * 1024 * 1024;
// Collections nest a level or two in practice; deeper is malformed or hostile.
constexpr int MaxNesting = 32;

[[noreturn]] void Fail(const QString& what) { throw WorldSourceError(what.toStdString()); }

double FiniteNumber(const QJsonValue& v, const QString& where) {
    if (!v.isDouble() || !std::isfinite(v.toDouble())) Fail(where + ": a number was expected");
    return v.toDouble();
}

QJsonArray ArrayOf(const QJsonValue& v, const QString& where) {
    if (!v.isArray()) Fail(where + ": an array was expected");
    return v.toArray();
}

struct Transform {
    bool quantized = false;
    double sx = 1, sy = 1, tx = 0, ty = 0;
};

Transform ReadTransform(const QJsonObject& root) {
    Transform t;
    if (!root.contains(QLatin1String("transform"))) return t;
    const QJsonObject o = root.value(QLatin1String("transform")).toObject();
    const QJsonArray scale = ArrayOf(o.value(QLatin1String("scale")), QStringLiteral("transform.scale"));
    const QJsonArray translate = ArrayOf(o.value(QLatin1String("translate")), QStringLiteral("transform.translate"));
    if (scale.size() != 2 || translate.size() != 2) Fail(QStringLiteral("transform: two scales and two offsets expected"));
    t.quantized = true;
    t.sx = FiniteNumber(scale[0], QStringLiteral("transform.scale"));
    t.sy = FiniteNumber(scale[1], QStringLiteral("transform.scale"));
    t.tx = FiniteNumber(translate[0], QStringLiteral("transform.translate"));
    t.ty = FiniteNumber(translate[1], QStringLiteral("transform.translate"));
    return t;
}

std::vector<DegRing> ReadArcs(const QJsonObject& root, const Transform& t) {
    const QJsonArray arcs = ArrayOf(root.value(QLatin1String("arcs")), QStringLiteral("arcs"));
    std::vector<DegRing> out;
    out.reserve(arcs.size());
    for (qsizetype i = 0; i < arcs.size(); ++i) {
        const QString where = QStringLiteral("arc %1").arg(i);
        const QJsonArray positions = ArrayOf(arcs[i], where);
        if (positions.size() < 2) Fail(where + ": fewer than two positions");
        DegRing ring;
        ring.reserve(positions.size());
        // Quantized arcs store the first position absolutely and every later
        // one as the difference to its predecessor.
        double x = 0, y = 0;
        for (const QJsonValue& pv : positions) {
            const QJsonArray p = ArrayOf(pv, where);
            if (p.size() < 2) Fail(where + ": a position needs two numbers");
            const double a = FiniteNumber(p[0], where);
            const double b = FiniteNumber(p[1], where);
            DegPoint d;
            if (t.quantized) {
                x += a;
                y += b;
                d = {x * t.sx + t.tx, y * t.sy + t.ty};
            } else {
                d = {a, b};
            }
            if (!std::isfinite(d.lon) || !std::isfinite(d.lat)) Fail(where + ": position out of range");
            ring.push_back(d);
        }
        out.push_back(std::move(ring));
    }
    return out;
}

class GeometryReader {
public:
    explicit GeometryReader(size_t arcCount) : arcCount_(static_cast<int64_t>(arcCount)) {}

    void read(const QJsonValue& v, int depth, std::vector<TopoGeometry>& out) {
        if (depth > MaxNesting) Fail(QStringLiteral("geometry collections nested too deeply"));
        if (!v.isObject()) Fail(QStringLiteral("a geometry must be an object"));
        const QJsonObject o = v.toObject();
        const QString type = o.value(QLatin1String("type")).toString();
        if (type == QLatin1String("GeometryCollection")) {
            for (const QJsonValue& g : ArrayOf(o.value(QLatin1String("geometries")), type)) read(g, depth + 1, out);
            return;
        }
        TopoGeometry g;
        g.id = IdText(o.value(QLatin1String("id")));
        g.name = o.value(QLatin1String("properties")).toObject().value(QLatin1String("name")).toString();
        const QJsonValue arcs = o.value(QLatin1String("arcs"));
        if (type == QLatin1String("Polygon")) {
            g.kind = TopoGeometry::Kind::Polygon;
            g.polygons.push_back(rings(arcs, type));
        } else if (type == QLatin1String("MultiPolygon")) {
            g.kind = TopoGeometry::Kind::MultiPolygon;
            for (const QJsonValue& p : ArrayOf(arcs, type)) g.polygons.push_back(rings(p, type));
        } else if (type == QLatin1String("LineString")) {
            g.kind = TopoGeometry::Kind::LineString;
            g.lines.push_back(refs(arcs, type));
        } else if (type == QLatin1String("MultiLineString")) {
            g.kind = TopoGeometry::Kind::MultiLineString;
            g.lines = rings(arcs, type);
        } else if (type == QLatin1String("Point") || type == QLatin1String("MultiPoint") || type.isEmpty()) {
            g.kind = TopoGeometry::Kind::Other;  // no arcs: nothing to outline
        } else {
            Fail(QStringLiteral("unknown geometry type \"%1\"").arg(type));
        }
        out.push_back(std::move(g));
    }

private:
    static QString IdText(const QJsonValue& v) {
        if (v.isString()) return v.toString();
        if (v.isDouble()) {
            const double d = v.toDouble();
            if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 1e15)
                return QString::number(static_cast<qint64>(d));
            return QString::number(d);
        }
        return QString();
    }

    ArcRefs refs(const QJsonValue& v, const QString& where) const {
        const QJsonArray a = ArrayOf(v, where);
        if (a.isEmpty()) Fail(where + ": a ring or line without arcs");
        ArcRefs out;
        out.reserve(a.size());
        for (const QJsonValue& r : a) {
            const double d = FiniteNumber(r, where);
            if (d != std::trunc(d) || d < -static_cast<double>(arcCount_) || d >= static_cast<double>(arcCount_))
                Fail(where + QStringLiteral(": arc reference %1 out of range").arg(d));
            out.push_back(static_cast<int32_t>(d));
        }
        return out;
    }

    std::vector<ArcRefs> rings(const QJsonValue& v, const QString& where) const {
        std::vector<ArcRefs> out;
        for (const QJsonValue& r : ArrayOf(v, where)) out.push_back(refs(r, where));
        return out;
    }

    int64_t arcCount_;
};

} // namespace

Topology Topology::Parse(const QByteArray& json) {
    QJsonParseError err{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &err);
    if (err.error != QJsonParseError::NoError)
        Fail(QStringLiteral("not JSON (%1 at byte %2)").arg(err.errorString()).arg(err.offset));
    const QJsonObject root = doc.object();
    if (root.value(QLatin1String("type")).toString() != QLatin1String("Topology")) Fail(QStringLiteral("not a TopoJSON topology"));

    Topology t;
    t.arcs_ = ReadArcs(root, ReadTransform(root));
    GeometryReader reader(t.arcs_.size());
    const QJsonObject objects = root.value(QLatin1String("objects")).toObject();
    for (auto it = objects.begin(); it != objects.end(); ++it) {
        std::vector<TopoGeometry> geoms;
        reader.read(it.value(), 0, geoms);
        t.objects_.emplace(it.key(), std::move(geoms));
    }
    return t;
}

Topology Topology::ReadFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) Fail(path + QStringLiteral(": ") + f.errorString());
    if (f.size() > MaxFileBytes) Fail(path + QStringLiteral(": too large for a topology"));
    try {
        return Parse(f.readAll());
    } catch (const WorldSourceError& e) {
        Fail(path + QStringLiteral(": ") + QString::fromStdString(e.what()));
    }
}

const std::vector<TopoGeometry>& Topology::object(const QString& name) const {
    const auto it = objects_.find(name);
    if (it == objects_.end()) Fail(QStringLiteral("the topology has no object \"%1\"").arg(name));
    return it->second;
}

DegRing Topology::stitch(const ArcRefs& refs) const {
    DegRing out;
    for (const int32_t r : refs) {
        const DegRing& arc = arcs_[static_cast<size_t>(r < 0 ? ~r : r)];
        const size_t skip = out.empty() ? 0 : 1;
        if (r >= 0) {
            out.insert(out.end(), arc.begin() + static_cast<std::ptrdiff_t>(skip), arc.end());
        } else {
            out.insert(out.end(), arc.rbegin() + static_cast<std::ptrdiff_t>(skip), arc.rend());
        }
    }
    return out;
}

namespace {

double Distance(const DegPoint& p, const DegPoint& a, const DegPoint& b) {
    const double dx = b.lon - a.lon, dy = b.lat - a.lat;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.lon - a.lon) * dx + (p.lat - a.lat) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.lon - (a.lon + t * dx), p.lat - (a.lat + t * dy));
}

// Marks the points of (first, last) to keep; `force` keeps the farthest one
// whatever its distance.
void Keep(const DegRing& arc, size_t first, size_t last, double tolerance, bool force, std::vector<bool>& keep) {
    std::vector<std::pair<size_t, size_t>> stack{{first, last}};
    while (!stack.empty()) {
        const auto [a, b] = stack.back();
        stack.pop_back();
        if (b <= a + 1) continue;
        size_t far = a + 1;
        double most = -1;
        for (size_t i = a + 1; i < b; ++i) {
            const double d = Distance(arc[i], arc[a], arc[b]);
            if (d > most) most = d, far = i;
        }
        if (most <= tolerance && !(force && a == first && b == last)) continue;
        keep[far] = true;
        stack.push_back({a, far});
        stack.push_back({far, b});
    }
}

} // namespace

Topology Topology::Thinned(double tolerance) const {
    Topology out = *this;
    for (DegRing& arc : out.arcs_) {
        if (arc.size() < 3) continue;
        std::vector<bool> keep(arc.size(), false);
        const size_t last = arc.size() - 1;
        keep.front() = keep.back() = true;
        Keep(arc, 0, last, tolerance, true, keep);
        if (arc.front() == arc.back()) {
            // A ring of one arc (an island) keeps a point in each half too.
            const size_t far = size_t(std::find(keep.begin() + 1, keep.end(), true) - keep.begin());
            Keep(arc, 0, far, tolerance, true, keep);
            Keep(arc, far, last, tolerance, true, keep);
        }
        DegRing thin;
        for (size_t i = 0; i < arc.size(); ++i)
            if (keep[i]) thin.push_back(arc[i]);
        arc = std::move(thin);
    }
    return out;
}

std::vector<SharedArc> SharedArcs(const std::vector<TopoGeometry>& geoms, const std::vector<int>& keys) {
    if (keys.size() != geoms.size()) throw std::invalid_argument("SharedArcs: one key per geometry");
    struct Use {
        int first = 0;
        int other = 0;
        bool shared = false;
    };
    std::map<int32_t, Use> uses;
    for (size_t g = 0; g < geoms.size(); ++g) {
        const int key = keys[g];
        for (const auto& polygon : geoms[g].polygons) {
            for (const ArcRefs& ring : polygon) {
                for (const int32_t r : ring) {
                    const auto [it, fresh] = uses.try_emplace(r < 0 ? ~r : r, Use{key, 0, false});
                    if (!fresh && !it->second.shared && it->second.first != key) {
                        it->second.other = key;
                        it->second.shared = true;
                    }
                }
            }
        }
    }
    std::vector<SharedArc> out;
    for (const auto& [arc, use] : uses)
        if (use.shared) out.push_back({arc, use.first, use.other});
    return out;
}

} // namespace worldsrc
