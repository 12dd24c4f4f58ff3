// Helpers of the map data tests: record bytes, a fixed clock and random
// source, the colour palette and ready-made figures.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDateTime>

#include <deque>
#include <initializer_list>

#include "BinaryIO.h"
#include "Clock.h"
#include "clsMapPolygon.h"
#include "clsMapRem.h"
#include "clsMapText.h"
#include "clsNativeColor.h"

namespace maptest {

// Little-endian bytes written field by field.
class Bytes {
public:
    Bytes& i16(int16_t v) { w_.i16(v); return *this; }
    Bytes& u8(uint8_t v) { w_.u8(v); return *this; }
    Bytes& i32(int32_t v) { w_.i32(v); return *this; }
    Bytes& f64(double v) { w_.f64(v); return *this; }
    Bytes& raw(const QByteArray& b) { w_.bytes(b); return *this; }
    Bytes& points(std::initializer_list<PolyPoint> pts) {
        for (const PolyPoint& p : pts) i32(p.x).i32(p.y);
        return *this;
    }
    QByteArray bytes() const { return w_.buffer(); }
    operator QByteArray() const { return bytes(); }

private:
    plat::BinaryWriter w_;
};

// The version record as the program writes it (1.04 remark layout).
inline QByteArray VersionRecord(const QString& version) {
    const QByteArray text = "Map File Version " + version.toLatin1();
    Bytes b;
    b.i16(1).i16(0).i16(static_cast<int16_t>(text.size())).raw(text);
    return b.bytes();
}
inline QByteArray VersionRecord104Plus(const QString& version) { return VersionRecord(version) + Bytes().i32(0).bytes(); }

// Random values taken from a list, then 0.
class ListRandom : public plat::RandomSource {
public:
    explicit ListRandom(std::initializer_list<double> v) : values_(v) {}
    double next() override {
        if (values_.empty()) return 0;
        double v = values_.front();
        values_.pop_front();
        return v;
    }

private:
    std::deque<double> values_;
};

// Installs a fixed clock and a repeatable random source for one test.
class FixedTime {
public:
    explicit FixedTime(QDateTime t = QDateTime(QDate(2024, 5, 6), QTime(12, 34, 56)))
        : clock_(std::move(t)), random_(7), oldClock_(plat::SetClock(&clock_)), oldRandom_(plat::SetRandom(&random_)) {}
    ~FixedTime() {
        plat::SetClock(oldClock_);
        plat::SetRandom(oldRandom_);
    }
    plat::FixedClock& clock() { return clock_; }

private:
    plat::FixedClock clock_;
    plat::SeededRandom random_;
    plat::Clock* oldClock_;
    plat::RandomSource* oldRandom_;
};

// The application's palette for the tests that need it.
class Palette {
public:
    Palette() : old_(gvNativeColor) { gvNativeColor = &palette_; }
    ~Palette() { gvNativeColor = old_; }
    clsNativeColor& get() { return palette_; }

private:
    clsNativeColor palette_;
    clsNativeColor* old_;
};

inline std::shared_ptr<clsMapRem> Rem(const QString& text, int16_t admin = 0) {
    auto r = std::make_shared<clsMapRem>();
    r->setAdmin(admin);
    r->setComment(text);
    return r;
}

template <class T>
std::shared_ptr<T> PolyFig(std::initializer_list<PolyPoint> pts, int16_t admin = 1, int16_t thing = 2) {
    auto f = std::make_shared<T>();
    auto p = std::make_shared<clsPoly>();
    for (const PolyPoint& q : pts) p->AddPoint(q);
    f->setPoly(p);
    f->setAdmin(admin);
    f->setThing(thing);
    return f;
}

inline std::shared_ptr<clsMapPolygon> Square(int32_t x = 0, int16_t admin = 1) {
    return PolyFig<clsMapPolygon>({{x, 0}, {x + 10, 0}, {x + 10, 10}, {x, 0}}, admin);
}

inline std::shared_ptr<clsMapSymbol> Sym(int32_t x, int32_t y, int16_t admin = 1, int16_t thing = 2) {
    auto s = std::make_shared<clsMapSymbol>();
    s->setMx(x);
    s->setMy(y);
    s->setAdmin(admin);
    s->setThing(thing);
    return s;
}

} // namespace maptest
