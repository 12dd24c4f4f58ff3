// Text files of the program: Shift-JIS (code page 932) with CR LF line ends.
// Every reader and writer of text goes through here.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

#include "FileOps.h"

namespace plat {

// Converts between Unicode and code page 932. Decoding throws error 13 with
// the position of the first byte that does not convert; encoding throws the
// same error naming the first character that has no Shift-JIS form.
QString DecodeCp932(const QByteArray& bytes);
QByteArray EncodeCp932(const QString& text);
// True when every character of text has a Shift-JIS form.
bool IsCp932Encodable(const QString& text);
// Forms that never fail, for texts held in binary records: a byte that does
// not decode and a character without a Shift-JIS form each become "?".
QString DecodeCp932Lossy(const QByteArray& bytes);
QByteArray EncodeCp932Lossy(const QString& text);

// Lines of a text; CR LF, CR and LF all end a line, and a last line without
// an end still counts.
QStringList SplitTextLines(const QString& text);

// Lines of a file, split as SplitTextLines does. Errors: the file errors of
// ReadAllBytes (7 beyond maxBytes), 13 for bytes that are not Shift-JIS (the
// description names the line).
QStringList ReadTextLines(const QString& path, int64_t maxBytes = kMaxReadBytes);

// A text file read line by line: memory holds one block of the file and one
// line, whatever the file's size. The errors of ReadTextLines: those of
// opening (and 7 when the file says it is larger than maxBytes) at
// construction, the others from the read that meets them. After a failed
// read of the file, the next call goes on where it failed (a retry).
// With utf8AfterBom, a file that begins with the UTF-8 byte-order mark reads
// as UTF-8 (error 13 for bytes that are not).
class TextReader {
public:
    explicit TextReader(const QString& path, int64_t maxBytes = kMaxReadBytes, bool utf8AfterBom = false);
    // Lines already in memory.
    explicit TextReader(QStringList lines) : lines_(std::move(lines)) {}
    ~TextReader();
    TextReader(const TextReader&) = delete;
    TextReader& operator=(const TextReader&) = delete;

    bool atEnd();
    QString readLine();           // error 62 past the end
    void seekStart();
    qsizetype lineNumber() const { return pos_; }   // lines read so far

    // Test hook: the size of the blocks read (0 = the usual 64 KiB), so that
    // small files have line ends on the blocks' edges.
    static void SetBlockSize(qsizetype bytes);

private:
    bool nextRawLine();           // the file's next line into raw_

    QStringList lines_;
    std::unique_ptr<ReadOnlyFile> file_;
    int64_t maxBytes_ = 0, taken_ = 0;
    QByteArray block_;
    qsizetype blockPos_ = 0;
    bool eof_ = false, afterCr_ = false;
    bool utf8AfterBom_ = false, utf8_ = false;
    QByteArray raw_;
    bool haveRaw_ = false;
    qsizetype pos_ = 0;
};

// A text file written line by line and put in place as a whole on commit,
// so a failed write leaves the previous file as it was.
class TextWriter {
public:
    explicit TextWriter(QString path) : path_(std::move(path)) {}
    void print(const QString& line) { text_ += line; text_ += QStringLiteral("\r\n"); }
    void printRaw(const QString& text) { text_ += text; }
    const QString& text() const { return text_; }
    void commit();                // encodes and replaces the file atomically
    const QString& path() const { return path_; }

private:
    QString path_;
    QString text_;
};

} // namespace plat
