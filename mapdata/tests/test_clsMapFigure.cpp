#include <gtest/gtest.h>

#include "../../fuzz/FuzzMapBody.h"
#include "MapTestSupport.h"
#include "TestSupport.h"
#include "basHMap.h"
#include "clsMapPolygon.h"
#include "clsMapRem.h"
#include "clsMapText.h"

using namespace maptest;

namespace {

std::vector<MapFigurePtr> allKinds() {
    std::vector<MapFigurePtr> v;
    for (int32_t code = 1; code <= 5; ++code) v.push_back(NewMapFigure(code));
    return v;
}

} // namespace

TEST(MapFigure, NewFiguresAndTheirNames) {
    FixedTime time;
    const char* keywords[] = {"REM", "POLYLINE", "POLYGON", "SYMBOL", "TEXT"};
    int32_t code = 1;
    for (const MapFigurePtr& f : allKinds()) {
        EXPECT_EQ(f->FigCode(), code);
        EXPECT_EQ(f->FigName(1), QString::fromLatin1(keywords[code - 1]));
        EXPECT_FALSE(f->Modify());
        EXPECT_EQ(f->Admin(), -1);
        EXPECT_EQ(f->Thing(), -1);
        EXPECT_EQ(f->OwnColor(), -1);
        EXPECT_EQ(f->OwnShowMode(), -1);
        EXPECT_EQ(f->JumpMark(), 0);
        EXPECT_EQ(f->Reserve(), 0);
        EXPECT_EQ(f->FigDate(), time.clock().now());
        // Not right until a district is set.
        EXPECT_FALSE(f->IsRight());
        ++code;
    }
    EXPECT_EQ(NewMapFigure(0), nullptr);
    EXPECT_EQ(NewMapFigure(6), nullptr);
}

TEST(MapFigure, SettersKeepTheirRanges) {
    for (const MapFigurePtr& f : allKinds()) {
        struct Set {
            void (clsMapFigure::*set)(int32_t);
            int32_t (*get)(const clsMapFigure&);
            int32_t bad1, bad2, good;
        } sets[] = {
            {&clsMapFigure::setOwnColor, [](const clsMapFigure& g) { return g.OwnColor(); }, -2, 0x1000000, 0xFFFFFF},
            {&clsMapFigure::setOwnShowMode, [](const clsMapFigure& g) { return g.OwnShowMode(); }, 2, -2, 0},
            {&clsMapFigure::setJumpMark, [](const clsMapFigure& g) { return int32_t{g.JumpMark()}; }, 10, -1, 9},
            {&clsMapFigure::setAdmin, [](const clsMapFigure& g) { return int32_t{g.Admin()}; }, 1000, 70000, 999},
        };
        for (const Set& s : sets) {
            f->setModify(false);
            const int32_t before = s.get(*f);
            ((*f).*s.set)(s.bad1);
            ((*f).*s.set)(s.bad2);
            EXPECT_EQ(s.get(*f), before);
            EXPECT_FALSE(f->Modify());
            ((*f).*s.set)(s.good);
            EXPECT_EQ(s.get(*f), s.good);
            EXPECT_TRUE(f->Modify());
        }
        f->setOwnColor(-1);
        EXPECT_EQ(f->OwnColor(), -1);
        f->setThing(5);
        EXPECT_EQ(f->Thing(), f->FigCode() == 1 ? -1 : 5);
    }
}

TEST(MapFigure, Validity) {
    auto rem = NewMapFigure(1);
    rem->setAdmin(0);
    EXPECT_TRUE(rem->IsRight());   // a remark's thing is not checked

    auto line = PolyFig<clsMapPolyline>({{0, 0}});
    EXPECT_FALSE(line->IsRight());
    line->Poly()->AddXandY(5, 5);
    EXPECT_TRUE(line->IsRight());

    auto gon = PolyFig<clsMapPolygon>({{0, 0}, {1, 0}, {0, 0}});
    EXPECT_FALSE(gon->IsRight());
    gon->Poly()->InsXandY(3, 1, 1);
    EXPECT_TRUE(gon->IsRight());

    auto sym = Sym(1, 2);
    EXPECT_TRUE(sym->IsRight());
    sym->setThing(-1);   // ignored
    EXPECT_TRUE(sym->IsRight());
}

TEST(MapFigure, PolyIsSharedOnlyByPolylinesAndPolygons) {
    auto gon = Square();
    gon->setModify(false);
    EXPECT_FALSE(gon->Modify());
    std::shared_ptr<clsPoly> live = gon->Poly();
    live->SetXandY(2, 99, 0);
    EXPECT_EQ(gon->Poly()->x(2), 99);
    EXPECT_TRUE(gon->Modify());
    gon->setModify(false);
    EXPECT_FALSE(live->Modify());

    auto sym = Sym(3, 4);
    sym->setModify(false);
    sym->Poly()->SetXandY(1, 50, 50);
    EXPECT_EQ(sym->mx(), 3);
    EXPECT_FALSE(sym->Modify());
    sym->setPoly(std::make_shared<clsPoly>());
    EXPECT_FALSE(sym->Modify());
    auto p = std::make_shared<clsPoly>();
    p->AddXandY(7, 8);
    p->AddXandY(9, 9);
    sym->setPoly(p);
    EXPECT_EQ(sym->Position(), (PolyPoint{7, 8}));
    EXPECT_TRUE(sym->Modify());

    auto rem = Rem(QStringLiteral("x"));
    rem->setModify(false);
    rem->setPoly(p);
    EXPECT_EQ(rem->Poly()->Count(), 0);
    EXPECT_FALSE(rem->Modify());

    EXPECT_TRUE(gon->IsInner(clsRect(5, 5, 20, 20)));
    EXPECT_FALSE(gon->IsInner(clsRect(200, 5, 220, 20)));
    EXPECT_TRUE(sym->IsInner(clsRect(7, 8, 7, 8)));
    EXPECT_FALSE(rem->IsInner(clsRect(-1000, -1000, 1000, 1000)));
}

TEST(MapFigure, TextAngleAndAnchor) {
    clsMapText t;
    struct Case {
        int32_t in, out;
    } cases[] = {{190, -170}, {-190, 170}, {540, 180}, {900, 180}, {180, 180}, {-180, -180}, {359, -1},
                 {-900, -180}, {2147483647, 127}, {-2147483647 - 1, -128}};
    for (const Case& c : cases) {
        t.setAngle(c.in);
        EXPECT_EQ(t.Angle(), c.out) << c.in;
    }
    clsMapText fresh;
    fresh.setTextFix(25);
    EXPECT_EQ(fresh.TextFix(), 10);
    EXPECT_FALSE(fresh.Modify());
    fresh.setTextFix(24);
    EXPECT_EQ(fresh.TextFix(), 24);
}

TEST(MapFigure, TextBytesAndCircumflex) {
    struct Case {
        QByteArray in, out;
    } cases[] = {
        {"Ca^fe", "C\xE2" "fe"},
        {"^a^", "^\xE2"},
        {"A^I^U^E^O^", "\xC2\xCE\xDB\xCA\xD4"},
        {"i^u^e^o^", "\xEE\xFB\xEA\xF4"},
        {"x^^a^^", "x^^\xE2^"},
        {QByteArray(1, '\0'), QByteArray(1, '\0')},
    };
    for (const Case& c : cases) {
        clsMapText t;
        t.setTextAnsi(1, c.in);
        EXPECT_EQ(t.TextAnsi(1), c.out) << c.in.toStdString();
        EXPECT_TRUE(t.Modify());
    }
    clsMapText t;
    t.setTextAnsi(2, QByteArray("a^"));
    EXPECT_EQ(t.TextAnsi(2), "a^");   // no rule for the Japanese text
    t.setTextAnsi(1, QByteArray("\0abc", 4));
    EXPECT_EQ(t.TextAnsi(1), QByteArray(1, '\0'));
    EXPECT_EQ(t.TextAnsi(3), QByteArray(1, '\0'));
    t.setModify(false);
    t.setTextAnsi(3, "x");
    EXPECT_FALSE(t.Modify());
}

TEST(MapFigure, TextUnicode) {
    clsMapText t;
    t.setTextUnicode(1, QString());
    EXPECT_EQ(t.TextAnsi(1), QByteArray(1, '\0'));
    EXPECT_EQ(t.TextUnicode(1), "");
    t.setTextUnicode(1, QStringLiteral("Côte d'Ivoire"));
    EXPECT_EQ(t.TextAnsi(1), "C\xF4te d'Ivoire");
    EXPECT_EQ(t.TextUnicode(1), "Côte d'Ivoire");
    t.setTextUnicode(1, QStringLiteral("Sa^o Tome 東"));
    EXPECT_EQ(t.TextUnicode(1), "Sâo Tome ?");
    t.setTextUnicode(2, QStringLiteral("東京"));
    EXPECT_EQ(t.TextAnsi(2), "\x93\x8C\x8B\x9E");
    EXPECT_EQ(t.TextUnicode(2), "東京");
    t.setTextUnicode(2, QString());
    EXPECT_EQ(t.TextUnicode(2), "");
    EXPECT_EQ(t.TextUnicode(0), "");
}

TEST(MapFigure, TextsTooLongForARecordAreRefused) {
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("32767"), plat::IdOk);
    boxes.expect(QStringLiteral("32767"), plat::IdOk);
    clsMapText t;
    t.setTextAnsi(2, QByteArray(32767, 'a'));
    EXPECT_EQ(t.TextAnsi(2).size(), 32767);
    t.setModify(false);
    t.setTextAnsi(2, QByteArray(32768, 'a'));
    EXPECT_EQ(t.TextAnsi(2).size(), 32767);
    EXPECT_FALSE(t.Modify());

    clsMapRem r;
    r.setComment(QString(16384, QChar(0x6771)));   // 32768 bytes in Shift-JIS
    EXPECT_EQ(r.Comment(), "");
    r.setComment(QString(30000, QLatin1Char('a')));
    EXPECT_EQ(r.Comment().size(), 30000);
}

TEST(MapFigure, RemarkKeyAndValue) {
    struct Case {
        const char* text;
        const char* key;
        const char* value;
    } cases[] = {
        {"# 地図コード　　　：142392", "地図コード", "142392"},
        {"#地図コード　　　：142392", "", ""},
        {"# a：value", "", ""},                       // colon at 4
        {"# ab：value", "ab", "value"},               // colon at 5
        {"# 種別　　　　　　：世界行政図", "種別", "世界行政図"},
        {"# key : 1:2 ", "key", "1:2"},
        {"# key： a:b ：c　", "key", "a:b ：c"},
        {"# abcdefghijklmnopq：v", "abcdefghijklmnopq", "v"},   // colon at 20
        {"# abcdefghijklmnopqr：v", "", ""},                    // colon at 21
        {"# x:y：z", "x:y", "z"},                     // the full-width colon comes first
    };
    for (const Case& c : cases) {
        clsMapRem r;
        r.setComment(QString::fromUtf8(c.text));
        EXPECT_EQ(r.Key(), QString::fromUtf8(c.key)) << c.text;
        EXPECT_EQ(r.Value(), QString::fromUtf8(c.value)) << c.text;
    }
}

TEST(MapFigure, CopyMakesANewModifiedFigure) {
    auto text = std::make_shared<clsMapText>();
    text->setPosition({10, 20});
    text->setTextFix(3);
    text->setAngle(45);
    text->setTextAnsi(1, "Ma^con");
    text->setTextUnicode(2, QStringLiteral("マコン"));
    text->setAdmin(4);
    text->setThing(5);
    text->setOwnColor(0x123456);
    text->setOwnShowMode(1);
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
        if (c->FigCode() == 3) {   // the copy's points are its own
            c->Poly()->SetXandY(1, -5, -5);
            EXPECT_EQ(src->Poly()->x(1), 0);
        }
    }
}
