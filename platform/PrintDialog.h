// The print dialog the program shows: the printer, its properties and the
// copies. No page numbers, no selection and no print to a file: the
// program prints its map whole, each copy as a page. Qt's dialog for CUPS
// printers offers a page range even when told not to; it is taken away
// here.
#pragma once

#include <QPrintDialog>

namespace plat {

class PrintDialog : public QPrintDialog {
public:
    explicit PrintDialog(QPrinter* printer, QWidget* parent = nullptr);
    void setVisible(bool visible) override;
};

} // namespace plat
