#include "frmPickup.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <cmath>

#include "AppState.h"
#include "FigureDialogUi.h"
#include "FlexGrid.h"
#include "Gdi.h"
#include "Screen.h"
#include "basMouseWheel.h"
#include "basHMapView.h"
#include "basLibrary.h"

namespace {

// Widens every column to its longest text, so no map or thing name is cut
// short, and the grid with them as far as the screen allows.
void FitColumns(plat::FlexGrid* g) {
    // The current row is drawn in bold.
    QFont bold = g->font();
    bold.setBold(true);
    const QFontMetrics fm(bold);
    const double twipsPerPixel = plat::TwipsPerPixelX();
    double total = 0;
    for (int32_t c = 0; c < g->Cols(); ++c) {
        int px = 0;
        for (int32_t r = 0; r < g->Rows(); ++r) px = std::max(px, fm.horizontalAdvance(g->TextMatrix(r, c)));
        // The cell's margins and grid line, as the titles are measured.
        const auto twips = static_cast<int32_t>(std::lround((px + 8) * twipsPerPixel));
        if (twips > g->ColWidth(c)) g->setColWidth(c, twips);
        total += g->ColWidth(c) / twipsPerPixel;
    }
    // The vertical scroll bar's 255 twips and the frame.
    const int wanted = static_cast<int>(std::lround(total + 255 / twipsPerPixel)) + 2 * g->frameWidth();
    const int screen = g->screen() ? g->screen()->availableGeometry().width() - 80 : wanted;
    if (wanted > g->minimumWidth()) g->setMinimumWidth(std::min(wanted, screen));
}

} // namespace

frmPickup::frmPickup(frmPickupLogic& logic, View view, QWidget* parent)
    : plat::DialogBase(parent), logic_(logic), view_(std::move(view)) {
    setWindowTitle(QStringLiteral("ピックアップ"));
    auto* grid = new QGridLayout(this);
    lblMessage = new QLabel(QStringLiteral("探索中．．．．．"));
    flgInfos = new plat::FlexGrid;
    flgInfos->setMinimumSize(560, 220);
    StyleGrid(flgInfos);
    flgInfos->setCols(frmPickupLogic::Columns);
    flgInfos->setRows(1);
    flgInfos->setFormatString(frmPickupLogic::HeaderFormat());
    grid->addWidget(lblMessage, 0, 0);
    grid->addWidget(flgInfos, 1, 0);
    const DialogButtons b = AddDialogButtons(this, grid, 2, kHelpContext);
    cmdOK = b.ok, cmdCancel = b.cancel, cmdHelp = b.help;
    connect(cmdOK, &QPushButton::clicked, this, &frmPickup::cmdOK_Click);
    connect(flgInfos, &plat::FlexGrid::click, this, &frmPickup::flgInfos_Click);
    // The selection is always the current row alone.
    connect(flgInfos, &plat::FlexGrid::selChange, this, [this] {
        if (flgInfos->RowSel() != flgInfos->Row()) flgInfos->setRowSel(flgInfos->Row());
    });
    WheelHook(flgInfos);
}

frmPickup::~frmPickup() {
    WheelUnhook(flgInfos);
    if (view_.PaintFromCanvas) view_.PaintFromCanvas();
    logic_.Release();
}

bool frmPickup::Fill() {
    std::array<int32_t, frmPickupLogic::Columns> design{};
    for (int c = 0; c < frmPickupLogic::Columns; ++c) design[size_t(c)] = flgInfos->ColWidth(c);
    const int32_t gridTwips = int32_t(flgInfos->minimumWidth() * plat::TwipsPerPixelX());
    const auto widths = frmPickupLogic::ColumnWidths(gridTwips, design);
    for (int c = 0; c < frmPickupLogic::Columns; ++c) flgInfos->setColWidth(c, widths[size_t(c)]);

    if (!logic_.Search()) return false;
    for (const SearchInfoPtr& info : logic_.Candidates()) flgInfos->AddItem(frmPickupLogic::RowText(*info));
    lblMessage->setText(logic_.CountText());
    if (flgInfos->Rows() - 1 != int32_t(logic_.Candidates().size())) {
        MsgError(QStringLiteral("候補図形をグリッドに正しく登録できませんでした."));
        return false;
    }
    FitColumns(flgInfos);
    flgInfos->setFixedRows(1);
    flgInfos->select(1, 0, 1, frmPickupLogic::Columns - 1);
    flgInfos_Click();
    return true;
}

void frmPickup::flgInfos_Click() {
    const int row = flgInfos->Row();
    if (row < 1 || row > int(logic_.Candidates().size()) || !view_.Surface) return;
    view_.PaintFromCanvas();
    plat::DeviceContext* dc = view_.Surface();
    int32_t dx = 0, dy = 0;
    view_.CanvasOrigin(dx, dy);
    logic_.PlotFigure(row, dc, dx, dy);
    const clsSearchInfo& info = *logic_.Candidates()[size_t(row) - 1];
    int32_t vx = 0, vy = 0;
    if (dc && PosMapToView(info.MapX, info.MapY, vx, vy)) {
        plat::Brush hollow;
        hollow.style = plat::BS_NULL;
        const plat::Brush old = dc->SelectBrush(hollow);
        dc->Ellipse(vx - 8, vy - 8, vx + 8, vy + 8);
        dc->SelectBrush(old);
    }
    view_.Show();
}

void frmPickup::cmdOK_Click() {
    if (logic_.Choose(flgInfos->Row())) closeOK();
    else closeCancel();
}
