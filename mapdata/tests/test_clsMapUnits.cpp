// The map units of one map mode: the base unit, adding and removing units,
// Optimize, new user maps and undo across the maps.
#include <gtest/gtest.h>

#include "MapTestSupport.h"
#include "MapTestSupport.h"
#include "ErrorMng.h"
#include "basHMap.h"
#include "basLibrary.h"
#include "clsMapRem.h"
#include "clsMapUnits.h"

#include <QFile>

#include <algorithm>

#include <sys/stat.h>

using namespace maptest;

namespace {

QString codeLine(int32_t code) { return QStringLiteral("# 地図コード　　　：") + QString::number(code); }

// A unit as if loaded: unmodified, with a map code when code >= 0 and at
// least `figures` figures.
MapUnitPtr unitOf(const QString& name, int32_t code, int figures = 2) {
    auto u = std::make_shared<clsMapUnit>();
    u->setUnitName(name);
    if (code >= 0) u->Map().Add(NewMapRem(codeLine(code)));
    while (u->Map().Count() < figures) u->Map().Add(Sym(u->Map().Count(), 0));
    u->Map().setModify(false);
    u->Map().ResetUndo();
    u->Things().setModify(false);
    u->Admins().setModify(false);
    return u;
}

// Base map files of both modes in the map folder.
void writeBase(const maptest::Folders& f) {
    for (int32_t mode : {1, 2}) {
        clsMap m;
        m.setMapMode(mode);
        m.setFileName(f.map(QStringLiteral("BASE")));
        m.Add(NewMapRem(codeLine(mode * 100000 + 10000)));
        m.Add(Sym(1, 1));
        ASSERT_EQ(m.Save(), 0);
    }
    maptest::WriteLines(f.map(QStringLiteral("BASE.ADM")), {"[ADMINISTRATION]", "1,0,\"base\",\"\""});
    maptest::WriteLines(f.map(QStringLiteral("BASE.THG")), {"[THING]", "NUMBER=2", "NAME=\"base\"", ""});
}

QStringList names(const clsMapUnits& s) {
    QStringList n;
    for (const MapUnitPtr& u : s) n.append(FileNameOf(u->UnitName()));
    return n;
}

QString createError(clsMapUnits& s, int32_t mode) {
    try {
        s.Create(mode);
    } catch (const plat::AppError& e) {
        EXPECT_TRUE(e.source().startsWith(QStringLiteral("clsMapUnits.Create/")));
        return e.description();
    }
    return QString();
}

} // namespace

TEST(MapUnits, CreateLoadsTheBaseUnit) {
    maptest::Folders f;
    writeBase(f);
    clsMapUnits ll;
    EXPECT_EQ(ll.Index(), 0);
    EXPECT_EQ(ll.Active(), nullptr);
    ASSERT_EQ(ll.Create(1), 0);
    EXPECT_EQ(ll.Count(), 1);
    EXPECT_EQ(ll.Index(), 1);
    EXPECT_EQ(ll.Base()->UnitName(), f.map(QStringLiteral("BASE.MLL")));
    EXPECT_FALSE(ll.Base()->SearchSwitch());
    EXPECT_EQ(ll.Base()->Things().Item(2)->Name(), "base");
    EXPECT_TRUE(createError(ll, 1).startsWith(QStringLiteral("<3> ")));

    clsMapUnits xy;
    ASSERT_EQ(xy.Create(2), 0);
    EXPECT_EQ(xy.MapMode(), 2);
    EXPECT_EQ(xy.Base()->UnitName(), f.map(QStringLiteral("BASE.MXY")));
    EXPECT_EQ(xy.Base()->Map().MapMode(), 2);

    clsMapUnits bad;
    EXPECT_EQ(createError(bad, 3), QStringLiteral("<1> ") + f.map(QStringLiteral("BASE.MLL")));
    QFile::remove(f.map(QStringLiteral("BASE.MLL")));
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("地図図形ファイルが存在しません."), plat::IdOk);
    EXPECT_TRUE(createError(bad, 1).startsWith(QStringLiteral("<5> ")));
    EXPECT_EQ(bad.Count(), 0);
}

TEST(MapUnits, AddTheBaseRuleAndNamesAlreadyThere) {
    maptest::Folders f;
    writeBase(f);
    clsMapUnits s;
    // An empty set first gets its base unit.
    ASSERT_TRUE(s.Add(unitOf(f.map(QStringLiteral("A.MLL")), 190000)));
    EXPECT_EQ(names(s), (QStringList{"BASE.MLL", "A.MLL"}));
    EXPECT_EQ(s.Index(), 2);
    EXPECT_FALSE(s.Add(unitOf(f.map(QStringLiteral("X.MXY")), 290000)));

    ASSERT_TRUE(s.Add(unitOf(f.map(QStringLiteral("B.MLL")), 190000)));
    s.Item(2)->setDisplaySwitch(false);
    EXPECT_FALSE(s.Add(unitOf(f.map(QStringLiteral("a.mll")), 190000)));
    EXPECT_TRUE(s.Item(2)->DisplaySwitch());
    EXPECT_EQ(s.Count(), 3);

    // A file name with BASE in any case replaces the base unit.
    ASSERT_TRUE(s.Add(unitOf(f.other(QStringLiteral("myBase2.MLL")), 110000)));
    EXPECT_EQ(names(s), (QStringList{"myBase2.MLL", "A.MLL", "B.MLL"}));
    EXPECT_EQ(s.Index(), 3);
    // Only the file name counts, not the folder.
    ASSERT_TRUE(s.Add(unitOf(f.other(QStringLiteral("BASE/C.MLL")), 190000)));
    EXPECT_EQ(s.Count(), 4);
}

TEST(MapUnits, AModifiedBaseIsNotReplacedWithoutAQuestion) {
    FixedTime time;
    const struct {
        const char* what;
        int answer;
        bool readOnly;    // the save fails
        bool replaced;
        bool saved;
    } cases[] = {
        {"cancel", plat::IdCancel, false, false, false},
        {"no", plat::IdNo, false, true, false},
        {"yes", plat::IdYes, false, true, true},
        {"yes, but the save fails", plat::IdYes, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        maptest::Folders f;
        writeBase(f);
        clsMapUnits s;
        ASSERT_EQ(s.Create(1), 0);
        s.Add(unitOf(f.map(QStringLiteral("A.MLL")), 190000));
        const MapUnitPtr base = s.Base();
        ASSERT_TRUE(base->Map().Add(Sym(7, 7)));
        if (c.readOnly) ::chmod(QFile::encodeName(f.map(QStringLiteral("BASE.MLL"))).constData(), 0444);
        {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(QStringLiteral("地図ユニット / BASE.MLL\rには修正されたデータがあります.\r保存しますか？"), c.answer);
            if (c.readOnly) boxes.expect(QStringLiteral("は読み取り専用ファイルです."), plat::IdOk);
            EXPECT_EQ(s.Add(unitOf(f.other(QStringLiteral("DATABASE.MLL")), 190000)), c.replaced);
        }
        EXPECT_EQ(names(s), c.replaced ? (QStringList{"DATABASE.MLL", "A.MLL"}) : (QStringList{"BASE.MLL", "A.MLL"}));
        EXPECT_EQ(s.Index(), 2);
        EXPECT_EQ(base->Modify(), !c.saved);
        clsMap onDisk;
        onDisk.setFileName(f.map(QStringLiteral("BASE.MLL")));
        ASSERT_EQ(onDisk.Load(), 0);
        const bool symbolSaved = std::any_of(onDisk.begin(), onDisk.end(), [](const MapFigurePtr& fig) {
            return fig->FigCode() == 4 && fig->Poly()->x(1) == 7;
        });
        EXPECT_EQ(symbolSaved, c.saved);
    }
}

TEST(MapUnits, RemoveKeepsTheActivePositionInRange) {
    maptest::Folders f;
    writeBase(f);
    clsMapUnits s;
    s.Create(1);
    for (const char* n : {"A.MLL", "B.MLL", "C.MLL"}) s.Add(unitOf(f.map(QString::fromLatin1(n)), 190000));
    EXPECT_FALSE(s.Remove(1));
    EXPECT_FALSE(s.Remove(5));
    s.setIndex(3);
    EXPECT_TRUE(s.Remove(2));
    EXPECT_EQ(s.Index(), 2);
    EXPECT_EQ(FileNameOf(s.Active()->UnitName()), "B.MLL");
    s.setIndex(3);
    EXPECT_TRUE(s.Remove(3));
    EXPECT_EQ(s.Index(), 2);
    s.setIndex(0);
    s.setIndex(9);
    EXPECT_EQ(s.Index(), 2);
    EXPECT_EQ(s.Item(0), nullptr);
    EXPECT_EQ(s.Item(3), nullptr);
    s.Add(unitOf(f.map(QStringLiteral("D.MLL")), 190000));
    s.ClearAll();
    EXPECT_EQ(names(s), (QStringList{"BASE.MLL"}));
    EXPECT_EQ(s.Index(), 1);
}

TEST(MapUnits, OptimizeDropsSmallUnitsButNeverEdits) {
    maptest::Folders f;
    writeBase(f);
    clsMapUnits s;
    s.Create(1);
    s.Add(unitOf(f.map(QStringLiteral("ONE.MLL")), 190000, 1));
    s.Add(unitOf(f.map(QStringLiteral("TWO.MLL")), -1, 1));
    ASSERT_TRUE(s.Optimize(1));
    EXPECT_EQ(names(s), (QStringList{"BASE.MLL"}));

    auto edited = unitOf(f.map(QStringLiteral("EDIT.MLL")), -1, 0);
    s.Add(edited);
    s.Add(unitOf(f.map(QStringLiteral("EMPTY.MLL")), -1, 0));
    edited->Admins().Add(std::make_shared<clsAdmin>());   // refused: no code
    edited->Admins().setModify(true);
    s.Optimize(1);
    EXPECT_EQ(names(s), (QStringList{"BASE.MLL", "EDIT.MLL"}));
}

TEST(MapUnits, OptimizeOrdersByMapKind) {
    maptest::Folders f;
    writeBase(f);
    clsMapUnits s;
    s.Create(1);
    const struct {
        const char* name;
        int32_t code;
    } units[] = {{"K5.MLL", 150000}, {"NOCODE.MLL", -1}, {"K2.MLL", 120000}, {"K9.MLL", 190000},
                 {"K1.MLL", 110392}, {"K4.MLL", 142392}, {"K0.MLL", 100000}};
    for (const auto& u : units) s.Add(unitOf(f.map(QString::fromLatin1(u.name)), u.code));
    s.setIndex(3);   // NOCODE
    s.Base()->setDisplaySwitch(false);
    ASSERT_TRUE(s.Optimize(2));
    // A base map that is not the base unit stays, after the listed kinds.
    EXPECT_EQ(names(s), (QStringList{"BASE.MLL", "K2.MLL", "K4.MLL", "K5.MLL", "K0.MLL", "K9.MLL", "K1.MLL",
                                     "NOCODE.MLL"}));
    EXPECT_EQ(FileNameOf(s.Active()->UnitName()), "NOCODE.MLL");
    EXPECT_TRUE(s.Base()->DisplaySwitch());

    // X/Y sets are not reordered.
    clsMapUnits xy;
    xy.Create(2);
    xy.Add(unitOf(f.map(QStringLiteral("B.MXY")), 250000));
    xy.Add(unitOf(f.map(QStringLiteral("A.MXY")), 220000));
    xy.Optimize(2);
    EXPECT_EQ(names(xy), (QStringList{"BASE.MXY", "B.MXY", "A.MXY"}));
}

TEST(MapUnits, OptimizeShowsTheLastAdministrativeAndTopographicMaps) {
    maptest::Folders f;
    writeBase(f);
    clsMapUnits s;
    s.Create(1);
    const struct {
        const char* name;
        int32_t code;
        bool before;
        bool after;
    } units[] = {
        {"ADM2.MLL", 132000, true, false}, {"ADM3A.MLL", 163000, false, false}, {"TOPO1.MLL", 141000, true, true},
        {"ADM3B.MLL", 133000, false, true}, {"TRAFFIC.MLL", 152000, false, false}, {"NOCODE.MLL", -1, false, false},
    };
    for (const auto& u : units) {
        auto unit = unitOf(f.map(QString::fromLatin1(u.name)), u.code);
        unit->setDisplaySwitch(u.before);
        s.Add(unit);
    }
    s.Optimize(4);
    for (int32_t i = 2; i <= s.Count(); ++i)
        EXPECT_EQ(s.Item(i)->DisplaySwitch(), units[i - 2].after) << units[i - 2].name;
}

TEST(MapUnits, AddNewInBothModes) {
    maptest::Folders f;
    writeBase(f);
    FixedTime time;
    maptest::WriteLines(f.map(QStringLiteral("DEFAULT.ADM")), {"[ADMINISTRATION]", "3,0,\"default\",\"\""});
    maptest::WriteLines(f.program(QStringLiteral("DEFAULT.THG")), {"[THING]", "NUMBER=4", ""});
    clsMapUnits xy;
    xy.Create(2);
    ASSERT_TRUE(xy.AddNew(QString()));
    const MapUnitPtr u = xy.Active();
    EXPECT_EQ(xy.Index(), 2);
    EXPECT_EQ(u->UnitName(), f.map(QStringLiteral("Map20240506123456.MXY")));
    EXPECT_EQ(u->Admins().FileName(), f.map(QStringLiteral("Map20240506123456.ADM")));
    EXPECT_EQ(u->Things().FileName(), f.map(QStringLiteral("Map20240506123456.THG")));
    EXPECT_EQ(u->Map().MapCode(), 290000);
    EXPECT_EQ(MapCodeKind(u->Map().MapCode()), 9);
    const int32_t n = u->Map().Count();
    ASSERT_GE(n, 3);
    EXPECT_EQ(std::static_pointer_cast<clsMapRem>(u->Map().Item(n - 1))->Comment(),
              "ここに地図図形を追加してください.");
    EXPECT_EQ(std::static_pointer_cast<clsMapRem>(u->Map().Item(n))->Comment(), "");
    EXPECT_TRUE(u->Admins().Modify());
    EXPECT_TRUE(u->Things().Modify());
    EXPECT_EQ(u->Admins().Item(3)->EuropianName(), "default");
    EXPECT_NE(u->Things().Item(4), nullptr);
    // Never asked before a figure is added.
    EXPECT_TRUE(ConfirmAddFigure(*u));

    // Without default catalogues the base ones serve.
    QFile::remove(f.map(QStringLiteral("DEFAULT.ADM")));
    clsMapUnits ll;
    ll.Create(1);
    ASSERT_TRUE(ll.AddNew(f.other(QStringLiteral("mine"))));
    EXPECT_EQ(ll.Active()->UnitName(), f.other(QStringLiteral("mine.MLL")));
    EXPECT_EQ(ll.Active()->Map().MapCode(), 190000);
    EXPECT_EQ(ll.Active()->Admins().Item(1)->EuropianName(), "base");

    // No district file anywhere: nothing is added.
    QFile::remove(f.map(QStringLiteral("BASE.ADM")));
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("行政区ファイルが存在しません."), plat::IdOk);
    EXPECT_FALSE(ll.AddNew(f.other(QStringLiteral("none"))));
    EXPECT_EQ(ll.Count(), 2);
}

TEST(MapUnits, UndoAcrossTheMaps) {
    maptest::Folders f;
    writeBase(f);
    clsMapUnits s;
    s.Create(1);
    s.Add(unitOf(f.map(QStringLiteral("A.MLL")), 190000));
    s.ResetUndo();
    EXPECT_FALSE(s.CanUndo());
    EXPECT_FALSE(s.Modify());
    s.Base()->Map().Add(Sym(5, 5));
    s.Active()->Map().Add(Sym(6, 6));
    EXPECT_TRUE(s.CanUndo());
    EXPECT_TRUE(s.Modify());
    s.Undo();
    EXPECT_EQ(s.Base()->Map().Count(), 3);
    EXPECT_EQ(s.Active()->Map().Count(), 2);
    EXPECT_FALSE(s.CanUndo());
}
