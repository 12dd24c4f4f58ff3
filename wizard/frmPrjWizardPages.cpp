// Pages 2 to 6 of the projection wizard: field, centre, graticule, the
// choice of projection and the projection surface.
#include <algorithm>
#include <cmath>

#include "ErrorMng.h"
#include "MapProjection.h"
#include "basAngle.h"
#include "basGlobe.h"
#include "basLibrary.h"
#include "basNumberText.h"
#include "clsProjector.h"
#include "frmPrjWizardLogic.h"

namespace {

using Item = frmPrjWizardLogic::AngleItem;
using Range = frmPrjWizardLogic::SliderRange;

constexpr int32_t kLatMax = 324000;
constexpr int32_t kLonMax = 648000;
constexpr int32_t kOneMinute = 60;

enum class Fmt { Lat, Lon, Angle };

// What each typed angle of pages 2 to 4 accepts and how it is shown.
struct AngleSpec {
    Fmt fmt;
    int32_t lo, hi;        // arc-seconds, inclusive
    int sliderMin, sliderMax;
    bool zeroIsMinute;     // a slider at 0 stores one minute
};

const AngleSpec kAngles[frmPrjWizardLogic::kAngleItems] = {
    {Fmt::Lat, -kLatMax, kLatMax, -5400, 5400, true},     // field north
    {Fmt::Lat, -kLatMax, kLatMax, -5400, 5400, true},     // field south
    {Fmt::Lon, -kLonMax, kLonMax, -10800, 10800, false},  // field west
    {Fmt::Lon, -kLonMax, kLonMax, -10800, 10800, false},  // field east
    {Fmt::Lon, -kLonMax, kLonMax, -10800, 10800, false},  // centre longitude
    {Fmt::Lat, -kLatMax, kLatMax, -5400, 5400, false},    // centre latitude
    {Fmt::Angle, 60, 162000, 0, 2700, true},              // meridian spacing
    {Fmt::Angle, 60, 162000, 0, 2700, true},              // parallel spacing
    {Fmt::Lat, 18000, kLatMax, 300, 5400, false},         // north limit
    {Fmt::Lat, -kLatMax, -18000, -5400, -300, false},     // south limit
};

const AngleSpec& SpecOf(Item item) { return kAngles[static_cast<int>(item)]; }

QString Format(Fmt f, int32_t v) {
    switch (f) {
    case Fmt::Lat: return LatToStr(v);
    case Fmt::Lon: return LonToStr(v);
    default: return AngleToStr(v);
    }
}

// An angle typed as free text; false for a text that is no angle.
bool ReadAngle(const QString& text, int32_t& value) {
    try {
        value = AngleSecStrToVal(text);
        return true;
    } catch (const AppError&) {
        return false;
    }
}

bool InRangeOrWarn(bool read, int64_t v, int64_t lo, int64_t hi, const QString& rangeText) {
    if (read && lo <= v && v <= hi) return true;
    MsgOutOfRange(rangeText);
    return false;
}

const char* const kConditions[frmPrjWizardLogic::kConditionGroups][8] = {
    {"円形", "長方形", "扇形", "楕円形", "紡錘形", "断裂形", "タル型", "その他"},
    {"距離", "面積", "角度", "方位", "大圏", "水平緯線", "バランス", nullptr},
    {"全世界", "大陸程度", "高緯度地帯", "中緯度地帯", "低緯度地帯", nullptr, nullptr, nullptr},
};
constexpr int32_t kGroupBase[frmPrjWizardLogic::kConditionGroups] = {0x100, 0x10000, 0x1000000};
constexpr int kDefaultPrj = 12;

} // namespace

// --- pages 2 to 4 --------------------------------------------------------------------

frmPrjWizardLogic::SliderRange frmPrjWizardLogic::AngleSliderRange(AngleItem item) {
    const AngleSpec& s = SpecOf(item);
    return {s.sliderMin, s.sliderMax, 60, 300};
}

int32_t frmPrjWizardLogic::AngleValue(AngleItem item) const {
    switch (item) {
    case Item::FieldNorth: return Work.Field.y2;
    case Item::FieldSouth: return Work.Field.y1;
    case Item::FieldWest: return Work.Field.x1;
    case Item::FieldEast: return Work.Field.x2;
    case Item::CenterLon: return Work.CenterLon;
    case Item::CenterLat: return Work.CenterLat;
    case Item::GridWidth: return Work.Grid.Width();
    case Item::GridHeight: return Work.Grid.Height();
    case Item::GridNorth: return Work.Grid.NorthLimit();
    case Item::GridSouth: return Work.Grid.SouthLimit();
    }
    return 0;
}

void frmPrjWizardLogic::setAngle(AngleItem item, int32_t v) {
    switch (item) {
    case Item::FieldNorth: Work.Field.y2 = v; break;
    case Item::FieldSouth: Work.Field.y1 = v; break;
    case Item::FieldWest: Work.Field.x1 = v; break;
    case Item::FieldEast: Work.Field.x2 = v; break;
    case Item::CenterLon: Work.CenterLon = v; break;
    case Item::CenterLat: Work.CenterLat = v; break;
    case Item::GridWidth: Work.Grid.setWidth(v); break;
    case Item::GridHeight: Work.Grid.setHeight(v); break;
    case Item::GridNorth: Work.Grid.setNorthLimit(v); break;
    case Item::GridSouth: Work.Grid.setSouthLimit(v); break;
    }
}

QString frmPrjWizardLogic::AngleText(AngleItem item) const { return Format(SpecOf(item).fmt, AngleValue(item)); }

bool frmPrjWizardLogic::AngleEnabled(AngleItem item) const {
    if (item <= Item::FieldEast) return !Work.FieldWorld;
    if (item >= Item::GridWidth) return GridOn();
    return true;
}

bool frmPrjWizardLogic::ValidateAngleText(AngleItem item, const QString& text) {
    const AngleSpec& s = SpecOf(item);
    int32_t v = 0;
    // A text that is no angle is refused like one out of range: taking it
    // as 0 would move an edge or the centre without a word.
    const bool read = ReadAngle(text, v);
    const bool ok = InRangeOrWarn(read, v, s.lo, s.hi, Format(s.fmt, s.lo) + QStringLiteral("～") + Format(s.fmt, s.hi));
    if (ok) setAngle(item, v);
    changed();
    return ok;
}

int frmPrjWizardLogic::SnapToHalfDegree(int m) { return m >= 0 ? ((m + 15) / 30) * 30 : ((m - 15) / 30) * 30; }

QString frmPrjWizardLogic::ScrollAngle(AngleItem item, int minutes) {
    int32_t s = SnapToHalfDegree(minutes) * 60;
    if (s == 0 && SpecOf(item).zeroIsMinute) s = kOneMinute;
    setAngle(item, s);
    changed();
    return AngleText(item);
}

QString frmPrjWizardLogic::FieldMessage() {
    return QStringLiteral("地図化したい領域を設定してください。"
                          "地域図を作成する場合は必要な領域のみを設定することをお勧めします。");
}

QString frmPrjWizardLogic::CenterMessage() {
    return QStringLiteral("投影中心点の座標を設定してください。"
                          "接図法であれば「接点」もしくは「接線の中央」に相当します。"
                          "ただしこの後〔正軸調整〕をおこなうと中心緯度が調整されます。");
}

QString frmPrjWizardLogic::GridMessage() {
    return QStringLiteral("主投影変換エンジンが生成する経線と緯線について設定してください。"
                          "ＸＹ地図では間隔などを変更できません。最終的な縮尺を考慮して決定してください。");
}

void frmPrjWizardLogic::SetFieldWorld(bool on) {
    Work.FieldWorld = on;
    // The projector's automatic choice widens the field to the globe.
    if (work_) {
        Work.SetProjector(*work_);
        Work.GetProjector(*work_);
    }
    changed();
}

void frmPrjWizardLogic::SetGridOn(bool on) {
    Work.Grid.Vertical = Work.Grid.Horizontal = on;
    changed();
}

// --- page 5 --------------------------------------------------------------------------

int frmPrjWizardLogic::ConditionCount(int group) {
    static constexpr int kCounts[kConditionGroups] = {8, 7, 5};
    return group >= 0 && group < kConditionGroups ? kCounts[group] : 0;
}

QString frmPrjWizardLogic::ConditionCaption(int group, int index) {
    if (index < 0 || index >= ConditionCount(group)) return QString();
    return QString::fromUtf8(kConditions[group][index]);
}

int32_t frmPrjWizardLogic::ConditionBit(int group, int index) {
    if (index < 0 || index >= ConditionCount(group)) return 0;
    return kGroupBase[group] << index;
}

QString frmPrjWizardLogic::PrjMessage() {
    return QStringLiteral("図法を選択してください。"
                          "どれを選んでよいかわからないときは、"
                          "３つの条件フレームで希望する項目をチェックすると、"
                          "該当する図法を絞り込むことができます。");
}

QString frmPrjWizardLogic::NoMatchEntry() { return QStringLiteral("該当する図法は存在しません."); }

void frmPrjWizardLogic::makePrjList() {
    prjList_.clear();
    if (ConditionMask != 0) {
        for (int16_t i : PrjListByCondition(ConditionMask)) prjList_.append(PrjNameOf(i));
    } else {
        for (int16_t i = PrjIndexMin; i <= PrjIndexMax; ++i)
            if (const QString n = PrjNameOf(i); !n.isEmpty()) prjList_.append(n);
    }
    prjCount_ = int(prjList_.size());
    if (prjCount_ == 0) prjList_.append(NoMatchEntry());
    enabled_[BtnForward] = prjCount_ > 0;
    const int row = int(prjList_.indexOf(PrjNameOf(Work.PrjIndex)));
    selectPrj(row >= 0 ? row : 0);
}

void frmPrjWizardLogic::selectPrj(int row) {
    if (row < 0 || row >= prjList_.size()) return;
    prjSelected_ = row;
    const int16_t index = PrjIndexOf(prjList_[row]);
    if (index >= PrjIndexMin && index <= PrjIndexMax) {
        Work.PrjIndex = index;
    } else {
        // The placeholder: the boxes keep the conditions they show, so that
        // clearing one of them brings its list back.
        Work.PrjIndex = kDefaultPrj;
    }
    limitSecant();
}

QString frmPrjWizardLogic::PrjListLabel() const {
    return QStringLiteral("図法(&P): [%1/%2]").arg(prjCount_).arg(PrjIndexMax);
}

void frmPrjWizardLogic::SetCondition(int group, int index, bool checked) {
    const int32_t bit = ConditionBit(group, index);
    if (checked) ConditionMask |= bit;
    else ConditionMask &= ~bit;
    makePrjList();
    changed();
}

void frmPrjWizardLogic::ResetConditions() {
    ConditionMask = 0;
    makePrjList();
    changed();
}

void frmPrjWizardLogic::ClickPrj(int row) {
    selectPrj(row);
    changed();
}

long frmPrjWizardLogic::PrjHelpContext() const {
    if (prjSelected_ < 0 || prjSelected_ >= prjList_.size()) return 0;
    const int32_t id = PrjHelpID(PrjIndexOf(prjList_[prjSelected_]));
    return id > 0 ? id : 0;
}

// --- page 6 --------------------------------------------------------------------------

int32_t frmPrjWizardLogic::ScreenAttribute() const { return PrjAttribute(Work.PrjIndex); }

bool frmPrjWizardLogic::ScreenVisible(int item) const {
    return item >= 0 && item < kScreenItems && (ScreenAttribute() & (PrjParamRotation << item)) != 0;
}

bool frmPrjWizardLogic::GoresVisible() const { return (ScreenAttribute() & PrjParamGores) != 0; }

bool frmPrjWizardLogic::RightAxisEnabled() const {
    return (ScreenAttribute() & (PrjParamLat | PrjParamRotation | PrjParamCone)) != 0;
}

QString frmPrjWizardLogic::ScreenMessage() const {
    QString m = QStringLiteral("投影面の形状や姿勢を設定してください。"
                               "図法によって設定できる項目は異なります。");
    if (RightAxisEnabled()) m += QStringLiteral("正軸法で投影したいときは〔正軸調整〕をクリックしてください。");
    return m;
}

int32_t frmPrjWizardLogic::MaxSecant() const { return PrjMaxSecant(Work.PrjIndex, Work.Cone); }

void frmPrjWizardLogic::limitSecant() {
    const int32_t max = MaxSecant();
    if (Work.Secant > max) Work.Secant = (std::max(max, 0) / 3600) * 3600;
}

frmPrjWizardLogic::SliderRange frmPrjWizardLogic::ScreenSliderRange(int item) const {
    switch (item) {
    case ScreenPoler: return {-10800, 10800, 300, 600};
    case ScreenCone: return {1800, 9000, 60, 600};
    case ScreenSecant: return {0, std::max(MaxSecant() / 60, 1), 60, 600};
    case ScreenLight: return {0, std::max(int(lightTable_.size()) - 1, 0), 1, 10};
    default: return {};
    }
}

int frmPrjWizardLogic::LightToSlider(double height) const {
    int pos = 1;
    for (int i = 1; i < int(lightTable_.size()); ++i)
        if (lightTable_[size_t(i)] <= height) pos = i;
    return pos;
}

int frmPrjWizardLogic::ScreenSlider(int item) const {
    switch (item) {
    case ScreenPoler: return Work.poler / 60;
    case ScreenCone: return Work.Cone / 60;
    case ScreenSecant: return Work.Secant / 60;
    case ScreenLight: return LightToSlider(LightRatioToHeight(Work.Light));
    default: return 0;
    }
}

QString frmPrjWizardLogic::ScreenText(int item) const {
    switch (item) {
    case ScreenPoler: return AngleToStr(Work.poler);
    case ScreenCone: return AngleToStr(Work.Cone);
    case ScreenSecant: return AngleToStr(Work.Secant);
    case ScreenLight: return FormatStandardInt(std::floor(LightRatioToHeight(Work.Light) / 1000 + 0.5)) + QStringLiteral("km");
    default: return QString();
    }
}

bool frmPrjWizardLogic::ValidateScreenText(int item, const QString& text) {
    bool ok = false;
    if (item == ScreenLight) {
        double m = 0;
        try {
            m = StrToMeter(text, QStringLiteral("km"));
        } catch (const AppError&) {
            m = 0;   // below every height of the table
        }
        const double lo = lightTable_.empty() ? 0 : lightTable_.front();
        const double hi = lightTable_.empty() ? 0 : lightTable_.back();
        ok = !lightTable_.empty() && lo <= m && m <= hi;
        if (ok) Work.Light = LightHeightToRatio(m);
        else
            MsgOutOfRange(QString::number(std::floor(lo / 1000), 'f', 0) + QStringLiteral("～") +
                          QString::number(std::floor(hi / 1000), 'f', 0));
    } else if (item >= ScreenPoler && item <= ScreenSecant) {
        static constexpr int32_t kLo[3] = {-648000, 108000, 0};
        const int32_t hi = item == ScreenPoler ? 648000 : item == ScreenCone ? 540000 : ScreenSliderRange(ScreenSecant).max * 60;
        int32_t v = 0;
        const bool read = ReadAngle(text, v);
        ok = InRangeOrWarn(read, v, kLo[item], hi, AngleToStr(kLo[item]) + QStringLiteral("～") + AngleToStr(hi));
        if (ok) {
            if (item == ScreenPoler) Work.poler = v;
            else if (item == ScreenCone) Work.Cone = v;
            else Work.Secant = v;
        }
    }
    limitSecant();
    changed();
    return ok;
}

QString frmPrjWizardLogic::ScrollScreen(int item, int v) {
    switch (item) {
    case ScreenPoler: Work.poler = (v / 300) * 18000; break;
    case ScreenCone: Work.Cone = (v / 60) * 3600; break;
    case ScreenSecant: Work.Secant = (v / 60) * 3600; break;
    case ScreenLight:
        if (v >= 0 && v < int(lightTable_.size())) Work.Light = LightHeightToRatio(lightTable_[size_t(v)]);
        break;
    default: return QString();
    }
    limitSecant();
    changed();
    return ScreenText(item);
}

QStringList frmPrjWizardLogic::DivisionEntries() {
    QStringList l;
    for (int n = kDivisionMin; n <= kDivisionMax; ++n) l.append(QString::number(n));
    return l;
}

void frmPrjWizardLogic::SetDivision(int n) {
    if (n >= kDivisionMin && n <= kDivisionMax) Work.Division = static_cast<int16_t>(n);
    changed();
}

QString frmPrjWizardLogic::DivisionToolTip() const {
    return GoresVisible() ? QStringLiteral("舟型多円錐図法の片数") : QStringLiteral("投影面の分割数");
}

void frmPrjWizardLogic::RightAxis() {
    Work.AutoProjection = false;
    Work.RightAxis = true;
    // The projector's automatic choice sets centre latitude, rotation and
    // cone; reading back clears the switch again.
    if (work_) {
        Work.SetProjector(*work_);
        Work.GetProjector(*work_);
    }
    limitSecant();
    changed();
}
