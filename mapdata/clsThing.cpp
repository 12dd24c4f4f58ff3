#include "clsThing.h"

#include "AppState.h"
#include "CatalogText.h"
#include "ErrorMng.h"
#include "RuntimeMath.h"
#include "TextFile.h"
#include "basGlobe.h"
#include "basHAdmin.h"
#include "basHMap.h"
#include "basHThing.h"
#include "basLibrary.h"

namespace {

const QString kObject = QStringLiteral("clsThing");

bool styleFits(int16_t figure, int32_t v) {
    switch (figure) {
    case 2: return InRange(v, 0, 5) || InRange(v, 102, 145);
    case 3: return InRange(v, 0, 8) || InRange(v, 100, 131);
    case 4: return InRange(v, 0, 47);
    case 5: return InRange(v, 0, 31);
    default: return false;
    }
}

// SMALL and LARGE: a number up to 41 is a level of the old 41-level ladder.
double scaleFromFile(const QString& text) {
    double v = catalog::LeadingNumber(text);
    if (v <= 41) {
        const double r = plat::RoundHalfEven(v);
        v = r >= 1 && r <= 41 ? ScaleOfLevel10(static_cast<int16_t>(r)) : 0;
    }
    return LimitMapScale(v);
}

// LEVEL of the oldest files: a small-scale end from a fixed table.
double scaleOfOldLevel(const QString& text) {
    static const double table[] = {100000, 1500000, 3000000, 8000000, 15000000, 30000000, 80000000, 150000000, 300000000};
    const double r = plat::RoundHalfEven(catalog::LeadingNumber(text));
    return r >= 0 && r <= 8 ? table[static_cast<int>(r)] : 1000000000.0;
}

// A text height from a file is brought into the range the drawing layer
// draws, so that no size in a catalogue can fail the catalogue or a font.
int16_t fontHeightFromFile(double v) {
    if (!(v >= FONT_HEIGHT_MIN)) return FONT_HEIGHT_MIN;   // also not a number
    if (v >= FONT_HEIGHT_MAX) return FONT_HEIGHT_MAX;
    return static_cast<int16_t>(plat::RoundHalfEven(v));
}

QString colorText(int32_t v) {
    return QStringLiteral("&H") + QStringLiteral("%1").arg(static_cast<uint32_t>(v), 8, 16, QLatin1Char('0')).toUpper() +
           QLatin1Char('&');
}

} // namespace

ThingPage ThingPage::Default() {
    ThingPage p;
    p.ScaleS = MapScaleMax;
    p.ScaleL = MapScaleMin;
    return p;
}

clsThing::clsThing() { Clear(); }

void clsThing::setPage(int32_t v) {
    if (IsValidPage(v < 0 ? -v : v)) page_ = static_cast<int16_t>(v);
}

void clsThing::setIndex(int32_t v) {
    if (!IsValidCode(v)) return;
    index_ = static_cast<int16_t>(v);
    modify_ = true;
}

void clsThing::setFigure(int32_t v) {
    if (!IsValidFigCode(v)) return;
    figure_ = static_cast<int16_t>(v);
    modify_ = true;
}

void clsThing::setName(const QString& v) {
    name_ = catalog::CleanText(v);
    modify_ = true;
}

void clsThing::setCategory(int32_t v) {
    if (!IsValidCategory(v)) return;
    category_ = static_cast<int16_t>(v);
    modify_ = true;
}

void clsThing::setShowMode(int32_t v) {
    cur().ShowMode = static_cast<int16_t>(IsValidShowMode(v) ? v : -1);
    modify_ = true;
}

void clsThing::setScaleS(double v) {
    if (!IsMapScale(v)) return;
    cur().ScaleS = v;
    modify_ = true;
}

void clsThing::setScaleL(double v) {
    if (!IsMapScale(v)) return;
    cur().ScaleL = v;
    modify_ = true;
}

void clsThing::setFore(int32_t v) {
    cur().Fore = v;
    modify_ = true;
}

void clsThing::setBack(int32_t v) {
    cur().Back = v;
    modify_ = true;
}

void clsThing::setStyle(int32_t v) {
    if (!styleFits(figure_, v)) return;
    cur().Style = static_cast<int16_t>(v);
    modify_ = true;
}

void clsThing::setSize(int32_t v) {
    if (figure_ == 2 ? !InRange(v, LINE_WIDTH_MIN, LINE_WIDTH_MAX)
                     : (figure_ != 5 || !InRange(v, FONT_HEIGHT_MIN, FONT_HEIGHT_MAX)))
        return;
    cur().Size = static_cast<int16_t>(v);
    modify_ = true;
}

void clsThing::setEuropian(const QString& v) {
    cur().Europian = catalog::CleanText(v);
    modify_ = true;
}

void clsThing::setJapanese(const QString& v) {
    cur().Japanese = catalog::CleanText(v);
    modify_ = true;
}

QString clsThing::FontName() const {
    if (gvLanguage == 1) return cur().Europian;
    if (gvLanguage == 2) return cur().Japanese;
    return QString();
}

void clsThing::setFontName(const QString& v) {
    if (gvLanguage == 1) cur().Europian = catalog::CleanText(v);
    else if (gvLanguage == 2) cur().Japanese = catalog::CleanText(v);
    modify_ = true;
}

bool clsThing::IsSameAllPage() const {
    for (int p = 2; p <= 8; ++p)
        if (!(page(p) == page(1))) return false;
    return true;
}

bool clsThing::IsPrint(double scale) const {
    const ThingPage& p = cur();
    if (p.ShowMode == 1) return true;
    if (p.ShowMode == 0) return false;
    return p.ScaleL <= scale && scale <= p.ScaleS;
}

void clsThing::Clear() {
    index_ = -1;
    name_.clear();
    figure_ = 0;
    category_ = -1;
    modify_ = false;
    pages_.fill(ThingPage::Default());
    page_ = 1;
}

std::shared_ptr<clsThing> clsThing::Copy() const {
    try {
        auto c = std::make_shared<clsThing>();
        c->setIndex(index_);
        c->setName(name_);
        c->setFigure(figure_);
        c->setCategory(category_);
        c->setUse(use_);
        for (int p = -8; p <= 8; ++p) {
            if (p == 0) continue;
            const ThingPage& s = page(p);
            c->setPage(p);
            c->setShowMode(s.ShowMode);
            c->setScaleS(s.ScaleS);
            c->setScaleL(s.ScaleL);
            c->setFore(s.Fore);
            c->setBack(s.Back);
            c->setStyle(s.Style);
            c->setSize(s.Size);
            c->setEuropian(s.Europian);
            c->setJapanese(s.Japanese);
        }
        c->setPage(page_);
        c->setModify(modify_);
        return c;
    } catch (...) {
        RaiseError(ErrGeneral, kObject, QStringLiteral("Copy"));
    }
}

bool clsThing::Recovery(int32_t p) {
    if (!IsValidPage(p)) return false;
    page(p) = page(-p);
    return true;
}

void clsThing::RecoveryAll() {
    for (int p = 1; p <= 8; ++p) page(p) = page(-p);
    modify_ = false;
}

void clsThing::SameOne() {
    for (int p = 2; p <= 8; ++p) page(p) = page(1);
    modify_ = true;
}

void clsThing::CopyPage(int32_t src, int32_t dst) {
    if (!IsValidPage(src < 0 ? -src : src) || !IsValidPage(dst < 0 ? -dst : dst)) return;
    page(dst) = page(src);
    modify_ = true;
}

QString clsThing::ReadThing(plat::TextReader& in) {
    try {
        QString ended;
        while (!in.atEnd()) {
            const QString line = in.readLine();
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            // A section header ends the thing even when it carries a number.
            if (eq < 0 || catalog::TrimBlanks(line).startsWith(QLatin1Char('['))) {
                ended = line;
                break;
            }
            const QString key = line.left(eq).toUpper();
            const QStringList list = catalog::SplitFields(line.mid(eq + 1));
            // A key without a value: texts become empty, numbers keep theirs.
            const bool noValue = list.size() == 1 && list[0].isEmpty();
            auto perPage = [&](auto set) {
                for (int p = 1; p <= 8; ++p) set(page(-p), p <= list.size() ? list[p - 1] : list.back());
            };
            auto number = [](const QString& s) { return catalog::LeadingNumber(s); };
            if (key == QLatin1String("NUMBER")) {
                if (!noValue) setIndex(plat::CInt(number(list[0])));
            } else if (key == QLatin1String("FIGURE")) {
                const QString word = list[0].toUpper();
                for (int16_t code = 1; code <= 5; ++code)
                    if (word == FigCodeToName(code, 1)) figure_ = code;
            } else if (key == QLatin1String("NAME")) {
                name_ = list[0];
            } else if (key == QLatin1String("CATEGORY")) {
                if (!noValue) setCategory(plat::CInt(number(list[0])));
            } else if (key == QLatin1String("SHOW")) {
                if (!noValue)
                    perPage([&](ThingPage& pg, const QString& s) {
                        const double r = plat::RoundHalfEven(number(s));
                        pg.ShowMode = static_cast<int16_t>(r == 1 || r == 0 ? r : -1);
                    });
            } else if (key == QLatin1String("SMALL")) {
                if (!noValue) perPage([](ThingPage& pg, const QString& s) { pg.ScaleS = scaleFromFile(s); });
            } else if (key == QLatin1String("LARGE")) {
                if (!noValue) perPage([](ThingPage& pg, const QString& s) { pg.ScaleL = scaleFromFile(s); });
            } else if (key == QLatin1String("FORE")) {
                if (!noValue) perPage([&](ThingPage& pg, const QString& s) { pg.Fore = plat::CLng(number(s)); });
            } else if (key == QLatin1String("BACK")) {
                if (!noValue) perPage([&](ThingPage& pg, const QString& s) { pg.Back = plat::CLng(number(s)); });
            } else if (key == QLatin1String("STYLE")) {
                if (!noValue) perPage([&](ThingPage& pg, const QString& s) { pg.Style = plat::CInt(number(s)); });
            } else if (key == QLatin1String("WIDTH") || key == QLatin1String("HEIGHT")) {
                // HEIGHT is the text key; a kind not known yet is taken as its.
                const bool text = figure_ == 5 || (figure_ != 2 && key == QLatin1String("HEIGHT"));
                if (!noValue)
                    perPage([&](ThingPage& pg, const QString& s) {
                        pg.Size = text ? fontHeightFromFile(number(s)) : plat::CInt(number(s));
                    });
            } else if (key == QLatin1String("EUROPIAN")) {
                perPage([](ThingPage& pg, const QString& s) { pg.Europian = s; });
            } else if (key == QLatin1String("JAPANESE")) {
                perPage([](ThingPage& pg, const QString& s) { pg.Japanese = s; });
            } else if (key == QLatin1String("LEVEL")) {
                // Kept within the allowed scales, as SMALL is, so that it reads
                // back the same once written as SMALL.
                if (!noValue)
                    perPage([](ThingPage& pg, const QString& s) {
                        pg.ScaleS = LimitMapScale(scaleOfOldLevel(s));
                        pg.ScaleL = MapScaleMin;
                    });
            }
        }
        // A text size read before the kind was known, or left at its default.
        if (figure_ == 5)
            for (int p = 1; p <= 8; ++p) page(-p).Size = fontHeightFromFile(page(-p).Size);
        RecoveryAll();
        page_ = 1;
        modify_ = false;
        return ended;
    } catch (...) {
        RaiseError(ErrGeneral, kObject, QStringLiteral("ReadThing"));
    }
}

void clsThing::WriteThing(plat::TextWriter& out) const {
    if (index_ == -1) return;
    try {
        out.print(QStringLiteral("NUMBER=") + QString::number(index_));
        out.print(QStringLiteral("FIGURE=") + FigCodeToName(figure_, 1));
        out.print(QStringLiteral("NAME=") + QuoteStr(name_));
        out.print(QStringLiteral("CATEGORY=") + QString::number(category_));
        if (figure_ == 1) return;
        const bool same = IsSameAllPage();
        auto perPage = [&](const QString& key, auto text) {
            QString s = key + QLatin1Char('=') + text(page(1));
            if (!same)
                for (int p = 2; p <= 8; ++p) s += QLatin1Char(',') + text(page(p));
            out.print(s);
        };
        perPage(QStringLiteral("SHOW"), [](const ThingPage& p) { return QString::number(p.ShowMode); });
        perPage(QStringLiteral("SMALL"), [](const ThingPage& p) { return catalog::NumberText(p.ScaleS); });
        perPage(QStringLiteral("LARGE"), [](const ThingPage& p) { return catalog::NumberText(p.ScaleL); });
        perPage(QStringLiteral("FORE"), [](const ThingPage& p) { return colorText(p.Fore); });
        perPage(QStringLiteral("BACK"), [](const ThingPage& p) { return colorText(p.Back); });
        perPage(QStringLiteral("STYLE"), [](const ThingPage& p) { return QString::number(p.Style); });
        auto size = [](const ThingPage& p) { return QString::number(p.Size); };
        if (figure_ == 2) perPage(QStringLiteral("WIDTH"), size);
        if (figure_ == 5) {
            perPage(QStringLiteral("HEIGHT"), size);
            perPage(QStringLiteral("EUROPIAN"), [](const ThingPage& p) { return QuoteStr(p.Europian); });
            perPage(QStringLiteral("JAPANESE"), [](const ThingPage& p) { return QuoteStr(p.Japanese); });
        }
    } catch (...) {
        RaiseError(ErrGeneral, kObject, QStringLiteral("WriteThing"));
    }
}
