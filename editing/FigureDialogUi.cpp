#include "FigureDialogUi.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include <cmath>

#include "FlexGrid.h"
#include "Fonts.h"
#include "Screen.h"
#include "basFileNames.h"
#include "SysColors.h"
#include "basHMapEdit.h"
#include "frmAdminSelect.h"
#include "frmThingSelect.h"

namespace {

// Where a picker opens: over the list it fills.
plat::DialogPosition CornerOf(const QWidget* w) {
    const QPoint p = w->mapToGlobal(QPoint(0, 0));
    return {static_cast<int32_t>(std::lround(p.x() * plat::TwipsPerPixelX())),
            static_cast<int32_t>(std::lround(p.y() * plat::TwipsPerPixelY()))};
}

bool OpenPicker(PickerLogic& picker, QWidget* owner, QWidget* over, bool (*show)(QWidget*),
                const std::function<void(bool)>& childOpen) {
    picker.Win = CornerOf(over);
    if (childOpen) childOpen(true);
    const bool ok = show(owner);
    if (childOpen) childOpen(false);
    return ok;
}

} // namespace

void ApplyColorLook(QPushButton* button, const ColorButtonLook& look) {
    const plat::COLORREF c = plat::TranslateColor(look.back);
    const QColor face(plat::GetRValue(c), plat::GetGValue(c), plat::GetBValue(c));
    QPalette pal = button->palette();
    pal.setColor(QPalette::Button, face);
    pal.setColor(QPalette::ButtonText, face.lightness() < 110 ? Qt::white : Qt::black);
    button->setPalette(pal);
    button->setAutoFillBackground(true);
    button->setText(look.caption);
    button->setToolTip(look.toolTip);
}

QLabel* AddFormRow(QGridLayout* grid, int row, const QString& label, QWidget* field, Qt::Alignment align) {
    auto* l = new QLabel(label);
    l->setBuddy(field);
    grid->addWidget(l, row, 0, align | Qt::AlignVCenter);
    grid->addWidget(field, row, 1);
    return l;
}

QFont StyleGrid(plat::FlexGrid* grid) {
    grid->setForeColor(static_cast<uint32_t>(GetGridForeColor()));
    grid->setBackColor(static_cast<uint32_t>(GetGridBackColor()));
    QFont font(plat::ResolveFontFamily(GetGridFontName()));
    if (GetGridFontSize() >= 7) font.setPointSize(GetGridFontSize());
    grid->setFont(font);
    return font;
}

DialogButtons AddDialogButtons(plat::DialogBase* dialog, QGridLayout* grid, int row, long helpContext) {
    DialogButtons b;
    b.ok = new QPushButton(QStringLiteral("ＯＫ"));
    b.cancel = new QPushButton(QStringLiteral("キャンセル"));
    b.help = new QPushButton(QStringLiteral("ヘルプ(&H)"));
    auto* box = new QHBoxLayout;
    box->addStretch(1);
    for (QPushButton* p : {b.ok, b.cancel, b.help}) box->addWidget(p);
    grid->addLayout(box, row, 0, 1, grid->columnCount());
    dialog->setOkButton(b.ok);
    dialog->exemptFromChecks(b.cancel);
    dialog->setHelpContext(helpContext);
    dialog->setHelpButton(b.help);
    QObject::connect(b.cancel, &QPushButton::clicked, dialog, &plat::DialogBase::closeCancel);
    return b;
}

void SetUsualButtonTips(const DialogButtons& b) {
    b.ok->setDefault(true);
    b.ok->setToolTip(QStringLiteral("設定を確定して閉じる"));
    b.cancel->setToolTip(QStringLiteral("設定を取り消して閉じる"));
    b.help->setToolTip(QStringLiteral("このダイアログの解説"));
}

bool PickAdmin(QWidget* owner, QComboBox* list, clsMapFigure& work, const clsAdmins& admins,
               const std::function<void(bool)>& childOpen) {
    AdminSelectLogic& picker = AdminSelect();
    picker.AdminCode = work.Admin();
    picker.Admins = &admins;
    if (!OpenPicker(picker, owner, list, ShowAdminSelect, childOpen)) return false;
    work.setAdmin(picker.AdminCode);
    CreateAdminCombo(list, admins, work);
    return true;
}

bool PickThing(QWidget* owner, QComboBox* list, clsMapFigure& work, const clsThings& things,
               const std::function<void(bool)>& childOpen) {
    ThingSelectLogic& picker = ThingSelect();
    picker.FigCode = work.FigCode();
    picker.ThingIndex = work.Thing();
    picker.Things = &things;
    if (!OpenPicker(picker, owner, list, ShowThingSelect, childOpen)) return false;
    work.setThing(picker.ThingIndex);
    CreateThingCombo(list, things, work);
    return true;
}
