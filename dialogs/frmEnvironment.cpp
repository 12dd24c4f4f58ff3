#include "frmEnvironment.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace {

template <typename W>
W* Named(W* w, const char* name, const QString& tip = QString()) {
    w->setObjectName(QString::fromLatin1(name));
    if (!tip.isEmpty()) w->setToolTip(tip);
    return w;
}

QLabel* Label(const QString& text, QWidget* buddy, const QString& tip, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    l->setToolTip(tip);
    return l;
}

} // namespace

frmEnvironment::frmEnvironment(QWidget* parent, frmEnvironmentLogic& logic)
    : SettingsForm(parent, &logic.Position, QStringLiteral("frmEnvironment"), QStringLiteral("環境設定"),
                   frmEnvironmentLogic::kHelpContext, plat::EnterPolicy::MoveToOK),
      logic_(logic) {
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) logic_.ScreenWidthPixels = screen->geometry().width();
    handler("Form_Load", [this] { logic_.Load(); });
    build();
    txtMapPath->setText(logic_.MapPath);
    txtStartMapFile->setText(logic_.StartMapFile);
    refresh();
}

void frmEnvironment::build() {
    const bool xy = logic_.MapMode() == 2;

    txtMapPath = Named(new QLineEdit(this), "txtMapPath", QStringLiteral("地図ファイルの規定フォルダ"));
    txtMapPath->setMinimumWidth(280);
    auto* lblMapPath = Label(QStringLiteral("地図ファイルフォルダ(&F):"), txtMapPath, txtMapPath->toolTip(), this);
    cmdMapPath = Named(new QPushButton(QStringLiteral("参照"), this), "cmdMapPath", QStringLiteral("地図ファイルのフォルダを探す"));

    auto* fraStartMap = Named(new QGroupBox(QStringLiteral("起動時の地図"), this), "fraStartMap",
                              QStringLiteral("アプリケーション起動時に開く地図"));
    const QString starts[3][2] = {{QStringLiteral("ベース地図のみ(&B)"), QStringLiteral("ベース地図のみ")},
                                  {QStringLiteral("クルーズ実行(&C)"), QStringLiteral("クルーズ機能を実行する")},
                                  {QStringLiteral("指定地図(&D)"), QStringLiteral("右で指定した地図を開く")}};
    for (size_t i = 0; i < 3; ++i)
        optStartMap[i] = Named(new QRadioButton(starts[i][0], fraStartMap), "optStartMap", starts[i][1]);
    txtStartMapFile = Named(new QLineEdit(fraStartMap), "txtStartMapFile", QStringLiteral("デフォルト地図ファイル名"));
    cmdStartMapFile = Named(new QPushButton(QStringLiteral("参照"), fraStartMap), "cmdStartMapFile",
                            QStringLiteral("指定地図ファイルを探す"));
    auto* startLayout = new QGridLayout(fraStartMap);
    startLayout->addWidget(optStartMap[0], 0, 0);
    startLayout->addWidget(optStartMap[1], 1, 0);
    startLayout->addWidget(optStartMap[2], 2, 0);
    startLayout->addWidget(txtStartMapFile, 2, 1);
    startLayout->addWidget(cmdStartMapFile, 2, 2);
    startLayout->setColumnStretch(1, 1);

    auto* fraHome = Named(new QGroupBox(QStringLiteral("ホームポジション"), this), "fraHome",
                          QStringLiteral("ホームポジションを設定する"));
    txtHomeLon = Named(new QLineEdit(fraHome), "txtHomeLon",
                       xy ? QStringLiteral("ホームポジションのX座標を入力") : QStringLiteral("ホームポジションの経度を入力"));
    txtHomeLat = Named(new QLineEdit(fraHome), "txtHomeLat",
                       xy ? QStringLiteral("ホームポジションのY座標を入力") : QStringLiteral("ホームポジションの緯度を入力"));
    txtHomeScale = Named(new QLineEdit(fraHome), "txtHomeScale", QStringLiteral("ホームポジションの縮尺の分母を入力"));
    for (QLineEdit* t : {txtHomeLon, txtHomeLat, txtHomeScale}) t->setAlignment(Qt::AlignRight);
    lblHomeLon = Label(xy ? QStringLiteral("Ｘ(&X):") : QStringLiteral("経度(&X):"), txtHomeLon,
                       xy ? QStringLiteral("ホームポジションのX座標") : QStringLiteral("ホームポジションの経度"), fraHome);
    lblHomeLat = Label(xy ? QStringLiteral("Ｙ(&Y):") : QStringLiteral("緯度(&Y):"), txtHomeLat,
                       xy ? QStringLiteral("ホームポジションのY座標") : QStringLiteral("ホームポジションの緯度"), fraHome);
    auto* lblHomeScale = Label(QStringLiteral("縮尺(&S):  1 /"), txtHomeScale, QStringLiteral("ﾎｰﾑﾎﾟｼﾞｼｮﾝの縮尺"), fraHome);
    cmdHomeRec = Named(new QPushButton(QStringLiteral("現在の地図画面(&V)"), fraHome), "cmdHomeRec",
                       QStringLiteral("地図画面の投影中心座標と縮尺を代入"));
    auto* homeLayout = new QGridLayout(fraHome);
    homeLayout->addWidget(lblHomeLon, 0, 0);
    homeLayout->addWidget(txtHomeLon, 0, 1);
    homeLayout->addWidget(lblHomeLat, 1, 0);
    homeLayout->addWidget(txtHomeLat, 1, 1);
    homeLayout->addWidget(lblHomeScale, 2, 0);
    homeLayout->addWidget(txtHomeScale, 2, 1);
    homeLayout->addWidget(cmdHomeRec, 3, 1, Qt::AlignRight);

    txtScreenWidth = Named(new QLineEdit(this), "txtScreenWidth", QStringLiteral("画面の幅をmmで入力"));
    txtScreenWidth->setAlignment(Qt::AlignRight);
    txtScreenWidth->setMaximumWidth(80);
    auto* lblScreenWidth = Label(QStringLiteral("画面幅(&W):"), txtScreenWidth, txtScreenWidth->toolTip(), this);
    auto* lblScreenWidthMM = new QLabel(QStringLiteral("mm"), this);
    choSaveInterval = Named(new QComboBox(this), "choSaveInterval", QStringLiteral("データ保存を確認する間隔"));
    choSaveInterval->addItems({QStringLiteral("確認しない"), QStringLiteral("15分"), QStringLiteral("30分")});
    auto* lblSaveInterval = Label(QStringLiteral("保存確認間隔(&I):"), choSaveInterval, choSaveInterval->toolTip(), this);
    choAngle = Named(new QComboBox(this), "choAngle", QStringLiteral("経緯度座標の書式"));
    choAngle->setMaxVisibleItems(frmEnvironmentLogic::kAngleFormats);
    for (const auto& f : frmEnvironmentLogic::AngleFormats()) choAngle->addItem(QString::fromUtf16(f.name));
    auto* lblAngle = Label(QStringLiteral("経緯度書式(&A):"), choAngle, choAngle->toolTip(), this);

    makeButtons([this] { logic_.Accept(); }, [this] { logic_.Cancel(); });
    for (QPushButton* b : {cmdMapPath, cmdStartMapFile, cmdHomeRec}) b->setAutoDefault(false);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(lblMapPath);
    pathRow->addWidget(txtMapPath, 1);
    pathRow->addWidget(cmdMapPath);
    auto* values = new QGridLayout;
    values->addWidget(lblScreenWidth, 0, 0);
    auto* widthRow = new QHBoxLayout;
    widthRow->addWidget(txtScreenWidth);
    widthRow->addWidget(lblScreenWidthMM);
    widthRow->addStretch(1);
    values->addLayout(widthRow, 0, 1);
    values->addWidget(lblSaveInterval, 1, 0);
    values->addWidget(choSaveInterval, 1, 1, Qt::AlignLeft);
    values->addWidget(lblAngle, 2, 0);
    values->addWidget(choAngle, 2, 1, Qt::AlignLeft);
    auto* middle = new QHBoxLayout;
    middle->addWidget(fraHome, 1);
    middle->addLayout(values);
    auto* left = new QVBoxLayout;
    left->addLayout(pathRow);
    left->addWidget(fraStartMap);
    left->addLayout(middle);
    auto* side = new QVBoxLayout;
    side->addWidget(cmdOK);
    side->addWidget(cmdCancel);
    side->addWidget(cmdHelp);
    side->addStretch(1);
    auto* all = new QHBoxLayout(this);
    all->addLayout(left, 1);
    all->addLayout(side);

    for (int i = 0; i < 3; ++i)
        connect(optStartMap[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && !refreshing_) logic_.StartMapType = static_cast<int16_t>(i);
        });
    connect(txtMapPath, &QLineEdit::textEdited, this, [this](const QString& t) { logic_.MapPath = t; });
    connect(txtStartMapFile, &QLineEdit::textEdited, this, [this](const QString& t) { logic_.StartMapFile = t; });
    connect(cmdMapPath, &QPushButton::clicked, this, [this] {
        handler("cmdMapPath_Click", [this] {
            plat::DialogPosition at{plat::WindowLeftTwips(this) + 3600, plat::WindowTopTwips(this) + 1050};
            if (logic_.BrowseMapPath(this, at)) txtMapPath->setText(logic_.MapPath);
        });
    });
    connect(cmdStartMapFile, &QPushButton::clicked, this, [this] {
        handler("cmdStartMapFile_Click", [this] {
            if (logic_.BrowseStartMapFile()) txtStartMapFile->setText(logic_.StartMapFile);
        });
    });
    // The coordinates are shown again whatever the check says; the scale
    // and the width keep their text as typed when accepted.
    addFieldCheck(txtHomeLon, [this] {
        const bool ok = logic_.CheckHomeX(txtHomeLon->text());
        refresh();
        return ok;
    });
    addFieldCheck(txtHomeLat, [this] {
        const bool ok = logic_.CheckHomeY(txtHomeLat->text());
        refresh();
        return ok;
    });
    addFieldCheck(txtHomeScale, [this] {
        const bool ok = logic_.CheckHomeScale(txtHomeScale->text());
        if (!ok) refresh();
        return ok;
    });
    addFieldCheck(txtScreenWidth, [this] {
        const bool ok = logic_.CheckScreenWidth(txtScreenWidth->text());
        if (!ok) refresh();
        return ok;
    });
    connect(cmdHomeRec, &QPushButton::clicked, this, [this] {
        handler("cmdHomeRec_Click", [this] {
            logic_.TakeCurrentView();
            refresh();
        });
    });
    connect(choSaveInterval, &QComboBox::activated, this, [this](int i) { logic_.ChooseSaveInterval(i); });
    connect(choAngle, &QComboBox::activated, this, [this](int i) { logic_.ChooseAngle(i); });
}

void frmEnvironment::refresh() {
    if (refreshing_) return;
    refreshing_ = true;
    optStartMap[size_t(std::clamp<int>(logic_.StartMapType, 0, 2))]->setChecked(true);
    txtScreenWidth->setText(logic_.ScreenWidthText());
    txtHomeScale->setText(logic_.HomeScaleText());
    txtHomeLon->setText(logic_.HomeXText());
    txtHomeLat->setText(logic_.HomeYText());
    choSaveInterval->setCurrentIndex(logic_.SaveIntervalIndex());
    choAngle->setCurrentIndex(logic_.AngleIndex());
    refreshing_ = false;
}
