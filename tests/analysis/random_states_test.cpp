// Random components and states through the whole analysis: every result either satisfies
// the identities or carries a status, and no number in the output is NaN or infinite. The
// optimised build runs 100,000 states (all nine models each); the sanitizer build, several
// times slower, runs 25,000 so that the suite stays within seconds. The properties and the
// explanation take a fifth of that. TAVREL1_RANDOM_STATES sets another count for both (the
// full 100,000 under the sanitizers runs in about a minute).
#include "analysis/phase_analysis.h"
#include "analysis/properties.h"
#include "analysis/root_explanation.h"
#include "analysis_checks.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace {

#ifdef TAVREL1_SANITIZED_BUILD
constexpr int kDefaultStates = 25'000;
#else
constexpr int kDefaultStates = 100'000;
#endif

// The count TAVREL1_RANDOM_STATES asks for, or the given default.
int stateCount(int fallback)
{
    const char* text = std::getenv("TAVREL1_RANDOM_STATES");
    int n = 0;
    if (text && std::from_chars(text, text + std::strlen(text), n).ec == std::errc() && n > 0)
        return n;
    return fallback;
}

// A component and a state drawn over the range the program meets and far beyond it.
class StateDraw {
public:
    explicit StateDraw(std::uint64_t seed) : m_rng(seed) {}
    struct State {
        analysis::Fluid f;
        double t_K, p_bar;
    };
    State next()
    {
        State s;
        s.f.tc_K = logUniform(3, 2000);
        s.f.pc_bar = logUniform(1, 1000);
        s.f.vc_cm3mol = logUniform(20, 2000);
        s.f.omega = -0.3 + 1.8 * unit();
        s.f.k1 = -0.1 + 0.2 * unit();
        s.f.k2 = -1 + 2 * unit();
        s.f.k3 = unit();
        s.f.esdSpherical = unit() < 0.1;
        s.t_K = s.f.tc_K * logUniform(0.3, 3);
        s.p_bar = s.f.pc_bar * logUniform(1e-4, 1e2);
        return s;
    }
    double unit() { return m_unit(m_rng); }
    double logUniform(double lo, double hi) { return lo * std::pow(hi / lo, unit()); }

private:
    std::mt19937_64 m_rng;
    std::uniform_real_distribution<double> m_unit{0, 1};
};

bool finite(double x) { return std::isfinite(x); }

TEST(RandomStates, IdentitiesOrStatusNeverNaN)
{
    StateDraw draw(20261209);
    const int states = stateCount(kDefaultStates);
    int saturated = 0, rooted = 0;
    for (int n = 0; n < states; ++n) {
        const auto [f, t, p] = draw.next();
        const analysis::StateAnalysis a = analysis::analyseState(f, t, p);
        for (const analysis::ModelAnalysis& m : a.models) {
            const analysis::Saturation& s = m.saturation;
            const analysis::CriticalPoint& c = m.critical;
            ASSERT_TRUE(finite(s.p_bar) && finite(s.vLiquid) && finite(s.vVapour) &&
                        finite(s.lnPhi) && finite(c.t_K) && finite(c.p_bar) && finite(c.v_cm3mol))
                << "state " << n << ", model " << static_cast<int>(m.model);
            if (s.converged()) {
                ++saturated;
                ASSERT_TRUE(testing_analysis::saturationIdentities(m.model, f, s))
                    << "state " << n << ", model " << static_cast<int>(m.model);
            }
            const analysis::StateRoots& r = m.roots;
            ASSERT_EQ(r.status == analysis::RootsStatus::Found ||
                          r.status == analysis::RootsStatus::Singular,
                      r.count > 0);
            if (r.count > 0)
                ++rooted;
            const analysis::Isotherm iso = analysis::makeIsotherm(m.model, f, t);
            for (int i = 0; i < r.count; ++i) {
                const analysis::VolumeRoot& root = r.roots[static_cast<std::size_t>(i)];
                ASSERT_TRUE(finite(root.v_cm3mol) && finite(root.z) && finite(root.lnPhi));
                ASSERT_NEAR(analysis::pressure(iso, root.v_cm3mol) / p, 1,
                            1e-9 + testing_analysis::volumeResolution(iso, root.v_cm3mol, p))
                    << "state " << n << ", model " << static_cast<int>(m.model) << ", root " << i;
            }
        }
    }
    // The draw must exercise both sides: most models give roots, many give a vapour pressure.
    EXPECT_GT(rooted, states * 8);
    EXPECT_GT(saturated, states);
}

// Every property of every root of every model, and every parameter, is a finite number or
// comes with a status; roots ascend in V and only physical ones carry properties; the
// explanation (for one state in twenty: it solves for the vapour pressure) ends on the stable
// root exactly when there is one.
TEST(RandomStates, PropertiesFiniteOrStatus)
{
    StateDraw draw(20261210);
    const int states = stateCount(kDefaultStates / 5);
    int withProperties = 0;
    for (int n = 0; n < states; ++n) {
        const auto [f, t, p] = draw.next();
        const double mw = draw.unit() < 0.2 ? 0 : draw.logUniform(2, 500);
        const analysis::StateProperties all = analysis::stateProperties(f, t, p, mw);
        for (const analysis::ModelProperties& m : all.models) {
            SCOPED_TRACE(testing::Message()
                         << "state " << n << ", model " << static_cast<int>(m.model));
            for (int i = 0; i < m.parameters.itemCount; ++i)
                ASSERT_TRUE(finite(m.parameters.items[static_cast<std::size_t>(i)].value));
            ASSERT_LE(m.count, static_cast<int>(m.roots.size()));
            ASSERT_EQ(analysis::stableStatusText(m) == "found" ||
                          analysis::stableStatusText(m) == "singular",
                      m.stableProperties().has_value());
            for (int i = 0; i < m.count; ++i) {
                const analysis::TaggedRoot& r = m.roots[static_cast<std::size_t>(i)];
                ASSERT_TRUE(finite(r.v_cm3mol) && finite(r.z));
                ASSERT_TRUE(i == 0 ||
                            m.roots[static_cast<std::size_t>(i - 1)].v_cm3mol < r.v_cm3mol);
                if (r.tag == analysis::RootTag::Unphysical || !r.properties) {
                    ASSERT_FALSE(r.properties);
                    ASSERT_TRUE(r.tag == analysis::RootTag::Unphysical ||
                                r.status == analysis::PropertyStatus::NotRepresentable);
                    continue;
                }
                ++withProperties;
                for (const analysis::NamedProperty& np : analysis::namedProperties(*r.properties))
                    ASSERT_TRUE(np.value ? finite(*np.value) &&
                                               np.status == analysis::PropertyStatus::Defined
                                         : np.status != analysis::PropertyStatus::Defined)
                        << np.key;
                ASSERT_EQ(r.properties->density_kg_m3.has_value(), mw > 0);
            }
        }
        if (n % 20 == 0)
            for (const analysis::ModelExplanation& e : analysis::explainState(f, t, p, mw)) {
                ASSERT_GE(e.steps.size(), 2u);
                ASSERT_EQ(e.steps.back().rfind("Stable root: ", 0) == 0, e.properties.stable >= 0)
                    << e.steps.back();
            }
    }
    EXPECT_GT(withProperties, states * 8);
}

} // namespace
