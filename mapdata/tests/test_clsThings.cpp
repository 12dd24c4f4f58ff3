// Things and the thing catalogue: setters, pages, the ".THG" file and its
// older forms, lock and modified rules.
#include <gtest/gtest.h>

#include "../../fuzz/FuzzCatalogBody.h"
#include "CatalogTestSupport.h"
#include "ErrorMng.h"
#include "basGlobe.h"
#include "basHThing.h"
#include "clsThings.h"

#include <QFile>

#include <sys/stat.h>

using cattest::LinesOf;
using cattest::ThingsFrom;

namespace {

ThingPtr thingOf(int32_t index, int32_t figure, const QString& name = QString()) {
    auto t = std::make_shared<clsThing>();
    t->setIndex(index);
    t->setFigure(figure);
    t->setName(name);
    return t;
}

// A catalogue holding one thing section of the given key lines.
clsThings oneThing(const QStringList& keys) {
    return ThingsFrom(QStringList{QStringLiteral("[THING]")} + keys + QStringList{QString()});
}

const clsThing& first(const clsThings& t) { return **t.begin(); }

std::vector<int32_t> pageValues(const clsThing& t, int32_t (*field)(const ThingPage&)) {
    std::vector<int32_t> v;
    for (int p = 1; p <= 8; ++p) v.push_back(field(t.PageRecord(p)));
    return v;
}

int32_t showOf(const ThingPage& p) { return p.ShowMode; }
int32_t foreOf(const ThingPage& p) { return p.Fore; }

} // namespace

TEST(Thing, NewThingAndClear) {
    clsThing t;
    EXPECT_EQ(t.Index(), -1);
    EXPECT_EQ(t.Figure(), 0);
    EXPECT_EQ(t.Category(), -1);
    EXPECT_EQ(t.Page(), 1);
    EXPECT_FALSE(t.Modify());
    EXPECT_EQ(t.ShowMode(), -1);
    EXPECT_EQ(t.ScaleS(), MapScaleMax);
    EXPECT_EQ(t.ScaleL(), MapScaleMin);
    EXPECT_EQ(t.Fore(), 0);
    EXPECT_EQ(t.Back(), -1);
    EXPECT_EQ(t.Europian(), "(default)");
    EXPECT_TRUE(t.IsSameAllPage());
    t.setUse(true);
    t.setIndex(4);
    t.setPage(-2);
    t.setFore(7);
    t.Clear();
    EXPECT_TRUE(t.Use());
    EXPECT_EQ(t.Index(), -1);
    EXPECT_EQ(t.Page(), 1);
    EXPECT_EQ(t.PageRecord(-2).Fore, 0);
}

TEST(Thing, SettersKeepTheirRanges) {
    struct Case {
        int32_t figure;
        int32_t style;
        bool styleTaken;
        int32_t size;
        bool sizeTaken;
    } cases[] = {
        {2, 5, true, 15, true},     {2, 6, false, 16, false},  {2, 102, true, 1, true}, {2, 146, false, 0, false},
        {3, 8, true, 5, false},     {3, 100, true, 5, false},  {3, 99, false, 5, false}, {3, 132, false, 5, false},
        {4, 47, true, 5, false},    {4, 48, false, 5, false},  {5, 31, true, 100, true}, {5, 32, false, 4, false},
        {5, 0, true, 5, true},      {1, 0, false, 5, false},   {0, 1, false, 5, false},
    };
    for (const Case& c : cases) {
        clsThing t;
        if (c.figure) t.setFigure(c.figure);
        t.setModify(false);
        t.setStyle(c.style);
        EXPECT_EQ(t.Style() == c.style && t.Modify(), c.styleTaken) << c.figure << " style " << c.style;
        t.setModify(false);
        t.setSize(c.size);
        EXPECT_EQ(t.Size() == c.size && t.Modify(), c.sizeTaken) << c.figure << " size " << c.size;
    }
    clsThing t;
    t.setModify(false);
    for (int32_t v : {-1, 1000, 6000}) t.setIndex(v);
    for (int32_t v : {0, 6, -3}) t.setFigure(v);
    for (int32_t v : {0, 21}) t.setCategory(v);
    t.setScaleS(MapScaleMax * 2);
    t.setScaleL(MapScaleMin / 2);
    EXPECT_FALSE(t.Modify());
    EXPECT_EQ(t.Index(), -1);
    t.setShowMode(5);
    EXPECT_EQ(t.ShowMode(), -1);
    EXPECT_TRUE(t.Modify());
    t.setPage(9);
    t.setPage(0);
    EXPECT_EQ(t.Page(), 1);
}

TEST(Thing, PagesAndTheirSavedCopies) {
    clsThing t;
    t.setFigure(2);
    t.setPage(-3);
    t.setFore(0x123456);
    EXPECT_EQ(t.PageRecord(-3).Fore, 0x123456);
    EXPECT_EQ(t.PageRecord(3).Fore, 0);
    t.setModify(false);
    EXPECT_TRUE(t.Recovery(3));
    EXPECT_FALSE(t.Modify());
    EXPECT_EQ(t.PageRecord(3).Fore, 0x123456);
    EXPECT_FALSE(t.Recovery(-1));
    EXPECT_FALSE(t.Recovery(9));

    t.setPage(1);
    t.setBack(0xFF);
    t.SameOne();
    EXPECT_TRUE(t.Modify());
    EXPECT_TRUE(t.IsSameAllPage());
    t.CopyPage(-3, 5);
    EXPECT_EQ(t.PageRecord(5).Fore, 0x123456);
    EXPECT_FALSE(t.IsSameAllPage());
    t.CopyPage(0, 2);
    t.CopyPage(2, 9);
    t.RecoveryAll();
    EXPECT_FALSE(t.Modify());
    EXPECT_EQ(t.PageRecord(1).Back, -1);

    // Font names differ by case only: the pages differ.
    t.SameOne();
    t.setPage(8);
    t.setEuropian(QStringLiteral("(DEFAULT)"));
    EXPECT_FALSE(t.IsSameAllPage());
}

TEST(Thing, IsPrintByShowMode) {
    clsThing t;
    t.setScaleS(1e7);
    t.setScaleL(1e6);
    for (double s : {1e6, 5e6, 1e7}) EXPECT_TRUE(t.IsPrint(s)) << s;
    for (double s : {999999.0, 1.0000001e7}) EXPECT_FALSE(t.IsPrint(s)) << s;
    t.setShowMode(1);
    EXPECT_TRUE(t.IsPrint(1.0));
    t.setShowMode(0);
    EXPECT_FALSE(t.IsPrint(5e6));
}

TEST(Thing, FontNameFollowsTheDisplayLanguage) {
    cattest::Folders folders;
    clsThing t;
    t.setFigure(5);
    t.setFontName(QStringLiteral("Arial"));
    EXPECT_EQ(t.Europian(), "Arial");
    gvLanguage = 2;
    EXPECT_EQ(t.FontName(), "(default)");
    t.setFontName(QStringLiteral("游ゴシック"));
    EXPECT_EQ(t.Japanese(), "游ゴシック");
    gvLanguage = 3;
    t.setModify(false);
    t.setFontName(QStringLiteral("x"));
    EXPECT_TRUE(t.Modify());
    EXPECT_EQ(t.FontName(), "");
}

TEST(Thing, CopyGoesThroughTheSetters) {
    clsThings t = oneThing({"NUMBER=8", "FIGURE=POLYGON", "NAME=\"sea\"", "CATEGORY=2", "SHOW=1,0", "STYLE=120,999",
                            "FORE=1,2,3,4,5,6,7,8"});
    const clsThing& src = first(t);
    ThingPtr c = src.Copy();
    EXPECT_EQ(c->Index(), 8);
    EXPECT_EQ(c->Name(), "sea");
    EXPECT_EQ(c->Category(), 2);
    EXPECT_EQ(c->PageRecord(1).Style, 120);
    // A style the setter refuses keeps the default.
    EXPECT_EQ(c->PageRecord(2).Style, 0);
    EXPECT_EQ(c->PageRecord(-2).Style, 0);
    EXPECT_EQ(pageValues(*c, foreOf), (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(c->PageRecord(-8).Fore, 8);
    EXPECT_FALSE(c->Modify());
}

TEST(Thing, QuotesAndLineBreaksCannotEnterNames) {
    clsThing t;
    t.setName(QStringLiteral("say \"hi\"\r\nnow"));
    EXPECT_EQ(t.Name(), QStringLiteral("say ＂hi＂  now"));
    t.setJapanese(QStringLiteral("\"x"));
    EXPECT_EQ(t.Japanese(), QStringLiteral("＂x"));
}

// ------------------------------------------------------------- the file

TEST(ThingFile, PerPageListsOfOneEightAndMoreValues) {
    clsThings t = oneThing({"NUMBER=1", "FIGURE=POLYLINE", "SHOW=1,0", "FORE=1,2,3,4,5,6,7,8,9", "BACK=5",
                            "WIDTH=2,3"});
    const clsThing& x = first(t);
    EXPECT_EQ(pageValues(x, showOf), (std::vector<int32_t>{1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(pageValues(x, foreOf), (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    for (int p : {-8, -1, 1, 8}) EXPECT_EQ(x.PageRecord(p).Back, 5) << p;
    EXPECT_EQ(x.PageRecord(8).Size, 3);
    EXPECT_EQ(x.Page(), 1);
    EXPECT_FALSE(x.Modify());

    // Eight equal pages are written with one value per key.
    clsThings same = oneThing({"NUMBER=2", "FIGURE=POLYGON", "SHOW=1", "SMALL=30000000", "LARGE=100000", "FORE=255",
                               "BACK=-1", "STYLE=8"});
    EXPECT_EQ(LinesOf(same), (QStringList{"[CATEGORY]", "", "[THING]", "NUMBER=2", "FIGURE=POLYGON", "NAME=\"\"",
                                          "CATEGORY=-1", "SHOW=1", "SMALL=30000000", "LARGE=100000",
                                          "FORE=&H000000FF&", "BACK=&HFFFFFFFF&", "STYLE=8", ""}));
    EXPECT_TRUE(LinesOf(t).contains(QStringLiteral("SHOW=1,0,0,0,0,0,0,0")));
    EXPECT_TRUE(LinesOf(t).contains(QStringLiteral("WIDTH=2,3,3,3,3,3,3,3")));
}

TEST(ThingFile, OldScaleLevelsAtTheBoundary) {
    const double level41 = ScaleOfLevel10(41);
    ASSERT_GT(level41, 0);
    struct Case {
        const char* value;
        double scale;
    } cases[] = {
        {"41", LimitMapScale(level41)}, {"40.6", LimitMapScale(level41)}, {"42", MapScaleMin},
        {"41.5", MapScaleMin},          {"1", ScaleOfLevel10(1)},         {"0", MapScaleMin},
        {"-3", MapScaleMin},            {"5000000", 5000000},             {"1e30", MapScaleMax},
        {"abc", MapScaleMin},
    };
    for (const Case& c : cases) {
        clsThings t = oneThing({"NUMBER=1", "FIGURE=POLYGON", QStringLiteral("SMALL=") + c.value,
                                QStringLiteral("LARGE=") + c.value});
        EXPECT_EQ(first(t).ScaleS(), c.scale) << c.value;
        EXPECT_EQ(first(t).ScaleL(), c.scale) << c.value;
    }
    // LEVEL of the oldest files: a fixed table for the small-scale end.
    struct Level {
        const char* value;
        double scale;
    } levels[] = {{"0", 100000}, {"2", 3000000}, {"3", 8000000}, {"8", 300000000}, {"9", 1e9}, {"-1", 1e9}, {"2.5", 3000000}};
    for (const Level& l : levels) {
        clsThings t = oneThing({"NUMBER=1", "FIGURE=POLYGON", "LARGE=5000000", QStringLiteral("LEVEL=") + l.value});
        EXPECT_EQ(first(t).ScaleS(), LimitMapScale(l.scale)) << l.value;
        EXPECT_EQ(first(t).ScaleL(), MapScaleMin) << l.value;
        EXPECT_FALSE(LinesOf(t).join(QLatin1Char('\n')).contains(QStringLiteral("LEVEL"))) << l.value;
    }
}

TEST(ThingFile, ColoursInHexadecimalAndNone) {
    struct Case {
        const char* text;
        int32_t colour;
        const char* written;
    } cases[] = {
        {"&HFFFFFFFF&", -1, "&HFFFFFFFF&"}, {"-1", -1, "&HFFFFFFFF&"},     {"&HFF", 255, "&H000000FF&"},
        {"&hffff", 65535, "&H0000FFFF&"},   {"&H80000005&", static_cast<int32_t>(0x80000005), "&H80000005&"},
        {" 16711680", 0xFF0000, "&H00FF0000&"}, {"12abc", 12, "&H0000000C&"}, {"&H", 0, "&H00000000&"},
        {"&H1FFFFFFFF", 0, "&H00000000&"},
    };
    for (const Case& c : cases) {
        clsThings t = oneThing({"NUMBER=1", "FIGURE=SYMBOL", QStringLiteral("FORE=") + c.text});
        EXPECT_EQ(first(t).Fore(), c.colour) << c.text;
        EXPECT_TRUE(LinesOf(t).contains(QStringLiteral("FORE=") + c.written)) << c.text;
    }
}

TEST(ThingFile, UnknownKeysAndOddLinesAreSkipped) {
    clsThings t = oneThing({"NUMBER=3", "COLOUR=5", "figure=text", "=odd", "Name=mixed", " SHOW=0", "HEIGHT=12"});
    const clsThing& x = first(t);
    EXPECT_EQ(x.Figure(), 5);
    EXPECT_EQ(x.Name(), "mixed");
    EXPECT_EQ(x.ShowMode(), -1);   // " SHOW" is another key
    EXPECT_EQ(x.Size(), 12);
}

TEST(ThingFile, EmptyValuesKeepTheThingGoing) {
    clsThings t = oneThing({"NUMBER=4", "NAME=\"\"", "FIGURE=", "FIGURE=TEXT", "EUROPIAN=\"\"", "JAPANESE=", "SHOW=",
                            "STYLE=3", "HEIGHT=12"});
    const clsThing& x = first(t);
    EXPECT_EQ(x.Name(), "");
    EXPECT_EQ(x.Figure(), 5);
    EXPECT_EQ(x.Europian(), "");
    EXPECT_EQ(x.Japanese(), "");
    EXPECT_EQ(x.ShowMode(), -1);
    EXPECT_EQ(x.Style(), 3);
    EXPECT_EQ(x.Size(), 12);

    // Eight font names whose last is empty keep all eight.
    clsThings fonts = oneThing({"NUMBER=1", "FIGURE=TEXT", "EUROPIAN=\"a\",\"a\",\"a\",\"a\",\"a\",\"a\",\"a\",\"\""});
    EXPECT_EQ(first(fonts).PageRecord(7).Europian, "a");
    EXPECT_EQ(first(fonts).PageRecord(8).Europian, "");
}

TEST(ThingFile, NumbersFromTheHeaderTheKeyOrTheCatalogue) {
    clsThings t = ThingsFrom({"[THING=12]", "NAME=\"a\"", "", "[THING=20]", "NUMBER=5", "", "[thing]", "NAME=\"c\"", "",
                              " [THING] ", "", "[THING=]", "NUMBER=", ""});
    std::vector<int16_t> numbers;
    for (const ThingPtr& x : t) numbers.push_back(x->Index());
    // No number: the highest plus one; "[THING=]" is number 0.
    EXPECT_EQ(numbers, (std::vector<int16_t>{12, 5, 13, 14, 0}));
    EXPECT_EQ(t.Item(13)->Name(), "c");
    EXPECT_FALSE(t.Modify());
}

TEST(ThingFile, SkippedSectionsAndSectionsWithoutAnEmptyLine) {
    clsThings t = ThingsFrom({"[LINK]", "1,2", "[THING]", "NUMBER=9", "", "[THING]", "NUMBER=7", "FIGURE=REM",
                              "[THING]", "NUMBER=8", "[NATION]", "a=b", "", "[THING=4]", "NAME=\"four\"", "[THING=5]",
                              "NAME=\"five\"", "[CATEGORY]", "1,\"x\"", "3", "2,\"y\",z", "[COMMENT]", "last"});
    std::vector<int16_t> numbers;
    for (const ThingPtr& x : t) numbers.push_back(x->Index());
    EXPECT_EQ(numbers, (std::vector<int16_t>{7, 8, 4, 5}));
    EXPECT_EQ(t.Item(4)->Name(), "four");
    EXPECT_EQ(t.CategoryName(1), "x");
    EXPECT_EQ(t.CategoryName(2), "");
    EXPECT_EQ(t.Comment(), "last");
}

TEST(ThingFile, BadNumbersRaise) {
    struct Case {
        QStringList lines;
        int32_t number;
    } cases[] = {
        {{"[THING]", "NUMBER=3", "", "[THING]", "NUMBER=3", ""}, ErrGeneral},
        {{"[THING=3]", "", "[THING]", "NUMBER=3", ""}, ErrGeneral},
        {{"[THING]", "NUMBER=40000", ""}, plat::ErrOverflow},
        {{"[THING=99999]", ""}, plat::ErrOverflow},
        {{"[THING]", "NUMBER=1", "STYLE=1,2,70000", ""}, plat::ErrOverflow},
        {{"[THING]", "NUMBER=1", "FORE=99999999999", ""}, plat::ErrOverflow},
    };
    for (const Case& c : cases) {
        try {
            ThingsFrom(c.lines);
            ADD_FAILURE() << c.lines.join('|').toStdString();
        } catch (const plat::AppError& e) {
            EXPECT_EQ(e.number(), c.number) << c.lines.join('|').toStdString();
        }
    }
}

TEST(ThingFile, RemThingsAndEveryKindWriteTheirKeys) {
    clsThings t;
    t.Add(thingOf(0, 1, QStringLiteral("rem")));
    auto text = thingOf(1, 5, QStringLiteral("text"));
    text->setSize(9);
    text->setPage(2);
    text->setJapanese(QStringLiteral("明朝"));
    t.Add(text);
    auto line = thingOf(2, 2);
    line->setSize(4);
    line->SameOne();
    t.Add(line);
    const QStringList lines = LinesOf(t);
    const qsizetype at = lines.indexOf(QStringLiteral("NUMBER=0"));
    EXPECT_EQ(lines.mid(at, 5), (QStringList{"NUMBER=0", "FIGURE=REM", "NAME=\"rem\"", "CATEGORY=-1", ""}));
    const qsizetype atText = lines.indexOf(QStringLiteral("NUMBER=1"));
    QStringList keys;
    for (const QString& l : lines.mid(atText, 13)) keys.append(l.section(QLatin1Char('='), 0, 0));
    EXPECT_EQ(keys, (QStringList{"NUMBER", "FIGURE", "NAME", "CATEGORY", "SHOW", "SMALL", "LARGE", "FORE", "BACK",
                                 "STYLE", "HEIGHT", "EUROPIAN", "JAPANESE"}));
    EXPECT_TRUE(lines.contains(QStringLiteral("JAPANESE=\"(default)\",\"明朝\",\"(default)\",\"(default)\",\"(default)\","
                                              "\"(default)\",\"(default)\",\"(default)\"")));
    EXPECT_TRUE(lines.contains(QStringLiteral("WIDTH=4")));
}

// Everything the file keeps reads back as it was, written through a file.
TEST(ThingFile, RoundTripThroughAFileIsExact) {
    cattest::Folders folders;
    clsThings t;
    t.setFileName(folders.map(QStringLiteral("round")));
    t.setComment(QStringLiteral("first\r\n\r\n  \r\n[THING]\nlast \"q\""));
    t.setCategoryName(1, QStringLiteral("枠組"));
    t.setCategoryName(20, QStringLiteral("a, \"b\""));
    t.Add(thingOf(0, 1, QStringLiteral("注釈")));
    for (int32_t figure = 2; figure <= 5; ++figure) {
        auto x = thingOf(figure * 10, figure, QStringLiteral(" name, %1 ").arg(figure));
        x->setCategory(figure);
        for (int p = 1; p <= 8; ++p) {
            x->setPage(p);
            x->setShowMode(p % 3 - 1);
            x->setScaleS(ScaleOfLevel(static_cast<int16_t>(p)));
            x->setScaleL(1234567.8912345678);
            x->setFore(p == 3 ? -1 : 0x010203 * p);
            x->setBack(static_cast<int32_t>(0x80000000u) + p);
            x->setStyle(figure == 2 ? 100 + p * 5 : p);
            x->setSize(figure == 2 ? p : 10 * p);
            x->setEuropian(p == 8 ? QString() : QStringLiteral("Font %1").arg(p));
            x->setJapanese(QStringLiteral("ゴシック"));
        }
        t.Add(x);
    }
    auto same = thingOf(999, 5, QString());
    t.Add(same);
    ASSERT_EQ(t.Save(), 0);
    EXPECT_FALSE(t.Modify());
    clsThings back;
    back.setFileName(t.FileName());
    ASSERT_EQ(back.Load(), 0);
    EXPECT_EQ(fuzzcat::CompareThings(t, back), QString());
    EXPECT_EQ(back.Comment(), "first\r\n\r\n  \r\n[THING]\r\nlast \"q\"");
    EXPECT_EQ(back.CategoryName(20), QStringLiteral("a, ＂b＂"));
    EXPECT_EQ(back.Item(40)->PageRecord(7).ScaleL, 1234567.8912345678);
    EXPECT_FALSE(back.Modify());
    EXPECT_FALSE(back.LockMode());
    // The comment's empty line is written as one blank.
    const QStringList lines = cattest::ReadLines(t.FileName());
    EXPECT_EQ(lines.mid(0, 7), (QStringList{"[COMMENT]", "first", " ", "   ", "[THING]", "last \"q\"", ""}));
}

// ---------------------------------------------------------- the catalogue

TEST(Things, AddRemoveItemAndSearch) {
    clsThings t;
    EXPECT_TRUE(t.Add(thingOf(5, 2, QStringLiteral("Road"))));
    auto unnumbered = std::make_shared<clsThing>();
    unnumbered->setName(QStringLiteral("rail"));
    EXPECT_TRUE(t.Add(unnumbered));
    EXPECT_EQ(unnumbered->Index(), 6);
    EXPECT_EQ(t.Item(6), unnumbered);
    EXPECT_EQ(t.Item(7), nullptr);
    EXPECT_EQ(t.Item(-1), nullptr);
    EXPECT_EQ(t.Item(1000), nullptr);
    EXPECT_EQ(t.Search(QStringLiteral("ROAD")), 5);
    EXPECT_EQ(t.Search(QStringLiteral("bus")), -1);
    try {
        t.Add(thingOf(5, 3));
        ADD_FAILURE() << "a number given twice was taken";
    } catch (const plat::AppError& e) {
        EXPECT_EQ(e.number(), ErrGeneral);
        EXPECT_TRUE(e.source().startsWith(QStringLiteral("clsThings.Add/")));
    }
    EXPECT_TRUE(t.Remove(5));
    EXPECT_FALSE(t.Remove(5));
    EXPECT_EQ(t.Item(5), nullptr);

    clsThings full;
    full.Add(thingOf(999, 2));
    EXPECT_FALSE(full.Add(std::make_shared<clsThing>()));
    EXPECT_EQ(full.Count(), 1);
}

TEST(Things, ModifyIsTheCatalogueOrAnyThing) {
    clsThings t = oneThing({"NUMBER=1", "FIGURE=POLYGON"});
    EXPECT_FALSE(t.Modify());
    t.Item(1)->setFore(3);
    EXPECT_TRUE(t.Modify());
    t.Item(1)->setModify(false);
    EXPECT_TRUE(t.Modify());   // the catalogue's own flag stays set
    t.setModify(false);
    EXPECT_FALSE(t.Modify());
    EXPECT_FALSE(t.Item(1)->Modify());

    const QString name = t.FileName();
    t.setFileName(name.toLower());
    EXPECT_FALSE(t.Modify());
    t.setFileName(QStringLiteral("other.thg"));
    EXPECT_EQ(t.FileName(), "other.THG");
    EXPECT_TRUE(t.Modify());
}

TEST(Things, LockRefusesEveryEdit) {
    clsThings t = oneThing({"NUMBER=1"});
    t.setLockMode(true);
    {
        testsupport::ScriptedBoxes boxes;
        for (const char* edit : {"Add", "Remove", "Comment", "CategoryName", "ClearAll"})
            boxes.expect(QStringLiteral("は変更禁止. [%1]").arg(QLatin1String(edit)), plat::IdOk);
        EXPECT_FALSE(t.Add(thingOf(2, 2)));
        EXPECT_FALSE(t.Remove(1));
        t.setComment(QStringLiteral("x"));
        t.setCategoryName(1, QStringLiteral("x"));
        t.ClearAll();
    }
    EXPECT_EQ(t.Count(), 1);
    EXPECT_EQ(t.Comment(), "");
    // A copy of a locked catalogue is locked and modified.
    auto c = t.Copy();
    EXPECT_TRUE(c->LockMode());
    EXPECT_TRUE(c->Modify());
    EXPECT_EQ(c->Count(), 1);
}

TEST(Things, LoadAndSaveResults) {
    cattest::Folders folders;
    clsThings t = oneThing({"NUMBER=1", "FIGURE=POLYGON"});
    t.setFileName(folders.map(QStringLiteral("missing.THG")));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("事象ファイルが存在しません."), plat::IdOk);
        EXPECT_EQ(t.Load(), 53);
    }
    EXPECT_EQ(t.Count(), 1);

    // A file that fails half-way leaves the catalogue as it was.
    const QString bad = folders.map(QStringLiteral("BAD.THG"));
    cattest::WriteLines(bad, {"[THING]", "NUMBER=2", "", "[THING]", "NUMBER=2", ""});
    t.setFileName(bad);
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("*Source=clsThings.Add/"), plat::IdOk);
        EXPECT_THROW(t.Load(), plat::AppError);
    }
    EXPECT_EQ(t.Count(), 1);
    EXPECT_EQ(t.Item(1)->Figure(), 3);

    // Read-only: locked after loading, and a save is refused.
    const QString ro = folders.map(QStringLiteral("RO.THG"));
    cattest::WriteLines(ro, {"[THING]", "NUMBER=2", ""});
    ::chmod(QFile::encodeName(ro).constData(), 0444);
    t.setFileName(ro);
    ASSERT_EQ(t.Load(), 0);
    EXPECT_TRUE(t.LockMode());
    t.setModify(true);
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("は読み取り専用ファイルです."), plat::IdOk);
        EXPECT_EQ(t.Save(), 70);
    }
    ::chmod(QFile::encodeName(ro).constData(), 0644);

    // Nothing modified: nothing written.
    clsThings quiet = oneThing({"NUMBER=1"});
    quiet.setFileName(folders.map(QStringLiteral("quiet.THG")));
    quiet.setModify(false);
    EXPECT_EQ(quiet.Save(), 0);
    EXPECT_FALSE(QFile::exists(quiet.FileName()));
}

TEST(Things, SaveRefusesNumbersGivenTwiceAndKeepsTheFile) {
    cattest::Folders folders;
    clsThings t;
    t.setFileName(folders.map(QStringLiteral("twice")));
    t.Add(thingOf(1, 2));
    t.Add(thingOf(2, 2));
    ASSERT_EQ(t.Save(), 0);
    const QStringList before = cattest::ReadLines(t.FileName());
    t.Item(2)->setIndex(1);
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("事象番号 1 が重複しているため保存できません."), plat::IdOk);
        EXPECT_EQ(t.Save(), ErrGeneral);
    }
    EXPECT_EQ(cattest::ReadLines(t.FileName()), before);
    // A name without a Shift-JIS form stops the save; the file stays.
    const ThingPtr one = t.Item(1);
    one->setIndex(3);
    one->setName(QStringLiteral("\U0001F600"));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("*Source="), plat::IdOk);
        EXPECT_THROW(t.Save(), plat::AppError);
    }
    EXPECT_EQ(cattest::ReadLines(t.FileName()), before);
}
