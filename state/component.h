#pragma once

#include "state/calc_state.h"

#include <array>
#include <optional>
#include <string>

namespace state {

/// A component as a calculation takes it: the name the message shows, the eight constants
/// (a missing one already replaced by its fixed value) and the Antoine set, if it has one.
struct Component {
    std::string name;
    ComponentConstants constants;
    std::optional<AntoineCoefficients> antoine;
    friend bool operator==(const Component&, const Component&) = default;
};

/// Constants given one by one (MolWt .. K3, in the store's order); one not given takes the
/// value the program uses for a missing constant.
inline ComponentConstants constantsOrMissing(const std::array<std::optional<float>, 8>& given)
{
    const ComponentConstants& d = kMissingConstantValues;
    const auto v = [&](std::size_t i, float fallback) { return given[i].value_or(fallback); };
    return {v(0, d.MolWt),     v(1, d.CritTemp), v(2, d.CritPress), v(3, d.CritVol),
            v(4, d.AcentricF), v(5, d.K1),       v(6, d.K2),        v(7, d.K3)};
}

} // namespace state
