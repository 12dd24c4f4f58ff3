// The map accessories drawn over a plotted map: a background band, a
// frame, a scale bar, a title, a comment, a centre marker and an elevation
// legend. One instance serves the map view, printing and the exports; the
// main window makes short-lived ones (section "MEASURE") for the scale bar
// of its status area. Every instance reads its section on creation and
// writes it when it ends.
//
// Items (Index 1..7) and their capabilities (Status: 1 colour, 2 text,
// 4 font settable); setters ignore what an item cannot take:
//   1 Back 1   2 Frame 1   3 Measure 7   4 Title 7   5 Comment 7
//   6 Center 1   7 Elevate 5
//
// Layout (W x H the surface, m the frame margin "AccessoryFrameThick" when
// the frame is on, else 0; \ truncates):
//   Title, Comment  width W - 2m, lines folded to W - 2m - lh, height
//                   lines x lh + lh \ 2 (lh: the height of "W|")
//   Elevate         (entries + 2) x width of "99|" wide, (lh x 7) \ 4 high,
//                   right-aligned; left out when wider than (2W) \ 3
//   Measure         W - 2m - Elevate's width wide, (lh x 7) \ 4 high
//   band            Title + Comment + max(Measure, Elevate) + 2m
//   Back            W x band when on; Center the rest of the surface
// Position 0 puts the band at the top (title, comment, then the row of
// scale bar and legend, from the top), 1 at the bottom (the row first,
// then title and comment). The separator line between band and map lies at
// Top - m \ 2 + band (Position 0) or Back's top + (m - 1) \ 2 (1).
//
// An empty elevation legend (also without map units, before any plot has
// set them) takes no room and draws nothing; nothing fails.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "DeviceContext.h"
#include "StdFont.h"

class clsLine;
class clsMapUnits;
class clsPoly;
class clsRect;
class clsThings;

class clsAccessory {
public:
    enum ItemIndex : int32_t { Back = 1, Frame = 2, Measure = 3, Title = 4, Comment = 5, Center = 6, Elevate = 7 };
    static constexpr int32_t kItems = 7;

    // One entry of the elevation legend. Bounds in metres or feet,
    // -99999 and 99999 the open ends; (-1, 0) is the below-sea-level entry.
    struct LegendEntry {
        int32_t lower = -99999;
        int32_t upper = 99999;
        int16_t unit = 1;   // 1 metres, 2 feet
        int16_t style = 0;
        int32_t fore = 0;
        int32_t back = -1;
        bool operator==(const LegendEntry&) const = default;
    };
    // A map unit as the legend sees it.
    struct LegendUnit {
        bool display = true;
        QString kind;                      // the map's kind ("海底地形図" ...)
        const clsThings* things = nullptr;
    };
    // The area the last layout gave an item, and its folded lines.
    struct ItemArea {
        int32_t left = 0, top = 0, width = 0, height = 0;
        QStringList lines;                 // Title and Comment
    };

    clsAccessory();
    virtual ~clsAccessory();
    clsAccessory(const clsAccessory&) = delete;
    clsAccessory& operator=(const clsAccessory&) = delete;

    const QString& InstanceName() const { return instanceName_; }
    void setInstanceName(const QString& name) { instanceName_ = name; }
    plat::HDC handle() const { return handle_; }
    void sethandle(plat::HDC dc) { handle_ = dc; }
    // 48..1440; other values are ignored.
    int32_t Dpi() const { return dpi_; }
    void setDpi(int32_t dpi);
    // Only a scale the globe accepts (IsMapScale).
    double MapScale() const { return mapScale_; }
    void setMapScale(double scale);
    int32_t Left() const { return left_; }
    void setLeft(int32_t v) { left_ = v; }
    int32_t Top() const { return top_; }
    void setTop(int32_t v) { top_ = v; }
    int32_t Width() const { return width_; }
    void setWidth(int32_t v) { width_ = v; }
    int32_t Height() const { return height_; }
    void setHeight(int32_t v) { height_ = v; }
    // 0 band at the top, 1 at the bottom; stored unchecked.
    int32_t Position() const { return position_; }
    void setPosition(int32_t v) { position_ = v; }
    // Kept, not owned; set before Draw or BackHeight.
    const clsMapUnits* MapUnits() const { return mapUnits_; }
    void setMapUnits(const clsMapUnits* units) { mapUnits_ = units; }

    // The current item for the properties below; 1..7, else ignored.
    int32_t Index() const { return index_; }
    void setIndex(int32_t i);
    int16_t Status() const;
    bool Use() const;
    void setUse(bool on);
    int32_t Color() const;
    void setColor(int32_t c);
    // Trailing blanks and control characters are removed.
    const QString& Text() const;
    void setText(const QString& text);
    // The object itself is held, not a copy; null for an item without font.
    plat::FontRef Font() const;
    void setFont(const plat::FontRef& font);

    // The defaults of every item, section "ACCESSORY", Position 1, surface
    // (0, 0, 1, 1), no layout.
    void Clear();
    // A new instance (which has read its own section) with this one's
    // position and items (fonts cloned); surface, resolution, scale, map
    // units and section are not copied.
    std::unique_ptr<clsAccessory> Copy() const;
    // Back's height after a fresh layout; 0 when Back is off.
    int32_t BackHeight();
    // How far below Top the scale bar and its line of numbers reach after a
    // fresh layout; 0 when Measure is off or the layer refuses the surface.
    int32_t MeasureHeight();
    // Lays the items out on handle and draws every item that is on.
    void Draw();
    // Lays the items out on handle (nothing when the layer refuses it).
    void Layout();
    void ReadRegistry();
    void WriteRegistry() const;

    // Results of the last layout.
    const ItemArea& Area(int32_t item) const { return items_[size_t(item - 1)].area; }
    int32_t SeparatorY() const { return separatorY_; }
    const std::vector<LegendEntry>& Legend() const { return legend_; }

    // The legend of a set of map units (display switch on only), sorted by
    // lower bound: the sea ("海洋" of the base catalogue) and the land
    // ("陸地" of the administrative one) when no ocean-floor or topographic
    // map is shown, else the banded polygons of those maps' catalogues; at
    // most 100 entries.
    static std::vector<LegendEntry> GetElvData(const clsMapUnits* units);
    static std::vector<LegendEntry> ElevationLegend(const std::vector<LegendUnit>& units, const clsThings* base,
                                                    const clsThings* active);
    // Bounds and unit of a legend thing's name ("200～500m", "～200",
    // "1000～", "100F～200F", "海面下").
    static LegendEntry ParseElevationRange(const QString& name);
    // The name opens a section of elevation bands ("等高面", "段彩").
    static bool IsElevationHeader(const QString& name);

    // The projection name a Comment of "?" or "*" stands for, supplied by
    // the application (the plot engine's or the active map's, by map mode).
    static void SetProjectionNameSource(std::function<QString()> source);

protected:
    // The legend of the map units set (none without map units).
    virtual std::vector<LegendEntry> legendData() const;
    // The drawing layer's calls every item is measured and drawn through
    // (gvMapGraph, on the surface opened by the layout or drawing).
    virtual void selectFont(const plat::FontRef& font, int32_t color);
    // The size of a text in the font selected last; false for nothing.
    virtual bool textSize(const QString& text, int32_t& width, int32_t& height);
    virtual void setPen(int16_t style, int32_t width, int32_t fore, int32_t back);
    virtual void setBrush(int16_t style, int32_t fore, int32_t back);
    virtual void drawLine(const clsLine& line);
    virtual void strokeRect(const clsRect& rect);
    virtual void fillRect(const clsRect& rect);
    virtual void fillPolygon(const clsPoly& poly);
    virtual void drawText(int32_t x, int32_t y, int16_t anchor, const QString& text);

private:
    struct Item {
        int16_t status = 0;
        QString name;
        bool use = false;
        int32_t color = 0;
        QString text;
        plat::FontRef font;
        ItemArea area;
    };
    Item& item(int32_t i) { return items_[size_t(i - 1)]; }
    const Item& item(int32_t i) const { return items_[size_t(i - 1)]; }

    void ResetLayout();
    static plat::FontRef NewFont(const QString& face, double size);
    int32_t TextLineHeight(const plat::FontRef& font);
    QStringList FoldLines(int32_t maxWidth, const plat::FontRef& font, const QString& text);
    void layoutText(int32_t i, int32_t m, const QString& text);
    // Opens the drawing layer on the surface; false when it refuses.
    bool begin();

    void PlotCenterMarker();
    void PlotBack();
    void PlotText(int32_t i);
    void PlotElevate(const std::vector<LegendEntry>& legend);
    void PlotMeasure(double scale, int32_t dpi);
    void PlotFrame();
    void writeProgram(std::initializer_list<const char*> lines) const;

    QString instanceName_;
    plat::HDC handle_ = nullptr;
    int32_t left_ = 0, top_ = 0, width_ = 1, height_ = 1;
    int32_t dpi_ = 96;
    double mapScale_ = 0;
    int32_t position_ = 1;
    const clsMapUnits* mapUnits_ = nullptr;
    int32_t index_ = 1;
    std::array<Item, kItems> items_;
    std::vector<LegendEntry> legend_;
    int32_t separatorY_ = 0;
    plat::FontRef selected_;
};

// The program's one set of accessories, made at start-up.
extern clsAccessory* gvAccessory;
