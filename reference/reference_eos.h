#pragma once

#include "state/calc_state.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reference equations of state: the multiparameter Helmholtz-energy equations published for
// 122 pure fluids (assets/reference_eos.json, compiled in), evaluated in double precision.
//
//   a = A/(R·T) = α⁰(τ, δ) + αʳ(τ, δ),   τ = T_red/T,  δ = ρ/ρ_red
//
// Use:
//   const reference::Fluid* f = reference::Library::shipped().find("Water"); // null: none
//   reference::State st = reference::solveState(*f, 373.15, 101325);        // K, Pa
//   if (st.status == reference::Status::Ok) st.properties.density_kg_m3 ...
//   reference::Saturation sat = reference::saturation(*f, 373.15);
//   reference::DensityRoots all = reference::densityRoots(*f, 450, 932000);
//   reference::Derivatives r = reference::residual(*f, tau, delta);
//
// Units throughout: K, Pa, mol/m3 (molar density ρ), J/mol, J/(mol·K), m/s, K/Pa; the gas
// constant is each equation's own. A result that is not a number is a status, never NaN;
// nothing throws once the library is loaded (Library::parse throws on a malformed file).
namespace reference {

/// α and its partial derivatives (plain, not scaled by powers of δ and τ).
struct Derivatives {
    double a = 0;
    double d = 0, dd = 0, ddd = 0; // ∂/∂δ, ∂²/∂δ², ∂³/∂δ³
    double t = 0, tt = 0, dt = 0;  // ∂/∂τ, ∂²/∂τ², ∂²/∂δ∂τ
};

/// Residual terms. Power and exponential share one kernel n δ^d τ^t exp(−g δ^l) (g = 1 for
/// the power terms with l > 0, g = 0 for l = 0); Gaussian n δ^d τ^t exp(−η(δ−ε)² − β(τ−γ)²);
/// the non-analytic terms of water and carbon dioxide n Δ^b δ ψ.
struct PowerTerm {
    double n, d, t, l, g;
};
struct GaussianTerm {
    double n, d, t, eta, epsilon, beta, gamma;
};
struct NonAnalyticTerm {
    double n, a, b, beta, A, B, C, D;
};

/// Ideal-gas terms. The heat-capacity forms (constant, polynomial in T, Aly-Lee) are
/// integrated from T0 with zero enthalpy and entropy there; the equation's own offsets (Lead,
/// EnthalpyEntropyOffset) set the reference state.
struct IdealTerm {
    enum class Kind {
        Lead,           // a1 + a2·τ + ln δ
        Offset,         // a1 + a2·τ
        LogTau,         // a1·ln τ
        Power,          // n τ^t
        PlanckEinstein, // n ln(1 − exp(−t τ))
        PlanckGeneral,  // n ln(c + d·exp(t τ))
        Cp0PolyT,       // cp/R = Σ c T^t
        Cp0AlyLee,      // cp/R = c0 + c1 [(c2/T)/sinh(c2/T)]² + c3 [(c4/T)/cosh(c4/T)]²
    };
    Kind kind = Kind::Lead;
    double a1 = 0, a2 = 0;
    std::vector<double> n, t, c, d;
    double t0 = 0; // cp forms: integration start, K
};

/// One ancillary equation (starting values only).
struct Ancillary {
    enum class Kind { Pressure, LiquidDensity, VapourDensity };
    Kind kind = Kind::Pressure;
    double tR = 0, reducing = 0;
    bool usingTauR = false;
    std::vector<double> n, t;
    double tMin = 0, tMax = 0;
    double maxErrorPercent = 0;
    /// Pa or mol/m3 at T; θ = 1 − T/T_r is clamped at 0 above T_r.
    double operator()(double t_K) const;
};

struct CriticalPoint {
    bool found = false;
    double t_K = 0, p_Pa = 0, rho = 0;
};

struct CriticalCache; // the own critical point, computed once (internal)

struct Fluid {
    std::string name;     // the shipped component's name
    std::string citation; // the equation's publication(s), "; " between several
    double R = 0, M = 0;  // J/(mol·K), kg/mol
    double tRed = 0, rhoRed = 0;
    double tc = 0, pc = 0, rhoc = 0; // the published critical constants
    double tTriple = 0, tMax = 0, pMax = 0;
    std::vector<PowerTerm> power;
    std::vector<GaussianTerm> gaussian;
    std::vector<NonAnalyticTerm> nonAnalytic;
    std::vector<IdealTerm> ideal;
    Ancillary pSat, rhoLiquid, rhoVapour;

    /// The equation's own critical point (∂p/∂ρ = ∂²p/∂ρ² = 0), computed once on first use;
    /// it may lie a little away from the published constants.
    const CriticalPoint& eosCritical() const;
    /// The highest temperature with a two-phase region: the own critical temperature, or the
    /// published one when the search failed.
    double saturationLimit() const;

    std::shared_ptr<CriticalCache> cache;
};

class Library {
public:
    /// Reads a file of the shipped format. Throws std::runtime_error naming the fault.
    static Library parse(std::string_view json);
    /// The compiled-in file, parsed once per process (thread-safe).
    static const Library& shipped();
    /// The fluid filed under a component name (exact match), or null.
    const Fluid* find(std::string_view componentName) const;
    const std::vector<Fluid>& fluids() const { return m_fluids; }
    /// The licence notice of the data, for display next to a citation.
    static std::string_view notice();

private:
    std::vector<Fluid> m_fluids;
};

Derivatives residual(const Fluid& f, double tau, double delta);
Derivatives ideal(const Fluid& f, double tau, double delta);

/// p(T, ρ) in Pa.
double pressure(const Fluid& f, double t_K, double rho);

/// Why a state or saturation has no number.
enum class Status {
    Ok,
    TwoPhase,      // p equals the vapour pressure (to 1e-6): both saturated phases are given
    BelowTriple,   // T below the triple-point temperature
    AboveTmax,     // T above the equation's upper temperature limit
    AbovePmax,     // p above its upper pressure limit
    AboveCritical, // saturation asked above the critical temperature
    NotConverged,
    InvalidInput, // T or p not a positive finite number
};
std::string_view statusText(Status s);

enum class Phase { Liquid, Vapour, Gas, Supercritical };
/// "liquid", "vapour", "gas" (above Tc, below pc), "supercritical" (above Tc and pc).
std::string_view phaseText(Phase p);

/// Everything the reference gives at one (T, ρ). Residual parts are departures from the ideal
/// gas at the same T and p: gRes = R·T·ln φ.
struct Properties {
    double t_K = 0, p_Pa = 0, rho = 0;
    double z = 0, v_m3mol = 0, density_kg_m3 = 0;
    double h = 0, s = 0, u = 0, g = 0;              // J/mol, J/(mol·K)
    double cv = 0, cp = 0, w = 0, muJT = 0;         // J/(mol·K), m/s, K/Pa
    double lnPhi = 0, hRes = 0, sRes = 0, gRes = 0; // J/mol, J/(mol·K)
    double dpdrho = 0;                              // (∂p/∂ρ)_T, Pa·m3/mol
};
/// At (T, ρ). When p_Pa is given (the state's pressure), Z and ln φ use Z = p/(ρRT): on a
/// dense liquid at low pressure 1 + δαʳ_δ has lost digits that p keeps.
Properties properties(const Fluid& f, double t_K, double rho,
                      std::optional<double> p_Pa = std::nullopt);

/// The vapour pressure and saturated densities at T, from equal pressure and Gibbs energy.
struct Saturation {
    Status status = Status::InvalidInput;
    double t_K = 0, p_Pa = 0;
    double rhoLiquid = 0, rhoVapour = 0;
    bool ok() const { return status == Status::Ok; }
};
Saturation saturation(const Fluid& f, double t_K);

/// Every density root of p(T, ρ) = p, ascending. Inside the two-phase region the equations
/// have extra loops; their rising roots are artefacts and never a phase.
struct Root {
    enum class Kind { Vapour, Liquid, Single, Spurious, Unstable };
    Kind kind = Kind::Single; // Single: the one monotonic branch above the critical point
    double rho = 0;
};
struct DensityRoots {
    Status status = Status::InvalidInput;
    std::vector<Root> roots;
    std::optional<double> vapour, liquid; // the roots on the dilute and the densest branch
};
DensityRoots densityRoots(const Fluid& f, double t_K, double p_Pa);

/// The stable state at (T, p): the vapour root on the branch that joins the ideal gas or the
/// liquid root on the densest branch, chosen by the vapour pressure.
struct State {
    Status status = Status::InvalidInput;
    Phase phase = Phase::Vapour;
    Properties properties;                    // the stable phase (status Ok)
    std::optional<Saturation> saturation;     // at T below Tc, when it was needed or asked
    std::optional<Properties> liquid, vapour; // both, for status TwoPhase
};
State solveState(const Fluid& f, double t_K, double p_Pa);

/// The state from the texts typed into the sheet: °C (+ 273.15) and bar, read in double.
/// InvalidInput when a text is no number.
State solveTyped(const Fluid& f, std::string_view tempC, std::string_view pressBar);

/// Pa from bar, the sheet's conversion in double (kelvin from °C: state::kCelsiusToKelvin).
inline constexpr double kPaPerBar = 1e5;

} // namespace reference
