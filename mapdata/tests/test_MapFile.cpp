// The map file as a whole: versions, record errors, progress, load and save
// with backup, atomic replacement, read-only files and what each version
// keeps.
#include <gtest/gtest.h>

#include "../../fuzz/FuzzMapBody.h"
#include "ErrorMng.h"
#include "FileOps.h"
#include "MapTestSupport.h"
#include "clsMap.h"

#include <QFile>

#include <cerrno>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

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

QByteArray fileOf(clsMap& map, int16_t version) {
    plat::BinaryWriter w;
    map.WriteTo(w, version);
    return w.buffer();
}

void chmodTo(const QString& path, mode_t mode) { ::chmod(QFile::encodeName(path).constData(), mode); }

} // namespace

TEST(MapFile, VersionsAndRecordErrors) {
    const QByteArray head = VersionRecord104Plus("1.06");
    QByteArray seventeen = head;
    for (int i = 0; i < 16; ++i) seventeen += symbolRecord(106, i);
    const std::pair<QByteArray, const char*> cases[] = {   // the file, the error's description; empty: it reads
        {head + symbolRecord(106, 1), ""},
        {VersionRecord104Plus("1.04") + symbolRecord(104, 1), ""},
        {VersionRecord(" 1.0") + symbolRecord(100, 1), ""},
        {VersionRecord104Plus("1.07") + symbolRecord(106, 1), "地図バージョンがアプリケーションの対応範囲を超えています.アップグレードしてください."},
        {VersionRecord("0.99"), "地図バージョン確認不能"},
        {VersionRecord("x.yz"), "地図バージョン確認不能"},
        {QByteArray(), "地図バージョン確認不能"},
        {Bytes().i16(1).i16(0).i16(30000).raw("ab"), "地図バージョン確認不能"},
        {head + symbolRecord(106, 1) + Bytes().i16(0).bytes(), "不正な図形コード(Line:2, Figure:0)"},
        {seventeen + Bytes().i16(9).bytes(), "不正な図形コード(Line:17, Figure:9)"},
        {VersionRecord104Plus("1.05") + Bytes().i16(3).i16(0).i16(0).i32(0).i16(3).points({{0, 0}, {1, 1}, {0, 0}}).bytes(),
         "不正な図形内容(Line:1, Figure:3)"},
        {head + symbolRecord(106, 1).left(30), "不正な図形内容(Line:1, Figure:4)/"},
        {head + symbolRecord(106, 1) + QByteArray(1, '\x07'), ""},   // a stray last byte
        {head + symbolRecord(106, 1) + QByteArray(1, '\x02'), "不正な図形内容(Line:2, Figure:2)"},
    };
    for (const auto& [file, comment] : cases) {
        clsMap map;
        const plat::AppError e = ErrorOf([&, &f = file] { map.ReadFrom(f); });
        if (*comment) {
            EXPECT_TRUE(e.description().startsWith(QString::fromUtf8(comment))) << e.description().toStdString();
            EXPECT_EQ(e.number(), QString::fromUtf8(comment).startsWith("地図") ? ErrMapVersion : ErrMapRecord) << comment;
        } else {
            EXPECT_EQ(e.number(), 0) << e.description().toStdString();
            EXPECT_EQ(map.Item(map.Count())->Poly()->x(1), 1);
        }
    }
    // Earlier builds wrote the version with a decimal comma under such a locale.
    for (const int16_t version : {104, 105, 106}) {
        clsMap map;
        map.ReadFrom(VersionRecord104Plus(QStringLiteral("1,0%1").arg(version - 100)) + symbolRecord(version, 1));
        EXPECT_EQ(map.Version(), version);
        EXPECT_EQ(map.Item(map.Count())->Poly()->x(1), 1);
    }
    // The projection-condition form of the oldest files: version 99, saved as 1.06.
    const QByteArray cond = plat::EncodeCp932(QStringLiteral("[投影条件]"));
    clsMap map;
    map.ReadFrom(Bytes().i16(1).i16(5).i16(6).raw(cond).raw(symbolRecord(99, 8)));
    EXPECT_EQ(map.Version(), 99);
    EXPECT_EQ(std::static_pointer_cast<clsMapRem>(map.Item(1))->Comment(), "[投影条件]");
    clsMap again;
    again.ReadFrom(fileOf(map, map.PrepareSaveVersion()));
    EXPECT_EQ(again.Version(), 106);
    EXPECT_EQ(fuzzmap::compareFigures(map, again, 106), QString());
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
    for (qsizetype at = 31; at < good.size(); at += fields.back().second)
        fields.emplace_back(at + 2, plat::BinaryReader(good.constData() + at + 2, 4).i32());
    ASSERT_EQ(fields.size(), 4u);
    int32_t (*const forms[])(int32_t) = {
        [](int32_t n) { return n + 1000; }, [](int32_t) { return INT32_MAX; }, [](int32_t n) { return n / 2; },
        [](int32_t) { return 0; },          [](int32_t) { return -1; },        [](int32_t) { return INT32_MIN; },
        [](int32_t n) { return int32_t{static_cast<int16_t>(n)}; },    // wrapped to 16 bits, sign kept
        [](int32_t n) { return int32_t{static_cast<uint16_t>(n)}; },   // wrapped to 16 bits, unsigned
    };
    for (const auto& form : forms) {
        QByteArray bad = good;
        for (const auto& [at, length] : fields) bad.replace(at, 4, Bytes().i32(form(length)).bytes());
        clsMap map;
        map.ReadFrom(bad);
        EXPECT_EQ(fuzzmap::compareFigures(src, map, 106), QString());
        EXPECT_EQ(fileOf(map, 106), good);   // written with the true lengths again
    }
    // A record really cut short is still refused with its detail.
    const plat::AppError cut = ErrorOf([&] { clsMap().ReadFrom(good.left(fields[1].first + 100)); });
    EXPECT_TRUE(cut.description().startsWith(QStringLiteral("不正な図形内容(Line:2, Figure:2)/"))) << cut.description().toStdString();
}

TEST(MapFile, LoadProgressMissingBadAndReadOnlyFiles) {
    testsupport::TempDir dir;
    QByteArray file = VersionRecord104Plus("1.06");
    for (int i = 0; i < 100; ++i) file += symbolRecord(106, i);
    WriteBytes(dir.file("P.MLL"), file);
    clsMap map;
    map.setFileName(dir.file("P.MLL"));
    std::vector<int16_t> seen;
    map.Progress = [&](int16_t p) { seen.push_back(p); };
    ASSERT_EQ(map.Load(), 0);
    // Every eighth record, in steps of 4 per cent: record 8 starts at byte
    // 31 + 7 x 36, (283 x 25 div 3631) x 4 = 4.
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(std::vector<int16_t>(seen.begin(), seen.begin() + 2), (std::vector<int16_t>{4, 12}));
    EXPECT_EQ(seen.back(), 100);
    EXPECT_LE(seen.size(), 27u);
    EXPECT_FALSE(map.Modify() || map.LockMode());
    map.Progress = nullptr;
    map.setFileName(dir.file("NONE.MLL"));
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("地図図形ファイルが存在しません."), plat::IdOk)
        .expect(QStringLiteral("アップグレードしてください."), plat::IdOk)
        .expect(QStringLiteral("は変更禁止. [Add]"), plat::IdOk)
        .expect(QStringLiteral("読み取り専用ファイルです."), plat::IdOk);
    EXPECT_EQ(map.Load(), 53);
    EXPECT_EQ(map.Count(), 100);   // kept
    WriteBytes(dir.file("BAD.MLL"), VersionRecord("2.00"));
    map.setFileName(dir.file("BAD.MLL"));
    const plat::AppError e = ErrorOf([&] { map.Load(); });
    EXPECT_EQ(e.number(), ErrMapVersion);
    EXPECT_TRUE(e.source().startsWith(QStringLiteral("clsMap.Load/")));
    EXPECT_EQ(map.Count(), 0);
    EXPECT_FALSE(map.EiUndo());
    const QString ro = dir.file("RO.MLL");   // read-only: locked, and a save keeps the map modified
    WriteBytes(ro, file);
    chmodTo(ro, 0444);
    map.setFileName(ro);
    ASSERT_EQ(map.Load(), 0);
    EXPECT_TRUE(map.LockMode());
    EXPECT_FALSE(map.Add(Sym(1, 1)));
    map.setLockMode(false);
    ASSERT_TRUE(map.Add(Sym(1, 1)));
    EXPECT_EQ(map.Save(), 70);
    EXPECT_TRUE(map.Modify());
    EXPECT_EQ(ReadBytes(ro), file);
    chmodTo(ro, 0644);
}

TEST(MapFile, SaveWritesVersion106WithTheLastUpdate) {
    FixedTime time;
    testsupport::TempDir dir;
    clsMap map;
    map.setMapMode(2);
    map.setFileName(dir.file("plane.txt"));
    map.setModify(false);
    EXPECT_EQ(map.Save(), 0);   // nothing to save
    EXPECT_FALSE(QFile::exists(dir.file("plane.MXY")));
    map.Add(Rem(QStringLiteral("# 図法名：正距方位図法")));
    map.Add(Sym(-4000000, 4000000));
    std::vector<int16_t> seen;
    map.Progress = [&](int16_t p) { seen.push_back(p); };
    ASSERT_EQ(map.Save(), 0);
    EXPECT_EQ(seen, (std::vector<int16_t>{0, 32, 64, 100}));
    EXPECT_FALSE(map.Modify() || map.CanUndo());
    ASSERT_EQ(map.Count(), 3);
    EXPECT_EQ(std::static_pointer_cast<clsMapRem>(map.Item(2))->Comment(), "# 最終更新日時　　：2024/05/06 12:34:56");
    EXPECT_EQ(ReadBytes(dir.file("plane.MXY")).left(31), VersionRecord104Plus("1.06"));
    clsMap back;
    back.setMapMode(2);
    back.setFileName(dir.file("PLANE.MXY"));   // found without regard to case
    ASSERT_EQ(back.Load(), 0);
    EXPECT_EQ(back.ProjectionName(), "正距方位図法");
    EXPECT_EQ(fuzzmap::compareFigures(map, back, 106), QString());
    EXPECT_FALSE(QFile::exists(dir.file("plane.M$$")));
    // A figure the reader would refuse is not saved.
    auto gon = Square();
    map.Add(gon);
    gon->Poly()->Del(2);
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("不正な図形があるため保存できません. (Line:4, Figure:3)"), plat::IdOk);
    EXPECT_EQ(map.Save(), ErrMapRecord);
    EXPECT_TRUE(map.Modify());
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
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("ドライブが満杯です."), plat::IdNo).expect(QStringLiteral("ドライブが満杯です."), plat::IdYes);
    plat::AtomicFileWriter::FailNextWriteWith(ENOSPC);
    EXPECT_EQ(map.Save(), 61);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(ReadBytes(dir.file("KEEP.M$$")), before);
    EXPECT_TRUE(map.Modify());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"KEEP.M$$", "KEEP.MLL"}));
    plat::AtomicFileWriter::FailNextWriteWith(ENOSPC);   // a retry writes the whole file
    EXPECT_EQ(map.Save(), 0);
    clsMap back;
    back.setFileName(path);
    ASSERT_EQ(back.Load(), 0);
    EXPECT_EQ(back.Count(), map.Count());
    EXPECT_FALSE(QFile::exists(dir.file("KEEP.M$$")));
}

// While a map is read or written no edit gets in, up to its last progress
// event, and no load nests; afterwards the map is what the file holds.
TEST(MapFile, BusyMapRefusesEditsAndNestedLoads) {
    FixedTime time;
    testsupport::TempDir dir;
    const QString path = dir.file("LAST.MLL");
    for (const bool saving : {true, false}) {
        SCOPED_TRACE(saving ? "save" : "load");
        clsMap map;
        map.setFileName(path);
        for (int i = 0; i < 16; ++i) ASSERT_TRUE(map.Add(Sym(i, i)));
        if (!saving) { ASSERT_EQ(map.Save(), 0); }
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("は読み書き中のため変更できません. [Add]"), plat::IdOk)
            .expect(QStringLiteral("は読み書き中です. [Load]"), plat::IdOk)
            .expect(QStringLiteral("は読み書き中のため変更できません. [Add]"), plat::IdOk);
        int32_t nested = -1;
        map.Progress = [&](int16_t p) {
            EXPECT_TRUE(map.Busy());
            if (p == 100 || nested == -1) { EXPECT_FALSE(map.Add(Sym(99, 99))); }
            if (nested == -1) nested = map.Load();
        };
        ASSERT_EQ(saving ? map.Save() : map.Load(), 0);
        EXPECT_EQ(nested, plat::ErrFileAlreadyOpen);
        EXPECT_FALSE(map.Busy() || map.Modify() || map.CanUndo());
        clsMap file;
        file.setFileName(path);
        ASSERT_EQ(file.Load(), 0);
        EXPECT_EQ(fuzzmap::compareFigures(map, file, 106), QString());
    }
}

// ---------------------------------------------------------- what each version keeps

namespace {

// A map of every kind with every field set; jump marks and reserve words
// only where the version keeps them.
void fillAllKinds(clsMap& map, int16_t version, int32_t colour) {
    auto text = std::make_shared<clsMapText>();
    text->setPosition({100, -200});
    text->setTextFix(7);
    text->setAngle(-45);
    text->setTextAnsi(1, "Zu^rich");
    text->setTextUnicode(2, QStringLiteral("チューリッヒ"));
    for (const MapFigurePtr& f : std::initializer_list<MapFigurePtr>{
             Rem(QStringLiteral("# 欧文地図名　　：Test")), PolyFig<clsMapPolyline>({{1, 1}, {2, 3}, {4, 9}}, 3, 4),
             PolyFig<clsMapPolygon>({{0, 0}, {5, 0}, {5, 5}, {0, 0}}, 5, 6), Sym(-7, 7, 8, 9), text}) {
        f->setAdmin(10);
        f->setThing(11);
        if (version >= 104) f->setOwnColor(colour), f->setOwnShowMode(0);
        if (version >= 105) f->setJumpMark(f->FigCode());
        f->setReserve(version >= 106 ? 1000 + f->FigCode() : 0);
        ASSERT_TRUE(map.Add(f));
    }
}

} // namespace

// A map read from a file of one version is saved in the same version, or
// as 1.06 when it is older or holds what its version cannot.
TEST(MapFile, SavedInTheVersionThatHoldsTheMap) {
    FixedTime time;
    Palette palette;
    testsupport::TempDir dir;
    const QString path = dir.file(QStringLiteral("V.MLL"));
    const struct {
        int16_t version;
        int32_t colour;
        int16_t jump, saved;
    } cases[] = {{106, 0x010203, 3, 106}, {105, 0x010203, 3, 105}, {104, -2, 0, 104}, {103, -1, 0, 106},
                 {100, -1, 0, 106}, {104, 0x010203, 0, 106}, {104, -2, 3, 106}};
    // Files are the same whatever the user's locale writes numbers with.
    for (const bool comma : {false, true})
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.version << " " << c.colour << " " << c.jump << (comma ? " comma" : ""));
        std::optional<testsupport::CommaLocale> locale;
        if (comma) locale.emplace();
        clsMap src;
        fillAllKinds(src, c.version, c.version >= 104 ? palette.get().Color(20) : -1);
        WriteBytes(path, fileOf(src, c.version));
        clsMap map;
        map.setFileName(path);
        ASSERT_EQ(map.Load(), 0);
        EXPECT_EQ(fuzzmap::compareFigures(src, map, c.version), QString());
        if (c.colour != -2) map.Item(4)->setOwnColor(c.colour);
        map.Item(4)->setJumpMark(c.jump);
        map.Item(2)->Poly()->AddXandY(6, 6);
        EXPECT_EQ(map.Save(), 0);
        clsMap back;
        back.setFileName(path);
        ASSERT_EQ(back.Load(), 0);
        EXPECT_EQ(back.Version(), c.saved);
        EXPECT_EQ(fuzzmap::compareFigures(map, back, c.saved), QString());
        EXPECT_TRUE(ReadBytes(path).startsWith(VersionRecord(QString::number(c.saved / 100.0, 'f', 2))));
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
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("長すぎて保存できない文字列が 2 個あります (2 行目の注釈「あああああ"), plat::IdOk)
        .expect(QStringLiteral("2 行目の注釈「ああああああああああああああああああああ…」 の文字列が長すぎて保存できません."), plat::IdOk)
        .expect(QStringLiteral("3 行目の文字列「ああ"), plat::IdOk);
    ASSERT_EQ(map.Load(), 0);
    ASSERT_TRUE(map.Add(Sym(1, 1)));
    EXPECT_EQ(map.Save(), plat::ErrOverflow);
    EXPECT_EQ(ReadBytes(path), file);   // untouched, and no backup left
    EXPECT_FALSE(QFile::exists(dir.file("OLD103.M$$")));
    EXPECT_TRUE(map.Modify());
    // Shortened, the remark lets the text be named next; then the save goes.
    std::static_pointer_cast<clsMapRem>(map.Item(2))->setComment(QStringLiteral("短く"));
    EXPECT_EQ(map.Save(), plat::ErrOverflow);
    std::static_pointer_cast<clsMapText>(map.Item(3))->setTextUnicode(2, QStringLiteral("短い"));
    EXPECT_EQ(map.Save(), 0);
    EXPECT_EQ(map.Version(), 106);
}

// More than 65535 points in an older version: reduced when the reduction
// gets there (kept in the version), else saved whole as 1.06.
TEST(MapFile, LongSequencesInOlderVersions) {
    FixedTime time;
    testsupport::TempDir dir;
    const QString path = dir.file("LONG.MLL");
    for (int32_t step : {1, 100}) {
        SCOPED_TRACE(step);
        clsMap src;
        src.Add(Rem(QStringLiteral("x")));
        WriteBytes(path, fileOf(src, 105));
        clsMap map;
        map.setFileName(path);
        ASSERT_EQ(map.Load(), 0);
        auto f = PolyFig<clsMapPolyline>({}, 0, 0);
        for (int32_t i = 0; i < 70000; ++i) f->Poly()->AddXandY(i * step, (i % 2) * step);
        map.Add(f);
        ASSERT_EQ(map.Save(), 0);
        clsMap back;
        back.setFileName(path);
        ASSERT_EQ(back.Load(), 0);
        EXPECT_EQ(back.Version(), step == 1 ? 105 : 106);
        EXPECT_EQ(f->Poly()->Count() < 65536, step == 1);
        EXPECT_TRUE(f->Poly()->IsMatch(*back.Item(back.Count())->Poly()));
    }
}

// A named pipe or a link to a device in place of a map is refused at once
// with the file-error box; the map is left empty.
TEST(MapFile, SpecialFilesInPlaceOfAMapAreRefused) {
    testsupport::TempDir dir;
    const QString fifo = dir.file("PIPE.MLL"), zero = dir.file("ZERO.MLL");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", QFile::encodeName(zero).constData()), 0);
    for (const QString& path : {fifo, zero}) {
        clsMap map;
        map.setFileName(path);
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("*Code=75"), plat::IdOk);
        EXPECT_EQ(map.Load(), plat::ErrPathFileAccess) << path.toStdString();
        EXPECT_EQ(map.Count(), 0);
    }
}

namespace {

// Over 700 KB: point lists and short records across every block boundary of
// a load, texts of double-byte characters among them.
void fillLarge(clsMap& map) {
    map.Add(Rem(QStringLiteral("# 地図名：大きな地図")));
    for (int32_t n : {30000, 40000}) {
        auto line = PolyFig<clsMapPolyline>({}, 3, 4);
        for (int32_t i = 0; i < n; ++i) line->Poly()->AddXandY(i * 3, (i * 7) % 1001 - 500);
        map.Add(line);
        for (int32_t i = 0; i < 1500; ++i) {
            auto text = std::make_shared<clsMapText>();
            text->setPosition({i, -i});
            text->setAdmin(5);
            text->setThing(6);
            text->setTextUnicode(1, QStringLiteral("Place %1").arg(i));
            text->setTextUnicode(2, QStringLiteral("地名%1番").arg(i));
            map.Add(text);
            map.Add(Rem(QStringLiteral("注釈その%1").arg(i), 7));
        }
    }
    map.Add(Square(5));
    map.Add(Sym(8, 9));
}

constexpr qsizetype kBlock = qsizetype(1) << 18;   // the load's reading block

} // namespace

// A load decodes while it reads; what it loads and every error it gives
// are those of decoding the whole file from memory, wherever the file ends.
TEST(MapFile, LoadInBlocksEqualsDecodingTheWholeFile) {
    FixedTime time;
    testsupport::TempDir dir;
    const QString path = dir.file("BIG.MLL");
    clsMap src;
    fillLarge(src);
    for (int16_t version : {106, 105, 104}) {
        SCOPED_TRACE(version);
        const QByteArray good = fileOf(src, version);
        ASSERT_GT(good.size(), 2 * kBlock + 100000);
        const qsizetype head = VersionRecord104Plus("1.06").size();
        std::vector<qsizetype> cuts = {good.size(), 1, 2, 7, 20, head - 1, head, head + 3, head + 200,
                                       good.size() - 1, good.size() - 2};
        for (qsizetype d = -4; d <= 4; ++d) cuts.insert(cuts.end(), {kBlock + d, 2 * kBlock + d});
        for (const qsizetype cut : cuts) {
            SCOPED_TRACE(cut);
            const QByteArray bytes = good.left(cut);
            clsMap mem;
            const plat::AppError expected = ErrorOf([&] { mem.ReadFrom(bytes); });
            WriteBytes(path, bytes);
            clsMap map;
            map.setFileName(path);
            if (expected.number() == 0) {
                ASSERT_EQ(map.Load(), 0);
                EXPECT_EQ(fuzzmap::compareFigures(mem, map, version), QString());
                continue;
            }
            testsupport::ScriptedBoxes boxes;
            boxes.expect(QStringLiteral("*Description=") + expected.description(), plat::IdOk);
            const plat::AppError e = ErrorOf([&] { map.Load(); });
            EXPECT_EQ(e.number(), expected.number());
            EXPECT_EQ(e.description(), expected.description());
            EXPECT_EQ(map.Count(), 0);
        }
    }
}

// As when the whole file was read before decoding, a read error anywhere
// in it is what the load reports, also after a bad record; a retry reads
// the file again.
TEST(MapFile, AReadErrorInTheMiddleOfALoad) {
    FixedTime time;
    testsupport::TempDir dir;
    const QString path = dir.file("BIG.MLL");
    clsMap src;
    fillLarge(src);
    const QByteArray good = fileOf(src, 106);
    QByteArray badRecord = good;
    clsMap first;
    first.Add(Rem(QStringLiteral("# 地図名：大きな地図")));
    const qsizetype second = fileOf(first, 106).size();
    ASSERT_EQ(badRecord[second], '\x02');
    badRecord[second] = '\x09';
    {
        clsMap mem;
        EXPECT_EQ(ErrorOf([&] { mem.ReadFrom(badRecord); }).number(), ErrMapRecord);
    }
    for (const QByteArray& bytes : {good, badRecord}) {
        WriteBytes(path, bytes);
        for (const qsizetype at : {qsizetype(100), kBlock, 3 * kBlock - 1}) {
            SCOPED_TRACE(at);
            clsMap map;
            map.setFileName(path);
            testsupport::ScriptedBoxes boxes;
            boxes.expect(QStringLiteral("*Code=57"), plat::IdNo);
            plat::ReadOnlyFile::FailReadAt(at, EIO);
            EXPECT_EQ(map.Load(), plat::ErrDeviceIO);
            EXPECT_EQ(map.Count(), 0);
        }
    }
    WriteBytes(path, good);
    clsMap map;
    map.setFileName(path);
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("*Code=57"), plat::IdYes);
    plat::ReadOnlyFile::FailReadAt(kBlock + 5, EIO);
    ASSERT_EQ(map.Load(), 0);
    EXPECT_EQ(fuzzmap::compareFigures(src, map, 106), QString());
}
