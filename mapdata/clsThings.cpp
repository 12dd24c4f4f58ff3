#include "clsThings.h"

#include "AppError.h"
#include "CatalogText.h"
#include "ErrorMng.h"
#include "RuntimeMath.h"
#include "TextFile.h"
#include "basFileNames.h"
#include "basHAdmin.h"
#include "basHThing.h"
#include "basLibrary.h"

#include <algorithm>
#include <set>

namespace {
const QString kObject = QStringLiteral("clsThings");
const ThingPtr kNoThing;
} // namespace

clsThings::clsThings() : fileName_(GetDefaultTHG()) {}

bool clsThings::Refused(const QString& edit) const {
    if (!lockMode_) return false;
    MsgError(fileName_ + QStringLiteral("\r\nは変更禁止. [") + edit + QLatin1Char(']'));
    return true;
}

bool clsThings::Modify() const {
    if (!modify_) modify_ = std::any_of(things_.begin(), things_.end(), [](const ThingPtr& t) { return t->Modify(); });
    return modify_;
}

void clsThings::setModify(bool v) {
    modify_ = v;
    if (v) indexValid_ = false;
    else
        for (const ThingPtr& t : things_) t->setModify(false);
}

void clsThings::setFileName(const QString& path) {
    const QString name = ChangeExt(path, QStringLiteral(".THG"));
    if (name.compare(fileName_, Qt::CaseInsensitive) == 0) return;
    fileName_ = name;
    modify_ = true;
    setLockMode(false);
}

void clsThings::setLockMode(bool v) {
    if (v == lockMode_) return;
    lockMode_ = v;
    modify_ = true;
}

void clsThings::setComment(const QString& s) {
    if (Refused(QStringLiteral("Comment"))) return;
    comment_ = catalog::CleanComment(s);
    modify_ = true;
}

QString clsThings::CategoryName(int32_t c) const { return IsValidCategory(c) ? categories_[static_cast<size_t>(c)] : QString(); }

void clsThings::setCategoryName(int32_t c, const QString& s) {
    if (Refused(QStringLiteral("CategoryName"))) return;
    if (IsValidCategory(c)) categories_[static_cast<size_t>(c)] = catalog::CleanText(s);
    modify_ = true;
}

void clsThings::ClearAll() {
    if (Refused(QStringLiteral("ClearAll"))) return;
    things_.clear();
    keys_.clear();
    categories_.fill(QString());
    comment_.clear();
    index_.clear();
    indexValid_ = false;
    modify_ = false;
}

std::shared_ptr<clsThings> clsThings::Copy() const {
    try {
        auto c = std::make_shared<clsThings>();
        c->setFileName(fileName_);
        c->setComment(comment_);
        for (const ThingPtr& t : things_) c->Add(t->Copy());
        for (int32_t k = 1; k <= 20; ++k) c->setCategoryName(k, categories_[static_cast<size_t>(k)]);
        c->setModify(Modify());
        c->setLockMode(lockMode_);
        return c;
    } catch (...) {
        RaiseError(ErrGeneral, kObject, QStringLiteral("Copy"));
    }
}

const ThingPtr& clsThings::Item(int32_t n) const {
    if (!indexValid_) {
        index_.assign(1000, nullptr);
        for (const ThingPtr& t : things_)
            if (IsValidCode(t->Index())) index_[static_cast<size_t>(t->Index())] = t;
        indexValid_ = true;
    }
    return IsValidCode(n) ? index_[static_cast<size_t>(n)] : kNoThing;
}

void clsThings::Insert(const ThingPtr& thing) {
    const int16_t key = thing->Index();
    if (std::find(keys_.begin(), keys_.end(), key) != keys_.end())
        RaiseError(AppError(ErrGeneral, QString(), QStringLiteral("事象番号 %1 は既にあります.").arg(key)), ErrGeneral, kObject,
                   QStringLiteral("Add"));
    things_.push_back(thing);
    keys_.push_back(key);
    modify_ = true;
    indexValid_ = false;
}

bool clsThings::AddNumbered(const ThingPtr& thing) {
    if (thing->Index() == -1) {
        int32_t top = -1;
        for (const ThingPtr& t : things_) top = std::max<int32_t>(top, t->Index());
        thing->setIndex(top + 1);
    }
    if (!IsValidCode(thing->Index())) return false;
    Insert(thing);
    return true;
}

bool clsThings::Add(const ThingPtr& thing) {
    if (Refused(QStringLiteral("Add"))) return false;
    if (!thing) return false;
    return AddNumbered(thing);
}

bool clsThings::Remove(int32_t n) {
    if (Refused(QStringLiteral("Remove"))) return false;
    indexValid_ = false;
    const auto it = std::find(keys_.begin(), keys_.end(), n);
    if (it == keys_.end()) return false;
    const auto at = it - keys_.begin();
    keys_.erase(it);
    things_.erase(things_.begin() + at);
    modify_ = true;
    return true;
}

int16_t clsThings::Search(const QString& name) const {
    for (const ThingPtr& t : things_)
        if (t->Name().compare(name, Qt::CaseInsensitive) == 0) return t->Index();
    return -1;
}

void clsThings::ResetUse() {
    for (const ThingPtr& t : things_) t->setUse(false);
}

// --------------------------------------------------------------------- file

void clsThings::ReadFrom(plat::TextReader& in) {
    things_.clear();
    keys_.clear();
    categories_.fill(QString());
    comment_.clear();
    indexValid_ = false;
    // A section header that ended the section before it is read again.
    QString pending;
    bool havePending = false;
    while (havePending || !in.atEnd()) {
        const QString raw = havePending ? pending : in.readLine();
        havePending = false;
        const QString line = catalog::TrimBlanks(raw).toUpper();
        if (line == QLatin1String("[COMMENT]")) {
            comment_ = catalog::ReadComment(in);
        } else if (line == QLatin1String("[CATEGORY]")) {
            while (!in.atEnd()) {
                const QString l = in.readLine();
                if (l.isEmpty()) break;
                if (catalog::TrimBlanks(l).startsWith(QLatin1Char('['))) {
                    pending = l;
                    havePending = true;
                    break;
                }
                const QStringList f = catalog::SplitFields(l);
                if (f.size() != 2) continue;
                const double c = plat::RoundHalfEven(catalog::LeadingNumber(f[0]));
                if (c >= 1 && c <= 20) categories_[static_cast<size_t>(c)] = f[1];
            }
        } else if (line.startsWith(QLatin1String("[THING"))) {
            auto thing = std::make_shared<clsThing>();
            if (line.size() >= 7 && line[6] == QLatin1Char('='))
                thing->setIndex(plat::CInt(catalog::LeadingNumber(line.mid(7, std::max<qsizetype>(0, line.size() - 8)))));
            const QString ended = thing->ReadThing(in);
            AddNumbered(thing);
            thing->setModify(false);
            if (catalog::TrimBlanks(ended).startsWith(QLatin1Char('['))) {
                pending = ended;
                havePending = true;
            }
        } else if (line == QLatin1String("[LINK]") || line == QLatin1String("[NATION]")) {
            while (!in.atEnd())
                if (in.readLine().isEmpty()) break;
        }
    }
    modify_ = false;
}

void clsThings::WriteTo(plat::TextWriter& out) const {
    if (!comment_.isEmpty()) {
        out.print(QStringLiteral("[COMMENT]"));
        catalog::WriteComment(out, comment_);
        out.print(QString());
    }
    out.print(QStringLiteral("[CATEGORY]"));
    for (int32_t c = 1; c <= 20; ++c) {
        const QString& name = categories_[static_cast<size_t>(c)];
        if (!name.isEmpty()) out.print(QString::number(c) + QLatin1Char(',') + QuoteStr(name));
    }
    out.print(QString());
    for (const ThingPtr& t : things_) {
        if (t->Index() == -1) continue;
        out.print(QStringLiteral("[THING]"));
        t->WriteThing(out);
        out.print(QString());
    }
}

int32_t clsThings::Load() {
    if (!FileExists(fileName_)) {
        MsgError(QStringLiteral("事象ファイルが存在しません.\r\n") + fileName_);
        return plat::ErrFileNotFound;
    }
    for (;;) {
        try {
            return DoLoad();
        } catch (...) {
            const AppError e = plat::CurrentError();
            const int answer = ShowFileError(e, fileName_);
            if (answer == 0) continue;
            if (answer == 1) return e.number();
            RaiseError(e, ErrGeneral, kObject, QStringLiteral("Load"));
        }
    }
}

int32_t clsThings::DoLoad() {
    // Read aside first: a file that fails half-way leaves the catalogue as
    // it was, so that a later save cannot put a part of it over the file.
    plat::TextReader in(fileName_);
    clsThings fresh;
    fresh.ReadFrom(in);
    things_ = std::move(fresh.things_);
    keys_ = std::move(fresh.keys_);
    categories_ = std::move(fresh.categories_);
    comment_ = std::move(fresh.comment_);
    index_.clear();
    indexValid_ = false;
    modify_ = false;
    lockMode_ = IsReadOnlyFile(fileName_, false);
    return 0;
}

int32_t clsThings::Save() {
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

int32_t clsThings::DoSave() {
    if (!Modify()) return 0;
    if (IsReadOnlyFile(fileName_, true)) return plat::ErrPermissionDenied;
    // A number given twice (renumbered after it was added) would make the
    // file unreadable.
    std::set<int16_t> seen;
    for (const ThingPtr& t : things_) {
        if (t->Index() != -1 && !seen.insert(t->Index()).second) {
            MsgError(fileName_ + QStringLiteral("\r\n事象番号 %1 が重複しているため保存できません.").arg(t->Index()));
            return ErrGeneral;
        }
    }
    plat::TextWriter out(fileName_);
    WriteTo(out);
    out.commit();
    setModify(false);
    return 0;
}
