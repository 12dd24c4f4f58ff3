#include "Screen.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QStyleHints>

#include <cmath>

namespace plat {

namespace {

int gPointer = 0;
bool gOverride = false;

Qt::CursorShape shapeOf(int code) {
    switch (code) {
    case PtrCross: return Qt::CrossCursor;
    case PtrIBeam: return Qt::IBeamCursor;
    case PtrSize:
    case PtrSizeAll: return Qt::SizeAllCursor;
    case PtrSizeNESW: return Qt::SizeBDiagCursor;
    case PtrSizeNS: return Qt::SizeVerCursor;
    case PtrSizeNWSE: return Qt::SizeFDiagCursor;
    case PtrSizeWE: return Qt::SizeHorCursor;
    case PtrUpArrow: return Qt::UpArrowCursor;
    case PtrHourglass: return Qt::WaitCursor;
    case PtrNoDrop: return Qt::ForbiddenCursor;
    case PtrArrowHourglass: return Qt::BusyCursor;
    case PtrArrowQuestion: return Qt::WhatsThisCursor;
    default: return Qt::ArrowCursor;
    }
}

QGuiApplication* gui() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()); }

double twipsPerPixel(bool x) {
    QGuiApplication* app = gui();
    if (!app || !QGuiApplication::primaryScreen()) return 15;
    double dpi = x ? QGuiApplication::primaryScreen()->logicalDotsPerInchX() : QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    if (dpi <= 0) return 15;
    return std::nearbyint(1440.0 / dpi);
}

} // namespace

int ScreenPointer() { return gPointer; }

void SetScreenPointer(int code) {
    gPointer = code;
    if (!gui()) return;
    if (gOverride) {
        QGuiApplication::restoreOverrideCursor();
        gOverride = false;
    }
    if (code != PtrDefault) {
        QGuiApplication::setOverrideCursor(QCursor(shapeOf(code)));
        gOverride = true;
    }
}

double TwipsPerPixelX() { return twipsPerPixel(true); }
double TwipsPerPixelY() { return twipsPerPixel(false); }

int DoubleClickTimeMs() {
    if (!gui()) return 500;
    return QGuiApplication::styleHints()->mouseDoubleClickInterval();
}

} // namespace plat
