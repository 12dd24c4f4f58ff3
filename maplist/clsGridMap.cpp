#include "clsGridMap.h"

#include "CruiseFiles.h"

#include "AppInfo.h"
#include "ErrorMng.h"
#include "basLibrary.h"
#include "clsRect.h"

#include <algorithm>

namespace {

const QString kObject = QStringLiteral("clsGridMap");

int16_t CellValue(const QByteArray& bytes, int64_t offset) {
    const auto lo = static_cast<uint8_t>(bytes[static_cast<qsizetype>(offset)]);
    const auto hi = static_cast<uint8_t>(bytes[static_cast<qsizetype>(offset + 1)]);
    return static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8)));
}

bool IsCountry(int16_t v) { return 1 <= v && v <= 999; }

} // namespace

clsGridMap::clsGridMap() : fileName_(plat::AppPath() + QStringLiteral("/CRUISE05.GRD")) {}

clsGridMap::Cell clsGridMap::LonLatToCell(int32_t lon, int32_t lat) {
    Cell c;
    c.col = WrapRange(static_cast<int32_t>((int64_t{lon} + 648000) / 3600), 0, kColumns - 1);
    c.row = static_cast<int32_t>((324000 - int64_t{lat}) / 3600);
    c.valid = 0 <= c.row && c.row < kRows;
    return c;
}

bool clsGridMap::CheckGridFile() {
    if (FileExists(fileName_)) {
        reportedMissing_.clear();
        return true;
    }
    // Cruise asks at every redraw: one message for a path is enough.
    if (reportedMissing_ != fileName_) {
        reportedMissing_ = fileName_;
        MsgError(QStringLiteral("グリッドファイルが存在しません.\r\n") + fileName_);
    }
    return false;
}

QByteArray clsGridMap::ReadRange(int64_t offset, int64_t count, bool* skipped) {
    QByteArray bytes;
    AppError err;
    const int answer = WithFileRetry([&] { bytes = cruise::ReadFileBytes(fileName_, offset, count); }, fileName_, &err);
    *skipped = answer != 0;
    if (answer == 2) throw cruise::Cancelled();
    return bytes;
}

int16_t clsGridMap::GetCountryCode(int32_t lon, int32_t lat) {
    try {
        const Cell c = LonLatToCell(lon, lat);
        if (!c.valid || !CheckGridFile()) return -1;
        bool skipped = false;
        const QByteArray b = ReadRange(int64_t{c.row} * kRowBytes + int64_t{c.col} * 2, 2, &skipped);
        return skipped ? int16_t{-1} : CellValue(b, 0);
    } catch (const cruise::Cancelled&) {
        throw;
    } catch (...) {
        RaiseError(ErrGeneral, kObject, QStringLiteral("GetCountryCode"));
    }
}

std::vector<int16_t> clsGridMap::GetCountryCodeArea(const clsRect* area) {
    std::vector<int16_t> codes;
    try {
        if (!area) return codes;
        const int32_t north = std::clamp(std::max(area->y1, area->y2), -323999, 324000);
        const int32_t south = std::clamp(std::min(area->y1, area->y2), -323999, 324000);
        const Cell nw = LonLatToCell(area->x1, north);
        const Cell se = LonLatToCell(area->x2, south);
        if (!nw.valid || !se.valid || !CheckGridFile()) return codes;
        bool skipped = false;
        const int32_t rows = se.row - nw.row + 1;
        const QByteArray b = ReadRange(int64_t{nw.row} * kRowBytes, int64_t{rows} * kRowBytes, &skipped);
        if (skipped) return codes;
        const bool acrossDateLine = nw.col > se.col;
        // -180°..+180° would otherwise be column 0 alone: +180° is column 0.
        const bool wholeTurn = int64_t{area->x2} - area->x1 >= 1296000;
        for (int32_t r = 0; r < rows; ++r) {
            for (int32_t col = 0; col < kColumns; ++col) {
                const bool inside = wholeTurn || (acrossDateLine ? (col >= nw.col || col <= se.col)
                                                                 : (nw.col <= col && col <= se.col));
                if (!inside) continue;
                const int16_t v = CellValue(b, int64_t{r} * kRowBytes + int64_t{col} * 2);
                if (IsCountry(v) && std::find(codes.begin(), codes.end(), v) == codes.end()) codes.push_back(v);
            }
        }
        return codes;
    } catch (const cruise::Cancelled&) {
        throw;
    } catch (...) {
        RaiseError(ErrGeneral, kObject, QStringLiteral("GetCountryCodeArea"));
    }
}
