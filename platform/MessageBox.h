// Modal message and input boxes behind one API. The Qt implementation shows
// real dialogs; tests install a scripted one that answers from a list.
#pragma once

#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace plat {

// Button sets and icons combine by addition, as in the original API.
enum MsgStyle : int {
    MbOkOnly = 0,
    MbOkCancel = 1,
    MbAbortRetryIgnore = 2,
    MbYesNoCancel = 3,
    MbYesNo = 4,
    MbRetryCancel = 5,
    MbCritical = 16,
    MbQuestion = 32,
    MbExclamation = 48,
    MbInformation = 64,
    MbDefaultButton2 = 256,
    MbDefaultButton3 = 512,
};

enum MsgResult : int { IdOk = 1, IdCancel = 2, IdAbort = 3, IdRetry = 4, IdIgnore = 5, IdYes = 6, IdNo = 7 };

struct MessageRequest {
    QString text;
    int style = 0;
    QString title;
    int buttons() const { return style & 7; }
    int icon() const { return style & 0x70; }
};

struct InputRequest {
    QString prompt;
    QString title;
    QString preset;
    long helpContext = 0;
};

class MessageBoxProvider {
public:
    virtual ~MessageBoxProvider() = default;
    virtual int showMessage(const MessageRequest& req) = 0;
    // Returns false when the user cancelled.
    virtual bool showInput(const InputRequest& req, QString& answer) = 0;
};

// The provider in use; the Qt one when none was installed and a GUI exists,
// else one that answers every box with its first button.
MessageBoxProvider& MessageBoxes();
// Installs a provider; returns the previous one (nullptr for the default).
MessageBoxProvider* SetMessageBoxProvider(MessageBoxProvider* p);

// Shows a message box; an empty title means the application title.
int MsgBox(const QString& text, int style = MbOkOnly, const QString& title = QString());
// Returns the typed text, or an empty text when cancelled (ok tells which).
QString InputBox(const QString& prompt, const QString& title = QString(), const QString& preset = QString(),
                 long helpContext = 0, bool* ok = nullptr);

// Answers boxes from a script. Every box is recorded; a box that the script
// does not expect is recorded as unexpected and answered with Cancel (or the
// only button), so a test can fail on it.
class ScriptedMessageBox : public MessageBoxProvider {
public:
    struct Expectation {
        QString contains;    // the box text must contain this (empty: any text)
        int answer;
        QString inputAnswer; // for input boxes
        bool input = false;
    };
    ScriptedMessageBox();
    ~ScriptedMessageBox() override;   // restores the previous provider

    ScriptedMessageBox& expect(const QString& contains, int answer);
    ScriptedMessageBox& expectInput(const QString& contains, const QString& answer, bool ok = true);

    int showMessage(const MessageRequest& req) override;
    bool showInput(const InputRequest& req, QString& answer) override;

    const std::vector<MessageRequest>& shown() const { return shown_; }
    const std::vector<QString>& unexpected() const { return unexpected_; }
    size_t pending() const { return script_.size(); }

private:
    std::deque<Expectation> script_;
    std::vector<MessageRequest> shown_;
    std::vector<QString> unexpected_;
    MessageBoxProvider* previous_;
};

} // namespace plat
