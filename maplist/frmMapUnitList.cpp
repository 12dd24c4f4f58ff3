#include "frmMapUnitList.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

#include "ErrorMng.h"
#include "FlexGrid.h"
#include "Fonts.h"
#include "MapListHost.h"
#include "Screen.h"
#include "basFileNames.h"
#include "basMouseWheel.h"

namespace {

// Design widths of the 11 columns (twips), before the widening at load.
constexpr std::array<int32_t, frmMapUnitListLogic::kCols> kDesignWidths = {450, 900, 450, 450, 1500, 450,
                                                                          700, 1300, 450, 1300, 450};

} // namespace

frmMapUnitList::frmMapUnitList(QWidget* parent) : plat::DialogBase(parent) {
    build();
    logic_.attach(&flgInfos->cells());
    setOkButton(cmdOK);
    setHelpContext(kHelpContext);
    setHelpButton(cmdHelp);
    exemptFromChecks(cmdCancel);
    exemptFromChecks(cmdHelp);
}

frmMapUnitList::~frmMapUnitList() = default;

void frmMapUnitList::handler(const char* name, const std::function<void()>& f) {
    try {
        f();
    } catch (...) {
        AppError e = plat::CurrentError();
        WheelUnhook(flgInfos);
        AppendErrorSource(e, ErrFormUnload, QStringLiteral("frmMapUnitList"), QString::fromLatin1(name), QString());
        StopOnFatalError(e, QStringLiteral("by StopError"));
    }
    refresh();
}

void frmMapUnitList::build() {
    setWindowTitle(QStringLiteral("地図ユニットリスト"));
    lblListBox = new QLabel(QStringLiteral("地図ユニットリスト(&L)"), this);
    lblListBox->setToolTip(QStringLiteral("アクティブ地図を選択する"));
    flgInfos = new plat::FlexGrid(this);
    flgInfos->setMinimumSize(560, 220);
    lblListBox->setBuddy(flgInfos);
    const auto button = [this](const QString& text, const QString& tip) {
        auto* b = new QPushButton(text, this);
        b->setToolTip(tip);
        b->setAutoDefault(false);
        return b;
    };
    cmdAdd = button(QStringLiteral("追加(&A)"), QStringLiteral("地図を追加する"));
    cmdRemove = button(QStringLiteral("除去(&R)"), QStringLiteral("アクティブ地図をリストから除去する"));
    cmdClear = button(QStringLiteral("全除去(&C)"), QStringLiteral("全地図をリストから除去する"));
    cmdUp = button(QStringLiteral("▲"), QStringLiteral("アクティブ地図を１行上へ移動"));
    cmdDown = button(QStringLiteral("▼"), QStringLiteral("アクティブ地図を１行下へ移動"));
    cmdOK = button(QStringLiteral("ＯＫ"), QStringLiteral("設定を確定して閉じる"));
    cmdCancel = button(QStringLiteral("キャンセル"), QStringLiteral("設定を取り消して閉じる"));
    cmdHelp = button(QStringLiteral("ヘルプ(&H)"), QStringLiteral("このダイアログの解説"));

    auto* left = new QVBoxLayout;
    left->addWidget(lblListBox);
    left->addWidget(flgInfos, 1);
    auto* side = new QVBoxLayout;
    for (QPushButton* b : {cmdAdd, cmdRemove, cmdClear}) side->addWidget(b);
    side->addSpacing(12);
    side->addWidget(cmdUp);
    side->addWidget(cmdDown);
    side->addStretch(1);
    for (QPushButton* b : {cmdOK, cmdCancel, cmdHelp}) side->addWidget(b);
    auto* top = new QHBoxLayout(this);
    top->addLayout(left, 1);
    top->addLayout(side);
    resize(820, 300);

    connect(flgInfos, &plat::FlexGrid::click, this, [this] {
        if (flgInfos->MouseRow() >= 1) handler("flgInfos_Click", [this] { logic_.GridClick(); });
    });
    connect(flgInfos, &plat::FlexGrid::mouseMove, this, [this](int, int, int, int) {
        flgInfos->setToolTipText(frmMapUnitListLogic::ToolTipAt(flgInfos->MouseCol()));
    });
    connect(cmdAdd, &QPushButton::clicked, this, [this] { handler("cmdAdd_Click", [this] { logic_.Add(); }); });
    connect(cmdRemove, &QPushButton::clicked, this, [this] { handler("cmdRemove_Click", [this] { logic_.Remove(); }); });
    connect(cmdClear, &QPushButton::clicked, this, [this] { handler("cmdClear_Click", [this] { logic_.Clear(); }); });
    connect(cmdUp, &QPushButton::clicked, this, [this] { handler("cmdUp_Click", [this] { logic_.Up(); }); });
    connect(cmdDown, &QPushButton::clicked, this, [this] { handler("cmdDown_Click", [this] { logic_.Down(); }); });
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        handler("cmdOK_Click", [this] { logic_.OK(); });
        if (logic_.DialogOK) closeOK();
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { closeCancel(); });
}

void frmMapUnitList::refresh() {
    cmdRemove->setEnabled(logic_.RemoveEnabled);
    cmdClear->setEnabled(logic_.ClearEnabled);
    cmdUp->setEnabled(logic_.UpEnabled);
    cmdDown->setEnabled(logic_.DownEnabled);
}

bool frmMapUnitList::loadControls() {
    bool loaded = false;
    handler("Form_Load", [this, &loaded] {
        setDialogOK(false);
        if (!logic_.UnitSet) return;
        WheelHook(flgInfos);
        flgInfos->setForeColor(static_cast<uint32_t>(GetGridForeColor()));
        flgInfos->setBackColor(static_cast<uint32_t>(GetGridBackColor()));
        QFont f(plat::ResolveFontFamily(GetGridFontName()));
        if (GetGridFontSize() > 0) f.setPointSize(GetGridFontSize());
        flgInfos->setFont(f);
        loaded = logic_.Load();
        if (layout()) layout()->activate();
        const auto gridWidth = static_cast<int32_t>(std::lround(flgInfos->width() * plat::TwipsPerPixelX()));
        const auto widths = frmMapUnitListLogic::WidenedColumns(gridWidth, kDesignWidths);
        for (int32_t c = 0; c < frmMapUnitListLogic::kCols; ++c) flgInfos->setColWidth(c, widths[static_cast<size_t>(c)]);
        setWindowTitle(logic_.Caption());
    });
    return loaded;
}

void frmMapUnitList::unloadControls() {
    handler("Form_Unload", [this] {
        WheelUnhook(flgInfos);
        logic_.Unload();
    });
}

bool frmMapUnitList::openFromMain(QWidget* mainWindow, clsMapUnits* set) {
    logic_.UnitSet = set;
    if (mainWindow) position().presetIfFirst(plat::WindowLeftTwips(mainWindow), plat::WindowTopTwips(mainWindow), 600, 600);
    bool ok = false;
    if (loadControls()) {
        showModal();
        ok = logic_.DialogOK;
    }
    unloadControls();
    if (ok) maplisthost::PlotWindow();
    return ok;
}
