#pragma once

#include "state/calc_state.h"
#include "state/result_sheet.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

// Phase equilibrium of the nine models, in double precision: every volume root of a state, its
// fugacity coefficient and which root is stable, the model's own vapour pressure and critical
// point. This is physics on top of the sheet, not its single-precision replay: the parameters
// come from the same formulas (models/eos_parameters.h) but nothing is rounded to float.
// Units: T in K, P in bar, V in cm3/mol. No function throws or returns NaN; an outcome that is
// not a number is a status.
namespace analysis {

/// The nine models, named and ordered as the rows of the sheet.
using Model = state::Row;
inline constexpr int kModelCount = state::kRowCount;
inline constexpr std::array<Model, kModelCount> kModels = {Model::Vir,   Model::VDW, Model::RK,
                                                           Model::SRK,   Model::PR,  Model::PRSV1,
                                                           Model::PRSV2, Model::ESD, Model::DEOS};

/// The component constants the models read, widened to double.
struct Fluid {
    double tc_K = 0;
    double pc_bar = 0;
    double vc_cm3mol = 0;
    double omega = 0;
    double k1 = 0, k2 = 0, k3 = 0; // Stryjek-Vera constants
    bool esdSpherical = false;     // ESD shape factor taken as 1 ("Spherical Molecule")
};
Fluid fluidOf(const state::ComponentConstants& c, bool esdSpherical);

/// How a model's pressure is written in the reduced density η = b/V: P = (R·T/b)·h(η; τ).
enum class Family : std::uint8_t { Virial, Cubic, Esd, Dieterici };

/// One model at one temperature: what P(V), dP/dV and ln φ need, formed once.
struct Isotherm {
    Model model = Model::Vir;
    Family family = Family::Virial;
    double t_K = 0;
    double rt = 0;                 // R·T, cm3·bar/mol
    double b = 0;                  // volume scale: co-volume, or Vc for the virial row (cm3/mol)
    double tau = 0;                // cubic, Dieterici: a(T)/(b·R·T); ESD: Y(T)
    double delta1 = 0, delta2 = 0; // cubic: denominator (V + δ1·b)·(V + δ2·b)
    double esdC = 0, esdZmQ = 0, esdK1 = 0; // ESD: 4·c, zm·q, k1
    bool valid = false; // false when a constant or T makes the parameters undefined
};
Isotherm makeIsotherm(Model model, const Fluid& fluid, double t_K);

/// Smallest volume the model admits (co-volume; 1.9·b for ESD; 0 for the virial row).
double minVolume(const Isotherm& iso);
/// P(T, V) in bar; 0 for an invalid isotherm or a volume outside the model's range.
double pressure(const Isotherm& iso, double v_cm3mol);
/// ∂P/∂V at constant T, bar·mol/cm3 (0 outside the range).
double pressureSlope(const Isotherm& iso, double v_cm3mol);
/// ln φ at (T, V), with P = P(T, V) > 0; 0 where P ≤ 0 or V is outside the range.
double lnPhi(const Isotherm& iso, double v_cm3mol);
/// ln φ of a root V of the state (T, P), with Z = P·V/(R·T) from the given P rather than from
/// P(T, V): on a steep liquid branch at a tiny pressure the last bit of V carries more pressure
/// than P itself, and this form does not depend on it. 0 outside the range or for P ≤ 0.
double lnPhiAtPressure(const Isotherm& iso, double v_cm3mol, double p_bar);

/// The limits of the van der Waals loop: liquid spinodal (local minimum of P, smaller V) and
/// vapour spinodal (local maximum). `exists` is false when P(V) falls monotonically (above the
/// model's critical temperature, or the virial row, whose only limit is `vVapour`).
struct Spinodals {
    bool exists = false;
    double vLiquid = 0, pLiquid = 0;
    double vVapour = 0, pVapour = 0;
};
Spinodals spinodals(const Isotherm& iso);

enum class CriticalStatus : std::uint8_t {
    Found,
    NoCriticalPoint, // the virial row, or parameters that give no loop at any temperature
    NotConverged,
    InvalidInput,
};
/// The model's own critical point: where ∂P/∂V = ∂²P/∂V² = 0.
struct CriticalPoint {
    CriticalStatus status = CriticalStatus::InvalidInput;
    double t_K = 0, p_bar = 0, v_cm3mol = 0;
    bool found() const { return status == CriticalStatus::Found; }
};
CriticalPoint criticalPoint(Model model, const Fluid& fluid);

/// One real root of P(T, V) = P with V above the smallest admitted volume.
struct VolumeRoot {
    double v_cm3mol = 0;
    double z = 0;
    double lnPhi = 0;
    bool mechanicallyStable = false; // ∂P/∂V < 0; the middle root of a loop is not
};
enum class RootsStatus : std::uint8_t {
    Found,
    NoRoot, // the virial row above its pressure maximum
    InvalidInput,
    // Found, but the model has a pole at vSingular inside its range (ESD far above its
    // critical temperature, where k1·Y < −1.9): the roots are those of the branch that joins
    // the ideal gas, above the pole; below it the model has no meaning.
    Singular,
};
/// All roots at (T, P), ascending in V, and the stable one (lowest Gibbs energy, that is
/// lowest ln φ). The virial row has no phase split: below the volume of its pressure maximum
/// P(V) falls with density, so its second root there is mechanically unstable.
struct StateRoots {
    RootsStatus status = RootsStatus::InvalidInput;
    int count = 0;
    std::array<VolumeRoot, 3> roots{};
    int stable = -1;         // index into roots, −1 when there is none
    bool phaseSplit = false; // false for the virial row: it has no liquid branch
    double vSingular = 0;    // the pole's volume (cm3/mol) when status is Singular
    bool hasRoots() const { return count > 0; }
};
StateRoots volumeRoots(Model model, const Fluid& fluid, double t_K, double p_bar);

enum class SaturationStatus : std::uint8_t {
    Converged,     // also above the model's critical temperature where its α grows again and the
                   // isotherm forms a second loop (Soave-type α far above Tc)
    AboveCritical, // T at or above the model's critical temperature, no loop
    NoLiquidRoot,  // below it, but the isotherm has no loop (no liquid branch)
    NotConverged,
    NoPhaseSplit, // the virial row
    InvalidInput,
};
/// The model's vapour pressure at T from equal fugacity, with both saturated volumes.
struct Saturation {
    SaturationStatus status = SaturationStatus::InvalidInput;
    double t_K = 0;
    double p_bar = 0;
    double vLiquid = 0, vVapour = 0;
    double lnPhi = 0; // of both phases (equal at convergence)
    int iterations = 0;
    bool converged() const { return status == SaturationStatus::Converged; }
};
Saturation saturation(Model model, const Fluid& fluid, double t_K);
/// The same with the model's critical point already known (saves forming it again).
Saturation saturation(Model model, const Fluid& fluid, double t_K, const CriticalPoint& critical);

/// The saturation curve from Tr = trFrom (of the model's own critical temperature) to its
/// critical point, `points` temperatures spaced closer near the critical end; the last point
/// is the critical point itself. Only converged points are returned.
std::vector<Saturation> saturationCurve(Model model, const Fluid& fluid, double trFrom, int points);

/// Everything the analysis says about one model at one state.
struct ModelAnalysis {
    Model model = Model::Vir;
    StateRoots roots;
    Saturation saturation;
    CriticalPoint critical;
};
struct StateAnalysis {
    double t_K = 0, p_bar = 0;
    std::array<ModelAnalysis, kModelCount> models{};
};
StateAnalysis analyseState(const Fluid& fluid, double t_K, double p_bar);
/// The state as the sheet holds it: constants, T and P widened, the spherical box for ESD.
StateAnalysis analyseState(const state::CalcState& s);

/// Short English words for the statuses ("converged", "above critical", ...).
std::string_view statusText(CriticalStatus s);
std::string_view statusText(RootsStatus s);
std::string_view statusText(SaturationStatus s);

} // namespace analysis
