#include "frmMapInfo.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ErrorMng.h"
#include "Fonts.h"
#include "Screen.h"

namespace {

const QString kForm = QStringLiteral("frmMapInfo");

// An error of the dialog's own procedures ends the program in order.
template <class F>
void orStop(const char* procedure, F&& f) {
    try {
        f();
    } catch (...) {
        AppError e = plat::CurrentError();
        AppendErrorSource(e, ErrFormUnload, kForm, QString::fromLatin1(procedure), QString());
        StopOnFatalError(e, QStringLiteral("by StopError"));
    }
}

} // namespace

plat::DialogPosition& frmMapInfo::Remembered() {
    static plat::DialogPosition position;
    return position;
}

frmMapInfo::frmMapInfo(QWidget* parent) : plat::DialogBase(parent, &Remembered()) {
    setWindowTitle(QStringLiteral("地図情報"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setHelpContext(kHelpContext);

    lblPass_ = new QLabel(QStringLiteral("pass"), this);
    lblPass_->setToolTip(QStringLiteral("地図ファイルのパス名"));
    lblPass_->setTextFormat(Qt::PlainText);
    lblPass_->setMinimumWidth(440);
    lblVersion_ = new QLabel(QStringLiteral("version"), this);
    lblVersion_->setToolTip(QStringLiteral("地図図形ファイルのバージョン"));
    txtInfo_ = new QPlainTextEdit(this);
    txtInfo_->setReadOnly(true);
    txtInfo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtInfo_->setToolTip(QStringLiteral("アクティブ地図に記録されている注釈情報"));
    QFont mono(plat::ResolveFontFamily(QStringLiteral("ＭＳ ゴシック")), 9);
    mono.setStyleHint(QFont::Monospace);
    txtInfo_->setFont(mono);
    txtInfo_->setMinimumSize(440, 260);

    auto* cmdOK = new QPushButton(QStringLiteral("ＯＫ"), this);
    cmdOK->setToolTip(QStringLiteral("閉じる"));
    cmdOK->setDefault(true);
    setOkButton(cmdOK);
    connect(cmdOK, &QPushButton::clicked, this, &frmMapInfo::closeOK);
    auto* cmdHelp = new QPushButton(QStringLiteral("ヘルプ(&H)"), this);
    cmdHelp->setToolTip(QStringLiteral("このダイアログの解説"));
    setHelpButton(cmdHelp);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdHelp);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPass_);
    layout->addWidget(lblVersion_);
    layout->addWidget(txtInfo_, 1);
    layout->addLayout(buttons);
}

void frmMapInfo::showEvent(QShowEvent* e) {
    plat::DialogBase::showEvent(e);
    orStop("Form_Activate", [&] { activate(); });
}

void frmMapInfo::hideEvent(QHideEvent* e) {
    plat::DialogBase::hideEvent(e);
    orStop("Form_Unload", [&] { map_ = nullptr; });
}

void frmMapInfo::activate() {
    const MapInfo info(map_);
    const QFont f = lblPass_->font();
    const double points = f.pointSizeF() > 0 ? f.pointSizeF() : f.pixelSize() * 72.0 / logicalDpiY();
    lblPass_->setText(info.PathText(lblPass_->width() * plat::TwipsPerPixelX(), points));
    lblVersion_->setText(info.VersionText());
    QString text = info.InfoText();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtInfo_->setPlainText(text);
}
