// The names the shipped maps show at the scales a reader looks at a
// continent or a country with, counted from their catalogues: a name shows
// where its thing's visible range holds the scale.
#include "WorldStyles.h"

#include "TestSupport.h"

#include "basGlobe.h"
#include "clsMap.h"
#include "clsMapText.h"
#include "clsThings.h"
#include "TextFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace worldsrc;

namespace {

const QString MapFolder = QStringLiteral(KAL_SOURCE_DIR "/data/maps");

// The European names of a map's texts of one tier kind shown at `scale`.
std::set<QString> NamesShown(const char* map, int16_t tierBase, double scale) {
    const QString path = MapFolder + QLatin1Char('/') + QString::fromLatin1(map);
    clsMap m;
    m.setMapMode(1);
    m.setFileName(path + QStringLiteral(".MLL"));
    EXPECT_EQ(m.Load(), 0) << map;
    clsThings things;
    things.setFileName(path + QStringLiteral(".THG"));
    EXPECT_EQ(things.Load(), 0) << map;
    std::set<QString> out;
    for (const MapFigurePtr& f : m) {
        if (f->FigCode() != 5 || f->Thing() <= tierBase || f->Thing() > tierBase + 53) continue;
        const ThingPtr& t = things.Item(f->Thing());
        if (t && t->IsPrint(scale)) out.insert(QString::fromLatin1(static_cast<const clsMapText&>(*f).TextAnsi(1)));
    }
    return out;
}

} // namespace

// An atlas of Europe at these scales names every capital of its larger
// countries; the maps of the other continents name their capitals alike.
TEST(ShippedNames, CapitalsAtContinentScales) {
    testsupport::ScriptedBoxes boxes;
    const QStringList europe = QStringLiteral(
        "London Paris Berlin Madrid Rome Lisbon Dublin Amsterdam Brussels Bern Vienna Prague Warsaw Budapest "
        "Bratislava Ljubljana Zagreb Belgrade Sarajevo Sofia Bucharest Athens Tirana Skopje Copenhagen Oslo "
        "Stockholm Helsinki Tallinn Riga Vilnius Minsk Kyiv Chisinau Moscow Ankara").split(QLatin1Char(' '));
    ASSERT_EQ(europe.size(), 36);
    const struct {
        const char* map;
        double scale;
        int europe;        // of the 36
        double world;      // share of the map's capitals
    } views[] = {{"WORLD_A3", 25000000, 30, 0.85}, {"WORLD_A4", 15000000, 36, 0.93}};
    for (const auto& v : views) {
        SCOPED_TRACE(v.map);
        const std::set<QString> shown = NamesShown(v.map, tier::CapitalName, v.scale);
        QStringList missing;
        for (const QString& c : europe)
            if (!shown.count(c)) missing << c;
        EXPECT_GE(europe.size() - missing.size(), v.europe) << "lacks " << missing.join(QLatin1Char(' ')).toStdString();
        const size_t all = NamesShown(v.map, tier::CapitalName, MapScaleMin).size();
        EXPECT_GT(all, 200u);
        EXPECT_GE(double(shown.size()), v.world * double(all)) << shown.size() << " of " << all;
    }
}

// Country names keep their room beside the capitals: nearly as many as
// before the capitals had theirs (166 and 199 then).
TEST(ShippedNames, CountriesBesideTheCapitals) {
    testsupport::ScriptedBoxes boxes;
    EXPECT_GE(NamesShown("WORLD_A3", tier::CountryName, 25000000).size(), 150u);
    EXPECT_GE(NamesShown("WORLD_A4", tier::CountryName, 15000000).size(), 190u);
    for (const char* country : {"Germany", "Poland", "Bulgaria", "Iceland"})
        EXPECT_TRUE(NamesShown("WORLD_A3", tier::CountryName, 25000000).count(QString::fromLatin1(country))) << country;
}

// A Japanese map shows a name in kana or kanji, or none: never Latin letters
// (a romanisation or the European name).
TEST(ShippedNames, JapaneseNamesInJapaneseScript) {
    for (const char* map : {"WORLD_T3", "WORLD_A1", "WORLD_A2", "WORLD_A3", "WORLD_A4", "WORLD_A5", "WORLD_A6", "JAPAN_A7", "JAPAN_A8"}) {
        clsMap m;
        m.setMapMode(1);
        m.setFileName(MapFolder + QLatin1Char('/') + QString::fromLatin1(map) + QStringLiteral(".MLL"));
        ASSERT_EQ(m.Load(), 0) << map;
        QStringList latin;
        for (const MapFigurePtr& f : m) {
            if (f->FigCode() != 5) continue;
            const QString name = plat::DecodeCp932(static_cast<const clsMapText&>(*f).TextAnsi(2));
            if (std::any_of(name.begin(), name.end(), [](QChar c) { return c.isLetter() && c.unicode() < 0x250; }))
                latin << name;
        }
        EXPECT_TRUE(latin.isEmpty()) << map << ": " << latin.join(QStringLiteral(", ")).toStdString();
    }
}

// Japan's maps and the start map keep the names they showed before capitals
// had their room (236, 654 and 176 in the data before).
TEST(ShippedNames, OtherMapsKeepTheirNames) {
    testsupport::ScriptedBoxes boxes;
    EXPECT_GE(NamesShown("JAPAN_A7", tier::CityName, 1000000).size(), 236u);
    EXPECT_GE(NamesShown("JAPAN_A8", tier::CityName, 220000).size(), 654u);
    EXPECT_GE(NamesShown("WORLD_T3", tier::CountryName, 20000000).size(), 176u);
}
