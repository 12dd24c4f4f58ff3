// The folder chooser (folder list, a folder gone, Cancel after browsing) and
// the about box (design texts without the environment, links, namesake,
// splash).
#include <gtest/gtest.h>

#include <QDir>
#include <QPushButton>
#include <QTreeWidget>

#include "AppError.h"
#include "AppState.h"
#include "Shell.h"
#include "TestSupport.h"
#include "clsEnvironment.h"
#include "frmAbout.h"
#include "frmFolder.h"

namespace {

QPushButton* button(QWidget* w, const QString& text) {
    for (QPushButton* b : w->findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

} // namespace

TEST(FolderChooser, ListsTheWayDownThenTheSubfolders) {
    testsupport::TempDir d;
    for (const char* sub : {"a/b/c", "a/Zed", "a/apple"}) QDir(d.path()).mkpath(QString::fromLatin1(sub));
    const QString a = d.file(QStringLiteral("a"));
    QStringList lines;
    for (const FolderChooser::Entry& e : FolderChooser::ListOf(d.path(), a))
        lines.append(QStringLiteral("%1 %2 %3").arg(e.depth).arg(e.open ? "open" : "closed", e.name));
    EXPECT_EQ(lines, QStringList({"0 open " + d.path(), "1 open a", "2 closed apple", "2 closed b", "2 closed Zed"}));
    EXPECT_EQ(FolderChooser::ExistingFolder(a + QStringLiteral("/gone/deeper")), a);
    EXPECT_EQ(FolderChooser::ExistingFolder(QStringLiteral("relative")), QDir::cleanPath(QDir::homePath()));
    const std::vector<FolderChooser::DriveEntry> drives{{"/", "/"}, {d.path(), d.path()}};
    EXPECT_EQ(FolderChooser::DriveOf(d.path() + QStringLiteral("x"), drives), "/");   // not a mere prefix
}

TEST(FolderDialog, CancelAfterBrowsingLeavesTheCallersFolder) {
    testsupport::TempDir d;
    for (const char* sub : {"maps/world", "maps/japan", "old"}) QDir(d.path()).mkpath(QString::fromLatin1(sub));
    const QString callers = d.file(QStringLiteral("maps/gone"));
    for (bool ok : {false, true}) {
        FolderChooser chooser;
        chooser.FolderPath = callers;
        frmFolder dlg(chooser);
        // A folder that has gone opens its parent.
        EXPECT_EQ(chooser.FolderPath, d.file(QStringLiteral("maps")));
        auto* tree = dlg.findChild<QTreeWidget*>();
        const auto found = tree->findItems(QStringLiteral("world"), Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1);
        emit tree->itemActivated(found.front(), 0);
        EXPECT_EQ(chooser.FolderPath, d.file(QStringLiteral("maps/world")));
        if (!ok) testsupport::SaveWidgetPng(&dlg);
        button(&dlg, ok ? QStringLiteral("ＯＫ") : QStringLiteral("キャンセル"))->click();
        EXPECT_EQ(chooser.OK, ok);   // the caller takes FolderPath only then
    }
}

TEST(AboutBox, LinksWorkOnlyWithTheEnvironment) {
    QStringList opened;
    bool openerFails = false;
    const plat::UrlOpener old = plat::SetUrlOpener([&](const QString& url) {
        if (openerFails) throw plat::AppError(5, QStringLiteral("shell"), QStringLiteral("refused"));
        opened.append(url);
        return true;
    });
    AboutBox design;
    EXPECT_EQ(design.MailText(), "作者へのメール");
    design.MailClicked();
    design.UrlClicked();
    EXPECT_TRUE(opened.isEmpty());
    gvEnvironment = new clsEnvironment();
    gvEnvironment->LoadLines({QStringLiteral("AuthorEmail=author@example.org"),
                              QStringLiteral("AuthorURLhome=https://example.org/kaldero/")});
    AboutBox box;
    EXPECT_EQ(box.MailText(), "author@example.org");
    box.MailClicked();
    box.UrlClicked();
    EXPECT_EQ(opened, QStringList({"mailto:author@example.org", "https://example.org/kaldero/"}));
    openerFails = true;
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect(QStringLiteral("メールソフトを起動できませんでした."), plat::IdOk);
        boxes.expect(QStringLiteral("WEBブラウザを起動できませんでした."), plat::IdOk);
        box.MailClicked();
        box.UrlClicked();
    }
    frmAbout dlg;
    testsupport::SaveWidgetPng(&dlg);
    std::unique_ptr<frmAbout> splash(frmAbout::ShowSplash());
    EXPECT_FALSE(button(splash.get(), QStringLiteral("ＯＫ"))->isVisible());
    testsupport::SaveWidgetPng(splash.get(), QStringLiteral("splash"));
    delete std::exchange(gvEnvironment, nullptr);
    plat::SetUrlOpener(old);
}
