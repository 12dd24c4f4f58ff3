#include "frmPrjWizardLogic.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

#include "AppState.h"
#include "DoEvents.h"
#include "ErrorMng.h"
#include "LongOperation.h"
#include "MapProjection.h"
#include "MessageBox.h"
#include "PlotProjectionGlue.h"
#include "PrjWizardHost.h"
#include "TextFile.h"
#include "basGlobe.h"
#include "basLibrary.h"
#include "basNumberText.h"
#include "clsMapPlot.h"
#include "clsMapUnits.h"
#include "clsProjector.h"
#include "clsRegistry.h"

namespace {

const QString kForm = QStringLiteral("frmPrjWizard");
const QString kStart = QStringLiteral("開始(&S)");
const QString kStop = QStringLiteral("中止(&S)");

// Adds the window's step to an error on its way to the caller.
[[noreturn]] void Report(const char* proc) { RaiseError(ErrFormUnload, kForm, QString::fromLatin1(proc)); }

// The main window's chooser when installed, else the platform's own.
QString ChooseName(bool save, const QString& title, const QString& filter, const QString& name) {
    const PrjWizardHost& host = InstalledPrjWizardHost();
    const auto& chooser = save ? host.InputSaveName : host.InputLoadName;
    if (chooser) return chooser(title, filter, name);
    plat::FileRequest req;
    req.save = save;
    req.title = title;
    req.filter = filter;
    req.fileName = name;
    return plat::ChooseFile(req);
}

// The global X/Y unit set shows `units` while it lives, and what it showed
// before afterwards, however the scope is left.
class XYUnitsSwap {
public:
    explicit XYUnitsSwap(clsMapUnits* units) : host_(InstalledPrjWizardHost()) {
        if (host_.ExchangeXYUnits) previous_ = host_.ExchangeXYUnits(units), swapped_ = true;
    }
    ~XYUnitsSwap() { restore(); }
    XYUnitsSwap(const XYUnitsSwap&) = delete;
    XYUnitsSwap& operator=(const XYUnitsSwap&) = delete;
    void restore() {
        if (swapped_) host_.ExchangeXYUnits(previous_);
        swapped_ = false;
    }

private:
    const PrjWizardHost& host_;
    clsMapUnits* previous_ = nullptr;
    bool swapped_ = false;
};

} // namespace

frmPrjWizardLogic::frmPrjWizardLogic()
    : monitor_(std::make_unique<PrjMonitorPicture>(kMonitorWidth, kMonitorHeight)) {
    Work.PrjIndex = 12;
    timer_.setInterval(kTimerMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
}

frmPrjWizardLogic::~frmPrjWizardLogic() = default;

void frmPrjWizardLogic::changed() {
    if (Changed) Changed();
}

// --- window events -----------------------------------------------------------------

void frmPrjWizardLogic::Load() {
    try {
        ResultFlags = 0;
        ResultCenterX = 0;
        ResultCenterY = 0;
        ResultUnits.reset();
        running_ = stopRequested_ = closePending_ = false;
        lightTable_ = LightHeightTable();
        work_ = Projector ? Projector->Copy() : std::make_unique<clsProjector>();
        Work.GetProjector(*work_);
        page_ = 0;
        SetPage(1);
    } catch (...) {
        Report("Form_Load");
    }
}

void frmPrjWizardLogic::Unload() {
    MapUnitsLL = nullptr;
    MapPlotLL = nullptr;
    monitorPlot_.reset();
    work_.reset();
}

bool frmPrjWizardLogic::RequestClose() {
    if (!running_) return true;
    // The run holds the working projector and the monitor: stop it and let
    // the window go once it has returned.
    closePending_ = true;
    stopRequested_ = true;
    if (engine_) engine_->RequestCancel();
    changed();
    return false;
}

// --- page flow ---------------------------------------------------------------------

QString frmPrjWizardLogic::PageCaption(int page) {
    static const char* const kCaptions[kPages] = {
        "(1/9) 初期設定", "(2/9) 投影領域", "(3/9) 投影中心点", "(4/9) 経緯線", "(5/9) 図法",
        "(6/9) 投影面", "(7/9) 出力縮尺", "(8/9) 投影変換実行", "(9/9) ＸＹ地図保存"};
    return page >= 1 && page <= kPages ? QString::fromUtf8(kCaptions[page - 1]) : QString();
}

bool frmPrjWizardLogic::SetPage(int page) {
    try {
        if (page_ == 1 && !ExecInit()) {
            changed();
            return false;
        }
        if (page >= 1 && page <= kPages) page_ = page;
        refreshPage();
        changed();
        return true;
    } catch (...) {
        Report("SetPage");
    }
}

void frmPrjWizardLogic::refreshPage() {
    enabled_[BtnBackward] = page_ > 1;
    enabled_[BtnForward] = page_ < kPages;
    enabled_[BtnOK] = enabled_[BtnCancel] = true;
    if (page_ == 5) {
        makePrjList();
    } else if (page_ == 6) {
        limitSecant();
    } else if (page_ == 8) {
        execMessage_ = QStringLiteral("ここまでの設定にしたがって主投影変換を実行しＸＹ地図を生成します。"
                                      "設定に間違いがなければ〔開始〕をクリックしてください。");
        monitor_->Clear();
        progress_ = 0;
        remainText_.clear();
        enabled_[BtnForward] = (ResultFlags & ResultRun) != 0;
    } else if (page_ == 9) {
        saveMessage_ = SaveEnabled() ? QStringLiteral("主投影変換は完了しています。"
                                                      "ＸＹ地図を保存したいときは、"
                                                      "〔フォルダ名を付けて保存〕で新しいフォルダ名を入力してください。"
                                                      "このフォルダ内に生成したすべてのＸＹ地図ファイルとログファイルを保存します。")
                                     : QStringLiteral("主投影変換が完了していません。"
                                                      "前のページに戻って変換を実行してください。");
    }
}

void frmPrjWizardLogic::Backward() {
    if (!running_ && page_ >= 2 && page_ <= kPages) SetPage(page_ - 1);
}

void frmPrjWizardLogic::Forward() {
    if (!running_ && page_ >= 1 && page_ < kPages && enabled_[BtnForward]) SetPage(page_ + 1);
}

bool frmPrjWizardLogic::Enabled(Button b) const { return !running_ && enabled_[b]; }

void frmPrjWizardLogic::OK() {
    try {
        if (running_) return;
        if (Projector) Work.SetProjector(*Projector);
        ResultFlags |= ResultCommitted;
    } catch (...) {
        Report("cmdOK_Click");
    }
}

// --- page 1 ------------------------------------------------------------------------

QString frmPrjWizardLogic::InitMessage() {
    return QStringLiteral("これから主投影変換を開始します。"
                          "ページ１～７で設定し、ページ８で投影変換を実行し、ページ９で生成されたＸＹ地図を保存します。"
                          "\r\n\r\n"
                          "白紙の状態から設定するのが面倒であれば、"
                          "現在の経緯度地図の状態に近くなるように自動設定してから調整したり、"
                          "過去におこなった主投影変換のデータを呼び出すことができます。");
}

bool frmPrjWizardLogic::ExecInit() {
    try {
        switch (InitOption) {
        case 0:
            work_ = Projector ? Projector->Copy() : std::make_unique<clsProjector>();
            Work.GetProjector(*work_);
            break;
        case 1:
            Work = PrjWizardSettings::Initial();
            ConditionMask = 0;
            break;
        case 2:
            if (MapPlotLL) {
                const MapPlotSource source(*MapPlotLL);
                work_->SynchroPlot(source);
            }
            Work.GetProjector(*work_);
            ConditionMask = 0;
            break;
        case 3: {
            LogPath = ChangeExt(LogPath, QStringLiteral(".PLG"));
            if (!FileExists(LogPath)) {
                MsgError(LogPath + QStringLiteral("\r\nログファイルが存在しません."));
                break;
            }
            // Read whole and recognised before the store is touched: a file
            // that breaks off midway would leave half its values there.
            QStringList lines;
            for (;;) {
                try {
                    lines = plat::ReadTextLines(LogPath, kMaxSnapshotBytes);
                    break;
                } catch (...) {
                    const AppError e = plat::CurrentError();
                    if (e.number() == plat::ErrOutOfMemory) {
                        MsgError(LogPath + QStringLiteral("\r\nログファイルが大きすぎます. (上限 8 MiB)"));
                        return true;
                    }
                    if (!IsFileError(e)) break;   // not Shift-JIS text: no snapshot
                    // Cancel in the file-error box cancels the page change;
                    // skip leaves the settings as they are.
                    const int answer = ShowFileError(e, LogPath);
                    if (answer == 2) return false;
                    if (answer != 0) return true;
                }
            }
            const QString section = clsProjector::RegistrySection();
            if (!lines.contains(QLatin1Char('[') + section + QLatin1Char(']'))) {
                MsgError(LogPath + QStringLiteral("\r\nログファイルの形式が正しくありません."));
                break;
            }
            plat::TextReader in(std::move(lines));
            clsRegistry(section).ReadFile(in);
            work_->ReadRegistry();
            Work.GetProjector(*work_);
            break;
        }
        default: break;
        }
        return true;
    } catch (...) {
        Report("ExecInit");
    }
}

void frmPrjWizardLogic::BrowseLog() {
    const QString path = ChooseName(false, QStringLiteral("ログファイル"), QStringLiteral("ログファイル(*.PLG)|*.PLG|"), LogPath);
    if (path.isEmpty()) return;
    LogPath = path;
    InitOption = 3;
    changed();
}

void frmPrjWizardLogic::ValidateLogText(const QString& text) {
    const QString path = ChangeExt(text, QStringLiteral(".PLG"));
    if (FileExists(path)) {
        LogPath = path;
        InitOption = 3;
    }
    changed();
}

// --- page 7 ------------------------------------------------------------------------

QString frmPrjWizardLogic::ScaleMessage() {
    return QStringLiteral("連続線と多辺形の品質を調整するための参考値です。"
                          "実際に出力する縮尺より大きい縮尺を設定すれば緻密な形状を得られます。"
                          "小さい縮尺を設定すればＸＹ地図ファイルを圧縮できます。");
}

QString frmPrjWizardLogic::ScaleText() const { return FormatStandardInt(Work.MapScale); }

int16_t frmPrjWizardLogic::ScaleLevel() const { return LevelOfScale(Work.MapScale); }

bool frmPrjWizardLogic::ValidateScaleText(const QString& text) {
    double v = 0;
    try {
        v = JstrToDouble(text);
    } catch (const AppError&) {
        v = 0;   // an unreadable text counts as 0, which no scale is
    }
    bool ok = IsMapScale(v);
    if (ok) Work.MapScale = v;
    else MsgOutOfRange(FormatStandardInt(MapScaleMin) + QStringLiteral("～") + FormatStandardInt(MapScaleMax));
    changed();
    return ok;
}

QString frmPrjWizardLogic::ScrollScale(int16_t level) {
    const double s = ScaleOfLevel(level);
    if (s > 0) Work.MapScale = s;
    changed();
    return QStringLiteral("1/") + ScaleLevelText(LevelOfScale(Work.MapScale));
}

// --- page 8 ------------------------------------------------------------------------

QString frmPrjWizardLogic::ExecuteCaption() const { return running_ && !stopRequested_ ? kStop : kStart; }

double frmPrjWizardLogic::MonitorScale(double rectWidth, double rectHeight, double widthMm, double heightMm) {
    const double sx = rectWidth * 1000 / widthMm;
    const double sy = rectHeight * 1000 / heightMm;
    double s = std::max(sx, sy);
    s += s / 20;
    return std::min(s, MapScaleMax);
}

QString frmPrjWizardLogic::RemainTimeText(int32_t r) {
    if (r < 1) return QStringLiteral("--分--秒");
    const int32_t h = r / 3600, m = (r % 3600) / 60, s = r % 60;
    QString t;
    if (h != 0) t = QString::number(h) + QStringLiteral("時間");
    return t + QString::number(m) + QStringLiteral("分") + QString::number(s) + QStringLiteral("秒");
}

void frmPrjWizardLogic::Tick() {
    if (!engine_) return;
    progress_ = std::clamp(engine_->Progress(), 0, 100);
    remainText_ = prefix_ + RemainTimeText(engine_->Remain());
    changed();
}

void frmPrjWizardLogic::addElement(clsMapCell& cell) {
    if (!monitorPlot_) return;
    monitorPlot_->DrawCell(cell);
    monitor_->Refresh();
}

void frmPrjWizardLogic::Execute() {
    if (running_) {
        stopRequested_ = true;
        if (engine_) engine_->RequestCancel();
        changed();
        return;
    }
    running_ = true;
    stopRequested_ = false;
    execMessage_ = QStringLiteral("投影変換を実行中です。"
                                  "モニター画面に表示されていく形状が想定と異なるときは〔中止〕をクリックしてください。");
    prefix_ = QStringLiteral("準備中...");
    remainText_ = prefix_;
    ResultUnits.reset();
    ResultFlags &= ~(ResultRun | ResultSaved);
    changed();

    bool failed = false;
    AppError error;
    try {
        runProjection();
    } catch (...) {
        failed = true;
        error = plat::CurrentError();
        ResultUnits.reset();
    }
    // Whatever happened, the run's objects go before the window may.
    timer_.stop();
    monitorPlot_.reset();
    engine_.reset();
    progress_ = 0;
    running_ = false;
    if (failed) {
        AppendErrorSource(error, ErrFormUnload, kForm, QStringLiteral("cmdExecute_Click"), QString());
        plat::MsgBox(QStringLiteral("投影変換中にエラーが発生しました。\r\n") + error.description() +
                         QStringLiteral("\r\n") + error.source(),
                     plat::MbCritical | plat::MbOkOnly);
    }
    finishRun(ResultUnits != nullptr);
    if (closePending_) {
        closePending_ = false;
        if (CloseNow) CloseNow();
    }
}

void frmPrjWizardLogic::runProjection() {
    Work.SetProjector(*work_);
    engine_ = RunEngineFactory ? RunEngineFactory(*work_) : std::make_unique<ProjectorRunEngine>(*work_);

    std::optional<clsRect> bound;
    {
        timer_.start();
        plat::BusyCursor busy;
        bound = engine_->OutputBound();
        timer_.stop();
    }
    if (!bound || !MapUnitsLL) return;
    ResultCenterX = bound->CenterX();
    ResultCenterY = bound->CenterY();

    const int dpi = monitor_->Dpi();
    const double scale = MonitorScale(double(bound->x2) - bound->x1, double(bound->y2) - bound->y1,
                                      monitor_->Width() * 25.4 / dpi, monitor_->Height() * 25.4 / dpi);
    monitorPlot_ = std::make_unique<clsMapPlot>();
    clsMapPlot& m = *monitorPlot_;
    m.setProjectionIndex(0);
    m.Grid().setUnitMode(2);
    m.ProjectionAuto = false;
    m.GridAuto = false;
    m.FigShowModeEnable = false;
    m.ThgShowModeEnable = false;
    m.MapUnits = std::shared_ptr<clsMapUnits>(MapUnitsLL, [](clsMapUnits*) {});
    m.sethdc(monitor_->hdc());
    m.setCanvasLeft(0);
    m.setCanvasTop(0);
    m.setCanvasWidth(monitor_->Width());
    m.setCanvasHeight(monitor_->Height());
    m.setMapScale(scale);
    m.setCenterX(ResultCenterX);
    m.setCenterY(ResultCenterY);
    m.setdpix(dpi);
    m.setdpiy(dpi);

    prefix_ = QStringLiteral("変換終了まで ");
    timer_.start();
    {
        plat::BusyCursor busy;
        // A stop asked for while the rectangle was measured is kept: the
        // projection would clear the flag when it starts.
        if (!stopRequested_ && m.DrawStart()) {
            m.DrawClear();
            m.DrawOcean();
            ResultUnits = engine_->ExeProjection(*MapUnitsLL, [this](clsMapCell& cell) { addElement(cell); });
        }
        m.DrawEnd();
        Tick();
    }
    timer_.stop();
    monitor_->RefreshNow();
}

void frmPrjWizardLogic::finishRun(bool completed) {
    enabled_[BtnBackward] = enabled_[BtnOK] = enabled_[BtnCancel] = true;
    enabled_[BtnForward] = completed;
    QString msg;
    if (completed) {
        ResultFlags |= ResultRun;
        if (MapUnitPtr base = ResultUnits->Base()) base->setUnitName(QStringLiteral("BASEOUT"));
        msg = QStringLiteral("地図投影変換を完了しました。"
                             "モニタ画面を確認し、希望どおりであれば次ページで保存してください。"
                             "問題があれば戻って設定を修正し、再度変換してください。");
    } else {
        msg = QStringLiteral("地図投影変換を中断しました。"
                             "戻って設定を修正し、再度変換してください。");
    }
    changed();
    plat::MsgBox(msg, plat::MbInformation | plat::MbOkOnly);
    execMessage_ = msg;
    changed();
}

// --- page 9 ------------------------------------------------------------------------

std::vector<QStringList> frmPrjWizardLogic::SaveRows() const {
    std::vector<QStringList> rows;
    if (!ResultUnits) return rows;
    int n = 0;
    // The base unit is named without a folder and the others with their
    // source's: the bare names are what the save writes into the new folder.
    for (const MapUnitPtr& u : *ResultUnits)
        rows.push_back({QString::number(++n), u->Map().MapName(gvLanguage), FileNameOf(u->Map().FileName()),
                        QString::number(u->Map().Count())});
    return rows;
}

QString frmPrjWizardLogic::FolderProposal() {
    QString stamp = DateTimeStamp(QString());
    stamp.removeIf([](QChar c) { return !c.isDigit(); });
    return QStringLiteral("MXY") + stamp;
}

int32_t frmPrjWizardLogic::WriteSnapshot(const QString& log) {
    const PrjWizardHost& host = InstalledPrjWizardHost();
    if (!host.WriteLog) return -1;
    // The snapshot lists the new files; the global set comes back whichever
    // way this scope is left.
    XYUnitsSwap swap(ResultUnits.get());
    int32_t written = -1;
    AppError err;
    const int answer = WithFileRetry([&] { written = host.WriteLog(log); }, ChangeExt(log, QStringLiteral(".PLG")), &err);
    if (answer == 3) throw err;
    return answer == 0 ? written : -1;
}

void frmPrjWizardLogic::Save() {
    try {
        if (!ResultUnits || !(ResultFlags & ResultRun) || running_) return;
        QString path;
        for (;;) {
            path = ChooseName(true, QStringLiteral("ＸＹ地図ファイルの保存先フォルダ"), QStringLiteral("新規フォルダ名"),
                            FolderProposal());
            while (path.endsWith(QLatin1Char('\\')) || path.endsWith(QLatin1Char('/'))) path.chop(1);
            if (path.size() < 4) return;
            if (QFileInfo::exists(path) || QDir().mkdir(path)) break;
        }
        const QString folderName = FileNameOf(path);
        path += QLatin1Char('/');
        for (const MapUnitPtr& u : *ResultUnits) {
            u->setUnitName(path + FileNameOf(u->UnitName()));
            if (!u->Save(false)) return;
        }

        // The snapshot describes the projection that made these maps: the
        // settings are committed before it is written, and put back when
        // it cannot be.
        std::optional<PrjWizardSettings> before;
        if (Projector) {
            before.emplace();
            const bool autoPrj = Projector->AutoProjection, rightAxis = Projector->RightAxis;
            before->GetProjector(*Projector);
            before->AutoProjection = autoPrj;
            before->RightAxis = rightAxis;
            Work.SetProjector(*Projector);
        }
        const int32_t written = WriteSnapshot(path + folderName);
        if (written != 0) {
            if (before) before->SetProjector(*Projector);
            return;
        }
        ResultFlags |= ResultSaved | ResultCommitted;
        if (CloseNow) CloseNow();
    } catch (...) {
        Report("cmdSave_Click");
    }
}
