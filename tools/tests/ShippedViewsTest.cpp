// The shipped maps drawn by the plot engine as the program shows them: the
// base land never shows past the coasts of the maps drawn over it, and the
// names of the start view and of every cruise level stay legible.
#include "TestSupport.h"

#include "AppInfo.h"
#include "AppState.h"
#include "Bitmap.h"
#include "Labels.h"
#include "PlotProjectionGlue.h"
#include "RasterDC.h"
#include "basGlobe.h"
#include "clsCruise05.h"
#include "clsEnvironment.h"
#include "clsMapGraph.h"
#include "clsMapPlot.h"
#include "clsMapUnits.h"
#include "clsThings.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QRect>

#include <cmath>
#include <optional>
#include <vector>

namespace {

const QString DataFolder = QStringLiteral(KAL_SOURCE_DIR "/data");

// Colours of the shipped catalogues (0xRRGGBB as the picture holds them).
constexpr QRgb PaleLand = 0xF0EDE2;  // the base land
constexpr QRgb Sea = 0xC8DCE9;
constexpr plat::COLORREF NameInk = 0x383030;  // 0x00BBGGRR of the names

struct Label {
    QRect box;
    QString text;
};

// A raster device that also notes the box of every name it draws (texts in
// the names' ink; the graticule's labels have their own colour).
class LabelDC : public plat::RasterDC {
public:
    using plat::RasterDC::RasterDC;
    std::vector<Label> labels;

    bool TextOut(int x, int y, const QString& text) override {
        if (!inHalo_) note(x, y, text, GetTextColor());
        return plat::RasterDC::TextOut(x, y, text);
    }
    bool TextOutHalo(int x, int y, const QString& text, plat::COLORREF halo, plat::COLORREF fore,
                     const plat::POINT* offsets, int n) override {
        note(x, y, text, fore);
        inHalo_ = true;
        const bool ok = plat::RasterDC::TextOutHalo(x, y, text, halo, fore, offsets, n);
        inHalo_ = false;
        return ok;
    }

private:
    void note(int x, int y, const QString& text, plat::COLORREF fore) {
        if ((fore & 0xFFFFFF) != NameInk) return;
        if (const std::optional<QRect> r = worldsrc::TextBoxAt(*this, x, y, text)) labels.push_back({*r, text});
    }
    bool inHalo_ = false;
};

struct Drawn {
    QImage image;
    std::vector<Label> labels;
};

// The bundled Environment.txt and maps, a drawing layer and the view
// projections, as start-up sets them; put back afterwards.
class ShippedView : public ::testing::Test {
protected:
    ShippedView() : oldFolder_(gvMapFolder), oldApp_(plat::AppPath()), oldLanguage_(gvLanguage) {
        env_.setFileName(DataFolder + QStringLiteral("/Environment.txt"));
        EXPECT_EQ(env_.Load(), 0);
        gvEnvironment = &env_;
        InitGlobe();
        plat::SetAppPath(DataFolder);
        gvMapFolder = DataFolder + QStringLiteral("/maps");
        gvMapGraph = &graph_;
        InstallPlotProjectionGlue();
    }
    ~ShippedView() override {
        gvMapGraph = nullptr;
        gvEnvironment = nullptr;
        gvMapFolder = oldFolder_;
        gvLanguage = oldLanguage_;
        plat::SetAppPath(oldApp_);
    }

    // The base unit alone.
    static std::shared_ptr<clsMapUnits> BaseUnits() {
        auto units = std::make_shared<clsMapUnits>();
        EXPECT_EQ(units->Create(1), 0);
        return units;
    }

    // The base unit and the maps the cruise shows at this scale around the point.
    std::shared_ptr<clsMapUnits> CruiseUnits(double lon, double lat, double scale) {
        auto units = BaseUnits();
        clsCruise05 cruise;
        cruise.setListFile(DataFolder + QStringLiteral("/CRUISE05.LST"));
        cruise.setGridFile(DataFolder + QStringLiteral("/CRUISE05.GRD"));
        cruise.GetStdMapList();
        const double metres = scale * 0.0254 / Dpi;
        const double latSpan = std::min(648000.0, Height * metres / MeterPerSec);
        const double lonSpan = std::min(1296000.0, Width * metres / (MeterPerSec * std::cos(lat * M_PI / 180)));
        const double x = lon * 3600, y = lat * 3600;
        const clsRect field{int32_t(std::max(-648000.0, x - lonSpan / 2)), int32_t(std::max(-324000.0, y - latSpan / 2)),
                            int32_t(std::min(648000.0, x + lonSpan / 2)), int32_t(std::min(324000.0, y + latSpan / 2))};
        EXPECT_TRUE(cruise.Cruise(scale, &field, units.get()));
        level_ = cruise.ScaleToLevel(scale);
        return units;
    }

    // The start-up's units: the base and the start map.
    static std::shared_ptr<clsMapUnits> StartUnits() {
        auto units = BaseUnits();
        auto world = std::make_shared<clsMapUnit>();
        world->setUnitName(gvMapFolder + QStringLiteral("/WORLD_T3.MLL"));
        EXPECT_TRUE(world->Load());
        units->Add(world);
        return units;
    }

    Drawn Draw(const std::shared_ptr<clsMapUnits>& units, double lon, double lat, double scale, int16_t language) {
        gvLanguage = language;
        LabelDC dc(plat::Bitmap::Create(Width, Height, 32), Dpi);
        clsMapPlot plot;
        plot.MapUnits = units;
        plot.sethdc(&dc);
        plot.setCanvasWidth(Width);
        plot.setCanvasHeight(Height);
        plot.setdpix(Dpi);
        plot.setdpiy(Dpi);
        plot.ProjectionAuto = true;
        plot.setCenterX(int32_t(std::lround(lon * 3600)));
        plot.setCenterY(int32_t(std::lround(lat * 3600)));
        plot.setMapScale(scale);
        EXPECT_EQ(plot.Replot(), 0);
        return {dc.image().copy(), std::move(dc.labels)};
    }

    static constexpr int Width = 1200, Height = 800, Dpi = 96;
    int16_t level_ = 0;

private:
    clsEnvironment env_;
    clsMapGraph graph_;
    QString oldFolder_;
    QString oldApp_;
    int16_t oldLanguage_;
};

constexpr double TokyoLon = 139.7, TokyoLat = 35.7;

// One scale inside each cruise level, 1 to 8 (on level 1 where the names
// have begun).
constexpr double LevelScales[] = {150000000, 70000000, 30000000, 14000000, 7000000, 3000000, 1000000, 220000};

int Count(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == colour ? 1 : 0;
    return n;
}

// Pairs of names whose boxes share more than `slack` pixels both ways.
QStringList Overlaps(const std::vector<Label>& labels, int slack) {
    QStringList out;
    for (size_t i = 0; i < labels.size(); ++i)
        for (size_t j = i + 1; j < labels.size(); ++j) {
            const QRect common = labels[i].box & labels[j].box;
            if (common.width() > slack && common.height() > slack)
                out << labels[i].text + QStringLiteral(" / ") + labels[j].text;
        }
    return out;
}

} // namespace

// Over Japan at three cruise levels: the base drawn alone and the cruise's
// maps drawn alone; a pixel of base land where the maps show sea would be
// false land along a coast.
TEST_F(ShippedView, BaseLandStaysInsideTheCoastsOverIt) {
    testsupport::ScriptedBoxes boxes;
    for (const int level : {2, 4, 6}) {
        SCOPED_TRACE(level);
        const double scale = LevelScales[level - 1];
        const auto units = CruiseUnits(TokyoLon, TokyoLat, scale);
        ASSERT_EQ(level_, level);
        // The base alone; then the maps over the base's sea with the base
        // land hidden (the base unit itself styles the view's layers).
        std::vector<bool> shown(size_t(units->Count()) + 1);
        for (int32_t i = 2; i <= units->Count(); ++i) {
            shown[size_t(i)] = units->Item(i)->DisplaySwitch();
            units->Item(i)->setDisplaySwitch(false);
        }
        const QImage base = Draw(units, TokyoLon, TokyoLat, scale, 2).image;
        for (int32_t i = 2; i <= units->Count(); ++i) units->Item(i)->setDisplaySwitch(shown[size_t(i)]);
        clsThings& things = units->Base()->Things();
        const ThingPtr& land = things.Item(things.Search(QStringLiteral("陸地")));
        ASSERT_TRUE(land);
        for (int32_t page = 1; page <= 8; ++page) {
            land->setPage(page);
            land->setShowMode(0);
        }
        const QImage maps = Draw(units, TokyoLon, TokyoLat, scale, 2).image;
        ASSERT_EQ(base.size(), maps.size());
        base.save(testsupport::OutputFolder() + QStringLiteral("/coast-level%1-base.png").arg(level));
        maps.save(testsupport::OutputFolder() + QStringLiteral("/coast-level%1-maps.png").arg(level));

        int baseLand = 0, falseLand = 0;
        for (int y = 0; y < base.height(); ++y)
            for (int x = 0; x < base.width(); ++x) {
                if ((base.pixel(x, y) & 0xFFFFFF) != PaleLand) continue;
                ++baseLand;
                const QRgb over = maps.pixel(x, y) & 0xFFFFFF;
                falseLand += over == Sea ? 1 : 0;
            }
        EXPECT_EQ(falseLand, 0) << baseLand << " pixels of base land";
        // Where the 1:50m land of the base would be coarser than the maps
        // over it, the base land hides; elsewhere it is there.
        EXPECT_EQ(baseLand > 10000, level <= 4) << baseLand;
        EXPECT_GT(Count(maps, Sea), 10000);
    }
}

// The start map in the view a first start shows (Greenwich at 1:20 000 000)
// and every cruise level over Tokyo, in both languages: no two names drawn
// over each other by more than a few pixels.
TEST_F(ShippedView, NamesLeaveEachOtherRoom) {
    testsupport::ScriptedBoxes boxes;
    constexpr int Slack = 3;
    for (int level = 0; level <= 8; ++level) {
        const bool start = level == 0;
        const double lon = start ? 0 : TokyoLon, lat = start ? 185318 / 3600.0 : TokyoLat;
        const double scale = start ? MapScaleMax / 50 : LevelScales[level - 1];
        const auto units = start ? StartUnits() : CruiseUnits(lon, lat, scale);
        for (const int16_t language : {1, 2}) {
            const QString view = (start ? QStringLiteral("start") : QStringLiteral("level%1").arg(level)) +
                                 QStringLiteral("-lang%1").arg(language);
            SCOPED_TRACE(view.toStdString());
            const Drawn drawn = Draw(units, lon, lat, scale, language);
            drawn.image.save(testsupport::OutputFolder() + QStringLiteral("/names-%1.png").arg(view));
            EXPECT_GE(drawn.labels.size(), 3u);
            const QStringList overlaps = Overlaps(drawn.labels, Slack);
            EXPECT_TRUE(overlaps.isEmpty()) << overlaps.size() << " of " << drawn.labels.size() << ": "
                                            << overlaps.join(QStringLiteral("; ")).toStdString();
        }
    }
}
