#include "analysis/root_explanation.h"

#include "state/number_format.h"
#include "state/result_sheet.h"

#include <cmath>

namespace analysis {
namespace {

// Prose carries four significant digits, listed values six.
std::string num(double x) { return state::formatSignificant(x, 4); }
std::string val(double x) { return state::formatSignificant(x, 6); }

std::string volume(double v) { return "V = " + val(v) + " cm3/mol"; }

// " + 0.123 Z^2" or " - 0.123 Z^2".
std::string term(double c, const char* power)
{
    const std::string sign = c < 0 ? " - " : " + ";
    if (*power == 0)
        return sign + val(std::fabs(c));
    return sign + (std::fabs(c) == 1 ? "" : val(std::fabs(c)) + " ") + power;
}

std::string cubicLine(const ModelParameters& p)
{
    return "Z^3" + term(p.cubic[0], "Z^2") + term(p.cubic[1], "Z") + term(p.cubic[2], "") + " = 0";
}

const TaggedRoot* rootAt(const ModelProperties& m, int i)
{
    return i >= 0 && i < m.count ? &m.roots[static_cast<std::size_t>(i)] : nullptr;
}

double lnPhiOf(const TaggedRoot& r) { return r.properties ? r.properties->lnPhi : 0; }

// The other mechanically stable root (for the stable one) or the stable root (for a
// metastable one): what the Gibbs energy is compared with.
const TaggedRoot* rival(const ModelProperties& m, int index)
{
    if (index != m.stable)
        return rootAt(m, m.stable);
    for (int i = 0; i < m.count; ++i) {
        const RootTag t = m.roots[static_cast<std::size_t>(i)].tag;
        if (i != index && t == RootTag::Metastable)
            return rootAt(m, i);
    }
    return nullptr;
}

std::string parametersLine(const ModelProperties& m, const Fluid& f)
{
    const ModelParameters& p = m.parameters;
    const auto item = [&](std::string_view key) {
        for (int i = 0; i < p.itemCount; ++i)
            if (p.items[static_cast<std::size_t>(i)].key == key)
                return p.items[static_cast<std::size_t>(i)].value;
        return 0.0;
    };
    const std::string b = "b = " + val(p.b) + " cm3/mol";
    const std::string alphaDerivs =
        "; dalpha/dT = " + val(p.dAlpha) + " 1/K, d2alpha/dT2 = " + val(p.d2Alpha) + " 1/K2";
    std::string kappa;
    switch (m.model) {
    case Model::Vir:
        return "B = -Vc = " + val(item("B_cm3_mol")) +
               " cm3/mol and C = Vc^2/9 = " + val(item("C_cm6_mol2")) +
               " cm6/mol2, neither depending on T.";
    case Model::VDW:
        return "a = 27 R^2 Tc^2/(64 Pc) = " + val(p.a) + " bar cm6/mol2 and " + b +
               ", neither depending on T.";
    case Model::RK:
        return "a(T) = ac alpha(T) = " + val(p.a) +
               " bar cm6/mol2 with ac = " + val(item("ac_bar_cm6_mol2")) +
               " and alpha(T) = Tr^(-1/2) = " + val(p.alpha) + alphaDerivs + "; " + b + ".";
    case Model::SRK:
        kappa = "m(omega) = " + val(item("kappa"));
        break;
    case Model::PR:
        kappa = "kappa(omega) = " + val(item("kappa"));
        break;
    case Model::PRSV1:
        kappa = "kappa = kappa0 + K1 (1 + sqrt(Tr))(0.7 - Tr) = " + val(item("kappa")) +
                " (K1 = " + val(f.k1) + ")";
        break;
    case Model::PRSV2:
        kappa = "kappa = kappa0 + [K1 + K2 (K3 - Tr)(1 - sqrt(Tr))](1 + sqrt(Tr))(0.7 - Tr) = " +
                val(item("kappa")) + " (K1 = " + val(f.k1) + ", K2 = " + val(f.k2) +
                ", K3 = " + val(f.k3) + ")";
        break;
    case Model::ESD:
        return "Shape factor c = " + val(item("c")) + ", q = " + val(item("q")) +
               ", zm = " + val(item("zm")) + ", k1 = " + val(item("k1")) +
               "; Y = exp(theta Tc/T) - k2 = " + val(p.tau) + " (theta = " + val(item("theta")) +
               ", k2 = " + val(item("k2")) + "), dY/dT = " + val(p.dTau) + " 1/K; " + b + ".";
    case Model::DEOS:
        return "a = 4 (R Tc)^2/(Pc e^2) = " + val(p.a) + " bar cm6/mol2 and " + b +
               ", neither depending on T; a/(bRT) = " + val(p.tau) + ".";
    }
    return "a(T) = ac alpha(T) = " + val(p.a) +
           " bar cm6/mol2 with ac = " + val(item("ac_bar_cm6_mol2")) + ", " + kappa +
           " and alpha(T) = [1 + " + (m.model == Model::SRK ? "m" : "kappa") +
           " (1 - sqrt(Tr))]^2 = " + val(p.alpha) + alphaDerivs + "; " + b + ".";
}

std::string equationLine(const ModelProperties& m)
{
    const ModelParameters& p = m.parameters;
    const std::string ab =
        "A = aP/(RT)^2 = " + val(p.bigA) + " and B = bP/(RT) = " + val(p.bigB) + "; ";
    switch (m.model) {
    case Model::Vir:
        return "With B' = BP/(RT) = " + val(p.bigB) + " and C' = CP^2/(RT)^2 = " + val(p.bigA) +
               ", Z = 1 + B/V - C/V^2 becomes Z^3 - Z^2 - B' Z + C' = 0: " + cubicLine(p) + ".";
    case Model::VDW:
        return ab + "Z solves Z^3 - (B + 1) Z^2 + A Z - AB = 0: " + cubicLine(p) + ".";
    case Model::RK:
    case Model::SRK:
        return ab + "Z solves Z^3 - Z^2 + (A - B - B^2) Z - AB = 0: " + cubicLine(p) + ".";
    case Model::PR:
    case Model::PRSV1:
    case Model::PRSV2:
        return ab + "Z solves Z^3 + (B - 1) Z^2 + (A - 3B^2 - 2B) Z - (AB - B^2 - B^3) = 0: " +
               cubicLine(p) + ".";
    case Model::ESD:
        return "Z = 1 + 4c eta/(1 - 1.9 eta) - zm q Y eta/(1 + k1 Y eta) with eta = b/V is no "
               "polynomial in V: its roots are found on each branch where P(V) is monotone, "
               "bounded by the spinodals (V > 1.9 b only).";
    case Model::DEOS:
        return "P = RT/(V - b) exp(-a/(RTV)) is no polynomial in V: its roots are found on each "
               "branch where P(V) is monotone, bounded by the spinodals (V > b only).";
    }
    return "";
}

std::string rootsLine(const ModelProperties& m)
{
    if (m.count == 0)
        return "No real root at this pressure.";
    std::string s = m.count == 1 ? "One real root: " : "Real roots: ";
    for (int i = 0; i < m.count; ++i) {
        const TaggedRoot& r = m.roots[static_cast<std::size_t>(i)];
        s += (i ? ", " : "") + ("Z = " + val(r.z) + " (" + volume(r.v_cm3mol) + ")");
    }
    return s + ".";
}

// Where T and P lie against the model's critical temperature and its spinodals.
void placeState(const ModelExplanation& e, double p, std::vector<std::string>& steps)
{
    const Spinodals& sp = e.spinodals;
    const ModelProperties& m = e.properties;
    if (m.model == Model::Vir) {
        steps.push_back("The truncated virial series has no liquid branch: P(V) rises to its "
                        "maximum " +
                        num(sp.pVapour) + " bar at " + volume(sp.vVapour) +
                        " and falls again at smaller volumes.");
        steps.push_back(p < sp.pVapour ? "P is below that maximum: a vapour root on the rising "
                                         "branch and a second, unstable one past the maximum."
                                       : "P is above that maximum: the series has no root.");
        return;
    }
    const CriticalPoint& c = e.critical;
    const bool above = c.found() && m.parameters.isotherm.t_K >= c.t_K;
    if (m.status == RootsStatus::Singular)
        steps.push_back("Far above its critical temperature Y is negative and 1 + k1 Y eta "
                        "vanishes at " +
                        volume(m.vSingular) +
                        ": the model is singular there. Only the branch above that volume "
                        "joins the ideal gas.");
    if (!sp.exists) {
        steps.push_back(above ? "T is above this model's critical temperature " + num(c.t_K) +
                                    " K: P(V) falls monotonically, so there is one root and "
                                    "no phase split."
                              : "P(V) falls monotonically at this T: one root, no phase split.");
        return;
    }
    const std::string loop = "the liquid spinodal (" + volume(sp.vLiquid) +
                             ", P = " + num(sp.pLiquid) + " bar) and the vapour spinodal (" +
                             volume(sp.vVapour) + ", P = " + num(sp.pVapour) + " bar)";
    if (above)
        steps.push_back("T is above this model's critical temperature " + num(c.t_K) +
                        " K, but its alpha(T) grows again here and the isotherm loops once "
                        "more: P(V) rises between " +
                        loop + ".");
    else if (c.found())
        steps.push_back("T is below this model's critical temperature " + num(c.t_K) +
                        " K, so the isotherm has a loop: P(V) rises between " + loop + ".");
    else
        steps.push_back("The isotherm has a loop at this T: P(V) rises between " + loop + ".");
    if (p < sp.pLiquid)
        steps.push_back("P is below the liquid spinodal's pressure: only the vapour root exists.");
    else if (p > sp.pVapour)
        steps.push_back("P is above the vapour spinodal's pressure: only the liquid root exists.");
    else
        steps.push_back("P lies between the two spinodal pressures: three roots, liquid, "
                        "unstable middle and vapour.");
}

// The state against the model's own vapour pressure, and the Gibbs-energy check.
void compareSaturation(const ModelExplanation& e, double p, std::vector<std::string>& steps)
{
    const Saturation& s = e.saturation;
    const ModelProperties& m = e.properties;
    if (m.model == Model::Vir)
        return;
    if (!s.converged()) {
        if (e.spinodals.exists)
            steps.push_back(
                "This model's vapour pressure at T: " + std::string(statusText(s.status)) + ".");
        return;
    }
    const std::string psat = "this model's vapour pressure " + num(s.p_bar) + " bar";
    const bool liquid = p > s.p_bar;
    if (p == s.p_bar) {
        steps.push_back("P equals " + psat + ": liquid and vapour coexist.");
        return;
    }
    steps.push_back(liquid ? "P is above " + psat + ", so its liquid root is the stable one."
                           : "P is below " + psat + ", so its vapour root is the stable one.");
    const TaggedRoot* stable = rootAt(m, m.stable);
    const TaggedRoot* other = stable ? rival(m, m.stable) : nullptr;
    if (stable && other)
        steps.push_back("Check by Gibbs energy, G = G(ideal gas) + RT ln phi at the same T and P: "
                        "ln phi " +
                        num(lnPhiOf(*stable)) + " at " + volume(stable->v_cm3mol) +
                        " is below ln phi " + num(lnPhiOf(*other)) + " at " +
                        volume(other->v_cm3mol) + "; the other is a " +
                        std::string(kindText(other->kind)) + ".");
}

} // namespace

std::string reasonText(const ModelProperties& m, int index)
{
    const TaggedRoot* r = rootAt(m, index);
    if (!r)
        return "";
    const TaggedRoot* other = rival(m, index);
    switch (r->reason) {
    case RootReason::LowestGibbs:
        return "stable: the lowest Gibbs energy of the mechanically stable roots (ln phi " +
               num(lnPhiOf(*r)) + " against " + (other ? num(lnPhiOf(*other)) : "") + ")";
    case RootReason::OnlyStableBranch:
        return "stable: the only root where P falls as V grows ((dP/dV)_T < 0)";
    case RootReason::HigherGibbs:
        return "metastable, " + std::string(kindText(r->kind)) + ": (dP/dV)_T < 0, but ln phi " +
               num(lnPhiOf(*r)) + " is above the stable root's " +
               (other ? num(lnPhiOf(*other)) : "");
    case RootReason::PressureRisesWithVolume:
        return "unstable: (dP/dV)_T > 0, P rises with V between the spinodals";
    case RootReason::PastPressureMaximum:
        return "unstable: past the pressure maximum of the truncated series, where P falls as the "
               "density rises ((dP/dV)_T > 0)";
    case RootReason::BelowCoVolume:
        return "unphysical: " + volume(r->v_cm3mol) +
               " is not above the co-volume b = " + val(m.parameters.b) + " cm3/mol";
    case RootReason::NegativeVolume:
        return "unphysical: a negative volume";
    case RootReason::BeyondPole:
        return "unphysical: below the pole of the attraction term at " + volume(m.vSingular) +
               "; P(V) passes through infinity between this root and the ideal gas";
    }
    return "";
}

ModelExplanation explainModel(Model model, const Fluid& fluid, double t_K, double p_bar,
                              double molarMass)
{
    ModelExplanation e;
    e.properties = modelProperties(model, fluid, t_K, p_bar, molarMass);
    e.critical = criticalPoint(model, fluid);
    e.saturation = saturation(model, fluid, t_K, e.critical);
    const ModelProperties& m = e.properties;
    std::vector<std::string>& steps = e.steps;
    steps.push_back(std::string(state::rowCaption(model)) + " at T = " + val(t_K) +
                    " K and P = " + val(p_bar) + " bar.");
    if (!m.parameters.valid || m.status == RootsStatus::InvalidInput) {
        steps.push_back("The model's parameters are undefined for these constants and this "
                        "state: no root.");
        return e;
    }
    e.spinodals = spinodals(m.parameters.isotherm);
    steps.push_back(parametersLine(m, fluid));
    steps.push_back(equationLine(m));
    steps.push_back(rootsLine(m));
    placeState(e, p_bar, steps);
    compareSaturation(e, p_bar, steps);
    for (int i = 0; i < m.count; ++i)
        steps.push_back(volume(m.roots[static_cast<std::size_t>(i)].v_cm3mol) + ": " +
                        reasonText(m, i) + ".");
    if (const TaggedRoot* s = rootAt(m, m.stable))
        steps.push_back("Stable root: " + volume(s->v_cm3mol) + ", Z = " + val(s->z) +
                        ", ln phi = " + val(lnPhiOf(*s)) + ".");
    else
        steps.push_back("No stable root: " + std::string(statusText(m.status)) + ".");
    return e;
}

StateExplanation explainState(const Fluid& fluid, double t_K, double p_bar, double molarMass)
{
    StateExplanation out;
    for (std::size_t i = 0; i < kModels.size(); ++i)
        out[i] = explainModel(kModels[i], fluid, t_K, p_bar, molarMass);
    return out;
}

StateExplanation explainState(const state::CalcState& s)
{
    return explainState(fluidOf(s.constants, s.chkSphMol), s.conditions.TempK,
                        s.conditions.PressBar, s.constants.MolWt);
}

} // namespace analysis
