#pragma once

#include "analysis/model_parameters.h"
#include "analysis/phase_analysis.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// What each model says about the state beyond its volume: every real root with a tag (stable,
// metastable, unstable, unphysical) and why, and at each physical root the residual and
// derivative properties, in double precision and in closed form.
//
// Residual properties are departures from the ideal gas at the same T and P
// (X_res = X − X_ideal gas(T, P)), so G_res = R·T·ln φ; R is the models' 83.14 cm3·bar/(mol·K),
// 8.314 J/(mol·K). Units: V in cm3/mol, P in bar, energies in J/mol, entropies and heat
// capacities in J/(mol·K), β in 1/K, κ_T in 1/bar, density in kg/m3. A value that is not
// defined is a status, never NaN or an infinity.
namespace analysis {

/// R as the models use it, in J/(mol·K): 83.14 (a float) cm3·bar/(mol·K) at 0.1 J/(cm3·bar).
inline constexpr double kRJoule = static_cast<double>(state::R) / 10;
/// The reference of the residual properties, in words, for output that states it once.
inline constexpr std::string_view kResidualReference =
    "residual properties against the ideal gas at the same T and P";

enum class RootTag : std::uint8_t {
    Stable,     // the lowest Gibbs energy (lowest ln φ) of the mechanically stable roots
    Metastable, // (∂P/∂V)_T < 0 but a higher Gibbs energy than the stable root
    Unstable,   // (∂P/∂V)_T > 0: between the spinodals, or past the virial row's maximum
    Unphysical, // V ≤ b (V ≤ 0 for the virial row), or beyond ESD's pole
};
enum class Metastability : std::uint8_t { None, SuperheatedLiquid, SubcooledVapour };
/// Why a root carries its tag.
enum class RootReason : std::uint8_t {
    LowestGibbs,             // stable, one of two mechanically stable roots
    OnlyStableBranch,        // stable, the only mechanically stable root
    HigherGibbs,             // metastable
    PressureRisesWithVolume, // unstable, in a loop
    PastPressureMaximum,     // unstable, the virial row's denser root
    BelowCoVolume,           // unphysical, V ≤ b
    NegativeVolume,          // unphysical, the virial row's V ≤ 0
    BeyondPole,              // unphysical, ESD: the pole lies between it and the ideal gas
};

enum class PropertyStatus : std::uint8_t {
    Defined,
    AtSpinodal,      // (∂P/∂V)_T = 0 to double precision: β, κ_T and Cp − Cv are unbounded
    NoMolarMass,     // density needs a molar mass
    OutOfRange,      // the value exceeds the double range (a fugacity of e^800 bar)
    NotRepresentable // a property at this root is beyond the double range: none is given
};

/// The properties at one root (or any volume of the isotherm) and pressure.
struct RootProperties {
    double v_cm3mol = 0, z = 0;
    std::optional<double> density_kg_m3; // NoMolarMass when empty
    double lnPhi = 0;
    std::optional<double> fugacity_bar; // OutOfRange when empty
    double gRes_J_mol = 0, hRes_J_mol = 0, sRes_J_molK = 0, uRes_J_mol = 0, aRes_J_mol = 0;
    double dPdT_V_bar_K = 0;
    double dPdV_T_bar_mol_cm3 = 0;
    // β = (1/V)(∂V/∂T)_P, κ_T = −(1/V)(∂V/∂P)_T, Cp − Cv = −T·(∂P/∂T)_V²/(∂P/∂V)_T; empty
    // (AtSpinodal) where (∂P/∂V)_T vanishes.
    std::optional<double> beta_1_K, kappaT_1_bar, cpMinusCv_J_molK;
    double cvRes_J_molK = 0;
};

struct TaggedRoot {
    double v_cm3mol = 0, z = 0;
    RootTag tag = RootTag::Unphysical;
    Metastability kind = Metastability::None;
    RootReason reason = RootReason::BelowCoVolume;
    std::optional<RootProperties> properties;        // empty for an unphysical root
    PropertyStatus status = PropertyStatus::Defined; // why `properties` is empty
};

/// One model at the state: parameters, every real root ascending in V, the stable one.
struct ModelProperties {
    Model model = Model::Vir;
    ModelParameters parameters;
    RootsStatus status = RootsStatus::InvalidInput; // as volumeRoots gives it
    double vSingular = 0;                           // ESD's pole when status is Singular
    std::array<TaggedRoot, 4> roots{};
    int count = 0;
    int stable = -1; // index into roots, −1 when there is none
    /// The stable root's properties; empty when there is no root (see `status`).
    std::optional<RootProperties> stableProperties() const;
};

/// Parameters, tagged roots and properties of one model at (T, P). The molar mass
/// (g/mol) only gives the density; 0 leaves it out.
ModelProperties modelProperties(Model model, const Fluid& fluid, double t_K, double p_bar,
                                double molarMass_gmol);

struct StateProperties {
    double t_K = 0, p_bar = 0;
    std::array<ModelProperties, kModelCount> models{};
};
StateProperties stateProperties(const Fluid& fluid, double t_K, double p_bar,
                                double molarMass_gmol);
/// The state as the sheet holds it (constants, T, P, the spherical box, the molar mass).
StateProperties stateProperties(const state::CalcState& s);

/// The properties at volume V of the model's isotherm at `parameters`' T, taken at pressure
/// P (at a root, the state's; elsewhere P(T, V)); empty below the smallest admitted volume,
/// for P ≤ 0 or where a value leaves the double range.
std::optional<RootProperties> propertiesAt(const ModelParameters& parameters, double v_cm3mol,
                                           double p_bar, double molarMass_gmol);

/// One property as output names it: a key carrying its unit, and its value or the status
/// that says why there is none.
struct NamedProperty {
    std::string_view key;
    std::optional<double> value;
    PropertyStatus status = PropertyStatus::Defined;
};
inline constexpr int kPropertyCount = 16;
/// The keys of every property of a root, in output order: one JSON member or CSV column each.
inline constexpr std::array<std::string_view, kPropertyCount> kPropertyKeys = {
    "molar_volume_cm3_mol",
    "Z",
    "density_kg_m3",
    "ln_phi",
    "fugacity_bar",
    "H_res_J_mol",
    "S_res_J_molK",
    "G_res_J_mol",
    "U_res_J_mol",
    "A_res_J_mol",
    "dPdT_V_bar_K",
    "dPdV_T_bar_mol_cm3",
    "beta_1_K",
    "kappa_T_1_bar",
    "Cv_res_J_molK",
    "Cp_minus_Cv_J_molK"};
/// Every property of a root under its key, in the order of kPropertyKeys.
std::array<NamedProperty, kPropertyCount> namedProperties(const RootProperties& p);

/// Why a model has no stable-root properties, in words: the roots' status ("no root",
/// "invalid input"), "no mechanically stable root", or the stable root's ("beyond the double
/// range"); its roots' status ("found", "singular") when it has them.
std::string_view stableStatusText(const ModelProperties& m);

std::string_view tagText(RootTag t);        // "stable", "metastable", "unstable", "unphysical"
std::string_view kindText(Metastability m); // "", "superheated liquid", "subcooled vapour"
std::string_view statusText(PropertyStatus s);

} // namespace analysis
