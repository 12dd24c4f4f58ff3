// A small installation for the cruise tests: a program folder with a
// standard-map list and a country grid, a map folder whose map files exist
// (empty: the fake loader never reads them), and a loader standing in for the
// load dialog that gives each map the code its name stands for.
#pragma once

#include "TestSupport.h"

#include "AppInfo.h"
#include "AppState.h"
#include "MapUnitIo.h"
#include "basLibrary.h"
#include "clsCruise05.h"
#include "clsMap.h"
#include "clsMapUnits.h"
#include "clsRect.h"
#include "clsRegistry.h"

#include <QDir>

#include <map>
#include <memory>
#include <set>
#include <vector>

namespace cruisetest {

constexpr int32_t kSec = 3600;  // arc-seconds of a degree

// Country codes of the test grid.
constexpr int16_t kJapan = 392;
constexpr int16_t kKorea = 410;
constexpr int16_t kFiji = 242;

// A rectangle of degrees, corners kept as given (x1 the west edge).
inline clsRect Degrees(double west, double south, double east, double north) {
    clsRect r;
    r.x1 = int32_t(west * kSec);
    r.y1 = int32_t(south * kSec);
    r.x2 = int32_t(east * kSec);
    r.y2 = int32_t(north * kSec);
    return r;
}

// 180 x 360 little-endian cells; the cell of (lon, lat) in whole degrees
// west and south of it.
class GridBytes {
public:
    GridBytes() : cells_(180 * 360, 0) {}
    void set(int lonWest, int latSouth, int16_t v) { cells_[size_t((89 - latSouth) * 360 + (lonWest + 180))] = v; }
    void fill(int west, int south, int east, int north, int16_t v) {
        for (int lon = west; lon < east; ++lon)
            for (int lat = south; lat < north; ++lat) set(lon, lat, v);
    }
    QByteArray bytes() const {
        QByteArray b;
        for (const int16_t v : cells_) {
            b.append(char(v & 0xFF));
            b.append(char((uint16_t(v) >> 8) & 0xFF));
        }
        return b;
    }

private:
    std::vector<int16_t> cells_;
};

// Japan over 129..146°E, 30..46°N, Korea over 125..129°E, 34..39°N, Fiji on
// both sides of 180° at 17°S, and two values that are no country.
inline GridBytes TestGrid() {
    GridBytes g;
    g.fill(129, 30, 146, 46, kJapan);
    g.fill(125, 34, 129, 39, kKorea);
    g.set(179, -17, kFiji);
    g.set(-180, -17, kFiji);
    g.set(0, 0, 1000);
    g.set(1, 0, -5);
    return g;
}

inline const char* StandardList() {
    return "' KALDERO 標準地図リスト\r\n"
           "120000,OCEAN.MLL,Ocean Floor,海底地形図\r\n"
           "131000,WORLD_A1.MLL,World 1,世界行政図1\r\n"
           "132000,WORLD_A2.MLL,World 2,世界行政図2\r\n"
           "133000,WORLD_A3.MLL,World 3,世界行政図3\r\n"
           "134000,WORLD_A4.MLL,World 4,世界行政図4\r\n"
           "135000,WORLD_A5.MLL,World 5,世界行政図5\r\n"
           "136000,WORLD_A6.MLL,World 6,世界行政図6\r\n"
           "143000,WORLD_T3.MLL,Topography 3,世界地形図3\r\n"
           "153000,TRAFFIC3.MLL,Traffic 3,交通図3\r\n"
           "167392,JAPAN_A7.MLL,Japan,日本\r\n"
           "168392,JAPAN_A8.MLL,Japan,日本\r\n"
           "167410,,Korea,韓国\r\n";
}

// The program folder (list, grid) and its map folder "maps".
class Installation {
public:
    explicit Installation(const char* list = StandardList()) {
        plat::SetAppPath(dir.path());
        QDir(dir.path()).mkdir(QStringLiteral("maps"));
        gvMapFolder = dir.file(QStringLiteral("maps"));
        clsRegistry(QStringLiteral("CRUISE05")).RegDelete(QString());
        testsupport::WriteBytes(listPath(), plat::EncodeCp932(QString::fromUtf8(list)));
        testsupport::WriteBytes(gridPath(), TestGrid().bytes());
    }
    ~Installation() {
        plat::SetAppPath(QString());
        gvMapFolder.clear();
    }
    QString listPath() const { return dir.file(QStringLiteral("CRUISE05.LST")); }
    QString gridPath() const { return dir.file(QStringLiteral("CRUISE05.GRD")); }
    QString mapPath(const QString& name) const { return gvMapFolder + QLatin1Char('/') + name; }
    void addMaps(std::initializer_list<const char*> names) const {
        for (const char* n : names) testsupport::WriteBytes(mapPath(QString::fromLatin1(n)), QByteArray());
    }

    testsupport::TempDir dir;
};

// Stands in for the load dialog: a map named like a list entry gets its
// header with the code; BASE.MLL is the base map.
class FakeLoader {
public:
    FakeLoader() {
        SetMapUnitDialogs([this](clsMapUnit& u) { return load(u); }, {});
    }
    ~FakeLoader() { SetMapUnitDialogs({}, {}); }
    FakeLoader(const FakeLoader&) = delete;
    FakeLoader& operator=(const FakeLoader&) = delete;

    std::map<QString, int32_t> codes{
        {"BASE.MLL", 110000},     {"BASE.MXY", 210000},     {"OCEAN.MLL", 120000},    {"WORLD_A1.MLL", 131000}, {"WORLD_A2.MLL", 132000},
        {"WORLD_A3.MLL", 133000}, {"WORLD_A4.MLL", 134000}, {"WORLD_A5.MLL", 135000}, {"WORLD_A6.MLL", 136000},
        {"WORLD_T3.MLL", 143000}, {"TRAFFIC3.MLL", 153000}, {"JAPAN_A7.MLL", 167392}, {"JAPAN_A8.MLL", 168392},
        {"USER.MLL", 190000}};
    std::set<QString> failing;  // loads that fail (also of names not above)
    std::set<QString> empty;    // loads that leave the map without figures
    QStringList loaded;         // file names, in order

private:
    bool load(clsMapUnit& u) {
        const QString name = FileNameOf(u.UnitName()).toUpper();
        loaded << name;
        if (failing.count(name)) return false;
        if (empty.count(name)) return true;
        const auto it = codes.find(name);
        return it != codes.end() && u.Map().MakeHeader(it->second, name, name);
    }
};

// Units holding their base unit.
inline std::unique_ptr<clsMapUnits> BaseUnits() {
    auto units = std::make_unique<clsMapUnits>();
    units->Create(1);
    return units;
}

// File names of the units, with "-" before the hidden ones and "*" after
// the active one.
inline QStringList Shown(const clsMapUnits& units) {
    QStringList out;
    for (int32_t i = 1; i <= units.Count(); ++i) {
        const MapUnitPtr& u = units.Item(i);
        out << (u->DisplaySwitch() ? QString() : QStringLiteral("-")) + FileNameOf(u->UnitName()) +
                   (i == units.Index() ? QStringLiteral("*") : QString());
    }
    return out;
}

} // namespace cruisetest
