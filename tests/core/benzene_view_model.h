#pragma once

#include "core/main_view_model.h"
#include "tests/support/reference_components.h"

#include <cmath>
#include <string>

// The view model with benzene taken in, for the tests that drive it like the window.
namespace benzene_view_model {

using test_components::kBenzene;
inline constexpr state::AntoineCoefficients kBenzeneAnt = test_components::kBenzeneAntoine;

/// Saturation pressure at t °C by the same Antoine form, written out independently.
inline double psatBar(float t)
{
    return std::exp(double(kBenzeneAnt.AntA) -
                    double(kBenzeneAnt.AntB) / (double(t) + double(kBenzeneAnt.AntC))) *
           0.01;
}

inline core::MainViewModel benzene(bool antoine)
{
    core::MainViewModel vm;
    vm.state().constants = kBenzene;
    vm.state().antoine = kBenzeneAnt;
    vm.state().flags.AntoineAvailable = antoine;
    return vm;
}

inline std::string firstLine(const std::string& msg) { return msg.substr(0, msg.find("\r\n")); }

} // namespace benzene_view_model
