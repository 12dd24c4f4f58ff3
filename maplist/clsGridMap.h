// The country grid "CRUISE05.GRD": for every cell of one degree of longitude
// by one degree of latitude, the numeric code of the country that covers it.
//
// The file: 180 rows of 360 cells, each a signed 16-bit little-endian
// integer, no header (129600 bytes). Row r holds the latitudes above
// 89° - r° up to and including 90° - r° (row 0 touches the North Pole);
// column c the longitudes from -180° + c° up to but excluding -179° + c°.
// A value 1..999 is a country; anything else (0, negative, 1000 and above)
// is no country. The grid is never kept: each call opens the file, reads
// what it needs and closes it. Angles are arc-seconds.
//
// A missing file is reported once per path: the critical message
// "グリッドファイルが存在しません." with the path, again only after the path has
// changed or the file has been read. Other file errors show the file-error
// box: retry reads again, skip gives up this call, cancel ends the operation
// under way (cruise::Cancelled).
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

class clsRect;

class clsGridMap {
public:
    static constexpr int32_t kRows = 180;
    static constexpr int32_t kColumns = 360;
    static constexpr int32_t kRowBytes = kColumns * 2;
    static constexpr int64_t kFileBytes = int64_t{kRows} * kRowBytes;

    // Holds the program folder's "CRUISE05.GRD".
    clsGridMap();

    const QString& FileName() const { return fileName_; }
    void setFileName(const QString& path) { fileName_ = path; }

    struct Cell {
        int32_t col = 0;
        int32_t row = 0;
        bool valid = false;
    };
    // col = (lon + 648000) / 3600 truncated toward zero, brought into 0..359
    // by whole turns (so +180° is column 0); row = (324000 - lat) / 3600
    // truncated; valid when the row is 0..179 (exactly -90° gives row 180).
    static Cell LonLatToCell(int32_t lon, int32_t lat);

    // The value stored for the cell, as stored (0 and out-of-range values
    // too); -1 for an invalid cell, a missing file or a skipped error.
    int16_t GetCountryCode(int32_t lon, int32_t lat);

    // The distinct codes 1..999 of the cells under the rectangle, first met
    // first (rows north to south, columns west to east). x1 is the west and
    // x2 the east edge as given, so x1 > x2 (after wrapping) is an area
    // across the 180th meridian, and x2 - x1 of 360° or more every column;
    // latitudes are clamped to -323999..324000.
    // Nothing for no area, an invalid corner, a missing file or a skipped
    // error.
    std::vector<int16_t> GetCountryCodeArea(const clsRect* area);

private:
    bool CheckGridFile();
    // Bytes of the file, through the file-error box; empty when skipped.
    QByteArray ReadRange(int64_t offset, int64_t count, bool* skipped);

    QString fileName_;
    QString reportedMissing_;
};
