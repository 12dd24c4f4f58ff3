// The map file as a whole: versions, record errors, progress, load and save
// with backup, atomic replacement, read-only files and round trips.
#include <gtest/gtest.h>

#include "../../fuzz/FuzzMapBody.h"
#include "ErrorMng.h"
#include "FileOps.h"
#include "MapTestSupport.h"
#include "TestSupport.h"
#include "TextFile.h"
#include "clsMap.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>

using namespace maptest;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

namespace {

QByteArray symbolRecord(int16_t version, int32_t x) {
    Bytes b;
    if (version >= 106) b.i16(4).i32(36).f64(1e5 * x).i16(1).i16(2).i32(-1).u8(0).u8(0).i32(0);
    else if (version == 105) b.i16(4).i16(1).i16(2).i32(0);
    else b.i16(4).i16(1).i16(2);
    b.i32(x).i32(0);
    if (version == 104) b.i32(0);
    return b;
}

// The error of reading bytes into a fresh map; number 0 when there was none.
plat::AppError readError(const QByteArray& bytes, clsMap* into = nullptr) {
    clsMap local;
    clsMap& map = into ? *into : local;
    try {
        map.ReadFrom(bytes);
    } catch (const plat::AppError& e) {
        return e;
    }
    return plat::AppError();
}

QByteArray fileOf(clsMap& map, int16_t version) {
    plat::BinaryWriter w;
    map.WriteTo(w, version);
    return w.buffer();
}

void chmodTo(const QString& path, mode_t mode) { ::chmod(QFile::encodeName(path).constData(), mode); }

} // namespace

TEST(MapFile, VersionDetection) {
    struct Case {
        QByteArray first;
        int16_t recordVersion;   // layout of the symbol behind the version record
        int16_t version;         // 0: refused
        const char* comment;
    } cases[] = {
        {VersionRecord104Plus("1.06"), 106, 106, ""},
        {VersionRecord104Plus("1.05"), 105, 105, ""},
        {VersionRecord104Plus("1.04"), 104, 104, ""},
        {VersionRecord("1.03"), 103, 103, ""},
        {VersionRecord("1.01"), 101, 101, ""},
        {VersionRecord("1.00"), 100, 100, ""},
        {VersionRecord(" 1.0"), 100, 100, ""},
        {VersionRecord104Plus("1.07"), 106, 0, "地図バージョンがアプリケーションの対応範囲を超えています.アップグレードしてください."},
        {VersionRecord("0.99"), 103, 0, "地図バージョン確認不能"},
        {VersionRecord("1"), 103, 0, "地図バージョン確認不能"},
        {VersionRecord("x.yz"), 103, 0, "地図バージョン確認不能"},
        {Bytes().i16(2).i16(0).i16(0).i16(0), 103, 0, "地図バージョン確認不能"},
        {QByteArray(), 103, 0, "地図バージョン確認不能"},
        {Bytes().i16(1).i16(0).i16(30000).raw("ab"), 103, 0, "地図バージョン確認不能"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first.toHex().toStdString());
        clsMap map;
        const QByteArray file = c.first + (c.recordVersion ? symbolRecord(c.recordVersion, 5) : QByteArray());
        const plat::AppError e = readError(file, &map);
        if (c.version) {
            EXPECT_EQ(e.number(), 0) << e.description().toStdString();
            EXPECT_EQ(map.Version(), c.version);
            ASSERT_EQ(map.Count(), 1);
            EXPECT_EQ(map.Item(1)->Poly()->x(1), 5);
        } else {
            EXPECT_EQ(e.number(), ErrMapVersion);
            EXPECT_EQ(e.description(), QString::fromUtf8(c.comment));
        }
    }
}

TEST(MapFile, ProjectionConditionForm) {
    const QByteArray cond = plat::EncodeCp932(QStringLiteral("[投影条件]"));
    const QByteArray file = Bytes().i16(1).i16(5).i16(6).raw(cond) + symbolRecord(99, 8) +
                            Bytes().i16(1).i16(0).i16(2).raw("ab").bytes();
    clsMap map;
    ASSERT_EQ(readError(file, &map).number(), 0);
    EXPECT_EQ(map.Version(), 99);
    ASSERT_EQ(map.Count(), 3);
    auto first = std::static_pointer_cast<clsMapRem>(map.Item(1));
    EXPECT_EQ(first->Comment(), "[投影条件]");
    EXPECT_EQ(first->Admin(), 5);
    EXPECT_FALSE(map.Modify());
    // Written again it is 1.06, which reads back with the same figures.
    clsMap again;
    ASSERT_EQ(readError(fileOf(map, map.PrepareSaveVersion()), &again).number(), 0);
    EXPECT_EQ(again.Version(), 106);
    EXPECT_EQ(again.Count(), 3);
}

TEST(MapFile, RecordErrors) {
    const QByteArray head = VersionRecord104Plus("1.06");
    QByteArray seventeen = head;
    for (int i = 0; i < 16; ++i) seventeen += symbolRecord(106, i);
    struct Case {
        QByteArray file;
        const char* comment;   // empty: reads
    } cases[] = {
        {head + symbolRecord(106, 1), ""},
        {head + symbolRecord(106, 1) + Bytes().i16(0).bytes() + symbolRecord(106, 2), "不正な図形コード(Line:2, Figure:0)"},
        {head + symbolRecord(106, 1) + Bytes().i16(0).bytes(), "不正な図形コード(Line:2, Figure:0)"},
        {seventeen + Bytes().i16(9).bytes(), "不正な図形コード(Line:17, Figure:9)"},
        {VersionRecord104Plus("1.05") + Bytes().i16(3).i16(0).i16(0).i32(0).i16(3).points({{0, 0}, {1, 1}, {0, 0}}).bytes(),
         "不正な図形内容(Line:1, Figure:3)"},
        {head + symbolRecord(106, 1).left(30), "不正な図形内容(Line:1, Figure:4)/"},
        {head + Bytes().i16(4).i16(-1).i16(2).i32(1).i32(1).bytes(), "不正な図形内容(Line:1, Figure:4)/"},
        {head + symbolRecord(106, 1) + QByteArray(1, '\x07'), ""},
        {head + symbolRecord(106, 1) + QByteArray(1, '\x02'), "不正な図形内容(Line:2, Figure:2)"},
    };
    for (const Case& c : cases) {
        const plat::AppError e = readError(c.file);
        const QString want = QString::fromUtf8(c.comment);
        if (want.isEmpty()) {
            EXPECT_EQ(e.number(), 0) << e.description().toStdString();
        } else {
            EXPECT_EQ(e.number(), ErrMapRecord) << c.comment;
            EXPECT_TRUE(e.description().startsWith(want)) << e.description().toStdString();
        }
    }
}

TEST(MapFile, WrongRecordLengthsOf106AreIgnored) {
    FixedTime time;
    clsMap src;
    auto line = std::make_shared<clsMapPolyline>();
    auto pts = std::make_shared<clsPoly>();
    for (int32_t i = 0; i < 70000; ++i) pts->AddXandY(i, i % 7);
    line->setPoly(pts);
    line->setAdmin(1);
    line->setThing(2);
    auto text = std::make_shared<clsMapText>();
    text->setAdmin(3);
    text->setThing(4);
    text->setTextUnicode(2, QStringLiteral("東京"));
    ASSERT_TRUE(src.Add(Rem(QStringLiteral("地図"))) && src.Add(line) && src.Add(text) && src.Add(Sym(5, 6)));
    const QByteArray good = fileOf(src, 106);
    // Each record's length field (after its 2-byte code) by the true lengths.
    std::vector<std::pair<qsizetype, int32_t>> fields;
    for (qsizetype at = 31; at < good.size();) {
        plat::BinaryReader in(good.constData() + at + 2, 4);
        const int32_t length = in.i32();
        fields.emplace_back(at + 2, length);
        at += length;
    }
    ASSERT_EQ(fields.size(), 4u);
    ASSERT_EQ(fields[1].second, 32 + 8 * 70000);
    int32_t (*const forms[])(int32_t) = {
        [](int32_t n) { return n + 1000; },
        [](int32_t) { return INT32_MAX; },
        [](int32_t n) { return n / 2; },
        [](int32_t) { return 0; },
        [](int32_t) { return -1; },
        [](int32_t) { return INT32_MIN; },
        [](int32_t n) { return int32_t{static_cast<int16_t>(n)}; },    // wrapped to 16 bits, sign kept
        [](int32_t n) { return int32_t{static_cast<uint16_t>(n)}; },   // wrapped to 16 bits, unsigned
    };
    for (size_t k = 0; k < std::size(forms); ++k) {
        SCOPED_TRACE(k);
        QByteArray bad = good;
        for (const auto& [at, length] : fields) {
            plat::BinaryWriter w;
            w.i32(forms[k](length));
            bad.replace(at, 4, w.buffer());
        }
        clsMap map;
        const plat::AppError e = readError(bad, &map);
        ASSERT_EQ(e.number(), 0) << e.description().toStdString();
        EXPECT_EQ(fuzzmap::compareFigures(src, map, 106), QString());
        EXPECT_EQ(fileOf(map, 106), good);   // written with the true lengths again
    }
    // A record really cut short is still refused with its detail.
    const plat::AppError cut = readError(good.left(fields[1].first + 100));
    EXPECT_EQ(cut.number(), ErrMapRecord);
    EXPECT_TRUE(cut.description().startsWith(QStringLiteral("不正な図形内容(Line:2, Figure:2)/"))) << cut.description().toStdString();
}

TEST(MapFile, LoadRaisesProgressEveryEighthRecordAndSkipsFileErrorsOnRequest) {
    testsupport::TempDir dir;
    QByteArray file = VersionRecord104Plus("1.06");
    for (int i = 0; i < 100; ++i) file += symbolRecord(106, i);
    ASSERT_EQ(file.size(), 31 + 100 * 36);
    WriteBytes(dir.file("P.MLL"), file);
    clsMap map;
    map.setFileName(dir.file("P.MLL"));
    std::vector<int16_t> seen;
    map.Progress = [&](int16_t p) { seen.push_back(p); };
    ASSERT_EQ(map.Load(), 0);
    EXPECT_EQ(map.Count(), 100);
    // Record 8 starts at byte 31 + 7 x 36: (284 x 25 div 3631) x 4 = 4.
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[0], 4);
    EXPECT_EQ(seen[1], 12);
    EXPECT_EQ(seen.back(), 100);
    EXPECT_LE(seen.size(), 27u);
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i] % 4, 0);
        if (i) {
            EXPECT_GT(seen[i], seen[i - 1]);
        }
    }
    EXPECT_FALSE(map.Modify());
    EXPECT_FALSE(map.LockMode());
    EXPECT_TRUE(map.EiUndo());
}

TEST(MapFile, LoadOfMissingBadAndReadOnlyFiles) {
    testsupport::TempDir dir;
    clsMap map;
    map.Add(Sym(1, 1));
    map.setFileName(dir.file("NONE.MLL"));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("地図図形ファイルが存在しません."), plat::IdOk);
        EXPECT_EQ(map.Load(), 53);
    }
    EXPECT_EQ(map.Count(), 1);

    WriteBytes(dir.file("BAD.MLL"), VersionRecord("2.00"));
    map.setFileName(dir.file("BAD.MLL"));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("アップグレードしてください."), plat::IdOk);
        try {
            map.Load();
            ADD_FAILURE() << "no error";
        } catch (const plat::AppError& e) {
            EXPECT_EQ(e.number(), ErrMapVersion);
            EXPECT_TRUE(e.source().startsWith(QStringLiteral("clsMap.Load/")));
        }
    }
    EXPECT_EQ(map.Count(), 0);
    EXPECT_FALSE(map.EiUndo());

    const QString ro = dir.file("RO.MLL");
    WriteBytes(ro, VersionRecord104Plus("1.06") + symbolRecord(106, 3));
    chmodTo(ro, 0444);
    map.setFileName(ro);
    ASSERT_EQ(map.Load(), 0);
    EXPECT_TRUE(map.LockMode());
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("は変更禁止. [Add]"), plat::IdOk);
    EXPECT_FALSE(map.Add(Sym(1, 1)));
    chmodTo(ro, 0644);
}

TEST(MapFile, SaveWritesVersion106WithTheLastUpdate) {
    FixedTime time;
    testsupport::TempDir dir;
    clsMap map;
    map.setFileName(dir.file("new.txt"));
    EXPECT_EQ(map.Save(), 0);   // nothing to save
    EXPECT_FALSE(QFile::exists(dir.file("new.MLL")));
    map.Add(Rem(QStringLiteral("# 地図コード　　　：190000")));
    map.Add(Sym(7, 8));
    std::vector<int16_t> seen;
    map.Progress = [&](int16_t p) { seen.push_back(p); };
    ASSERT_EQ(map.Save(), 0);
    EXPECT_EQ(seen, (std::vector<int16_t>{0, 32, 64, 100}));
    EXPECT_FALSE(map.Modify());
    EXPECT_FALSE(map.CanUndo());
    EXPECT_TRUE(map.EiUndo());
    ASSERT_EQ(map.Count(), 3);
    auto stamp = std::static_pointer_cast<clsMapRem>(map.Item(2));
    EXPECT_EQ(stamp->Comment(), "# 最終更新日時　　：2024/05/06 12:34:56");
    EXPECT_EQ(map.LastDate(), time.clock().now());

    const QByteArray bytes = ReadBytes(dir.file("new.MLL"));
    EXPECT_EQ(bytes.left(31), VersionRecord104Plus("1.06"));
    clsMap back;
    ASSERT_EQ(readError(bytes, &back).number(), 0);
    ASSERT_EQ(back.Count(), 3);
    for (int32_t i = 1; i <= 3; ++i) EXPECT_EQ(back.Item(i)->FigID(), map.Item(i)->FigID());
    EXPECT_EQ(back.Item(3)->Poly()->x(1), 7);
    EXPECT_FALSE(QFile::exists(dir.file("new.M$$")));
}

TEST(MapFile, XYMapsTheSameWay) {
    testsupport::TempDir dir;
    clsMap map;
    map.setMapMode(2);
    map.setFileName(dir.file("plane"));
    map.Add(Rem(QStringLiteral("# 図法名：正距方位図法")));
    map.Add(Sym(-4000000, 4000000));
    ASSERT_EQ(map.Save(), 0);
    clsMap back;
    back.setMapMode(2);
    back.setFileName(dir.file("PLANE.MXY"));
    ASSERT_EQ(back.Load(), 0);
    EXPECT_EQ(back.FileName(), dir.file("PLANE.MXY"));
    EXPECT_EQ(back.ProjectionName(), "正距方位図法");
    EXPECT_EQ(back.Item(3)->Poly()->GetPoint(1), (PolyPoint{-4000000, 4000000}));
}

TEST(MapFile, FailedWriteKeepsTheOldFileAndTheBackup) {
    FixedTime time;
    testsupport::TempDir dir;
    const QString path = dir.file("KEEP.MLL");
    clsMap map;
    map.setFileName(path);
    for (int i = 0; i < 40000; ++i) map.Add(Sym(i, i));   // more than one buffer
    ASSERT_EQ(map.Save(), 0);
    const QByteArray before = ReadBytes(path);
    map.Add(Sym(-1, -1));

    plat::AtomicFileWriter::FailNextWriteWith(ENOSPC);
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("ドライブが満杯です."), plat::IdNo);
        EXPECT_EQ(map.Save(), 61);
    }
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(ReadBytes(dir.file("KEEP.M$$")), before);
    EXPECT_TRUE(map.Modify());
    EXPECT_FALSE(map.EiUndo());
    QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(names, (QStringList{QStringLiteral("KEEP.M$$"), QStringLiteral("KEEP.MLL")}));

    // Retrying after the failure writes the whole file.
    plat::AtomicFileWriter::FailNextWriteWith(ENOSPC);
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("ドライブが満杯です."), plat::IdYes);
        EXPECT_EQ(map.Save(), 0);
    }
    clsMap back;
    back.setFileName(path);
    ASSERT_EQ(back.Load(), 0);
    EXPECT_EQ(back.Count(), map.Count());
    EXPECT_FALSE(QFile::exists(dir.file("KEEP.M$$")));
}

TEST(MapFile, SaveToAReadOnlyFileKeepsTheMapModified) {
    testsupport::TempDir dir;
    const QString path = dir.file("RO.MLL");
    const QByteArray old = VersionRecord104Plus("1.06") + symbolRecord(106, 3);
    WriteBytes(path, old);
    chmodTo(path, 0444);
    clsMap map;
    map.setFileName(path);
    map.Add(Sym(1, 1));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("読み取り専用ファイルです."), plat::IdOk);
        EXPECT_EQ(map.Save(), 70);
    }
    EXPECT_TRUE(map.Modify());
    EXPECT_EQ(ReadBytes(path), old);
    chmodTo(path, 0644);
}

TEST(MapFile, AFigureTheReaderWouldRefuseIsNotSaved) {
    testsupport::TempDir dir;
    const QString path = dir.file("R.MLL");
    clsMap map;
    map.setFileName(path);
    auto gon = Square();
    map.Add(gon);
    gon->Poly()->Del(2);   // three points: no polygon any more
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("不正な図形があるため保存できません. (Line:1, Figure:3)"), plat::IdOk);
    EXPECT_EQ(map.Save(), ErrMapRecord);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(map.Modify());
}

TEST(MapFile, BusyMapRefusesEditsAndNestedLoads) {
    testsupport::TempDir dir;
    QByteArray file = VersionRecord104Plus("1.06");
    for (int i = 0; i < 16; ++i) file += symbolRecord(106, i);
    WriteBytes(dir.file("B.MLL"), file);
    clsMap map;
    map.setFileName(dir.file("B.MLL"));
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("は読み書き中のため変更できません. [Add]"), plat::IdOk);
    boxes.expect(QStringLiteral("は読み書き中です. [Load]"), plat::IdOk);
    bool once = false;
    int32_t nested = -1;
    map.Progress = [&](int16_t) {
        if (once) return;
        once = true;
        EXPECT_TRUE(map.Busy());
        EXPECT_FALSE(map.Add(Sym(1, 1)));
        nested = map.Load();
    };
    ASSERT_EQ(map.Load(), 0);
    EXPECT_EQ(nested, plat::ErrFileAlreadyOpen);
    EXPECT_EQ(map.Count(), 16);
    EXPECT_FALSE(map.Busy());
}

TEST(MapFile, NoEditSlipsInAtTheLastProgressEvent) {
    FixedTime time;
    testsupport::TempDir dir;
    const QString path = dir.file("LAST.MLL");
    for (const bool saving : {true, false}) {
        SCOPED_TRACE(saving ? "save" : "load");
        clsMap map;
        map.setFileName(path);
        ASSERT_TRUE(map.Add(Sym(1, 1)) && map.Add(Sym(2, 2)));
        if (!saving) {
            ASSERT_EQ(map.Save(), 0);
        }
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("は読み書き中のため変更できません. [Add]"), plat::IdOk);
        map.Progress = [&](int16_t p) {
            if (p == 100) {
                EXPECT_FALSE(map.Add(Sym(3, 3)));
            }
        };
        ASSERT_EQ(saving ? map.Save() : map.Load(), 0);
        map.Progress = nullptr;
        clsMap file;
        file.setFileName(path);
        ASSERT_EQ(file.Load(), 0);
        // The map is what the file holds, and says so.
        EXPECT_EQ(map.Count(), file.Count());
        EXPECT_FALSE(map.Modify());
        EXPECT_FALSE(map.CanUndo());
    }
}

// ---------------------------------------------------------- round trips

namespace {

// A map of every kind with every field set; jump marks and reserve words
// only where the version keeps them.
void fillAllKinds(clsMap& map, bool jumpMarks, bool reserve, int32_t colour) {
    auto text = std::make_shared<clsMapText>();
    text->setPosition({100, -200});
    text->setTextFix(7);
    text->setAngle(-45);
    text->setTextAnsi(1, "Zu^rich");
    text->setTextUnicode(2, QStringLiteral("チューリッヒ"));
    MapFigurePtr figs[] = {Rem(QStringLiteral("# 欧文地図名　　：Test")),
                           PolyFig<clsMapPolyline>({{1, 1}, {2, 3}, {4, 9}}, 3, 4),
                           PolyFig<clsMapPolygon>({{0, 0}, {5, 0}, {5, 5}, {0, 0}}, 5, 6), Sym(-7, 7, 8, 9), text};
    for (const MapFigurePtr& f : figs) {
        if (f->FigCode() == 5) {
            f->setAdmin(10);
            f->setThing(11);
        }
        f->setOwnColor(colour);
        f->setOwnShowMode(0);
        if (jumpMarks) f->setJumpMark(f->FigCode());
        f->setReserve(reserve ? 1000 + f->FigCode() : 0);
        ASSERT_TRUE(map.Add(f));
    }
}

// Saves `map` (read from a file of `version`) after a change and reads the
// result back; returns the version of the saved file.
int16_t saveAndReload(clsMap& map, clsMap& back, const QString& path) {
    map.Item(2)->Poly()->AddXandY(6, 6);
    EXPECT_EQ(map.Save(), 0);
    back.setFileName(path);
    EXPECT_EQ(back.Load(), 0);
    return back.Version();
}

} // namespace

TEST(MapFile, RoundTripsKeepWhatEachVersionHolds) {
    FixedTime time;
    Palette palette;
    testsupport::TempDir dir;
    const int32_t colour = palette.get().Color(20);
    for (int16_t version : {104, 105, 106}) {
        SCOPED_TRACE(version);
        const QString path = dir.file(QStringLiteral("RT%1.MLL").arg(version));
        clsMap src;
        fillAllKinds(src, version >= 105, version >= 106, colour);
        WriteBytes(path, fileOf(src, version));
        clsMap map;
        map.setFileName(path);
        ASSERT_EQ(map.Load(), 0);
        EXPECT_EQ(map.Version(), version);
        EXPECT_EQ(fuzzmap::compareFigures(src, map, version), QString());
        clsMap back;
        EXPECT_EQ(saveAndReload(map, back, path), version);
        EXPECT_EQ(fuzzmap::compareFigures(map, back, version), QString());
        EXPECT_EQ(ReadBytes(path).left(31), VersionRecord104Plus(QStringLiteral("1.0%1").arg(version - 100)));
    }
}

TEST(MapFile, OlderOrNarrowerMapsAreSavedAs106) {
    FixedTime time;
    Palette palette;
    testsupport::TempDir dir;
    struct Case {
        const char* what;
        int16_t version;
        int32_t colour;
        bool jump;
    } cases[] = {
        {"1.03 map", 103, -1, false},
        {"1.01 map", 101, -1, false},
        {"1.00 map", 100, -1, false},
        {"1.04 colour outside the palette", 104, 0x010203, false},
        {"1.04 jump mark", 104, -1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = dir.file(QStringLiteral("OLD.MLL"));
        clsMap src;
        fillAllKinds(src, false, false, -1);
        WriteBytes(path, fileOf(src, c.version));
        clsMap map;
        map.setFileName(path);
        ASSERT_EQ(map.Load(), 0);
        ASSERT_EQ(map.Version(), c.version);
        map.Item(4)->setOwnColor(c.colour);
        if (c.jump) map.Item(4)->setJumpMark(3);
        clsMap back;
        EXPECT_EQ(saveAndReload(map, back, path), 106);
        EXPECT_EQ(map.Version(), 106);
        EXPECT_EQ(fuzzmap::compareFigures(map, back, 106), QString());
    }
}

TEST(MapFile, TextsTooLongToSaveAreNamedNotFailedOn) {
    FixedTime time;
    testsupport::TempDir dir;
    const QString path = dir.file("OLD103.MLL");
    // Character-counted: 16384 and 20000 double-byte characters read fine,
    // but are more than a byte count of 1.06 holds.
    const QByteArray kana("\x82\xA0");   // あ
    const QByteArray file = VersionRecord("1.03") + Bytes().i16(1).i16(0).i16(3).raw("abc").bytes() +
                            Bytes().i16(1).i16(0).i16(16384).raw(kana.repeated(16384)).bytes() +
                            Bytes().i16(5).i16(0).i16(0).i32(1).i32(2).i16(10).i16(0).i16(0).i16(20000).raw(kana.repeated(20000)).bytes();
    WriteBytes(path, file);
    clsMap map;
    map.setFileName(path);
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("長すぎて保存できない文字列が 2 個あります (2 行目の注釈「あああああ"), plat::IdOk);
        ASSERT_EQ(map.Load(), 0);
    }
    ASSERT_EQ(map.Count(), 3);
    ASSERT_TRUE(map.Add(Sym(1, 1)));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("2 行目の注釈「ああああああああああああああああああああ…」 の文字列が長すぎて保存できません."), plat::IdOk);
        EXPECT_EQ(map.Save(), plat::ErrOverflow);
    }
    EXPECT_EQ(ReadBytes(path), file);   // untouched, and no backup left
    EXPECT_FALSE(QFile::exists(dir.file("OLD103.M$$")));
    EXPECT_TRUE(map.Modify());
    // Shortened, the remark lets the text be named next; then the save goes.
    std::static_pointer_cast<clsMapRem>(map.Item(2))->setComment(QStringLiteral("短く"));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("3 行目の文字列「ああ"), plat::IdOk);
        EXPECT_EQ(map.Save(), plat::ErrOverflow);
    }
    std::static_pointer_cast<clsMapText>(map.Item(3))->setTextUnicode(2, QStringLiteral("短い"));
    EXPECT_EQ(map.Save(), 0);
    EXPECT_EQ(map.Version(), 106);
    EXPECT_FALSE(map.Modify());
}

TEST(MapFile, LongSequencesInOlderVersions) {
    FixedTime time;
    testsupport::TempDir dir;
    const QString path = dir.file("LONG.MLL");
    auto build = [](int32_t step) {
        auto f = std::make_shared<clsMapPolyline>();
        auto p = std::make_shared<clsPoly>();
        for (int32_t i = 0; i < 70000; ++i) p->AddXandY(i * step, (i % 2) * step);
        f->setPoly(p);
        f->setAdmin(0);
        f->setThing(0);
        return f;
    };
    for (int32_t step : {1, 100}) {
        SCOPED_TRACE(step);
        clsMap src;
        src.Add(Rem(QStringLiteral("x")));
        src.Add(Sym(0, 0));
        WriteBytes(path, fileOf(src, 105));
        clsMap map;
        map.setFileName(path);
        ASSERT_EQ(map.Load(), 0);
        map.Add(build(step));
        clsMap back;
        const int16_t saved = saveAndReload(map, back, path);
        if (step == 1) {
            // Reducible: kept in 1.05, reduced in the map and in the file.
            EXPECT_EQ(saved, 105);
            EXPECT_LT(map.Item(4)->Poly()->Count(), 65536);
        } else {
            // Not reducible: nothing is cut, the map becomes 1.06.
            EXPECT_EQ(saved, 106);
            EXPECT_EQ(map.Item(4)->Poly()->Count(), 70000);
        }
        EXPECT_TRUE(map.Item(4)->Poly()->IsMatch(*back.Item(4)->Poly()));
    }
}
