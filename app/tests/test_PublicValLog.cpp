// The "PUBLIC" settings (defaults, clamps, the window corner) and the
// settings snapshots: the file byte for byte, what the reader accepts, the
// restore of the listed units and the question about unsaved ones.
#include <gtest/gtest.h>

#include <QFile>

#include <functional>

#include "AppTestSupport.h"
#include "basGlobe.h"
#include "basLibrary.h"
#include "clsMap.h"
#include "clsRegistry.h"

using apptest::ProgramFolder;

namespace {

clsRegistry publicSection() { return clsRegistry(QStringLiteral("PUBLIC")); }

QString fileName(const QString& path) { return FileNameOf(path); }

} // namespace

TEST(PublicSettings, DefaultsAndClampsWhenRead) {
    ProgramFolder f;
    struct Case {
        const char* key;
        const char* stored;   // nullptr: the key is absent
        std::function<double()> value;
        double expected;
    } cases[] = {
        {"MapMode", nullptr, [] { return gvMapMode; }, 1},
        {"MapMode", "2", [] { return gvMapMode; }, 2},
        {"MapMode", "3", [] { return gvMapMode; }, 1},
        {"Language", "7", [] { return gvLanguage; }, 1},
        {"Language", "2", [] { return gvLanguage; }, 2},
        {"Expert", "True", [] { return gvExpert; }, 1},
        {"StartMapType", nullptr, [] { return gvStartMapType; }, 2},
        {"StartMapType", "5", [] { return gvStartMapType; }, 2},
        {"StartMapType", "-1", [] { return gvStartMapType; }, 0},
        {"ScreenDPI", nullptr, [] { return gvScreenDPI; }, static_cast<double>(ScreenDPI())},
        {"ScreenDPI", "2", [] { return gvScreenDPI; }, static_cast<double>(ScreenDPI())},
        {"ScreenDPI", "120", [] { return gvScreenDPI; }, 120},
        {"AngleValue", nullptr, [] { return gvAngleValue; }, 1},
        {"AngleValue", "9", [] { return gvAngleValue; }, 5},
        {"AngleUnit", nullptr, [] { return gvAngleUnit; }, 4},
        {"AngleUnit", "0", [] { return gvAngleUnit; }, 1},
        {"AngleDirection", nullptr, [] { return gvAngleDirection; }, 3},
        {"AngleDirection", "9", [] { return gvAngleDirection; }, 4},
        {"HomeLon", "700000", [] { return gvHomeLon; }, 648000},
        {"HomeLon", "-700000", [] { return gvHomeLon; }, -648000},
        {"HomeLat", nullptr, [] { return gvHomeLat; }, 185318},
        {"HomeLat", "400000", [] { return gvHomeLat; }, 324000},
        {"HomeScaleLL", nullptr, [] { return gvHomeScaleLL; }, MapScaleMax / 50},
        {"HomeScaleLL", "1", [] { return gvHomeScaleLL; }, MapScaleMin},
        {"HomeScaleXY", "1e12", [] { return gvHomeScaleXY; }, MapScaleMax},
        {"HomeX", "9999999999", [] { return gvHomeX; }, static_cast<double>(MaxXY)},
        {"HomeY", "-9999999999", [] { return gvHomeY; }, -static_cast<double>(MaxXY)},
        {"SaveInterval", nullptr, [] { return gvSaveInterval; }, 15},
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

TEST(PublicSettings, MapPathAndWindowCorner) {
    ProgramFolder f;
    gvMapFolder = QStringLiteral("/maps/now");
    clsRegistry pub = publicSection();
    pub.RegPut(QStringLiteral("MapPath"), QString());
    pub.RegPut(QStringLiteral("WindowLeft"), QStringLiteral("1500.5"));
    gvReadRegistry(false);
    EXPECT_EQ(gvMapFolder, "/maps/now");
    // Without a main window the corner read is written back as it was.
    gvWriteRegistry(false);
    EXPECT_EQ(pub.RegGet(QStringLiteral("WindowLeft"), QString()), "1500.5");
    EXPECT_EQ(pub.RegGet(QStringLiteral("WindowTop"), QString()), "1000");
    EXPECT_EQ(pub.RegGet(QStringLiteral("MapPath"), QString()), "/maps/now");

    float movedLeft = 0, movedTop = 0;
    SetMainWindowCorner({[&](float l, float t) { movedLeft = l, movedTop = t; },
                         [](float& l, float& t) { l = 300, t = 400; }});
    pub.RegPut(QStringLiteral("MapPath"), QStringLiteral("/maps/kept"));
    gvReadRegistry(false);
    EXPECT_EQ(movedLeft, 1500.5f);
    EXPECT_EQ(movedTop, 1000.f);
    EXPECT_EQ(gvMapFolder, "/maps/kept");
    gvWriteRegistry(false);
    EXPECT_EQ(pub.RegGet(QStringLiteral("WindowLeft"), QString()), "300");
    SetMainWindowCorner({});
}

TEST(Snapshot, WrittenByteForByte) {
    ProgramFolder f;
    f.Install();
    ASSERT_EQ(gvInitialize(), StartupOK);
    // The projection's own keys are its business; its section stays empty here.
    delete std::exchange(gvProjector, nullptr);
    clsRegistry(QStringLiteral("PROJECTOR")).RegDelete(QString());
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

TEST(Snapshot, ReaderTakesWhatItCanAndIgnoresTheRest) {
    ProgramFolder f;
    clsRegistry pub = publicSection();
    pub.RegPut(QStringLiteral("HomeLat"), 200);
    pub.RegPut(QStringLiteral("HomeLon"), 300);
    testsupport::WriteBytes(f.file(QStringLiteral("quirks.PLG")),
                            plat::EncodeCp932(QStringLiteral("[PUBLIC]\r\n"
                                                             "HomeLat =\"100\"\r\n"          // key with a blank
                                                             "LastSavePath=\"\"\"\r\n"       // three quotes
                                                             "LastLog=   東京 \r\n"          // no quotes
                                                             "no equals sign\r\n"
                                                             "=\"no key\"\r\n"
                                                             "[public]\r\n"                  // not the section
                                                             "HomeLon=\"5\"\r\n"
                                                             "[FILE]\r\n"
                                                             "Note=\"x\"\r\n"
                                                             "[PUBLIC]\r\n"                  // again: later wins
                                                             "SaveInterval=\"7\"\r\n"
                                                             "HomeLat=  \r\n")));
    ASSERT_EQ(gvReadLog(f.file(QStringLiteral("quirks"))), LogOK);
    EXPECT_EQ(pub.RegGet(QStringLiteral("HomeLat "), QString()), "100");
    EXPECT_EQ(gvHomeLat, 185318);   // the empty value reads as absent
    EXPECT_EQ(gvLastSavePath, "\"");
    EXPECT_EQ(gvLastLog, "東京");
    EXPECT_EQ(gvHomeLon, 300);
    EXPECT_EQ(gvSaveInterval, 7);
    EXPECT_EQ(clsRegistry(QStringLiteral("FILE")).RegGet(QStringLiteral("Note"), QString()), "x");
}

TEST(Snapshot, NamesFailuresAndTheLastLog) {
    ProgramFolder f;
    testsupport::WriteBytes(f.file(QStringLiteral("locked.PLG")), "old");
    QFile::setPermissions(f.file(QStringLiteral("locked.PLG")), QFile::ReadOwner);
    struct Case {
        QString given;
        QString written;   // empty: nothing written
        int32_t result;
        bool becomesLast;
        const char* box;
    } cases[] = {
        {f.file("mine.txt"), f.file("mine.PLG"), LogOK, true, nullptr},
        {f.file("sub/../last.plg"), f.file("sub/../last.PLG"), LogOK, false, nullptr},
        {f.file("ERROR"), f.file("ERROR.PLG"), LogOK, false, nullptr},
        {f.file("locked.PLG"), QString(), LogReadOnly, false, "は読み取り専用ファイルです."},
    };
    QDir(f.path()).mkdir(QStringLiteral("sub"));
    for (const Case& c : cases) {
        gvLastLog = QStringLiteral("before");
        testsupport::ScriptedBoxes boxes;
        if (c.box) boxes.expect(QString::fromUtf8(c.box), plat::IdOk);
        EXPECT_EQ(gvWriteLog(c.given), c.result) << c.given.toStdString();
        EXPECT_EQ(gvLastLog, c.becomesLast ? c.written : QStringLiteral("before"));
        EXPECT_EQ(QFile::exists(c.written), !c.written.isEmpty());
    }
    EXPECT_EQ(testsupport::ReadBytes(f.file(QStringLiteral("locked.PLG"))), "old");

    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("ログファイルが存在しません.\r\n") + f.file(QStringLiteral("gone.PLG")), plat::IdOk);
    gvHomeLon = 77;
    EXPECT_EQ(gvReadLog(f.file(QStringLiteral("gone.txt"))), LogMissing);
    EXPECT_EQ(gvHomeLon, 77);
}

TEST(Snapshot, RestoresTheListedUnits) {
    ProgramFolder f;
    f.Install();
    ASSERT_EQ(gvInitialize(), StartupOK);
    ASSERT_TRUE(gvMapUnitsLL->AddNew(f.map(QStringLiteral("USER.MLL"))));
    MapUnitPtr user = gvMapUnitsLL->Active();
    ASSERT_TRUE(user->Save(false));
    user->setSearchSwitch(false);
    gvHomeLon = 1000;
    ASSERT_EQ(gvWriteLog(f.file(QStringLiteral("a"))), LogOK);

    // A list of 300 is cut at 256: unit 256 comes back, 257 does not.
    clsRegistry pub = publicSection();
    testsupport::WriteBytes(f.file(QStringLiteral("many.PLG")),
                            "[PUBLIC]\r\nLLcount=\"300\"\r\n256:MapLL=\"" + QFile::encodeName(user->UnitName()) +
                                "\"\r\n257:MapLL=\"" + QFile::encodeName(f.map(QStringLiteral("BASE.MLL"))) +
                                "\"\r\nXYcount=\"0\"\r\n");
    gvMapMode = 2;
    ASSERT_EQ(gvReadLog(f.file(QStringLiteral("many"))), LogOK);
    ASSERT_EQ(gvMapUnitsLL->Count(), 2);
    EXPECT_EQ(fileName(gvMapUnitsLL->Item(2)->UnitName()), "USER.MLL");
    EXPECT_EQ(gvMapUnitsXY->Count(), 1);   // the base unit stays

    gvHomeLon = 0;
    gvMapUnitsLL->ClearAll();
    ASSERT_EQ(gvReadLog(f.file(QStringLiteral("a.PLG"))), LogOK);
    EXPECT_EQ(gvHomeLon, 1000);
    EXPECT_EQ(gvMapMode, 1);
    ASSERT_EQ(gvMapUnitsLL->Count(), 2);
    const MapUnitPtr back = gvMapUnitsLL->Item(2);
    EXPECT_EQ(back->UnitName(), user->UnitName());
    EXPECT_TRUE(back->DisplaySwitch());
    EXPECT_FALSE(back->SearchSwitch());
}

TEST(Snapshot, UnsavedUnitsAreOfferedBeforeTheRestore) {
    ProgramFolder f;
    f.Install();
    ASSERT_EQ(gvInitialize(), StartupOK);
    ASSERT_EQ(gvWriteLog(f.file(QStringLiteral("plain"))), LogOK);
    ASSERT_TRUE(gvMapUnitsLL->AddNew(f.map(QStringLiteral("EDIT.MLL"))));
    const MapUnitPtr edited = gvMapUnitsLL->Active();
    ASSERT_TRUE(edited->Modify());
    const QString question = QStringLiteral("には修正されたデータがあります.");

    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(question, plat::IdCancel);
        EXPECT_EQ(gvReadLog(f.file(QStringLiteral("plain"))), LogCancelled);
    }
    EXPECT_EQ(gvMapUnitsLL->Count(), 2);
    EXPECT_TRUE(edited->Modify());
    EXPECT_FALSE(QFile::exists(f.map(QStringLiteral("EDIT.MLL"))));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(question, plat::IdYes);
        EXPECT_EQ(gvReadLog(f.file(QStringLiteral("plain"))), LogOK);
    }
    EXPECT_TRUE(QFile::exists(f.map(QStringLiteral("EDIT.MLL"))));
    EXPECT_TRUE(QFile::exists(f.map(QStringLiteral("EDIT.PLG"))));   // saved with its snapshot
    EXPECT_EQ(gvMapUnitsLL->Count(), 1);
}
