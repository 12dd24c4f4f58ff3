#include "frmEnvironmentLogic.h"

#include <algorithm>

#include "basAngle.h"
#include "basGlobe.h"
#include "basHMapCoord.h"
#include "basLibrary.h"
#include "basNumberText.h"
#include "clsCanvas.h"
#include "clsMapPlot.h"

namespace {

// Sample value: 123°12′12″ West, 1234567 seconds, 1.123456789 radians.
const std::array<frmEnvironmentLogic::AngleFormat, frmEnvironmentLogic::kAngleFormats> kFormats = {{
    {u"00) 未指定", "000"},
    {u"01) 西経123度12分12秒", "111"},
    {u"02) 西経123°12′12″", "121"},
    {u"03) W123d12m12s", "132"},
    {u"04) W123ﾟ12'12\"", "142"},
    {u"05) 123ﾟ12'12\"W", "143"},
    {u"06) W123_12_12", "152"},
    {u"07) 123_12_12W", "153"},
    {u"08) W123 12 12", "162"},
    {u"09) 123 12 12W", "163"},
    {u"10) -123 12 01", "164"},
    {u"11) 西経1234567秒", "311"},
    {u"12) 西経1234567″", "321"},
    {u"13) W1234567s", "332"},
    {u"14) W1234567\"", "342"},
    {u"15) 1234567\"W", "343"},
    {u"16) W1234567", "362"},
    {u"17) 1234567W", "363"},
    {u"18) -1234567", "364"},
    {u"19) 西経123.1234567度", "411"},
    {u"20) 西経123.1234567°", "421"},
    {u"21) W123.1234567d", "432"},
    {u"22) W123.1234567ﾟ", "442"},
    {u"23) 123.1234567ﾟW", "443"},
    {u"24) W123.1234567", "462"},
    {u"25) 123.1234567W", "463"},
    {u"26) -123.1234567", "464"},
    {u"27) 西経1.123456789rad", "541"},
    {u"28) W1.123456789rad", "542"},
    {u"29) 西経1.123456789", "561"},
    {u"30) W1.123456789", "562"},
    {u"31) 1.123456789W", "563"},
    {u"32) -1.123456789", "564"},
}};

constexpr int kIntervalStep = 15;   // minutes per entry of the interval list
constexpr int kIntervalEntries = 3;

} // namespace

const std::array<frmEnvironmentLogic::AngleFormat, frmEnvironmentLogic::kAngleFormats>& frmEnvironmentLogic::AngleFormats() {
    return kFormats;
}

int32_t frmEnvironmentLogic::WidthMMOf(int32_t pixels, int32_t dpi) {
    if (dpi <= 0) dpi = ScreenDPI();
    const int64_t mm = (int64_t(pixels) * 254 / std::max(dpi, 1)) / 10;
    return static_cast<int32_t>(std::clamp<int64_t>(mm, kWidthMin, kWidthMax));
}

int32_t frmEnvironmentLogic::DpiOf(int32_t pixels, int32_t widthMM) {
    const int64_t dpi = (int64_t(pixels) * 254 / std::max(widthMM, kWidthMin)) / 10;
    return static_cast<int32_t>(std::min<int64_t>(dpi, INT16_MAX));
}

void frmEnvironmentLogic::Load() {
    DialogOK = false;
    state_ = ReadEnvironment();
    StartMapType = state_.StartMapType;
    ScreenWidthMM = WidthMMOf(ScreenWidthPixels, state_.ScreenDPI);
    const bool xy = state_.MapMode == 2;
    HomeX = xy ? state_.HomeX : state_.HomeLon;
    HomeY = xy ? state_.HomeY : state_.HomeLat;
    HomeScale = xy ? state_.HomeScaleXY : state_.HomeScaleLL;
    AngleValue = state_.AngleValue;
    AngleUnit = state_.AngleUnit;
    AngleDirection = state_.AngleDirection;
    // The list shows quarter hours only, and what it shows is what OK keeps.
    SaveInterval = state_.SaveInterval;
    SaveInterval = static_cast<int16_t>(SaveIntervalIndex() * kIntervalStep);
    MapPath = state_.MapFolder;
    StartMapFile = state_.StartMapFile;
}

QString frmEnvironmentLogic::HomeXText() const { return MapXToStr(HomeX); }
QString frmEnvironmentLogic::HomeYText() const { return MapYToStr(HomeY); }
QString frmEnvironmentLogic::HomeScaleText() const { return FormatStandardInt(HomeScale); }

int frmEnvironmentLogic::SaveIntervalIndex() const {
    return std::clamp(SaveInterval / kIntervalStep, 0, kIntervalEntries - 1);
}

int frmEnvironmentLogic::AngleIndex() const {
    const QString code = QString::number(AngleValue) + QString::number(AngleUnit) + QString::number(AngleDirection);
    for (int i = 0; i < kAngleFormats; ++i)
        if (code == QLatin1String(kFormats[size_t(i)].code)) return i;
    return 0;
}

bool frmEnvironmentLogic::CheckHomeX(const QString& text) {
    const int32_t v = MapStrToXSafe(text);
    if (!IsValidMapX(v, true)) return false;
    HomeX = v;
    return true;
}

bool frmEnvironmentLogic::CheckHomeY(const QString& text) {
    const int32_t v = MapStrToYSafe(text);
    if (!IsValidMapY(v, true)) return false;
    HomeY = v;
    return true;
}

bool frmEnvironmentLogic::CheckHomeScale(const QString& text) {
    double v = 0;
    try {
        v = JstrToDouble(text);
    } catch (...) {
        v = 0;
    }
    if (!IsMapScale(v)) {
        MsgOutOfRange(FormatStandardInt(MapScaleMin) + QStringLiteral("～") + FormatStandardInt(MapScaleMax));
        return false;
    }
    HomeScale = v;
    return true;
}

bool frmEnvironmentLogic::CheckScreenWidth(const QString& text) {
    const int32_t w = JstrToLong(text);
    if (w < kWidthMin || w > kWidthMax) {
        MsgOutOfRange(QStringLiteral("10～9999"));
        return false;
    }
    ScreenWidthMM = w;
    return true;
}

void frmEnvironmentLogic::ChooseSaveInterval(int entry) {
    if (entry >= 0 && entry < kIntervalEntries) SaveInterval = static_cast<int16_t>(entry * kIntervalStep);
}

void frmEnvironmentLogic::ChooseAngle(int entry) {
    if (entry <= 0 || entry >= kAngleFormats) return;   // 0 keeps the format
    const char* code = kFormats[size_t(entry)].code;
    AngleValue = static_cast<int16_t>(code[0] - '0');
    AngleUnit = static_cast<int16_t>(code[1] - '0');
    AngleDirection = static_cast<int16_t>(code[2] - '0');
}

void frmEnvironmentLogic::TakeCurrentView() {
    if (!PlotEngine) return;
    HomeX = PlotEngine->CenterX();
    HomeY = PlotEngine->CenterY();
    HomeScale = PlotEngine->MapScale();
}

bool frmEnvironmentLogic::BrowseMapPath(QWidget* parent, plat::DialogPosition at) {
    QString folder = MapPath;
    if (!ChooseSettingsFolder(parent, folder, at)) return false;
    MapPath = folder;
    return true;
}

bool frmEnvironmentLogic::BrowseStartMapFile() {
    const QString file = InputSettingsLoadName(QStringLiteral("起動時に開く地図ファイル"),
                                               QStringLiteral("経緯度地図ファイル(*.MLL)|*.MLL|"), StartMapFile);
    if (file.isEmpty()) return false;
    StartMapFile = file;
    return true;
}

void frmEnvironmentLogic::Accept() {
    EnvironmentState s = state_;
    s.MapFolder = MapPath;
    s.StartMapType = StartMapType;
    s.StartMapFile = StartMapFile;
    s.ScreenDPI = static_cast<int16_t>(DpiOf(ScreenWidthPixels, ScreenWidthMM));
    if (s.MapMode == 2) {
        s.HomeX = HomeX;
        s.HomeY = HomeY;
        s.HomeScaleXY = HomeScale;
    } else if (s.MapMode == 1) {
        s.HomeLon = HomeX;
        s.HomeLat = HomeY;
        s.HomeScaleLL = HomeScale;
    }
    s.SaveInterval = SaveInterval;
    s.AngleValue = AngleValue;
    s.AngleUnit = AngleUnit;
    s.AngleDirection = AngleDirection;
    WriteEnvironment(s);
    if (gvCanvas) gvCanvas->setDpi(s.ScreenDPI);
    SetAngleUnit(AngleValue);
    SetAngleSymbol(AngleUnit);
    SetAngleDirStyle(AngleDirection);
    state_ = s;
    DialogOK = true;
}

frmEnvironmentLogic& EnvironmentDialog() {
    static frmEnvironmentLogic dialog;
    return dialog;
}
