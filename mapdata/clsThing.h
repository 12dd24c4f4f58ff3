// One thing: a feature category of a map unit. Every figure names a thing by
// its number, and the thing decides whether and how the figure is drawn. A
// thing holds eight style pages; each district chooses the page its figures
// use. Pages -1..-8 are saved copies of pages 1..8 as read from the file,
// so that edits can be undone page by page.
//
// Setters store a value only inside its range (a few are stored unchecked,
// see below) and then mark the thing modified; Modify, Use and Page do not.
// The page properties act on the current Page.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <memory>

namespace plat {
class TextReader;
class TextWriter;
} // namespace plat

// One style page.
struct ThingPage {
    int16_t ShowMode = -1;  // 1 shown, 0 hidden, -1 shown inside ScaleL..ScaleS
    double ScaleS = 0;      // small-scale end: the larger denominator
    double ScaleL = 0;      // large-scale end: the smaller denominator
    int32_t Fore = 0;       // colours; -1 none
    int32_t Back = -1;
    int16_t Style = 0;      // line style, fill style, symbol or text flags by figure kind
    int16_t Size = 0;       // line width (polylines), text height in points (texts)
    QString Europian = QStringLiteral("(default)");
    QString Japanese = QStringLiteral("(default)");

    // ScaleS MapScaleMax and ScaleL MapScaleMin of the globe now in use.
    static ThingPage Default();
    bool operator==(const ThingPage&) const = default;
};

class clsThing {
public:
    clsThing();

    bool Modify() const { return modify_; }
    void setModify(bool v) { modify_ = v; }
    // Set by the map unit when a figure of its map refers to the thing.
    bool Use() const { return use_; }
    void setUse(bool v) { use_ = v; }
    // 1..8 the working pages, -1..-8 their saved copies.
    int16_t Page() const { return page_; }
    void setPage(int32_t v);

    int16_t Index() const { return index_; }          // 0..999; -1 not yet numbered
    void setIndex(int32_t v);
    int16_t Figure() const { return figure_; }        // 1..5; 0 after Clear
    void setFigure(int32_t v);
    const QString& Name() const { return name_; }
    // A double quote becomes "＂" and a line break a blank (see CatalogText.h).
    void setName(const QString& v);
    int16_t Category() const { return category_; }   // 1..20; -1 none
    void setCategory(int32_t v);

    // -- the current page
    int16_t ShowMode() const { return cur().ShowMode; }
    void setShowMode(int32_t v);                      // outside -1..1 stored as -1
    double ScaleS() const { return cur().ScaleS; }
    void setScaleS(double v);                         // only an allowed map scale
    double ScaleL() const { return cur().ScaleL; }
    void setScaleL(double v);
    int32_t Fore() const { return cur().Fore; }
    void setFore(int32_t v);                          // unchecked
    int32_t Back() const { return cur().Back; }
    void setBack(int32_t v);
    int16_t Style() const { return cur().Style; }
    // Polylines 0..5 or 102..145, polygons 0..8 or 100..131, symbols 0..47,
    // texts 0..31; ignored for remarks and for Figure 0.
    void setStyle(int32_t v);
    int16_t Size() const { return cur().Size; }
    // Polylines LINE_WIDTH_MIN..MAX, texts FONT_HEIGHT_MIN..MAX; else ignored.
    void setSize(int32_t v);
    const QString& Europian() const { return cur().Europian; }
    void setEuropian(const QString& v);
    const QString& Japanese() const { return cur().Japanese; }
    void setJapanese(const QString& v);
    // The font of the display language (gvLanguage 1 European, 2 Japanese;
    // empty for another); setting marks the thing modified in every case.
    QString FontName() const;
    void setFontName(const QString& v);

    // A page by number -8..8 (0 is unused), for readers that compare things.
    const ThingPage& PageRecord(int32_t page) const { return pages_[static_cast<size_t>(page + 8)]; }

    // Pages 2..8 equal page 1 in every field (font names case-sensitive).
    bool IsSameAllPage() const;
    // The current page draws at this scale denominator.
    bool IsPrint(double scale) const;
    // Number -1, no name, Figure 0, Category -1, every page the default,
    // Page 1, unmodified. Use stays.
    void Clear();
    // A new thing filled through the setters; a value they refuse leaves the
    // default. Page and Modify are those of this thing.
    std::shared_ptr<clsThing> Copy() const;
    // Saved page -page over page (1..8 only); False for another page.
    bool Recovery(int32_t page);
    // Every saved page over its working page; unmodified.
    void RecoveryAll();
    // Page 1 over pages 2..8.
    void SameOne();
    void CopyPage(int32_t src, int32_t dst);

    // The key lines of one thing section. Reading stops at a line without
    // "=" (an empty line too) or a section header ("[THING=5]"), which is
    // returned; a null text at the end of the file. The values read become the saved pages and then the working
    // pages; the thing is then unmodified on page 1.
    QString ReadThing(plat::TextReader& in);
    void WriteThing(plat::TextWriter& out) const;

private:
    ThingPage& cur() { return pages_[static_cast<size_t>(page_ + 8)]; }
    const ThingPage& cur() const { return pages_[static_cast<size_t>(page_ + 8)]; }
    ThingPage& page(int32_t p) { return pages_[static_cast<size_t>(p + 8)]; }
    const ThingPage& page(int32_t p) const { return pages_[static_cast<size_t>(p + 8)]; }

    bool modify_ = false;
    bool use_ = false;
    int16_t page_ = 1;
    int16_t index_ = -1;
    int16_t figure_ = 0;
    QString name_;
    int16_t category_ = -1;
    std::array<ThingPage, 17> pages_;
};

using ThingPtr = std::shared_ptr<clsThing>;
