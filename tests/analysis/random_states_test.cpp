// Random components and states through the whole analysis: every result either satisfies
// the identities or carries a status, and no number in the output is NaN or infinite. The
// optimised build runs 100,000 states (all nine models each); the sanitizer build, several
// times slower, runs 25,000 so that the suite stays within seconds. TAVREL1_RANDOM_STATES
// sets another count (the full 100,000 under the sanitizers runs in well under a minute).
#include "analysis/phase_analysis.h"
#include "analysis_checks.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <random>

namespace {

#ifdef TAVREL1_SANITIZED_BUILD
constexpr int kDefaultStates = 25'000;
#else
constexpr int kDefaultStates = 100'000;
#endif

int stateCount()
{
    const char* text = std::getenv("TAVREL1_RANDOM_STATES");
    int n = 0;
    if (text && std::from_chars(text, text + std::strlen(text), n).ec == std::errc() && n > 0)
        return n;
    return kDefaultStates;
}

bool finite(double x) { return std::isfinite(x); }

TEST(RandomStates, IdentitiesOrStatusNeverNaN)
{
    std::mt19937_64 rng(20261209);
    std::uniform_real_distribution<double> unit(0, 1);
    const auto logUniform = [&](double lo, double hi) { return lo * std::pow(hi / lo, unit(rng)); };
    const int states = stateCount();
    int saturated = 0, rooted = 0;
    for (int n = 0; n < states; ++n) {
        analysis::Fluid f;
        f.tc_K = logUniform(3, 2000);
        f.pc_bar = logUniform(1, 1000);
        f.vc_cm3mol = logUniform(20, 2000);
        f.omega = -0.3 + 1.8 * unit(rng);
        f.k1 = -0.1 + 0.2 * unit(rng);
        f.k2 = -1 + 2 * unit(rng);
        f.k3 = unit(rng);
        f.esdSpherical = unit(rng) < 0.1;
        const double t = f.tc_K * logUniform(0.3, 3);
        const double p = f.pc_bar * logUniform(1e-4, 1e2);
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

} // namespace
