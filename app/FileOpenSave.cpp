#include "FileOpenSave.h"

#include <QCursor>
#include <QDir>
#include <QFileInfo>

#include <memory>
#include <vector>

#include "ErrorMng.h"
#include "ExpStyleModel.h"
#include "FigureDialog.h"
#include "FileDialog.h"
#include "MessageBox.h"
#include "PublicVal.h"
#include "Screen.h"
#include "basLibrary.h"
#include "clsAdmins.h"
#include "clsCanvas.h"
#include "clsMapUnit.h"
#include "clsMapUnits.h"
#include "clsNativeColor.h"
#include "clsThings.h"
#include "frmPalette.h"

namespace mainform {

namespace {

const QString kForm = QStringLiteral("frmMain");

FileHost& host() {
    static FileHost h;
    return h;
}

void call(const std::function<void()>& f) {
    if (f) f();
}

void status(const QString& text) {
    if (host().StatusText) host().StatusText(text);
}

// A catalogue's or map's name, lock and modified flag, to put back after a
// save that did not happen.
template <class Part>
struct PartState {
    QString fileName;
    bool lock = false;
    bool modify = false;
    explicit PartState(const Part& p) : fileName(p.FileName()), lock(p.LockMode()), modify(p.Modify()) {}
    void restore(Part& p) const {
        p.setFileName(fileName);
        p.setLockMode(lock);
        p.setModify(modify);
    }
};

struct UnitState {
    MapUnitPtr unit;
    PartState<clsMap> map;
    PartState<clsThings> things;
    PartState<clsAdmins> admins;
    explicit UnitState(const MapUnitPtr& u) : unit(u), map(u->Map()), things(u->Things()), admins(u->Admins()) {}
    void restore() const {
        map.restore(unit->Map());
        things.restore(unit->Things());
        admins.restore(unit->Admins());
    }
};

void restoreAll(const std::vector<UnitState>& states) {
    for (auto it = states.rbegin(); it != states.rend(); ++it) it->restore();
}

// A load or save of a file that has already shown its error when it raised.
template <class Op>
bool attempt(Op op) {
    try {
        return op();
    } catch (...) {
        return false;
    }
}

bool loadMapUnit(const QString& fileName, int32_t mode) {
    clsMapUnits* units = mode == 1 ? gvMapUnitsLL : gvMapUnitsXY;
    auto unit = std::make_shared<clsMapUnit>();
    unit->setMapMode(mode);
    unit->setUnitName(fileName);
    const bool ok = unit->Load();
    if (ok && units) {
        units->Add(unit);
        if (mode == 1) units->Optimize(7);
    }
    const bool switched = gvMapMode != mode;
    gvMapMode = mode;
    if (switched && host().MapModeChanged) host().MapModeChanged(mode);
    return ok;
}

// The catalogue is read into a new one, which replaces the unit's only when
// it loaded; it is then modified, so it is saved with its unit.
template <class Catalogue>
bool loadCatalogue(const QString& fileName, void (clsMapUnit::*replace)(std::shared_ptr<Catalogue>)) {
    const MapUnitPtr unit = ActiveMapUnit();
    if (!unit) return false;
    auto fresh = std::make_shared<Catalogue>();
    fresh->setFileName(fileName);
    if (!attempt([&] { return fresh->Load() == 0; })) return false;
    fresh->setModify(true);
    ((*unit).*replace)(fresh);
    return true;
}

template <class Catalogue>
bool saveCatalogue(Catalogue& c, const QString& fileName) {
    const PartState<Catalogue> before(c);
    c.setFileName(fileName);
    if (attempt([&] { return c.Save() == 0; })) return true;
    before.restore(c);
    return false;
}

bool saveMapUnit(const QString& fileName, int32_t mode) {
    clsMapUnits* units = mode == 1 ? gvMapUnitsLL : gvMapUnitsXY;
    const MapUnitPtr unit = units ? units->Active() : nullptr;
    if (!unit || unit->Map().Count() < 1) return false;
    const UnitState before(unit);
    unit->setUnitName(fileName);
    if (attempt([&] { return unit->Save(true); })) return true;
    before.restore();
    return false;
}

// The project: a folder named after the file (without its extension) with
// a copy of every unit of the current map mode and the snapshot. The units
// then refer to their copies; when anything fails they keep their old
// files.
bool saveProject(const QString& fileName) {
    const QString folder = fileName.left(fileName.size() - 4);
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        MsgError(folder + QStringLiteral("\r\nフォルダを作成できませんでした."));
        return false;
    }
    std::vector<UnitState> before;
    if (clsMapUnits* units = CurrentMapUnits()) {
        for (const MapUnitPtr& unit : *units) {
            before.emplace_back(unit);
            unit->setUnitName(JoinPath(folder, FileNameOf(unit->UnitName())));
            if (!attempt([&] { return unit->Save(false); })) {
                restoreAll(before);
                return false;
            }
        }
    }
    const QString log = JoinPath(folder, FileNameOf(fileName));
    int32_t written = -1;
    const int answer = WithFileRetry([&] { written = gvWriteLog(log); }, ChangeExt(log, QStringLiteral(".PLG")));
    if (answer == 0 && written == LogOK) return true;
    restoreAll(before);
    return false;
}

bool saveImage(const QString& ext, const QString& fileName) {
    if (ext == QLatin1String(".BMP") || ext == QLatin1String(".PNG")) {
        if (!gvCanvas) return false;
        if (ext == QLatin1String(".BMP")) {
            status(QStringLiteral("BMPファイルへ出力しています..."));
            gvCanvas->setBmpPath(fileName);
            return gvCanvas->SaveBMP();
        }
        status(QStringLiteral("PNGファイルへ出力しています..."));
        gvCanvas->setPngPath(fileName);
        return gvCanvas->SavePNG();
    }
    if (ext == QLatin1String(".WMF")) return SaveMetaFile(fileName, host().Plot, host().StatusText);
    return host().SaveEps && host().SaveEps(fileName);
}

bool isImage(const QString& ext) {
    return ext == QLatin1String(".BMP") || ext == QLatin1String(".PNG") || ext == QLatin1String(".WMF") ||
           ext == QLatin1String(".EPS");
}

// The palette popup at the mouse; -2 unless a colour was chosen.
int32_t inputPaletteColor(int32_t colour, bool wildMode) {
    if (!gvNativeColor) return -2;
    PaletteLogic logic;
    logic.WildMode = wildMode;
    logic.Palette = gvNativeColor;
    logic.Color = colour;
    const QPoint at = QCursor::pos();
    logic.Position = {static_cast<int32_t>(at.x() * plat::TwipsPerPixelX()),
                      static_cast<int32_t>(at.y() * plat::TwipsPerPixelY())};
    logic.EditColor = InputColor;
    {
        frmPalette popup(logic);
        popup.showModal();
    }
    call(host().Repaint);
    return logic.OK ? logic.Color : -2;
}

} // namespace

FileHost SetFileHost(FileHost h) { return std::exchange(host(), std::move(h)); }

QString DispatchExtension(const QString& fileName) { return fileName.right(4).toUpper(); }

bool LoadFile(const QString& fileName) {
    try {
        const QString ext = DispatchExtension(fileName);
        bool ok = false;
        if (ext == QLatin1String(".MLL") || ext == QLatin1String(".MXY")) {
            ok = loadMapUnit(fileName, ext == QLatin1String(".MLL") ? 1 : 2);
        } else if (ext == QLatin1String(".THG")) {
            ok = loadCatalogue<clsThings>(fileName, &clsMapUnit::setThings);
        } else if (ext == QLatin1String(".ADM")) {
            ok = loadCatalogue<clsAdmins>(fileName, &clsMapUnit::setAdmins);
        } else if (ext == QLatin1String(".PLG")) {
            // A snapshot that was not restored leaves the sets as they are.
            ok = gvReadLog(fileName) == LogOK;
            if (ok) {
                for (clsMapUnits* units : {gvMapUnitsLL, gvMapUnitsXY})
                    if (units) units->Optimize(7);
                if (gvCanvas) gvCanvas->ViewLikeCanvas();
            }
        } else {
            MsgError(fileName + QStringLiteral("\r\nは無効なファイル形式です."));
            return false;
        }
        call(host().AfterLoad);
        call(host().PlotWindow);
        return ok;
    } catch (...) {
        RaiseError(ErrGeneral, kForm, QStringLiteral("LoadFile"));
    }
}

bool SaveFile(const QString& fileName) {
    try {
        const QString ext = DispatchExtension(fileName);
        if (ext == QLatin1String(".MLL") || ext == QLatin1String(".MXY"))
            return saveMapUnit(fileName, ext == QLatin1String(".MLL") ? 1 : 2);
        if (ext == QLatin1String(".THG") || ext == QLatin1String(".ADM")) {
            const MapUnitPtr unit = ActiveMapUnit();
            if (!unit) return false;
            return ext == QLatin1String(".THG") ? saveCatalogue(unit->Things(), fileName)
                                                : saveCatalogue(unit->Admins(), fileName);
        }
        if (ext == QLatin1String(".PLG")) return saveProject(fileName);
        if (!isImage(ext)) return false;
        const bool ok = saveImage(ext, fileName);
        call(host().PlotWindow);
        return ok && saveProject(fileName);
    } catch (...) {
        RaiseError(ErrGeneral, kForm, QStringLiteral("SaveFile"));
    }
}

int FilterIndexOf(const QString& filter, const QString& fileName) {
    const QString name = FileNameOf(fileName);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) return 1;
    const qsizetype at = filter.indexOf(name.mid(dot), 0, Qt::CaseInsensitive);
    if (at < 0) return 1;
    return static_cast<int>(filter.left(at).count(QLatin1Char('|')) / 2 + 1);
}

QString FilterExtension(const QString& filter, int index) { return plat::EntryExtension(filter, index); }

QString SavedName(const QString& filter, const QString& path, int index) {
    const QString ext = FilterExtension(filter, index);
    return ext.isEmpty() ? path : ChangeExt(path, ext);
}

int32_t InputColor(int32_t colour) {
    plat::COLORREF c = static_cast<plat::COLORREF>(colour) & 0xFFFFFFu;
    const bool chosen = plat::ChooseColor(c);
    call(host().Repaint);
    return chosen ? static_cast<int32_t>(c & 0xFFFFFFu) : -1;
}

bool InputFont(plat::StdFont& font) {
    const bool chosen = plat::ChooseFont(font);
    call(host().Repaint);
    return chosen;
}

QString InputLoadName(const QString& title, const QString& filter, const QString& fileName) {
    plat::FileRequest req;
    req.title = title.isEmpty() ? QStringLiteral("ファイルを開く") : title;
    req.filter = filter;
    req.fileName = fileName;
    req.filterIndex = FilterIndexOf(filter, fileName);
    const QString path = plat::ChooseFile(req);
    call(host().Repaint);
    return path;
}

QString InputSaveName(const QString& title, const QString& filter, const QString& fileName) {
    plat::FileRequest req;
    req.save = true;
    req.title = title.isEmpty() ? QStringLiteral("ファイルを保存する") : title;
    req.filter = filter;
    req.fileName = fileName;
    req.filterIndex = FilterIndexOf(filter, fileName);
    // The chooser asks before replacing the file really written.
    req.savedName = [filter](const QString& path, int index) { return SavedName(filter, path, index); };
    int index = req.filterIndex;
    const QString path = plat::ChooseFile(req, &index);
    call(host().Repaint);
    return path.isEmpty() ? path : SavedName(filter, path, index);
}

int32_t InputRealColor(int32_t colour) { return inputPaletteColor(colour, false); }

int32_t InputNativeColor(int32_t colour) { return inputPaletteColor(colour, true); }

void InstallColorInputs() {
    SetRealColorInput(InputRealColor);
    SetNativeColorInput(InputNativeColor);
}

} // namespace mainform
