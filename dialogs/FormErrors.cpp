#include "FormErrors.h"

#include "ErrorMng.h"

void RunHandler(const QString& formName, const QString& procName, const std::function<void()>& handler) {
    try {
        handler();
    } catch (...) {
        AppError e = plat::CurrentError();
        AppendErrorSource(e, ErrFormUnload, formName, procName, QString());
        StopOnFatalError(e, QStringLiteral("by StopError"));
    }
}
