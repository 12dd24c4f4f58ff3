#include "frmMapListTestSupport.h"

#include "FileOps.h"
#include "MapListHost.h"
#include "MapTextFile.h"
#include "TextFile.h"
#include "basHMapCoord.h"

#include <QFile>
#include <QTimer>

#include <cerrno>

using namespace listtest;

namespace {

// A list on one latitude/longitude unit, with the map mode the list sets
// for coordinate texts.
struct ListFiles : ListTest {
    testsupport::TempDir dir;

    ~ListFiles() override { SetAngleSymbol(2); }
    void open(std::initializer_list<MapFigurePtr> figures) { openUnit(dir.file("LIST.MLL"), figures); }
    // Thing names of the figures, or the remark text.
    std::vector<QString> names() {
        std::vector<QString> out;
        for (const MapFigurePtr& f : map()) {
            if (f->FigCode() == 1) out.push_back(static_cast<const clsMapRem&>(*f).Comment());
            else if (f->FigCode() == 5) out.push_back(static_cast<const clsMapText&>(*f).TextUnicode(1));
            else out.push_back(list.MapUnit->Things().Item(f->Thing())->Name());
        }
        return out;
    }
    static QString FileText(const QString& path) { return maptext::DecodeFileText(plat::ReadAllBytes(path)); }
    void pressEscSoon() {
        QTimer::singleShot(0, [this] { list.EscAbort = true; });
    }
};

MapFigurePtr Shape(int32_t thing, int32_t x = 0) { return Lined<clsMapPolygon>({{x, 0}, {x + 10, 0}, {x + 10, 10}, {x, 0}}, thing); }

} // namespace

TEST_F(ListFiles, SelectedRowsReadBackBeforeTheSelectedRow) {
    open({Rem("head"), Shape(1), Text("Nara", "奈良", 5, 6), Symbol(7, 8), Shape(2, 100)});
    ASSERT_TRUE(list.SetSelectRange(2, 4));
    const QString path = dir.file("OUT.CSV");
    ASSERT_TRUE(list.WriteTextFile(path));
    EXPECT_EQ(plat::SplitTextLines(FileText(path)).size(), 1 + 4 + 1 + 1);   // header, polygon of 4 points, text, symbol
    ASSERT_TRUE(list.SetSelectRange(5, 5));
    ASSERT_TRUE(list.ReadTextFile(path));
    ASSERT_EQ(map().Count(), 8);
    for (int32_t k = 0; k < 3; ++k)
        EXPECT_EQ(maptext::FigureToStrAll(map().Item(5 + k).get(), list.MapUnit.get(), true),
                  maptext::FigureToStrAll(map().Item(2 + k).get(), list.MapUnit.get(), true));
    EXPECT_EQ(list.RowCount(), 8);
    // One paste: undo takes the whole file out again.
    list.Undo();
    EXPECT_EQ(map().Count(), 5);
}

TEST_F(ListFiles, HalfWidthAngleSignsAreReplacedWhileWritingOnly) {
    open({Symbol(3600 * 135 + 1, 3600 * 35)});
    list.JumpRow(1);
    SetAngleSymbol(4);
    const QString path = dir.file("SIGNS.CSV");
    ASSERT_TRUE(list.WriteTextFile(path));
    EXPECT_EQ(GetAngleSymbol(), 4);
    const QString text = FileText(path);
    EXPECT_FALSE(text.section("\r\n", 1).contains('"'));
    EXPECT_TRUE(text.contains("°")) << text.toStdString();
    EXPECT_TRUE(text.contains("′"));
    // Stopped by Esc: the style comes back, the old file stays, and it is told.
    const QByteArray before = plat::ReadAllBytes(path);
    testsupport::ScriptedBoxes boxes;
    boxes.expect("テキストファイルの保存は中断されました.", plat::IdOk);
    list.MapUnit->Map().Add(Symbol(1, 1));
    list.RowsChanged();
    for (int i = 0; i < 100; ++i) list.MapUnit->Map().Add(Symbol(i, i));
    list.RowsChanged();
    ASSERT_TRUE(list.SetSelectRange(1, list.RowCount()));
    list.EscAbort = false;
    pressEscSoon();
    EXPECT_FALSE(list.WriteTextFile(path));
    EXPECT_EQ(GetAngleSymbol(), 4);
    EXPECT_EQ(plat::ReadAllBytes(path), before);
}

TEST_F(ListFiles, AWriteErrorKeepsTheAngleStyle) {
    open({Symbol(1, 2)});
    list.JumpRow(1);
    SetAngleSymbol(4);
    testsupport::ScriptedBoxes boxes;
    boxes.expect("", plat::IdIgnore);   // the file-error box: skip
    EXPECT_FALSE(list.WriteTextFile(dir.file("NO/SUCH/FOLDER.CSV")));
    EXPECT_EQ(GetAngleSymbol(), 4);
}

TEST_F(ListFiles, UnreadableFilesInsertNothing) {
    open({Symbol(1, 2)});
    list.JumpRow(1);
    const QString path = dir.file("BAD.CSV");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\x81\x20\x82");   // no Shift-JIS
    f.close();
    testsupport::ScriptedBoxes boxes;
    boxes.expect("は読めない文字を含んでいます.", plat::IdOk).expect("は読めない文字を含んでいます.", plat::IdOk);
    EXPECT_FALSE(list.ReadTextFile(path));
    plat::WriteFileAtomic(path, "\xEF\xBB\xBFno\r\nUTF-8 \xFF");
    EXPECT_FALSE(list.ReadTextFile(path));
    // Far larger than any figure text: told, never read.
    ASSERT_TRUE(f.resize((int64_t(256) << 20) + 1));
    boxes.expect(path + "\r\nは大きすぎるので読み込みません. (上限 256 MiB)", plat::IdOk);
    EXPECT_FALSE(list.ReadTextFile(path));
    EXPECT_EQ(map().Count(), 1);
}

TEST_F(ListFiles, SkippedLinesAreToldOnceAndEscInsertsNothing) {
    open({Symbol(1, 2)});
    list.JumpRow(1);
    const QString good = maptext::FigureToStrAll(map().Item(1).get(), list.MapUnit.get(), true) + "\r\n";
    QString text = maptext::HeaderLine(1) + "\r\njunk\r\n";
    for (int i = 0; i < 2000; ++i) text += good + "junk\r\n";   // events run every few thousand lines
    const QString path = dir.file("MIXED.CSV");
    plat::WriteFileAtomic(path, maptext::EncodeFileText(text));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(path + "\r\nの読めない行 2001 行 (最初は 2 行目) を読み飛ばしました.", plat::IdOk);
        EXPECT_TRUE(list.ReadTextFile(path));
        EXPECT_EQ(map().Count(), 2001);
    }
    testsupport::ScriptedBoxes boxes;
    boxes.expect("テキストファイルの挿入は中断されました.", plat::IdOk);
    pressEscSoon();
    EXPECT_FALSE(list.ReadTextFile(path));
    EXPECT_EQ(map().Count(), 2001);
}

// Read in blocks that end inside lines and characters: the figures and the
// report of the lines read in memory. A read failing while the figures are
// read goes on where it failed on retry; Esc or a skip there inserts none.
TEST_F(ListFiles, AStreamedFileReadsAsItsLinesInMemory) {
    open({Symbol(1, 2)});
    const auto line = [&](const MapFigurePtr& f) { return maptext::FigureToStrAll(f.get(), list.MapUnit.get(), true) + "\r\n"; };
    QString text = maptext::HeaderLine(1) + "\r\n";
    for (int i = 0; i < 600; ++i) text += line(Rem("a")) + line(Shape(1, i)) + line(Text("Kyo\r\nto", "京都")) + "junk\r\n";
    const QString path = dir.file("STREAM.CSV");
    plat::TextReader::SetBlockSize(7);
    auto memory = std::make_shared<clsMap>();
    // fileBox: the answer to a read error (0: none comes).
    const auto read = [&](int fileBox, bool inserts) {
        testsupport::ScriptedBoxes boxes;
        if (fileBox != 0) boxes.expect("*Code=57", fileBox);
        if (inserts) boxes.expect("の読めない行 600 行", plat::IdOk);
        else if (fileBox == 0) boxes.expect("テキストファイルの挿入は中断されました.", plat::IdOk);
        const int32_t before = map().Count();
        list.JumpRow(1);
        EXPECT_EQ(list.ReadTextFile(path), inserts);
        ASSERT_EQ(map().Count(), before + (inserts ? memory->Count() : 0));
        for (int32_t k = 1; k <= map().Count() - before; ++k) EXPECT_EQ(line(map().Item(k)), line(memory->Item(k))) << k;
    };
    for (const QString& last : {QString(), line(Text("Zürich", "チューリッヒ"))}) {   // Shift-JIS, then UTF-8
        plat::WriteFileAtomic(path, maptext::EncodeFileText(text + last));
        memory = std::make_shared<clsMap>();
        memory->setMapMode(1);
        const auto r = maptext::ReadFigureLines(plat::SplitTextLines(text + last), *list.MapUnit, *memory, [](const QString&) { return false; });
        ASSERT_EQ(r.badLines, 600);
        read(0, true);
    }
    // After 4096 lines: Esc, a read error retried, one skipped.
    for (const int fileBox : {0, int(plat::IdYes), int(plat::IdNo)}) {
        list.onPanel = [&](int, const QString& status) {
            if (!status.startsWith("挿入中... (4097/")) return;
            if (fileBox == 0) list.EscAbort = true;
            else plat::ReadOnlyFile::FailReadAt(0, EIO);
        };
        read(fileBox, fileBox == plat::IdYes);
    }
    list.onPanel = nullptr;
    plat::TextReader::SetBlockSize(0);
}

TEST_F(ListFiles, MenuCommandsAskForTheFileName) {
    open({Symbol(1, 2), Symbol(3, 4)});
    list.JumpRow(2);
    testsupport::ScriptedBoxes boxes;
    boxes.expectSaveFile("", dir.file("MENU.CSV")).expectOpenFile("", dir.file("MENU.CSV"));
    list.SaveSelectionAsText();
    list.InsertTextFile();
    ASSERT_EQ(boxes.fileRequests().size(), 2u);
    EXPECT_EQ(boxes.fileRequests()[0].fileName, dir.file("LIST.CSV"));
    EXPECT_EQ(boxes.fileRequests()[0].filter, frmMapListLogic::TextFileFilter());
    EXPECT_EQ(map().Count(), 3);
    EXPECT_EQ(map().Item(2)->Poly()->x(1), 3);
    EXPECT_EQ(list.PanelText(1), "");
}

// -------------------------------------------------------------------- sort

TEST_F(ListFiles, SortKeepsSectionsAndOneUndoRestores) {
    open({Rem("A"), Shape(2), Shape(1), Rem("B"), Shape(3), Shape(1)});
    auto clip = list.ClipMap;
    clip->Add(Symbol(9, 9));
    ASSERT_TRUE(list.SetSelectRange(1, 6));
    ASSERT_TRUE(list.SortMap(1, 1));
    // By character code: 地名 < 海岸線 < 都市.
    EXPECT_EQ(names(), (std::vector<QString>{"A", "海岸線", "都市", "B", "地名", "海岸線"}));
    int32_t first = 0, last = 0;
    ASSERT_TRUE(list.GetSelectRange(first, last));
    EXPECT_EQ(std::make_pair(first, last), std::make_pair(1, 6));
    EXPECT_EQ(list.ClipMap->Count(), 1);   // the user's list clipboard is left alone
    EXPECT_EQ(list.MapUnit->Garbage().Count(), 6);
    for (const MapFigurePtr& f : map()) EXPECT_EQ(f->Reserve(), 0);
    list.Undo();
    EXPECT_EQ(names(), (std::vector<QString>{"A", "都市", "海岸線", "B", "地名", "海岸線"}));
}

TEST_F(ListFiles, SortByCommentAndByPlaceName) {
    open({Rem("b"), Shape(1), Rem("C"), Shape(2), Rem("a"), Text("Zeta", "ゼータ"), Symbol(1, 1), Text("Alpha", "アルファ"), Symbol(2, 2)});
    ASSERT_TRUE(list.SetSelectRange(1, 5));
    ASSERT_TRUE(list.SortMap(2, 7));
    EXPECT_EQ(names(), (std::vector<QString>{"C", "都市", "b", "海岸線", "a", "Zeta", "都市", "Alpha", "都市"}));
    ASSERT_TRUE(list.SetSelectRange(6, 9));
    gvLanguage = 1;
    ASSERT_TRUE(list.SortMap(1, 5));
    EXPECT_EQ(names(), (std::vector<QString>{"C", "都市", "b", "海岸線", "a", "Alpha", "都市", "Zeta", "都市"}));
    EXPECT_EQ(map().Item(7)->Poly()->x(1), 2);   // the symbol of Alpha
    list.JumpRow(3);
    EXPECT_FALSE(list.SortMap(1, 1));   // one row
}

TEST_F(ListFiles, EscWhileSortingChangesNothing) {
    open({});
    for (int i = 0; i < 200; ++i) map().Add(Shape(1 + i % 3, i));
    map().ResetUndo();
    list.RowsChanged();
    const std::vector<QString> before = names();
    ASSERT_TRUE(list.SetSelectRange(1, 200));
    pressEscSoon();
    EXPECT_FALSE(list.SortMap(1, 1));
    EXPECT_EQ(names(), before);
    EXPECT_EQ(list.MapUnit->Garbage().Count(), 0);
    EXPECT_EQ(list.RowCount(), 200);
}

TEST_F(ListFiles, LockedMapsAreNotSorted) {
    open({Shape(2), Shape(1)});
    map().setLockMode(true);
    ASSERT_TRUE(list.SetSelectRange(1, 2));
    testsupport::ScriptedBoxes boxes;
    boxes.expect("は変更禁止.", plat::IdOk);
    EXPECT_FALSE(list.SortMap(1, 1));
    EXPECT_EQ(names(), (std::vector<QString>{"都市", "海岸線"}));
}

// A file with every kind and awkward texts, left for a spreadsheet to open.
TEST_F(ListFiles, SampleForASpreadsheet) {
    open({Rem("header, with \"quotes\""), Lined<clsMapPolyline>({{1, 2}, {3, 4}, {5, 6}}), Text("A,\"B\"", "日本語,\"引用\""),
          Symbol(-100, 200)});
    list.SelectAll();
    const QString path = testsupport::OutputFolder() + "/figures.csv";
    ASSERT_TRUE(list.WriteTextFile(path));
    ASSERT_TRUE(list.ReadTextFile(path));
    for (int32_t k = 1; k <= 4; ++k)
        // Read back before the first row; the remark gains its blank.
        EXPECT_EQ(maptext::FigureToStrAll(map().Item(k).get(), list.MapUnit.get(), true),
                  maptext::FigureToStrAll(map().Item(k + 4).get(), list.MapUnit.get(), true).replace("\" header", "\"  header"));
    // A name Shift-JIS lacks makes the file UTF-8.
    map().Add(Text("Zürich", "チューリッヒ"));
    list.RowsChanged();
    list.SelectAll();
    ASSERT_TRUE(list.WriteTextFile(testsupport::OutputFolder() + "/figures-utf8.csv"));
}
