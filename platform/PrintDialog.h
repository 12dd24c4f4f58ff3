// The print dialog the program shows: the printer, its properties and the
// copies. No page numbers, no selection and no print to a file: the
// program prints its map whole, each copy as a page. Qt's dialog for CUPS
// printers offers a page range even when told not to; it is taken away
// here.
//
// The dialog opens on the printer's page as it was chosen last (paper,
// orientation, margins). Qt's dialog would put the printer's default paper
// back in its properties, and on the printer when they are not opened.
#pragma once

#include <QPageLayout>
#include <QPrintDialog>

namespace plat {

class PrintDialog : public QPrintDialog {
public:
    explicit PrintDialog(QPrinter* printer, QWidget* parent = nullptr);
    ~PrintDialog() override;
    void setVisible(bool visible) override;
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPageLayout page_;
    QString printerName_;
    bool propertiesShown_ = false;
};

} // namespace plat
