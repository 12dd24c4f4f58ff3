#include "StartupChecks.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>

#include "AppInfo.h"
#include "FileOps.h"
#include "TextFile.h"
#include "basLibrary.h"

QString MissingHelpMessage() {
    const QString help = plat::AppHelpFile();
    if (QFile::exists(help)) return QString();
    return QStringLiteral("ヘルプファイル ") + help + QStringLiteral(" が見つかりません.");
}

bool ShiftJisWorks() {
    const QString probe = QStringLiteral("日本語の地図ｶﾅ");
    const QByteArray bytes = plat::EncodeCp932(probe);
    return bytes.size() == 14 && plat::DecodeCp932(bytes) == probe;
}

QStringList MissingRuntimeParts() {
    QStringList missing;
    if (QGuiApplication::platformName().isEmpty()) missing << QStringLiteral("Qt platform plugin");
    // Traced pictures come as BMP, GIF, JPEG and PNG; the canvas writes BMP and PNG.
    const QList<QByteArray> readable = QImageReader::supportedImageFormats();
    for (const char* format : {"bmp", "gif", "jpeg", "png"})
        if (!readable.contains(format)) missing << QStringLiteral("Qt image format plugin (%1)").arg(QLatin1String(format));
    const QList<QByteArray> writable = QImageWriter::supportedImageFormats();
    for (const char* format : {"bmp", "png"})
        if (!writable.contains(format)) missing << QStringLiteral("Qt image writer (%1)").arg(QLatin1String(format));
    if (!ShiftJisWorks()) missing << QStringLiteral("Shift-JIS converter");
    if (QFontDatabase::families(QFontDatabase::Japanese).isEmpty()) missing << QStringLiteral("Japanese font");
    return missing;
}

void WriteRuntimeReport(const QString& folder, const QStringList& missing) {
    if (missing.isEmpty()) return;
    QStringList lines{QStringLiteral("次のランタイムファイルが見つかりませんでした."),
                      QStringLiteral("作者サイトより「ランタイムセット」を入手してください.")};
    lines += missing;
    // A report that cannot be written must not keep the program from starting.
    try {
        plat::WriteFileAtomic(JoinPath(folder, QStringLiteral("Runtime.txt")),
                                  plat::EncodeCp932Lossy(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    } catch (...) {
    }
}
