#include "Fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QSet>

#include <cmath>

namespace plat {

namespace {

struct Substitute {
    const char* face;
    const char* candidates[5];
};

// Japanese faces go to Noto Sans CJK JP; Latin faces to metric-compatible
// families where installed (Liberation and the URW fonts share the widths
// of the faces they replace).
const Substitute kSubstitutes[] = {
    {"ＭＳ Ｐゴシック", {"Noto Sans CJK JP", "IPAPGothic", "Noto Sans", nullptr, nullptr}},
    {"ＭＳ ゴシック", {"Noto Sans Mono CJK JP", "Noto Sans CJK JP", "IPAGothic", nullptr, nullptr}},
    {"ＭＳ Ｐ明朝", {"Noto Serif CJK JP", "Noto Sans CJK JP", "IPAPMincho", nullptr, nullptr}},
    {"ＭＳ 明朝", {"Noto Serif CJK JP", "Noto Sans Mono CJK JP", "IPAMincho", nullptr, nullptr}},
    {"ＭＳ ＵＩ ゴシック", {"Noto Sans CJK JP", "IPAPGothic", nullptr, nullptr, nullptr}},
    {"メイリオ", {"Noto Sans CJK JP", "IPAPGothic", "Noto Sans", nullptr, nullptr}},
    {"Arial", {"Liberation Sans", "Arimo", "Nimbus Sans", "DejaVu Sans", nullptr}},
    {"Times New Roman", {"Liberation Serif", "Tinos", "Nimbus Roman", "DejaVu Serif", nullptr}},
    {"Courier New", {"Liberation Mono", "Cousine", "Nimbus Mono PS", "DejaVu Sans Mono", nullptr}},
    {"System", {"Noto Sans CJK JP", "DejaVu Sans", nullptr, nullptr, nullptr}},
};

bool haveGui() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

const QStringList& families() {
    static QStringList fams;
    static bool loaded = false;
    if (!loaded && haveGui()) {
        QSet<QString> seen;
        for (const QString& listed : QFontDatabase::families()) {
            const QString family = FontFamilyName(listed);
            if (!seen.contains(family)) {
                seen.insert(family);
                fams.append(family);
            }
        }
        loaded = true;
    }
    return fams;
}

// Em height per cell height (ascent + descent) of a family.
double emPerCell(const QString& family) {
    static QHash<QString, double> cache;
    auto it = cache.find(family);
    if (it != cache.end()) return *it;
    QFont f(family);
    f.setPixelSize(100);
    QFontMetricsF fm(f);
    const double cell = fm.ascent() + fm.descent();
    const double r = cell > 1 ? 100.0 / cell : 1.0;
    cache.insert(family, r);
    return r;
}

} // namespace

QString ResolveFontFamily(const QString& face) {
    if (!haveGui()) return face;
    static QHash<QString, QString> cache;
    const QString key = face.toCaseFolded();
    auto it = cache.find(key);
    if (it != cache.end()) return *it;
    QString out = face;
    const QStringList& fams = families();
    if (!fams.contains(face, Qt::CaseInsensitive)) {
        for (const Substitute& s : kSubstitutes) {
            if (face.compare(QString::fromUtf8(s.face), Qt::CaseInsensitive) != 0) continue;
            for (const char* c : s.candidates) {
                if (c && fams.contains(QString::fromUtf8(c), Qt::CaseInsensitive)) {
                    out = QString::fromUtf8(c);
                    break;
                }
            }
            break;
        }
    }
    cache.insert(key, out);
    return out;
}

QString FontFamilyName(const QString& listed) {
    if (!listed.endsWith(QLatin1Char(']'))) return listed;
    const qsizetype tag = listed.lastIndexOf(QStringLiteral(" ["));
    return tag > 0 ? listed.left(tag) : listed;
}

QStringList ScreenFontNames() {
    if (!haveGui()) return {};
    QStringList names = families();
    for (const Substitute& s : kSubstitutes) {
        QString face = QString::fromUtf8(s.face);
        if (!names.contains(face, Qt::CaseInsensitive) && ResolveFontFamily(face) != face) names.append(face);
    }
    return names;
}

void InstallFontSubstitutions() {
    static bool done = false;
    if (done || !haveGui()) return;
    done = true;
    for (const Substitute& s : kSubstitutes) {
        const QString face = QString::fromUtf8(s.face);
        const QString fam = ResolveFontFamily(face);
        if (fam != face) QFont::insertSubstitution(face, fam);
    }
}

QFont QFontOf(const FontObject& font, double scale) {
    const LOGFONT& lf = font.lf;
    const QString family = font.family.isEmpty() ? ResolveFontFamily(lf.lfFaceName) : font.family;
    QFont f(family);
    double px;
    if (lf.lfHeight < 0) px = -double(lf.lfHeight) * scale;
    else if (lf.lfHeight > 0) px = double(lf.lfHeight) * scale * emPerCell(family);
    else px = 12 * scale;
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(px))));
    f.setWeight(static_cast<QFont::Weight>(std::clamp(lf.lfWeight ? lf.lfWeight : int(FW_NORMAL), 1, 1000)));
    f.setItalic(lf.lfItalic != 0);
    f.setUnderline(lf.lfUnderline != 0);
    f.setStrikeOut(lf.lfStrikeOut != 0);
    if (lf.lfWidth > 0) {
        // Average width asked for: stretch against the natural average.
        QFontMetricsF fm(f);
        const double avg = fm.averageCharWidth();
        if (avg > 0) f.setStretch(std::clamp(static_cast<int>(std::lround(100.0 * lf.lfWidth * scale / avg)), 1, 4000));
    }
    f.setStyleStrategy(lf.lfQuality == 3 ? QFont::NoAntialias : QFont::PreferDefault);
    return f;
}

TEXTMETRIC TextMetricsOf(const QFont& font, const LOGFONT& lf, const QPaintDevice* device) {
    QFontMetricsF fm = device ? QFontMetricsF(font, device) : QFontMetricsF(font);
    TEXTMETRIC tm;
    tm.tmAscent = static_cast<int32_t>(std::ceil(fm.ascent() - 1e-6));
    tm.tmDescent = static_cast<int32_t>(std::ceil(fm.descent() - 1e-6));
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = std::max(0, tm.tmHeight - font.pixelSize());
    tm.tmExternalLeading = std::max(0, static_cast<int32_t>(std::lround(fm.leading())));
    tm.tmAveCharWidth = static_cast<int32_t>(std::lround(fm.averageCharWidth()));
    tm.tmMaxCharWidth = static_cast<int32_t>(std::lround(fm.maxWidth()));
    tm.tmWeight = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFC;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmItalic = lf.lfItalic ? 255 : 0;
    tm.tmUnderlined = lf.lfUnderline ? 255 : 0;
    tm.tmStruckOut = lf.lfStrikeOut ? 255 : 0;
    const QFontInfo info(font);
    int pf = TMPF_VECTOR | TMPF_TRUETYPE | (info.fixedPitch() ? 0 : TMPF_FIXED_PITCH);
    if (info.fixedPitch()) pf |= FF_MODERN;
    else if (info.styleHint() == QFont::Serif) pf |= FF_ROMAN;
    else pf |= FF_SWISS;
    tm.tmPitchAndFamily = static_cast<uint8_t>(pf);
    const bool japanese = haveGui() && QFontDatabase::writingSystems(info.family()).contains(QFontDatabase::Japanese);
    tm.tmCharSet = japanese ? SHIFTJIS_CHARSET : ANSI_CHARSET;
    return tm;
}

std::vector<FontFace> EnumerateFontFaces() {
    std::vector<FontFace> out;
    for (const QString& name : ScreenFontNames()) {
        FontFace face;
        face.lf.lfHeight = 16;
        face.lf.lfFaceName = name.left(LF_FACESIZE - 1);
        FontObject obj{face.lf, ResolveFontFamily(name)};
        const QFont qf = QFontOf(obj, 1.0);
        face.tm = TextMetricsOf(qf, face.lf);
        face.lf.lfHeight = face.tm.tmHeight;
        face.lf.lfWidth = face.tm.tmAveCharWidth;
        face.lf.lfCharSet = face.tm.tmCharSet;
        face.lf.lfPitchAndFamily = static_cast<uint8_t>(((face.tm.tmPitchAndFamily & TMPF_FIXED_PITCH) ? 2 : 1) |
                                                         (face.tm.tmPitchAndFamily & 0xF0));
        face.type = QFontDatabase::isSmoothlyScalable(obj.family) ? TRUETYPE_FONTTYPE : RASTER_FONTTYPE;
        out.push_back(face);
    }
    return out;
}

} // namespace plat
