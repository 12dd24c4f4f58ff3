// The metafile back end: the records it writes for each call, its object
// table, the limits of the format, continuing a recording, and a check of
// the result with an independent player (libwmf's wmf2svg).
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

#include "BinaryIO.h"
#include "Bitmap.h"
#include "MetaFileDC.h"
#include "RasterDC.h"
#include "TestSupport.h"
#include "TextFile.h"

#include <functional>

using namespace plat;

namespace {

using Words = std::vector<uint16_t>;

struct Rec {
    uint16_t fn;
    Words w;   // the parameters as 16-bit words
    bool operator==(const Rec&) const = default;
};

void PrintTo(const Rec& r, std::ostream* os) {
    *os << std::hex << "{0x" << r.fn << ":";
    for (uint16_t v : r.w) *os << " " << v;
    *os << "}";
}

uint16_t u(int v) { return static_cast<uint16_t>(v); }

// The records of a metafile, checking the header and the end record.
std::vector<Rec> recordsOf(const QByteArray& bits) {
    std::vector<Rec> out;
    BinaryReader r(bits);
    EXPECT_EQ(r.u16(), 1);
    EXPECT_EQ(r.u16(), 9);
    EXPECT_EQ(r.u16(), 0x0300);
    EXPECT_EQ(r.u32() * 2, uint32_t(bits.size()));
    r.u16();
    const uint32_t maxRecord = r.u32();
    r.u16();
    uint32_t largest = 0;
    for (;;) {
        const uint32_t size = r.u32();
        const uint16_t fn = r.u16();
        largest = std::max(largest, size);
        if (fn == META_EOF) break;
        Rec rec{fn, {}};
        for (uint32_t i = 3; i < size; ++i) rec.w.push_back(r.u16());
        out.push_back(rec);
    }
    EXPECT_TRUE(r.atEnd());
    EXPECT_EQ(maxRecord, largest);
    return out;
}

std::vector<Rec> recorded(const std::function<void(MetaFileDC&)>& calls) {
    MetaFileDC dc;
    calls(dc);
    return recordsOf(dc.Close()->bits());
}

// Only the records of one function.
std::vector<Rec> only(const std::vector<Rec>& recs, uint16_t fn) {
    std::vector<Rec> out;
    for (const Rec& r : recs)
        if (r.fn == fn) out.push_back(r);
    return out;
}

TEST(MetaFileDC, EmptyRecordingIsHeaderAndEndRecord) {
    MetaFileDC dc;
    const HMETAFILE mf = dc.Close();
    ASSERT_TRUE(mf);
    EXPECT_EQ(mf->bits().size(), 24);
    EXPECT_TRUE(recordsOf(mf->bits()).empty());
    EXPECT_EQ(mf->objectCount(), 0);
    EXPECT_FALSE(dc.Close()) << "closed once only";
    EXPECT_FALSE(dc.LineTo(1, 1));
    EXPECT_FALSE(dc.Rectangle(0, 0, 2, 2));
}

TEST(MetaFileDC, EachCallBecomesItsRecord) {
    struct Case {
        const char* what;
        std::function<void(MetaFileDC&)> call;
        std::vector<Rec> expected;
    };
    const POINT three[] = {{1, 2}, {3, 4}, {5, 6}};
    const POINT rings[] = {{0, 0}, {4, 0}, {0, 4}, {9, 9}, {8, 9}, {9, 8}};
    const int counts[] = {3, 3};
    const RECT box{1, 2, 30, 40};
    const Case cases[] = {
        {"text colour", [](MetaFileDC& d) { d.SetTextColor(RGB(1, 2, 3)); }, {{META_SETTEXTCOLOR, {0x0201, 0x0003}}}},
        {"background mode", [](MetaFileDC& d) { d.SetBkMode(TRANSPARENT); }, {{META_SETBKMODE, {1, 0}}}},
        {"unknown mode", [](MetaFileDC& d) { d.SetBkMode(99); }, {}},
        {"mix mode", [](MetaFileDC& d) { d.SetROP2(R2_XORPEN); }, {{META_SETROP2, {7, 0}}}},
        {"mapping mode", [](MetaFileDC& d) { d.SetMapMode(MM_ANISOTROPIC); }, {{META_SETMAPMODE, {8}}}},
        {"window", [](MetaFileDC& d) {
             d.SetMapMode(MM_ANISOTROPIC);
             d.SetWindowOrgEx(10, -20);
             d.SetWindowExtEx(640, 480);
             d.SetWindowExtEx(0, 5);
         },
         {{META_SETMAPMODE, {8}}, {META_SETWINDOWORG, {u(-20), 10}}, {META_SETWINDOWEXT, {480, 640}}}},
        {"rectangle", [](MetaFileDC& d) { d.Rectangle(1, 2, 3, 4); }, {{META_RECTANGLE, {4, 3, 2, 1}}}},
        {"ellipse", [](MetaFileDC& d) { d.Ellipse(1, 2, 3, 4); }, {{META_ELLIPSE, {4, 3, 2, 1}}}},
        {"line", [](MetaFileDC& d) { d.MoveToEx(5, 6); d.LineTo(7, 8); },
         {{META_MOVETO, {6, 5}}, {META_LINETO, {8, 7}}}},
        {"pixel clamped to 16 bits", [](MetaFileDC& d) { d.SetPixelV(40000, -40000, RGB(1, 2, 3)); },
         {{META_SETPIXEL, {0x0201, 0x0003, 0x8000, 0x7FFF}}}},
        {"pattern transfer", [](MetaFileDC& d) { d.PatBlt(1, 2, 3, 4, PATCOPY); },
         {{META_PATBLT, {0x0021, 0x00F0, 4, 3, 2, 1}}}},
        {"no source transfer without a source", [](MetaFileDC& d) { d.PatBlt(1, 2, 3, 4, SRCCOPY); }, {}},
        {"polyline", [&](MetaFileDC& d) { d.Polyline(three, 3); }, {{META_POLYLINE, {3, 1, 2, 3, 4, 5, 6}}}},
        {"polygons", [&](MetaFileDC& d) { d.PolyPolygon(rings, counts, 2); },
         {{META_POLYPOLYGON, {2, 3, 3, 0, 0, 4, 0, 0, 4, 9, 9, 8, 9, 9, 8}}}},
        {"clip rectangle", [](MetaFileDC& d) { d.IntersectClipRect(1, 2, 3, 4); d.ExcludeClipRect(5, 6, 7, 8); },
         {{META_INTERSECTCLIPRECT, {4, 3, 2, 1}}, {META_EXCLUDECLIPRECT, {8, 7, 6, 5}}}},
        {"text in code page 932", [](MetaFileDC& d) { d.TextOut(1, 2, QStringLiteral("地図")); },
         {{META_TEXTOUT, {4, 0x6E92, 0x7D90, 2, 1}}}},
        {"text with a box, odd length padded", [&](MetaFileDC& d) { d.ExtTextOut(1, 2, ETO_OPAQUE, &box, "abc"); },
         {{META_EXTTEXTOUT, {2, 1, 3, ETO_OPAQUE, 1, 2, 30, 40, 0x6261, 0x0063}}}},
        {"box options without a box", [](MetaFileDC& d) { d.ExtTextOut(1, 2, ETO_CLIPPED, nullptr, "ab"); },
         {{META_EXTTEXTOUT, {2, 1, 2, 0, 0x6261}}}},
    };
    for (const Case& c : cases) EXPECT_EQ(recorded(c.call), c.expected) << c.what;
}

TEST(MetaFileDC, ObjectsTakeTheLowestFreeSlotAndGoWhenNothingUsesThem) {
    const auto recs = recorded([](MetaFileDC& d) {
        d.SelectPen(CreatePen(PS_SOLID, 2, RGB(255, 0, 0)));   // slot 0
        d.SelectPen(CreatePen(PS_SOLID, 2, RGB(255, 0, 0)));   // the same: nothing
        d.SelectBrush(CreateHatchBrush(HS_CROSS, 0x00FF00));   // slot 1
        d.SaveDC();
        d.SelectPen(CreatePen(PS_SOLID, 1, 0));                // slot 2; slot 0 kept for the saved state
        d.SelectPen(CreatePen(PS_NULL, 1, 0));                 // slot 3; slot 2 goes
        d.RestoreDC(1);                                         // back to slot 0; slot 3 goes
    });
    const std::vector<Rec> expected = {
        {META_CREATEPENINDIRECT, {PS_SOLID, 2, 0, 0x00FF, 0}},
        {META_SELECTOBJECT, {0}},
        {META_CREATEBRUSHINDIRECT, {BS_HATCHED, 0xFF00, 0, HS_CROSS}},
        {META_SELECTOBJECT, {1}},
        {META_SAVEDC, {}},
        {META_CREATEPENINDIRECT, {PS_SOLID, 1, 0, 0, 0}},
        {META_SELECTOBJECT, {2}},
        {META_CREATEPENINDIRECT, {PS_NULL, 1, 0, 0, 0}},
        {META_SELECTOBJECT, {3}},
        {META_DELETEOBJECT, {2}},
        {META_RESTOREDC, {u(-1)}},
        {META_DELETEOBJECT, {3}},
    };
    EXPECT_EQ(recs, expected);
}

TEST(MetaFileDC, FillRectUsesATemporaryBrush) {
    MetaFileDC dc;
    dc.FillRect(RECT{1, 2, 11, 22}, CreateSolidBrush(RGB(0, 0, 255)));
    dc.FillRect(RECT{5, 5, 5, 9}, CreateSolidBrush(0));   // empty: nothing
    const HMETAFILE mf = dc.Close();
    const std::vector<Rec> expected = {
        {META_CREATEBRUSHINDIRECT, {BS_SOLID, 0, 0x00FF, 0}},
        {META_SELECTOBJECT, {0}},
        {META_PATBLT, {0x0021, 0x00F0, 20, 10, 2, 1}},
        // The brush in force (the white default) comes back as an object.
        {META_CREATEBRUSHINDIRECT, {BS_SOLID, 0xFFFF, 0x00FF, 0}},
        {META_SELECTOBJECT, {1}},
        {META_DELETEOBJECT, {0}},
    };
    EXPECT_EQ(recordsOf(mf->bits()), expected);
    EXPECT_EQ(mf->objectCount(), 2);
}

TEST(MetaFileDC, LongPolygonsAndPolylinesFitTheSixteenBitCounts) {
    std::vector<POINT> doubled, distinct;
    for (int i = 0; i < 20000; ++i) {
        const POINT p{i % 1000, i / 1000 + (i % 2) * 3};
        doubled.push_back(p);
        doubled.push_back(p);
    }
    for (int i = 0; i < 40000; ++i) distinct.push_back(POINT{i % 1000, i / 1000});
    MetaFileDC dc;
    EXPECT_TRUE(dc.Polygon(doubled.data(), int(doubled.size())));
    EXPECT_FALSE(dc.Polygon(distinct.data(), int(distinct.size())));
    std::vector<POINT> line(70000);
    for (int i = 0; i < 70000; ++i) line[size_t(i)] = POINT{i % 30000, i / 30000};
    EXPECT_TRUE(dc.Polyline(line.data(), int(line.size())));
    const auto recs = recordsOf(dc.Close()->bits());
    ASSERT_EQ(only(recs, META_POLYGON).size(), 1u);
    EXPECT_EQ(only(recs, META_POLYGON)[0].w[0], 20000);
    const auto pieces = only(recs, META_POLYLINE);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].w[0] + pieces[1].w[0] + pieces[2].w[0], 70000 + 2);
    // Each piece starts where the one before ended.
    for (size_t k = 1; k < pieces.size(); ++k) {
        const Words& a = pieces[k - 1].w;
        EXPECT_EQ(a[a.size() - 2], pieces[k].w[1]);
        EXPECT_EQ(a[a.size() - 1], pieces[k].w[2]);
    }
}

TEST(MetaFileDC, TransfersCarryTheSourceAsA24BitBitmap) {
    // A monochrome 3 x 2 source: black at (0, 0) and (2, 1).
    HBITMAP mono = Bitmap::Create(3, 2, 1);
    mono->image().setPixel(0, 0, 0);
    mono->image().setPixel(2, 1, 0);
    HDC mem = CreateCompatibleDC(nullptr);
    mem->SelectBitmap(mono);
    MetaFileDC dc;
    dc.SetTextColor(RGB(10, 20, 30));
    dc.SetBkColor(RGB(200, 210, 220));
    EXPECT_TRUE(dc.StretchBlt(40, 50, 6, 4, mem, 0, 0, 3, 2, ROP_PSDPxax));
    EXPECT_TRUE(dc.StretchBlt(40, 50, 3, 2, mem, 3, 0, -3, 2, SRCCOPY)) << "mirrored source";
    EXPECT_FALSE(dc.BitBlt(0, 0, 4, 4, mem, 0, 0, SRCCOPY)) << "source outside the bitmap";
    EXPECT_FALSE(dc.BitBlt(0, 0, 1, 1, &dc, 0, 0, SRCCOPY)) << "a metafile is no source";
    DeleteDC(mem);
    const auto blits = only(recordsOf(dc.Close()->bits()), META_DIBSTRETCHBLT);
    ASSERT_EQ(blits.size(), 2u);
    const Words& w = blits[0].w;
    EXPECT_EQ((Words{w.begin(), w.begin() + 10}), (Words{0x074A, 0x00B8, 2, 3, 0, 0, 4, 6, 50, 40}));
    EXPECT_EQ(w[10] | w[11] << 16, 40u);   // information header
    EXPECT_EQ(w[17], 24) << "bits per pixel";
    // Rows bottom up, 12 bytes each (9 padded): the text colour where the source is black.
    const auto byteAt = [&](const Words& ws, int i) { return (ws[size_t(30 + i / 2)] >> (8 * (i % 2))) & 0xFF; };
    const int bottomRight = 6, topLeft = 12;
    EXPECT_EQ(byteAt(w, bottomRight + 2), 10);   // red of (2, 1)
    EXPECT_EQ(byteAt(w, topLeft + 2), 10);       // red of (0, 0)
    EXPECT_EQ(byteAt(w, 0 + 2), 200);            // (0, 1): background
    EXPECT_EQ(byteAt(blits[1].w, topLeft + 6 + 2), 10) << "(0, 0) lands at (2, 0) when mirrored";
}

TEST(MetaFileDC, PatternBrushesAndDeviceIndependentBitmaps) {
    HBITMAP tile = Bitmap::Create(8, 8, 1);
    tile->image().setPixel(0, 7, 0);
    HBITMAP colour = Bitmap::Create(2, 2, 32);
    DIB dib;
    dib.width = 2;
    dib.height = 2;
    dib.bitCount = 8;
    dib.palette = {0xFF0000};
    dib.bits = QByteArray(8, '\0');
    MetaFileDC dc;
    dc.SelectBrush(CreatePatternBrush(tile));
    dc.SelectBrush(CreatePatternBrush(colour));
    EXPECT_EQ(dc.StretchDIBits(0, 0, 4, 4, 0, 0, 2, 2, dib, SRCCOPY), 2);
    EXPECT_EQ(dc.StretchDIBits(0, 0, 4, 4, 1, 0, 2, 2, dib, SRCCOPY), 0) << "source beyond the bitmap";
    DIB shortBits = dib;
    shortBits.bits.chop(1);
    EXPECT_EQ(dc.StretchDIBits(0, 0, 4, 4, 0, 0, 2, 2, shortBits, SRCCOPY), 0);
    const auto recs = recordsOf(dc.Close()->bits());
    const auto brushes = only(recs, META_DIBCREATEPATTERNBRUSH);
    ASSERT_EQ(brushes.size(), 2u);
    EXPECT_EQ(brushes[0].w[0], BS_PATTERN);
    EXPECT_EQ(brushes[0].w[9], 1) << "one bit a pixel";
    EXPECT_EQ((Words{brushes[0].w.begin() + 22, brushes[0].w.begin() + 26}), (Words{0, 0, 0xFFFF, 0x00FF}))
        << "black and white";
    EXPECT_EQ(brushes[0].w[26], 0x007F) << "bottom row first: only (0, 7) is black";
    EXPECT_EQ(brushes[1].w[0], BS_DIBPATTERNPT);
    EXPECT_EQ(brushes[1].w[9], 24);
    const auto dibs = only(recs, META_STRETCHDIB);
    ASSERT_EQ(dibs.size(), 1u);
    EXPECT_EQ(dibs[0].w.size(), 11u + 20u + 512u + 4u) << "the palette is padded to 256 entries";
}

TEST(MetaFileDC, FontsCarryTheirRecordAndFaceInCodePage932) {
    LOGFONT lf;
    lf.lfHeight = -24;
    lf.lfEscapement = 450;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 1;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfFaceName = QStringLiteral("ＭＳ Ｐゴシック");
    LOGFONT longFace = lf;
    longFace.lfFaceName = QString(15, QChar(0x3042)) + QChar(0x3044);   // 32 bytes: the last character goes
    MetaFileDC dc;
    dc.SelectFont(CreateFontIndirect(lf));
    dc.SelectFont(CreateFontIndirect(longFace));
    const auto recs = recordsOf(dc.Close()->bits());
    ASSERT_EQ(recs.size(), 5u);
    EXPECT_EQ(recs[1], (Rec{META_SELECTOBJECT, {0}}));
    EXPECT_EQ(recs[3], (Rec{META_SELECTOBJECT, {1}}));
    EXPECT_EQ(recs[4], (Rec{META_DELETEOBJECT, {0}})) << "the font in force stays";
    const auto fonts = only(recs, META_CREATEFONTINDIRECT);
    ASSERT_EQ(fonts.size(), 2u);
    const Words& w = fonts[0].w;
    ASSERT_EQ(w.size(), 25u);
    EXPECT_EQ((Words{w.begin(), w.begin() + 7}), (Words{u(-24), 0, 450, 0, 700, 0x0001, 0x8000}));
    QByteArray face;
    for (size_t i = 9; i < w.size(); ++i) face.append(char(w[i] & 0xFF)).append(char(w[i] >> 8));
    EXPECT_EQ(face.left(face.indexOf('\0')), EncodeCp932(lf.lfFaceName));
    QByteArray longBytes;
    for (size_t i = 9; i < fonts[1].w.size(); ++i)
        longBytes.append(char(fonts[1].w[i] & 0xFF)).append(char(fonts[1].w[i] >> 8));
    EXPECT_EQ(longBytes.left(longBytes.indexOf('\0')), EncodeCp932(QString(15, QChar(0x3042))));
}

TEST(MetaFileDC, ClipRegionsAreRecordedAsScans) {
    Region two = CreateRectRgn(0, 0, 10, 5);
    CombineRgn(two, two, CreateRectRgn(20, 0, 30, 5), RGN_OR);
    const auto recs = recorded([&](MetaFileDC& d) {
        d.SelectClipRgn(&two);
        d.SelectClipRgn(nullptr);
    });
    ASSERT_EQ(recs.size(), 6u);
    EXPECT_EQ(recs[0].fn, META_CREATEREGION);
    // Header (size 38 bytes, one scan of two pairs), box, then the scan.
    EXPECT_EQ(recs[0].w, (Words{0, 6, 0, 0, 38, 1, 2, 0, 0, 30, 5, 4, 0, 5, 0, 10, 20, 30, 4}));
    EXPECT_EQ(recs[1], (Rec{META_SELECTCLIPREGION, {0}}));
    EXPECT_EQ(recs[2], (Rec{META_DELETEOBJECT, {0}}));
    EXPECT_EQ(recs[3].w[11], 2) << "no clip: the whole plane in one pair";
    EXPECT_EQ((Words{recs[3].w.begin() + 12, recs[3].w.begin() + 16}), (Words{0x8000, 0x7FFF, 0x8000, 0x7FFF}));
}

TEST(MetaFileDC, ReportsAMetafileDeviceAndMeasuresOnTheScreen) {
    MetaFileDC dc;
    RasterDC screenLike(Bitmap::Create(4, 4, 32));
    EXPECT_EQ(dc.GetDeviceCaps(TECHNOLOGY), DT_METAFILE);
    EXPECT_EQ(dc.GetDeviceCaps(BITSPIXEL), 24);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), screenLike.GetDeviceCaps(LOGPIXELSX));
    const int caps = dc.GetDeviceCaps(RASTERCAPS);
    EXPECT_EQ(caps & (RC_BITBLT | RC_BITMAP64 | RC_STRETCHBLT), RC_BITBLT | RC_BITMAP64 | RC_STRETCHBLT);
    LOGFONT lf;
    lf.lfHeight = -20;
    lf.lfFaceName = QStringLiteral("Arial");
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExtEx(1000, 1000);   // the recording's mapping plays no part
    dc.SelectFont(CreateFontIndirect(lf));
    screenLike.SelectFont(CreateFontIndirect(lf));
    SIZE a, b;
    ASSERT_TRUE(dc.GetTextExtentPoint32(QStringLiteral("Kaldero 地図"), &a));
    ASSERT_TRUE(screenLike.GetTextExtentPoint32(QStringLiteral("Kaldero 地図"), &b));
    EXPECT_EQ(a, b);
    EXPECT_GT(a.cx, 50);
    EXPECT_EQ(dc.GetPixel(0, 0), CLR_INVALID);
}

TEST(MetaFileDC, PlayingAFinishedRecordingKeepsItsStateInside) {
    MetaFileDC first;
    first.SelectPen(CreatePen(PS_SOLID, 1, 0xFF));
    first.SaveDC();   // never restored
    first.Rectangle(0, 0, 10, 10);
    const HMETAFILE mf = first.Close();

    MetaFileDC second;
    ASSERT_TRUE(second.Play(*mf));
    second.SelectPen(CreatePen(PS_SOLID, 1, 0xFF00));
    second.Ellipse(0, 0, 10, 10);
    const auto recs = recordsOf(second.Close()->bits());
    const std::vector<uint16_t> fns = [&] {
        std::vector<uint16_t> f;
        for (const Rec& r : recs) f.push_back(r.fn);
        return f;
    }();
    EXPECT_EQ(fns, (std::vector<uint16_t>{META_SAVEDC, META_CREATEPENINDIRECT, META_SELECTOBJECT, META_SAVEDC,
                                          META_RECTANGLE, META_RESTOREDC, META_DELETEOBJECT,
                                          META_CREATEPENINDIRECT, META_SELECTOBJECT, META_ELLIPSE}));
    EXPECT_EQ(recs[5].w, Words{u(-2)}) << "both saved states of the played recording and the enclosing one";
    EXPECT_EQ(recs[8].w, Words{0}) << "the played object's slot is free again";

    MetaFileDC busy;
    busy.SelectPen(CreatePen(PS_SOLID, 1, 0));
    EXPECT_FALSE(busy.Play(*mf)) << "its slots would clash";
}

// The recording of a 200 x 100 picture played by wmf2svg: the SVG's text.
QByteArray PlayedAsSvg(const QString& player, MetaFileDC& dc) {
    testsupport::TempDir dir;
    BinaryWriter head;   // a placeable header, which the player needs for the size
    head.u32(0x9AC6CDD7u);
    head.u16(0);
    for (uint16_t v : {0, 0, 200, 100, 96}) head.u16(v);
    head.u32(0);
    head.u16(0x5711 ^ 200 ^ 100 ^ 96);
    const QString wmf = dir.file(QStringLiteral("played.wmf")), svg = dir.file(QStringLiteral("played.svg"));
    testsupport::WriteBytes(wmf, head.buffer() + dc.Close()->bits());
    QProcess p;
    p.start(player, {QStringLiteral("-o"), svg, wmf});
    EXPECT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return testsupport::ReadBytes(svg);
}

TEST(MetaFileDC, AnIndependentPlayerReadsEveryKindOfRecord) {
    const QString player = QStandardPaths::findExecutable(QStringLiteral("wmf2svg"));
    if (player.isEmpty()) GTEST_SKIP() << "wmf2svg (libwmf-bin) is not installed";
    MetaFileDC dc;
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowOrgEx(0, 0);
    dc.SetWindowExtEx(200, 100);
    dc.FillRect(RECT{0, 0, 200, 100}, CreateSolidBrush(0xFFFFFF));
    dc.SelectPen(CreatePen(PS_DASH, 1, RGB(255, 0, 0)));
    const POINT pts[] = {{10, 10}, {190, 10}, {100, 90}};
    dc.Polyline(pts, 3);
    dc.SelectBrush(CreateSolidBrush(RGB(0, 128, 0)));
    dc.Polygon(pts, 3);
    dc.Ellipse(20, 20, 60, 60);
    LOGFONT lf;
    lf.lfHeight = -12;
    lf.lfFaceName = QStringLiteral("Arial");
    dc.SelectFont(CreateFontIndirect(lf));
    dc.TextOut(120, 40, QStringLiteral("KALDERO"));
    HBITMAP sym = Bitmap::Create(4, 4, 32);
    HDC mem = CreateCompatibleDC(nullptr);
    mem->SelectBitmap(sym);
    dc.BitBlt(150, 60, 4, 4, mem, 0, 0, SRCCOPY);
    DeleteDC(mem);
    Region clip = CreateRectRgn(0, 0, 150, 100);
    dc.SelectClipRgn(&clip);
    dc.Rectangle(100, 50, 180, 95);

    const QByteArray text = PlayedAsSvg(player, dc);
    for (const char* element : {"<polyline", "<polygon", "<ellipse", "<rect", "<image", "KALDERO"})
        EXPECT_TRUE(text.contains(element)) << element;
}

TEST(MetaFileDC, DashedPensAreRecordedAsSolidDashes) {
    // The dashes of a line, the pattern running on across corners.
    using Pieces = std::vector<std::vector<POINT>>;
    const POINT straight[] = {{0, 0}, {50, 0}};
    EXPECT_EQ(DashPieces(straight, 2, {18, 6}),
              (Pieces{{{0, 0}, {18, 0}}, {{24, 0}, {42, 0}}, {{48, 0}, {50, 0}}}));
    const POINT corner[] = {{0, 0}, {10, 0}, {10, 20}};
    EXPECT_EQ(DashPieces(corner, 3, {18, 6}), (Pieces{{{0, 0}, {10, 0}, {10, 8}}, {{10, 14}, {10, 20}}}));
    const POINT dots[] = {{0, 0}, {0, 9}};
    EXPECT_EQ(DashPieces(dots, 2, {3, 3}), (Pieces{{{0, 0}, {0, 3}}, {{0, 6}, {0, 9}}}));

    const auto recs = recorded([&](MetaFileDC& dc) {
        dc.SelectPen(CreatePen(PS_DASH, 1, RGB(255, 0, 0)));
        dc.Polyline(straight, 2);
        dc.MoveToEx(0, 10);
        dc.LineTo(20, 10);
        dc.SelectPen(ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_DOT, 4, CreateSolidBrush(0)));
        dc.Polyline(straight, 2);
    });
    const auto pens = only(recs, META_CREATEPENINDIRECT);
    ASSERT_EQ(pens.size(), 2u);
    EXPECT_EQ(pens[0].w[0], u(PS_SOLID));
    EXPECT_EQ(pens[1].w[0], u(PS_ENDCAP_FLAT | PS_SOLID));
    const auto lines = only(recs, META_POLYLINE);
    ASSERT_EQ(lines.size(), 3u + 1u + 5u);   // 3 dashes, 1 of the LineTo, 5 dots of 4 in 50
    EXPECT_EQ(lines[3], (Rec{META_POLYLINE, {2, 0, 10, 18, 10}}));
    EXPECT_EQ(lines[4], (Rec{META_POLYLINE, {2, 0, 0, 4, 0}}));
    EXPECT_TRUE(only(recs, META_LINETO).empty());
}

TEST(MetaFileDC, TextsAreWrittenInTheirFontsCharacterSet) {
    const auto textOf = [](uint8_t charSet, const QString& text) {
        LOGFONT lf;
        lf.lfHeight = -12;
        lf.lfCharSet = charSet;
        lf.lfFaceName = QStringLiteral("Arial");
        const auto recs = recorded([&](MetaFileDC& dc) {
            dc.SelectFont(CreateFontIndirect(lf));
            dc.TextOut(1, 2, text);
        });
        const auto t = only(recs, META_TEXTOUT);
        QByteArray bytes;
        if (t.size() != 1) return bytes;
        for (size_t i = 1; i < t[0].w.size() - 2; ++i) bytes.append(char(t[0].w[i] & 0xFF)).append(char(t[0].w[i] >> 8));
        return bytes.left(t[0].w[0]);
    };
    EXPECT_EQ(textOf(ANSI_CHARSET, QStringLiteral("Curaçao 22°30 Łódź")), QByteArray("Cura\xE7" "ao 22\xB0" "30 ?\xF3" "d?"));
    EXPECT_EQ(textOf(SHIFTJIS_CHARSET, QStringLiteral("東京 22°30")), EncodeCp932(QStringLiteral("東京 22°30")));
    EXPECT_EQ(textOf(DEFAULT_CHARSET, QStringLiteral("東京")), EncodeCp932(QStringLiteral("東京")));
}

// Japanese text in a Shift-JIS font and a European one in a Latin-1 font
// come back from an independent player as written.
TEST(MetaFileDC, AnIndependentPlayerReadsJapaneseAndEuropeanTexts) {
    const QString player = QStandardPaths::findExecutable(QStringLiteral("wmf2svg"));
    if (player.isEmpty()) GTEST_SKIP() << "wmf2svg (libwmf-bin) is not installed";
    MetaFileDC dc;
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowOrgEx(0, 0);
    dc.SetWindowExtEx(200, 100);
    LOGFONT lf;
    lf.lfHeight = -12;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfFaceName = QStringLiteral("ＭＳ Ｐゴシック");
    dc.SelectFont(CreateFontIndirect(lf));
    dc.TextOut(10, 30, QStringLiteral("東京都"));
    lf.lfCharSet = ANSI_CHARSET;
    dc.SelectFont(CreateFontIndirect(lf));
    dc.TextOut(10, 60, QStringLiteral("Curaçao"));

    // The player passes each text's bytes on as its font's character set
    // gives them: Shift-JIS for the Japanese font, Latin-1 for the other.
    const QByteArray text = PlayedAsSvg(player, dc);
    EXPECT_TRUE(text.contains(">" + EncodeCp932(QStringLiteral("東京都")) + "</text>")) << text.constData();
    EXPECT_TRUE(text.contains(">Cura\xE7" "ao</text>")) << text.constData();
}

} // namespace
