// Time and randomness behind interfaces, so tests can fix them.
#pragma once

#include <QDateTime>

#include <cstdint>
#include <memory>

namespace plat {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;          // local time
    virtual int64_t tickCountMs() const = 0;    // monotonic milliseconds
    // Whole seconds of local time since 1970-01-01 00:00 local time: now()
    // without building a date, for callers that stamp every new object.
    virtual int64_t localSeconds() const;
};

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual double next() = 0;                  // uniform in [0, 1)
};

Clock& SystemClock();
RandomSource& Random();
// Installs replacements (nullptr restores the real ones); returns the old ones.
Clock* SetClock(Clock* c);
RandomSource* SetRandom(RandomSource* r);

inline QDateTime Now() { return SystemClock().now(); }
inline int64_t TickCount() { return SystemClock().tickCountMs(); }
inline int64_t LocalSeconds() { return SystemClock().localSeconds(); }
inline double Rnd() { return Random().next(); }

// A clock that stands still until told to move.
class FixedClock : public Clock {
public:
    explicit FixedClock(QDateTime t) : t_(std::move(t)) {}
    QDateTime now() const override { return t_; }
    int64_t tickCountMs() const override { return ticks_; }
    void set(const QDateTime& t) { t_ = t; }
    void advanceMs(int64_t ms) { ticks_ += ms; t_ = t_.addMSecs(ms); }

private:
    QDateTime t_;
    int64_t ticks_ = 0;
};

// A repeatable sequence.
class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(uint64_t seed) : s_(seed ? seed : 0x9E3779B97F4A7C15ull) {}
    double next() override;

private:
    uint64_t s_;
};

} // namespace plat
