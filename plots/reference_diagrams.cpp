#include "plots/reference_diagrams.h"

#include "core/sheet_export.h"
#include "plots/diagrams.h"
#include "state/calc_state.h"
#include "state/csv.h"
#include "state/number_format.h"
#include "state/units.h"

#include <algorithm>
#include <cmath>

namespace plots {
namespace {

constexpr double kCm3PerM3 = 1e6;
constexpr double kJPerCm3Bar = 0.1; // 1 cm3·bar = 0.1 J
// The measured points' Z: the exact gas constant, cm3·bar/(mol·K).
constexpr double kGasConstant = 83.144626181532;
// Samples: pressures on the liquid branch (nearly incompressible, so sampled in p rather
// than V) and temperatures on the saturation curves.
constexpr int kLiquidSamples = 60;
constexpr int kVolumeSamples = 400;
constexpr int kTempSamples = 90;
// The curves reach this multiple of the diagrams' pressure window, as the models' Z-P curves.
constexpr double kReach = 3.0;
// The liquid end of the view: this share below the reference's volume at the window's top.
constexpr double kViewMargin = 0.95;
constexpr int kShownDigits = 6;
constexpr int kDeviationDigits = 4;

double bar(double pa) { return pa / reference::kPaPerBar; }
double pa(double bar) { return bar * reference::kPaPerBar; }
double volume(double rho) { return kCm3PerM3 / rho; }

Curve referenceCurve(std::string name, LineStyle style = LineStyle::Solid)
{
    Curve c;
    c.name = "Reference " + std::move(name);
    c.style = style;
    c.reference = true;
    return c;
}

void push(Curve& c, double x, double y)
{
    if (std::isfinite(x) && std::isfinite(y)) {
        c.x.push_back(x);
        c.y.push_back(y);
    }
}

std::vector<double> logGrid(double lo, double hi, int n)
{
    std::vector<double> g(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        g[static_cast<std::size_t>(i)] = lo * std::pow(hi / lo, static_cast<double>(i) / (n - 1));
    return g;
}

/// The texts the reference reads: as typed when they are the state's, else the state's values.
std::pair<std::string, std::string> stateTexts(const DiagramInput& in, double t_K, double p_bar)
{
    const auto agrees = [](const std::string& text, double offset, double value) {
        const std::optional<double> x = state::toDouble(text);
        return x && std::fabs(*x + offset - value) <= 1e-6 * std::fabs(value);
    };
    if (!in.sheet && !in.solvedBefore)
        return {state::formatShortest(kStandInTemp_C), state::formatShortest(kStandInPress_bar)};
    if (agrees(in.tempText, state::kCelsiusToKelvin, t_K) && agrees(in.pressText, 0, p_bar))
        return {in.tempText, in.pressText};
    return {state::formatShortest(t_K - state::kCelsiusToKelvin), state::formatShortest(p_bar)};
}

/// A point of the stable isotherm: V in cm3/mol, P in bar.
struct Point {
    double v, p;
};

/// The stable isotherm from the pressure limit down to the volume `vMax`: the liquid branch,
/// the flat two-phase line at the vapour pressure, the vapour branch; or the one supercritical
/// branch. Ascending in V. Points inside the two-phase region are never taken from the
/// equation, whose loops there are no phase.
std::vector<Point> stableIsotherm(const reference::Fluid& f, double t_K, double pLimit_bar,
                                  double vMax, const std::optional<reference::Saturation>& sat)
{
    std::vector<Point> pts;
    const reference::State top = reference::solveState(f, t_K, pa(pLimit_bar));
    if (top.status != reference::Status::Ok)
        return pts;
    const double vTop = volume(top.properties.rho);
    const double vL = sat ? volume(sat->rhoLiquid) : 0, vV = sat ? volume(sat->rhoVapour) : 0;
    // Past the saturated vapour even when the view ends before it (a liquid far below its
    // boiling point), so that Z-P has its vapour branch.
    constexpr double kPastVapour = 20;
    for (double v : logGrid(vTop, std::max(vMax, kPastVapour * vV), kVolumeSamples)) {
        // Below Tc the liquid branch comes from the pressure samples alone, so that two
        // samples a root's tolerance apart never trade places.
        if (sat && v <= vV)
            continue;
        const double p = bar(reference::pressure(f, t_K, kCm3PerM3 / v));
        if (p > 0 && p <= pLimit_bar)
            pts.push_back({v, p});
    }
    if (sat) {
        // The liquid is nearly incompressible: sampled in pressure, from the vapour pressure up.
        const double ps = bar(sat->p_Pa);
        for (double p : logGrid(ps, pLimit_bar, kLiquidSamples)) {
            const reference::DensityRoots roots = reference::densityRoots(f, t_K, pa(p));
            if (p > ps && roots.liquid)
                pts.push_back({volume(*roots.liquid), p});
        }
        pts.push_back({vL, ps});
        pts.push_back({vV, ps});
    }
    std::sort(pts.begin(), pts.end(), [](const Point& a, const Point& b) { return a.v < b.v; });
    pts.erase(std::unique(pts.begin(), pts.end(),
                          [](const Point& a, const Point& b) { return a.v == b.v; }),
              pts.end());
    return pts;
}

void addPv(Diagram& d, const reference::Fluid& f, double pLimit, const std::vector<Point>& iso,
           const std::optional<reference::Saturation>& sat)
{
    Curve c = referenceCurve("P");
    for (const Point& pt : iso)
        push(c, pt.v, pt.p);
    if (c.x.size() > 1) {
        // The liquid branch in view: the reference's liquid may be denser than the models'
        // co-volumes allow.
        const auto inView =
            std::find_if(iso.begin(), iso.end(), [&](const Point& pt) { return pt.p <= d.y.max; });
        if (inView != iso.end() && sat)
            d.x.min = std::min(d.x.min, kViewMargin * inView->v);
        d.curves.push_back(std::move(c));
    }
    // The saturation boundary: liquid side up to the critical point, back down the vapour side.
    const double tLow = std::max(f.tTriple, 0.4 * f.tc);
    const double tHigh = f.saturationLimit();
    if (!(tHigh > tLow))
        return;
    std::vector<Point> liquid, vapour;
    for (int i = 0; i < kTempSamples; ++i) {
        const double t = tLow + (tHigh - tLow) * i / kTempSamples;
        const reference::Saturation s = reference::saturation(f, t);
        if (!s.ok())
            continue;
        liquid.push_back({volume(s.rhoLiquid), bar(s.p_Pa)});
        vapour.push_back({volume(s.rhoVapour), bar(s.p_Pa)});
    }
    // Ascending in V throughout; a liquid denser when warmer (water below 4 °C) is skipped.
    Curve dome = referenceCurve("saturation boundary", LineStyle::Dotted);
    const auto extend = [&](double v, double p) {
        if (dome.x.empty() || v > dome.x.back())
            push(dome, v, p);
    };
    for (const Point& pt : liquid)
        extend(pt.v, pt.p);
    if (const reference::CriticalPoint& cp = f.eosCritical(); cp.found)
        extend(volume(cp.rho), bar(cp.p_Pa));
    for (auto it = vapour.rbegin(); it != vapour.rend(); ++it)
        if (it->v <= d.x.max && it->p <= pLimit)
            extend(it->v, it->p);
    if (dome.x.size() > 1)
        d.curves.push_back(std::move(dome));
}

void addZp(Diagram& d, const reference::Fluid& f, double t_K, const std::vector<Point>& iso,
           const std::optional<reference::Saturation>& sat)
{
    const double rt = f.R / kJPerCm3Bar * t_K;
    const double vV = sat ? volume(sat->rhoVapour) : 0;
    Curve vapour = referenceCurve(sat ? "Z vapour" : "Z");
    Curve liquid = referenceCurve("Z liquid");
    // Ascending in P: from the largest volume down.
    for (auto it = iso.rbegin(); it != iso.rend(); ++it) {
        if (it->p > d.x.max * kReach)
            continue;
        const bool onVapour = !sat || it->v >= vV;
        // The flat two-phase line has two points at the vapour pressure: each branch takes its
        // own end.
        push(onVapour ? vapour : liquid, it->p, it->p * it->v / rt);
    }
    for (Curve* c : {&vapour, &liquid})
        if (c->x.size() > 1)
            d.curves.push_back(std::move(*c));
}

void addPt(Diagram& d, const reference::Fluid& f)
{
    const double tLow = std::max(f.tTriple, d.x.min);
    const double tHigh = f.saturationLimit();
    Curve c = referenceCurve("Psat");
    for (int i = 0; i < kTempSamples && tHigh > tLow; ++i) {
        const double t = tLow + (tHigh - tLow) * i / kTempSamples;
        if (const reference::Saturation s = reference::saturation(f, t); s.ok())
            push(c, t, bar(s.p_Pa));
    }
    if (const reference::CriticalPoint& cp = f.eosCritical(); cp.found)
        push(c, cp.t_K, bar(cp.p_Pa));
    if (c.x.size() > 1)
        d.curves.push_back(std::move(c));
}

std::string number(double v) { return state::formatSignificant(v, kShownDigits); }

std::string deviation(const std::optional<double>& d)
{
    if (!d)
        return "";
    return (*d > 0 ? "+" : "") + state::formatSignificant(*d, kDeviationDigits) + " %";
}

/// A value in the diagrams' own unit written in the chosen one.
std::string inUnit(double value, std::string_view own, const state::Unit* chosen)
{
    const state::Unit& from = state::unitBySymbol(own);
    return number(chosen ? state::convert(value, from, *chosen) : value);
}

std::string unitText(std::string_view own, const state::Unit* chosen)
{
    return std::string(chosen ? chosen->symbol : own);
}

} // namespace

std::string tableText(const TextTable& table, char separator)
{
    std::string out;
    const auto line = [&](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i > 0)
                out += separator;
            if (separator == ',')
                state::appendCsvField(out, cells[i]);
            else
                out += cells[i];
        }
        out += separator == ',' ? state::kCsvLineEnd : "\n";
    };
    line(table.columns);
    for (const auto& row : table.rows)
        line(row);
    return out;
}

std::string shortCitation(const std::string& citation)
{
    const std::size_t open = citation.find(" (");
    const bool dated = open != std::string::npos && open + 7 <= citation.size() &&
                       citation[open + 6] == ')' &&
                       std::all_of(citation.begin() + static_cast<std::ptrdiff_t>(open + 2),
                                   citation.begin() + static_cast<std::ptrdiff_t>(open + 6),
                                   [](char c) { return c >= '0' && c <= '9'; });
    if (!dated) {
        constexpr std::size_t kShort = 40;
        return citation.size() <= kShort ? citation : citation.substr(0, kShort) + "…";
    }
    const std::string authors = citation.substr(0, open);
    const std::string year = citation.substr(open + 2, 4);
    // Surnames are the pieces before each ", I." initials; "and" joins the last author.
    std::vector<std::string> surnames;
    std::size_t at = 0;
    while (at < authors.size()) {
        std::size_t comma = authors.find(", ", at);
        surnames.push_back(
            authors.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
        if (comma == std::string::npos)
            break;
        // Skip the initials up to the next author: ", " or " and ".
        const std::size_t nextComma = authors.find(", ", comma + 2);
        const std::size_t nextAnd = authors.find(" and ", comma + 2);
        if (nextAnd != std::string::npos && (nextComma == std::string::npos || nextAnd < nextComma))
            at = nextAnd + 5;
        else if (nextComma != std::string::npos)
            at = nextComma + 2;
        else
            break;
    }
    std::string who = surnames.empty() ? authors : surnames.front();
    if (surnames.size() == 2)
        who += " & " + surnames[1];
    else if (surnames.size() > 2)
        who += " et al.";
    return who + " " + year;
}

void addReference(Diagrams& d, const DiagramInput& in)
{
    const reference::Fluid* f = core::referenceFor(in.component);
    if (f == nullptr || d.pv.curves.empty())
        return;
    const std::string citation = f->citation;
    const ReferenceLegend legend{"Reference EOS: " + shortCitation(citation), citation};
    const auto [t_K, p_bar] = diagramStatePoint(in);

    ReferenceTable table;
    table.legend = legend;
    const auto [tText, pText] = stateTexts(in, t_K, p_bar);
    table.at = core::compareAtState(*f, in.state, tText, pText);
    const reference::Status status = table.at.state.status;
    if (status != reference::Status::Ok && status != reference::Status::TwoPhase)
        table.status = std::string(reference::statusText(status));
    d.reference = table;

    // The isotherm within the equation's range; the vapour-pressure curve always.
    // Just inside the equation's pressure limit, where its states still have a number.
    constexpr double kInsideLimit = 0.999;
    const double pLimit = std::min(kInsideLimit * bar(f->pMax), kReach * d.zp.x.max);
    if (t_K >= f->tTriple && t_K <= f->tMax) {
        std::optional<reference::Saturation> sat;
        if (t_K < f->saturationLimit())
            if (const reference::Saturation s = reference::saturation(*f, t_K); s.ok())
                sat = s;
        const std::vector<Point> iso = stableIsotherm(*f, t_K, pLimit, d.pv.x.max, sat);
        addPv(d.pv, *f, pLimit, iso, sat);
        addZp(d.zp, *f, t_K, iso, sat);
    }
    addPt(d.pt, *f);
    for (Diagram* diagram : {&d.pv, &d.zp, &d.pt})
        if (std::any_of(diagram->curves.begin(), diagram->curves.end(),
                        [](const Curve& c) { return c.reference; }))
            diagram->reference = legend;
}

TextTable referenceTableText(const ReferenceTable& table, const DiagramUnits& units)
{
    const state::Unit* vu = units.volume;
    const state::Unit* pu = units.pressure;
    const std::string v = unitText("cm3/mol", vu), p = unitText("bar", pu);
    TextTable out;
    out.columns = {"",
                   "Phase",
                   "V (" + v + ")",
                   "Z (-)",
                   "Density (kg/m3)",
                   "Psat (" + p + ")",
                   "V liquid (" + v + ")",
                   "V vapour (" + v + ")"};
    const core::ReferenceAtState& at = table.at;
    std::vector<std::string> ref(out.columns.size());
    ref[0] = "Reference";
    if (!table.status.empty()) {
        ref[1] = table.status;
    } else {
        ref[1] = std::string(reference::phaseText(at.state.phase));
        if (at.state.status == reference::Status::TwoPhase)
            ref[1] = "two-phase (liquid shown)";
        if (at.volume_cm3mol)
            ref[2] = inUnit(*at.volume_cm3mol, "cm3/mol", vu);
        if (at.z)
            ref[3] = number(*at.z);
        if (at.density_kg_m3)
            ref[4] = number(*at.density_kg_m3);
    }
    if (at.saturation) {
        ref[5] = inUnit(bar(at.saturation->p_Pa), "bar", pu);
        ref[6] = inUnit(volume(at.saturation->rhoLiquid), "cm3/mol", vu);
        ref[7] = inUnit(volume(at.saturation->rhoVapour), "cm3/mol", vu);
    } else if (table.status.empty()) {
        ref[5] = "above Tc";
    }
    out.rows.push_back(std::move(ref));
    for (const core::ModelDeviation& m : at.models) {
        out.rows.push_back({std::string(state::rowCaption(m.model)), "", deviation(m.volume),
                            deviation(m.z), deviation(m.density), deviation(m.psat),
                            deviation(m.vLiquid), deviation(m.vVapour)});
    }
    return out;
}

void addMeasured(Diagrams& d, const core::MeasuredData& data, const std::string& label)
{
    for (const core::MeasuredPoint& pt : data.points) {
        d.pt.markers.push_back({MarkerKind::Measured, std::nullopt, pt.t_K, pt.p_bar, label});
        if (!pt.v_cm3mol)
            continue;
        const double z = pt.p_bar * *pt.v_cm3mol / (kGasConstant * pt.t_K);
        d.pv.markers.push_back({MarkerKind::Measured, std::nullopt, *pt.v_cm3mol, pt.p_bar, label});
        d.zp.markers.push_back({MarkerKind::Measured, std::nullopt, pt.p_bar, z, label});
    }
}

} // namespace plots
