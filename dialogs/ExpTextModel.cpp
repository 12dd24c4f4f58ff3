#include "ExpTextModel.h"

#include <QFont>
#include <QFontInfo>

#include <algorithm>
#include <cmath>

#include "AppState.h"
#include "Fonts.h"
#include "clsMapGraph.h"

const QString ExpTextModel::kDefaultFace = QStringLiteral("(default)");

namespace {

const QString kScalable = QStringLiteral("(TT) ");
const QString kPlain = QStringLiteral("     ");

std::vector<FontFaceInfo> InstalledFaces() {
    std::vector<FontFaceInfo> out;
    for (const plat::FontFace& f : plat::EnumerateFontFaces())
        out.push_back({f.tm.tmCharSet, f.tm.tmPitchAndFamily, QString(f.lf.lfFaceName)});
    return out;
}

double ScreenPoints(const QString& face, int32_t points) {
    QFont f(face);
    f.setPointSize(points);
    return QFontInfo(f).pointSizeF();
}

int FirstFace(const QStringList& list, const QString& face) {
    for (int i = 0; i < list.size(); ++i)
        if (ExpTextModel::FaceOfEntry(list[i]) == face) return i;
    return -1;
}

} // namespace

QString ExpTextModel::DesignedCaption() const { return QStringLiteral("文字列事象図式"); }

int16_t ExpTextModel::boxBit(int k) {
    static constexpr int16_t bits[] = {FS_BOLD, FS_ITALIC, FS_UNDERLINE, FS_OPAQUE};
    return k >= 0 && k < 4 ? bits[k] : 0;
}

void ExpTextModel::MakeFonts() {
    EuropeanList = JapaneseList = QStringList{kScalable + kDefaultFace};
    for (const FontFaceInfo& f : Faces ? Faces() : InstalledFaces()) {
        if (f.Name.startsWith(QLatin1Char('@'))) continue;   // vertical faces
        const QString entry = ((f.PitchAndFamily & 0x04) ? kScalable : kPlain) + f.Name;
        if (f.CharSet == 0) {
            EuropeanList << entry;
        } else if (f.CharSet == 128) {
            EuropeanList << entry;
            JapaneseList << entry;
        }
    }
}

void ExpTextModel::MakeHeights() {
    QString face = gvLanguage == 1 ? EuropianFont : JapaneseFont;
    if (face == kDefaultFace) face = gvDefaultFont;
    Heights.clear();
    int32_t previous = -1;
    for (int32_t p = clsMapGraph::FONT_HEIGHT_MIN; p <= clsMapGraph::FONT_HEIGHT_MAX; ++p) {
        const auto v = static_cast<int32_t>(std::nearbyint(RealPoints ? RealPoints(face, p) : ScreenPoints(face, p)));
        if (v == previous) continue;
        Heights << QString::number(v);
        previous = v;
    }
}

void ExpTextModel::Load() {
    Open();
    MakeFonts();
    MakeHeights();
    HeightIndex = std::max(0, static_cast<int>(Heights.indexOf(QString::number(Size))));
    ChooseHeight(HeightIndex);
    EuropeanIndex = FirstFace(EuropeanList, EuropianFont);
    JapaneseIndex = FirstFace(JapaneseList, JapaneseFont);
}

void ExpTextModel::ChooseFace(int lang, int entry) {
    const QStringList& list = lang == 0 ? EuropeanList : JapaneseList;
    if (entry < 0 || entry >= list.size()) return;
    (lang == 0 ? EuropianFont : JapaneseFont) = FaceOfEntry(list[entry]);
    (lang == 0 ? EuropeanIndex : JapaneseIndex) = entry;
    MakeHeights();
    HeightIndex = static_cast<int>(Heights.indexOf(QString::number(Size)));
}

void ExpTextModel::ChooseHeight(int entry) {
    if (entry < 0 || entry >= Heights.size()) return;
    HeightIndex = entry;
    const auto v = static_cast<int32_t>(std::nearbyint(Heights[entry].toDouble()));
    if (v >= clsMapGraph::FONT_HEIGHT_MIN && v <= clsMapGraph::FONT_HEIGHT_MAX) Size = v;
}

void ExpTextModel::SetStyleBox(int k, bool on) {
    const int16_t bit = boxBit(k);
    Style = static_cast<int16_t>(on ? (Style | bit) : (Style & ~bit));
}

void ExpTextModel::DrawSample(clsMapGraph& g, int32_t w, int32_t h) const {
    const auto style = static_cast<uint8_t>(Style);
    g.SetFont(EuropianFont, Size, 0, style, Fore, SecondColor());
    g.DrawText(w / 2, h / 4, 12, QStringLiteral("abc/ABC*012/ﾀﾁﾂ"));
    g.SetFont(JapaneseFont, Size, 0, style, Fore, SecondColor());
    g.DrawText(w / 2, (h / 4) * 3, 12, QStringLiteral("ｱｲｳ/亜以右*012"));
}

ExpTextModel& ExpText() {
    static ExpTextModel m;
    return m;
}
