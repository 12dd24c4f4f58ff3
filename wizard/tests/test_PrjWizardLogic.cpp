// The wizard's logic: settings exchange with a real projector, the page-1
// options, page flow, the run state machine over a scripted projection,
// the monitor and time arithmetic and the save orchestration.
#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <QRegularExpression>

#include "WizardTestSupport.h"
#include "basLibrary.h"

using namespace wiztest;
using testsupport::ScriptedBoxes;
using testsupport::TempDir;

namespace {

using Logic = WizardTest;

const QString kDone = QStringLiteral("地図投影変換を完了しました。");
const QString kStopped = QStringLiteral("地図投影変換を中断しました。");

// --- settings exchange ---------------------------------------------------------------

// Every setting in one line, so that a difference shows which.
QString Describe(const PrjWizardSettings& s) {
    return QStringLiteral("%1 %2,%3 %4 %5 %6 %7 %8 %9 world%10 shadow%11 slant%12 az[%13] field%14,%15,%16,%17 grid%18%19%20 auto%21%22")
        .arg(s.PrjIndex).arg(s.CenterLon).arg(s.CenterLat).arg(s.Cone).arg(s.Secant).arg(s.poler).arg(s.Light)
        .arg(s.Division).arg(s.MapScale, 0, 'f', 0).arg(s.FieldWorld).arg(s.ShadowFrame).arg(s.TextSlant)
        .arg(s.AzimuthLine).arg(s.Field.x1).arg(s.Field.y1).arg(s.Field.x2).arg(s.Field.y2).arg(s.Grid.Vertical)
        .arg(s.Grid.Horizontal).arg(s.Grid.Zone).arg(s.AutoProjection).arg(s.RightAxis);
}

TEST_F(Logic, SettingsSurviveTheProjectorBothWays) {
    const std::pair<const char*, std::function<void(PrjWizardSettings&)>> cases[] = {
        {"initial", [](PrjWizardSettings&) {}},
        {"conic with secant", [](PrjWizardSettings& s) {
             s.PrjIndex = 24;   // the secant's limit depends on projection and cone
             s.Cone = 300000;
             s.Secant = 36000;
             s.CenterLon = 486000;
             s.CenterLat = 126000;
         }},
        {"field over the date line", [](PrjWizardSettings& s) {
             s.FieldWorld = s.ShadowFrame = s.TextSlant = false;
             s.Field = clsRect(540000, -100000, -600000, 200000);
             s.AzimuthLine = QStringLiteral("0,90");
         }},
        {"perspective and gores", [](PrjWizardSettings& s) {
             s.Light = 3.5;
             s.Division = 24;
             s.poler = 72000;
             s.MapScale = 2000000;
         }},
    };
    for (const auto& [name, change] : cases) {
        PrjWizardSettings s = PrjWizardSettings::Initial();
        change(s);
        clsProjector p;
        s.SetProjector(p);
        PrjWizardSettings back;
        back.GetProjector(p);
        EXPECT_EQ(Describe(back), Describe(s)) << name;
    }
}

TEST_F(Logic, OkCommitsAndCancelLeavesTheProjector) {
    for (bool ok : {true, false}) {
        projectorOwner->setPrjIndex(12);
        frmPrjWizardLogic w;
        w.InitOption = 1;
        LoadWithFake(w);
        w.Forward();
        w.Work.PrjIndex = 8;
        w.Work.MapScale = 5000000;
        if (ok) w.OK();
        else EXPECT_TRUE(w.Cancel());
        EXPECT_EQ(projectorOwner->PrjIndex(), ok ? 8 : 12);
        EXPECT_EQ(w.ResultFlags, ok ? frmPrjWizardLogic::ResultCommitted : 0);
    }
}

// --- page 1 ------------------------------------------------------------------------

TEST_F(Logic, InitialiseRestoresTheFreshValuesAtEveryStepForward) {
    frmPrjWizardLogic w;
    w.InitOption = 1;
    w.ConditionMask = 7;
    LoadWithFake(w);
    for (int round = 0; round < 2; ++round) {
        w.Forward();
        EXPECT_EQ(w.Page(), 2);
        EXPECT_EQ(w.Work.PrjIndex, 12);
        EXPECT_EQ(w.Work.Cone, 216000);
        EXPECT_DOUBLE_EQ(w.Work.MapScale, MapScaleMax / 10);
        EXPECT_EQ(w.ConditionMask, 0);
        w.Work.PrjIndex = 17;
        w.Work.Cone = 400000;
        w.Backward();
    }
}

// Importing a snapshot is checked end to end in test_PrjWizardWorld.
TEST_F(Logic, LogFileNamesAndAMissingFile) {
    TempDir dir;
    testsupport::WriteBytes(dir.file(QStringLiteral("old.PLG")), QByteArray());
    ScriptedBoxes boxes;
    frmPrjWizardLogic w;
    LoadWithFake(w);
    // Typed without extension: completed; a missing file keeps the old path.
    w.ValidateLogText(dir.file(QStringLiteral("old")));
    EXPECT_EQ(w.LogPath, dir.file(QStringLiteral("old.PLG")));
    EXPECT_EQ(w.InitOption, 3);
    w.ValidateLogText(dir.file(QStringLiteral("none")));
    EXPECT_EQ(w.LogPath, dir.file(QStringLiteral("old.PLG")));
    // A file that went missing: the box, the settings kept, the page moves on.
    w.Work.PrjIndex = 8;
    w.LogPath = dir.file(QStringLiteral("gone.txt"));
    boxes.expect(QStringLiteral("gone.PLG\r\nログファイルが存在しません."), plat::IdOk);
    w.Forward();
    EXPECT_EQ(w.Page(), 2);
    EXPECT_EQ(w.Work.PrjIndex, 8);
}

TEST_F(Logic, CancelInTheFileErrorBoxKeepsPageOneInsteadOfEndingTheProgram) {
    TempDir dir;
    // A folder under the snapshot's name cannot be read as a file.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("bad.PLG")));
    ScriptedBoxes boxes;
    frmPrjWizardLogic w;
    LoadWithFake(w);
    w.InitOption = 3;
    w.LogPath = dir.file(QStringLiteral("bad.PLG"));
    boxes.expect(QStringLiteral("bad.PLG"), plat::IdCancel);
    EXPECT_FALSE(w.SetPage(2));
    EXPECT_EQ(w.Page(), 1);
    boxes.expect(QStringLiteral("bad.PLG"), plat::IdIgnore);
    EXPECT_TRUE(w.SetPage(2));
    EXPECT_EQ(w.Page(), 2);
}

// A snapshot that is no Shift-JIS text, lacks the projector section or is
// too large is named; the wizard and the store keep their settings.
TEST_F(Logic, ABadLogFileIsNamedAndChangesNothing) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("bad.PLG"));
    for (const char* bytes :
         {"[PROJECTOR]\r\nProjectionCode=8\r\nFieldWorld=\xE0\x20", "[PUBLIC]\r\nProjectionCode=8", ""}) {
        testsupport::WriteBytes(path, bytes);
        ASSERT_TRUE(*bytes || QFile::resize(path, kMaxSnapshotBytes + 1));
        ScriptedBoxes boxes;
        frmPrjWizardLogic w;
        LoadWithFake(w);
        w.InitOption = 3;
        w.LogPath = path;
        w.Work.PrjIndex = 17;
        const auto stored = clsRegistry(clsProjector::RegistrySection()).RegGetSec();
        boxes.expect(path + (*bytes ? QStringLiteral("\r\nログファイルの形式が正しくありません.")
                                    : QStringLiteral("\r\nログファイルが大きすぎます. (上限 8 MiB)")), plat::IdOk);
        EXPECT_TRUE(w.SetPage(2));
        EXPECT_EQ(w.Work.PrjIndex, 17);
        EXPECT_EQ(clsRegistry(clsProjector::RegistrySection()).RegGetSec(), stored);
    }
}

// --- page flow ---------------------------------------------------------------------

TEST_F(Logic, ButtonsFollowThePageAndTheRun) {
    frmPrjWizardLogic w;
    LoadWithFake(w);
    EXPECT_EQ(w.Page(), 1);
    EXPECT_EQ(w.HelpContext(), 261001);
    EXPECT_FALSE(w.Enabled(frmPrjWizardLogic::BtnBackward));
    for (int p = 2; p <= 8; ++p) {
        w.Forward();
        EXPECT_EQ(w.Page(), p);
        EXPECT_TRUE(w.Enabled(frmPrjWizardLogic::BtnBackward));
        EXPECT_EQ(w.Enabled(frmPrjWizardLogic::BtnForward), p != 8) << p;
    }
    w.Forward();   // no completed run: page 9 cannot be reached
    EXPECT_EQ(w.Page(), 8);
    EXPECT_EQ(w.HelpContext(), 261008);
    w.SetPage(9);
    EXPECT_EQ(w.SaveMessage(), QStringLiteral("主投影変換が完了していません。前のページに戻って変換を実行してください。"));
    EXPECT_FALSE(w.SaveEnabled());
    w.SetPage(8);

    ScriptedBoxes boxes;
    boxes.expect(kDone, plat::IdOk);
    w.Execute();
    EXPECT_TRUE(w.Enabled(frmPrjWizardLogic::BtnForward));
    w.Forward();
    EXPECT_EQ(w.Page(), 9);
    EXPECT_FALSE(w.Enabled(frmPrjWizardLogic::BtnForward));
    EXPECT_TRUE(w.SaveMessage().startsWith(QStringLiteral("主投影変換は完了しています。")));
    EXPECT_TRUE(w.SaveEnabled());
}

// --- the run -----------------------------------------------------------------------

TEST_F(Logic, CompletedRun) {
    ScriptedBoxes boxes;
    frmPrjWizardLogic w;
    LoadWithFake(w);
    w.SetPage(8);
    bool unshownCell = false;   // a cell drawn that the window has not heard of
    w.Monitor().Changed = [&] { unshownCell = false; };
    configure = [&](FakeRunEngine& e) {
        e.steps = 20;
        e.onStep = [&](int) {
            unshownCell = true;
            EXPECT_EQ(w.ExecuteCaption(), QStringLiteral("中止(&S)"));
            EXPECT_FALSE(w.Enabled(frmPrjWizardLogic::BtnOK) || w.Enabled(frmPrjWizardLogic::BtnCancel));
        };
    };
    boxes.expect(kDone, plat::IdOk);
    w.Execute();
    EXPECT_FALSE(unshownCell);   // the last cells are shown without waiting for the next repaint
    EXPECT_EQ(w.ExecuteCaption(), QStringLiteral("開始(&S)"));
    EXPECT_EQ(w.ResultFlags, frmPrjWizardLogic::ResultRun);
    ASSERT_TRUE(w.ResultUnits);
    EXPECT_EQ(w.ResultUnits->Base()->UnitName(), QStringLiteral("BASEOUT.MXY"));
    EXPECT_EQ(w.ResultCenterX, 0);
    EXPECT_EQ(w.ResultCenterY, 0);
    EXPECT_TRUE(w.ExecMessage().startsWith(kDone));
    // The final tick showed the last progress before the bar went back.
    EXPECT_EQ(w.RemainText(), QStringLiteral("変換終了まで 0分42秒"));
    EXPECT_EQ(w.ProgressValue(), 0);
    EXPECT_FALSE(w.TimerActive());
    EXPECT_FALSE(w.Running());
}

TEST_F(Logic, StoppedRunsLeaveNoResultAndANewRunDropsTheOld) {
    enum How { DuringProjection, WhileMeasuring, NoRectangle };
    for (const How how : {DuringProjection, WhileMeasuring, NoRectangle}) {
        SCOPED_TRACE(how);
        ScriptedBoxes boxes;
        frmPrjWizardLogic w;
        LoadWithFake(w);
        w.SetPage(8);
        boxes.expect(kDone, plat::IdOk);
        w.Execute();
        ASSERT_TRUE(w.ResultUnits);
        configure = [&](FakeRunEngine& e) {
            e.failBound = how == NoRectangle;
            if (how == WhileMeasuring) e.onBound = [&] { w.Execute(); };
            if (how != DuringProjection) return;
            e.onStep = [&](int step) {
                if (step != 1) return;
                w.Execute();
                EXPECT_EQ(w.ExecuteCaption(), QStringLiteral("開始(&S)"));
            };
        };
        boxes.expect(kStopped, plat::IdOk);
        w.Execute();
        EXPECT_FALSE(w.ResultUnits);
        EXPECT_EQ(w.ResultFlags & frmPrjWizardLogic::ResultRun, 0);
        EXPECT_FALSE(w.Enabled(frmPrjWizardLogic::BtnForward));
        EXPECT_EQ(runs, how == DuringProjection ? 2 : 1);   // with the completed run before
        runs = 0;
        EXPECT_EQ(w.ExecMessage(), QStringLiteral("地図投影変換を中断しました。戻って設定を修正し、再度変換してください。"));
        configure = [](FakeRunEngine&) {};
    }
}

TEST_F(Logic, AnErrorDuringTheRunEndsItAsStoppedAndTheWizardStaysUsable) {
    ScriptedBoxes boxes;
    frmPrjWizardLogic w;
    LoadWithFake(w);
    w.SetPage(8);
    configure = [](FakeRunEngine& e) { e.throwInRun = true; };
    boxes.expect(QStringLiteral("壊れた図形"), plat::IdOk);
    boxes.expect(kStopped, plat::IdOk);
    w.Execute();
    EXPECT_FALSE(w.Running());
    EXPECT_FALSE(w.ResultUnits);
    EXPECT_TRUE(w.Enabled(frmPrjWizardLogic::BtnOK));

    configure = [](FakeRunEngine&) {};
    boxes.expect(kDone, plat::IdOk);
    w.Execute();
    EXPECT_TRUE(w.ResultUnits);
}

TEST_F(Logic, ClosingDuringARunStopsItAndClosesAfterItReturned) {
    ScriptedBoxes boxes;
    frmPrjWizardLogic w;
    LoadWithFake(w);
    int closes = 0;
    bool runningAtClose = true;
    w.CloseNow = [&] {
        ++closes;
        runningAtClose = w.Running();
    };
    configure = [&](FakeRunEngine& e) {
        e.onStep = [&](int step) {
            if (step == 1) {
                EXPECT_FALSE(w.RequestClose());
            }
        };
    };
    boxes.expect(kStopped, plat::IdOk);
    w.Execute();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(runningAtClose);
    EXPECT_TRUE(w.RequestClose());
}

TEST(PrjWizardArithmetic, MonitorScale) {
    struct Case {
        double w, h, wmm, hmm, expected;
    };
    const Case cases[] = {
        {40000000, 20000000, 100, 50, 420000000},   // both axes alike
        {1000000, 20000000, 100, 50, 420000000},    // much taller: the height decides
        {20000000, 1000, 100, 50, 210000000},       // much wider: the width decides
        {4e12, 4e12, 100, 50, MapScaleMax},         // never beyond the smallest scale
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(frmPrjWizardLogic::MonitorScale(c.w, c.h, c.wmm, c.hmm), c.expected) << c.w << "x" << c.h;
}

TEST(PrjWizardArithmetic, RemainingTime) {
    const std::pair<int32_t, const char*> cases[] = {
        {3903, "1時間5分3秒"}, {42, "0分42秒"}, {3600, "1時間0分0秒"}, {59 * 60 + 59, "59分59秒"},
        {1, "0分1秒"},         {0, "--分--秒"}, {-1, "--分--秒"},
    };
    for (const auto& [r, text] : cases) EXPECT_EQ(frmPrjWizardLogic::RemainTimeText(r), QString::fromUtf8(text)) << r;
}

TEST(PrjWizardArithmetic, FolderProposalIsMxyAndFourteenDigits) {
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^MXY\\d{14}$")).match(frmPrjWizardLogic::FolderProposal()).hasMatch())
        << frmPrjWizardLogic::FolderProposal().toStdString();
}

// A run refreshes the monitor once per cell and lets events in after each:
// the window hears of a burst once at its start and once after it, and of a
// change after a quiet spell at once.
TEST(PrjMonitorPictureRefresh, BurstsReachTheWindowAtTheirStartAndEnd) {
    PrjMonitorPicture pic(8, 8);
    int calls = 0;
    pic.Changed = [&] { ++calls; };
    const auto settle = [&](int want) {
        QElapsedTimer t;
        t.start();
        while (calls < want && t.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(2);
        }
    };
    const auto quiet = [&] {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 4 * PrjMonitorPicture::kRefreshMs) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        // The throttle is due by now, even if the loop last ran before it was.
        QCoreApplication::processEvents();
    };

    for (int i = 0; i < 500; ++i) pic.Refresh();
    EXPECT_EQ(calls, 1);
    settle(2);
    EXPECT_EQ(calls, 2);   // the last change of the burst is shown
    quiet();
    EXPECT_EQ(calls, 2);   // and nothing more without a change

    pic.Refresh();
    EXPECT_EQ(calls, 3);   // after a quiet spell at once
    pic.RefreshNow();
    EXPECT_EQ(calls, 4);   // the end of a run never waits
    pic.Clear();
    EXPECT_EQ(calls, 5);
    quiet();
    EXPECT_EQ(calls, 5);
}

// --- page 7 ------------------------------------------------------------------------

TEST_F(Logic, ScaleTextAndSlider) {
    ScriptedBoxes boxes;
    frmPrjWizardLogic w;
    LoadWithFake(w);
    EXPECT_TRUE(w.ValidateScaleText(QStringLiteral("2,500,000")));
    EXPECT_EQ(w.ScaleText(), QStringLiteral("2,500,000"));
    for (const char* bad : {"abc", "0", "1"}) {
        boxes.expect(QStringLiteral("既定の範囲を超えています."), plat::IdOk);
        EXPECT_FALSE(w.ValidateScaleText(QString::fromLatin1(bad))) << bad;
        EXPECT_DOUBLE_EQ(w.Work.MapScale, 2500000);
    }
    EXPECT_TRUE(boxes.shown().back().text.endsWith(QStringLiteral("～") + FormatStandardInt(MapScaleMax)));
    const QString tip = w.ScrollScale(1);
    EXPECT_DOUBLE_EQ(w.Work.MapScale, MapScaleMax);
    EXPECT_EQ(tip, QStringLiteral("1/") + ScaleLevelText(1));
    EXPECT_EQ(w.ScaleLevel(), 1);
}

// --- saving ------------------------------------------------------------------------

class Saving : public WizardTest {
protected:
    Saving() {
        recorder.globalXY = &globalSet;
        recorder.Install();
        // A run of two units: the fake's base and one more.
        LoadWithFake(w);
        configure = [](FakeRunEngine&) {};
        ScriptedBoxes boxes;
        boxes.expect(kDone, plat::IdOk);
        w.Execute();
        auto extra = std::make_shared<clsMapUnit>();
        extra->setMapMode(2);
        extra->setUnitName(QStringLiteral("/nowhere/東京.MXY"));
        auto symbol = std::make_shared<clsMapSymbol>();
        symbol->setAdmin(0);
        symbol->setThing(1);
        EXPECT_TRUE(extra->Map().Add(symbol));
        w.ResultUnits->Add(extra);
        w.CloseNow = [this] { ++closes; };
        SetMapUnitDialogs({}, [this](clsMapUnit& u, const QString& log) {
            saved.append(FileNameOf(u.UnitName()));
            if (FileNameOf(u.UnitName()) == failing) return false;
            HeadlessMapUnitIoReporter r;
            return SaveMapUnitFiles(u, log, r);
        });
    }

    frmPrjWizardLogic w;
    SnapshotRecorder recorder;
    clsMapUnits globalSet;
    QStringList saved;
    QString failing;
    int closes = 0;
    TempDir dir;
};

TEST_F(Saving, AFullSaveWritesTheSnapshotInTheNewFolderAndCloses) {
    ScriptedBoxes boxes;
    const QString folder = dir.file(QStringLiteral("MXY20240102030405"));
    boxes.expectSaveFile(QStringLiteral("ＸＹ地図ファイルの保存先フォルダ"), folder + QStringLiteral("/"));
    w.Save();
    EXPECT_EQ(saved, (QStringList{QStringLiteral("BASEOUT.MXY"), QStringLiteral("東京.MXY")}));
    EXPECT_EQ(recorder.paths, QStringList{folder + QStringLiteral("/MXY20240102030405")});
    EXPECT_EQ(recorder.xySeen, std::vector<clsMapUnits*>{w.ResultUnits.get()});
    EXPECT_EQ(recorder.globalXY, &globalSet);
    EXPECT_EQ(w.ResultFlags, frmPrjWizardLogic::ResultCommitted | frmPrjWizardLogic::ResultRun |
                                 frmPrjWizardLogic::ResultSaved);
    EXPECT_EQ(closes, 1);
    const plat::FileRequest& req = boxes.fileRequests().front();
    EXPECT_EQ(req.filter, QStringLiteral("新規フォルダ名"));
    EXPECT_TRUE(req.fileName.startsWith(QStringLiteral("MXY")));
}

TEST_F(Saving, AFailedUnitEndsTheCommandWithoutSnapshot) {
    ScriptedBoxes boxes;
    failing = QStringLiteral("BASEOUT.MXY");
    boxes.expectSaveFile(QStringLiteral("保存先"), dir.path());   // an existing folder is used as it is
    w.Save();
    EXPECT_EQ(saved, QStringList{QStringLiteral("BASEOUT.MXY")});
    EXPECT_TRUE(recorder.paths.isEmpty());
    EXPECT_EQ(w.ResultFlags, frmPrjWizardLogic::ResultRun);
    EXPECT_EQ(closes, 0);
}

TEST_F(Saving, TheGlobalSetComesBackWhenTheSnapshotFails) {
    struct Case {
        const char* name;
        int32_t answer;   // the writer's result; -2: it throws a file error
    };
    for (const Case c : {Case{"refused", 70}, Case{"file error", -2}}) {
        SCOPED_TRACE(c.name);
        ScriptedBoxes boxes;
        recorder.answer = c.answer;
        boxes.expectSaveFile(QStringLiteral("保存先"), dir.file(QString::fromLatin1(c.name).remove(QLatin1Char(' '))));
        if (c.answer == -2) {
            PrjWizardHost h = SetPrjWizardHost({});
            h.WriteLog = [](const QString&) -> int32_t { throw AppError(70, QStringLiteral("x"), QStringLiteral("書き込めません")); };
            SetPrjWizardHost(h);
            boxes.expect(QString(), plat::IdCancel);
        }
        w.Save();
        EXPECT_EQ(recorder.globalXY, &globalSet);
        EXPECT_EQ(w.ResultFlags & frmPrjWizardLogic::ResultSaved, 0);
        EXPECT_EQ(closes, 0);
    }
}

TEST_F(Saving, ShortOrCancelledAnswersSaveNothing) {
    for (const char* answer : {"", "a/", "abc"}) {
        ScriptedBoxes boxes;
        boxes.expectSaveFile(QStringLiteral("保存先"), QString::fromLatin1(answer));
        w.Save();
    }
    EXPECT_TRUE(saved.isEmpty());
    EXPECT_TRUE(recorder.paths.isEmpty());
}

} // namespace
