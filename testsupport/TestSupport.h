// Helpers shared by the test programs.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <string>
#include <vector>

class QFileDialog;
class QWidget;

#include "AppError.h"
#include "MessageBox.h"
#include "QStringPrinter.h"

namespace testsupport {

// A scripted message box that fails the test when a box was not expected or
// an expected one never came.
class ScriptedBoxes : public plat::ScriptedMessageBox {
public:
    ~ScriptedBoxes() override {
        for (const QString& u : unexpected()) ADD_FAILURE() << "unexpected message box: " << u.toStdString();
        if (pending() != 0) ADD_FAILURE() << pending() << " expected message box(es) never shown";
    }
};

// Scripted boxes whose file choosers are the program's own dialogs, for a
// test that plays the user in them (WhenModal<plat::FileDialog>).
class ScriptedBoxesWithFileDialogs : public ScriptedBoxes {
public:
    bool chooseFile(const plat::FileRequest& req, QString& path, int& filterIndex) override;
};

// As a user in a file dialog: picks the type of the 1-based entry from the
// type list; types a name into the name box.
void ChooseFileType(QFileDialog& dialog, int entry);
void TypeFileName(QFileDialog& dialog, const QString& name);
// Presses the dialog's Open or Save button.
void PressAccept(QFileDialog& dialog);
QString FileNameBox(const QFileDialog& dialog);

// A temporary folder; path() has no trailing separator.
class TempDir {
public:
    TempDir() { EXPECT_TRUE(dir_.isValid()); }
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.path() + QLatin1Char('/') + name; }

private:
    QTemporaryDir dir_;
};

// The folder where a test program leaves files for a person to look at:
// test-output/<program> in the build folder; made when missing.
QString OutputFolder();
// Renders a widget (shown offscreen first when hidden, laid out) to
// <OutputFolder>/<suite>.<test>[-name].png and returns the path.
QString SaveWidgetPng(QWidget* widget, const QString& name = QString());

// Every file of the committed fuzz corpus fuzz/corpus/<folder>, by name; a
// corpus of fewer than ten files fails the test (a moved or emptied folder
// would otherwise pass unseen).
struct CorpusInput {
    QString name;
    QByteArray bytes;
};
std::vector<CorpusInput> FuzzCorpus(const QString& folder);

// The error that f raises; number 0 when it raises none.
inline plat::AppError ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const plat::AppError& e) {
        return e;
    }
    return plat::AppError();
}

// Puts the C library's number locale on one that writes a decimal comma
// (de_DE.UTF-8, which the install step generates) for its lifetime, as Qt
// does from the environment at start-up; fails the test when there is none.
class CommaLocale {
public:
    CommaLocale();
    ~CommaLocale();
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

private:
    std::string saved_;
};

// Writes bytes to a file (plain, no atomic replace: the test sets things up).
void WriteBytes(const QString& path, const QByteArray& bytes);
QByteArray ReadBytes(const QString& path);

} // namespace testsupport
