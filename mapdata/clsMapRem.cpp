#include "clsMapRem.h"

#include "BinaryIO.h"
#include "TextFile.h"
#include "basHMap.h"
#include "basLibrary.h"

namespace {

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QChar(0x3000); }

QString trimBlanks(const QString& s) {
    qsizetype a = 0, b = s.size();
    while (a < b && isBlank(s[a])) ++a;
    while (b > a && isBlank(s[b - 1])) --b;
    return s.mid(a, b - a);
}

QString decode(const std::string& bytes) {
    return plat::DecodeCp932Lossy(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

} // namespace

void clsMapRem::setComment(const QString& text) {
    // Each UTF-16 unit takes at most two bytes: only long texts need the count.
    if (text.size() > kMaxRecordText / 2 && plat::EncodeCp932Lossy(text).size() > kMaxRecordText) {
        MsgError(QStringLiteral("注釈が長すぎます (Shift-JIS で %1 バイトまで). 変更しませんでした.").arg(kMaxRecordText));
        return;
    }
    comment_ = text;
    modify_ = true;
}

qsizetype clsMapRem::HeaderColon() const {
    if (!comment_.startsWith(QStringLiteral("# "))) return -1;
    qsizetype p = comment_.indexOf(QChar(0xFF1A));
    if (p < 0) p = comment_.indexOf(QLatin1Char(':'));
    // The colon stands at character 5..20 (1-based).
    return p >= 4 && p <= 19 ? p : -1;
}

QString clsMapRem::Key() const {
    const qsizetype p = HeaderColon();
    return p < 0 ? QString() : trimBlanks(comment_.mid(2, p - 2));
}

QString clsMapRem::Value() const {
    const qsizetype p = HeaderColon();
    return p < 0 ? QString() : trimBlanks(comment_.mid(p + 1));
}

std::shared_ptr<clsMapFigure> clsMapRem::Copy() const {
    auto c = std::make_shared<clsMapRem>();
    c->setComment(comment_);
    CopyCommonTo(*c);
    return c;
}

void clsMapRem::ReadElm(plat::BinaryReader& in, int16_t version) {
    if (version >= kMapVersion106) {
        ReadHead106(in);
        comment_ = decode(maprec::ReadBytes(in, in.i16()));
    } else if (version == kMapVersion105) {
        ResetUnstored();
        admin_ = in.i16();
        in.i16();   // a thing, never used by a remark
        ReadAttr105(in);
        comment_ = decode(maprec::ReadChars(in, in.i16()));
    } else {
        ResetUnstored();
        admin_ = in.i16();
        comment_ = decode(maprec::ReadChars(in, in.i16()));
        if (version == kMapVersion104) ReadAttr104(in);
    }
    modify_ = false;
}

void clsMapRem::WriteElm(plat::BinaryWriter& out, int16_t version) {
    const QByteArray bytes = plat::EncodeCp932Lossy(comment_);
    if (version >= kMapVersion106) {
        const int16_t n = maprec::TextCount(bytes.size());
        WriteHead106(out, 30 + int64_t{n});
        out.i16(n);
        out.bytes(bytes);
    } else {
        const int16_t chars = maprec::TextCount(maprec::CountChars(bytes.constData(), static_cast<size_t>(bytes.size())));
        out.i16(1);
        out.i16(admin_);
        if (version == kMapVersion105) {
            out.i16(-1);
            WriteAttr105(out);
        }
        out.i16(chars);
        out.bytes(bytes);
        if (version == kMapVersion104) WriteAttr104(out);
    }
    modify_ = false;
}

bool clsMapRem::FitsVersion(int16_t version) const {
    if (!clsMapFigure::FitsVersion(version)) return false;
    if (comment_.size() <= kMaxRecordText / 2) return true;
    const QByteArray bytes = plat::EncodeCp932Lossy(comment_);
    const int64_t count = version >= kMapVersion106 ? bytes.size() : maprec::CountChars(bytes.constData(), static_cast<size_t>(bytes.size()));
    return count <= kMaxRecordText;
}
