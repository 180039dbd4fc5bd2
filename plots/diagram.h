#pragma once

#include "analysis/phase_analysis.h"
#include "core/reference_comparison.h"
#include "state/result_sheet.h"

#include <array>
#include <limits>
#include <optional>
#include <string>
#include <vector>

// What the diagrams window draws, as plain data: curves, markers and axes in the units the
// axes name. Computed without a window so the numbers can be checked directly.
namespace plots {

inline constexpr std::size_t kModelCount = analysis::kModelCount;

enum class LineStyle { Solid, Dashed, Dotted };

/// One drawn line. A model's curves carry its row, so one legend entry and one colour serve
/// every curve of that model; curves of the component (Antoine, state line) carry none.
struct Curve {
    std::string name;  // column caption in the data export, without units
    std::string label; // what the window calls it: "Peng-Robinson, stable liquid"
    std::optional<state::Row> model;
    LineStyle style = LineStyle::Solid;
    std::vector<double> x; // same length as y; every value finite
    std::vector<double> y;
    bool reference = false; // the reference equation of state's: black, one legend entry
};

enum class MarkerKind {
    Root,          // a volume the result sheet shows, on its model's curve
    State,         // the state (T, P) or its Z
    CriticalPoint, // the component's critical constants
    ModelCritical, // a model's own critical point
    Measured,      // a point of the user's own data
};

struct Marker {
    MarkerKind kind = MarkerKind::State;
    std::optional<state::Row> model;
    double x = 0;
    double y = 0;
    std::string label;
};

struct Axis {
    std::string title; // with its unit, "V (cm3/mol)"
    bool log = false;
    double min = 0; // the initial view; the data may reach beyond it
    double max = 1;
    // The view may not start below this value (0 K, 0 bar); -infinity when the axis may run
    // to any negative value.
    double floor = -std::numeric_limits<double>::infinity();
};

/// A legend line that says what a line style means ("dashed: metastable").
struct StyleKey {
    LineStyle style = LineStyle::Dashed;
    std::string text;
};

/// The legend entry of the reference's curves: a short name and the full citation.
struct ReferenceLegend {
    std::string name;
    std::string citation;
};

struct Diagram {
    std::string title;
    Axis x;
    Axis y;
    std::vector<Curve> curves;
    std::vector<Marker> markers;
    std::optional<ReferenceLegend> reference; // set when a curve is the reference's
    std::vector<StyleKey> keys;
    std::optional<Axis> yLog; // the y axis when shown logarithmic, where the diagram offers it
};

/// The analysis of the state for one model, as the table shows it. Volumes in cm3/mol,
/// pressures in bar, temperatures in K; text cells are ready to show.
struct TableRow {
    state::Row model = state::Row::Vir;
    std::string roots;      // "89.412; 24 381.2" style list, or a status
    std::string lnPhi;      // ln φ of each root, same order
    std::string stableRoot; // the stable volume, or a status
    std::string psat;       // model saturation pressure, or a status
    std::string vl;         // saturated liquid volume
    std::string vv;         // saturated vapour volume
    std::string antoineDev; // (psat_model - psat_Antoine) / psat_Antoine in %, or empty
    std::string critical;   // "Tc K, Pc bar, Vc cm3/mol" of the model
};

/// The reference equation of state at the state, beside the table of the models. Numbers in
/// K, bar, cm3/mol and kg/m3; `status` says why there are none.
struct ReferenceTable {
    ReferenceLegend legend;
    std::string status;
    core::ReferenceAtState at;
};

/// Everything the window shows for one state.
struct Diagrams {
    Diagram pv; // P-V isotherms
    Diagram zp; // Z-P at the state temperature
    Diagram pt; // vapour pressure
    std::vector<TableRow> table;
    std::string note; // what the diagrams show: the solved state or the stand-in
    std::optional<ReferenceTable> reference;
    // The state drawn, as the titles write it: °C and bar.
    std::string tempText;
    std::string pressText;
};

} // namespace plots
