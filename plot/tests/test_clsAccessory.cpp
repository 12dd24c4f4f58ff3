// The map accessories: item capabilities and settings, the layout examples,
// the legend data, the drawing decisions of the scale bar, legend and
// centre marker (through a recorder of the drawing calls), and the real
// drawing on a canvas and in the PostScript program.
#include <gtest/gtest.h>

#include <QFile>

#include "Bitmap.h"
#include "EpsTestSupport.h"
#include "PlotTestSupport.h"
#include "RasterDC.h"
#include "TextFile.h"
#include "clsAccessory.h"
#include "clsLine.h"
#include "clsMapGraph.h"
#include "clsPoly.h"
#include "clsPostScript.h"
#include "clsRect.h"
#include "clsRegistry.h"
#include "clsThings.h"

using namespace plat;

namespace {

// Records every drawing call as text; texts measure 8 pixels a character
// and 4/3 of the point size high unless a test says otherwise.
class Recorder : public clsAccessory {
public:
    std::vector<QString> ops;
    std::function<void(const QString&, const StdFont&, int32_t&, int32_t&)> metrics = [](const QString& t, const StdFont& f,
                                                                                          int32_t& w, int32_t& h) {
        w = 8 * static_cast<int32_t>(t.size());
        h = static_cast<int32_t>(f.size * 4 / 3);
    };
    std::vector<LegendEntry> legend;
    bool legendGiven = false;

    // The calls whose text starts with prefix.
    std::vector<QString> calls(const QString& prefix) const {
        std::vector<QString> out;
        for (const QString& o : ops)
            if (o.startsWith(prefix)) out.push_back(o);
        return out;
    }

protected:
    std::vector<LegendEntry> legendData() const override {
        return legendGiven ? legend : clsAccessory::legendData();
    }
    void selectFont(const FontRef& font, int32_t) override { font_ = font; }
    bool textSize(const QString& text, int32_t& w, int32_t& h) override {
        metrics(text, *font_, w, h);
        return true;
    }
    void setPen(int16_t style, int32_t width, int32_t fore, int32_t) override {
        ops.push_back(QStringLiteral("pen %1 %2 %3").arg(style).arg(width).arg(fore, 6, 16, QLatin1Char('0')));
    }
    void setBrush(int16_t style, int32_t fore, int32_t) override {
        ops.push_back(QStringLiteral("brush %1 %2").arg(style).arg(fore, 6, 16, QLatin1Char('0')));
    }
    void drawLine(const clsLine& l) override {
        ops.push_back(QStringLiteral("line %1 %2 %3 %4").arg(l.x1).arg(l.y1).arg(l.x2).arg(l.y2));
    }
    void strokeRect(const clsRect& r) override {
        ops.push_back(QStringLiteral("stroke %1 %2 %3 %4").arg(r.x1).arg(r.y1).arg(r.x2).arg(r.y2));
    }
    void fillRect(const clsRect& r) override {
        ops.push_back(QStringLiteral("fill %1 %2 %3 %4").arg(r.x1).arg(r.y1).arg(r.x2).arg(r.y2));
    }
    void fillPolygon(const clsPoly& p) override {
        QString s = QStringLiteral("polygon");
        for (int32_t i = 1; i <= p.Count(); ++i) s += QStringLiteral(" %1,%2").arg(p.x(i)).arg(p.y(i));
        ops.push_back(s);
    }
    void drawText(int32_t x, int32_t y, int16_t anchor, const QString& text) override {
        ops.push_back(QStringLiteral("text %1 %2 %3 %4").arg(x).arg(y).arg(anchor).arg(text));
    }

private:
    FontRef font_;
};

// Every test starts from empty accessory sections, on a drawing layer of
// its own over a 800 x 600 canvas.
class Accessory : public ::testing::Test {
protected:
    Accessory() : canvas_(Bitmap::Create(800, 600, 32)), dc_(canvas_, 96) {
        for (const char* s : {"ACCESSORY", "MEASURE"}) clsRegistry(QString::fromLatin1(s)).RegDelete(QString());
        saved_ = gvMapGraph;
        gvMapGraph = &graph_;
    }
    ~Accessory() override { gvMapGraph = saved_; }

    // Only the given items on; surface W x H on the canvas.
    template <class A>
    void only(A& a, std::initializer_list<int32_t> on, int32_t w = 800, int32_t h = 600) {
        for (int32_t i = 1; i <= clsAccessory::kItems; ++i) {
            a.setIndex(i);
            a.setUse(std::find(on.begin(), on.end(), i) != on.end());
        }
        a.sethandle(&dc_);
        a.setWidth(w);
        a.setHeight(h);
        a.setDpi(96);
        a.setPosition(0);
    }

    HBITMAP canvas_;
    RasterDC dc_;
    clsMapGraph graph_;
    clsMapGraph* saved_ = nullptr;
};

TEST_F(Accessory, ItemsTakeOnlyWhatTheyCan) {
    clsAccessory a;
    for (int32_t i = 1; i <= clsAccessory::kItems; ++i) {
        a.setIndex(i);
        const int16_t status = a.Status();
        a.setColor(0x123456);
        a.setText(QStringLiteral("new\t\r\n"));
        const FontRef font = MakeFont();
        a.setFont(font);
        EXPECT_EQ(a.Color() == 0x123456, bool(status & 1)) << i;
        EXPECT_EQ(a.Text() == QStringLiteral("new"), bool(status & 2)) << i;
        EXPECT_EQ(a.Font() == font, bool(status & 4)) << i;
    }
    a.setIndex(3);
    a.setIndex(0);
    a.setIndex(8);
    EXPECT_EQ(a.Index(), 3);
    a.setDpi(47);
    a.setDpi(1441);
    EXPECT_EQ(a.Dpi(), 96);
    a.setMapScale(1);
    EXPECT_EQ(a.MapScale(), 0) << "a scale the globe does not allow";
}

TEST_F(Accessory, SettingsSurviveTheInstanceAndCopiesTakeTheItems) {
    {
        clsAccessory a;
        a.setPosition(0);
        a.setIndex(clsAccessory::Title);
        a.setUse(true);
        a.setText(QStringLiteral("世界図"));
        a.Font()->bold = true;
        a.Font()->size = 14.5;
        a.setIndex(clsAccessory::Back);
        a.setColor(0x00FFFF);
    }
    clsAccessory b;
    EXPECT_EQ(b.Position(), 0);
    b.setIndex(clsAccessory::Title);
    EXPECT_TRUE(b.Use());
    EXPECT_EQ(b.Text(), QStringLiteral("世界図"));
    EXPECT_TRUE(b.Font()->bold);
    EXPECT_EQ(b.Font()->size, 14.5);
    b.setIndex(clsAccessory::Back);
    EXPECT_EQ(b.Color(), 0x00FFFF);
    EXPECT_FALSE(clsRegistry(QStringLiteral("ACCESSORY")).RegGetSec()->empty());
    EXPECT_EQ(clsRegistry(QStringLiteral("ACCESSORY")).RegGet(QStringLiteral("BackText"), QStringLiteral("none")),
              QStringLiteral("none"))
        << "only what an item can take is written";

    b.setPosition(7);
    b.setIndex(clsAccessory::Title);
    b.setText(QStringLiteral("copied"));
    b.setWidth(333);
    b.setInstanceName(QStringLiteral("MEASURE"));
    const auto c = b.Copy();
    EXPECT_EQ(c->Position(), 7);
    EXPECT_EQ(c->Width(), 1) << "the surface is not copied";
    EXPECT_EQ(c->InstanceName(), QStringLiteral("ACCESSORY"));
    c->setIndex(clsAccessory::Title);
    EXPECT_EQ(c->Text(), QStringLiteral("copied"));
    b.setIndex(clsAccessory::Title);
    EXPECT_NE(c->Font(), b.Font()) << "fonts are cloned";
    EXPECT_EQ(c->Font()->size, b.Font()->size);
}

// Font sizes from the settings stay within what the drawing layer draws;
// one that is no number keeps the default.
TEST_F(Accessory, FontSizesReadFromTheSettingsAreKeptInRange) {
    const std::pair<const char*, double> cases[] = {{"14.5", 14.5}, {"3", 5},      {"-12", 5},  {"250", 100},
                                                    {"1e300", 100}, {"abc", 12}, {"1e999", 12}, {"", 12}};
    for (const auto& [stored, size] : cases) {
        clsRegistry(QStringLiteral("ACCESSORY")).RegPut(QStringLiteral("TitleFontSize"), QString::fromLatin1(stored));
        clsAccessory a;
        a.setIndex(clsAccessory::Title);
        EXPECT_EQ(a.Font()->size, size) << stored;
        clsRegistry(QStringLiteral("ACCESSORY")).RegDelete(QString());
    }
}

// W 800, H 600, Title one line of 16, Measure line 12, Comment and Elevate off.
TEST_F(Accessory, LayoutExamples) {
    const struct {
        const char* what;
        int32_t position;
        bool frame;
        int32_t backTop, measureTop, titleTop, centerTop, separator;
    } cases[] = {
        {"bottom band", 1, true, 553, 554, 575, 0, 553},
        {"top band", 0, true, 0, 25, 1, 47, 47},
        {"bottom band without frame", 1, false, 555, 555, 576, 0, 555},
        {"top band without frame", 0, false, 0, 24, 0, 45, 45},
    };
    for (const auto& k : cases) {
        Recorder a;
        only(a, {clsAccessory::Back, clsAccessory::Measure, clsAccessory::Title, clsAccessory::Center});
        a.setIndex(clsAccessory::Frame);
        a.setUse(k.frame);
        a.setIndex(clsAccessory::Title);
        a.setText(QStringLiteral("Map"));
        a.setPosition(k.position);
        const int32_t m = k.frame ? 1 : 0;
        EXPECT_EQ(a.BackHeight(), 45 + 2 * m) << k.what;
        EXPECT_EQ(a.Area(clsAccessory::Title).height, 24) << k.what;
        EXPECT_EQ(a.Area(clsAccessory::Title).lines, QStringList{QStringLiteral("Map")}) << k.what;
        EXPECT_EQ(a.Area(clsAccessory::Title).width, 800 - 2 * m) << k.what;
        EXPECT_EQ(a.Area(clsAccessory::Measure).height, 21) << k.what;
        EXPECT_EQ(a.Area(clsAccessory::Measure).left, m) << k.what;
        EXPECT_EQ(a.Area(clsAccessory::Back).top, k.backTop) << k.what;
        EXPECT_EQ(a.Area(clsAccessory::Measure).top, k.measureTop) << k.what;
        EXPECT_EQ(a.Area(clsAccessory::Title).top, k.titleTop) << k.what;
        EXPECT_EQ(a.Area(clsAccessory::Center).top, k.centerTop) << k.what;
        EXPECT_EQ(a.Area(clsAccessory::Center).height, 600 - 45 - 2 * m) << k.what;
        EXPECT_EQ(a.SeparatorY(), k.separator) << k.what;
        a.sethandle(nullptr);
        EXPECT_EQ(a.BackHeight(), 0) << k.what << ": no surface, no band";
    }
}

TEST_F(Accessory, LayoutOfLegendAndUnfoldableTitle) {
    Recorder a;
    only(a, {clsAccessory::Measure, clsAccessory::Title, clsAccessory::Elevate}, 300, 200);
    a.setIndex(clsAccessory::Title);
    a.setText(QStringLiteral("A title that would need folding"));
    // "W" 20 wide: the title's room (300 - 16 = 284) is below twice that.
    a.metrics = [](const QString& t, const StdFont& f, int32_t& w, int32_t& h) {
        w = (t == QLatin1String("W") ? 150 : 8) * static_cast<int32_t>(t.size());
        h = static_cast<int32_t>(f.size * 4 / 3);
    };
    // "99|" is 24 wide: 6 entries need 8 x 24 = 192 <= 200, 7 need 216 > 200.
    for (int entries : {6, 7, 0}) {
        a.legend.assign(size_t(entries), clsAccessory::LegendEntry{0, 100, 1, 8, 0, -1});
        a.legendGiven = true;
        a.Layout();
        const bool placed = entries == 6;
        EXPECT_EQ(a.Area(clsAccessory::Elevate).width, placed ? 192 : 0) << entries;
        EXPECT_EQ(a.Area(clsAccessory::Elevate).height, placed ? 21 : 0) << entries;
        EXPECT_EQ(a.Area(clsAccessory::Elevate).left, placed ? 300 - 192 : 300) << entries;
        EXPECT_EQ(a.Area(clsAccessory::Measure).width, placed ? 300 - 192 : 300) << entries;
        EXPECT_EQ(a.Area(clsAccessory::Title).lines, QStringList{QString()}) << entries;
        EXPECT_EQ(a.Area(clsAccessory::Title).height, 16 + 8) << entries;
    }
    // No map units and no legend given: the legend is empty, nothing fails.
    a.legendGiven = false;
    a.Layout();
    EXPECT_TRUE(a.Legend().empty());
    EXPECT_EQ(a.Area(clsAccessory::Elevate).width, 0);
    a.ops.clear();
    a.Draw();
    EXPECT_TRUE(a.calls(QStringLiteral("polygon")).empty());
}

TEST_F(Accessory, ElevationNames) {
    const struct {
        const char* name;
        int32_t lower, upper;
        int16_t unit;
    } cases[] = {
        {"200～500m", 200, 500, 1},  {"～200", -99999, 200, 1},     {"-1000～-200", -1000, -200, 1},
        {"1000～", 1000, 99999, 1},  {"100F～200F", 100, 200, 2},   {"100ｆ～200ｆ", 100, 200, 2},
        {"海面下", -1, 0, 1},        {"等高面", -99999, 99999, 1},  {"0〜200m", 0, 200, 1},
        {"2.5～7.5", 2, 8, 1},       {"99999999999～", 2147483647, 99999, 1},
    };
    for (const auto& k : cases) {
        const auto e = clsAccessory::ParseElevationRange(QString::fromUtf8(k.name));
        EXPECT_EQ(e.lower, k.lower) << k.name;
        EXPECT_EQ(e.upper, k.upper) << k.name;
        EXPECT_EQ(e.unit, k.unit) << k.name;
    }
    EXPECT_TRUE(clsAccessory::IsElevationHeader(QStringLiteral("陸地の等高面")));
    EXPECT_TRUE(clsAccessory::IsElevationHeader(QStringLiteral("段彩")));
    EXPECT_FALSE(clsAccessory::IsElevationHeader(QStringLiteral("海岸線")));
}

// A catalogue of (figure kind, name) things; thing k has fore colour k.
std::shared_ptr<clsThings> catalogue(std::initializer_list<std::pair<int, const char*>> things) {
    auto c = std::make_shared<clsThings>();
    int k = 0;
    for (const auto& [figure, name] : things) {
        auto t = std::make_shared<clsThing>();
        t->setFigure(figure);
        t->setName(QString::fromUtf8(name));
        t->setFore(++k);
        t->setStyle(8);
        c->Add(t);
    }
    return c;
}

TEST_F(Accessory, LegendFromTheShownMaps) {
    const auto base = catalogue({{3, "海洋"}, {3, "陸地"}});
    const auto admin = catalogue({{3, "国"}, {3, "陸地"}});
    const auto seaFloor = catalogue({{3, "-500～0"}, {1, "海底の段彩"}, {3, "-4000～-200"}, {3, "～-4000"},
                                     {3, "-200～0"}, {1, "その他"}, {3, "-9000～-8000"}});
    const auto topo = catalogue({{1, "等高面"}, {3, "200～99999"}, {3, "海面下"}, {3, "0～200"}, {3, "-400～-300"}});
    using E = clsAccessory::LegendEntry;
    const struct {
        const char* what;
        std::vector<clsAccessory::LegendUnit> units;
        std::vector<E> expected;
    } cases[] = {
        {"only administrative maps: sea and land",
         {{true, QStringLiteral("ベース地図"), base.get()}, {true, QStringLiteral("世界行政図"), admin.get()}},
         {E{-99999, 0, 1, 8, 1, -1}, E{0, 99999, 1, 8, 2, -1}}},
        {"no administrative map: the land of the other one",
         {{true, QStringLiteral("ベース地図"), base.get()}},
         {E{-99999, 0, 1, 8, 1, -1}, E{0, 99999, 1, 8, 2, -1}}},
        {"ocean floor and topography shown",
         {{true, QStringLiteral("ベース地図"), base.get()},
          {true, QStringLiteral("海底地形図"), seaFloor.get()},
          {true, QStringLiteral("世界地形図"), topo.get()}},
         {E{-99999, -4000, 1, 8, 4, -1}, E{-4000, -200, 1, 8, 3, -1}, E{-200, 0, 1, 8, 5, -1}, E{-1, 0, 1, 8, 3, -1},
          E{0, 200, 1, 8, 4, -1}, E{200, 99999, 1, 8, 2, -1}}},
        {"hidden maps do not count",
         {{true, QStringLiteral("ベース地図"), base.get()}, {false, QStringLiteral("海底地形図"), seaFloor.get()}},
         {E{-99999, 0, 1, 8, 1, -1}, E{0, 99999, 1, 8, 2, -1}}},
    };
    for (const auto& k : cases) EXPECT_EQ(clsAccessory::ElevationLegend(k.units, base.get(), base.get()), k.expected) << k.what;
    EXPECT_TRUE(clsAccessory::ElevationLegend({}, nullptr, nullptr).empty());

    std::initializer_list<std::pair<int, const char*>> none{};
    auto many = catalogue(none);
    many->Add([] {
        auto t = std::make_shared<clsThing>();
        t->setFigure(1);
        t->setName(QStringLiteral("段彩"));
        return t;
    }());
    for (int i = 0; i < 120; ++i) {
        auto t = std::make_shared<clsThing>();
        t->setFigure(3);
        t->setName(QStringLiteral("%1～%2").arg(i * 10).arg(i * 10 + 10));
        many->Add(t);
    }
    EXPECT_EQ(clsAccessory::ElevationLegend({{true, QStringLiteral("国別地形図"), many.get()}}, nullptr, nullptr).size(), 100u);
}

TEST_F(Accessory, ScaleBarExamples) {
    const struct {
        const char* what;
        int32_t width, dpi, th, labelWidth;
        double scale;
        std::vector<const char*> texts;
        int segments;
    } cases[] = {
        {"100 km in five", 600, 96, 12, 70, 1000000,
         {"0", "20", "40", "60", "80", "100km", "1/1,000,000"}, 5},
        {"tall text: first label only", 600, 96, 40, 70, 1000000, {"0", "100km", "1/1,000,000"}, 5},
        {"0.4 km of room: nothing", 227 + 32, 1440, 10, 20, 100000, {}, 0},
        {"3.6 km of room: 4 km in four", 2041 + 32, 1440, 10, 20, 100000, {"0", "1", "2", "3", "4km", "1/100,000"}, 4},
    };
    for (const auto& k : cases) {
        Recorder a;
        only(a, {clsAccessory::Measure}, k.width, 100);
        a.setDpi(k.dpi);
        a.setMapScale(k.scale);
        a.metrics = [&](const QString& t, const StdFont&, int32_t& w, int32_t& h) {
            w = t.startsWith(QLatin1String("1/")) ? k.labelWidth : 6 * static_cast<int32_t>(t.size());
            h = t == QLatin1String("W|") ? 12 : k.th;
        };
        a.Draw();
        std::vector<QString> texts;
        for (const QString& t : a.calls(QStringLiteral("text"))) texts.push_back(t.section(QLatin1Char(' '), 4));
        std::vector<QString> expected;
        for (const char* t : k.texts) expected.push_back(QString::fromLatin1(t));
        EXPECT_EQ(texts, expected) << k.what;
        EXPECT_EQ(a.calls(QStringLiteral("stroke")).size(), size_t(k.segments)) << k.what;
        EXPECT_EQ(a.calls(QStringLiteral("fill")).size(), size_t((k.segments + 1) / 2)) << k.what;
    }
    // The first bar once more for its geometry: x0 = 12 \ 3, barW 378, the
    // bar 21 - 14 - 1 = 6 high from y0 = 2.
    Recorder a;
    only(a, {clsAccessory::Measure}, 600, 100);
    a.setMapScale(1000000);
    a.metrics = [](const QString& t, const StdFont&, int32_t& w, int32_t& h) {
        w = t.startsWith(QLatin1String("1/")) ? 70 : 6 * static_cast<int32_t>(t.size());
        h = 12;
    };
    a.Draw();
    const auto strokes = a.calls(QStringLiteral("stroke"));
    ASSERT_EQ(strokes.size(), 5u);
    EXPECT_EQ(strokes.front(), QStringLiteral("stroke 4 2 79 8"));
    EXPECT_EQ(strokes.back(), QStringLiteral("stroke 306 2 382 8"));
    EXPECT_EQ(a.calls(QStringLiteral("text")).back(), QStringLiteral("text 385 5 11 1/1,000,000"));
}

TEST_F(Accessory, LegendDrawing) {
    Recorder a;
    only(a, {clsAccessory::Elevate}, 800, 100);
    using E = clsAccessory::LegendEntry;
    a.legend = {E{-99999, -4000, 1, 8, 1, -1}, E{-4000, -200, 1, 8, 2, -1}, E{-1, 0, 1, 8, 3, -1},
                E{0, 200, 1, 8, 4, -1}, E{200, 99999, 1, 8, 5, -1}};
    a.legendGiven = true;
    // "99|" 10 wide: the item is 70 wide; "100m" 20 wide and 12 high.
    a.metrics = [](const QString& t, const StdFont&, int32_t& w, int32_t& h) {
        w = t == QLatin1String("99|") ? 10 : 20;
        h = 12;
    };
    a.Draw();
    // boxW = (70 - 4 - 20) \ 4 = 11 from x0 = 730 + 3, y0 = 2, y1 = 2 + 21 - 14 - 1 = 8.
    const std::vector<QString> expected = {
        QStringLiteral("brush 8 000001"), QStringLiteral("fill 733 2 744 8"),  QStringLiteral("text 744 11 7 40"),
        QStringLiteral("brush 8 000002"), QStringLiteral("fill 744 2 755 8"),  QStringLiteral("text 755 11 7 2"),
        QStringLiteral("brush 8 000003"), QStringLiteral("polygon 744,2 755,2 755,8 744,2"),
        QStringLiteral("brush 8 000004"), QStringLiteral("fill 755 2 766 8"),  QStringLiteral("text 755 11 7 0"),
        QStringLiteral("brush 8 000005"), QStringLiteral("fill 766 2 777 8"),  QStringLiteral("text 766 11 7 2"),
        QStringLiteral("text 772 11 6 x100m"),
    };
    EXPECT_EQ(a.ops, expected);
}

TEST_F(Accessory, CentreMarkerAndFrame) {
    Recorder a;
    only(a, {clsAccessory::Center, clsAccessory::Back, clsAccessory::Measure, clsAccessory::Frame}, 800, 600);
    a.metrics = [](const QString&, const StdFont&, int32_t& w, int32_t& h) {
        w = 1;
        h = 25;   // Measure (25 x 7) \ 4 = 43 high: a band of 45, a map area of 555
    };
    a.setIndex(clsAccessory::Measure);
    a.setText(QString());
    a.setPosition(1);
    a.Draw();
    ASSERT_EQ(a.Area(clsAccessory::Center).height, 555);
    // Centre (400, 277): arms from 8 to 8 + 40 sideways and 8 + 27 up and down.
    const std::vector<QString> lines = a.calls(QStringLiteral("line"));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], QStringLiteral("line 392 277 352 277"));
    EXPECT_EQ(lines[1], QStringLiteral("line 408 277 448 277"));
    EXPECT_EQ(lines[2], QStringLiteral("line 400 269 400 242"));
    EXPECT_EQ(lines[3], QStringLiteral("line 400 285 400 312"));
    EXPECT_EQ(lines[4], QStringLiteral("line 0 555 800 555")) << "the separator";
    EXPECT_EQ(a.calls(QStringLiteral("stroke")).back(), QStringLiteral("stroke 0 0 799 599")) << "the frame";
    EXPECT_EQ(a.calls(QStringLiteral("pen")).front(), QStringLiteral("pen 0 1 0000ff"));
}

TEST_F(Accessory, DrawnOnACanvasAndIntoThePostScriptProgram) {
    clsAccessory a;
    only(a, {clsAccessory::Back, clsAccessory::Frame, clsAccessory::Measure, clsAccessory::Title, clsAccessory::Comment,
             clsAccessory::Center});
    a.setMapScale(30000000);
    a.setIndex(clsAccessory::Title);
    a.setText(QStringLiteral("世界の国々 / Countries of the world"));
    a.setIndex(clsAccessory::Back);
    a.setColor(0xC0FFFF);
    clsAccessory::SetProjectionNameSource([] { return QStringLiteral("正距円筒図法"); });
    a.setIndex(clsAccessory::Comment);
    a.setText(QStringLiteral("?"));
    a.setPosition(1);
    a.Draw();
    clsAccessory::SetProjectionNameSource({});
    EXPECT_EQ(a.Area(clsAccessory::Comment).lines, QStringList{QStringLiteral("正距円筒図法")});
    const QImage& img = canvas_->image();
    img.save(testsupport::OutputFolder() + QStringLiteral("/accessories.png"));
    const int32_t bandTop = a.Area(clsAccessory::Back).top;
    const QRect band(0, bandTop, 800, 600 - bandTop);
    EXPECT_GT(epstest::CountColor(img, band, qRgb(255, 255, 192), 0), band.width() * band.height() / 2) << "the band";
    EXPECT_EQ(img.pixel(0, 300) & 0xFFFFFF, 0u) << "the frame";
    EXPECT_EQ(img.pixel(400 - 20, a.Area(clsAccessory::Center).height / 2) & 0xFFFFFF, 0xFF0000u) << "the centre marker";
    EXPECT_GT(epstest::CountColor(img, band, qRgb(0, 0, 255), 60), 50) << "the blue scale bar";

    // The same into the PostScript program: the accessory block wraps every
    // drawing call (the layout before it only chooses fonts).
    graph_.setPostScriptEi(true);
    clsPostScript& ps = *graph_.oPostScript();
    ps.setDpi(96);
    ps.setLeft(0);
    ps.setTop(0);
    ps.setWidth(800);
    ps.setHeight(600);
    ps.psBegin();
    const qsizetype before = ps.ProgramText().size();
    a.Draw();
    const QByteArray block = ps.ProgramText().mid(before);
    const qsizetype open = block.indexOf("\nAccessoryPlotEi {\r\n"), close = block.lastIndexOf("\n} if\r\n");
    ASSERT_GE(open, 0);
    ASSERT_GT(close, open);
    for (const char* call : {"StrokeLine", "StrokeRect", "FillRect", "DrawText"}) {
        EXPECT_GT(block.indexOf(call), open) << call;
        EXPECT_LT(block.lastIndexOf(call), close) << call;
    }
    EXPECT_EQ(block.count("FillRect"), 1 + 3) << "the band and three of five bar segments";
    if (epstest::GhostscriptPath().isEmpty()) GTEST_SKIP() << "gs is not installed";
    testsupport::TempDir dir;
    QFile prolog(QStringLiteral(KAL_SOURCE_DIR "/data/KALDERO.PS"));
    ASSERT_TRUE(prolog.open(QIODevice::ReadOnly));
    const QString shipped = QString::fromLatin1(prolog.readAll());
    for (bool on : {true, false}) {
        QString text = shipped;
        if (!on) text.replace(QStringLiteral("/AccessoryPlotEi true def"), QStringLiteral("/AccessoryPlotEi false def"));
        const QString eps = dir.file(QStringLiteral("acc.eps"));
        testsupport::WriteBytes(eps, ps.FileText(SplitTextLines(text)));
        epstest::GsRun run;
        const QImage page = epstest::RenderEps(eps, 96, &run);
        ASSERT_FALSE(page.isNull()) << run.output.constData();
        EXPECT_TRUE(run.clean()) << run.output.constData();
        EXPECT_EQ(epstest::CountColor(page, QRect(0, bandTop, 800, 600 - bandTop), qRgb(255, 255, 192), 8) > 10000, on);
        if (on) epstest::KeepPicture(page, QStringLiteral("accessories-eps.png"));
    }
}

} // namespace
