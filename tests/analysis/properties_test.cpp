// The properties of every model, checked by the identities of thermodynamics and by second
// routes through the model's own P(T, V): derivatives by finite differences, the Maxwell
// relation, the ideal-gas limit, equilibrium at the model's own vapour pressure and the
// Clausius-Clapeyron slope of its vapour-pressure curve. No expected number is copied from
// the code under test.
#include "analysis/properties.h"
#include "analysis/root_explanation.h"
#include "analysis_checks.h"
#include "state/number_format.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using analysis::Model;
using analysis::RootTag;
using testing_analysis::fluid;

constexpr double kJoulePerCm3Bar = 0.1;
const double kR = analysis::kRJoule;

struct NamedFluid {
    const char* name;
    analysis::Fluid f;
};
// Benzene and water as the shipped data lists them, and an invented heavy component whose
// Stryjek-Vera and ESD terms are large.
const NamedFluid kFluids[] = {
    {"benzene", fluid(562.02, 49.0728, 256.34, 0.211, 0.07019, 0.7939, 0.523)},
    {"water", fluid(647.096, 220.64, 55.95, 0.3443, -0.06635, 0.0199, 0.443)},
    {"invented, omega 1.2", fluid(800, 15, 900, 1.2, 0.05, 0.5, 0.6)},
};
const analysis::Fluid& kBenzene = kFluids[0].f;
const analysis::Fluid kTriethanolamine = fluid(772, 27, 446, 1.284);

// Fourth-order central difference: its truncation error (h⁴) is far below the tolerances, so
// what is left is rounding, about 1e-12 of the scale at h = 1e-4 of the variable.
double derivative(const std::function<double(double)>& f, double x, double h)
{
    return (f(x - 2 * h) - 8 * f(x - h) + 8 * f(x + h) - f(x + 2 * h)) / (12 * h);
}

// The properties at (T, V), taken at the model's own P(T, V).
std::optional<analysis::RootProperties> propertiesAtVolume(Model m, const analysis::Fluid& f,
                                                           double t, double v)
{
    const double p = analysis::pressure(analysis::makeIsotherm(m, f, t), v);
    return analysis::propertiesAt(analysis::modelParameters(m, f, t, p), v, p, 0);
}

// The residual entropy and Helmholtz energy at constant V (not P): S_res − R·ln Z and
// A_res + R·T·ln Z, the functions whose V- and T-derivatives the identities speak of.
double entropyAtVolume(const analysis::RootProperties& p)
{
    return p.sRes_J_molK - kR * std::log(p.z);
}

// (∂P/∂T)_V, (∂P/∂V)_T against differences of P(T, V); Cv_res against the T-difference of
// U_res at constant V; S_res at constant V against −∂A/∂T there; and the Maxwell relation
// (∂S/∂V)_T = (∂P/∂T)_V, with S the residual at constant V plus the ideal gas's R·ln V. The
// first two check h and τ', the third τ'' and A_res's second τ-derivative, the last two A_res's
// τ-derivative against P's. 1e-7 of each quantity's scale; points near a spinodal, where P
// barely moves with V, are left out.
TEST(Properties, DerivativesMatchTheModelsOwnPressure)
{
    constexpr double kReduced[] = {0.6, 1.3, 4.0};
    constexpr double kVolumesOverMin[] = {1.3, 2.5, 8, 60};
    int checked = 0;
    for (const NamedFluid& nf : kFluids)
        for (Model m : analysis::kModels)
            for (double tr : kReduced)
                for (double ratio : kVolumesOverMin) {
                    const analysis::Fluid& f = nf.f;
                    const double t = tr * f.tc_K;
                    const analysis::Isotherm iso = analysis::makeIsotherm(m, f, t);
                    const double v =
                        ratio * (m == Model::Vir ? 2 * f.vc_cm3mol : analysis::minVolume(iso));
                    const double pv = analysis::pressure(iso, v);
                    const auto p = propertiesAtVolume(m, f, t, v);
                    if (!p || std::fabs(v * p->dPdV_T_bar_mol_cm3) < 1e-2 * pv)
                        continue;
                    SCOPED_TRACE(testing::Message() << nf.name << ", model " << static_cast<int>(m)
                                                    << ", Tr " << tr << ", V " << v);
                    ++checked;
                    const double hT = 1e-4 * t, hV = 1e-4 * v;
                    const auto pOfT = [&](double x) {
                        return analysis::pressure(analysis::makeIsotherm(m, f, x), v);
                    };
                    const auto pOfV = [&](double x) { return analysis::pressure(iso, x); };
                    const auto uOfT = [&](double x) {
                        return propertiesAtVolume(m, f, x, v).value().uRes_J_mol;
                    };
                    const auto aOfT = [&](double x) {
                        const analysis::RootProperties q = propertiesAtVolume(m, f, x, v).value();
                        return q.aRes_J_mol + kR * x * std::log(q.z);
                    };
                    const auto sOfV = [&](double x) {
                        return entropyAtVolume(propertiesAtVolume(m, f, t, x).value()) +
                               kR * std::log(x);
                    };
                    const double dPdT = derivative(pOfT, t, hT);
                    EXPECT_NEAR(p->dPdT_V_bar_K, dPdT, 1e-7 * (std::fabs(dPdT) + pv / t));
                    const double dPdV = derivative(pOfV, v, hV);
                    EXPECT_NEAR(p->dPdV_T_bar_mol_cm3, dPdV, 1e-7 * (std::fabs(dPdV) + pv / v));
                    EXPECT_NEAR(p->cvRes_J_molK, derivative(uOfT, t, hT),
                                1e-7 * (std::fabs(p->cvRes_J_molK) + kR));
                    const double s = entropyAtVolume(*p);
                    EXPECT_NEAR(s, -derivative(aOfT, t, hT), 1e-7 * (std::fabs(s) + kR));
                    const double dSdV = derivative(sOfV, v, hV) / kJoulePerCm3Bar;
                    EXPECT_NEAR(dSdV, p->dPdT_V_bar_K, 1e-7 * (std::fabs(dPdT) + pv / t));
                }
    EXPECT_GT(checked, 150);
}

// At every root of every model, the properties must agree with each other where
// thermodynamics ties them: G = H − T·S, A = U − T·S, H − U = P·V − R·T, G = R·T·ln φ with
// f = φ·P, Cp − Cv = T·V·β²/κ_T, and ln φ as the phase analysis gives it. And the tags must
// say what the numbers show: metastable roots lie above the stable one in G, unstable ones
// have (∂P/∂V)_T > 0, unphysical ones lie at or below the co-volume.
TEST(Properties, ResidualIdentitiesAndTagsAtEveryRoot)
{
    struct State {
        const char* name;
        const analysis::Fluid& f;
        double t_K, p_bar;
    };
    const State states[] = {
        {"benzene, 25 C, 1 bar", kBenzene, 298.15, 1},
        {"benzene, 25 C, 0.05 bar", kBenzene, 298.15, 0.05},
        {"benzene, 250 C, 30 bar", kBenzene, 523.15, 30},
        {"benzene, 25 C, 5000 bar", kBenzene, 298.15, 5000},
        {"water, 100 C, 1.01325 bar", kFluids[1].f, 373.15, 1.01325},
        {"invented, 2 Tc, 100 bar", kFluids[2].f, 1600, 100},
        {"triethanolamine, 6000 C, 50 bar", kTriethanolamine, 6273.15, 50},
    };
    for (const State& st : states) {
        const analysis::StateProperties all = analysis::stateProperties(st.f, st.t_K, st.p_bar, 78);
        for (const analysis::ModelProperties& m : all.models) {
            SCOPED_TRACE(testing::Message() << st.name << ", model " << static_cast<int>(m.model));
            const analysis::StateRoots ref = analysis::volumeRoots(m.model, st.f, st.t_K, st.p_bar);
            ASSERT_EQ(m.status, ref.status);
            const double rt = kR * st.t_K;
            const std::optional<analysis::RootProperties> stable = m.stableProperties();
            ASSERT_EQ(stable.has_value(), ref.stable >= 0);
            int physical = 0;
            for (int i = 0; i < m.count; ++i) {
                const analysis::TaggedRoot& r = m.roots[static_cast<std::size_t>(i)];
                if (i > 0) {
                    EXPECT_LT(m.roots[static_cast<std::size_t>(i - 1)].v_cm3mol, r.v_cm3mol);
                }
                if (r.tag == RootTag::Unphysical) {
                    EXPECT_FALSE(r.properties);
                    EXPECT_LE(r.v_cm3mol, m.model == Model::Vir ? 0
                                          : m.status == analysis::RootsStatus::Singular
                                              ? m.vSingular
                                              : m.parameters.b);
                    continue;
                }
                ASSERT_TRUE(r.properties);
                const analysis::RootProperties& q = *r.properties;
                const double scale = std::fabs(q.hRes_J_mol) + rt;
                EXPECT_NEAR(q.gRes_J_mol, q.hRes_J_mol - st.t_K * q.sRes_J_molK, 1e-10 * scale);
                EXPECT_NEAR(q.aRes_J_mol, q.uRes_J_mol - st.t_K * q.sRes_J_molK, 1e-10 * scale);
                EXPECT_NEAR(q.hRes_J_mol - q.uRes_J_mol,
                            (st.p_bar * q.v_cm3mol * kJoulePerCm3Bar - rt), 1e-10 * scale);
                EXPECT_NEAR(q.gRes_J_mol, rt * q.lnPhi, 1e-12 * scale);
                EXPECT_NEAR(q.fugacity_bar.value(), st.p_bar * std::exp(q.lnPhi),
                            1e-14 * q.fugacity_bar.value());
                const analysis::VolumeRoot& vr = ref.roots[static_cast<std::size_t>(physical++)];
                EXPECT_EQ(q.v_cm3mol, vr.v_cm3mol);
                EXPECT_NEAR(q.lnPhi, vr.lnPhi, 1e-14 * (1 + std::fabs(vr.lnPhi)));
                EXPECT_NEAR(q.density_kg_m3.value(), 78000 / q.v_cm3mol,
                            1e-12 * q.density_kg_m3.value());
                const double cpcv = st.t_K * q.v_cm3mol * q.beta_1_K.value() * q.beta_1_K.value() /
                                    q.kappaT_1_bar.value() * kJoulePerCm3Bar;
                EXPECT_NEAR(q.cpMinusCv_J_molK.value(), cpcv, 1e-10 * std::fabs(cpcv));
                switch (r.tag) {
                case RootTag::Stable:
                    EXPECT_EQ(q.v_cm3mol, stable->v_cm3mol);
                    EXPECT_LT(q.dPdV_T_bar_mol_cm3, 0);
                    break;
                case RootTag::Metastable:
                    EXPECT_LT(q.dPdV_T_bar_mol_cm3, 0);
                    EXPECT_GT(q.gRes_J_mol, stable->gRes_J_mol);
                    EXPECT_EQ(r.kind, q.v_cm3mol < stable->v_cm3mol
                                          ? analysis::Metastability::SuperheatedLiquid
                                          : analysis::Metastability::SubcooledVapour);
                    break;
                default:
                    EXPECT_EQ(r.tag, RootTag::Unstable);
                    EXPECT_GT(q.dPdV_T_bar_mol_cm3, 0);
                }
            }
            EXPECT_EQ(physical, ref.count);
        }
    }
}

// The cubics and the virial row: the coefficients of the cubic in Z against the roots found
// (Vieta: their sum is −c2, their product −c0, unphysical roots included), and A, B against
// a and b by their definitions. A coefficient formed wrongly, or a root lost, breaks these.
TEST(Properties, CubicCoefficientsAgreeWithTheRoots)
{
    for (const auto& [t, p] : {std::pair{298.15, 1.0},
                               {298.15, 0.05},
                               {298.15, 5000.0},
                               {600.0, 20000.0},
                               {523.15, 30.0}}) {
        for (Model m : analysis::kModels) {
            if (m == Model::ESD || m == Model::DEOS)
                continue;
            SCOPED_TRACE(testing::Message()
                         << "T " << t << ", P " << p << ", model " << static_cast<int>(m));
            const analysis::ModelProperties mp = analysis::modelProperties(m, kBenzene, t, p, 0);
            const analysis::ModelParameters& c = mp.parameters;
            ASSERT_TRUE(c.hasCubic);
            const double rt = static_cast<double>(state::R) * t;
            if (m == Model::Vir) {
                EXPECT_NEAR(c.bigB, -kBenzene.vc_cm3mol * p / rt, 1e-15);
            } else {
                EXPECT_NEAR(c.bigA / (c.a * p / (rt * rt)), 1, 1e-14);
                EXPECT_NEAR(c.bigB / (c.b * p / rt), 1, 1e-14);
            }
            if (mp.count < 3) // a complex pair: Vieta needs all three
                continue;
            double sum = 0, product = 1;
            for (int i = 0; i < 3; ++i) {
                sum += mp.roots[static_cast<std::size_t>(i)].z;
                product *= mp.roots[static_cast<std::size_t>(i)].z;
            }
            EXPECT_NEAR(sum, -c.cubic[0], 1e-12 * std::fabs(c.cubic[0]));
            EXPECT_NEAR(product, -c.cubic[2], 1e-10 * std::fabs(c.cubic[2]));
        }
    }
}

// Towards zero pressure every model becomes the ideal gas: the residual H, S and G vanish,
// β → 1/T, κ_T → 1/P and Cp − Cv → R; at P = 1e-8·Pc the deviations are of order 1e-7 and
// below. H_res and G_res go in proportion to P (as the second virial coefficient has it),
// checked at 1e-6·Pc to 1e-3: near the Boyle temperature they are so small that rounding
// shows at 1e-5 of them.
TEST(Properties, IdealGasLimit)
{
    for (const NamedFluid& nf : kFluids)
        for (Model m : analysis::kModels)
            for (double tr : {0.8, 2.0}) {
                SCOPED_TRACE(testing::Message()
                             << nf.name << ", model " << static_cast<int>(m) << ", Tr " << tr);
                const double t = tr * nf.f.tc_K, p = 1e-8 * nf.f.pc_bar;
                const auto q = analysis::modelProperties(m, nf.f, t, p, 0).stableProperties();
                const auto q100 =
                    analysis::modelProperties(m, nf.f, t, 100 * p, 0).stableProperties();
                const auto q10 =
                    analysis::modelProperties(m, nf.f, t, 10 * p, 0).stableProperties();
                ASSERT_TRUE(q && q10 && q100);
                const double rt = kR * t;
                EXPECT_NEAR(q->hRes_J_mol / rt, 0, 1e-6);
                EXPECT_NEAR(q->sRes_J_molK / kR, 0, 1e-6);
                EXPECT_NEAR(q->gRes_J_mol / rt, 0, 1e-6);
                EXPECT_NEAR(q->cvRes_J_molK / kR, 0, 1e-6);
                EXPECT_NEAR(q->beta_1_K.value() * t, 1, 1e-6);
                EXPECT_NEAR(q->kappaT_1_bar.value() * p, 1, 1e-6);
                EXPECT_NEAR(q->cpMinusCv_J_molK.value() / kR, 1, 1e-6);
                EXPECT_NEAR(q100->hRes_J_mol / q10->hRes_J_mol, 10, 1e-3);
                EXPECT_NEAR(q100->gRes_J_mol / q10->gRes_J_mol, 10, 1e-3);
            }
}

// At the model's own vapour pressure both phases have the same G_res (equal fugacity), the
// heat of vaporisation is T·ΔS, and the slope of the vapour-pressure curve, differenced from
// the model's own saturation solver, is Clausius-Clapeyron's ΔH/(T·ΔV) to 1e-6.
TEST(Properties, SaturationEquilibriumAndClausiusClapeyron)
{
    for (const NamedFluid& nf : kFluids)
        for (Model m : analysis::kModels) {
            if (m == Model::Vir)
                continue;
            const analysis::CriticalPoint cp = analysis::criticalPoint(m, nf.f);
            ASSERT_TRUE(cp.found());
            for (double tr : {0.5, 0.8, 0.95}) {
                SCOPED_TRACE(testing::Message()
                             << nf.name << ", model " << static_cast<int>(m) << ", Tr " << tr);
                const double t = tr * cp.t_K;
                const analysis::Saturation s = analysis::saturation(m, nf.f, t, cp);
                ASSERT_TRUE(s.converged());
                const analysis::ModelParameters prm =
                    analysis::modelParameters(m, nf.f, t, s.p_bar);
                const auto l = analysis::propertiesAt(prm, s.vLiquid, s.p_bar, 0);
                const auto v = analysis::propertiesAt(prm, s.vVapour, s.p_bar, 0);
                ASSERT_TRUE(l && v);
                const double rt = kR * t;
                EXPECT_NEAR(l->gRes_J_mol, v->gRes_J_mol, 1e-10 * rt);
                const double dH = v->hRes_J_mol - l->hRes_J_mol;
                EXPECT_NEAR(dH, t * (v->sRes_J_molK - l->sRes_J_molK), 1e-9 * dH);
                const double slope =
                    derivative([&](double x) { return analysis::saturation(m, nf.f, x, cp).p_bar; },
                               t, 1e-4 * t);
                const double clapeyron = dH / kJoulePerCm3Bar / (t * (s.vVapour - s.vLiquid));
                EXPECT_NEAR(slope / clapeyron, 1, 1e-6);
            }
        }
}

// Every kind of root a student meets, with the tags in ascending V. The expected tags follow
// from where the state lies: benzene's PR vapour pressure at 25 °C is 0.136 bar and its
// vapour spinodal 6.2 bar, so 1 bar has three roots with the liquid stable and 0.05 bar the
// vapour; at 5000 bar the cubic's two other real roots lie below b.
TEST(Properties, TagsFollowWhereTheStateLies)
{
    using analysis::Metastability;
    struct Case {
        const char* name;
        Model model;
        const analysis::Fluid& f;
        double t_K, p_bar;
        std::vector<RootTag> tags;
        Metastability kind; // of the metastable root, if any
    };
    const Case cases[] = {
        {"PR, benzene, 25 C, 1 bar",
         Model::PR,
         kBenzene,
         298.15,
         1,
         {RootTag::Stable, RootTag::Unstable, RootTag::Metastable},
         Metastability::SubcooledVapour},
        {"PR, benzene, 25 C, 0.05 bar",
         Model::PR,
         kBenzene,
         298.15,
         0.05,
         {RootTag::Metastable, RootTag::Unstable, RootTag::Stable},
         Metastability::SuperheatedLiquid},
        {"PR, benzene, 25 C, 10 bar: above the vapour spinodal",
         Model::PR,
         kBenzene,
         298.15,
         10,
         {RootTag::Stable},
         Metastability::None},
        {"PR, benzene, 25 C, 5000 bar",
         Model::PR,
         kBenzene,
         298.15,
         5000,
         {RootTag::Unphysical, RootTag::Unphysical, RootTag::Stable},
         Metastability::None},
        {"PR, benzene, 400 C, 100 bar: supercritical",
         Model::PR,
         kBenzene,
         673.15,
         100,
         {RootTag::Stable},
         Metastability::None},
        {"virial, benzene, 25 C, 1 bar",
         Model::Vir,
         kBenzene,
         298.15,
         1,
         {RootTag::Unphysical, RootTag::Unstable, RootTag::Stable},
         Metastability::None},
        {"virial, benzene, 25 C, 30 bar: above its maximum",
         Model::Vir,
         kBenzene,
         298.15,
         30,
         {RootTag::Unphysical},
         Metastability::None},
        {"Dieterici, benzene, 25 C, 1 bar: below its liquid spinodal",
         Model::DEOS,
         kBenzene,
         298.15,
         1,
         {RootTag::Stable},
         Metastability::None},
        {"ESD, triethanolamine, 6000 C, 50 bar: beyond the pole",
         Model::ESD,
         kTriethanolamine,
         6273.15,
         50,
         {RootTag::Unphysical, RootTag::Stable},
         Metastability::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const analysis::ModelProperties m =
            analysis::modelProperties(c.model, c.f, c.t_K, c.p_bar, 0);
        ASSERT_EQ(m.count, static_cast<int>(c.tags.size()));
        for (int i = 0; i < m.count; ++i) {
            const analysis::TaggedRoot& r = m.roots[static_cast<std::size_t>(i)];
            EXPECT_EQ(r.tag, c.tags[static_cast<std::size_t>(i)]) << "root " << i;
            EXPECT_EQ(r.kind, r.tag == RootTag::Metastable ? c.kind : Metastability::None);
            EXPECT_FALSE(analysis::reasonText(m, i).empty());
        }
    }
}

// The explanation states the model's own vapour pressure and draws the same conclusion the
// tags do, ending on the stable root; a model with undefined parameters says so.
TEST(Properties, ExplanationFollowsTheChoice)
{
    const auto contains = [](const std::vector<std::string>& steps, const std::string& text) {
        return std::any_of(steps.begin(), steps.end(),
                           [&](const std::string& s) { return s.find(text) != std::string::npos; });
    };
    const analysis::Saturation pr = analysis::saturation(Model::PR, kBenzene, 298.15);
    ASSERT_TRUE(pr.converged());
    const std::string psat = state::formatSignificant(pr.p_bar, 4);
    const analysis::ModelExplanation above =
        analysis::explainModel(Model::PR, kBenzene, 298.15, 1, 78.11);
    EXPECT_TRUE(contains(above.steps, "P is above this model's vapour pressure " + psat +
                                          " bar, so its liquid root is the stable one."));
    EXPECT_TRUE(contains(above.steps, "Z^3 + (B - 1) Z^2"));
    EXPECT_TRUE(contains(above.steps, "subcooled vapour"));
    const analysis::ModelExplanation below =
        analysis::explainModel(Model::PR, kBenzene, 298.15, 0.05, 78.11);
    EXPECT_TRUE(contains(below.steps, "P is below this model's vapour pressure " + psat +
                                          " bar, so its vapour root is the stable one."));
    EXPECT_TRUE(contains(below.steps, "superheated liquid"));
    const std::string stableLiquid =
        "Stable root: V = " + state::formatSignificant(above.properties.roots[0].v_cm3mol, 6);
    EXPECT_EQ(above.steps.back().rfind(stableLiquid, 0), 0u) << above.steps.back();

    EXPECT_TRUE(contains(analysis::explainModel(Model::ESD, kTriethanolamine, 6273.15, 50, 0).steps,
                         "singular"));
    EXPECT_TRUE(contains(analysis::explainModel(Model::Vir, kBenzene, 298.15, 30, 0).steps,
                         "P is above that maximum"));
    const analysis::ModelExplanation broken =
        analysis::explainModel(Model::PR, fluid(0, 48.9, 259, 0.212), 298.15, 1, 0);
    EXPECT_EQ(broken.properties.count, 0);
    EXPECT_TRUE(contains(broken.steps, "undefined"));
}

} // namespace
