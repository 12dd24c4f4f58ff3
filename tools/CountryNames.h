// Country codes and names: ISO 3166-1 numeric codes with English and Japanese
// names from the i18n-iso-countries package, and our own codes for the
// features of the world-atlas data that have no ISO code.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>
#include <span>
#include <vector>

namespace worldsrc {

struct CountryName {
    QString alpha2;
    QString english;
    QString japanese;
};

class CountryNames {
public:
    // From the package folder (the one holding codes.json and langs/).
    static CountryNames Load(const QString& packageDir);
    // From the contents of codes.json, langs/en.json and langs/ja.json.
    // Throws WorldSourceError when they are malformed.
    static CountryNames FromJson(const QByteArray& codes, const QByteArray& en, const QByteArray& ja);

    // nullptr when the code is unknown.
    const CountryName* find(int code) const;
    size_t size() const { return names_.size(); }
    // Every code of the list, in order.
    std::vector<int> codes() const;

private:
    std::map<int, CountryName> names_;
};

// A feature without a valid ISO numeric id, recognised by its world-atlas name.
struct ExtraCode {
    int16_t code;
    const char* sourceName;  // properties.name in world-atlas
    const char* english;
    const char* japanese;    // UTF-8
};
std::span<const ExtraCode> ExtraCodes();
// Those of features only the 1:10m data has (905 on); not in the default
// catalogue.
std::span<const ExtraCode> DetailExtraCodes();
// The entry of either table; nullptr when neither has the code.
const ExtraCode* FindExtraCode(int code);

// The country code of a world-atlas feature: its id when that is a number in
// 0..999, else the code our table gives its name; -1 when neither.
int CountryCodeOf(const QString& id, const QString& sourceName);

} // namespace worldsrc
