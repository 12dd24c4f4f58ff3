#include "AppError.h"

#include "AppInfo.h"

#include <new>

namespace plat {

const char* AppError::what() const noexcept {
    try {
        what_ = QStringLiteral("[%1] %2 (%3)").arg(number_).arg(description_, source_).toStdString();
    } catch (...) {
        return "AppError";
    }
    return what_.c_str();
}

QString RuntimeErrorText(int32_t number) {
    switch (number) {
    case 3: return QStringLiteral("GoSub なしで Return が実行されました。");
    case ErrInvalidCall: return QStringLiteral("プロシージャの呼び出し、または引数が不正です。");
    case ErrOverflow: return QStringLiteral("オーバーフローしました。");
    case ErrOutOfMemory: return QStringLiteral("メモリが不足しています。");
    case ErrSubscript: return QStringLiteral("インデックスが有効範囲にありません。");
    case ErrDivByZero: return QStringLiteral("0 で除算しました。");
    case ErrTypeMismatch: return QStringLiteral("型が一致しません。");
    case ErrInternal: return QStringLiteral("内部エラーです。");
    case ErrBadFileName: return QStringLiteral("ファイル名または番号が不正です。");
    case ErrFileNotFound: return QStringLiteral("ファイルが見つかりません。");
    case ErrBadFileMode: return QStringLiteral("ファイル モードが不正です。");
    case ErrFileAlreadyOpen: return QStringLiteral("ファイルは既に開かれています。");
    case ErrDeviceIO: return QStringLiteral("デバイス I/O エラーです。");
    case ErrFileExists: return QStringLiteral("既に同名のファイルが存在しています。");
    case ErrBadRecordLength: return QStringLiteral("レコード長が一致しません。");
    case ErrDiskFull: return QStringLiteral("ディスクの空き容量が不足しています。");
    case ErrInputPastEnd: return QStringLiteral("ファイルにこれ以上データがありません。");
    case ErrBadRecordNumber: return QStringLiteral("レコード番号が不正です。");
    case ErrBadFileName2: return QStringLiteral("ファイル名が不正です。");
    case ErrTooManyFiles: return QStringLiteral("開いているファイルが多すぎます。");
    case ErrDeviceUnavailable: return QStringLiteral("デバイスが準備されていません。");
    case ErrPermissionDenied: return QStringLiteral("書き込みできません。");
    case ErrDiskNotReady: return QStringLiteral("ディスクが準備されていません。");
    case ErrRenameAcrossDrives: return QStringLiteral("別のドライブを指定して名前を変更することはできません。");
    case ErrPathFileAccess: return QStringLiteral("パス名が無効です。");
    case ErrPathNotFound: return QStringLiteral("パスが見つかりません。");
    default: return QStringLiteral("アプリケーション定義またはオブジェクト定義のエラーです。");
    }
}

AppError MakeRuntimeError(int32_t number, const QString& detail) {
    QString d = RuntimeErrorText(number);
    if (!detail.isEmpty()) d += QStringLiteral(" ") + detail;
    return AppError(number, AppTitle(), d);
}

void ThrowRuntimeError(int32_t number, const QString& detail) { throw MakeRuntimeError(number, detail); }

AppError CurrentError() {
    std::exception_ptr p = std::current_exception();
    if (!p) return AppError();
    try {
        std::rethrow_exception(p);
    } catch (const AppError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return MakeRuntimeError(ErrOutOfMemory);
    } catch (const std::exception& e) {
        return AppError(ErrInternal, AppTitle(), RuntimeErrorText(ErrInternal) + QStringLiteral(" ") + QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return MakeRuntimeError(ErrInternal);
    }
}

} // namespace plat
