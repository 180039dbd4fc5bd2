#pragma once

#include <optional>
#include <string_view>

namespace store {

class ComponentDatabase;

/// The temperatures, in °C, between which a component's Antoine coefficients were fitted.
struct AntoineFitRange {
    double tmin_C = 0;
    double tmax_C = 0;
};

/// The fitted range of the named component's Antoine coefficients; nullopt when the store is
/// not open, the component has no Antoine row, or either end is not stored or not a proper
/// range. Moves rstAntCos to that component, as choosing it does. Throws StoreException.
std::optional<AntoineFitRange> antoineFitRange(ComponentDatabase& db, std::string_view component);

} // namespace store
