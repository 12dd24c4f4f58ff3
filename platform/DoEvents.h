// Lets pending window events run during long work on the one UI thread.
#pragma once

namespace plat {

void DoEvents();

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
