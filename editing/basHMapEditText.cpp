// Coordinate text pasted into the figure dialogs.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>
#include <vector>

#include "ErrorMng.h"
#include "basAngle.h"
#include "basHMapEdit.h"
#include "basLibrary.h"
#include "basNarrow.h"

namespace {

const QString kModule = QStringLiteral("basHMapEdit");
const QChar kSpace = QLatin1Char(' ');
const QString kSecondMark = QStringLiteral("秒");

MapCoordinateText& coordinateText() {
    static MapCoordinateText text;
    return text;
}

int32_t ReadCoordinate(const std::function<int32_t(const QString&)>& read, const QString& token) {
    return read ? read(token) : kInvalidMapCoordinate;
}

// The points of a text and the token each coordinate came from.
struct PastedPoints {
    clsPoly poly;
    std::vector<QString> xTokens, yTokens;
};

// Blanks between the numbers of "35 41 22N 139 41 30E" (letters glued to
// the last number) become the degree and minute marks, so that each angle
// reads as one token. Only N and S are counted: a text without them keeps
// its blanks. The text ends with a blank. Letters count in either case.
void MarkDegreeBlanks(QString& text) {
    const qsizetype letters =
        text.count(QLatin1Char('N'), Qt::CaseInsensitive) + text.count(QLatin1Char('S'), Qt::CaseInsensitive);
    const qsizetype blanks = text.count(kSpace);
    if (letters == 0) return;
    const int period = blanks == 6 * letters ? 3 : blanks == 4 * letters ? 2 : 0;
    if (period == 0) return;
    QString out;
    out.reserve(text.size());
    int n = 0;
    for (QChar c : text) {
        if (c != kSpace) {
            out += c;
            continue;
        }
        const int at = n++ % period;
        if (at == 0) out += QStringLiteral("度");
        else if (at == 1 && period == 3) out += QStringLiteral("分");
        else out += kSpace;
    }
    text = out;
}

PastedPoints ReadPoints(QString text) {
    PastedPoints r;
    text.replace(QLatin1Char('"'), kSecondMark);
    for (QChar c : {QLatin1Char('\r'), QLatin1Char('\n'), QLatin1Char('\t')}) text.replace(c, kSpace);
    // Narrowed but not upper-cased: the angle reader ignores case, and the
    // length reader of X/Y maps needs it ("200m" metres, "200M" nautical
    // miles).
    text = NarrowText(text);
    // A full-width quote has just become a plain one; it is a seconds mark
    // too, and left as a quote it would join the tokens up to the next one.
    text.replace(QLatin1Char('"'), kSecondMark);
    for (qsizetype before = -1; before != text.size();) {
        before = text.size();
        text.replace(QStringLiteral("  "), QStringLiteral(" "));
    }
    if (text.startsWith(kSpace)) text.remove(0, 1);
    if (!text.endsWith(kSpace)) text += kSpace;
    MarkDegreeBlanks(text);

    const QStringList tokens = StrToTokens(text, 0);
    if (tokens.isEmpty() || tokens.front().isEmpty()) return r;
    const MapCoordinateText& reader = coordinateText();
    const size_t limit = static_cast<size_t>(std::min(clsPoly::MaxCount(), kMaxPastedPoints));
    std::vector<int32_t> xs, ys;
    int previous = 2;
    for (const QString& token : tokens) {
        const int kind = AngleKindOf(token);
        const int axis = kind == 1 || kind == 2 ? kind : 3 - previous;
        previous = axis;
        std::vector<int32_t>& values = axis == 1 ? xs : ys;
        if (values.size() >= limit) break;
        values.push_back(ReadCoordinate(axis == 1 ? reader.strToXSafe : reader.strToYSafe, token));
        (axis == 1 ? r.xTokens : r.yTokens).push_back(token);
    }
    const size_t n = std::min(xs.size(), ys.size());
    r.poly.setCount(static_cast<int32_t>(n));
    for (size_t i = 0; i < n; ++i) r.poly.SetXandY(static_cast<int32_t>(i + 1), xs[i], ys[i]);
    return r;
}

// Every coordinate reads and lies in the map's range; the first that does
// not is named in a message.
bool CheckPoints(const PastedPoints& p) {
    const MapCoordinateText& reader = coordinateText();
    for (int32_t i = 1; i <= p.poly.Count(); ++i) {
        const size_t k = static_cast<size_t>(i - 1);
        for (const auto& [value, token] : {std::pair{p.poly.x(i), p.xTokens[k]}, std::pair{p.poly.y(i), p.yTokens[k]}}) {
            if (value != kInvalidMapCoordinate) continue;
            MsgError(QStringLiteral("%1 番目の点の座標「%2」を読み取れません.").arg(i).arg(token));
            return false;
        }
        if (!reader.isValidX || !reader.isValidY) return false;
        if (!reader.isValidX(p.poly.x(i), true) || !reader.isValidY(p.poly.y(i), true)) return false;
    }
    return true;
}

} // namespace

MapCoordinateText SetMapCoordinateText(MapCoordinateText text) {
    return std::exchange(coordinateText(), std::move(text));
}

const MapCoordinateText& InstalledMapCoordinateText() { return coordinateText(); }

clsPoly TextToPoly(const QString& text) {
    try {
        return ReadPoints(text).poly;
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("TextToPoly"));
    }
}

clsPoly PastedPoly(const QString& text) {
    try {
        PastedPoints p = ReadPoints(text);
        return CheckPoints(p) ? std::move(p.poly) : clsPoly();
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("PastedPoly"));
    }
}

clsPoly GetPolyFromClip() {
    try {
        const QClipboard* clip = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                     ? QGuiApplication::clipboard()
                                     : nullptr;
        const QMimeData* data = clip ? clip->mimeData() : nullptr;
        if (!data || !data->hasText()) return clsPoly();
        return PastedPoly(data->text());
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("GetPolyFromClip"));
    }
}
