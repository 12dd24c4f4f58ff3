// Key codes and shift states as the key handlers of the windows test them:
// 13 Enter, 27 Esc, 32 Space, 45 Insert, 46 Delete, "0".."9" 48..57,
// "A".."Z" 65..90, the numeric pad's digits 96..105, F1 112 ...; shift
// state bits 1 Shift, 2 Ctrl, 4 Alt.
#pragma once

#include <Qt>

class QKeyEvent;

namespace plat {

enum KeyCode : int {
    KeyBack = 8, KeyTab = 9, KeyReturn = 13, KeyShift = 16, KeyControl = 17, KeyMenu = 18, KeyEscape = 27,
    KeySpace = 32, KeyPageUp = 33, KeyPageDown = 34, KeyEnd = 35, KeyHome = 36, KeyLeft = 37, KeyUp = 38,
    KeyRight = 39, KeyDown = 40, KeyInsert = 45, KeyDelete = 46, Key0 = 48, KeyA = 65, KeyNumpad0 = 96,
    KeyMultiply = 106, KeyAdd = 107, KeySubtract = 109, KeyDecimal = 110, KeyDivide = 111, KeyF1 = 112,
};
enum ShiftBits : int { ShiftMask = 1, CtrlMask = 2, AltMask = 4 };

// The key code of a Qt key (0 when it has none); keypad selects the
// numeric pad's codes for digits and operators.
int KeyCodeOf(int qtKey, bool keypad);
int KeyCodeOf(const QKeyEvent* e);
int ShiftStateOf(Qt::KeyboardModifiers m);

} // namespace plat
