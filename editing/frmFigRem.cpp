#include "frmFigRem.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "FigureDialogUi.h"
#include "PlainTextBox.h"
#include "basLibrary.h"
#include "clsMapRem.h"

namespace {
const QString kForm = QStringLiteral("frmFigRem");
}

FigRemLogic::FigRemLogic(FigureDialogVars& vars) : FigureDialogLogic(vars, QStringLiteral("注釈図形プロパティ")) {}

bool FigRemLogic::Load() {
    if (!LoadCommon()) return false;
    comment_ = static_cast<const clsMapRem&>(Work()).Comment();
    return true;
}

OkOutcome FigRemLogic::OkClick(const QString& typed) {
    auto& rem = static_cast<clsMapRem&>(Work());
    const QString text = RemoveCtrlChars(typed);
    rem.setComment(text);
    if (rem.Comment() != text) return OkOutcome::Stay;  // refused with its own message
    comment_ = text;
    if (rem.Admin() == -1) rem.setAdmin(0);
    return Finish({WorkPtr()});
}

frmFigRem::frmFigRem(FigureDialogVars& vars, QWidget* parent)
    : plat::DialogBase(parent, &vars.Win), logic_(vars) {
    RunHandler(kForm, QStringLiteral("Form_Load"), [this] {
        build();
        loaded_ = logic_.Load();
        if (!loaded_) return;
        setWindowTitle(logic_.Caption());
        txtComment->setPlainText(logic_.Comment());
        choPrint->setCurrentIndex(logic_.ShowModeIndex());
        lblDateBody->setText(logic_.DateText());
        showColor();
    });
}

void frmFigRem::build() {
    setEnterPolicy(plat::EnterPolicy::MoveToOK);
    auto* grid = new QGridLayout(this);
    txtComment = new plat::PlainTextBox;
    txtComment->setToolTip(QStringLiteral("注釈の文章"));
    txtComment->setTabChangesFocus(true);
    txtComment->setMinimumSize(340, 90);
    choPrint = new QComboBox;
    choPrint->addItems(ShowModeEntries());
    cmdColor = new QPushButton;
    lblDateBody = new QLabel;
    AddFormRow(grid, 0, QStringLiteral("コメント(&C):"), txtComment);
    grid->itemAtPosition(0, 0)->setAlignment(Qt::AlignRight | Qt::AlignTop);
    AddFormRow(grid, 1, QStringLiteral("固有表示(&D):"), choPrint);
    AddFormRow(grid, 2, QStringLiteral("固有色(&L):"), cmdColor);
    AddFormRow(grid, 3, QStringLiteral("生成日時:"), lblDateBody);
    const DialogButtons b = AddDialogButtons(this, grid, 4, FigRemLogic::kHelpContext);
    cmdOK = b.ok;
    cmdCancel = b.cancel;
    cmdHelp = b.help;
    cmdOK->setDefault(true);

    connect(choPrint, &QComboBox::activated, this, [this](int index) {
        RunHandler(kForm, QStringLiteral("choPrint_Click"), [&] { logic_.ShowModeClick(index); });
    });
    connect(cmdColor, &QPushButton::clicked, this, [this] {
        RunHandler(kForm, QStringLiteral("cmdColor_Click"), [this] {
            logic_.ColorClick();
            showColor();
        });
    });
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        RunHandler(kForm, QStringLiteral("cmdOK_Click"), [this] { okClick(); });
    });
}

void frmFigRem::showColor() { ApplyColorLook(cmdColor, logic_.ColorLook()); }

void frmFigRem::okClick() {
    switch (logic_.OkClick(txtComment->toPlainText())) {
    case OkOutcome::Closed: closeOK(); break;
    case OkOutcome::Cancelled: closeCancel(); break;
    case OkOutcome::Stay: break;
    }
}

void frmFigRem::showEvent(QShowEvent* e) {
    plat::DialogBase::showEvent(e);
    txtComment->setFocus(Qt::OtherFocusReason);
}

void RunFigRem(FigureDialogVars& vars) {
    frmFigRem dlg(vars);
    if (dlg.loaded()) dlg.showModal();
    // closeOK sets the dialog's own flag; the instance's OK is the logic's.
    dlg.logic().Unload();
}
