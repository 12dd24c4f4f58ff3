// Installed fonts, with the face names used on the original platform
// (ＭＳ Ｐゴシック, メイリオ, Arial ...) resolved to installed families.
#pragma once

#include <QString>
#include <QStringList>

namespace plat {

// The family actually used for a face name; the name itself when installed.
QString ResolveFontFamily(const QString& face);
// The screen fonts a user may choose: the installed families and the
// original face names that resolve to an installed family.
QStringList ScreenFontNames();

} // namespace plat
