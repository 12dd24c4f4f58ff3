// Styled figures: a figure ready to be drawn, its points already in canvas
// pixels, carrying the style the plot engine chose for it. One class per
// drawable kind (2 polyline, 3 polygon, 4 symbol, 5 text); each draws itself
// through gvMapGraph with Plot, and with Detail also marks where its points
// are (vertex squares, a symbol frame, a text diamond) for picked and
// edited figures.
//
// The builder sets the public fields, Fore, Back and Poly, then plots.
// Style numbers are those of the drawing layer: line styles (SetPen), fill
// styles (SetBrush, 8 the usual solid), symbol numbers (SetSymbol) and text
// decoration bits (SetFont). Colours are 0x00BBGGRR, -1 none.
//
// Detail marks are drawn in a one-pixel solid pen of the fore colour (a
// polygon's in its inverse, each of the 24 colour bits flipped, so they
// stand out on the fill); with no fore colour (-1) they are black, so a
// picked figure that draws nothing still shows where it is.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>

#include "clsPoly.h"

class clsFigure {
public:
    virtual ~clsFigure() = default;

    virtual int16_t FigCode() const = 0;
    virtual QString FigName() const = 0;
    int32_t Fore() const { return fore_; }
    void setFore(int32_t color) { fore_ = color; }
    int32_t Back() const { return back_; }
    void setBack(int32_t color) { back_ = color; }
    // Polylines and polygons: their own sequence, shared both ways (a null
    // one stands for an empty sequence). Symbols and texts: a new one-point
    // sequence of (X, Y); setting takes the first point of a non-empty
    // sequence and otherwise keeps the position.
    virtual std::shared_ptr<clsPoly> Poly() const = 0;
    virtual void setPoly(const std::shared_ptr<clsPoly>& poly) = 0;
    // The result of the main drawing call; the marks do not change it.
    virtual bool Plot(bool Detail) = 0;

protected:
    int32_t fore_ = 0;
    int32_t back_ = -1;
};

using FigurePtr = std::shared_ptr<clsFigure>;

// The colour of the detail marks for a fore colour, inverted or not.
int32_t DetailMarkColor(int32_t fore, bool inverse);

// The figures drawn along a sequence of points.
class FigureAlongPoints : public clsFigure {
public:
    std::shared_ptr<clsPoly> Poly() const override { return poly_; }
    void setPoly(const std::shared_ptr<clsPoly>& poly) override;

protected:
    // Squares of half-size 3 at the ends, 1 at the other points.
    void drawVertexMarks(int32_t color) const;
    std::shared_ptr<clsPoly> poly_ = std::make_shared<clsPoly>();
};

// The figures drawn at one point.
class FigureAtPoint : public clsFigure {
public:
    int32_t X = 0;
    int32_t Y = 0;

    std::shared_ptr<clsPoly> Poly() const override;
    void setPoly(const std::shared_ptr<clsPoly>& poly) override;
};

class clsFigPolyline : public FigureAlongPoints {
public:
    int16_t Style = 0;   // line style
    int32_t Size = 1;    // line width, LINE_WIDTH_MIN..LINE_WIDTH_MAX

    int16_t FigCode() const override { return 2; }
    QString FigName() const override { return QStringLiteral("POLYLINE"); }
    bool Plot(bool Detail) override;
};

class clsFigPolygon : public FigureAlongPoints {
public:
    int16_t Style = 8;   // fill style, solid

    int16_t FigCode() const override { return 3; }
    QString FigName() const override { return QStringLiteral("POLYGON"); }
    // Detail: the polyline's squares in the inverse colour.
    bool Plot(bool Detail) override;
};

class clsFigSymbol : public FigureAtPoint {
public:
    int16_t Style = 0;   // symbol number 0..47

    int16_t FigCode() const override { return 4; }
    QString FigName() const override { return QStringLiteral("SYMBOL"); }
    // Detail: a frame 2 pixels around the symbol's bitmap at its own size
    // (not the scaled drawing size).
    bool Plot(bool Detail) override;
};

class clsFigText : public FigureAtPoint {
public:
    QString FontName = QStringLiteral("System");
    int32_t Size = 10;    // points
    int32_t Angle = 0;    // degrees counter-clockwise
    uint8_t Style = 0;    // decoration bits FS_BOLD .. FS_OPAQUE
    int16_t Align = 10;   // anchor 0..24
    QByteArray Text = QByteArray(1, '\0');   // ANSI bytes; a zero byte ends the text
    bool Latin1 = false;   // Text holds Latin-1 bytes (a map's European text)

    int16_t FigCode() const override { return 5; }
    QString FigName() const override { return QStringLiteral("TEXT"); }
    // A font that cannot be made falls back to gvDefaultFont at 10 points,
    // upright, undecorated, without back colour. Detail: a closed diamond
    // of half-diagonal Size div 2 (points, not drawn pixels) around (X, Y).
    bool Plot(bool Detail) override;
};
