#include "SavePostScriptFile.h"

#include "basFileNames.h"
#include "clsMapGraph.h"
#include "clsPostScript.h"

namespace {
// The mirror goes off however the export ends.
struct MirrorOn {
    explicit MirrorOn(clsMapGraph& g) : graph(g) { graph.setPostScriptEi(true); }
    ~MirrorOn() { graph.setPostScriptEi(false); }
    clsMapGraph& graph;
};
} // namespace

bool SavePostScriptFile(clsMapGraph& graph, const QString& path, const EpsCanvas& canvas,
                        const std::function<bool()>& plot) {
    MirrorOn mirror(graph);
    clsPostScript& ps = *graph.oPostScript();
    ps.setFileName(path);
    ps.setResourcePS(GetResourcePS());
    ps.setDpi(canvas.dpi);
    ps.setLeft(0);
    ps.setTop(0);
    ps.setWidth(canvas.width);
    ps.setHeight(canvas.height);
    ps.psBegin();
    if (plot && !plot()) return false;
    return ps.psSave() == 0;
}
