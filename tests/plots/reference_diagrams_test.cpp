#include "plots/diagrams.h"
#include "plots/reference_diagrams.h"
#include "state/number_format.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using plots::Curve;

constexpr double kZeroCelsius_K = 273.15;
// The shipped constants: MolWt, Tc, Pc, Vc, ω, K1..K3.
constexpr state::ComponentConstants kWater{18.015f, 647.096f,  220.64f, 55.95f,
                                           0.3443f, -0.06635f, 0.0199f, 0.443f};
constexpr state::ComponentConstants kPropane{44.097f, 369.89f,  42.512f, 200.0f,
                                             0.1521f, 0.03136f, 0.2757f, 0.447f};
constexpr state::ComponentConstants kCO2{44.009f,  304.128f, 73.773f, 94.12f,
                                         0.22394f, 0.04285f, 0,       0};

struct Case {
    const char* component;
    state::ComponentConstants constants;
    const char* tempC;
    const char* pressBar;
};
// Vapour just below the boiling point, compressed liquid, vapour and liquid of propane, a
// supercritical state, and a liquid denser than the models' co-volumes allow.
const Case kCases[] = {
    {"Water", kWater, "100", "1.01325"}, {"Water", kWater, "25", "1"},
    {"Propane", kPropane, "25", "5"},    {"Propane", kPropane, "-20", "10"},
    {"Propane", kPropane, "150", "60"},  {"Carbon dioxide", kCO2, "0", "50"},
};

plots::DiagramInput inputOf(const Case& c)
{
    plots::DiagramInput in;
    in.component = c.component;
    in.state.constants = c.constants;
    in.state.conditions = {static_cast<float>(*state::toDouble(c.tempC) + kZeroCelsius_K),
                           static_cast<float>(*state::toDouble(c.pressBar))};
    in.solvedBefore = true;
    in.tempText = c.tempC;
    in.pressText = c.pressBar;
    return in;
}

plots::Diagrams withReference(const plots::DiagramInput& in)
{
    plots::Diagrams d = plots::computeDiagrams(in);
    plots::addReference(d, in);
    return d;
}

const Curve* find(const plots::Diagram& d, const std::string& name)
{
    for (const Curve& c : d.curves)
        if (c.reference && c.name == name)
            return &c;
    return nullptr;
}

// The vapour-pressure curve is the equation's own: in bar (not Pa), every point on its
// saturation line, ending at its own critical point.
TEST(ReferenceDiagrams, VapourPressureCurveLiesOnItsSaturationLine)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.component) + " " + c.tempC);
        const plots::Diagrams d = withReference(inputOf(c));
        const reference::Fluid& f = *reference::Library::shipped().find(c.component);
        const Curve* psat = find(d.pt, "Reference Psat");
        ASSERT_NE(psat, nullptr);
        ASSERT_GT(psat->x.size(), 50u);
        for (std::size_t i = 0; i + 1 < psat->x.size(); ++i) {
            const reference::Saturation s = reference::saturation(f, psat->x[i]);
            ASSERT_TRUE(s.ok());
            EXPECT_NEAR(psat->y[i], s.p_Pa / 1e5, 1e-9 * psat->y[i]);
            EXPECT_LT(psat->x[i], psat->x[i + 1]);
        }
        EXPECT_DOUBLE_EQ(psat->x.back(), f.eosCritical().t_K);
        EXPECT_DOUBLE_EQ(psat->y.back(), f.eosCritical().p_Pa / 1e5);
        ASSERT_TRUE(d.pt.reference.has_value());
        EXPECT_NE(d.pt.reference->name.find(plots::shortCitation(f.citation)), std::string::npos);
    }
}

// The isotherm is the stable one: ascending in V, P falling along it, flat only between the
// saturated volumes (no point of the equation's loops there), every other point on the
// equation; its liquid end is in the initial view.
TEST(ReferenceDiagrams, IsothermIsStableAndFlatAcrossTheTwoPhaseLine)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.component) + " " + c.tempC);
        const plots::DiagramInput in = inputOf(c);
        const plots::Diagrams d = withReference(in);
        const reference::Fluid& f = *reference::Library::shipped().find(c.component);
        const double t = in.state.conditions.TempK;
        const Curve* iso = find(d.pv, "Reference P");
        ASSERT_NE(iso, nullptr);
        const reference::Saturation sat = reference::saturation(f, t);
        const double vL = sat.ok() ? 1e6 / sat.rhoLiquid : 0,
                     vV = sat.ok() ? 1e6 / sat.rhoVapour : 0;
        int flat = 0;
        for (std::size_t i = 0; i < iso->x.size(); ++i) {
            const double v = iso->x[i], p = iso->y[i];
            if (i > 0) {
                EXPECT_GT(v, iso->x[i - 1]);
                EXPECT_LE(p, iso->y[i - 1]);
            }
            EXPECT_FALSE(sat.ok() && v > vL && v < vV) << "inside the two-phase region: " << v;
            if (sat.ok() && (v == vL || v == vV)) {
                EXPECT_DOUBLE_EQ(p, sat.p_Pa / 1e5);
                ++flat;
            } else {
                EXPECT_NEAR(p, reference::pressure(f, t, 1e6 / v) / 1e5, 1e-6 * p + 1e-9);
            }
        }
        EXPECT_EQ(flat, sat.ok() ? 2 : 0);
        if (sat.ok()) {
            EXPECT_LT(d.pv.x.min, vL);
            // Z-P: the vapour branch ends and the liquid branch starts at the vapour pressure.
            const Curve* zv = find(d.zp, "Reference Z vapour");
            const Curve* zl = find(d.zp, "Reference Z liquid");
            ASSERT_TRUE(zv && zl);
            EXPECT_DOUBLE_EQ(zv->x.back(), sat.p_Pa / 1e5);
            EXPECT_DOUBLE_EQ(zl->x.front(), sat.p_Pa / 1e5);
            EXPECT_GT(zv->y.back(), zl->y.front());
        }
    }
}

// The Table's reference part: the values of compareAtState in the chosen units, the model
// rows its deviations in the models' order, which no unit changes.
TEST(ReferenceDiagrams, TableShowsTheComparisonInTheChosenUnits)
{
    const plots::DiagramUnits units =
        plots::unitsFromSymbols({std::string("F"), std::string("psia"), std::string("L/mol")});
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.component) + " " + c.tempC);
        const plots::DiagramInput in = inputOf(c);
        const plots::Diagrams d = plots::inUnits(withReference(in), units);
        ASSERT_TRUE(d.reference.has_value());
        const core::ReferenceAtState at = core::compareAtState(
            *reference::Library::shipped().find(c.component), in.state, c.tempC, c.pressBar);
        const plots::TextTable t = plots::referenceTableText(*d.reference, units);
        ASSERT_EQ(t.rows.size(), 10u);
        EXPECT_EQ(t.columns[2], "V (L/mol)");
        EXPECT_EQ(t.rows[0][2], state::formatSignificant(*at.volume_cm3mol / 1000, 6));
        EXPECT_EQ(t.rows[0][4], state::formatSignificant(*at.density_kg_m3, 6));
        if (at.saturation) {
            EXPECT_EQ(t.rows[0][5],
                      state::formatSignificant(at.saturation->p_Pa / 1e5 * 14.503773773022, 6));
        }
        for (std::size_t m = 0; m < at.models.size(); ++m) {
            const core::ModelDeviation& dev = at.models[m];
            EXPECT_EQ(t.rows[m + 1][0], state::rowCaption(dev.model));
            const auto shown = [](const std::optional<double>& x) {
                return x ? (*x > 0 ? "+" : "") + state::formatSignificant(*x, 4) + " %"
                         : std::string();
            };
            EXPECT_EQ(t.rows[m + 1][2], shown(dev.volume));
            EXPECT_EQ(t.rows[m + 1][3], shown(dev.z));
            EXPECT_EQ(t.rows[m + 1][4], shown(dev.density));
            EXPECT_EQ(t.rows[m + 1][5], shown(dev.psat));
            EXPECT_EQ(t.rows[m + 1][6], shown(dev.vLiquid));
            EXPECT_EQ(t.rows[m + 1][7], shown(dev.vVapour));
        }
    }
}

TEST(ReferenceDiagrams, ShortCitationNamesAuthorsAndYear)
{
    const std::pair<const char*, const char*> kCitations[] = {
        {"Wagner, W. and Pruß, A. (2002). The IAPWS Formulation 1995. J. Phys.",
         "Wagner & Pruß 2002"},
        {"Lemmon, E. W., McLinden, M. O. and Wagner, W. (2009). Propane.", "Lemmon et al. 2009"},
        {"Span, R. (2000). Multiparameter Equations of State.", "Span 2000"},
        {"An equation without a dated author list", "An equation without a dated author list"},
    };
    for (const auto& [citation, expected] : kCitations)
        EXPECT_EQ(plots::shortCitation(citation), expected);
}

// Measured points on every diagram they have coordinates for; Z from the point's own T.
TEST(ReferenceDiagrams, MeasuredPointsGoOntoEveryDiagram)
{
    const core::MeasuredData pvt =
        core::readMeasured("T [K],p [bar],V [cm3/mol]\n300,10,2000\n400,20,1500\n", 44.097);
    const core::MeasuredData vp = core::readMeasured("T [K],psat [bar]\n300,9.98\n", 44.097);
    plots::Diagrams d = withReference(inputOf(kCases[2]));
    const auto count = [](const plots::Diagram& g) {
        return std::count_if(g.markers.begin(), g.markers.end(), [](const plots::Marker& m) {
            return m.kind == plots::MarkerKind::Measured;
        });
    };
    plots::addMeasured(d, pvt, "Measured");
    plots::addMeasured(d, vp, "Measured");
    EXPECT_EQ(count(d.pv), 2);
    EXPECT_EQ(count(d.zp), 2);
    EXPECT_EQ(count(d.pt), 3);
    const plots::Marker& z = d.zp.markers[d.zp.markers.size() - 1];
    EXPECT_NEAR(z.y, 20 * 1500 / (83.144626 * 400), 1e-6);
}

} // namespace
