#include <gtest/gtest.h>

#include "PointDialogTestSupport.h"

using namespace edittest;

namespace {

using SymbolDialog = PointDialog<FigSymbolLogic>;
const QString kRangeMessage = QStringLiteral("既定の範囲を超えています.");
const QString kNoData = QStringLiteral("有効なデータがありません.");

std::vector<PolyPoint> AnchorsOf(const FigureList& figures) {
    std::vector<PolyPoint> anchors;
    for (const MapFigurePtr& f : figures) anchors.push_back(static_cast<const MapPointFigure&>(*f).Position());
    return anchors;
}

// Child windows played by a test from a dialog at (1000, 2000).
struct Windows {
    FigPolyWindows previous;
    explicit Windows(FigPolyWindows w) : previous(SetFigPolyWindows(std::move(w))) {}
    ~Windows() { SetFigPolyWindows(std::move(previous)); }
};

} // namespace

TEST(FigPointAnchor, TypedCoordinatesInRangeAreTakenOthersRestored) {
    struct Case {
        int mode;
        bool isX;
        QString typed;
        bool taken;
        int32_t stored;  // the coordinate afterwards
    } cases[] = {
        {1, true, "W10", true, -Deg(10)},
        {1, false, "S20.5", true, -Deg(20.5)},
        {1, true, "E181", false, Deg(139)},
        {1, false, "N91", false, Deg(35)},
        {1, true, "何か", false, Deg(139)},  // does not read
        {2, true, "-1200", true, -1200000},  // kilometres
        {2, false, "99999", false, Deg(35)},
    };
    for (const Case& c : cases) {
        SymbolDialog d(c.mode);
        const QString shownBefore = c.isX ? d->XText() : d->YText();
        testsupport::ScriptedBoxes boxes;
        if (!c.taken) boxes.expect(kRangeMessage, plat::IdOk);
        EXPECT_EQ(c.isX ? d->CommitX(c.typed) : d->CommitY(c.typed), c.taken) << c.typed.toStdString();
        const MapPointFigure& p = d->Point();
        EXPECT_EQ(c.isX ? p.mx() : p.my(), c.stored) << c.typed.toStdString();
        if (!c.taken) {
            EXPECT_EQ(c.isX ? d->XText() : d->YText(), shownBefore);
        }
        EXPECT_EQ(static_cast<MapPointFigure&>(*d.figure).Position(), (PolyPoint{Deg(139), Deg(35)}));
    }
    // The text as shown changes nothing, even where the notation is coarser
    // than the value.
    SymbolDialog d(2);
    d->Point().setMx(1234567);
    EXPECT_EQ(d->XText(), QStringLiteral("1234.567km"));
    EXPECT_TRUE(d->CommitX(d->XText()));
    EXPECT_EQ(d->Point().mx(), 1234567);
}

TEST(FigPointPaste, EachPastedPointMakesAFigure) {
    SymbolDialog d;
    EXPECT_EQ(d->PositionCaption(), QStringLiteral("アンカー座標"));
    d.paste("E10 N20", "1個の図形を生成します.");
    EXPECT_EQ(d->PositionCaption(), QStringLiteral("座標 [1図形]"));
    EXPECT_EQ(d->Point().Position(), (PolyPoint{Deg(10), Deg(20)}));

    d.paste("E10 N20\nE11 N21\r\nE12 N22", "3個の図形を生成します.");
    EXPECT_EQ(d->PositionCaption(), QStringLiteral("座標 [3図形]"));
    ASSERT_TRUE(d->CommitX("E15"));  // the boxes decide the first anchor
    d->Work().setOwnColor(0x00FF00);
    d->Work().setOwnShowMode(1);
    d->Work().setAdmin(30);
    const double id = d.figure->FigID();
    ASSERT_EQ(d->OkClick(), OkOutcome::Closed);
    const FigureList& results = *d.vars.Results;
    EXPECT_EQ(AnchorsOf(results), (std::vector<PolyPoint>{{Deg(15), Deg(20)}, {Deg(11), Deg(21)}, {Deg(12), Deg(22)}}));
    EXPECT_EQ(results[0]->FigID(), id);
    EXPECT_NE(d.figure->FigID(), id);
    for (const MapFigurePtr& f : results) {
        EXPECT_EQ(f->FigCode(), 4);
        EXPECT_EQ(std::tuple(f->Admin(), f->Thing(), f->OwnColor(), f->OwnShowMode()), std::tuple(30, 3, 0x00FF00, 1));
    }
    EXPECT_NE(results[1]->FigID(), results[2]->FigID());
    EXPECT_NE(results[1]->FigID(), id);
}

TEST(FigPointPaste, AnEmptyOrRefusedPasteForgetsTheEarlierOne) {
    SymbolDialog d;
    d.paste("E10 N20 E11 N21 E12 N22", "3個の図形を生成します.");
    d.paste("何もない", kNoData);
    EXPECT_EQ(d->PositionCaption(), QStringLiteral("座標"));
    EXPECT_EQ(d->PastedCount(), 0);
    d.paste("E10 N20 E11 N95", kNoData, kRangeMessage);  // one point off the map refuses the paste
    EXPECT_EQ(d->Point().Position(), (PolyPoint{Deg(10), Deg(20)}));  // from the first paste
    ASSERT_EQ(d->OkClick(), OkOutcome::Closed);
    EXPECT_EQ(d.vars.Results->size(), 1u);
}

TEST(FigPointWindows, MapAndTraceMoveTheAnchorWhenInstalled) {
    {
        SymbolDialog d;
        testsupport::ScriptedBoxes boxes;
        boxes.expect("地図上の編集画面は組み込まれていません.", plat::IdOk);
        boxes.expect("トレース画面は組み込まれていません.", plat::IdOk);
        d->OnMapClick();
        d->TraceClick();
        EXPECT_EQ(d->Point().Position(), (PolyPoint{Deg(139), Deg(35)}));
    }
    DrawWindowRequest drawn;
    TraceWindowRequest traced;
    bool answer = false;
    Windows w({[&](DrawWindowRequest& r) {
                   drawn = r;
                   r.PointX = Deg(1);
                   r.PointY = Deg(2);
                   return answer;
               },
               [&](TraceWindowRequest& r) {
                   traced = r;
                   r.PointX = Deg(3);
                   r.PointY = Deg(4);
                   return answer;
               },
               {}, {}});
    SymbolDialog d;
    d->windowCorner = [] { return plat::DialogPosition{1000, 2000}; };
    d->OnMapClick();
    d->TraceClick();
    EXPECT_EQ(d->Point().Position(), (PolyPoint{Deg(139), Deg(35)}));  // both cancelled
    EXPECT_FALSE(drawn.polyMode || traced.polyMode);
    EXPECT_EQ(std::tuple(drawn.PointX, drawn.PointY, drawn.CenterView), std::tuple(Deg(139), Deg(35), true));
    EXPECT_EQ(std::tuple(drawn.firstPosition.left, drawn.firstPosition.top), std::tuple(1600, 2600));
    EXPECT_EQ(std::tuple(traced.PointX, traced.PointY, traced.firstPosition.left), std::tuple(Deg(139), Deg(35), 1600));
    answer = true;
    d->OnMapClick();
    EXPECT_EQ(d->Point().Position(), (PolyPoint{Deg(1), Deg(2)}));
    d->TraceClick();
    EXPECT_EQ(d->Point().Position(), (PolyPoint{Deg(3), Deg(4)}));
    SymbolDialog xy(2);  // no tracing on an X/Y map
    traced = {};
    xy->TraceClick();
    EXPECT_EQ(traced.PointX, 0);
    EXPECT_EQ(xy->Point().Position(), (PolyPoint{Deg(139), Deg(35)}));
}
