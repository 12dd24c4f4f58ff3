// The printer back end of the device context: vectors and pictures through
// QPainter on a QPrinter (a real printer or a PDF file). Device pixels are
// the printer's dots, the origin the corner of the printable area; nothing
// is drawn outside that area. Mix modes
// other than copying have no meaning on paper: R2_NOP draws nothing,
// R2_BLACK and R2_WHITE draw black and white, every other mode draws as
// R2_COPYPEN. Transfers that must read the page (XOR, AND ...) fail; the
// transparent symbol operation and plain copies work.
#pragma once

#include "DeviceContext.h"

#include <memory>

class QPrinter;

namespace plat {

class PrinterDC : public DeviceContext {
public:
    // Starts the document on the printer, which must outlive the context.
    explicit PrinterDC(QPrinter* printer);
    ~PrinterDC() override;   // ends the document when still open

    bool isValid() const;
    bool NewPage();
    bool EndDoc();

    int GetDeviceCaps(int index) const override;

    bool LineTo(int x, int y) override;
    bool Polyline(const POINT* pts, int n) override;
    bool Polygon(const POINT* pts, int n) override;
    bool PolyPolygon(const POINT* pts, const int* counts, int polys) override;
    bool Rectangle(int left, int top, int right, int bottom) override;
    bool Ellipse(int left, int top, int right, int bottom) override;

    COLORREF SetPixel(int x, int y, COLORREF c) override;
    bool SetPixelV(int x, int y, COLORREF c) override;
    COLORREF GetPixel(int x, int y) const override;
    bool PatternLine(int x1, int y1, int x2, int y2, const uint8_t* on, int n, int64_t& phase, COLORREF fore,
                     COLORREF back) override;

    bool FillRect(const RECT& r, const Brush& brush) override;
    bool PatBlt(int x, int y, int w, int h, uint32_t rop) override;
    bool TextOutHalo(int x, int y, const QString& text, COLORREF halo, COLORREF fore,
                     const POINT* offsets, int n) override;

protected:
    bool blitBitmap(const Blit& b, const Bitmap& src) override;
    bool paintText(const std::function<void(QPainter&)>& draw) override;
    const QPaintDevice* textDevice() const override;
    void clipChanged() override;
    QRect surfaceRect() const override;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace plat
