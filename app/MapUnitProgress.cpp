#include "MapUnitProgress.h"

#include "PublicVal.h"
#include "basLibrary.h"
#include "clsMapUnit.h"

namespace {

const QString kLoading = QStringLiteral("Loading...");
const QString kSaving = QStringLiteral("Saving...");
const QString kSuccess = QStringLiteral("Success.");

MapUnitProgress* gSaveUnderWay = nullptr;

} // namespace

const QString MapUnitProgress::kUntouched = QStringLiteral("---");

MapUnitProgress::MapUnitProgress(const clsMapUnit& unit) : unit_(unit) {}

// The first frame after the current one whose file has this name; the next
// frame when none has (a frame is never reported twice).
int MapUnitProgress::frameOf(const QString& path) const {
    const QString names[] = {unit_.Admins().FileName(), unit_.Things().FileName(), unit_.Map().FileName()};
    for (int f = current_ + 1; f <= FrameFigures; ++f)
        if (names[f] == path) return f;
    return current_ < FrameFigures ? current_ + 1 : FrameFigures;
}

void MapUnitProgress::FileName(const QString& path) {
    current_ = frameOf(path);
    frames_[current_].path = path;
    changed();
}

void MapUnitProgress::Status(const QString& text) {
    if (current_ < 0) return;
    frames_[current_].info = text;
    if (current_ == FrameFigures) {
        barVisible_ = text == kLoading || text == kSaving;
        if (barVisible_) percent_ = 0;
    }
    changed();
}

void MapUnitProgress::Progress(int16_t percent) {
    percent_ = percent < 0 ? int16_t{0} : (percent > 100 ? int16_t{100} : percent);
    changed();
}

void MapUnitProgress::LogFile(const QString& path) {
    current_ = FrameLog;
    barVisible_ = false;
    frames_[FrameLog].path = path;
    changed();
}

void MapUnitProgress::Finish() {
    barVisible_ = false;
    changed();
}

QString MapUnitProgress::DisplayPath(Frame f) const {
    const QString& p = frames_[f].path;
    return p == kUntouched ? p : ShortenPath(p, kPathChars);
}

bool WriteMapUnitLog(const QString& path) {
    MapUnitProgress* progress = gSaveUnderWay;
    if (progress) {
        progress->LogFile(path);
        progress->Status(kSaving);
    }
    const bool ok = gvWriteLog(path) == LogOK;
    if (ok && progress) progress->Status(kSuccess);
    return ok;
}

SaveLogReporting::SaveLogReporting(MapUnitProgress& progress) : previous_(gSaveUnderWay) { gSaveUnderWay = &progress; }

SaveLogReporting::~SaveLogReporting() { gSaveUnderWay = previous_; }
