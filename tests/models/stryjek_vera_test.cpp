#include "model_fixtures.h"
#include "models/cubic_models.h"
#include "models/eos_parameters.h"
#include "models/model_roots.h"
#include "models/models.h"

#include <gtest/gtest.h>

// The two Peng-Robinson-Stryjek-Vera rows: a propane-like component (Tc 369.8 K,
// Pc 42.48 bar, ω 0.152, K1 0.03136) and the background rules of the vapour cell.
namespace {

using models::RootStatus;
using state::Col;
using state::Row;
using testing_models::hypothetical;
using testing_models::propaneLike;

TEST(StryjekVera, PropaneAt300K)
{
    struct Case {
        const char* name;
        float pressBar;
        RootStatus vaporStatus;
        int vaporUpdates;        // 0: not published
        double vapor, z, liquid; // published to the digits given; tolerance half a unit
        double vaporTol, liquidTol;
    };
    const Case kCases[] = {
        {"5 bar: both roots", 5, RootStatus::Converged, 4, 4562.5, 0.9146, 87.36, 0.05, 0.005},
        {"20 bar: vapour falls below b", 20, RootStatus::LeftBound, 0, 0, 0, 85.96, 0, 0.005},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const state::CalcState s = hypothetical(propaneLike(), 300, c.pressBar);
        const models::RootResult vap = models::vaporRootPRSV1(s);
        const models::RootResult liq = models::liquidRootPRSV1(s);
        EXPECT_EQ(vap.status, c.vaporStatus);
        if (c.vaporUpdates != 0) {
            EXPECT_EQ(vap.updates, c.vaporUpdates);
        }
        EXPECT_EQ(liq.status, RootStatus::Converged);
        EXPECT_NEAR(liq.volume, c.liquid, c.liquidTol);
        state::ResultSheet sheet;
        models::CalcPRSV1(s, sheet);
        if (c.vaporStatus == RootStatus::Converged) {
            EXPECT_NEAR(vap.volume, c.vapor, c.vaporTol);
            EXPECT_EQ(sheet.text(Row::PRSV1, Col::Vap), "4562.5");
            EXPECT_EQ(sheet.text(Row::PRSV1, Col::Z), "0.9146");
            EXPECT_EQ(sheet.text(Row::PRSV1, Col::Liq), "87.364");
        } else {
            EXPECT_EQ(sheet.text(Row::PRSV1, Col::Vap), "NC");
            EXPECT_EQ(sheet.text(Row::PRSV1, Col::Z), "NC");
            EXPECT_EQ(sheet.text(Row::PRSV1, Col::VD), "");
            EXPECT_EQ(sheet.text(Row::PRSV1, Col::Liq), "85.956");
        }
    }
}

// With K1 = 0 (and K2 = 0 for the second kind) both variants reduce to κ0 alone; and the
// second kind with K2 = 0 is the first kind. A zero K1 does not tint the PRSV1 row.
TEST(StryjekVera, ReduceToEachOtherWhenConstantsVanish)
{
    state::ComponentConstants k = propaneLike();
    const state::CalcState s = hypothetical(k, 300, 5);
    EXPECT_DOUBLE_EQ(models::stryjekVera2(s).kappa, models::stryjekVera1(s).kappa);

    k.K1 = 0;
    const state::CalcState s0 = hypothetical(k, 300, 5);
    EXPECT_EQ(models::stryjekVera1(s0).kappa, models::stryjekVeraKappa0(0.152f));
    state::ResultSheet sheet;
    sheet.setColor(Row::PRSV1, Col::Vap, state::kPaleRed);
    models::CalcPRSV1(s0, sheet);
    EXPECT_EQ(sheet.color(Row::PRSV1, Col::Vap), state::kWhite);

    // K1 = 0, K2 and K3 set: the bracket is K2·(K3 − Tr)·(1 − √Tr).
    k.K2 = 0.5f;
    k.K3 = 0.4f;
    const models::PengRobinsonForm f = models::stryjekVera2(hypothetical(k, 300, 5));
    const double sqrtTr = std::sqrt(f.Tr);
    EXPECT_NEAR(f.kappa - models::stryjekVeraKappa0(0.152f),
                0.5 * (0.4 - f.Tr) * (1 - sqrtTr) * (1 + sqrtTr) * (0.7 - f.Tr), 1e-7);
}

// At Tr = 1 exactly the K2 term vanishes with 1 − √Tr and α is exactly 1.
TEST(StryjekVera, AlphaIsOneAtTheCriticalTemperature)
{
    state::ComponentConstants k = propaneLike();
    k.K2 = 0.5f;
    k.K3 = 0.4f;
    const models::PengRobinsonForm f = models::stryjekVera2(hypothetical(k, k.CritTemp, 40));
    EXPECT_EQ(f.Tr, 1.0);
    EXPECT_EQ(f.alpha, 1.0);
}

TEST(StryjekVera, BackgroundOfTheVapourCell)
{
    struct Case {
        const char* name;
        float omega, k1, k2, k3;
        std::int32_t color;
    };
    const Case kCases[] = {
        {"all present", 0.152f, 0.03136f, 0.5f, 0.4f, state::kWhite},
        {"K3 missing is not marked", 0.152f, 0.03136f, 0.5f, 0, state::kWhite},
        {"K2 missing", 0.152f, 0.03136f, 0, 0.4f, state::kLightPink},
        {"K1 missing", 0.152f, 0, 0.5f, 0.4f, state::kLightPink},
        {"acentric factor missing", 0, 0.03136f, 0.5f, 0.4f, state::kPaleRed},
        {"acentric factor and K2 missing: the stronger mark", 0, 0.03136f, 0, 0.4f,
         state::kPaleRed},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        state::ComponentConstants k = propaneLike();
        k.AcentricF = c.omega;
        k.K1 = c.k1;
        k.K2 = c.k2;
        k.K3 = c.k3;
        state::ResultSheet sheet;
        sheet.setColor(Row::PRSV2, Col::Vap, 12345);
        models::CalcPRSV2(hypothetical(k, 300, 5), sheet);
        ASSERT_NE(sheet.text(Row::PRSV2, Col::Vap), "NC");
        EXPECT_EQ(sheet.color(Row::PRSV2, Col::Vap), c.color);
        for (Col col : {Col::SG, Col::Liq, Col::Z, Col::VD})
            EXPECT_EQ(sheet.color(Row::PRSV2, col), state::kWhite);
    }
}

TEST(StryjekVera, AboveCriticalShowsNaTcAndStillSolvesTheVapour)
{
    state::CalcState s = hypothetical(propaneLike(), 400, 5);
    s.flags.AboveCritical = true;
    state::ResultSheet sheet;
    models::CalcPRSV2(s, sheet);
    EXPECT_EQ(sheet.text(Row::PRSV2, Col::Liq), "NA->Tc");
    EXPECT_EQ(sheet.text(Row::PRSV2, Col::SG), "");
    EXPECT_NE(sheet.text(Row::PRSV2, Col::Vap), "");
    EXPECT_NE(sheet.text(Row::PRSV2, Col::Vap), "NC");
}

} // namespace
