#include "analysis/phase_analysis.h"

namespace analysis {

StateAnalysis analyseState(const Fluid& fluid, double t_K, double p_bar)
{
    StateAnalysis out;
    out.t_K = t_K;
    out.p_bar = p_bar;
    for (std::size_t i = 0; i < kModels.size(); ++i) {
        ModelAnalysis& m = out.models[i];
        m.model = kModels[i];
        m.critical = criticalPoint(m.model, fluid);
        m.saturation = saturation(m.model, fluid, t_K, m.critical);
        m.roots = volumeRoots(m.model, fluid, t_K, p_bar);
    }
    return out;
}

StateAnalysis analyseState(const state::CalcState& s)
{
    return analyseState(fluidOf(s.constants, s.chkSphMol), s.conditions.TempK,
                        s.conditions.PressBar);
}

std::string_view statusText(CriticalStatus s)
{
    switch (s) {
    case CriticalStatus::Found:
        return "found";
    case CriticalStatus::NoCriticalPoint:
        return "no critical point";
    case CriticalStatus::NotConverged:
        return "did not converge";
    case CriticalStatus::InvalidInput:
        return "invalid input";
    }
    return "";
}

std::string_view statusText(RootsStatus s)
{
    switch (s) {
    case RootsStatus::Found:
        return "found";
    case RootsStatus::NoRoot:
        return "no root";
    case RootsStatus::InvalidInput:
        return "invalid input";
    case RootsStatus::Singular:
        return "singular";
    }
    return "";
}

std::string_view statusText(SaturationStatus s)
{
    switch (s) {
    case SaturationStatus::Converged:
        return "converged";
    case SaturationStatus::AboveCritical:
        return "above critical";
    case SaturationStatus::NoLiquidRoot:
        return "no liquid root";
    case SaturationStatus::NotConverged:
        return "did not converge";
    case SaturationStatus::NoPhaseSplit:
        return "no phase split";
    case SaturationStatus::InvalidInput:
        return "invalid input";
    }
    return "";
}

} // namespace analysis
