// The one exception type of the program: an error number, the chain of
// places it passed (source) and the chain of comments (description).
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include <QString>

namespace plat {

class AppError : public std::exception {
public:
    AppError() = default;
    AppError(int32_t number, QString source, QString description)
        : number_(number), source_(std::move(source)), description_(std::move(description)) {}

    int32_t number() const { return number_; }
    const QString& source() const { return source_; }
    const QString& description() const { return description_; }
    void setNumber(int32_t n) { number_ = n; }
    void setSource(const QString& s) { source_ = s; }
    void setDescription(const QString& d) { description_ = d; }
    // A read that was denied: its number, 70, names a denied write, so the
    // file-error box needs telling which it was.
    bool readDenied() const { return readDenied_; }
    void setReadDenied(bool v) { readDenied_ = v; }

    const char* what() const noexcept override;

private:
    int32_t number_ = 0;
    QString source_;
    QString description_;
    bool readDenied_ = false;
    mutable std::string what_;
};

// Well-known run-time error numbers.
enum RuntimeError : int32_t {
    ErrInvalidCall = 5,
    ErrOverflow = 6,
    ErrOutOfMemory = 7,
    ErrSubscript = 9,
    ErrDivByZero = 11,
    ErrTypeMismatch = 13,
    ErrInternal = 51,
    ErrBadFileName = 52,
    ErrFileNotFound = 53,
    ErrBadFileMode = 54,
    ErrFileAlreadyOpen = 55,
    ErrDeviceIO = 57,
    ErrFileExists = 58,
    ErrBadRecordLength = 59,
    ErrDiskFull = 61,
    ErrInputPastEnd = 62,
    ErrBadRecordNumber = 63,
    ErrBadFileName2 = 64,
    ErrTooManyFiles = 67,
    ErrDeviceUnavailable = 68,
    ErrPermissionDenied = 70,
    ErrDiskNotReady = 71,
    ErrRenameAcrossDrives = 74,
    ErrPathFileAccess = 75,
    ErrPathNotFound = 76,
};

// The run time's own description of an error number (Japanese).
QString RuntimeErrorText(int32_t number);

// An AppError with the run time's description and the application as source.
AppError MakeRuntimeError(int32_t number, const QString& detail = QString());
[[noreturn]] void ThrowRuntimeError(int32_t number, const QString& detail = QString());

// The error being handled, read inside a catch block: an AppError as it is,
// anything else converted (bad_alloc to 7, other exceptions to 51).
AppError CurrentError();

} // namespace plat
