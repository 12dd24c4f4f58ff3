// A place-name text (code 5): an anchor position, one of 25 anchorings
// (TextFix 0..24, 10 by default), a baseline angle in whole degrees and two
// texts: the European one, one byte per Latin-1 character, and the Japanese
// one in Shift-JIS. An empty text is held as the single byte 0.
#pragma once

#include <QByteArray>

#include "clsMapSymbol.h"

class clsMapText : public MapPointFigure {
public:
    clsMapText() = default;
    explicit clsMapText(WithID id) : MapPointFigure(id) {}

    int32_t FigCode() const override { return 5; }

    int16_t TextFix() const { return textFix_; }
    // 0..24 only.
    void setTextFix(int32_t v);
    int16_t Angle() const { return angle_; }
    // Any value, wrapped into -180..180 (180 and -180 stay as they are).
    void setAngle(int32_t v);

    // lang 1 the European bytes, lang 2 the Japanese bytes (copies); any
    // other lang the single byte 0.
    QByteArray TextAnsi(int32_t lang) const;
    // lang 1 merges a vowel and a following "^" into the accented letter
    // first; a first byte 0 keeps only that byte. More than 32767 bytes are
    // refused with a message. Any other lang does nothing.
    void setTextAnsi(int32_t lang, const QByteArray& bytes);
    // lang 1 one Latin-1 character per byte, lang 2 the Shift-JIS text; the
    // empty text for an empty text or another lang.
    QString TextUnicode(int32_t lang) const;
    // lang 1 as Latin-1, lang 2 as Shift-JIS; a character the encoding lacks
    // becomes "?". Stored through setTextAnsi.
    void setTextUnicode(int32_t lang, const QString& text);

    std::shared_ptr<clsMapFigure> Copy() const override;
    bool IsRight() const override;
    void ReadElm(plat::BinaryReader& in, int16_t version) override;
    void WriteElm(plat::BinaryWriter& out, int16_t version) override;
    bool FitsVersion(int16_t version) const override;

    // The circumflex rule of European texts: a vowel followed by "^" becomes
    // the accented vowel (a^ gives 0xE2).
    static QByteArray ApplyCircumflex(const QByteArray& bytes);

private:
    int16_t textFix_ = 10;
    int16_t angle_ = 0;
    // Short texts fit the string itself: no allocation per figure.
    std::string textE_ = std::string(1, '\0');
    std::string textJ_ = std::string(1, '\0');
};
