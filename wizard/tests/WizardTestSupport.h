// Helpers of the wizard's tests: the bundled environment and maps, a
// drawing layer, the real base-map layers, a scripted run engine and a
// snapshot writer that records what it was asked to write.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QString>

#include <functional>

#include "AppInfo.h"
#include "AppState.h"
#include "DoEvents.h"
#include "MapUnitIo.h"
#include "PlotProjectionGlue.h"
#include "PrjServices.h"
#include "PrjWizardHost.h"
#include "SettingsStore.h"
#include "TestSupport.h"
#include "TextFile.h"
#include "basGlobe.h"
#include "clsEnvironment.h"
#include "clsMapGraph.h"
#include "clsMapSymbol.h"
#include "clsMapUnits.h"
#include "clsProjector.h"
#include "clsRegistry.h"
#include "frmPrjWizardLogic.h"

namespace wiztest {

inline QString BundledMaps() { return QStringLiteral(KAL_SOURCE_DIR "/data/maps"); }

// A projection whose run is a script: it yields `steps` times (letting a
// test act through onStep), produces one cell per step, and then answers a
// one-unit X/Y set, nothing once cancelled, or throws when asked to.
class FakeRunEngine : public PrjRunEngine {
public:
    int steps = 3;
    bool failBound = false;
    bool throwInRun = false;
    int32_t remain = 42;
    std::function<void(int step)> onStep;
    std::function<void()> onBound;
    bool cancelled = false;
    int* runs = nullptr;   // counts the projections, outliving the engine

    std::optional<clsRect> OutputBound() override {
        if (onBound) onBound();
        if (failBound) return std::nullopt;
        return clsRect(-2000000, -1000000, 2000000, 1000000);
    }
    std::shared_ptr<clsMapUnits> ExeProjection(clsMapUnits&, const CellHandler& add) override {
        if (runs) ++*runs;
        cancelled = false;
        auto out = std::make_shared<clsMapUnits>();
        out->Create(2);
        for (int i = 1; i <= steps; ++i) {
            progress = i * 100 / steps;
            auto s = std::make_shared<clsMapSymbol>();
            s->setThing(1);
            out->Base()->Map().Add(s);
            clsMapCell cell = out->Base()->ToCell(s);
            add(cell);
            if (onStep) onStep(i);
            if (throwInRun && i == 2) throw AppError(ErrGeneral, QStringLiteral("fake"), QStringLiteral("壊れた図形"));
            if (cancelled) return nullptr;
        }
        return out;
    }
    int32_t Progress() const override { return progress; }
    int32_t Remain() const override { return remain; }
    void RequestCancel() override { cancelled = true; }
    int32_t progress = 0;
};

// Every test: the bundled Environment.txt and maps, a drawing layer, the
// real base-map layers, an empty host and map-unit dialogs.
class WizardTest : public ::testing::Test {
protected:
    WizardTest() : oldFolder_(gvMapFolder), oldApp_(plat::AppPath()) {
        env.setFileName(QStringLiteral(KAL_SOURCE_DIR "/data/Environment.txt"));
        EXPECT_EQ(env.Load(), 0);
        gvEnvironment = &env;
        gvMapFolder = BundledMaps();
        plat::SetAppPath(QStringLiteral(KAL_SOURCE_DIR "/data"));
        gvMapGraph = &graph;
        InstallPlotProjectionGlue();
        ForgetSettings();
        projectorOwner = std::make_unique<clsProjector>();
    }
    ~WizardTest() override {
        // A projector writes its settings when it goes.
        projectorOwner.reset();
        SetPrjWizardHost({});
        SetMapUnitDialogs({}, {});
        SetProjectorLayers(nullptr);
        SetPrjServices(nullptr, nullptr);
        gvMapGraph = nullptr;
        gvEnvironment = nullptr;
        gvMapFolder = oldFolder_;
        plat::SetAppPath(oldApp_);
        ForgetSettings();
    }
    static void ForgetSettings() {
        const plat::SettingsStore::Batch batch;
        for (const char* s : {"PROJECTOR", "LLPLOT", "XYPLOT", "LLGRID", "XYGRID"})
            clsRegistry(QString::fromLatin1(s)).RegDelete(QString());
    }

    // The wizard loaded on `units` with a fake run engine.
    void LoadWithFake(frmPrjWizardLogic& w, clsMapUnits* units = nullptr) {
        w.MapUnitsLL = units ? units : &fakeSource;
        w.Projector = projectorOwner.get();
        w.RunEngineFactory = [this](clsProjector&) {
            auto e = std::make_unique<FakeRunEngine>();
            e->runs = &runs;
            configure(*e);
            return e;
        };
        w.Load();
    }

    clsEnvironment env;
    clsMapGraph graph;
    std::unique_ptr<clsProjector> projectorOwner;
    clsMapUnits fakeSource;
    std::function<void(FakeRunEngine&)> configure = [](FakeRunEngine&) {};
    int runs = 0;

private:
    QString oldFolder_, oldApp_;
};

// Writes the "PROJECTOR" section as the program's snapshot writer would
// (path with ".PLG"), recording the paths and the X/Y set shown meanwhile.
struct SnapshotRecorder {
    QStringList paths;
    std::vector<clsMapUnits*> xySeen;
    clsMapUnits* globalXY = nullptr;
    clsProjector* projector = nullptr;   // the program's projection, whose section a snapshot holds
    int32_t answer = 0;

    void Install() {
        PrjWizardHost h;
        h.WriteLog = [this](const QString& file) {
            paths.append(file);
            xySeen.push_back(globalXY);
            if (answer != 0) return answer;
            if (projector) projector->WriteRegistry();
            plat::TextWriter out(file + QStringLiteral(".PLG"));
            clsRegistry(clsProjector::RegistrySection()).WriteFile(out);
            out.commit();
            return 0;
        };
        h.ExchangeXYUnits = [this](clsMapUnits* u) { return std::exchange(globalXY, u); };
        SetPrjWizardHost(std::move(h));
    }
};

// Texts typed into a box: whether each is taken and what the box shows
// afterwards; every refusal shows the range warning naming `range`.
struct TypedCase {
    const char* text;
    bool ok;
    const char* shown;
};
template <class Validate, class Shown>
void CheckTyped(std::initializer_list<TypedCase> cases, const QString& range, Validate validate, Shown shown) {
    testsupport::ScriptedBoxes boxes;
    for (const TypedCase& c : cases) {
        SCOPED_TRACE(c.text);
        if (!c.ok) boxes.expect(QStringLiteral("既定の範囲を超えています.\r\n") + range, plat::IdOk);
        EXPECT_EQ(validate(QString::fromUtf8(c.text)), c.ok);
        EXPECT_EQ(shown(), QString::fromUtf8(c.shown));
    }
}

} // namespace wiztest
