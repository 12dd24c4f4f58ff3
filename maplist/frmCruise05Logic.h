// What the cruise settings dialog holds and does, without its widgets: the
// working copy of the engine's switches and seven border scales (each as a
// denominator text and a zoom level 1..53), what the installed maps allow,
// and the buttons. The widget (frmCruise05) shows the state and passes the
// user's actions here.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <functional>

#include "clsRect.h"

class clsCruise05;
class clsMapUnits;

// The view the run button cruises: the scale denominator and the field
// (arc-seconds) of the latitude/longitude plot engine.
struct CruiseView {
    double scale = 0;
    clsRect field;
};

class frmCruise05Logic {
public:
    static constexpr int16_t kBorders = 7;
    static constexpr long kHelpContext = 230006;

    // Set by the caller before the dialog opens, cleared after it.
    clsCruise05* CruiseEngine = nullptr;
    clsMapUnits* TargetUnits = nullptr;
    std::function<CruiseView()> TargetPlot;
    // 0 cancelled, 1 OK, 2 cruise run.
    int32_t ExitCode = 0;

    struct State {
        // Index 1..7 (0 unused): border i between level i and i + 1.
        std::array<QString, kBorders + 1> text;
        std::array<int16_t, kBorders + 1> slider{};
        bool replace = false, topo = false, ocean = false, traffic = false, autoCruise = false;
        // What the installed maps allow.
        bool administrativeEnabled = false, topoEnabled = false, oceanEnabled = false, trafficEnabled = false,
             autoEnabled = false;
        QString largest;   // the fixed outer borders, as the labels show them
        QString smallest;
    };
    const State& state() const { return s_; }

    // Opening: exit code 0, the outer borders, what the availability mask
    // allows, then the engine's settings.
    void Load();
    void CruiseToControl();
    // Borders whose text is no number, and values the engine refuses, leave
    // the engine's border as it was.
    void ControlToCruise();

    // -- the user's actions
    void setText(int16_t border, const QString& text);
    // The border text checked (on leaving the box, and on Enter in it): a
    // denominator of an allowed scale moves the slider to its zoom level and
    // keeps the text as typed; anything else gets the text of the slider's
    // level. False then, so that a box being left keeps the focus.
    bool ValidateText(int16_t border);
    // The slider moved to a zoom level: the text follows.
    void SliderScrolled(int16_t border, int16_t level);
    // "1/" and the short text of the level's denominator, shown while dragging.
    static QString SliderTip(int16_t level);
    void setReplace(bool v) { s_.replace = v; }
    void setTopo(bool v) { s_.topo = v; }
    void setOcean(bool v) { s_.ocean = v; }
    void setTraffic(bool v) { s_.traffic = v; }
    void setAutoCruise(bool v) { s_.autoCruise = v; }

    // The standard borders into the texts and sliders; the engine is not
    // changed.
    void DefaultScales();
    // Exit codes of the buttons; the widget closes afterwards.
    void Ok();
    void Cancel();
    // Takes the settings and cruises the target view (the engine's messages
    // included); the result of the cruise.
    bool Execute();

private:
    State s_;
    bool toControl_ = false;
    bool toCruise_ = false;
};
