#pragma once

// The calculation state the main window owns for the whole run. Every quantity is a 32-bit
// float on purpose: the shown digits depend on where values are rounded to single precision,
// so the rounding happens here, when a value is stored, and the models widen to double.

namespace state {

/// Gas constant in cm3·bar/(mol·K), held as a float; widened it is 83.1399993896484375.
inline constexpr float R = 83.14f;

/// t/°C + 273.15 = T/K.
inline constexpr double kCelsiusToKelvin = 273.15;

/// A °C value as the kelvin value the state holds: the sum is formed in double and rounded
/// once to float.
inline float kelvinFromCelsius(float t_C)
{
    return static_cast<float>(static_cast<double>(t_C) + kCelsiusToKelvin);
}

/// Constants of the chosen component, in the order the store delivers them. All zero
/// until a component is chosen.
struct ComponentConstants {
    float MolWt = 0;     // g/mol
    float CritTemp = 0;  // K
    float CritPress = 0; // bar
    float CritVol = 0;   // cm3/mol
    float AcentricF = 0; // dimensionless
    float K1 = 0;        // Stryjek-Vera constants, dimensionless
    float K2 = 0;
    float K3 = 0;
    friend bool operator==(const ComponentConstants&, const ComponentConstants&) = default;
};

/// The value taken for a constant the store leaves empty (a benzene-like default for the
/// critical constants, zero for the acentric factor and the Stryjek-Vera constants).
inline constexpr ComponentConstants kMissingConstantValues{78.11f, 562.1f, 48.9f, 259.0f,
                                                           0,      0,      0,     0};

/// ln(P / kPa) = AntA - AntB / (t / °C + AntC).
struct AntoineCoefficients {
    float AntA = 0;
    float AntB = 0;
    float AntC = 0;
    friend bool operator==(const AntoineCoefficients&, const AntoineCoefficients&) = default;
};

struct StateConditions {
    float TempK = 0;    // K
    float PressBar = 0; // bar
    friend bool operator==(const StateConditions&, const StateConditions&) = default;
};

struct PhaseFlags {
    bool AntoineAvailable = false;
    bool CalcLiquid = false;
    bool CalcVapor = false;
    bool AboveCritical = false;
    friend bool operator==(const PhaseFlags&, const PhaseFlags&) = default;
};

/// Everything a model reads when it runs: the state plus the two check boxes.
struct CalcState {
    ComponentConstants constants;
    AntoineCoefficients antoine;
    StateConditions conditions;
    PhaseFlags flags;
    bool chkStCalc = false; // "Calculate HYPOTHETICAL Molar Volumes" ticked
    bool chkSphMol = false; // "Spherical Molecule Shape factor" ticked
    friend bool operator==(const CalcState&, const CalcState&) = default;
};

} // namespace state
