#include "frmRange.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOptionSlider>
#include <QStylePainter>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

#include "FormErrors.h"
#include "KeyCodes.h"

namespace {

const QString kForm = QStringLiteral("frmRange");

// A click on the groove puts the thumb there instead of paging towards it.
class JumpingSliderStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* ret) const override {
        if (hint == SH_Slider_AbsoluteSetButtons) return Qt::LeftButton;
        return QProxyStyle::styleHint(hint, option, widget, ret);
    }
};

QGroupBox* Frame(const QString& title, const QString& tip, QWidget* parent) {
    auto* f = new QGroupBox(title, parent);
    f->setToolTip(tip);
    return f;
}

} // namespace

// --- the slider --------------------------------------------------------------------

RangeSlider::RangeSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    auto* s = new JumpingSliderStyle;
    s->setParent(this);
    setStyle(s);
    setTickPosition(QSlider::TicksBelow);
    setTickInterval(1);
}

void RangeSlider::setSelection(int start, int length) {
    selStart_ = start;
    selLength_ = length;
    update();
}

int RangeSlider::centerOf(int value) const {
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderGroove, this);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, this);
    const int span = groove.width() - handle.width();
    return groove.x() + QStyle::sliderPositionFromValue(minimum(), maximum(), value, span, opt.upsideDown) +
           handle.width() / 2;
}

QRect RangeSlider::bandRect() const {
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderGroove, this);
    const int x1 = centerOf(selStart_), x2 = centerOf(selStart_ + selLength_);
    // A single level still shows as a short band.
    return QRect(QPoint(x1 - 3, groove.center().y() - 2), QPoint(x2 + 3, groove.center().y() + 2));
}

void RangeSlider::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) emit pressed(plat::ShiftStateOf(e->modifiers()));
    QSlider::mousePressEvent(e);
}

void RangeSlider::paintEvent(QPaintEvent*) {
    // The channel is drawn here: styles fill the groove up to the thumb,
    // which would read as a second selection.
    QStylePainter p(this);
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderGroove, this);
    const QRect channel(groove.left(), groove.center().y() - 3, groove.width(), 7);
    p.setPen(palette().color(QPalette::Mid));
    p.setBrush(palette().color(QPalette::Base));
    p.drawRect(channel.adjusted(0, 0, -1, -1));
    p.fillRect(bandRect(), palette().color(QPalette::Highlight));
    opt.subControls = QStyle::SC_SliderTickmarks | QStyle::SC_SliderHandle;
    p.drawComplexControl(QStyle::CC_Slider, opt);
}

// --- the dialog --------------------------------------------------------------------

frmRange::frmRange(QWidget* parent, RangeModel& model) : DialogBase(parent, &model.Position), model_(model) {
    setObjectName(kForm);
    auto* sliderFrame = Frame(QStringLiteral("表示される縮尺範囲を設定"), QString(), this);
    sliderFrame->setObjectName(QStringLiteral("fraSlider"));
    slider_ = new RangeSlider(sliderFrame);
    slider_->setObjectName(QStringLiteral("sliRange"));
    slider_->setMinimumWidth(520);
    legend_ = new QWidget(sliderFrame);
    for (size_t i = 0; i < levels_.size(); ++i) {
        levels_[i] = new QLabel(RangeModel::LevelText(RangeModel::kLegendLevels[i]), legend_);
        levels_[i]->setObjectName(QStringLiteral("lblLevel%1").arg(i));
    }
    legend_->setMinimumHeight(levels_[0]->sizeHint().height());
    legend_->installEventFilter(this);
    auto* sliderBox = new QVBoxLayout(sliderFrame);
    sliderBox->addWidget(slider_);
    sliderBox->addWidget(legend_);

    auto makeEnd = [this](const QString& title, const QString& tip, int firstStep, const QString& up,
                          const QString& down, QLabel*& val, QLabel*& step) {
        QGroupBox* f = Frame(title, tip, this);
        val = new QLabel(f);
        step = new QLabel(f);
        steps_[size_t(firstStep)] = new QPushButton(up, f);
        steps_[size_t(firstStep + 1)] = new QPushButton(down, f);
        auto* box = new QGridLayout(f);
        box->addWidget(val, 0, 0);
        box->addWidget(step, 1, 0);
        box->addWidget(steps_[size_t(firstStep)], 0, 1);
        box->addWidget(steps_[size_t(firstStep + 1)], 1, 1);
        return f;
    };
    QGroupBox* large = makeEnd(QStringLiteral("最大縮尺"), QStringLiteral("地図の縮尺がこれ以下なら表示される"), 0,
                               QStringLiteral("最大縮尺を大きくする"), QStringLiteral("最大縮尺を小さくする"), largeVal_,
                               largeStep_);
    large->setObjectName(QStringLiteral("fraLarge"));
    QGroupBox* small = makeEnd(QStringLiteral("最小縮尺"), QStringLiteral("地図の縮尺がこれ以上なら表示される"), 2,
                               QStringLiteral("最小縮尺を大きくする"), QStringLiteral("最小縮尺を小さくする"), smallVal_,
                               smallStep_);
    small->setObjectName(QStringLiteral("fraSmall"));
    largeVal_->setObjectName(QStringLiteral("lblLargeVal"));
    smallVal_->setObjectName(QStringLiteral("lblSmallVal"));
    for (size_t i = 0; i < steps_.size(); ++i) {
        steps_[i]->setObjectName(QStringLiteral("cmdRange%1").arg(i));
        connect(steps_[i], &QPushButton::clicked, this, [this, i] {
            RunHandler(kForm, QStringLiteral("cmdRange_Click"), [this, i] {
                model_.Step(static_cast<int>(i));
                refresh();
            });
        });
    }

    auto* ok = new QPushButton(QStringLiteral("ＯＫ"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel_->setObjectName(QStringLiteral("cmdCancel"));
    auto* help = new QPushButton(QStringLiteral("ヘルプ(&H)"), this);
    help->setObjectName(QStringLiteral("cmdHelp"));
    setOkButton(ok);
    exemptFromChecks(cancel_);
    setHelpContext(252201);
    setHelpButton(help);

    auto* ends = new QHBoxLayout;
    ends->addWidget(large);
    ends->addWidget(small);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel_);
    buttons->addWidget(help);
    auto* all = new QVBoxLayout(this);
    all->addWidget(sliderFrame);
    all->addLayout(ends);
    all->addLayout(buttons);
    all->setSizeConstraint(QLayout::SetFixedSize);

    connect(slider_, &RangeSlider::pressed, this, [this](int shift) {
        RunHandler(kForm, QStringLiteral("sliRange_MouseDown"), [this, shift] {
            model_.MouseDown(shift);
            refresh();
        });
    });
    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        if (refreshing_) return;
        RunHandler(kForm, QStringLiteral("sliRange_Scroll"), [this, value] {
            model_.Scroll(value);
            refresh();
            const QPoint at(slider_->centerOf(slider_->value()), 0);
            QToolTip::showText(slider_->mapToGlobal(at), model_.ThumbText(), slider_);
        });
    });
    connect(ok, &QPushButton::clicked, this, [this] {
        RunHandler(kForm, QStringLiteral("cmdOK_Click"), [this] {
            model_.Accept();
            closeOK();
        });
    });
    connect(cancel_, &QPushButton::clicked, this, [this] {
        model_.Cancel();
        closeCancel();
    });

    RunHandler(kForm, QStringLiteral("Form_Load"), [this] {
        model_.Load();
        setWindowTitle(model_.Caption());
        refreshing_ = true;
        slider_->setRange(RangeModel::Min, RangeModel::Max);
        refreshing_ = false;
        refresh();
    });
}

void frmRange::refresh() {
    if (refreshing_) return;
    refreshing_ = true;
    slider_->setValue(model_.Value());
    slider_->setSelection(model_.SelStart(), model_.SelLength());
    largeVal_->setText(model_.LargeValText());
    largeStep_->setText(model_.LargeStepText());
    smallVal_->setText(model_.SmallValText());
    smallStep_->setText(model_.SmallStepText());
    for (size_t i = 0; i < steps_.size(); ++i) steps_[i]->setEnabled(model_.StepEnabled(static_cast<int>(i)));
    refreshing_ = false;
}

void frmRange::placeLegend() {
    for (size_t i = 0; i < levels_.size(); ++i) {
        QLabel* l = levels_[i];
        l->adjustSize();
        const int pos = 54 - RangeModel::kLegendLevels[i];
        const QPoint centre = legend_->mapFrom(this, slider_->mapTo(this, QPoint(slider_->centerOf(pos), 0)));
        const int x = std::clamp(centre.x() - l->width() / 2, 0, std::max(0, legend_->width() - l->width()));
        l->move(x, 0);
    }
}

bool frmRange::eventFilter(QObject* o, QEvent* e) {
    if (o == legend_) {
        if (e->type() == QEvent::Resize || e->type() == QEvent::Show) placeLegend();
        return false;
    }
    return DialogBase::eventFilter(o, e);
}
