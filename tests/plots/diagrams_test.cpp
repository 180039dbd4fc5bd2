#include "core/saturation.h"
#include "plots/diagrams.h"
#include "plots/export_names.h"
#include "plots/view_limits.h"

#include <charconv>
#include <cmath>
#include <gtest/gtest.h>
#include <sstream>

namespace {

using analysis::Model;
using plots::Curve;
using plots::Diagram;
using plots::DiagramInput;

constexpr double kZeroCelsius_K = 273.15;

// Rounded published constants: MolWt, Tc, Pc, Vc, ω, K1..K3.
constexpr state::ComponentConstants kBenzene{78.11f, 562.1f, 48.9f, 259.0f, 0.212f, 0, 0, 0};
constexpr state::ComponentConstants kPropane{44.1f, 369.8f, 42.48f, 200.0f, 0.152f, 0.03136f, 0, 0};
// An Antoine line in the program's form, ln(P/kPa) = A - B/(t/°C + C).
constexpr state::AntoineCoefficients kBenzeneAntoine{14.1603f, 2948.78f, 228.16f};

DiagramInput solvedInput(state::ComponentConstants c, double t_C, double p_bar)
{
    DiagramInput in;
    in.component = "test fluid";
    in.state.constants = c;
    in.state.conditions = {static_cast<float>(t_C + kZeroCelsius_K), static_cast<float>(p_bar)};
    in.solvedBefore = true;
    return in;
}

const Curve* findCurve(const Diagram& d, const std::string& name)
{
    for (const Curve& c : d.curves)
        if (c.name == name)
            return &c;
    return nullptr;
}

std::string key(Model m) { return std::string(state::rowKey(m)); }

struct Case {
    const char* name;
    state::ComponentConstants constants;
    double t_C;
    double p_bar;
};
const Case kCases[] = {
    {"benzene, sub-cooled liquid", kBenzene, 25, 1},
    {"propane, vapour", kPropane, 25, 2},
    {"propane, supercritical", kPropane, 150, 60},
    {"benzene at Tr 0.999", kBenzene, 0.999 * 562.1 - kZeroCelsius_K, 48},
    {"omega -0.3", {30, 300, 40, 150, -0.3f, 0, 0, 0}, 0, 5},
    {"omega 1.5", {300, 700, 15, 900, 1.5f, 0, 0, 0}, 150, 1},
};

TEST(PlotsDiagrams, EveryIsothermPointSolvesItsModel)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const DiagramInput in = solvedInput(c.constants, c.t_C, c.p_bar);
        const plots::Diagrams d = plots::computeDiagrams(in);
        const analysis::Fluid fluid = analysis::fluidOf(c.constants, false);
        const double t_K = in.state.conditions.TempK;
        for (Model m : analysis::kModels) {
            SCOPED_TRACE(key(m));
            const Curve* curve = findCurve(d.pv, key(m) + " P");
            if (!analysis::makeIsotherm(m, fluid, t_K).valid) {
                EXPECT_EQ(curve, nullptr); // ESD's shape factor turns negative for ω −0.3
                continue;
            }
            ASSERT_NE(curve, nullptr);
            int checked = 0;
            const analysis::Isotherm iso = analysis::makeIsotherm(m, fluid, t_K);
            for (std::size_t i = 0; i < curve->x.size(); i += 5) {
                const double v = curve->x[i];
                const double p = curve->y[i];
                // A second route: the volume roots the analysis finds at that pressure. At a
                // turn of the loop two roots merge and no solver separates them to 1e-6.
                if (!(p > 1e-3 && p < 20.0 * static_cast<double>(c.constants.CritPress)) ||
                    std::abs(analysis::pressureSlope(iso, v)) * v < 1e-2 * p)
                    continue;
                const analysis::StateRoots r = analysis::volumeRoots(m, fluid, t_K, p);
                double closest = INFINITY;
                for (int k = 0; k < r.count; ++k)
                    closest = std::min(closest, std::abs(r.roots[std::size_t(k)].v_cm3mol - v));
                EXPECT_LT(closest, 1e-6 * v) << "V " << v << " P " << p;
                ++checked;
            }
            EXPECT_GT(checked, 10);
        }
    }
}

TEST(PlotsDiagrams, CurvesAreFiniteAndContinuous)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const plots::Diagrams d = plots::computeDiagrams(solvedInput(c.constants, c.t_C, c.p_bar));
        for (const Diagram* diagram : {&d.pv, &d.zp, &d.pt}) {
            SCOPED_TRACE(diagram->title);
            EXPECT_FALSE(diagram->curves.empty());
            for (const Curve& curve : diagram->curves) {
                SCOPED_TRACE(curve.name);
                ASSERT_EQ(curve.x.size(), curve.y.size());
                ASSERT_GE(curve.x.size(), 2u);
                for (std::size_t i = 0; i < curve.x.size(); ++i)
                    ASSERT_TRUE(std::isfinite(curve.x[i]) && std::isfinite(curve.y[i])) << i;
            }
            for (const plots::Marker& m : diagram->markers)
                EXPECT_TRUE(std::isfinite(m.x) && std::isfinite(m.y)) << m.label;
            EXPECT_TRUE(diagram->x.min < diagram->x.max && diagram->y.min < diagram->y.max);
        }
        int isotherms = 0;
        // An isotherm turns at most twice (the two spinodals of a loop): a spike across the
        // co-volume or a vanishing denominator would add turns.
        for (Model m : analysis::kModels) {
            const Curve* iso = findCurve(d.pv, key(m) + " P");
            if (iso == nullptr)
                continue; // an invalid isotherm; EveryIsothermPointSolvesItsModel checks why
            ++isotherms;
            int turns = 0;
            for (std::size_t i = 2; i < iso->y.size(); ++i)
                turns += (iso->y[i] - iso->y[i - 1]) * (iso->y[i - 1] - iso->y[i - 2]) < 0;
            EXPECT_LE(turns, 2) << key(m);
            EXPECT_TRUE(std::is_sorted(iso->x.begin(), iso->x.end()));
        }
        EXPECT_GE(isotherms, 8);
    }
}

TEST(PlotsDiagrams, TieLinesEndAtTheAnalysisSaturationVolumes)
{
    const DiagramInput in = solvedInput(kBenzene, 25, 1);
    const plots::Diagrams d = plots::computeDiagrams(in);
    const analysis::Fluid fluid = analysis::fluidOf(kBenzene, false);
    int tieLines = 0;
    int metastable = 0;
    for (Model m : analysis::kModels) {
        SCOPED_TRACE(key(m));
        const analysis::Saturation sat = analysis::saturation(m, fluid, in.state.conditions.TempK);
        const Curve* tie = findCurve(d.pv, key(m) + " tie-line P");
        ASSERT_EQ(tie != nullptr, sat.converged());
        if (!tie)
            continue;
        ++tieLines;
        EXPECT_EQ(tie->style, plots::LineStyle::Dashed);
        EXPECT_DOUBLE_EQ(tie->x.front(), sat.vLiquid);
        EXPECT_DOUBLE_EQ(tie->x.back(), sat.vVapour);
        EXPECT_DOUBLE_EQ(tie->y.front(), sat.p_bar);
        EXPECT_DOUBLE_EQ(tie->y.back(), sat.p_bar);
        // The Z-P branches meet at the same saturation point.
        const Curve* stableV = findCurve(d.zp, key(m) + " Z stable vapour");
        const Curve* stableL = findCurve(d.zp, key(m) + " Z stable liquid");
        ASSERT_TRUE(stableV && stableL);
        for (double p : stableV->x)
            EXPECT_LE(p, sat.p_bar * (1 + 1e-12)); // vapour is stable below Psat only
        for (double p : stableL->x)
            EXPECT_GE(p, sat.p_bar * (1 - 1e-12));
        // Superheated liquid lies below Psat; where its spinodal pressure is far below zero,
        // as for van der Waals here, the part above zero is too short to draw.
        if (const Curve* metaL = findCurve(d.zp, key(m) + " Z metastable liquid")) {
            ++metastable;
            EXPECT_EQ(metaL->style, plots::LineStyle::Dashed);
            for (double p : metaL->x)
                EXPECT_LE(p, sat.p_bar * (1 + 1e-12));
        }
    }
    EXPECT_GE(metastable, 1);
    EXPECT_EQ(tieLines, 8); // every model but the virial row splits phases at Tr 0.53
}

TEST(PlotsDiagrams, VapourPressureCurvesRiseToTheModelCriticalPoint)
{
    DiagramInput in = solvedInput(kBenzene, 25, 1);
    in.state.antoine = kBenzeneAntoine;
    in.state.flags.AntoineAvailable = true;
    in.antoineRange = plots::AntoineRange{7, 104};
    const plots::Diagrams d = plots::computeDiagrams(in);
    const analysis::Fluid fluid = analysis::fluidOf(kBenzene, false);
    for (Model m : analysis::kModels) {
        SCOPED_TRACE(key(m));
        const Curve* c = findCurve(d.pt, key(m) + " Psat");
        if (m == Model::Vir) {
            EXPECT_EQ(c, nullptr);
            continue;
        }
        ASSERT_NE(c, nullptr);
        EXPECT_TRUE(std::is_sorted(c->y.begin(), c->y.end()));
        const analysis::CriticalPoint crit = analysis::criticalPoint(m, fluid);
        EXPECT_DOUBLE_EQ(c->x.back(), crit.t_K);
        EXPECT_DOUBLE_EQ(c->y.back(), crit.p_bar);
    }
    const Curve* fitted = findCurve(d.pt, "Antoine");
    ASSERT_NE(fitted, nullptr);
    EXPECT_EQ(fitted->style, plots::LineStyle::Solid);
    EXPECT_GE(fitted->x.front(), 7 + kZeroCelsius_K);
    EXPECT_LE(fitted->x.back(), 104 + kZeroCelsius_K);
    for (const char* outside : {"Antoine extrapolated below", "Antoine extrapolated above"}) {
        const Curve* c = findCurve(d.pt, outside);
        ASSERT_NE(c, nullptr) << outside;
        EXPECT_EQ(c->style, plots::LineStyle::Dashed);
    }
    EXPECT_TRUE(d.pt.y.log);
    const Curve* line = findCurve(d.pv, "Antoine pressure");
    ASSERT_NE(line, nullptr);
    // The state holds 298.15 K as a float, 25.0000153 °C once converted back.
    EXPECT_NEAR(line->y.front(), *core::SaturationPressure(kBenzeneAntoine, 25.0f), 1e-6);
}

TEST(PlotsDiagrams, MarkersAreTheSheetVolumes)
{
    DiagramInput in = solvedInput(kPropane, 25, 9.5);
    state::ResultSheet sheet;
    sheet.setText(state::Row::PR, state::Col::Liq, "89.412");
    sheet.setText(state::Row::PR, state::Col::Vap, "2012.7");
    sheet.setText(state::Row::SRK, state::Col::Liq, "NC");
    sheet.setText(state::Row::ESD, state::Col::Vap, "2100.0");
    in.sheet = sheet;
    const plots::Diagrams d = plots::computeDiagrams(in);
    std::vector<std::pair<Model, double>> marked;
    for (const plots::Marker& m : d.pv.markers)
        if (m.kind == plots::MarkerKind::Root) {
            marked.emplace_back(*m.model, m.x);
            EXPECT_FLOAT_EQ(static_cast<float>(m.y), 9.5f);
        }
    const std::vector<std::pair<Model, double>> expected = {
        {Model::PR, 89.412}, {Model::PR, 2012.7}, {Model::ESD, 2100.0}};
    EXPECT_EQ(marked, expected);
    in.sheet.reset();
    for (const plots::Marker& m : plots::computeDiagrams(in).pv.markers)
        EXPECT_NE(m.kind, plots::MarkerKind::Root);
}

TEST(PlotsDiagrams, StandInBeforeAnySolveAndNotesForEveryCase)
{
    DiagramInput in = solvedInput(kBenzene, 100, 30);
    in.component = "Benzene";
    in.solvedBefore = false;
    plots::Diagrams d = plots::computeDiagrams(in);
    EXPECT_EQ(d.note.rfind("Not solved yet: Benzene at 25 °C and 1.01325 bar", 0), 0u) << d.note;
    EXPECT_EQ(findCurve(d.pv, "State pressure")->y.front(), plots::kStandInPress_bar);
    in.solvedBefore = true;
    d = plots::computeDiagrams(in);
    EXPECT_EQ(d.note.rfind("Benzene at 100 °C and 30 bar, not solved", 0), 0u) << d.note;
    in.state.constants = {};
    in.component.clear();
    d = plots::computeDiagrams(in);
    EXPECT_TRUE(d.pv.curves.empty() && d.table.empty());
    EXPECT_EQ(d.note, "Choose a component to draw its diagrams.");
}

std::vector<std::string> split(const std::string& line, char sep)
{
    std::vector<std::string> out;
    std::stringstream s(line);
    for (std::string f; std::getline(s, f, sep);)
        out.push_back(f);
    if (!line.empty() && line.back() == sep)
        out.emplace_back();
    return out;
}

TEST(PlotsDiagrams, CsvHoldsEveryShownCurvePointWithUnits)
{
    const plots::Diagrams d = plots::computeDiagrams(solvedInput(kBenzene, 25, 1));
    std::array<bool, plots::kModelCount> shown{};
    shown.fill(true);
    shown[static_cast<std::size_t>(Model::VDW)] = false;
    for (const Diagram* diagram : {&d.pv, &d.zp, &d.pt}) {
        SCOPED_TRACE(diagram->title);
        std::stringstream csv(plots::diagramCsv(*diagram, shown));
        std::string line;
        std::getline(csv, line);
        ASSERT_EQ(line.back(), '\r');
        const auto header = split(line.substr(0, line.size() - 1), ',');
        EXPECT_EQ(header.front(), diagram->x.title);
        std::vector<std::size_t> points(header.size());
        std::vector<double> sums(header.size());
        while (std::getline(csv, line)) {
            const auto fields = split(line.substr(0, line.size() - 1), ',');
            ASSERT_EQ(fields.size(), header.size());
            for (std::size_t j = 1; j < fields.size(); ++j) {
                if (fields[j].empty())
                    continue;
                double v = 0;
                const auto [end, ec] =
                    std::from_chars(fields[j].data(), fields[j].data() + fields[j].size(), v);
                ASSERT_TRUE(ec == std::errc() && end == fields[j].data() + fields[j].size());
                ++points[j];
                sums[j] += v;
            }
        }
        std::size_t column = 1;
        for (const Curve& c : diagram->curves) {
            const bool vertical = std::count(c.x.begin(), c.x.end(), c.x.front()) ==
                                  static_cast<std::ptrdiff_t>(c.x.size());
            if (c.model == Model::VDW || vertical)
                continue;
            ASSERT_LT(column, header.size());
            const std::string unit = diagram->y.title.substr(diagram->y.title.find(" ("));
            EXPECT_EQ(header[column], c.name + unit);
            // Shortest round-trip text: the sums agree exactly.
            double sum = 0;
            for (double y : c.y)
                sum += y;
            EXPECT_EQ(points[column], c.y.size()) << c.name;
            EXPECT_DOUBLE_EQ(sums[column], sum) << c.name;
            ++column;
        }
        EXPECT_EQ(column, header.size());
    }
}

TEST(PlotsDiagrams, TableNamesEveryModelAndItsStatuses)
{
    const plots::Diagrams d = plots::computeDiagrams(solvedInput(kPropane, 150, 60));
    ASSERT_EQ(d.table.size(), 9u);
    EXPECT_EQ(d.table[0].psat, "no phase split");
    for (const plots::TableRow& r : d.table) {
        SCOPED_TRACE(key(r.model));
        EXPECT_FALSE(r.roots.empty());
        EXPECT_FALSE(r.stableRoot.empty());
        if (r.model != Model::Vir) {
            EXPECT_EQ(r.psat, "above critical"); // 423 K > every model's Tc near 370 K
            EXPECT_NE(r.critical.find(" K, "), std::string::npos);
        }
    }
    const std::string text = plots::tableText(d.table);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10);
    EXPECT_EQ(text.rfind("Model\tRoots V (cm3/mol)\t", 0), 0u);
}

namespace zp {

constexpr state::ComponentConstants kWater{18.015f, 647.1f, 220.55f, 55.9f, 0.345f, 0, 0, 0};

/// Screen distance of two points in the diagram's initial view, in view widths and heights.
double screenGap(const Diagram& d, std::size_t i, const Curve& c)
{
    return std::hypot((c.x[i] - c.x[i - 1]) / (d.x.max - d.x.min),
                      (c.y[i] - c.y[i - 1]) / (d.y.max - d.y.min));
}

bool inView(const Diagram& d, double x, double y)
{
    return x >= d.x.min && x <= d.x.max && y >= d.y.min && y <= d.y.max;
}

// Z-P of a model with a phase split: the stable vapour from the ideal gas (0, 1) to its
// vapour pressure, the stable liquid from there past the axis end, each metastable part from
// the saturation point towards its spinodal; every part in rising pressure with no step
// longer than 2 % of the view inside it. A volume grid drew liquids from 39 bar on, and a
// saturation point appended after the samples drew vertical lines.
TEST(PlotsDiagrams, BranchesSpanFromTheirStartToTheAxisEnd)
{
    const Case cases[] = {
        {"benzene, 25 °C, 1 bar", kBenzene, 25, 1},
        {"water, 100 °C, 1.01325 bar", kWater, 100, 1.01325},
        {"benzene, 25 °C, 1000 bar", kBenzene, 25, 1000},
        {"propane, vapour", kPropane, 25, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DiagramInput in = solvedInput(c.constants, c.t_C, c.p_bar);
        const Diagram d = plots::computeDiagrams(in).zp;
        const analysis::Fluid fluid = analysis::fluidOf(c.constants, false);
        int splits = 0;
        for (Model m : analysis::kModels) {
            SCOPED_TRACE(key(m));
            const analysis::Saturation sat =
                analysis::saturation(m, fluid, in.state.conditions.TempK);
            for (const Curve& curve : d.curves) {
                if (curve.model != m)
                    continue;
                SCOPED_TRACE(curve.name);
                EXPECT_TRUE(std::is_sorted(curve.x.begin(), curve.x.end()));
                for (std::size_t i = 1; i < curve.x.size(); ++i) {
                    if (inView(d, curve.x[i], curve.y[i]) ||
                        inView(d, curve.x[i - 1], curve.y[i - 1])) {
                        ASSERT_LT(screenGap(d, i, curve), 0.02) << "at P " << curve.x[i];
                    }
                }
            }
            const Curve* vapour =
                findCurve(d, key(m) + (sat.converged() ? " Z stable vapour" : " Z"));
            ASSERT_NE(vapour, nullptr);
            EXPECT_EQ(vapour->x.front(), 0);
            EXPECT_EQ(vapour->y.front(), 1);
            if (!sat.converged())
                continue;
            ++splits;
            const Curve* liquid = findCurve(d, key(m) + " Z stable liquid");
            ASSERT_NE(liquid, nullptr);
            EXPECT_EQ(vapour->x.back(), sat.p_bar);
            EXPECT_EQ(liquid->x.front(), sat.p_bar);
            EXPECT_GT(liquid->x.back(), d.x.max);
            const Curve* metaV = findCurve(d, key(m) + " Z metastable vapour");
            const Curve* metaL = findCurve(d, key(m) + " Z metastable liquid");
            ASSERT_TRUE(metaV && metaL);
            EXPECT_EQ(metaV->x.front(), sat.p_bar);
            EXPECT_EQ(metaL->x.back(), sat.p_bar);
            EXPECT_EQ(metaL->style, plots::LineStyle::Dashed);
        }
        EXPECT_EQ(splits, 8); // all but the virial row at these temperatures
        // The P-V isotherms too, each from above the view's top on its liquid side (the
        // virial row from its pressure maximum) to the largest volume.
        const Diagram& pv = plots::computeDiagrams(in).pv;
        for (Model m : analysis::kModels) {
            SCOPED_TRACE(key(m) + " P-V");
            const Curve* iso = findCurve(pv, key(m) + " P");
            ASSERT_NE(iso, nullptr);
            if (m != Model::Vir) {
                EXPECT_GT(iso->y.front(), pv.y.max);
            }
            EXPECT_EQ(iso->x.back(), pv.x.max);
            for (std::size_t i = 1; i < iso->x.size(); ++i) {
                const double dx =
                    std::log(iso->x[i] / iso->x[i - 1]) / std::log(pv.x.max / pv.x.min);
                const double dy = (iso->y[i] - iso->y[i - 1]) / (pv.y.max - pv.y.min);
                if (iso->y[i] < pv.y.max) {
                    ASSERT_LT(std::hypot(dx, dy), 0.02) << "at V " << iso->x[i];
                }
            }
        }
        // The state line is inside the view, and so is the stable liquid of the models there.
        EXPECT_LT(c.p_bar, d.x.max);
        for (const plots::Marker& mk : d.markers)
            EXPECT_TRUE(inView(d, mk.x, mk.y));
    }
}

} // namespace zp

// The state as the main window shows it: its boxes' text when given, else the single-
// precision values as typed (298.15f K is 25 °C, not 25.0000061), in titles, notes and the
// state line of the data. Old code wrote "1.92999 °C and 5.00019 bar" and 1.0132500171661377.
TEST(PlotsDiagrams, StateIsWrittenAsShown)
{
    struct Row {
        double t_C;
        double p_bar;
        const char* tempText;
        const char* pressText;
        const char* where;
        const char* statePressure; // the state line's value in the P-V data
    };
    const Row rows[] = {
        {25, 1.01325, "", "", "at 25 °C and 1.01325 bar", "1.01325"},
        {1.93, 5.00019, "1.93", "5.000", "at 1.93 °C and 5.000 bar", "5.00019"},
        {1.93, 5.00019, "", "", "at 1.93 °C and 5.00019 bar", "5.00019"},
        {-40, 0.0283, "", "", "at -40 °C and 0.0283 bar", "0.0283"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.where);
        DiagramInput in = solvedInput(kBenzene, r.t_C, r.p_bar);
        in.tempText = r.tempText;
        in.pressText = r.pressText;
        const plots::Diagrams d = plots::computeDiagrams(in);
        EXPECT_NE(d.note.find(r.where), std::string::npos) << d.note;
        const std::string atTemp(r.where, std::string_view(r.where).find(" and"));
        EXPECT_EQ(d.zp.title, "Z-P " + atTemp);
        std::array<bool, plots::kModelCount> none{};
        const std::string csv = plots::diagramCsv(d.pv, none);
        const std::string header = csv.substr(0, csv.find('\r'));
        const auto fields = split(
            csv.substr(header.size() + 2, csv.find('\r', header.size() + 2) - header.size() - 2),
            ',');
        ASSERT_EQ(split(header, ',')[1], "State pressure (bar)");
        EXPECT_EQ(fields[1], r.statePressure);
    }
}

// A state and what marks it lie inside the initial view: the P-T state marker whole inside the
// left edge below 0.4 Tc (old code put it on the edge, half cut), and at 1000 bar the Z-P liquid
// at the state pressure below the top (old code kept Z ≤ 1.1 and drew nothing there). The
// table never calls a root stable that is not: a single unstable root is "no stable root".
TEST(PlotsDiagrams, ViewHoldsTheState)
{
    const plots::Diagrams cold = plots::computeDiagrams(solvedInput(kBenzene, -50, 0.01));
    const plots::Marker* st = nullptr;
    for (const plots::Marker& m : cold.pt.markers)
        if (m.kind == plots::MarkerKind::State)
            st = &m;
    ASSERT_NE(st, nullptr);
    EXPECT_GT(st->x - cold.pt.x.min, 0.02 * (cold.pt.x.max - cold.pt.x.min));

    const plots::Diagrams dense = plots::computeDiagrams(solvedInput(kBenzene, 25, 1000));
    int liquids = 0;
    for (const Curve& c : dense.zp.curves) {
        if (c.name.find("stable liquid") == std::string::npos ||
            c.name.find("metastable") != std::string::npos)
            continue;
        ++liquids;
        const auto at = std::lower_bound(c.x.begin(), c.x.end(), 1000.0);
        ASSERT_NE(at, c.x.end()) << c.name;
        EXPECT_LT(c.y[static_cast<std::size_t>(at - c.x.begin())], dense.zp.y.max) << c.name;
    }
    EXPECT_EQ(liquids, 8);

    // Dieterici's only root at 10 K and 1 bar for these constants is mechanically unstable.
    const plots::Diagrams odd = plots::computeDiagrams(
        solvedInput({100, 10000, 0.001f, 259, 3, 0, 0, 0}, 10 - kZeroCelsius_K, 1));
    for (const plots::TableRow& r : odd.table) {
        SCOPED_TRACE(key(r.model));
        EXPECT_NE(r.stableRoot, "found");
        if (r.model == Model::DEOS) {
            EXPECT_EQ(r.stableRoot, "no stable root");
        }
    }
}

// Zoom and pan stop where a view would show nothing but empty space, negative kelvins or
// repeated tick labels; a view inside the limits is kept as asked.
TEST(PlotsDiagrams, ViewLimits)
{
    const plots::Axis kelvin{"T (K)", false, 200, 600, 0};
    const plots::Axis logP{"P (bar)", true, 1e-3, 100, 0};
    struct Row {
        const char* what;
        const plots::Axis* axis;
        plots::Range asked;
        plots::Range expected;
    };
    const Row rows[] = {
        {"inside", &kelvin, {250, 300}, {250, 300}},
        {"below 0 K: moved up whole", &kelvin, {-50000, -49000}, {0, 1000}},
        {"too far out, then off the floor", &kelvin, {-1e9, 1e9}, {0, 40000}},
        {"too deep in", &kelvin, {300, 300.000001}, {299.8500005, 300.1500005}},
        {"log inside", &logP, {0.01, 10}, {0.01, 10}},
        {"log to 1e-100", &logP, {1e-100, 1}, {1e-9, 1e-2}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const plots::Range got = plots::limitView(*r.axis, r.asked);
        EXPECT_NEAR(got.lo, r.expected.lo, 1e-9 * std::max(1.0, std::abs(r.expected.lo)));
        EXPECT_NEAR(got.hi, r.expected.hi, 1e-9 * std::max(1.0, std::abs(r.expected.hi)));
    }
}

// What a save dialog returned becomes a file of the chosen type, or of the type typed, or is
// refused: "plot.jpg" got PNG bytes, "benz_zp" was written without a suffix.
TEST(PlotsDiagrams, SaveTargets)
{
    const std::vector<std::string> images = {"png", "svg", "pdf"};
    struct Row {
        const char* typed;
        const char* chosen;
        std::optional<plots::SaveTarget> expected;
    };
    const Row rows[] = {
        {"/d/plot", "svg", plots::SaveTarget{"/d/plot.svg", "svg"}},
        {"/d/plot.PDF", "png", plots::SaveTarget{"/d/plot.PDF", "pdf"}},
        {"/d/plot.jpg", "png", std::nullopt},
        {"/d.x/Benzene_25.5C_1bar", "png", plots::SaveTarget{"/d.x/Benzene_25.5C_1bar.png", "png"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.typed);
        const auto got = plots::saveTarget(r.typed, images, r.chosen);
        ASSERT_EQ(got.has_value(), r.expected.has_value());
        if (got) {
            EXPECT_EQ(got->path, r.expected->path);
            EXPECT_EQ(got->suffix, r.expected->suffix);
        }
    }
    EXPECT_EQ(plots::suggestedFileName("Test & <b>Bold</b> 'q'", "-12.5", "1", "Z-P"),
              "Test_b_Bold_b_q_-12.5C_1bar_Z-P");
    EXPECT_EQ(plots::suggestedFileName("../etc/passwd", "25", "1", "table"),
              "etc_passwd_25C_1bar_table");
}

} // namespace
