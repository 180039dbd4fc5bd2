#pragma once

#include "analysis/phase_analysis.h"

#include <vector>

// The two-phase region of one model as a whole: its coexistence dome (saturated liquid and
// vapour volumes from its own saturation) and its spinodal curve (∂P/∂V = 0 at constant T),
// from a low reduced temperature up to its own critical point, where both close; and Maxwell's
// equal-area construction on one isotherm. Units: T in K, P in bar, V in cm3/mol.
namespace analysis {

/// One temperature of the envelope: the saturation (dome) and the two spinodals. At the
/// critical point all four volumes are Vc and both pressures Pc.
struct EnvelopePoint {
    double t_K = 0;
    double pSat_bar = 0;
    double vLiquid = 0, vVapour = 0; // dome
    double vSpinLiquid = 0, pSpinLiquid = 0;
    double vSpinVapour = 0, pSpinVapour = 0;
};

struct PhaseEnvelope {
    Model model = Model::Vir;
    CriticalPoint critical;
    std::vector<EnvelopePoint> points; // ascending T; the last is the critical point itself
    bool exists() const { return !points.empty(); }
};

/// The envelope at one temperature below the model's critical point; false where its
/// saturation or its loop is not found there.
bool envelopePoint(Model model, const Fluid& fluid, double t_K, const CriticalPoint& critical,
                   EnvelopePoint& out);

/// The envelope from T = trFrom·Tc (the model's own Tc) to its critical point, `points`
/// temperatures spaced closer near the critical end; empty for the virial row and wherever
/// the model has no critical point. Points that do not converge are left out.
PhaseEnvelope phaseEnvelope(Model model, const Fluid& fluid, double trFrom, int points);

/// Maxwell's construction on the isotherm at T: the tie-line at the vapour pressure cuts the
/// loop at the saturated liquid, the middle root and the saturated vapour volume. The area
/// between isotherm and tie-line on the liquid side (isotherm below it) and on the vapour side
/// (isotherm above it), each ∫|P − Psat| dV in bar·cm3/mol, taken by quadrature of P(V)
/// itself, so their agreement checks the fugacity solve rather than restating it.
struct EqualAreas {
    bool found = false;
    double t_K = 0, pSat_bar = 0;
    double vLiquid = 0, vMiddle = 0, vVapour = 0;
    double areaLiquid = 0, areaVapour = 0;
};
EqualAreas equalAreas(Model model, const Fluid& fluid, double t_K, const CriticalPoint& critical);

} // namespace analysis
