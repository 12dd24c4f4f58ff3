// The text dialog's names, angle, pair and OK.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "MessageBox.h"
#include "basAngle.h"
#include "basHMapEdit.h"
#include "basLibrary.h"
#include "clsThings.h"
#include "frmFigText.h"

namespace {

// The value of a hexadecimal digit; -1 for any other character.
int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

} // namespace

TextPairMemory& TextPair() {
    static TextPairMemory memory;
    return memory;
}

void ResetTextPair() { TextPair() = TextPairMemory(); }

FigTextLogic::FigTextLogic(FigureDialogVars& vars) : FigPointLogic(vars, QStringLiteral("文字列図形プロパティ"), 5) {}

bool FigTextLogic::Load() {
    if (!LoadPoint()) return false;
    europian_ = QStringList{QString()};
    japanese_ = QStringList{QString()};
    pairOn_ = TextPair().PairSymbol;
    pairThing_ = TextPair().PairThingName;
    return true;
}

// -- names

QString FigTextLogic::EuropianText() const {
    // A QByteArray ends in a 0 byte of its own: the letters up to the first.
    const QByteArray bytes = Text().TextAnsi(1);
    return QString::fromLatin1(bytes.constData());
}

QByteArray FigTextLogic::ResolveEscapes(QByteArray b) {
    for (qsizetype i = 0; i + 3 < b.size(); ++i) {
        if (b[i] != '&' || (b[i + 1] != 'H' && b[i + 1] != 'h')) continue;
        int value = 0;
        for (qsizetype k = i + 2; k <= i + 3; ++k) {
            const int d = HexDigit(b[k]);
            if (d < 0) break;
            value = value * 16 + d;
        }
        b[i] = static_cast<char>(value);
        b.remove(i + 1, 3);
    }
    return b;
}

void FigTextLogic::CommitEuropian(const QString& typed) {
    const QByteArray bytes = typed.isEmpty() ? QByteArray(1, '\0') : ResolveEscapes(typed.toLatin1());
    Text().setTextAnsi(1, bytes);
}

bool FigTextLogic::PasteNames(int32_t lang, const QString& text) {
    QStringList& names = lang == 1 ? europian_ : japanese_;
    names = StrToTokens(text, 2);
    if (names.front().isEmpty()) return false;
    if (lang == 1) CommitEuropian(names.front());
    else CommitJapanese(names.front());
    return true;
}

bool FigTextLogic::NamePasteClick(int32_t lang) {
    const QClipboard* clip =
        qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
    const QMimeData* data = clip ? clip->mimeData() : nullptr;
    if (!data || !data->hasText()) return false;
    return PasteNames(lang, data->text());
}

// -- angle

bool FigTextLogic::CommitAngle(const QString& typed) {
    if (typed == AngleText()) return true;
    const int32_t s = AngleStrToSec(typed);
    if (s < -648000 || s > 648000) {
        MsgOutOfRange(QStringLiteral("-180～+180"));
        return false;
    }
    Text().setAngle(s / 3600);
    return true;
}

// -- the pair

ChoiceList FigTextLogic::PairThingChoices() const {
    clsMapSymbol probe;
    const clsThings& things = Vars().MapUnit->Things();
    probe.setThing(things.Search(pairThing_));
    // The pair's thing is read back from the list's text: a name not found
    // falls to the first entry, which OK then stores.
    ChoiceList list = ThingComboChoices(things, probe);
    if (list.selected < 0 && !list.isEmpty()) list.selected = 0;
    return list;
}

void FigTextLogic::PairThingClick(const QString& name) {
    pairThing_ = name;
    pairOn_ = true;
}

std::shared_ptr<clsMapSymbol> FigTextLogic::makePair() const {
    auto pair = std::make_shared<clsMapSymbol>();
    const clsMapText& text = Text();
    pair->setAdmin(text.Admin());
    const int16_t thing = Vars().MapUnit->Things().Search(pairThing_);
    if (thing >= -1) pair->setThing(thing);
    pair->setOwnShowMode(text.OwnShowMode());
    pair->setOwnColor(text.OwnColor());
    pair->setPosition(text.Position());
    return pair;
}

OkOutcome FigTextLogic::OkClick() {
    TextPair() = {pairOn_, pairThing_};
    if (!Work().IsRight()) return AskCorrectSettings() ? OkOutcome::Stay : OkOutcome::Cancelled;
    std::shared_ptr<clsMapSymbol> pair;
    if (pairOn_) {
        pair = makePair();
        // Without a thing the map would refuse the symbol after OK.
        if (!pair->IsRight()) {
            plat::MsgBox(QStringLiteral("ペアで生成する点記号図形の事象名がありません.\r"
                                        "点記号の事象名を選ぶか, 生成をやめてください."),
                         plat::MbExclamation);
            return OkOutcome::Stay;
        }
    }
    FigureList results{WorkPtr()};
    if (pair) results.push_back(pair);
    FigureList copies = PastedCopies(Work());
    for (size_t k = 0; k < copies.size(); ++k) {
        auto& text = static_cast<clsMapText&>(*copies[k]);
        const qsizetype entry = static_cast<qsizetype>(k) + 1;
        if (entry < europian_.size()) text.setTextUnicode(1, europian_[entry]);
        if (entry < japanese_.size()) text.setTextUnicode(2, japanese_[entry]);
        results.push_back(copies[k]);
        if (pair) {
            MapFigurePtr p = pair->Copy();
            static_cast<clsMapSymbol&>(*p).setPosition(text.Position());
            results.push_back(std::move(p));
        }
    }
    return Finish(std::move(results));
}
