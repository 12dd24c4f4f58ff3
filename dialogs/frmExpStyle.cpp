#include "frmExpStyle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "FormErrors.h"
#include "PictureBox.h"
#include "clsMapGraph.h"

namespace {

constexpr int kSampleWidth = 160;
constexpr int kSampleHeight = 120;

QPushButton* Button(const QString& name, const QString& caption, const QString& tip, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    return b;
}

} // namespace

frmExpStyle::frmExpStyle(ExpStyleModel& model, const Design& d, QWidget* parent)
    : DialogBase(parent, &model.Position), model_(model), formName_(d.formName), gridProc_(d.gridName + QStringLiteral("_MouseUp")) {
    setObjectName(d.formName);
    model_.Open();
    setWindowTitle(model_.Caption());

    grid_ = new PictureBox(d.gridWidth, d.gridHeight, this);
    grid_->setObjectName(d.gridName);
    grid_->setFocusPolicy(Qt::StrongFocus);
    grid_->setToolTip(d.gridTip);   // until the mouse names a style
    auto* gridLabel = new QLabel(d.gridLabel, this);
    gridLabel->setBuddy(grid_);
    gridLabel->setToolTip(d.gridTip);
    sample_ = new PictureBox(kSampleWidth, kSampleHeight, this);
    sample_->setObjectName(QStringLiteral("picSample"));
    sample_->setToolTip(QStringLiteral("現在の設定による見本"));
    fore_ = Button(d.foreName, d.foreCaption, d.foreTip, this);
    back_ = Button(d.backName, d.backCaption, d.backTip, this);
    second_ = new QCheckBox(d.checkCaption, this);
    second_->setObjectName(d.checkName);
    auto* ok = Button(QStringLiteral("cmdOK"), QStringLiteral("ＯＫ"), QStringLiteral("設定を確定して閉じる"), this);
    cancel_ = Button(QStringLiteral("cmdCancel"), QStringLiteral("キャンセル"), QStringLiteral("設定を取り消して閉じる"), this);
    help_ = Button(QStringLiteral("cmdHelp"), QStringLiteral("ヘルプ(&H)"), QStringLiteral("このダイアログの解説"), this);
    ok->setDefault(true);
    setOkButton(ok);
    exemptFromChecks(cancel_);
    setHelpContext(model_.HelpContext());
    setHelpButton(help_);

    gridColumn_ = new QVBoxLayout;
    gridColumn_->addWidget(gridLabel);
    gridColumn_->addWidget(grid_);
    gridColumn_->addStretch(1);
    auto* side = new QVBoxLayout;
    side->addWidget(sample_);
    side->addWidget(fore_);
    side->addWidget(back_);
    side->addWidget(second_);
    side->addStretch(1);
    side->addWidget(ok);
    side->addWidget(cancel_);
    side->addWidget(help_);
    auto* all = new QHBoxLayout(this);
    all->addLayout(gridColumn_);
    all->addLayout(side);
    all->setSizeConstraint(QLayout::SetFixedSize);

    connect(grid_, &PictureBox::mouseMoved, this,
            [this](int x, int y) { grid_->SetTip(model_.TooltipAt(x, y, grid_->width(), grid_->height())); });
    connect(grid_, &PictureBox::mouseReleased, this, [this](int x, int y, Qt::MouseButton) { gridMouseUp(x, y); });
    connect(fore_, &QPushButton::clicked, this, [this, d] {
        RunHandler(formName_, d.foreName + QStringLiteral("_Click"), [this] {
            if (model_.ChooseFore()) paintSample();
        });
    });
    connect(back_, &QPushButton::clicked, this, [this, d] {
        RunHandler(formName_, d.backName + QStringLiteral("_Click"), [this] {
            if (model_.ChooseBack()) refresh();
        });
    });
    connect(second_, &QCheckBox::toggled, this, [this, d](bool on) {
        if (refreshing_) return;
        RunHandler(formName_, d.checkName + QStringLiteral("_Click"), [this, on] {
            model_.SetSecondColorOn(on);
            paintSample();
        });
    });
    connect(ok, &QPushButton::clicked, this, [this] {
        RunHandler(formName_, QStringLiteral("cmdOK_Click"), [this] {
            model_.Accept();
            closeOK();
        });
    });
    connect(cancel_, &QPushButton::clicked, this, [this] {
        model_.Cancel();
        closeCancel();
    });
}

void frmExpStyle::refresh() {
    if (refreshing_) return;
    refreshing_ = true;
    second_->setChecked(model_.SecondColorOn());
    refreshOwn();
    paintGrid();
    paintSample();
    refreshing_ = false;
}

void frmExpStyle::paintSample() {
    sample_->Repaint([this](plat::HDC dc, int w, int h) { model_.PaintSample(dc, w, h); });
}

void frmExpStyle::paintGrid() {
    grid_->Repaint([this](plat::HDC dc, int w, int h) { model_.PaintGrid(dc, w, h); });
}

void frmExpStyle::gridMouseUp(int x, int y) {
    RunHandler(formName_, gridProc_, [&] {
        if (model_.Pick(x, y, grid_->width(), grid_->height())) refresh();
    });
}

// Cell outlines reach one pixel into the next cell, so each grid is a little
// larger than its cells to show the outlines of the last row and column.
frmExpPolygon::frmExpPolygon(QWidget* parent, ExpPolygonModel& model)
    : frmExpStyle(model,
                  {QStringLiteral("frmExpPolygon"), QStringLiteral("picPatterns"), QStringLiteral("模様リスト(&P):"),
                   QStringLiteral("塗りつぶす模様のリスト"), 322, 142, QStringLiteral("cmdFore"), QStringLiteral("前景色(&F)"),
                   QStringLiteral("模様の黒の部分の色"), QStringLiteral("cmdBack"), QStringLiteral("背景色(&B)"),
                   QStringLiteral("模様の白の部分の色"), QStringLiteral("chkBack"), QStringLiteral("背景色を有効にする")},
                  parent) {
    refresh();
}

frmExpPolyline::frmExpPolyline(QWidget* parent, ExpPolylineModel& model)
    : frmExpStyle(model,
                  {QStringLiteral("frmExpPolyline"), QStringLiteral("picStyles"), QStringLiteral("線形リスト(&S):"),
                   QStringLiteral("線形のリスト"), 352, 210, QStringLiteral("cmdFore"), QStringLiteral("線色(&F)"),
                   QStringLiteral("線の色"), QStringLiteral("cmdBack"), QStringLiteral("背景色(&B)"),
                   QStringLiteral("線の背景色"), QStringLiteral("chkBack"), QStringLiteral("背景色を有効にする")},
                  parent),
      model_(model) {
    width_ = new QComboBox(this);
    width_->setObjectName(QStringLiteral("choWidth"));
    width_->setToolTip(QStringLiteral("線の幅"));
    for (int w = clsMapGraph::LINE_WIDTH_MIN; w <= clsMapGraph::LINE_WIDTH_MAX; ++w) width_->addItem(QString::number(w));
    auto* label = new QLabel(QStringLiteral("線幅(&W):"), this);
    label->setBuddy(width_);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(width_);
    row->addStretch(1);
    gridColumn()->insertLayout(2, row);
    connect(width_, &QComboBox::activated, this, [this](int entry) {
        if (refreshing()) return;
        RunHandler(formName(), QStringLiteral("choWidth_Click"), [this, entry] {
            model_.ChooseWidth(entry);
            paintSample();
        });
    });
    refresh();
}

void frmExpPolyline::refreshOwn() {
    width_->setCurrentIndex(model_.WidthIndex());
    width_->setEnabled(model_.WidthEnabled());
}

frmExpSymbol::frmExpSymbol(QWidget* parent, ExpSymbolModel& model)
    : frmExpStyle(model,
                  {QStringLiteral("frmExpSymbol"), QStringLiteral("picSymbols"), QStringLiteral("記号パターンリスト(&M):"),
                   QStringLiteral("点状地図記号のリスト"), 290, 192, QStringLiteral("cmdInside"), QStringLiteral("記号色(&C)"),
                   QStringLiteral("記号の色"), QStringLiteral("cmdEdge"), QStringLiteral("縁色(&D)"),
                   QStringLiteral("縁取りの色"), QStringLiteral("chkEdge"), QStringLiteral("縁取りを有効にする")},
                  parent) {
    refresh();
}
