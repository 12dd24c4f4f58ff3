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

// Districts World (page 1), Japan (page 2) and Russia (page 3); things
// "国名" (country names) and "都市" (cities), whose page 2 has a range of
// its own so that the district's page shows in the place's scales.
inline void FillCatalogues(clsMapUnit& unit) {
    const struct {
        int16_t code;
        const char* e;
        const char* j;
        int16_t page;
    } admins[] = {{kWorld, "World", "世界", 1}, {kJapan, "Japan", "日本", 2}, {kRussia, "Russia", "ロシア", 3}};
    for (const auto& a : admins) {
        auto d = std::make_shared<clsAdmin>();
        d->setAdminCode(a.code);
        d->setAreaCode(0);
        d->setEuropianName(QString::fromUtf8(a.e));
        d->setJapaneseName(QString::fromUtf8(a.j));
        d->setPage(a.page);
        unit.Admins().Add(d);
    }
    const struct {
        int16_t n;
        const char* name;
    } things[] = {{kCountryName, "国名"}, {kCity, "都市"}};
    for (const auto& t : things) {
        auto thing = std::make_shared<clsThing>();
        thing->setIndex(t.n);
        thing->setFigure(5);
        thing->setName(QString::fromUtf8(t.name));
        thing->setCategory(1);
        for (int p = 1; p <= 8; ++p) {
            thing->setPage(p);
            thing->setScaleS(p == 2 ? 20000000 : 200000000);
            thing->setScaleL(p == 2 ? 200000 : 100000);
        }
        thing->setPage(1);
        unit.Things().Add(thing);
    }
    unit.Admins().setModify(false);
    unit.Things().setModify(false);
}

inline MapFigurePtr Text(const Place& p) {
    auto t = std::make_shared<clsMapText>();
    t->setTextUnicode(1, QString::fromUtf8(p.european));
    t->setTextUnicode(2, QString::fromUtf8(p.japanese));
    t->setAdmin(p.admin);
    t->setThing(p.thing);
    t->setMx(p.x);
    t->setMy(p.y);
    return t;
}

// A map of the code with a header, the places and a polyline-free body.
inline void FillMap(clsMapUnit& unit, int32_t code, const std::vector<Place>& places) {
    FillCatalogues(unit);
    unit.Map().MakeHeader(code, QStringLiteral("Test"), QStringLiteral("試験"));
    for (const Place& p : places) unit.Map().MapCollection().push_back(Text(p));
    unit.Map().setModify(false);
}

inline MapUnitPtr MakeUnit(const QString& path, int32_t code, const std::vector<Place>& places) {
    auto u = std::make_shared<clsMapUnit>();
    u->setMapMode(path.endsWith(QLatin1String(".MXY"), Qt::CaseInsensitive) ? 2 : 1);
    u->setUnitName(path);
    FillMap(*u, code, places);
    return u;
}

inline const std::vector<Place>& JapanPlaces() {
    static const std::vector<Place> p = {
        {"Japan", "日本", kJapan, kCountryName, 496800, 129600},
        {"Tokyo", "東京", kJapan, kCity, 502920, 128520},
        {"Kyoto", "京都", kJapan, kCity, 488160, 126720},
        {"Nishitokyo", "西東京", kJapan, kCity, 502200, 128700},
        {"Tokorozawa", "所沢", kJapan, kCity, 501840, 128880},
        {"Osaka", "大阪", kJapan, kCity, 487800, 124800},
    };
    return p;
}

inline const std::vector<Place>& WorldPlaces() {
    static const std::vector<Place> p = {
        {"Russia", "ロシア", kRussia, kCountryName, 360000, 216000},
        {"Sankt-Peterburg (Leningrad)", "サンクトペテルブルク", kRussia, kCity, 109080, 215640},
        {"Tokyo", "東京", kJapan, kCity, 502920, 128520},
    };
    return p;
}

// A map folder with its files and a loader that knows their places.
class Installation {
public:
    struct MapDef {
        int32_t code;
        std::vector<Place> places;
    };

    Installation() {
        savedLanguage_ = gvLanguage;
        gvMapFolder = dir.path();
        SetMapUnitDialogs([this](clsMapUnit& u) { return load(u); }, [this](clsMapUnit& u, const QString&) {
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
        maps[FileNameOf(relative).toUpper()] = MapDef{code, std::move(places)};
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
    std::map<QString, MapDef> maps;
    QStringList loaded;             // file names, in order
    QStringList saved;
    std::function<void(int)> onLoad;   // called with the count of loads so far

private:
    bool load(clsMapUnit& u) {
        const QString name = FileNameOf(u.UnitName()).toUpper();
        loaded << name;
        if (onLoad) onLoad(static_cast<int>(loaded.size()));
        const auto it = maps.find(name);
        if (it == maps.end()) return false;
        FillMap(u, it->second.code, it->second.places);
        return true;
    }
    long savedLanguage_;
};

// Column c of every place row, in list order.
inline QStringList Column(const plat::FlexGridData& g, int32_t c) {
    QStringList out;
    for (int32_t r = 1; r < g.Rows(); ++r) out << g.TextMatrix(r, c);
    return out;
}

} // namespace jumptest
