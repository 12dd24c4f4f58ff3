#include <gtest/gtest.h>

#include "QStringPrinter.h"
#include "basNarrow.h"

TEST(Narrow, FullWidthFormsBecomeHalfWidth) {
    const struct {
        const char16_t* in;
        const char16_t* out;
    } cases[] = {
        {u"ＡＢＣｘｙｚ０１９", u"ABCxyz019"},
        {u"＋－．，：＝＂＇", u"+-.,:=\"'"},
        {u"　", u" "},
        {u"ガギグゲゴ", u"ｶﾞｷﾞｸﾞｹﾞｺﾞ"},
        {u"パピプペポ", u"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"},
        {u"ヴァイオリン", u"ｳﾞｧｲｵﾘﾝ"},
        {u"チェーン", u"ﾁｪｰﾝ"},
        {u"キロメートル", u"ｷﾛﾒｰﾄﾙ"},
        {u"「ア、イ。」・", u"｢ｱ､ｲ｡｣･"},
        {u"￥’”", u"\\'\""},
        // kanji, hiragana, kana without a half-width form, and marks the
        // angle reader needs as they are
        {u"漢字ひらがなヶヰ゛゜°′″", u"漢字ひらがなヶヰ゛゜°′″"},
        {u"ｶﾞ abc", u"ｶﾞ abc"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NarrowText(QString::fromUtf16(c.in)), QString::fromUtf16(c.out))
            << QString::fromUtf16(c.in).toStdString();
    }
}

TEST(Narrow, UpperCaseTouchesLatinLettersOnly) {
    EXPECT_EQ(UpperNarrowText(u"ｅａｓｔ lon"), QStringLiteral("EAST LON"));
    EXPECT_EQ(UpperNarrowText(u"λφμmｍ"), QStringLiteral("λφμMM"));
    EXPECT_EQ(UpperNarrowText(u""), QString());
}
