// The save reminder: once a minute (tmrSave) a minute is counted while the
// main window or the map figure list is the active window and the main
// window is not minimised; after gvSaveInterval counted minutes (0: off)
// the user is asked whether to overwrite the modified maps. Nothing is
// counted while a plot runs, and nothing is saved without a Yes.
#pragma once

#include <cstdint>

class MapViewHost;

class SaveReminder {
public:
    static constexpr int64_t kIntervalMs = 60000;

    explicit SaveReminder(MapViewHost& host) : host_(host) {}

    int16_t SaveMinuteCount = 0;

    // One tick of the minute timer.
    void tmrSave_Timer();

private:
    MapViewHost& host_;
};
