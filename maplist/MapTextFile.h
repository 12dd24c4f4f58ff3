// The figure text exchange file: comma-separated lines for spreadsheets and
// editors, one line per figure (kind, thing, district, two texts, point
// count or text anchor, angle, first point) and one line per further point
// of a polyline or polygon (seven empty fields, then the point).
//
// Fields follow the usual CSV quoting: a field holding a comma, a double
// quote or a line break is enclosed in double quotes with its own quotes
// doubled, so every text reads back as it was written, here and in a
// spreadsheet. Reading is lenient with files of other writers: a quote
// inside a quoted field that neither doubles nor ends the field is taken as
// a character, and quotes inside an unquoted field are characters too.
//
// Files are Shift-JIS with CR LF. A file whose texts Shift-JIS cannot hold
// (accented European names) is written as UTF-8 with a byte-order mark, so
// nothing is lost; the reader takes either.
//
// Coordinates are written and read in the current map mode and angle format
// (MapXToStr, MapStrToXSafe); one outside the map's range does not read.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

#include "clsMapUnit.h"

namespace maptext {

constexpr int kFields = 9;
// Lines one record may span (a quoted field holding line breaks).
constexpr size_t kMaxRecordLines = 100;

// The field as a CSV writer puts it: quoted when needed / always.
QString CsvField(const QString& text);
QString QuotedField(const QString& text);

// The fields of one record (a record may span lines when a quoted field
// holds a line break). True when the record ends inside a quoted field,
// i.e. it goes on in the next line; the fields are then those of the text
// so far, the open field running to its end.
bool SplitRecord(const QString& record, QStringList& fields);

// The first line of a file for a map mode (2 X/Y, else latitude/longitude).
QString HeaderLine(int32_t mapMode);

// The line (or lines, joined by CR LF) of one figure. Without a figure or a
// unit: seven fields of one blank each. With `points` the point count and
// every point. Coordinates are written as the current angle format gives
// them; the writer makes sure they hold no quote.
QString FigureToStrAll(const clsMapFigure* figure, const clsMapUnit* unit, bool points);

// Kind 1..5 of a kind field (the Japanese names and the upper-case
// keywords), 0 for anything else.
int32_t KindOfField(const QString& field);

// Text of a file: Shift-JIS, or UTF-8 when every character needs it.
QByteArray EncodeFileText(const QString& text);
// UTF-8 after a byte-order mark, else Shift-JIS (error 13 when the bytes
// are neither).
QString DecodeFileText(const QByteArray& bytes);

struct ReadResult {
    bool stopped = false;      // the user answered a question with No
    bool cancelled = false;    // progress asked to stop
    int32_t badLines = 0;      // lines that gave neither a figure nor a point
    int32_t firstBadLine = 0;  // 1-based number of the first of them
};

// The lines of a file one at a time: true with the next line in `line`,
// false at the end.
using LineSource = std::function<bool(QString& line)>;

// Reads the lines of a file into figures of `into` (which has the map mode
// of the unit's map), with the unit's catalogues: names missing from the
// thing catalogue become new things of the user-figure category. A figure
// line that gives no figure is put to `askContinue` with the message to
// show; false stops the reading. A line that is neither a figure nor a
// further point of one (a point after no polyline or polygon) is skipped
// and counted instead, except the further points of a polyline or polygon
// that was refused: they went with its question. Figures read before a stop
// stay in `into`. `progress` (lines done) runs before every record; false
// cancels the reading. No coordinate text costs an exception, so bad lines
// read as fast as good ones. Memory holds the figures read and at most the
// lines of one record (kMaxRecordLines), whatever the number of lines.
// What `next` throws is passed on.
ReadResult ReadFigureLines(const LineSource& next, clsMapUnit& unit, clsMap& into,
                           const std::function<bool(const QString& message)>& askContinue,
                           const std::function<bool(qsizetype done)>& progress = {});
// The same over lines in memory; `progress` also gets their count.
ReadResult ReadFigureLines(const QStringList& lines, clsMapUnit& unit, clsMap& into,
                           const std::function<bool(const QString& message)>& askContinue,
                           const std::function<bool(qsizetype done, qsizetype lines)>& progress = {});

} // namespace maptext
