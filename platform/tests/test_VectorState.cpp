// The wide-register state that Qt's vector code leaves behind is cleared
// by the program's own entry points.
#include <gtest/gtest.h>

#include <QImage>
#include <QObject>

#include <functional>

#include "Clock.h"
#include "DoEvents.h"
#include "VectorState.h"

namespace {

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// All ones into a 256-bit register (a zeroing idiom would leave the state
// clean). Built without AVX enabled, so that the compiler adds no clearing
// after it; only reached where the in-use query, and so AVX, exists.
void dirtyByHand() { __asm__ volatile("vcmpps $15, %%ymm1, %%ymm1, %%ymm1" ::: "xmm1"); }
#else
void dirtyByHand() {}
#endif

void dirtyByQt() {
    QImage img(1024, 256, QImage::Format_RGB32);
    img.fill(Qt::white);
}

TEST(VectorState, EntryPointsLeaveTheUpperStateClear) {
    if (!plat::HasInUseQuery()) {
        GTEST_SKIP() << "this processor cannot report the state in use";
    }
    struct Case {
        const char* name;
        std::function<void()> dirty;
        bool surelyDirty;
        std::function<void()> clear;
    };
    const Case cases[] = {
        {"by hand, cleared", dirtyByHand, true, plat::ClearUpperVectorState},
        {"by hand, events", dirtyByHand, true, plat::DoEvents},
        {"by hand, pump between runs", dirtyByHand, true, [] {
             plat::EventPump pump(std::chrono::hours(1));
             pump();
             dirtyByHand();
             pump();
         }},
        {"image fill, cleared", dirtyByQt, false, plat::ClearUpperVectorState},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.dirty();
        if (c.surelyDirty) {
            EXPECT_TRUE(plat::UpperVectorStateInUse());
        }
        c.clear();
        EXPECT_FALSE(plat::UpperVectorStateInUse());
    }
}

// The pump lets events run at its first call and then once per pitch.
TEST(EventPump, RunsEventsAtMostOncePerPitch) {
    plat::FixedClock clock(QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
    plat::Clock* const previous = plat::SetClock(&clock);
    int ran = 0;
    QObject target;
    auto post = [&] { QMetaObject::invokeMethod(&target, [&] { ++ran; }, Qt::QueuedConnection); };
    plat::EventPump pump(std::chrono::milliseconds(40));
    post();
    pump();
    EXPECT_EQ(ran, 1);
    post();
    clock.advanceMs(39);
    pump();   // within the pitch: the event waits
    EXPECT_EQ(ran, 1);
    clock.advanceMs(1);
    pump();
    EXPECT_EQ(ran, 2);
    post();
    pump.Restart();
    pump();
    EXPECT_EQ(ran, 3);
    plat::SetClock(previous);
}

} // namespace
