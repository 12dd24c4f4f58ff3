// Local seconds: the quick path of the real clock against its own dates.
#include <gtest/gtest.h>

#include <QDateTime>

#include "Clock.h"

namespace {

int64_t secondsOf(const QDateTime& t) {
    return QDate(1970, 1, 1).daysTo(t.date()) * 86400 + t.time().msecsSinceStartOfDay() / 1000;
}

TEST(Clock, LocalSecondsAgreeWithTheLocalDate) {
    // A fixed clock counts from its date, before 1970 as well.
    const std::pair<QDateTime, int64_t> fixed[] = {
        {QDateTime(QDate(1970, 1, 1), QTime(0, 0)), 0},
        {QDateTime(QDate(1969, 12, 31), QTime(23, 59, 59)), -1},
        {QDateTime(QDate(2026, 12, 7), QTime(10, 0, 30)), 1796637630},
    };
    for (const auto& [t, s] : fixed) EXPECT_EQ(plat::FixedClock(t).localSeconds(), s) << t.toString().toStdString();

    // The real clock keeps the zone's offset for a second: it still reads
    // the same as its date, whichever came first across a second's turn.
    plat::Clock& real = plat::SystemClock();
    for (int i = 0; i < 3; ++i) {
        const int64_t before = secondsOf(real.now());
        const int64_t quick = real.localSeconds();
        const int64_t after = secondsOf(real.now());
        EXPECT_LE(before, quick);
        EXPECT_LE(quick, after);
    }
}

} // namespace
