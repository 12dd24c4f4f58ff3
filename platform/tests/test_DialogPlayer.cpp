// The shared player of modal dialogs in tests: it must never act inside a
// dialog's own pump, and never leave a dialog open when its action fails.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include <stdexcept>

#include "DialogPlayer.h"
#include "DoEvents.h"

namespace {

// Fills itself once shown, letting events run meanwhile, as a slow list
// does: long enough for the player's polls to come inside.
class SlowDialog : public QDialog {
public:
    bool filled = false;

protected:
    void showEvent(QShowEvent* e) override {
        QDialog::showEvent(e);
        QTimer::singleShot(0, this, [this] {
            QElapsedTimer t;
            t.start();
            while (t.elapsed() < 50) plat::DoEvents();
            filled = true;
        });
    }
};

// The failures a run reports, caught; the run returns only when the dialog
// has closed.
std::vector<std::string> FailuresOf(const std::function<void(SlowDialog&)>& act) {
    ::testing::TestPartResultArray caught;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &caught);
        SlowDialog d;
        testsupport::WhenModal<SlowDialog>(act);
        d.exec();
    }
    std::vector<std::string> failures;
    for (int i = 0; i < caught.size(); ++i) failures.push_back(caught.GetTestPartResult(i).message());
    return failures;
}

TEST(DialogPlayer, ActsOnceTheDialogIsOutOfItsPumpsAndClosesItWhateverTheAction) {
    bool filledWhenSeen = false;
    EXPECT_TRUE(FailuresOf([&](SlowDialog& d) {
                    filledWhenSeen = d.filled;
                    d.accept();
                }).empty());
    EXPECT_TRUE(filledWhenSeen);

    const auto failed = FailuresOf([](SlowDialog&) { ASSERT_TRUE(false) << "the action failed"; });
    ASSERT_FALSE(failed.empty());
    EXPECT_NE(failed[0].find("the action failed"), std::string::npos) << failed[0];

    const auto threw = FailuresOf([](SlowDialog&) { throw std::runtime_error("thrown"); });
    ASSERT_EQ(threw.size(), 1u);
    EXPECT_NE(threw[0].find("thrown"), std::string::npos) << threw[0];

    const auto open = FailuresOf([](SlowDialog&) {});
    ASSERT_EQ(open.size(), 1u);
    EXPECT_NE(open[0].find("still open"), std::string::npos) << open[0];
}

} // namespace
