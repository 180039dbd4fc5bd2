#pragma once

#include "analysis/phase_analysis.h"

#include <array>
#include <string_view>

// A model's parameters at one temperature and pressure, with the temperature derivatives the
// thermal properties need, in double precision from the formulas the sheet uses
// (models/eos_parameters.h). Units: T in K, P in bar, V in cm3/mol, a in bar·cm6/mol2.
namespace analysis {

/// One parameter as a key that carries its unit ("a_bar_cm6_mol2") and its value.
struct NamedValue {
    std::string_view key;
    double value = 0;
};

struct ModelParameters {
    Model model = Model::Vir;
    bool valid = false; // false where the isotherm is (constants or T out of range)
    Isotherm isotherm;  // the reduced form the roots are found in
    // The reduced attraction τ = a/(b·R·T) (ESD: Y) and its T-derivatives, 1/K and 1/K².
    double tau = 0, dTau = 0, d2Tau = 0;
    // Cubics: a(T) = ac·α(T) (van der Waals α = 1; Redlich-Kwong α = Tr^(−1/2)), A = a·P/(R·T)²,
    // B = b·P/(R·T). Dieterici: a, b and α = 1. Virial: B and C of Z = 1 + B/V − C/V², and
    // A, B here stand for C·P²/(R·T)² and B·P/(R·T).
    double a = 0, b = 0, alpha = 1, dAlpha = 0, d2Alpha = 0;
    double bigA = 0, bigB = 0;
    // Z³ + c[0]·Z² + c[1]·Z + c[2] = 0 for the cubics and the virial row.
    bool hasCubic = false;
    std::array<double, 3> cubic{};
    // Everything above that belongs to the model, named for output; ESD adds its shape
    // constants and Y.
    std::array<NamedValue, 14> items{};
    int itemCount = 0;
};

/// The model's parameters at (T, P); `valid` false, and no items, where they are undefined.
ModelParameters modelParameters(Model model, const Fluid& fluid, double t_K, double p_bar);

} // namespace analysis
