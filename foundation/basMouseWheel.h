// Wheel scrolling of list grids. The list controls of this platform scroll
// with the wheel by themselves; the module keeps the book of the windows the
// program asked to scroll, so hooking and unhooking answer as the program
// expects (a window is hooked once; unhooking an unknown window fails).
#pragma once

#include <vector>

class QObject;

// A window as the program names it; no QtWidgets needed.
using WheelWindow = QObject*;

// False for a null window or one already hooked.
bool WheelHook(WheelWindow hwnd);
// False when the window is not hooked.
bool WheelUnhook(WheelWindow hwnd);
// Unhooks every window, the last hooked first; true when none is left.
bool WheelUnhookAll();
// The hooked windows in hooking order.
const std::vector<WheelWindow>& gvWheelWindows();
