#include "CountryNames.h"

#include "TopoJson.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>

namespace worldsrc {

namespace {

// Codes of our own, from the user-assigned range 900..999 that ISO 3166-1
// leaves free. Kosovo takes 983, the code i18n-iso-countries already gives
// "XK"; the others are numbered from 901 in the order they were met. Never
// renumber: the codes are stored in the district files.
constexpr std::array<ExtraCode, 5> Extras{{
    {983, "Kosovo", "Kosovo", "コソボ"},
    {901, "N. Cyprus", "Northern Cyprus", "北キプロス"},
    {902, "Somaliland", "Somaliland", "ソマリランド"},
    {903, "Indian Ocean Ter.", "Australian Indian Ocean Territories", "オーストラリア領インド洋地域"},
    {904, "Siachen Glacier", "Siachen Glacier", "シアチェン氷河"},
}};

// Features that only the 1:10m data has, numbered on from 905 in the order
// met. They are kept apart so that the catalogues built from the coarser
// data do not change.
constexpr std::array<ExtraCode, 11> DetailExtras{{
    {905, "Dhekelia", "Dhekelia", "デケリア"},
    {906, "USNB Guantanamo Bay", "Guantanamo Bay Naval Base", "グアンタナモ米軍基地"},
    {907, "Cyprus U.N. Buffer Zone", "Cyprus UN Buffer Zone", "キプロス国連緩衝地帯"},
    {908, "Baikonur", "Baikonur", "バイコヌール"},
    {909, "Akrotiri", "Akrotiri", "アクロティリ"},
    {910, "Coral Sea Is.", "Coral Sea Islands", "コーラル・シー諸島"},
    {911, "Spratly Is.", "Spratly Islands", "南沙諸島"},
    {912, "Clipperton I.", "Clipperton Island", "クリッパートン島"},
    {913, "Bajo Nuevo Bank", "Bajo Nuevo Bank", "バホ・ヌエボ堆"},
    {914, "Serranilla Bank", "Serranilla Bank", "セラニーリャ堆"},
    {915, "Scarborough Reef", "Scarborough Shoal", "スカボロー礁"},
}};

// The short names a reader knows a country by, where the lists give an
// official long form first ("イラン・イスラム共和国", "People's Republic of
// China"): labels of a world map read best short. An empty field keeps the
// list's name.
struct ShortName {
    const char* alpha2;
    const char* english;
    const char* japanese;  // UTF-8
};
constexpr ShortName ShortNames[] = {
    {"BN", "Brunei", "ブルネイ"},
    {"BO", "", "ボリビア"},
    {"CD", "DR Congo", ""},
    {"CF", "", "中央アフリカ"},
    {"CG", "Congo", ""},
    {"CN", "China", "中国"},
    {"CZ", "Czechia", ""},
    {"FM", "Micronesia", "ミクロネシア"},
    {"GM", "Gambia", ""},
    {"IR", "Iran", "イラン"},
    {"KP", "North Korea", "北朝鮮"},
    {"KR", "South Korea", "韓国"},
    {"LA", "Laos", "ラオス"},
    {"MD", "Moldova", "モルドバ"},
    {"MF", "Saint Martin", "サン・マルタン"},
    {"MK", "North Macedonia", ""},
    {"PS", "Palestine", ""},
    {"RU", "Russia", "ロシア"},
    {"SH", "", "セントヘレナ"},
    {"SX", "Sint Maarten", "シント・マールテン"},
    {"SY", "Syria", "シリア"},
    {"TZ", "Tanzania", ""},
    {"US", "United States", "アメリカ"},
    {"VA", "Vatican", "バチカン"},
    {"VC", "", "セントビンセント・グレナディーン"},
    {"VE", "", "ベネズエラ"},
};

QString ShortOr(const QString& alpha2, const QString& name, bool japanese) {
    for (const ShortName& n : ShortNames) {
        if (alpha2 != QLatin1String(n.alpha2)) continue;
        const QString s = QString::fromUtf8(japanese ? n.japanese : n.english);
        return s.isEmpty() ? name : s;
    }
    return name;
}

[[noreturn]] void Fail(const QString& what) { throw WorldSourceError(what.toStdString()); }

QJsonDocument ParseJson(const QByteArray& bytes, const QString& what) {
    QJsonParseError err{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &err);
    if (err.error != QJsonParseError::NoError) Fail(what + QStringLiteral(": not JSON (%1)").arg(err.errorString()));
    return doc;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) Fail(path + QStringLiteral(": ") + f.errorString());
    if (f.size() > 16 * 1024 * 1024) Fail(path + QStringLiteral(": too large for a name list"));
    return f.readAll();
}

// A country's name is a text or a list of the official name and its aliases.
// "Moldova, Republic of" as a label reads "Republic of Moldova", and "Virgin
// Islands, British" "British Virgin Islands": a tail that ends in " of" or is
// one word goes to the front. Other commas ("Bonaire, Sint Eustatius and
// Saba") list places and stay.
QString Uninverted(const QString& name) {
    const qsizetype comma = name.indexOf(QLatin1String(", "));
    if (comma < 0 || name.indexOf(QLatin1String(", "), comma + 2) >= 0) return name;
    const QString head = name.left(comma);
    const QString tail = name.mid(comma + 2);
    if (tail.endsWith(QLatin1String(" of")) || !tail.contains(QLatin1Char(' '))) return tail + QLatin1Char(' ') + head;
    return name;
}

// Map labels read best in the natural order, so the first name not written
// inverted ("Taiwan" rather than "Taiwan, Province of China") is taken, or
// else the name turned round.
QString PickName(const QJsonValue& v) {
    if (v.isString()) return Uninverted(v.toString());
    const QJsonArray list = v.toArray();
    for (const QJsonValue& n : list)
        if (n.isString() && !n.toString().contains(QLatin1String(", "))) return n.toString();
    return list.isEmpty() ? QString() : Uninverted(list.first().toString());
}

QJsonObject Countries(const QByteArray& bytes, const QString& what) {
    const QJsonValue v = ParseJson(bytes, what).object().value(QLatin1String("countries"));
    if (!v.isObject()) Fail(what + QStringLiteral(": no \"countries\" object"));
    return v.toObject();
}

// A code in 0..999 written with digits only, else -1.
int NumericCode(const QString& text) {
    if (text.isEmpty() || text.size() > 3) return -1;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return -1;
    return text.toInt();
}

} // namespace

CountryNames CountryNames::Load(const QString& packageDir) {
    return FromJson(ReadAll(packageDir + QStringLiteral("/codes.json")),
                    ReadAll(packageDir + QStringLiteral("/langs/en.json")),
                    ReadAll(packageDir + QStringLiteral("/langs/ja.json")));
}

CountryNames CountryNames::FromJson(const QByteArray& codes, const QByteArray& en, const QByteArray& ja) {
    const QJsonDocument codesDoc = ParseJson(codes, QStringLiteral("codes.json"));
    if (!codesDoc.isArray()) Fail(QStringLiteral("codes.json: a list of code rows expected"));
    const QJsonObject english = Countries(en, QStringLiteral("en.json"));
    const QJsonObject japanese = Countries(ja, QStringLiteral("ja.json"));

    CountryNames names;
    for (const QJsonValue& rowValue : codesDoc.array()) {
        // [alpha-2, alpha-3, numeric, ISO 3166-2 reference]
        const QJsonArray row = rowValue.toArray();
        const int code = row.size() >= 3 ? NumericCode(row[2].toString()) : -1;
        if (code < 0) Fail(QStringLiteral("codes.json: a row without a numeric code"));
        const QString alpha2 = row[0].toString();
        names.names_[code] = {alpha2, ShortOr(alpha2, PickName(english.value(alpha2)), false),
                              ShortOr(alpha2, PickName(japanese.value(alpha2)), true)};
    }
    return names;
}

const CountryName* CountryNames::find(int code) const {
    const auto it = names_.find(code);
    return it == names_.end() ? nullptr : &it->second;
}

std::vector<int> CountryNames::codes() const {
    std::vector<int> out;
    out.reserve(names_.size());
    for (const auto& [code, name] : names_) out.push_back(code);
    return out;
}

std::span<const ExtraCode> ExtraCodes() { return Extras; }

std::span<const ExtraCode> DetailExtraCodes() { return DetailExtras; }

const ExtraCode* FindExtraCode(int code) {
    for (const std::span<const ExtraCode> table : {ExtraCodes(), DetailExtraCodes()})
        for (const ExtraCode& e : table)
            if (e.code == code) return &e;
    return nullptr;
}

int CountryCodeOf(const QString& id, const QString& sourceName) {
    const int code = NumericCode(id);
    if (code >= 0) return code;
    for (const std::span<const ExtraCode> table : {ExtraCodes(), DetailExtraCodes()})
        for (const ExtraCode& e : table)
            if (sourceName == QLatin1String(e.sourceName)) return e.code;
    return -1;
}

} // namespace worldsrc
