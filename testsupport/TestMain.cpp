// Every test program runs inside a QApplication on the offscreen platform,
// with settings kept in a temporary folder, the program's Japanese font as
// the default, and message boxes answered headlessly unless a test scripts
// them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "DialogPlayer.h"
#include "Fonts.h"
#include "MessageBox.h"
#include "SettingsStore.h"

namespace {
// A box nobody scripted would block the run forever under the offscreen
// platform: fail the test instead and answer with the first button.
class UnscriptedBoxes : public plat::MessageBoxProvider {
public:
    int showMessage(const plat::MessageRequest& r) override {
        ADD_FAILURE() << "message box not scripted: " << r.text.toStdString();
        return r.buttons() == plat::MbYesNo || r.buttons() == plat::MbYesNoCancel ? plat::IdYes : plat::IdOk;
    }
    bool showInput(const plat::InputRequest& r, QString&) override {
        ADD_FAILURE() << "input box not scripted: " << r.prompt.toStdString();
        return false;
    }
    bool chooseFile(const plat::FileRequest& r, QString&, int&) override {
        ADD_FAILURE() << "file chooser not scripted: " << r.title.toStdString();
        return false;
    }
    bool chooseFolder(const QString& title, const QString&, QString&) override {
        ADD_FAILURE() << "folder chooser not scripted: " << title.toStdString();
        return false;
    }
    bool chooseColor(plat::COLORREF, plat::COLORREF&) override {
        ADD_FAILURE() << "colour chooser not scripted";
        return false;
    }
    bool chooseFont(plat::StdFont&) override {
        ADD_FAILURE() << "font chooser not scripted";
        return false;
    }
};
// Ends the dialog players of a test before its result is printed (end
// events reach the listeners last added first).
class PlayerSweep : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override { testsupport::EndPlayers(); }
};
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new PlayerSweep);
    QApplication app(argc, argv);
    // Han characters drawn in a Japanese face, not whatever the font
    // fallback finds first.
    plat::InstallFontSubstitutions();
    QApplication::setFont(QFont(plat::ResolveFontFamily(QStringLiteral("ＭＳ Ｐゴシック")), 9));
    QTemporaryDir settings;
    plat::SettingsStore::SetFolder(settings.path());
    UnscriptedBoxes boxes;
    plat::SetMessageBoxProvider(&boxes);
    return RUN_ALL_TESTS();
}
