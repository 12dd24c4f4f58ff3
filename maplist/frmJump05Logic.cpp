#include "frmJump05Logic.h"

#include "AppState.h"
#include "DoEvents.h"
#include "ErrorMng.h"
#include "FileOps.h"
#include "FlexGridData.h"
#include "LongOperation.h"
#include "MessageBox.h"
#include "basFileNames.h"
#include "basGazetteer.h"
#include "basLibrary.h"
#include "basPlaceKey.h"
#include "clsCruise05.h"
#include "clsMapUnits.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <memory>

namespace {

const QString kName = QStringLiteral("frmJump05");

// Cancel in a file-error box: the command under way ends, nothing more.
struct CommandCancelled {};

// Passes an error on with this dialog's name and the procedure's; a
// cancelled command passes as it is.
template <class F>
auto reporting(const char* procedure, F&& f) {
    try {
        return f();
    } catch (const CommandCancelled&) {
        throw;
    } catch (...) {
        RaiseError(ErrFormUnload, kName, QString::fromLatin1(procedure));
    }
}

// A user's command: reporting, and ended quietly when cancelled.
template <class F>
void command(const char* procedure, F&& f) {
    try {
        reporting(procedure, std::forward<F>(f));
    } catch (const CommandCancelled&) {
    }
}

QString cleanPath(const QString& path) {
    return QDir::cleanPath(QFileInfo(plat::NativePath(path)).absoluteFilePath());
}

int32_t mapModeOfFile(const QString& name) {
    return name.endsWith(QLatin1String(".MLL"), Qt::CaseInsensitive) ? 1 : 2;
}

} // namespace

frmJump05Logic::frmJump05Logic(plat::FlexGridData& cells) : grid_(cells) { clearList(); }

void frmJump05Logic::clearList() {
    ClearPlaces(grid_);
    s_.count = 0;
    listChanged();
}

void frmJump05Logic::changed() {
    if (Changed) Changed();
}

void frmJump05Logic::setMessage(const QString& text) {
    s_.message = text;
    changed();
}

void frmJump05Logic::redraw(bool on) {
    // Every bulk change of the list runs with its drawing off.
    if (!on) listChanged();
    if (SetRedraw) SetRedraw(on);
}

bool frmJump05Logic::Load() {
    DialogOK = false;
    s_.building = false;
    s_.language = gvLanguage == 2 ? 2 : 1;
    if (!TargetUnits) return false;
    clearList();
    if (s_.sortCode == 0) s_.sortCode = 1;
    s_.gazetteerPath = GetGazetFile();
    if (TargetUnits->MapMode() == 1) {
        s_.buildEnabled = true;
        s_.gazetteerEnabled = FileExists(s_.gazetteerPath);
    } else {
        s_.source = 0;
        s_.buildEnabled = s_.gazetteerEnabled = false;
    }
    return true;
}

void frmJump05Logic::Activate() {
    if (PlaceCount(grid_) > 0 || s_.building || !TargetUnits) return;
    plat::DoEvents();
    SelectSource(s_.source);
}

void frmJump05Logic::Unload() {
    const QString keyword = s_.keyword;
    if (!keyword.isEmpty() &&
        (s_.history.isEmpty() || keyword.compare(s_.history.last(), Qt::CaseInsensitive) != 0))
        s_.history.append(keyword);
    {
        plat::BusyCursor busy;
        clearList();
    }
    TargetUnits = nullptr;
}

void frmJump05Logic::SelectSource(int16_t source) {
    command("optSource_Click", [&] {
        s_.source = source == 1 ? 1 : 0;
        MakeGrid();
        if (s_.source == 1 && PlaceCount(grid_) == 0) {
            s_.source = 0;
            MakeGrid();
        }
    });
}

void frmJump05Logic::MakeGrid() {
    reporting("MakeGrid", [&] {
        setMessage(QStringLiteral("リスト消去中..."));
        plat::BusyCursor busy;
        clearList();
        if (s_.source == 0) {
            if (TargetUnits) {
                for (const MapUnitPtr& unit : *TargetUnits) {
                    setMessage(QStringLiteral("リスト追加中..."));
                    AddUnitPlace(unit.get());
                }
            }
        } else {
            ReadGazetteer(s_.gazetteerPath);
        }
        s_.message.clear();
        SortGrid(s_.sortCode);
        SearchKey();
        changed();
    });
}

void frmJump05Logic::AddUnitPlace(const clsMapUnit* unit) {
    redraw(false);
    ::AddUnitPlace(grid_, unit, s_.language);
    redraw(true);
    s_.count = PlaceCount(grid_);
}

void frmJump05Logic::SearchKey() {
    reporting("SearchKey", [&] {
        plat::BusyCursor busy;
        if (!keysValid_ || keys_.places() != PlaceCount(grid_)) {
            keys_.build(grid_);
            keysValid_ = true;
        }
        const int32_t row = SearchPlaceRow(keys_, grid_.Row(), KeywordKey(s_.keyword, s_.language));
        if (row < 1) return;
        grid_.select(row, 0, row, grid_.Cols() - 1);
        if (SetTopRow) SetTopRow(row);
    });
}

void frmJump05Logic::SortGrid(int16_t code) {
    if (PlaceCount(grid_) < 1) return;
    redraw(false);
    SortPlaces(grid_, code);
    redraw(true);
    if (SetTopRow) SetTopRow(1);
}

void frmJump05Logic::HeaderClick(int32_t column) {
    if (column < 0 || column > 3) return;
    const auto ascending = static_cast<int16_t>(2 * column + 1);
    s_.sortCode = s_.sortCode == ascending ? static_cast<int16_t>(ascending + 1) : ascending;
    SortGrid(s_.sortCode);
    SearchKey();
}

QString frmJump05Logic::FindMapFile(const QString& fileName) {
    const QString direct = JoinPath(gvMapFolder, fileName);
    if (FileExists(direct)) return plat::ResolveFileName(plat::NativePath(direct));
    QString found;
    QDirIterator it(plat::ResolveFileName(plat::NativePath(gvMapFolder)), QDir::Files | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileName().compare(fileName, Qt::CaseInsensitive) == 0 && (found.isEmpty() || path < found))
            found = path;
    }
    return found.isEmpty() ? direct : found;
}

void frmJump05Logic::Ok() {
    command("cmdOK_Click", [&] {
        const int32_t row = grid_.Row();
        if (PlaceCount(grid_) < 1 || row < 1) return;
        const QString file = grid_.TextMatrix(row, kPlaceFile);
        JumpMapMode = mapModeOfFile(file);
        JumpX = grid_.TextMatrix(row, kPlaceX).trimmed().toInt();
        JumpY = grid_.TextMatrix(row, kPlaceY).trimmed().toInt();
        JumpScaleS = grid_.TextMatrix(row, kPlaceScaleS).trimmed().toDouble();
        JumpScaleL = grid_.TextMatrix(row, kPlaceScaleL).trimmed().toDouble();

        const QString path = FindMapFile(file);
        MapUnitPtr unit;
        if (TargetUnits) {
            const QString wanted = cleanPath(path);
            for (const MapUnitPtr& u : *TargetUnits)
                if (cleanPath(u->UnitName()).compare(wanted, Qt::CaseInsensitive) == 0) unit = u;
            // A map opened from elsewhere under the same name is the same map.
            for (const MapUnitPtr& u : *TargetUnits)
                if (!unit && FileNameOf(u->UnitName()).compare(file, Qt::CaseInsensitive) == 0) unit = u;
        }
        if (unit) unit->setDisplaySwitch(true);

        if (s_.source == 1 && !unit && TargetUnits && JumpMapMode == TargetUnits->MapMode()) {
            setMessage(QStringLiteral("しばらくお待ちください..."));
            auto loaded = std::make_shared<clsMapUnit>();
            loaded->setMapMode(JumpMapMode);
            loaded->setUnitName(path);
            if (loaded->Load()) {
                const int16_t level = loaded->Map().Level();
                if (level >= 1) {
                    // Hidden, not saved: the user saves edits when they choose.
                    for (const MapUnitPtr& u : *TargetUnits) {
                        const int16_t other = u->Map().Level();
                        if (other >= 1 && other != level) u->setDisplaySwitch(false);
                    }
                }
                TargetUnits->Add(loaded);
                TargetUnits->Optimize(3);
            }
            setMessage(QString());
        }
        DialogOK = true;
    });
}

bool frmJump05Logic::Cancel() {
    if (s_.building) {
        s_.building = false;
        return false;
    }
    DialogOK = false;
    return true;
}

bool frmJump05Logic::ReadGazetteer(const QString& path) {
    return reporting("ReadGazetteer", [&] {
        if (!FileExists(path)) return false;
        setMessage(QStringLiteral("辞典読取中..."));
        const auto fail = [&] {
            clearList();
            setMessage(QString());
            return false;
        };
        const auto tooLarge = [&] {
            MsgError(path + QStringLiteral("\r\nは地名辞典として大きすぎるので読み込みません."));
            return fail();
        };
        if (QFileInfo(plat::ResolveFileName(plat::NativePath(path))).size() > kMaxGazetteerBytes) return tooLarge();
        GazetteerRead read;
        bool beyondCap = false;
        AppError error;
        redraw(false);
        const int answer = WithFileRetry(
            [&] {
                try {
                    read = ReadGazetteerFile(path, s_.language, grid_);
                } catch (const AppError& e) {
                    // Grown past the cap while read, or a file that hides its size.
                    if (e.number() != plat::ErrOutOfMemory) throw;
                    beyondCap = true;
                }
            },
            path, &error);
        redraw(true);
        if (beyondCap) return tooLarge();
        if (answer == 1) return fail();
        if (answer == 2) {
            fail();
            throw CommandCancelled();
        }
        if (answer != 0) {
            fail();
            RaiseError(error, ErrFormUnload, kName, QStringLiteral("ReadGazetteer"));
        }
        if (read.sortCode != 0) s_.sortCode = read.sortCode;
        s_.count = PlaceCount(grid_);
        setMessage(QString());
        if (read.badCountLine > 0)
            MsgError(path + QStringLiteral("\r\nの見出し (%1 行目 \"# number = \") が壊れているので地名を読めません.")
                                .arg(read.badCountLine));
        if (read.badLines > 0)
            plat::MsgBox(path + QStringLiteral("\r\nの読めない行 %1 行 (最初は %2 行目) を読み飛ばしました.")
                                    .arg(read.badLines)
                                    .arg(read.firstBadLine),
                         plat::MbExclamation);
        return read.header;
    });
}

bool frmJump05Logic::WriteGazetteer(const QString& path) {
    return reporting("WriteGazetteer", [&] {
        if (PlaceCount(grid_) < 1) return false;
        setMessage(QStringLiteral("辞典保存中..."));
        const QByteArray bytes = GazetteerBytes(grid_, s_.language, s_.sortCode);
        AppError error;
        const int answer = WithFileRetry([&] { plat::WriteFileAtomic(path, bytes); }, path, &error);
        setMessage(QString());
        if (answer == 1) return false;
        if (answer == 2) throw CommandCancelled();
        if (answer != 0) RaiseError(error, ErrFormUnload, kName, QStringLiteral("WriteGazetteer"));
        return true;
    });
}

void frmJump05Logic::BuildGazetteer() {
    command("cmdGazetteer_Click", [&] {
        const QString question =
            QStringLiteral("地図フォルダ(サブフォルダを含む)上の全地図ファイルから地名を取得して") +
            (s_.language == 1 ? QStringLiteral("<欧州語用>") : QStringLiteral("<日本語用>")) +
            QStringLiteral(" 地名辞典を作成します.\r\nかなりの時間を要しますが実行してよろしいですか？");
        if (!AskYesNo(question)) return;
        const QStringList files = FindFiles(JoinPath(gvMapFolder, QStringLiteral("*.MLL"))) +
                                  FindFiles(JoinPath(gvMapFolder, QStringLiteral("*.MXY")));
        if (files.isEmpty()) {
            MsgError(QStringLiteral("地図ファイル名リストの取得に失敗しました.\r\n[ツール]-[環境設定] でパスを設定してください."));
            return;
        }
        s_.building = true;
        clearList();
        changed();
        const qsizetype n = files.size();
        for (qsizetype i = 0; i < n && s_.building; ++i) {
            setMessage(QStringLiteral("取得中...%1/%2").arg(i + 1).arg(n));
            auto unit = std::make_shared<clsMapUnit>();
            unit->setMapMode(mapModeOfFile(files[i]));
            unit->setUnitName(files[i]);
            if (unit->Load()) {
                plat::DoEvents();
                AddUnitPlace(unit.get());
                changed();
            }
            unit.reset();
            plat::DoEvents();
        }
        // A stop asked for at any time, even after the last map, writes nothing.
        const bool stopped = !s_.building;
        s_.building = false;
        SortGrid(s_.sortCode);
        SearchKey();
        bool written = false;
        if (!stopped && PlaceCount(grid_) > 0) {
            plat::BusyCursor busy;
            written = WriteGazetteer(s_.gazetteerPath);
        }
        s_.gazetteerEnabled = written;
        SelectSource(written ? 1 : 0);
        setMessage(QString());
    });
}

double frmJump05Logic::JumpScale(double current, double scaleS, double scaleL) {
    double s = current;
    if (s < scaleL) s = scaleL;
    if (s > scaleS) s = scaleS;
    return s;
}

void frmJump05Logic::EndAutoCruise() {
    if (!gvCruise || !gvCruise->EiAuto) return;
    plat::MsgBox(QStringLiteral("〔オートクルーズ〕を解除します."), plat::MbInformation);
    gvCruise->EiAuto = false;
}
