// The about box "バージョン情報": the program's heading, title and version,
// copyright line, platform line and two links (mail to the author, the
// author's web site, both from "Environment.txt"). It opens modally from the
// Help menu, where it was last closed, and modeless without its OK button,
// centred on the screen, as the splash while the program starts.
#pragma once

#include <QEvent>
#include <QString>

#include "DialogBase.h"

class QLabel;
class QPushButton;

// What the about box shows and does, without the window.
class AboutBox {
public:
    AboutBox();

    QString Heading() const;
    const QString& Title() const { return title_; }
    QString TitleTip() const;
    QString Copyright() const;
    QString Platform() const;
    // The links work only once "Environment.txt" is loaded; before that the
    // labels keep their design texts.
    bool Linked() const;
    QString MailText() const;
    QString UrlText() const;

    // Double click on the title: the name of the product's namesake.
    void TitleDoubleClicked();
    // Open the mail program or the web browser with the link.
    void MailClicked();
    void UrlClicked();

private:
    QString title_;
};

class frmAbout : public plat::DialogBase {
    Q_OBJECT
public:
    // splash: modeless, centred, without the OK button, not remembered.
    explicit frmAbout(QWidget* parent = nullptr, bool splash = false);
    // The position the about box reopens at (WinLeft, WinTop).
    static plat::DialogPosition& Remembered();
    // Shows the splash; the caller deletes it when start-up is over.
    static frmAbout* ShowSplash();

    AboutBox& box() { return box_; }

private:
    // A click or double click on a label; true when taken.
    bool labelEvent(QObject* o, QEvent::Type t);

    AboutBox box_;
    QLabel* lblTitle_ = nullptr;
    QLabel* lblMail_ = nullptr;
    QLabel* lblURL_ = nullptr;
};
