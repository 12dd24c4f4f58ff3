#include "frmPrjWizard.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStackedWidget>
#include <QToolTip>
#include <QVBoxLayout>

#include "AppState.h"
#include "ErrorMng.h"
#include "FlexGrid.h"
#include "basMouseWheel.h"

namespace {

const QString kForm = QStringLiteral("frmPrjWizard");

} // namespace

QLabel* frmPrjWizard::messageLabel(const QString& name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setFont(QFont(gvDefaultFont));
    return l;
}

PrjMonitorView::PrjMonitorView(PrjMonitorPicture& picture, QWidget* parent) : QWidget(parent), picture_(picture) {
    setObjectName(QStringLiteral("picMonitor"));
    setFixedSize(picture.Width(), picture.Height());
}

void PrjMonitorView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, picture_.image());
}

frmPrjWizard::frmPrjWizard(frmPrjWizardLogic& logic, QWidget* parent)
    : DialogBase(parent, &logic.Position), logic_(logic) {
    setObjectName(kForm);
    setWindowTitle(QStringLiteral("主投影変換ウィザード"));
    build();
    logic_.Changed = [this] { refresh(); };
    logic_.CloseNow = [this] {
        // The save closes the window as OK does.
        if (logic_.ResultFlags & frmPrjWizardLogic::ResultCommitted) closeOK();
        else closeCancel();
    };
    logic_.Monitor().Changed = [this] { picMonitor_->update(); };
    handler("Form_Load", [this] {
        WheelHook(flgSave_);
        logic_.Load();
    });
}

frmPrjWizard::~frmPrjWizard() {
    logic_.Changed = nullptr;
    logic_.CloseNow = nullptr;
    logic_.Monitor().Changed = nullptr;
    if (!unloaded_) {
        WheelUnhook(flgSave_);
        logic_.Unload();
    }
}

void frmPrjWizard::handler(const char* proc, const std::function<void()>& f) {
    try {
        f();
    } catch (...) {
        WheelUnhook(flgSave_);
        AppError e = plat::CurrentError();
        AppendErrorSource(e, ErrFormUnload, kForm, QString::fromLatin1(proc), QString());
        StopOnFatalError(e, QStringLiteral("by StopError"));
    }
}

void frmPrjWizard::build() {
    stack_ = new QStackedWidget(this);
    for (int n = 1; n <= frmPrjWizardLogic::kPages; ++n) {
        QGroupBox* g = nullptr;
        switch (n) {
        case 1: g = buildPage1(); break;
        case 2: g = buildPage2(); break;
        case 3: g = buildPage3(); break;
        case 4: g = buildPage4(); break;
        case 5: g = buildPage5(); break;
        case 6: g = buildPage6(); break;
        case 7: g = buildPage7(); break;
        case 8: g = buildPage8(); break;
        default: g = buildPage9(); break;
        }
        g->setTitle(frmPrjWizardLogic::PageCaption(n));
        g->setObjectName(QStringLiteral("fraPage%1").arg(n));
        pages_[size_t(n - 1)] = g;
        stack_->addWidget(g);
    }

    static const char* const kButtons[4][2] = {
        {"cmdBackward", "< 戻る(&B)"}, {"cmdForward", "進む(&F) >"}, {"cmdOK", "ＯＫ"}, {"cmdCancel", "キャンセル"}};
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (size_t i = 0; i < buttons_.size(); ++i) {
        buttons_[i] = new QPushButton(QString::fromUtf8(kButtons[i][1]), this);
        buttons_[i]->setObjectName(QString::fromLatin1(kButtons[i][0]));
        buttons_[i]->setAutoDefault(false);
        row->addWidget(buttons_[i]);
    }
    auto* help = new QPushButton(QStringLiteral("ヘルプ(&H)"), this);
    help->setObjectName(QStringLiteral("cmdHelp"));
    help->setAutoDefault(false);
    row->addWidget(help);
    setOkButton(buttons_[frmPrjWizardLogic::BtnOK]);
    setEnterPolicy(plat::EnterPolicy::MoveToOK);
    exemptFromChecks(buttons_[frmPrjWizardLogic::BtnCancel]);
    exemptFromChecks(help);
    connect(help, &QPushButton::clicked, this, [this] {
        setHelpContext(logic_.HelpContext());
        showHelp();
    });

    connect(buttons_[frmPrjWizardLogic::BtnBackward], &QPushButton::clicked, this,
            [this] { handler("cmdBackward_Click", [this] { logic_.Backward(); }); });
    connect(buttons_[frmPrjWizardLogic::BtnForward], &QPushButton::clicked, this,
            [this] { handler("cmdForward_Click", [this] { logic_.Forward(); }); });
    connect(buttons_[frmPrjWizardLogic::BtnOK], &QPushButton::clicked, this, [this] {
        handler("cmdOK_Click", [this] {
            if (logic_.Running()) return;
            logic_.OK();
            closeOK();
        });
    });
    connect(buttons_[frmPrjWizardLogic::BtnCancel], &QPushButton::clicked, this, [this] { reject(); });

    auto* all = new QVBoxLayout(this);
    all->addWidget(stack_);
    all->addLayout(row);
    all->setSizeConstraint(QLayout::SetFixedSize);
}

QGroupBox* frmPrjWizard::buildPage1() {
    auto* g = new QGroupBox(stack_);
    auto* box = new QVBoxLayout(g);
    lblInitMessage_ = messageLabel(QStringLiteral("lblInitMessage"), g);
    lblInitMessage_->setFixedWidth(460);
    lblInitMessage_->setMinimumHeight(110);
    box->addWidget(lblInitMessage_);
    static const char* const kOptions[4] = {"前回の設定を継続(&C)", "初期化(&D)", "経緯度モード引用(&A)  （推奨）",
                                            "ログファイル引用(&L)"};
    for (int i = 0; i < 4; ++i) {
        optInit_[size_t(i)] = new QRadioButton(QString::fromUtf8(kOptions[i]), g);
        optInit_[size_t(i)]->setObjectName(QStringLiteral("optInit%1").arg(i));
        box->addWidget(optInit_[size_t(i)]);
        connect(optInit_[size_t(i)], &QRadioButton::clicked, this, [this, i] {
            if (refreshing_) return;
            logic_.InitOption = static_cast<int16_t>(i);
        });
    }
    auto* plg = new QHBoxLayout;
    txtPLG_ = new QLineEdit(g);
    txtPLG_->setObjectName(QStringLiteral("txtPLG"));
    auto* cmdPLG = new QPushButton(QStringLiteral("参照"), g);
    cmdPLG->setObjectName(QStringLiteral("cmdPLG"));
    cmdPLG->setAutoDefault(false);
    plg->addSpacing(20);
    plg->addWidget(txtPLG_, 1);
    plg->addWidget(cmdPLG);
    box->addLayout(plg);
    box->addStretch(1);
    addFieldCheck(txtPLG_, [this] {
        logic_.ValidateLogText(txtPLG_->text());
        return true;
    });
    connect(cmdPLG, &QPushButton::clicked, this, [this] { handler("cmdPLG_Click", [this] { logic_.BrowseLog(); }); });
    return g;
}

QGroupBox* frmPrjWizard::buildPage7() {
    auto* g = new QGroupBox(stack_);
    auto* box = new QVBoxLayout(g);
    auto* msg = messageLabel(QStringLiteral("lblScaleMessage"), g);
    msg->setText(frmPrjWizardLogic::ScaleMessage());
    box->addWidget(msg);
    auto* line = new QHBoxLayout;
    line->addWidget(new QLabel(QStringLiteral("1 /"), g));
    txtScale_ = new QLineEdit(g);
    txtScale_->setObjectName(QStringLiteral("txtScale"));
    txtScale_->setAlignment(Qt::AlignRight);
    line->addWidget(txtScale_);
    line->addStretch(1);
    box->addLayout(line);
    sliScale_ = new QSlider(Qt::Horizontal, g);
    sliScale_->setObjectName(QStringLiteral("sliScale"));
    sliScale_->setRange(1, 53);
    sliScale_->setTickPosition(QSlider::TicksBelow);
    sliScale_->setTickInterval(13);
    box->addWidget(sliScale_);
    box->addStretch(1);
    addFieldCheck(txtScale_, [this] { return logic_.ValidateScaleText(txtScale_->text()); });
    connect(sliScale_, &QSlider::valueChanged, this, [this](int level) {
        if (refreshing_) return;
        handler("sliScale_Scroll", [this, level] {
            const QString tip = logic_.ScrollScale(static_cast<int16_t>(level));
            QToolTip::showText(QCursor::pos(), tip, sliScale_);
        });
    });
    return g;
}

QGroupBox* frmPrjWizard::buildPage8() {
    auto* g = new QGroupBox(stack_);
    auto* box = new QVBoxLayout(g);
    lblExecMessage_ = messageLabel(QStringLiteral("lblExecMessage"), g);
    lblExecMessage_->setFixedWidth(460);
    lblExecMessage_->setMinimumHeight(50);
    box->addWidget(lblExecMessage_);
    picMonitor_ = new PrjMonitorView(logic_.Monitor(), g);
    box->addWidget(picMonitor_, 0, Qt::AlignHCenter);
    prbExecute_ = new QProgressBar(g);
    prbExecute_->setObjectName(QStringLiteral("prbExecute"));
    prbExecute_->setRange(0, 100);
    box->addWidget(prbExecute_);
    auto* line = new QHBoxLayout;
    lblRemainTime_ = new QLabel(g);
    lblRemainTime_->setObjectName(QStringLiteral("lblRemainTime"));
    cmdExecute_ = new QPushButton(g);
    cmdExecute_->setObjectName(QStringLiteral("cmdExecute"));
    cmdExecute_->setAutoDefault(false);
    line->addWidget(lblRemainTime_, 1);
    line->addWidget(cmdExecute_);
    box->addLayout(line);
    connect(cmdExecute_, &QPushButton::clicked, this,
            [this] { handler("cmdExecute_Click", [this] { logic_.Execute(); }); });
    return g;
}

QGroupBox* frmPrjWizard::buildPage9() {
    auto* g = new QGroupBox(stack_);
    auto* box = new QVBoxLayout(g);
    lblSaveMessage_ = messageLabel(QStringLiteral("lblSaveMessage"), g);
    lblSaveMessage_->setFixedWidth(460);
    lblSaveMessage_->setMinimumHeight(70);
    box->addWidget(lblSaveMessage_);
    auto* lblSave = new QLabel(QStringLiteral("生成されたＸＹ地図"), g);
    lblSave->setObjectName(QStringLiteral("lblSave"));
    box->addWidget(lblSave);
    flgSave_ = new plat::FlexGrid(g);
    flgSave_->setObjectName(QStringLiteral("flgSave"));
    flgSave_->setFixedHeight(200);
    flgSave_->setFormatString(QStringLiteral(">番号|>地図名|>地図図形ファイル名|>図形数　"));
    box->addWidget(flgSave_);
    cmdSave_ = new QPushButton(QStringLiteral("フォルダ名を付けて保存(&S)"), g);
    cmdSave_->setObjectName(QStringLiteral("cmdSave"));
    cmdSave_->setAutoDefault(false);
    box->addWidget(cmdSave_, 0, Qt::AlignRight);
    connect(cmdSave_, &QPushButton::clicked, this, [this] { handler("cmdSave_Click", [this] { logic_.Save(); }); });
    return g;
}

void frmPrjWizard::fillSaveGrid() {
    // The grid keeps its rows until a completed run is shown.
    if (!logic_.SaveEnabled()) return;
    flgSave_->setRows(1);
    const int32_t rest = flgSave_->width() * 1440 / std::max(1, logicalDpiX()) - 255 - flgSave_->ColWidth(0) -
                         flgSave_->ColWidth(3);
    flgSave_->setColWidth(1, std::max(0, rest / 2));
    flgSave_->setColWidth(2, std::max(0, rest / 2));
    for (const QStringList& cells : logic_.SaveRows()) flgSave_->AddItem(cells.join(QLatin1Char('\t')));
}

void frmPrjWizard::refresh() {
    if (refreshing_) return;
    refreshing_ = true;
    const int page = logic_.Page();
    if (page >= 1) stack_->setCurrentIndex(page - 1);
    for (int i = 0; i < 4; ++i)
        buttons_[size_t(i)]->setEnabled(logic_.Enabled(static_cast<frmPrjWizardLogic::Button>(i)));

    lblInitMessage_->setText(frmPrjWizardLogic::InitMessage());
    if (logic_.InitOption >= 0 && logic_.InitOption < 4) optInit_[size_t(logic_.InitOption)]->setChecked(true);
    txtPLG_->setText(logic_.LogPath);

    refreshPages2to6();

    if (!txtScale_->hasFocus()) txtScale_->setText(logic_.ScaleText());
    sliScale_->setValue(logic_.ScaleLevel());

    lblExecMessage_->setText(logic_.ExecMessage());
    cmdExecute_->setText(logic_.ExecuteCaption());
    prbExecute_->setValue(logic_.ProgressValue());
    lblRemainTime_->setText(logic_.RemainText());

    lblSaveMessage_->setText(logic_.SaveMessage());
    cmdSave_->setEnabled(logic_.SaveEnabled());
    // The grid is filled when page 9 is entered.
    if (page == 9 && shownPage_ != 9) fillSaveGrid();
    shownPage_ = page;
    refreshing_ = false;
}

void frmPrjWizard::done(int result) {
    if (!logic_.RequestClose()) return;
    if (!unloaded_) {
        unloaded_ = true;
        WheelUnhook(flgSave_);
        logic_.Unload();
    }
    DialogBase::done(result);
}
