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

#include <algorithm>
#include <ctime>
#include <utility>
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
int gFailNextOpen = 0;
int gFailReadErr = 0;
int64_t gFailReadAt = 0;

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

// Removes the temporary when no save holds its lock and it is at least
// minAge seconds old. The lock is taken on an open file and checked against
// the name again, so a temporary that a save has just made (and is about to
// lock) is never taken for stale.
void removeIfStale(const QByteArray& path, int minAge) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return;
    struct stat opened, named;
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
        (minAge <= 0 || opened.st_mtime <= ::time(nullptr) - minAge) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::lstat(path.constData(), &named) == 0 && sameFile(opened, named))
        ::unlink(path.constData());
    ::close(fd);
}

// The temporaries of `target` that no save holds go; those of any other
// target only when at least othersMinAge old (never when it is negative).
// An empty target: all temporaries, of othersMinAge.
void removeStale(const QString& folder, const QByteArray& target, int othersMinAge) {
    const QByteArray dirName = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
    DIR* d = ::opendir(dirName.constData());
    if (!d) return;
    std::vector<std::pair<QByteArray, int>> stale;
    while (const dirent* e = ::readdir(d)) {
        const QByteArray name(e->d_name);
        if (!target.isEmpty() && isTemporaryOf(name, target)) stale.emplace_back(dirName + '/' + name, 0);
        else if (othersMinAge >= 0 && isTemporaryOf(name, QByteArray()))
            stale.emplace_back(dirName + '/' + name, othersMinAge);
    }
    ::closedir(d);
    for (const auto& [path, minAge] : stale) removeIfStale(path, minAge);
}

int openForReading(const QString& path) {
    // Without O_NONBLOCK opening a named pipe waits for a writer forever.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) ThrowReadError(errno, path);
    return fd;
}

} // namespace

void RemoveStaleTemporaries(const QString& folder, int minAgeSeconds) {
    removeStale(NativePath(folder), QByteArray(), std::max(minAgeSeconds, 0));
}

QString WriteTargetOf(const QString& path) {
    QString p = NativePath(path);
    // As the system does, a chain of more than 40 links is not followed.
    for (int depth = 0; depth < 40; ++depth) {
        const QByteArray name = QFile::encodeName(p);
        struct stat st;
        if (::lstat(name.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        QByteArray buf(4096, Qt::Uninitialized);
        const ssize_t n = ::readlink(name.constData(), buf.data(), static_cast<size_t>(buf.size()));
        if (n <= 0 || n >= buf.size()) return p;
        const QString link = QFile::decodeName(buf.left(n));
        p = QDir::cleanPath(QDir::isAbsolutePath(link) ? link : QFileInfo(p).path() + QLatin1Char('/') + link);
    }
    return p;
}

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

void ThrowReadError(int err, const QString& path) {
    if (err == EACCES || err == EPERM) {
        AppError e(ErrPermissionDenied, AppTitle(), QStringLiteral("読み取りできません。 ") + path);
        e.setReadDenied(true);
        throw e;
    }
    ThrowFileError(err, path);
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

ReadOnlyFile::ReadOnlyFile(const QString& path) : path_(ResolveFileName(path)) {
    if (const int err = std::exchange(gFailNextOpen, 0)) ThrowReadError(err, path_);
    fd_ = openForReading(path_);
    struct stat st;
    if (::fstat(fd_, &st) != 0) {
        const int e = errno;
        ::close(fd_);
        ThrowReadError(e, path_);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd_);
        if (S_ISDIR(st.st_mode)) ThrowFileError(EISDIR, path_);
        throw AppError(ErrPathFileAccess, AppTitle(), QStringLiteral("通常のファイルではないので読みません。 ") + path_);
    }
    size_ = st.st_size;
}

void ReadOnlyFile::FailNextOpenWith(int err) { gFailNextOpen = err; }

ReadOnlyFile::~ReadOnlyFile() {
    if (fd_ >= 0) ::close(fd_);
}

void ReadOnlyFile::FailReadAt(int64_t offset, int err) {
    gFailReadAt = offset;
    gFailReadErr = err;
}

size_t ReadOnlyFile::read(char* buffer, size_t n) {
    if (gFailReadErr) {
        const int64_t at = ::lseek(fd_, 0, SEEK_CUR);
        if (at >= gFailReadAt) ThrowReadError(std::exchange(gFailReadErr, 0), path_);
        n = std::min<size_t>(n, static_cast<size_t>(gFailReadAt - at));
    }
    for (;;) {
        const ssize_t r = ::read(fd_, buffer, n);
        if (r >= 0) return static_cast<size_t>(r);
        if (errno != EINTR) ThrowReadError(errno, path_);
    }
}

void ReadOnlyFile::rewind() {
    if (::lseek(fd_, 0, SEEK_SET) < 0) ThrowReadError(errno, path_);
}

QByteArray ReadOnlyFile::readAt(int64_t offset, int64_t count) {
    if (offset < 0 || count < 0 || count > kMaxReadBytes) ThrowRuntimeError(ErrInputPastEnd, path_);
    QByteArray out(static_cast<qsizetype>(count), '\0');
    int64_t done = 0;
    while (done < count) {
        const ssize_t r = ::pread(fd_, out.data() + done, static_cast<size_t>(count - done), offset + done);
        if (r < 0) {
            if (errno == EINTR) continue;
            ThrowReadError(errno, path_);
        }
        if (r == 0) ThrowRuntimeError(ErrInputPastEnd, path_);
        done += r;
    }
    return out;
}

QByteArray ReadOnlyFile::readAll(int64_t maxBytes) {
    if (size_ > maxBytes) ThrowRuntimeError(ErrOutOfMemory, path_);
    // Straight into the result, sized by what the file said plus one byte
    // that shows whether it has grown since; then in doubling steps.
    QByteArray out;
    int64_t capacity = std::min(size_, maxBytes) + 1, done = 0;
    out.resize(static_cast<qsizetype>(capacity));
    for (;;) {
        if (done == capacity) {
            if (done > maxBytes) ThrowRuntimeError(ErrOutOfMemory, path_);
            capacity = std::min(capacity * 2, maxBytes + 1);
            out.resize(static_cast<qsizetype>(capacity));
        }
        const size_t r = read(out.data() + done, static_cast<size_t>(capacity - done));
        if (r == 0) break;
        done += static_cast<int64_t>(r);
    }
    if (done > maxBytes) ThrowRuntimeError(ErrOutOfMemory, path_);
    out.resize(static_cast<qsizetype>(done));
    return out;
}

QByteArray ReadAllBytes(const QString& path, int64_t maxBytes) {
    ReadOnlyFile f(path);
    return f.readAll(maxBytes);
}

void ForEachLine(QByteArrayView bytes, const std::function<bool(QByteArrayView)>& line) {
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        if (!line(bytes.sliced(start, i - start))) return;
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) line(bytes.sliced(start));
}

void ForEachFileLine(ReadOnlyFile& file, int64_t maxBytes, const std::function<bool(QByteArrayView)>& line) {
    if (file.size() > maxBytes) ThrowRuntimeError(ErrOutOfMemory, file.path());
    QByteArray pending;   // a line that runs on into the next block
    bool afterCr = false;
    int64_t total = 0;
    std::vector<char> block(1 << 16);
    for (;;) {
        const size_t n = file.read(block.data(), block.size());
        if (n == 0) break;
        total += static_cast<int64_t>(n);
        if (total > maxBytes) ThrowRuntimeError(ErrOutOfMemory, file.path());
        const char* b = block.data();
        size_t start = afterCr && b[0] == '\n' ? 1 : 0;
        afterCr = false;
        for (size_t i = start; i < n; ++i) {
            const char c = b[i];
            if (c != '\r' && c != '\n') continue;
            bool more;
            if (pending.isEmpty()) {
                more = line(QByteArrayView(b + start, static_cast<qsizetype>(i - start)));
            } else {
                pending.append(b + start, static_cast<qsizetype>(i - start));
                more = line(pending);
                pending.clear();
            }
            if (!more) return;
            if (c == '\r') {
                if (i + 1 < n) {
                    if (b[i + 1] == '\n') ++i;
                } else {
                    afterCr = true;
                }
            }
            start = i + 1;
        }
        pending.append(b + start, static_cast<qsizetype>(n - start));
    }
    if (!pending.isEmpty()) line(pending);
}

AtomicFileWriter::AtomicFileWriter(const QString& path) : path_(WriteTargetOf(ResolveFileName(path))) {
    QByteArray target = QFile::encodeName(path_);
    if (PathExists(path_) && !IsWritableFile(path_)) ThrowFileError(EACCES, path_);
    QFileInfo fi(path_);
    QString folder = fi.path();
    if (!QFileInfo(folder).isDir()) ThrowFileError(ENOENT, path_);
    // What killed saves left behind goes first: this file's at once, the
    // folder's others once they are old enough to belong to no live save.
    removeStale(folder, QFile::encodeName(fi.fileName()), kStaleTemporaryAge);
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

std::optional<FileStamp> FileStampOf(const QString& path) {
    struct stat st;
    if (::stat(QFile::encodeName(ResolveFileName(path)).constData(), &st) != 0) return std::nullopt;
    return FileStamp{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino), st.st_size,
                     int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
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
