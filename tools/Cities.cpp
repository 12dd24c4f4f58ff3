#include "Cities.h"

#include "TopoJson.h"

#include <cmath>

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

} // namespace worldsrc
