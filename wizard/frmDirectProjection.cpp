#include "frmDirectProjection.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ErrorMng.h"
#include "ErrorMng.h"
#include "Screen.h"
#include "clsMapPlot.h"

namespace {

const QString kForm = QStringLiteral("frmDirectProjection");

// A sketch of one view projection's graticule; a click picks the slot.
class SlotPicture : public QWidget {
public:
    SlotPicture(int slot, std::function<void()> clicked, QWidget* parent)
        : QWidget(parent), slot_(slot), clicked_(std::move(clicked)) {
        setFixedSize(56, 40);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), QColor(0xE8, 0xF4, 0xFF));
        p.setPen(QPen(QColor(0x30, 0x50, 0x90), 1));
        const double w = width() - 1, h = height() - 1;
        switch (slot_) {
        case 1:   // equal spacing everywhere
        case 2:   // meridians drawn together by the centre latitude
            for (int i = 0; i <= 6; ++i) {
                const double x = slot_ == 1 ? 4 + i * (w - 8) / 6 : 10 + i * (w - 20) / 6;
                p.drawLine(QPointF(x, 4), QPointF(x, h - 4));
            }
            for (int j = 0; j <= 4; ++j) p.drawLine(QPointF(4, 4 + j * (h - 8) / 4), QPointF(w - 4, 4 + j * (h - 8) / 4));
            break;
        case 3: {   // a fan
            const QPointF apex(w / 2, -h);
            for (int i = -3; i <= 3; ++i) {
                const double a = i * 0.09;
                p.drawLine(apex + QPointF(std::sin(a) * h * 1.2, std::cos(a) * h * 1.2),
                           apex + QPointF(std::sin(a) * h * 1.95, std::cos(a) * h * 1.95));
            }
            for (int j = 0; j <= 3; ++j) {
                const double r = h * (1.2 + j * 0.25);
                p.drawArc(QRectF(apex.x() - r, apex.y() - r, 2 * r, 2 * r), int((270 - 16) * 16), int(32 * 16));
            }
            break;
        }
        default: {   // rings about the pole
            const QPointF c(w / 2, h / 2);
            for (int j = 1; j <= 3; ++j) p.drawEllipse(c, j * h / 6.5, j * h / 6.5);
            for (int i = 0; i < 8; ++i) {
                const double a = i * 3.14159265358979 / 4;
                p.drawLine(c, c + QPointF(std::cos(a), std::sin(a)) * (h / 2.1));
            }
            break;
        }
        }
    }
    void mousePressEvent(QMouseEvent*) override {
        if (clicked_) clicked_();
    }

private:
    int slot_;
    std::function<void()> clicked_;
};

QPushButton* Button(const QString& text, const QString& name, const QString& tip, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

} // namespace

frmDirectProjection::frmDirectProjection(frmDirectProjectionLogic& logic, QWidget* parent)
    : DialogBase(parent, &logic.Position), logic_(logic) {
    setObjectName(kForm);
    setWindowTitle(QStringLiteral("直接投影変換"));
    setHelpContext(frmDirectProjectionLogic::kHelpContext);
    build();
    logic_.Changed = [this] { refresh(); };
    handler("Form_Load", [this] {
        logic_.Load();
        lblX_->setText(logic_.LabelX());
        lblY_->setText(logic_.LabelY());
        if (!logic_.HasProjectionTab()) tabs_->removeTab(1);
        tabs_->setCurrentIndex(logic_.ActiveTab);
        refresh();
    });
}

frmDirectProjection::~frmDirectProjection() {
    logic_.Changed = nullptr;
    if (!unloaded_) logic_.Unload();
}

template <class F>
void frmDirectProjection::handler(const char* proc, F&& f) {
    try {
        f();
    } catch (...) {
        AppError e = plat::CurrentError();
        AppendErrorSource(e, ErrFormUnload, kForm, QString::fromLatin1(proc), QString());
        StopOnFatalError(e, QStringLiteral("by StopError"));
    }
}

void frmDirectProjection::build() {
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tbsDirectPrj"));

    auto* tab0 = new QWidget;
    tab0->setObjectName(QStringLiteral("fraTab0"));
    auto* box0 = new QVBoxLayout(tab0);
    auto* fraCenter = new QGroupBox(QStringLiteral("キャンバス中心点"), tab0);
    fraCenter->setObjectName(QStringLiteral("fraCenter"));
    fraCenter->setToolTip(QStringLiteral("キャンバス中心の地図座標"));
    auto* grid = new QGridLayout(fraCenter);
    lblX_ = new QLabel(fraCenter);
    lblY_ = new QLabel(fraCenter);
    txtX_ = new QLineEdit(fraCenter);
    txtX_->setObjectName(QStringLiteral("txtX"));
    txtX_->setToolTip(QStringLiteral("キャンバスの中心経度またはＸ座標を入力"));
    txtY_ = new QLineEdit(fraCenter);
    txtY_->setObjectName(QStringLiteral("txtY"));
    txtY_->setToolTip(QStringLiteral("キャンバスの中心緯度またはＹ座標を入力"));
    lblX_->setBuddy(txtX_);
    lblY_->setBuddy(txtY_);
    grid->addWidget(lblX_, 0, 0);
    grid->addWidget(txtX_, 0, 1);
    grid->addWidget(lblY_, 1, 0);
    grid->addWidget(txtY_, 1, 1);
    box0->addWidget(fraCenter);
    auto* fraScale = new QGroupBox(QStringLiteral("縮尺(&S)"), tab0);
    fraScale->setObjectName(QStringLiteral("fraScale"));
    fraScale->setToolTip(QStringLiteral("出力先での地図の縮尺"));
    auto* line = new QHBoxLayout(fraScale);
    line->addWidget(new QLabel(QStringLiteral("1 /"), fraScale));
    txtScale_ = new QLineEdit(fraScale);
    txtScale_->setObjectName(QStringLiteral("txtScale"));
    txtScale_->setToolTip(QStringLiteral("縮尺の分母を入力"));
    txtScale_->setAlignment(Qt::AlignRight);
    line->addWidget(txtScale_, 1);
    box0->addWidget(fraScale);
    box0->addStretch(1);
    tabs_->addTab(tab0, QStringLiteral("投影条件(&C)"));
    tabs_->setTabToolTip(0, QStringLiteral("キャンバス中心座標と縮尺"));

    tab1_ = new QWidget;
    tab1_->setObjectName(QStringLiteral("fraTab1"));
    auto* box1 = new QVBoxLayout(tab1_);
    chkAuto_ = new QCheckBox(QStringLiteral("自動選択(&A)"), tab1_);
    chkAuto_->setObjectName(QStringLiteral("chkDirectAuto"));
    chkAuto_->setToolTip(QStringLiteral("投影中心緯度により自動選択"));
    box1->addWidget(chkAuto_);
    fraManual_ = new QGroupBox(QStringLiteral("手動選択"), tab1_);
    fraManual_->setObjectName(QStringLiteral("fraDirectManual"));
    fraManual_->setToolTip(QStringLiteral("任意の投影法を選択"));
    auto* opts = new QGridLayout(fraManual_);
    for (int i = 1; i <= frmDirectProjectionLogic::kSlots; ++i) {
        auto* o = new QRadioButton(frmDirectProjectionLogic::SlotCaption(i), fraManual_);
        o->setObjectName(QStringLiteral("optDirect%1").arg(i));
        o->setToolTip(frmDirectProjectionLogic::SlotToolTip(i));
        auto* img = new SlotPicture(i, [o] { if (o->isEnabled()) o->click(); }, fraManual_);
        img->setObjectName(QStringLiteral("imgDirect%1").arg(i));
        img->setToolTip(frmDirectProjectionLogic::SlotToolTip(i));
        opts->addWidget(img, i - 1, 0);
        opts->addWidget(o, i - 1, 1);
        opt_[size_t(i - 1)] = o;
        img_[size_t(i - 1)] = img;
        connect(o, &QRadioButton::clicked, this, [this, i] {
            if (!refreshing_) logic_.SetSlot(i);
        });
    }
    box1->addWidget(fraManual_);
    box1->addStretch(1);
    tabs_->addTab(tab1_, QStringLiteral("図法(&P)"));
    tabs_->setTabToolTip(1, QStringLiteral("直接投影変換の図法を選択"));

    cmdOK_ = Button(QStringLiteral("ＯＫ"), QStringLiteral("cmdOK"), QStringLiteral("設定を確定して閉じる"), this);
    auto* cancel = Button(QStringLiteral("キャンセル"), QStringLiteral("cmdCancel"), QStringLiteral("設定を取り消して閉じる"), this);
    auto* help = Button(QStringLiteral("ヘルプ(&H)"), QStringLiteral("cmdHelp"), QStringLiteral("このダイアログの解説"), this);
    setOkButton(cmdOK_);
    setHelpButton(help);
    setEnterPolicy(plat::EnterPolicy::PressOK);
    exemptFromChecks(cancel);
    exemptFromChecks(help);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(cmdOK_);
    row->addWidget(cancel);
    row->addWidget(help);
    auto* all = new QVBoxLayout(this);
    all->addWidget(tabs_);
    all->addLayout(row);
    all->setSizeConstraint(QLayout::SetFixedSize);

    addFieldCheck(txtX_, [this] { return logic_.ValidateX(txtX_->text()); });
    addFieldCheck(txtY_, [this] { return logic_.ValidateY(txtY_->text()); });
    addFieldCheck(txtScale_, [this] { return logic_.ValidateScale(txtScale_->text()); });
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (refreshing_) return;
        handler("tbsDirectPrj_Click", [this, index] {
            // The box being typed in is taken first, whatever it answers.
            if (QWidget* f = QApplication::focusWidget()) checkField(f);
            logic_.SelectTab(index);
        });
    });
    connect(chkAuto_, &QCheckBox::clicked, this, [this](bool on) {
        if (!refreshing_) handler("chkDirectAuto_Click", [this, on] { logic_.SetAuto(on); });
    });
    connect(cmdOK_, &QPushButton::clicked, this, [this] {
        handler("cmdOK_Click", [this] {
            logic_.OK();
            closeOK();
        });
    });
    connect(cancel, &QPushButton::clicked, this, [this] { closeCancel(); });
}

void frmDirectProjection::refresh() {
    if (refreshing_) return;
    refreshing_ = true;
    chkAuto_->setChecked(logic_.WorkAuto);
    if (logic_.WorkIndex >= 1 && logic_.WorkIndex <= frmDirectProjectionLogic::kSlots)
        opt_[size_t(logic_.WorkIndex - 1)]->setChecked(true);
    fraManual_->setEnabled(logic_.ManualEnabled());
    txtX_->setText(logic_.TextX());
    txtY_->setText(logic_.TextY());
    txtScale_->setText(logic_.TextScale());
    if (tabs_->currentIndex() != logic_.ActiveTab && logic_.ActiveTab < tabs_->count()) tabs_->setCurrentIndex(logic_.ActiveTab);
    refreshing_ = false;
}

void frmDirectProjection::done(int result) {
    if (!unloaded_) {
        unloaded_ = true;
        logic_.Unload();
    }
    DialogBase::done(result);
}

// --- the main window's command ------------------------------------------------------

namespace {
DirectProjectionHost& Host() {
    static DirectProjectionHost host;
    return host;
}
} // namespace

DirectProjectionHost SetDirectProjectionHost(DirectProjectionHost host) { return std::exchange(Host(), std::move(host)); }

bool mnuDirectProjection(QWidget* mainWindow) {
    static frmDirectProjectionLogic logic;   // tab and position persist between openings
    clsMapPlot* plot = Host().CurrentPlot ? Host().CurrentPlot() : nullptr;
    if (!plot) return false;
    if (mainWindow) logic.Position.presetIfFirst(plat::WindowLeftTwips(mainWindow), plat::WindowTopTwips(mainWindow), 1500, 600);
    logic.TargetPlot = plot;
    bool ok = false;
    {
        frmDirectProjection dialog(logic, mainWindow);
        ok = dialog.showModal();
    }
    logic.TargetPlot = nullptr;
    if (ok && Host().ViewChanged) Host().ViewChanged();
    return ok;
}
