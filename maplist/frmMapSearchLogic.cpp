#include "frmMapSearchLogic.h"

#include "MapListHost.h"
#include "basAngle.h"
#include "basColorLib.h"
#include "basHMapCoord.h"
#include "basLibrary.h"

namespace {

void Remember(QStringList& history, const QString& text) {
    if (!text.isEmpty() && (history.isEmpty() || history.last() != text)) history.append(text);
}

} // namespace

void frmMapSearchLogic::Load() {
    nodes_.clear();
    const int32_t n = NodePoly ? NodePoly->Count() : 0;
    for (int32_t i = 1; i <= n; ++i)
        nodes_ << QStringLiteral("%1 %2 %3").arg(i % 100000, 5, 10, QLatin1Char('0')).arg(MapXToStr(NodePoly->x(i)), MapYToStr(NodePoly->y(i)));
    if (nodes_.isEmpty() && Target == 3) Target = 2;
    Command = 0;
}

void frmMapSearchLogic::TargetClick(int32_t target) { Target = target; }

frmMapSearchLogic::KeyControls frmMapSearchLogic::Enabled() const {
    KeyControls k;
    k.keyword = Target == 1 || Target == 2;
    k.replace = Target == 2;
    k.node = Target == 3 && nodes_.size() >= 2;
    k.palette = Target == 4;
    return k;
}

frmMapSearchLogic::Focus frmMapSearchLogic::FocusOnActivate() const {
    switch (Target) {
    case 1:
    case 2: return Focus::Keyword;
    case 3: return Enabled().node ? Focus::Node : Focus::Search;
    case 4: return Focus::Palette;
    default: return Focus::Search;
    }
}

QString frmMapSearchLogic::PaletteCaption() const {
    return Color == -1 ? QStringLiteral("事象依存") : QStringLiteral("BGR=") + ColorToHex(Color);
}

void frmMapSearchLogic::PaletteClick() {
    const int32_t c = maplisthost::InputNativeColor(Color);
    if (c >= -1) Color = c;
}

void frmMapSearchLogic::Close(int32_t command, const QString& keywordText, const QString& replaceText, int nodeIndex) {
    Command = command;
    Keyword = keywordText;
    ReplaceWord = replaceText;
    if (NodePoly && nodeIndex >= 0 && nodeIndex < NodePoly->Count()) {
        PosX = NodePoly->x(nodeIndex + 1);
        PosY = NodePoly->y(nodeIndex + 1);
    }
    bool empty = false;
    if (Target == 1) Keyword = NormalizeKeyword(keywordText, nullptr, &empty);
    if (Command == 3) Direction = 2;
    if (empty) return;
    Remember(KeywordHistory, Keyword);
    Remember(ReplaceHistory, ReplaceWord);
}

QString frmMapSearchLogic::NormalizeKeyword(const QString& text, bool* angles, bool* empty) {
    if (angles) *angles = false;
    if (empty) *empty = false;
    QString s = text;
    s.replace(QLatin1Char('"'), QStringLiteral("秒"));
    if (s.contains(QLatin1Char('.')) && s.contains(QLatin1Char(','))) {
        s.replace(QLatin1Char(','), QStringLiteral("分"));
        s.replace(QLatin1Char('.'), QStringLiteral("度"));
    }
    const QStringList tokens = StrToTokens(s, 0);
    if (tokens.isEmpty() || tokens.first().isEmpty()) {
        if (empty) *empty = true;
        return text;
    }
    QString rebuilt;
    bool found = false;
    for (const QString& t : tokens) {
        switch (AngleKindOf(t)) {
        case 1:
            rebuilt += LonToStr(AngleStrToSec(t)) + QLatin1Char(',');
            found = true;
            break;
        case 2:
            rebuilt += LatToStr(AngleStrToSec(t)) + QLatin1Char(',');
            found = true;
            break;
        default: rebuilt += t + QLatin1Char(' '); break;
        }
    }
    rebuilt.chop(1);
    if (angles) *angles = found;
    return found ? rebuilt : text;
}
