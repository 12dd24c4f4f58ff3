// The reading of the shipped help pages beside a window that every folder's
// help check relies on: a caption must read as a page names it, and no kind
// of control may be missed, or a check would refuse a right page.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>

#include "HelpPages.h"

using testsupport::PlainCaption;

TEST(HelpPageNames, CaptionsReadAsPagesNameThem) {
    EXPECT_EQ(PlainCaption(QStringLiteral("削除(&D)")), QStringLiteral("削除"));
    EXPECT_EQ(PlainCaption(QStringLiteral("スナップ(S)")), QStringLiteral("スナップ"));
    EXPECT_EQ(PlainCaption(QStringLiteral("< 戻る(&B)")), QStringLiteral("戻る"));
    EXPECT_EQ(PlainCaption(QStringLiteral("進む(&F) >")), QStringLiteral("進む"));
    EXPECT_EQ(PlainCaption(QStringLiteral("地名キーワード(&K):")), QStringLiteral("地名キーワード"));
    EXPECT_EQ(PlainCaption(QStringLiteral("　└─ 事象(&T):")), QStringLiteral("事象"));
    EXPECT_EQ(PlainCaption(QStringLiteral("マーク &1")), QStringLiteral("マーク 1"));
    EXPECT_EQ(PlainCaption(QStringLiteral("R&&D")), QStringLiteral("R&D"));
    // Full width stays: a page names ＯＫ as the window shows it, not OK.
    EXPECT_EQ(PlainCaption(QStringLiteral("ＯＫ")), QStringLiteral("ＯＫ"));
    EXPECT_NE(PlainCaption(QStringLiteral("ＯＫ")), QStringLiteral("OK"));
}

TEST(HelpPageNames, EveryKindOfCaptionAlsoOnAHiddenTab) {
    QWidget w;
    new QPushButton(QStringLiteral("ＯＫ"), &w);
    new QCheckBox(QStringLiteral("グリッド(&G)"), &w);
    new QLabel(QStringLiteral("事象名(&N):"), &w);
    new QLabel(QString(), &w);
    auto* tabs = new QTabWidget(&w);
    tabs->addTab(new QGroupBox(QStringLiteral("最大縮尺")), QStringLiteral("投影条件(&C)"));
    tabs->addTab(new QWidget, QStringLiteral("図法(&P)"));
    auto* menu = new QMenu(QStringLiteral("ファイル(&F)"), &w);
    menu->addAction(QStringLiteral("地図ビューを移動して閉じる(&M)"));
    QStringList got = testsupport::WindowCaptions(w);
    got.sort();
    QStringList want{QStringLiteral("ＯＫ"), QStringLiteral("グリッド"), QStringLiteral("事象名"), QStringLiteral("最大縮尺"),
                     QStringLiteral("投影条件"), QStringLiteral("図法"), QStringLiteral("ファイル"),
                     QStringLiteral("地図ビューを移動して閉じる")};
    want.sort();
    EXPECT_EQ(got, want);
}

TEST(HelpPageNames, OnlyBracketedNamesCountAndAWindowWithoutThemIsCaught) {
    EXPECT_EQ(testsupport::BracketedNames(QStringLiteral("<p>Esc キーで中断し、［ＯＫ］か［キャンセル］を押します。</p>")),
              (QStringList{QStringLiteral("ＯＫ"), QStringLiteral("キャンセル")}));
    EXPECT_TRUE(testsupport::BracketedNames(QStringLiteral("<p>［］</p>")).contains(QString()));
    // The pickup list's page names its OK button: a window needs one.
    QWidget window;
    EXPECT_EQ(testsupport::NamesNotInWindow(220005, window), QStringList{QStringLiteral("ＯＫ")});
    new QPushButton(QStringLiteral("ＯＫ"), &window);
    EXPECT_EQ(testsupport::NamesNotInWindow(220005, window), QStringList());
}
