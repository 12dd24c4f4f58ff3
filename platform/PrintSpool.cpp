#include "PrintSpool.h"

#include <QPrinter>

#include <cups/cups.h>

namespace plat {

SpoolAnswer LastSpoolAnswer() {
    // Statuses below the client errors (0x0400) are successes and redirects.
    const ipp_status_t status = cupsLastError();
    if (status < IPP_STATUS_ERROR_BAD_REQUEST) return {};
    // CUPS speaks UTF-8 whatever the locale.
    const char* text = cupsLastErrorString();
    return {false, text && *text ? QString::fromUtf8(text) : QString::fromLatin1(ippErrorString(status))};
}

SpoolAnswer SpoolAnswerOf(const QPrinter& printer) {
    const bool queue = printer.outputFormat() == QPrinter::NativeFormat && printer.outputFileName().isEmpty() &&
                       !printer.printerName().isEmpty();
    return queue ? LastSpoolAnswer() : SpoolAnswer{};
}

} // namespace plat
