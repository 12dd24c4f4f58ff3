// The environment, graticule and accessory dialogs without their windows:
// the arithmetic of the screen width, the checks and their messages, the
// angle-format and interval lists, the home position per map mode, and
// what OK and Cancel leave in the objects handed in.
#include <gtest/gtest.h>

#include "ExpStyleModel.h"
#include "SettingsTestSupport.h"
#include "clsAccessory.h"
#include "clsGrid.h"
#include "clsMapPlot.h"
#include "frmAccessoryLogic.h"
#include "frmEnvironmentLogic.h"
#include "frmGridLogic.h"

using settingstest::FakeHost;

namespace {

constexpr int32_t kSample = -(123 * 3600 + 12 * 60 + 12);   // 123°12′12″ West

struct Environment : ::testing::Test {
    FakeHost host;
    testsupport::ScriptedBoxes boxes;
    frmEnvironmentLogic m;
    Environment() { m.ScreenWidthPixels = 1280; }
};

} // namespace

TEST(EnvironmentArithmetic, WidthAndResolutionStayInRange) {
    struct Case {
        int32_t pixels, dpi, mm;
    } widths[] = {
        {1280, 96, 338}, {1280, 100, 325}, {1920, 144, 338},
        {1280, 4, 8128},     // the lowest resolution the settings keep
        {1280, 32767, 10},   // 0 mm before the clamp, and OK would divide by it
        {100000, 4, 9999},
    };
    for (const Case& c : widths) EXPECT_EQ(frmEnvironmentLogic::WidthMMOf(c.pixels, c.dpi), c.mm) << c.pixels << "/" << c.dpi;
    struct Back {
        int32_t pixels, mm, dpi;
    } dpis[] = {{1280, 338, 96}, {1280, 325, 100}, {1280, 10, 3251}, {1280, 0, 3251}, {200000, 10, 32767}};
    for (const Back& c : dpis) EXPECT_EQ(frmEnvironmentLogic::DpiOf(c.pixels, c.mm), c.dpi) << c.pixels << "/" << c.mm;
}

TEST_F(Environment, RefusedEntriesShowTheRangeAndKeepTheValue) {
    host.state.ScreenDPI = 96;
    m.Load();
    struct Case {
        bool (frmEnvironmentLogic::*check)(const QString&);
        const char* text;
        const char* detail;   // null: accepted
    } cases[] = {
        {&frmEnvironmentLogic::CheckScreenWidth, "9", "10～9999"},
        {&frmEnvironmentLogic::CheckScreenWidth, "10000", "10～9999"},
        {&frmEnvironmentLogic::CheckScreenWidth, "幅", "10～9999"},
        {&frmEnvironmentLogic::CheckScreenWidth, "0", "10～9999"},
        {&frmEnvironmentLogic::CheckScreenWidth, "９９９９", nullptr},
        {&frmEnvironmentLogic::CheckHomeScale, "99999", "100,000～1,000,000,000"},
        {&frmEnvironmentLogic::CheckHomeScale, "1000000001", "100,000～1,000,000,000"},
        {&frmEnvironmentLogic::CheckHomeScale, "縮尺", "100,000～1,000,000,000"},
        {&frmEnvironmentLogic::CheckHomeScale, "1,000,000", nullptr},
        {&frmEnvironmentLogic::CheckHomeX, "経度", "180°00′00″W～180°00′00″E"},
        {&frmEnvironmentLogic::CheckHomeX, "E139°30′00″", nullptr},
        {&frmEnvironmentLogic::CheckHomeY, "S91°", "90°00′00″S～90°00′00″N"},
        {&frmEnvironmentLogic::CheckHomeY, "N35°41′22″", nullptr},
    };
    for (const Case& c : cases)
        if (c.detail) boxes.expect(QString::fromUtf8(c.detail), plat::IdOk);
    for (const Case& c : cases) {
        const frmEnvironmentLogic before = m;
        const bool ok = (m.*c.check)(QString::fromUtf8(c.text));
        EXPECT_EQ(ok, c.detail == nullptr) << c.text;
        if (!ok) {
            EXPECT_EQ(m.ScreenWidthMM, before.ScreenWidthMM) << c.text;
            EXPECT_EQ(m.HomeScale, before.HomeScale) << c.text;
            EXPECT_EQ(m.HomeX, before.HomeX) << c.text;
            EXPECT_EQ(m.HomeY, before.HomeY) << c.text;
        }
    }
    EXPECT_EQ(m.ScreenWidthMM, 9999);
    EXPECT_EQ(m.HomeScale, 1e6);
    EXPECT_EQ(m.HomeX, 139 * 3600 + 30 * 60);
    EXPECT_EQ(m.HomeY, 35 * 3600 + 41 * 60 + 22);
    ASSERT_FALSE(boxes.shown().empty());
    EXPECT_TRUE(boxes.shown()[0].text.startsWith(QStringLiteral("既定の範囲を超えています.")));
}

// The list's samples are the program's own texts of 123°12′12″ West.
TEST_F(Environment, AngleEntriesSwitchTheProgramsFormat) {
    m.Load();
    for (int entry = 1; entry <= 9; ++entry) {
        m.ChooseAngle(entry);
        m.Accept();
        const QString name = QString::fromUtf16(frmEnvironmentLogic::AngleFormats()[size_t(entry)].name);
        EXPECT_EQ(LonToStr(kSample), name.mid(4)) << entry;
        EXPECT_EQ(m.AngleIndex(), entry);
    }
    m.ChooseAngle(3);
    m.ChooseAngle(0);   // "未指定" keeps the format
    EXPECT_EQ(m.AngleIndex(), 3);
    m.Accept();
    EXPECT_EQ(LonToStr(kSample), QStringLiteral("W123d12m12s"));
    EXPECT_EQ(host.state.AngleValue * 100 + host.state.AngleUnit * 10 + host.state.AngleDirection, 132);

    host.state.AngleValue = 2;   // degrees and minutes are not in the list
    m.Load();
    EXPECT_EQ(m.AngleIndex(), 0);
    m.Accept();
    EXPECT_EQ(host.state.AngleValue, 2);
}

TEST_F(Environment, IntervalEntriesAreQuarterHours) {
    struct Case {
        int16_t stored;
        int index;
    } cases[] = {{0, 0}, {15, 1}, {20, 1}, {30, 2}, {-5, 0}};
    for (const Case& c : cases) {
        host.state.SaveInterval = c.stored;
        m.Load();
        EXPECT_EQ(m.SaveIntervalIndex(), c.index) << c.stored;
    }
    host.state.SaveInterval = 20;
    m.Load();
    m.Accept();
    EXPECT_EQ(host.state.SaveInterval, 15);
    m.ChooseSaveInterval(0);
    m.Accept();
    EXPECT_EQ(host.state.SaveInterval, 0);
}

TEST_F(Environment, HomeFollowsTheMapModeAndCancelKeepsIt) {
    host.mode = host.state.MapMode = 2;
    const EnvironmentState before = host.state;
    m.Load();
    EXPECT_EQ(m.HomeX, -12000);
    EXPECT_EQ(m.HomeXText().trimmed(), QStringLiteral("-12.000km"));
    EXPECT_TRUE(m.CheckHomeX(QStringLiteral("250")));   // kilometres by default
    m.Accept();
    EXPECT_EQ(host.state.HomeX, 250000);
    EXPECT_EQ(host.state.HomeY, before.HomeY);
    EXPECT_EQ(host.state.HomeLon, before.HomeLon);
    EXPECT_EQ(host.state.HomeScaleLL, before.HomeScaleLL);

    host.mode = host.state.MapMode = 1;
    clsMapPlot plot;
    plot.setCenterX(10 * 3600);
    plot.setCenterY(-20 * 3600);
    plot.setMapScale(2e6);
    m.PlotEngine = &plot;
    m.Load();
    m.TakeCurrentView();
    EXPECT_EQ(m.HomeXText(), LonToStr(36000));
    EXPECT_EQ(m.HomeScaleText(), QStringLiteral("2,000,000"));
    m.Cancel();
    EXPECT_FALSE(m.DialogOK);
    EXPECT_EQ(host.written.size(), 1u);
    EXPECT_EQ(host.state.HomeLon, before.HomeLon);
}

TEST(GridLogic, SliderLandsOnHalfDegrees) {
    frmGridLogic m;
    struct Case {
        int i;
        int32_t p, landed, value;
    } cases[] = {
        {0, 0, 0, 60},   // a spacing is never 0
        {1, 14, 0, 60},
        {0, 44, 30, 1800},
        {0, 45, 60, 3600},
        {0, 2700, 2700, 162000},
        {2, 300, 300, 18000},
        {2, 5399, 5400, 324000},
        {3, -44, -30, -1800},
        {3, -45, -60, -3600},
        {3, -5400, -5400, -324000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m.Scroll(c.i, c.p), c.landed) << c.i << " " << c.p;
        EXPECT_EQ(m.Value(c.i), c.value) << c.i << " " << c.p;
    }
}

TEST(GridLogic, TypedValuesOutsideTheirRowAreRefused) {
    FakeHost host;
    testsupport::ScriptedBoxes boxes;
    clsGrid grid;
    frmGridLogic m;
    m.TargetGrid = &grid;
    m.Load();
    struct Case {
        int i;
        const char* text;
        const char* detail;   // null: accepted
        int32_t value;
    } cases[] = {
        {2, "0ﾟ30'", "5ﾟ00'N～90ﾟ00'N", 270000},
        {0, "0ﾟ00'30\"", "0ﾟ01'～45ﾟ00'", 54000},
        {1, "間隔", "0ﾟ01'～45ﾟ00'", 54000},
        {0, "45ﾟ00'01\"", "0ﾟ01'～45ﾟ00'", 54000},
        {0, "45ﾟ", nullptr, 162000},
        {1, "0ﾟ01'", nullptr, 60},
        {3, "N10ﾟ", "5ﾟ00'S～90ﾟ00'S", -270000},
        {3, "S10ﾟ", nullptr, -36000},
        {2, "90ﾟN", nullptr, 324000},
    };
    for (const Case& c : cases)
        if (c.detail) boxes.expect(QString::fromUtf8(c.detail), plat::IdOk);
    for (const Case& c : cases) {
        EXPECT_EQ(m.CheckText(c.i, QString::fromUtf8(c.text)), c.detail == nullptr) << c.text;
        EXPECT_EQ(m.Value(c.i), c.value) << c.text;
    }
    EXPECT_EQ(m.Text(3), LatToStr(-36000));
    EXPECT_EQ(m.SliderPosition(3), -600);
}

TEST(GridLogic, OkWritesSpacingAndSwitchesAllLinesTogether) {
    struct Case {
        bool enable, autoSpacing;
        int32_t north, south;
    } cases[] = {
        {true, false, 180000, -90000},
        {true, true, 323970, -323970},   // opened to the poles, then clamped
        {false, false, 180000, -90000},
    };
    for (const Case& c : cases) {
        clsGrid grid;
        grid.Vertical = grid.Horizontal = grid.Zone = !c.enable;
        frmGridLogic m;
        m.TargetGrid = &grid;
        m.GridEnable = c.enable;
        m.GridAuto = c.autoSpacing;
        m.Load();
        EXPECT_EQ(m.ValuesEnabled(), c.enable && !c.autoSpacing);
        m.Scroll(0, 120);
        m.Scroll(1, 600);
        m.Scroll(2, 3000);
        m.Scroll(3, -1500);
        m.Accept();
        EXPECT_TRUE(m.DialogOK);
        EXPECT_EQ(grid.Vertical, c.enable);
        EXPECT_EQ(grid.Horizontal, c.enable);
        EXPECT_EQ(grid.Zone, c.enable);
        EXPECT_EQ(grid.Width(), 7200);
        EXPECT_EQ(grid.Height(), 36000);
        EXPECT_EQ(grid.NorthLimit(), c.north);
        EXPECT_EQ(grid.SouthLimit(), c.south);
    }
}

namespace {

struct Accessory : ::testing::Test {
    FakeHost host;
    clsAccessory set;
    frmAccessoryLogic m;
    Accessory() {
        set.Clear();
        m.TargetAccessory = &set;
    }
    int32_t ColorOf(int i) {
        set.setIndex(i);
        return set.Color();
    }
};

} // namespace

TEST_F(Accessory, RecordsAreCopiesUntilOk) {
    set.setPosition(0);
    set.setIndex(clsAccessory::Title);
    set.setUse(true);
    set.setText(QStringLiteral("世界"));
    const plat::FontRef titleFont = set.Font();
    const QString titleFace = titleFont->name;
    m.Load();
    EXPECT_EQ(m.WorkPosition, 0);
    EXPECT_TRUE(m.Item(clsAccessory::Title).Use);
    EXPECT_EQ(m.Item(clsAccessory::Title).Text, QStringLiteral("世界"));
    EXPECT_NE(m.Item(clsAccessory::Title).Font, titleFont);
    EXPECT_EQ(m.Item(clsAccessory::Title).Font->name, titleFont->name);
    EXPECT_EQ(m.Item(clsAccessory::Back).Font, nullptr);

    plat::StdFont bold = *titleFont;
    bold.name = QStringLiteral("ＭＳ 明朝");
    bold.bold = true;
    host.fontAnswer = bold;
    EXPECT_TRUE(m.ChooseFont(clsAccessory::Title));
    EXPECT_FALSE(m.ChooseFont(clsAccessory::Frame));   // no font to choose
    m.SetText(clsAccessory::Title, QStringLiteral("日本\r\n"));
    m.SetText(clsAccessory::Comment, QStringLiteral("*"));
    m.SetUse(clsAccessory::Comment, true);
    m.WorkPosition = 1;
    m.Cancel();
    set.setIndex(clsAccessory::Title);
    EXPECT_EQ(set.Font(), titleFont);
    EXPECT_EQ(titleFont->name, titleFace);
    EXPECT_FALSE(titleFont->bold);
    EXPECT_EQ(set.Position(), 0);

    m.Accept();
    EXPECT_EQ(set.Position(), 1);
    set.setIndex(clsAccessory::Title);
    EXPECT_EQ(set.Text(), QStringLiteral("日本"));
    EXPECT_EQ(set.Font()->name, QStringLiteral("ＭＳ 明朝"));
    EXPECT_TRUE(set.Font()->bold);
    set.setIndex(clsAccessory::Comment);
    EXPECT_TRUE(set.Use());
    EXPECT_EQ(set.Text(), QStringLiteral("*"));
    ASSERT_EQ(host.fontsAsked.size(), 1u);
}

TEST_F(Accessory, ACancelledPaletteKeepsTheColourAnItemOffKeepsItsValues) {
    m.Load();
    std::vector<int32_t> answers = {-2, 0x00FF00};
    const RealColorInput old = SetRealColorInput([&](int32_t) {
        const int32_t a = answers.front();
        answers.erase(answers.begin());
        return a;
    });
    const int32_t before = m.Item(clsAccessory::Frame).Color;
    EXPECT_FALSE(m.ChooseColor(clsAccessory::Frame));
    EXPECT_EQ(m.Item(clsAccessory::Frame).Color, before);
    EXPECT_TRUE(m.ChooseColor(clsAccessory::Frame));
    SetRealColorInput(old);
    m.SetUse(clsAccessory::Frame, false);
    m.Accept();
    EXPECT_EQ(ColorOf(clsAccessory::Frame), 0x00FF00);
    EXPECT_FALSE(set.Use());
}
