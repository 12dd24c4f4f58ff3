// Every test program runs inside a QApplication on the offscreen platform,
// with settings kept in a temporary folder and message boxes answered
// headlessly unless a test scripts them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

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
};
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QTemporaryDir settings;
    plat::SettingsStore::SetFolder(settings.path());
    UnscriptedBoxes boxes;
    plat::SetMessageBoxProvider(&boxes);
    return RUN_ALL_TESTS();
}
