#include "HelpWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRect>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

#include "AppInfo.h"
#include "DialogBase.h"
#include "FileOps.h"
#include "Help.h"
#include "MessageBox.h"

namespace plat {

namespace {

QPointer<HelpWindow>& instance() {
    static QPointer<HelpWindow> w;
    return w;
}

// Where the window was last, for the next one of the run.
QRect& lastGeometry() {
    static QRect r;
    return r;
}

} // namespace

HelpWindow::HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);   // the program ends with its main window
    setWindowTitle(AppTitle() + QStringLiteral(" ヘルプ"));
    cmdContents = new QPushButton(QStringLiteral("目次(&C)"), this);
    cmdIndex = new QPushButton(QStringLiteral("キーワード(&K)"), this);
    cmdBack = new QPushButton(QStringLiteral("戻る(&B)"), this);
    cmdForward = new QPushButton(QStringLiteral("進む(&F)"), this);
    browser_ = new QTextBrowser(this);
    browser_->setOpenLinks(false);   // followLink tells a missing page
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdContents, cmdIndex, cmdBack, cmdForward}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    cmdBack->setEnabled(false);
    cmdForward->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, cmdBack, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, cmdForward, &QWidget::setEnabled);
    connect(cmdBack, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(cmdForward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(cmdContents, &QPushButton::clicked, this, [this] { go(HelpContentsBeside(page_)); });
    connect(cmdIndex, &QPushButton::clicked, this, [this] { go(HelpIndexBeside(page_)); });
    connect(browser_, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        page_ = url.toLocalFile();
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? AppTitle() + QStringLiteral(" ヘルプ") : title);
    });
    if (lastGeometry().isValid()) {
        setGeometry(lastGeometry());
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // The first one of the run stands in the middle of the screen.
        const QRect free = screen->availableGeometry();
        QRect r(QPoint(), QSize(std::min(640, free.width() * 9 / 10), std::min(560, free.height() * 8 / 10)));
        r.moveCenter(free.center());
        setGeometry(r);
    }
}

// The browser goes after the page it reports to.
HelpWindow::~HelpWindow() { CutOffChildren(this); }

bool HelpWindow::ShowPage(const QString& page) {
    QWidget* owner = QApplication::activeModalWidget();
    HelpWindow* w = instance();
    if (!w) w = instance() = new HelpWindow(owner);
    w->attachTo(owner);
    if (!w->load(page, QString())) {
        if (w->page_.isEmpty()) delete w;
        return false;
    }
    w->show();
    w->raise();
    w->activateWindow();
    return true;
}

HelpWindow* HelpWindow::Current() { return instance(); }

void HelpWindow::CloseAll() {
    if (HelpWindow* w = instance()) {
        lastGeometry() = w->geometry();
        delete w;
    }
}

void HelpWindow::closeEvent(QCloseEvent* e) {
    lastGeometry() = geometry();
    QWidget::closeEvent(e);
}

bool HelpWindow::load(const QString& page, const QString& fragment) {
    if (!QFileInfo(page).isReadable()) return false;
    QUrl url = QUrl::fromLocalFile(page);
    if (!fragment.isEmpty()) url.setFragment(fragment);
    browser_->setSource(url, QTextDocument::HtmlResource);
    return true;
}

void HelpWindow::go(const QString& page, const QString& fragment) {
    if (!PathExists(page) || !load(ResolveFileName(page), fragment))
        MsgBox(HelpFailedText() + QFileInfo(page).fileName(), MbCritical | MbOkOnly);
}

void HelpWindow::followLink(const QUrl& link) {
    const QString target = HelpLinkTarget(page_, link);
    if (target.isEmpty()) {
        QDesktopServices::openUrl(link);   // a link out of the help pages
    } else if (QFileInfo(target) == QFileInfo(page_)) {
        if (link.hasFragment()) browser_->scrollToAnchor(link.fragment());
    } else {
        go(target, link.fragment());
    }
}

void HelpWindow::attachTo(QWidget* owner) {
    if (parentWidget() != owner) {
        // Another parent hides the window; it comes back where it was.
        const QRect where = geometry();
        const bool shown = isVisible();
        setParent(owner, Qt::Window);
        setGeometry(where);
        if (shown) show();
    }
    if (ownerDialog_ == owner) return;
    if (ownerDialog_) disconnect(ownerDialog_, &QDialog::finished, this, &HelpWindow::ownerDone);
    ownerDialog_ = qobject_cast<QDialog*>(owner);
    if (ownerDialog_) connect(ownerDialog_, &QDialog::finished, this, &HelpWindow::ownerDone);
}

// The dialog goes: the window passes to the modal dialog under it, if any.
void HelpWindow::ownerDone() {
    QWidget* next = QApplication::activeModalWidget();
    attachTo(next == ownerDialog_ ? nullptr : next);
}

} // namespace plat
