#include "PrintDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QPageSize>
#include <QPrinter>

namespace plat {

PrintDialog::PrintDialog(QPrinter* printer, QWidget* parent)
    : QPrintDialog(printer, parent), page_(printer->pageLayout()), printerName_(printer->printerName()) {
    setOption(PrintToFile, false);
    setOption(PrintSelection, false);
    setOption(PrintPageRange, false);
    setOption(PrintCurrentPage, false);
    // The properties window is made only when asked for; its showing is
    // seen here.
    qApp->installEventFilter(this);
}

PrintDialog::~PrintDialog() { qApp->removeEventFilter(this); }

void PrintDialog::setVisible(bool visible) {
    // Qt lays out its choices again each time the dialog is shown.
    QPrintDialog::setVisible(visible);
    if (!visible) return;
    if (auto* range = findChild<QGroupBox*>(QStringLiteral("gbPrintRange"))) range->hide();
}

bool PrintDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show || propertiesShown_ || !watched->inherits("QPrintPropertiesDialog")) return false;
    // A window of its own, so not within this one: its owner is looked for.
    QObject* owner = watched->parent();
    while (owner && owner != this) owner = owner->parent();
    if (!owner) return false;
    auto* properties = static_cast<QWidget*>(watched);
    propertiesShown_ = true;
    // The paper chosen last, when this printer has it.
    auto* papers = properties->findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
    if (!papers || printer()->printerName() != printerName_) return false;
    for (int i = 0; i < papers->count(); ++i) {
        if (papers->itemData(i).value<QPageSize>().isEquivalentTo(page_.pageSize())) {
            papers->setCurrentIndex(i);
            break;
        }
    }
    return false;
}

void PrintDialog::accept() {
    QPrintDialog::accept();
    // Untouched properties leave the page as it was chosen last.
    if (result() == Accepted && !propertiesShown_ && printer()->printerName() == printerName_)
        printer()->setPageLayout(page_);
}

} // namespace plat
