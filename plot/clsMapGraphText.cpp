// The font and text half of the drawing layer.
#include "clsMapGraph.h"

#include "AppInfo.h"
#include "AppState.h"
#include "TextFile.h"
#include "basAngle.h"
#include "basApiLib.h"
#include "basLibrary.h"
#include "clsPostScript.h"

#include <cmath>
#include <numbers>

using namespace plat;

namespace {

const QString kDefaultName = QStringLiteral("(default)");

// The bytes a text draws: its ANSI form up to the first zero byte.
QByteArray drawnBytes(const QByteArray& ansi) {
    const qsizetype end = ansi.indexOf('\0');
    return end < 0 ? ansi : ansi.left(end);
}

// Shift-JIS bytes as the device's TextOutA reads them; a byte that is no
// Shift-JIS shows as "?", never as a guess at another character set.
QString decodeAnsi(const QByteArray& bytes) { return plat::DecodeCp932Lossy(bytes); }

} // namespace

plat::POINT RotateOffset(int32_t dx, int32_t dy, int32_t angle10) {
    switch (angle10) {
    case 0:
    case 3600: return POINT{dx, dy};
    case 900:
    case -2700: return POINT{dy, -dx};
    case -900:
    case 2700: return POINT{-dy, dx};
    case 1800:
    case -1800: return POINT{-dx, -dy};
    default: break;
    }
    double x = dx, y = dy;
    RotateXY(-angle10 * std::numbers::pi / 1800.0, x, y);
    return POINT{static_cast<int32_t>(std::nearbyint(x)), static_cast<int32_t>(std::nearbyint(y))};
}

TextPlacement PlaceText(int32_t X, int32_t Y, int32_t Align, int32_t gap, int32_t metric, int32_t escapement,
                        int32_t resX, int32_t resY) {
    const int32_t a = WrapRange(Align, 0, 24), column = a % 5, row = a / 5;
    static constexpr unsigned kColumnAlign[5] = {TA_LEFT, TA_LEFT, TA_CENTER, TA_RIGHT, TA_RIGHT};
    const int32_t dx = column == 0 ? gap : column == 4 ? -gap : 0;
    const int32_t above = gap * 5 / 4;
    const int32_t rowDy[5] = {above + metric, metric, metric / 2, 0, -above};
    const POINT d = RotateOffset(dx, rowDy[row], escapement);
    TextPlacement p;
    p.x = static_cast<int32_t>(X + int64_t(resX) * d.x / std::max(1, resY));
    p.y = Y + d.y;
    p.align = kColumnAlign[column] | TA_BASELINE;
    return p;
}

QStringList FoldLines(const QString& text, int32_t maxWidth, const std::function<int32_t(const QString&)>& width) {
    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r')) {
            lines.append(line);
            line.clear();
            continue;
        }
        if (c == QLatin1Char('\n')) continue;
        if (!line.isEmpty() && width(line) > maxWidth) {
            lines.append(line);
            line.clear();
        }
        line += c;
        // A character outside the basic plane is one character, not two.
        if (c.isHighSurrogate() && i + 1 < text.size()) line += text[++i];
    }
    if (!line.isEmpty()) lines.append(line);
    if (lines.isEmpty()) lines.append(QString());
    return lines;
}

QString ChooseDefaultFont() {
    const QString meiryo = QStringLiteral("メイリオ");
    return FontExists(meiryo) ? meiryo : QStringLiteral("ＭＳ Ｐゴシック");
}

// --- the font table --------------------------------------------------------------

const std::vector<clsMapGraph::FaceRecord>& clsMapGraph::FontTable() {
    if (fontTableBuilt_) return fontTable_;
    fontTableBuilt_ = true;
    const HDC probe = CreateCompatibleDC(nullptr);
    for (const FontRecord& f : EnumFontList(probe)) {
        // Vertical-writing faces begin with an at sign.
        if (f.FaceName.isEmpty() || f.FaceName.startsWith(QLatin1Char('@'))) continue;
        fontTable_.push_back(FaceRecord{f.FaceName, f.tm.tmWeight, f.tm.tmPitchAndFamily, f.tm.tmCharSet});
    }
    DeleteDC(probe);
    return fontTable_;
}

void clsMapGraph::WritearFont() {
    TextWriter out(JoinPath(AppPath(), QStringLiteral("arFont.TXT")));
    out.print(QStringLiteral("\"No., TypeFaceName, Weight, PitchAndFamily, CharSet\""));
    const std::vector<FaceRecord>& table = FontTable();
    for (size_t i = 0; i < table.size(); ++i) {
        const FaceRecord& r = table[i];
        // Names without a Shift-JIS form are written with "?" for what lacks one.
        const QString name = DecodeCp932Lossy(EncodeCp932Lossy(r.name));
        out.print(QStringLiteral("%1,\"%2\",%3,%4,%5").arg(i).arg(name).arg(r.weight).arg(r.pitchAndFamily).arg(r.charSet));
    }
    out.commit();
}

const clsMapGraph::FaceRecord* clsMapGraph::findFace(const QString& name) {
    const QString key = name.toCaseFolded();
    if (auto it = usedFaces_.find(key); it != usedFaces_.end()) return &it->second;
    const std::vector<FaceRecord>& table = FontTable();
    auto inTable = [&](const QString& n) -> const FaceRecord* {
        for (auto it = table.rbegin(); it != table.rend(); ++it)
            if (it->name.compare(n, Qt::CaseInsensitive) == 0) return &*it;
        return nullptr;
    };
    const FaceRecord* found = inTable(name);
    if (!found) found = inTable(defaultFont_);
    if (!found && !table.empty()) found = &table.front();
    if (!found) return nullptr;
    return &usedFaces_.emplace(key, *found).first->second;
}

// --- setting the font ----------------------------------------------------------

bool clsMapGraph::SetFont(const QString& FontName, int32_t Size, int32_t Angle, uint8_t Style, int32_t Fore,
                          int32_t Back) {
    return guarded("SetFont", [&] {
        if (!drawing_) return false;
        if (font_.exists && fontArgs_ && fontArgs_->name.compare(FontName, Qt::CaseInsensitive) == 0 &&
            fontArgs_->size == Size && fontArgs_->angle == Angle && fontArgs_->style == Style &&
            fontArgs_->fore == Fore && fontArgs_->back == Back)
            return true;
        fontArgs_ = FontArgs{FontName, Size, Angle, Style, Fore, Back};
        const QString name = FontName.compare(kDefaultName, Qt::CaseInsensitive) == 0 ? defaultFont_ : FontName;
        const int32_t points = Clamp(Size, FONT_HEIGHT_MIN, FONT_HEIGHT_MAX);
        // The mirror gets the size the canvas draws, so both agree.
        if (ps_) ps_->psSetFont(name, textRatio_ * double(points) / 100, Angle, Style, PsResolveColor(Fore), PsResolveColor(Back));
        font_.fore = DeviceColor(Fore);
        font_.back = DeviceColor(Back);
        font_.opaque = Back != -1 && (Style & FS_OPAQUE) != 0;
        font_.halo = Back != -1 && !font_.opaque;
        font_.escapement = WrapRange(Angle, 0, 359) * 10;
        const int64_t h = int64_t(points) * resY_ / 72 * textRatio_ / 100;
        const FaceRecord* face = findFace(name);

        const auto key = std::make_tuple(face ? face->name : name, static_cast<int32_t>(h), font_.escapement,
                                         static_cast<uint8_t>(Style & 15));
        auto made = fontCache_.find(key);
        if (made == fontCache_.end()) {
            LOGFONT lf;
            lf.lfHeight = static_cast<int32_t>(-std::min<int64_t>(h, INT32_MAX));
            lf.lfEscapement = lf.lfOrientation = font_.escapement;
            lf.lfWeight = (Style & FS_BOLD) ? FW_BOLD : FW_NORMAL;
            lf.lfItalic = (Style & FS_ITALIC) ? 1 : 0;
            lf.lfUnderline = (Style & FS_UNDERLINE) ? 1 : 0;
            lf.lfStrikeOut = (Style & FS_STRIKEOUT) ? 1 : 0;
            lf.lfCharSet = DEFAULT_CHARSET;
            lf.lfFaceName = std::get<0>(key);
            const HFONT font = CreateFontIndirect(lf);
            if (!font) {
                fontArgs_.reset();
                try {
                    WritearFont();
                } catch (...) {
                    // The dump only helps to find out why; the caller's
                    // fallback font matters more than a failed dump.
                }
                return false;
            }
            hdc_->SelectFont(font);
            int32_t metric = FontMetricSize(hdc_);
            if (metric < 1) metric = static_cast<int32_t>(2 * h / 3);
            made = fontCache_.emplace(key, MadeFont{font, metric}).first;
        }
        font_.font = made->second.font;
        font_.heightMetric = made->second.heightMetric;
        hdc_->SelectFont(font_.font);
        if (measure_ != hdc_) measure_->SelectFont(font_.font);
        font_.gap = std::max(font_.heightMetric * 6 / 10 + 1, static_cast<int32_t>(int64_t(resY_) * textRatio_ / 1800));
        font_.exists = true;
        return true;
    });
}

bool clsMapGraph::SetFontObject(const plat::FontRef& Font, int32_t Color) {
    return guarded("SetFontObject", [&] {
        bool ok = false;
        if (Font) {
            const uint8_t style = (Font->bold ? FS_BOLD : 0) | (Font->italic ? FS_ITALIC : 0) |
                                  (Font->underline ? FS_UNDERLINE : 0) | (Font->strikethrough ? FS_STRIKEOUT : 0);
            ok = SetFont(Font->name, SafeCLng(Font->size), 0, style, Color, -1);
        }
        if (!ok) ok = SetFont(gvDefaultFont, 10, 0, 0, Color, -1);
        return ok;
    });
}

// --- drawing and measuring ---------------------------------------------------------

bool clsMapGraph::DrawText(int32_t X, int32_t Y, int16_t Align, const QString& text) {
    if (IsLatin1Text(text)) return drawBytes(X, Y, Align, text.toLatin1(), true);
    return DrawText(X, Y, Align, StrToBytes(text));
}

bool clsMapGraph::DrawText(int32_t X, int32_t Y, int16_t Align, const QByteArray& ansi) {
    return drawBytes(X, Y, Align, drawnBytes(ansi), false);
}

bool clsMapGraph::DrawLatin1Text(int32_t X, int32_t Y, int16_t Align, const QByteArray& latin1) {
    return drawBytes(X, Y, Align, drawnBytes(latin1), true);
}

void clsMapGraph::selectCharSet(uint8_t charSet) {
    if (!font_.font || font_.font->lf.lfCharSet == charSet) return;
    // By the made font it derives from, which the font cache keeps as long
    // as this one: every text selects its font anew.
    const auto key = std::make_pair(font_.font.get(), charSet);
    auto it = charSetFonts_.find(key);
    if (it == charSetFonts_.end()) {
        LOGFONT lf = font_.font->lf;
        lf.lfCharSet = charSet;
        const HFONT font = CreateFontIndirect(lf);
        if (!font) return;
        it = charSetFonts_.emplace(key, font).first;
    }
    font_.font = it->second;
    hdc_->SelectFont(font_.font);
    if (measure_ != hdc_) measure_->SelectFont(font_.font);
}

bool clsMapGraph::drawBytes(int32_t X, int32_t Y, int16_t Align, const QByteArray& bytes, bool latin1) {
    return guarded("DrawText", [&] {
        if (!drawing_) return false;
        if (!view_.IsInner(X, Y) || bytes.isEmpty()) return true;
        if (psWrite()) latin1 ? ps_->psDrawLatin1Text(X, Y, Align, bytes) : ps_->psDrawText(X, Y, Align, bytes);
        PsScope scope(*this);
        if (font_.fore == -1) return true;
        // The font names the text's character set: a metafile's reader
        // chooses its face by it and reads the bytes in it.
        selectCharSet(latin1 ? ANSI_CHARSET : SHIFTJIS_CHARSET);
        const TextPlacement at = PlaceText(X, Y, Align, font_.gap, font_.heightMetric, font_.escapement, resX_, resY_);
        const QString text = latin1 ? QString::fromLatin1(bytes) : decodeAnsi(bytes);
        hdc_->SetTextAlign(at.align);
        if (font_.opaque) applyBackColor(font_.back);
        else hdc_->SetBkMode(TRANSPARENT);
        if (font_.halo)
            return hdc_->TextOutHalo(at.x, at.y, text, static_cast<COLORREF>(font_.back),
                                     static_cast<COLORREF>(font_.fore), halo_.data(), font_.heightMetric < 28 ? 4 : 8);
        hdc_->SetTextColor(static_cast<COLORREF>(font_.fore));
        return hdc_->TextOut(at.x, at.y, text);
    });
}

bool clsMapGraph::GetTextExtent(HDC hdc, const QString& Text, int32_t& Width, int32_t& Height) const {
    return guarded("GetTextExtent", [&] {
        Width = Height = 0;
        if (Text.isEmpty()) return true;
        if (!hdc) return false;
        SIZE size;
        const QString shown = IsLatin1Text(Text) ? Text : decodeAnsi(StrToBytes(Text));
        if (!hdc->GetTextExtentPoint32(shown, &size)) return false;
        Width = size.cx;
        Height = size.cy;
        return true;
    });
}

bool clsMapGraph::GetTextSize(const QString& Text, int32_t& Width, int32_t& Height) const {
    if (Text.isEmpty() || !measure_) return false;
    return GetTextExtent(measure_, Text, Width, Height);
}

QStringList clsMapGraph::FoldText(const QString& Text, int32_t MaxWidth) {
    return guarded("FoldText", [&] {
        return FoldLines(Text, MaxWidth, [&](const QString& line) {
            int32_t w = 0, h = 0;
            GetTextSize(line, w, h);
            return w;
        });
    });
}
