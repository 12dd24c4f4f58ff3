#include "basNarrow.h"

#include <array>

namespace {

struct Pair {
    char16_t wide;
    const char16_t* narrow;
};

// Katakana and the Japanese punctuation with a half-width form. ヰ, ヱ, ヵ
// and ヶ have none and stay as they are; so do the free-standing voiced
// marks ゛ and ゜, which angle texts use as marks of their own.
constexpr Pair kKana[] = {
    {u'ァ', u"ｧ"}, {u'ア', u"ｱ"}, {u'ィ', u"ｨ"}, {u'イ', u"ｲ"}, {u'ゥ', u"ｩ"}, {u'ウ', u"ｳ"},
    {u'ェ', u"ｪ"}, {u'エ', u"ｴ"}, {u'ォ', u"ｫ"}, {u'オ', u"ｵ"},
    {u'カ', u"ｶ"}, {u'ガ', u"ｶﾞ"}, {u'キ', u"ｷ"}, {u'ギ', u"ｷﾞ"}, {u'ク', u"ｸ"}, {u'グ', u"ｸﾞ"},
    {u'ケ', u"ｹ"}, {u'ゲ', u"ｹﾞ"}, {u'コ', u"ｺ"}, {u'ゴ', u"ｺﾞ"},
    {u'サ', u"ｻ"}, {u'ザ', u"ｻﾞ"}, {u'シ', u"ｼ"}, {u'ジ', u"ｼﾞ"}, {u'ス', u"ｽ"}, {u'ズ', u"ｽﾞ"},
    {u'セ', u"ｾ"}, {u'ゼ', u"ｾﾞ"}, {u'ソ', u"ｿ"}, {u'ゾ', u"ｿﾞ"},
    {u'タ', u"ﾀ"}, {u'ダ', u"ﾀﾞ"}, {u'チ', u"ﾁ"}, {u'ヂ', u"ﾁﾞ"}, {u'ッ', u"ｯ"}, {u'ツ', u"ﾂ"},
    {u'ヅ', u"ﾂﾞ"}, {u'テ', u"ﾃ"}, {u'デ', u"ﾃﾞ"}, {u'ト', u"ﾄ"}, {u'ド', u"ﾄﾞ"},
    {u'ナ', u"ﾅ"}, {u'ニ', u"ﾆ"}, {u'ヌ', u"ﾇ"}, {u'ネ', u"ﾈ"}, {u'ノ', u"ﾉ"},
    {u'ハ', u"ﾊ"}, {u'バ', u"ﾊﾞ"}, {u'パ', u"ﾊﾟ"}, {u'ヒ', u"ﾋ"}, {u'ビ', u"ﾋﾞ"}, {u'ピ', u"ﾋﾟ"},
    {u'フ', u"ﾌ"}, {u'ブ', u"ﾌﾞ"}, {u'プ', u"ﾌﾟ"}, {u'ヘ', u"ﾍ"}, {u'ベ', u"ﾍﾞ"}, {u'ペ', u"ﾍﾟ"},
    {u'ホ', u"ﾎ"}, {u'ボ', u"ﾎﾞ"}, {u'ポ', u"ﾎﾟ"},
    {u'マ', u"ﾏ"}, {u'ミ', u"ﾐ"}, {u'ム', u"ﾑ"}, {u'メ', u"ﾒ"}, {u'モ', u"ﾓ"},
    {u'ャ', u"ｬ"}, {u'ヤ', u"ﾔ"}, {u'ュ', u"ｭ"}, {u'ユ', u"ﾕ"}, {u'ョ', u"ｮ"}, {u'ヨ', u"ﾖ"},
    {u'ラ', u"ﾗ"}, {u'リ', u"ﾘ"}, {u'ル', u"ﾙ"}, {u'レ', u"ﾚ"}, {u'ロ', u"ﾛ"},
    {u'ヮ', u"ﾜ"}, {u'ワ', u"ﾜ"}, {u'ヲ', u"ｦ"}, {u'ン', u"ﾝ"}, {u'ヴ', u"ｳﾞ"},
    {u'・', u"･"}, {u'ー', u"ｰ"},
    {u'。', u"｡"}, {u'「', u"｢"}, {u'」', u"｣"}, {u'、', u"､"},
    // Full-width signs outside the U+FF01 block, and the look-alikes other
    // converters give for the same code page 932 characters.
    {u'￥', u"\\"}, {u'‘', u"`"}, {u'’', u"'"}, {u'“', u"\""}, {u'”', u"\""},
    {u'〜', u"~"}, {u'−', u"-"},
};

constexpr char16_t kKanaFirst = u'ァ';   // U+30A1
constexpr char16_t kKanaLast = u'ー';    // U+30FC

// Direct lookup for the katakana block; the few other marks go through kKana.
struct KanaTable {
    std::array<const char16_t*, kKanaLast - kKanaFirst + 1> block{};
    KanaTable() {
        for (const Pair& p : kKana)
            if (p.wide >= kKanaFirst && p.wide <= kKanaLast) block[p.wide - kKanaFirst] = p.narrow;
    }
};

const char16_t* narrowOf(char16_t c) {
    static const KanaTable table;
    if (c >= kKanaFirst && c <= kKanaLast) return table.block[c - kKanaFirst];
    if (c < 0x2000) return nullptr;
    for (const Pair& p : kKana)
        if (p.wide == c) return p.narrow;
    return nullptr;
}

template <bool Upper>
QString narrow(QStringView text) {
    QString out;
    out.reserve(text.size() + 4);
    for (QChar qc : text) {
        char16_t c = qc.unicode();
        if (c >= 0xFF01 && c <= 0xFF5E) {
            c = static_cast<char16_t>(c - 0xFEE0);
        } else if (c == 0x3000) {
            c = u' ';
        } else if (c >= 0x2000) {
            if (const char16_t* n = narrowOf(c)) {
                if (n[1]) {
                    out.append(QChar(n[0]));
                    c = n[1];
                } else {
                    c = n[0];
                }
            }
        }
        if (Upper && c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
        out.append(QChar(c));
    }
    return out;
}

} // namespace

QString NarrowText(QStringView text) { return narrow<false>(text); }

QString UpperNarrowText(QStringView text) { return narrow<true>(text); }
