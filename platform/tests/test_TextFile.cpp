#include <gtest/gtest.h>

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
