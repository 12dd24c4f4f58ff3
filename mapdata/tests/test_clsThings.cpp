// Things and the thing catalogue: setters, pages, the ".THG" file and its
// older forms, lock and modified rules.
#include <gtest/gtest.h>

#include "../../fuzz/FuzzCatalogBody.h"
#include "ErrorMng.h"
#include "MapTestSupport.h"
#include "basGlobe.h"
#include "basHThing.h"
#include "clsThings.h"


using namespace maptest;

namespace {

ThingPtr thingOf(int32_t index, int32_t figure, const QString& name = QString()) {
    auto t = std::make_shared<clsThing>();
    t->setIndex(index);
    t->setFigure(figure);
    t->setName(name);
    return t;
}

clsThings thingsFrom(const QStringList& lines) {
    clsThings t;
    plat::TextReader in(lines);
    t.ReadFrom(in);
    return t;
}

// The one thing of a catalogue holding one thing section of these key lines.
clsThing oneThing(const QStringList& keys) { return **thingsFrom(QStringList{"[THING]"} + keys + QStringList{""}).begin(); }

std::vector<int32_t> foreOfPages(const clsThing& t) {
    std::vector<int32_t> v;
    for (int p = 1; p <= 8; ++p) v.push_back(t.PageRecord(p).Fore);
    return v;
}

std::vector<int16_t> numbers(const clsThings& t) {
    std::vector<int16_t> v;
    for (const ThingPtr& x : t) v.push_back(x->Index());
    return v;
}

} // namespace

// Styles and sizes by kind of figure; refused values leave the thing as it was.
TEST(Thing, SettersKeepTheirRanges) {
    const struct {
        int32_t figure, style;
        bool styleTaken;
        int32_t size;
        bool sizeTaken;
    } cases[] = {
        {2, 5, true, 15, true},   {2, 6, false, 16, false}, {2, 102, true, 1, true}, {2, 146, false, 0, false},
        {3, 131, true, 5, false}, {3, 99, false, 5, false}, {3, 132, false, 5, false}, {4, 47, true, 5, false},
        {4, 48, false, 5, false}, {5, 31, true, 100, true}, {5, 32, false, 4, false}, {1, 0, false, 5, false},
    };
    for (const auto& c : cases) {
        clsThing t;
        t.setFigure(c.figure);
        t.setModify(false);
        t.setStyle(c.style);
        EXPECT_EQ(t.Style() == c.style && t.Modify(), c.styleTaken) << c.figure << " style " << c.style;
        t.setModify(false);
        t.setSize(c.size);
        EXPECT_EQ(t.Size() == c.size && t.Modify(), c.sizeTaken) << c.figure << " size " << c.size;
    }
    clsThing t;
    for (int32_t v : {-1, 1000}) t.setIndex(v);
    for (int32_t v : {0, 6}) t.setFigure(v);
    for (int32_t v : {0, 21}) t.setCategory(v);
    t.setScaleS(MapScaleMax * 2);
    t.setPage(9);
    EXPECT_FALSE(t.Modify());
    t.setShowMode(5);
    EXPECT_EQ(t.ShowMode(), -1);
    t.setName(QStringLiteral("say \"hi\"\r\nnow"));   // quotes and line breaks cannot enter names
    EXPECT_EQ(t.Name(), QStringLiteral("say ＂hi＂  now"));
    gvLanguage = 2;
    t.setFontName(QStringLiteral("游ゴシック"));
    EXPECT_EQ(t.Japanese(), "游ゴシック");
    EXPECT_EQ(t.Europian(), "(default)");
    gvLanguage = 1;
}

TEST(Thing, PagesPrintingAndCopies) {
    clsThing t;
    t.setFigure(2);
    t.setPage(-3);   // a saved page
    t.setFore(0x123456);
    t.setModify(false);
    EXPECT_TRUE(t.Recovery(3));
    EXPECT_FALSE(t.Recovery(9) || t.Modify());
    EXPECT_EQ(t.PageRecord(3).Fore, 0x123456);
    t.SameOne();
    EXPECT_TRUE(t.IsSameAllPage());
    t.CopyPage(-3, 8);
    EXPECT_FALSE(t.IsSameAllPage());   // page 8 counts too
    t.SameOne();
    t.setPage(8);
    t.setEuropian(QStringLiteral("(DEFAULT)"));
    EXPECT_FALSE(t.IsSameAllPage());   // font names compare with case
    t.RecoveryAll();
    EXPECT_FALSE(t.Modify());
    t.setPage(1);
    t.setScaleS(1e7);
    t.setScaleL(1e6);
    for (double s : {1e6, 1e7}) EXPECT_TRUE(t.IsPrint(s)) << s;   // both limits included
    for (double s : {999999.0, 1.0000001e7}) EXPECT_FALSE(t.IsPrint(s)) << s;
    t.setShowMode(1);
    EXPECT_TRUE(t.IsPrint(1.0));
    t.setShowMode(0);
    EXPECT_FALSE(t.IsPrint(5e6));
    const clsThing src = oneThing({"NUMBER=8", "FIGURE=POLYGON", "NAME=\"sea\"", "STYLE=120,999", "FORE=1,2,3,4,5,6,7,8"});
    ThingPtr c = src.Copy();   // through the setters: a refused style keeps the default
    EXPECT_EQ(c->Name(), "sea");
    EXPECT_EQ(c->PageRecord(1).Style * 1000 + c->PageRecord(2).Style, 120000);
    EXPECT_EQ(foreOfPages(*c), (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_FALSE(c->Modify());
}

// ------------------------------------------------------------- the file

// SMALL and LARGE up to 41 are levels of the old ladder, rounded; LEVEL of
// the oldest files is a fixed table for the small-scale end.
TEST(ThingFile, ScalesAndOldLevels) {
    const std::pair<const char*, double> scales[] = {
        {"41", MapScaleMin}, {"40.6", MapScaleMin}, {"40", ScaleOfLevel10(40)}, {"1", 1e9}, {"0", MapScaleMin},
        {"5000000", 5000000}, {"1e30", MapScaleMax}, {"abc", MapScaleMin}};
    for (const auto& [value, scale] : scales) {
        const clsThing t = oneThing({"NUMBER=1", QStringLiteral("SMALL=") + value, QStringLiteral("LARGE=") + value});
        EXPECT_EQ(t.ScaleS(), scale) << value;
        EXPECT_EQ(t.ScaleL(), scale) << value;
    }
    for (auto [value, scale] : {std::pair{"0", 100000.0}, {"3", 8e6}, {"8", 3e8}, {"9", 1e9}, {"-1", 1e9}, {"2.5", 3e6}}) {
        const clsThing t = oneThing({"NUMBER=1", "LARGE=5000000", QStringLiteral("LEVEL=") + value});
        EXPECT_EQ(t.ScaleS(), scale) << value;
        EXPECT_EQ(t.ScaleL(), MapScaleMin) << value;
    }
}

// One value for all pages, eight, or more (the rest ignored); colours in
// hexadecimal, unknown keys and odd lines skipped, empty values kept going.
TEST(ThingFile, KeyLines) {
    const clsThing x = oneThing({"NUMBER=1", "FIGURE=POLYLINE", "SHOW=1,0", "FORE=1,2,3,4,5,6,7,8,9", "BACK=5", "WIDTH=2,3",
                                 "COLOUR=5", "=odd", " SHOW=0", "Name=mixed", "EUROPIAN=", "JAPANESE=\"\""});
    EXPECT_EQ(x.PageRecord(2).ShowMode, 0);
    EXPECT_EQ(foreOfPages(x), (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(x.PageRecord(-8).Back, 5);
    EXPECT_EQ(x.PageRecord(8).Size, 3);
    EXPECT_EQ(x.Name(), "mixed");
    EXPECT_EQ(x.Europian(), "");
    EXPECT_FALSE(x.Modify());
    const std::array<const char*, 3> colours[] = {
        {"&HFFFFFFFF&", "-1", "&HFFFFFFFF&"}, {"-1", "-1", "&HFFFFFFFF&"}, {"&hffff", "65535", "&H0000FFFF&"},
        {"&H80000005&", "-2147483643", "&H80000005&"}, {"12abc", "12", "&H0000000C&"}, {"&H1FFFFFFFF", "0", "&H00000000&"}};
    for (const auto& [text, colour, written] : colours) {
        const clsThing t = oneThing({"NUMBER=1", "FIGURE=SYMBOL", QStringLiteral("FORE=") + text});
        EXPECT_EQ(t.Fore(), QString::fromLatin1(colour).toInt()) << text;
        clsThings c;
        c.Add(t.Copy());
        EXPECT_TRUE(LinesOf(c).contains(QStringLiteral("FORE=") + written)) << text;
    }
}

// A text size in a catalogue never fails the catalogue: it is brought into
// the sizes the drawing layer draws, whatever the order of the keys.
TEST(ThingFile, TextHeightsAreKeptInRange) {
    const struct {
        QStringList keys;
        int16_t size;
    } cases[] = {
        {{"FIGURE=TEXT", "HEIGHT=9"}, 9},
        {{"FIGURE=TEXT", "HEIGHT=12.5"}, 12},
        {{"FIGURE=TEXT", "HEIGHT=3"}, FONT_HEIGHT_MIN},
        {{"FIGURE=TEXT", "HEIGHT=-40"}, FONT_HEIGHT_MIN},
        {{"FIGURE=TEXT", "HEIGHT=200"}, FONT_HEIGHT_MAX},
        {{"FIGURE=TEXT", "HEIGHT=1e10"}, FONT_HEIGHT_MAX},   // no overflow error
        {{"FIGURE=TEXT", "HEIGHT=abc"}, FONT_HEIGHT_MIN},
        {{"FIGURE=TEXT"}, FONT_HEIGHT_MIN},                  // no size at all
        {{"HEIGHT=300", "FIGURE=TEXT"}, FONT_HEIGHT_MAX},    // the kind comes last
        {{"FIGURE=TEXT", "WIDTH=1000"}, FONT_HEIGHT_MAX},
        {{"FIGURE=POLYLINE", "WIDTH=40"}, 40},               // line widths are no font sizes
        {{"FIGURE=POLYLINE", "HEIGHT=3"}, 3},
    };
    for (const auto& c : cases) {
        const clsThing t = oneThing(QStringList{"NUMBER=1"} + c.keys);
        for (int p = 1; p <= 8; ++p) EXPECT_EQ(t.PageRecord(p).Size, c.size) << c.keys.join('|').toStdString() << " page " << p;
        EXPECT_FALSE(t.Modify());
    }
}

TEST(ThingFile, SectionsNumbersAndBadNumbers) {
    const clsThings t = thingsFrom({"[THING=12]", "NAME=\"a\"", "", "[THING=20]", "NUMBER=5", "", "[thing]", "NAME=\"c\"",
                                    "[THING=]", "NUMBER=", "[LINK]", "1,2", "[THING]", "NUMBER=9", "", "[CATEGORY]",
                                    "1,\"x\"", "3", "2,\"y\",z", "[COMMENT]", "last"});
    // No number: the highest plus one; "[THING=]" is number 0; an unknown
    // section runs to its empty line.
    EXPECT_EQ(numbers(t), (std::vector<int16_t>{12, 5, 13, 0}));
    EXPECT_EQ(t.Item(13)->Name(), "c");
    EXPECT_EQ(t.CategoryName(1), "x");
    EXPECT_EQ(t.CategoryName(2), "");
    EXPECT_EQ(t.Comment(), "last");
    EXPECT_FALSE(t.Modify());
    const std::pair<QStringList, int32_t> bad[] = {
        {{"[THING]", "NUMBER=3", "", "[THING=3]", ""}, ErrGeneral},   // given twice
        {{"[THING]", "NUMBER=40000", ""}, plat::ErrOverflow},
        {{"[THING=99999]", ""}, plat::ErrOverflow},
        {{"[THING]", "NUMBER=1", "STYLE=1,2,70000", ""}, plat::ErrOverflow},
        {{"[THING]", "NUMBER=1", "FORE=99999999999", ""}, plat::ErrOverflow},
    };
    for (const auto& [lines, number] : bad) EXPECT_EQ(ErrorOf([&l = lines] { thingsFrom(l); }).number(), number) << lines.join('|').toStdString();
}

TEST(ThingFile, WrittenFormAndRoundTrip) {
    Folders folders;
    clsThings t;
    t.setFileName(folders.map(QStringLiteral("round")));
    t.setComment(QStringLiteral("first\r\n\r\n  \r\n[THING]\nlast \"q\""));
    t.setCategoryName(20, QStringLiteral("a, \"b\""));
    t.Add(thingOf(0, 1, QStringLiteral("注釈")));
    auto x = thingOf(20, 5, QStringLiteral(" name, 5 "));
    for (int p = 1; p <= 8; ++p) {   // every page its own values
        x->setPage(p);
        x->setShowMode(p % 3 - 1);
        x->setScaleS(ScaleOfLevel(static_cast<int16_t>(p)));
        x->setScaleL(1234567.8912345678);
        x->setFore(p == 3 ? -1 : 0x010203 * p);
        x->setBack(static_cast<int32_t>(0x80000000u) + p);
        x->setStyle(p);
        x->setSize(10 * p);
        x->setEuropian(p == 8 ? QString() : QStringLiteral("Font %1").arg(p));
    }
    t.Add(x);
    auto same = thingOf(999, 2);   // eight equal pages: one value per key
    same->setFore(255);
    same->SameOne();
    t.Add(same);
    const QStringList lines = LinesOf(t);
    EXPECT_EQ(lines.mid(0, 7), (QStringList{"[COMMENT]", "first", " ", "   ", "[THING]", "last \"q\"", ""}));
    EXPECT_EQ(lines.mid(lines.indexOf("NUMBER=0"), 5), (QStringList{"NUMBER=0", "FIGURE=REM", "NAME=\"注釈\"", "CATEGORY=-1", ""}));
    EXPECT_EQ(lines.mid(lines.indexOf("NUMBER=999")), (QStringList{"NUMBER=999", "FIGURE=POLYLINE", "NAME=\"\"", "CATEGORY=-1",
                                                                   "SHOW=-1", "SMALL=1000000000", "LARGE=100000", "FORE=&H000000FF&",
                                                                   "BACK=&HFFFFFFFF&", "STYLE=0", "WIDTH=0", ""}));
    ASSERT_EQ(t.Save(), 0);
    clsThings back;
    back.setFileName(t.FileName());
    ASSERT_EQ(back.Load(), 0);
    EXPECT_EQ(fuzzcat::CompareThings(t, back), QString());
    EXPECT_EQ(back.Comment(), "first\r\n\r\n  \r\n[THING]\r\nlast \"q\"");
    EXPECT_EQ(back.CategoryName(20), QStringLiteral("a, ＂b＂"));
    EXPECT_FALSE(back.Modify() || back.LockMode());
}

// ---------------------------------------------------------- the catalogue

TEST(Things, EditsModifiedStateAndLock) {
    clsThings t;
    EXPECT_TRUE(t.Add(thingOf(5, 2, QStringLiteral("Road"))));
    auto unnumbered = std::make_shared<clsThing>();
    EXPECT_TRUE(t.Add(unnumbered));
    EXPECT_EQ(unnumbered->Index(), 6);
    EXPECT_EQ(t.Search(QStringLiteral("ROAD")), 5);
    EXPECT_EQ(ErrorOf([&] { t.Add(thingOf(5, 3)); }).number(), ErrGeneral);
    EXPECT_TRUE(t.Remove(5));
    EXPECT_FALSE(t.Remove(5));
    clsThings full;
    full.Add(thingOf(999, 2));
    EXPECT_FALSE(full.Add(std::make_shared<clsThing>()));   // no number left
    t.setModify(false);
    t.Item(6)->setFore(3);
    EXPECT_TRUE(t.Modify());
    t.Item(6)->setModify(false);
    EXPECT_TRUE(t.Modify());   // the catalogue's own flag stays set
    t.setModify(false);
    EXPECT_FALSE(t.Modify() || t.Item(6)->Modify());
    t.setFileName(QStringLiteral("other.thg"));
    EXPECT_EQ(t.FileName(), "other.THG");
    t.setLockMode(true);
    testsupport::ScriptedBoxes boxes;
    for (const char* edit : {"Add", "Remove", "Comment", "CategoryName", "ClearAll"})
        boxes.expect(QStringLiteral("は変更禁止. [%1]").arg(QLatin1String(edit)), plat::IdOk);
    EXPECT_FALSE(t.Add(thingOf(2, 2)) || t.Remove(6));
    t.setComment(QStringLiteral("x"));
    t.setCategoryName(1, QStringLiteral("x"));
    t.ClearAll();
    EXPECT_EQ(t.Count(), 1);
    auto c = t.Copy();   // a copy of a locked catalogue is locked and modified
    EXPECT_TRUE(c->LockMode() && c->Modify());
}

TEST(Things, LoadAndSaveResults) {
    Folders folders;
    clsThings t = thingsFrom({"[THING]", "NUMBER=1", "FIGURE=POLYGON", ""});
    t.setFileName(folders.map(QStringLiteral("missing.THG")));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("事象ファイルが存在しません."), plat::IdOk);
        EXPECT_EQ(t.Load(), 53);
    }
    // A file that fails half-way leaves the catalogue as it was.
    WriteLines(folders.map(QStringLiteral("BAD.THG")), {"[THING]", "NUMBER=2", "", "[THING]", "NUMBER=2", ""});
    t.setFileName(folders.map(QStringLiteral("BAD.THG")));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("*Source=clsThings.Add/"), plat::IdOk);
        EXPECT_THROW(t.Load(), plat::AppError);
    }
    EXPECT_EQ(numbers(t), (std::vector<int16_t>{1}));
    // Numbers given twice, or a name without a Shift-JIS form: no save, the file stays.
    clsThings twice;
    twice.setFileName(folders.map(QStringLiteral("twice")));
    twice.Add(thingOf(1, 2));
    twice.Add(thingOf(2, 2));
    ASSERT_EQ(twice.Save(), 0);
    const QStringList before = plat::ReadTextLines(twice.FileName());
    twice.Item(2)->setIndex(1);
    twice.Item(1)->setName(QStringLiteral("\U0001F600"));
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("事象番号 1 が重複しているため保存できません."), plat::IdOk).expect(QStringLiteral("*Source="), plat::IdOk);
    EXPECT_EQ(twice.Save(), ErrGeneral);
    twice.Item(1)->setIndex(3);
    EXPECT_THROW(twice.Save(), plat::AppError);
    EXPECT_EQ(plat::ReadTextLines(twice.FileName()), before);
}
