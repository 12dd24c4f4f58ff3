// The "PUBLIC" settings (defaults, clamps, the window corner) and the
// settings snapshots: the file byte for byte, what the reader accepts, the
// restore of the listed units and the question about unsaved ones.
#include <gtest/gtest.h>

#include <QDir>

#include <QFile>

#include <functional>

#include "AppTestSupport.h"
#include "FileOpenSave.h"
#include "basGlobe.h"
#include "basLibrary.h"
#include "clsMap.h"
#include "clsProjector.h"
#include "clsRegistry.h"

using apptest::ProgramFolder;

namespace {

clsRegistry publicSection() { return clsRegistry(QStringLiteral("PUBLIC")); }

} // namespace

TEST(PublicSettings, DefaultsAndClampsWhenRead) {
    ProgramFolder f;
    struct Case {
        const char* key;
        const char* stored;   // nullptr: the key is absent
        std::function<double()> value;
        double expected;
    } cases[] = {
        {"MapMode", "3", [] { return gvMapMode; }, 1},
        {"Language", "7", [] { return gvLanguage; }, 1},
        {"StartMapType", "5", [] { return gvStartMapType; }, 2},
        {"ScreenDPI", "2", [] { return gvScreenDPI; }, static_cast<double>(ScreenDPI())},
        {"AngleDirection", "9", [] { return gvAngleDirection; }, 4},
        {"HomeLat", nullptr, [] { return gvHomeLat; }, 185318},
        {"HomeLat", "400000", [] { return gvHomeLat; }, 324000},
        {"HomeScaleLL", nullptr, [] { return gvHomeScaleLL; }, MapScaleMax / 50},
        {"HomeScaleXY", "1", [] { return gvHomeScaleXY; }, MapScaleMin},
        {"HomeX", "9999999999", [] { return gvHomeX; }, static_cast<double>(MaxXY)},
        {"SaveInterval", "45", [] { return gvSaveInterval; }, 30},
    };
    for (const Case& c : cases) {
        clsRegistry pub = publicSection();
        pub.RegDelete(QString());
        if (c.stored) pub.RegPut(QString::fromLatin1(c.key), QString::fromLatin1(c.stored));
        gvReadRegistry(false);
        EXPECT_EQ(c.value(), c.expected) << c.key << "=" << (c.stored ? c.stored : "(absent)");
    }
}

TEST(PublicSettings, EmptyMapPathAndTheCornerWithoutAMainWindow) {
    ProgramFolder f;
    gvMapFolder = QStringLiteral("/maps/now");
    clsRegistry pub = publicSection();
    pub.RegPut(QStringLiteral("MapPath"), QString());
    pub.RegPut(QStringLiteral("WindowLeft"), QStringLiteral("1500.5"));
    gvReadRegistry(false);
    EXPECT_EQ(gvMapFolder, "/maps/now");
    gvWriteRegistry(false);
    EXPECT_EQ(pub.RegGet(QStringLiteral("WindowLeft"), QString()), "1500.5");
    EXPECT_EQ(pub.RegGet(QStringLiteral("WindowTop"), QString()), "1000");
}

TEST(PublicSettings, AMapFolderThatIsGoneKeepsTheProgramsOwn) {
    ProgramFolder f;
    gvMapFolder = QStringLiteral("/maps/now");
    clsRegistry pub = publicSection();
    pub.RegPut(QStringLiteral("MapPath"), QStringLiteral("+e1-tmp/no/such/maps"));
    gvReadRegistry(false);
    EXPECT_EQ(gvMapFolder, "/maps/now") << "a start with it could never load the base map";
    pub.RegPut(QStringLiteral("MapPath"), QDir::tempPath());
    gvReadRegistry(false);
    EXPECT_EQ(gvMapFolder, QDir::tempPath());
}

TEST(PublicSettings, CornerOutOfRangeIsClampedAndReadsBackAsWritten) {
    const struct {
        const char* stored;
        const char* written;
    } cases[] = {
        {"1e40", "16777216"}, {"-1e40", "-16777216"}, {"1e300", "16777216"},
        {"Infinity", "1000"}, {"NaN", "1000"},        {"-2500", "-2500"},
    };
    for (const auto& c : cases) {
        ProgramFolder f;
        clsRegistry pub = publicSection();
        pub.RegPut(QStringLiteral("WindowLeft"), QString::fromLatin1(c.stored));
        gvReadRegistry(false);
        gvWriteRegistry(false);
        const QString written = pub.RegGet(QStringLiteral("WindowLeft"), QString());
        EXPECT_EQ(written, QString::fromLatin1(c.written)) << c.stored;
        // Read again and written again: the same text.
        gvReadRegistry(false);
        gvWriteRegistry(false);
        EXPECT_EQ(pub.RegGet(QStringLiteral("WindowLeft"), QString()), written) << c.stored;
    }
}

TEST(Snapshot, WrittenByteForByte) {
    ProgramFolder f;
    f.Install();
    ASSERT_EQ(gvInitialize(), StartupOK);
    // The owners' own keys are their business (the round trip below); their
    // sections hold only what is planted here.
    delete std::exchange(gvProjector, nullptr);
    delete std::exchange(gvAccessory, nullptr);
    delete std::exchange(gvMapPlotLL, nullptr);
    delete std::exchange(gvMapPlotXY, nullptr);
    delete std::exchange(gvCanvas, nullptr);
    for (const char* s : {"PROJECTOR", "ACCESSORY", "LLPLOT", "LLGRID", "XYPLOT", "XYGRID", "CANVAS"})
        clsRegistry(QString::fromLatin1(s)).RegDelete(QString());
    ASSERT_TRUE(gvMapUnitsXY->AddNew(f.map(QStringLiteral("東京.MXY"))));
    gvMapUnitsXY->Active()->setSearchSwitch(false);
    gvLastSavePath = QStringLiteral("C:\\地図\\日本.MLL");
    gvScreenDPI = 96;
    gvHomeScaleLL = 2.5e6;
    gvSaveInterval = 0;
    clsRegistry accessory(QStringLiteral("ACCESSORY"));
    accessory.RegPut(QStringLiteral("Text"), QStringLiteral("一行目\r\n二行目"));
    accessory.RegPut(QStringLiteral("Quote"), QStringLiteral("a\"b"));
    clsRegistry(QStringLiteral("CANVAS")).RegPut(QStringLiteral("Dpi"), 96);

    ASSERT_EQ(gvWriteLog(f.file(QStringLiteral("snap.txt"))), LogOK);
    EXPECT_EQ(gvLastLog, f.file(QStringLiteral("snap.PLG")));
    QByteArray bytes = testsupport::ReadBytes(f.file(QStringLiteral("snap.PLG")));
    bytes.replace(QFile::encodeName(f.path()), "<DIR>");
    testsupport::WriteBytes(testsupport::OutputFolder() + QStringLiteral("/snapshot.PLG"), bytes);
    EXPECT_EQ(bytes, testsupport::ReadBytes(QStringLiteral(KAL_TESTDATA_DIR "/snapshot.PLG")))
        << "written: " << (testsupport::OutputFolder() + QStringLiteral("/snapshot.PLG")).toStdString();
}

// Whatever the program holds, the snapshot it writes reads back to the same
// keys and values, cleaned as the file can hold them; one value without a
// Shift-JIS form no longer fails the whole write.
TEST(Snapshot, WhatIsWrittenReadsBack) {
    ProgramFolder f;
    f.Install();
    ASSERT_EQ(gvInitialize(), StartupOK);
    delete std::exchange(gvProjector, nullptr);
    gvLastSavePath = QStringLiteral("C:\\Zürich\r\n😀\\日本.MLL");
    clsRegistry accessory(QStringLiteral("ACCESSORY"));
    accessory.RegPut(QStringLiteral("Text"), QStringLiteral("x\r\nInjected=\"y\"\r\n[PUBLIC]\rz\nw"));
    accessory.RegPut(QStringLiteral("Title"), QStringLiteral("Ωα Zürich ☃"));
    clsRegistry(QStringLiteral("LLPLOT")).RegPut(QStringLiteral("Font"), QStringLiteral("ＭＳ Ｐゴシック"));

    ASSERT_EQ(gvWriteLog(f.file(QStringLiteral("dirty"))), LogOK);
    const QStringList sections{"PUBLIC", "ACCESSORY", "LLPLOT", "LLGRID", "XYPLOT", "XYGRID", "CANVAS"};
    std::vector<clsRegistry::Table> expected;
    for (const QString& name : sections) {
        clsRegistry section(name);
        clsRegistry::Table table = section.RegGetSec().value_or(clsRegistry::Table{});
        for (auto& [key, value] : table) value = clsRegistry::SnapshotValue(value);
        expected.push_back(table);
        section.RegDelete(QString());
    }
    EXPECT_TRUE(expected[0].size() > 20);   // the PUBLIC settings were there

    ASSERT_EQ(gvReadLog(f.file(QStringLiteral("dirty"))), LogOK);
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(clsRegistry(sections[i]).RegGetSec().value_or(clsRegistry::Table{}), expected[i])
            << sections[i].toStdString();
    EXPECT_EQ(gvLastSavePath, QStringLiteral("C:\\Z?rich ?\\日本.MLL"));
    EXPECT_EQ(accessory.RegGet(QStringLiteral("Text"), QString()), QStringLiteral("x Injected=\"y\" [PUBLIC] z w"));
    EXPECT_EQ(accessory.RegGet(QStringLiteral("Injected"), QStringLiteral("absent")), "absent");
}

namespace {

// The sections of the view as their owners write them now.
std::vector<clsRegistry::Table> viewSections() {
    gvAccessory->WriteRegistry();
    gvMapPlotLL->WriteRegistry();
    gvMapPlotXY->WriteRegistry();
    gvCanvas->WriteRegistry();
    std::vector<clsRegistry::Table> t;
    for (const char* s : {"ACCESSORY", "LLPLOT", "LLGRID", "XYPLOT", "XYGRID", "CANVAS"})
        t.push_back(clsRegistry(QString::fromLatin1(s)).RegGetSec().value_or(clsRegistry::Table{}));
    return t;
}

} // namespace

// A snapshot holds the view: both plot engines with their graticules, the
// accessories and the canvas come back as they were saved.
TEST(Snapshot, RestoresTheViewThroughItsOwners) {
    ProgramFolder f;
    f.Install();
    ASSERT_EQ(gvInitialize(), StartupOK);
    auto setView = [](bool saved) {
        clsMapPlot& ll = *gvMapPlotLL;
        ll.ProjectionAuto = !saved;
        ll.setProjectionIndex(saved ? 3 : 1);
        ll.setCenterX(saved ? 135 * 3600 : 0);
        ll.setCenterY(saved ? 35 * 3600 : 0);
        ll.setMapScale(saved ? 5e6 : 2e7);
        ll.setPtnRatio(saved ? 140 : 100);
        ll.Grid().setWidth(saved ? 7200 : 54000);
        gvMapPlotXY->setCenterX(saved ? 1234000 : 0);
        gvMapPlotXY->Grid().setHeight(saved ? 100000 : 2000000);
        gvAccessory->setIndex(4);
        gvAccessory->setText(saved ? QStringLiteral("題") : QStringLiteral("*"));
        gvCanvas->setSynchro(!saved);
        gvCanvas->setCanvasWidth(saved ? 1000 : 640);
    };
    setView(true);
    const std::vector<clsRegistry::Table> saved = viewSections();
    ASSERT_EQ(gvWriteLog(f.file(QStringLiteral("view"))), LogOK);
    setView(false);
    const std::vector<clsRegistry::Table> changed = viewSections();
    for (size_t i = 0; i < saved.size(); ++i) EXPECT_NE(changed[i], saved[i]) << "section " << i;
    ASSERT_EQ(gvReadLog(f.file(QStringLiteral("view"))), LogOK);
    EXPECT_EQ(viewSections(), saved);
}

// The section syntax itself is the settings store's; here what reaches the
// global values and the "FILE" section.
TEST(Snapshot, ReaderQuirksReachTheValues) {
    ProgramFolder f;
    publicSection().RegPut(QStringLiteral("HomeLat"), 200);
    testsupport::WriteBytes(f.file(QStringLiteral("quirks.PLG")),
                            plat::EncodeCp932(QStringLiteral("[FILE]\r\nNote=\"x\"\r\n[PUBLIC]\r\n"
                                                             "HomeLat =\"100\"\r\n"          // key with a blank
                                                             "LastSavePath=\"\"\"\r\n"       // three quotes
                                                             "LastLog=   東京 \r\n")));       // no quotes
    ASSERT_EQ(gvReadLog(f.file(QStringLiteral("quirks"))), LogOK);
    EXPECT_EQ(gvHomeLat, 200);
    EXPECT_EQ(gvLastSavePath, "\"");
    EXPECT_EQ(gvLastLog, "東京");
    EXPECT_EQ(clsRegistry(QStringLiteral("FILE")).RegGet(QStringLiteral("Note"), QString()), "x");
}

TEST(Snapshot, NamesFailuresAndTheLastLog) {
    ProgramFolder f;
    testsupport::WriteBytes(f.file(QStringLiteral("locked.PLG")), "old");
    QFile::setPermissions(f.file(QStringLiteral("locked.PLG")), QFile::ReadOwner);
    struct Case {
        QString given, written;   // written empty: nothing written, a message shown
        int32_t result;
        bool becomesLast;
    } cases[] = {
        {f.file("mine.txt"), f.file("mine.PLG"), LogOK, true},
        {f.file("last.plg"), f.file("last.PLG"), LogOK, false},   // the fixed names, in any case
        {f.file("ERROR"), f.file("ERROR.PLG"), LogOK, false},
        {f.file("locked.PLG"), QString(), LogReadOnly, false},
    };
    for (const Case& c : cases) {
        gvLastLog = QStringLiteral("before");
        testsupport::ScriptedBoxes boxes;
        if (c.written.isEmpty()) boxes.expect(QStringLiteral("は読み取り専用ファイルです."), plat::IdOk);
        EXPECT_EQ(gvWriteLog(c.given), c.result) << c.given.toStdString();
        EXPECT_EQ(gvLastLog, c.becomesLast ? c.written : QStringLiteral("before"));
        EXPECT_EQ(QFile::exists(c.written), !c.written.isEmpty());
    }
    EXPECT_EQ(testsupport::ReadBytes(f.file(QStringLiteral("locked.PLG"))), "old");

    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("ログファイルが存在しません.\r\n") + f.file(QStringLiteral("gone.PLG")), plat::IdOk);
    EXPECT_EQ(gvReadLog(f.file(QStringLiteral("gone.txt"))), LogMissing);
}

TEST(Snapshot, RestoresTheListedUnits) {
    ProgramFolder f;
    f.Install();
    ASSERT_EQ(gvInitialize(), StartupOK);
    ASSERT_TRUE(gvMapUnitsLL->AddNew(f.map(QStringLiteral("USER.MLL"))));
    const MapUnitPtr user = gvMapUnitsLL->Active();
    ASSERT_TRUE(user->Save(false));
    user->setSearchSwitch(false);
    gvHomeLon = 1000;
    ASSERT_EQ(gvWriteLog(f.file(QStringLiteral("a"))), LogOK);
    gvHomeLon = 0;
    gvMapMode = 2;
    gvMapUnitsLL->ClearAll();
    ASSERT_EQ(gvReadLog(f.file(QStringLiteral("a.PLG"))), LogOK);
    EXPECT_EQ(gvHomeLon, 1000);
    EXPECT_EQ(gvMapMode, 1);
    ASSERT_EQ(gvMapUnitsLL->Count(), 2);
    EXPECT_EQ(gvMapUnitsLL->Item(2)->UnitName(), user->UnitName());
    EXPECT_TRUE(gvMapUnitsLL->Item(2)->DisplaySwitch());
    EXPECT_FALSE(gvMapUnitsLL->Item(2)->SearchSwitch());

    // A list of 300 is cut at 256: unit 256 comes back, 257 does not.
    testsupport::WriteBytes(f.file(QStringLiteral("many.PLG")),
                            "[PUBLIC]\r\nLLcount=300\r\n256:MapLL=" + QFile::encodeName(user->UnitName()) +
                                "\r\n257:MapLL=" + QFile::encodeName(f.map(QStringLiteral("BASE.MLL"))) + "\r\n");
    gvMapUnitsLL->ClearAll();
    ASSERT_EQ(gvReadLog(f.file(QStringLiteral("many"))), LogOK);
    ASSERT_EQ(gvMapUnitsLL->Count(), 2);
    EXPECT_EQ(FileNameOf(gvMapUnitsLL->Item(2)->UnitName()), "USER.MLL");
}

TEST(Snapshot, UnsavedUnitsAreOfferedBeforeTheRestore) {
    ProgramFolder f;
    f.Install();
    ASSERT_EQ(gvInitialize(), StartupOK);
    ASSERT_EQ(gvWriteLog(f.file(QStringLiteral("plain"))), LogOK);
    ASSERT_TRUE(gvMapUnitsLL->AddNew(f.map(QStringLiteral("EDIT.MLL"))));
    for (int answer : {plat::IdCancel, plat::IdYes}) {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("には修正されたデータがあります."), answer);
        EXPECT_EQ(gvReadLog(f.file(QStringLiteral("plain"))), answer == plat::IdYes ? LogOK : LogCancelled);
        // Cancel keeps the unit unsaved; Yes saves it (with its snapshot), then restores.
        EXPECT_EQ(gvMapUnitsLL->Count(), answer == plat::IdYes ? 1 : 2);
        EXPECT_EQ(QFile::exists(f.map(QStringLiteral("EDIT.MLL"))), answer == plat::IdYes);
        EXPECT_EQ(QFile::exists(f.map(QStringLiteral("EDIT.PLG"))), answer == plat::IdYes);
    }
}

// The base that the restore replaces (renamed to its copy by a project
// save) is asked about once, and only when it is modified.
TEST(Snapshot, EachModifiedUnitIsAskedOnce) {
    ProgramFolder f;
    f.Install();
    ASSERT_EQ(gvInitialize(), StartupOK);
    ASSERT_EQ(gvWriteLog(f.file(QStringLiteral("plain"))), LogOK);
    for (bool modified : {true, false}) {
        ASSERT_TRUE(mainform::SaveFile(f.file(QStringLiteral("trip.PLG"))));
        const MapUnitPtr base = gvMapUnitsLL->Base();
        base->Things().setModify(modified);
        testsupport::ScriptedBoxes boxes;
        if (modified) boxes.expect(base->Map().MapName(gvLanguage) + QStringLiteral("\rには修正"), plat::IdNo);
        ASSERT_EQ(gvReadLog(f.file(QStringLiteral("plain"))), LogOK);
        EXPECT_EQ(gvMapUnitsLL->Base()->UnitName(), f.map(QStringLiteral("BASE.MLL")));
    }
}
