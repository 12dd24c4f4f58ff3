#include "frmExpText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "FormErrors.h"
#include "PictureBox.h"

namespace {

const QString kForm = QStringLiteral("frmExpText");

QPushButton* Button(const QString& name, const QString& caption, const QString& tip, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    return b;
}

} // namespace

frmExpText::frmExpText(QWidget* parent, ExpTextModel& model) : DialogBase(parent, &model.Position), model_(model) {
    setObjectName(kForm);
    RunHandler(kForm, QStringLiteral("Form_Load"), [this] { model_.Load(); });
    setWindowTitle(model_.Caption());

    auto* grid = new QGridLayout;
    const char16_t* labels[] = {u"欧州語フォント(&E):", u"日本語フォント(&J):"};
    const char16_t* tips[] = {u"欧州語地名の書体名('TT'=TrueType)", u"日本語地名の書体名('TT'=TrueType)"};
    for (int lang = 0; lang < 2; ++lang) {
        auto* list = new QComboBox(this);
        list->setObjectName(QStringLiteral("choLanguage%1").arg(lang));
        list->setToolTip(QString::fromUtf16(tips[lang]));
        list->setFont(QFont(QStringLiteral("ＭＳ ゴシック")));
        list->addItems(lang == 0 ? model_.EuropeanList : model_.JapaneseList);
        auto* label = new QLabel(QString::fromUtf16(labels[lang]), this);
        label->setBuddy(list);
        grid->addWidget(label, lang, 0);
        grid->addWidget(list, lang, 1);
        faces_[size_t(lang)] = list;
        connect(list, &QComboBox::activated, this, [this, lang](int i) {
            if (refreshing_) return;
            RunHandler(kForm, QStringLiteral("choLanguage_Click"), [this, lang, i] {
                model_.ChooseFace(lang, i);
                refresh();
            });
        });
    }
    height_ = new QComboBox(this);
    height_->setObjectName(QStringLiteral("choHeight"));
    height_->setEditable(true);
    height_->setToolTip(QStringLiteral("高さポイント数（１ポイントは0.35mm）"));
    auto* heightLabel = new QLabel(QStringLiteral("サイズ(&S):"), this);
    heightLabel->setBuddy(height_);
    grid->addWidget(heightLabel, 2, 0);
    grid->addWidget(height_, 2, 1);
    connect(height_, &QComboBox::activated, this, [this](int i) {
        if (refreshing_) return;
        RunHandler(kForm, QStringLiteral("choHeight_Click"), [this, i] {
            model_.ChooseHeight(i);
            paintSample();
        });
    });

    auto* frame = new QGroupBox(QStringLiteral("スタイル"), this);
    frame->setObjectName(QStringLiteral("fraStyle"));
    frame->setToolTip(QStringLiteral("装飾属性"));
    auto* frameBox = new QVBoxLayout(frame);
    const char16_t* boxes[][2] = {{u"太字(&B)", u"文字の縦棒を太くする"},
                                  {u"斜体(&I)", u"イタリック体にする"},
                                  {u"下線(&U)", u"下線を付ける"},
                                  {u"矩形(&R)", u"縁取りを矩形の塗りつぶしに変更"}};
    for (int k = 0; k < 4; ++k) {
        auto* box = new QCheckBox(QString::fromUtf16(boxes[k][0]), frame);
        box->setObjectName(QStringLiteral("chkStyle%1").arg(k));
        box->setToolTip(QString::fromUtf16(boxes[k][1]));
        frameBox->addWidget(box);
        styles_[size_t(k)] = box;
        connect(box, &QCheckBox::toggled, this, [this, k](bool on) {
            if (refreshing_) return;
            RunHandler(kForm, QStringLiteral("chkStyle_Click"), [this, k, on] {
                model_.SetStyleBox(k, on);
                paintSample();
            });
        });
    }
    grid->addWidget(frame, 3, 0, 1, 2);

    sample_ = new PictureBox(220, 90, this);
    sample_->setObjectName(QStringLiteral("picSample"));
    sample_->setToolTip(QStringLiteral("現在の設定による見本"));
    auto* fore = Button(QStringLiteral("cmdInside"), QStringLiteral("文字色(&C)"), QStringLiteral("文字の色"), this);
    auto* back = Button(QStringLiteral("cmdEdge"), QStringLiteral("縁色(&D)"), QStringLiteral("縁取りの色"), this);
    edge_ = new QCheckBox(QStringLiteral("縁色を有効にする"), this);
    edge_->setObjectName(QStringLiteral("chkEdge"));
    auto* ok = Button(QStringLiteral("cmdOK"), QStringLiteral("ＯＫ"), QStringLiteral("設定を確定して閉じる"), this);
    cancel_ = Button(QStringLiteral("cmdCancel"), QStringLiteral("キャンセル"), QStringLiteral("設定を取り消して閉じる"), this);
    auto* help = Button(QStringLiteral("cmdHelp"), QStringLiteral("ヘルプ(&H)"), QStringLiteral("このダイアログの解説"), this);
    ok->setDefault(true);
    setOkButton(ok);
    exemptFromChecks(cancel_);
    setHelpContext(model_.HelpContext());
    setHelpButton(help);

    auto* side = new QVBoxLayout;
    side->addWidget(sample_);
    side->addWidget(fore);
    side->addWidget(back);
    side->addWidget(edge_);
    side->addStretch(1);
    side->addWidget(ok);
    side->addWidget(cancel_);
    side->addWidget(help);
    auto* all = new QHBoxLayout(this);
    all->addLayout(grid);
    all->addLayout(side);
    all->setSizeConstraint(QLayout::SetFixedSize);

    connect(fore, &QPushButton::clicked, this, [this] {
        RunHandler(kForm, QStringLiteral("cmdInside_Click"), [this] {
            if (model_.ChooseFore()) paintSample();
        });
    });
    connect(back, &QPushButton::clicked, this, [this] {
        RunHandler(kForm, QStringLiteral("cmdEdge_Click"), [this] {
            if (model_.ChooseBack()) refresh();
        });
    });
    connect(edge_, &QCheckBox::toggled, this, [this](bool on) {
        if (refreshing_) return;
        RunHandler(kForm, QStringLiteral("chkEdge_Click"), [this, on] {
            model_.SetSecondColorOn(on);
            refresh();
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
    refresh();
}

void frmExpText::refresh() {
    if (refreshing_) return;
    refreshing_ = true;
    faces_[0]->setCurrentIndex(model_.EuropeanIndex);
    faces_[1]->setCurrentIndex(model_.JapaneseIndex);
    height_->clear();
    height_->addItems(model_.Heights);
    height_->setCurrentIndex(model_.HeightIndex);
    height_->setEditText(QString::number(model_.Size));
    for (int k = 0; k < 4; ++k) styles_[size_t(k)]->setChecked(model_.StyleBox(k));
    edge_->setChecked(model_.SecondColorOn());
    styles_[3]->setEnabled(model_.OpaqueEnabled());
    paintSample();
    refreshing_ = false;
}

void frmExpText::paintSample() {
    sample_->Repaint([this](plat::HDC dc, int w, int h) { model_.PaintSample(dc, w, h); });
}
