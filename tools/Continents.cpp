#include "Continents.h"

#include <algorithm>
#include <array>

namespace worldsrc {

namespace {

constexpr std::array<AreaName, 8> Names{{
    {AreaWorld, "World", "世界"},
    {AreaAfrica, "Africa", "アフリカ"},
    {AreaNorthAmerica, "North America", "北アメリカ"},
    {AreaSouthAmerica, "South America", "南アメリカ"},
    {AreaAntarctica, "Antarctica", "南極"},
    {AreaAsia, "Asia", "アジア"},
    {AreaEurope, "Europe", "ヨーロッパ"},
    {AreaOceania, "Oceania", "オセアニア"},
}};

struct Member {
    int16_t code;
    int16_t area;
};

// The regions of the UN Statistics Division's "Standard country or area codes
// for statistical use" (M49), with the Americas split in two: Northern
// America, Central America and the Caribbean are North America; South America
// (with Bouvet Island and South Georgia, as M49 has them) is South America.
// Antarctica has no M49 region and is its own area. Taiwan (158) goes with
// Eastern Asia. The codes 900 and up are our own for features without an ISO
// code (see CountryNames.cpp); each goes with the country it adjoins.
constexpr Member Table[] = {
    // Africa: Northern Africa
    {12, AreaAfrica}, {818, AreaAfrica}, {434, AreaAfrica}, {504, AreaAfrica}, {729, AreaAfrica},
    {788, AreaAfrica}, {732, AreaAfrica},
    // Africa: Eastern Africa
    {86, AreaAfrica}, {108, AreaAfrica}, {174, AreaAfrica}, {262, AreaAfrica}, {232, AreaAfrica},
    {231, AreaAfrica}, {260, AreaAfrica}, {404, AreaAfrica}, {450, AreaAfrica}, {454, AreaAfrica},
    {480, AreaAfrica}, {175, AreaAfrica}, {508, AreaAfrica}, {638, AreaAfrica}, {646, AreaAfrica},
    {690, AreaAfrica}, {706, AreaAfrica}, {728, AreaAfrica}, {800, AreaAfrica}, {834, AreaAfrica},
    {894, AreaAfrica}, {716, AreaAfrica},
    // Africa: Middle Africa
    {24, AreaAfrica}, {120, AreaAfrica}, {140, AreaAfrica}, {148, AreaAfrica}, {178, AreaAfrica},
    {180, AreaAfrica}, {226, AreaAfrica}, {266, AreaAfrica}, {678, AreaAfrica},
    // Africa: Southern Africa
    {72, AreaAfrica}, {748, AreaAfrica}, {426, AreaAfrica}, {516, AreaAfrica}, {710, AreaAfrica},
    // Africa: Western Africa
    {204, AreaAfrica}, {854, AreaAfrica}, {132, AreaAfrica}, {384, AreaAfrica}, {270, AreaAfrica},
    {288, AreaAfrica}, {324, AreaAfrica}, {624, AreaAfrica}, {430, AreaAfrica}, {466, AreaAfrica},
    {478, AreaAfrica}, {562, AreaAfrica}, {566, AreaAfrica}, {654, AreaAfrica}, {686, AreaAfrica},
    {694, AreaAfrica}, {768, AreaAfrica},
    // Somaliland
    {902, AreaAfrica},
    // Guantanamo Bay, Clipperton Island, Bajo Nuevo Bank, Serranilla Bank (1:10m only)
    {906, AreaNorthAmerica}, {912, AreaNorthAmerica}, {913, AreaNorthAmerica}, {914, AreaNorthAmerica},

    // North America: Caribbean
    {660, AreaNorthAmerica}, {28, AreaNorthAmerica}, {533, AreaNorthAmerica}, {44, AreaNorthAmerica},
    {52, AreaNorthAmerica}, {535, AreaNorthAmerica}, {92, AreaNorthAmerica}, {136, AreaNorthAmerica},
    {192, AreaNorthAmerica}, {531, AreaNorthAmerica}, {212, AreaNorthAmerica}, {214, AreaNorthAmerica},
    {308, AreaNorthAmerica}, {312, AreaNorthAmerica}, {332, AreaNorthAmerica}, {388, AreaNorthAmerica},
    {474, AreaNorthAmerica}, {500, AreaNorthAmerica}, {630, AreaNorthAmerica}, {652, AreaNorthAmerica},
    {659, AreaNorthAmerica}, {662, AreaNorthAmerica}, {663, AreaNorthAmerica}, {670, AreaNorthAmerica},
    {534, AreaNorthAmerica}, {780, AreaNorthAmerica}, {796, AreaNorthAmerica}, {850, AreaNorthAmerica},
    // North America: Central America
    {84, AreaNorthAmerica}, {188, AreaNorthAmerica}, {222, AreaNorthAmerica}, {320, AreaNorthAmerica},
    {340, AreaNorthAmerica}, {484, AreaNorthAmerica}, {558, AreaNorthAmerica}, {591, AreaNorthAmerica},
    // North America: Northern America
    {60, AreaNorthAmerica}, {124, AreaNorthAmerica}, {304, AreaNorthAmerica}, {666, AreaNorthAmerica},
    {840, AreaNorthAmerica},

    // South America
    {32, AreaSouthAmerica}, {68, AreaSouthAmerica}, {74, AreaSouthAmerica}, {76, AreaSouthAmerica},
    {152, AreaSouthAmerica}, {170, AreaSouthAmerica}, {218, AreaSouthAmerica}, {238, AreaSouthAmerica},
    {254, AreaSouthAmerica}, {328, AreaSouthAmerica}, {600, AreaSouthAmerica}, {604, AreaSouthAmerica},
    {239, AreaSouthAmerica}, {740, AreaSouthAmerica}, {858, AreaSouthAmerica}, {862, AreaSouthAmerica},

    {10, AreaAntarctica},

    // Asia: Central Asia
    {398, AreaAsia}, {417, AreaAsia}, {762, AreaAsia}, {795, AreaAsia}, {860, AreaAsia},
    // Asia: Eastern Asia
    {156, AreaAsia}, {344, AreaAsia}, {446, AreaAsia}, {408, AreaAsia}, {392, AreaAsia},
    {496, AreaAsia}, {410, AreaAsia}, {158, AreaAsia},
    // Asia: South-eastern Asia
    {96, AreaAsia}, {116, AreaAsia}, {360, AreaAsia}, {418, AreaAsia}, {458, AreaAsia},
    {104, AreaAsia}, {608, AreaAsia}, {702, AreaAsia}, {764, AreaAsia}, {626, AreaAsia},
    {704, AreaAsia},
    // Asia: Southern Asia
    {4, AreaAsia}, {50, AreaAsia}, {64, AreaAsia}, {356, AreaAsia}, {364, AreaAsia},
    {462, AreaAsia}, {524, AreaAsia}, {586, AreaAsia}, {144, AreaAsia},
    // Asia: Western Asia
    {51, AreaAsia}, {31, AreaAsia}, {48, AreaAsia}, {196, AreaAsia}, {268, AreaAsia},
    {368, AreaAsia}, {376, AreaAsia}, {400, AreaAsia}, {414, AreaAsia}, {422, AreaAsia},
    {512, AreaAsia}, {634, AreaAsia}, {682, AreaAsia}, {275, AreaAsia}, {760, AreaAsia},
    {792, AreaAsia}, {784, AreaAsia}, {887, AreaAsia},
    // Northern Cyprus, Siachen Glacier
    {901, AreaAsia}, {904, AreaAsia},
    // Dhekelia, the Cyprus buffer zone, Baikonur, Akrotiri, the Spratly
    // Islands, Scarborough Shoal (1:10m only)
    {905, AreaAsia}, {907, AreaAsia}, {908, AreaAsia}, {909, AreaAsia}, {911, AreaAsia}, {915, AreaAsia},

    // Europe: Eastern Europe
    {112, AreaEurope}, {100, AreaEurope}, {203, AreaEurope}, {348, AreaEurope}, {616, AreaEurope},
    {498, AreaEurope}, {642, AreaEurope}, {643, AreaEurope}, {703, AreaEurope}, {804, AreaEurope},
    // Europe: Northern Europe
    {248, AreaEurope}, {208, AreaEurope}, {233, AreaEurope}, {234, AreaEurope}, {246, AreaEurope},
    {831, AreaEurope}, {352, AreaEurope}, {372, AreaEurope}, {833, AreaEurope}, {832, AreaEurope},
    {428, AreaEurope}, {440, AreaEurope}, {578, AreaEurope}, {744, AreaEurope}, {752, AreaEurope},
    {826, AreaEurope},
    // Europe: Southern Europe
    {8, AreaEurope}, {20, AreaEurope}, {70, AreaEurope}, {191, AreaEurope}, {292, AreaEurope},
    {300, AreaEurope}, {336, AreaEurope}, {380, AreaEurope}, {470, AreaEurope}, {499, AreaEurope},
    {807, AreaEurope}, {620, AreaEurope}, {674, AreaEurope}, {688, AreaEurope}, {705, AreaEurope},
    {724, AreaEurope},
    // Europe: Western Europe
    {40, AreaEurope}, {56, AreaEurope}, {250, AreaEurope}, {276, AreaEurope}, {438, AreaEurope},
    {442, AreaEurope}, {492, AreaEurope}, {528, AreaEurope}, {756, AreaEurope},
    // Kosovo
    {983, AreaEurope},

    // Oceania: Australia and New Zealand
    {36, AreaOceania}, {162, AreaOceania}, {166, AreaOceania}, {334, AreaOceania}, {554, AreaOceania},
    {574, AreaOceania},
    // Oceania: Melanesia
    {242, AreaOceania}, {540, AreaOceania}, {598, AreaOceania}, {90, AreaOceania}, {548, AreaOceania},
    // Oceania: Micronesia
    {316, AreaOceania}, {296, AreaOceania}, {584, AreaOceania}, {583, AreaOceania}, {520, AreaOceania},
    {580, AreaOceania}, {585, AreaOceania}, {581, AreaOceania},
    // Oceania: Polynesia
    {16, AreaOceania}, {184, AreaOceania}, {258, AreaOceania}, {570, AreaOceania}, {612, AreaOceania},
    {882, AreaOceania}, {772, AreaOceania}, {776, AreaOceania}, {798, AreaOceania}, {876, AreaOceania},
    // Australia's Indian Ocean Territories; the Coral Sea Islands (1:10m only)
    {903, AreaOceania}, {910, AreaOceania},
};

} // namespace

std::span<const AreaName> AreaNames() { return Names; }

int16_t ContinentOf(int code) {
    const auto it = std::find_if(std::begin(Table), std::end(Table), [&](const Member& m) { return m.code == code; });
    return it == std::end(Table) ? int16_t(-1) : it->area;
}

} // namespace worldsrc
