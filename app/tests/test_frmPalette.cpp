// The palette popup: where a colour is marked on opening (and that it is not
// stored before the user picks it), moves by keys with their wrap-round,
// picking by mouse, editing user colours, the tooltips, a picture of the
// popup, and the popup opened for real through InputNativeColor.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "DialogPlayer.h"
#include "FileOpenSave.h"
#include "KeyCodes.h"
#include "TestSupport.h"
#include "clsNativeColor.h"
#include "clsRegistry.h"
#include "frmPalette.h"

namespace {

constexpr int32_t kOdd = 0x123457;        // in no slot of the palette
constexpr int32_t kSystem = static_cast<int32_t>(0x80000005u);
constexpr int16_t kNothing = PaletteLogic::kNothing;

class Palette : public ::testing::Test {
protected:
    Palette() {
        clsRegistry(QStringLiteral("NATIVECOLOR")).RegDelete(QString());
        palette_ = std::make_unique<clsNativeColor>();
    }
    ~Palette() override {
        palette_.reset();
        clsRegistry(QStringLiteral("NATIVECOLOR")).RegDelete(QString());
    }
    PaletteLogic opened(int32_t colour, bool wild) {
        PaletteLogic l;
        l.Palette = palette_.get();
        l.Color = colour;
        l.WildMode = wild;
        EXPECT_TRUE(l.Load());
        return l;
    }
    std::vector<int32_t> userColours() const {
        std::vector<int32_t> c;
        for (int16_t i = 117; i <= 129; ++i) c.push_back(palette_->Color(i));
        return c;
    }
    std::unique_ptr<clsNativeColor> palette_;
};

TEST_F(Palette, OpeningMarksWithoutStoring) {
    const int32_t base = palette_->Color(40);
    struct Case {
        const char* what;
        int32_t colour;
        bool wild;
        int16_t taken;        // user slots 117.. holding a colour first
        int16_t current;
        int16_t pending;
    } cases[] = {
        {"a base colour", base, false, 0, 40, kNothing},
        {"a colour not in the palette", kOdd, true, 0, 117, 117},
        {"the first white user slot", kOdd, false, 3, 120, 120},
        {"no white user slot: the first", kOdd, false, 13, 117, 117},
        {"a system colour", kSystem, true, 0, kNothing, kNothing},
        {"the thing's colour", -1, true, 0, -1, kNothing},
        {"the thing's colour without wild mode", -1, false, 0, kNothing, kNothing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int16_t i = 117; i <= 129; ++i) palette_->setColor(i, i - 117 < c.taken ? 0x010101 * (i - 100) : 0xFFFFFF);
        const std::vector<int32_t> before = userColours();
        const PaletteLogic l = opened(c.colour, c.wild);
        EXPECT_EQ(l.Current(), c.current);
        EXPECT_EQ(l.PendingSlot(), c.pending);
        EXPECT_EQ(l.First(), c.wild ? -1 : 0);
        if (c.pending != kNothing) {
            EXPECT_EQ(l.CellColor(c.pending), c.colour);
        }
        EXPECT_EQ(userColours(), before) << "opening stores nothing";
    }
}

TEST_F(Palette, TheWaitingColourIsStoredOnlyWhenPicked) {
    {
        PaletteLogic l = opened(kOdd, false);
        EXPECT_EQ(l.KeyDown(plat::KeyRight), PaletteLogic::KeyOutcome::Handled);
        EXPECT_EQ(l.KeyDown(plat::KeyReturn), PaletteLogic::KeyOutcome::Chosen);
        EXPECT_EQ(l.Color, palette_->Color(118));
        EXPECT_EQ(palette_->Color(117), 0xFFFFFF);
    }
    {
        PaletteLogic l = opened(kOdd, false);
        EXPECT_EQ(l.KeyDown(plat::KeyEscape), PaletteLogic::KeyOutcome::Closed);
        EXPECT_FALSE(l.OK);
        EXPECT_EQ(palette_->Color(117), 0xFFFFFF);
    }
    PaletteLogic l = opened(kOdd, false);
    EXPECT_TRUE(l.LeftDown(117));
    EXPECT_TRUE(l.OK);
    EXPECT_EQ(l.Color, kOdd);
    EXPECT_EQ(palette_->Color(117), kOdd);
    // Nothing marked: Enter closes without a choice.
    PaletteLogic none = opened(kSystem, false);
    EXPECT_EQ(none.KeyDown(plat::KeyReturn), PaletteLogic::KeyOutcome::Closed);
    EXPECT_FALSE(none.OK);
}

TEST_F(Palette, KeysMoveAndWrapRound) {
    // User colours of their own, so each marks its slot.
    for (int16_t i = 117; i <= 129; ++i) palette_->setColor(i, 0x0A0B00 + i);
    struct Case {
        bool wild;
        int16_t from;
        int key;
        int16_t to;
    } cases[] = {
        {false, 5, plat::KeyUp, 122},      // to the bottom rows
        {true, 5, plat::KeyUp, -1},        // to the bar
        {true, -1, plat::KeyDown, 0},
        {true, -1, plat::KeyLeft, 129},
        {false, 0, plat::KeyLeft, 129},
        {false, 129, plat::KeyRight, 0},
        {true, 129, plat::KeyRight, -1},
        {true, 125, plat::KeyDown, 7},     // 138 less 131 entries
        {false, 125, plat::KeyDown, 8},
        {false, 40, plat::KeyA + 2, 41},   // column C of row 3
        {false, 40, plat::Key0, 1},        // row 0 of column B
        {false, 40, plat::KeyNumpad0 + 9, 118},
        {true, -1, plat::KeyA + 12, 12},
        {true, -1, plat::Key0 + 9, 117},
        {false, kNothing, plat::KeyDown, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.wild << " " << c.from << " key " << c.key);
        const int32_t colour = c.from == kNothing ? kSystem : c.from == -1 ? -1 : palette_->Color(c.from);
        PaletteLogic l = opened(colour, c.wild);
        ASSERT_EQ(l.Current(), c.from);
        EXPECT_EQ(l.KeyDown(c.key), PaletteLogic::KeyOutcome::Handled);
        EXPECT_EQ(l.Current(), c.to);
    }
    PaletteLogic l = opened(palette_->Color(40), false);
    for (int key : {plat::Key0 + 10, plat::KeyA + 13, int(plat::KeyF1)}) {
        EXPECT_EQ(l.KeyDown(key), PaletteLogic::KeyOutcome::Ignored) << key;
        EXPECT_EQ(l.Current(), 40);
    }
}

TEST_F(Palette, EditingUserColours) {
    std::vector<int32_t> asked;
    int32_t answer = -1;
    auto withEditor = [&](PaletteLogic l) {
        l.EditColor = [&](int32_t c) {
            asked.push_back(c);
            return answer;
        };
        return l;
    };
    const int32_t base = palette_->Color(40);
    // The right button on a base colour copies it into a user slot and edits
    // that; cancelling the chooser keeps the copy.
    PaletteLogic l = withEditor(opened(0, false));
    l.RightDown(40);
    EXPECT_EQ(l.Current(), 117);
    EXPECT_EQ(palette_->Color(117), base);
    EXPECT_EQ(asked, std::vector<int32_t>{base});
    answer = 0x00FF00;
    EXPECT_EQ(l.KeyDown(plat::KeyF1 + 1), PaletteLogic::KeyOutcome::Handled);
    EXPECT_EQ(palette_->Color(117), 0x00FF00);
    // The waiting colour edited is stored as edited; a base copy skips its slot.
    PaletteLogic w = withEditor(opened(kOdd, true));
    EXPECT_EQ(w.Current(), 118);
    answer = 0x0000FF;
    EXPECT_EQ(w.KeyDown(plat::KeySpace), PaletteLogic::KeyOutcome::Handled);
    EXPECT_EQ(asked.back(), kOdd);
    EXPECT_EQ(palette_->Color(118), 0x0000FF);
    EXPECT_EQ(w.PendingSlot(), kNothing);
    PaletteLogic p = withEditor(opened(kOdd, true));
    answer = -1;
    p.RightDown(3);
    EXPECT_EQ(p.Current(), 120);
    EXPECT_EQ(p.PendingSlot(), 119);
    // The bar and the space beside the cells edit nothing.
    const size_t calls = asked.size();
    p.RightDown(-1);
    p.RightDown(kNothing);
    EXPECT_EQ(asked.size(), calls);
}

TEST_F(Palette, HitsAndTips) {
    constexpr int c = 18, w = 13 * c + 3, h = 11 * c + 3;
    struct Case {
        int x, y;
        int16_t wild, plain;
    } cases[] = {
        {0, 0, -1, kNothing},
        {5, c, 0, 0},
        {w - 1, h - 1, kNothing, kNothing},   // beside the last column
        {12 * c + 1, 10 * c + 1, 129, 129},
        {12 * c + 1, 11 * c, kNothing, kNothing},
        {-1, c, kNothing, kNothing},
        {3, h, kNothing, kNothing},
    };
    const PaletteLogic wild = opened(0, true), plain = opened(0, false);
    for (const Case& k : cases) {
        EXPECT_EQ(wild.Hit(k.x, k.y, c, w, h), k.wild) << k.x << "," << k.y;
        EXPECT_EQ(plain.Hit(k.x, k.y, c, w, h), k.plain) << k.x << "," << k.y;
    }
    palette_->setColor(117, 0x030201);
    EXPECT_EQ(wild.TipText(-1), "事象リストに従う");
    EXPECT_EQ(wild.TipText(117), "ユーザー色（右クリックで変更可能） / (R,G,B)=(1,2,3)");
    EXPECT_TRUE(wild.TipText(0).startsWith(QStringLiteral("基本色 / (R,G,B)=(")));
    EXPECT_EQ(wild.TipText(kNothing), QString());
}

TEST_F(Palette, PictureOfThePopup) {
    PaletteLogic l = opened(kOdd, true);
    frmPalette popup(l);
    const QString png = testsupport::SaveWidgetPng(&popup);
    const QImage shot(png);
    ASSERT_FALSE(shot.isNull());
    const QPoint waiting = popup.picture()->mapTo(&popup, popup.picture()->cellOrigin(117)) + QPoint(8, 8);
    EXPECT_EQ(shot.pixel(waiting) & 0xFFFFFF, 0x573412u) << "the waiting colour is shown in its slot";
    PaletteLogic none = opened(kSystem, false);
    frmPalette plain(none);
    testsupport::SaveWidgetPng(&plain, QStringLiteral("plain"));
}

TEST_F(Palette, PopupThroughTheWindowsWrapper) {
    clsNativeColor* const old = std::exchange(gvNativeColor, palette_.get());
    struct Case {
        int32_t colour;
        std::vector<int> keys;
        int32_t result;
    } cases[] = {
        {palette_->Color(40), {plat::KeyRight, plat::KeyReturn}, palette_->Color(41)},
        {palette_->Color(40), {plat::KeyEscape}, -2},
        {kOdd, {plat::KeyReturn}, kOdd},
        {-1, {plat::KeyReturn}, -1},
    };
    for (const Case& c : cases) {
        testsupport::WhenModal<frmPalette>([&](frmPalette& popup) {
            QApplication::setActiveWindow(&popup);
            popup.picture()->setFocus();
            for (int key : c.keys) {
                const Qt::Key qt = key == plat::KeyReturn ? Qt::Key_Return
                                 : key == plat::KeyEscape ? Qt::Key_Escape
                                                          : Qt::Key_Right;
                QTest::keyClick(popup.picture(), qt);
            }
        });
        EXPECT_EQ(mainform::InputNativeColor(c.colour), c.result) << c.colour;
    }
    gvNativeColor = old;
}

} // namespace
