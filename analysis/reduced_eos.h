#pragma once

#include "analysis/phase_analysis.h"

// Every model written in the reduced density η = b/V as P = (R·T/b)·h(η), with Z = h/η:
//   virial     h = η − η² − η³/9                         (b = Vc)
//   cubic      h = η/(1 − η) − τ·η²/((1 + δ1·η)·(1 + δ2·η))  (τ = a/(b·R·T))
//   ESD        h = η + 4c·η²/(1 − 1.9·η) − zm·q·Y·η²/(1 + k1·Y·η)
//   Dieterici  h = η/(1 − η)·exp(−τ·η)                  (τ = a/(b·R·T))
// h' > 0 is ∂P/∂V < 0. The residual Helmholtz energy is A_res/(R·T) = ∫0^η (Z − 1)/η dη, and
// ln φ = A_res/(R·T) + Z − 1 − ln Z; its η-derivative plus that of Z + ln η is h'/η, the
// Gibbs-Duhem relation the saturation solver leans on.
namespace analysis {

/// h, h' and h'' at one η.
struct Reduced {
    double h, dh, d2h;
};

/// Upper end of the η range: 1 for the cubics and Dieterici, 1/1.9 for ESD, and for the
/// virial row the pressure maximum (the vapour branch ends there).
double etaMax(const Isotherm& iso);
Reduced reduced(const Isotherm& iso, double eta);
double reducedH(const Isotherm& iso, double eta);
/// A_res/(R·T) at η (closed form, or quadrature for Dieterici).
double residualHelmholtz(const Isotherm& iso, double eta);
/// ln φ at η on a root of h(η) = π (π > 0).
double lnPhiAt(const Isotherm& iso, double eta, double pi);

/// The isotherm's τ (or Y) replaced, everything else kept: the critical search moves along it.
Isotherm withTau(const Isotherm& iso, double tau);

} // namespace analysis
