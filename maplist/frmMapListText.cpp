// The figure list's exchange of figures with comma-separated text files.
#include "frmMapListLogic.h"

#include "DoEvents.h"
#include "ErrorMng.h"
#include "FileOps.h"
#include "MapListHost.h"
#include "MapTextFile.h"
#include "MessageBox.h"
#include "TextFile.h"
#include "basAngle.h"
#include "basLibrary.h"

namespace {

// Lines read between two turns of the events (one in 32 of which lets them
// run: often enough for Esc, rarely enough to cost nothing) and between two
// updates of the status text.
constexpr qsizetype kLinesPerYield = 64;
constexpr qsizetype kStatusPeriod = 4096;

// The half-width symbol style writes its seconds as a double quote, which
// would end a field: the file gets the full-width signs, and the style the
// user chose comes back however the write ends.
class FileAngleSymbols {
public:
    FileAngleSymbols() {
        if (kept_ == 4) SetAngleSymbol(2);
    }
    ~FileAngleSymbols() {
        if (kept_ >= 1) SetAngleSymbol(kept_);
    }
    FileAngleSymbols(const FileAngleSymbols&) = delete;
    FileAngleSymbols& operator=(const FileAngleSymbols&) = delete;

private:
    const int16_t kept_ = GetAngleSymbol();
};

// Ten times the text of the whole world map. Reading holds no more than a
// block and a record of the file, but the bound still caps the time and the
// longest line.
constexpr int64_t kMaxTextFileBytes = int64_t(256) << 20;

} // namespace

QString frmMapListLogic::TextFileFilter() {
    return QStringLiteral("CSVファイル(*.CSV)|*.CSV|テキストファイル(*.TXT)|*.TXT|任意ファイル(*.*)|*.*|");
}

bool frmMapListLogic::WriteTextFile(const QString& path) {
    int32_t first = 0, last = 0;
    if (!MapUnit || !GetSelectRange(first, last)) return false;
    const clsMap& map = MapUnit->Map();
    QString text;
    bool stopped = false;
    {
        LongOperation busy(*this);
        FileAngleSymbols symbols;
        text = maptext::HeaderLine(map.MapMode()) + QStringLiteral("\r\n");
        for (int32_t k = first; k <= last; ++k) {
            if (!YieldEvents()) {
                stopped = true;
                break;
            }
            text += maptext::FigureToStrAll(map.Item(k).get(), MapUnit.get(), true);
            text += QStringLiteral("\r\n");
        }
    }
    // Rows drawn while the file was made show the file's angle style.
    rows_.Invalidate();
    grid_->Refresh();
    if (stopped) {
        plat::MsgBox(QStringLiteral("テキストファイルの保存は中断されました."), plat::MbInformation);
        return false;
    }
    return ListFileStep(path, [&] { plat::WriteFileAtomic(path, maptext::EncodeFileText(text)); });
}

bool frmMapListLogic::ReadTextFile(const QString& path) {
    if (!MapUnit) return false;
    // The file is read line by line twice: first to see that it decodes and
    // to count its lines for the progress, then into figures. Memory holds
    // a block of it and the figures read, whatever its length.
    std::unique_ptr<plat::TextReader> file;
    int32_t failure = 0;   // 7 too large, 13 no text
    // A file step; the errors that no retry mends end the reading.
    const auto step = [&](const std::function<void()>& op) {
        return ListFileStep(path, [&] {
            try {
                op();
            } catch (const AppError& e) {
                if (e.number() != plat::ErrOutOfMemory && e.number() != plat::ErrTypeMismatch) throw;
                failure = e.number();
            }
        });
    };
    struct Ended {};   // thrown through the reading when the file fails
    qsizetype lines = 0;
    bool going = true;     // false once Esc stopped the count
    bool skipped = false;  // at the file-error box
    auto imported = std::make_shared<clsMap>();
    imported->setMapMode(MapUnit->Map().MapMode());
    imported->setEiUndo(false);
    imported->setFileName(path);
    maptext::ReadResult read;
    try {
        LongOperation busy(*this);
        // A retry goes on where the read failed.
        skipped = !step([&] {
            if (!file) file = std::make_unique<plat::TextReader>(path, kMaxTextFileBytes, true);
            while (going && !file->atEnd()) {
                file->readLine();
                if (++lines % kLinesPerYield == 0) going = YieldEvents();
            }
        });
        if (!skipped && failure == 0 && going) {
            file->seekStart();
            const QString status = QStringLiteral("挿入中... (%1/") + QString::number(lines) + QLatin1Char(')');
            read = maptext::ReadFigureLines(
                [&](QString& line) {
                    bool more = false;
                    if (!step([&] {
                            more = !file->atEnd();
                            if (more) line = file->readLine();
                        }) ||
                        failure != 0)
                        throw Ended();
                    return more;
                },
                *MapUnit, *imported,
                [](const QString& message) { return plat::MsgBox(message, plat::MbYesNo | plat::MbQuestion) == plat::IdYes; },
                [&](qsizetype done) {
                    if (done % kLinesPerYield != 0) return true;
                    if (done % kStatusPeriod == 0) SetStatusText(status.arg(done + 1));
                    return YieldEvents();
                });
        }
    } catch (const Ended&) {
        skipped = failure == 0;
    }
    // New things appear in the rows' names.
    rows_.Invalidate();
    if (skipped) return false;
    if (failure == plat::ErrOutOfMemory) {
        plat::MsgBox(path + QStringLiteral("\r\nは大きすぎるので読み込みません. (上限 256 MiB)"), plat::MbCritical);
        return false;
    }
    if (failure != 0) {
        plat::MsgBox(path + QStringLiteral("\r\nは読めない文字を含んでいます."), plat::MbCritical);
        return false;
    }
    if (!going) read.cancelled = true;
    if (read.cancelled) {
        plat::MsgBox(QStringLiteral("テキストファイルの挿入は中断されました."), plat::MbInformation);
        return false;
    }
    if (read.badLines > 0)
        plat::MsgBox(path + QStringLiteral("\r\nの読めない行 %1 行 (最初は %2 行目) を読み飛ばしました.")
                                .arg(read.badLines)
                                .arg(read.firstBadLine),
                     plat::MbExclamation);
    if (imported->Count() < 1) return true;
    const int32_t row = SelectTopRow();
    MapUnit->Map().ResetUndo();
    InsLines(IsValidRow(row) ? row : RowCount() + 1, imported->MapCollection());
    return true;
}

void frmMapListLogic::SaveSelectionAsText() {
    if (!MapUnit) return;
    const QString name =
        maplisthost::InputSaveName(QString(), TextFileFilter(), ChangeExt(MapUnit->Map().FileName(), QStringLiteral(".CSV")));
    if (name.isEmpty()) return;
    SetStatusText(QStringLiteral("保存中..."));
    plat::DoEvents();
    WriteTextFile(name);
    SetStatusText(QString());
}

void frmMapListLogic::InsertTextFile() {
    if (!MapUnit || !ConfirmAddFigure(*MapUnit)) return;
    const QString name = maplisthost::InputLoadName(QString(), TextFileFilter(), QString());
    if (name.isEmpty()) return;
    SetStatusText(QStringLiteral("挿入中..."));
    {
        LongOperation busy(*this);
        plat::DoEvents();
        ReadTextFile(name);
    }
    SetStatusText(QString());
}
