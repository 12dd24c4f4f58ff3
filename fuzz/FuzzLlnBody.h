// One input of the graticule side file fuzzer, shared by the libFuzzer entry
// point and the corpus replay test: the bytes are read as a ".LLN" file.
// What is read must keep the limits (counts, frames with a real map
// rectangle); it is written and read again to the same lists and bytes, and
// the mesh built from it converts positions both ways without a fault.
// Returns an empty text, or what went wrong.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

#include "TraceMesh.h"

namespace fuzzlln {

inline QString FuzzLlnInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const LlnContent r = ParseLLN(bytes);
    if (!r.ok) {
        if (r.error.isEmpty()) return QStringLiteral("refused without a reason");
        if (!r.crosses.empty() || !r.frames.empty()) return QStringLiteral("refused but kept lists");
        return QString();
    }
    if (r.crosses.size() > size_t(kMaxLlnCrosses) || r.frames.size() > size_t(kMaxLlnFrames))
        return QStringLiteral("more than the limit");
    for (const TraceFrame& f : r.frames)
        if (f.lonA >= f.lonB || f.latA >= f.latB) return QStringLiteral("a frame with an empty map rectangle");

    const QByteArray written = LLNBytes(r.crosses, r.frames);
    const LlnContent again = ParseLLN(written);
    if (!again.ok) return QStringLiteral("the written file is refused: ") + again.error;
    if (again.crosses != r.crosses || again.frames != r.frames) return QStringLiteral("the written file reads differently");
    if (LLNBytes(again.crosses, again.frames) != written) return QStringLiteral("written differently again");

    TraceMesh m;
    m.SetLists(r.crosses, r.frames);
    if (m.GetFrameArea() != !r.frames.empty()) return QStringLiteral("frame area");
    const clsRect area = m.FrameArea();
    for (const TraceFrame& f : r.frames) {
        int32_t ix = 0, iy = 0, lon = 0, lat = 0;
        if (!m.MapToImage(f.lonA, f.latA, ix, iy)) continue;   // a degenerate frame gives none
        m.ImageToMap(ix, iy, lon, lat);
        m.ImageToMap(f.x4, f.y4, lon, lat);
        if (!area.IsEmpty()) m.MapToImage(area.x2, area.y1, ix, iy);
    }
    m.CrossToFrame();
    m.GetFrameArea();
    return QString();
}

} // namespace fuzzlln
