// Shared by the files of the application state; not for other callers.
#pragma once

#include <QString>

class clsMapPlot;

namespace publicval {

// The module name errors of the application state carry.
extern const QString kModule;
// True once start-up has read the "PUBLIC" settings.
extern bool gPublicRead;

// Puts the engine in the X/Y slot and reads its settings ("XYPLOT" and
// "XYGRID"). The choices the latitude/longitude view makes by itself (the
// view projection, the graticule pitch) make no sense on the plane and stay
// off.
void PrepareXYPlot(clsMapPlot& plot);

} // namespace publicval
