#include "MainPrint.h"

#include <QApplication>
#include <QPrinter>
#include <QPrinterInfo>

#include <limits>

#include "AppError.h"
#include "AppInfo.h"
#include "MainWindowLogic.h"
#include "MessageBox.h"
#include "PrintDialog.h"
#include "PrinterDC.h"
#include "PublicVal.h"
#include "basFileNames.h"
#include "basLibrary.h"
#include "clsCanvas.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

int32_t dotsOf(int32_t canvasDots, int32_t printerDpi, int32_t canvasDpi) {
    if (canvasDpi == 0) throw plat::AppError(plat::ErrDivByZero, QStringLiteral("PrintMap"), QStringLiteral("0 dpi"));
    const int64_t dots = int64_t(canvasDots) * printerDpi / canvasDpi;
    if (dots > std::numeric_limits<int32_t>::max() || dots < std::numeric_limits<int32_t>::min())
        throw plat::AppError(plat::ErrOverflow, QStringLiteral("PrintMap"), QStringLiteral("overflow"));
    return int32_t(dots);
}

} // namespace

PrintSize PhysicalPrintSize(int32_t canvasWidth, int32_t canvasHeight, int32_t canvasDpi, int32_t printerDpiX,
                            int32_t printerDpiY) {
    return {dotsOf(canvasWidth, printerDpiX, canvasDpi), dotsOf(canvasHeight, printerDpiY, canvasDpi)};
}

PrintResult PrintMap(MainWindowLogic& logic, PrinterPort& printer) {
    int16_t copies = 1;
    int32_t dpiX = 0, dpiY = 0;
    PrintSize size;
    try {
        if (!printer.ShowDialog(copies) || !gvCanvas) {
            logic.SetStatusText(QStringLiteral("印刷はキャンセルされました."));
            return PrintResult::Cancelled;
        }
        dpiX = printer.DpiX();
        dpiY = printer.DpiY();
        const int32_t printableWidth = printer.PrintableWidth(), printableHeight = printer.PrintableHeight();
        // The cut keeps the scale and the top left: the map is plotted
        // whole, and the printer leaves out what lies beyond its printable
        // area. A plot of the cut size would be centred on the view's
        // centre and lose the left and top as well.
        size = PhysicalPrintSize(gvCanvas->CanvasWidth(), gvCanvas->CanvasHeight(), gvCanvas->Dpi(), dpiX, dpiY);
        if (size.Width > printableWidth &&
            !AskYesNo(QStringLiteral("画像幅が用紙の印刷可能幅を超えています.") + kCrLf +
                      QStringLiteral("左右をカットしてもよろしいですか？")))
            return PrintResult::CutRefused;
        if (size.Height > printableHeight &&
            !AskYesNo(QStringLiteral("画像高が用紙の印刷可能高を超えています.") + kCrLf +
                      QStringLiteral("上下をカットしてもよろしいですか？")))
            return PrintResult::CutRefused;
    } catch (...) {
        logic.SetStatusText(QStringLiteral("印刷はキャンセルされました."));
        return PrintResult::Cancelled;
    }

    bool interrupted = false;
    try {
        const plat::HDC hdc = printer.StartDoc();
        for (int page = 1; page <= copies; ++page) {
            logic.SetStatusText(QStringLiteral("ページ ") + QString::number(page) + QStringLiteral(" を印刷中 -> ") +
                                printer.DeviceName());
            if (logic.PlotMap(hdc, dpiX, dpiY, size.Width, size.Height) != 0) {
                printer.KillDoc();
                MsgError(QStringLiteral("印刷は中断されました."));
                interrupted = true;
                break;
            }
            if (page < copies) printer.NewPage();
        }
        if (!interrupted) {
            printer.EndDoc();
            QApplication::beep();
            gvWriteLog(GetLogPrint());
        }
    } catch (...) {
        const plat::AppError e = plat::CurrentError();
        // The half-made document goes; nothing more reaches the printer.
        try {
            printer.KillDoc();
        } catch (...) {
        }
        plat::MsgBox(QStringLiteral("プリンタで問題が発生しました.") + kCrLf + QString::number(e.number()) +
                         QLatin1Char(':') + e.description(),
                     plat::MbCritical);
        logic.PlotWindow();
        logic.SetStatusText(QString());
        return PrintResult::Failed;
    }
    logic.PlotWindow();
    if (interrupted) return PrintResult::Interrupted;
    logic.SetStatusText(QStringLiteral("プリンタへの出力を完了しました."));
    return PrintResult::Done;
}

// ---------------------------------------------------------------- the program's printer

struct QtPrinterPort::Impl {
    QWidget* parent = nullptr;
    Dialog dialog;
    SpoolCheck check;
    std::unique_ptr<QPrinter> printer;
    std::unique_ptr<plat::PrinterDC> dc;

    QPrinter& chosen() const {
        if (!printer) throw plat::AppError(plat::ErrInvalidCall, QStringLiteral("Printer"), QStringLiteral("no printer"));
        return *printer;
    }
};

QtPrinterPort::QtPrinterPort(QWidget* parent, Dialog dialog, SpoolCheck check) : d_(std::make_unique<Impl>()) {
    d_->parent = parent;
    d_->dialog = std::move(dialog);
    d_->check = std::move(check);
}

QtPrinterPort::~QtPrinterPort() = default;

bool QtPrinterPort::ShowDialog(int16_t& copies) {
    // The printer of the last print, with the user's choices: the dialog
    // opens on them.
    if (!d_->printer) {
        d_->printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        d_->printer->setDocName(plat::AppTitle());
    }
    QPrinter& p = *d_->printer;
    p.setCopyCount(1);
    bool ok = false;
    if (d_->dialog) {
        ok = d_->dialog(p, copies);
    } else {
        plat::PrintDialog dialog(&p, d_->parent);
        ok = dialog.exec() == QDialog::Accepted;
        copies = int16_t(std::clamp(p.copyCount(), 1, 32767));
    }
    // Each copy is plotted here: the printer must not repeat them.
    p.setCopyCount(1);
    return ok;
}

int32_t QtPrinterPort::DpiX() const { return d_->chosen().resolution(); }
int32_t QtPrinterPort::DpiY() const { return d_->chosen().resolution(); }
int32_t QtPrinterPort::PrintableWidth() const { return d_->chosen().width(); }
int32_t QtPrinterPort::PrintableHeight() const { return d_->chosen().height(); }

QString QtPrinterPort::DeviceName() const {
    const QPrinter& p = d_->chosen();
    return p.outputFileName().isEmpty() ? p.printerName() : p.outputFileName();
}

plat::HDC QtPrinterPort::StartDoc() {
    d_->dc = std::make_unique<plat::PrinterDC>(&d_->chosen());
    if (!d_->dc->isValid()) {
        d_->dc.reset();
        throw plat::AppError(plat::ErrDeviceIO, QStringLiteral("Printer"), QStringLiteral("印刷を開始できません."));
    }
    return d_->dc.get();
}

void QtPrinterPort::NewPage() {
    if (!d_->dc || !d_->dc->NewPage())
        throw plat::AppError(plat::ErrDeviceIO, QStringLiteral("Printer"), QStringLiteral("改ページできません."));
}

void QtPrinterPort::EndDoc() {
    const bool ended = d_->dc && d_->dc->EndDoc();
    d_->dc.reset();
    if (!ended) throw plat::AppError(plat::ErrDeviceIO, QStringLiteral("Printer"), QStringLiteral("印刷を終了できません."));
    // The document went to the print system as it ended; read its answer
    // before anything else asks the print system again.
    const plat::SpoolAnswer answer = d_->check ? d_->check(d_->chosen()) : plat::SpoolAnswerOf(d_->chosen());
    if (!answer.accepted) {
        QString text = QStringLiteral("プリンタが印刷ジョブを受け付けませんでした.");
        if (!answer.message.isEmpty()) text += QStringLiteral(" (") + answer.message + QLatin1Char(')');
        throw plat::AppError(plat::ErrDeviceIO, QStringLiteral("Printer"), text);
    }
}

void QtPrinterPort::KillDoc() {
    if (!d_->dc) return;
    d_->printer->abort();
    d_->dc.reset();
}

bool QtPrinterPort::AnyPrinter() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }
