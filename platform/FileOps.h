// File access of the program: names given with "\" or "/", resolved without
// regard to case, errors reported as the run time's file-error numbers
// (52..76), and every replacing write done atomically.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace plat {

// "\" becomes "/" (stored names come from files written on other systems).
QString NativePath(const QString& path);

// The path of an existing file or folder whose name equals path but for case,
// component by component; path itself (with "/") when it exists as written or
// nothing matches.
QString ResolveFileName(const QString& path);

// A run-time file-error number for an errno value: 53 not found (76 when the
// folder is missing), 70 permission denied, 61 disk full, 57 I/O error ...
int32_t FileErrorFromErrno(int err, bool folderMissing = false);
[[noreturn]] void ThrowFileError(int err, const QString& path);

bool PathExists(const QString& path);   // after resolution; false on any error
bool IsDirectory(const QString& path);
bool IsWritableFile(const QString& path);
bool IsReadOnlyAttr(const QString& path);  // exists and has no write permission bit

// Whole-file read; throws the file-error number.
QByteArray ReadAllBytes(const QString& path);

// Writes a temporary file in the target's folder and renames it over the
// target, so the target is either the old or the complete new file. A target
// that exists but may not be written gives 70 (the read-only attribute).
//
// The temporary (".NAME.tmpXXXXXX") is locked (flock) from its creation
// until it is renamed or removed. A save first removes the temporaries of
// its target that no process holds locked: those of saves killed midway.
void WriteFileAtomic(const QString& path, const QByteArray& bytes);

// Removes every temporary of the folder that no live save holds; for a
// folder the program starts to work in.
void RemoveStaleTemporaries(const QString& folder);

// Streaming form of WriteFileAtomic, for large files.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const QString& path);
    ~AtomicFileWriter();                       // removes the temporary unless committed
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(const char* data, size_t n);
    void write(const QByteArray& b) { write(b.constData(), static_cast<size_t>(b.size())); }
    void commit();
    int64_t bytesWritten() const { return written_; }
    const QString& path() const { return path_; }

    // Test hook: make the next write fail with this errno (0 = off).
    static void FailNextWriteWith(int err);

private:
    void flushBuffer();
    QString path_;
    QByteArray tmpPath_;
    int fd_ = -1;
    bool committed_ = false;
    int64_t written_ = 0;
    std::string buf_;
};

// Copies a file (used for backups); throws the file-error number.
void CopyFileReplacing(const QString& from, const QString& to);
// Gives the file's current content a second name (a backup that a later
// atomic replace of `from` leaves alone): a hard link where the file system
// allows one, else a copy. An existing `to` is replaced. Throws the
// file-error number.
void LinkOrCopyFile(const QString& from, const QString& to);
// Renames; throws the file-error number.
void RenameFile(const QString& from, const QString& to);
// Deletes; a missing file is not an error.
void RemoveFile(const QString& path);

} // namespace plat
