// Reading the file of equations (format tavrel1-refeos/1) into Fluid records.
#include "reference/internal.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <stdexcept>

extern const char kReferenceEosJson[];
extern const std::size_t kReferenceEosJsonSize;
extern const char kReferenceEosNotice[];

namespace reference {
namespace {

using nlohmann::json;

std::vector<double> numbers(const json& term, const char* key)
{
    if (!term.contains(key))
        return {};
    return term.at(key).get<std::vector<double>>();
}

/// The i-th of a column, 0 when the column is absent.
double column(const std::vector<double>& v, std::size_t i) { return i < v.size() ? v[i] : 0; }

void readResidual(const json& term, Fluid& f)
{
    const std::string type = term.at("type").get<std::string>();
    const std::vector<double> n = numbers(term, "n");
    if (type == "ResidualHelmholtzPower" || type == "ResidualHelmholtzExponential") {
        const auto d = numbers(term, "d"), t = numbers(term, "t"), l = numbers(term, "l");
        const auto g = numbers(term, "g");
        const bool exponential = type == "ResidualHelmholtzExponential";
        for (std::size_t i = 0; i < n.size(); ++i) {
            const double li = column(l, i);
            const double gi = exponential ? column(g, i) : (li > 0 ? 1.0 : 0.0);
            f.power.push_back({n[i], column(d, i), column(t, i), li, gi});
        }
    } else if (type == "ResidualHelmholtzGaussian") {
        const auto d = numbers(term, "d"), t = numbers(term, "t"), eta = numbers(term, "eta");
        const auto eps = numbers(term, "epsilon"), beta = numbers(term, "beta");
        const auto gamma = numbers(term, "gamma");
        for (std::size_t i = 0; i < n.size(); ++i)
            f.gaussian.push_back({n[i], column(d, i), column(t, i), column(eta, i), column(eps, i),
                                  column(beta, i), column(gamma, i)});
    } else if (type == "ResidualHelmholtzNonAnalytic") {
        const auto a = numbers(term, "a"), b = numbers(term, "b"), beta = numbers(term, "beta");
        const auto A = numbers(term, "A"), B = numbers(term, "B"), C = numbers(term, "C");
        const auto D = numbers(term, "D");
        for (std::size_t i = 0; i < n.size(); ++i)
            f.nonAnalytic.push_back({n[i], column(a, i), column(b, i), column(beta, i),
                                     column(A, i), column(B, i), column(C, i), column(D, i)});
    } else {
        throw std::runtime_error(f.name + ": unknown residual term " + type);
    }
}

void readIdeal(const json& term, Fluid& f)
{
    using K = IdealTerm::Kind;
    const std::string type = term.at("type").get<std::string>();
    IdealTerm it;
    if (type == "IdealGasHelmholtzLead" || type == "IdealGasHelmholtzEnthalpyEntropyOffset") {
        it.kind = type == "IdealGasHelmholtzLead" ? K::Lead : K::Offset;
        it.a1 = term.at("a1").get<double>();
        it.a2 = term.at("a2").get<double>();
    } else if (type == "IdealGasHelmholtzLogTau") {
        it.kind = K::LogTau;
        it.a1 = term.at("a").get<double>();
    } else if (type == "IdealGasHelmholtzPower") {
        it.kind = K::Power;
        it.n = numbers(term, "n");
        it.t = numbers(term, "t");
    } else if (type == "IdealGasHelmholtzPlanckEinstein") {
        it.kind = K::PlanckEinstein;
        it.n = numbers(term, "n");
        it.t = numbers(term, "t");
    } else if (type == "IdealGasHelmholtzPlanckEinsteinFunctionT") {
        // n ln(1 − exp(−v/T)), written in τ with θ = v/T_red.
        it.kind = K::PlanckEinstein;
        it.n = numbers(term, "n");
        for (const double v : numbers(term, "v"))
            it.t.push_back(v / f.tRed);
    } else if (type == "IdealGasHelmholtzPlanckEinsteinGeneralized") {
        it.kind = K::PlanckGeneral;
        it.n = numbers(term, "n");
        it.t = numbers(term, "t");
        it.c = numbers(term, "c");
        it.d = numbers(term, "d");
    } else if (type == "IdealGasHelmholtzCP0Constant" || type == "IdealGasHelmholtzCP0PolyT") {
        it.kind = K::Cp0PolyT;
        it.t0 = term.at("T0").get<double>();
        if (type == "IdealGasHelmholtzCP0Constant") {
            it.c = {term.at("cp_over_R").get<double>()};
            it.t = {0};
        } else {
            it.c = numbers(term, "c");
            it.t = numbers(term, "t");
        }
        // A polynomial given per another gas constant than the equation's.
        if (term.contains("R"))
            for (double& c : it.c)
                c *= term.at("R").get<double>() / f.R;
    } else if (type == "IdealGasHelmholtzCP0AlyLee") {
        it.kind = K::Cp0AlyLee;
        it.t0 = term.at("T0").get<double>();
        it.c = numbers(term, "c");
        if (it.c.size() != 5)
            throw std::runtime_error(f.name + ": Aly-Lee term without five constants");
    } else {
        throw std::runtime_error(f.name + ": unknown ideal-gas term " + type);
    }
    f.ideal.push_back(std::move(it));
}

Ancillary readAncillary(const json& a)
{
    Ancillary out;
    const std::string type = a.at("type").get<std::string>();
    if (type == "pV" || type == "pL")
        out.kind = Ancillary::Kind::Pressure;
    else if (type == "rhoLnoexp")
        out.kind = Ancillary::Kind::LiquidDensity;
    else if (type == "rhoV")
        out.kind = Ancillary::Kind::VapourDensity;
    else
        throw std::runtime_error("unknown ancillary " + type);
    out.tR = a.at("T_r").get<double>();
    out.reducing = a.at("reducing_value").get<double>();
    out.usingTauR = a.at("using_tau_r").get<bool>();
    out.n = numbers(a, "n");
    out.t = numbers(a, "t");
    out.tMin = a.at("Tmin").get<double>();
    out.tMax = a.at("Tmax").get<double>();
    out.maxErrorPercent = a.value("max_abserror_percentage", 0.0);
    return out;
}

Fluid readFluid(const json& j)
{
    Fluid f;
    f.name = j.at("name").get<std::string>();
    for (const json& c : j.at("eos_ref").at("citation")) {
        if (!f.citation.empty())
            f.citation += "; ";
        f.citation += c.get<std::string>();
    }
    f.R = j.at("R").get<double>();
    f.M = j.at("M").get<double>();
    f.tRed = j.at("reducing").at("T").get<double>();
    f.rhoRed = j.at("reducing").at("rhomolar").get<double>();
    f.tc = j.at("critical").at("T").get<double>();
    f.pc = j.at("critical").at("p").get<double>();
    f.rhoc = j.at("critical").at("rhomolar").get<double>();
    f.tTriple = j.at("Ttriple").get<double>();
    f.tMax = j.at("Tmax").get<double>();
    f.pMax = j.at("pmax").get<double>();
    for (const json& term : j.at("alphar"))
        readResidual(term, f);
    for (const json& term : j.at("alpha0"))
        readIdeal(term, f);
    const json& anc = j.at("ancillaries");
    f.pSat = readAncillary(anc.at("pS"));
    f.rhoLiquid = readAncillary(anc.at("rhoL"));
    f.rhoVapour = readAncillary(anc.at("rhoV"));
    if (!(f.R > 0 && f.M > 0 && f.tRed > 0 && f.rhoRed > 0 && f.tc > 0 && f.tMax > f.tTriple))
        throw std::runtime_error(f.name + ": constants out of range");
    f.cache = std::make_shared<CriticalCache>();
    return f;
}

} // namespace

Library Library::parse(std::string_view text)
{
    Library lib;
    try {
        const json root = json::parse(text.begin(), text.end());
        if (root.at("format").get<std::string>() != "tavrel1-refeos/1")
            throw std::runtime_error("not a file of reference equations (format)");
        for (const json& j : root.at("fluids"))
            lib.m_fluids.push_back(readFluid(j));
    } catch (const json::exception& e) {
        throw std::runtime_error(std::string("reference equations: ") + e.what());
    }
    std::sort(lib.m_fluids.begin(), lib.m_fluids.end(),
              [](const Fluid& a, const Fluid& b) { return a.name < b.name; });
    return lib;
}

const Library& Library::shipped()
{
    static const Library lib = parse(std::string_view(kReferenceEosJson, kReferenceEosJsonSize));
    return lib;
}

const Fluid* Library::find(std::string_view name) const
{
    const auto it = std::lower_bound(m_fluids.begin(), m_fluids.end(), name,
                                     [](const Fluid& a, std::string_view n) { return a.name < n; });
    return it != m_fluids.end() && it->name == name ? &*it : nullptr;
}

std::string_view Library::notice() { return kReferenceEosNotice; }

} // namespace reference
