#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "AppError.h"
#include "FileOps.h"
#include "TestSupport.h"
#include "TextFile.h"

using namespace plat;
using testsupport::TempDir;

namespace {
int32_t errorOf(const std::function<void()>& f) { return testsupport::ErrorOf(f).number(); }
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

namespace {

// A process that holds the lock of a temporary, as a save in progress does,
// until it is killed.
class LockingProcess {
public:
    explicit LockingProcess(const QString& path) {
        int ready[2];
        if (::pipe(ready) != 0) return;
        const QByteArray name = QFile::encodeName(path);
        pid_ = ::fork();
        if (pid_ == 0) {
            // Only system calls here: the parent may have threads.
            const int fd = ::open(name.constData(), O_RDWR | O_CREAT, 0600);
            const char ok = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? 'y' : 'n';
            if (::write(ready[1], &ok, 1) != 1) ::_exit(1);
            for (;;) ::pause();
        }
        ::close(ready[1]);
        char ok = 'n';
        locked_ = pid_ > 0 && ::read(ready[0], &ok, 1) == 1 && ok == 'y';
        ::close(ready[0]);
    }
    ~LockingProcess() { kill(); }
    bool locked() const { return locked_; }
    // Killed like a save in the middle of writing: its lock goes with it.
    void kill() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    bool locked_ = false;
};

} // namespace

TEST(AtomicWrite, LeftoverTemporariesGoUnlessASaveHoldsThem) {
    TempDir dir;
    const QString target = dir.file(QStringLiteral("t.MLL"));
    const QString stale = dir.file(QStringLiteral(".t.MLL.tmpAbC123"));
    const QString live = dir.file(QStringLiteral(".t.MLL.tmpLive99"));
    // Not temporaries of t.MLL: another target's, and names only alike.
    const QStringList others = {dir.file(QStringLiteral(".u.MLL.tmpAbC123")), dir.file(QStringLiteral(".t.MLL.tmpAb12")),
                                dir.file(QStringLiteral("t.MLL.tmpAbC123")), dir.file(QStringLiteral(".t.MLL.tmpAb-123"))};
    testsupport::WriteBytes(stale, QByteArray(1000, 's'));
    for (const QString& o : others) testsupport::WriteBytes(o, "o");
    LockingProcess saving(live);
    ASSERT_TRUE(saving.locked());

    WriteFileAtomic(target, "one");
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_TRUE(QFile::exists(live));   // another process is still writing it
    for (const QString& o : others) EXPECT_TRUE(QFile::exists(o)) << o.toStdString();

    saving.kill();
    // A save's own temporary is locked while it is written: a cleaner of the
    // whole folder passes it by, and finds the killed one.
    AtomicFileWriter w(target);
    w.write(QByteArray("two"));
    RemoveStaleTemporaries(dir.path());
    EXPECT_FALSE(QFile::exists(live));
    EXPECT_FALSE(QFile::exists(others[0]));   // the other target's leftover too
    w.commit();
    EXPECT_EQ(testsupport::ReadBytes(target), QByteArray("two"));
    QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    left.sort();
    EXPECT_EQ(left, QStringList({QStringLiteral(".t.MLL.tmpAb-123"), QStringLiteral(".t.MLL.tmpAb12"),
                                 QStringLiteral("t.MLL"), QStringLiteral("t.MLL.tmpAbC123")}));
}

TEST(AtomicWrite, OtherTargetsLeftoversGoOnceAMinuteOld) {
    TempDir dir;
    const QString old = dir.file(QStringLiteral(".u.MLL.tmpOld123"));
    const QString fresh = dir.file(QStringLiteral(".v.MLL.tmpNew456"));
    const QString notOurs = dir.file(QStringLiteral("u.MLL.bak"));
    for (const QString& f : {old, fresh, notOurs}) testsupport::WriteBytes(f, QByteArray(5000, 't'));
    // Killed two minutes ago.
    const struct timespec times[2] = {{::time(nullptr) - 120, 0}, {::time(nullptr) - 120, 0}};
    for (const QString& f : {old, notOurs}) ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(f).constData(), times, 0), 0);

    WriteFileAtomic(dir.file(QStringLiteral("t.MLL")), "saved");
    EXPECT_FALSE(QFile::exists(old));
    EXPECT_TRUE(QFile::exists(fresh));   // may belong to a save that has not locked it yet
    EXPECT_TRUE(QFile::exists(notOurs));
}

TEST(AtomicWrite, ThroughASymbolicLinkTheLinkedFileIsReplaced) {
    TempDir dir;
    QDir().mkpath(dir.file(QStringLiteral("real")));
    const QString target = dir.file(QStringLiteral("real/map.MLL"));
    testsupport::WriteBytes(target, "old");
    struct Case {
        QString link;
        QByteArray linkText;   // what the link holds
    };
    const Case cases[] = {
        {dir.file(QStringLiteral("relative.MLL")), "real/map.MLL"},
        {dir.file(QStringLiteral("absolute.MLL")), QFile::encodeName(target)},
        {dir.file(QStringLiteral("chain.MLL")), "relative.MLL"},
    };
    for (const Case& c : cases) ASSERT_EQ(::symlink(c.linkText.constData(), QFile::encodeName(c.link).constData()), 0);
    int n = 0;
    for (const Case& c : cases) {
        const QByteArray content = "new " + QByteArray::number(++n);
        WriteFileAtomic(c.link, content);
        EXPECT_TRUE(QFileInfo(c.link).isSymLink()) << c.link.toStdString();
        EXPECT_EQ(testsupport::ReadBytes(target), content) << c.link.toStdString();
    }
    // No temporary is left in either folder.
    EXPECT_EQ(QDir(dir.file(QStringLiteral("real"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("map.MLL")});
    // A link to a file not there yet makes the file where the link points.
    const QString dangling = dir.file(QStringLiteral("dangling.MLL"));
    ASSERT_EQ(::symlink("real/made.MLL", QFile::encodeName(dangling).constData()), 0);
    WriteFileAtomic(dangling, "made");
    EXPECT_TRUE(QFileInfo(dangling).isSymLink());
    EXPECT_EQ(testsupport::ReadBytes(dir.file(QStringLiteral("real/made.MLL"))), "made");
}

TEST(Reading, SpecialFilesAreRefusedWithoutWaiting) {
    TempDir dir;
    const QString fifo = dir.file(QStringLiteral("pipe.MLL"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = dir.file(QStringLiteral("zero.MLL"));
    ASSERT_EQ(::symlink("/dev/zero", QFile::encodeName(zero).constData()), 0);
    const QString folder = dir.file(QStringLiteral("folder.MLL"));
    QDir().mkpath(folder);
    // A named pipe without a writer would block a plain open forever.
    for (const QString& path : {fifo, zero}) {
        EXPECT_EQ(errorOf([&] { ReadAllBytes(path); }), ErrPathFileAccess) << path.toStdString();
        EXPECT_EQ(errorOf([&] { ReadOnlyFile f(path); }), ErrPathFileAccess) << path.toStdString();
    }
    EXPECT_EQ(errorOf([&] { ReadAllBytes(folder); }), ErrPathFileAccess);
    try {
        ReadAllBytes(zero);
    } catch (const AppError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("通常のファイルではない"))) << e.description().toStdString();
    }
}

TEST(Reading, StopsAtTheCapWhateverTheSizeSaid) {
    // A file of the kernel's own: regular, its size 0, its content longer.
    const QString maps = QStringLiteral("/proc/self/maps");
    if (!QFileInfo::exists(maps)) GTEST_SKIP() << "no /proc/self/maps here";
    ReadOnlyFile f(maps);
    EXPECT_EQ(f.size(), 0);
    EXPECT_EQ(errorOf([&] { ReadAllBytes(maps, 16); }), ErrOutOfMemory);
    EXPECT_EQ(errorOf([&] { ReadOnlyFile g(maps); ForEachFileLine(g, 16, [](QByteArrayView) { return true; }); }),
              ErrOutOfMemory);
    EXPECT_GT(ReadAllBytes(maps).size(), 16);
}

TEST(Reading, ADeniedReadSaysItCannotBeRead) {
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser reads every file";
    TempDir dir;
    const QString path = dir.file(QStringLiteral("secret.THG"));
    testsupport::WriteBytes(path, "x");
    ::chmod(QFile::encodeName(path).constData(), 0200);
    try {
        ReadAllBytes(path);
        ADD_FAILURE() << "read";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), ErrPermissionDenied);
        EXPECT_TRUE(e.description().startsWith(QStringLiteral("読み取りできません。"))) << e.description().toStdString();
        EXPECT_FALSE(e.description().contains(QStringLiteral("書き込み")));
    }
}

TEST(Reading, LinesOfAFileAreTheLinesOfItsBytes) {
    // Line ends of every kind, also split across the reader's 64 KiB blocks.
    const QByteArray block(65535, 'a');
    const QByteArray texts[] = {
        "", "one", "one\r\ntwo\r\n", "a\rb\nc\r\n\r\nd", "\n\n", "last\r",
        block + "\r\nnext", block + "\nnext", block + "x\r\nnext", block + "\r\r\n",
    };
    TempDir dir;
    const QString path = dir.file(QStringLiteral("lines.txt"));
    for (const QByteArray& text : texts) {
        testsupport::WriteBytes(path, text);
        QList<QByteArray> fromBytes, fromFile;
        ForEachLine(text, [&](QByteArrayView l) {
            fromBytes.append(l.toByteArray());
            return true;
        });
        ReadOnlyFile f(path);
        ForEachFileLine(f, kMaxReadBytes, [&](QByteArrayView l) {
            fromFile.append(l.toByteArray());
            return true;
        });
        EXPECT_EQ(fromFile, fromBytes) << text.left(20).toStdString();
        QStringList split;
        for (const QByteArray& l : fromBytes) split.append(QString::fromLatin1(l));
        EXPECT_EQ(split, SplitTextLines(QString::fromLatin1(text))) << text.left(20).toStdString();
    }
}

TEST(Reading, StampChangesWithTheFile) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("CRUISE05.LST"));
    EXPECT_FALSE(FileStampOf(path));
    testsupport::WriteBytes(path, "a");
    const std::optional<FileStamp> first = FileStampOf(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(FileStampOf(path), first);
    WriteFileAtomic(path, "a");   // same bytes, another file
    EXPECT_NE(FileStampOf(path), first);
}
