#pragma once

#include "analysis/phase_analysis.h"

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

/// Upper end of the η range: 1 for the cubics and Dieterici, 1/1.9 for ESD, and for the
/// virial row the pressure maximum (the vapour branch ends there).
double etaMax(const Isotherm& iso);
Reduced reduced(const Isotherm& iso, double eta);
double reducedH(const Isotherm& iso, double eta);
/// Absolute tolerance of Dieterici's quadrature when nothing asks for a looser one.
inline constexpr double kQuadratureTol = 1e-13;
/// A_res/(R·T) at η (closed form, or quadrature for Dieterici to `tol`).
double residualHelmholtz(const Isotherm& iso, double eta, double tol = kQuadratureTol);
/// ln φ at η on a root of h(η) = π (π > 0).
double lnPhiAt(const Isotherm& iso, double eta, double pi, double tol = kQuadratureTol);

/// The isotherm's τ (or Y) replaced, everything else kept: the critical search moves along it.
Isotherm withTau(const Isotherm& iso, double tau);

/// Packing limit of ESD's repulsion term 4c·η/(1 − 1.9·η).
inline constexpr double kEsdPacking = 1.9;

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
