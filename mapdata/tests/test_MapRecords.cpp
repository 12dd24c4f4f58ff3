// Record bytes of every kind in every version, both ways.
#include <gtest/gtest.h>

#include "MapTestSupport.h"
#include "basHMap.h"
#include "clsMapPolygon.h"
#include "clsMapRem.h"
#include "clsMapText.h"

#include <cmath>

using namespace maptest;

namespace {

const QByteArray kTokyo("\x93\x8C\x8B\x9E");   // 東京: 2 characters, 4 bytes
const QByteArray kRemark = kTokyo + " x";       // 4 characters, 6 bytes
const QByteArray kEuro("Ca\xE2");

constexpr double kId = 4512345678912345.0;
constexpr int32_t kAdmin = 3, kThing = 7, kReserve = 9, kJump = 2, kShow = 1;

MapFigurePtr sample(int32_t code, int32_t colour) {
    MapFigurePtr f = NewMapFigure(code);
    switch (code) {
    case 1: std::static_pointer_cast<clsMapRem>(f)->setComment(QStringLiteral("東京 x")); break;
    case 2:
    case 3: {
        auto p = std::make_shared<clsPoly>();
        p->AddXandY(1, 2);
        p->AddXandY(3, 4);
        p->AddXandY(5, -6);
        p->AddXandY(1, 2);
        f->setPoly(p);
        break;
    }
    case 4: std::static_pointer_cast<clsMapSymbol>(f)->setPosition({-5, 6}); break;
    case 5: {
        auto t = std::static_pointer_cast<clsMapText>(f);
        t->setPosition({1, 2});
        t->setTextFix(12);
        t->setAngle(-30);
        t->setTextAnsi(1, kEuro);
        t->setTextAnsi(2, kTokyo);
        break;
    }
    }
    f->setFigID(kId);
    f->setAdmin(kAdmin);
    f->setThing(kThing);
    f->setOwnColor(colour);
    f->setOwnShowMode(kShow);
    f->setJumpMark(kJump);
    f->setReserve(kReserve);
    return f;
}

// The body after the common fields of the layout.
void body(Bytes& b, int32_t code, int16_t version) {
    switch (code) {
    case 1: break;   // the text comes with the count, per version, below
    case 2:
    case 3:
        if (version >= 106) b.i32(4);
        else b.i16(4);
        b.points({{1, 2}, {3, 4}, {5, -6}, {1, 2}});
        break;
    case 4: b.i32(-5).i32(6); break;
    case 5:
        b.i32(1).i32(2).i16(12).i16(-30).i16(3).raw(kEuro);
        b.i16(version >= 105 ? 4 : 2).raw(kTokyo);
        break;
    }
}

QByteArray expected(int32_t code, int16_t version, int32_t colour, int32_t paletteIndex) {
    Bytes b;
    b.i16(static_cast<int16_t>(code));
    if (version == 106) {
        const int32_t lengths[] = {30 + 6, 32 + 32, 32 + 32, 36, 44 + 3 + 4};
        b.i32(lengths[code - 1]).f64(kId).i16(kAdmin).i16(code == 1 ? -1 : kThing).i32(colour);
        b.u8(kShow + 1).u8(kJump).i32(kReserve);
        if (code == 1) b.i16(6).raw(kRemark);
        body(b, code, version);
        return b;
    }
    b.i16(kAdmin);
    if (code != 1 || version == 105) b.i16(code == 1 ? -1 : kThing);
    if (version == 105) b.i32((kJump << 27) | ((kShow + 1) << 24) | 0x4000000 | colour);
    if (code == 1) b.i16(4).raw(kRemark);
    body(b, code, version);
    if (version == 104) b.i32((kShow + 1) + (paletteIndex + 1) * 4);
    return b;
}

MapFigurePtr readBack(const QByteArray& bytes, int16_t version) {
    plat::BinaryReader in(bytes);
    MapFigurePtr f = NewMapFigure(in.i16());
    f->ReadElm(in, version);
    EXPECT_TRUE(in.atEnd());
    return f;
}

} // namespace

TEST(MapRecords, EveryKindInEveryVersion) {
    FixedTime time;
    Palette palette;
    const int16_t index = 5;
    const int32_t colour = palette.get().Color(index);
    for (int16_t version : {106, 105, 104, 103, 100, 99}) {
        for (int32_t code = 1; code <= 5; ++code) {
            SCOPED_TRACE(testing::Message() << "version " << version << " code " << code);
            MapFigurePtr f = sample(code, colour);
            ASSERT_TRUE(f->IsRight());
            plat::BinaryWriter w;
            f->WriteElm(w, version);
            EXPECT_FALSE(f->Modify());
            const QByteArray want = expected(code, version, colour, index);
            EXPECT_EQ(w.buffer().toHex().toStdString(), want.toHex().toStdString());

            MapFigurePtr r = readBack(want, version);
            EXPECT_FALSE(r->Modify());
            EXPECT_TRUE(r->IsRight());
            EXPECT_EQ(r->Admin(), kAdmin);
            EXPECT_EQ(r->Thing(), code == 1 ? -1 : kThing);
            EXPECT_EQ(r->OwnColor(), version >= 104 ? colour : -1);
            EXPECT_EQ(r->OwnShowMode(), version >= 104 ? kShow : -1);
            EXPECT_EQ(r->JumpMark(), version >= 105 ? kJump : 0);
            EXPECT_EQ(r->Reserve(), version >= 106 ? kReserve : 0);
            const double wantId = version >= 106 ? kId : std::floor(NewFigID() / 100000);
            EXPECT_EQ(version >= 106 ? r->FigID() : std::floor(r->FigID() / 100000), wantId);
            EXPECT_TRUE(r->Poly()->IsMatch(*f->Poly()));
            if (code == 1) {
                EXPECT_EQ(std::static_pointer_cast<clsMapRem>(r)->Comment(), "東京 x");
            }
            if (code == 5) {
                auto t = std::static_pointer_cast<clsMapText>(r);
                EXPECT_EQ(t->TextAnsi(1), kEuro);
                EXPECT_EQ(t->TextAnsi(2), kTokyo);
                EXPECT_EQ(t->TextUnicode(2), "東京");
                EXPECT_EQ(t->TextFix(), 12);
                EXPECT_EQ(t->Angle(), -30);
            }
        }
    }
}

TEST(MapRecords, EmptyTextsAndRemarks) {
    clsMapText t;
    t.setAdmin(0);
    t.setThing(0);
    for (int16_t version : {106, 105, 104}) {
        plat::BinaryWriter w;
        t.WriteElm(w, version);
        const QByteArray b = w.buffer();
        // Both counts 0, no text bytes.
        const qsizetype textAt = version == 106 ? 28 + 12 : 6 + (version == 105 ? 4 : 0) + 12;
        EXPECT_EQ(b.mid(textAt, 4), QByteArray(4, '\0')) << version;
        auto r = std::static_pointer_cast<clsMapText>(readBack(b, version));
        EXPECT_EQ(r->TextAnsi(1), QByteArray(1, '\0'));
        EXPECT_EQ(r->TextAnsi(2), QByteArray(1, '\0'));
    }
    // Counts of 0 or less read as the empty text.
    const QByteArray neg = Bytes().i16(5).i16(0).i16(0).i32(0).i32(0).i16(10).i16(0).i16(-4).i16(0);
    auto r = std::static_pointer_cast<clsMapText>(readBack(neg, 103));
    EXPECT_EQ(r->TextUnicode(1), "");

    clsMapRem rem;
    rem.setAdmin(0);
    plat::BinaryWriter w;
    rem.WriteElm(w, 106);
    EXPECT_EQ(w.buffer().size(), 30);
}

TEST(MapRecords, CharacterAndByteCountsOfJapaneseTexts) {
    const QByteArray nihongo("\x93\xFA\x96\x7B\x8C\xEA");   // 日本語
    for (auto [version, count] : {std::pair<int16_t, int16_t>{104, 3}, {105, 6}, {106, 6}}) {
        clsMapText t;
        t.setAdmin(0);
        t.setThing(0);
        t.setTextAnsi(2, nihongo);
        plat::BinaryWriter w;
        t.WriteElm(w, version);
        const QByteArray b = w.buffer();
        const qsizetype at = b.size() - nihongo.size() - 2 - (version == 104 ? 4 : 0);
        plat::BinaryReader in(b.constData() + at, 2);
        EXPECT_EQ(in.i16(), count) << version;
        EXPECT_EQ(std::static_pointer_cast<clsMapText>(readBack(b, version))->TextAnsi(2), nihongo);
    }
    // A half-width katakana is one byte and one character.
    const QByteArray mixed = Bytes().i16(1).i16(0).i16(3).raw("\xB1" "a\x93\x8C");
    EXPECT_EQ(std::static_pointer_cast<clsMapRem>(readBack(mixed, 103))->Comment(), "ｱa東");
}

TEST(MapRecords, AttributeWordsOnReading) {
    Palette palette;
    const QByteArray rem104 = Bytes().i16(1).i16(0).i16(1).raw("x").i32(6);
    MapFigurePtr r = readBack(rem104, 104);
    EXPECT_EQ(r->OwnShowMode(), 1);
    EXPECT_EQ(r->OwnColor(), palette.get().Color(0));
    EXPECT_EQ(r->JumpMark(), 0);

    const QByteArray sym105 = Bytes().i16(4).i16(0).i16(0).i32(0x01ABCDEF).i32(1).i32(2);
    r = readBack(sym105, 105);
    EXPECT_EQ(r->OwnColor(), -1);
    EXPECT_EQ(r->OwnShowMode(), 0);
}

TEST(MapRecords, LongRecordLengthIn32Bits) {
    clsMapText t;
    t.setAdmin(0);
    t.setThing(0);
    t.setTextAnsi(1, QByteArray(32767, 'e'));
    t.setTextAnsi(2, QByteArray(32767, 'j'));
    plat::BinaryWriter w;
    t.WriteElm(w, 106);
    plat::BinaryReader in(w.buffer());
    in.i16();
    EXPECT_EQ(in.i32(), 44 + 32767 * 2);
    EXPECT_EQ(w.buffer().size(), 44 + 32767 * 2);
}

TEST(MapRecords, DamagedRecordsRaiseWithoutAllocating) {
    const QByteArray head106 = Bytes().i32(28).f64(1).i16(0).i16(0).i32(-1).u8(0).u8(0).i32(0);
    struct Case {
        const char* what;
        int16_t version;
        QByteArray bytes;
    } cases[] = {
        {"count beyond the file", 106, Bytes().i16(3).raw(head106).i32(0x10000000).i32(1)},
        {"text count beyond", 106, Bytes().i16(1).raw(head106).i16(32000).raw("abc")},
        {"16-bit count beyond", 105, Bytes().i16(2).i16(0).i16(0).i32(0).i16(-1).points({{1, 1}})},
        {"characters beyond", 104, Bytes().i16(1).i16(0).i16(3).raw("ab")},
        {"lead byte at the end", 103, Bytes().i16(1).i16(0).i16(1).raw("\x93")},
        {"symbol cut short", 103, Bytes().i16(4).i16(0).i16(0).i32(1)},
        {"attribute missing", 104, Bytes().i16(4).i16(0).i16(0).i32(1).i32(1).i16(0)},
    };
    for (const Case& c : cases) {
        plat::BinaryReader in(c.bytes);
        MapFigurePtr f = NewMapFigure(in.i16());
        try {
            f->ReadElm(in, c.version);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const plat::AppError& e) {
            EXPECT_EQ(e.number(), plat::ErrInputPastEnd) << c.what;
        }
    }
}

TEST(MapRecords, ReductionForOlderVersions) {
    // A fine wiggle: many points go at the smallest tolerances.
    auto fine = std::make_shared<clsMapPolygon>();
    auto p = std::make_shared<clsPoly>();
    for (int32_t i = 0; i < 69999; ++i) p->AddXandY(i, (i / 3) % 2);
    p->AddXandY(0, 0);
    fine->setPoly(p);
    fine->setAdmin(0);
    fine->setThing(0);
    plat::BinaryWriter w;
    fine->WriteElm(w, 105);
    EXPECT_LT(fine->Poly()->Count(), 65536);
    EXPECT_EQ(fine->Poly(), p);   // reduced in the figure itself
    plat::BinaryReader in(w.buffer());
    in.skip(10);
    EXPECT_EQ(in.u16(), fine->Poly()->Count());

    // Points 100 or more apart cannot be reduced: refused, not cut.
    auto coarse = std::make_shared<clsMapPolyline>();
    auto q = std::make_shared<clsPoly>();
    for (int32_t i = 0; i < 65536; ++i) q->AddXandY(i * 100, (i % 2) * 100);
    coarse->setPoly(q);
    coarse->setAdmin(0);
    coarse->setThing(0);
    clsPoly probe = *q;
    EXPECT_FALSE(ReduceForOldVersion(probe));
    EXPECT_EQ(probe.Count(), 65536);
    plat::BinaryWriter w2;
    EXPECT_THROW(coarse->WriteElm(w2, 104), plat::AppError);
    EXPECT_EQ(q->Count(), 65536);

    // Triples whose detours all exceed the first tolerances still go once
    // the tolerance has grown past them.
    clsPoly zig;
    for (int32_t i = 0; i < 70000; ++i) zig.AddXandY(i * 30, (i % 2) * 3);
    EXPECT_TRUE(ReduceForOldVersion(zig));
    EXPECT_LT(zig.Count(), 65536);
}

TEST(MapRecords, WhatEachVersionCanHold) {
    Palette palette;
    auto sym = Sym(0, 0);
    EXPECT_TRUE(sym->FitsVersion(104));
    sym->setOwnColor(palette.get().Color(7));
    EXPECT_TRUE(sym->FitsVersion(104));
    sym->setOwnColor(0x010203);
    EXPECT_FALSE(sym->FitsVersion(104));
    EXPECT_TRUE(sym->FitsVersion(105));
    sym->setOwnColor(-1);
    sym->setJumpMark(4);
    EXPECT_FALSE(sym->FitsVersion(104));
    EXPECT_FALSE(sym->FitsVersion(103));
    EXPECT_TRUE(sym->FitsVersion(106));

    clsMapText t;
    t.setTextAnsi(2, QByteArray("ab\x93"));   // a lead byte with no second byte
    EXPECT_FALSE(t.FitsVersion(104));
    EXPECT_TRUE(t.FitsVersion(105));
    plat::BinaryWriter w;
    EXPECT_THROW(t.WriteElm(w, 104), plat::AppError);
}
