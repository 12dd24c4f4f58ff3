#include "clsNativeColor.h"

#include "ErrorMng.h"
#include "basColorLib.h"
#include "clsRegistry.h"

clsNativeColor* gvNativeColor = nullptr;

namespace {

const QString kObject = QStringLiteral("clsNativeColor");
const QString kSection = QStringLiteral("NATIVECOLOR");
constexpr int32_t kWhite = 0xFFFFFF;

// One row per grey step: the grey, then the saturation and value (per cent)
// of the twelve hues 0, 30, .., 330 degrees that follow it.
struct BaseRow {
    int grey;
    int saturation;
    int value;
};
constexpr BaseRow kBaseRows[9] = {
    {255, 20, 100}, {224, 41, 100}, {192, 67, 100}, {160, 100, 100}, {128, 27, 66},
    {96, 58, 66},   {64, 100, 66},  {32, 41, 33},   {0, 100, 33},
};

QString userKey(int16_t index) { return QStringLiteral("USER") + QString::number(index - 117); }

} // namespace

clsNativeColor::clsNativeColor() {
    colors_[0] = -1;
    int slot = 1;
    for (const BaseRow& row : kBaseRows) {
        colors_[slot++] = row.grey | row.grey << 8 | row.grey << 16;
        for (int hue = 0; hue < 360; hue += 30)
            colors_[slot++] = RgbToColor(HSVtoRGB({double(hue), row.saturation / 100.0, row.value / 100.0}));
    }
    for (int16_t i = PalUserStart(); i <= PalUserEnd(); ++i) colors_[i + 1] = kWhite;
    ReadRegistry();
}

clsNativeColor::~clsNativeColor() {
    // A destructor must not throw; a failed write loses only the user's
    // last colour changes, which the settings store reported when it failed.
    try {
        WriteRegistry();
    } catch (...) {
    }
}

int32_t clsNativeColor::Color(int16_t index) const {
    if (index < PalStart() || index > PalEnd()) return -2;
    return colors_[index + 1];
}

void clsNativeColor::setColor(int16_t index, int32_t color) {
    if (index < PalUserStart() || index > PalUserEnd()) return;
    colors_[index + 1] = color & 0xFFFFFF;
}

int16_t clsNativeColor::Attr(int16_t index) const {
    if (index == -1) return 1;
    if (index >= PalBaseStart() && index <= PalBaseEnd()) return 2;
    if (index >= PalUserStart() && index <= PalUserEnd()) return 3;
    return 0;
}

int16_t clsNativeColor::RGBtoPal(int32_t color) const {
    if (color == -1) return -1;
    if (static_cast<uint32_t>(color) & 0xFF000000u) return -2;
    for (int16_t i = 0; i <= PalEnd(); ++i)
        if (colors_[i + 1] == color) return i;
    return -2;
}

int16_t clsNativeColor::PalSpace() const {
    for (int16_t i = PalUserStart(); i <= PalUserEnd(); ++i)
        if (colors_[i + 1] == kWhite) return i;
    return -1;
}

void clsNativeColor::ReadRegistry() {
    try {
        const clsRegistry reg(kSection);
        // A slot always holds a colour, whatever a hand-edited store says.
        for (int16_t i = PalUserStart(); i <= PalUserEnd(); ++i)
            colors_[i + 1] = static_cast<int32_t>(reg.RegGetLong(userKey(i), kWhite) & 0xFFFFFF);
    } catch (...) {
        RaiseError(ErrRegistry, kObject, QStringLiteral("ReadRegistry"));
    }
}

void clsNativeColor::WriteRegistry() const {
    try {
        clsRegistry reg(kSection);
        for (int16_t i = PalUserStart(); i <= PalUserEnd(); ++i)
            reg.RegPut(userKey(i), static_cast<long long>(colors_[i + 1]));
    } catch (...) {
        RaiseError(ErrRegistry, kObject, QStringLiteral("WriteRegistry"));
    }
}
