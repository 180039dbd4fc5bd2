#pragma once

#include "analysis/phase_analysis.h"
#include "models/eos_parameters.h"

#include <cmath>

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

/// Upper end of the η range: 1 for the cubics and Dieterici, 1/1.9 for ESD (or the pole of
/// its attraction term where that lies below, far above Tc), and for the virial row the
/// pressure maximum (the vapour branch ends there).
double etaMax(const Isotherm& iso);
/// ESD: η where 1 + k1·Y·η = 0 (infinite while Y ≥ 0).
double esdPole(const Isotherm& iso);
/// True for ESD when that pole lies inside its packing limit.
bool singularBelowPacking(const Isotherm& iso);
/// Dieterici: ∫0^η e^(−τs)/(1 − s) ds, the τ-derivative of A_res/(R·T) with its sign turned,
/// and ∫0^η s·e^(−τs)/(1 − s) ds, its second τ-derivative.
struct DietericiIntegrals {
    double d, d2;
};
DietericiIntegrals dietericiIntegrals(double tau, double eta);
Reduced reduced(const Isotherm& iso, double eta);
double reducedH(const Isotherm& iso, double eta);
/// Cubics: ∫0^η dη/((1 + δ1·η)(1 + δ2·η)), the attraction part of A_res/(R·T) per τ.
double cubicAttraction(const Isotherm& iso, double eta);
/// A_res/(R·T) at η, in closed form for every model (Dieterici's through the exponential
/// integrals).
double residualHelmholtz(const Isotherm& iso, double eta);
/// ln φ at η on a root of h(η) = π (π > 0).
double lnPhiAt(const Isotherm& iso, double eta, double pi);

/// The isotherm's τ (or Y) replaced, everything else kept: the critical search moves along it.
Isotherm withTau(const Isotherm& iso, double tau);

/// Packing limit of ESD's repulsion term 4c·η/(1 − 1.9·η).
inline constexpr double kEsdPacking = models::kEsdRepulsion;

// Inline: the root and saturation searches call it in their innermost loops.
inline Reduced reduced(const Isotherm& iso, double eta)
{
    switch (iso.family) {
    case Family::Virial:
        return {eta - eta * eta - eta * eta * eta / 9, 1 - 2 * eta - eta * eta / 3,
                -2 - 2 * eta / 3};
    case Family::Cubic: {
        const double s = iso.delta1 + iso.delta2;
        const double p = iso.delta1 * iso.delta2;
        const double d = 1 + eta * (s + p * eta);
        const double dd = s + 2 * p * eta;
        const double g = 1 / (1 - eta);
        const double q = eta * eta / d;
        const double dq = eta * (2 + s * eta) / (d * d);
        const double d2q =
            ((2 + 2 * s * eta) * d - 2 * (2 * eta + s * eta * eta) * dd) / (d * d * d);
        return {eta * g - iso.tau * q, g * g - iso.tau * dq, 2 * g * g * g - iso.tau * d2q};
    }
    case Family::Esd: {
        const double A = iso.esdC;
        const double K = iso.esdZmQ * iso.tau;
        const double L = iso.esdK1 * iso.tau;
        const double g1 = 1 / (1 - kEsdPacking * eta);
        const double g2 = 1 / (1 + L * eta);
        const double e2 = eta * eta;
        return {eta + A * e2 * g1 - K * e2 * g2,
                1 + A * (2 * eta - kEsdPacking * e2) * g1 * g1 - K * (2 * eta + L * e2) * g2 * g2,
                2 * A * g1 * g1 * g1 - 2 * K * g2 * g2 * g2};
    }
    case Family::Dieterici: {
        const double w = std::exp(-iso.tau * eta);
        const double g = 1 / (1 - eta);
        const double u = eta * g;
        const double du = g * g;
        const double d2u = 2 * g * g * g;
        const double t = iso.tau;
        return {u * w, w * (du - t * u), w * (d2u - 2 * t * du + t * t * u)};
    }
    }
    return {0, 0, 0};
}

} // namespace analysis
