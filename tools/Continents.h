// The areas (continents) that group the countries in the district catalogue.
#pragma once

#include <cstdint>
#include <span>

namespace worldsrc {

// Area codes. Area 0 is the whole world: the district pickers list every
// district under it, so no country belongs to it and continents start at 1.
enum Area : int16_t {
    AreaWorld = 0,
    AreaAfrica = 1,
    AreaNorthAmerica = 2,
    AreaSouthAmerica = 3,
    AreaAntarctica = 4,
    AreaAsia = 5,
    AreaEurope = 6,
    AreaOceania = 7,
};

struct AreaName {
    int16_t area;
    const char* english;
    const char* japanese;  // UTF-8
};

// Every area with its names, in code order from 0 without gaps.
std::span<const AreaName> AreaNames();

// The continent of a country code (ISO 3166-1 numeric, or one of our own
// codes for features without one); -1 when the table does not know it.
int16_t ContinentOf(int code);

} // namespace worldsrc
