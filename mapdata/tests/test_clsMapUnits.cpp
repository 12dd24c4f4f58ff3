// The map units of one map mode: the base unit, adding and removing units,
// Optimize, new user maps and undo across the maps.
#include <gtest/gtest.h>

#include "MapTestSupport.h"
#include "ErrorMng.h"
#include "basHMap.h"
#include "basLibrary.h"
#include "clsMapRem.h"
#include "clsMapUnits.h"

#include <QFile>

#include <algorithm>
#include <map>

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
    Folders f;
    writeBase(f);
    clsMapUnits ll, bad;
    EXPECT_EQ(ll.Active(), nullptr);
    ASSERT_EQ(ll.Create(1), 0);
    EXPECT_EQ(ll.Index(), 1);
    EXPECT_EQ(ll.Base()->UnitName(), f.map(QStringLiteral("BASE.MLL")));
    EXPECT_FALSE(ll.Base()->SearchSwitch());
    EXPECT_EQ(ll.Base()->Things().Item(2)->Name(), "base");
    EXPECT_TRUE(createError(ll, 1).startsWith(QStringLiteral("<3> ")));   // only once
    EXPECT_EQ(createError(bad, 3), QStringLiteral("<1> ") + f.map(QStringLiteral("BASE.MLL")));
    QFile::remove(f.map(QStringLiteral("BASE.MLL")));
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("地図図形ファイルが存在しません."), plat::IdOk);
    EXPECT_TRUE(createError(bad, 1).startsWith(QStringLiteral("<5> ")));
    EXPECT_EQ(bad.Count(), 0);
}

TEST(MapUnits, AddRemoveAndTheBaseRule) {
    Folders f;
    writeBase(f);
    clsMapUnits s;
    ASSERT_TRUE(s.Add(unitOf(f.map(QStringLiteral("A.MLL")), 190000)));   // an empty set first gets its base unit
    EXPECT_EQ(names(s), (QStringList{"BASE.MLL", "A.MLL"}));
    EXPECT_FALSE(s.Add(unitOf(f.map(QStringLiteral("X.MXY")), 290000)));   // another mode
    ASSERT_TRUE(s.Add(unitOf(f.map(QStringLiteral("B.MLL")), 190000)));
    s.Item(2)->setDisplaySwitch(false);
    EXPECT_FALSE(s.Add(unitOf(f.map(QStringLiteral("a.mll")), 190000)));   // already there: shown again
    EXPECT_TRUE(s.Item(2)->DisplaySwitch());
    // A file name with BASE in any case replaces the base unit; the folder does not count.
    ASSERT_TRUE(s.Add(unitOf(f.other(QStringLiteral("myBase2.MLL")), 110000)));
    ASSERT_TRUE(s.Add(unitOf(f.other(QStringLiteral("BASE/C.MLL")), 190000)));
    EXPECT_EQ(names(s), (QStringList{"myBase2.MLL", "A.MLL", "B.MLL", "C.MLL"}));
    EXPECT_FALSE(s.Remove(1) || s.Remove(5));
    s.setIndex(4);
    EXPECT_TRUE(s.Remove(2));
    EXPECT_EQ(s.Index(), 3);   // the active unit stays active
    EXPECT_TRUE(s.Remove(3));
    EXPECT_EQ(s.Index(), 2);   // and in range
    s.setIndex(9);
    EXPECT_EQ(s.Index(), 2);
    s.Add(unitOf(f.map(QStringLiteral("D.MLL")), 190000));
    s.ClearAll();
    EXPECT_EQ(names(s), (QStringList{"myBase2.MLL"}));
    EXPECT_EQ(s.Index(), 1);
}

TEST(MapUnits, AModifiedBaseIsNotReplacedWithoutAQuestion) {
    FixedTime time;
    const struct {
        int answer;
        bool readOnly, replaced, saved;   // readOnly: the save fails
    } cases[] = {{plat::IdCancel, false, false, false}, {plat::IdNo, false, true, false}, {plat::IdYes, false, true, true},
                 {plat::IdYes, true, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.answer << " " << c.readOnly);
        Folders f;
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
        EXPECT_EQ(names(s).first(), c.replaced ? "DATABASE.MLL" : "BASE.MLL");
        EXPECT_EQ(s.Index(), 2);
        EXPECT_EQ(base->Modify(), !c.saved);
        clsMap onDisk;
        onDisk.setFileName(f.map(QStringLiteral("BASE.MLL")));
        ASSERT_EQ(onDisk.Load(), 0);
        EXPECT_EQ(onDisk.Count() > 3, c.saved);
    }
}

TEST(MapUnits, OptimizeDropsOrdersAndShows) {
    Folders f;
    writeBase(f);
    clsMapUnits s;
    s.Create(1);
    s.Add(unitOf(f.map(QStringLiteral("ONE.MLL")), 190000, 1));
    s.Add(unitOf(f.map(QStringLiteral("TWO.MLL")), -1, 1));
    auto edited = unitOf(f.map(QStringLiteral("EDIT.MLL")), -1, 0);
    s.Add(edited);
    edited->Admins().setModify(true);
    ASSERT_TRUE(s.Optimize(1));   // small units go, but never edited ones
    EXPECT_EQ(names(s), (QStringList{"BASE.MLL", "EDIT.MLL"}));
    s.Remove(2);
    // By map kind; a base map that is not the base unit after the listed kinds.
    for (const auto& [name, code] : {std::pair{"K5.MLL", 150000}, {"NOCODE.MLL", -1}, {"K2.MLL", 120000}, {"K9.MLL", 190000},
                                     {"K1.MLL", 110392}, {"K4.MLL", 142392}, {"K0.MLL", 100000}})
        s.Add(unitOf(f.map(QString::fromLatin1(name)), code));
    s.setIndex(3);   // NOCODE
    s.Base()->setDisplaySwitch(false);
    ASSERT_TRUE(s.Optimize(2));
    EXPECT_EQ(names(s), (QStringList{"BASE.MLL", "K2.MLL", "K4.MLL", "K5.MLL", "K0.MLL", "K9.MLL", "K1.MLL", "NOCODE.MLL"}));
    EXPECT_EQ(FileNameOf(s.Active()->UnitName()), "NOCODE.MLL");
    EXPECT_TRUE(s.Base()->DisplaySwitch());
    // Shown: the last administrative map and the last topographic one.
    clsMapUnits t;
    t.Create(1);
    const std::tuple<const char*, int32_t, bool, bool> units[] = {
        {"ADM2.MLL", 132000, true, false}, {"ADM3A.MLL", 163000, false, false}, {"TOPO1.MLL", 141000, true, true},
        {"ADM3B.MLL", 133000, false, true}, {"TRAFFIC.MLL", 152000, false, false}, {"NOCODE.MLL", -1, false, false}};
    for (const auto& [name, code, before, after] : units) {
        t.Add(unitOf(f.map(QString::fromLatin1(name)), code));
        t.Active()->setDisplaySwitch(before);
    }
    t.Optimize(4);
    for (int32_t i = 2; i <= t.Count(); ++i) EXPECT_EQ(t.Item(i)->DisplaySwitch(), std::get<3>(units[i - 2])) << i;
}

TEST(MapUnits, AddNewAndUndoAcrossTheMaps) {
    Folders f;
    writeBase(f);
    FixedTime time;
    WriteLines(f.map(QStringLiteral("DEFAULT.ADM")), {"[ADMINISTRATION]", "3,0,\"default\",\"\""});
    WriteLines(f.program(QStringLiteral("DEFAULT.THG")), {"[THING]", "NUMBER=4", ""});
    clsMapUnits xy;
    xy.Create(2);
    ASSERT_TRUE(xy.AddNew(QString()));
    const MapUnitPtr u = xy.Active();
    EXPECT_EQ(u->UnitName(), f.map(QStringLiteral("Map20240506123456.MXY")));
    EXPECT_EQ(u->Map().MapCode(), 290000);
    EXPECT_EQ(std::static_pointer_cast<clsMapRem>(u->Map().Item(u->Map().Count() - 1))->Comment(),
              "ここに地図図形を追加してください.");
    EXPECT_TRUE(u->Admins().Modify() && u->Things().Modify());
    EXPECT_EQ(u->Admins().Item(3)->EuropianName(), "default");
    EXPECT_TRUE(ConfirmAddFigure(*u));   // never asked
    QFile::remove(f.map(QStringLiteral("DEFAULT.ADM")));   // without default catalogues the base ones serve
    clsMapUnits ll;
    ll.Create(1);
    ASSERT_TRUE(ll.AddNew(f.other(QStringLiteral("mine"))));
    EXPECT_EQ(ll.Active()->UnitName(), f.other(QStringLiteral("mine.MLL")));
    EXPECT_EQ(ll.Active()->Map().MapCode(), 190000);
    EXPECT_EQ(ll.Active()->Admins().Item(1)->EuropianName(), "base");
    ll.ResetUndo();
    EXPECT_FALSE(ll.CanUndo());
    ll.Base()->Map().Add(Sym(5, 5));
    ll.Active()->Map().Add(Sym(6, 6));
    EXPECT_TRUE(ll.CanUndo());
    const int32_t baseCount = ll.Base()->Map().Count(), activeCount = ll.Active()->Map().Count();
    ll.Undo();
    EXPECT_EQ(ll.Base()->Map().Count(), baseCount - 1);
    EXPECT_EQ(ll.Active()->Map().Count(), activeCount - 1);
    EXPECT_FALSE(ll.CanUndo());
}

// A unit's trash goes with its map's undo: one undo of the set reverts what
// an edit did to both, and an edit that left a trash alone reverts nothing
// there.
TEST(MapUnits, UndoTakesEachUnitsTrashAlong) {
    Folders f;
    writeBase(f);
    clsMapUnits s;
    ASSERT_TRUE(s.Add(unitOf(f.map(QStringLiteral("A.MLL")), 190000, 4)));
    ASSERT_TRUE(s.Add(unitOf(f.map(QStringLiteral("B.MLL")), 190000, 4)));
    clsMap &a = s.Item(2)->Map(), &trashA = s.Item(2)->Garbage(), &trashB = s.Item(3)->Garbage();
    const auto move = [](clsMap& from, int32_t i, clsMap& to) {
        const MapFigurePtr f = from.Item(i);
        from.Remove(i);
        to.Add(f);
    };
    // Only the trash changed: there is something to undo, and it is undone.
    s.ResetUndo();
    trashB.Add(Sym(7, 7));
    EXPECT_TRUE(s.CanUndo());
    s.Undo();
    EXPECT_EQ(trashB.Count(), 0);
    EXPECT_FALSE(s.CanUndo());

    // Figures into A's trash and one back out, in one edit; trash B, filled
    // by an earlier edit, is left as it is.
    move(s.Item(3)->Map(), 2, trashB);
    s.ResetUndo();
    const MapFigurePtr second = a.Item(2), third = a.Item(3);
    move(a, 2, trashA);
    move(a, 2, trashA);
    move(trashA, 1, a);
    s.Undo();
    EXPECT_EQ(a.Item(2), second);
    EXPECT_EQ(a.Item(3), third);
    EXPECT_EQ(a.Count(), 4);
    EXPECT_EQ(trashA.Count(), 0);
    EXPECT_EQ(trashB.Count(), 1);
    EXPECT_EQ(s.Item(3)->Map().Count(), 3);

    // An edit of the map alone, then undo: the trash keeps what it holds.
    move(a, 4, trashA);
    s.ResetUndo();
    a.Add(Sym(9, 9));
    s.Undo();
    EXPECT_EQ(a.Count(), 3);
    EXPECT_EQ(trashA.Count(), 1);
    // A map's own reset, as the figure list makes it, covers its trash.
    trashA.Add(Sym(8, 8));
    a.ResetUndo();
    EXPECT_FALSE(s.CanUndo());
    // A trash put in place of another follows the map from then on.
    auto fresh = std::make_shared<clsMap>();
    s.Item(2)->setGarbage(fresh);
    fresh->Add(Sym(1, 1));
    EXPECT_TRUE(a.CanUndo());
    s.Undo();
    EXPECT_EQ(fresh->Count(), 0);
}

// A new unit's three files are created even when its catalogues are empty,
// and a map whose figures were all deleted is written: it reads back with
// nothing but the date line every save puts in.
TEST(MapUnits, ANewUnitAndAnEmptiedMapAreWritten) {
    Folders f;
    writeBase(f);
    WriteLines(f.map(QStringLiteral("DEFAULT.ADM")), {"[ADMINISTRATION]"});
    WriteLines(f.map(QStringLiteral("DEFAULT.THG")), {"[COMMENT]", "empty", ""});
    clsMapUnits ll;
    ll.Create(1);
    ASSERT_TRUE(ll.AddNew(f.other(QStringLiteral("fresh"))));
    const MapUnitPtr fresh = ll.Active();
    ASSERT_EQ(fresh->Admins().Count(), 0);
    ASSERT_EQ(fresh->Things().Count(), 0);
    ASSERT_TRUE(fresh->Save(false));
    EXPECT_FALSE(fresh->Modify());
    for (const char* ext : {".MLL", ".THG", ".ADM"})
        EXPECT_TRUE(QFile::exists(f.other(QStringLiteral("fresh") + QLatin1String(ext)))) << ext;

    auto again = std::make_shared<clsMapUnit>();
    again->setUnitName(f.other(QStringLiteral("fresh.MLL")));
    ASSERT_TRUE(again->Load());
    EXPECT_EQ(again->Map().Count(), fresh->Map().Count());
    EXPECT_EQ(again->Things().Comment(), "empty");
    EXPECT_EQ(again->Admins().Count(), 0);

    again->Map().Add(Sym(3, 3));
    ASSERT_TRUE(again->Save(false));
    ASSERT_TRUE(again->Map().Removes(1, again->Map().Count()));
    ASSERT_EQ(again->Map().Count(), 0);
    EXPECT_TRUE(again->Modify());
    ASSERT_TRUE(again->Save(false));
    auto emptied = std::make_shared<clsMapUnit>();
    emptied->setUnitName(f.other(QStringLiteral("fresh.MLL")));
    ASSERT_TRUE(emptied->Load());
    ASSERT_EQ(emptied->Map().Count(), 1);
    ASSERT_EQ(emptied->Map().FigCode(1), 1);
    EXPECT_EQ(std::static_pointer_cast<clsMapRem>(emptied->Map().Item(1))->Key(), "最終更新日時");

    // A unit that was only named, never loaded, holds nothing to write over
    // its files.
    std::map<QString, QByteArray> before;
    for (const char* ext : {".MLL", ".THG", ".ADM"}) {
        const QString path = f.other(QStringLiteral("fresh") + QLatin1String(ext));
        before[path] = testsupport::ReadBytes(path);
    }
    clsMapUnit named;
    named.setUnitName(f.other(QStringLiteral("fresh.MLL")));
    ASSERT_TRUE(named.Map().Modify() && named.Things().Modify() && named.Admins().Modify());
    ASSERT_TRUE(named.Save(false));
    for (const auto& [path, bytes] : before) EXPECT_EQ(testsupport::ReadBytes(path), bytes) << path.toStdString();
}
