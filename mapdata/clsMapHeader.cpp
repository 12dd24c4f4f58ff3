// The header remarks of a map: "# key：value" lines among its first 50
// figures, from which the map reads its kind, country, level, code, names,
// projection, last update and version.
#include "clsMap.h"

#include "AppError.h"
#include "Clock.h"
#include "RuntimeMath.h"
#include "basGlobe.h"
#include "basHMap.h"
#include "basLibrary.h"
#include "basNumberText.h"
#include "clsMapRem.h"

namespace {

constexpr int32_t kHeaderLines = 50;

BorderScaleHook& borderHook() {
    static BorderScaleHook hook;
    return hook;
}

const clsMapRem* asRemark(const MapFigurePtr& f) {
    return f->FigCode() == 1 ? static_cast<const clsMapRem*>(f.get()) : nullptr;
}

// The integer a header value stands for; -1 when it is none or out of range.
int32_t headerInt(const QString& text, int64_t lo, int64_t hi) {
    if (text.isEmpty()) return -1;
    try {
        const double v = plat::RoundHalfEven(plat::CDbl(text));
        if (!(v >= static_cast<double>(lo) && v <= static_cast<double>(hi))) return -1;
        return static_cast<int32_t>(v);
    } catch (const plat::AppError&) {
        return -1;
    }
}

int16_t headerInt16(const QString& text) { return static_cast<int16_t>(headerInt(text, -32768, 32767)); }

int32_t digitAt(const QString& s, qsizetype i) {
    const QChar c = s[i];
    return c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.unicode() - '0' : -1;
}

} // namespace

void SetBorderScaleHook(BorderScaleHook hook) { borderHook() = std::move(hook); }

double BorderScale(int16_t level) {
    if (borderHook()) return borderHook()(level);
    static const double divisors[] = {1, 10, 20, 50, 100, 200, 500, 2000, 10000};
    if (level < 0 || level > 8) return 0;
    return MapScaleMax / divisors[level];
}

// ----------------------------------------------------------------- searches

QString clsMap::SearchRem(const QString& key) const {
    for (const MapFigurePtr& f : figures_) {
        const clsMapRem* rem = asRemark(f);
        if (rem && rem->Key().compare(key, Qt::CaseInsensitive) == 0) return rem->Value();
    }
    return QString();
}

int32_t clsMap::SearchHeaderLine(const QString& key) const {
    const int32_t n = std::min(Count(), kHeaderLines);
    for (int32_t i = 1; i <= n; ++i) {
        const clsMapRem* rem = asRemark(figures_[i - 1]);
        if (!rem) continue;
        const QString k = rem->Key();
        if (!k.isEmpty() && k.compare(key, Qt::CaseInsensitive) == 0) return i;
    }
    return 0;
}

QString clsMap::SearchHeader(const QString& key) const {
    const int32_t i = SearchHeaderLine(key);
    return i > 0 ? asRemark(figures_[i - 1])->Value() : QString();
}

// ---------------------------------------------------------------- properties

QString clsMap::Kind() const {
    const QString s = SearchHeader(QStringLiteral("地図コード"));
    if (s.size() != 6) return SearchHeader(QStringLiteral("種別"));
    const int32_t kind = digitAt(s, 1);
    return kind < 0 ? QString() : MapKindName(kind);
}

int16_t clsMap::Country() const {
    const QString s = SearchHeader(QStringLiteral("地図コード"));
    if (s.size() == 6) return headerInt16(s.right(3));
    return headerInt16(SearchHeader(QStringLiteral("国番号")));
}

int16_t clsMap::Level() const {
    const QString s = SearchHeader(QStringLiteral("地図コード"));
    if (s.size() == 6) return static_cast<int16_t>(digitAt(s, 2));
    return headerInt16(SearchHeader(QStringLiteral("縮尺レベル")));
}

int32_t clsMap::MapCode() const {
    return headerInt(SearchHeader(QStringLiteral("地図コード")), INT32_MIN, INT32_MAX);
}

QString clsMap::MapName(int32_t lang) const {
    static const char16_t* const european[] = {u"欧州語地図名", u"欧文地図名", u"欧文国名", u"欧文大陸名"};
    static const char16_t* const japanese[] = {u"日本語地図名", u"和文地図名", u"和文国名", u"和文大陸名"};
    static const char16_t* const either[] = {u"地図名", u"大陸名", u"国名"};
    if (lang != 1 && lang != 2) return QString();
    for (const char16_t* key : lang == 1 ? european : japanese) {
        const QString v = SearchHeader(QString::fromUtf16(key));
        if (!v.isEmpty()) return v;
    }
    for (const char16_t* key : either) {
        const QString v = SearchHeader(QString::fromUtf16(key));
        if (!v.isEmpty()) return v;
    }
    return FileNameOf(fileName_);
}

QString clsMap::ProjectionName() {
    if (mapMode_ != 2) return QString();
    if (projectionName_.isEmpty()) {
        projectionName_ = SearchRem(QStringLiteral("図法名"));
        if (projectionName_.isEmpty()) projectionName_ = SearchRem(QStringLiteral("投影法名"));
    }
    return projectionName_;
}

QDateTime clsMap::LastDate() const {
    const QDateTime d = ParseDateText(SearchHeader(QStringLiteral("最終更新日時")));
    return d.isValid() ? d : ZeroDate();
}

void clsMap::setLastDate(const QDateTime& d) {
    const QString text = QStringLiteral("# 最終更新日時　　：") + FormatGeneralDate(d);
    const int32_t i = SearchHeaderLine(QStringLiteral("最終更新日時"));
    if (i > 0) {
        static_cast<clsMapRem*>(figures_[i - 1].get())->setComment(text);
        setModify(true);
    } else {
        Ins(2, NewMapRem(text));
    }
}

int16_t clsMap::Version() {
    const QString s = SearchHeader(QStringLiteral("地図バージョン"));
    if (s == QLatin1String("1.06")) version_ = kMapVersion106;
    else if (s == QLatin1String("1.05")) version_ = kMapVersion105;
    return version_;
}

void clsMap::setVersion(int16_t v) {
    if (v < kMapVersionProjection || v > kMapVersion106) return;
    const QString text = QStringLiteral("# 地図バージョン　：") + plat::FormatShortest(v / 100.0);
    bool found = false;
    const int32_t n = std::min(Count(), kHeaderLines);
    for (int32_t i = 1; i <= n; ++i) {
        if (figures_[i - 1]->FigCode() != 1) continue;
        auto* rem = static_cast<clsMapRem*>(figures_[i - 1].get());
        const QString key = rem->Key();
        if (key.isEmpty()) continue;
        if (key.compare(QStringLiteral("地図バージョン"), Qt::CaseInsensitive) == 0 ||
            key.contains(QLatin1String("version"), Qt::CaseInsensitive)) {
            rem->setComment(text);
            setModify(true);
            found = true;
        }
    }
    if (!found) Ins(1, NewMapRem(text));
    version_ = v;
}

bool clsMap::MakeHeader(int32_t mapCode, const QString& europeanName, const QString& japaneseName) {
    const int16_t kind = MapCodeKind(mapCode);
    const int16_t level = MapCodeLevel(mapCode);
    const int16_t country = MapCodeCountry(mapCode);
    const int32_t code = MakeMapCode(mapMode_, kind, level, country);
    const QString name = FileNameOf(fileName_);
    QString recommended = QStringLiteral("オールラウンド");
    if (IsValidMapLevel(level)) {
        auto border = [](int16_t k) { return LongToJpUnits(SafeCLng(BorderScale(k)), true); };
        recommended = QStringLiteral("1/") + border(static_cast<int16_t>(level - 1)) + QStringLiteral("～1/") + border(level);
    }
    if (!Add(NewMapRem(QString()))) return false;
    const QString now = FormatGeneralDate(plat::Now());
    const QString lines[] = {
        QStringLiteral("# プロジェクト　　：KALDERO"),
        QStringLiteral("# 地図バージョン　：1.06"),
        QStringLiteral("# 種別　　　　　　：") + MapKindName(kind),
        QStringLiteral("# 国番号　　　　　：") + QString::number(country),
        QStringLiteral("# 縮尺レベル　　　：") + QString::number(level),
        QStringLiteral("# 地図コード　　　：") + QString::number(code),
        QStringLiteral("# 欧州語地図名　　：") + europeanName,
        QStringLiteral("# 日本語地図名　　：") + japaneseName,
        QStringLiteral("# 地図ファイル名　：") + name,
        QStringLiteral("# 事象ファイル名　：") + ChangeExt(name, QStringLiteral(".THG")),
        QStringLiteral("# 行政区ファイル名：") + ChangeExt(name, QStringLiteral(".ADM")),
        QStringLiteral("# 推奨縮尺　　　　：") + recommended,
        QStringLiteral("# 対応地図ソフト　：KALDERO 2.53～ / SOLVANTE 1.53～"),
        QStringLiteral("# 作成開始日時　　：") + now,
        QStringLiteral("# 最終更新日時　　：") + now,
        QStringLiteral("# 収録項目　　　　："),
        QStringLiteral("# 参考資料　　　　："),
        QString(),
    };
    bool result = false;
    for (const QString& line : lines) result = Add(NewMapRem(line));
    return result;
}
