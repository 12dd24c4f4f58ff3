#include "MapListHost.h"

#include "MessageBox.h"

namespace {

MapListHost& host() {
    static MapListHost h;
    return h;
}

QString choose(bool save, const QString& title, const QString& filter, const QString& fileName) {
    plat::FileRequest req;
    req.save = save;
    req.title = !title.isEmpty() ? title : save ? QStringLiteral("ファイルを保存する") : QStringLiteral("ファイルを開く");
    req.filter = filter;
    req.fileName = fileName;
    return plat::ChooseFile(req);
}

} // namespace

MapListHost SetMapListHost(MapListHost h) {
    std::swap(host(), h);
    return h;
}

namespace maplisthost {

QString InputLoadName(const QString& title, const QString& filter, const QString& fileName) {
    return host().InputLoadName ? host().InputLoadName(title, filter, fileName) : choose(false, title, filter, fileName);
}

QString InputSaveName(const QString& title, const QString& filter, const QString& fileName) {
    return host().InputSaveName ? host().InputSaveName(title, filter, fileName) : choose(true, title, filter, fileName);
}

void UnloadMapUnit(const MapUnitPtr& unit) {
    if (host().UnloadMapUnit && unit) host().UnloadMapUnit(unit);
}

void ResetSaveReminder() {
    if (host().ResetSaveReminder) host().ResetSaveReminder();
}

QString StartMapFile() { return host().StartMapFile ? host().StartMapFile() : QString(); }

void PlotWindow() {
    if (host().PlotWindow) host().PlotWindow();
}

int32_t InputNativeColor(int32_t current) {
    if (host().InputNativeColor) return host().InputNativeColor(current);
    plat::COLORREF c = current < 0 ? 0xFFFFFFu : static_cast<plat::COLORREF>(current);
    return plat::ChooseColor(c) ? static_cast<int32_t>(c & 0xFFFFFFu) : -2;
}

int32_t PickThing(const clsMapUnit& unit, int32_t figCode, int32_t preset) {
    return host().PickThing ? host().PickThing(unit, figCode, preset) : -1;
}

int32_t PickAdmin(const clsMapUnit& unit, int32_t preset) {
    return host().PickAdmin ? host().PickAdmin(unit, preset) : -1;
}

std::optional<std::vector<MapFigurePtr>> CreateFigure(const MapUnitPtr& unit, int32_t kind) {
    if (!host().CreateFigure) return std::nullopt;
    return host().CreateFigure(unit, kind);
}

std::optional<std::vector<MapFigurePtr>> EditFigure(const MapUnitPtr& unit, const MapFigurePtr& figure, int32_t left,
                                                    int32_t top) {
    if (!host().EditFigure) return std::nullopt;
    return host().EditFigure(unit, figure, left, top);
}

} // namespace maplisthost
