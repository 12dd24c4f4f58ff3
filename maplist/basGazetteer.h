// The place list of the jump dialog and the gazetteer file that keeps one.
//
// The list lives in a grid of kPlaceColumns columns (basPlaceKey.h): row 0
// the title row, rows 1.. the places; with at least one place row 0 is fixed.
//
// The gazetteer file (lines end CR LF): five header lines, then one line per
// place, columns 0..8 of its row joined by TAB:
//   # Gazetteer File for KALDERO/SOLVANTE. Europian Version.   (or Japanese)
//   # number = <places>
//   # sort = <sort code 1..8>
//   # 地名 ファイル名 行政区名 事象名 経度 緯度 最小縮尺 最大縮尺 キー地名
//   # ----+----------+--------+------+----+----+--------+--------+--------
// Character sets are chosen by the language, never guessed: the Japanese
// file (language 2) is Shift-JIS throughout; in the European file (1) the
// place name and its key are Latin-1, as the map holds European names,
// and every other field and the header are Shift-JIS, as the catalogues
// hold district and thing names. TAB, CR and LF never occur inside a
// Shift-JIS character, so the fields split before they are decoded.
//
// Reading treats the file as hostile. Header lines are found by their
// beginnings, case ignored, anywhere up to the third; a line beginning with
// "# " is a comment unless it holds 9 fields, so a place whose name begins
// with "# " survives a round trip. A place line must hold at least 9 fields:
// a name, a bare file name (no folder), integer X and Y, and two scales that
// are numbers. The first place line whose smallest scale is a number other
// than 0 decides the format: below 100 an old file, whose scales are steps
// of the old ten-a-decade table, converted to denominators (a step outside
// 1..41, or not whole, gives 0); otherwise the scales are kept as written,
// but one below 100 reads as 0. A scale that is no valid map scale keeps
// its place: the plot ignores such a scale. The writer writes a scale
// below 100 as 0 too, so a written file always reads back in the new
// format, to the same places and scales.
// Any other line is skipped and counted; blank lines are passed over. A
// count line whose value is no number is reported. Places stop at the
// declared number, capped at kMaxGazetteerPlaces; rows are allocated as
// places are read, never for the declared number alone.
//
// A file is read a line at a time: memory grows with the places kept, not
// with the lines read.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <functional>

class clsMapUnit;

namespace plat {
class FlexGridData;
} // namespace plat

constexpr int32_t kMaxGazetteerPlaces = 1000000;
// A larger file is refused before it is read.
constexpr int64_t kMaxGazetteerBytes = int64_t(256) << 20;

// Places are held in the grid's data rows.
int32_t PlaceCount(const plat::FlexGridData& grid);
// No places: the title row alone, not fixed, its titles unmarked.
void ClearPlaces(plat::FlexGridData& grid);

// Appends the text figures of the unit's map that have a name in the
// language (1 European, 2 Japanese): name, map file name, district and
// thing names, anchor, the visible scale range of the thing's page that the
// figure's district chooses, key and serial. A figure whose district or
// thing the catalogues lack is skipped; the figures after it are listed.
// Returns the number of places added.
int32_t AddUnitPlace(plat::FlexGridData& grid, const clsMapUnit* unit, int32_t language);

// The title texts of columns 0..3 ("地名", "ファイル名", "行政区名", "事象名"):
// the column of the sort code (1, 2 column 0; 3, 4 column 1; ...) gets
// "　▲" (odd codes, ascending) or "　▼" and the active caption's colour,
// the others the button face. With places, they are sorted by that column,
// texts compared without regard to case (equal ones keep their order), and
// row 1 becomes the current row, selected whole. A code outside 1..8 marks
// no column and leaves the order.
void SortPlaces(plat::FlexGridData& grid, int16_t code);
QString SortMark(int16_t code, int32_t column);

struct GazetteerRead {
    bool header = false;      // the three header lines were found
    int32_t declared = 0;     // "# number = ", capped to 0..kMaxGazetteerPlaces
    int32_t badCountLine = 0; // 1-based line of a "# number = " that is no number
    int16_t sortCode = 0;     // "# sort = " when it lies in 1..8, else 0
    bool oldScales = false;   // scale steps converted
    int32_t places = 0;
    int32_t badLines = 0;     // place lines skipped
    int32_t firstBadLine = 0; // 1-based line number of the first one
};

// Passes the lines of a gazetteer, without their ends, to `line` until it
// returns false; may be called more than once and gives the same lines.
using GazetteerLines = std::function<void(const std::function<bool(QByteArrayView)>& line)>;

// Fills the grid from the lines of a gazetteer file of the language (two
// passes: the header, then the places); the grid holds no places when the
// header is not found. Throws only what `lines` throws.
GazetteerRead ParseGazetteer(const GazetteerLines& lines, int32_t language, plat::FlexGridData& grid);
// The same from the bytes of a file. Never throws for any bytes.
GazetteerRead ParseGazetteer(const QByteArray& bytes, int32_t language, plat::FlexGridData& grid);
// The same from the file, read a block at a time; throws the file errors,
// 7 for a file beyond kMaxGazetteerBytes.
GazetteerRead ReadGazetteerFile(const QString& path, int32_t language, plat::FlexGridData& grid);
// The file of the grid's places; characters a field's character set lacks
// become "?", and TAB, CR and LF inside a field a blank.
QByteArray GazetteerBytes(const plat::FlexGridData& grid, int32_t language, int16_t sortCode);
