#include "Clock.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <climits>

namespace plat {

namespace {

class RealClock : public Clock {
public:
    RealClock() { timer_.start(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    int64_t tickCountMs() const override { return timer_.elapsed(); }
    int64_t localSeconds() const override {
        const int64_t utc = QDateTime::currentSecsSinceEpoch();
        // The zone's offset at most once a second: each look-up reads the
        // zone file again.
        if (utc != offsetAt_) {
            offset_ = QDateTime::fromSecsSinceEpoch(utc).offsetFromUtc();
            offsetAt_ = utc;
        }
        return utc + offset_;
    }

private:
    QElapsedTimer timer_;
    mutable int64_t offsetAt_ = INT64_MIN;
    mutable int64_t offset_ = 0;
};

class RealRandom : public RandomSource {
public:
    double next() override { return QRandomGenerator::global()->generateDouble(); }
};

Clock* gClock = nullptr;

const QDate kEpoch(1970, 1, 1);
RandomSource* gRandom = nullptr;

} // namespace

int64_t Clock::localSeconds() const {
    const QDateTime t = now();
    return kEpoch.daysTo(t.date()) * 86400 + t.time().msecsSinceStartOfDay() / 1000;
}

Clock& SystemClock() {
    static RealClock real;
    return gClock ? *gClock : real;
}

RandomSource& Random() {
    static RealRandom real;
    return gRandom ? *gRandom : real;
}

Clock* SetClock(Clock* c) {
    Clock* old = gClock;
    gClock = c;
    return old;
}

RandomSource* SetRandom(RandomSource* r) {
    RandomSource* old = gRandom;
    gRandom = r;
    return old;
}

double SeededRandom::next() {
    // xorshift64*: small, fast and good enough for identifiers in tests.
    s_ ^= s_ >> 12;
    s_ ^= s_ << 25;
    s_ ^= s_ >> 27;
    uint64_t r = s_ * 0x2545F4914F6CDD1Dull;
    return static_cast<double>(r >> 11) * (1.0 / 9007199254740992.0);
}

} // namespace plat
