// Printing the map at its physical size: the canvas of w dots at d dpi
// prints w / d inches wide whatever the printer's resolution. A map larger
// than the printable area is cut when the user allows it: it is plotted
// whole from the top left of the printable area, never shrunk, and its
// right and bottom parts fall outside the page. Every copy is plotted
// afresh; the PRINT snapshot is written after a complete job only.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

#include "DeviceContext.h"
#include "PrintSpool.h"

class MainWindowLogic;
class QPrinter;

// The printer as printing needs it; the program's is a QPrinter, tests
// give a fake.
class PrinterPort {
public:
    virtual ~PrinterPort() = default;
    // The print dialog: the printer and the copies (1 preset); false when
    // cancelled.
    virtual bool ShowDialog(int16_t& copies) = 0;
    virtual int32_t DpiX() const = 0;
    virtual int32_t DpiY() const = 0;
    // The printable area, printer dots.
    virtual int32_t PrintableWidth() const = 0;
    virtual int32_t PrintableHeight() const = 0;
    virtual QString DeviceName() const = 0;
    // Opens the document; its device context, valid until EndDoc or KillDoc.
    // Failures raise an AppError.
    virtual plat::HDC StartDoc() = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    virtual void KillDoc() = 0;
};

struct PrintSize {
    int32_t Width = 0, Height = 0;
    bool operator==(const PrintSize&) const = default;
};

// The canvas at its physical size in printer dots (truncated).
PrintSize PhysicalPrintSize(int32_t canvasWidth, int32_t canvasHeight, int32_t canvasDpi, int32_t printerDpiX,
                            int32_t printerDpiY);

enum class PrintResult { Cancelled, CutRefused, Done, Interrupted, Failed };

// The File menu's print: dialog and measures, cut questions, the copies,
// the snapshot, the redraw and the status texts.
PrintResult PrintMap(MainWindowLogic& logic, PrinterPort& printer);

// The program's printer: the system's default printer through the print
// dialog. The printer and its settings chosen there (orientation, paper)
// stay for the port's life, the program's run. A document is named after
// the program. A document that the print system refuses when it ends is an
// error of EndDoc. The dialog and the reading of the print system's answer
// can be replaced (tests print to a PDF file).
class QtPrinterPort : public PrinterPort {
public:
    using Dialog = std::function<bool(QPrinter& printer, int16_t& copies)>;
    using SpoolCheck = std::function<plat::SpoolAnswer(const QPrinter& printer)>;
    explicit QtPrinterPort(QWidget* parent, Dialog dialog = {}, SpoolCheck check = {});
    ~QtPrinterPort() override;

    bool ShowDialog(int16_t& copies) override;
    int32_t DpiX() const override;
    int32_t DpiY() const override;
    int32_t PrintableWidth() const override;
    int32_t PrintableHeight() const override;
    QString DeviceName() const override;
    plat::HDC StartDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void KillDoc() override;

    // Whether the system has a printer (the File menu's print item).
    static bool AnyPrinter();

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};
