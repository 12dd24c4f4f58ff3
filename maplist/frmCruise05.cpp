#include "frmCruise05.h"

#include "Fonts.h"
#include "LongOperation.h"

#include <QCheckBox>
#include <QCursor>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

QString LevelName(int i) { return QStringLiteral("レベル%1").arg(i); }

} // namespace

frmCruise05::frmCruise05(QWidget* parent, plat::DialogPosition* remembered) : plat::DialogBase(parent, remembered) {
    setWindowTitle(QStringLiteral("クルーズ設定"));
    build();
    setOkButton(cmdOK);
    setEnterPolicy(plat::EnterPolicy::MoveToOK);
    setHelpContext(frmCruise05Logic::kHelpContext);
    setHelpButton(cmdHelp);
    exemptFromChecks(cmdCancel);
    exemptFromChecks(cmdHelp);
}

void frmCruise05::build() {
    auto* kind = new QGroupBox(QStringLiteral("地図の種類"), this);
    kind->setToolTip(QStringLiteral("地図の種類を選択"));
    optType[0] = new QRadioButton(QStringLiteral("行政図(&P)"), kind);
    optType[1] = new QRadioButton(QStringLiteral("地形図(&T)"), kind);
    auto* kindLayout = new QVBoxLayout(kind);
    kindLayout->addWidget(optType[0]);
    kindLayout->addWidget(optType[1]);

    auto* option = new QGroupBox(QStringLiteral("オプション"), this);
    option->setToolTip(QStringLiteral("追加するオプション地図"));
    chkOcean = new QCheckBox(QStringLiteral("海底地形図(&O)"), option);
    chkOcean->setToolTip(QStringLiteral("海底地形図を常に開く"));
    chkTraffic = new QCheckBox(QStringLiteral("交通図(&C)"), option);
    chkTraffic->setToolTip(QStringLiteral("交通図を常に開く"));
    auto* optionLayout = new QVBoxLayout(option);
    optionLayout->addWidget(chkOcean);
    optionLayout->addWidget(chkTraffic);

    chkAuto = new QCheckBox(QStringLiteral("オートクルーズ(&A)"), this);
    chkAuto->setToolTip(QStringLiteral("クルーズ機能を常に自動実行する"));
    chkReplace = new QCheckBox(QStringLiteral("小縮尺地図による代用許可(&R)"), this);
    chkReplace->setToolTip(QStringLiteral("地図ファイルが見つからないときは小縮尺用地図で代用を許可"));

    // The ladder: level names between the borders, from the smallest scale down.
    auto* scale = new QGroupBox(QStringLiteral("縮尺レベルの境界"), this);
    scale->setToolTip(QStringLiteral("地図を使い分ける縮尺"));
    auto* grid = new QGridLayout(scale);
    const QFont mono(plat::ResolveFontFamily(QStringLiteral("ＭＳ ゴシック")), font().pointSize());
    int row = 0;
    for (int i = 0; i <= 8; ++i) {
        lblNumerator[size_t(i)] = new QLabel(scale);
        lblNumerator[size_t(i)]->setFont(mono);
        if (i >= 1) {
            lblScale[size_t(i)] = new QLabel(LevelName(i), scale);
            grid->addWidget(lblScale[size_t(i)], row++, 0, 1, 3);
        }
        if (i == 0 || i == 8) {
            grid->addWidget(lblNumerator[size_t(i)], row++, 0, 1, 3);
            continue;
        }
        lblNumerator[size_t(i)]->setText(QStringLiteral("1 /"));
        lblNumerator[size_t(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* text = new QLineEdit(scale);
        text->setAlignment(Qt::AlignRight);
        text->setToolTip(LevelName(i) + QStringLiteral("と") + LevelName(i + 1) + QStringLiteral("の境界縮尺を入力"));
        auto* slider = new QSlider(Qt::Horizontal, scale);
        slider->setRange(1, 53);
        slider->setPageStep(5);
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(13);
        slider->setMinimumWidth(180);
        slider->setToolTip(LevelName(i) + QStringLiteral("と") + LevelName(i + 1) + QStringLiteral("の境界縮尺を設定"));
        txtScale[size_t(i)] = text;
        sliScale[size_t(i)] = slider;
        grid->addWidget(lblNumerator[size_t(i)], row, 0);
        grid->addWidget(text, row, 1);
        grid->addWidget(slider, row++, 2);

        const auto border = static_cast<int16_t>(i);
        connect(text, &QLineEdit::textEdited, this, [this, border](const QString& t) { logic_.setText(border, t); });
        addFieldCheck(text, [this, border] {
            const bool ok = logic_.ValidateText(border);
            refresh();
            return ok;
        });
        connect(slider, &QSlider::valueChanged, this, [this, border](int v) {
            if (refreshing_) return;
            logic_.SliderScrolled(border, static_cast<int16_t>(v));
            refresh();
        });
        connect(slider, &QSlider::sliderMoved, this, [slider](int v) {
            QToolTip::showText(QCursor::pos(), frmCruise05Logic::SliderTip(static_cast<int16_t>(v)), slider);
        });
    }

    cmdOK = new QPushButton(QStringLiteral("ＯＫ"), this);
    cmdOK->setToolTip(QStringLiteral("設定を確定して閉じる"));
    cmdCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cmdCancel->setToolTip(QStringLiteral("設定を取り消して閉じる"));
    cmdDefScale = new QPushButton(QStringLiteral("標準値(&D)"), this);
    cmdDefScale->setToolTip(QStringLiteral("縮尺レベルの境界縮尺を標準値に戻す"));
    cmdExe = new QPushButton(QStringLiteral("更新実行(&E)"), this);
    cmdExe->setToolTip(QStringLiteral("地図ユニットリストの更新を実行"));
    cmdHelp = new QPushButton(QStringLiteral("ヘルプ(&H)"), this);
    cmdHelp->setToolTip(QStringLiteral("このダイアログの解説"));
    for (QPushButton* b : {cmdOK, cmdCancel, cmdDefScale, cmdExe, cmdHelp}) b->setAutoDefault(false);

    auto* side = new QVBoxLayout;
    side->addWidget(kind);
    side->addWidget(option);
    side->addWidget(chkAuto);
    side->addWidget(chkReplace);
    side->addStretch(1);
    side->addWidget(cmdDefScale);
    side->addWidget(cmdExe);
    side->addSpacing(12);
    side->addWidget(cmdOK);
    side->addWidget(cmdCancel);
    side->addWidget(cmdHelp);
    auto* top = new QHBoxLayout(this);
    top->addWidget(scale, 1);
    top->addLayout(side);

    connect(optType[1], &QRadioButton::toggled, this, [this](bool on) {
        if (!refreshing_) logic_.setTopo(on);
    });
    const auto box = [this](QCheckBox* b, void (frmCruise05Logic::*set)(bool)) {
        connect(b, &QCheckBox::toggled, this, [this, set](bool on) {
            if (!refreshing_) (logic_.*set)(on);
        });
    };
    box(chkOcean, &frmCruise05Logic::setOcean);
    box(chkTraffic, &frmCruise05Logic::setTraffic);
    box(chkAuto, &frmCruise05Logic::setAutoCruise);
    box(chkReplace, &frmCruise05Logic::setReplace);

    connect(cmdDefScale, &QPushButton::clicked, this, [this] {
        logic_.DefaultScales();
        refresh();
    });
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        logic_.Ok();
        closeOK();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &frmCruise05::closeCancel);
    connect(cmdExe, &QPushButton::clicked, this, [this] {
        {
            plat::BusyCursor busy;
            logic_.Execute();
        }
        closeCancel();
    });
}

void frmCruise05::reject() {
    // Esc, the close box and Cancel; the run button leaves its own code.
    if (logic_.ExitCode != 2) logic_.Cancel();
    plat::DialogBase::reject();
}

void frmCruise05::loadControls() {
    logic_.Load();
    refresh();
}

int32_t frmCruise05::showCruise() {
    loadControls();
    showModal();
    return logic_.ExitCode;
}

void frmCruise05::refresh() {
    if (refreshing_) return;
    refreshing_ = true;
    const frmCruise05Logic::State& s = logic_.state();
    lblNumerator[0]->setText(s.largest);
    lblNumerator[8]->setText(s.smallest);
    for (int i = 1; i <= frmCruise05Logic::kBorders; ++i) {
        if (txtScale[size_t(i)]->text() != s.text[size_t(i)]) txtScale[size_t(i)]->setText(s.text[size_t(i)]);
        sliScale[size_t(i)]->setValue(s.slider[size_t(i)]);
    }
    optType[0]->setEnabled(s.administrativeEnabled);
    optType[1]->setEnabled(s.topoEnabled);
    optType[s.topo ? 1 : 0]->setChecked(true);
    chkOcean->setEnabled(s.oceanEnabled);
    chkOcean->setChecked(s.ocean);
    chkTraffic->setEnabled(s.trafficEnabled);
    chkTraffic->setChecked(s.traffic);
    chkAuto->setEnabled(s.autoEnabled);
    chkAuto->setChecked(s.autoCruise);
    chkReplace->setChecked(s.replace);
    refreshing_ = false;
}
