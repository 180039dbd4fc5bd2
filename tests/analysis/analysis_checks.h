#pragma once

#include "analysis/phase_analysis.h"

#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

// Checks shared by the analysis tests: the identities every computed saturation point must
// satisfy, evaluated through the public P(T, V) and ln φ(T, V) only.
namespace testing_analysis {

inline analysis::Fluid fluid(double tc, double pc, double vc, double omega, double k1 = 0,
                             double k2 = 0, double k3 = 0)
{
    return {tc, pc, vc, omega, k1, k2, k3, false};
}

/// The pressure one rounding of V moves P by, relative to P. At low reduced temperature the
/// liquid branch is so steep that the last bit of a double VL carries more pressure than the
/// vapour pressure itself (at Tr 0.3, ω 1.5, psat is ~1e-13 of Pc); no solver can do better
/// than this, so the tolerances below add it to the ones stated for the identities.
inline double volumeResolution(const analysis::Isotherm& iso, double v, double p)
{
    return 8 * DBL_EPSILON * std::fabs(analysis::pressureSlope(iso, v)) * v / p;
}

/// Equal fugacity to 1e-10 at the saturation pressure, and equal pressure P(T, V) to 1e-10
/// relative, widened by the volume resolution of the liquid root. Where that resolution is
/// fine (below 1e-3), ln φ at (T, V) from P(T, V) must agree too, widened likewise (ln φ moves
/// by |Z − 1|·ΔP/P); below it P(T, VL) says nothing and only the first form is meaningful.
inline ::testing::AssertionResult
saturationIdentities(analysis::Model model, const analysis::Fluid& f, const analysis::Saturation& s)
{
    const analysis::Isotherm iso = analysis::makeIsotherm(model, f, s.t_K);
    const double res = volumeResolution(iso, s.vLiquid, s.p_bar);
    const double pL = analysis::pressure(iso, s.vLiquid);
    const double pV = analysis::pressure(iso, s.vVapour);
    const double dP = std::fabs(pL - pV) / s.p_bar;
    const double dPhiP = std::fabs(analysis::lnPhiAtPressure(iso, s.vLiquid, s.p_bar) -
                                   analysis::lnPhiAtPressure(iso, s.vVapour, s.p_bar));
    const double dPhi =
        res < 1e-3 ? std::fabs(analysis::lnPhi(iso, s.vLiquid) - analysis::lnPhi(iso, s.vVapour))
                   : 0.0;
    if (!(s.p_bar > 0) || !(s.vLiquid < s.vVapour) || !std::isfinite(s.lnPhi))
        return ::testing::AssertionFailure() << "not a saturation point: P " << s.p_bar << " VL "
                                             << s.vLiquid << " VV " << s.vVapour;
    if (!(dP <= 1e-10 + res))
        return ::testing::AssertionFailure() << "P(VL) − P(VV) relative " << dP << " at T " << s.t_K
                                             << " (resolution " << res << ")";
    if (!(dPhiP <= 1e-10))
        return ::testing::AssertionFailure()
               << "ln φL − ln φV at psat " << dPhiP << " at T " << s.t_K;
    if (!(dPhi <= 1e-10 + res))
        return ::testing::AssertionFailure()
               << "ln φL − ln φV " << dPhi << " at T " << s.t_K << " (resolution " << res << ")";
    return ::testing::AssertionSuccess();
}

} // namespace testing_analysis
