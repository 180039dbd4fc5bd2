#pragma once

#include <algorithm>
#include <cmath>

// Adaptive Gauss-Kronrod quadrature (7-point Gauss embedded in 15-point Kronrod). A panel is
// accepted when the two rules agree to the tolerance, otherwise it is halved; the depth cap
// bounds the work for an integrand that never settles (the result is then the best estimate).
namespace analysis {

inline constexpr double kKronrodNodes[8] = {
    0.991455371120812639206854697526329, 0.949107912342758524526189684047851,
    0.864864423359769072789712788640926, 0.741531185599394439863864773280788,
    0.586087235467691130294144845693013, 0.405845151377397166906606412076961,
    0.207784955007898467600689403773245, 0.000000000000000000000000000000000};
inline constexpr double kKronrodWeights[8] = {
    0.022935322010529224963732008058970, 0.063092092629978553290700663189204,
    0.104790010322250183839876322541518, 0.140653259715525918745189590510238,
    0.169004726639267902826583426598550, 0.190350578064785409913256402421014,
    0.204432940075298892414161999234649, 0.209482141084727828012999174891714};
inline constexpr double kGaussWeights[4] = {
    0.129484966168869693270611432679082, 0.279705391489276667901467771423780,
    0.381830050505118944950369775488975, 0.417959183673469387755102040816327};

/// One 15-point panel on [a, b]: the Kronrod estimate, and in `error` QUADPACK's estimate of
/// its error from the difference to the embedded 7-point Gauss rule (Piessens et al. 1983,
/// QUADPACK, qk15): the raw difference scaled by (200·|K − G|/I|f − mean|)^1.5, since the
/// Kronrod result is far more accurate than the Gauss one it is compared with.
template <class F> double kronrodPanel(const F& f, double a, double b, double& error)
{
    const double half = (b - a) / 2;
    const double mid = (a + b) / 2;
    double values[15];
    values[7] = f(mid);
    double kronrod = kKronrodWeights[7] * values[7];
    double gauss = kGaussWeights[3] * values[7];
    for (int i = 0; i < 7; ++i) {
        const double dx = half * kKronrodNodes[i];
        values[i] = f(mid - dx);
        values[14 - i] = f(mid + dx);
        const double sum = values[i] + values[14 - i];
        kronrod += kKronrodWeights[i] * sum;
        if (i % 2 == 1)
            gauss += kGaussWeights[i / 2] * sum;
    }
    const double mean = kronrod / 2;
    double spread = kKronrodWeights[7] * std::fabs(values[7] - mean);
    for (int i = 0; i < 7; ++i)
        spread +=
            kKronrodWeights[i] * (std::fabs(values[i] - mean) + std::fabs(values[14 - i] - mean));
    spread *= std::fabs(half);
    error = std::fabs((kronrod - gauss) * half);
    if (spread != 0 && error != 0)
        error = spread * std::min(1.0, std::pow(200 * error / spread, 1.5));
    return kronrod * half;
}

/// ∫ f over [a, b] to an absolute tolerance, halving panels at most `depth` times.
template <class F>
double integrate(const F& f, double a, double b, double tolerance, int depth = 12)
{
    double error = 0;
    const double whole = kronrodPanel(f, a, b, error);
    if (error <= tolerance || depth == 0 || !std::isfinite(whole))
        return whole;
    const double mid = (a + b) / 2;
    return integrate(f, a, mid, tolerance / 2, depth - 1) +
           integrate(f, mid, b, tolerance / 2, depth - 1);
}

} // namespace analysis
