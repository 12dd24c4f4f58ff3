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
    constexpr KanaTable() {
        for (const Pair& p : kKana)
            if (p.wide >= kKanaFirst && p.wide <= kKanaLast) block[p.wide - kKanaFirst] = p.narrow;
    }
};

constexpr KanaTable kTable;

// Called for every character from U+2000 on: kanji must leave at once.
const char16_t* narrowOf(char16_t c) {
    if (c >= kKanaFirst && c <= kKanaLast) return kTable.block[c - kKanaFirst];
    if ((c >= 0x2018 && c <= 0x201D) || c == 0x2212 || (c >= 0x3001 && c <= 0x301C) || c == 0xFFE5) {
        for (const Pair& p : kKana)
            if (p.wide == c) return p.narrow;
    }
    return nullptr;
}

template <bool Upper>
QString narrow(QStringView text) {
    // Voiced katakana grow by one character: room for the worst case.
    QString out(text.size() * 2, Qt::Uninitialized);
    QChar* d = out.data();
    qsizetype n = 0;
    for (QChar qc : text) {
        char16_t pair[2];
        const int k = NarrowChar(qc.unicode(), pair);
        for (int j = 0; j < k; ++j) {
            char16_t c = pair[j];
            if (Upper && c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
            d[n++] = QChar(c);
        }
    }
    out.truncate(n);
    return out;
}

} // namespace

int NarrowChar(char16_t c, char16_t out[2]) {
    if (c >= 0xFF01 && c <= 0xFF5E) {
        out[0] = static_cast<char16_t>(c - 0xFEE0);
        return 1;
    }
    if (c == 0x3000) {
        out[0] = u' ';
        return 1;
    }
    if (c >= 0x2000) {
        if (const char16_t* n = narrowOf(c)) {
            out[0] = n[0];
            if (!n[1]) return 1;
            out[1] = n[1];
            return 2;
        }
    }
    out[0] = c;
    return 1;
}

QString NarrowText(QStringView text) { return narrow<false>(text); }

QString UpperNarrowText(QStringView text) { return narrow<true>(text); }
