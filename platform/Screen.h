// Screen facts and the mouse pointer of the whole program.
#pragma once

namespace plat {

// Mouse-pointer codes as the forms and settings give them, the MousePointer
// numbers of the Windows controls (0 default, 11 hourglass ...).
enum PointerCode : int {
    PtrDefault = 0, PtrArrow = 1, PtrCross = 2, PtrIBeam = 3, PtrSize = 5, PtrSizeNESW = 6, PtrSizeNS = 7,
    PtrSizeNWSE = 8, PtrSizeWE = 9, PtrUpArrow = 10, PtrHourglass = 11, PtrNoDrop = 12, PtrArrowHourglass = 13,
    PtrArrowQuestion = 14, PtrSizeAll = 15,
};

int ScreenPointer();
void SetScreenPointer(int code);

// Twips (1/1440 inch) per screen pixel, rounded; 15 at 96 dpi and without a screen.
double TwipsPerPixelX();
double TwipsPerPixelY();
int DoubleClickTimeMs();

} // namespace plat
