#include "MapTextFile.h"

#include <QHash>
#include <QStringDecoder>

#include <cmath>
#include <deque>

#include "TextFile.h"
#include "basAngle.h"
#include "basHMap.h"
#include "basHMapCoord.h"
#include "clsMapRem.h"
#include "clsMapText.h"

namespace maptext {

namespace {

const QChar kQuote = QLatin1Char('"');
const QChar kComma = QLatin1Char(',');
const QString kCrLf = QStringLiteral("\r\n");
const QString kUserCategory = QStringLiteral("ユーザー図形");
constexpr int32_t kLastCategory = 20;

QString Joined(std::initializer_list<QString> fields) {
    QString s;
    for (const QString& f : fields) {
        if (!s.isNull()) s += kComma;
        s += f;
        if (s.isNull()) s = QLatin1String("");
    }
    return s;
}

QString ThingName(const clsMapFigure& f, const clsMapUnit& unit) {
    const auto& thing = unit.Things().Item(f.Thing());
    return thing ? CsvField(thing->Name()) : QStringLiteral(" ");
}

QString AdminName(const clsMapFigure& f, const clsMapUnit& unit) {
    const auto& admin = unit.Admins().Item(f.Admin());
    return admin ? CsvField(admin->AdminName()) : QStringLiteral(" ");
}

QString PointFields(const clsPoly& poly) {
    QString s;
    for (int32_t i = 1; i <= poly.Count(); ++i) {
        if (i > 1) s += kCrLf + QStringLiteral(",,,,,,,");
        s += MapXToStr(poly.x(i)) + kComma + MapYToStr(poly.y(i));
    }
    return s;
}

// A whole number of a text line's field; plain decimals are rounded.
bool NumberField(const QString& field, int32_t& value) {
    bool ok = false;
    const double v = field.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > 2147483647.0) return false;
    value = static_cast<int32_t>(std::nearbyint(v));
    return true;
}

class LineReader {
public:
    LineReader(clsMapUnit& unit, clsMap& into, const std::function<bool(const QString&)>& ask)
        : unit_(unit), into_(into), ask_(ask) {}

    // False once the user chose to stop. lineNo counts from 1.
    bool Read(const QString& line, QStringList fields, int32_t lineNo);
    bool Finish() { return closeOpen(); }
    int32_t BadLines() const { return badLines_; }
    int32_t FirstBadLine() const { return firstBadLine_; }

private:
    int16_t thingNumber(const QString& name, int32_t kind);
    int16_t adminNumber(const QString& name);
    bool refuse(const QString& line, const QString& reason) {
        return ask_(QStringLiteral("地図図形の追加に失敗しました.") + kCrLf + line + kCrLf + reason + kCrLf +
                    QStringLiteral("継続しますか？"));
    }
    // A polyline or polygon is complete once another figure or the end
    // comes: one the map cannot hold is taken out again and reported.
    bool closeOpen();

    clsMapUnit& unit_;
    clsMap& into_;
    const std::function<bool(const QString&)>& ask_;
    int order_ = 0;   // 0 undecided (read as normal), 1 normal, 2 swapped
    MapFigurePtr open_;
    // The further points of a polyline or polygon refused with its first
    // line go with it: they are not counted again.
    bool dropping_ = false;
    int32_t badLines_ = 0, firstBadLine_ = 0;
    QString openLine_;
    QHash<QString, int16_t> things_, admins_;
};

int16_t LineReader::thingNumber(const QString& name, int32_t kind) {
    const auto known = things_.constFind(name);
    if (known != things_.cend()) return *known;
    clsThings& things = unit_.Things();
    int16_t n = things.Search(name);
    if (n == -1 && !name.isEmpty() && kind >= 2) {
        int32_t category = kLastCategory;
        for (int32_t c = 1; c <= kLastCategory; ++c) {
            if (things.CategoryName(c) == kUserCategory) {
                category = c;
                break;
            }
        }
        auto thing = std::make_shared<clsThing>();
        thing->setName(name);
        thing->setFigure(kind);
        thing->setCategory(category);
        if (things.Add(thing)) n = things.Search(name);
    }
    things_.insert(name, n);
    return n;
}

int16_t LineReader::adminNumber(const QString& name) {
    const auto known = admins_.constFind(name);
    if (known != admins_.cend()) return *known;
    const int16_t n = std::max<int16_t>(unit_.Admins().Search(name), 0);
    admins_.insert(name, n);
    return n;
}

bool LineReader::closeOpen() {
    if (!open_) return true;
    const MapFigurePtr f = std::exchange(open_, nullptr);
    if (f->IsRight()) return true;
    into_.Remove(into_.Count());
    return refuse(openLine_, QStringLiteral("点の数が足りません. [%1]").arg(f->Poly()->Count()) + kCrLf);
}

bool LineReader::Read(const QString& line, QStringList f, int32_t lineNo) {
    while (f.size() < kFields) f.append(QString());
    bool blank = true;
    for (const QString& s : f) blank = blank && s.trimmed().isEmpty();
    if (blank) return true;
    if (f[0] == QStringLiteral("(図形種名)")) {
        dropping_ = false;
        return closeOpen();
    }

    const int32_t kind = KindOfField(f[0]);
    if (order_ == 0) {
        if (AngleKindOf(f[8]) == 2) order_ = 1;
        else if (AngleKindOf(f[7]) == 2) order_ = 2;
    }
    if (kind == 0 && !open_) {
        // A line that gives neither a figure nor a point of one: skipped,
        // and counted for one report at the end.
        if (!dropping_ && badLines_++ == 0) firstBadLine_ = lineNo;
        return true;
    }
    const QString& xs = order_ == 2 ? f[8] : f[7];
    const QString& ys = order_ == 2 ? f[7] : f[8];
    const PolyPoint p{MapStrToXSafe(xs), MapStrToYSafe(ys)};
    // A point beyond the map's range (a latitude of 135 degrees) is no point
    // of it either.
    const bool badPoint = p.x == kInvalidCoordinate || p.y == kInvalidCoordinate || !IsValidMapX(p.x, false) ||
                          !IsValidMapY(p.y, false);
    const auto pointReason = [&] { return QStringLiteral("座標に変換できません. [%1, %2]").arg(xs, ys) + kCrLf; };

    if (kind == 0) {
        if (badPoint) return refuse(line, pointReason());
        open_->Poly()->AddXandY(p.x, p.y);
        return true;
    }
    if (!closeOpen()) return false;
    // Until it is open, a polyline or polygon counts as refused.
    dropping_ = kind == 2 || kind == 3;
    if (kind == 1) {
        if (into_.Add(NewMapRem(f[3]))) return true;
        return refuse(line, QString());
    }

    const QString thingField = f[1].trimmed();
    const int16_t thing = thingNumber(thingField, kind);
    const int16_t admin = adminNumber(f[2].trimmed());
    QString reason;
    if (thing == -1)
        reason = QStringLiteral("事象番号に変換できません. [") + thingField + QStringLiteral("]") + kCrLf +
                 QStringLiteral("事象ファイルにこの事象を定義してください.") + kCrLf;
    if (badPoint) return refuse(line, reason + pointReason());

    MapFigurePtr fig = NewMapFigure(kind);
    fig->setThing(thing);
    fig->setAdmin(admin);
    if (kind == 5) {
        auto* text = static_cast<clsMapText*>(fig.get());
        int32_t fix = 0, angle = 0;
        if (!NumberField(f[5], fix) || !NumberField(f[6], angle) || fix < 0 || fix > 24)
            return refuse(line, reason + QStringLiteral("固定位置または角度に変換できません. [%1, %2]").arg(f[5], f[6]) + kCrLf);
        text->setTextUnicode(1, f[3]);
        text->setTextUnicode(2, f[4]);
        text->setTextFix(fix);
        text->setAngle(angle);
    }
    auto poly = std::make_shared<clsPoly>();
    poly->AddXandY(p.x, p.y);
    const bool line2 = kind == 2 || kind == 3;
    // Add checks the whole figure: a line's further points come later, so it
    // is checked with stand-ins first and cut back once it is in.
    if (line2) poly->setCount(kind == 2 ? 2 : 4);
    fig->setPoly(poly);
    if (!into_.Add(fig)) return refuse(line, reason);
    if (line2) {
        poly->setCount(1);
        open_ = fig;
        openLine_ = line;
    }
    return true;
}

// Whether a line ends inside a quoted field, given whether it starts in one
// (the rules of SplitRecord).
bool EndsOpen(const QString& s, bool quoted) {
    const qsizetype n = s.size();
    bool fieldStart = !quoted;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = s[i];
        if (quoted) {
            if (c != kQuote) continue;
            if (i + 1 < n && s[i + 1] == kQuote) {
                ++i;
            } else if (i + 1 >= n || s[i + 1] == kComma) {
                quoted = false;
                fieldStart = false;
            }
        } else if (c == kComma) {
            fieldStart = true;
        } else {
            quoted = c == kQuote && fieldStart;
            fieldStart = false;
        }
    }
    return quoted;
}

} // namespace

QString CsvField(const QString& text) {
    for (QChar c : text)
        if (c == kComma || c == kQuote || c == QLatin1Char('\r') || c == QLatin1Char('\n')) return QuotedField(text);
    return text;
}

QString QuotedField(const QString& text) {
    QString s = text;
    s.replace(kQuote, QStringLiteral("\"\""));
    return kQuote + s + kQuote;
}

namespace {

// Hands each field of a record to `take` in turn; the result of SplitRecord.
template <class Take>
bool SplitFields(const QString& record, Take take) {
    QString cur;
    const qsizetype n = record.size();
    qsizetype i = 0;
    bool open = false;
    for (;;) {
        if (i < n && record[i] == kQuote) {
            open = true;
            ++i;
            while (i < n) {
                const QChar c = record[i];
                if (c == kQuote) {
                    const bool more = i + 1 < n;
                    if (more && record[i + 1] == kQuote) {
                        cur += kQuote;
                        i += 2;
                        continue;
                    }
                    if (!more || record[i + 1] == kComma) {
                        open = false;
                        ++i;
                        break;
                    }
                }
                cur += c;
                ++i;
            }
            // Characters after the closing quote belong to the field.
            while (!open && i < n && record[i] != kComma) cur += record[i++];
        } else {
            while (i < n && record[i] != kComma) cur += record[i++];
        }
        take(std::move(cur));
        cur = QString();
        if (i >= n) return open;
        ++i;   // the comma
    }
}

// The fields the reader needs: the nine, and of the fields after them only
// the first that is not blank (a line is blank when all its fields are), so
// a line of millions of commas costs no list of millions of fields.
bool SplitKept(const QString& record, QStringList& fields) {
    fields.clear();
    return SplitFields(record, [&](QString&& field) {
        if (fields.size() < kFields || (fields.size() == kFields && !QStringView(field).trimmed().isEmpty()))
            fields.append(std::move(field));
    });
}

} // namespace

bool SplitRecord(const QString& record, QStringList& fields) {
    fields.clear();
    return SplitFields(record, [&](QString&& field) { fields.append(std::move(field)); });
}

QString HeaderLine(int32_t mapMode) {
    return QStringLiteral("(図形種名),(事象名),(行政区名),(欧州語地名/コメント),(日本語地名),(点数/固定位置),(角度),") +
           (mapMode == 2 ? QStringLiteral("(Ｘ),(Ｙ)") : QStringLiteral("(経度),(緯度)"));
}

QString FigureToStrAll(const clsMapFigure* figure, const clsMapUnit* unit, bool points) {
    if (!figure || !unit) return QStringLiteral(" , , , , , , ");
    const int32_t code = figure->FigCode();
    const QString kind = FigCodeToName(code, 2);
    if (code == 1) {
        const QString text = QuotedField(QStringLiteral(" ") + static_cast<const clsMapRem*>(figure)->Comment());
        return Joined({kind, QString(), QString(), text, QString(), QString(), QString(), QString()});
    }
    QString count, angle, coords;
    if (points) {
        const auto poly = figure->Poly();
        count = QString::number(poly->Count());
        coords = PointFields(*poly);
    }
    QString text1, text2;
    if (code == 5) {
        const auto* t = static_cast<const clsMapText*>(figure);
        text1 = QuotedField(t->TextUnicode(1));
        text2 = QuotedField(t->TextUnicode(2));
        count = QString::number(t->TextFix());
        angle = QString::number(t->Angle());
    }
    return Joined({kind, ThingName(*figure, *unit), AdminName(*figure, *unit), text1, text2, count, angle, coords});
}

int32_t KindOfField(const QString& field) {
    static const QHash<QString, int32_t> kinds = {
        {QStringLiteral("注釈"), 1},   {QStringLiteral("REM"), 1},     {QStringLiteral("連続線"), 2},
        {QStringLiteral("POLYLINE"), 2}, {QStringLiteral("多辺形"), 3}, {QStringLiteral("POLYGON"), 3},
        {QStringLiteral("点記号"), 4}, {QStringLiteral("SYMBOL"), 4},  {QStringLiteral("文字列"), 5},
        {QStringLiteral("TEXT"), 5},
    };
    return kinds.value(field, 0);
}

QByteArray EncodeFileText(const QString& text) {
    if (plat::IsCp932Encodable(text)) return plat::EncodeCp932(text);
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

QString DecodeFileText(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);   // a cut last character is an error too
        QString text = utf8(bytes.mid(3));
        if (utf8.hasError()) plat::ThrowRuntimeError(13);
        return text;
    }
    return plat::DecodeCp932(bytes);
}

ReadResult ReadFigureLines(const LineSource& next, clsMapUnit& unit, clsMap& into,
                           const std::function<bool(const QString&)>& askContinue,
                           const std::function<bool(qsizetype)>& progress) {
    LineReader reader(unit, into, askContinue);
    ReadResult result;
    QStringList fields;
    // Lines read to find the end of an open record that did not end within
    // reach: they are read again as lines of their own. Each knows whether
    // it ends inside a quoted field when it starts in one, so a file of open
    // records is looked through once.
    struct Ahead {
        QString line;
        bool open;
    };
    std::deque<Ahead> ahead;
    bool atEnd = false;
    const auto pull = [&](QString& line) {
        if (!atEnd && !next(line)) atEnd = true;
        return !atEnd;
    };
    const auto take = [&](QString& line) {
        if (ahead.empty()) return pull(line);
        line = std::move(ahead.front().line);
        ahead.pop_front();
        return true;
    };
    qsizetype done = 0;
    QString record;
    while (take(record)) {
        if (progress && !progress(done)) {
            result.cancelled = true;
            break;
        }
        const qsizetype first = done++;
        if (SplitKept(record, fields)) {
            // A quoted field with a line break goes on in the next lines; one
            // not closed within a few lines reads as its own line alone.
            size_t last = 0;
            bool closed = false;
            for (; last + 1 < kMaxRecordLines; ++last) {
                if (last == ahead.size()) {
                    QString line;
                    if (!pull(line)) break;
                    const bool open = EndsOpen(line, true);
                    ahead.push_back({std::move(line), open});
                }
                if ((closed = !ahead[last].open)) break;
            }
            if (closed) {
                for (size_t j = 0; j <= last; ++j) {
                    record += kCrLf + ahead.front().line;
                    ahead.pop_front();
                }
                done += static_cast<qsizetype>(last) + 1;
                SplitKept(record, fields);
            }
        }
        if (!reader.Read(record, fields, static_cast<int32_t>(std::min<qsizetype>(first + 1, INT32_MAX)))) {
            result.stopped = true;
            break;
        }
    }
    if (!result.cancelled && !result.stopped && !reader.Finish()) result.stopped = true;
    result.badLines = reader.BadLines();
    result.firstBadLine = reader.FirstBadLine();
    return result;
}

ReadResult ReadFigureLines(const QStringList& lines, clsMapUnit& unit, clsMap& into,
                           const std::function<bool(const QString&)>& askContinue,
                           const std::function<bool(qsizetype, qsizetype)>& progress) {
    qsizetype i = 0;
    const auto next = [&](QString& line) {
        if (i >= lines.size()) return false;
        line = lines[i++];
        return true;
    };
    std::function<bool(qsizetype)> done;
    if (progress) done = [&](qsizetype d) { return progress(d, lines.size()); };
    return ReadFigureLines(next, unit, into, askContinue, done);
}

} // namespace maptext
