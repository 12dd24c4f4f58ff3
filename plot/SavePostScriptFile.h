// The EPS export: the drawing layer mirrors one plot into a PostScript
// program and writes it as an EPS file of the canvas's size and resolution.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

class clsMapGraph;

// The canvas the EPS reproduces: its size in pixels and its resolution.
struct EpsCanvas {
    int32_t width = 0;
    int32_t height = 0;
    int32_t dpi = 96;
};

// Turns the mirror of `graph` on, sets the file, the prolog (from the
// environment's "ResourcePS"), the resolution and the area of the canvas,
// starts the program, runs `plot` (which draws through `graph`, from
// GraphBegin to GraphEnd), writes the file when `plot` returned true and
// turns the mirror off again, also when `plot` throws. True when the file
// was written; a plot that failed or was cancelled leaves the file as it was.
bool SavePostScriptFile(clsMapGraph& graph, const QString& path, const EpsCanvas& canvas,
                        const std::function<bool()>& plot);
