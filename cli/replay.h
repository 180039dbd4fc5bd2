#pragma once

#include "core/main_view_model.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace cli {

struct RunUnits;

/// What the user types and clicks after choosing a component.
struct Entries {
    std::string temp;            // the temperature box's text, °C
    std::string press;           // the pressure box's text, bar
    std::optional<int> twoPhase; // the two-phase button clicked, 0 or 1
    bool hypothetical = false;
    bool spherical = false;
    // Set when the run names units: temp and press above are then the texts the
    // calculation takes, converted from these as typed, and rounding says how a typed value
    // was rounded to them (empty when exactly).
    const RunUnits* units = nullptr;
    std::string typedTemp;
    std::string typedPress;
    std::string rounding;
};

/// Constants typed on the command line or in a batch row instead of a stored component.
struct CustomComponent {
    std::string name;
    state::ComponentConstants constants;
    std::optional<state::AntoineCoefficients> antoine;
};

/// Constants given one by one (MolWt .. K3, in the store's order); one not given takes the
/// value the program uses for a missing constant.
state::ComponentConstants constantsOrMissing(const std::array<std::optional<float>, 8>& given);

/// One state to solve: the component (a view model just after choosing a stored component,
/// shared by every row that names it, or custom constants) and the entries.
struct Job {
    long line = 0;
    std::string rejected;  // not empty: the row was refused before solving, and why
    std::string component; // the name the output shows
    std::variant<std::shared_ptr<const core::MainViewModel>, CustomComponent> chosen;
    Entries entries;
};

struct Solved {
    core::MainViewModel vm;
    std::optional<std::string> rejected; // why the state was refused
    bool rejectedByWindow = false;       // the refusal is the window's own message box text
};

/// Replays one state as the window would take it: choose the component, type and leave the
/// two boxes, click the two-phase button, set the check boxes, press Solve. Every row of a
/// batch and every single run goes through here.
Solved solveJob(const Job& job);

} // namespace cli
