// Physics that nobody tuned: acentric factors recovered, van der Waals' universal
// coexistence curve, the stable-root rule, and what the virial row can and cannot say.
#include "analysis/exponential_integral.h"
#include "analysis/phase_analysis.h"
#include "analysis_checks.h"
#include "tests/support/reference_components.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <utility>
#include <vector>

namespace {

using analysis::Model;
using testing_analysis::fluid;

// ω is defined as −log10(psat/Pc) − 1 at Tr 0.7 (Pitzer); Soave's m and Peng-Robinson's κ
// were fitted to make the models reproduce it, so the models must give it back.
TEST(Physics, SoaveAndPengRobinsonRecoverTheAcentricFactor)
{
    for (Model m : {Model::SRK, Model::PR}) {
        for (double omega = 0; omega <= 0.6001; omega += 0.05) {
            SCOPED_TRACE(testing::Message() << "model " << static_cast<int>(m) << ", ω " << omega);
            const analysis::Fluid f = fluid(500, 40, 300, omega);
            const analysis::Saturation s = analysis::saturation(m, f, 0.7 * f.tc_K);
            ASSERT_TRUE(s.converged());
            EXPECT_NEAR(-std::log10(s.p_bar / f.pc_bar) - 1, omega, 0.02);
        }
    }
}

// In reduced variables van der Waals has no constants left, so its coexistence curve is the
// same for every component. Values at Tr 0.9 as tabulated for the reduced van der Waals
// equation (Pr 0.6470, liquid and vapour Vr 0.6034 and 2.3488), to their four digits.
TEST(Physics, VanDerWaalsCoexistenceIsUniversal)
{
    const analysis::Fluid fluids[] = {fluid(562.1, 48.9, 259, 0.212), fluid(5.195, 2.2832, 57, 0),
                                      fluid(1500, 1000, 40, 1.2)};
    for (double tr : {0.35, 0.6, 0.9, 0.999}) {
        const analysis::Fluid& ref = fluids[0];
        const analysis::CriticalPoint c0 = analysis::criticalPoint(Model::VDW, ref);
        const analysis::Saturation s0 = analysis::saturation(Model::VDW, ref, tr * ref.tc_K);
        ASSERT_TRUE(s0.converged());
        for (const analysis::Fluid& f : fluids) {
            SCOPED_TRACE(testing::Message() << "Tc " << f.tc_K << ", Tr " << tr);
            const analysis::CriticalPoint c = analysis::criticalPoint(Model::VDW, f);
            const analysis::Saturation s = analysis::saturation(Model::VDW, f, tr * f.tc_K);
            ASSERT_TRUE(s.converged());
            EXPECT_NEAR(s.p_bar / c.p_bar, s0.p_bar / c0.p_bar, 1e-10 * s0.p_bar / c0.p_bar);
            EXPECT_NEAR(s.vLiquid / c.v_cm3mol, s0.vLiquid / c0.v_cm3mol, 1e-10);
            EXPECT_NEAR(s.vVapour / c.v_cm3mol, s0.vVapour / c0.v_cm3mol,
                        1e-10 * s0.vVapour / c0.v_cm3mol);
        }
    }
    const analysis::Fluid& f = fluids[0];
    const analysis::CriticalPoint c = analysis::criticalPoint(Model::VDW, f);
    const analysis::Saturation s = analysis::saturation(Model::VDW, f, 0.9 * f.tc_K);
    EXPECT_NEAR(s.p_bar / c.p_bar, 0.6470, 1e-4);
    EXPECT_NEAR(s.vLiquid / c.v_cm3mol, 0.6034, 1e-4);
    EXPECT_NEAR(s.vVapour / c.v_cm3mol, 2.3488, 1e-4);
}

// Below the model's own vapour pressure the vapour is the stable phase, above it the liquid,
// even where both roots exist; the middle root of the loop is never stable.
TEST(Physics, StableRootIsVapourBelowAndLiquidAboveSaturation)
{
    const analysis::Fluid f = fluid(369.8, 42.48, 200, 0.152, 0.03136);
    for (Model m : analysis::kModels) {
        if (m == Model::Vir)
            continue;
        for (double tr : {0.5, 0.8, 0.95}) {
            SCOPED_TRACE(testing::Message() << "model " << static_cast<int>(m) << ", Tr " << tr);
            const analysis::CriticalPoint cp = analysis::criticalPoint(m, f);
            const double t = tr * cp.t_K;
            const analysis::Saturation s = analysis::saturation(m, f, t, cp);
            ASSERT_TRUE(s.converged());
            for (double factor : {0.999, 1.001}) {
                const analysis::StateRoots r = analysis::volumeRoots(m, f, t, s.p_bar * factor);
                ASSERT_EQ(r.status, analysis::RootsStatus::Found);
                ASSERT_EQ(r.count, 3);
                EXPECT_TRUE(r.phaseSplit);
                EXPECT_FALSE(r.roots[1].mechanicallyStable);
                EXPECT_EQ(r.stable, factor < 1 ? 2 : 0) << "P/psat " << factor;
                for (int i = 0; i < r.count; ++i) {
                    const analysis::Isotherm iso = analysis::makeIsotherm(m, f, t);
                    const double v = r.roots[static_cast<std::size_t>(i)].v_cm3mol;
                    EXPECT_NEAR(analysis::pressure(iso, v) / (s.p_bar * factor), 1,
                                1e-10 + testing_analysis::volumeResolution(iso, v, s.p_bar));
                }
            }
        }
    }
}

// The cubic roots in closed form are the exact roots the sheet's fixed-point iterates
// approach: 148.399 (van der Waals) and 100.1008 (Redlich-Kwong) cm3/mol for the benzene-like
// reference at 298.15 K and 1 bar, as the model descriptions give them.
TEST(Physics, ClosedFormRootsAreTheExactCubicRoots)
{
    state::ComponentConstants c = test_components::kBenzeneNoKappa;
    const analysis::Fluid f = analysis::fluidOf(c, false);
    const analysis::StateRoots vdw = analysis::volumeRoots(Model::VDW, f, 298.15f, 1);
    ASSERT_EQ(vdw.count, 3);
    EXPECT_NEAR(vdw.roots[0].v_cm3mol, 148.399, 5e-4);
    const analysis::StateRoots rk = analysis::volumeRoots(Model::RK, f, 298.15f, 1);
    ASSERT_EQ(rk.count, 3);
    EXPECT_NEAR(rk.roots[0].v_cm3mol, 100.1008, 5e-5);
}

// The virial row: B and C do not depend on T, so it has no critical point and no vapour
// pressure. Below its pressure maximum P(V) crosses the state pressure twice: on the gas
// branch, and past the maximum where P falls with density (mechanically unstable; benzene at
// 25 °C and 1 bar has it near 285 cm3/mol). Above the maximum it has no root at all.
TEST(Physics, VirialRowHasAGasRootAndAnUnstableOneNoPhaseSplit)
{
    const analysis::Fluid benzene = fluid(562.02, 49.0728, 256.34, 0.211);
    for (const auto& [t, p] : {std::pair{400.0, 5.0}, {298.15, 1.0}, {150.0, 1e-3}}) {
        SCOPED_TRACE(testing::Message() << "T " << t << ", P " << p);
        const analysis::Isotherm iso = analysis::makeIsotherm(Model::Vir, benzene, t);
        const analysis::StateRoots r = analysis::volumeRoots(Model::Vir, benzene, t, p);
        ASSERT_EQ(r.status, analysis::RootsStatus::Found);
        ASSERT_EQ(r.count, 2);
        EXPECT_EQ(r.stable, 1);
        EXPECT_FALSE(r.phaseSplit);
        EXPECT_FALSE(r.roots[0].mechanicallyStable);
        EXPECT_GT(analysis::pressureSlope(iso, r.roots[0].v_cm3mol), 0);
        EXPECT_TRUE(r.roots[1].mechanicallyStable);
        const analysis::Spinodals sp = analysis::spinodals(iso);
        EXPECT_LT(r.roots[0].v_cm3mol, sp.vVapour);
        for (const analysis::VolumeRoot& root : {r.roots[0], r.roots[1]})
            EXPECT_NEAR(analysis::pressure(iso, root.v_cm3mol) / p, 1,
                        1e-12 + testing_analysis::volumeResolution(iso, root.v_cm3mol, p));
        EXPECT_EQ(analysis::volumeRoots(Model::Vir, benzene, t, sp.pVapour * 1.01).status,
                  analysis::RootsStatus::NoRoot);
    }
    const analysis::StateRoots benzeneRoots =
        analysis::volumeRoots(Model::Vir, benzene, 298.15, 1.0);
    EXPECT_NEAR(benzeneRoots.roots[0].v_cm3mol, 285.2, 0.05);
    EXPECT_EQ(analysis::saturation(Model::Vir, benzene, 400).status,
              analysis::SaturationStatus::NoPhaseSplit);
    EXPECT_EQ(analysis::criticalPoint(Model::Vir, benzene).status,
              analysis::CriticalStatus::NoCriticalPoint);
    EXPECT_FALSE(analysis::spinodals(analysis::makeIsotherm(Model::Vir, benzene, 400)).exists);
}

// Far above Tc, ESD's Y is so negative that 1 + k1·Y·η vanishes inside the packing limit: the
// model is singular at that volume, but the branch from the ideal gas down to it is sound,
// and its root is given with the status that says so (triethanolamine, 6000 °C, 50 bar).
TEST(Physics, EsdPoleIsSingularWithTheGasBranchRoot)
{
    const analysis::Fluid tea = fluid(772, 27, 446, 1.284);
    const double t = 6273.15, p = 50;
    const analysis::StateRoots r = analysis::volumeRoots(Model::ESD, tea, t, p);
    ASSERT_EQ(r.status, analysis::RootsStatus::Singular);
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ(r.stable, 0);
    const analysis::Isotherm iso = analysis::makeIsotherm(Model::ESD, tea, t);
    EXPECT_NEAR(analysis::pressure(iso, r.roots[0].v_cm3mol) / p, 1, 1e-12);
    // The pole: 1 + k1·Y·b/V = 0 at vSingular, and P(V) grows without bound towards it.
    EXPECT_NEAR(1 + iso.esdK1 * iso.tau * iso.b / r.vSingular, 0, 1e-14);
    EXPECT_GT(analysis::pressure(iso, r.vSingular * (1 + 1e-9)), 1e6);
    EXPECT_EQ(analysis::minVolume(iso), r.vSingular);
    EXPECT_EQ(analysis::statusText(r.status), "singular");
    // Below the critical temperature the same fluid has no pole.
    EXPECT_EQ(analysis::volumeRoots(Model::ESD, tea, 600, 1).status, analysis::RootsStatus::Found);
}

// A Soave-type α grows again far above Tc once 1 + m·(1 − √Tr) turns negative; where it
// lifts a/(b·R·T) past its critical value, the isotherm loops once more and the model has a
// vapour pressure there. It must be a true one (equal fugacity), lie between the spinodal
// pressures, and agree with the stable root: liquid above it, vapour below.
TEST(Physics, SecondLoopFarAboveTcHasItsOwnVapourPressure)
{
    struct Case {
        const char* name;
        Model model;
        analysis::Fluid f;
        double t_K;
    };
    const Case cases[] = {
        {"1-octanol, PRSV2, 800 C", Model::PRSV2,
         fluid(652.5, 27.77, 497, 0.583, 0.8294, 2.7372, 0.543), 1073.15},
        {"1-octanol, PRSV1, 2000 K", Model::PRSV1,
         fluid(652.5, 27.77, 497, 0.583, 0.8294, 2.7372, 0.543), 2000},
        {"invented omega 1.5, SRK, 30 Tc", Model::SRK, fluid(900, 8, 1500, 1.5), 27000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const analysis::CriticalPoint cp = analysis::criticalPoint(c.model, c.f);
        ASSERT_TRUE(cp.found());
        ASSERT_GT(c.t_K, cp.t_K);
        const analysis::Saturation s = analysis::saturation(c.model, c.f, c.t_K, cp);
        ASSERT_EQ(s.status, analysis::SaturationStatus::Converged);
        EXPECT_TRUE(testing_analysis::saturationIdentities(c.model, c.f, s));
        const analysis::Spinodals sp =
            analysis::spinodals(analysis::makeIsotherm(c.model, c.f, c.t_K));
        ASSERT_TRUE(sp.exists);
        EXPECT_GT(s.p_bar, sp.pLiquid);
        EXPECT_LT(s.p_bar, sp.pVapour);
        for (double factor : {0.99, 1.01}) {
            const analysis::StateRoots r =
                analysis::volumeRoots(c.model, c.f, c.t_K, s.p_bar * factor);
            ASSERT_EQ(r.count, 3);
            EXPECT_TRUE(r.phaseSplit);
            EXPECT_EQ(r.stable, factor < 1 ? 2 : 0);
        }
    }
    // The state of the report: three roots, a liquid-like stable one, and 4.497 bar.
    const analysis::Saturation octanol = analysis::saturation(
        Model::PRSV2, fluid(652.5, 27.77, 497, 0.583, 0.8294, 2.7372, 0.543), 1073.15);
    EXPECT_NEAR(octanol.p_bar, 4.497, 1e-3);
}

// Outcomes that are not numbers are statuses, and the numbers they leave are zeros.
TEST(Physics, StatusesInsteadOfNumbers)
{
    const analysis::Fluid f = fluid(562.1, 48.9, 259, 0.212);
    EXPECT_EQ(analysis::saturation(Model::PR, f, 600).status,
              analysis::SaturationStatus::AboveCritical);
    const analysis::Fluid broken = fluid(0, 48.9, 259, 0.212);
    for (Model m : analysis::kModels) {
        if (m == Model::Vir)
            continue;
        EXPECT_EQ(analysis::saturation(m, broken, 300).status,
                  analysis::SaturationStatus::InvalidInput);
        EXPECT_EQ(analysis::criticalPoint(m, broken).status,
                  analysis::CriticalStatus::InvalidInput);
        EXPECT_EQ(analysis::volumeRoots(m, f, 300, 0).status, analysis::RootsStatus::InvalidInput);
        EXPECT_EQ(analysis::pressure(analysis::makeIsotherm(m, broken, 300), 100), 0);
    }
    EXPECT_EQ(analysis::statusText(analysis::SaturationStatus::NoLiquidRoot), "no liquid root");
}

// The curve a diagram draws: every point converged, T and P rising, ending on the critical
// point; a model without a loop gives none.
TEST(Physics, SaturationCurveEndsAtTheCriticalPoint)
{
    const analysis::Fluid f = fluid(562.1, 48.9, 259, 0.212);
    for (Model m : {Model::VDW, Model::PR, Model::ESD, Model::DEOS}) {
        SCOPED_TRACE(testing::Message() << "model " << static_cast<int>(m));
        const std::vector<analysis::Saturation> curve = analysis::saturationCurve(m, f, 0.4, 50);
        ASSERT_EQ(curve.size(), 50u);
        for (std::size_t i = 1; i < curve.size(); ++i) {
            EXPECT_GT(curve[i].t_K, curve[i - 1].t_K);
            EXPECT_GT(curve[i].p_bar, curve[i - 1].p_bar);
        }
        const analysis::CriticalPoint cp = analysis::criticalPoint(m, f);
        EXPECT_EQ(curve.back().t_K, cp.t_K);
        EXPECT_EQ(curve.back().p_bar, cp.p_bar);
        EXPECT_NEAR(curve.front().t_K / cp.t_K, 0.4, 1e-12);
    }
    EXPECT_TRUE(analysis::saturationCurve(Model::Vir, f, 0.4, 50).empty());
    // ESD's correlations are fitted for ω ≥ 0; at ω −0.2 its attraction constant q is negative
    // and the isotherms never loop.
    EXPECT_TRUE(analysis::saturationCurve(Model::ESD, fluid(300, 40, 100, -0.2), 0.4, 50).empty());
    EXPECT_EQ(analysis::saturation(Model::ESD, fluid(300, 40, 100, -0.2), 200).status,
              analysis::SaturationStatus::NoLiquidRoot);
}

// Dieterici's ln φ in closed form, through this tree's exponential integrals, against the
// same form through the standard library's (a second, independent implementation):
// A_res/(R·T) = −(γ + ln x + E1(x)) + e^(−τ)·(Ei(τ) − Ei(τ·(1 − η))), x = τ·η.
TEST(Physics, DietericiClosedFormMatchesLibraryExponentialIntegral)
{
    const analysis::Fluid f = fluid(562.1, 48.9, 259, 0.212);
    for (double tr : {0.3, 0.7, 1.0, 2.0}) {
        const analysis::Isotherm iso = analysis::makeIsotherm(Model::DEOS, f, tr * f.tc_K);
        for (double eta : {1e-6, 0.1, 0.5, 0.9, 0.999}) {
            SCOPED_TRACE(testing::Message() << "Tr " << tr << ", η " << eta);
            const double t = iso.tau;
            const double x = t * eta;
            const double ein = std::numbers::egamma + std::log(x) - std::expint(-x);
            const double ares = -ein + std::exp(-t) * (std::expint(t) - std::expint(t * (1 - eta)));
            const double v = iso.b / eta;
            const double p = analysis::pressure(iso, v);
            const double z = p * v / iso.rt;
            EXPECT_NEAR(analysis::lnPhi(iso, v), ares + z - 1 - std::log(z), 1e-12);
        }
    }
}

// The exponential integrals against the standard library's, across the switch points of
// their series, continued fraction and asymptotic series (1 and 50). Relative to 4e-15, but
// e^(−x)·Ei absolutely to 1e-16 near its zero at 0.3725, and Ein near x = 0 to 1e-15 of x,
// where γ + ln x + E1(x) would have cancelled every digit. Above x = 100 the library's E1
// drifts (by 3e-3 at 300), so there the reference is E1's asymptotic series,
// e^(−x)/x·Σ (−1)^k·k!/x^k, to its smallest term.
TEST(Physics, ExponentialIntegralsMatchIndependentValues)
{
    for (double x : {1e-12, 1e-6, 0.01, 0.3725, 0.5, 0.999, 1.0, 1.001, 2.0, 7.5, 20.0, 49.9, 50.0,
                     50.1, 80.0, 300.0, 700.0}) {
        SCOPED_TRACE(testing::Message() << "x " << x);
        double e1 = -std::expint(-x);
        if (x > 100) {
            double term = 1, sum = 1;
            for (int k = 1; k < x; ++k)
                sum += (term *= -k / x);
            e1 = std::exp(-x) / x * sum;
        }
        EXPECT_NEAR(analysis::expIntE1(x) / e1, 1, 4e-15);
        if (x < 100) {
            const double scaled = std::exp(-x) * std::expint(x);
            EXPECT_NEAR(analysis::expIntEiScaled(x), scaled, 4e-15 * std::fabs(scaled) + 1e-16);
        }
        const double ein =
            x < 1e-3 ? x - x * x / 4 + x * x * x / 18 : std::numbers::egamma + std::log(x) + e1;
        EXPECT_NEAR(analysis::expIntEin(x), ein, 1e-15 * std::max(x, 1.0) * (x < 1e-3 ? x : 1));
    }
}

} // namespace
