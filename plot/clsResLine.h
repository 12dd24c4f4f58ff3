// The bitmap line patterns of the map styles, numbers 102..145. A pattern is
// a bitmap 32 pixels long whose rows run along the line; black pixels are
// "on". The low-resolution set is drawn at twice the ratio asked for, the
// high-resolution set once both ratios reach 200 per cent, so at ratio 100
// (low) and 200 (high) one cycle covers 32 pixels.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

#include "ResBitmapSet.h"

class clsResLine {
public:
    // One bitmap analysed into rows: each row's 32 pixels in one value, the
    // leftmost pixel in bit 31, a 0 bit "on". Thickness 0: no pattern.
    struct PatternRecord {
        plat::HBITMAP handle;
        int32_t thick = 0;
        std::vector<uint32_t> rows;
    };

    clsResLine();

    int16_t Index() const { return index_; }
    // 102..145 selects the entry; other values are ignored.
    void setIndex(int16_t i);
    QString Name() const;
    int32_t SrcLength() const { return 32; }
    int32_t SrcThick() const { return current_.thick; }
    // Pixels of one cycle and rows across the line at the effective ratios.
    int32_t DstLength() const;
    int32_t DstThick() const;
    int32_t RatioX() const { return ratioX_; }
    int32_t RatioY() const { return ratioY_; }
    // Accepted within 50..10000; they choose the set in use.
    void setRatioX(int32_t r);
    void setRatioY(int32_t r);
    // Row i (taken modulo the thickness) of the selected pattern; 0 without one.
    int32_t Pattern(int32_t i) const;
    // The on/off sequence of destination row Row, DstLength long; Phase is
    // not used. All off without a pattern.
    std::vector<bool> CycleArray(int32_t Phase, int32_t Row) const;

    // The built-in or user bitmap of an entry and resolution (0 low, 1 high).
    plat::HBITMAP Bitmap(int16_t index, int resolution) const;
    static PatternRecord AnalyseLinePattern(const plat::HBITMAP& bitmap);

private:
    struct Entry {
        QString name;
        PatternRecord low;
        PatternRecord high;
    };
    void applyRatios();

    ResBitmapSet set_;
    std::vector<Entry> entries_;
    int16_t index_ = 102;
    int resolution_ = 0;
    int32_t ratioX_ = 100;
    int32_t ratioY_ = 100;
    int32_t effX_ = 200;
    int32_t effY_ = 200;
    PatternRecord current_;
};
