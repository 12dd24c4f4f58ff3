// The graticule mesh of a traced picture: crosses registered on the picture
// (image position with its longitude and latitude) become quadrilateral
// frames, one per cell of neighbouring meridians and parallels, and
// positions pass between picture and map through the frames in both
// directions. The crosses and frames are kept in a ".LLN" side file beside
// the picture.
//
// Notation: image positions are picture pixels (x to the right, y down),
// map positions arc-seconds. Inside a frame u runs with longitude and v with
// latitude; corners A = (lonA, latA), B = (lonB, latA), C = (lonB, latB),
// D = (lonA, latB). u, v outside 0..1 extrapolate from the frame.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <vector>

#include "clsRect.h"

struct TraceCross {
    int32_t ix = 0, iy = 0;     // picture pixels
    int32_t lon = 0, lat = 0;   // arc-seconds
    bool operator==(const TraceCross&) const = default;
};

// Corner 1 at (lonA, latA), 2 at (lonB, latA), 3 at (lonA, latB), 4 at
// (lonB, latB); lonA < lonB and latA < latB.
struct TraceFrame {
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0, x4 = 0, y4 = 0;
    int32_t lonA = 0, latA = 0, lonB = 0, latB = 0;
    bool operator==(const TraceFrame&) const = default;
};

// An existing map point seen on the picture, for marking and snapping.
struct TraceMember {
    int32_t mx = 0, my = 0;   // map
    int32_t px = 0, py = 0;   // picture
    int32_t color = -1;       // -1: not shown
};

// Geometry in doubles.
namespace tracegeo {
struct XY {
    double x = 0, y = 0;
};
inline double Lerp(double a, double b, double t) { return a + (b - a) * t; }
inline XY Lerp(const XY& a, const XY& b, double t) { return {Lerp(a.x, b.x, t), Lerp(a.y, b.y, t)}; }
// a·x + b·y + c = 0 through p1 and p2.
void LineFromPoints(const XY& p1, const XY& p2, double& a, double& b, double& c);
// The crossing of the line p1–p2 with q1–q2; false (out untouched) when parallel.
bool LineIntersect(const XY& p1, const XY& p2, const XY& q1, const XY& q2, XY& out);
// The projective parameter of r2 along p1→p2 in the quadrilateral p1, p2, q, r1.
double CellParam(const XY& p1, const XY& p2, const XY& q, const XY& r1, const XY& r2);
void CellToUV(const XY& a, const XY& b, const XY& c, const XY& d, const XY& p, double& u, double& v);
// The point at u, v; out untouched when the two interpolated lines are parallel.
void CellPoint(const XY& a, const XY& b, const XY& c, const XY& d, double u, double v, XY& out);
} // namespace tracegeo

// Members within this rounded picture-pixel distance (exclusive) are snapped to.
constexpr int32_t kTraceSnapRadius = 64;
// No side file holds more crosses or frames than this; a larger count
// refuses the file rather than sizing lists from it.
constexpr int32_t kMaxLlnCrosses = 100000;
constexpr int32_t kMaxLlnFrames = 100000;
constexpr int64_t kMaxLlnBytes = int64_t(16) << 20;

class TraceMesh {
public:
    // -- the lists (1-based; the active cross -1 for none)
    int32_t CrossCount() const { return static_cast<int32_t>(crosses_.size()); }
    int32_t FrameCount() const { return static_cast<int32_t>(frames_.size()); }
    // A negative count empties the list; otherwise contents are kept.
    void ResizeCrosses(int32_t n);
    void ResizeFrames(int32_t n);
    // -1 without crosses; 0 gives the last cross, beyond the count the first.
    int32_t NormalizeCross(int32_t i) const;
    const TraceCross& GetCross(int32_t i) const { return crosses_.at(static_cast<size_t>(i - 1)); }
    void SetCross(int32_t i, const TraceCross& c) { crosses_.at(static_cast<size_t>(i - 1)) = c; }
    void AddCross(const TraceCross& c) { crosses_.push_back(c); }
    void DeleteCross(int32_t i);
    const TraceFrame& GetFrame(int32_t i) const { return frames_.at(static_cast<size_t>(i - 1)); }
    const std::vector<TraceCross>& Crosses() const { return crosses_; }
    const std::vector<TraceFrame>& Frames() const { return frames_; }
    void SetLists(std::vector<TraceCross> crosses, std::vector<TraceFrame> frames);

    int32_t ActiveCross = -1;

    // Empties both lists and the frame area; the active cross becomes -1.
    void Clear();

    // Builds the frames from the crosses: true when at least one results.
    bool CrossToFrame();
    // The union of the frames' map rectangles widened by three quarters of
    // its size on each side; true when there is a frame.
    bool GetFrameArea();
    const clsRect& FrameArea() const { return area_; }

    // Map to picture through the frame holding the point, else the frame
    // whose centre is nearest (extrapolated); fails without frames, outside
    // the frame area, and where the frame gives no position.
    bool MapToImage(int32_t lon, int32_t lat, int32_t& ix, int32_t& iy);
    // Picture to map through the frame holding the point, else the frame
    // whose u, v lie closest to the middle; fails without frames.
    bool ImageToMap(int32_t ix, int32_t iy, int32_t& lon, int32_t& lat);

private:
    std::vector<TraceCross> crosses_;
    std::vector<TraceFrame> frames_;
    clsRect area_;
    int32_t lastToImage_ = 0, lastToMap_ = 0;
};

// The nearest member (the first of equals) at a rounded picture distance
// below kTraceSnapRadius from (ix, iy); -1 when none (0-based index).
int32_t NearestMember(const std::vector<TraceMember>& members, int32_t ix, int32_t iy);

// -- the side file

// What a side file held, or why it was refused.
struct LlnContent {
    bool ok = false;
    QString error;   // Japanese, with the line when it is about one
    std::vector<TraceCross> crosses;
    std::vector<TraceFrame> frames;
};
// Reads the text of a side file: the cross count, that many crosses of 4
// values, the frame count, that many frames of 12. Values are decimal 32-bit
// integers in any layout: blanks and line ends separate them, and so does one
// comma among them. A negative count reads as none; what follows the frames
// is not read. A missing or malformed value, a count above the limits and a
// frame whose map rectangle is empty refuse the file, with the line of the
// value at fault (of the last value when the file ends too early).
LlnContent ParseLLN(QByteArrayView bytes);
QByteArray LLNBytes(const std::vector<TraceCross>& crosses, const std::vector<TraceFrame>& frames);

// The side file of a picture: its path with the extension "LLN".
QString LLNPathOf(const QString& picturePath);
enum class LlnLoad { Missing, Loaded, Refused };
// Missing leaves the mesh as it is. Otherwise the mesh is cleared first;
// a file that cannot be read or is refused is told to the user and leaves
// no mesh. On Loaded the active cross is 1 when a frame was read, else -1.
LlnLoad LoadLLN(const QString& picturePath, TraceMesh& mesh);
// Replaces the side file atomically; false after the read-only message, or
// after telling the user that it could not be written.
bool SaveLLN(const QString& picturePath, const TraceMesh& mesh);
