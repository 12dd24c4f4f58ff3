// Lets pending window events run during long work on the one UI thread.
#pragma once

#include <chrono>
#include <cstdint>

namespace plat {

void DoEvents();

// How many DoEvents calls are running now: 0 while only event loops run.
// Code that must not act inside a pump of the program (a test playing the
// user, say) waits until it is back at the depth it started from.
int DoEventsDepth();

// DoEvents for loops that would call it far more often than events come:
// it lets them run at most once per pitch of the program's clock (TickCount),
// the first call always. Between runs it only clears the vector state, as
// DoEvents does.
class EventPump {
public:
    explicit EventPump(std::chrono::milliseconds pitch = std::chrono::milliseconds(8)) : pitch_(pitch.count()) {}
    void operator()();
    void Restart() { ran_ = false; }

private:
    int64_t pitch_;
    int64_t last_ = 0;
    bool ran_ = false;
};

// Set while a caller must not be re-entered from an event handler that
// DoEvents lets run; nests.
class ReentrancyGuard {
public:
    explicit ReentrancyGuard(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~ReentrancyGuard() { flag_ = was_; }
    ReentrancyGuard(const ReentrancyGuard&) = delete;
    ReentrancyGuard& operator=(const ReentrancyGuard&) = delete;

private:
    bool& flag_;
    bool was_;
};

} // namespace plat
