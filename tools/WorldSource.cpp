#include "WorldSource.h"

#include "Continents.h"

#include <map>
#include <stdexcept>

namespace worldsrc {

namespace {

void FillNames(Country& c, const CountryNames& names) {
    if (const CountryName* n = names.find(c.code)) {
        c.englishName = n->english;
        c.japaneseName = n->japanese;
    }
    if (const ExtraCode* e = FindExtraCode(c.code)) {
        if (c.englishName.isEmpty()) c.englishName = QString::fromUtf8(e->english);
        if (c.japaneseName.isEmpty()) c.japaneseName = QString::fromUtf8(e->japanese);
    }
    if (c.englishName.isEmpty() && !c.sourceNames.isEmpty()) c.englishName = c.sourceNames.first();
}

void AppendPolygons(const Topology& topo, const TopoGeometry& g, std::vector<SecPolygon>& out) {
    for (const auto& polygon : g.polygons) {
        SecPolygon p;
        for (const ArcRefs& ring : polygon) p.rings.push_back(ToSeconds(topo.stitch(ring)));
        out.push_back(std::move(p));
    }
}

} // namespace

std::vector<SecPolygon> ReadPolygons(const Topology& topo, const std::vector<TopoGeometry>& geoms) {
    std::vector<SecPolygon> out;
    for (const TopoGeometry& g : geoms) AppendPolygons(topo, g, out);
    return out;
}

std::vector<Coast> CoastLines(const Topology& topo, const std::vector<TopoGeometry>& geoms, const std::vector<int>& keys) {
    if (keys.size() != geoms.size()) throw std::invalid_argument("CoastLines: one key per geometry");
    struct Use {
        int key = 0;
        int count = 0;
    };
    std::map<int32_t, Use> uses;
    for (size_t g = 0; g < geoms.size(); ++g) {
        for (const auto& polygon : geoms[g].polygons) {
            for (const ArcRefs& ring : polygon) {
                if (IsDegenerate(ToSeconds(topo.stitch(ring)))) continue;
                for (const int32_t r : ring) {
                    Use& u = uses[r < 0 ? ~r : r];
                    if (u.count++ == 0) u.key = keys[g];
                }
            }
        }
    }
    std::vector<Coast> out;
    for (const auto& [arc, use] : uses)
        if (use.count == 1) out.push_back({int16_t(use.key), ToSeconds(topo.arcs()[size_t(arc)])});
    return out;
}

World ReadCountries(const Topology& topo, const CountryNames& names, const QString& object) {
    const std::vector<TopoGeometry>& geoms = topo.object(object);
    std::vector<int> codes;
    codes.reserve(geoms.size());
    std::map<int, Country> byCode;
    for (const TopoGeometry& g : geoms) {
        if (g.polygons.empty()) {  // nothing to outline
            codes.push_back(-1);
            continue;
        }
        const int code = CountryCodeOf(g.id, g.name);
        if (code < 0)
            throw WorldSourceError(QStringLiteral("feature \"%1\" (id \"%2\") has no country code: add it to the table "
                                                  "in CountryNames.cpp")
                                       .arg(g.name, g.id).toStdString());
        codes.push_back(code);
        Country& c = byCode[code];
        c.code = int16_t(code);
        if (!g.name.isEmpty()) c.sourceNames.append(g.name);
        AppendPolygons(topo, g, c.polygons);
    }

    World world;
    for (auto& [code, c] : byCode) {
        FillNames(c, names);
        c.area = ContinentOf(code);
        c.label = LabelPoint(c.polygons);
        world.countries.push_back(std::move(c));
    }
    for (const SharedArc& s : SharedArcs(geoms, codes))
        world.borders.push_back({int16_t(s.keyA), int16_t(s.keyB), ToSeconds(topo.arcs()[size_t(s.arc)])});
    world.coasts = CoastLines(topo, geoms, codes);
    return world;
}

} // namespace worldsrc
