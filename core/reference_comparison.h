#pragma once

#include "analysis/phase_analysis.h"
#include "reference/reference_eos.h"
#include "state/calc_state.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The nine models measured against the reference equation of state of their component.
//
//   compareAtState  the reference's phase, volume, Z and density at the typed state, each
//                   model's deviation there (its stable root from the analysis, in double),
//                   and below Tc of its vapour pressure and saturated volumes;
//   scorecard       each model's average absolute deviation over the saturation curve
//                   (max(T_triple, 0.5 Tc) .. 0.99 Tc) and a single-phase grid, ranked, with
//                   its worst state named;
//   readMeasured / scoreMeasured
//                   the user's own points from CSV (units in the header), every model and the
//                   reference scored against them.
//
// Deviations are in per cent, (model − reference)/reference·100; an AAD is the mean of their
// absolute values. Units: K, bar, cm3/mol, kg/m3. No function throws; what has no number is
// a status or an empty optional.
namespace core {

using analysis::Model;

/// The reference filed under a component name, or null (then `reason` says why).
const reference::Fluid* referenceFor(std::string_view component, std::string* reason = nullptr);

struct ModelDeviation {
    Model model = Model::Vir;
    std::optional<double> volume, z, density;     // at the state (stable root)
    std::optional<double> psat, vLiquid, vVapour; // on the saturation line at the state's T
};

struct ReferenceAtState {
    const reference::Fluid* fluid = nullptr;
    double t_K = 0, p_bar = 0;
    reference::State state;                          // status, phase, properties
    std::optional<reference::Saturation> saturation; // below Tc: the reference's
    std::array<ModelDeviation, analysis::kModelCount> models{};
    // The reference's stable volume and Z (for status TwoPhase: the liquid's).
    std::optional<double> volume_cm3mol, z, density_kg_m3;
};
/// At the typed texts (°C and bar, read in double) of a solved sheet state.
ReferenceAtState compareAtState(const reference::Fluid& f, const state::CalcState& s,
                                std::string_view tempC, std::string_view pressBar);

/// One model's scores. AADs are empty where the model gave no number at any point.
struct ModelScore {
    Model model = Model::Vir;
    std::optional<double> psat, vLiquid, vVapour, grid; // AAD %
    int satPoints = 0, gridPoints = 0;                  // points with a number
    int satMissing = 0, gridMissing = 0;                // points where the model had none
    std::optional<double> overall;                      // mean of the AADs it has
    std::string worstState; // "saturation at 420.1 K (vapour volume)", "350 K, 40 bar"
    double worstDeviation = 0;
};
struct Scorecard {
    const reference::Fluid* fluid = nullptr;
    double tFrom = 0, tTo = 0;         // the saturation range, K
    double gridPMax_bar = 0;           // the grid's highest pressure
    int satPoints = 0, gridPoints = 0; // reference points used
    std::vector<ModelScore> ranked;    // best (lowest overall) first; none last
};
Scorecard scorecard(const reference::Fluid& f, const analysis::Fluid& models);

/// The user's points.
struct MeasuredPoint {
    long line = 0;
    double t_K = 0;
    double p_bar = 0;               // the pressure, or the vapour pressure
    std::optional<double> v_cm3mol; // pvT points; empty for vapour-pressure points
};
struct RejectedRow {
    long line = 0;
    std::string reason;
};
struct MeasuredData {
    bool vapourPressure = false; // T and vapour pressure, not p, V, T
    std::vector<MeasuredPoint> points;
    std::vector<RejectedRow> rejected;
    std::string error; // a file that cannot be read at all (header): empty otherwise
};
/// CSV with a header of `name [unit]` cells: T or temperature; p or pressure; rho or density
/// (mass or molar density), or V or volume (molar or specific volume); or, instead of p and
/// the density, psat or vapour pressure. Units as state/units.h reads them ("K", "C",
/// "MPa", "bar", "kg/m3", "mol/L", "cm3/mol", "m3/kmol"). Mass units need the molar mass
/// (g/mol). A bad row is rejected with its line number; the others are kept.
MeasuredData readMeasured(std::string_view csv, double molarMass_g_mol);

struct DataScore {
    std::string who; // model key ("PR") or "reference"
    std::optional<double> aad;
    int points = 0, missing = 0;
    long worstLine = 0;
    double worstDeviation = 0;
};
/// Each model (stable root at (T, p), or its vapour pressure) and the reference against the
/// points, ranked best first; the reference row is absent when `ref` is null.
std::vector<DataScore> scoreMeasured(const MeasuredData& data, const analysis::Fluid& models,
                                     const reference::Fluid* ref);

} // namespace core
