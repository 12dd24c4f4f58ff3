#include "MapPopupMenu.h"

#include "AppState.h"
#include "clsEnvironment.h"
#include "clsMapPlot.h"

namespace {

PopupItemState item(const char* caption) { return {QString::fromUtf8(caption)}; }

QString directCaption(int i) {
    const QString key = QStringLiteral("DirectPrjName0") + QString::number(i);
    const QString name = gvEnvironment ? gvEnvironment->GetString(key, QStringLiteral("図法")) : QStringLiteral("図法");
    return name + QStringLiteral("(&") + QString::number(i) + QLatin1Char(')');
}

} // namespace

MapPopupState PrepareMapPopup(const MapPopupInputs& in) {
    const bool ll = in.MapMode == 1;
    MapPopupState s;
    s.Home = item("ホームポジション(&N)");
    s.CruiseExe = item("クルーズ実行(&W)");
    s.MapCopy = item("地図画像コピー(&C)");
    s.Survey = item("測量(&V)");
    s.Pickup = item("ピックアップ(&P)");
    s.Grid = item("経緯線許可(&G)");
    s.Acs = item("アクセサリ許可(&A)");
    s.Edge = item("文字列・点記号縁取り許可(&O)");
    s.TextSlant = item("文字列傾斜許可(&K)");

    s.Language = {item("欧州語(&E)"), item("日本語(&J)")};
    s.Language[0].Checked = in.Language == 1;
    s.Language[1].Checked = in.Language == 2;

    s.Scale = {item("拡大(&B)"), item("縮小(&S)")};
    s.Scale[0].Enabled = in.Slider < in.SliderMax;
    s.Scale[1].Enabled = in.Slider > in.SliderMin;

    // The vertical bar runs from Min at the north end to Max at the south end.
    s.Scroll = ll ? std::array{item("西へ(&L)"), item("東へ(&R)"), item("北へ(&U)"), item("南へ(&D)")}
                  : std::array{item("左へ(&L)"), item("右へ(&R)"), item("上へ(&U)"), item("下へ(&D)")};
    // Longitude wraps round: west and east are always possible.
    s.Scroll[0].Enabled = ll || in.Horizontal.Value > in.Horizontal.Min;
    s.Scroll[1].Enabled = ll || in.Horizontal.Value < in.Horizontal.Max;
    s.Scroll[2].Enabled = in.Vertical.Value < in.Vertical.Min;
    s.Scroll[3].Enabled = in.Vertical.Value > in.Vertical.Max;

    if (in.Plot) {
        s.Grid.Checked = in.Plot->GridEnable;
        s.Acs.Checked = in.Plot->AccessoryEnable;
        s.Edge.Checked = in.Plot->EdgeEnable;
        s.TextSlant.Checked = in.Plot->TextSlant;
    }
    s.Survey.Checked = in.SurveyOn;
    s.Survey.Enabled = !in.PickupOn;
    s.Pickup.Checked = in.PickupOn;
    s.Pickup.Enabled = !in.SurveyOn;
    s.CruiseExe.Enabled = ll;

    s.Direct[0] = item("図法自動選択(&T)");
    s.Direct[0].Checked = ll && in.Plot && in.Plot->ProjectionAuto;
    const int32_t slot = ll && in.Plot ? in.Plot->ProjectionIndex() : -1;
    for (int i = 1; i <= 4; ++i) {
        s.Direct[i] = {directCaption(i), ll, slot == i};
    }
    return s;
}

void PopupDirectItem(clsMapPlot& plot, int index) {
    if (index == 0) {
        plot.ProjectionAuto = !plot.ProjectionAuto;
        return;
    }
    plot.ProjectionAuto = false;
    plot.setProjectionIndex(index);
}

void TogglePopupSwitch(clsMapPlot& plot, PopupSwitch which) {
    switch (which) {
    case PopupSwitch::Grid: plot.GridEnable = !plot.GridEnable; break;
    case PopupSwitch::Acs: plot.AccessoryEnable = !plot.AccessoryEnable; break;
    case PopupSwitch::Edge: plot.EdgeEnable = !plot.EdgeEnable; break;
    case PopupSwitch::TextSlant: plot.TextSlant = !plot.TextSlant; break;
    }
}
