#include "clsAdmin.h"

#include "AppState.h"
#include "CatalogText.h"
#include "ErrorMng.h"
#include "RuntimeMath.h"
#include "TextFile.h"
#include "basHAdmin.h"
#include "basHThing.h"
#include "basLibrary.h"

namespace {
const QString kObject = QStringLiteral("clsAdmin");

int16_t fieldInt(const QString& text) { return plat::CInt(plat::CDbl(text)); }
} // namespace

QString clsAdmin::AdminName() const { return NameIn(static_cast<int32_t>(gvLanguage)); }

void clsAdmin::setAdminCode(int32_t v) {
    if (!IsValidCode(v)) return;
    adminCode_ = static_cast<int16_t>(v);
    modify_ = true;
}

void clsAdmin::setAreaCode(int32_t v) {
    if (!IsValidAreaCode(v)) return;
    areaCode_ = static_cast<int16_t>(v);
    modify_ = true;
}

void clsAdmin::setAdminName(const QString& v) {
    if (gvLanguage == 1) europianName_ = catalog::CleanText(v);
    else if (gvLanguage == 2) japaneseName_ = catalog::CleanText(v);
    modify_ = true;
}

void clsAdmin::setEuropianName(const QString& v) {
    europianName_ = catalog::CleanText(v);
    modify_ = true;
}

void clsAdmin::setJapaneseName(const QString& v) {
    japaneseName_ = catalog::CleanText(v);
    modify_ = true;
}

QString clsAdmin::NameIn(int32_t language) const {
    if (language == 1) return europianName_;
    if (language == 2) return japaneseName_;
    return QString();
}

void clsAdmin::setPage(int32_t v) {
    if (v == page_ || !IsValidPage(v)) return;
    page_ = static_cast<int16_t>(v);
    modify_ = true;
}

void clsAdmin::setShow(bool v) {
    show_ = v;
    modify_ = true;
}

void clsAdmin::setSearch(bool v) {
    search_ = v;
    modify_ = true;
}

void clsAdmin::Clear() {
    adminCode_ = -1;
    areaCode_ = -1;
    page_ = 1;
    europianName_.clear();
    japaneseName_.clear();
    show_ = true;
    search_ = true;
    modify_ = false;
}

std::shared_ptr<clsAdmin> clsAdmin::Copy() const {
    auto c = std::make_shared<clsAdmin>();
    c->setAdminCode(adminCode_);
    c->setAreaCode(areaCode_);
    c->setPage(page_);
    c->setEuropianName(europianName_);
    c->setJapaneseName(japaneseName_);
    c->setShow(show_);
    c->setSearch(search_);
    return c;
}

bool clsAdmin::ReadAdmin(const QString& line) {
    try {
        const QStringList f = catalog::SplitFields(line);
        switch (f.size()) {
        case 4:
            setAdminCode(fieldInt(f[0]));
            setAreaCode(fieldInt(f[1]));
            europianName_ = f[2];
            japaneseName_ = f[3];
            setPage(1);
            break;
        case 5:
            setAdminCode(fieldInt(f[0]));
            setAreaCode(fieldInt(f[1]));
            setPage(fieldInt(f[2]));
            europianName_ = f[3];
            japaneseName_ = f[4];
            break;
        case 7:
            setAdminCode(fieldInt(f[0]));
            setAreaCode(fieldInt(f[1]));
            setPage(fieldInt(f[2]));
            setShow(f[3] == QLatin1String("1"));
            setSearch(f[4] == QLatin1String("1"));
            europianName_ = f[5];
            japaneseName_ = f[6];
            break;
        default:
            return false;
        }
        modify_ = false;
        return true;
    } catch (...) {
        RaiseError(ErrGeneral, kObject, QStringLiteral("ReadAdmin"));
    }
}

void clsAdmin::WriteAdmin(plat::TextWriter& out) const {
    if (adminCode_ == -1) return;
    out.print(QStringLiteral("%1,%2,%3,%4,%5,")
                  .arg(adminCode_, 3, 10, QLatin1Char('0'))
                  .arg(areaCode_)
                  .arg(page_)
                  .arg(show_ ? 1 : 0)
                  .arg(search_ ? 1 : 0) +
              QuoteStr(europianName_) + QLatin1Char(',') + QuoteStr(japaneseName_));
}
