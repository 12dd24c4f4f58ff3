#include "frmGrid.h"

#include <QCheckBox>
#include <QCursor>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

struct Design {
    const char16_t* caption;
    const char16_t* tip;
    const char16_t* low;
    const char16_t* high;
};
const std::array<Design, frmGridLogic::kValues> kDesign = {{
    {u"経線間隔(&X)", u"経線の間隔", u"00ﾟ01'", u"45ﾟ"},
    {u"緯線間隔(&Y)", u"緯線の間隔", u"00ﾟ01'", u"45ﾟ"},
    {u"北限緯度(&N)", u"描画できる北限緯度", u"5ﾟN", u"90ﾟN"},
    {u"南限緯度(&S)", nullptr, u"90ﾟS", u"5ﾟS"},
}};

QCheckBox* Check(const QString& caption, const QString& tip, QWidget* parent) {
    auto* c = new QCheckBox(caption, parent);
    c->setToolTip(tip);
    return c;
}

} // namespace

frmGrid::frmGrid(QWidget* parent, frmGridLogic& logic)
    : SettingsForm(parent, &logic.Position, QStringLiteral("frmGrid"), QStringLiteral("経緯線"), frmGridLogic::kHelpContext,
                   plat::EnterPolicy::PressOK),
      logic_(logic) {
    handler("Form_Load", [this] { logic_.Load(); });
    build();
    refresh();
}

void frmGrid::build() {
    auto* values = new QGridLayout;
    for (int i = 0; i < frmGridLogic::kValues; ++i) {
        const Design& d = kDesign[size_t(i)];
        const frmGridLogic::Row& r = frmGridLogic::Rows()[size_t(i)];
        auto* fra = new QGroupBox(QString::fromUtf16(d.caption), this);
        if (d.tip) fra->setToolTip(QString::fromUtf16(d.tip));
        auto* txt = new QLineEdit(fra);
        txt->setToolTip(QStringLiteral("度分秒で入力"));
        txt->setAlignment(Qt::AlignRight);
        auto* sli = new QSlider(Qt::Horizontal, fra);
        sli->setToolTip(QStringLiteral("１度単位で設定"));
        sli->setRange(r.sliderMin, r.sliderMax);
        sli->setSingleStep(30);
        sli->setPageStep(300);
        sli->setTickPosition(QSlider::TicksBelow);
        sli->setTickInterval(r.sliderMax - r.sliderMin > 3000 ? 900 : 300);
        sli->setMinimumWidth(160);
        auto* layout = new QGridLayout(fra);
        layout->addWidget(txt, 0, 0, 1, 2);
        layout->addWidget(sli, 1, 0, 1, 2);
        layout->addWidget(new QLabel(QString::fromUtf16(d.low), fra), 2, 0, Qt::AlignLeft);
        layout->addWidget(new QLabel(QString::fromUtf16(d.high), fra), 2, 1, Qt::AlignRight);
        fraGrid[size_t(i)] = fra;
        txtGrid[size_t(i)] = txt;
        sliGrid[size_t(i)] = sli;
        values->addWidget(fra, i / 2, i % 2);

        addFieldCheck(txt, [this, i] {
            const bool ok = logic_.CheckText(i, txtGrid[size_t(i)]->text());
            refresh();
            return ok;
        });
        connect(sli, &QSlider::valueChanged, this, [this, i](int p) {
            if (refreshing_) return;
            handler("sliGrid_Scroll", [this, i, p] {
                logic_.Scroll(i, p);
                refresh();
                if (sliGrid[size_t(i)]->isSliderDown())
                    QToolTip::showText(QCursor::pos(), txtGrid[size_t(i)]->text(), sliGrid[size_t(i)]);
            });
        });
    }

    chkGridEi = Check(QStringLiteral("表示許可(&E)"), QStringLiteral("経線と緯線の表示を許可"), this);
    chkGridAuto = Check(QStringLiteral("自動設定(&A)"), QStringLiteral("画面の状況に応じて自動的に調整"), this);
    chkOcean = Check(QStringLiteral("海上のみ(&O)"), QStringLiteral("海上にのみ描く"), this);
    chkString = Check(QStringLiteral("経緯度文字(&V)"), QStringLiteral("経緯度数値を表示する"), this);
    makeButtons([this] { logic_.Accept(); }, [this] { logic_.Cancel(); });

    auto* side = new QVBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{chkGridEi, chkGridAuto, chkOcean, chkString}) side->addWidget(w);
    side->addStretch(1);
    for (QWidget* w : std::initializer_list<QWidget*>{cmdOK, cmdCancel, cmdHelp}) side->addWidget(w);
    auto* all = new QHBoxLayout(this);
    all->addLayout(values, 1);
    all->addLayout(side);

    connect(chkGridEi, &QCheckBox::toggled, this, [this](bool on) {
        if (refreshing_) return;
        handler("chkGridEi_Click", [this, on] {
            logic_.GridEnable = on;
            refresh();
        });
    });
    connect(chkGridAuto, &QCheckBox::toggled, this, [this](bool on) {
        if (refreshing_) return;
        handler("chkGridAuto_Click", [this, on] {
            logic_.GridAuto = on;
            refresh();
        });
    });
    connect(chkOcean, &QCheckBox::toggled, this, [this](bool on) {
        if (!refreshing_) logic_.GridOcean = on;
    });
    connect(chkString, &QCheckBox::toggled, this, [this](bool on) {
        if (!refreshing_) logic_.GridString = on;
    });
}

void frmGrid::refresh() {
    if (refreshing_) return;
    refreshing_ = true;
    const bool e = logic_.ValuesEnabled();
    chkGridEi->setChecked(logic_.GridEnable);
    chkGridAuto->setChecked(logic_.GridAuto);
    chkOcean->setChecked(logic_.GridOcean);
    chkString->setChecked(logic_.GridString);
    for (int i = 0; i < frmGridLogic::kValues; ++i) {
        fraGrid[size_t(i)]->setEnabled(e);
        sliGrid[size_t(i)]->setValue(logic_.SliderPosition(i));
        txtGrid[size_t(i)]->setText(logic_.Text(i));
    }
    refreshing_ = false;
}
