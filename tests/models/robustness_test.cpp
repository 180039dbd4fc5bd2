#include "model_fixtures.h"
#include "models/models.h"

#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>
#include <iostream>
#include <limits>
#include <random>

// Whatever the state holds (no component chosen, no pressure accepted, or extreme, negative,
// subnormal, infinite or NaN values), every model must finish and leave each cell empty, "NC",
// "NA->Tc" or a finite number in fixed-decimal form. Run under ASan+UBSan (with
// float-divide-by-zero added) this also shows that no path divides by zero.
namespace {

void runAll(const state::CalcState& s, state::ResultSheet& sheet)
{
    for (const models::ModelEntry& m : models::kModels)
        m.calc(s, sheet);
}

// ^-?[0-9]+\.[0-9]+$, without the cost of std::regex over millions of cells.
bool isFixedDecimal(const std::string& t)
{
    std::size_t i = t.size() > 0 && t[0] == '-' ? 1 : 0;
    const std::size_t intStart = i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9')
        ++i;
    if (i == intStart || i == t.size() || t[i] != '.')
        return false;
    const std::size_t fracStart = ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9')
        ++i;
    return i > fracStart && i == t.size();
}

::testing::AssertionResult sheetIsClean(const state::ResultSheet& sheet)
{
    for (state::CellId id : state::allCells()) {
        const std::string& t = sheet.cell(id).text;
        const bool marker = t.empty() || t == "NC" || t == "NA->Tc";
        if (!marker && !isFixedDecimal(t))
            return ::testing::AssertionFailure() << state::cellName(id) << " shows \"" << t << '"';
        if (t == "NA->Tc" && id.col != state::Col::Liq)
            return ::testing::AssertionFailure() << "NA->Tc in " << state::cellName(id);
    }
    return ::testing::AssertionSuccess();
}

TEST(Robustness, ZeroPressureAndMissingConstantsGiveNcNeverGarbage)
{
    struct Case {
        const char* name;
        state::ComponentConstants constants;
        float tempK, pressBar;
    };
    const Case kCases[] = {
        {"nothing chosen yet", {}, 0, 0},
        {"no pressure accepted", testing_models::benzeneLike(), 298.15f, 0},
        {"zero critical constants", {78.11f, 0, 0, 0, 0, 0, 0, 0}, 298.15f, 1},
        {"zero critical pressure", {78.11f, 562.1f, 0, 259, 0.212f, 0, 0, 0}, 298.15f, 1},
        {"zero critical temperature", {78.11f, 0, 48.9f, 259, 0.212f, 0, 0, 0}, 298.15f, 1},
        {"zero temperature", testing_models::benzeneLike(), 0, 1},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        state::ResultSheet sheet;
        runAll(testing_models::hypothetical(c.constants, c.tempK, c.pressBar), sheet);
        EXPECT_TRUE(sheetIsClean(sheet));
        if (c.pressBar == 0 || c.constants.CritPress == 0) {
            // R·T/P or every parameter is undefined: every attempted root fails.
            for (state::CellId id : state::allCells()) {
                const bool virialIgnoresPc = id.row == state::Row::Vir && c.pressBar != 0;
                if (id.col != state::Col::SG && id.col != state::Col::VD && !virialIgnoresPc) {
                    EXPECT_EQ(sheet.cell(id).text, "NC") << state::cellName(id);
                }
            }
        }
    }
}

float randomFloat(std::mt19937& rng)
{
    static const float kSpecial[] = {0.0f,
                                     -0.0f,
                                     1.0f,
                                     -1.0f,
                                     1e-30f,
                                     -1e-30f,
                                     1e-40f, // subnormal
                                     -1e-45f,
                                     FLT_MIN,
                                     FLT_MAX,
                                     -FLT_MAX,
                                     1e20f,
                                     3e38f,
                                     std::numeric_limits<float>::infinity(),
                                     -std::numeric_limits<float>::infinity(),
                                     std::numeric_limits<float>::quiet_NaN()};
    std::uniform_int_distribution<int> kind(0, 9);
    switch (kind(rng)) {
    case 0: {
        std::uniform_int_distribution<std::size_t> pick(0, std::size(kSpecial) - 1);
        return kSpecial[pick(rng)];
    }
    case 1: {
        // Any magnitude: a random exponent over the whole float range, either sign.
        std::uniform_real_distribution<float> exponent(-45.0f, 38.5f);
        const float magnitude = std::pow(10.0f, exponent(rng));
        return std::bernoulli_distribution(0.5)(rng) ? -magnitude : magnitude;
    }
    default: {
        // Mostly plausible values, where the iterations actually run long.
        std::uniform_real_distribution<float> plausible(-0.5f, 1000.0f);
        return plausible(rng);
    }
    }
}

TEST(Robustness, RandomStatesLeaveOnlyMarkersAndFiniteNumbers)
{
    std::mt19937 rng(20261209);
    std::bernoulli_distribution coin(0.5);
    state::ResultSheet sheet;
    constexpr int kStates = 100000;
    long numbers = 0; // the test is only worth something if many roots do converge
    for (int n = 0; n < kStates; ++n) {
        state::CalcState s;
        s.constants = {randomFloat(rng), randomFloat(rng), randomFloat(rng), randomFloat(rng),
                       randomFloat(rng), randomFloat(rng), randomFloat(rng), randomFloat(rng)};
        s.conditions = {randomFloat(rng), randomFloat(rng)};
        s.flags = {coin(rng), coin(rng), coin(rng), coin(rng)};
        s.chkStCalc = coin(rng);
        s.chkSphMol = coin(rng);
        sheet.ClearResults();
        runAll(s, sheet);
        const ::testing::AssertionResult clean = sheetIsClean(sheet);
        if (!clean) {
            ADD_FAILURE() << "state " << n << ": " << clean.message() << " (T "
                          << s.conditions.TempK << ", P " << s.conditions.PressBar << ", Tc "
                          << s.constants.CritTemp << ", Pc " << s.constants.CritPress << ", Vc "
                          << s.constants.CritVol << ", w " << s.constants.AcentricF << ")";
            return;
        }
        for (state::CellId id : state::allCells()) {
            const std::string& t = sheet.cell(id).text;
            numbers += !t.empty() && t != "NC" && t != "NA->Tc";
            const std::int32_t color = sheet.cell(id).color;
            ASSERT_TRUE(color == state::kWhite || color == state::kPaleRed ||
                        color == state::kLightPink);
        }
    }
    EXPECT_GT(numbers, kStates);
    std::cout << "[          ] " << numbers << " numeric cells\n";
}

} // namespace
