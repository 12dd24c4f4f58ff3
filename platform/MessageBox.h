// The questions the program asks the user, behind one API: message boxes,
// yes/no questions, input boxes and the file, folder, colour and font
// choosers. The Qt implementation shows real dialogs; tests install a
// scripted one that answers from a list.
#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "Gdi.h"
#include "StdFont.h"

namespace plat {

// Button sets and icons combine by addition, as the MB_ flags of the Windows
// MessageBox call do.
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

// An open or save file chooser.
struct FileRequest {
    bool save = false;
    QString title;
    // Pairs of a description and its patterns, every part ended by "|", as
    // in "地図ユニット(*.MLL)|*.MLL|すべてのファイル(*.*)|*.*|"; patterns of one
    // entry are separated by ";".
    QString filter;
    QString fileName;     // proposed path or name
    int filterIndex = 1;  // 1-based entry shown first
    // For a save: the name that will be written for the typed path and the
    // chosen entry. The chooser asks before that file is replaced, not the
    // typed one, and answers with it. Empty: the typed path itself.
    std::function<QString(const QString& path, int filterIndex)> savedName;
};

class MessageBoxProvider {
public:
    virtual ~MessageBoxProvider() = default;
    virtual int showMessage(const MessageRequest& req) = 0;
    // Returns false when the user cancelled.
    virtual bool showInput(const InputRequest& req, QString& answer) = 0;
    // The choosers return false when the user cancelled; these defaults
    // cancel. A save chooser has asked before replacing a file (the one
    // FileRequest::savedName names).
    virtual bool chooseFile(const FileRequest& req, QString& path, int& filterIndex);
    virtual bool chooseFolder(const QString& title, const QString& start, QString& path);
    virtual bool chooseColor(COLORREF initial, COLORREF& chosen);
    // Name, size, bold and italic of the font; the rest is kept.
    virtual bool chooseFont(StdFont& font);
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

// A yes/no question with the question icon; true for yes.
bool AskYesNo(const QString& text, const QString& title = QString());
// The chosen path, empty when cancelled; filterIndex receives the entry
// chosen.
QString ChooseFile(const FileRequest& req, int* filterIndex = nullptr);
QString ChooseFolder(const QString& title, const QString& start);
// Each false when cancelled, leaving the argument unchanged.
bool ChooseColor(COLORREF& color);
bool ChooseFont(StdFont& font);

// Qt name filters for a filter of FileRequest: "description (patterns)",
// "*.*" matching every file. Qt's file dialog lists files of either case
// under a pattern ("*.MLL" finds coast.mll) and puts the pattern's own
// extension on the typed name when the type changes.
QStringList QtNameFilters(const QString& filter);

// Answers boxes from a script. Every box is recorded; a box that the script
// does not expect is recorded as unexpected and answered with Cancel (or the
// only button), so a test can fail on it.
class ScriptedMessageBox : public MessageBoxProvider {
public:
    enum class Kind { Message, Input, OpenFile, SaveFile, Folder, Color, Font };
    struct Expectation {
        Kind kind = Kind::Message;
        QString contains;  // the box text (a chooser's title) must contain this; empty: any
        int answer = IdOk; // IdCancel cancels an input box or chooser
        QString text;      // typed text, chosen path or folder
        COLORREF color = 0;
        StdFont font;
    };
    ScriptedMessageBox();
    ~ScriptedMessageBox() override;   // restores the previous provider

    ScriptedMessageBox& expect(const QString& contains, int answer);
    ScriptedMessageBox& expectInput(const QString& contains, const QString& answer, bool ok = true);
    // An empty path or folder cancels the chooser.
    ScriptedMessageBox& expectOpenFile(const QString& titleContains, const QString& path);
    ScriptedMessageBox& expectSaveFile(const QString& titleContains, const QString& path);
    ScriptedMessageBox& expectFolder(const QString& titleContains, const QString& folder);
    ScriptedMessageBox& expectColor(COLORREF color, bool ok = true);
    ScriptedMessageBox& expectFont(const StdFont& font, bool ok = true);

    int showMessage(const MessageRequest& req) override;
    bool showInput(const InputRequest& req, QString& answer) override;
    bool chooseFile(const FileRequest& req, QString& path, int& filterIndex) override;
    bool chooseFolder(const QString& title, const QString& start, QString& path) override;
    bool chooseColor(COLORREF initial, COLORREF& chosen) override;
    bool chooseFont(StdFont& font) override;

    // Every box as asked; a chooser's title stands as its text.
    const std::vector<MessageRequest>& shown() const { return shown_; }
    const std::vector<QString>& unexpected() const { return unexpected_; }
    // The file requests as asked.
    const std::vector<FileRequest>& fileRequests() const { return files_; }
    size_t pending() const { return script_.size(); }

private:
    // The next expectation when it is of this kind and its text matches;
    // otherwise records the box as unexpected and returns nothing.
    const Expectation* take(Kind kind, const QString& text, const QString& title);

    std::deque<Expectation> script_;
    Expectation taken_;
    std::vector<MessageRequest> shown_;
    std::vector<QString> unexpected_;
    std::vector<FileRequest> files_;
    MessageBoxProvider* previous_;
};

} // namespace plat
