// The pattern, line and symbol style editors without their windows: one
// style page of a thing being edited, the picking grid of every style the
// drawing layer offers (hit test, tooltip, painting) and the live sample.
// The windows (frmExpStyle.h) forward mouse positions and clicks here and
// show the pictures painted here, which are drawn through the drawing layer
// exactly as the map draws the style.
//
// Protocol of a caller: set Title, Fore, Back, Style (and Size of a line),
// preset Position on the first opening (its own corner + 1800, 300 twips),
// show the window modally, and read the fields back when DialogOK is true.
// Each editor is one instance for the whole run (ExpPolygon() ...), so its
// fields and position persist between openings.
//
// Colours are 0x00BBGGRR; -1 is none. A value with the top bit set names a
// system colour (the grids use the button face and text colours).
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

#include "DeviceContext.h"
#include "DialogBase.h"

class clsMapGraph;

// Cell hit tests of the three grids: the style index of the cell under
// (X, Y), pixels of a grid ScaleWidth x ScaleHeight, or -1 for an empty
// cell, a point outside the grid (also the strip right of the last column
// that integer cell widths leave) and a grid too small to have cells.
//   pattern grid 8 x 5: cells 1..7 brushes 0..6, cells 8..39 tiles 100..131
//   line grid   4 x 13: cells 0..5 pens 0..5, cells 8..51 patterns 102..145
//   symbol grid 8 x 6:  cells 0..47 symbols 0..47
int16_t PatternHit(int32_t X, int32_t Y, int32_t ScaleWidth, int32_t ScaleHeight);
int16_t StyleHit(int32_t X, int32_t Y, int32_t ScaleWidth, int32_t ScaleHeight);
int16_t SymbolHit(int32_t X, int32_t Y, int32_t ScaleWidth, int32_t ScaleHeight);

// Names of the plain device brushes 0..6 (hatches, solid) and pens 0..5
// (dashes, none); empty otherwise.
QString PlainBrushName(int16_t index);
QString PlainPenName(int16_t index);

// The colour chooser the colour buttons open: the current colour in, the
// chosen colour out, a negative value when cancelled. The default asks
// through the program's colour chooser; the main window installs its
// palette. Returns the previous one.
using RealColorInput = std::function<int32_t(int32_t color)>;
RealColorInput SetRealColorInput(RealColorInput input);
int32_t InputRealColor(int32_t color);

// The drawing layer the editors draw with: the program's one (gvMapGraph)
// once it exists, else one of their own.
clsMapGraph& StyleGraph();
// Ends the layer's drawing when it leaves, so no error leaves the layer on
// a picture that is gone.
struct GraphScope {
    clsMapGraph& g;
    ~GraphScope();
};

class ExpStyleModel {
public:
    // The colour of the current style's cell; others take the grid's fore colour.
    static constexpr int32_t kCurrentColor = 0x0000FF;
    static constexpr int32_t kGridBackColor = static_cast<int32_t>(0x8000000F);   // button face
    static constexpr int32_t kGridForeColor = static_cast<int32_t>(0x80000012);   // button text
    static constexpr int32_t kBandColor = static_cast<int32_t>(plat::RGB(255, 216, 232));  // plain styles' rows

    int32_t Fore = 0;
    int32_t Back = 0xFFFFFF;
    int16_t Style = 0;
    QString Title;
    bool DialogOK = false;
    plat::DialogPosition Position;

    virtual ~ExpStyleModel() = default;

    // The opening of the window: DialogOK false; a Back of -1 becomes white
    // with the second-colour box clear, any other Back ticks the box.
    void Open();
    // The designed caption, " - " and the title.
    QString Caption() const;
    virtual QString DesignedCaption() const = 0;
    virtual long HelpContext() const = 0;

    // The second-colour box (back colour of patterns and lines, edge of
    // symbols); the second colour drawn is Back while it is ticked, else -1.
    bool SecondColorOn() const { return secondOn_; }
    void SetSecondColorOn(bool on) { secondOn_ = on; }
    int32_t SecondColor() const { return secondOn_ ? Back : -1; }

    // The colour buttons; true when a colour was chosen. A chosen back
    // colour ticks the second-colour box; a cancelled chooser changes nothing.
    bool ChooseFore();
    bool ChooseBack();

    // OK: Back becomes -1 when the box is clear. Cancel leaves the fields
    // as edited; the caller ignores them.
    void Accept();
    void Cancel();

    // The style index under a point of the grid (w x h pixels), -1 for none.
    virtual int16_t Hit(int32_t x, int32_t y, int32_t w, int32_t h) const = 0;
    // The mouse released over the grid: the style under it becomes Style.
    // True when a style was there (the grid and the sample are repainted).
    bool Pick(int32_t x, int32_t y, int32_t w, int32_t h);
    // The tooltip of the grid at a point: the name of the style, or "".
    QString TooltipAt(int32_t x, int32_t y, int32_t w, int32_t h) const;
    virtual QString StyleName(int16_t index) const = 0;

    // Paint the grid and the sample over a whole picture of w x h pixels.
    virtual void PaintGrid(plat::HDC dc, int32_t w, int32_t h) const = 0;
    void PaintSample(plat::HDC dc, int32_t w, int32_t h) const;

protected:
    // Calls draw for every cell of a grid of cols x rows cells over w x h
    // pixels that holds a style: the cell's corner moved in by (dx, dy), the
    // style and its colour (red for the current style).
    void ForEachStyleCell(int32_t cols, int32_t rows, int32_t w, int32_t h, int32_t dx, int32_t dy,
                          const std::function<void(int32_t x, int32_t y, int16_t i, int32_t color)>& draw) const;
    // The sample over the background, between GraphBegin and GraphEnd.
    virtual void DrawSample(clsMapGraph& g, int32_t w, int32_t h) const = 0;

private:
    bool secondOn_ = false;
};

// frmExpPolygon: fill pattern (0..5 hatches, 6 solid, 100..131 tiles; any
// other value, the default 8, fills solid and marks no cell), pattern and
// back colour.
class ExpPolygonModel : public ExpStyleModel {
public:
    ExpPolygonModel() { Style = 8; }
    QString DesignedCaption() const override;
    long HelpContext() const override { return 252203; }
    int16_t Hit(int32_t x, int32_t y, int32_t w, int32_t h) const override { return PatternHit(x, y, w, h); }
    QString StyleName(int16_t index) const override;
    void PaintGrid(plat::HDC dc, int32_t w, int32_t h) const override;

protected:
    void DrawSample(clsMapGraph& g, int32_t w, int32_t h) const override;
};

// frmExpPolyline: line style (0..4 dashes, 5 none, 102..145 bitmap
// patterns), width 1..15 (plain pens only), line and back colour.
class ExpPolylineModel : public ExpStyleModel {
public:
    int32_t Size = 1;

    ExpPolylineModel() { Back = -1; }
    QString DesignedCaption() const override;
    long HelpContext() const override { return 252202; }
    int16_t Hit(int32_t x, int32_t y, int32_t w, int32_t h) const override { return StyleHit(x, y, w, h); }
    QString StyleName(int16_t index) const override;
    void PaintGrid(plat::HDC dc, int32_t w, int32_t h) const override;

    // Only plain pens take a width.
    bool WidthEnabled() const;
    // The entry of the width list ("1" .. "15") that Size selects; -1 when
    // Size lies outside the list.
    int WidthIndex() const;
    void ChooseWidth(int entry);

protected:
    void DrawSample(clsMapGraph& g, int32_t w, int32_t h) const override;
};

// frmExpSymbol: point symbol 0..47, symbol and edge colour.
class ExpSymbolModel : public ExpStyleModel {
public:
    QString DesignedCaption() const override;
    long HelpContext() const override { return 252204; }
    int16_t Hit(int32_t x, int32_t y, int32_t w, int32_t h) const override { return SymbolHit(x, y, w, h); }
    QString StyleName(int16_t index) const override;
    void PaintGrid(plat::HDC dc, int32_t w, int32_t h) const override;

protected:
    void DrawSample(clsMapGraph& g, int32_t w, int32_t h) const override;
};

// The editors of the run, made on first use with the defaults above.
ExpPolygonModel& ExpPolygon();
ExpPolylineModel& ExpPolyline();
ExpSymbolModel& ExpSymbol();
