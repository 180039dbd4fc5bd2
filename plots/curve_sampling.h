#pragma once

#include <functional>
#include <vector>

// Curves drawn as polylines fine enough to look smooth on screen wherever they run: a model's
// liquid branch climbs hundreds of bar over a percent of volume, its vapour branch creeps
// over the same pressures across decades of volume, and no fixed grid serves both.
namespace plots {

struct Point {
    double x = 0;
    double y = 0;
};

/// The screen a curve is resolved for: one screen unit is xUnit along x (a decade when xLog)
/// and yUnit along y; a view of one unit by one unit is the diagram's initial view.
struct Resolution {
    double xUnit = 1;
    double yUnit = 1;
    bool xLog = false;
    bool yLog = false;
    // Neighbouring points at most this far apart, and the curve between them at most this far
    // off their chord, in screen units.
    double maxStep = 0.008;
    double maxBulge = 0.0006;
};

/// Points of s -> at(s) for s from s0 to s1, both ends included, in the order of s: halves
/// every interval whose ends lie more than maxStep apart on screen or whose middle lies more
/// than maxBulge off the chord, from 32 equal intervals down to 2^-24 of [s0, s1]. `at` must
/// give finite points on the whole interval.
std::vector<Point> sampleCurve(const std::function<Point(double)>& at, double s0, double s1,
                               const Resolution& res);

/// The end of a run where `holds` is true: from `inside` (holds) towards `outside` (does not),
/// the last parameter found to hold, by bisection to the last representable step.
double runEnd(const std::function<bool(double)>& holds, double inside, double outside);

/// The parts of a polyline inside the rectangle [x0, x1] × [y0, y1], in the same linear (screen)
/// coordinates: each segment cut where it crosses the border, a point with y NaN between two
/// parts. For drawing on a device that does not clip, as an SVG file.
std::vector<Point> clipPolyline(const std::vector<Point>& line, double x0, double y0, double x1,
                                double y1);

} // namespace plots
