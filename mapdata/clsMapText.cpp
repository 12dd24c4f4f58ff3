#include "clsMapText.h"

#include "BinaryIO.h"
#include "TextFile.h"
#include "basLibrary.h"

namespace {

const std::string kEmpty(1, '\0');

// An empty text and one whose first byte is 0 are the single byte 0.
std::string normalized(std::string s) { return s.empty() || s[0] == '\0' ? kEmpty : s; }

bool isEmptyText(const std::string& s) { return s.empty() || s[0] == '\0'; }

// European texts are Latin-1. Marks that only have a Japanese form (the
// half-width degree of the angle texts, primes, full-width letters) become
// their Latin look-alikes instead of "?", so generated labels stay readable.
QByteArray toLatin1LookAlike(const QString& text) {
    QString t = text;
    for (QChar& c : t) {
        const char16_t u = c.unicode();
        if (u == u'\uFF9F' || u == u'\u02DA') c = QChar(u'\u00B0');
        else if (u == u'\u2032' || u == u'\u2019') c = QLatin1Char('\'');
        else if (u == u'\u2033' || u == u'\u201D') c = QLatin1Char('"');
        else if (u >= 0xFF01 && u <= 0xFF5E) c = QChar(static_cast<char16_t>(u - 0xFEE0));
        else if (u == 0x3000) c = QLatin1Char(' ');
    }
    return t.toLatin1();
}

int16_t wrapAngle(int64_t v) {
    if (v > 180) v -= 360 * ((v + 179) / 360);
    else if (v < -180) v += 360 * ((179 - v) / 360);
    return static_cast<int16_t>(v);
}

void writeCounted(plat::BinaryWriter& out, const std::string& s) {
    if (isEmptyText(s)) {
        out.i16(0);
        return;
    }
    out.i16(maprec::TextCount(static_cast<int64_t>(s.size())));
    out.bytes(s.data(), s.size());
}

} // namespace

void clsMapText::setTextFix(int32_t v) {
    if (v < 0 || v > 24) return;
    textFix_ = static_cast<int16_t>(v);
    modify_ = true;
}

void clsMapText::setAngle(int32_t v) {
    angle_ = wrapAngle(v);
    modify_ = true;
}

QByteArray clsMapText::ApplyCircumflex(const QByteArray& bytes) {
    static const char vowels[] = "AIUEOaiueo";
    static const unsigned char accented[] = {0xC2, 0xCE, 0xDB, 0xCA, 0xD4, 0xE2, 0xEE, 0xFB, 0xEA, 0xF4};
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (i > 0 && c == '^') {
            const char* v = std::char_traits<char>::find(vowels, 10, bytes[i - 1]);
            if (v) {
                out.back() = static_cast<char>(accented[v - vowels]);
                continue;
            }
        }
        out.append(c);
    }
    return out;
}

QByteArray clsMapText::TextAnsi(int32_t lang) const {
    const std::string* s = lang == 1 ? &textE_ : lang == 2 ? &textJ_ : &kEmpty;
    return QByteArray(s->data(), static_cast<qsizetype>(s->size()));
}

void clsMapText::setTextAnsi(int32_t lang, const QByteArray& bytes) {
    if (lang != 1 && lang != 2) return;
    const QByteArray b = lang == 1 ? ApplyCircumflex(bytes) : bytes;
    if (b.size() > kMaxRecordText && b[0] != '\0') {
        MsgError(QStringLiteral("文字列が長すぎます (%1 バイトまで). 変更しませんでした.").arg(kMaxRecordText));
        return;
    }
    (lang == 1 ? textE_ : textJ_) = normalized(b.toStdString());
    modify_ = true;
}

QString clsMapText::TextUnicode(int32_t lang) const {
    if (lang == 1) return isEmptyText(textE_) ? QString() : QString::fromLatin1(textE_.data(), static_cast<qsizetype>(textE_.size()));
    if (lang == 2) return isEmptyText(textJ_) ? QString() : plat::DecodeCp932Lossy(QByteArray(textJ_.data(), static_cast<qsizetype>(textJ_.size())));
    return QString();
}

void clsMapText::setTextUnicode(int32_t lang, const QString& text) {
    if (lang != 1 && lang != 2) return;
    QByteArray bytes;
    if (text.isEmpty()) bytes = QByteArray(1, '\0');
    else bytes = lang == 1 ? toLatin1LookAlike(text) : plat::EncodeCp932Lossy(text);
    setTextAnsi(lang, bytes);
}

std::shared_ptr<clsMapFigure> clsMapText::Copy() const {
    auto c = std::make_shared<clsMapText>();
    c->setPosition(Position());
    c->setTextFix(textFix_);
    c->setAngle(angle_);
    c->setTextAnsi(1, TextAnsi(1));
    c->setTextAnsi(2, TextAnsi(2));
    CopyCommonTo(*c);
    return c;
}

bool clsMapText::IsRight() const {
    return CommonRight(true) && textFix_ >= 0 && textFix_ <= 24 && angle_ >= -180 && angle_ <= 180;
}

bool clsMapText::FitsVersion(int16_t version) const {
    if (!clsMapFigure::FitsVersion(version)) return false;
    if (version < kMapVersion105) {
        const int32_t chars = isEmptyText(textJ_) ? 0 : maprec::CountChars(textJ_.data(), textJ_.size());
        if (chars < 0 || chars > kMaxRecordText) return false;
    } else if (textJ_.size() > static_cast<size_t>(kMaxRecordText)) {
        return false;
    }
    return textE_.size() <= static_cast<size_t>(kMaxRecordText);
}

void clsMapText::ReadElm(plat::BinaryReader& in, int16_t version) {
    ReadFront(in, version);
    mx_ = in.i32();
    my_ = in.i32();
    textFix_ = in.i16();
    angle_ = wrapAngle(in.i16());
    textE_ = normalized(maprec::ReadBytes(in, in.i16()));
    const int16_t nJ = in.i16();
    textJ_ = normalized(version >= kMapVersion105 ? maprec::ReadBytes(in, nJ) : maprec::ReadChars(in, nJ));
    if (version == kMapVersion104) ReadAttr104(in);
    modify_ = false;
}

void clsMapText::WriteElm(plat::BinaryWriter& out, int16_t version) {
    const int64_t nE = isEmptyText(textE_) ? 0 : static_cast<int64_t>(textE_.size());
    const int64_t nJ = isEmptyText(textJ_) ? 0 : static_cast<int64_t>(textJ_.size());
    WriteFront(out, version, 44 + nE + nJ);
    out.i32(mx_);
    out.i32(my_);
    out.i16(textFix_);
    out.i16(angle_);
    writeCounted(out, textE_);
    if (version >= kMapVersion105) {
        writeCounted(out, textJ_);
    } else if (isEmptyText(textJ_)) {
        out.i16(0);
    } else {
        out.i16(maprec::TextCount(maprec::CountChars(textJ_.data(), textJ_.size())));
        out.bytes(textJ_.data(), textJ_.size());
    }
    if (version == kMapVersion104) WriteAttr104(out);
    modify_ = false;
}
