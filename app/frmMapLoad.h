// The load and save dialogs of one map unit ("地図ファイルを開く",
// "地図ファイルを保存する"): modal windows that do their whole work when they
// first come up, show it frame by frame (MapUnitProgress) and close
// themselves. The user only watches: the window cannot be closed meanwhile.
#pragma once

#include "DialogBase.h"

#include <array>
#include <exception>
#include <functional>

#include "MapUnitProgress.h"

class QLabel;
class QProgressBar;
class clsMapUnit;

class MapUnitIoDialog : public plat::DialogBase {
    Q_OBJECT
public:
    // Shows the dialog until its work is done; Success, or the error the
    // work raised.
    bool Run();
    bool Success() const { return success_; }
    const MapUnitProgress& progress() const { return progress_; }

    // Runs after every change of what the dialog shows, once the dialog has
    // redrawn itself (tests take pictures here).
    std::function<void(MapUnitIoDialog&)> AfterChange;

protected:
    MapUnitIoDialog(clsMapUnit& unit, const QString& title, bool withLog, QWidget* parent);
    // The work of the dialog; its result becomes Success.
    virtual bool work(clsMapUnit& unit, MapUnitProgress& progress) = 0;

    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void run();
    void refresh();

    clsMapUnit& unit_;
    MapUnitProgress progress_;
    struct FrameLabels {
        QLabel* path = nullptr;
        QLabel* info = nullptr;
    };
    std::array<FrameLabels, MapUnitProgress::kFrames> labels_{};
    QProgressBar* prgFigures_ = nullptr;
    bool started_ = false;
    bool working_ = false;
    bool finished_ = false;
    bool success_ = false;
    std::exception_ptr failure_;
};

class frmMapLoad : public MapUnitIoDialog {
    Q_OBJECT
public:
    explicit frmMapLoad(clsMapUnit& unit, QWidget* parent = nullptr);

protected:
    bool work(clsMapUnit& unit, MapUnitProgress& progress) override;
};

class frmMapSave : public MapUnitIoDialog {
    Q_OBJECT
public:
    // logFile: the settings snapshot to write after the files; empty for none.
    frmMapSave(clsMapUnit& unit, const QString& logFile, QWidget* parent = nullptr);
    // The snapshot's path as written (with ".PLG").
    const QString& LogFile() const { return logFile_; }

protected:
    bool work(clsMapUnit& unit, MapUnitProgress& progress) override;

private:
    QString logFile_;
};

// Makes the map units load and save through these dialogs, owned by
// `owner` (the main window; none for a free window).
void InstallMapUnitDialogs(QWidget* owner);
// Back to the headless load and save.
void RemoveMapUnitDialogs();
