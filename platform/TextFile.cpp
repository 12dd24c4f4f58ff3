#include "TextFile.h"

#include "AppError.h"
#include "AppInfo.h"
#include "FileOps.h"

#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <memory>
#include <utility>

namespace plat {

namespace {

struct IconvHandle {
    iconv_t cd;
    IconvHandle(const char* to, const char* from) : cd(iconv_open(to, from)) {
        if (cd == reinterpret_cast<iconv_t>(-1)) ThrowRuntimeError(ErrInternal, QStringLiteral("iconv CP932"));
    }
    ~IconvHandle() { iconv_close(cd); }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
};

// Line and column (1-based) of a byte offset, for error messages; the bytes
// begin on line firstLine.
QString bytePosition(const QByteArray& bytes, qsizetype offset, qsizetype firstLine) {
    qsizetype line = firstLine, lineStart = 0;
    for (qsizetype i = 0; i < offset && i < bytes.size(); ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && !(i + 1 < bytes.size() && bytes[i + 1] == '\n'))) {
            ++line;
            lineStart = i + 1;
        }
    }
    return QStringLiteral("(行 %1, %2 バイト目)").arg(line).arg(offset - lineStart + 1);
}

QString decodeCp932(const QByteArray& bytes, qsizetype firstLine);

} // namespace

QString DecodeCp932(const QByteArray& bytes) { return decodeCp932(bytes, 1); }

namespace {

QString decodeCp932(const QByteArray& bytes, qsizetype firstLine) {
    if (bytes.isEmpty()) return QString();
    // Plain ASCII is by far the commonest line content: skip iconv for it.
    bool ascii = true;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) { ascii = false; break; }
    }
    if (ascii) return QString::fromLatin1(bytes);

    // One converter a thread: opening one costs more than a short line's conversion.
    thread_local IconvHandle h("UTF-16LE", "CP932");
    iconv(h.cd, nullptr, nullptr, nullptr, nullptr);
    QString out;
    out.resize(bytes.size());  // Shift-JIS never needs more UTF-16 units than bytes
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = static_cast<size_t>(bytes.size());
    char* o = reinterpret_cast<char*>(out.data());
    size_t oLeft = static_cast<size_t>(out.size()) * 2;
    while (inLeft > 0) {
        size_t r = iconv(h.cd, &in, &inLeft, &o, &oLeft);
        if (r == static_cast<size_t>(-1)) {
            qsizetype at = in - bytes.constData();
            throw AppError(ErrTypeMismatch, AppTitle(),
                           QStringLiteral("Shift-JIS として読めないバイトがあります %1")
                               .arg(bytePosition(bytes, at, firstLine)));
        }
    }
    out.resize((o - reinterpret_cast<char*>(out.data())) / 2);
    return out;
}

} // namespace

QByteArray EncodeCp932(const QString& text) {
    if (text.isEmpty()) return QByteArray();
    bool ascii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) { ascii = false; break; }
    }
    if (ascii) return text.toLatin1();

    IconvHandle h("CP932", "UTF-16LE");
    QByteArray out;
    out.resize(text.size() * 2 + 4);
    char* in = reinterpret_cast<char*>(const_cast<QChar*>(text.constData()));
    size_t inLeft = static_cast<size_t>(text.size()) * 2;
    char* o = out.data();
    size_t oLeft = static_cast<size_t>(out.size());
    while (inLeft > 0) {
        size_t r = iconv(h.cd, &in, &inLeft, &o, &oLeft);
        if (r == static_cast<size_t>(-1)) {
            qsizetype at = (in - reinterpret_cast<const char*>(text.constData())) / 2;
            QString ch = at < text.size() ? text.mid(at, text[at].isHighSurrogate() ? 2 : 1) : QString();
            throw AppError(ErrTypeMismatch, AppTitle(),
                           QStringLiteral("文字 \"%1\" (U+%2) は Shift-JIS で書けません")
                               .arg(ch)
                               .arg(at < text.size() ? text[at].unicode() : 0, 4, 16, QLatin1Char('0')));
        }
    }
    out.resize(o - out.data());
    return out;
}

bool IsCp932Encodable(const QString& text) {
    try {
        EncodeCp932(text);
        return true;
    } catch (const AppError&) {
        return false;
    }
}

namespace {

bool isAscii(const char* p, qsizetype n) {
    for (qsizetype i = 0; i < n; ++i)
        if (static_cast<unsigned char>(p[i]) >= 0x80) return false;
    return true;
}

// Runs iconv over the whole input; at a unit it cannot convert, puts the
// replacement in the output and skips `skip(in)` input bytes.
template <class Skip>
void convertLossy(iconv_t cd, const char* in, size_t inLeft, QByteArray& out, const char* replacement,
                  size_t replacementSize, Skip skip) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in);
    char* o = out.data();
    size_t oLeft = static_cast<size_t>(out.size());
    while (inLeft > 0) {
        if (iconv(cd, &src, &inLeft, &o, &oLeft) != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) {   // cannot happen with the sizes reserved, but never overrun
            const qsizetype used = o - out.data();
            out.resize(out.size() * 2 + 16);
            o = out.data() + used;
            oLeft = static_cast<size_t>(out.size() - used);
            continue;
        }
        const size_t n = std::min(skip(src, inLeft), inLeft);
        if (oLeft < replacementSize) {
            const qsizetype used = o - out.data();
            out.resize(out.size() * 2 + 16);
            o = out.data() + used;
            oLeft = static_cast<size_t>(out.size() - used);
        }
        std::memcpy(o, replacement, replacementSize);
        o += replacementSize;
        oLeft -= replacementSize;
        src += n;
        inLeft -= n;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(o - out.data());
}

} // namespace

QString DecodeCp932Lossy(const QByteArray& bytes) {
    if (bytes.isEmpty()) return QString();
    if (isAscii(bytes.constData(), bytes.size())) return QString::fromLatin1(bytes);
    thread_local IconvHandle h("UTF-16LE", "CP932");
    QByteArray out(bytes.size() * 2 + 2, Qt::Uninitialized);
    const char16_t q = u'?';
    convertLossy(h.cd, bytes.constData(), static_cast<size_t>(bytes.size()), out,
                 reinterpret_cast<const char*>(&q), 2, [](const char*, size_t) { return size_t{1}; });
    return QString(reinterpret_cast<const QChar*>(out.constData()), out.size() / 2);
}

QByteArray EncodeCp932Lossy(const QString& text) {
    if (text.isEmpty()) return QByteArray();
    bool ascii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) { ascii = false; break; }
    }
    if (ascii) return text.toLatin1();
    thread_local IconvHandle h("CP932", "UTF-16LE");
    QByteArray out(text.size() * 2 + 4, Qt::Uninitialized);
    convertLossy(h.cd, reinterpret_cast<const char*>(text.constData()), static_cast<size_t>(text.size()) * 2, out,
                 "?", 1, [](const char* p, size_t left) {
                     // A surrogate pair is one character: one "?" for both halves.
                     char16_t u;
                     std::memcpy(&u, p, 2);
                     return QChar::isHighSurrogate(u) && left >= 4 ? size_t{4} : size_t{2};
                 });
    return out;
}

QStringList ReadTextLines(const QString& path, int64_t maxBytes) {
    return SplitTextLines(DecodeCp932(ReadAllBytes(path, maxBytes)));
}

QStringList SplitTextLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(text.mid(start, i - start));
            if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
            start = i + 1;
        }
    }
    if (start < n) lines.append(text.mid(start));
    return lines;
}

namespace {
qsizetype gBlockSize = 0;
} // namespace

void TextReader::SetBlockSize(qsizetype bytes) { gBlockSize = bytes; }

TextReader::TextReader(const QString& path, int64_t maxBytes, bool utf8AfterBom)
    : file_(std::make_unique<ReadOnlyFile>(path)), maxBytes_(maxBytes), utf8AfterBom_(utf8AfterBom) {
    if (file_->size() > maxBytes_) ThrowRuntimeError(ErrOutOfMemory, file_->path());
}

TextReader::~TextReader() = default;

// raw_ holds what was read of the line before a read failed: a retry goes on
// from there.
bool TextReader::nextRawLine() {
    const qsizetype blockSize = gBlockSize > 0 ? gBlockSize : qsizetype(1) << 16;
    for (;;) {
        if (blockPos_ >= block_.size()) {
            // A last line without an end counts when it holds anything.
            if (eof_) return !raw_.isEmpty();
            block_.resize(blockSize);
            blockPos_ = 0;
            size_t n = 0;
            try {
                n = file_->read(block_.data(), static_cast<size_t>(blockSize));
            } catch (...) {
                block_.clear();
                throw;
            }
            block_.resize(static_cast<qsizetype>(n));
            if (n == 0) {
                eof_ = true;
                continue;
            }
            // The size said when opened does not bind a file that grows.
            taken_ += static_cast<int64_t>(n);
            if (taken_ > maxBytes_) ThrowRuntimeError(ErrOutOfMemory, file_->path());
            if (std::exchange(afterCr_, false) && block_[0] == '\n') blockPos_ = 1;
            continue;
        }
        const char* b = block_.constData();
        const qsizetype n = block_.size();
        qsizetype i = blockPos_;
        while (i < n && b[i] != '\r' && b[i] != '\n') ++i;
        raw_.append(b + blockPos_, i - blockPos_);
        if (i == n) {
            blockPos_ = n;
            continue;
        }
        if (b[i] == '\r') {
            if (i + 1 < n) {
                if (b[i + 1] == '\n') ++i;
            } else {
                afterCr_ = true;
            }
        }
        blockPos_ = i + 1;
        return true;
    }
}

bool TextReader::atEnd() {
    if (!file_) return pos_ >= lines_.size();
    if (!haveRaw_) haveRaw_ = nextRawLine();
    return !haveRaw_;
}

QString TextReader::readLine() {
    if (!file_) {
        if (pos_ >= lines_.size()) ThrowRuntimeError(ErrInputPastEnd);
        return lines_[pos_++];
    }
    if (atEnd()) ThrowRuntimeError(ErrInputPastEnd);
    haveRaw_ = false;
    QByteArray raw = std::exchange(raw_, QByteArray());
    if (++pos_ == 1) {
        utf8_ = utf8AfterBom_ && raw.startsWith("\xEF\xBB\xBF");
        if (utf8_) raw.remove(0, 3);
    }
    if (!utf8_) return decodeCp932(raw, pos_);
    // Stateless: a character cut by the line's end is an error, as in the
    // whole text. A second mark opening the text is dropped as a decoder of
    // the whole would.
    QStringDecoder utf8(QStringDecoder::Utf8, pos_ == 1 ? QStringDecoder::Flag::Stateless
                                                        : QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString line = utf8(raw);
    if (utf8.hasError())
        throw AppError(ErrTypeMismatch, AppTitle(), QStringLiteral("UTF-8 として読めないバイトがあります (行 %1)").arg(pos_));
    return line;
}

void TextReader::seekStart() {
    pos_ = 0;
    if (!file_) return;
    file_->rewind();
    block_.clear();
    blockPos_ = 0;
    eof_ = afterCr_ = haveRaw_ = utf8_ = false;
    raw_.clear();
    taken_ = 0;
}

void TextWriter::commit() { WriteFileAtomic(path_, EncodeCp932(text_)); }

} // namespace plat
