#include "clsCruise05.h"

#include "CruiseFiles.h"

#include "AppInfo.h"
#include "AppState.h"
#include "ErrorMng.h"
#include "FileOps.h"
#include "MessageBox.h"
#include "SettingsStore.h"
#include "basFileNames.h"
#include "basGlobe.h"
#include "basHMap.h"
#include "basLibrary.h"
#include "clsEnvironment.h"
#include "clsMap.h"
#include "clsMapUnits.h"
#include "clsRect.h"
#include "clsRegistry.h"

#include <bit>
#include <cmath>
#include <memory>

clsCruise05* gvCruise = nullptr;

namespace {

const QString kObject = QStringLiteral("clsCruise");
const QString kSection = QStringLiteral("CRUISE05");
const QString kCrLf = QStringLiteral("\r\n");

constexpr int32_t kOceanCode = 120000;
// A list of some thousand maps takes a few hundred kilobytes; a larger file
// is no list.
constexpr int64_t kMaxListBytes = 16 << 20;
// Entries: "+,<6 digits>,<path or name>".
constexpr qsizetype kEntryNameAt = 9;
constexpr qsizetype kEntryListedAt = 2;

// A file the cruise can load: it exists and is no folder.
bool MapFileExists(const QString& path) { return FileExists(path) && !plat::IsDirectory(path); }

bool IsAbsolute(const QString& path) {
    return path.contains(QLatin1Char(':')) || path.startsWith(QLatin1Char('/')) || path.startsWith(QLatin1Char('\\'));
}

} // namespace

class clsCruise05::Operation {
public:
    explicit Operation(clsCruise05& c) : c_(c) {
        if (c_.operationDepth_++ == 0) c_.listFailedInOperation_ = false;
    }
    ~Operation() { --c_.operationDepth_; }
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

private:
    clsCruise05& c_;
};

clsCruise05::clsCruise05() : listFile_(plat::AppPath() + QStringLiteral("/CRUISE05.LST")) {
    borders_[0] = MapScaleMax;
    borders_[8] = MapScaleMin;
    for (int16_t i = 1; i <= 7; ++i) borders_[size_t(i)] = StdBorderScale(i);
    ReadRegistry();
}

void clsCruise05::setListFile(const QString& path) {
    listFile_ = path;
    records_.clear();
}

double clsCruise05::BorderScale(int16_t index) const {
    return index >= 0 && index <= 8 ? borders_[size_t(index)] : 0.0;
}

void clsCruise05::setBorderScale(int16_t index, double value) {
    if (index < 1 || index > 7) return;
    const double v = std::nearbyint(value);
    if (!(std::nearbyint(MapScaleMin) <= v && v <= std::nearbyint(MapScaleMax))) return;
    borders_[size_t(index)] = value;
}

double clsCruise05::StdBorderScale(int16_t index) {
    static constexpr double defaults[] = {10, 20, 50, 100, 200, 500, 2000};
    if (index == 0) return MapScaleMax;
    if (index == 8) return MapScaleMax / 10000;
    if (index < 1 || index > 7) return 0;
    const double def = defaults[index - 1];
    const QString key = QStringLiteral("BorderRatio") + QString::number(index);
    const double ratio = gvEnvironment ? gvEnvironment->GetVal(key, def, 1, 10000) : def;
    return MapScaleMax / std::nearbyint(ratio);
}

int16_t clsCruise05::ScaleToLevel(double scale) const {
    for (int16_t i = 1; i <= 8; ++i)
        if (borders_[size_t(i)] <= scale && scale <= borders_[size_t(i - 1)]) return i;
    return -1;
}

// ------------------------------------------------------------------ the list

bool clsCruise05::ReadCruiseList() {
    records_.clear();
    try {
        if (!FileExists(listFile_)) {
            // Cruise looks the list up at every redraw: one message for a path.
            if (reportedMissingList_ != listFile_) {
                reportedMissingList_ = listFile_;
                MsgError(QStringLiteral("クルーズリストファイルが存在しません.") + kCrLf + listFile_);
            }
            return false;
        }
        QByteArray bytes;
        const std::optional<plat::FileStamp> stamp = plat::FileStampOf(listFile_);
        bool tooLarge = false;
        const int answer = WithFileRetry(
            [&] {
                try {
                    bytes = cruise::ReadWholeFile(listFile_, kMaxListBytes);
                } catch (const AppError& e) {
                    if (e.number() != plat::ErrOutOfMemory) throw;
                    tooLarge = true;
                }
            },
            listFile_);
        if (answer == 2) throw cruise::Cancelled();
        if (answer != 0) return false;
        if (tooLarge) {
            MsgError(listFile_ + QStringLiteral("\r\nは大きすぎるので読み込みません. (上限 16 MiB)"));
            return false;
        }
        reportedMissingList_.clear();
        emptyList_.reset();
        for (const QString& line : plat::SplitTextLines(plat::DecodeCp932Lossy(bytes))) {
            const QStringList f = StrToTokens(line, 2);
            if (f.size() != 4 || f[0].size() != 6) continue;
            bool ok = false;
            const int32_t code = f[0].trimmed().toInt(&ok);
            if (!ok) continue;
            records_.push_back({code, f[1], f[2], f[3]});
        }
        if (records_.empty()) {
            emptyList_ = stamp;
            emptyListPath_ = listFile_;
        }
        return true;
    } catch (const cruise::Cancelled&) {
        records_.clear();
        throw;
    } catch (...) {
        records_.clear();
        RaiseError(ErrGeneral, kObject, QStringLiteral("ReadCruiseList"));
    }
}

bool clsCruise05::ensureList() {
    if (!records_.empty()) return true;
    if (listFailedInOperation_) return false;
    if (emptyList_ && emptyListPath_ == listFile_ && plat::FileStampOf(listFile_) == emptyList_) return false;
    ReadCruiseList();
    // An empty or unreadable list is tried again by the next operation only.
    if (records_.empty() && operationDepth_ > 0) listFailedInOperation_ = true;
    return !records_.empty();
}

const CruiseListRecord* clsCruise05::findRecord(int32_t code) {
    if (!ensureList()) return nullptr;
    for (const CruiseListRecord& r : records_)
        if (r.Code == code) return &r;
    return nullptr;
}

CruiseListRecord clsCruise05::FindCruiseRecord(int32_t code) {
    Operation op(*this);
    const CruiseListRecord* r = findRecord(code);
    return r ? *r : CruiseListRecord{};
}

QString clsCruise05::CruiseEntryText(int32_t code) {
    Operation op(*this);
    const CruiseListRecord* r = findRecord(code);
    if (r && !r->Path.isEmpty()) return QStringLiteral("+,") + MapCodeText(code) + QLatin1Char(',') + r->Path;
    QString name = r ? (r->EuropeanName.isEmpty() ? r->JapaneseName : r->EuropeanName) : QString();
    if (name.isEmpty()) name = QStringLiteral("(unknown)");
    return QStringLiteral("-,") + MapCodeText(code) + QLatin1Char(',') + name;
}

QString clsCruise05::FullMapPath(const QString& path) {
    if (IsAbsolute(path)) return path;
    if (path.contains(QLatin1Char('\\')) || path.contains(QLatin1Char('/'))) return path;
    if (gvMapFolder.isEmpty()) return path;
    return JoinPath(gvMapFolder, path);
}

QString clsCruise05::MapCodeToPath(int32_t code) {
    try {
        Operation op(*this);
        const CruiseListRecord* r = findRecord(code);
        // An empty path would name the map folder itself.
        if (!r || r->Code <= 0 || r->Path.isEmpty()) return QString();
        return FullMapPath(r->Path);
    } catch (const cruise::Cancelled&) {
        return QString();
    } catch (...) {
        RaiseError(ErrGeneral, kObject, QStringLiteral("MapCodeToPath"));
    }
}

QString clsCruise05::CountryName(int32_t code, int16_t language) {
    try {
        Operation op(*this);
        if (!ensureList() || (language != 1 && language != 2)) return QString();
        const int32_t c = code % 1000;
        for (const CruiseListRecord& r : records_)
            if (r.Code % 1000 == c) return language == 1 ? r.EuropeanName : r.JapaneseName;
        return QString();
    } catch (const cruise::Cancelled&) {
        return QString();
    } catch (...) {
        RaiseError(ErrGeneral, kObject, QStringLiteral("CountryName"));
    }
}

int32_t clsCruise05::GetStdMapList() {
    try {
        Operation op(*this);
        uint32_t mask = 0;
        for (int i = 24; i >= 0; --i) {
            mask <<= 1;
            if (MapFileExists(MapCodeToPath(kStdMapCodes[i]))) mask |= 1;
        }
        return static_cast<int32_t>(mask);
    } catch (...) {
        RaiseError(ErrGeneral, kObject, QStringLiteral("GetStdMapList"));
    }
}

int16_t clsCruise05::GetStdMapCount() {
    try {
        return static_cast<int16_t>(std::popcount(static_cast<uint32_t>(GetStdMapList())));
    } catch (...) {
        RaiseError(ErrGeneral, kObject, QStringLiteral("GetStdMapCount"));
    }
}

// ---------------------------------------------------------------- the cruise

QStringList clsCruise05::NominateMaps(int16_t level, const clsRect& area) {
    QStringList out;
    try {
        Operation op(*this);
        if (!IsValidMapLevel(level)) return out;
        std::vector<int16_t> countries;
        if (level >= 7) {
            countries = grid_.GetCountryCodeArea(&area);
            if (countries.empty()) return out;
        }
        const int32_t l = int32_t{level} * 1000;
        const auto perCountry = [&](int32_t kind) {
            for (const int16_t c : countries) out << CruiseEntryText(kind + l + c);
        };
        // One ocean-floor map serves every level: the code the mask tests.
        if (EiOcean) out << CruiseEntryText(kOceanCode);
        if (level <= 6) out << CruiseEntryText((EiTopo ? 140000 : 130000) + l);
        else perCountry(EiTopo ? 170000 : 160000);
        if (EiTraffic) {
            if (level <= 6) out << CruiseEntryText(150000 + l);
            else perCountry(180000);
        }
        return out;
    } catch (const cruise::Cancelled&) {
        throw;
    } catch (...) {
        RaiseError(ErrGeneral, kObject, QStringLiteral("NominateMaps"));
    }
}

bool clsCruise05::Cruise(double scale, const clsRect* area, clsMapUnits* units) {
    // A load lets events run; a redraw they start must not cruise again.
    if (running_) return false;
    running_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{running_};
    try {
        Operation op(*this);
        return cruise(scale, area, units);
    } catch (const cruise::Cancelled&) {
        return false;
    } catch (...) {
        RaiseError(ErrGeneral, kObject, QStringLiteral("Cruise"));
    }
}

bool clsCruise05::cruise(double scale, const clsRect* area, clsMapUnits* units) {
    if (!units || units->MapMode() != 1 || !area) return false;
    int16_t level = ScaleToLevel(scale);
    if (!IsValidMapLevel(level)) return false;

    // 1. The largest-scale level whose maps are all there.
    QString missingList;
    int32_t missingCount = 0;
    QStringList chosen;
    while (level >= 1) {
        const QStringList entries = NominateMaps(level, *area);
        bool satisfied = !entries.isEmpty();
        for (const QString& e : entries) {
            const bool listed = e.startsWith(QLatin1Char('+'));
            if (listed && MapFileExists(FullMapPath(e.mid(kEntryNameAt)))) continue;
            satisfied = false;
            // Country maps are many and mostly not installed: only Japan's are missed.
            if (level >= 7 && !(listed && e.contains(QLatin1String("JAPAN"), Qt::CaseInsensitive))) continue;
            missingList += e.mid(kEntryListedAt) + kCrLf;
            ++missingCount;
        }
        if (satisfied) {
            chosen = entries;
            break;
        }
        if (!EiReplace) {
            level = -1;
            break;
        }
        --level;
    }

    // 2. and 3. What is missing, and whether that ends the cruise.
    QString missingText;
    if (missingCount > 8)
        missingText = QStringLiteral("見つけられない地図ファイルが ") + QString::number(missingCount) + QStringLiteral(" 個ありました.") + kCrLf;
    else if (missingCount > 0)
        missingText = QStringLiteral("以下の地図ファイルが見つかりません.") + kCrLf + missingList + kCrLf;
    if (level < 1) {
        QString text = QStringLiteral("必要な地図ファイルを揃えられません.") + kCrLf + kCrLf + missingText;
        if (level == -1)
            text += QStringLiteral("・小縮尺用地図による代用が許可されていません.");
        else
            text += QStringLiteral("・作者サイトから地図ファイルをダウンロードしてください.") + kCrLf + QStringLiteral("  ") + GetAuthorURLmap();
        plat::MsgBox(text, plat::MbOkOnly | plat::MbCritical);
        return false;
    }
    if (missingCount > 0)
        plat::MsgBox(missingText + QStringLiteral("より小縮尺用の地図ファイルで代用します."), plat::MbOkOnly | plat::MbInformation);

    // 4. Hide every standard map, then show or load the chosen ones.
    bool result = true;
    for (const MapUnitPtr& u : *units) {
        const int32_t code = u->Map().MapCode();
        const int16_t kind = code >= 0 ? MapCodeKind(code) : 0;
        if (kind >= 2 && kind <= 8) u->setDisplaySwitch(false);
    }
    for (const QString& e : chosen) {
        const QString name = e.mid(kEntryNameAt);
        const QString file = FileNameOf(name);
        int32_t found = 0;
        for (int32_t i = 1; i <= units->Count(); ++i) {
            if (FileNameOf(units->Item(i)->UnitName()).compare(file, Qt::CaseInsensitive) == 0) {
                found = i;
                break;
            }
        }
        if (found > 0) {
            units->Item(found)->setDisplaySwitch(true);
            units->setIndex(found);
            continue;
        }
        auto unit = std::make_shared<clsMapUnit>();
        unit->setMapMode(1);
        unit->setUnitName(FullMapPath(name));
        if (!unit->Load()) {
            result = false;
            continue;
        }
        if (unit->Map().Count() >= 1) units->Add(unit);
    }
    units->Optimize(2);
    return result;
}

// ------------------------------------------------------------------ settings

void clsCruise05::ReadRegistry() {
    try {
        const clsRegistry reg(kSection);
        const QString list = reg.RegGet(QStringLiteral("ListFile"), GetCruiseListFile());
        if (FileExists(list)) setListFile(list);
        const QString grid = reg.RegGet(QStringLiteral("GridFile"), GetCruiseGridFile());
        if (FileExists(grid)) grid_.setFileName(grid);
        EiAuto = reg.RegGetBool(QStringLiteral("EiAuto"), false);
        EiReplace = reg.RegGetBool(QStringLiteral("EiReplace"), true);
        EiTopo = reg.RegGetBool(QStringLiteral("EiTopo"), false);
        EiOcean = reg.RegGetBool(QStringLiteral("EiOcean"), false);
        EiTraffic = reg.RegGetBool(QStringLiteral("EiTraffic"), false);
        for (int16_t i = 1; i <= 7; ++i) {
            borders_[size_t(i)] = StdBorderScale(i);
            setBorderScale(i, reg.RegGetDouble(QStringLiteral("BorderScale") + QString::number(i), borders_[size_t(i)]));
        }
        const long long last = reg.RegGetLong(QStringLiteral("LastStdMapList"), 0);
        lastStdMapList_ = InRange(last, INT32_MIN, INT32_MAX) ? static_cast<int32_t>(last) : 0;
    } catch (...) {
        RaiseError(ErrRegistry, kObject, QStringLiteral("ReadRegistry"));
    }
}

void clsCruise05::WriteRegistry() {
    try {
        const int32_t mask = GetStdMapList();
        plat::SettingsStore::Batch batch;
        clsRegistry reg(kSection);
        reg.RegPut(QStringLiteral("ListFile"), listFile_);
        reg.RegPut(QStringLiteral("GridFile"), grid_.FileName());
        reg.RegPut(QStringLiteral("EiAuto"), EiAuto);
        reg.RegPut(QStringLiteral("EiReplace"), EiReplace);
        reg.RegPut(QStringLiteral("EiTopo"), EiTopo);
        reg.RegPut(QStringLiteral("EiOcean"), EiOcean);
        reg.RegPut(QStringLiteral("EiTraffic"), EiTraffic);
        for (int16_t i = 1; i <= 7; ++i)
            reg.RegPut(QStringLiteral("BorderScale") + QString::number(i), borders_[size_t(i)]);
        reg.RegPut(QStringLiteral("LastStdMapList"), static_cast<long long>(mask));
        lastStdMapList_ = mask;
    } catch (...) {
        RaiseError(ErrRegistry, kObject, QStringLiteral("WriteRegistry"));
    }
}

// ---------------------------------------------------------- the global engine

void CreateGlobalCruise() {
    if (!gvCruise) gvCruise = new clsCruise05();
    SetBorderScaleHook([](int16_t level) { return gvCruise ? gvCruise->BorderScale(level) : 0.0; });
}

void DestroyGlobalCruise() {
    std::unique_ptr<clsCruise05> engine(gvCruise);
    gvCruise = nullptr;
    SetBorderScaleHook(nullptr);
    if (engine) engine->WriteRegistry();
}
