#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QObject>

#include "AppInfo.h"
#include "HelpWindow.h"
#include "Shell.h"
#include "TestSupport.h"
#include "basApiLib.h"
#include "basHtmlHelp.h"
#include "basMouseWheel.h"

using namespace plat;

TEST(ApiLib, AnsiBuffersAndFontMeasures) {
    EXPECT_EQ(AnsiBufToStr(QByteArray("\x92\x6E\x90\x7D\0def", 8)), QStringLiteral("地図"));
    EXPECT_EQ(AnsiBufToStr(QByteArray("no zero")), QString());
    TEXTMETRIC tm;
    tm.tmAscent = 23;
    tm.tmDescent = 6;
    tm.tmHeight = 29;
    tm.tmInternalLeading = 9;
    EXPECT_EQ(FontMetricSizeOf(tm), 17);   // leading large against the ascent is cut to 3/10 of it
    EXPECT_EQ(FontMetricSizeOf(TEXTMETRIC()), 2);   // never below 2
    EXPECT_EQ(FontMetricSize(nullptr), -1);
    LOGFONT lf;   // a face name must leave room for the end mark of LOGFONT
    lf.lfFaceName = QString(LF_FACESIZE - 1, QLatin1Char('x'));
    EXPECT_NE(CreateFontIndirect(lf), nullptr);
    lf.lfFaceName += QLatin1Char('x');
    EXPECT_EQ(CreateFontIndirect(lf), nullptr);
}

TEST(ApiLib, ShellOpenTellsWhenNothingOpens) {
    std::vector<QString> opened;
    UrlOpener prev = SetUrlOpener([&](const QString& u) {
        opened.push_back(u);
        return !u.contains(QStringLiteral("fail"));
    });
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir.file(QStringLiteral("Map.txt")), "x");
    EXPECT_TRUE(ShellOpen(dir.file(QStringLiteral("MAP.TXT"))));   // found without regard to case
    EXPECT_EQ(opened.at(0), QStringLiteral("file://") + dir.file(QStringLiteral("Map.txt")));
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("関連付けられたアプリケーションを実行できません."), IdOk)
        .expect(QStringLiteral("関連付けられたアプリケーションを実行できません."), IdOk);
    EXPECT_FALSE(ShellOpen(dir.file(QStringLiteral("missing.doc"))));
    EXPECT_TRUE(boxes.shown().at(0).text.endsWith(dir.file(QStringLiteral("missing.doc"))));
    EXPECT_FALSE(ShellOpen(QStringLiteral("https://example.org/fail")));
    SetUrlOpener(prev);
}

TEST(ApiLib, WheelHooksAndHelpPages) {
    QObject a, b;
    EXPECT_TRUE(WheelHook(&a) && WheelHook(&b));
    EXPECT_FALSE(WheelHook(&a) || WheelHook(nullptr));   // a window is hooked once
    EXPECT_TRUE(WheelUnhook(&a));
    EXPECT_FALSE(WheelUnhook(&a));
    EXPECT_EQ(gvWheelWindows(), (std::vector<WheelWindow>{&b}));
    EXPECT_TRUE(WheelUnhookAll());

    testsupport::TempDir dir;
    const QString saved = AppPath();
    SetAppPath(dir.path());
    QDir().mkpath(dir.file(QStringLiteral("help")));
    testsupport::WriteBytes(dir.file(QStringLiteral("help/index.html")), "<html></html>");
    testsupport::WriteBytes(dir.file(QStringLiteral("help/1200.html")), "<html></html>");
    EXPECT_GT(HelpShowContext(1200), 0);
    ASSERT_NE(HelpWindow::Current(), nullptr);
    EXPECT_EQ(HelpWindow::Current()->Page(), dir.file(QStringLiteral("help/1200.html")));
    EXPECT_GT(HelpShowContext(77), 0);   // no page of its own: the contents
    EXPECT_EQ(HelpWindow::Current()->Page(), dir.file(QStringLiteral("help/index.html")));
    HelpCloseAll();
    EXPECT_EQ(HelpWindow::Current(), nullptr);
    QFile::remove(dir.file(QStringLiteral("help/index.html")));
    testsupport::ScriptedBoxes boxes;   // without any page the user is told
    boxes.expect(QStringLiteral("HTML HELP の表示に失敗しました. 77"), IdOk);
    EXPECT_EQ(HelpShowContext(77), 0);
    EXPECT_EQ(HelpWindow::Current(), nullptr);
    SetAppPath(saved);
}
