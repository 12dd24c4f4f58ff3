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

bool MessageBoxProvider::chooseFile(const FileRequest&, QString&, int&) { return false; }
bool MessageBoxProvider::chooseFolder(const QString&, const QString&, QString&) { return false; }
bool MessageBoxProvider::chooseColor(COLORREF, COLORREF&) { return false; }
bool MessageBoxProvider::chooseFont(StdFont&) { return false; }

bool AskYesNo(const QString& text, const QString& title) { return MsgBox(text, MbYesNo | MbQuestion, title) == IdYes; }

QString ChooseFile(const FileRequest& req, int* filterIndex) {
    QString path;
    int index = req.filterIndex;
    if (!MessageBoxes().chooseFile(req, path, index)) return QString();
    if (filterIndex) *filterIndex = index;
    return path;
}

QString ChooseFolder(const QString& title, const QString& start) {
    QString folder;
    return MessageBoxes().chooseFolder(title, start, folder) ? folder : QString();
}

bool ChooseColor(COLORREF& color) {
    COLORREF chosen = color;
    if (!MessageBoxes().chooseColor(color, chosen)) return false;
    color = chosen;
    return true;
}

bool ChooseFont(StdFont& font) {
    StdFont chosen = font;
    if (!MessageBoxes().chooseFont(chosen)) return false;
    font = chosen;
    return true;
}

QStringList QtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString pattern = i + 1 < parts.size() ? parts[i + 1] : QString();
        if (parts[i].isEmpty() && pattern.isEmpty()) continue;  // after the last "|"
        QStringList globs;
        for (const QString& p : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString t = p.trimmed();
            if (t == QLatin1String("*.*") || t == QLatin1String("*")) {
                globs << QStringLiteral("*");
                continue;
            }
            globs << t;
        }
        if (globs.isEmpty()) globs << QStringLiteral("*");
        out << parts[i] + QStringLiteral(" (") + globs.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return out;
}

ScriptedMessageBox::ScriptedMessageBox() : previous_(SetMessageBoxProvider(this)) {}

ScriptedMessageBox::~ScriptedMessageBox() { SetMessageBoxProvider(previous_); }

ScriptedMessageBox& ScriptedMessageBox::expect(const QString& contains, int answer) {
    script_.push_back({Kind::Message, contains, answer, {}, 0, {}});
    return *this;
}

ScriptedMessageBox& ScriptedMessageBox::expectInput(const QString& contains, const QString& answer, bool ok) {
    script_.push_back({Kind::Input, contains, ok ? IdOk : IdCancel, answer, 0, {}});
    return *this;
}

ScriptedMessageBox& ScriptedMessageBox::expectOpenFile(const QString& titleContains, const QString& path) {
    script_.push_back({Kind::OpenFile, titleContains, path.isEmpty() ? IdCancel : IdOk, path, 0, {}});
    return *this;
}

ScriptedMessageBox& ScriptedMessageBox::expectSaveFile(const QString& titleContains, const QString& path) {
    script_.push_back({Kind::SaveFile, titleContains, path.isEmpty() ? IdCancel : IdOk, path, 0, {}});
    return *this;
}

ScriptedMessageBox& ScriptedMessageBox::expectFolder(const QString& titleContains, const QString& folder) {
    script_.push_back({Kind::Folder, titleContains, folder.isEmpty() ? IdCancel : IdOk, folder, 0, {}});
    return *this;
}

ScriptedMessageBox& ScriptedMessageBox::expectColor(COLORREF color, bool ok) {
    script_.push_back({Kind::Color, QString(), ok ? IdOk : IdCancel, {}, color, {}});
    return *this;
}

ScriptedMessageBox& ScriptedMessageBox::expectFont(const StdFont& font, bool ok) {
    script_.push_back({Kind::Font, QString(), ok ? IdOk : IdCancel, {}, 0, font});
    return *this;
}

const ScriptedMessageBox::Expectation* ScriptedMessageBox::take(Kind kind, const QString& text, const QString& title) {
    shown_.push_back(MessageRequest{text, 0, title});
    if (!script_.empty() && script_.front().kind == kind && text.contains(script_.front().contains)) {
        taken_ = script_.front();
        script_.pop_front();
        return &taken_;
    }
    static const char* const names[] = {"message", "input", "open file", "save file", "folder", "colour", "font"};
    unexpected_.push_back(kind == Kind::Message || kind == Kind::Input
                              ? text
                              : QString::fromLatin1(names[static_cast<int>(kind)]) + QStringLiteral(": ") + text);
    return nullptr;
}

int ScriptedMessageBox::showMessage(const MessageRequest& req) {
    const Expectation* e = take(Kind::Message, req.text, req.title);
    shown_.back().style = req.style;
    if (e) return e->answer;
    return req.buttons() == MbOkOnly ? IdOk : IdCancel;
}

bool ScriptedMessageBox::showInput(const InputRequest& req, QString& answer) {
    const Expectation* e = take(Kind::Input, req.prompt, req.title);
    if (!e) return false;
    answer = e->text;
    return e->answer == IdOk;
}

bool ScriptedMessageBox::chooseFile(const FileRequest& req, QString& path, int& filterIndex) {
    files_.push_back(req);
    const Expectation* e = take(req.save ? Kind::SaveFile : Kind::OpenFile, req.title, req.title);
    if (!e || e->answer != IdOk) return false;
    path = e->text;
    filterIndex = req.filterIndex;
    return true;
}

bool ScriptedMessageBox::chooseFolder(const QString& title, const QString&, QString& path) {
    const Expectation* e = take(Kind::Folder, title, title);
    if (!e || e->answer != IdOk) return false;
    path = e->text;
    return true;
}

bool ScriptedMessageBox::chooseColor(COLORREF, COLORREF& chosen) {
    const Expectation* e = take(Kind::Color, QString(), QString());
    if (!e || e->answer != IdOk) return false;
    chosen = e->color;
    return true;
}

bool ScriptedMessageBox::chooseFont(StdFont& font) {
    const Expectation* e = take(Kind::Font, font.name, QString());
    if (!e || e->answer != IdOk) return false;
    font.name = e->font.name;
    font.size = e->font.size;
    font.bold = e->font.bold;
    font.italic = e->font.italic;
    return true;
}

} // namespace plat
