#include <gtest/gtest.h>

#include <cerrno>

#include "AppInfo.h"
#include "Clock.h"
#include "ErrorMng.h"
#include "FileOps.h"
#include "MessageBox.h"
#include "TestSupport.h"
#include "TextFile.h"

TEST(ErrorChain, OneStepPerLevelOutermostFirst) {
    auto level = [](const std::function<void()>& inner, const char* object, const char* procedure, const char* comment) {
        try {
            inner();
        } catch (...) {
            RaiseError(ErrGeneral, object, procedure, comment);
        }
    };
    try {
        level([&] { level([] { throw std::runtime_error("boom"); }, "clsMap", "Load", "file=x.MLL"); }, "frmMain",
              "LoadFile", "");
        ADD_FAILURE() << "no error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), plat::ErrInternal);   // a foreign exception becomes an error
        EXPECT_EQ(e.source(), QStringLiteral("frmMain.LoadFile/clsMap.Load/KALDERO"));
        EXPECT_TRUE(e.description().startsWith(QStringLiteral("file=x.MLL/"))) << e.description().toStdString();
        EXPECT_TRUE(e.description().contains("boom"));
    }
    AppError e(plat::ErrTypeMismatch, "s/", "d");
    AppendErrorSource(e, ErrRegistry, "clsRegistry", "RegPut", "key=A");
    EXPECT_EQ(e.number(), plat::ErrTypeMismatch);   // a running error keeps its number
    AppError none;
    AppendErrorSource(none, ErrRegistry, "clsRegistry", "RegPut", "key=A");
    EXPECT_EQ(none.number(), ErrRegistry);
    EXPECT_EQ(none.source(), QStringLiteral("clsRegistry.RegPut/"));
    EXPECT_EQ(none.description(), QStringLiteral("key=A/"));
}

TEST(FileErrorBox, AnswersTitlesAndTexts) {
    struct Row { int n; bool retry; const char* text; };
    const Row rows[] = {
        {52, false, "ファイル名もしくは番号が不正です."}, {60, false, "不明なドライブ関連エラーです."},
        {76, true, "パスが見つかりません.もしくはアクセス権がありません."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.n);
        const int answers[] = {plat::IdYes, plat::IdNo, plat::IdCancel};
        for (int k = 0; k < (r.retry ? 3 : 1); ++k) {
            testsupport::ScriptedBoxes boxes;
            boxes.expect(QString::fromUtf8(r.text), r.retry ? answers[k] : plat::IdOk);
            EXPECT_EQ(ShowFileError(AppError(r.n, "clsMap.Load/KALDERO", "desc"), "C:/maps/x.MLL"), r.retry ? k : 1);
            const auto& box = boxes.shown().at(0);
            EXPECT_EQ(box.title, QStringLiteral("ドライブ関連エラー"));
            EXPECT_EQ(box.buttons(), r.retry ? plat::MbYesNoCancel : plat::MbOkOnly);
            EXPECT_EQ(box.icon(), plat::MbExclamation);
            EXPECT_EQ(box.text, QString::fromUtf8(r.text) +
                                    QStringLiteral("\r\n*Code=%1\r\n*Source=clsMap.Load/KALDERO\r\n*Description=desc\r\n"
                                                   "*File=C:/maps/x.MLL").arg(r.n) +
                                    (r.retry ? QStringLiteral("\r\n再試行しますか？") : QString()));
        }
    }
    {
        // 70 for a read and for a write: the headline says which was denied.
        testsupport::ScriptedBoxes boxes;
        boxes.expect("読み取りが禁止されています.もしくはアクセス権がありません.", plat::IdNo)
            .expect("書込みが禁止されています.もしくはアクセス権がありません.", plat::IdNo);
        plat::ReadOnlyFile::FailNextOpenWith(EACCES);
        EXPECT_EQ(WithFileRetry([] { plat::ReadAllBytes("x.txt"); }, "x.txt"), 1);
        EXPECT_EQ(ShowFileError(plat::MakeRuntimeError(plat::ErrPermissionDenied), "y.txt"), 1);
    }
    testsupport::ScriptedBoxes boxes;
    boxes.expect("*Code=9", plat::IdOk).expect("*Code=-2147211505", plat::IdOk).expect("ドライブが満杯です.", plat::IdYes);
    EXPECT_EQ(ShowFileError(AppError(9, "s", "d"), QString()), 3);
    EXPECT_EQ(boxes.shown()[0].title, QStringLiteral("その他エラー"));
    EXPECT_EQ(ShowFileError(AppError(ErrWarning, "s", "d"), QString()), 3);
    EXPECT_EQ(boxes.shown()[1].title, QStringLiteral("警告"));
    int calls = 0;   // retry runs the operation again
    EXPECT_EQ(WithFileRetry([&] { if (++calls == 1) plat::ThrowRuntimeError(plat::ErrDiskFull); }, "f"), 0);
    EXPECT_EQ(calls, 2);
    gvFatalStop = true;   // silent during the fatal stop
    EXPECT_EQ(ShowFileError(AppError(53, "s", "d"), "x"), 1);
    gvFatalStop = false;
}

TEST(FatalStop, ReportsWritesFileRunsShutdownAndEnds) {
    const QString t13 = FatalReportText(AppError(13, "s", "d"), "", "f");
    EXPECT_TRUE(t13.startsWith("*Code=13 ") && !t13.contains("KALDERO ERROR CODE")) << t13.toStdString();
    // A missing component adds the hint about the runtime files.
    EXPECT_GT(FatalReportText(AppError(ErrFormLoad, "s", "d"), "", "f").count("\r\n"), 7);
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
    EXPECT_EQ(plat::ReadTextLines(file).join("|"),
              QStringLiteral("*Code=1001 (KALDERO ERROR CODE)|*Source=|frmMain.Form_Load/|*Description=d|"
                             "*Comment=by StopError|*Error Report File=|") + file);
    // An unwritable folder still shows the report.
    plat::SetAppPath("/proc/no/such/folder");
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect("*Code=", plat::IdOk);
        StopOnFatalError(AppError(7, "s", "d"), "c");
    }
    SetWindupHook(nullptr);
    SetProgramEndHook(nullptr);
    plat::SetClock(oldClock);
    plat::SetAppPath(QString());
}

// Every window's handlers stop the same way: the window's number 0x800403EB
// (1003) for an error without one, the window and handler in the source.
TEST(FatalStop, AnErrorEscapingAHandlerStopsWithTheWindowsNumber) {
    testsupport::TempDir dir;
    plat::SetAppPath(dir.path());
    SetProgramEndHook([] {});
    testsupport::ScriptedBoxes boxes;
    boxes.expect("*Code=1003", plat::IdOk);
    RunHandler("frmGrid", "cmdOK_Click", [] { throw AppError(0, "clsGrid.Copy/", "d"); });
    EXPECT_TRUE(boxes.shown().at(0).text.contains("frmGrid.cmdOK_Click/clsGrid.Copy/"));
    SetProgramEndHook(nullptr);
    plat::SetAppPath(QString());
}
