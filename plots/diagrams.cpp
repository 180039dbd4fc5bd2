#include "plots/diagrams.h"

#include "analysis/phase_analysis.h"
#include "core/saturation.h"
#include "state/number_format.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace plots {
namespace {

constexpr double kZeroCelsius_K = 273.15;
// Samples: the isotherm on a log volume grid dense enough that each van der Waals-type loop
// gets dozens of points; the vapour-pressure curve on a grid that is cheap for the two models
// without a closed-form root.
constexpr int kVolumeSamples = 600;
constexpr int kTempSamples = 90;
// The isotherm starts this far above the smallest co-volume and ends this far past the
// ideal-gas volume of the state.
constexpr double kCoVolumeMargin = 1.002;
constexpr double kIdealGasReach = 20.0;
// The vapour-pressure curve from this reduced temperature, where every model still has a
// liquid root, to a little past the highest critical temperature.
constexpr double kLowestReducedTemp = 0.4;
constexpr double kBeyondCritical = 1.05;
// Z-P: the curves are kept up to this multiple of the initial pressure window, so a zoom out
// shows more without the liquid branch's steep end ruling the autoscale.
constexpr double kZpReach = 3.0;
constexpr int kTableDigits = 6;

struct StatePoint {
    double t_K = 0;
    double p_bar = 0;
};

std::string number(double v) { return state::formatSignificant(v, kTableDigits); }

std::string abbrev(state::Row row) { return std::string(state::rowKey(row)); }

std::string celsiusText(double t_K) { return state::formatSignificant(t_K - kZeroCelsius_K, 6); }

bool finite(double v) { return std::isfinite(v); }

/// Logarithmically spaced samples from lo to hi, both included.
std::vector<double> logGrid(double lo, double hi, int n)
{
    std::vector<double> g(static_cast<std::size_t>(n));
    const double step = std::log(hi / lo) / (n - 1);
    for (int i = 0; i < n; ++i)
        g[static_cast<std::size_t>(i)] = lo * std::exp(step * i);
    g.back() = hi;
    return g;
}

std::vector<double> linearGrid(double lo, double hi, int n)
{
    std::vector<double> g(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        g[static_cast<std::size_t>(i)] = lo + (hi - lo) * i / (n - 1);
    return g;
}

/// The volumes the sheet shows for a model, liquid first; markers and "NC" give nothing.
std::vector<double> sheetVolumes(const state::ResultSheet& sheet, state::Row row)
{
    std::vector<double> v;
    for (state::Col col : {state::Col::Liq, state::Col::Vap}) {
        if (!state::hasCell(row, col))
            continue;
        if (const auto value = state::toDouble(sheet.text(row, col)); value && *value > 0)
            v.push_back(*value);
    }
    return v;
}

Curve line(std::string name, std::optional<state::Row> model, LineStyle style)
{
    Curve c;
    c.name = std::move(name);
    c.model = model;
    c.style = style;
    return c;
}

void push(Curve& c, double x, double y)
{
    c.x.push_back(x);
    c.y.push_back(y);
}

// Each model formed once at the state temperature, with its saturation and critical point.
struct Models {
    analysis::Fluid fluid;
    std::array<analysis::Isotherm, kModelCount> iso{};
    std::array<analysis::CriticalPoint, kModelCount> crit{};
    std::array<std::optional<analysis::Saturation>, kModelCount> sat{};
    analysis::StateAnalysis state;
};

Models formModels(const state::CalcState& s, StatePoint st)
{
    Models m;
    m.fluid = analysis::fluidOf(s.constants, s.chkSphMol);
    m.state = analysis::analyseState(m.fluid, st.t_K, st.p_bar);
    for (std::size_t i = 0; i < kModelCount; ++i) {
        const analysis::ModelAnalysis& a = m.state.models[i];
        m.iso[i] = analysis::makeIsotherm(a.model, m.fluid, st.t_K);
        m.crit[i] = a.critical;
        if (a.saturation.converged())
            m.sat[i] = a.saturation;
    }
    return m;
}

/// The top of the pressure window: above the state and the critical pressure.
double pressureTop(const state::ComponentConstants& cc, StatePoint st)
{
    return std::max(1.5 * static_cast<double>(cc.CritPress), 1.3 * st.p_bar);
}

/// The isotherm's lowest drawn volume: just above the co-volume. The truncated virial
/// equation describes the gas only; below the volume of its pressure maximum P would fall
/// with rising density, so its curve starts there.
double firstVolume(const analysis::Isotherm& iso)
{
    const double first = std::max(analysis::minVolume(iso), 0.0) * kCoVolumeMargin;
    if (iso.family != analysis::Family::Virial)
        return first;
    return std::max(first, analysis::spinodals(iso).vVapour);
}

std::optional<double> antoinePressure(const state::CalcState& s, double t_K)
{
    if (!s.flags.AntoineAvailable || t_K > s.constants.CritTemp)
        return std::nullopt;
    return core::SaturationPressure(s.antoine, static_cast<float>(t_K - kZeroCelsius_K));
}

// ---- P-V ------------------------------------------------------------------------------------

Diagram pvDiagram(const DiagramInput& in, const Models& m, StatePoint st)
{
    const state::ComponentConstants& cc = in.state.constants;
    Diagram d;
    d.title = "P-V isotherms at " + celsiusText(st.t_K) + " °C";
    double vMin = std::numeric_limits<double>::infinity();
    for (const analysis::Isotherm& iso : m.iso)
        if (const double v = firstVolume(iso); iso.valid && v > 0)
            vMin = std::min(vMin, v);
    if (!finite(vMin))
        vMin = 0.1 * static_cast<double>(cc.CritVol);
    const double rt = static_cast<double>(state::R) * st.t_K;
    const double vIdeal = rt / (st.p_bar > 0 ? st.p_bar : static_cast<double>(cc.CritPress));
    const double vMax = std::max(kIdealGasReach * vIdeal, 100.0 * static_cast<double>(cc.CritVol));
    const std::vector<double> grid = logGrid(vMin, vMax, kVolumeSamples);

    for (std::size_t i = 0; i < kModelCount; ++i) {
        const analysis::Isotherm& iso = m.iso[i];
        const state::Row row = iso.model;
        if (!iso.valid)
            continue;
        Curve c = line(abbrev(row) + " P", row, LineStyle::Solid);
        const double first = firstVolume(iso);
        for (double v : grid)
            if (v >= first)
                push(c, v, analysis::pressure(iso, v));
        if (c.x.size() > 1)
            d.curves.push_back(std::move(c));
        if (const auto& sat = m.sat[i]) {
            Curve tie = line(abbrev(row) + " tie-line P", row, LineStyle::Dashed);
            push(tie, sat->vLiquid, sat->p_bar);
            push(tie, sat->vVapour, sat->p_bar);
            d.curves.push_back(std::move(tie));
        }
        if (in.sheet)
            for (double v : sheetVolumes(*in.sheet, row))
                d.markers.push_back({MarkerKind::Root, row, v, st.p_bar, "sheet volume"});
    }
    Curve stateLine = line("State pressure", std::nullopt, LineStyle::Dotted);
    push(stateLine, vMin, st.p_bar);
    push(stateLine, vMax, st.p_bar);
    d.curves.push_back(std::move(stateLine));
    if (const auto ps = antoinePressure(in.state, st.t_K)) {
        Curve ant = line("Antoine pressure", std::nullopt, LineStyle::Dashed);
        push(ant, vMin, *ps);
        push(ant, vMax, *ps);
        d.curves.push_back(std::move(ant));
    }
    d.markers.push_back(
        {MarkerKind::CriticalPoint, std::nullopt, cc.CritVol, cc.CritPress, "Critical point"});

    d.x = {"V (cm3/mol)", true, vMin, vMax};
    // Around the state and the critical pressure, reaching below zero so that the loops of
    // the models below their critical temperature show both turns.
    d.y = {"P (bar)", false, -0.5 * static_cast<double>(cc.CritPress), pressureTop(cc, st)};
    return d;
}

// ---- Z-P ------------------------------------------------------------------------------------

Diagram zpDiagram(const DiagramInput& in, const Models& m, StatePoint st,
                  const std::vector<double>& grid)
{
    Diagram d;
    d.title = "Z-P at " + celsiusText(st.t_K) + " °C";
    const double pTop = pressureTop(in.state.constants, st);
    const double rt = static_cast<double>(state::R) * st.t_K;
    double zTop = 1.1;
    for (std::size_t i = 0; i < kModelCount; ++i) {
        const analysis::Isotherm& iso = m.iso[i];
        const state::Row row = iso.model;
        if (!iso.valid)
            continue;
        const std::string a = abbrev(row);
        const std::optional<analysis::Saturation>& sat = m.sat[i];
        // Along the isotherm from the vapour end: stable vapour, metastable vapour up to its
        // spinodal, (the unstable part left out), metastable liquid from its spinodal, stable
        // liquid. Without a phase split the mechanically stable isotherm is one curve.
        Curve stableV = line(a + (sat ? " Z stable vapour" : " Z"), row, LineStyle::Solid);
        Curve metaV = line(a + " Z metastable vapour", row, LineStyle::Dashed);
        Curve metaL = line(a + " Z metastable liquid", row, LineStyle::Dashed);
        Curve stableL = line(a + " Z stable liquid", row, LineStyle::Solid);
        const double first = firstVolume(iso);
        bool pastSpinodal = false; // the unstable part between the spinodals lies behind
        for (auto it = grid.rbegin(); it != grid.rend() && *it >= first; ++it) {
            const double v = *it;
            const bool unstable = !(analysis::pressureSlope(iso, v) < 0);
            pastSpinodal |= sat && unstable && v < sat->vVapour && v > sat->vLiquid;
            const double pv = analysis::pressure(iso, v);
            if (unstable || pv <= 0 || pv > kZpReach * pTop)
                continue;
            const double z = pv * v / rt;
            if (!sat || v >= sat->vVapour)
                push(stableV, pv, z);
            else if (v <= sat->vLiquid)
                push(stableL, pv, z);
            else
                push(pastSpinodal ? metaL : metaV, pv, z);
        }
        if (sat) {
            // The branches meet exactly at the saturation pressure.
            const double zl = sat->p_bar * sat->vLiquid / rt;
            const double zv = sat->p_bar * sat->vVapour / rt;
            push(stableV, sat->p_bar, zv);
            push(metaV, sat->p_bar, zv);
            push(metaL, sat->p_bar, zl);
            push(stableL, sat->p_bar, zl);
        }
        for (Curve* c : {&stableV, &metaV, &metaL, &stableL})
            if (c->x.size() > 1)
                d.curves.push_back(std::move(*c));
        if (in.sheet)
            for (double v : sheetVolumes(*in.sheet, row)) {
                const double z = st.p_bar * v / rt;
                d.markers.push_back({MarkerKind::Root, row, st.p_bar, z, "sheet volume"});
                zTop = std::max(zTop, 1.1 * z);
            }
    }
    Curve stateLine = line("State pressure", std::nullopt, LineStyle::Dotted);
    push(stateLine, st.p_bar, 0);
    push(stateLine, st.p_bar, zTop);
    d.curves.push_back(std::move(stateLine));
    d.x = {"P (bar)", false, 0, pTop};
    d.y = {"Z (-)", false, 0, zTop};
    return d;
}

// ---- P-T ------------------------------------------------------------------------------------

Diagram ptDiagram(const DiagramInput& in, const Models& m, StatePoint st)
{
    const state::ComponentConstants& cc = in.state.constants;
    Diagram d;
    d.title = "Vapour pressure";
    const double tc = cc.CritTemp;
    double tHigh = tc;
    for (const analysis::CriticalPoint& c : m.crit)
        if (c.found())
            tHigh = std::max(tHigh, c.t_K);
    const double tLow = std::min(kLowestReducedTemp * tc, st.t_K);
    tHigh = std::max(kBeyondCritical * tHigh, kBeyondCritical * st.t_K);
    const std::vector<double> grid = linearGrid(tLow, tHigh, kTempSamples);
    double pLow = std::numeric_limits<double>::infinity();

    for (std::size_t i = 0; i < kModelCount; ++i) {
        const analysis::CriticalPoint& crit = m.crit[i];
        const state::Row row = analysis::kModels[i];
        if (!crit.found())
            continue;
        Curve c = line(abbrev(row) + " Psat", row, LineStyle::Solid);
        for (double t : grid) {
            if (t >= crit.t_K)
                break;
            const analysis::Saturation sat = analysis::saturation(row, m.fluid, t, crit);
            if (sat.converged() && sat.p_bar > 0) {
                push(c, t, sat.p_bar);
                pLow = std::min(pLow, sat.p_bar);
            }
        }
        push(c, crit.t_K, crit.p_bar);
        d.markers.push_back(
            {MarkerKind::ModelCritical, row, crit.t_K, crit.p_bar, "model critical point"});
        if (c.x.size() > 1)
            d.curves.push_back(std::move(c));
    }
    if (in.state.flags.AntoineAvailable) {
        // Solid over the fitted range, dashed where the coefficients are extrapolated.
        Curve below = line("Antoine extrapolated below", std::nullopt, LineStyle::Dashed);
        Curve fitted = line("Antoine", std::nullopt, LineStyle::Solid);
        Curve above = line("Antoine extrapolated above", std::nullopt, LineStyle::Dashed);
        const auto& range = in.antoineRange;
        for (double t : grid) {
            const auto ps = antoinePressure(in.state, t);
            if (!ps || !(*ps > 0))
                continue;
            const double t_C = t - kZeroCelsius_K;
            Curve& part = !range                ? fitted
                          : t_C < range->tmin_C ? below
                          : t_C > range->tmax_C ? above
                                                : fitted;
            push(part, t, *ps);
            pLow = std::min(pLow, *ps);
        }
        for (Curve* c : {&below, &fitted, &above})
            if (c->x.size() > 1)
                d.curves.push_back(std::move(*c));
    }
    if (st.p_bar > 0)
        d.markers.push_back({MarkerKind::State, std::nullopt, st.t_K, st.p_bar, "State"});
    d.markers.push_back(
        {MarkerKind::CriticalPoint, std::nullopt, tc, cc.CritPress, "Critical point"});

    const double pHigh = 2.0 * std::max(static_cast<double>(cc.CritPress), st.p_bar);
    if (!finite(pLow))
        pLow = 1e-3 * pHigh;
    if (st.p_bar > 0)
        pLow = std::min(pLow, st.p_bar);
    d.x = {"T (K)", false, tLow, tHigh};
    d.y = {"P (bar)", true, std::max(0.5 * pLow, 1e-12 * pHigh), pHigh};
    return d;
}

// ---- table ----------------------------------------------------------------------------------

std::string joined(const std::vector<std::string>& parts)
{
    std::string s;
    for (const std::string& p : parts)
        s += (s.empty() ? "" : "; ") + p;
    return s;
}

std::vector<TableRow> table(const DiagramInput& in, const Models& m, StatePoint st)
{
    std::vector<TableRow> rows;
    const auto antoine = antoinePressure(in.state, st.t_K);
    for (const analysis::ModelAnalysis& a : m.state.models) {
        TableRow r;
        r.model = a.model;
        if (a.roots.hasRoots()) {
            std::vector<std::string> v;
            std::vector<std::string> phi;
            for (int k = 0; k < a.roots.count; ++k) {
                const analysis::VolumeRoot& root = a.roots.roots[static_cast<std::size_t>(k)];
                v.push_back(number(root.v_cm3mol) + (root.mechanicallyStable ? "" : " (unstable)"));
                phi.push_back(number(root.lnPhi));
            }
            r.roots = joined(v);
            r.lnPhi = joined(phi);
            if (a.roots.stable >= 0)
                r.stableRoot =
                    number(a.roots.roots[static_cast<std::size_t>(a.roots.stable)].v_cm3mol);
        } else {
            r.roots = std::string(analysis::statusText(a.roots.status));
        }
        if (r.stableRoot.empty())
            r.stableRoot = std::string(analysis::statusText(a.roots.status));
        if (a.saturation.converged()) {
            r.psat = number(a.saturation.p_bar);
            r.vl = number(a.saturation.vLiquid);
            r.vv = number(a.saturation.vVapour);
            if (antoine && *antoine > 0)
                r.antoineDev =
                    state::formatSignificant(100.0 * (a.saturation.p_bar - *antoine) / *antoine, 4);
        } else {
            r.psat = std::string(analysis::statusText(a.saturation.status));
        }
        if (a.critical.found())
            r.critical = number(a.critical.t_K) + " K, " + number(a.critical.p_bar) + " bar, " +
                         number(a.critical.v_cm3mol) + " cm3/mol";
        else
            r.critical = std::string(analysis::statusText(a.critical.status));
        rows.push_back(std::move(r));
    }
    return rows;
}

StatePoint statePoint(const DiagramInput& in)
{
    if (!in.sheet && !in.solvedBefore)
        return {kStandInTemp_C + kZeroCelsius_K, kStandInPress_bar};
    return {in.state.conditions.TempK, in.state.conditions.PressBar};
}

std::string note(const DiagramInput& in, StatePoint st)
{
    const std::string where = in.component + " at " + celsiusText(st.t_K) + " °C and " +
                              state::formatSignificant(st.p_bar, 6) + " bar";
    if (in.sheet)
        return where + "; markers on the curves are the volumes the sheet shows.";
    if (!in.solvedBefore)
        return "Not solved yet: " + where + ". Press Solve to draw your own state.";
    if (in.componentSolved)
        return where + ", not solved at this state: press Solve to mark the sheet's volumes.";
    return where + ", not solved for this component yet: press Solve to mark the sheet's volumes.";
}

} // namespace

std::array<double, 2> diagramStatePoint(const DiagramInput& input)
{
    const StatePoint st = statePoint(input);
    return {st.t_K, st.p_bar};
}

Diagrams computeDiagrams(const DiagramInput& in)
{
    Diagrams out;
    const StatePoint st = statePoint(in);
    const state::ComponentConstants& cc = in.state.constants;
    out.note = note(in, st);
    if (!(cc.CritTemp > 0) || !(cc.CritPress > 0) || !(cc.CritVol > 0) || !(st.t_K > 0)) {
        out.note = in.component.empty() ? "Choose a component to draw its diagrams."
                                        : "No diagrams: the critical constants or the "
                                          "temperature are not positive.";
        return out;
    }
    const Models m = formModels(in.state, st);
    out.pv = pvDiagram(in, m, st);
    std::vector<double> grid = logGrid(out.pv.x.min, out.pv.x.max, kVolumeSamples);
    out.zp = zpDiagram(in, m, st, grid);
    out.pt = ptDiagram(in, m, st);
    out.table = table(in, m, st);
    return out;
}

} // namespace plots
