#include <gtest/gtest.h>

#include <random>

#include "AppError.h"
#include "FileOps.h"
#include "TestSupport.h"
#include "TextFile.h"

using namespace plat;
using testsupport::TempDir;

TEST(Cp932, JapaneseRoundTripWithCrLf) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("t.txt"));
    TextWriter w(path);
    w.print(QStringLiteral("世界地図 ｶﾀｶﾅ ～ ①"));
    w.print(QStringLiteral("ascii"));
    w.commit();
    const QByteArray raw = testsupport::ReadBytes(path);
    EXPECT_TRUE(raw.endsWith("ascii\r\n"));
    EXPECT_EQ(raw.mid(0, 2), QByteArray("\x90\xA2", 2));  // 世 in Shift-JIS
    const QStringList lines = ReadTextLines(path);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("世界地図 ｶﾀｶﾅ ～ ①"));
    EXPECT_EQ(lines[1], QStringLiteral("ascii"));
}

TEST(Cp932, InvalidBytesAreAClearError) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("bad.txt"));
    testsupport::WriteBytes(path, QByteArray("ok\r\nab\x81\x20x\r\n", 10));
    try {
        ReadTextLines(path);
        FAIL() << "no error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), ErrTypeMismatch);
        EXPECT_TRUE(e.description().contains(QStringLiteral("(行 2, 3 バイト目)"))) << e.description().toStdString();
    }
    TextReader in(QStringList{QStringLiteral("only")});
    EXPECT_EQ(in.readLine(), QStringLiteral("only"));
    try {
        in.readLine();
        FAIL() << "read past the last line";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), ErrInputPastEnd);
    }
}

TEST(Cp932, UnencodableCharacterIsRefused) {
    EXPECT_FALSE(IsCp932Encodable(QStringLiteral("😀")));
    EXPECT_TRUE(IsCp932Encodable(QStringLiteral("東京")));
    EXPECT_THROW(EncodeCp932(QStringLiteral("a😀")), AppError);
}

TEST(Cp932, LossyFormsNeverFail) {
    EXPECT_EQ(DecodeCp932Lossy(QByteArray("ab\x81\x20x\x93\x8C", 7)), QStringLiteral("ab? x東"));
    EXPECT_EQ(DecodeCp932Lossy(QByteArray("\x93", 1)), QStringLiteral("?"));
    EXPECT_EQ(DecodeCp932Lossy(QByteArray()), QString());
    EXPECT_EQ(EncodeCp932Lossy(QStringLiteral("a😀東b")), QByteArray("a?\x93\x8C" "b"));
    EXPECT_EQ(EncodeCp932Lossy(QStringLiteral("ｶ")), QByteArray("\xB6"));
    const QString long_ = QString(5000, QChar(0x6771)) + QStringLiteral("😀");
    EXPECT_EQ(EncodeCp932Lossy(long_).size(), 10001);
}

TEST(Cp932, LineEndsOfEveryKind) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("ends.txt"));
    testsupport::WriteBytes(path, QByteArray("a\r\nb\nc\rd"));
    EXPECT_EQ(ReadTextLines(path), (QStringList{"a", "b", "c", "d"}));
}

TEST(TextReader, StreamsTheLinesOfTheWholeReadAcrossBlocks) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("s.txt"));
    // Line ends of every kind, long lines and runs of ends, so that ends fall
    // on the blocks' edges, a CR LF split between two blocks among them.
    std::mt19937 rng(1234);
    for (int round = 0; round < 4; ++round) {
        QByteArray bytes(65535, 'x');
        bytes += "\r\n";
        while (bytes.size() < 3 * 65536) {
            const char* pieces[] = {"\r\n", "\r", "\n", "ab", "\x93\x8C"};
            bytes += QByteArray(static_cast<int>(rng() % 3000), 'y');
            for (int k = rng() % 4; k >= 0; --k) bytes += pieces[rng() % 5];
        }
        bytes += "zz";   // with or without a last line
        testsupport::WriteBytes(path, bytes.left(bytes.size() - static_cast<int>(rng() % 3)));
        TextReader in(path);
        QStringList streamed;
        while (!in.atEnd()) streamed.append(in.readLine());
        ASSERT_EQ(streamed, ReadTextLines(path)) << round;
        in.seekStart();
        EXPECT_EQ(in.readLine().size(), 65535);
        EXPECT_EQ(in.lineNumber(), 1);
    }
    // A bad byte is named by its line; a file over the limit is refused at once.
    testsupport::WriteBytes(path, QByteArray("a\r\nb\n\xE0\x20"));
    TextReader bad(path);
    bad.readLine();
    bad.readLine();
    EXPECT_TRUE(testsupport::ErrorOf([&] { bad.readLine(); }).description().contains(QStringLiteral("(行 3, 1 バイト目)")));
    EXPECT_EQ(testsupport::ErrorOf([&] { TextReader probe(path, 5); }).number(), ErrOutOfMemory);
}
