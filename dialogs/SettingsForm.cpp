#include "SettingsForm.h"

#include <QPushButton>

#include "FormErrors.h"

QPushButton* SettingsForm::MakeButton(const char* name, const QString& caption, const QString& tip, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

SettingsForm::SettingsForm(QWidget* parent, plat::DialogPosition* remembered, const QString& formName,
                           const QString& caption, long helpContext, plat::EnterPolicy enter)
    : DialogBase(parent, remembered), formName_(formName), helpContext_(helpContext) {
    setObjectName(formName);
    setWindowTitle(caption);
    setEnterPolicy(enter);
}

void SettingsForm::makeButtons(std::function<void()> accept, std::function<void()> cancel) {
    cmdOK = MakeButton("cmdOK", QStringLiteral("ＯＫ"), QStringLiteral("設定を確定して閉じる"), this);
    cmdCancel = MakeButton("cmdCancel", QStringLiteral("キャンセル"), QStringLiteral("設定を取り消して閉じる"), this);
    cmdHelp = MakeButton("cmdHelp", QStringLiteral("ヘルプ(&H)"), QStringLiteral("このダイアログの解説"), this);
    setOkButton(cmdOK);
    setHelpContext(helpContext_);
    setHelpButton(cmdHelp);
    exemptFromChecks(cmdCancel);
    connect(cmdOK, &QPushButton::clicked, this, [this, accept = std::move(accept)] {
        handler("cmdOK_Click", [&] {
            accept();
            closeOK();
        });
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this, cancel = std::move(cancel)] {
        cancel();
        closeCancel();
    });
}

void SettingsForm::handler(const char* proc, const std::function<void()>& f) {
    RunHandler(formName_, QString::fromLatin1(proc), f);
}
