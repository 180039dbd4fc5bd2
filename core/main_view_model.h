#pragma once

#include "core/calculation.h"
#include "core/component_messages.h"
#include "core/sheet_export.h"
#include "state/calc_state.h"
#include "state/result_sheet.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace core {

/// Text selection of an entry box: start and length in characters.
struct Selection {
    int start = 0;
    int length = 0;
};

/// Everything a solve read, and the title it was shown under: the sheet belongs to exactly
/// this and to nothing else.
struct SolvedFrom {
    std::string component;
    state::CalcState state; // as the solve left it: constants, Antoine set, T, P, flags, boxes
    std::array<bool, 2> twoPhase{}; // the two-phase option buttons
    std::string txtTemp;            // the classification reads the typed temperature
    std::string txtPress;
    std::string stCond; // the message the solve wrote
};

/// The main window without widgets: the calculation state, the result sheet, and every
/// control the handlers read or write. The window binds widgets to it and calls the handlers;
/// the handlers return message boxes and focus moves as values.
class MainViewModel {
public:
    // --- state the handlers read and write -------------------------------------------------
    /// The boxes, buttons, message, state and sheet as the handlers leave them.
    const Form& form() const { return m_form; }
    state::CalcState& state() { return m_form.state; }
    const state::CalcState& state() const { return m_form.state; }
    const state::ResultSheet& sheet() const { return m_form.sheet; }
    state::ResultSheet& sheet() { return m_form.sheet; }

    /// The three-line state-conditions message, lines joined with "\r\n".
    const std::string& lblStCond() const { return m_form.message; }
    void setStCond(std::string_view line1, std::string_view line2, std::string_view line3)
    {
        setMessage(m_form, line1, line2, line3);
    }
    void setStCond(const MessageLines& lines) { setStCond(lines[0], lines[1], lines[2]); }

    const std::string& txtTemp() const { return m_form.temp; }
    const std::string& txtPress() const { return m_form.press; }
    void setTxtTemp(std::string text) { m_form.temp = std::move(text); }
    void setTxtPress(std::string text) { m_form.press = std::move(text); }

    bool optEqStateSelected(int index) const
    {
        return m_form.twoPhaseSelected.at(static_cast<std::size_t>(index));
    }
    bool optEqStateEnabled(int index) const
    {
        return m_form.twoPhaseEnabled.at(static_cast<std::size_t>(index));
    }
    /// Both option buttons set to not selected, index 0 first; not a click.
    void clearOptEqState() { m_form.twoPhaseSelected = {false, false}; }
    /// Selects one button without running its click handler (a set-up, not a click).
    void selectOptEqState(int index) { m_form.twoPhaseSelected = {index == 0, index == 1}; }
    /// Both option buttons enabled or disabled, index 0 first.
    void setOptEqStateEnabled(bool enabled) { m_form.twoPhaseEnabled = {enabled, enabled}; }

    bool chkStCalc() const { return m_form.state.chkStCalc; }
    bool chkSphMol() const { return m_form.state.chkSphMol; }
    void setChkStCalc(bool ticked) { m_form.state.chkStCalc = ticked; }
    void setChkSphMol(bool ticked) { m_form.state.chkSphMol = ticked; }

    /// Takes a chosen component into the state as leaving the component list does: the eight
    /// constants, the Antoine coefficients when the component has them (else they stay as they
    /// were), AntoineAvailable, the message and the two-phase buttons.
    void componentChosen(const state::Component& c) { chooseComponent(m_form, c); }
    void componentChosen(std::string_view name, const state::ComponentConstants& constants,
                         const std::optional<state::AntoineCoefficients>& antoine)
    {
        componentChosen({std::string(name), constants, antoine});
    }

    /// The name of the component whose constants the state holds ("" before any).
    const std::string& component() const { return m_form.component; }
    /// What the last solve read; none before the first solve.
    const std::optional<SolvedFrom>& solvedFrom() const { return m_solvedFrom; }
    /// Whether the sheet was solved from exactly what the state holds now: the component, its
    /// constants and Antoine set, T and P as stored, the typed temperature, both check boxes
    /// and the two-phase choice.
    bool sheetCurrent() const;
    /// The sheet under the title it was solved with, so that an export never labels one
    /// state with another's numbers; before any solve, the entries as they stand and the
    /// empty sheet.
    SheetView resultsView() const;

    // --- handlers ---------------------------------------------------------------------------
    /// solveForm on this state; records what it read (solvedFrom).
    void cmdSolve_Click();
    /// The first nine characters of the box are selected for overtyping.
    static Selection txt_GotFocus(std::string_view text);
    Effects txtTemp_LostFocus() { return takeTemperature(m_form); }
    Effects txtPress_LostFocus() { return takePressure(m_form); }
    /// The user's click on button 0 "Temperature" or 1 "Pressure" (clickTwoPhase).
    Effects optEqState_Click(int index) { return clickTwoPhase(m_form, index); }

private:
    void recordSolve();

    Form m_form;
    std::optional<SolvedFrom> m_solvedFrom;
};

} // namespace core
