#include "KeyCodes.h"

#include <QKeyEvent>

namespace plat {

int KeyCodeOf(int k, bool keypad) {
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return (keypad ? KeyNumpad0 : Key0) + (k - Qt::Key_0);
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return KeyA + (k - Qt::Key_A);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return KeyF1 + (k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Backspace: return KeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return KeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return KeyReturn;
    case Qt::Key_Shift: return KeyShift;
    case Qt::Key_Control: return KeyControl;
    case Qt::Key_Alt: return KeyMenu;
    case Qt::Key_Escape: return KeyEscape;
    case Qt::Key_Space: return KeySpace;
    case Qt::Key_PageUp: return KeyPageUp;
    case Qt::Key_PageDown: return KeyPageDown;
    case Qt::Key_End: return KeyEnd;
    case Qt::Key_Home: return KeyHome;
    case Qt::Key_Left: return KeyLeft;
    case Qt::Key_Up: return KeyUp;
    case Qt::Key_Right: return KeyRight;
    case Qt::Key_Down: return KeyDown;
    case Qt::Key_Insert: return KeyInsert;
    case Qt::Key_Delete: return KeyDelete;
    case Qt::Key_Asterisk: return keypad ? KeyMultiply : 0;
    case Qt::Key_Plus: return keypad ? KeyAdd : 0;
    case Qt::Key_Minus: return keypad ? KeySubtract : 0;
    case Qt::Key_Period: return keypad ? KeyDecimal : 0;
    case Qt::Key_Slash: return keypad ? KeyDivide : 0;
    default: return 0;
    }
}

int KeyCodeOf(const QKeyEvent* e) { return KeyCodeOf(e->key(), e->modifiers().testFlag(Qt::KeypadModifier)); }

int ShiftStateOf(Qt::KeyboardModifiers m) {
    return (m.testFlag(Qt::ShiftModifier) ? ShiftMask : 0) | (m.testFlag(Qt::ControlModifier) ? CtrlMask : 0) |
           (m.testFlag(Qt::AltModifier) ? AltMask : 0);
}

} // namespace plat
