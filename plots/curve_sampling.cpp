#include "plots/curve_sampling.h"

#include <cmath>

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
