// Installed fonts, with the Windows face names that settings and map files
// hold (ＭＳ Ｐゴシック, メイリオ, Arial ...) resolved to installed families, and
// the bridge between logical font records and Qt fonts.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <vector>

#include "Gdi.h"

class QPaintDevice;

namespace plat {

// The family actually used for a face name; the name itself when installed
// or when nothing stands for it.
QString ResolveFontFamily(const QString& face);
// The screen fonts a user may choose: the installed families, each once
// under its family name, and the Windows face names that resolve to an
// installed family.
QStringList ScreenFontNames();
// The family of a name as Qt lists it: Qt names a family that several
// foundries provide once per foundry, "Nimbus Sans [urw]".
QString FontFamilyName(const QString& listed);
// Registers the Windows face names as Qt font substitutions, so a QFont
// asked for "ＭＳ Ｐゴシック" gets the family that stands for it. Idempotent.
void InstallFontSubstitutions();

// The Qt font of a logical font whose heights are multiplied by scale
// (device pixels per logical unit); antialiased unless the record asks for
// non-antialiased quality (3).
QFont QFontOf(const FontObject& font, double scale);
// The text metrics of a Qt font as GDI's GetTextMetrics reports them.
TEXTMETRIC TextMetricsOf(const QFont& font, const LOGFONT& lf, const QPaintDevice* device = nullptr);

// One face of the font list: its record at a reference height, its metrics
// and its type (TRUETYPE_FONTTYPE for scalable faces).
struct FontFace {
    LOGFONT lf;
    TEXTMETRIC tm;
    int type = TRUETYPE_FONTTYPE;
};
// Every face of ScreenFontNames in that order.
std::vector<FontFace> EnumerateFontFaces();

} // namespace plat
