// Record bytes of every kind in every version, both ways.
#include <gtest/gtest.h>

#include "MapTestSupport.h"
#include "basHMap.h"
#include "clsMapPolygon.h"
#include "clsMapRem.h"
#include "clsMapText.h"

#include <cmath>
#include <tuple>

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

            // What is read writes the same bytes again; identifiers before
            // 1.06 are new ones.
            MapFigurePtr r = readBack(want, version);
            EXPECT_FALSE(r->Modify());
            plat::BinaryWriter again;
            r->WriteElm(again, version);
            EXPECT_EQ(again.buffer(), want);
            EXPECT_EQ(r->FigID() == kId, version >= 106);
        }
    }
}

// Counts of 0 or less read as the empty text; a 1.04 text counts its
// Japanese characters, later versions its bytes; a half-width katakana is one
// of each; 1.06 writes record lengths in 32 bits.
TEST(MapRecords, TextCounts) {
    const QByteArray nihongo("\x93\xFA\x96\x7B\x8C\xEA");   // 日本語
    for (auto [version, count] : {std::pair<int16_t, int16_t>{104, 3}, {105, 6}, {106, 6}}) {
        clsMapText t;
        t.setAdmin(0);
        t.setThing(0);
        t.setTextAnsi(2, nihongo);
        plat::BinaryWriter w;
        t.WriteElm(w, version);
        const QByteArray b = w.buffer();
        EXPECT_EQ(b.mid(b.size() - nihongo.size() - 2 - (version == 104 ? 4 : 0), 2), Bytes().i16(count).bytes()) << version;
        EXPECT_EQ(std::static_pointer_cast<clsMapText>(readBack(b, version))->TextAnsi(2), nihongo);
    }
    const QByteArray neg = Bytes().i16(5).i16(0).i16(0).i32(0).i32(0).i16(10).i16(0).i16(-4).i16(0);
    EXPECT_EQ(std::static_pointer_cast<clsMapText>(readBack(neg, 103))->TextUnicode(1), "");
    const QByteArray mixed = Bytes().i16(1).i16(0).i16(3).raw("\xB1" "a\x93\x8C");
    EXPECT_EQ(std::static_pointer_cast<clsMapRem>(readBack(mixed, 103))->Comment(), "ｱa東");
    clsMapText t;
    t.setTextAnsi(1, QByteArray(32767, 'e'));
    t.setTextAnsi(2, QByteArray(32767, 'j'));
    plat::BinaryWriter w;
    t.WriteElm(w, 106);
    EXPECT_EQ(w.buffer().mid(2, 4), Bytes().i32(44 + 32767 * 2).bytes());
    EXPECT_EQ(w.buffer().size(), 44 + 32767 * 2);
}

TEST(MapRecords, AttributeWordsAndDamagedRecords) {
    Palette palette;
    MapFigurePtr r = readBack(Bytes().i16(1).i16(0).i16(1).raw("x").i32(6), 104);
    EXPECT_EQ(std::tuple(r->OwnShowMode(), r->OwnColor()), std::tuple(int16_t{1}, palette.get().Color(0)));
    r = readBack(Bytes().i16(4).i16(0).i16(0).i32(0x01ABCDEF).i32(1).i32(2), 105);   // bit 26 clear: no colour
    EXPECT_EQ(std::tuple(r->OwnShowMode(), r->OwnColor()), std::tuple(int16_t{0}, -1));
    const QByteArray head106 = Bytes().i32(28).f64(1).i16(0).i16(0).i32(-1).u8(0).u8(0).i32(0);
    const std::pair<int16_t, QByteArray> damaged[] = {   // refused without allocating
        {106, Bytes().i16(3).raw(head106).i32(0x10000000).i32(1)},      // count beyond the file
        {106, Bytes().i16(1).raw(head106).i16(32000).raw("abc")},       // text count beyond
        {105, Bytes().i16(2).i16(0).i16(0).i32(0).i16(-1).points({{1, 1}})},   // 16-bit count beyond
        {104, Bytes().i16(1).i16(0).i16(3).raw("ab")},                  // characters beyond
        {103, Bytes().i16(1).i16(0).i16(1).raw("\x93")},                // lead byte at the end
        {104, Bytes().i16(4).i16(0).i16(0).i32(1).i32(1).i16(0)},       // attribute missing
    };
    for (const auto& [version, bytes] : damaged) {
        plat::BinaryReader in(bytes);
        MapFigurePtr f = NewMapFigure(in.i16());
        EXPECT_EQ(ErrorOf([&, v = version] { f->ReadElm(in, v); }).number(), plat::ErrInputPastEnd) << bytes.toHex().constData();
    }
}

TEST(MapRecords, WhatEachVersionHoldsAndReduction) {
    Palette palette;
    auto sym = Sym(0, 0);
    sym->setOwnColor(palette.get().Color(7));
    EXPECT_TRUE(sym->FitsVersion(104));
    sym->setOwnColor(0x010203);   // no palette colour
    EXPECT_FALSE(sym->FitsVersion(104));
    EXPECT_TRUE(sym->FitsVersion(105));
    sym->setOwnColor(-1);
    sym->setJumpMark(4);
    EXPECT_FALSE(sym->FitsVersion(104) || sym->FitsVersion(103));
    clsMapText t;
    t.setTextAnsi(2, QByteArray("ab\x93"));   // a lead byte with no second byte
    EXPECT_FALSE(t.FitsVersion(104));
    EXPECT_TRUE(t.FitsVersion(105));
    plat::BinaryWriter w;
    EXPECT_THROW(t.WriteElm(w, 104), plat::AppError);
    // A fine wiggle is reduced below 65536 points in the figure itself.
    auto fine = PolyFig<clsMapPolygon>({}, 0, 0);
    const std::shared_ptr<clsPoly> p = fine->Poly();
    for (int32_t i = 0; i < 69999; ++i) p->AddXandY(i, (i / 3) % 2);
    p->AddXandY(0, 0);
    plat::BinaryWriter w2;
    fine->WriteElm(w2, 105);
    EXPECT_EQ(fine->Poly(), p);
    EXPECT_LT(p->Count(), 65536);
    EXPECT_EQ(w2.buffer().mid(10, 2), Bytes().i16(static_cast<int16_t>(p->Count())).bytes());
    // Triples whose detours all exceed the first tolerances go once the
    // tolerance has grown past them; points 100 apart cannot be reduced:
    // refused, not cut.
    clsPoly zig, coarse;
    for (int32_t i = 0; i < 70000; ++i) zig.AddXandY(i * 30, (i % 2) * 3), coarse.AddXandY(i * 100, (i % 2) * 100);
    EXPECT_TRUE(ReduceForOldVersion(zig));
    EXPECT_LT(zig.Count(), 65536);
    EXPECT_FALSE(ReduceForOldVersion(coarse));
    EXPECT_EQ(coarse.Count(), 70000);
    auto line = PolyFig<clsMapPolyline>({}, 0, 0);
    *line->Poly() = coarse;
    EXPECT_THROW(line->WriteElm(w2, 104), plat::AppError);
    EXPECT_EQ(line->Poly()->Count(), 70000);
}
