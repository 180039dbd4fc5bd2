#include "core/reference_comparison.h"

#include "state/number_format.h"
#include "state/units.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace core {
namespace {

constexpr double kCm3PerM3 = 1e6;

bool usable(double x) { return std::isfinite(x) && x > 0; }

std::optional<double> percent(double model, double ref)
{
    if (!usable(model) || !usable(ref))
        return std::nullopt;
    return (model / ref - 1) * 100;
}

/// The model's stable volume at (T, P), when it has one.
std::optional<analysis::VolumeRoot> stableRoot(const analysis::StateRoots& r)
{
    if (!r.hasRoots() || r.stable < 0)
        return std::nullopt;
    const analysis::VolumeRoot& root = r.roots[static_cast<std::size_t>(r.stable)];
    if (!usable(root.v_cm3mol) || !usable(root.z))
        return std::nullopt;
    return root;
}

bool saturationUsable(const analysis::Saturation& s)
{
    return s.converged() && usable(s.p_bar) && usable(s.vLiquid) && usable(s.vVapour);
}

std::string describe(double t_K, std::optional<double> p_bar, std::string_view what)
{
    std::string out = p_bar ? state::formatSignificant(t_K, 5) + " K, " +
                                  state::formatSignificant(*p_bar, 4) + " bar"
                            : "saturation at " + state::formatSignificant(t_K, 5) + " K";
    if (!what.empty())
        out += " (" + std::string(what) + ")";
    return out;
}

/// Running AAD with the worst point.
struct Tally {
    double sum = 0;
    int n = 0;
    void add(double deviation) { sum += std::fabs(deviation), ++n; }
    std::optional<double> aad() const { return n > 0 ? std::optional(sum / n) : std::nullopt; }
};

struct Worst {
    double deviation = 0;
    std::string where;
    void offer(double d, double t_K, std::optional<double> p_bar, std::string_view what)
    {
        if (std::fabs(d) > std::fabs(deviation)) {
            deviation = d;
            where = describe(t_K, p_bar, what);
        }
    }
};

} // namespace

const reference::Fluid* referenceFor(std::string_view component, std::string* reason)
{
    const reference::Fluid* f = reference::Library::shipped().find(component);
    if (f == nullptr && reason != nullptr)
        *reason =
            "no reference equation of state is shipped for \"" + std::string(component) + "\"";
    return f;
}

ReferenceAtState compareAtState(const reference::Fluid& f, const state::CalcState& s,
                                std::string_view tempC, std::string_view pressBar)
{
    ReferenceAtState out;
    out.fluid = &f;
    const std::optional<double> t = state::toDouble(tempC), p = state::toDouble(pressBar);
    out.t_K = t ? *t + state::kCelsiusToKelvin : 0;
    out.p_bar = p ? *p : 0;
    out.state = reference::solveState(f, out.t_K, out.p_bar * reference::kPaPerBar);
    const reference::Properties* props = nullptr;
    if (out.state.status == reference::Status::Ok)
        props = &out.state.properties;
    else if (out.state.status == reference::Status::TwoPhase && out.state.liquid)
        props = &*out.state.liquid;
    if (out.state.saturation)
        out.saturation = out.state.saturation;
    else if (props && out.t_K < f.saturationLimit())
        out.saturation = reference::saturation(f, out.t_K);
    if (out.saturation && !out.saturation->ok())
        out.saturation.reset();
    if (props == nullptr)
        return out;
    out.volume_cm3mol = kCm3PerM3 / props->rho;
    out.z = props->z;
    out.density_kg_m3 = props->density_kg_m3;

    const analysis::StateAnalysis a =
        analysis::analyseState(analysis::fluidOf(s.constants, s.chkSphMol), out.t_K, out.p_bar);
    const double molWt = s.constants.MolWt;
    // The reference's saturation line in the models' units, read once (GCC 12 at -O3 also
    // warns falsely of an uninitialised optional when it is read inside the loop).
    const bool onSaturation = out.saturation.has_value();
    const reference::Saturation sat = out.saturation.value_or(reference::Saturation{});
    for (std::size_t i = 0; i < a.models.size(); ++i) {
        const analysis::ModelAnalysis& m = a.models[i];
        ModelDeviation& d = out.models[i];
        d.model = m.model;
        if (const auto root = stableRoot(m.roots)) {
            d.volume = percent(root->v_cm3mol, *out.volume_cm3mol);
            d.z = percent(root->z, *out.z);
            d.density = percent(molWt / root->v_cm3mol * 1000, *out.density_kg_m3);
        }
        if (onSaturation && saturationUsable(m.saturation)) {
            d.psat = percent(m.saturation.p_bar, sat.p_Pa / reference::kPaPerBar);
            d.vLiquid = percent(m.saturation.vLiquid, kCm3PerM3 / sat.rhoLiquid);
            d.vVapour = percent(m.saturation.vVapour, kCm3PerM3 / sat.rhoVapour);
        }
    }
    return out;
}

namespace {

struct SatPoint {
    double t_K;
    reference::Saturation s;
};

struct GridPoint {
    double t_K, p_bar, v;
};

/// The reference's saturation states, evenly in T over the card's range.
std::vector<SatPoint> saturationPoints(const reference::Fluid& f, const Scorecard& card)
{
    constexpr int kSatPoints = 20;
    std::vector<SatPoint> sat;
    for (int i = 0; i < kSatPoints; ++i) {
        const double t = card.tFrom + (card.tTo - card.tFrom) * i / (kSatPoints - 1);
        const reference::Saturation s = reference::saturation(f, t);
        if (s.ok())
            sat.push_back({t, s});
    }
    return sat;
}

/// The reference's single-phase states on a T, p grid.
std::vector<GridPoint> gridPoints(const reference::Fluid& f, const Scorecard& card)
{
    constexpr int kGridT = 10, kGridP = 10;
    // Pressures down to this share of the top, geometrically; states this close to the vapour
    // pressure are left out (there the phase, not the model, decides).
    constexpr double kGridPLow = 0.005, kNearSaturation = 0.05;
    std::vector<GridPoint> grid;
    const double gridTTop = std::min(f.tMax, 2 * f.tc);
    for (int i = 0; i < kGridT; ++i) {
        const double t = card.tFrom + (gridTTop - card.tFrom) * i / (kGridT - 1);
        const reference::Saturation s = reference::saturation(f, t);
        for (int k = 0; k < kGridP; ++k) {
            const double p =
                card.gridPMax_bar * std::pow(kGridPLow, 1 - static_cast<double>(k) / (kGridP - 1));
            if (s.ok() && std::fabs(p * reference::kPaPerBar / s.p_Pa - 1) < kNearSaturation)
                continue;
            const reference::State st = reference::solveState(f, t, p * reference::kPaPerBar);
            if (st.status == reference::Status::Ok)
                grid.push_back({t, p, kCm3PerM3 / st.properties.rho});
        }
    }
    return grid;
}

/// The mean of the AADs a model has.
std::optional<double> overallOf(const ModelScore& score)
{
    double sum = 0;
    int n = 0;
    for (const auto& x : {score.psat, score.vLiquid, score.vVapour, score.grid})
        if (x) {
            sum += *x;
            ++n;
        }
    return n > 0 ? std::optional<double>(sum / n) : std::nullopt;
}

ModelScore scoreModel(Model model, const analysis::Fluid& models, const std::vector<SatPoint>& sat,
                      const std::vector<GridPoint>& grid)
{
    ModelScore score;
    score.model = model;
    Tally psat, vl, vv, g;
    Worst worst;
    const analysis::CriticalPoint critical = analysis::criticalPoint(model, models);
    for (const SatPoint& sp : sat) {
        const analysis::Saturation m = analysis::saturation(model, models, sp.t_K, critical);
        if (!saturationUsable(m)) {
            ++score.satMissing;
            continue;
        }
        const double dp = *percent(m.p_bar, sp.s.p_Pa / reference::kPaPerBar);
        const double dl = *percent(m.vLiquid, kCm3PerM3 / sp.s.rhoLiquid);
        const double dv = *percent(m.vVapour, kCm3PerM3 / sp.s.rhoVapour);
        psat.add(dp);
        vl.add(dl);
        vv.add(dv);
        worst.offer(dp, sp.t_K, std::nullopt, "vapour pressure");
        worst.offer(dl, sp.t_K, std::nullopt, "liquid volume");
        worst.offer(dv, sp.t_K, std::nullopt, "vapour volume");
    }
    for (const GridPoint& gp : grid) {
        const auto root = stableRoot(analysis::volumeRoots(model, models, gp.t_K, gp.p_bar));
        if (!root) {
            ++score.gridMissing;
            continue;
        }
        const double dv = *percent(root->v_cm3mol, gp.v);
        g.add(dv);
        worst.offer(dv, gp.t_K, gp.p_bar, "");
    }
    score.psat = psat.aad();
    score.vLiquid = vl.aad();
    score.vVapour = vv.aad();
    score.grid = g.aad();
    score.satPoints = psat.n;
    score.gridPoints = g.n;
    score.overall = overallOf(score);
    score.worstState = worst.where;
    score.worstDeviation = worst.deviation;
    return score;
}

} // namespace

Scorecard scorecard(const reference::Fluid& f, const analysis::Fluid& models)
{
    Scorecard card;
    card.fluid = &f;
    card.tFrom = std::max(f.tTriple, 0.5 * f.tc);
    card.tTo = 0.99 * f.tc;
    card.gridPMax_bar = std::min(f.pMax, 3 * f.pc) / reference::kPaPerBar;
    const std::vector<SatPoint> sat = saturationPoints(f, card);
    const std::vector<GridPoint> grid = gridPoints(f, card);
    card.satPoints = static_cast<int>(sat.size());
    card.gridPoints = static_cast<int>(grid.size());
    for (const Model model : analysis::kModels)
        card.ranked.push_back(scoreModel(model, models, sat, grid));
    std::stable_sort(card.ranked.begin(), card.ranked.end(),
                     [](const ModelScore& a, const ModelScore& b) {
                         if (a.overall.has_value() != b.overall.has_value())
                             return a.overall.has_value();
                         return a.overall && *a.overall < *b.overall;
                     });
    return card;
}

namespace {

std::string lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

/// Fields of one CSV line, quotes ("a,b" and "" inside) honoured.
std::vector<std::string> fields(std::string_view line)
{
    std::vector<std::string> out(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"')
                out.back() += c, ++i;
            else if (c == '"')
                quoted = false;
            else
                out.back() += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

enum class Column { Temperature, Pressure, VapourPressure, Density, Volume, Other };

Column columnOf(const std::string& name)
{
    if (name == "t" || name == "temperature")
        return Column::Temperature;
    if (name == "p" || name == "pressure")
        return Column::Pressure;
    if (name == "psat" || name == "p_sat" || name == "pv" || name == "vapour pressure" ||
        name == "vapor pressure")
        return Column::VapourPressure;
    if (name == "rho" || name == "density" || name == "molar density")
        return Column::Density;
    if (name == "v" || name == "volume" || name == "molar volume" || name == "specific volume")
        return Column::Volume;
    return Column::Other;
}

struct Col {
    int index = -1;
    const state::Unit* unit = nullptr;
};

struct Columns {
    Col t, p, psat, rho, vol;
};

/// Reads the header into `cols` and `data.vapourPressure`; false with `data.error` set when
/// the file cannot be read.
bool readHeader(const std::vector<std::string>& cells, long line, double molarMass_g_mol,
                Columns& cols, MeasuredData& data)
{
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const std::string_view cell = trim(cells[i]);
        const std::size_t open = cell.find('['), close = cell.rfind(']');
        const std::string name = lower(trim(cell.substr(0, open)));
        const Column kind = columnOf(name);
        if (kind == Column::Other)
            continue;
        if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
            data.error = "line " + std::to_string(line) + ": column \"" + std::string(cell) +
                         "\" needs its unit in [ ], as in T [K]";
            return false;
        }
        const std::string_view unitText = cell.substr(open + 1, close - open - 1);
        using Q = state::Quantity;
        const auto pick = [&](std::initializer_list<Q> quantities) -> const state::Unit* {
            for (const Q q : quantities)
                if (const state::UnitChoice u = state::parseUnit(unitText, q))
                    return u.unit;
            return nullptr;
        };
        Col* target = nullptr;
        const state::Unit* unit = nullptr;
        switch (kind) {
        case Column::Temperature:
            target = &cols.t, unit = pick({Q::Temperature});
            break;
        case Column::Pressure:
            target = &cols.p, unit = pick({Q::Pressure});
            break;
        case Column::VapourPressure:
            target = &cols.psat, unit = pick({Q::Pressure});
            break;
        case Column::Density:
            target = &cols.rho, unit = pick({Q::Density, Q::MolarDensity});
            break;
        case Column::Volume:
            target = &cols.vol, unit = pick({Q::MolarVolume, Q::SpecificVolume});
            break;
        case Column::Other:
            break;
        }
        if (unit == nullptr) {
            data.error = "line " + std::to_string(line) + ": \"" + std::string(unitText) +
                         "\" is no unit of column \"" + std::string(cell) + "\"";
            return false;
        }
        *target = {static_cast<int>(i), unit};
    }
    const Col &t = cols.t, &p = cols.p, &psat = cols.psat, &rho = cols.rho, &vol = cols.vol;
    data.vapourPressure = psat.index >= 0 && p.index < 0;
    if (t.index < 0 ||
        (!data.vapourPressure && (p.index < 0 || (rho.index < 0 && vol.index < 0)))) {
        data.error = "the header needs T, and p with rho or V, or T and psat";
        return false;
    }
    const bool mass = (rho.index >= 0 && rho.unit->quantity == state::Quantity::Density) ||
                      (vol.index >= 0 && vol.unit->quantity == state::Quantity::SpecificVolume);
    if (mass && !data.vapourPressure && !(molarMass_g_mol > 0)) {
        data.error = "mass density or specific volume needs the component's molar mass";
        return false;
    }
    return true;
}

/// cm3/mol from a positive density or volume in base units.
double molarVolume(double x, state::Quantity q, double molarMass_g_mol)
{
    switch (q) {
    case state::Quantity::Density: // kg/m3 = g/L
        return molarMass_g_mol / x * 1000;
    case state::Quantity::MolarDensity: // mol/L
        return 1000 / x;
    case state::Quantity::SpecificVolume: // cm3/g
        return x * molarMass_g_mol;
    default: // cm3/mol
        return x;
    }
}

/// One data row: its point, or nothing with the reason added to `data.rejected`.
std::optional<MeasuredPoint> readRow(const std::vector<std::string>& cells, long line,
                                     std::size_t width, const Columns& cols, double molarMass_g_mol,
                                     MeasuredData& data)
{
    const auto reject = [&](std::string reason) {
        data.rejected.push_back({line, std::move(reason)});
    };
    if (cells.size() != width) {
        reject("has " + std::to_string(cells.size()) + " fields, the header " +
               std::to_string(width));
        return std::nullopt;
    }
    const auto value = [&](const Col& c, const char* what) -> std::optional<double> {
        const std::optional<double> x =
            state::toDouble(trim(cells[static_cast<std::size_t>(c.index)]));
        if (!x || !std::isfinite(*x)) {
            reject(std::string(what) + " is not a number");
            return std::nullopt;
        }
        return state::toBase(*x, *c.unit);
    };
    const auto tC = value(cols.t, "the temperature");
    if (!tC)
        return std::nullopt;
    MeasuredPoint pt;
    pt.line = line;
    pt.t_K = *tC + state::kCelsiusToKelvin;
    const auto pb = value(data.vapourPressure ? cols.psat : cols.p, "the pressure");
    if (!pb)
        return std::nullopt;
    pt.p_bar = *pb;
    if (!(pt.t_K > 0) || !(pt.p_bar > 0)) {
        reject("the temperature and the pressure must be above zero (absolute)");
        return std::nullopt;
    }
    if (!data.vapourPressure) {
        const bool useRho = cols.rho.index >= 0;
        const Col& c = useRho ? cols.rho : cols.vol;
        const auto x = value(c, useRho ? "the density" : "the volume");
        if (!x)
            return std::nullopt;
        if (!(*x > 0)) {
            reject(useRho ? "the density must be above zero" : "the volume must be above zero");
            return std::nullopt;
        }
        pt.v_cm3mol = molarVolume(*x, c.unit->quantity, molarMass_g_mol);
    }
    return pt;
}

} // namespace

MeasuredData readMeasured(std::string_view csv, double molarMass_g_mol)
{
    MeasuredData data;
    Columns cols;
    std::size_t width = 0;
    bool header = false;
    long line = 0;
    while (!csv.empty()) {
        const std::size_t end = csv.find('\n');
        const std::string_view text = trim(csv.substr(0, end));
        csv.remove_prefix(end == std::string_view::npos ? csv.size() : end + 1);
        ++line;
        if (text.empty() || text.front() == '#')
            continue;
        const std::vector<std::string> cells = fields(text);
        if (!header) {
            header = true;
            width = cells.size();
            if (!readHeader(cells, line, molarMass_g_mol, cols, data))
                return data;
            continue;
        }
        if (auto pt = readRow(cells, line, width, cols, molarMass_g_mol, data))
            data.points.push_back(*pt);
    }
    if (!header)
        data.error = "the file has no header";
    return data;
}

std::vector<DataScore> scoreMeasured(const MeasuredData& data, const analysis::Fluid& models,
                                     const reference::Fluid* ref)
{
    std::vector<DataScore> out;
    // One score: each point's deviation, or none where the predictor has no value there.
    const auto score = [&](std::string who, const auto& deviation) {
        DataScore s;
        s.who = std::move(who);
        Tally tally;
        for (const MeasuredPoint& pt : data.points) {
            const std::optional<double> d = deviation(pt);
            if (!d) {
                ++s.missing;
                continue;
            }
            tally.add(*d);
            if (std::fabs(*d) > std::fabs(s.worstDeviation)) {
                s.worstDeviation = *d;
                s.worstLine = pt.line;
            }
        }
        s.aad = tally.aad();
        s.points = tally.n;
        out.push_back(std::move(s));
    };
    for (const Model model : analysis::kModels) {
        const analysis::CriticalPoint critical = analysis::criticalPoint(model, models);
        score(std::string(state::rowKey(model)),
              [&](const MeasuredPoint& pt) -> std::optional<double> {
                  if (data.vapourPressure) {
                      const analysis::Saturation m =
                          analysis::saturation(model, models, pt.t_K, critical);
                      if (saturationUsable(m))
                          return percent(m.p_bar, pt.p_bar);
                  } else if (const auto root = stableRoot(
                                 analysis::volumeRoots(model, models, pt.t_K, pt.p_bar))) {
                      return percent(root->v_cm3mol, *pt.v_cm3mol);
                  }
                  return std::nullopt;
              });
    }
    if (ref != nullptr) {
        score("reference", [&](const MeasuredPoint& pt) -> std::optional<double> {
            if (data.vapourPressure) {
                const reference::Saturation sat = reference::saturation(*ref, pt.t_K);
                if (sat.ok())
                    return percent(sat.p_Pa / reference::kPaPerBar, pt.p_bar);
                return std::nullopt;
            }
            const reference::State st =
                reference::solveState(*ref, pt.t_K, pt.p_bar * reference::kPaPerBar);
            const reference::Properties* pr = st.status == reference::Status::Ok ? &st.properties
                                              : st.liquid                        ? &*st.liquid
                                                                                 : nullptr;
            if (pr)
                return percent(kCm3PerM3 / pr->rho, *pt.v_cm3mol);
            return std::nullopt;
        });
    }
    std::stable_sort(out.begin(), out.end(), [](const DataScore& a, const DataScore& b) {
        if (a.aad.has_value() != b.aad.has_value())
            return a.aad.has_value();
        return a.aad && *a.aad < *b.aad;
    });
    return out;
}

} // namespace core
