#include "TopoJson.h"

#include <gtest/gtest.h>

#include <QString>

using namespace worldsrc;

namespace {

QString Fixture() { return QStringLiteral(KAL_TESTDATA_DIR "/tiny-topology.json"); }

DegRing Ring(std::initializer_list<std::pair<double, double>> pts) {
    DegRing r;
    for (auto [x, y] : pts) r.push_back({x, y});
    return r;
}

} // namespace

// The fixture: quantized, delta-encoded arcs; rings stitched from arcs taken
// forward and reversed; kinds, ids and names; lines in nested collections.
TEST(TopoJson, TheFixture) {
    const Topology t = Topology::ReadFile(Fixture());
    ASSERT_EQ(t.arcs().size(), 7u);
    EXPECT_EQ(t.arcs()[4], Ring({{20, 0}, {26, 0}, {26, 1}, {21, 1}, {21, 5}, {26, 5}, {26, 6}, {20, 6}, {20, 0}}));
    EXPECT_EQ(t.arcs()[6], Ring({{0, -5}, {4, -5}}));

    const std::vector<TopoGeometry>& g = t.object(QStringLiteral("countries"));
    ASSERT_EQ(g.size(), 5u);
    // [1, 0]: the shared arc closes the ring forward; [2, ~0]: backward.
    EXPECT_EQ(t.stitch(g[0].polygons.at(0).at(0)), Ring({{2, 2}, {0, 2}, {0, 0}, {2, 0}, {2, 2}}));
    EXPECT_EQ(t.stitch(g[1].polygons.at(0).at(0)), Ring({{2, 0}, {4, 0}, {4, 2}, {2, 2}, {2, 0}}));
    EXPECT_EQ(g[0].kind, TopoGeometry::Kind::Polygon);
    EXPECT_TRUE(g[0].id == QStringLiteral("392") && g[0].name == QStringLiteral("Japan"));
    EXPECT_TRUE(g[2].id.isEmpty() && g[2].name == QStringLiteral("Kosovo"));
    EXPECT_EQ(g[3].kind, TopoGeometry::Kind::MultiPolygon);
    EXPECT_EQ(g[3].id, QStringLiteral("4"));  // a numeric id becomes its text
    EXPECT_EQ(g[3].polygons.size(), 2u);
    EXPECT_TRUE(g[4].kind == TopoGeometry::Kind::Other && g[4].polygons.empty());

    const std::vector<TopoGeometry>& lines = t.object(QStringLiteral("lines"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].kind == TopoGeometry::Kind::LineString && lines[1].kind == TopoGeometry::Kind::MultiLineString);
    ASSERT_EQ(lines[1].lines.size(), 2u);
    EXPECT_EQ(t.stitch(lines[1].lines[1]), Ring({{4, -5}, {0, -5}}));
    EXPECT_THROW(t.object(QStringLiteral("land")), WorldSourceError);
}

TEST(TopoJson, UnquantizedPositionsAreAbsolute) {
    const Topology t = Topology::Parse(R"({"type":"Topology",
        "arcs":[[[179.5,-16.25],[-179.75,-16.5]],[[-179.75,-16.5],[179.5,-16.25]]],
        "objects":{"x":{"type":"Polygon","id":"242","arcs":[[0,1]]}}})");
    EXPECT_EQ(t.arcs()[0], Ring({{179.5, -16.25}, {-179.75, -16.5}}));
    EXPECT_EQ(t.stitch(t.object(QStringLiteral("x"))[0].polygons[0][0]),
              Ring({{179.5, -16.25}, {-179.75, -16.5}, {179.5, -16.25}}));
}

TEST(TopoJson, MalformedInputIsRefused) {
    const char* cases[] = {
        "not json",
        R"({"type":"FeatureCollection","arcs":[],"objects":{}})",
        R"({"type":"Topology","objects":{}})",
        R"({"type":"Topology","arcs":[[[0,0]]],"objects":{}})",
        R"({"type":"Topology","arcs":[[[0,0],["a",1]]],"objects":{}})",
        R"({"type":"Topology","arcs":[[[0,0],[1]]],"objects":{}})",
        R"({"type":"Topology","transform":{"scale":[1],"translate":[0,0]},"arcs":[],"objects":{}})",
        R"({"type":"Topology","transform":{"scale":[1e308,1],"translate":[0,0]},"arcs":[[[1e308,0],[1e308,0]]],"objects":{}})",
        R"({"type":"Topology","arcs":[[[0,0],[1,1]]],"objects":{"x":{"type":"Polygon","arcs":[[1]]}}})",
        R"({"type":"Topology","arcs":[[[0,0],[1,1]]],"objects":{"x":{"type":"Polygon","arcs":[[-2]]}}})",
        R"({"type":"Topology","arcs":[[[0,0],[1,1]]],"objects":{"x":{"type":"Polygon","arcs":[[0.5]]}}})",
        R"({"type":"Topology","arcs":[[[0,0],[1,1]]],"objects":{"x":{"type":"Polygon","arcs":[[]]}}})",
        R"({"type":"Topology","arcs":[[[0,0],[1,1]]],"objects":{"x":{"type":"Polygon","arcs":5}}})",
        R"({"type":"Topology","arcs":[],"objects":{"x":{"type":"Circle"}}})",
        R"({"type":"Topology","arcs":[],"objects":{"x":[]}})",
    };
    for (const char* json : cases) EXPECT_THROW(Topology::Parse(json), WorldSourceError) << json;

    QByteArray deep = R"({"type":"Topology","arcs":[],"objects":{"x":)";
    for (int i = 0; i < 100; ++i) deep += R"({"type":"GeometryCollection","geometries":[)";
    deep += R"({"type":"Point"})";
    for (int i = 0; i < 100; ++i) deep += "]}";
    deep += "}}";
    EXPECT_THROW(Topology::Parse(deep), WorldSourceError);

    EXPECT_THROW(Topology::ReadFile(QStringLiteral(KAL_TESTDATA_DIR "/no-such-file.json")), WorldSourceError);
}

TEST(TopoJson, SharedArcsAreThoseOfTwoKeys) {
    const Topology t = Topology::Parse(R"({"type":"Topology",
        "arcs":[[[0,0],[0,1]],[[0,1],[-1,1],[-1,0],[0,0]],[[0,0],[1,0],[1,1],[0,1]],
                [[1,0],[2,0],[2,1],[1,1]]],
        "objects":{"c":{"type":"GeometryCollection","geometries":[
            {"type":"Polygon","arcs":[[1,0]]},
            {"type":"Polygon","arcs":[[2,-1]]},
            {"type":"Polygon","arcs":[[3]]}]}}})");
    const auto& g = t.object(QStringLiteral("c"));

    std::vector<SharedArc> s = SharedArcs(g, {10, 20, 30});
    ASSERT_EQ(s.size(), 1u);
    EXPECT_TRUE(s[0].arc == 0 && s[0].keyA == 10 && s[0].keyB == 20);

    // The same key on both sides: one country in two features, no border.
    EXPECT_TRUE(SharedArcs(g, {10, 10, 30}).empty());
}
