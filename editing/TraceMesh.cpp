#include "TraceMesh.h"

#include <QList>

#include <algorithm>
#include <cmath>
#include <limits>

#include "AppError.h"
#include "FileOps.h"
#include "RuntimeMath.h"
#include "basLibrary.h"

namespace tracegeo {

void LineFromPoints(const XY& p1, const XY& p2, double& a, double& b, double& c) {
    a = p2.y - p1.y;
    b = p1.x - p2.x;
    c = p1.y * p2.x - p1.x * p2.y;
}

bool LineIntersect(const XY& p1, const XY& p2, const XY& q1, const XY& q2, XY& out) {
    double a1, b1, c1, a2, b2, c2;
    LineFromPoints(p1, p2, a1, b1, c1);
    LineFromPoints(q1, q2, a2, b2, c2);
    const double d = a1 * b2 - a2 * b1;
    if (d == 0) return false;
    out = {(b1 * c2 - b2 * c1) / d, (a2 * c1 - a1 * c2) / d};
    return true;
}

double CellParam(const XY& p1, const XY& p2, const XY& q, const XY& r1, const XY& r2) {
    // S is where the two other sides meet; parallel sides meet at infinity,
    // which the parallel through r2 stands for.
    XY s;
    if (!LineIntersect(p1, r1, p2, q, s)) s = {p1.x + (r2.x - r1.x), p1.y + (r2.y - r1.y)};
    XY t = p1;   // r2 at S itself has no line through it: parameter 0
    LineIntersect(p1, p2, s, r2, t);
    const double dx = p2.x - p1.x, dy = p2.y - p1.y;
    if (std::abs(dy) > std::abs(dx)) return dy == 0 ? 0 : (t.y - p1.y) / dy;
    return dx == 0 ? 0 : (t.x - p1.x) / dx;
}

void CellToUV(const XY& a, const XY& b, const XY& c, const XY& d, const XY& p, double& u, double& v) {
    u = CellParam(a, b, c, d, p);
    v = CellParam(a, d, c, b, p);
}

void CellPoint(const XY& a, const XY& b, const XY& c, const XY& d, double u, double v, XY& out) {
    LineIntersect(Lerp(a, b, u), Lerp(d, c, u), Lerp(a, d, v), Lerp(b, c, v), out);
}

} // namespace tracegeo

using tracegeo::XY;

namespace {

void corners(const TraceFrame& f, XY& a, XY& b, XY& c, XY& d) {
    a = {double(f.x1), double(f.y1)};
    b = {double(f.x2), double(f.y2)};
    c = {double(f.x4), double(f.y4)};
    d = {double(f.x3), double(f.y3)};
}

// A whole value of the program's range, rounded half to even; false for
// what no Long holds (a degenerate frame gives infinities).
bool toLong(double x, int32_t& out) {
    const double r = plat::RoundHalfEven(x);
    if (!std::isfinite(r) || r < -2147483648.0 || r > 2147483647.0) return false;
    out = static_cast<int32_t>(r);
    return true;
}

int32_t clampLong(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// The frame to start a search at: the remembered one taken into 1..n.
int32_t startFrame(int32_t last, int32_t n) { return last >= 1 && last <= n ? last : 1; }

} // namespace

void TraceMesh::ResizeCrosses(int32_t n) { crosses_.resize(n < 0 ? 0 : static_cast<size_t>(n)); }
void TraceMesh::ResizeFrames(int32_t n) { frames_.resize(n < 0 ? 0 : static_cast<size_t>(n)); }

int32_t TraceMesh::NormalizeCross(int32_t i) const {
    if (CrossCount() < 1) return -1;
    if (i == 0) return CrossCount();
    if (i > CrossCount()) return 1;
    return i;
}

void TraceMesh::DeleteCross(int32_t i) {
    if (i < 1 || i > CrossCount()) return;
    crosses_.erase(crosses_.begin() + (i - 1));
}

void TraceMesh::SetLists(std::vector<TraceCross> crosses, std::vector<TraceFrame> frames) {
    crosses_ = std::move(crosses);
    frames_ = std::move(frames);
}

void TraceMesh::Clear() {
    crosses_.clear();
    frames_.clear();
    area_.Clear();
    ActiveCross = -1;
}

bool TraceMesh::CrossToFrame() {
    std::vector<int32_t> lons, lats;
    for (const TraceCross& c : crosses_) {
        if (std::find(lons.begin(), lons.end(), c.lon) == lons.end()) lons.push_back(c.lon);
        if (std::find(lats.begin(), lats.end(), c.lat) == lats.end()) lats.push_back(c.lat);
    }
    SortArray(lons);
    SortArray(lats);
    frames_.clear();
    for (size_t j = 1; j < lats.size(); ++j) {
        for (size_t i = 1; i < lons.size(); ++i) {
            TraceFrame f;
            f.lonA = lons[i - 1];
            f.lonB = lons[i];
            f.latA = lats[j - 1];
            f.latB = lats[j];
            int hits = 0;
            for (const TraceCross& c : crosses_) {
                int32_t *px = nullptr, *py = nullptr;
                if (c.lat == f.latA && c.lon == f.lonA) px = &f.x1, py = &f.y1;
                else if (c.lat == f.latA && c.lon == f.lonB) px = &f.x2, py = &f.y2;
                else if (c.lat == f.latB && c.lon == f.lonA) px = &f.x3, py = &f.y3;
                else if (c.lat == f.latB && c.lon == f.lonB) px = &f.x4, py = &f.y4;
                if (!px) continue;
                *px = c.ix;
                *py = c.iy;
                ++hits;
            }
            // A missing corner or a cross given twice makes no frame.
            if (hits == 4) frames_.push_back(f);
        }
    }
    return !frames_.empty();
}

bool TraceMesh::GetFrameArea() {
    area_.Clear();
    if (frames_.empty()) return false;
    area_ = clsRect(frames_[0].lonA, frames_[0].latA, frames_[0].lonB, frames_[0].latB);
    for (size_t i = 1; i < frames_.size(); ++i)
        area_.OpeOr(clsRect(frames_[i].lonA, frames_[i].latA, frames_[i].lonB, frames_[i].latB));
    const int64_t w = int64_t(area_.x2) - area_.x1 + 1, h = int64_t(area_.y2) - area_.y1 + 1;
    const int64_t mx = (3 * w) / 4, my = (3 * h) / 4;
    area_.x1 = clampLong(area_.x1 - mx);
    area_.x2 = clampLong(area_.x2 + mx);
    area_.y1 = clampLong(area_.y1 - my);
    area_.y2 = clampLong(area_.y2 + my);
    return true;
}

bool TraceMesh::MapToImage(int32_t lon, int32_t lat, int32_t& ix, int32_t& iy) {
    const int32_t n = FrameCount();
    if (n < 1 || !area_.IsInner(lon, lat)) return false;
    const int32_t k = startFrame(lastToImage_, n);
    int64_t best = 2147483647;
    int32_t chosen = 0;
    for (int32_t step = 0; step < n; ++step) {
        const int32_t i = (k - 1 + step) % n + 1;
        const TraceFrame& f = frames_[static_cast<size_t>(i - 1)];
        if (f.lonA <= lon && lon <= f.lonB && f.latA <= lat && lat <= f.latB) {
            chosen = i;
            break;
        }
        const int64_t dist = std::abs(lon - (int64_t(f.lonA) + f.lonB) / 2) + std::abs(lat - (int64_t(f.latA) + f.latB) / 2);
        if (dist < best) {
            best = dist;
            chosen = i;
        }
    }
    if (chosen == 0) return false;
    lastToImage_ = chosen;
    const TraceFrame& f = frames_[static_cast<size_t>(chosen - 1)];
    const double u = double(int64_t(lon) - f.lonA) / double(int64_t(f.lonB) - f.lonA);
    const double v = double(int64_t(lat) - f.latA) / double(int64_t(f.latB) - f.latA);
    XY a, b, c, d;
    corners(f, a, b, c, d);
    XY p{std::numeric_limits<double>::quiet_NaN(), 0};   // stays NaN when the frame gives no point
    tracegeo::CellPoint(a, b, c, d, u, v, p);
    int32_t x, y;
    if (!toLong(p.x, x) || !toLong(p.y, y)) return false;
    ix = x;
    iy = y;
    return true;
}

bool TraceMesh::ImageToMap(int32_t ix, int32_t iy, int32_t& lon, int32_t& lat) {
    const int32_t n = FrameCount();
    if (n < 1) return false;
    const int32_t k = startFrame(lastToMap_, n);
    double best = 99999999.9, bu = 0, bv = 0;
    int32_t chosen = 0;
    const XY p{double(ix), double(iy)};
    for (int32_t step = 0; step < n; ++step) {
        const int32_t i = (k - 1 + step) % n + 1;
        XY a, b, c, d;
        corners(frames_[static_cast<size_t>(i - 1)], a, b, c, d);
        double u, v;
        tracegeo::CellToUV(a, b, c, d, p, u, v);
        if (0 <= u && u <= 1 && 0 <= v && v <= 1) {
            chosen = i, bu = u, bv = v;
            break;
        }
        const double score = std::abs(v - 0.5) + std::abs(u - 0.5);
        if (score < best) {
            best = score;
            chosen = i, bu = u, bv = v;
        }
    }
    if (chosen == 0) return false;
    lastToMap_ = chosen;
    const TraceFrame& f = frames_[static_cast<size_t>(chosen - 1)];
    int32_t x, y;
    if (!toLong(double(int64_t(f.lonB) - f.lonA) * bu + f.lonA + 0.5, x) ||
        !toLong(double(int64_t(f.latB) - f.latA) * bv + f.latA + 0.5, y))
        return false;
    lon = x;
    lat = y;
    return true;
}

int32_t NearestMember(const std::vector<TraceMember>& members, int32_t ix, int32_t iy) {
    int32_t found = -1;
    double best = kTraceSnapRadius;
    for (size_t i = 0; i < members.size(); ++i) {
        const double dx = double(members[i].px) - ix, dy = double(members[i].py) - iy;
        const double d = plat::RoundHalfEven(std::sqrt(dx * dx + dy * dy));
        if (d < best) {
            best = d;
            found = static_cast<int32_t>(i);
        }
    }
    return found;
}

// ---------------------------------------------------------------- side file

namespace {

// The values of one line: exactly `fields` decimal 32-bit integers.
bool lineValues(QByteArrayView line, int fields, int32_t* out) {
    const QList<QByteArray> parts = line.toByteArray().split(',');   // keeps empty fields
    if (parts.size() != fields) return false;
    for (int i = 0; i < fields; ++i) {
        const QByteArray t = parts[i].trimmed();
        if (t.isEmpty() || t.size() > 11) return false;
        bool ok = false;
        const qlonglong v = t.toLongLong(&ok, 10);
        if (!ok || v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) return false;
        out[i] = static_cast<int32_t>(v);
    }
    return true;
}

} // namespace

LlnContent ParseLLN(QByteArrayView bytes) {
    LlnContent r;
    std::vector<QByteArrayView> lines;
    plat::ForEachLine(bytes, [&](QByteArrayView l) {
        lines.push_back(l);
        return true;
    });
    while (!lines.empty() && lines.back().trimmed().isEmpty()) lines.pop_back();
    size_t at = 0;
    const auto fail = [&](const QString& what) {
        r.error = QStringLiteral("%1行目: %2").arg(at + 1).arg(what);
        r.crosses.clear();
        r.frames.clear();
        return r;
    };
    // A count no larger than the limit nor than the lines that follow.
    const auto count = [&](int32_t limit, int32_t& n) {
        if (at >= lines.size() || !lineValues(lines[at], 1, &n)) return false;
        if (n < 0 || n > limit || static_cast<size_t>(n) > lines.size() - at - 1) return false;
        ++at;
        return true;
    };
    int32_t n = 0;
    if (!count(kMaxLlnCrosses, n)) return fail(QStringLiteral("交点数が正しくありません."));
    r.crosses.reserve(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i, ++at) {
        int32_t v[4];
        if (!lineValues(lines[at], 4, v)) return fail(QStringLiteral("交点は4個の整数で書いてください."));
        r.crosses.push_back({v[0], v[1], v[2], v[3]});
    }
    if (!count(kMaxLlnFrames, n)) return fail(QStringLiteral("フレーム数が正しくありません."));
    r.frames.reserve(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i, ++at) {
        int32_t v[12];
        if (!lineValues(lines[at], 12, v)) return fail(QStringLiteral("フレームは12個の整数で書いてください."));
        const TraceFrame f{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11]};
        if (f.lonA >= f.lonB || f.latA >= f.latB) return fail(QStringLiteral("フレームの経緯度範囲が正しくありません."));
        r.frames.push_back(f);
    }
    if (at != lines.size()) return fail(QStringLiteral("余分な行があります."));
    r.ok = true;
    return r;
}

QByteArray LLNBytes(const std::vector<TraceCross>& crosses, const std::vector<TraceFrame>& frames) {
    QByteArray out;
    const auto line = [&out](std::initializer_list<int32_t> values) {
        bool first = true;
        for (int32_t v : values) {
            if (!first) out += ',';
            out += QByteArray::number(v);
            first = false;
        }
        out += "\r\n";
    };
    line({static_cast<int32_t>(crosses.size())});
    for (const TraceCross& c : crosses) line({c.ix, c.iy, c.lon, c.lat});
    line({static_cast<int32_t>(frames.size())});
    for (const TraceFrame& f : frames)
        line({f.x1, f.y1, f.x2, f.y2, f.x3, f.y3, f.x4, f.y4, f.lonA, f.latA, f.lonB, f.latB});
    return out;
}

QString LLNPathOf(const QString& picturePath) { return ChangeExt(picturePath, QStringLiteral("LLN")); }

LlnLoad LoadLLN(const QString& picturePath, TraceMesh& mesh) {
    const QString path = LLNPathOf(picturePath);
    if (!FileExists(path)) return LlnLoad::Missing;
    mesh.Clear();
    LlnContent c;
    try {
        c = ParseLLN(plat::ReadAllBytes(path, kMaxLlnBytes));
    } catch (const plat::AppError& e) {
        c.error = e.number() == plat::ErrOutOfMemory ? QStringLiteral("ファイルが大きすぎます.") : e.description();
    }
    if (!c.ok) {
        MsgError(path + QStringLiteral("\r\n経緯線網ファイルを読めません. 経緯線網なしで続けます.\r\n") + c.error);
        return LlnLoad::Refused;
    }
    const bool anyFrame = !c.frames.empty();
    mesh.SetLists(std::move(c.crosses), std::move(c.frames));
    mesh.ActiveCross = anyFrame ? 1 : -1;
    return LlnLoad::Loaded;
}

bool SaveLLN(const QString& picturePath, const TraceMesh& mesh) {
    const QString path = LLNPathOf(picturePath);
    if (IsReadOnlyFile(path, true)) return false;
    try {
        plat::WriteFileAtomic(path, LLNBytes(mesh.Crosses(), mesh.Frames()));
    } catch (const plat::AppError& e) {
        MsgError(path + QStringLiteral("\r\n経緯線網ファイルを保存できません.\r\n") + e.description());
        return false;
    }
    return true;
}
