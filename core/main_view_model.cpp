#include "core/main_view_model.h"

#include "core/saturation.h"
#include "core/solve.h"
#include "state/number_format.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace core {
namespace {

constexpr std::size_t kGotFocusSelection = 9;

const MessageBox kTempError{"Invalid or Incorrect Temperature", "Temperature ERROR"};
const MessageBox kPressError{"Invalid or Incorrect Pressure", "Pressure ERROR"};

/// °C text value to kelvin: the sum is formed in double and rounded once to float.
float toKelvin(float t_C)
{
    return static_cast<float>(static_cast<double>(t_C) + kCelsiusToKelvin);
}

/// A double that a float can hold without overflow (the conversion is undefined otherwise).
bool fitsFloat(double x)
{
    return std::isfinite(x) &&
           std::fabs(x) <= static_cast<double>(std::numeric_limits<float>::max());
}

} // namespace

void MainViewModel::setStCond(std::string_view line1, std::string_view line2,
                              std::string_view line3)
{
    m_lblStCond.assign(line1);
    m_lblStCond += "\r\n";
    m_lblStCond += line2;
    m_lblStCond += "\r\n";
    m_lblStCond += line3;
}

void MainViewModel::clearOptEqState() { m_optSelected = {false, false}; }

void MainViewModel::selectOptEqState(int index) { m_optSelected = {index == 0, index == 1}; }

void MainViewModel::setOptEqStateEnabled(bool enabled) { m_optEnabled = {enabled, enabled}; }

void MainViewModel::componentChosen(std::string_view name,
                                    const state::ComponentConstants& constants,
                                    const std::optional<state::AntoineCoefficients>& antoine)
{
    const std::string prefix = "Antoine co-efficients for " + std::string(name);
    m_state.flags.AntoineAvailable = antoine.has_value();
    if (antoine) {
        setStCond(prefix + " found", "in COMPONENT Database.",
                  "Can check for two-phase conditions.");
        setOptEqStateEnabled(true);
        clearOptEqState();
        m_state.antoine = *antoine;
    } else {
        setStCond(prefix + " NOT Found", "in COMPONENT Database.",
                  "Can NOT check for two-phase solution.");
        setOptEqStateEnabled(false);
    }
    m_state.constants = constants;
    m_component.assign(name);
}

bool MainViewModel::sheetCurrent() const
{
    return m_solvedFrom && m_solvedFrom->component == m_component &&
           m_solvedFrom->state == m_state && m_solvedFrom->twoPhase == m_optSelected &&
           state::toFloat(m_solvedFrom->txtTemp) == state::toFloat(m_txtTemp);
}

SheetView MainViewModel::resultsView() const
{
    if (!m_solvedFrom)
        return {m_component, m_txtTemp,   m_txtPress, m_lblStCond,
                chkStCalc(), chkSphMol(), &m_sheet};
    const SolvedFrom& s = *m_solvedFrom;
    return {s.component,       s.txtTemp,         s.txtPress, s.stCond,
            s.state.chkStCalc, s.state.chkSphMol, &m_sheet};
}

void MainViewModel::recordSolve()
{
    // Assigned member by member into the record kept from the last solve, so that a batch
    // re-uses its strings' buffers instead of allocating them for every state.
    if (!m_solvedFrom)
        m_solvedFrom.emplace();
    SolvedFrom& s = *m_solvedFrom;
    s.component = m_component;
    s.state = m_state;
    s.twoPhase = m_optSelected;
    s.txtTemp = m_txtTemp;
    s.txtPress = m_txtPress;
    s.stCond = m_lblStCond;
}

void MainViewModel::cmdSolve_Click()
{
    const Classification c = solve(m_state, state::toFloat(m_txtTemp), m_sheet);
    const std::optional<float> typedPress = state::toFloat(m_txtPress);
    if (c.kind == SolveCase::NoPressure && typedPress && *typedPress != 0.0f)
        // A pressure typed while the temperature box held no number was never taken in; the
        // box shows it all the same, so the zero message would contradict the screen.
        setStCond("State Pressure NOT Stored -", "Enter the State Temperature first,",
                  "then the Pressure again, and Solve.");
    else if (c.message)
        setStCond((*c.message)[0], (*c.message)[1], (*c.message)[2]);
    if (c.clearsTwoPhaseOption)
        clearOptEqState();
    recordSolve();
}

Selection MainViewModel::txt_GotFocus(std::string_view text)
{
    return {0, static_cast<int>(std::min(text.size(), kGotFocusSelection))};
}

Effects MainViewModel::txtTemp_LostFocus()
{
    const std::optional<float> t_C = state::toFloat(m_txtTemp);
    if (!t_C) {
        m_txtTemp.clear();
        return {kTempError, FocusTarget::txtTemp};
    }
    m_state.conditions.TempK = toKelvin(*t_C);
    const float critTemp = m_state.constants.CritTemp;

    if (m_state.conditions.TempK >= critTemp) {
        setStCond("State Condition Temperature is greater than",
                  "the CRITICAL Temperature -> VAPOR phase",
                  "conditions only. LIQUID Molar Volume not calculated.");
        clearOptEqState();
    } else if (m_state.flags.AntoineAvailable) {
        const std::string line2 =
            "the CRITICAL Temperature (" + state::formatSignificant(critTemp, 7) + " K)";
        const std::optional<double> psat = SaturationPressure(m_state.antoine, *t_C);
        const std::optional<std::string> psatText =
            psat ? state::formatPattern(*psat, state::kFmtPsatMessage) : std::nullopt;
        if (psatText)
            setStCond("State Condition Temperature is less than", line2,
                      "LIQUID phase at PRESSURE > " + *psatText + " bar");
        else
            setStCond("State Condition Temperature is less than", line2,
                      "Saturation Pressure NOT calculable here.");
        clearOptEqState();
    }
    return {};
}

Effects MainViewModel::txtPress_LostFocus()
{
    if (!state::isNumeric(m_txtTemp))
        return {};
    const std::optional<float> p_bar = state::toFloat(m_txtPress);
    if (!p_bar) {
        m_txtPress.clear();
        return {kPressError, FocusTarget::txtPress};
    }
    m_state.conditions.PressBar = *p_bar;
    return {};
}

Effects MainViewModel::optEqState_Click(int index)
{
    // A click on the button that is already selected changes nothing.
    if ((index != 0 && index != 1) || optEqStateSelected(index))
        return {};
    selectOptEqState(index);
    const auto refuse = [&](std::string_view l1, std::string_view l2, std::string_view l3) {
        setStCond(l1, l2, l3);
        m_optSelected[static_cast<std::size_t>(index)] = false;
    };
    const auto notPossible = [&] {
        refuse("State Temperature greater than Critical", "Temperature. Two-phase Equilibrium",
               "conditions NOT possible.");
    };
    const float critTemp = m_state.constants.CritTemp;

    // The saturation pressure at t °C, as the float the state holds; when the Antoine
    // equation has no finite value there, the click is refused and nothing is returned.
    const auto linePressure = [&](float t_C) -> std::optional<float> {
        const std::optional<double> psat = SaturationPressure(m_state.antoine, t_C);
        if (!psat || !fitsFloat(*psat)) {
            refuse("Saturation Pressure NOT calculable", "from the Antoine co-efficients at",
                   "this Temperature. Enter another value.");
            return std::nullopt;
        }
        return static_cast<float>(*psat);
    };
    const auto onLine = [&](float pressBar) {
        setStCond("State Temperature less than Critical", "Temperature. Two-phase Equilibrium",
                  "conditions exist at calculated PRESSURE.");
        m_state.conditions.PressBar = pressBar;
        m_txtPress = *state::formatPattern(pressBar, state::kFmtPressBox);
    };

    if (index == 0) {
        // A box that does not hold a number counts as empty: nothing can be computed from it.
        const std::optional<float> t_C = state::toFloat(m_txtTemp);
        if (!t_C) {
            refuse("Equilibrium Temperature NOT Specified", "Enter State Temperature and click on",
                   "Two-phase Equlibrium Temperature again");
            return {std::nullopt, FocusTarget::txtTemp};
        }
        if (toKelvin(*t_C) > critTemp) {
            notPossible();
            return {};
        }
        if (const std::optional<float> p = linePressure(*t_C))
            onLine(*p);
        return {};
    }

    const std::optional<float> p_bar = state::toFloat(m_txtPress);
    if (!p_bar) {
        refuse("Equilibrium Pressure NOT Specified", "Enter State Pressure and click on",
               "Two-phase Equlibrium Pressure again");
        return {std::nullopt, FocusTarget::txtPress};
    }
    // Everything is computed before anything is written, so a pressure outside the Antoine
    // equation's reach leaves the boxes and the state as they were.
    const std::optional<double> tsat = SaturationTemperature(m_state.antoine, *p_bar);
    const std::optional<std::string> tsatText =
        tsat ? state::formatPattern(*tsat, state::kFmtTempBox) : std::nullopt;
    const std::optional<float> t_C = tsatText ? state::toFloat(*tsatText) : std::nullopt;
    if (!t_C) {
        refuse("Saturation Temperature NOT calculable", "from the Antoine co-efficients at",
               "this Pressure. Enter another value.");
        return {};
    }
    const float tempK = toKelvin(*t_C);
    if (tempK > critTemp) {
        m_txtTemp = *tsatText;
        m_state.conditions.TempK = tempK;
        notPossible();
        return {};
    }
    if (const std::optional<float> p = linePressure(*t_C)) {
        m_txtTemp = *tsatText;
        m_state.conditions.TempK = tempK;
        onLine(*p);
    }
    return {};
}

} // namespace core
