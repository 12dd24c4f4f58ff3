#include "PrintDialog.h"

#include <QGroupBox>

namespace plat {

PrintDialog::PrintDialog(QPrinter* printer, QWidget* parent) : QPrintDialog(printer, parent) {
    setOption(PrintToFile, false);
    setOption(PrintSelection, false);
    setOption(PrintPageRange, false);
    setOption(PrintCurrentPage, false);
}

void PrintDialog::setVisible(bool visible) {
    // Qt lays out its choices again each time the dialog is shown.
    QPrintDialog::setVisible(visible);
    if (!visible) return;
    if (auto* range = findChild<QGroupBox*>(QStringLiteral("gbPrintRange"))) range->hide();
}

} // namespace plat
