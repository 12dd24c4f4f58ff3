#include "MessageBox.h"

#include "AppInfo.h"

#include <QCoreApplication>

namespace plat {

namespace {

MessageBoxProvider* gProvider = nullptr;

// Without a GUI nobody can answer: take the first button of the set.
class HeadlessMessageBox : public MessageBoxProvider {
public:
    int showMessage(const MessageRequest& req) override {
        switch (req.buttons()) {
        case MbOkCancel: return IdOk;
        case MbAbortRetryIgnore: return IdAbort;
        case MbYesNoCancel:
        case MbYesNo: return IdYes;
        case MbRetryCancel: return IdRetry;
        default: return IdOk;
        }
    }
    bool showInput(const InputRequest& req, QString& answer) override {
        answer = req.preset;
        return true;
    }
};

} // namespace

MessageBoxProvider* CreateQtMessageBoxProvider();  // QtMessageBox.cpp

MessageBoxProvider& MessageBoxes() {
    if (gProvider) return *gProvider;
    static MessageBoxProvider* qt = nullptr;
    static HeadlessMessageBox headless;
    if (QCoreApplication::instance() && QCoreApplication::instance()->inherits("QApplication")) {
        if (!qt) qt = CreateQtMessageBoxProvider();
        return *qt;
    }
    return headless;
}

MessageBoxProvider* SetMessageBoxProvider(MessageBoxProvider* p) {
    MessageBoxProvider* old = gProvider;
    gProvider = p;
    return old;
}

int MsgBox(const QString& text, int style, const QString& title) {
    MessageRequest r{text, style, title.isEmpty() ? AppTitle() : title};
    return MessageBoxes().showMessage(r);
}

QString InputBox(const QString& prompt, const QString& title, const QString& preset, long helpContext, bool* ok) {
    InputRequest r{prompt, title.isEmpty() ? AppTitle() : title, preset, helpContext};
    QString answer;
    bool accepted = MessageBoxes().showInput(r, answer);
    if (ok) *ok = accepted;
    return accepted ? answer : QString();
}

ScriptedMessageBox::ScriptedMessageBox() : previous_(SetMessageBoxProvider(this)) {}

ScriptedMessageBox::~ScriptedMessageBox() { SetMessageBoxProvider(previous_); }

ScriptedMessageBox& ScriptedMessageBox::expect(const QString& contains, int answer) {
    script_.push_back({contains, answer, QString(), false});
    return *this;
}

ScriptedMessageBox& ScriptedMessageBox::expectInput(const QString& contains, const QString& answer, bool ok) {
    script_.push_back({contains, ok ? IdOk : IdCancel, answer, true});
    return *this;
}

int ScriptedMessageBox::showMessage(const MessageRequest& req) {
    shown_.push_back(req);
    if (!script_.empty() && !script_.front().input && req.text.contains(script_.front().contains)) {
        int a = script_.front().answer;
        script_.pop_front();
        return a;
    }
    unexpected_.push_back(req.text);
    return req.buttons() == MbOkOnly ? IdOk : IdCancel;
}

bool ScriptedMessageBox::showInput(const InputRequest& req, QString& answer) {
    shown_.push_back(MessageRequest{req.prompt, 0, req.title});
    if (!script_.empty() && script_.front().input && req.prompt.contains(script_.front().contains)) {
        Expectation e = script_.front();
        script_.pop_front();
        answer = e.inputAnswer;
        return e.answer == IdOk;
    }
    unexpected_.push_back(req.prompt);
    return false;
}

} // namespace plat
