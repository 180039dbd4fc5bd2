#include "models/collapse_iteration.h"
#include "models/cubic_scheme.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

// The iteration rules on scripted models whose updates are chosen to sit exactly on a rule's
// edge: the cap, the order of the bound and tolerance tests, the single-precision liquid bound.
namespace {

using models::RootStatus;

// Alternates between 1000 and 1100 (far from the tolerance) until update `settleAt`, which
// repeats the previous iterate and so meets the tolerance there for the first time.
struct ScriptedModel {
    double b = 1;
    double rtp = 5000;
    int settleAt = 1;
    double finalValue = 0; // 0: repeat the previous iterate
    mutable int calls = 0;
    bool finite() const { return true; }
    double next(double vOld) const
    {
        ++calls;
        if (calls >= settleAt)
            return finalValue != 0 ? finalValue : vOld;
        return calls % 2 ? 1000.0 : 1100.0;
    }
    double vaporUpdate(double vOld) const { return next(vOld); }
    double liquidUpdate(double vOld) const { return next(vOld); }
};

TEST(CubicScheme, EightyUpdatesAreTestedAndTheEightyFirstAlwaysFails)
{
    struct Case {
        int settleAt;
        RootStatus status;
        int updates;
    };
    const Case kCases[] = {{1, RootStatus::Converged, 1},
                           {80, RootStatus::Converged, 80},
                           {81, RootStatus::CapReached, 81}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.settleAt);
        const models::RootResult vap = models::cubicVaporRoot(ScriptedModel{1, 5000, c.settleAt});
        EXPECT_EQ(vap.status, c.status);
        EXPECT_EQ(vap.updates, c.updates);
        const models::RootResult liq = models::cubicLiquidRoot(ScriptedModel{1, 5000, c.settleAt});
        EXPECT_EQ(liq.status, c.status);
        EXPECT_EQ(liq.updates, c.updates);
        const models::RootResult collapse = models::collapseBoundedRoot(
            5000.0, [m = ScriptedModel{1, 5000, c.settleAt}](double v) { return m.next(v); });
        EXPECT_EQ(collapse.status, c.status);
        EXPECT_EQ(collapse.updates, c.updates);
    }
}

// The relative change must be strictly below the float tolerance 0.0001f = 9.9999997e-5.
TEST(CubicScheme, ToleranceIsStrictAndHeldInSinglePrecision)
{
    bool fault = false;
    EXPECT_TRUE(models::meetsTolerance(1.0 + 0.99999e-4, 1.0, fault));
    EXPECT_FALSE(models::meetsTolerance(1.0 + 1.0e-4, 1.0, fault)); // above the float tolerance
    EXPECT_FALSE(models::meetsTolerance(1.0, 0.0, fault));
    EXPECT_TRUE(fault);
}

// An update whose relative change equals the tolerance exactly has not met it: 1 + tol and 1
// are exact in double (tol has 24 significant bits), so (vOld - v)/v is tol itself. One ulp
// closer and the same update converges.
TEST(CubicScheme, ChangeEqualToTheToleranceDoesNotConverge)
{
    const double onTolerance = 1.0 + models::kTolerance;
    ASSERT_EQ((onTolerance - 1.0) / 1.0, models::kTolerance);
    struct Case {
        const char* name;
        double start;
        int updates;
    };
    const Case kCases[] = {{"equal: one more update", onTolerance, 2},
                           {"one ulp below: converged", std::nextafter(onTolerance, 1.0), 1}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        // Vapour from R·T/P = start, liquid from b = start; every update returns 1.
        const models::RootResult vap = models::cubicVaporRoot(ScriptedModel{0.5, c.start, 1, 1.0});
        EXPECT_EQ(vap.status, RootStatus::Converged);
        EXPECT_EQ(vap.updates, c.updates);
        const models::RootResult liq = models::cubicLiquidRoot(ScriptedModel{c.start, 50, 1, 1.0});
        EXPECT_EQ(liq.status, RootStatus::Converged);
        EXPECT_EQ(liq.updates, c.updates);
        const models::RootResult collapse =
            models::collapseBoundedRoot(c.start, [](double) { return 1.0; });
        EXPECT_EQ(collapse.status, RootStatus::Converged);
        EXPECT_EQ(collapse.updates, c.updates);
    }
}

// The bound is tested before the tolerance: an iterate that leaves the range fails even when
// it also meets the tolerance.
TEST(CubicScheme, BoundIsTestedBeforeTolerance)
{
    // Vapour: 4999.9 meets the tolerance against R·T/P = 5000 but lies below b = 4999.95.
    const models::RootResult vap = models::cubicVaporRoot(ScriptedModel{4999.95, 5000, 1, 4999.9});
    EXPECT_EQ(vap.status, RootStatus::LeftBound);
    EXPECT_EQ(vap.updates, 1);
    // Liquid: starts at b = 100 and steps to 100.005, within the tolerance but above
    // R·T/P = 100.001 in single precision.
    const models::RootResult liq = models::cubicLiquidRoot(ScriptedModel{100, 100.001, 1, 100.005});
    EXPECT_EQ(liq.status, RootStatus::LeftBound);
    // Collapse bound R·T/(10·P) = 100: an iterate of 99.999 fails though it meets the tolerance
    // against its predecessor 100.
    const models::RootResult collapse =
        models::collapseBoundedRoot(1000.0, [](double) { return 99.999; });
    EXPECT_EQ(collapse.status, RootStatus::LeftBound);
}

// The liquid bound compares in single precision: an iterate above R·T/P in double that rounds
// to the same float is not above it.
TEST(CubicScheme, LiquidBoundComparesFloats)
{
    const double rtp = 100.0;
    const double justAbove = 100.0 + 1e-6; // rounds to 100.0f
    ASSERT_EQ(static_cast<float>(justAbove), 100.0f);
    const models::RootResult liq =
        models::cubicLiquidRoot(ScriptedModel{99.999, rtp, 1, justAbove});
    EXPECT_EQ(liq.status, RootStatus::Converged);
}

TEST(CubicScheme, FaultsEndTheRootInsteadOfRunningOn)
{
    struct Case {
        const char* name;
        double value;
    };
    const Case kCases[] = {{"NaN", models::kNaN},
                           {"infinity", std::numeric_limits<double>::infinity()},
                           {"beyond the float range", -1e39}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(models::cubicLiquidRoot(ScriptedModel{1, 5000, 1, c.value}).status,
                  RootStatus::ArithmeticFault);
        EXPECT_EQ(models::collapseBoundedRoot(1000.0, [&](double) { return c.value; }).status,
                  RootStatus::ArithmeticFault);
    }
    EXPECT_EQ(models::cubicVaporRoot(ScriptedModel{1, 5000, 1, models::kNaN}).status,
              RootStatus::ArithmeticFault);
    EXPECT_TRUE(std::isnan(models::roundToSingle(3.5e38)));
    EXPECT_EQ(models::roundToSingle(-3.4e38), static_cast<double>(-3.4e38f));
    EXPECT_TRUE(std::isnan(models::quot(1, 0)));
}

} // namespace
