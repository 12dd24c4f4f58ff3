#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include "DialogBase.h"
#include "DialogPlayer.h"
#include "KeyCodes.h"
#include "Screen.h"
#include "TestSupport.h"

using namespace plat;

TEST(DialogPosition, FirstCentredOverTheOwnerThenWhereItWasLeftKeptOnTheScreen) {
    QWidget owner;
    owner.setGeometry(100, 80, 600, 400);
    owner.show();
    const QRect screen = owner.screen()->availableGeometry();
    DialogPosition remembered;
    QPoint left;
    // Never placed, placed by its first closing, then remembered off the screen.
    for (int round = 1; round <= 3; ++round) {
        if (round == 3) remembered = {int32_t(5000 * TwipsPerPixelX()), int32_t(-40 * TwipsPerPixelY())};
        DialogBase dlg(&owner, &remembered);
        dlg.resize(200, 100);
        dlg.show();
        const QRect frame = dlg.frameGeometry();
        const QPoint got = round == 1 ? frame.center() : round == 2 ? frame.topLeft() : frame.topRight();
        EXPECT_EQ(got, round == 1 ? owner.frameGeometry().center() : round == 2 ? left : screen.topRight()) << round;
        dlg.hide();
        left = frame.topLeft();
        EXPECT_EQ(remembered.left, std::lround(left.x() * TwipsPerPixelX()));
        EXPECT_EQ(remembered.top, std::lround(left.y() * TwipsPerPixelY()));
    }
    DialogPosition first;
    first.presetIfFirst(3000, 2000, 1500, 600);
    first.presetIfFirst(9, 9, 9, 9);  // only the first time
    EXPECT_EQ(first.left, 4500);
    EXPECT_EQ(first.top, 2600);
}

namespace {

// A dialog with a checked field, a second field, OK, Cancel and Help.
struct Fixture {
    DialogPosition remembered;
    DialogBase dlg{nullptr, &remembered};
    QLineEdit* field = new QLineEdit(&dlg);
    QLineEdit* other = new QLineEdit(&dlg);
    QPlainTextEdit* memo = new QPlainTextEdit(&dlg);
    QPushButton* ok = new QPushButton(QStringLiteral("ＯＫ"), &dlg);
    QPushButton* apply = new QPushButton(QStringLiteral("適用(&A)"), &dlg);
    QPushButton* cancel = new QPushButton(QStringLiteral("キャンセル"), &dlg);
    QRadioButton* option = new QRadioButton(QStringLiteral("図法(&1)"), &dlg);
    QCheckBox* check = new QCheckBox(QStringLiteral("自動選択(&S)"), &dlg);
    int checks = 0, okClicks = 0, applyClicks = 0, cancelClicks = 0;

    Fixture() {
        auto* lay = new QVBoxLayout(&dlg);
        for (QWidget* w : std::initializer_list<QWidget*>{field, other, memo, ok, apply, cancel, option, check})
            lay->addWidget(w);
        dlg.addFieldCheck(field, [this] {
            ++checks;
            return field->text() != QStringLiteral("bad");
        });
        dlg.exemptFromChecks(cancel);
        dlg.setOkButton(ok);
        QObject::connect(ok, &QPushButton::clicked, [this] { ++okClicks; });
        QObject::connect(apply, &QPushButton::clicked, [this] { ++applyClicks; });
        QObject::connect(cancel, &QPushButton::clicked, [this] { ++cancelClicks; });
        dlg.show();
        dlg.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dlg));
        field->setFocus();
    }
    // A click as the system delivers it: to the window, before the focus moves.
    void click(QWidget* w) {
        QTest::mouseClick(dlg.windowHandle(), Qt::LeftButton, {}, w->mapTo(&dlg, w->rect().center()));
    }
};

} // namespace

TEST(DialogFieldCheck, RefusalKeepsTheFocusAndStopsTheClick) {
    Fixture f;
    f.field->setText(QStringLiteral("bad"));
    f.click(f.ok);
    EXPECT_EQ(f.checks, 1);
    EXPECT_EQ(f.okClicks, 0);
    EXPECT_EQ(QApplication::focusWidget(), f.field);
    QTest::keyClick(f.field, Qt::Key_Tab);
    EXPECT_EQ(f.checks, 2);
    EXPECT_EQ(QApplication::focusWidget(), f.field);
    QTest::keyClick(f.field, Qt::Key_A, Qt::AltModifier);  // the mnemonic of 適用(&A)
    EXPECT_EQ(f.checks, 3);
    EXPECT_EQ(f.applyClicks, 0);
    // Cancel takes the focus without a check.
    f.click(f.cancel);
    EXPECT_EQ(f.cancelClicks, 1);
    EXPECT_EQ(f.checks, 3);

    // A value the check takes lets the click through, checked once.
    f.field->setFocus();
    f.field->setText(QStringLiteral("good"));
    f.click(f.ok);
    EXPECT_EQ(f.okClicks, 1);
    EXPECT_EQ(f.checks, 4);
    EXPECT_EQ(QApplication::focusWidget(), f.ok);
    // Leaving a control that is no field checks nothing.
    f.click(f.other);
    EXPECT_EQ(f.checks, 4);
}

TEST(DialogEnter, Policies) {
    struct Case {
        EnterPolicy policy;
        const char* text;
        bool ok;      // OK pressed
        bool moved;   // focus on OK afterwards
    } cases[] = {
        {EnterPolicy::Default, "good", false, false},
        {EnterPolicy::MoveToOK, "good", false, true},
        {EnterPolicy::MoveToOK, "bad", false, true},  // the refusal does not stop Enter
        {EnterPolicy::PressOK, "bad", true, false},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.dlg.setEnterPolicy(c.policy);
        f.field->setText(QString::fromUtf8(c.text));
        QTest::keyClick(f.field, Qt::Key_Return);
        SCOPED_TRACE(static_cast<int>(c.policy));
        EXPECT_EQ(f.checks, 1);  // once, also when the focus moves on
        EXPECT_EQ(f.okClicks, c.ok ? 1 : 0);
        EXPECT_EQ(QApplication::focusWidget() == f.ok, c.moved);
    }
}

TEST(DialogEnter, ButtonsAndMemosKeepTheirOwnEnter) {
    Fixture f;
    f.dlg.setEnterPolicy(EnterPolicy::MoveToOK);
    f.apply->setFocus();
    QTest::keyClick(f.apply, Qt::Key_Return);
    EXPECT_EQ(f.applyClicks, 1);
    f.memo->setFocus();
    QTest::keyClicks(f.memo, QStringLiteral("a"));
    QTest::keyClick(f.memo, Qt::Key_Return);
    EXPECT_EQ(f.memo->toPlainText(), QStringLiteral("a\n"));
    EXPECT_EQ(f.okClicks, 0);
}

TEST(DialogEnter, OptionsAndCheckBoxesFollowThePolicy) {
    for (EnterPolicy policy : {EnterPolicy::MoveToOK, EnterPolicy::PressOK}) {
        for (bool onOption : {true, false}) {
            Fixture f;
            f.dlg.setEnterPolicy(policy);
            QAbstractButton* b = onOption ? static_cast<QAbstractButton*>(f.option) : f.check;
            b->setFocus();
            const int checks = f.checks;
            QTest::keyClick(b, Qt::Key_Return);
            SCOPED_TRACE(QStringLiteral("policy %1, %2").arg(int(policy)).arg(onOption ? "option" : "check box").toStdString());
            EXPECT_EQ(f.okClicks, policy == EnterPolicy::PressOK ? 1 : 0);
            EXPECT_EQ(QApplication::focusWidget() == f.ok, policy == EnterPolicy::MoveToOK);
            EXPECT_FALSE(b->isChecked());   // Enter is no click on it
            EXPECT_EQ(f.checks, checks);    // no field of its own to check
        }
    }
}

namespace {
class KeyDialog : public DialogBase {
public:
    std::vector<int> keys;

protected:
    void formKeyDown(int& key, int shift) override {
        keys.push_back(key | shift << 16);
        if (key == KeyEscape) key = 0;  // taken: the dialog stays open
    }
};
} // namespace

TEST(DialogKeys, TheDialogSeesKeysFirst) {
    KeyDialog dlg;
    auto* edit = new QLineEdit(&dlg);
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_X);
    QTest::keyClicks(edit, QStringLiteral("/.-"));   // no key codes: typed as they are
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(dlg.keys, (std::vector<int>{KeyA + 23, KeyEscape}));
    EXPECT_EQ(edit->text(), QStringLiteral("x/.-"));
    EXPECT_TRUE(dlg.isVisible());
}

TEST(DialogBase, ResultPositionAndHelp) {
    // The positions below are worked out for a 96 dpi screen, 15 twips a pixel.
    if (TwipsPerPixelX() != 15 || TwipsPerPixelY() != 15)
        GTEST_SKIP() << "worked out at 96 dpi; this screen has " << 1440 / TwipsPerPixelX() << " dpi";
    DialogPosition remembered{1500, 1200};
    long opened = 0;
    const auto previous = DialogBase::SetHelpOpener([&](long id) { opened = id; });
    {
        DialogBase dlg(nullptr, &remembered);
        dlg.resize(200, 100);
        dlg.setHelpContext(252000);
        auto* help = new QPushButton(QStringLiteral("ヘルプ(&H)"), &dlg);
        dlg.setHelpButton(help);
        testsupport::WhenModal<DialogBase>([&](DialogBase&) {
            EXPECT_EQ(dlg.frameGeometry().topLeft(), QPoint(100, 80));
            help->click();
            dlg.move(30, 45);
            dlg.closeOK();
        });
        EXPECT_TRUE(dlg.showModal());
        EXPECT_EQ(opened, 252000);
        EXPECT_EQ(remembered.left, 450);  // stored back on closing
        EXPECT_EQ(remembered.top, 675);

        // Off the screen: opened at the nearest place on it.
        remembered = {99999, 99999};
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        testsupport::WhenModal<DialogBase>([&](DialogBase&) {
            EXPECT_EQ(dlg.frameGeometry().bottomRight(), QPoint(screen.width() - 1, screen.height() - 1));
            dlg.closeCancel();
        });
        EXPECT_FALSE(dlg.showModal());
        testsupport::WhenModal<DialogBase>([&](DialogBase&) {
            QTest::keyClick(&dlg, Qt::Key_Escape);
        });
        dlg.setDialogOK(true);
        EXPECT_FALSE(dlg.showModal());  // closed by Esc: not OK
    }
    DialogBase::SetHelpOpener(previous);
}
