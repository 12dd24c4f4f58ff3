#include "basHMapCoord.h"

#include <cmath>

#include "ErrorMng.h"
#include "basAngle.h"
#include "basGlobe.h"
#include "basLibrary.h"
#include "basNumberText.h"

namespace {

const QString kModule = QStringLiteral("basHMap");

std::function<int32_t()>& modeSource() {
    static std::function<int32_t()> source;
    return source;
}

// The last n characters of the text with blanks in front.
QString rightAligned(const QString& text, int n) { return text.rightJustified(n, QLatin1Char(' '), false).right(n); }

QString kilometres(int32_t v) { return rightAligned(QString::number(v / 1000.0, 'f', 3) + QStringLiteral("km"), 12); }

QString coarseKilometres(int32_t v) { return rightAligned(QString::number(MapToCoarse(v)), 6) + QStringLiteral("km"); }

int32_t metresOf(const QString& text) {
    const double m = std::nearbyint(StrToMeter(text, QStringLiteral("km")));
    // Beyond 32 bits the value is no coordinate: the conversion's overflow.
    if (!(m >= -2147483648.0 && m <= 2147483647.0)) plat::ThrowRuntimeError(plat::ErrOverflow);
    return static_cast<int32_t>(m);
}

int32_t readCoordinate(const QString& text, const char* procedure) {
    try {
        switch (CurrentMapMode()) {
        case 1: return AngleSecStrToVal(text);
        case 2: return metresOf(text);
        default: return 0;
        }
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QString::fromLatin1(procedure));
    }
}

// The readers of files meet many texts that are no coordinate: they are
// turned down without an exception.
int32_t readSafe(const QString& text) {
    switch (CurrentMapMode()) {
    case 1: {
        int32_t v = 0;
        return TryAngleSecStrToVal(text, v) ? v : kInvalidCoordinate;
    }
    case 2: {
        double m = 0;
        if (!TryStrToMeter(text, QStringLiteral("km"), m)) return kInvalidCoordinate;
        m = std::nearbyint(m);
        return m >= -2147483648.0 && m <= 2147483647.0 ? static_cast<int32_t>(m) : kInvalidCoordinate;
    }
    default: return 0;
    }
}

bool inRange(int32_t v, int32_t llLimit, const QString& llRange, bool showMsg) {
    int32_t limit = 0;
    QString range;
    switch (CurrentMapMode()) {
    case 1:
        limit = llLimit;
        range = llRange;
        break;
    case 2:
        limit = MaxXY;
        range = QStringLiteral("-%1km～+%1km").arg(MaxXY / 1000);
        break;
    default: return false;
    }
    const bool ok = -limit <= v && v <= limit;
    if (!ok && showMsg) MsgOutOfRange(range);
    return ok;
}

} // namespace

void SetMapModeSource(std::function<int32_t()> source) { modeSource() = std::move(source); }

int32_t CurrentMapMode() { return modeSource() ? modeSource()() : 0; }

int32_t MapToCoarse(int32_t v) {
    switch (CurrentMapMode()) {
    case 1: return v / 60;
    case 2: return v / 1000;
    default: return 0;
    }
}

int32_t CoarseToMap(int32_t v) {
    // Saturated: a coarse value past the map's range has no 32-bit map value.
    switch (CurrentMapMode()) {
    case 1: return SafeCLng(double(v) * 60);
    case 2: return SafeCLng(double(v) * 1000);
    default: return 0;
    }
}

QString MapXToStr(int32_t x) {
    switch (CurrentMapMode()) {
    case 1: return LonToStr(x);
    case 2: return kilometres(x);
    default: return QString();
    }
}

QString MapYToStr(int32_t y) {
    switch (CurrentMapMode()) {
    case 1: return LatToStr(y);
    case 2: return kilometres(y);
    default: return QString();
    }
}

QString MapXToCoarseStr(int32_t x) {
    switch (CurrentMapMode()) {
    case 1: return LonMinToStr(MapToCoarse(x));
    case 2: return coarseKilometres(x);
    default: return QString();
    }
}

QString MapYToCoarseStr(int32_t y) {
    switch (CurrentMapMode()) {
    case 1: return LatMinToStr(MapToCoarse(y));
    case 2: return coarseKilometres(y);
    default: return QString();
    }
}

QString MapXYToStr(int32_t x, int32_t y) {
    if (CurrentMapMode() != 1 && CurrentMapMode() != 2) return QString();
    return MapXToStr(x) + QStringLiteral(", ") + MapYToStr(y);
}

QString MapXYToCoarseStr(int32_t x, int32_t y) {
    if (CurrentMapMode() != 1 && CurrentMapMode() != 2) return QString();
    return MapXToCoarseStr(x) + QStringLiteral(", ") + MapYToCoarseStr(y);
}

int32_t MapStrToX(const QString& text) { return readCoordinate(text, "MapStrToX"); }

int32_t MapStrToY(const QString& text) { return readCoordinate(text, "MapStrToY"); }

int32_t MapStrToXSafe(const QString& text) { return readSafe(text); }

int32_t MapStrToYSafe(const QString& text) { return readSafe(text); }

bool IsValidMapX(int32_t x, bool showMsg) {
    return inRange(x, 648000, QStringLiteral("180°00′00″W～180°00′00″E"), showMsg);
}

bool IsValidMapY(int32_t y, bool showMsg) {
    return inRange(y, 324000, QStringLiteral("90°00′00″S～90°00′00″N"), showMsg);
}
