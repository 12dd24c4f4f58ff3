// The placeable metafile: header and checksum, properties, saving and its
// failures, continued recordings, and a drawing played back by libwmf's
// wmf2gd compared with the same drawing on the raster canvas.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <map>

#include "AppInfo.h"
#include "BinaryIO.h"
#include "Bitmap.h"
#include "ErrorMng.h"
#include "FileOps.h"
#include "PlotTestSupport.h"
#include "RasterDC.h"
#include "TestSupport.h"
#include "basLibrary.h"
#include "clsMetaFile.h"

using namespace plat;

namespace {

// How often each record function occurs in a saved file.
std::map<uint16_t, int> functionsIn(const QByteArray& file) {
    std::map<uint16_t, int> n;
    BinaryReader r(file);
    r.seek(22 + 18);
    while (!r.atEnd()) {
        const uint32_t size = r.u32();
        const uint16_t fn = r.u16();
        if (fn == META_EOF || size < 3) break;
        ++n[fn];
        r.skip(size_t(size - 3) * 2);
    }
    return n;
}

class MetaFileSave : public ::testing::Test {
protected:
    QString file(const QString& name) const { return dir_.file(name); }
    testsupport::TempDir dir_;
};

TEST(MetaFileHeader, PlaceableHeaderAndChecksum) {
    // A 1000 x 1000 picture: bounds 0, 0, 1000, 1000 (the checksum is the same).
    EXPECT_EQ(clsMetaFile::PlaceableHeader(clsRect(0, 0, 999, 999), 96),
              QByteArray::fromHex("d7cdc69a" "0000" "0000" "0000" "e803" "e803" "6000" "00000000" "7157"));
    const struct {
        clsRect area;
        int32_t dpi;
        uint16_t checksum;
    } cases[] = {
        {clsRect(0, 0, 1199, 799), 300, uint16_t(0x5711 ^ 1200 ^ 800 ^ 300)},
        {clsRect(-1, -2, 70000, 5), 10000, uint16_t(0x5711 ^ 0xFFFF ^ 0xFFFE ^ (70001 & 0xFFFF) ^ 6 ^ 10000)},
    };
    for (const auto& c : cases) {
        const QByteArray header = clsMetaFile::PlaceableHeader(c.area, c.dpi);
        BinaryReader r(header);
        r.seek(6);
        EXPECT_EQ(r.u16(), uint16_t(c.area.x1));
        EXPECT_EQ(r.u16(), uint16_t(c.area.y1));
        EXPECT_EQ(r.u16(), uint16_t(c.area.x2 + 1));
        EXPECT_EQ(r.u16(), uint16_t(c.area.y2 + 1));
        r.seek(20);
        EXPECT_EQ(r.u16(), c.checksum);
    }
}

TEST(MetaFileProperties, DefaultsAndRanges) {
    clsMetaFile mf;
    EXPECT_EQ(mf.FileName(), JoinPath(AppPath(), QStringLiteral("USER.WMF")));
    EXPECT_EQ(mf.Dpi(), ScreenDPI());
    EXPECT_EQ(mf.Area(), clsRect(0, 0, 999, 999));
    EXPECT_EQ(mf.hdc(), nullptr);

    for (const auto& [in, kept] : {std::pair{0, ScreenDPI()}, {10001, ScreenDPI()}, {10000, 10000}, {1, 1}}) {
        mf.setDpi(in);
        EXPECT_EQ(mf.Dpi(), kept) << in;
    }

    clsRect empty;
    mf.setArea(empty);
    EXPECT_EQ(mf.Area(), clsRect(0, 0, 999, 999));
    mf.setArea(clsRect(5, 6, 7, 8));
    EXPECT_EQ(mf.Area(), clsRect(5, 6, 7, 8));

    mf.setFileName(QStringLiteral("/maps/world.emf"));
    EXPECT_EQ(mf.FileName(), QStringLiteral("/maps/world.WMF"));
    mf.setFileName(QStringLiteral("/maps.v2/world"));
    EXPECT_EQ(mf.FileName(), QStringLiteral("/maps.v2/world.WMF"));

    testsupport::TempDir dir;
    mf.setFileName(dir.file(QStringLiteral("none.WMF")));
    EXPECT_EQ(mf.MetaSave(), 0) << "nothing recorded: nothing written";
    EXPECT_FALSE(PathExists(mf.FileName()));
}

TEST_F(MetaFileSave, ASecondRecordingContinuesTheFirst) {
    clsMetaFile mf;
    DeviceContext* dc = mf.MetaOpen();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(mf.MetaOpen(), dc) << "an open recording stays";
    dc->SelectBrush(CreateSolidBrush(RGB(255, 0, 0)));
    dc->Rectangle(10, 10, 60, 40);
    mf.MetaClose();
    EXPECT_EQ(mf.hdc(), nullptr);
    dc = mf.MetaOpen();
    dc->SelectBrush(CreateSolidBrush(RGB(0, 0, 255)));
    dc->Ellipse(70, 10, 120, 40);
    mf.setFileName(file(QStringLiteral("both")));
    mf.setDpi(96);
    mf.setArea(clsRect(0, 0, 129, 49));
    ASSERT_EQ(mf.MetaSave(), 0);
    EXPECT_EQ(mf.hdc(), nullptr);
    EXPECT_TRUE(mf.Recording()) << "the closed metafile stays after saving";

    const QByteArray bytes = testsupport::ReadBytes(file(QStringLiteral("both.WMF")));
    EXPECT_EQ(bytes.left(22), clsMetaFile::PlaceableHeader(clsRect(0, 0, 129, 49), 96));
    EXPECT_EQ(bytes.mid(22), mf.Recording()->bits());
    const auto fns = functionsIn(bytes);
    EXPECT_EQ(fns.at(META_RECTANGLE), 1);
    EXPECT_EQ(fns.at(META_ELLIPSE), 1);

    const QString svg = file(QStringLiteral("both.svg"));
    const plottest::ToolRun run = plottest::RunTool(QStringLiteral("wmf2svg"), {"-o", svg, file("both.WMF")});
    if (!run.found) GTEST_SKIP() << "wmf2svg (libwmf-bin) is not installed";
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    const QByteArray text = testsupport::ReadBytes(svg);
    EXPECT_TRUE(text.contains("<rect") && text.contains("fill:red")) << text.toStdString();
    EXPECT_TRUE(text.contains("<ellipse") && text.contains("fill:blue")) << text.toStdString();
}

TEST_F(MetaFileSave, AReadOnlyTargetIsLeftAlone) {
    const QString path = file(QStringLiteral("RO.WMF"));
    testsupport::WriteBytes(path, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    clsMetaFile mf;
    mf.MetaOpen()->Rectangle(0, 0, 5, 5);
    mf.setFileName(path);
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("は読み取り専用ファイルです."), IdOk);
        EXPECT_EQ(mf.MetaSave(), 70);
    }
    EXPECT_EQ(testsupport::ReadBytes(path), "old");
    ::chmod(QFile::encodeName(path).constData(), 0644);
}

TEST_F(MetaFileSave, FileErrorsRetrySkipOrCancelAndKeepTheOldFile) {
    clsMetaFile mf;
    mf.MetaOpen()->Ellipse(0, 0, 5, 5);
    mf.setFileName(file(QStringLiteral("ERR.WMF")));
    plottest::CheckFileErrorAnswers([&] { return mf.MetaSave(); }, mf.FileName(), QStringLiteral("clsMetaFile.MetaSave/"));
    EXPECT_EQ(functionsIn(testsupport::ReadBytes(mf.FileName())).at(META_ELLIPSE), 1);
}

// A drawing of the kinds a map plot makes on a metafile. (No ellipse:
// wmf2gd leaves ellipses unfilled; wmf2svg shows their fill, tested above.)
constexpr int kW = 240, kH = 160;

void drawScene(DeviceContext& dc) {
    dc.FillRect(RECT{0, 0, kW, kH}, CreateSolidBrush(RGB(225, 238, 255)));
    dc.SelectPen(CreatePen(PS_NULL, 1, 0));
    dc.SelectBrush(CreateSolidBrush(RGB(120, 190, 90)));
    const POINT land[] = {{20, 30}, {110, 20}, {140, 70}, {90, 120}, {30, 100}};
    dc.Polygon(land, 5);
    dc.SelectPen(CreatePen(PS_SOLID, 1, RGB(160, 0, 0)));
    const POINT road[] = {{10, 10}, {100, 45}, {230, 20}};
    dc.Polyline(road, 3);
    dc.SelectPen(ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_BEVEL, 6, CreateSolidBrush(RGB(0, 0, 190))));
    const POINT river[] = {{10, 150}, {120, 110}, {230, 150}};
    dc.Polyline(river, 3);
    dc.SelectPen(CreatePen(PS_SOLID, 1, 0));
    dc.SelectBrush(CreateSolidBrush(RGB(255, 215, 0)));
    dc.Rectangle(160, 40, 220, 90);
    for (int i = 0; i < 15; ++i) dc.SetPixelV(40 + 3 * i, 135, RGB(255, 0, 255));
}

TEST_F(MetaFileSave, APlayerDrawsWhatTheCanvasShows) {
    RasterDC canvas(Bitmap::Create(kW, kH, 32));
    drawScene(canvas);

    // As the drawing layer sets up a metafile.
    clsMetaFile mf;
    DeviceContext* dc = mf.MetaOpen();
    dc->SetMapMode(MM_ANISOTROPIC);
    dc->SetWindowOrgEx(0, 0);
    dc->SetWindowExtEx(kW, kH);
    drawScene(*dc);
    mf.setFileName(file(QStringLiteral("scene.wmf")));
    mf.setDpi(96);
    mf.setArea(clsRect(0, 0, kW - 1, kH - 1));
    ASSERT_EQ(mf.MetaSave(), 0);

    const QString png = file(QStringLiteral("scene.png"));
    const plottest::ToolRun run = plottest::RunTool(
        QStringLiteral("wmf2gd"), {"-t", "png", QStringLiteral("--maxwidth=%1").arg(kW),
                                   QStringLiteral("--maxheight=%1").arg(kH), "--maxsize", "-o", png, mf.FileName()});
    if (!run.found) GTEST_SKIP() << "wmf2gd (libwmf-bin) is not installed";
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    const QImage played = QImage(png).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(played.size(), QSize(kW, kH));
    plottest::KeepPicture(canvas.image(), QStringLiteral("wmf_canvas.png"));
    plottest::KeepPicture(played, QStringLiteral("wmf_played.png"));

    // The player rounds the 239-unit frame onto 240 pixels and steps its
    // own edges: a pixel counts as different beyond 64 levels in a channel,
    // and those may be at most 3 per cent (edges are about 10 per cent of
    // the picture).
    int differing = 0;
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const QRgb a = canvas.image().pixel(x, y), b = played.pixel(x, y);
            const int d = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                    std::abs(qBlue(a) - qBlue(b))});
            differing += d > 64;
        }
    }
    EXPECT_LE(differing, kW * kH * 3 / 100) << differing;
}

} // namespace
