// Text rules shared by the thing (".THG") and district (".ADM") files: the
// fields of a line, the texts a file can hold, comment sections, numbers.
#pragma once

#include <QString>
#include <QStringList>

namespace plat {
class TextReader;
class TextWriter;
} // namespace plat

namespace catalog {

// Commas separate, double quotes group and are dropped, as StrToTokens with
// mode 2 does; but a quoted empty text is a field of its own, so a line
// ending in an empty name ("..., \"\"") keeps its last field.
QStringList SplitFields(const QString& line);

// A name as a file can hold it: it is written in double quotes on one line,
// so a double quote becomes "＂" and a line break a blank.
QString CleanText(const QString& text);

// A comment keeps its lines joined by CR LF; a lone CR or LF becomes CR LF.
QString CleanComment(const QString& text);

// The lines of a comment section up to an empty line or the end of the
// file, joined by CR LF. An empty line would end the section, so a line of
// blanks only is written with one blank more and read with one blank less.
QString ReadComment(plat::TextReader& in);
void WriteComment(plat::TextWriter& out, const QString& comment);

// The leading number of a text: leading blanks skipped, "&H" and hex digits
// (with an optional "&") a 32-bit two's-complement value, else the run
// time's Val; 0 when there is no number.
double LeadingNumber(const QString& text);

// A Double as the run time writes it (15 significant digits), or with 17
// when those do not read back as the same value.
QString NumberText(double v);

// Blanks (U+0020) off both ends.
QString TrimBlanks(const QString& text);

} // namespace catalog
