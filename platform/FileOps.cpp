#include "FileOps.h"

#include "AppError.h"
#include "AppInfo.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

} // namespace

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
    // A file without any write bit is read-only even for the superuser, like
    // the read-only attribute of the original platform.
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
    tmpPath_ = QFile::encodeName(folder + QStringLiteral("/.") + fi.fileName() + QStringLiteral(".tmpXXXXXX"));
    fd_ = ::mkstemp(tmpPath_.data());
    if (fd_ < 0) ThrowFileError(errno, path_);
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
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !tmpPath_.isEmpty()) ::unlink(tmpPath_.constData());
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
    int rc = ::close(fd_);
    fd_ = -1;
    if (rc != 0) ThrowFileError(errno, path_);
    if (::rename(tmpPath_.constData(), QFile::encodeName(path_).constData()) != 0) ThrowFileError(errno, path_);
    committed_ = true;
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
