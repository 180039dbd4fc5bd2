#include "core/model_details.h"

#include "analysis/root_explanation.h"
#include "core/sheet_export.h"
#include "state/number_format.h"
#include "state/result_sheet.h"

#include <utility>

namespace core {
namespace {

constexpr int kDigits = 7; // as the readable analysis output
constexpr double kZeroCelsius_K = 273.15;

std::string number(double x) { return state::formatSignificant(x, kDigits); }

// The unit suffixes the parameter keys end with, longest first so "_1_K2" wins over "_1_K".
struct UnitSuffix {
    std::string_view suffix, unit;
};
constexpr UnitSuffix kUnitSuffixes[] = {
    {"_bar_cm6_mol2", "bar·cm6/mol2"},
    {"_cm3_molK", "cm3/(mol·K)"},
    {"_cm6_mol2", "cm6/mol2"},
    {"_cm3_mol", "cm3/mol"},
    {"_1_K2", "1/K2"},
    {"_1_K", "1/K"},
};

// Keys shown in the notation of the explanation rather than as they are spelled; matched
// whole, since "B" (the cubics' bP/RT) and "B_cm3_mol" (the virial coefficient) differ.
struct KeyName {
    std::string_view key, name;
};
constexpr KeyName kKeyNames[] = {
    {"dalpha_dT_1_K", "dα/dT"},
    {"d2alpha_dT2_1_K2", "d²α/dT²"},
    {"alpha", "α(T)"},
    {"kappa", "κ"},
    {"ac_bar_cm6_mol2", "ac = a(Tc)"},
    {"A", "A = aP/(RT)²"},
    {"B", "B = bP/(RT)"},
    {"cubic_c2", "Z² coefficient"},
    {"cubic_c1", "Z coefficient"},
    {"cubic_c0", "constant term"},
    {"tau", "a/(bRT)"},
    {"dY_dT_1_K", "dY/dT"},
    {"d2Y_dT2_1_K2", "d²Y/dT²"},
    {"dB_dT_cm3_molK", "dB/dT"},
    {"BP_RT", "B' = BP/(RT)"},
    {"CP2_RT2", "C' = CP²/(RT)²"},
    {"theta", "θ"},
};

void appendLine(std::string& out, std::initializer_list<std::string_view> cells, char separator)
{
    bool first = true;
    for (std::string_view c : cells) {
        if (!first)
            out += separator;
        first = false;
        if (separator == ',')
            appendCsvField(out, c);
        else
            out += c;
    }
    out += separator == ',' ? "\r\n" : "\n";
}

} // namespace

const std::array<PropertyLabel, analysis::kPropertyCount>& propertyLabels()
{
    static const std::array<PropertyLabel, analysis::kPropertyCount> kLabels = {{
        {"molar_volume_cm3_mol", "Molar volume V", "cm3/mol"},
        {"Z", "Compressibility factor Z", ""},
        {"density_kg_m3", "Density", "kg/m3"},
        {"ln_phi", "ln φ", ""},
        {"fugacity_bar", "Fugacity f = φ·P", "bar"},
        {"H_res_J_mol", "Residual enthalpy Hᴿ", "J/mol"},
        {"S_res_J_molK", "Residual entropy Sᴿ", "J/(mol·K)"},
        {"G_res_J_mol", "Residual Gibbs energy Gᴿ = RT ln φ", "J/mol"},
        {"U_res_J_mol", "Residual internal energy Uᴿ", "J/mol"},
        {"A_res_J_mol", "Residual Helmholtz energy Aᴿ", "J/mol"},
        {"dPdT_V_bar_K", "(∂P/∂T)_V", "bar/K"},
        {"dPdV_T_bar_mol_cm3", "(∂P/∂V)_T", "bar·mol/cm3"},
        {"beta_1_K", "Volume expansivity β", "1/K"},
        {"kappa_T_1_bar", "Isothermal compressibility κ_T", "1/bar"},
        {"Cv_res_J_molK", "Residual heat capacity Cvᴿ", "J/(mol·K)"},
        {"Cp_minus_Cv_J_molK", "Cp − Cv", "J/(mol·K)"},
    }};
    return kLabels;
}

std::string asciiText(std::string_view text)
{
    static constexpr std::pair<std::string_view, std::string_view> kAscii[] = {
        {"α", "alpha"}, {"κ", "kappa"}, {"θ", "theta"}, {"φ", "phi"},  {"β", "beta"},
        {"²", "^2"},    {"·", " "},     {"∂", "d"},     {"ᴿ", "_res"}, {"−", "-"},
    };
    std::string out;
    while (!text.empty()) {
        bool replaced = false;
        for (const auto& [from, to] : kAscii)
            if (text.starts_with(from)) {
                out += to;
                text.remove_prefix(from.size());
                replaced = true;
                break;
            }
        if (!replaced) {
            out += text.front();
            text.remove_prefix(1);
        }
    }
    return out;
}

ParameterLabel parameterLabel(std::string_view key)
{
    ParameterLabel label;
    std::string_view stem = key;
    for (const UnitSuffix& u : kUnitSuffixes)
        if (stem.size() > u.suffix.size() && stem.ends_with(u.suffix)) {
            stem.remove_suffix(u.suffix.size());
            label.unit = u.unit;
            break;
        }
    label.name = stem;
    for (const KeyName& k : kKeyNames)
        if (k.key == key)
            label.name = k.name;
    return label;
}

ModelDetails modelDetails(const state::CalcState& s, double t_K, double p_bar, state::Row model)
{
    const analysis::ModelExplanation e =
        analysis::explainModel(model, analysis::fluidOf(s.constants, s.chkSphMol), t_K, p_bar,
                               static_cast<double>(s.constants.MolWt));
    const analysis::ModelProperties& m = e.properties;
    ModelDetails d;
    d.model = model;
    // T comes in kelvin from a float; six digits give back the Celsius value typed.
    d.heading = std::string(state::rowCaption(model)) + " at " + number(t_K) + " K (" +
                state::formatSignificant(t_K - kZeroCelsius_K, 6) + " °C) and " + number(p_bar) +
                " bar";
    for (int i = 0; i < m.parameters.itemCount; ++i) {
        const analysis::NamedValue& item = m.parameters.items[static_cast<std::size_t>(i)];
        ParameterLabel label = parameterLabel(item.key);
        d.parameters.push_back({std::move(label.name), number(item.value), std::move(label.unit)});
    }
    for (int i = 0; i < m.count; ++i) {
        const analysis::TaggedRoot& r = m.roots[static_cast<std::size_t>(i)];
        d.roots.push_back({number(r.v_cm3mol), number(r.z),
                           r.properties ? number(r.properties->lnPhi)
                                        : std::string(analysis::statusText(r.status)),
                           std::string(analysis::tagText(r.tag)), analysis::reasonText(m, i)});
    }
    if (const auto p = m.stableProperties()) {
        d.stable = "Stable root: V = " + number(p->v_cm3mol) + " cm3/mol";
        const auto named = analysis::namedProperties(*p);
        for (std::size_t k = 0; k < named.size(); ++k) {
            const PropertyLabel& label = propertyLabels()[k];
            d.properties.push_back({std::string(label.name),
                                    named[k].value
                                        ? number(*named[k].value)
                                        : std::string(analysis::statusText(named[k].status)),
                                    std::string(label.unit)});
        }
    } else {
        d.stable = "No stable root: " + std::string(analysis::stableStatusText(m));
    }
    d.steps = e.steps;
    return d;
}

std::string modelDetailsText(const ModelDetails& d, char separator)
{
    std::string out;
    appendLine(out, {d.heading}, separator);
    appendLine(out, {kResidualNote}, separator);
    appendLine(out, {}, separator);
    appendLine(out, {"Parameter", "Value", "Unit"}, separator);
    for (const DetailRow& r : d.parameters)
        appendLine(out, {r.name, r.value, r.unit}, separator);
    appendLine(out, {}, separator);
    appendLine(out, {"Root V (cm3/mol)", "Z", "ln phi", "Tag", "Reason"}, separator);
    for (const RootRow& r : d.roots)
        appendLine(out, {r.volume, r.z, r.lnPhi, r.tag, r.reason}, separator);
    appendLine(out, {}, separator);
    appendLine(out, {d.stable}, separator);
    if (!d.properties.empty()) {
        appendLine(out, {"Property", "Value", "Unit"}, separator);
        for (const DetailRow& r : d.properties)
            appendLine(out, {r.name, r.value, r.unit}, separator);
    }
    appendLine(out, {}, separator);
    appendLine(out, {"Why this root"}, separator);
    for (std::size_t i = 0; i < d.steps.size(); ++i)
        appendLine(out, {std::to_string(i + 1) + ". " + d.steps[i]}, separator);
    return out;
}

} // namespace core
