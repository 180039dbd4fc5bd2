#include "core/antoine.h"

#include <cmath>

namespace core {
namespace {
constexpr double kKPaToBar = 0.01;
constexpr double kBarToKPa = 100.0;

std::optional<double> finite(double x)
{
    if (!std::isfinite(x))
        return std::nullopt;
    return x;
}
} // namespace

std::optional<double> SaturationPressure(const state::AntoineCoefficients& ant, float t_C)
{
    const double denom = static_cast<double>(t_C) + static_cast<double>(ant.AntC);
    if (denom == 0.0)
        return std::nullopt;
    return finite(std::exp(static_cast<double>(ant.AntA) - static_cast<double>(ant.AntB) / denom) *
                  kKPaToBar);
}

std::optional<double> SaturationTemperature(const state::AntoineCoefficients& ant, float p_bar)
{
    if (!(p_bar > 0.0f))
        return std::nullopt;
    const double denom =
        static_cast<double>(ant.AntA) - std::log(kBarToKPa * static_cast<double>(p_bar));
    if (denom == 0.0)
        return std::nullopt;
    return finite(static_cast<double>(ant.AntB) / denom - static_cast<double>(ant.AntC));
}

} // namespace core
