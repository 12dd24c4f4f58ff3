// The program's own help window: pages, links, contents, index and the way
// back, a missing page told, the window of a modal dialog, closing.
#include <gtest/gtest.h>

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include "AppInfo.h"
#include "DialogPlayer.h"
#include "Help.h"
#include "HelpWindow.h"
#include "TestSupport.h"

using namespace plat;

namespace {

struct HelpFolder {
    testsupport::TempDir dir;
    QString saved = AppPath();
    HelpFolder() {
        SetAppPath(dir.path());
        QDir().mkpath(dir.file(QStringLiteral("help")));
        page("index.html", "目次", R"(<a href="1200.html#use">地名ジャンプ</a> <a href="999.html">なし</a>)");
        page("keywords.html", "キーワード", "");
        page("1200.html", "地名ジャンプ", R"(<p>地名を検索します.</p><h2><a name="use">使い方</a></h2>)");
    }
    ~HelpFolder() {
        CloseAllHelp();
        SetAppPath(saved);
    }
    void page(const char* name, const char* title, const char* body) {
        testsupport::WriteBytes(file(name), QByteArray("<html><head><meta charset=\"utf-8\"><title>") + title +
                                                "</title></head><body>" + body + "</body></html>");
    }
    QString file(const char* name) const { return dir.file(QStringLiteral("help/") + QLatin1String(name)); }
};

QString shown() { return HelpWindow::Current() ? QFileInfo(HelpWindow::Current()->Page()).fileName() : QString(); }

} // namespace

TEST(HelpWindow, PagesLinksContentsIndexAndTheWayBack) {
    HelpFolder f;
    ASSERT_TRUE(ShowHelpTopic(1200));
    HelpWindow* w = HelpWindow::Current();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("地名ジャンプ"));
    EXPECT_TRUE(w->Browser()->toPlainText().contains(QStringLiteral("地名を検索します.")));
    EXPECT_FALSE(w->cmdBack->isEnabled());

    w->cmdContents->click();
    emit w->Browser()->anchorClicked(QUrl(QStringLiteral("1200.html#use")));
    emit w->Browser()->anchorClicked(QUrl(QStringLiteral("#use")));   // on the same page
    w->cmdIndex->click();
    EXPECT_EQ(shown(), QStringLiteral("keywords.html"));
    w->cmdBack->click();
    EXPECT_EQ(shown(), QStringLiteral("1200.html"));
    w->cmdBack->click();
    EXPECT_EQ(shown(), QStringLiteral("index.html"));
    w->cmdForward->click();
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("HTML HELP の表示に失敗しました. 999.html"), IdOk);
        emit w->Browser()->anchorClicked(QUrl(QStringLiteral("999.html")));
    }
    EXPECT_EQ(shown(), QStringLiteral("1200.html"));

    ASSERT_TRUE(ShowHelpContents());
    EXPECT_EQ(HelpWindow::Current(), w) << "one help window";
    CloseAllHelp();
    EXPECT_EQ(HelpWindow::Current(), nullptr);

    // A topic without a page of its own shows the contents; without those
    // the user is told the id.
    QFile::remove(f.file("index.html"));
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("HTML HELP の表示に失敗しました. 77"), IdOk);
    EXPECT_FALSE(ShowHelpTopic(77));
    EXPECT_EQ(HelpWindow::Current(), nullptr);
}

// Help asked for inside a modal dialog can be read before the dialog closes.
TEST(HelpWindow, BelongsToTheModalDialogItIsAskedFromUntilItIsDone) {
    HelpFolder f;
    QDialog outer, inner(&outer);
    testsupport::WhenModal<QDialog>([&](QDialog&) {
        testsupport::WhenModal<QDialog>([&](QDialog&) {
            EXPECT_TRUE(ShowHelpTopic(1200));
            ASSERT_NE(HelpWindow::Current(), nullptr);
            EXPECT_EQ(HelpWindow::Current()->parentWidget(), &inner);
            inner.accept();
        });
        inner.exec();
        ASSERT_NE(HelpWindow::Current(), nullptr);
        EXPECT_EQ(HelpWindow::Current()->parentWidget(), &outer) << "the dialog under it";
        outer.accept();
    });
    outer.exec();
    ASSERT_NE(HelpWindow::Current(), nullptr);
    EXPECT_EQ(HelpWindow::Current()->parentWidget(), nullptr);
    EXPECT_TRUE(HelpWindow::Current()->isVisible());
    EXPECT_EQ(shown(), QStringLiteral("1200.html"));
}
