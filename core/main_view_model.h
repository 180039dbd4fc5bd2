#pragma once

#include "core/sheet_export.h"
#include "state/calc_state.h"
#include "state/result_sheet.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace core {

/// A modal message box with one OK button and no icon, to be shown by the window.
struct MessageBox {
    std::string prompt;
    std::string title;
    friend bool operator==(const MessageBox&, const MessageBox&) = default;
};

/// Controls a handler may send the focus to.
enum class FocusTarget { txtTemp, txtPress };

/// What a handler asks the window to do after it has run, in this order: show the message
/// box, then move the focus.
struct Effects {
    std::optional<MessageBox> message;
    std::optional<FocusTarget> focus;
    friend bool operator==(const Effects&, const Effects&) = default;
};

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
    state::CalcState& state() { return m_state; }
    const state::CalcState& state() const { return m_state; }
    const state::ResultSheet& sheet() const { return m_sheet; }
    state::ResultSheet& sheet() { return m_sheet; }

    /// The three-line state-conditions message, lines joined with "\r\n".
    const std::string& lblStCond() const { return m_lblStCond; }
    void setStCond(std::string_view line1, std::string_view line2, std::string_view line3);

    const std::string& txtTemp() const { return m_txtTemp; }
    const std::string& txtPress() const { return m_txtPress; }
    void setTxtTemp(std::string text) { m_txtTemp = std::move(text); }
    void setTxtPress(std::string text) { m_txtPress = std::move(text); }

    bool optEqStateSelected(int index) const
    {
        return m_optSelected.at(static_cast<std::size_t>(index));
    }
    bool optEqStateEnabled(int index) const
    {
        return m_optEnabled.at(static_cast<std::size_t>(index));
    }
    /// Both option buttons set to not selected, index 0 first; not a click.
    void clearOptEqState();
    /// Selects one button without running its click handler (a set-up, not a click).
    void selectOptEqState(int index);
    /// Both option buttons enabled or disabled, index 0 first.
    void setOptEqStateEnabled(bool enabled);

    bool chkStCalc() const { return m_state.chkStCalc; }
    bool chkSphMol() const { return m_state.chkSphMol; }
    void setChkStCalc(bool ticked) { m_state.chkStCalc = ticked; }
    void setChkSphMol(bool ticked) { m_state.chkSphMol = ticked; }

    /// Takes a chosen component into the state as leaving the component list does: the eight
    /// constants, the Antoine coefficients when the component has them (else they stay as they
    /// were), AntoineAvailable, the message and the two-phase buttons.
    void componentChosen(std::string_view name, const state::ComponentConstants& constants,
                         const std::optional<state::AntoineCoefficients>& antoine);

    /// The name of the component whose constants the state holds ("" before any).
    const std::string& component() const { return m_component; }
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
    /// The solve step of core/solve.h on this state, then the message and the option buttons;
    /// records what it read (solvedFrom).
    void cmdSolve_Click();
    /// The first nine characters of the box are selected for overtyping.
    static Selection txt_GotFocus(std::string_view text);
    Effects txtTemp_LostFocus();
    Effects txtPress_LostFocus();
    /// The user's click on button 0 "Temperature" or 1 "Pressure": selects it and puts the state
    /// on the saturation line, or refuses. A click on the selected button changes nothing.
    Effects optEqState_Click(int index);

private:
    void recordSolve();

    std::string m_component;
    std::optional<SolvedFrom> m_solvedFrom;
    state::CalcState m_state;
    state::ResultSheet m_sheet;
    std::string m_lblStCond;
    std::string m_txtTemp;
    std::string m_txtPress;
    std::array<bool, 2> m_optSelected{false, false};
    std::array<bool, 2> m_optEnabled{true, true};
};

} // namespace core
