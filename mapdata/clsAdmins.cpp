#include "clsAdmins.h"

#include "AppError.h"
#include "AppState.h"
#include "CatalogText.h"
#include "ErrorMng.h"
#include "RuntimeMath.h"
#include "TextFile.h"
#include "basFileNames.h"
#include "basHAdmin.h"
#include "basLibrary.h"

namespace {

const QString kObject = QStringLiteral("clsAdmins");
const QString kTaken = QStringLiteral("行政区コード %1 は既にあります.");

bool isSectionLine(const QString& line) {
    const QString u = line.toUpper();
    return u == QLatin1String("[COMMENT]") || u == QLatin1String("[AREA]") || u == QLatin1String("[ADMINISTRATION]");
}

// An area number; -1 for a field that is no number 0..19.
int32_t areaNumber(const QString& text) {
    double v;
    try {
        v = plat::RoundHalfEven(plat::CDbl(text));
    } catch (const AppError&) {
        return -1;
    }
    return v >= 0 && v <= 19 ? static_cast<int32_t>(v) : -1;
}

} // namespace

clsAdmins::clsAdmins() : KeyedCatalog(kObject, QStringLiteral(".ADM"), GetDefaultADM()) {}

void clsAdmins::setComment(const QString& s) {
    if (Refused(QStringLiteral("Comment"))) return;
    comment_ = catalog::CleanComment(s);
    modify_ = true;
}

QString clsAdmins::AreaName(int32_t area, int32_t language) const {
    if (!IsValidAreaCode(area)) return QString();
    if (language == 1) return europianArea_[static_cast<size_t>(area)];
    if (language == 2) return japaneseArea_[static_cast<size_t>(area)];
    return QString();
}

void clsAdmins::setAreaName(int32_t area, int32_t language, const QString& name) {
    if (Refused(QStringLiteral("AreaName"))) return;
    if (!IsValidAreaCode(area)) return;
    if (language == 1) europianArea_[static_cast<size_t>(area)] = catalog::CleanText(name);
    else if (language == 2) japaneseArea_[static_cast<size_t>(area)] = catalog::CleanText(name);
    modify_ = true;
}

void clsAdmins::ClearAll() {
    if (Refused(QStringLiteral("ClearAll"))) return;
    ClearMembers();
    europianArea_.fill(QString());
    japaneseArea_.fill(QString());
    comment_.clear();
    modify_ = false;
}

std::shared_ptr<clsAdmins> clsAdmins::Copy() const {
    try {
        auto c = std::make_shared<clsAdmins>();
        for (const AdminPtr& a : members_) c->Add(a->Copy());
        c->setComment(comment_);
        for (int32_t k = 0; k <= 19; ++k) {
            c->setAreaName(k, 1, europianArea_[static_cast<size_t>(k)]);
            c->setAreaName(k, 2, japaneseArea_[static_cast<size_t>(k)]);
        }
        c->setFileName(fileName_);
        c->setModify(Modify());
        c->setLockMode(lockMode_);
        return c;
    } catch (...) {
        RaiseError(ErrGeneral, kObject, QStringLiteral("Copy"));
    }
}

bool clsAdmins::Add(const AdminPtr& admin) {
    if (Refused(QStringLiteral("Add"))) return false;
    if (!admin || !IsValidCode(admin->AdminCode())) return false;
    Insert(admin, kTaken);
    return true;
}

int16_t clsAdmins::Search(const QString& name) const {
    // Compared in each language directly instead of switching the display
    // language, which nothing may see changed.
    const int32_t first = static_cast<int32_t>(gvLanguage);
    const int32_t second = first == 1 ? 2 : 1;
    for (int32_t lang : {first, second})
        for (const AdminPtr& a : members_)
            if (a->NameIn(lang).compare(name, Qt::CaseInsensitive) == 0) return a->AdminCode();
    return -1;
}

// --------------------------------------------------------------------- file

QList<qsizetype> clsAdmins::ReadFrom(plat::TextReader& in) {
    ClearMembers();
    europianArea_.fill(QString());
    japaneseArea_.fill(QString());
    comment_.clear();
    sawSection_ = false;
    QList<qsizetype> skipped;
    // A section header met inside a section ends it and is read again.
    QString pending;
    bool havePending = false;
    auto next = [&](QString& line) {
        if (havePending) {
            line = pending;
            havePending = false;
            return true;
        }
        if (in.atEnd()) return false;
        line = in.readLine();
        return true;
    };
    auto sectionEnds = [&](const QString& line) {
        if (!isSectionLine(line)) return false;
        pending = line;
        havePending = true;
        return true;
    };
    QString line;
    while (next(line)) {
        const QString upper = line.toUpper();
        if (isSectionLine(line)) sawSection_ = true;
        if (upper == QLatin1String("[COMMENT]")) {
            comment_ = catalog::ReadComment(in);
        } else if (upper == QLatin1String("[AREA]")) {
            while (!in.atEnd()) {
                const QString l = in.readLine();
                if (l.isEmpty() || sectionEnds(l)) break;
                const QStringList f = catalog::SplitFields(l);
                const int32_t area = f.size() == 3 ? areaNumber(f[0]) : -1;
                if (area < 0) {
                    skipped.append(in.lineNumber());
                    continue;
                }
                europianArea_[static_cast<size_t>(area)] = f[1];
                japaneseArea_[static_cast<size_t>(area)] = f[2];
            }
        } else if (upper == QLatin1String("[ADMINISTRATION]")) {
            while (!in.atEnd()) {
                const QString l = in.readLine();
                if (l.isEmpty()) continue;
                if (sectionEnds(l)) break;
                auto admin = std::make_shared<clsAdmin>();
                bool taken = false;
                try {
                    taken = admin->ReadAdmin(l) && IsValidCode(admin->AdminCode()) && !KeyTaken(admin->AdminCode());
                } catch (const AppError&) {
                    taken = false;
                }
                if (!taken) {
                    skipped.append(in.lineNumber());
                    continue;
                }
                Insert(admin, kTaken);
            }
        }
    }
    modify_ = false;
    return skipped;
}

void clsAdmins::WriteTo(plat::TextWriter& out) const {
    if (!comment_.isEmpty()) {
        out.print(QStringLiteral("[COMMENT]"));
        catalog::WriteComment(out, comment_);
        out.print(QString());
    }
    out.print(QStringLiteral("[AREA]"));
    for (size_t a = 0; a < europianArea_.size(); ++a) {
        if (europianArea_[a].isEmpty() && japaneseArea_[a].isEmpty()) continue;
        out.print(QString::number(a) + QLatin1Char(',') + QuoteStr(europianArea_[a]) + QLatin1Char(',') +
                  QuoteStr(japaneseArea_[a]));
    }
    out.print(QString());
    out.print(QStringLiteral("[ADMINISTRATION]"));
    for (const AdminPtr& a : members_) a->WriteAdmin(out);
}

int32_t clsAdmins::Load() { return LoadWith(QStringLiteral("行政区ファイルが存在しません."), [this] { return DoLoad(); }); }

int32_t clsAdmins::DoLoad() {
    // Read aside first: a file that fails half-way leaves the catalogue as it was.
    plat::TextReader in(fileName_, kMaxFileBytes);
    clsAdmins fresh;
    const QList<qsizetype> skipped = fresh.ReadFrom(in);
    if (!fresh.sawSection_) return NoEntry(QStringLiteral("行政区ファイル"));
    TakeMembers(fresh);
    europianArea_ = std::move(fresh.europianArea_);
    japaneseArea_ = std::move(fresh.japaneseArea_);
    comment_ = std::move(fresh.comment_);
    modify_ = false;
    lockMode_ = IsReadOnlyFile(fileName_, false);
    if (!skipped.isEmpty()) {
        QStringList numbers;
        for (qsizetype i = 0; i < skipped.size() && i < 20; ++i) numbers.append(QString::number(skipped[i]));
        if (skipped.size() > 20) numbers.append(QStringLiteral("..."));
        MsgError(fileName_ + QStringLiteral("\r\n読み取れない行を読み飛ばしました. (行: ") + numbers.join(QStringLiteral(", ")) +
                 QLatin1Char(')'));
    }
    return 0;
}

int32_t clsAdmins::Save() {
    return SaveWith(QStringLiteral("行政区コード %1 が重複しているため保存できません."), [this](plat::TextWriter& out) { WriteTo(out); });
}
