#pragma once

#include "reference/reference_eos.h"

#include <mutex>

// What the evaluator and the solvers share inside the reference layer.
namespace reference {

/// αʳ with its derivatives scaled by powers of δ and τ (δαʳ_δ, δ²αʳ_δδ, ...): the forms the
/// pressure and the properties are written in, exact where the plain ones would divide by δ.
struct Scaled {
    double a = 0;
    double d1 = 0, d2 = 0, d3 = 0; // δα_δ, δ²α_δδ, δ³α_δδδ
    double t1 = 0, t2 = 0, dt = 0; // τα_τ, τ²α_ττ, δτα_δτ
};
Scaled residualScaled(const Fluid& f, double tau, double delta);

struct CriticalCache {
    std::once_flag once;
    CriticalPoint point;
};
CriticalPoint findCriticalPoint(const Fluid& f);

/// p/(ρ_red·R·T) = δ(1 + δαʳ_δ) and its δ-derivatives, at one δ of an isotherm.
struct ReducedPressure {
    double j = 0;   // δ(1 + δαʳ_δ)
    double dj = 0;  // 1 + 2δαʳ_δ + δ²αʳ_δδ
    double d2j = 0; // (2δαʳ_δ + 4δ²αʳ_δδ + δ³αʳ_δδδ)/δ
};
ReducedPressure reducedPressure(const Fluid& f, double tau, double delta);

} // namespace reference
