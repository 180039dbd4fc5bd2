// Identities no one can tune, on real components from the shipped data and invented extremes,
// from Tr 0.3 of each model's own critical temperature up to 0.9999.
#include "analysis/phase_analysis.h"
#include "analysis_checks.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <numbers>

namespace {

using analysis::Model;
using testing_analysis::fluid;

struct NamedFluid {
    const char* name;
    analysis::Fluid f;
};

// Water, methane, n-decane and helium as components.csv lists them; then invented extremes of
// acentric factor and critical constants.
const NamedFluid kFluids[] = {
    {"water", fluid(647.096, 220.64, 55.95, 0.3443, -0.06635, 0.0199, 0.443)},
    {"methane", fluid(190.564, 45.992, 98.63, 0.01142, -0.00159, 0.1521, 0.517)},
    {"n-decane", fluid(617.7, 21.03, 609.76, 0.4884, 0.0451, 0.8549, 0.527)},
    {"helium", fluid(5.195, 2.2832, 57.53, -0.3836)},
    {"invented, omega -0.3", fluid(50, 5, 100, -0.3)},
    {"invented, omega 1.5", fluid(900, 8, 1500, 1.5, 0.05, 0.5, 0.6)},
    {"invented, Pc 1000 bar", fluid(1500, 1000, 40, 0.6)},
};

constexpr double kReducedTemps[] = {0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 0.95, 0.99, 0.999, 0.9999};

// Adaptive Simpson, written here so that the checks do not lean on the quadrature under test.
double simpson(const std::function<double(double)>& f, double a, double b, double fa, double fm,
               double fb, double whole, double tol, int depth)
{
    const double m = (a + b) / 2;
    const double lm = (a + m) / 2, rm = (m + b) / 2;
    const double flm = f(lm), frm = f(rm);
    const double left = (m - a) / 6 * (fa + 4 * flm + fm);
    const double right = (b - m) / 6 * (fm + 4 * frm + fb);
    if (depth == 0 || std::fabs(left + right - whole) <= 15 * tol)
        return left + right + (left + right - whole) / 15;
    return simpson(f, a, m, fa, flm, fm, left, tol / 2, depth - 1) +
           simpson(f, m, b, fm, frm, fb, right, tol / 2, depth - 1);
}

double integrate(const std::function<double(double)>& f, double a, double b, double tol)
{
    const double fa = f(a), fb = f(b), fm = f((a + b) / 2);
    return simpson(f, a, b, fa, fm, fb, (b - a) / 6 * (fa + 4 * fm + fb), tol, 30);
}

bool hasPhaseSplit(Model m) { return m != Model::Vir; }

// ESD's shape factor c = 1 + 3.535·ω + 0.533·ω² is fitted for ω ≥ 0. Below ω ≈ −0.12 its
// co-volume, q or θ change sign (the analysis finds no critical point, or refuses the input),
// and below ω ≈ −0.29 c itself turns negative and its cube root is undefined: InvalidInput.
bool modelDefined(Model m, const analysis::Fluid& f)
{
    return m != Model::ESD || 1 + 3.535 * f.omega + 0.533 * f.omega * f.omega > 0;
}

// Every fluid with every model that has a phase split, traced, with the model's critical
// point (which must exist). Where ESD is undefined it must say so instead.
void forEachLoopModel(
    const std::function<void(const NamedFluid&, Model, const analysis::CriticalPoint&)>& body)
{
    for (const NamedFluid& nf : kFluids) {
        for (Model m : analysis::kModels) {
            if (!hasPhaseSplit(m))
                continue;
            SCOPED_TRACE(testing::Message() << nf.name << ", model " << static_cast<int>(m));
            const analysis::CriticalPoint cp = analysis::criticalPoint(m, nf.f);
            if (!modelDefined(m, nf.f)) {
                EXPECT_EQ(cp.status, analysis::CriticalStatus::InvalidInput);
                continue;
            }
            ASSERT_TRUE(cp.found());
            body(nf, m, cp);
        }
    }
}

TEST(Identities, EqualFugacityAndPressureAcrossTheRange)
{
    forEachLoopModel([](const NamedFluid& nf, Model m, const analysis::CriticalPoint& cp) {
        for (double tr : kReducedTemps) {
            SCOPED_TRACE(testing::Message() << "Tr " << tr);
            const analysis::Saturation s = analysis::saturation(m, nf.f, tr * cp.t_K, cp);
            ASSERT_EQ(s.status, analysis::SaturationStatus::Converged);
            EXPECT_TRUE(testing_analysis::saturationIdentities(m, nf.f, s));
        }
    });
}

// ∫ P dV from VL to VV equals psat·(VV − VL): the loop's two areas cancel. Integrated over
// ln V, where the vapour end lies up to eleven decades above the liquid one.
TEST(Identities, EqualAreaRule)
{
    constexpr double kTemps[] = {0.3, 0.5, 0.7, 0.9, 0.99, 0.9999};
    forEachLoopModel([&](const NamedFluid& nf, Model m, const analysis::CriticalPoint& cp) {
        for (double tr : kTemps) {
            SCOPED_TRACE(testing::Message() << "Tr " << tr);
            const analysis::Saturation s = analysis::saturation(m, nf.f, tr * cp.t_K, cp);
            ASSERT_TRUE(s.converged());
            const analysis::Isotherm iso = analysis::makeIsotherm(m, nf.f, s.t_K);
            const double rectangle = s.p_bar * (s.vVapour - s.vLiquid);
            const double area = integrate(
                [&](double lnV) {
                    const double v = std::exp(lnV);
                    return analysis::pressure(iso, v) * v;
                },
                std::log(s.vLiquid), std::log(s.vVapour), 1e-12 * rectangle);
            EXPECT_NEAR(area / rectangle, 1, 1e-8);
        }
    });
}

// The vapour pressure rises with T, the two volumes close in, and the curve ends at the
// model's own critical point: extended linearly from Tr 0.9999 and 0.99999 it reaches Pc
// (the neglected curvature is of order 1e-6 there), and the gap between the volumes shrinks
// with the square root of Tc − T, as mean-field coexistence curves do (ratio √0.1).
TEST(Identities, RisesMonotonicallyIntoTheCriticalPoint)
{
    forEachLoopModel([](const NamedFluid& nf, Model m, const analysis::CriticalPoint& cp) {
        analysis::Saturation previous;
        for (int i = 0; i <= 60; ++i) {
            const double tr = 1 - 0.7 * std::pow(1 - i / 61.0, 3);
            const analysis::Saturation s = analysis::saturation(m, nf.f, tr * cp.t_K, cp);
            ASSERT_TRUE(s.converged()) << "Tr " << tr;
            if (i > 0) {
                EXPECT_GT(s.p_bar, previous.p_bar) << "Tr " << tr;
                EXPECT_GT(s.vLiquid, previous.vLiquid) << "Tr " << tr;
                EXPECT_LT(s.vVapour, previous.vVapour) << "Tr " << tr;
            }
            previous = s;
        }
        const analysis::Saturation near = analysis::saturation(m, nf.f, 0.9999 * cp.t_K, cp);
        const analysis::Saturation end = analysis::saturation(m, nf.f, 0.99999 * cp.t_K, cp);
        ASSERT_TRUE(near.converged() && end.converged());
        const double reachedPc = end.p_bar + (end.p_bar - near.p_bar) / 9;
        EXPECT_NEAR(reachedPc / cp.p_bar, 1, 2e-5);
        const double gapRatio = (end.vVapour - end.vLiquid) / (near.vVapour - near.vLiquid);
        EXPECT_NEAR(gapRatio, std::sqrt(0.1), 0.02);
        EXPECT_LT(end.vLiquid, cp.v_cm3mol);
        EXPECT_GT(end.vVapour, cp.v_cm3mol);
    });
}

// At the critical point ∂P/∂V and ∂²P/∂V² vanish, scaled by Pc/Vc and Pc/Vc². The second
// derivative is a central difference of the analytic slope with a step of 1e-5·Vc: its
// truncation error is of order 1e-10 there and its rounding error about 1e-11.
TEST(Identities, SlopeAndCurvatureVanish)
{
    forEachLoopModel([](const NamedFluid& nf, Model m, const analysis::CriticalPoint& cp) {
        const analysis::Isotherm iso = analysis::makeIsotherm(m, nf.f, cp.t_K);
        const double vc = cp.v_cm3mol, pc = cp.p_bar;
        EXPECT_NEAR(analysis::pressure(iso, vc) / pc, 1, 1e-12);
        EXPECT_NEAR(analysis::pressureSlope(iso, vc) * vc / pc, 0, 1e-8);
        constexpr double h = 1e-5;
        const double curvature = (analysis::pressureSlope(iso, vc * (1 + h)) -
                                  analysis::pressureSlope(iso, vc * (1 - h))) /
                                 (2 * h * vc);
        EXPECT_NEAR(curvature * vc * vc / pc, 0, 1e-8);
    });
}

// Where the constants are exact, so is the critical point: van der Waals' 27/64 and 1/8 put
// it at the component's Tc and Pc with Vc = 3b; Dieterici's own algebra puts it at
// T = a/(4·R·b), V = 2b, P = a/(4·e²·b²), a hair from Tc because 332.56·Tc is a float.
TEST(Identities, ClosedFormsWhereTheyExist)
{
    const double r = state::R;
    for (const NamedFluid& nf : kFluids) {
        SCOPED_TRACE(nf.name);
        const analysis::CriticalPoint vdw = analysis::criticalPoint(Model::VDW, nf.f);
        EXPECT_NEAR(vdw.t_K / nf.f.tc_K, 1, 1e-12);
        EXPECT_NEAR(vdw.p_bar / nf.f.pc_bar, 1, 1e-12);
        EXPECT_NEAR(vdw.v_cm3mol / (3 * r * nf.f.tc_K / (8 * nf.f.pc_bar)), 1, 1e-12);

        const double a = 4 * std::pow(r * nf.f.tc_K, 2) / (nf.f.pc_bar * std::exp(2.0));
        const double b = a / static_cast<double>(static_cast<float>(332.56f * nf.f.tc_K));
        const analysis::CriticalPoint d = analysis::criticalPoint(Model::DEOS, nf.f);
        EXPECT_NEAR(d.t_K / (a / (4 * r * b)), 1, 1e-12);
        EXPECT_NEAR(d.v_cm3mol / (2 * b), 1, 1e-10);
        EXPECT_NEAR(d.p_bar / (a / (4 * std::exp(2.0) * b * b)), 1, 1e-12);

        // The rounded Ωa and Ωb of Redlich-Kwong, Soave and Peng-Robinson move the critical
        // point by parts in 1e5 at most.
        for (Model m : {Model::RK, Model::SRK, Model::PR, Model::PRSV1, Model::PRSV2}) {
            const analysis::CriticalPoint c = analysis::criticalPoint(m, nf.f);
            EXPECT_NEAR(c.t_K / nf.f.tc_K, 1, 1e-5);
            EXPECT_NEAR(c.p_bar / nf.f.pc_bar, 1, 2e-5);
        }
    }
}

// ln φ from the closed forms (and Dieterici's quadrature) against a second route: the
// integral of (Z − 1)/ρ from zero density, with Z from P(T, V), plus Z − 1 − ln Z.
TEST(Identities, MatchesIntegralOfCompressibility)
{
    constexpr double kVolumesOverB[] = {1.15, 1.6, 3, 10, 100, 1e4};
    constexpr double kReduced[] = {0.6, 0.95, 1.5};
    for (const NamedFluid& nf : kFluids) {
        for (Model m : analysis::kModels) {
            if (!modelDefined(m, nf.f))
                continue;
            for (double tr : kReduced) {
                const double t = tr * nf.f.tc_K;
                const analysis::Isotherm iso = analysis::makeIsotherm(m, nf.f, t);
                const double vMin = m == Model::Vir ? 3 * nf.f.vc_cm3mol : analysis::minVolume(iso);
                for (double ratio : kVolumesOverB) {
                    const double v = vMin * ratio;
                    const double p = analysis::pressure(iso, v);
                    if (!(p > 0))
                        continue;
                    SCOPED_TRACE(testing::Message() << nf.name << ", model " << static_cast<int>(m)
                                                    << ", Tr " << tr << ", V " << v);
                    const double rt = iso.rt;
                    // Over ln ρ the integrand is Z − 1 itself: bounded, and free of the
                    // rounding noise that dividing by a tiny ρ would magnify.
                    const auto integrand = [&](double lnRho) {
                        const double rho = std::exp(lnRho);
                        return analysis::pressure(iso, 1 / rho) / (rho * rt) - 1;
                    };
                    const double lnRho = -std::log(v);
                    const double res = integrate(integrand, lnRho - 35, lnRho, 1e-12);
                    const double z = p * v / rt;
                    EXPECT_NEAR(analysis::lnPhi(iso, v), res + z - 1 - std::log(z), 1e-9);
                }
            }
        }
    }
}

} // namespace
