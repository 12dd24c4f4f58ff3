#include "MainMenus.h"

#include <algorithm>

#include "AppError.h"
#include "PublicVal.h"
#include "basApiLib.h"
#include "basHMap.h"
#include "basBaseMap.h"
#include "basFileNames.h"
#include "basLibrary.h"
#include "clsMap.h"
#include "clsMapPlot.h"
#include "clsMapUnit.h"
#include "clsMapUnits.h"

namespace {

bool kindBit(int32_t mask, int kind) { return (mask & (1 << (kind - 1))) != 0; }

const QString kOpenFilter = QStringLiteral(
    "経緯度地図ファイル(*.MLL)|*.MLL|ＸＹ地図ファイル(*.MXY)|*.MXY|事象ファイル(*.THG)|*.THG|"
    "行政区ファイル(*.ADM)|*.ADM|ログファイル(*.PLG)|*.PLG|");

// Each unit's figures; the collection itself, so no undo step per figure.
template <class Get, class Set>
int32_t resetEach(clsMapUnits& units, Get get, Set set) {
    int32_t changed = 0;
    for (const MapUnitPtr& unit : units) {
        bool any = false;
        for (const MapFigurePtr& f : unit->Map().MapCollection())
            if (f && get(*f) != -1) {
                set(*f);
                any = true;
                ++changed;
            }
        if (any) unit->Map().setModify(true);
    }
    return changed;
}

} // namespace

// ---------------------------------------------------------------- File

FileMenuState PrepareFileMenu(const FileMenuInputs& in) {
    FileMenuState s;
    s.Overwrite.Enabled = in.Modified;
    s.CruiseSet.Enabled = s.CruiseExe.Enabled = in.MapMode == 1;
    s.Print.Enabled = in.PrinterExists;
    s.MapInfo.Enabled = in.ActiveFigures > 0;
    const QString captions[] = {QStringLiteral("(&1) LAST.PLG"), QStringLiteral("(&2) CLIP.PLG"),
                                QStringLiteral("(&3) PRINT.PLG"), QStringLiteral("(&4) ") + FileNameOf(in.LastLog)};
    for (size_t i = 0; i < s.LogItems.size(); ++i) s.LogItems[i] = {captions[i], in.LogExists[i], false};
    return s;
}

QString LogItemPath(int index) {
    QString path;
    switch (index) {
    case 1: path = GetLogLast(); break;
    case 2: path = GetLogClip(); break;
    case 3: path = GetLogPrint(); break;
    case 4: path = gvLastLog; break;
    default: return QString();
    }
    return ChangeExt(path, QStringLiteral(".PLG"));
}

QString OpenFilter() { return kOpenFilter; }

QString SaveFilter() {
    return kOpenFilter + QStringLiteral("BMPイメージファイル(*.BMP)|*.BMP|PNGイメージファイル(*.PNG)|*.PNG|"
                                        "メタファイル(*.WMF)|*.WMF|ポストスクリプト(*.EPS)|*.EPS|");
}

QString NewUnitProposal(int32_t mapMode, const QString& mapFolder, const QString& stamp) {
    return mapFolder + QStringLiteral("/UserMap") + stamp + (mapMode == 2 ? QStringLiteral(".MXY") : QStringLiteral(".MLL"));
}

QString NewUnitFilter(int32_t mapMode) {
    return mapMode == 2 ? QStringLiteral("ＸＹ地図ファイル(*.MXY)|*.MXY|") : QStringLiteral("経緯度地図ファイル(*.MLL)|*.MLL|");
}

bool NewMapUnit(clsMapUnits& units, const QString& path) {
    const int32_t before = units.Count();
    if (!units.AddNew(path) || units.Count() != before + 1) return false;
    units.setIndex(units.Count());
    return units.Active()->Save(true);
}

bool SaveModifiedUnits() {
    for (clsMapUnits* units : {gvMapUnitsLL, gvMapUnitsXY})
        if (units)
            for (const MapUnitPtr& unit : std::vector<MapUnitPtr>(units->begin(), units->end()))
                if (unit->Modify()) unit->Save(true);
    for (clsMapUnits* units : {gvMapUnitsLL, gvMapUnitsXY})
        if (units && units->Modify()) return false;
    return true;
}

// ---------------------------------------------------------------- Edit

EditMenuState PrepareEditMenu(const EditMenuInputs& in) {
    EditMenuState s;
    s.Undo.Enabled = in.CanUndo;
    s.GarbageOne.Enabled = s.GarbageAll.Enabled = in.TrashCount > 0;
    s.Pickup = {QString(), !in.SurveyOn, in.PickupOn};
    s.Detail.Checked = in.DetailEnable;
    s.Add.Enabled = !in.Locked;
    s.AddAzimuthLine.Enabled = in.MapMode == 1;
    for (int k = 2; k <= 5; ++k) s.FigPick[k - 2].Checked = kindBit(in.FigurePick, k);
    return s;
}

std::vector<MenuItemState> UnitMenuItems(const clsMapUnits* units, bool display, int32_t language) {
    std::vector<MenuItemState> items;
    if (!units) return items;
    for (const MapUnitPtr& unit : *units) {
        const QChar letter(QLatin1Char(char('A' + items.size() % 26)));
        items.push_back({unit->Map().MapName(language) + QStringLiteral("(&") + letter + QLatin1Char(')'), true,
                         display ? unit->DisplaySwitch() : unit->SearchSwitch()});
    }
    return items;
}

int32_t ToggleKindBit(int32_t mask, int index) { return mask ^ (1 << (index - 1)); }

bool RestoreOneFromTrash(clsMapUnit& unit) {
    clsMap& trash = unit.Garbage();
    const int32_t n = trash.Count();
    if (n < 1) return false;
    if (!unit.Map().Add(trash.Item(n))) return false;
    trash.Remove(n);
    return true;
}

int32_t RestoreAllFromTrash(clsMapUnit& unit) {
    clsMap& map = unit.Map();
    clsMap& trash = unit.Garbage();
    std::vector<int32_t> restored;
    const clsMap::FigureList all(trash.begin(), trash.end());
    for (size_t i = 0; i < all.size(); ++i) {
        if (map.Add(all[i])) restored.push_back(static_cast<int32_t>(i) + 1);
        // The map says so once; the rest stays where it is.
        else if (map.LockMode() || map.Busy()) break;
    }
    // Through the trash's own edits, last first so the positions hold, for
    // an undo to put them back.
    if (!all.empty() && restored.size() == all.size()) trash.Removes(1, trash.Count());
    else
        for (auto it = restored.rbegin(); it != restored.rend(); ++it) trash.Remove(*it);
    return static_cast<int32_t>(restored.size());
}

int32_t ResetOwnShowModes(clsMapUnits& units) {
    return resetEach(units, [](const clsMapFigure& f) { return f.OwnShowMode(); },
                     [](clsMapFigure& f) { f.setOwnShowMode(-1); });
}

int32_t ResetOwnColors(clsMapUnits& units) {
    return resetEach(units, [](const clsMapFigure& f) { return f.OwnColor(); },
                     [](clsMapFigure& f) { f.setOwnColor(-1); });
}

int32_t AddAzimuthLines(clsMapUnit& unit, const QString& angles, const clsMapPlot& view, const clsMapUnit* base) {
    const MapFigures lines = BaseMapAzimuthLine(angles, view.CenterX(), view.CenterY(), view.MapScale(), base);
    if (lines.empty()) return 0;
    clsMap& map = unit.Map();
    map.Add(NewMapRem(QStringLiteral("# [方位線]")));
    for (const MapFigurePtr& line : lines) map.Add(line);
    return static_cast<int32_t>(lines.size());
}

// ---------------------------------------------------------------- View

ViewMenuState PrepareViewMenu(const ViewMenuInputs& in) {
    ViewMenuState s;
    s.Jump.Enabled = in.ActiveFigures > 0;
    s.Grid.Enabled = in.MapMode == 1;
    for (int i = 0; i < 2; ++i) {
        s.Language[i].Checked = in.Language == i + 1;
        s.Coordinate[i].Checked = in.MapMode == i + 1;
    }
    s.ViewArea.Enabled = in.AreaMode;
    for (int i = 0; i < 9; ++i) s.ViewAreaItems[i].Checked = in.ViewArea == i + 1;
    for (int k = 2; k <= 5; ++k) s.FigDisp[k - 2].Checked = kindBit(in.FigureDisp, k);
    s.AzimuthLine.Enabled = in.MapMode == 1;
    s.AzimuthItems[AzimuthCheckIndex(in.AzimuthLine)].Checked = true;
    s.PtnRatioItems[PtnRatioCheckIndex(in.PtnRatio)].Checked = true;
    s.Edge.Checked = in.EdgeEnable;
    s.TextSlant = {QString(), in.MapMode == 1, in.TextSlant};
    s.AdmShow.Checked = in.AdmShow;
    s.ThgShow.Checked = in.ThgShow;
    s.FigShow.Checked = in.FigShow;
    s.FigNative.Checked = in.FigNative;
    return s;
}

ViewMenuInputs ViewMenuInputsOf(const clsMapPlot& plot) {
    ViewMenuInputs in;
    in.FigureDisp = plot.FigureDisp;
    in.AzimuthLine = plot.AzimuthLine;
    in.PtnRatio = plot.PtnRatio();
    in.EdgeEnable = plot.EdgeEnable;
    in.TextSlant = plot.TextSlant;
    in.AdmShow = plot.AdmShowModeEnable;
    in.ThgShow = plot.ThgShowModeEnable;
    in.FigShow = plot.FigShowModeEnable;
    in.FigNative = plot.FigNativeEnable;
    return in;
}

int AzimuthCheckIndex(const QString& text) {
    if (text.isEmpty()) return 0;
    for (int i = 1; i <= 4; ++i)
        if (text == BaseMapAzimuthText(int16_t(i * 4), QString())) return i;
    return 5;
}

QString AzimuthTextOfItem(int index, const QString& current) {
    if (index == 0) return QString();
    if (index >= 1 && index <= 4) return BaseMapAzimuthText(int16_t(index * 4), QString());
    return BaseMapAzimuthText(0, current);
}

int PtnRatioCheckIndex(int32_t ratio) { return std::clamp(ratio / 20 - 2, 0, 6); }

int32_t PtnRatioOfItem(int index) { return (index + 2) * 20; }

double JumpScale(double scale, double lowerBound, double upperBound) {
    if (scale < lowerBound) scale = lowerBound;
    if (scale > upperBound) scale = upperBound;
    return scale;
}

// ---------------------------------------------------------------- Project, Tool, Help

void CopyWizardSwitches(const clsMapPlot& from, clsMapPlot& to) {
    to.AccessoryEnable = from.AccessoryEnable;
    to.EdgeEnable = from.EdgeEnable;
    to.FigureDisp = from.FigureDisp;
    to.FigurePick = from.FigurePick;
    to.FigNativeEnable = from.FigNativeEnable;
    to.FigShowModeEnable = from.FigShowModeEnable;
    to.ThgShowModeEnable = from.ThgShowModeEnable;
}

ToolMenuState PrepareToolMenu(bool surveyOn, bool frameCutOn, bool pickupOn) {
    ToolMenuState s;
    s.Survey = {QString(), !frameCutOn && !pickupOn, surveyOn};
    s.FrameCut = {QString(), !surveyOn && !pickupOn, frameCutOn};
    return s;
}

QString HomepageLink(int index) {
    switch (index) {
    case 1: return GetAuthorURLhome();
    case 3: return GetAuthorURLmap();
    case 4: return GetAuthorURLruntime();
    case 5: return GetAuthorURLupgrade();
    case 6: return GetAuthorURLorder();
    default: return QString();
    }
}

void OpenHomepageItem(int index) {
    try {
        ShellOpen(HomepageLink(index));
    } catch (...) {
        MsgError(QStringLiteral("WEBブラウザを起動できませんでした."));
    }
}
