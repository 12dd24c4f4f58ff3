// The view overlay: marks over a picture that a second drawing erases, what
// the widget is told to repaint, and the picture it paints.
#include <gtest/gtest.h>

#include <QPainter>

#include <random>
#include <vector>

#include "Bitmap.h"
#include "RasterDC.h"
#include "ViewOverlay.h"

namespace {

using namespace plat;

// A picture of noise, so every pixel differs from its neighbours.
QImage Noise(int w, int h, unsigned seed) {
    QImage img(w, h, QImage::Format_RGB32);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, 0xFF000000u | (rng() & 0xFFFFFF));
    return img;
}

// The same drawing straight onto the picture with the same mix.
QImage DrawnOnPicture(const QImage& picture, const std::function<void(DeviceContext*)>& draw) {
    HBITMAP bmp = Bitmap::FromImage(picture);
    RasterDC dc(bmp, 96);
    draw(&dc);
    return dc.image().convertToFormat(QImage::Format_RGB32);
}

QImage Painted(const ViewOverlay& overlay, const QImage& picture, const QRegion& exposed) {
    QImage target(picture.size(), QImage::Format_RGB32);
    target.fill(0xFF123456u);
    QPainter p(&target);
    overlay.Paint(p, picture, exposed);
    return target;
}

TEST(ViewOverlay, ShowsWhatTheSameInvertingDrawingOnTheViewWouldShow) {
    const QImage picture = Noise(160, 120, 7);
    struct Case {
        const char* name;
        std::function<void(DeviceContext*)> draw;
    };
    const POINT band[] = {{10, 10}, {150, 30}, {80, 110}, {12, 60}};
    const Case cases[] = {
        {"wide XOR pen", [&](DeviceContext* dc) {
             dc->SetROP2(R2_XORPEN);
             dc->SelectPen(CreatePen(PS_SOLID, 2, 0x00FF00));
             dc->Polyline(band, 4);
         }},
        {"dotted XOR pen", [&](DeviceContext* dc) {
             dc->SetROP2(R2_XORPEN);
             dc->SelectPen(CreatePen(PS_DOT, 1, 0x00FF00));
             dc->Polyline(band, 4);
         }},
        {"inverted rectangle and ellipse", [&](DeviceContext* dc) {
             dc->SetROP2(R2_NOT);
             dc->SelectBrush(StockBrush(NULL_BRUSH));
             dc->Rectangle(20, 20, 90, 70);
             dc->Ellipse(60, 40, 140, 110);
         }},
        {"NOTXOR line", [&](DeviceContext* dc) {
             dc->SetROP2(R2_NOTXORPEN);
             dc->SelectPen(CreatePen(PS_SOLID, 1, 0x3366CC));
             dc->MoveToEx(0, 119);
             dc->LineTo(159, 0);
         }},
    };
    for (const Case& c : cases) {
        ViewOverlay overlay(160, 120);
        c.draw(overlay.dc());
        EXPECT_EQ(overlay.Composed(picture), DrawnOnPicture(picture, c.draw)) << c.name;
        EXPECT_EQ(Painted(overlay, picture, QRect(0, 0, 160, 120)), DrawnOnPicture(picture, c.draw)) << c.name;
        EXPECT_FALSE(overlay.IsEmpty()) << c.name;
        // Drawn a second time, it is gone.
        c.draw(overlay.dc());
        EXPECT_EQ(overlay.Composed(picture), picture) << c.name;
    }
}

TEST(ViewOverlay, MarksCoverEveryPixelChangedAndLittleMore) {
    ViewOverlay overlay(400, 300);
    DeviceContext* dc = overlay.dc();
    dc->SetROP2(R2_XORPEN);
    dc->SelectPen(CreatePen(PS_SOLID, 2, 0x00FF00));
    overlay.TakeDirty();
    // A long diagonal: a staircase of small boxes, not its whole bounding box.
    const POINT diagonal[] = {{5, 5}, {395, 295}};
    dc->Polyline(diagonal, 2);
    const QRegion dirty = overlay.TakeDirty();
    int64_t area = 0;
    for (const QRect& r : dirty) area += int64_t(r.width()) * r.height();
    EXPECT_LT(area, 400 * 300 / 6);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) {
            if (overlay.MaskPixel(x, y)) {
                ASSERT_TRUE(dirty.contains(QPoint(x, y))) << x << "," << y;
            }
        }
    EXPECT_TRUE(overlay.TakeDirty().isEmpty()) << "taken";

    // Clear empties the marks and asks for their repaint.
    overlay.Clear();
    EXPECT_TRUE(overlay.IsEmpty());
    EXPECT_TRUE((dirty - overlay.TakeDirty()).isEmpty());
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) ASSERT_EQ(overlay.MaskPixel(x, y), 0u);

    // Off the view nothing is marked; a resize asks for all of it.
    const POINT outside[] = {{-50, -50}, {-10, -40}};
    dc->Polyline(outside, 2);
    EXPECT_TRUE(overlay.IsEmpty());
    overlay.Resize(200, 100);
    EXPECT_EQ(overlay.TakeDirty().boundingRect(), QRect(0, 0, 400, 300));
    EXPECT_EQ(overlay.dc()->GetROP2(), R2_XORPEN) << "the pen and mix survive a resize";
    EXPECT_EQ(overlay.dc()->CurrentPen().width, 2);
}

// However long a band follows the pointer before the map is painted anew,
// the marked region stays a few rectangles per tile row about the band
// that shows, and still covers every mark.
TEST(ViewOverlay, MarkedRegionStaysBoundedWhileABandMoves) {
    constexpr int kW = 1920, kH = 1080;
    ViewOverlay overlay(kW, kH);
    DeviceContext* dc = overlay.dc();
    dc->SetROP2(R2_XORPEN);
    dc->SelectPen(CreatePen(PS_SOLID, 2, 0x00FF00));
    auto band = [](int k) {
        const int x = 300 + k * 37 % 1500, y = 200 + k * 23 % 800;
        return std::vector<POINT>{{100, 100}, {x, 100}, {x, y}, {100, y}, {100, 100}};
    };
    std::vector<POINT> shown = band(0);
    dc->Polyline(shown.data(), 5);
    for (int k = 1; k <= 400; ++k) {
        const std::vector<POINT> next = band(k);
        dc->Polyline(shown.data(), 5);
        dc->Polyline(next.data(), 5);
        overlay.TakeDirty();
        shown = next;
    }
    const QRegion inked = overlay.Inked();
    EXPECT_LE(inked.rectCount(), 3 * kH / ViewOverlay::kTile);
    int64_t area = 0;
    for (const QRect& r : inked) area += int64_t(r.width()) * r.height();
    EXPECT_LT(area, kW * kH / 4);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (overlay.MaskPixel(x, y)) {
                ASSERT_TRUE(inked.contains(QPoint(x, y))) << x << "," << y;
            }
}

TEST(ViewOverlay, PaintsOnlyTheExposedPartAtTheOrigin) {
    const QImage picture = Noise(100, 80, 3);
    ViewOverlay overlay(100, 80);
    overlay.dc()->SetROP2(R2_NOT);
    overlay.dc()->PatBlt(10, 10, 30, 30, DSTINVERT);
    QImage target(140, 120, QImage::Format_RGB32);
    target.fill(0xFF000000u);
    {
        QPainter p(&target);
        overlay.Paint(p, picture, QRect(20, 20, 40, 40), QPoint(20, 20));
    }
    // Target (25, 25) is picture (5, 5): plain. Target (35, 35) is picture
    // (15, 15): inverted. Outside the exposed rectangle nothing is painted.
    EXPECT_EQ(target.pixel(25, 25), picture.pixel(5, 5));
    EXPECT_EQ(target.pixel(35, 35) & 0xFFFFFF, ~picture.pixel(15, 15) & 0xFFFFFF);
    EXPECT_EQ(target.pixel(70, 70), 0xFF000000u);
    EXPECT_EQ(target.pixel(10, 10), 0xFF000000u);
}

} // namespace
