// Lines and areas of drawing phases projected on helper threads, in chunks
// of figures, while the drawing thread draws the chunks already done (or
// projects the next one itself when no helper has taken it yet). Each pass
// of a phase over a map is a section, in drawing order; the helpers finish
// one section before they start the next.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "clsMapPlot.h"

class clsMapPlot::Ahead {
public:
    using Sources = std::vector<std::shared_ptr<clsPoly>>;
    // The outlines of one pass of a phase over one map, and the field and
    // centre of that pass.
    struct Section {
        Sources sources;
        clsRect field;
        int32_t centerX;
    };
    Ahead(const clsMapPlot& plot, std::vector<Section> sections);
    ~Ahead();
    Ahead(const Ahead&) = delete;
    Ahead& operator=(const Ahead&) = delete;

    // The result for source k of a section, once its chunk is done.
    PreProjected Take(size_t section, size_t k);
    // Whether a section is projected for this field and centre.
    bool For(size_t section, const clsRect& field, int32_t centerX) const {
        return s_->frames[section].field == field && s_->frames[section].centerX == centerX;
    }

private:
    // A chunk ends after 16 figures or 4096 points, so that a long outline
    // makes a chunk of its own; the helpers take the heaviest first.
    static constexpr size_t kChunkFigures = 16;
    static constexpr int64_t kChunkPoints = 4096;
    enum : uint8_t { kFree, kTaken, kDone };
    struct Shared {
        const clsMapPlot* plot = nullptr;
        struct Frame {
            clsRect field;
            int32_t centerX;
        };
        std::vector<Frame> frames;     // of each section
        Sources sources;               // the sections one after the other
        std::vector<size_t> sectionStart;
        std::vector<size_t> sectionOf;   // the section of each chunk
        std::vector<clsPoly> out;
        std::vector<uint8_t> state;
        std::vector<size_t> first;      // the first source of each chunk, and the end
        std::vector<size_t> chunkOf;    // the chunk of each source
        std::vector<size_t> byWeight;   // chunks, heaviest first
        size_t chunks = 0;
        std::unique_ptr<std::atomic<uint8_t>[]> chunk;
        std::atomic<size_t> next{0};
        bool claim(size_t c);
        void project(size_t c);
    };
    std::shared_ptr<Shared> s_;
};
