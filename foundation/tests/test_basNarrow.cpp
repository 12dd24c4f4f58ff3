#include <gtest/gtest.h>

#include "QStringPrinter.h"
#include "basNarrow.h"

TEST(Narrow, FullWidthFormsBecomeHalfWidth) {
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"ＡＢＣｘｙｚ０１９", u"ABCxyz019"}, {u"！＋－．，：＝＂＇～", u"!+-.,:=\"'~"}, {u"　", u" "},
        {u"ガギグゲゴ", u"ｶﾞｷﾞｸﾞｹﾞｺﾞ"}, {u"パピプペポ", u"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"}, {u"ヴァイオリン", u"ｳﾞｧｲｵﾘﾝ"},
        {u"チェーン", u"ﾁｪｰﾝ"}, {u"「ア、イ。」・", u"｢ｱ､ｲ｡｣･"}, {u"￥’”", u"\\'\""},
        // kanji, hiragana, kana without a half-width form, and marks the
        // angle reader needs as they are
        {u"漢字ひらがなヶヰ゛゜°′″", u"漢字ひらがなヶヰ゛゜°′″"}, {u"ｶﾞ abc", u"ｶﾞ abc"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(NarrowText(QString::fromUtf16(in)), QString::fromUtf16(out)) << QString::fromUtf16(in).toStdString();
    EXPECT_EQ(UpperNarrowText(u"λφμmｍ east"), QStringLiteral("λφμMM EAST"));   // Latin letters only
}
