#include "analysis/properties.h"

#include "analysis/exponential_integral.h"
#include "analysis/reduced_eos.h"
#include "analysis/roots_internal.h"
#include "analysis/solvers.h"

#include <algorithm>
#include <cmath>

// With a(η, τ) = A_res/(R·T) at constant V and τ(T) the model's reduced attraction:
//   U_res = −R·T²·τ'·a_τ                 H_res = U_res + R·T·(Z − 1)
//   S_res = −R·(a + T·τ'·a_τ) + R·ln Z    A_res = R·T·(a − ln Z)     G_res = R·T·ln φ
//   (∂P/∂T)_V = (R/b)·h + (R·T/b)·h_τ·τ'   (∂P/∂V)_T = −(R·T/b²)·η²·h'
//   Cv_res = −R·T·(2·τ'·a_τ + T·τ''·a_τ + T·τ'²·a_ττ)
// U_res is the same at constant V as at constant P (the ideal gas's U depends on T alone);
// the others take R·ln Z from the ideal gas's move from V to R·T/P.
namespace analysis {
namespace {

constexpr double kJoulePerCm3Bar = 0.1;
// |∂ln P/∂ln V| below this is a spinodal to double precision: κ_T·P would exceed 1e10.
constexpr double kSpinodalSlope = 1e-10;

// A_res/(R·T) with its τ-derivatives and h's, sharing the pieces they have in common; `a` is
// formed exactly as residualHelmholtz forms it, so ln φ here is the roots' ln φ to the bit.
struct ResidualTerms {
    double a = 0, aTau = 0, aTauTau = 0, hTau = 0;
};

ResidualTerms residualTerms(const Isotherm& iso, double eta, double h)
{
    switch (iso.family) {
    case Family::Virial:
        return {residualHelmholtz(iso, eta)};
    case Family::Cubic: {
        const double attraction = cubicAttraction(iso, eta);
        const double d = (1 + iso.delta1 * eta) * (1 + iso.delta2 * eta);
        return {-std::log1p(-eta) - iso.tau * attraction, -attraction, 0, -eta * eta / d};
    }
    case Family::Esd: {
        const double g = 1 / (1 + iso.esdK1 * iso.tau * eta);
        const double zq = iso.esdZmQ;
        return {residualHelmholtz(iso, eta), -zq * eta * g, zq * iso.esdK1 * eta * eta * g * g,
                -zq * eta * eta * g * g};
    }
    case Family::Dieterici: {
        const DietericiIntegrals d = dietericiIntegrals(iso.tau, eta);
        return {-expIntEin(iso.tau * eta) + d.d, -d.d, d.d2, -eta * h};
    }
    }
    return {};
}

bool allFinite(const RootProperties& p)
{
    const double sum = p.z + p.lnPhi + p.gRes_J_mol + p.hRes_J_mol + p.sRes_J_molK + p.uRes_J_mol +
                       p.aRes_J_mol + p.dPdT_V_bar_K + p.dPdV_T_bar_mol_cm3 + p.cvRes_J_molK +
                       p.beta_1_K.value_or(0) + p.kappaT_1_bar.value_or(0) +
                       p.cpMinusCv_J_molK.value_or(0) + p.density_kg_m3.value_or(0);
    return std::isfinite(sum);
}

// ESD with its pole inside the packing limit: the roots on the far side of the pole, where h
// runs from −∞ to +∞ at the packing limit. A scan for sign changes, each closed by Brent's
// method; the branch need not be monotone.
int rootsBeyondPole(const Isotherm& iso, double pi, double out[], int room)
{
    constexpr int kScan = 64;
    const double lo = esdPole(iso) * (1 + 1e-9);
    const double hi = (1 / kEsdPacking) * (1 - 1e-12);
    const auto f = [&](double eta) { return reducedH(iso, eta) - pi; };
    int n = 0;
    double x0 = lo, f0 = f(lo);
    for (int i = 1; i <= kScan && n < room; ++i) {
        const double x1 = lo + (hi - lo) * i / kScan;
        const double f1 = f(x1);
        if (std::isfinite(f0) && std::isfinite(f1) && (f0 < 0) != (f1 < 0))
            out[n++] = brent(f, x0, x1, f0, f1, 1e-15 * x1);
        x0 = x1;
        f0 = f1;
    }
    return n;
}

TaggedRoot unphysicalRoot(double v, double z, RootReason reason)
{
    TaggedRoot r;
    r.v_cm3mol = v;
    r.z = z;
    r.reason = reason;
    return r;
}

} // namespace

std::optional<RootProperties> propertiesAt(const ModelParameters& prm, double v, double p,
                                           double molarMass)
{
    const Isotherm& iso = prm.isotherm;
    if (!prm.valid || !(v > minVolume(iso)) || !std::isfinite(v) || !(p > 0) ||
        (iso.family != Family::Virial && !(iso.b / v < etaMax(iso))))
        return std::nullopt;
    const double eta = iso.b / v;
    const Reduced r = reduced(iso, eta);
    const double rt = iso.rt, t = iso.t_K;
    const double rJ = rt / t * kJoulePerCm3Bar;
    // Z from the given P, as lnPhiAtPressure forms it (see there).
    const double z = p * iso.b / rt / eta;
    if (!(z > 0))
        return std::nullopt;
    const ResidualTerms tt = residualTerms(iso, eta, r.h);
    const double a = tt.a;
    const double lnZ = std::log(z);
    const double tDa = t * prm.dTau * tt.aTau; // T·(∂a/∂T) at constant V

    RootProperties out;
    out.v_cm3mol = v;
    out.z = z;
    if (molarMass > 0)
        out.density_kg_m3 = 1000 * molarMass / v;
    out.lnPhi = a + z - 1 - lnZ;
    if (const double f = p * std::exp(out.lnPhi); std::isfinite(f))
        out.fugacity_bar = f;
    out.gRes_J_mol = rJ * t * out.lnPhi;
    out.uRes_J_mol = -rJ * t * tDa;
    out.hRes_J_mol = rJ * t * (z - 1 - tDa);
    out.sRes_J_molK = rJ * (lnZ - a - tDa);
    out.aRes_J_mol = rJ * t * (a - lnZ);
    out.cvRes_J_molK =
        -rJ * t *
        (2 * prm.dTau * tt.aTau + t * prm.d2Tau * tt.aTau + t * prm.dTau * prm.dTau * tt.aTauTau);
    out.dPdT_V_bar_K = rt / iso.b * (r.h / t + tt.hTau * prm.dTau);
    out.dPdV_T_bar_mol_cm3 = -rt / (iso.b * iso.b) * eta * eta * r.dh;
    const double vdPdV = v * out.dPdV_T_bar_mol_cm3;
    if (std::fabs(eta * r.dh) > kSpinodalSlope * std::fabs(r.h)) {
        out.kappaT_1_bar = -1 / vdPdV;
        out.beta_1_K = -out.dPdT_V_bar_K / vdPdV;
        out.cpMinusCv_J_molK =
            -t * out.dPdT_V_bar_K * out.dPdT_V_bar_K / out.dPdV_T_bar_mol_cm3 * kJoulePerCm3Bar;
    }
    // A model without temperature dependence (the virial row) gives −0 here; adding +0 turns
    // it into the 0 that output should show.
    out.uRes_J_mol += 0.0;
    out.cvRes_J_molK += 0.0;
    if (!allFinite(out))
        return std::nullopt;
    return out;
}

namespace {

// Filled in place: a state's nine models are a dozen kilobytes, not worth copying.
void fillModelProperties(ModelProperties& out, Model model, const Fluid& fluid, double t_K,
                         double p_bar, double molarMass)
{
    out.model = model;
    out.parameters = modelParameters(model, fluid, t_K, p_bar);
    const Isotherm& iso = out.parameters.isotherm;
    UnphysicalRoots below;
    const StateRoots sr = rootsAt(iso, p_bar, &below);
    out.status = sr.status;
    out.vSingular = sr.vSingular;
    if (!out.parameters.valid || sr.status == RootsStatus::InvalidInput)
        return;

    // The unphysical roots lie below every physical one: first, ascending.
    const double pi = p_bar * iso.b / iso.rt;
    if (iso.family == Family::Cubic) {
        for (int i = below.count - 1; i >= 0; --i)
            out.roots[static_cast<std::size_t>(out.count++)] =
                unphysicalRoot(below.x[i] * iso.b, pi * below.x[i], RootReason::BelowCoVolume);
    } else if (iso.family == Family::Virial) {
        double xs[3];
        const int m = rootsInVolume(iso, pi, xs);
        for (int i = 0; i < m; ++i)
            if (xs[i] <= 0)
                out.roots[static_cast<std::size_t>(out.count++)] =
                    unphysicalRoot(xs[i] * iso.b, pi * xs[i], RootReason::NegativeVolume);
    } else if (sr.status == RootsStatus::Singular) {
        double etas[2];
        const int m = rootsBeyondPole(iso, pi, etas, 2);
        for (int i = m - 1; i >= 0; --i) // descending η: ascending V
            out.roots[static_cast<std::size_t>(out.count++)] =
                unphysicalRoot(iso.b / etas[i], pi / etas[i], RootReason::BeyondPole);
    }

    const int first = out.count;
    int stableBranches = 0;
    for (int i = 0; i < sr.count; ++i)
        stableBranches += sr.roots[static_cast<std::size_t>(i)].mechanicallyStable ? 1 : 0;
    for (int i = 0; i < sr.count && out.count < static_cast<int>(out.roots.size()); ++i) {
        const VolumeRoot& vr = sr.roots[static_cast<std::size_t>(i)];
        TaggedRoot& r = out.roots[static_cast<std::size_t>(out.count++)];
        r.v_cm3mol = vr.v_cm3mol;
        r.z = vr.z;
        if (i == sr.stable) {
            r.tag = RootTag::Stable;
            r.reason = stableBranches > 1 ? RootReason::LowestGibbs : RootReason::OnlyStableBranch;
        } else if (vr.mechanicallyStable) {
            r.tag = RootTag::Metastable;
            r.kind =
                i < sr.stable ? Metastability::SuperheatedLiquid : Metastability::SubcooledVapour;
            r.reason = RootReason::HigherGibbs;
        } else {
            r.tag = RootTag::Unstable;
            r.reason = iso.family == Family::Virial ? RootReason::PastPressureMaximum
                                                    : RootReason::PressureRisesWithVolume;
        }
        r.properties = propertiesAt(out.parameters, vr.v_cm3mol, p_bar, molarMass);
        if (!r.properties)
            r.status = PropertyStatus::NotRepresentable;
    }
    if (sr.stable >= 0)
        out.stable = first + sr.stable;
}

} // namespace

ModelProperties modelProperties(Model model, const Fluid& fluid, double t_K, double p_bar,
                                double molarMass)
{
    ModelProperties out;
    fillModelProperties(out, model, fluid, t_K, p_bar, molarMass);
    return out;
}

std::optional<RootProperties> ModelProperties::stableProperties() const
{
    if (stable < 0)
        return std::nullopt;
    return roots[static_cast<std::size_t>(stable)].properties;
}

StateProperties stateProperties(const Fluid& fluid, double t_K, double p_bar, double molarMass)
{
    StateProperties out;
    out.t_K = t_K;
    out.p_bar = p_bar;
    for (std::size_t i = 0; i < kModels.size(); ++i)
        fillModelProperties(out.models[i], kModels[i], fluid, t_K, p_bar, molarMass);
    return out;
}

StateProperties stateProperties(const state::CalcState& s)
{
    return stateProperties(fluidOf(s.constants, s.chkSphMol), s.conditions.TempK,
                           s.conditions.PressBar, s.constants.MolWt);
}

std::array<NamedProperty, kPropertyCount> namedProperties(const RootProperties& p)
{
    constexpr PropertyStatus kSpinodal = PropertyStatus::AtSpinodal;
    const std::optional<double> values[kPropertyCount] = {p.v_cm3mol,      p.z,
                                                          p.density_kg_m3, p.lnPhi,
                                                          p.fugacity_bar,  p.hRes_J_mol,
                                                          p.sRes_J_molK,   p.gRes_J_mol,
                                                          p.uRes_J_mol,    p.aRes_J_mol,
                                                          p.dPdT_V_bar_K,  p.dPdV_T_bar_mol_cm3,
                                                          p.beta_1_K,      p.kappaT_1_bar,
                                                          p.cvRes_J_molK,  p.cpMinusCv_J_molK};
    // What an empty value means, by position: no molar mass, a fugacity beyond the double
    // range, or a spinodal.
    const PropertyStatus missing[kPropertyCount] = {{},
                                                    {},
                                                    PropertyStatus::NoMolarMass,
                                                    {},
                                                    PropertyStatus::OutOfRange,
                                                    {},
                                                    {},
                                                    {},
                                                    {},
                                                    {},
                                                    {},
                                                    {},
                                                    kSpinodal,
                                                    kSpinodal,
                                                    {},
                                                    kSpinodal};
    std::array<NamedProperty, kPropertyCount> out;
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = {kPropertyKeys[i], values[i], values[i] ? PropertyStatus::Defined : missing[i]};
    return out;
}

std::string_view stableStatusText(const ModelProperties& m)
{
    if (m.stable < 0)
        return m.status == RootsStatus::Found || m.status == RootsStatus::Singular
                   ? "no mechanically stable root"
                   : statusText(m.status);
    const TaggedRoot& r = m.roots[static_cast<std::size_t>(m.stable)];
    return r.properties ? statusText(m.status) : statusText(r.status);
}

std::string_view tagText(RootTag t)
{
    switch (t) {
    case RootTag::Stable:
        return "stable";
    case RootTag::Metastable:
        return "metastable";
    case RootTag::Unstable:
        return "unstable";
    case RootTag::Unphysical:
        return "unphysical";
    }
    return "";
}

std::string_view kindText(Metastability m)
{
    switch (m) {
    case Metastability::None:
        return "";
    case Metastability::SuperheatedLiquid:
        return "superheated liquid";
    case Metastability::SubcooledVapour:
        return "subcooled vapour";
    }
    return "";
}

std::string_view statusText(PropertyStatus s)
{
    switch (s) {
    case PropertyStatus::Defined:
        return "defined";
    case PropertyStatus::AtSpinodal:
        return "at a spinodal";
    case PropertyStatus::NoMolarMass:
        return "no molar mass";
    case PropertyStatus::OutOfRange:
        return "out of range";
    case PropertyStatus::NotRepresentable:
        return "beyond the double range";
    }
    return "";
}

} // namespace analysis
