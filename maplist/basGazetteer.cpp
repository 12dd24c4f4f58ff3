#include "basGazetteer.h"

#include "AppError.h"
#include "FileOps.h"
#include "FlexGridData.h"
#include "RuntimeMath.h"
#include "TextFile.h"
#include "basGlobe.h"
#include "basLibrary.h"
#include "basPlaceKey.h"
#include "clsMapText.h"
#include "clsMapUnit.h"

#include <QHash>

#include <array>
#include <cmath>
#include <optional>

namespace {

constexpr uint32_t kActiveCaption = 0x80000002;
constexpr uint32_t kButtonFace = 0x8000000F;
// Below this a file's first smallest scale is an old scale step.
constexpr double kSmallestDenominator = 100;
constexpr int32_t kOldSteps = 41;

const QString kTitles[4] = {QStringLiteral("地名"), QStringLiteral("ファイル名"), QStringLiteral("行政区名"),
                            QStringLiteral("事象名")};

bool latin1Field(int32_t language, int32_t column) {
    return language != 2 && (column == kPlaceName || column == kPlaceKey);
}

bool isAscii(const QByteArray& b) {
    for (const char c : b)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool isAscii(const QString& s) {
    for (const QChar c : s)
        if (c.unicode() >= 0x80) return false;
    return true;
}

// District and thing names repeat on every line: each is converted once.
class Cp932Cache {
public:
    std::optional<QString> decode(const QByteArray& bytes) {
        if (isAscii(bytes)) return QString::fromLatin1(bytes);
        const auto it = decoded_.constFind(bytes);
        if (it != decoded_.cend()) return *it;
        try {
            return *decoded_.insert(bytes, plat::DecodeCp932(bytes));
        } catch (const plat::AppError&) {
            return std::nullopt;
        }
    }
    QByteArray encode(const QString& text) {
        if (isAscii(text)) return text.toLatin1();
        const auto it = encoded_.constFind(text);
        if (it != encoded_.cend()) return *it;
        return *encoded_.insert(text, plat::EncodeCp932Lossy(text));
    }

private:
    QHash<QByteArray, QString> decoded_;
    QHash<QString, QByteArray> encoded_;
};

bool startsWithNoCase(const QString& line, QLatin1StringView prefix) {
    return line.startsWith(prefix, Qt::CaseInsensitive);
}

bool isBareFileName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

std::optional<int32_t> integerField(const QString& text) {
    bool ok = false;
    const int32_t v = text.trimmed().toInt(&ok);
    return ok ? std::optional<int32_t>(v) : std::nullopt;
}

std::optional<double> numberField(const QString& text) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

// A scale column as the list keeps it: the denominator's text; nothing when
// it is no number. A value below the smallest denominator is no scale and
// becomes "0", as an old step outside the table does: written again it
// could not tell the file's format wrongly.
std::optional<QString> scaleField(const QString& text, bool oldScales) {
    const std::optional<double> v = numberField(text);
    if (!v) return std::nullopt;
    if (!oldScales) return *v < kSmallestDenominator ? QStringLiteral("0") : text;
    const bool step = *v >= 1 && *v <= kOldSteps && *v == std::floor(*v);
    return step ? plat::FormatShortest(ScaleOfLevel10(static_cast<int16_t>(*v))) : QStringLiteral("0");
}

// A line as text: Latin-1 for language 1, whose Shift-JIS fields are decoded
// one by one later; Shift-JIS for language 2, where a line that is not
// Shift-JIS is marked bad and decoded with "?" for the header scan.
QString decodeLine(QByteArrayView line, int32_t language, bool& bad) {
    bad = false;
    if (language != 2) return QString::fromLatin1(line);
    const QByteArray bytes = line.toByteArray();
    try {
        return plat::DecodeCp932(bytes);
    } catch (const plat::AppError&) {
        bad = true;
        return plat::DecodeCp932Lossy(bytes);
    }
}

// Fields that repeat from place to place (map file, district, thing,
// scales) are kept once and shared by their rows.
class Interned {
public:
    QString operator()(const QString& s) {
        const auto it = strings_.constFind(s);
        if (it != strings_.cend()) return *it;
        strings_.insert(s, s);
        return s;
    }

private:
    QHash<QString, QString> strings_;
};

} // namespace

int32_t PlaceCount(const plat::FlexGridData& grid) { return std::max(grid.Rows() - 1, 0); }

namespace {

// The titles of columns 0..3, the column of the sort code marked.
void writeTitles(plat::FlexGridData& grid, int16_t code) {
    for (int32_t c = 0; c < 4; ++c) {
        const QString mark = SortMark(code, c);
        grid.setTextMatrix(0, c, kTitles[c] + mark);
        grid.select(0, c, 0, c);
        grid.setCellBackColor(mark.isEmpty() ? kButtonFace : kActiveCaption);
    }
}

} // namespace

void ClearPlaces(plat::FlexGridData& grid) {
    grid.setCols(kPlaceColumns);
    grid.setRows(1);
    grid.setFixedRows(0);
    // An empty list still shows what its columns hold.
    writeTitles(grid, 0);
    grid.select(0, 0, 0, 0);
}

int32_t AddUnitPlace(plat::FlexGridData& grid, const clsMapUnit* unit, int32_t language) {
    if (!unit) return 0;
    const clsMap& map = unit->Map();
    if (grid.Cols() != kPlaceColumns) grid.setCols(kPlaceColumns);
    const int32_t first = std::max(grid.Rows(), 1);
    grid.setRows(first + map.Count());
    const QString file = FileNameOf(map.FileName());
    int32_t row = first;
    for (const MapFigurePtr& figure : map) {
        const auto* text = dynamic_cast<const clsMapText*>(figure.get());
        if (!text) continue;
        const QString name = text->TextUnicode(language);
        if (name.isEmpty()) continue;
        const AdminPtr& admin = unit->Admins().Item(figure->Admin());
        const ThingPtr& thing = unit->Things().Item(figure->Thing());
        if (!admin || !thing) continue;
        // The range the figure is drawn in: its district chooses the page.
        const ThingPage& page = thing->PageRecord(admin->Page());
        const QString cells[kPlaceColumns] = {
            name, file, admin->NameIn(language), thing->Name(), QString::number(text->mx()), QString::number(text->my()),
            plat::FormatShortest(page.ScaleS), plat::FormatShortest(page.ScaleL), PlaceKey(name, language),
            QString::number(row)};
        for (int32_t c = 0; c < kPlaceColumns; ++c) grid.setTextMatrix(row, c, cells[c]);
        ++row;
    }
    grid.setRows(row);
    if (row > 1) grid.setFixedRows(1);
    return row - first;
}

QString SortMark(int16_t code, int32_t column) {
    if (code < 1 || code > 8 || (code - 1) / 2 != column) return QString();
    return code % 2 == 1 ? QStringLiteral("　▲") : QStringLiteral("　▼");
}

void SortPlaces(plat::FlexGridData& grid, int16_t code) {
    const int32_t places = PlaceCount(grid);
    if (places < 1) return;
    writeTitles(grid, code);
    if (code >= 1 && code <= 8) {
        const int32_t column = (code - 1) / 2;
        grid.select(1, column, places, column);
        grid.Sort(code % 2 == 1 ? plat::flexSortStringNoCaseAscending : plat::flexSortStringNoCaseDescending);
    }
    grid.select(1, 0, 1, grid.Cols() - 1);
}

GazetteerRead ParseGazetteer(const GazetteerLines& lines, int32_t language, plat::FlexGridData& grid) {
    GazetteerRead r;
    ClearPlaces(grid);

    int matches = 0;
    int32_t lineNo = 0;
    lines([&](QByteArrayView bytes) {
        ++lineNo;
        bool bad = false;
        const QString line = decodeLine(bytes, language, bad);
        if (startsWithNoCase(line, QLatin1StringView("# Gazetteer File"))) {
            ++matches;
        } else if (startsWithNoCase(line, QLatin1StringView("# number = "))) {
            ++matches;
            const QString value = line.mid(11).trimmed();
            if (value.isEmpty() || !value[0].isDigit()) r.badCountLine = lineNo;
            const double n = plat::Val(value);
            r.declared = n >= 1 ? static_cast<int32_t>(std::min(std::floor(n), double(kMaxGazetteerPlaces))) : 0;
        } else if (startsWithNoCase(line, QLatin1StringView("# sort = "))) {
            ++matches;
            const double s = plat::Val(line.mid(9));
            if (s >= 1 && s <= 8 && s == std::floor(s)) r.sortCode = static_cast<int16_t>(s);
        }
        return matches < 3;
    });
    if (matches < 3) return GazetteerRead{};
    r.header = true;
    if (r.declared == 0) return r;

    Cp932Cache cp932;
    Interned intern;
    bool decided = false;
    int32_t row = 0;
    lineNo = 0;
    lines([&](QByteArrayView bytes) {
        ++lineNo;
        if (bytes.isEmpty()) return true;
        bool bad = false;
        const QString line = decodeLine(bytes, language, bad);
        QStringList fields = line.split(QLatin1Char('\t'));
        // A comment has no fields: a place named "# ..." is still a place.
        if (fields.size() < 9 && line.startsWith(QLatin1String("# "))) return true;
        bool ok = !bad && fields.size() >= 9;
        if (ok && !decided) {
            // A first smallest scale that is no number decides nothing, nor
            // does a zero, which reads as no scale in either format.
            const std::optional<double> first = numberField(fields[kPlaceScaleS]);
            if (first && *first != 0) {
                decided = true;
                r.oldScales = *first < kSmallestDenominator;
            }
        }
        for (int32_t c = 0; ok && c < 9; ++c) {
            if (language == 2 || latin1Field(language, c)) continue;
            const std::optional<QString> text = cp932.decode(fields[c].toLatin1());
            if (text) fields[c] = *text;
            else ok = false;
        }
        std::optional<QString> scaleS, scaleL;
        if (ok) {
            scaleS = scaleField(fields[kPlaceScaleS], r.oldScales);
            scaleL = scaleField(fields[kPlaceScaleL], r.oldScales);
            ok = !fields[kPlaceName].isEmpty() && isBareFileName(fields[kPlaceFile]) && integerField(fields[kPlaceX]) &&
                 integerField(fields[kPlaceY]) && scaleS && scaleL;
        }
        if (!ok) {
            if (r.badLines++ == 0) r.firstBadLine = lineNo;
            return true;
        }
        fields[kPlaceScaleS] = *scaleS;
        fields[kPlaceScaleL] = *scaleL;
        for (const int32_t c : {kPlaceFile, kPlaceAdmin, kPlaceThing, kPlaceScaleS, kPlaceScaleL})
            fields[c] = intern(fields[c]);
        ++row;
        // Rows grow with the places read, not with the number declared.
        if (row >= grid.Rows()) grid.setRows(std::min(std::max(2 * grid.Rows(), 1024), r.declared + 1));
        for (int32_t c = 0; c < 9; ++c) grid.setTextMatrix(row, c, fields[c]);
        grid.setTextMatrix(row, kPlaceSerial, QString::number(row));
        ++r.places;
        return r.places < r.declared;
    });
    grid.setRows(row + 1);
    if (row > 0) grid.setFixedRows(1);
    return r;
}

GazetteerRead ParseGazetteer(const QByteArray& bytes, int32_t language, plat::FlexGridData& grid) {
    return ParseGazetteer([&](const std::function<bool(QByteArrayView)>& line) { plat::ForEachLine(bytes, line); },
                          language, grid);
}

GazetteerRead ReadGazetteerFile(const QString& path, int32_t language, plat::FlexGridData& grid) {
    plat::ReadOnlyFile file(path);
    return ParseGazetteer(
        [&](const std::function<bool(QByteArrayView)>& line) {
            file.rewind();
            plat::ForEachFileLine(file, kMaxGazetteerBytes, line);
        },
        language, grid);
}

QByteArray GazetteerBytes(const plat::FlexGridData& grid, int32_t language, int16_t sortCode) {
    const int32_t places = PlaceCount(grid);
    QString header = QStringLiteral("# Gazetteer File for KALDERO/SOLVANTE. ") +
                     (language == 2 ? QStringLiteral("Japanese") : QStringLiteral("Europian")) +
                     QStringLiteral(" Version.\r\n# number = %1\r\n# sort = %2\r\n").arg(places).arg(sortCode) +
                     QStringLiteral("# 地名 ファイル名 行政区名 事象名 経度 緯度 最小縮尺 最大縮尺 キー地名\r\n"
                                    "# ----+----------+--------+------+----+----+--------+--------+--------\r\n");
    const auto cell = [&grid](int32_t r, int32_t c) {
        QString s = grid.TextMatrix(r, c);
        for (QChar& ch : s)
            if (ch == QLatin1Char('\t') || ch == QLatin1Char('\r') || ch == QLatin1Char('\n')) ch = QLatin1Char(' ');
        // A scale below any denominator would read back as an old scale step.
        if (c == kPlaceScaleS || c == kPlaceScaleL) {
            const std::optional<double> v = numberField(s);
            if (v && *v < kSmallestDenominator) s = QStringLiteral("0");
        }
        return s;
    };
    if (language == 2) {
        // One conversion for the whole file.
        QString text = header;
        for (int32_t r = 1; r <= places; ++r) {
            for (int32_t c = 0; c < 9; ++c) {
                if (c > 0) text += QLatin1Char('\t');
                text += cell(r, c);
            }
            text += QStringLiteral("\r\n");
        }
        return plat::EncodeCp932Lossy(text);
    }
    Cp932Cache cp932;
    QByteArray out = cp932.encode(header);
    for (int32_t r = 1; r <= places; ++r) {
        for (int32_t c = 0; c < 9; ++c) {
            if (c > 0) out += '\t';
            const QString field = cell(r, c);
            out += latin1Field(language, c) ? field.toLatin1() : cp932.encode(field);
        }
        out += "\r\n";
    }
    return out;
}
