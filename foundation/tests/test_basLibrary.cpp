#include <gtest/gtest.h>

#include <QDir>

#include "Clock.h"
#include "TestSupport.h"
#include "basLibrary.h"

TEST(Library, TokensBySeparatorMode) {
    struct Row { const char* line; int mode; QStringList want; };
    const Row rows[] = {
        {"  a  b", 1, {"a", "b"}},
        {"a,,b", 2, {"a", "", "b"}},
        {"a,", 2, {"a"}},
        {"\"a b  c\" d", 1, {"a b  c", "d"}},
        {"a\tb c", 3, {"a", "b c"}},
        {"a\u3000b\tc,d e", 0, {"a", "b", "c", "d", "e"}},
        {"a , b", 0, {"a", "", "b"}},       // the blank closes a; the comma always closes a token
        {"\"x,y\",z", 2, {"x,y", "z"}},
        {"a\r\nb", 2, {"a", "b"}},          // line ends always separate
        {"   ", 1, {""}},
    };
    for (const Row& r : rows) EXPECT_EQ(StrToTokens(QString::fromUtf8(r.line), r.mode), r.want) << r.line;
    QStringList parts;
    for (int i = 0; i < 450; ++i) parts << QString::number(i);
    EXPECT_EQ(StrToTokens(parts.join(','), 2), parts);   // past the first block of tokens
}

TEST(Library, PathsWithBothSeparators) {
    EXPECT_EQ(ChangeExt("C:\\a.b\\file", "TXT"), "C:\\a.b\\file.TXT");
    EXPECT_EQ(ChangeExt("maps/x.y.mll", ".PLG"), "maps/x.y.PLG");
    EXPECT_EQ(FileNameOf("C:x.MLL"), "x.MLL");
    EXPECT_EQ(FileNameOf("/maps/x.MLL"), "x.MLL");
    EXPECT_EQ(FolderOf("C:\\maps\\x.MLL"), "C:\\maps");
    EXPECT_EQ(FolderOf("/x.MLL"), "/x.MLL");       // the separator stands first: unchanged
    EXPECT_EQ(JoinPath("C:\\maps", "D:\\other\\x.MLL"), "D:\\other\\x.MLL");
    EXPECT_EQ(JoinPath("/opt/k", "x.MLL"), "/opt/k/x.MLL");
    EXPECT_EQ(JoinPath("/opt/k/", "sub/x.MLL"), "sub/x.MLL");
    const QString p = "C:\\aa\\bb\\cc\\file.txt";
    EXPECT_EQ(ShortenPath(p, 20), p);
    EXPECT_EQ(ShortenPath(p, 18), "C:\\aa\\...\\file.txt");
    EXPECT_EQ(ShortenPath(p, 17), "file.txt");
    EXPECT_EQ(ShortenPath(p, 5), "C:\\aa");        // the file name alone is too long
    EXPECT_EQ(ShortenPath("/home/u/maps/world/f.MLL", 21), "/home/u/.../f.MLL");
}

TEST(Library, FilesFoundWithoutRegardToCase) {
    testsupport::TempDir dir;
    QDir().mkpath(dir.file("sub/deeper"));
    for (const char* f : {"a.MLL", "sub/b.mll", "sub/deeper/c.MLL", "sub/d.THG"}) testsupport::WriteBytes(dir.file(f), "x");
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(FileExists(dir.path() + "\\sub\\B.MLL"));
    EXPECT_TRUE(FileExists(dir.file("*.MLL")));
    EXPECT_FALSE(FileExists(dir.file("*.ADM")));
    EXPECT_EQ(FindFiles(dir.file("*.mll")), (QStringList{dir.file("a.MLL"), dir.file("sub/b.mll"), dir.file("sub/deeper/c.MLL")}));
    EXPECT_TRUE(FindFiles(dir.file("nowhere/*.MLL")).isEmpty());
}

TEST(Library, TextConversions) {
    EXPECT_EQ(UnquoteStr("  \"abc\"  "), "abc");
    EXPECT_EQ(UnquoteStr("\"\"x\"\""), "\"x\"");   // only the outermost pair
    EXPECT_EQ(UnquoteStr("\""), "");
    EXPECT_EQ(TrimCtrlRight("ab \t\r\n"), "ab ");     // blanks first, then control characters
    EXPECT_EQ(RemoveCtrlChars("a\tb\r\nc"), "abc");
    EXPECT_FALSE(HasWideChar("caf\u00e9"));
    EXPECT_TRUE(HasWideChar("東京"));
    EXPECT_EQ(FormatStandardInt(1234567.891), "1,234,567");   // the decimals are cut, not rounded
    EXPECT_EQ(FormatStandardInt(-1234.5), "-1,234");
    EXPECT_EQ(FormatStandardInt(0.999), "1");
    EXPECT_EQ(BytesToStr(QVariant(QByteArray("\xe9\x41", 2))), QString::fromLatin1("\xe9\x41"));
    EXPECT_EQ(BytesToStr(QVariant(QByteArray("\0ab", 3))), "");
    EXPECT_EQ(StrToBytes(QVariant(QString("東"))), QByteArray("\x93\x8c"));
    EXPECT_EQ(StrToBytes(QVariant(3.5)), QByteArray(1, '\0'));
    plat::FixedClock clock(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
    plat::Clock* old = plat::SetClock(&clock);
    EXPECT_EQ(DateTimeStamp(""), "20260102030405");
    EXPECT_EQ(DateTimeStamp("-"), "2026-01-02-03-04-05");
    plat::SetClock(old);
}

TEST(Library, RangesAndRounding) {
    EXPECT_EQ(Clamp(5, 10, 0), 10);    // lo wins when the bounds cross
    EXPECT_EQ(WrapRange(1296000, 0, 1296000), 1296000);
    EXPECT_EQ(WrapRange(-1, 0, 1296000), 1296000);
    EXPECT_EQ(WrapRange(-3 * 360 - 5, 0, 359), 355);
    EXPECT_EQ(WrapRange(INT32_MAX, -648000, 647999), WrapRange(INT32_MAX - 1296000 * 1000, -648000, 647999));
    EXPECT_EQ(RoundSignificant(123456, 2), 120000);
    EXPECT_EQ(RoundSignificant(-987, 1), -900);
    EXPECT_EQ(RoundSignificant(123, 0), 100);      // digits clamp to 1
    EXPECT_EQ(RoundSignificant(INT32_MIN, 9), -2147483640);
    EXPECT_EQ(SafeCLng(2147483646.0), 2147483647);
    EXPECT_EQ(SafeCLng(-2147483646.5), -2147483647);
    EXPECT_EQ(SafeCLng(2.5), 2);
    EXPECT_EQ(SafeCLng(std::nan("")), 0);
    const int depth = MousePointerDepth();
    ScreenMousePointer(11);
    ScreenMousePointer(-1);
    ScreenMousePointer(-1);   // popping an empty stack does nothing
    EXPECT_EQ(MousePointerDepth(), depth > 0 ? depth - 1 : 0);
}
