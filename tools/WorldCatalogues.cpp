#include "WorldCatalogues.h"

#include "Continents.h"

#include "basGlobe.h"
#include "clsAdmins.h"
#include "clsThings.h"

#include <set>

namespace worldsrc {

namespace {

[[noreturn]] void Refused(const QString& what) { throw WorldSourceError(what.toStdString()); }

QString Lines(const char* utf8) { return QString::fromUtf8(utf8).replace(QLatin1Char('\n'), QStringLiteral("\r\n")); }

// The values a page should hold, as the thing's setters must have stored them.
ThingPage Wanted(const ThingStyle& t, int32_t fore) {
    ThingPage p = ThingPage::Default();
    p.ShowMode = -1;
    if (t.smallest > 0) p.ScaleS = t.smallest;
    if (t.largest > 0) p.ScaleL = t.largest;
    p.Fore = fore;
    p.Back = t.back;
    p.Style = t.style;
    p.Size = t.size;
    return p;
}

} // namespace

void FillThings(clsThings& things, const CatalogueStyle& style) {
    things.setComment(Lines(style.comment));
    for (const CategoryStyle& c : style.categories) things.setCategoryName(c.number, QString::fromUtf8(c.name));
    for (const ThingStyle& t : style.things) {
        const QString name = QString::fromUtf8(t.name);
        auto thing = std::make_shared<clsThing>();
        thing->setIndex(t.number);
        thing->setName(name);
        thing->setFigure(t.figure);
        thing->setCategory(t.category);
        for (int16_t page = 1; page <= 8; ++page) {
            const ThingPage want =
                Wanted(t, t.number == style.pagedLand ? LandPageColours()[size_t(page - 1)] : t.fore);
            thing->setPage(page);
            thing->setShowMode(want.ShowMode);
            thing->setScaleS(want.ScaleS);
            thing->setScaleL(want.ScaleL);
            thing->setFore(want.Fore);
            thing->setBack(want.Back);
            if (t.figure != FigRem) thing->setStyle(want.Style);
            if (t.figure == FigPolyline || t.figure == FigText) thing->setSize(want.Size);
            if (!(thing->PageRecord(page) == want)) Refused(QStringLiteral("thing %1 (%2) refused a value of page %3").arg(t.number).arg(name).arg(page));
        }
        thing->setPage(1);
        if (thing->Index() != t.number || thing->Name() != name || thing->Figure() != t.figure || thing->Category() != t.category)
            Refused(QStringLiteral("thing %1 (%2) refused its number, name, kind or category").arg(t.number).arg(name));
        if (!things.Add(thing)) Refused(QStringLiteral("the catalogue refused thing %1 (%2)").arg(t.number).arg(name));
    }
}

void FillAdmins(clsAdmins& admins, const std::vector<District>& districts, const QString& comment) {
    admins.setComment(QString(comment).replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
    std::set<int16_t> areas;
    for (const District& d : districts) areas.insert(d.area);
    for (const AreaName& a : AreaNames()) {
        if (!areas.count(a.area)) continue;
        admins.setAreaName(a.area, 1, QString::fromUtf8(a.english));
        admins.setAreaName(a.area, 2, QString::fromUtf8(a.japanese));
    }
    for (const District& d : districts) {
        auto admin = std::make_shared<clsAdmin>();
        admin->setAdminCode(d.code);
        admin->setAreaCode(d.area);
        admin->setPage(d.page);
        admin->setEuropianName(d.european);
        admin->setJapaneseName(d.japanese);
        admin->setShow(true);
        admin->setSearch(true);
        if (admin->AdminCode() != d.code || admin->AreaCode() != d.area || admin->Page() != d.page ||
            admin->EuropianName() != d.european || admin->JapaneseName() != d.japanese || !admins.Add(admin))
            Refused(QStringLiteral("the catalogue refused district %1 (%2)").arg(d.code).arg(d.european));
    }
}

} // namespace worldsrc
