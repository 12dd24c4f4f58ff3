#include "CruiseFiles.h"

#include "AppError.h"
#include "FileOps.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cruise {

namespace {

int gFailErr = 0;
int gFailTimes = 0;

// An open descriptor that closes itself.
class OpenFile {
public:
    explicit OpenFile(const QString& path) : path_(plat::ResolveFileName(path)) {
        if (gFailTimes > 0) {
            --gFailTimes;
            plat::ThrowFileError(gFailErr, path_);
        }
        fd_ = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0) plat::ThrowFileError(errno, path_);
        struct stat st;
        if (::fstat(fd_, &st) != 0) fail(errno);
        if (S_ISDIR(st.st_mode)) fail(EISDIR);
        size_ = st.st_size;
    }
    ~OpenFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    int64_t size() const { return size_; }
    QByteArray read(int64_t offset, int64_t count) {
        if (offset < 0 || count < 0 || offset > size_ || count > size_ - offset)
            plat::ThrowRuntimeError(plat::ErrInputPastEnd, path_);
        QByteArray out(static_cast<qsizetype>(count), '\0');
        int64_t done = 0;
        while (done < count) {
            const ssize_t r = ::pread(fd_, out.data() + done, static_cast<size_t>(count - done), offset + done);
            if (r < 0) {
                if (errno == EINTR) continue;
                fail(errno);
            }
            if (r == 0) plat::ThrowRuntimeError(plat::ErrInputPastEnd, path_);  // shrank meanwhile
            done += r;
        }
        return out;
    }

private:
    [[noreturn]] void fail(int err) {
        ::close(fd_);
        fd_ = -1;
        plat::ThrowFileError(err, path_);
    }
    QString path_;
    int fd_ = -1;
    int64_t size_ = 0;
};

} // namespace

void FailNextReadsWith(int err, int times) {
    gFailErr = err;
    gFailTimes = times;
}

QByteArray ReadFileBytes(const QString& path, int64_t offset, int64_t count) {
    OpenFile f(path);
    return f.read(offset, count);
}

QByteArray ReadWholeFile(const QString& path, int64_t maxBytes) {
    OpenFile f(path);
    if (f.size() > maxBytes) plat::ThrowRuntimeError(plat::ErrOutOfMemory, path);
    return f.read(0, f.size());
}

} // namespace cruise
