// The font object that settings, styles and accessories hold by reference.
#pragma once

#include <QString>

#include <memory>

namespace plat {

struct StdFont {
    QString name = QStringLiteral("ＭＳ Ｐゴシック");
    double size = 9;          // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int weight = 400;
    int charset = 128;        // Shift-JIS
};

using FontRef = std::shared_ptr<StdFont>;

inline FontRef MakeFont(const StdFont& f = StdFont()) { return std::make_shared<StdFont>(f); }

} // namespace plat
