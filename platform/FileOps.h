// File access of the program: names given with "\" or "/", resolved without
// regard to case, errors reported as the run time's file-error numbers
// (52..76), and every replacing write done atomically.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

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
// The same for a failed read: a denied read says the file cannot be read
// (the number stays 70).
[[noreturn]] void ThrowReadError(int err, const QString& path);

bool PathExists(const QString& path);   // after resolution; false on any error
bool IsDirectory(const QString& path);
bool IsWritableFile(const QString& path);
bool IsReadOnlyAttr(const QString& path);  // exists and has no write permission bit

// No reader takes more of any file than this.
constexpr int64_t kMaxReadBytes = int64_t(1) << 30;

// A file opened for reading as hostile input: opened without blocking (a
// named pipe never hangs the program), and refused with error 75 unless it is
// a regular file (a pipe, a device such as /dev/zero, a folder), also
// through a symbolic link. Reads stop at the cap whatever the size said (a
// file of the kernel's own reads as size 0 and may hold more).
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const QString& path);   // resolved without regard to case
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    const QString& path() const { return path_; }
    int64_t size() const { return size_; }        // as the file said when opened
    // Up to n bytes from the current position; 0 at the end.
    size_t read(char* buffer, size_t n);
    void rewind();
    // Exactly count bytes from offset; error 62 when the file ends before.
    QByteArray readAt(int64_t offset, int64_t count);
    // The rest of the file; error 7 (out of memory) when it holds more than
    // maxBytes, whatever its size said.
    QByteArray readAll(int64_t maxBytes = kMaxReadBytes);

    // Test hook: the next opening fails with this errno (0 = off).
    static void FailNextOpenWith(int err);
    // Test hook: the next read that reaches offset gets the bytes before it,
    // the one after fails with this errno (0 = off).
    static void FailReadAt(int64_t offset, int err);

private:
    QString path_;
    int fd_ = -1;
    int64_t size_ = 0;
};

// Whole-file read through ReadOnlyFile; throws the file-error number, 7
// beyond maxBytes.
QByteArray ReadAllBytes(const QString& path, int64_t maxBytes = kMaxReadBytes);

// The lines of a file, read in blocks: memory holds one line at a time.
// CR LF, CR and LF end a line (as SplitTextLines); a last line without an end
// counts. `line` returns false to stop. Error 7 past maxBytes.
void ForEachFileLine(ReadOnlyFile& file, int64_t maxBytes, const std::function<bool(QByteArrayView)>& line);
// The same over bytes in memory.
void ForEachLine(QByteArrayView bytes, const std::function<bool(QByteArrayView)>& line);

// Writes a temporary file in the target's folder and renames it over the
// target, so the target is either the old or the complete new file. A target
// that exists but may not be written gives 70 (the read-only attribute). A
// target that is a symbolic link is not replaced: the file it leads to is
// written (in that file's folder), so the link keeps working.
//
// The temporary (".NAME.tmpXXXXXX") is locked (flock) from its creation
// until it is renamed or removed. A save first removes the temporaries of
// its target that no process holds locked (those of saves killed midway),
// and those of other targets of the folder that are also older than
// kStaleTemporaryAge: a killed save's leftover goes at the next save there.
void WriteFileAtomic(const QString& path, const QByteArray& bytes);

constexpr int kStaleTemporaryAge = 60;   // seconds

// Removes every temporary of the folder that no live save holds and that is
// at least minAgeSeconds old (by its last change).
void RemoveStaleTemporaries(const QString& folder, int minAgeSeconds = 0);

// The file a write of path reaches: path itself, or for a symbolic link (or
// a chain of them) the path it leads to, existing or not.
QString WriteTargetOf(const QString& path);

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

// What tells one version of a file from another: a reader may remember what
// it made of a file until the file changes. Nothing when it does not exist.
struct FileStamp {
    uint64_t device = 0, inode = 0;
    int64_t size = 0, modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> FileStampOf(const QString& path);

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
