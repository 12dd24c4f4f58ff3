// What the thing and district catalogues share: members in insertion order,
// keyed by the number (0..999) they had when added; a lookup table by their
// current number, rebuilt on the first lookup after a change of membership;
// the file name with the catalogue's extension; the lock of a read-only file,
// which refuses every edit with "<file>\r\nは変更禁止. [<edit>]"; and the
// modified flag, which any member's flag sets.
#pragma once

#include <QString>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "AppError.h"
#include "ErrorMng.h"
#include "TextFile.h"
#include "basHAdmin.h"
#include "basLibrary.h"

template <class Member, int16_t (Member::*Key)() const>
class KeyedCatalog {
public:
    using Ptr = std::shared_ptr<Member>;

    // The largest file a catalogue reads. A thousand members of the longest
    // form the program writes stay below 2 MiB; the rest is room for long
    // comments and names.
    static constexpr int64_t kMaxFileBytes = int64_t(16) << 20;

    // The catalogue's own flag, set for good once a member reports modified.
    bool Modify() const {
        if (!modify_)
            modify_ = std::any_of(members_.begin(), members_.end(), [](const Ptr& m) { return m->Modify(); });
        return modify_;
    }
    // False also clears every member's flag; True also invalidates the table.
    void setModify(bool v) {
        modify_ = v;
        if (v) indexValid_ = false;
        else
            for (const Ptr& m : members_) m->setModify(false);
    }
    const QString& FileName() const { return fileName_; }
    // The catalogue's extension is put on; a name that differs but for case
    // marks the catalogue modified and lifts the lock.
    void setFileName(const QString& path) {
        const QString name = ChangeExt(path, extension_);
        if (name.compare(fileName_, Qt::CaseInsensitive) == 0) return;
        fileName_ = name;
        modify_ = true;
        setLockMode(false);
    }
    bool LockMode() const { return lockMode_; }
    void setLockMode(bool v) {
        if (v == lockMode_) return;
        lockMode_ = v;
        modify_ = true;
    }
    int32_t Count() const { return static_cast<int32_t>(members_.size()); }
    typename std::vector<Ptr>::const_iterator begin() const { return members_.begin(); }
    typename std::vector<Ptr>::const_iterator end() const { return members_.end(); }

    // The member whose number is n (0..999), or none.
    const Ptr& Item(int32_t n) const {
        static const Ptr none;
        if (!indexValid_) {
            index_.assign(1000, nullptr);
            for (const Ptr& m : members_)
                if (IsValidCode(((*m).*Key)())) index_[static_cast<size_t>(((*m).*Key)())] = m;
            indexValid_ = true;
        }
        return IsValidCode(n) ? index_[static_cast<size_t>(n)] : none;
    }
    // The member added under n; False when there is none.
    bool Remove(int32_t n) {
        if (Refused(QStringLiteral("Remove"))) return false;
        indexValid_ = false;
        const auto it = std::find(keys_.begin(), keys_.end(), n);
        if (it == keys_.end()) return false;
        members_.erase(members_.begin() + (it - keys_.begin()));
        keys_.erase(it);
        modify_ = true;
        return true;
    }

protected:
    KeyedCatalog(QString object, QString extension, QString fileName)
        : object_(std::move(object)), extension_(std::move(extension)), fileName_(std::move(fileName)) {}

    bool Refused(const QString& edit) const {
        if (!lockMode_) return false;
        MsgError(fileName_ + QStringLiteral("\r\nは変更禁止. [") + edit + QLatin1Char(']'));
        return true;
    }
    bool KeyTaken(int32_t n) const { return std::find(keys_.begin(), keys_.end(), n) != keys_.end(); }
    // Appends under the member's number; a number already taken raises
    // 0x800403E9 from "Add" with `takenText` (%1 the number).
    void Insert(const Ptr& m, const QString& takenText) {
        const int16_t key = ((*m).*Key)();
        if (KeyTaken(key))
            RaiseError(AppError(ErrGeneral, QString(), takenText.arg(key)), ErrGeneral, object_, QStringLiteral("Add"));
        members_.push_back(m);
        keys_.push_back(key);
        modify_ = true;
        indexValid_ = false;
    }
    void ClearMembers() {
        members_.clear();
        keys_.clear();
        index_.clear();
        indexValid_ = false;
    }
    void TakeMembers(KeyedCatalog& from) {
        members_ = std::move(from.members_);
        keys_ = std::move(from.keys_);
        index_.clear();
        indexValid_ = false;
    }
    // Members renumbered onto one number after they were added would make a
    // file that does not read back: refused with `message` (%1 the number).
    bool RefusedTwice(const QString& message) const {
        std::set<int16_t> seen;
        for (const Ptr& m : members_) {
            const int16_t n = ((*m).*Key)();
            if (n != -1 && !seen.insert(n).second) {
                MsgError(fileName_ + QStringLiteral("\r\n") + message.arg(n));
                return true;
            }
        }
        return false;
    }
    // Load: 53 with `missingText` and the file name when the file does not
    // exist; else `read` under FileOperation, which gives 7 with a message
    // for a file over kMaxFileBytes.
    int32_t LoadWith(const QString& missingText, const std::function<int32_t()>& read) {
        if (!FileExists(fileName_)) {
            MsgError(missingText + QStringLiteral("\r\n") + fileName_);
            return plat::ErrFileNotFound;
        }
        return FileOperation(QStringLiteral("Load"), [&] {
            try {
                return read();
            } catch (const AppError& e) {
                if (e.number() != plat::ErrOutOfMemory) throw;
            }
            MsgError(fileName_ + QStringLiteral("\r\nは大きすぎるので読み込みません. (上限 16 MiB)"));
            return int32_t{plat::ErrOutOfMemory};
        });
    }
    // The end of a load that met no section of the format: 13 with a
    // message naming the file and `what` the file should have held.
    int32_t NoEntry(const QString& what) const {
        MsgError(fileName_ + QStringLiteral("\r\nには") + what + QStringLiteral("の項目がひとつもありません."));
        return plat::ErrTypeMismatch;
    }
    // Save: nothing when unmodified, 70 for a read-only file, 0x800403E9
    // for numbers given twice (`twiceText`, %1 the number); else the text
    // that `write` makes replaces the file as a whole, under FileOperation.
    int32_t SaveWith(const QString& twiceText, const std::function<void(plat::TextWriter&)>& write) {
        return FileOperation(QStringLiteral("Save"), [&] {
            if (!Modify()) return int32_t{0};
            if (IsReadOnlyFile(fileName_, true)) return int32_t{plat::ErrPermissionDenied};
            if (RefusedTwice(twiceText)) return ErrGeneral;
            plat::TextWriter out(fileName_);
            write(out);
            out.commit();
            setModify(false);
            return int32_t{0};
        });
    }
    // A file error offers the file-error box; retry runs the operation
    // again, skip returns the error's number, anything else passes the error
    // on from `procedure`.
    int32_t FileOperation(const QString& procedure, const std::function<int32_t()>& op) {
        for (;;) {
            try {
                return op();
            } catch (...) {
                const AppError e = plat::CurrentError();
                const int answer = ShowFileError(e, fileName_);
                if (answer == 0) continue;
                if (answer == 1) return e.number();
                RaiseError(e, ErrGeneral, object_, procedure);
            }
        }
    }

    QString object_;
    QString extension_;
    QString fileName_;
    bool lockMode_ = false;
    mutable bool modify_ = false;
    bool sawSection_ = false;   // the last ReadFrom met a section of the format
    std::vector<Ptr> members_;

private:
    std::vector<int16_t> keys_;           // the number each member was added under
    mutable std::vector<Ptr> index_;
    mutable bool indexValid_ = false;
};
