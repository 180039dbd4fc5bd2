#include "core/solve.h"

#include "core/antoine.h"
#include "models/models.h"

namespace core {
namespace {

constexpr float kTempFloor_K = 87.0f;   // below it the state is taken as solid
constexpr double kPressBand_bar = 0.01; // half-width of the two-phase band around p_sat

using Lines = std::array<std::string_view, 3>;

constexpr Lines kNoComponent{"No Component Selected -", "Choose a Component from the list (with",
                             "non-zero critical constants) and Solve."};
constexpr Lines kNoPressure{"State Pressure NOT Specified -",
                            "Enter a State Pressure (bar) other than",
                            "zero and click on Solve again."};
constexpr Lines kTooCold{"State Temperature Too LOW -", "Liquid and Vapor Phase Volumes",
                         "Not Calculable. (SOLID Phase Conditions)"};
constexpr Lines kAboveCritical{"Single-Phase Vapor State Conditions -",
                               "Temperature greater than CRITICAL",
                               "Molar Volume for Liquid Not Calculable."};
constexpr Lines kNoSaturation{"Antoine Vapor Pressure NOT Calculable",
                              "at this Temperature: two-phase check",
                              "skipped; both Molar Volumes calculated."};
constexpr Lines kSubcooled{"Single-Phase Sub-cooled Liquid State Conditions -",
                           "Molar Volume calculated values for VAPOR",
                           "would be for hypothetical sub-cooled vapor."};
constexpr Lines kSuperheated{"Single-Phase Super-heated Vapor State Conditions -",
                             "Molar Volume calculated values for LIQUID",
                             "would be for hypothetical super-heated liquid."};
constexpr Lines kTwoPhase{"Two-phase Equilibrium State Conditions -",
                          "Molar Volume calculated values for VAPOR",
                          "and LIQUID at equilibrium conditions."};

/// A case that computes nothing: all three flags false.
Classification refused(SolveCase kind, const Lines& message, bool clearsOption)
{
    return {kind, false, false, false, false, clearsOption, message};
}

/// A case the models run for.
Classification computed(SolveCase kind, bool liquid, bool vapor, bool above,
                        std::optional<Lines> message, bool clearsOption)
{
    return {kind, liquid, vapor, above, true, clearsOption, message};
}

} // namespace

Classification classifyState(const state::CalcState& s, std::optional<float> typedTemp_C)
{
    const state::ComponentConstants& cc = s.constants;
    const state::StateConditions& sc = s.conditions;

    // The models divide by these; a solve before a component or a pressure is known is refused
    // here rather than filled with markers that would look like results.
    if (cc.CritTemp == 0.0f || cc.CritPress == 0.0f)
        return refused(SolveCase::NoComponent, kNoComponent, false);
    if (sc.PressBar == 0.0f)
        return refused(SolveCase::NoPressure, kNoPressure, false);
    if (sc.TempK < kTempFloor_K)
        return refused(SolveCase::TooCold, kTooCold, true);
    if (sc.TempK > cc.CritTemp)
        return computed(SolveCase::AboveCritical, false, true, true, kAboveCritical, true);
    if (!s.flags.AntoineAvailable)
        return computed(SolveCase::NoAntoine, true, true, false, std::nullopt, false);

    // The comparison uses the typed °C value; when the box no longer holds a number (it was
    // erased after a rejected entry) the stored kelvin value stands in for it.
    const float t_C = typedTemp_C.value_or(
        static_cast<float>(static_cast<double>(sc.TempK) - state::kCelsiusToKelvin));
    const std::optional<double> psat = SaturationPressure(s.antoine, t_C);
    const double p = static_cast<double>(sc.PressBar);
    if (!psat)
        return computed(SolveCase::NoSaturation, true, true, false, kNoSaturation, true);
    if (*psat < p - kPressBand_bar)
        return computed(SolveCase::SubcooledLiquid, true, false, false, kSubcooled, true);
    if (*psat > p + kPressBand_bar)
        return computed(SolveCase::SuperheatedVapor, false, true, false, kSuperheated, true);
    return computed(SolveCase::TwoPhase, true, true, false, kTwoPhase, false);
}

void runModels(const state::CalcState& s, state::ResultSheet& sheet)
{
    for (const models::ModelEntry& m : models::kModels)
        m.calc(s, sheet);
}

Classification solve(state::CalcState& s, std::optional<float> typedTemp_C,
                     state::ResultSheet& sheet)
{
    sheet.ClearResults();
    const Classification c = classifyState(s, typedTemp_C);
    s.flags.CalcLiquid = c.calcLiquid;
    s.flags.CalcVapor = c.calcVapor;
    s.flags.AboveCritical = c.aboveCritical;
    if (c.runsModels)
        runModels(s, sheet);
    return c;
}

} // namespace core
