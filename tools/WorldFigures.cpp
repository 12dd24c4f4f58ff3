#include "WorldFigures.h"

#include "TextFile.h"
#include "basGlobePolyLib.h"
#include "basPolyLib.h"

#include <algorithm>
#include <cstring>

namespace worldsrc {

namespace {

// Letters that lose more than an accent when taken to Latin-1.
struct Spelling {
    char16_t from;
    const char* to;
};
constexpr Spelling Spellings[] = {
    {u'Œ', "OE"}, {u'œ', "oe"}, {u'Ł', "L"},  {u'ł', "l"},   {u'Đ', "D"},  {u'đ', "d"},
    {u'Ħ', "H"},  {u'ħ', "h"},  {u'ı', "i"},  {u'Ŋ', "NG"},  {u'ŋ', "ng"}, {u'ĸ', "q"},
    {u'‘', "'"},  {u'’', "'"},  {u'ʻ', "'"},  {u'ʼ', "'"},   {u'“', "\""}, {u'”', "\""},
    {u'–', "-"},  {u'—', "-"},  {u'‐', "-"},  {u'…', "..."},
    // Latin-1 letters without an ASCII base, for ASCII names.
    {u'Æ', "AE"}, {u'æ', "ae"}, {u'Ø', "O"},  {u'ø', "o"},   {u'ß', "ss"}, {u'Þ', "Th"},
    {u'þ', "th"}, {u'Ð', "D"},  {u'ð', "d"},
};

void Keep(PolyCollection& out, PolyCollection&& pieces, int32_t minPoints) {
    for (clsPoly& p : pieces)
        if (p.Count() >= minPoints) out.push_back(std::move(p));
}

} // namespace

clsPoly ToPoly(const SecRing& ring) {
    clsPoly p;
    for (const SecPoint& s : ring) p.AddXandY(s.lon, s.lat);
    return p;
}

int32_t LonSpan(const clsPoly& poly) {
    if (poly.Count() == 0) return 0;
    const clsRect r = poly.RectBound();
    return r.x2 - r.x1;
}

PolyCollection PolygonPieces(const SecRing& ring) {
    PolyCollection out;
    if (IsDegenerate(ring)) return out;
    clsPoly poly = ToPoly(ring);
    if (poly.GetPoint(1) != poly.GetPoint(poly.Count())) poly.AddPoint(poly.GetPoint(1));
    for (clsPoly& piece : GlobePolyRound(poly, 0, false, true)) {
        if (LonSpan(piece) > MaxLonSec) Keep(out, PolyLibCutPolygonX(piece, 0), 4);
        else if (piece.Count() >= 4) out.push_back(std::move(piece));
    }
    return out;
}

PolyCollection LinePieces(const SecRing& line) {
    PolyCollection out;
    if (line.size() < 2) return out;
    clsPoly poly = ToPoly(line);
    Keep(out, GlobePolyRound(poly, 0, false, false), 2);
    return out;
}

namespace {

// The name in characters up to `limit`: a letter beyond it loses its
// accents, last ones first, until it fits ("Ǻ" gives "Å" in Latin-1 and "A"
// in ASCII), or is spelt out.
QByteArray Fold(const QString& name, char16_t limit, bool* changed) {
    QByteArray out;
    bool differs = false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u <= limit) {
            out.append(char(u));
            continue;
        }
        differs = true;
        // A combining mark written on its own (GeoNames' "ẖ") is an accent too.
        if (c.category() == QChar::Mark_NonSpacing) continue;
        const auto s = std::find_if(std::begin(Spellings), std::end(Spellings), [u](const Spelling& x) { return x.from == u; });
        if (s != std::end(Spellings)) {
            out.append(s->to);
            continue;
        }
        QString d = QString(c).normalized(QString::NormalizationForm_D);
        while (d.size() > 1 && d.back().category() == QChar::Mark_NonSpacing) {
            d.chop(1);
            const QString composed = d.normalized(QString::NormalizationForm_C);
            if (composed.size() == 1 && composed[0].unicode() <= limit) break;
        }
        d = d.normalized(QString::NormalizationForm_C);
        if (d.size() == 1 && d[0].unicode() <= limit && d[0].isLetter())
            out.append(char(d[0].unicode()));
        else
            throw WorldSourceError(QStringLiteral("\"%1\": no form for U+%2 in %3 (add it to the spellings in WorldFigures.cpp)")
                                       .arg(name)
                                       .arg(int(u), 4, 16, QLatin1Char('0'))
                                       .arg(limit == 0x7F ? QStringLiteral("ASCII") : QStringLiteral("Latin-1"))
                                       .toStdString());
    }
    if (changed) *changed = differs;
    return out;
}

} // namespace

QByteArray LatinName(const QString& name, bool* changed) { return Fold(name, 0xFF, changed); }

QString AsciiName(const QString& name, bool* changed) { return QString::fromLatin1(Fold(name, 0x7F, changed)); }

QByteArray ShiftJisName(const QString& name) {
    if (!plat::IsCp932Encodable(name))
        throw WorldSourceError(QStringLiteral("\"%1\" has a character without a Shift-JIS form").arg(name).toStdString());
    return plat::EncodeCp932(name);
}

} // namespace worldsrc
