// Helpers of the map data tests: record bytes, a fixed clock and random
// source, the colour palette, ready-made figures, catalogue files in the
// program's encoding and folders of their own.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDateTime>

#include <deque>
#include <initializer_list>

#include "../../foundation/tests/FoundationTest.h"
#include "AppInfo.h"
#include "AppState.h"
#include "BinaryIO.h"
#include "Clock.h"
#include "TestSupport.h"
#include "TextFile.h"
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
    operator QByteArray() const { return w_.buffer(); }

private:
    plat::BinaryWriter w_;
};

// The version record as the program writes it (1.04 remark layout), and
// with the attribute word of 1.04 and later.
inline QByteArray VersionRecord(const QString& version) {
    const QByteArray text = "Map File Version " + version.toLatin1();
    return Bytes().i16(1).i16(0).i16(static_cast<int16_t>(text.size())).raw(text);
}
inline QByteArray VersionRecord104Plus(const QString& version) { return VersionRecord(version) + Bytes().i32(0); }

// Random values taken from a list, then 0.
class ListRandom : public plat::RandomSource {
public:
    explicit ListRandom(std::initializer_list<double> v) : values_(v) {}
    double next() override {
        if (values_.empty()) return 0;
        const double v = values_.front();
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

// A map folder, a program folder and another folder for one test; the
// display language is European unless the test changes it.
class Folders {
public:
    Folders() : oldMapFolder_(gvMapFolder), oldAppPath_(plat::AppPath()), oldLanguage_(gvLanguage) {
        gvMapFolder = maps_.path();
        plat::SetAppPath(program_.path());
        gvLanguage = 1;
    }
    ~Folders() {
        gvMapFolder = oldMapFolder_;
        plat::SetAppPath(oldAppPath_);
        gvLanguage = oldLanguage_;
    }
    QString map(const QString& name) const { return maps_.file(name); }
    QString program(const QString& name) const { return program_.file(name); }
    QString other(const QString& name) const { return other_.file(name); }

private:
    testsupport::TempDir maps_, program_, other_;
    QString oldMapFolder_, oldAppPath_;
    long oldLanguage_;
};

// Lines written as Shift-JIS with CR LF.
inline void WriteLines(const QString& path, const QStringList& lines) {
    testsupport::WriteBytes(path, plat::EncodeCp932(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
}

// The lines a catalogue writes.
template <class Catalogue>
QStringList LinesOf(const Catalogue& c) {
    plat::TextWriter out(QStringLiteral("unused"));
    c.WriteTo(out);
    QStringList lines = out.text().split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

using ftest::ErrorOf;

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
