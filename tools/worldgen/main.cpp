// worldgen: writes the bundled maps and catalogues from the public world data
// that tools/fetch-world-data.sh installs, reads every written file back
// through the program's readers and reports what they hold.
//
//   worldgen [--preview preview.png] <world data folder> <output folder>
//
// The dates in the map headers come from SOURCE_DATE_EPOCH when it is set
// (else the clock), and figure identifiers from a fixed random sequence, so
// that the same data and date give the same bytes.
#include "MapPreview.h"
#include "WorldFigures.h"
#include "WorldMaps.h"
#include "WorldSource.h"
#include "WorldStyles.h"

#include "Clock.h"
#include "MessageBox.h"
#include "clsMap.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>
#include <map>

using namespace worldsrc;

namespace {

QTextStream& Out() {
    static QTextStream out(stdout);
    return out;
}

// A message box of the map code is a failure here: print it, answer Cancel.
class PrintedBoxes : public plat::MessageBoxProvider {
public:
    int showMessage(const plat::MessageRequest& req) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(req.text));
        ++count;
        return req.buttons() == plat::MbOkOnly ? plat::IdOk : plat::IdCancel;
    }
    bool showInput(const plat::InputRequest& req, QString&) override {
        std::fprintf(stderr, "input box: %s\n", qPrintable(req.prompt));
        ++count;
        return false;
    }
    int count = 0;
};

QString PackageVersion(const QString& dir) {
    QFile f(dir + QStringLiteral("/package.json"));
    if (!f.open(QIODevice::ReadOnly)) throw WorldSourceError((f.fileName() + QStringLiteral(": ") + f.errorString()).toStdString());
    const QString v = QJsonDocument::fromJson(f.readAll()).object().value(QLatin1String("version")).toString();
    if (v.isEmpty()) throw WorldSourceError((f.fileName() + QStringLiteral(": no version")).toStdString());
    return v;
}

QDateTime GenerationTime() {
    bool ok = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
    if (ok) return QDateTime::fromSecsSinceEpoch(epoch, Qt::UTC).toLocalTime();
    return QDateTime::currentDateTime();
}

void Save(clsMap& map) {
    const int32_t r = map.Save();
    if (r != 0) throw WorldSourceError(QStringLiteral("%1: not saved (%2)").arg(map.FileName()).arg(r).toStdString());
}

std::unique_ptr<clsMap> NewMap(const QString& path, int32_t mode) {
    auto map = std::make_unique<clsMap>();
    map->setMapMode(mode);
    map->setFileName(path);
    map->setEiUndo(false);
    return map;
}

std::unique_ptr<clsMap> LoadMap(const QString& path, int32_t mode) {
    auto map = std::make_unique<clsMap>();
    map->setMapMode(mode);
    map->setFileName(path);
    const int32_t r = map->Load();
    if (r != 0) throw WorldSourceError(QStringLiteral("%1: not read back (%2)").arg(path).arg(r).toStdString());
    return map;
}

void ReportMap(const clsMap& map) {
    std::map<int32_t, int> counts;
    int64_t points = 0;
    for (const MapFigurePtr& f : map) {
        ++counts[f->FigCode()];
        if (f->FigCode() == 2 || f->FigCode() == 3) points += f->Poly()->Count();
    }
    Out() << QFileInfo(map.FileName()).fileName() << ": " << QFileInfo(map.FileName()).size() << " bytes, code "
          << map.MapCode() << ", " << map.Count() << " figures (remarks " << counts[1] << ", polylines " << counts[2]
          << ", polygons " << counts[3] << ", texts " << counts[5] << "), " << points << " points\n";
}

QColor Colour(int32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes the bundled maps and catalogues from the world data."));
    parser.addHelpOption();
    const QCommandLineOption previewOption(QStringLiteral("preview"), QStringLiteral("Also draw the written maps into this PNG."),
                                           QStringLiteral("png"));
    parser.addOption(previewOption);
    parser.addPositionalArgument(QStringLiteral("data"), QStringLiteral("The folder of tools/fetch-world-data.sh."));
    parser.addPositionalArgument(QStringLiteral("output"), QStringLiteral("The folder to write (data/maps)."));
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    if (args.size() != 2) parser.showHelp(2);

    PrintedBoxes boxes;
    plat::SetMessageBoxProvider(&boxes);
    plat::FixedClock clock(GenerationTime());
    plat::SetClock(&clock);
    plat::SeededRandom random(20240601);
    plat::SetRandom(&random);

    try {
        const QString modules = args[0] + QStringLiteral("/node_modules");
        const QString atlas = modules + QStringLiteral("/world-atlas");
        const QString namesDir = modules + QStringLiteral("/i18n-iso-countries");
        const QString atlasVersion = PackageVersion(atlas);
        const QString namesVersion = PackageVersion(namesDir);
        const QDir out(args[1]);
        if (!out.exists() && !QDir().mkpath(out.path()))
            throw WorldSourceError((out.path() + QStringLiteral(": cannot create")).toStdString());
        const auto path = [&](const char* name) { return out.filePath(QString::fromLatin1(name)); };

        const CountryNames names = CountryNames::Load(namesDir);
        const World world = ReadCountries(Topology::ReadFile(atlas + QStringLiteral("/countries-50m.json")), names);
        const Land land = ReadLand(Topology::ReadFile(atlas + QStringLiteral("/land-110m.json")));
        const QString atlasSource = QStringLiteral("world-atlas %1 (ISC)").arg(atlasVersion);

        {
            auto map = NewMap(path("BASE.MLL"), 1);
            WriteHeader(*map, {BaseMapCodeLL, QStringLiteral("World Base Map"), QStringLiteral("世界ベース地図"),
                               QStringLiteral("陸地, 湖沼"),
                               QStringLiteral("Natural Earth 1:110m Land (public domain), ") + atlasSource});
            AddBaseFigures(*map, land);
            Save(*map);
        }
        {
            auto map = NewMap(path("BASE.MXY"), 2);
            WriteHeader(*map, {BaseMapCodeXY, QStringLiteral("X/Y Base Map"), QStringLiteral("ＸＹベース地図"),
                               QString(), QString()});
            Save(*map);
        }
        {
            auto map = NewMap(path("WORLD_T3.MLL"), 1);
            WriteHeader(*map, {WorldMapCode, QStringLiteral("World Administrative Map"), QStringLiteral("世界行政図"),
                               QStringLiteral("陸地 (国土), 海岸線, 国境, 国名"),
                               QStringLiteral("Natural Earth 1:50m Admin 0 Countries (public domain), ") + atlasSource +
                                   QStringLiteral(", i18n-iso-countries %1 (MIT)").arg(namesVersion)});
            AddWorldFigures(*map, world);
            Save(*map);
        }

        // Everything read back through the program's readers.
        const auto baseLL = LoadMap(path("BASE.MLL"), 1);
        const auto baseXY = LoadMap(path("BASE.MXY"), 2);
        const auto worldMap = LoadMap(path("WORLD_T3.MLL"), 1);
        for (const clsMap* m : {baseLL.get(), baseXY.get(), worldMap.get()}) ReportMap(*m);

        int small = 0;
        for (const Country& c : world.countries) small += IsSmallCountry(c) ? 1 : 0;
        Out() << world.countries.size() << " countries (" << small << " with small names), " << world.borders.size()
              << " border arcs, " << world.coasts.size() << " coast arcs\n";
        const std::vector<District> worldDistricts = Districts(world, nullptr);
        const std::vector<District> allDistricts = Districts(world, &names);
        Out() << worldDistricts.size() << " districts in the world map's catalogue, " << allDistricts.size()
              << " in the default one\n";
        for (const Country& c : world.countries) {
            bool changed = false;
            const QByteArray latin = LatinName(c.englishName, &changed);
            if (changed) Out() << "European name simplified: " << c.englishName << " -> " << QString::fromLatin1(latin) << "\n";
        }

        if (parser.isSet(previewOption)) {
            const std::map<int16_t, int16_t> pages = CountryPages(world);
            const auto colour = [&](const clsMap& m, const clsMapFigure& f) -> QColor {
                if (&m == baseLL.get()) {
                    if (f.Thing() == base::Land) return Colour(Rgb(240, 237, 226));
                    if (f.Thing() == base::Lake) return Colour(Rgb(200, 220, 233));
                    return QColor();  // the world map's coast is drawn instead
                }
                switch (f.Thing()) {
                case world::Land: {
                    const auto it = pages.find(f.Admin());
                    return it == pages.end() ? QColor(Qt::red) : Colour(LandPageColours()[size_t(it->second - 1)]);
                }
                case world::Coast: return Colour(Rgb(122, 152, 178));
                case world::Border: return Colour(Rgb(110, 100, 116));
                case world::Name: return QColor(48, 48, 56);
                default: return QColor();
                }
            };
            const QImage image = DrawMapPreview({baseLL.get(), worldMap.get()}, colour, Colour(Rgb(200, 220, 233)));
            if (!image.save(parser.value(previewOption), "PNG"))
                throw WorldSourceError((parser.value(previewOption) + QStringLiteral(": not written")).toStdString());
        }
    } catch (const WorldSourceError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    Out().flush();
    if (boxes.count != 0) {
        std::fprintf(stderr, "%d message boxes were shown\n", boxes.count);
        return 1;
    }
    return 0;
}
