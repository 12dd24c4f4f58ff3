#include "frmMapSearch.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

frmMapSearch::frmMapSearch(frmMapSearchLogic& logic, QWidget* parent)
    : plat::DialogBase(parent, &logic.Position), logic_(logic) {
    setWindowTitle(QStringLiteral("地図図形の検索と置換"));
    build();
    setOkButton(cmdSearch);
    setEnterPolicy(plat::EnterPolicy::MoveToOK);
    setHelpContext(kHelpContext);
    setHelpButton(cmdHelp);
    exemptFromChecks(cmdCancel);
    exemptFromChecks(cmdHelp);
}

void frmMapSearch::build() {
    fraTarget = new QGroupBox(QStringLiteral("検索対象"), this);
    auto* targets = new QVBoxLayout(fraTarget);
    const char16_t* targetCaptions[] = {u"全情報(&A)", u"テキスト(&T)", u"座標(&P)", u"固有色(&C)"};
    for (int i = 1; i <= 4; ++i) {
        optTarget[size_t(i)] = new QRadioButton(QString::fromUtf16(targetCaptions[i - 1]), fraTarget);
        targets->addWidget(optTarget[size_t(i)]);
        connect(optTarget[size_t(i)], &QRadioButton::clicked, this, [this, i] {
            logic_.TargetClick(i);
            enableKeys();
        });
    }
    fraDirection = new QGroupBox(QStringLiteral("検索方向"), this);
    auto* directions = new QVBoxLayout(fraDirection);
    const char16_t* directionCaptions[] = {u"上候補(&B)", u"下候補(&F)"};
    for (int i = 1; i <= 2; ++i) {
        optDirection[size_t(i)] = new QRadioButton(QString::fromUtf16(directionCaptions[i - 1]), fraDirection);
        directions->addWidget(optDirection[size_t(i)]);
        connect(optDirection[size_t(i)], &QRadioButton::clicked, this, [this, i] { logic_.DirectionClick(i); });
    }
    directions->addStretch(1);

    fraKey = new QGroupBox(QStringLiteral("検索キー"), this);
    auto* keys = new QGridLayout(fraKey);
    const auto combo = [this](bool editable) {
        auto* c = new QComboBox(fraKey);
        c->setEditable(editable);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setMinimumWidth(260);
        return c;
    };
    lblKeyword = new QLabel(QStringLiteral("検索ワード(&K):"), fraKey);
    choKeyword = combo(true);
    lblReplace = new QLabel(QStringLiteral("置換ワード(&E):"), fraKey);
    choReplace = combo(true);
    lblNode = new QLabel(QStringLiteral("ノード(&N):"), fraKey);
    choNode = combo(false);
    lblPalette = new QLabel(QStringLiteral("パレット(&L):"), fraKey);
    cmdPalette = new QPushButton(fraKey);
    cmdPalette->setAutoFillBackground(true);
    const std::pair<QLabel*, QWidget*> rows[] = {
        {lblKeyword, choKeyword}, {lblReplace, choReplace}, {lblNode, choNode}, {lblPalette, cmdPalette}};
    int r = 0;
    for (const auto& [label, control] : rows) {
        label->setBuddy(control);
        keys->addWidget(label, r, 0);
        keys->addWidget(control, r++, 1);
    }
    connect(cmdPalette, &QPushButton::clicked, this, [this] {
        logic_.PaletteClick();
        showPaletteColor();
    });

    cmdSearch = new QPushButton(QStringLiteral("検索(&S)"), this);
    cmdReplace = new QPushButton(QStringLiteral("置換(&R)"), this);
    cmdReplaceAll = new QPushButton(QStringLiteral("全置換(&W)"), this);
    cmdCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cmdHelp = new QPushButton(QStringLiteral("ヘルプ(&H)"), this);
    connect(cmdSearch, &QPushButton::clicked, this, [this] { command(1); });
    connect(cmdReplace, &QPushButton::clicked, this, [this] { command(2); });
    connect(cmdReplaceAll, &QPushButton::clicked, this, [this] { command(3); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { command(0); });
    cmdSearch->setDefault(true);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {cmdSearch, cmdReplace, cmdReplaceAll, cmdCancel, cmdHelp}) buttons->addWidget(b);
    buttons->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(fraTarget);
    top->addWidget(fraDirection);
    auto* left = new QVBoxLayout;
    left->addLayout(top);
    left->addWidget(fraKey);
    auto* all = new QHBoxLayout(this);
    all->addLayout(left, 1);
    all->addLayout(buttons);
}

void frmMapSearch::loadControls() {
    logic_.Load();
    command_ = 0;
    choKeyword->clear();
    for (const QString& k : logic_.KeywordHistory) choKeyword->insertItem(0, k);
    choReplace->clear();
    for (const QString& k : logic_.ReplaceHistory) choReplace->insertItem(0, k);
    choNode->clear();
    choNode->addItems(logic_.NodeEntries());
    if (choNode->count() > 0) choNode->setCurrentIndex(0);
    if (logic_.Target >= 1 && logic_.Target <= 4) optTarget[size_t(logic_.Target)]->setChecked(true);
    if (logic_.Direction >= 1 && logic_.Direction <= 2) optDirection[size_t(logic_.Direction)]->setChecked(true);
    choKeyword->setEditText(logic_.Keyword);
    choReplace->setEditText(logic_.ReplaceWord);
    enableKeys();
    showPaletteColor();
}

void frmMapSearch::showSearch() {
    loadControls();
    showModal();
}

void frmMapSearch::enableKeys() {
    const auto on = logic_.Enabled();
    for (QWidget* w : {static_cast<QWidget*>(lblKeyword), static_cast<QWidget*>(choKeyword)}) w->setEnabled(on.keyword);
    for (QWidget* w : {static_cast<QWidget*>(lblReplace), static_cast<QWidget*>(choReplace), static_cast<QWidget*>(cmdReplace),
                       static_cast<QWidget*>(cmdReplaceAll)})
        w->setEnabled(on.replace);
    lblNode->setEnabled(on.node);
    choNode->setEnabled(on.node);
    lblPalette->setEnabled(on.palette);
    cmdPalette->setEnabled(on.palette);
    cmdSearch->setEnabled(true);
}

void frmMapSearch::showPaletteColor() {
    cmdPalette->setText(logic_.PaletteCaption());
    QPalette p = palette();
    if (logic_.Color != -1) {
        const auto c = static_cast<uint32_t>(logic_.Color);
        p.setColor(QPalette::Button, QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
    }
    cmdPalette->setPalette(p);
}

void frmMapSearch::showEvent(QShowEvent* e) {
    plat::DialogBase::showEvent(e);
    QTimer::singleShot(0, this, [this] {
        switch (logic_.FocusOnActivate()) {
        case frmMapSearchLogic::Focus::Keyword: choKeyword->setFocus(); break;
        case frmMapSearchLogic::Focus::Node: choNode->setFocus(); break;
        case frmMapSearchLogic::Focus::Palette: cmdPalette->setFocus(); break;
        case frmMapSearchLogic::Focus::Search: cmdSearch->setFocus(); break;
        }
    });
}

void frmMapSearch::command(int32_t c) {
    command_ = c;
    if (c == 0) closeCancel();
    else closeOK();
}

void frmMapSearch::done(int r) {
    logic_.Close(command_, choKeyword->currentText(), choReplace->currentText(), choNode->currentIndex());
    plat::DialogBase::done(r);
}
