#pragma once

#include "core/solve.h"
#include "state/calc_state.h"
#include "state/component.h"
#include "state/result_sheet.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// One calculation, from a chosen component and the entries as typed to the classification,
// the message and the sheet. The main window's view model runs the same steps one event at a
// time; calculate() runs them in the window's order for callers that know every entry at once
// (the command line's single runs, batch rows and sweeps). Either way a state's digits come
// from the same code.
namespace core {

/// A modal message box with one OK button and no icon, to be shown by the window.
struct MessageBox {
    std::string prompt;
    std::string title;
    friend bool operator==(const MessageBox&, const MessageBox&) = default;
};

/// Controls a step may send the focus to.
enum class FocusTarget { txtTemp, txtPress };

/// What a step asks the window to do after it has run, in this order: show the message box,
/// then move the focus.
struct Effects {
    std::optional<MessageBox> message;
    std::optional<FocusTarget> focus;
    friend bool operator==(const Effects&, const Effects&) = default;
};

/// The entries and outputs of a calculation: what the window shows in its boxes, buttons,
/// message and sheet, without the widgets.
struct Form {
    std::string component; // the name of the component whose constants the state holds
    state::CalcState state;
    state::ResultSheet sheet;
    std::string message;                                // three lines joined with "\r\n"
    std::string temp;                                   // the temperature box's text, °C
    std::string press;                                  // the pressure box's text, bar
    std::array<bool, 2> twoPhaseSelected{false, false}; // "Temperature", "Pressure"
    std::array<bool, 2> twoPhaseEnabled{true, true};
};

/// The three-line message, lines joined with "\r\n".
void setMessage(Form& f, std::string_view line1, std::string_view line2, std::string_view line3);

/// Takes a chosen component: the eight constants, the Antoine coefficients when it has them
/// (else they stay as they were), AntoineAvailable, the message and the two-phase buttons.
void chooseComponent(Form& f, const state::Component& c);
/// The temperature box left: its text is taken into the state, or refused and emptied.
Effects takeTemperature(Form& f);
/// The pressure box left: taken, refused and emptied, or ignored while the temperature box
/// holds no number.
Effects takePressure(Form& f);
/// Two-phase button 0 "Temperature" or 1 "Pressure" clicked: selects it and puts the state
/// on the saturation line, or refuses. A click on the selected button changes nothing.
Effects clickTwoPhase(Form& f, int index);
/// Solve pressed: the solve step of core/solve.h on the state, then the message and the
/// option buttons.
Classification solveForm(Form& f);

/// Everything a calculation needs, entries as typed.
struct CalcRequest {
    state::Component component;
    std::string temp;            // °C
    std::string press;           // bar
    std::optional<int> twoPhase; // the two-phase button to click, 0 or 1
    bool hypothetical = false;
    bool spherical = false;
};

struct Calculation {
    Form form;                          // message, boxes, state and sheet after the solve
    std::optional<std::string> refusal; // why the entries were refused; nothing was solved
    bool refusalIsMessageBox = false;   // the refusal is the window's own message box text
    Classification classification;      // of the solve, when there was one
};

/// Chooses the component, takes the temperature and then the pressure, clicks the two-phase
/// button, sets the check boxes and solves: the window's order. A refused entry stops there.
Calculation calculate(const CalcRequest& request);

} // namespace core
