#include "Cities.h"

#include "TopoJson.h"

#include <QXmlStreamReader>

#include <cmath>
#include <set>

namespace worldsrc {

namespace {

[[noreturn]] void Fail(const char* what) { throw WorldSourceError(std::string("cities: ") + what); }

// Protocol-buffer wire format over a bounded buffer.
class Wire {
public:
    Wire(const char* p, size_t n) : p_(reinterpret_cast<const uint8_t*>(p)), n_(n) {}
    bool atEnd() const { return pos_ >= n_; }
    uint64_t varint() {
        uint64_t v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (pos_ >= n_) Fail("varint past the end");
            const uint8_t b = p_[pos_++];
            v |= uint64_t(b & 0x7F) << shift;
            if (!(b & 0x80)) return v;
        }
        Fail("varint too long");
    }
    int64_t svarint() {
        const uint64_t v = varint();
        return int64_t(v >> 1) ^ -int64_t(v & 1);
    }
    Wire sub() {
        const uint64_t len = varint();
        if (len > n_ - pos_) Fail("record past the end");
        Wire w(reinterpret_cast<const char*>(p_ + pos_), size_t(len));
        pos_ += size_t(len);
        return w;
    }
    QString text() {
        Wire w = sub();
        return QString::fromUtf8(reinterpret_cast<const char*>(w.p_), qsizetype(w.n_));
    }
    void skip(uint32_t wireType) {
        switch (wireType) {
        case 0: varint(); break;
        case 1: advance(8); break;
        case 2: sub(); break;
        case 5: advance(4); break;
        default: Fail("unknown wire type");
        }
    }

private:
    void advance(size_t k) {
        if (k > n_ - pos_) Fail("field past the end");
        pos_ += k;
    }
    const uint8_t* p_;
    size_t n_;
    size_t pos_ = 0;
};

int32_t ToSec(int64_t e5) {
    // 1e-5 degree is 0.036"; doubles hold these exactly enough, and the
    // rounding is the one of ToSeconds.
    const double s = std::nearbyint(double(e5) * 0.036);
    if (std::fabs(s) > MaxLonSec) Fail("coordinate out of range");
    return int32_t(s);
}

uint32_t Word(const QByteArray& b, size_t at, bool bigEndian) {
    if (at + 4 > size_t(b.size())) Fail(".mo table past the end");
    const auto* p = reinterpret_cast<const uint8_t*>(b.constData()) + at;
    return bigEndian ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]
                     : uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

QByteArray String(const QByteArray& b, size_t entry, bool bigEndian) {
    const uint32_t len = Word(b, entry, bigEndian);
    const uint32_t off = Word(b, entry + 4, bigEndian);
    if (size_t(off) + len > size_t(b.size())) Fail(".mo string past the end");
    return b.mid(qsizetype(off), qsizetype(len));
}

} // namespace

std::vector<City> ReadCities(const QByteArray& pbf) {
    std::vector<City> out;
    Wire file(pbf.constData(), size_t(pbf.size()));
    int64_t lon = 0, lat = 0;
    while (!file.atEnd()) {
        Wire rec = file.sub();
        City c;
        while (!rec.atEnd()) {
            const uint64_t key = rec.varint();
            const uint32_t field = uint32_t(key >> 3), type = uint32_t(key & 7);
            switch (field) {
            case 1: c.id = rec.svarint(); break;
            case 2: c.name = rec.text(); break;
            case 3: c.country = rec.text(); break;
            case 7: c.featureCode = rec.text(); break;
            case 9: c.population = int64_t(rec.varint()); break;
            case 10: lon += rec.svarint(); break;
            case 11: lat += rec.svarint(); break;
            default: rec.skip(type);
            }
        }
        c.at = {ToSec(lon), ToSec(lat)};
        if (std::abs(c.at.lat) > MaxLatSec) Fail("latitude out of range");
        out.push_back(std::move(c));
    }
    return out;
}

std::map<int64_t, QString> ReadPlaceNames(const QByteArray& mo) {
    if (mo.size() < 28) Fail(".mo header too short");
    const uint32_t magic = Word(mo, 0, false);
    bool big = false;
    if (magic == 0x950412DEu) big = false;
    else if (magic == 0xDE120495u) big = true;
    else Fail("not a .mo file");
    const uint32_t count = Word(mo, 8, big);
    const uint32_t ids = Word(mo, 12, big);
    const uint32_t texts = Word(mo, 16, big);
    if (uint64_t(count) * 8 > uint64_t(mo.size())) Fail(".mo count too large");
    std::map<int64_t, QString> out;
    for (uint32_t i = 0; i < count; ++i) {
        const QByteArray id = String(mo, size_t(ids) + size_t(i) * 8, big);
        bool ok = false;
        const int64_t n = id.toLongLong(&ok);
        if (!ok || n <= 0) continue;
        out[n] = QString::fromUtf8(String(mo, size_t(texts) + size_t(i) * 8, big));
    }
    return out;
}

bool IsJapaneseScript(const QString& name) {
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if ((u >= 0x3041 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) ||
            (u >= 0xFF66 && u <= 0xFF9F))
            return true;
    }
    return false;
}

QString FoldName(const QString& name) {
    QString out;
    for (const QChar c : name.normalized(QString::NormalizationForm_KD))
        if (c.isLetterOrNumber()) out += c.toCaseFolded();
    return out;
}

namespace {

// Each element of `tag` in a CLDR file with its attributes and text.
template <class F>
void ForElements(const QByteArray& xml, const char* file, const QString& tag, F&& f) {
    QXmlStreamReader r(xml);
    while (!r.atEnd()) {
        if (r.readNext() != QXmlStreamReader::StartElement || r.name() != tag) continue;
        const QXmlStreamAttributes a = r.attributes();
        f(a, r);
    }
    if (r.hasError())
        throw WorldSourceError(QStringLiteral("%1: %2 (line %3)").arg(QLatin1String(file), r.errorString()).arg(r.lineNumber()).toStdString());
}

} // namespace

std::vector<CldrCity> ReadZoneCities(const QByteArray& timezoneXml, const QByteArray& jaXml) {
    std::map<QString, QString> exemplar;  // zone id, Japanese city
    ForElements(jaXml, "ja.xml", QStringLiteral("zone"), [&](const QXmlStreamAttributes& a, QXmlStreamReader& r) {
        const QString zone = a.value(QLatin1String("type")).toString();
        while (r.readNextStartElement()) {
            if (r.name() == QLatin1String("exemplarCity") && !r.attributes().hasAttribute(QLatin1String("alt"))) {
                const QString city = r.readElementText().trimmed();
                if (!city.isEmpty()) exemplar.emplace(zone, city);
            } else {
                r.skipCurrentElement();
            }
        }
    });
    static const QStringList regions{"Africa", "America", "Antarctica", "Arctic", "Asia", "Atlantic", "Australia",
                                     "Europe", "Indian", "Pacific"};
    std::vector<CldrCity> out;
    ForElements(timezoneXml, "timezone.xml", QStringLiteral("type"), [&](const QXmlStreamAttributes& a, QXmlStreamReader&) {
        const QString key = a.value(QLatin1String("name")).toString();
        const QStringList aliases = a.value(QLatin1String("alias")).toString().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        CldrCity z;
        for (const QString& alias : aliases) {
            const auto it = exemplar.find(alias);
            if (it != exemplar.end() && z.japanese.isEmpty()) z.japanese = it->second;
            const QStringList parts = alias.split(QLatin1Char('/'));
            if (parts.size() >= 2 && regions.contains(parts.front()))
                z.english << FoldName(QString(parts.back()).replace(QLatin1Char('_'), QLatin1Char(' ')));
        }
        const QString description = a.value(QLatin1String("description")).toString();
        if (description.contains(QLatin1Char(','))) z.english << FoldName(description.section(QLatin1Char(','), 0, 0));
        if (z.japanese.isEmpty() || key.size() < 2) return;
        z.country = key.left(2).toUpper();
        z.english.removeDuplicates();
        z.english.removeAll(QString());
        out.push_back(std::move(z));
    });
    return out;
}

std::vector<CldrCity> ReadDivisionSeats(const QByteArray& enXml, const QByteArray& jaXml) {
    const auto read = [](const QByteArray& xml, const char* file) {
        std::map<QString, QString> out;
        ForElements(xml, file, QStringLiteral("subdivision"), [&](const QXmlStreamAttributes& a, QXmlStreamReader& r) {
            if (a.hasAttribute(QLatin1String("alt"))) return;
            const QString key = a.value(QLatin1String("type")).toString();
            out.emplace(key, r.readElementText().trimmed());
        });
        return out;
    };
    const std::map<QString, QString> english = read(enXml, "subdivisions/en.xml");
    static const QStringList words{"地域自治体", "基礎自治体", "連邦領", "特別区", "管区", "地区", "地方", "教区",
                                   "県", "州", "省", "区", "郡"};
    std::vector<CldrCity> out;
    for (auto& [key, japanese] : read(jaXml, "subdivisions/ja.xml")) {
        const auto en = english.find(key);
        if (en == english.end() || key.size() < 3 || japanese.contains(QLatin1Char('(')) || japanese.contains(u'（'))
            continue;
        QString name = japanese;
        for (const QString& w : words)
            if (name.endsWith(w) && name.size() > w.size() + 1) {
                name.chop(w.size());
                break;
            }
        out.push_back({key.left(2).toUpper(), {FoldName(en->second)}, name, true});
    }
    return out;
}

std::map<int64_t, QString> JapaneseNames(const std::map<int64_t, QString>& geonames, const std::vector<City>& cities,
                                         const std::vector<CldrCity>& zones, int* filled) {
    std::map<int64_t, QString> out;
    for (const auto& [id, name] : geonames)
        if (IsJapaneseScript(name)) out.emplace(id, name);
    std::set<std::pair<QString, QString>> wanted;  // country, folded name
    for (const CldrCity& z : zones)
        for (const QString& e : z.english) wanted.insert({z.country, e});
    std::map<std::pair<QString, QString>, std::vector<const City*>> named;
    for (const City& c : cities) {
        std::pair<QString, QString> key{c.country, FoldName(c.name)};
        if (wanted.count(key)) named[std::move(key)].push_back(&c);
    }
    int n = 0;
    const auto seat = [](const City* c) { return c->featureCode == QLatin1String("PPLC") || c->featureCode == QLatin1String("PPLA"); };
    for (const CldrCity& z : zones) {
        std::set<const City*> found;
        for (const QString& e : z.english) {
            const auto it = named.find({z.country, e});
            if (it != named.end()) found.insert(it->second.begin(), it->second.end());
        }
        std::vector<const City*> seats;
        for (const City* c : found)
            if (seat(c)) seats.push_back(c);
        const City* city = found.size() == 1 && !z.seatOnly ? *found.begin() : seats.size() == 1 ? seats.front() : nullptr;
        if (city && out.emplace(city->id, z.japanese).second) ++n;
    }
    if (filled) *filled = n;
    return out;
}

} // namespace worldsrc
