#include "TraceMesh.h"

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

// The values of a side file one after another, each with the line it is on.
// Blanks and line ends separate values, and so does one comma among them;
// two commas with no value between them are an error.
class LlnValues {
public:
    enum class Got { Value, End, Bad };
    explicit LlnValues(QByteArrayView bytes) : b_(bytes) {}

    Got next(int32_t& v) {
        int commas = 0;
        for (; at_ < b_.size(); ++at_) {
            const char c = b_[at_];
            if (c == '\n' || (c == '\r' && (at_ + 1 == b_.size() || b_[at_ + 1] != '\n'))) ++line_;
            else if (c == ',') {
                // The first value has nothing before it to separate from.
                if (++commas > (any_ ? 1 : 0)) {
                    valueLine_ = line_;
                    return Got::Bad;
                }
            } else if (c != ' ' && c != '\t' && c != '\r') break;
        }
        if (at_ == b_.size()) return Got::End;
        valueLine_ = line_;
        any_ = true;
        const bool negative = b_[at_] == '-';
        if (negative || b_[at_] == '+') ++at_;
        int64_t magnitude = 0;
        const qsizetype digits = at_;
        for (; at_ < b_.size() && b_[at_] >= '0' && b_[at_] <= '9'; ++at_) {
            magnitude = magnitude * 10 + (b_[at_] - '0');
            if (magnitude > int64_t(1) << 31) return Got::Bad;
        }
        if (at_ == digits) return Got::Bad;
        if (at_ < b_.size() && !isSeparator(b_[at_])) return Got::Bad;
        const int64_t value = negative ? -magnitude : magnitude;
        if (value > std::numeric_limits<int32_t>::max()) return Got::Bad;
        v = static_cast<int32_t>(value);
        return Got::Value;
    }
    // The line of the value just read or refused; at the end, of the last value.
    int64_t line() const { return valueLine_; }

private:
    static bool isSeparator(char c) { return c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    QByteArrayView b_;
    qsizetype at_ = 0;
    int64_t line_ = 1, valueLine_ = 1;
    bool any_ = false;
};

} // namespace

LlnContent ParseLLN(QByteArrayView bytes) {
    LlnContent r;
    LlnValues in(bytes);
    const auto fail = [&](int64_t line, const QString& what) {
        r.error = QStringLiteral("%1行目: %2").arg(line).arg(what);
        r.crosses.clear();
        r.frames.clear();
        return false;
    };
    // `values` values of one entry; a count is one value that is missing
    // rather than too few.
    const auto read = [&](int32_t* out, int values, const QString& what) {
        for (int i = 0; i < values; ++i) {
            const LlnValues::Got got = in.next(out[i]);
            if (got == LlnValues::Got::End)
                return fail(in.line(), what + (values == 1 ? QStringLiteral("がありません.") : QStringLiteral("が足りません.")));
            if (got == LlnValues::Got::Bad) return fail(in.line(), what + QStringLiteral("が正しくありません."));
        }
        return true;
    };
    // A negative count reads as none; one above the limit refuses the file.
    const auto count = [&](int32_t limit, const QString& what, int32_t& n) {
        if (!read(&n, 1, what)) return false;
        if (n > limit) return fail(in.line(), what + QStringLiteral("が正しくありません."));
        n = std::max(n, 0);
        return true;
    };
    int32_t n = 0;
    if (!count(kMaxLlnCrosses, QStringLiteral("交点数"), n)) return r;
    for (int32_t i = 0; i < n; ++i) {
        int32_t v[4];
        if (!read(v, 4, QStringLiteral("交点の値"))) return r;
        r.crosses.push_back({v[0], v[1], v[2], v[3]});
    }
    if (!count(kMaxLlnFrames, QStringLiteral("フレーム数"), n)) return r;
    for (int32_t i = 0; i < n; ++i) {
        int32_t v[12];
        if (!read(v, 1, QStringLiteral("フレームの値"))) return r;
        const int64_t firstLine = in.line();
        if (!read(v + 1, 11, QStringLiteral("フレームの値"))) return r;
        const TraceFrame f{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11]};
        if (f.lonA >= f.lonB || f.latA >= f.latB) {
            fail(firstLine, QStringLiteral("フレームの経緯度範囲が正しくありません."));
            return r;
        }
        r.frames.push_back(f);
    }
    // What follows the frames is not read.
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
