#pragma once

#include "state/calc_state.h"

#include <optional>

namespace core {

/// Antoine saturation pressure in bar at t in °C: exp(AntA - AntB/(t + AntC))·0.01, in double
/// from the float operands. Nothing when t + AntC is 0 or the result is not a finite number.
std::optional<double> SaturationPressure(const state::AntoineCoefficients& ant, float t_C);

/// Antoine saturation temperature in °C at p in bar: AntB/(AntA - ln(100·p)) - AntC. Nothing
/// when p is 0 or less, ln(100·p) equals AntA, or the result is not a finite number.
std::optional<double> SaturationTemperature(const state::AntoineCoefficients& ant, float p_bar);

} // namespace core
