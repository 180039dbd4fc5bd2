#pragma once

// The outcome of one root iteration, as the model procedures use it before they turn it into
// cell text. Exposed so that the tests can check the update counts of the real path.
namespace models {

enum class RootStatus {
    Converged,       // the relative change fell below the tolerance
    LeftBound,       // an iterate left its admissible range (below b or R·T/(10·P), above R·T/P)
    CapReached,      // 80 updates without meeting the tolerance
    ArithmeticFault, // a zero divisor, a non-finite value or one beyond the float range
};

struct RootResult {
    double volume = 0; // cm3/mol: the last iterate (meaningful when Converged)
    int updates = 0;   // updates made, a failing one included; the Elliott-Suresh-Donohue
                       // cap is tested before its update, so its cap ends at 80, not 81
    RootStatus status = RootStatus::ArithmeticFault;

    bool converged() const { return status == RootStatus::Converged; }
};

} // namespace models
