#include "clsThings.h"

#include "CatalogText.h"
#include "ErrorMng.h"
#include "RuntimeMath.h"
#include "TextFile.h"
#include "basFileNames.h"
#include "basHAdmin.h"
#include "basHThing.h"
#include "basLibrary.h"

namespace {
const QString kObject = QStringLiteral("clsThings");
const QString kTaken = QStringLiteral("事象番号 %1 は既にあります.");
} // namespace

clsThings::clsThings() : KeyedCatalog(kObject, QStringLiteral(".THG"), GetDefaultTHG()) {}

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
    ClearMembers();
    categories_.fill(QString());
    comment_.clear();
    modify_ = false;
}

std::shared_ptr<clsThings> clsThings::Copy() const {
    try {
        auto c = std::make_shared<clsThings>();
        c->setFileName(fileName_);
        c->setComment(comment_);
        for (const ThingPtr& t : members_) c->Add(t->Copy());
        for (int32_t k = 1; k <= 20; ++k) c->setCategoryName(k, categories_[static_cast<size_t>(k)]);
        c->setModify(Modify());
        c->setLockMode(lockMode_);
        return c;
    } catch (...) {
        RaiseError(ErrGeneral, kObject, QStringLiteral("Copy"));
    }
}

bool clsThings::AddNumbered(const ThingPtr& thing) {
    if (thing->Index() == -1) {
        int32_t top = -1;
        for (const ThingPtr& t : members_) top = std::max<int32_t>(top, t->Index());
        thing->setIndex(top + 1);
    }
    if (!IsValidCode(thing->Index())) return false;
    Insert(thing, kTaken);
    return true;
}

bool clsThings::Add(const ThingPtr& thing) {
    if (Refused(QStringLiteral("Add"))) return false;
    if (!thing) return false;
    return AddNumbered(thing);
}

int16_t clsThings::Search(const QString& name) const {
    for (const ThingPtr& t : members_)
        if (t->Name().compare(name, Qt::CaseInsensitive) == 0) return t->Index();
    return -1;
}

void clsThings::ResetUse() {
    for (const ThingPtr& t : members_) t->setUse(false);
}

// --------------------------------------------------------------------- file

void clsThings::ReadFrom(plat::TextReader& in) {
    ClearMembers();
    categories_.fill(QString());
    comment_.clear();
    sawSection_ = false;
    // A section header that ended the section before it is read again.
    QString pending;
    bool havePending = false;
    while (havePending || !in.atEnd()) {
        const QString raw = havePending ? pending : in.readLine();
        havePending = false;
        const QString line = catalog::TrimBlanks(raw).toUpper();
        if (line == QLatin1String("[COMMENT]") || line == QLatin1String("[CATEGORY]") ||
            line.startsWith(QLatin1String("[THING")) || line == QLatin1String("[LINK]") ||
            line == QLatin1String("[NATION]"))
            sawSection_ = true;
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
    for (const ThingPtr& t : members_) {
        if (t->Index() == -1) continue;
        out.print(QStringLiteral("[THING]"));
        t->WriteThing(out);
        out.print(QString());
    }
}

int32_t clsThings::Load() { return LoadWith(QStringLiteral("事象ファイルが存在しません."), [this] { return DoLoad(); }); }

int32_t clsThings::DoLoad() {
    // Read aside first: a file that fails half-way leaves the catalogue as
    // it was, so that a later save cannot put a part of it over the file.
    plat::TextReader in(fileName_, kMaxFileBytes);
    clsThings fresh;
    fresh.ReadFrom(in);
    if (!fresh.sawSection_) return NoEntry(QStringLiteral("事象ファイル"));
    TakeMembers(fresh);
    categories_ = std::move(fresh.categories_);
    comment_ = std::move(fresh.comment_);
    modify_ = false;
    lockMode_ = IsReadOnlyFile(fileName_, false);
    return 0;
}

int32_t clsThings::Save() {
    return SaveWith(QStringLiteral("事象番号 %1 が重複しているため保存できません."), [this](plat::TextWriter& out) { WriteTo(out); });
}
