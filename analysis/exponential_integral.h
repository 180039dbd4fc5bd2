#pragma once

// The exponential integrals Dieterici's residual Helmholtz energy is written in, in double
// precision for x > 0, without the C++17 special functions (the browser build's standard
// library has none). Sources: Abramowitz & Stegun 5.1.10-5.1.11 (series), 5.1.22 (continued
// fraction of E1), 5.1.51 (asymptotic series of Ei).
namespace analysis {

/// E1(x) = ∫x^∞ e^(−t)/t dt, x > 0.
double expIntE1(double x);
/// Ein(x) = ∫0^x (1 − e^(−t))/t dt = γ + ln x + E1(x), accurate also where x is tiny.
double expIntEin(double x);
/// e^(−x)·Ei(x), Ei(x) = −PV∫−x^∞ e^(−t)/t dt, x > 0; bounded where Ei itself overflows.
double expIntEiScaled(double x);

} // namespace analysis
