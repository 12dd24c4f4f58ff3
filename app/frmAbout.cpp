#include "frmAbout.h"

#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

#include <cmath>
#include <functional>

#include "AppInfo.h"
#include "AppState.h"
#include "Fonts.h"
#include "Screen.h"
#include "basApiLib.h"
#include "basFileNames.h"
#include "basLibrary.h"

namespace {

const QString kMailDesign = QStringLiteral("作者へのメール");
const QString kUrlDesign = QStringLiteral("作者のサイト");

// A small globe with its graticule: the picture of the about box.
class GlobePicture : public QWidget {
public:
    explicit GlobePicture(QWidget* parent) : QWidget(parent) { setFixedSize(96, 96); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF disc = QRectF(rect()).adjusted(4, 4, -4, -4);
        const QPointF c = disc.center();
        const double r = disc.width() / 2;
        p.setPen(QPen(QColor(40, 70, 120), 1.5));
        p.setBrush(QColor(120, 170, 220));
        p.drawEllipse(disc);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 255, 255, 170), 1));
        // Meridians every 30 degrees and parallels every 30 degrees, seen
        // from above the equator.
        for (int lon = 30; lon < 90; lon += 30) {
            const double w = r * std::sin(lon * M_PI / 180);
            p.drawEllipse(c, w, r);
        }
        p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
        for (int lat = -60; lat <= 60; lat += 30) {
            const double y = c.y() - r * std::sin(lat * M_PI / 180);
            const double half = r * std::cos(lat * M_PI / 180);
            p.drawLine(QPointF(c.x() - half, y), QPointF(c.x() + half, y));
        }
    }
};

// Mouse clicks on labels, which have no click signal of their own.
class LabelClicks : public QObject {
public:
    LabelClicks(QObject* parent, std::function<bool(QObject*, QEvent::Type)> handler)
        : QObject(parent), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        const QEvent::Type t = e->type();
        if (t != QEvent::MouseButtonDblClick && t != QEvent::MouseButtonRelease) return false;
        return handler_(o, t);
    }

private:
    std::function<bool(QObject*, QEvent::Type)> handler_;
};

QFont faceOf(const QString& face, int points, bool bold = false) {
    QFont f(plat::ResolveFontFamily(face), points);
    f.setBold(bold);
    return f;
}

} // namespace

AboutBox::AboutBox() : title_(plat::AppTitle() + QStringLiteral("  version ") + VersionText()) {}

QString AboutBox::Heading() const { return plat::AppTitle(); }

QString AboutBox::TitleTip() const {
    if (plat::AppTitle() == QLatin1String("KALDERO")) return QStringLiteral("かるでろ");
    if (plat::AppTitle() == QLatin1String("SOLVANTE")) return QStringLiteral("そるばんて");
    return QString();
}

QString AboutBox::Copyright() const { return QStringLiteral("Copyright (C) KALDERO Project"); }

QString AboutBox::Platform() const {
    QString kernel = QSysInfo::kernelType();
    if (!kernel.isEmpty()) kernel[0] = kernel[0].toUpper();
    return QStringLiteral("for ") + kernel;
}

bool AboutBox::Linked() const { return gvEnvironment != nullptr; }

QString AboutBox::MailText() const { return Linked() ? GetAuthorEmail() : kMailDesign; }

QString AboutBox::UrlText() const { return Linked() ? GetAuthorURLhome() : kUrlDesign; }

void AboutBox::TitleDoubleClicked() {
    if (plat::AppTitle() == QLatin1String("KALDERO")) title_ = QStringLiteral("カルデラ（caldera）");
    else if (plat::AppTitle() == QLatin1String("SOLVANTE")) title_ = QStringLiteral("ソルベント（solvent）");
}

void AboutBox::MailClicked() {
    if (!Linked()) return;
    // An empty address would open a blank mail to nobody.
    const QString address = GetAuthorEmail();
    if (address.isEmpty()) return;
    try {
        ShellOpen(QStringLiteral("mailto:") + address);
    } catch (...) {
        MsgError(QStringLiteral("メールソフトを起動できませんでした."));
    }
}

void AboutBox::UrlClicked() {
    if (!Linked()) return;
    const QString url = GetAuthorURLhome();
    if (url.isEmpty()) return;
    try {
        ShellOpen(url);
    } catch (...) {
        MsgError(QStringLiteral("WEBブラウザを起動できませんでした."));
    }
}

plat::DialogPosition& frmAbout::Remembered() {
    static plat::DialogPosition position;
    return position;
}

frmAbout::frmAbout(QWidget* parent, bool splash) : plat::DialogBase(parent, splash ? nullptr : &Remembered()) {
    setWindowTitle(QStringLiteral("バージョン情報"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* lblHead = new QLabel(box_.Heading(), this);
    lblHead->setFont(faceOf(QStringLiteral("Times New Roman"), 24, true));
    lblTitle_ = new QLabel(box_.Title(), this);
    lblTitle_->setToolTip(box_.TitleTip());
    lblTitle_->setFont(faceOf(gvDefaultFont, 11, true));
    auto* lblCopyright = new QLabel(box_.Copyright(), this);
    lblCopyright->setToolTip(QStringLiteral("著作権"));
    auto* lblPlathome = new QLabel(box_.Platform(), this);
    lblPlathome->setFont(faceOf(QStringLiteral("Arial"), 9));
    lblMail_ = new QLabel(box_.MailText(), this);
    lblMail_->setToolTip(QStringLiteral("メールソフトを起動して作者へメールを書く"));
    lblURL_ = new QLabel(box_.UrlText(), this);
    lblURL_->setToolTip(QStringLiteral("ブラウザを起動して作者サイトへ"));
    for (QLabel* link : {lblMail_, lblURL_}) {
        link->setTextFormat(Qt::PlainText);
        if (!box_.Linked()) continue;
        QFont f = link->font();
        f.setUnderline(true);
        link->setFont(f);
        link->setStyleSheet(QStringLiteral("color: #0033cc"));
        link->setCursor(Qt::PointingHandCursor);
    }
    auto* clicks = new LabelClicks(this, [this](QObject* o, QEvent::Type t) { return labelEvent(o, t); });
    lblTitle_->installEventFilter(clicks);
    if (box_.Linked()) {
        lblMail_->installEventFilter(clicks);
        lblURL_->installEventFilter(clicks);
    }
    auto* cmdOK = new QPushButton(QStringLiteral("ＯＫ"), this);
    cmdOK->setToolTip(QStringLiteral("ダイアログを閉じる"));
    cmdOK->setDefault(true);
    setOkButton(cmdOK);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::closeOK);

    auto* text = new QVBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{lblHead, lblTitle_, lblCopyright, lblPlathome, lblMail_, lblURL_})
        text->addWidget(w);
    auto* top = new QHBoxLayout;
    top->addWidget(new GlobePicture(this), 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    if (splash) {
        cmdOK->hide();
        setModal(false);
        setCentredOnScreen(true);
    }
}

frmAbout* frmAbout::ShowSplash() {
    auto* splash = new frmAbout(nullptr, true);
    splash->show();
    QCoreApplication::processEvents();
    return splash;
}

bool frmAbout::labelEvent(QObject* o, QEvent::Type t) {
    if (o == lblTitle_ && t == QEvent::MouseButtonDblClick) {
        box_.TitleDoubleClicked();
        lblTitle_->setText(box_.Title());
        return true;
    }
    if (t != QEvent::MouseButtonRelease) return false;
    if (o == lblMail_) box_.MailClicked();
    else if (o == lblURL_) box_.UrlClicked();
    else return false;
    return true;
}
