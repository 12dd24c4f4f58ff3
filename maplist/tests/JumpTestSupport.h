// Map units of places for the jump tests, made in memory: a map folder whose
// map files exist (empty: the loader below never reads them) and a loader
// standing in for the load dialog that gives each known map its places.
#pragma once

#include "TestSupport.h"

#include "AppState.h"
#include "FlexGridData.h"
#include "MapUnitIo.h"
#include "basLibrary.h"
#include "basPlaceKey.h"
#include "clsMapText.h"
#include "clsMapUnits.h"

#include <QDir>

#include <map>
#include <memory>
#include <vector>

namespace jumptest {

constexpr int16_t kWorld = 0, kJapan = 392, kRussia = 643;
constexpr int16_t kCountryName = 1, kCity = 2;

struct Place {
    const char* european;
    const char* japanese;
    int16_t admin = kJapan;
    int16_t thing = kCity;
    int32_t x = 0, y = 0;
};

// Districts World, Japan and Russia choosing pages 1, 2 and 3; things
// "国名" and "都市", whose page 2 has a range of its own.
inline void FillMap(clsMapUnit& unit, int32_t code, const std::vector<Place>& places) {
    const char* admins[][3] = {{"0", "World", "世界"}, {"392", "Japan", "日本"}, {"643", "Russia", "ロシア"}};
    for (int i = 0; i < 3; ++i) {
        auto d = std::make_shared<clsAdmin>();
        d->setAdminCode(QByteArray(admins[i][0]).toInt());
        d->setEuropianName(QString::fromUtf8(admins[i][1]));
        d->setJapaneseName(QString::fromUtf8(admins[i][2]));
        d->setPage(i + 1);
        unit.Admins().Add(d);
    }
    for (int n : {kCountryName, kCity}) {
        auto thing = std::make_shared<clsThing>();
        thing->setIndex(n);
        thing->setFigure(5);
        thing->setName(n == kCity ? QStringLiteral("都市") : QStringLiteral("国名"));
        for (int p = 1; p <= 8; ++p) {
            thing->setPage(p);
            thing->setScaleS(p == 2 ? 20000000 : 200000000);
            thing->setScaleL(p == 2 ? 200000 : 100000);
        }
        unit.Things().Add(thing);
    }
    unit.Map().MakeHeader(code, QStringLiteral("Test"), QStringLiteral("試験"));
    for (const Place& p : places) {
        auto t = std::make_shared<clsMapText>();
        t->setTextUnicode(1, QString::fromUtf8(p.european));
        t->setTextUnicode(2, QString::fromUtf8(p.japanese));
        t->setAdmin(p.admin);
        t->setThing(p.thing);
        t->setPosition({p.x, p.y});
        unit.Map().MapCollection().push_back(t);
    }
    unit.Map().setModify(false);
    unit.Admins().setModify(false);
    unit.Things().setModify(false);
}

inline MapUnitPtr MakeUnit(const QString& path, int32_t code, const std::vector<Place>& places) {
    auto u = std::make_shared<clsMapUnit>();
    u->setMapMode(path.endsWith(QLatin1String(".MXY"), Qt::CaseInsensitive) ? 2 : 1);
    u->setUnitName(path);
    FillMap(*u, code, places);
    return u;
}

inline const std::vector<Place> kJapanPlaces = {
    {"Japan", "日本", kJapan, kCountryName, 496800, 129600}, {"Tokyo", "東京", kJapan, kCity, 502920, 128520},
    {"Kyoto", "京都", kJapan, kCity, 488160, 126720},         {"Nishitokyo", "西東京", kJapan, kCity, 502200, 128700},
    {"Tokorozawa", "所沢", kJapan, kCity, 501840, 128880},    {"Osaka", "大阪", kJapan, kCity, 487800, 124800}};
inline const std::vector<Place> kWorldPlaces = {
    {"Russia", "ロシア", kRussia, kCountryName, 360000, 216000},
    {"Sankt-Peterburg (Leningrad)", "サンクトペテルブルク", kRussia, kCity, 109080, 215640},
    {"Tokyo", "東京", kJapan, kCity, 502920, 128520}};

// A map folder with its files and a loader that knows their places.
class Installation {
public:
    Installation() : savedLanguage_(gvLanguage) {
        gvMapFolder = dir.path();
        SetMapUnitDialogs(
            [this](clsMapUnit& u) {
                const QString name = FileNameOf(u.UnitName()).toUpper();
                loaded << name;
                if (onLoad) onLoad(static_cast<int>(loaded.size()));
                const auto it = maps.find(name);
                if (it != maps.end()) FillMap(u, it->second.first, it->second.second);
                return it != maps.end();
            },
            [this](clsMapUnit& u, const QString&) {
                saved << FileNameOf(u.UnitName());
                return true;
            });
    }
    ~Installation() {
        SetMapUnitDialogs({}, {});
        gvMapFolder.clear();
        gvLanguage = savedLanguage_;
    }
    // Makes the (empty) file and remembers its places; `relative` may hold a subfolder.
    QString addMap(const QString& relative, int32_t code, std::vector<Place> places) {
        const QString path = dir.file(relative);
        QDir().mkpath(FolderOf(path));
        testsupport::WriteBytes(path, {});
        maps[FileNameOf(relative).toUpper()] = {code, std::move(places)};
        return path;
    }
    // The units of a map mode: its base unit (level 0) and the given ones.
    std::unique_ptr<clsMapUnits> units(std::initializer_list<MapUnitPtr> list, int32_t mode = 1) {
        addMap(mode == 1 ? QStringLiteral("BASE.MLL") : QStringLiteral("BASE.MXY"), mode == 1 ? 110000 : 210000, {});
        auto set = std::make_unique<clsMapUnits>();
        set->Create(mode);
        for (const MapUnitPtr& u : list) set->Add(u);
        return set;
    }
    testsupport::TempDir dir;
    std::map<QString, std::pair<int32_t, std::vector<Place>>> maps;
    QStringList loaded;   // file names, in order
    QStringList saved;
    std::function<void(int loads)> onLoad;

private:
    long savedLanguage_;
};

// Column c of every place row, in list order.
inline QStringList Column(const plat::FlexGridData& g, int32_t c) {
    QStringList out;
    for (int32_t r = 1; r < g.Rows(); ++r) out << g.TextMatrix(r, c);
    return out;
}

} // namespace jumptest
