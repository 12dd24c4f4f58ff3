#include "clsPostScript.h"

#include "AppInfo.h"
#include "Clock.h"
#include "ErrorMng.h"
#include "FileOps.h"
#include "MessageBox.h"
#include "SysColors.h"
#include "TextFile.h"
#include "basFileNames.h"
#include "basLibrary.h"
#include "clsMap.h"
#include "clsMapRem.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

const QByteArray kCrLf = QByteArrayLiteral("\r\n");

CurrentMapUnitsHook& mapUnitsHook() {
    static CurrentMapUnitsHook hook;
    return hook;
}

void appendIntTo(QByteArray& out, int64_t v) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr - buf);
}

// A title line of a block, filled with "=" to 80 characters.
QByteArray ruler(const char* title) {
    QByteArray s(title);
    s.append(QByteArray(80 - s.size(), '='));
    return s;
}

QByteArray ansi(const QString& text) { return plat::EncodeCp932Lossy(text); }

} // namespace

int32_t PsResolveColor(int32_t color) {
    if (color == -1) return -1;
    return static_cast<int32_t>(plat::TranslateColor(static_cast<uint32_t>(color)));
}

QByteArray PsColorText(int32_t color) {
    const int32_t c = PsResolveColor(color);
    if (c == -1) return QByteArrayLiteral("-1");
    static const char hex[] = "0123456789ABCDEF";
    QByteArray s("16#000000");
    for (int i = 0; i < 6; ++i) s[8 - i] = hex[(c >> (4 * i)) & 15];
    return s;
}

QByteArray PsStringLiteral(const QByteArray& bytes) {
    QByteArray s;
    s.reserve(bytes.size() + 2);
    s.append('(');
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 127 || b < 32) {
            s.append('\\');
            s.append(char('0' + (b >> 6)));
            s.append(char('0' + ((b >> 3) & 7)));
            s.append(char('0' + (b & 7)));
        } else {
            if (b == '(' || b == ')' || b == '\\') s.append('\\');
            s.append(ch);
        }
    }
    s.append(')');
    return s;
}

QByteArray PsHexString(const QByteArray& bytes) { return '<' + bytes.toHex() + '>'; }

QByteArray PsPathPoly(const clsPoly& poly) {
    int32_t n = poly.Count();
    const bool closed = poly.IsLoop();
    if (closed) --n;
    if (n < 2) return QByteArray();
    const auto pts = poly.Points();
    // Straight into the bytes: a pair takes at most 11 + 1 + 11 + 2.
    QByteArray s(qsizetype(n) * 25 + 16, Qt::Uninitialized);
    char* out = s.data();
    const auto put = [&out](const char* text, size_t len) {
        memcpy(out, text, len);
        out += len;
    };
    put("newpath\r\n", 9);
    for (int32_t i = n - 1, written = 1; i >= 0; --i, ++written) {
        out = std::to_chars(out, out + 11, pts[size_t(i)].x).ptr;
        *out++ = ' ';
        out = std::to_chars(out, out + 11, pts[size_t(i)].y).ptr;
        if (written % 10 == 0) put("\r\n", 2);
        else *out++ = ' ';
    }
    if (n % 10 != 0) put("\r\n", 2);
    s.truncate(out - s.data());
    appendIntTo(s, n);
    s.append(closed ? " 1" : " 0");
    s.append(" AddPathPoly");
    return s;
}

QByteArray PsReal(double value) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (r.ec != std::errc()) return QByteArray::number(value, 'g', 17);
    return QByteArray(buf, r.ptr - buf);
}

bool IsLatin1Text(const QString& text) {
    bool beyondAscii = false;
    for (const QChar c : text) {
        if (c.unicode() > 0xFF) return false;
        beyondAscii = beyondAscii || c.unicode() >= 0x80;
    }
    return beyondAscii && !plat::IsCp932Encodable(text);
}

void SetCurrentMapUnitsHook(CurrentMapUnitsHook hook) { mapUnitsHook() = std::move(hook); }

// --- the object ---------------------------------------------------------------

clsPostScript::clsPostScript()
    : fileName_(JoinPath(plat::AppPath(), QStringLiteral("USER.EPS"))), resourcePS_(GetResourcePS()),
      dpi_(ScreenDPI()) {}

namespace {
// The path with the extension ext; one that differs only in case is kept,
// since on a case-sensitive file system it names the file the user chose.
QString withExtension(const QString& path, const QString& ext) {
    const QString changed = ChangeExt(path, ext);
    return changed.compare(path, Qt::CaseInsensitive) == 0 ? path : changed;
}
} // namespace

void clsPostScript::setFileName(const QString& path) { fileName_ = withExtension(path, QStringLiteral("EPS")); }

void clsPostScript::setResourcePS(const QString& path) { resourcePS_ = withExtension(path, QStringLiteral("PS")); }

void clsPostScript::setDpi(int32_t dpi) {
    if (dpi < 1 || dpi > 10000) return;
    dpi_ = dpi;
    scale_ = 72.0 / dpi;
}

void clsPostScript::setLeft(int32_t v) {
    const int32_t w = Width();
    area_.x1 = v;
    area_.x2 = static_cast<int32_t>(int64_t(v) + w - 1);
}

void clsPostScript::setTop(int32_t v) {
    const int32_t h = Height();
    area_.y1 = v;
    area_.y2 = static_cast<int32_t>(int64_t(v) + h - 1);
}

void clsPostScript::setWidth(int32_t v) {
    if (v < 32 || v > GetMaxImageSize()) return;
    area_.x2 = v;
}

void clsPostScript::setHeight(int32_t v) {
    if (v < 32 || v > GetMaxImageSize()) return;
    area_.y2 = v;
}

namespace {
void setRatio(double& ratio, int32_t percent) {
    if (percent >= 10 && percent <= 10000) ratio = percent / 100.0;
}
} // namespace

void clsPostScript::setPolylineRatio(int32_t percent) { setRatio(polylineRatio_, percent); }
void clsPostScript::setPolygonRatio(int32_t percent) { setRatio(polygonRatio_, percent); }
void clsPostScript::setSymbolRatio(int32_t percent) { setRatio(symbolRatio_, percent); }
void clsPostScript::setTextRatio(int32_t percent) { setRatio(textRatio_, percent); }

void clsPostScript::line(const QByteArray& text) {
    program_.append(text);
    program_.append(kCrLf);
}

void clsPostScript::appendInt(int64_t v) { appendIntTo(program_, v); }

void clsPostScript::appendReal(double v) { program_.append(PsReal(v)); }

void clsPostScript::appendColor(int32_t c) { program_.append(PsColorText(c)); }

void clsPostScript::psBegin() {
    program_.clear();
    const QByteArray s = PsReal(scale_);
    const QByteArray x1 = QByteArray::number(area_.x1), y1 = QByteArray::number(area_.y1);
    const QByteArray x2 = QByteArray::number(area_.x2), y2 = QByteArray::number(area_.y2);
    line(ruler("% ==== Begin Program "));
    line("gsave");
    line("dictKaldero begin");
    line("% change coordinate system");
    line("/KalderoLogicalScale " + s + " def");
    line("KalderoLogicalScale KalderoLogicalScale neg scale");
    line("0 -" + y2 + " translate");
    line("% set clipping path of canvas area");
    line("newpath");
    line(x1 + ' ' + y1 + " moveto");
    line(x2 + ' ' + y1 + " lineto");
    line(x2 + ' ' + y2 + " lineto");
    line(x1 + ' ' + y2 + " lineto");
    line("closepath");
    line("clip");
    line("newpath");
    line("% set line property");
    line("LineCapStyle setlinecap");
    line("LineJoinStyle setlinejoin");
    line("% encoding Europian font");
    line("SetupLatinFont");
    line("% user procedure");
    line("UserInitialize");
    line("");
}

void clsPostScript::psSetPen(int16_t Style, int32_t Width, int32_t Fore, int32_t Back) {
    appendInt(Style);
    program_.append(' ');
    appendReal(polylineRatio_);
    program_.append(' ');
    appendInt(Width);
    program_.append(' ');
    appendColor(Fore);
    program_.append(' ');
    appendColor(Back);
    line(" SelectPen");
}

void clsPostScript::psSetBrush(int16_t Style, int32_t Fore, int32_t Back) {
    appendInt(Style == 8 ? 6 : Style);
    program_.append(' ');
    appendReal(polygonRatio_);
    program_.append(' ');
    appendColor(Fore);
    program_.append(' ');
    appendColor(Back);
    line(" SelectBrush");
}

void clsPostScript::psSetSymbol(int16_t Index, int32_t Value, int32_t Fore, int32_t Back) {
    appendInt(Index);
    program_.append(' ');
    appendReal(symbolRatio_);
    program_.append(' ');
    appendInt(Value);
    program_.append(' ');
    appendColor(Fore);
    program_.append(' ');
    appendColor(Back);
    line(" SelectSymbol");
}

void clsPostScript::psSetFont(const QString& FontName, double Size, int32_t Angle, uint8_t Style, int32_t Fore,
                              int32_t Back) {
    fontAngle_ = Angle;
    const QByteArray name = StrToBytes(FontName);
    nonAsciiFont_ = false;
    for (const char ch : name) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 32 || b > 127) nonAsciiFont_ = true;
    }
    program_.append(nonAsciiFont_ ? PsHexString(name) : PsStringLiteral(name));
    program_.append(' ');
    appendReal(textRatio_);
    program_.append(' ');
    appendReal(Size);
    program_.append(' ');
    appendInt(Style);
    program_.append(' ');
    appendColor(Fore);
    program_.append(' ');
    appendColor(Back);
    line(" SelectFont");
}

void clsPostScript::psClear() { psFillRect(area_); }

void clsPostScript::corners(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const char* procedure) {
    for (const int32_t v : {x1, y1, x2}) {
        appendInt(v);
        program_.append(' ');
    }
    appendInt(y2);
    line(procedure);
}

void clsPostScript::psStrokeLine(const clsLine& l) {
    clsLine c = l;
    if (c.Clip(area_)) corners(c.x1, c.y1, c.x2, c.y2, " StrokeLine");
}

void clsPostScript::psStrokeRect(const clsRect& r) { corners(r.x1, r.y1, r.x2, r.y2, " StrokeRect"); }

void clsPostScript::psFillRect(const clsRect& rect) {
    clsRect r = rect;
    r.Formalize();
    r.OpeAnd(area_);
    if (!r.IsEmpty()) corners(r.x1, r.y1, r.x2, r.y2, " FillRect");
}

void clsPostScript::psStrokePoly(const clsPoly& poly) {
    for (clsPoly& piece : poly.Clips(area_)) {
        piece.DelOverlap();
        const QByteArray path = PsPathPoly(piece);
        if (path.isEmpty()) continue;
        program_.append(path);
        line(" StrokePoly");
    }
}

void clsPostScript::psFillPoly(const clsPoly& poly) {
    clsPoly c = poly;
    c.DelOverlap();
    if (!c.Clip(area_)) return;
    const QByteArray path = PsPathPoly(c);
    if (path.isEmpty()) return;
    program_.append(path);
    line(" FillPoly");
}

void clsPostScript::psDrawSymbol(int32_t X, int32_t Y) {
    if (!area_.IsInner(X, Y)) return;
    appendInt(X);
    program_.append(' ');
    appendInt(Y);
    line(" DrawSymbol");
}

void clsPostScript::textLine(int32_t X, int32_t Y, int16_t Align, const QByteArray& text, const char* procedure) {
    if (text.isEmpty() || !area_.IsInner(X, Y)) return;
    appendInt(X);
    program_.append(' ');
    appendInt(Y);
    program_.append(' ');
    appendInt(WrapRange(Align, 0, 24));
    program_.append(' ');
    appendInt(fontAngle_);
    program_.append(' ');
    program_.append(nonAsciiFont_ ? PsHexString(text) : PsStringLiteral(text));
    line(procedure);
}

void clsPostScript::psDrawText(int32_t X, int32_t Y, int16_t Align, const QByteArray& text) {
    textLine(X, Y, Align, text, " DrawText");
}

void clsPostScript::psDrawText(int32_t X, int32_t Y, int16_t Align, const QString& text) {
    if (IsLatin1Text(text)) psDrawLatin1Text(X, Y, Align, text.toLatin1());
    else psDrawText(X, Y, Align, StrToBytes(text));
}

void clsPostScript::psDrawLatin1Text(int32_t X, int32_t Y, int16_t Align, const QByteArray& latin1) {
    textLine(X, Y, Align, latin1, " DrawLatinText");
}

void clsPostScript::psComment(const QString& text) { line("% " + ansi(text)); }

void clsPostScript::psProgram(const QString& text) { line(ansi(text)); }

// --- the file -------------------------------------------------------------------

QByteArray clsPostScript::closingLines() const {
    QByteArray s;
    for (const char* l : {"", "UserTerminate", "ReleaseLatinFont", "end", "grestore", "showpage", ""}) {
        s.append(l);
        s.append(kCrLf);
    }
    s.append(ruler("% ==== End Program "));
    s.append(kCrLf);
    s.append(kCrLf);
    return s;
}

QByteArray clsPostScript::headerText() const {
    const QString title = plat::AppTitle();
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) user = qEnvironmentVariable("LOGNAME");
    auto box = [&](int32_t v) { return QByteArray::number(static_cast<int64_t>(std::nearbyint(v * scale_))); };
    QByteArray s;
    auto add = [&](const QByteArray& l) {
        s.append(l);
        s.append(kCrLf);
    };
    add("%!PS-Adobe-3.0 EPSF-3.0");
    add("%%Title: " + ansi(FileNameOf(fileName_)));
    add("%%Creator: " + ansi(title) + " ver " + QByteArray::number(plat::AppMajor()) + '.' +
        QByteArray::number(plat::AppMinor()));
    add("%%CreationDate: " + ansi(plat::Now().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"))));
    add("%%For: " + ansi(user));
    add("%%Resolution: " + QByteArray::number(dpi_) + "DPI");
    add("%%BoundingBox: " + box(area_.x1) + ' ' + box(area_.y1) + ' ' + box(area_.x2) + ' ' + box(area_.y2));
    add("%%Pages: 1");
    add("%%Orientation: Portrait");
    add("%%DocumentSuppliedResources: procset (" + ansi(title) + ')');
    add("%%EndComments");
    add("%%LanguageLevel: 2");
    add("%%Page: 1 1");
    add("");
    return s;
}

QByteArray clsPostScript::mapInformation() const {
    QByteArray s = ruler("% ==== Map Information ") + kCrLf + kCrLf;
    const CurrentMapUnitsHook& hook = mapUnitsHook();
    if (!hook) return s;
    for (const MapUnitPtr& unit : hook()) {
        if (!unit) continue;
        s.append("%   ---- map file / " + ansi(unit->UnitName()) + kCrLf);
        for (const MapFigurePtr& fig : unit->Map()) {
            if (!fig || fig->FigCode() != 1) continue;
            const auto* rem = dynamic_cast<const clsMapRem*>(fig.get());
            if (!rem) continue;
            const QString& c = rem->Comment();
            if (c.size() > 2 && c.startsWith(QLatin1Char('#'))) s.append("% " + ansi(c) + kCrLf);
        }
    }
    return s;
}

QByteArray clsPostScript::FileText(const QStringList& prologLines) const {
    QByteArray prolog;
    for (const QString& l : prologLines) {
        prolog.append(ansi(l));
        prolog.append(kCrLf);
    }
    QByteArray out;
    out.reserve(program_.size() + prolog.size() + 4096);
    out.append(headerText());
    out.append(kCrLf);
    out.append(mapInformation());
    out.append(kCrLf);
    out.append(prolog);
    out.append(kCrLf);
    out.append(program_);
    out.append(closingLines());
    out.append(kCrLf);
    out.append("%%Trailer\r\n%%EOF\r\n");
    out.append(kCrLf);
    return out;
}

int32_t clsPostScript::psSave() {
    if (!FileExists(resourcePS_)) {
        plat::MsgBox(QStringLiteral("ポストスクリプト・リソースファイルが存在しません.\r\n") + resourcePS_, plat::MbCritical);
        return plat::ErrFileNotFound;
    }
    const QString* current = &resourcePS_;
    for (;;) {
        try {
            current = &resourcePS_;
            const QStringList prolog = plat::ReadTextLines(resourcePS_);
            current = &fileName_;
            plat::WriteFileAtomic(fileName_, FileText(prolog));
            return 0;
        } catch (...) {
            const AppError e = plat::CurrentError();
            const int answer = ShowFileError(e, *current);
            if (answer == 0) continue;
            if (answer == 1) return e.number();
            RaiseError(e, ErrGeneral, QStringLiteral("clsPostScript"), QStringLiteral("psSave"));
        }
    }
}
