// What the environment, graticule and accessory windows share: their
// caption and position, OK, Cancel and Help with the program's captions, the
// fatal-error wrapper of their handlers and the guard of their refresh.
#pragma once

#include <QString>

#include <functional>

#include "DialogBase.h"

class QPushButton;

class SettingsForm : public plat::DialogBase {
    Q_OBJECT
public:
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;

protected:
    SettingsForm(QWidget* parent, plat::DialogPosition* remembered, const QString& formName, const QString& caption,
                 long helpContext, plat::EnterPolicy enter);

    // Makes the three buttons: OK runs accept in its handler and closes
    // with OK; Cancel runs cancel and closes.
    void makeButtons(std::function<void()> accept, std::function<void()> cancel);
    // A push button that Enter does not press unless it has the focus.
    static QPushButton* MakeButton(const char* name, const QString& caption, const QString& tip, QWidget* parent);
    // Runs a handler of the window; an error escaping it stops the program.
    void handler(const char* proc, const std::function<void()>& f);

    bool refreshing_ = false;

private:
    QString formName_;
    long helpContext_;
};
