// The user's measured points read in any unit the header names, and the scorecard's
// bookkeeping against the reference.
#include "core/reference_comparison.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

// One water point at 25 °C and 10 MPa (IAPWS-95: 1001.4 kg/m3, 55.59 mol/L, 17.99 cm3/mol)
// written in every unit a header may name: a missed offset (°C, °F), a factor (MPa, psia,
// g/cm3) or a mass/molar mix-up shows as a wrong volume.
TEST(ReferenceComparison, EveryUnitGivesTheSameVolume)
{
    constexpr double kM = 18.015268; // g/mol
    const struct {
        const char* csv;
        double v_cm3mol;
    } rows[] = {
        {"T [K],p [MPa],rho [kg/m3]\n298.15,10,1001.4\n", kM / 1.0014},
        {"temperature [C],pressure [bar],density [g/cm3]\n25,100,1.0014\n", kM / 1.0014},
        {"T [F],p [psia],rho [mol/L]\n77,1450.377,55.59\n", 1000 / 55.59},
        {"T [K],p [kPa],V [cm3/mol]\n298.15,10000,17.99\n", 17.99},
        {"T [K],p [MPa],V [m3/kmol]\n298.15,10,0.01799\n", 17.99},
        {"T [K],p [MPa],specific volume [cm3/g]\n298.15,10,0.9986\n", 0.9986 * kM},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.csv);
        const core::MeasuredData d = core::readMeasured(row.csv, kM);
        ASSERT_TRUE(d.error.empty()) << d.error;
        ASSERT_EQ(d.points.size(), 1u);
        EXPECT_NEAR(d.points[0].t_K, 298.15, 1e-9);
        EXPECT_NEAR(d.points[0].p_bar, 100, 1e-3);
        EXPECT_NEAR(*d.points[0].v_cm3mol / row.v_cm3mol, 1, 1e-12);
        EXPECT_EQ(d.points[0].line, 2);
    }
}

// Bad rows are named by line and left out; a header that cannot be used stops the file.
TEST(ReferenceComparison, BadRowsAreRejectedWithTheirLines)
{
    const core::MeasuredData d = core::readMeasured(
        "# comment\nT [K],psat [bar]\n300,0.0354\n\n310,abc\n320\n-5,1\n330,0.172\n", 18);
    EXPECT_TRUE(d.vapourPressure);
    ASSERT_EQ(d.points.size(), 2u);
    EXPECT_EQ(d.points[1].line, 8);
    ASSERT_EQ(d.rejected.size(), 3u);
    EXPECT_EQ(d.rejected[0].line, 5);
    EXPECT_EQ(d.rejected[1].line, 6);
    EXPECT_EQ(d.rejected[2].line, 7);
    for (const char* header : {"T,p [bar],rho [kg/m3]\n", "T [K],p [bar]\n", "T [K],p [m3]\n"})
        EXPECT_FALSE(core::readMeasured(header, 18).error.empty()) << header;
}

// The scorecard covers the stated range with the stated number of points, ranks by the
// overall AAD, and an AAD equals the mean of the deviations it is built from (checked for
// the vapour pressure by recomputing it here).
TEST(ReferenceComparison, RankingAndAverages)
{
    const reference::Fluid& f = *reference::Library::shipped().find("Propane");
    const analysis::Fluid models{369.83, 42.48, 200, 0.152};
    const core::Scorecard c = core::scorecard(f, models);
    EXPECT_NEAR(c.tFrom, 0.5 * f.tc, 1e-9);
    EXPECT_NEAR(c.tTo, 0.99 * f.tc, 1e-9);
    EXPECT_EQ(c.satPoints, 20);
    EXPECT_GT(c.gridPoints, 60);
    ASSERT_EQ(c.ranked.size(), 9u);
    for (std::size_t i = 1; i < c.ranked.size(); ++i) {
        if (c.ranked[i].overall) {
            EXPECT_LE(*c.ranked[i - 1].overall, *c.ranked[i].overall);
        }
    }
    for (const core::ModelScore& s : c.ranked) {
        if (s.model != analysis::Model::PR)
            continue;
        double sum = 0;
        for (int i = 0; i < 20; ++i) {
            const double t = c.tFrom + (c.tTo - c.tFrom) * i / 19;
            const double ref = reference::saturation(f, t).p_Pa / 1e5;
            sum += std::fabs(analysis::saturation(s.model, models, t).p_bar / ref - 1) * 100;
        }
        EXPECT_NEAR(*s.psat, sum / 20, 1e-9);
        EXPECT_FALSE(s.worstState.empty());
    }
}

} // namespace
