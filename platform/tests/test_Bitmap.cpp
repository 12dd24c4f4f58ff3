// Bitmap files and DIBs that lie about their size.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

#include <climits>
#include <sys/stat.h>
#include <tuple>

#include "Bitmap.h"
#include "BinaryIO.h"
#include "TestSupport.h"

using namespace plat;

namespace {

// BITMAPFILEHEADER and BITMAPINFOHEADER (40 bytes) of an uncompressed or
// RLE picture; the pixel data follows at byte 54 (plus the palette).
QByteArray bmpHeader(int32_t w, int32_t h, uint16_t bits, uint32_t compression = 0, uint32_t sizeImage = 0,
                     uint32_t paletteBytes = 0) {
    BinaryWriter b;
    b.u8('B');
    b.u8('M');
    b.u32(0);   // the file size field: readers do not trust it
    b.u32(0);
    b.u32(54 + paletteBytes);
    b.u32(40);
    b.i32(w);
    b.i32(h);
    b.u16(1);
    b.u16(bits);
    b.u32(compression);
    b.u32(sizeImage);
    b.u32(2835);
    b.u32(2835);
    b.u32(0);
    b.u32(0);
    return b.buffer();
}

} // namespace

TEST(Bitmap, FilesShorterThanTheirHeadersAreUnreadable) {
    testsupport::TempDir dir;
    QImage whole(5, 3, QImage::Format_RGB32);
    whole.fill(qRgb(10, 20, 30));
    ASSERT_TRUE(whole.save(dir.file("whole.bmp"), "BMP"));
    const QByteArray saved = testsupport::ReadBytes(dir.file("whole.bmp"));
    const QByteArray rows24 = QByteArray(16 * 3, '\x7f');   // 5 pixels of 3 bytes padded to 16
    const QByteArray palette8(256 * 4, '\0');
    const struct {
        const char* what;
        QByteArray bytes;
        bool loads;
    } cases[] = {
        {"written by Qt", saved, true},
        {"one byte short", saved.chopped(1), false},
        {"24 bits, complete", bmpHeader(5, 3, 24) + rows24, true},
        {"24 bits, top-down, complete", bmpHeader(5, -3, 24) + rows24, true},
        {"24 bits, last row missing", bmpHeader(5, 3, 24) + rows24.left(32), false},
        {"11000 x 3000 in 70 bytes", bmpHeader(11000, 3000, 24) + QByteArray(16, '\0'), false},
        {"height of INT32_MIN", bmpHeader(5, INT32_MIN, 24) + rows24, false},
        {"RLE data shorter than its size", bmpHeader(4, 4, 8, 1, 400, 1024) + palette8 + QByteArray(10, '\0'), false},
        {"header cut", bmpHeader(5, 3, 24).left(30), false},
    };
    for (const auto& c : cases) {
        const QString path = dir.file("case.bmp");
        testsupport::WriteBytes(path, c.bytes);
        const HBITMAP b = LoadBitmapFromFile(path);
        EXPECT_EQ(b != nullptr, c.loads) << c.what;
        if (b && c.loads) {
            EXPECT_EQ(b->width(), 5) << c.what;
        }
    }
}

TEST(Bitmap, DibSizesAreCheckedBeforeUse) {
    DIB dib;
    dib.width = 2;
    dib.bitCount = 24;
    dib.bits = QByteArray(16, '\0');
    for (int32_t h : {INT32_MIN, INT32_MIN + 1, -40000, 0, 40000, INT32_MAX}) {
        dib.height = h;
        EXPECT_TRUE(DibToImage(dib).isNull()) << h;
    }
    for (int32_t h : {2, -2}) {
        dib.height = h;
        EXPECT_EQ(DibToImage(dib).height(), 2) << h;
    }
}

// The hand-made inputs of the bitmap corpus say by their names whether they
// load (ok_) or are refused (bad_): headers whose sizes overflow a product,
// tiny pictures that claim more pixels than any canvas holds.
TEST(Bitmap, CorpusLoadsOrIsRefusedBeforeDecoding) {
    const QDir dir(QStringLiteral(KAL_SOURCE_DIR "/fuzz/corpus/bitmap"));
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_GE(names.size(), 6) << dir.path().toStdString();
    for (const QString& name : names) {
        const HBITMAP b = LoadBitmapFromFile(dir.filePath(name));
        EXPECT_EQ(b != nullptr, name.startsWith(QLatin1String("ok_"))) << name.toStdString();
    }
}

TEST(Bitmap, PicturesLargerThanTheCanvasAreRefused) {
    testsupport::TempDir dir;
    for (const auto& [w, h, loads] : {std::tuple{8000, 2, true}, {8001, 2, false}, {2, 8001, false}}) {
        QImage img(w, h, QImage::Format_Mono);
        img.fill(0);
        const QString path = dir.file(QStringLiteral("p.png"));
        ASSERT_TRUE(img.save(path, "PNG"));
        EXPECT_EQ(LoadBitmapFromFile(path) != nullptr, loads) << w << "x" << h;
    }
    // Special files are no pictures, and never block.
    const QString fifo = dir.file(QStringLiteral("pipe.bmp"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(LoadBitmapFromFile(fifo), nullptr);
}
