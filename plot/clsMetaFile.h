// A placeable Windows metafile of a plot. The recording context is a
// metafile device context that the drawing layer plots into; MetaSave
// writes the 22-byte placeable header (key 0x9AC6CDD7, the Area's corners
// and Dpi as units per inch, each the low 16 bits, and the exclusive or of
// the header's first ten words as checksum) followed by the metafile.
//
// Calling order of an export: MetaOpen, set FileName, Dpi and Area, plot
// into hdc(), MetaClose, MetaSave. Opening again continues the drawing: the
// closed metafile is played into the new recording first.
//
// Setting Area frames the recording: its window becomes the Area (logical
// units are the picture's pixels) and stays so, whatever window a drawing
// started on it asks for, so a plot that covers only part of the picture
// (the map beside a band of accessories) plays undistorted.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>

#include "MetaFileDC.h"
#include "clsRect.h"

class clsMetaFile {
public:
    clsMetaFile();
    ~clsMetaFile();   // closes a recording still open
    clsMetaFile(const clsMetaFile&) = delete;
    clsMetaFile& operator=(const clsMetaFile&) = delete;

    // The recording context; null when no recording is open.
    plat::DeviceContext* hdc() const;

    // Default: "USER.WMF" in the program's folder. Set: the extension
    // becomes "WMF".
    const QString& FileName() const { return fileName_; }
    void setFileName(const QString& name);
    // 1..10000; other values are ignored. Default: the screen's.
    int32_t Dpi() const { return dpi_; }
    void setDpi(int32_t dpi);
    // Default (0, 0, 999, 999); an empty rectangle is ignored. Frames the
    // recording (now, and at every later MetaOpen).
    const clsRect& Area() const { return area_; }
    void setArea(const clsRect& area);

    // Opens a recording (when none is open) and plays a closed metafile
    // into it; returns the recording context.
    plat::DeviceContext* MetaOpen();
    // Ends the recording into the closed metafile; nothing when none is open.
    void MetaClose();
    // Closes the recording and writes the file. 0 when written or when
    // there is nothing to write; 70 (after the read-only message) for a
    // read-only file; the number of a file error the user chose to skip.
    // A cancelled file error is raised with "clsMetaFile.MetaSave/".
    int32_t MetaSave();

    // The closed metafile, null when there is none.
    const plat::HMETAFILE& Recording() const { return closed_; }

    // The 22-byte placeable header for an area (its pixels, edges included)
    // and a resolution: its bounds end one past the area's right and bottom.
    static QByteArray PlaceableHeader(const clsRect& area, int32_t dpi);

private:
    class FramedDC;
    std::unique_ptr<FramedDC> dc_;
    plat::HMETAFILE closed_;
    QString fileName_;
    int32_t dpi_;
    clsRect area_{0, 0, 999, 999};
    bool framed_ = false;
};
