// The program's own help window: a help page in an HTML text browser, with
// buttons for the contents, the keyword index and the way back and forward
// through the pages followed. There is one at a time. A page asked for
// while a modal dialog is open shows in a window of that dialog, so that it
// can be read before the dialog closes; when the dialog is done the window
// stands on its own again.
#pragma once

#include <QPointer>
#include <QWidget>

class QDialog;
class QPushButton;
class QTextBrowser;
class QUrl;

namespace plat {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // Shows a page (an existing file) in the help window, made when there is
    // none; false when the page could not be read.
    static bool ShowPage(const QString& page);
    // The help window while there is one.
    static HelpWindow* Current();
    static void CloseAll();
    ~HelpWindow() override;

    // The file of the page shown.
    QString Page() const { return page_; }
    QTextBrowser* Browser() const { return browser_; }

    QPushButton* cmdContents;
    QPushButton* cmdIndex;
    QPushButton* cmdBack;
    QPushButton* cmdForward;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    explicit HelpWindow(QWidget* owner);
    bool load(const QString& page, const QString& fragment);
    // A page of the window's own buttons and links: a missing one is told.
    void go(const QString& page, const QString& fragment = QString());
    void followLink(const QUrl& link);
    // Makes the window one of `owner` (none: a window of its own).
    void attachTo(QWidget* owner);
    void ownerDone();

    QTextBrowser* browser_;
    QString page_;
    QPointer<QDialog> ownerDialog_;
};

} // namespace plat
