// KALDERO: the main window on the world map.
//
// With KALDERO_STARTUP_TIMING set the program measures its start-up, prints
// the time of each stage from the process start (milliseconds) and ends.
#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <memory>

#include "Fonts.h"
#include "MessageBox.h"
#include "Translations.h"
#include "frmMain.h"

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    plat::InstallJapaneseTranslations();
    plat::InstallFontSubstitutions();
    frmMain window;
    const bool timing = qEnvironmentVariableIsSet("KALDERO_STARTUP_TIMING");
    qint64 last = 0;
    // An unattended run: every question of the start-up is answered No.
    std::unique_ptr<plat::ScriptedMessageBox> unattended;
    if (timing) unattended = std::make_unique<plat::ScriptedMessageBox>();
    if (timing)
        window.logic().StartupStage = [&](const char* stage) {
            const qint64 now = clock.elapsed();
            QTextStream(stdout) << stage << ": " << (now - last) << " ms (at " << now << " ms)\n";
            last = now;
        };
    if (!window.Start(QApplication::arguments().mid(1))) return 1;
    if (timing) {
        QTextStream(stdout) << "world map painted: " << clock.elapsed() << " ms\n";
        return 0;
    }
    return QApplication::exec();
}
