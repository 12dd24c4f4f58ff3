#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <cerrno>
#include <sys/stat.h>

#include "AppError.h"
#include "FileOps.h"
#include "TestSupport.h"

using namespace plat;
using testsupport::TempDir;

namespace {
int32_t errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}
} // namespace

TEST(FileNames, ResolvedWithoutRegardToCase) {
    TempDir dir;
    QDir().mkpath(dir.file(QStringLiteral("Maps")));
    testsupport::WriteBytes(dir.file(QStringLiteral("Maps/world.thg")), "x");
    EXPECT_EQ(ResolveFileName(dir.file(QStringLiteral("MAPS/WORLD.THG"))), dir.file(QStringLiteral("Maps/world.thg")));
    EXPECT_EQ(ResolveFileName(dir.path() + QStringLiteral("\\maps\\World.Thg")), dir.file(QStringLiteral("Maps/world.thg")));
    EXPECT_TRUE(PathExists(dir.file(QStringLiteral("maps/WORLD.thg"))));
    // Nothing matches: the name comes back as written, with "/".
    EXPECT_EQ(ResolveFileName(dir.path() + QStringLiteral("\\none\\x")), dir.path() + QStringLiteral("/none/x"));
}

TEST(FileErrors, NumbersOfTheRunTime) {
    EXPECT_EQ(FileErrorFromErrno(ENOENT), ErrFileNotFound);
    EXPECT_EQ(FileErrorFromErrno(ENOENT, true), ErrPathNotFound);
    EXPECT_EQ(FileErrorFromErrno(EACCES), ErrPermissionDenied);
    EXPECT_EQ(FileErrorFromErrno(EROFS), ErrPermissionDenied);
    EXPECT_EQ(FileErrorFromErrno(ENOSPC), ErrDiskFull);
    EXPECT_EQ(FileErrorFromErrno(EIO), ErrDeviceIO);
    EXPECT_EQ(FileErrorFromErrno(EMFILE), ErrTooManyFiles);

    TempDir dir;
    EXPECT_EQ(errorOf([&] { ReadAllBytes(dir.file(QStringLiteral("missing.bin"))); }), ErrFileNotFound);
    EXPECT_EQ(errorOf([&] { ReadAllBytes(dir.file(QStringLiteral("nofolder/missing.bin"))); }), ErrPathNotFound);
    EXPECT_EQ(errorOf([&] { WriteFileAtomic(dir.file(QStringLiteral("nofolder/x.bin")), "x"); }), ErrPathNotFound);
}

TEST(AtomicWrite, ReplacesWholeFileOrNothing) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("map.bin"));
    testsupport::WriteBytes(path, "old contents");
    WriteFileAtomic(path, "new");
    EXPECT_EQ(testsupport::ReadBytes(path), QByteArray("new"));

    // A write that fails midway leaves the old file and no temporary behind.
    AtomicFileWriter::FailNextWriteWith(ENOSPC);
    EXPECT_EQ(errorOf([&] {
                  AtomicFileWriter w(path);
                  w.write(QByteArray(200000, 'x'));
                  w.commit();
              }),
              ErrDiskFull);
    EXPECT_EQ(testsupport::ReadBytes(path), QByteArray("new"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(AtomicWrite, ReadOnlyFileIsRefusedWith70) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("ro.bin"));
    testsupport::WriteBytes(path, "keep");
    ::chmod(QFile::encodeName(path).constData(), 0444);
    EXPECT_FALSE(IsWritableFile(path));
    EXPECT_EQ(errorOf([&] { WriteFileAtomic(path, "lost"); }), ErrPermissionDenied);
    EXPECT_EQ(testsupport::ReadBytes(path), QByteArray("keep"));
}

TEST(AtomicWrite, LinkedBackupKeepsTheOldContent) {
    testsupport::TempDir dir;
    const QString path = dir.file(QStringLiteral("m.MLL"));
    const QString backup = dir.file(QStringLiteral("m.M$$"));
    testsupport::WriteBytes(path, "old");
    testsupport::WriteBytes(backup, "older");
    LinkOrCopyFile(path, backup);
    EXPECT_EQ(testsupport::ReadBytes(backup), "old");
    WriteFileAtomic(path, "new");
    EXPECT_EQ(testsupport::ReadBytes(path), "new");
    EXPECT_EQ(testsupport::ReadBytes(backup), "old");
    EXPECT_THROW(LinkOrCopyFile(dir.file(QStringLiteral("none")), backup), AppError);
}

TEST(AtomicWrite, KeepsModeOfReplacedFile) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("m.bin"));
    testsupport::WriteBytes(path, "a");
    ::chmod(QFile::encodeName(path).constData(), 0640);
    WriteFileAtomic(path, "b");
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}
