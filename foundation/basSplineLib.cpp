#include "basSplineLib.h"

#include "ErrorMng.h"
#include "RuntimeMath.h"
#include "basNumberText.h"

#include <cmath>
#include <vector>

namespace {

const QString kModule = QStringLiteral("basSplineLib");

// Spans sample t = 0, s, 2s, ... (t accumulated) while t <= end: 0.9999
// leaves t = 1 to the next span, 1.0001 takes it too.
constexpr double kOpenEnd = 0.9999;
constexpr double kClosedEnd = 1.0001;

double P(double v, int e) { return std::pow(v, e); }

// Appends the samples of one span; false when the result is full.
template <class F>
bool SampleSpan(clsPoly& out, double step, double end, F&& at) {
    for (double t = 0; t <= end; t += step) {
        const PolyPoint p = at(t);
        if (!out.AddPoint(p)) return false;
    }
    return true;
}

// Closes a ring, or ends an open sequence with its last point.
void Finish(clsPoly& out, const clsPoly& poly, bool loop) {
    if (loop)
        out.MakeLoop();
    else
        out.AddPoint(poly.GetPoint(poly.Count()));
}

PolyPoint Weighted(const std::vector<PolyPoint>& w, size_t i, double w0, double w1, double w2, double w3) {
    // i is 1-based, as in SplineWeightedPoint.
    const PolyPoint& a = w[i - 1];
    const PolyPoint& b = w[i];
    const PolyPoint& c = w[i + 1];
    const PolyPoint& d = w[i + 2];
    return PolyPoint{plat::CLng(((w1 * b.x + w0 * a.x) + w2 * c.x) + w3 * d.x),
                     plat::CLng(((w1 * b.y + w0 * a.y) + w2 * c.y) + w3 * d.y)};
}

} // namespace

double SplineStep(int32_t n) {
    if (n < 2) return 0.5;
    if (n <= 100) return 1.0 / n;
    return 1.0 / 100;
}

void SplineWeightedPoint(const clsPoly& poly, int32_t i, double w0, double w1, double w2, double w3, int32_t& x,
                         int32_t& y) {
    try {
        x = plat::CLng(((w1 * poly.x(i + 1) + w0 * poly.x(i)) + w2 * poly.x(i + 2)) + w3 * poly.x(i + 3));
        y = plat::CLng(((w1 * poly.y(i + 1) + w0 * poly.y(i)) + w2 * poly.y(i + 2)) + w3 * poly.y(i + 3));
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("SplineWeightedPoint"));
    }
}

clsPoly BSpline2nd(const clsPoly& poly, int32_t n) {
    try {
        if (poly.Count() < 3) return poly;
        const double s = SplineStep(n);
        const bool loop = poly.IsLoop();
        std::vector<PolyPoint> w(poly.Points().begin(), poly.Points().end());
        clsPoly out;
        if (loop)
            w.push_back(w[1]);   // wrap over the closing point
        else
            out.AddPoint(w[0]);
        const size_t spans = w.size() - 2;
        for (size_t i = 1; i <= spans; ++i) {
            const PolyPoint& a = w[i - 1];
            const PolyPoint& b = w[i];
            const PolyPoint& c = w[i + 1];
            const bool ok = SampleSpan(out, s, i == spans ? kClosedEnd : kOpenEnd, [&](double t) {
                const double w0 = P(1 - t, 2) / 2, w1 = (1 - t) * t + 0.5, w2 = P(t, 2) / 2;
                return PolyPoint{plat::CLng((b.x * w1 + a.x * w0) + c.x * w2),
                                 plat::CLng((b.y * w1 + a.y * w0) + c.y * w2)};
            });
            if (!ok) return out;
        }
        Finish(out, poly, loop);
        return out;
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("BSpline2nd"));
    }
}

clsPoly BSpline3rd(const clsPoly& poly, int32_t n) {
    try {
        if (poly.Count() < 5) return BSpline2nd(poly, n);
        const double s = SplineStep(n);
        const bool loop = poly.IsLoop();
        std::vector<PolyPoint> w(poly.Points().begin(), poly.Points().end());
        if (loop)
            for (size_t k = 1; k <= 6; ++k) w.push_back(w[k]);   // a short ring wraps over what was appended
        const size_t c = w.size();
        clsPoly out;
        auto span = [&](size_t i, double end, auto weights) {
            return SampleSpan(out, s, end, [&](double t) {
                double w0, w1, w2, w3;
                weights(t, 1 - t, w0, w1, w2, w3);
                return Weighted(w, i, w0, w1, w2, w3);
            });
        };
        if (!loop) {
            const bool ok = span(1, kOpenEnd, [](double t, double u, double& w0, double& w1, double& w2, double& w3) {
                w0 = P(u, 3);
                w1 = 21 * P(t, 3) / 12 - 9 * P(t, 2) / 2 + 3 * t;
                w2 = -(11 * P(t, 3) / 12) + 3 * P(t, 2) / 2;
                w3 = P(t, 3) / 6;
            });
            if (!ok) return out;
        }
        if (!loop && c >= 6) {
            const bool ok = span(2, kOpenEnd, [](double t, double u, double& w0, double& w1, double& w2, double& w3) {
                w0 = P(u, 3) / 4;
                w1 = (-5 * P(t, 2) + t) / 4 + (7 * P(t, 3) + 7) / 12;
                w2 = (-P(t, 3) + P(t, 2) + t) / 2 + 1.0 / 6;
                w3 = P(t, 3) / 6;
            });
            if (!ok) return out;
        }
        if (c >= 8) {
            for (size_t i = 3; i <= c - 5; ++i) {
                const bool ok =
                    span(i, kOpenEnd, [](double t, double u, double& w0, double& w1, double& w2, double& w3) {
                        w0 = P(u, 3) / 6;
                        w1 = P(t, 2) * (0.5 * t - 1) + 2.0 / 3;
                        w2 = (u * t + 1) * t * 0.5 + 1.0 / 6;
                        w3 = P(t, 3) / 6;
                    });
                if (!ok) return out;
            }
        }
        if (!loop && c > 6) {
            const bool ok =
                span(c - 4, kOpenEnd, [](double t, double u, double& w0, double& w1, double& w2, double& w3) {
                    w0 = P(u, 3) / 6;
                    w1 = (-P(u, 3) + P(u, 2) + u) / 2 + 1.0 / 6;
                    w2 = (-5 * P(u, 2) + u) / 4 + (7 * P(u, 3) + 7) / 12;
                    w3 = P(t, 3) / 4;
                });
            if (!ok) return out;
        }
        if (!loop) {
            const bool ok =
                span(c - 3, kClosedEnd, [](double t, double u, double& w0, double& w1, double& w2, double& w3) {
                    w0 = P(u, 3) / 6;
                    w1 = -(11 * P(u, 3) / 12) + 3 * P(u, 2) / 2;
                    w2 = 21 * P(u, 3) / 12 - 9 * P(u, 2) / 2 + 3 * u;
                    w3 = P(t, 3);
                });
            if (!ok) return out;
        }
        Finish(out, poly, loop);
        return out;
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("BSpline3rd"));
    }
}

clsPoly Spline3rd(const clsPoly& poly, int32_t n) {
    try {
        if (poly.Count() < 4) return poly;
        const double s = SplineStep(n);
        const bool loop = poly.IsLoop();
        std::vector<PolyPoint> w(poly.Points().begin(), poly.Points().end());
        if (loop) {
            // P(c-2), P(c-1), P1 .. Pc, P2, P3: the spans round the ring get
            // neighbours on both sides.
            const size_t c0 = w.size();
            w.insert(w.begin(), w[c0 - 2]);
            w.insert(w.begin(), w[c0 - 2]);
            w.push_back(w[3]);
            w.push_back(w[4]);
        }
        // A point with a zero chord to its successor counts once.
        {
            size_t k = 0;
            for (size_t i = 0; i < w.size(); ++i)
                if (i + 1 == w.size() || !(w[i] == w[i + 1])) w[k++] = w[i];
            w.resize(k);
        }
        const size_t c = w.size();
        if (c < 4) return poly;

        // 1-based arrays, as the system of equations is written.
        std::vector<double> h(c + 1), a(c + 1), b(c + 1), p(c + 1);
        for (size_t i = 1; i <= c - 1; ++i)
            h[i] = Hypot(double(w[i].x) - w[i - 1].x, double(w[i].y) - w[i - 1].y);
        for (size_t j = 2; j <= c - 1; ++j) {
            a[j] = h[j - 1] / (h[j - 1] + h[j]);
            b[j] = h[j] / (h[j - 1] + h[j]);
        }
        p[2] = 2;
        for (size_t j = 2; j <= c - 2; ++j) p[j + 1] = 2 - a[j + 1] * b[j] / p[j];

        auto solve = [&](auto v) {
            std::vector<double> d(c + 1), m(c + 1, 0.0);
            for (size_t j = 2; j <= c - 1; ++j)
                d[j] = 6 * ((v(j + 1) - v(j)) / h[j] - (v(j) - v(j - 1)) / h[j - 1]) / (h[j - 1] + h[j]);
            for (size_t j = 2; j <= c - 2; ++j) d[j + 1] = d[j + 1] - a[j + 1] * d[j] / p[j];
            m[c - 1] = d[c - 1] / p[c - 1];
            for (size_t j = c - 2; j >= 2; --j) m[j] = (d[j] - b[j] * m[j + 1]) / p[j];
            return m;
        };
        auto vx = [&](size_t j) { return double(w[j - 1].x); };
        auto vy = [&](size_t j) { return double(w[j - 1].y); };
        const std::vector<double> mx = solve(vx), my = solve(vy);

        clsPoly out;
        const size_t first = loop ? 3 : 1;
        const size_t last = loop ? c - 3 : c - 1;
        for (size_t i = first; i <= last; ++i) {
            const double hi = h[i];
            auto value = [&](const std::vector<double>& m, double v0, double v1, double t) {
                const double A = hi * t, B = hi - A;
                return plat::CLng((m[i + 1] * (P(A, 3) / hi - hi * A) / 6 + m[i] * (P(B, 3) / hi - hi * B) / 6) +
                                  v0 * B / hi + v1 * A / hi);
            };
            const bool ok = SampleSpan(out, s, i == last ? kClosedEnd : kOpenEnd, [&](double t) {
                return PolyPoint{value(mx, vx(i), vx(i + 1), t), value(my, vy(i), vy(i + 1), t)};
            });
            if (!ok) return out;
        }
        Finish(out, poly, loop);
        return out;
    } catch (...) {
        RaiseError(ErrLibrary, kModule, QStringLiteral("Spline3rd"));
    }
}
