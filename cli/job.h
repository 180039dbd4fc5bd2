#pragma once

#include "core/calculation.h"
#include "state/component.h"

#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace cli {

struct RunUnits;

/// The entries of one state: what is typed and chosen after the component.
struct Entries {
    std::string temp;            // the temperature as typed, °C
    std::string press;           // the pressure as typed, bar
    std::optional<int> twoPhase; // the two-phase choice: 0 temperature, 1 pressure
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

/// One state to solve: the component (a stored one, shared by every row that names it, or
/// constants typed for this state) and the entries.
struct Job {
    long line = 0;
    std::string rejected;  // not empty: the row was refused before solving, and why
    std::string component; // the name the output shows
    std::variant<std::shared_ptr<const state::Component>, state::Component> chosen;
    Entries entries;
};

/// The calculation of one state; every row of a batch, every state of a sweep and every
/// single run goes through here.
core::Calculation calculateJob(const Job& job);

} // namespace cli
