// Figures, units and a grid of fixed size for the figure list tests.
#pragma once

#include "TestSupport.h"

#include "AppState.h"
#include "FlexGridData.h"
#include "basAngle.h"
#include "clsAdmin.h"
#include "clsMapPolygon.h"
#include "clsMapPolyline.h"
#include "clsMapRem.h"
#include "clsMapSymbol.h"
#include "clsMapText.h"
#include "clsThing.h"
#include "frmMapListLogic.h"

#include <initializer_list>
#include <utility>

namespace listtest {

using Points = std::initializer_list<std::pair<int32_t, int32_t>>;

template <class Figure>
std::shared_ptr<Figure> Placed(int32_t thing, int32_t admin) {
    auto f = std::make_shared<Figure>();
    f->setThing(thing);
    f->setAdmin(admin);
    return f;
}

template <class Figure>
std::shared_ptr<Figure> Lined(Points pts, int32_t thing = 1, int32_t admin = 1) {
    auto p = std::make_shared<clsPoly>();
    for (const auto& [x, y] : pts) p->AddXandY(x, y);
    auto f = Placed<Figure>(thing, admin);
    f->setPoly(p);
    return f;
}

inline std::shared_ptr<clsMapSymbol> Symbol(int32_t x, int32_t y) {
    auto f = Placed<clsMapSymbol>(2, 1);
    f->setPosition({x, y});
    return f;
}

inline std::shared_ptr<clsMapText> Text(const QString& european, const QString& japanese, int32_t x = 0, int32_t y = 0) {
    auto f = Placed<clsMapText>(3, 1);
    f->setPosition({x, y});
    f->setTextUnicode(1, european);
    f->setTextUnicode(2, japanese);
    return f;
}

inline std::shared_ptr<clsMapRem> Rem(const QString& text) {
    auto f = Placed<clsMapRem>(-1, 0);
    f->setComment(text);
    return f;
}

// A unit named `name` of map mode `mode` with things 1 海岸線, 2 都市, 3 地名
// and district 1 (Japan / 日本); the map holds `figures`, unmodified.
inline MapUnitPtr Unit(const QString& name, std::initializer_list<MapFigurePtr> figures = {}, int32_t mode = 1) {
    auto unit = std::make_shared<clsMapUnit>();
    unit->setMapMode(mode);
    unit->setUnitName(name);
    const std::pair<int32_t, const char16_t*> things[] = {{1, u"海岸線"}, {2, u"都市"}, {3, u"地名"}};
    for (const auto& [n, thingName] : things) {
        auto t = std::make_shared<clsThing>();
        t->setIndex(n);
        t->setName(QString::fromUtf16(thingName));
        unit->Things().Add(t);
    }
    auto a = std::make_shared<clsAdmin>();
    a->setAdminCode(1);
    a->setEuropianName(QStringLiteral("Japan"));
    a->setJapaneseName(QStringLiteral("日本"));
    unit->Admins().Add(a);
    for (const MapFigurePtr& f : figures) unit->Map().Add(f);
    unit->Map().ResetUndo();
    unit->Map().setModify(false);
    return unit;
}

// A grid view of a fixed height whose rows are all 240 twips high.
class FakeGrid : public MapListGrid {
public:
    plat::FlexGridData data;
    int32_t height = 240 * 12;   // 12 rows: 10 count as visible
    int32_t top = 1;
    std::array<int32_t, 9> widths{};

    plat::FlexGridData& cells() override { return data; }
    void setFormatString(const QString& format) override {
        const QStringList titles = data.setFormatString(format);
        for (int c = 0; c < titles.size(); ++c) data.setColWidthTwips(c, 100 * static_cast<int32_t>(titles[c].size()));
    }
    int32_t TopRow() override { return std::min(top, std::max(data.Rows() - 1, 0)); }
    void setTopRow(int32_t row) override {
        if (row >= 1 && row < data.Rows()) top = row;
    }
    int32_t HeightTwips() override { return height; }
    int32_t RowHeight(int32_t) override { return 240; }
    int32_t ColWidth(int32_t col) override { return data.colWidthTwips(col); }
    void setColWidth(int32_t col, int32_t twips) override { data.setColWidthTwips(col, twips); }
    int32_t TextWidth(const QString& text) override { return 100 * static_cast<int32_t>(text.size()); }
    void setRedraw(bool) override {}
    void Refresh() override {}
};

// The display settings the row texts depend on, put back afterwards.
struct DisplaySettings {
    long language = gvLanguage;
    DisplaySettings() {
        SetAngleUnit(1);
        SetAngleSymbol(2);
        SetAngleDirStyle(3);
    }
    ~DisplaySettings() { gvLanguage = language; }
};

} // namespace listtest

#include "MapUnitIo.h"

namespace listtest {

// A unit set of the given units, the first one taking the base unit's place
// (name it "BASE..."); the last one is active.
inline std::unique_ptr<clsMapUnits> Units(std::initializer_list<MapUnitPtr> units) {
    SetMapUnitDialogs(
        [](clsMapUnit& u) {
            u.Admins().setModify(false);
            return true;
        },
        {});
    auto set = std::make_unique<clsMapUnits>();
    for (const MapUnitPtr& u : units) set->Add(u);
    SetMapUnitDialogs({}, {});
    return set;
}

} // namespace listtest

#include "basHMapCoord.h"

namespace listtest {

// A list on a fixed grid, with the map-mode hooks the main window installs
// (the list's mode also drives the coordinate texts).
struct ListTest : ::testing::Test {
    DisplaySettings settings;
    FakeGrid grid;
    frmMapListLogic list;
    std::unique_ptr<clsMapUnits> units;
    int32_t mode = 1;

    ListTest() {
        SetMapListModeHooks([this] { return mode; }, [this](int32_t m) { mode = m; });
        SetMapModeSource([this] { return mode; });
        list.attach(&grid);
    }
    ~ListTest() override {
        SetMapListModeHooks({}, {});
        SetMapModeSource({});
    }
    // Shows a unit of these figures.
    void openUnit(const QString& name, std::initializer_list<MapFigurePtr> figures) {
        units = Units({Unit(name, figures)});
        list.MapUnits = units.get();
        ASSERT_TRUE(list.Load());
        ASSERT_TRUE(list.Activate());
    }
    clsMap& map() { return list.MapUnit->Map(); }
};

} // namespace listtest
