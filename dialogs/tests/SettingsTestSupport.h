// What the tests of the settings dialogs share: a fake application state
// behind the dialogs' host, the map mode of the coordinate texts, and the
// angle format put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "SettingsDialogs.h"
#include "TestSupport.h"
#include "basAngle.h"
#include "basHMapCoord.h"

namespace settingstest {

struct FakeHost {
    EnvironmentState state;
    std::vector<EnvironmentState> written;
    int redraws = 0;
    std::vector<plat::StdFont> fontsAsked;
    std::optional<plat::StdFont> fontAnswer;   // none: cancelled
    int32_t mode = 1;
    SettingsDialogHost previous;

    FakeHost() {
        state.MapFolder = QStringLiteral("/maps");
        state.StartMapFile = QStringLiteral("WORLD_T3.MLL");
        state.HomeLon = 135 * 3600;
        state.HomeLat = 35 * 3600;
        state.HomeScaleLL = 3e7;
        state.HomeX = -12000;
        state.HomeY = 34000;
        state.HomeScaleXY = 5e5;
        state.AngleValue = 1;
        state.AngleUnit = 2;
        state.AngleDirection = 2;
        SettingsDialogHost h;
        h.plotWindow = [this] { ++redraws; };
        h.readEnvironment = [this] { return state; };
        h.writeEnvironment = [this](const EnvironmentState& s) {
            written.push_back(s);
            state = s;
        };
        h.inputFont = [this](plat::StdFont& f) {
            fontsAsked.push_back(f);
            if (!fontAnswer) return false;
            f = *fontAnswer;
            return true;
        };
        previous = SetSettingsDialogHost(std::move(h));
        SetMapModeSource([this] { return mode; });
        SetAngleUnit(1);
        SetAngleSymbol(2);
        SetAngleDirStyle(2);
    }
    ~FakeHost() {
        SetSettingsDialogHost(std::move(previous));
        SetMapModeSource({});
        SetAngleUnit(1);
        SetAngleSymbol(2);
        SetAngleDirStyle(2);
    }
};

} // namespace settingstest
