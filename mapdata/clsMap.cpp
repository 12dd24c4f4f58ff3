#include "clsMap.h"

#include "AppError.h"
#include "BinaryIO.h"
#include "Clock.h"
#include "DoEvents.h"
#include "ErrorMng.h"
#include "FileOps.h"
#include "MessageBox.h"
#include "RuntimeMath.h"
#include "TextFile.h"
#include "basHMap.h"
#include "basLibrary.h"
#include "clsMapPolyline.h"
#include "clsMapRem.h"
#include "clsMapText.h"

#include <algorithm>

namespace {

const QString kObject = QStringLiteral("clsMap");

[[noreturn]] void failRecord(const QString& comment, int32_t line, int32_t code, const QString& detail = QString()) {
    QString text = comment + QStringLiteral("(Line:%1, Figure:%2)").arg(line).arg(code);
    if (!detail.isEmpty()) text += QLatin1Char('/') + detail;
    throw AppError(ErrMapRecord, QString(), text);
}

// "12 行目の注釈「first characters…」": where a figure is and what it says.
QString describeFigure(int32_t line, const clsMapFigure& f) {
    QString text;
    if (f.FigCode() == 1) {
        text = static_cast<const clsMapRem&>(f).Comment();
    } else if (f.FigCode() == 5) {
        const auto& t = static_cast<const clsMapText&>(f);
        text = t.TextUnicode(2).isEmpty() ? t.TextUnicode(1) : t.TextUnicode(2);
    }
    constexpr qsizetype kShown = 20;
    if (text.size() > kShown) text = text.left(kShown) + QChar(0x2026);
    return QStringLiteral("%1 行目の%2「%3」").arg(line).arg(f.FigName(2), text);
}

} // namespace

int16_t clsMap::SaveVersion() {
    const int16_t v = Version();
    if (v < kMapVersion104 || v >= kMapVersion106) return kMapVersion106;
    for (const MapFigurePtr& f : figures_)
        if (!f->FitsVersion(v)) return kMapVersion106;
    return v;
}

int32_t clsMap::FirstUnsavable(int16_t version, int32_t* count) const {
    int32_t first = 0, n = 0;
    for (int32_t i = 1; i <= Count(); ++i) {
        if (figures_[i - 1]->FitsVersion(version)) continue;
        if (!first) first = i;
        ++n;
    }
    if (count) *count = n;
    return first;
}

clsMap::~clsMap() {
    undo_.clear();
    figures_.clear();
}

// -------------------------------------------------------------------- state

bool clsMap::Modify() const {
    if (changes_ == 0) {
        for (const MapFigurePtr& f : figures_) {
            if (f->Modify()) {
                changes_ = 1;
                break;
            }
        }
    }
    return changes_ >= 1;
}

void clsMap::setModify(bool v) {
    if (v) {
        changes_ = std::max(changes_, 1);
        return;
    }
    for (const MapFigurePtr& f : figures_) f->setModify(false);
    changes_ = 0;
}

void clsMap::setFileName(const QString& name) {
    if (name.isEmpty() || name == fileName_) return;
    fileName_ = ChangeExt(name, mapMode_ == 2 ? QStringLiteral(".MXY") : QStringLiteral(".MLL"));
    ++changes_;
    lockMode_ = false;
}

void clsMap::setMapMode(int32_t mode) {
    if (!figures_.empty() || mode == mapMode_ || (mode != 1 && mode != 2)) return;
    mapMode_ = mode;
    ++changes_;
    const QString renamed = ChangeExt(fileName_, mode == 2 ? QStringLiteral(".MXY") : QStringLiteral(".MLL"));
    if (renamed != fileName_) {
        fileName_ = renamed;
        ++changes_;
        lockMode_ = false;
    }
}

void clsMap::setLockMode(bool v) {
    if (v == lockMode_) return;
    lockMode_ = v;
    ++changes_;
}

bool clsMap::IsRight() const {
    return std::all_of(figures_.begin(), figures_.end(), [](const MapFigurePtr& f) { return f->IsRight(); });
}

int32_t clsMap::FigCode(int32_t i) const { return InBound(i) ? figures_[i - 1]->FigCode() : 0; }

MapFigurePtr clsMap::Item(int32_t i) const { return InBound(i) ? figures_[i - 1] : nullptr; }

// -------------------------------------------------------------------- edits

bool clsMap::Refused(const QString& edit) const {
    if (busy_) {
        MsgError(fileName_ + QStringLiteral("\r\nは読み書き中のため変更できません. [") + edit + QLatin1Char(']'));
        return true;
    }
    if (lockMode_) {
        MsgError(fileName_ + QStringLiteral("\r\nは変更禁止. [") + edit + QLatin1Char(']'));
        return true;
    }
    return false;
}

void clsMap::AddUndo(int16_t kind, int32_t position, const MapFigurePtr& fig) {
    if (eiUndo_) undo_.push_back(UndoRecord{kind, position, fig});
}

void clsMap::InsertAt(int32_t i, const MapFigurePtr& fig) {
    if (InBound(i)) figures_.insert(figures_.begin() + (i - 1), fig);
    else figures_.push_back(fig);
}

void clsMap::Clear() {
    if (Refused(QStringLiteral("Clear"))) return;
    figures_.clear();
    changes_ = 0;
    eraseUndo();
}

bool clsMap::Add(const MapFigurePtr& fig) {
    if (Refused(QStringLiteral("Add"))) return false;
    if (!fig || !fig->IsRight()) return false;
    figures_.push_back(fig);
    AddUndo(1, Count(), fig);
    ++changes_;
    return true;
}

bool clsMap::Ins(int32_t i, const MapFigurePtr& fig) {
    if (Refused(QStringLiteral("Ins"))) return false;
    if (!fig || !fig->IsRight()) return false;
    if (!InBound(i)) i = Count() + 1;
    InsertAt(i, fig);
    AddUndo(1, i, fig);
    ++changes_;
    return true;
}

bool clsMap::Inss(int32_t i, const FigureList& figs) {
    if (Refused(QStringLiteral("Inss"))) return false;
    if (figs.empty() || !std::all_of(figs.begin(), figs.end(), [](const MapFigurePtr& f) { return f && f->IsRight(); }))
        return false;
    if (!InBound(i)) i = Count() + 1;
    figures_.insert(figures_.begin() + (i - 1), figs.begin(), figs.end());
    // Recorded whatever EiUndo says: an insertion of many is always revertible.
    for (size_t k = 0; k < figs.size(); ++k) undo_.push_back(UndoRecord{1, i + static_cast<int32_t>(k), nullptr});
    changes_ += static_cast<int32_t>(figs.size());
    return true;
}

bool clsMap::Remove(int32_t i) {
    if (Refused(QStringLiteral("Remove"))) return false;
    if (!InBound(i)) return false;
    AddUndo(2, i, figures_[i - 1]);
    figures_.erase(figures_.begin() + (i - 1));
    ++changes_;
    return true;
}

bool clsMap::Removes(int32_t first, int32_t last) {
    if (Refused(QStringLiteral("Removes"))) return false;
    if (!InBound(first) || !InBound(last) || first > last) return false;
    for (int32_t k = first; k <= last; ++k) undo_.push_back(UndoRecord{2, first, figures_[k - 1]});
    figures_.erase(figures_.begin() + (first - 1), figures_.begin() + last);
    changes_ += last - first + 1;
    return true;
}

bool clsMap::Renew(int32_t i, const MapFigurePtr& fig) {
    if (Refused(QStringLiteral("Renew"))) return false;
    if (!InBound(i) || !fig || !fig->IsRight()) return false;
    Relocate(i, i, fig);
    return true;
}

bool clsMap::Move(int32_t from, int32_t to) {
    if (Refused(QStringLiteral("Move"))) return false;
    if (from == to) return false;
    if (from < to) --to;
    if (!InBound(from) || !InBound(to)) return false;
    Relocate(from, to, figures_[from - 1]);
    return true;
}

void clsMap::Relocate(int32_t from, int32_t to, MapFigurePtr fig) {
    AddUndo(2, from, figures_[from - 1]);
    figures_.erase(figures_.begin() + (from - 1));
    ++changes_;
    if (to > Count()) to = Count() + 1;
    InsertAt(to, fig);
    AddUndo(1, to, fig);
    ++changes_;
}

// --------------------------------------------------------------------- undo

void clsMap::Undo() {
    if (busy_) {
        MsgError(fileName_ + QStringLiteral("\r\nは読み書き中のため変更できません. [Undo]"));
        return;
    }
    for (auto it = undo_.rbegin(); it != undo_.rend(); ++it) {
        if (it->kind == 1) {
            if (InBound(it->position)) figures_.erase(figures_.begin() + (it->position - 1));
        } else if (it->figure) {
            InsertAt(it->position, it->figure);
        }
        --changes_;
    }
    // Reverting edits made before the map was last marked unmodified leaves
    // it different from that state: it is modified, not "less than" unmodified.
    if (changes_ < 0) changes_ = 1;
    undo_.clear();
    if (const std::shared_ptr<clsMap> c = companion_.lock()) c->Undo();
}

bool clsMap::CanUndo() const {
    if (!undo_.empty()) return true;
    const std::shared_ptr<clsMap> c = companion_.lock();
    return c && c->CanUndo();
}

void clsMap::eraseUndo() {
    undo_.clear();
    if (const std::shared_ptr<clsMap> c = companion_.lock()) c->ResetUndo();
}

void clsMap::setUndoCompanion(const std::shared_ptr<clsMap>& companion) {
    // A chain back to this map would revert it twice and never end.
    for (clsMap* m = companion.get(); m; m = m->companion_.lock().get())
        if (m == this) return;
    companion_ = companion;
}

// ----------------------------------------------------------------- searches

int32_t clsMap::SearchJumpMark(int16_t mark) const {
    for (int32_t i = 1; i <= Count(); ++i)
        if (figures_[i - 1]->JumpMark() == mark) return i;
    return -1;
}

int32_t clsMap::SearchReserve(int32_t start, int32_t value) const {
    for (int32_t i = std::max(start, 1); i <= Count(); ++i)
        if (figures_[i - 1]->Reserve() == value) return i;
    return -1;
}

// ----------------------------------------------------------------- map file

void clsMap::RaiseProgress(int64_t done, int64_t total) {
    if (total <= 0) return;
    const auto p = static_cast<int16_t>(std::min<int64_t>(100, done * 25 / total * 4));
    if (p <= lastPercent_) return;
    lastPercent_ = p;
    if (Progress) Progress(p);
}

namespace {

// The version code of the file from its first record, or throws 0x800403EE.
// A projection-condition remark is handed back in `kept`.
int16_t readVersion(plat::BinaryReader& in, MapFigurePtr& kept) {
    double v = 0;
    int16_t version = 0;
    try {
        if (in.i16() == 1) {
            const int16_t admin = in.i16();
            const std::string raw = maprec::ReadChars(in, in.i16());
            const QString text = plat::DecodeCp932Lossy(QByteArray(raw.data(), static_cast<qsizetype>(raw.size())));
            // Builds before numbers were written locale-free put "1,06" here
            // under a decimal-comma locale; those maps are the users' own.
            QString number = text.right(4);
            if (number.size() == 4 && number[1] == QLatin1Char(',')) number[1] = QLatin1Char('.');
            try {
                v = plat::CDbl(number) * 100;
            } catch (const AppError&) {
                v = 0;
            }
            if (v >= 100 && v <= 106) {
                version = static_cast<int16_t>(plat::RoundHalfEven(v));
            } else if (text == QStringLiteral("[投影条件]")) {
                version = kMapVersionProjection;
                auto rem = std::make_shared<clsMapRem>();
                rem->setComment(text);
                // The remark is kept without the usual check; a district out of
                // range would make the map unsavable, so it becomes 0.
                rem->setAdmin(admin >= 0 && admin <= 999 ? admin : 0);
                rem->setModify(false);
                kept = rem;
            }
        }
    } catch (const AppError&) {
        // A first record cut short determines no version.
    }
    if (version == 0) {
        const QString comment = v > 106 ? QStringLiteral("地図バージョンがアプリケーションの対応範囲を超えています.アップグレードしてください.")
                                        : QStringLiteral("地図バージョン確認不能");
        throw AppError(ErrMapVersion, QString(), comment);
    }
    if (version >= kMapVersion104) in.skip(in.has(4) ? 4 : in.remaining());
    return version;
}

} // namespace

void clsMap::ReadFrom(const QByteArray& bytes) {
    plat::BinaryReader in(bytes);
    ReadRecords(in, bytes.size());
}

void clsMap::ReadRecords(plat::BinaryReader& in, int64_t total) {
    lastPercent_ = -1;
    version_ = 0;
    MapFigurePtr kept;
    const int16_t version = readVersion(in, kept);
    version_ = version;
    if (kept) figures_.push_back(kept);
    // Files before 1.06 keep no identifiers: their figures are made now.
    const int64_t now = version < kMapVersion106 ? FigSecondsNow() : 0;
    int32_t line = 0;
    for (;;) {
        ++line;
        if (line % 8 == 0) RaiseProgress(static_cast<int64_t>(in.pos()) + 1, total);
        int32_t code;
        if (in.has(2)) {
            code = in.i16();
        } else {
            // A last odd byte is read as a code cut short by the end of file.
            if (in.atEnd()) break;
            code = in.u8();
            if (!IsValidFigCode(code)) break;
            failRecord(QStringLiteral("不正な図形内容"), line, code);
        }
        if (!IsValidFigCode(code)) failRecord(QStringLiteral("不正な図形コード"), line, code);
        const double id = version >= kMapVersion106 ? 0.0 : NewFigIDAt(now);
        MapFigurePtr fig = NewMapFigure(code, clsMapFigure::WithID{id});
        try {
            fig->ReadElm(in, version);
        } catch (const AppError& e) {
            failRecord(QStringLiteral("不正な図形内容"), line, code, e.description());
        }
        if (!fig->IsRight()) failRecord(QStringLiteral("不正な図形内容"), line, code);
        figures_.push_back(std::move(fig));
    }
}

int16_t clsMap::PrepareSaveVersion() {
    const int16_t v = SaveVersion();
    if (v == kMapVersion106) return v;
    // Reduce on copies first: a sequence that cannot be reduced sends the
    // whole map to 1.06, and then no other figure may have lost points.
    std::vector<std::pair<std::shared_ptr<clsPoly>, clsPoly>> reduced;
    for (const MapFigurePtr& f : figures_) {
        if (f->FigCode() != 2 && f->FigCode() != 3) continue;
        std::shared_ptr<clsPoly> poly = f->Poly();
        if (poly->Count() <= kMaxOldPoints) continue;
        clsPoly work = *poly;
        if (!ReduceForOldVersion(work)) return kMapVersion106;
        reduced.emplace_back(std::move(poly), std::move(work));
    }
    for (auto& [poly, work] : reduced) *poly = std::move(work);
    return v;
}

void clsMap::WriteTo(plat::BinaryWriter& out, int16_t version) {
    lastPercent_ = -1;
    // The version record has the 1.04 remark layout. Saving never writes an
    // older version; when asked to, the record takes the older layout and a
    // text of two decimals ("1.00"), the only form the reader accepts for it.
    clsMapRem head;
    head.setAdmin(0);
    if (version >= kMapVersion104) {
        head.setComment(QStringLiteral("Map File Version ") + plat::FormatShortest(version / 100.0));
        head.WriteElm(out, kMapVersion104);
    } else {
        const int16_t v = std::max(version, kMapVersion100);
        head.setComment(QStringLiteral("Map File Version ") + QString::number(v / 100.0, 'f', 2));
        head.WriteElm(out, kMapVersion100);
    }
    const auto total = static_cast<int64_t>(figures_.size());
    for (int64_t i = 0; i < total; ++i) {
        RaiseProgress(i, total);
        figures_[static_cast<size_t>(i)]->WriteElm(out, version);
    }
}

int32_t clsMap::Load() {
    if (busy_) {
        MsgError(fileName_ + QStringLiteral("\r\nは読み書き中です. [Load]"));
        return plat::ErrFileAlreadyOpen;
    }
    if (!FileExists(fileName_)) {
        MsgError(fileName_ + QStringLiteral("\r\n地図図形ファイルが存在しません."));
        return plat::ErrFileNotFound;
    }
    eiUndo_ = false;
    eraseUndo();
    lockMode_ = false;
    figures_.clear();
    changes_ = 0;
    for (;;) {
        try {
            plat::ReentrancyGuard guard(busy_);
            // Decoded block by block as it is read: no buffer of the whole
            // file to allocate and fault in.
            plat::ReadOnlyFile file(fileName_);
            plat::BinaryReader in(file);
            try {
                ReadRecords(in, file.size());
            } catch (...) {
                // A read error anywhere in the file goes before a bad record.
                in.finish();
                throw;
            }
            in.finish();
            // Still busy: an edit made by the handler would get no undo
            // record and be marked unmodified below.
            lastPercent_ = 100;
            if (Progress) Progress(100);
            break;
        } catch (...) {
            const AppError e = plat::CurrentError();
            figures_.clear();
            changes_ = 0;
            eraseUndo();
            const int answer = ShowFileError(e, fileName_);
            if (answer == 0) continue;
            if (answer == 1) return e.number();
            RaiseError(e, ErrGeneral, kObject, QStringLiteral("Load"));
        }
    }
    lockMode_ = IsReadOnlyFile(fileName_, false);
    changes_ = 0;
    eiUndo_ = true;
    // Older files count texts in characters: a text of 16384 double-byte
    // characters or more reads fine but no version a save writes holds it.
    int32_t tooLong = 0;
    const int32_t first = FirstUnsavable(SaveVersion(), &tooLong);
    if (first)
        plat::MsgBox(fileName_ + QStringLiteral("\r\nこの地図には長すぎて保存できない文字列が %1 個あります (%2 ほか).\r\n"
                                                "保存するには, それぞれを %3 バイト以内に短くしてください.")
                                     .arg(tooLong)
                                     .arg(describeFigure(first, *figures_[first - 1]))
                                     .arg(kMaxRecordText),
                     plat::MbExclamation | plat::MbOkOnly);
    return 0;
}

int32_t clsMap::Save() {
    if (busy_) {
        MsgError(fileName_ + QStringLiteral("\r\nは読み書き中です. [Save]"));
        return plat::ErrFileAlreadyOpen;
    }
    for (;;) {
        try {
            return DoSave();
        } catch (...) {
            const AppError e = plat::CurrentError();
            const int answer = ShowFileError(e, fileName_);
            if (answer == 0) continue;
            if (answer == 1) return e.number();
            RaiseError(e, ErrGeneral, kObject, QStringLiteral("Save"));
        }
    }
}

int32_t clsMap::DoSave() {
    // An emptied map is written too, or its deleted figures come back.
    if (!Modify()) return 0;
    if (IsReadOnlyFile(fileName_, true)) {
        // Nothing was written: the map keeps its changes.
        eraseUndo();
        eiUndo_ = true;
        return plat::ErrPermissionDenied;
    }
    // A figure the reader would refuse makes the whole file unreadable.
    for (int32_t i = 1; i <= Count(); ++i) {
        if (!figures_[i - 1]->IsRight()) {
            MsgError(fileName_ + QStringLiteral("\r\n不正な図形があるため保存できません. (Line:%1, Figure:%2)")
                                     .arg(i)
                                     .arg(figures_[i - 1]->FigCode()));
            return ErrMapRecord;
        }
    }
    const int16_t version = PrepareSaveVersion();
    // A text too long for the version is refused here, naming the figure,
    // rather than failing the write with a bare overflow every time.
    if (const int32_t i = FirstUnsavable(version)) {
        MsgError(fileName_ + QStringLiteral("\r\n") + describeFigure(i, *figures_[i - 1]) +
                 QStringLiteral(" の文字列が長すぎて保存できません.\r\nこの文字列を %1 バイト以内に短くしてから保存してください.")
                     .arg(kMaxRecordText));
        return plat::ErrOverflow;
    }
    const QString backup = ChangeExt(fileName_, QStringLiteral(".M$$"));
    if (FileExists(fileName_)) plat::LinkOrCopyFile(fileName_, backup);
    eiUndo_ = false;
    setLastDate(plat::Now());
    {
        plat::ReentrancyGuard guard(busy_);
        plat::AtomicFileWriter file(fileName_);
        plat::BinaryWriter out(&file);
        WriteTo(out, version);
        out.flush();
        file.commit();
        // Still busy: an edit made now would be marked saved unwritten.
        lastPercent_ = 100;
        if (Progress) Progress(100);
    }
    version_ = version;
    setModify(false);
    eraseUndo();
    eiUndo_ = true;
    plat::RemoveFile(backup);
    return 0;
}
