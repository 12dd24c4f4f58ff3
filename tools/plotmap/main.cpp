// plotmap: loads the bundled map units of data/maps as the program does at
// start-up (the base map and the start map over it) and writes one view
// drawn by the plot engine as a PNG, for looking at the engine's output
// without the main window.
//
//   plotmap [--data <folder>] [--slot auto|0..4] [--lon <deg>] [--lat <deg>]
//           [--x <m>] [--y <m>] [--scale <denominator>] [--size <w>x<h>]
//           [--dpi <n>] [--lang 1|2] [--azimuth "<angles>"] [--cruise] out.png
//
// With --cruise the latitude/longitude view shows what the cruise loads for
// it (the standard maps of its scale level round the centre) instead of the
// start map.
//
// Slots 1..4 (and auto) draw the latitude/longitude units around --lon and
// --lat; slot 0 is the plane view of X/Y maps, so it draws the X/Y units
// around --x and --y (metres).
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "AppInfo.h"
#include "AppState.h"
#include "Bitmap.h"
#include "Fonts.h"
#include "PlotProjectionGlue.h"
#include "RasterDC.h"
#include "SettingsStore.h"
#include "basGlobe.h"
#include "clsCruise05.h"
#include "clsEnvironment.h"
#include "clsMapGraph.h"
#include "clsMapPlot.h"
#include "clsMapUnits.h"

namespace {
// The engine clamps the centre; the conversion must not overflow first.
int whole(double v) { return std::isfinite(v) ? qRound(std::clamp(v, -2e9, 2e9)) : 0; }
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser cl;
    cl.setApplicationDescription(QStringLiteral("Draws a view of the bundled maps through the plot engine."));
    cl.addHelpOption();
    const QCommandLineOption data(QStringLiteral("data"), "Folder of Environment.txt and maps/.", "folder",
                                  QStringLiteral(KAL_SOURCE_DIR "/data"));
    const QCommandLineOption slot(QStringLiteral("slot"), "View projection slot 0..4, or auto.", "slot", "auto");
    const QCommandLineOption lon(QStringLiteral("lon"), "Centre longitude, degrees.", "deg", "0");
    const QCommandLineOption lat(QStringLiteral("lat"), "Centre latitude, degrees.", "deg", "30");
    const QCommandLineOption x(QStringLiteral("x"), "Centre X of slot 0, metres.", "m", "0");
    const QCommandLineOption y(QStringLiteral("y"), "Centre Y of slot 0, metres.", "m", "0");
    const QCommandLineOption scale(QStringLiteral("scale"), "Scale denominator.", "n", "50000000");
    const QCommandLineOption size(QStringLiteral("size"), "Canvas size.", "WxH", "1600x1000");
    const QCommandLineOption dpi(QStringLiteral("dpi"), "Output resolution.", "n", "96");
    const QCommandLineOption lang(QStringLiteral("lang"), "Place names: 1 European, 2 Japanese.", "n", "2");
    const QCommandLineOption azimuth(QStringLiteral("azimuth"), "Azimuth-line angles.", "angles", "");
    const QCommandLineOption cruise(QStringLiteral("cruise"), "The cruise's standard maps instead of the start map.");
    cl.addOptions({data, slot, lon, lat, x, y, scale, size, dpi, lang, azimuth, cruise});
    cl.addPositionalArgument("out.png", "The picture to write.");
    cl.process(app);
    if (cl.positionalArguments().size() != 1) cl.showHelp(2);
    const QString slotText = cl.value(slot);
    bool slotOk = false;
    const int slotNumber = slotText.toInt(&slotOk);
    if (slotText != QStringLiteral("auto") && (!slotOk || slotNumber < 0 || slotNumber > 4)) {
        std::fprintf(stderr, "plotmap: --slot takes auto or 0..4, not %s\n", qPrintable(slotText));
        return 2;
    }
    // Slot 0 plots X/Y maps, whose coordinates are metres; the others plot
    // latitude and longitude. A centre of the other kind is a mistake.
    const int mode = slotText == QStringLiteral("0") ? 2 : 1;
    if (mode == 2 && (cl.isSet(lon) || cl.isSet(lat))) {
        std::fprintf(stderr, "plotmap: slot 0 is the X/Y plane view; give its centre with --x and --y (metres)\n");
        return 2;
    }
    if (mode == 1 && (cl.isSet(x) || cl.isSet(y))) {
        std::fprintf(stderr, "plotmap: --x and --y are for slot 0; slots 1..4 take --lon and --lat\n");
        return 2;
    }

    // Settings go to a scratch folder: a look must not change the user's.
    QTemporaryDir settings;
    plat::SettingsStore::SetFolder(settings.path());
    plat::InstallFontSubstitutions();
    const QString folder = cl.value(data);
    clsEnvironment env;
    env.setFileName(folder + QStringLiteral("/Environment.txt"));
    if (env.Load() != 0) return 1;
    gvEnvironment = &env;
    InitGlobe();
    plat::SetAppPath(folder);
    gvMapFolder = folder + QStringLiteral("/maps");
    gvLanguage = cl.value(lang).toLong() == 2 ? 2 : 1;
    clsMapGraph graph;
    gvMapGraph = &graph;
    InstallPlotProjectionGlue();

    // As at start-up: the base map of the mode, and the start map over the
    // latitude/longitude one.
    auto units = std::make_shared<clsMapUnits>();
    units->Create(mode);
    const QStringList wh = cl.value(size).split(QLatin1Char('x'));
    const int w = wh.value(0).toInt(), h = wh.value(1).toInt();
    if (w < 32 || h < 32) cl.showHelp(2);
    const int res = cl.value(dpi).toInt();
    if (mode == 1 && cl.isSet(cruise)) {
        // The field the view covers, roughly: the cruise loads the maps of
        // the countries under it.
        clsCruise05 c;
        c.setListFile(folder + QStringLiteral("/CRUISE05.LST"));
        c.setGridFile(folder + QStringLiteral("/CRUISE05.GRD"));
        c.GetStdMapList();
        const double metres = cl.value(scale).toDouble() * 0.0254 / std::max(1, res);
        const double cx = cl.value(lon).toDouble() * 3600, cy = cl.value(lat).toDouble() * 3600;
        const double latSpan = std::min(648000.0, h * metres / MeterPerSec);
        const double lonSpan = std::min(1296000.0, w * metres / (MeterPerSec * std::max(0.05, std::cos(cy / 3600 * M_PI / 180))));
        const clsRect field{whole(std::max(-648000.0, cx - lonSpan / 2)), whole(std::max(-324000.0, cy - latSpan / 2)),
                            whole(std::min(648000.0, cx + lonSpan / 2)), whole(std::min(324000.0, cy + latSpan / 2))};
        if (!c.Cruise(cl.value(scale).toDouble(), &field, units.get())) {
            std::fprintf(stderr, "plotmap: the cruise found no map for this view\n");
            return 1;
        }
    } else if (mode == 1) {
        auto world = std::make_shared<clsMapUnit>();
        world->setUnitName(gvMapFolder + QStringLiteral("/WORLD_T3.MLL"));
        if (!world->Load()) return 1;
        units->Add(world);
    }

    plat::RasterDC dc(plat::Bitmap::Create(w, h, 32), res);
    clsMapPlot plot;
    plot.MapUnits = units;
    plot.sethdc(&dc);
    plot.setCanvasWidth(w);
    plot.setCanvasHeight(h);
    plot.setdpix(res);
    plot.setdpiy(res);
    plot.ProjectionAuto = slotText == QStringLiteral("auto");
    if (!plot.ProjectionAuto) plot.setProjectionIndex(slotNumber);
    if (mode == 2) {
        plot.setCenterX(whole(cl.value(x).toDouble()));
        plot.setCenterY(whole(cl.value(y).toDouble()));
    } else {
        plot.setCenterX(whole(cl.value(lon).toDouble() * 3600));
        plot.setCenterY(whole(cl.value(lat).toDouble() * 3600));
    }
    plot.setMapScale(cl.value(scale).toDouble());
    plot.AzimuthLine = cl.value(azimuth);

    QElapsedTimer t;
    t.start();
    const int16_t result = plot.Replot();
    const qint64 ms = t.elapsed();
    const QString out = cl.positionalArguments().first();
    if (!dc.image().save(out)) return 1;
    std::printf("%s: slot %d (%s), scale 1:%.0f, result %d, %lld ms\n", qPrintable(out), plot.ProjectionIndex(),
                qPrintable(plot.ProjectionName()), plot.MapScale(), result, static_cast<long long>(ms));
    return result == 0 ? 0 : 1;
}
