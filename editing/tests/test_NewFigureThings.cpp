// New figures made through their real dialogs on a unit with the default
// catalogues, which have no thing 0: with the lists left as they open, OK
// stores the district and thing the dialog showed and the figure is drawn.
// An existing figure whose thing or district the catalogue lacks keeps it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "DialogPlayer.h"
#include "FigPolyTestSupport.h"
#include "MapPlotTestSupport.h"
#include "clsMapSymbol.h"
#include "frmFigSymbol.h"
#include "frmFigText.h"

using namespace edittest;

namespace {

struct ShownLists {
    QString admin, thing;
};

class DefaultCatalogues : public plottest::MapPlotTest {
protected:
    DefaultCatalogues() {
        SetAngleUnit(1);
        gvLanguage = 2;
        unit->setUnitName(QStringLiteral("/maps/USERMAP.MLL"));
        unit->Map().setMapMode(1);
        unit->Admins().setFileName(plottest::BundledMaps() + QStringLiteral("/DEFAULT.ADM"));
        unit->Things().setFileName(plottest::BundledMaps() + QStringLiteral("/DEFAULT.THG"));
        EXPECT_EQ(unit->Admins().Load(), 0);
        EXPECT_EQ(unit->Things().Load(), 0);
        EXPECT_FALSE(unit->Things().Item(0)) << "the case of a catalogue without thing 0";
        HMapEdit().EditMapUnit = unit;
        HMapEdit().EditPointX = Deg(11);
        HMapEdit().EditPointY = Deg(20);
        SetView(p, &dc, 1, Deg(11), Deg(20), 1e7);
    }

    // Creates a figure of a kind through its dialog, the lists untouched;
    // `fill` gives it what it needs besides.
    template <class Dialog>
    MapFigurePtr create(int kind, ShownLists& shown, const std::function<void(Dialog*)>& fill = {}) {
        testsupport::WhenModal<Dialog>([&](Dialog* dlg) {
            shown = {dlg->choAdmin->currentText(), dlg->choThing->currentText()};
            if (fill) fill(dlg);
            dlg->cmdOK->click();
        });
        const auto results = CreateMapFigure(kind);
        if (!results || results->empty()) return nullptr;
        return results->front();
    }
    QString thingName(const clsMapFigure& f) const {
        const ThingPtr& t = unit->Things().Item(f.Thing());
        return t ? t->Name() : QStringLiteral("(%1)").arg(f.Thing());
    }
    QString adminName(const clsMapFigure& f) const {
        const AdminPtr& a = unit->Admins().Item(f.Admin());
        return a ? a->AdminName() : QStringLiteral("(%1)").arg(f.Admin());
    }
    bool drawn(const MapFigurePtr& f) {
        EXPECT_TRUE(p.DrawStart());
        const bool done = p.DrawCell(unit->ToCell(f));
        p.DrawEnd();
        return done;
    }

    CleanEditing clean;
    CoordinateMode ll{1};
    MapUnitPtr unit = std::make_shared<clsMapUnit>();
    plat::RasterDC dc{plat::Bitmap::Create(800, 600, 32), 96};
    clsMapPlot p;
};

} // namespace

TEST_F(DefaultCatalogues, NewFiguresStoreWhatTheirDialogsShowAndAreDrawn) {
    auto pasteLine = [](const QString& nodes) {
        return [nodes](frmFigPoly* dlg) {
            QGuiApplication::clipboard()->setText(nodes);
            dlg->cmdPaste->click();
        };
    };
    ShownLists shown;
    const MapFigurePtr line = create<frmFigPoly>(2, shown, pasteLine(QStringLiteral("E10 N20 E11 N21 E12 N20")));
    ASSERT_TRUE(line);
    EXPECT_EQ(shown.thing, QStringLiteral("国境"));
    EXPECT_EQ(std::pair(adminName(*line), thingName(*line)), std::pair(shown.admin, shown.thing));
    EXPECT_TRUE(drawn(line));
    EXPECT_EQ(HMapEdit().EditLastAdminThing[1], line->Thing()) << "what was stored is remembered";

    // The remembered thing is a polyline's: a polygon takes the first of its own.
    const MapFigurePtr polygon =
        create<frmFigPoly>(3, shown, pasteLine(QStringLiteral("E10 N20 E11 N21 E12 N20 E10 N20")));
    ASSERT_TRUE(polygon);
    EXPECT_EQ(shown.thing, QStringLiteral("陸地"));
    EXPECT_EQ(thingName(*polygon), shown.thing);
    EXPECT_TRUE(drawn(polygon));

    // A district the catalogue lacks gives way to the first one as well.
    HMapEdit().EditLastAdminThing[0] = 999;
    const MapFigurePtr symbol = create<frmFigSymbol>(4, shown);
    ASSERT_TRUE(symbol);
    EXPECT_EQ(shown.thing, QStringLiteral("首都"));
    EXPECT_EQ(shown.admin, QStringLiteral("世界"));
    EXPECT_EQ(std::pair(adminName(*symbol), thingName(*symbol)), std::pair(shown.admin, shown.thing));
    EXPECT_TRUE(drawn(symbol));

    const MapFigurePtr text = create<frmFigText>(5, shown, [](frmFigText* dlg) {
        dlg->txtJapanese->setText(QStringLiteral("ナイル"));
    });
    ASSERT_TRUE(text);
    EXPECT_EQ(shown.thing, QStringLiteral("国名"));
    EXPECT_EQ(thingName(*text), shown.thing);
    EXPECT_TRUE(drawn(text));
}

TEST_F(DefaultCatalogues, AnExistingFigureKeepsAThingOrDistrictTheCatalogueLacks) {
    struct Case {
        int admin, thing;
    } cases[] = {
        {999, 99},  // neither in the catalogues
        {0, 1},     // a polygon's thing on a polyline
    };
    for (const Case& c : cases) {
        const MapFigurePtr line = NewMapFigure(2);
        line->setAdmin(c.admin);
        line->setThing(c.thing);
        line->setPoly(std::make_shared<clsPoly>(PolyOf({A, B, C})));
        const bool knownAdmin = unit->Admins().Item(c.admin) != nullptr;
        testsupport::WhenModal<frmFigPoly>([&](frmFigPoly* dlg) {
            EXPECT_EQ(dlg->choAdmin->currentIndex() >= 0, knownAdmin) << c.admin;
            EXPECT_EQ(dlg->choThing->currentIndex(), -1) << "no entry rather than a wrong one: " << c.thing;
            dlg->cmdOK->click();
        });
        const auto results = EditMapFigure(line);
        ASSERT_TRUE(results && results->size() == 1u);
        const std::pair<int, int> kept(results->front()->Admin(), results->front()->Thing());
        EXPECT_EQ(kept, std::pair(c.admin, c.thing));
    }
    EXPECT_EQ(HMapEdit().EditLastAdminThing, (std::array<int16_t, 2>{0, 0})) << "editing remembers nothing";
}
