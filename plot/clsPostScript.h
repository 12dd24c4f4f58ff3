// The PostScript mirror of the drawing layer: every setting and drawing call
// becomes one line of a PostScript program in canvas pixel coordinates, and
// psSave wraps the program in an Encapsulated PostScript file (EPSF-3.0):
// header comments, map information, the prolog file (KALDERO.PS, which
// defines the procedures the lines call) and the trailer. Lines end in CR LF;
// the file is written in the program's ANSI code page (Shift-JIS).
//
// Number forms: integers in plain decimal, real numbers in the shortest
// decimal form that reads back as the same value (1, 0.75, 2.5), colours as
// radix numbers 16#BBGGRR or -1 for none, texts as string literals
// (parentheses and backslashes escaped, bytes from 128 up as \ooo) or as hex
// strings.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

#include "clsLine.h"
#include "clsPoly.h"
#include "clsMapUnit.h"
#include "clsRect.h"


// A colour as the program text can state it: -1 stays -1 (none), a system
// colour (top bit set) becomes its RGB value, any other top byte is dropped.
int32_t PsResolveColor(int32_t color);
// "-1" or "16#" and the six hex digits BBGGRR of the resolved colour.
QByteArray PsColorText(int32_t color);
// "(" bytes ")": "(", ")" and "\" escaped with "\", control bytes and bytes
// from 127 up as "\" and three octal digits; any byte sequence gives a valid
// literal on one line that reads back as the same bytes.
QByteArray PsStringLiteral(const QByteArray& bytes);
// "<" two lower-case hex digits per byte ">".
QByteArray PsHexString(const QByteArray& bytes);
// "newpath" CR LF, the points from the last back to the first, ten pairs a
// line, then "n flag AddPathPoly" (flag 1 for a closed ring, whose repeated
// last point is dropped); empty below two points. No line end after it.
QByteArray PsPathPoly(const clsPoly& poly);
// The shortest decimal form of a real number that reads back as the value.
QByteArray PsReal(double value);

// Texts the Japanese face cannot show, drawn in the Latin faces in ISO
// Latin-1 instead: some character outside Shift-JIS, none outside Latin-1
// ("Türkiye"; not "München 市", which has no single-byte form). Bytes are
// never judged so: their language decides (psDrawLatin1Text).
bool IsLatin1Text(const QString& text);

// Where psSave finds the map units whose information heads the file: the
// units of the current map mode in set order (none installed: no units).
using CurrentMapUnitsHook = std::function<std::vector<MapUnitPtr>()>;
void SetCurrentMapUnitsHook(CurrentMapUnitsHook hook);

class clsPostScript {
public:
    clsPostScript();

    QString FileName() const { return fileName_; }
    // Stored with the extension "EPS" (any case).
    void setFileName(const QString& path);
    QString ResourcePS() const { return resourcePS_; }
    // Stored with the extension "PS" (any case).
    void setResourcePS(const QString& path);
    int32_t Dpi() const { return dpi_; }
    // Accepted within 1..10000; the logical scale becomes 72 / dpi points a pixel.
    void setDpi(int32_t dpi);
    double LogicalScale() const { return scale_; }

    // The output area: Left and Top move it keeping its width and height;
    // Width and Height (32..GetMaxImageSize) set the right and bottom edge
    // to the value, so after Left 0, Top 0, Width W, Height H the page spans
    // 0..W by 0..H pixels. Width and Height read right - left + 1.
    int32_t Left() const { return area_.x1; }
    void setLeft(int32_t v);
    int32_t Top() const { return area_.y1; }
    void setTop(int32_t v);
    int32_t Width() const { return area_.x2 - area_.x1 + 1; }
    void setWidth(int32_t v);
    int32_t Height() const { return area_.y2 - area_.y1 + 1; }
    void setHeight(int32_t v);
    const clsRect& Area() const { return area_; }

    // Per cent, accepted within 10..10000, written as factors.
    void setPolylineRatio(int32_t percent);
    void setPolygonRatio(int32_t percent);
    void setSymbolRatio(int32_t percent);
    void setTextRatio(int32_t percent);

    // Starts a new program (the coordinate system, the clip to the area and
    // the set-up calls of the prolog).
    void psBegin();
    void psSetPen(int16_t Style, int32_t Width, int32_t Fore, int32_t Back);
    // Style 8, the usual solid, is written as 6.
    void psSetBrush(int16_t Style, int32_t Fore, int32_t Back);
    void psSetSymbol(int16_t Index, int32_t Value, int32_t Fore, int32_t Back);
    // Size in points, already multiplied by the layer's text ratio. A name
    // with a byte outside 32..127 is written as a hex string and makes the
    // texts after it hex strings too.
    void psSetFont(const QString& FontName, double Size, int32_t Angle, uint8_t Style, int32_t Fore, int32_t Back);
    void psClear();
    // Clipped to the area; nothing when nothing is left.
    void psStrokeLine(const clsLine& line);
    void psStrokeRect(const clsRect& rect);
    // Normalised and intersected with the area; nothing when empty.
    void psFillRect(const clsRect& rect);
    // One path per piece of the polyline inside the area.
    void psStrokePoly(const clsPoly& poly);
    // The polygon clipped to the area.
    void psFillPoly(const clsPoly& poly);
    // Only for a point inside the area (edges included).
    void psDrawSymbol(int32_t X, int32_t Y);
    // Text in the ANSI code page (Shift-JIS); nothing for an empty text or a
    // point outside the area. A Latin-1 text (IsLatin1Text) calls
    // DrawLatinText with the same arguments, in the same string form.
    void psDrawText(int32_t X, int32_t Y, int16_t Align, const QByteArray& ansi);
    void psDrawText(int32_t X, int32_t Y, int16_t Align, const QString& text);
    // Bytes known to be ISO Latin-1, such as the European text of a map.
    void psDrawLatin1Text(int32_t X, int32_t Y, int16_t Align, const QByteArray& latin1);
    void psComment(const QString& text);
    void psProgram(const QString& text);

    // Writes the EPS file, replacing an old one only by a complete new one.
    // 0 on success; 53 (after a message box, nothing written) when the
    // prolog file does not exist; the error's number when the user skips a
    // file error. The closing lines go into the file, not into the program
    // text, so a second call writes the same file.
    int32_t psSave();

    // The program so far, without the closing lines.
    const QByteArray& ProgramText() const { return program_; }
    // The whole file psSave would write, given the prolog's lines.
    QByteArray FileText(const QStringList& prologLines) const;

private:
    void line(const QByteArray& text);
    void appendInt(int64_t v);
    void appendReal(double v);
    void appendColor(int32_t c);
    // "x1 y1 x2 y2" and the procedure's name as one line.
    void corners(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const char* procedure);
    void textLine(int32_t X, int32_t Y, int16_t Align, const QByteArray& bytes, const char* procedure);
    QByteArray closingLines() const;
    QByteArray headerText() const;
    QByteArray mapInformation() const;

    QString fileName_;
    QString resourcePS_;
    int32_t dpi_;
    double scale_ = 1;
    double polylineRatio_ = 1;
    double polygonRatio_ = 1;
    double symbolRatio_ = 1;
    double textRatio_ = 1;
    clsRect area_{0, 0, 999, 999};
    int32_t fontAngle_ = 0;
    bool nonAsciiFont_ = false;
    QByteArray program_;
};
