// A small installation for the cruise tests: a program folder with a
// standard-map list and a country grid, a map folder whose map files exist
// (empty: the fake loader never reads them), and a loader standing in for the
// load dialog that gives each listed map its code.
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

namespace cruisetest {

constexpr int16_t kJapan = 392, kKorea = 410, kFiji = 242;

// A rectangle of degrees, corners kept as given (x1 the west edge).
inline clsRect Degrees(double west, double south, double east, double north) {
    clsRect r;
    r.x1 = int32_t(west * 3600), r.y1 = int32_t(south * 3600), r.x2 = int32_t(east * 3600), r.y2 = int32_t(north * 3600);
    return r;
}

// Cells of 1° named by the degrees west and south of them.
struct GridBytes {
    QByteArray bytes = QByteArray(129600, '\0');
    void set(int lon, int lat, int16_t v) {
        const qsizetype at = qsizetype((89 - lat) * 720 + (lon + 180) * 2);
        bytes[at] = char(v & 0xFF);
        bytes[at + 1] = char(uint16_t(v) >> 8);
    }
};

// Japan over 129..146°E, 30..46°N, Korea over 125..129°E, 34..39°N, Fiji on
// both sides of 180° at 17°S, and two values that are no country.
inline GridBytes TestGrid() {
    GridBytes g;
    for (int lon = 125; lon < 146; ++lon)
        for (int lat = 30; lat < 46; ++lat)
            if (lon >= 129 || (lat >= 34 && lat < 39)) g.set(lon, lat, lon >= 129 ? kJapan : kKorea);
    g.set(179, -17, kFiji);
    g.set(-180, -17, kFiji);
    g.set(0, 0, 1000);
    g.set(1, 0, -5);
    return g;
}

inline const char* kStandardList =
    "' KALDERO 標準地図リスト\r\n120000,OCEAN.MLL,Ocean Floor,海底地形図\r\n131000,WORLD_A1.MLL,World 1,世界1\r\n"
    "132000,WORLD_A2.MLL,World 2,世界2\r\n133000,WORLD_A3.MLL,World 3,世界3\r\n134000,WORLD_A4.MLL,World 4,世界4\r\n"
    "135000,WORLD_A5.MLL,World 5,世界5\r\n136000,WORLD_A6.MLL,World 6,世界6\r\n143000,WORLD_T3.MLL,Topography 3,地形3\r\n"
    "153000,TRAFFIC3.MLL,Traffic 3,交通図3\r\n167392,JAPAN_A7.MLL,Japan,日本\r\n168392,JAPAN_A8.MLL,Japan,日本\r\n"
    "167410,,Korea,韓国\r\n";

// The program folder (list, grid) and its map folder "maps".
class Installation {
public:
    explicit Installation(const char* list = kStandardList) {
        plat::SetAppPath(dir.path());
        QDir(dir.path()).mkdir(QStringLiteral("maps"));
        gvMapFolder = dir.file(QStringLiteral("maps"));
        clsRegistry(QStringLiteral("CRUISE05")).RegDelete(QString());
        testsupport::WriteBytes(listPath(), plat::EncodeCp932(QString::fromUtf8(list)));
        testsupport::WriteBytes(gridPath(), TestGrid().bytes);
    }
    ~Installation() {
        plat::SetAppPath(QString());
        gvMapFolder.clear();
    }
    QString listPath() const { return dir.file(QStringLiteral("CRUISE05.LST")); }
    QString gridPath() const { return dir.file(QStringLiteral("CRUISE05.GRD")); }
    void addMaps(std::initializer_list<const char*> names) const {
        for (const char* n : names) testsupport::WriteBytes(gvMapFolder + QLatin1Char('/') + QString::fromLatin1(n), {});
    }
    testsupport::TempDir dir;
};

// Stands in for the load dialog: a map named in the standard list (or the
// base or a user map) gets a header with its code; other loads fail.
class FakeLoader {
public:
    FakeLoader() {
        for (const QString& line : QString::fromUtf8(kStandardList).split(QStringLiteral("\r\n"))) {
            const QStringList f = line.split(QLatin1Char(','));
            if (f.size() == 4 && !f[1].isEmpty()) codes[f[1]] = f[0].toInt();
        }
        SetMapUnitDialogs([this](clsMapUnit& u) { return load(u); }, {});
    }
    ~FakeLoader() { SetMapUnitDialogs({}, {}); }
    std::map<QString, int32_t> codes{{"BASE.MLL", 110000}, {"BASE.MXY", 210000}, {"USER.MLL", 190000}};
    std::set<QString> failing;  // loads that fail
    std::set<QString> empty;    // loads that leave the map without figures
    QStringList loaded;         // file names, in order

private:
    bool load(clsMapUnit& u) {
        const QString name = FileNameOf(u.UnitName()).toUpper();
        loaded << name;
        if (failing.count(name)) return false;
        const auto it = codes.find(name);
        return empty.count(name) || (it != codes.end() && u.Map().MakeHeader(it->second, name, name));
    }
};

// Units holding their base unit.
inline std::unique_ptr<clsMapUnits> BaseUnits() {
    auto units = std::make_unique<clsMapUnits>();
    units->Create(1);
    return units;
}

// File names of the units, "-" before the hidden ones, "*" after the active one.
inline QStringList Shown(const clsMapUnits& units) {
    QStringList out;
    for (int32_t i = 1; i <= units.Count(); ++i)
        out << (units.Item(i)->DisplaySwitch() ? QString() : QStringLiteral("-")) + FileNameOf(units.Item(i)->UnitName()) +
                   (i == units.Index() ? QStringLiteral("*") : QString());
    return out;
}

} // namespace cruisetest
