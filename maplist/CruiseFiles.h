// Bounded reads of the two read-only data files of the cruise engine, and
// the signal that the user cancelled an operation in a file-error box.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <exception>

namespace cruise {

// `count` bytes from `offset` of the file (name resolved without regard to
// case). Throws the run time's file errors: 53 missing, 70 denied, ... and
// 62 when the file ends before offset + count.
QByteArray ReadFileBytes(const QString& path, int64_t offset, int64_t count);

// The whole file; error 7 (out of memory) when it holds more than maxBytes,
// else the errors of ReadFileBytes.
QByteArray ReadWholeFile(const QString& path, int64_t maxBytes);

// Test hook: the next `times` reads (ReadFileBytes, ReadWholeFile) fail with
// this errno.
void FailNextReadsWith(int err, int times = 1);

// Thrown inside the engine when the user answers Cancel in a file-error box:
// the operation under way ends without further messages.
class Cancelled : public std::exception {
public:
    const char* what() const noexcept override { return "cancelled"; }
};

} // namespace cruise
