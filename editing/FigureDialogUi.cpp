#include "FigureDialogUi.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "SysColors.h"

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
