// What the load and save dialogs of a map unit show while the unit's files
// are read or written: a frame per file (districts, things, map, settings
// snapshot) with its path and its state ("Loading...", "Saving...",
// "Success."), and the map's progress bar, visible only while the map file
// itself is read or written. The dialogs draw this; tests read it.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <functional>

#include "MapUnitIo.h"

class clsMapUnit;

class MapUnitProgress : public MapUnitIoReporter {
public:
    enum Frame { FrameAdmins = 0, FrameThings = 1, FrameFigures = 2, FrameLog = 3 };
    static constexpr int kFrames = 4;
    // Paths longer than this are shortened with "..." for their label.
    static constexpr int kPathChars = 52;

    explicit MapUnitProgress(const clsMapUnit& unit);

    // The file reported is matched to its frame by the unit's file names.
    void FileName(const QString& path) override;
    void Status(const QString& text) override;
    void Progress(int16_t percent) override;
    // The settings snapshot that a save writes after the files.
    void LogFile(const QString& path);
    // The work is over: the bar goes.
    void Finish();

    // The design texts until a frame is reached; a file passed over keeps them.
    static const QString kUntouched;
    const QString& Path(Frame f) const { return frames_[f].path; }
    QString DisplayPath(Frame f) const;
    const QString& Info(Frame f) const { return frames_[f].info; }
    bool ProgressVisible() const { return barVisible_; }
    int16_t ProgressValue() const { return percent_; }

    // Runs after every change: the dialog repaints and lets events run.
    std::function<void()> Changed;

private:
    struct FrameText {
        QString path = kUntouched;
        QString info = kUntouched;
    };
    int frameOf(const QString& path) const;
    void changed() {
        if (Changed) Changed();
    }

    const clsMapUnit& unit_;
    std::array<FrameText, kFrames> frames_;
    int current_ = -1;
    bool barVisible_ = false;
    int16_t percent_ = 0;
};

// The writer of the snapshot that a map unit's save asks for (installed as
// the map data's hook at start-up): gvWriteLog, shown in the frame of the
// save under way, if any. True when the snapshot was written.
bool WriteMapUnitLog(const QString& path);

// While it lives, WriteMapUnitLog reports to this progress.
class SaveLogReporting {
public:
    explicit SaveLogReporting(MapUnitProgress& progress);
    ~SaveLogReporting();
    SaveLogReporting(const SaveLogReporting&) = delete;
    SaveLogReporting& operator=(const SaveLogReporting&) = delete;

private:
    MapUnitProgress* previous_;
};
