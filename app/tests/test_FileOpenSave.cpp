// Opening and saving by extension through the main window's dispatch: round
// trips of every kind (images checked by ImageMagick, libwmf and
// Ghostscript), the project folder, bad and unwritable files, and the
// common dialogs with their filters and cancel values.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include "AppTestSupport.h"
#include "FileOpenSave.h"
#include "SavePostScriptFile.h"
#include "basLibrary.h"
#include "clsAdmins.h"
#include "clsMap.h"
#include "clsThings.h"

using namespace mainform;

namespace {

constexpr int kW = 320, kH = 200;

struct ToolRun {
    int exitCode = -1;
    QString output;
};

ToolRun runTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    ToolRun r;
    if (!p.waitForFinished(60000)) return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.output = QString::fromLocal8Bit(p.readAll());
    return r;
}

void makeReadOnly(const QString& path) { ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0); }

// The program with a plotted canvas and a host that records what the
// dispatch asked of the window.
class Dispatch : public ::testing::Test, protected apptest::RunningProgram {
protected:
    Dispatch() : RunningProgram(kW, kH) {
        FileHost h;
        h.AfterLoad = [this] { calls.append(QStringLiteral("layout")); };
        h.PlotWindow = [this] { calls.append(QStringLiteral("plot")); };
        h.MapModeChanged = [this](int32_t mode) { calls.append(QStringLiteral("mode %1").arg(mode)); };
        h.StatusText = [this](const QString& s) { calls.append(s); };
        h.SaveEps = [this](const QString& path) {
            calls.append(QStringLiteral("eps"));
            return SavePostScriptFile(graph_, path, {kW, kH, 96}, [this] { return PlotMap(picture_.hDC(), 96, 96, kW, kH) == PlotDone; });
        };
        old_ = SetFileHost(h);
        EXPECT_EQ(PlotMap(picture_.hDC(), 96, 96, kW, kH), PlotDone);
        for (const char* n : {"JAPAN_A7.MLL", "JAPAN_A7.THG", "JAPAN_A7.ADM"}) folder_.CopyMap(QString::fromLatin1(n));
        EXPECT_TRUE(QDir().mkpath(out(QString())));
        EXPECT_TRUE(QFile::copy(QStringLiteral(KAL_SOURCE_DIR "/data/KALDERO.PS"), folder_.file(QStringLiteral("KALDERO.PS"))));
    }
    ~Dispatch() override { SetFileHost(old_); }

    QString out(const QString& name) const { return folder_.file(QStringLiteral("out/") + name); }
    QString mapFile(const char* name) const { return folder_.map(QString::fromLatin1(name)); }

    QStringList calls;
    FileHost old_;
};

// The figures of a map file loaded as a unit of its own.
int32_t figuresIn(const QString& path, int32_t mode) {
    clsMapUnit unit;
    unit.setMapMode(mode);
    unit.setUnitName(path);
    EXPECT_TRUE(unit.Load()) << path.toStdString();
    return unit.Map().Count();
}

// What a failure must leave alone: the units of both modes with their
// files, catalogues and modified flags.
struct Loaded {
    struct Unit {
        MapUnitPtr unit;
        QString map, things, admins;
        int32_t figures, thingCount, adminCount;
        bool modify;
        const void* thingsObject;
        const void* adminsObject;
        bool operator==(const Unit&) const = default;
    };
    std::vector<Unit> units;
    int32_t mode;
    bool operator==(const Loaded&) const = default;

    static Loaded Now() {
        Loaded l{{}, gvMapMode};
        for (clsMapUnits* set : {gvMapUnitsLL, gvMapUnitsXY})
            for (const MapUnitPtr& u : *set)
                l.units.push_back({u, u->Map().FileName(), u->Things().FileName(), u->Admins().FileName(), u->Map().Count(),
                                   u->Things().Count(), u->Admins().Count(), u->Modify(), &u->Things(), &u->Admins()});
        return l;
    }
};

TEST_F(Dispatch, MapsAndCataloguesRoundTrip) {
    ASSERT_TRUE(QDir().mkpath(out(QString())));
    // A lower-case extension counts.
    ASSERT_TRUE(QFile::rename(mapFile("JAPAN_A7.MLL"), mapFile("japan.mll")));
    ASSERT_TRUE(LoadFile(mapFile("japan.mll")));
    EXPECT_EQ(calls, QStringList({"layout", "plot"}));
    ASSERT_EQ(gvMapUnitsLL->Count(), 2);
    const MapUnitPtr japan = gvMapUnitsLL->Active();
    const int32_t figures = japan->Map().Count();
    ASSERT_GT(figures, 10);

    // The map first: its save renames the unit and writes its catalogues
    // beside it. A catalogue opened replaces the active unit's and is saved
    // with it; written again it gives the same bytes.
    ASSERT_TRUE(SaveFile(out("j.MLL")));
    EXPECT_EQ(japan->UnitName(), out("j.MLL"));
    EXPECT_FALSE(japan->Modify());
    struct Case {
        const char* ext;
        std::function<int32_t()> count;
    } cases[] = {
        {".THG", [] { return ActiveThings()->Count(); }},
        {".ADM", [] { return ActiveAdmins()->Count(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ext);
        const QString first = out(QStringLiteral("j") + QLatin1String(c.ext));
        const QString second = out(QStringLiteral("k") + QLatin1String(c.ext));
        const int32_t count = c.count();
        ASSERT_GT(count, 0);
        ASSERT_TRUE(LoadFile(first));
        EXPECT_TRUE(japan->Modify());
        EXPECT_EQ(c.count(), count);
        ASSERT_TRUE(SaveFile(second));
        EXPECT_EQ(testsupport::ReadBytes(second), testsupport::ReadBytes(first));
    }
    EXPECT_EQ(figuresIn(out("j.MLL"), 1), figures);

    // An X/Y map switches the map mode even when it does not load.
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("地図図形ファイルが存在しません."), plat::IdOk);
    calls.clear();
    EXPECT_FALSE(LoadFile(out("none.MXY")));
    EXPECT_EQ(gvMapMode, 2);
    EXPECT_EQ(calls, QStringList({"mode 2", "layout", "plot"}));
    EXPECT_EQ(gvMapUnitsXY->Count(), 1);
    const MapUnitPtr base = gvMapUnitsXY->Active();
    ASSERT_GT(base->Map().Count(), 0);
    ASSERT_TRUE(SaveFile(out("xy.MXY")));
    EXPECT_EQ(base->UnitName(), out("xy.MXY"));
    EXPECT_EQ(figuresIn(out("xy.MXY"), 2), base->Map().Count());
}

TEST_F(Dispatch, AnEmptyMapSavesNothing) {
    ASSERT_TRUE(gvMapUnitsLL->AddNew(out("new.MLL")));
    gvMapUnitsLL->Active()->Map().MapCollection().clear();
    EXPECT_FALSE(SaveFile(out("new.MLL")));
    EXPECT_FALSE(QFileInfo::exists(out("new.MLL")));
}

TEST_F(Dispatch, ImagesOpenInOtherReadersAndSaveTheProject) {
    struct Case {
        const char* name;
        QString status;                  // what the status panel said first
        std::function<void(const QString&)> check;
    } cases[] = {
        {"view.BMP", QStringLiteral("BMPファイルへ出力しています..."),
         [](const QString& f) {
             const ToolRun r = runTool(QStringLiteral("identify"), {f});
             EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
             EXPECT_TRUE(r.output.contains(QStringLiteral(" BMP3 %1x%2 ").arg(kW).arg(kH))) << r.output.toStdString();
         }},
        {"view.PNG", QStringLiteral("PNGファイルへ出力しています..."),
         [](const QString& f) {
             const ToolRun r = runTool(QStringLiteral("identify"), {f});
             EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
             EXPECT_TRUE(r.output.contains(QStringLiteral(" PNG %1x%2 ").arg(kW).arg(kH))) << r.output.toStdString();
         }},
        {"view.WMF", QStringLiteral("メタファイル(WMF)へ出力しています..."),
         [](const QString& f) {
             const ToolRun r = runTool(QStringLiteral("wmf2gd"), {QStringLiteral("-t"), QStringLiteral("png"), QStringLiteral("-o"),
                                                                   f + QStringLiteral(".png"), f});
             EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
             const ToolRun id = runTool(QStringLiteral("identify"), {f + QStringLiteral(".png")});
             EXPECT_EQ(id.exitCode, 0) << id.output.toStdString();
         }},
        {"view.EPS", QStringLiteral("eps"),
         [](const QString& f) {
             const ToolRun r = runTool(QStringLiteral("gs"), {QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"),
                                                              QStringLiteral("-dNOPAUSE"), QStringLiteral("-dQUIET"),
                                                              QStringLiteral("-sDEVICE=bbox"), f});
             EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
             EXPECT_TRUE(r.output.contains(QStringLiteral("%%BoundingBox:"))) << r.output.toStdString();
         }},
    };
    const QString base = folder_.file(QStringLiteral("my.maps"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        calls.clear();
        const QString file = base + QLatin1Char('/') + QString::fromLatin1(c.name);
        ASSERT_TRUE(QDir().mkpath(base));
        ASSERT_TRUE(SaveFile(file));
        ASSERT_FALSE(calls.isEmpty());
        EXPECT_EQ(calls.front(), c.status);
        EXPECT_TRUE(calls.contains(QStringLiteral("plot")));
        c.check(file);
        // The project beside the image: the units and the snapshot.
        const QString project = base + QStringLiteral("/view");
        EXPECT_TRUE(QFileInfo::exists(project + QStringLiteral("/BASE.MLL")));
        EXPECT_TRUE(QFileInfo::exists(project + QStringLiteral("/view.PLG")));
        EXPECT_EQ(gvMapUnitsLL->Base()->UnitName(), project + QStringLiteral("/BASE.MLL"));
    }
}

TEST_F(Dispatch, ProjectSaveAndRestore) {
    ASSERT_TRUE(LoadFile(mapFile("JAPAN_A7.MLL")));
    const QString trip = folder_.file(QStringLiteral("out/trip.PLG"));
    ASSERT_TRUE(QDir().mkpath(folder_.file(QStringLiteral("out"))));
    ASSERT_TRUE(SaveFile(trip));
    const QString project = folder_.file(QStringLiteral("out/trip"));
    for (const char* n : {"BASE.MLL", "BASE.THG", "BASE.ADM", "JAPAN_A7.MLL", "JAPAN_A7.THG", "JAPAN_A7.ADM", "trip.PLG"})
        EXPECT_TRUE(QFileInfo::exists(project + QLatin1Char('/') + QString::fromLatin1(n))) << n;
    EXPECT_FALSE(QFileInfo::exists(trip)) << "the snapshot lies in the project folder only";
    EXPECT_EQ(gvMapUnitsLL->Active()->UnitName(), project + QStringLiteral("/JAPAN_A7.MLL"));
    EXPECT_FALSE(gvMapUnitsLL->Modify());

    // Opening the snapshot brings the same units back.
    const Loaded saved = Loaded::Now();
    gvMapUnitsLL->Remove(2);
    calls.clear();
    ASSERT_TRUE(LoadFile(project + QStringLiteral("/trip.PLG")));
    EXPECT_EQ(calls, QStringList({"layout", "plot"}));
    ASSERT_EQ(gvMapUnitsLL->Count(), 2);
    EXPECT_EQ(gvMapUnitsLL->Item(2)->UnitName(), saved.units[1].map);
    EXPECT_EQ(gvMapUnitsLL->Item(2)->Map().Count(), saved.units[1].figures);
}

TEST_F(Dispatch, AFailedProjectSaveKeepsTheUnitsOnTheirFiles) {
    ASSERT_TRUE(LoadFile(mapFile("JAPAN_A7.MLL")));
    gvMapUnitsLL->Active()->Map().setModify(true);
    const Loaded before = Loaded::Now();
    const QString project = folder_.file(QStringLiteral("p"));
    struct Case {
        const char* what;
        std::function<void()> arrange;
        QString message;
    } cases[] = {
        {"a file where the folder goes", [&] { testsupport::WriteBytes(project, "x"); },
         QStringLiteral("フォルダを作成できませんでした.")},
        {"the second unit's map read-only",
         [&] {
             QFile::remove(project);
             ASSERT_TRUE(QDir().mkpath(project));
             testsupport::WriteBytes(project + QStringLiteral("/JAPAN_A7.MLL"), "old");
             makeReadOnly(project + QStringLiteral("/JAPAN_A7.MLL"));
         },
         QStringLiteral("は読み取り専用ファイルです.")},
        {"the snapshot read-only",
         [&] {
             QFile::remove(project + QStringLiteral("/JAPAN_A7.MLL"));
             testsupport::WriteBytes(project + QStringLiteral("/p.PLG"), "old");
             makeReadOnly(project + QStringLiteral("/p.PLG"));
         },
         QStringLiteral("は読み取り専用ファイルです.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(c.message, plat::IdOk);
        EXPECT_FALSE(SaveFile(project + QStringLiteral(".PLG")));
        EXPECT_EQ(Loaded::Now(), before);
    }
}

TEST_F(Dispatch, BadFilesChangeNothingLoaded) {
    ASSERT_TRUE(LoadFile(mapFile("JAPAN_A7.MLL")));
    const Loaded before = Loaded::Now();
    ASSERT_FALSE(before.units[1].modify);
    QByteArray map = testsupport::ReadBytes(mapFile("JAPAN_A7.MLL"));
    testsupport::WriteBytes(out("cut.MLL"), map.left(map.size() / 3));
    QByteArray garbage(4096, '\0');
    for (int i = 0; i < garbage.size(); ++i) garbage[i] = char((i * 7919) & 0xFF);
    for (const char* n : {"junk.THG", "junk.ADM", "junk.PLG"}) testsupport::WriteBytes(out(QString::fromLatin1(n)), garbage);
    ASSERT_TRUE(QDir().mkpath(out("folder.THG")));
    // Over their limits (holes: nothing is written, nor read), and text
    // without a section of the format.
    auto sized = [&](const char* name, int64_t size) {
        QFile f(out(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(size));
    };
    sized("big.PLG", (8 << 20) + 1);
    sized("big.ADM", clsAdmins::kMaxFileBytes + 1);
    sized("empty.THG", 0);
    testsupport::WriteBytes(out("lines.ADM"), QByteArray("no section\r\n").repeated(1000));
    struct Case {
        QString file;
        QStringList messages;   // each answered with the first button
    } cases[] = {
        {out("cut.MLL"), {QStringLiteral("*File=") + out("cut.MLL")}},
        {out("junk.THG"), {QStringLiteral("*File=") + out("junk.THG")}},
        {out("junk.ADM"), {QStringLiteral("*File=") + out("junk.ADM")}},
        {out("junk.PLG"), {QStringLiteral("ログファイルの形式が正しくありません.")}},
        {out("folder.THG"), {QStringLiteral("*File=") + out("folder.THG")}},
        {out("big.PLG"), {QStringLiteral("ログファイルが大きすぎます. (上限 8 MiB)\r\n") + out("big.PLG")}},
        {out("big.ADM"), {out("big.ADM") + QStringLiteral("\r\nは大きすぎるので読み込みません.")}},
        {out("empty.THG"), {out("empty.THG") + QStringLiteral("\r\nには事象ファイルの項目がひとつもありません.")}},
        {out("lines.ADM"), {out("lines.ADM") + QStringLiteral("\r\nには行政区ファイルの項目がひとつもありません.")}},
        {out("gone.ADM"), {QStringLiteral("行政区ファイルが存在しません.")}},
        {out("gone.PLG"), {QStringLiteral("ログファイルが存在しません.")}},
        {out("notes.TXT"), {out("notes.TXT") + QStringLiteral("\r\nは無効なファイル形式です.")}},
        {QStringLiteral("MLL"), {QStringLiteral("は無効なファイル形式です.")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        {
            testsupport::ScriptedBoxes boxes;
            for (const QString& m : c.messages) boxes.expect(m, plat::IdNo);
            EXPECT_FALSE(LoadFile(c.file));
        }
        gvMapMode = 1;
        EXPECT_EQ(Loaded::Now(), before);
    }
}

TEST_F(Dispatch, UnwritableTargetsKeepTheUnitAsItWas) {
    ASSERT_TRUE(LoadFile(mapFile("JAPAN_A7.MLL")));
    for (const char* n : {"ro.MLL", "ro.THG", "ro.ADM", "ro.WMF", "ro.BMP"}) {
        testsupport::WriteBytes(out(QString::fromLatin1(n)), "old");
        makeReadOnly(out(QString::fromLatin1(n)));
    }
    ASSERT_TRUE(QDir().mkpath(out("dir.PNG")));
    const Loaded before = Loaded::Now();
    const QString readOnly = QStringLiteral("\r\nは読み取り専用ファイルです.");
    struct Case {
        QString file;
        QStringList messages;
    } cases[] = {
        // Each file of the unit is tried.
        {out("ro.MLL"), {out("ro.ADM") + readOnly, out("ro.THG") + readOnly, out("ro.MLL") + readOnly}},
        {out("ro.THG"), {out("ro.THG") + readOnly}},
        {out("ro.ADM"), {out("ro.ADM") + readOnly}},
        {out("ro.WMF"), {out("ro.WMF") + readOnly}},
        {out("ro.BMP"), {out("ro.BMP") + readOnly}},
        {out("dir.PNG"), {QStringLiteral("*Code=75\r\n*Source=")}},   // the file-error box names cause and path
        {out("ro.TXT"), {}},   // silently refused
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        testsupport::ScriptedBoxes boxes;
        for (const QString& m : c.messages) boxes.expect(m, plat::IdOk);
        EXPECT_FALSE(SaveFile(c.file));
        EXPECT_EQ(Loaded::Now(), before);
        if (QFileInfo(c.file).isFile()) {
            EXPECT_EQ(testsupport::ReadBytes(c.file), "old");
        }
        EXPECT_FALSE(QFileInfo::exists(c.file.chopped(4))) << "no project folder after a failed export";
    }
}

TEST(FileDialogs, FiltersAndDefaultExtensions) {
    const QString maps = QStringLiteral("経緯度地図ユニット(*.MLL)|*.MLL|ＸＹ地図ファイル(*.MXY)|*.MXY|");
    const QString images = QStringLiteral("地図ユニット(*.MLL)|*.MLL|PNG画像(*.PNG)|*.PNG|すべて(*.*)|*.*|");
    struct Case {
        bool save;
        QString filter, proposed, chosen;
        int index;        // the entry shown first
        QString result;
    } cases[] = {
        {true, QStringLiteral("ＸＹ地図ファイル(*.MXY)|*.MXY|"), QString(), QStringLiteral("/d/abc"), 1, QStringLiteral("/d/abc.MXY")},
        {true, maps, QStringLiteral("/d/a.b/map.mxy"), QStringLiteral("/d/a.b/map"), 2, QStringLiteral("/d/a.b/map.MXY")},
        // A dotted folder does not choose the entry; the file's own extension does.
        {true, images, QStringLiteral("/home/u/my.maps/view.PNG"), QStringLiteral("/home/u/my.maps/view.PNG"), 2,
         QStringLiteral("/home/u/my.maps/view.PNG")},
        {true, images, QStringLiteral("/home/u/my.maps/view"), QStringLiteral("/home/u/my.maps/view.txt"), 1,
         QStringLiteral("/home/u/my.maps/view.MLL")},
        {true, images, QStringLiteral("x.zip"), QStringLiteral("/d/x.zip"), 1, QStringLiteral("/d/x.MLL")},
        {true, QStringLiteral("すべて(*.*)|*.*|"), QStringLiteral("x.zip"), QStringLiteral("/d/x.zip"), 1, QStringLiteral("/d/x.zip")},
        {false, maps, QStringLiteral("/d/coast.Mxy"), QStringLiteral("/d/coast.MXY"), 2, QStringLiteral("/d/coast.MXY")},
        {false, maps, QStringLiteral("/d/coast"), QStringLiteral("/d/coast"), 1, QStringLiteral("/d/coast")},
        {false, maps, QStringLiteral("/d/coast.MXY"), QString(), 2, QString()},   // cancelled
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.filter + QLatin1Char(' ') + c.proposed).toStdString());
        testsupport::ScriptedBoxes boxes;
        if (c.save) boxes.expectSaveFile(QStringLiteral("ファイルを保存する"), c.chosen);
        else boxes.expectOpenFile(QStringLiteral("ファイルを開く"), c.chosen);
        const QString got = c.save ? InputSaveName(QString(), c.filter, c.proposed) : InputLoadName(QString(), c.filter, c.proposed);
        EXPECT_EQ(got, c.result);
        ASSERT_EQ(boxes.fileRequests().size(), 1u);
        EXPECT_EQ(boxes.fileRequests()[0].filterIndex, c.index);
        EXPECT_EQ(boxes.fileRequests()[0].save, c.save);
    }
    testsupport::ScriptedBoxes titled;
    titled.expectOpenFile(QStringLiteral("地図を開く"), QString());
    EXPECT_EQ(InputLoadName(QStringLiteral("地図を開く"), maps, QString()), QString());
}

TEST(FileDialogs, ColourAndFontCancelValues) {
    int repaints = 0;
    FileHost h;
    h.Repaint = [&] { ++repaints; };
    const FileHost old = SetFileHost(h);
    testsupport::ScriptedBoxes boxes;
    boxes.expectColor(0x123456).expectColor(0, false);
    EXPECT_EQ(InputColor(0xFF), 0x123456);
    EXPECT_EQ(InputColor(0xFF), -1);
    plat::StdFont chosen;
    chosen.name = QStringLiteral("IPAGothic");
    chosen.size = 14;
    chosen.bold = true;
    boxes.expectFont(chosen).expectFont(chosen, false);
    plat::StdFont font;
    EXPECT_TRUE(InputFont(font));
    EXPECT_EQ(font.name, chosen.name);
    EXPECT_EQ(font.size, 14);
    EXPECT_TRUE(font.bold);
    plat::StdFont kept;
    EXPECT_FALSE(InputFont(kept));
    EXPECT_EQ(kept.name, plat::StdFont().name);
    EXPECT_EQ(repaints, 4) << "the window is repainted after every dialog, a cancelled one too";
    SetFileHost(old);
}

} // namespace
