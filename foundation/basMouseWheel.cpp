#include "basMouseWheel.h"

#include <algorithm>

namespace {
std::vector<WheelWindow>& windows() {
    static std::vector<WheelWindow> w;
    return w;
}
} // namespace

const std::vector<WheelWindow>& gvWheelWindows() { return windows(); }

bool WheelHook(WheelWindow hwnd) {
    if (!hwnd) return false;
    auto& w = windows();
    if (std::find(w.begin(), w.end(), hwnd) != w.end()) return false;
    w.push_back(hwnd);
    return true;
}

bool WheelUnhook(WheelWindow hwnd) {
    auto& w = windows();
    auto it = std::find(w.begin(), w.end(), hwnd);
    if (it == w.end()) return false;
    w.erase(it);
    return true;
}

bool WheelUnhookAll() {
    auto& w = windows();
    while (!w.empty())
        if (!WheelUnhook(w.back())) return false;
    return true;
}
