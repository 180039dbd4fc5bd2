#include "plots/curve_sampling.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace plots {
namespace {

constexpr int kFirstIntervals = 32;
constexpr int kMaxDepth = 24;

struct Screen {
    double x = 0;
    double y = 0;
};

Screen toScreen(const Point& p, const Resolution& r)
{
    return {(r.xLog ? std::log10(p.x) : p.x) / r.xUnit, (r.yLog ? std::log10(p.y) : p.y) / r.yUnit};
}

/// Distance of m from the segment a-b.
double offSegment(Screen a, Screen b, Screen m)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((m.x - a.x) * dx + (m.y - a.y) * dy) / len2 : 0;
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    return std::hypot(m.x - (a.x + t * dx), m.y - (a.y + t * dy));
}

struct Sampler {
    const std::function<Point(double)>& at;
    const Resolution& res;
    std::vector<Point> out;

    // Appends the points after (sa, a) up to and including (sb, b).
    void refine(double sa, const Point& a, double sb, const Point& b, int depth)
    {
        const Screen pa = toScreen(a, res);
        const Screen pb = toScreen(b, res);
        const double sm = 0.5 * (sa + sb);
        if (depth < kMaxDepth && sm > sa && sm < sb) {
            const Point m = at(sm);
            const Screen pm = toScreen(m, res);
            const bool coarse = std::hypot(pb.x - pa.x, pb.y - pa.y) > res.maxStep ||
                                offSegment(pa, pb, pm) > res.maxBulge;
            if (coarse) {
                refine(sa, a, sm, m, depth + 1);
                refine(sm, m, sb, b, depth + 1);
                return;
            }
        }
        out.push_back(b);
    }
};

} // namespace

std::vector<Point> sampleCurve(const std::function<Point(double)>& at, double s0, double s1,
                               const Resolution& res)
{
    Sampler s{at, res, {}};
    double sa = s0;
    Point a = at(s0);
    s.out.push_back(a);
    if (!(s1 > s0))
        return s.out;
    for (int i = 1; i <= kFirstIntervals; ++i) {
        const double sb = i == kFirstIntervals ? s1 : s0 + (s1 - s0) * i / kFirstIntervals;
        const Point b = at(sb);
        s.refine(sa, a, sb, b, 0);
        sa = sb;
        a = b;
    }
    return s.out;
}

std::vector<Point> clipPolyline(const std::vector<Point>& line, double x0, double y0, double x1,
                                double y1)
{
    std::vector<Point> out;
    const auto inside = [&](const Point& p) {
        return p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1;
    };
    const auto add = [&out](const Point& p) {
        if (out.empty() || out.back().x != p.x || out.back().y != p.y)
            out.push_back(p);
    };
    bool open = false; // the last point added continues into the next segment
    for (std::size_t i = 0; i < line.size(); ++i) {
        const Point& b = line[i];
        if (!std::isfinite(b.x) || !std::isfinite(b.y)) {
            open = false;
            continue;
        }
        if (i == 0 || !std::isfinite(line[i - 1].x) || !std::isfinite(line[i - 1].y)) {
            if (inside(b)) {
                if (!out.empty())
                    out.push_back({b.x, std::nan("")});
                add(b);
                open = true;
            }
            continue;
        }
        // Liang-Barsky: the part t in [t0, t1] of a + t (b - a) inside the rectangle.
        const Point& a = line[i - 1];
        const double dx = b.x - a.x;
        const double dy = b.y - a.y;
        double t0 = 0;
        double t1 = 1;
        bool visible = true;
        for (const auto& [q, r] : {std::pair{-dx, a.x - x0}, std::pair{dx, x1 - a.x},
                                   std::pair{-dy, a.y - y0}, std::pair{dy, y1 - a.y}}) {
            if (q == 0) {
                visible = visible && r >= 0;
                continue;
            }
            const double t = r / q;
            if (q < 0)
                t0 = std::max(t0, t);
            else
                t1 = std::min(t1, t);
        }
        if (!visible || t0 > t1) {
            open = false;
            continue;
        }
        const Point enter{a.x + t0 * dx, a.y + t0 * dy};
        const Point leave{a.x + t1 * dx, a.y + t1 * dy};
        if (!open && !out.empty())
            out.push_back({enter.x, std::nan("")});
        add(enter);
        add(leave);
        open = t1 == 1;
    }
    return out;
}

double runEnd(const std::function<bool(double)>& holds, double inside, double outside)
{
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (inside + outside);
        if (mid == inside || mid == outside)
            break;
        (holds(mid) ? inside : outside) = mid;
    }
    return inside;
}

} // namespace plots
