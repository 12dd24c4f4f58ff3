// The place-name jump at the size of a large gazetteer: 100 000 places.
//
// BM_ListPlaces: the list of the loaded units filled (10 units of 10 000
// text figures), sorted and searched, as choosing the unit source does.
// BM_KeyPress/k: one Enter in the keyword box of the shown dialog: the key
// made, the rows searched, the row selected and scrolled to the top and the
// list repainted. k = 0 types "t", "to", ... "tokoro" in turn; k = 1 a
// keyword no row holds (the longest search). Target: under 16 ms.
// BM_SortPlaces: a header click's sort.
// BM_ReadGazetteer/language: a gazetteer file of 100 000 places read.
// BM_ReadGazetteerFile/kind: memory of a read from disk (below).
// BM_BuildShippedGazetteer: the gazetteer built from the shipped maps
// (build/bin/maps, about 10 000 places), loading every map; reported in
// seconds.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>

#include "BenchMain.h"
#include "AppInfo.h"
#include "AppState.h"
#include "FlexGrid.h"
#include "MessageBox.h"
#include "SettingsStore.h"
#include "basGazetteer.h"
#include "basPlaceKey.h"
#include "clsMapText.h"
#include "clsMapUnits.h"
#include "frmJump05.h"

#include <memory>
#include <random>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kUnits = 10;
constexpr int kPlacesPerUnit = 10000;

// Names made of syllables, as place names are.
QString PlaceName(std::mt19937& rng) {
    static const char* const syllables[] = {"to", "ko", "ro", "za", "wa", "sa", "ka", "na", "mi", "ya",
                                            "ma", "shi", "ta", "ha", "ra", "ki", "no", "be", "ri", "gu"};
    std::uniform_int_distribution<int> count(2, 5), pick(0, 19);
    QString s;
    const int n = count(rng);
    for (int i = 0; i < n; ++i) s += QString::fromLatin1(syllables[pick(rng)]);
    s[0] = s[0].toUpper();
    return s;
}

std::unique_ptr<clsMapUnits> PlaceUnits() {
    auto units = std::make_unique<clsMapUnits>();
    units->Create(1);   // the shipped base map
    std::mt19937 rng(35);
    for (int u = 0; u < kUnits; ++u) {
        auto unit = std::make_shared<clsMapUnit>();
        unit->setUnitName(QStringLiteral("/maps/PLACES%1.MLL").arg(u));
        auto admin = std::make_shared<clsAdmin>();
        admin->setAdminCode(392);
        admin->setEuropianName(QStringLiteral("Japan"));
        admin->setJapaneseName(QStringLiteral("日本"));
        unit->Admins().Add(admin);
        auto thing = std::make_shared<clsThing>();
        thing->setIndex(1);
        thing->setFigure(5);
        thing->setName(QStringLiteral("都市名"));
        unit->Things().Add(thing);
        for (int i = 0; i < kPlacesPerUnit; ++i) {
            auto t = std::make_shared<clsMapText>();
            t->setTextUnicode(1, PlaceName(rng));
            t->setAdmin(392);
            t->setThing(1);
            t->setMx(i);
            t->setMy(u);
            unit->Map().MapCollection().push_back(t);
        }
        units->Add(unit);
    }
    return units;
}

QString ShippedMaps() { return plat::AppPath() + QStringLiteral("/../bin/maps"); }

// The dialog open on 100 000 places.
struct Dialog {
    std::unique_ptr<clsMapUnits> units;
    frmJump05 dlg;
    Dialog() {
        gvLanguage = 1;
        units = PlaceUnits();
        dlg.logic().TargetUnits = units.get();
        dlg.loadControls();
        dlg.resize(720, 480);
        dlg.show();
        dlg.activateList();
        QApplication::processEvents();
    }
};

void BM_ListPlaces(benchmark::State& state) {
    Dialog d;
    for (auto _ : state) d.dlg.logic().SelectSource(0);
    state.counters["places"] = d.dlg.logic().state().count;
}
BENCHMARK(BM_ListPlaces)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_KeyPress(benchmark::State& state) {
    Dialog d;
    const QStringList typing = {"t", "to", "tok", "toko", "tokor", "tokoro"};
    const QStringList missing = {"qqqqqqqqqqqqqqqq"};
    const QStringList& keys = state.range(0) == 0 ? typing : missing;
    qsizetype i = 0;
    for (auto _ : state) {
        d.dlg.logic().setKeyword(keys[i++ % keys.size()]);
        d.dlg.logic().SearchKey();
        d.dlg.flgPlaces->viewport()->repaint();
    }
    state.counters["places"] = d.dlg.logic().state().count;
    state.counters["row"] = d.dlg.flgPlaces->Row();
}
BENCHMARK(BM_KeyPress)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SortPlaces(benchmark::State& state) {
    Dialog d;
    int column = 0;
    for (auto _ : state) d.dlg.logic().HeaderClick(column++ % 2);
}
BENCHMARK(BM_SortPlaces)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadGazetteer(benchmark::State& state) {
    const auto language = static_cast<int32_t>(state.range(0));
    const auto units = PlaceUnits();
    plat::FlexGridData g;
    ClearPlaces(g);
    for (const MapUnitPtr& u : *units) AddUnitPlace(g, u.get(), 1);
    if (language == 2)
        for (int32_t r = 1; r < g.Rows(); ++r) {   // Japanese names: katakana of the syllables
            g.setTextMatrix(r, kPlaceName, QStringLiteral("トコロザワ") + g.TextMatrix(r, kPlaceX));
            g.setTextMatrix(r, kPlaceKey, PlaceKey(g.TextMatrix(r, kPlaceName), 2));
        }
    const QByteArray bytes = GazetteerBytes(g, language, 1);
    for (auto _ : state) {
        plat::FlexGridData read;
        benchmark::DoNotOptimize(ParseGazetteer(bytes, language, read).places);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
}
BENCHMARK(BM_ReadGazetteer)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Resident memory now, in bytes.
int64_t ResidentBytes() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

// BM_ReadGazetteerFile/kind: the file read from disk a line at a time, as
// the dialog reads it; kind 0 a header and 250 MB of empty lines, kind 1
// 82 MB of valid places (the first million kept). Counters: the file's and
// the kept list's size (resident memory grown by the read, in MB).
void BM_ReadGazetteerFile(benchmark::State& state) {
    const bool places = state.range(0) == 1;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("GAZET_KALD_E.TXT"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) {
            state.SkipWithError("cannot write the file");
            return;
        }
        f.write("# Gazetteer File for KALDERO/SOLVANTE. Europian Version.\r\n# number = 1000000\r\n# sort = 1\r\n");
        const int64_t size = places ? int64_t(82) << 20 : int64_t(250) << 20;
        const QByteArray block = places ? QByteArray() : QByteArray(1 << 20, '\n');
        std::mt19937 rng(35);
        for (int64_t written = 0; written < size;) {
            QByteArray chunk = block;
            while (places && chunk.size() < (1 << 20)) {
                const QByteArray name = PlaceName(rng).toLatin1();
                chunk += name + "\tWORLD_A3.MLL\tJapan\t\x93\x73\x8E\x73\t" + QByteArray::number(int(rng() % 1000000)) +
                         "\t" + QByteArray::number(int(rng() % 300000)) + "\t20000000\t200000\t" + name.toUpper() + "\r\n";
            }
            f.write(chunk);
            written += chunk.size();
        }
    }
    const double fileMB = double(QFileInfo(path).size()) / (1 << 20);
    for (auto _ : state) {
        const int64_t before = ResidentBytes();
        plat::FlexGridData read;
        benchmark::DoNotOptimize(ReadGazetteerFile(path, 1, read).places);
        state.counters["list_MB"] = double(ResidentBytes() - before) / (1 << 20);
        state.counters["places"] = PlaceCount(read);
    }
    state.counters["file_MB"] = fileMB;
}
BENCHMARK(BM_ReadGazetteerFile)->Arg(0)->Arg(1)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

class AnswerYes : public plat::MessageBoxProvider {
public:
    int showMessage(const plat::MessageRequest&) override { return plat::IdYes; }
    bool showInput(const plat::InputRequest&, QString&) override { return false; }
};

void BM_BuildShippedGazetteer(benchmark::State& state) {
    QTemporaryDir folder;
    const QDir maps(ShippedMaps());
    for (const QString& name : maps.entryList(QDir::Files)) QFile::link(maps.filePath(name), folder.filePath(name));
    gvMapFolder = folder.path();
    gvLanguage = 2;
    AnswerYes yes;
    plat::MessageBoxProvider* previous = plat::SetMessageBoxProvider(&yes);
    plat::FlexGridData cells;
    frmJump05Logic logic(cells);
    clsMapUnits units;
    logic.TargetUnits = &units;
    logic.Load();
    for (auto _ : state) logic.BuildGazetteer();
    plat::SetMessageBoxProvider(previous);
    gvMapFolder = ShippedMaps();
    if (logic.state().count < 1000) state.SkipWithError("the shipped maps gave no gazetteer");
    state.counters["places"] = logic.state().count;
}
BENCHMARK(BM_BuildShippedGazetteer)->Unit(benchmark::kSecond)->Iterations(2)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks<QApplication>(argc, argv, [] {
        static QTemporaryDir settings;   // lives as long as the benchmarks
        plat::SettingsStore::SetFolder(settings.path());
        gvMapFolder = ShippedMaps();
    });
}
