#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QObject>

#include "AppInfo.h"
#include "Fonts.h"
#include "Help.h"
#include "RasterDC.h"
#include "Shell.h"
#include "TestSupport.h"
#include "basApiLib.h"
#include "basHtmlHelp.h"
#include "basMouseWheel.h"

using namespace plat;

TEST(ApiLib, AnsiBufferStopsAtTheFirstZero) {
    EXPECT_EQ(AnsiBufToStr(QByteArray("abc\0def", 7)), QStringLiteral("abc"));
    EXPECT_EQ(AnsiBufToStr(QByteArray("\0abc", 4)), QString());
    EXPECT_EQ(AnsiBufToStr(QByteArray("no zero")), QString());
    EXPECT_EQ(AnsiBufToStr(QByteArray("\x92\x6E\x90\x7D\0", 5)), QStringLiteral("地図"));
}

TEST(ApiLib, FontMetricSizeFollowsTheMetrics) {
    TEXTMETRIC tm;
    tm.tmAscent = 16;
    tm.tmDescent = 4;
    tm.tmHeight = 20;
    tm.tmInternalLeading = 0;
    EXPECT_EQ(FontMetricSizeOf(tm), 13);
    // Leading large against the ascent is cut to 3/10 of it.
    tm.tmAscent = 23;
    tm.tmDescent = 6;
    tm.tmHeight = 29;
    tm.tmInternalLeading = 9;
    EXPECT_EQ(FontMetricSizeOf(tm), 17);
    // Never below 2.
    tm = TEXTMETRIC();
    EXPECT_EQ(FontMetricSizeOf(tm), 2);
    EXPECT_EQ(FontMetricSize(nullptr), -1);

    RasterDC dc(Bitmap::Create(8, 8, 32), 96);
    LOGFONT lf;
    lf.lfHeight = -20;
    lf.lfFaceName = QStringLiteral("ＭＳ Ｐゴシック");
    dc.SelectFont(CreateFontIndirect(lf));
    const int32_t m = FontMetricSize(&dc);
    EXPECT_GE(m, 8);
    EXPECT_LE(m, 20);
}

TEST(ApiLib, FontListHasAnEmptyFirstEntry) {
    RasterDC dc(Bitmap::Create(8, 8, 32), 96);
    const std::vector<FontRecord> list = EnumFontList(&dc);
    ASSERT_GE(list.size(), 2u);
    EXPECT_TRUE(list[0].FaceName.isEmpty());
    bool found = false;
    for (size_t i = 1; i < list.size(); ++i) {
        EXPECT_FALSE(list[i].FaceName.isEmpty());
        found = found || list[i].FaceName == QStringLiteral("ＭＳ Ｐゴシック");
    }
    if (ResolveFontFamily(QStringLiteral("ＭＳ Ｐゴシック")) != QStringLiteral("ＭＳ Ｐゴシック")) {
        EXPECT_TRUE(found);
    }
}

TEST(ApiLib, SystemFacts) {
    EXPECT_FALSE(GetSystemDir().isEmpty());
    EXPECT_TRUE(IsWindowsNT());
    EXPECT_EQ(LoadBitmapFile(QStringLiteral("/no/such/file.bmp")), nullptr);
    EXPECT_EQ(GetBitmapInfo(nullptr).bmWidth, 0);
}

TEST(ApiLib, ShellOpenTellsWhenNothingOpens) {
    std::vector<QString> opened;
    UrlOpener prev = SetUrlOpener([&](const QString& u) {
        opened.push_back(u);
        return !u.contains(QStringLiteral("fail"));
    });
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir.file(QStringLiteral("Map.txt")), "x");
    EXPECT_TRUE(ShellOpen(dir.file(QStringLiteral("MAP.TXT"))));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(opened[0].startsWith(QStringLiteral("file://")));
    EXPECT_TRUE(opened[0].endsWith(QStringLiteral("Map.txt")));
    EXPECT_TRUE(ShellOpen(QStringLiteral("mailto:someone@example.org")));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("関連付けられたアプリケーションを実行できません."), IdOk);
        EXPECT_FALSE(ShellOpen(dir.file(QStringLiteral("missing.doc"))));
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_TRUE(boxes.shown()[0].text.endsWith(dir.file(QStringLiteral("missing.doc"))));
        EXPECT_EQ(boxes.shown()[0].style, MbOkOnly);
    }
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("関連付けられたアプリケーションを実行できません."), IdOk);
        EXPECT_FALSE(ShellOpen(QStringLiteral("https://example.org/fail")));
    }
    SetUrlOpener(prev);
}

TEST(MouseWheel, HookOnceUnhookKnownWindowsOnly) {
    QObject a, b;
    EXPECT_TRUE(WheelUnhookAll());
    EXPECT_TRUE(WheelHook(&a));
    EXPECT_FALSE(WheelHook(&a));
    EXPECT_FALSE(WheelHook(nullptr));
    EXPECT_FALSE(WheelUnhook(&b));
    EXPECT_TRUE(WheelHook(&b));
    EXPECT_EQ(gvWheelWindows().size(), 2u);
    EXPECT_TRUE(WheelUnhook(&a));
    EXPECT_EQ(gvWheelWindows().size(), 1u);
    EXPECT_TRUE(WheelHook(&a));
    EXPECT_TRUE(WheelUnhookAll());
    EXPECT_TRUE(gvWheelWindows().empty());
    EXPECT_FALSE(WheelUnhook(&a));
}

TEST(HtmlHelp, ContextPagesOpenAndCloseAll) {
    testsupport::TempDir dir;
    const QString saved = AppPath();
    SetAppPath(dir.path());
    QDir().mkpath(dir.file(QStringLiteral("help")));
    testsupport::WriteBytes(dir.file(QStringLiteral("help/index.html")), "<html></html>");
    testsupport::WriteBytes(dir.file(QStringLiteral("help/1200.html")), "<html></html>");
    std::vector<QString> pages;
    int closed = 0;
    HelpBrowser prev = SetHelpBrowser({[&](const QString& p) {
                                           pages.push_back(p);
                                           return true;
                                       },
                                       [&] { ++closed; }});
    EXPECT_GT(HelpShowContext(1200), 0);
    EXPECT_GT(HelpShowContext(77), 0);  // no page of its own: the contents
    EXPECT_GT(HelpShowContents(nullptr, QString()), 0);
    EXPECT_GT(HelpShowIndex(nullptr, QString()), 0);
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_TRUE(pages[0].endsWith(QStringLiteral("help/1200.html")));
    EXPECT_TRUE(pages[1].endsWith(QStringLiteral("help/index.html")));
    EXPECT_EQ(OpenHelpPageCount(), 4);
    HelpCloseAll();
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(OpenHelpPageCount(), 0);

    // Without any page the user is told, with the id or the file name.
    QFile::remove(dir.file(QStringLiteral("help/index.html")));
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("HTML HELP の表示に失敗しました. 77"), IdOk);
        boxes.expect(QStringLiteral("HTML HELP の表示に失敗しました. ") + dir.file(QStringLiteral("nohelp.html")), IdOk);
        EXPECT_EQ(HelpShowContext(77), 0);
        EXPECT_EQ(HelpShowContents(nullptr, dir.file(QStringLiteral("nohelp.html"))), 0);
    }
    SetHelpBrowser(prev);
    SetAppPath(saved);
}
