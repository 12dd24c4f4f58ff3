#include "MapSymbolTestSupport.h"

#include "ExpStyleModel.h"
#include "basColorLib.h"
#include "basGlobe.h"
#include "clsEnvironment.h"

using namespace symboltest;

namespace {

using MapSymbolPopup = Opening;

TEST_F(MapSymbolPopup, ShowModesFollowPageSync) {
    const int32_t r = rowOf(QStringLiteral("陸地"));
    const struct {
        int32_t code;
        bool pageSync;
        int16_t onCurrent, onOther;
    } cases[] = {
        {MapSymbolModel::popShow, true, 1, 1},  {MapSymbolModel::popHide, true, 0, 0},
        {MapSymbolModel::popShow, false, 1, 0}, {MapSymbolModel::popDepend, false, -1, 0},
    };
    for (const auto& c : cases) {
        m.EiPageSync = c.pageSync;
        things.select(r, 1, r, 1);
        m.cmdThings(c.code);
        const clsThing& t = work(u"陸地");
        EXPECT_EQ(t.PageRecord(1).ShowMode, c.onCurrent) << c.code;
        EXPECT_EQ(t.PageRecord(6).ShowMode, c.onOther) << c.code;
        EXPECT_EQ(work(u"陸地", 1).PageRecord(1).ShowMode, c.onCurrent);   // synchronised by name
        EXPECT_EQ(things.TextMatrix(r, MapSymbolModel::colShow), MapSymbolModel::ShowModeText(t));
    }
    m.cmdThings(42);   // unknown codes do nothing
    EXPECT_EQ(work(u"陸地").PageRecord(1).ShowMode, -1);
}

TEST_F(MapSymbolPopup, RaiseAndLowerWalkTheLadderAndBack) {
    m.EiPageSync = false;
    clsThing& t = work(u"陸地");
    t.setPage(1);
    t.setShowMode(1);
    t.setScaleS(1000000);
    t.setScaleL(130000);   // between 150000 and 120000: snaps to 150000 first
    const int32_t r = rowOf(QStringLiteral("陸地"));
    things.select(r, 1, r, 1);
    m.cmdThings(MapSymbolModel::popUp);
    EXPECT_EQ(t.PageRecord(1).ScaleS, ScaleOfLevel(int16_t(LevelOfScale(1000000) - 1)));
    EXPECT_EQ(t.PageRecord(1).ScaleL, 170000);
    EXPECT_EQ(t.PageRecord(1).ShowMode, -1);
    m.cmdThings(MapSymbolModel::popDown);
    EXPECT_EQ(t.PageRecord(1).ScaleS, 1000000);
    EXPECT_EQ(t.PageRecord(1).ScaleL, 150000);
    t.setScaleL(ScaleOfLevel(53));
    m.cmdThings(MapSymbolModel::popDown);   // off the ladder: that bound stays
    EXPECT_EQ(t.PageRecord(1).ScaleL, ScaleOfLevel(53));
    EXPECT_EQ(t.PageRecord(1).ScaleS, ScaleOfLevel(int16_t(LevelOfScale(1000000) + 1)));
}

TEST_F(MapSymbolPopup, ColoursAreChosenCopiedAndPastedOverASelection) {
    EXPECT_FALSE(m.PasteEnabled());
    const int32_t coast = rowOf(QStringLiteral("海岸線")), land = rowOf(QStringLiteral("陸地"));
    int32_t answer = -1;
    const RealColorInput previous = SetRealColorInput([&](int32_t) { return answer; });
    things.select(coast, 1, land, 1);
    m.cmdThings(MapSymbolModel::popFore);   // cancelled
    EXPECT_EQ(work(u"海岸線").PageRecord(1).Fore, 0x0000C0);
    answer = 0x123456;
    m.cmdThings(MapSymbolModel::popBack);
    EXPECT_EQ(work(u"陸地").PageRecord(3).Back, 0x123456);
    EXPECT_EQ(work(u"海岸線").PageRecord(1).Back, 0x123456);
    SetRealColorInput(previous);

    things.select(coast - 1, 1, coast, 1);   // a category row first copies nothing
    m.cmdThings(MapSymbolModel::popCopy);
    EXPECT_FALSE(m.PasteEnabled());

    clsThing& src = work(u"陸地");
    src.setPage(1);
    src.setFore(0x00FF00);
    src.setBack(-1);
    things.select(land, 1, land, 1);
    m.cmdThings(MapSymbolModel::popCopy);
    EXPECT_EQ(m.CopiedFore, 0x00FF00);
    EXPECT_EQ(m.CopiedBack, -1);
    EXPECT_TRUE(m.PasteEnabled());
    const int32_t last = things.Rows() - 1;
    things.select(1, 1, last, 1);
    m.cmdThings(MapSymbolModel::popPaste);
    EXPECT_EQ(work(u"空港").PageRecord(5).Fore, 0x00FF00);
    EXPECT_EQ(work(u"空港").PageRecord(5).Back, -1);   // a copied "none" is pasted
    EXPECT_EQ(things.selTop(), 1);
    EXPECT_EQ(things.selBottom(), last);

    m.CopiedFore = -1;   // never pasted as a fore colour
    m.CopiedBack = -2;   // nothing to paste as back
    src.setBack(0x0000FF);
    things.select(land, 1, land, 1);
    m.cmdThings(MapSymbolModel::popPaste);
    EXPECT_EQ(src.PageRecord(1).Fore, 0x00FF00);
    EXPECT_EQ(src.PageRecord(1).Back, 0x0000FF);
}

TEST_F(MapSymbolPopup, RestoreOfTheWholeListClearsModifyAPartLeavesIt) {
    const int32_t land = rowOf(QStringLiteral("陸地"));
    things.select(land, 1, land, 1);
    m.cmdThings(MapSymbolModel::popHide);
    ASSERT_TRUE(m.CurThings->Modify());
    m.cmdThings(MapSymbolModel::popRestore);
    EXPECT_EQ(work(u"陸地").PageRecord(4).ShowMode, own(u"陸地").PageRecord(4).ShowMode);
    EXPECT_TRUE(m.CurThings->Modify());
    things.select(1, 1, things.Rows() - 1, 1);
    m.cmdThings(MapSymbolModel::popRestore);
    EXPECT_FALSE(m.CurThings->Modify());
    EXPECT_FALSE(m.WorkThings[0]->Modify());
}

// The coloured map with a fixed draw and an Environment.txt of our own.
struct MapSymbolColoured : Opening {
    clsEnvironment env;
    clsEnvironment* was = gvEnvironment;
    std::vector<int32_t> asked;
    MapSymbolColoured() {
        gvEnvironment = &env;
        m.Draw = [this](int32_t n) {
            asked.push_back(n);
            return int32_t(asked.size() - 1) % n + 1;
        };
    }
    ~MapSymbolColoured() override { gvEnvironment = was; }
    void landColours(int32_t fore, int32_t back) {
        clsThing& t = work(u"陸地");
        t.setPage(1);
        t.setFore(fore);
        t.setBack(back);
    }
};

TEST_F(MapSymbolColoured, NumberOfPagesIsTwoToEightDefaultFour) {
    const struct {
        const char* line;
        int32_t n;
    } cases[] = {{"", 4}, {"ColoredMapNum=6", 6}, {"ColoredMapNum=8", 8}, {"ColoredMapNum=2", 2},
                 {"ColoredMapNum=1", 4}, {"ColoredMapNum=9", 4}};
    for (const auto& c : cases) {
        env = clsEnvironment();
        env.LoadLines({QString::fromLatin1(c.line)});
        asked.clear();
        landColours(0x0000FF, -1);
        m.ColoredMap();
        ASSERT_EQ(asked.size(), size_t(m.CurAdmins->Count())) << c.line;
        EXPECT_EQ(asked.front(), c.n) << c.line;
        for (const AdminPtr& a : *m.CurAdmins) EXPECT_LE(a->Page(), c.n) << c.line;
    }
}

TEST_F(MapSymbolColoured, ModesByTheLandColour) {
    // Hue: red turns by 90 degrees a page; a back of none stays none.
    landColours(0x0000FF, -1);
    m.ColoredMap();
    const clsThing& t = work(u"陸地");
    const int32_t hues[] = {0, 90, 180, 270};
    for (int32_t p = 1; p <= 4; ++p) {
        EXPECT_NEAR(RGBtoHSV(ColorToRgb(t.PageRecord(p).Fore)).H, hues[p - 1], 1.0) << p;
        EXPECT_EQ(t.PageRecord(p).Back, -1);
    }
    EXPECT_EQ(t.PageRecord(5).Fore, 0x0000FF);   // pages past N keep page 1
    EXPECT_EQ(work(u"陸地", 1).PageRecord(2).Fore, t.PageRecord(2).Fore);   // synchronised
    EXPECT_EQ(m.WorkAdmins[0]->Item(1)->Page(), 1);   // but not the districts

    // Patterns: a dark colour, even a grey one, gets lighter and a hatch per page.
    landColours(0x101010, 0xFFFFFF);
    m.ColoredMap();
    EXPECT_EQ(t.PageRecord(1).Style, 1);
    EXPECT_EQ(t.PageRecord(2).Style, 2);
    EXPECT_EQ(t.PageRecord(4).Style, 4);
    EXPECT_NEAR(RGBtoHSV(ColorToRgb(t.PageRecord(3).Fore)).V, 0.75, 0.01);

    // Saturation: a light grey gains saturation page by page.
    landColours(0xC0C0C0, 0xC0C0C0);
    m.ColoredMap();
    double last = -1;
    for (int32_t p = 1; p <= 4; ++p) {
        const double s = RGBtoHSV(ColorToRgb(t.PageRecord(p).Back)).S;
        EXPECT_GT(s, last) << p;
        last = s;
    }
}

TEST_F(MapSymbolColoured, NoLandThingIsAnErrorAndChangesNothing) {
    m.CurThings->Item(2)->setName(QStringLiteral("陸"));
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("事象 [陸地] が存在しません."), 1);
    m.ColoredMap();
    EXPECT_TRUE(asked.empty());
}

} // namespace
