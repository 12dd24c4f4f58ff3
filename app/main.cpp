// Until the main window exists the program can only say so.
#include <QCoreApplication>
#include <QTextStream>

#include "AppInfo.h"
#include "basLibrary.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    out << plat::AppTitle() << " " << VersionText() << "\n"
        << "The program has no window yet: the main window is still being built.\n"
        << "プログラムにはまだウィンドウがありません。\n";
    return 0;
}
