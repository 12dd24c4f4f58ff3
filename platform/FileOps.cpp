#include "FileOps.h"

#include "AppError.h"
#include "AppInfo.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace plat {

QString NativePath(const QString& path) {
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

namespace {

bool existsExact(const QString& p) {
    struct stat st;
    return ::stat(QFile::encodeName(p).constData(), &st) == 0;
}

QString matchInFolder(const QString& folder, const QString& name) {
    QDir d(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList entries = d.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& e : entries) {
        if (e.compare(name, Qt::CaseInsensitive) == 0) return e;
    }
    return QString();
}

int gFailNextWrite = 0;

// Temporaries are named "." + target + ".tmp" + six characters of mkstemp.
constexpr int kTmpRandom = 6;
const QByteArray kTmpMark = QByteArrayLiteral(".tmp");

bool isTemporaryOf(const QByteArray& entry, const QByteArray& target) {
    if (!entry.startsWith('.') || entry.size() < 1 + kTmpMark.size() + kTmpRandom + 1) return false;
    const qsizetype markAt = entry.size() - kTmpRandom - kTmpMark.size();
    if (entry.mid(markAt, kTmpMark.size()) != kTmpMark) return false;
    for (qsizetype i = entry.size() - kTmpRandom; i < entry.size(); ++i) {
        const char c = entry[i];
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
    }
    return target.isEmpty() || entry.mid(1, markAt - 1) == target;
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Removes the temporary when no save holds its lock. The lock is taken on
// an open file and checked against the name again, so a temporary that a
// save has just made (and is about to lock) is never taken for stale.
void removeIfStale(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return;
    struct stat opened, named;
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::lstat(path.constData(), &named) == 0 && sameFile(opened, named))
        ::unlink(path.constData());
    ::close(fd);
}

void removeStale(const QString& folder, const QByteArray& target) {
    const QByteArray dirName = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
    DIR* d = ::opendir(dirName.constData());
    if (!d) return;
    std::vector<QByteArray> stale;
    while (const dirent* e = ::readdir(d)) {
        const QByteArray name(e->d_name);
        if (isTemporaryOf(name, target)) stale.push_back(dirName + '/' + name);
    }
    ::closedir(d);
    for (const QByteArray& path : stale) removeIfStale(path);
}

} // namespace

void RemoveStaleTemporaries(const QString& folder) { removeStale(NativePath(folder), QByteArray()); }

QString ResolveFileName(const QString& path) {
    QString p = NativePath(path);
    if (p.isEmpty() || existsExact(p)) return p;
    const bool absolute = p.startsWith(QLatin1Char('/'));
    const QStringList parts = p.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString cur = absolute ? QStringLiteral("/") : QString();
    for (const QString& part : parts) {
        QString next = cur.isEmpty() ? part : (cur.endsWith(QLatin1Char('/')) ? cur + part : cur + QLatin1Char('/') + part);
        if (part == QLatin1String(".") || part == QLatin1String("..") || existsExact(next)) {
            cur = next;
            continue;
        }
        QString m = matchInFolder(cur, part);
        if (m.isEmpty()) return p;
        cur = cur.isEmpty() ? m : (cur.endsWith(QLatin1Char('/')) ? cur + m : cur + QLatin1Char('/') + m);
    }
    return cur;
}

int32_t FileErrorFromErrno(int err, bool folderMissing) {
    switch (err) {
    case ENOENT: return folderMissing ? ErrPathNotFound : ErrFileNotFound;
    case ENOTDIR: return ErrPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: return ErrPermissionDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG: return ErrDiskFull;
    case EEXIST: return ErrFileExists;
    case EMFILE:
    case ENFILE: return ErrTooManyFiles;
    case EXDEV: return ErrRenameAcrossDrives;
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM: return ErrDeviceUnavailable;
    case ENAMETOOLONG:
    case EINVAL: return ErrBadFileName2;
    case EISDIR:
    case EBUSY: return ErrPathFileAccess;
    case EIO:
    default: return ErrDeviceIO;
    }
}

void ThrowFileError(int err, const QString& path) {
    bool folderMissing = false;
    if (err == ENOENT) {
        QString folder = QFileInfo(path).path();
        folderMissing = !folder.isEmpty() && !QFileInfo(folder).isDir();
    }
    int32_t n = FileErrorFromErrno(err, folderMissing);
    throw AppError(n, AppTitle(), RuntimeErrorText(n) + QStringLiteral(" ") + path);
}

bool PathExists(const QString& path) {
    if (path.isEmpty()) return false;
    return existsExact(ResolveFileName(path));
}

bool IsDirectory(const QString& path) { return QFileInfo(ResolveFileName(path)).isDir(); }

bool IsWritableFile(const QString& path) {
    QByteArray name = QFile::encodeName(ResolveFileName(path));
    struct stat st;
    if (::stat(name.constData(), &st) != 0) return false;
    // A file without any write bit is read-only even for the superuser: it
    // stands for the read-only attribute the program's files may carry.
    if ((st.st_mode & 0222) == 0) return false;
    return ::access(name.constData(), W_OK) == 0;
}

bool IsReadOnlyAttr(const QString& path) {
    struct stat st;
    if (::stat(QFile::encodeName(ResolveFileName(path)).constData(), &st) != 0) return false;
    return (st.st_mode & 0222) == 0;
}

QByteArray ReadAllBytes(const QString& path) {
    QString p = ResolveFileName(path);
    QByteArray name = QFile::encodeName(p);
    int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) ThrowFileError(errno, p);
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        int e = errno;
        ::close(fd);
        ThrowFileError(e, p);
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        ThrowFileError(EISDIR, p);
    }
    QByteArray out;
    if (st.st_size > 0) out.reserve(static_cast<qsizetype>(st.st_size));
    char buf[1 << 16];
    for (;;) {
        ssize_t r = ::read(fd, buf, sizeof buf);
        if (r < 0) {
            if (errno == EINTR) continue;
            int e = errno;
            ::close(fd);
            ThrowFileError(e, p);
        }
        if (r == 0) break;
        out.append(buf, r);
    }
    ::close(fd);
    return out;
}

AtomicFileWriter::AtomicFileWriter(const QString& path) : path_(ResolveFileName(path)) {
    QByteArray target = QFile::encodeName(path_);
    if (PathExists(path_) && !IsWritableFile(path_)) ThrowFileError(EACCES, path_);
    QFileInfo fi(path_);
    QString folder = fi.path();
    if (!QFileInfo(folder).isDir()) ThrowFileError(ENOENT, path_);
    // What killed saves of this file left behind goes first.
    removeStale(folder, QFile::encodeName(fi.fileName()));
    const QByteArray pattern = QFile::encodeName(folder + QStringLiteral("/.") + fi.fileName() + QStringLiteral(".tmpXXXXXX"));
    // The lock on the temporary, held until it is renamed or removed, tells
    // other processes that this save is alive. A cleaner that got in between
    // creating and locking has removed the name: then make another.
    for (int attempt = 0; fd_ < 0; ++attempt) {
        tmpPath_ = pattern;
        errno = 0;
        const int fd = ::mkstemp(tmpPath_.data());
        if (fd < 0) ThrowFileError(errno, path_);
        struct stat opened, named;
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &opened) == 0 && ::lstat(tmpPath_.constData(), &named) == 0 &&
            sameFile(opened, named)) {
            fd_ = fd;
            break;
        }
        const int err = errno;
        ::close(fd);
        if (attempt == 8) ThrowFileError(err ? err : EIO, path_);
    }
    // Keep the mode of the file being replaced; a new file gets the usual mode.
    struct stat st;
    if (::stat(target.constData(), &st) == 0) {
        ::fchmod(fd_, st.st_mode & 07777);
    } else {
        mode_t um = ::umask(0);
        ::umask(um);
        ::fchmod(fd_, 0666 & ~um);
    }
    buf_.reserve(1 << 16);
}

AtomicFileWriter::~AtomicFileWriter() {
    // Removed while still locked, so no cleaner meets it unlocked.
    if (!committed_ && fd_ >= 0) ::unlink(tmpPath_.constData());
    if (fd_ >= 0) ::close(fd_);
}

void AtomicFileWriter::FailNextWriteWith(int err) { gFailNextWrite = err; }

void AtomicFileWriter::flushBuffer() {
    size_t off = 0;
    while (off < buf_.size()) {
        if (gFailNextWrite) {
            int e = gFailNextWrite;
            gFailNextWrite = 0;
            ThrowFileError(e, path_);
        }
        ssize_t w = ::write(fd_, buf_.data() + off, buf_.size() - off);
        if (w < 0) {
            if (errno == EINTR) continue;
            ThrowFileError(errno, path_);
        }
        off += static_cast<size_t>(w);
    }
    buf_.clear();
}

void AtomicFileWriter::write(const char* data, size_t n) {
    if (fd_ < 0) ThrowRuntimeError(ErrBadFileMode);
    written_ += static_cast<int64_t>(n);
    if (buf_.size() + n > (1 << 16)) {
        flushBuffer();
        if (n > (1 << 16)) {
            buf_.assign(data, n);
            flushBuffer();
            return;
        }
    }
    buf_.append(data, n);
}

void AtomicFileWriter::commit() {
    if (fd_ < 0) ThrowRuntimeError(ErrBadFileMode);
    flushBuffer();
    if (gFailNextWrite) {
        int e = gFailNextWrite;
        gFailNextWrite = 0;
        ThrowFileError(e, path_);
    }
    if (::fsync(fd_) != 0 && errno != EINVAL) ThrowFileError(errno, path_);
    // Renamed while the lock is held: closed first, the temporary could be
    // taken for one a killed save left.
    if (::rename(tmpPath_.constData(), QFile::encodeName(path_).constData()) != 0) ThrowFileError(errno, path_);
    committed_ = true;
    const int rc = ::close(fd_);
    fd_ = -1;
    if (rc != 0 && errno != EINTR) ThrowFileError(errno, path_);
}

void WriteFileAtomic(const QString& path, const QByteArray& bytes) {
    AtomicFileWriter w(path);
    w.write(bytes);
    w.commit();
}

void CopyFileReplacing(const QString& from, const QString& to) {
    QByteArray data = ReadAllBytes(from);
    WriteFileAtomic(to, data);
}

void LinkOrCopyFile(const QString& from, const QString& to) {
    const QString f = ResolveFileName(from);
    const QString t = NativePath(to);
    RemoveFile(t);
    if (::link(QFile::encodeName(f).constData(), QFile::encodeName(t).constData()) == 0) return;
    CopyFileReplacing(f, t);
}

void RenameFile(const QString& from, const QString& to) {
    QString f = ResolveFileName(from);
    if (::rename(QFile::encodeName(f).constData(), QFile::encodeName(NativePath(to)).constData()) != 0) ThrowFileError(errno, f);
}

void RemoveFile(const QString& path) {
    QString p = ResolveFileName(path);
    if (::unlink(QFile::encodeName(p).constData()) != 0 && errno != ENOENT) ThrowFileError(errno, p);
}

} // namespace plat
