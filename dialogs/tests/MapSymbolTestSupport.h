// Two map units with the same small thing and district catalogues, a main
// window that records its redraws, and the dialog's model opened on them.
#pragma once

#include "TestSupport.h"

#include <QStringList>

#include <vector>

#include "AppState.h"
#include "FlexGridData.h"
#include "MapSymbolHost.h"
#include "MapSymbolModel.h"
#include "MapUnitIo.h"
#include "clsMapSymbol.h"
#include "clsMapUnits.h"

namespace symboltest {

// Things: number, name, kind, category, used by a figure of the map.
struct ThingDef {
    int16_t n;
    const char16_t* name;
    int16_t kind;
    int16_t category;
    bool used;
};
inline constexpr ThingDef kThings[] = {
    {1, u"海岸線", 2, 1, true}, {2, u"陸地", 3, 1, true},   {3, u"鉄道", 2, 2, false},
    {4, u"空港", 4, 2, true},   {5, u"地名", 5, 4, true},   {6, u"メモ", 1, 4, false},
};
inline constexpr const char16_t* kCategories[] = {u"海岸", u"交通", u"空", u"注記"};   // 1..4; 3 lists nothing

inline MapUnitPtr Unit(const QString& name) {
    auto unit = std::make_shared<clsMapUnit>();
    unit->setMapMode(1);
    unit->setUnitName(name);
    clsThings& things = unit->Things();
    for (int c = 0; c < 4; ++c) things.setCategoryName(c + 1, QString::fromUtf16(kCategories[c]));
    for (const ThingDef& d : kThings) {
        auto t = std::make_shared<clsThing>();
        t->setIndex(d.n);
        t->setName(QString::fromUtf16(d.name));
        t->setFigure(d.kind);
        t->setCategory(d.category);
        for (int p = 1; p <= 8; ++p) {
            t->setPage(p);
            t->setFore(0x0000C0);
            t->setStyle(d.kind == 5 ? 0 : d.kind == 3 ? 8 : 0);
            t->setSize(d.kind == 5 ? 12 : 3);
        }
        t->setPage(1);
        things.Add(t);
        if (d.used) {
            auto f = std::make_shared<clsMapSymbol>();
            f->setThing(d.n);
            f->setAdmin(1);
            unit->Map().Add(f);
        }
    }
    clsAdmins& admins = unit->Admins();
    admins.setAreaName(0, 2, QStringLiteral("アジア"));
    admins.setAreaName(1, 2, QStringLiteral("欧州"));
    const struct {
        int16_t code, area;
        const char16_t* name;
    } districts[] = {{1, 0, u"日本"}, {2, 0, u"韓国"}, {3, 1, u"フランス"}, {4, 0, u"インド"}};
    for (const auto& d : districts) {
        auto a = std::make_shared<clsAdmin>();
        a->setAdminCode(d.code);
        a->setAreaCode(d.area);
        a->setJapaneseName(QString::fromUtf16(d.name));
        admins.Add(a);
    }
    unit->Map().ResetUndo();
    return unit;
}

// The load of the base unit a new set makes: nothing read, nothing to save.
inline bool LoadNothing(clsMapUnit& u) {
    u.Admins().setModify(false);
    return true;
}

// The main window: redraws are counted and may look at the units meanwhile.
struct FakeMain {
    int plots = 0;
    bool cruise = true;
    std::vector<bool> cruiseWhilePlotting;
    std::function<void()> onPlot;
    MapSymbolHost previous;
    FakeMain() {
        MapSymbolHost h;
        h.PlotWindow = [this] {
            ++plots;
            cruiseWhilePlotting.push_back(cruise);
            if (onPlot) onPlot();
        };
        h.CruiseAuto = [this] { return cruise; };
        h.SetCruiseAuto = [this](bool on) { cruise = on; };
        previous = SetMapSymbolHost(h);
    }
    ~FakeMain() { SetMapSymbolHost(previous); }
};

// The model of one opening on the base unit and W (active), with a fresh
// set of switches.
struct Opening : ::testing::Test {
    long language = gvLanguage;
    FakeMain main;
    std::unique_ptr<clsMapUnits> units = std::make_unique<clsMapUnits>();
    plat::FlexGridData things, admins;
    MapSymbolModel m;

    Opening() {
        gvLanguage = 2;
        SetMapUnitDialogs(LoadNothing, {});
        units->Add(Unit(QStringLiteral("/maps/BASE.MLL")));
        units->Add(Unit(QStringLiteral("/maps/W.MLL")));
        SetMapUnitDialogs({}, {});
        things.setFormatString(MapSymbolModel::ThingFormat());
        admins.setFormatString(MapSymbolModel::AdminFormat());
        m.attach(&things, &admins);
        m.TargetUnits = units.get();
        EXPECT_TRUE(m.Load());
    }
    ~Opening() override { gvLanguage = language; }

    QStringList column(int c) const {
        QStringList out;
        for (int32_t r = 1; r < things.Rows(); ++r) out << things.TextMatrix(r, c);
        return out;
    }
    QStringList adminColumn(int c) const {
        QStringList out;
        for (int32_t r = 1; r < admins.Rows(); ++r) out << admins.TextMatrix(r, c);
        return out;
    }
    int32_t rowOf(const QString& name) const {
        for (int32_t r = 1; r < things.Rows(); ++r)
            if (things.TextMatrix(r, 1) == name) return r;
        return -1;
    }
    clsThing& work(const char16_t* name, int unit = 2) const {
        const clsThings& list = *m.WorkThings[size_t(unit - 1)];
        return *list.Item(list.Search(QString::fromUtf16(name)));
    }
    clsThing& own(const char16_t* name, int unit = 2) const {
        const clsThings& list = units->Item(unit)->Things();
        return *list.Item(list.Search(QString::fromUtf16(name)));
    }
};

} // namespace symboltest
