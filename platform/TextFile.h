// Text files of the program: Shift-JIS (code page 932) with CR LF line ends.
// Every reader and writer of text goes through here.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

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
// ReadAllBytes, 13 for bytes that are not Shift-JIS (the description names
// the line).
QStringList ReadTextLines(const QString& path);

// A text file read line by line (the file is read once, as a whole).
class TextReader {
public:
    explicit TextReader(const QString& path);
    explicit TextReader(QStringList lines) : lines_(std::move(lines)) {}
    bool atEnd() const { return pos_ >= lines_.size(); }
    QString readLine();           // error 62 past the end
    void seekStart() { pos_ = 0; }
    qsizetype lineNumber() const { return pos_; }   // lines read so far
    const QStringList& lines() const { return lines_; }

private:
    QStringList lines_;
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
