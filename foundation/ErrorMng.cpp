#include "ErrorMng.h"

#include "AppInfo.h"
#include "MessageBox.h"
#include "ResString.h"
#include "TextFile.h"
#include "basFileNames.h"
#include "basLibrary.h"

#include <cstdlib>

bool gvFatalStop = false;

namespace {

std::function<void()>& windupHook() {
    static std::function<void()> h;
    return h;
}

std::function<void()>& endHook() {
    static std::function<void()> h;
    return h;
}

const QString kReadDenied = QStringLiteral("読み取りが禁止されています.もしくはアクセス権がありません.");

// File errors whose cause can go away: the box offers to retry them.
bool offersRetry(int32_t n) {
    switch (n) {
    case 53: case 57: case 61: case 68: case 70: case 71: case 76: return true;
    default: return false;
    }
}

bool hasOwnText(int32_t n) {
    switch (n) {
    case 52: case 53: case 54: case 55: case 57: case 58: case 59: case 61: case 62: case 63: case 64:
    case 67: case 68: case 70: case 71: case 74: case 75: case 76: return true;
    default: return false;
    }
}

} // namespace

bool IsFileError(const AppError& e) { return InRange(e.number(), 52, 76); }

bool IsFileError() { return IsFileError(plat::CurrentError()); }

void AppendErrorSource(AppError& e, int32_t number, const QString& objectName, const QString& procedureName,
                       const QString& comment) {
    e.setSource(objectName + QLatin1Char('.') + procedureName + QLatin1Char('/') + e.source());
    if (!comment.isEmpty()) e.setDescription(comment + QLatin1Char('/') + e.description());
    if (e.number() == 0) e.setNumber(number);
}

void RaiseError(AppError e, int32_t number, const QString& objectName, const QString& procedureName,
                const QString& comment) {
    AppendErrorSource(e, number, objectName, procedureName, comment);
    throw e;
}

void RaiseError(int32_t number, const QString& objectName, const QString& procedureName, const QString& comment) {
    RaiseError(plat::CurrentError(), number, objectName, procedureName, comment);
}

QString FatalReportFileName() {
    return plat::AppPath() + QStringLiteral("/ErrorStop") + DateTimeStamp(QString()) + QStringLiteral(".TXT");
}

QString FatalReportText(const AppError& e, const QString& comment, const QString& reportFile) {
    const int32_t n = e.number();
    // 32-bit wrap-around, as the report's code arithmetic is defined.
    const int32_t diff = static_cast<int32_t>(static_cast<uint32_t>(n) - 0x80040000u);
    QString code;
    if (diff >= 1000 && diff <= 2000) {
        code = QString::number(diff) + QStringLiteral(" (KALDERO ERROR CODE)");
    } else {
        code = QString::number(n) + QStringLiteral(" (RUNTIME ERROR CODE)");
    }
    QStringList lines;
    lines << QStringLiteral("*Code=") + code << QStringLiteral("*Source=") << e.source()
          << QStringLiteral("*Description=") + e.description() << QStringLiteral("*Comment=") + comment
          << QStringLiteral("*Error Report File=") << reportFile;
    QString text = lines.join(QStringLiteral("\r\n"));
    if (e.description().contains(QStringLiteral("コンポーネント"), Qt::CaseInsensitive) || n == ErrFormLoad) {
        text += QStringLiteral("\r\n\r\n");
        text += QStringLiteral("必要なランタイムファイル一式を作者のウェブサイトから入手してインストールしてください.");
        text += QStringLiteral("\r\n") + GetAuthorURLruntime();
    }
    return text;
}

void ReportFatalError(const AppError& e, const QString& comment) {
    const QString file = FatalReportFileName();
    const QString text = FatalReportText(e, comment, file);
    plat::MsgBox(text, plat::MbCritical | plat::MbOkOnly, QStringLiteral("続行不可能なエラー."));
    try {
        plat::TextWriter w(file);
        w.print(text);
        w.commit();
    } catch (...) {
        // The user has seen the report; a folder we cannot write just gets no file.
    }
}

void SetWindupHook(std::function<void()> hook) { windupHook() = std::move(hook); }

void SetProgramEndHook(std::function<void()> hook) { endHook() = std::move(hook); }

namespace {
AppError& fatalStopError() {
    static AppError e;
    return e;
}
} // namespace

const AppError& FatalStopError() { return fatalStopError(); }

void StopOnFatalError(const AppError& e, const QString& comment) {
    gvFatalStop = true;
    fatalStopError() = e;
    try {
        ReportFatalError(e, comment);
    } catch (...) {
    }
    try {
        if (windupHook()) windupHook()();
    } catch (...) {
    }
    gvFatalStop = false;
    if (endHook()) {
        endHook()();
        return;
    }
    std::exit(EXIT_FAILURE);
}

void StopOnFatalError(const QString& comment) { StopOnFatalError(plat::CurrentError(), comment); }

void RunHandler(const QString& formName, const QString& procName, const std::function<void()>& handler) {
    try {
        handler();
    } catch (...) {
        AppError e = plat::CurrentError();
        AppendErrorSource(e, ErrFormUnload, formName, procName, QString());
        StopOnFatalError(e, QStringLiteral("by StopError"));
    }
}

int ShowFileError(const AppError& e, const QString& fileName) {
    if (gvFatalStop) return 1;
    int result = 0;
    QString title = QStringLiteral("ドライブ関連エラー");
    int buttons = plat::MbOkOnly;
    QString text;
    const int32_t n = e.number();
    if (hasOwnText(n)) {
        // 70 is the number of both denials; the text of its own speaks of writing.
        text = n == plat::ErrPermissionDenied && e.readDenied() ? kReadDenied : plat::LoadResString(6000 + n);
        if (offersRetry(n)) buttons = plat::MbYesNoCancel;
    } else if (InRange(n, 52, 76)) {
        text = plat::LoadResString(6000);
    } else {
        title = n == ErrWarning ? QStringLiteral("警告") : QStringLiteral("その他エラー");
        result = 3;
    }
    text += QStringLiteral("\r\n*Code=") + QString::number(n) + QStringLiteral("\r\n*Source=") + e.source() +
            QStringLiteral("\r\n*Description=") + e.description();
    if (!fileName.isEmpty()) text += QStringLiteral("\r\n*File=") + fileName;
    if (buttons == plat::MbYesNoCancel) text += QStringLiteral("\r\n再試行しますか？");
    int answer = plat::MsgBox(text, buttons | plat::MbExclamation, title);
    if (result == 3) return 3;
    switch (answer) {
    case plat::IdYes:
    case plat::IdRetry: return 0;
    case plat::IdOk:
    case plat::IdNo:
    case plat::IdIgnore: return 1;
    case plat::IdCancel:
    case plat::IdAbort: return 2;
    default: return 3;
    }
}

int ShowFileError(const QString& fileName) { return ShowFileError(plat::CurrentError(), fileName); }

int WithFileRetry(const std::function<void()>& op, const QString& fileName, AppError* err) {
    for (;;) {
        try {
            op();
            return 0;
        } catch (...) {
            AppError e = plat::CurrentError();
            int r = ShowFileError(e, fileName);
            if (r == 0) continue;
            if (err) *err = e;
            return r;
        }
    }
}
