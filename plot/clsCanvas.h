// The off-screen canvas behind the map view. The map is plotted into the
// canvas picture, which may be larger than the visible view; Paint copies
// the part of it chosen by ViewArea into the view. The canvas keeps both
// sizes within their limits, converts positions between the two, saves the
// canvas image as an 8-bit BMP (full colour when it holds more than 256
// colours), as a PNG or on the clipboard, and keeps its settings in section
// "CANVAS".
//
// Sizes are never stored here: they are read from the pictures. Limits:
//   canvas  32 .. MaxImageSize ("MaxImageSize" of Environment.txt, 4000
//           by default) on each axis;
//   view    32 .. ViewMaxWidth / ViewMaxHeight: the screen size less the
//           container's frame around the view (at least 32), as the view
//           picture tells them now, so the view grows until the main window
//           just fills the screen.
// Synchro on: every change of the view size resizes the canvas to the view.
//
// View offset (the canvas position of the view's top-left pixel) by
// ViewArea 1..9, row-major over top/middle/bottom and left/centre/right,
// with dx = CanvasWidth - ViewWidth, dy = CanvasHeight - ViewHeight:
//   x: 0, dx \ 2, dx for the columns;  y: 0, dy \ 2, dy for the rows
// (halves truncated toward zero; negative when the canvas is smaller).
//
// Saving replaces the target atomically: a failed export leaves the
// previous file as it was. A read-only target is refused with the
// library's message before anything is written.
#pragma once

#include <QString>

#include <cstdint>

#include "CanvasPictures.h"

class clsCanvas {
public:
    // Takes both pictures until it ends; reads section "CANVAS". A stored
    // or defaulted resolution outside 48..1440 leaves defaultDpi (the
    // screen's when that is out of range too).
    clsCanvas(CanvasPicture& canvas, ViewPicture& view, int32_t defaultDpi);
    // Writes section "CANVAS".
    ~clsCanvas();
    clsCanvas(const clsCanvas&) = delete;
    clsCanvas& operator=(const clsCanvas&) = delete;

    static QString RegistrySection() { return QStringLiteral("CANVAS"); }

    // Stored with the extension "BMP" / "PNG" put on the file-name part.
    const QString& BmpPath() const { return bmpPath_; }
    void setBmpPath(const QString& path);
    const QString& PngPath() const { return pngPath_; }
    void setPngPath(const QString& path);
    bool Synchro() const { return synchro_; }
    void setSynchro(bool on);
    // 48..1440; other values are ignored.
    int32_t Dpi() const { return dpi_; }
    void setDpi(int32_t dpi);
    // 1..9; any other value stores 5.
    int32_t ViewArea() const { return viewArea_; }
    void setViewArea(int32_t area);
    // The canvas is larger than the view on at least one axis.
    bool IsAreaMode() const;

    int32_t CanvasWidth() const { return canvas_.Width(); }
    void setCanvasWidth(int32_t width);
    int32_t CanvasHeight() const { return canvas_.Height(); }
    void setCanvasHeight(int32_t height);
    int32_t ViewMaxWidth() const;
    int32_t ViewMaxHeight() const;
    int32_t ViewWidth() const { return view_.Width(); }
    void setViewWidth(int32_t width);
    int32_t ViewHeight() const { return view_.Height(); }
    void setViewHeight(int32_t height);
    // Synchro off: the view takes the canvas's size, past its own limits.
    void ViewLikeCanvas();

    void PosViewToCanvas(int32_t xView, int32_t yView, int32_t& xCanvas, int32_t& yCanvas) const;
    void PosCanvasToView(int32_t xCanvas, int32_t yCanvas, int32_t& xView, int32_t& yView) const;

    // True when written. A file error shows the file-error box: retry
    // writes again, skip ends the save (false; also after the 8-bit file, no
    // full-colour attempt), cancel and any other failure show the save's
    // failure message and give false. The 8-bit BMP is written when the
    // picture has at most 256 colours, else the full-colour one.
    bool SaveBMP();
    bool SavePNG();
    // The canvas image on the clipboard as a bitmap.
    bool WriteClip();
    // Copies the visible part of the canvas into the view (a view larger
    // than the canvas keeps what lies beyond it).
    void Paint();

    void WriteRegistry() const;
    void ReadRegistry();

private:
    void SynchroCanvas();
    void ResizeCanvas(int32_t width, int32_t height);
    void ViewOffset(int32_t& x, int32_t& y) const;

    CanvasPicture& canvas_;
    ViewPicture& view_;
    QString bmpPath_;
    QString pngPath_;
    bool synchro_ = true;
    int32_t dpi_ = 0;
    int32_t viewArea_ = 5;
    int32_t defaultDpi_;
};

// The program's one canvas, made at start-up.
extern clsCanvas* gvCanvas;
