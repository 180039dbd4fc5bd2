#pragma once

#include "core/main_view_model.h"

#include <array>
#include <optional>
#include <string_view>

// Components as the browser edition holds them: the shipped list is a JSON file beside the page
// (no database), and custom components are typed constants. Both are taken into the view model
// here, the way the window and the command line take them.
namespace web {

/// A row of the shipped list: the eight constants in the store's order (MolWt .. K3; NaN where
/// the list has no value) and the Antoine coefficients when the list has a complete set.
struct ListedComponent {
    std::array<double, 8> constants{};
    std::optional<std::array<double, 3>> antoine;
};

/// A listed component as picking it in the window's list reads it: each value becomes the
/// float the state keeps, a missing one (or one beyond the float range) the program's default.
state::Component listedComponent(std::string_view name, const ListedComponent& c);
/// Chooses it in the view model.
void chooseListed(core::MainViewModel& vm, std::string_view name, const ListedComponent& c);

/// Typed constants of a custom component, as the command line's --mw .. --k3 and --antoine take
/// them: texts in the store's order, "" for one not given.
struct TypedComponent {
    std::array<std::string_view, 8> constants;
    std::array<std::string_view, 3> antoine; // all three or none
};

/// Chooses typed constants as `tavrel1-cli --name NAME --tc ...` does. Returns 0, or the
/// 1-based position (constants 1..8, Antoine 9..11) of the first text that is not a number or
/// of an incomplete Antoine set, with the view model unchanged.
int chooseTyped(core::MainViewModel& vm, std::string_view name, const TypedComponent& c);

} // namespace web
