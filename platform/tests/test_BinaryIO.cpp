// The reader over a file, block by block, against the same reader over the
// file's bytes in memory; failed reads and the size cap.
#include <gtest/gtest.h>

#include <QFileInfo>

#include <cerrno>
#include <functional>

#include "AppError.h"
#include "BinaryIO.h"
#include "FileOps.h"
#include "TestSupport.h"

using namespace plat;
using testsupport::ErrorOf;
using testsupport::TempDir;

namespace {

QByteArray sampleBytes(int n) {
    QByteArray b(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i) b[i] = static_cast<char>(i * 37 + i / 256);
    return b;
}

} // namespace

TEST(FileReader, ReadsAcrossBlocksAsFromMemory) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("B.BIN"));
    const QByteArray content = sampleBytes(5000);
    testsupport::WriteBytes(path, content);
    for (const size_t block : {size_t(16), size_t(17), size_t(100), size_t(1) << 16}) {
        SCOPED_TRACE(block);
        ReadOnlyFile f(path);
        BinaryReader file(f, kMaxReadBytes, block);
        BinaryReader mem(content);
        // Fields of every width, one longer than the block, and a count
        // checked with has() before its bytes are taken from current().
        for (int step = 0; mem.has(300); ++step) {
            switch (step % 7) {
            case 0: EXPECT_EQ(file.u8(), mem.u8()); break;
            case 1: EXPECT_EQ(file.i16(), mem.i16()); break;
            case 2: EXPECT_EQ(file.u32(), mem.u32()); break;
            case 3: EXPECT_EQ(file.f64(), mem.f64()); break;
            case 4: EXPECT_EQ(file.bytes(211), mem.bytes(211)); break;
            case 5:
                ASSERT_TRUE(file.has(29));
                EXPECT_EQ(QByteArray(file.current(), 29), QByteArray(mem.current(), 29));
                file.skip(29);
                mem.skip(29);
                break;
            case 6:
                file.seek(file.pos() + 3);
                mem.seek(mem.pos() + 3);
                break;
            }
            ASSERT_EQ(file.pos(), mem.pos());
        }
        // Counting what is left reads it all, and the bytes stay readable.
        const size_t at = file.pos();
        EXPECT_EQ(file.remaining(), mem.remaining());
        file.seek(at);
        EXPECT_EQ(file.bytes(file.remaining()), content.mid(static_cast<qsizetype>(at)));
        EXPECT_TRUE(file.atEnd());
        EXPECT_FALSE(file.has(1));
        EXPECT_EQ(ErrorOf([&] { file.u8(); }).number(), ErrInputPastEnd);
        EXPECT_EQ(ErrorOf([&] { file.finish(); }).number(), 0);
    }
}

TEST(FileReader, SeeksOnlyWithinHeldBytesOrForward) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("S.BIN"));
    const QByteArray content = sampleBytes(1000);
    testsupport::WriteBytes(path, content);
    ReadOnlyFile f(path);
    BinaryReader in(f, kMaxReadBytes, 64);
    in.seek(500);   // forward past several blocks
    EXPECT_EQ(in.u8(), static_cast<uint8_t>(content[500]));
    in.seek(500);   // back within the held bytes
    EXPECT_EQ(in.u8(), static_cast<uint8_t>(content[500]));
    EXPECT_EQ(in.bytes(100), content.mid(501, 100));   // the next block: earlier ones dropped
    EXPECT_EQ(ErrorOf([&] { in.seek(10); }).number(), ErrInputPastEnd);
    EXPECT_EQ(ErrorOf([&] { in.seek(1001); }).number(), ErrInputPastEnd);
    in.seek(1000);
    EXPECT_TRUE(in.atEnd());
}

TEST(FileReader, AFailedReadEndsTheInputAndComesBackFromFinish) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("F.BIN"));
    const QByteArray content = sampleBytes(3000);
    testsupport::WriteBytes(path, content);
    struct Case {
        int err;
        int32_t number;
        size_t decodeTo;   // where decoding stops before finish()
    };
    const Case cases[] = {
        {EIO, ErrDeviceIO, 1000},        // decoding runs into the failure
        {EIO, ErrDeviceIO, 10},          // decoding stops first: finish() reads on to it
        {EACCES, ErrPermissionDenied, 1000},
    };
    for (const Case& c : cases) {
        ReadOnlyFile f(path);
        BinaryReader in(f, kMaxReadBytes, 64);
        ReadOnlyFile::FailReadAt(1000, c.err);
        EXPECT_EQ(in.bytes(c.decodeTo), content.left(static_cast<qsizetype>(c.decodeTo)));
        if (c.decodeTo == 1000) {
            // Taken for the end of the input, not thrown from the field.
            EXPECT_FALSE(in.has(1));
            EXPECT_EQ(ErrorOf([&] { in.i32(); }).number(), ErrInputPastEnd);
        }
        const AppError e = ErrorOf([&] { in.finish(); });
        EXPECT_EQ(e.number(), c.number) << c.err;
        EXPECT_TRUE(e.description().contains(path)) << e.description().toStdString();
        EXPECT_EQ(ErrorOf([&] { in.finish(); }).number(), c.number);   // and again
    }
}

TEST(FileReader, RefusesMoreThanTheCap) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("C.BIN"));
    testsupport::WriteBytes(path, sampleBytes(1000));
    {
        ReadOnlyFile f(path);   // the size says so at once
        EXPECT_EQ(ErrorOf([&] { BinaryReader in(f, 999); }).number(), ErrOutOfMemory);
    }
    ReadOnlyFile f(path);
    BinaryReader exact(f, 1000, 16);
    EXPECT_EQ(exact.bytes(1000).size(), 1000);
    EXPECT_EQ(ErrorOf([&] { exact.finish(); }).number(), 0);
    // A file of the kernel's own says size 0 and holds more: the input ends
    // at the cap, and finish() says why.
    const QString maps = QStringLiteral("/proc/self/maps");
    if (!QFileInfo::exists(maps)) GTEST_SKIP() << "no /proc/self/maps here";
    ReadOnlyFile g(maps);
    BinaryReader in(g, 40, 16);
    EXPECT_FALSE(in.has(1000));
    EXPECT_LE(in.remaining(), 64u);
    EXPECT_EQ(ErrorOf([&] { in.finish(); }).number(), ErrOutOfMemory);
}
