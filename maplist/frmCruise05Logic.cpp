#include "frmCruise05Logic.h"

#include "clsCruise05.h"

#include "AppError.h"
#include "basGlobe.h"
#include "basLibrary.h"
#include "basNumberText.h"

namespace {

QString OuterBorderText(double scale) { return QStringLiteral("-------       1 /  ") + FormatStandardInt(scale); }

// A border text as a number; a text that is no number counts as 0.
double TextValue(const QString& text) {
    try {
        return JstrToDouble(text);
    } catch (const plat::AppError&) {
        return 0;
    }
}

// Runs f unless a call of the same guard is under way.
template <class F>
void Guarded(bool& busy, F f) {
    if (busy) return;
    busy = true;
    struct Reset {
        bool& b;
        ~Reset() { b = false; }
    } reset{busy};
    f();
}

} // namespace

void frmCruise05Logic::Load() {
    ExitCode = 0;
    s_.largest = OuterBorderText(MapScaleMax);
    s_.smallest = OuterBorderText(MapScaleMin);
    const int32_t m = CruiseEngine ? CruiseEngine->GetStdMapList() : 0;
    s_.administrativeEnabled = (m & clsCruise05::kMaskAdministrative) != 0;
    s_.topoEnabled = (m & clsCruise05::kMaskTopographic) != 0;
    s_.oceanEnabled = (m & clsCruise05::kMaskOcean) != 0;
    s_.trafficEnabled = (m & clsCruise05::kMaskTraffic) != 0;
    // Automatic cruise needs a complete ladder: the six world maps, the four
    // small-scale topographic ones, or Japan's two.
    s_.autoEnabled = (m & 0x7E) == 0x7E || (m & 0x780) == 0x780 || (m & 0x180000) == 0x180000;
    CruiseToControl();
}

void frmCruise05Logic::CruiseToControl() {
    Guarded(toControl_, [this] {
        if (!CruiseEngine) return;
        for (int16_t i = 1; i <= kBorders; ++i) {
            const double border = CruiseEngine->BorderScale(i);
            s_.slider[size_t(i)] = LevelOfScale(border);
            s_.text[size_t(i)] = FormatStandardInt(border);
        }
        s_.replace = CruiseEngine->EiReplace;
        s_.topo = CruiseEngine->EiTopo;
        s_.ocean = CruiseEngine->EiOcean;
        s_.traffic = CruiseEngine->EiTraffic;
        s_.autoCruise = CruiseEngine->EiAuto;
    });
}

void frmCruise05Logic::ControlToCruise() {
    Guarded(toCruise_, [this] {
        if (!CruiseEngine) return;
        for (int16_t i = 1; i <= kBorders; ++i) {
            try {
                CruiseEngine->setBorderScale(i, JstrToDouble(s_.text[size_t(i)]));
            } catch (const plat::AppError&) {
                // Validation keeps such a text out; the border stays.
            }
        }
        CruiseEngine->EiReplace = s_.replace;
        CruiseEngine->EiTopo = s_.topo;
        CruiseEngine->EiOcean = s_.ocean;
        CruiseEngine->EiTraffic = s_.traffic;
        CruiseEngine->EiAuto = s_.autoCruise;
    });
}

void frmCruise05Logic::setText(int16_t border, const QString& text) {
    if (border >= 1 && border <= kBorders) s_.text[size_t(border)] = text;
}

bool frmCruise05Logic::ValidateText(int16_t border) {
    if (border < 1 || border > kBorders) return true;
    const int16_t level = LevelOfScale(TextValue(s_.text[size_t(border)]));
    if (level >= 1 && level <= 53) {
        s_.slider[size_t(border)] = level;
        return true;
    }
    s_.text[size_t(border)] = FormatStandardInt(ScaleOfLevel(s_.slider[size_t(border)]));
    return false;
}

void frmCruise05Logic::SliderScrolled(int16_t border, int16_t level) {
    if (border < 1 || border > kBorders || level < 1 || level > 53) return;
    s_.slider[size_t(border)] = level;
    s_.text[size_t(border)] = FormatStandardInt(ScaleOfLevel(level));
}

QString frmCruise05Logic::SliderTip(int16_t level) { return QStringLiteral("1/") + ScaleLevelText(level); }

void frmCruise05Logic::DefaultScales() {
    for (int16_t i = 1; i <= kBorders; ++i) {
        s_.text[size_t(i)] = FormatStandardInt(clsCruise05::StdBorderScale(i));
        ValidateText(i);
    }
}

void frmCruise05Logic::Ok() {
    ControlToCruise();
    ExitCode = 1;
}

void frmCruise05Logic::Cancel() { ExitCode = 0; }

bool frmCruise05Logic::Execute() {
    ControlToCruise();
    bool result = false;
    if (CruiseEngine) {
        const CruiseView view = TargetPlot ? TargetPlot() : CruiseView{};
        result = CruiseEngine->Cruise(view.scale, &view.field, TargetUnits);
    }
    ExitCode = 2;
    return result;
}
