#include "FigureWindows.h"

#include "basLibrary.h"

namespace {

FigPolyWindows& windows() {
    static FigPolyWindows w;
    return w;
}

} // namespace

FigPolyWindows SetFigPolyWindows(FigPolyWindows w) { return std::exchange(windows(), std::move(w)); }
const FigPolyWindows& InstalledFigPolyWindows() { return windows(); }

bool WindowBuilt(bool installed, const QString& window) {
    if (!installed) MsgError(window + QStringLiteral("は組み込まれていません."));
    return installed;
}
