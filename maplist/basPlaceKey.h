// Place keys and the keyword search of the place list.
//
// A place is found by its key: the name with blanks, hyphens, middle dots
// and line breaks dropped, in upper case; Japanese names are also narrowed
// (full-width letters, digits and katakana to half-width, a voiced kana to
// two characters: ガ gives ｶﾞ), so "とうきょう", "Tokyo" and "ＴＯＫＹＯ" are
// typed as they come. A parenthesised part is keyed both ways:
// "Sankt-Peterburg (Leningrad)" gives "SANKTPETERBURG,LENINGRAD".
//
// Upper case of a European key keeps every letter inside Latin-1 (the map
// holds European names one byte a character): ÿ, µ and ß stay as they are.
//
// The place list is a grid whose row 0 is the title row and rows 1.. the
// places, one column a field (PlaceColumn).
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace plat {
class FlexGridData;
} // namespace plat

enum PlaceColumn : int32_t {
    kPlaceName = 0,
    kPlaceFile = 1,     // the map file's name without folders
    kPlaceAdmin = 2,    // district name
    kPlaceThing = 3,    // thing name
    kPlaceX = 4,        // anchor, integer text (arc-seconds or metres)
    kPlaceY = 5,
    kPlaceScaleS = 6,   // smallest scale: the larger denominator
    kPlaceScaleL = 7,   // largest scale: the smaller denominator
    kPlaceKey = 8,
    kPlaceSerial = 9,   // the row a place was added at; never stored in a file
    kPlaceColumns = 10,
};

// The first "(" with a ")" after it: before + after + "," + inside + after.
// Any other text is returned unchanged.
QString RewritePlaceName(const QString& text);
// Drops " ", "-", CR, LF, TAB, "･", "－", "　" and "・"; keeps the rest in order.
QString MakePlaceKey(QStringView text);
// Upper case; language 2 (Japanese) narrows first.
QString PlaceKeyCase(QStringView key, int32_t language);
// The key of a place name: RewritePlaceName, MakePlaceKey, PlaceKeyCase.
QString PlaceKey(const QString& name, int32_t language);
// The key a typed keyword is searched with: no parentheses rule.
QString KeywordKey(const QString& keyword, int32_t language);

// The keys of a place list in one block, row after row: the keyword search
// reads them in order instead of chasing every row's text through the heap,
// which after a sort lies scattered (3-4 times slower at 100 000 places).
class PlaceKeyIndex {
public:
    void build(const plat::FlexGridData& grid);
    void clear();
    // Places indexed; a list of another length needs a new index.
    int32_t places() const { return static_cast<int32_t>(starts_.size()) - 1; }
    // The key of place row 1..places().
    QStringView key(int32_t row) const {
        return QStringView(chars_).mid(starts_[size_t(row - 1)], starts_[size_t(row)] - starts_[size_t(row - 1)]);
    }

private:
    QString chars_;
    std::vector<qsizetype> starts_ = {0};
};

// The row the keyword search selects: the rows after `current` are tested
// first, then from row 1 round to `current` itself. A key of 1 or 2
// characters must begin the row's key, a longer one lie anywhere in it; when
// no row matches, the key loses its last character and the rows are tested
// again, until one matches or the key is empty. Returns the first row
// matching the longest key that matches any; 1 when none does (also for an
// empty key); 0 for a list without places.
//
// One pass over the rows, each row's key read once, for any key length (a
// pasted keyword of any size costs its own length once more).
int32_t SearchPlaceRow(const PlaceKeyIndex& index, int32_t current, QStringView key);
// The same over the grid's key column, indexed for this one search.
int32_t SearchPlaceRow(const plat::FlexGridData& grid, int32_t current, QStringView key);
