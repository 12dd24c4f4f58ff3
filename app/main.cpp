// KALDERO: the main window on the world map.
#include <QApplication>

#include "Fonts.h"
#include "frmMain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    plat::InstallFontSubstitutions();
    frmMain window;
    if (!window.Start(QApplication::arguments().mid(1))) return 1;
    return QApplication::exec();
}
