// The controls of pages 2 to 6 of the projection wizard and their refresh.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QToolTip>
#include <QVBoxLayout>

#include "PrjScreenDiagrams.h"
#include "basGlobe.h"
#include "frmPrjWizard.h"

namespace {

using Item = frmPrjWizardLogic::AngleItem;

constexpr int kMessageWidth = 460;
constexpr int kDiagramWidth = 120;
constexpr int kDiagramHeight = 96;

QCheckBox* CheckBox(const QString& text, const QString& name, QWidget* parent) {
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(name);
    return c;
}

QSlider* Slider(const QString& name, const frmPrjWizardLogic::SliderRange& r, QWidget* parent) {
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(name);
    s->setRange(r.min, r.max);
    s->setSingleStep(r.small);
    s->setPageStep(r.large);
    s->setTickPosition(QSlider::TicksBelow);
    s->setTickInterval(r.large);
    return s;
}

void SetTextKeepingCursor(QLineEdit* e, const QString& text) {
    if (e->text() != text) e->setText(text);
}

void ShowSliderTip(QSlider* s, const QString& tip) { QToolTip::showText(QCursor::pos(), tip, s); }

} // namespace

// --- diagrams ------------------------------------------------------------------------

PrjScreenDiagramView::PrjScreenDiagramView(int item, const frmPrjWizardLogic& logic, QWidget* parent)
    : QWidget(parent), item_(item), logic_(logic) {
    setObjectName(QStringLiteral("picScreen%1").arg(item));
    setFixedSize(kDiagramWidth, kDiagramHeight);
}

void PrjScreenDiagramView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor earth(0xB8, 0xE0, 0xB0), line(0x20, 0x40, 0x90), accent(0xD0, 0x30, 0x30);
    const QPen thin(line, 1), bold(accent, 2);
    const int w = width(), h = height();
    switch (item_) {
    case frmPrjWizardLogic::ScreenPoler: {
        const QRect globe(w / 2 - 26, h / 2 - 26, 52, 52);
        const PolerDiagram d = DrawPoler(globe, logic_.Work.poler);
        p.setPen(thin);
        p.setBrush(earth);
        p.drawEllipse(globe);
        p.setPen(bold);
        p.drawLine(d.meridian);
        p.setPen(thin);
        p.drawLine(d.equator);
        p.drawText(QRect(d.north.x() - 8, d.north.y() - 8, 16, 16), Qt::AlignCenter, QStringLiteral("N"));
        break;
    }
    case frmPrjWizardLogic::ScreenCone: {
        const QPoint apex(w / 2, 6);
        const ConeDiagram d = DrawCone(apex, w, logic_.Work.Cone);
        p.setPen(thin);
        p.setBrush(earth);
        p.drawEllipse(d.earth);
        p.setBrush(Qt::NoBrush);
        p.drawLine(apex, QPoint(apex.x(), h));   // the axis
        p.setPen(bold);
        p.drawLine(d.side[0]);
        p.drawLine(d.side[1]);
        p.drawEllipse(d.base);
        break;
    }
    case frmPrjWizardLogic::ScreenSecant: {
        const QPoint centre(22, h / 2);
        const SecantDiagram d = DrawSecant(centre, w, h, logic_.Work.Secant);
        const int r = int(0.531 * w + 0.5);
        p.setPen(thin);
        p.setBrush(earth);
        p.drawEllipse(centre, r, r);
        p.drawLine(centre, QPoint(w, centre.y()));   // the axis
        p.drawLine(d.radius[0]);
        p.drawLine(d.radius[1]);
        p.setPen(bold);
        p.drawLine(d.plane);
        break;
    }
    default: {
        const auto& table = logic_.LightTable();
        const double height = LightRatioToHeight(logic_.Work.Light);
        const QPoint ground(w - int(0.702 * w) - 8, h / 2);
        const LightDiagram d = DrawLight(ground, w, logic_.LightToSlider(height), int(table.size()) - 1, height);
        p.setPen(thin);
        p.setBrush(earth);
        p.drawEllipse(d.earth);
        p.drawLine(d.vertical);
        p.drawLine(d.horizontal);
        p.setPen(bold);
        p.drawLine(d.beam);
        p.setBrush(QColor(0xFF, 0xD0, 0x20));
        p.drawEllipse(d.light, 4, 4);
        break;
    }
    }
}

// --- pages 2 to 4 --------------------------------------------------------------------

QGroupBox* frmPrjWizard::angleFrame(Item item, const QString& caption, const QString& base, int n, QWidget* parent) {
    auto* g = new QGroupBox(caption, parent);
    g->setObjectName(QStringLiteral("fra%1%2").arg(base).arg(n));
    auto* box = new QHBoxLayout(g);
    AngleControls& c = angles_[size_t(item)];
    c.frame = g;
    c.text = new QLineEdit(g);
    c.text->setObjectName(QStringLiteral("txt%1%2").arg(base).arg(n));
    c.text->setFixedWidth(130);
    c.slider = Slider(QStringLiteral("sli%1%2").arg(base).arg(n), frmPrjWizardLogic::AngleSliderRange(item), g);
    c.slider->setMinimumWidth(200);
    box->addWidget(c.text);
    box->addWidget(c.slider, 1);
    QLineEdit* text = c.text;
    QSlider* slider = c.slider;
    addFieldCheck(text, [this, item, text] { return logic_.ValidateAngleText(item, text->text()); });
    const QByteArray proc = (slider->objectName() + QStringLiteral("_Scroll")).toLatin1();
    connect(slider, &QSlider::valueChanged, this, [this, item, slider, proc](int v) {
        if (refreshing_) return;
        handler(proc.constData(), [&] { ShowSliderTip(slider, logic_.ScrollAngle(item, v)); });
    });
    return g;
}

QGroupBox* frmPrjWizard::anglePage(const QString& messageName, const QString& message,
                                   std::initializer_list<std::pair<Item, const char*>> items, const QString& base,
                                   QVBoxLayout*& box) {
    auto* g = new QGroupBox(stack_);
    box = new QVBoxLayout(g);
    auto* msg = messageLabel(messageName, g);
    msg->setFixedWidth(kMessageWidth);
    msg->setText(message);
    box->addWidget(msg);
    int n = 0;
    for (const auto& [item, caption] : items) box->addWidget(angleFrame(item, QString::fromUtf8(caption), base, n++, g));
    return g;
}

QCheckBox* frmPrjWizard::switchBox(const QString& text, const QString& name, QWidget* parent,
                                   std::function<void(bool)> set) {
    QCheckBox* c = CheckBox(text, name, parent);
    connect(c, &QCheckBox::clicked, this, [this, name, set = std::move(set)](bool on) {
        if (!refreshing_) handler((name + QStringLiteral("_Click")).toLatin1().constData(), [&] { set(on); });
    });
    return c;
}

QGroupBox* frmPrjWizard::buildPage2() {
    QVBoxLayout* box = nullptr;
    QGroupBox* g = anglePage(QStringLiteral("lblFieldMessage"), frmPrjWizardLogic::FieldMessage(),
                             {{Item::FieldNorth, "北端緯度(&N)"},
                              {Item::FieldSouth, "南端緯度(&S)"},
                              {Item::FieldWest, "西端経度(&W)"},
                              {Item::FieldEast, "東端経度(&E)"}},
                             QStringLiteral("Field"), box);
    chkWorld_ = switchBox(QStringLiteral("全世界(&W)"), QStringLiteral("chkWorld"), g, [this](bool on) { logic_.SetFieldWorld(on); });
    chkFieldFrame_ = switchBox(QStringLiteral("投影領域枠線(&R)"), QStringLiteral("chkFieldFrame"), g,
                               [this](bool on) { logic_.SetFieldFrame(on); });
    auto* checks = new QHBoxLayout;
    checks->addWidget(chkWorld_);
    checks->addWidget(chkFieldFrame_);
    checks->addStretch(1);
    box->addLayout(checks);
    box->addStretch(1);
    return g;
}

QGroupBox* frmPrjWizard::buildPage3() {
    QVBoxLayout* box = nullptr;
    QGroupBox* g = anglePage(QStringLiteral("lblCenterMessage"), frmPrjWizardLogic::CenterMessage(),
                             {{Item::CenterLon, "中心経度(&X)"}, {Item::CenterLat, "中心緯度(&Y)"}}, QStringLiteral("Center"), box);
    auto* label = new QLabel(QStringLiteral("方位線(&Z):  (例) 北東と西へ２本描く場合 \"45,270\""), g);
    txtAzimuth_ = new QLineEdit(g);
    txtAzimuth_->setObjectName(QStringLiteral("txtAzimuth"));
    label->setBuddy(txtAzimuth_);
    box->addWidget(label);
    box->addWidget(txtAzimuth_);
    box->addStretch(1);
    connect(txtAzimuth_, &QLineEdit::textEdited, this, [this](const QString& t) { logic_.SetAzimuthLine(t); });
    return g;
}

QGroupBox* frmPrjWizard::buildPage4() {
    QVBoxLayout* box = nullptr;
    QGroupBox* g = anglePage(QStringLiteral("lblGridMessage"), frmPrjWizardLogic::GridMessage(),
                             {{Item::GridWidth, "経線間隔(&X)"},
                              {Item::GridHeight, "緯線間隔(&Y)"},
                              {Item::GridNorth, "北限緯度(&N)"},
                              {Item::GridSouth, "南限緯度(&S)"}},
                             QStringLiteral("Grid"), box);
    chkGrid_ = switchBox(QStringLiteral("経緯線(&G)"), QStringLiteral("chkGrid"), g, [this](bool on) { logic_.SetGridOn(on); });
    chkZone_ = switchBox(QStringLiteral("帯域線(&Z)"), QStringLiteral("chkZone"), g, [this](bool on) { logic_.SetZone(on); });
    chkTextSlant_ = switchBox(QStringLiteral("文字列傾斜(&T)"), QStringLiteral("chkTextSlant"), g,
                              [this](bool on) { logic_.SetTextSlant(on); });
    auto* checks = new QHBoxLayout;
    for (QCheckBox* c : {chkGrid_, chkZone_, chkTextSlant_}) checks->addWidget(c);
    checks->addStretch(1);
    box->addLayout(checks);
    box->addStretch(1);
    return g;
}

// --- page 5 --------------------------------------------------------------------------

QGroupBox* frmPrjWizard::buildPage5() {
    auto* g = new QGroupBox(stack_);
    auto* box = new QVBoxLayout(g);
    auto* msg = messageLabel(QStringLiteral("lblPrjMessage"), g);
    msg->setFixedWidth(kMessageWidth);
    msg->setText(frmPrjWizardLogic::PrjMessage());
    box->addWidget(msg);
    auto* row = new QHBoxLayout;
    auto* groups = new QVBoxLayout;
    static const char* const kGroups[frmPrjWizardLogic::kConditionGroups][2] = {
        {"全体形状(&S)", "chkForm"}, {"正性質(&Q)", "chkRight"}, {"地図化領域(&E)", "chkArea"}};
    for (int grp = 0; grp < frmPrjWizardLogic::kConditionGroups; ++grp) {
        auto* frame = new QGroupBox(QString::fromUtf8(kGroups[grp][0]), g);
        auto* grid = new QGridLayout(frame);
        grid->setVerticalSpacing(2);
        for (int i = 0; i < frmPrjWizardLogic::ConditionCount(grp); ++i) {
            QCheckBox* c = CheckBox(frmPrjWizardLogic::ConditionCaption(grp, i),
                                    QString::fromLatin1(kGroups[grp][1]) + QString::number(i), frame);
            grid->addWidget(c, i / 4, i % 4);
            conditions_[size_t(grp)][size_t(i)] = c;
            connect(c, &QCheckBox::clicked, this, [this, grp, i](bool on) {
                if (!refreshing_) handler("SetCondition", [&] { logic_.SetCondition(grp, i, on); });
            });
        }
        groups->addWidget(frame);
    }
    groups->addStretch(1);
    row->addLayout(groups);
    auto* listBox = new QVBoxLayout;
    lblPrjList_ = new QLabel(g);
    lblPrjList_->setObjectName(QStringLiteral("lblPrjList"));
    choPrjList_ = new QListWidget(g);
    choPrjList_->setObjectName(QStringLiteral("choPrjList"));
    choPrjList_->setFixedSize(210, 230);
    lblPrjList_->setBuddy(choPrjList_);
    listBox->addWidget(lblPrjList_);
    listBox->addWidget(choPrjList_);
    auto* buttons = new QHBoxLayout;
    auto* help = new QPushButton(QStringLiteral("解説(&G)"), g);
    help->setObjectName(QStringLiteral("cmdPrjHelp"));
    auto* reset = new QPushButton(QStringLiteral("リセット(&R)"), g);
    reset->setObjectName(QStringLiteral("cmdPrjReset"));
    for (QPushButton* b : std::initializer_list<QPushButton*>{help, reset}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    listBox->addLayout(buttons);
    row->addLayout(listBox);
    box->addLayout(row);
    connect(choPrjList_, &QListWidget::currentRowChanged, this, [this](int r) {
        if (!refreshing_ && r >= 0) handler("choPrjList_Click", [&] { logic_.ClickPrj(r); });
    });
    connect(reset, &QPushButton::clicked, this, [this] { handler("cmdPrjReset_Click", [this] { logic_.ResetConditions(); }); });
    connect(help, &QPushButton::clicked, this, [this] {
        const long id = logic_.PrjHelpContext();
        if (id <= 0) return;
        setHelpContext(id);
        showHelp();
    });
    return g;
}

// --- page 6 --------------------------------------------------------------------------

QGroupBox* frmPrjWizard::buildPage6() {
    auto* g = new QGroupBox(stack_);
    auto* box = new QVBoxLayout(g);
    lblScreenMessage_ = messageLabel(QStringLiteral("lblScreenMessage"), g);
    lblScreenMessage_->setFixedWidth(kMessageWidth + 120);
    lblScreenMessage_->setMinimumHeight(36);
    box->addWidget(lblScreenMessage_);
    auto* grid = new QGridLayout;
    static const char* const kCaptions[frmPrjWizardLogic::kScreenItems] = {"子午線回転角(&Z)", "円錐頂角(&C)",
                                                                           "割線間隔(&S)", "光源高度(&D)"};
    for (int i = 0; i < frmPrjWizardLogic::kScreenItems; ++i) {
        auto* f = new QGroupBox(QString::fromUtf8(kCaptions[i]), g);
        f->setObjectName(QStringLiteral("fraScreen%1").arg(i));
        auto* fl = new QGridLayout(f);
        AngleControls& c = screens_[size_t(i)];
        c.frame = f;
        c.text = new QLineEdit(f);
        c.text->setObjectName(QStringLiteral("txtScreen%1").arg(i));
        c.slider = Slider(QStringLiteral("sliScreen%1").arg(i), logic_.ScreenSliderRange(i), f);
        diagrams_[size_t(i)] = new PrjScreenDiagramView(i, logic_, f);
        fl->addWidget(c.text, 0, 0);
        fl->addWidget(c.slider, 1, 0);
        fl->addWidget(diagrams_[size_t(i)], 0, 1, 2, 1);
        // Hidden frames keep their place: the items stay where users know them.
        QSizePolicy sp = f->sizePolicy();
        sp.setRetainSizeWhenHidden(true);
        f->setSizePolicy(sp);
        grid->addWidget(f, i / 2, i % 2);
        QLineEdit* text = c.text;
        QSlider* slider = c.slider;
        addFieldCheck(text, [this, i, text] { return logic_.ValidateScreenText(i, text->text()); });
        connect(slider, &QSlider::valueChanged, this, [this, i, slider](int v) {
            if (refreshing_) return;
            handler("sliScreen_Scroll", [&] { ShowSliderTip(slider, logic_.ScrollScreen(i, v)); });
        });
    }
    box->addLayout(grid);
    auto* row = new QHBoxLayout;
    chkShadowFrame_ = switchBox(QStringLiteral("投影限界枠線(&E)"), QStringLiteral("chkShadowFrame"), g,
                                [this](bool on) { logic_.SetShadowFrame(on); });
    lblDivision_ = new QLabel(QStringLiteral("分割数(&V):"), g);
    lblDivision_->setObjectName(QStringLiteral("lblDivision"));
    lblDivision_->setToolTip(QStringLiteral("投影面の分割数"));
    choDivision_ = new QComboBox(g);
    choDivision_->setObjectName(QStringLiteral("choDivision"));
    choDivision_->addItems(frmPrjWizardLogic::DivisionEntries());
    lblDivision_->setBuddy(choDivision_);
    cmdRightAxis_ = new QPushButton(QStringLiteral("正軸調整(&A)"), g);
    cmdRightAxis_->setObjectName(QStringLiteral("cmdRightAxis"));
    cmdRightAxis_->setAutoDefault(false);
    for (QWidget* w : {static_cast<QWidget*>(lblDivision_), static_cast<QWidget*>(choDivision_)}) {
        QSizePolicy sp = w->sizePolicy();
        sp.setRetainSizeWhenHidden(true);
        w->setSizePolicy(sp);
    }
    row->addWidget(chkShadowFrame_);
    row->addSpacing(20);
    row->addWidget(lblDivision_);
    row->addWidget(choDivision_);
    row->addStretch(1);
    row->addWidget(cmdRightAxis_);
    box->addLayout(row);
    box->addStretch(1);
    connect(choDivision_, &QComboBox::activated, this, [this](int index) {
        if (!refreshing_) handler("choDivision_Click", [&] { logic_.SetDivision(choDivision_->itemText(index).toInt()); });
    });
    connect(cmdRightAxis_, &QPushButton::clicked, this, [this] { handler("cmdRightAxis_Click", [this] { logic_.RightAxis(); }); });
    return g;
}

// --- refresh -------------------------------------------------------------------------

void frmPrjWizard::refreshPages2to6() {
    for (int i = 0; i < frmPrjWizardLogic::kAngleItems; ++i) {
        const auto item = static_cast<Item>(i);
        const AngleControls& c = angles_[size_t(i)];
        c.text->setText(logic_.AngleText(item));
        c.slider->setValue(logic_.AngleSlider(item));
        const bool on = logic_.AngleEnabled(item);
        c.text->setEnabled(on);
        c.slider->setEnabled(on);
        if (item >= Item::GridWidth) c.frame->setEnabled(on);
    }
    chkWorld_->setChecked(logic_.Work.FieldWorld);
    chkFieldFrame_->setChecked(logic_.Work.FieldFrame);
    SetTextKeepingCursor(txtAzimuth_, logic_.Work.AzimuthLine);
    chkGrid_->setChecked(logic_.GridOn());
    chkZone_->setChecked(logic_.Work.Grid.Zone);
    chkTextSlant_->setChecked(logic_.Work.TextSlant);

    for (int grp = 0; grp < frmPrjWizardLogic::kConditionGroups; ++grp)
        for (int i = 0; i < frmPrjWizardLogic::ConditionCount(grp); ++i)
            conditions_[size_t(grp)][size_t(i)]->setChecked(logic_.ConditionChecked(grp, i));
    QStringList shown;
    for (int r = 0; r < choPrjList_->count(); ++r) shown.append(choPrjList_->item(r)->text());
    if (shown != logic_.PrjList()) {
        choPrjList_->clear();
        choPrjList_->addItems(logic_.PrjList());
    }
    choPrjList_->setCurrentRow(logic_.PrjListSelected());
    lblPrjList_->setText(logic_.PrjListLabel());

    lblScreenMessage_->setText(logic_.ScreenMessage());
    for (int i = 0; i < frmPrjWizardLogic::kScreenItems; ++i) {
        const AngleControls& c = screens_[size_t(i)];
        const frmPrjWizardLogic::SliderRange r = logic_.ScreenSliderRange(i);
        c.slider->setRange(r.min, r.max);
        if (i == frmPrjWizardLogic::ScreenLight) c.slider->setTickInterval(std::max(r.max / 4, 1));
        c.slider->setValue(logic_.ScreenSlider(i));
        c.text->setText(logic_.ScreenText(i));
        c.frame->setVisible(logic_.ScreenVisible(i));
        diagrams_[size_t(i)]->update();
    }
    chkShadowFrame_->setChecked(logic_.Work.ShadowFrame);
    const int division = choDivision_->findText(QString::number(logic_.Work.Division));
    choDivision_->setCurrentIndex(division >= 0 ? division : 0);
    choDivision_->setToolTip(logic_.DivisionToolTip());
    lblDivision_->setVisible(logic_.GoresVisible());
    choDivision_->setVisible(logic_.GoresVisible());
    cmdRightAxis_->setEnabled(logic_.RightAxisEnabled());
}
