#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "DialogPlayer.h"
#include "FileDialog.h"
#include "Fonts.h"
#include "MessageBox.h"
#include "ResString.h"
#include "TestSupport.h"
#include "Translations.h"

using namespace plat;

TEST(ScriptedBoxes, AnswerInOrderAndRecordWhatWasShown) {
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("保存"), IdNo).expectInput(QStringLiteral("名前"), QStringLiteral("東京"));
    EXPECT_EQ(MsgBox(QStringLiteral("保存しますか？"), MbYesNo | MbExclamation), IdNo);
    bool ok = false;
    EXPECT_EQ(InputBox(QStringLiteral("名前を入力"), QString(), QString(), 0, &ok), QStringLiteral("東京"));
    EXPECT_TRUE(ok);
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].title, QStringLiteral("KALDERO"));
    EXPECT_EQ(boxes.shown()[0].icon(), MbExclamation);
}

TEST(ScriptedBoxes, UnexpectedBoxIsRecorded) {
    ScriptedMessageBox boxes;  // the plain one: a test decides what to do with surprises
    EXPECT_EQ(MsgBox(QStringLiteral("?"), MbYesNoCancel), IdCancel);
    ASSERT_EQ(boxes.unexpected().size(), 1u);
}

TEST(ScriptedBoxes, ChoosersAnswerFromTheScript) {
    testsupport::ScriptedBoxes boxes;
    StdFont chosenFont;
    chosenFont.name = QStringLiteral("メイリオ");
    chosenFont.size = 12;
    chosenFont.bold = true;
    boxes.expectOpenFile(QStringLiteral("開く"), QStringLiteral("/maps/coast.MLL"))
        .expectSaveFile(QStringLiteral("保存"), QString())  // cancelled
        .expectFolder(QStringLiteral("フォルダ"), QStringLiteral("/maps"))
        .expect(QStringLiteral("上書き"), IdYes)
        .expectColor(RGB(1, 2, 3))
        .expectColor(0, false)
        .expectFont(chosenFont);

    FileRequest open{false, QStringLiteral("ファイルを開く"), QStringLiteral("地図(*.MLL)|*.MLL|"), QStringLiteral("a.MLL"), 1, {}};
    int index = 0;
    EXPECT_EQ(ChooseFile(open, &index), QStringLiteral("/maps/coast.MLL"));
    EXPECT_EQ(index, 1);
    FileRequest save = open;
    save.save = true;
    save.title = QStringLiteral("ファイルを保存する");
    EXPECT_EQ(ChooseFile(save), QString());
    EXPECT_EQ(ChooseFolder(QStringLiteral("フォルダ選択"), QStringLiteral("/")), QStringLiteral("/maps"));
    EXPECT_TRUE(AskYesNo(QStringLiteral("上書きしますか？")));
    EXPECT_EQ(boxes.shown().back().style, MbYesNo | MbQuestion);
    COLORREF colour = RGB(9, 9, 9);
    EXPECT_TRUE(ChooseColor(colour));
    EXPECT_EQ(colour, RGB(1, 2, 3));
    EXPECT_FALSE(ChooseColor(colour));  // cancelled: unchanged
    EXPECT_EQ(colour, RGB(1, 2, 3));
    StdFont font;
    font.italic = true;
    font.charset = 0;
    EXPECT_TRUE(ChooseFont(font));
    EXPECT_EQ(font.name, QStringLiteral("メイリオ"));
    EXPECT_EQ(font.size, 12);
    EXPECT_TRUE(font.bold);
    EXPECT_FALSE(font.italic);
    EXPECT_EQ(font.charset, 0);  // what the chooser does not set is kept
    ASSERT_EQ(boxes.fileRequests().size(), 2u);
    EXPECT_TRUE(boxes.fileRequests()[1].save);
}

TEST(ScriptedBoxes, AChooserOutOfTurnIsUnexpected) {
    ScriptedMessageBox boxes;
    boxes.expect(QStringLiteral("確認"), IdOk);
    EXPECT_EQ(ChooseFolder(QStringLiteral("フォルダ選択"), QString()), QString());
    ASSERT_EQ(boxes.unexpected().size(), 1u);
    EXPECT_EQ(boxes.unexpected()[0], QStringLiteral("folder: フォルダ選択"));
    EXPECT_EQ(boxes.pending(), 1u);
    EXPECT_EQ(MsgBox(QStringLiteral("確認")), IdOk);
}

TEST(FileFilters, QtNameFiltersKeepThePatterns) {
    struct Case {
        const char* filter;
        const char* expected;  // joined by " / "
    } cases[] = {
        {"経緯度地図ユニット(*.MLL)|*.MLL|", "経緯度地図ユニット(*.MLL) (*.MLL)"},
        {"画像|*.BMP;*.png|すべて(*.*)|*.*|", "画像 (*.BMP *.png) / すべて(*.*) (*)"},
        {"地名辞典|GAZET_*.TXT", "地名辞典 (GAZET_*.TXT)"},
        {"説明だけ|", "説明だけ (*)"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QtNameFilters(QString::fromUtf8(c.filter)).join(QStringLiteral(" / ")), QString::fromUtf8(c.expected)) << c.filter;
}

// The type list of the real dialog: a file of either case under its type,
// and the type's own extension in the name box, never a pattern.
TEST(FileFilters, TheTypeListListsEitherCaseAndPutsItsExtensionOnTheName) {
    testsupport::TempDir dir;
    for (const char* name : {"a.MLL", "b.mll", "c.MXY", "d.txt"}) testsupport::WriteBytes(dir.file(QString::fromLatin1(name)), "x");
    const QString filter = QStringLiteral("経緯度地図ファイル(*.MLL)|*.MLL|ＸＹ地図ファイル(*.MXY)|*.MXY|すべて(*.*)|*.*|");
    for (const bool save : {true, false}) {
        SCOPED_TRACE(save ? "save" : "open");
        FileDialog d({save, QStringLiteral("種類"), filter, dir.file(QStringLiteral("USER.MXY")), 2, {}});
        d.show();
        const auto listed = [&d] {
            const auto* list = d.findChild<QListView*>(QStringLiteral("listView"));
            QStringList names;
            for (int r = 0; list && r < list->model()->rowCount(list->rootIndex()); ++r)
                names << list->model()->index(r, 0, list->rootIndex()).data().toString();
            names.sort();
            return names;
        };
        testsupport::ChooseFileType(d, 1);
        EXPECT_EQ(testsupport::FileNameBox(d), QStringLiteral("USER.MLL"));
        EXPECT_TRUE(QTest::qWaitFor([&] { return listed() == QStringList({"a.MLL", "b.mll"}); }, 60000))
            << listed().join(QLatin1Char(' ')).toStdString();
        testsupport::TypeFileName(d, QStringLiteral("JAPAN"));
        testsupport::ChooseFileType(d, 2);
        EXPECT_EQ(testsupport::FileNameBox(d), QStringLiteral("JAPAN.MXY")) << "added to a name without one";
        testsupport::ChooseFileType(d, 3);
        EXPECT_EQ(testsupport::FileNameBox(d), QStringLiteral("JAPAN.MXY")) << "every file: the name stays";
        d.reject();
    }
}

namespace {

struct QtChoosers {
    MessageBoxProvider* previous = SetMessageBoxProvider(nullptr);
    ~QtChoosers() { SetMessageBoxProvider(previous); }
};

} // namespace

TEST(QtChoosers, FileFolderColourAndFont) {
    QtChoosers qt;
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir.file(QStringLiteral("coast.mll")), "x");
    FileRequest req{false, QStringLiteral("ファイルを開く"), QStringLiteral("経緯度地図(*.MLL)|*.MLL|ＸＹ地図(*.MXY)|*.MXY|"),
                    dir.file(QStringLiteral("x.MXY")), 2, {}};
    testsupport::WhenModal<QFileDialog>([&](QFileDialog* d) {
        EXPECT_EQ(d->windowTitle(), req.title);
        EXPECT_TRUE(QtNameFilters(req.filter)[1].startsWith(d->selectedNameFilter()));  // the entry asked for
        d->selectNameFilter(QtNameFilters(req.filter)[0]);
        d->selectFile(dir.file(QStringLiteral("coast.mll")));
        QMetaObject::invokeMethod(d, "accept");  // as the Open button does
    });
    int index = 0;
    EXPECT_EQ(ChooseFile(req, &index), dir.file(QStringLiteral("coast.mll")));
    EXPECT_EQ(index, 1);
    testsupport::WhenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
    EXPECT_EQ(ChooseFile(req), QString());

    testsupport::WhenModal<QColorDialog>([](QColorDialog* d) {
        EXPECT_EQ(d->currentColor(), QColor(10, 20, 30));
        d->setCurrentColor(QColor(200, 100, 50));
        d->accept();
    });
    COLORREF colour = RGB(10, 20, 30);
    EXPECT_TRUE(ChooseColor(colour));
    EXPECT_EQ(colour, RGB(200, 100, 50));

    // A font taken as it was keeps its face name from the settings.
    StdFont font;
    font.name = QStringLiteral("ＭＳ Ｐゴシック");
    font.size = 11;
    testsupport::WhenModal<QFontDialog>([](QFontDialog* d) {
        QFont f = d->currentFont();
        f.setStyleName(QStringLiteral("Bold"));  // as the style list sets it
        d->setCurrentFont(f);
        d->accept();
    });
    EXPECT_TRUE(ChooseFont(font));
    EXPECT_EQ(font.name, QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(font.size, 11);
    EXPECT_TRUE(font.bold);
}

namespace {

QStringList textsOf(const QList<QAbstractButton*>& buttons) {
    QStringList texts;
    for (const QAbstractButton* b : buttons) texts << b->text();
    return texts;
}

} // namespace

// Qt's dialogs speak Japanese whatever the user's locale (ctest runs this
// once more under LANG=C), and every OK reads as in the program's dialogs.
TEST(QtChoosers, SpeakJapaneseAndSayOKAsTheProgramsDialogs) {
    ASSERT_TRUE(InstallJapaneseTranslations()) << "Qt's Japanese translations (qt6-translations-l10n)";
    EXPECT_EQ(QLocale().toString(1234.5), QStringLiteral("1,234.5"));
    QtChoosers qt;
    testsupport::WhenModal<QFileDialog>([](QFileDialog* d) {
        QStringList labels;
        for (const QLabel* l : d->findChildren<QLabel*>()) labels << l->text();
        for (const char* label : {"ファイル名(&N):", "ファイルの種類:"})
            EXPECT_TRUE(labels.contains(QString::fromUtf8(label))) << labels.join(QLatin1Char('|')).toStdString();
        const QStringList buttons = textsOf(d->findChildren<QAbstractButton*>());
        EXPECT_TRUE(buttons.contains(QStringLiteral("保存(&S)")) && buttons.contains(QStringLiteral("キャンセル")))
            << buttons.join(QLatin1Char('|')).toStdString();
        const QTreeView* details = d->findChild<QTreeView*>();
        ASSERT_NE(details, nullptr);
        EXPECT_EQ(details->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("名前"));
        d->reject();
    });
    EXPECT_EQ(ChooseFile({true, QStringLiteral("名前を付けて保存"), QString(), QString(), 1, {}}), QString());
    testsupport::WhenModal<QColorDialog>([](QColorDialog* d) {
        const QStringList buttons = textsOf(d->findChildren<QAbstractButton*>());
        EXPECT_TRUE(buttons.contains(QStringLiteral("ＯＫ")) && buttons.contains(QStringLiteral("キャンセル")))
            << buttons.join(QLatin1Char('|')).toStdString();
        d->reject();
    });
    COLORREF colour = 0;
    EXPECT_FALSE(ChooseColor(colour));
    testsupport::WhenModal<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(textsOf(box->buttons()), QStringList{QStringLiteral("ＯＫ")});
        box->buttons().at(0)->click();
    });
    EXPECT_EQ(MsgBox(QStringLiteral("保存しました.")), IdOk);
}

// Qt's font dialog lists a family once per foundry; ours lists it once,
// under its name, and a chosen family is kept without the foundry.
TEST(QtChoosers, FontDialogNamesEachFamilyOnce) {
    QtChoosers qt;
    StdFont font;
    font.name = QStringLiteral("Arial");
    QString repeated;
    testsupport::WhenModal<QFontDialog>([&](QFontDialog* d) {
        QListView* families = d->findChild<QListView*>();
        const auto* names = qobject_cast<const QStyledItemDelegate*>(families->itemDelegate());
        ASSERT_NE(names, nullptr);
        QSet<QString> shown;
        for (int row = 0; row < families->model()->rowCount(); ++row) {
            const QString listed = families->model()->index(row, 0).data().toString();
            if (!families->isRowHidden(row)) {
                const QString name = names->displayText(listed, QLocale());
                EXPECT_TRUE(!shown.contains(name) && !name.endsWith(QLatin1Char(']'))) << listed.toStdString();
                shown.insert(name);
            } else if (repeated.isEmpty()) {   // choosing it takes the entry shown for its family
                repeated = FontFamilyName(listed);
                families->setCurrentIndex(families->model()->index(row, 0));
                EXPECT_FALSE(families->isRowHidden(families->currentIndex().row()));
            }
        }
        d->accept();
    });
    EXPECT_TRUE(ChooseFont(font));
    if (repeated.isEmpty()) GTEST_SKIP() << "no family of several foundries installed";
    EXPECT_EQ(font.name, repeated);
}

TEST(StringTable, HoldsTheFileErrorTexts) {
    EXPECT_EQ(LoadResString(6000), QStringLiteral("不明なドライブ関連エラーです."));
    EXPECT_EQ(LoadResString(6061), QStringLiteral("ドライブが満杯です."));
    EXPECT_EQ(LoadResString(6056), QString());
}
