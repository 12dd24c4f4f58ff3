#include <gtest/gtest.h>

#include <QDir>

#include "AppInfo.h"
#include "Clock.h"
#include "ErrorMng.h"
#include "MessageBox.h"
#include "TestSupport.h"
#include "TextFile.h"

using plat::AppError;

namespace {

// Three levels of the chain: the innermost fails, each passes it on.
void inner() {
    try {
        plat::ThrowRuntimeError(plat::ErrTypeMismatch);
    } catch (...) {
        RaiseError(ErrLibrary, "basLibrary", "StrToMeter");
    }
}
void middle() {
    try {
        inner();
    } catch (...) {
        RaiseError(ErrGeneral, "clsMap", "Load", "file=x.MLL");
    }
}
void outer() {
    try {
        middle();
    } catch (...) {
        RaiseError(ErrGeneral, "frmMain", "LoadFile");
    }
}

AppError caught(const std::function<void()>& f) {
    try {
        f();
    } catch (const AppError& e) {
        return e;
    }
    return AppError();
}

} // namespace

TEST(ErrorChain, CollectsOneStepPerLevelOutermostFirst) {
    AppError e = caught(outer);
    EXPECT_EQ(e.number(), plat::ErrTypeMismatch);   // a running error keeps its number
    EXPECT_EQ(e.source(), QStringLiteral("frmMain.LoadFile/clsMap.Load/basLibrary.StrToMeter/KALDERO"));
    EXPECT_EQ(e.description(), QStringLiteral("file=x.MLL/") + plat::RuntimeErrorText(plat::ErrTypeMismatch));
}

TEST(ErrorChain, ErrorWithoutNumberTakesTheObjectsNumber) {
    AppError e;
    AppendErrorSource(e, ErrRegistry, "clsRegistry", "RegPut", "key=A");
    EXPECT_EQ(e.number(), ErrRegistry);
    EXPECT_EQ(e.source(), QStringLiteral("clsRegistry.RegPut/"));
    EXPECT_EQ(e.description(), QStringLiteral("key=A/"));
}

TEST(ErrorChain, ForeignExceptionsBecomeErrors) {
    AppError e = caught([] {
        try {
            throw std::runtime_error("boom");
        } catch (...) {
            RaiseError(ErrGeneral, "clsX", "Run");
        }
    });
    EXPECT_EQ(e.number(), plat::ErrInternal);
    EXPECT_TRUE(e.description().contains("boom"));
}

TEST(FileErrorBox, EveryNumberFrom52To76) {
    struct Row { int n; bool retry; const char* text; };
    const Row rows[] = {
        {52, false, "ファイル名もしくは番号が不正です."}, {53, true, "ファイルが存在しません.もしくはアクセス権がありません."},
        {54, false, "ファイルモードが不正です."}, {55, false, "ファイルはすでに開かれています."},
        {56, false, "不明なドライブ関連エラーです."}, {57, true, "内部ドライブエラーが発生しました."},
        {58, false, "すでに同名のファイルが存在しています."}, {59, false, "レコード長が一致しません."},
        {60, false, "不明なドライブ関連エラーです."}, {61, true, "ドライブが満杯です."},
        {62, false, "ファイルにこれ以上データがありません."}, {63, false, "レコード番号が不正です."},
        {64, false, "ファイル名が不正です."}, {65, false, "不明なドライブ関連エラーです."},
        {66, false, "不明なドライブ関連エラーです."}, {67, false, "ファイルが多すぎます."},
        {68, true, "デバイスが準備されていません."}, {69, false, "不明なドライブ関連エラーです."},
        {70, true, "書込みが禁止されています.もしくはアクセス権がありません."},
        {71, true, "ディスクをドライブに挿入してください."}, {72, false, "不明なドライブ関連エラーです."},
        {73, false, "不明なドライブ関連エラーです."}, {74, false, "ドライブ名は変更できません."},
        {75, false, "パス名が無効です.もしくはアクセス権がありません."},
        {76, true, "パスが見つかりません.もしくはアクセス権がありません."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.n);
        AppError e(r.n, "clsMap.Load/KALDERO", "desc");
        EXPECT_TRUE(IsFileError(e));
        const int answers[] = {plat::IdYes, plat::IdNo, plat::IdCancel};
        const int expected[] = {0, 1, 2};
        for (int k = 0; k < (r.retry ? 3 : 1); ++k) {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(QString::fromUtf8(r.text), r.retry ? answers[k] : plat::IdOk);
            int got = ShowFileError(e, "C:/maps/x.MLL");
            EXPECT_EQ(got, r.retry ? expected[k] : 1);
            ASSERT_EQ(boxes.shown().size(), 1u);
            const auto& box = boxes.shown()[0];
            EXPECT_EQ(box.title, QStringLiteral("ドライブ関連エラー"));
            EXPECT_EQ(box.buttons(), r.retry ? plat::MbYesNoCancel : plat::MbOkOnly);
            EXPECT_EQ(box.icon(), plat::MbExclamation);
            QString want = QString::fromUtf8(r.text) + QStringLiteral("\r\n*Code=%1\r\n*Source=clsMap.Load/KALDERO\r\n*Description=desc\r\n*File=C:/maps/x.MLL").arg(r.n);
            if (r.retry) want += QStringLiteral("\r\n再試行しますか？");
            EXPECT_EQ(box.text, want);
        }
    }
}

TEST(FileErrorBox, OtherErrorsAnswerThreeWhateverIsPressed) {
    testsupport::ScriptedBoxes boxes;
    boxes.expect("*Code=9", plat::IdOk).expect("*Code=-2147211505", plat::IdOk);
    EXPECT_EQ(ShowFileError(AppError(9, "s", "d"), QString()), 3);
    EXPECT_TRUE(boxes.shown()[0].text.startsWith("\r\n*Code=9"));
    EXPECT_EQ(boxes.shown()[0].title, QStringLiteral("その他エラー"));
    EXPECT_FALSE(boxes.shown()[0].text.contains("*File="));
    EXPECT_EQ(ShowFileError(AppError(ErrWarning, "s", "d"), QString()), 3);
    EXPECT_EQ(boxes.shown()[1].title, QStringLiteral("警告"));
}

TEST(FileErrorBox, SilentDuringTheFatalStop) {
    gvFatalStop = true;
    EXPECT_EQ(ShowFileError(AppError(53, "s", "d"), "x"), 1);
    gvFatalStop = false;
}

TEST(FileErrorBox, RetryRunsTheOperationAgain) {
    testsupport::ScriptedBoxes boxes;
    boxes.expect("ドライブが満杯です.", plat::IdYes);
    int calls = 0;
    int r = WithFileRetry([&] {
        if (++calls == 1) plat::ThrowRuntimeError(plat::ErrDiskFull);
    }, "f");
    EXPECT_EQ(r, 0);
    EXPECT_EQ(calls, 2);
}

TEST(FatalReport, CodeLineAndLayout) {
    const QString t = FatalReportText(AppError(ErrRegistry, "clsRegistry.RegPut/KALDERO", "key=A/x"), "by StopError", "/p/ErrorStop1.TXT");
    EXPECT_EQ(t, QStringLiteral("*Code=1005 (KALDERO ERROR CODE)\r\n*Source=\r\nclsRegistry.RegPut/KALDERO\r\n*Description=key=A/x\r\n"
                                "*Comment=by StopError\r\n*Error Report File=\r\n/p/ErrorStop1.TXT"));
    const QString t13 = FatalReportText(AppError(13, "s", "d"), "", "f");
    EXPECT_TRUE(t13.startsWith("*Code=13 ")) << t13.toStdString();
    EXPECT_FALSE(t13.contains("KALDERO ERROR CODE"));
    // A missing component adds the hint about the runtime files.
    EXPECT_GT(FatalReportText(AppError(ErrFormLoad, "s", "d"), "", "f").count("\r\n"), 7);
    EXPECT_GT(FatalReportText(AppError(5, "s", "コンポーネントがありません"), "", "f").count("\r\n"), 7);
}

TEST(FatalStop, ReportsWritesFileRunsShutdownAndEnds) {
    testsupport::TempDir dir;
    plat::SetAppPath(dir.path());
    plat::FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(9, 5, 7)));
    plat::Clock* oldClock = plat::SetClock(&clock);
    std::vector<std::string> order;
    SetWindupHook([&] {
        EXPECT_TRUE(gvFatalStop);
        order.push_back("windup");
    });
    SetProgramEndHook([&] { order.push_back("end"); });
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect("*Code=1001", plat::IdOk);
        StopOnFatalError(AppError(ErrGeneral, "frmMain.Form_Load/", "d"), "by StopError");
        EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("続行不可能なエラー."));
        EXPECT_EQ(boxes.shown().at(0).icon(), plat::MbCritical);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"windup", "end"}));
    EXPECT_FALSE(gvFatalStop);
    const QString file = dir.file("ErrorStop20261206090507.TXT");
    ASSERT_TRUE(QFile::exists(file));
    const QStringList lines = plat::ReadTextLines(file);
    EXPECT_EQ(lines.first(), QStringLiteral("*Code=1001 (KALDERO ERROR CODE)"));
    EXPECT_EQ(lines.last(), file);
    SetWindupHook(nullptr);
    SetProgramEndHook(nullptr);
    plat::SetClock(oldClock);
    plat::SetAppPath(QString());
}

TEST(FatalStop, UnwritableFolderStillShowsTheReport) {
    plat::SetAppPath("/proc/no/such/folder");
    SetProgramEndHook([] {});
    testsupport::ScriptedBoxes boxes;
    boxes.expect("*Code=", plat::IdOk);
    StopOnFatalError(AppError(7, "s", "d"), "c");
    SetProgramEndHook(nullptr);
    plat::SetAppPath(QString());
}
