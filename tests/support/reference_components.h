#pragma once

#include "state/calc_state.h"

// The reference components the tests share: rounded published values of familiar fluids, as a
// user would type them into the constants editor.
namespace test_components {

/// Benzene: M, Tc, Pc, Vc, ω and the Stryjek-Vera constants K1..K3.
inline constexpr state::ComponentConstants kBenzene{78.11f, 562.1f,   48.9f,   259.0f,
                                                    0.212f, 0.07019f, 0.7939f, 0.523f};
/// Benzene without its Stryjek-Vera constants (a component the store lists without them).
inline constexpr state::ComponentConstants kBenzeneNoKappa{78.11f, 562.1f, 48.9f, 259.0f,
                                                           0.212f, 0.0f,   0.0f,  0.0f};
/// ln(P/kPa) = A - B/(t/°C + C) for benzene.
inline constexpr state::AntoineCoefficients kBenzeneAntoine{13.7815f, 2726.813f, 217.572f};

inline constexpr state::ComponentConstants kPropane{44.1f,  369.8f,   42.48f, 200.0f,
                                                    0.152f, 0.03136f, 0.0f,   0.0f};
inline constexpr state::ComponentConstants kNitrogen{28.01f, 126.2f, 33.9f, 90.1f,
                                                     0.039f, 0.0f,   0.0f,  0.0f};

} // namespace test_components
