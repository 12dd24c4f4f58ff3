// Full-width to half-width narrowing of user text: the one table every
// reader of typed numbers, lengths and angles goes through.
#pragma once

#include <QString>
#include <QStringView>

// Full-width ASCII forms, the ideographic blank, katakana (voiced ones
// become two characters: ガ gives ｶﾞ) and the Japanese punctuation that has a
// half-width form. Everything else, hiragana and kanji included, is kept.
QString NarrowText(QStringView text);

// One character of NarrowText: writes one or two characters to out and
// returns how many. For loops that build their text in place; characters
// below U+2000 never change.
int NarrowChar(char16_t c, char16_t out[2]);

// NarrowText, then the Latin letters a..z in upper case. Only Latin letters
// change: Greek letters (λ, φ, μ) are words of their own in typed text.
QString UpperNarrowText(QStringView text);
