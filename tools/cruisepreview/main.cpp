// cruisepreview: runs the cruise over the shipped data while zooming from
// level 1 to level 8 over Japan and draws, for each step, the units the
// cruise left shown, with their things' visible scale ranges, as a plain
// longitude/latitude picture; also a picture of the country grid. For a
// person to look at before shipping data (the program's own view draws the
// maps properly).
//
//   cruisepreview <program folder (data/)> <output folder>
#include "MapPreview.h"

#include "AppInfo.h"
#include "AppState.h"
#include "MessageBox.h"
#include "SettingsStore.h"
#include "basGlobe.h"
#include "clsAdmins.h"
#include "clsCruise05.h"
#include "clsMapUnits.h"
#include "clsThings.h"

#include <QDir>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

namespace {

class PrintedBoxes : public plat::MessageBoxProvider {
public:
    int showMessage(const plat::MessageRequest& req) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(req.text));
        return plat::IdOk;
    }
    bool showInput(const plat::InputRequest&, QString&) override { return false; }
};

QColor Colour(int32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

constexpr int Width = 1000, Height = 750;
constexpr double Dpi = 96;
constexpr double TokyoLon = 139.7 * 3600, TokyoLat = 35.7 * 3600;

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: cruisepreview <program folder> <output folder>\n");
        return 2;
    }
    const QString program = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QDir out(QString::fromLocal8Bit(argv[2]));
    QDir().mkpath(out.path());
    QTemporaryDir settings;
    plat::SettingsStore::SetFolder(settings.path());
    PrintedBoxes boxes;
    plat::SetMessageBoxProvider(&boxes);
    plat::SetAppPath(program);
    gvMapFolder = program + QStringLiteral("/maps");
    gvLanguage = 2;

    clsCruise05 engine;
    engine.setListFile(program + QStringLiteral("/CRUISE05.LST"));
    engine.setGridFile(program + QStringLiteral("/CRUISE05.GRD"));
    std::printf("availability mask %d (%d maps)\n", engine.GetStdMapList(), engine.GetStdMapCount());
    clsMapUnits units;
    units.Create(1);

    const double scales[] = {300000000, 70000000, 30000000, 14000000, 7000000, 3000000, 1000000, 220000};
    for (const double scale : scales) {
        const double metresPerPixel = scale * 0.0254 / Dpi;
        const double latSpan = std::min(648000.0, Height * metresPerPixel / MeterPerSec);
        const double lonSpan = std::min(1296000.0, Width * metresPerPixel / (MeterPerSec * std::cos(TokyoLat / 3600 * M_PI / 180)));
        const double west = std::max(-648000.0, TokyoLon - lonSpan / 2), east = std::min(648000.0, TokyoLon + lonSpan / 2);
        const double south = std::max(-324000.0, TokyoLat - latSpan / 2), north = std::min(324000.0, TokyoLat + latSpan / 2);
        const clsRect field{int32_t(west), int32_t(south), int32_t(east), int32_t(north)};
        QElapsedTimer timer;
        timer.start();
        const bool ok = engine.Cruise(scale, &field, &units);
        const qint64 ms = timer.elapsed();

        std::vector<const clsMap*> maps;
        QStringList shown;
        for (const MapUnitPtr& u : units) {
            if (!u->DisplaySwitch()) continue;
            maps.push_back(&u->Map());
            shown << QFileInfo(u->UnitName()).fileName();
        }
        const auto colour = [&](const clsMap& m, const clsMapFigure& f) -> QColor {
            for (const MapUnitPtr& u : units) {
                if (&u->Map() != &m) continue;
                const ThingPtr& thing = u->Things().Item(f.Thing());
                const AdminPtr& admin = u->Admins().Item(f.Admin());
                if (!thing || !admin) return QColor(Qt::red);
                thing->setPage(admin->Page());
                if (!thing->IsPrint(scale) || thing->Fore() < 0) return QColor();
                return Colour(thing->Fore());
            }
            return QColor();
        };
        QImage image = worldsrc::DrawMapWindow(maps, colour, QColor(200, 220, 233), west, south, east, north, Width, Height, 2);
        const int16_t level = engine.ScaleToLevel(scale);
        {
            QPainter p(&image);
            p.fillRect(0, 0, Width, 22, QColor(255, 255, 255, 220));
            p.drawText(6, 16, QStringLiteral("level %1  1:%2  %3  %4 ms%5")
                                  .arg(level).arg(qlonglong(scale)).arg(shown.join(QStringLiteral(" + "))).arg(ms)
                                  .arg(ok ? QString() : QStringLiteral("  (failed)")));
        }
        const QString file = out.filePath(QStringLiteral("cruise-level%1.png").arg(level));
        image.save(file, "PNG");
        std::printf("level %d at 1:%.0f: %s in %lld ms -> %s\n", level, scale, qPrintable(shown.join(QStringLiteral(", "))),
                    static_cast<long long>(ms), qPrintable(file));
    }

    // The grid, four pixels a cell, a colour per code.
    QFile grid(program + QStringLiteral("/CRUISE05.GRD"));
    if (grid.open(QIODevice::ReadOnly)) {
        const QByteArray b = grid.readAll();
        QImage image(360 * 4, 180 * 4, QImage::Format_RGB32);
        for (int r = 0; r < 180; ++r)
            for (int c = 0; c < 360; ++c) {
                const size_t at = size_t(r * 720 + c * 2);
                const int16_t v = b.size() >= 129600 ? int16_t(uint8_t(b[qsizetype(at)]) | uint8_t(b[qsizetype(at + 1)]) << 8) : 0;
                const QColor col = v == 0 ? QColor(200, 220, 233) : QColor::fromHsv((v * 47) % 360, 120, 230);
                for (int y = 0; y < 4; ++y)
                    for (int x = 0; x < 4; ++x) image.setPixelColor(c * 4 + x, r * 4 + y, col);
            }
        image.save(out.filePath(QStringLiteral("cruise-grid.png")), "PNG");
    }
    return 0;
}
