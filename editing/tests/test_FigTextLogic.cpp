#include <gtest/gtest.h>

#include "PointDialogTestSupport.h"

using namespace edittest;

namespace {

using TextDialog = PointDialog<FigTextLogic>;

const clsMapText& TextOf(const MapFigurePtr& f) { return dynamic_cast<const clsMapText&>(*f); }

} // namespace

TEST(FigTextNames, EscapesResolveToSingleBytes) {
    struct Case {
        QByteArray typed, stored;
    } cases[] = {
        {"Z&hFCrich", "Z\xFCrich"},
        {"Ab&h4", "Ab&h4"},  // begins within the last three bytes
        {"&&h41", "&A"},
        {"&HfcX&h41", "\xFCXA"},
        {"&h4Z!", QByteArray("\x04!")},  // a non-digit ends the number
        {"&&h26h41", "&&h41"},  // the "&" made is not read as the start of another
        {"abc", "abc"},
    };
    for (const Case& c : cases) EXPECT_EQ(FigTextLogic::ResolveEscapes(c.typed), c.stored) << c.typed.constData();
}

TEST(FigTextNames, TheEuropeanBoxStoresLatin1Bytes) {
    TextDialog d;
    struct Case {
        QString typed;
        QByteArray stored;
        QString shown;
    } cases[] = {
        {"Z&hFCrich", "Z\xFCrich", QStringLiteral("Zürich")},
        {"Cha^teau", "Ch\xE2teau", QStringLiteral("Château")},
        {"x", "x", "x"},  // one letter is shown, not an empty box
        {"", QByteArray(1, '\0'), ""},
        {QStringLiteral("東京"), "??", "??"},
    };
    for (const Case& c : cases) {
        d->CommitEuropian(c.typed);
        EXPECT_EQ(d->Text().TextAnsi(1), c.stored) << c.typed.toStdString();
        EXPECT_EQ(d->EuropianText(), c.shown);
    }
    d->CommitJapanese(QStringLiteral("東京"));
    EXPECT_EQ(d->Text().TextAnsi(2), QByteArray("\x93\x8c\x8b\x9e"));
    EXPECT_EQ(TextOf(d.figure).TextAnsi(1), QByteArray(1, '\0'));  // the figure waits for OK
}

TEST(FigTextAngle, WholeDegreesWithinHalfATurn) {
    struct Case {
        QString typed;
        bool taken;
        int32_t angle;
    } cases[] = {
        {"45", true, 45},   {"-90.5", true, -90},   {"180", true, 180}, {"-180", true, -180},
        {"359", false, 30}, {"180.1", false, 30}, {"読めない", true, 0},  // unreadable text reads as 0
    };
    for (const Case& c : cases) {
        TextDialog d;
        d->SliderScroll(30);
        testsupport::ScriptedBoxes boxes;
        if (!c.taken) boxes.expect("-180～+180", plat::IdOk);
        EXPECT_EQ(d->CommitAngle(c.typed), c.taken) << c.typed.toStdString();
        EXPECT_EQ(d->Angle(), c.angle) << c.typed.toStdString();
        EXPECT_EQ(d->AngleText(), QString::number(c.angle));
    }
}

TEST(FigTextPaste, PastedNamesNameThePastedTextsInOrder) {
    TextDialog d;
    d->CommitEuropian("Base");
    d->CommitJapanese(QStringLiteral("基地"));
    d.paste("E10 N20 E11 N21 E12 N22", "3個の図形を生成します.");
    EXPECT_TRUE(d->PasteNames(1, "Z&hFCrich,K&hF6ln"));
    EXPECT_EQ(d->EuropianText(), QStringLiteral("Zürich"));  // through the box
    EXPECT_TRUE(d->PasteNames(2, QStringLiteral("\"東京,都\"\r\n\r\n大阪\r\n")));
    EXPECT_EQ(d->Names(2), QStringList({QStringLiteral("東京,都"), QStringLiteral("大阪")}));  // blank lines give none
    ASSERT_EQ(d->OkClick(), OkOutcome::Closed);
    const FigureList& r = *d.vars.Results;
    ASSERT_EQ(r.size(), 3u);
    QStringList europian, japanese;
    for (const MapFigurePtr& f : r) {
        europian << TextOf(f).TextUnicode(1);
        japanese << TextOf(f).TextUnicode(2);
    }
    // The list's names are not escaped; the third text keeps the first's.
    EXPECT_EQ(europian, QStringList({QStringLiteral("Zürich"), "K&hF6ln", QStringLiteral("Zürich")}));
    EXPECT_EQ(japanese, QStringList({QStringLiteral("東京,都"), QStringLiteral("大阪"), QStringLiteral("東京,都")}));

    TextDialog e;
    e->CommitEuropian("Base");
    EXPECT_FALSE(e->PasteNames(1, ",Second"));  // an empty first name leaves the box
    EXPECT_EQ(e->EuropianText(), "Base");
    EXPECT_EQ(e->Names(1), QStringList({"", "Second"}));
}

TEST(FigTextPair, TextsAndTheirSymbolsAlternate) {
    TextDialog d;
    d->Work().setOwnColor(0x0000FF);
    d->Work().setOwnShowMode(1);
    d->setPairOn(true);
    d->setPairThingName("dot");  // names match in any case
    d.paste("E10 N20 E11 N21 E12 N22", "3個の図形を生成します.");
    const double id = d.figure->FigID();
    ASSERT_EQ(d->OkClick(), OkOutcome::Closed);
    const FigureList& r = *d.vars.Results;
    ASSERT_EQ(r.size(), 6u);
    const PolyPoint anchors[] = {{Deg(10), Deg(20)}, {Deg(11), Deg(21)}, {Deg(12), Deg(22)}};
    for (size_t i = 0; i < r.size(); ++i) {
        const auto& f = static_cast<const MapPointFigure&>(*r[i]);
        EXPECT_EQ(f.FigCode(), i % 2 ? 4 : 5) << i;
        EXPECT_EQ(f.Position(), anchors[i / 2]) << i;
        EXPECT_EQ(std::tuple(f.Admin(), f.Thing(), f.OwnColor(), f.OwnShowMode()),
                  std::tuple(12, i % 2 ? 4 : 1, 0x0000FF, 1))
            << i;
    }
    EXPECT_EQ(r[0]->FigID(), id);
    EXPECT_TRUE(r[1]->FigID() != id && r[1]->FigID() != r[3]->FigID());
    // The pair setting is there for the next text.
    d.reload();
    EXPECT_TRUE(d->PairOn());
    const ChoiceList things = d->PairThingChoices();
    EXPECT_EQ(things.texts, QStringList({"Star", "Dot"}));
    EXPECT_EQ(things.selected, 1);
}

TEST(FigTextPair, APairWithoutAThingIsRefusedNotLost) {
    TextDialog d(1, false);  // the catalogue has no symbol things
    d->PairThingClick(QString());
    EXPECT_TRUE(d->PairOn());
    EXPECT_TRUE(d->PairThingChoices().isEmpty());
    {
        testsupport::ScriptedBoxes boxes;
        boxes.expect("ペアで生成する点記号図形の事象名がありません.", plat::IdOk);
        EXPECT_EQ(d->OkClick(), OkOutcome::Stay);
        EXPECT_FALSE(d.vars.OK || d.vars.Results);
    }
    d->setPairOn(false);
    ASSERT_EQ(d->OkClick(), OkOutcome::Closed);
    EXPECT_EQ(d.vars.Results->size(), 1u);
    EXPECT_FALSE(TextPair().PairSymbol);
    // An invalid text is asked about before the pair, and the setting is kept.
    TextDialog e;
    e.vars.Figure = NewMapFigure(5);  // neither district nor thing
    e.reload();
    e->setPairOn(true);
    testsupport::ScriptedBoxes boxes;
    boxes.expect(QStringLiteral("設定に誤りがあります."), plat::IdCancel);
    EXPECT_EQ(e->OkClick(), OkOutcome::Cancelled);
    EXPECT_TRUE(TextPair().PairSymbol);
}
