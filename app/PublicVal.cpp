#include "PublicVal.h"

#include <QDir>

#include <exception>
#include <functional>
#include <utility>

#include "AppInfo.h"
#include "ErrorMng.h"
#include "MapUnitProgress.h"
#include "PublicValInternal.h"
#include "basAngle.h"
#include "basGlobe.h"
#include "basLibrary.h"
#include "clsEnvironment.h"
#include "clsNativeColor.h"
#include "clsProjector.h"
#include "CanvasPictures.h"
#include "clsAccessory.h"
#include "clsCanvas.h"
#include "clsCruise05.h"
#include "clsMapGraph.h"
#include "clsMapPlot.h"

#include <QGuiApplication>
#include <QScreen>

clsMapUnits* gvMapUnitsLL = nullptr;
clsMapUnits* gvMapUnitsXY = nullptr;
BitmapCanvasPicture* gvCanvasPicture = nullptr;
BitmapViewPicture* gvViewPicture = nullptr;

int32_t gvMapMode = 1;
bool gvExpert = false;
QString gvLastLog;
QString gvLastSavePath;
QString gvStartMapFile;
int16_t gvStartMapType = 0;
int16_t gvScreenDPI = 0;
int16_t gvAngleValue = 0;
int16_t gvAngleUnit = 0;
int16_t gvAngleDirection = 0;
int32_t gvHomeLon = 0, gvHomeLat = 0;
double gvHomeScaleLL = 0;
int32_t gvHomeX = 0, gvHomeY = 0;
double gvHomeScaleXY = 0;
int16_t gvSaveInterval = 0;

namespace publicval {

const QString kModule = QStringLiteral("basPublicVal");

// Set once the "PUBLIC" settings were read: only then may shutdown write
// them, or a failed start-up would overwrite the user's settings.
bool gPublicRead = false;

void PrepareXYPlot(clsMapPlot& plot) {
    plot.setProjectionIndex(0);
    plot.ReadRegistry();
    plot.Grid().setUnitMode(2);
    plot.Grid().ReadRegistry();
    plot.ProjectionAuto = false;
    plot.GridAuto = false;
}

} // namespace publicval

using namespace publicval;

namespace {

const QString kDefaultStartMap = QStringLiteral("WORLD_T3.MLL");

template <class T>
void release(T*& p) {
    delete std::exchange(p, nullptr);
}

// The screen the view lives on; without one (headless runs) a common size.
QSize screenSize() {
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    return screen ? screen->size() : QSize(1920, 1080);
}

int screenDpi() {
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    return screen ? qRound(screen->logicalDotsPerInch()) : 96;
}

// The global objects in the order of their creation.
void createGlobals() {
    gvMapGraph = new clsMapGraph();
    gvAccessory = new clsAccessory();
    CreateGlobalCruise();
    gvNativeColor = new clsNativeColor();
    gvMapUnitsLL = new clsMapUnits();
    gvMapPlotLL = new clsMapPlot();
    gvMapUnitsXY = new clsMapUnits();
    gvMapPlotXY = new clsMapPlot();
    // The main window adopts the view picture and tells it its frame.
    gvCanvasPicture = new BitmapCanvasPicture(800, 600);
    gvViewPicture = new BitmapViewPicture(800, 600, QSize(24, 120), screenSize());
    gvCanvas = new clsCanvas(*gvCanvasPicture, *gvViewPicture, screenDpi());
    gvProjector = new clsProjector();
}

// Runs every step even when one fails; the first failure is passed on.
class ReleaseSteps {
public:
    void operator()(const std::function<void()>& step) {
        try {
            step();
        } catch (...) {
            if (!failure_) failure_ = std::current_exception();
        }
    }
    void rethrow() const {
        if (failure_) std::rethrow_exception(failure_);
    }

private:
    std::exception_ptr failure_;
};

// The objects in the order of their release (their destructors write their
// settings sections); the map unit sets come after them. Each may be
// missing after a failed start-up.
void releaseGlobals() {
    ReleaseSteps step;
    step([] { release(gvProjector); });
    step([] {
        release(gvCanvas);
        release(gvViewPicture);
        release(gvCanvasPicture);
    });
    step([] { release(gvMapPlotXY); });
    step([] { release(gvMapPlotLL); });
    step([] { release(gvNativeColor); });
    step([] {
        if (gvCruise) DestroyGlobalCruise();
    });
    step([] { release(gvAccessory); });
    step([] { release(gvMapGraph); });
    step.rethrow();
}

// Freeing a very large set takes long; the process ends at once instead.
void releaseUnits(clsMapUnits*& units) {
    if (!units) return;
    int64_t figures = 0;
    for (const MapUnitPtr& u : *units) figures += u->Map().Count();
    if (figures < kKeepUnitsFigureCount) release(units);
}

// "..\X" lies beside the program folder; any other relative folder inside it.
QString resolveMapFolder(const QString& value) {
    if (value.startsWith(QLatin1String("..\\")) || value.startsWith(QLatin1String("../"))) {
        QString rest = value.mid(2);
        rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
        return FolderOf(plat::AppPath()) + rest;
    }
    QString native = value;
    native.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QDir::isRelativePath(native)) return plat::AppPath() + QLatin1Char('/') + native;
    return value;
}

} // namespace

QString StartupMessage(int16_t code) {
    switch (code) {
    case StartupOK: return QString();
    case StartupNoObjects: return QStringLiteral("パブリックインスタンスを生成できませんでした．");
    case StartupNoBaseLL: return QStringLiteral("経緯度地図ベースユニットを確立できませんでした.");
    case StartupNoBaseXY: return QStringLiteral("ＸＹ地図ベースユニットを確立できませんでした.");
    case StartupNoSettings: return QStringLiteral("前回環境を復元できませんでした．");
    case StartupBadEnvironment: return QStringLiteral("環境ファイルに異常があります.");
    default: return QStringLiteral("原因不明のエラーにより初期化を中止します．");
    }
}

namespace {
AppError gStartupError;

// Inside a catch block: the error behind the start-up code returned.
int16_t failedWith(int16_t code) {
    gStartupError = plat::CurrentError();
    return code;
}
} // namespace

const AppError& StartupError() { return gStartupError; }

int16_t gvInitialize() {
    gStartupError = AppError();
    try {
        delete gvEnvironment;
        gvEnvironment = new clsEnvironment();
        gvEnvironment->setFileName(JoinPath(plat::AppPath(), QStringLiteral("Environment.txt")));
        // A file the user declined to retry has shown its error already.
        try {
            if (gvEnvironment->Load() != 0) return StartupNoObjects;
        } catch (...) {
            return failedWith(StartupNoObjects);
        }

        gvDefaultFont = FontExists(QStringLiteral("メイリオ")) ? QStringLiteral("メイリオ")
                                                             : QStringLiteral("ＭＳ Ｐゴシック");
        InitGlobe();

        const QString folder = gvEnvironment->GetString(QStringLiteral("MapFolder"), QString());
        if (folder.isEmpty()) return StartupBadEnvironment;
        gvMapFolder = resolveMapFolder(folder);
        SetGvStartMapFile(gvEnvironment->GetString(QStringLiteral("StartMapFile"), QString()));

        try {
            createGlobals();
        } catch (...) {
            return failedWith(StartupNoObjects);
        }
        SetWriteLogHook(WriteMapUnitLog);

        gvMapMode = 1;
        try {
            gvReadRegistry(false);
        } catch (...) {
            return failedWith(StartupNoSettings);
        }
        gPublicRead = true;

        try {
            gvMapUnitsLL->Create(1);
        } catch (...) {
            return failedWith(StartupNoBaseLL);
        }
        try {
            gvMapUnitsXY->Create(2);
        } catch (...) {
            return failedWith(StartupNoBaseXY);
        }

        PrepareXYPlot(*gvMapPlotXY);

        SetAngleUnit(gvAngleValue);
        SetAngleSymbol(gvAngleUnit);
        SetAngleDirStyle(gvAngleDirection);
        return StartupOK;
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("gvInitialize"));
    }
}

void gvTerminate() {
    // Everything is released even when writing the settings fails; the
    // failure is passed on afterwards.
    ReleaseSteps step;
    step([] {
        if (gPublicRead) gvWriteRegistry(false);
    });
    gPublicRead = false;
    SetWriteLogHook({});
    step(releaseGlobals);
    step([] { releaseUnits(gvMapUnitsLL); });
    step([] { releaseUnits(gvMapUnitsXY); });
    step([] { release(gvEnvironment); });
    try {
        step.rethrow();
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("gvTerminate"));
    }
}

void SetGvStartMapFile(const QString& path) {
    try {
        if (FileExists(path)) {
            gvStartMapFile = path;
            return;
        }
        // An empty name would find the map folder itself.
        const QString name = FileNameOf(path);
        if (!name.isEmpty() && FileExists(JoinPath(gvMapFolder, name))) {
            gvStartMapFile = name;
            return;
        }
        const QString configured =
            gvEnvironment ? gvEnvironment->GetString(QStringLiteral("StartMapFile"), kDefaultStartMap) : kDefaultStartMap;
        gvStartMapFile =
            !configured.isEmpty() && FileExists(JoinPath(gvMapFolder, configured)) ? configured : kDefaultStartMap;
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("SetGvStartMapFile"));
    }
}

clsMapUnits* CurrentMapUnits() {
    if (gvMapMode == 1) return gvMapUnitsLL;
    if (gvMapMode == 2) return gvMapUnitsXY;
    return nullptr;
}

MapUnitPtr ActiveMapUnit() {
    clsMapUnits* units = CurrentMapUnits();
    return units ? units->Active() : nullptr;
}

clsMap* ActiveMap() {
    MapUnitPtr u = ActiveMapUnit();
    return u ? &u->Map() : nullptr;
}

clsThings* ActiveThings() {
    MapUnitPtr u = ActiveMapUnit();
    return u ? &u->Things() : nullptr;
}

clsAdmins* ActiveAdmins() {
    MapUnitPtr u = ActiveMapUnit();
    return u ? &u->Admins() : nullptr;
}
