#include "cli/analysis_output.h"

#include "analysis/phase_analysis.h"
#include "cli/output.h"
#include "cli/units_options.h"
#include "core/saturation.h"
#include "state/number_format.h"
#include "state/result_sheet.h"

#include <cmath>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <string_view>

namespace cli {
namespace {

constexpr int kDigits = 7; // significant digits in the readable table
constexpr double kZeroCelsius_K = 273.15;

// A number that is not finite is said as such, never printed as a number (the shared
// formatter writes 0 for it).
constexpr std::string_view kNotFinite = "not finite";
// A result the solver calls converged or found whose numbers are not finite or not positive
// (constants far outside any fluid's range) is no result.
constexpr std::string_view kNoFiniteResult = "no finite result";

std::string sig(double x)
{
    return std::isfinite(x) ? state::formatSignificant(x, kDigits) : std::string(kNotFinite);
}

bool finitePositive(std::initializer_list<double> values)
{
    for (const double x : values)
        if (!std::isfinite(x) || !(x > 0))
            return false;
    return true;
}

bool saturationUsable(const analysis::Saturation& sat)
{
    return sat.converged() && finitePositive({sat.p_bar, sat.vLiquid, sat.vVapour});
}

std::string_view saturationStatus(const analysis::Saturation& sat)
{
    return sat.converged() && !saturationUsable(sat) ? kNoFiniteResult
                                                     : analysis::statusText(sat.status);
}

bool criticalUsable(const analysis::CriticalPoint& c)
{
    return c.found() && finitePositive({c.t_K, c.p_bar, c.v_cm3mol});
}

std::string_view criticalStatus(const analysis::CriticalPoint& c)
{
    return c.found() && !criticalUsable(c) ? kNoFiniteResult : analysis::statusText(c.status);
}

/// (model psat − Antoine psat)/Antoine psat, when the component has Antoine data and both
/// pressures exist at the state temperature. A vapour pressure above the model's critical
/// temperature (a second loop of a Soave-type α) has no Antoine counterpart.
std::optional<double> antoineDeviation(const state::CalcState& s, const analysis::ModelAnalysis& m)
{
    const analysis::Saturation& sat = m.saturation;
    if (!s.flags.AntoineAvailable || !saturationUsable(sat) ||
        (m.critical.found() && sat.t_K >= m.critical.t_K))
        return std::nullopt;
    const auto antoine = core::SaturationPressure(
        s.antoine, static_cast<float>(s.conditions.TempK - kZeroCelsius_K));
    if (!antoine || !(*antoine > 0))
        return std::nullopt;
    const double deviation = (sat.p_bar - *antoine) / *antoine;
    return std::isfinite(deviation) ? std::optional(deviation) : std::nullopt;
}

/// The analysis's values (K, bar, cm3/mol) in the run's units; unchanged without units.
struct InUnits {
    const RunUnits* units;
    double convert(double x, std::string_view symbol) const
    {
        return units == nullptr ? x : units->convert(x, state::unitBySymbol(symbol));
    }
    double t(double t_K) const { return convert(t_K, "K"); }
    double p(double p_bar) const { return convert(p_bar, "bar"); }
    double v(double v_cm3mol) const { return convert(v_cm3mol, "cm3/mol"); }
    std::string_view symbol(std::string_view own) const
    {
        return units == nullptr ? own : units->outputUnit(state::unitBySymbol(own)).symbol;
    }
};

// Shortest text that reads back as the same double; a value that is not finite is null.
std::string jsonNumber(double x) { return std::isfinite(x) ? state::formatShortest(x) : "null"; }

std::string rootsLine(const analysis::StateRoots& r, const InUnits& u)
{
    if (!r.hasRoots())
        return std::string(analysis::statusText(r.status));
    std::string line;
    for (int i = 0; i < r.count; ++i) {
        const analysis::VolumeRoot& root = r.roots[static_cast<std::size_t>(i)];
        line += (i ? ", " : "") + sig(root.v_cm3mol) + " (ln phi " + sig(root.lnPhi);
        if (i == r.stable)
            line += ", stable";
        else if (!root.mechanicallyStable)
            line += ", unstable";
        line += ")";
    }
    if (r.status == analysis::RootsStatus::Singular)
        line += "; singular at " + sig(u.v(r.vSingular)) + " (pole of its attraction term)";
    return line;
}

} // namespace

void printAnalysisTable(const state::CalcState& s, std::ostream& out, const RunUnits* units)
{
    const analysis::StateAnalysis a = analysis::analyseState(s);
    const InUnits u{units};
    const std::string_view tUnit = u.symbol("K"), pUnit = u.symbol("bar");
    out << "\nPhase-equilibrium analysis at " << sig(u.t(a.t_K)) << " " << tUnit << " and "
        << sig(u.p(a.p_bar)) << " " << pUnit << " (double precision; volumes in "
        << u.symbol("cm3/mol") << ", pressures in " << pUnit << ")\n";
    for (const analysis::ModelAnalysis& m : a.models) {
        out << "\n" << state::rowCaption(m.model) << "\n  roots: " << rootsLine(m.roots, u);
        if (m.model == analysis::Model::Vir)
            out << "; no phase split";
        out << "\n  saturation: ";
        const analysis::Saturation& sat = m.saturation;
        if (saturationUsable(sat)) {
            out << sig(u.p(sat.p_bar)) << " " << pUnit << ", liquid " << sig(u.v(sat.vLiquid))
                << ", vapour " << sig(u.v(sat.vVapour));
            if (const auto dev = antoineDeviation(s, m))
                out << "; " << state::formatSignificant(100 * *dev, 4) << " % from Antoine";
        } else {
            out << saturationStatus(sat);
        }
        out << "\n  critical point: ";
        const analysis::CriticalPoint& c = m.critical;
        if (criticalUsable(c))
            out << sig(u.t(c.t_K)) << " " << tUnit << ", " << sig(u.p(c.p_bar)) << " " << pUnit
                << ", " << sig(u.v(c.v_cm3mol));
        else
            out << criticalStatus(c);
        out << "\n";
    }
}

std::string analysisJson(const state::CalcState& s, const RunUnits* units)
{
    const analysis::StateAnalysis a = analysis::analyseState(s);
    const InUnits u{units};
    std::string j = "\"analysis\": {";
    const char* sep = "";
    for (const analysis::ModelAnalysis& m : a.models) {
        const analysis::StateRoots& r = m.roots;
        j += sep + jsonString(state::rowKey(m.model)) + ": {\"roots\": [";
        for (int i = 0; i < r.count; ++i) {
            const analysis::VolumeRoot& root = r.roots[static_cast<std::size_t>(i)];
            j += std::string(i ? ", " : "") + "{\"volume\": " + jsonNumber(u.v(root.v_cm3mol)) +
                 ", \"z\": " + jsonNumber(root.z) + ", \"lnPhi\": " + jsonNumber(root.lnPhi) +
                 ", \"mechanicallyStable\": " + (root.mechanicallyStable ? "true" : "false") + "}";
        }
        j += "], \"rootsStatus\": " + jsonString(analysis::statusText(r.status)) +
             ", \"stable\": " + (r.stable >= 0 ? std::to_string(r.stable) : "null") +
             ", \"phaseSplit\": " + (r.phaseSplit ? "true" : "false");
        const analysis::Saturation& sat = m.saturation;
        j += ", \"saturation\": {\"status\": " + jsonString(saturationStatus(sat));
        if (saturationUsable(sat))
            j += ", \"pressure\": " + jsonNumber(u.p(sat.p_bar)) +
                 ", \"liquidVolume\": " + jsonNumber(u.v(sat.vLiquid)) +
                 ", \"vapourVolume\": " + jsonNumber(u.v(sat.vVapour));
        const auto dev = antoineDeviation(s, m);
        j += "}, \"antoineDeviation\": " + (dev ? jsonNumber(*dev) : "null");
        const analysis::CriticalPoint& c = m.critical;
        j += ", \"critical\": {\"status\": " + jsonString(criticalStatus(c));
        if (criticalUsable(c))
            j += ", \"temperature\": " + jsonNumber(u.t(c.t_K)) +
                 ", \"pressure\": " + jsonNumber(u.p(c.p_bar)) +
                 ", \"volume\": " + jsonNumber(u.v(c.v_cm3mol));
        j += "}}";
        sep = ", ";
    }
    return j + "}";
}

} // namespace cli
