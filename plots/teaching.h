#pragma once

#include "analysis/phase_envelope.h"
#include "plots/diagram.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Diagrams for teaching the two-phase region: every model's dome and spinodal, Maxwell's equal
// areas on one isotherm, families of isotherms, vapour-pressure curves; in reduced coordinates
// (each model divided by its own critical point, so van der Waals' curves are the same for every
// fluid) or in bar, cm3/mol and K. The envelopes are formed once per component
// (prepareTeaching); a scene for a slider temperature is cheap (teachingScene).
namespace plots {

enum class TeachingView { Domes, EqualAreas, IsothermFamily, VapourPressure };

/// What a line means; the legend explains each by its style.
enum class LineRole {
    Stable,     // the isotherm where that phase is stable
    Metastable, // between the dome and the spinodal
    Unstable,   // between the spinodals, ∂P/∂V > 0
    TieLine,    // the vapour pressure across the loop
    Dome,       // saturated liquid and vapour volumes (P-V) or the vapour pressure (P-T)
    Spinodal,   // ∂P/∂V = 0
    Guide,      // the state pressure, the slider temperature
};

struct TeachingCurveInfo {
    LineRole role = LineRole::Stable;
    bool reference = false;  // drawn from the reference equation of state, in black
    bool emphasised = false; // the isotherm at the slider temperature within a family
};

/// A shaded region between isotherm and tie-line, as a closed polygon in the axes' units.
struct TeachingFill {
    std::string name;
    bool liquidSide = true;
    std::vector<double> x, y;
};

/// A reference equation of state's own envelope for the component (dome only; spinodal fields
/// unused) and, where it has one, its pressure P(T in K, V in cm3/mol) in bar for isotherms.
struct ReferenceEnvelope {
    std::string name;
    analysis::CriticalPoint critical;
    std::vector<analysis::EnvelopePoint> dome; // ascending T, ending at the critical point
    std::function<double(double t_K, double v_cm3mol)> pressure_bar;
};

/// The shipped reference equation of state of a component (by its name), as a dome from its
/// triple point or 0.45 of its own Tc, whichever is higher, and its pressure; std::nullopt
/// where the component has none.
std::optional<ReferenceEnvelope> referenceEnvelope(std::string_view component);

/// Everything that does not depend on the slider, once per component.
struct TeachingData {
    analysis::Fluid fluid;
    std::array<analysis::PhaseEnvelope, kModelCount> envelopes{};
    std::optional<ReferenceEnvelope> reference;
};

/// The envelopes of the nine models (a virial row without one) from Tr 0.45 of each model's own
/// critical temperature.
TeachingData prepareTeaching(const analysis::Fluid& fluid);

struct TeachingOptions {
    TeachingView view = TeachingView::Domes;
    state::Row model = state::Row::PR; // equal areas; the model of an isotherm family
    bool familyAllModels = false;      // isotherm family: the slider temperature for all models
    double tr = 0.8;                   // slider: T over the component's critical temperature
    bool reduced = true;
    bool logV = true;       // ignored by the equal-area view (areas compare on linear axes)
    bool logP = false;      // likewise
    bool isotherms = false; // domes: each shown model's isotherm at the slider temperature
    std::optional<double> statePressure_bar; // the state line and the roots at (slider T, P)
    std::array<bool, kModelCount> shown{true, true, true, true, true, true, true, true, true};
};

/// The temperatures of an isotherm family, as T over the component's critical temperature.
inline constexpr std::array<double, 6> kFamilyTr = {0.7, 0.8, 0.9, 1.0, 1.1, 1.2};

/// A short text on the diagram, left-aligned at (x, y) in the axes' units.
struct TeachingLabel {
    double x = 0, y = 0;
    std::string text;
};

struct TeachingScene {
    Diagram diagram;                     // curves (model colour, CSV names) and markers, axes
    std::vector<TeachingCurveInfo> info; // one per diagram.curves
    std::vector<TeachingFill> fills;
    std::vector<TeachingLabel> labels;         // a family's temperatures beside its isotherms
    std::optional<analysis::EqualAreas> areas; // the equal-area view's construction
    double t_K = 0;                            // the slider temperature
    std::string caption;                       // "T = 295.84 K (T/Tc 0.8)", the areas' values
};

TeachingScene teachingScene(const TeachingData& data, const TeachingOptions& options);

} // namespace plots
