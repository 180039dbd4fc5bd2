#include "core/calculation.h"

#include "core/antoine.h"
#include "state/number_format.h"

#include <cmath>
#include <limits>

namespace core {
namespace {

const MessageBox kTempError{"Invalid or Incorrect Temperature", "Temperature ERROR"};
const MessageBox kPressError{"Invalid or Incorrect Pressure", "Pressure ERROR"};

/// A double that a float can hold without overflow (the conversion is undefined otherwise).
bool fitsFloat(double x)
{
    return std::isfinite(x) &&
           std::fabs(x) <= static_cast<double>(std::numeric_limits<float>::max());
}

void clearTwoPhase(Form& f) { f.twoPhaseSelected = {false, false}; }

/// Refuses a two-phase click: the message, and the clicked button not selected.
void refuseClick(Form& f, int index, std::string_view l1, std::string_view l2, std::string_view l3)
{
    setMessage(f, l1, l2, l3);
    f.twoPhaseSelected[static_cast<std::size_t>(index)] = false;
}

void refuseAboveCritical(Form& f, int index)
{
    refuseClick(f, index, "State Temperature greater than Critical",
                "Temperature. Two-phase Equilibrium", "conditions NOT possible.");
}

/// The saturation pressure at t °C, as the float the state holds; when the Antoine equation
/// has no finite value there, the click is refused and nothing is returned.
std::optional<float> linePressure(Form& f, int index, float t_C)
{
    const std::optional<double> psat = SaturationPressure(f.state.antoine, t_C);
    if (!psat || !fitsFloat(*psat)) {
        refuseClick(f, index, "Saturation Pressure NOT calculable",
                    "from the Antoine co-efficients at", "this Temperature. Enter another value.");
        return std::nullopt;
    }
    return static_cast<float>(*psat);
}

void putOnLine(Form& f, float pressBar)
{
    setMessage(f, "State Temperature less than Critical", "Temperature. Two-phase Equilibrium",
               "conditions exist at calculated PRESSURE.");
    f.state.conditions.PressBar = pressBar;
    f.press = *state::formatPattern(pressBar, state::kFmtPressBox);
}

Effects clickTemperature(Form& f)
{
    // A box that does not hold a number counts as empty: nothing can be computed from it.
    const std::optional<float> t_C = state::toFloat(f.temp);
    if (!t_C) {
        refuseClick(f, 0, "Equilibrium Temperature NOT Specified",
                    "Enter State Temperature and click on",
                    "Two-phase Equlibrium Temperature again");
        return {std::nullopt, FocusTarget::txtTemp};
    }
    if (state::kelvinFromCelsius(*t_C) > f.state.constants.CritTemp) {
        refuseAboveCritical(f, 0);
        return {};
    }
    if (const std::optional<float> p = linePressure(f, 0, *t_C))
        putOnLine(f, *p);
    return {};
}

Effects clickPressure(Form& f)
{
    const std::optional<float> p_bar = state::toFloat(f.press);
    if (!p_bar) {
        refuseClick(f, 1, "Equilibrium Pressure NOT Specified", "Enter State Pressure and click on",
                    "Two-phase Equlibrium Pressure again");
        return {std::nullopt, FocusTarget::txtPress};
    }
    // Everything is computed before anything is written, so a pressure outside the Antoine
    // equation's reach leaves the boxes and the state as they were.
    const std::optional<double> tsat = SaturationTemperature(f.state.antoine, *p_bar);
    const std::optional<std::string> tsatText =
        tsat ? state::formatPattern(*tsat, state::kFmtTempBox) : std::nullopt;
    const std::optional<float> t_C = tsatText ? state::toFloat(*tsatText) : std::nullopt;
    if (!t_C) {
        refuseClick(f, 1, "Saturation Temperature NOT calculable",
                    "from the Antoine co-efficients at", "this Pressure. Enter another value.");
        return {};
    }
    const float tempK = state::kelvinFromCelsius(*t_C);
    if (tempK > f.state.constants.CritTemp) {
        f.temp = *tsatText;
        f.state.conditions.TempK = tempK;
        refuseAboveCritical(f, 1);
        return {};
    }
    if (const std::optional<float> p = linePressure(f, 1, *t_C)) {
        f.temp = *tsatText;
        f.state.conditions.TempK = tempK;
        putOnLine(f, *p);
    }
    return {};
}

} // namespace

void setMessage(Form& f, std::string_view line1, std::string_view line2, std::string_view line3)
{
    f.message.assign(line1);
    f.message += "\r\n";
    f.message += line2;
    f.message += "\r\n";
    f.message += line3;
}

void chooseComponent(Form& f, const state::Component& c)
{
    const std::string prefix = "Antoine co-efficients for " + c.name;
    f.state.flags.AntoineAvailable = c.antoine.has_value();
    if (c.antoine) {
        setMessage(f, prefix + " found", "in COMPONENT Database.",
                   "Can check for two-phase conditions.");
        f.twoPhaseEnabled = {true, true};
        clearTwoPhase(f);
        f.state.antoine = *c.antoine;
    } else {
        setMessage(f, prefix + " NOT Found", "in COMPONENT Database.",
                   "Can NOT check for two-phase solution.");
        f.twoPhaseEnabled = {false, false};
    }
    f.state.constants = c.constants;
    f.component = c.name;
}

Effects takeTemperature(Form& f)
{
    const std::optional<float> t_C = state::toFloat(f.temp);
    if (!t_C) {
        f.temp.clear();
        return {kTempError, FocusTarget::txtTemp};
    }
    f.state.conditions.TempK = state::kelvinFromCelsius(*t_C);
    const float critTemp = f.state.constants.CritTemp;

    if (f.state.conditions.TempK >= critTemp) {
        setMessage(f, "State Condition Temperature is greater than",
                   "the CRITICAL Temperature -> VAPOR phase",
                   "conditions only. LIQUID Molar Volume not calculated.");
        clearTwoPhase(f);
    } else if (f.state.flags.AntoineAvailable) {
        const std::string line2 =
            "the CRITICAL Temperature (" + state::formatSignificant(critTemp, 7) + " K)";
        const std::optional<double> psat = SaturationPressure(f.state.antoine, *t_C);
        const std::optional<std::string> psatText =
            psat ? state::formatPattern(*psat, state::kFmtPsatMessage) : std::nullopt;
        if (psatText)
            setMessage(f, "State Condition Temperature is less than", line2,
                       "LIQUID phase at PRESSURE > " + *psatText + " bar");
        else
            setMessage(f, "State Condition Temperature is less than", line2,
                       "Saturation Pressure NOT calculable here.");
        clearTwoPhase(f);
    }
    return {};
}

Effects takePressure(Form& f)
{
    if (!state::isNumeric(f.temp))
        return {};
    const std::optional<float> p_bar = state::toFloat(f.press);
    if (!p_bar) {
        f.press.clear();
        return {kPressError, FocusTarget::txtPress};
    }
    f.state.conditions.PressBar = *p_bar;
    return {};
}

Effects clickTwoPhase(Form& f, int index)
{
    // A click on the button that is already selected changes nothing.
    if ((index != 0 && index != 1) || f.twoPhaseSelected[static_cast<std::size_t>(index)])
        return {};
    f.twoPhaseSelected = {index == 0, index == 1};
    return index == 0 ? clickTemperature(f) : clickPressure(f);
}

Classification solveForm(Form& f)
{
    const Classification c = solve(f.state, state::toFloat(f.temp), f.sheet);
    const std::optional<float> typedPress = state::toFloat(f.press);
    if (c.kind == SolveCase::NoPressure && typedPress && *typedPress != 0.0f)
        // A pressure typed while the temperature box held no number was never taken in; the
        // box shows it all the same, so the zero message would contradict the screen.
        setMessage(f, "State Pressure NOT Stored -", "Enter the State Temperature first,",
                   "then the Pressure again, and Solve.");
    else if (c.message)
        setMessage(f, (*c.message)[0], (*c.message)[1], (*c.message)[2]);
    if (c.clearsTwoPhaseOption)
        clearTwoPhase(f);
    return c;
}

Calculation calculate(const CalcRequest& r)
{
    Calculation calc;
    Form& f = calc.form;
    chooseComponent(f, r.component);
    const auto refusedBy = [&](const Effects& fx) {
        if (fx.message) {
            calc.refusal = fx.message->prompt;
            calc.refusalIsMessageBox = true;
        }
        return fx.message.has_value();
    };
    f.temp = r.temp;
    if (refusedBy(takeTemperature(f)))
        return calc;
    f.press = r.press;
    if (refusedBy(takePressure(f)))
        return calc;
    if (r.twoPhase) {
        // The window disables both buttons for a component without Antoine coefficients; a
        // click there would take zero coefficients for a saturation line (0.01 bar).
        if (!f.twoPhaseEnabled.at(static_cast<std::size_t>(*r.twoPhase))) {
            calc.refusal = "two-phase conditions need the Antoine co-efficients, and " +
                           r.component.name + " has none";
            return calc;
        }
        clickTwoPhase(f, *r.twoPhase);
    }
    f.state.chkStCalc = r.hypothetical;
    f.state.chkSphMol = r.spherical;
    calc.classification = solveForm(f);
    return calc;
}

} // namespace core
