#include "frmAccessory.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "KeyCodes.h"

namespace {

struct Design {
    const char16_t* caption;
    const char16_t* tip;
    const char16_t* colorTip;
    const char16_t* fontTip;   // null: no font button
    const char16_t* textTip;   // null: no text box
};
// Items 1..7 at index 0..6.
const std::array<Design, frmAccessoryLogic::kItems> kDesign = {{
    {u"背景(&G)", u"コメント部分の背景を塗りつぶす", u"背景の色", nullptr, nullptr},
    {u"フレーム(&F)", u"全体を囲む枠線を描く", u"フレームの色", nullptr, nullptr},
    {u"距離尺(&M)", u"距離尺を付ける", u"距離尺の色", u"距離尺のフォント", u"縮尺値文字列(\"*\"なら出力縮尺)"},
    {u"タイトル(&I)", u"地図にタイトルを書き加える", u"タイトルの文字色", u"タイトルのフォント", u"タイトルとして記述する文章"},
    {u"コメント(&C)", u"地図に説明を書き加える", u"コメントの文字色", u"コメントのフォント",
     u"コメントとして記述する文章(\"*\" なら図法名)"},
    {u"センター(&N)", u"中心の十字線を描く", u"センターマーカーの色", nullptr, nullptr},
    {u"高度凡例(&V)", u"高度段彩凡例を付ける", u"高度凡例目盛の色", u"高度凡例目盛のフォント", nullptr},
}};

QString Text(const char16_t* s) { return QString::fromUtf16(s); }

// A colour button's face (colours are 0x00BBGGRR). Switched off, the colour
// fades into the button face as a disabled button's text does.
QString FaceStyle(int32_t c, const QColor& face) {
    const QColor on(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    const auto mix = [](int a, int b) { return (a + 2 * b) / 3; };
    const QColor off(mix(on.red(), face.red()), mix(on.green(), face.green()), mix(on.blue(), face.blue()));
    return QStringLiteral("QPushButton { background-color: %1; } QPushButton:disabled { background-color: %2; }")
        .arg(on.name(), off.name());
}

} // namespace

frmAccessory::frmAccessory(QWidget* parent, frmAccessoryLogic& logic)
    : SettingsForm(parent, &logic.Position, QStringLiteral("frmAccessory"), QStringLiteral("アクセサリ"),
                   frmAccessoryLogic::kHelpContext, plat::EnterPolicy::PressOK),
      logic_(logic) {
    handler("Form_Load", [this] { logic_.Load(); });
    build();
    connect(qApp, &QApplication::focusChanged, this, &frmAccessory::onFocus);
    refresh();
}

frmAccessory::~frmAccessory() {
    disconnect(qApp, nullptr, this, nullptr);
    handler("Form_Unload", [this] { logic_.Unload(); });
}

void frmAccessory::build() {
    auto* fraTable = new QGroupBox(QStringLiteral("アイテムリスト"), this);
    fraTable->setObjectName(QStringLiteral("fraTable"));
    auto* table = new QGridLayout(fraTable);
    table->addWidget(new QLabel(QStringLiteral("アイテム"), fraTable), 0, 0);
    table->addWidget(new QLabel(QStringLiteral("テキスト"), fraTable), 0, 1);
    table->addWidget(new QLabel(QStringLiteral("フォント"), fraTable), 0, 2);
    table->addWidget(new QLabel(QStringLiteral("色"), fraTable), 0, 3);
    table->setColumnStretch(1, 1);
    for (int i = 1; i <= frmAccessoryLogic::kItems; ++i) {
        const Design& d = kDesign[size_t(i - 1)];
        auto* chk = new QCheckBox(Text(d.caption), fraTable);
        chk->setToolTip(Text(d.tip));
        table->addWidget(chk, i, 0);
        chkAcsItem[size_t(i)] = chk;
        connect(chk, &QCheckBox::toggled, this, [this, i](bool on) {
            if (refreshing_) return;
            handler("chkAcsItem_Click", [this, i, on] {
                logic_.SetUse(i, on);
                refresh();
            });
        });
        if (d.textTip) {
            auto* txt = new QLineEdit(fraTable);
            txt->setToolTip(Text(d.textTip));
            txt->setMinimumWidth(240);
            table->addWidget(txt, i, 1);
            txtAcs[size_t(i)] = txt;
            connect(txt, &QLineEdit::textEdited, this, [this, i](const QString& t) { logic_.SetText(i, t); });
        }
        if (d.fontTip) {
            auto* font = MakeButton("cmdAcsFont", QString(), Text(d.fontTip), fraTable);
            font->setMinimumWidth(140);
            table->addWidget(font, i, 2);
            cmdAcsFont[size_t(i)] = font;
            connect(font, &QPushButton::clicked, this, [this, i] {
                handler("cmdAcsFont_Click", [this, i] {
                    logic_.ChooseFont(i);
                    refresh();
                });
            });
        }
        auto* color = MakeButton("cmdAcsColor", QString(), Text(d.colorTip), fraTable);
        color->setFixedWidth(40);
        table->addWidget(color, i, 3);
        cmdAcsColor[size_t(i)] = color;
        connect(color, &QPushButton::clicked, this, [this, i] {
            handler("cmdAcsColor_Click", [this, i] {
                if (logic_.ChooseColor(i)) refresh();
            });
        });
    }

    chkAcsEi = new QCheckBox(QStringLiteral("表示許可(&E)"), this);
    chkAcsEi->setToolTip(QStringLiteral("アクセサリの表示を許可"));
    auto* fraPosition = new QGroupBox(QStringLiteral("配置位置"), this);
    fraPosition->setToolTip(QStringLiteral("メジャー、タイトル、コメントを表示する位置"));
    optAcsPosition[0] = new QRadioButton(QStringLiteral("上部(&T)"), fraPosition);
    optAcsPosition[0]->setToolTip(QStringLiteral("地図の上部に置く"));
    optAcsPosition[1] = new QRadioButton(QStringLiteral("下部(&B)"), fraPosition);
    optAcsPosition[1]->setToolTip(QStringLiteral("地図の下部に置く"));
    auto* positionLayout = new QVBoxLayout(fraPosition);
    positionLayout->addWidget(optAcsPosition[0]);
    positionLayout->addWidget(optAcsPosition[1]);
    makeButtons([this] { logic_.Accept(); }, [this] { logic_.Cancel(); });

    auto* side = new QVBoxLayout;
    side->addWidget(chkAcsEi);
    side->addWidget(fraPosition);
    side->addStretch(1);
    side->addWidget(cmdOK);
    side->addWidget(cmdCancel);
    side->addWidget(cmdHelp);
    auto* all = new QHBoxLayout(this);
    all->addWidget(fraTable, 1);
    all->addLayout(side);

    connect(chkAcsEi, &QCheckBox::toggled, this, [this](bool on) {
        if (!refreshing_) logic_.AccessoryEnable = on;
    });
    for (int i = 0; i < 2; ++i)
        connect(optAcsPosition[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && !refreshing_) logic_.WorkPosition = i;
        });
}

void frmAccessory::onFocus(QWidget* old, QWidget* now) {
    for (int i = 1; i <= frmAccessoryLogic::kItems; ++i) {
        QLineEdit* txt = txtAcs[size_t(i)];
        if (!txt) continue;
        if (old == txt) {
            logic_.SetText(i, txt->text());
            logic_.TextFocus(false);
        }
        if (now == txt) logic_.TextFocus(true);
    }
}

void frmAccessory::formKeyDown(int& keyCode, int) {
    if (keyCode != plat::KeyReturn) return;
    // A push button with the focus takes Enter itself.
    if (qobject_cast<QPushButton*>(QApplication::focusWidget())) return;
    keyCode = 0;   // in a text box Enter stays there
    if (logic_.EnterToOK) cmdOK->click();
}

void frmAccessory::refresh() {
    if (refreshing_) return;
    refreshing_ = true;
    chkAcsEi->setChecked(logic_.AccessoryEnable);
    optAcsPosition[logic_.WorkPosition == 0 ? 0 : 1]->setChecked(true);
    for (int i = 1; i <= frmAccessoryLogic::kItems; ++i) {
        const frmAccessoryLogic::Record& r = logic_.Item(i);
        chkAcsItem[size_t(i)]->setChecked(r.Use);
        if (logic_.Has(i, frmAccessoryLogic::CanColor)) {
            cmdAcsColor[size_t(i)]->setStyleSheet(FaceStyle(r.Color, palette().color(QPalette::Button)));
            cmdAcsColor[size_t(i)]->setEnabled(r.Use);
        } else {
            cmdAcsColor[size_t(i)]->setEnabled(false);
        }
        if (QPushButton* font = cmdAcsFont[size_t(i)]) {
            const bool can = logic_.Has(i, frmAccessoryLogic::CanFont) && r.Font;
            font->setText(can ? r.Font->name : QString());
            font->setEnabled(can && r.Use);
        }
        if (QLineEdit* txt = txtAcs[size_t(i)]) {
            if (txt->text() != r.Text) txt->setText(r.Text);
            txt->setEnabled(logic_.ControlEnabled(i, frmAccessoryLogic::CanText));
        }
    }
    refreshing_ = false;
}
