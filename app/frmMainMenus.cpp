// The main window's menu bar: File, Edit, View, Project, Tool and Help.
// Each drop-down takes its items' states from MainMenus and the commands
// run guarded, as every event handler of the window.
#include "frmMain.h"
#include "frmMainMenus.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include "AppInfo.h"
#include "DialogBase.h"
#include "ErrorMng.h"
#include "FileOpenSave.h"
#include "MainMenus.h"
#include "MainPlotRoutines.h"
#include "MainPrint.h"
#include "MapViewControl.h"
#include "MessageBox.h"
#include "PublicVal.h"
#include "Screen.h"
#include "SettingsDialogs.h"
#include "basApiLib.h"
#include "basBaseMap.h"
#include "basFileNames.h"
#include "basHMapEdit.h"
#include "basHMapView.h"
#include "basHtmlHelp.h"
#include "basLibrary.h"
#include "clsCanvas.h"
#include "clsCruise05.h"
#include "clsMap.h"
#include "clsMapPlot.h"
#include "clsMapUnit.h"
#include "clsMapUnits.h"
#include "clsProjector.h"
#include "frmAbout.h"
#include "frmCruise05.h"
#include "frmDirectProjectionLogic.h"
#include "frmImageSize.h"
#include "frmJump05.h"
#include "frmMapList.h"
#include "frmMapSymbol.h"
#include "frmMapUnitList.h"
#include "frmThingsEdit.h"
#include "frmPrjWizard.h"

namespace {

void showItem(QAction* a, const MenuItemState& s) {
    if (!s.Caption.isEmpty()) a->setText(s.Caption);
    a->setEnabled(s.Enabled);
    if (a->isCheckable()) a->setChecked(s.Checked);
}
void showItem(QMenu* m, const MenuItemState& s) { m->setEnabled(s.Enabled); }

template <size_t N, class S>
void showAll(const std::array<QAction*, N>& actions, const std::array<S, N>& states) {
    for (size_t i = 0; i < N; ++i) showItem(actions[i], states[i]);
}

using PlotSwitch = bool clsMapPlot::*;

const char* const kKindItems[] = {"連続線(&L)", "多辺形(&G)", "点記号(&S)", "文字列(&T)"};

} // namespace

void frmMain::buildMenus() {
    menuActions_ = std::make_unique<MenuActions>();
    MenuActions& m = *menuActions_;
    auto wired = [this](const char* handler, std::function<void()> fn) {
        return [this, handler, fn = std::move(fn)] { logic_.RunCommand([this, handler, fn] { guarded(handler, fn); }); };
    };
    auto item = [&](QMenu* menu, const char* caption, const char* handler, std::function<void()> fn) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        QObject::connect(a, &QAction::triggered, this, wired(handler, std::move(fn)));
        return a;
    };
    auto check = [&](QMenu* menu, const char* caption, const char* handler, std::function<void()> fn) {
        QAction* a = item(menu, caption, handler, std::move(fn));
        a->setCheckable(true);
        return a;
    };
    // A switch of the current engine turned over, then a redraw.
    auto toggle = [this](PlotSwitch sw) {
        return [this, sw] {
            clsMapPlot* plot = CurrentMapPlot();
            if (!plot) return;
            plot->*sw = !(plot->*sw);
            logic_.PlotWindow();
        };
    };

    // ------------------------------------------------ File
    mnuFile = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    item(mnuFile, "新規作成(&N)...", "mnuNew_Click", [this] { mnuNew(); });
    item(mnuFile, "開く(&O)...", "mnuOpen_Click", [this] { mnuOpen_Click(); });
    m.Overwrite = item(mnuFile, "上書き保存(&S)", "mnuOverwrite_Click", [this] { mnuOverwrite_Click(); });
    item(mnuFile, "名前を付けて保存(&A)...", "mnuSave_Click", [this] { mnuSave_Click(); });
    item(mnuFile, "地図ユニットリスト(&L)...", "mnuMapUnitList_Click", [this] { mnuMapUnitList(); });
    m.CruiseSet = item(mnuFile, "クルーズ設定(&T)...", "mnuCruiseSet_Click", [this] { mnuCruiseSet(); });
    m.CruiseExe = item(mnuFile, "クルーズ実行(&W)", "mnuCruiseExe_Click", [this] { mnuCruiseExe(); });
    mnuFile->addSeparator();
    item(mnuFile, "地図画像コピー(&C)", "mnuMapCopy_Click", [this] { logic_.mnuMapCopy_Click(); });
    m.Print = item(mnuFile, "印刷(&P)...", "mnuPrint_Click", [this] { mnuPrint(); });
    mnuFile->addSeparator();
    item(mnuFile, "画像サイズ(&Z)...", "mnuMapSize_Click", [this] { mnuMapSize_Click(); });
    m.MapInfo = item(mnuFile, "地図情報(&I)...", "mnuMapInfo_Click", [this] { mnuMapInfo(this); });
    mnuFile->addSeparator();
    QAction* quit = mnuFile->addAction(plat::AppTitle() + QStringLiteral("の終了(&X)"));
    connect(quit, &QAction::triggered, this, &QWidget::close);
    mnuFile->addSeparator();
    for (int i = 1; i <= 4; ++i)
        m.LogItems[i - 1] = item(mnuFile, "", "mnuLogItem_Click", [this, i] { LoadFile(LogItemPath(i)); });
    connect(mnuFile, &QMenu::aboutToShow, this, [this] { guarded("mnuFile_Click", [this] { mnuFile_Click(); }); });

    // ------------------------------------------------ Edit
    mnuEdit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    m.Undo = item(mnuEdit, "やり直し(&U)", "mnuUndo_Click", [this] {
        CurrentMapUnits()->Undo();
        logic_.PlotWindow();
    });
    mnuEdit->addSeparator();
    m.GarbageOne = item(mnuEdit, "ゴミ箱から１図形復活(&F)", "mnuGarbageOne_Click", [this] { mnuGarbage(false); });
    m.GarbageAll = item(mnuEdit, "ゴミ箱から全図形復活(&O)", "mnuGarbageAll_Click", [this] { mnuGarbage(true); });
    mnuEdit->addSeparator();
    m.Pickup = check(mnuEdit, "ピックアップ(&P)", "mnuPickup_Click",
                     [this] { viewEvent("mnuPickup_Click", [&] { control_->mnuPickup_Click(); }); });
    m.Detail = check(mnuEdit, "ポイント強調許可(&E)", "mnuDetail_Click", toggle(&clsMapPlot::DetailEnable));
    mnuEdit->addSeparator();
    m.Add = mnuEdit->addMenu(QStringLiteral("地図図形追加(&A)"));
    const char* kinds[] = {"注釈(&R)", "連続線(&L)", "多辺形(&G)", "点記号(&S)", "文字列(&T)"};
    for (int k = 1; k <= 5; ++k) item(m.Add, kinds[k - 1], "mnuAddItem_Click", [this, k] { mnuAddItem(k); });
    m.AddAzimuthLine = item(mnuEdit, "方位線追加(&D)...", "mnuAddAzimuthLine_Click", [this] { mnuAddAzimuthLine(); });
    mnuEdit->addSeparator();
    QMenu* figPick = mnuEdit->addMenu(QStringLiteral("図形種別検索許可(&I)"));
    for (int k = 2; k <= 5; ++k)
        m.FigPick[k - 2] = check(figPick, kKindItems[k - 2], "mnuFigPickItem_Click", [k] {
            if (clsMapPlot* plot = CurrentMapPlot()) plot->FigurePick = int16_t(ToggleKindBit(plot->FigurePick, k));
        });
    m.MapPick = mnuEdit->addMenu(QStringLiteral("地図別検索許可(&M)"));
    mnuEdit->addSeparator();
    item(mnuEdit, "固有表示スイッチ全解除(&D)", "mnuResetOwnShowMode_Click", [this] { mnuResetOwn(false); });
    item(mnuEdit, "固有色全解除(&C)", "mnuResetOwnPalette_Click", [this] { mnuResetOwn(true); });
    mnuEdit->addSeparator();
    item(mnuEdit, "事象編集(&J)...", "mnuThingsEdit_Click", [this] {
        const MapUnitPtr unit = ActiveMapUnit();
        if (unit && ShowThingsEditDialog(this, &unit->Things(), &unit->Map())) logic_.PlotWindow();
    });
    item(mnuEdit, "地図図形リスト(&T)...", "mnuMapList_Click", [this] { mnuMapList(); });
    connect(mnuEdit, &QMenu::aboutToShow, this, [this] { guarded("mnuEdit_Click", [this] { mnuEdit_Click(); }); });

    // ------------------------------------------------ View
    mnuView = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    item(mnuView, "ホームポジション(&N)", "mnuHome_Click", [this] { logic_.mnuHome_Click(); });
    m.Jump = item(mnuView, "地名ジャンプ(&J)...", "mnuJump_Click", [this] { mnuJump(); });
    item(mnuView, "直接投影変換(&D)...", "mnuDirect_Click", [this] { mnuDirectProjection(this); });
    mnuView->addAction(QStringLiteral("地図投影法(&P)..."))->setVisible(false);
    mnuView->addSeparator();
    m.Grid = item(mnuView, "経緯線(&G)...", "mnuGrid_Click", [this] { ShowGridDialog(this); });
    item(mnuView, "アクセサリ(&A)...", "mnuAccessory_Click", [this] { ShowAccessoryDialog(this); });
    item(mnuView, "地図記号・凡例(&K)...", "mnuMapSymbol_Click", [this] { ShowMapSymbolDialog(this, CurrentMapUnits()); });
    mnuView->addSeparator();
    QMenu* language = mnuView->addMenu(QStringLiteral("言語モード(&L)"));
    const char* languages[] = {"欧州語(&E)", "日本語(&J)"};
    for (int i = 1; i <= 2; ++i)
        m.Language[i - 1] = check(language, languages[i - 1], "mnuLanguageItem_Click",
                                  [this, i] { logic_.mnuLanguageItem_Click(i); });
    QMenu* coordinate = mnuView->addMenu(QStringLiteral("座表モード(&U)"));
    const char* modes[] = {"経緯度座標(&L)", "ＸＹ座標(&X)"};
    for (int i = 1; i <= 2; ++i)
        m.Coordinate[i - 1] =
            check(coordinate, modes[i - 1], "mnuCoordinateItem_Click", [this, i] { mnuCoordinateItem(i); });
    m.ViewArea = mnuView->addMenu(QStringLiteral("ビューエリア(&W)"));
    const char* areas[] = {"［┏］ 左上(&1)", "［┳］ 中上(&2)", "［┓］ 右上(&3)", "［┣］ 左中(&4)", "［╋］ 中央(&5)",
                           "［┫］ 右中(&6)", "［┗］ 左下(&7)", "［┻］ 中下(&8)", "［┛］ 右下(&9)"};
    for (int i = 1; i <= 9; ++i)
        m.ViewAreaItems[i - 1] = check(m.ViewArea, areas[i - 1], "mnuViewAreaItem_Click", [this, i] {
            gvCanvas->setViewArea(i);
            logic_.PlotWindow();
        });
    QMenu* figDisp = mnuView->addMenu(QStringLiteral("図形種別表示許可(&I)"));
    for (int k = 2; k <= 5; ++k)
        m.FigDisp[k - 2] = check(figDisp, kKindItems[k - 2], "mnuFigDispItem_Click", [this, k] {
            if (clsMapPlot* plot = CurrentMapPlot()) plot->FigureDisp = int16_t(ToggleKindBit(plot->FigureDisp, k));
            logic_.PlotWindow();
        });
    m.MapDisp = mnuView->addMenu(QStringLiteral("地図別表示許可(&M)"));
    m.AzimuthLine = mnuView->addMenu(QStringLiteral("方位線(&R)"));
    const char* azimuths[] = {"なし(&A)", "４方位(&B)", "８方位(&C)", "12方位(&D)", "16方位(&E)", "任意(&F)"};
    for (int i = 0; i < 6; ++i)
        m.AzimuthItems[i] = check(m.AzimuthLine, azimuths[i], "mnuAzimuthLineItem_Click", [this, i] {
            clsMapPlot* plot = CurrentMapPlot();
            plot->AzimuthLine = AzimuthTextOfItem(i, plot->AzimuthLine);
            logic_.PlotWindow();
        });
    QMenu* ratio = mnuView->addMenu(QStringLiteral("文字列・点記号拡大率(&Z)"));
    const char* ratios[] = {"40%(&A)", "60%(&B)", "80%(&C)", "100%(&D)", "120%(&E)", "140%(&F)", "160%(&G)"};
    for (int i = 0; i < 7; ++i)
        m.PtnRatioItems[i] = check(ratio, ratios[i], "mnuPtnRatioItem_Click", [this, i] {
            CurrentMapPlot()->setPtnRatio(PtnRatioOfItem(i));
            logic_.PlotWindow();
        });
    mnuView->addSeparator();
    m.Edge = check(mnuView, "文字列・点記号縁取り許可(&O)", "mnuEdge_Click", toggle(&clsMapPlot::EdgeEnable));
    m.TextSlant = check(mnuView, "文字列傾斜許可(&S)", "mnuTextSlant_Click", toggle(&clsMapPlot::TextSlant));
    m.AdmShow = check(mnuView, "行政区別表示許可(&Y)", "mnuAdmShowEi_Click", toggle(&clsMapPlot::AdmShowModeEnable));
    m.ThgShow = check(mnuView, "事象別表示許可(&T)", "mnuThgShowEi_Click", toggle(&clsMapPlot::ThgShowModeEnable));
    m.FigShow = check(mnuView, "固有表示許可(&H)", "mnuFigShowEi_Click", toggle(&clsMapPlot::FigShowModeEnable));
    m.FigNative = check(mnuView, "固有色許可(&P)", "mnuFigNativeEi_Click", toggle(&clsMapPlot::FigNativeEnable));
    connect(mnuView, &QMenu::aboutToShow, this, [this] { guarded("mnuView_Click", [this] { mnuView_Click(); }); });

    // ------------------------------------------------ Project, Tool
    mnuProject = menuBar()->addMenu(QStringLiteral("主投影変換(&M)"));
    item(mnuProject, "主投影変換ウィザード(&P)...", "mnuPrjWizard_Click", [this] { mnuPrjWizard(); });

    mnuTool = menuBar()->addMenu(QStringLiteral("ツール(&T)"));
    item(mnuTool, "環境設定(&E)...", "mnuEnvironment_Click", [this] { mnuEnvironment(); });
    m.Survey = check(mnuTool, "測量(&R)", "mnuSurvey_Click",
                     [this] { viewEvent("mnuSurvey_Click", [&] { control_->mnuSurvey_Click(); }); });
    m.FrameCut = check(mnuTool, "フレームカット(&F)", "mnuFrameCut_Click",
                       [this] { viewEvent("mnuFrameCut_Click", [&] { control_->mnuFrameCut_Click(); }); });
    connect(mnuTool, &QMenu::aboutToShow, this, [this] { guarded("mnuTool_Click", [this] { mnuTool_Click(); }); });

    // ------------------------------------------------ Help
    mnuHelp = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    item(mnuHelp, "目次(&C)...", "mnuContents_Click", [this] { HelpShowContents(this, plat::AppHelpFile()); });
    item(mnuHelp, "キーワード(&K)", "mnuKeyword_Click", [this] { HelpShowIndex(this, plat::AppHelpFile()); });
    item(mnuHelp, "メインウィンドウ(&H)", "mnuCmdHelp_Click", [] { HelpShowContext(200001); });
    mnuHelp->addSeparator();
    QMenu* homepage = mnuHelp->addMenu(QStringLiteral("作者WEBサイト(&W)"));
    const std::pair<int, const char*> links[] = {{1, "トップ(&T)"},
                                                 {3, "地図ファイル(&M)"},
                                                 {4, "ランタイムファイル(&R)"},
                                                 {5, "アップグレード(&G)"},
                                                 {6, "オーダーメイド(&O)"}};
    for (const auto& [index, caption] : links)
        item(homepage, caption, "mnuHomepageItem_Click", [i = index] { OpenHomepageItem(i); });
    item(mnuHelp, "バージョン情報(&A)...", "mnuAbout_Click", [this] {
        frmAbout about(this);
        about.Remembered().presetIfFirst(plat::WindowLeftTwips(this), plat::WindowTopTwips(this), 3600, 600);
        about.exec();
    });
}

// ---------------------------------------------------------------- drop-downs

void frmMain::mnuFile_Click() {
    FileMenuInputs in;
    in.MapMode = gvMapMode;
    const clsMapUnits* units = CurrentMapUnits();
    in.Modified = units && units->Modify();
    in.PrinterExists = PrinterFound;
    const clsMap* map = ActiveMap();
    in.ActiveFigures = map ? map->Count() : 0;
    in.LastLog = gvLastLog;
    const QString logs[] = {GetLogLast(), GetLogClip(), GetLogPrint(), gvLastLog};
    for (size_t i = 0; i < 4; ++i) in.LogExists[i] = !logs[i].isEmpty() && FileExists(logs[i]);
    const FileMenuState s = PrepareFileMenu(in);
    const MenuActions& m = *menuActions_;
    showItem(m.Overwrite, s.Overwrite);
    showItem(m.CruiseSet, s.CruiseSet);
    showItem(m.CruiseExe, s.CruiseExe);
    showItem(m.Print, s.Print);
    showItem(m.MapInfo, s.MapInfo);
    showAll(m.LogItems, s.LogItems);
}

namespace {

// The unit submenu rebuilt from the set: one checkable item a unit, heard
// by the window.
void fillUnitMenu(QObject* window, QMenu* menu, const std::vector<MenuItemState>& items,
                  const std::function<void(int)>& toggle) {
    menu->clear();
    for (size_t i = 0; i < items.size(); ++i) {
        QAction* a = menu->addAction(items[i].Caption);
        a->setCheckable(true);
        a->setChecked(items[i].Checked);
        const int index = int(i) + 1;
        QObject::connect(a, &QAction::triggered, window, [toggle, index] { toggle(index); });
    }
}

} // namespace

void frmMain::mnuEdit_Click() {
    EditMenuInputs in;
    clsMapUnits* units = CurrentMapUnits();
    const MapUnitPtr unit = ActiveMapUnit();
    const clsMapPlot* plot = CurrentMapPlot();
    in.CanUndo = units && units->CanUndo();
    in.TrashCount = unit ? unit->Garbage().Count() : 0;
    in.SurveyOn = control_->Survey().IsOn();
    in.PickupOn = control_->PickupEi;
    in.DetailEnable = plot && plot->DetailEnable;
    in.Locked = !unit || unit->Map().LockMode();
    in.MapMode = gvMapMode;
    in.FigurePick = plot ? plot->FigurePick : 0;
    const EditMenuState s = PrepareEditMenu(in);
    const MenuActions& m = *menuActions_;
    showItem(m.Undo, s.Undo);
    showItem(m.GarbageOne, s.GarbageOne);
    showItem(m.GarbageAll, s.GarbageAll);
    showItem(m.Pickup, s.Pickup);
    showItem(m.Detail, s.Detail);
    showItem(m.Add, s.Add);
    showItem(m.AddAzimuthLine, s.AddAzimuthLine);
    showAll(m.FigPick, s.FigPick);
    fillUnitMenu(this, m.MapPick, UnitMenuItems(units, false, int32_t(gvLanguage)), [this](int index) {
        guarded("mnuMapPickItem_Click", [index] {
            if (const MapUnitPtr u = CurrentMapUnits()->Item(index)) u->setSearchSwitch(!u->SearchSwitch());
        });
    });
}

void frmMain::mnuView_Click() {
    const clsMapPlot* plot = CurrentMapPlot();
    ViewMenuInputs in = plot ? ViewMenuInputsOf(*plot) : ViewMenuInputs{};
    const clsMap* map = ActiveMap();
    in.ActiveFigures = map ? map->Count() : 0;
    in.MapMode = gvMapMode;
    in.Language = int32_t(gvLanguage);
    in.AreaMode = gvCanvas && gvCanvas->IsAreaMode();
    in.ViewArea = gvCanvas ? gvCanvas->ViewArea() : 5;
    const ViewMenuState s = PrepareViewMenu(in);
    const MenuActions& m = *menuActions_;
    showItem(m.Jump, s.Jump);
    showItem(m.Grid, s.Grid);
    showAll(m.Language, s.Language);
    showAll(m.Coordinate, s.Coordinate);
    showItem(m.ViewArea, s.ViewArea);
    showAll(m.ViewAreaItems, s.ViewAreaItems);
    showAll(m.FigDisp, s.FigDisp);
    showItem(m.AzimuthLine, s.AzimuthLine);
    showAll(m.AzimuthItems, s.AzimuthItems);
    showAll(m.PtnRatioItems, s.PtnRatioItems);
    const std::pair<QAction*, MenuItemState> switches[] = {{m.Edge, s.Edge},       {m.TextSlant, s.TextSlant},
                                                           {m.AdmShow, s.AdmShow}, {m.ThgShow, s.ThgShow},
                                                           {m.FigShow, s.FigShow}, {m.FigNative, s.FigNative}};
    for (const auto& [a, st] : switches) showItem(a, st);
    fillUnitMenu(this, m.MapDisp, UnitMenuItems(CurrentMapUnits(), true, int32_t(gvLanguage)),
                 [this](int index) { guarded("mnuMapDispItem_Click", [this, index] { mnuMapDispItem(index); }); });
}

void frmMain::mnuTool_Click() {
    const ToolMenuState s = PrepareToolMenu(control_->Survey().IsOn(), control_->FrameCut().IsOn(), control_->PickupEi);
    showItem(menuActions_->Survey, s.Survey);
    showItem(menuActions_->FrameCut, s.FrameCut);
}

// ---------------------------------------------------------------- commands

void frmMain::mnuNew() {
    const QString proposal = NewUnitProposal(gvMapMode, gvMapFolder, DateTimeStamp(QString()));
    const QString path = mainform::InputSaveName(QStringLiteral("新しい地図ファイル"), NewUnitFilter(gvMapMode), proposal);
    if (path.isEmpty()) return;
    ScreenMousePointer(11);
    logic_.SetStatusText(QStringLiteral("新規地図を生成しています..."));
    NewMapUnit(*CurrentMapUnits(), path);
    ScreenMousePointer(-1);
    logic_.SetStatusText(QString());
    logic_.PlotCaption();
}

void frmMain::mnuCruiseExe() {
    ScreenMousePointer(11);
    const clsRect field = gvMapPlotLL->Field();
    gvCruise->Cruise(gvMapPlotLL->MapScale(), &field, gvMapUnitsLL);
    ScreenMousePointer(-1);
    logic_.PlotWindow();
}

void frmMain::mnuPrint() {
    if (!printer_) printer_ = MakePrinter ? MakePrinter() : std::make_unique<QtPrinterPort>(this);
    PrintMap(logic_, *printer_);
}

void frmMain::mnuGarbage(bool all) {
    MapUnitPtr unit = ActiveMapUnit();
    if (!unit) return;
    if (all) ScreenMousePointer(11);
    CurrentMapUnits()->ResetUndo();
    if (all) RestoreAllFromTrash(*unit);
    else RestoreOneFromTrash(*unit);
    if (all) ScreenMousePointer(-1);
    logic_.PlotWindow();
}

void frmMain::mnuAddAzimuthLine() {
    MapUnitPtr unit = ActiveMapUnit();
    if (!unit || !ConfirmAddFigure(*unit)) return;
    const QString angles = BaseMapAzimuthText(0, CurrentMapPlot()->AzimuthLine);
    const MapUnitPtr base = gvMapUnitsLL->Base();
    if (AddAzimuthLines(*unit, angles, *gvMapPlotLL, base.get()) > 0) logic_.PlotWindow();
}

void frmMain::mnuResetOwn(bool colours) {
    if (!AskYesNo(colours ? QStringLiteral("固有色の設定をすべて「事象依存」に変更しますか？")
                          : QStringLiteral("固有表示スイッチの設定をすべて「事象依存」に変更しますか")))
        return;
    clsMapUnits& units = *CurrentMapUnits();
    units.ResetUndo();
    if (colours) ResetOwnColors(units);
    else ResetOwnShowModes(units);
    logic_.PlotWindow();
}

void frmMain::mnuMapDispItem(int index) {
    const MapUnitPtr unit = CurrentMapUnits()->Item(index);
    if (!unit) return;
    unit->setDisplaySwitch(!unit->DisplaySwitch());
    if (gvCruise && gvCruise->EiAuto) {
        plat::MsgBox(QStringLiteral("〔オートクルーズ〕を解除します."), plat::MbInformation);
        gvCruise->EiAuto = false;
    }
    logic_.PlotWindow();
}

// ---------------------------------------------------------------- menu commands

void frmMain::mnuCruiseSet() {
    if (!std::exchange(cruiseAsked_, true) && gvCruise->GetStdMapCount() < 2 &&
        AskYesNo(QStringLiteral("添付地図ファイルしかインストールされていないようです.\r\n"
                                "作者Webサイトから地図ファイルをダウンロードしますか？")) &&
        ShellOpen(GetAuthorURLmap()))
        return;
    static plat::DialogPosition remembered;
    remembered.presetIfFirst(int(x() * plat::TwipsPerPixelX()), int(y() * plat::TwipsPerPixelY()), 600, 600);
    frmCruise05 dialog(this, &remembered);
    frmCruise05Logic& l = dialog.logic();
    l.CruiseEngine = gvCruise;
    l.TargetUnits = gvMapUnitsLL;
    l.TargetPlot = [] { return CruiseView{gvMapPlotLL->MapScale(), gvMapPlotLL->Field()}; };
    const int32_t code = dialog.showCruise();
    l.CruiseEngine = nullptr;
    l.TargetUnits = nullptr;
    l.TargetPlot = {};
    if (code == 2 || gvCruise->EiAuto) logic_.PlotWindow();
}

void frmMain::mnuJump() {
    frmJump05 dialog(this);
    dialog.position().presetIfFirst(plat::WindowLeftTwips(this), plat::WindowTopTwips(this), 1500, 600);
    frmJump05Logic& l = dialog.logic();
    l.TargetUnits = CurrentMapUnits();
    const bool ok = dialog.showJump();
    l.TargetUnits = nullptr;
    if (!ok) return;
    if (l.JumpMapMode != gvMapMode) {
        gvMapMode = l.JumpMapMode;
        logic_.SetScrollRange();
    }
    clsMapPlot* plot = CurrentMapPlot();
    plot->setCenterX(l.JumpX);
    plot->setCenterY(l.JumpY);
    plot->setMapScale(JumpScale(plot->MapScale(), l.JumpScaleL, l.JumpScaleS));
    if (gvCruise->EiAuto) {
        plat::MsgBox(QStringLiteral("〔オートクルーズ〕を解除します."), plat::MbInformation);
        gvCruise->EiAuto = false;
    }
    logic_.SetViewControllByEngine();
    logic_.PlotWindow();
}

void frmMain::mnuMapList() {
    openMapList(0, 0);
    logic_.PlotWindow();
}

bool frmMain::openMapList(int16_t startUnit, int32_t startRow) {
    if (!mapList_) mapList_ = new frmMapList(this);
    frmMapListLogic& l = mapList_->logic();
    l.MapUnits = CurrentMapUnits();
    l.StartUnit = startUnit;
    l.StartRow = startRow;
    mapList_->showList();
    l.MapUnits = nullptr;
    if (!l.MoveView) return false;
    CurrentMapPlot()->setCenterX(l.MoveX);
    CurrentMapPlot()->setCenterY(l.MoveY);
    logic_.SetViewControllByEngine();
    return true;
}

void frmMain::mnuAddItem(int kind) {
    MapUnitPtr unit = ActiveMapUnit();
    clsMapPlot* plot = CurrentMapPlot();
    if (!unit || !plot || !ConfirmAddFigure(*unit)) return;
    HMapEditState& edit = HMapEdit();
    edit.EditMapUnit = unit;
    edit.EditActiveNode = 0;
    edit.EditDialogLeft = int(x() * plat::TwipsPerPixelX()) + 600;
    edit.EditDialogTop = int(y() * plat::TwipsPerPixelY()) + 600;
    edit.EditPointX = plot->CenterX();
    edit.EditPointY = plot->CenterY();
    const std::optional<FigureList> figures = CreateMapFigure(kind);
    edit.EditMapUnit = nullptr;
    if (!figures) return;
    CurrentMapUnits()->ResetUndo();
    for (const MapFigurePtr& f : *figures) unit->Map().Add(f);
    logic_.PlotWindow();
}

void frmMain::mnuOpen_Click() {
    if (openProposal_.isEmpty()) openProposal_ = JoinPath(gvMapFolder, QStringLiteral("*.MLL"));
    const QString name = mainform::InputLoadName(QString(), OpenFilter(), openProposal_);
    if (name.isEmpty()) return;
    openProposal_ = name;
    LoadFile(name);
}

void frmMain::mnuSave_Click() {
    if (gvLastSavePath.isEmpty() && gvCanvas) gvLastSavePath = gvCanvas->PngPath();
    const QString name = mainform::InputSaveName(QString(), SaveFilter(), gvLastSavePath);
    if (name.isEmpty()) return;
    gvLastSavePath = name;
    mainform::SaveFile(name);
    if (!AnyMapModified()) control_->Reminder().SaveMinuteCount = 0;
    logic_.PlotCaption();
}

void frmMain::mnuOverwrite_Click() {
    if (const clsMap* map = ActiveMap()) mainform::SaveFile(map->FileName());
    if (SaveModifiedUnits()) control_->Reminder().SaveMinuteCount = 0;
    logic_.PlotCaption();
}

void frmMain::mnuMapSize_Click() {
    if (!gvCanvas) return;
    MapSizeLogic size;
    size.Canvas = gvCanvas;
    MapSizeLogic::Remembered().presetIfFirst(plat::WindowLeftTwips(this), plat::WindowTopTwips(this), 600, 600);
    {
        frmMapSize dialog(size, this);
        dialog.showModal();
    }
    size.Canvas = nullptr;
    if (!size.OK) return;
    logic_.InitializingEi = true;
    if (!gvCanvas->Synchro()) gvCanvas->ViewLikeCanvas();
    ResizeFormByView();
    layoutView();
    logic_.InitializingEi = false;
    logic_.PlotWindow();
}

void frmMain::mnuMapUnitList() {
    if (!unitList_) unitList_ = new frmMapUnitList(this);
    unitList_->openFromMain(this, CurrentMapUnits());
}

frmPrjWizardLogic& frmMain::prjWizard() {
    if (!prjWizard_) prjWizard_ = std::make_unique<frmPrjWizardLogic>();
    return *prjWizard_;
}

void frmMain::mnuPrjWizard() {
    frmPrjWizardLogic& wiz = prjWizard();
    wiz.MapUnitsLL = gvMapUnitsLL;
    wiz.MapPlotLL = gvMapPlotLL;
    wiz.Projector = gvProjector;
    wiz.Position.presetIfFirst(plat::WindowLeftTwips(this), plat::WindowTopTwips(this), 2400, 600);
    {
        frmPrjWizard w(wiz, this);
        w.showModal();
    }
    wiz.MapUnitsLL = nullptr;
    wiz.MapPlotLL = nullptr;
    wiz.Projector = nullptr;
    if (!(wiz.ResultFlags & frmPrjWizardLogic::ResultRun) || !wiz.ResultUnits) return;
    // The set replaced holds the user's X/Y edits: they are offered for
    // saving before it goes.
    if (gvMapUnitsXY)
        for (const MapUnitPtr& u : std::vector<MapUnitPtr>(gvMapUnitsXY->begin(), gvMapUnitsXY->end()))
            logic_.UnloadMapUnit(*u);
    delete std::exchange(gvMapUnitsXY, new clsMapUnits(*wiz.ResultUnits));
    clsMapPlot& xy = *gvMapPlotXY;
    const clsMapPlot& ll = *gvMapPlotLL;
    // The engine must not keep the set just freed until its next plot.
    xy.MapUnits = std::shared_ptr<clsMapUnits>(std::shared_ptr<void>(), gvMapUnitsXY);
    xy.setCenterX(wiz.ResultCenterX);
    xy.setCenterY(wiz.ResultCenterY);
    xy.setMapScale(ll.MapScale());
    CopyWizardSwitches(ll, xy);
    mnuCoordinateItem(2);
}

void frmMain::mnuCoordinateItem(int32_t mode) {
    if (control_->Survey().IsOn()) viewEvent("mnuSurvey_Click", [&] { control_->mnuSurvey_Click(); });
    gvMapMode = mode;
    logic_.SetScrollRange();
    logic_.SetViewControllByEngine();
    logic_.PlotWindow();
}

void frmMain::mnuEnvironment() {
    ShowEnvironmentDialog(this);
    // Redrawn whatever the answer; the angle format may have changed, so
    // the pointer's position is shown anew as well.
    logic_.PlotWindow();
    if (!logic_.state().Panels[3].isEmpty())
        logic_.ShowCursorPos(control_->MouseMapValid, control_->MouseMapX, control_->MouseMapY);
}
