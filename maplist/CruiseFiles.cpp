#include "CruiseFiles.h"

#include "AppError.h"
#include "FileOps.h"

namespace cruise {

namespace {

int gFailErr = 0;
int gFailTimes = 0;

void failIfAsked(const QString& path) {
    if (gFailTimes > 0) {
        --gFailTimes;
        plat::ThrowReadError(gFailErr, plat::ResolveFileName(path));
    }
}

} // namespace

void FailNextReadsWith(int err, int times) {
    gFailErr = err;
    gFailTimes = times;
}

QByteArray ReadFileBytes(const QString& path, int64_t offset, int64_t count) {
    failIfAsked(path);
    plat::ReadOnlyFile f(path);
    if (offset < 0 || count < 0 || offset > f.size() || count > f.size() - offset)
        plat::ThrowRuntimeError(plat::ErrInputPastEnd, f.path());
    return f.readAt(offset, count);
}

QByteArray ReadWholeFile(const QString& path, int64_t maxBytes) {
    failIfAsked(path);
    plat::ReadOnlyFile f(path);
    return f.readAll(maxBytes);
}

} // namespace cruise
