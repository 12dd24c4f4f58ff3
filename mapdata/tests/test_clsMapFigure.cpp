// Figures: their fields and ranges, validity, shared points, texts and
// remarks, copies.
#include <gtest/gtest.h>

#include "../../fuzz/FuzzMapBody.h"
#include "MapTestSupport.h"
#include "TestSupport.h"
#include "basHMap.h"

#include <array>
#include <tuple>

using namespace maptest;

TEST(MapFigure, NewFiguresSettersAndValidity) {
    FixedTime time;
    for (int32_t code = 1; code <= 5; ++code) {
        const MapFigurePtr f = NewMapFigure(code);
        EXPECT_EQ(f->FigName(1), QString::fromLatin1(std::array{"REM", "POLYLINE", "POLYGON", "SYMBOL", "TEXT"}[code - 1]));
        EXPECT_EQ(f->FigDate(), time.clock().now());
        EXPECT_FALSE(f->IsRight());   // not until a district is set
        // Out of range: ignored, not modified.
        f->setOwnColor(0x1000000); f->setOwnShowMode(2); f->setJumpMark(10); f->setAdmin(1000); f->setAdmin(70000);
        EXPECT_EQ(std::tuple(f->OwnColor(), f->OwnShowMode(), f->JumpMark(), f->Admin()), std::tuple(-1, int16_t{-1}, int16_t{0}, int16_t{-1}));
        EXPECT_FALSE(f->Modify());
        f->setOwnColor(0xFFFFFF); f->setOwnShowMode(0); f->setJumpMark(9); f->setAdmin(999); f->setThing(5);
        EXPECT_EQ(std::tuple(f->OwnColor(), f->OwnShowMode(), f->JumpMark(), f->Admin()), std::tuple(0xFFFFFF, int16_t{0}, int16_t{9}, int16_t{999}));
        EXPECT_EQ(f->Thing(), code == 1 ? -1 : 5);   // a remark has no thing
        EXPECT_TRUE(f->Modify());
    }
    EXPECT_EQ(NewMapFigure(6), nullptr);
    auto line = PolyFig<clsMapPolyline>({{0, 0}});
    EXPECT_FALSE(line->IsRight());
    line->Poly()->AddXandY(5, 5);
    EXPECT_TRUE(line->IsRight());
    auto gon = PolyFig<clsMapPolygon>({{0, 0}, {1, 0}, {0, 0}});
    EXPECT_FALSE(gon->IsRight());
    gon->Poly()->InsXandY(3, 1, 1);
    EXPECT_TRUE(gon->IsRight());
}

TEST(MapFigure, PointsAreSharedOnlyByLinesAndPolygons) {
    auto gon = Square();
    gon->setModify(false);
    gon->Poly()->SetXandY(2, 99, 0);
    EXPECT_TRUE(gon->Modify());
    auto sym = Sym(3, 4);
    sym->setModify(false);
    sym->Poly()->SetXandY(1, 50, 50);   // a copy
    EXPECT_EQ(sym->mx(), 3);
    EXPECT_FALSE(sym->Modify());
    auto p = std::make_shared<clsPoly>();
    p->AddXandY(7, 8);
    sym->setPoly(p);
    EXPECT_EQ(sym->Position(), (PolyPoint{7, 8}));
    auto rem = Rem(QStringLiteral("x"));
    rem->setPoly(p);
    EXPECT_EQ(rem->Poly()->Count(), 0);
    EXPECT_TRUE(gon->IsInner(clsRect(5, 5, 20, 20)));
    EXPECT_FALSE(gon->IsInner(clsRect(200, 5, 220, 20)));
    EXPECT_FALSE(rem->IsInner(clsRect(-1000, -1000, 1000, 1000)));
}

TEST(MapFigure, Texts) {
    clsMapText t;
    for (auto [in, out] : {std::pair{190, -170}, {-190, 170}, {540, 180}, {-180, -180}, {359, -1}, {2147483647, 127}}) {
        t.setAngle(in);
        EXPECT_EQ(t.Angle(), out) << in;
    }
    t.setTextFix(25);
    EXPECT_EQ(t.TextFix(), 10);
    // A circumflex after a vowel makes the accented letter in the European text.
    const std::pair<QByteArray, QByteArray> circumflex[] = {
        {"Ca^fe", "C\xE2" "fe"}, {"^a^", "^\xE2"}, {"A^I^U^E^O^", "\xC2\xCE\xDB\xCA\xD4"}, {"x^^a^^", "x^^\xE2^"}};
    for (const auto& [in, out] : circumflex) {
        t.setTextAnsi(1, in);
        EXPECT_EQ(t.TextAnsi(1), out) << in.toStdString();
    }
    t.setTextAnsi(2, QByteArray("a^"));
    EXPECT_EQ(t.TextAnsi(2), "a^");   // no rule for the Japanese text
    t.setTextUnicode(1, QStringLiteral("Sa^o Tome 東"));
    EXPECT_EQ(t.TextUnicode(1), "Sâo Tome ?");
    // Marks of the angle texts and full-width letters keep a Latin form.
    t.setTextUnicode(1, QStringLiteral("52ﾟ30' 35°41′22″ ＡＢ１　x"));
    EXPECT_EQ(t.TextAnsi(1), "52\xB0" "30' 35\xB0" "41'22\" AB1 x");
    t.setTextUnicode(2, QStringLiteral("東京"));
    EXPECT_EQ(t.TextAnsi(2), "\x93\x8C\x8B\x9E");
    // Too long for a record: refused with a message.
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("32767"), plat::IdOk).expect(QStringLiteral("32767"), plat::IdOk);
    t.setTextAnsi(2, QByteArray(32768, 'a'));
    EXPECT_EQ(t.TextAnsi(2), "\x93\x8C\x8B\x9E");
    clsMapRem r;
    r.setComment(QString(16384, QChar(0x6771)));   // 32768 bytes in Shift-JIS
    EXPECT_EQ(r.Comment(), "");
    r.setComment(QString(30000, QLatin1Char('a')));
    EXPECT_EQ(r.Comment().size(), 30000);
}

TEST(MapFigure, RemarkKeyAndValue) {
    const std::array<const char*, 3> cases[] = {
        {"# 地図コード　　　：142392", "地図コード", "142392"}, {"#地図コード　　　：142392", "", ""},
        {"# a：value", "", ""},                                // colon at 4
        {"# ab：value", "ab", "value"},                        // colon at 5
        {"# key： a:b ：c　", "key", "a:b ：c"},
        {"# abcdefghijklmnopq：v", "abcdefghijklmnopq", "v"},  // colon at 20
        {"# abcdefghijklmnopqr：v", "", ""},                   // colon at 21
        {"# x:y：z", "x:y", "z"},                              // the full-width colon comes first
    };
    for (const auto& c : cases) {
        clsMapRem r;
        r.setComment(QString::fromUtf8(c[0]));
        EXPECT_EQ(r.Key() + "|" + r.Value(), QString::fromUtf8(c[1]) + "|" + QString::fromUtf8(c[2])) << c[0];
    }
}

TEST(MapFigure, CopyMakesANewModifiedFigure) {
    auto text = std::make_shared<clsMapText>();
    text->setPosition({10, 20});
    text->setAngle(45);
    text->setTextAnsi(1, "Ma^con");
    text->setAdmin(4);
    text->setThing(5);
    text->setOwnColor(0x123456);
    text->setJumpMark(3);
    text->setReserve(77);
    for (const MapFigurePtr& src : std::vector<MapFigurePtr>{text, Square(), Rem(QStringLiteral("# a b：c")), Sym(1, 2)}) {
        src->setModify(false);
        MapFigurePtr c = src->Copy();
        EXPECT_NE(c->FigID(), src->FigID());
        EXPECT_TRUE(c->Modify());
        EXPECT_FALSE(src->Modify());
        clsMap a, b;
        a.MapCollection().push_back(src);
        b.MapCollection().push_back(c);
        EXPECT_EQ(fuzzmap::compareFigures(a, b, 105), QString()) << src->FigName(1).toStdString();
        if (c->FigCode() == 3) c->Poly()->SetXandY(1, -5, -5);   // the copy's points are its own
        EXPECT_EQ(fuzzmap::compareFigures(a, b, 105).isEmpty(), c->FigCode() != 3);
    }
}
